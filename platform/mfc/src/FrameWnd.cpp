// CFrameWnd: frame creation, the active view, command routing and menu updates.
#include <afxext.h>
#include <afxres.h>
#include <host/UiScript.h>
#include <algorithm>

IMPLEMENT_DYNCREATE(CFrameWnd, CWnd)

const CRect CFrameWnd::rectDefault(CW_USEDEFAULT, CW_USEDEFAULT, 0, 0);

BEGIN_MESSAGE_MAP(CFrameWnd, CWnd)
ON_WM_CREATE()
ON_WM_CLOSE()
ON_WM_DESTROY()
ON_WM_SIZE()
ON_WM_SETFOCUS()
ON_WM_ACTIVATE()
ON_WM_INITMENUPOPUP()
ON_MESSAGE(WM_IDLEUPDATECMDUI, OnIdleUpdateCmdUI)
ON_MESSAGE(WM_DEVMODECHANGE, OnDevModeChange)
ON_MESSAGE(WM_SETMESSAGESTRING, OnSetMessageString)
ON_WM_MENUSELECT()
ON_COMMAND_EX(ID_VIEW_STATUS_BAR, OnBarCheck)
ON_COMMAND_EX(ID_VIEW_TOOLBAR, OnBarCheck)
ON_UPDATE_COMMAND_UI(ID_VIEW_STATUS_BAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_VIEW_TOOLBAR, OnUpdateControlBarMenu)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_CAPS, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_NUM, OnUpdateKeyIndicator)
ON_UPDATE_COMMAND_UI(ID_INDICATOR_SCRL, OnUpdateKeyIndicator)
END_MESSAGE_MAP()

CFrameWnd::CFrameWnd()
    : m_bAutoMenuEnable(TRUE), m_hMenuDefault(NULL), m_pViewActive(NULL), m_hAccelTable(NULL), m_nIDHelp(0),
      m_bHelpMode(FALSE), m_nIDTracking(0), m_nIDLastMessage(0)
{
}

CFrameWnd::~CFrameWnd()
{
    // The accelerator table was loaded for this frame alone.
    if (m_hAccelTable != NULL)
        ::DestroyAcceleratorTable(m_hAccelTable);
}

BOOL CFrameWnd::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    if (cs.style & FWS_ADDTOTITLE)
        cs.style |= FWS_PREFIXTITLE;
    return TRUE;
}

BOOL CFrameWnd::Create(LPCSTR lpszClassName, LPCSTR lpszWindowName, DWORD dwStyle, const RECT& rect,
                       CWnd* pParentWnd, LPCSTR lpszMenuName, DWORD dwExStyle, CCreateContext* pContext)
{
    HMENU hMenu = NULL;
    if (lpszMenuName != NULL) {
        hMenu = ::LoadMenu(AfxGetResourceHandle(), lpszMenuName);
        if (hMenu == NULL) {
            PostNcDestroy();
            return FALSE;
        }
    }
    m_strTitle = lpszWindowName;
    // rectDefault asks for the default position and size.
    bool byDefault = rect.left == CW_USEDEFAULT;
    int cx = byDefault ? CW_USEDEFAULT : rect.right - rect.left;
    int cy = byDefault ? 0 : rect.bottom - rect.top;
    HMENU hMenuBar = hMenu != NULL ? hMenu : m_hMenuDefault;
    if (!CreateEx(dwExStyle, lpszClassName, lpszWindowName, dwStyle, rect.left, byDefault ? 0 : rect.top, cx, cy,
                  (pParentWnd ? pParentWnd->m_hWnd : NULL), hMenuBar, static_cast<LPVOID>(pContext))) {
        if (hMenu != NULL)
            ::DestroyMenu(hMenu);
        return FALSE;
    }
    if (hMenu != NULL)
        m_hMenuDefault = hMenu;
    return TRUE;
}

