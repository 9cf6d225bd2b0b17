#include "explore/AtlasTreeControl.h"

IMPLEMENT_DYNAMIC(CAtlasTreeControl, CVLVListWnd)

CAtlasTreeControl::CAtlasTreeControl(CBaseListData* pData) : CVLVListWnd(pData) {}

CAtlasTreeControl::~CAtlasTreeControl()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}
