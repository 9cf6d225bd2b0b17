#include "article/ArticleRecord.h"

#include "article/ArticleArchive.h"
#include "article/ArticleSection.h"
#include "article/ParagraphRun.h"
#include "base/DataFolders.h"

#include <afx.h>
#include <arclib.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace {

ARTICLE_EXIT_HANDLER g_pfnExitHandler = NULL;

const char kArchiveName[] = "vl.dat";

// Bytes cleared behind a record in its buffer (a string or list cut off by damage ends there).
const DWORD kClearedBehind = 4096;

// Ends the load with "Article data damaged: " and the description.
[[noreturn]] void Damaged(LPCSTR lpszWhat)
{
    CString strText;
    strText.Format("Article data damaged: %s", lpszWhat);
    FatalArticleError(strText);
}

// Frees the record buffer and the descriptor when the read does not complete (a fatal error
// whose handler throws, the user exception of a missing disc); the program's normal fatal path
// ends the process before any of this matters.
class CRecordBlocks {
public:
    CRecordBlocks() = default;
    ~CRecordBlocks()
    {
        if (m_hBuffer != NULL)
            GlobalFree(m_hBuffer);
        if (m_hDescriptor != NULL)
            GlobalFree(m_hDescriptor);
    }
    CRecordBlocks(const CRecordBlocks&) = delete;
    CRecordBlocks& operator=(const CRecordBlocks&) = delete;

    HGLOBAL Release()
    {
        HGLOBAL h = m_hDescriptor;
        m_hDescriptor = NULL;
        m_hBuffer = NULL;
        return h;
    }

    HGLOBAL m_hDescriptor = NULL;
    HGLOBAL m_hBuffer = NULL;
};

LPCSTR ArchiveStatusText(int nStatus)
{
    switch (nStatus) {
    case AL_END_OF_FILE:
        return "the compressed stream is cut short";
    case AL_COMPRESSION_ERROR:
        return "the compressed stream is not valid";
    case AL_BUFFER_OVERFLOW:
        return "the record is larger than its buffer";
    case AL_READ_ERROR:
        return "the archive cannot be read";
    case AL_SEEK_ERROR:
        return "the record lies outside the archive";
    default:
        return "the record cannot be decompressed";
    }
}

// Inflates the record from disc 1's archive into the buffer; the bytes written. The archive stays
// open for the next read; a read that fails on it (the file closed under it by a disc change
// whose reopen failed) looks the archive up once more before it counts as damage.
DWORD ReadFromArchive(LPCSTR lpszPath, DWORD nBlock, DWORD nBlockCount, LPBYTE pBuffer)
{
    CArticleArchive& archive = CArticleArchive::Shared();
    const long lBlockSize = ARTICLE_BLOCK_SIZE;
    int nStatus = AL_READ_ERROR;
    DWORD dwWritten = 0;
    for (int nTry = 0; nTry < 2 && nStatus == AL_READ_ERROR; ++nTry) {
        if (nTry > 0)
            archive.Reset();
        if (!archive.Prepare())
            AfxThrowUserException();
        if (!archive.IsOpen()) {
            archive.Reset();
            CString strText;
            strText.Format("Unable to access article file: %s", lpszPath);
            FatalArticleError(strText);
        }
        ALWinMemory memory("RCVBuf", pBuffer, ARTICLE_RECORD_BUFFER_SIZE, AL_LOWER);
        ALPkDecompressor decompressor;
        nStatus = archive.Seek(static_cast<long>(nBlock) * lBlockSize);
        if (nStatus == AL_SUCCESS)
            nStatus = decompressor.Decompress(archive, memory, static_cast<long>(nBlockCount) * lBlockSize);
        dwWritten = static_cast<DWORD>(memory.GetSize());
    }

    if (nStatus != AL_SUCCESS) {
        CString strWhat;
        strWhat.Format("%s (%s, block %lu)", ArchiveStatusText(nStatus), lpszPath, static_cast<unsigned long>(nBlock));
        Damaged(strWhat);
    }
    return dwWritten;
}

