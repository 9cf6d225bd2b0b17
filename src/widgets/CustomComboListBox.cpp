#include "widgets/CustomComboListBox.h"

#include "base/PaletteSelector.h"
#include "widgets/CustomComboBox.h"

BEGIN_MESSAGE_MAP(CCustomComboListBox, CListBox)
    ON_WM_CREATE()
    ON_CONTROL_REFLECT(LBN_SELCHANGE, OnSelChange)
END_MESSAGE_MAP()

int CCustomComboListBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CListBox::OnCreate(lpCreateStruct) == -1)
        return -1;
    CClientDC dc(this);
    m_font.CreateFont(-::MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                      ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                      "Arial");
    SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    return 0;
}

void CCustomComboListBox::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    if (lpMeasureItemStruct->CtlType != ODT_LISTBOX || lpMeasureItemStruct->CtlID != CUSTOMCOMBO_LIST_ID)
        return;
    CClientDC dc(this);
    CFont* pOld = dc.SelectObject(&m_font);
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    dc.SelectObject(pOld);
    CRect client;
    GetClientRect(&client);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(tm.tmHeight);
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(client.Width());
}

void CCustomComboListBox::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CAppPaletteSelector palette(pDC);
    CRect item(lpDrawItemStruct->rcItem);
    const int nRow = static_cast<int>(lpDrawItemStruct->itemID);
    if ((lpDrawItemStruct->itemAction & ODA_DRAWENTIRE) != 0 && nRow >= 0 && nRow < GetCount()) {
        CString strText;
        GetText(nRow, strText);
        pDC->FillSolidRect(&item, RGB(255, 255, 255));
        CFont* pOld = pDC->SelectObject(&m_font);
        pDC->SetBkMode(TRANSPARENT);
        pDC->SetTextColor(RGB(0, 0, 0));
        pDC->DrawText(strText, &item, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
        pDC->SelectObject(pOld);
        if ((lpDrawItemStruct->itemState & ODS_SELECTED) != 0)
            pDC->InvertRect(&item);
        if ((lpDrawItemStruct->itemState & ODS_FOCUS) != 0)
            pDC->DrawFocusRect(&item);
        return;
    }
    if ((lpDrawItemStruct->itemAction & ODA_SELECT) != 0)
        pDC->InvertRect(&item);
    if ((lpDrawItemStruct->itemAction & ODA_FOCUS) != 0 || nRow < 0)
        pDC->DrawFocusRect(&item);
}

void CCustomComboListBox::OnSelChange()
{
    if (m_pCombo != NULL)
        m_pCombo->OnListSelChange();
}
