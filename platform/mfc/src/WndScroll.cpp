// CWnd's scroll bars, scroll requests and caret.
#include <afxwin.h>

void CWnd::OnHScroll(UINT, UINT, CWnd* pScrollBar)
{
    // A scroll bar control may handle its own requests (ON_WM_HSCROLL_REFLECT).
    if (pScrollBar != NULL && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

void CWnd::OnVScroll(UINT, UINT, CWnd* pScrollBar)
{
    if (pScrollBar != NULL && ReflectLastMsg(pScrollBar->m_hWnd))
        return;
    Default();
}

// The window's own bar (SB_HORZ / SB_VERT), or a sibling scroll bar control GetScrollBarCtrl names.
int CWnd::SetScrollPos(int nBar, int nPos, BOOL bRedraw)
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar))
        return bar->SetScrollPos(nPos, bRedraw);
    return ::SetScrollPos(m_hWnd, nBar, nPos, bRedraw);
}

int CWnd::GetScrollPos(int nBar) const
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar))
        return bar->GetScrollPos();
    return ::GetScrollPos(m_hWnd, nBar);
}

void CWnd::SetScrollRange(int nBar, int nMinPos, int nMaxPos, BOOL bRedraw)
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar))
        bar->SetScrollRange(nMinPos, nMaxPos, bRedraw);
    else
        ::SetScrollRange(m_hWnd, nBar, nMinPos, nMaxPos, bRedraw);
}

void CWnd::GetScrollRange(int nBar, LPINT lpMinPos, LPINT lpMaxPos) const
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar))
        bar->GetScrollRange(lpMinPos, lpMaxPos);
    else
        ::GetScrollRange(m_hWnd, nBar, lpMinPos, lpMaxPos);
}

BOOL CWnd::SetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, BOOL bRedraw)
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar))
        return bar->SetScrollInfo(lpScrollInfo, bRedraw);
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    ::SetScrollInfo(m_hWnd, nBar, lpScrollInfo, bRedraw);
    return TRUE;
}

BOOL CWnd::GetScrollInfo(int nBar, LPSCROLLINFO lpScrollInfo, UINT nMask)
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar))
        return bar->GetScrollInfo(lpScrollInfo, nMask);
    lpScrollInfo->cbSize = sizeof(SCROLLINFO);
    lpScrollInfo->fMask = nMask;
    return ::GetScrollInfo(m_hWnd, nBar, lpScrollInfo);
}

int CWnd::GetScrollLimit(int nBar)
{
    SCROLLINFO si{};
    if (!GetScrollInfo(nBar, &si, SIF_RANGE | SIF_PAGE))
        return 0;
    return si.nMax - (si.nPage > 0 ? static_cast<int>(si.nPage) - 1 : 0);
}

void CWnd::ShowScrollBar(UINT nBar, BOOL bShow) { ::ShowScrollBar(m_hWnd, static_cast<int>(nBar), bShow); }

BOOL CWnd::EnableScrollBar(int nSBFlags, UINT nArrowFlags)
{
    return ::EnableScrollBar(m_hWnd, static_cast<UINT>(nSBFlags), nArrowFlags);
}

void CWnd::EnableScrollBarCtrl(int nBar, BOOL bEnable)
{
    if (CScrollBar* bar = GetScrollBarCtrl(nBar)) {
        bar->EnableWindow(bEnable);
        return;
    }
    ::ShowScrollBar(m_hWnd, nBar, bEnable);
}

CScrollBar* CWnd::GetScrollBarCtrl(int) const
{
    return NULL;  // windows that share a splitter's bars override this
}

void CWnd::CreateCaret(CBitmap* pBitmap)
{
    ::CreateCaret(m_hWnd, pBitmap ? static_cast<HBITMAP>(pBitmap->GetSafeHandle()) : NULL, 0, 0);
}
void CWnd::CreateSolidCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, NULL, nWidth, nHeight); }
void CWnd::CreateGrayCaret(int nWidth, int nHeight) { ::CreateCaret(m_hWnd, reinterpret_cast<HBITMAP>(1), nWidth, nHeight); }
void CWnd::ShowCaret() { ::ShowCaret(m_hWnd); }
void CWnd::HideCaret() { ::HideCaret(m_hWnd); }

CPoint PASCAL CWnd::GetCaretPos()
{
    CPoint p(0, 0);
    ::GetCaretPos(&p);
    return p;
}

void PASCAL CWnd::SetCaretPos(POINT point) { ::SetCaretPos(point.x, point.y); }
