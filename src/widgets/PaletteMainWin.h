// CPaletteMainWin: the base of the main views that show full-colour pictures (the atlas, its
// control pad, the media resource view). On a 256-colour display such a view brings its
// picture's colours into the system palette without losing the ones the rest of the program
// draws with: it owns one 256-entry palette made of the application's palette and the picture's
// colours, realises it, and repaints its top-level window when the colours changed.
//
// The palette's layout: entries 0-9 and 246-255 are the application's (flags 0), 10-63 the
// application's with PC_NOCOLLAPSE, 64-245 the view's own 182 colours (PC_NOCOLLAPSE; black
// where the view has fewer). A palette file holds PALETTEENTRY records from byte 212 up to four
// bytes before its end, copied over the entries from 63 on (at most 193 of them).
#pragma once

#include "base/VLMainWin.h"

#include <afxwin.h>

// The byte at which a palette file's records start, the bytes after them, and the most records
// it can bring (entries 63 to 255).
#define PALETTE_FILE_HEADER 212
#define PALETTE_FILE_TRAILER 4
#define PALETTE_FILE_MAX_RECORDS 193

class CPaletteMainWin : public CVLMainWin {
    DECLARE_DYNAMIC(CPaletteMainWin)
public:
    CPaletteMainWin();
    // Deletes the palette and destroys the window.
    ~CPaletteMainWin() override;

    // Builds the view's palette (replacing the one it had). With pPrimary NULL the colours come
    // from the palette file; a missing file changes nothing, a short or damaged one is refused
    // with a message (FALSE). Otherwise the secondary palette's colours (when given) come first
    // from entry 64, then the primary's: its first ones, or from its entry 54 with
    // bSkipSystemPart. TRUE when a new palette was made.
    BOOL BuildPalette(CPalette* pPrimary, CPalette* pSecondary, LPCSTR lpszPaletteFile, BOOL bSkipSystemPart);
    // Selects and realises the view's palette in pDC (NULL: the window's own DC) and returns the
    // number of entries mapped; when colours changed in the foreground, or with bNotify, the
    // top-level window is redrawn with all its children. Without a palette of its own the
    // application's display palette is selected in the background (0). Nothing while a movie
    // window holds the screen palette (0).
    UINT RealizeOwnPalette(CDC* pDC, BOOL bBackground, BOOL bNotify);

    CPalette* GetOwnPalette() const { return m_pPalette; }

protected:
    afx_msg void OnPaletteChanged(CWnd* pFocusWnd);
    afx_msg BOOL OnQueryNewPalette();
    DECLARE_MESSAGE_MAP()

    CPalette* m_pPalette = NULL;
};
