#include "media/MediaCursor.h"

#include "base/AppServices.h"

#include <afxwin.h>

HCURSOR LoadMediaCursor(UINT nId, LPCSTR lpszSystemCursor)
{
    HCURSOR hCursor = NULL;
    if (HMODULE hLibrary = AppServices().env.hResourceLibrary)
        hCursor = ::LoadCursor(hLibrary, MAKEINTRESOURCE(nId));
    if (hCursor == NULL)
        hCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(nId));
    return hCursor != NULL ? hCursor : ::LoadCursor(NULL, lpszSystemCursor);
}
