#include "widgets/FilmStripWnd.h"

namespace {

CString s_strFilmStripClass;

}  // namespace

BEGIN_MESSAGE_MAP(CFilmStripWnd, CWnd)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CFilmStripWnd::CFilmStripWnd() : m_pBitmap(new CBitmap), m_items(10)
{
}

CFilmStripWnd::~CFilmStripWnd()
{
    while (!m_items.IsEmpty())
        delete m_items.RemoveHead();
    m_nItemCount = 0;
    m_nPaintedCount = -1;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pBitmap;
}

BOOL CFilmStripWnd::Create(CWnd* pHost, int x, int y)
{
    if (s_strFilmStripClass.IsEmpty())
        s_strFilmStripClass = AfxRegisterWndClass(CS_BYTEALIGNCLIENT | CS_PARENTDC | CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW,
                                                  ::LoadCursor(NULL, IDC_ARROW));
    CRect host;
    pHost->GetClientRect(&host);
    CRect rect(x, y, x + host.Width(), y + host.Height());
    return CreateEx(WS_EX_TRANSPARENT, s_strFilmStripClass, "Film strip scroll win", WS_CHILD | WS_CLIPSIBLINGS, rect,
                    pHost, 0);
}

LRESULT CFilmStripWnd::OnItemCommand(WPARAM, LPARAM)
{
    return 0;
}

LRESULT CFilmStripWnd::OnItemNotify(WPARAM, LPARAM)
{
    return 0;
}

CSize CFilmStripWnd::GetItemOffset()
{
    return CSize(0, 0);
}

int CFilmStripWnd::GetSlideState()
{
    return m_nSlideState;
}

LRESULT CFilmStripWnd::OnItemQuery(WPARAM, LPARAM)
{
    return 0;
}

CObject* CFilmStripWnd::GetItem(int nIndex) const
{
    POSITION pos = m_items.FindIndex(nIndex);
    return pos != NULL ? m_items.GetAt(pos) : NULL;
}

BOOL CFilmStripWnd::AddItem(CObject* pItem, int nWidth, int nHeight)
{
    try {
        m_items.AddTail(pItem);
    } catch (CException* e) {
        e->Delete();
        return FALSE;
    }
    if (nWidth > m_nItemWidth)
        m_nItemWidth = nWidth;
    if (nHeight > m_nItemHeight)
        m_nItemHeight = nHeight;
    if (GetSafeHwnd() != NULL)
        SetWindowPos(NULL, 0, 0, m_nItemWidth + 6, m_nItemHeight * m_nItemCount + 6,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    ++m_nItemCount;
    return TRUE;
}

int CFilmStripWnd::RemoveAll()
{
    delete m_pBitmap;
    m_pBitmap = new CBitmap;
    m_nPaintedCount = -1;
    int nRemoved = 0;
    while (!m_items.IsEmpty()) {
        delete m_items.RemoveHead();
        ++nRemoved;
    }
    if (GetSafeHwnd() != NULL) {
        CRect window;
        GetWindowRect(&window);
        SetWindowPos(NULL, 0, 0, window.Width(), 0,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_HIDEWINDOW);
    }
    m_nItemCount = 0;
    m_nSlideState = -1;
    return nRemoved;
}

UINT_PTR CFilmStripWnd::SlideTimerId() const
{
    int nID = GetSafeHwnd() != NULL ? GetDlgCtrlID() : 0;
    return static_cast<UINT_PTR>((nID + 1280) & 0xFFFF);
}

void CFilmStripWnd::StartSlideTimer()
{
    m_nTimerId = GetSafeHwnd() != NULL ? SetTimer(SlideTimerId(), m_nTimerInterval, NULL) : 0;
}

void CFilmStripWnd::SlideIn()
{
    if (m_nSlideState == 1)
        return;
    StartSlideTimer();
    m_nRemainingSlide = -32 * m_nItemCount;
}

void CFilmStripWnd::SlideOut()
{
    if (m_nSlideState == 0)
        return;
    StartSlideTimer();
    m_nRemainingSlide = 32 * m_nItemCount;
}

int CFilmStripWnd::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    return 0;
}

void CFilmStripWnd::OnPaint()
{
    CPaintDC dc(this);
    CDC mem;
    if (!mem.CreateCompatibleDC(NULL))
        return;
    CBitmap* pOldBitmap = NULL;
    if (m_nPaintedCount != m_nItemCount) {
        delete m_pBitmap;
        m_pBitmap = new CBitmap;
        m_pBitmap->CreateCompatibleBitmap(&dc, m_nBitmapWidth, m_nBitmapHeight);
        if (m_pBitmap->GetSafeHandle() != NULL)
            pOldBitmap = mem.SelectObject(m_pBitmap);
        CRect window;
        GetWindowRect(&window);
        int i = 0;
        for (POSITION pos = m_items.GetHeadPosition(); pos != NULL; ++i) {
            CObject* pItem = m_items.GetNext(pos);
            auto* pWnd = dynamic_cast<CWnd*>(pItem);
            auto* pDrawer = dynamic_cast<CFilmStripItem*>(pItem);
            if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL && pDrawer != NULL)
                pDrawer->BuildStateImages(&mem, window.right + 22, i * 32);
        }
        m_nPaintedCount = m_nItemCount;
    } else if (m_pBitmap->GetSafeHandle() != NULL) {
        pOldBitmap = mem.SelectObject(m_pBitmap);
    }
    if (pOldBitmap != NULL) {
        dc.BitBlt(0, 0, 44, m_nItemCount * 32, &mem, 0, 0, SRCCOPY);
        mem.SelectObject(pOldBitmap);
    }
    if (m_nPaintedCount == m_nItemCount)
        ShowWindow(SW_SHOWNA);
}

void CFilmStripWnd::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
}

void CFilmStripWnd::OnTimer(UINT_PTR nIDEvent)
{
    if (m_nTimerId == 0 || nIDEvent != m_nTimerId) {
        CWnd::OnTimer(nIDEvent);
        return;
    }
    int r = m_nRemainingSlide;
    if (r == 0) {
        KillTimer(m_nTimerId);
        m_nTimerId = 0;
        return;
    }
    if (r < 0) {
        int nStep = r == -1 ? 1 : 2;
        m_nRemainingSlide = r + nStep;
        CRect client;
        GetClientRect(&client);
        if (-client.Height() <= m_nRemainingSlide)
            ScrollWindow(0, -nStep);
    } else {
        int nStep = r == 1 ? 1 : 2;
        m_nRemainingSlide = r - nStep;
        ScrollWindow(0, nStep);
        UpdateWindow();
    }
    CWnd::OnTimer(nIDEvent);
}

void CFilmStripWnd::OnDestroy()
{
    if (m_nTimerId != 0) {
        KillTimer(m_nTimerId);
        m_nTimerId = 0;
    }
    CWnd::OnDestroy();
}
