// CWinThread's message loop and idle processing, CWinApp and the application-wide functions.
#include <afxdlgs.h>
#include <afxwin.h>
#include <host/Process.h>

#include <host/Presenter.h>

#include "LibraryAppInternal.h"

#include <map>
#include <mutex>

#include <cerrno>
#include <cstdio>
#include <vector>
#include <cstring>
#include <string>

IMPLEMENT_DYNAMIC(CWinThread, CCmdTarget)
IMPLEMENT_DYNAMIC(CWinApp, CWinThread)

namespace {

CWinApp* g_app = NULL;
thread_local CWinThread* t_thread = NULL;
AFX_REPORT_ERROR_HANDLER g_previousReportHandler = NULL;
thread_local HHOOK t_msgFilterHook = NULL;

// The thread's message-filter hook hands the messages of modal loops to its CWinThread.
LRESULT CALLBACK MessageFilterHook(int code, WPARAM wParam, LPARAM lParam)
{
    CWinThread* thread = AfxGetThread();
    if (code >= 0 && thread != NULL && thread->ProcessMessageFilter(code, reinterpret_cast<LPMSG>(lParam)))
        return 1;
    return ::CallNextHookEx(t_msgFilterHook, code, wParam, lParam);
}

// Framework string id of the application title.
constexpr UINT kAppTitleId = 0xE000;

int AFXAPI ReportThroughMessageBox(LPCSTR lpszText, UINT nType)
{
    return AfxMessageBox(lpszText, nType);
}

}  // namespace

// ---- CCommandLineInfo ----------------------------------------------------------------------------

CCommandLineInfo::CCommandLineInfo()
    : m_bShowSplash(TRUE), m_bRunEmbedded(FALSE), m_bRunAutomated(FALSE), m_nShellCommand(FileNew)
{
}

void CCommandLineInfo::ParseParam(const char* pszParam, BOOL bFlag, BOOL)
{
    if (bFlag) {
        if (lstrcmpiA(pszParam, "pt") == 0) {
            m_nShellCommand = FilePrintTo;
        } else if (lstrcmpiA(pszParam, "p") == 0) {
            m_nShellCommand = FilePrint;
        } else if (lstrcmpiA(pszParam, "Unregister") == 0 || lstrcmpiA(pszParam, "Unregserver") == 0) {
            m_nShellCommand = AppUnregister;
        } else if (lstrcmpiA(pszParam, "dde") == 0) {
            m_nShellCommand = FileDDE;
        } else if (lstrcmpiA(pszParam, "Embedding") == 0) {
            m_bRunEmbedded = TRUE;
            m_bShowSplash = FALSE;
        } else if (lstrcmpiA(pszParam, "Automation") == 0) {
            m_bRunAutomated = TRUE;
            m_bShowSplash = FALSE;
        }
        return;
    }
    if (m_strFileName.IsEmpty()) {
        m_strFileName = pszParam;
        if (m_nShellCommand == FileNew)
            m_nShellCommand = FileOpen;
    } else if (m_nShellCommand == FilePrintTo) {
        if (m_strPrinterName.IsEmpty())
            m_strPrinterName = pszParam;
        else if (m_strDriverName.IsEmpty())
            m_strDriverName = pszParam;
        else if (m_strPortName.IsEmpty())
            m_strPortName = pszParam;
    }
}

// ---- CWinThread -----------------------------------------------------------------------------------

CWinThread::CWinThread()
    : m_pMainWnd(NULL), m_pActiveWnd(NULL), m_bAutoDelete(TRUE), m_hThread(NULL), m_nThreadID(0), m_msgCur{},
      m_ptCursorLast{-1, -1}, m_nMsgLast(0)
{
    if (t_thread == NULL)
        t_thread = this;
}

CWinThread::~CWinThread()
{
    if (t_thread == this)
        t_thread = NULL;
}

BOOL CWinThread::InitInstance() { return FALSE; }

int CWinThread::ExitInstance()
{
    return static_cast<int>(m_msgCur.wParam);
}

CWnd* CWinThread::GetMainWnd()
{
    return m_pActiveWnd != NULL ? m_pActiveWnd : m_pMainWnd;
}

BOOL CWinThread::IsIdleMessage(MSG* pMsg)
{
    if (pMsg->message == WM_MOUSEMOVE || pMsg->message == WM_NCMOUSEMOVE) {
        // A mouse move that does not move restarts nothing.
        if (m_nMsgLast == pMsg->message && m_ptCursorLast.x == pMsg->pt.x && m_ptCursorLast.y == pMsg->pt.y)
            return FALSE;
        m_ptCursorLast = pMsg->pt;
        m_nMsgLast = pMsg->message;
        return TRUE;
    }
    return pMsg->message != WM_PAINT && pMsg->message != WM_SYSTIMER;
}

