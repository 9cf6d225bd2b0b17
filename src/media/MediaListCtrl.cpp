#include "media/MediaListCtrl.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "media/AudioPlayer.h"
#include "base/ResourceLibrary.h"
#include "media/MediaListThumbnail.h"
#include "widgets/Dib.h"
#include "widgets/DibButton.h"

#include <algorithm>

namespace {

CString s_strMediaListClass;

void PostRollingState(BOOL bRolling)
{
    if (CWnd* pMain = GetAppMainWnd())
        if (pMain->GetSafeHwnd() != NULL)
            pMain->PostMessage(VLM_STOP_OFF, 0, bRolling ? 1 : 0);
}

}  // namespace

BEGIN_MESSAGE_MAP(CMediaListCtrl, CFilmStripWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_TIMER()
    ON_BN_CLICKED(MEDIALIST_ROLL_BUTTON_ID, OnRollCommand)
END_MESSAGE_MAP()

CMediaListCtrl::CMediaListCtrl()
{
    m_nTimerInterval = timerInterval;
    m_pRollButton = new CDibButton;
    try {
        CDib bottom;
        bottom.LoadFromResourceId(MEDIALIST_ROLLDOWN_NORMAL);
        m_nButtonWidth = static_cast<int>(bottom.GetWidth());
        m_nButtonHeight = static_cast<int>(bottom.GetHeight());
    } catch (CException* e) {
        e->Delete();  // measured as the default button
    }
}

CMediaListCtrl::~CMediaListCtrl()
{
    KillRollTimer();
    delete m_pRollButton;
    m_pRollButton = NULL;
}

int CMediaListCtrl::GetColumnWidth() const
{
    return std::max({static_cast<int>(minColumnWidth), m_nButtonWidth, m_nItemWidth});
}

BOOL CMediaListCtrl::Create(CWnd* pParent, int x, int y)
{
    if (s_strMediaListClass.IsEmpty())
        s_strMediaListClass = AfxRegisterWndClass(CS_BYTEALIGNCLIENT | CS_PARENTDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                                  LoadProgramCursor(262, IDC_ARROW));
    CRect client;
    pParent->GetClientRect(&client);
    CRect rect(x, y, x + GetColumnWidth(), std::max(y, static_cast<int>(client.bottom)));
    m_pStrip = pParent;
    return CreateEx(0, s_strMediaListClass, "Film strip scroll win", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                    pParent, 0);
}

int CMediaListCtrl::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CFilmStripWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect rect(0, 0, m_nButtonWidth, m_nButtonHeight);
    if (m_pRollButton->Create("Film Roll Bottom", WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_OWNERDRAW, rect, this,
                              MEDIALIST_ROLL_BUTTON_ID))
        SetRollButtonLook(FALSE);
    return 0;
}

void CMediaListCtrl::SetRollButtonLook(BOOL bRollDownNext)
{
    if (m_pRollButton == NULL || m_pRollButton->GetSafeHwnd() == NULL)
        return;
    if (bRollDownNext)
        m_pRollButton->LoadStateBitmaps(MEDIALIST_ROLLDOWN_NORMAL, MEDIALIST_ROLLDOWN_PRESSED, 0, MEDIALIST_ROLL_DISABLED);
    else
        m_pRollButton->LoadStateBitmaps(MEDIALIST_ROLLUP_NORMAL, MEDIALIST_ROLLUP_PRESSED, 0, MEDIALIST_ROLL_DISABLED);
    m_pRollButton->Invalidate();
}

void CMediaListCtrl::SetParentStrip(CWnd* pStrip)
{
    m_pStrip = pStrip;
    m_nOffset = 0;
}

