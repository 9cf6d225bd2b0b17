#include "media/MediaResourceMainWin.h"

#include "base/AppHost.h"
#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/Rin.h"
#include "base/VLMessages.h"
#include "media/EmbeddedSimHolder.h"
#include "media/GrfDocument.h"
#include "media/GrfPictureWin.h"
#include "media/GrfQTWin.h"
#include "media/InstructionWnd.h"
#include "base/ResourceLibrary.h"
#include "media/MediaCaptionWin.h"
#include "media/MediaDisplayRef.h"
#include "media/MediaListTabWin.h"
#include "media/MediaOverlayWin.h"
#include "media/PhotoWin.h"
#include "media/QTAudioWin.h"
#include "media/StickyNoteWnd.h"
#include "widgets/Dib.h"
#include "widgets/RollOverButton.h"

#include <mmsystem.h>

#include <algorithm>
#include <cstring>
#include <memory>

IMPLEMENT_DYNAMIC(CMediaResourceMainWin, CPaletteMainWin)

namespace {

const CMediaResourceMainWin::ScreenLayout kLayouts[3] = {
    {19, 16, 8, 115, 195, 205, 232, 225},
    {19, 20, 10, 151, 195, 205, 297, 254},
    {19, 26, 13, 202, 232, 242, 401, 320},
};

// The buttons in their creation order: text, id, and the pictures a (normal), b (pressed),
// c (disabled), d (latched), e (roll-over).
struct ButtonDef {
    LPCSTR lpszText;
    UINT nId;
    UINT a, b, c, d, e;
    int x[3][2];
};
const ButtonDef kButtons[7] = {
    {"MR Instructions button", MR_ID_INSTRUCTIONS, 7468, 7465, 7469, 7466, 7467, {{225, 314}, {254, 376}, {320, 482}}},
    {"MR Caption button", MR_ID_CAPTION, 7427, 7424, 7428, 7425, 7426, {{315, 379}, {377, 464}, {483, 602}}},
    {"MR Goto Article button", MR_ID_GOTO_ARTICLE, 7453, 7450, 7454, 7451, 7452, {{380, 470}, {465, 584}, {603, 755}}},
    {"MR Browse Media button", MR_ID_BROWSE, 7412, 7409, 7413, 7410, 7411, {{471, 563}, {585, 689}, {756, 887}}},
    {"MR Overlay button", MR_ID_OVERLAY, 7484, 7481, 7485, 7482, 7483, {{564, 630}, {690, 790}, {888, 1014}}},
    {"MR Enlarge button", MR_ID_ENLARGE, 8281, 8278, 8282, 8279, 8280, {{0, 0}, {143, 253}, {170, 319}}},
    {"MR Reduce button", MR_ID_REDUCE, 8286, 8283, 8287, 8284, 8285, {{0, 0}, {143, 253}, {170, 319}}},
};
enum { btnInstructions, btnCaption, btnGoto, btnBrowse, btnOverlay, btnEnlarge, btnReduce };

const int kSelectorY[3] = {88, 100, 124};
const COLORREF kMediaFrame = 0x02442850;
const char kSection[] = "Veltra Jubilee 2000 (International)";
const char kMovieErrorText[] =
    "An error has occurred while attempting to play a Quicktime\nmovie.  If this error persists, please reinstall the\n"
    "Veltra Multimedia Encyclopedia to ensure that you\nhave the correct version of Quicktime installed.\n";
const char kSoundErrorText[] =
    "An error has occurred while attempting to play a Quicktime\naudio file.  If this error persists, please reinstall "
    "the\nVeltra Multimedia Encyclopedia to ensure that you\nhave the correct version of Quicktime installed.\n";

BOOL IsSoundNumber(LONG n)
{
    return n >= 6000000 && n <= 6999999;
}

BOOL ProfileSaysYes(LPCSTR lpszKey)
{
    CString strValue = AfxGetApp() != NULL ? AfxGetApp()->GetProfileString(kSection, lpszKey, "") : CString();
    return strValue.CompareNoCase("y") == 0;
}

int ClassIndex(int n)
{
    return std::clamp(n, 0, 2);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMediaResourceMainWin, CPaletteMainWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SHOWWINDOW()
    ON_WM_SETCURSOR()
    ON_WM_LBUTTONUP()
    ON_MESSAGE(MM_MCINOTIFY, OnMciNotify)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpenReference)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnTakeDisplayRef)
    ON_MESSAGE(VLM_RESTORE_STATE, OnRestoreState)
    ON_MESSAGE(VLM_DATA_LOCATION, OnDataLocation)
    ON_MESSAGE(0x40A, OnDiscPrompt)
    ON_MESSAGE(VLM_STICKY_NOTE, OnStickyCommand)
    ON_BN_CLICKED(MR_ID_STICKY_ICON, OnStickyIcon)
    ON_BN_DOUBLECLICKED(MR_ID_STICKY_ICON, OnStickyIcon)
    ON_COMMAND(MR_ID_STICKY_COMMAND, OnStickyIcon)
    ON_MESSAGE(VLM_REFRESH_TOOLS, OnRefreshTools)
    ON_MESSAGE(VLM_STOP, OnStopMessage)
    ON_MESSAGE(VLM_CAPTION_SHOWN, OnPanelChanged)
    ON_MESSAGE(VLM_PASS_TO_VIEW, OnNothing)
    ON_MESSAGE(0x4F7, OnNothing)
    ON_MESSAGE(0x4F8, OnCloseMovie)
    ON_MESSAGE(VLM_STICKY_PRESENT, OnStickyPresent)
    ON_COMMAND(MR_ID_BROWSE, OnBrowseMedia)
    ON_COMMAND(MR_ID_GOTO_ARTICLE, OnGotoArticle)
    ON_COMMAND(MR_ID_CAPTION, OnCaption)
    ON_COMMAND(MR_ID_OVERLAY, OnOverlay)
    ON_COMMAND(MR_ID_INSTRUCTIONS, OnInstructions)
    ON_COMMAND(MR_ID_ENLARGE, OnEnlarge)
    ON_COMMAND(MR_ID_REDUCE, OnReduce)
END_MESSAGE_MAP()

const CMediaResourceMainWin::ScreenLayout& CMediaResourceMainWin::LayoutOf(int nScreenClass)
{
    return kLayouts[ClassIndex(nScreenClass)];
}

CRect CMediaResourceMainWin::ButtonRect(UINT nID, int nScreenClass)
{
    const int c = ClassIndex(nScreenClass);
    for (const ButtonDef& def : kButtons)
        if (def.nId == nID) {
            if (def.x[c][1] == 0)
                return CRect();
            return CRect(def.x[c][0], 10, def.x[c][1], LayoutOf(c).buttonHeight + 10);
        }
    return CRect();
}

CMediaResourceMainWin::CMediaResourceMainWin()
{
    m_nScreenClass = ClassIndex(GetAppScreenClass());
}

CMediaResourceMainWin::~CMediaResourceMainWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    EndSound();
    DestroyMovie();
    delete m_pSimHolder;
    delete m_pPhotoWin;
    delete m_pPictureWin;
    delete m_pDocument;
    delete m_pOverlayList;
    delete m_pGroupList;
    delete m_pDisplayRef;
    delete m_pInstructions;
    delete m_pListTab;
    delete m_pOverlayPanel;
    delete m_pCaptionPanel;
    delete m_pStickyWnd;
    delete m_pStickyIcon;
    delete m_pSelector;
    for (CRollOverButton*& pButton : m_pButtons) {
        delete pButton;
        pButton = NULL;
    }
}

BOOL CMediaResourceMainWin::Create(CWnd* pParent, const RECT& rect)
{
    return CreateView(NULL, "Main Media Resource Window", rect, pParent, IDW_MEDIA);
}

CRollOverButton* CMediaResourceMainWin::GetButton(UINT nID) const
{
    for (int i = 0; i < 7; ++i)
        if (kButtons[i].nId == nID)
            return m_pButtons[i];
    return NULL;
}

// ---- creation ----

int CMediaResourceMainWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CPaletteMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_nScreenClass = ClassIndex(GetAppScreenClass());
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    const DWORD dwButton = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_OWNERDRAW;
    for (int i = 0; i < 7; ++i) {
        m_pButtons[i] = new CRollOverButton;
        if (!m_pButtons[i]->Create(kButtons[i].lpszText, dwButton, CRect(0, 0, 10, 10), this, kButtons[i].nId))
            return -1;
        m_pButtons[i]->ShowWindow(SW_HIDE);
    }
    for (int i = 0; i < 7; ++i) {
        const ButtonDef& def = kButtons[i];
        m_pButtons[i]->LoadStateBitmaps(def.a, def.b, 0, def.c, def.d);
        m_pButtons[i]->LoadDib(def.e);
        m_pButtons[i]->SizeToBitmap();
        m_pButtons[i]->SetDib(0);
    }
    m_bButtonsCreated = TRUE;

    m_pStickyIcon = new CStatic;
    if (m_pStickyIcon->Create("", WS_CHILD | WS_VISIBLE | SS_ICON | SS_NOTIFY, CRect(0, 0, 26, 17), this,
                              MR_ID_STICKY_ICON)) {
        HICON hIcon = ::LoadIcon(AfxGetInstanceHandle(), MAKEINTRESOURCE(290));
        if (hIcon == NULL && AppServices().env.hResourceLibrary != NULL)
            hIcon = ::LoadIcon(AppServices().env.hResourceLibrary, MAKEINTRESOURCE(290));
        if (hIcon != NULL)
            m_pStickyIcon->SetIcon(hIcon);
        m_pStickyIcon->ShowWindow(SW_HIDE);
    }
    m_pStickyWnd = new CStickyNoteWnd;
    if (m_pStickyWnd->Create(this)) {
        m_pStickyWnd->ShowWindow(SW_HIDE);
        m_pStickyWnd->MoveWindow(-1000, -1000, -1001, -1001, FALSE);
    }

    m_pListTab = new CMediaListTabWin;
    if (!m_pListTab->Create(10, L.PanelTop(), this))
        return -1;
    m_pListTab->ShowWindow(SW_HIDE);
    m_pInstructions = new CInstructionWnd;
    if (!m_pInstructions->Create("INSTRUCTIONS", 10, L.PanelTop(), this, MR_ID_INSTRUCTIONS_PANEL))
        return -1;
    m_pInstructions->ShowWindow(SW_HIDE);

    m_pSelector = new CMediaSlidingSelector;
    m_pSelector->SetChooser(this);
    m_pSelector->Create(this, 14, kSelectorY[m_nScreenClass]);

    m_pCaptionPanel = new CMediaCaptionWin;
    if (m_pCaptionPanel->Create(WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_VSCROLL | WS_THICKFRAME, CaptionRect(),
                                this, MR_ID_CAPTION_PANEL)) {
        m_pCaptionPanel->SetTextColor(kMediaFrame);
        m_pCaptionPanel->ShowWindow(SW_HIDE);
    }
    m_pOverlayPanel = new CMediaOverlayWin;
    if (m_pOverlayPanel->Create(18, 225, this))
        m_pOverlayPanel->ShowWindow(SW_HIDE);
    return 0;
}

