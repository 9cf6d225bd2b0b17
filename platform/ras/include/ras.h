// The platform's remote-access service (RASAPI32): the phonebook's entries, dialling an entry,
// the live connections and hanging them up.
//
// This platform has no modem and never changes the host's network: the service dials against a
// stand-in. The phonebook is a text file of the emulated system tree (host/RemoteAccess.h says
// where and how it reads); each entry holds its saved user name and password and what a dial of
// it does (connects, the line is busy, nobody answers, or it connects and drops after a while).
// The live connections are one table that every process of the user shares: a connection that
// one process dialled is seen, watched and hung up by the others, and it lives on after the
// process that dialled it ends, until someone hangs it up.
//
// A connection's handle is a number of the service (0 none), so that the connection record keeps
// its size of 412 bytes. Sizes in the records' dwSize must be the sizes below (else
// ERROR_INVALID_SIZE). Results are 0 or one of the error numbers below.
#pragma once

#include <windef.h>

#define RAS_MaxEntryName 256
#define RAS_MaxDeviceType 16
#define RAS_MaxDeviceName 128
#define RAS_MaxPhoneNumber 128
#define RAS_MaxCallbackNumber 128
#define UNLEN 256
#define PWLEN 256
#define DNLEN 15

// Error numbers of the service.
#define PENDING 600
#define ERROR_BUFFER_TOO_SMALL 603
#define ERROR_CANNOT_OPEN_PHONEBOOK 621
#define ERROR_CANNOT_FIND_PHONEBOOK_ENTRY 623
#define ERROR_PORT_DISCONNECTED 628
#define ERROR_INVALID_SIZE 632
#define ERROR_LINE_BUSY 676
#define ERROR_NO_ANSWER 678
#define ERROR_AUTHENTICATION_FAILURE 691

typedef DWORD HRASCONN;
typedef HRASCONN* LPHRASCONN;

// The states of a connection; a dial that ended ends in one of the last two.
enum RASCONNSTATE {
    RASCS_OpenPort = 0,
    RASCS_PortOpened,
    RASCS_ConnectDevice,
    RASCS_DeviceConnected,
    RASCS_AllDevicesConnected,
    RASCS_Authenticate,
    RASCS_Authenticated = 14,
    RASCS_Connected = 0x2000,
    RASCS_Disconnected = 0x2001,
};

// One phonebook entry's name (264 bytes).
struct RASENTRYNAME {
    DWORD dwSize;
    CHAR szEntryName[RAS_MaxEntryName + 1];
};
typedef RASENTRYNAME* LPRASENTRYNAME;

// One live connection (412 bytes).
struct RASCONN {
    DWORD dwSize;
    HRASCONN hrasconn;
    CHAR szEntryName[RAS_MaxEntryName + 1];
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
typedef RASCONN* LPRASCONN;

struct RASCONNSTATUS {
    DWORD dwSize;
    RASCONNSTATE rasconnstate;
    DWORD dwError;  // why a connection that is no longer connected ended
    CHAR szDeviceType[RAS_MaxDeviceType + 1];
    CHAR szDeviceName[RAS_MaxDeviceName + 1];
};
typedef RASCONNSTATUS* LPRASCONNSTATUS;

// What a dial uses: the entry, and the account to log on with.
struct RASDIALPARAMS {
    DWORD dwSize;
    CHAR szEntryName[RAS_MaxEntryName + 1];
    CHAR szPhoneNumber[RAS_MaxPhoneNumber + 1];
    CHAR szCallbackNumber[RAS_MaxCallbackNumber + 1];
    CHAR szUserName[UNLEN + 1];
    CHAR szPassword[PWLEN + 1];
    CHAR szDomain[DNLEN + 1];
};
typedef RASDIALPARAMS* LPRASDIALPARAMS;

struct RASDIALEXTENSIONS;
typedef RASDIALEXTENSIONS* LPRASDIALEXTENSIONS;

static_assert(sizeof(RASENTRYNAME) == 264, "an entry-name record is 264 bytes");
static_assert(sizeof(RASCONN) == 412, "a connection record is 412 bytes");

#ifdef __cplusplus
extern "C" {
#endif

// The phonebook's entries, in the file's order. *lpcb is the buffer's size in bytes; when the
// entries do not fit, *lpcb gets the size they need, *lpcEntries their number, and the answer is
// ERROR_BUFFER_TOO_SMALL. No phonebook file is an empty phonebook; one that cannot be read (or
// is damaged) gives ERROR_CANNOT_OPEN_PHONEBOOK. The first two arguments must be NULL (the
// system's phonebook).
DWORD WINAPI RasEnumEntries(LPCSTR reserved, LPCSTR lpszPhonebook, LPRASENTRYNAME lpRasEntryName, LPDWORD lpcb,
                            LPDWORD lpcEntries);
// The saved account of the entry named in szEntryName: user name, domain and, when one is saved,
// the password (*lpfPassword TRUE); ERROR_CANNOT_FIND_PHONEBOOK_ENTRY for an unknown entry.
DWORD WINAPI RasGetEntryDialParams(LPCSTR lpszPhonebook, LPRASDIALPARAMS lpRasDialParams, LPBOOL lpfPassword);
// Dials an entry. Only the synchronous form exists here: no notifier (dwNotifierType 0 and
// notifier NULL, else ERROR_INVALID_PARAMETER), and *lphRasConn must be 0. The call returns when
// the dial has ended. On success *lphRasConn is the new connection; on a failed dial (busy, no
// answer, refused account) *lphRasConn still gets a handle, which the caller hangs up.
DWORD WINAPI RasDial(LPRASDIALEXTENSIONS lpRasDialExtensions, LPCSTR lpszPhonebook, LPRASDIALPARAMS lpRasDialParams,
                     DWORD dwNotifierType, LPVOID lpvNotifier, LPHRASCONN lphRasConn);
// The state of a connection: RASCS_Connected, or RASCS_Disconnected with the reason in dwError.
// ERROR_INVALID_HANDLE once it was hung up.
DWORD WINAPI RasGetConnectStatus(HRASCONN hrasconn, LPRASCONNSTATUS lpRasConnStatus);
// The live connections of the user (those hung up are gone; those that dropped stay until hung
// up). Buffer growth as for RasEnumEntries.
DWORD WINAPI RasEnumConnections(LPRASCONN lpRasConn, LPDWORD lpcb, LPDWORD lpcConnections);
// Ends a connection and frees its handle; ERROR_INVALID_HANDLE for one that is not live.
DWORD WINAPI RasHangUp(HRASCONN hrasconn);

#ifdef __cplusplus
}
#endif
