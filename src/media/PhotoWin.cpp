#include "media/PhotoWin.h"

CPhotoWin::~CPhotoWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CPhotoWin::Create(CWnd*, const RECT&, LPCSTR)
{
    return FALSE;
}

BOOL CPhotoWin::OpenBubble(LPCSTR)
{
    return FALSE;
}

LONG CPhotoWin::GetState()
{
    return 0;
}

BOOL CPhotoWin::Query()
{
    return TRUE;
}

HPALETTE CPhotoWin::BuildPalette()
{
    return NULL;
}
