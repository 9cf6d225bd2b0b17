#include "explore/JustLookingMainWin.h"

#include "base/AppDatabase.h"
#include "base/AppHost.h"
#include "base/AppServices.h"
#include "base/JustLookingRandomSet.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ReferenceList.h"
#include "base/Rin.h"
#include "base/TimelineRequest.h"
#include "base/VLDatabase.h"
#include "base/VLMessages.h"
#include "base/ViewHost.h"
#include "explore/JustLookingChoiceWnd.h"
#include "explore/JustLookingEditListSearch.h"
#include "explore/JustLookingListContainer.h"
#include "explore/JustLookingListWin.h"
#include "explore/JustLookingRecSet.h"
#include "explore/JustLookingShowListBox.h"
#include "explore/JustLookingStateObj.h"
#include "explore/JustLookingTreeControl.h"
#include "media/MediaDisplayRef.h"
#include "media/ThumbnailFactory.h"
#include "widgets/BaseListData.h"
#include "widgets/Dib.h"
#include "widgets/DibButton.h"
#include "widgets/RollOverButton.h"
#include "widgets/Thumbnail.h"

#include <algorithm>
#include <iterator>
#include <memory>

namespace {

// Slot positions as fractions of the client width and height, for 8, 12 and 20 slots.
struct Fraction {
    double x, y;
};
const Fraction kSlots8[8] = {{0.015, 0.02}, {0.25, 0.01}, {0.49, 0.01}, {0.75, 0.031},
                             {0.76, 0.6},   {0.52, 0.66}, {0.28, 0.66}, {0.02, 0.65}};
const Fraction kSlots12[12] = {{0.02, 0.1},  {0.22, 0.066}, {0.41, 0.05}, {0.6, 0.03},  {0.8, 0.11},  {0.75, 0.45},
                               {0.81, 0.7},  {0.6, 0.73},   {0.39, 0.69}, {0.2, 0.71},  {0.01, 0.74}, {0.035, 0.4}};
const Fraction kSlots20[20] = {{0.005, 0.049}, {0.167, 0.01}, {0.267, 0.212}, {0.4, 0.01},    {0.55, 0.04},
                               {0.6, 0.23},    {0.7, 0.05},   {0.84, 0.13},   {0.82, 0.33},   {0.84, 0.57},
                               {0.6, 0.6},     {0.85, 0.825}, {0.685, 0.793}, {0.42, 0.835},  {0.385, 0.615},
                               {0.24, 0.785},  {0.062, 0.827}, {0.01, 0.609}, {0.189, 0.512}, {0.075, 0.25}};

// Offsets of the controls from the device's top-left corner.
const CRect kFindChoice(34, 67, 34 + 227, 67 + 16);
const CRect kCategoryChoice(14, 42, 14 + 96, 42 + 16);
const CRect kCategoryList(14, 42, 14 + 96, 42 + 78);
const CRect kContentChoice(185, 42, 185 + 96, 42 + 16);
const CRect kSearchEdit(42, 67, 42 + 232, 67 + 16);
const CRect kFindList(42, 83, 42 + 232, 83 + 100);
const CRect kCloseWindow(42, 183, 42 + 232, 183 + 26);
const CPoint kRandomAt(111, 38);
const CPoint kClearAt(115, 86);
const CPoint kCloseAt(92, 185);

const char kWelcome1[] = "WELCOME TO";
const char kWelcome2[] = "Dada Vaveroz";
const char kWelcome3[] =
    "The device below will allow you to browse the entire Veltra Encyclopedia at random.  Or you can customize "
    "your journey by selecting a category and/or content type.  Take your time and enjoy your trip. ";

const COLORREF kWelcomeGreen = RGB(41, 140, 57);
const COLORREF kViewFill = PALETTEINDEX(30);

const LONG kMediaKinds = REFKIND_ANIMATION | REFKIND_VIDEO | REFKIND_PICTURE | REFKIND_SOUND | REFKIND_SIMULATION |
                         REFKIND_VIRTUALREALITY | REFKIND_ONLINESOUND | REFKIND_NOFILE | REFKIND_BUBBLE;

void MoveControl(CWnd* pWnd, const CPoint& origin, const CRect& offset)
{
    if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
        pWnd->SetWindowPos(NULL, origin.x + offset.left, origin.y + offset.top, offset.Width(), offset.Height(),
                           SWP_NOZORDER | SWP_NOACTIVATE);
}

void MoveButton(CWnd* pWnd, const CPoint& origin, const CPoint& offset)
{
    if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
        pWnd->SetWindowPos(NULL, origin.x + offset.x, origin.y + offset.y, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Show(CWnd* pWnd, int nCmd)
{
    if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
        pWnd->ShowWindow(nCmd);
}

BOOL IsShown(CWnd* pWnd)
{
    return pWnd != NULL && pWnd->GetSafeHwnd() != NULL && pWnd->IsWindowVisible();
}

}  // namespace

const CJustLookingMainWin::ContentRow CJustLookingMainWin::s_contentRows[13] = {
    {"All Content", 0, TRUE},      {"Animations", 2, FALSE}, {"Articles", 1, TRUE},  {"Atlas", 8, TRUE},
    {"Back in Time", 10, TRUE},    {"BubbleViews", 7, TRUE}, {"Media", 11, TRUE},    {"Pictures", 4, TRUE},
    {"Simulations", 6, FALSE},     {"Sounds", 5, TRUE},      {"Special Reports", 9, TRUE},
    {"Timelines", 12, TRUE},       {"Videos", 3, TRUE},
};

const char* const CJustLookingMainWin::s_categoryRows[9] = {
    "All categories", "Geography", "History", "Humanities", "Industry/Tech.", "Life Science", "Phys. Sci/Maths",
    "Recreation", "Social Science"};

namespace {
// The update process's notice that it rewrote the browsing tables.
const UINT s_nUpdateFlagFileMessage = RegisterWindowMessageA(JL_UPDATE_MESSAGE);
}  // namespace

UINT CJustLookingMainWin::GetUpdateMessage()
{
    return s_nUpdateFlagFileMessage;
}

BEGIN_MESSAGE_MAP(CJustLookingMainWin, CVLMainWin)
    ON_WM_CREATE()
    ON_WM_DESTROY()
    ON_WM_SIZE()
    ON_WM_ERASEBKGND()
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_KEYDOWN()
    ON_WM_TIMER()
    ON_COMMAND(IDC_JL_RANDOM, OnRandom)
    ON_COMMAND(IDC_JL_CLEAR, OnClear)
    ON_COMMAND(IDC_JL_FINDCHOICE, OnFind)
    ON_COMMAND(IDC_JL_CONTENTCHOICE, OnContentChoice)
    ON_COMMAND(IDC_JL_CONTENT_ALT, OnContentChoice)
    ON_COMMAND(IDC_JL_CATEGORYCHOICE, OnCategoryChoice)
    ON_COMMAND(IDC_JL_CATEGORY_ALT, OnCategoryChoice)
    ON_COMMAND(IDC_JL_CLOSE, OnClose)
    ON_EN_UPDATE(IDC_JL_SEARCHEDIT, OnSearchUpdate)
    ON_NOTIFY(TVN_SELCHANGED, IDC_JL_CONTENTLIST, OnContentSelChanged)
    ON_MESSAGE(JLM_CATEGORY_CHANGED, OnCategoryPicked)
    ON_MESSAGE(JLM_FIND_ROW, OnFindRow)
    ON_MESSAGE(VLM_THUMB_PRESS, OnThumbPress)
    ON_MESSAGE(VLM_THUMB_RELEASE, OnThumbRelease)
    ON_MESSAGE(VLM_RESTORE_STATE, OnRestoreState)
    ON_REGISTERED_MESSAGE(s_nUpdateFlagFileMessage, OnTablesUpdated)
END_MESSAGE_MAP()

CJustLookingMainWin::CJustLookingMainWin()
    : m_pFindList(NULL),
      m_pCategoryList(NULL),
      m_pContentList(NULL),
      m_pRandom(NULL),
      m_pClear(NULL),
      m_pFindChoice(NULL),
      m_pCategoryChoice(NULL),
      m_pContentChoice(NULL),
      m_pClose(NULL),
      m_pCloseWindow(NULL),
      m_pSearchEdit(NULL),
      m_nCategory(0),
      m_nContent(0),
      m_bWelcome(TRUE),
      m_bCategoryChanged(FALSE),
      m_bContentChanged(FALSE),
      m_nListSize(8),
      m_nNextSlot(0),
      m_nFindRows(0),
      m_nContentRowsShown(0),
      m_cxClient(0),
      m_cyClient(0),
      m_pStatsSet(NULL),
      m_pRandomSet(NULL),
      m_nCharHeight(16),
      m_bSearchPending(FALSE)
{
    // One seed for the view's random draws.
    srand(static_cast<unsigned int>(time(NULL)));
    CDaoDatabase* pDatabase = GetAppDatabase();
    m_pStatsSet = new CJustLookingStatsSet(pDatabase);
    m_pRandomSet = new CJustLookingRandomSet(pDatabase);
}

CJustLookingMainWin::~CJustLookingMainWin()
{
    DestroyThumbnails();
    if (m_hWnd != NULL)
        DestroyWindow();
    CloseRecordSets();
    delete m_pStatsSet;
    delete m_pRandomSet;
}

BOOL CJustLookingMainWin::Create(const RECT& rect, CWnd* pParentWnd)
{
    return CreateView(NULL, "JustLookingMainWIndow", rect, pParentWnd, IDW_JUSTLOOKING);
}

// ---- creation ----

int CJustLookingMainWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    CWaitCursor wait;
    CRect client;
    GetClientRect(&client);
    m_cxClient = client.Width();
    m_cyClient = client.Height();
    {
        CClientDC dc(this);
        m_font.CreatePointFont(110, "Arial", &dc);
        m_smallFont.CreatePointFont(85, "Arial", &dc);
        CFont* pOld = dc.SelectObject(&m_font);
        TEXTMETRIC tm;
        if (dc.GetTextMetrics(&tm))
            m_nCharHeight = tm.tmHeight;
        dc.SelectObject(pOld);
    }
    m_rcDevice = CRect(CPoint(0, 0), CSize(JL_DEVICE_WIDTH, JL_DEVICE_HEIGHT));

    const DWORD dwButton = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW;
    m_pRandom = new CRollOverButton;
    if (m_pRandom->Create("Random", dwButton, CRect(0, 0, 10, 10), this, IDC_JL_RANDOM)) {
        m_pRandom->LoadStateBitmaps(JL_BITMAP_RANDOM, JL_BITMAP_RANDOM_PRESSED);
        m_pRandom->LoadDib(JL_BITMAP_RANDOM_HOVER);
        m_pRandom->SizeToBitmap();
    }
    m_pClear = new CRollOverButton;
    if (m_pClear->Create("Clear", dwButton, CRect(0, 0, 10, 10), this, IDC_JL_CLEAR)) {
        m_pClear->LoadStateBitmaps(JL_BITMAP_CLEAR, JL_BITMAP_CLEAR_PRESSED);
        m_pClear->LoadDib(JL_BITMAP_CLEAR_HOVER);
        m_pClear->SizeToBitmap();
    }
    m_pFindChoice = new CJustLookingChoiceWnd;
    m_pFindChoice->Create("FIND", kFindChoice, this, IDC_JL_FINDCHOICE);

    // Without the program's database (start-up has reported it) the FIND list cannot be had:
    // "FIND" then says it has no items.
    if (GetAppDatabase() != NULL) {
        m_pFindList = new CJustLookingShowListBox;
        if (m_pFindList->Create(kFindList, this, IDC_JL_FINDLIST)) {
            m_nFindRows = m_pFindList->GetFileCount();
        } else {
            delete m_pFindList;
            m_pFindList = NULL;
        }
    }
    m_pSearchEdit = new CJustLookingEditListSearch;
    m_pSearchEdit->Create(WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, kSearchEdit, this, IDC_JL_SEARCHEDIT);
    m_pSearchEdit->LimitText(JL_SEARCH_LIMIT);
    m_pCloseWindow = new CWnd;
    m_pCloseWindow->Create(NULL, "JL Close Window", WS_CHILD | WS_BORDER | WS_DISABLED, kCloseWindow, this,
                           IDC_JL_CLOSEWINDOW);
    m_pClose = new CDibButton;
    if (m_pClose->Create("Close", dwButton, CRect(0, 0, 10, 10), this, IDC_JL_CLOSE)) {
        m_pClose->LoadStateBitmaps(JL_BITMAP_CLOSE);
        m_pClose->SizeToBitmap();
    }

    m_pContentList = new CJustLookingListWin;
    if (m_pContentList->Create(WS_CHILD | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, CRect(0, 0, 96, 100), this,
                               IDC_JL_CONTENTLIST)) {
        m_pContentList->SetToggleOnDoubleClick(FALSE);
        for (int i = 0; i < static_cast<int>(std::size(s_contentRows)); ++i) {
            if (!s_contentRows[i].bShown)
                continue;
            const int nRow = m_pContentList->AddString(s_contentRows[i].lpszText);
            if (nRow >= 0)
                m_pContentList->SetItemValue(m_pContentList->GetItemIdAt(nRow), i);
            ++m_nContentRowsShown;
        }
    }
    m_pContentChoice = new CJustLookingChoiceWnd;
    m_pContentChoice->Create(s_contentRows[0].lpszText, kContentChoice, this, IDC_JL_CONTENTCHOICE);

    m_pCategoryList = new CJustLookingListContainer;
    if (m_pCategoryList->Create(kCategoryList, this, IDC_JL_CATEGORYLIST))
        for (const char* lpszRow : s_categoryRows)
            m_pCategoryList->AddString(lpszRow);
    m_pCategoryChoice = new CJustLookingChoiceWnd;
    m_pCategoryChoice->Create("All Categories", kCategoryChoice, this, IDC_JL_CATEGORYCHOICE);

    for (CWnd* pWnd : {static_cast<CWnd*>(m_pSearchEdit), static_cast<CWnd*>(m_pContentList),
                       static_cast<CWnd*>(m_pCategoryList), static_cast<CWnd*>(m_pFindList)})
        if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
            pWnd->SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
    if (m_pCategoryList != NULL && m_pCategoryList->GetListBox().GetSafeHwnd() != NULL)
        m_pCategoryList->GetListBox().SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_smallFont.GetSafeHandle()), FALSE);
    HideFindPanel();
    HideLists();
    Layout(m_cxClient, m_cyClient);
    return 0;
}

