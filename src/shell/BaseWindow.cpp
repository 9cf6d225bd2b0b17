#include "shell/BaseWindow.h"
#include "shell/CreditsWin.h"

#include "article/ArticleMainWin.h"
#include "article/ClearWin.h"
#include "base/AppHost.h"

#include "base/AppServices.h"
#include "shell/CompanionLauncher.h"
#include "base/DataFolders.h"
#include "base/TimelineRequest.h"
#include "base/VLMessages.h"
#include "explore/TimeFrameMainWin.h"
#include "media/MediaResourceMainWin.h"
#include "media/StickyNoteWnd.h"
#include "base/Reference.h"
#include "search/KWReference.h"
#include "search/SearchEngine.h"
#include "widgets/FindWin.h"
#include "online/Cloud.h"
#include "shell/Toolkit.h"
#include "shell/HistoryDlg.h"
#include "shell/WizardSelectWnd.h"

#include <cstdlib>
#include <type_traits>

namespace {

// What every frame of the run shares.
HHOOK s_hMouseHook = NULL;
// Whether each pane was up when ShowMainWindow last left the article view.
BOOL s_bSearchPaneWasUp = FALSE;
BOOL s_bDictionaryPaneWasUp = FALSE;
// The stored font size is applied once per run.
BOOL s_bApplyFontSize = TRUE;
// Each pane is placed the first time it is shown.
BOOL s_bFirstSearchPlacing = TRUE;
BOOL s_bFirstDictionaryPlacing = TRUE;
// The menu-bar item last clicked (-1: none) and whether it was just clicked.
int s_nLastMenuItem = -1;
BOOL s_bMenuJustClicked = FALSE;

// The profile section named by the product title.

const UINT s_nInitCloudMessage = RegisterWindowMessageA("CBaseWindow:InitCloud");

// Toolbar heights by the application's screen class.
int ToolbarHeight(int nScreenClass, int nOwnHeight)
{
    switch (nScreenClass) {
    case 0:
        return 50;
    case 1:
        return 58;
    case 2:
        return 76;
    default:
        return nOwnHeight;
    }
}

// Pane widths by the application's screen class.
int PaneWidth(int nScreenClass)
{
    switch (nScreenClass) {
    case 1:
        return 235;
    case 2:
        return 292;
    default:
        return 237;
    }
}


// Invalidates a window and all its descendants.
void InvalidateTree(CWnd* pWnd)
{
    pWnd->Invalidate();
    for (CWnd* pChild = pWnd->GetWindow(GW_CHILD); pChild != NULL; pChild = pChild->GetWindow(GW_HWNDNEXT))
        InvalidateTree(pChild);
}

// The menu-bar item under a screen point of a window; -1 when it has no menu or none is there.
int MenuBarItemAt(HWND hWnd, POINT pt)
{
    HMENU hMenu = ::GetMenu(hWnd);
    return hMenu == NULL ? -1 : MenuItemFromPoint(hWnd, hMenu, pt);
}

// What the frame's command states ask of the article view: whether its page holds the focus,
// whether the article shown has highlights, whether there is something to find again. A view
// without the answer has none of these.
template <class View>
BOOL ArticlePageFocused(View& view)
{
    if constexpr (requires { view.IsPageFocused(); })
        return view.IsPageFocused();
    else
        return FALSE;
}

template <class View>
BOOL ArticleHasHighlights(View& view)
{
    if constexpr (requires { view.HasHighlights(); })
        return view.HasHighlights();
    else
        return FALSE;
}

template <class View>
BOOL ArticleCanFindAgain(View& view)
{
    if constexpr (requires { view.CanFindAgain(); })
        return view.CanFindAgain();
    else
        return FALSE;
}

template <class T>
void DestroyAndDelete(T*& pWnd)
{
    if (pWnd != NULL) {
        if (pWnd->GetSafeHwnd() != NULL)
            pWnd->DestroyWindow();
        delete pWnd;
        pWnd = NULL;
    }
}

}  // namespace

IMPLEMENT_DYNAMIC(CBaseWindow, CFrameWnd)

BEGIN_MESSAGE_MAP(CBaseWindow, CFrameWnd)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ACTIVATE()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_SYSCOMMAND()
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpenWindow)
    ON_MESSAGE(VLM_OPEN_FOUND_ITEM, OnOpenFoundItem)
    ON_MESSAGE(VLM_OPEN_NOTED_ITEM, OnOpenFoundItem)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnPostToWindow)
    ON_MESSAGE(VLM_PASS_TO_VIEW, OnPassToView)
    ON_MESSAGE(VLM_SHOW_LINKED_SELECTION, OnPassToView)
    ON_MESSAGE(VLM_PUSH_STATE, OnPushState)
    ON_MESSAGE(VLM_RESTORE_SAVED, OnRestoreState)
    ON_MESSAGE(VLM_REFRESH_TOOLS, OnRefreshTools)
    ON_MESSAGE(VLM_STATUS_TEXT, OnStatusText)
    ON_MESSAGE(VLM_PANE_DOWN, OnToolbarPaneDown)
    ON_MESSAGE(VLM_STOP_OFF, OnToolbarStopOff)
    ON_MESSAGE(VLM_SHOW_SEARCH_PANE, OnShowSearchPane)
    ON_MESSAGE(VLM_MAIN_MENU_CHOICE, OnMainMenuChoice)
    ON_MESSAGE(VLM_RECENT_ARTICLES, OnRecentArticles)
    ON_MESSAGE(VLM_IGNORED, OnNothing)
    ON_MESSAGE(VLM_SUITE_MENU_STARTED, OnNothing)
    ON_MESSAGE(WM_COMMANDHELP, OnCommandHelp)
    ON_REGISTERED_MESSAGE(s_nInitCloudMessage, OnInitCloud)
    ON_MESSAGE(VLM_WIZARD_SELECTION, OnWizardSelection)
    ON_MESSAGE(VLM_COMPANION_FIRST, OnStartCompanion)
    ON_MESSAGE(VLM_COMPANION_SECOND, OnStartCompanion)
    ON_MESSAGE(VLM_COMPANION_THIRD, OnStartCompanion)
    ON_MESSAGE(VLM_COMPANION_FOURTH, OnStartCompanion)
    ON_MESSAGE(VLM_COMPANION_FIFTH, OnStartCompanion)
    ON_MESSAGE(VLM_JUBILEE, OnStartCompanion)
    ON_MESSAGE(VLM_TIMELINE_VIEWER, OnTimelineViewer)
    ON_COMMAND(ID_VIEW_ARTICLE, OnViewArticle)
    ON_COMMAND(ID_VIEW_JUSTLOOKING, OnViewJustLooking)
    ON_COMMAND(ID_VIEW_ATLAS, OnViewAtlas)
    ON_COMMAND(ID_VIEW_MEDIA, OnViewMedia)
    ON_COMMAND(ID_VIEW_TIMEFRAME, OnViewTimeFrame)
    ON_COMMAND(ID_VIEW_VLPLUS, OnViewVLPlus)
    ON_COMMAND(ID_SHOW_SEARCH, OnShowSearchCommand)
    ON_COMMAND(ID_SHOW_DICTIONARY, OnShowDictionaryCommand)
    ON_COMMAND(ID_GO_BACK, OnBack)
    ON_COMMAND(ID_GO_FORWARD, OnForward)
    ON_COMMAND(ID_HISTORY, OnHistory)
    ON_COMMAND(ID_HELP_TOPICS, OnHelpTopics)
    ON_COMMAND(ID_HELP_FINDER, CFrameWnd::OnHelpFinder)
    ON_COMMAND(ID_CONTEXT_HELP, CFrameWnd::OnContextHelp)
    ON_COMMAND(ID_HELP, CFrameWnd::OnHelp)
    ON_COMMAND(ID_FILE_PRINT_SETUP_APP, OnFilePrintSetup)
    ON_COMMAND(ID_WIZARDS, OnWizards)
    ON_COMMAND(ID_SURF_JUBILEE, OnSurfJubilee)
    ON_COMMAND(ID_NOTEPAD, OnNotepad)
    ON_COMMAND(ID_WORD_PROCESSOR, OnWordProcessor)
    ON_UPDATE_COMMAND_UI(ID_WORD_PROCESSOR, OnUpdateWordProcessor)
    ON_COMMAND(ID_FILE_SAVE_AS_ARTICLE, OnFileSaveAs)
    ON_UPDATE_COMMAND_UI(ID_FILE_SAVE_AS_ARTICLE, OnUpdateFileSaveAs)
    ON_COMMAND(ID_FILE_PRINT_VIEW, OnFilePrint)
    ON_UPDATE_COMMAND_UI(ID_FILE_PRINT_VIEW, OnUpdateFilePrint)
    ON_COMMAND(ID_FILE_EXIT, OnFileExit)
    ON_COMMAND(ID_CLEAR_ALL_HIGHLIGHTS, OnClearAllHighlights)
    ON_COMMAND(ID_STICKY_LIST, OnStickyList)
    ON_COMMAND(ID_MONTHLY_SPOTLIGHT, OnMonthlySpotlight)
    ON_COMMAND_RANGE(ID_FONT_SMALL, ID_FONT_LARGE, OnFontSize)
    ON_COMMAND_RANGE(ID_RECENT_FIRST, ID_RECENT_LAST, OnRecentArticle)
    ON_COMMAND_RANGE(ID_CONTRIBUTORS_FIRST, ID_CONTRIBUTORS_LAST, OnContributors)
    ON_COMMAND(ID_OPTIONS, OnOptions)
    ON_UPDATE_COMMAND_UI(ID_OPTIONS, OnUpdateOptions)
    ON_COMMAND(ID_EDIT_COPY_VIEW, OnEditCopy)
    ON_UPDATE_COMMAND_UI(ID_EDIT_COPY_VIEW, OnUpdateEditCopy)
    ON_COMMAND(ID_EDIT_SELECT_ALL_ARTICLE, OnEditSelectAll)
    ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL_ARTICLE, OnUpdateEditSelectAll)
    ON_COMMAND(ID_FIND_IN_ARTICLE, OnFindInArticle)
    ON_UPDATE_COMMAND_UI(ID_FIND_IN_ARTICLE, OnUpdateFindInArticle)
    ON_COMMAND(ID_FIND_NEXT, OnFindNext)
    ON_UPDATE_COMMAND_UI(ID_FIND_NEXT, OnUpdateFindNext)
    ON_COMMAND(ID_CLEAR_ARTICLE_HIGHLIGHTS, OnClearArticleHighlights)
    ON_UPDATE_COMMAND_UI(ID_CLEAR_ARTICLE_HIGHLIGHTS, OnUpdateClearArticleHighlights)
    ON_COMMAND(ID_ONLINE_ENABLE, OnToggleOnlineServices)
    ON_UPDATE_COMMAND_UI(ID_ONLINE_ENABLE, OnUpdateToggleOnlineServices)
    ON_COMMAND(ID_ONLINE_CONNECT, OnOnlineConnect)
    ON_UPDATE_COMMAND_UI(ID_ONLINE_CONNECT, OnUpdateOnlineConnect)
    ON_COMMAND(ID_ONLINE_DISCONNECT, OnOnlineDisconnect)
    ON_UPDATE_COMMAND_UI(ID_ONLINE_DISCONNECT, OnUpdateOnlineDisconnect)
    ON_COMMAND(ID_ONLINE_CONFIGURE, OnOnlineConfigure)
    ON_UPDATE_COMMAND_UI(ID_ONLINE_CONFIGURE, OnUpdateOptions)
    ON_COMMAND(ID_MESSAGE_CENTRE, OnMessageCentre)
    ON_COMMAND(ID_DOWNLOAD_DIRECTORY, OnDownloadDirectory)
    ON_UPDATE_COMMAND_UI(ID_DOWNLOAD_DIRECTORY, OnUpdateOptions)
    ON_COMMAND(ID_ABOUT_VELTRA, OnAbout)
