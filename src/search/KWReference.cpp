#include "search/KWReference.h"

#include <new>

IMPLEMENT_DYNAMIC(CKWReference, CReference)

CKWReference::CKWReference()
    : CReference(REFTYPE_KEYWORD),
      m_nFirstRecord(0),
      m_nOwnHits(0),
      m_nTotalHits(0),
      m_nValue1(0),
      m_nValue2(0),
      m_nValue3(0),
      m_dwTitleLink(0),
      m_nParent(0),
      m_nArticleNumber(0)
{
}

CKWReference* CKWReference::CloneKeyword()
{
    CKWReference* pClone = new (std::nothrow) CKWReference;
    if (pClone != NULL)
        pClone->CopyKeyword(*this);
    return pClone;
}

void CKWReference::CopyKeyword(const CKWReference& other)
{
    if (&other == this)
        return;
    Copy(other);
    m_nFirstRecord = other.m_nFirstRecord;
    m_nOwnHits = other.m_nOwnHits;
    m_nTotalHits = other.m_nTotalHits;
    m_nValue1 = other.m_nValue1;
    m_nValue2 = other.m_nValue2;
    m_nValue3 = other.m_nValue3;
    m_dwTitleLink = other.m_dwTitleLink;
    m_nParent = other.m_nParent;
    m_nArticleNumber = other.m_nArticleNumber;
}
