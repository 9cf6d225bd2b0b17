// The progress bar of the common controls (class PROGRESS_CLASS). Included by <commctrl.h>.
#pragma once

#include <windef.h>
#include <winuser.h>

#define PROGRESS_CLASSA "msctls_progress32"
#define PROGRESS_CLASS PROGRESS_CLASSA

#define PBS_SMOOTH 0x01
#define PBS_VERTICAL 0x04

#define PBM_SETRANGE (WM_USER + 1)
#define PBM_SETPOS (WM_USER + 2)
#define PBM_DELTAPOS (WM_USER + 3)
#define PBM_SETSTEP (WM_USER + 4)
#define PBM_STEPIT (WM_USER + 5)
#define PBM_SETRANGE32 (WM_USER + 6)
#define PBM_GETRANGE (WM_USER + 7)
#define PBM_GETPOS (WM_USER + 8)
#define PBM_SETBARCOLOR (WM_USER + 9)
#define CCM_FIRST 0x2000
#define CCM_SETBKCOLOR (CCM_FIRST + 1)
#define PBM_SETBKCOLOR CCM_SETBKCOLOR

typedef struct {
    int iLow;
    int iHigh;
} PBRANGE, *PPBRANGE;
