#include "widgets/DateCtrl.h"

BEGIN_MESSAGE_MAP(CDateCtrl, CIntEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

CDateCtrl::CDateCtrl() : CIntEdit(0, 4) {}

void CDateCtrl::SetValue(UINT nValue)
{
    m_nValue = static_cast<int>(nValue);
    CString strText;
    strText.Format("%04u", nValue);
    ShowText(strText);
}

int CDateCtrl::GetDigit(int nPos)
{
    CString strText;
    GetText(strText);
    if (nPos < 0 || nPos >= strText.GetLength())
        return 0;
    const char c = strText[nPos];
    return c >= '0' && c <= '9' ? c - '0' : 0;
}

void CDateCtrl::SetDigit(int nDigit, int nPos)
{
    CString strText;
    GetText(strText);
    if (nPos < 0 || nPos >= strText.GetLength() || nDigit < 0 || nDigit > 9)
        return;
    strText.SetAt(nPos, static_cast<char>('0' + nDigit));
    ShowText(strText);
}

void CDateCtrl::IncrementDigit(int nPos)
{
    for (; nPos >= 0; --nPos) {
        const int nDigit = GetDigit(nPos);
        if (nDigit < 9) {
            SetDigit(nDigit + 1, nPos);
            return;
        }
        SetDigit(0, nPos);
    }
}

void CDateCtrl::DecrementDigit(int nPos)
{
    for (; nPos >= 0; --nPos) {
        const int nDigit = GetDigit(nPos);
        if (nDigit > 0) {
            SetDigit(nDigit - 1, nPos);
            return;
        }
        SetDigit(9, nPos);
    }
}

BOOL CDateCtrl::IsValid()
{
    if (m_nLength == 0)
        return FALSE;
    CString strText;
    GetText(strText);
    return !strText.IsEmpty();
}

void CDateCtrl::OnChar(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar == VK_RETURN) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMAND, DATECTRL_ENTER, 0);
    } else if ((nChar >= '0' && nChar <= '9') || nChar == VK_BACK) {
        TakeChar(nChar, nRepCnt, nFlags);
    } else {
        MessageBeep(0);
    }
}
