#include "explore/AtlasMainWin.h"

#include "base/AppHost.h"
#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "explore/AtlasDistanceCalculator.h"
#include "explore/AtlasMapSearch.h"
#include "explore/AtlasShared.h"
#include "explore/AtlasStateObj.h"
#include "media/GrfDocument.h"
#include "media/GrfPictureWin.h"
#include "media/StickyNoteWnd.h"
#include "widgets/RollOverButton.h"

#include "resource.h"

#include <algorithm>
#include <memory>
#include <new>

IMPLEMENT_DYNAMIC(CAtlasMainWin, CPaletteMainWin)

namespace {

// The buttons in the row's order from the right: child id, the state pictures in the order the
// button takes them (normal, pressed, focused, disabled, the pressed-and-latched look) and the
// roll-over picture.
struct ButtonDef {
    LPCSTR lpszText;
    UINT nId;
    UINT nNormal, nSelected, nFocused, nDisabled, nAltNormal, nHover;
};
const ButtonDef kButtons[CAtlasMainWin::kButtonCount] = {
    {"Distance Calculator", IDC_ATLAS_DISTANCE, 7276, 7273, 7274, 7277, 7274, 7275},
    {"Map Search", IDC_ATLAS_MAP_SEARCH, 7311, 7308, 7309, 7312, 7309, 7310},
    {"Article", IDC_ATLAS_ARTICLE, 7291, 7288, 7289, 7292, 7289, 7290},
    {"Overlays", IDC_ATLAS_OVERLAYS, 7326, 7323, 7324, 7327, 7324, 7325},
    {"Zoom Out", IDC_ATLAS_ZOOM_OUT, 8196, 8193, 8194, 8197, 8194, 8195},
};

const char kWorldMapTitle[] = "Flat World Map";
const char kSection[] = "Veltra Jubilee 2000 (International)";
const char kMapSearchFailed[] = "The Map Search window could not be displayed.";
const COLORREF kBlack = 0x02000000;
const COLORREF kTitleGreen = 0x02398C29;

// By screen class: the introduction's font height, origin and right-edge limit; the heading's
// fonts and offsets; Map Search's gap below the button row.
const int kIntroFont[3] = {13, 15, 17};
const CPoint kIntroOrigin[3] = {{10, 30}, {351, 60}, {388, 72}};
const int kIntroMaxRight[3] = {495, 680, 872};
const int kWelcomeFont[3] = {12, 15, 17};
const int kWelcomeShift[3] = {7, 60, 20};
const int kAtlasFont[3] = {24, 40, 50};
const int kSearchGap[3] = {10, 13, 16};
// The heading's top. On the smallest screens the heading is one line above the introduction
// text; on the others it stands beside the text, left of it, from the text's top.
const int kHeadingTop[3] = {3, 60, 72};

int ClassIndex(int n)
{
    return std::clamp(n, 0, 2);
}

BOOL Exists(const CWnd* pWnd)
{
    return pWnd != NULL && pWnd->GetSafeHwnd() != NULL;
}

void MakeFont(CFont& font, int nHeight, int nWeight, LPCSTR lpszFace)
{
    font.CreateFont(nHeight, 0, 0, 0, nWeight, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                    CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, lpszFace);
}

}  // namespace

BEGIN_MESSAGE_MAP(CAtlasMainWin, CPaletteMainWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONUP()
    ON_WM_QUERYNEWPALETTE()
    ON_BN_CLICKED(IDC_ATLAS_OVERLAYS, OnOverlaysButton)
    ON_BN_DOUBLECLICKED(IDC_ATLAS_OVERLAYS, OnOverlaysButton)
    ON_BN_CLICKED(IDC_ATLAS_ZOOM_OUT, OnZoomOutButton)
    ON_BN_DOUBLECLICKED(IDC_ATLAS_ZOOM_OUT, OnZoomOutButton)
    ON_BN_CLICKED(IDC_ATLAS_MAP_SEARCH, OnMapSearchButton)
    ON_BN_DOUBLECLICKED(IDC_ATLAS_MAP_SEARCH, OnMapSearchButton)
    ON_BN_CLICKED(IDC_ATLAS_DISTANCE, OnDistanceButton)
    ON_BN_DOUBLECLICKED(IDC_ATLAS_DISTANCE, OnDistanceButton)
    ON_BN_CLICKED(IDC_ATLAS_ARTICLE, OnArticleButton)
    ON_COMMAND(IDC_ATLAS_PRINT, OnPrintCommand)
    ON_COMMAND(IDC_ATLAS_STICKY_COMMAND, OnStickyCommand)
    ON_BN_CLICKED(IDC_ATLAS_STICKY_ICON, OnStickyCommand)
    ON_MESSAGE(VLM_STICKY_NOTE, OnStickyMessage)
    ON_MESSAGE(VLM_ATLAS_TOGGLE_PAD, OnTogglePad)
    ON_MESSAGE(VLM_ATLAS_ZOOM_OUT, OnZoomOutMessage)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpenMap)
    ON_MESSAGE(VLM_OPEN_FOUND_ITEM, OnOpenMap)
    ON_MESSAGE(VLM_OPEN_NOTED_ITEM, OnOpenMap)
    ON_MESSAGE(VLM_RESTORE_STATE, OnRestoreState)
    ON_MESSAGE(VLM_DATA_LOCATION, OnDataLocation)
    ON_MESSAGE(VLM_REFRESH_TOOLS, OnRefreshTools)
    ON_MESSAGE(VLM_STOP, OnStop)
    ON_MESSAGE(VLM_STICKY_PRESENT, OnStickyPresent)
