// CArticleTable: one table of a loaded article record, located, prepared for display and laid
// out into rows, columns and wrapped lines.
//
// Tables lie behind the sections, back to back; each is (little-endian, offsets from its first
// byte):
//   2  u16 text length           4  u8 table style (3, 5: the first column is frozen)
//   18 u16 first footnote run    20 u16 footnote runs      22 u8 widest column count
//   23 u8 has footnote rows      25 u8 link entries        29 u8 255: centre when narrower
//   32 u16 bands   34 u16 cells   36 u16 runs   38 u16 kept as it is
//   40 link entries (10 bytes), band entries (4), cell entries (6), run entries (10), the text.
// The counts and offsets come from the record, so the constructor checks them against the
// record's length before anything is read; a table that does not fit, or a band of more than
// maxBandCells cells, is refused as damaged (IsDamaged) and nothing of it is laid out.
//
// Construction rewrites the table text in place (NUL terminators inside it become TAB, row ends
// CR), so the document, which owns the record, must outlive the table.
#pragma once

#include <afxwin.h>

#include <vector>

class CArticleDocument;
class CTableFontSet;

// Band kinds and the column tables of the layout.
enum : int {
    TABLE_BAND_TITLE = 0,
    TABLE_BAND_COLUMN_HEADING = 2,
    TABLE_BAND_CENTRED_A = 3,
    TABLE_BAND_FOOTNOTE = 6,
    TABLE_BAND_CENTRED_B = 7,
};

struct TableLinkEntry {
    WORD wFirstRun;
    WORD wRunCount;
    DWORD dwTarget;  // RIN
    WORD wPlace;     // 0 the article, 1-199 a section, 200 and above a table
};

struct TableBandEntry {
    BYTE nKind;
    BYTE nFlag;  // 1: heading row
    WORD wFirstCell;
};

struct TableCellEntry {
    signed char nSpan;
    BYTE bMerged;
    signed char nFigures;  // 1: figures right-aligned in this column
    WORD wFirstRun;
};

struct TableRunEntry {
    DWORD dwTextOffset;
    WORD wTextLength;  // without the terminator
    BYTE nFontCode;
    BYTE nFlags;  // bits 0-2 marks, bit 3 marks behind the text, bits 4-7 mark 1
    BYTE nMarks23;
    BYTE nMarks45;
};

struct TableRunLayout {
    enum { maxLines = 29 };
    WORD x;         // x of the first line, table pixels
    WORD xColumn;   // left edge of the run's column
    WORD nRow;      // row of the first line
    BYTE nLinkMark;  // 2: part of a link
    BYTE nLines;     // 0 for merged cells
    WORD awLineStart[maxLines + 1];  // entry n + 1 ends line n (the last: length + 1)
    signed char nVFreeze;  // 0 body, 1 heading row, 2 above a heading or title row
    signed char nHFreeze;  // 0 none, 1 frozen column or centred, 2 title row
    LONG nHotSpot;         // first hot spot, -1 for none
};

struct TableHotSpot {
    RECT rect;  // set by the pane that draws the line
    WORD wLink;
    LONG bFootnote;
};

// The most leading characters of the text (at most nCount) whose width, as measure(text, n)
// gives it, is below nLimit; 0 when not even one is. Widths grow with n, so the answer is found
// by doubling n until the text no longer fits and then halving the gap: the characters measured
// are a small multiple of the line's own length, never of the whole rest of the run.
template <class Measure>
int TableLineFit(LPCSTR pText, int nCount, int nLimit, Measure measure)
{
    if (nCount <= 0 || measure(pText, 1) >= nLimit)
        return 0;
    int nLow = 1;  // fits
    int nHigh = nCount;
    for (int nProbe = 2; nProbe < nCount; nProbe *= 2) {
        if (measure(pText, nProbe) >= nLimit) {
            nHigh = nProbe - 1;
            break;
        }
        nLow = nProbe;
    }
    if (nHigh == nCount && nLow < nCount && measure(pText, nCount) < nLimit)
        return nCount;
    if (nHigh == nCount)
        nHigh = nCount - 1;
    while (nLow < nHigh) {
        const int nMid = nLow + (nHigh - nLow + 1) / 2;
        if (measure(pText, nMid) < nLimit)
            nLow = nMid;
        else
            nHigh = nMid - 1;
    }
    return nLow;
}

