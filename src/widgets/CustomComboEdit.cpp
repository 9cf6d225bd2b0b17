#include "widgets/CustomComboEdit.h"

BEGIN_MESSAGE_MAP(CCustomComboEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

BOOL CCustomComboEdit::IsPanelKey(UINT nKey)
{
    switch (nKey) {
    case VK_TAB:
    case VK_RETURN:
    case VK_ESCAPE:
    case VK_PRIOR:
    case VK_NEXT:
    case VK_END:
    case VK_HOME:
    case VK_UP:
    case VK_DOWN:
    case VK_F2:
        return TRUE;
    default:
        return FALSE;
    }
}

void CCustomComboEdit::PostToParent()
{
    const MSG* pMsg = AfxGetCurrentMessage();
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(pMsg->message, pMsg->wParam, pMsg->lParam);
}

void CCustomComboEdit::OnKeyDown(UINT nChar, UINT, UINT)
{
    if (IsPanelKey(nChar))
        PostToParent();
    else
        Default();
}

void CCustomComboEdit::OnKeyUp(UINT nChar, UINT, UINT)
{
    if (IsPanelKey(nChar))
        PostToParent();
    else
        Default();
}

void CCustomComboEdit::OnChar(UINT nChar, UINT, UINT)
{
    if (nChar == VK_TAB || nChar == VK_RETURN || nChar == VK_ESCAPE)
        PostToParent();
    else
        Default();
}

void CCustomComboEdit::OnLButtonUp(UINT, CPoint)
{
    Default();
    SetSel(0, -1);
}
