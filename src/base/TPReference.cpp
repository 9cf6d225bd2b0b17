#include "base/TPReference.h"

#include "base/HitList.h"
#include "base/ReferenceList.h"

#include <cstring>
#include <new>

namespace {

const char* const kMediaNotes[CTPReference::mediaNoteCount + 1] = {
    "",
    ", with portrait",
    ", with pictures and maps",
    ", with picture and map",
    ", with pictures and map",
    "", "", "", "", "", "", "", "",
    ", with picture",
    ", with pictures",
    ", with multimedia",
    ", with sound",
    ", with map",
    ", with maps",
};

}  // namespace

IMPLEMENT_DYNAMIC(CTPReference, CReference)

CTPReference::CTPReference() : CReference(REFTYPE_TOPIC), m_pSubList(NULL), m_pEntry(NULL), m_nTextOffset(0)
{
    std::memset(m_abCounts, 0, sizeof m_abCounts);
    std::memset(m_szText, 0, sizeof m_szText);
}

CTPReference::~CTPReference()
{
    delete m_pSubList;
}

void CTPReference::SetSubList(CReferenceList* pList)
{
    if (pList == m_pSubList)
        return;
    delete m_pSubList;
    m_pSubList = pList;
}

CReferenceList* CTPReference::GetSubList()
{
    return m_pSubList;
}

BOOL CTPReference::HasMediaNote() const
{
    int nIndex = GetMediaNoteIndex();
    return nIndex >= 1 && nIndex <= mediaNoteCount;
}

CString& CTPReference::GetMediaNote(CString& strNote) const
{
    strNote.Empty();
    strNote += MediaNoteText(GetMediaNoteIndex());
    return strNote;
}

LPCSTR CTPReference::MediaNoteText(int nIndex)
{
    return nIndex >= 1 && nIndex <= mediaNoteCount ? kMediaNotes[nIndex] : "";
}

CTPReference* CTPReference::CloneTopic()
{
    CTPReference* pClone = new (std::nothrow) CTPReference;
    if (pClone != NULL)
        pClone->CopyTopic(*this);
    return pClone;
}

void CTPReference::CopyTopic(const CTPReference& other)
{
    if (&other == this)
        return;
    Copy(other);
    std::memcpy(m_abCounts, other.m_abCounts, sizeof m_abCounts);
    std::memcpy(m_szText, other.m_szText, sizeof m_szText);
    m_pEntry = other.m_pEntry;
    m_nTextOffset = other.m_nTextOffset;
    if (other.m_pSubList != NULL) {
        if (m_pSubList == NULL)
            m_pSubList = new (std::nothrow) CReferenceList;
        else
            m_pSubList->DeleteAll();
        if (m_pSubList != NULL)
            other.m_pSubList->CloneInto(m_pSubList);
    }
}

void CTPReference::AddHit(const CHitPosition& position)
{
    CHitList* pHits = DYNAMIC_DOWNCAST(CHitList, GetData());
    if (pHits == NULL) {
        pHits = new CHitList;
        SetData(pHits);
    }
    pHits->AddHit(position);
}

void CTPReference::SetEntryCount(int nCount)
{
    if (nCount < 0)
        nCount = 0;
    m_abCounts[1] = static_cast<BYTE>(nCount > maxEntryCount ? maxEntryCount : nCount);
}

void CTPReference::SetText(LPCSTR lpszText)
{
    std::memset(m_szText, 0, sizeof m_szText);
    if (lpszText != NULL)
        std::strncpy(m_szText, lpszText, sizeof m_szText - 1);
}