// The tables view's nine screen fonts (base size 10, 11 or 12 points by screen class) and the
// font each run's font code selects.
class CTableFontSet {
public:
    // Makes the fonts at nBasePoints points against pDC (NULL: the screen).
    CTableFontSet(int nBasePoints, CDC* pDC = NULL);
    virtual ~CTableFontSet();
    CTableFontSet(const CTableFontSet&) = delete;
    CTableFontSet& operator=(const CTableFontSet&) = delete;

    // The base size for a screen class: 10, 11, 12.
    static int BasePointsForScreenClass(int nScreenClass);
    // 0, 5 and 17+ body; 1, 13-15 bold; 2 italic; 3, 4 marks; 6 bold +3; 7-9 bold +1;
    // 10, 11 a second bold +1; 12 italic +1; 16 body underlined.
    CFont* GetFontForCode(int nCode);
    CFont* GetBodyFont() { return &m_aFonts[3]; }
    CFont* GetBoldFont() { return &m_aFonts[2]; }

protected:
    // For fonts of other faces (tests measure with a fixed-pitch face).
    CTableFontSet() = default;
    CFont m_aFonts[10];  // 1-9 as the tables view numbers them; 0 unused
};

class CArticleTable {
public:
    enum { maxBandCells = 20, figuresColumns = 20, printMargin = 90 };

    // Locates table nTable of the document, turns its text into display form, collects the hits
    // that fall in it and lays it out with the fonts. Throws only memory exceptions; damaged
    // table data leaves the table empty and IsDamaged TRUE.
    CArticleTable(CArticleDocument* pDocument, int nTable, CTableFontSet* pFonts);
    ~CArticleTable();
    CArticleTable(const CArticleTable&) = delete;
    CArticleTable& operator=(const CArticleTable&) = delete;

    BOOL IsDamaged() const { return m_bDamaged; }
    // What was wrong with damaged data, for the message the caller shows.
    const CString& GetDamage() const { return m_strDamage; }

    // The screen layout; its result (the main area's rows) is kept by the constructor.
    int LayOut();
    // A hit's offset (visible characters) as a byte index into the table text.
    int HitToTextIndex(int nOffset) const;
    // Mark n (0-4) of a run; any other n gives mark 1.
    int GetRunMark(int nRun, int n) const;
    int CountMergedCells(DWORD dwTextOffset) const;

    int GetTableIndex() const { return m_nTable; }
    int GetStyle() const { return m_pTable != NULL ? m_pTable[4] : 0; }
    int GetWidestColumnCount() const { return m_pTable != NULL ? m_pTable[22] : 0; }
    BOOL HasFootnotes() const { return m_pTable != NULL && m_pTable[23] != 0; }
    BOOL IsCentred() const { return m_pTable != NULL && m_pTable[29] == 255; }
    WORD GetHeaderField38() const { return m_wField38; }
    // The footnote area: the runs [first, first + count) (header fields 18 and 20).
    int GetFootnoteFirstRun() const { return m_pTable != NULL ? m_pTable[18] | (m_pTable[19] << 8) : 0; }
    int GetFootnoteRunCount() const { return m_pTable != NULL ? m_pTable[20] | (m_pTable[21] << 8) : 0; }
    BOOL IsFootnoteRun(int nRun) const
    {
        return nRun >= GetFootnoteFirstRun() && nRun < GetFootnoteFirstRun() + GetFootnoteRunCount();
    }

    int GetBandCount() const { return m_nBands; }
    int GetCellCount() const { return m_nCells; }
    int GetRunCount() const { return m_nRuns; }
    int GetLinkCount() const { return m_nLinks; }
    TableBandEntry GetBand(int i) const;
    TableCellEntry GetCell(int i) const;
    TableRunEntry GetRun(int i) const;
    TableLinkEntry GetLink(int i) const;
    // The run's text (its terminator behind it) inside the table text.
    LPCSTR GetRunText(int i) const;
    LPBYTE GetText() const { return m_pText; }
    int GetTextLength() const { return m_nTextLength; }
    // The cells of band b: [first, end).
    int GetBandCellEnd(int b) const;
    int GetCellRunEnd(int c) const;

    int GetLineCount() const { return m_nLines; }
    int GetTableWidth() const { return m_nTableWidth; }
    int GetColumnPitch() const { return m_nPitch; }
    int GetFootnoteLineCount() const { return m_nFootnoteLines; }
    int GetHeadingLineCount() const { return m_nHeadingLines; }
    int GetFrozenColumnEdge() const { return m_nFrozenEdge; }
    int GetFirstHitRow() const { return m_nFirstHitRow; }
    int GetFirstHitX() const { return m_nFirstHitX; }

