// The browser part of the dialers' settings dialogs: the browser program with its Browse button,
// its parameters, the one-browser box and the box that chooses the default browser instead. The
// dialogs give these controls ids of their own.
#pragma once

#include <afxwin.h>

struct BrowserFieldIds {
    int program;
    int browse;
    int parameters;
    int oneBrowser;
    int useDefault;
};

// Enables the own-browser fields unless the default browser is chosen.
void EnableOwnBrowserFields(CWnd* pDialog, const BrowserFieldIds& ids);

// Lets the reader pick the browser program into the program field.
void BrowseForBrowserProgram(CWnd* pDialog, int nProgramId);

// Whether the program can be kept: not empty (message nNoBrowserId) and an existing file
// (message nInvalidBrowserId). A refusal shows its message and puts the focus on the field.
BOOL CheckBrowserProgram(CDialog* pDialog, int nProgramId, const CString& program, UINT nNoBrowserId,
                         UINT nInvalidBrowserId);
