#include "article/ArticlePageLayout.h"

#include "article/ArticleDocument.h"
#include "article/ArticleSection.h"
#include "article/ParagraphRun.h"
#include "base/DataFolders.h"
#include "base/HitList.h"
#include "widgets/Dib.h"

#include <algorithm>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const int kFixedSlot = 3;
const int kMathSlot = 7;
const int kLinkSlot = 10;
const int kThumbnailGap = 5;
const int kIconX = 32;

struct SlotFace {
    LPCSTR lpszFace;
    int nLess;  // tenths of a point below the base size
};

const SlotFace kSlotFaces[CArticlePageLayout::fontCount - 1] = {
    {"Arial", 0},         {"Arial Bold", 0}, {"Arial Italic", 0}, {"Courier New", 0}, {"Arial", 20},
    {"Arial", 20},        {"Symbol", 0},     {"VeltraMath", 0},   {"Arial Italic", 20}, {"Arial Italic", 20},
};

WORD StyleEntry(const BYTE* pStyles, int i)
{
    return ArticleWord(pStyles + 2 * i);
}

BOOL IsBreakChar(char c)
{
    return c == ' ' || c == '-';
}

// Item count of a thumbnail paragraph: the run's level value (1 in the old layout).
int ThumbnailCount(CParagraphRun* pRun)
{
    return pRun->GetLevelValue();
}

}  // namespace

int LineBreakLength(const char* pText, int nFit, int nLeft)
{
    int nBreak = -1;
    for (int i = nFit - 1; i >= 0; --i) {
        if (IsBreakChar(pText[i])) {
            nBreak = i;
            break;
        }
    }
    if (nBreak < 0) {
        // A word longer than the line: it runs on to the next break.
        nBreak = nFit;
        while (nBreak < nLeft && !IsBreakChar(pText[nBreak]))
            ++nBreak;
    }
    while (nBreak < nLeft && IsBreakChar(pText[nBreak]))
        ++nBreak;
    return nBreak;
}

CArticlePageLayout::CArticlePageLayout()
{
    std::memset(m_aLines, 0, sizeof(m_aLines));
}

CArticlePageLayout::~CArticlePageLayout()
{
    DestroyThumbnails();
}

// ---------------------------------------------------------------------------------------------
// Fonts

int CArticlePageLayout::BaseSizeForClass(int nSizeClass)
{
    return nSizeClass <= 0 ? 100 : nSizeClass == 1 ? 110 : 130;
}

void CArticlePageLayout::CreateSlotFont(CFont& font, int nSlot, int nTenths, CDC* pDC)
{
    font.CreatePointFont(nTenths - kSlotFaces[nSlot].nLess, kSlotFaces[nSlot].lpszFace, pDC);
}

void CArticlePageLayout::SetTextSize(int nSizeClass, CDC* pDC)
{
    m_nBaseSize = BaseSizeForClass(nSizeClass);
    m_pSelectedFont = NULL;
    for (CFont& font : m_aFonts)
        font.DeleteObject();
    for (int i = 0; i < kLinkSlot; ++i)
        CreateSlotFont(m_aFonts[i], i, m_nBaseSize, pDC);
    LOGFONT lf;
    m_aFonts[0].GetLogFont(&lf);
    lf.lfUnderline = 1;
    m_aFonts[kLinkSlot].CreateFontIndirect(&lf);
}

int CArticlePageLayout::StyleFontSlot(WORD wEntry)
{
    if ((wEntry & 1) == 0)
        return 0;
    const int nCode = (wEntry >> 1) & 0x0F;
    if (nCode == 0)
        return 1;
    if (nCode == 2 || nCode == 3)
        return 2;
    if (nCode >= 4 && nCode <= 9)
        return nCode;
    return 0;
}

CFont* CArticlePageLayout::GetStyleFont(const BYTE* pStyleEntry)
{
    return &m_aFonts[StyleFontSlot(ArticleWord(pStyleEntry))];
}

