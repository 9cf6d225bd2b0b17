#include "shell/MainMenu.h"

#include "base/AppHost.h"

#include "base/AppServices.h"
#include "base/DataFolders.h"

#include <cstdio>
#include <cstdlib>

namespace {

const MAIN_MENU_ROW kRows[kMainMenuButtons] = {
    {100, "Browse Veltra", "VL:MainMenu:BrowseVeltra", 7877, kChoiceBrowse, {{250, 120}, {313, 152}, {399, 192}}},
    {101, "Browse Media", "VL:MainMenu:BrowseMedia", 7924, kChoiceMedia, {{250, 160}, {313, 202}, {399, 256}}},
    {102, "Browse Monthly Spotlight", "VL:MainMenu:BrowseMonthlySpotlight", 8015, kChoiceMonthlySpotlight,
     {{250, 200}, {313, 251}, {399, 319}}},
    {103, "Search Topics", "VL:MainMenu:SearchTopics", 8006, kChoiceTopicSearch, {{83, 40}, {169, 52}, {132, 64}}},
    {104, "Search Maps", "VL:MainMenu:SearchMaps", 7918, kChoiceAtlas, {{83, 80}, {169, 103}, {132, 129}}},
    {105, "Search Dictionary", "VL:MainMenu:SearchDictionary", 7863, kChoiceDictionary,
     {{83, 120}, {129, 152}, {132, 192}}},
    {106, "Search Dido Dovov", "VL:MainMenu:SearchTimeFrame", 7976, kChoiceDidoDovov,
     {{83, 160}, {113, 202}, {132, 256}}},
    {107, "Search What's Online", "VL:MainMenu:WhatsOnline", 8021, kChoiceOnline, {{83, 200}, {103, 251}, {132, 319}}},
    {108, "Update Now", "VL:MainMenu:UpdateNow", 8012, kChoiceOnline, {{470, 80}, {588, 103}, {751, 129}}},
    {109, "Surf Jubilee", "VL:MainMenu:SurfJubilee", 8210, kChoiceJubilee, {{250, 80}, {313, 103}, {399, 129}}},
    {110, "Homework Wizards", "VL:MainMenu:HomeworkWizards", 7891, kChoiceWizards, {{408, 120}, {510, 152}, {652, 192}}},
    {111, "Homework Wizards", "VL:MainMenu:Folio", 8256, kChoiceSuiteMenu, {{408, 160}, {510, 202}, {708, 256}}},
    {112, "Exit", "VL:MainMenu:Exit", 7930, kChoiceExit, {{535, 392}, {669, 492}, {855, 625}}},
};
constexpr int kUpdateRow = 8;
constexpr int kWizardsRow = 10;
constexpr int kFolioRow = 11;
constexpr UINT kUpdateBitmap = 8012;

const POINT kBrowseCaption[3] = {{282, 2}, {350, 3}, {451, 4}};
const POINT kSearchCaption[3] = {{64, 2}, {80, 3}, {101, 4}};

struct REMINDER_LAYOUT {
    RECT rect;
    int nPoints;
};
const REMINDER_LAYOUT kReminder[3] = {{{427, 38, 616, 78}, 12}, {{527, 50, 770, 100}, 16}, {{676, 64, 984, 124}, 20}};

CWnd* AppMainWindow()
{
    CWinApp* pApp = AfxGetApp();
    CWnd* pMain = pApp != NULL ? pApp->m_pMainWnd : NULL;
    return pMain != NULL && pMain->GetSafeHwnd() != NULL ? pMain : NULL;
}

int RowOfBitmap(UINT nBitmap)
{
    for (int i = 0; i < kMainMenuButtons; ++i)
        if (kRows[i].nBitmap == nBitmap)
            return i;
    return -1;
}

}  // namespace

const MAIN_MENU_ROW* MainMenuRows() { return kRows; }

