// CVLListCtrl: the program's plain owner-drawn list box. Its rows are word-wrapped texts, as high
// as their text needs in the client width, painted on the control's background colour (the
// virtual GetBkColor, white here) or in the system highlight colours when selected. The frame can
// be narrowed to a given width (SetFrameWidth) in place of the standard border.
#pragma once

#include <afxwin.h>

class CVLListCtrl : public CListBox {
    DECLARE_DYNAMIC(CVLListCtrl)
public:
    CVLListCtrl();
    ~CVLListCtrl() override;

    // The colour the rows and the empty area are painted on.
    virtual COLORREF GetBkColor();

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    // Rows keep the order they were inserted in: every pair compares equal.
    int CompareItem(LPCOMPAREITEMSTRUCT lpCompareItemStruct) override;

    // The system's vertical scroll-bar width.
    static int GetScrollBarWidth();
    // A frame of that width in place of the standard border; the frame is recomputed at once.
    void SetFrameWidth(int nWidth);
    // Turns the redrawing of changed rows off or back on (WM_SETREDRAW).
    void SetRedraw(BOOL bRedraw = TRUE) { SendMessage(WM_SETREDRAW, static_cast<WPARAM>(bRedraw)); }
    BOOL HasStandardFrame() const { return m_bStandardFrame; }
    int GetFrameWidth() const { return m_nFrameWidth; }

protected:
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg HBRUSH CtlColor(CDC* pDC, UINT nCtlColor);
    afx_msg void OnNcCalcSize(BOOL bCalcValidRects, NCCALCSIZE_PARAMS* lpncsp);
    afx_msg void OnNcPaint();
    DECLARE_MESSAGE_MAP()

    // The brush of GetBkColor, remade when the colour changes.
    CBrush* BackgroundBrush();

    BOOL m_bStandardFrame = TRUE;
    int m_nFrameWidth = 0;

private:
    CBrush m_brBackground;
    COLORREF m_crBrush = CLR_INVALID;
};
