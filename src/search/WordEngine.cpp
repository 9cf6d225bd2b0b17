#include "search/WordEngine.h"

#include "search/KeywordWildcards.h"

#include "search/KWReference.h"
#include "search/SearchEngine.h"

#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/ReferenceList.h"
#include "base/RomFile.h"
#include "base/RomLinkTable.h"
#include "base/ShowMessage.h"

#include <afxwin.h>

#include <algorithm>

namespace {

const char s_szTitleLink[] = "TITLELNK.DAT";
const int kTitleLinkStride = 12;
const int kMaxTitle = 255;

bool IsHit(const KEYWORD_OCCURRENCE& r)
{
    return (r.dwHitPosition >> CHitPosition::lengthShift) != 0;
}

UINT SectionOf(const KEYWORD_OCCURRENCE& r)
{
    return r.dwHitPosition & CHitPosition::sectionMask;
}

void AddHit(CHitList* pList, const KEYWORD_OCCURRENCE& r)
{
    CHitPosition hit;
    hit.SetValue(r.dwHitPosition);
    pList->AddHit(hit);
}

}  // namespace

CWordEngine::CWordEngine() : m_bOpened(FALSE), m_pTitleLink(NULL), m_nArticlesSeen(0), m_nTotalHits(0)
{
}

CWordEngine::~CWordEngine()
{
    if (!m_bOpened)
        return;
    KeywordShutdown();
    if (m_pTitleLink != NULL) {
        try {
            m_pTitleLink->Close();
        } catch (CException* e) {
            e->Delete();
        }
        delete m_pTitleLink;
    }
}

BOOL CWordEngine::Open()
{
    if (m_bOpened)
        return TRUE;
    if (!KeywordInit())
        return FALSE;
    m_bOpened = TRUE;
    CRomFile* pFile = new CRomFile;
    const UINT nFlags = CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary;
    BOOL bOpen = pFile->Open(GetProgramDir() + s_szTitleLink, nFlags);
    CString strData;
    if (!bOpen && GetDataDir(strData, DDT_INFO_DAT11, 1, FALSE))
        bOpen = pFile->Open(strData + s_szTitleLink, nFlags);
    if (!bOpen) {
        delete pFile;
        ShowMessage(WORDENGINE_MSG_OPEN);
        return FALSE;
    }
    m_pTitleLink = pFile;
    return TRUE;
}

