#include "shell/AppServices.h"

#include "shell/DataFolders.h"

namespace {

// The framework's own profile-file name, made once as the framework makes it at start-up.
LPCSTR FrameworkProfileName()
{
    static const CString* pName = new CString(AppFrameworkDefaultProfileName());
    return *pName;
}

}  // namespace

VL_APP_SERVICES& AppServices()
{
    // Never destroyed: static destructors of other objects may still ask for it.
    static VL_APP_SERVICES* pServices = [] {
        VL_APP_SERVICES* p = new VL_APP_SERVICES;
        p->pszProfileName = FrameworkProfileName();
        BuildCDRomDriveList(p->cdromDrives, IsWin32s());
        return p;
    }();
    return *pServices;
}

void ResetAppServices()
{
    VL_APP_SERVICES& services = AppServices();
    BuildCDRomDriveList(services.cdromDrives, IsWin32s());
    services.discDrives.RemoveAll();
    services.hMainWnd = NULL;
    services.hCurrentView = NULL;
    services.pszProfileName = FrameworkProfileName();
    services.pszFrameworkProfileName = NULL;
    if (services.hProfilePath != NULL)
        GlobalFree(services.hProfilePath);
    services.hProfilePath = NULL;
    services.pfnPreferencesDialog = NULL;
}

CString AppFrameworkDefaultProfileName()
{
    char szPath[MAX_PATH];
    DWORD n = GetModuleFileName(NULL, szPath, MAX_PATH);
    CString strPath(szPath, n < MAX_PATH ? static_cast<int>(n) : 0);
    CString strTitle = strPath.Mid(strPath.ReverseFind('\\') + 1);
    int nDot = strTitle.ReverseFind('.');
    if (nDot >= 0)
        strTitle = strTitle.Left(nDot);
    return strTitle + ".INI";
}

CString AppFrameworkGetProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszDefault)
{
    char szValue[4096];
    GetPrivateProfileString(lpszSection, lpszEntry, lpszDefault != NULL ? lpszDefault : "", szValue,
                            sizeof szValue, AppServices().pszProfileName);
    return CString(szValue);
}

BOOL AppFrameworkWriteProfileString(LPCSTR lpszSection, LPCSTR lpszEntry, LPCSTR lpszValue)
{
    return WritePrivateProfileString(lpszSection, lpszEntry, lpszValue, AppServices().pszProfileName);
}

int AppMessageBox(LPCSTR lpszText, UINT nType)
{
    CString strTitle;
    if (!strTitle.LoadString(0xE000))  // the application's title string
        strTitle = "vl00i1se";
    return MessageBox(AppServices().hMainWnd, lpszText, strTitle, nType);
}

CAppWaitCursor::CAppWaitCursor() : m_hOldCursor(SetCursor(LoadCursor(NULL, IDC_WAIT))) {}

CAppWaitCursor::~CAppWaitCursor()
{
    SetCursor(m_hOldCursor);
}
