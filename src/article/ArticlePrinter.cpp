#include "article/ArticlePrinter.h"

#include "article/ArticleDocument.h"
#include "article/ArticlePageLayout.h"
#include "article/ArticlePageWin.h"
#include "article/ArticleRecord.h"
#include "article/ArticleSection.h"
#include "article/ParagraphRun.h"
#include "base/Reference.h"
#include "media/GrfDocument.h"
#include "widgets/Dib.h"
#include "widgets/PrinterChoice.h"

#include <afxdlgs.h>

#include <algorithm>
#include <climits>
#include <cstring>

namespace {

const char kHeader[] = "Printed from Veltra";
const char kFooter[] = "From Veltra\x99 Multimedia Encyclopedia, published by Veltra Publishing. All rights reserved.";
const char kDocName[] = "Veltra Multimedia Encyclopedia Article";

const int kFixedSlot = 3;
const int kSmallSlot = 4;
const int kFooterSlot = 5;
const int kSubscriptSlot = 8;
const int kUnderlinedSlot = 10;
const int kBoldUnderlinedSlot = 11;
const int kItalicUnderlinedSlot = 12;

// The print faces of slots 0-9 (tenths of a point at the print size of 130); slot 10 is slot 0
// underlined, made by the layout.
struct PrintFace {
    LPCSTR lpszFace;
    int nTenths;
    int nWeight;
    BOOL bItalic;
};
const PrintFace kPrintFaces[10] = {
    {"Times New Roman", 130, FW_NORMAL, FALSE}, {"Times New Roman", 130, FW_BOLD, FALSE},
    {"Times New Roman", 130, FW_NORMAL, TRUE},  {"Times New Roman", 130, FW_NORMAL, FALSE},
    {"Times New Roman", 90, FW_NORMAL, FALSE},  {"Times New Roman", 90, FW_NORMAL, FALSE},
    {"Symbol", 130, FW_NORMAL, FALSE},          {"VeltraMath", 130, FW_NORMAL, FALSE},
    {"Times New Roman", 90, FW_NORMAL, TRUE},   {"Times New Roman", 90, FW_NORMAL, TRUE},
};

// A point font of a face, then given its weight, slant and underline.
void CreateStyledPointFont(CFont& font, LPCSTR lpszFace, int nTenths, int nWeight, BOOL bItalic, BOOL bUnderline,
                           CDC* pDC)
{
    CFont base;
    base.CreatePointFont(nTenths, lpszFace, pDC);
    LOGFONT lf;
    base.GetLogFont(&lf);
    if (nWeight != FW_NORMAL)
        lf.lfWeight = nWeight;
    lf.lfItalic = static_cast<BYTE>(bItalic ? 1 : 0);
    lf.lfUnderline = static_cast<BYTE>(bUnderline ? 1 : 0);
    font.CreateFontIndirect(&lf);
}

// The page layout's fonts and fitting routine, with the print faces in its slots.
class CPrintFontLayout : public CArticlePageLayout {
protected:
    void CreateSlotFont(CFont& font, int nSlot, int, CDC* pDC) override
    {
        const PrintFace& face = kPrintFaces[nSlot];
        CreateStyledPointFont(font, face.lpszFace, face.nTenths, face.nWeight, face.bItalic, FALSE, pDC);
    }
};

WORD StyleEntry(const BYTE* pStyles, int i)
{
    return ArticleWord(pStyles + 2 * i);
}

}  // namespace

CArticlePrinter::CArticlePrinter(CArticlePageWin& page) : m_page(page) {}

CArticlePrinter::~CArticlePrinter()
{
    delete[] m_aLines;
}

HDC CArticlePrinter::AskPrinter()
{
    return CPrinterChoice::AskPrinter(&m_page);
}

// ---- fonts -------------------------------------------------------------------------------------

