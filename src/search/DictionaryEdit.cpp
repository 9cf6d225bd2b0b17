#include "search/DictionaryEdit.h"

BEGIN_MESSAGE_MAP(CDictionaryEdit, CEdit)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
    ON_WM_CHAR()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

BOOL CDictionaryEdit::IsForwardedKey(UINT nKey)
{
    switch (nKey) {
    case VK_TAB: case VK_RETURN: case VK_ESCAPE: case VK_PRIOR: case VK_NEXT: case VK_END: case VK_HOME:
    case VK_UP: case VK_DOWN: case VK_F2:
        return TRUE;
    default:
        return FALSE;
    }
}

void CDictionaryEdit::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsForwardedKey(nChar))
        GetParent()->PostMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
    else
        CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CDictionaryEdit::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (IsForwardedKey(nChar))
        GetParent()->PostMessage(WM_KEYUP, nChar, MAKELPARAM(nRepCnt, nFlags));
    else
        CEdit::OnKeyUp(nChar, nRepCnt, nFlags);
}

void CDictionaryEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const SHORT nScan = ::VkKeyScan(static_cast<char>(nChar));
    if (nScan != -1 && IsForwardedKey(LOBYTE(nScan)))
        GetParent()->PostMessage(WM_CHAR, nChar, MAKELPARAM(nRepCnt, nFlags));
    else
        CEdit::OnChar(nChar, nRepCnt, nFlags);
}

void CDictionaryEdit::OnLButtonDown(UINT nFlags, CPoint point)
{
    const BOOL bHadFocus = ::GetFocus() == m_hWnd;
    CEdit::OnLButtonDown(nFlags, point);
    if (!bHadFocus)
        SetSel(0, -1);
}
