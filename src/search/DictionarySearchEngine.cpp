#include "search/DictionarySearchEngine.h"
#include "search/KeywordTokenizer.h"

#include "base/DataFolders.h"
#include "base/ShowMessage.h"

#include <afxwin.h>

#include <string.h>

namespace {

const char kOpenFailed[] = "Error opening dictionary_ndx_file";

// An entry of the main index: the value, the length byte and the word that follows it.
DWORD EntryValue(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}
int EntryLength(const BYTE* p) { return p[4]; }
const char* EntryWord(const BYTE* p) { return reinterpret_cast<const char*>(p + 5); }

// The first n characters of the entry's word against the working word, the entry's word read as
// its L characters and a NUL: < 0 when the entry's sorts first.
int CompareLeading(const BYTE* pEntry, const char* pszWord, int n)
{
    const int nLength = EntryLength(pEntry);
    const char* pWord = EntryWord(pEntry);
    for (int k = 0; k < n; ++k) {
        const unsigned char a = k < nLength ? static_cast<unsigned char>(pWord[k]) : 0;
        const unsigned char b = static_cast<unsigned char>(pszWord[k]);
        if (a != b)
            return a < b ? -1 : 1;
        if (a == 0)
            return 0;
    }
    return 0;
}

BOOL EqualsWord(const BYTE* pEntry, const char* pszWord)
{
    const int n = static_cast<int>(strlen(pszWord));
    return EntryLength(pEntry) == n && memcmp(EntryWord(pEntry), pszWord, static_cast<size_t>(n)) == 0;
}

// How many leading characters the entry's word shares with the working word.
int SharedLength(const BYTE* pEntry, const char* pszWord)
{
    const int nLength = EntryLength(pEntry);
    const char* pWord = EntryWord(pEntry);
    int k = 0;
    while (k < nLength && pszWord[k] != '\0' && pWord[k] == pszWord[k])
        ++k;
    return k;
}

BOOL EndsWith(const char* pszWord, int nLength, const char* pszSuffix)
{
    const int n = static_cast<int>(strlen(pszSuffix));
    return nLength >= n && strcmp(pszWord + nLength - n, pszSuffix) == 0;
}

}  // namespace

CDictionarySearchEngine::CDictionarySearchEngine() = default;

CDictionarySearchEngine::~CDictionarySearchEngine()
{
    CloseMainIndex(FALSE);
    FreeMasterIndex();
}

void CDictionarySearchEngine::Close()
{
    CloseMainIndex(TRUE);
}

void CDictionarySearchEngine::CloseMainIndex(BOOL bReport)
{
    if (m_pMainIndex != NULL) {
        try {
            m_pMainIndex->Close();
        } catch (CException* e) {
            e->Delete();
            if (bReport)
                ShowMessage(">>> Error closing DICMAIN.ndx");
        }
        delete m_pMainIndex;
        m_pMainIndex = NULL;
    }
    delete[] m_pBlocks;
    m_pBlocks = NULL;
    m_pCurrent = NULL;
}

void CDictionarySearchEngine::FreeMasterIndex()
{
    delete[] m_pMasterIndex;
    m_pMasterIndex = NULL;
    m_nLastMasterEntry = -1;
    m_nMasterLength = 0;
}

BOOL CDictionarySearchEngine::Reopen()
{
    if (m_pMainIndex != NULL)
        return TRUE;
    if (m_strMainIndexPath.IsEmpty())
        return FALSE;
    CFile* pFile = new CFile;
    if (!pFile->Open(m_strMainIndexPath, CFile::modeRead | CFile::shareDenyWrite)) {
        delete pFile;
        ShowMessage(kOpenFailed);
        return FALSE;
    }
    m_pMainIndex = pFile;
    return TRUE;
}

