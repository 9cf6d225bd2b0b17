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
    // Enables or disables the Tool Kit's Print, Sticky Note, Highlighter and Wizard tools for
    // the view being shown; with bRemember the states are kept. Plain: nothing.
    virtual void EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember);
    // Tells the frame's Tool Kit whether the article page's highlighter is on (the tool's tip
    // follows). Plain: nothing.
    virtual void SetHighlighterState(BOOL bOn);
    // Tells the running timeline viewer program to close when it accepts automation.
    virtual void CloseTimelineViewer();
    // Gives a running timeline viewer that accepts automation the text (NULL: none); FALSE when
    // none runs. Plain: FALSE.
    virtual BOOL PassToTimelineViewer(LPCSTR lpszText);
    // The print-selection window over the article view: nDisabled holds the result bits of the
    // choices switched off; the bits chosen (0x200 article, 0x100 section, 0x80 page, 0x40
    // selected text, 0x20 outline, 0x10 related, 0x08 search results, 0x04 online extras, 0x01
    // dictionary), 0 for Cancel. Plain: no window to ask with, the whole article (0x200).
    virtual UINT RunPrintSelection(CWnd* pParent, UINT nDisabled);
};

// The installed host, else the plain one.
CAppHost& GetAppHost();
// Installs the host (not owned; NULL: the plain one again). ResetAppServices uninstalls it.
void SetAppHost(CAppHost* pHost);
