// Laying out and drawing the definitions file's styled text, shared by the definitions pane, the
// word list and their printing.
//
// A raw line (up to CR, LF or its end) is cut into laid-out lines no wider than the width: words
// end after a space (0xFF counts as one), a tab is seven spaces, and a line that continues a
// wrapped one starts with a seven-space indent. The laid-out lines keep 0xBD and the style codes
// 0xB3 to 0xBC (0xB3, 0xB5, 0xBB bold; 0xB6, 0xB7, 0xB8 italic; the others regular); the other
// codes up to 0xDA are dropped. Drawing switches fonts at the codes and never draws them.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

class CDictionaryLayout {
public:
    enum { kIndent = 7 };
    enum Style { kRegular = 0, kBold = 1, kItalic = 2 };

    // The fonts of the three styles (a single font may stand for all three).
    struct Fonts {
        CFont* pRegular;
        CFont* pBold;
        CFont* pItalic;
        CFont* For(BYTE code) const;
    };

    // The style a code selects.
    static Style StyleOf(BYTE code);
    static BOOL IsCode(BYTE ch) { return ch >= 0xB3 && ch <= 0xDA; }
    static BOOL IsStyleCode(BYTE ch) { return ch >= 0xB3 && ch <= 0xBC; }

    // Appends the laid-out lines of a raw line to out (measured with the fonts on the DC, which
    // is left with the regular font); the number added. bWrapped is set when a line wrapped or
    // held a tab.
    static int LayOutLine(CDC* pDC, const CString& strRaw, int nWidth, const Fonts& fonts, CStringArray& out,
                          BOOL* pbWrapped = NULL);

    // Draws a laid-out line from x at y; nSelFrom..nSelTo (character indexes, inclusive; -1 for
    // none) are drawn in the selection colours. Returns the height of the tallest font used.
    static int DrawLine(CDC* pDC, const CString& strLine, int x, int y, const Fonts& fonts, int nSelFrom = -1,
                        int nSelTo = -1, COLORREF crText = PALETTERGB(0, 0, 0), COLORREF crBack = PALETTERGB(255, 255, 255));
    // The character index under x of a laid-out line drawn from x0 (the last when x lies beyond).
    static int CharAt(CDC* pDC, const CString& strLine, int x0, int x, const Fonts& fonts);
    // The text of a laid-out line without its codes.
    static CString PlainText(const CString& strLine);

    // Prints raw lines after the print dialog (anything but OK prints nothing): each page has the
    // header "Printed from Veltra" and a footer, centred in a 7-point font; the lines are laid out
    // in 11-point Arial between the margins (device units from the left, top, right and bottom)
    // and a raw line is never split across pages. At most nPageLimit pages (0: no limit); every
    // page holds at most nLinesPerPage laid-out lines (0: as many as fit). The pages printed.
    static int PrintLines(CWnd* pParent, LPCSTR lpszDocTitle, const CStringArray& raw, const CRect& margins,
                          int nPageLimit, int nLinesPerPage);
};
