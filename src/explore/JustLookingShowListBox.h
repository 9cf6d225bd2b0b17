// CJustLookingShowListBox: the FIND list of the browsing view. It holds two list windows over
// the same rectangle: one over the show list file ("Jlshow.dat", every item, shown while both
// filters are "all") and one over the database list filtered by category and content; one is
// current at a time. Rows are 85 pixels high. A change of the current row (LBN_SELCHANGE) and a
// click or Enter (LBN_DBLCLK) post JLM_FIND_ROW (the current row, 0) to the parent view.
#pragma once

#include <afxwin.h>

class CBaseListData;
class CJustLookingFileVirtualList;
class CJustLookingTreeControl;
class CJustLookingVirtualData;

// Control ids of the browsing view's controls (all below 65536).
#define IDC_JL_FINDLIST 14003
#define IDC_JL_CATEGORYLIST 14004
#define IDC_JL_CONTENTLIST 14005

// Messages of the browsing view's controls to the view.
#define JLM_CONTENT_CHANGED 0x978   // (selected row, 0): the content list's row changed
#define JLM_CATEGORY_CHANGED 0x979  // (selected row, 0): the category list's row changed
#define JLM_FIND_ROW 0x97A          // (current row, 0): a FIND row was chosen or moved to

class CJustLookingShowListBox : public CWnd {
    DECLARE_DYNAMIC(CJustLookingShowListBox)
public:
    enum { kRowHeight = 85 };

    CJustLookingShowListBox();
    ~CJustLookingShowListBox() override;

    // Keeps the id and creates the child window; FALSE when it cannot be made (no database).
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID);

    // The show list: every item, in the file's rows; the entry count is read again.
    void ShowAll();
    // The filtered database list.
    void ShowFiltered();
    // Filters the database list (the category and content indexes of the database list) and
    // gives its row count; a list with rows is loaded from row 1 and shown from the top.
    long Filter(int nCategory, int nContent);
    // Loads the block of the current list that holds a 1-based row.
    void Select(long nIndex);
    // The entries of the show list; 0 (after "Jlshow index file is missing.  Need to build a
    // new one.") when neither the list nor its index can be had.
    long ReadIndexCount();

    long GetFileCount() const { return m_nFileCount; }
    BOOL IsShowingAll() const { return m_pCurrentTree == m_pFileTree; }
    CJustLookingTreeControl* GetCurrentTree() const { return m_pCurrentTree; }
    CBaseListData* GetCurrentData() const { return m_pCurrentData; }
    CJustLookingFileVirtualList* GetFileList() const { return m_pFileData; }
    CJustLookingVirtualData* GetDatabaseList() const { return m_pDBData; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnDestroy();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    void MakeCurrent(CJustLookingTreeControl* pTree, CBaseListData* pData);
    void DeleteLists();

    CJustLookingTreeControl* m_pDBTree;
    CJustLookingTreeControl* m_pFileTree;
    CJustLookingVirtualData* m_pDBData;
    CJustLookingFileVirtualList* m_pFileData;
    CJustLookingTreeControl* m_pCurrentTree;
    CBaseListData* m_pCurrentData;
    UINT m_nID;
    long m_nFileCount;
};
