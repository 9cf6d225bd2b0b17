// CJustLookingListContainer: the browsing view's category list, a list box over the client
// area of a bordered container. A change of the selected row sends JLM_CATEGORY_CHANGED (or, as
// the content list IDC_JL_CONTENTLIST, JLM_CONTENT_CHANGED) with the row to the parent.
#pragma once

#include <afxwin.h>

class CJustLookingListContainer : public CWnd {
    DECLARE_DYNAMIC(CJustLookingListContainer)
public:
    CJustLookingListContainer();
    ~CJustLookingListContainer() override;

    // The container ("JustLookingListContainer") and its list box, both with the id.
    BOOL Create(const RECT& rect, CWnd* pParentWnd, UINT nID);
    // Adds a row; its index, or LB_ERR.
    int AddString(LPCSTR lpszText);
    CListBox& GetListBox() { return m_list; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    CListBox m_list;
    UINT m_nID;
};