UINT MainMenuMessage(int nRow)
{
    static UINT s_messages[kMainMenuButtons] = {};
    if (nRow < 0 || nRow >= kMainMenuButtons)
        return 0;
    if (s_messages[nRow] == 0)
        s_messages[nRow] = ::RegisterWindowMessage(kRows[nRow].pszMessage);
    return s_messages[nRow];
}

MAIN_MENU_STATE& MainMenuState()
{
    static MAIN_MENU_STATE s_state;
    return s_state;
}

// ---------------------------------------------------------------------------------------------
// Process-wide operations

void WaitPumpingMessages(DWORD dwMilliseconds)
{
    const DWORD dwEnd = ::GetTickCount() + dwMilliseconds;
    MSG msg;
    while (LONG(::GetTickCount() - dwEnd) < 0) {
        if (::PeekMessage(&msg, NULL, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // Left for the message loop that owns the thread.
                ::PostQuitMessage(int(msg.wParam));
                return;
            }
            if (!MainMenuPreTranslate(&msg)) {
                ::TranslateMessage(&msg);
                ::DispatchMessage(&msg);
            }
        } else {
            // Nothing queued: sleep until something is, or the time is up.
            const DWORD dwNow = ::GetTickCount();
            const DWORD dwLeft = LONG(dwEnd - dwNow) > 0 ? dwEnd - dwNow : 0;
            if (::MsgWaitForMultipleObjects(0, NULL, FALSE, dwLeft, QS_ALLINPUT) == WAIT_TIMEOUT &&
                ::GetTickCount() == dwNow)
                ::Sleep(dwLeft);  // a clock that only moves when slept on (the tests' clock)
        }
    }
}

BOOL IsMainMenuUp() { return MainMenuState().pMenu != NULL; }

BOOL IsMenuAnimating()
{
    MAIN_MENU_STATE& state = MainMenuState();
    if (state.pMenu != NULL && state.bFadeRunning)
        WaitPumpingMessages(1000);
    return state.bFadeRunning;
}

CString MainMenuTitle()
{
    return CString("Main Menu ") + AfxGetAppName();
}

void ShowMainMenu(int nSteps, BOOL bHosted)
{
    MAIN_MENU_STATE& state = MainMenuState();
    state.lChoiceParam = 0;
    if (state.pMenu != NULL)
        return;
    CWnd* pOwner = AppMainWindow();
    CMainMenuWnd* pMenu = new CMainMenuWnd;
    state.pMenu = pMenu;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           HBRUSH(::GetStockObject(BLACK_BRUSH)),
                                           ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(147)));
    CString strTitle = MainMenuTitle();
    try {
        if (!pMenu->CreateEx(0, lpszClass, strTitle, WS_POPUP | WS_VISIBLE | WS_BORDER, 0, 0, 0, 0,
                             pOwner != NULL ? pOwner->GetSafeHwnd() : NULL, NULL)) {
            // A window that never came up deleted nothing of itself.
            if (state.pMenu == pMenu) {
                state.pMenu = NULL;
                delete pMenu;
            }
            return;
        }
    } catch (CException* e) {
        e->Delete();
        if (state.pMenu == pMenu) {
            state.pMenu = NULL;
            if (pMenu->GetSafeHwnd() != NULL)
                pMenu->DestroyWindow();
            else
                delete pMenu;
        }
        return;
    }
    pMenu->CenterWindow(pOwner);
    pMenu->SetHosted(bHosted);
    pMenu->ShowSplash();
    if (state.pMenu == pMenu)
        pMenu->SetFadeSteps(nSteps);
}

void DismissSplash(BOOL bDestroy)
{
    MAIN_MENU_STATE& state = MainMenuState();
    CMainMenuWnd* pMenu = state.pMenu;
    if (pMenu == NULL)
        return;
    if (pMenu->m_pSplash != NULL) {
        pMenu->FadeSplashOut();
        delete pMenu->m_pSplash;
        pMenu->m_pSplash = NULL;
        state.bSplashOver = TRUE;
        state.bSplashShowing = FALSE;
    }
    if (bDestroy) {
        pMenu->ShowWindow(SW_HIDE);
        pMenu->DestroyWindow();
    } else if (pMenu->m_pBackground != NULL) {
        pMenu->ShowSplash();
    }
}

