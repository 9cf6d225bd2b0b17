#include "explore/AtlasEditMapSearch.h"

IMPLEMENT_DYNAMIC(CAtlasEditMapSearch, CEdit)

BEGIN_MESSAGE_MAP(CAtlasEditMapSearch, CEdit)
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CAtlasEditMapSearch::CAtlasEditMapSearch() = default;

CAtlasEditMapSearch::~CAtlasEditMapSearch()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

void CAtlasEditMapSearch::OnKeyDown(UINT nChar, UINT, UINT)
{
    Default();
    if (GetSafeHwnd() != NULL && GetParent() != NULL)
        GetParent()->PostMessage(WM_KEYDOWN, nChar, 0);
}
