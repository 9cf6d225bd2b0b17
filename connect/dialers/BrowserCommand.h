// Launching a browser for a dialer: the checks a URL passes before it reaches a command line,
// and the command line itself.
#pragma once

#include <afx.h>

// TRUE for an address a browser may be started with: an absolute http or https address with a
// host, at most 2048 characters, without blanks, quotes or control characters, so that it stays
// one argument of the command line.
BOOL IsLaunchableUrl(const CString& strUrl);

// The browser's command line: the program (quoted when it holds a blank), then the URL when
// there is one, then the parameters as the user wrote them (split by the platform's
// command-line rules).
CString BrowserCommandLine(const CString& strProgram, const CString& strUrl, const CString& strParams);

// The folder of a program path: up to its last "\" (empty when it has none).
CString ProgramFolderOf(const CString& strProgram);