// ---------------------------------------------------------------------------------------------
// Reset

void CArticlePageLayout::ClearLines(int nFrom)
{
    std::memset(m_aLines + nFrom, 0, sizeof(PageLine) * static_cast<size_t>(maxLines - nFrom));
}

void CArticlePageLayout::DestroyThumbnails()
{
    for (CWnd*& pThumb : m_apThumbnails) {
        if (pThumb != NULL) {
            pThumb->DestroyWindow();
            delete pThumb;
            pThumb = NULL;
        }
    }
}

void CArticlePageLayout::DeleteThumbnailWindows()
{
    DestroyThumbnails();
    m_nThumbnailCounter = 0;
    m_nThumbnailSlots = 0;
}

void CArticlePageLayout::PlaceThumbnailWindows(int nTopLine, int nPageTop, const RECT& rcClient)
{
    if (m_nThumbnailSlots == 0)
        return;
    const int nClientWidth = std::max(static_cast<int>(rcClient.right - rcClient.left), static_cast<int>(minTextWidth));
    const int nClientHeight = static_cast<int>(rcClient.bottom - rcClient.top);
    for (int i = 0; i < m_nLineCount; ++i) {
        const PageLine& line = m_aLines[i];
        if (line.nKind != PAGE_LINE_THUMBNAIL_LEFT && line.nKind != PAGE_LINE_THUMBNAIL_RIGHT)
            continue;
        if (i > 0 && m_aLines[i - 1].nKind == line.nKind && m_aLines[i - 1].nThumbnailSlot == line.nThumbnailSlot)
            continue;  // not the thumbnail's first line
        CWnd* pThumb = m_apThumbnails[line.nThumbnailSlot];
        if (pThumb == NULL)
            continue;
        CRect rc;
        pThumb->GetWindowRect(&rc);
        const int y = nPageTop + (i - nTopLine) * m_nLineHeight;
        const int x = line.nKind == PAGE_LINE_THUMBNAIL_LEFT ? 0 : nClientWidth - rc.Width() - 7;
        pThumb->MoveWindow(x, y, rc.Width(), rc.Height(), TRUE);
        pThumb->ShowWindow(y + rc.Height() >= 1 && y < nClientHeight ? SW_SHOW : SW_HIDE);
    }
}

void CArticlePageLayout::ClearLayout(BOOL bScrollToHit)
{
    m_rcPage = RECT{0, 0, 0, 0};
    m_nSectionsLaidOut = 0;
    ClearLines(0);
    m_nLineCount = 0;
    m_nTopLine = 0;
    m_nFirstHitLine = 0;
    m_nPictureIndex = 0;
    m_nThumbnailCounter = 0;
    m_bScrollToFirstHit = bScrollToHit;
}

void CArticlePageLayout::ResetPage()
{
    ClearLayout(TRUE);
    m_nAnchorSection = 0;
    m_dwAnchorStart = 0;
    m_nPictureCount = 0;
    m_bPicturesScanned = FALSE;
    DeleteThumbnailWindows();
    m_dwFirstPictureLink = 0;
    std::fill(std::begin(m_adwItemValues), std::end(m_adwItemValues), 0);
    m_bEraseFirst = TRUE;
    m_bDiscMissing = FALSE;
}

void CArticlePageLayout::RestartLayout(BOOL bScrollToHit)
{
    if (m_nTopLine >= 0 && m_nTopLine < m_nLineCount) {
        m_nAnchorSection = m_aLines[m_nTopLine].nSection;
        m_dwAnchorStart = m_aLines[m_nTopLine].dwStart;
    }
    ClearLayout(bScrollToHit);
}

// ---------------------------------------------------------------------------------------------
// Sections

void CArticlePageLayout::OnFirstSection(CArticleDocument*)
{
}

CWnd* CArticlePageLayout::CreateThumbnailWindow(CArticleDocument*, int)
{
    return NULL;
}