    int GetHitCount() const { return static_cast<int>(m_aHits.size()); }
    DWORD GetHit(int i) const { return m_aHits[static_cast<size_t>(i)]; }
    TableRunLayout& GetRunLayout(int i) { return m_aLayout[static_cast<size_t>(i)]; }
    const TableRunLayout& GetRunLayout(int i) const { return m_aLayout[static_cast<size_t>(i)]; }
    TableRunLayout& GetPrintRunLayout(int i) { return m_aPrintLayout[static_cast<size_t>(i)]; }
    int GetHotSpotCount() const { return static_cast<int>(m_aHotSpots.size()); }
    TableHotSpot& GetHotSpot(int i) { return m_aHotSpots[static_cast<size_t>(i)]; }

    // The column tables for a band of k cells (1-20): left edge of column j, band width, wrap
    // width, pitch.
    static int ColumnLeft(int k, int j);
    static int BandWidth(int k);
    static int WrapWidth(int k);
    static int ColumnPitch(int k);

    // The layout again for a printer page: the column tables scaled to the page width less two
    // margins of printMargin (for more than eight columns, to the longer side; one-cell bands
    // then wrap at the page width less the margins), the
    // runs measured in the print fonts on the printer. The results go to the print fields and
    // the print records; the screen's stay. A table of more than eight columns on a page
    // narrower than high asks for landscape first: Cancel returns 0. The print line count.
    int LayOutForPrint(CDC* pDC, CTableFontSet* pPrintFonts, int nPageWidth, int nPageHeight);
    const TableRunLayout& GetPrintRunLayout(int i) const { return m_aPrintLayout[static_cast<size_t>(i)]; }

    // Set by table printing.
    int m_nPrintLines = 0;
    int m_nPrintTableWidth = 0;
    int m_nPrintFootnoteLines = 0;
    int m_nPrintHeadingLines = 0;
    int m_nPrintFrozenEdge = 0;
    int m_nPrintPitch = 0;
    CString m_strName;

private:
    BOOL Locate(int nTable);
    BOOL Refuse(LPCSTR lpszWhat);
    void CollectHits();
    void WrapRun(CDC& dc, int nRun, int k, int j, int& x, int nWidth, int& nRow, int& nHighest);
    // The column tables as the layout under way uses them (scaled for print).
    int Scaled(int nValue) const;
    int LayoutLeft(int k, int j) const;
    int LayoutBandWidth(int k) const;
    int LayoutWrap(int k) const;
    int LayoutPitch(int k) const;

    CArticleDocument* m_pDocument;
    CTableFontSet* m_pFonts;
    LPBYTE m_pTable = NULL;
    LPBYTE m_pText = NULL;
    LPBYTE m_pLinks = NULL;
    LPBYTE m_pBands = NULL;
    LPBYTE m_pCells = NULL;
    LPBYTE m_pRuns = NULL;
    int m_nTable;
    int m_nTextLength = 0;
    int m_nLinks = 0;
    int m_nBands = 0;
    int m_nCells = 0;
    int m_nRuns = 0;
    WORD m_wField38 = 0;
    BOOL m_bDamaged = FALSE;
    CString m_strDamage;

    int m_nPitch = 0;
    int m_nLines = 0;
    int m_nTableWidth = 0;
    int m_nFootnoteLines = 0;
    int m_nHeadingLines = 0;
    int m_nFrozenEdge = 0;
    int m_nFirstHitRow = 0;
    int m_nFirstHitX = 0;
    BOOL m_bFirstHitPlaced = FALSE;
    // The print layout under way: the printer DC, the scale in percent, the wrap width of
    // one-cell bands of a wide table.
    CDC* m_pLayoutDC = NULL;
    int m_nScale = 100;
    int m_nWideWidth = 0;
    BOOL m_bPrintLayout = FALSE;
    // Hits and hot spots grow as they come; the layouts hold one record per run.
    std::vector<DWORD> m_aHits;
    std::vector<TableRunLayout> m_aLayout;
    std::vector<TableRunLayout> m_aPrintLayout;
    std::vector<TableHotSpot> m_aHotSpots;
    signed char m_anFigures[figuresColumns] = {};
};
