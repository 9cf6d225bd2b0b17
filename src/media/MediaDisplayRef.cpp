#include "media/MediaDisplayRef.h"

#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/GrfDocument.h"

#include <memory>
#include <new>

namespace {

// The link value of a reference that names a replacement item: "look it up in the picture".
const LONG kLinkInPicture = -1;

// The media items of a list, each replaced by the item its link names.
void CopyMediaItems(CReferenceList& source, CReferenceList& dest)
{
    for (int i = 0; i < source.GetCount(); ++i) {
        CReference* pElement = source.GetAtIndex(i);
        if (pElement == NULL || (pElement->GetKind() & MEDIA_LIST_KIND_MASK) == 0)
            continue;
        const LONG nLink = pElement->GetPictureFlag();
        CReference* pCopy = NULL;
        if (nLink == 0) {
            pCopy = pElement->Clone();
        } else if (nLink != kLinkInPicture) {
            pCopy = CreateItemReference(nLink, pElement->GetTitle());
        } else {
            CGrfDocument document;
            // The document works on its own copy, so that the list's element keeps its link.
            std::unique_ptr<CReference> pProbe(pElement->Clone());
            DWORD dwHeaderLink = 0;
            if (pProbe != nullptr && document.Load(pProbe.get(), FALSE))
                dwHeaderLink = document.GetLinkValue();
            pCopy = dwHeaderLink == 0 ? pElement->Clone() : CreateItemReference(static_cast<LONG>(dwHeaderLink), pElement->GetTitle());
        }
        if (pCopy != NULL)
            dest.Append(pCopy);
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CMediaDisplayRef, CVLStateObj)

CMediaDisplayRef::CMediaDisplayRef(CReference* pReference, CReferenceList* pMediaList, LONG nCallerValue)
    : m_nCallerValue(nCallerValue)
{
    m_strTitle = "Media";
    m_nWindowID = IDW_MEDIA;
    m_pReference = pReference != NULL ? pReference->Clone() : NULL;
    if (pMediaList != NULL) {
        m_pMediaList = new CReferenceList;
        CopyMediaItems(*pMediaList, *m_pMediaList);
    }
}

CMediaDisplayRef::CMediaDisplayRef(const CMediaDisplayRef& other) : CVLStateObj()
{
    AssignDisplay(other);
}

CMediaDisplayRef::~CMediaDisplayRef()
{
    delete m_pReference;
    delete m_pMediaList;
}

CVLStateObj& CMediaDisplayRef::Assign(const CVLStateObj& other)
{
    if (const CMediaDisplayRef* pDisplay = dynamic_cast<const CMediaDisplayRef*>(&other))
        return AssignDisplay(*pDisplay);
    return CVLStateObj::Assign(other);
}

CMediaDisplayRef& CMediaDisplayRef::AssignDisplay(const CMediaDisplayRef& other)
{
    if (&other == this)
        return *this;
    CVLStateObj::Assign(other);
    m_nCallerValue = other.m_nCallerValue;
    delete m_pReference;
    delete m_pMediaList;
    m_pReference = other.m_pReference != NULL ? other.m_pReference->Clone() : NULL;
    m_pMediaList = NULL;
    if (other.m_pMediaList != NULL) {
        m_pMediaList = new CReferenceList;
        other.m_pMediaList->CloneKindInto(m_pMediaList, MEDIA_LIST_KIND_MASK);
    }
    return *this;
}

int CMediaDisplayRef::GetDisc() const
{
    return m_pReference != NULL ? m_pReference->GetDisc() : 1;
}

int CMediaDisplayRef::GetDataDirType() const
{
    return m_pReference != NULL ? m_pReference->GetDataDirType() : 1;
}

CVLStateObj* CMediaDisplayRef::Clone() const
{
    return new (std::nothrow) CMediaDisplayRef(*this);
}

void CMediaDisplayRef::SetReference(CReference* pReference)
{
    CReference* pOld = m_pReference;
    m_pReference = pReference != NULL ? pReference->Clone() : NULL;
    delete pOld;
}