void CArticlePageLayout::ScanPictures(CArticleDocument* pDocument)
{
    m_nPictureCount = 0;
    m_adwPictures[0] = 0;
    LPBYTE pArea = pDocument->GetPictureArea();
    const DWORD dwLength = ArticleDword(pDocument->GetRecord() + ARH_PICTURE_LENGTH);
    if (pArea == NULL)
        return;
    for (DWORD i = 0; i + 3 <= dwLength; ++i) {
        if (_strnicmp(reinterpret_cast<LPCSTR>(pArea + i), "GIF", 3) != 0)
            continue;
        if (i + 9 <= dwLength && _strnicmp(reinterpret_cast<LPCSTR>(pArea + i), "GIF Smart", 9) == 0) {
            m_nPictureCount = 0;
            m_adwPictures[0] = 0;
            return;
        }
        if (m_nPictureCount == maxPictures)
            break;  // the table is full: later pictures are not laid out
        m_adwPictures[m_nPictureCount++] = i;
    }
    m_adwPictures[m_nPictureCount] = dwLength;
}

void CArticlePageLayout::LayoutSections(CDC* pDC, CArticleDocument* pDocument, const RECT& rcClient, int nTarget)
{
    if (pDC == NULL || pDocument == NULL || pDocument->GetRecord() == NULL)
        return;
    m_nTextWidth = std::max(static_cast<int>(rcClient.right) - 12, static_cast<int>(minTextWidth));
    CFont* pOldFont = pDC->SelectObject(&m_aFonts[0]);
    m_pSelectedFont = &m_aFonts[0];
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    m_nLineHeight = std::max(static_cast<int>(tm.tmHeight + tm.tmExternalLeading), static_cast<int>(minLineHeight));

    int nSections = pDocument->GetSectionCount();
    int nWanted = nTarget == targetFirstPage     ? firstPageSections
                  : nTarget == targetNextSection ? m_nSectionsLaidOut + 1
                                                 : nTarget;
    nWanted = std::min(nWanted, nSections);
    if (m_nSectionsLaidOut == 0) {
        OnFirstSection(pDocument);
        m_bEraseFirst = TRUE;
    }
    if (!m_bPicturesScanned) {
        ScanPictures(pDocument);
        m_bPicturesScanned = TRUE;
    }
    for (int s = m_nSectionsLaidOut; s < nWanted; ++s) {
        std::unique_ptr<CArticleSection> pSection(pDocument->GetSection(s));
        if (!pSection)
            break;
        const int nRuns = pSection->GetRunCount();
        for (int p = 0; p < nRuns; ++p) {
            CParagraphRun* pRun = pSection->GetRun(p);
            pRun->SetFormatYear(pDocument->GetFormatYear());
            m_nLineCount += LayoutParagraph(pDC, pDocument, pSection.get(), pRun, s, p, m_nLineCount, m_nTextWidth);
        }
    }
    m_nThumbnailSlots = m_nThumbnailCounter;
    m_nSectionsLaidOut = std::max(nWanted, m_nSectionsLaidOut);

    pDC->SelectObject(pOldFont);
    m_pSelectedFont = NULL;
    m_rcPage = RECT{rcClient.left, 0, static_cast<LONG>(m_nTextWidth), static_cast<LONG>(m_nLineCount * m_nLineHeight)};
}

BOOL CArticlePageLayout::IsComplete(CArticleDocument* pDocument) const
{
    return pDocument == NULL || m_nSectionsLaidOut >= pDocument->GetSectionCount();
}

BOOL CArticlePageLayout::OnIdle(LONG lCount, CDC* pDC, CArticleDocument* pDocument, const RECT& rcClient)
{
    if (pDocument == NULL || pDocument->GetRecord() == NULL || pDocument->GetReference() == NULL)
        return FALSE;
    if (IsComplete(pDocument))
        return FALSE;
    if (m_bDiscMissing || m_bPopupShown)
        return TRUE;
    CString strDir;
    if (!GetDataDir(strDir, 11, 1, FALSE)) {
        m_bDiscMissing = TRUE;
        return TRUE;
    }
    if (lCount % idlePeriod == idlePeriod / 2)
        LayoutSections(pDC, pDocument, rcClient, targetNextSection);
    return TRUE;
}

