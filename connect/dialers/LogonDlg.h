// "Dialup Connection": the user name and password of one dial, asked when none are stored.
#pragma once

#include <afxwin.h>

class CLogonDlg : public CDialog {
public:
    enum { IDC_USER = 1002, IDC_PASSWORD = 1004 };

    // The dialog of that template, opened with the entry's stored account.
    CLogonDlg(UINT nTemplate, LPCSTR pszUser, LPCSTR pszPassword, CWnd* pParent = NULL);
    ~CLogonDlg() override;

    // What was typed (after OK); for this one dial only.
    const CString& User() const { return m_strUser; }
    const CString& Password() const { return m_strPassword; }

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnEditChange();
    DECLARE_MESSAGE_MAP()

private:
    CString ItemText(int nID) const;

    CString m_strUser;
    CString m_strPassword;
};