void CArticlePrinter::CreatePrintFonts(CDC* pDC)
{
    m_pFonts = std::make_unique<CPrintFontLayout>();
    m_pFonts->SetTextSize(2, pDC);
    m_boldUnderline.DeleteObject();
    m_italicUnderline.DeleteObject();
    m_titleFont.DeleteObject();
    CreateStyledPointFont(m_boldUnderline, "Times New Roman", 130, FW_BOLD, FALSE, TRUE, pDC);
    CreateStyledPointFont(m_italicUnderline, "Times New Roman", 130, FW_NORMAL, TRUE, TRUE, pDC);
    CreateStyledPointFont(m_titleFont, "Times New Roman", 160, FW_BOLD, FALSE, FALSE, pDC);
}

int CArticlePrinter::PrintFontSlot(WORD wEntry, BOOL bUnderline)
{
    if ((wEntry & 1) == 0)
        return bUnderline ? kUnderlinedSlot : 0;
    const int nCode = (wEntry >> 1) & 0x0F;
    if (nCode == 0)
        return bUnderline ? kBoldUnderlinedSlot : 1;
    if (nCode == 2 || nCode == 3)
        return bUnderline ? kItalicUnderlinedSlot : 2;
    if (nCode >= 4 && nCode <= 9)
        return nCode;
    return bUnderline ? kUnderlinedSlot : 0;
}

CFont* CArticlePrinter::GetPrintFont(WORD wEntry, BOOL bUnderline)
{
    const int nSlot = PrintFontSlot(wEntry, bUnderline);
    if (nSlot == kBoldUnderlinedSlot)
        return &m_boldUnderline;
    if (nSlot == kItalicUnderlinedSlot)
        return &m_italicUnderline;
    return m_pFonts->GetFont(nSlot);
}

// ---- the job -----------------------------------------------------------------------------------

BOOL CArticlePrinter::RangeForScope(int nScope, int& nFirst, int& nLast)
{
    const int nCount = m_pDocument->GetSectionCount();
    const int nTop = m_page.GetLineCount() > 0 ? std::max<int>(m_page.GetLine(m_page.GetTopLine()).nSection, 0) : 0;
    switch (nScope) {
    case ARTICLE_PRINT_ALL:
        nFirst = 0;
        nLast = nCount - 1;
        break;
    case ARTICLE_PRINT_SECTION:
        nFirst = nLast = nTop;
        break;
    case ARTICLE_PRINT_PAGE:
        nFirst = nTop;
        nLast = nCount - 1;
        break;
    case ARTICLE_PRINT_SELECTION:
        if (!m_page.HasSelection())
            return FALSE;
        if (m_page.IsSelectAll()) {
            nFirst = 0;
            nLast = nCount - 1;
        } else {
            nFirst = m_page.GetSelectionFirstSection();
            nLast = m_page.GetSelectionLastSection();
        }
        break;
    default: return FALSE;
    }
    nLast = std::min(nLast, nCount - 1);
    return nFirst >= 0 && nFirst <= nLast;
}