int CArticlePageLayout::ChooseTopLine(BOOL bRestoreAnchor, int nPageLines) const
{
    auto clamp = [&](int nLine) {
        nLine = std::min(nLine, m_nLineCount - nPageLines);
        return std::max(nLine, 0);
    };
    if (m_bScrollToFirstHit) {
        int nLine = clamp(m_nFirstHitLine - nPageLines / 4);
        const PageLine& line = m_aLines[nLine];
        if (line.nKind == PAGE_LINE_PICTURE && line.nParagraph == 0)
            nLine = 0;
        return nLine;
    }
    if (bRestoreAnchor) {
        for (int i = 0; i < m_nLineCount; ++i)
            if (m_aLines[i].nSection == m_nAnchorSection && m_aLines[i].dwStart >= m_dwAnchorStart)
                return clamp(i);
        return 0;
    }
    return -1;
}

// ---------------------------------------------------------------------------------------------
// Paragraphs

int CArticlePageLayout::LayoutPicture(CDC*, CArticleDocument* pDocument, CParagraphRun* pRun, PageLine& proto,
                                      int nFirstLine, int nWidth)
{
    if (m_nPictureCount == 0 || m_nPictureIndex >= m_nPictureCount)
        return 0;
    const int i = m_nPictureIndex;
    const DWORD dwOffset = m_adwPictures[i];
    const DWORD dwBytes = m_adwPictures[i + 1] - dwOffset;
    if (m_nPictureIndex < maxPictures - 1)
        ++m_nPictureIndex;
    else
        m_nPictureIndex = m_nPictureCount;  // the table's last picture is laid out once
    std::unique_ptr<CDib> pDib(new CDib(pDocument->GetPictureArea() + dwOffset, dwBytes));
    if (pDib->GetInfoHeader() == NULL)
        return 0;
    const int nPictureWidth = pDib->GetWidth();
    const int nLines = pDib->GetHeight() / m_nLineHeight + 2;
    const int x = nPictureWidth < nWidth ? (nWidth - nPictureWidth) / 2 : 0;
    if (i == 0) {
        if (pDocument->GetFormatYear() >= ARTICLE_NEW_LAYOUT_YEAR) {
            if (pRun->HasExtraValue())
                m_dwFirstPictureLink = pRun->GetExtraValue();
        } else {
            std::unique_ptr<CStringArray> pStrings(pDocument->GetTrailingStrings());
            if (pStrings && pStrings->GetSize() > 0 && pStrings->GetAt(0).GetLength() > 10)
                m_dwFirstPictureLink = std::strtoul(static_cast<LPCSTR>(pStrings->GetAt(0)) + 5, NULL, 10);
        }
    }
    int n = 0;
    for (; n < nLines && nFirstLine + n < maxLines; ++n) {
        PageLine& line = m_aLines[nFirstLine + n];
        line = proto;
        line.nKind = PAGE_LINE_PICTURE;
        line.nLineInParagraph = static_cast<BYTE>(n);
        line.nLinesInParagraph = static_cast<BYTE>(std::min(nLines, 255));
        line.dwStart = dwOffset;
        line.nLength = n + 1 < nLines ? static_cast<WORD>(dwBytes) : 0;
        line.x = static_cast<SHORT>(x);
    }
    return n;
}

