#include "online/DeleteDownloadsDlg.h"

#include "resource.h"

CDeleteDownloadsDlg::CDeleteDownloadsDlg(CWnd* pParent) : CDialog(IDD_DELETE_DOWNLOADS, pParent) {}

BOOL CDeleteDownloadsDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::CheckRadioButton(m_hWnd, IDC_DELETE_SESSION, IDC_DELETE_ALL, IDC_DELETE_SESSION);
    return TRUE;
}

void CDeleteDownloadsDlg::OnOK()
{
    m_nChoice = ::IsDlgButtonChecked(m_hWnd, IDC_DELETE_SESSION) == BST_CHECKED ? 1 : 2;
    CDialog::OnOK();
}
