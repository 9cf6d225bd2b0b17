#include "shell/LocateDiscDlg.h"

#include "base/DataFolders.h"
#include "shell/FolderPrompts.h"

#include "resource.h"

BEGIN_MESSAGE_MAP(LocateDiscDlg, CDialog)
    ON_BN_CLICKED(IDC_LOCATE_ANY_DRIVE, OnChooseRadio)
    ON_BN_CLICKED(IDC_LOCATE_FOLDER, OnChooseRadio)
    ON_BN_CLICKED(IDC_LOCATE_BROWSE, OnBrowse)
END_MESSAGE_MAP()

LocateDiscDlg::LocateDiscDlg(CWnd* pParent) : CDialog(IDD_LOCATE_DISC, pParent) {}

void LocateDiscDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_LOCATE_ANY_DRIVE, m_nChoice);
    DDX_Text(pDX, IDC_LOCATE_PATH, m_strLocation);
}

BOOL LocateDiscDlg::OnInitDialog()
{
    m_nChoice = m_bAnyDrive ? 0 : 1;
    CDialog::OnInitDialog();
    EnableLocation(!m_bAnyDrive);
    return TRUE;
}

void LocateDiscDlg::EnableLocation(BOOL bEnable)
{
    if (CWnd* pEdit = GetDlgItem(IDC_LOCATE_PATH))
        pEdit->EnableWindow(bEnable);
    if (CWnd* pBrowse = GetDlgItem(IDC_LOCATE_BROWSE))
        pBrowse->EnableWindow(bEnable);
}

void LocateDiscDlg::OnChooseRadio()
{
    EnableLocation(::IsDlgButtonChecked(m_hWnd, IDC_LOCATE_FOLDER) == BST_CHECKED);
}

void LocateDiscDlg::OnBrowse()
{
    CString strFolder;
    if (BrowseForFolder(this, "Choose the folder that holds the disc.", strFolder))
        ::SetDlgItemText(m_hWnd, IDC_LOCATE_PATH, strFolder);
}

void LocateDiscDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    m_bAnyDrive = m_nChoice != 1;
    if (m_bAnyDrive) {
        EndDialog(IDOK);
        return;
    }
    m_strLocation.Trim();
    if (m_strLocation.IsEmpty()) {
        AfxMessageBox("No disc location specified.", MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_LOCATE_PATH));
        return;
    }
    AppendBackslash(m_strLocation);
    ::SetDlgItemText(m_hWnd, IDC_LOCATE_PATH, m_strLocation);
    if (!FolderExists(m_strLocation)) {
        AfxMessageBox("The specified location does not exist.", MB_ICONEXCLAMATION);
        GotoDlgCtrl(GetDlgItem(IDC_LOCATE_PATH));
        return;
    }
    EndDialog(IDOK);
}
