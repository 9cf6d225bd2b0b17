// CView: a document's window inside a frame.
#include <afxwin.h>

IMPLEMENT_DYNAMIC(CView, CWnd)

BEGIN_MESSAGE_MAP(CView, CWnd)
ON_WM_CREATE()
ON_WM_DESTROY()
ON_WM_PAINT()
ON_WM_MOUSEACTIVATE()
END_MESSAGE_MAP()

CView::CView() : m_pDocument(NULL) {}

CView::~CView()
{
    if (m_pDocument != NULL)
        m_pDocument->RemoveView(this);
}

CFrameWnd* CView::GetParentFrame() const
{
    return static_cast<CFrameWnd*>(CWnd::GetParentFrame());
}

BOOL CView::PreCreateWindow(CREATESTRUCT& cs)
{
    if (cs.lpszClass == NULL)
        cs.lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursorA(NULL, IDC_ARROW),
                                           reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1));
    cs.style |= WS_CLIPSIBLINGS;
    return TRUE;
}

int CView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CWnd::OnCreate(lpcs) == -1)
        return -1;
    auto* context = static_cast<CCreateContext*>(lpcs->lpCreateParams);
    if (context != NULL && context->m_pCurrentDoc != NULL)
        context->m_pCurrentDoc->AddView(this);
    return 0;
}

void CView::OnDestroy()
{
    CFrameWnd* frame = GetParentFrame();
    if (frame != NULL && frame->GetActiveView() == this)
        frame->SetActiveView(NULL, FALSE);
    CWnd::OnDestroy();
}

void CView::PostNcDestroy()
{
    delete this;
}

void CView::OnPaint()
{
#if __has_include(<mfc/Dc.h>)
    CPaintDC dc(this);
    OnDraw(&dc);
#else
    PAINTSTRUCT ps;
    HDC hdc = ::BeginPaint(m_hWnd, &ps);
    OnDraw(AfxDCFromHandle(hdc));
    ::EndPaint(m_hWnd, &ps);
#endif
}

int CView::OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message)
{
    int result = CWnd::OnMouseActivate(pDesktopWnd, nHitTest, message);
    if (result == MA_NOACTIVATE || result == MA_NOACTIVATEANDEAT)
        return result;
    CFrameWnd* frame = GetParentFrame();
    if (frame != NULL)
        frame->SetActiveView(this);
    return result;
}

void CView::OnInitialUpdate()
{
    OnUpdate(NULL, 0, NULL);
}

void CView::OnUpdate(CView*, LPARAM, CObject*)
{
    Invalidate(TRUE);
}

void CView::OnActivateView(BOOL bActivate, CView* pActivateView, CView*)
{
    if (bActivate && pActivateView == this) {
        CFrameWnd* frame = GetParentFrame();
        if (frame != NULL && ::GetActiveWindow() == ::GetAncestor(frame->m_hWnd, GA_ROOT))
            SetFocus();
    }
}

BOOL CView::OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo)
{
    if (CWnd::OnCmdMsg(nID, nCode, pExtra, pHandlerInfo))
        return TRUE;
    return m_pDocument != NULL && m_pDocument->OnCmdMsg(nID, nCode, pExtra, pHandlerInfo);
}
