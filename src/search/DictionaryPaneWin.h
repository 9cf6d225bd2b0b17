// CDictionaryPaneWin: what the dictionary pane's two tabs (the definitions and the word list)
// share: a bordered child with a vertical scroll bar under the dictionary tab window, its line
// metrics and top line, the scroll bar that tells where in the whole dictionary the reader is,
// and keys handed on to the tab window.
#pragma once

#include "widgets/VLScrollWnd.h"

class CDictionaryTabWin;

class CDictionaryPaneWin : public CVLScrollWnd {
public:
    CDictionaryPaneWin();
    ~CDictionaryPaneWin() override;

    int GetLineHeight() const { return m_nLineHeight; }
    int GetLinesPerPage() const { return m_nLinesPerPage; }

protected:
    // Creates the pane 100 by 100 at the point, on a ground of a stock brush.
    BOOL CreatePane(CWnd* pParentWnd, POINT pt, LPCSTR lpszName, int nStockBrush, UINT nID);
    // Arial at 9 points for the screen, of a weight.
    static BOOL CreatePaneFont(CFont& font, int nWeight, BOOL bItalic);
    // The scroll bar at the document's place in the whole dictionary.
    void SetScrollBar();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    CDictionaryTabWin* m_pOwner = NULL;
    int m_nLineHeight = 15;
    int m_nLinesPerPage = 20;
    int m_nTop = 0;
    BOOL m_bPending = FALSE;  // what was read last is not laid out yet
};
