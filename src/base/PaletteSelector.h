// Palette selectors: scoped objects that select a palette into a device context, realise it, and
// put the previous palette back when the scope ends.
//
// The program runs on 256-colour displays with one shared application palette. Only the view on
// screen realises its colours in the foreground: a selector asked for the foreground decides by
// the device context's window, and selects in the background for a memory or printer context
// and for any window outside the frame's current main view.
#pragma once

#include <afxwin.h>

class CPaletteSelector : public CObject {
public:
    // Selects and realises pPalette; with bBackground FALSE the flag is decided as above.
    CPaletteSelector(CDC* pDC, CPalette* pPalette, BOOL bBackground);
    // The application's display palette (foreground as decided above), then pPalette on top of
    // it in the background, realised. The end of the scope restores what was there before both.
    CPaletteSelector(CDC* pDC, CPalette* pPalette);
    // A palette held by handle (as CDib::CreatePalette gives one): selected with the flag as
    // decided above, then selected again with the same flag and realised.
    CPaletteSelector(CDC* pDC, HPALETTE hPalette, BOOL bBackground);
    ~CPaletteSelector() override;

    CPaletteSelector(const CPaletteSelector&) = delete;
    CPaletteSelector& operator=(const CPaletteSelector&) = delete;

    BOOL IsBackground() const { return m_bBackground; }

protected:
    CDC* m_pDC = NULL;
    // The palette selected before (NULL when none was selected).
    HPALETTE m_hOldPalette = NULL;
    BOOL m_bBackground = FALSE;
};

// The application's display palette, for drawing routines of controls and panes.
class CAppPaletteSelector : public CPaletteSelector {
public:
    explicit CAppPaletteSelector(CDC* pDC, BOOL bBackground = FALSE);
    ~CAppPaletteSelector() override;
};

// The application's display palette in a paint handler's device context: made first, on the
// handler's paint DC (or a given DC, as in a background handler), and destroyed before it.
class CPalettePaintDC : public CPaletteSelector {
public:
    CPalettePaintDC(CDC* pDC, BOOL bBackground);
    ~CPalettePaintDC() override;
};