// Reads at most nBlockCount blocks of a single-article file into the buffer; the bytes read.
DWORD ReadFromSingleFile(LPCSTR lpszPath, DWORD nBlockCount, LPBYTE pBuffer)
{
    CFile file;
    if (!file.Open(lpszPath, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary)) {
        CString strText;
        strText.Format("Unable to access single article RCV file: %s", lpszPath);
        FatalArticleError(strText);
    }
    // The product in 64 bits: a count of 2^23 blocks or more must not wrap to a short read.
    const ULONGLONG nAsked = static_cast<ULONGLONG>(nBlockCount) * ARTICLE_BLOCK_SIZE;
    const UINT nWanted = static_cast<UINT>(std::min<ULONGLONG>(nAsked, ARTICLE_RECORD_BUFFER_SIZE));
    UINT nRead = 0;
    BOOL bFailed = FALSE;
    TRY
    {
        nRead = file.Read(pBuffer, nWanted);
    }
    CATCH(CFileException, e)
    {
        bFailed = TRUE;
    }
    END_CATCH
    file.Abort();
    if (bFailed)
        FatalArticleError("Unable to READ single article RCV file");
    return nRead;
}

// Walks the string pool: each Take gives the string after the one taken last.
class CStringCursor {
public:
    CStringCursor(LPSTR pFirst, LPSTR pEnd) : m_pCursor(pFirst), m_pEnd(pEnd) {}

    // The string taken last (the title before any other).
    LPSTR Current() const { return m_pCursor; }
    // TRUE when another string starts before the pool's end.
    BOOL HasNext() const { return NextStart() < m_pEnd; }
    // The next string; damage when it does not lie whole inside the pool.
    LPSTR Take(LPCSTR lpszList)
    {
        LPSTR pNext = NextStart();
        if (pNext >= m_pEnd || std::memchr(pNext, 0, static_cast<size_t>(m_pEnd - pNext)) == NULL) {
            CString strWhat;
            strWhat.Format("%s: a string runs past the end of the string pool", lpszList);
            Damaged(strWhat);
        }
        m_pCursor = pNext;
        return pNext;
    }

private:
    LPSTR NextStart() const { return m_pCursor + std::strlen(m_pCursor) + 1; }

    LPSTR m_pCursor;
    LPSTR m_pEnd;
};

void CheckCount(DWORD nCount, DWORD nCapacity, LPCSTR lpszWhat)
{
    if (nCount > nCapacity) {
        CString strWhat;
        strWhat.Format("%lu %s, more than the %lu the format allows", static_cast<unsigned long>(nCount), lpszWhat,
                       static_cast<unsigned long>(nCapacity));
        Damaged(strWhat);
    }
}

void TakeStrings(CStringCursor& cursor, LPSTR* ppszTable, DWORD nCount, LPCSTR lpszList)
{
    for (DWORD i = 0; i < nCount; ++i)
        ppszTable[i] = cursor.Take(lpszList);
}

// The text area: the sections' lists must lie inside the section data, their runs' text inside
// the section text, the tables and the picture area inside the record.
void CheckTextArea(const ArticleRecordDescriptor* pDescriptor, LPBYTE pRecord, DWORD nSections, DWORD nTables)
{
    const DWORD dwLength = pDescriptor->dwRecordLength;
    const DWORD dwTextStart = pDescriptor->offTextStart;
    const DWORD dwTextBytes = dwLength - dwTextStart;
    DWORD dwSectionsEnd = nTables > 0 ? ArticleDword(pRecord + pDescriptor->offTables)
                                      : ArticleDword(pRecord + ARH_SECTIONS_END);
    if (dwSectionsEnd > dwTextBytes)
        Damaged("the section data ends past the end of the record");
    for (DWORD t = 0; t < nTables; ++t) {
        if (ArticleDword(pRecord + pDescriptor->offTables + t * ARTICLE_TABLE_ENTRY) > dwTextBytes)
            Damaged("a table starts past the end of the record");
    }
    if (ArticleDword(pRecord + ARH_PICTURE_LENGTH) > dwSectionsEnd)
        Damaged("the picture area is longer than the section data");

    const int nYear = static_cast<int>(pDescriptor->dwFormatYear);
    LPBYTE pLimit = pRecord + dwTextStart + dwSectionsEnd;
    for (DWORD s = 0; s < nSections; ++s) {
        DWORD dwStart = ArticleDword(pRecord + pDescriptor->offSections + s * ARTICLE_SECTION_ENTRY);
        ARTICLE_SECTION_CURSOR cursor;
        if (dwStart > dwSectionsEnd || !LocateArticleSection(pRecord + dwTextStart + dwStart, nYear, pLimit, cursor))
            Damaged("a section's lists run past the end of the section data");
        ULONGLONG ullText = 0;  // old-layout lengths are 32 bits: no sum may wrap
        const DWORD dwTextLength = static_cast<DWORD>(cursor.pIndents - cursor.pText);
        const DWORD nRuns = GetSectionRunCount(cursor.pHeader, nYear);
        for (DWORD r = 0; r < nRuns; ++r) {
            CParagraphRun run(&cursor, cursor.pHeader, static_cast<int>(r));
            run.SetFormatYear(nYear);
            if (run.HasNoText())
                continue;
            ullText += run.GetTextLength();
            if (ullText > dwTextLength)
                Damaged("a paragraph's text runs past the end of its section");
        }
    }
}

}  // namespace