BOOL CWinThread::PreTranslateMessage(MSG* pMsg)
{
    CWnd* main = AfxGetMainWnd();
    if (CWnd::WalkPreTranslateTree((main ? main->m_hWnd : NULL), pMsg))
        return TRUE;
    // Messages of other top-level windows (modeless popups) get the main window's filter too.
    if (main != NULL && pMsg->hwnd != NULL) {
        HWND top = ::GetAncestor(pMsg->hwnd, GA_ROOT);
        if (top != main->m_hWnd)
            return main->PreTranslateMessage(pMsg);
    }
    return FALSE;
}

BOOL CWinThread::ProcessMessageFilter(int, LPMSG)
{
    // Messages of the system's modal loops (menus, message boxes, dialogs) pass unfiltered;
    // a thread that wants to see them overrides this.
    return FALSE;
}

BOOL CWinThread::PumpMessage()
{
    if (!::GetMessageA(&m_msgCur, NULL, 0, 0))
        return FALSE;
    if (m_msgCur.message != WM_KICKIDLE && !AfxPreTranslateMessage(&m_msgCur)) {
        ::TranslateMessage(&m_msgCur);
        ::DispatchMessageA(&m_msgCur);
    }
    return TRUE;
}

BOOL CWinThread::OnIdle(LONG lCount)
{
    if (lCount <= 0) {
        // Command user interface of the main window and its descendants.
        CWnd* main = m_pMainWnd;
        if (main != NULL && main->m_hWnd != NULL && main->IsWindowVisible() && !main->IsIconic()) {
            AfxCallWndProc(main, main->m_hWnd, WM_IDLEUPDATECMDUI, TRUE, 0);
            main->SendMessageToDescendants(WM_IDLEUPDATECMDUI, TRUE, 0, TRUE, TRUE);
        }
    }
    if (lCount >= 1) {
        // Temporary objects made for handles go away.
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
#if __has_include(<mfc/Dc.h>)
        CDC::DeleteTempMap();
        CGdiObject::DeleteTempMap();
#endif
    }
    return lCount < 1;
}

int CWinThread::Run()
{
    BOOL idle = TRUE;
    LONG idleCount = 0;
    for (;;) {
        while (idle && !::PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE)) {
            if (!OnIdle(idleCount++))
                idle = FALSE;
        }
        do {
            if (!PumpMessage())
                return ExitInstance();
            if (IsIdleMessage(&m_msgCur)) {
                idle = TRUE;
                idleCount = 0;
            }
        } while (::PeekMessageA(&m_msgCur, NULL, 0, 0, PM_NOREMOVE));
    }
}

// ---- CWinApp ------------------------------------------------------------------------------------

namespace mfc {

namespace {

std::mutex& LibraryAppsLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

std::map<AFX_MODULE_STATE*, CWinApp*>& LibraryApps()
{
    static auto* apps = new std::map<AFX_MODULE_STATE*, CWinApp*>;
    return *apps;
}

}  // namespace

CWinApp* LibraryApp(AFX_MODULE_STATE* state)
{
    std::lock_guard<std::mutex> guard(LibraryAppsLock());
    auto it = LibraryApps().find(state);
    return it == LibraryApps().end() ? NULL : it->second;
}

void SetLibraryApp(AFX_MODULE_STATE* state, CWinApp* app)
{
    std::lock_guard<std::mutex> guard(LibraryAppsLock());
    if (app != NULL)
        LibraryApps()[state] = app;
    else
        LibraryApps().erase(state);
}

}  // namespace mfc

CWinApp::CWinApp(LPCSTR lpszAppName)
    : m_hInstance(NULL), m_hPrevInstance(NULL), m_lpCmdLine(NULL), m_nCmdShow(SW_SHOWNORMAL), m_pszAppName(NULL),
      m_pszExeName(NULL), m_pszProfileName(NULL), m_pszRegistryKey(NULL), m_pszHelpFilePath(NULL),
      m_nWaitCursorCount(0), m_hcurWaitCursorRestore(NULL), m_hDevMode(NULL), m_hDevNames(NULL),
      m_pRecentFileList(NULL), m_nNumPreviewPages(0)
{
    if (lpszAppName != NULL) {
        m_strAppName = lpszAppName;
        m_pszAppName = m_strAppName;
    }
    // An application object among a code library's static objects is that library's own: it
    // leaves the program's application alone.
    HMODULE module = NULL;
    if (::GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            reinterpret_cast<LPCSTR>(this), &module) &&
        module != NULL && module != ::GetModuleHandle(NULL)) {
        mfc::SetLibraryApp(AfxModuleStateOfAddress(this), this);
        m_hInstance = module;
        return;
    }
    g_app = this;
    t_thread = this;
    g_previousReportHandler = AfxSetReportErrorHandler(ReportThroughMessageBox);
}

