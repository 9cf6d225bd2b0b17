// CDictionaryDefnWin: the Definitions tab of the dictionary pane. It shows the dictionary as one
// continuous text that begins at the looked-up entry and scrolls forward and backward through
// the whole definitions file: entries are read as they come into view, wrapped to the pane's
// width in three type styles (CDictionaryLayout) and kept as laid-out lines. The reader selects
// words by dragging, copies them, looks a word up by double-clicking it, and prints what has
// been shown.
#pragma once

#include "search/DictionaryLayout.h"
#include "search/DictionaryPaneWin.h"

class CDictionaryEntry;

class CDictionaryDefnWin : public CDictionaryPaneWin {
public:
    CDictionaryDefnWin();
    ~CDictionaryDefnWin() override;

    // A bordered child with a vertical scroll bar, "Definition List", id 8010.
    virtual BOOL Create(CWnd* pParentWnd, POINT pt);

    // Reads the entry under the reader afresh and lays out from it.
    void StartAfresh();
    // The selected characters (codes and indents left out, lines joined), at most nLimit of them
    // (-1: all); empty when nothing is selected.
    CString GetSelectedText(int nLimit) const;
    BOOL HasSelection() const { return m_nSelAnchorLine >= 0; }
    // Prints the lines read since the tab last started afresh.
    void Print();

    // The layout, open for tests.
    const CStringArray& GetLines() const { return m_lines; }
    int GetTopLine() const { return m_nTop; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

private:
    CDictionaryLayout::Fonts ScreenFonts() { return {&m_fontRegular, &m_fontBold, &m_fontItalic}; }
    // Lays out the entry read last (bRead: read the next one first) and the entries after it
    // until a page is filled or the data ends.
    void LayOutForward(CDC* pDC, BOOL bRead);
    // Lays out the entries before the first laid-out one until the top line is reached.
    void LayOutBackward(CDC* pDC);
    void Draw(CDC* pDC);
    // The laid-out line and character under a point of the client area.
    void HitTest(CPoint point, int& nLine, int& nChar);
    void SelectWordAt(CPoint point);
    void ExtendSelection(CPoint point);
    void ClearSelection();
    // The selection as (first line, char) .. (last line, char), in order; FALSE when none.
    BOOL SelectionRange(int& nLine1, int& nChar1, int& nLine2, int& nChar2) const;
    // The bounds of the word around a character of a laid-out line.
    void WordBounds(int nLine, int nChar, int& nFirst, int& nLast) const;
    // The owner's look-up of a word, as the reader would type it.
    void LookUpWord(LPCSTR lpszWord);

    CDictionaryEntry* m_pEntry = NULL;
    CFont m_fontBold, m_fontRegular, m_fontItalic;
    BOOL m_bWrapped = FALSE;
    CStringArray m_lines;
    int m_nAdded = 0;
    BOOL m_bSelecting = FALSE;
    int m_nSelAnchorLine = -1, m_nSelAnchorChar = -1, m_nSelEndLine = -1, m_nSelEndChar = -1;
    BOOL m_bMoved = FALSE;
    BOOL m_bDragging = FALSE;
};
