// CMainFrame: the editor's frame, with its toolbar (New, Open, Save | Cut, Copy, Paste | Print,
// About) at the top and its status bar (message pane, CAP, NUM, SCRL) at the bottom.
#pragma once

#include <afxext.h>

class CMainFrame : public CFrameWnd {
    DECLARE_DYNCREATE(CMainFrame)
public:
    CMainFrame();
    ~CMainFrame() override;

    CToolBar& ToolBar() { return m_wndToolBar; }
    CStatusBar& StatusBar() { return m_wndStatusBar; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);

    CToolBar m_wndToolBar;
    CStatusBar m_wndStatusBar;

    DECLARE_MESSAGE_MAP()
};
