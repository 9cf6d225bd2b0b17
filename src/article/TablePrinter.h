// CTablePrinter: prints the table the tables view shows. The table is laid out a second time for
// the printer (CArticleTable::LayOutForPrint, in the print fonts of CTablePrintFontSet, scaled
// to the page) and printed page by page: the header "Printed from Veltra", the title line with
// "Page %d" at its right, the heading rows repeated on every page, the body rows of the page,
// the footnote rows at the foot and a footer notice on the page's last line. "LPL" and "MP" of
// the product section cap the pages (CPrintPageLimit).
//
// A table whose heading and footnote rows leave no room for a body row on the page is reported
// ("table too tall to print") and not printed.
#pragma once

#include "article/ArticleTable.h"
#include "article/PrintPageLimit.h"

#include <afxwin.h>

#include <memory>

class CTableMainWin;

// The nine print fonts, all "Times New Roman": s = 8 points for a table of more than seven
// columns, else 9; m = s at 8 points, else s + 1.
class CTablePrintFontSet : public CTableFontSet {
public:
    CTablePrintFontSet(int nWidestColumns, CDC* pDC);
    // The body size in tenths of a point.
    static int BodyTenths(int nWidestColumns) { return nWidestColumns > 7 ? 80 : 90; }
};

class CTablePrinter {
public:
    explicit CTablePrinter(CTableMainWin& view);
    virtual ~CTablePrinter() = default;
    CTablePrinter(const CTablePrinter&) = delete;
    CTablePrinter& operator=(const CTablePrinter&) = delete;

    // The whole job; the pages printed.
    int PrintTable();

    // The pages' arithmetic after the print layout (FALSE: the table is too tall to print).
    BOOL PreparePrintPages(CDC* pDC);
    void PrintPages(CDC* pDC);
    // One page with the body rows [nFirst, nLast).
    void PrintPage(CDC* pDC, int nFirst, int nLast, int nPage);
    void PrintBody(CDC* pDC, int nFirst, int nLast);
    void PrintFootnotes(CDC* pDC);

    int GetLinesPerPage() const { return m_nLinesPerPage; }
    int GetBodyLinesPerPage() const { return m_nBodyPerPage; }
    int GetPageCount() const { return m_nPages; }

protected:
    // The printer DC the reader chose (NULL: cancelled or no printer); bCancelled tells which.
    virtual HDC AskPrinter(BOOL& bCancelled);

private:
    CTableMainWin& m_view;
    CArticleTable* m_pTable = NULL;
    std::unique_ptr<CTablePrintFontSet> m_pFonts;
    CPrintPageLimit m_limit;
    int m_nPageWidth = 0;
    int m_nPageHeight = 0;
    int m_nLineHeight = 1;
    int m_nAscent = 0;
    int m_nLeftMargin = 90;
    int m_nLinesPerPage = 0;
    int m_nBodyPerPage = 0;
    int m_nBodyLines = 0;
    int m_nPages = 0;
    int m_nLastPageLines = 0;
    int m_nFootnoteStart = 0;
    int m_nPagesPrinted = 0;
    CString m_strTitle;
};