void CloseMainMenu(BOOL bDestroy)
{
    MAIN_MENU_STATE& state = MainMenuState();
    CMainMenuWnd* pMenu = state.pMenu;
    if (pMenu == NULL)
        return;
    if (!pMenu->IsFadedOut()) {
        pMenu->FadeMenuOut();
        while (IsMenuAnimating()) {
        }
    }
    if (bDestroy && state.pMenu == pMenu) {
        pMenu->ShowWindow(SW_HIDE);
        pMenu->DestroyWindow();
        state.pMenu = NULL;
    }
}

BOOL MainMenuPreTranslate(MSG* pMsg)
{
    MAIN_MENU_STATE& state = MainMenuState();
    CMainMenuWnd* pMenu = state.pMenu;
    if (pMenu == NULL || pMsg == NULL || state.bFadeRunning || state.bSplashShowing || pMenu->GetSafeHwnd() == NULL)
        return FALSE;
    if (pMsg->message != WM_MOUSEMOVE && pMsg->message != WM_LBUTTONUP)
        return FALSE;
    // The point in the menu's client coordinates, from wherever the message was addressed.
    CPoint point(GET_X_LPARAM(pMsg->lParam), GET_Y_LPARAM(pMsg->lParam));
    if (pMsg->hwnd != NULL)
        ::ClientToScreen(pMsg->hwnd, &point);
    pMenu->ScreenToClient(&point);
    UINT nHit = pMenu->HitTest(point);
    if (pMsg->message == WM_MOUSEMOVE) {
        if (nHit != 0) {
            pMenu->Highlight(nHit);
        } else {
            pMenu->RestoreCaptionStrip();
            pMenu->RemoveHighlight();
        }
        return FALSE;
    }
    if (nHit == 0) {
        pMenu->RemoveHighlight();
        return FALSE;
    }
    pMenu->Highlight(nHit);
    int nRow = RowOfBitmap(nHit);
    if (state.nChoice == 0) {
        state.nChoice = kRows[nRow].nCode;
        if (nHit == kUpdateBitmap)
            state.lChoiceParam = pMenu->GetShowReminder() ? 2 : 1;
    }
    if (pMenu->IsHosted())
        pMenu->ChooseView();
    return TRUE;
}

// ---------------------------------------------------------------------------------------------
// CMainMenuWnd

