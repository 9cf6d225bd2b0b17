// CCustomComboListBox: the owner-drawn list that CCustomComboBox drops: one line of text per row
// in the combo's font, the selected row inverted. A new selection is reported to the combo.
#pragma once

#include <afxwin.h>

class CCustomComboBox;

class CCustomComboListBox : public CListBox {
public:
    CCustomComboListBox() = default;

    void SetCombo(CCustomComboBox* pCombo) { m_pCombo = pCombo; }

    void MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct) override;
    void DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct) override;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSelChange();
    DECLARE_MESSAGE_MAP()

    CFont m_font;
    CCustomComboBox* m_pCombo = NULL;
};