END_MESSAGE_MAP()

CBaseWindow::CBaseWindow() : m_nLayoutClass(GetAppScreenClass())
{
}

CBaseWindow::~CBaseWindow()
{
    CCompanionLauncher::ClearRecord(m_wordProcessor);
}

void CBaseWindow::ResetSharedState()
{
    if (s_hMouseHook != NULL && UnhookWindowsHookEx(s_hMouseHook))
        s_hMouseHook = NULL;
    s_bSearchPaneWasUp = FALSE;
    s_bDictionaryPaneWasUp = FALSE;
    s_bApplyFontSize = TRUE;
    s_bFirstSearchPlacing = TRUE;
    s_bFirstDictionaryPlacing = TRUE;
    s_nLastMenuItem = -1;
    s_bMenuJustClicked = FALSE;
}

// ---- creation and placement ----

CRect CBaseWindow::GetFramePlacement(int nLeft, int nTop, int nRight, int nBottom, int nScreenWidth,
                                     int nScreenHeight)
{
    // A stored rectangle (its corners in either order) is cut to the screen's right and bottom
    // edges; one that then starts left of or above the screen, or is empty, does not fit the
    // screen, and the frame takes the centred default. Nothing stored reads as -1 everywhere.
    CRect rect(nLeft, nTop, nRight, nBottom);
    rect.NormalizeRect();
    if (rect.right > nScreenWidth)
        rect.right = nScreenWidth;
    if (rect.bottom > nScreenHeight)
        rect.bottom = nScreenHeight;
    if (rect.left < 0 || rect.top < 0 || rect.left >= rect.right || rect.top >= rect.bottom) {
        int nHeight = nScreenHeight < 600 ? nScreenHeight : 600;
        int nWidth = nScreenWidth < 800 ? nScreenWidth : 800;
        rect.SetRect(0, 0, nWidth - 4, nHeight - 4);
        rect.OffsetRect((nScreenWidth - rect.Width()) / 2, (nScreenHeight - rect.Height()) / 2);
    }
    return rect;
}

int CBaseWindow::LayoutClassOfWidth(int cx, int nPrevious)
{
    if (cx > 950)
        return 2;
    if (cx >= 700 && cx <= 948)
        return 1;
    if (cx < 700)
        return 0;
    return nPrevious;
}

BOOL CBaseWindow::CreateMainFrame()
{
    HCURSOR hCursor = ::LoadCursor(NULL, IDC_ARROW);
    HICON hIcon = ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(147));
    if (hIcon == NULL && AppServices().env.hResourceLibrary != NULL)
        hIcon = ::LoadIcon(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(147));
    LPCSTR lpszClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, hCursor, NULL, hIcon);

    CRect rect = GetFramePlacement(GetAppProfileInt("Screen", "left", -1), GetAppProfileInt("Screen", "top", -1),
                                   GetAppProfileInt("Screen", "right", -1), GetAppProfileInt("Screen", "bottom", -1),
                                   GetAppScreenWidth(), GetAppScreenHeight());
    return Create(lpszClass, AfxGetAppName(), WS_OVERLAPPEDWINDOW, rect, NULL);
}

BOOL CBaseWindow::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.hMenu != NULL)
        ::DestroyMenu(cs.hMenu);
    cs.hInstance = AfxGetInstanceHandle();
    cs.hMenu = ::LoadMenu(cs.hInstance, MAKEINTRESOURCE(264));
    if (cs.hMenu == NULL && AppServices().env.hResourceLibrary != NULL)
        cs.hMenu = ::LoadMenu(AppServices().env.hResourceLibrary, "VLMENU");
    return CFrameWnd::PreCreateWindow(cs);
}

int CBaseWindow::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (s_hMouseHook == NULL)
        s_hMouseHook = SetWindowsHookEx(WH_MOUSE, &CBaseWindow::FrameMouseHookProc, NULL,
                                       GetWindowThreadProcessId(m_hWnd, NULL));
    if (CMenu* pMenu = GetMenu()) {
        pMenu->EnableMenuItem(ID_WORD_PROCESSOR, MF_BYCOMMAND | MF_ENABLED);
        pMenu->EnableMenuItem(ID_OPTIONS, MF_BYCOMMAND | MF_ENABLED);
    }
    if (CFrameWnd::OnCreate(lpCreateStruct) == -1)
        return -1;

    CRect client;
    GetClientRect(&client);
    m_nLayoutClass = LayoutClassOfWidth(client.Width(), m_nLayoutClass);

    if (!m_wndToolbar.Create(this))
        return -1;
    CRect toolbar;
    m_wndToolbar.GetWindowRect(&toolbar);
    m_wndToolbar.MoveWindow(0, 0, client.Width(), ToolbarHeight(GetAppScreenClass(), toolbar.Height()), TRUE);

    if (!m_wndStatus.Create(this))
        return -1;
    CRect status;
    m_wndStatus.GetWindowRect(&status);
    m_wndStatus.MoveWindow(0, client.bottom - status.Height(), status.Width(), status.Height(), FALSE);
    m_wndStatus.ShowWindow(SW_SHOW);

    SetCurrentView(CreateMainWindow(IDW_CLEAR));
    CreateMainWindow(IDW_ARTICLE);

    m_pSearchPane = new CSearchTabWin;
    if (!m_pSearchPane->Create(CPoint(10, 16), this))
        return -1;
    m_pDictionaryPane = new CDictionaryTabWin;
    if (!m_pDictionaryPane->Create(CPoint(10, 10), this))
        return -1;

    CreateMainWindow(IDW_TABLE);
    PostMessage(s_nInitCloudMessage);
    return 0;
}

