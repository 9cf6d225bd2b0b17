// CPTDCISApp: the CompuServe dialer's library state. It dials the phonebook entry that the
// selected connection names (by default the one CompuServe's software sets up), watches and
// hangs it up as the dial-up networking dialer does, and launches CompuServe's browser starter
// or a browser of the user's choice.
#pragma once

#include "dialers/BrowserLauncher.h"
#include "dialers/DialUpConnection.h"
#include "dialers/DialerExports.h"

#include <afxwin.h>

class CPTDCISApp : public CWinApp {
public:
    CPTDCISApp();
    int ExitInstance() override;

    CConnectionTypes m_types;
    // The selected type's name: the connection whose settings every operation reads.
    CString ConnectionName() const { return m_types.Selected().szDisplayName; }

    int Connect();
    int Disconnect();
    int IsConnected() { return m_connection.IsConnected(); }
    int SetupWinsock();
    int LaunchBrowser(const CString& strUrl);
    int Configure();

private:
    CDialUpConnection m_connection;
    CBrowserLauncher m_browser;
};

// The phonebook entry that CompuServe's software sets up.
inline constexpr const char* kCompuServeEntry = "CS3 Connection";

// The address as CompuServe's browser starter gets it: "http://" in front of one that does not
// begin with it (any case).
CString CompuServeAddress(const CString& strUrl);
