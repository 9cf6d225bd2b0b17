// One text section of a loaded article record: its header and its lists, located through the
// section cursor of the document's descriptor (shared by every section object, so the cursor
// always describes the section made last).
//
// A section's data lies at its entry's offset from the record's text start: a header, the
// paragraph runs (10 bytes each), the style table (2-byte entries), the section text and the
// indent table (4-byte entries), back to back.
//   1998 and later: 10-byte header; u16 at 0 run count, u16 at 4 style entries, u16 at 6 text
//                   length, u8 at 9 indent entries.
//   before 1998:    22-byte header; u16 at 0 run count, u16 at 8 style entries, u16 at 10 text
//                   length, u8 at 12 indent entries.
#pragma once

#include "article/ArticleRecord.h"

class CParagraphRun;

// The header's counts in the layout of the year.
DWORD GetSectionRunCount(const BYTE* pHeader, int nYear);
DWORD GetSectionStyleCount(const BYTE* pHeader, int nYear);
DWORD GetSectionTextLength(const BYTE* pHeader, int nYear);
DWORD GetSectionIndentCount(const BYTE* pHeader, int nYear);
DWORD GetSectionHeaderSize(int nYear);

// Fills the cursor for the section whose header is at pHeader; FALSE (cursor untouched) when its
// header or lists would end past pLimit.
BOOL LocateArticleSection(LPBYTE pHeader, int nYear, LPBYTE pLimit, ARTICLE_SECTION_CURSOR& cursor);

class CArticleSection {
public:
    // The descriptor must describe a parsed record (whose sections the parser checked).
    CArticleSection(ArticleRecordDescriptor* pDescriptor, LPBYTE pRecord, int nSection);
    ~CArticleSection();
    CArticleSection(const CArticleSection&) = delete;
    CArticleSection& operator=(const CArticleSection&) = delete;

    // A new view over run n, kept as the current run (the previous one is deleted).
    CParagraphRun* GetRun(int n);
    CParagraphRun* GetCurrentRun() const { return m_pRun; }

    int GetRunCount() const;
    int GetShortListCount() const;  // style table entries
    int GetLongListCount() const;   // indent table entries
    // The first 16-bit value of the section's entry in the record's section list.
    WORD GetSectionNumber() const;

    int GetIndex() const { return m_nSection; }
    int GetFormatYear() const { return m_nFormatYear; }
    LPBYTE GetHeader() const { return m_pHeader; }
    LPBYTE GetText() const { return m_pCursor->pText; }
    DWORD GetTextLength() const;
    LPBYTE GetStyleTable() const { return m_pShortList; }
    LPBYTE GetIndentTable() const { return m_pLongList; }
    ARTICLE_SECTION_CURSOR* GetCursor() const { return m_pCursor; }

private:
    ARTICLE_SECTION_CURSOR* m_pCursor;
    CParagraphRun* m_pRun;
    LPBYTE m_pHeader;
    int m_nSection;
    int m_nFormatYear;
    LPBYTE m_pShortList;
    LPBYTE m_pLongList;
    LPBYTE m_pLongListEnd;
    LPBYTE m_pEntry;
};