int CArticlePrinter::PrintArticle(int nScope)
{
    m_pDocument = m_page.GetDocument();
    if (m_pDocument == NULL || !m_pDocument->IsLoaded())
        return 0;
    if (m_page.IsHighlighterOn())
        m_page.ToggleHighlighter();
    m_nScope = nScope;
    m_bNoPictures = CPrintPageLimit::PicturesOff();
    m_limit = CPrintPageLimit();
    delete[] m_aLines;
    m_aLines = new PageLine[bufferLines];
    std::memset(m_aLines, 0, sizeof(PageLine) * bufferLines);

    HDC hdc = AskPrinter();
    if (hdc == NULL) {
        delete[] m_aLines;
        m_aLines = NULL;
        return 0;
    }
    CDC dc;
    dc.Attach(hdc);
    m_pDC = &dc;
    CreatePrintFonts(&dc);
    m_nPagesPrinted = 0;
    if (dc.StartDoc(kDocName) > 0) {
        m_nPageWidth = dc.GetDeviceCaps(HORZRES);
        m_nPageHeight = dc.GetDeviceCaps(VERTRES);
        m_nLeft = dc.GetDeviceCaps(LOGPIXELSX);
        m_nTextWidth = m_nPageWidth - m_nLeft;
        CFont* pOldFont = dc.SelectObject(m_pFonts->GetFont(0));
        TEXTMETRIC tm;
        dc.GetTextMetrics(&tm);
        m_nLineHeight = std::max(static_cast<int>(tm.tmHeight + tm.tmExternalLeading), 1);
        // At least one line a page, and room for a page in the buffer, however small the sheet.
        m_nLinesPerPage = std::clamp(m_nPageHeight / m_nLineHeight - 10, 1, bufferLines - 1);
        m_nScreenLineHeight = std::max(m_page.GetLineHeight(), 1);
        m_strTitle = m_pDocument->GetTitle();
        m_strTitle.MakeUpper();
        const UINT nOldAlign = dc.SetTextAlign(TA_BOTTOM | TA_LEFT);
        const int nOldMode = dc.SetBkMode(TRANSPARENT);

        int nFirst = 0;
        int nLast = -1;
        if (RangeForScope(nScope, nFirst, nLast)) {
            m_bNoPictures = m_bNoPictures || nFirst > 0;
            m_nBuffered = 0;
            m_nPage = 1;
            m_nForcedBreak = 0;
            m_nPictureCounter = 0;
            m_bEnded = FALSE;
            for (int s = nFirst; s <= nLast && !m_bEnded; ++s) {
                std::unique_ptr<CArticleSection> pSection(m_pDocument->GetSection(s));
                if (!pSection)
                    break;
                const int nRuns = pSection->GetRunCount();
                for (int p = 0; p < nRuns && !m_bEnded; ++p) {
                    CParagraphRun* pRun = pSection->GetRun(p);
                    pRun->SetFormatYear(m_pDocument->GetFormatYear());
                    LayoutPrintParagraph(pSection.get(), pRun, s, p);
                }
                const BOOL bLast = s == nLast;
                while (!m_bEnded && (bLast ? (m_nBuffered > 0 || m_nPagesPrinted == 0) : m_nBuffered >= m_nLinesPerPage))
                    PrintBufferedPage(m_nForcedBreak > 0 ? m_nForcedBreak : m_nLinesPerPage);
            }
        }
        dc.SetTextAlign(nOldAlign);
        dc.SetBkMode(nOldMode);
        dc.SelectObject(pOldFont);
        // A job that printed nothing (no selection) leaves no empty document behind.
        if (m_nPagesPrinted > 0)
            dc.EndDoc();
        else
            dc.AbortDoc();
    }
    m_pFonts.reset();
    m_boldUnderline.DeleteObject();
    m_italicUnderline.DeleteObject();
    m_titleFont.DeleteObject();
    m_pDC = NULL;
    dc.DeleteDC();
    delete[] m_aLines;
    m_aLines = NULL;
    return m_nPagesPrinted;
}

CString CArticlePrinter::PageLabel() const
{
    CString strLabel;
    if (m_nScope == ARTICLE_PRINT_ALL && m_nPage >= 2)
        strLabel.Format("Page %d", m_nPage);
    return strLabel;
}

BOOL CArticlePrinter::PrintBufferedPage(int nCut)
{
    // A break before a picture never cuts deeper than a page: the lines before it that do not
    // fit go on the next page, where the break is looked for again.
    nCut = std::clamp(nCut, 1, m_nLinesPerPage);
    PrintPageDecorations(0, std::min(nCut, m_nBuffered), m_strTitle, PageLabel());
    ++m_nPagesPrinted;
    ++m_nPage;
    m_nForcedBreak = m_nForcedBreak > nCut ? m_nForcedBreak - nCut : 0;
    const int nCarried = std::max(m_nBuffered - nCut, 0);
    if (nCarried > 0)
        std::memmove(m_aLines, m_aLines + nCut, sizeof(PageLine) * static_cast<size_t>(nCarried));
    std::memset(m_aLines + nCarried, 0, sizeof(PageLine) * static_cast<size_t>(bufferLines - nCarried));
    m_nBuffered = nCarried;
    if (m_nScope == ARTICLE_PRINT_PAGE || m_limit.Reached(m_nPagesPrinted))
        m_bEnded = TRUE;
    return !m_bEnded;
}

