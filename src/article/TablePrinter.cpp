#include "article/TablePrinter.h"

#include "article/ArticleDocument.h"
#include "article/TableMainWin.h"
#include "widgets/PrinterChoice.h"

#include <afxdlgs.h>

#include <algorithm>

namespace {

const char kHeader[] = "Printed from Veltra";
const char kFooter[] = "From Veltra\x99 Multimedia Encyclopedia, published by Veltra Publishing. All rights reserved.";
const char kDocName[] = "Veltra Multimedia Encyclopedia Table";
const char kMarks[] = "012345678**********";
const int kHeaderLines = 3;      // header, title, page number
const int kPageNumberInset = 200;

void MakeFont(CFont& font, int nTenths, BOOL bBold, BOOL bItalic, BOOL bUnderline, CDC* pDC)
{
    CFont base;
    base.CreatePointFont(nTenths, "Times New Roman", pDC);
    LOGFONT lf;
    base.GetLogFont(&lf);
    lf.lfWeight = bBold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = static_cast<BYTE>(bItalic ? 1 : 0);
    lf.lfUnderline = static_cast<BYTE>(bUnderline ? 1 : 0);
    font.CreateFontIndirect(&lf);
}

// A run's text of line n (without its terminator).
void LineText(CArticleTable& table, int nRun, const TableRunLayout& rec, int n, LPCSTR& pText, int& nCount)
{
    const TableRunEntry run = table.GetRun(nRun);
    const int nStart = rec.awLineStart[n];
    nCount = (n + 1 < rec.nLines ? rec.awLineStart[n + 1] : run.wTextLength) - nStart;
    pText = table.GetRunText(nRun) + nStart;
    while (nCount > 0 && (pText[nCount - 1] == '\t' || pText[nCount - 1] == '\r' || pText[nCount - 1] == '\n'))
        --nCount;
}

}  // namespace

// The slots as CTableFontSet numbers them: 1 italic, 2 bold, 3 regular, 4 large bold, 5 medium
// bold, 6 small (marks), 7 second medium bold, 8 medium bold italic, 9 underlined.
CTablePrintFontSet::CTablePrintFontSet(int nWidestColumns, CDC* pDC)
{
    const int s = BodyTenths(nWidestColumns);
    const int m = s == 80 ? s : s + 10;
    MakeFont(m_aFonts[1], s, FALSE, TRUE, FALSE, pDC);
    MakeFont(m_aFonts[2], s, TRUE, FALSE, FALSE, pDC);
    MakeFont(m_aFonts[3], s, FALSE, FALSE, FALSE, pDC);
    MakeFont(m_aFonts[4], s + 20, TRUE, FALSE, FALSE, pDC);
    MakeFont(m_aFonts[5], m, TRUE, FALSE, FALSE, pDC);
    MakeFont(m_aFonts[6], 80, FALSE, FALSE, FALSE, pDC);
    MakeFont(m_aFonts[7], m, TRUE, FALSE, FALSE, pDC);
    MakeFont(m_aFonts[8], m, TRUE, TRUE, FALSE, pDC);
    MakeFont(m_aFonts[9], s, FALSE, FALSE, TRUE, pDC);
}

CTablePrinter::CTablePrinter(CTableMainWin& view) : m_view(view) {}

HDC CTablePrinter::AskPrinter(BOOL& bCancelled)
{
    HDC hdc = CPrinterChoice::AskPrinter(&m_view);
    bCancelled = hdc == NULL;
    return hdc;
}

int CTablePrinter::PrintTable()
{
    m_pTable = m_view.GetTable();
    if (m_pTable == NULL || m_pTable->IsDamaged())
        return 0;
    m_limit = CPrintPageLimit();
    BOOL bCancelled = FALSE;
    HDC hdc = AskPrinter(bCancelled);
    if (bCancelled)
        return 0;
    if (hdc == NULL) {
        AfxMessageBox("Error:Cannot Locate Printer!");
        return 0;
    }
    CDC dc;
    dc.Attach(hdc);
    m_nPagesPrinted = 0;
    if (dc.StartDoc(kDocName) > 0) {
        m_nPageWidth = dc.GetDeviceCaps(HORZRES);
        m_nPageHeight = dc.GetDeviceCaps(VERTRES);
        m_pFonts = std::make_unique<CTablePrintFontSet>(m_pTable->GetWidestColumnCount(), &dc);
        CFont* pOldFont = dc.SelectObject(m_pFonts->GetBodyFont());
        const int nOldMode = dc.SetBkMode(TRANSPARENT);
        const COLORREF crOldText = dc.SetTextColor(RGB(0, 0, 0));
        if (m_pTable->LayOutForPrint(&dc, m_pFonts.get(), m_nPageWidth, m_nPageHeight) >= 1 && PreparePrintPages(&dc))
            PrintPages(&dc);
        dc.SetTextColor(crOldText);
        dc.SetBkMode(nOldMode);
        dc.SelectObject(pOldFont);
        // A job that printed nothing leaves no empty document behind.
        if (m_nPagesPrinted > 0)
            dc.EndDoc();
        else
            dc.AbortDoc();
        m_pFonts.reset();
    }
    dc.DeleteDC();
    return m_nPagesPrinted;
}

