// What the rest of the program asks of the application as a whole: the dialogs and programs it
// runs on request and the online manager's answers. Code below the shell reaches these through
// GetAppHost() without knowing the application's class. The application object is the host while
// it lives; with none installed a plain CAppHost answers (no dialog, no help, no online manager).
// Tests replace answers by subclassing and installing their host (SetAppHost).
#pragma once

#include <afxwin.h>

class CReference;

class CAppHost {
public:
    virtual ~CAppHost() = default;

    // Runs the preferences dialog modally and returns how it ended (IDOK, IDCANCEL ...). The
    // plain host shows none: IDCANCEL.
    virtual int RunPreferencesDialog();
    // The first run's agreements (the proof-of-entitlement notice, then the licence agreement),
    // modal over the parent; IDOK when both ended with OK. The plain host has none to show: IDOK.
    virtual int RunFirstRunAgreements(CWnd* pParent);
    // The application's help: context or contents (HELP_CONTEXT, HELP_FINDER); FALSE when the
    // host shows none (the window's own help then runs). Plain: FALSE.
    virtual BOOL ShowHelp(DWORD_PTR dwData, UINT nCmd);
    // The online manager's connection-state refresh, run when the frame becomes active.
    virtual void RefreshOnlineState();
    // TRUE when the online manager is present and not connected (the menu's update notice is
    // then not shown). Plain: FALSE.
    virtual BOOL IsOffline();
    // The online manager's fetch of an item whose file is not on hand: TRUE when the file is
    // then available. Plain: FALSE, nothing can be fetched.
    virtual BOOL OpenOnlineResource(CReference* pReference, int nFlags);
    // Whole months since the last online update, -1 when unknown. Plain: -1.
    virtual int MonthsSinceUpdate();
    // Starts the suite's menu program. Plain: nothing.
    virtual void LaunchSuiteMenu();
    // Collapses the frame's Tool Kit (a floating panel that shows asks for it). Plain: nothing.
    virtual void CollapseToolkit();
    // Enables the Tool Kit's Print, Sticky Note, Highlighter and Wizard tools for the view shown
    // (and, with bRemember, keeps the state). Plain: nothing.
    virtual void EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember);
    // Tells the running timeline viewer program to close when it accepts automation.
    virtual void CloseTimelineViewer();
    // Gives a running timeline viewer that accepts automation the text (NULL: none); FALSE when
    // none runs. Plain: FALSE.
    virtual BOOL PassToTimelineViewer(LPCSTR lpszText);
};

// The installed host, else the plain one.
CAppHost& GetAppHost();
// Installs the host (not owned; NULL: the plain one again). ResetAppServices uninstalls it.
void SetAppHost(CAppHost* pHost);
