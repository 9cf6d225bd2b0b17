// CMenuPaletteDib: the pictures of the start-up main menu (splash, background, hover pictures and
// group captions). A CDib that fades in from black and out to black: on palette displays (8 bits
// per pixel or fewer) by animating 236 reserved entries of its own palette, with the picture
// drawn through palette indexes so that nothing is redrawn; on deeper displays by rewriting its
// colour table and drawing again after every pass.
//
// The fade reads the menu's process-wide state (MainMenu.h): the menu window to repaint, the
// Windows NT flag, the splash-over flag and the splash's top-left; it sets the fade-running flag
// while it runs.
#pragma once

#include "widgets/Dib.h"

// The palette entries a fade animates; the rest of a 256-entry palette is left to the system.
constexpr int kMenuFadeEntries = 236;

// One pass of a fade over nCount entries. Fading out, every colour byte that is not 0 falls by
// nDelta (a result below 1 becomes 0). Fading in, every byte moves by nDelta towards its
// target in pTarget and stops on it.
void MenuFadePass(PALETTEENTRY* pWork, const PALETTEENTRY* pTarget, int nCount, int nDelta, BOOL bFadeOut);

class CMenuPaletteDib : public CDib {
public:
    CMenuPaletteDib();
    // The bitmap resource (ids from 7000 from the screen-class library), not prepared for fading.
    explicit CMenuPaletteDib(UINT nResourceId);
    ~CMenuPaletteDib() override;

    // Load, then prepare for fading on the device's depth (colours black). FALSE when the
    // picture did not load (an exception while loading counts as that).
    BOOL LoadFromFile(CDC* pDC, LPCSTR lpszPath);
    BOOL LoadFromResource(CDC* pDC, UINT nId);

    // Draw through palette indexes: the colour table becomes the identity table 0, 1, 2 ...
    // (16-bit indexes) into whatever palette is selected when drawing.
    void UsePaletteIndices();

    // Fades over nSteps steps (nSteps + 1 passes of 255 / nSteps each).
    void FadeIn(CDC* pDC, int nSteps) { Fade(pDC, nSteps, FALSE); }
    void FadeOut(CDC* pDC, int nSteps) { Fade(pDC, nSteps, TRUE); }

    // The whole picture at (x, y) with its own palette.
    void DrawAt(CDC* pDC, int x, int y, BOOL bPaletteIndices);
    // With the given palette (selected in the foreground and realised on palette displays;
    // NULL: none selected). pSource: a part of the picture (its top counted from the bottom row,
    // as the rows are stored), NULL for all of it; it is drawn 1:1 at (x, y).
    void DrawPart(CDC* pDC, CPalette* pPalette, int x, int y, BOOL bPaletteIndices, const RECT* pSource);

    // The picture's own palette (made for palette displays; empty otherwise).
    CPalette* GetPalette() { return &m_palette; }
    BOOL IsFadingOut() const { return m_bFadingOut; }
    // The true colours kept while the palette shows black (the first 236 entries).
    const PALETTEENTRY* GetSavedPalette() const { return m_savedPalette; }
    // The colour table kept while the DIB's own holds other values.
    const RGBQUAD* GetSavedColorTable() const { return m_savedColorTable; }

private:
    // Device depth decides: above 8 bits, the colour table is saved and blacked; else the own
    // palette is made, its true colours kept and its entries set to near-black, and the picture
    // switched to palette indexes.
    void PrepareForFading(CDC* pDC);
    void Fade(CDC* pDC, int nSteps, BOOL bFadeOut);
    // Deep displays: the colours into the DIB's colour table, then (bDraw) the picture drawn.
    void ShowColours(CDC* pDC, const PALETTEENTRY* pEntries, int nCount, BOOL bDraw);
    // Keeps the colour table once (a second call would keep the altered one).
    void SaveColorTable();

    RGBQUAD m_savedColorTable[256] = {};
    BOOL m_bColorTableAltered = FALSE;
    BOOL m_bColorTableSaved = FALSE;
    PALETTEENTRY m_savedPalette[256] = {};
    CPalette m_palette;
    BOOL m_bFadingOut = FALSE;
};

// Bits per pixel of a device (planes times bits).
int DeviceBitsPerPixel(CDC* pDC);