int CArticlePageLayout::LayoutThumbnails(CArticleDocument* pDocument, CParagraphRun* pRun, PageLine& proto,
                                         int nFirstLine)
{
    const BOOL bRight = pRun->GetHeadingLevel() == 1;
    const int nCount = ThumbnailCount(pRun);
    int nLines = 0;
    for (int k = 0; k < nCount && m_nThumbnailCounter < maxThumbnails; ++k) {
        const int nSlot = m_nThumbnailCounter;
        const int nMedia = pDocument->GetFormatYear() >= ARTICLE_NEW_LAYOUT_YEAR ? pRun->GetStyle() + k : nSlot;
        if (m_apThumbnails[nSlot] == NULL)
            m_apThumbnails[nSlot] = CreateThumbnailWindow(pDocument, nMedia);
        ++m_nThumbnailCounter;
        CWnd* pThumb = m_apThumbnails[nSlot];
        if (pThumb == NULL)
            continue;
        CRect rc;
        pThumb->GetWindowRect(&rc);
        const int nAdd = 1 + rc.Height() / m_nLineHeight;
        for (int n = 0; n < nAdd && nFirstLine + nLines < maxLines; ++n, ++nLines) {
            PageLine& line = m_aLines[nFirstLine + nLines];
            line = proto;
            line.nKind = bRight ? PAGE_LINE_THUMBNAIL_RIGHT : PAGE_LINE_THUMBNAIL_LEFT;
            line.x = static_cast<SHORT>(rc.Width() + kThumbnailGap);
            line.nThumbnailSlot = static_cast<BYTE>(nSlot);
            line.nMediaIndex = static_cast<WORD>(nMedia);
            line.nLineInParagraph = static_cast<BYTE>(std::min(nLines, 255));
            line.nLinesInParagraph = static_cast<BYTE>(std::min(nLines + nAdd, 255));
        }
    }
    return nLines;
}

WORD CArticlePageLayout::FindHitIndex(CArticleDocument* pDocument, int nSection, DWORD dwOffset, int nLine)
{
    CHitList* pHits = pDocument->GetHitList();
    if (pHits == NULL || pHits->GetCount() == 0)
        return 0;
    const int nCount = pHits->GetCount();
    for (int h = 0; h < nCount; ++h) {
        CHitPosition* pHit = pHits->GetAt(static_cast<UINT>(h));
        const int nHitSection = static_cast<int>(pHit->GetSection());
        if (nHitSection > nSection ||
            (nHitSection == nSection && pHit->GetOffset() + pHit->GetLength() > dwOffset)) {
            if (h == 0)
                m_nFirstHitLine = nLine;
            return static_cast<WORD>(h);
        }
    }
    return static_cast<WORD>(nCount);
}

int CArticlePageLayout::MeasureStyled(CDC* pDC, DWORD dwOffset, LPCSTR pText, int n, const BYTE* pStyles,
                                      int nStyleCount)
{
    int nStyle = 0;
    DWORD dwRunStart = 0;
    while (nStyle < nStyleCount && dwRunStart + StyleRunLength(StyleEntry(pStyles, nStyle)) <= dwOffset) {
        dwRunStart += StyleRunLength(StyleEntry(pStyles, nStyle));
        ++nStyle;
    }
    int nWidth = 0;
    while (n > 0) {
        int nTake = n;
        CFont* pFont = &m_aFonts[0];
        if (nStyle < nStyleCount) {
            const WORD wEntry = StyleEntry(pStyles, nStyle);
            nTake = std::min<int>(n, static_cast<int>(dwRunStart + StyleRunLength(wEntry) - dwOffset));
            pFont = &m_aFonts[StyleFontSlot(wEntry)];
            dwRunStart += StyleRunLength(wEntry);
            ++nStyle;
        }
        if (nTake <= 0)
            continue;
        pDC->SelectObject(pFont);
        m_pSelectedFont = pFont;
        nWidth += pDC->GetTextExtent(pText, nTake).cx;
        pText += nTake;
        dwOffset += static_cast<DWORD>(nTake);
        n -= nTake;
    }
    return nWidth;
}