CWinApp::~CWinApp()
{
    for (CDocTemplate* docTemplate : m_templateList)
        delete docTemplate;
    m_templateList.clear();
    delete m_pRecentFileList;
    m_pRecentFileList = NULL;
    SelectPrinter(NULL, NULL);
    if (m_hInstance != NULL && m_hInstance != ::GetModuleHandle(NULL)) {
        AFX_MODULE_STATE* state = AfxModuleStateOfAddress(this);
        if (mfc::LibraryApp(state) == this)
            mfc::SetLibraryApp(state, NULL);
    }
    if (g_app == this) {
        g_app = NULL;
        AfxSetReportErrorHandler(g_previousReportHandler);
        if (t_msgFilterHook != NULL) {
            ::UnhookWindowsHookEx(t_msgFilterHook);
            t_msgFilterHook = NULL;
        }
    }
}

void CWinApp::SetCurrentHandles()
{
    if (m_pszExeName == NULL) {
        std::string exe = program_invocation_short_name ? program_invocation_short_name : "app";
        size_t dot = exe.rfind('.');
        if (dot != std::string::npos && dot > 0)
            exe.resize(dot);
        m_strExeName = exe.c_str();
        m_pszExeName = m_strExeName;
    }
    if (m_pszAppName == NULL) {
        CString title;
        if (title.LoadString(kAppTitleId) && !title.IsEmpty())
            m_strAppName = title;
        else
            m_strAppName = m_pszExeName;
        m_pszAppName = m_strAppName;
    }
    if (m_pszProfileName == NULL) {
        m_strProfileName = CString(m_pszExeName) + ".INI";
        m_pszProfileName = m_strProfileName;
    }
    if (m_pszHelpFilePath == NULL) {
        // The help file sits beside the program: its path with the extension ".HLP".
        char module[MAX_PATH] = {};
        DWORD length = ::GetModuleFileName(m_hInstance, module, sizeof module);
        if (length > 0 && length < sizeof module) {
            std::string path = module;
            size_t dot = path.rfind('.');
            if (dot != std::string::npos && path.find('\\', dot) == std::string::npos)
                path.resize(dot);
            m_strHelpFilePath = (path + ".HLP").c_str();
            m_pszHelpFilePath = m_strHelpFilePath;
        }
    }
}

BOOL CWinApp::InitApplication() { return TRUE; }
BOOL CWinApp::InitInstance() { return TRUE; }

int CWinApp::ExitInstance()
{
    if (m_pRecentFileList != NULL)
        SaveStdProfileSettings();
    return static_cast<int>(m_msgCur.wParam);
}

int CWinApp::Run()
{
    if (m_pMainWnd == NULL && AfxGetThread() == this)
        AfxPostQuitMessage(0);  // without a main window there is nothing to run
    return CWinThread::Run();
}

BOOL CWinApp::OnIdle(LONG lCount)
{
    return CWinThread::OnIdle(lCount);
}

int CWinApp::DoMessageBox(LPCSTR lpszPrompt, UINT nType, UINT)
{
    if ((nType & MB_ICONMASK) == 0) {
        switch (nType & MB_TYPEMASK) {
        case MB_OK:
        case MB_OKCANCEL: nType |= MB_ICONEXCLAMATION; break;
        case MB_YESNO:
        case MB_YESNOCANCEL: nType |= MB_ICONQUESTION; break;
        default: break;
        }
    }
    HWND owner = NULL;
    if (CWnd* main = AfxGetMainWnd()) {
        owner = ::GetLastActivePopup(main->m_hWnd);
        if (owner != NULL && !::IsWindowEnabled(owner))
            owner = NULL;
    }
    int result = ::MessageBoxA(owner, lpszPrompt, m_pszAppName, nType);
    if (m_nWaitCursorCount > 0)
        DoWaitCursor(0);
    return result;
}

