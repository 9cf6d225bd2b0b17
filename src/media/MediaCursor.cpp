#include "media/MediaCursor.h"

#include "base/AppServices.h"

HCURSOR LoadMediaCursor(UINT nId)
{
    HCURSOR hCursor = NULL;
    if (AppServices().env.hResourceLibrary != NULL)
        hCursor = ::LoadCursor(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(nId));
    if (hCursor == NULL)
        hCursor = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(nId));
    if (hCursor == NULL)
        hCursor = ::LoadCursor(NULL, IDC_ARROW);
    return hCursor;
}
