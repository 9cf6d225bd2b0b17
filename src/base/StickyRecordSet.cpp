#include "base/StickyRecordSet.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CStickyPosition, CObject)
IMPLEMENT_SERIAL(CStickyNote, CObject, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CStickyRecordSet, CObArray, 1)

// ---- CStickyPosition ----

CStickyPosition::CStickyPosition(WORD wSection, WORD wSecond, WORD wThird, WORD wOffset)
    : m_wData{wSection, wSecond, wThird, wOffset}
{
}

BOOL CStickyPosition::operator==(const CStickyPosition& other) const
{
    return std::memcmp(m_wData, other.m_wData, sizeof m_wData) == 0;
}

void CStickyPosition::SetData(const WORD* pData)
{
    std::memcpy(m_wData, pData, sizeof m_wData);
}

WORD* CStickyPosition::CopyData() const
{
    WORD* pCopy = new WORD[4];
    std::memcpy(pCopy, m_wData, sizeof m_wData);
    return pCopy;
}

// ---- CStickyNote ----

CStickyNote::CStickyNote() : m_pPosition(new WORD[4])
{
    std::memset(m_pPosition, 0, 4 * sizeof(WORD));
}

CStickyNote::~CStickyNote()
{
    delete[] m_pPosition;
}

void CStickyNote::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << m_strTitle << m_strText << m_strSpare << m_nKey;
        for (int i = 0; i < 4; ++i)
            ar << m_pPosition[i];
    } else {
        ar >> m_strTitle >> m_strText >> m_strSpare >> m_nKey;
        for (int i = 0; i < 4; ++i)
            ar >> m_pPosition[i];
        m_bPlaced = TRUE;
    }
}

BOOL CStickyNote::IsBefore(const CStickyNote& other) const
{
    if (m_nKey != other.m_nKey)
        return FALSE;
    if (m_pPosition[0] != other.m_pPosition[0])
        return m_pPosition[0] < other.m_pPosition[0];
    if (m_pPosition[1] != other.m_pPosition[1])
        return m_pPosition[1] < other.m_pPosition[1];
    return m_pPosition[2] < other.m_pPosition[2];
}

BOOL CStickyNote::IsAt(const WORD* pPosition) const
{
    return pPosition != NULL && std::memcmp(m_pPosition, pPosition, 4 * sizeof(WORD)) == 0;
}

// ---- CStickyRecordSet ----

CStickyRecordSet::CStickyRecordSet()
    : m_file("sticky.nte", "Unable to open sticky note file.",
             "The Sticky Note file  has become corrupted.\nYou may have lost the sticky notes in the file!",
             "sticky notes")
{
    SetSize(0, 10);
    // The notes read before damage are written back at once (the damaged file is kept aside).
    if (m_file.Load(*this, RUNTIME_CLASS(CStickyNote)) == CUserDataFile::loadDamaged)
        Save();
}

CStickyRecordSet::~CStickyRecordSet()
{
    Save();
    for (INT_PTR i = GetSize() - 1; i >= 0; --i)
        delete GetAt(i);
    RemoveAll();
}

BOOL CStickyRecordSet::Save()
{
    return m_file.Save(*this);
}

CStickyNote* CStickyRecordSet::FindNote(LONG nKey)
{
    m_pFound = NULL;
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CStickyNote* pNote = GetNote(i);
        if (pNote->m_nKey == nKey) {
            m_pFound = pNote;
            break;
        }
    }
    return m_pFound;
}

INT_PTR CStickyRecordSet::IndexOf(const CStickyNote* pNote) const
{
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (GetAt(i) == pNote)
            return i;
    }
    return -1;
}