BOOL CFrameWnd::LoadFrame(UINT nIDResource, DWORD dwDefaultStyle, CWnd* pParentWnd, CCreateContext* pContext)
{
    m_nIDHelp = nIDResource;
    HINSTANCE hInst = AfxGetResourceHandle();
    // The title is the first part of the frame's string ("title\ndocument name\n...").
    CString strFull;
    if (strFull.LoadString(nIDResource)) {
        int nEnd = strFull.Find('\n');
        m_strTitle = nEnd < 0 ? strFull : strFull.Left(nEnd);
    }
    // A frame with an icon of its own gets a window class that shows it.
    LPCSTR lpszClass = NULL;
    if (HICON hIcon = ::LoadIconA(hInst, MAKEINTRESOURCE(nIDResource)))
        lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW),
                                        reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1), hIcon);
    CString strTitle = m_strTitle;
    if (!Create(lpszClass, strTitle, dwDefaultStyle, rectDefault, pParentWnd, MAKEINTRESOURCE(nIDResource), 0,
                pContext))
        return FALSE;  // PostNcDestroy has run
    LoadAccelTable(MAKEINTRESOURCE(nIDResource));
    if (pContext == NULL)
        SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    return TRUE;
}

BOOL CFrameWnd::LoadAccelTable(LPCSTR lpszResourceName)
{
    if (m_hAccelTable != NULL || lpszResourceName == NULL)
        return FALSE;
    m_hAccelTable = ::LoadAccelerators(AfxGetResourceHandle(), lpszResourceName);
    return m_hAccelTable != NULL;
}

int CFrameWnd::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (context != NULL && context->m_pNewViewClass != NULL && CreateView(context) == NULL)
        return -1;
    return 0;
}

CWnd* CFrameWnd::CreateView(CCreateContext* pContext, UINT nID)
{
    CObject* object = pContext->m_pNewViewClass->CreateObject();
    auto* view = dynamic_cast<CWnd*>(object);
    if (view == NULL) {
        delete object;
        return NULL;
    }
    CRect client;
    GetClientRect(&client);
    if (!view->Create(NULL, NULL, WS_CHILD | WS_VISIBLE, client, this, nID, pContext))
        return NULL;  // the view deleted itself
    if (auto* v = dynamic_cast<CView*>(view))
        if (m_pViewActive == NULL)
            SetActiveView(v, FALSE);
    return view;
}

void CFrameWnd::RecalcLayout(BOOL)
{
    // The visible bars take their edges (top ones down from the top, bottom ones up from the
    // bottom); the view gets the rest.
    CRect client;
    GetClientRect(&client);
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT)) {
        auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child));
        if (bar == NULL || !bar->IsVisible())
            continue;
        CSize size = bar->CalcFixedLayout(TRUE, TRUE);
        int height = std::min(static_cast<int>(size.cy), std::max(0, client.Height()));
        if (bar->GetBarStyle() & CBRS_ALIGN_BOTTOM) {
            bar->MoveWindow(client.left, client.bottom - height, client.Width(), height);
            client.bottom -= height;
        } else {
            bar->MoveWindow(client.left, client.top, client.Width(), height);
            client.top += height;
        }
    }
    CWnd* pane = GetDescendantWindow(AFX_IDW_PANE_FIRST, TRUE);
    if (pane == NULL)
        return;
    pane->MoveWindow(client.left, client.top, client.Width(), std::max(0, static_cast<int>(client.Height())));
}

void CFrameWnd::OnUpdateFrameTitle(BOOL bAddToTitle)
{
    if (m_hWnd == NULL)
        return;
    CString title = m_strTitle;
    CDocument* doc = GetActiveDocument();
    if (bAddToTitle && (GetStyle() & FWS_ADDTOTITLE) && doc != NULL && !doc->GetTitle().IsEmpty()) {
        if (GetStyle() & FWS_PREFIXTITLE)
            title = doc->GetTitle() + " - " + m_strTitle;
        else
            title = m_strTitle + " - " + doc->GetTitle();
    }
    CString current;
    GetWindowText(current);
    if (current != title)
        SetWindowText(title);
}

CControlBar* CFrameWnd::GetControlBar(UINT nID)
{
    if (m_hWnd == NULL)
        return NULL;
    for (HWND child = ::GetWindow(m_hWnd, GW_CHILD); child != NULL; child = ::GetWindow(child, GW_HWNDNEXT))
        if (static_cast<UINT>(::GetDlgCtrlID(child)) == nID)
            if (auto* bar = dynamic_cast<CControlBar*>(CWnd::FromHandlePermanent(child)))
                return bar;
    return NULL;
}

void CFrameWnd::ShowControlBar(CControlBar* pBar, BOOL bShow, BOOL)
{
    if (pBar == NULL)
        return;
    pBar->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    RecalcLayout();
}

