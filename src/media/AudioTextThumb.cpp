#include "media/AudioTextThumb.h"

IMPLEMENT_DYNAMIC(CAudioTextThumb, CTextThumb)

CAudioTextThumb::CAudioTextThumb(CReference* pReference, const CString* pCaption, const CString* pTitle)
    : CTextThumb(pReference, pCaption, pTitle)
{
}

CAudioTextThumb::~CAudioTextThumb() = default;

int CAudioTextThumb::GetThumbWidth()
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rect);
    return rect.Width();
}

int CAudioTextThumb::GetThumbHeight()
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetClientRect(&rect);
    return rect.Height();
}
