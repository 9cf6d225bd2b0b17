#include "explore/JustLookingListWin.h"

IMPLEMENT_DYNCREATE(CJustLookingListWin, CVLListWindow)

BEGIN_MESSAGE_MAP(CJustLookingListWin, CVLListWindow)
ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CJustLookingListWin::CJustLookingListWin() { SetToggleOnDoubleClick(FALSE); }

CJustLookingListWin::~CJustLookingListWin() = default;

void CJustLookingListWin::OnLButtonDblClk(UINT /*nFlags*/, CPoint /*point*/)
{
    CWnd* pParent = GetParent();
    if (pParent != NULL)
        pParent->SendMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(), LBN_DBLCLK), reinterpret_cast<LPARAM>(m_hWnd));
}
