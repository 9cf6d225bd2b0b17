#include "widgets/VLEdit.h"

IMPLEMENT_DYNAMIC(CVLEdit, CEdit)

BEGIN_MESSAGE_MAP(CVLEdit, CEdit)
    ON_WM_CHAR()
END_MESSAGE_MAP()

void CVLEdit::OnChar(UINT nChar, UINT, UINT)
{
    if (nChar == VK_RETURN) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMAND, IDOK, 0);
        return;
    }
    Default();
}
