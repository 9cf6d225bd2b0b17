// CWinThread and CWinApp: the message pump with idle processing, the message filter chain, the
// one application object, its command line, profile and cursors; AfxMessageBox and the other
// application-wide functions.
#pragma once

#include <afx.h>
#include <mfc/Wnd.h>

#include <commdlg.h>

#include <vector>

class CDC;
class CPrintDialog;
class CDocTemplate;
class CDocument;
class CRecentFileList;

class CCommandLineInfo : public CObject {
public:
    CCommandLineInfo();
    ~CCommandLineInfo() override = default;

    // Called for each argument: pszParam without its leading '-' or '/' when bFlag.
    virtual void ParseParam(const char* pszParam, BOOL bFlag, BOOL bLast);

    BOOL m_bShowSplash;
    BOOL m_bRunEmbedded;
    BOOL m_bRunAutomated;
    enum { FileNew, FileOpen, FilePrint, FilePrintTo, FileDDE, AppUnregister, FileNothing = -1 } m_nShellCommand;
    CString m_strFileName;
    CString m_strPrinterName;
    CString m_strDriverName;
    CString m_strPortName;
};

class CWinThread : public CCmdTarget {
    DECLARE_DYNAMIC(CWinThread)
public:
    CWinThread();
    ~CWinThread() override;

    CWnd* m_pMainWnd;
    CWnd* m_pActiveWnd;
    BOOL m_bAutoDelete;
    HANDLE m_hThread;
    DWORD m_nThreadID;
    MSG m_msgCur;

    virtual BOOL InitInstance();
    virtual int ExitInstance();
    // The message loop: idle processing while the queue is empty, then every message through
    // PumpMessage; ends with ExitInstance when WM_QUIT arrives.
    virtual int Run();
    virtual BOOL PreTranslateMessage(MSG* pMsg);
    virtual BOOL PumpMessage();
    // lCount counts the calls since the last message that restarted idle processing; returns
    // TRUE while more idle time is wanted.
    virtual BOOL OnIdle(LONG lCount);
    // Whether a message restarts idle processing (paint, the system timer and mouse moves that
    // do not move do not).
    virtual BOOL IsIdleMessage(MSG* pMsg);
    // Sees the messages of modal loops (menus, message boxes, dialogs) through the message
    // filter hook AfxWinInit installs; TRUE swallows the message. The default filters nothing.
    virtual BOOL ProcessMessageFilter(int code, LPMSG lpMsg);
    virtual CWnd* GetMainWnd();

protected:
    POINT m_ptCursorLast;
    UINT m_nMsgLast;
};

class CWinApp : public CWinThread {
    DECLARE_DYNAMIC(CWinApp)
public:
    explicit CWinApp(LPCSTR lpszAppName = NULL);
    ~CWinApp() override;

    HINSTANCE m_hInstance;
    HINSTANCE m_hPrevInstance;
    LPSTR m_lpCmdLine;
    int m_nCmdShow;
    LPCSTR m_pszAppName;
    LPCSTR m_pszExeName;
    LPCSTR m_pszProfileName;
    LPCSTR m_pszRegistryKey;
    LPCSTR m_pszHelpFilePath;
    int m_nWaitCursorCount;
    HCURSOR m_hcurWaitCursorRestore;

