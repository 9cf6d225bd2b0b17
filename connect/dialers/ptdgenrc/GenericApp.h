// CPTDGenericApp: the generic dialer's library state. It dials nothing and ends nothing: it
// tells whether the internet is reachable, sets up the sockets files, lets the user choose a
// browser and starts it, remembering the last one when only one browser window is wanted.
#pragma once

#include "dialers/BrowserLauncher.h"
#include "dialers/DialerExports.h"

#include <afxwin.h>

class CPTDGenericApp : public CWinApp {
public:
    CPTDGenericApp();

    // Binds what the platform needs: the thunk library's two probes on Win32s and Windows
    // 95/98 (and there the process and module lists); FALSE (the library does not load) when
    // something is missing. Nothing on Windows NT.
    BOOL InitInstance() override;
    int ExitInstance() override;

    int IsConnected();
    int SetupWinsock();
    int LaunchBrowser(const CString& strUrl);

    // The connection types of this library and the selected one.
    CConnectionTypes m_types;
    // The selected type's name: the connection whose settings every operation reads.
    CString ConnectionName() const { return m_types.Selected().szDisplayName; }

private:
    // The 16-bit sockets stack is running (never on Windows NT).
    BOOL WinsockExists16() const;

    // Whether a module of this file name (any case) is loaded in any running process; each step
    // goes to the log.
    BOOL FileExists(const CString& strFilename);

    typedef int (*PROBEPROC)();
    enum { kCreateSnapshot, kModule32First, kModule32Next, kProcess32First, kProcess32Next };
    HMODULE m_hThunk = NULL;
    PROBEPROC m_pfnPortixWinsockExists32 = NULL;
    PROBEPROC m_pfnCIDpppConnected32 = NULL;
    HMODULE m_hKernel = NULL;
    FARPROC m_pfnToolHelp[5] = {};

    // The last launched browser, when only one browser window is wanted.
    CBrowserLauncher m_browser;
};

CPTDGenericApp& GenericApp();