void CMediaResourceMainWin::PlaceButtons()
{
    if (!m_bButtonsCreated || m_bButtonsPlaced)
        return;
    m_bButtonsPlaced = TRUE;
    for (int i = 0; i < 7; ++i) {
        const CRect rect = ButtonRect(kButtons[i].nId, m_nScreenClass);
        if (rect.IsRectEmpty()) {
            m_pButtons[i]->ShowWindow(SW_HIDE);
            continue;
        }
        m_pButtons[i]->SetWindowPos(NULL, rect.left, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (i == btnEnlarge || i == btnReduce)
            m_pButtons[i]->ShowWindow(SW_HIDE);
        else
            m_pButtons[i]->ShowWindow(SW_SHOWNA);
    }
    m_pButtons[btnCaption]->EnableWindow(FALSE);
    m_pButtons[btnOverlay]->EnableWindow(FALSE);
    m_pButtons[btnGoto]->EnableWindow(FALSE);
}

CRect CMediaResourceMainWin::PanelRect() const
{
    CRect client;
    GetClientRect(&client);
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    return CRect(10, L.PanelTop(), L.panelWidth, std::max(L.PanelTop() + 40, static_cast<int>(client.bottom) - 10));
}

CRect CMediaResourceMainWin::CaptionRect() const
{
    CRect client;
    GetClientRect(&client);
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    return CRect(10, client.bottom - L.captionHeight - 10, L.captionWidth + 10, client.bottom - 10);
}

CRect CMediaResourceMainWin::TitleRect() const
{
    CRect client;
    GetClientRect(&client);
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    const int nBottom = m_rcMedia.IsRectEmpty() ? L.MediaTop() - 2 : m_rcMedia.top - 2;
    // One line stands over the media's left edge; wider titles start further left.
    const int nLeft = m_nTitleMode != 0 ? 10 : m_rcMedia.IsRectEmpty() ? L.mediaLeft : static_cast<int>(m_rcMedia.left);
    return CRect(nLeft, nBottom - L.labelHeight, std::max(nLeft + 10, static_cast<int>(client.right) - 10), nBottom);
}

void CMediaResourceMainWin::SetNoteRect()
{
    m_rcNote.SetRect(m_rcMedia.left, m_rcMedia.bottom + 10, m_rcMedia.right, m_rcMedia.bottom + 35);
    const int nSide = m_nScreenClass == 0 ? 21 : 27;
    const int nHigh = m_nScreenClass == 0 ? 16 : 17;
    m_rcStickyMarker.SetRect(m_rcMedia.right - nSide, m_rcMedia.top - 2 - nHigh, m_rcMedia.right, m_rcMedia.top - 2);
}

// ---- layout ----

void CMediaResourceMainWin::OnSize(UINT nType, int cx, int cy)
{
    CPaletteMainWin::OnSize(nType, cx, cy);
    Layout(cx, cy);
}

void CMediaResourceMainWin::Layout(int cx, int cy)
{
    BOOL bGrew = FALSE, bShrank = FALSE;
    if (cx == -1 && cy == -1) {
        cx = m_sizeLast.cx;
        cy = m_sizeLast.cy;
        if (cx < 0) {
            CRect client;
            GetClientRect(&client);
            cx = client.Width();
            cy = client.Height();
        }
    } else {
        if (CSize(cx, cy) == m_sizeLast)
            return;
        bGrew = m_sizeLast.cy >= 0 && cy > m_sizeLast.cy;
        bShrank = m_sizeLast.cy >= 0 && cy < m_sizeLast.cy;
        m_sizeLast = CSize(cx, cy);
    }
    PlaceButtons();
    if (bGrew || bShrank)
        PlacePanelsForHeight(cy, bGrew, bShrank);
    PlaceMedia(cx, cy);
    FitTitle();
    SetNoteRect();
    Invalidate();
    UpdateWindow();
}

void CMediaResourceMainWin::PlacePanelsForHeight(int cy, BOOL bGrew, BOOL bShrank)
{
    CWnd* panels[4] = {m_pListTab, m_pOverlayPanel, m_pInstructions, m_pCaptionPanel};
    const int nHalfCaption = LayoutOf(m_nScreenClass).captionHeight / 2;
    for (int i = 0; i < 4; ++i) {
        CWnd* pPanel = panels[i];
        if (pPanel == NULL || pPanel->GetSafeHwnd() == NULL || !pPanel->IsWindowVisible())
            continue;
        CRect rect;
        pPanel->GetWindowRect(&rect);
        ScreenToClient(&rect);
        if (bShrank && rect.Height() > nHalfCaption && rect.bottom > cy - 10) {
            if (m_nRemembered[i] == 0)
                m_nRemembered[i] = rect.Height();
            rect.bottom = cy - 10;
        } else if (bGrew && m_nRemembered[i] > rect.Height()) {
            rect.bottom = std::min(cy - 10, static_cast<int>(rect.top) + m_nRemembered[i]);
            if (rect.Height() >= m_nRemembered[i])
                m_nRemembered[i] = 0;
        }
        pPanel->MoveWindow(&rect);
        pPanel->ShowWindow(SW_SHOWNA);
    }
}

void CMediaResourceMainWin::PlaceMedia(int cx, int cy)
{
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    const int nLess[3] = {13, 31, 29};
    m_sizeArea.cx = cx - 28;
    m_sizeArea.cy = cy - (L.labelHeight + L.buttonHeight + 35) - 8 - (m_strNote.IsEmpty() ? nLess[m_nScreenClass] : 0);
    const int nBelow = m_nScreenClass == 1 ? 31 : 29;
    auto centredMovie = [&](const CSize& size) {
        if (m_nScreenClass == 0)
            return CRect(CPoint(227, 137), size);
        const CPoint centre = m_nScreenClass == 1 ? CPoint(524, 361) : CPoint(668, 457);
        CRect rect(CPoint(centre.x - size.cx / 2, centre.y - size.cy / 2), size);
        // A view shorter than the screen class's own would cut the movie's controller off: the
        // movie moves up, never above the media area's top.
        if (rect.bottom > cy - 4)
            rect.OffsetRect(0, std::max(L.MediaTop() - static_cast<int>(rect.top), cy - 4 - static_cast<int>(rect.bottom)));
        return rect;
    };
    switch (m_nDisplay) {
    case mediaPicture:
    case mediaSound: {
        if (m_pPictureWin == NULL || m_pPictureWin->GetSafeHwnd() == NULL)
            break;
        const CSize size = m_pPictureWin->CalcWindowSize(std::max(1, static_cast<int>(m_sizeArea.cx) - L.mediaLeft + 14),
                                                         std::max(1, static_cast<int>(m_sizeArea.cy)));
        int top = L.MediaTop();
        int left;
        if (size.cx <= m_sizeArea.cx - L.mediaLeft)
            left = L.mediaLeft;
        else if (size.cx <= m_sizeArea.cx)
            left = cx - 14 - size.cx;
        else
            left = 14;
        if (m_nScreenClass != 0) {
            if (size.cy <= m_sizeArea.cy)
                top = std::max(L.MediaTop(), (cy + L.MediaTop() - 4 - size.cy - nBelow) / 2);
            if (size.cx <= m_sizeArea.cx - L.mediaLeft)
                left = std::max(L.mediaLeft, (cx + L.mediaLeft - 4 - size.cx) / 2);
        }
        m_rcMedia = CRect(CPoint(left, top), size);
        m_pPictureWin->MoveWindow(&m_rcMedia);
        break;
    }
    case mediaMovie:
        if (m_pMovieWin != NULL && m_pMovieWin->GetSafeHwnd() != NULL) {
            CRect window;
            m_pMovieWin->GetWindowRect(&window);
            m_rcMedia = centredMovie(window.Size());
            m_pMovieWin->MoveWindow(&m_rcMedia);
            m_pMovieWin->ShowWindow(SW_SHOWNA);
        }
        break;
    case mediaSimulation:
        if (m_pSimHolder != NULL) {
            CSize size(m_sizeArea.cx - L.mediaLeft, m_sizeArea.cy);
            m_pSimHolder->GetPreferredSize(size);
            m_rcMedia = m_nScreenClass == 0 ? CRect(CPoint(188, 137), size) : centredMovie(size);
            m_pSimHolder->Move(m_rcMedia);
        }
        break;
    case mediaBubble:
        if (m_pPhotoWin != NULL && m_pPhotoWin->GetSafeHwnd() != NULL) {
            m_rcMedia.SetRect(L.mediaLeft, L.buttonHeight + L.buttonGap + L.labelHeight * 2 + 4, cx - 10, cy - 10);
            m_pPhotoWin->SetWindowPos(&wndTop, m_rcMedia.left, m_rcMedia.top, m_rcMedia.Width(), m_rcMedia.Height(),
                                      SWP_SHOWWINDOW | SWP_NOACTIVATE);
        }
        break;
    case mediaNone:
        m_rcMedia.SetRectEmpty();
        break;
    }
}

int CMediaResourceMainWin::FitTitle(CDC* pDC, const CString& strTitle, const CRect& rcAvailable, int nHeight, int& nMode)
{
    int nTenths = 160;
    for (; nTenths >= 101; nTenths -= 3) {
        CFont font;
        font.CreatePointFont(nTenths, "Arial", pDC);
        CFont* pOld = pDC->SelectObject(&font);
        CRect rc = rcAvailable;
        pDC->DrawText(strTitle, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        BOOL bFits = FALSE;
        if (rc.Width() <= rcAvailable.Width()) {
            nMode = 0;
            bFits = TRUE;
        } else {
            CRect wide(10, rcAvailable.top, rcAvailable.right, rcAvailable.bottom);
            CRect rc1 = wide;
            pDC->DrawText(strTitle, &rc1, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
            if (rc1.Width() <= wide.Width()) {
                nMode = 1;
                bFits = TRUE;
            } else {
                CRect rc2 = wide;
                pDC->DrawText(strTitle, &rc2, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
                if (rc2.Height() <= nHeight) {
                    nMode = 2;
                    bFits = TRUE;
                }
            }
        }
        pDC->SelectObject(pOld);
        if (bFits)
            return nTenths;
    }
    nMode = 2;
    return nTenths + 3;
}

void CMediaResourceMainWin::FitTitle()
{
    if (m_strTitle.IsEmpty() || GetSafeHwnd() == NULL)
        return;
    CClientDC dc(this);
    CRect client;
    GetClientRect(&client);
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    const int nBottom = m_rcMedia.IsRectEmpty() ? L.MediaTop() - 2 : m_rcMedia.top - 2;
    const int nLeft = m_rcMedia.IsRectEmpty() ? L.mediaLeft : static_cast<int>(m_rcMedia.left);
    const CRect available(nLeft, nBottom - L.labelHeight, client.right - 10, nBottom);
    // Word-wrapped titles may use the height between the buttons and the media.
    const int nHeight = std::max(L.labelHeight, nBottom - (L.buttonHeight + 12));
    if (m_nTitleTenths == 0) {
        m_nTitleTenths = FitTitle(&dc, m_strTitle, available, nHeight, m_nTitleMode);
    } else {
        CFont font;
        font.CreatePointFont(m_nTitleTenths, "Arial", &dc);
        CFont* pOld = dc.SelectObject(&font);
        CRect rc = available;
        dc.DrawText(m_strTitle, &rc, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
        m_nTitleMode = rc.Width() <= available.Width() ? 0 : (rc.Width() <= available.right - 10 ? 1 : 2);
        dc.SelectObject(pOld);
    }
}

// ---- painting ----

BOOL CMediaResourceMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMediaResourceMainWin::PaintWelcome(CDC* pDC, const CRect& rect)
{
    CFont heading, body;
    heading.CreatePointFont(m_nScreenClass == 0 ? 140 : 180, "Arial", pDC);
    body.CreatePointFont(m_nScreenClass == 0 ? 90 : 110, "Arial", pDC);
    pDC->SetBkMode(TRANSPARENT);
    pDC->SetTextColor(kMediaFrame);
    CRect rc = rect;
    CFont* pOld = pDC->SelectObject(&heading);
    CRect measured = rc;
    pDC->DrawText(" WELCOME TO THE", &measured, DT_CALCRECT | DT_SINGLELINE);
    pDC->DrawText(" WELCOME TO THE", &rc, DT_SINGLELINE | DT_CENTER);
    rc.top += measured.Height();
    CString strArea = "Media Resource\nViewing Area ";
    measured = rc;
    pDC->DrawText(strArea, &measured, DT_CALCRECT | DT_CENTER);
    pDC->DrawText(strArea, &rc, DT_CENTER);
    rc.top += measured.Height() + 16;
    pDC->SelectObject(&body);
    const CString strBody =
        CString("Browse Media makes it possible for you to sample media from either of Veltra's discs. ") +
        "Scroll the list of all the media on Disc 1 and select an item to view, or select \"" + "All Disc 2\"" +
        " for a list of media on that disc. ";
    measured = rc;
    pDC->DrawText(strBody, &measured, DT_CALCRECT | DT_WORDBREAK);
    pDC->DrawText(strBody, &rc, DT_WORDBREAK);
    rc.top += measured.Height() + 8;
    const CString strCurrent =
        CString("\"Current\" is appropriate to use when you arrive at ") + "Browse Media from a content area rather than from the main menu. ";
    pDC->DrawText(strCurrent, &rc, DT_WORDBREAK);
    pDC->SelectObject(pOld);
}

void CMediaResourceMainWin::OnPaint()
{
    CPaintDC dc(this);
    CRect clip;
    dc.GetClipBox(&clip);
    if (clip.IsRectEmpty())
        return;
    // The view's own palette brings the picture's or the bubble's colours in (RealizeOwnPalette);
    // its ground and texts are the application's colours, as the panels draw them.
    if (m_nDisplay == mediaBubble)
        BuildPaletteFromBubble();
    if (m_nDisplay != mediaNone)
        RealizeOwnPalette(&dc, FALSE, FALSE);
    CAppPaletteSelector palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTEINDEX(30));

    if (m_bHasStickyNote && !m_rcStickyMarker.IsRectEmpty()) {
        try {
            CDib marker(239);
            if (m_nScreenClass == 0)
                marker.DrawStretched(&dc, m_rcStickyMarker.left, m_rcStickyMarker.top, 21, 16);
            else
                marker.Draw(&dc, m_rcStickyMarker.left, m_rcStickyMarker.top);
        } catch (CException* e) {
            e->Delete();
        }
    }
    if (!m_rcMedia.IsRectEmpty()) {
        CRect frame = m_rcMedia;
        frame.InflateRect(1, 1);
        CBrush brush(kMediaFrame);
        dc.FrameRect(&frame, &brush);
    }
    if (!m_strTitle.IsEmpty() && m_nDisplay != mediaNone) {
        CFont font;
        font.CreatePointFont(m_nTitleTenths != 0 ? m_nTitleTenths : 160, "Times New Roman", &dc);
        CFont* pOld = dc.SelectObject(&font);
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(kMediaFrame);
        CRect rc = TitleRect();
        const UINT nFlags = m_nTitleMode == 2 ? DT_WORDBREAK | DT_BOTTOM : DT_SINGLELINE | DT_BOTTOM | DT_NOPREFIX;
        if (m_nTitleMode == 2) {
            CRect measured = rc;
            dc.DrawText(m_strTitle, &measured, DT_CALCRECT | DT_WORDBREAK);
            rc.top = rc.bottom - measured.Height();
        }
        dc.DrawText(m_strTitle, &rc, nFlags);
        dc.SelectObject(pOld);
    }
    if (!m_strNote.IsEmpty()) {
        CFont font;
        font.CreatePointFont(100, "Arial", &dc);
        CFont* pOld = dc.SelectObject(&font);
        dc.DrawText(m_strNote, &m_rcNote, DT_VCENTER | DT_NOCLIP);
        dc.SelectObject(pOld);
    }
    if (m_pCaptionPanel != NULL && m_pDocument != NULL && m_pCaptionPanel->IsOneLine() && m_bCaptionShown &&
        m_nDisplay != mediaNone)
        m_pCaptionPanel->Display(&dc);
    if (!m_bShownSomething) {
        const ScreenLayout& L = LayoutOf(m_nScreenClass);
        CRect welcome(L.mediaLeft + 10, L.MediaTop() + 20, client.right - 20, client.bottom - 20);
        PaintWelcome(&dc, welcome);
    }
    if (m_pPhotoWin != NULL && m_pPhotoWin->GetSafeHwnd() != NULL && m_pPhotoWin->IsWindowVisible())
        m_pPhotoWin->Invalidate();
}

// ---- messages ----

void CMediaResourceMainWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CPaletteMainWin::OnShowWindow(bShow, nStatus);
    if (m_pButtons[btnGoto] != NULL)
        m_pButtons[btnGoto]->SetDib(0);
    if (m_pListTab != NULL && m_pListTab->GetSafeHwnd() != NULL && (!bShow || nStatus == SW_PARENTCLOSING)) {
        m_bFirstView = FALSE;
        HideAllPanels();
        m_bCaptionWanted = TRUE;
        StopMedia();
    }
}

BOOL CMediaResourceMainWin::OnSetCursor(CWnd* pWnd, UINT nHitTest, UINT message)
{
    if (m_bSoundPlaying) {
        ::SetCursor(LoadProgramCursor(261, IDC_ARROW));
        return TRUE;
    }
    return CPaletteMainWin::OnSetCursor(pWnd, nHitTest, message);
}

void CMediaResourceMainWin::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bHasStickyNote && m_rcStickyMarker.PtInRect(point) && m_pStickyWnd != NULL &&
        m_pStickyWnd->GetSafeHwnd() != NULL)
        m_pStickyWnd->PostMessage(VLM_STICKY_DISPLAY, static_cast<WPARAM>(-1), 0);
    CPaletteMainWin::OnLButtonUp(nFlags, point);
}

LRESULT CMediaResourceMainWin::OnMciNotify(WPARAM wParam, LPARAM)
{
    if (wParam == 1 || wParam == 8)
        EndSound();
    return 0;
}

LRESULT CMediaResourceMainWin::OnStickyCommand(WPARAM, LPARAM)
{
    OnStickyIcon();
    return 0;
}

void CMediaResourceMainWin::OnStickyIcon()
{
    if (m_pStickyWnd != NULL && m_pStickyWnd->GetSafeHwnd() != NULL)
        m_pStickyWnd->PostMessage(VLM_STICKY_DISPLAY, static_cast<WPARAM>(-1), 0);
}

LRESULT CMediaResourceMainWin::OnStickyPresent(WPARAM wParam, LPARAM lParam)
{
    // A list of note positions that travels with the notice is the receiver's.
    delete[] reinterpret_cast<WORD*>(lParam);
    if ((wParam != 0) != (m_bHasStickyNote != 0)) {
        RefreshSticky();
        Layout(-1, -1);
    }
    return 0;
}

LRESULT CMediaResourceMainWin::OnRefreshTools(WPARAM, LPARAM)
{
    RefreshTools();
    return 0;
}

LRESULT CMediaResourceMainWin::OnStopMessage(WPARAM, LPARAM)
{
    StopMedia();
    return 0;
}

LRESULT CMediaResourceMainWin::OnNothing(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CMediaResourceMainWin::OnCloseMovie(WPARAM, LPARAM)
{
    DestroyMovie();
    Invalidate();
    return 0;
}

LRESULT CMediaResourceMainWin::OnDiscPrompt(WPARAM wParam, LPARAM lParam)
{
    if (m_pDocument != NULL && m_pDocument->GetReference() != NULL &&
        m_pDocument->GetReference()->GetDisc() == static_cast<int>(wParam) && lParam != 0) {
        if (m_bMoviePaused && m_pMovieWin != NULL)
            m_pMovieWin->ShowWindow(SW_SHOWNA);
        else if (m_bMoviePaused && m_pSimHolder != NULL)
            m_pSimHolder->Show();
        m_bMoviePaused = FALSE;
        return 0;
    }
    StopMedia();
    if (m_nDisplay == mediaSimulation && m_pSimHolder != NULL && !m_bMoviePaused) {
        m_pSimHolder->Hide();
        m_bMoviePaused = TRUE;
    } else if (m_nDisplay == mediaMovie && m_pMovieWin != NULL && m_pMovieWin->IsPanorama()) {
        m_bMoviePaused = TRUE;
    }
    return 0;
}

int CMediaResourceMainWin::DataKindOf(LONG nKind)
{
    switch (nKind) {
    case REFKIND_ARTICLE:
    case REFKIND_PICTURE:
    case REFKIND_MAP:
    case REFKIND_ARTICLE2: return 11;
    case REFKIND_ANIMATION: return 4;
    case REFKIND_VIDEO:
    case REFKIND_VIRTUALREALITY: return 3;
    case REFKIND_SOUND:
    case REFKIND_ONLINESOUND: return 6;
    case REFKIND_SIMULATION: return 10;
    case REFKIND_BUBBLE: return 5;
    default: return -1;
    }
}

LRESULT CMediaResourceMainWin::OnDataLocation(WPARAM, LPARAM lParam)
{
    CObject* pObject = reinterpret_cast<CObject*>(lParam);
    CReference* pReference = DYNAMIC_DOWNCAST(CReference, pObject);
    if (pReference == NULL)
        if (CMediaDisplayRef* pState = DYNAMIC_DOWNCAST(CMediaDisplayRef, pObject))
            pReference = pState->GetReference();
    if (pReference == NULL && pObject == NULL && m_pDocument != NULL)
        pReference = m_pDocument->GetReference();
    if (pReference == NULL)
        return lParam == 0 ? VL_DEFAULT_DATA_LOCATION : DataLocationOfCarriedObject(lParam);
    const int nKind = DataKindOf(pReference->GetKind());
    // A kind no folder serves: the frame's look-up fails and the object is dropped.
    if (nKind < 0)
        return DataLocationOfCarriedObject(lParam);
    return MAKELONG(pReference->GetDisc(), nKind);
}

// ---- taking media display references ----

LRESULT CMediaResourceMainWin::OnTakeDisplayRef(WPARAM wParam, LPARAM lParam)
{
    CMediaDisplayRef* pState = DYNAMIC_DOWNCAST(CMediaDisplayRef, reinterpret_cast<CObject*>(lParam));
    if (pState == NULL && lParam != 0) {
        // Anything else that travels here is dropped.
        DeleteCarriedObject(lParam);
        return 0;
    }
    return TakeDisplayRef(wParam, pState, FALSE);
}

LRESULT CMediaResourceMainWin::OnRestoreState(WPARAM wParam, LPARAM lParam)
{
    CMediaDisplayRef* pState = DYNAMIC_DOWNCAST(CMediaDisplayRef, reinterpret_cast<CObject*>(lParam));
    if (pState == NULL) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    return TakeDisplayRef(wParam, pState, TRUE);
}

void CMediaResourceMainWin::FirstView()
{
    if (m_bShownSomething) {
        CVLMainWin::ShowMainWindow(IDW_MEDIA, 0);
        return;
    }
    ShowWindow(SW_SHOWNA);
    if (m_pListTab == NULL || m_pListTab->GetSafeHwnd() == NULL)
        return;
    if (CWnd* pTop = GetTopLevelParent())
        pTop->PostMessage(VLM_PUSH_STATE, 0, 0);
    DisplayReference(NULL);
    const CRect rect = PanelRect();
    m_pListTab->MoveWindow(&rect);
    m_pListTab->ShowWindow(SW_SHOW);
    m_pButtons[btnBrowse]->SetDib(1);
    m_bListShown = TRUE;
    m_pListTab->SelectFilter(1);
    m_bFirstView = TRUE;
    CVLMainWin::ShowMainWindow(IDW_MEDIA, 0);
    // The panels' frames and captions too, now that the view stands in its place.
    RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
}

void CMediaResourceMainWin::PushHistory(CMediaDisplayRef* pState, BOOL bRestored)
{
    // The history keeps its own copy: the view keeps the state it shows.
    CVLStateObj* pCopy = pState != NULL ? pState->Clone() : NULL;
    if (pCopy == NULL)
        return;
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL || !pTop->PostMessage(VLM_PUSH_STATE, bRestored ? VLM_RESTORE_STATE : 0, reinterpret_cast<LPARAM>(pCopy)))
        delete pCopy;
}

LRESULT CMediaResourceMainWin::TakeDisplayRef(WPARAM wParam, CMediaDisplayRef* pState, BOOL bHistory)
{
    if (pState == NULL) {
        FirstView();
        return 0;
    }
    if (static_cast<int>(wParam) == -1) {
        // An overlay in the picture's place; the media list stays.
        if (pState != m_pDisplayRef) {
            delete m_pDisplayRef;
            m_pDisplayRef = pState;
        }
        CGrfDocument* pDocument = LoadDocument(pState->GetReference());
        if (pDocument == NULL)
            return 0;
        ReplaceDocument(pDocument);
        m_bHasStickyNote = FALSE;
        if (m_pPictureWin != NULL && m_pPictureWin->GetSafeHwnd() != NULL)
            m_pPictureWin->ShowWindow(SW_SHOWNA);
        m_strTitle = m_pDocument->GetTitle();
        m_nTitleTenths = 0;
        RefreshSticky();
        UpdateCaption();
        Layout(-1, -1);
        pState->SetTitle(m_strTitle);
        PushHistory(pState, FALSE);
        return 1;
    }
    LRESULT nResult = 0;
    try {
        CWaitCursor wait;
        CReference* pReference = pState->GetReference();
        if (pReference == NULL)
            AfxThrowUserException();
        const LONG nKind = pReference->GetKind();
        if ((nKind == REFKIND_NOFILE || nKind == REFKIND_VIRTUALREALITY || nKind == REFKIND_SIMULATION ||
             nKind == REFKIND_VIDEO || nKind == REFKIND_ANIMATION) &&
            ProfileSaysYes("DVA")) {
            AfxMessageBox("Videos have been disabled.");
            AfxThrowUserException();
        }
        if ((nKind == REFKIND_ONLINESOUND || nKind == REFKIND_SOUND) && ProfileSaysYes("DSC")) {
            AfxMessageBox("Sounds have been disabled.");
            AfxThrowUserException();
        }
        CWnd* pTop = GetTopLevelParent();
        CReference* pClone = pReference->Clone();
        LRESULT nOpened = 0;
        if (pTop != NULL && pTop != this)
            nOpened = pTop->SendMessage(VLM_OPEN_WINDOW, GetDlgCtrlID(), reinterpret_cast<LPARAM>(pClone));
        else
            nOpened = DisplayReference(pClone);
        if (nOpened == 0)
            AfxThrowUserException();
        if (m_pDocument != NULL && m_pDocument->GetReference() != NULL &&
            m_pDocument->GetReference()->GetNumber() != pReference->GetNumber())
            pState->SetReference(m_pDocument->GetReference());
        if (m_pDocument != NULL)
            pState->SetTitle(m_pDocument->GetTitle());
        CString strRoot;
        if (!GetDataDir(strRoot, DDT_INFO_DAT2, 1, FALSE))
            if (CWnd* pPane = GetDlgItem(IDW_SEARCHPANE + 0))
                pPane->ShowWindow(SW_HIDE);
        if (pState->GetCallerValue() == 0 && m_pListTab != NULL)
            m_pListTab->SetCurrentList(pState->GetMediaList());
        pState->SetCallerValue(0);
        if (pState != m_pDisplayRef) {
            delete m_pDisplayRef;
            m_pDisplayRef = pState;
        }
        pState = NULL;
        PushHistory(m_pDisplayRef, bHistory);
        CVLMainWin::ShowMainWindow(IDW_MEDIA, 0);
        RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ALLCHILDREN);
        nResult = 1;
    } catch (CUserException* e) {
        e->Delete();
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
    if (pState != NULL && pState != m_pDisplayRef)
        delete pState;
    return nResult;
}

// ---- displaying a reference ----

LRESULT CMediaResourceMainWin::OnOpenReference(WPARAM, LPARAM lParam)
{
    CReference* pReference = DYNAMIC_DOWNCAST(CReference, reinterpret_cast<CObject*>(lParam));
    if (pReference == NULL) {
        DeleteCarriedObject(lParam);
        return 0;
    }
    return DisplayReference(pReference);
}

void CMediaResourceMainWin::DestroyMovie()
{
    if (m_pMovieWin != NULL) {
        if (AppServices().ui.pCurrentMovieWnd == m_pMovieWin)
            AppServices().ui.pCurrentMovieWnd = NULL;
        if (m_pMovieWin->GetSafeHwnd() != NULL) {
            m_pMovieWin->ShowWindow(SW_HIDE);
            m_pMovieWin->Destroy();
        }
        delete m_pMovieWin;
        m_pMovieWin = NULL;
    }
    m_bMovieStarted = FALSE;
    for (int i : {btnEnlarge, btnReduce})
        if (m_pButtons[i] != NULL && m_pButtons[i]->GetSafeHwnd() != NULL)
            m_pButtons[i]->ShowWindow(SW_HIDE);
}

void CMediaResourceMainWin::TearDown()
{
    StopMedia();
    DestroyMovie();
    if (m_pPhotoWin != NULL) {
        if (m_pPhotoWin->GetSafeHwnd() != NULL)
            m_pPhotoWin->ShowWindow(SW_HIDE);
        delete m_pPhotoWin;
        m_pPhotoWin = NULL;
        m_bBubbleColours = FALSE;
    }
    if (m_pSimHolder != NULL) {
        m_pSimHolder->Hide();
        delete m_pSimHolder;
        m_pSimHolder = NULL;
        m_bMoviePaused = FALSE;
    }
    if (m_pPictureWin != NULL) {
        if (m_pPictureWin->GetSafeHwnd() != NULL) {
            m_pPictureWin->ShowWindow(SW_HIDE);
            m_pPictureWin->DestroyWindow();
        }
        delete m_pPictureWin;
        m_pPictureWin = NULL;
    }
    if (m_pCaptionPanel != NULL)
        m_pCaptionPanel->SetDocument(NULL);
    delete m_pDocument;
    m_pDocument = NULL;
    m_nDisplay = mediaNone;
    m_rcMedia.SetRectEmpty();
    m_strSoundPath.Empty();
    m_bPlaySoundOnIdle = FALSE;
}

BOOL CMediaResourceMainWin::DisplayReference(CReference* pReference)
{
    if (pReference != NULL) {
        CString strFolder;
        BOOL bResolved = FALSE;
        try {
            bResolved = pReference->GetDataFolder(strFolder, TRUE);
        } catch (CException* e) {
            e->Delete();
        }
        if (!bResolved)
            return FALSE;  // the reference stays the sender's
    }
    std::unique_ptr<CReference> pOwned(pReference);
    CWaitCursor wait;
    TearDown();
    if (pReference == NULL) {
        Layout(-1, -1);
        return TRUE;
    }
    const LONG nKind = pReference->GetKind();
    const LONG nNumber = pReference->GetNumber();
    BOOL bOk = FALSE;
    try {
        m_strNote.Empty();
        m_pDocument = new CGrfDocument;
        if (!m_pDocument->Load(pReference, FALSE))
            AfxThrowUserException();
        BOOL bPicture = TRUE;
        MediaDisplayKind nDisplay = mediaPicture;
        if (nKind == REFKIND_SIMULATION) {
            m_pSimHolder = new CEmbeddedSimHolder;
            if (!m_pSimHolder->Create(m_pDocument, this, CRect(-10000, -10000, 0, 0))) {
                delete m_pSimHolder;
                m_pSimHolder = NULL;
                AfxThrowUserException();
            }
            m_pSimHolder->Hide();
            bPicture = FALSE;
            nDisplay = mediaSimulation;
        } else if (nKind == REFKIND_ANIMATION || nKind == REFKIND_VIDEO || nKind == REFKIND_VIRTUALREALITY) {
            bPicture = FALSE;
            nDisplay = mediaMovie;
        } else if ((nKind == REFKIND_SOUND || nKind == REFKIND_ONLINESOUND) && IsSoundNumber(nNumber)) {
            CString strSoundFolder;
            if (!GetDataDir(strSoundFolder, DDT_SOUND, 1, TRUE))
                AfxThrowUserException();
            m_strSoundPath.Format("%sAU%06ld.mov", static_cast<LPCSTR>(strSoundFolder), static_cast<long>(nNumber % 1000000));
            nDisplay = mediaSound;
        } else if (nKind == REFKIND_BUBBLE) {
            bPicture = FALSE;
            nDisplay = mediaBubble;
        }
        if (bPicture) {
            m_pPictureWin = new CGrfPictureWin(0x02E3E8F0, 0x02442850);
            CRect client;
            GetClientRect(&client);
            if (!m_pPictureWin->Create(this, std::max(1, client.Width() / 2), std::max(1, client.Height() / 2), m_pDocument,
                                       FALSE, FALSE))
                AfxThrowUserException();
            m_pPictureWin->ShowWindow(SW_HIDE);
        }
        m_nDisplay = nDisplay;
        m_bShownSomething = TRUE;
        m_nTitleTenths = 0;
        RefreshTools();
        if (m_pButtons[btnGoto] != NULL)
            m_pButtons[btnGoto]->EnableWindow(CanGoToArticle());

        // The picture group feeds the sliding selector.
        delete m_pGroupList;
        m_pGroupList = m_pDocument->GetGroupReferences();
        BOOL bSelector = FALSE;
        if (m_pGroupList != NULL && m_pSelector != NULL) {
            int nPosition = 1;
            for (int i = 0; i < m_pGroupList->GetCount(); ++i)
                if (m_pGroupList->GetAtIndex(i)->GetNumber() == nNumber)
                    nPosition = i + 1;
            bSelector = m_pSelector->SetItems(m_pGroupList->GetCount(), nPosition);
        }
        if (m_pSelector != NULL && m_pSelector->GetSafeHwnd() != NULL)
            m_pSelector->ShowWindow(bSelector ? SW_SHOWNA : SW_HIDE);

        // The overlays.
        delete m_pOverlayList;
        m_pOverlayList = m_pDocument->GetOverlayReferences();
        if (m_pOverlayList == NULL || m_pOverlayList->GetCount() == 0) {
            if (m_pOverlayPanel != NULL && m_pOverlayPanel->GetSafeHwnd() != NULL)
                m_pOverlayPanel->ShowWindow(SW_HIDE);
            m_bOverlayShown = FALSE;
            m_pButtons[btnOverlay]->SetDib(0);
            m_pButtons[btnOverlay]->EnableWindow(FALSE);
        } else if (m_pOverlayPanel != NULL && m_pOverlayPanel->GetSafeHwnd() != NULL) {
            m_pOverlayPanel->SetOverlays(m_pOverlayList);
            m_pButtons[btnOverlay]->EnableWindow(TRUE);
            m_bOverlayShown = FALSE;
            OnOverlay();
        }

        m_strTitle = m_pDocument->GetTitle();
        BuildPaletteFromShown();
        Layout(-1, -1);
        UpdateCaption();
        RefreshSticky();
        if (IsWindowVisible()) {
            if (m_pPictureWin != NULL) {
                RealizeOwnPalette(NULL, FALSE, FALSE);
                m_pPictureWin->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
            }
            if (m_pSimHolder != NULL) {
                // The simulation was made off-screen: it comes back there, then takes its place.
                m_pSimHolder->Show();
                Layout(-1, -1);
            }
        }
        if (m_nDisplay == mediaMovie) {
            if (!CreateMovie(m_nScreenClass != 0)) {
                m_nDisplay = mediaNone;
                MessageBox(kMovieErrorText, "VL2000 - Quicktime Error", MB_OK);
            }
        }
        if (m_nDisplay == mediaBubble) {
            m_pPhotoWin = new CPhotoWin;
            CString strFolder;
            BOOL bBubble = m_pDocument->GetDataFolder(strFolder, TRUE) &&
                           m_pPhotoWin->Create(this, CRect(-100, -100, -90, -90), strFolder + m_pDocument->GetMediaFileName());
            if (!bBubble) {
                delete m_pPhotoWin;
                m_pPhotoWin = NULL;
                m_nDisplay = mediaNone;
                AfxThrowUserException();
            }
            Layout(-1, -1);
        }
        if (m_nDisplay == mediaSound)
            m_bPlaySoundOnIdle = TRUE;
        if (m_pInstructions != NULL && m_pInstructions->GetSafeHwnd() != NULL) {
            switch (nKind) {
            case REFKIND_VIDEO:
            case REFKIND_ANIMATION: m_pInstructions->ShowPage(INSTRUCT_CMD_VIDEO); break;
            case REFKIND_BUBBLE: m_pInstructions->ShowPage(INSTRUCT_CMD_BUBBLES); break;
            case REFKIND_SOUND:
            case REFKIND_ONLINESOUND: m_pInstructions->ShowPage(INSTRUCT_CMD_SOUNDS); break;
            case REFKIND_PICTURE: m_pInstructions->ShowPage(INSTRUCT_CMD_PICTURES); break;
            default: break;
            }
        }
        bOk = TRUE;
    } catch (CUserException* e) {
        e->Delete();
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
    if (!bOk) {
        // Everything made for the failed item goes.
        TearDown();
        delete m_pGroupList;
        m_pGroupList = NULL;
        delete m_pOverlayList;
        m_pOverlayList = NULL;
        if (m_pSelector != NULL && m_pSelector->GetSafeHwnd() != NULL)
            m_pSelector->ShowWindow(SW_HIDE);
        m_strTitle.Empty();
        Layout(-1, -1);
    }
    Invalidate();
    return bOk;
}

void CMediaResourceMainWin::BuildPaletteFromShown()
{
    if (m_nDisplay == mediaBubble) {
        BuildPaletteFromBubble();
        return;
    }
    if (m_pPictureWin == NULL)
        return;
    HPALETTE hPalette = m_pPictureWin->CreatePicturePalette();
    if (hPalette == NULL)
        return;
    CPalette picture;
    picture.Attach(hPalette);
    BuildPalette(&picture, NULL, NULL, FALSE);
}

BOOL CMediaResourceMainWin::BuildPaletteFromBubble()
{
    if (m_pPhotoWin == NULL || m_pPhotoWin->GetPalette() == NULL)
        return FALSE;
    PALETTEENTRY colours[256] = {};
    const UINT n = ::GetPaletteEntries(m_pPhotoWin->GetPalette(), 0, 256, colours);
    if (n == 0)
        return FALSE;
    if (m_bBubbleColours && std::memcmp(colours, m_bubbleColours, sizeof colours) == 0)
        return FALSE;
    // The palette handle stays the bubble's: the view's palette is a copy of its colours.
    CPalette bubble;
    bubble.Attach(m_pPhotoWin->GetPalette());
    const BOOL bBuilt = BuildPalette(&bubble, NULL, NULL, FALSE);
    bubble.Detach();
    if (bBuilt) {
        std::memcpy(m_bubbleColours, colours, sizeof colours);
        m_bBubbleColours = TRUE;
    }
    return bBuilt;
}

void CMediaResourceMainWin::UpdateCaption()
{
    if (m_pCaptionPanel == NULL || m_pCaptionPanel->GetSafeHwnd() == NULL || m_pDocument == NULL)
        return;
    m_pCaptionPanel->SetDocument(m_pDocument);
    const BOOL bHasCaption = m_pDocument->GetCaptionLength() > 0;
    m_pCaptionPanel->SetShown(m_bCaptionWanted && bHasCaption);
    CRect line = m_rcNote;
    if (line.IsRectEmpty()) {
        m_pCaptionPanel->ShowWindow(SW_HIDE);
    } else {
        m_pCaptionPanel->Prepare(&line);
    }
    CRollOverButton* pButton = m_pButtons[btnCaption];
    if (!bHasCaption) {
        m_pCaptionPanel->ShowWindow(SW_HIDE);
        pButton->EnableWindow(FALSE);
        pButton->SetDib(0);
        m_bCaptionShown = FALSE;
    } else if (m_pCaptionPanel->IsOneLine()) {
        // A caption of one line is drawn under the media; the button shows and hides that line.
        m_pCaptionPanel->ShowWindow(SW_HIDE);
        pButton->EnableWindow(TRUE);
        m_bCaptionShown = m_bCaptionWanted;
        pButton->SetDib(m_bCaptionShown);
    } else {
        pButton->EnableWindow(TRUE);
        m_bCaptionShown = m_bCaptionWanted;
        pButton->SetDib(m_bCaptionShown);
        if (m_bCaptionShown)
            ShowCaption();
        else
            m_pCaptionPanel->ShowWindow(SW_HIDE);
    }
}

void CMediaResourceMainWin::ShowCaption()
{
    if (m_pCaptionPanel == NULL || m_pCaptionPanel->GetSafeHwnd() == NULL)
        return;
    m_pCaptionPanel->SetShown(TRUE);
    m_pCaptionPanel->Prepare(NULL);
    const CRect rect = CaptionRect();
    m_pCaptionPanel->SetWindowPos(&wndTop, rect.left, rect.top, rect.Width(), rect.Height(), SWP_NOACTIVATE);
    m_pCaptionPanel->Display(NULL);
    ShortenPanelsAboveCaption();
}

void CMediaResourceMainWin::ShortenPanelsAboveCaption()
{
    if (!m_bCaptionShown)
        return;
    const CRect caption = CaptionRect();
    for (CWnd* pPanel : {static_cast<CWnd*>(m_pListTab), static_cast<CWnd*>(m_pOverlayPanel),
                         static_cast<CWnd*>(m_pInstructions)}) {
        if (pPanel == NULL || pPanel->GetSafeHwnd() == NULL || !pPanel->IsWindowVisible())
            continue;
        CRect rect;
        pPanel->GetWindowRect(&rect);
        ScreenToClient(&rect);
        if (rect.bottom > caption.top - 10) {
            rect.bottom = std::max(rect.top + 60, caption.top - 10);
            pPanel->MoveWindow(&rect);
        }
    }
}

void CMediaResourceMainWin::RefreshSticky()
{
    m_bHasStickyNote = FALSE;
    if (m_pStickyWnd == NULL || m_pStickyWnd->GetSafeHwnd() == NULL || m_pDocument == NULL ||
        m_pDocument->GetReference() == NULL)
        return;
    CReference* pReference = m_pDocument->GetReference();
    m_pStickyWnd->SelectNote(m_pDocument->GetTitle(), pReference);
    m_bHasStickyNote = m_pStickyWnd->FindNoteIndex(pReference) >= 0;
}

BOOL CMediaResourceMainWin::CreateMovie(BOOL bLarge)
{
    DestroyMovie();
    if (m_pDocument == NULL)
        return FALSE;
    const ScreenLayout& L = LayoutOf(m_nScreenClass);
    const CRect rect(L.mediaLeft, L.MediaTop(), L.mediaLeft + (bLarge ? 512 : 256), L.MediaTop() + (bLarge ? 384 : 192));
    m_pMovieWin = new CGrfQTWin;
    if (!m_pMovieWin->Create(m_pDocument, this, rect)) {
        delete m_pMovieWin;
        m_pMovieWin = NULL;
        return FALSE;
    }
    m_bEnlarged = bLarge;
    AppServices().ui.pCurrentMovieWnd = m_pMovieWin;
    m_nDisplay = mediaMovie;
    Layout(-1, -1);
    m_pMovieWin->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW | SWP_NOACTIVATE);
    if (m_nScreenClass != 0) {
        m_pButtons[btnReduce]->ShowWindow(bLarge ? SW_SHOWNA : SW_HIDE);
        m_pButtons[btnEnlarge]->ShowWindow(bLarge ? SW_HIDE : SW_SHOWNA);
    }
    m_bMovieStarted = TRUE;
    return TRUE;
}

void CMediaResourceMainWin::OnEnlarge()
{
    RemakeMovie(TRUE);
}

void CMediaResourceMainWin::OnReduce()
{
    RemakeMovie(FALSE);
}

void CMediaResourceMainWin::RemakeMovie(BOOL bLarge)
{
    if (m_nDisplay != mediaMovie && m_pMovieWin == NULL)
        return;
    if (!CreateMovie(bLarge))
        MessageBox(kMovieErrorText, "VL2000 - Quicktime Error", MB_OK);
    m_pButtons[bLarge ? btnEnlarge : btnReduce]->SetDib(0);
}

// ---- sounds ----

void CMediaResourceMainWin::EndSound()
{
    if (m_pSoundWin == NULL)
        return;
    if (GetCapture() == this)
        ReleaseCapture();
    CQTAudioWin* pSound = m_pSoundWin;
    m_pSoundWin = NULL;
    if (pSound->GetSafeHwnd() != NULL)
        pSound->Destroy();
    delete pSound;
    m_bSoundPlaying = FALSE;
}

void CMediaResourceMainWin::PlaySoundPath(const CString& strPath)
{
    if (m_pSoundWin != NULL) {
        EndSound();
        return;
    }
    m_pSoundWin = new CQTAudioWin;
    if (m_pSoundWin->Create(this) && m_pSoundWin->OpenAndPlay(strPath) == 0) {
        m_bSoundPlaying = TRUE;
        SetCapture();
        return;
    }
    delete m_pSoundWin;
    m_pSoundWin = NULL;
    MessageBox(kSoundErrorText, "VL99 - Quicktime Error", MB_OK);
}

int CMediaResourceMainWin::StopMedia()
{
    if (m_pMovieWin != NULL && m_pMovieWin->GetSafeHwnd() != NULL) {
        m_pMovieWin->Stop();
        return 1;
    }
    if (m_bSoundPlaying || m_pSoundWin != NULL)
        EndSound();
    return 0;
}

// ---- the Tool Kit, printing and copying ----

void CMediaResourceMainWin::RefreshTools()
{
    m_bPrintable = FALSE;
    if (m_pDocument == NULL || !m_pDocument->IsLoaded()) {
        GetAppHost().EnableTools(FALSE, FALSE, FALSE, TRUE, TRUE);
        return;
    }
    const LONG nKind = m_pDocument->GetKind();
    const BOOL bPictureKind = nKind == REFKIND_PICTURE || nKind == REFKIND_MAP || nKind == REFKIND_SOUND ||
                              nKind == REFKIND_ONLINESOUND;
    m_bPrintable = bPictureKind && m_pDocument->CanCopy() && !ProfileSaysYes("DGP") && m_pPictureWin != NULL;
    GetAppHost().EnableTools(m_bPrintable, TRUE, FALSE, TRUE, TRUE);
}

BOOL CMediaResourceMainWin::CanPrint()
{
    return m_bPrintable;
}

void CMediaResourceMainWin::OnFilePrint()
{
    if (m_pPictureWin != NULL && m_pPictureWin->GetSafeHwnd() != NULL)
        m_pPictureWin->Print();
    else
        AfxMessageBox("Print Button Pressed");
}

void CMediaResourceMainWin::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    if (m_pDocument != NULL && m_pDocument->IsLoaded() && m_pDocument->CanCopy())
        pCmdUI->Enable(TRUE);
    else
        pCmdUI->Enable(m_bCaptionShown && m_pCaptionPanel != NULL && m_pCaptionPanel->HasSelection());
}

