// The new-edition reminder: at start-up, once the first-run agreements are through, a small
// modal notice may say that a more recent version is available and how to order it. The date of
// the next notice is the product section's "Next Prompt" ("%04d/%02d/%02d", or "OFF" for never).
#pragma once

#include <afxwin.h>

class CNewEditionReminderDlg : public CWnd {
public:
    explicit CNewEditionReminderDlg(CWnd* pOwner);
    ~CNewEditionReminderDlg() override;

    // The date rule: with no date yet, the first one is written (1 September 2000 before
    // 1 May 2000, else today + 120 days) and nothing shown; with "OFF" or a date ahead, nothing;
    // with an unreadable value, nothing (and nothing written); with a date that has come, the
    // notice is shown and the next date written (today + 30 days), or "OFF" when the reader
    // ticked the box. Returns the notice's result when shown, 0 when a date was written without
    // a notice or lies ahead, -1 otherwise.
    int CheckAndShow();
    // Shows the notice centred, with the owner disabled, until OK; returns 1.
    int DoModal();
    BOOL GetDisplayAgain() const { return m_bDisplayAgain; }

    BOOL PreTranslateMessage(MSG* pMsg) override;

    // The lines of the notice, in order.
    static const char* const s_lines[];
    static const int s_nLines;

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    DECLARE_MESSAGE_MAP()

private:
    CWnd* m_pOwner;
    CButton m_btnOK;
    CButton m_btnDontShow;
    BOOL m_bDisplayAgain = TRUE;
};
