// Opening one media item of an article, as a double click on it does (in the outline or on the
// film strip): a sound plays in the article view, a map opens in the atlas, an article in the
// article view, and every other media kind in the media view with the article's other media
// items as its list.
#pragma once

#include <afxwin.h>

class CArticleDocument;
class CReference;

// Content numbers of sound items.
inline BOOL IsSoundRin(DWORD nRin)
{
    return nRin >= 6000000 && nRin <= 6999999;
}

// Opens media item nIndex of the document; pView is the article view that hears of sounds. A kind
// that no view shows is reported ("Bad Media Type in Topic " and the item's link text).
void OpenArticleMedia(CWnd* pView, CArticleDocument* pDocument, int nIndex);
// Opens an item by its reference (taken over) as OpenArticleMedia does, but a sound reference
// too goes to the media view (with the article's media that are no sounds as its list).
void OpenArticleMediaReference(CWnd* pView, CArticleDocument* pDocument, CReference* pReference);