CWnd* CFrameWnd::GetMessageBar()
{
    return GetControlBar(AFX_IDW_STATUS_BAR);
}

void CFrameWnd::SetMessageText(LPCSTR lpszText)
{
    if (CWnd* bar = GetMessageBar())
        bar->SetWindowText(lpszText);
}

void CFrameWnd::SetMessageText(UINT nID)
{
    CString text;
    if (nID != 0 && AfxLoadString(nID, text)) {
        int end = text.Find('\n');
        if (end >= 0)
            text = text.Left(end);
    }
    SetMessageText(text);
    m_nIDLastMessage = nID;
}

LRESULT CFrameWnd::OnSetMessageString(WPARAM wParam, LPARAM lParam)
{
    if (lParam != 0)
        SetMessageText(reinterpret_cast<LPCSTR>(lParam));
    else
        SetMessageText(static_cast<UINT>(wParam));
    return 0;
}

void CFrameWnd::OnMenuSelect(UINT nItemID, UINT nFlags, HMENU hSysMenu)
{
    CWnd::OnMenuSelect(nItemID, nFlags, hSysMenu);
    if (GetMessageBar() == NULL)
        return;
    if (nFlags == 0xFFFF && hSysMenu == NULL) {
        // The menu closed: the idle text comes back.
        m_nIDTracking = 0;
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    } else if (nItemID == 0 || (nFlags & (MF_SEPARATOR | MF_POPUP))) {
        m_nIDTracking = AFX_IDS_IDLEMESSAGE;
        SetMessageText(static_cast<UINT>(0));
    } else {
        m_nIDTracking = nItemID;
        SetMessageText(nItemID);
    }
}

BOOL CFrameWnd::OnBarCheck(UINT nID)
{
    CControlBar* bar = GetControlBar(nID);
    if (bar == NULL)
        return FALSE;
    ShowControlBar(bar, !bar->IsVisible(), FALSE);
    return TRUE;
}

void CFrameWnd::OnUpdateControlBarMenu(CCmdUI* pCmdUI)
{
    CControlBar* bar = GetControlBar(pCmdUI->m_nID);
    if (bar == NULL) {
        pCmdUI->ContinueRouting();
        return;
    }
    pCmdUI->SetCheck(bar->IsVisible());
}

void CFrameWnd::OnUpdateKeyIndicator(CCmdUI* pCmdUI)
{
    int key = pCmdUI->m_nID == ID_INDICATOR_CAPS ? VK_CAPITAL
              : pCmdUI->m_nID == ID_INDICATOR_NUM ? VK_NUMLOCK
                                                  : VK_SCROLL;
    pCmdUI->Enable((::GetKeyState(key) & 1) != 0);
}

void CFrameWnd::InitialUpdateFrame(CDocument*, BOOL bMakeVisible)
{
    OnUpdateFrameTitle(TRUE);
    SendMessageToDescendants(WM_INITIALUPDATE, 0, 0, TRUE, TRUE);
    if (m_pViewActive != NULL)
        m_pViewActive->OnInitialUpdate();
    if (bMakeVisible) {
        CWinThread* thread = AfxGetThread();
        int cmd = (thread == AfxGetApp() && thread != NULL && thread->m_pMainWnd == this) ? AfxGetApp()->m_nCmdShow
                                                                                       : SW_SHOW;
        ShowWindow(cmd);
        UpdateWindow();
    }
}

CView* CFrameWnd::GetActiveView() const
{
    return m_pViewActive;
}

void CFrameWnd::SetActiveView(CView* pViewNew, BOOL bNotify)
{
    CView* old = m_pViewActive;
    if (pViewNew == old)
        return;
    m_pViewActive = NULL;
    if (bNotify && old != NULL)
        old->OnActivateView(FALSE, pViewNew, old);
    m_pViewActive = pViewNew;
    if (bNotify && pViewNew != NULL)
        pViewNew->OnActivateView(TRUE, pViewNew, old);
}

CDocument* CFrameWnd::GetActiveDocument()
{
    return m_pViewActive != NULL ? m_pViewActive->GetDocument() : NULL;
}

BOOL CFrameWnd::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    // The active view (and through it its document), then the frame, then the application.
    if (m_pViewActive != NULL && m_pViewActive->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    CWinApp* app = AfxGetApp();
    return app != NULL && app->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}

