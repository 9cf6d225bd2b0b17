// CPortixCmnApp: the library's one state object per process, and what every part of the library
// asks about the calling program (its folder, its base name) and the store to use.
#pragma once

#include <afx.h>

class CPortixCmnApp {
public:
    // Set by dlrSetUseIniFileOnly: the INI file is the store whatever the platform.
    BOOL m_bUseIniFileOnly = FALSE;

    // The calling program's main module path, its folder (without the final "\") and its base
    // name (after the last "\", before the last ".").
    static CString ProgramPath();
    static CString ProgramFolder();
    static CString ProgramBaseName();
    // A file name in the program's folder.
    static CString InProgramFolder(LPCSTR pszName);

    // The INI file is the store: on Win32s (or when the platform cannot be read) and with the flag.
    BOOL UseIniFile() const;
};

CPortixCmnApp& PortixCmnApp();

// Every export enters the library's module state first.
#define PORTIX_ENTRY() AFX_MANAGE_STATE(AfxGetStaticModuleState())
