// CPadApp: the plain-text editor's application. Start-up sets the run-time library's locale to
// the user's, reads the recent-file list (4 entries), makes the single-document template (the
// frame's resources, CPadDoc, CMainFrame, CPadView) and then does what the command line asks:
// a new document, the file named, or (/p) printing it and ending.
#pragma once

#include <afxwin.h>

class CPadApp : public CWinApp {
public:
    CPadApp();

    BOOL InitInstance() override;

    afx_msg void OnAppAbout();

    DECLARE_MESSAGE_MAP()
};

// The About box (dialog IDD_ABOUTBOX).
class CAboutDlg : public CDialog {
public:
    CAboutDlg();
};
