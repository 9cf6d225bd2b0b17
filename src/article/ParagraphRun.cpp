#include "article/ParagraphRun.h"

CParagraphRun::CParagraphRun(ARTICLE_SECTION_CURSOR* pCursor, LPBYTE pSectionHeader, int nIndex)
    : m_nFormatYear(0),
      m_pCursor(pCursor),
      m_pSectionHeader(pSectionHeader),
      m_pRun(pCursor->pRuns + nIndex * runSize),
      m_nIndex(nIndex)
{
}

BOOL CParagraphRun::HasNoText() const
{
    return IsNewLayout() ? GetKind() == 3 : (m_pRun[0] & 0x10) != 0;
}

BOOL CParagraphRun::HasExtraValue() const
{
    return IsNewLayout() ? GetExtraValue() != 0 : (m_pRun[0] & 0x20) != 0;
}

BOOL CParagraphRun::IsHeading() const
{
    if (IsNewLayout()) {
        int nKind = GetKind();
        return nKind == 1 || nKind == 2;
    }
    return (m_pRun[0] & 0x40) != 0;
}

int CParagraphRun::GetHeadingLevel() const
{
    return IsNewLayout() ? GetKind() - 1 : (m_pRun[0] & 0x80) != 0;
}

DWORD CParagraphRun::GetTextLength() const
{
    return IsNewLayout() ? ArticleWord(m_pRun + 4) : ArticleDword(m_pRun + 2);
}

WORD CParagraphRun::GetLevelValue() const
{
    return IsNewLayout() ? ArticleWord(m_pRun + 2) : 1;
}

int CParagraphRun::GetKind() const
{
    return IsNewLayout() ? m_pRun[0] >> 4 : 0;
}

BOOL CParagraphRun::IsSpecialKind() const
{
    return IsNewLayout() && GetKind() >= 4;
}

LPBYTE CParagraphRun::GetTextAddress() const
{
    LPBYTE pText = m_pCursor->pText;
    for (int i = 0; i < m_nIndex; ++i) {
        CParagraphRun earlier(m_pCursor, m_pSectionHeader, i);
        earlier.SetFormatYear(m_nFormatYear);
        if (!earlier.HasNoText())
            pText += earlier.GetTextLength();
    }
    return pText;
}
