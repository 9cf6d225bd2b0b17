#include "shell/VLToolbar.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "online/VLPlusButton.h"
#include "shell/BaseWindow.h"
#include "shell/MainMenu.h"
#include "shell/Toolkit.h"
#include "widgets/RollOverButton.h"

#include <algorithm>

namespace {

// The screen class whose pictures the toolbar loaded last.
int s_nLoadedClass = -1;
// The live toolbar's Search and Dictionary buttons (the panes ask whether a window is one).
HWND s_hWndSearch = NULL;
HWND s_hWndDictionary = NULL;

const int kToolbarHeight = 62;
// By screen class: the left part's least width, the nominal width of the nine other buttons,
// the Tool Kit panel's overlap with its button.
const int kLeftPartMinimum[3] = {240, 333, 422};
const int kButtonWidth[3] = {44, 44, 47};
const int kPanelOverlap[3] = {11, 15, 19};

struct BUTTON_RECORD {
    int nID;
    LPCSTR lpszCaption;
    UINT nBitmaps[4];  // normal, pressed, disabled, alternate (0: none)
    UINT nHover;
};

const BUTTON_RECORD kButtons[] = {
    {CVLToolbar::btnSearch, "Search", {7947, 7944, 0, 7945}, 7946},
    {CVLToolbar::btnDictionary, "Dictionary", {7854, 7851, 0, 7852}, 7853},
    {CVLToolbar::btnBack, "Go Back", {7840, 7837, 0, 0}, 7839},
    {CVLToolbar::btnForward, "Go Forward", {8264, 8262, 0, 0}, 8263},
    {CVLToolbar::btnArticle, "Article", {7816, 7813, 0, 7814}, 7815},
    {CVLToolbar::btnTimeFrame, "Dido Dovov", {7982, 7979, 0, 7980}, 7981},
    {CVLToolbar::btnAtlas, "Atlas", {7828, 7825, 0, 7826}, 7827},
    {CVLToolbar::btnJustLooking, "Dada Vaveroz", {7897, 7894, 0, 7895}, 7896},
    {CVLToolbar::btnVLPlus, "VL Plus", {8030, 8027, 0, 8028}, 8029},
    {CVLToolbar::btnToolkit, "VL ToolKit", {7997, 7994, 0, 7995}, 7996},
    {CVLToolbar::btnHome, "Home", {7909, 7906, 0, 7907}, 7908},
    {CVLToolbar::btnStop, "Stop", {7967, 7964, 7968, 7965}, 7966},
};

const BUTTON_RECORD& Record(int nID)
{
    return kButtons[nID - 1];
}

// The frame command of a view or history button.
UINT ViewCommand(int nID)
{
    switch (nID) {
    case CVLToolbar::btnBack:
        return ID_GO_BACK;
    case CVLToolbar::btnForward:
        return ID_GO_FORWARD;
    case CVLToolbar::btnArticle:
        return ID_VIEW_ARTICLE;
    case CVLToolbar::btnTimeFrame:
        return ID_VIEW_TIMEFRAME;
    case CVLToolbar::btnAtlas:
        return ID_VIEW_ATLAS;
    case CVLToolbar::btnJustLooking:
        return ID_VIEW_JUSTLOOKING;
    default:
        return ID_VIEW_VLPLUS;
    }
}

// The view button of a main view's window id (0: none).
int ViewButton(UINT nViewID)
{
    switch (nViewID) {
    case IDW_ARTICLE:
    case IDW_TABLE:
        return CVLToolbar::btnArticle;
    case IDW_JUSTLOOKING:
        return CVLToolbar::btnJustLooking;
    case IDW_ATLAS:
        return CVLToolbar::btnAtlas;
    case IDW_TIMEFRAME:
        return CVLToolbar::btnTimeFrame;
    case IDW_VLPLUS:
        return CVLToolbar::btnVLPlus;
    default:
        return 0;
    }
}

int ClassIndex(int nScreenClass)
{
    return nScreenClass < 0 || nScreenClass > 2 ? 0 : nScreenClass;
}

}  // namespace

BEGIN_MESSAGE_MAP(CVLToolbar, CWnd)
    ON_WM_CREATE()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_COMMAND_RANGE(CVLToolbar::btnSearch, CVLToolbar::btnStop, OnButton)
    ON_MESSAGE(VLM_TOOLBAR_VIEW, OnLatchView)
    ON_MESSAGE(VLM_PANE_DOWN, OnPaneDown)
    ON_MESSAGE(VLM_PANE_UP, OnPaneUp)
    ON_MESSAGE(VLM_STOP_OFF, OnStopState)
END_MESSAGE_MAP()

CVLToolbar::CVLToolbar()
{
    m_brush.CreateSolidBrush(PALETTEINDEX(15));
}