void FatalArticleError(LPCSTR lpszText)
{
    MessageBox(NULL, lpszText, "ERROR", MB_SYSTEMMODAL | MB_ICONSTOP);
    if (g_pfnExitHandler != NULL)
        g_pfnExitHandler(ARTICLE_FATAL_EXIT_CODE);
    std::exit(ARTICLE_FATAL_EXIT_CODE);
}

ARTICLE_EXIT_HANDLER SetArticleExitHandler(ARTICLE_EXIT_HANDLER pfnHandler)
{
    ARTICLE_EXIT_HANDLER pfnOld = g_pfnExitHandler;
    g_pfnExitHandler = pfnHandler;
    return pfnOld;
}

int ArticleFormatYear(const BYTE* pRecord)
{
    int nYear = 0;
    for (int i = 0; i < 4; ++i) {
        BYTE ch = pRecord[ARH_FORMAT_YEAR + i];
        if (ch < '0' || ch > '9')
            return -1;
        nYear = nYear * 10 + (ch - '0');
    }
    return nYear;
}

HGLOBAL ReadArticleRecord(LPCSTR lpszPath, DWORD nBlock, DWORD nBlockCount)
{
    if (nBlockCount == 0)
        nBlockCount = 255;
    const BOOL bArchive = std::strstr(lpszPath, kArchiveName) != NULL;

    CRecordBlocks blocks;
    blocks.m_hDescriptor = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(ArticleRecordDescriptor));
    if (blocks.m_hDescriptor == NULL)
        AfxThrowMemoryException();
    // Locked once and left locked for the descriptor's life.
    auto* pDescriptor = static_cast<ArticleRecordDescriptor*>(GlobalLock(blocks.m_hDescriptor));
    pDescriptor->dwMagic = ARTICLE_DESCRIPTOR_MAGIC;
    pDescriptor->dwReserved1 = 1;
    pDescriptor->dwFirstBlock = nBlock;
    pDescriptor->dwReserved600 = 600;

    // Only what the record fills is written, and a short stretch behind it is cleared: the
    // parser and the readers never look past the record's length.
    blocks.m_hBuffer = GlobalAlloc(GMEM_MOVEABLE, ARTICLE_RECORD_BUFFER_SIZE);
    if (blocks.m_hBuffer == NULL)
        AfxThrowMemoryException();
    pDescriptor->buffers[0].hMem = blocks.m_hBuffer;
    pDescriptor->buffers[0].dwSize = ARTICLE_RECORD_BUFFER_SIZE;
    auto* pBuffer = static_cast<LPBYTE>(GlobalLock(blocks.m_hBuffer));

    DWORD dwRead = bArchive ? ReadFromArchive(lpszPath, nBlock, nBlockCount, pBuffer)
                            : ReadFromSingleFile(lpszPath, nBlockCount, pBuffer);
    pDescriptor->dwRecordLength = dwRead;
    const DWORD dwGuard = ARTICLE_RECORD_BUFFER_SIZE - dwRead < kClearedBehind ? ARTICLE_RECORD_BUFFER_SIZE - dwRead
                                                                               : kClearedBehind;
    std::memset(pBuffer + dwRead, 0, dwGuard);
    GlobalUnlock(blocks.m_hBuffer);

    ParseArticleRecord(pDescriptor);
    return blocks.Release();
}