void CWinApp::DoWaitCursor(int nCode)
{
    m_nWaitCursorCount += nCode;
    if (m_nWaitCursorCount < 0)
        m_nWaitCursorCount = 0;
    if (m_nWaitCursorCount > 0) {
        HCURSOR previous = ::SetCursor(::LoadCursorA(NULL, IDC_WAIT));
        if (nCode > 0 && m_nWaitCursorCount == 1)
            m_hcurWaitCursorRestore = previous;
    } else {
        ::SetCursor(m_hcurWaitCursorRestore);
    }
}

void CWinApp::ParseCommandLine(CCommandLineInfo& rCmdInfo)
{
    std::vector<std::string> args;
    const char* p = m_lpCmdLine ? m_lpCmdLine : "";
    while (*p) {
        while (*p == ' ' || *p == '\t')
            ++p;
        if (!*p)
            break;
        std::string arg;
        bool quoted = false;
        for (; *p && (quoted || (*p != ' ' && *p != '\t')); ++p) {
            if (*p == '"')
                quoted = !quoted;
            else
                arg += *p;
        }
        args.push_back(arg);
    }
    for (size_t i = 0; i < args.size(); ++i) {
        const char* a = args[i].c_str();
        BOOL last = i + 1 == args.size();
        if ((a[0] == '-' || a[0] == '/') && a[1])
            rCmdInfo.ParseParam(a + 1, TRUE, last);
        else
            rCmdInfo.ParseParam(a, FALSE, last);
    }
}

CString CWinApp::GetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    char buffer[4096];
    ::GetPrivateProfileStringA(lpszSection, lpszEntry, lpszDefault ? lpszDefault : "", buffer, sizeof buffer,
                               m_pszProfileName);
    return CString(buffer);
}

UINT CWinApp::GetProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nDefault)
{
    return ::GetPrivateProfileIntA(lpszSection, lpszEntry, nDefault, m_pszProfileName);
}

BOOL CWinApp::WriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, lpszValue, m_pszProfileName);
}

BOOL CWinApp::WriteProfileInt(LPCSTR lpszSection, LPCSTR lpszEntry, int nValue)
{
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%d", nValue);
    return ::WritePrivateProfileStringA(lpszSection, lpszEntry, buffer, m_pszProfileName);
}

HCURSOR CWinApp::LoadCursor(LPCSTR lpszResourceName) const { return ::LoadCursorA(AfxGetResourceHandle(), lpszResourceName); }
HCURSOR CWinApp::LoadCursor(UINT nIDResource) const { return ::LoadCursorA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource)); }
HCURSOR CWinApp::LoadStandardCursor(LPCSTR lpszCursorName) const { return ::LoadCursorA(NULL, lpszCursorName); }
HICON CWinApp::LoadIcon(LPCSTR lpszResourceName) const { return ::LoadIconA(AfxGetResourceHandle(), lpszResourceName); }
HICON CWinApp::LoadIcon(UINT nIDResource) const { return ::LoadIconA(AfxGetResourceHandle(), MAKEINTRESOURCE(nIDResource)); }
HICON CWinApp::LoadStandardIcon(LPCSTR lpszIconName) const { return ::LoadIconA(NULL, lpszIconName); }

// ---- CWaitCursor --------------------------------------------------------------------------------

CWaitCursor::CWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->BeginWaitCursor();
}

CWaitCursor::~CWaitCursor()
{
    if (CWinApp* app = AfxGetApp())
        app->EndWaitCursor();
}

void CWaitCursor::Restore()
{
    if (CWinApp* app = AfxGetApp())
        app->RestoreWaitCursor();
}

// ---- The application's printer ------------------------------------------------------------------

void CWinApp::UpdatePrinterSelection(BOOL bForceDefaults)
{
    if (m_hDevNames != NULL && !bForceDefaults)
        return;
    CPrintDialog defaults(FALSE);
    if (defaults.GetDefaults())
        SelectPrinter(defaults.m_pd.hDevNames, defaults.m_pd.hDevMode);
}

BOOL CWinApp::GetPrinterDeviceDefaults(PRINTDLG* pPrintDlg)
{
    UpdatePrinterSelection(FALSE);
    if (m_hDevNames == NULL || pPrintDlg == NULL)
        return FALSE;
    pPrintDlg->hDevNames = m_hDevNames;
    pPrintDlg->hDevMode = m_hDevMode;
    return TRUE;
}