BOOL CArticlePrinter::FlushPages(int nAtLeast)
{
    while (!m_bEnded && m_nBuffered >= nAtLeast && m_nBuffered > 0)
        PrintBufferedPage(m_nForcedBreak > 0 ? m_nForcedBreak : m_nLinesPerPage);
    return !m_bEnded;
}

PageLine* CArticlePrinter::NewLine()
{
    // A full buffer prints its full pages: the paragraph goes on in the room they leave.
    if (m_nBuffered >= bufferLines && !FlushPages(m_nLinesPerPage))
        return NULL;
    return &m_aLines[m_nBuffered++];
}

// ---- layout ------------------------------------------------------------------------------------

BOOL CArticlePrinter::ShouldPrintRun(CParagraphRun* pRun, CArticleSection* pSection, int nSection)
{
    if (m_nScope != ARTICLE_PRINT_SELECTION || m_page.IsSelectAll())
        return TRUE;
    LPBYTE pBase = pSection->GetText();
    const int nStart = static_cast<int>(pRun->GetTextAddress() - pBase);
    const int nEnd = nStart + static_cast<int>(pRun->GetTextLength());
    if (nSection == m_page.GetSelectionFirstSection() && nEnd <= m_page.GetSelectionStartOffset())
        return FALSE;
    if (nSection == m_page.GetSelectionLastSection() && nStart > m_page.GetSelectionEndOffset())
        return FALSE;
    return TRUE;
}

BOOL CArticlePrinter::FirstPicturePrints()
{
    const DWORD dwLink = m_page.GetLayout().GetFirstPictureLink();
    if (dwLink == 0)
        return FALSE;
    BOOL bPrints = FALSE;
    try {
        CGrfDocument picture;
        std::unique_ptr<CReference> pReference(CreateItemReference(static_cast<LONG>(dwLink), ""));
        if (pReference && picture.Load(pReference.get(), FALSE)) {
            const LONG nKind = picture.GetKind();
            bPrints = (nKind == REFKIND_PICTURE || nKind == REFKIND_ONLINESOUND || nKind == REFKIND_MAP) &&
                      picture.GetLoadedSize() > CGrfDocument::offCanCopy &&
                      picture.CanCopy();
        }
    } catch (CException* e) {
        e->Delete();
        bPrints = FALSE;
    }
    return bPrints;
}

int CArticlePrinter::LayoutPrintPicture(CParagraphRun*, const PageLine& proto)
{
    CArticlePageLayout& screen = m_page.GetLayout();
    if (screen.GetPictureCount() == 0 || m_bNoPictures || m_nScope == ARTICLE_PRINT_SELECTION)
        return 0;
    const int nIndex = m_nPictureCounter;
    if (nIndex >= screen.GetPictureCount() || nIndex >= maxPictures)
        return 0;
    ++m_nPictureCounter;
    if (proto.nSection == 0 && proto.nParagraph == 0 && !FirstPicturePrints())
        return 0;
    const DWORD dwOffset = screen.GetPictureOffset(nIndex);
    const DWORD dwBytes = screen.GetPictureOffset(nIndex + 1) - dwOffset;
    CDib dib(m_pDocument->GetPictureArea() + dwOffset, dwBytes);
    if (dib.GetInfoHeader() == NULL)
        return 0;
    // A picture never needs more than a page.
    const int nLines = std::min(dib.GetHeight() / m_nScreenLineHeight + 2, m_nLinesPerPage);
    while (!m_bEnded && m_nBuffered + nLines > bufferLines)
        PrintBufferedPage(std::min(m_nForcedBreak > 0 ? m_nForcedBreak : m_nLinesPerPage, m_nBuffered));
    if (m_bEnded)
        return 0;
    const int nStart = m_nBuffered;
    for (int n = 0; n < nLines; ++n) {
        PageLine& line = m_aLines[m_nBuffered++];
        line = proto;
        line.nKind = PAGE_LINE_PICTURE;
        line.nLineInParagraph = static_cast<BYTE>(n);
        line.nLinesInParagraph = static_cast<BYTE>(nLines);
        line.dwStart = dwOffset;
        line.nLength = static_cast<WORD>(std::min<DWORD>(dwBytes, 0xFFFF));
        line.nMediaIndex = static_cast<WORD>(nIndex);
        line.x = static_cast<SHORT>(m_nLeft);
    }
    // A picture that would cross the page's end starts the next page.
    if (m_nForcedBreak == 0 && nStart > 0 && m_nBuffered > m_nLinesPerPage)
        m_nForcedBreak = nStart;
    return nLines;
}