void CMediaResourceMainWin::OnEditCopy()
{
    if (m_bCaptionShown && m_pCaptionPanel != NULL && m_pCaptionPanel->HasSelection())
        m_pCaptionPanel->CopySelection();
    else if (m_pDocument != NULL && m_pDocument->CanCopy() && m_pPictureWin != NULL)
        m_pPictureWin->CopyToClipboard();
}

BOOL CMediaResourceMainWin::CanGoToArticle() const
{
    // The record names the article the item belongs to; 0 when it belongs to none. Online items
    // have no article on the disc.
    if (m_pDocument == NULL || !m_pDocument->IsLoaded() || m_pDocument->GetItemNumber() == 0)
        return FALSE;
    const CReference* pShown = m_pDocument->GetReference();
    return pShown == NULL || !CRin(static_cast<DWORD>(pShown->GetNumber())).IsOnline();
}

void CMediaResourceMainWin::OnGotoArticle()
{
    if (m_pButtons[btnGoto] != NULL)
        m_pButtons[btnGoto]->SetDib(0);
    if (!CanGoToArticle())
        return;
    std::unique_ptr<CReference> pArticle(m_pDocument->CreateReference());
    if (pArticle == nullptr)
        return;
    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE))
        return;
    if (CWnd* pMain = GetAppMainWnd())
        if (pMain->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pArticle.get())))
            pArticle.release();
}