BEGIN_MESSAGE_MAP(CMainMenuWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ACTIVATE()
    ON_MESSAGE(WM_VL_MAINMENU_SHOWSTEP, OnShowStep)
    ON_MESSAGE(WM_VL_MAINMENU_SERVICESUP, OnServicesUp)
    ON_MESSAGE(WM_VL_MAINMENU_NOTHING, OnNothing)
END_MESSAGE_MAP()

CMainMenuWnd::CMainMenuWnd()
{
    MAIN_MENU_STATE& state = MainMenuState();
    state.nChoice = 0;
    m_nScreenClass = GetAppScreenClass();
    if (m_nScreenClass < 0 || m_nScreenClass > 2)
        m_nScreenClass = 0;
}

CMainMenuWnd::~CMainMenuWnd()
{
    MAIN_MENU_STATE& state = MainMenuState();
    delete m_pBackground;
    delete m_pSplash;
    delete m_pUpdateFace;
    delete m_pWizardsFace;
    delete m_pBrowseCaption;
    delete m_pSearchCaption;
    for (BUTTON_RECORD& row : m_rows)
        delete row.pHover;
    if (state.nChoice != kChoiceExit) {
        if (CWnd* pMain = AppMainWindow())
            pMain->PostMessage(WM_QUERYNEWPALETTE, 0, 0);
    }
    if (state.pMenu == this)
        state.pMenu = NULL;
}

void CMainMenuWnd::PostNcDestroy()
{
    MAIN_MENU_STATE& state = MainMenuState();
    if (state.pMenu == this)
        state.pMenu = NULL;
    delete this;
}

BOOL CMainMenuWnd::PaletteDisplay()
{
    CClientDC dc(this);
    return DeviceBitsPerPixel(&dc) <= 8;
}

int CMainMenuWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CreateButtons();
    CClientDC dc(this);
    m_pBackground = new CMenuPaletteDib;
    BOOL bLoaded = m_pBackground->LoadFromResource(&dc, IDB_MENU_BACKGROUND);
    if (bLoaded) {
        PlaceWizardsFace();
        CopyIntoBackground(m_pUpdateFace, m_rows[kUpdateRow].rect.TopLeft());
    }
    m_nMonths = GetAppHost().MonthsSinceUpdate();
    CString strSleep = GetAppProfileString(VL_PRODUCT_SECTION, "Update Notice Sleep", "");
    long long nSleep = std::atoll(strSleep);
    if (m_nMonths > 0 && nSleep < static_cast<long long>(CTime::GetCurrentTime().GetTime()))
        m_bShowReminder = TRUE;
    if (!bLoaded)
        return -1;
    SetWindowPos(NULL, 0, 0, m_pBackground->GetWidth(), std::abs(m_pBackground->GetHeight()),
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return 0;
}

void CMainMenuWnd::CreateButtons()
{
    m_ptBrowseCaption = kBrowseCaption[m_nScreenClass];
    m_ptSearchCaption = kSearchCaption[m_nScreenClass];
    auto make = [](UINT nId) -> CMenuPaletteDib* {
        try {
            return new CMenuPaletteDib(nId);
        } catch (CException* e) {
            e->Delete();
            return NULL;
        }
    };
    m_pWizardsFace = make(IDB_MENU_WIZARDS_FACE);
    m_pUpdateFace = make(IDB_MENU_UPDATE_FACE);
    m_pBrowseCaption = make(IDB_MENU_BROWSE_CAPTION);
    m_pSearchCaption = make(IDB_MENU_SEARCH_CAPTION);
    const BOOL bPalette = PaletteDisplay();
    if (bPalette) {
        for (CMenuPaletteDib* p : {m_pWizardsFace, m_pUpdateFace, m_pBrowseCaption, m_pSearchCaption})
            if (p != NULL)
                p->UsePaletteIndices();
    }
    for (int i = 0; i < kMainMenuButtons; ++i) {
        BUTTON_RECORD& row = m_rows[i];
        row.nBitmap = kRows[i].nBitmap;
        row.nCode = kRows[i].nCode;
        try {
            row.pHover = new CMenuPaletteDib(kRows[i].nBitmap);
            if (bPalette)
                row.pHover->UsePaletteIndices();
            POINT pt = kRows[i].ptLayout[m_nScreenClass];
            row.rect = CRect(pt, CSize(row.pHover->GetWidth(), std::abs(row.pHover->GetHeight())));
        } catch (CException* e) {
            e->Delete();
            row.pHover = NULL;
            AfxMessageBox("failed to create menu button");
        }
    }
    // The system's push buttons, without a size: they carry the rows' captions for the reader's
    // tools and pass a click (BM_CLICK) on as the row's command.
    for (int i = 0; i < kMainMenuButtons; ++i)
        m_buttons[i].Create(kRows[i].pszCaption, WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, CRect(0, 0, 0, 0), this,
                            kRows[i].nId);
}

void CMainMenuWnd::CopyIntoBackground(CMenuPaletteDib*& pPicture, POINT pt)
{
    if (pPicture == NULL || m_pBackground == NULL)
        return;
    // Pixels are indexes into one colour table shared by the menu's pictures.
    if (pPicture->GetInfoHeader()->biBitCount == 8 && m_pBackground->GetInfoHeader()->biBitCount == 8)
        m_pBackground->CopyRectFrom(pt.x, pt.y, pPicture, 0, 0, UINT(pPicture->GetWidth()),
                                    UINT(std::abs(pPicture->GetHeight())));
    delete pPicture;
    pPicture = NULL;
}

void CMainMenuWnd::PlaceWizardsFace()
{
    if (m_pWizardsFace != NULL && m_pBackground != NULL)
        CopyIntoBackground(m_pWizardsFace, m_rows[kWizardsRow].rect.TopLeft());
}

void CMainMenuWnd::ShowSplash()
{
    MAIN_MENU_STATE& state = MainMenuState();
    {
        CClientDC dc(this);
        CRect client;
        GetClientRect(&client);
        dc.PatBlt(0, 0, client.Width(), client.Height(), BLACKNESS);
    }
    ShowWindow(SW_SHOW);
    if (!state.bSplashOver && m_pSplash == NULL) {
        CString strDir;
        if (GetDataDir(strDir, 1, 1, TRUE)) {
            CString strPath = GetAppProfileString("Files", "Splash", strDir + "splash.bmp");
            if (::GetFileAttributes(strPath) != INVALID_FILE_ATTRIBUTES) {
                CClientDC dc(this);
                CMenuPaletteDib* pSplash = new CMenuPaletteDib;
                if (pSplash->LoadFromFile(&dc, strPath)) {
                    m_pSplash = pSplash;
                    state.bSplashShowing = TRUE;
                    CRect client;
                    GetClientRect(&client);
                    state.ptSplash.x = (client.Width() - pSplash->GetWidth()) / 2;
                    state.ptSplash.y = (client.Height() - std::abs(pSplash->GetHeight())) / 2;
                    Invalidate();
                    UpdateWindow();
                    pSplash->FadeIn(&dc, 15);
                } else {
                    delete pSplash;
                }
            } else {
                CString strText;
                strText.Format("Splash graphic not found: %s", (LPCSTR)strPath);
                AfxMessageBox(strText, MB_ICONEXCLAMATION);
            }
        }
    }
    if (!state.bSplashShowing && m_pBackground != NULL) {
        m_bFadedOut = FALSE;
        m_bAnimating = TRUE;
        CClientDC dc(this);
        m_pBackground->FadeIn(&dc, m_nFadeSteps);
        m_bAnimating = FALSE;
    }
}

void CMainMenuWnd::FadeSplashOut()
{
    if (m_pSplash == NULL)
        return;
    CClientDC dc(this);
    m_pSplash->FadeOut(&dc, 15);
}

void CMainMenuWnd::FadeMenuOut()
{
    m_bAnimating = TRUE;
    if (m_pBackground != NULL) {
        CClientDC dc(this);
        m_pBackground->FadeOut(&dc, m_nFadeSteps);
    }
    m_bFadedOut = TRUE;
    m_bAnimating = FALSE;
}

void CMainMenuWnd::OnPaint()
{
    CPaintDC dc(this);
    MAIN_MENU_STATE& state = MainMenuState();
    const BOOL bPalette = DeviceBitsPerPixel(&dc) <= 8;
    if (m_pSplash != NULL)
        m_pSplash->DrawAt(&dc, state.ptSplash.x, state.ptSplash.y, bPalette);
    else if (m_pBackground != NULL)
        m_pBackground->DrawAt(&dc, 0, 0, bPalette);
    // A button lit under the mouse stays lit when the window is painted again.
    int nLit = RowOfBitmap(m_nHighlighted);
    if (m_pSplash == NULL && nLit >= 0 && m_rows[nLit].pHover != NULL)
        m_rows[nLit].pHover->DrawPart(&dc, m_pBackground != NULL ? m_pBackground->GetPalette() : NULL,
                                      m_rows[nLit].rect.left, m_rows[nLit].rect.top, bPalette, NULL);
    if (m_pSplash == NULL && state.bSplashOver && !m_bAnimating)
        DrawReminder(&dc);
}

void CMainMenuWnd::OnActivate(UINT nState, CWnd* pWndOther, BOOL bMinimized)
{
    CWnd::OnActivate(nState, pWndOther, bMinimized);
    if (nState != WA_INACTIVE)
        Invalidate();
}

LRESULT CMainMenuWnd::OnShowStep(WPARAM, LPARAM)
{
    ShowSplash();
    return 1;
}

LRESULT CMainMenuWnd::OnServicesUp(WPARAM, LPARAM)
{
    PlaceWizardsFace();
    return 0;
}

LRESULT CMainMenuWnd::OnNothing(WPARAM, LPARAM) { return 0; }

LRESULT CMainMenuWnd::WindowProc(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message >= 0xC000) {
        for (int i = 0; i < kMainMenuButtons; ++i)
            if (message == MainMenuMessage(i))
                return Choose(i) ? 1 : 0;
    }
    return CWnd::WindowProc(message, wParam, lParam);
}