END_MESSAGE_MAP()

CAtlasMainWin::CAtlasMainWin()
{
    m_nScreenClass = ClassIndex(GetAppScreenClass());
    m_pOverlayWnd = &m_wndPad;
}

CAtlasMainWin::~CAtlasMainWin()
{
    CAtlasShared::SetOverlayList(NULL);
    DestroyPictureWin(FALSE);
    delete m_pMapSearch;
    m_pMapSearch = NULL;
    delete m_pDistCalc;
    m_pDistCalc = NULL;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pDocument;
    delete m_pReference;
    delete m_pStickyWnd;
    delete m_pStickyIcon;
    for (CRollOverButton*& pButton : m_pButtons) {
        delete pButton;
        pButton = NULL;
    }
}

BOOL CAtlasMainWin::Create(CWnd* pParent, const RECT& rect)
{
    return CreateView(NULL, "Atlas Main Window", rect, pParent, IDW_ATLAS);
}

// ---- the layout's rules ----

int CAtlasMainWin::IntroFontHeight(int nClass)
{
    return kIntroFont[ClassIndex(nClass)];
}

CPoint CAtlasMainWin::IntroOrigin(int nClass)
{
    return kIntroOrigin[ClassIndex(nClass)];
}

int CAtlasMainWin::IntroMaxRight(int nClass)
{
    return kIntroMaxRight[ClassIndex(nClass)];
}

CRect CAtlasMainWin::PlacePicture(const CRect& rcClient, int nMapTop, CSize sizePicture, BOOL bFlatMap)
{
    const int nSpaceHeight = rcClient.bottom - nMapTop - 10;
    int x;
    if (bFlatMap)
        x = rcClient.left + (rcClient.Width() - sizePicture.cx) / 2;
    else
        x = std::max<int>(rcClient.left, rcClient.right - 10 - sizePicture.cx);
    const int y = nMapTop + (nSpaceHeight - sizePicture.cy) / 2;
    return CRect(CPoint(x, std::max(nMapTop, y)), sizePicture);
}

CRect CAtlasMainWin::PlaceMapSearch(const CRect& rcClient, int nRowBottom, int nClass, const CRect& rcRemembered,
                                    const CRect& rcCurrent, int nPadWidth)
{
    const int nGap = kSearchGap[ClassIndex(nClass)];
    int nLeft = rcClient.left + 10;
    int nTop = nRowBottom + nGap + 50;
    if (nPadWidth > 0) {
        nLeft = rcClient.left + nPadWidth + 20;
        nTop = nRowBottom + nGap;
    }
    const int nBottomLimit = rcClient.bottom - 30;
    CRect rect;
    if (rcCurrent.IsRectNull()) {
        rect.SetRect(nLeft, nTop, nLeft + rcRemembered.Width(), std::min<int>(nTop + rcRemembered.Height(), nBottomLimit));
    } else {
        // Where the reader left it, kept inside the room it may use.
        rect = rcCurrent;
        if (rect.left < rcClient.left + 10)
            rect.OffsetRect(rcClient.left + 10 - rect.left, 0);
        if (rect.top < nTop)
            rect.top = nTop;
        if (rect.bottom > nBottomLimit)
            rect.bottom = nBottomLimit;
    }
    if (rect.Height() < 160)
        rect.bottom = rect.top + 160;
    return rect;
}

// ---- creation ----

int CAtlasMainWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPaletteMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nScreenClass = ClassIndex(GetAppScreenClass());
    if (!m_strIntro.LoadString(IDS_ATLAS_INTRO))
        m_strIntro.Empty();

    const DWORD dwButton = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
    for (int i = 0; i < kButtonCount; ++i) {
        const ButtonDef& def = kButtons[i];
        m_pButtons[i] = new CRollOverButton;
        if (!m_pButtons[i]->Create(def.lpszText, dwButton, CRect(0, 0, 10, 10), this, def.nId))
            return -1;
        m_pButtons[i]->ShowWindow(SW_HIDE);
        m_pButtons[i]->LoadStateBitmaps(def.nNormal, def.nSelected, def.nFocused, def.nDisabled, def.nAltNormal);
        m_pButtons[i]->LoadDib(def.nHover);
        m_pButtons[i]->SizeToBitmap();
    }

    m_pStickyIcon = new CStatic;
    if (m_pStickyIcon->Create("Atlas Sticky Icon", WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, CRect(0, 0, 26, 17),
                              this, IDC_ATLAS_STICKY_ICON)) {
        HICON hIcon = ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(290));
        if (hIcon == NULL && AppServices().env.hResourceLibrary != NULL)
            hIcon = ::LoadIcon(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(290));
        if (hIcon != NULL)
            m_pStickyIcon->SetIcon(hIcon);
        m_pStickyIcon->SetWindowPos(NULL, 0, 0, 26, 17, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_pStickyIcon->ShowWindow(SW_HIDE);
    }
    m_pStickyWnd = new CStickyNoteWnd;
    if (m_pStickyWnd->Create(this)) {
        m_pStickyWnd->ShowWindow(SW_HIDE);
        m_pStickyWnd->MoveWindow(-1000, -1000, -1001, -1001, FALSE);
    }

    if (!m_wndPad.Create(0, 0, this, IDW_ATLAS_CONTROL_PAD))
        return -1;
    m_wndPad.ShowWindow(SW_HIDE);

    // The row and the introduction first: they make the top of the map area.
    CRect client;
    GetClientRect(&client);
    m_sizeLast = client.Size();
    Layout();

    m_nMapNumber = kWorldMap;
    m_strMapTitle = kWorldMapTitle;
    SwitchToMap(CreateItemReference(kWorldMap, kWorldMapTitle));
    return 0;
}

// ---- switching maps ----