// ---- activation and idle ----

void CMediaResourceMainWin::OnActivateMainWin(BOOL bActive)
{
    CPaletteMainWin::OnActivateMainWin(bActive);
    if (bActive) {
        RefreshSticky();
        RefreshTools();
        if (m_pPhotoWin != NULL && m_pPhotoWin->GetSafeHwnd() != NULL)
            m_pPhotoWin->ShowWindow(SW_SHOWNA);
        else if (m_pPictureWin != NULL && m_pPictureWin->GetSafeHwnd() != NULL)
            m_pPictureWin->ShowWindow(SW_SHOWNA);
        else if (m_pSimHolder != NULL) {
            m_pSimHolder->Show();
            m_bMoviePaused = FALSE;
        } else if (m_pMovieWin != NULL && m_pMovieWin->GetSafeHwnd() != NULL) {
            m_pMovieWin->ShowWindow(SW_SHOWNA);
            m_bMoviePaused = FALSE;
        }
        return;
    }
    StopMedia();
    if (m_pPhotoWin != NULL && m_pPhotoWin->GetSafeHwnd() != NULL)
        m_pPhotoWin->ShowWindow(SW_HIDE);
    if (m_pMovieWin != NULL && m_pMovieWin->GetSafeHwnd() != NULL) {
        m_pMovieWin->ShowWindow(SW_HIDE);
        m_bMoviePaused = m_pMovieWin->IsPanorama();
    }
    if (m_pSimHolder != NULL) {
        m_pSimHolder->Hide();
        m_bMoviePaused = TRUE;
    }
    EndSound();
    if (m_pInstructions != NULL && m_pInstructions->GetSafeHwnd() != NULL)
        m_pInstructions->ShowWindow(SW_HIDE);
}

