// A dialer's browser launch and the remembered browser.
#include "dialers/BrowserLauncher.h"

#include "dialers/BrowserCommand.h"
#include "portixcmn/PortixCmn.h"

#include <portix/Status.h>

#include <shellapi.h>

int CBrowserLauncher::LaunchForConnection(const CString& strIsp, const CString& strUrl)
{
    if (!strUrl.IsEmpty() && !IsLaunchableUrl(strUrl)) {
        logPortix("dlrLaunchBrowser -- refused an address that is not a plain http or https address\n");
        return PTX_UNKNOWN_ERROR;
    }
    HANDLE process = NULL, thread = NULL;
    DWORD processId = 0, threadId = 0;
    if (dlrGetUseDefaultBrowser(strIsp) != 0) {
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
        const CString browser = dlrGetBrowser(strIsp);
        if (browser.IsEmpty())
            return PTX_NOT_CONFIGURED;
        PROCESS_INFORMATION started{};
        if (!Start(BrowserCommandLine(browser, strUrl, dlrGetBrowserParams(strIsp)), browser, started))
            return PTX_UNKNOWN_ERROR;
        process = started.hProcess;
        thread = started.hThread;
        processId = started.dwProcessId;
        threadId = started.dwThreadId;
    }
    if (dlrGetBrowserInstanceFlag(strIsp) == 1)
        Remember(process, thread, processId, threadId);
    else
        Release(process, thread);
    return PTX_SUCCESS;
}

BOOL CBrowserLauncher::Start(CString strCommandLine, const CString& strProgram, PROCESS_INFORMATION& started)
{
    const CString folder = ProgramFolderOf(strProgram);
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    const BOOL ok = CreateProcess(NULL, strCommandLine.GetBuffer(0), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL,
                                  folder.IsEmpty() ? NULL : static_cast<LPCSTR>(folder), &startup, &started);
    strCommandLine.ReleaseBuffer();
    if (!ok)
        logPortix("dlrLaunchBrowser -- could not start %s (%lu)\n", static_cast<LPCSTR>(strProgram),
                  static_cast<unsigned long>(GetLastError()));
    return ok;
}

void CBrowserLauncher::Remember(HANDLE hProcess, HANDLE hThread, DWORD dwProcessId, DWORD dwThreadId)
{
    // A browser of this platform ends its message loop; another has no queue and the post fails
    // quietly.
    if (m_dwThreadId != 0)
        PostThreadMessage(m_dwThreadId, WM_QUIT, 0, 0);
    Forget();
    m_hProcess = hProcess;
    m_hThread = hThread;
    m_dwProcessId = dwProcessId;
    m_dwThreadId = dwThreadId;
}

void CBrowserLauncher::Release(HANDLE hProcess, HANDLE hThread)
{
    if (hProcess != NULL)
        CloseHandle(hProcess);
    if (hThread != NULL)
        CloseHandle(hThread);
}

void CBrowserLauncher::Forget()
{
    Release(m_hProcess, m_hThread);
    m_hProcess = m_hThread = NULL;
    m_dwProcessId = m_dwThreadId = 0;
}
