#include "shell/Toolkit.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "shell/VLToolbar.h"
#include "widgets/Dib.h"
#include "widgets/TipWnd.h"

namespace {

CString s_strToolkitClass;
BOOL s_bSliding = FALSE;

// The slide: 16 pixels a tick of 15 ms, timed to 5 ms.
const UINT kSlidePeriod = 15;
const UINT kSlideResolution = 5;
const int kSlideStep = 16;

// The item size comes from the Highlighter's picture, the Print button's height from its own.
const UINT kItemPicture = 7737;
const UINT kPrintPicture = 7754;

struct TOOL_RECORD {
    int nID;
    LPCSTR lpszCaption;
    UINT nBitmaps[4];  // normal, pressed, disabled, alternate
    UINT nHover;
    LPCSTR lpszTip;
};

// In the order they are made: Print, Sticky Note, Highlighter, Homework Wizards.
const TOOL_RECORD kTools[] = {
    {CToolkit::idPrint, "ToolKit - Print", {7754, 7751, 7755, 7752}, 7753, "Print"},
    {CToolkit::idStickyNote, "ToolKit - Sticky Note", {7781, 7778, 7782, 7779}, 7780, "Sticky Note"},
    {CToolkit::idHighlighter, "ToolKit - Highlighter", {7739, 7736, 7740, 7737}, 7738, "Turn Highlighter On"},
    {CToolkit::idWizard, "ToolKit - Wizard ", {7799, 7796, 7800, 7797}, 7798, "Homework Wizards"},
};

CSize PictureSize(UINT nId)
{
    try {
        CDib dib(nId);
        return CSize(dib.GetWidth(), dib.GetHeight());
    } catch (CException* e) {
        e->Delete();
        return CSize(0, 0);
    }
}

}  // namespace

// ---- the Tool Kit's buttons ----

BEGIN_MESSAGE_MAP(CTKRollOverButton, CRollOverButton)
    ON_WM_MOVE()
END_MESSAGE_MAP()

CTKRollOverButton::CTKRollOverButton() : m_ptTip(0, 0), m_sizeTip(0, 0)
{
}

CTKRollOverButton::~CTKRollOverButton()
{
    delete m_pTip;
}

void CTKRollOverButton::SetTip(LPCSTR lpszText, int x, int nHeight)
{
    m_pTip = new CTipWnd(lpszText);
    if (!m_pTip->Create(this)) {
        delete m_pTip;
        m_pTip = NULL;
        return;
    }
    const CRect& tip = m_pTip->GetTipRect();
    m_sizeTip = tip.Size();
    m_ptTip = CPoint(x, (nHeight - m_sizeTip.cy) / 2);
    CRect button;
    GetWindowRect(&button);
    m_pTip->Place(button);
}

void CTKRollOverButton::ReplaceTip(LPCSTR lpszText, int x, int nHeight)
{
    delete m_pTip;
    m_pTip = NULL;
    SetTip(lpszText, x, nHeight);
}

void CTKRollOverButton::UpdateTip(BOOL bPressed)
{
    if (m_pTip == NULL || m_pTip->GetSafeHwnd() == NULL)
        return;
    if (!bPressed && GetHoverButton() == this && !CToolkit::IsSliding()) {
        CRect button;
        GetWindowRect(&button);
        m_pTip->Place(button);
        m_pTip->ShowWindow(SW_SHOWNA);
    } else {
        m_pTip->ShowWindow(SW_HIDE);
    }
}

void CTKRollOverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CRollOverButton::DrawItem(lpDrawItemStruct);
    CAppPaletteSelector palette(CDC::FromHandle(lpDrawItemStruct->hDC));
    UpdateTip((lpDrawItemStruct->itemState & ODS_SELECTED) != 0);
}

