// CCustomComboDropList: an editable drop-down field in the program's own style: an edit part
// (CCustomComboEdit, child id 201, at most 40 characters) left of a picture arrow that drops a
// tree-style list (CVLListWindow) below it. Choosing a row puts its text in the edit with all of
// it selected. The keys that move about a panel (see CCustomComboEdit) and every character
// reaching the control are posted on to the parent, which decides what they do.
#pragma once

#include "widgets/CustomComboBase.h"
#include "widgets/CustomComboEdit.h"
#include "widgets/CustomComboTreeList.h"

// The edit part's child id and its length.
#define CUSTOMCOMBO_EDIT_ID 201
#define CUSTOMCOMBO_EDIT_LIMIT 40

class CCustomComboDropList : public CCustomComboBase {
public:
    CCustomComboDropList();

    // The field (20 pixels high at the rectangle's top) with its edit part, and the hidden list
    // below it down to the rectangle's bottom; TRUE when every part was made.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Removes the list's selection.
    void ClearSelection();
    void HideList() { CCustomComboBase::HideList(); }
    void SetEditSel(int nStart, int nEnd);
    // Adds a row to the list; its index.
    int AddString(LPCSTR lpszItem);
    // Puts a text in the edit part (an empty text does nothing).
    void SetEditText(LPCSTR lpszText);
    CString GetEditText();

    CVLListWindow& GetList() { return m_list; }
    // The list's selection changed: the row's text goes into the edit, all of it selected, the
    // edit gets the focus and the list hides.
    void OnListSelChanged();
    CCustomComboEdit& GetEdit() { return m_edit; }
    CWnd* GetListWnd() override { return &m_list; }
    int GetRowCount() override;

protected:
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnChar(UINT nChar, UINT nRepCnt, UINT nFlags);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    DECLARE_MESSAGE_MAP()

    void PostToParent();

    CCustomComboTreeList m_list;
    CCustomComboEdit m_edit;
    DWORD m_dwReserved = 0;
    HWND m_hwndEdit = NULL;
};
