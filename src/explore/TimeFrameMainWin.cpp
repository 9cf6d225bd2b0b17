#include "explore/TimeFrameMainWin.h"

#include "base/PaletteSelector.h"
#include "base/VLMessages.h"
#include "explore/TFStateObj.h"
#include "explore/ThumbView.h"
#include "explore/TimeMachineWnd.h"
#include "explore/TimeStatWnd.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CTimeFrameMainWin, CVLMainWin)

BEGIN_MESSAGE_MAP(CTimeFrameMainWin, CVLMainWin)
ON_WM_SIZE()
ON_WM_PAINT()
ON_WM_ERASEBKGND()
ON_WM_LBUTTONDOWN()
ON_MESSAGE(VLM_RESTORE_STATE, OnRestoreState)
ON_MESSAGE(VLM_START_PAGE, OnStartPage)
ON_MESSAGE(VLM_SHOW_LINKED_SELECTION, OnLinkedSelection)
END_MESSAGE_MAP()

CTimeFrameMainWin::CTimeFrameMainWin()
    : m_pStatWnd(NULL), m_pTimeMachine(NULL), m_pThumbView(NULL), m_lastSize(-1, -1)
{
}

CTimeFrameMainWin::~CTimeFrameMainWin()
{
    delete m_pStatWnd;
    delete m_pTimeMachine;
    delete m_pThumbView;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

CTimeMachineWnd* CTimeFrameMainWin::NewTimeMachine()
{
    return new CTimeMachineWnd;
}

BOOL CTimeFrameMainWin::CreateMainWin(const RECT& rect, CWnd* pParentWnd)
{
    return CreateView(NULL, TIMEFRAME_VIEW_NAME, rect, pParentWnd, IDW_TIMEFRAME);
}

BOOL CTimeFrameMainWin::CreateView(LPCSTR lpszClassName, LPCSTR lpszWindowName, const RECT& rect, CWnd* pParentWnd,
                                   UINT nID, CCreateContext* pContext)
{
    if (!CVLMainWin::CreateView(lpszClassName, lpszWindowName, rect, pParentWnd, nID, pContext))
        return FALSE;
    CRect client;
    GetClientRect(&client);
    m_rcStatus.SetRect(client.left, client.top, client.right, client.top + TIMEFRAME_STRIP_HEIGHT);
    m_rcMachine.SetRect(client.left + 10, client.top + 10, client.left + 10 + 152, client.top + 10 + 200);
    m_rcThumbs.SetRect(client.left, TIMEFRAME_STRIP_HEIGHT, client.right, client.bottom);

    m_pStatWnd = new CTimeStatWnd;
    m_pTimeMachine = NewTimeMachine();
    m_pThumbView = new CThumbView;
    const DWORD dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
    if (!m_pThumbView->Create(NULL, "Thumbnail View", dwStyle | WS_VSCROLL, m_rcThumbs, this, 0))
        return FALSE;
    m_pThumbView->SetScrollRange(SB_VERT, 0, 0, TRUE);
    if (!m_pStatWnd->Create("TimeStatWnd", dwStyle, m_rcStatus, this, 0))
        return FALSE;
    if (!m_pTimeMachine->Create("TimeMachine", dwStyle, m_rcMachine.TopLeft(), this, 0))
        return FALSE;
    m_pTimeMachine->SetViews(m_pThumbView, m_pStatWnd);
    m_pTimeMachine->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    return TRUE;
}

void CTimeFrameMainWin::OnFilePrint()
{
    AfxMessageBox(TIMEFRAME_NO_PRINT, MB_ICONEXCLAMATION);
}

// ---- layout and painting ----

void CTimeFrameMainWin::OnSize(UINT nType, int cx, int cy)
{
    CVLMainWin::OnSize(nType, cx, cy);
    CSize size(cx, cy);
    if (static_cast<UINT>(cx) == 0xFFFFFFFF)
        size = m_lastSize;
    else if (size == m_lastSize)
        return;
    m_lastSize = size;
    if (m_pThumbView == NULL || m_pThumbView->GetSafeHwnd() == NULL)
        return;
    m_pThumbView->MoveWindow(0, TIMEFRAME_STRIP_HEIGHT, size.cx, std::max(0, static_cast<int>(size.cy) - TIMEFRAME_STRIP_HEIGHT));
    if (m_pStatWnd != NULL && m_pStatWnd->GetSafeHwnd() != NULL) {
        CRect strip;
        m_pStatWnd->GetWindowRect(&strip);
        m_pStatWnd->MoveWindow(0, 0, size.cx, strip.Height());
    }
    if (m_pTimeMachine != NULL && m_pTimeMachine->GetSafeHwnd() != NULL)
        m_pTimeMachine->SetWindowPos(NULL, 10, 10, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CTimeFrameMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTimeFrameMainWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush brush(static_cast<COLORREF>(0x02E7FFFF));
    CBrush* pOld = dc.SelectObject(&brush);
    dc.PatBlt(client.left, client.top, client.Width(), client.Height(), PATCOPY);
    dc.SelectObject(pOld);
}

void CTimeFrameMainWin::OnLButtonDown(UINT, CPoint)
{
    if (m_pTimeMachine != NULL)
        m_pTimeMachine->CloseDropLists();
}

BOOL CTimeFrameMainWin::OnCommand(WPARAM wParam, LPARAM lParam)
{
    switch (LOWORD(wParam)) {
    case TM_ID_CATEGORY_LIST:
    case TM_ID_ERA_LIST:
        // The time machine's drop lists are ours as windows, its as controls.
        if (m_pTimeMachine != NULL && m_pTimeMachine->GetSafeHwnd() != NULL)
            m_pTimeMachine->SendMessage(WM_COMMAND, wParam, lParam);
        return TRUE;
    case TIMESTAT_SHOW_MACHINE:
        if (m_pTimeMachine != NULL)
            m_pTimeMachine->ComeBack();
        return TRUE;
    default:
        return CVLMainWin::OnCommand(wParam, lParam);
    }
}

// ---- history, start page and links ----

void CTimeFrameMainWin::ShowWelcome(CTFStateObj* pState)
{
    if (m_pThumbView != NULL && m_pThumbView->GetSafeHwnd() != NULL) {
        m_pThumbView->ShowWelcome();
        m_pThumbView->Invalidate(TRUE);
    }
    m_pTimeMachine->ReturnToWelcome();
    if (m_pStatWnd != NULL && m_pStatWnd->GetSafeHwnd() != NULL) {
        for (int i = 0; i < TIMESTAT_FIELD_COUNT; ++i)
            m_pStatWnd->SetField(i, "");
        m_pStatWnd->ShowFields(FALSE);
        m_pStatWnd->ShowWindow(SW_HIDE);
        m_pStatWnd->Invalidate(TRUE);
    }
    CWnd* pFrame = GetParent();
    if (pFrame == NULL || !pFrame->PostMessage(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(pState)))
        delete pState;
}

LRESULT CTimeFrameMainWin::OnRestoreState(WPARAM, LPARAM lParam)
{
    std::unique_ptr<CObject> pObject(reinterpret_cast<CObject*>(lParam));
    auto* pState = DYNAMIC_DOWNCAST(CTFStateObj, pObject.get());
    if (pState == NULL || m_pTimeMachine == NULL || m_pTimeMachine->GetSafeHwnd() == NULL)
        return 0;
    CWnd* pFrame = GetParent();
    if (pState->IsSameAs(m_pTimeMachine->GetSelection())) {
        // What is shown already: the state goes back to the history as it is.
        pObject.release();
        if (pFrame == NULL || !pFrame->PostMessage(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(pState)))
            delete pState;
    } else {
        m_pTimeMachine->SetSelection(pState->m_selection);
        if (pState->m_selection.nNothingChosen == 0) {
            // The search records its own state, marked as a restore.
            m_pTimeMachine->ApplyCode(pState->m_selection.strCode, VLM_RESTORE_STATE);
        } else {
            pObject.release();
            ShowWelcome(pState);
        }
    }
    Invalidate(TRUE);
    ShowMainWindow(IDW_TIMEFRAME, 0);
    return 1;
}

LRESULT CTimeFrameMainWin::OnStartPage(WPARAM, LPARAM)
{
    if (m_pTimeMachine == NULL || m_pTimeMachine->GetSafeHwnd() == NULL)
        return 0;
    auto* pState = new CTFStateObj(m_pTimeMachine->GetSelection());
    CWnd* pFrame = GetParent();
    if (pFrame == NULL || !pFrame->PostMessage(VLM_PUSH_STATE, 0, reinterpret_cast<LPARAM>(pState)))
        delete pState;
    ShowMainWindow(IDW_TIMEFRAME, 0);
    m_pTimeMachine->GetDateCtrl().SetFocus();
    return 0;
}

LRESULT CTimeFrameMainWin::OnLinkedSelection(WPARAM, LPARAM lParam)
{
    std::unique_ptr<CString> pText(reinterpret_cast<CString*>(lParam));
    CString strCode;
    if (pText == NULL || m_pTimeMachine == NULL || m_pTimeMachine->GetSafeHwnd() == NULL ||
        !TimeFrameCodeOfLink(*pText, strCode))
        return 0;
    if (m_pTimeMachine->ApplyCode(strCode, 0))
        ShowMainWindow(IDW_TIMEFRAME, 0);
    return 0;
}