void CDictionarySearchEngine::OpenIndexes()
{
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT13, 1, TRUE))
        AfxThrowUserException();
    if (strFolder.Right(1) != "\\")
        strFolder += "\\";
    m_strMainIndexPath = strFolder + "dicmain.ndx";
    if (m_pMainIndex == NULL) {
        CFile* pFile = new CFile;
        if (!pFile->Open(m_strMainIndexPath, CFile::modeRead | CFile::shareDenyWrite)) {
            delete pFile;
            AfxMessageBox(kOpenFailed, MB_OK | MB_ICONEXCLAMATION);
            AfxThrowUserException();
        }
        m_pMainIndex = pFile;
    }
    if (m_pMasterIndex != NULL)
        return;

    CFile master;
    if (!master.Open(strFolder + "dicmstr.ndx", CFile::modeRead | CFile::shareDenyWrite)) {
        AfxMessageBox(kOpenFailed, MB_OK | MB_ICONEXCLAMATION);
        AfxThrowUserException();
    }
    BOOL bGood = FALSE;
    try {
        const DWORD dwLength = master.GetLength();
        // An index of millions of blocks is no dictionary of ours: taken as damaged.
        if (dwLength >= 6 && dwLength <= 0x1000000) {
            m_nMasterLength = static_cast<int>(dwLength);
            m_nLastMasterEntry = m_nMasterLength / 6 - 1;
            const int nBytes = (m_nLastMasterEntry + 1) * 6;
            m_pMasterIndex = new BYTE[static_cast<size_t>(nBytes)];
            bGood = static_cast<int>(master.Read(m_pMasterIndex, static_cast<UINT>(nBytes))) == nBytes;
            // Every text must be rebuildable in its work area, and the first starts afresh.
            if (bGood && m_pMasterIndex[0] != 0)
                bGood = FALSE;
            for (int i = 0; bGood && i <= m_nLastMasterEntry; ++i)
                if (m_pMasterIndex[i * 6] > kMaxShared)
                    bGood = FALSE;
        }
    } catch (CException* e) {
        e->Delete();
        bGood = FALSE;
    }
    try {
        master.Close();
    } catch (CException* e) {
        e->Delete();
    }
    if (!bGood) {
        FreeMasterIndex();
        AfxMessageBox("Error reading master index file", MB_OK | MB_ICONEXCLAMATION);
        AfxThrowUserException();
    }
}

void CDictionarySearchEngine::KeepLettersAndDigits(char* pszWord)
{
    char* pOut = pszWord;
    for (const char* p = pszWord; *p != '\0'; ++p) {
        char ch = *p;
        if (ch >= 'a' && ch <= 'z')
            ch = static_cast<char>(ch - 'a' + 'A');
        // Accented letters are looked up as their base letter, as the index holds them.
        if (const char base = keyword_terms::FoldAccent(static_cast<unsigned char>(ch)))
            ch = base;
        if ((ch >= 'A' && ch <= 'Z') || (ch >= '0' && ch <= '9'))
            *pOut++ = ch;
    }
    *pOut = '\0';
}

int CDictionarySearchEngine::StripSuffix(char* pszWord)
{
    const int n = static_cast<int>(strlen(pszWord));
    if (EndsWith(pszWord, n, "IES")) {
        pszWord[n - 1] = '\0';
        return kSuffixIE;
    }
    if (EndsWith(pszWord, n, "ES")) {
        const char before = n >= 3 ? pszWord[n - 3] : '\0';
        const BOOL bSibilant = before == 'S' || before == 'X' || before == 'Z' ||
                               (n >= 4 && (strncmp(pszWord + n - 4, "CH", 2) == 0 || strncmp(pszWord + n - 4, "SH", 2) == 0));
        pszWord[n - (bSibilant ? 2 : 1)] = '\0';
        return kSuffixOther;
    }
    if (EndsWith(pszWord, n, "S")) {
        pszWord[n - 1] = '\0';
        return kSuffixPlainS;
    }
    static const char* const kOthers[] = {"ED", "ING", "ER", "EST"};
    for (const char* pszSuffix : kOthers) {
        if (EndsWith(pszWord, n, pszSuffix)) {
            pszWord[n - static_cast<int>(strlen(pszSuffix))] = '\0';
            return kSuffixOther;
        }
    }
    return kNoSuffix;
}