int CArticlePrinter::LayoutPrintParagraph(CArticleSection* pSection, CParagraphRun* pRun, int nSection, int nParagraph)
{
    if (m_bEnded || pRun->HasAllFlags() || pRun->GetKind() >= 4)
        return 0;
    PageLine proto{};
    proto.nSection = static_cast<SHORT>(nSection);
    proto.nParagraph = static_cast<WORD>(nParagraph);
    proto.nSectionNumber = pSection->GetSectionNumber();
    if (pRun->HasNoText())
        return LayoutPrintPicture(pRun, proto);
    if (!ShouldPrintRun(pRun, pSection, nSection))
        return 0;

    CDC* pDC = m_pDC;
    CArticlePageLayout& fonts = *m_pFonts;
    LPCSTR pBase = reinterpret_cast<LPCSTR>(pSection->GetText());
    LPCSTR pText = reinterpret_cast<LPCSTR>(pRun->GetTextAddress());
    const LPCSTR pEnd = pText + pRun->GetTextLength();
    const BYTE* pStyles = pSection->GetStyleTable();
    const int nStyleCount = pSection->GetShortListCount();
    DWORD dwOffset = static_cast<DWORD>(pText - pBase);
    int nStyle = 0;
    DWORD dwStyleStart = 0;
    auto advanceStyle = [&]() {
        while (nStyle < nStyleCount &&
               dwStyleStart + CArticlePageLayout::StyleRunLength(StyleEntry(pStyles, nStyle)) <= dwOffset) {
            dwStyleStart += CArticlePageLayout::StyleRunLength(StyleEntry(pStyles, nStyle));
            ++nStyle;
        }
    };
    advanceStyle();

    pDC->SelectObject(fonts.GetFont(0));
    const int nSpace = pDC->GetTextExtent(" ", 1).cx;
    int xFirst = m_nLeft;
    int xOther = m_nLeft;
    if (pRun->GetFlag2()) {
        const BYTE* pIndents = pSection->GetIndentTable();
        for (int e = 0; e < pSection->GetLongListCount(); ++e) {
            const BYTE* pEntry = pIndents + 4 * e;
            if (pEntry[0] <= nParagraph && nParagraph <= pEntry[1]) {
                xFirst += pEntry[2] * nSpace;
                xOther += pEntry[3] * nSpace;
                break;
            }
        }
    }
    const BOOL bCentred = pRun->GetFlag0() && !pRun->IsHeading();
    int n = 0;
    while (pText < pEnd) {
        const int x = n == 0 ? xFirst : xOther;
        const int nLeft = static_cast<int>(pEnd - pText);
        int nLength = 0;
        int nLineWidth = 0;
        if (pRun->GetFlag1()) {
            pDC->SelectObject(fonts.GetFont(kFixedSlot));
            nLength = nLeft;
            nLineWidth = nLeft * pDC->GetTextExtent(" ", 1).cx;
        } else {
            int nFit = 0;
            if (x < m_nTextWidth)
                nFit = fonts.FitText(m_nTextWidth - x, nLineWidth, dwOffset, pText, nLeft, pStyles, nStyleCount, nStyle,
                                     static_cast<int>(dwOffset - dwStyleStart), pDC);
            if (nFit >= nLeft) {
                nLength = nLeft;
            } else {
                nLength = std::max(LineBreakLength(pText, nFit, nLeft), 1);
                // The width of the line as it prints, style run by style run.
                fonts.FitText(INT_MAX / 2, nLineWidth, dwOffset, pText, nLength, pStyles, nStyleCount, nStyle,
                              static_cast<int>(dwOffset - dwStyleStart), pDC);
            }
        }
        PageLine* pLine = NewLine();
        if (pLine == NULL)
            return n;
        *pLine = proto;
        pLine->nLineInParagraph = static_cast<BYTE>(std::min(n, 255));
        pLine->dwStart = dwOffset;
        pLine->nLength = static_cast<WORD>(nLength);
        pLine->x = static_cast<SHORT>(x);
        if (bCentred && nLineWidth < m_nTextWidth)
            pLine->x = static_cast<SHORT>((m_nTextWidth - nLineWidth + 125) / 2);
        pLine->nStyleIndex = static_cast<WORD>(nStyle);
        pLine->nStyleStart = static_cast<WORD>(dwStyleStart);
        ++n;
        pText += nLength;
        dwOffset += static_cast<DWORD>(nLength);
        advanceStyle();
    }
    if (pRun->IsFlag3Clear()) {
        PageLine* pLine = NewLine();
        if (pLine == NULL)
            return n;
        *pLine = proto;
        pLine->dwStart = dwOffset;
        pLine->nLineInParagraph = static_cast<BYTE>(std::min(n, 255));
        ++n;
    }
    for (int i = std::max(m_nBuffered - n, 0); i < m_nBuffered; ++i)
        m_aLines[i].nLinesInParagraph = static_cast<BYTE>(std::min(n, 255));
    return n;
}

