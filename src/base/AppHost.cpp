#include "base/AppHost.h"

#include "base/AppServices.h"

int CAppHost::RunPreferencesDialog()
{
    return IDCANCEL;
}

int CAppHost::RunFirstRunAgreements(CWnd*)
{
    return IDOK;
}

BOOL CAppHost::ShowHelp(DWORD_PTR, UINT)
{
    return FALSE;
}

void CAppHost::RefreshOnlineState()
{
}

BOOL CAppHost::IsOffline()
{
    return FALSE;
}

BOOL CAppHost::OpenOnlineResource(CReference*, int)
{
    return FALSE;
}

int CAppHost::MonthsSinceUpdate()
{
    return -1;
}

void CAppHost::LaunchSuiteMenu()
{
}

void CAppHost::CollapseToolkit()
{
}

void CAppHost::EnableTools(BOOL, BOOL, BOOL, BOOL, BOOL)
{
}

void CAppHost::CloseTimelineViewer()
{
}

BOOL CAppHost::PassToTimelineViewer(LPCSTR)
{
    return FALSE;
}

CAppHost& GetAppHost()
{
    static CAppHost plain;
    CAppHost* pHost = AppServices().pHost;
    return pHost != NULL ? *pHost : plain;
}

void SetAppHost(CAppHost* pHost)
{
    AppServices().pHost = pHost;
}
