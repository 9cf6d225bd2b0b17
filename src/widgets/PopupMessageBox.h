// CPopupMessageBox: a small modal message box in the program's own look, a tab dialog with the
// message on one line and a picture OK button, for messages that belong to one of the program's
// panels ("Text not found." in the find window, for instance). Run it with RunTabDialog: 1 when
// OK ended it, 2 when it was closed.
#pragma once

#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"

class CPopupMessageBox : public CGenericTabWinDialog {
public:
    // The box's top-left corner in screen coordinates; NULL: centred over the main window (or the
    // screen when there is none).
    CPopupMessageBox(LPCSTR lpszText, LPCSTR lpszTitle, const POINT* pPosition);
    // Destroys the OK button's window first.
    ~CPopupMessageBox() override;

    // 220 x 150 at the position, the OK button (pictures 551 and 550) under the message.
    BOOL CreateControls() override;

    const CString& GetText() const { return m_strText; }
    CDibButton& GetOKButton() { return m_btnOK; }

protected:
    afx_msg void OnPaint();
    DECLARE_MESSAGE_MAP()

    CDibButton m_btnOK;
    CString m_strText;
    CPoint m_ptPosition;
    BOOL m_bHasPosition;
};
