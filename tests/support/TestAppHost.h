// A host whose answers a test sets (an unset answer is the plain host's), installed while it
// lives; the host it replaced comes back after it.
#pragma once

#include "base/AppHost.h"
#include "base/AppServices.h"

#include <functional>

class CTestAppHost : public CAppHost {
public:
    std::function<int()> preferences;
    std::function<int(CWnd*)> agreements;
    std::function<void(DWORD_PTR, UINT)> help;
    std::function<void()> refreshOnline;
    std::function<BOOL(CReference*, int)> openOnline;
    std::function<int()> monthsSinceUpdate;
    std::function<void()> collapseToolkit;
    std::function<void(BOOL, BOOL, BOOL, BOOL, BOOL)> enableTools;
    std::function<void()> closeTimelineViewer;
    std::function<BOOL(LPCSTR)> passToTimelineViewer;

    CTestAppHost() : m_pPrevious(AppServices().pHost) { SetAppHost(this); }
    ~CTestAppHost() override
    {
        if (AppServices().pHost == this)
            SetAppHost(m_pPrevious);
    }
    CTestAppHost(const CTestAppHost&) = delete;
    CTestAppHost& operator=(const CTestAppHost&) = delete;

    int RunPreferencesDialog() override { return preferences ? preferences() : CAppHost::RunPreferencesDialog(); }
    int RunFirstRunAgreements(CWnd* pParent) override
    {
        return agreements ? agreements(pParent) : CAppHost::RunFirstRunAgreements(pParent);
    }
    BOOL ShowHelp(DWORD_PTR dwData, UINT nCmd) override
    {
        if (!help)
            return CAppHost::ShowHelp(dwData, nCmd);
        help(dwData, nCmd);
        return TRUE;
    }
    void RefreshOnlineState() override
    {
        if (refreshOnline)
            refreshOnline();
    }
    BOOL OpenOnlineResource(CReference* pReference, int nFlags) override
    {
        return openOnline ? openOnline(pReference, nFlags) : CAppHost::OpenOnlineResource(pReference, nFlags);
    }
    int MonthsSinceUpdate() override { return monthsSinceUpdate ? monthsSinceUpdate() : CAppHost::MonthsSinceUpdate(); }
    void CollapseToolkit() override
    {
        if (collapseToolkit)
            collapseToolkit();
    }
    void EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember) override
    {
        if (enableTools)
            enableTools(bPrint, bSticky, bHighlighter, bWizard, bRemember);
    }
    void CloseTimelineViewer() override
    {
        if (closeTimelineViewer)
            closeTimelineViewer();
    }
    BOOL PassToTimelineViewer(LPCSTR lpszText) override
    {
        return passToTimelineViewer ? passToTimelineViewer(lpszText) : CAppHost::PassToTimelineViewer(lpszText);
    }

private:
    CAppHost* m_pPrevious;
};
