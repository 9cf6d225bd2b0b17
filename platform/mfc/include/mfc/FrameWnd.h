// CFrameWnd: a top-level frame with a menu bar, an active view and command routing through
// view, document, frame and application.
#pragma once

#include <afx.h>
#include <mfc/Wnd.h>

class CView;
class CDocument;

struct CCreateContext {
    CRuntimeClass* m_pNewViewClass = NULL;
    CDocument* m_pCurrentDoc = NULL;
    CView* m_pLastView = NULL;
};

#define AFX_IDW_PANE_FIRST 0xE900

// Frame styles beyond the window styles: the title shows the active document's name.
#define FWS_ADDTOTITLE 0x00008000L
// With FWS_ADDTOTITLE: the document's name comes first ("Untitled - Program").
#define FWS_PREFIXTITLE 0x00004000L

class CControlBar;

class CFrameWnd : public CWnd {
    DECLARE_DYNCREATE(CFrameWnd)
public:
    CFrameWnd();
    ~CFrameWnd() override;

    static const CRect rectDefault;
    BOOL m_bAutoMenuEnable;
    HMENU m_hMenuDefault;

    // lpszMenuName names a menu resource of the resource module; when it cannot be loaded the
    // frame is not created (and PostNcDestroy runs, deleting a frame made with new).
    BOOL Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle = WS_OVERLAPPEDWINDOW,
                const RECT& rect = rectDefault, CWnd* pParentWnd = NULL, LPCSTR lpszMenuName = NULL,
                DWORD dwExStyle = 0, CCreateContext* pContext = NULL);
    // Creates the frame from the resources numbered nIDResource: its menu, its accelerator table,
    // its icon (when there is one) and, as its title, the first "\n" part of its string.
    virtual BOOL LoadFrame(UINT nIDResource, DWORD dwDefaultStyle = WS_OVERLAPPEDWINDOW | FWS_ADDTOTITLE,
                           CWnd* pParentWnd = NULL, CCreateContext* pContext = NULL);
    // Loads the frame's accelerator table; FALSE when it has one already or there is none.
    BOOL LoadAccelTable(LPCSTR lpszResourceName);
    HACCEL GetDefaultAccelerator() { return m_hAccelTable; }
    CString GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle; }
    BOOL PreCreateWindow(CREATESTRUCT& cs) override;

    // The window's title from the frame's title and, with FWS_ADDTOTITLE, the active
    // document's ("Untitled - Program").
    virtual void OnUpdateFrameTitle(BOOL bAddToTitle);

    // ---- Control bars ----
    // The frame's bar with this id (AFX_IDW_TOOLBAR, AFX_IDW_STATUS_BAR), NULL when none.
    CControlBar* GetControlBar(UINT nID);
    void ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL bDelay);
    // The status bar's message pane: the text of the string (up to its first "\n"), or lpszText.
    void SetMessageText(LPCSTR lpszText);
    void SetMessageText(UINT nID);
    CWnd* GetMessageBar();
    afx_msg BOOL OnBarCheck(UINT nID);
    afx_msg void OnUpdateControlBarMenu(CCmdUI* pCmdUI);
    // CAP, NUM and SCRL show while Caps Lock, Num Lock and Scroll Lock are on.
    afx_msg void OnUpdateKeyIndicator(CCmdUI* pCmdUI);
    afx_msg LRESULT OnSetMessageString(WPARAM wParam, LPARAM lParam);
    afx_msg void OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu);

    CView* GetActiveView() const;
    void SetActiveView(CView* pViewNew, BOOL bNotify = TRUE);
    virtual CDocument* GetActiveDocument();
    // Creates the view of pContext as the frame's first pane.
    CWnd* CreateView(CCreateContext* pContext, UINT nID = AFX_IDW_PANE_FIRST);
    virtual void RecalcLayout(BOOL bNotify = TRUE);
    void InitialUpdateFrame(CDocument* pDoc, BOOL bMakeVisible);

    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    BOOL PreTranslateMessage(MSG* pMsg) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnSetFocus(CWnd* pOldWnd);
    afx_msg void OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized);
    afx_msg void OnInitMenuPopup(CMenu* pPopupMenu, UINT nIndex, BOOL bSysMenu);
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    // A printer's settings changed (lParam: its device name): the application reads its
    // printer's again when it is that one.
    afx_msg LRESULT OnDevModeChange(WPARAM wParam, LPARAM lParam);

    // Help commands. OnHelp (F1): WM_COMMANDHELP (lParam 0) to the window with the focus and
    // its parents up to the frame, until one answers TRUE; else the frame's own help topic
    // (HID_BASE_RESOURCE + its help id) or the help contents. OnHelpFinder: the help contents.
    // OnContextHelp (Shift+F1): the help cursor until the next click; a left click asks the
    // frame for help on what was clicked (WM_COMMANDHELP with the id of the frame's child
    // window that holds the point, 0 for the frame itself), any other click or Escape ends the
    // mode without help. Each ends in the frame's WinHelp when nobody else answers.
    afx_msg void OnHelp();
    afx_msg void OnHelpFinder();
    afx_msg void OnContextHelp();
    // TRUE while the context-help cursor is up.
    BOOL IsInHelpMode() const { return m_bHelpMode; }

protected:
    CView* m_pViewActive;
    HACCEL m_hAccelTable;
    UINT m_nIDHelp;
    BOOL m_bHelpMode;
    CString m_strTitle;
    UINT m_nIDTracking;     // the menu item the message pane describes, 0 for none
    UINT m_nIDLastMessage;  // the string the message pane shows
    DECLARE_MESSAGE_MAP()
};
