// The dialer plug-in interface: what the connection engine and a dialer library exchange.
//
// A dialer library implements one kind of internet connection behind fixed exports (by ordinal
// and by name, each a plain function answering a status code of <portix/Status.h>):
//    1 dlrInformation(CObArray*)      a new ConnectionInfo per offered type into the caller's
//                                     slots 0.. (within the array's size; the caller deletes them)
//    2 dlrConnect()   3 dlrDisconnect()   4 dlrIsConnected()   5 dlrConfigure()
//    6 dlrLaunchBrowser(CString& url)     7 dlrSetupWinsock()
//    8 dlrSetConnectionType(LPCSTR)      selects a type by its exact display name
//    9-15 the CStatus members (operator=, GetMajorCode, GetMajorDesc, GetMinorCode, GetMinorDesc,
//         GetRawStatusCode, SetRawStatusCode)
#pragma once

#include <afx.h>
#include <afxcoll.h>

// Lengths of a connection-type record's names (characters with the terminator).
#define DLR_NAME_SIZE 50

// List kinds of a connection type.
enum : DWORD {
    DLR_LIST_STANDALONE = 0,   // a type of its own
    DLR_LIST_HEADING = 1,      // a group heading: no libraries, not selectable
    DLR_LIST_GROUPED = 2,      // a type listed under the heading before it
    DLR_LIST_DIALUP = 3,       // a dial-up networking type
};

// One record of a dialer's static table of connection types, in table order.
struct CONNECTIONTYPE {
    DWORD dwSize;                      // the record's own size
    char szSupportDll[DLR_NAME_SIZE];  // the support library the engine uses for this type
    char szDialerDll[DLR_NAME_SIZE];   // the dialer library itself
    char szDisplayName[DLR_NAME_SIZE]; // the type's name, also its connection's settings name
    WORD wReserved;
    DWORD dwListKind;
    DWORD dwOptionFlags;               // the dialer's own
};

// What dlrInformation hands out for each record (the option flags stay the dialer's).
class ConnectionInfo : public CObject {
public:
    ConnectionInfo() = default;
    explicit ConnectionInfo(const CONNECTIONTYPE& record)
        : m_strSupportDll(record.szSupportDll), m_strDialerDll(record.szDialerDll),
          m_strDisplayName(record.szDisplayName), m_wReserved(record.wReserved), m_dwListKind(record.dwListKind)
    {
    }
    ~ConnectionInfo() override {}
    void Serialize(CArchive&) override {}
    void AssertValid() const override {}
    void Dump(CDumpContext&) const override {}

    CString m_strSupportDll;
    CString m_strDialerDll;
    CString m_strDisplayName;
    WORD m_wReserved = 0;
    DWORD m_dwListKind = DLR_LIST_STANDALONE;
};

// The exports' types, as the engine binds them.
typedef int (*DLRINFORMATIONPROC)(CObArray* pArray);
typedef int (*DLRPROC)();
typedef int (*DLRLAUNCHBROWSERPROC)(CString& strUrl);
typedef int (*DLRSETCONNECTIONTYPEPROC)(LPCSTR pszName);

enum : WORD {
    DLR_ORD_INFORMATION = 1,
    DLR_ORD_CONNECT = 2,
    DLR_ORD_DISCONNECT = 3,
    DLR_ORD_ISCONNECTED = 4,
    DLR_ORD_CONFIGURE = 5,
    DLR_ORD_LAUNCHBROWSER = 6,
    DLR_ORD_SETUPWINSOCK = 7,
    DLR_ORD_SETCONNECTIONTYPE = 8,
};