BOOL CMainMenuWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    UINT nId = LOWORD(wParam);
    if (nId >= kRows[0].nId && nId <= kRows[kMainMenuButtons - 1].nId) {
        Choose(int(nId - kRows[0].nId));
        return TRUE;
    }
    return CWnd::OnCommand(wParam, lParam);
}

BOOL CMainMenuWnd::Choose(int nRow)
{
    MAIN_MENU_STATE& state = MainMenuState();
    if (nRow < 0 || nRow >= kMainMenuButtons)
        return FALSE;
    if (state.bFadeRunning || state.bSplashShowing)
        return FALSE;
    if (nRow == kFolioRow) {
        state.nChoice = kChoiceSuiteMenu;
        GetAppHost().LaunchSuiteMenu();
        return TRUE;
    }
    state.nChoice = kRows[nRow].nCode;
    if (nRow == kUpdateRow)
        state.lChoiceParam = m_bShowReminder ? 2 : 1;
    if (m_bHosted)
        ChooseView();
    return TRUE;
}

void CMainMenuWnd::ChooseView()
{
    MAIN_MENU_STATE& state = MainMenuState();
    HandMenuChoiceToFrame(AppMainWindow(), state.nChoice, state.lChoiceParam);
}

void HandMenuChoiceToFrame(CWnd* pFrame, int nChoice, LPARAM lParam)
{
    if (pFrame != NULL) {
        pFrame->SetActiveWindow();
        pFrame->SendMessage(VLM_MAIN_MENU_CHOICE, kChoiceBlankView, 0);
    }
    CloseMainMenu(TRUE);
    if (pFrame != NULL) {
        pFrame->SetActiveWindow();
        pFrame->SendMessage(VLM_MAIN_MENU_CHOICE, kChoiceBlankView, 0);
        pFrame->SendMessage(VLM_MAIN_MENU_CHOICE, WPARAM(nChoice), lParam);
        pFrame->UpdateWindow();
    }
}

