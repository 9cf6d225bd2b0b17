// CCustomComboTreeList: the tree-style list that CCustomComboDropList drops. It is a child of the
// panel, like the control; a new selection it reports (TVN_SELCHANGED) comes back to it from the
// panel and is handed to the control before the panel sees it.
#pragma once

#include "widgets/VLListWindow.h"

class CCustomComboDropList;

class CCustomComboTreeList : public CVLListWindow {
public:
    CCustomComboTreeList() = default;

    void SetCombo(CCustomComboDropList* pCombo) { m_pCombo = pCombo; }

protected:
    afx_msg BOOL OnSelChanged(NMHDR* pHeader, LRESULT* pResult);
    DECLARE_MESSAGE_MAP()

    CCustomComboDropList* m_pCombo = NULL;
};
