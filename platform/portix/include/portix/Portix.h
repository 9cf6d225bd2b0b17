// The connection engine PORTIX.dll: requests for URLs, fetched into files, with progress
// reported to the requesting thread.
//
// A caller fills a CRequestUrl (address, output file, status callback, optional form fields) and
// hands it to CPortix::RequestUrl. The transfer runs on the engine's own worker; its reports reach
// the caller's callback only on the thread that made the request, while that thread pumps
// messages (they travel as messages posted to a hidden window of the thread). Every accepted
// request ends with exactly one final report: 16469 (the output file is complete), 16470
// (cancelled) or a failure; the caller keeps the record alive until that report.
//
// Reports, by major code: 16464 pending; 16467 begun (minor: the HTTP status, 200, or 250 when the
// server has messages waiting; the notification's total: the declared length, -1 when none);
// 16468 in process (minor: bytes so far); 16469 ended (minor: bytes written); 16470 cancelled;
// 16390 the server answered an HTTP status of 400 or more (minor: that status, minor text
// "NNN: reason"); 16388 a remote failure (minor: 16490 stalled past the read time-out, 16491 closed
// before a valid header, 16493 refused, unreachable or refused by the engine's rules, 16496 body
// over the engine's size cap, 16498 closed before the declared length arrived, 16500 host name not
// found); 16428 the output file could not be made or written; 16389 out of memory.
#pragma once

#include <afx.h>
#include <afxcoll.h>

#include <portix/Status.h>

class CRequestUrl;

// What a status callback is handed: the request, the engine's status record of this report and,
// once the transfer has begun, the declared total (-1 when the server declared none).
struct CRequestNotification {
    CRequestUrl* m_pRequest;
    CStatus* m_pStatus;
    long m_lTotalSize;
};

// The callback: (notification, the request's reserved word). It runs on the requesting thread,
// inside that thread's message pump. Calling SetXferEnd on the status of a report that is not
// final tells the engine that the caller is finished with the request: the transfer stops, its
// partial file is removed and no further report comes for it.
typedef void (*PORTIXCALLBACK)(CRequestNotification* pNotification, DWORD dwReserved);

// One request. The engine reads the fields when the request is accepted and never writes them;
// it owns none of them.
class CRequestUrl {
public:
    CString* m_pUrl = nullptr;                  // http or https address
    CString* m_pOutputFile = nullptr;           // created or overwritten when the transfer ends
    PORTIXCALLBACK m_pfnCallback = nullptr;     // status reports; may be null
    DWORD m_dwReserved = 0;                     // handed back to the callback
    CMapStringToString* m_pFields = nullptr;    // form fields: null sends GET, else a POST of them
};

// The identity the engine presents to the configured host (user name and password of HTTP basic
// authentication, the realm the server names, the host they are meant for).
class CAuthorizationInfo {
public:
    CAuthorizationInfo() = default;
    CAuthorizationInfo(const char* user, const char* password, const char* realm, const char* host)
        : m_strUser(user ? user : ""), m_strPassword(password ? password : ""), m_strRealm(realm ? realm : ""),
          m_strHost(host ? host : "")
    {
    }
    CAuthorizationInfo& operator=(const CAuthorizationInfo& other)
    {
        m_strUser = other.m_strUser;
        m_strPassword = other.m_strPassword;
        m_strRealm = other.m_strRealm;
        m_strHost = other.m_strHost;
        return *this;
    }
    CAuthorizationInfo(const CAuthorizationInfo& other) { *this = other; }

    CString m_strUser;
    CString m_strPassword;
    CString m_strRealm;
    CString m_strHost;
};

class CPortix {
public:
    CPortix();
    // Ends nothing: requests made through this object run on and still report.
    ~CPortix();
    CPortix(const CPortix&) = delete;
    CPortix& operator=(const CPortix&) = delete;

    // 16401 accepted; 16501 when the record names no host. One identity for the whole process:
    // every engine object presents it, and only to that host (never after a redirect elsewhere).
    static int SetAuthorizationInfo(CAuthorizationInfo& info);

    // 16401 accepted (16464 follows at the next pump); 16454 the address does not parse; 16455 its
    // scheme is not http or https; 16428 no output file, or one outside every drive; 16391 the
    // record is already in flight; 16497 no window for this thread's reports could be made.
    // Nothing follows a refusal.
    int RequestUrl(CRequestUrl* pRequest);
    // 16401: the request is being stopped (or already was, by an earlier Cancel); its one 16470
    // follows. A request that has already ended (or that the engine does not hold) is left
    // alone: 16391.
    int Cancel(CRequestUrl* pRequest);
    // Ends this object's work: every request made through it that is still in flight is
    // cancelled (each reports 16470). 16401.
    int Close();

    // ---- The connection ----
    // The engine's connection is one for the process: every engine object shares it. Its
    // settings are those of the connection settings library PORTIXCMN.DLL (the configured
    // connection "Current Isp", its "Support DLL" and "Dialer DLL", the proxy, firewall and
    // logging values); the dialer library it names is loaded from the program's folder.

    // Reads the configured connection and makes it ready: 16401 ready; 16385 no provider is
    // configured ("No Internet Access", or the support library "ISPNULL.DLL" or none); 16404
    // the connection names no dialer; 16405 the settings library, the support library or the
    // dialer could not be loaded (or the dialer lacks dlrInformation, dlrConfigure or
    // dlrSetConnectionType); 16407, 16408, 16409, 16412, 16413 the dialer lacks dlrConnect,
    // dlrDisconnect, dlrIsConnected, dlrLaunchBrowser or dlrSetupWinsock; 16385 the dialer does
    // not offer the configured type; 16483 the dialer's initialisation failed; 16391 its
    // sockets set-up failed. The proxy settings apply to every request accepted afterwards, and
    // "LoggingType" switches the engine's lines in "portix.log" on or off.
    int Initialize();
    // The engine's connection dialog: "No Internet Access" and the types of every dialer library
    // (PTD*.DLL) in the program's folder, the proxy and the log. A newly chosen type runs its
    // dialer's own settings dialog and becomes "Current Isp" when that is saved. 16402 changed,
    // 16403 unchanged, 16385 no connection is configured after all. A change makes the
    // connection ready again as Initialize does.
    int Configure();
    // Through the dialer: 16401 connected; 16427 not supported; 16385 no provider; 16386 not
    // initialised; others the dialer's failure.
    int Connect();
    int Disconnect();
    // 16424 connected by the engine; 16426 always connected (the dialer's 16421: a local
    // network or a connection made elsewhere, not ours to end); 16422 connected by the
    // provider's software; 16423 that software not connected; 16425 not established; 16385 no
    // provider; 16386 not initialised.
    int IsConnected();
    // Shows the address in the browser the connection's dialer is set up for: 16401 shown;
    // 16385 no browser set; 16391 refused or failed; 16427 not supported; 16386 not initialised.
    int LaunchBrowser(CString& strUrl);
    // The selected dialer library's file name, or empty.
    static CString GetDialerDll();

    // The engine's version number.
    int GetPortixVersion();
};
