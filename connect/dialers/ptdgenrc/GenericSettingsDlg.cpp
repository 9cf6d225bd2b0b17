// The generic dialer's settings dialog.
#include "dialers/ptdgenrc/GenericSettingsDlg.h"

#include "dialers/ptdgenrc/resource.h"
#include "dialers/BrowserFields.h"
#include "portixcmn/PortixCmn.h"

BEGIN_MESSAGE_MAP(CGenericSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_USE_DEFAULT_BROWSER, OnUseDefaultBrowser)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_AUTOCONFIGURE, OnAutoConfigure)
END_MESSAGE_MAP()

CGenericSettingsDlg::CGenericSettingsDlg(LPCSTR pszConnection, LPCSTR pszSupportDll, LPCSTR pszDialerDll,
                                         CWnd* pParent)
    : CDialog(IDD_GENERIC_SETTINGS, pParent), m_strConnection(pszConnection), m_strSupportDll(pszSupportDll),
      m_strDialerDll(pszDialerDll)
{
}

CString CGenericSettingsDlg::ItemText(int nID) const
{
    char text[MAX_PATH + 1] = {};
    ::GetDlgItemText(m_hWnd, nID, text, sizeof text);
    return CString(text);
}

void CGenericSettingsDlg::SetItem(int nID, LPCSTR pszText)
{
    ::SetDlgItemText(m_hWnd, nID, pszText);
}

BOOL CGenericSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    SetItem(IDC_PROGRAM, dlrGetBrowser(m_strConnection));
    SetItem(IDC_PARAMETERS, dlrGetBrowserParams(m_strConnection));
    ::CheckDlgButton(m_hWnd, IDC_ONE_BROWSER, dlrGetBrowserInstanceFlag(m_strConnection) == 1 ? BST_CHECKED : BST_UNCHECKED);
    // A connection never saved uses the default browser.
    const BOOL useDefault =
        dlrGetDialerDll(m_strConnection).IsEmpty() || dlrGetUseDefaultBrowser(m_strConnection) != 0;
    ::CheckDlgButton(m_hWnd, IDC_USE_DEFAULT_BROWSER, useDefault ? BST_CHECKED : BST_UNCHECKED);
    ApplyDefaultBrowser();
    return TRUE;
}

void CGenericSettingsDlg::ApplyDefaultBrowser()
{
    EnableOwnBrowserFields(this, {IDC_PROGRAM, IDC_BROWSE, IDC_PARAMETERS, IDC_ONE_BROWSER, IDC_USE_DEFAULT_BROWSER});
}

void CGenericSettingsDlg::OnUseDefaultBrowser() { ApplyDefaultBrowser(); }

void CGenericSettingsDlg::OnBrowse()
{
    BrowseForBrowserProgram(this, IDC_PROGRAM);
}

void CGenericSettingsDlg::OnAutoConfigure()
{
    CWnd* foreground = CWnd::GetForegroundWindow();
    CDialog wait;
    wait.Create(IDD_AUTOCONFIGURING, foreground);
    wait.CenterWindow();
    wait.ShowWindow(SW_SHOW);
    wait.UpdateWindow();
    const CString browser = dlrFindDefaultBrowser();
    if (foreground != NULL)
        foreground->EnableWindow(TRUE);
    wait.DestroyWindow();
    if (browser.IsEmpty()) {
        AfxMessageBox(IDS_NO_BROWSER_FOUND, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    SetItem(IDC_PROGRAM, browser);
    SetItem(IDC_PARAMETERS, "");
}

void CGenericSettingsDlg::OnOK()
{
    const BOOL useDefault = ::IsDlgButtonChecked(m_hWnd, IDC_USE_DEFAULT_BROWSER) == BST_CHECKED;
    const CString program = ItemText(IDC_PROGRAM);
    if (!useDefault) {
        if (!CheckBrowserProgram(this, IDC_PROGRAM, program, IDS_NO_BROWSER, IDS_INVALID_BROWSER))
            return;
    }
    dlrSetBrowser(m_strConnection, program);
    dlrSetBrowserParams(m_strConnection, ItemText(IDC_PARAMETERS));
    dlrSetSupportDll(m_strConnection, m_strSupportDll);
    dlrSetDialerDll(m_strConnection, m_strDialerDll);
    dlrSetUseDefaultBrowser(m_strConnection, useDefault ? 1 : 0);
    dlrSetBrowserInstanceFlag(m_strConnection, ::IsDlgButtonChecked(m_hWnd, IDC_ONE_BROWSER) == BST_CHECKED ? 1 : 0);
    EndDialog(IDOK);
}
