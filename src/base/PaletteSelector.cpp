#include "base/PaletteSelector.h"

#include "base/AppServices.h"

namespace {

// Whether a selection asked for the foreground must still happen in the background: only the
// frame's current main view and its children realise in the foreground.
BOOL MustSelectInBackground(CDC* pDC)
{
    HWND hwnd = ::WindowFromDC(pDC->GetSafeHdc());
    if (hwnd == NULL)
        return TRUE;
    CWnd* pView = AppServices().ui.pCurrentView;
    HWND hwndView = pView != NULL ? pView->GetSafeHwnd() : NULL;
    if (hwndView == NULL)
        return TRUE;
    return !(hwnd == hwndView || ::IsChild(hwndView, hwnd));
}

}  // namespace

CPaletteSelector::CPaletteSelector(CDC* pDC, CPalette* pPalette, BOOL bBackground)
{
    m_pDC = pDC;
    m_bBackground = bBackground;
    if (pDC == NULL || pDC->GetSafeHdc() == NULL || pPalette == NULL || pPalette->GetSafeHandle() == NULL) {
        m_pDC = NULL;
        return;
    }
    if (!m_bBackground)
        m_bBackground = MustSelectInBackground(pDC);
    CPalette* pOld = pDC->SelectPalette(pPalette, m_bBackground);
    m_hOldPalette = pOld != NULL ? static_cast<HPALETTE>(pOld->GetSafeHandle()) : NULL;
    pDC->RealizePalette();
}

CPaletteSelector::CPaletteSelector(CDC* pDC, CPalette* pPalette)
    : CPaletteSelector(pDC, GetAppDisplayPalette(), FALSE)
{
    if (m_pDC != NULL && pPalette != NULL && pPalette->GetSafeHandle() != NULL) {
        m_pDC->SelectPalette(pPalette, TRUE);
        m_pDC->RealizePalette();
    }
}

CPaletteSelector::CPaletteSelector(CDC* pDC, HPALETTE hPalette, BOOL bBackground)
    : CPaletteSelector(pDC, CPalette::FromHandle(hPalette), bBackground)
{
    if (m_pDC != NULL) {
        m_pDC->SelectPalette(CPalette::FromHandle(hPalette), m_bBackground);
        m_pDC->RealizePalette();
    }
}

CPaletteSelector::~CPaletteSelector()
{
    if (m_pDC != NULL && m_hOldPalette != NULL) {
        m_pDC->SelectPalette(CPalette::FromHandle(m_hOldPalette), m_bBackground);
        m_hOldPalette = NULL;
    }
}

CAppPaletteSelector::CAppPaletteSelector(CDC* pDC, BOOL bBackground)
    : CPaletteSelector(pDC, GetAppDisplayPalette(), bBackground)
{
}

CAppPaletteSelector::~CAppPaletteSelector() = default;

// The paint context selects the display palette, the one every owner-drawn control and pane
// paints with, so that the fixed palette indexes of backgrounds mean the same everywhere.
CPalettePaintDC::CPalettePaintDC(CDC* pDC, BOOL bBackground)
    : CPaletteSelector(pDC, GetAppDisplayPalette(), bBackground)
{
}

CPalettePaintDC::~CPalettePaintDC() = default;
