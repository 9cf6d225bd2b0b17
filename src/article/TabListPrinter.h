// CTabListPrinter: prints the lines of a pane of the article view (the article outline or the
// related-articles list) page by page: the header "Printed from Veltra", the title in capitals,
// the lines indented by level and wrapped at word boundaries, and the publisher's notice at the
// foot. The geometry is worked out on a virtual page 4887 x 6391 units scaled to the printer.
// Outline lines of level 2 may carry a small picture (an "ICON" resource) in front of them.
// "LPL" and "MP" of the product section cap the pages (CPrintPageLimit).
#pragma once

#include <afxwin.h>

#include <vector>

struct PrintListLine {
    CString strText;
    UINT nLevel = 0;  // 0, 1 or 2
    UINT nIcon = 0;   // a level-2 line's picture (resource type "ICON"); 0 none
};

class CTabListPrinter {
public:
    static constexpr int virtualWidth = 4887;
    static constexpr int virtualHeight = 6391;

    // lpszDocName names the print job; strTitle is printed (in capitals) on every page.
    CTabListPrinter(CWnd* pOwner, LPCSTR lpszDocName, const CString& strTitle, std::vector<PrintListLine> lines);
    virtual ~CTabListPrinter() = default;

    // The whole job: the print dialog, then the pages. The pages printed.
    int Print();
    // Prints one page after line nLast (-1: from the start); the last line printed on it.
    int PrintPage(CDC* pDC, int nLast);

protected:
    // The printer DC the reader chose (NULL: cancelled).
    virtual HDC AskPrinter();

private:
    void DrawIcon(CDC* pDC, UINT nIcon, const CRect& rect);

    CWnd* m_pOwner;
    CString m_strDocName;
    CString m_strTitle;
    std::vector<PrintListLine> m_lines;
};