// ---- pages -------------------------------------------------------------------------------------

int CArticlePrinter::CentreX(const CString& strText)
{
    return (m_nPageWidth - m_pDC->GetTextExtent(strText).cx) / 2;
}

void CArticlePrinter::PrintPageDecorations(int nFirst, int nEnd, const CString& strTitle, const CString& strLabel)
{
    CDC* pDC = m_pDC;
    const int L = m_nLineHeight;
    pDC->StartPage();
    pDC->SelectObject(m_pFonts->GetFont(kSmallSlot));
    pDC->TextOut(CentreX(kHeader), L, kHeader);

    CFont* pTitleFont = strLabel.IsEmpty() ? &m_titleFont : m_pFonts->GetFont(1);
    pDC->SelectObject(pTitleFont);
    if (pDC->GetTextExtent(strTitle).cx > m_nTextWidth && pTitleFont == &m_titleFont) {
        pTitleFont = m_pFonts->GetFont(1);
        pDC->SelectObject(pTitleFont);
    }
    if (pDC->GetTextExtent(strTitle).cx > m_nTextWidth) {
        pTitleFont = m_pFonts->GetFont(0);
        pDC->SelectObject(pTitleFont);
    }
    TEXTMETRIC tm;
    pDC->GetTextMetrics(&tm);
    pDC->TextOut(CentreX(strTitle), 4 * L, strTitle);
    if (!strLabel.IsEmpty()) {
        pDC->SelectObject(m_pFonts->GetFont(0));
        pDC->TextOut(CentreX(strLabel), 4 * L + tm.tmHeight, strLabel);
    }

    std::unique_ptr<CArticleSection> pSection;
    for (int i = nFirst; i < nEnd; ++i) {
        const PageLine& line = m_aLines[i];
        if (line.nKind == PAGE_LINE_PICTURE) {
            CArticlePageLayout& screen = m_page.GetLayout();
            const int nIndex = line.nMediaIndex;
            if (nIndex < screen.GetPictureCount()) {
                const DWORD dwOffset = screen.GetPictureOffset(nIndex);
                CDib dib(m_pDocument->GetPictureArea() + dwOffset, screen.GetPictureOffset(nIndex + 1) - dwOffset);
                const int w = std::max(dib.GetWidth(), 1);
                const int h = std::max(dib.GetHeight(), 1);
                if (dib.GetInfoHeader() != NULL) {
                    const int nScale = std::max(std::min(m_nPageWidth * 100 / w, (line.nLinesInParagraph - 1) * L * 100 / h), 1);
                    const int cx = w * nScale / 100;
                    const int cy = h * nScale / 100;
                    dib.DrawStretched(pDC, (m_nPageWidth - cx) / 2, 7 * L + (i - nFirst - 1) * L, cx, cy);
                }
            }
            i += line.nLinesInParagraph - line.nLineInParagraph - 1;
            continue;
        }
        if (line.nLength == 0)
            continue;
        if (!pSection || pSection->GetIndex() != line.nSection)
            pSection.reset(m_pDocument->GetSection(line.nSection));
        if (pSection)
            PrintPageLines(pDC, i, 7 * L + (i - nFirst) * L, pSection.get());
    }

    pDC->SelectObject(m_pFonts->GetFont(kFooterSlot));
    pDC->TextOut(CentreX(kFooter), m_nPageHeight - L, kFooter);
    pDC->EndPage();
}