int CDictionarySearchEngine::CompareMasterEntry(const char* pszWord, int nEntry) const
{
    // The text of the entry, rebuilt from the nearest entry at or before it that starts afresh.
    char text[kMaxMasterText + 1] = {};
    int j = nEntry;
    while (j > 0 && m_pMasterIndex[j * 6] != 0)
        --j;
    for (; j <= nEntry; ++j) {
        const BYTE* p = m_pMasterIndex + j * 6;
        const int nShared = p[0] > kMaxShared ? static_cast<int>(kMaxShared) : static_cast<int>(p[0]);
        int k = 0;
        for (; k < 5 && p[1 + k] != 0; ++k)
            text[nShared + k] = static_cast<char>(p[1 + k]);
        for (; k < 5; ++k)
            text[nShared + k] = '\0';
    }
    const int nStored = m_pMasterIndex[nEntry * 6];
    const int nLimit = (nStored > kMaxShared ? static_cast<int>(kMaxShared) : nStored) + 5;
    int k = 0;
    while (pszWord[k] != '\0' && k < nLimit && pszWord[k] == text[k])
        ++k;
    if (pszWord[k] == '\0' && (text[k] == ' ' || text[k] == '\0' || text[k] == '-' || text[k] == ','))
        return 0;
    if (k >= nLimit)
        return 0;
    return static_cast<unsigned char>(pszWord[k]) > static_cast<unsigned char>(text[k]) ? 1 : -1;
}

void CDictionarySearchEngine::FindBlockRange(const char* pszWord)
{
    int nLow = 0, nHigh = m_nLastMasterEntry, nMid = 0;
    while (nLow <= nHigh) {
        nMid = (nLow + nHigh) / 2;
        const int c = CompareMasterEntry(pszWord, nMid);
        if (c < 0)
            nHigh = nMid - 1;
        else if (c > 0)
            nLow = nMid + 1;
        else
            break;
    }
    int nLast = nMid;
    while (nLast <= m_nLastMasterEntry && CompareMasterEntry(pszWord, nLast) >= 0)
        ++nLast;
    if (nLast <= m_nLastMasterEntry) {
        int nFirst = nLast;
        while (nFirst >= 0 && CompareMasterEntry(pszWord, nFirst) <= 0)
            --nFirst;
        m_nFirstBlock = nFirst + 1;
        m_nLastBlock = nLast;
    } else {
        m_nFirstBlock = m_nLastBlock = m_nLastMasterEntry;
    }
}

void CDictionarySearchEngine::ReadBlocks()
{
    m_nBlockCount = m_nLastBlock - m_nFirstBlock + 1;
    const long long llWanted = static_cast<long long>(m_nBlockCount) * kBlockSize;
    m_nBytesWanted = llWanted > kMaxRead ? kMaxRead : static_cast<int>(llWanted);
    delete[] m_pBlocks;
    m_pBlocks = new BYTE[static_cast<size_t>(m_nBytesWanted) + 1];
    m_nBytesRead = 0;
    // A master index longer than the main index names blocks past its end: the position in 64
    // bits, checked against the file's length; outside it nothing is read (as at the end of a
    // cut file), never a wrapped position.
    BOOL bPlaced = FALSE;
    try {
        const LONGLONG llStart = static_cast<LONGLONG>(m_nFirstBlock) * kBlockSize;
        if (m_nFirstBlock >= 0 && llStart < static_cast<LONGLONG>(m_pMainIndex->GetLength()) && llStart <= 0x7FFFFFFFLL) {
            m_pMainIndex->Seek(static_cast<LONG>(llStart), CFile::begin);
            bPlaced = TRUE;
        }
    } catch (CException* e) {
        e->Delete();
        ShowMessage(">>> Fseek on dictionary index file failed");
    }
    try {
        if (bPlaced)
            m_nBytesRead = static_cast<int>(m_pMainIndex->Read(m_pBlocks, static_cast<UINT>(m_nBytesWanted)));
    } catch (CException* e) {
        e->Delete();
        ShowMessage(">>> Error reading dictionary index file");
    }
    m_pCurrent = m_pBlocks;
    m_nOffsetInBlock = 0;
    m_nBlockIndex = 0;
}