LRESULT CBaseWindow::OnInitCloud(WPARAM, LPARAM)
{
    return 0;
}

void CBaseWindow::OnDestroy()
{
    if (s_hMouseHook != NULL && UnhookWindowsHookEx(s_hMouseHook))
        s_hMouseHook = NULL;

    WINDOWPLACEMENT placement{};
    placement.length = sizeof(placement);
    if (GetWindowPlacement(&placement)) {
        WriteAppProfileInt("Screen", "max", IsZoomed() ? 1 : 0);
        WriteAppProfileInt("Screen", "left", placement.rcNormalPosition.left);
        WriteAppProfileInt("Screen", "top", placement.rcNormalPosition.top);
        WriteAppProfileInt("Screen", "right", placement.rcNormalPosition.right);
        WriteAppProfileInt("Screen", "bottom", placement.rcNormalPosition.bottom);
    }

    SetCurrentView(NULL);
    GetAppHost().CloseTimelineViewer();

    DestroyAndDelete(m_pArticleView);
    DestroyAndDelete(m_pClearView);
    DestroyAndDelete(m_pJustLookingView);
    DestroyAndDelete(m_pAtlasView);
    DestroyAndDelete(m_pTimeFrameView);
    DestroyAndDelete(m_pMediaView);
    DestroyAndDelete(m_pTableView);
    DestroyAndDelete(m_pVLPlusView);
    DestroyAndDelete(m_pSearchPane);
    DestroyAndDelete(m_pDictionaryPane);

    // The media player window deletes itself and clears the pointer when it is destroyed.
    if (CWnd* pPlayer = AppServices().ui.pMediaPlayerWnd)
        if (pPlayer->GetSafeHwnd() != NULL)
            pPlayer->DestroyWindow();

    CFrameWnd::OnDestroy();
}

void CBaseWindow::SetCurrentView(CVLMainWin* pView)
{
    m_pCurrentView = pView;
    AppServices().ui.pCurrentView = pView;
}

// ---- layout ----

void CBaseWindow::GetViewRect(CRect& rect)
{
    CRect client;
    GetClientRect(&client);
    CRect toolbar(0, 0, 0, 0);
    if (m_wndToolbar.GetSafeHwnd() != NULL) {
        m_wndToolbar.GetWindowRect(&toolbar);
        m_wndToolbar.MoveWindow(0, 0, client.Width(), toolbar.Height(), TRUE);
        m_wndToolbar.UpdateWindow();
    }
    CRect status(0, 0, 0, 0);
    if (m_wndStatus.GetSafeHwnd() != NULL)
        m_wndStatus.GetWindowRect(&status);
    rect.SetRect(0, toolbar.Height(), client.Width(), client.Height() - status.Height());
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
}

void CBaseWindow::OnSize(UINT, int cx, int cy)
{
    m_nLayoutClass = LayoutClassOfWidth(cx, m_nLayoutClass);
    CRect view;
    GetViewRect(view);
    if (m_pCurrentView != NULL)
        m_pCurrentView->SetWindowPos(NULL, view.left, view.top, view.Width(), view.Height(), SWP_NOZORDER);
    if (m_pClearView != NULL && m_pClearView->GetSafeHwnd() != NULL && m_pClearView != m_pCurrentView)
        m_pClearView->SetWindowPos(NULL, view.left, view.top, view.Width(), view.Height(), SWP_NOZORDER);
    if (m_pCurrentView != NULL) {
        if (m_pSearchPane != NULL && m_pSearchPane->GetSafeHwnd() != NULL)
            PlaceTabWindow(m_pCurrentView, m_pSearchPane);
        if (m_pDictionaryPane != NULL && m_pDictionaryPane->GetSafeHwnd() != NULL)
            PlaceTabWindow(m_pCurrentView, m_pDictionaryPane);
        GetViewRect(view);
        m_pCurrentView->SetWindowPos(NULL, view.left, view.top, view.Width(), view.Height(), SWP_NOZORDER);
        m_pCurrentView->Invalidate();
        m_pCurrentView->UpdateWindow();
    }
    if (m_wndStatus.GetSafeHwnd() != NULL) {
        CRect status;
        m_wndStatus.GetWindowRect(&status);
        m_wndStatus.MoveWindow(0, cy - status.Height(), cx, status.Height(), TRUE);
    }
}

