// The rich edit control's notifications that programs handle without the control itself: a box
// that lays out its own text asks its parent for a size with EN_REQUESTRESIZE (WM_NOTIFY), which
// the parent reflects back to the box.
#pragma once

#include <windef.h>
#include <winuser.h>

#define EN_REQUESTRESIZE 0x0701

typedef struct _reqresize {
    NMHDR nmhdr;
    RECT rc;
} REQRESIZE;
