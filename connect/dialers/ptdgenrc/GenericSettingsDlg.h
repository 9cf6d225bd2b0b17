// "Generic ISP Settings" (template 201): the browser of the selected connection, or the
// system's default browser, and whether only one browser window is wanted.
#pragma once

#include <afxwin.h>

class CGenericSettingsDlg : public CDialog {
public:
    // The settings of this connection, which is written as a connection of these libraries.
    CGenericSettingsDlg(LPCSTR pszConnection, LPCSTR pszSupportDll, LPCSTR pszDialerDll, CWnd* pParent = NULL);

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    afx_msg void OnUseDefaultBrowser();
    afx_msg void OnBrowse();
    afx_msg void OnAutoConfigure();
    DECLARE_MESSAGE_MAP()

private:
    // Enables the browser fields unless the default browser is used.
    void ApplyDefaultBrowser();
    CString ItemText(int nID) const;
    void SetItem(int nID, LPCSTR pszText);

    CString m_strConnection;
    CString m_strSupportDll;
    CString m_strDialerDll;
};
