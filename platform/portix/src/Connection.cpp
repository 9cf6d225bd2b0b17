// The engine's connection: Initialize, Connect, Disconnect, IsConnected, LaunchBrowser through
// the configured dialer, and the settings the requests take from the connection settings.
#include "Connection.h"

#include "Engine.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <strings.h>

namespace portix {

namespace {

const char kSettingsLibrary[] = "PORTIXCMN.DLL";
const char kNoConnection[] = "No Internet Access";
const char kOwnTransport[] = "ISPWSOCK.DLL";
const char kNullTransport[] = "ISPNULL.DLL";
const char kNoDialer[] = "PTDNONE.DLL";

template <typename T>
bool Bind(HMODULE module, WORD ordinal, T& target)
{
    target = reinterpret_cast<T>(GetProcAddress(module, MAKEINTRESOURCE(ordinal)));
    return target != nullptr;
}

bool Same(const CString& a, const char* b)
{
    return a.CompareNoCase(b) == 0;
}

}  // namespace

std::string ProxyAddress(const CString& httpProxy, const CString& httpPort, int firewall, const CString& socksHost,
                         const CString& socksPort)
{
    auto trimmed = [](CString text) {
        text.TrimLeft();
        text.TrimRight();
        return std::string(static_cast<LPCSTR>(text));
    };
    const std::string socks = trimmed(socksHost);
    if (firewall == kFirewallSocks && !socks.empty()) {
        std::string port = trimmed(socksPort);
        return "socks5h://" + socks + ":" + (port.empty() ? "1080" : port);
    }
    const std::string http = trimmed(httpProxy);
    if (http.empty())
        return {};
    std::string port = trimmed(httpPort);
    return "http://" + http + ":" + (port.empty() ? "80" : port);
}

std::string NoProxyHosts(const CString& list)
{
    std::string out;
    std::string name;
    auto flush = [&] {
        if (!name.empty())
            out += (out.empty() ? "" : ",") + name;
        name.clear();
    };
    for (int i = 0; i < list.GetLength(); ++i) {
        const char c = list[i];
        if (c == ';' || c == ',' || c == ' ' || c == '\t')
            flush();
        else
            name += c;
    }
    flush();
    return out;
}

int DialerLibrary::Load(const CString& name)
{
    Free();
    module = LoadLibrary(name);
    if (!module)
        return GetLastError() == ERROR_DLL_INIT_FAILED ? PTX_UNKNOWN_ERROR_2 : PTX_LIBRARY_NOT_LOADED;
    file = name;
    int code = PTX_SUCCESS;
    if (!Bind(module, DLR_ORD_INFORMATION, information) || !Bind(module, DLR_ORD_CONFIGURE, configure) ||
        !Bind(module, DLR_ORD_SETCONNECTIONTYPE, setConnectionType))
        code = PTX_LIBRARY_NOT_LOADED;
    else if (!Bind(module, DLR_ORD_CONNECT, connect))
        code = PTX_NO_CONNECT_ENTRY;
    else if (!Bind(module, DLR_ORD_DISCONNECT, disconnect))
        code = PTX_NO_DISCONNECT_ENTRY;
    else if (!Bind(module, DLR_ORD_ISCONNECTED, isConnected))
        code = PTX_NO_ISCONNECTED_ENTRY;
    else if (!Bind(module, DLR_ORD_LAUNCHBROWSER, launchBrowser))
        code = PTX_NO_LAUNCHBROWSER_ENTRY;
    else if (!Bind(module, DLR_ORD_SETUPWINSOCK, setupWinsock))
        code = PTX_NO_SETUPWINSOCK_ENTRY;
    if (code != PTX_SUCCESS)
        Free();
    return code;
}

void DialerLibrary::Free()
{
    if (module)
        FreeLibrary(module);
    *this = DialerLibrary();
}

Connection& Connection::Get()
{
    // Lives as long as the process: the libraries it loaded stay loaded to the end.
    static Connection* connection = new Connection;
    return *connection;
}

SettingsLibrary* Connection::Settings()
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    if (m_settings.module)
        return &m_settings;
    HMODULE module = LoadLibrary(kSettingsLibrary);
    if (!module)
        return nullptr;
    SettingsLibrary s;
    s.module = module;
    const bool bound =
        Bind(module, 44, s.getConfiguredIsp) && Bind(module, 43, s.setConfiguredIsp) &&
        Bind(module, 21, s.getSupportDll) && Bind(module, 22, s.setSupportDll) && Bind(module, 23, s.getDialerDll) &&
        Bind(module, 24, s.setDialerDll) && Bind(module, 61, s.isThisAConnection) &&
        Bind(module, 60, s.setDefaultConnection) && Bind(module, 49, s.getHttpProxy) &&
        Bind(module, 48, s.setHttpProxy) && Bind(module, 51, s.getHttpProxyPort) &&
        Bind(module, 50, s.setHttpProxyPort) && Bind(module, 53, s.getSocksHost) && Bind(module, 52, s.setSocksHost) &&
        Bind(module, 55, s.getSocksHostPort) && Bind(module, 54, s.setSocksHostPort) &&
        Bind(module, 57, s.getFirewallType) && Bind(module, 56, s.setFirewallType) &&
        Bind(module, 59, s.getNoProxyList) && Bind(module, 58, s.setNoProxyList) &&
        Bind(module, 63, s.getLoggingType) && Bind(module, 62, s.setLoggingType) &&
        Bind(module, 120, s.logInitializeLogging) && Bind(module, 122, s.logPortix);
    if (!bound) {
        FreeLibrary(module);
        return nullptr;
    }
    m_settings = s;
    return &m_settings;
}

