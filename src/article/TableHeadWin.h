// CTableHeadWin: the lower pane of the tables view ("Table Footnotes", child 2): the footnote
// rows of the table (laid out in their own line space) with their first footnote mark, scrolled
// a line at a time, and the links in them.
#pragma once

#include "article/TableGridWin.h"

class CTableHeadWin : public CTableGridWin {
    DECLARE_DYNAMIC(CTableHeadWin)
public:
    CTableHeadWin();
    ~CTableHeadWin() override;

    BOOL Create(CTableMainWin* pView, const RECT& rect);

    // Sets the pane up for the view's table (nothing to show when it has no footnotes).
    void SetTable(CArticleTable* pTable);
    // The first hot spot of a footnote link whose rectangle holds the point strictly, or -1.
    int HitTestLink(int x, int y) const;
    void UpdateScrollRange();
    // Range and position 0 (the view resets the pane's bar when it shows a table).
    void ResetScroll();

    COLORREF GetBkColor() override { return PALETTERGB(255, 238, 166); }

    BOOL HasFootnotes() const { return m_bHasFootnotes; }
    int GetFootnoteLines() const { return m_nFootnoteLines; }
    int GetVPos() const { return m_nVPos; }
    int GetVLine() const { return m_nVLine; }
    int GetVMax() const { return m_nVMax; }

protected:
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    void PaintPane(CDC& dc, const CRect& client) override;

private:
    void PaintFootnotes(CDC& dc);
    void SetVPos(int nPos);

    BOOL m_bHasFootnotes = FALSE;
    int m_nFootnoteLines = 0;
    int m_nLineHeight = 0;
    int m_nVLine = 0;
    int m_nVPos = 0;
    int m_nVMin = 0;
    int m_nVMax = 0;
    int m_nVPrevious = 0;
    int m_cySeen = 0;
};