void CBaseWindow::PlaceTabWindow(CWnd* pView, CWnd* pPane)
{
    if (pView == NULL || pPane == NULL)
        return;
    CRect client;
    pView->GetClientRect(&client);
    pPane->SetWindowPos(NULL, 10, 10, PaneWidth(GetAppScreenClass()), client.Height() - 20,
                        SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateTree(pView);
}

// ---- the view factory ----

namespace {

// Each view's own creation: the least views by their common one, the article view with the
// frame and the view area, the clear window with the whole client area and its colour.
BOOL CreateViewWindow(CLeastMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->CreateMainWin(rect, pParent);
}

BOOL CreateViewWindow(CJustLookingMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->Create(rect, pParent);
}

BOOL CreateViewWindow(CTableMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->CreateMainWin(rect, pParent);
}

BOOL CreateViewWindow(CArticleMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->Create(pParent, rect);
}

BOOL CreateViewWindow(CMediaResourceMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->Create(pParent, rect);
}

BOOL CreateViewWindow(CAtlasMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->Create(pParent, rect);
}

BOOL CreateViewWindow(CTimeFrameMainWin* pView, const CRect& rect, CWnd* pParent)
{
    return pView->CreateMainWin(rect, pParent);
}

BOOL CreateViewWindow(CClearWin* pView, const CRect& rect, CWnd* pParent)
{
    if (!pView->Create(rect, pParent))
        return FALSE;
    pView->SetColor(PALETTERGB(255, 255, 231));
    return TRUE;
}

}  // namespace

CVLMainWin* CBaseWindow::CreateMainWindow(UINT nID)
{
    if (nID != IDW_MEDIA) {
        CString strDir;
        if (!GetDataDir(strDir, DDT_INFO_DAT, 1, TRUE))
            return NULL;
    }
    CRect view;
    GetViewRect(view);
    auto make = [&](auto*& pMember) -> CVLMainWin* {
        using View = std::remove_reference_t<decltype(*pMember)>;
        pMember = new View;
        CRect rect = view;
        if (nID == IDW_CLEAR)
            GetClientRect(&rect);
        if (!CreateViewWindow(pMember, rect, this)) {
            delete pMember;
            pMember = NULL;
        }
        return pMember;
    };
    switch (nID) {
    case IDW_ARTICLE:
        return make(m_pArticleView);
    case IDW_JUSTLOOKING:
        return make(m_pJustLookingView);
    case IDW_ATLAS:
        return make(m_pAtlasView);
    case IDW_TABLE:
        return make(m_pTableView);
    case IDW_MEDIA:
        return make(m_pMediaView);
    case IDW_TIMEFRAME:
        return make(m_pTimeFrameView);
    case IDW_VLPLUS:
        return make(m_pVLPlusView);
    case IDW_CLEAR:
        return make(m_pClearView);
    default:
        AfxMessageBox("Cannot Create Unknown Main Window ID");
        return NULL;
    }
}

CWnd* CBaseWindow::CreateTabWindow(UINT nID)
{
    switch (nID) {
    case IDW_SEARCHPANE:
        m_pSearchPane = new CSearchTabWin;
        m_pSearchPane->Create(CPoint(10, 16), this);
        return m_pSearchPane;
    case IDW_DICTIONARYPANE:
        m_pDictionaryPane = new CDictionaryTabWin;
        m_pDictionaryPane->Create(CPoint(10, 10), this);
        return m_pDictionaryPane;
    default:
        AfxMessageBox("Cannot Create Unknown Tab Window ID");
        return NULL;
    }
}

CWnd* CBaseWindow::FindOrCreateView(UINT nID)
{
    if (CWnd* pView = GetDlgItem(static_cast<int>(nID)))
        return pView;
    return CreateMainWindow(nID);
}

// ---- switching views ----

BOOL CBaseWindow::ShowMainWindow(UINT nID, BOOL bKeepPanes)
{
    CVLMainWin* pView = DYNAMIC_DOWNCAST(CVLMainWin, FindOrCreateView(nID));
    if (pView == NULL)
        return FALSE;
    BOOL bSwitched = m_bFirstShow || pView != m_pCurrentView;
    if (bSwitched) {
        CVLMainWin* pOld = m_pCurrentView;
        if (pOld != NULL && pOld->GetDlgCtrlID() == IDW_ARTICLE) {
            CWnd* pSearch = pOld->GetDlgItem(IDW_SEARCHPANE);
            CWnd* pDictionary = pOld->GetDlgItem(IDW_DICTIONARYPANE);
            s_bSearchPaneWasUp = pSearch != NULL && pSearch->IsWindowVisible();
            s_bDictionaryPaneWasUp = pDictionary != NULL && pDictionary->IsWindowVisible();
        }
        if (pOld != NULL && !m_bFirstShow) {
            pOld->OnActivateMainWin(FALSE);
            pOld->ShowWindow(SW_HIDE);
        }
        if (pOld != NULL && pOld->GetDlgCtrlID() != IDW_CLEAR && pOld->GetDlgCtrlID() != IDW_ARTICLE) {
            for (CWnd* pPane : {static_cast<CWnd*>(m_pSearchPane), static_cast<CWnd*>(m_pDictionaryPane)})
                if (pPane != NULL && pPane->GetSafeHwnd() != NULL && pPane->GetParent() == pOld)
                    pPane->ShowWindow(SW_HIDE);
        }

        CRect view;
        GetViewRect(view);
        SetCurrentView(pView);
        BOOL bArticle = nID == IDW_ARTICLE;

        if (CMenu* pMenu = GetMenu()) {
            // Save As sits in the File menu, Select all and the font sizes in the Edit menu.
            UINT nEnable = bArticle ? MF_ENABLED : MF_GRAYED;
            pMenu->EnableMenuItem(ID_FILE_SAVE_AS_ARTICLE, MF_BYCOMMAND | nEnable);
            if (CMenu* pEdit = pMenu->GetSubMenu(1)) {
                pEdit->EnableMenuItem(ID_EDIT_SELECT_ALL_ARTICLE, MF_BYCOMMAND | nEnable);
                pEdit->EnableMenuItem(4, MF_BYPOSITION | nEnable);
            }
        }
        if (bArticle && s_bApplyFontSize)
            ApplyStoredFontSize(pView);

        pView->SetWindowPos(&wndTop, view.left, view.top, view.Width(), view.Height(), SWP_SHOWWINDOW);
        pView->SetFocus();
        pView->OnActivateMainWin(TRUE);
        pView->Invalidate();

        if (!bKeepPanes && bArticle) {
            if (s_bSearchPaneWasUp)
                OnShowSearchPane(0, 0);
            else if (s_bDictionaryPaneWasUp)
                OnShowDictionaryPane(0, 0);
        }

        if (nID != IDW_CLEAR) {
            for (int nPane = 1; nPane <= 2; ++nPane) {
                CWnd* pChild = pView->GetDlgItem(nPane == 1 ? IDW_SEARCHPANE : IDW_DICTIONARYPANE);
                BOOL bUp = pChild != NULL && pChild->IsWindowVisible();
                m_wndToolbar.SendMessage(bUp ? VLM_PANE_UP : VLM_PANE_DOWN, 0, nPane);
            }
            m_wndToolbar.PostMessage(VLM_TOOLBAR_VIEW, nID, 0);
            m_wndToolbar.PostMessage(VLM_STOP_OFF, 0, 0);
        }
    }
    m_bFirstShow = FALSE;
    return bSwitched;
}

void CBaseWindow::ApplyStoredFontSize(CWnd* pArticleView)
{
    int nSize = GetAppProfileInt("Screen", "Font Size", -1);
    if (nSize < 0)
        nSize = GetAppScreenClass();
    if (CMenu* pMenu = GetMenu()) {
        static const UINT ids[] = {ID_FONT_SMALL, ID_FONT_MEDIUM, ID_FONT_LARGE};
        for (int i = 0; i < 3; ++i)
            if (i == nSize)
                pMenu->CheckMenuItem(ids[i], MF_BYCOMMAND | MF_CHECKED);
    }
    pArticleView->SendMessage(VLM_FONT_SIZE, 0, nSize);
    s_bApplyFontSize = FALSE;
}

BOOL CBaseWindow::ShowClearWindow(COLORREF crColor)
{
    if (m_pClearView == NULL || m_pClearView->GetSafeHwnd() == NULL)
        return FALSE;
    HidePanes();
    m_pClearView->SetColor(crColor);
    ShowMainWindow(IDW_CLEAR, FALSE);
    m_bFirstShow = TRUE;
    return TRUE;
}

void CBaseWindow::HidePanes()
{
    if (m_pSearchPane != NULL && m_pSearchPane->GetSafeHwnd() != NULL)
        m_pSearchPane->ShowWindow(SW_HIDE);
    if (m_pDictionaryPane != NULL && m_pDictionaryPane->GetSafeHwnd() != NULL)
        m_pDictionaryPane->ShowWindow(SW_HIDE);
}

BOOL CBaseWindow::OnIdle(LONG)
{
    return FALSE;
}

// ---- the side panes ----

BOOL CBaseWindow::ShowPane(int nPane)
{
    BOOL bSearch = nPane == 1;
    if (!ResolveDataLocation(DDT_INFO_DAT, 1)) {
        m_wndToolbar.PostMessage(VLM_PANE_DOWN, 0, nPane);
        return FALSE;
    }
    CWnd* pPane = bSearch ? static_cast<CWnd*>(m_pSearchPane) : static_cast<CWnd*>(m_pDictionaryPane);
    if (pPane == NULL)
        pPane = CreateTabWindow(bSearch ? IDW_SEARCHPANE : IDW_DICTIONARYPANE);
    if (pPane == NULL || pPane->GetSafeHwnd() == NULL)
        return FALSE;
    if (m_pCurrentView != NULL && pPane->GetParent() != m_pCurrentView)
        m_pCurrentView->AttachTabWindow(pPane);
    BOOL& bFirstPlacing = bSearch ? s_bFirstSearchPlacing : s_bFirstDictionaryPlacing;
    if (bFirstPlacing) {
        PlaceTabWindow(m_pCurrentView, pPane);
        bFirstPlacing = FALSE;
    }
    CWnd* pOther = bSearch ? static_cast<CWnd*>(m_pDictionaryPane) : static_cast<CWnd*>(m_pSearchPane);
    if (pOther != NULL && pOther->GetSafeHwnd() != NULL)
        pOther->ShowWindow(SW_HIDE);
    if (m_pCurrentView != NULL && m_pCurrentView->GetDlgCtrlID() == IDW_ARTICLE)
        m_pCurrentView->SendMessage(VLM_PANE_OVER_ARTICLE, 0, nPane);
    if (!pPane->IsWindowVisible())
        pPane->ShowWindow(SW_SHOW);
    return TRUE;
}

void CBaseWindow::ShowSearchPane()
{
    ShowPane(1);
}

void CBaseWindow::ShowDictionaryPane()
{
    ShowPane(2);
}

LRESULT CBaseWindow::OnShowSearchPane(WPARAM, LPARAM)
{
    ShowPane(1);
    m_wndToolbar.SendMessage(VLM_PANE_UP, 0, 1);
    return 0;
}

LRESULT CBaseWindow::OnShowDictionaryPane(WPARAM, LPARAM)
{
    ShowPane(2);
    m_wndToolbar.SendMessage(VLM_PANE_UP, 0, 2);
    return 0;
}

void CBaseWindow::SearchForText(const CString& strText)
{
    if (strText.IsEmpty())
        return;
    OnShowSearchPane(0, 0);
    if (m_pSearchPane != NULL && m_pSearchPane->GetSafeHwnd() != NULL && m_pSearchPane->IsWindowVisible())
        m_pSearchPane->SearchFor(new CString(strText));
}

void CBaseWindow::LookUpWord(const CString& strWord)
{
    if (strWord.IsEmpty())
        return;
    OnShowDictionaryPane(0, 0);
    if (m_pDictionaryPane != NULL && m_pDictionaryPane->GetSafeHwnd() != NULL && m_pDictionaryPane->IsWindowVisible())
        m_pDictionaryPane->LookUpWord(strWord);
}

void CBaseWindow::OnShowSearchCommand()
{
    ShowSearchPane();
}

void CBaseWindow::OnShowDictionaryCommand()
{
    ShowDictionaryPane();
}

// ---- the mouse hook over the menu bar ----

LRESULT CALLBACK CBaseWindow::FrameMouseHookProc(int nCode, WPARAM wParam, LPARAM lParam)
{
    if (nCode >= 0) {
        const auto* pMouse = reinterpret_cast<const MOUSEHOOKSTRUCT*>(lParam);
        if (wParam == WM_LBUTTONUP) {
            s_nLastMenuItem = MenuBarItemAt(pMouse->hwnd, pMouse->pt);
            if (s_nLastMenuItem >= 0)
                s_bMenuJustClicked = TRUE;
        } else if (wParam == WM_NCMOUSEMOVE) {
            int nItem = pMouse->wHitTestCode == HTMENU ? MenuBarItemAt(pMouse->hwnd, pMouse->pt) : -1;
            BOOL bWantClick = TRUE;
            if (s_bMenuJustClicked) {
                bWantClick = FALSE;
                if (nItem == -1 || nItem != s_nLastMenuItem) {
                    s_bMenuJustClicked = FALSE;
                    s_nLastMenuItem = -1;
                }
            }
            if (bWantClick && nItem >= 0) {
                mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0);
                mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
            }
        }
    }
    return CallNextHookEx(s_hMouseHook, nCode, wParam, lParam);
}