BOOL CDictionarySearchEngine::EntryFitsAt(int nBufferOffset, int nOffsetInBlock) const
{
    if (nOffsetInBlock + 5 > kBlockSize || nBufferOffset + 5 > m_nBytesRead)
        return FALSE;
    const int nLength = m_pBlocks[nBufferOffset + 4];
    return nLength != 0 && nOffsetInBlock + nLength + 6 <= kBlockSize && nBufferOffset + nLength + 6 <= m_nBytesRead;
}

BOOL CDictionarySearchEngine::NextEntry()
{
    const int nStep = EntryLength(m_pCurrent) + 6;
    m_nOffsetInBlock += nStep;
    m_pCurrent += nStep;
    const int nAt = static_cast<int>(m_pCurrent - m_pBlocks);
    if (nAt >= m_nBytesRead)
        return FALSE;
    if (EntryFitsAt(nAt, m_nOffsetInBlock))
        return TRUE;
    // The block is done (a length of 0, too few bytes left, or an entry that overruns it).
    if (m_nBlockIndex + 1 >= m_nBlockCount)
        return FALSE;
    ++m_nBlockIndex;
    m_nOffsetInBlock = 0;
    const int nBlockStart = m_nBlockIndex * kBlockSize;
    if (!EntryFitsAt(nBlockStart, 0))
        return FALSE;
    m_pCurrent = m_pBlocks + nBlockStart;
    return TRUE;
}

DWORD CDictionarySearchEngine::LookUp(LPCSTR lpszWord)
{
    OpenIndexes();
    strncpy(m_szKey, lpszWord != NULL ? lpszWord : "", kMaxKey);
    m_szKey[kMaxKey] = '\0';
    char szWork[kMaxKey + 1];
    strcpy(szWork, m_szKey);
    KeepLettersAndDigits(szWork);

    const BYTE* pCurrent = NULL;
    const BYTE* pPrevious = NULL;
    int nKind = kNoSuffix;
    for (int nPass = 1;; ++nPass) {
        FindBlockRange(szWork);
        ReadBlocks();
        const int n = static_cast<int>(strlen(szWork));
        if (!EntryFitsAt(0, 0)) {
            // Nothing readable in the blocks of this pass.
            pCurrent = pPrevious = NULL;
        } else {
            pCurrent = pPrevious = m_pCurrent;
            while (CompareLeading(pCurrent, szWork, n) < 0) {
                pPrevious = pCurrent;
                if (!NextEntry()) {
                    pCurrent = pPrevious;
                    break;
                }
                pCurrent = m_pCurrent;
            }
        }
        if (pCurrent != NULL && EqualsWord(pCurrent, szWork))
            break;
        if (nPass == 1) {
            nKind = StripSuffix(szWork);
            if (nKind == kNoSuffix)
                break;
        } else if (nPass == 2) {
            const int nLength = static_cast<int>(strlen(szWork));
            if (nKind == kSuffixIE) {
                szWork[nLength - 2] = 'Y';
                szWork[nLength - 1] = '\0';
            } else if (nKind == kSuffixPlainS) {
                szWork[nLength] = 'S';
                szWork[nLength + 1] = '\0';
            } else {
                break;
            }
        } else {
            break;
        }
    }

    DWORD dwValue = 0;
    BOOL bExact = pCurrent != NULL && EqualsWord(pCurrent, szWork);
    if (bExact) {
        dwValue = EntryValue(pCurrent);
    } else if (pCurrent != NULL) {
        const BYTE* pNearest = SharedLength(pPrevious, szWork) > SharedLength(pCurrent, szWork) ? pPrevious : pCurrent;
        dwValue = EntryValue(pNearest);
    }
    delete[] m_pBlocks;
    m_pBlocks = NULL;
    m_pCurrent = NULL;
    if (m_nLookUpMode == 2 && !bExact)
        return 0;
    FreeMasterIndex();
    return dwValue;
}