void CTKRollOverButton::OnMove(int x, int y)
{
    CRollOverButton::OnMove(x, y);
    if (m_pTip == NULL || m_pTip->GetSafeHwnd() == NULL)
        return;
    // The tip keeps its place beside the button.
    CRect button;
    GetWindowRect(&button);
    CRect tip = m_pTip->GetTipRect();
    m_pTip->SetWindowPos(NULL, button.right - 4, button.top + (button.Height() - tip.Height()) / 2, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// ---- the panel ----

BEGIN_MESSAGE_MAP(CToolkit, CFilmStripWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_TIMER()
    ON_MESSAGE(VLM_MEDIA_TICK, OnMediaTick)
    ON_COMMAND(CToolkit::idPrint, OnPrint)
    ON_COMMAND(CToolkit::idStickyNote, OnStickyNote)
    ON_COMMAND(CToolkit::idHighlighter, OnHighlighter)
    ON_COMMAND(CToolkit::idWizard, OnWizard)
END_MESSAGE_MAP()

CToolkit::CToolkit()
{
    m_nTimerInterval = kSlidePeriod;
    CSize item = PictureSize(kItemPicture);
    if (item.cx > 0 && item.cy > 0) {
        m_nItemWidth = item.cx;
        m_nItemHeight = item.cy;
    }
}

CToolkit::~CToolkit()
{
    if (m_bMoving) {
        m_timer.Stop();
        s_bSliding = FALSE;
    }
}

int CToolkit::PanelWidth(int nScreenClass)
{
    switch (nScreenClass) {
    case 1:
        return 42;
    case 2:
        return 51;
    default:
        return 38;
    }
}

BOOL CToolkit::IsSliding()
{
    return s_bSliding;
}

BOOL CToolkit::Create(CWnd* pParent, int x, int y)
{
    if (s_strToolkitClass.IsEmpty())
        s_strToolkitClass = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_PARENTDC | CS_SAVEBITS | CS_BYTEALIGNCLIENT,
                                                ::LoadCursor(NULL, IDC_ARROW));
    CRect rect(x, y, x + PanelWidth(GetAppScreenClass()), y);
    return CreateEx(WS_EX_TOPMOST, s_strToolkitClass, "Tool Kit Win", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, rect,
                    pParent, 0);
}

int CToolkit::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    const int nPrintHeight = PictureSize(kPrintPicture).cy;
    for (const TOOL_RECORD& tool : kTools) {
        auto* pButton = new CTKRollOverButton;
        int nHeight = tool.nID == idPrint ? nPrintHeight : m_nItemHeight;
        if (!pButton->Create(tool.lpszCaption, WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 0, 0), this,
                             static_cast<UINT>(tool.nID))) {
            delete pButton;
            continue;
        }
        AddButton(pButton, nHeight);
    }
    for (const TOOL_RECORD& tool : kTools) {
        CTKRollOverButton* pButton = GetTool(tool.nID);
        if (pButton == NULL)
            continue;
        pButton->LoadStateBitmaps(tool.nBitmaps[0], tool.nBitmaps[1], 0, tool.nBitmaps[2], tool.nBitmaps[3]);
        pButton->LoadDib(tool.nHover);
        pButton->SizeToBitmap();
        CRect client;
        pButton->GetClientRect(&client);
        pButton->SetTip(tool.lpszTip, client.Width(), client.Height());
        pButton->SetState(FALSE);
        pButton->ShowWindow(SW_SHOWNA);
    }
    ShowWindow(SW_SHOWNA);
    return 0;
}

BOOL CToolkit::AddButton(CTKRollOverButton* pButton, int nHeight)
{
    try {
        m_items.AddTail(pButton);
    } catch (CException* e) {
        e->Delete();
        delete pButton;
        return FALSE;
    }
    m_nNextTop -= nHeight;
    pButton->SetWindowPos(NULL, 0, m_nNextTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ++m_nItemCount;
    return TRUE;
}

CTKRollOverButton* CToolkit::GetTool(int nID) const
{
    for (POSITION pos = m_items.GetHeadPosition(); pos != NULL;) {
        auto* pButton = static_cast<CTKRollOverButton*>(m_items.GetNext(pos));
        if (pButton->GetSafeHwnd() != NULL && pButton->GetDlgCtrlID() == nID)
            return pButton;
    }
    return NULL;
}

void CToolkit::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush ground(PALETTEINDEX(30));
    dc.FillRect(&client, &ground);
}

void CToolkit::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
}

void CToolkit::OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    CWnd::OnVScroll(nSBCode, nPos, pScrollBar);
}

// ---- sliding ----

void CToolkit::ToggleSlide()
{
    if (m_nSlideState == 1) {
        m_nSlideState = 0;
        SlideIn();
        ReleaseToolbarButton();
    } else {
        m_nSlideState = 1;
        SlideOut();
    }
}

BOOL CToolkit::StartSlide()
{
    if (GetSafeHwnd() == NULL || !m_timer.Start(kSlidePeriod, kSlideResolution, 0, m_hWnd))
        return FALSE;
    // A tip shown before the slide goes with it.
    for (POSITION pos = m_items.GetHeadPosition(); pos != NULL;) {
        auto* pButton = static_cast<CTKRollOverButton*>(m_items.GetNext(pos));
        if (CTipWnd* pTip = pButton->GetTip())
            if (pTip->GetSafeHwnd() != NULL)
                pTip->ShowWindow(SW_HIDE);
    }
    return TRUE;
}

void CToolkit::SlideOut()
{
    if (m_nSlideState == 0)
        return;
    if (!StartSlide()) {
        // No timer, no slide: nothing moves, so nothing waits for the slide's end.
        ReleaseCapture();
        return;
    }
    s_bSliding = TRUE;
    m_bMoving = TRUE;
    // Over the view on screen, which may have come up after the panel was made.
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    SetCapture();
    m_nRemainingSlide += m_nItemCount * m_nItemHeight;
}

void CToolkit::SlideIn()
{
    if (m_nSlideState == 1)
        return;
    if (!StartSlide()) {
        ReleaseCapture();
        return;
    }
    SetCapture();
    s_bSliding = TRUE;
    m_bMoving = TRUE;
    m_nRemainingSlide -= m_nItemCount * m_nItemHeight;
}