BOOL CMediaResourceMainWin::OnIdle(LONG)
{
    if (m_bPlaySoundOnIdle && !m_strSoundPath.IsEmpty()) {
        m_bPlaySoundOnIdle = FALSE;
        PlaySoundPath(m_strSoundPath);
        if (m_pButtons[btnGoto] != NULL)
            m_pButtons[btnGoto]->EnableWindow(CanGoToArticle());
    } else if (m_bMovieStarted && m_pMovieWin != NULL && m_pMovieWin->GetSafeHwnd() != NULL) {
        m_bMovieStarted = FALSE;
        m_pMovieWin->EnableWindow(TRUE);
        m_pMovieWin->Play();
    }
    return FALSE;
}

// ---- panels ----

void CMediaResourceMainWin::TogglePanel(CWnd* pPanel, CRollOverButton* pButton, BOOL& bShown)
{
    if (pPanel == NULL || pPanel->GetSafeHwnd() == NULL)
        return;
    if (pPanel->IsWindowVisible()) {
        bShown = FALSE;
        pButton->SetDib(0);
        pPanel->ShowWindow(SW_HIDE);
        pPanel->MoveWindow(PanelRect());
        return;
    }
    GetAppHost().CollapseToolkit();
    CRect rect = PanelRect();
    if (m_bCaptionShown) {
        const CRect caption = CaptionRect();
        if (caption.top <= rect.bottom)
            rect.bottom = std::max(rect.top + 60, caption.top - 10);
    }
    bShown = TRUE;
    pPanel->SetWindowPos(&wndTop, rect.left, rect.top, rect.Width(), rect.Height(), SWP_SHOWWINDOW);
    pButton->SetDib(1);
}

