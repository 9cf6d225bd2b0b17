#include "shell/LicenseAgreementDlg.h"

#include "base/DataFolders.h"
#include "shell/ProofOfEntitlementDlg.h"

#include "resource.h"

const char LicenseAgreementDlg::s_szNote[] =
    "This program is licensed to you only if you accept the agreement below. Choose Yes to accept "
    "it; No ends the program.";

LicenseAgreementDlg::LicenseAgreementDlg(CWnd* pParent) : CDialog(IDD_LICENSE_AGREEMENT, pParent) {}

LPCSTR LicenseAgreementDlg::TextFileName(int nLanguage)
{
    return nLanguage == 1 ? "Licnfren.txt" : "Licnengl.txt";
}

BOOL LicenseAgreementDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemText(m_hWnd, IDC_LICENSE_NOTE, s_szNote);
    CWaitCursor wait;
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT, 1, TRUE)) {
        EndDialog(IDCANCEL);
        return TRUE;
    }
    CString strText;
    try {
        CFile file(strFolder + TextFileName(m_nLanguage), CFile::modeRead | CFile::shareDenyWrite);
        const UINT nLength = static_cast<UINT>(file.GetLength());
        LPSTR pBuffer = strText.GetBuffer(static_cast<int>(nLength));
        const UINT nRead = file.Read(pBuffer, nLength);
        strText.ReleaseBuffer(static_cast<int>(nRead));
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        EndDialog(IDCANCEL);
        return TRUE;
    }
    ::SetDlgItemText(m_hWnd, IDC_LICENSE_TEXT, strText);
    GetDlgItem(IDC_LICENSE_TEXT)->SetFocus();
    return FALSE;
}

int RunFirstRunAgreements(CWnd* pParent)
{
    ProofOfEntitlementDlg notice(pParent);
    if (notice.DoModal() != IDOK)
        return IDCANCEL;
    LicenseAgreementDlg agreement(pParent);
    agreement.m_nLanguage = notice.m_nLanguage;
    return agreement.DoModal() == IDOK ? IDOK : IDCANCEL;
}
