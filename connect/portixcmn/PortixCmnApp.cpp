// The library's state and the calling program's names.
#include "portixcmn/PortixCmnApp.h"

#include "portixcmn/PortixCmn.h"

#include <windows.h>

CPortixCmnApp& PortixCmnApp()
{
    static CPortixCmnApp app;
    return app;
}

CString CPortixCmnApp::ProgramPath()
{
    char path[MAX_PATH + 1] = {};
    DWORD length = GetModuleFileName(NULL, path, 256);
    path[length < 256 ? length : 255] = '\0';
    return CString(path);
}

CString CPortixCmnApp::ProgramFolder()
{
    CString path = ProgramPath();
    int slash = path.ReverseFind('\\');
    return slash < 0 ? CString() : path.Left(slash);
}

CString CPortixCmnApp::ProgramBaseName()
{
    CString path = ProgramPath();
    CString name = path.Mid(path.ReverseFind('\\') + 1);
    int dot = name.ReverseFind('.');
    return dot < 0 ? name : name.Left(dot);
}

CString CPortixCmnApp::InProgramFolder(LPCSTR pszName)
{
    CString folder = ProgramFolder();
    if (folder.IsEmpty() || folder[folder.GetLength() - 1] != '\\')
        folder += '\\';
    return folder + pszName;
}

BOOL CPortixCmnApp::UseIniFile() const
{
    int os = dlrGetOS();
    return m_bUseIniFileOnly || os == 0 || os == 16391;
}

PORTIXCMN_API void dlrSetUseIniFileOnly(BOOL bIniOnly)
{
    PORTIX_ENTRY();
    PortixCmnApp().m_bUseIniFileOnly = bIniOnly;
}