void CWinApp::SelectPrinter(HGLOBAL hDevNames, HGLOBAL hDevMode, BOOL bFreeOld)
{
    if (bFreeOld) {
        if (m_hDevNames != NULL && m_hDevNames != hDevNames)
            ::GlobalFree(m_hDevNames);
        if (m_hDevMode != NULL && m_hDevMode != hDevMode)
            ::GlobalFree(m_hDevMode);
    }
    m_hDevNames = hDevNames;
    m_hDevMode = hDevMode;
}

int CWinApp::DoPrintDialog(CPrintDialog* pPD)
{
    UpdatePrinterSelection(FALSE);
    // The dialog starts on the application's printer and hands back the handles it chose,
    // reusing or freeing the ones it was given.
    pPD->m_pd.hDevNames = m_hDevNames;
    pPD->m_pd.hDevMode = m_hDevMode;
    INT_PTR result = pPD->DoModal();
    SelectPrinter(pPD->m_pd.hDevNames, pPD->m_pd.hDevMode, FALSE);
    if (result != IDOK && ::CommDlgExtendedError() == PDERR_PRINTERNOTFOUND) {
        // The printer the application had is gone: start again on the default printer.
        UpdatePrinterSelection(TRUE);
        pPD->m_pd.hDevNames = m_hDevNames;
        pPD->m_pd.hDevMode = m_hDevMode;
        result = pPD->DoModal();
        SelectPrinter(pPD->m_pd.hDevNames, pPD->m_pd.hDevMode, FALSE);
    }
    DWORD error = result == IDOK ? 0 : ::CommDlgExtendedError();
    if (error != 0)
        return 0;
    return static_cast<int>(result);
}

BOOL CWinApp::CreatePrinterDC(CDC& dc)
{
    UpdatePrinterSelection(FALSE);
    if (m_hDevNames == NULL)
        return FALSE;
    CPrintDialog printer(FALSE);
    printer.m_pd.hDevNames = m_hDevNames;
    printer.m_pd.hDevMode = m_hDevMode;
    HDC hDC = printer.CreatePrinterDC();
    // The handles stay the application's.
    printer.m_pd.hDevNames = NULL;
    printer.m_pd.hDevMode = NULL;
    return hDC != NULL && dc.Attach(hDC);
}

void CWinApp::DevModeChange(LPSTR lpDeviceName)
{
    if (m_hDevNames == NULL || lpDeviceName == NULL)
        return;
    CPrintDialog printer(FALSE);
    printer.m_pd.hDevNames = m_hDevNames;
    CString device = printer.GetDeviceName();
    printer.m_pd.hDevNames = NULL;
    if (device.CompareNoCase(lpDeviceName) == 0)
        UpdatePrinterSelection(TRUE);
}

void CWinApp::OnFilePrintSetup()
{
    CPrintDialog dialog(TRUE);
    DoPrintDialog(&dialog);
}

// ---- Help ---------------------------------------------------------------------------------------

void CWinApp::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (CWnd* main = AfxGetMainWnd())
        main->WinHelp(dwData, nCmd);
}

void CWinApp::OnHelpFinder()
{
    WinHelp(0, HELP_FINDER);
}

void CWinApp::OnHelp()
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
        frame->OnHelp();
    else
        WinHelp(0, HELP_FINDER);
}

void CWinApp::OnContextHelp()
{
    if (auto* frame = dynamic_cast<CFrameWnd*>(AfxGetMainWnd()))
        frame->OnContextHelp();
}

void CWnd::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    CWinApp* app = AfxGetApp();
    LPCSTR file = app != NULL ? app->m_pszHelpFilePath : NULL;
    if (file == NULL || *file == '\0')
        return;
    // Whatever mode the window is in (capture, a drag) ends before the help comes up.
    SendMessage(WM_CANCELMODE);
    HWND owner = ::GetAncestor(m_hWnd, GA_ROOT);
    if (!::WinHelpA(owner != NULL ? owner : m_hWnd, file, nCmd, dwData))
        AfxMessageBox("Unable to start the help.", MB_OK | MB_ICONEXCLAMATION);
}

// ---- Application-wide functions -----------------------------------------------------------------

CWinApp* AFXAPI AfxGetApp()
{
    // Inside a code library's state, its own application object.
    AFX_MODULE_STATE* state = AfxGetModuleState();
    CWinApp* own = state != AfxGetAppModuleState() ? mfc::LibraryApp(state) : NULL;
    return own != NULL ? own : g_app;
}

CWinThread* AFXAPI AfxGetThread()
{
    return t_thread != NULL ? t_thread : g_app;
}

