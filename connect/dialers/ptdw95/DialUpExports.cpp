// The dial-up networking dialer's exports: each enters the library's module state first.
#include "dialers/ptdw95/DialUpApp.h"

CPTDW95App& DialUpApp();

DIALER_API int dlrInformation(CObArray* pArray)
{
    DIALER_ENTRY();
    return DialUpApp().Information(pArray);
}

DIALER_API int dlrSetConnectionType(LPCSTR pszName)
{
    DIALER_ENTRY();
    return DialUpApp().SetConnectionType(pszName);
}

DIALER_API int dlrConnect()
{
    DIALER_ENTRY();
    return DialUpApp().Connect();
}

DIALER_API int dlrDisconnect()
{
    DIALER_ENTRY();
    return DialUpApp().Disconnect();
}

DIALER_API int dlrIsConnected()
{
    DIALER_ENTRY();
    return DialUpApp().IsConnected();
}

DIALER_API int dlrSetupWinsock()
{
    DIALER_ENTRY();
    return DialUpApp().SetupWinsock();
}

DIALER_API int dlrLaunchBrowser(CString& strUrl)
{
    DIALER_ENTRY();
    return DialUpApp().LaunchBrowser(strUrl);
}

DIALER_API int dlrConfigure()
{
    DIALER_ENTRY();
    return DialUpApp().Configure();
}