void CAtlasMainWin::SwitchToMap(CReference* pReference)
{
    if (pReference == NULL)
        return;
    if (Exists(m_pMapSearch))
        m_pMapSearch->ShowWindow(SW_HIDE);
    if (Exists(m_pDistCalc)) {
        m_pDistCalc->StopAnimations();
        m_pDistCalc->ShowWindow(SW_HIDE);
    }
    DestroyPictureWin(TRUE);

    delete m_pReference;
    m_pReference = pReference;
    delete m_pDocument;
    m_pDocument = NULL;
    try {
        m_pDocument = new CGrfDocument;
        m_pDocument->Load(m_pReference, FALSE);
    } catch (CException* e) {
        // No data folder: the view shows no map and stays usable.
        e->Delete();
    }

    RefreshTools();
    const BOOL bLoaded = m_pDocument != NULL && m_pDocument->IsLoaded();
    const CReference* pShown = bLoaded && m_pDocument->GetReference() != NULL ? m_pDocument->GetReference() : m_pReference;
    m_nMapNumber = pShown->GetNumber();
    m_strMapTitle = bLoaded ? m_pDocument->GetTitle() : CString(m_pReference->GetTitle());
    if (m_strMapTitle.IsEmpty() && m_nMapNumber == kWorldMap)
        m_strMapTitle = kWorldMapTitle;

    if (CAtlasShared::GetOverlayNumber() == 0)
        CAtlasShared::SetOverlayName(CAtlasShared::ThemeOfTitle(m_strMapTitle));

    if (bLoaded) {
        LONG nLegend = m_pDocument->GetLegendPosition();
        if (nLegend == 0)
            nLegend = m_pDocument->GetAlternativeLegendPosition();
        if (nLegend != 0 && Exists(&m_wndPad)) {
            // The legend lies in the record's own source: the archive (wParam 0) or its file.
            CString* pSource = m_pDocument->IsFromArchive() ? NULL : new CString(m_pDocument->GetImageSource());
            if (!m_wndPad.PostMessage(VLM_ATLAS_LEGEND, reinterpret_cast<WPARAM>(pSource), nLegend))
                delete pSource;
        }
    }

    CreatePictureWin();
    PlaceStickyIcon();
    RefreshSticky();

    const BOOL bFlat = IsFlatMap();
    for (Button n : {btnArticle, btnOverlays, btnZoomOut})
        if (m_pButtons[n] != NULL)
            m_pButtons[n]->ShowWindow(bFlat ? SW_HIDE : SW_SHOW);
    if (Exists(&m_wndPad)) {
        const BOOL bPadWanted = !bFlat && m_pButtons[btnOverlays] != NULL && m_pButtons[btnOverlays]->IsAlternate();
        m_wndPad.ShowWindow(bPadWanted ? SW_SHOWNA : SW_HIDE);
    }
    CAtlasShared::SetOverlayList(bLoaded ? m_pDocument->GetOverlayReferences() : NULL);
    if (Exists(&m_wndPad))
        m_wndPad.Invalidate();

    ShowMode(kShowMap);
    if (Exists(&m_wndPad))
        m_wndPad.SetWindowPos(NULL, 10, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CAtlasMainWin::DestroyPictureWin(BOOL bPaintOver)
{
    if (m_pPictureWin == NULL)
        return;
    if (Exists(m_pPictureWin)) {
        if (bPaintOver && GetSafeHwnd() != NULL) {
            CRect rect;
            m_pPictureWin->GetWindowRect(&rect);
            ScreenToClient(&rect);
            m_pPictureWin->ShowWindow(SW_HIDE);
            CClientDC dc(this);
            CPalette* pOld = m_pPalette != NULL ? dc.SelectPalette(m_pPalette, TRUE) : NULL;
            CBrush cream(kCream);
            dc.FillRect(&rect, &cream);
            if (pOld != NULL)
                dc.SelectPalette(pOld, TRUE);
            UpdateWindow();
        }
        m_pPictureWin->DestroyWindow();
    }
    delete m_pPictureWin;
    m_pPictureWin = NULL;
}

void CAtlasMainWin::CreatePictureWin()
{
    if (GetSafeHwnd() == NULL || m_pDocument == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    m_pPictureWin = new CGrfPictureWin(kCream, kMapSecond);
    try {
        const CSize space(std::max<int>(1, client.Width() - 10), std::max<int>(1, client.Height() - GetMapAreaTop() - 10));
        if (!m_pPictureWin->Create(this, space.cx, space.cy, m_pDocument, TRUE, IsFlatMap())) {
            delete m_pPictureWin;
            m_pPictureWin = NULL;
            return;
        }
    } catch (CException* e) {
        e->Delete();
        delete m_pPictureWin;
        m_pPictureWin = NULL;
        return;
    }
    PlacePictureWin();
    if (HPALETTE hPalette = m_pPictureWin->CreatePicturePalette()) {
        CPalette picture;
        picture.Attach(hPalette);
        if (BuildPalette(&picture, NULL, NULL, FALSE) && IsWindowVisible()) {
            CClientDC dc(this);
            RealizeOwnPalette(&dc, FALSE, FALSE);
        }
    }
    m_pPictureWin->ShowWindow(SW_SHOWNA);
}

// ---- layout ----

void CAtlasMainWin::OnSize(UINT nType, int cx, int cy)
{
    CPaletteMainWin::OnSize(nType, cx, cy);
    m_nScreenClass = ClassIndex(GetAppScreenClass());
    if (nType == SIZE_MINIMIZED || cx <= 0 || cy <= 0)
        return;
    if (m_sizeLast == CSize(cx, cy))
        return;
    m_sizeLast = CSize(cx, cy);
    Layout();
}

void CAtlasMainWin::Layout()
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    {
        CClientDC dc(this);
        MeasureIntro(&dc, client.Width());
    }
    PlaceButtons(client.Width());
    PlacePictureWin();
    PlaceStickyIcon();
    PlaceMapSearch();
    PlaceDistanceCalculator();
    if (Exists(&m_wndPad))
        m_wndPad.SetWindowPos(NULL, 10, 1, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    Invalidate();
}

void CAtlasMainWin::MeasureIntro(CDC* pDC, int cx)
{
    if (m_nIntroFontClass != m_nScreenClass) {
        m_fontIntro.DeleteObject();
        MakeFont(m_fontIntro, kIntroFont[m_nScreenClass], FW_DONTCARE, "Arial");
        m_nIntroFontClass = m_nScreenClass;
    }
    const CPoint origin = kIntroOrigin[m_nScreenClass];
    const int nRight = std::min(cx - 10, kIntroMaxRight[m_nScreenClass]);
    m_rcIntro.SetRect(origin.x, origin.y, std::max<int>(origin.x, nRight), origin.y);
    CFont* pOld = pDC->SelectObject(&m_fontIntro);
    CRect measured = m_rcIntro;
    pDC->DrawText(m_strIntro, &measured, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    pDC->SelectObject(pOld);
    m_rcIntro.bottom = measured.bottom;
    m_nIntroBottom = m_rcIntro.bottom;
}

void CAtlasMainWin::PlaceButtons(int cx)
{
    int x = cx - 10;
    m_nButtonBottom = 10;
    for (CRollOverButton* pButton : m_pButtons) {
        if (!Exists(pButton))
            continue;
        CRect rect;
        pButton->GetWindowRect(&rect);
        x -= rect.Width();
        pButton->SetWindowPos(NULL, x, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        m_nButtonBottom = 10 + rect.Height();
    }
    if (m_pButtons[btnDistance] != NULL)
        m_pButtons[btnDistance]->ShowWindow(SW_SHOW);
    if (m_pButtons[btnMapSearch] != NULL)
        m_pButtons[btnMapSearch]->ShowWindow(SW_SHOW);
}

void CAtlasMainWin::PlacePictureWin()
{
    if (!Exists(m_pPictureWin))
        return;
    CRect client;
    GetClientRect(&client);
    CRect rect;
    if (m_bSavedPicture) {
        rect = m_rcSavedPicture;
        m_bSavedPicture = FALSE;
    } else {
        const int nTop = GetMapAreaTop();
        const CSize size = m_pPictureWin->CalcWindowSize(std::max<int>(1, client.Width() - 10),
                                                         std::max<int>(1, client.Height() - nTop - 10));
        rect = PlacePicture(client, nTop, size, IsFlatMap());
    }
    m_rcPicture = rect;
    m_pPictureWin->SetWindowPos(NULL, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAtlasMainWin::PlaceStickyIcon()
{
    if (!Exists(m_pStickyIcon))
        return;
    CRollOverButton* pBeside = m_pButtons[IsFlatMap() ? btnMapSearch : btnZoomOut];
    if (!Exists(pBeside))
        return;
    CRect button;
    pBeside->GetWindowRect(&button);
    ScreenToClient(&button);
    CRect icon;
    m_pStickyIcon->GetWindowRect(&icon);
    m_pStickyIcon->SetWindowPos(&wndBottom, button.left - 10 - icon.Width(), button.bottom - icon.Height(), 0, 0,
                                SWP_NOSIZE | SWP_NOACTIVATE);
}

void CAtlasMainWin::PlaceMapSearch()
{
    if (!Exists(m_pMapSearch))
        return;
    CRect client;
    GetClientRect(&client);
    CRect rect;
    if (m_bSavedMapSearch) {
        rect = m_rcSavedMapSearch;
        m_bSavedMapSearch = FALSE;
    } else {
        CRect current;
        if (m_bMapSearchPlaced) {
            m_pMapSearch->GetWindowRect(&current);
            ScreenToClient(&current);
        }
        const int nPadWidth = IsFlatMap() && m_wndPad.IsWindowVisible() ? m_wndPad.GetPadSize().cx : 0;
        rect = PlaceMapSearch(client, m_nButtonBottom, m_nScreenClass, m_rcMapSearch, current, nPadWidth);
    }
    m_pMapSearch->MoveWindow(&rect);
    m_pMapSearch->LayOut();
    m_rcMapSearch = rect;
    m_bMapSearchPlaced = TRUE;
}

// ---- painting ----

BOOL CAtlasMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CAtlasMainWin::OnPaint()
{
    CPaintDC dc(this);
    // In the background: a paint that brought the colours in again would repaint the whole
    // frame, over and over.
    if (m_pPalette != NULL)
        RealizeOwnPalette(&dc, TRUE, FALSE);
    // The ground and the introduction are the application's colours, which the view's palette
    // keeps beside the map's: on a 256-colour display a map of many colours cannot push them out.
    CAppPaletteSelector appPalette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    CBrush cream(kCream);
    dc.FillRect(&client, &cream);
    if (IsFlatMap())
        PaintIntro(&dc);
}

void CAtlasMainWin::PaintIntro(CDC* pDC)
{
    const int c = m_nScreenClass;
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(kBlack);
    CFont welcome;
    MakeFont(welcome, kWelcomeFont[c], FW_BOLD, "Arial Bold");
    CFont atlas;
    MakeFont(atlas, kAtlasFont[c], FW_DONTCARE, "Arial");

    static const char kWelcome[] = " WELCOME TO";
    static const char kAtlasTitle[] = "Veltra's Atlas ";
    const int xWelcome = kWelcomeShift[c];
    const int yWelcome = kHeadingTop[c];
    CFont* pOld = pDC->SelectObject(&welcome);
    pDC->TextOut(xWelcome, yWelcome, kWelcome);
    const CSize sizeWelcome = pDC->GetTextExtent(kWelcome);
    pDC->SelectObject(&atlas);
    int xAtlas;
    int yAtlas;
    int nLift;
    if (c == 0) {
        // One line: the title five pixels right of the greeting, sharing its bottom.
        xAtlas = xWelcome + sizeWelcome.cx + 5;
        yAtlas = yWelcome + sizeWelcome.cy - pDC->GetTextExtent(kAtlasTitle).cy;
        yAtlas = std::max(0, yAtlas);
        nLift = 1;
    } else {
        xAtlas = xWelcome - 3;
        yAtlas = yWelcome + 10;
        nLift = 2;
    }
    pDC->TextOut(xAtlas, yAtlas, kAtlasTitle);
    pDC->SetTextColor(kTitleGreen);
    pDC->TextOut(xAtlas - nLift, yAtlas - nLift, kAtlasTitle);

    pDC->SetTextColor(kBlack);
    pDC->SelectObject(&m_fontIntro);
    CRect text = m_rcIntro;
    text.bottom = text.top + 0x3FFF;
    CRect measured = m_rcIntro;
    pDC->DrawText(m_strIntro, &measured, DT_WORDBREAK | DT_CALCRECT | DT_NOPREFIX);
    pDC->DrawText(m_strIntro, &text, DT_WORDBREAK | DT_NOPREFIX);
    m_nIntroBottom = measured.bottom;
    pDC->SelectObject(pOld);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
}

BOOL CAtlasMainWin::OnQueryNewPalette()
{
    const BOOL bChanged = CPaletteMainWin::OnQueryNewPalette();
    if (m_nOverlayFlag != 0) {
        // The pad realises its palette again when it next paints.
        m_nOverlayFlag = 0;
        if (Exists(&m_wndPad) && m_wndPad.IsWindowVisible())
            m_wndPad.Invalidate();
    }
    return bChanged;
}

// ---- buttons and commands ----

void CAtlasMainWin::ShowMode(int nMode)
{
    for (Button n : {btnMapSearch, btnDistance})
        if (m_pButtons[n] != NULL)
            m_pButtons[n]->SetDib(FALSE);
    if (nMode != kShowDistance && Exists(m_pDistCalc) && m_pDistCalc->IsWindowVisible()) {
        m_pDistCalc->StopAnimations();
        m_pDistCalc->ShowWindow(SW_HIDE);
    }
    if (nMode == kShowDistance && Exists(m_pDistCalc)) {
        if (Exists(m_pMapSearch))
            m_pMapSearch->ShowWindow(SW_HIDE);
        m_pDistCalc->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        m_pDistCalc->ShowWindow(SW_SHOW);
        m_pDistCalc->StartSpinning();
        if (m_pButtons[btnDistance] != NULL)
            m_pButtons[btnDistance]->SetDib(TRUE);
    } else if (nMode == kShowMapSearch && Exists(m_pMapSearch)) {
        m_pMapSearch->ShowWindow(SW_SHOW);
        m_pMapSearch->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
        if (m_pButtons[btnMapSearch] != NULL)
            m_pButtons[btnMapSearch]->SetDib(TRUE);
        m_pMapSearch->FocusEdit();
    } else {
        if (Exists(m_pMapSearch))
            m_pMapSearch->ShowWindow(SW_HIDE);
        if (IsWindowVisible())
            SetFocus();
    }
    Invalidate();
}

BOOL CAtlasMainWin::EnsureMapSearch()
{
    if (Exists(m_pMapSearch))
        return TRUE;
    delete m_pMapSearch;
    m_pMapSearch = NULL;
    try {
        m_pMapSearch = new CAtlasMapSearch;
    } catch (CException* e) {
        e->Delete();
        AfxMessageBox(kMapSearchFailed, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    m_bMapSearchPlaced = FALSE;
    if (!m_pMapSearch->Create(m_rcMapSearch, this, IDW_ATLAS_MAP_SEARCH)) {
        delete m_pMapSearch;
        m_pMapSearch = NULL;
        AfxMessageBox(kMapSearchFailed, MB_OK | MB_ICONEXCLAMATION);
        return FALSE;
    }
    return TRUE;
}

void CAtlasMainWin::OpenMapSearch()
{
    if (Exists(m_pMapSearch) && m_pMapSearch->IsWindowVisible()) {
        m_pMapSearch->ShowWindow(SW_HIDE);
        if (m_pButtons[btnMapSearch] != NULL)
            m_pButtons[btnMapSearch]->SetDib(FALSE);
        return;
    }
    if (!EnsureMapSearch())
        return;
    PlaceMapSearch();
    ShowMode(kShowMapSearch);
}

void CAtlasMainWin::OnMapSearchButton()
{
    OpenMapSearch();
}

void CAtlasMainWin::OpenDistanceCalculator()
{
    if (Exists(m_pDistCalc) && m_pDistCalc->IsWindowVisible()) {
        m_pDistCalc->StopAnimations();
        m_pDistCalc->ShowWindow(SW_HIDE);
        if (m_pButtons[btnDistance] != NULL)
            m_pButtons[btnDistance]->SetDib(FALSE);
        SetFocus();
        return;
    }
    if (!Exists(m_pDistCalc)) {
        delete m_pDistCalc;
        m_pDistCalc = NULL;
        try {
            m_pDistCalc = new CAtlasDistanceCalculator;
        } catch (CException* e) {
            e->Delete();  // the list has said what is missing
            return;
        }
        const CSize size = CAtlasDistanceCalculator::PanelSize(m_nScreenClass);
        if (!m_pDistCalc->Create(CRect(CPoint(0, 0), size), this, IDW_ATLAS_DISTANCE_CALCULATOR)) {
            delete m_pDistCalc;
            m_pDistCalc = NULL;
            AfxMessageBox("Unable to create the Distance Calculator window.", MB_OK | MB_ICONEXCLAMATION);
            return;
        }
        PlaceDistanceCalculator();
    }
    ShowMode(kShowDistance);
}

void CAtlasMainWin::OnDistanceButton()
{
    OpenDistanceCalculator();
}

void CAtlasMainWin::PlaceDistanceCalculator()
{
    if (!Exists(m_pDistCalc))
        return;
    CRect client;
    GetClientRect(&client);
    CRect rect;
    m_pDistCalc->GetWindowRect(&rect);
    const CPoint corner(client.right - 10, client.bottom - 5);
    m_pDistCalc->SetWindowPos(NULL, corner.x - rect.Width(), corner.y - rect.Height(), 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CAtlasMainWin::ZoomOut()
{
    CReference* pUp = NULL;
    if (m_pDocument != NULL && m_pDocument->IsLoaded())
        pUp = m_pDocument->GetZoomOutReference();
    else if (!IsFlatMap())
        // A map that could not be read names no map above it: the way out is the world map.
        pUp = CreateItemReference(kWorldMap, kWorldMapTitle);
    if (pUp != NULL)
        SwitchToMap(pUp);
    PostMessage(VLM_START_PAGE, 0, 0);
}

void CAtlasMainWin::OnZoomOutButton()
{
    ZoomOut();
}

LRESULT CAtlasMainWin::OnZoomOutMessage(WPARAM, LPARAM)
{
    ZoomOut();
    return 0;
}

void CAtlasMainWin::OpenArticle()
{
    if (m_pDocument == NULL || !m_pDocument->IsLoaded() || m_pDocument->GetItemNumber() == 0)
        return;
    std::unique_ptr<CReference> pArticle(m_pDocument->CreateReference());
    CWnd* pTop = GetTopLevelParent();
    if (pArticle == nullptr || pTop == NULL)
        return;
    if (pTop->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pArticle.get())))
        pArticle.release();
}

void CAtlasMainWin::OnArticleButton()
{
    OpenArticle();
}

void CAtlasMainWin::ToggleControlPad()
{
    if (!Exists(&m_wndPad))
        return;
    CRollOverButton* pButton = m_pButtons[btnOverlays];
    if (m_wndPad.IsWindowVisible()) {
        m_wndPad.ShowWindow(SW_HIDE);
        if (pButton != NULL)
            pButton->SetDib(FALSE);
    } else if (!IsFlatMap()) {
        // The world map has no overlays: its pad stays away.
        m_wndPad.SetWindowPos(&wndTop, 10, 1, 0, 0, SWP_NOSIZE | SWP_SHOWWINDOW);
        if (pButton != NULL)
            pButton->SetDib(TRUE);
    }
    if (Exists(m_pMapSearch) && m_pMapSearch->IsWindowVisible())
        PlaceMapSearch();
}

void CAtlasMainWin::OnOverlaysButton()
{
    ToggleControlPad();
}

LRESULT CAtlasMainWin::OnTogglePad(WPARAM, LPARAM)
{
    ToggleControlPad();
    return 0;
}

void CAtlasMainWin::OnPrintCommand()
{
    OnFilePrint();
}

void CAtlasMainWin::OnStickyCommand()
{
    if (Exists(m_pStickyWnd))
        m_pStickyWnd->PostMessage(VLM_STICKY_SHOW, static_cast<WPARAM>(-1), 0);
}

LRESULT CAtlasMainWin::OnStickyMessage(WPARAM, LPARAM)
{
    OnStickyCommand();
    return 0;
}

void CAtlasMainWin::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (Exists(m_pStickyIcon) && m_pStickyIcon->IsWindowVisible()) {
        CRect icon;
        m_pStickyIcon->GetWindowRect(&icon);
        ScreenToClient(&icon);
        if (icon.PtInRect(point))
            OnStickyCommand();
    }
    CPaletteMainWin::OnLButtonUp(nFlags, point);
}

LRESULT CAtlasMainWin::OnStickyPresent(WPARAM wParam, LPARAM lParam)
{
    // A list of note positions that travels with the notice is the receiver's.
    delete[] reinterpret_cast<WORD*>(lParam);
    if ((wParam != 0 && !m_bHasNote) || (wParam == 0 && m_bHasNote))
        RefreshSticky();
    return 0;
}

void CAtlasMainWin::RefreshSticky()
{
    m_bHasNote = FALSE;
    if (Exists(m_pStickyWnd) && m_pReference != NULL) {
        CReference* pNoteItem = CreateItemReference(m_nMapNumber, m_strMapTitle);
        if (pNoteItem != NULL) {
            m_pStickyWnd->SelectNote(m_strMapTitle, pNoteItem);
            m_bHasNote = m_pStickyWnd->FindNoteIndex(pNoteItem) >= 0;
            delete pNoteItem;
        }
    }
    if (Exists(m_pStickyIcon))
        m_pStickyIcon->ShowWindow(m_bHasNote ? SW_SHOWNA : SW_HIDE);
}

// ---- the Tool Kit, printing and copying ----

void CAtlasMainWin::RefreshTools()
{
    CString strValue = AfxGetApp() != NULL ? AfxGetApp()->GetProfileString(kSection, "DGP", "") : CString();
    m_bToolsEnabled = m_pDocument != NULL && m_pDocument->IsLoaded() && strValue.CompareNoCase("y") != 0;
    GetAppHost().EnableTools(m_bToolsEnabled, TRUE, FALSE, TRUE, TRUE);
}

LRESULT CAtlasMainWin::OnRefreshTools(WPARAM, LPARAM)
{
    RefreshTools();
    return 0;
}

LRESULT CAtlasMainWin::OnStop(WPARAM, LPARAM)
{
    // Only the distance calculator has something to stop.
    if (Exists(m_pDistCalc))
        m_pDistCalc->SendMessage(VLM_STOP, 0, 0);
    return 0;
}

void CAtlasMainWin::OnFilePrint()
{
    if (Exists(m_pPictureWin) && m_bToolsEnabled)
        m_pPictureWin->Print();
}

BOOL CAtlasMainWin::CanPrint()
{
    return m_bToolsEnabled;
}

void CAtlasMainWin::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(m_pDocument != NULL && m_pDocument->IsLoaded() && m_pDocument->CanCopy());
}

void CAtlasMainWin::OnEditCopy()
{
    if (m_pDocument != NULL && m_pDocument->CanCopy() && Exists(m_pPictureWin))
        m_pPictureWin->CopyToClipboard();
}

// ---- activation and the frame's messages ----

void CAtlasMainWin::OnActivateMainWin(BOOL bActive)
{
    if (!bActive) {
        if (m_pMapSearch != NULL)
            m_pMapSearch->ViewHidden();
        if (Exists(m_pDistCalc)) {
            m_pDistCalc->SendMessage(VLM_STOP, 0, 0);
            m_pDistCalc->Stop();
            m_bDistCalcWasVisible = m_pDistCalc->IsWindowVisible();
            m_pDistCalc->ShowWindow(SW_HIDE);
        }
        if (Exists(m_pPictureWin))
            m_pPictureWin->ShowWindow(SW_HIDE);
        return;
    }
    RefreshSticky();
    if (m_pMapSearch != NULL)
        m_pMapSearch->ViewShown();
    if (Exists(m_pDistCalc)) {
        m_pDistCalc->Restart();
        if (m_bDistCalcWasVisible) {
            m_pDistCalc->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
            m_bDistCalcWasVisible = FALSE;
        }
    }
    if (Exists(m_pPictureWin))
        m_pPictureWin->ShowWindow(SW_HIDE);
    if (m_pPalette != NULL) {
        CClientDC dc(this);
        RealizeOwnPalette(&dc, FALSE, FALSE);
    } else {
        RealizeAppPalette(FALSE);
    }
    if (Exists(m_pPictureWin))
        m_pPictureWin->ShowWindow(SW_SHOWNA);
    Invalidate();
    UpdateWindow();
}

void CAtlasMainWin::RecordState()
{
    auto* pState = new (std::nothrow)
        CAtlasStateObj(m_nMapNumber, m_strMapTitle, CAtlasShared::GetOverlayNumber(), CAtlasShared::GetOverlayName());
    CAtlasShared::SetOverlayNumber(0);
    if (pState == NULL)
        return;
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL || pTop == this || !pTop->PostMessage(VLM_PUSH_STATE, 0, reinterpret_cast<LPARAM>(pState)))
        delete pState;
}

void CAtlasMainWin::AskToBeShown()
{
    CVLMainWin::ShowMainWindow(IDW_ATLAS, 0);
}

void CAtlasMainWin::ShowMainWindow(UINT, LPARAM lParam)
{
    try {
        RecordState();
        AskToBeShown();
        RefreshTools();
        if (lParam != 0 && EnsureMapSearch()) {
            PlaceMapSearch();
            ShowMode(kShowMapSearch);
        }
    } catch (CUserException* e) {
        e->Delete();
        AfxMessageBox(kMapSearchFailed, MB_OK | MB_ICONEXCLAMATION);
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
}

LRESULT CAtlasMainWin::OnOpenMap(WPARAM, LPARAM lParam)
{
    CObject* pObject = reinterpret_cast<CObject*>(lParam);
    CReference* pMap = DYNAMIC_DOWNCAST(CReference, pObject);
    if (pMap == NULL) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    SwitchToMap(pMap);
    RecordState();
    AskToBeShown();
    return 1;
}

LRESULT CAtlasMainWin::OnRestoreState(WPARAM, LPARAM lParam)
{
    CAtlasStateObj* pState = DYNAMIC_DOWNCAST(CAtlasStateObj, reinterpret_cast<CObject*>(lParam));
    if (pState == NULL) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    CAtlasShared::SetOverlayNumber(pState->GetOverlayNumber());
    CAtlasShared::SetOverlayName(pState->GetOverlayName());
    SwitchToMap(CreateItemReference(pState->GetMapNumber(), ""));
    // The state's overlay served this switch; the next map the reader opens names its own.
    CAtlasShared::SetOverlayNumber(0);
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL || pTop == this || !pTop->PostMessage(VLM_PUSH_STATE, VLM_RESTORE_STATE, lParam))
        delete pState;
    AskToBeShown();
    return 1;
}

LRESULT CAtlasMainWin::OnDataLocation(WPARAM, LPARAM lParam)
{
    return DataLocationOfCarriedObject(lParam);
}

void CAtlasMainWin::RememberChildWindows(int nRemember)
{
    m_nRemembered = nRemember;
    if (Exists(m_pDistCalc))
        m_pDistCalc->SetMinimised(nRemember != 0);
    if (nRemember == 0)
        return;
    if (Exists(m_pMapSearch)) {
        m_pMapSearch->GetWindowRect(&m_rcSavedMapSearch);
        ScreenToClient(&m_rcSavedMapSearch);
        m_bSavedMapSearch = TRUE;
    }
    if (Exists(m_pPictureWin)) {
        m_pPictureWin->GetWindowRect(&m_rcSavedPicture);
        ScreenToClient(&m_rcSavedPicture);
        m_bSavedPicture = TRUE;
    }
}
