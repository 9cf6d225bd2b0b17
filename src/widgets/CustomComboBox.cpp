#include "widgets/CustomComboBox.h"

BOOL CCustomComboBox::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CreateField(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    m_list.SetCombo(this);
    const CRect list(rect.left, rect.top + CUSTOMCOMBO_HEIGHT, rect.right - m_nArrowWidth, rect.bottom);
    return m_list.Create(WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER | LBS_NOTIFY | LBS_OWNERDRAWFIXED | LBS_HASSTRINGS |
                             LBS_NOINTEGRALHEIGHT,
                         list, pParentWnd, CUSTOMCOMBO_LIST_ID);
}

int CCustomComboBox::GetRowCount()
{
    return m_list.GetSafeHwnd() != NULL ? m_list.GetCount() : 0;
}

int CCustomComboBox::SetCurSel(int nRow)
{
    if (m_list.GetSafeHwnd() == NULL)
        return LB_ERR;
    const int nAnswer = m_list.SetCurSel(nRow);
    FitListToRows();
    return nAnswer;
}

int CCustomComboBox::ShowItemText(int nRow)
{
    if (nRow == -1) {
        m_nSelected = -1;
        SetShownText(CString());
        HideList();
        return -1;
    }
    CString strText;
    if (m_list.GetSafeHwnd() != NULL && nRow >= 0 && nRow < m_list.GetCount())
        m_list.GetText(nRow, strText);
    if (!strText.IsEmpty()) {
        SetShownText(strText);
        m_list.SetCurSel(nRow);
        m_nSelected = nRow;
    }
    HideList();
    return 1;
}

void CCustomComboBox::OnListSelChange()
{
    const int nRow = m_list.GetCurSel();
    if (nRow >= 0) {
        CString strText;
        m_list.GetText(nRow, strText);
        SetShownText(strText);
        UpdateWindow();
        m_nSelected = nRow;
    }
    HideList();
}
