// The logon dialog of the dial-up dialers.
#include "dialers/LogonDlg.h"

#include "dialers/Phonebook.h"

#include <ras.h>

BEGIN_MESSAGE_MAP(CLogonDlg, CDialog)
    ON_EN_CHANGE(IDC_USER, OnEditChange)
    ON_EN_CHANGE(IDC_PASSWORD, OnEditChange)
END_MESSAGE_MAP()

CLogonDlg::CLogonDlg(UINT nTemplate, LPCSTR pszUser, LPCSTR pszPassword, CWnd* pParent)
    : CDialog(nTemplate, pParent), m_strUser(pszUser), m_strPassword(pszPassword)
{
}

CLogonDlg::~CLogonDlg() { WipeSecret(m_strPassword); }

CString CLogonDlg::ItemText(int nID) const
{
    char text[PWLEN + 2] = {};
    ::GetDlgItemText(m_hWnd, nID, text, sizeof text);
    CString value(text);
    WipeSecret(text, sizeof text);
    return value;
}

BOOL CLogonDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SendDlgItemMessage(m_hWnd, IDC_USER, EM_LIMITTEXT, UNLEN, 0);
    ::SendDlgItemMessage(m_hWnd, IDC_PASSWORD, EM_LIMITTEXT, PWLEN, 0);
    ::SetDlgItemText(m_hWnd, IDC_USER, m_strUser);
    ::SetDlgItemText(m_hWnd, IDC_PASSWORD, m_strPassword);
    WipeSecret(m_strPassword);
    OnEditChange();
    return TRUE;
}

void CLogonDlg::OnEditChange()
{
    // OK only while both edits hold text.
    const BOOL both = ::GetWindowTextLength(::GetDlgItem(m_hWnd, IDC_USER)) > 0 &&
                      ::GetWindowTextLength(::GetDlgItem(m_hWnd, IDC_PASSWORD)) > 0;
    if (CWnd* ok = GetDlgItem(IDOK))
        ok->EnableWindow(both);
}

void CLogonDlg::OnOK()
{
    m_strUser = ItemText(IDC_USER);
    m_strPassword = ItemText(IDC_PASSWORD);
    if (m_strUser.IsEmpty() || m_strPassword.IsEmpty())
        return;
    EndDialog(IDOK);
}
