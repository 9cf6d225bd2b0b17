// The keyword engine's files, look-up and result sets. The evaluation of queries is in
// KeywordQuery.cpp; both share the state declared in KeywordState.h.
#include "search/KeywordIndex.h"

#include "search/KeywordState.h"
#include "search/QueryParser.h"
#include "base/ShowMessage.h"
#include "base/DataFolders.h"
#include "base/RomFile.h"

#include <afxwin.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace keyword_engine {

EngineState g_state;

const KEYWORD_OCCURRENCE g_endRecord = {0, 0, 0};

namespace {

// One master index: the file's bytes in one paging-store block.
struct MasterIndex {
    VMHANDLE hBlock = 0;
    DWORD dwSize = 0;
    int nLast = -1;
};

MasterIndex s_masters[2];
CRomFile* s_pLists[2] = {NULL, NULL};
CRomFile* s_pOccurrences = NULL;
DWORD s_dwOccurrenceRecords = 0;  // records before the end record
std::vector<CString> s_stopWords;

const char* const s_aszListNames[2] = {"KEYWORD.LST", "KEYWORD.REV"};

// The longest key a master index can rebuild: a shared prefix of a word and five characters.
const int kKeyBuffer = KEYWORD_MAX_WORD + 8;

PageCursor* s_pCursorChain = NULL;  // every live cursor, so that freeing a set releases them

PageCursor s_cursor1;
PageCursor s_cursor2;

void CloseFile(CRomFile*& pFile)
{
    if (pFile == NULL)
        return;
    try {
        pFile->Close();
    } catch (CException* e) {
        e->Delete();
    }
    delete pFile;
    pFile = NULL;
}

CRomFile* OpenIndexFile(const CString& strPath)
{
    CRomFile* pFile = new CRomFile;
    if (!pFile->Open(strPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary)) {
        delete pFile;
        return NULL;
    }
    return pFile;
}

// Reads a master index whole into a paging-store block and checks every entry: the first key
// starts afresh, and no entry shares more characters than the previous key holds.
BOOL LoadMasterIndex(MasterIndex& master, const CString& strPath, LPCSTR pszOpenError, LPCSTR pszMemoryError)
{
    CRomFile* pFile = OpenIndexFile(strPath);
    if (pFile == NULL) {
        ShowMessage(pszOpenError);
        return FALSE;
    }
    BOOL bOk = FALSE;
    try {
        const DWORD dwLength = static_cast<DWORD>(pFile->GetLength());
        if (dwLength < 6 || dwLength % 6 != 0 || dwLength > VM_MAX_BLOCK_SIZE) {
            ShowMessage(dwLength > VM_MAX_BLOCK_SIZE ? pszMemoryError : KEYWORD_MSG_READ_MASTER);
        } else if ((master.hBlock = VmAlloc(dwLength, FALSE)) == 0) {
            ShowMessage(pszMemoryError);
        } else {
            BYTE* pBytes = static_cast<BYTE*>(VmLock(master.hBlock, TRUE, TRUE));
            if (pBytes == NULL) {
                ShowMessage(pszMemoryError);
            } else {
                bOk = pFile->Read(pBytes, dwLength) == dwLength;
                int nKeyLength = 0;
                for (DWORD i = 0; bOk && i < dwLength; i += 6) {
                    const int nShared = pBytes[i];
                    if (nShared > nKeyLength || nShared > KEYWORD_MAX_WORD)
                        bOk = FALSE;
                    nKeyLength = nShared + 5;
                }
                VmLock(master.hBlock, FALSE, FALSE);
                if (!bOk)
                    ShowMessage(KEYWORD_MSG_READ_MASTER);
            }
            master.dwSize = dwLength;
            master.nLast = static_cast<int>(dwLength / 6) - 1;
        }
    } catch (CFileException* e) {
        e->Delete();
        ShowMessage(KEYWORD_MSG_READ_MASTER);
        bOk = FALSE;
    }
    CloseFile(pFile);
    if (!bOk && master.hBlock != 0) {
        VmFree(master.hBlock);
        master = MasterIndex();
    }
    return bOk;
}

// Key i of a locked master index, rebuilt from the nearest entry that starts afresh; its compare
// length.
int RebuildKey(const BYTE* pEntries, int i, char* pszKey)
{
    int nStart = i;
    while (nStart > 0 && pEntries[nStart * 6] != 0)
        --nStart;
    std::memset(pszKey, 0, kKeyBuffer);
    for (int j = nStart; j <= i; ++j)
        std::memcpy(pszKey + pEntries[j * 6], pEntries + j * 6 + 1, 5);
    const int nLength = pEntries[i * 6] + 5;
    pszKey[nLength] = '\0';
    return nLength;
}

// The word against key i: strncmp over the key's length, or over the prefix when it is shorter.
int CompareIndexKey(const BYTE* pEntries, int i, LPCSTR pszWord, int nPrefix)
{
    char szKey[kKeyBuffer];
    int nLength = RebuildKey(pEntries, i, szKey);
    if (nPrefix >= 0 && nPrefix < nLength)
        nLength = nPrefix;
    return std::strncmp(pszWord, szKey, static_cast<size_t>(nLength));
}

// The list pages lo..hi that can hold the word (or the words of the prefix).
BOOL FindPageRangeIn(int nWhich, LPCSTR pszWord, int nPrefix, int& nLo, int& nHi)
{
    MasterIndex& master = s_masters[nWhich];
    const BYTE* pEntries = static_cast<const BYTE*>(VmLock(master.hBlock, FALSE, TRUE));
    if (pEntries == NULL) {
        AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
        return FALSE;
    }
    const int nLast = master.nLast;
    int lo = 0, hi = nLast, nStop = 0;
    while (lo <= hi) {
        nStop = (lo + hi) / 2;
        const int c = CompareIndexKey(pEntries, nStop, pszWord, nPrefix);
        if (c == 0)
            break;
        if (c < 0)
            hi = nStop - 1;
        else
            lo = nStop + 1;
    }
    hi = nStop;
    while (hi <= nLast && CompareIndexKey(pEntries, hi, pszWord, nPrefix) >= 0)
        ++hi;
    // Keys hold only their first characters, so a run of keys equal to the word can reach the
    // last page: the word may then lie on any page of the run, not only on the last one.
    if (hi > nLast)
        hi = nLast;
    lo = hi;
    while (lo >= 0 && CompareIndexKey(pEntries, lo, pszWord, nPrefix) <= 0)
        --lo;
    lo = std::min(lo + 1, hi);
    VmLock(master.hBlock, FALSE, FALSE);
    nLo = lo;
    nHi = hi;
    return TRUE;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Page cursors

PageCursor::PageCursor()
{
    m_pNextCursor = s_pCursorChain;
    s_pCursorChain = this;
}

PageCursor::~PageCursor()
{
    Release();
    for (PageCursor** pp = &s_pCursorChain; *pp != NULL; pp = &(*pp)->m_pNextCursor) {
        if (*pp == this) {
            *pp = m_pNextCursor;
            break;
        }
    }
}

void PageCursor::Release()
{
    if (m_hPage != 0)
        VmLock(m_hPage, FALSE, FALSE);
    m_pSet = NULL;
    m_nPage = -1;
    m_hPage = 0;
    m_pRecords = NULL;
}

const KEYWORD_OCCURRENCE* PageCursor::At(RESULT_SET* pSet, DWORD dwIndex)
{
    if (pSet == NULL || dwIndex >= pSet->dwCount) {
        Release();
        return &g_endRecord;
    }
    const int nPage = static_cast<int>(dwIndex / KEYWORD_PAGE_RECORDS);
    if (pSet != m_pSet || nPage != m_nPage) {
        Release();
        const VMHANDLE hPage = pSet->ahPages[nPage];
        void* pRecords = hPage != 0 ? VmLock(hPage, FALSE, TRUE) : NULL;
        if (pRecords == NULL) {
            AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
            return &g_endRecord;
        }
        m_pSet = pSet;
        m_nPage = nPage;
        m_hPage = hPage;
        m_pRecords = static_cast<KEYWORD_OCCURRENCE*>(pRecords);
    }
    return m_pRecords + dwIndex % KEYWORD_PAGE_RECORDS;
}

void ReleaseCursorsOf(RESULT_SET* pSet)
{
    for (PageCursor* p = s_pCursorChain; p != NULL; p = p->m_pNextCursor)
        if (p->m_pSet == pSet)
            p->Release();
}

PageCursor& FirstCursor() { return s_cursor1; }
PageCursor& SecondCursor() { return s_cursor2; }

// ---------------------------------------------------------------------------------------------
// Result sets

ResultWriter::ResultWriter(RESULT_SET* pSet) : m_pSet(pSet) {}

ResultWriter::~ResultWriter()
{
    if (m_pPage != NULL)
        VmLock(m_pSet->ahPages[m_nPage], FALSE, FALSE);
    if (!m_bFinished)
        FreeResultSet(m_pSet);  // a search that unwound: the set was never complete
}

void ResultWriter::Append(const KEYWORD_OCCURRENCE& record)
{
    RESULT_SET* pSet = m_pSet;
    if (pSet->dwCount >= KEYWORD_MAX_RECORDS)
        return;
    const int nPage = static_cast<int>(pSet->dwCount / KEYWORD_PAGE_RECORDS);
    if (nPage != m_nPage) {
        if (m_pPage != NULL)
            VmLock(pSet->ahPages[m_nPage], FALSE, FALSE);
        m_pPage = NULL;
        m_nPage = nPage;
        pSet->ahPages[nPage] = VmAlloc(KEYWORD_PAGE_RECORDS * sizeof(KEYWORD_OCCURRENCE), FALSE);
        if (pSet->ahPages[nPage] != 0)
            m_pPage = static_cast<KEYWORD_OCCURRENCE*>(VmLock(pSet->ahPages[nPage], TRUE, TRUE));
        if (m_pPage == NULL) {
            AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
            return;
        }
    }
    m_pPage[pSet->dwCount % KEYWORD_PAGE_RECORDS] = record;
    m_last = record;
    ++pSet->dwCount;
}

BOOL ResultWriter::IsLast(const KEYWORD_OCCURRENCE& record) const
{
    return m_pSet->dwCount > 0 && m_last.wRecord == record.wRecord && m_last.dwHitPosition == record.dwHitPosition;
}

RESULT_SET* ResultWriter::Finish()
{
    RESULT_SET* pSet = m_pSet;
    const DWORD dwInLast = pSet->dwCount % KEYWORD_PAGE_RECORDS;
    if (m_pPage != NULL) {
        if (dwInLast != 0)
            m_pPage[dwInLast] = g_endRecord;
        VmLock(pSet->ahPages[m_nPage], FALSE, FALSE);
        m_pPage = NULL;
        if (dwInLast != 0) {
            const VMHANDLE hShrunk = VmRealloc(pSet->ahPages[m_nPage], (dwInLast + 1) * sizeof(KEYWORD_OCCURRENCE));
            if (hShrunk == 0) {
                AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
                return NULL;
            }
            pSet->ahPages[m_nPage] = hShrunk;
        }
    }
    if (pSet->dwCount == 0)
        pSet->dwState = RESULT_EMPTY;
    m_bFinished = TRUE;
    return pSet;
}

namespace {

CString SetName(RESULT_SET* pSet)
{
    CString strName;
    if (pSet->hName != 0) {
        LPCSTR psz = static_cast<LPCSTR>(VmLock(pSet->hName, FALSE, TRUE));
        if (psz != NULL) {
            strName = psz;
            VmLock(pSet->hName, FALSE, FALSE);
        }
    }
    return strName;
}

void FreeSetContents(RESULT_SET* pSet)
{
    ReleaseCursorsOf(pSet);
    if (pSet->hName != 0)
        VmFree(pSet->hName);
    if (pSet->hExpansion != 0)
        VmFree(pSet->hExpansion);
    for (VMHANDLE hPage : pSet->ahPages)
        if (hPage != 0)
            VmFree(hPage);
    const int nPins = pSet->nPins;
    std::memset(pSet, 0, sizeof(*pSet));
    pSet->nPins = nPins;
}

}  // namespace

void FreeResultSet(RESULT_SET* pSet)
{
    if (pSet == NULL || pSet == &g_state.matchAll)
        return;
    FreeSetContents(pSet);
    pSet->dwState = RESULT_FREE;
}

RESULT_SET* NewResultSet(LPCSTR pszName)
{
    RESULT_SET* pSlot = NULL;
    for (RESULT_SET& slot : g_state.slots) {
        if (slot.dwState == RESULT_FREE && slot.nPins == 0) {
            pSlot = &slot;
            break;
        }
    }
    if (pSlot == NULL) {
        for (RESULT_SET& slot : g_state.slots)
            if (slot.nPins == 0 && (pSlot == NULL || slot.dwStamp < pSlot->dwStamp))
                pSlot = &slot;
    }
    if (pSlot == NULL) {
        AbortSearch(QUERY_MSG_TOO_COMPLEX);
        return NULL;
    }
    FreeSetContents(pSlot);
    pSlot->dwState = RESULT_COMPUTED;
    pSlot->dwStamp = ++g_state.dwStamp;
    const size_t nLength = std::strlen(pszName) + 1;
    pSlot->hName = nLength <= VM_MAX_BLOCK_SIZE ? VmAlloc(static_cast<UINT>(nLength), FALSE) : 0;
    LPSTR pszCopy = pSlot->hName != 0 ? static_cast<LPSTR>(VmLock(pSlot->hName, TRUE, TRUE)) : NULL;
    if (pszCopy == NULL) {
        FreeResultSet(pSlot);
        AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
        return NULL;
    }
    std::memcpy(pszCopy, pszName, nLength);
    VmLock(pSlot->hName, FALSE, FALSE);
    return pSlot;
}

RESULT_SET* FindResultSet(LPCSTR pszName)
{
    for (RESULT_SET& slot : g_state.slots) {
        if (slot.dwState == RESULT_FREE || slot.hName == 0)
            continue;
        if (SetName(&slot) == pszName) {
            slot.dwStamp = ++g_state.dwStamp;
            // An expansion whose words the reader chose is merged at its first use.
            if (slot.dwState == RESULT_EXPANSION && !MergeExpansion(&slot))
                return NULL;
            return &slot;
        }
    }
    return NULL;
}

// Reads the word's records into pages of 2,048, at most KEYWORD_MAX_RECORDS of them, each page not
// full ending with the end record. Every record is checked: numbered from 1 and in order.
BOOL LoadOccurrences(RESULT_SET* pSet)
{
    const DWORD dwCount = std::min<DWORD>(pSet->dwCount, KEYWORD_MAX_RECORDS);
    if (pSet->dwFirst > s_dwOccurrenceRecords || dwCount > s_dwOccurrenceRecords - pSet->dwFirst || dwCount == 0) {
        FreeResultSet(pSet);
        AbortSearch(KEYWORD_MSG_READ_OCCURRENCES);
        return FALSE;
    }
    pSet->dwCount = dwCount;
    try {
        // The product in 64 bits: a position past what a file position holds is a damaged list.
        const ULONGLONG llStart = static_cast<ULONGLONG>(pSet->dwFirst) * sizeof(KEYWORD_OCCURRENCE);
        if (llStart > 0x7FFFFFFFull)
            AfxThrowFileException(CFileException::badSeek);
        s_pOccurrences->Seek(static_cast<LONG>(llStart), CFile::begin);
    } catch (CFileException* e) {
        e->Delete();
        FreeResultSet(pSet);
        AbortSearch(">>> Lseek on occurrence list file failed");
        return FALSE;
    }
    KEYWORD_OCCURRENCE previous = g_endRecord;
    for (DWORD p = 0; p * KEYWORD_PAGE_RECORDS < dwCount; ++p) {
        const DWORD dwRecords = std::min<DWORD>(dwCount - p * KEYWORD_PAGE_RECORDS, KEYWORD_PAGE_RECORDS);
        const DWORD dwRoom = dwRecords < KEYWORD_PAGE_RECORDS ? dwRecords + 1 : dwRecords;
        pSet->ahPages[p] = VmAlloc(dwRoom * sizeof(KEYWORD_OCCURRENCE), FALSE);
        KEYWORD_OCCURRENCE* pRecords =
            pSet->ahPages[p] != 0 ? static_cast<KEYWORD_OCCURRENCE*>(VmLock(pSet->ahPages[p], TRUE, TRUE)) : NULL;
        if (pRecords == NULL) {
            FreeResultSet(pSet);
            AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
            return FALSE;
        }
        BOOL bOk = TRUE;
        try {
            const UINT nBytes = dwRecords * sizeof(KEYWORD_OCCURRENCE);
            bOk = s_pOccurrences->Read(pRecords, nBytes) == nBytes;
        } catch (CFileException* e) {
            e->Delete();
            bOk = FALSE;
        }
        for (DWORD i = 0; bOk && i < dwRecords; ++i) {
            const KEYWORD_OCCURRENCE& r = pRecords[i];
            if (r.wRecord == 0 || r.wRecord < previous.wRecord ||
                (r.wRecord == previous.wRecord && r.dwWordPosition < previous.dwWordPosition))
                bOk = FALSE;
            previous = r;
        }
        if (dwRecords < KEYWORD_PAGE_RECORDS)
            pRecords[dwRecords] = g_endRecord;
        VmLock(pSet->ahPages[p], FALSE, FALSE);
        if (!bOk) {
            FreeResultSet(pSet);
            AbortSearch(KEYWORD_MSG_READ_OCCURRENCES);
            return FALSE;
        }
    }
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// Keyword lists

namespace {

// The entry at `nOffset` of a list page: 1 with it, 0 at the end of the page's entries, -1 when
// the entry does not fit its page or its word is not what its length says.
int ListEntryAt(const BYTE* pPage, int nOffset, KEYWORD_ENTRY& entry)
{
    if (nOffset > KEYWORD_LIST_PAGE - 8)
        return 0;
    const int nLength = pPage[nOffset + 6];
    if (nLength == 0)
        return 0;
    if (nLength > KEYWORD_MAX_WORD || nOffset + 8 + nLength > KEYWORD_LIST_PAGE || pPage[nOffset + 7 + nLength] != 0 ||
        std::memchr(pPage + nOffset + 7, 0, static_cast<size_t>(nLength)) != NULL)
        return -1;
    std::memset(&entry, 0, sizeof(entry));
    std::memcpy(&entry, pPage + nOffset, 7 + static_cast<size_t>(nLength));
    return 1;
}

}  // namespace

VMHANDLE LoadListPages(int nWhich, int nLo, int& nHi)
{
    if (nHi - nLo + 1 > KEYWORD_MAX_LIST_PAGES)
        nHi = nLo + KEYWORD_MAX_LIST_PAGES - 1;
    const int nPages = nHi - nLo + 1;
    const VMHANDLE hPages = VmAlloc(static_cast<UINT>(nPages * KEYWORD_LIST_PAGE), TRUE);
    BYTE* pPages = hPages != 0 ? static_cast<BYTE*>(VmLock(hPages, TRUE, TRUE)) : NULL;
    if (pPages == NULL) {
        if (hPages != 0)
            VmFree(hPages);
        CString strMessage;
        strMessage.Format(">>> kw_buffer cannot be allocated.  # of pages needed = %d", nPages);
        AbortSearch(strMessage);
        return 0;
    }
    BOOL bOk = FALSE;
    try {
        const UINT nBytes = static_cast<UINT>(nPages * KEYWORD_LIST_PAGE);
        // A master index longer than its list names pages past the list's end: the product in 64
        // bits, checked against the list's length, never a wrapped position.
        const LONGLONG llStart = static_cast<LONGLONG>(nLo) * KEYWORD_LIST_PAGE;
        if (nLo >= 0 && llStart + nBytes <= static_cast<LONGLONG>(s_pLists[nWhich]->GetLength()) && llStart <= 0x7FFFFFFFLL) {
            s_pLists[nWhich]->Seek(static_cast<LONG>(llStart), CFile::begin);
            bOk = s_pLists[nWhich]->Read(pPages, nBytes) == nBytes;
        }
    } catch (CFileException* e) {
        e->Delete();
    }
    VmLock(hPages, FALSE, FALSE);
    if (!bOk) {
        VmFree(hPages);
        CString strMessage;
        strMessage.Format("Error on Seek/Read from %s", s_aszListNames[nWhich]);
        AfxMessageBox(strMessage);
        AbortSearch(NULL);
        return 0;
    }
    return hPages;
}

int ScanListPages(int nWhich, int nLo, int nHi, const std::function<bool(const KEYWORD_ENTRY&)>& visit)
{
    int nHiRead = nHi;
    const VMHANDLE hPages = LoadListPages(nWhich, nLo, nHiRead);
    if (hPages == 0)
        return -1;
    const BYTE* pPages = static_cast<const BYTE*>(VmLock(hPages, FALSE, TRUE));
    if (pPages == NULL) {
        VmFree(hPages);
        AbortSearch(KEYWORD_MSG_OUT_OF_MEMORY);
        return -1;
    }
    int nResult = 0;
    for (int p = 0; p <= nHiRead - nLo && nResult == 0; ++p) {
        const BYTE* pPage = pPages + p * KEYWORD_LIST_PAGE;
        KEYWORD_ENTRY entry;
        for (int nOffset = 0;;) {
            const int nEntry = ListEntryAt(pPage, nOffset, entry);
            if (nEntry < 0) {
                nResult = -1;
                break;
            }
            if (nEntry == 0)
                break;
            if (visit(entry)) {
                nResult = 1;
                break;
            }
            nOffset += 8 + entry.bLength;
        }
    }
    VmLock(hPages, FALSE, FALSE);
    VmFree(hPages);
    if (nResult < 0)
        AbortSearch(KEYWORD_MSG_READ_LIST);
    return nResult;
}

BOOL FindPageRange(LPCSTR pszWord, int& nLo, int& nHi)
{
    return FindPageRangeIn(0, pszWord, -1, nLo, nHi);
}

BOOL FindPrefixRange(LPCSTR pszPattern, int nPrefix, BOOL bReverse, int& nLo, int& nHi)
{
    return FindPageRangeIn(bReverse ? 1 : 0, pszPattern, nPrefix, nLo, nHi);
}

// Looks a normalised word up; 1 with its entry.
int FindNormalKeyword(const CString& strWord, KEYWORD_ENTRY* pEntry)
{
    if (!g_state.bOpen || strWord.IsEmpty() || strWord.GetLength() > KEYWORD_MAX_WORD)
        return 0;
    int nLo = 0, nHi = 0;
    if (!FindPageRange(strWord, nLo, nHi))
        return 0;
    KEYWORD_ENTRY found;
    const int nFound = ScanListPages(0, nLo, nHi, [&](const KEYWORD_ENTRY& entry) {
        if (entry.bLength != strWord.GetLength() || std::strcmp(entry.szWord, strWord) != 0)
            return false;
        found = entry;
        return true;
    });
    if (nFound != 1)
        return 0;
    if (pEntry != NULL)
        *pEntry = found;
    return 1;
}

}  // namespace keyword_engine

using namespace keyword_engine;

// ---------------------------------------------------------------------------------------------
// Opening and closing

int LoadStopWords()
{
    s_stopWords.clear();
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT, 1, TRUE))
        return 0;
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    CFile file;
    if (!file.Open(strFolder + "dropword.lst", CFile::modeRead | CFile::typeBinary)) {
        ShowMessage(">>> Error opening stop word file.");
        return 0;
    }
    std::string text;
    try {
        const DWORD dwLength = static_cast<DWORD>(file.GetLength());
        text.assign(dwLength, '\0');
        if (dwLength > 0 && file.Read(&text[0], dwLength) != dwLength) {
            ShowMessage("Error reading dropword file");
            return 0;
        }
    } catch (CMemoryException* e) {
        e->Delete();
        ShowMessage("Insufficient memory for dropword buffer");
        return 0;
    } catch (CFileException* e) {
        e->Delete();
        ShowMessage("Error reading dropword file");
        return 0;
    }
    // Every run of printable characters is one word.
    for (size_t i = 0; i < text.size();) {
        const unsigned char ch = static_cast<unsigned char>(text[i]);
        if (ch <= ' ' || ch >= 0x7F) {
            ++i;
            continue;
        }
        size_t nEnd = i;
        while (nEnd < text.size() && static_cast<unsigned char>(text[nEnd]) > ' ' && static_cast<unsigned char>(text[nEnd]) < 0x7F)
            ++nEnd;
        if (s_stopWords.size() == KEYWORD_MAX_STOP_WORDS) {
            ShowMessage("Too many dropwords!");
            s_stopWords.clear();
            return 0;
        }
        s_stopWords.emplace_back(text.substr(i, nEnd - i).c_str());
        i = nEnd;
    }
    // The look-up is a binary search: an unsorted file must not hide a word.
    std::sort(s_stopWords.begin(), s_stopWords.end(),
              [](const CString& a, const CString& b) { return std::strcmp(a, b) < 0; });
    return 1;
}

