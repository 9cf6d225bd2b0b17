#include "base/HitList.h"

#include <new>

// ---------------------------------------------------------------------------------------------
// CHitPosition

CHitPosition::CHitPosition(UINT nSection, UINT nOffset, UINT nLength)
    : m_dwValue(((nSection & sectionMask) << sectionShift) | ((nOffset & offsetMask) << offsetShift) |
                ((nLength & lengthMask) << lengthShift))
{
}

CHitPosition& CHitPosition::operator=(const CHitPosition& other)
{
    if (this != &other)
        m_dwValue = other.m_dwValue;
    return *this;
}

void CHitPosition::SetField(UINT nValue, DWORD dwShift, DWORD dwMask)
{
    m_dwValue = (m_dwValue & ~(dwMask << dwShift)) | ((nValue & dwMask) << dwShift);
}

void CHitPosition::SetSection(UINT nSection)
{
    SetField(nSection, sectionShift, sectionMask);
}

void CHitPosition::SetOffset(UINT nOffset)
{
    SetField(nOffset, offsetShift, offsetMask);
}

void CHitPosition::SetLength(UINT nLength)
{
    SetField(nLength, lengthShift, lengthMask);
}

// ---------------------------------------------------------------------------------------------
// CHitList

IMPLEMENT_DYNAMIC(CHitList, CObject)

CHitList::CHitList() : m_pHits(new (std::nothrow) CHitArray), m_nCursor(0)
{
    if (m_pHits != NULL)
        m_pHits->SetSize(0, growBy);
}

CHitList::~CHitList()
{
    delete m_pHits;
}

void CHitList::AddHit(const CHitPosition& position)
{
    if (m_pHits != NULL)
        m_pHits->Add(position);
}

CHitPosition* CHitList::GetFirst()
{
    m_nCursor = 0;
    return GetNext();
}

CHitPosition* CHitList::GetNext()
{
    if (m_pHits == NULL || m_nCursor < 0 || m_nCursor >= m_pHits->GetSize() || m_pHits->GetData() == NULL)
        return NULL;
    return &m_pHits->ElementAt(m_nCursor++);
}

CHitPosition* CHitList::GetAt(UINT nIndex)
{
    if (m_pHits == NULL || nIndex >= static_cast<UINT>(m_pHits->GetSize()))
        return NULL;
    return &m_pHits->ElementAt(static_cast<int>(nIndex));
}

int CHitList::GetCount() const
{
    return m_pHits != NULL ? m_pHits->GetSize() : 0;
}

void CHitList::CopyTo(CHitList* pDest) const
{
    if (pDest == NULL || pDest == this || m_pHits == NULL || pDest->m_pHits == NULL)
        return;
    pDest->m_pHits->RemoveAll();
    for (int i = 0; i < m_pHits->GetSize(); ++i)
        pDest->m_pHits->Add(m_pHits->GetAt(i));
}

void CHitList::RemoveAll()
{
    if (m_pHits != NULL)
        m_pHits->RemoveAll();
}
