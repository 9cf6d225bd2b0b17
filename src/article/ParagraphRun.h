// Paragraph runs: the 10-byte records that describe the paragraphs of a section (headings, text
// paragraphs, pieces without text such as pictures, and special kinds such as icon paragraphs).
// CParagraphRun is a read-only view on one run record that hides the two layouts:
//
// 1998 and later:   byte 0 bits 4-7 kind (1, 2 heading kinds; 3 no text; 4 and up special),
//                   bits 0-3 four flags; byte 1 style; u16 at 2 level value; u16 at 4 text
//                   length; u32 at 6 extra value (nonzero: the run carries one).
// Before 1998:      u16 flag word at 0: bits 0-3 the flags, 0x10 no text, 0x20 carries an extra
//                   value, 0x40 heading, 0x80 heading level, bits 8-15 style; u32 at 2 text
//                   length; u32 at 6 extra value.
//
// A run's text is not NUL-terminated: it starts where the texts of the section's earlier runs
// (runs without text not counted) end, and is GetTextLength bytes long.
#pragma once

#include "article/ArticleRecord.h"

class CParagraphRun {
public:
    enum { runSize = 10 };

    CParagraphRun(ARTICLE_SECTION_CURSOR* pCursor, LPBYTE pSectionHeader, int nIndex);

    void SetFormatYear(int nYear) { m_nFormatYear = nYear; }

    BOOL GetFlag0() const { return (m_pRun[0] & 0x01) != 0; }
    BOOL GetFlag1() const { return (m_pRun[0] & 0x02) != 0; }
    BOOL GetFlag2() const { return (m_pRun[0] & 0x04) != 0; }
    BOOL IsFlag3Clear() const { return (m_pRun[0] & 0x08) == 0; }
    BOOL HasAllFlags() const { return (m_pRun[0] & 0x0F) == 0x0F; }
    BOOL HasNoText() const;
    BOOL HasExtraValue() const;
    DWORD GetExtraValue() const { return ArticleDword(m_pRun + 6); }
    BOOL IsHeading() const;
    BYTE GetStyle() const { return m_pRun[1]; }
    int GetHeadingLevel() const;
    DWORD GetTextLength() const;
    WORD GetLevelValue() const;
    int GetKind() const;
    BOOL IsSpecialKind() const;
    // The run's first text byte: the section's text plus the lengths of the earlier runs.
    LPBYTE GetTextAddress() const;

    LPBYTE GetRecord() const { return m_pRun; }
    int GetIndex() const { return m_nIndex; }

private:
    BOOL IsNewLayout() const { return m_nFormatYear >= ARTICLE_NEW_LAYOUT_YEAR; }

    int m_nFormatYear;
    ARTICLE_SECTION_CURSOR* m_pCursor;
    LPBYTE m_pSectionHeader;
    LPBYTE m_pRun;
    int m_nIndex;
};
