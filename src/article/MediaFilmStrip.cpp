#include "article/MediaFilmStrip.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMainWin.h"
#include "article/ArticleMediaOpen.h"
#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/VLMessages.h"
#include "media/AudioPlayer.h"
#include "media/GrfDocument.h"
#include "media/MediaListCtrl.h"
#include "widgets/Dib.h"
#include "widgets/RollOverButton.h"

#include <algorithm>
#include <memory>

namespace {

// The strip's pictures: the roll-top button's states and hover picture, the scroll buttons', and
// the picture of a sound's thumbnail.
enum : UINT {
    bmpRollTop = 608, bmpRollTopPressed = 603, bmpRollTopDisabled = 607, bmpRollTopHover = 340,
    bmpScrollUp = 613, bmpScrollUpPressed = 611, bmpScrollUpDisabled = 336,
    bmpScrollDown = 612, bmpScrollDownPressed = 602, bmpScrollDownDisabled = 335,
    bmpSoundThumb = 583,
};

CSize MeasureBitmap(UINT nId, CSize fallback)
{
    try {
        CDib dib;
        dib.LoadFromResourceId(nId);
        return CSize(static_cast<int>(dib.GetWidth()), static_cast<int>(dib.GetHeight()));
    } catch (CException* e) {
        e->Delete();
        return fallback;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CMediaFilmStrip, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_BN_CLICKED(FILMSTRIP_ROLL_TOP_ID, OnRollTopCommand)
    ON_CONTROL_RANGE(BN_CLICKED, FILMSTRIP_SCROLL_DOWN_ID, FILMSTRIP_SCROLL_UP_ID, OnScrollButton)
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_TIMER()
    ON_WM_SETFOCUS()
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CMediaFilmStrip::CMediaFilmStrip()
{
    m_pMediaList = new CMediaListCtrl;
    m_pRollTop = new CRollOverButton;
    m_pScrollUp = new CDibButton;
    m_pScrollDown = new CDibButton;
    const CSize rollTop = MeasureBitmap(bmpRollTop, CSize(44, 20));
    const CSize scroll = MeasureBitmap(bmpScrollUpPressed, CSize(20, 14));
    m_nRollTopWidth = rollTop.cx;
    m_nRollTopHeight = rollTop.cy;
    m_nScrollWidth = scroll.cx;
    m_nScrollHeight = scroll.cy;
    const int d = (m_nRollTopHeight - m_nScrollHeight) / 2;
    m_rcLeftScroll.SetRect(0, d, m_nScrollWidth, d + m_nScrollHeight);
    m_rcRollTop.SetRect(m_nScrollWidth + 2, 0, m_nScrollWidth + 2 + m_nRollTopWidth, m_nRollTopHeight);
    m_rcRightScroll.SetRect(m_nScrollWidth + 4 + m_nRollTopWidth, d, m_nScrollWidth + 4 + m_nRollTopWidth + m_nScrollWidth,
                            d + m_nScrollHeight);
    m_ptMediaList = CPoint(m_nScrollWidth + 4, m_nRollTopHeight + 1);
}

CMediaFilmStrip::~CMediaFilmStrip()
{
    StopRepeat();
    delete m_pMediaList;
    delete m_pScrollUp;
    delete m_pScrollDown;
    delete m_pRollTop;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CMediaFilmStrip::Create(CWnd* pParent, const RECT& rect)
{
    return CWnd::Create(NULL, "Article Media", WS_CHILD | WS_CLIPSIBLINGS, rect, pParent, 0);
}

int CMediaFilmStrip::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_pRollTop->Create("Film Roll Top", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW, m_rcRollTop, this,
                           FILMSTRIP_ROLL_TOP_ID)) {
        m_pRollTop->LoadStateBitmaps(bmpRollTop, bmpRollTopPressed, bmpRollTopPressed, bmpRollTopDisabled, 0, 0,
                                     bmpRollTopPressed, bmpRollTopDisabled);
        m_pRollTop->LoadDib(bmpRollTopHover);
        m_pRollTop->SizeToBitmap();
        m_pRollTop->MoveWindow(&m_rcRollTop);
        m_pRollTop->ShowWindow(SW_SHOWNA);
        m_nRollTopWidth = m_rcRollTop.Width();
    }
    m_pMediaList->Create(this, m_ptMediaList.x, m_ptMediaList.y);
    m_pMediaList->SetParentStrip(this);
    auto makeScroll = [&](CDibButton* pButton, LPCSTR lpszText, UINT nID, UINT nNormal, UINT nPressed, UINT nDisabled,
                          const CRect& rect) {
        if (!pButton->Create(lpszText, WS_CHILD | WS_CLIPSIBLINGS | BS_OWNERDRAW, rect, this, nID))
            return;
        pButton->LoadStateBitmaps(nNormal, nPressed, 0, nDisabled);
        pButton->SizeToBitmap();
        pButton->MoveWindow(&rect);
        pButton->EnableWindow(FALSE);
        pButton->ShowWindow(SW_HIDE);
        pButton->SetForwardMouse(TRUE);
    };
    makeScroll(m_pScrollDown, "Film Scroll Down", FILMSTRIP_SCROLL_DOWN_ID, bmpScrollDown, bmpScrollDownPressed,
               bmpScrollDownDisabled, m_rcLeftScroll);
    makeScroll(m_pScrollUp, "Film Scroll up", FILMSTRIP_SCROLL_UP_ID, bmpScrollUp, bmpScrollUpPressed,
               bmpScrollUpDisabled, m_rcRightScroll);
    return 0;
}

CDibButton* CMediaFilmStrip::GetActionButton()
{
    return m_pRollTop;
}

int CMediaFilmStrip::GetThumbnailCount() const
{
    return m_pMediaList->GetItemCount();
}

int CMediaFilmStrip::ItemCount() const
{
    if (m_pDocument == NULL)
        return 0;
    const int n = m_pDocument->GetMediaEntryCount();
    return m_pDocument->GetFormatYear() < ARTICLE_NEW_LAYOUT_YEAR ? n / 2 : n;
}

void CMediaFilmStrip::StopRepeat()
{
    if (m_nRepeatTimer != 0 && GetSafeHwnd() != NULL)
        KillTimer(m_nRepeatTimer);
    m_nRepeatTimer = 0;
}

void CMediaFilmStrip::StartRepeat(UINT nPeriod)
{
    StopRepeat();
    if (GetSafeHwnd() == NULL)
        return;
    const UINT_PTR nId = (reinterpret_cast<UINT_PTR>(GetSafeHwnd()) + 1280) & 0xFFFF;
    m_nRepeatTimer = SetTimer(nId != 0 ? nId : 1280, nPeriod, NULL);
}

void CMediaFilmStrip::LoadMedia(CArticleDocument* pDocument)
{
    StopAppSound(MEDIALIST_SOUND_MOTION);
    m_nRepeatCounter = 0;
    m_bScrollUpHeld = m_bScrollDownHeld = FALSE;
    StopRepeat();
    m_pMediaList->RemoveAll();
    m_pLastThumbnail = NULL;
    m_pDocument = pDocument;
    if (GetSafeHwnd() == NULL)
        return;
    m_pRollTop->EnableWindow(FALSE);
    m_pMediaList->ShowWindow(SW_HIDE);
    ShowScrollUp(FALSE, FALSE);
    ShowScrollDown(FALSE, FALSE);

    CReferenceFactory* pFactory = GetAppReferenceFactory();
    const int n = pFactory != NULL ? ItemCount() : 0;
    std::unique_ptr<CStringArray> pCaptions(n > 0 ? pDocument->GetMediaCaptions() : NULL);
    CRect client;
    GetClientRect(&client);
    const int w = m_pMediaList->GetColumnWidth();
    const int nButton = m_pMediaList->GetRollButtonHeight();
    const int nLeft = (client.Width() - w) / 2 - 1;
    m_rcMediaList.SetRect(nLeft, m_nRollTopHeight + 1, nLeft + w, m_nRollTopHeight + 1 + CMediaListCtrl::rowHeight * n + nButton);

    // Thumbnail pictures come from the disc's archive; without it (or after a record that could
    // not be read, which its reader has reported) the thumbnails are made without pictures.
    BOOL bPictures = FALSE;
    if (n > 0) {
        CString strRoot;
        CFileStatus status;
        bPictures = GetDataDir(strRoot, DDT_INFO_DAT11, 1, FALSE) && CFile::GetStatus(strRoot + "VL.DAT", status);
    }
    for (int k = 0; k < n; ++k) {
        const DWORD nRin = pDocument->GetMediaRin(k);
        LPCSTR lpszCaption = pCaptions != nullptr && k < pCaptions->GetSize() ? (LPCSTR)pCaptions->GetAt(k) : "";
        std::unique_ptr<CReference> pReference(pFactory->CreateReference(static_cast<LONG>(nRin), lpszCaption, 0));
        CDib* pPicture = NULL;
        if (IsSoundRin(nRin)) {
            try {
                pPicture = new CDib(bmpSoundThumb);
            } catch (CException* e) {
                e->Delete();
                pPicture = NULL;
            }
        } else if (pReference != nullptr && bPictures && (pReference->GetKind() & (REFKIND_ALLMEDIA | REFKIND_MAP)) != 0) {
            BOOL bLoaded = FALSE;
            try {
                CGrfDocument grf;
                bLoaded = grf.Load(pReference.get(), TRUE);
                if (bLoaded)
                    pPicture = grf.CreateSecondDib();
            } catch (CException* e) {
                // A record that cannot be read ends the filling; the thumbnails made stay.
                e->Delete();
                break;
            }
            bPictures = bLoaded;
            if (bLoaded && pPicture == NULL)
                AfxMessageBox("GIF Decoder ERROR thumbnail will show detailed information");
        }
        auto* pThumb = new CMediaListThumbnail(pPicture, nRin, k);
        if (!m_pMediaList->AddItem(pThumb, CMediaListCtrl::minColumnWidth, CMediaListCtrl::rowHeight)) {
            delete pThumb;
            break;
        }
        m_pLastThumbnail = pThumb;
        CRect rect((w - CMediaListCtrl::minColumnWidth) / 2, CMediaListCtrl::rowHeight * k, 0, 0);
        rect.right = rect.left + CMediaListCtrl::minColumnWidth;
        rect.bottom = rect.top + CMediaListCtrl::rowHeight;
        if (pThumb->Create("Media List Thumbnail", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW, rect,
                           m_pMediaList, 0))
            pThumb->LoadStateBitmaps(MEDIALIST_FRAME_NORMAL, MEDIALIST_FRAME_NORMAL);
    }

    const int nShown = m_pMediaList->GetItemCount();
    m_rcMediaList.bottom = m_rcMediaList.top + CMediaListCtrl::rowHeight * nShown + nButton;
    SetWindowPos(&wndBottom, 0, 0, client.Width(), m_rcMediaList.bottom, SWP_NOMOVE | SWP_NOACTIVATE);
    m_pMediaList->MoveWindow(&m_rcMediaList);
    m_pMediaList->LayoutItems();
    ShowWindow(SW_SHOWNA);
    if (nShown > 0) {
        EnableWindow(TRUE);
        m_pRollTop->EnableWindow(TRUE);
        m_pMediaList->ShowWindow(SW_SHOWNA);
        if (CWnd* pButton = m_pMediaList->GetRollButton())
            if (pButton->GetSafeHwnd() != NULL)
                pButton->ShowWindow(SW_SHOWNA);
    } else {
        EnableWindow(FALSE);
        if (CWnd* pButton = m_pMediaList->GetRollButton())
            if (pButton->GetSafeHwnd() != NULL)
                pButton->ShowWindow(SW_HIDE);
    }
    Invalidate();
}

void CMediaFilmStrip::SelectMedia(int nIndex)
{
    m_pMediaList->StopRolling();
    auto* pView = dynamic_cast<CArticleMainWin*>(GetParent());
    CArticleDocument* pDocument = pView != NULL ? pView->GetDocument() : m_pDocument;
    if (pDocument == NULL || GetParent() == NULL)
        return;
    const DWORD nRin = pDocument->GetMediaRin(nIndex);
    GetParent()->PostMessage(VLM_PANE_ITEM, IsSoundRin(nRin) ? 4 : 1, nIndex);
}

void CMediaFilmStrip::OpenMedia(int nIndex)
{
    auto* pView = dynamic_cast<CArticleMainWin*>(GetParent());
    CArticleDocument* pDocument = pView != NULL ? pView->GetDocument() : m_pDocument;
    if (GetParent() != NULL)
        OpenArticleMedia(GetParent(), pDocument, nIndex);
}

namespace {

void ShowScrollButton(CDibButton* pButton, BOOL bEnable, BOOL bShow)
{
    if (pButton->GetSafeHwnd() == NULL)
        return;
    pButton->ShowWindow(bShow ? SW_SHOWNA : SW_HIDE);
    pButton->EnableWindow(bEnable);
}

}  // namespace

void CMediaFilmStrip::ShowScrollUp(BOOL bEnable, BOOL bShow)
{
    ShowScrollButton(m_pScrollUp, bEnable, bShow);
}

void CMediaFilmStrip::ShowScrollDown(BOOL bEnable, BOOL bShow)
{
    ShowScrollButton(m_pScrollDown, bEnable, bShow);
}

void CMediaFilmStrip::AfterStep()
{
    ShowScrollUp(!m_pMediaList->IsAtEnd(), TRUE);
    ShowScrollDown(!m_pMediaList->IsAtStart(), TRUE);
    if (CDibButton* pButton = m_pMediaList->GetRollButton())
        if (pButton->GetSafeHwnd() != NULL) {
            pButton->EnableWindow(TRUE);
            pButton->Invalidate();
        }
}

void CMediaFilmStrip::ScrollUp()
{
    if (m_pMediaList->IsAtEnd() || (m_pScrollUp->GetSafeHwnd() != NULL && m_pScrollUp->IsWindowVisible() &&
                                    !m_pScrollUp->IsWindowEnabled()))
        return;
    m_pMediaList->SetRollState(CMediaListCtrl::rollDown);
    if (m_bScrollUpHeld)
        PlayAppSound(MEDIALIST_SOUND_MOTION, 1);
    else
        StopAppSound(MEDIALIST_SOUND_MOTION);
    m_pMediaList->StepUp();
    m_pMediaList->UpdateWindow();
    AfterStep();
}

void CMediaFilmStrip::ScrollDown()
{
    if (m_pMediaList->IsAtStart() || (m_pScrollDown->GetSafeHwnd() != NULL && m_pScrollDown->IsWindowVisible() &&
                                      !m_pScrollDown->IsWindowEnabled()))
        return;
    m_pMediaList->SetRollState(CMediaListCtrl::rollUp);
    if (m_bScrollDownHeld)
        PlayAppSound(MEDIALIST_SOUND_MOTION, 1);
    else
        StopAppSound(MEDIALIST_SOUND_MOTION);
    m_pMediaList->StepDown();
    m_pMediaList->UpdateWindow();
    AfterStep();
}

void CMediaFilmStrip::OnScrollButton(UINT nID)
{
    CDibButton* pButton = nID == FILMSTRIP_SCROLL_UP_ID ? m_pScrollUp : m_pScrollDown;
    if (!pButton->IsWindowEnabled())
        return;
    if (nID == FILMSTRIP_SCROLL_UP_ID) {
        m_bScrollUpHeld = TRUE;
        ScrollUp();
    } else {
        m_bScrollDownHeld = TRUE;
        ScrollDown();
    }
    StartRepeat(repeatAfterNotify);
}

void CMediaFilmStrip::OnLButtonDown(UINT nFlags, CPoint point)
{
    m_nRepeatCounter = 0;
    auto inside = [&](CDibButton* pButton) {
        if (pButton->GetSafeHwnd() == NULL || !pButton->IsWindowVisible() || !pButton->IsWindowEnabled())
            return FALSE;
        CRect rect;
        pButton->GetWindowRect(&rect);
        ScreenToClient(&rect);
        return rect.PtInRect(point);
    };
    if (inside(m_pScrollUp)) {
        m_nRepeatCounter = 1;
        m_bScrollUpHeld = TRUE;
        ScrollUp();
        StartRepeat(repeatAfterPress);
    } else if (inside(m_pScrollDown)) {
        m_nRepeatCounter = 1;
        m_bScrollDownHeld = TRUE;
        ScrollDown();
        StartRepeat(repeatAfterPress);
    } else {
        CWnd::OnLButtonDown(nFlags, point);
    }
}

void CMediaFilmStrip::OnLButtonUp(UINT nFlags, CPoint point)
{
    if (m_bScrollUpHeld || m_bScrollDownHeld) {
        StopAppSound(MEDIALIST_SOUND_MOTION);
        if (m_nRepeatCounter >= 1)
            PlayAppSound(MEDIALIST_SOUND_RELEASE, 0);
        m_bScrollUpHeld = m_bScrollDownHeld = FALSE;
        StopRepeat();
        return;
    }
    CWnd::OnLButtonUp(nFlags, point);
}

void CMediaFilmStrip::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != m_nRepeatTimer || m_nRepeatTimer == 0) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    --m_nRepeatCounter;
    if (m_bScrollUpHeld && !m_pMediaList->IsAtEnd()) {
        m_nRepeatCounter = 1;
        ScrollUp();
    } else if (m_bScrollDownHeld && !m_pMediaList->IsAtStart()) {
        m_nRepeatCounter = 1;
        ScrollDown();
    } else {
        // Nothing more to step: the repeat ends at either end of the column.
        StopAppSound(MEDIALIST_SOUND_MOTION);
        StopRepeat();
    }
}

