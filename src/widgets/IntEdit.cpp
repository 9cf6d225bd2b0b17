#include "widgets/IntEdit.h"

#include <cstdlib>

BEGIN_MESSAGE_MAP(CIntEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

CIntEdit::CIntEdit(UINT nKind, UINT nLimit) : m_nLimit(nLimit), m_nKind(nKind) {}

void CIntEdit::SetLimit(UINT nLimit)
{
    m_nLimit = nLimit;
    if (GetSafeHwnd() != NULL)
        SendMessage(EM_LIMITTEXT, nLimit, 0);
}

void CIntEdit::SetValue(int nValue)
{
    m_nValue = nValue;
    CString strText;
    if (nValue != 0)
        strText.Format("%d", nValue);
    ShowText(strText);
}

void CIntEdit::ShowText(const CString& strText)
{
    m_nLength = strText.GetLength();
    if (GetSafeHwnd() == NULL)
        return;
    SetWindowText(strText);
    SetFocus();
    SetSel(0, -1);
    CClientDC dc(this);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT, 0, 0));
    HGDIOBJ hOld = hFont != NULL ? ::SelectObject(dc.GetSafeHdc(), hFont) : NULL;
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    if (hOld != NULL)
        ::SelectObject(dc.GetSafeHdc(), hOld);
    ::SetCaretPos(tm.tmAveCharWidth * m_nLength, 0);
    SetSel(m_nLength, m_nLength);
}

int CIntEdit::GetValue()
{
    CString strText;
    GetText(strText);
    m_nValue = std::atoi(strText);
    return m_nValue;
}

void CIntEdit::GetText(CString& strText)
{
    if (GetSafeHwnd() != NULL)
        GetWindowText(strText);
    else
        strText.Empty();
}

BOOL CIntEdit::HasValue()
{
    if (m_nLength == 0)
        return FALSE;
    return GetValue() >= 1;
}

void CIntEdit::TakeChar(UINT nChar, UINT, UINT)
{
    m_nLastChar = nChar;
    SendMessage(WM_SETREDRAW, FALSE, 0);
    Default();
    // The count follows the text the edit now holds, so a refused character (the field full) or
    // a backspace over a selection cannot put it out of step.
    m_nLength = GetWindowTextLength();
    SendMessage(WM_SETREDRAW, TRUE, 0);
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
}

void CIntEdit::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL bDigit = nChar >= '0' && nChar <= '9';
    if (bDigit || nChar == VK_BACK || (nChar == '+' && m_nLength == 0))
        TakeChar(nChar, nRepCnt, nFlags);
    else
        MessageBeep(0);
}
