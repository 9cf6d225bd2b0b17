// CVLListWindow: the program's tree-shaped list. It holds an item tree (CTreeData) and shows one
// list-box row for every node whose ancestors are all expanded, indented by depth, with the
// node's icon and its text word-wrapped. It is driven like a tree view: items are inserted with
// tree-view insert records (parent TVI_ROOT or an item, insert-after TVI_FIRST, TVI_LAST, TVI_SORT
// or an item), expanded and collapsed with the tree-view expand codes and walked by relation
// code. Item ids are node ids (they never repeat); rows are list-box indexes.
//
// The owner (or, without one, the parent) hears of the list through WM_NOTIFY with an
// NMTREEVIEW record whose items carry the item id, its state with TVIS_SELECTED and its value:
//   NM_DBLCLK       a double click (after the item under it was toggled), with the mouse point
//   TVN_SELCHANGED  another row became the selected one
#pragma once

#include "base/TreeData.h"
#include "widgets/VLListCtrl.h"

class CDib;

class CVLListWindow : public CVLListCtrl {
    DECLARE_DYNCREATE(CVLListWindow)
public:
    CVLListWindow();
    ~CVLListWindow() override;

    // A list box that draws its own rows in its own order: LBS_SORT (remembered: AddString then
    // sorts) and LBS_HASSTRINGS are taken out, LBS_OWNERDRAWVARIABLE put in.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID) override;

    // Inserts an item; its id, 0 when the parent is not found. Its row appears when its parent
    // is expanded and shown.
    HTREEITEM InsertItem(LPTVINSERTSTRUCT lpInsert);
    // A top-level item with that text (sorted when the list was created sorted); its row, -1 when
    // it has none.
    int AddString(LPCSTR lpszText);
    // Removes the item with everything below it, and their rows; FALSE when it is not found.
    BOOL DeleteItem(HTREEITEM hItem);
    // Removes every row and item.
    void ResetContent();
    // TVE_COLLAPSE, TVE_EXPAND or TVE_TOGGLE; FALSE for another code or an unknown item.
    BOOL Expand(HTREEITEM hItem, UINT nCode);
    BOOL IsExpanded(HTREEITEM hItem);

    // The item in that relation: TVGN_NEXT, TVGN_PREVIOUS, TVGN_PARENT (TREE_ROOT_ID for a
    // top-level item), TVGN_CHILD (the item's first child; of the root with TVI_ROOT),
    // TVGN_ROOT; 0 when there is none.
    HTREEITEM GetNextItem(HTREEITEM hItem, UINT nCode);
    HTREEITEM GetNextSiblingItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_NEXT); }
    HTREEITEM GetParentItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_PARENT); }
    HTREEITEM GetRootItem() { return m_root.GetNextItem(NULL, TVGN_CHILD); }
    BOOL ItemHasChildren(HTREEITEM hItem);
    HTREEITEM GetChildItem(HTREEITEM hItem) { return GetNextItem(hItem, TVGN_CHILD); }
    CString GetItemText(HTREEITEM hItem);
    int GetItemImage(HTREEITEM hItem);
    LPARAM GetItemValue(HTREEITEM hItem);
    BOOL SetItemValue(HTREEITEM hItem, LPARAM nValue);
    // Items inserted less items deleted.
    int GetItemCount() const { return m_nItemCount; }

    // The current item: that of the selected row, else of the row last drawn as selected; 0 when
    // there is none.
    HTREEITEM GetCurrentItemId();
    // The id of a row; 0 for an invalid row.
    HTREEITEM GetItemIdAt(int nRow);
    // The row of an item; -1 when it has none.
    int FindRow(HTREEITEM hItem);
    // Selects the item's row; FALSE when it has none.
    BOOL SelectItem(HTREEITEM hItem);
    // Marks the item checked, and file-available when the downloaded article of its value (a
    // content number) is in the download folder; checked items without their file carry a mark.
    void CheckItemFile(HTREEITEM hItem);

    // Draws (or, with bDraw FALSE, measures) one item in the rectangle; its bottom becomes the
    // item's bottom + 1. Returns the height of the item's text.
    int DrawRow(CDC* pDC, HTREEITEM hItem, RECT& rect, BOOL bDraw, BOOL bSelected);

    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;
    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;

    void SetToggleOnDoubleClick(BOOL bToggle) { m_bToggleOnDblClk = bToggle; }
    void SetRowFontSize(int nTenths) { m_nFontSize = nTenths; }
    void SetIndent(int nPixels) { m_nIndent = nPixels; }
    CTreeData& GetTree() { return m_root; }

protected:
    // Rebuilds every row from the tree, keeping the top row and the selected item.
    void Refill();
    // Sends the owner (else the parent) WM_NOTIFY with code and point about the current item;
    // nothing without a receiver or a current item.
    void Notify(UINT nCode, CPoint point);
    // Whether the node and all its ancestors are expanded (its children have rows).
    BOOL ChildrenShown(CTreeData* pNode);
    // The width rows are laid out in.
    int RowWidth();
    // The not-downloaded mark (617, or 618 on a selected row); NULL when it is missing.
    CDib* Mark(BOOL bSelected);

    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    CTreeData m_root;
    BOOL m_bToggleOnDblClk = TRUE;
    int m_nCurIndex = -1;
    int m_nFontSize = 110;
    int m_nIndent = 16;
    int m_nLastWidth = -1;
    int m_nLastHeight = -1;
    BOOL m_bRefilling = FALSE;
    int m_nItemCount = 0;
    BOOL m_bSorted = FALSE;

private:
    // Removes the rows of the node's visible descendants.
    void DeleteDescendantRows(CTreeData* pNode);
    static int CountNodes(const CTreeData* pNode);

    CDib* m_pMarks[2] = {NULL, NULL};
    BOOL m_bMarksLooked[2] = {FALSE, FALSE};
};
