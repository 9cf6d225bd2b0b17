// Starting a dialer's browser and remembering the last one, for the one-browser-window rule.
#pragma once

#include <afx.h>
#include <windows.h>

class CBrowserLauncher {
public:
    ~CBrowserLauncher() { Forget(); }

    // The browser of a connection's settings: the system's default browser through the shell
    // when "UseDefaultBrowser" is not 0, else "Browser" with the URL and "BrowserParams"; the
    // launched one is remembered (and the one before asked to quit) when "OnlyOneBrowserFlag"
    // is 1. 16401; 16385 no browser set; 16391 an address that is no plain web address, or the
    // launch failed.
    int LaunchForConnection(const CString& strIsp, const CString& strUrl);

    // Starts a command line (normal priority, shown normally) in the program's folder: FALSE
    // when it did not start.
    BOOL Start(CString strCommandLine, const CString& strProgram, PROCESS_INFORMATION& started);
    // Asks the remembered browser to quit and forgets it, then remembers this one.
    void Remember(HANDLE hProcess, HANDLE hThread, DWORD dwProcessId, DWORD dwThreadId);
    // Closes the handles of a launch that is not remembered.
    static void Release(HANDLE hProcess, HANDLE hThread);
    // Lets the remembered browser run on; only its handles are closed (at unload).
    void Forget();

    DWORD RememberedThreadId() const { return m_dwThreadId; }

private:
    HANDLE m_hProcess = NULL;
    HANDLE m_hThread = NULL;
    DWORD m_dwProcessId = 0;
    DWORD m_dwThreadId = 0;
};
