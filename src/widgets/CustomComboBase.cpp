#include "widgets/CustomComboBase.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

#include <commctrl.h>

BEGIN_MESSAGE_MAP(CCustomComboBase, CWnd)
    ON_WM_PAINT()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOVE()
    ON_WM_SIZE()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CCustomComboBase::~CCustomComboBase()
{
    delete m_pArrow;
}

BOOL CCustomComboBase::CreateField(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    const CString strClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    CRect field(rect.left, rect.top, rect.right, rect.top + CUSTOMCOMBO_HEIGHT);
    if (!CWnd::Create(strClass, "", dwStyle | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, field, pParentWnd, nID))
        return FALSE;
    try {
        m_pArrow = new CDib(CUSTOMCOMBO_ARROW_PICTURE);
        m_nArrowWidth = m_pArrow->GetWidth();
    } catch (CException* e) {
        e->Delete();
        delete m_pArrow;
        m_pArrow = NULL;
        return FALSE;
    }
    CClientDC dc(this);
    return m_font.CreateFont(-::MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                             ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                             DEFAULT_PITCH | FF_SWISS, "Arial");
}

CRect CCustomComboBase::ListRect(int nHeight)
{
    CRect window;
    GetWindowRect(&window);
    if (CWnd* pParent = GetParent())
        pParent->ScreenToClient(&window);
    return CRect(window.left, window.top + CUSTOMCOMBO_HEIGHT, window.right - m_nArrowWidth,
                 window.top + CUSTOMCOMBO_HEIGHT + nHeight);
}

CRect CCustomComboBase::TextRect()
{
    CRect client;
    GetClientRect(&client);
    client.right -= m_nArrowWidth;
    return client;
}

int CCustomComboBase::LineHeight()
{
    CClientDC dc(this);
    CFont* pOld = m_font.GetSafeHandle() != NULL ? dc.SelectObject(&m_font) : NULL;
    TEXTMETRIC tm{};
    dc.GetTextMetrics(&tm);
    if (pOld != NULL)
        dc.SelectObject(pOld);
    return tm.tmHeight + tm.tmExternalLeading;
}

BOOL CCustomComboBase::IsListShown()
{
    CWnd* pList = GetListWnd();
    return pList != NULL && pList->GetSafeHwnd() != NULL && pList->IsWindowVisible();
}

void CCustomComboBase::HideList()
{
    CWnd* pList = GetListWnd();
    if (pList == NULL || pList->GetSafeHwnd() == NULL || !pList->IsWindowVisible())
        return;
    CRect where;
    pList->GetWindowRect(&where);
    pList->ShowWindow(SW_HIDE);
    if (CWnd* pParent = GetParent()) {
        pParent->ScreenToClient(&where);
        pParent->RedrawWindow(&where, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}

void CCustomComboBase::FitListToRows()
{
    CWnd* pList = GetListWnd();
    if (pList == NULL || pList->GetSafeHwnd() == NULL)
        return;
    pList->MoveWindow(ListRect(GetRowCount() * LineHeight()));
}

void CCustomComboBase::SetShownText(const CString& strText)
{
    m_strText = strText;
    if (GetSafeHwnd() != NULL) {
        CRect text = TextRect();
        InvalidateRect(&text);
    }
}

void CCustomComboBase::ToggleList()
{
    CWnd* pList = GetListWnd();
    if (pList != NULL && pList->GetSafeHwnd() != NULL) {
        if (pList->IsWindowVisible()) {
            HideList();
        } else {
            pList->SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_SHOWWINDOW);
        }
    }
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    NMHDR header{};
    header.hwndFrom = m_hWnd;
    header.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    header.code = static_cast<UINT>(NM_CLICK);
    pParent->SendMessage(WM_NOTIFY, header.idFrom, reinterpret_cast<LPARAM>(&header));
}

void CCustomComboBase::OnLButtonDown(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (point.x >= client.right - m_nArrowWidth)
        ToggleList();
    else
        CWnd::OnLButtonDown(nFlags, point);
}

void CCustomComboBase::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (point.x >= client.right - m_nArrowWidth)
        ToggleList();
    else
        CWnd::OnLButtonDblClk(nFlags, point);
}

void CCustomComboBase::OnMove(int x, int y)
{
    CWnd::OnMove(x, y);
    CWnd* pList = GetListWnd();
    if (pList == NULL || pList->GetSafeHwnd() == NULL)
        return;
    CRect list;
    pList->GetWindowRect(&list);
    pList->MoveWindow(ListRect(list.Height()));
}

void CCustomComboBase::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    FitListToRows();
    Invalidate();
}

void CCustomComboBase::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CWnd::OnShowWindow(bShow, nStatus);
    HideList();
}

void CCustomComboBase::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    if (m_pArrow != NULL)
        m_pArrow->Draw(&dc, client.right - m_nArrowWidth, 0);
    CBrush black(RGB(0, 0, 0));
    dc.FrameRect(&client, &black);
    if (!m_bDrawText || m_strText.IsEmpty())
        return;
    CRect text = TextRect();
    text.DeflateRect(2, 2);
    dc.FillSolidRect(&text, RGB(255, 255, 255));
    CFont* pOld = dc.SelectObject(&m_font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));
    dc.DrawText(m_strText, &text, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    dc.SelectObject(pOld);
}