CVLToolbar::~CVLToolbar()
{
    m_pSearchDrop.reset();
    m_pDictionaryDrop.reset();
    for (CRollOverButton*& pButton : m_pButtons) {
        delete pButton;
        pButton = NULL;
    }
    delete m_pToolkit;
    m_pToolkit = NULL;
    if (s_hWndSearch == m_hWndSearch)
        s_hWndSearch = NULL;
    if (s_hWndDictionary == m_hWndDictionary)
        s_hWndDictionary = NULL;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CVLToolbar::Create(CWnd* pParentWnd)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           static_cast<HBRUSH>(m_brush.GetSafeHandle()));
    CRect client(0, 0, 0, 0);
    if (pParentWnd != NULL)
        pParentWnd->GetClientRect(&client);
    CRect rect(0, 0, client.Width(), kToolbarHeight);
    return CWnd::Create(lpszClass, "Toolbar Window", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                        pParentWnd, 0);
}

int CVLToolbar::IsPaneButton(HWND hWnd)
{
    if (hWnd == NULL)
        return -1;
    if (hWnd == s_hWndDictionary)
        return 1;
    if (hWnd == s_hWndSearch)
        return 2;
    return -1;
}

int CVLToolbar::LoadedScreenClass()
{
    return s_nLoadedClass;
}

CRollOverButton* CVLToolbar::GetButton(int nID) const
{
    return nID >= btnSearch && nID <= btnStop ? m_pButtons[nID] : NULL;
}

BOOL CVLToolbar::IsButtonDown(int nID) const
{
    CRollOverButton* pButton = GetButton(nID);
    return pButton != NULL && pButton->IsAlternate();
}

int CVLToolbar::LeftPartWidth(int nWidth, int nScreenClass)
{
    int nMinimum = kLeftPartMinimum[ClassIndex(nScreenClass)];
    int nShare = static_cast<int>(nWidth * 0.35);
    return nShare > nMinimum ? nShare : nMinimum;
}

int CVLToolbar::ButtonGap(int nWidth, int nLeftPart, int nScreenClass)
{
    int nGap = (nWidth - nLeftPart - 9 * kButtonWidth[ClassIndex(nScreenClass)]) / 8;
    return nGap > 0 ? nGap : 0;
}

// ---- creation and layout ----

int CVLToolbar::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CWnd* pParent = GetParent();
    CRect parent(0, 0, 0, 0);
    if (pParent != NULL)
        pParent->GetClientRect(&parent);

    for (const BUTTON_RECORD& button : kButtons)
        m_pButtons[button.nID] = button.nID == btnVLPlus ? new CVLPlusButton : new CRollOverButton;
    m_pToolkit = new CToolkit;
    m_pToolkit->SetToolbar(this);

    static const int order[] = {btnSearch, btnStop, btnHome, btnDictionary, btnBack, btnForward,
                                btnArticle, btnJustLooking, btnAtlas, btnTimeFrame, btnVLPlus, btnToolkit};
    BOOL bCreated = TRUE;
    for (int nID : order)
        bCreated = m_pButtons[nID]->Create(Record(nID).lpszCaption, WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 0, 0), this,
                                           static_cast<UINT>(nID));
    if (!bCreated)
        return -1;

    // The panel belongs to the frame's client area, over the views.
    if (pParent != NULL)
        m_pToolkit->Create(pParent, 0, 0);

    LoadBitmaps(GetAppScreenClass());
    Layout(parent.Width());

    for (CRollOverButton* pButton : m_pButtons)
        if (pButton != NULL)
            pButton->ShowWindow(SW_SHOWNA);
    m_hWndSearch = s_hWndSearch = m_pButtons[btnSearch]->GetSafeHwnd();
    m_hWndDictionary = s_hWndDictionary = m_pButtons[btnDictionary]->GetSafeHwnd();

    if (auto* pFrame = dynamic_cast<CBaseWindow*>(pParent)) {
        m_pSearchDrop = std::make_unique<CFramePaneDropTarget>(*pFrame, 1, m_pButtons[btnSearch]);
        m_pDictionaryDrop = std::make_unique<CFramePaneDropTarget>(*pFrame, 2, m_pButtons[btnDictionary]);
    }
    return 0;
}

void CVLToolbar::LoadBitmaps(int nScreenClass)
{
    static const int order[] = {btnSearch, btnDictionary, btnBack, btnForward, btnArticle, btnAtlas,
                                btnHome, btnJustLooking, btnTimeFrame, btnVLPlus, btnStop, btnToolkit};
    for (int nID : order) {
        CRollOverButton* pButton = m_pButtons[nID];
        const BUTTON_RECORD& record = Record(nID);
        if (!pButton->LoadStateBitmaps(record.nBitmaps[0], record.nBitmaps[1], 0, record.nBitmaps[2],
                                       record.nBitmaps[3]))
            break;
        pButton->LoadDib(record.nHover);
        if (nID == btnVLPlus)
            static_cast<CVLPlusButton*>(pButton)->SetBitmaps(8107, 8091);
        pButton->SizeToBitmap();
        pButton->SetState(FALSE);
    }
    s_nLoadedClass = nScreenClass;
}

