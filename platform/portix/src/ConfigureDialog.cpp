// The engine's connection dialog (CPortix::Configure): the connection type, the proxy and
// firewall, and the log.
#include "ConfigureResource.h"
#include "Connection.h"

#include <afxwin.h>

#include <cstdlib>

namespace portix {

namespace {

const char kNoConnection[] = "No Internet Access";
const LPARAM kHeading = -1;
const LPARAM kNone = 0;  // "No Internet Access"; a type is its index + 1

// Whether a port's text is a number from 1 to 65535 (empty: the default port).
bool ValidPort(const CString& text)
{
    if (text.IsEmpty())
        return true;
    if (text.GetLength() > 5)
        return false;
    for (int i = 0; i < text.GetLength(); ++i)
        if (text[i] < '0' || text[i] > '9')
            return false;
    const long port = std::atol(text);
    return port >= 1 && port <= 65535;
}

bool HasBlank(const CString& text)
{
    return text.FindOneOf(" \t") >= 0;
}

class CConnectionDialog : public CDialog {
public:
    CConnectionDialog(SettingsLibrary& settings, std::vector<OfferedType> types)
        : CDialog(IDD_PORTIX_CONFIGURE), m_settings(settings), m_types(std::move(types))
    {
    }

    bool m_changed = false;

protected:
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

private:
    CString Text(int id) const
    {
        char text[1024] = {};
        ::GetDlgItemText(m_hWnd, id, text, sizeof text);
        CString value(text);
        value.TrimLeft();
        value.TrimRight();
        return value;
    }
    HWND Item(int id) const { return ::GetDlgItem(m_hWnd, id); }
    LPARAM SelectedEntry() const
    {
        const LRESULT at = ::SendMessage(Item(IDC_PTX_TYPES), LB_GETCURSEL, 0, 0);
        return at == LB_ERR ? kHeading : ::SendMessage(Item(IDC_PTX_TYPES), LB_GETITEMDATA, at, 0);
    }
    void SkipHeading();
    // Runs the dialer's settings dialog of the selected type: 16402 saved, 16403 not, or the
    // reason it could not run.
    int ConfigureType(const OfferedType& type);
    bool Warn(int focus, LPCSTR text)
    {
        ::MessageBox(m_hWnd, text, "Internet Connection", MB_OK | MB_ICONEXCLAMATION);
        ::SetFocus(Item(focus));
        return false;
    }
    bool SaveProxyAndLog();
    void Save(int (*setter)(LPCSTR), const CString& now, const CString& value)
    {
        if (now != value) {
            setter(value);
            m_changed = true;
        }
    }

