#include "article/ArticleTable.h"

#include "article/ArticleDocument.h"
#include "base/HitList.h"

#include <algorithm>
#include <cstring>

namespace {

enum : DWORD {
    TABLE_HEADER_SIZE = 40,
    TABLE_LINK_SIZE = 10,
    TABLE_BAND_SIZE = 4,
    TABLE_CELL_SIZE = 6,
    TABLE_RUN_SIZE = 10,
};

const int kMarkGap = 10;  // pixels before or behind the footnote marks

BOOL IsBreakByte(BYTE c)
{
    return c != 0 && std::strchr(" .;:-!?\n", c) != NULL;
}

BOOL IsDigit(BYTE c)
{
    return c >= '0' && c <= '9';
}

BOOL IsPunctuation(BYTE c)
{
    return (c >= '!' && c <= '/') || (c >= ':' && c <= '@') || (c >= '[' && c <= '`') || (c >= '{' && c <= '~');
}

int MarkCount(const TableRunEntry& run)
{
    return run.nFlags & 7;
}

BOOL MarksBehind(const TableRunEntry& run)
{
    return MarkCount(run) != 0 && (run.nFlags & 8) != 0;
}

BOOL MarksBefore(const TableRunEntry& run)
{
    return MarkCount(run) != 0 && (run.nFlags & 8) == 0;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Fonts

CTableFontSet::CTableFontSet(int nBasePoints, CDC* pDC)
{
    const int nBase = nBasePoints * 10;
    m_aFonts[1].CreatePointFont(nBase, "Arial Italic", pDC);
    m_aFonts[2].CreatePointFont(nBase, "Arial Bold", pDC);
    m_aFonts[3].CreatePointFont(nBase, "Arial", pDC);
    m_aFonts[4].CreatePointFont(nBase + 30, "Arial Bold", pDC);
    m_aFonts[5].CreatePointFont(nBase + 10, "Arial Bold", pDC);
    m_aFonts[6].CreatePointFont(90, "Arial Bold", pDC);
    m_aFonts[7].CreatePointFont(nBase + 10, "Arial Bold", pDC);
    m_aFonts[8].CreatePointFont(nBase + 10, "Arial Italic", pDC);
    LOGFONT lf;
    m_aFonts[3].GetLogFont(&lf);
    lf.lfUnderline = 1;
    m_aFonts[9].CreateFontIndirect(&lf);
}

CTableFontSet::~CTableFontSet() = default;

int CTableFontSet::BasePointsForScreenClass(int nScreenClass)
{
    return nScreenClass <= 0 ? 10 : nScreenClass == 1 ? 11 : 12;
}

CFont* CTableFontSet::GetFontForCode(int nCode)
{
    switch (nCode) {
    case 1: case 13: case 14: case 15: return &m_aFonts[2];
    case 2: return &m_aFonts[1];
    case 3: case 4: return &m_aFonts[6];
    case 6: return &m_aFonts[4];
    case 7: case 8: case 9: return &m_aFonts[5];
    case 10: case 11: return &m_aFonts[7];
    case 12: return &m_aFonts[8];
    case 16: return &m_aFonts[9];
    default: return &m_aFonts[3];
    }
}

// ---------------------------------------------------------------------------------------------
// Column tables

int CArticleTable::ColumnLeft(int k, int j)
{
    if (k <= 1)
        return 10;
    if (k == 2)
        return j == 0 ? 10 : 310;
    if (k <= 6)
        return 10 + 200 * j;
    if (k <= 13)
        return 10 + 150 * j;
    return j <= 9 ? 10 + 100 * j : 110 + 100 * j;
}

int CArticleTable::BandWidth(int k)
{
    if (k <= 3)
        return 610;
    if (k <= 5)
        return 610 + 200 * (k - 3);
    if (k == 6)
        return 1200;
    if (k <= 13)
        return 1060 + 150 * (k - 7);
    return 1510 + 100 * (k - 14);
}

int CArticleTable::WrapWidth(int k)
{
    if (k <= 1)
        return 600;
    if (k == 2)
        return 290;
    if (k <= 6)
        return 190;
    return k <= 13 ? 140 : 90;
}

int CArticleTable::ColumnPitch(int k)
{
    if (k <= 2)
        return 20;
    if (k <= 6)
        return 200;
    return k <= 13 ? 150 : 100;
}

// ---------------------------------------------------------------------------------------------
// Construction

CArticleTable::CArticleTable(CArticleDocument* pDocument, int nTable, CTableFontSet* pFonts)
    : m_pDocument(pDocument), m_pFonts(pFonts), m_nTable(nTable)
{
    if (!Locate(nTable))
        return;
    m_aLayout.resize(static_cast<size_t>(m_nRuns));
    m_aPrintLayout.resize(static_cast<size_t>(m_nRuns));
    m_wField38 = ArticleWord(m_pTable + 38);
    // Terminators inside the text become TAB; the text's last byte stays.
    for (int i = 0; i + 1 < m_nTextLength; ++i)
        if (m_pText[i] == 0)
            m_pText[i] = '\t';
    CollectHits();
    m_nLines = LayOut();
}

CArticleTable::~CArticleTable() = default;

BOOL CArticleTable::Refuse(LPCSTR lpszWhat)
{
    m_bDamaged = TRUE;
    m_strDamage = lpszWhat;
    m_pTable = m_pText = m_pLinks = m_pBands = m_pCells = m_pRuns = NULL;
    m_nTextLength = m_nLinks = m_nBands = m_nCells = m_nRuns = 0;
    return FALSE;
}

BOOL CArticleTable::Locate(int nTable)
{
    if (m_pDocument == NULL || m_pDocument->GetRecord() == NULL || m_pDocument->GetDescriptor() == NULL)
        return Refuse("no article");
    if (nTable < 0 || nTable >= m_pDocument->GetTableCount())
        return Refuse("no such table");
    LPBYTE pRecord = m_pDocument->GetRecord();
    const LPBYTE pEnd = pRecord + m_pDocument->GetDescriptor()->dwRecordLength;
    LPBYTE pTable = m_pDocument->GetTableDataStart();
    for (int t = 0;; ++t) {
        if (pTable < pRecord || pTable > pEnd || static_cast<DWORD>(pEnd - pTable) < TABLE_HEADER_SIZE)
            return Refuse("the table's header lies outside the record");
        const DWORD dwText = ArticleWord(pTable + 2);
        const DWORD dwLinks = pTable[25];
        const DWORD dwBands = ArticleWord(pTable + 32);
        const DWORD dwCells = ArticleWord(pTable + 34);
        const DWORD dwRuns = ArticleWord(pTable + 36);
        const DWORD dwLists = dwLinks * TABLE_LINK_SIZE + dwBands * TABLE_BAND_SIZE + dwCells * TABLE_CELL_SIZE +
                              dwRuns * TABLE_RUN_SIZE;
        if (static_cast<DWORD>(pEnd - pTable) - TABLE_HEADER_SIZE < dwLists + dwText)
            return Refuse("the table's lists or text run past the record's end");
        if (t < nTable) {
            pTable += TABLE_HEADER_SIZE + dwLists + dwText;
            continue;
        }
        m_pTable = pTable;
        m_nTextLength = static_cast<int>(dwText);
        m_nLinks = static_cast<int>(dwLinks);
        m_nBands = static_cast<int>(dwBands);
        m_nCells = static_cast<int>(dwCells);
        m_nRuns = static_cast<int>(dwRuns);
        m_pLinks = pTable + TABLE_HEADER_SIZE;
        m_pBands = m_pLinks + dwLinks * TABLE_LINK_SIZE;
        m_pCells = m_pBands + dwBands * TABLE_BAND_SIZE;
        m_pRuns = m_pCells + dwCells * TABLE_CELL_SIZE;
        m_pText = m_pRuns + dwRuns * TABLE_RUN_SIZE;
        break;
    }
    // Every index the layout follows must name an entry that exists, in order.
    for (int b = 0; b < m_nBands; ++b) {
        const int nFirst = GetBand(b).wFirstCell;
        const int nEnd = GetBandCellEnd(b);
        if (nFirst > m_nCells || nEnd < nFirst)
            return Refuse("a band's cells are out of order");
        if (nEnd - nFirst > maxBandCells)
            return Refuse("a band has more than 20 cells");
    }
    for (int c = 0; c < m_nCells; ++c) {
        const int nFirst = GetCell(c).wFirstRun;
        if (nFirst > m_nRuns || GetCellRunEnd(c) < nFirst)
            return Refuse("a cell's runs are out of order");
    }
    for (int r = 0; r < m_nRuns; ++r) {
        const TableRunEntry run = GetRun(r);
        if (static_cast<DWORD>(m_nTextLength) < 1 ||
            run.dwTextOffset > static_cast<DWORD>(m_nTextLength) - 1 ||
            run.wTextLength > static_cast<DWORD>(m_nTextLength) - 1 - run.dwTextOffset)
            return Refuse("a run's text lies outside the table text");
    }
    for (int l = 0; l < m_nLinks; ++l) {
        const TableLinkEntry link = GetLink(l);
        if (link.wFirstRun + link.wRunCount > m_nRuns)
            return Refuse("a link names runs that do not exist");
    }
    return TRUE;
}

TableBandEntry CArticleTable::GetBand(int i) const
{
    const BYTE* p = m_pBands + i * TABLE_BAND_SIZE;
    return TableBandEntry{p[0], p[1], ArticleWord(p + 2)};
}

TableCellEntry CArticleTable::GetCell(int i) const
{
    const BYTE* p = m_pCells + i * TABLE_CELL_SIZE;
    return TableCellEntry{static_cast<signed char>(p[0]), p[1], static_cast<signed char>(p[2]), ArticleWord(p + 4)};
}

TableRunEntry CArticleTable::GetRun(int i) const
{
    const BYTE* p = m_pRuns + i * TABLE_RUN_SIZE;
    return TableRunEntry{ArticleDword(p), ArticleWord(p + 4), p[6], p[7], p[8], p[9]};
}

TableLinkEntry CArticleTable::GetLink(int i) const
{
    const BYTE* p = m_pLinks + i * TABLE_LINK_SIZE;
    return TableLinkEntry{ArticleWord(p), ArticleWord(p + 2), ArticleDword(p + 4), ArticleWord(p + 8)};
}

LPCSTR CArticleTable::GetRunText(int i) const
{
    return reinterpret_cast<LPCSTR>(m_pText + GetRun(i).dwTextOffset);
}

int CArticleTable::GetBandCellEnd(int b) const
{
    return b + 1 < m_nBands ? GetBand(b + 1).wFirstCell : m_nCells;
}

int CArticleTable::GetCellRunEnd(int c) const
{
    return c + 1 < m_nCells ? GetCell(c + 1).wFirstRun : m_nRuns;
}

void CArticleTable::CollectHits()
{
    CHitList* pHits = m_pDocument->GetHitList();
    if (pHits == NULL)
        return;
    for (CHitPosition* pHit = pHits->GetFirst(); pHit != NULL; pHit = pHits->GetNext()) {
        if (static_cast<int>(pHit->GetSection()) != 200 + m_nTable)
            continue;
        const DWORD dwOffset = static_cast<DWORD>(HitToTextIndex(static_cast<int>(pHit->GetOffset()))) & 0x1FFFF;
        m_aHits.push_back(CHitPosition(pHit->GetSection(), dwOffset, pHit->GetLength()).GetValue());
    }
}

int CArticleTable::HitToTextIndex(int nOffset) const
{
    int nCount = 0;
    int i = 0;
    for (; i < m_nTextLength; ++i) {
        const BYTE c = m_pText[i];
        if (c != 0 && c != ' ' && c != '\t' && c != '\r' && c != '\n')
            ++nCount;
        if (nCount > nOffset)
            return i;
    }
    return std::max(i - 1, 0);
}

int CArticleTable::GetRunMark(int nRun, int n) const
{
    const TableRunEntry run = GetRun(nRun);
    switch (n) {
    case 0: return run.nFlags >> 4;
    case 1: return run.nMarks23 & 0x0F;
    case 2: return run.nMarks23 >> 4;
    case 3: return run.nMarks45 & 0x0F;
    case 4: return run.nMarks45 >> 4;
    default: return run.nFlags >> 4;
    }
}

int CArticleTable::CountMergedCells(DWORD dwTextOffset) const
{
    for (int b = 0; b < m_nBands; ++b) {
        const int nEnd = GetBandCellEnd(b);
        int nCount = 0;
        int nFirst = -1;
        for (int c = GetBand(b).wFirstCell; c < nEnd; ++c) {
            const TableCellEntry cell = GetCell(c);
            if (cell.bMerged == 0 || cell.wFirstRun >= m_nRuns || GetRun(cell.wFirstRun).dwTextOffset != dwTextOffset)
                continue;
            if (nFirst < 0)
                nFirst = c;
            ++nCount;
        }
        if (nCount >= nEnd - GetBand(b).wFirstCell)
            nCount = 0;
        if (nCount > 0)
            return nCount < nEnd - nFirst ? nCount : 0;
    }
    return 0;
}

// ---------------------------------------------------------------------------------------------
// Layout

int CArticleTable::LayOut()
{
    m_nTableWidth = m_nFootnoteLines = m_nHeadingLines = m_nFrozenEdge = 0;
    m_nFirstHitRow = m_nFirstHitX = 0;
    m_bFirstHitPlaced = FALSE;
    m_aHotSpots.clear();
    std::fill(std::begin(m_anFigures), std::end(m_anFigures), 0);
    if (m_bDamaged || m_pFonts == NULL)
        return 0;

    CDC screenDC;
    if (m_pLayoutDC == NULL)
        screenDC.CreateCompatibleDC(NULL);
    CDC& dc = m_pLayoutDC != NULL ? *m_pLayoutDC : screenDC;
    CFont* pOldFont = dc.SelectObject(m_pFonts->GetFontForCode(1));
    const int nFootIndent = dc.GetTextExtent("0 ", 2).cx;
    dc.SelectObject(m_pFonts->GetFontForCode(0));
    const int nFiguresWidth = dc.GetTextExtent("5,555,555,555", 13).cx;
    const int nStyle = GetStyle();
    const DWORD dwFirstHit = m_aHits.empty() ? 0 : (m_aHits[0] >> CHitPosition::offsetShift) & CHitPosition::offsetMask;

    int nFirstRow = 0;
    int nRow = 0;
    int nHighest = 0;
    BOOL bInFootnotes = FALSE;
    int nSavedFirstRow = 0;

    for (int b = 0; b < m_nBands; ++b) {
        const TableBandEntry band = GetBand(b);
        const BOOL bFootnote = band.nKind == TABLE_BAND_FOOTNOTE;
        if (bFootnote && !bInFootnotes) {
            nSavedFirstRow = nFirstRow;
            nFirstRow = nHighest = 0;
            bInFootnotes = TRUE;
        } else if (!bFootnote && bInFootnotes) {
            m_nFootnoteLines = nFirstRow - 1;
            nFirstRow = nHighest = nSavedFirstRow;
            bInFootnotes = FALSE;
        }
        const int nFirstCell = band.wFirstCell;
        const int k = GetBandCellEnd(b) - nFirstCell;
        if (k <= 0)
            continue;
        const int nWrap = LayoutWrap(k);
        m_nTableWidth = std::max(m_nTableWidth, LayoutBandWidth(k));
        m_nPitch = LayoutPitch(k);

        for (int j = 0; j < k; ++j) {
            const TableCellEntry cell = GetCell(nFirstCell + j);
            nRow = nFirstRow;
            int x = 0;
            if (band.nKind == TABLE_BAND_COLUMN_HEADING)
                m_anFigures[j] = cell.nFigures;
            const int nRunEnd = GetCellRunEnd(nFirstCell + j);
            for (int r = cell.wFirstRun; r < nRunEnd; ++r) {
                const TableRunEntry run = GetRun(r);
                TableRunLayout& rec = m_aLayout[static_cast<size_t>(r)];
                rec.nLinkMark = 0;
                rec.nVFreeze = rec.nHFreeze = 0;
                rec.nHotSpot = -1;
                if (band.nFlag == 1) {
                    rec.nVFreeze = 1;
                    m_nHeadingLines = std::max(m_nHeadingLines, nRow + 1);
                    for (int q = 0; q < r; ++q) {
                        TableRunLayout& earlier = m_aLayout[static_cast<size_t>(q)];
                        if (earlier.nVFreeze == 0)
                            earlier.nVFreeze = earlier.nHFreeze = 2;
                    }
                }
                dc.SelectObject(m_pFonts->GetFontForCode(run.nFontCode));
                rec.nRow = static_cast<WORD>(nRow);
                const BOOL bPreviousBehind = r > 0 && MarksBehind(GetRun(r - 1));
                if (!bFootnote) {
                    if (MarksBefore(run))
                        x += kMarkGap;
                    if (x > 0 && bPreviousBehind)
                        x += kMarkGap;
                } else if (MarkCount(run) != 0 && nRow == nFirstRow) {
                    x += nFootIndent;
                }
                const int nLeft = LayoutLeft(k, j);
                rec.x = static_cast<WORD>(x + nLeft);
                rec.xColumn = static_cast<WORD>(nLeft);
                if ((nStyle == 3 || nStyle == 5) && k >= 3 && j == 0) {
                    rec.nHFreeze = 1;
                    m_nFrozenEdge = std::max(m_nFrozenEdge, nLeft + LayoutPitch(k) - 1);
                }
                if (band.nKind == TABLE_BAND_TITLE)
                    rec.nVFreeze = rec.nHFreeze = 2;
                rec.awLineStart[0] = 0;
                nHighest = std::max(nHighest, nRow);
                if (cell.bMerged != 0) {
                    rec.nLines = 0;
                    continue;
                }
                rec.nLines = 1;
                LPCSTR pText = GetRunText(r);
                const int nWidth = dc.GetTextExtent(pText, run.wTextLength + 1).cx;
                const BOOL bCentred = band.nKind == TABLE_BAND_TITLE ||
                                      ((band.nKind == TABLE_BAND_CENTRED_A || band.nKind == TABLE_BAND_CENTRED_B) &&
                                       cell.nSpan >= k - 1);
                if (bCentred) {
                    x = std::max((nWrap - nWidth) / 2, 0);
                    if (MarksBefore(run))
                        x += kMarkGap;
                    if (bPreviousBehind)
                        x += kMarkGap;
                    rec.x = static_cast<WORD>(x + nLeft);
                    if (rec.nHFreeze == 0)
                        rec.nHFreeze = 1;
                } else if (j < figuresColumns && m_anFigures[j] == 1 && nRunEnd - cell.wFirstRun == 1 &&
                           nWidth < nWrap && band.nKind != TABLE_BAND_COLUMN_HEADING &&
                           (IsDigit(static_cast<BYTE>(pText[0])) ||
                            (IsPunctuation(static_cast<BYTE>(pText[0])) && run.wTextLength > 1 &&
                             IsDigit(static_cast<BYTE>(pText[1]))))) {
                    x = std::max(nFiguresWidth - nWidth, 0);
                    rec.x = static_cast<WORD>(x + nLeft);
                }
                if (!m_aHits.empty() && !m_bFirstHitPlaced && dwFirstHit >= run.dwTextOffset &&
                    dwFirstHit <= run.dwTextOffset + run.wTextLength) {
                    m_nFirstHitRow = nRow;
                    m_nFirstHitX = rec.x;
                    m_bFirstHitPlaced = TRUE;
                }
                x += nWidth;
                rec.awLineStart[1] = static_cast<WORD>(run.wTextLength + 1);
                if (x > nWrap && band.nKind != TABLE_BAND_TITLE)
                    WrapRun(dc, r, k, j, x, nWidth, nRow, nHighest);
                if (rec.nVFreeze > 0)
                    m_nHeadingLines = std::max(m_nHeadingLines, nHighest);
            }
        }
        nHighest += 1;
        nFirstRow = nHighest + 1;
        nRow = nFirstRow;
        // The row's end: the terminator of its last run becomes CR.
        const int nLastCell = nFirstCell + k - 1;
        const int nLastRun = GetCellRunEnd(nLastCell) - 1;
        if (nLastRun >= GetCell(nLastCell).wFirstRun) {
            const TableRunEntry run = GetRun(nLastRun);
            LPBYTE pTerm = m_pText + run.dwTextOffset + run.wTextLength;
            if (*pTerm == '\t') {
                *pTerm = '\r';
            } else if (run.dwTextOffset >= 5 && nLastRun != m_nRuns - 1) {
                for (int n = 1; n <= 3; ++n)
                    if (pTerm[-n] == '\t')
                        pTerm[-n] = '\r';
            }
        }
    }
    // Footnotes at the end: their rows are counted as when a body row follows them, and the
    // result stays the main area's (not the footnote area's) row count.
    if (bInFootnotes) {
        m_nFootnoteLines = nFirstRow - 1;
        nRow = nSavedFirstRow;
    }
    dc.SelectObject(pOldFont);

    // Hot spots: one for every line of every run of a link (the screen's only).
    if (m_bPrintLayout)
        return nRow;
    const int nFootFirst = ArticleWord(m_pTable + 18);
    const int nFootEnd = nFootFirst + ArticleWord(m_pTable + 20);
    for (int l = 0; l < m_nLinks; ++l) {
        const TableLinkEntry link = GetLink(l);
        for (int r = link.wFirstRun; r < link.wFirstRun + link.wRunCount; ++r) {
            TableRunLayout& rec = m_aLayout[static_cast<size_t>(r)];
            rec.nLinkMark = 2;
            for (int n = 0; n < rec.nLines; ++n) {
                if (n == 0)
                    rec.nHotSpot = static_cast<LONG>(m_aHotSpots.size());
                TableHotSpot spot{};
                spot.wLink = static_cast<WORD>(l);
                spot.bFootnote = r >= nFootFirst && r < nFootEnd;
                m_aHotSpots.push_back(spot);
            }
        }
    }
    return nRow;
}

// Breaks run nRun, which started at pen position x - nWidth and reaches past the wrap width,
// into lines: behind a space, full stop, semicolon, colon, hyphen, exclamation or question mark
// or line feed. When the part that fits on the run's first line holds no break, the whole run
// moves down a row to its column's left edge and is tried again from there; a run that still has
// no break stays whole and overflows. A later line without a break is cut where the text stops
// fitting, so the line starts always increase.
void CArticleTable::WrapRun(CDC& dc, int nRun, int k, int j, int& x, int nWidth, int& nRow, int& nHighest)
{
    TableRunLayout& rec = m_aLayout[static_cast<size_t>(nRun)];
    const TableRunEntry run = GetRun(nRun);
    LPCSTR pText = GetRunText(nRun);
    const int nTotal = run.wTextLength + 1;
    const int nWrap = LayoutWrap(k);
    int nLineX = x - nWidth;
    int nLine = 0;
    BOOL bMoved = FALSE;
    while (x > nWrap && nLine < TableRunLayout::maxLines - 1) {
        const int nStart = rec.awLineStart[nLine];
        int n = TableLineFit(pText + nStart, nTotal - nStart, nWrap - nLineX,
                             [&dc](LPCSTR p, int nCount) { return static_cast<int>(dc.GetTextExtent(p, nCount).cx); });
        const int nFits = n;
        while (n > 0 && !IsBreakByte(static_cast<BYTE>(pText[nStart + n - 1])))
            --n;
        if (n == 0) {
            if (nLine == 0 && !bMoved) {
                ++nRow;
                nHighest = std::max(nHighest, nRow);
                rec.nRow = static_cast<WORD>(nRow);
                rec.x = static_cast<WORD>(LayoutLeft(k, j));
                nLineX = 0;
                x = dc.GetTextExtent(pText + nStart, nTotal - nStart).cx;
                bMoved = TRUE;
                continue;
            }
            if (nLine == 0)
                break;
            n = std::max(nFits, 1);
        }
        if (nStart + n >= nTotal)
            break;
        rec.awLineStart[nLine + 1] = static_cast<WORD>(nStart + n);
        ++nRow;
        nHighest = std::max(nHighest, nRow);
        ++nLine;
        rec.nLines = static_cast<BYTE>(nLine + 1);
        nLineX = 0;
        x = dc.GetTextExtent(pText + nStart + n, nTotal - nStart - n).cx;
    }
    rec.awLineStart[rec.nLines] = static_cast<WORD>(nTotal);
}

// ---------------------------------------------------------------------------------------------
// Print layout

int CArticleTable::Scaled(int nValue) const
{
    return nValue * m_nScale / 100;
}

int CArticleTable::LayoutLeft(int k, int j) const
{
    return Scaled(ColumnLeft(k, j));
}

int CArticleTable::LayoutBandWidth(int k) const
{
    return Scaled(BandWidth(k));
}

int CArticleTable::LayoutWrap(int k) const
{
    return m_nWideWidth > 0 && k == 1 ? m_nWideWidth : Scaled(WrapWidth(k));
}

int CArticleTable::LayoutPitch(int k) const
{
    return m_nWideWidth > 0 && k == 1 ? m_nWideWidth : Scaled(ColumnPitch(k));
}

int CArticleTable::LayOutForPrint(CDC* pDC, CTableFontSet* pPrintFonts, int nPageWidth, int nPageHeight)
{
    if (m_bDamaged || pDC == NULL || pPrintFonts == NULL)
        return 0;
    const BOOL bWide = GetWidestColumnCount() > 8;
    if (bWide && nPageWidth <= nPageHeight &&
        AfxMessageBox("To print wide tables in Veltra, you must first change your print orientation to Landscape.  "
                      "To change your print orientation to Landscape, read these directions and then select Cancel.  "
                      "Select Print Setup from the File menu, select Landscape orientation, select OK.\n\n"
                      "To continue printing without changing your print orientation, select OK.",
                      MB_OKCANCEL) == IDCANCEL)
        return 0;
    // The screen's results stay as they are: the print layout runs on the print records.
    const int nScreenWidth = std::max(m_nTableWidth, 1);
    const int anSaved[] = {m_nPitch, m_nTableWidth, m_nFootnoteLines, m_nHeadingLines, m_nFrozenEdge, m_nFirstHitRow,
                           m_nFirstHitX};
    const BOOL bSavedHit = m_bFirstHitPlaced;
    CTableFontSet* pScreenFonts = m_pFonts;
    m_pFonts = pPrintFonts;
    m_pLayoutDC = pDC;
    // The table fills the page between margins of printMargin, so that its last column is not
    // cut at the page's edge.
    const int nSide = std::max((bWide ? std::max(nPageWidth, nPageHeight) : nPageWidth) - 2 * printMargin, 1);
    m_nScale = nSide * 100 / nScreenWidth;
    m_nWideWidth = bWide ? std::max(nPageWidth - 2 * printMargin, 1) : 0;
    m_bPrintLayout = TRUE;
    std::swap(m_aLayout, m_aPrintLayout);
    std::vector<TableHotSpot> screenSpots;
    std::swap(screenSpots, m_aHotSpots);

    m_nPrintLines = LayOut();
    m_nPrintTableWidth = m_nTableWidth;
    m_nPrintPitch = m_nPitch;
    m_nPrintFootnoteLines = m_nFootnoteLines;
    m_nPrintHeadingLines = m_nHeadingLines;
    m_nPrintFrozenEdge = m_nFrozenEdge;

    std::swap(screenSpots, m_aHotSpots);
    std::swap(m_aLayout, m_aPrintLayout);
    m_bPrintLayout = FALSE;
    m_nWideWidth = 0;
    m_nScale = 100;
    m_pLayoutDC = NULL;
    m_pFonts = pScreenFonts;
    m_nPitch = anSaved[0];
    m_nTableWidth = anSaved[1];
    m_nFootnoteLines = anSaved[2];
    m_nHeadingLines = anSaved[3];
    m_nFrozenEdge = anSaved[4];
    m_nFirstHitRow = anSaved[5];
    m_nFirstHitX = anSaved[6];
    m_bFirstHitPlaced = bSavedHit;
    return m_nPrintLines;
}