    virtual BOOL InitApplication();
    BOOL InitInstance() override;
    int ExitInstance() override;
    int Run() override;
    BOOL OnIdle(LONG lCount) override;
    virtual int DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT nIDPrompt);
    virtual void DoWaitCursor(int nCode);  // 1 on, -1 off, 0 show again

    void ParseCommandLine(CCommandLineInfo& rCmdInfo);

    CString GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault = NULL);
    UINT GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault);
    BOOL WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue);
    BOOL WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue);

    HCURSOR LoadCursor(LPCSTR lpszResourceName) const;
    HCURSOR LoadCursor(UINT nIDResource) const;
    HCURSOR LoadStandardCursor(LPCSTR lpszCursorName) const;
    HICON LoadIcon(LPCSTR lpszResourceName) const;
    HICON LoadIcon(UINT nIDResource) const;
    HICON LoadStandardIcon(LPCSTR lpszIconName) const;

    // Sets the names from the instance and command line (AfxWinMain does this): the program's
    // name, the application's title, the profile "<program>.INI" and the help file beside the
    // program ("<program path>.HLP"), each unless already set.
    void SetCurrentHandles();

    // The application's printer: its settings (DEVMODE) and names (DEVNAMES) in global memory,
    // NULL until a printer is first needed (then the default printer's). The application frees
    // them when it goes.
    HGLOBAL m_hDevMode;
    HGLOBAL m_hDevNames;
    // Gives the print dialog structure the application's printer (hDevNames and hDevMode, which
    // stay the application's); FALSE when there is no printer.
    BOOL GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg);
    // Makes these the application's printer; bFreeOld frees the ones it had.
    void SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, BOOL bFreeOld = TRUE);
    // Runs the print or print-setup dialog on the application's printer and keeps what it chose;
    // IDOK, IDCANCEL (nothing changed), or 0 when no dialog could be shown.
    virtual int DoPrintDialog(CPrintDialog* pPD);
    // Attaches to dc a device context for the application's printer; FALSE when there is none.
    BOOL CreatePrinterDC(CDC& dc);
    // The printer's settings changed (WM_DEVMODECHANGE): when it is the application's printer,
    // its settings are read again.
    void DevModeChange(LPSTR lpDeviceName);

    // The application's help: the main window's WinHelp with this help context or command.
    virtual void WinHelp(DWORD_PTR dwData, UINT nCmd = HELP_CONTEXT);

    // Command handlers: Print Setup (the print-setup dialog on the application's printer), the
    // help contents (ID_HELP_FINDER), F1 help (ID_HELP) and Shift+F1 context help
    // (ID_CONTEXT_HELP); the last two go to the main frame.
    afx_msg void OnFilePrintSetup();
    afx_msg void OnHelpFinder();
    afx_msg void OnHelp();
    afx_msg void OnContextHelp();

    // ---- Documents ----
    // The application owns the templates added and deletes them when it goes.
    void AddDocTemplate(CDocTemplate* pTemplate);
    POSITION GetFirstDocTemplatePosition() const;
    CDocTemplate* GetNextDocTemplate(POSITION& pos) const;
    // Opens the file with the template that fits it best (bringing it forward when it is open
    // already); NULL when it could not be opened.
    virtual CDocument* OpenDocumentFile(LPCSTR lpszFileName);
    virtual void AddToRecentFileList(LPCSTR lpszPathName);
    // The Open and Save As dialog with the templates' filters and "All Files (*.*)"; fileName
    // gets the chosen path. nIDSTitle: AFX_IDS_OPENFILE or AFX_IDS_SAVEFILE.
    BOOL DoPromptFileName(CString& fileName, UINT nIDSTitle, DWORD lFlags, BOOL bOpenFileDialog,
                          CDocTemplate* pTemplate);
    // Asks every document with changes; FALSE when one was cancelled.
    virtual BOOL SaveAllModified();
    void CloseAllDocuments(BOOL bEndSession);
    // Runs the command line's request: a new document, opening a file, printing one (/p: the
    // program ends after printing), or nothing. FALSE when it failed and the program should end.
    BOOL ProcessShellCommand(CCommandLineInfo& rCmdInfo);
    // The number of recent files is nMaxMRU (0: none); reads the list from the profile's
    // "Recent File List" section and the print-preview page count from "Settings".
    void LoadStdProfileSettings(UINT nMaxMRU = 4);
    void SaveStdProfileSettings();
    // Three-dimensional dialog controls: the platform's controls have that look already.
    BOOL Enable3dControls();
    BOOL Enable3dControlsStatic();

    afx_msg void OnFileNew();
    afx_msg void OnFileOpen();
    afx_msg void OnAppExit();
    afx_msg BOOL OnOpenRecentFile(UINT nID);
    afx_msg void OnUpdateRecentFileMenu(CCmdUI* pCmdUI);

    CRecentFileList* m_pRecentFileList;
    UINT m_nNumPreviewPages;

protected:
    // Makes the default printer the application's when it has none (or always with
    // bForceDefaults).
    void UpdatePrinterSelection(BOOL bForceDefaults);
    std::vector<CDocTemplate*> m_templateList;
    DECLARE_MESSAGE_MAP()

private:
    CString m_strAppName;
    CString m_strExeName;
    CString m_strProfileName;
    CString m_strHelpFilePath;
    CString m_strCmdLine;
    friend int AFXAPI AfxWinInit(HINSTANCE, HINSTANCE, LPSTR, int);
};

// Shows a wait cursor for the life of the object.
class CWaitCursor {
public:
    CWaitCursor();
    ~CWaitCursor();
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
    void Restore();
};

CWinApp* AFXAPI AfxGetApp();
CWinThread* AFXAPI AfxGetThread();
CWnd* AFXAPI AfxGetMainWnd();
HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
LPCSTR AFXAPI AfxGetAppName();
int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType = MB_OK, UINT nIDHelp = 0);
int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType = MB_OK, UINT nIDHelp = (UINT)-1);
// A string of the program's resources, else the framework's own text of that id; FALSE when
// neither has it.
BOOL AFXAPI AfxLoadString(UINT nIDS, CString& rString);
// The string nIDS with "%1" replaced by lpsz1.
void AFXAPI AfxFormatString1(CString& rString, UINT nIDS, LPCSTR lpsz1);
void AFXAPI AfxPostQuitMessage(int nExitCode);
BOOL AFXAPI AfxPumpMessage();
BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg);

// The application's entry: initialises the one application object from the arguments, runs
// InitInstance and the message loop (or ExitInstance when InitInstance fails) and returns the
// exit code.
int AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow);
// The same from a program's argc/argv (the command line is the arguments after the program).
int AFXAPI AfxMain(int argc, char** argv);