int CArticlePageLayout::FitText(int nWidth, int& nOutWidth, DWORD dwOffset, LPCSTR pText, int nAvailable,
                                const BYTE* pStyles, int nStyleCount, int nStyleIndex, int nStyleBefore, CDC* pDC)
{
    nOutWidth = 0;
    int nTaken = 0;
    int nRemaining = nWidth;
    // Characters left in the current style run; past the table the rest is body text.
    auto enter = [&](int nIndex, int nBefore) {
        CFont* pFont = &m_aFonts[0];
        int nLeft = nAvailable - nTaken;
        if (nIndex < nStyleCount) {
            const WORD wEntry = StyleEntry(pStyles, nIndex);
            nLeft = StyleRunLength(wEntry) - nBefore;
            pFont = &m_aFonts[StyleFontSlot(wEntry)];
        }
        pDC->SelectObject(pFont);
        m_pSelectedFont = pFont;
        return nLeft;
    };
    int nStyleLeft = enter(nStyleIndex, nStyleBefore);
    while (nTaken < nAvailable) {
        while (nStyleLeft <= 0 && nStyleIndex < nStyleCount)
            nStyleLeft = enter(++nStyleIndex, 0);
        if (nStyleLeft <= 0)
            nStyleLeft = nAvailable - nTaken;
        LPCSTR p = pText + nTaken;
        const int nCharWidth = pDC->GetTextExtent(p, 1).cx;
        int nEstimate;
        if (nCharWidth > 0)
            nEstimate = nRemaining / nCharWidth;
        else if (*p != 0 && m_pSelectedFont == &m_aFonts[kMathSlot])
            nEstimate = 1;
        else
            break;
        int nGuess = std::max(nEstimate * 3 / 4, 1);
        nGuess = std::min({nGuess, nAvailable - nTaken, nStyleLeft});
        if (nGuess <= 0)
            break;
        int nGuessWidth = pDC->GetTextExtent(p, nGuess).cx;
        if (nGuessWidth > nRemaining) {
            while (nGuess > 0 && nGuessWidth > nRemaining) {
                --nGuess;
                nGuessWidth -= pDC->GetTextExtent(p + nGuess, 1).cx;
            }
            nOutWidth += nGuessWidth;
            nTaken += nGuess;
            break;
        }
        nRemaining -= nGuessWidth;
        nStyleLeft -= nGuess;
        nOutWidth += nGuessWidth;
        nTaken += nGuess;
    }
    (void)dwOffset;
    return nTaken;
}