BOOL CMediaListCtrl::AddItem(CObject* pItem, int nWidth, int nHeight)
{
    if (!CFilmStripWnd::AddItem(pItem, nWidth, nHeight))
        return FALSE;
    if (GetSafeHwnd() != NULL)
        SetWindowPos(NULL, 0, 0, GetColumnWidth(), rowHeight * m_nItemCount + m_nButtonHeight,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

int CMediaListCtrl::RemoveAll()
{
    KillRollTimer();
    const int nRemoved = CFilmStripWnd::RemoveAll();
    m_nItemWidth = minColumnWidth;
    m_nOffset = 0;
    m_nRemainingSlide = 0;
    m_nRollState = rollNone;
    m_bClickToggle = FALSE;
    SetRollButtonLook(FALSE);
    return nRemoved;
}

void CMediaListCtrl::LayoutItems()
{
    if (GetSafeHwnd() == NULL)
        return;
    const int nColumn = GetColumnWidth();
    int k = 0;
    for (POSITION pos = m_items.GetHeadPosition(); pos != NULL; ++k) {
        auto* pWnd = dynamic_cast<CWnd*>(m_items.GetNext(pos));
        if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
            continue;
        CRect rect;
        pWnd->GetWindowRect(&rect);
        pWnd->SetWindowPos(NULL, (nColumn - minColumnWidth) / 2, rowHeight * k - m_nOffset, 0, 0,
                           SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pRollButton->GetSafeHwnd() != NULL)
        m_pRollButton->SetWindowPos(&wndTop, (nColumn - m_nButtonWidth) / 2, rowHeight * m_nItemCount, m_nButtonWidth,
                                    m_nButtonHeight, SWP_NOACTIVATE);
    Invalidate();
}

void CMediaListCtrl::ScrollColumn(int dy)
{
    m_nOffset -= dy;
    for (POSITION pos = m_items.GetHeadPosition(); pos != NULL;) {
        auto* pWnd = dynamic_cast<CWnd*>(m_items.GetNext(pos));
        if (pWnd == NULL || pWnd->GetSafeHwnd() == NULL)
            continue;
        CRect rect;
        pWnd->GetWindowRect(&rect);
        ScreenToClient(&rect);
        pWnd->SetWindowPos(NULL, rect.left, rect.top + dy, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (GetSafeHwnd() != NULL) {
        CRect column;
        GetClientRect(&column);
        column.bottom = rowHeight * m_nItemCount;
        InvalidateRect(&column);
    }
}

void CMediaListCtrl::KillRollTimer()
{
    if (m_nTimerId != 0 && GetSafeHwnd() != NULL)
        KillTimer(m_nTimerId);
    m_nTimerId = 0;
}

void CMediaListCtrl::StartRoll(int nPending)
{
    if (nPending == 0 || GetSafeHwnd() == NULL)
        return;
    PostRollingState(TRUE);
    const UINT_PTR nId = (reinterpret_cast<UINT_PTR>(GetSafeHwnd()) + 0x500) & 0xFFFF;
    KillRollTimer();
    m_nTimerId = SetTimer(nId != 0 ? nId : 0x500, m_nTimerInterval, NULL);
    if (m_nTimerId == 0)
        return;
    SetRollButtonLook(FALSE);
    m_pRollButton->EnableWindow(FALSE);
    m_nRemainingSlide = nPending;
}

void CMediaListCtrl::RollUp()
{
    m_nRollState = rollUp;
    StartRoll(rowHeight * m_nItemCount - m_nOffset > 0 ? -(rowHeight * m_nItemCount - m_nOffset) : 0);
}

void CMediaListCtrl::RollDown()
{
    m_nRollState = rollDown;
    StartRoll(m_nOffset > 0 ? m_nOffset : 0);
}

void CMediaListCtrl::OnTimer(UINT_PTR nIDEvent)
{
    if (m_nTimerId == 0 || nIDEvent != m_nTimerId) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    if (m_nRemainingSlide == 0 || m_nRollState == rollStopped) {
        EndRoll();
        return;
    }
    const int nStep = std::min(static_cast<int>(tickPixels), std::abs(m_nRemainingSlide));
    const int dy = m_nRemainingSlide < 0 ? -nStep : nStep;
    ScrollColumn(dy);
    m_nRemainingSlide -= dy;
    if (std::abs(m_nRemainingSlide) < 5 && (std::abs(m_nRemainingSlide) + nStep) >= 5) {
        StopAppSound(MEDIALIST_SOUND_MOTION);
        PlayAppSound(MEDIALIST_SOUND_RELEASE, 0);
        m_bClickToggle = !m_bClickToggle;
    }
    UpdateWindow();
}

void CMediaListCtrl::EndRoll()
{
    KillRollTimer();
    m_nRemainingSlide = 0;
    if (m_nRollState == rollStopped)
        m_nRollState = rollDown;
    StopAppSound(MEDIALIST_SOUND_MOTION);
    PostRollingState(FALSE);
    SetRollButtonLook(IsAtEnd() && m_nItemCount > 0);
    if (m_pRollButton->GetSafeHwnd() != NULL) {
        m_pRollButton->EnableWindow(TRUE);
        m_pRollButton->Invalidate();
    }
    TellStrip();
}

void CMediaListCtrl::TellStrip()
{
    if (auto* pStrip = dynamic_cast<CMediaListStrip*>(m_pStrip)) {
        pStrip->ShowScrollUp(!IsAtEnd(), TRUE);
        pStrip->ShowScrollDown(!IsAtStart(), TRUE);
    }
}

void CMediaListCtrl::StopRolling()
{
    PostRollingState(FALSE);
    if (m_nTimerId == 0)
        return;
    KillRollTimer();
    StopAppSound(MEDIALIST_SOUND_MOTION);
    PlayAppSound(MEDIALIST_SOUND_RELEASE, 0);
    SetRollButtonLook(FALSE);
    m_pRollButton->EnableWindow(TRUE);
    // Back onto the row the roll was leaving.
    const int nPart = m_nOffset % rowHeight;
    if (nPart != 0)
        ScrollColumn(m_nRemainingSlide < 0 ? nPart : -(rowHeight - nPart));
    m_nRemainingSlide = 0;
    m_nRollState = rollStopped;
    if (GetSafeHwnd() != NULL)
        UpdateWindow();
    TellStrip();
}

void CMediaListCtrl::ResetRoll()
{
    if (m_nTimerId != 0) {
        PostRollingState(FALSE);
        StopAppSound(MEDIALIST_SOUND_MOTION);
        KillRollTimer();
    }
    if (m_nOffset != 0)
        ScrollColumn(m_nOffset);
    m_nRemainingSlide = 0;
    m_nRollState = rollNone;
    SetRollButtonLook(FALSE);
    if (m_pRollButton->GetSafeHwnd() != NULL)
        m_pRollButton->EnableWindow(TRUE);
    if (auto* pStrip = dynamic_cast<CMediaListStrip*>(m_pStrip)) {
        pStrip->ShowScrollUp(FALSE, FALSE);
        pStrip->ShowScrollDown(FALSE, FALSE);
    }
}

BOOL CMediaListCtrl::StepUp()
{
    if (IsAtEnd())
        return FALSE;
    KillRollTimer();
    m_nRemainingSlide = 0;
    ScrollColumn(-std::min(static_cast<int>(rowHeight), rowHeight * m_nItemCount - m_nOffset));
    SetRollButtonLook(IsAtEnd());
    return TRUE;
}

BOOL CMediaListCtrl::StepDown()
{
    if (IsAtStart())
        return FALSE;
    KillRollTimer();
    m_nRemainingSlide = 0;
    ScrollColumn(std::min(static_cast<int>(rowHeight), m_nOffset));
    SetRollButtonLook(IsAtEnd());
    return TRUE;
}

void CMediaListCtrl::OnRollCommand()
{
    OnRollButton();
}

void CMediaListCtrl::OnRollButton()
{
    if (auto* pStrip = dynamic_cast<CMediaListStrip*>(m_pStrip))
        if (CDibButton* pButton = pStrip->GetActionButton())
            pButton->SetDib(TRUE);
    StopAppSound(MEDIALIST_SOUND_START);
    if (m_nItemCount == 0)
        return;
    PlayAppSound(MEDIALIST_SOUND_MOTION, 1);
    if (m_nRollState == rollStopped) {
        Invalidate();
        RollDown();
    } else if (IsAtEnd()) {
        RollDown();
    } else {
        RollUp();
    }
}

void CMediaListCtrl::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTEINDEX(30));
}

BOOL CMediaListCtrl::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
