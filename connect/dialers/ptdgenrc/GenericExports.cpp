// The generic dialer's exports: each enters the library's module state first.
#include "dialers/ptdgenrc/GenericApp.h"
#include "dialers/ptdgenrc/GenericSettingsDlg.h"

DIALER_API int dlrInformation(CObArray* pArray)
{
    DIALER_ENTRY();
    return GenericApp().m_types.Information(pArray);
}

DIALER_API int dlrSetConnectionType(LPCSTR pszName)
{
    DIALER_ENTRY();
    return GenericApp().m_types.Select(pszName);
}

// The generic connection is opened and closed by other software.
DIALER_API int dlrConnect()
{
    DIALER_ENTRY();
    return PTX_NOT_SUPPORTED;
}

DIALER_API int dlrDisconnect()
{
    DIALER_ENTRY();
    return PTX_NOT_SUPPORTED;
}

DIALER_API int dlrIsConnected()
{
    DIALER_ENTRY();
    return GenericApp().IsConnected();
}

DIALER_API int dlrSetupWinsock()
{
    DIALER_ENTRY();
    return GenericApp().SetupWinsock();
}

DIALER_API int dlrLaunchBrowser(CString& strUrl)
{
    DIALER_ENTRY();
    return GenericApp().LaunchBrowser(strUrl);
}

DIALER_API int dlrConfigure()
{
    DIALER_ENTRY();
    const CONNECTIONTYPE& type = GenericApp().m_types.Selected();
    CGenericSettingsDlg dialog(type.szDisplayName, type.szSupportDll, type.szDialerDll, CWnd::GetActiveWindow());
    return dialog.DoModal() == IDOK ? PTX_CONFIG_CHANGED : PTX_CONFIG_UNCHANGED;
}