void ParseArticleRecord(ArticleRecordDescriptor* pDescriptor)
{
    auto* pRecord = static_cast<LPBYTE>(GlobalLock(pDescriptor->buffers[0].hMem));
    if (pRecord == NULL)
        Damaged("the record buffer cannot be locked");
    // The buffer stays where it is: the descriptor's addresses point into it.
    GlobalUnlock(pDescriptor->buffers[0].hMem);
    const DWORD dwLength = pDescriptor->dwRecordLength;
    if (dwLength < ARH_ENTRIES)
        Damaged("the record is shorter than its header");

    const int nYear = ArticleFormatYear(pRecord);
    if (nYear < 0)
        Damaged("the format year is not a number");
    pDescriptor->dwFormatYear = static_cast<DWORD>(nYear);
    const BOOL bNew = nYear >= ARTICLE_NEW_LAYOUT_YEAR;

    const DWORD nSections = pRecord[ARH_SECTION_COUNT];
    const DWORD nTables = pRecord[ARH_TABLE_COUNT];
    const DWORD nLinks = ArticleWord(pRecord + ARH_LINK_COUNT);
    const DWORD nRelated = ArticleWord(pRecord + ARH_RELATED_COUNT);
    const DWORD nPositions = ArticleWord(pRecord + ARH_POSITION_COUNT);
    const DWORD dwPoolLength = ArticleWord(pRecord + ARH_POOL_LENGTH);
    const int nSkipped = static_cast<signed char>(pRecord[ARH_SKIPPED_COUNT]);
    const DWORD nMedia = ArticleWord(pRecord + ARH_MEDIA_COUNT);
    const DWORD nExtras = bNew ? ArticleWord(pRecord + ARH_EXTRA_COUNT) : 0;
    const DWORD nCaptions = bNew ? nMedia : (nMedia + 1) / 2;

    CheckCount(nSections, ARTICLE_MAX_SECTIONS, "sections");
    CheckCount(nTables, ARTICLE_MAX_TABLES, "tables");
    CheckCount(nExtras, ARTICLE_MAX_EXTRAS, "extra items");
    CheckCount(nCaptions, ARTICLE_MAX_CAPTIONS, "media captions");
    CheckCount(nLinks, ARTICLE_MAX_LINKS, "links");
    CheckCount(nRelated, ARTICLE_MAX_RELATED, "related items");
    if (nSkipped < 0)
        Damaged("the count of skipped entries is negative");

    pDescriptor->offSections = ARH_ENTRIES;
    pDescriptor->offTables = pDescriptor->offSections + nSections * ARTICLE_SECTION_ENTRY;
    pDescriptor->offMedia = pDescriptor->offTables + nTables * ARTICLE_TABLE_ENTRY;
    pDescriptor->offLinks = pDescriptor->offMedia + nMedia * ARTICLE_MEDIA_ENTRY;
    pDescriptor->offRelated = pDescriptor->offLinks + nLinks * ARTICLE_LINK_ENTRY;
    pDescriptor->offPositions = pDescriptor->offRelated + nRelated * ARTICLE_RELATED_ENTRY;
    pDescriptor->offSkipped = pDescriptor->offPositions + nPositions * ARTICLE_POSITION_ENTRY;
    pDescriptor->offStringPool = pDescriptor->offSkipped + static_cast<DWORD>(nSkipped) * ARTICLE_SKIPPED_ENTRY;
    const DWORD dwPoolEnd = pDescriptor->offStringPool + dwPoolLength;
    if (dwPoolEnd > dwLength)
        Damaged("the string pool runs past the end of the record");
    if (dwPoolLength == 0)
        Damaged("the string pool is empty");
    pDescriptor->offTextStart = dwPoolEnd + ARTICLE_TEXT_GAP;
    if (pDescriptor->offTextStart > dwLength)
        Damaged("the text starts past the end of the record");

    // Strings: the title, then each list in turn, each string after the one taken last.
    LPSTR pPool = reinterpret_cast<LPSTR>(pRecord + pDescriptor->offStringPool);
    LPSTR pPoolEnd = reinterpret_cast<LPSTR>(pRecord + dwPoolEnd);
    if (std::memchr(pPool, 0, dwPoolLength) == NULL)
        Damaged("title: a string runs past the end of the string pool");
    pDescriptor->pszTitle = pPool;
    CStringCursor cursor(pPool, pPoolEnd);
    TakeStrings(cursor, pDescriptor->apszSectionTitles, nSections, "section titles");
    TakeStrings(cursor, pDescriptor->apszTableTitles, nTables, "table titles");
    TakeStrings(cursor, pDescriptor->apszExtraTitles, nExtras, "extra-item titles");
    TakeStrings(cursor, pDescriptor->apszMediaCaptions, nCaptions, "media captions");
    pDescriptor->dwCaptionCount = nCaptions;
    TakeStrings(cursor, pDescriptor->apszLinkTargets, nLinks, "link targets");
    TakeStrings(cursor, pDescriptor->apszRelatedTitles, nRelated, "related titles");

    if (!bNew) {
        // One related link for each related entry that is no heading (byte 5 zero), then NULL.
        DWORD nRelatedLinks = 0;
        for (DWORD r = 0; r < nRelated; ++r)
            if (pRecord[pDescriptor->offRelated + r * ARTICLE_RELATED_ENTRY + 5] == 0)
                ++nRelatedLinks;
        CheckCount(nRelatedLinks, ARTICLE_MAX_RELATED_LINKS - 1, "related links");
        TakeStrings(cursor, pDescriptor->apszRelatedLinks, nRelatedLinks, "related links");
        pDescriptor->apszRelatedLinks[nRelatedLinks] = NULL;
        // Every further string of the pool is a trailing string.
        DWORD nTrailing = 0;
        while (nTrailing < ARTICLE_MAX_TRAILING && cursor.HasNext())
            pDescriptor->apszTrailing[nTrailing++] = cursor.Take("trailing strings");
        pDescriptor->dwTrailingCount = nTrailing;
    } else {
        // The stored count is raised by one; an empty string, the pool's end or the table's
        // capacity ends the list early, and byte 74 then holds the number taken.
        const DWORD nStored = ArticleWord(pRecord + ARH_RELATED_LINK_COUNT);
        CheckCount(nStored, ARTICLE_MAX_RELATED_LINKS, "related links");
        const DWORD nWanted = nStored + 1;
        pRecord[ARH_RELATED_LINK_COUNT] = static_cast<BYTE>(nWanted & 0xFF);
        pRecord[ARH_RELATED_LINK_COUNT + 1] = static_cast<BYTE>(nWanted >> 8);
        DWORD nTaken = 0;
        while (nTaken < nWanted && nTaken < ARTICLE_MAX_RELATED_LINKS) {
            if (*cursor.Current() == '\0' || !cursor.HasNext())
                break;
            pDescriptor->apszRelatedLinks[nTaken++] = cursor.Take("related links");
        }
        if (nTaken < nWanted) {
            pRecord[ARH_RELATED_LINK_COUNT] = static_cast<BYTE>(nTaken & 0xFF);
            pRecord[ARH_RELATED_LINK_COUNT + 1] = static_cast<BYTE>(nTaken >> 8);
        }
    }

    CheckTextArea(pDescriptor, pRecord, nSections, nTables);
    pDescriptor->dwParseCleared0 = 0;
    pDescriptor->dwParseCleared1 = 0;
}

