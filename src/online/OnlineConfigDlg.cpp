#include "online/OnlineConfigDlg.h"

#include "base/VLMessages.h"
#include "online/Cloud.h"

#include "resource.h"

namespace {

CCloud* Cloud()
{
    return CCloud::GetInstance();
}

}  // namespace

BEGIN_MESSAGE_MAP(COnlineConfigDlg, CDialog)
    ON_BN_CLICKED(IDC_ONLINE_CONFIGURE, OnConfigure)
END_MESSAGE_MAP()

COnlineConfigDlg::COnlineConfigDlg(CWnd* pParent) : CDialog(IDD_ONLINE_CONFIG, pParent) {}

void COnlineConfigDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Text(pDX, IDC_ONLINE_FOLDER, m_strFolder);
    DDV_MaxChars(pDX, m_strFolder, 255);
}

BOOL COnlineConfigDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    if (CWnd* pConfigure = GetDlgItem(IDC_ONLINE_CONFIGURE))
        pConfigure->EnableWindow(Cloud() != NULL && Cloud()->HasConnection());
    return TRUE;
}

void COnlineConfigDlg::OnConfigure()
{
    CCloud* pCloud = Cloud();
    if (pCloud == NULL || !pCloud->HasConnection()) {
        AfxMessageBox("Online service is not available.");
        return;
    }
    if (pCloud->IsDownloading()) {
        AfxMessageBox("ISP cannot be changed while downloading is in progress.");
        return;
    }
    pCloud->Reconfigure();
    // The online view shows the provider's state: it reads it again.
    if (CWnd* pMain = AfxGetMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL) {
        if (CWnd* pView = pMain->GetDlgItem(IDW_VLPLUS)) {
            static const UINT s_nUpdate = ::RegisterWindowMessage("VL:UPDATE LASTUPDATE");
            pView->PostMessage(s_nUpdate, 0, 0);
        }
    }
}

void COnlineConfigDlg::OnOK()
{
    if (!UpdateData(TRUE))
        return;
    if (m_strFolder.IsEmpty()) {
        if (AfxMessageBox("No download directory is specified.  Do you want to enter one?", MB_YESNO) == IDYES)
            return;
        EndDialog(IDOK);
        return;
    }
    CString strFolder = m_strFolder;
    if (strFolder[strFolder.GetLength() - 1] == '\\')
        strFolder = strFolder.Left(strFolder.GetLength() - 1);
    const DWORD dwAttributes = ::GetFileAttributes(strFolder);
    if (dwAttributes == INVALID_FILE_ATTRIBUTES || (dwAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0) {
        CString text;
        text.Format("The \"%s\" directory does not exist or is not a directory.  Do you want to enter another one?",
                    static_cast<LPCSTR>(strFolder));
        if (AfxMessageBox(text, MB_YESNO) == IDYES)
            return;
    }
    EndDialog(IDOK);
}
