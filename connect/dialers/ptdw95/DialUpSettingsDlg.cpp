// The dial-up networking dialer's settings dialog.
#include "dialers/ptdw95/DialUpSettingsDlg.h"

#include "dialers/ptdw95/resource.h"
#include "dialers/ptdw95/DialUpApp.h"
#include "dialers/BrowserFields.h"
#include "portixcmn/PortixCmn.h"

#include <portix/Status.h>

BEGIN_MESSAGE_MAP(CDialUpSettingsDlg, CDialog)
    ON_BN_CLICKED(IDC_USE_DEFAULT_BROWSER, OnUseDefaultBrowser)
    ON_BN_CLICKED(IDC_BROWSE, OnBrowse)
    ON_BN_CLICKED(IDC_AUTOCONFIGURE, OnAutoConfigure)
END_MESSAGE_MAP()

CDialUpSettingsDlg::CDialUpSettingsDlg(LPCSTR pszEntry, CWnd* pParent)
    : CDialog(IDD_DIALUP_SETTINGS, pParent), m_strEntry(pszEntry)
{
}

CString CDialUpSettingsDlg::ItemText(int nID) const
{
    char text[MAX_PATH + 1] = {};
    ::GetDlgItemText(m_hWnd, nID, text, sizeof text);
    CString value(text);
    WipeSecret(text, sizeof text);
    return value;
}

BOOL CDialUpSettingsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (m_phonebook.Enumerate() != PTX_SUCCESS) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    // Settings are kept per phonebook entry: one that the phonebook no longer holds has none
    // to edit.
    const BOOL known = m_phonebook.Find(m_strEntry) >= 0;
    if (CWnd* save = GetDlgItem(IDOK))
        save->EnableWindow(known);
    ::SendDlgItemMessage(m_hWnd, IDC_PASSWORD, EM_LIMITTEXT, PORTIX_PASSWORD_MAX, 0);
    if (known) {
        ::SetDlgItemText(m_hWnd, IDC_SESSION_NAME, m_strEntry);
        CString user = dlrGetUsername(m_strEntry, m_strEntry);
        CString password = dlrGetPassword(m_strEntry, m_strEntry);
        CString savedUser, savedPassword;
        if ((user.IsEmpty() || password.IsEmpty()) && CPhonebook::SavedAccount(m_strEntry, savedUser, savedPassword)) {
            if (user.IsEmpty())
                user = savedUser;
            if (password.IsEmpty())
                password = savedPassword;
        }
        ::SetDlgItemText(m_hWnd, IDC_USER_NAME, user);
        ::SetDlgItemText(m_hWnd, IDC_PASSWORD, password);
        WipeSecret(password);
        WipeSecret(savedPassword);
    }
    ::SetDlgItemText(m_hWnd, IDC_PROGRAM, dlrGetBrowser(m_strEntry));
    ::SetDlgItemText(m_hWnd, IDC_PARAMETERS, dlrGetBrowserParams(m_strEntry));
    ::CheckDlgButton(m_hWnd, IDC_ONE_BROWSER, dlrGetBrowserInstanceFlag(m_strEntry) == 1 ? BST_CHECKED : BST_UNCHECKED);
    // An entry never saved uses the default browser.
    const BOOL useDefault = dlrGetDialerDll(m_strEntry).IsEmpty() || dlrGetUseDefaultBrowser(m_strEntry) != 0;
    ::CheckDlgButton(m_hWnd, IDC_USE_DEFAULT_BROWSER, useDefault ? BST_CHECKED : BST_UNCHECKED);
    ApplyDefaultBrowser();
    return TRUE;
}

void CDialUpSettingsDlg::ApplyDefaultBrowser()
{
    EnableOwnBrowserFields(this, {IDC_PROGRAM, IDC_BROWSE, IDC_PARAMETERS, IDC_ONE_BROWSER, IDC_USE_DEFAULT_BROWSER});
}

void CDialUpSettingsDlg::OnUseDefaultBrowser() { ApplyDefaultBrowser(); }

void CDialUpSettingsDlg::OnBrowse()
{
    BrowseForBrowserProgram(this, IDC_PROGRAM);
}

void CDialUpSettingsDlg::OnAutoConfigure()
{
    CDialog wait;
    wait.Create(IDD_AUTOCONFIGURING, this);
    wait.CenterWindow();
    wait.ShowWindow(SW_SHOW);
    wait.UpdateWindow();
    CString found;
    for (LPCSTR name : {"lexplore.exe", "iexplore.exe", "netscape.exe"}) {
        for (char letter = 'a'; letter <= 'z' && found.IsEmpty(); ++letter) {
            const char root[4] = {letter, ':', '\\', '\0'};
            if (GetDriveType(root) != DRIVE_FIXED)
                continue;
            if (char* path = dlrSearchForFile(name, root, NULL)) {
                found = path;
                delete[] path;
            }
        }
        if (!found.IsEmpty())
            break;
    }
    wait.DestroyWindow();
    if (found.IsEmpty()) {
        AfxMessageBox(IDS_NO_BROWSER_FOUND, MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    ::SetDlgItemText(m_hWnd, IDC_PROGRAM, found);
    ::SetDlgItemText(m_hWnd, IDC_PARAMETERS, "");
}

void CDialUpSettingsDlg::OnOK()
{
    if (m_phonebook.Find(m_strEntry) < 0)
        return;
    const BOOL useDefault = ::IsDlgButtonChecked(m_hWnd, IDC_USE_DEFAULT_BROWSER) == BST_CHECKED;
    const CString program = ItemText(IDC_PROGRAM);
    if (!useDefault) {
        if (!CheckBrowserProgram(this, IDC_PROGRAM, program, IDS_NO_BROWSER, IDS_INVALID_BROWSER))
            return;
    }
    SetEntryNameOf(kDialUpNetworking, m_strEntry);
    CString password = ItemText(IDC_PASSWORD);
    dlrSetPassword(m_strEntry, password, m_strEntry);
    WipeSecret(password);
    dlrSetUsername(m_strEntry, ItemText(IDC_USER_NAME), m_strEntry);
    dlrSetBrowser(m_strEntry, program);
    dlrSetBrowserParams(m_strEntry, ItemText(IDC_PARAMETERS));
    dlrSetSupportDll(m_strEntry, "ISPWSOCK.DLL");
    dlrSetDialerDll(m_strEntry, "PTDW95.DLL");
    dlrSetUseDefaultBrowser(m_strEntry, useDefault ? 1 : 0);
    dlrSetBrowserInstanceFlag(m_strEntry, ::IsDlgButtonChecked(m_hWnd, IDC_ONE_BROWSER) == BST_CHECKED ? 1 : 0);
    EndDialog(IDOK);
}