BOOL CTablePrinter::PreparePrintPages(CDC* pDC)
{
    m_nLeftMargin = m_pTable->m_nPrintTableWidth < m_nPageWidth && m_pTable->IsCentred()
                        ? (m_nPageWidth - m_pTable->m_nPrintTableWidth) / 2
                        : CArticleTable::printMargin;
    CArticleDocument* pDocument = m_view.GetDocument();
    LPCSTR lpszTable = pDocument != NULL ? pDocument->GetTableTitle(m_view.GetTableIndex()) : NULL;
    m_strTitle = lpszTable != NULL && *lpszTable != 0 ? CString(lpszTable)
                 : pDocument != NULL                  ? CString(pDocument->GetTitle())
                                                      : CString();
    pDC->SelectObject(m_pFonts->GetBodyFont());
    TEXTMETRIC tm{};
    pDC->GetTextMetrics(&tm);
    m_nLineHeight = std::max(static_cast<int>(tm.tmHeight + tm.tmExternalLeading), 1);
    m_nAscent = tm.tmAscent;

    const int H = m_pTable->m_nPrintHeadingLines;
    const int F = m_pTable->m_nPrintFootnoteLines;
    m_nLinesPerPage = m_nPageHeight / m_nLineHeight;
    m_nBodyPerPage = m_nLinesPerPage - H - F - 7;
    m_nBodyLines = std::max(m_pTable->m_nPrintLines - H, 0);
    // Headings and footnotes that leave no line for the body would page forever.
    if (m_nBodyPerPage < 1) {
        AfxMessageBox("table too tall to print");
        return FALSE;
    }
    if (m_nBodyPerPage < m_nBodyLines) {
        m_nPages = m_nBodyLines / m_nBodyPerPage + (m_nBodyLines % m_nBodyPerPage != 0 ? 1 : 0);
        m_nLastPageLines = m_nBodyLines - (m_nPages - 1) * m_nBodyPerPage;
    } else {
        m_nPages = 1;
        m_nLastPageLines = m_nBodyLines;
    }
    return TRUE;
}

void CTablePrinter::PrintPages(CDC* pDC)
{
    int nLine = m_pTable->m_nPrintHeadingLines;
    for (int nPage = 1; nPage <= m_nPages; ++nPage) {
        const int nCount = nPage == m_nPages ? m_nLastPageLines : m_nBodyPerPage;
        PrintPage(pDC, nLine, nLine + nCount, nPage);
        nLine += nCount;
        ++m_nPagesPrinted;
        if (m_limit.IsLastPage(nPage))
            break;
    }
}

void CTablePrinter::PrintPage(CDC* pDC, int nFirst, int nLast, int nPage)
{
    const int lh = m_nLineHeight;
    pDC->StartPage();
    pDC->SetTextAlign(TA_LEFT | TA_TOP);
    pDC->SelectObject(m_pFonts->GetFontForCode(3));
    pDC->TextOut(std::max((m_nPageWidth - pDC->GetTextExtent(kHeader).cx) / 2, 0), m_nAscent, kHeader);
    pDC->SelectObject(m_pFonts->GetBodyFont());
    pDC->TextOut(std::max((m_nPageWidth - pDC->GetTextExtent(m_strTitle).cx) / 2, 0), lh + m_nAscent, m_strTitle);
    CString strPage;
    strPage.Format("Page %d", nPage);
    pDC->TextOut(m_nPageWidth - kPageNumberInset - pDC->GetTextExtent(strPage).cx, (kHeaderLines - 1) * lh + m_nAscent,
                 strPage);
    PrintBody(pDC, nFirst, nLast);
    if (m_pTable->HasFootnotes()) {
        m_nFootnoteStart = m_nLinesPerPage - (m_pTable->m_nPrintFootnoteLines + 1);
        PrintFootnotes(pDC);
    }
    pDC->SelectObject(m_pFonts->GetFontForCode(3));
    pDC->TextOut((m_nPageWidth - pDC->GetTextExtent(kFooter).cx) / 2, (m_nLinesPerPage - 1) * lh, kFooter);
    pDC->EndPage();
}