BOOL CFrameWnd::PreTranslateMessage(MSG* pMsg)
{
    if (m_hAccelTable != NULL && pMsg->message >= WM_KEYFIRST && pMsg->message <= WM_KEYLAST &&
        ::TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg))
        return TRUE;
    return CWnd::PreTranslateMessage(pMsg);
}

void CFrameWnd::PostNcDestroy()
{
    delete this;
}

void CFrameWnd::OnClose()
{
    CWinApp* app = AfxGetApp();
    if (app != NULL && app->m_pMainWnd == this && app->GetFirstDocTemplatePosition() != NULL) {
        // The program's documents are asked about their changes, then closed with their frames.
        if (!app->SaveAllModified())
            return;
        HWND self = m_hWnd;
        app->CloseAllDocuments(FALSE);
        if (!::IsWindow(self))
            return;  // closing the documents took this frame
    } else if (CDocument* doc = GetActiveDocument(); doc != NULL && doc->GetDocTemplate() != NULL) {
        if (!doc->CanCloseFrame(this))
            return;
    }
    DestroyWindow();
}

void CFrameWnd::OnDestroy()
{
    m_pViewActive = NULL;
    CWnd::OnDestroy();
}

void CFrameWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (nType != SIZE_MINIMIZED)
        RecalcLayout();
}

void CFrameWnd::OnSetFocus(CWnd* pOldWnd)
{
    if (m_pViewActive != NULL && m_pViewActive->m_hWnd != NULL)
        m_pViewActive->SetFocus();
    else
        CWnd::OnSetFocus(pOldWnd);
}

void CFrameWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
}

void CFrameWnd::OnInitMenuPopup(CMenu* pMenu, UINT, BOOL bSysMenu)
{
    if (bSysMenu || pMenu == NULL)
        return;
    CCmdUI state;
    state.m_pMenu = pMenu;
    state.m_nIndexMax = pMenu->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0)
            continue;  // separator
        if (state.m_nID == static_cast<UINT>(-1)) {
            // A popup is updated through its first item.
            state.m_pSubMenu = pMenu->GetSubMenu(static_cast<int>(state.m_nIndex));
            if (state.m_pSubMenu == NULL || (state.m_nID = state.m_pSubMenu->GetMenuItemID(0)) == 0 ||
                state.m_nID == static_cast<UINT>(-1))
                continue;
            state.DoUpdate(this, TRUE);
        } else {
            state.m_pSubMenu = NULL;
            state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        }
        // Handlers may have added or removed items.
        UINT count = pMenu->GetMenuItemCount();
        if (count < state.m_nIndexMax) {
            state.m_nIndex -= (state.m_nIndexMax - count);
            while (state.m_nIndex < count && pMenu->GetMenuItemID(static_cast<int>(state.m_nIndex)) == state.m_nID)
                state.m_nIndex++;
        }
        state.m_nIndexMax = count;
    }
}

LRESULT CFrameWnd::OnIdleUpdateCmdUI(WPARAM, LPARAM)
{
    // The message pane says the idle text while no menu item is described.
    if (m_nIDTracking == 0 && m_nIDLastMessage != AFX_IDS_IDLEMESSAGE && GetMessageBar() != NULL)
        SetMessageText(AFX_IDS_IDLEMESSAGE);
    // Commands that sit directly on the menu bar are kept up to date at idle time.
    CMenu* bar = GetMenu();
    if (bar == NULL)
        return 0;
    BOOL changed = FALSE;
    CCmdUI state;
    state.m_pMenu = bar;
    state.m_nIndexMax = bar->GetMenuItemCount();
    for (state.m_nIndex = 0; state.m_nIndex < state.m_nIndexMax; state.m_nIndex++) {
        state.m_nID = bar->GetMenuItemID(static_cast<int>(state.m_nIndex));
        if (state.m_nID == 0 || state.m_nID == static_cast<UINT>(-1))
            continue;
        UINT before = bar->GetMenuState(state.m_nIndex, MF_BYPOSITION);
        state.DoUpdate(this, m_bAutoMenuEnable && state.m_nID < 0xF000);
        changed |= before != bar->GetMenuState(state.m_nIndex, MF_BYPOSITION);
    }
    if (changed)
        DrawMenuBar();
    return 0;
}

