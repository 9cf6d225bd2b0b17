#include "widgets/DigitEdit.h"

IMPLEMENT_DYNAMIC(CDigitEdit, CEdit)

BEGIN_MESSAGE_MAP(CDigitEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

void CDigitEdit::OnChar(UINT nChar, UINT, UINT)
{
    if ((nChar >= '0' && nChar <= '9') || nChar == VK_BACK)
        Default();
    else
        MessageBeep(0);
}
