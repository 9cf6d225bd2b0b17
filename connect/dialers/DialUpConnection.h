// A dial-up dialer's connection: the remote-access handle it dialled or found.
#pragma once

#include <afx.h>

#include <ras.h>

class CDialUpConnection {
public:
    // The whole connect of a dial-up dialer: 16401 at once when already connected; else the
    // entry is dialled with the stored account, or with one typed into the logon dialog of that
    // template when the stored user name or password is empty (Cancel gives 16425; what was
    // typed serves this dial only). After a dial the dial-up monitor is shown (ShowMonitor).
    // A failed dial is hung up and gives 16425.
    int Connect(const CString& strEntry, CString strUser, CString strPassword, UINT nLogonTemplate);
    // After a dial: on Windows 95/98 waits 3 seconds for the system's "Connected to ..." window
    // of the entry and minimises it without activating it; on Windows NT starts the system
    // folder's "rasmon.exe" minimised.
    static void ShowMonitor(const CString& strEntry);
    // 16424 when connected, else 16425. With a handle: its state (a handle whose line dropped
    // stays until it is hung up). Without one: the first live connection that is connected
    // becomes this one's handle.
    int IsConnected();
    // Dials the entry with this account (the dial parameters start from the phonebook's saved
    // ones for the entry): TRUE and the new handle, or FALSE with the failed dial hung up. The
    // password's copy in the dial parameters is wiped afterwards.
    BOOL Dial(LPCSTR pszEntry, LPCSTR pszUser, LPCSTR pszPassword);
    // Hangs up the handle, if there is one, and forgets it.
    void HangUp();
    BOOL HasHandle() const { return m_hConnection != 0; }

private:
    HRASCONN m_hConnection = 0;
};

// The title of the window the system shows for a connection of this entry on Windows 95/98:
// "Connected to " and the name, a name over 18 characters cut to its first 15 and "...".
CString ConnectedWindowTitle(const CString& strEntry);
