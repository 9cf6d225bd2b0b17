// The engine's connection, one for the process: the connection settings library bound by
// ordinal, the dialer library of the configured connection, and the proxy and log they set.
#pragma once

#include <portix/Dialer.h>
#include <portix/Portix.h>

#include <windows.h>

#include <mutex>
#include <string>
#include <vector>

namespace portix {

// The exports of PORTIXCMN.DLL the engine uses, by their ordinals.
struct SettingsLibrary {
    HMODULE module = nullptr;
    CString (*getConfiguredIsp)() = nullptr;               // 44
    int (*setConfiguredIsp)(LPCSTR) = nullptr;             // 43
    CString (*getSupportDll)(LPCSTR) = nullptr;            // 21
    int (*setSupportDll)(LPCSTR, LPCSTR) = nullptr;        // 22
    CString (*getDialerDll)(LPCSTR) = nullptr;             // 23
    int (*setDialerDll)(LPCSTR, LPCSTR) = nullptr;         // 24
    BOOL (*isThisAConnection)(LPCSTR) = nullptr;           // 61
    int (*setDefaultConnection)() = nullptr;               // 60
    CString (*getHttpProxy)() = nullptr;                   // 49
    int (*setHttpProxy)(LPCSTR) = nullptr;                 // 48
    CString (*getHttpProxyPort)() = nullptr;               // 51
    int (*setHttpProxyPort)(LPCSTR) = nullptr;             // 50
    CString (*getSocksHost)() = nullptr;                   // 53
    int (*setSocksHost)(LPCSTR) = nullptr;                 // 52
    CString (*getSocksHostPort)() = nullptr;               // 55
    int (*setSocksHostPort)(LPCSTR) = nullptr;             // 54
    int (*getFirewallType)() = nullptr;                    // 57
    int (*setFirewallType)(int) = nullptr;                 // 56
    CString (*getNoProxyList)() = nullptr;                 // 59
    int (*setNoProxyList)(LPCSTR) = nullptr;               // 58
    CString (*getLoggingType)() = nullptr;                 // 63
    int (*setLoggingType)(LPCSTR) = nullptr;               // 62
    void (*logInitializeLogging)() = nullptr;              // 120
    void (*logPortix)(LPCSTR, ...) = nullptr;              // 122
};

// A dialer library with its exports bound.
struct DialerLibrary {
    HMODULE module = nullptr;
    CString file;                                          // as the settings name it
    DLRINFORMATIONPROC information = nullptr;
    DLRPROC connect = nullptr;
    DLRPROC disconnect = nullptr;
    DLRPROC isConnected = nullptr;
    DLRPROC configure = nullptr;
    DLRLAUNCHBROWSERPROC launchBrowser = nullptr;
    DLRPROC setupWinsock = nullptr;
    DLRSETCONNECTIONTYPEPROC setConnectionType = nullptr;

    // Loads and binds the library: 16401, 16405 (not loadable, or lacking dlrInformation,
    // dlrConfigure or dlrSetConnectionType), 16483 (its initialisation failed), or the code of
    // the first missing operation (16407, 16408, 16409, 16412, 16413).
    int Load(const CString& name);
    void Free();
};

// One connection type a dialer library in the program's folder offers.
struct OfferedType {
    CString dialerFile;     // the library's file name as found ("PTDGENRC.DLL")
    CString supportDll;     // the type's libraries as its record names them
    CString dialerDll;
    CString name;
    DWORD listKind = DLR_LIST_STANDALONE;
};

// The engine's firewall kinds ("FirewallType").
enum FirewallKind { kFirewallNone = 0, kFirewallHttpProxy = 1, kFirewallSocks = 2 };

// libcurl's proxy for the settings: the HTTP proxy ("http://host:port") unless the firewall
// kind is SOCKS with a SOCKS host ("socks5h://host:port"); empty when neither applies.
std::string ProxyAddress(const CString& httpProxy, const CString& httpPort, int firewall, const CString& socksHost,
                         const CString& socksPort);
// The hosts reached without the proxy: the list's names separated by commas (the settings
// may separate them with semicolons or blanks).
std::string NoProxyHosts(const CString& list);

class Connection {
public:
    static Connection& Get();

    int Initialize();
    int Configure();
    int Connect();
    int Disconnect();
    int IsConnected();
    int LaunchBrowser(CString& url);
    CString DialerDll();

    // The settings library, bound on first use (nullptr when it cannot be).
    SettingsLibrary* Settings();
    // A line in "portix.log" (while logging is on).
    void Log(const char* format, ...) __attribute__((format(printf, 2, 3)));
    // Every type that the dialer libraries of the program's folder offer, in file-name order.
    std::vector<OfferedType> OfferedTypes();

private:
    Connection() = default;
    int InitializeLocked();
    // 16401 when ready; the state's code otherwise.
    int Ready() const;
    void ApplySettings();

    std::recursive_mutex m_lock;
    SettingsLibrary m_settings;
    bool m_settingsTried = false;
    DialerLibrary m_dialer;
    bool m_winsockSetUp = false;
    int m_state = PTX_NOT_INITIALIZED;    // 16401 ready, 16385 no provider, else not ready
};

}  // namespace portix
