// The CompuServe dialer's exports: each enters the library's module state first.
#include "dialers/ptdcis/CompuServeApp.h"

CPTDCISApp& CompuServeApp();

DIALER_API int dlrInformation(CObArray* pArray)
{
    DIALER_ENTRY();
    return CompuServeApp().m_types.Information(pArray);
}

DIALER_API int dlrSetConnectionType(LPCSTR pszName)
{
    DIALER_ENTRY();
    return CompuServeApp().m_types.Select(pszName);
}

DIALER_API int dlrConnect()
{
    DIALER_ENTRY();
    return CompuServeApp().Connect();
}

DIALER_API int dlrDisconnect()
{
    DIALER_ENTRY();
    return CompuServeApp().Disconnect();
}

DIALER_API int dlrIsConnected()
{
    DIALER_ENTRY();
    return CompuServeApp().IsConnected();
}

DIALER_API int dlrSetupWinsock()
{
    DIALER_ENTRY();
    return CompuServeApp().SetupWinsock();
}

DIALER_API int dlrLaunchBrowser(CString& strUrl)
{
    DIALER_ENTRY();
    return CompuServeApp().LaunchBrowser(strUrl);
}

DIALER_API int dlrConfigure()
{
    DIALER_ENTRY();
    return CompuServeApp().Configure();
}
