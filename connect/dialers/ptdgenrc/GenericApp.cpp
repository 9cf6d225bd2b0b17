// The generic dialer's start-up, its connection probe, the sockets set-up and the browser
// launch.
#include "dialers/ptdgenrc/GenericApp.h"

#include "portixcmn/PortixCmn.h"

#include <tlhelp32.h>
#include <windows.h>

#include <algorithm>
#include <iterator>

// The same code base is built as more than one library: each names its own table, its
// application in the log and its module.
#ifndef GENERIC_DIALER_LIBRARY
#define GENERIC_DIALER_LIBRARY "PTDGENRC.DLL"
#define GENERIC_DIALER_APP_NAME "PTDGENRC"
#define GENERIC_DIALER_CLASS "CPTDGenericApp"
#endif

namespace {

CPTDGenericApp theApp;

enum { kWin32s = 0, kWindows95 = 1, kWindowsNT = 2 };

}  // namespace

CPTDGenericApp& GenericApp() { return theApp; }

CPTDGenericApp::CPTDGenericApp() : CWinApp(GENERIC_DIALER_APP_NAME), m_types(*FindDialerTable(GENERIC_DIALER_LIBRARY)) {}

BOOL CPTDGenericApp::InitInstance()
{
    const int os = dlrGetOS();
    if (os == kWindows95) {
        static const char* const kToolHelp[5] = {"CreateToolhelp32Snapshot", "Module32First", "Module32Next",
                                                 "Process32First", "Process32Next"};
        static_assert(kCreateSnapshot == 0 && kModule32First == 1 && kModule32Next == 2 && kProcess32First == 3
                      && kProcess32Next == 4);
        m_hKernel = LoadLibrary("KERNEL32.DLL");
        BOOL bound = m_hKernel != NULL;
        for (int i = 0; bound && i < 5; ++i)
            bound = (m_pfnToolHelp[i] = GetProcAddress(m_hKernel, kToolHelp[i])) != NULL;
        if (!bound) {
            if (m_hKernel != NULL)
                FreeLibrary(m_hKernel);
            m_hKernel = NULL;
            std::fill(std::begin(m_pfnToolHelp), std::end(m_pfnToolHelp), nullptr);
            logPortix(GENERIC_DIALER_CLASS "::InitInstance() -- Could not initialize ToolHelp funcs\n");
            return FALSE;
        }
        logPortix(GENERIC_DIALER_CLASS "::InitInstance() -- ToolHelp funcs initialized successfully\n");
    }
    if (os == kWin32s || os == kWindows95) {
        m_hThunk = LoadLibrary(os == kWin32s ? "pxthk32s.dll" : "pxthk32.dll");
        if (m_hThunk == NULL)
            return FALSE;
        m_pfnPortixWinsockExists32 = reinterpret_cast<PROBEPROC>(GetProcAddress(m_hThunk, "PortixWinsockExists32"));
        m_pfnCIDpppConnected32 = reinterpret_cast<PROBEPROC>(GetProcAddress(m_hThunk, "CIDpppConnected32"));
        if (m_pfnPortixWinsockExists32 == NULL || m_pfnCIDpppConnected32 == NULL) {
            FreeLibrary(m_hThunk);
            m_hThunk = NULL;
            m_pfnPortixWinsockExists32 = m_pfnCIDpppConnected32 = NULL;
            return FALSE;
        }
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
    std::fill(std::begin(m_pfnToolHelp), std::end(m_pfnToolHelp), nullptr);
    // The remembered browser runs on; only its handles are ours.
    m_browser.Forget();
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
    // Windows 95/98 without a 16-bit stack: a process that loaded the 32-bit sockets library
    // holds the connection; the bridge files are then not wanted.
    if (!FileExists("wsock32.dll")) {
        logPortix("dlrIsConnected -- Did not find wsock32.dll\n");
        return PTX_PROVIDER_NOT_CONNECTED;
    }
    logPortix("dlrIsConnected -- Found wsock32.dll\n");
    _dlrSetupWinsock(ConnectionName(), FALSE, FALSE);
    return PTX_PROVIDER_CONNECTED;
}

BOOL CPTDGenericApp::FileExists(const CString& strFilename)
{
    auto createSnapshot = reinterpret_cast<CREATESNAPSHOTPROC>(reinterpret_cast<void (*)()>(m_pfnToolHelp[kCreateSnapshot]));
    auto module32First = reinterpret_cast<MODULEWALKPROC>(reinterpret_cast<void (*)()>(m_pfnToolHelp[kModule32First]));
    auto module32Next = reinterpret_cast<MODULEWALKPROC>(reinterpret_cast<void (*)()>(m_pfnToolHelp[kModule32Next]));
    auto process32First = reinterpret_cast<PROCESSWALKPROC>(reinterpret_cast<void (*)()>(m_pfnToolHelp[kProcess32First]));
    auto process32Next = reinterpret_cast<PROCESSWALKPROC>(reinterpret_cast<void (*)()>(m_pfnToolHelp[kProcess32Next]));
    logPortix(GENERIC_DIALER_CLASS "::FileExists() -- strFilename = %s\n", static_cast<LPCSTR>(strFilename));
    if (createSnapshot == NULL)
        return FALSE;
    HANDLE processes = createSnapshot(TH32CS_SNAPPROCESS, 0);
    if (processes == INVALID_HANDLE_VALUE) {
        logPortix(GENERIC_DIALER_CLASS "::FileExists() -- Could not create a snapshot of the processes\n");
        return FALSE;
    }
    logPortix(GENERIC_DIALER_CLASS "::FileExists() -- got a snapshot of the processes\n");
    CString wanted = strFilename;
    wanted.MakeLower();
    BOOL found = FALSE;
    PROCESSENTRY32 process;
    process.dwSize = sizeof process;
    if (!process32First(processes, &process)) {
        logPortix(GENERIC_DIALER_CLASS "::FileExists() -- m_pfnProcess32First failed\n");
    } else {
        do {
            HANDLE modules = createSnapshot(TH32CS_SNAPMODULE, process.th32ProcessID);
            if (modules == INVALID_HANDLE_VALUE) {
                // A process that ended, or one not to be read: the others still count.
                logPortix(GENERIC_DIALER_CLASS "::FileExists() -- Could not create a snapshot of the modules\n");
                continue;
            }
            MODULEENTRY32 module;
            module.dwSize = sizeof module;
            if (!module32First(modules, &module)) {
                logPortix(GENERIC_DIALER_CLASS "::FileExists() -- m_pfnModule32First failed (%d)\n",
                          static_cast<int>(GetLastError()));
            } else {
                do {
                    CString name = module.szModule;
                    name.MakeLower();
                    logPortix(GENERIC_DIALER_CLASS "::FileExists() -- Module = %s, strFilename = %s\n",
                              static_cast<LPCSTR>(name), static_cast<LPCSTR>(wanted));
                    found = name == wanted;
                } while (!found && module32Next(modules, &module));
            }
            CloseHandle(modules);
        } while (!found && process32Next(processes, &process));
    }
    CloseHandle(processes);
    return found;
}

int CPTDGenericApp::SetupWinsock()
{
    const BOOL install = WinsockExists16();
    return _dlrSetupWinsock(ConnectionName(), install, install);
}

int CPTDGenericApp::LaunchBrowser(const CString& strUrl) { return m_browser.LaunchForConnection(ConnectionName(), strUrl); }