void CMediaResourceMainWin::OnBrowseMedia()
{
    TogglePanel(m_pListTab, m_pButtons[btnBrowse], m_bListShown);
}

void CMediaResourceMainWin::OnInstructions()
{
    TogglePanel(m_pInstructions, m_pButtons[btnInstructions], m_bInstructionsShown);
}

void CMediaResourceMainWin::OnOverlay()
{
    TogglePanel(m_pOverlayPanel, m_pButtons[btnOverlay], m_bOverlayShown);
    if (m_bOverlayShown && m_pOverlayPanel != NULL)
        m_pOverlayPanel->Invalidate();
}

void CMediaResourceMainWin::OnCaption()
{
    m_bCaptionShown = !m_bCaptionShown;
    m_bCaptionWanted = m_bCaptionShown;
    if (m_pCaptionPanel == NULL || m_pCaptionPanel->GetSafeHwnd() == NULL)
        return;
    m_pCaptionPanel->SetShown(m_bCaptionShown);
    m_pButtons[btnCaption]->SetDib(m_bCaptionShown);
    if (m_pCaptionPanel->IsOneLine()) {
        // The line under the media comes or goes.
        CRect line = m_rcNote;
        line.InflateRect(0, 2);
        InvalidateRect(&line);
        UpdateWindow();
    } else if (m_bCaptionShown) {
        ShowCaption();
    } else {
        m_pCaptionPanel->ShowWindow(SW_HIDE);
    }
}

