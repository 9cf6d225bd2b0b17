#include "base/ReferenceFactory.h"

#include "base/HitList.h"
#include "base/OnlineReference.h"
#include "base/Reference.h"
#include "base/Rin.h"

#include <afxwin.h>

#include <cstring>
#include <memory>
#include <new>

namespace {

const LONG kTimelineKindCode = 10;
const char kLinkPrefix[] = "vl://";
const int kLinkPrefixLength = 5;
const char kTableLinkSuffix[] = "(T)";

// Allocates with the framework's memory exception for failure.
template <class T, class... Args>
T* NewOrThrow(Args&&... args)
{
    T* p = new (std::nothrow) T(std::forward<Args>(args)...);
    if (p == NULL)
        AfxThrowMemoryException();
    return p;
}

BOOL IsDigit(char ch)
{
    return ch >= '0' && ch <= '9';
}

// The kind of an online item, by the first of its content's flags that holds; 0 for none.
LONG OnlineKind(const CRin& rin)
{
    if (rin.IsArticleText())
        return REFKIND_ARTICLE;
    if (rin.IsPicture())
        return REFKIND_PICTURE;
    if (rin.IsMap())
        return REFKIND_MAP;
    if (rin.IsMovie())
        return REFKIND_VIDEO;
    if (rin.IsSimulation())
        return REFKIND_SIMULATION;
    if (rin.IsSound())
        return REFKIND_ONLINESOUND;
    return REFKIND_NONE;
}

}  // namespace

CReference* CReferenceFactory::CreateReference(LONG nNumber, LPCSTR lpszTitle, LONG nCategory)
{
    const CRin rin(static_cast<DWORD>(nNumber));
    if (rin.IsOnline()) {
        CString strFileName = rin.FormatRit();
        if (rin.IsArticleText()) {
            strFileName += ".rcv";
        } else if (rin.IsMedia()) {
            strFileName += ".grf";
        } else {
            AfxMessageBox("Error: Reference to online resource with unexpected type.", MB_OK);
            AfxThrowNotSupportedException();
        }
        COnlineReference* pReference = NewOrThrow<COnlineReference>(rin, static_cast<LPCSTR>(strFileName));
        pReference->SetTitle(lpszTitle);
        pReference->SetCategory(nCategory);
        pReference->SetKind(OnlineKind(rin));
        return pReference;
    }
    if (rin.GetKindCode() == kTimelineKindCode) {
        CReference* pReference = NewOrThrow<CReference>();
        pReference->SetNumber(nNumber);
        pReference->SetTitle(lpszTitle);
        pReference->SetKind(REFKIND_TIMELINE);
        pReference->SetCategory(nCategory);
        return pReference;
    }
    return NewOrThrow<CReference>(nNumber, lpszTitle);
}

CReference* CReferenceFactory::ParseReferenceLink(LPCSTR lpszLink)
{
    if (lpszLink == NULL || std::strlen(lpszLink) < static_cast<size_t>(kLinkPrefixLength) ||
        _strnicmp(lpszLink, kLinkPrefix, kLinkPrefixLength) != 0)
        AfxThrowNotSupportedException();
    const int nLength = static_cast<int>(std::strlen(lpszLink));

    int i = kLinkPrefixLength;
    CString strRin;
    while (i < nLength && IsDigit(lpszLink[i]))
        strRin += lpszLink[i++];

    BOOL bSection = FALSE;
    CString strSection;
    if (i < nLength) {
        const BOOL bTableLink = nLength >= 3 && _stricmp(lpszLink + nLength - 3, kTableLinkSuffix) == 0;
        if (!bTableLink) {
            if (lpszLink[i] != '(')
                AfxThrowNotSupportedException();
            // Everything up to the last character is the section number; the last character
            // closes the link and is not looked at.
            for (++i; i < nLength - 1; ++i) {
                if (!IsDigit(lpszLink[i]))
                    AfxThrowNotSupportedException();
                strSection += lpszLink[i];
            }
            bSection = !strSection.IsEmpty();
        }
    }

    const CRin rin(strRin, FALSE);
    std::unique_ptr<CReference> pReference(CreateReference(static_cast<LONG>(rin.GetNumber()), "", 0));
    pReference->SetLinkText(lpszLink);
    if (bSection) {
        // The section number kept in the 8 bits of the section field.
        UINT nSection = 0;
        for (int k = 0; k < strSection.GetLength(); ++k)
            nSection = (nSection * 10 + static_cast<UINT>(strSection[k] - '0')) & CHitPosition::sectionMask;
        CHitList* pHits = NewOrThrow<CHitList>();
        pHits->AddHit(CHitPosition(nSection, 0, 0));
        pReference->SetData(pHits);
    }
    return pReference.release();
}
