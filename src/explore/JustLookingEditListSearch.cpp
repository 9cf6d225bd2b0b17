#include "explore/JustLookingEditListSearch.h"

IMPLEMENT_DYNAMIC(CJustLookingEditListSearch, CEdit)

BEGIN_MESSAGE_MAP(CJustLookingEditListSearch, CEdit)
ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CJustLookingEditListSearch::CJustLookingEditListSearch() = default;

CJustLookingEditListSearch::~CJustLookingEditListSearch() = default;

void CJustLookingEditListSearch::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const HWND hWnd = m_hWnd;
    CEdit::OnKeyDown(nChar, nRepCnt, nFlags);
    if (::IsWindow(hWnd) && GetParent() != NULL)
        GetParent()->PostMessage(WM_KEYDOWN, static_cast<WPARAM>(nChar), 0);
}