// ---- activation, palette, system commands ----

void CBaseWindow::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CFrameWnd::OnActivate(nState, pWndOther, bMinimized);
    BOOL bActive = nState != WA_INACTIVE;
    if (bActive)
        GetAppHost().RefreshOnlineState();
    if (m_pCurrentView != NULL && m_pCurrentView == m_pAtlasView && m_pAtlasView->m_pOverlayWnd != NULL)
        m_pAtlasView->m_nOverlayFlag = 1;
    if (m_pCurrentView != NULL && m_pCurrentView->GetDlgCtrlID() == IDW_ARTICLE) {
        if (!bActive) {
            CWnd* pFocus = GetFocus();
            m_hWndFocusSaved = pFocus != NULL ? pFocus->GetSafeHwnd() : NULL;
        } else if (m_hWndFocusSaved != NULL && ::IsWindow(m_hWndFocusSaved)) {
            ::SetFocus(m_hWndFocusSaved);
        }
        InvalidateTree(m_pCurrentView);
    }
}

BOOL CBaseWindow::OnQueryNewPalette()
{
    if (m_pCurrentView == NULL)
        return FALSE;
    return static_cast<BOOL>(m_pCurrentView->SendMessage(WM_QUERYNEWPALETTE));
}

void CBaseWindow::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (m_pCurrentView == NULL || IsMainMenuShowing())
        return;
    m_pCurrentView->SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(pFocusWnd->GetSafeHwnd()));
}

void CBaseWindow::OnSysCommand(UINT nID, LPARAM lParam)
{
    if ((nID & 0xFFF0) == SC_MINIMIZE && m_pCurrentView != NULL && m_pCurrentView == m_pAtlasView)
        m_pAtlasView->RememberChildWindows(1);
    CFrameWnd::OnSysCommand(nID, lParam);
}

void CBaseWindow::PaintOverAndHide()
{
    CWindowDC dc(this);
    CRect rect;
    GetWindowRect(&rect);
    rect.OffsetRect(-rect.left, -rect.top);
    dc.FillSolidRect(&rect, ::GetSysColor(COLOR_BACKGROUND));
    ShowWindow(SW_HIDE);
}

void CBaseWindow::OnClose()
{
    PaintOverAndHide();
    CFrameWnd::OnClose();
}

BOOL CBaseWindow::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CBaseWindow::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent == IDT_FRAME_CLOSE) {
        KillTimer(IDT_FRAME_CLOSE);
        SendMessage(WM_CLOSE);
        return;
    }
    CFrameWnd::OnTimer(nIDEvent);
}

// ---- routing ----

BOOL CBaseWindow::ResolveDataLocation(int nKind, int nDisc)
{
    CString strDir;
    try {
        return GetDataDir(strDir, nKind, nDisc, TRUE);
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
}

BOOL CBaseWindow::PrepareViewData(UINT nID, LPARAM lParam)
{
    CWnd* pView = FindOrCreateView(nID);
    if (pView == NULL)
        return FALSE;
    LRESULT location = pView->SendMessage(VLM_DATA_LOCATION, 0, lParam);
    return ResolveDataLocation(HIWORD(location), LOWORD(location));
}

LRESULT CBaseWindow::OnOpenWindow(WPARAM wParam, LPARAM lParam)
{
    UINT nID = static_cast<UINT>(wParam);
    CWnd* pView = FindOrCreateView(nID);
    if (pView == NULL || !PrepareViewData(nID, lParam)) {
        // The tables view's document is lent by the article view, which keeps it.
        if (nID != IDW_TABLE)
            DeleteCarriedObject(lParam);
        return 0;
    }
    return pView->SendMessage(VLM_OPEN_WINDOW, wParam, lParam);
}

LRESULT CBaseWindow::OnOpenFoundItem(WPARAM wParam, LPARAM lParam)
{
    UINT nMessage = AfxGetCurrentMessage()->message;
    UINT nID = static_cast<UINT>(wParam);
    CWnd* pView = FindOrCreateView(nID);
    if (pView == NULL || !::IsWindow(pView->GetSafeHwnd()) || !PrepareViewData(nID, lParam)) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    return pView->SendMessage(nMessage, wParam, lParam);
}

LRESULT CBaseWindow::OnPostToWindow(WPARAM wParam, LPARAM lParam)
{
    CWnd* pView = FindOrCreateView(static_cast<UINT>(wParam));
    if (pView == NULL || !pView->PostMessage(VLM_POST_TO_WINDOW, wParam, lParam))
        DeleteCarriedObject(lParam);
    return 0;
}

LRESULT CBaseWindow::OnPassToView(WPARAM wParam, LPARAM lParam)
{
    UINT nMessage = AfxGetCurrentMessage()->message;
    if (CWnd* pView = FindOrCreateView(static_cast<UINT>(wParam)))
        pView->SendMessage(nMessage, wParam, lParam);
    return 0;
}

LRESULT CBaseWindow::OnPushState(WPARAM wParam, LPARAM lParam)
{
    // A null state has nothing to keep.
    if (lParam != 0)
        m_backList.Push(reinterpret_cast<CVLStateObj*>(lParam));
    if (wParam != VLM_RESTORE_STATE)
        m_forwardList.DeleteAll();
    return 0;
}

LRESULT CBaseWindow::OnRestoreState(WPARAM wParam, LPARAM lParam)
{
    auto* pState = reinterpret_cast<CVLStateObj*>(lParam);
    CWnd* pView = FindOrCreateView(static_cast<UINT>(wParam));
    if (pView == NULL) {
        delete pState;
        return 0;
    }
    int nKind = pState != NULL ? pState->GetDataDirType() : DDT_INFO_DAT;
    int nDisc = pState != NULL ? pState->GetDisc() : 1;
    if (!ResolveDataLocation(nKind, nDisc)) {
        delete pState;
        return 0;
    }
    BOOL bPosted = pView->PostMessage(VLM_RESTORE_STATE, wParam, lParam);
    if (!bPosted)
        delete pState;
    return bPosted;
}

LRESULT CBaseWindow::OnRefreshTools(WPARAM wParam, LPARAM)
{
    if (m_pCurrentView == NULL)
        return 0;
    if (m_pCurrentView->GetDlgCtrlID() == IDW_MEDIA && wParam == 1)
        m_pCurrentView->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(m_backList.Pop()));
    m_pCurrentView->SendMessage(VLM_REFRESH_TOOLS, 0, 0);
    return 0;
}

LRESULT CBaseWindow::OnStatusText(WPARAM, LPARAM lParam)
{
    if (m_wndStatus.GetSafeHwnd() == NULL) {
        delete reinterpret_cast<CString*>(lParam);
        return 0;
    }
    return m_wndStatus.SendMessage(VLM_STATUS_TEXT, 0, lParam);
}

