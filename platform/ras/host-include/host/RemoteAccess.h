// The remote-access service's stand-in (<ras.h>) as the host side sees it.
//
// The phonebook is "<system root>/WINDOWS/SYSTEM32/RAS/rasphone.pbk" (host/Drives.h,
// SystemRoot()), a text file of sections, one per entry in the order offered:
//
//   [Office Line]            the entry's name (1 to 256 characters)
//   User=jsmith              saved user name (optional)
//   Password=secret          saved password (optional; without it none is saved)
//   Domain=WORK              (optional, up to 15 characters)
//   Outcome=connects         connects | busy | no answer | drops   (connects when absent)
//   DropAfter=5000           for "drops": milliseconds after the dial that the line drops
//   Account=jsmith:secret    (optional) the only user name and password the remote end accepts;
//                            any other gives ERROR_AUTHENTICATION_FAILURE
//   Device=Modem:Standard Modem   device type and name reported for the connection
//
// Blank lines and lines starting with ";" are skipped. A line that is none of these, a key
// before the first section, a name too long or a file that cannot be read makes the phonebook
// unreadable (ERROR_CANNOT_OPEN_PHONEBOOK); no file is an empty phonebook.
//
// The live connections are "<system root>/WINDOWS/SYSTEM32/RAS/rasconn.tbl", read and replaced
// whole under the lock file "rasconn.tbl.lock" (flock) by every process of the user. The times in
// it are the platform clock's UTC milliseconds (host/Clock.h): a dropping connection drops when
// the clock has moved past its time.
//
// Not part of the platform's interface: only the platform layer itself, tests and tools use it.
#pragma once

#include <windef.h>

#include <string>
#include <vector>

namespace host {

// Host paths of the phonebook and of the table of live connections.
std::string PhonebookFile();
std::string LiveConnectionFile();

// One line of the table: a dial that was not hung up yet.
struct LiveConnection {
    DWORD handle = 0;
    std::string entry;
    std::string user;       // the user name the dial logged on with (never the password)
    bool connected = false; // false: the dial failed or the line dropped
    DWORD error = 0;        // why it is not connected
};
std::vector<LiveConnection> LiveConnections();

}  // namespace host
