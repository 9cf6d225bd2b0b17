// CPTDW95App: the dial-up networking dialer's library state. It offers every phonebook entry as
// a connection type, dials the entry configured under "Dial-Up Networking" with the stored or
// typed account, watches and hangs up the connection and launches the browser.
#pragma once

#include "dialers/BrowserLauncher.h"
#include "dialers/DialUpConnection.h"
#include "dialers/DialerExports.h"

#include <afxwin.h>

class CPTDW95App : public CWinApp {
public:
    CPTDW95App();
    int ExitInstance() override;

    int Information(CObArray* pArray);
    int SetConnectionType(LPCSTR pszName);
    int IsConnected() { return m_connection.IsConnected(); }
    int Connect();
    int Disconnect();
    int SetupWinsock();
    int LaunchBrowser(const CString& strUrl);
    int Configure();

private:
    CConnectionTypes m_types;
    // The phonebook entry that dlrSetConnectionType named (the settings dialog's connection).
    CString m_strEntry;
    CDialUpConnection m_connection;
    CBrowserLauncher m_browser;
};

// The settings connection of this dialer: its "EntryName" names the entry to dial.
inline constexpr const char* kDialUpNetworking = "Dial-Up Networking";