void CJustLookingMainWin::OnDestroy()
{
    KillTimer(IDT_JL_TYPEAHEAD);
    DestroyThumbnails();
    // The children go with the window; their objects go here.
    CWnd* pChildren[] = {m_pRandom, m_pClear, m_pFindChoice, m_pFindList, m_pSearchEdit, m_pCloseWindow,
                         m_pClose, m_pContentList, m_pContentChoice, m_pCategoryList, m_pCategoryChoice};
    for (CWnd* pChild : pChildren) {
        if (pChild != NULL && pChild->GetSafeHwnd() != NULL)
            pChild->DestroyWindow();
        delete pChild;
    }
    m_pRandom = m_pClear = NULL;
    m_pFindChoice = m_pContentChoice = m_pCategoryChoice = NULL;
    m_pFindList = NULL;
    m_pSearchEdit = NULL;
    m_pCloseWindow = NULL;
    m_pClose = NULL;
    m_pContentList = NULL;
    m_pCategoryList = NULL;
    CVLMainWin::OnDestroy();
}

// ---- the frame's slots ----

void CJustLookingMainWin::OnFilePrint()
{
    AfxMessageBox(JL_NO_PRINT, MB_ICONEXCLAMATION);
}

void CJustLookingMainWin::OnActivateMainWin(BOOL bActive)
{
    CVLMainWin::OnActivateMainWin(bActive);
    if (!bActive) {
        HideFindPanel();
        HideLists();
        if (m_pRandomSet->IsOpen())
            m_pRandomSet->Close();
    }
}

