#include "base/HiliteRecordSet.h"

IMPLEMENT_DYNAMIC(CStoredHilite, CObject)
IMPLEMENT_DYNAMIC(CHiliteSpanList, CObject)
// Any schema number in a record's header is read.
IMPLEMENT_SERIAL(CHiliteRecord, CObject, VERSIONABLE_SCHEMA | 1)
IMPLEMENT_SERIAL(CHiliteRecordSet, CObArray, 1)

// ---- CStoredHilite ----

CStoredHilite& CStoredHilite::operator=(const CStoredHilite& other)
{
    m_dwUnit = other.m_dwUnit;
    m_dwOffset = other.m_dwOffset;
    m_dwLength = other.m_dwLength;
    m_dwStyle = other.m_dwStyle;
    return *this;
}

BOOL CStoredHilite::operator==(const CStoredHilite& other) const
{
    return m_dwUnit == other.m_dwUnit && m_dwOffset == other.m_dwOffset && m_dwLength == other.m_dwLength &&
           m_dwStyle == other.m_dwStyle;
}

// ---- CHiliteSpanList ----

CHiliteSpanList::CHiliteSpanList()
{
    m_spans.SetSize(0, 10);
}

CHiliteSpanList::~CHiliteSpanList()
{
    RemoveAll();
}

void CHiliteSpanList::Add(const CStoredHilite& span)
{
    m_spans.Add(span);
    m_nCount = static_cast<UINT>(m_spans.GetSize());
}

CStoredHilite* CHiliteSpanList::GetAt(UINT i)
{
    return i < m_nCount ? &m_spans.ElementAt(static_cast<INT_PTR>(i)) : NULL;
}

void CHiliteSpanList::RemoveAt(UINT i)
{
    if (i >= m_nCount)
        return;
    m_spans.RemoveAt(static_cast<INT_PTR>(i));
    m_nCount = static_cast<UINT>(m_spans.GetSize());
}

void CHiliteSpanList::RemoveAll()
{
    m_spans.RemoveAll();
    m_nCount = 0;
}

// ---- CHiliteRecord ----

CHiliteRecord::CHiliteRecord() : m_pSpans(new CHiliteSpanList) {}

CHiliteRecord::CHiliteRecord(LONG nKey) : m_nKey(nKey), m_pSpans(new CHiliteSpanList) {}

CHiliteRecord::~CHiliteRecord()
{
    m_pSpans->RemoveAll();
    delete m_pSpans;
}

void CHiliteRecord::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        // The set never lets a record grow past what the count can say.
        m_wSpanCount = static_cast<WORD>(m_pSpans->GetCount());
        ar << m_nKey << m_wSpanCount;
        for (UINT i = 0; i < m_wSpanCount; ++i) {
            const CStoredHilite* pSpan = m_pSpans->GetAt(i);
            ar << pSpan->m_dwUnit << pSpan->m_dwOffset << pSpan->m_dwLength << pSpan->m_dwStyle;
        }
    } else {
        ar >> m_nKey >> m_wSpanCount;
        for (UINT i = 0; i < m_wSpanCount; ++i) {
            CStoredHilite span;
            ar >> span.m_dwUnit >> span.m_dwOffset >> span.m_dwLength >> span.m_dwStyle;
            m_pSpans->Add(span);
        }
    }
}

// ---- CHiliteRecordSet ----

CHiliteRecordSet::CHiliteRecordSet()
    : m_file("hilite.dat", "Unable to open hilite file.",
             "The Hilite file has become corrupted.\nYou may have lost the highlighter marks data in the file!",
             "highlighter marks")
{
    SetSize(0, 10);
    m_file.Load(*this, RUNTIME_CLASS(CHiliteRecord));
}

CHiliteRecordSet::~CHiliteRecordSet()
{
    Save();
    RemoveAll();
}

BOOL CHiliteRecordSet::Save()
{
    for (INT_PTR i = GetSize() - 1; i >= 0; --i) {
        CHiliteRecord* pRecord = GetRecord(i);
        if (pRecord->m_pSpans->GetCount() == 0) {
            CObArray::RemoveAt(i);
            delete pRecord;
        }
    }
    return m_file.Save(*this);
}

CHiliteRecord* CHiliteRecordSet::FindRecord(LONG nKey)
{
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        if (GetRecord(i)->m_nKey == nKey)
            return GetRecord(i);
    }
    return NULL;
}

CHiliteSpanList* CHiliteRecordSet::GetSpanList(LONG nKey)
{
    CHiliteRecord* pRecord = FindRecord(nKey);
    if (pRecord == NULL) {
        pRecord = new CHiliteRecord(nKey);
        Add(pRecord);
    }
    return pRecord->m_pSpans;
}

BOOL CHiliteRecordSet::AddHilite(LONG nKey, DWORD dwUnit, DWORD dwOffset, DWORD dwLength, DWORD dwStyle)
{
    CHiliteRecord* pRecord = FindRecord(nKey);
    if (pRecord == NULL)
        return FALSE;
    if (dwUnit > maxPlace || dwOffset > maxPlace || dwLength > maxPlace) {
        AfxMessageBox("This mark cannot be kept: it lies further into the article than the highlight file can "
                      "record.",
                      MB_ICONEXCLAMATION);
        return FALSE;
    }
    if (pRecord->m_pSpans->GetCount() >= maxSpans) {
        AfxMessageBox("This mark cannot be kept: the article already has as many marks as the highlight file can "
                      "record.",
                      MB_ICONEXCLAMATION);
        return FALSE;
    }
    pRecord->m_pSpans->Add(CStoredHilite(dwUnit, dwOffset, dwLength, dwStyle));
    return TRUE;
}

void CHiliteRecordSet::RemoveHilite(LONG nKey, const CStoredHilite& span)
{
    CHiliteRecord* pRecord = FindRecord(nKey);
    if (pRecord == NULL)
        return;
    CHiliteSpanList* pSpans = pRecord->m_pSpans;
    for (UINT i = 0; i < pSpans->GetCount(); ++i) {
        if (*pSpans->GetAt(i) == span) {
            pSpans->RemoveAt(i);
            return;
        }
    }
}

void CHiliteRecordSet::RemoveRecord(LONG nKey)
{
    for (INT_PTR i = 0; i < GetSize(); ++i) {
        CHiliteRecord* pRecord = GetRecord(i);
        if (pRecord->m_nKey == nKey) {
            CObArray::RemoveAt(i);
            delete pRecord;
            return;
        }
    }
}

void CHiliteRecordSet::RemoveAll()
{
    for (INT_PTR i = GetSize() - 1; i >= 0; --i) {
        delete GetAt(i);
        CObArray::RemoveAt(i);
    }
}
