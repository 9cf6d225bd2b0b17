#include "article/ArticleMediaOpen.h"

#include "article/ArticleDocument.h"
#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"

#include <memory>

namespace {

CWnd* TopLevelOf(CWnd* pView)
{
    CWnd* pTop = pView != NULL ? pView->GetTopLevelParent() : NULL;
    return pTop != NULL ? pTop : GetAppMainWnd();
}

// Posts the object to the frame, which owns it from then on; deleted when it cannot be posted.
template <class T>
void PostToFrame(CWnd* pView, UINT nMessage, UINT nViewId, T* pObject)
{
    CWnd* pTop = TopLevelOf(pView);
    if (pTop == NULL || !pTop->PostMessage(nMessage, nViewId, reinterpret_cast<LPARAM>(pObject)))
        delete pObject;
}

}  // namespace

void OpenArticleMedia(CWnd* pView, CArticleDocument* pDocument, int nIndex)
{
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    if (pDocument == NULL || pFactory == NULL || nIndex < 0)
        return;
    const int nItems = pDocument->GetFormatYear() >= ARTICLE_NEW_LAYOUT_YEAR ? pDocument->GetMediaEntryCount()
                                                                            : pDocument->GetMediaEntryCount() / 2;
    if (nIndex >= nItems)
        return;
    const DWORD nRin = pDocument->GetMediaRin(nIndex);
    if (IsSoundRin(nRin)) {
        pView->SendMessage(VLM_PANE_ITEM, 4, nIndex);
        pView->PostMessage(VLM_PANE_SOUND, 0, static_cast<LPARAM>(nRin));
        return;
    }
    OpenArticleMediaReference(pView, pDocument, pFactory->CreateReference(static_cast<LONG>(nRin), "", 0));
}

void OpenArticleMediaReference(CWnd* pView, CArticleDocument* pDocument, CReference* pReference)
{
    std::unique_ptr<CReference> pItem(pReference);
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    if (pItem == nullptr || pDocument == NULL || pFactory == NULL)
        return;
    const int nItems = pDocument->GetFormatYear() >= ARTICLE_NEW_LAYOUT_YEAR ? pDocument->GetMediaEntryCount()
                                                                            : pDocument->GetMediaEntryCount() / 2;
    const LONG nKind = pItem->GetKind();
    if (nKind == REFKIND_MAP) {
        PostToFrame(pView, VLM_OPEN_WINDOW, IDW_ATLAS, pItem.release());
    } else if (nKind == REFKIND_ARTICLE || nKind == REFKIND_ARTICLE2) {
        PostToFrame(pView, VLM_OPEN_WINDOW, IDW_ARTICLE, pItem.release());
    } else if (nKind & (REFKIND_ANIMATION | REFKIND_VIDEO | REFKIND_PICTURE | REFKIND_SOUND | REFKIND_SIMULATION |
                        REFKIND_VIRTUALREALITY | REFKIND_ONLINESOUND | REFKIND_NOFILE | REFKIND_BUBBLE)) {
        CReferenceList list;
        std::unique_ptr<CStringArray> pCaptions(pDocument->GetMediaCaptions());
        for (int i = 0; i < nItems; ++i) {
            const DWORD nItemRin = pDocument->GetMediaRin(i);
            if (IsSoundRin(nItemRin))
                continue;
            LPCSTR lpszCaption = pCaptions != nullptr && i < pCaptions->GetSize() ? (LPCSTR)pCaptions->GetAt(i) : "";
            if (CReference* pRef = pFactory->CreateReference(static_cast<LONG>(nItemRin), lpszCaption, 0))
                list.Append(pRef);
        }
        PostToFrame(pView, VLM_POST_TO_WINDOW, IDW_MEDIA, new CMediaDisplayRef(pItem.get(), &list, 0));
    } else {
        CString strText = "Bad Media Type in Topic ";
        strText += pItem->GetLinkText();
        AfxMessageBox(strText, MB_ICONSTOP);
    }
}
