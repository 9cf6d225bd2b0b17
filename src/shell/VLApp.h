// CVLApp: the program's one application object. It owns every long-lived service (kept in
// AppServices(), where the rest of the program reaches them through the GetAppXxx accessors, and
// the database installed with SetAppDatabase), runs the start-up sequence (checks, settings,
// resource library, disc, services, first-run agreements, the start-up main menu, the main
// frame), feeds idle time to the views, filters messages before they are dispatched, and tears
// everything down at exit.
#pragma once

#include "base/AppHost.h"

#include <afxwin.h>

class CVeltraApplication;

class CVLApp : public CWinApp, public CAppHost {
public:
    CVLApp();
    ~CVLApp() override;

    // The application as host (installed while it lives and again at each InitInstance): the
    // program's own agreements, the online manager's state and update age.
    int RunFirstRunAgreements(CWnd* pParent) override;
    // The preferences dialog over the main window (none during start-up).
    int RunPreferencesDialog() override;
    void RefreshOnlineState() override;
    BOOL IsOffline() override;
    int MonthsSinceUpdate() override;
    // The main frame's Tool Kit goes back in at once.
    void CollapseToolkit() override;
    void EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember) override;
    void SetHighlighterState(BOOL bOn) override;
    // The print-selection window (CPrintSelectWnd) with the choices of nDisabled switched off;
    // its mask, or 0 when it was cancelled or could not be shown.
    UINT RunPrintSelection(CWnd* pParent, UINT nDisabled) override;

    // TRUE when the main frame is up and has been given the start-up main menu's choice; FALSE
    // when another instance runs, a check failed, the reader declined an agreement or chose
    // Exit.
    BOOL InitInstance() override;
    // Drains the queue, deletes the services, stops QuickTime, writes [CLEAN UP]
    // "NormalExit"="Y", puts the framework's profile name back, revokes the running object and
    // frees the resource library. Copes with any subset of the services present.
    int ExitInstance() override;
    // The idle phases: the first call only starts them; then the views (article, table, media,
    // Dada Vaveroz, atlas, Dido Dovov, online) and, when they want no more, the thumbnail
    // factory's record sets; then the frame's own idle step. TRUE while more is wanted. The
    // framework's count is not used: the object counts its calls itself.
    BOOL OnIdle(LONG lCount) override;
    // The main menu first, then F1 (help, or swallowed with its key-up while help is off), then
    // the framework's filter. TRUE when the message is swallowed.
    BOOL PreTranslateMessage(MSG* pMsg) override;

    // Runs the suite-menu program when its command line is set (nothing fills it; empty does
    // nothing).
    void LaunchSuiteMenu() override;

    // Free bytes needed on the program's drive.
    static constexpr unsigned long long kMinimumFreeBytes = 8000000;
    // The running-object class of the automation object.
    static const char s_szClsidText[];

    int GetIdlePhase() const { return m_nIdlePhase; }
    LONG GetIdleCount() const { return m_nIdleCount; }
    CVeltraApplication* GetAutomationObject() const { return m_pAutomation; }
    DWORD GetAutomationRegistration() const { return m_dwRegister; }
    CString m_strSuiteMenuCommand;

private:
    // Step 2: a top-level window titled with the application name (or, while that instance is
    // still in its start-up main menu, the menu window) is another instance; its
    // last active popup is brought forward (restored first when the window is minimised).
    // Works on window handles alone, so the window may belong to another process.
    static BOOL ActivateRunningInstance();
    static void CheckDiskSpace();
    static void CheckColours();
    static void DeleteStalePagingFiles();
    static void RecordFirstUpdate();
    // Steps 3 to 32 of start-up; every failure raises a framework exception.
    BOOL RunStartUp();
    // The services of step 21, in order.
    void CreateServices();
    void RegisterAutomationObject();
    void RevokeAutomationObject();
    void EndWaitCursors();

    CVeltraApplication* m_pAutomation = NULL;
    DWORD m_dwRegister = 0;
    int m_nIdlePhase = 0;
    LONG m_nIdleCount = 0;
    // A swallowed F1 key-down waits for its key-up.
    BOOL m_bSwallowF1KeyUp = FALSE;
    int m_nWaitCursors = 0;
};
