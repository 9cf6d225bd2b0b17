#include "widgets/VLListCtrl.h"

#include "base/PaletteSelector.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CVLListCtrl, CListBox)

BEGIN_MESSAGE_MAP(CVLListCtrl, CListBox)
    ON_WM_ERASEBKGND()
    ON_WM_CTLCOLOR_REFLECT()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
END_MESSAGE_MAP()

CVLListCtrl::CVLListCtrl() = default;

CVLListCtrl::~CVLListCtrl() = default;

COLORREF CVLListCtrl::GetBkColor()
{
    return RGB(255, 255, 255);
}

CBrush* CVLListCtrl::BackgroundBrush()
{
    COLORREF crBack = GetBkColor();
    if (m_brBackground.GetSafeHandle() == NULL || crBack != m_crBrush) {
        m_brBackground.DeleteObject();
        m_brBackground.CreateSolidBrush(crBack);
        m_crBrush = crBack;
    }
    return &m_brBackground;
}

void CVLListCtrl::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (lpDrawItemStruct->itemID == static_cast<UINT>(-1))
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CAppPaletteSelector palette(pDC);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    COLORREF crText = bSelected ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : ::GetSysColor(COLOR_WINDOWTEXT);
    COLORREF crBack = bSelected ? ::GetSysColor(COLOR_HIGHLIGHT) : GetBkColor();
    COLORREF crOldText = pDC->SetTextColor(crText);
    COLORREF crOldBack = pDC->SetBkColor(crBack);
    CRect rect(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(&rect, crBack);
    if ((GetStyle() & LBS_HASSTRINGS) != 0) {
        CString strText;
        GetText(static_cast<int>(lpDrawItemStruct->itemID), strText);
        int nOldMode = pDC->SetBkMode(TRANSPARENT);
        pDC->DrawText(strText, &rect, DT_WORDBREAK | DT_NOPREFIX);
        pDC->SetBkMode(nOldMode);
    }
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&rect);
    pDC->SetTextColor(crOldText);
    pDC->SetBkColor(crOldBack);
}

void CVLListCtrl::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    CRect client;
    GetClientRect(&client);
    CRect rect(0, 0, client.Width(), 0);
    CString strText;
    if ((GetStyle() & LBS_HASSTRINGS) != 0 && static_cast<int>(lpMeasureItemStruct->itemID) >= 0 &&
        static_cast<int>(lpMeasureItemStruct->itemID) < GetCount())
        GetText(static_cast<int>(lpMeasureItemStruct->itemID), strText);
    else if ((GetStyle() & LBS_HASSTRINGS) != 0 && lpMeasureItemStruct->itemData != 0)
        strText = reinterpret_cast<LPCSTR>(lpMeasureItemStruct->itemData);
    CClientDC dc(this);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    HGDIOBJ hOldFont = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    dc.DrawText(strText.IsEmpty() ? CString(" ") : strText, &rect, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    if (hOldFont != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOldFont);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(rect.Height());
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(client.Width());
}

int CVLListCtrl::CompareItem(LPCOMPAREITEMSTRUCT)
{
    return 0;
}

BOOL CVLListCtrl::OnEraseBkgnd(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, GetBkColor());
    return TRUE;
}

HBRUSH CVLListCtrl::CtlColor(CDC* pDC, UINT)
{
    pDC->SetBkColor(GetBkColor());
    return static_cast<HBRUSH>(BackgroundBrush()->GetSafeHandle());
}

int CVLListCtrl::GetScrollBarWidth()
{
    return ::GetSystemMetrics(SM_CXVSCROLL);
}

void CVLListCtrl::SetFrameWidth(int nWidth)
{
    m_bStandardFrame = FALSE;
    m_nFrameWidth = nWidth > 0 ? nWidth : 0;
    if (GetSafeHwnd() != NULL)
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CVLListCtrl::OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp)
{
    CListBox::OnNcCalcSize(bCalcValidRects, lpncsp);
    if (!m_bStandardFrame && m_nFrameWidth > 0) {
        RECT& client = lpncsp->rgrc[0];
        client.left = std::min(client.left + m_nFrameWidth, client.right);
        client.top = std::min(client.top + m_nFrameWidth, client.bottom);
        client.right = std::max(client.right - m_nFrameWidth, client.left);
        client.bottom = std::max(client.bottom - m_nFrameWidth, client.top);
    }
}

void CVLListCtrl::OnNcPaint()
{
    Default();
    if (m_bStandardFrame || m_nFrameWidth <= 0)
        return;
    // The frame ring is painted in the background colour.
    CWindowDC dc(this);
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);
    CRect inner = window;
    inner.DeflateRect(m_nFrameWidth, m_nFrameWidth);
    CAppPaletteSelector palette(&dc);
    dc.ExcludeClipRect(&inner);
    dc.FillSolidRect(&window, GetBkColor());
}