int CMainMenuWnd::WaitForChoice(LPARAM* pParam)
{
    MAIN_MENU_STATE& state = MainMenuState();
    HANDLE hExtant = ::CreateEvent(NULL, TRUE, FALSE, "VLMainMenu:ButtonsExtant");
    if (hExtant != NULL)
        ::SetEvent(hExtant);
    HANDLE hExtinct = ::CreateEvent(NULL, FALSE, FALSE, "VLMainMenu:ButtonsExtinct");
    while (state.nChoice == 0 && state.pMenu != NULL)
        WaitPumpingMessages(1000);
    int nChoice = state.nChoice;
    if (nChoice != 0) {
        if (hExtant != NULL)
            ::ResetEvent(hExtant);
        if (hExtinct != NULL)
            ::PulseEvent(hExtinct);
    }
    if (pParam != NULL)
        *pParam = state.lChoiceParam;
    if (hExtant != NULL)
        ::CloseHandle(hExtant);
    if (hExtinct != NULL)
        ::CloseHandle(hExtinct);
    return nChoice;
}

UINT CMainMenuWnd::HitTest(CPoint point) const
{
    for (int i = 0; i < kMainMenuButtons; ++i) {
        if (i == kFolioRow)
            continue;  // its picture is inert to the mouse
        if (m_rows[i].rect.PtInRect(point))
            return m_rows[i].nBitmap;
    }
    return 0;
}

