#include "PadApp.h"

#include "MainFrame.h"
#include "PadDoc.h"
#include "PadView.h"
#include "resource.h"

#include <clocale>

BEGIN_MESSAGE_MAP(CPadApp, CWinApp)
ON_COMMAND(ID_APP_ABOUT, OnAppAbout)
ON_COMMAND(ID_FILE_NEW, CWinApp::OnFileNew)
ON_COMMAND(ID_FILE_OPEN, CWinApp::OnFileOpen)
ON_COMMAND(ID_FILE_PRINT_SETUP, CWinApp::OnFilePrintSetup)
END_MESSAGE_MAP()

CPadApp::CPadApp() = default;

BOOL CPadApp::InitInstance()
{
    setlocale(LC_ALL, "");
    Enable3dControls();
    LoadStdProfileSettings(4);

    AddDocTemplate(new CSingleDocTemplate(IDR_MAINFRAME, RUNTIME_CLASS(CPadDoc), RUNTIME_CLASS(CMainFrame),
                                          RUNTIME_CLASS(CPadView)));

    CCommandLineInfo cmdInfo;
    ParseCommandLine(cmdInfo);
    return ProcessShellCommand(cmdInfo);
}

void CPadApp::OnAppAbout()
{
    CAboutDlg about;
    about.DoModal();
}

CAboutDlg::CAboutDlg() : CDialog(IDD_ABOUTBOX) {}
