// CHistoryDlg: the History dialog, a tab dialog that lists the frame's back list (most recent
// first, one top-level item of the tree-shaped list per state) and sends the chosen state back to its view: OK or a double click posts the frame a
// clone of it with 0x40D, which restores it without taking it out of the history.
#pragma once

#include "base/VLStateObj.h"
#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"
#include "widgets/VLListWindow.h"

#include <afxwin.h>

#define IDC_HISTORY_LIST 103

class CHistoryDlg : public CGenericTabWinDialog {
public:
    // The states are the frame's (borrowed while the dialog runs); pView is the current main view
    // the dialog is placed over (NULL: the owner's client area).
    CHistoryDlg(const CVLStateList& states, CWnd* pView);
    ~CHistoryDlg() override;

    // 206 x 185 a third of the way into the view, Cancel and OK in the bottom right corner and the
    // list above them, filled from the states.
    BOOL CreateControls() override;

    // The text the list shows for a state: its title without trailing blanks (at most 255
    // characters), or "No Title!".
    static CString ItemText(const CVLStateObj& state);

    CVLListWindow& GetList() { return m_list; }

protected:
    void FillList();
    // Posts the frame a clone of the current item's state, then ends with OK.
    void ChooseCurrent();

    afx_msg void OnOK();
    afx_msg void OnListDoubleClick();
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    const CVLStateList& m_states;
    CWnd* m_pView;
    CDibButton m_btnOK;
    CDibButton m_btnCancel;
    CVLListWindow m_list;
};