HGLOBAL CreateArticleView(HGLOBAL hDescriptor)
{
    HGLOBAL hView = GlobalAlloc(GMEM_MOVEABLE, sizeof(ArticleViewRecord));
    if (hView == NULL)
        FatalArticleError("Unable to alloc artlview record");
    auto* pView = static_cast<ArticleViewRecord*>(GlobalLock(hView));
    if (pView == NULL) {
        GlobalFree(hView);
        FatalArticleError("Unable to lock artlview");
    }
    std::memset(pView, 0, sizeof(ArticleViewRecord));
    pView->dwMagic = ARTICLE_VIEW_MAGIC;
    pView->hDescriptor = hDescriptor;
    pView->lCurrentItem = -1;
    GlobalUnlock(hView);
    return hView;
}

HGLOBAL LoadArticleRecord(LPCSTR lpszPath, DWORD nBlock, DWORD nBlockCount)
{
    HGLOBAL hDescriptor = ReadArticleRecord(lpszPath, nBlock, nBlockCount);
    if (hDescriptor == NULL)
        FatalArticleError("Unable to access article data");
    HGLOBAL hView = NULL;
    try {
        hView = CreateArticleView(hDescriptor);
    } catch (...) {
        FreeArticleRecord(hDescriptor);
        throw;
    }
    if (hView == NULL) {
        FreeArticleRecord(hDescriptor);
        FatalArticleError("Unable to create article record");
    }
    return hView;
}

void FreeArticleRecord(HGLOBAL hDescriptor)
{
    auto* pDescriptor = static_cast<ArticleRecordDescriptor*>(GlobalLock(hDescriptor));
    if (pDescriptor != NULL) {
        HGLOBAL hBuffer = pDescriptor->buffers[0].hMem;
        pDescriptor->buffers[0].hMem = NULL;
        if (hBuffer != NULL)
            GlobalFree(hBuffer);
    }
    GlobalFree(hDescriptor);
}
