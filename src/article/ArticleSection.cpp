#include "article/ArticleSection.h"

#include "article/ParagraphRun.h"

namespace {

BOOL IsNew(int nYear)
{
    return nYear >= ARTICLE_NEW_LAYOUT_YEAR;
}

}  // namespace

DWORD GetSectionHeaderSize(int nYear)
{
    return IsNew(nYear) ? 10 : 22;
}

DWORD GetSectionRunCount(const BYTE* pHeader, int)
{
    return ArticleWord(pHeader);
}

DWORD GetSectionStyleCount(const BYTE* pHeader, int nYear)
{
    return ArticleWord(pHeader + (IsNew(nYear) ? 4 : 8));
}

DWORD GetSectionTextLength(const BYTE* pHeader, int nYear)
{
    return ArticleWord(pHeader + (IsNew(nYear) ? 6 : 10));
}

DWORD GetSectionIndentCount(const BYTE* pHeader, int nYear)
{
    return pHeader[IsNew(nYear) ? 9 : 12];
}

BOOL LocateArticleSection(LPBYTE pHeader, int nYear, LPBYTE pLimit, ARTICLE_SECTION_CURSOR& cursor)
{
    const DWORD dwHeader = GetSectionHeaderSize(nYear);
    if (pHeader > pLimit || static_cast<DWORD>(pLimit - pHeader) < dwHeader)
        return FALSE;
    const DWORD dwTotal = dwHeader + GetSectionRunCount(pHeader, nYear) * CParagraphRun::runSize +
                          GetSectionStyleCount(pHeader, nYear) * 2 + GetSectionTextLength(pHeader, nYear) +
                          GetSectionIndentCount(pHeader, nYear) * 4;
    if (static_cast<DWORD>(pLimit - pHeader) < dwTotal)
        return FALSE;
    cursor.pHeader = pHeader;
    cursor.pRuns = pHeader + dwHeader;
    cursor.pStyles = cursor.pRuns + GetSectionRunCount(pHeader, nYear) * CParagraphRun::runSize;
    cursor.pText = cursor.pStyles + GetSectionStyleCount(pHeader, nYear) * 2;
    cursor.pIndents = cursor.pText + GetSectionTextLength(pHeader, nYear);
    cursor.pEnd = cursor.pIndents + GetSectionIndentCount(pHeader, nYear) * 4;
    return TRUE;
}

CArticleSection::CArticleSection(ArticleRecordDescriptor* pDescriptor, LPBYTE pRecord, int nSection)
    : m_pCursor(&pDescriptor->sectionCursor), m_pRun(NULL), m_nSection(nSection)
{
    m_nFormatYear = ArticleFormatYear(pRecord);
    m_pEntry = pRecord + pDescriptor->offSections + nSection * ARTICLE_SECTION_ENTRY;
    m_pHeader = pRecord + pDescriptor->offTextStart + ArticleDword(m_pEntry);
    // The parser has checked that every section's lists lie inside the record.
    LocateArticleSection(m_pHeader, m_nFormatYear, pRecord + pDescriptor->dwRecordLength, *m_pCursor);
    m_pShortList = m_pCursor->pStyles;
    m_pLongList = m_pCursor->pIndents;
    m_pLongListEnd = m_pCursor->pEnd;
}

CArticleSection::~CArticleSection()
{
    delete m_pRun;
}

CParagraphRun* CArticleSection::GetRun(int n)
{
    delete m_pRun;
    m_pRun = new CParagraphRun(m_pCursor, m_pHeader, n);
    m_pRun->SetFormatYear(m_nFormatYear);
    return m_pRun;
}

int CArticleSection::GetRunCount() const
{
    return static_cast<int>(GetSectionRunCount(m_pHeader, m_nFormatYear));
}

int CArticleSection::GetShortListCount() const
{
    return static_cast<int>(GetSectionStyleCount(m_pHeader, m_nFormatYear));
}

int CArticleSection::GetLongListCount() const
{
    return static_cast<int>(GetSectionIndentCount(m_pHeader, m_nFormatYear));
}

WORD CArticleSection::GetSectionNumber() const
{
    return ArticleWord(m_pEntry);
}

DWORD CArticleSection::GetTextLength() const
{
    return GetSectionTextLength(m_pHeader, m_nFormatYear);
}
