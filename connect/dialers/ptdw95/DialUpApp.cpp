// The dial-up networking dialer's operations.
#include "dialers/ptdw95/DialUpApp.h"

#include "dialers/Phonebook.h"
#include "dialers/ptdw95/DialUpSettingsDlg.h"
#include "dialers/ptdw95/resource.h"
#include "portixcmn/PortixCmn.h"

#include <new>

namespace {

CPTDW95App theApp;

}  // namespace

CPTDW95App& DialUpApp() { return theApp; }

CPTDW95App::CPTDW95App() : CWinApp("PTDW95"), m_types(*FindDialerTable("PTDW95.DLL")) {}

int CPTDW95App::ExitInstance()
{
    // The connection outlives the library (another load finds it again); the remembered
    // browser runs on.
    m_browser.Forget();
    return CWinApp::ExitInstance();
}

int CPTDW95App::Information(CObArray* pArray)
{
    if (pArray == NULL)
        return PTX_SUCCESS;
    if (pArray->GetSize() < 1)
        return PTX_SUCCESS;
    auto* heading = new (std::nothrow) ConnectionInfo(m_types.Selected());
    if (heading == NULL)
        return PTX_MEMORY_ERROR;
    pArray->SetAt(0, heading);
    CPhonebook phonebook;
    const int code = phonebook.Enumerate();
    if (code != PTX_SUCCESS)
        return code;
    const CStringArray& names = phonebook.Names();
    // One slot per entry after the heading, as far as the caller's array goes.
    for (INT_PTR i = 0; i < names.GetSize() && i + 1 < pArray->GetSize(); ++i) {
        auto* entry = new (std::nothrow) ConnectionInfo();
        if (entry == NULL)
            return PTX_MEMORY_ERROR;
        entry->m_strSupportDll = "ISPWSOCK.DLL";
        entry->m_strDialerDll = "PTDW95.DLL";
        entry->m_strDisplayName = names[i];
        entry->m_dwListKind = DLR_LIST_GROUPED;
        pArray->SetAt(i + 1, entry);
    }
    if (names.GetSize() > 0)
        heading->m_dwListKind = DLR_LIST_HEADING;
    return PTX_SUCCESS;
}

int CPTDW95App::SetConnectionType(LPCSTR pszName)
{
    m_types.Select(kDialUpNetworking);
    m_strEntry = pszName != NULL ? pszName : "";
    return PTX_SUCCESS;
}

int CPTDW95App::Connect()
{
    const CString entry = EntryNameOf(kDialUpNetworking);
    return m_connection.Connect(entry, dlrGetUsername(entry, entry), dlrGetPassword(entry, entry), IDD_LOGON);
}

int CPTDW95App::Disconnect()
{
    if (m_connection.IsConnected() == PTX_NOT_ESTABLISHED) {
        // A line that dropped still holds its handle until it is hung up.
        m_connection.HangUp();
        return PTX_SUCCESS;
    }
    m_connection.HangUp();
    if (HWND monitor = ::FindWindow(NULL, "Dial-Up Networking Monitor"))
        ::PostMessage(monitor, WM_QUIT, 0, 0);
    return PTX_SUCCESS;
}

int CPTDW95App::SetupWinsock() { return _dlrSetupWinsock(EntryNameOf(kDialUpNetworking), FALSE, FALSE); }

int CPTDW95App::LaunchBrowser(const CString& strUrl)
{
    return m_browser.LaunchForConnection(EntryNameOf(kDialUpNetworking), strUrl);
}

int CPTDW95App::Configure()
{
    CDialUpSettingsDlg dialog(m_strEntry, CWnd::GetActiveWindow());
    return dialog.DoModal() == IDOK ? PTX_CONFIG_CHANGED : PTX_CONFIG_UNCHANGED;
}