void Connection::Log(const char* format, ...)
{
    if (!m_settings.module)
        return;
    char line[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    m_settings.logPortix("%s", line);
}

void Connection::ApplySettings()
{
    SettingsLibrary& s = m_settings;
    s.logInitializeLogging();
    const std::string proxy = ProxyAddress(s.getHttpProxy(), s.getHttpProxyPort(), s.getFirewallType(),
                                           s.getSocksHost(), s.getSocksHostPort());
    Core::Get().SetProxy(proxy, proxy.empty() ? std::string() : NoProxyHosts(s.getNoProxyList()));
    if (!proxy.empty())
        Log("CPortix -- requests go through the proxy %s\n", proxy.c_str());
}

int Connection::Initialize()
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    m_state = InitializeLocked();
    return m_state;
}

int Connection::InitializeLocked()
{
    if (!Settings())
        return PTX_LIBRARY_NOT_LOADED;
    SettingsLibrary& s = m_settings;
    ApplySettings();
    const CString isp = s.getConfiguredIsp();
    Log("CPortix::Initialize -- Current Isp = %s\n", static_cast<LPCSTR>(isp));
    const CString support = isp.IsEmpty() || !s.isThisAConnection(isp) ? CString() : s.getSupportDll(isp);
    if (support.IsEmpty() || Same(support, kNullTransport)) {
        m_dialer.Free();
        m_winsockSetUp = false;
        Log("CPortix::Initialize -- no provider is configured\n");
        return PTX_NOT_CONFIGURED;
    }
    if (!Same(support, kOwnTransport)) {
        Log("CPortix::Initialize -- the support library %s is not available\n", static_cast<LPCSTR>(support));
        return PTX_LIBRARY_NOT_LOADED;
    }
    const CString dialer = s.getDialerDll(isp);
    if (dialer.IsEmpty() || Same(dialer, kNoDialer)) {
        Log("CPortix::Initialize -- %s names no dialer\n", static_cast<LPCSTR>(isp));
        return dialer.IsEmpty() ? PTX_LIBRARY_NOT_NAMED : PTX_NOT_CONFIGURED;
    }
    if (!m_dialer.module || m_dialer.file.CompareNoCase(dialer) != 0) {
        m_winsockSetUp = false;
        if (int code = m_dialer.Load(dialer); code != PTX_SUCCESS) {
            Log("CPortix::Initialize -- the dialer %s is not usable (%d)\n", static_cast<LPCSTR>(dialer), code);
            return code;
        }
    }
    m_dialer.file = dialer;  // as the settings name it now
    if (m_dialer.setConnectionType(isp) != PTX_SUCCESS) {
        Log("CPortix::Initialize -- %s does not offer %s\n", static_cast<LPCSTR>(dialer), static_cast<LPCSTR>(isp));
        return PTX_NOT_CONFIGURED;
    }
    if (!m_winsockSetUp) {
        const int code = m_dialer.setupWinsock();
        if (code != PTX_SUCCESS) {
            Log("CPortix::Initialize -- the sockets set-up failed (%d)\n", code);
            return PTX_UNKNOWN_ERROR;
        }
        m_winsockSetUp = true;
    }
    Log("CPortix::Initialize -- ready with %s\n", static_cast<LPCSTR>(dialer));
    return PTX_SUCCESS;
}

