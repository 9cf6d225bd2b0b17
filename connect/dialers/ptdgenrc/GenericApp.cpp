// The generic dialer's start-up, its connection probe, the sockets set-up and the browser
// launch.
#include "dialers/ptdgenrc/GenericApp.h"

#include "dialers/BrowserCommand.h"
#include "portixcmn/PortixCmn.h"

#include <shellapi.h>
#include <windows.h>

namespace {

CPTDGenericApp theApp;

enum { kWin32s = 0, kWindows95 = 1, kWindowsNT = 2 };

}  // namespace

CPTDGenericApp& GenericApp() { return theApp; }

CPTDGenericApp::CPTDGenericApp() : CWinApp("PTDGENRC"), m_types(*FindDialerTable("PTDGENRC.DLL")) {}

BOOL CPTDGenericApp::InitInstance()
{
    const int os = dlrGetOS();
    if (os == kWindows95) {
        static const char* const kToolHelp[5] = {"CreateToolhelp32Snapshot", "Module32First", "Module32Next",
                                                 "Process32First", "Process32Next"};
        m_hKernel = LoadLibrary("KERNEL32.DLL");
        BOOL bound = m_hKernel != NULL;
        for (int i = 0; bound && i < 5; ++i)
            bound = (m_pfnToolHelp[i] = GetProcAddress(m_hKernel, kToolHelp[i])) != NULL;
        if (!bound) {
            if (m_hKernel != NULL)
                FreeLibrary(m_hKernel);
            m_hKernel = NULL;
            logPortix("CPTDGenericApp::InitInstance() -- Could not initialize ToolHelp funcs\n");
            return FALSE;
        }
        logPortix("CPTDGenericApp::InitInstance() -- ToolHelp funcs initialized successfully\n");
    }
    if (os == kWin32s || os == kWindows95) {
        m_hThunk = LoadLibrary(os == kWin32s ? "pxthk32s.dll" : "pxthk32.dll");
        if (m_hThunk == NULL)
            return FALSE;
        m_pfnPortixWinsockExists32 = reinterpret_cast<PROBEPROC>(GetProcAddress(m_hThunk, "PortixWinsockExists32"));
        m_pfnCIDpppConnected32 = reinterpret_cast<PROBEPROC>(GetProcAddress(m_hThunk, "CIDpppConnected32"));
        if (m_pfnPortixWinsockExists32 == NULL || m_pfnCIDpppConnected32 == NULL)
            return FALSE;
    }
    return TRUE;
}

int CPTDGenericApp::ExitInstance()
{
    if (m_hThunk != NULL)
        FreeLibrary(m_hThunk);
    if (m_hKernel != NULL)
        FreeLibrary(m_hKernel);
    m_hThunk = m_hKernel = NULL;
    m_pfnPortixWinsockExists32 = m_pfnCIDpppConnected32 = NULL;
    // The remembered browser runs on; only its handles are ours.
    if (m_hBrowserProcess != NULL)
        CloseHandle(m_hBrowserProcess);
    if (m_hBrowserThread != NULL)
        CloseHandle(m_hBrowserThread);
    m_hBrowserProcess = m_hBrowserThread = NULL;
    m_dwBrowserProcessId = m_dwBrowserThreadId = 0;
    return CWinApp::ExitInstance();
}

BOOL CPTDGenericApp::WinsockExists16() const
{
    return dlrGetOS() != kWindowsNT && m_pfnPortixWinsockExists32 != NULL && m_pfnPortixWinsockExists32() != 0;
}