void CMediaResourceMainWin::HideAllPanels()
{
    for (CWnd* pPanel : {static_cast<CWnd*>(m_pInstructions), static_cast<CWnd*>(m_pOverlayPanel)})
        if (pPanel != NULL && pPanel->GetSafeHwnd() != NULL) {
            pPanel->ShowWindow(SW_HIDE);
            pPanel->MoveWindow(PanelRect(), FALSE);
        }
    if (m_pListTab != NULL && m_pListTab->GetSafeHwnd() != NULL) {
        if (!m_bFirstView)
            m_pListTab->SelectFilter(0);
        m_pListTab->ShowWindow(SW_HIDE);
        m_pListTab->MoveWindow(PanelRect(), FALSE);
    }
    m_bInstructionsShown = m_bOverlayShown = m_bListShown = FALSE;
    for (int i : {btnInstructions, btnOverlay, btnBrowse})
        if (m_pButtons[i] != NULL && m_pButtons[i]->GetSafeHwnd() != NULL)
            m_pButtons[i]->SetDib(0);
    if (m_pCaptionPanel != NULL && m_pCaptionPanel->GetSafeHwnd() != NULL && m_pCaptionPanel->IsWindowVisible())
        m_pCaptionPanel->MoveWindow(CaptionRect());
}

LRESULT CMediaResourceMainWin::OnPanelChanged(WPARAM wParam, LPARAM lParam)
{
    CWnd* pPanel = reinterpret_cast<CWnd*>(lParam);
    if (!m_bButtonsCreated || pPanel == NULL || !::IsWindow(pPanel->GetSafeHwnd()))
        return 0;
    const int nState = static_cast<int>(wParam);
    switch (pPanel->GetDlgCtrlID()) {
    case MR_ID_CAPTION_PANEL:
        if (nState == -1) {
            m_bCaptionShown = FALSE;
        } else if (nState == 0) {
            m_pButtons[btnCaption]->SetDib(0);
            m_bCaptionShown = FALSE;
        } else {
            m_pButtons[btnCaption]->SetDib(1);
            m_bCaptionShown = TRUE;
            ShortenPanelsAboveCaption();
        }
        return 1;
    case MR_ID_LIST_PANEL:
        m_bListShown = pPanel->IsWindowVisible();
        m_pButtons[btnBrowse]->SetDib(m_bListShown);
        return 1;
    case MR_ID_OVERLAY_PANEL:
        m_bOverlayShown = pPanel->IsWindowVisible();
        m_pButtons[btnOverlay]->SetDib(m_bOverlayShown);
        m_pButtons[btnOverlay]->EnableWindow(m_pOverlayList != NULL && m_pOverlayList->GetCount() > 0);
        return 1;
    case MR_ID_INSTRUCTIONS_PANEL:
        m_bInstructionsShown = pPanel->IsWindowVisible();
        m_pButtons[btnInstructions]->SetDib(m_bInstructionsShown);
        return 1;
    default:
        return 0;
    }
}

// ---- picture groups ----

CGrfDocument* CMediaResourceMainWin::LoadDocument(CReference* pReference)
{
    if (pReference == NULL)
        return NULL;
    std::unique_ptr<CReference> pClone(pReference->Clone());
    std::unique_ptr<CGrfDocument> pDocument;
    try {
        pDocument = std::make_unique<CGrfDocument>();
        if (pClone == nullptr || !pDocument->Load(pClone.get(), FALSE))
            return NULL;
    } catch (CException* e) {
        e->Delete();
        return NULL;
    }
    return pDocument.release();
}

void CMediaResourceMainWin::ReplaceDocument(CGrfDocument* pDocument)
{
    // Whoever borrows the document hears of the new one before the old one goes.
    CGrfDocument* pOld = m_pDocument;
    m_pDocument = pDocument;
    if (m_pCaptionPanel != NULL)
        m_pCaptionPanel->SetDocument(pDocument);
    if (m_pPictureWin != NULL && m_pPictureWin->GetSafeHwnd() != NULL)
        m_pPictureWin->SetDocument(pDocument, FALSE);
    delete pOld;
}

void CMediaResourceMainWin::ShowGroupItem(int nIndex)
{
    if (m_pGroupList == NULL || nIndex < 0 || nIndex >= m_pGroupList->GetCount())
        return;
    CReference* pItem = m_pGroupList->GetAtIndex(nIndex);
    if (pItem == NULL)
        return;
    CWaitCursor wait;
    CGrfDocument* pDocument = LoadDocument(pItem);
    if (pDocument == NULL)
        return;
    ReplaceDocument(pDocument);
    m_bHasStickyNote = FALSE;
    m_strTitle = m_pDocument->GetTitle();
    m_nTitleTenths = 0;
    Layout(-1, -1);
    RefreshSticky();
    SetNoteRect();
    UpdateCaption();
    Invalidate();
}
