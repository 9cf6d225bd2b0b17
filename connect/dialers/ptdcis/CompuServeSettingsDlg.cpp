// The CompuServe dialer's settings dialog.
#include "dialers/ptdcis/CompuServeSettingsDlg.h"

#include "dialers/ptdcis/CompuServeApp.h"
#include "dialers/ptdcis/resource.h"
#include "dialers/BrowserFields.h"
#include "portixcmn/PortixCmn.h"

#include <portix/Status.h>

BEGIN_MESSAGE_MAP(CCompuServeSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_USE_DEFAULT_BROWSER, OnUseDefaultBrowser)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_AUTOCONFIGURE, OnAutoConfigure)
    ON_CBN_SELCHANGE(IDC_SESSION_NAME, OnSessionChange)
END_MESSAGE_MAP()

CCompuServeSettingsDlg::CCompuServeSettingsDlg(LPCSTR pszConnection, LPCSTR pszSupportDll, LPCSTR pszDialerDll,
                                               CWnd* pParent)
    : CDialog(IDD_COMPUSERVE_SETTINGS, pParent), m_strConnection(pszConnection), m_strSupportDll(pszSupportDll),
      m_strDialerDll(pszDialerDll)
{
}

CString CCompuServeSettingsDlg::ItemText(int nID) const
{
    char text[MAX_PATH + 1] = {};
    ::GetDlgItemText(m_hWnd, nID, text, sizeof text);
    CString value(text);
    WipeSecret(text, sizeof text);
    return value;
}

CString CCompuServeSettingsDlg::ChosenEntry() const
{
    const LRESULT at = ::SendDlgItemMessage(m_hWnd, IDC_SESSION_NAME, CB_GETCURSEL, 0, 0);
    if (at == CB_ERR || at >= m_phonebook.Names().GetSize())
        return CString();
    return m_phonebook.Names()[at];
}

BOOL CCompuServeSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_phonebook.Enumerate() != PTX_SUCCESS) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    const CStringArray& names = m_phonebook.Names();
    for (INT_PTR i = 0; i < names.GetSize(); ++i)
        ::SendDlgItemMessage(m_hWnd, IDC_SESSION_NAME, CB_ADDSTRING, 0,
                             reinterpret_cast<LPARAM>(static_cast<LPCSTR>(names[i])));
    if (CWnd* save = GetDlgItem(IDOK))
        save->EnableWindow(names.GetSize() > 0);
    if (names.GetSize() > 0) {
        const int stored = m_phonebook.Find(EntryNameOf(m_strConnection));
        ::SendDlgItemMessage(m_hWnd, IDC_SESSION_NAME, CB_SETCURSEL, stored >= 0 ? stored : 0, 0);
    }
    ::SendDlgItemMessage(m_hWnd, IDC_PASSWORD, EM_LIMITTEXT, PORTIX_PASSWORD_MAX, 0);
    LoadAccount();
    ::SetDlgItemText(m_hWnd, IDC_PROGRAM, dlrGetBrowser(m_strConnection));
    ::SetDlgItemText(m_hWnd, IDC_PARAMETERS, dlrGetBrowserParams(m_strConnection));
    ::CheckDlgButton(m_hWnd, IDC_ONE_BROWSER, dlrGetBrowserInstanceFlag(m_strConnection) == 1 ? BST_CHECKED : BST_UNCHECKED);
    ::CheckDlgButton(m_hWnd, IDC_USE_DEFAULT_BROWSER,
                     dlrGetUseDefaultBrowser(m_strConnection) != 0 ? BST_CHECKED : BST_UNCHECKED);
    ApplyDefaultBrowser();
    return TRUE;
}

void CCompuServeSettingsDlg::LoadAccount()
{
    const CString entry = ChosenEntry();
    CString user, password;
    if (!entry.IsEmpty()) {
        user = dlrGetUsername(m_strConnection, entry);
        password = dlrGetPassword(m_strConnection, entry);
        CString savedUser, savedPassword;
        if ((user.IsEmpty() || password.IsEmpty()) && CPhonebook::SavedAccount(entry, savedUser, savedPassword)) {
            if (user.IsEmpty())
                user = savedUser;
            if (password.IsEmpty())
                password = savedPassword;
        }
        WipeSecret(savedPassword);
    }
    ::SetDlgItemText(m_hWnd, IDC_USER_NAME, user);
    ::SetDlgItemText(m_hWnd, IDC_PASSWORD, password);
    WipeSecret(password);
}

void CCompuServeSettingsDlg::OnSessionChange() { LoadAccount(); }

void CCompuServeSettingsDlg::ApplyDefaultBrowser()
{
    EnableOwnBrowserFields(this, {IDC_PROGRAM, IDC_BROWSE, IDC_PARAMETERS, IDC_ONE_BROWSER, IDC_USE_DEFAULT_BROWSER});
}

void CCompuServeSettingsDlg::OnUseDefaultBrowser() { ApplyDefaultBrowser(); }

void CCompuServeSettingsDlg::OnBrowse()
{
    BrowseForBrowserProgram(this, IDC_PROGRAM);
}

void CCompuServeSettingsDlg::OnAutoConfigure()
{
    ::CheckDlgButton(m_hWnd, IDC_USE_DEFAULT_BROWSER, BST_CHECKED);
    ApplyDefaultBrowser();
    CDialog wait;
    wait.Create(IDD_AUTOCONFIGURING, this);
    wait.CenterWindow();
    wait.ShowWindow(SW_SHOW);
    wait.UpdateWindow();
    const int compuServe = m_phonebook.Find(kCompuServeEntry);
    if (compuServe >= 0) {
        ::SendDlgItemMessage(m_hWnd, IDC_SESSION_NAME, CB_SETCURSEL, compuServe, 0);
        LoadAccount();
    }
    const CString browser = dlrFindDefaultBrowser();
    wait.DestroyWindow();
    if (browser.IsEmpty()) {
        AfxMessageBox(IDS_NO_BROWSER_FOUND, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ::SetDlgItemText(m_hWnd, IDC_PROGRAM, browser);
    ::SetDlgItemText(m_hWnd, IDC_PARAMETERS, "");
}

void CCompuServeSettingsDlg::OnOK()
{
    const CString entry = ChosenEntry();
    if (entry.IsEmpty())
        return;
    // A browser program is wanted even while CompuServe's own is chosen: it is the one used when
    // the check box is cleared later.
    const CString program = ItemText(IDC_PROGRAM);
    if (!CheckBrowserProgram(this, IDC_PROGRAM, program, IDS_NO_BROWSER, IDS_INVALID_BROWSER))
        return;
    SetEntryNameOf(m_strConnection, entry);
    CString password = ItemText(IDC_PASSWORD);
    dlrSetPassword(m_strConnection, password, entry);
    WipeSecret(password);
    dlrSetUsername(m_strConnection, ItemText(IDC_USER_NAME), entry);
    dlrSetBrowser(m_strConnection, program);
    dlrSetBrowserParams(m_strConnection, ItemText(IDC_PARAMETERS));
    dlrSetSupportDll(m_strConnection, m_strSupportDll);
    dlrSetDialerDll(m_strConnection, m_strDialerDll);
    dlrSetUseDefaultBrowser(m_strConnection, ::IsDlgButtonChecked(m_hWnd, IDC_USE_DEFAULT_BROWSER) == BST_CHECKED ? 1 : 0);
    EndDialog(IDOK);
}