int IsStopWord(LPCSTR pszWord)
{
    auto it = std::lower_bound(s_stopWords.begin(), s_stopWords.end(), pszWord,
                               [](const CString& a, LPCSTR b) { return std::strcmp(a, b) < 0; });
    return it != s_stopWords.end() && std::strcmp(*it, pszWord) == 0 ? 1 : 0;
}

void KeywordFreeResults()
{
    ReleasePagedEntry();
    ReleasePagedEntry2();
    for (RESULT_SET& slot : g_state.slots) {
        FreeResultSet(&slot);
        slot.nPins = 0;
    }
}

void KeywordShutdown()
{
    KeywordFreeResults();
    s_stopWords.clear();
    for (MasterIndex& master : s_masters) {
        if (master.hBlock != 0)
            VmFree(master.hBlock);
        master = MasterIndex();
    }
    CloseFile(s_pLists[0]);
    CloseFile(s_pLists[1]);
    CloseFile(s_pOccurrences);
    s_dwOccurrenceRecords = 0;
    g_state.bOpen = FALSE;
}

int KeywordInit()
{
    if (g_state.bOpen)
        KeywordShutdown();
    const int nVm = VmInit();
    if (nVm == VM_INIT_NO_FILE)
        ShowMessage(">>> Cannot create Full Text Search swap file");
    else if (nVm != VM_INIT_OK)
        ShowMessage(">>> Error initializing Full Text Search memory system");
    VmInitPool(TRUE);
    for (RESULT_SET& slot : g_state.slots)
        std::memset(&slot, 0, sizeof(slot));
    std::memset(&g_state.matchAll, 0, sizeof(g_state.matchAll));
    g_state.matchAll.dwState = RESULT_MATCH_ALL;

    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
        AfxThrowUserException();
    if (strFolder.IsEmpty() || strFolder[strFolder.GetLength() - 1] != '\\')
        strFolder += '\\';
    if (!LoadMasterIndex(s_masters[0], strFolder + "KWMST.NDX", ">>> Error opening keyword master index file",
                         ">>> Insufficient memory for keyword master index") ||
        !LoadMasterIndex(s_masters[1], strFolder + "REVKWMST.NDX", ">>> Error opening reverse keyword master index file",
                         ">>> Insufficient memory for reverse keyword master index") ||
        !LoadStopWords()) {
        KeywordShutdown();
        return 0;
    }

    CString strLists;
    if (!GetDataDir(strLists, DDT_INFO_DAT2, 1, TRUE)) {
        KeywordShutdown();
        AfxThrowUserException();
    }
    if (strLists.IsEmpty() || strLists[strLists.GetLength() - 1] != '\\')
        strLists += '\\';
    int nResult = 1;
    const char* const apszOpenErrors[2] = {">>> Error opening keyword list file", ">>> Error opening reverse keyword list file"};
    for (int i = 0; i < 2; ++i) {
        s_pLists[i] = OpenIndexFile(strLists + s_aszListNames[i]);
        if (s_pLists[i] == NULL) {
            ShowMessage(apszOpenErrors[i]);
            nResult = 0;
        }
    }
    s_pOccurrences = OpenIndexFile(strLists + "OCCURENC.LST");
    if (s_pOccurrences == NULL) {
        ShowMessage(">>> Error opening keyword occurrence file");
        nResult = 0;
    }
    if (nResult) {
        // The lists must hold every page their master index names, and the occurrence file whole
        // records ending with the end record.
        try {
            for (int i = 0; i < 2 && nResult; ++i) {
                if (s_pLists[i]->GetLength() < static_cast<ULONGLONG>(s_masters[i].nLast + 1) * KEYWORD_LIST_PAGE) {
                    ShowMessage(KEYWORD_MSG_READ_LIST);
                    nResult = 0;
                }
            }
            const ULONGLONG nBytes = s_pOccurrences->GetLength();
            if (nResult && (nBytes < sizeof(KEYWORD_OCCURRENCE) || nBytes % sizeof(KEYWORD_OCCURRENCE) != 0 ||
                            nBytes / sizeof(KEYWORD_OCCURRENCE) > 0xFFFFFFFFu)) {
                ShowMessage(KEYWORD_MSG_READ_OCCURRENCES);
                nResult = 0;
            }
            s_dwOccurrenceRecords = static_cast<DWORD>(nBytes / sizeof(KEYWORD_OCCURRENCE)) - 1;
        } catch (CFileException* e) {
            e->Delete();
            ShowMessage(KEYWORD_MSG_READ_OCCURRENCES);
            nResult = 0;
        }
    }
    if (!nResult) {
        KeywordShutdown();
        return 0;
    }
    g_state.bOpen = TRUE;
    return 1;
}

BOOL KeywordIsOpen()
{
    return g_state.bOpen;
}

int FindKeyword(LPCSTR pszWord, KEYWORD_ENTRY* pEntry)
{
    const std::string word = keyword_terms::NormalizeTerm(pszWord, std::strlen(pszWord));
    return FindNormalKeyword(word.c_str(), pEntry);
}

// ---------------------------------------------------------------------------------------------
// Page accessors

const KEYWORD_OCCURRENCE* GetPagedEntry(RESULT_SET* pSet, DWORD dwIndex)
{
    return s_cursor1.At(pSet, dwIndex);
}

const KEYWORD_OCCURRENCE* GetPagedEntry2(RESULT_SET* pSet, DWORD dwIndex)
{
    return s_cursor2.At(pSet, dwIndex);
}

void ReleasePagedEntry()
{
    s_cursor1.Release();
}

void ReleasePagedEntry2()
{
    s_cursor2.Release();
}

RESULT_SET* GetMatchAllResult()
{
    return &g_state.matchAll;
}

CString GetResultSetName(RESULT_SET* pSet)
{
    return pSet != NULL ? SetName(pSet) : CString();
}