BOOL CJustLookingMainWin::OnIdle(LONG)
{
    return FALSE;
}

void CJustLookingMainWin::ShowMainWindow(UINT, LPARAM)
{
    PostState();
    if (CViewHost* pHost = GetAppViewHost())
        pHost->ShowMainWindow(IDW_JUSTLOOKING, FALSE);
    EnableWindow(TRUE);
    GetAppHost().EnableTools(FALSE, FALSE, FALSE, TRUE, TRUE);
}

// ---- layout ----

int CJustLookingMainWin::ListSizeFor(int cx, int cy)
{
    if (cx < 640 || cy < 400)
        return 8;
    if (cx < 800 || cy < 600)
        return 12;
    return 20;
}

CPoint CJustLookingMainWin::SlotPosition(int nListSize, int nSlot, int cx, int cy)
{
    const Fraction* pTable = nListSize == 20 ? kSlots20 : nListSize == 12 ? kSlots12 : kSlots8;
    const int nSlots = nListSize == 20 ? 20 : nListSize == 12 ? 12 : 8;
    if (nSlot < 0 || nSlot >= nSlots)
        return CPoint(0, 0);
    return CPoint(static_cast<int>(pTable[nSlot].x * cx), static_cast<int>(pTable[nSlot].y * cy));
}