void CArticlePrinter::PrintPageLines(CDC* pDC, int nLine, int y, CArticleSection* pSection)
{
    const PageLine& line = m_aLines[nLine];
    if (line.nKind != PAGE_LINE_TEXT || line.nLength == 0 || pSection == NULL)
        return;
    LPCSTR pText = reinterpret_cast<LPCSTR>(pSection->GetText());
    const BYTE* pStyles = pSection->GetStyleTable();
    const int nStyleCount = pSection->GetShortListCount();
    int x = line.x;
    int nPos = static_cast<int>(line.dwStart);
    const int nEnd = nPos + line.nLength;
    int nStyle = line.nStyleIndex;
    int nStyleStart = line.nStyleStart;
    while (nPos < nEnd) {
        const WORD wEntry = nStyle < nStyleCount ? StyleEntry(pStyles, nStyle) : 0;
        const int nStyleEnd = nStyle < nStyleCount ? nStyleStart + CArticlePageLayout::StyleRunLength(wEntry) : nEnd;
        if (nStyleEnd <= nPos) {
            nStyleStart = nStyleEnd;
            ++nStyle;
            continue;
        }
        const int nChunkEnd = std::min(nEnd, nStyleEnd);
        for (int p = nPos; p < nChunkEnd;) {
            int nSpan = 0;
            int nSpanLength = 0;
            int nPieceEnd = nChunkEnd;
            BOOL bUnderline = FALSE;
            if (m_page.FindStoredHighlight(pSection->GetIndex(), p, nChunkEnd - p, nSpan, nSpanLength, FALSE)) {
                if (nSpan > p) {
                    nPieceEnd = std::min(nSpan, nChunkEnd);
                } else {
                    nPieceEnd = std::min(nSpan + nSpanLength + 1, nChunkEnd);
                    bUnderline = TRUE;
                }
            }
            if (nPieceEnd <= p)
                nPieceEnd = nChunkEnd;
            const int nSlot = PrintFontSlot(wEntry, bUnderline);
            pDC->SelectObject(GetPrintFont(wEntry, bUnderline));
            const int yText = (nSlot == kSmallSlot || nSlot == kSubscriptSlot) ? y - m_nLineHeight / 3 : y;
            pDC->TextOut(x, yText, pText + p, nPieceEnd - p);
            x += pDC->GetTextExtent(pText + p, nPieceEnd - p).cx;
            p = nPieceEnd;
        }
        nPos = nChunkEnd;
        if (nPos >= nStyleEnd) {
            nStyleStart = nStyleEnd;
            ++nStyle;
        }
    }
}
