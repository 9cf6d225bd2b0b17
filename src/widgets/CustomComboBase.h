// CCustomComboBase: what the program's two drop-down controls share (CCustomComboBox, a read-only
// field with an owner-drawn list, and CCustomComboDropList, an editable field with a tree-style
// list). Both are a 20-pixel field with a picture arrow at its right; the drop list is a hidden
// sibling (child id 202) that hangs below the field, as wide as the field less the arrow.
// Clicking the arrow shows or hides the list and tells the parent (WM_NOTIFY NM_CLICK with the
// control's id).
#pragma once

#include <afxwin.h>

class CDib;

// The field's height, its arrow picture and the drop list's id.
#define CUSTOMCOMBO_HEIGHT 20
#define CUSTOMCOMBO_ARROW_PICTURE 452
#define CUSTOMCOMBO_LIST_ID 202

class CCustomComboBase : public CWnd {
public:
    ~CCustomComboBase() override;

    // Shows the text (the row's, or empty) in the field.
    void SetShownText(const CString& strText);
    const CString& GetShownText() const { return m_strText; }
    int GetSelectedRow() const { return m_nSelected; }
    int GetArrowWidth() const { return m_nArrowWidth; }
    CFont& GetFieldFont() { return m_font; }
    // Whether the drop list is up.
    BOOL IsListShown();
    // The height of one list row in the field's font: tmHeight + tmExternalLeading.
    int LineHeight();
    // Hides a shown list (the parent repainted where it was).
    void HideList();

    // The drop list window (a sibling of the control).
    virtual CWnd* GetListWnd() = 0;
    // The number of rows the list holds.
    virtual int GetRowCount() = 0;

protected:
    // The field window, the arrow picture and the font; FALSE when one cannot be made.
    BOOL CreateField(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);
    // The list's place for the control's place: 20 pixels below its top, field width less the
    // arrow, nHeight high.
    CRect ListRect(int nHeight);
    // The field area left of the arrow (client coordinates).
    CRect TextRect();
    // Resizes the list to its rows.
    void FitListToRows();
    // Shows a hidden list, hides a shown one, then tells the parent NM_CLICK.
    void ToggleList();

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMove(int x, int y);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnShowWindow(BOOL bShow, UINT nStatus);
    DECLARE_MESSAGE_MAP()

    CDib* m_pArrow = NULL;
    int m_nArrowWidth = 0;
    CFont m_font;
    CRect m_rectText{0, 0, 0, 0};
    CString m_strText;
    int m_nSelected = -1;
    // The field shows its text (the drop list's edit part draws its own).
    BOOL m_bDrawText = TRUE;
};