int CPTDGenericApp::IsConnected()
{
    logPortix("dlrIsConnected -- Entering Function\n");
    const int os = dlrGetOS();
    if (os == kWindowsNT)
        return PTX_PROVIDER_CONNECTED;
    logPortix("dlrIsConnected -- Platform is not NT\n");
    if (WinsockExists16()) {
        logPortix("dlrIsConnected -- Found winsock\n");
        const int state = m_pfnCIDpppConnected32();
        if (state == 0 || state == 3)
            return PTX_PROVIDER_NOT_CONNECTED;
        if (state == 1)
            return PTX_CONNECTED_NOT_OURS;
        if (os == kWindows95)
            _dlrSetupWinsock(ConnectionName(), TRUE, TRUE);
        return PTX_PROVIDER_CONNECTED;
    }
    logPortix("dlrIsConnected -- Did not find winsock\n");
    if (os == kWin32s)
        return PTX_PROVIDER_CONNECTED;
    logPortix("dlrIsConnected -- Platform not Win32s\n");
    // Windows 95/98 without a 16-bit stack: the 32-bit sockets library answers for the
    // connection; the bridge files are not wanted.
    _dlrSetupWinsock(ConnectionName(), FALSE, FALSE);
    return PTX_PROVIDER_CONNECTED;
}

int CPTDGenericApp::SetupWinsock()
{
    const BOOL install = WinsockExists16();
    return _dlrSetupWinsock(ConnectionName(), install, install);
}

void CPTDGenericApp::CloseRememberedBrowser()
{
    // A browser of this platform ends its message loop; another has no queue and the post fails
    // quietly.
    if (m_dwBrowserThreadId != 0)
        PostThreadMessage(m_dwBrowserThreadId, WM_QUIT, 0, 0);
    if (m_hBrowserProcess != NULL)
        CloseHandle(m_hBrowserProcess);
    if (m_hBrowserThread != NULL)
        CloseHandle(m_hBrowserThread);
    m_hBrowserProcess = m_hBrowserThread = NULL;
    m_dwBrowserProcessId = m_dwBrowserThreadId = 0;
}

int CPTDGenericApp::LaunchBrowser(const CString& strUrl)
{
    const CString isp = ConnectionName();
    if (!strUrl.IsEmpty() && !IsLaunchableUrl(strUrl)) {
        logPortix("dlrLaunchBrowser -- refused an address that is not a plain http or https address\n");
        return PTX_UNKNOWN_ERROR;
    }
    HANDLE process = NULL, thread = NULL;
    DWORD processId = 0, threadId = 0;
    if (dlrGetUseDefaultBrowser(isp) != 0) {
        SHELLEXECUTEINFO info{};
        info.cbSize = sizeof info;
        info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
        info.lpVerb = "open";
        info.lpFile = strUrl;
        info.nShow = SW_SHOWNORMAL;
        if (!ShellExecuteEx(&info))
            return PTX_UNKNOWN_ERROR;
        process = info.hProcess;
    } else {
        const CString browser = dlrGetBrowser(isp);
        if (browser.IsEmpty())
            return PTX_NOT_CONFIGURED;
        CString commandLine = BrowserCommandLine(browser, strUrl, dlrGetBrowserParams(isp));
        const CString folder = ProgramFolderOf(browser);
        STARTUPINFO startup{};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESHOWWINDOW;
        startup.wShowWindow = SW_SHOWNORMAL;
        PROCESS_INFORMATION started{};
        if (!CreateProcess(NULL, commandLine.GetBuffer(0), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL,
                           folder.IsEmpty() ? NULL : static_cast<LPCSTR>(folder), &startup, &started)) {
            commandLine.ReleaseBuffer();
            logPortix("dlrLaunchBrowser -- could not start %s (%lu)\n", static_cast<LPCSTR>(browser),
                      static_cast<unsigned long>(GetLastError()));
            return PTX_UNKNOWN_ERROR;
        }
        commandLine.ReleaseBuffer();
        process = started.hProcess;
        thread = started.hThread;
        processId = started.dwProcessId;
        threadId = started.dwThreadId;
    }
    if (dlrGetBrowserInstanceFlag(isp) == 1) {
        CloseRememberedBrowser();
        m_hBrowserProcess = process;
        m_hBrowserThread = thread;
        m_dwBrowserProcessId = processId;
        m_dwBrowserThreadId = threadId;
    } else {
        // Not remembered: the handles are not kept either.
        if (process != NULL)
            CloseHandle(process);
        if (thread != NULL)
            CloseHandle(thread);
    }
    return PTX_SUCCESS;
}
