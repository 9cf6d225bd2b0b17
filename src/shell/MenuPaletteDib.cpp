#include "shell/MenuPaletteDib.h"

#include "shell/MainMenu.h"

#include <dwmapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

int DeviceBitsPerPixel(CDC* pDC)
{
    return pDC->GetDeviceCaps(BITSPIXEL) * pDC->GetDeviceCaps(PLANES);
}

void MenuFadePass(PALETTEENTRY* pWork, const PALETTEENTRY* pTarget, int nCount, int nDelta, BOOL bFadeOut)
{
    for (int i = 0; i < nCount; ++i) {
        BYTE* bytes[3] = {&pWork[i].peRed, &pWork[i].peGreen, &pWork[i].peBlue};
        const BYTE targets[3] = {pTarget[i].peRed, pTarget[i].peGreen, pTarget[i].peBlue};
        for (int c = 0; c < 3; ++c) {
            int v = *bytes[c];
            if (bFadeOut) {
                if (v != 0) {
                    v -= nDelta;
                    if (v < 1)
                        v = 0;
                }
            } else if (v < targets[c]) {
                v = std::min<int>(v + nDelta, targets[c]);
            } else if (v > targets[c]) {
                // A start above the target (the near-black start over a black colour) comes down.
                v = std::max<int>(v - nDelta, targets[c]);
            }
            *bytes[c] = BYTE(v);
        }
    }
}

CMenuPaletteDib::CMenuPaletteDib() = default;

CMenuPaletteDib::CMenuPaletteDib(UINT nResourceId) : CDib(nResourceId) {}

CMenuPaletteDib::~CMenuPaletteDib()
{
    if (m_bColorTableAltered && GetColorTable() != NULL)
        std::memcpy(GetColorTable(), m_savedColorTable, std::min<DWORD>(GetColorCount(), 256) * sizeof(RGBQUAD));
}

