// Control bars: the frame's toolbar and status bar. A frame lays its visible bars out along its
// edges (top bars first, then bottom ones) and gives its view what is left; the View menu's
// Toolbar and Status Bar commands (ID_VIEW_TOOLBAR, ID_VIEW_STATUS_BAR, which are also the bars'
// ids) show and hide them.
//
// At idle time each bar asks the frame's command routing for the state of its items, as menus
// do: a toolbar button whose command has no handler is greyed; a status bar's indicator pane
// shows its text only while its update handler enables it (the frame enables CAP, NUM and SCRL
// while the keys' toggles are on).
#pragma once

#include <afx.h>
#include <afxres.h>
#include <mfc/Wnd.h>

#include <vector>

class CFrameWnd;
class CCmdUI;

// Bar styles (in the bar's own style word, beside the window style)
#define CBRS_ALIGN_LEFT 0x1000L
#define CBRS_ALIGN_TOP 0x2000L
#define CBRS_ALIGN_RIGHT 0x4000L
#define CBRS_ALIGN_BOTTOM 0x8000L
#define CBRS_ALIGN_ANY 0xF000L
#define CBRS_TOP CBRS_ALIGN_TOP
#define CBRS_BOTTOM CBRS_ALIGN_BOTTOM
#define CBRS_TOOLTIPS 0x0010L
#define CBRS_FLYBY 0x0020L
#define CBRS_SIZE_DYNAMIC 0x0400L

#define AFX_IDW_CONTROLBAR_FIRST 0xE800
#define AFX_IDW_TOOLBAR 0xE800
#define AFX_IDW_STATUS_BAR 0xE801

// Toolbar button styles
#define TBBS_BUTTON 0x0000
#define TBBS_SEPARATOR 0x0001
#define TBBS_CHECKBOX 0x0002
#define TBBS_PRESSED 0x0100
#define TBBS_CHECKED 0x0800
#define TBBS_DISABLED 0x0400
#define TBBS_INDETERMINATE 0x1000

// Status bar pane styles
#define SBPS_NORMAL 0x0000
#define SBPS_NOBORDERS 0x0100
#define SBPS_POPOUT 0x0200
#define SBPS_DISABLED 0x0400
#define SBPS_STRETCH 0x0800

class CControlBar : public CWnd {
    DECLARE_DYNAMIC(CControlBar)
public:
    CControlBar();
    ~CControlBar() override;

    DWORD GetBarStyle() const { return m_dwStyle; }
    void SetBarStyle(DWORD dwStyle) { m_dwStyle = dwStyle; }
    // Accepted for the framework's calls; bars stay where they were made.
    void EnableDocking(DWORD) {}
    // The size the bar wants on its edge; bHorz: along the top or bottom.
    virtual CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) = 0;
    // Asks pTarget for the state of the bar's items.
    virtual void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) = 0;
    BOOL IsVisible() const;
    CFrameWnd* GetDockingFrame() const;

    void PostNcDestroy() override;
    afx_msg LRESULT OnIdleUpdateCmdUI(WPARAM wParam, LPARAM lParam);
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);

    BOOL m_bAutoDelete;

protected:
    // Makes the bar's window: a child of the frame, on the edge that dwStyle names (dwDefaultEdge
    // when it names none), painted in the button face colour.
    BOOL CreateBar(CWnd* pParentWnd, DWORD dwStyle, UINT nID, DWORD dwDefaultEdge);

    DWORD m_dwStyle;
    DECLARE_MESSAGE_MAP()
};

class CToolBar : public CControlBar {
    DECLARE_DYNAMIC(CToolBar)
public:
    CToolBar();
    ~CToolBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_TOP, UINT nID = AFX_IDW_TOOLBAR);
    // The buttons' pictures: one bitmap with the images side by side, each the image size wide.
    BOOL LoadBitmap(UINT nIDResource);
    BOOL LoadBitmap(LPCSTR lpszResourceName);
    // The buttons in order; ID_SEPARATOR makes a gap. The n-th button that is not a separator
    // shows the n-th image.
    BOOL SetButtons(const UINT* lpIDArray, int nIDCount);
    void SetSizes(SIZE sizeButton, SIZE sizeImage);

    int GetCount() const { return static_cast<int>(m_buttons.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    UINT GetButtonStyle(int nIndex) const;
    void SetButtonStyle(int nIndex, UINT nStyle);

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    afx_msg void OnPaint();
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg void OnMouseMove(UINT nFlags, CPoint point);
    afx_msg void OnLButtonUp(UINT nFlags, CPoint point);
    afx_msg void OnCancelMode();

protected:
    struct Button {
        UINT id;
        UINT style;
        int image;
    };
    int HitTest(CPoint point) const;
    std::vector<Button> m_buttons;
    HBITMAP m_hbmImageWell;
    CSize m_sizeButton;
    CSize m_sizeImage;
    int m_nPressed;  // the button the mouse holds down, -1 for none
    BOOL m_bPressedInside;
    DECLARE_MESSAGE_MAP()
};

class CStatusBar : public CControlBar {
    DECLARE_DYNAMIC(CStatusBar)
public:
    CStatusBar();
    ~CStatusBar() override;

    BOOL Create(CWnd* pParentWnd, DWORD dwStyle = WS_CHILD | WS_VISIBLE | CBRS_BOTTOM, UINT nID = AFX_IDW_STATUS_BAR);
    // The panes in order: ID_SEPARATOR is the message pane (it takes the width left over); an
    // indicator pane shows the string of its id and is as wide as that text.
    BOOL SetIndicators(const UINT* lpIDArray, int nIDCount);

    int GetCount() const { return static_cast<int>(m_panes.size()); }
    int CommandToIndex(UINT nIDFind) const;
    UINT GetItemID(int nIndex) const;
    void GetItemRect(int nIndex, LPRECT lpRect) const;
    BOOL SetPaneText(int nIndex, LPCSTR lpszNewText, BOOL bUpdate = TRUE);
    CString GetPaneText(int nIndex) const;
    void GetPaneText(int nIndex, CString& rString) const { rString = GetPaneText(nIndex); }
    UINT GetPaneStyle(int nIndex) const;
    void SetPaneStyle(int nIndex, UINT nStyle);
    // The text a pane shows now: its text, or nothing while it is disabled.
    CString GetShownText(int nIndex) const;

    CSize CalcFixedLayout(BOOL bStretch, BOOL bHorz) override;
    void OnUpdateCmdUI(CFrameWnd* pTarget, BOOL bDisableIfNoHndler) override;

    afx_msg void OnPaint();
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg LRESULT OnSetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetText(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnGetTextLength(WPARAM wParam, LPARAM lParam);

protected:
    struct Pane {
        UINT id;
        UINT style;
        int width;
        CString text;
    };
    void Layout();
    std::vector<Pane> m_panes;
    std::vector<CRect> m_rects;
    HFONT m_hFont;
    DECLARE_MESSAGE_MAP()
};
