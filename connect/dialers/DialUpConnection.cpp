// Watching, dialling and hanging up a dial-up connection.
#include "dialers/DialUpConnection.h"

#include "dialers/LogonDlg.h"
#include "dialers/Phonebook.h"
#include "portixcmn/PortixCmn.h"

#include <portix/Status.h>

#include <windows.h>

int CDialUpConnection::IsConnected()
{
    if (m_hConnection != 0) {
        RASCONNSTATUS status{};
        status.dwSize = sizeof status;
        if (RasGetConnectStatus(m_hConnection, &status) == 0 && status.rasconnstate == RASCS_Connected)
            return PTX_ESTABLISHED;
        return PTX_NOT_ESTABLISHED;
    }
    DWORD size = sizeof(RASCONN);
    DWORD count = 0;
    auto* connections = static_cast<LPRASCONN>(LocalAlloc(LPTR, size));
    if (connections == NULL)
        return PTX_NOT_ESTABLISHED;
    connections->dwSize = sizeof(RASCONN);
    DWORD error = RasEnumConnections(connections, &size, &count);
    if (error == ERROR_BUFFER_TOO_SMALL) {
        LocalFree(connections);
        connections = static_cast<LPRASCONN>(LocalAlloc(LPTR, size));
        if (connections == NULL)
            return PTX_NOT_ESTABLISHED;
        connections->dwSize = sizeof(RASCONN);
        error = RasEnumConnections(connections, &size, &count);
    }
    int result = PTX_NOT_ESTABLISHED;
    for (DWORD i = 0; error == 0 && i < count && (i + 1) * sizeof(RASCONN) <= size; ++i) {
        RASCONNSTATUS status{};
        status.dwSize = sizeof status;
        if (RasGetConnectStatus(connections[i].hrasconn, &status) == 0 && status.rasconnstate == RASCS_Connected) {
            m_hConnection = connections[i].hrasconn;
            result = PTX_ESTABLISHED;
            break;
        }
    }
    LocalFree(connections);
    return result;
}

BOOL CDialUpConnection::Dial(LPCSTR pszEntry, LPCSTR pszUser, LPCSTR pszPassword)
{
    RASDIALPARAMS params{};
    params.dwSize = sizeof params;
    lstrcpynA(params.szEntryName, pszEntry, sizeof params.szEntryName);
    BOOL passwordSaved = FALSE;
    DWORD error = RasGetEntryDialParams(NULL, &params, &passwordSaved);
    if (error == 0) {
        lstrcpynA(params.szUserName, pszUser, sizeof params.szUserName);
        lstrcpynA(params.szPassword, pszPassword, sizeof params.szPassword);
        HRASCONN connection = 0;
        error = RasDial(NULL, NULL, &params, 0, NULL, &connection);
        m_hConnection = connection;
    }
    WipeSecret(params.szPassword, sizeof params.szPassword);
    if (error != 0) {
        logPortix("dlrConnect -- the dial of %s failed (%lu)\n", pszEntry, static_cast<unsigned long>(error));
        HangUp();
        return FALSE;
    }
    return TRUE;
}

void CDialUpConnection::HangUp()
{
    if (m_hConnection != 0)
        RasHangUp(m_hConnection);
    m_hConnection = 0;
}

namespace {

enum { kWindows95 = 1, kWindowsNT = 2 };

}  // namespace

int CDialUpConnection::Connect(const CString& strEntry, CString strUser, CString strPassword, UINT nLogonTemplate)
{
    const int os = dlrGetOS();
    if (IsConnected() == PTX_ESTABLISHED) {
        WipeSecret(strPassword);
        return PTX_SUCCESS;
    }
    if (strEntry.IsEmpty()) {
        WipeSecret(strPassword);
        logPortix("dlrConnect -- no phonebook entry is configured\n");
        return PTX_NOT_ESTABLISHED;
    }
    BOOL dialled;
    if (strUser.IsEmpty() || strPassword.IsEmpty()) {
        CLogonDlg logon(nLogonTemplate, strUser, strPassword, CWnd::GetActiveWindow());
        WipeSecret(strPassword);
        if (logon.DoModal() != IDOK)
            return PTX_NOT_ESTABLISHED;
        dialled = Dial(strEntry, logon.User(), logon.Password());
    } else {
        dialled = Dial(strEntry, strUser, strPassword);
        WipeSecret(strPassword);
    }
    if (!dialled)
        return PTX_NOT_ESTABLISHED;
    if (os == kWindows95 || os == kWindowsNT)
        ShowMonitor(strEntry);
    return PTX_SUCCESS;
}

CString ConnectedWindowTitle(const CString& strEntry)
{
    const CString name = strEntry.GetLength() > 18 ? strEntry.Left(15) + "..." : strEntry;
    return "Connected to " + name;
}

void CDialUpConnection::ShowMonitor(const CString& strEntry)
{
    if (dlrGetOS() == kWindows95) {
        // The system opens the connection's window a moment after the dial.
        Sleep(3000);
        if (HWND window = ::FindWindow(NULL, ConnectedWindowTitle(strEntry)))
            ::ShowWindow(window, SW_SHOWMINNOACTIVE);
        return;
    }
    char folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectory(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return;
    CString program = CString(folder) + "\\rasmon.exe";
    STARTUPINFO startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION started{};
    const BOOL ok = CreateProcess(NULL, program.GetBuffer(0), NULL, NULL, FALSE, NORMAL_PRIORITY_CLASS, NULL, folder,
                                  &startup, &started);
    program.ReleaseBuffer();
    if (!ok) {
        logPortix("dlrConnect -- the dial-up monitor did not start (%lu)\n", static_cast<unsigned long>(GetLastError()));
        return;
    }
    CloseHandle(started.hProcess);
    CloseHandle(started.hThread);
}