CWnd* AFXAPI AfxGetMainWnd()
{
    CWinThread* thread = AfxGetThread();
    return thread != NULL ? thread->GetMainWnd() : NULL;
}

LPCSTR AFXAPI AfxGetAppName()
{
    return g_app != NULL && g_app->m_pszAppName != NULL ? g_app->m_pszAppName : "";
}

int AFXAPI AfxMessageBox(LPCSTR lpszText, UINT nType, UINT nIDHelp)
{
    if (g_app != NULL)
        return g_app->DoMessageBox(lpszText, nType, nIDHelp);
    return ::MessageBoxA(NULL, lpszText, NULL, nType);
}

int AFXAPI AfxMessageBox(UINT nIDPrompt, UINT nType, UINT nIDHelp)
{
    CString text;
    AfxLoadString(nIDPrompt, text);
    if (nIDHelp == static_cast<UINT>(-1))
        nIDHelp = nIDPrompt;
    return AfxMessageBox(text, nType, nIDHelp);
}

void AFXAPI AfxPostQuitMessage(int nExitCode)
{
    ::PostQuitMessage(nExitCode);
}

BOOL AFXAPI AfxPreTranslateMessage(MSG* pMsg)
{
    CWinThread* thread = AfxGetThread();
    return thread != NULL ? thread->PreTranslateMessage(pMsg)
                          : CWnd::WalkPreTranslateTree(NULL, pMsg);
}

BOOL AFXAPI AfxPumpMessage()
{
    CWinThread* thread = AfxGetThread();
    if (thread != NULL)
        return thread->PumpMessage();
    MSG msg;
    if (!::GetMessageA(&msg, NULL, 0, 0))
        return FALSE;
    if (!AfxPreTranslateMessage(&msg)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageA(&msg);
    }
    return TRUE;
}

int AFXAPI AfxWinInit(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return FALSE;
    app->m_hInstance = hInstance;
    app->m_hPrevInstance = hPrevInstance;
    if (hInstance != NULL) {
        // The program's module state answers for this instance from now on.
        AFX_MODULE_STATE* state = AfxGetAppModuleState();
        state->m_hCurrentInstanceHandle = hInstance;
        state->m_hCurrentResourceHandle = hInstance;
    }
    app->m_strCmdLine = lpCmdLine ? lpCmdLine : "";
    app->m_lpCmdLine = const_cast<LPSTR>(static_cast<LPCSTR>(app->m_strCmdLine));
    app->m_nCmdShow = nCmdShow;
    app->SetCurrentHandles();
    if (t_msgFilterHook == NULL)
        t_msgFilterHook = ::SetWindowsHookExA(WH_MSGFILTER, MessageFilterHook, NULL, 0);
    return TRUE;
}

int AFXAPI AfxWinMain(HINSTANCE hInstance, HINSTANCE hPrevInstance, LPSTR lpCmdLine, int nCmdShow)
{
    CWinApp* app = AfxGetApp();
    if (app == NULL || !AfxWinInit(hInstance, hPrevInstance, lpCmdLine, nCmdShow))
        return -1;
    // With VL_PRESENTER=sdl the desktop is shown in a window of the host for the whole run.
    // Without a display that window cannot open: the reader is told so, and the program ends
    // rather than run on unseen where nobody can answer it.
    std::string presenterError;
    if (host::PresenterRequested() &&
        !host::StartPresenter(app->m_pszAppName != NULL ? app->m_pszAppName : "", &presenterError)) {
        std::string exe = app->m_pszExeName != NULL ? app->m_pszExeName : "program";
        std::fputs(host::PresenterStartFailure(exe, presenterError).c_str(), stderr);
        return 1;
    }
    int result;
    if (!app->InitApplication()) {
        result = app->ExitInstance();
    } else if (!app->InitInstance()) {
        if (app->m_pMainWnd != NULL)
            app->m_pMainWnd->DestroyWindow();
        result = app->ExitInstance();
    } else {
        result = app->Run();
    }
    host::StopPresenter();
    return result;
}

int AFXAPI AfxMain(int argc, char** argv)
{
    std::string line;
    for (int i = 1; i < argc; ++i) {
        if (!line.empty())
            line += ' ';
        bool space = std::strchr(argv[i], ' ') != nullptr;
        if (space)
            line += '"';
        line += argv[i];
        if (space)
            line += '"';
    }
    return AfxWinMain(::GetModuleHandle(NULL), NULL, host::StartupArguments(line).data(), host::StartupShowCommand(SW_SHOWNORMAL));
}