LRESULT CBaseWindow::OnToolbarPaneDown(WPARAM, LPARAM lParam)
{
    return m_wndToolbar.SendMessage(VLM_PANE_DOWN, 0, lParam);
}

LRESULT CBaseWindow::OnToolbarStopOff(WPARAM, LPARAM lParam)
{
    return m_wndToolbar.PostMessage(VLM_STOP_OFF, 0, lParam);
}

LRESULT CBaseWindow::OnNothing(WPARAM, LPARAM)
{
    return 0;
}

// ---- history ----

void CBaseWindow::CloseMediaPopup()
{
    if (m_pCurrentView != NULL && m_pCurrentView == m_pMediaView && m_pMediaView->m_pPopupWnd != NULL) {
        CWnd* pPopup = m_pMediaView->m_pPopupWnd;
        pPopup->ShowWindow(SW_HIDE);
        delete pPopup;
        m_pMediaView->m_pPopupWnd = NULL;
    }
}

BOOL CBaseWindow::SendStateToView(CVLStateObj* pState)
{
    CWnd* pView = FindOrCreateView(pState->m_nWindowID);
    if (pView == NULL || !ResolveDataLocation(pState->GetDataDirType(), pState->GetDisc()))
        return FALSE;
    pView->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(pState));
    return TRUE;
}

void CBaseWindow::OnBack()
{
    CVLStateObj* pNow = m_backList.Pop();
    if (pNow == NULL)
        return;
    CVLStateObj* pPrevious = m_backList.Pop();
    if (pPrevious == NULL) {
        m_backList.Push(pNow);
        return;
    }
    CloseMediaPopup();
    if (!SendStateToView(pPrevious)) {
        m_backList.Push(pPrevious);
        m_backList.Push(pNow);
        return;
    }
    m_forwardList.Push(pNow);
}

void CBaseWindow::OnForward()
{
    CVLStateObj* pNext = m_forwardList.Pop();
    if (pNext == NULL)
        return;
    CVLStateObj* pNow = m_backList.Pop();
    if (pNow == NULL) {
        m_forwardList.Push(pNext);
        return;
    }
    CloseMediaPopup();
    CWnd* pView = FindOrCreateView(pNext->m_nWindowID);
    if (pView == NULL || !ResolveDataLocation(pNext->GetDataDirType(), pNext->GetDisc())) {
        m_backList.Push(pNow);
        m_forwardList.Push(pNext);
        return;
    }
    m_backList.Push(pNow);
    pView->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(pNext));
}

// The History dialog: a state chosen in it comes back to the frame as 0x40D.
void CBaseWindow::OnHistory()
{
    CHistoryDlg dialog(m_backList, m_pCurrentView);
    dialog.RunTabDialog();
}

void CBaseWindow::OnStickyList()
{
    // A note window of its own over the frame runs the list of every note until it is done.
    CStickyNoteWnd notes;
    if (notes.Create(NULL))
        notes.SendMessage(VLM_STICKY_SHOW, static_cast<WPARAM>(-1), 0);
}

// ---- commands that open views ----

BOOL CBaseWindow::OpenView(UINT nID, LPARAM nValue)
{
    CWnd* pView = FindOrCreateView(nID);
    if (pView == NULL || !PrepareViewData(nID, 0))
        return FALSE;
    pView->SendMessage(VLM_START_PAGE, nID, nValue);
    return TRUE;
}

void CBaseWindow::OnViewArticle()
{
    OpenView(IDW_ARTICLE, m_nMainMenuFlag);
}

void CBaseWindow::OnViewJustLooking()
{
    EnableWindow(FALSE);
    OpenView(IDW_JUSTLOOKING, 0);
    EnableWindow(TRUE);
}

void CBaseWindow::OnViewMedia()
{
    if (m_pMediaView == NULL || m_pMediaView->GetSafeHwnd() == NULL ||
        static_cast<CWnd*>(m_pCurrentView) == static_cast<CWnd*>(m_pMediaView))
        return;
    ShowMainWindow(IDW_MEDIA, FALSE);
}

void CBaseWindow::OnViewAtlas()
{
    OpenView(IDW_ATLAS, m_nMainMenuFlag);
}

void CBaseWindow::OnViewTimeFrame()
{
    OpenView(IDW_TIMEFRAME, m_nMainMenuFlag);
}

void CBaseWindow::OnViewVLPlus()
{
    OpenView(IDW_VLPLUS, m_nMainMenuFlag);
    m_nMainMenuFlag = 0;
}

LRESULT CBaseWindow::OnRecentArticles(WPARAM wParam, LPARAM lParam)
{
    auto* pTitles = reinterpret_cast<CStringArray*>(lParam);
    CMenu* pMenu = GetMenu();
    CMenu* pFile = pMenu != NULL ? pMenu->GetSubMenu(0) : NULL;
    if (pFile != NULL && pTitles != NULL) {
        while (pFile->GetMenuItemCount() > 6)
            pFile->DeleteMenu(6, MF_BYPOSITION);
        pFile->AppendMenu(MF_SEPARATOR);
        int nCount = static_cast<int>(wParam) < 5 ? static_cast<int>(wParam) : 5;
        for (int i = 0; i < nCount && i < pTitles->GetSize(); ++i) {
            CString strItem;
            strItem.Format("&%d %s", i + 1, static_cast<LPCSTR>(pTitles->GetAt(i)));
            pFile->AppendMenu(MF_STRING, ID_RECENT_FIRST + i, strItem);
        }
        DrawMenuBar();
    }
    delete pTitles;
    return 0;
}

// ---- the start-up main menu's choice ----

void CBaseWindow::SendMainMenuCommand(UINT nCommand, WORD nParam)
{
    SendMessage(WM_COMMAND, MAKEWPARAM(nCommand, nParam), 0);
    m_nMainMenuFlag = 0;
}

LRESULT CBaseWindow::OnMainMenuChoice(WPARAM wParam, LPARAM lParam)
{
    switch (wParam) {
    case kChoiceBlankView:
        if (ShowClearWindow(PALETTERGB(255, 255, 231)))
            UpdateWindow();
        break;
    case kChoiceBrowse:
        SendMainMenuCommand(ID_VIEW_JUSTLOOKING);
        break;
    case kChoiceAtlas:
        m_nMainMenuFlag = 1;
        SendMainMenuCommand(ID_VIEW_ATLAS);
        break;
    case kChoiceMedia:
        SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, 0);
        break;
    case kChoiceDidoDovov:
        m_nMainMenuFlag = 1;
        SendMainMenuCommand(ID_VIEW_TIMEFRAME);
        break;
    case kChoiceMonthlySpotlight:
        m_nMainMenuFlag = 1;
        [[fallthrough]];
    case kChoiceTopicSearch:
        SendMainMenuCommand(ID_VIEW_ARTICLE);
        PostMessage(WM_COMMAND, ID_SHOW_SEARCH);
        m_wndToolbar.PostMessage(VLM_PANE_DOWN, 0, 2);
        m_wndToolbar.PostMessage(VLM_PANE_UP, 0, 1);
        break;
    case kChoiceDictionary:
        SendMainMenuCommand(ID_VIEW_ARTICLE);
        PostMessage(WM_COMMAND, ID_SHOW_DICTIONARY);
        m_wndToolbar.PostMessage(VLM_PANE_DOWN, 0, 1);
        m_wndToolbar.PostMessage(VLM_PANE_UP, 0, 2);
        break;
    case kChoiceOnline:
        m_nMainMenuFlag = static_cast<int>(lParam);
        SendMainMenuCommand(ID_VIEW_VLPLUS, static_cast<WORD>(lParam));
        break;
    case kChoiceWizards:
        SendMainMenuCommand(ID_VIEW_ARTICLE);
        PostMessage(VLM_WIZARD_SELECTION);
        break;
    case kChoiceJubilee:
        SendMainMenuCommand(ID_VIEW_ARTICLE);
        PostMessage(VLM_JUBILEE);
        break;
    case kChoiceSuiteMenu:
        SendMainMenuCommand(ID_VIEW_ARTICLE);
        PostMessage(VLM_SUITE_MENU_STARTED);
        break;
    case kChoiceExit:
        SetTimer(IDT_FRAME_CLOSE, 2000, NULL);
        ShowWindow(SW_HIDE);
        EnableWindow(FALSE);
        break;
    default:
        break;
    }
    return 1;
}

