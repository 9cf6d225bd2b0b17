// COnlineConfigDlg (dialog 175, "Configure"): the folder that keeps downloaded online files, and
// the connection library's own configuration of the Internet service provider. The caller sets
// the folder before running it and takes it back after OK; the dialog never makes a folder.
#pragma once

#include <afxwin.h>

class COnlineConfigDlg : public CDialog {
public:
    explicit COnlineConfigDlg(CWnd* pParent = NULL);

    // The download folder as typed (at most 255 characters).
    CString m_strFolder;

protected:
    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    // An empty or missing folder is questioned; No accepts it as typed.
    void OnOK() override;
    afx_msg void OnConfigure();
    DECLARE_MESSAGE_MAP()
};
