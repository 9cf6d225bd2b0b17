#include "media/DetailCaptionBox.h"

#include <richedit.h>

#include "media/CaptionMarkup.h"

#include "base/HitList.h"
#include "media/GrfDocument.h"

IMPLEMENT_DYNAMIC(CDetailCaptionBox, CMiniArtThumb)

BEGIN_MESSAGE_MAP(CDetailCaptionBox, CMiniArtThumb)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(EN_REQUESTRESIZE, OnRequestResize)
END_MESSAGE_MAP()

CDetailCaptionBox::CDetailCaptionBox(CGrfDocument* pDocument) : CMiniArtThumb(static_cast<LPCSTR>(NULL)),
                                                                m_pDocument(pDocument)
{
}

CDetailCaptionBox::~CDetailCaptionBox()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

int CDetailCaptionBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    SetFrameWidth(2);
    SetWindowPos(NULL, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (CMiniArtThumb::OnCreate(lpCreateStruct) < 0)
        return -1;
    SetBkColor(PALETTERGB(255, 255, 255));
    return 0;
}

int CDetailCaptionBox::ShowCaption(int nSectionCode)
{
    CString strText;
    BuildCaptionText(strText, nSectionCode);
    return SetText(strText);
}

void CDetailCaptionBox::BuildCaptionText(CString& strOut, int nSectionCode) const
{
    strOut.Empty();
    LPCSTR lpszSource = NULL;
    if (m_pDocument != NULL) {
        if (nSectionCode == DETAILCAPTION_CAPTION)
            lpszSource = m_pDocument->GetCaptionText();
        else if (nSectionCode >= DETAILCAPTION_FIRST_SECTION)
            lpszSource = m_pDocument->GetSectionData(nSectionCode - DETAILCAPTION_FIRST_SECTION);
    }
    if (lpszSource == NULL)
        lpszSource = "";

    // The hits of this section, from the first one in it up to the first one of another section.
    CHitList* pHits = NULL;
    if (m_pDocument != NULL) {
        CObject* pData = m_pDocument->GetReferenceData();
        if (pData != NULL && pData->IsKindOf(RUNTIME_CLASS(CHitList)))
            pHits = static_cast<CHitList*>(pData);
    }
    int nHit = -1;
    const int nHitCount = pHits != NULL ? pHits->GetCount() : 0;
    for (int i = 0; i < nHitCount; ++i)
        if (static_cast<int>(pHits->GetAt(static_cast<UINT>(i))->GetSection()) == nSectionCode) {
            nHit = i;
            break;
        }
    auto current = [&]() -> CHitPosition* {
        if (nHit < 0 || nHit >= nHitCount)
            return NULL;
        CHitPosition* pHit = pHits->GetAt(static_cast<UINT>(nHit));
        return static_cast<int>(pHit->GetSection()) == nSectionCode ? pHit : NULL;
    };

    CCaptionMarkup markup;
    BOOL bRed = FALSE;
    UINT k = 0;
    for (LPCSTR p = lpszSource; *p != '\0'; ++p, ++k) {
        // Close the span that ends here, then open the one that starts here (a hit of no length
        // is passed over).
        for (CHitPosition* pHit = current(); pHit != NULL; pHit = current()) {
            if (bRed && k == pHit->GetOffset() + pHit->GetLength()) {
                strOut += "</RED>";
                bRed = FALSE;
                ++nHit;
            } else if (!bRed && k == pHit->GetOffset()) {
                if (pHit->GetLength() == 0) {
                    ++nHit;
                    continue;
                }
                strOut += "<RED>";
                bRed = TRUE;
                break;
            } else if (!bRed && k > pHit->GetOffset()) {
                ++nHit;  // a hit that lies behind the text read so far
            } else {
                break;
            }
        }
        markup.Put(strOut, static_cast<BYTE>(*p));
    }
    if (bRed)
        strOut += "</RED>";
    strOut += "<P>";
}

void CDetailCaptionBox::OnRequestResize(NMHDR* pNotify, LRESULT* pResult)
{
    const REQRESIZE* pRequest = reinterpret_cast<const REQRESIZE*>(pNotify);
    const CRect rect(pRequest->rc);
    SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    *pResult = 0;
}
