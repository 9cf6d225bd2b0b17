// CTableGridWin: the base of the two panes of the tables view (the text pane and the footnote
// pane). It holds the selection, which always covers whole words, and draws one line of a run
// with the selection and the table's search hits in their colours.
//
// Positions are byte offsets into the table text (CArticleTable::GetText): a run's text offset
// plus the character inside the run.
#pragma once

#include "widgets/VLScrollWnd.h"

#include <afxwin.h>

class CArticleTable;
class CTableMainWin;

// The background of the table body and of the view around it.
#define TABLE_BK_COLOR PALETTERGB(255, 255, 231)
// Link text.
#define TABLE_LINK_COLOR PALETTERGB(0, 0, 255)

// One place in the table text: the run (its text offset and length), the line of the run and
// the character inside the run.
struct TableGridPosition {
    DWORD dwRunOffset = 0;
    int nRunLength = 0;
    int nRun = 0;
    int nLine = 0;
    int nChar = 0;
    DWORD Offset() const { return dwRunOffset + static_cast<DWORD>(nChar); }
};

// The selection: 0 none, 1 anchor set on text, 2 a selection being dragged, 3 a selection
// stands.
struct TableGridSelection {
    enum { none = 0, anchored = 1, dragging = 2, standing = 3 };
    int nState = none;
    TableGridPosition anchor;
    TableGridPosition caret;
};

class CTableGridWin : public CVLScrollWnd {
    DECLARE_DYNAMIC(CTableGridWin)
public:
    CTableGridWin();
    ~CTableGridWin() override;

    // Draws count bytes of run nRun from byte nStart at (x, y) in the font: selected pieces on
    // the selection colour in blue, pieces of a search hit in red, the rest in the DC's text
    // colour. The DC's font and background colour come back at the end. Returns the width drawn.
    int DrawLineText(CDC* pDC, CFont* pFont, int x, int y, int nRun, int nStart, int nCount);
    // Whether a selection stands (or is being dragged) that meets [dwOffset, dwOffset + nCount].
    BOOL IsPositionSelected(DWORD dwOffset, int nCount) const;
    // The selection's ends widened to whole words: the first and the last byte selected.
    DWORD WordStart() const;
    DWORD WordEnd() const;
    // The table text from WordStart to WordEnd; empty without a selection.
    CString GetSelectedText() const;
    BOOL HasSelection() const { return m_sel.nState != TableGridSelection::none && m_sel.nState != TableGridSelection::anchored; }
    const TableGridSelection& GetSelection() const { return m_sel; }
    void ClearSelection() { m_sel = TableGridSelection(); }

    // Ready (set up for a table) and locked (mouse ignored).
    BOOL IsReady() const { return m_bReady; }
    void SetReady(BOOL bReady) { m_bReady = bReady; }
    BOOL IsLocked() const { return m_bLocked; }
    void Unlock() { m_bLocked = FALSE; }

    // The link text of a link entry: "vl://%.6u" for the article, "vl://%.6u(%d)" for a section,
    // "vl://%.6u(T)" for a table of it.
    static CString MakeLinkText(DWORD dwTarget, int nPlace);
    // The hand cursor over links: the program's cursor 262, else the system's.
    static HCURSOR GetHandCursor();

protected:
    // Creates the pane as a child of the view with an arrow-cursor, double-click window class.
    BOOL CreatePane(CTableMainWin* pView, LPCSTR lpszName, DWORD dwStyle, const RECT& rect, UINT nID);
    // Follows link entry nLink: locks the pane, parses the link and posts VLM_OPEN_WINDOW
    // (IDW_ARTICLE, reference) to the top-level parent; the view unlocks the panes once the frame
    // has taken the message. FALSE when no reference came of it (the pane stays unlocked).
    BOOL FollowLink(int nLink);
    // The paint of both panes: a memory DC of the client size filled with the colour, handed to
    // PaintPane, then copied to the screen.
    void PaintOffScreen(COLORREF crFill);
    virtual void PaintPane(CDC& dc, const CRect& client) = 0;
    static BOOL IsBlank(BYTE c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CArticleTable* m_pTable = NULL;
    CTableMainWin* m_pView = NULL;
    TableGridSelection m_sel;
    BOOL m_bReady = FALSE;
    BOOL m_bLocked = FALSE;
};
