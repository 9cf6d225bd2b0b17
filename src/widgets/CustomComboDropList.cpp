#include "widgets/CustomComboDropList.h"

BEGIN_MESSAGE_MAP(CCustomComboDropList, CCustomComboBase)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CCustomComboDropList::CCustomComboDropList()
{
    m_bDrawText = FALSE;
}

BOOL CCustomComboDropList::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    if (!CreateField(dwStyle, rect, pParentWnd, nID))
        return FALSE;
    const CRect edit(0, 0, rect.right - rect.left - m_nArrowWidth, CUSTOMCOMBO_HEIGHT);
    if (!m_edit.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER | ES_AUTOHSCROLL, edit, this,
                       CUSTOMCOMBO_EDIT_ID))
        return FALSE;
    m_edit.SetLimitText(CUSTOMCOMBO_EDIT_LIMIT);
    m_edit.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    m_hwndEdit = m_edit.GetSafeHwnd();
    const CRect list(rect.left, rect.top + CUSTOMCOMBO_HEIGHT, rect.right - m_nArrowWidth, rect.bottom);
    if (!m_list.Create(WS_CHILD | WS_CLIPSIBLINGS | WS_VSCROLL | WS_BORDER | LBS_NOTIFY, list, pParentWnd,
                       CUSTOMCOMBO_LIST_ID))
        return FALSE;
    m_list.SetCombo(this);
    return TRUE;
}

int CCustomComboDropList::GetRowCount()
{
    return m_list.GetSafeHwnd() != NULL ? m_list.GetCount() : 0;
}

void CCustomComboDropList::ClearSelection()
{
    if (m_list.GetSafeHwnd() != NULL)
        m_list.SetCurSel(-1);
    m_nSelected = -1;
}

void CCustomComboDropList::SetEditSel(int nStart, int nEnd)
{
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.SetSel(nStart, nEnd);
}

int CCustomComboDropList::AddString(LPCSTR lpszItem)
{
    return m_list.GetSafeHwnd() != NULL ? m_list.AddString(lpszItem) : -1;
}

void CCustomComboDropList::SetEditText(LPCSTR lpszText)
{
    if (lpszText == NULL || *lpszText == '\0' || m_edit.GetSafeHwnd() == NULL)
        return;
    m_edit.SetWindowText(lpszText);
}

CString CCustomComboDropList::GetEditText()
{
    CString strText;
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.GetWindowText(strText);
    return strText;
}

void CCustomComboDropList::PostToParent()
{
    const MSG* pMsg = AfxGetCurrentMessage();
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
}

void CCustomComboDropList::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (CCustomComboEdit::IsPanelKey(nChar))
        PostToParent();
}

void CCustomComboDropList::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (CCustomComboEdit::IsPanelKey(nChar))
        PostToParent();
}

void CCustomComboDropList::OnChar(UINT, UINT, UINT)
{
    PostToParent();
}

void CCustomComboDropList::OnSize(UINT nType, int cx, int cy)
{
    CCustomComboBase::OnSize(nType, cx, cy);
    if (m_edit.GetSafeHwnd() != NULL)
        m_edit.MoveWindow(0, 0, cx - m_nArrowWidth, CUSTOMCOMBO_HEIGHT);
}

void CCustomComboDropList::OnListSelChanged()
{
    const HTREEITEM hItem = m_list.GetCurrentItemId();
    if (hItem == 0)
        return;
    m_strText = m_list.GetItemText(hItem);
    m_nSelected = m_list.GetCurSel();
    m_edit.SetWindowText(m_strText);
    m_edit.SetFocus();
    m_edit.SetSel(0, -1);
    HideList();
}