// ---- help ----

BOOL CBaseWindow::HelpAllowed()
{
    return AppServices().ui.bF1Help && !IsMainMenuShowing();
}

void CBaseWindow::WinHelp(DWORD_PTR dwData, UINT nCmd)
{
    if (!HelpAllowed())
        return;
    if (GetAppHost().ShowHelp(dwData, nCmd))
        return;
    // The help file beside the program: when it is not there, the reader is told so instead of
    // seeing nothing happen.
    CWinApp* pApp = AfxGetApp();
    LPCSTR lpszHelp = pApp != NULL ? pApp->m_pszHelpFilePath : NULL;
    if (lpszHelp == NULL || *lpszHelp == '\0' || ::GetFileAttributes(lpszHelp) == INVALID_FILE_ATTRIBUTES) {
        CString strMessage;
        strMessage.Format("The help for this program is not installed (%s).", lpszHelp != NULL ? lpszHelp : "");
        AfxMessageBox(strMessage, MB_OK | MB_ICONINFORMATION);
        return;
    }
    CFrameWnd::WinHelp(dwData, nCmd);
}

LRESULT CBaseWindow::OnCommandHelp(WPARAM, LPARAM lParam)
{
    DWORD_PTR nContext = static_cast<DWORD_PTR>(lParam);
    if (nContext == 0 && m_pCurrentView != NULL)
        nContext = static_cast<DWORD_PTR>(m_pCurrentView->GetDlgCtrlID());
    switch (nContext) {
    case IDW_ARTICLE:
    case IDW_JUSTLOOKING:
    case IDW_ATLAS:
    case IDW_MEDIA:
    case IDW_TIMEFRAME:
    case IDW_VLPLUS:
        WinHelp(nContext, HELP_CONTEXT);
        break;
    default:
        WinHelp(0, HELP_FINDER);
        break;
    }
    return TRUE;
}

void CBaseWindow::OnHelpTopics()
{
    WinHelp(0, HELP_FINDER);
}

// ---- companion programs ----

void CBaseWindow::RunWizardSelection()
{
    AppServices().ui.bF1Help = FALSE;
    CWizardSelectWnd dialog(this);
    dialog.DoModal();
    AppServices().ui.bF1Help = TRUE;
}

LRESULT CBaseWindow::OnWizardSelection(WPARAM, LPARAM)
{
    RunWizardSelection();
    return 0;
}

void CBaseWindow::OnWizards()
{
    RunWizardSelection();
}

LRESULT CBaseWindow::OnStartCompanion(WPARAM, LPARAM)
{
    return CCompanionLauncher::Launch(AfxGetCurrentMessage()->message);
}

void CBaseWindow::OnSurfJubilee()
{
    CCompanionLauncher::Launch(VLM_JUBILEE);
}

LRESULT CBaseWindow::OnTimelineViewer(WPARAM, LPARAM lParam)
{
    return CCompanionLauncher::DriveTimelineViewer(reinterpret_cast<TimelineRequest*>(lParam));
}

void CBaseWindow::OnNotepad()
{
    CCompanionLauncher::LaunchNotepad();
}

void CBaseWindow::OnWordProcessor()
{
    CString strProgram = GetAppProfileString(VL_PRODUCT_SECTION, "WPL", "");
    if (strProgram.IsEmpty()) {
        char szPath[MAX_PATH] = "";
        if (::SearchPath(NULL, "notepad", ".exe", sizeof(szPath), szPath, NULL) != 0)
            strProgram = szPath;
    }
    WriteAppProfileString(VL_PRODUCT_SECTION, "WPL", strProgram);
    if (strProgram.IsEmpty()) {
        AfxMessageBox("No word processor is installed. Choose one under File > Options.",
                      MB_OK | MB_ICONINFORMATION);
        return;
    }
    if (m_wordProcessor.hProcess != NULL) {
        DWORD dwCode = 0;
        if (!::GetExitCodeProcess(m_wordProcessor.hProcess, &dwCode))
            return;
        if (dwCode == STILL_ACTIVE) {
            CCompanionLauncher::BringProcessWindowsForward(m_wordProcessor.dwProcessId);
            return;
        }
    }
    if (!CCompanionLauncher::StartProcess(strProgram, NULL, m_wordProcessor)) {
        CString strMessage;
        strMessage.Format("Unable to start the word processor (%s). Choose another under File > Options.",
                          static_cast<LPCSTR>(strProgram));
        AfxMessageBox(strMessage, MB_OK | MB_ICONEXCLAMATION);
    }
}

void CBaseWindow::OnUpdateWordProcessor(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(TRUE);
}

// ---- menu commands that go to the views ----

void CBaseWindow::OnFileSaveAs()
{
    if (m_pCurrentView != NULL && m_pCurrentView->GetDlgCtrlID() == IDW_ARTICLE)
        m_pCurrentView->SendMessage(VLM_SAVE_AS, 0, 0);
}

void CBaseWindow::OnUpdateFileSaveAs(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pCurrentView != NULL && m_pCurrentView->GetDlgCtrlID() == IDW_ARTICLE);
}

void CBaseWindow::OnFilePrint()
{
    if (m_pCurrentView != NULL)
        m_pCurrentView->OnFilePrint();
}

void CBaseWindow::OnFilePrintSetup()
{
    if (CWinApp* pApp = AfxGetApp())
        pApp->OnFilePrintSetup();
}

void CBaseWindow::OnUpdateFilePrint(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pCurrentView != NULL && m_pCurrentView->CanPrint());
}

void CBaseWindow::OnFileExit()
{
    PaintOverAndHide();
    DestroyWindow();
}

void CBaseWindow::OnClearAllHighlights()
{
    if (m_pArticleView == NULL || m_pArticleView->GetSafeHwnd() == NULL)
        return;
    // Every highlight of every article goes, and the reader's work with it: asked first.
    if (AfxMessageBox("Remove the highlights from every article?", MB_YESNO | MB_ICONQUESTION) != IDYES)
        return;
    m_pArticleView->SendMessage(VLM_CLEAR_ALL_HIGHLIGHTS, 0, 0);
}

void CBaseWindow::OnMonthlySpotlight()
{
    OpenView(IDW_ARTICLE, 1);
}

void CBaseWindow::OnFontSize(UINT nID)
{
    int nSize = static_cast<int>(nID - ID_FONT_SMALL);
    if (CMenu* pMenu = GetMenu())
        for (UINT nItem = ID_FONT_SMALL; nItem <= ID_FONT_LARGE; ++nItem)
            pMenu->CheckMenuItem(nItem, MF_BYCOMMAND | (nItem == nID ? MF_CHECKED : MF_UNCHECKED));
    WriteAppProfileInt("Screen", "Font Size", nSize);
    if (m_pCurrentView != NULL)
        m_pCurrentView->SendMessage(VLM_FONT_SIZE, 0, nSize);
}

void CBaseWindow::OnRecentArticle(UINT nID)
{
    if (m_pArticleView != NULL && m_pArticleView->GetSafeHwnd() != NULL)
        m_pArticleView->SendMessage(VLM_OPEN_RECENT, 0, static_cast<LPARAM>(nID - ID_RECENT_FIRST));
}

void CBaseWindow::OnContributors(UINT nID)
{
    CWnd* pView = FindOrCreateView(IDW_ARTICLE);
    if (pView == NULL || !PrepareViewData(IDW_ARTICLE, 0))
        return;
    pView->SendMessage(VLM_CONTRIBUTORS, IDW_ARTICLE, static_cast<LPARAM>(nID - ID_CONTRIBUTORS_FIRST + 1));
}