void CMainMenuWnd::DrawBackgroundPart(CDC* pDC, const CRect& rect)
{
    if (m_pBackground == NULL || rect.IsRectEmpty())
        return;
    // DIB rows are stored bottom-up: the part's top counts from the bottom row.
    LONG nRows = std::abs(m_pBackground->GetHeight());
    RECT source = {rect.left, nRows - rect.bottom, rect.right, nRows - rect.top};
    m_pBackground->DrawPart(pDC, m_pBackground->GetPalette(), rect.left, rect.top, DeviceBitsPerPixel(pDC) <= 8,
                            &source);
}

void CMainMenuWnd::Highlight(UINT nBitmap)
{
    if (nBitmap == m_nHighlighted)
        return;
    int nRow = RowOfBitmap(nBitmap);
    if (nRow < 0)
        return;
    BUTTON_RECORD& row = m_rows[nRow];
    if (row.pHover != NULL) {
        CClientDC dc(this);
        const BOOL bPalette = DeviceBitsPerPixel(&dc) <= 8;
        CPalette* pPalette = m_pBackground != NULL ? m_pBackground->GetPalette() : NULL;
        row.pHover->DrawPart(&dc, pPalette, row.rect.left, row.rect.top, bPalette, NULL);
        CMenuPaletteDib* pCaption = NULL;
        CPoint ptCaption;
        if (nRow <= 2 || nRow == 9) {
            pCaption = m_pBrowseCaption;
            ptCaption = m_ptBrowseCaption;
        } else if (nRow >= 3 && nRow <= 7) {
            pCaption = m_pSearchCaption;
            ptCaption = m_ptSearchCaption;
        }
        if (pCaption != NULL) {
            RestoreCaptionStrip();
            pCaption->DrawPart(&dc, pPalette, ptCaption.x, ptCaption.y, bPalette, NULL);
        }
    }
    RemoveHighlight();
    m_nHighlighted = nBitmap;
}

void CMainMenuWnd::RemoveHighlight()
{
    int nRow = RowOfBitmap(m_nHighlighted);
    if (nRow >= 0) {
        CClientDC dc(this);
        DrawBackgroundPart(&dc, m_rows[nRow].rect);
    }
    m_nHighlighted = 0;
}

void CMainMenuWnd::RestoreCaptionStrip()
{
    if (m_nHighlighted == 0 || m_pSearchCaption == NULL || m_pBrowseCaption == NULL)
        return;
    CClientDC dc(this);
    CRect strip(m_ptSearchCaption.x, m_ptSearchCaption.y, m_ptBrowseCaption.x + m_pBrowseCaption->GetWidth(),
                m_ptSearchCaption.y + std::abs(m_pSearchCaption->GetHeight()));
    DrawBackgroundPart(&dc, strip);
}

CString CMainMenuWnd::ReminderText() const
{
    CString strAge;
    if (m_nMonths < 12)
        strAge.Format("%d %s", m_nMonths, m_nMonths == 1 ? "month" : "months");
    else
        strAge = "over a year";
    CString strText;
    strText.Format("You haven't updated in\n%s.Click here to", (LPCSTR)strAge);
    return strText;
}

void CMainMenuWnd::DrawReminder(CDC* pDC)
{
    if (!m_bShowReminder || GetAppHost().IsOffline())
        return;
    const REMINDER_LAYOUT& layout = kReminder[m_nScreenClass];
    CFont font;
    font.CreateFont(-(layout.nPoints * pDC->GetDeviceCaps(LOGPIXELSY) / 72), 0, 0, 0, 600, FALSE, FALSE, FALSE,
                    ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, FF_ROMAN,
                    "Times New Roman");
    CFont* pOldFont = pDC->SelectObject(&font);
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    COLORREF crOld = pDC->SetTextColor(PALETTERGB(247, 0, 49));
    CRect rect(layout.rect);
    pDC->DrawText(ReminderText(), &rect, DT_LEFT | DT_TOP);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
    pDC->SelectObject(pOldFont);
}