void CVLToolbar::Layout(int nWidth)
{
    if (m_pButtons[btnSearch] == NULL)
        return;
    const int nClass = GetAppScreenClass();
    const int c = ClassIndex(nClass);
    m_nWidth = nWidth;
    m_nLeftPart = LeftPartWidth(nWidth, nClass);
    if (nClass != s_nLoadedClass)
        LoadBitmaps(nClass);

    CRect client;
    GetClientRect(&client);
    const int nHeight = client.Height();
    auto size = [](CWnd* pButton) {
        CRect rect;
        pButton->GetWindowRect(&rect);
        return rect.Size();
    };
    auto place = [](CWnd* pButton, int x, int y) {
        pButton->SetWindowPos(NULL, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    };

    // The Tool Kit button, and the panel hanging from it.
    CRollOverButton* pToolkitButton = m_pButtons[btnToolkit];
    CSize toolkit = size(pToolkitButton);
    place(pToolkitButton, 5, (nHeight - toolkit.cy) / 2);
    if (m_pToolkit != NULL && m_pToolkit->GetSafeHwnd() != NULL) {
        CRect button;
        pToolkitButton->GetWindowRect(&button);
        m_pToolkit->GetParent()->ScreenToClient(&button);
        CRect panel;
        m_pToolkit->GetClientRect(&panel);
        const int nPanelWidth = CToolkit::PanelWidth(nClass);
        const int nLeft = button.left + (button.Width() - nPanelWidth) / 2;
        const int nTop = button.bottom + 1 - kPanelOverlap[c];
        // The panel keeps its height; a layout never shrinks an open panel.
        m_pToolkit->MoveWindow(nLeft, nTop, nPanelWidth, panel.Height(), TRUE);
    }

    // Search and Dictionary right of it.
    int x = toolkit.cx + 11;
    CSize search = size(m_pButtons[btnSearch]);
    place(m_pButtons[btnSearch], x, (nHeight - search.cy) / 2);
    x += search.cx + 1;
    CSize dictionary = size(m_pButtons[btnDictionary]);
    place(m_pButtons[btnDictionary], x, (nHeight - dictionary.cy) / 2);
    m_nDictionaryCentre = x + dictionary.cx / 2;

    // A toolbar too narrow for the left part and the row of nine (a frame that does not fill a
    // small screen): the left part gives up its room down to its own buttons, so that the row
    // stays whole in view.
    static const int row[] = {btnBack, btnForward, btnHome, btnArticle, btnJustLooking,
                              btnAtlas, btnTimeFrame, btnVLPlus, btnStop};
    int nRowWidth = 0;
    for (int nID : row)
        nRowWidth += size(m_pButtons[nID]).cx;
    if (m_nLeftPart + nRowWidth > nWidth)
        m_nLeftPart = std::max(nWidth - nRowWidth, x + dictionary.cx + 2);

    // The other nine from the left part's end, with equal gaps.
    m_nGap = ButtonGap(m_nWidth, m_nLeftPart, nClass);
    const int y = (nHeight - size(m_pButtons[btnBack]).cy) / 2;
    x = m_nLeftPart;
    for (int nID : row) {
        place(m_pButtons[nID], x, y);
        x += size(m_pButtons[nID]).cx + m_nGap;
    }
    for (CRollOverButton* pButton : m_pButtons)
        if (pButton != NULL)
            pButton->ShowWindow(SW_SHOWNA);
}

BOOL CVLToolbar::OnEraseBkgnd(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    CBrush ground(PALETTEINDEX(30));
    pDC->FillRect(&client, &ground);
    pDC->MoveTo(client.left, client.bottom - 1);
    pDC->LineTo(client.right, client.bottom - 1);
    if (m_nLatched != 0)
        PressButton(m_nLatched, TRUE);
    return TRUE;
}

void CVLToolbar::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    Layout(cx);
    Invalidate(TRUE);
}

// ---- button states ----

void CVLToolbar::PressButton(int nID, BOOL bDown)
{
    if (CRollOverButton* pButton = GetButton(nID))
        if (pButton->GetSafeHwnd() != NULL)
            pButton->SetDib(bDown);
}

void CVLToolbar::SetToolkitButton(BOOL bDown)
{
    PressButton(btnToolkit, bDown);
}