void CBaseWindow::OnOptions()
{
    LRESULT location = m_pCurrentView != NULL ? m_pCurrentView->SendMessage(VLM_DATA_LOCATION, 0, 0)
                                              : VL_DEFAULT_DATA_LOCATION;
    if (!ResolveDataLocation(DDT_INFO_DAT, 1))
        return;
    // Every setting the dialog's disc choice writes, as it was: a choice that finds no disc is
    // undone whole, so that the search goes back to the place that worked.
    struct Setting {
        LPCSTR lpszSection;
        LPCSTR lpszKey;
        CString strValue;
        BOOL bPresent;
    } settings[] = {{VL_PRODUCT_SECTION, "CD1", "", FALSE},
                    {VL_PRODUCT_SECTION, "CD2", "", FALSE},
                    {"File Locations", "CD1", "", FALSE},
                    {"Files", "DataDir", "", FALSE}};
    for (Setting& setting : settings) {
        setting.strValue = GetAppProfileString(setting.lpszSection, setting.lpszKey, "\x01");
        setting.bPresent = setting.strValue != "\x01";
    }
    int nResult = GetAppHost().RunPreferencesDialog();
    if (nResult == IDOK && !LocateFirstDisc()) {
        for (const Setting& setting : settings)
            WriteAppProfileString(setting.lpszSection, setting.lpszKey,
                                  setting.bPresent ? static_cast<LPCSTR>(setting.strValue) : NULL);
        LocateFirstDisc();
    }
    if (LOWORD(location) != 1)
        ResolveDataLocation(HIWORD(location), LOWORD(location));
}

void CBaseWindow::OnAbout()
{
    OpenView(IDW_ARTICLE, 0);
    CWaitCursor wait;
    CCreditsWin about;
    about.RunTabDialog();
}

void CBaseWindow::OnUpdateOptions(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetAppProfileString(VL_PRODUCT_SECTION, "LOCKED", "").CompareNoCase("y") != 0);
}

// ---- edit commands ----

BOOL CBaseWindow::DictionaryPaneHasFocus() const
{
    if (m_pDictionaryPane == NULL || m_pDictionaryPane->GetSafeHwnd() == NULL || !m_pDictionaryPane->IsWindowVisible())
        return FALSE;
    HWND hFocus = ::GetFocus();
    return hFocus != NULL && (hFocus == m_pDictionaryPane->GetSafeHwnd() || ::IsChild(m_pDictionaryPane->GetSafeHwnd(), hFocus));
}

BOOL CBaseWindow::IsArticleCurrent() const
{
    return m_pCurrentView != NULL && m_pCurrentView->GetDlgCtrlID() == IDW_ARTICLE;
}

BOOL CBaseWindow::CanFindInArticle() const
{
    return IsArticleCurrent() && m_pArticleView != NULL && m_pArticleView->GetDiscArticleRin() != 0;
}

void CBaseWindow::OnEditCopy()
{
    if (DictionaryPaneHasFocus())
        m_pDictionaryPane->CopyToClipboard();
    else if (m_pCurrentView != NULL)
        m_pCurrentView->OnEditCopy();
}

void CBaseWindow::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    if (DictionaryPaneHasFocus())
        m_pDictionaryPane->UpdateCopyCommand(pCmdUI);
    else if (m_pCurrentView != NULL)
        m_pCurrentView->OnUpdateEditCopy(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

void CBaseWindow::OnEditSelectAll()
{
    if (IsArticleCurrent())
        m_pCurrentView->SendMessage(VLM_SELECT_ALL, 0, 0);
    else if (m_pCurrentView != NULL)
        m_pCurrentView->OnEditSelectAll();
}

void CBaseWindow::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    if (IsArticleCurrent() && m_pArticleView != NULL)
        pCmdUI->Enable(ArticlePageFocused(*m_pArticleView));
    else if (m_pCurrentView != NULL)
        m_pCurrentView->OnUpdateEditSelectAll(pCmdUI);
    else
        pCmdUI->Enable(FALSE);
}

void CBaseWindow::OnFindInArticle()
{
    CString strDir;
    if (!GetDataDir(strDir, 1, 1, TRUE))
        return;
    if (m_pArticleView == NULL || m_pArticleView->GetSafeHwnd() == NULL || m_pArticleView->GetArticleRin() == 0)
        return;
    CFindWin find;
    find.SetArticle(m_pArticleView->GetArticleRin());
    find.SetFinder([](const CString& strWord, LONG nArticle) -> CReference* {
        CSearchEngine* pEngine = GetAppSearchEngine();
        return pEngine != NULL ? pEngine->FindInArticle(strWord, nArticle) : NULL;
    });
    if (find.RunTabDialog() == IDCANCEL)
        return;
    CReference* pHits = find.TakeHitReference();
    if (pHits != NULL && !m_pArticleView->PostMessage(VLM_OPEN_WINDOW, 1, reinterpret_cast<LPARAM>(pHits)))
        delete pHits;
}

void CBaseWindow::OnUpdateFindInArticle(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanFindInArticle());
}

void CBaseWindow::OnFindNext()
{
    if (IsArticleCurrent())
        m_pCurrentView->SendMessage(VLM_FIND_NEXT, 0, 0);
}

void CBaseWindow::OnUpdateFindNext(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(CanFindInArticle() && ArticleCanFindAgain(*m_pArticleView));
}

void CBaseWindow::OnClearArticleHighlights()
{
    if (m_pArticleView != NULL && m_pArticleView->GetSafeHwnd() != NULL)
        m_pArticleView->SendMessage(VLM_CLEAR_HIGHLIGHTS, 0, 0);
}

void CBaseWindow::OnUpdateClearArticleHighlights(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pArticleView != NULL && m_pArticleView->GetSafeHwnd() != NULL &&
                   ArticleHasHighlights(*m_pArticleView));
}

// ---- online services on and off ----

void CBaseWindow::OnToggleOnlineServices()
{
    CCloud* pCloud = GetAppCloud();
    if (pCloud == NULL)
        return;
    try {
        if (pCloud->IsDisabled()) {
            try {
                pCloud->Enable();
            } catch (CNotSupportedException* e) {
                // The product cannot switch its online services on: the reader is told.
                e->Delete();
                AfxMessageBox("Sorry.  The online system could not be initialized.");
            }
            return;
        }
        if (pCloud->IsDownloading()) {
            AfxMessageBox("Sorry.  You cannot disable online services while a download is in progress.");
            return;
        }
        pCloud->Disable();
        AfxMessageBox("The online system has been disabled.");
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
}

void CBaseWindow::OnUpdateToggleOnlineServices(CCmdUI* pCmdUI)
{
    CCloud* pCloud = GetAppCloud();
    pCmdUI->SetText(pCloud != NULL && pCloud->IsDisabled() ? "Enable" : "Disable");
}

// ---- the online manager's commands ----

namespace {

// Runs one online operation: a give-up (the user exception, told already) ends it quietly; any
// other failure is reported.
template <typename Operation>
void RunOnline(Operation operation)
{
    try {
        operation();
    } catch (CUserException* e) {
        TRACE("CUserException caught.\n");
        e->Delete();
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
}

}  // namespace

void CBaseWindow::OnOnlineConnect()
{
    CCloud* pCloud = GetAppCloud();
    if (pCloud == NULL || pCloud->IsOnline())
        return;
    RunOnline([pCloud] { pCloud->Connect(); });
}

void CBaseWindow::OnUpdateOnlineConnect(CCmdUI* pCmdUI)
{
    CCloud* pCloud = GetAppCloud();
    const BOOL bEnable = pCloud != NULL && pCloud->HasConnection() && !pCloud->IsConnectBusy();
    pCmdUI->Enable(bEnable);
    pCmdUI->SetCheck(bEnable && pCloud->IsOnline() ? 1 : 0);
}

void CBaseWindow::OnOnlineDisconnect()
{
    CCloud* pCloud = GetAppCloud();
    if (pCloud == NULL || !pCloud->IsOnline())
        return;
    if (pCloud->IsDownloading()) {
        AfxMessageBox("Sorry.  You cannot disconnect while a download is in progress.");
        return;
    }
    RunOnline([pCloud] { pCloud->Disconnect(); });
}

void CBaseWindow::OnUpdateOnlineDisconnect(CCmdUI* pCmdUI)
{
    CCloud* pCloud = GetAppCloud();
    const BOOL bEnable = pCloud != NULL && pCloud->HasConnection() && !pCloud->IsDisconnectBusy();
    pCmdUI->Enable(bEnable);
    pCmdUI->SetCheck(bEnable && !pCloud->IsOnline() ? 1 : 0);
}

void CBaseWindow::OnOnlineConfigure()
{
    if (CCloud* pCloud = GetAppCloud())
        RunOnline([pCloud] { pCloud->RunConfigurationDialog(); });
}

void CBaseWindow::OnMessageCentre()
{
    if (CCloud* pCloud = GetAppCloud())
        RunOnline([pCloud] { pCloud->ShowMessageCenter(); });
}

void CBaseWindow::OnDownloadDirectory()
{
    if (CCloud* pCloud = GetAppCloud())
        RunOnline([pCloud] { pCloud->DeleteDownloads(); });
}