int Connection::Ready() const
{
    if (m_state == PTX_SUCCESS && m_dialer.module)
        return PTX_SUCCESS;
    return m_state == PTX_NOT_CONFIGURED ? PTX_NOT_CONFIGURED : PTX_NOT_INITIALIZED;
}

int Connection::Connect()
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    if (int code = Ready(); code != PTX_SUCCESS)
        return code;
    const int code = m_dialer.connect();
    Log("CPortix::Connect -- %d\n", code);
    return code;
}

int Connection::Disconnect()
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    if (int code = Ready(); code != PTX_SUCCESS)
        return code;
    const int code = m_dialer.disconnect();
    Log("CPortix::Disconnect -- %d\n", code);
    return code;
}

int Connection::IsConnected()
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    if (int code = Ready(); code != PTX_SUCCESS)
        return code;
    const int code = m_dialer.isConnected();
    // The provider's own connection (a local network, or one made elsewhere) is always there
    // and not the engine's to end.
    return code == PTX_PROVIDER_CONNECTED ? PTX_ALWAYS_ESTABLISHED : code;
}

int Connection::LaunchBrowser(CString& url)
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    if (int code = Ready(); code != PTX_SUCCESS)
        return code;
    const int code = m_dialer.launchBrowser(url);
    Log("CPortix::LaunchBrowser -- %d\n", code);
    return code;
}

CString Connection::DialerDll()
{
    std::lock_guard<std::recursive_mutex> g(m_lock);
    return m_dialer.module && m_state == PTX_SUCCESS ? m_dialer.file : CString();
}

std::vector<OfferedType> Connection::OfferedTypes()
{
    // The dialer libraries beside the program: "PTD*.DLL", built as "[lib]ptd*.so".
    char program[MAX_PATH];
    DWORD length = GetModuleFileName(NULL, program, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return {};
    std::string folder(program, length);
    folder = folder.substr(0, folder.find_last_of('\\') + 1);
    std::vector<std::string> files;
    WIN32_FIND_DATA found;
    HANDLE find = FindFirstFile((folder + "*").c_str(), &found);
    if (find != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name.size() > 3 && strncasecmp(name.c_str(), "lib", 3) == 0)
                name = name.substr(3);
            std::string stem;
            if (name.size() > 4 && strcasecmp(name.c_str() + name.size() - 4, ".dll") == 0)
                stem = name.substr(0, name.size() - 4);
            else if (name.size() > 3 && strcasecmp(name.c_str() + name.size() - 3, ".so") == 0)
                stem = name.substr(0, name.size() - 3);
            if (stem.size() <= 3 || strncasecmp(stem.c_str(), "ptd", 3) != 0 || strcasecmp(stem.c_str(), "ptdnone") == 0)
                continue;
            std::transform(stem.begin(), stem.end(), stem.begin(), [](unsigned char c) { return std::toupper(c); });
            files.push_back(stem + ".DLL");
        } while (FindNextFile(find, &found));
        FindClose(find);
    }
    std::sort(files.begin(), files.end());
    files.erase(std::unique(files.begin(), files.end()), files.end());

    std::vector<OfferedType> types;
    for (const std::string& file : files) {
        HMODULE module = LoadLibrary((folder + file).c_str());
        if (!module)
            continue;
        auto information = reinterpret_cast<DLRINFORMATIONPROC>(GetProcAddress(module, MAKEINTRESOURCE(DLR_ORD_INFORMATION)));
        if (information) {
            CObArray slots;
            slots.SetSize(32);
            information(&slots);
            for (INT_PTR i = 0; i < slots.GetSize(); ++i) {
                auto* info = static_cast<ConnectionInfo*>(slots[i]);
                if (!info)
                    continue;
                OfferedType type;
                type.dialerFile = file.c_str();
                type.supportDll = info->m_strSupportDll;
                type.dialerDll = info->m_strDialerDll;
                type.name = info->m_strDisplayName;
                type.listKind = info->m_dwListKind;
                types.push_back(type);
                delete info;
            }
        }
        FreeLibrary(module);
    }
    return types;
}

}  // namespace portix