void CVLToolbar::CollapseToolkit()
{
    if (m_pToolkit != NULL && m_pToolkit->GetSafeHwnd() != NULL)
        m_pToolkit->CollapseToolkit();
}

LRESULT CVLToolbar::OnLatchView(WPARAM wParam, LPARAM)
{
    int nButton = ViewButton(static_cast<UINT>(wParam));
    if (nButton == m_nLatched)
        return 0;
    CClientDC dc(this);
    CAppPaletteSelector palette(&dc);
    if (m_nLatched != 0)
        PressButton(m_nLatched, FALSE);
    CollapseToolkit();
    if (nButton != 0)
        PressButton(nButton, TRUE);
    m_nLatched = nButton;
    return 0;
}

LRESULT CVLToolbar::OnPaneDown(WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case 1:
        PressButton(btnSearch, FALSE);
        break;
    case 2:
        PressButton(btnDictionary, FALSE);
        break;
    case 3:
        PressButton(btnSearch, FALSE);
        PressButton(btnDictionary, FALSE);
        break;
    case 5:
        PressButton(btnToolkit, FALSE);
        CollapseToolkit();
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CVLToolbar::OnPaneUp(WPARAM, LPARAM lParam)
{
    switch (lParam) {
    case 1:
        PressButton(btnSearch, TRUE);
        break;
    case 2:
        PressButton(btnDictionary, TRUE);
        break;
    case 4:
        PressButton(btnToolkit, TRUE);
        break;
    default:
        break;
    }
    return 0;
}

LRESULT CVLToolbar::OnStopState(WPARAM, LPARAM lParam)
{
    if (CRollOverButton* pStop = GetButton(btnStop))
        if (pStop->GetSafeHwnd() != NULL) {
            BOOL bOn = lParam != 0;
            pStop->SetState(bOn);
            pStop->EnableWindow(bOn);
        }
    return 0;
}

// ---- commands ----

void CVLToolbar::OnButton(UINT nID)
{
    switch (nID) {
    case btnSearch:
        TogglePane(1);
        break;
    case btnDictionary:
        TogglePane(2);
        break;
    case btnToolkit:
        PressButton(btnSearch, FALSE);
        PressButton(btnDictionary, FALSE);
        PressButton(btnToolkit, TRUE);
        if (m_pToolkit != NULL && m_pToolkit->GetSafeHwnd() != NULL) {
            m_pToolkit->ShowWindow(SW_SHOWNA);
            m_pToolkit->ToggleSlide();
        }
        break;
    case btnHome:
        GoHome();
        break;
    case btnStop:
        if (CWnd* pView = AppServices().ui.pCurrentView)
            pView->PostMessage(VLM_STOP, 0, 0);
        break;
    default: {
        CollapseToolkit();
        HWND hWnd = m_hWnd;
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(WM_COMMAND, ViewCommand(static_cast<int>(nID)));
        if (::IsWindow(hWnd)) {
            Invalidate(TRUE);
            UpdateWindow();
        }
        break;
    }
    }
}

void CVLToolbar::TogglePane(int nPane)
{
    auto* pFrame = dynamic_cast<CBaseWindow*>(GetParent());
    CWnd* pPane = NULL;
    if (pFrame != NULL)
        pPane = nPane == 1 ? static_cast<CWnd*>(pFrame->GetSearchTabWin())
                           : static_cast<CWnd*>(pFrame->GetDictionaryTabWin());
    if (pPane == NULL || pPane->GetSafeHwnd() == NULL)
        return;
    const int nThis = nPane == 1 ? btnSearch : btnDictionary;
    const int nOther = nPane == 1 ? btnDictionary : btnSearch;
    if (pPane->IsWindowVisible()) {
        PressButton(nThis, FALSE);
        pPane->PostMessage(WM_CLOSE);
        return;
    }
    PressButton(nOther, FALSE);
    PressButton(btnToolkit, FALSE);
    PressButton(nThis, TRUE);
    CollapseToolkit();
    pFrame->SendMessage(WM_COMMAND, nPane == 1 ? ID_SHOW_SEARCH : ID_SHOW_DICTIONARY);
}

void CVLToolbar::GoHome()
{
    CollapseToolkit();
    if (CWnd* pParent = GetParent()) {
        // A playing movie stops; the article's film strip stops scrolling and its page closes
        // its pop-up (each view's stop message).
        for (UINT nView : {IDW_MEDIA, IDW_ARTICLE})
            if (CWnd* pView = pParent->GetDlgItem(static_cast<int>(nView)))
                pView->SendMessage(VLM_STOP, 0, 0);
    }
    ShowMainMenu(15, TRUE);
    LPARAM lParam = 0;
    while (CMainMenuWnd* pMenu = MainMenuState().pMenu)
        if (pMenu->WaitForChoice(&lParam) != kChoiceNone)
            break;
}
