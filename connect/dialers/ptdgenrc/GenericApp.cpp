// The generic dialer's start-up, its connection probe, the sockets set-up and the browser
// launch.
#include "dialers/ptdgenrc/GenericApp.h"

#include "portixcmn/PortixCmn.h"

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

int CPTDGenericApp::LaunchBrowser(const CString& strUrl) { return m_browser.LaunchForConnection(ConnectionName(), strUrl); }
