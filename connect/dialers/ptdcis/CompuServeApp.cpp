// The CompuServe dialer's operations.
#include "dialers/ptdcis/CompuServeApp.h"

#include "dialers/BrowserCommand.h"
#include "dialers/Phonebook.h"
#include "dialers/ptdcis/CompuServeSettingsDlg.h"
#include "dialers/ptdcis/resource.h"
#include "portixcmn/PortixCmn.h"

namespace {

CPTDCISApp theApp;

}  // namespace

CPTDCISApp& CompuServeApp() { return theApp; }

CPTDCISApp::CPTDCISApp() : CWinApp("PTDCIS"), m_types(*FindDialerTable("PTDCIS.DLL")) {}

int CPTDCISApp::ExitInstance()
{
    // The connection outlives the library; the remembered browser runs on.
    m_browser.Forget();
    return CWinApp::ExitInstance();
}

int CPTDCISApp::Connect()
{
    const CString isp = ConnectionName();
    const CString entry = EntryNameOf(isp);
    return m_connection.Connect(entry, dlrGetUsername(isp, entry), dlrGetPassword(isp, entry), IDD_LOGON);
}

int CPTDCISApp::Disconnect()
{
    // A line that dropped still holds its handle until it is hung up; no monitor window is
    // closed here.
    m_connection.IsConnected();
    m_connection.HangUp();
    return PTX_SUCCESS;
}

int CPTDCISApp::SetupWinsock() { return _dlrSetupWinsock(ConnectionName(), FALSE, FALSE); }

CString CompuServeAddress(const CString& strUrl)
{
    if (strUrl.GetLength() >= 7 && strUrl.Left(7).CompareNoCase("http://") == 0)
        return strUrl;
    return "http://" + strUrl;
}

int CPTDCISApp::LaunchBrowser(const CString& strUrl)
{
    const CString isp = ConnectionName();
    const BOOL useDefault = dlrGetUseDefaultBrowser(isp) != 0;
    CString program;
    if (useDefault) {
        char folder[MAX_PATH] = {};
        const UINT length = GetWindowsDirectory(folder, MAX_PATH);
        if (length == 0 || length >= MAX_PATH)
            return PTX_UNKNOWN_ERROR;
        program = folder;
        if (program.Right(1) != "\\")
            program += "\\";
        program += "gocserve.exe";
    } else {
        program = dlrGetBrowser(isp);
        if (program.IsEmpty())
            return PTX_NOT_CONFIGURED;
    }
    CString url = strUrl;
    if (useDefault && !url.IsEmpty())
        url = CompuServeAddress(url);
    if (!url.IsEmpty() && !IsLaunchableUrl(url)) {
        logPortix("dlrLaunchBrowser -- refused an address that is not a plain http or https address\n");
        return PTX_UNKNOWN_ERROR;
    }
    PROCESS_INFORMATION started{};
    if (!m_browser.Start(BrowserCommandLine(program, url, dlrGetBrowserParams(isp)), program, started))
        return PTX_UNKNOWN_ERROR;
    if (!useDefault && dlrGetBrowserInstanceFlag(isp) == 1)
        m_browser.Remember(started.hProcess, started.hThread, started.dwProcessId, started.dwThreadId);
    else
        CBrowserLauncher::Release(started.hProcess, started.hThread);
    return PTX_SUCCESS;
}

int CPTDCISApp::Configure()
{
    const CONNECTIONTYPE& type = m_types.Selected();
    CCompuServeSettingsDlg dialog(type.szDisplayName, type.szSupportDll, type.szDialerDll, CWnd::GetActiveWindow());
    return dialog.DoModal() == IDOK ? PTX_CONFIG_CHANGED : PTX_CONFIG_UNCHANGED;
}