long CJustLookingMainWin::RandomStart(long nCount, long nSize)
{
    if (nCount <= nSize)
        return 0;
    const long nStarts = nCount - nSize + 1;
    // rand() gives 0..32767: a second draw widens it to 30 bits where one draw cannot cover
    // every start.
    const long kRandRange = 32768;
    long nDraw = rand();
    if (nStarts > kRandRange)
        nDraw = nDraw * kRandRange + rand();
    return nDraw % nStarts;
}

void CJustLookingMainWin::OnSize(UINT nType, int cx, int cy)
{
    CVLMainWin::OnSize(nType, cx, cy);
    Layout(cx, cy);
}

void CJustLookingMainWin::Layout(int cx, int cy)
{
    m_cxClient = cx;
    m_cyClient = cy;
    m_nListSize = ListSizeFor(cx, cy);
    for (int i = 0; i < m_nListSize; ++i)
        m_slots[i] = SlotPosition(m_nListSize, i, cx, cy);
    m_nNextSlot = 0;
    int x = (cx - JL_DEVICE_WIDTH) / 2;
    int y = (cy - JL_DEVICE_HEIGHT) / 2;
    if (x < 161)
        x = 160;
    if (y < 106)
        y = 105;
    m_rcDevice = CRect(CPoint(x, y), CSize(JL_DEVICE_WIDTH, JL_DEVICE_HEIGHT));
    const CPoint origin = m_rcDevice.TopLeft();
    MoveButton(m_pRandom, origin, kRandomAt);
    MoveButton(m_pClear, origin, kClearAt);
    MoveControl(m_pFindChoice, origin, kFindChoice);
    MoveControl(m_pCategoryChoice, origin, kCategoryChoice);
    MoveControl(m_pCategoryList, origin, kCategoryList);
    MoveControl(m_pContentChoice, origin, kContentChoice);
    MoveControl(m_pSearchEdit, origin, kSearchEdit);
    MoveControl(m_pFindList, origin, kFindList);
    MoveControl(m_pCloseWindow, origin, kCloseWindow);
    MoveButton(m_pClose, origin, kCloseAt);
    PlaceContentList();
    for (int i = 0; i < static_cast<int>(m_thumbs.size()); ++i) {
        CThumbnail* pThumb = m_thumbs[i];
        if (pThumb == NULL || pThumb->GetSafeHwnd() == NULL)
            continue;
        if (i >= m_nListSize) {
            pThumb->ShowWindow(SW_HIDE);
            continue;
        }
        pThumb->SetWindowPos(NULL, m_slots[i].x, m_slots[i].y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        pThumb->ShowWindow(SW_SHOWNA);
    }
}

void CJustLookingMainWin::PlaceContentList()
{
    if (m_pContentList == NULL || m_pContentList->GetSafeHwnd() == NULL)
        return;
    // It drops from the content choice: just below it, left-aligned with it, as many rows as the
    // client area has room for (at least three).
    const CPoint at(m_rcDevice.left + kContentChoice.left, m_rcDevice.top + kContentChoice.bottom);
    int nRows = m_nContentRowsShown;
    int nHeight = nRows * m_nCharHeight + 3;
    while (nRows > 3 && at.y + nHeight > m_cyClient) {
        --nRows;
        nHeight = nRows * m_nCharHeight + 3;
    }
    m_pContentList->SetWindowPos(NULL, at.x, at.y, kContentChoice.Width(), nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- painting ----

BOOL CJustLookingMainWin::OnEraseBkgnd(CDC* pDC)
{
    CRect client;
    GetClientRect(&client);
    try {
        CPalettePaintDC palette(pDC, FALSE);
        CBrush brush(kViewFill);
        pDC->FillRect(&client, &brush);
        for (UINT nId : {static_cast<UINT>(JL_BITMAP_GROUND), static_cast<UINT>(JL_BITMAP_DEVICE)}) {
            try {
                CDib dib(nId);
                const CPoint at = nId == JL_BITMAP_GROUND ? CPoint(0, 0) : m_rcDevice.TopLeft();
                dib.Draw(pDC, at.x, at.y);
            } catch (CResourceException* e) {
                e->Delete();  // the fill stays
            }
        }
    } catch (CException* e) {
        e->Delete();
    }
    return TRUE;
}

void CJustLookingMainWin::OnPaint()
{
    CPaintDC dc(this);
    if (m_bWelcome)
        DrawWelcome(&dc);
}

void CJustLookingMainWin::DrawWelcome(CDC* pDC)
{
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(RGB(0, 0, 0));
    CFont small, title;
    small.CreateFont(17, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial");
    title.CreateFont(40, 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                     DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial Bold");
    CFont* pOld = pDC->SelectObject(&small);
    pDC->TextOut(45, 0, kWelcome1);
    pDC->SelectObject(&title);
    pDC->TextOut(22, 10, kWelcome2);
    pDC->SetTextColor(kWelcomeGreen);
    pDC->TextOut(20, 8, kWelcome2);
    const CSize title2 = pDC->GetTextExtent(kWelcome2);
    pDC->SetTextColor(RGB(0, 0, 0));
    pDC->SelectObject(&small);
    CRect text(std::max(20 + static_cast<int>(title2.cx), 239), 28, std::max(m_cxClient, 600), m_cyClient);
    pDC->DrawText(kWelcome3, -1, &text, DT_LEFT | DT_WORDBREAK);
    pDC->SelectObject(pOld);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
}

void CJustLookingMainWin::ClearWelcome()
{
    if (!m_bWelcome)
        return;
    m_bWelcome = FALSE;
    Invalidate();
}

// ---- panels and lists ----

void CJustLookingMainWin::HideLists()
{
    Show(m_pCategoryList, SW_HIDE);
    Show(m_pContentList, SW_HIDE);
}

void CJustLookingMainWin::HideFindPanel()
{
    Show(m_pFindList, SW_HIDE);
    Show(m_pSearchEdit, SW_HIDE);
    Show(m_pCloseWindow, SW_HIDE);
    Show(m_pClose, SW_HIDE);
}

BOOL CJustLookingMainWin::IsFindPanelShown() const
{
    return IsShown(m_pFindList);
}

void CJustLookingMainWin::OnLButtonDown(UINT nFlags, CPoint point)
{
    HideLists();
    CVLMainWin::OnLButtonDown(nFlags, point);
}

void CJustLookingMainWin::OpenFindPanel()
{
    HideLists();
    if (m_nFindRows == 0 || m_pFindList == NULL) {
        AfxMessageBox(JL_NO_FIND_ROWS, MB_ICONINFORMATION);
        return;
    }
    for (CWnd* pWnd : {static_cast<CWnd*>(m_pCloseWindow), static_cast<CWnd*>(m_pFindList),
                       static_cast<CWnd*>(m_pSearchEdit), static_cast<CWnd*>(m_pClose)}) {
        if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
            continue;
        pWnd->ShowWindow(SW_SHOW);
        pWnd->BringWindowToTop();
    }
    if (CJustLookingTreeControl* pTree = m_pFindList->GetCurrentTree())
        if (pTree->GetSafeHwnd() != NULL && pTree->GetFirstVisible() != 1)
            pTree->ScrollToIndex(1);
    if (m_pSearchEdit != NULL && m_pSearchEdit->GetSafeHwnd() != NULL)
        m_pSearchEdit->SetFocus();
}

void CJustLookingMainWin::CloseFindPanel()
{
    HideFindPanel();
}

void CJustLookingMainWin::OnFind()
{
    OpenFindPanel();
}

void CJustLookingMainWin::OnClose()
{
    CloseFindPanel();
}

void CJustLookingMainWin::OnContentChoice()
{
    HideFindPanel();
    Show(m_pCategoryList, SW_HIDE);
    if (IsShown(m_pContentList)) {
        m_pContentList->ShowWindow(SW_HIDE);
    } else if (m_pContentList != NULL && m_pContentList->GetSafeHwnd() != NULL) {
        PlaceContentList();
        m_pContentList->ShowWindow(SW_SHOW);
        m_pContentList->BringWindowToTop();
    }
}

void CJustLookingMainWin::OnCategoryChoice()
{
    HideFindPanel();
    Show(m_pContentList, SW_HIDE);
    if (IsShown(m_pCategoryList)) {
        m_pCategoryList->ShowWindow(SW_HIDE);
    } else if (m_pCategoryList != NULL && m_pCategoryList->GetSafeHwnd() != NULL) {
        m_pCategoryList->ShowWindow(SW_SHOW);
        m_pCategoryList->BringWindowToTop();
    }
}

// ---- type-ahead ----

void CJustLookingMainWin::OnSearchUpdate()
{
    if (m_pSearchEdit == NULL || m_pSearchEdit->GetSafeHwnd() == NULL)
        return;
    char szLine[JL_SEARCH_LIMIT + 1] = "";
    const int nLength = m_pSearchEdit->GetLine(0, szLine, JL_SEARCH_LIMIT);
    szLine[std::max(0, std::min(nLength, JL_SEARCH_LIMIT))] = '\0';
    m_strSearch = szLine;
}

void CJustLookingMainWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_RETURN) {
        // Typing restarts the wait; the list moves when the reader pauses.
        SetTimer(IDT_JL_TYPEAHEAD, JL_TYPEAHEAD_DELAY, NULL);
        m_bSearchPending = TRUE;
        CVLMainWin::OnKeyDown(nChar, nRepCnt, nFlags);
        return;
    }
    if (m_bSearchPending)
        RunSearch();
    CJustLookingTreeControl* pTree = m_pFindList != NULL ? m_pFindList->GetCurrentTree() : NULL;
    if (pTree != NULL && pTree->GetCurrentItemData() > 0)
        PostMessage(JLM_FIND_ROW, static_cast<WPARAM>(pTree->GetCurrentItemData()), 0);
}

void CJustLookingMainWin::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != IDT_JL_TYPEAHEAD) {
        CVLMainWin::OnTimer(nIDEvent);
        return;
    }
    RunSearch();
}

void CJustLookingMainWin::RunSearch()
{
    KillTimer(IDT_JL_TYPEAHEAD);
    m_bSearchPending = FALSE;
    if (m_pFindList == NULL)
        return;
    OnSearchUpdate();
    CBaseListData* pData = m_pFindList->GetCurrentData();
    CJustLookingTreeControl* pTree = m_pFindList->GetCurrentTree();
    if (pData == NULL || pTree == NULL || pTree->GetSafeHwnd() == NULL)
        return;
    const long nRow = m_strSearch.IsEmpty() ? 1 : pData->FindTitle(m_strSearch);
    if (nRow > 0)
        pTree->ScrollToIndex(nRow);
}

// ---- filters ----

BOOL CJustLookingMainWin::SetCategory(int nCategory)
{
    if (nCategory < 0 || nCategory >= JL_CATEGORY_COUNT)
        nCategory = 0;
    if (nCategory == m_nCategory) {
        m_bCategoryChanged = FALSE;
        return FALSE;
    }
    m_bCategoryChanged = TRUE;
    m_nCategory = nCategory;
    if (m_pRandomSet->IsOpen())
        m_pRandomSet->Close();
    m_pRandomSet->SetCategory(nCategory);
    if (m_pCategoryChoice != NULL && m_pCategoryChoice->GetSafeHwnd() != NULL)
        m_pCategoryChoice->SetCaption(nCategory == 0 ? "All Categories" : s_categoryRows[nCategory]);
    return TRUE;
}

BOOL CJustLookingMainWin::SetContent(int nContent)
{
    if (nContent < 0 || nContent >= JL_CONTENT_COUNT)
        nContent = 0;
    if (nContent == m_nContent) {
        m_bContentChanged = FALSE;
        return FALSE;
    }
    m_bContentChanged = TRUE;
    m_nContent = nContent;
    if (m_pRandomSet->IsOpen())
        m_pRandomSet->Close();
    m_pRandomSet->SetContent(nContent);
    m_pStatsSet->SetContent(nContent);
    if (m_pContentChoice != NULL && m_pContentChoice->GetSafeHwnd() != NULL)
        for (const ContentRow& row : s_contentRows)
            if (row.nContent == nContent)
                m_pContentChoice->SetCaption(row.lpszText);
    return TRUE;
}

void CJustLookingMainWin::PickCategory(int nCategory)
{
    if (SetCategory(nCategory))
        PostState();
    HideLists();
    HideFindPanel();
    if (m_bCategoryChanged || m_bContentChanged)
        RefreshFindList();
}

void CJustLookingMainWin::PickContent(int nContent)
{
    if (SetContent(nContent))
        PostState();
    HideLists();
    HideFindPanel();
    if (m_bCategoryChanged || m_bContentChanged)
        RefreshFindList();
}

LRESULT CJustLookingMainWin::OnCategoryPicked(WPARAM, LPARAM)
{
    int nRow = 0;
    if (m_pCategoryList != NULL && m_pCategoryList->GetListBox().GetSafeHwnd() != NULL)
        nRow = m_pCategoryList->GetListBox().GetCurSel();
    PickCategory(nRow < 0 ? 0 : nRow);
    return 0;
}

void CJustLookingMainWin::OnContentSelChanged(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    const auto* pTree = reinterpret_cast<const NMTREEVIEW*>(pNotify);
    long nRow = static_cast<long>(pTree->itemNew.lParam);
    if (m_pContentList != NULL && m_pContentList->GetSafeHwnd() != NULL) {
        if (HTREEITEM hItem = m_pContentList->GetCurrentItemId())
            nRow = static_cast<long>(m_pContentList->GetItemValue(hItem));
    }
    if (nRow < 0 || nRow >= static_cast<long>(std::size(s_contentRows)))
        return;
    PickContent(s_contentRows[nRow].nContent);
}

void CJustLookingMainWin::RefreshFindList()
{
    if (m_pFindList == NULL)
        return;
    if (m_nCategory == 0 && m_nContent == 0) {
        m_pFindList->ShowAll();
        m_nFindRows = m_pFindList->GetFileCount();
    } else {
        m_nFindRows = m_pFindList->Filter(m_nCategory, m_nContent);
        m_pFindList->ShowFiltered();
    }
    if (CJustLookingTreeControl* pTree = m_pFindList->GetCurrentTree())
        if (pTree->GetSafeHwnd() != NULL && m_nFindRows > 0)
            pTree->ScrollToIndex(1);
    if (m_pSearchEdit != NULL && m_pSearchEdit->GetSafeHwnd() != NULL)
        m_pSearchEdit->SetWindowText("");
    m_strSearch.Empty();
    RunSearch();
}

// ---- results ----

LONG CJustLookingMainWin::CategoryBit(const CString& strCategory)
{
    for (int i = 1; i < JL_CATEGORY_COUNT; ++i)
        if (strCategory.CompareNoCase(JustLookingCategoryCode(i)) == 0)
            return 1L << (i - 1);
    return 0;
}

CThumbnail* CJustLookingMainWin::GetThumbnail(int nSlot) const
{
    return nSlot >= 0 && nSlot < static_cast<int>(m_thumbs.size()) ? m_thumbs[nSlot] : NULL;
}

BOOL CJustLookingMainWin::ShowResult(int nSlot)
{
    if (nSlot < 0 || nSlot >= m_results.GetSize() || nSlot >= JL_MAX_SLOTS)
        return FALSE;
    CReferenceFactory* pReferences = GetAppReferenceFactory();
    CThumbnailFactory* pThumbs = GetAppThumbnailFactory();
    if (pReferences == NULL || pThumbs == NULL || GetSafeHwnd() == NULL)
        return FALSE;
    const CJustLookingResult& result = m_results[nSlot];
    std::unique_ptr<CReference> pReference;
    try {
        pReference.reset(pReferences->CreateReference(static_cast<LONG>(result.m_rin.GetNumber()), result.m_strTitle,
                                                      CategoryBit(result.m_strCategory)));
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (pReference == NULL)
        return FALSE;
    CThumbnail* pThumb = pThumbs->CreateThumbnail(pReference.get());
    if (pThumb == NULL)
        return FALSE;
    if (static_cast<int>(m_thumbs.size()) <= nSlot)
        m_thumbs.resize(nSlot + 1, NULL);
    // A slot beyond the list size has no place: its thumbnail waits hidden at slot 0's place.
    const CPoint at = nSlot < m_nListSize ? m_slots[nSlot] : CPoint(0, 0);
    delete m_thumbs[nSlot];  // destroys its window
    m_thumbs[nSlot] = NULL;
    if (!pThumb->CreateAt(this, at.x, at.y)) {
        delete pThumb;
        return FALSE;
    }
    if (nSlot >= m_nListSize)
        pThumb->ShowWindow(SW_HIDE);
    m_thumbs[nSlot] = pThumb;
    return TRUE;
}

void CJustLookingMainWin::DestroyThumbnails()
{
    while (!m_thumbs.empty()) {
        delete m_thumbs.back();
        m_thumbs.pop_back();
    }
}

void CJustLookingMainWin::ClearList()
{
    m_results.RemoveAll();
    DestroyThumbnails();
    m_nNextSlot = 0;
    HideLists();
    HideFindPanel();
}

void CJustLookingMainWin::OnClear()
{
    ClearList();
}

void CJustLookingMainWin::OnRandom()
{
    MakeRandomList();
}

void CJustLookingMainWin::EnsureRecordSets()
{
    // The view may be made before the program's database is open: its sets then follow it.
    CDaoDatabase* pDatabase = GetAppDatabase();
    if (m_pStatsSet->m_pDatabase != NULL || pDatabase == NULL)
        return;
    CloseRecordSets();
    delete m_pStatsSet;
    delete m_pRandomSet;
    m_pStatsSet = new CJustLookingStatsSet(pDatabase);
    m_pRandomSet = new CJustLookingRandomSet(pDatabase);
    m_pStatsSet->SetContent(m_nContent);
    m_pRandomSet->SetCategory(m_nCategory);
    m_pRandomSet->SetContent(m_nContent);
}

void CJustLookingMainWin::CloseRecordSets()
{
    for (CDaoRecordset* pSet : {static_cast<CDaoRecordset*>(m_pRandomSet), static_cast<CDaoRecordset*>(m_pStatsSet)}) {
        if (pSet == NULL || !pSet->IsOpen())
            continue;
        try {
            pSet->Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
}

BOOL CJustLookingMainWin::MakeRandomList()
{
    ClearWelcome();
    m_nNextSlot = 0;
    HideLists();
    if (IsFindPanelShown())
        HideFindPanel();
    CWaitCursor wait;
    EnsureRecordSets();
    long nCount = 0;
    try {
        if (m_pStatsSet->m_pDatabase == NULL)
            AfxThrowUserException();
        if (m_pStatsSet->IsOpen())
            m_pStatsSet->Requery();
        else
            m_pStatsSet->Open();
        if (!m_pStatsSet->IsEOF())
            nCount = m_pStatsSet->GetCount(m_nCategory);
    } catch (CException* e) {
        // A table that cannot be read has no list to give: the message below says so.
        e->Delete();
        nCount = 0;
    }
    if (nCount <= 0) {
        AfxMessageBox(JL_NO_RANDOM_LIST, MB_ICONINFORMATION);
        return FALSE;
    }
    long nBottom = 0;
    long nTop = nCount - 1;
    if (nCount > m_nListSize) {
        nBottom = RandomStart(nCount, m_nListSize);
        nTop = nBottom + m_nListSize - 1;
        nCount = m_nListSize;
    }
    if (!ReadRandomList(nCount, nBottom, nTop)) {
        AfxMessageBox(JL_NO_RANDOM_LIST, MB_ICONINFORMATION);
        return FALSE;
    }
    for (int i = 0; i < m_results.GetSize(); ++i)
        ShowResult(i);
    while (static_cast<INT_PTR>(m_thumbs.size()) > m_results.GetSize()) {
        delete m_thumbs.back();
        m_thumbs.pop_back();
    }
    PostState();
    return TRUE;
}

BOOL CJustLookingMainWin::ReadRandomList(long nCount, long nBottom, long nTop)
{
    CJustLookingResultArray results;
    try {
        m_pRandomSet->SetCategory(m_nCategory);
        m_pRandomSet->SetContent(m_nContent);
        m_pRandomSet->m_Bottom = nBottom;
        m_pRandomSet->m_Top = nTop;
        if (m_pRandomSet->IsOpen())
            m_pRandomSet->Requery();
        else
            m_pRandomSet->Open();
        for (long n = 0; n < nCount && !m_pRandomSet->IsEOF(); ++n, m_pRandomSet->MoveNext()) {
            // Each row goes to a random place among those read so far: the list ends shuffled.
            const INT_PTR nAt = rand() % (results.GetSize() + 1);
            CJustLookingResult result(CRin(static_cast<DWORD>(atol(m_pRandomSet->m_RinCode))), m_pRandomSet->m_Title,
                                      m_pRandomSet->m_Category);
            results.InsertAt(nAt, result);
        }
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (results.GetSize() == 0)
        return FALSE;
    m_results.Copy(results);
    return TRUE;
}

void CJustLookingMainWin::PickFindRow(long nRow)
{
    ClearWelcome();
    if (m_pFindList == NULL || nRow < 1)
        return;
    CBaseListData* pData = m_pFindList->GetCurrentData();
    if (pData == NULL || nRow > pData->GetCount())
        return;
    if (pData->EnsureLoaded(nRow) == 0)
        return;
    TVITEM item = {};
    item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(nRow));
    if (!pData->GetItem(&item))
        return;
    const CString strTitle(item.pszText != NULL ? item.pszText : "");
    const CJustLookingResult result(CRin(static_cast<DWORD>(item.lParam)), strTitle, "");
    if (m_nNextSlot >= m_nListSize)
        m_nNextSlot = 0;
    if (m_nNextSlot > m_results.GetSize())
        m_nNextSlot = static_cast<int>(m_results.GetSize());
    if (m_nNextSlot < m_results.GetSize())
        m_results[m_nNextSlot] = result;
    else
        m_results.Add(result);
    ShowResult(m_nNextSlot);
    m_nNextSlot = (m_nNextSlot + 1) % m_nListSize;
    PostState();
}

LRESULT CJustLookingMainWin::OnFindRow(WPARAM wParam, LPARAM)
{
    PickFindRow(static_cast<long>(static_cast<INT_PTR>(wParam)));
    return 0;
}

// ---- opening an item ----

LRESULT CJustLookingMainWin::OnThumbPress(WPARAM, LPARAM lParam)
{
    auto* pReference = DYNAMIC_DOWNCAST(CReference, reinterpret_cast<CObject*>(lParam));
    if (pReference == NULL) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    if (pReference->GetKind() == REFKIND_TIMELINE) {
        // The release opens a timeline.
        delete pReference;
        return 0;
    }
    OpenReference(pReference);
    return 1;
}

LRESULT CJustLookingMainWin::OnThumbRelease(WPARAM, LPARAM lParam)
{
    std::unique_ptr<CObject> pObject(reinterpret_cast<CObject*>(lParam));
    auto* pReference = DYNAMIC_DOWNCAST(CReference, pObject.get());
    if (pReference == NULL || pReference->GetKind() != REFKIND_TIMELINE)
        return 0;
    CWnd* pMain = GetAppMainWnd();
    if (pMain == NULL || pMain->GetSafeHwnd() == NULL)
        return 0;
    CString strRit;
    try {
        strRit = CRin(static_cast<DWORD>(pReference->GetNumber())).FormatRit();
    } catch (CException* e) {
        e->Delete();
        return 0;
    }
    CRect rcWindow;
    GetWindowRect(&rcWindow);
    auto* pRequest = new TimelineRequest(rcWindow.left + 40, rcWindow.top + 10, std::max(m_cxClient - 80, 200),
                                         std::max(m_cyClient - 40, 200), strRit);
    if (!pMain->PostMessage(VLM_TIMELINE_VIEWER, 3, reinterpret_cast<LPARAM>(pRequest)))
        delete pRequest;
    return 1;
}

void CJustLookingMainWin::OpenReference(CReference* pReference)
{
    CWnd* pFrame = GetParent();
    const LONG nKind = pReference->GetKind();
    if (nKind == REFKIND_MAP || nKind == REFKIND_ARTICLE || nKind == REFKIND_ARTICLE2) {
        const WPARAM nView = nKind == REFKIND_MAP ? IDW_ATLAS : IDW_ARTICLE;
        if (pFrame == NULL || !pFrame->PostMessage(VLM_OPEN_WINDOW, nView, reinterpret_cast<LPARAM>(pReference)))
            delete pReference;
        return;
    }
    if ((nKind & kMediaKinds) == 0 || (nKind & (nKind - 1)) != 0) {
        CString strMessage = CString(JL_BAD_MEDIA) + pReference->GetLinkText();
        delete pReference;
        AfxMessageBox(strMessage, MB_ICONSTOP);
        return;
    }
    // Media: the viewer's list holds every item shown.
    CReferenceList list;
    for (CThumbnail* pThumb : m_thumbs)
        if (pThumb != NULL && pThumb->GetSafeHwnd() != NULL)
            if (CReference* pClone = pThumb->CloneReference())
                list.Append(pClone);
    CMediaDisplayRef* pDisplay = NULL;
    try {
        pDisplay = new CMediaDisplayRef(pReference, &list, 0);
    } catch (CException* e) {
        e->Delete();
        pDisplay = NULL;
    }
    delete pReference;
    if (pDisplay != NULL &&
        (pFrame == NULL || !pFrame->PostMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(pDisplay))))
        delete pDisplay;
}

// ---- history ----

void CJustLookingMainWin::PostState(BOOL bRestored)
{
    CWnd* pFrame = GetParent();
    if (pFrame == NULL || pFrame->GetSafeHwnd() == NULL)
        return;
    auto* pState = new CJustLookingStateObj(m_nCategory, m_nContent, m_results);
    if (!pFrame->PostMessage(VLM_PUSH_STATE, bRestored ? VLM_RESTORE_STATE : 0, reinterpret_cast<LPARAM>(pState)))
        delete pState;
}

LRESULT CJustLookingMainWin::OnRestoreState(WPARAM, LPARAM lParam)
{
    std::unique_ptr<CObject> pObject(reinterpret_cast<CObject*>(lParam));
    auto* pState = DYNAMIC_DOWNCAST(CJustLookingStateObj, pObject.get());
    if (pState == NULL)
        return 0;
    SetCategory(pState->m_nCategory);
    SetContent(pState->m_nContent);
    if (m_pCategoryList != NULL && m_pCategoryList->GetListBox().GetSafeHwnd() != NULL)
        m_pCategoryList->GetListBox().SetCurSel(m_nCategory);
    DestroyThumbnails();
    m_results.Copy(pState->m_results);
    m_nNextSlot = 0;
    if (m_results.GetSize() > 0)
        ClearWelcome();
    for (int i = 0; i < m_results.GetSize(); ++i)
        ShowResult(i);
    if (m_bCategoryChanged || m_bContentChanged)
        RefreshFindList();
    HideFindPanel();
    HideLists();
    // The step is the history's current entry again: it goes back to the frame as it came.
    CWnd* pFrame = GetParent();
    if (pFrame != NULL && pFrame->PostMessage(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(pState)))
        pObject.release();
    if (CViewHost* pHost = GetAppViewHost())
        pHost->ShowMainWindow(IDW_JUSTLOOKING, FALSE);
    return 1;
}

LRESULT CJustLookingMainWin::OnTablesUpdated(WPARAM, LPARAM)
{
    // The update rewrote the browsing tables: the next Random and the FIND list read them afresh.
    CloseRecordSets();
    if (m_pFindList != NULL && m_pFindList->GetDatabaseList() != NULL) {
        CJustLookingRecSet* pSet = m_pFindList->GetDatabaseList()->GetRecSet();
        try {
            if (pSet != NULL && pSet->IsOpen())
                pSet->Close();
        } catch (CException* e) {
            e->Delete();
        }
    }
    RefreshFindList();
    return 1;
}
