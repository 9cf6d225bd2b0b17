// CTreeData: one node of the item tree behind the program's tree-shaped list windows. A node
// holds its text, icon, user value, tree-view state bits and depth, and owns its children in an
// ordered list. Nodes are inserted, changed and walked through the tree-view records (insert
// record, item record with its mask, relation codes), but the tree lives here in memory; the list
// window shows a row for every node whose ancestors are all expanded.
//
// A node's id is handed out from one counter that only grows, so an id names exactly one node for
// the whole run: once the node is deleted its id is never found again, even when other nodes are
// inserted at the same place. The root node (the one the list window owns) has id -1 and level
// -1, so top-level items have level 0.
#pragma once

#include <afxwin.h>
#include <commctrl.h>

#include <memory>
#include <vector>

class CListBox;

// The id of the root node and the answer "no such item".
#define TREE_ROOT_ID ((HTREEITEM)(LONG_PTR)-1)

class CTreeData {
public:
    CTreeData();
    // A node at that depth made from the item record (as SetItem applies it).
    CTreeData(const TVITEM& item, int nLevel);
    virtual ~CTreeData();

    // Deletes this node's children, then copies text, image, value, state and level; id and flags
    // stay this node's own.
    CTreeData& operator=(const CTreeData& other);
    CTreeData(const CTreeData&) = delete;

    // Applies the members the record's mask names: text (TVIF_TEXT), image (TVIF_IMAGE), value
    // (TVIF_PARAM), and the state bits of the state mask (TVIF_STATE).
    void SetItem(const TVITEM& item);

    // Inserts a child of this node by the record's insert-after value: TVI_FIRST at the head,
    // TVI_LAST or 0 at the tail, TVI_SORT before the first child whose text sorts after the new
    // one without regard to case (after its equals), or the id of a child to follow (at the tail
    // when no child has that id). Returns the new node's id.
    HTREEITEM InsertItem(const TVINSERTSTRUCT& insert);

    // This node for TREE_ROOT_ID, else the node of that id below it (depth first); NULL when none.
    CTreeData* FindNodeById(HTREEITEM hId);
    // The parent of the node of that id below this node; NULL when none.
    CTreeData* FindParentOf(HTREEITEM hId);
    // Removes the child of that id with everything below it; FALSE when it is not a child of
    // this node.
    BOOL RemoveChild(HTREEITEM hId);
    // Deletes every node below this one.
    void DeleteChildren();

    // The item in that relation (TVGN_CHILD first child of this node; TVGN_NEXT, TVGN_PREVIOUS,
    // TVGN_PARENT relative to the node of that id below this node); 0 when there is none. The
    // parent of a child of this node is this node's own id.
    HTREEITEM GetNextItem(HTREEITEM hId, UINT nCode);

    // When this node is expanded: appends a row for each child (its id as the row's item data),
    // each followed by its own visible rows.
    void AddVisibleRows(CListBox* pList);

    BOOL HasChildren() const { return m_pChildren != NULL && !m_pChildren->empty(); }
    int GetChildCount() const { return m_pChildren != NULL ? static_cast<int>(m_pChildren->size()) : 0; }
    CTreeData* GetChild(int nIndex) const { return (*m_pChildren)[static_cast<size_t>(nIndex)].get(); }

    CString m_strText;
    int m_nImage = 0;
    LPARAM m_nValue = 0;
    UINT m_nState = 0;
    int m_nLevel = 0;
    std::unique_ptr<std::vector<std::unique_ptr<CTreeData>>> m_pChildren;
    HTREEITEM m_hId = TREE_ROOT_ID;
    BOOL m_bExpanded = FALSE;
    BOOL m_bChecked = FALSE;
    BOOL m_bFileAvailable = FALSE;

private:
    static HTREEITEM NewId();
    // The position of the child of that id; -1 when none.
    int ChildIndex(HTREEITEM hId) const;
};
