// CTableMainWin: the tables view (child window 8004, "Main Table Window"). It shows one table of
// the article that the article view shows: the frame sends it VLM_OPEN_WINDOW with the article's
// CArticleDocument (borrowed; the document's current table index names the table). The view owns
// the laid-out table (CArticleTable), the screen fonts and line metrics that the layout and both
// panes use, the text pane (CTableTextWin, the table body), the footnote pane (CTableHeadWin), a
// strip of buttons (back to the article, show and hide the footnotes, the sticky note) and the
// table's sticky-note window.
//
// Commands (WM_COMMAND): 1 back to the article (a clone of the article's reference goes to the
// main window; a table opened for a search hit in a table goes back without hits), 2 show and 3
// hide the footnote pane, 4 print (PrintTable), 6 the sticky note (also VLM_STICKY_NOTE).
#pragma once

#include "article/ArticleTable.h"
#include "base/VLMainWin.h"
#include "widgets/DibButton.h"
#include "widgets/RollOverButton.h"

#include <afxwin.h>

#include <memory>

class CArticleDocument;
class CStickyNoteWnd;
class CTableHeadWin;
class CTableTextWin;

// Child and command ids of the view.
enum : UINT {
    IDC_TABLE_BACK = 1,
    IDC_TABLE_SHOW_FOOTNOTES = 2,
    IDC_TABLE_HIDE_FOOTNOTES = 3,
    IDC_TABLE_PRINT = 4,
    IDC_TABLE_STICKY = 6,
    IDW_TABLE_TEXT = 1,
    IDW_TABLE_FOOTNOTES = 2,
};

// What the view shares with its panes: the table shown and the line metrics of the body font.
struct TableGridContext {
    int nTable = 0;
    RECT aRects[3] = {{0, 0, 100, 20}, {0, 0, 100, 20}, {0, 0, 100, 20}};
    int nLineHeight = 0;   // character height + external leading
    int nHeightLessDescent = 0;
    int nAscent = 0;
    int nDescent = 0;
    int nExternalLeading = 0;
    int nCharWidth = 0;  // of "A"
    DWORD dwFlags = 0;
};

class CTableMainWin : public CVLMainWin {
    DECLARE_DYNAMIC(CTableMainWin)
public:
    // The strip of buttons above the panes.
    enum { stripHeight = 30 };

    CTableMainWin();
    ~CTableMainWin() override;

    // Creates the window once (child 8004 of the parent); a second call returns FALSE.
    virtual BOOL Create(CWnd* pParentWnd, const RECT& rect);
    // The frame's view factory.
    BOOL CreateMainWin(const RECT& rect, CWnd* pParentWnd) { return Create(pParentWnd, rect); }

    // Shows the document's current table: switches the frame to this view, lays the table out
    // and sets both panes up for it. Damaged table data is reported and nothing changes.
    void ShowTable(CArticleDocument* pDocument);

    // The frame's Print command: PrintTable.
    void OnFilePrint() override;
    BOOL CanPrint() override;
    // Copies the text pane's selection (TABs between cells, CR LF between rows).
    void OnEditCopy() override;
    void OnUpdateEditCopy(CCmdUI* pCmdUI) override;
    void OnEditSelectAll() override;
    void OnUpdateEditSelectAll(CCmdUI* pCmdUI) override;
    void OnActivateMainWin(BOOL bActive) override;

    // Prints the current table (CTablePrinter); the view can print while it shows a table.
    virtual void PrintTable();

    // The nine screen fonts anew at the screen class's size, and the body font's line metrics.
    void CreateFonts();
    CFont* GetFontForCode(int nCode);
    // Places the panes and buttons for the client size and the footnote state.
    void PlaceChildren();
    // The sticky button and the three strip buttons; FALSE when one could not be made (the later
    // ones are then left out).
    BOOL CreateButtons();
    // The sticky-note window looks at this table's notes (section code 200 + table index).
    void UpdateStickyPosition();
    // The panes take the mouse again once the frame has taken a followed link.
    void UnlockPanesLater();

    CArticleTable* GetTable() const { return m_pTable.get(); }
    CArticleDocument* GetDocument() const { return m_pDocument; }
    int GetTableIndex() const { return m_nTableIndex; }
    CTableFontSet* GetFonts() const { return m_pFonts.get(); }
    const TableGridContext& GetGridContext() const { return m_grid; }
    CTableTextWin* GetTextWin() const { return m_pTextWin; }
    CTableHeadWin* GetHeadWin() const { return m_pHeadWin; }
    CStickyNoteWnd* GetStickyNoteWnd() const { return m_pStickyWnd; }
    CDibButton* GetStickyButton() { return &m_btnSticky; }
    CRollOverButton* GetButton(int nId);
    BOOL IsStickyButtonShown() const { return m_bStickyShown; }
    BOOL AreFootnotesHidden() const { return m_bFootnotesHidden; }
    BOOL IsBusy() const { return m_bBusy; }
    int GetLeftMargin() const { return m_nLeftMargin; }
    COLORREF GetBkColorValue() const { return m_crBackground; }
    void SetCurrentBkColor(COLORREF crColor) { m_crBackground = crColor; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnBackToArticle();
    afx_msg void OnShowFootnotes();
    afx_msg void OnHideFootnotes();
    afx_msg void OnPrintCommand();
    afx_msg void OnStickyCommand();
    afx_msg LRESULT OnStickyNote(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnOpenWindow(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStickyPresent(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnStickyDeleted(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnUnlockPanes(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    // Heights of the two panes for a client height: 80 % and 20 % of what lies below the strip.
    int TextPaneHeight(int cy) const { return (cy - stripHeight) * 80 / 100; }
    int FootPaneHeight(int cy) const { return (cy - stripHeight) * 20 / 100; }
    BOOL MakeButton(CRollOverButton& button, UINT nId, const UINT (&ids)[5]);

    CTableTextWin* m_pTextWin = NULL;
    CTableHeadWin* m_pHeadWin = NULL;
    CRollOverButton m_btnBack;
    CRollOverButton m_btnShowFootnotes;
    CRollOverButton m_btnHideFootnotes;
    CDibButton m_btnSticky;
    BOOL m_bButtonsMade = FALSE;
    int m_cxClient = 0;
    int m_cyClient = 0;
    int m_cxButton = 0;
    int m_cyButton = 0;

    std::unique_ptr<CArticleTable> m_pTable;
    int m_nTableIndex = 0;
    TableGridContext m_grid;
    BOOL m_bFootnotesHidden = FALSE;
    BOOL m_bBusy = TRUE;
    BOOL m_bPrinting = FALSE;
    int m_nLeftMargin = 30;
    int m_nTextHeight = 0;
    int m_nFootHeight = 0;
    int m_nTableWidth = 0;
    COLORREF m_crBackground;
    std::unique_ptr<CTableFontSet> m_pFonts;
    CStickyNoteWnd* m_pStickyWnd = NULL;
    BOOL m_bStickyShown = FALSE;
    CArticleDocument* m_pDocument = NULL;
};
