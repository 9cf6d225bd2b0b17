// What a main view asks of the frame that hosts it. The main frame implements it; a view reaches
// it through GetAppViewHost without knowing the frame's class.
#pragma once

#include <afxwin.h>

class CViewHost {
public:
    virtual ~CViewHost() = default;
    // Switches to the view with that id (made on first use); the side panes stay only when
    // bKeepPanes. FALSE when the view cannot be made.
    virtual BOOL ShowMainWindow(UINT nID, BOOL bKeepPanes) = 0;
};

// The application's main window as a view host; NULL when there is none or it hosts no views.
CViewHost* GetAppViewHost();
