// CVLVListWnd: a scrolling list window that never holds its rows. It asks a list data provider
// (CBaseListData) for the rows that fit on the screen, measures and draws them itself with word
// wrap, keeps the rectangle of every visible row in a CVirtualVisibleRectArray, and reports clicks
// to its parent. One vertical scroll bar spans the rows: its position is the first visible row
// less 1, its range 0 to the row count less 1.
//
// The parent hears of the list through WM_COMMAND (control id, code, this window):
//   code 2 (LBN_DBLCLK)    a click or double click on a row, or Enter
//   code 1 (LBN_SELCHANGE) the current row moved by a key
// The window answers the arrow keys, Page Up and Page Down, Home and End, and the mouse wheel.
#pragma once

#include "widgets/BaseListData.h"
#include "widgets/VLScrollWnd.h"

#include <afxwin.h>

#include <vector>

class CDib;

// One visible row: its rectangle in client co-ordinates, its 1-based row number and its
// selection key (the row number again when the list lays the rows out).
struct VLVISIBLEROW {
    RECT rect;
    long nRow;
    long nKey;
    BOOL bNotDownloaded;  // an online article whose file is not in the download folder
};

class CVirtualVisibleRectArray : public CObject {
    DECLARE_DYNCREATE(CVirtualVisibleRectArray)
public:
    int GetSize() const { return static_cast<int>(m_rows.size()); }
    int GetUpperBound() const { return GetSize() - 1; }
    const VLVISIBLEROW& GetAt(int nIndex) const { return m_rows[static_cast<size_t>(nIndex)]; }
    void Add(const VLVISIBLEROW& row) { m_rows.push_back(row); }
    // The index of the first row whose rectangle holds the point; -1 when none.
    int HitTest(int x, int y) const;
    void RemoveAllRows() { m_rows.clear(); }

private:
    std::vector<VLVISIBLEROW> m_rows;
};

// Own flags of the list.
enum : DWORD {
    VLV_LASTROWCLIPS = 0x100,  // a row that reaches the bottom edge ends the layout and stays in it
    VLV_TRACKSHIFT = 0x800,    // hover tracking stays while Shift is down
    VLV_TRACKKEEP = 0x8,       // hover tracking ends only on a move outside with the flag clear
};

// Control ids whose rows carry the icon of their content kind.
enum : UINT { VLV_ID_ICONROWS = 160002, VLV_ID_ICONROWS2 = 28930 };

class CVLVListWnd : public CVLScrollWnd {
    DECLARE_DYNCREATE(CVLVListWnd)
public:
    CVLVListWnd();
    explicit CVLVListWnd(CBaseListData* pData);
    ~CVLVListWnd() override;

    // Creates the child window "Virtual List Window" and lays the rows out from row 1; FALSE when
    // the window cannot be created.
    virtual BOOL Create(DWORD dwStyle, DWORD dwOwnFlags, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Visible rows: the first row number (-1 when none); the key of the first visible row after
    // the one with a key, and the row before it (0 when none); the last row (-1 when none); the
    // key of the first row (0 when none).
    virtual long GetFirstVisible();
    virtual long GetNextVisible(long nKey);
    virtual long GetPrevVisible(long nKey);
    virtual long GetLastVisible();
    virtual long GetTopKey();
    // Lays the rows out from a 1-based row (clamped into the list) with a repaint when asked; the
    // first row laid out, 0 when none.
    virtual long LayOutRows(long nFirstRow, BOOL bRepaint);
    // Draws the visible rows (the WM_PAINT handler).
    virtual void Paint();

    // Makes a row the top row and the current row.
    void ScrollToIndex(long nRow);
    // Lays the rows out again from the first visible one.
    void ScrollToTop();
    // Makes the current row the top row, when there is one.
    void ScrollToCurrent();
    // The current row (1-based; -1 when none), the row of the last click, key or ScrollToIndex.
    long GetCurrentItemData() const { return m_nCurrentRow; }
    // The text size in tenths of a point (90 at first); the previous one.
    int SetPointSize(int nTenths);
    int GetPointSize() const { return m_nPointSize; }
    // Every row this many pixels high (0: each row as high as its text, the default); the
    // previous height.
    int SetRowHeight(int nPixels);
    int GetRowHeight() const { return m_nRowHeight; }
    // Rows in palette black on palette white instead of the window's colours.
    void SetBlackOnWhite(BOOL bBlackOnWhite) { m_bBlackOnWhite = bBlackOnWhite; }

    CBaseListData* GetData() const { return m_pData; }
    const CVirtualVisibleRectArray& GetVisibleRows() const { return *m_pVisible; }
    // The title of the first row laid out, without a line end.
    const CString& GetTopTitle() const { return m_strTopTitle; }
    int GetScrollPosition() const { return m_nScrollPos; }

    // Measures (nMode DT_CALCRECT) or draws one row's text in the rectangle from 5 pixels right of
    // its left, wrapping at blanks; the not-downloaded mark stands before the first line. The
    // rectangle's bottom becomes the text's bottom; returns the height.
    int MeasureRow(LPCSTR lpszText, RECT& rect, CDC* pDC, UINT nMode, BOOL bNotDownloaded);
    // The same for the rows with a kind icon: the text 25 pixels right, 11 point, the icon of the
    // identifier's content kind at the top left.
    int DrawRow(long nId, LPCSTR lpszText, RECT& rect, CDC* pDC, UINT nMode);

protected:
    afx_msg void OnPaint();
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg BOOL OnMouseWheel(UINT nFlags, short zDelta, CPoint point);
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnGetDlgCode(WPARAM, LPARAM);
    DECLARE_MESSAGE_MAP()

    // Hover tracking, set by a subclass while the mouse is tracked over a row.
    BOOL m_bTracking;
    CRect m_rcTracking;
    DWORD m_dwOwnFlags;
    BOOL m_bBlackOnWhite;

private:
    BOOL HasIconRows() const;
    // A click at a point: the row under it becomes current and the parent hears of it.
    void ClickAt(CPoint point);
    // Posts WM_COMMAND with a code to the parent (or the notify window).
    void Notify(UINT nCode);
    // Lays out from a row and puts the scroll bar there.
    void ScrollTo(long nFirstRow);
    // Moves the current row by a key and keeps it in view.
    void MoveCurrent(long nRow);
    // Lays out so that a row is visible whole (when the window can show it whole).
    void KeepInView(long nRow);
    void CreateRowFont(CFont& font, int nTenths);
    // The not-downloaded mark (NULL when the program has none).
    CDib* Mark();

    CWnd* m_pNotifyWnd;
    CVirtualVisibleRectArray* m_pVisible;
    long m_nMostVisible;
    int m_nPointSize;
    CString m_strTopTitle;
    long m_nCurrentRow;
    CBaseListData* m_pData;
    int m_nScrollPos;
    int m_nRowHeight;
    CDib* m_pMark;
    BOOL m_bMarkLooked;
};