BOOL CWordEngine::ReadTitleLink(WORD wArticle, DWORD& dwValue, LONG& nParent, CString& strTitle)
{
    dwValue = 0;
    nParent = 0;
    strTitle.Empty();
    if (m_pTitleLink == NULL)
        return FALSE;
    BYTE abRecord[6 + kMaxTitle + 1] = {};
    UINT nRead = 0;
    try {
        m_pTitleLink->Seek(static_cast<LONG>(wArticle) * kTitleLinkStride, CFile::begin);
        nRead = m_pTitleLink->Read(abRecord, sizeof abRecord);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (nRead < 6)
        return FALSE;
    dwValue = static_cast<DWORD>(abRecord[0]) | static_cast<DWORD>(abRecord[1]) << 8 |
              static_cast<DWORD>(abRecord[2]) << 16 | static_cast<DWORD>(abRecord[3]) << 24;
    nParent = abRecord[4] | abRecord[5] << 8;
    const char* pszTitle = reinterpret_cast<const char*>(abRecord + 6);
    int nLength = 0;
    while (nLength < static_cast<int>(nRead) - 6 && nLength < kMaxTitle && pszTitle[nLength] != '\n')
        ++nLength;
    strTitle = CString(pszTitle, nLength);
    strTitle.TrimRight("\r");
    return TRUE;
}

LONG CWordEngine::GetParentNumber(WORD wArticle)
{
    DWORD dwValue = 0;
    LONG nParent = 0;
    CString strTitle;
    if (!ReadTitleLink(wArticle, dwValue, nParent, strTitle)) {
        ShowMessage(WORDENGINE_MSG_READ);
        return 0;
    }
    return nParent;
}

RESULT_SET* CWordEngine::RunQuery(LPCSTR lpszQuery, BOOL bCheck)
{
    // A checked query lets the reader confirm the words of each wildcard term (and the years of
    // a date term) first; the plain query is the same search without the lists.
    if (bCheck)
        return RunKeywordQueryWithWildcards(lpszQuery);
    return RunKeywordQuery(lpszQuery);
}

CWordEngine::OccurrenceSource CWordEngine::PagedSource(RESULT_SET* pSet)
{
    return [pSet](DWORD dwIndex) { return *GetPagedEntry(pSet, dwIndex); };
}

void CWordEngine::Search(LPCSTR lpszQuery, CReferenceList* pResults, BOOL bCheck)
{
    if (!Open() || pResults == NULL)
        return;
    RESULT_SET* pSet = RunQuery(lpszQuery, bCheck);
    if (pSet == NULL || pSet->dwState == RESULT_MATCH_ALL)
        return;
    CollectHits(PagedSource(pSet), pResults);
    ReleasePagedEntry();
}

void CWordEngine::CollectHits(const OccurrenceSource& records, CReferenceList* pResults)
{
    m_ranking.clear();
    m_overflow.clear();
    LONG nSeen = 0, nAllHits = 0;
    DWORD idx = 0;
    KEYWORD_OCCURRENCE rec = records(idx);
    while (rec.wRecord != 0) {
        const WORD wArticle = rec.wRecord;
        const LONG nGroupFirst = static_cast<LONG>(idx);
        ++nSeen;
        auto pList = std::make_unique<CHitList>();
        LONG nOwnHits = 0;
        // A part only when its article has a parent: a table section of a main article stays its own.
        const LONG nGroupParent = SectionOf(rec) >= WORDENGINE_PART_SECTION ? GetParentNumber(wArticle) : 0;
        const bool bGroupIsPart = nGroupParent != 0;
        AddHit(pList.get(), rec);
        nOwnHits += IsHit(rec) ? 1 : 0;
        rec = records(++idx);
        while (rec.wRecord == wArticle) {
            if (IsHit(rec)) {
                AddHit(pList.get(), rec);
                ++nOwnHits;
            }
            rec = records(++idx);
        }

        std::vector<RankedEntry> parts;
        LONG nTotal = nOwnHits;
        WORD wRanked = wArticle;
        if (bGroupIsPart) {
            RankedEntry part;
            part.nFirstRecord = nGroupFirst;
            part.nOwnHits = nOwnHits;
            part.nParent = nGroupParent;
            part.wArticle = wArticle;
            part.pHits = std::move(pList);
            parts.push_back(std::move(part));
            wRanked = static_cast<WORD>(nGroupParent);
        }
        while (rec.wRecord != 0 && SectionOf(rec) >= WORDENGINE_PART_SECTION) {
            if (parts.empty() || rec.wRecord != parts.back().wArticle) {
                const LONG nParent = GetParentNumber(rec.wRecord);
                if (nParent == 0 || (nParent != wArticle && !(bGroupIsPart && nParent == nGroupParent)))
                    break;
                RankedEntry part;
                part.nFirstRecord = static_cast<LONG>(idx);
                part.nParent = nParent;
                part.wArticle = rec.wRecord;
                part.pHits = std::make_unique<CHitList>();
                parts.push_back(std::move(part));
                ++nSeen;
            }
            AddHit(parts.back().pHits.get(), rec);
            ++parts.back().nOwnHits;
            ++nTotal;
            rec = records(++idx);
        }
        if (nOwnHits == 0)
            continue;  // dropped with its parts
        nAllHits += nTotal;

        // Its place: after the last main entry (from the end) that ranks above it, and its parts.
        size_t nPlace = 0;
        for (size_t k = m_ranking.size(); k-- > 0;) {
            const RankedEntry& e = m_ranking[k];
            if (e.nParent != 0)
                continue;
            if (e.nTotalHits > nTotal || (e.nTotalHits == nTotal && e.wArticle < wRanked)) {
                nPlace = k + 1;
                while (nPlace < m_ranking.size() && m_ranking[nPlace].nParent != 0)
                    ++nPlace;
                break;
            }
        }
        if (nPlace >= WORDENGINE_MAX_RANKED) {
            for (RankedEntry& part : parts)
                m_overflow.push_back(std::move(part));
            continue;
        }
        auto insertAt = [this, nPlace](RankedEntry entry) {
            if (m_ranking.size() >= WORDENGINE_MAX_RANKED)
                m_ranking.pop_back();
            m_ranking.insert(m_ranking.begin() + static_cast<long>(nPlace), std::move(entry));
        };
        for (size_t k = parts.size(); k-- > 0;)
            insertAt(std::move(parts[k]));
        RankedEntry main;
        main.nFirstRecord = nGroupFirst;
        main.nOwnHits = nOwnHits;
        main.nTotalHits = nTotal;
        main.wArticle = wRanked;
        if (!bGroupIsPart)
            main.pHits = std::move(pList);
        insertAt(std::move(main));
    }
    MakeReferences(m_ranking, pResults, WORDENGINE_MAX_RANKED);
    MakeReferences(m_overflow, pResults, static_cast<int>(m_overflow.size()));
    if (!m_ranking.empty()) {
        m_nArticlesSeen = nSeen;
        m_nTotalHits = nAllHits;
    }
}

void CWordEngine::FillReference(CKWReference* pReference, const RankedEntry& entry, const void* pTable)
{
    RomLinkRecord record;
    GetAppSearchEngine()->FindRomLink(static_cast<const RomLinkRecord*>(pTable),
                                      static_cast<LONG>(entry.dwTitleLink & 0xFFFFFF), record);
    pReference->SetFromRomLink(record);
    pReference->SetEntryCode(REFENTRY_RESULT);
    pReference->SetTitle(entry.strTitle);
    pReference->m_nFirstRecord = entry.nFirstRecord;
    pReference->m_nOwnHits = entry.nOwnHits;
    pReference->m_nTotalHits = entry.nTotalHits;
    pReference->m_dwTitleLink = entry.dwTitleLink;
    pReference->m_nParent = entry.nParent;
    pReference->m_nArticleNumber = entry.wArticle;
}

void CWordEngine::MakeReferences(std::vector<RankedEntry>& entries, CReferenceList* pResults, int nCount)
{
    CSearchEngine* pEngine = GetAppSearchEngine();
    HGLOBAL hTable = pEngine != NULL ? pEngine->GetRomLinkTable() : NULL;
    if (hTable == NULL || pResults == NULL)
        return;
    const void* pTable = ::GlobalLock(hTable);
    if (pTable == NULL)
        return;
    const size_t n = std::min(entries.size(), static_cast<size_t>(std::max(0, nCount)));
    for (size_t k = 0; k < n && entries[k].wArticle != 0xFFFF; ++k) {
        RankedEntry& entry = entries[k];
        LONG nParent = 0;
        if (!ReadTitleLink(entry.wArticle, entry.dwTitleLink, nParent, entry.strTitle))
            ShowMessage(WORDENGINE_MSG_READ);
        if (entry.nParent == 0)
            entry.nParent = nParent;
        CKWReference* pReference = new CKWReference;
        FillReference(pReference, entry, pTable);
        pReference->SetData(entry.pHits.release());
        pResults->Append(pReference);
    }
    ::GlobalUnlock(hTable);
}

CKWReference* CWordEngine::FindInArticle(LPCSTR lpszText, LONG nRin)
{
    if (!Open())
        return NULL;
    RESULT_SET* pSet = RunQuery(lpszText, FALSE);
    if (pSet == NULL || pSet->dwState == RESULT_MATCH_ALL)
        return NULL;
    CSearchEngine* pEngine = GetAppSearchEngine();
    HGLOBAL hTable = pEngine != NULL ? pEngine->GetRomLinkTable() : NULL;
    const void* pTable = hTable != NULL ? ::GlobalLock(hTable) : NULL;
    CKWReference* pFound = NULL;
    DWORD idx = 0;
    KEYWORD_OCCURRENCE rec = *GetPagedEntry(pSet, idx);
    while (rec.wRecord != 0 && pFound == NULL) {
        const WORD wArticle = rec.wRecord;
        RankedEntry entry;
        entry.nFirstRecord = static_cast<LONG>(idx);
        entry.wArticle = wArticle;
        entry.pHits = std::make_unique<CHitList>();
        const bool bMainText = SectionOf(rec) < WORDENGINE_PART_SECTION;
        AddHit(entry.pHits.get(), rec);
        entry.nOwnHits = IsHit(rec) ? 1 : 0;
        rec = *GetPagedEntry(pSet, ++idx);
        while (rec.wRecord == wArticle) {
            if (IsHit(rec)) {
                AddHit(entry.pHits.get(), rec);
                ++entry.nOwnHits;
            }
            rec = *GetPagedEntry(pSet, ++idx);
        }
        if (!bMainText || entry.nOwnHits == 0)
            continue;
        if (!ReadTitleLink(wArticle, entry.dwTitleLink, entry.nParent, entry.strTitle) ||
            static_cast<LONG>(entry.dwTitleLink & 0xFFFFFF) != nRin || pTable == NULL)
            continue;
        entry.nTotalHits = entry.nOwnHits;
        CKWReference found;
        FillReference(&found, entry, pTable);
        found.SetData(entry.pHits.release());
        pFound = found.CloneKeyword();
    }
    ReleasePagedEntry();
    if (pTable != NULL)
        ::GlobalUnlock(hTable);
    return pFound;
}