namespace {
// Runs a picture load; a failure (an exception of the class library) gives FALSE.
template <class Load>
BOOL Loaded(Load load)
{
    try {
        load();
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}
}  // namespace

BOOL CMenuPaletteDib::LoadFromFile(CDC* pDC, LPCSTR lpszPath)
{
    if (!Loaded([&] { ReadBmpFile(lpszPath); }) || IsEmpty())
        return FALSE;
    PrepareForFading(pDC);
    return TRUE;
}

BOOL CMenuPaletteDib::LoadFromResource(CDC* pDC, UINT nId)
{
    if (!Loaded([&] { LoadFromResourceId(nId); }) || IsEmpty())
        return FALSE;
    PrepareForFading(pDC);
    return TRUE;
}

void CMenuPaletteDib::SaveColorTable()
{
    if (m_bColorTableSaved || GetColorTable() == NULL)
        return;
    // The table is changed from here on: a resource-held picture gets memory of its own first.
    MakeWritable();
    std::memcpy(m_savedColorTable, GetColorTable(), std::min<DWORD>(GetColorCount(), 256) * sizeof(RGBQUAD));
    m_bColorTableSaved = TRUE;
}

void CMenuPaletteDib::PrepareForFading(CDC* pDC)
{
    DWORD nColors = std::min<DWORD>(GetColorCount(), 256);
    if (DeviceBitsPerPixel(pDC) > 8) {
        SaveColorTable();
        if (GetColorTable() != NULL)
            std::memset(GetColorTable(), 0, nColors * sizeof(RGBQUAD));
        m_bColorTableAltered = TRUE;
        return;
    }
    HPALETTE hPalette = CreatePalette();
    if (hPalette == NULL)
        return;  // shown at once, without a fade
    m_palette.DeleteObject();
    m_palette.Attach(hPalette);
    m_palette.GetPaletteEntries(0, kMenuFadeEntries, m_savedPalette);
    PALETTEENTRY black[kMenuFadeEntries];
    for (int i = 0; i < kMenuFadeEntries; ++i) {
        m_savedPalette[i].peFlags = PC_RESERVED;
        black[i] = PALETTEENTRY{2, 2, 2, PC_RESERVED};
    }
    m_palette.SetPaletteEntries(0, kMenuFadeEntries, black);
    UsePaletteIndices();
}

void CMenuPaletteDib::UsePaletteIndices()
{
    if (GetColorTable() == NULL)
        return;
    SaveColorTable();
    DWORD nColors = std::min<DWORD>(GetColorCount(), 256);
    WORD* pIndexes = reinterpret_cast<WORD*>(GetColorTable());
    for (DWORD i = 0; i < nColors; ++i)
        pIndexes[i] = WORD(i);
    m_bColorTableAltered = TRUE;
}

void CMenuPaletteDib::Fade(CDC* pDC, int nSteps, BOOL bFadeOut)
{
    if (pDC == NULL || nSteps <= 0 || IsEmpty())
        return;
    MAIN_MENU_STATE& state = MainMenuState();
    const BOOL bPaletteDisplay = DeviceBitsPerPixel(pDC) <= 8;
    // A palette display whose palette could not be made shows the picture as it is.
    if (bPaletteDisplay && m_palette.GetSafeHandle() == NULL)
        return;

    // Deep displays fade every colour the picture has; palette displays the reserved entries.
    const int nEntries = bPaletteDisplay ? kMenuFadeEntries : int(std::min<DWORD>(GetColorCount(), 256));
    PALETTEENTRY black[256], colours[256], work[256];
    for (int i = 0; i < 256; ++i) {
        black[i] = PALETTEENTRY{2, 2, 2, BYTE(bPaletteDisplay ? PC_RESERVED : 0)};
        if (bPaletteDisplay)
            colours[i] = m_savedPalette[i];
        else
            colours[i] = PALETTEENTRY{m_savedColorTable[i].rgbRed, m_savedColorTable[i].rgbGreen,
                                      m_savedColorTable[i].rgbBlue, 0};
    }
    m_bFadingOut = bFadeOut;
    state.bFadeRunning = TRUE;
    std::memcpy(work, bFadeOut ? colours : black, sizeof work);

    const int nDelta = 255 / nSteps;
    for (int nPass = 0; nPass <= nSteps; ++nPass) {
        MenuFadePass(work, colours, nEntries, nDelta, bFadeOut);
        if (!bPaletteDisplay) {
            ShowColours(pDC, work, nEntries, TRUE);
        } else if (state.bWindowsNT) {
            m_palette.SetPaletteEntries(0, kMenuFadeEntries, work);
            if (state.pMenu != NULL && state.pMenu->GetSafeHwnd() != NULL) {
                state.pMenu->InvalidateRect(NULL, FALSE);
                state.pMenu->UpdateWindow();
            }
        } else {
            m_palette.AnimatePalette(0, kMenuFadeEntries, work);
            WaitPumpingMessages(50);
        }
        // One pass per frame the screen shows, as the display paced the passes on the machines
        // the fades were made for; without a presenter the passes run on at once.
        if (!bPaletteDisplay || state.bWindowsNT)
            ::DwmFlush();
        if (state.pfnFadePassObserver != NULL)
            state.pfnFadePassObserver(nPass, work, nEntries);
    }

    // The passes stop short of the end when 255 is not a multiple of the step count: the fade
    // ends on its end colours all the same (every byte 0 after a fade-out, the true colours
    // after a fade-in).
    if (bFadeOut)
        for (int i = 0; i < nEntries; ++i)
            work[i].peRed = work[i].peGreen = work[i].peBlue = 0;
    else
        std::memcpy(work, colours, sizeof work);
    if (!bPaletteDisplay)
        ShowColours(pDC, work, nEntries, !bFadeOut);

    if (bPaletteDisplay) {
        if (bFadeOut) {
            m_palette.SetPaletteEntries(0, kMenuFadeEntries, work);
        } else {
            m_palette.SetPaletteEntries(0, kMenuFadeEntries, m_savedPalette);
            if (!state.bWindowsNT) {
                PALETTEENTRY now[kMenuFadeEntries];
                m_palette.GetPaletteEntries(0, kMenuFadeEntries, now);
                m_palette.AnimatePalette(0, kMenuFadeEntries, now);
            } else if (state.pMenu != NULL && state.pMenu->GetSafeHwnd() != NULL) {
                state.pMenu->InvalidateRect(NULL, FALSE);
                state.pMenu->UpdateWindow();
            }
        }
        if (state.pMenu != NULL && state.pMenu->GetSafeHwnd() != NULL)
            state.pMenu->InvalidateRect(NULL, FALSE);
    }
    if (bFadeOut)
        pDC->PatBlt(0, 0, 1024, 768, BLACKNESS);
    state.bFadeRunning = FALSE;
}

void CMenuPaletteDib::ShowColours(CDC* pDC, const PALETTEENTRY* pEntries, int nCount, BOOL bDraw)
{
    RGBQUAD* pTable = GetColorTable();
    for (int i = 0; i < nCount; ++i)
        pTable[i] = RGBQUAD{pEntries[i].peBlue, pEntries[i].peGreen, pEntries[i].peRed, 0};
    if (!bDraw)
        return;
    // At the splash's place while the splash phase runs, else at the window's origin.
    const MAIN_MENU_STATE& state = MainMenuState();
    if (state.bSplashOver)
        Draw(pDC, 0, 0);
    else
        Draw(pDC, state.ptSplash.x, state.ptSplash.y);
}

void CMenuPaletteDib::DrawAt(CDC* pDC, int x, int y, BOOL bPaletteIndices)
{
    DrawPart(pDC, m_palette.GetSafeHandle() != NULL ? &m_palette : NULL, x, y, bPaletteIndices, NULL);
}

void CMenuPaletteDib::DrawPart(CDC* pDC, CPalette* pPalette, int x, int y, BOOL bPaletteIndices, const RECT* pSource)
{
    if (pDC == NULL || IsEmpty())
        return;
    const BOOL bPaletteDisplay = DeviceBitsPerPixel(pDC) <= 8;
    if (bPaletteDisplay && pPalette != NULL && pPalette->GetSafeHandle() != NULL) {
        pDC->SelectPalette(pPalette, FALSE);
        pDC->RealizePalette();
    }
    RECT all = {0, 0, GetWidth(), std::abs(GetHeight())};
    const RECT& src = pSource != NULL ? *pSource : all;
    int cx = src.right - src.left, cy = src.bottom - src.top;
    UINT nUsage = bPaletteDisplay && bPaletteIndices ? DIB_PAL_COLORS : DIB_RGB_COLORS;
    ::StretchDIBits(pDC->GetSafeHdc(), x, y, cx, cy, src.left, src.top, cx, cy, GetBits(), GetBitmapInfo(), nUsage,
                    SRCCOPY);
}
