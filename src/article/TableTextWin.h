// CTableTextWin: the upper pane of the tables view ("Table Text", child 1): the table body drawn
// from the layout, with the heading rows frozen at the top and, where the table asks for it, the
// first column frozen at the left; search hits in red and links in blue. It scrolls both ways,
// follows links, selects whole words with the mouse (Ctrl+A all), looks a double-clicked word up
// in the dictionary and copies the selection as text (Ctrl+C): cells apart by TABs, rows ending
// in CR LF.
#pragma once

#include "article/TableGridWin.h"

class CTableTextWin : public CTableGridWin {
    DECLARE_DYNAMIC(CTableTextWin)
public:
    CTableTextWin();
    ~CTableTextWin() override;

    BOOL Create(CTableMainWin* pView, const RECT& rect);

    // Sets the pane up for the view's table: positions and selection cleared, the scroll ranges
    // for the pane's size, and the first search hit brought into sight.
    void SetTable(CArticleTable* pTable);
    // The hot spot (footnote flag 0) under a point of the pane, or -1.
    int HitTestLink(int x, int y) const;
    // The text position under a point; FALSE when no line of the table lies there.
    BOOL PointToPosition(CPoint point, TableGridPosition& position);
    void SelectAll();
    // The selection as clipboard text: merged cells that begin at a position get their TABs, CR
    // becomes CR LF, and the text ends with CR LF.
    CString GetCopyText() const;
    BOOL CopyToClipboard();
    // The footnote pane was hidden: the vertical range for the whole height, the position back
    // by the footnote pane's height.
    void FootnotesHidden(int nFootHeight);

    COLORREF GetBkColor() override { return PALETTEINDEX(30); }

    // Scroll state, for the view and its tests.
    int GetVPos() const { return m_nVPos; }
    int GetVLine() const { return m_nVLine; }
    int GetVMax() const { return m_nVMax; }
    int GetHPos() const { return m_nHPos; }
    int GetHMax() const { return m_nHMax; }
    BOOL NeedsHScroll() const { return m_bHScroll; }
    int GetCentreOffset() const { return m_nCentre; }
    int GetHeadingLines() const { return m_nHeadingLines; }
    int GetBodyLines() const { return m_nBodyLines; }
    int GetLineHeight() const { return m_nLineHeight; }
    // Lines of the body that fit below the heading rows.
    int VisibleBodyLines() const;

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnHScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    void PaintPane(CDC& dc, const CRect& client) override;

private:
    // Draws the table into the DC of the client size.
    void PaintTable(CDC& dc, const CRect& client);
    // The screen x of a run's line and whether the line is drawn (the frozen areas), as painting
    // and hit testing place it.
    struct LinePlace {
        int x, y, nStart, nCount;
        BOOL bVisible;
    };
    LinePlace PlaceLine(int nRun, int nLine, int cy) const;
    BOOL IsFootnoteRun(int nRun) const;
    // The horizontal step and the unit of the horizontal range.
    int ColumnStep() const;
    void UpdateVRange();
    void UpdateHRange(int cx);
    void SetVPos(int nPos);
    void SetHPos(int nPos);
    void UpdateSelectionText();
    // Whether the sticky-note marker (top-left) is under the point.
    BOOL InStickyMarker(CPoint point) const;

    int m_nLineHeight = 0;
    int m_nTableWidth = 0;
    BOOL m_bHScroll = FALSE;
    int m_nHPos = 0;
    int m_nHMax = 0;
    int m_nCentre = 0;
    CRect m_rectHeading;
    CRect m_rectBody;
    int m_nHeadingLines = 0;
    int m_nBodyLines = 0;
    int m_nTotalLines = 0;
    int m_nVLine = 0;
    int m_nVPos = 0;
    int m_nVMin = 0;
    int m_nVMax = 0;
    int m_nVPrevious = 0;
    int m_cxSeen = 0;
    int m_cySeen = 0;
    BOOL m_bDragged = FALSE;
    CString m_strSelection;
};