void CToolkit::SetPanelHeight(int nHeight)
{
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(NULL, 0, 0, window.Width(), nHeight < 0 ? 0 : nHeight,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CToolkit::SlideStep()
{
    int r = m_nRemainingSlide;
    if (r == 0) {
        EndSlide();
        return TRUE;
    }
    CRect client;
    GetClientRect(&client);
    int nStep;
    if (r < 0) {
        nStep = r < -(kSlideStep - 1) ? -kSlideStep : r;
        m_nRemainingSlide = r - nStep;
        ScrollWindow(0, nStep);
        SetPanelHeight(client.Height() + nStep);
    } else {
        nStep = r >= kSlideStep ? kSlideStep : r;
        m_nRemainingSlide = r - nStep;
        SetPanelHeight(client.Height() + nStep);
        ScrollWindow(0, nStep);
    }
    if (CWnd* pMain = GetParent())
        pMain->UpdateWindow();
    UpdateWindow();
    return FALSE;
}

void CToolkit::EndSlide()
{
    ReleaseCapture();
    m_timer.Stop();
    s_bSliding = FALSE;
    m_bMoving = FALSE;
    if (m_nSlideState != 1)
        if (CWnd* pMain = GetParent())
            pMain->SendMessage(VLM_PANE_DOWN, 0, 5);
    RunPendingTools();
}

void CToolkit::RunPendingTools()
{
    if (m_bPendingPrint) {
        m_bPendingPrint = FALSE;
        RunPrint();
    }
    if (m_bPendingSticky) {
        m_bPendingSticky = FALSE;
        RunStickyNote();
    }
}

LRESULT CToolkit::OnMediaTick(WPARAM, LPARAM)
{
    // Ticks still queued when the slide has ended move nothing.
    if (m_bMoving)
        SlideStep();
    return 0;
}

void CToolkit::OnTimer(UINT_PTR nIDEvent)
{
    if (m_bMoving && SlideStep())
        KillTimer(nIDEvent);
}

void CToolkit::CollapseToolkit()
{
    ReleaseToolbarButton();
    if (m_nSlideState != 1)
        return;
    if (m_bMoving) {
        m_timer.Stop();
        ReleaseCapture();
        s_bSliding = FALSE;
        m_bMoving = FALSE;
        // Tools pressed during the interrupted slide are not lost.
        RunPendingTools();
    }
    // Back at once: the contents scroll back by what the slide moved them.
    CRect client;
    GetClientRect(&client);
    if (GetSafeHwnd() != NULL) {
        ScrollWindow(0, -client.Height());
        SetPanelHeight(0);
    }
    m_nRemainingSlide = 0;
    m_nSlideState = 0;
}

void CToolkit::ReleaseToolbarButton()
{
    if (m_pToolbar != NULL)
        m_pToolbar->SetToolkitButton(FALSE);
}

// ---- the tools ----

void CToolkit::EnableTools(BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember)
{
    const BOOL states[4] = {bPrint, bSticky, bHighlighter, bWizard};
    const int ids[4] = {idPrint, idStickyNote, idHighlighter, idWizard};
    for (int i = 0; i < 4; ++i)
        if (CTKRollOverButton* pButton = GetTool(ids[i]))
            pButton->EnableWindow(states[i]);
    if (bRemember)
        for (int i = 0; i < 4; ++i)
            m_bRemembered[i] = states[i];
    if (bHighlighter)
        SetHighlighterState(FALSE);
}

void CToolkit::SetHighlighterState(BOOL bOn)
{
    m_bHighlighterOn = bOn;
    if (CTKRollOverButton* pButton = GetTool(idHighlighter)) {
        CRect client;
        pButton->GetClientRect(&client);
        pButton->ReplaceTip(bOn ? "Turn Highlighter Off" : "Turn Highlighter On", client.Width(), client.Height());
    }
}

BOOL CToolkit::ToolEnabled(int nID) const
{
    CTKRollOverButton* pButton = GetTool(nID);
    return pButton != NULL && pButton->IsWindowEnabled();
}

void CToolkit::RunPrint()
{
    if (CWnd* pMain = GetParent())
        pMain->PostMessage(WM_COMMAND, ID_FILE_PRINT_VIEW);
}

void CToolkit::RunStickyNote()
{
    if (CWnd* pView = AppServices().ui.pCurrentView)
        pView->PostMessage(VLM_STICKY_NOTE, static_cast<WPARAM>(-1), 0);
}

void CToolkit::OnPrint()
{
    if (!ToolEnabled(idPrint))
        return;
    if (m_bMoving)
        m_bPendingPrint = TRUE;
    else
        RunPrint();
}

void CToolkit::OnStickyNote()
{
    if (!ToolEnabled(idStickyNote))
        return;
    if (m_bMoving)
        m_bPendingSticky = TRUE;
    else
        RunStickyNote();
}

void CToolkit::OnHighlighter()
{
    if (!ToolEnabled(idHighlighter))
        return;
    if (CWnd* pView = AppServices().ui.pCurrentView)
        pView->PostMessage(VLM_HIGHLIGHTER, static_cast<WPARAM>(-1), 0);
}

void CToolkit::OnWizard()
{
    if (!ToolEnabled(idWizard))
        return;
    if (CWnd* pMain = GetParent())
        pMain->PostMessage(VLM_WIZARD_SELECTION, static_cast<WPARAM>(-1), 0);
}