void CMediaFilmStrip::OnRollTopCommand()
{
    OnRollTop();
}

void CMediaFilmStrip::OnRollTop()
{
    if (m_pMediaList->IsRolling()) {
        m_pMediaList->StopRolling();
        return;
    }
    m_bScrollUpHeld = m_bScrollDownHeld = FALSE;
    StopRepeat();
    StopAppSound(MEDIALIST_SOUND_MOTION);
    if (m_pMediaList->GetItemCount() == 0)
        return;
    PlayAppSound(MEDIALIST_SOUND_START, 0);
    PlayAppSound(MEDIALIST_SOUND_MOTION, 1);
    if (m_pMediaList->GetRollState() == CMediaListCtrl::rollNone || m_pMediaList->IsAtStart())
        m_pMediaList->RollUp();
    else
        m_pMediaList->RollDown();
}

void CMediaFilmStrip::StopRolling()
{
    m_bScrollUpHeld = m_bScrollDownHeld = FALSE;
    StopRepeat();
    m_pMediaList->StopRolling();
}

void CMediaFilmStrip::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTEINDEX(30));
}

BOOL CMediaFilmStrip::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMediaFilmStrip::OnSetFocus(CWnd*)
{
    if (m_pMediaList->GetSafeHwnd() != NULL)
        m_pMediaList->SetFocus();
}

void CMediaFilmStrip::OnClose()
{
    Default();
    if (CWnd* pParent = GetParent()) {
        pParent->Invalidate();
        pParent->SetFocus();
    }
}