    SettingsLibrary& m_settings;
    std::vector<OfferedType> m_types;
    CString m_current;
};

BOOL CConnectionDialog::OnInitDialog()
{
    CDialog::OnInitDialog();
    m_current = m_settings.getConfiguredIsp();
    HWND list = Item(IDC_PTX_TYPES);
    auto add = [&](const CString& text, LPARAM data) {
        const LRESULT at = ::SendMessage(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(static_cast<LPCSTR>(text)));
        ::SendMessage(list, LB_SETITEMDATA, at, data);
        return at;
    };
    LRESULT selected = add(kNoConnection, kNone);
    for (std::size_t i = 0; i < m_types.size(); ++i) {
        const OfferedType& type = m_types[i];
        if (type.listKind == DLR_LIST_HEADING) {
            add(type.name + ":", kHeading);
            continue;
        }
        const LRESULT at = add(type.listKind == DLR_LIST_GROUPED ? "    " + type.name : type.name,
                               static_cast<LPARAM>(i + 1));
        if (type.name == m_current)
            selected = at;
    }
    ::SendMessage(list, LB_SETCURSEL, selected, 0);
    ::EnableWindow(Item(IDC_PTX_SETTINGS), SelectedEntry() > kNone);

    HWND firewall = Item(IDC_PTX_FIREWALL);
    for (LPCSTR kind : {"None", "HTTP proxy", "SOCKS"})
        ::SendMessage(firewall, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(kind));
    const int kindNow = m_settings.getFirewallType();
    ::SendMessage(firewall, CB_SETCURSEL, kindNow >= 0 && kindNow <= 2 ? kindNow : 0, 0);
    ::SetDlgItemText(m_hWnd, IDC_PTX_HTTP_PROXY, m_settings.getHttpProxy());
    ::SetDlgItemText(m_hWnd, IDC_PTX_HTTP_PORT, m_settings.getHttpProxyPort());
    ::SetDlgItemText(m_hWnd, IDC_PTX_SOCKS_HOST, m_settings.getSocksHost());
    ::SetDlgItemText(m_hWnd, IDC_PTX_SOCKS_PORT, m_settings.getSocksHostPort());
    ::SetDlgItemText(m_hWnd, IDC_PTX_NO_PROXY, m_settings.getNoProxyList());
    ::CheckDlgButton(m_hWnd, IDC_PTX_LOGGING, std::atoi(m_settings.getLoggingType()) != 0 ? BST_CHECKED : BST_UNCHECKED);
    return TRUE;
}

void CConnectionDialog::SkipHeading()
{
    // A heading is no connection: the first type under it stands for it.
    HWND list = Item(IDC_PTX_TYPES);
    const LRESULT at = ::SendMessage(list, LB_GETCURSEL, 0, 0);
    if (at != LB_ERR && ::SendMessage(list, LB_GETITEMDATA, at, 0) == kHeading &&
        at + 1 < ::SendMessage(list, LB_GETCOUNT, 0, 0))
        ::SendMessage(list, LB_SETCURSEL, at + 1, 0);
}

BOOL CConnectionDialog::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const int id = LOWORD(wParam);
    const int code = HIWORD(wParam);
    if (id == IDC_PTX_TYPES && code == LBN_SELCHANGE) {
        SkipHeading();
        ::EnableWindow(Item(IDC_PTX_SETTINGS), SelectedEntry() > kNone);
        return TRUE;
    }
    if (id == IDC_PTX_SETTINGS && code == BN_CLICKED) {
        const LPARAM entry = SelectedEntry();
        if (entry > kNone && ConfigureType(m_types[entry - 1]) == PTX_CONFIG_CHANGED &&
            m_types[entry - 1].name == m_current)
            m_changed = true;
        return TRUE;
    }
    return CDialog::OnCommand(wParam, lParam);
}

int CConnectionDialog::ConfigureType(const OfferedType& type)
{
    DialerLibrary dialer;
    const int loaded = dialer.Load(type.dialerFile);
    if (loaded != PTX_SUCCESS && loaded != PTX_NO_CONNECT_ENTRY && loaded != PTX_NO_DISCONNECT_ENTRY) {
        Warn(IDC_PTX_TYPES, "The connection software of this type could not be loaded.");
        return loaded;
    }
    int code = dialer.setConnectionType(type.name);
    if (code == PTX_SUCCESS)
        code = dialer.configure();
    if (code == PTX_CONFIG_CHANGED) {
        // The connection's libraries, whether or not the dialer's own dialog wrote them.
        if (m_settings.getSupportDll(type.name).IsEmpty())
            m_settings.setSupportDll(type.name, type.supportDll);
        if (m_settings.getDialerDll(type.name).IsEmpty())
            m_settings.setDialerDll(type.name, type.dialerDll.IsEmpty() ? type.dialerFile : type.dialerDll);
    }
    dialer.Free();
    return code;
}

bool CConnectionDialog::SaveProxyAndLog()
{
    const int firewall = static_cast<int>(::SendMessage(Item(IDC_PTX_FIREWALL), CB_GETCURSEL, 0, 0));
    const CString httpProxy = Text(IDC_PTX_HTTP_PROXY), httpPort = Text(IDC_PTX_HTTP_PORT);
    const CString socksHost = Text(IDC_PTX_SOCKS_HOST), socksPort = Text(IDC_PTX_SOCKS_PORT);
    if (HasBlank(httpProxy))
        return Warn(IDC_PTX_HTTP_PROXY, "The HTTP proxy must be a host name without blanks.");
    if (!ValidPort(httpPort))
        return Warn(IDC_PTX_HTTP_PORT, "The proxy port must be a number from 1 to 65535.");
    if (HasBlank(socksHost))
        return Warn(IDC_PTX_SOCKS_HOST, "The SOCKS host must be a host name without blanks.");
    if (!ValidPort(socksPort))
        return Warn(IDC_PTX_SOCKS_PORT, "The SOCKS port must be a number from 1 to 65535.");
    if (firewall == kFirewallHttpProxy && httpProxy.IsEmpty())
        return Warn(IDC_PTX_HTTP_PROXY, "Please name the HTTP proxy.");
    if (firewall == kFirewallSocks && socksHost.IsEmpty())
        return Warn(IDC_PTX_SOCKS_HOST, "Please name the SOCKS host.");

    Save(m_settings.setHttpProxy, m_settings.getHttpProxy(), httpProxy);
    Save(m_settings.setHttpProxyPort, m_settings.getHttpProxyPort(), httpPort.IsEmpty() ? CString("80") : httpPort);
    Save(m_settings.setSocksHost, m_settings.getSocksHost(), socksHost);
    Save(m_settings.setSocksHostPort, m_settings.getSocksHostPort(), socksPort.IsEmpty() ? CString("1080") : socksPort);
    Save(m_settings.setNoProxyList, m_settings.getNoProxyList(), Text(IDC_PTX_NO_PROXY));
    if (firewall >= 0 && firewall != m_settings.getFirewallType()) {
        m_settings.setFirewallType(firewall);
        m_changed = true;
    }
    const bool logging = ::IsDlgButtonChecked(m_hWnd, IDC_PTX_LOGGING) == BST_CHECKED;
    if (logging != (std::atoi(m_settings.getLoggingType()) != 0)) {
        m_settings.setLoggingType(logging ? "1" : "0");
        m_changed = true;
    }
    return true;
}

void CConnectionDialog::OnOK()
{
    const LPARAM entry = SelectedEntry();
    if (entry == kHeading) {
        Warn(IDC_PTX_TYPES, "Please choose a connection type.");
        return;
    }
    // A new type is taken only when its own settings were saved.
    if (entry > kNone && m_types[entry - 1].name != m_current) {
        const OfferedType& type = m_types[entry - 1];
        if (ConfigureType(type) != PTX_CONFIG_CHANGED)
            return;
        m_settings.setConfiguredIsp(type.name);
        m_changed = true;
    } else if (entry == kNone && m_settings.isThisAConnection(m_current)) {
        m_settings.setDefaultConnection();
        m_changed = true;
    }
    if (!SaveProxyAndLog())
        return;
    EndDialog(IDOK);
}

}  // namespace

int Connection::Configure()
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    std::lock_guard<std::recursive_mutex> g(m_lock);
    SettingsLibrary* settings = Settings();
    if (!settings)
        return PTX_LIBRARY_NOT_LOADED;
    CConnectionDialog dialog(*settings, OfferedTypes());
    dialog.DoModal();
    if (dialog.m_changed) {
        Log("CPortix::Configure -- the connection settings changed\n");
        m_state = InitializeLocked();
    }
    if (!settings->isThisAConnection(settings->getConfiguredIsp()))
        return PTX_NOT_CONFIGURED;
    return dialog.m_changed ? PTX_CONFIG_CHANGED : PTX_CONFIG_UNCHANGED;
}

}  // namespace portix
