#include "search/WildListWin.h"

IMPLEMENT_DYNAMIC(CWildListWin, CVLListWindow)

BOOL CWildListWin::CreateWordList(const RECT& rect, CWnd* pParentWnd)
{
    return Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY | LBS_MULTIPLESEL, rect, pParentWnd,
                  IDC_WILD_LIST);
}