int CArticlePageLayout::LayoutParagraph(CDC* pDC, CArticleDocument* pDocument, CArticleSection* pSection,
                                        CParagraphRun* pRun, int nSection, int nParagraph, int nFirstLine,
                                        int nWidth)
{
    if (nFirstLine >= maxLines || pRun->HasAllFlags())
        return 0;
    PageLine proto{};
    proto.nSection = static_cast<SHORT>(nSection);
    proto.nParagraph = static_cast<WORD>(nParagraph);
    proto.nSectionNumber = pSection->GetSectionNumber();

    if (pRun->HasNoText())
        return LayoutPicture(pDC, pDocument, pRun, proto, nFirstLine, nWidth);

    const BOOL bIcon = pRun->IsSpecialKind();
    int n = 0;  // lines written
    int nThumbLines = 0;
    if (pRun->IsHeading())
        nThumbLines = LayoutThumbnails(pDocument, pRun, proto, nFirstLine);

    WORD wHit = 0;
    auto writeBlank = [&](DWORD dwStart) {
        PageLine& line = m_aLines[nFirstLine + n];
        const BOOL bBeside = n < nThumbLines;
        PageLine keep = line;
        line = proto;
        line.dwStart = dwStart;
        line.nHitIndex = wHit;
        line.nLineInParagraph = static_cast<BYTE>(std::min(n, 255));
        if (bBeside) {
            line.nKind = keep.nKind;
            line.nThumbnailSlot = keep.nThumbnailSlot;
            line.nMediaIndex = keep.nMediaIndex;
            line.x = keep.x;
        }
        ++n;
    };

    LPBYTE pSectionText = pSection->GetText();
    DWORD dwEndOffset = 0;
    if (bIcon) {
        const int nKind = pRun->GetKind();
        if (nKind > 6)
            return 0;  // no icon of that kind
        if (nFirstLine > 0 && m_aLines[nFirstLine - 1].nLength != 0)
            writeBlank(0);
        if (nFirstLine + n >= maxLines)
            return n;
        PageLine& line = m_aLines[nFirstLine + n];
        line = proto;
        line.dwStart = pRun->GetStyle();
        line.x = kIconX;
        line.nKind = static_cast<signed char>(nKind + 2);
        line.nLineInParagraph = static_cast<BYTE>(n);
        ++n;
        if (nKind == 6 && pRun->GetStyle() < itemValueCount)
            m_adwItemValues[pRun->GetStyle()] = pRun->GetExtraValue();
    } else {
        LPCSTR pText = reinterpret_cast<LPCSTR>(pRun->GetTextAddress());
        const LPCSTR pEnd = pText + pRun->GetTextLength();
        LPCSTR pBase = reinterpret_cast<LPCSTR>(pSectionText);
        const BYTE* pStyles = pSection->GetStyleTable();
        const int nStyleCount = pSection->GetShortListCount();
        DWORD dwOffset = static_cast<DWORD>(pText - pBase);
        // The style run holding the first character.
        int nStyle = 0;
        DWORD dwStyleStart = 0;
        while (nStyle < nStyleCount && dwStyleStart + StyleRunLength(StyleEntry(pStyles, nStyle)) <= dwOffset) {
            dwStyleStart += StyleRunLength(StyleEntry(pStyles, nStyle));
            ++nStyle;
        }
        // Hits: one zero-length hit marks its paragraph; otherwise the first hit not ending
        // before each line.
        CHitList* pHits = pDocument->GetHitList();
        BOOL bSingleMark = FALSE;
        if (pHits != NULL && pHits->GetCount() == 1) {
            CHitPosition* pHit = pHits->GetAt(0);
            if (static_cast<int>(pHit->GetSection()) == nSection && pHit->GetOffset() >= dwOffset &&
                pHit->GetLength() == 0 && pHit->GetOffset() < dwOffset + pRun->GetTextLength()) {
                m_nFirstHitLine = nFirstLine;
                bSingleMark = TRUE;
            }
        }
        wHit = bSingleMark ? 0 : FindHitIndex(pDocument, nSection, dwOffset, nFirstLine);
        // Indents, in widths of the body font's space.
        int nFirstIndent = 0;
        int nOtherIndent = 0;
        if (pRun->GetFlag2()) {
            const BYTE* pIndents = pSection->GetIndentTable();
            for (int e = 0; e < pSection->GetLongListCount(); ++e) {
                const BYTE* pEntry = pIndents + 4 * e;
                if (pEntry[1] < nParagraph)
                    continue;
                if (pEntry[0] <= nParagraph) {
                    pDC->SelectObject(&m_aFonts[0]);
                    m_pSelectedFont = &m_aFonts[0];
                    const int nSpace = pDC->GetTextExtent(" ", 1).cx;
                    nFirstIndent = nSpace * pEntry[2];
                    nOtherIndent = nSpace * pEntry[3];
                }
                break;
            }
        }
        const BOOL bCentred = pRun->GetFlag0() && !pRun->IsHeading();
        while (pText < pEnd && nFirstLine + n < maxLines) {
            const int nLine = nFirstLine + n;
            const BOOL bBeside = n < nThumbLines;
            const int xBeside = bBeside ? m_aLines[nLine].x : 0;
            int x = (n == 0 ? nFirstIndent : nOtherIndent) + xBeside;
            const int nLeft = static_cast<int>(pEnd - pText);
            int nLength = 0;
            int nLineWidth = 0;
            if (pRun->GetFlag1()) {
                pDC->SelectObject(&m_aFonts[kFixedSlot]);
                m_pSelectedFont = &m_aFonts[kFixedSlot];
                nLength = nLeft;
                nLineWidth = nLeft * pDC->GetTextExtent(" ", 1).cx;
            } else if (nLine == maxLines - 1) {
                nLength = nLeft;
                nLineWidth = MeasureStyled(pDC, dwOffset, pText, nLeft, pStyles, nStyleCount);
            } else {
                int nFit = 0;
                if (x < nWidth)
                    nFit = FitText(nWidth - x, nLineWidth, dwOffset, pText, nLeft, pStyles, nStyleCount, nStyle,
                                   static_cast<int>(dwOffset - dwStyleStart), pDC);
                if (nFit >= nLeft) {
                    nLength = nLeft;
                } else {
                    nLength = LineBreakLength(pText, nFit, nLeft);
                    if (nLength < nFit)
                        nLineWidth -= MeasureStyled(pDC, dwOffset + nLength, pText + nLength, nFit - nLength,
                                                    pStyles, nStyleCount);
                    else if (nLength > nFit)
                        nLineWidth += MeasureStyled(pDC, dwOffset + nFit, pText + nFit, nLength - nFit, pStyles,
                                                    nStyleCount);
                }
            }
            PageLine& line = m_aLines[nLine];
            const PageLine keep = line;
            line = proto;
            if (bBeside) {
                line.nKind = keep.nKind;
                line.nThumbnailSlot = keep.nThumbnailSlot;
                line.nMediaIndex = keep.nMediaIndex;
            }
            line.nLineInParagraph = static_cast<BYTE>(std::min(n, 255));
            line.dwStart = dwOffset;
            line.nLength = static_cast<WORD>(nLength);
            line.x = static_cast<SHORT>(x);
            if (bCentred && nLineWidth < nWidth)
                line.x = static_cast<SHORT>((nWidth - nLineWidth) / 2);
            line.nStyleIndex = static_cast<WORD>(nStyle);
            line.nStyleStart = static_cast<WORD>(dwStyleStart);
            line.nHitIndex = wHit;
            ++n;
            pText += nLength;
            dwOffset += static_cast<DWORD>(nLength);
            while (nStyle < nStyleCount && dwStyleStart + StyleRunLength(StyleEntry(pStyles, nStyle)) <= dwOffset) {
                dwStyleStart += StyleRunLength(StyleEntry(pStyles, nStyle));
                ++nStyle;
            }
            if (!bSingleMark)
                wHit = FindHitIndex(pDocument, nSection, dwOffset, nFirstLine + n);
        }
        dwEndOffset = dwOffset;
    }
    if (pRun->IsFlag3Clear() && nFirstLine + n < maxLines)
        writeBlank(bIcon ? 0 : dwEndOffset);
    if (nThumbLines > 0 && n <= nThumbLines) {
        while (n < nThumbLines)
            ++n;  // the thumbnail lines stay as they were written
        if (nFirstLine + n < maxLines)
            writeBlank(dwEndOffset);
    }
    const int nTotal = std::max(n, nThumbLines);
    // Lines beside a right-hand thumbnail start at the left edge; the thumbnail stands right.
    const BOOL bRight = nTotal > 0 && m_aLines[nFirstLine].nKind == PAGE_LINE_THUMBNAIL_RIGHT;
    for (int i = 0; i < nTotal && nFirstLine + i < maxLines; ++i) {
        PageLine& line = m_aLines[nFirstLine + i];
        line.nLinesInParagraph = static_cast<BYTE>(std::min(nTotal, 255));
        if (bRight && line.nKind == PAGE_LINE_THUMBNAIL_RIGHT)
            line.x = 0;
    }
    return std::min(nTotal, maxLines - nFirstLine);
}
