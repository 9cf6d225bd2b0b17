// "Dial-Up Networking Settings" (template 201): the account and browser of one phonebook entry.
#pragma once

#include "dialers/Phonebook.h"

#include <afxwin.h>

class CDialUpSettingsDlg : public CDialog {
public:
    // The settings of the phonebook entry that was selected as the connection type.
    CDialUpSettingsDlg(LPCSTR pszEntry, CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnUseDefaultBrowser();
    afx_msg void OnBrowse();
    afx_msg void OnAutoConfigure();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyDefaultBrowser();
    CString ItemText(int nID) const;

    CString m_strEntry;
    CPhonebook m_phonebook;
};
