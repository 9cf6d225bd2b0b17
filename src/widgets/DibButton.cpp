#include "widgets/DibButton.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CDibButton, CButton)

BEGIN_MESSAGE_MAP(CDibButton, CButton)
    ON_WM_ERASEBKGND()
    ON_WM_KEYDOWN()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CDibButton::CDibButton(BOOL bPaletteDC) : m_bPaletteDC(bPaletteDC)
{
}

CDibButton::~CDibButton()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CDibButton::LoadStateBitmaps(UINT nNormal, UINT nSelected, UINT nFocused, UINT nDisabled, UINT nAltNormal,
                                  UINT nAltSelected, UINT nAltFocused, UINT nAltDisabled)
{
    m_nNormalId = nNormal;
    m_nSelectedId = nSelected;
    m_hModule = CDib::ModuleOfResourceId(nNormal);
    struct Slot {
        UINT nId;
        HRSRC* pHandle;
    };
    const Slot slots[] = {{nNormal, &m_hNormal},         {nSelected, &m_hSelected},
                          {nFocused, &m_hFocused},       {nDisabled, &m_hDisabled},
                          {nAltNormal, &m_hAltNormal},   {nAltSelected, &m_hAltSelected},
                          {nAltFocused, &m_hAltFocused}, {nAltDisabled, &m_hAltDisabled}};
    try {
        for (const Slot& slot : slots) {
            // A state without a picture shows the normal one (or the first set's).
            if (slot.nId == 0 && slot.pHandle != &m_hNormal) {
                *slot.pHandle = NULL;
                continue;
            }
            HRSRC hFound = m_hModule != NULL ? ::FindResource(m_hModule, MAKEINTRESOURCE(slot.nId), RT_BITMAP) : NULL;
            if (hFound == NULL)
                AfxThrowResourceException();
            *slot.pHandle = hFound;
        }
    } catch (CResourceException* e) {
        e->Delete();
        return FALSE;
    }
    return TRUE;
}

void CDibButton::SizeToBitmap()
{
    if (m_hNormal == NULL)
        return;
    try {
        CDib dib(m_hModule, m_hNormal);
        SetWindowPos(NULL, 0, 0, dib.GetWidth(), dib.GetHeight(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    } catch (CException* e) {
        e->Delete();
    }
}

void CDibButton::SetAlternate(BOOL bAlternate)
{
    if (m_bAlternate == bAlternate)
        return;
    m_bAlternate = bAlternate;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

HRSRC CDibButton::PictureForState(UINT nItemState) const
{
    auto pick = [this](HRSRC hAlternate, HRSRC hFirst) { return m_bAlternate && hAlternate != NULL ? hAlternate : hFirst; };
    if ((nItemState & ODS_SELECTED) && pick(m_hAltSelected, m_hSelected) != NULL)
        return pick(m_hAltSelected, m_hSelected);
    if ((nItemState & ODS_FOCUS) && pick(m_hAltFocused, m_hFocused) != NULL)
        return pick(m_hAltFocused, m_hFocused);
    if ((nItemState & ODS_DISABLED) && pick(m_hAltDisabled, m_hDisabled) != NULL)
        return pick(m_hAltDisabled, m_hDisabled);
    return pick(m_hAltNormal, m_hNormal);
}

void CDibButton::DrawPicture(CDC* pDC, const CDib& dib) const
{
    if (m_bPaletteDC) {
        CPalettePaintDC palette(pDC, FALSE);
        dib.Draw(pDC, 0, 0);
    } else {
        CAppPaletteSelector palette(pDC);
        dib.Draw(pDC, 0, 0);
    }
}

void CDibButton::DrawPicture(CDC* pDC, HRSRC hPicture) const
{
    if (hPicture == NULL)
        return;
    try {
        CDib dib(m_hModule, hPicture);
        DrawPicture(pDC, dib);
    } catch (CException* e) {
        e->Delete();
    }
}

void CDibButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    DrawPicture(CDC::FromHandle(lpDrawItemStruct->hDC), PictureForState(lpDrawItemStruct->itemState));
}

BOOL CDibButton::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CDibButton::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(WM_KEYDOWN, nChar, 0);
}

void CDibButton::ForwardToParent(UINT message, CPoint point)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    MapWindowPoints(pParent, &point, 1);
    pParent->PostMessage(message, 0, MAKELPARAM(point.x, point.y));
}

void CDibButton::OnLButtonDown(UINT, CPoint point)
{
    if (m_bForwardClicks)
        ForwardToParent(WM_LBUTTONDOWN, point);
    else
        Default();
}

void CDibButton::OnLButtonUp(UINT, CPoint point)
{
    if (m_bForwardClicks)
        ForwardToParent(WM_LBUTTONUP, point);
    else
        Default();
}
