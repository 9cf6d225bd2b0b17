// "CompuServe Settings" (template 201): the phonebook entry and account of the selected
// connection, and its browser (CompuServe's browser starter or one of the user's choice).
#pragma once

#include "dialers/Phonebook.h"

#include <afxwin.h>

class CCompuServeSettingsDlg : public CDialog {
public:
    CCompuServeSettingsDlg(LPCSTR pszConnection, LPCSTR pszSupportDll, LPCSTR pszDialerDll, CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnUseDefaultBrowser();
    afx_msg void OnBrowse();
    afx_msg void OnAutoConfigure();
    afx_msg void OnSessionChange();
    DECLARE_MESSAGE_MAP()

private:
    void ApplyDefaultBrowser();
    // The chosen phonebook entry (empty when none is).
    CString ChosenEntry() const;
    // The account of the chosen entry: the connection's stored one, an empty part filled from
    // the phonebook's saved account.
    void LoadAccount();
    CString ItemText(int nID) const;

    CString m_strConnection;
    CString m_strSupportDll;
    CString m_strDialerDll;
    CPhonebook m_phonebook;
};