LRESULT CFrameWnd::OnDevModeChange(WPARAM, LPARAM lParam)
{
    CWinApp* app = AfxGetApp();
    if (app != NULL && app->m_pMainWnd == this)
        app->DevModeChange(reinterpret_cast<LPSTR>(lParam));
    return 0;
}

// ---- Help ----------------------------------------------------------------------------------------

namespace {

// Help contexts of resources (a frame's help id) start here.
constexpr DWORD_PTR kHelpBaseResource = 0x20000;

}  // namespace

void CFrameWnd::OnHelp()
{
    HWND hWnd = ::GetFocus();
    if (hWnd == NULL || (hWnd != m_hWnd && !::IsChild(m_hWnd, hWnd)))
        hWnd = m_hWnd;
    for (; hWnd != NULL; hWnd = ::GetParent(hWnd)) {
        if (::SendMessageA(hWnd, WM_COMMANDHELP, 0, 0))
            return;
        if (hWnd == m_hWnd)
            break;
    }
    if (m_nIDHelp != 0)
        WinHelp(kHelpBaseResource + m_nIDHelp, HELP_CONTEXT);
    else
        WinHelp(0, HELP_FINDER);
}

void CFrameWnd::OnHelpFinder()
{
    WinHelp(0, HELP_FINDER);
}

void CFrameWnd::OnContextHelp()
{
    if (m_bHelpMode || !::IsWindowEnabled(m_hWnd))
        return;
    m_bHelpMode = TRUE;
    HCURSOR hHelpCursor = ::LoadCursorA(NULL, IDC_HELP);
    SetCapture();
    HCURSOR hPrevious = ::SetCursor(hHelpCursor);
    HWND hClicked = NULL;
    bool done = false;
    while (!done) {
        MSG msg;
        if (!::PeekMessageA(&msg, NULL, 0, 0, PM_REMOVE)) {
            // Losing the capture (another window took it, the frame went) ends the mode.
            if (::GetCapture() != m_hWnd || !::IsWindow(m_hWnd) ||
                !host::ModalLoopIdle(m_hWnd, "context help"))
                break;
            if (host::IsInteractive())
                ::WaitMessage();
            continue;
        }
        switch (msg.message) {
        case WM_QUIT:
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            done = true;
            break;
        case WM_LBUTTONDOWN:
        case WM_NCLBUTTONDOWN:
        case WM_LBUTTONDBLCLK:  // a click soon after another on the same spot
        case WM_NCLBUTTONDBLCLK:
            hClicked = ::WindowFromPoint(msg.pt);
            done = true;
            break;
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_MBUTTONDOWN:
        case WM_NCRBUTTONDOWN:
        case WM_NCMBUTTONDOWN:
        case WM_CANCELMODE:
            done = true;
            break;
        case WM_KEYDOWN:
        case WM_SYSKEYDOWN:
            if (msg.wParam == VK_ESCAPE)
                done = true;
            break;
        case WM_MOUSEMOVE:
        case WM_NCMOUSEMOVE:
        case WM_SETCURSOR:
            ::SetCursor(hHelpCursor);
            break;
        case WM_LBUTTONUP:
        case WM_RBUTTONUP:
        case WM_MBUTTONUP:
        case WM_KEYUP:
        case WM_SYSKEYUP:
        case WM_CHAR:
        case WM_SYSCHAR:
            break;  // the mode swallows the rest of the input
        default:
            ::TranslateMessage(&msg);
            ::DispatchMessageA(&msg);
            break;
        }
    }
    if (::GetCapture() == m_hWnd)
        ::ReleaseCapture();
    ::SetCursor(hPrevious);
    m_bHelpMode = FALSE;
    if (hClicked == NULL || !::IsWindow(m_hWnd) || (hClicked != m_hWnd && !::IsChild(m_hWnd, hClicked)))
        return;
    // What was clicked is named by the frame's child window that holds it.
    HWND hChild = hClicked;
    while (hChild != m_hWnd && ::GetParent(hChild) != m_hWnd)
        hChild = ::GetParent(hChild);
    LPARAM context = hChild == m_hWnd ? 0 : ::GetDlgCtrlID(hChild);
    if (SendMessage(WM_COMMANDHELP, 0, context))
        return;
    if (context != 0)
        WinHelp(static_cast<DWORD_PTR>(context), HELP_CONTEXT);
    else
        WinHelp(0, HELP_FINDER);
}
