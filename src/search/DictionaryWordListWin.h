// CDictionaryWordListWin: the Word List tab of the dictionary pane. It shows the headwords of the
// dictionary one entry per row, from the entry of the current word on, and scrolls through the
// whole definitions file in either direction. A click on a row looks that headword up and
// switches to its definitions.
#pragma once

#include "search/DictionaryLayout.h"
#include "search/DictionaryPaneWin.h"

class CDictionaryWordListWin : public CDictionaryPaneWin {
public:
    // What the next paint does.
    enum Action { kFillForward, kLineDown, kLineUp, kPageDown, kPageUp, kTop, kBottom, kJump, kRedraw };

    CDictionaryWordListWin();
    ~CDictionaryWordListWin() override;

    // A bordered child with a vertical scroll bar, "Word List", id 8011.
    virtual BOOL Create(CWnd* pParentWnd, POINT pt);
    // Reads the headword under the reader afresh and lists from it.
    void StartAfresh();
    // Prints the rows shown on one page.
    void Print();

    // The rows, open for tests.
    const CStringArray& GetRows() const { return m_rows; }
    int GetTopRow() const { return m_nTop; }
    int GetSelectedRow() const { return m_nSelected; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CDictionaryLayout::Fonts RowFonts() { return {&m_fontRow, &m_fontRow, &m_fontRow}; }
    // Lays out headword lines forward (bRead: read one first) until a page is filled.
    void FillForward(CDC* pDC, BOOL bRead);
    // Reads headwords before the first row until the top row index is no longer below 0.
    void FillBackward(CDC* pDC);
    int RowAt(CPoint point) const;

    CFont m_fontRow;
    CStringArray m_rows;
    int m_nSelected = -1;
    Action m_nAction = kRedraw;
    BOOL m_bStarted = FALSE;
    BOOL m_bTracking = FALSE;
};