void CTablePrinter::PrintBody(CDC* pDC, int nFirst, int nLast)
{
    const int lh = m_nLineHeight;
    const int H = m_pTable->m_nPrintHeadingLines;
    const int nBodyTop = (H + 4) * lh;
    for (int r = 0; r < m_pTable->GetRunCount(); ++r) {
        if (m_pTable->IsFootnoteRun(r))
            continue;
        const TableRunLayout& rec = m_pTable->GetPrintRunLayout(r);
        const TableRunEntry run = m_pTable->GetRun(r);
        pDC->SelectObject(m_pFonts->GetFontForCode(run.nFontCode));
        const BOOL bHeading = rec.nVFreeze > 0;
        int nFirstX = -1, nFirstY = -1, nLastRight = 0, nLastY = -1;
        for (int n = 0; n < rec.nLines; ++n) {
            const int nRow = rec.nRow + n;
            // Heading and title rows stand on lines 4 on of every page; the page's body rows
            // follow them, each body row on one page only.
            if (!bHeading && (nRow < nFirst || nRow >= nLast))
                continue;
            const int x = m_nLeftMargin + (n == 0 ? rec.x : rec.xColumn);
            const int y = bHeading ? (nRow + 4) * lh : (nRow - nFirst) * lh + nBodyTop;
            LPCSTR pText = NULL;
            int nCount = 0;
            LineText(*m_pTable, r, rec, n, pText, nCount);
            if (nCount <= 0 || x <= 0 || x >= m_nPageWidth)
                continue;
            pDC->TextOut(x, y, pText, nCount);
            if (n == 0) {
                nFirstX = x;
                nFirstY = y;
            }
            nLastRight = x + pDC->GetTextExtent(pText, nCount).cx;
            nLastY = y;
        }
        // Footnote marks, small: before the first line or behind the last.
        const int nMarks = run.nFlags & 7;
        const BOOL bBehind = (run.nFlags & 8) != 0;
        if (nMarks == 0 || (bBehind ? nLastY < 0 : nFirstY < 0))
            continue;
        pDC->SelectObject(m_pFonts->GetFontForCode(3));
        const int nGap = pDC->GetTextExtent("0", 1).cx + 2;
        int x = bBehind ? nLastRight : nFirstX - nGap * nMarks;
        for (int m = 0; m < nMarks; ++m, x += nGap) {
            const int nValue = std::clamp(m_pTable->GetRunMark(r, m), 0, 18);
            pDC->TextOut(x, (bBehind ? nLastY : nFirstY) - lh / 6, &kMarks[nValue], 1);
        }
    }
}

void CTablePrinter::PrintFootnotes(CDC* pDC)
{
    const int lh = m_nLineHeight;
    const int nFirst = m_pTable->GetFootnoteFirstRun();
    const int nEnd = std::min(nFirst + m_pTable->GetFootnoteRunCount(), m_pTable->GetRunCount());
    for (int r = nFirst; r < nEnd; ++r) {
        const TableRunLayout& rec = m_pTable->GetPrintRunLayout(r);
        const TableRunEntry run = m_pTable->GetRun(r);
        pDC->SelectObject(m_pFonts->GetFontForCode(run.nFontCode));
        for (int n = 0; n < rec.nLines; ++n) {
            LPCSTR pText = NULL;
            int nCount = 0;
            LineText(*m_pTable, r, rec, n, pText, nCount);
            if (nCount > 0)
                pDC->TextOut(n == 0 ? rec.x : rec.xColumn, (rec.nRow + n + m_nFootnoteStart) * lh, pText, nCount);
        }
        if ((run.nFlags & 7) != 0 && rec.nLines > 0) {
            pDC->SelectObject(m_pFonts->GetBoldFont());
            const int nValue = std::clamp(m_pTable->GetRunMark(r, 0), 0, 18);
            pDC->TextOut(rec.xColumn, (rec.nRow + m_nFootnoteStart) * lh, &kMarks[nValue], 1);
        }
    }
}
