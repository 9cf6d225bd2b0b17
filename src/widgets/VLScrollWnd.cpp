#include "widgets/VLScrollWnd.h"

#include "base/DataFolders.h"

IMPLEMENT_DYNAMIC(CVLScrollWnd, CWnd)

CVLScrollWnd::CVLScrollWnd() = default;

CVLScrollWnd::~CVLScrollWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

COLORREF CVLScrollWnd::GetBkColor()
{
    return PALETTERGB(255, 255, 255);
}

COLORREF CVLScrollWnd::GetSecondColor()
{
    return PALETTERGB(195, 176, 108);
}

int CVLScrollWnd::GetVScrollBarWidth()
{
    int cx = ::GetSystemMetrics(SM_CXVSCROLL);
    return IsWin32s() ? cx - ::GetSystemMetrics(SM_CXBORDER) : cx;
}

int CVLScrollWnd::GetHScrollBarHeight()
{
    int cy = ::GetSystemMetrics(SM_CYHSCROLL);
    return IsWin32s() ? cy - ::GetSystemMetrics(SM_CYBORDER) : cy;
}
