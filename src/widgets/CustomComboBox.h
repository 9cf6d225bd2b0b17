// CCustomComboBox: a read-only drop-down field in the program's own style: the chosen row's text
// on white, a picture arrow that drops an owner-drawn list (CCustomComboListBox) below it. See
// CustomComboBase.h for what it shares with the editable kind.
#pragma once

#include "widgets/CustomComboBase.h"
#include "widgets/CustomComboListBox.h"

class CCustomComboBox : public CCustomComboBase {
public:
    CCustomComboBox() = default;

    // The field (20 pixels high at the rectangle's top) and the hidden list below it down to the
    // rectangle's bottom; TRUE when every part was made.
    BOOL Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID);

    // Selects the row in the list and fits the list to its rows; the list's answer.
    int SetCurSel(int nRow);
    // Shows the row's text in the field and keeps it as the selection (-1 empties the field);
    // a shown list hides. 1, or -1 for row -1.
    int ShowItemText(int nRow);
    // Hides the list when it is up.
    void HideDropList() { HideList(); }
    // The list's rows are added here.
    CCustomComboListBox& GetList() { return m_list; }

    CWnd* GetListWnd() override { return &m_list; }
    int GetRowCount() override;

    // The list's selection changed: its row becomes the shown text and the list hides.
    void OnListSelChange();

protected:
    CCustomComboListBox m_list;
};
