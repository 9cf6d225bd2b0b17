#include "widgets/GenericTabWin.h"

#include "base/AppHost.h"
#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "widgets/Dib.h"
#include "widgets/TextEllipsis.h"

namespace {

// The frame of a panel: two edges and an outline line between them.
int FrameX()
{
    return 2 * ::GetSystemMetrics(SM_CXEDGE) + 1;
}
int FrameY()
{
    return 2 * ::GetSystemMetrics(SM_CYEDGE) + 1;
}

// The window class of the panels made without one, and the dialogs' class.
CString s_strPanelClass;
CString s_strDialogClass;

}  // namespace

// ---- CGenericTabWin ----

IMPLEMENT_DYNAMIC(CGenericTabWin, CWnd)

BEGIN_MESSAGE_MAP(CGenericTabWin, CWnd)
    ON_WM_NCCREATE()
    ON_WM_NCCALCSIZE()
    ON_WM_NCPAINT()
    ON_WM_NCHITTEST()
    ON_WM_NCLBUTTONDOWN()
    ON_WM_NCLBUTTONUP()
    ON_WM_LBUTTONDOWN()
    ON_WM_CREATE()
    ON_WM_SHOWWINDOW()
    ON_WM_CLOSE()
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_WM_WINDOWPOSCHANGING()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CGenericTabWin::CGenericTabWin() = default;

CGenericTabWin::~CGenericTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CGenericTabWin::Create(LPCSTR lpszClassName, LPCSTR lpszTitle, DWORD dwStyle, const RECT& rect,
                            CWnd* pParentWnd, UINT nID, UINT nCaptionPictureId)
{
    m_nCaptionPictureId = nCaptionPictureId;
    if (lpszClassName == NULL || *lpszClassName == '\0') {
        if (s_strPanelClass.IsEmpty())
            s_strPanelClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW);
        lpszClassName = s_strPanelClass;
    }
    return CWnd::Create(lpszClassName, lpszTitle, dwStyle | WS_CHILD | WS_CLIPSIBLINGS | WS_CAPTION | WS_THICKFRAME,
                        rect, pParentWnd, nID);
}

COLORREF CGenericTabWin::GetCaptionColor()
{
    return PALETTEINDEX(58);
}

COLORREF CGenericTabWin::GetActiveTextColor()
{
    return PALETTEINDEX(10);
}

COLORREF CGenericTabWin::GetInactiveTextColor()
{
    return GetActiveTextColor();
}

COLORREF CGenericTabWin::GetAccentColor()
{
    return PALETTEINDEX(21);
}

CRect CGenericTabWin::CaptionBandRect(int cx)
{
    return CRect(FrameX(), FrameY(), cx - FrameX(), FrameY() + TABWIN_CAPTION_HEIGHT);
}

CString CGenericTabWin::FitTitle(CDC* pDC, const CString& strTitle, int nLeft, int nRight)
{
    return EllipsizeText(pDC, strTitle, nRight - nLeft, 2);
}

BOOL CGenericTabWin::HasFocusInside() const
{
    HWND hwndFocus = ::GetFocus();
    return hwndFocus != NULL && (hwndFocus == m_hWnd || ::IsChild(m_hWnd, hwndFocus));
}

void CGenericTabWin::RedrawCaption()
{
    if (GetSafeHwnd() != NULL)
        SendMessage(WM_NCPAINT, 1, 0);
}

void CGenericTabWin::Activate()
{
    BringWindowToTop();
    if (!HasFocusInside())
        SetFocus();
}

void CGenericTabWin::DrawCloseBox(CDC* pDC, BOOL bPressed)
{
    CDib dib(bPressed ? m_nCloseBoxPressedId : m_nCloseBoxId);
    dib.Draw(pDC, m_rectCloseBox.left, m_rectCloseBox.top);
}

BOOL CGenericTabWin::OnNcCreate(LPCREATESTRUCT lpCreateStruct)
{
    // The close box's picture gives its size; a missing picture fails the creation.
    CDib dib(m_nCloseBoxId);
    m_rectCloseBox.SetRect(0, 0, dib.GetWidth(), dib.GetHeight());
    return CWnd::OnNcCreate(lpCreateStruct);
}

void CGenericTabWin::OnNcCalcSize(BOOL, NCCALCSIZE_PARAMS* lpncsp)
{
    // Without valid rectangles lParam is a plain RECT, which is the first member here too.
    RECT& r = lpncsp->rgrc[0];
    CRect band = CaptionBandRect(r.right - r.left);
    int cxBox = m_rectCloseBox.Width(), cyBox = m_rectCloseBox.Height();
    int nLeft = band.right - 2 - cxBox;
    int nTop = band.top + (TABWIN_CAPTION_HEIGHT - cyBox) / 2 - 1;
    m_rectCloseBox.SetRect(nLeft, nTop, nLeft + cxBox, nTop + cyBox);

    CRect client(r.left + FrameX(), r.top + FrameY() + TABWIN_CAPTION_HEIGHT, r.right - FrameX(), r.bottom - FrameY());
    if (client.right < client.left)
        client.right = client.left;
    if (client.bottom < client.top)
        client.bottom = client.top;
    r = client;
}

void CGenericTabWin::OnNcPaint()
{
    CWindowDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect window;
    GetWindowRect(&window);
    window.OffsetRect(-window.left, -window.top);

    // The frame: a raised edge, an outline in the panel colour, a sunken edge.
    CRect frame = window;
    dc.DrawEdge(&frame, EDGE_RAISED, BF_RECT);
    frame.DeflateRect(::GetSystemMetrics(SM_CXEDGE), ::GetSystemMetrics(SM_CYEDGE));
    {
        CPen pen(PS_SOLID, 1, PALETTEINDEX(56));
        CPen* pOldPen = dc.SelectObject(&pen);
        CGdiObject* pOldBrush = dc.SelectStockObject(NULL_BRUSH);
        dc.Rectangle(&frame);
        dc.SelectObject(pOldBrush);
        dc.SelectObject(pOldPen);
    }
    frame.DeflateRect(1, 1);
    dc.DrawEdge(&frame, EDGE_SUNKEN, BF_RECT);

    // The caption band, drawn off screen and copied in one go.
    CRect band = CaptionBandRect(window.Width());
    if (band.bottom > window.bottom - FrameY())
        band.bottom = window.bottom - FrameY();
    if (band.Width() <= 0 || band.Height() <= 0)
        return;
    CDC mem;
    CBitmap bitmap;
    if (!mem.CreateCompatibleDC(&dc) || !bitmap.CreateCompatibleBitmap(&dc, band.Width(), band.Height()))
        return;
    CBitmap* pOldBitmap = mem.SelectObject(&bitmap);
    {
        CAppPaletteSelector memPalette(&mem, TRUE);
        mem.FillSolidRect(0, 0, band.Width(), band.Height(), GetCaptionColor());
        CPen black(PS_SOLID, 1, RGB(0, 0, 0));
        CPen* pOldPen = mem.SelectObject(&black);
        mem.MoveTo(0, TABWIN_CAPTION_HEIGHT - 1);
        mem.LineTo(band.Width(), TABWIN_CAPTION_HEIGHT - 1);
        mem.SelectObject(pOldPen);

        int x = 5;
        if (m_nCaptionPictureId != 0) {
            CDib picture(m_nCaptionPictureId);
            picture.Draw(&mem, x, (TABWIN_CAPTION_HEIGHT - picture.GetHeight()) / 2);
            x += 28;
        }
        CString strTitle;
        GetWindowText(strTitle);
        if (!strTitle.IsEmpty()) {
            CFont font;
            CFont* pOldFont = NULL;
            if (font.CreatePointFont(100, "Arial Bold"))
                pOldFont = mem.SelectObject(&font);
            mem.SetTextColor(HasFocusInside() ? GetActiveTextColor() : GetInactiveTextColor());
            mem.SetBkMode(TRANSPARENT);
            CString strShown = FitTitle(&mem, strTitle, x + 2, m_rectCloseBox.left - band.left);
            mem.TextOut(x, 5, strShown);
            if (pOldFont != NULL)
                mem.SelectObject(pOldFont);
        }
        CDib box(m_bCloseBoxPressed ? m_nCloseBoxPressedId : m_nCloseBoxId);
        box.Draw(&mem, m_rectCloseBox.left - band.left, m_rectCloseBox.top - band.top);
    }
    dc.BitBlt(band.left, band.top, band.Width(), band.Height(), &mem, 0, 0, SRCCOPY);
    mem.SelectObject(pOldBitmap);
}

LRESULT CGenericTabWin::OnNcHitTest(CPoint point)
{
    CRect window;
    GetWindowRect(&window);
    CRect band = CaptionBandRect(window.Width());
    if (band.PtInRect(CPoint(point.x - window.left, point.y - window.top)))
        return HTCAPTION;
    return CWnd::OnNcHitTest(point);
}

void CGenericTabWin::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    CRect window;
    GetWindowRect(&window);
    CPoint inWindow(point.x - window.left, point.y - window.top);
    Activate();
    RedrawCaption();
    if (m_rectCloseBox.PtInRect(inWindow)) {
        m_bCloseBoxPressed = TRUE;
        CWindowDC dc(this);
        CAppPaletteSelector palette(&dc);
        DrawCloseBox(&dc, TRUE);
        return;
    }
    // A press that an earlier release never ended (released outside the panel) is forgotten.
    if (m_bCloseBoxPressed) {
        m_bCloseBoxPressed = FALSE;
        RedrawCaption();
    }
    CWnd::OnNcLButtonDown(nHitTest, point);
}

void CGenericTabWin::OnNcLButtonUp(UINT, CPoint point)
{
    if (!m_bCloseBoxPressed)
        return;
    m_bCloseBoxPressed = FALSE;
    RedrawCaption();
    CRect window;
    GetWindowRect(&window);
    if (!m_rectCloseBox.PtInRect(CPoint(point.x - window.left, point.y - window.top)))
        return;
    if (CWnd* pMain = GetAppMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL)
        pMain->SendMessage(VLM_TABWIN_CLOSED, 0, 3);
    PostMessage(WM_CLOSE);
}

void CGenericTabWin::OnLButtonDown(UINT nFlags, CPoint point)
{
    Activate();
    RedrawCaption();
    CWnd::OnLButtonDown(nFlags, point);
}

int CGenericTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    CWnd::OnCreate(lpCreateStruct);
    return 0;
}

void CGenericTabWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    m_bCloseBoxPressed = FALSE;
    if (bShow)
        GetAppHost().CollapseToolkit();
    CWnd::OnShowWindow(bShow, nStatus);
}

void CGenericTabWin::OnClose()
{
    ShowWindow(SW_HIDE);
}

BOOL CGenericTabWin::OnQueryNewPalette()
{
    return CWnd::OnQueryNewPalette();
}

void CGenericTabWin::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (pFocusWnd == this)
        return;
    CWnd::OnPaletteChanged(pFocusWnd);
}

void CGenericTabWin::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanging(lpwndpos);
}

void CGenericTabWin::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanged(lpwndpos);
}

// ---- CGenericTabWinDialog ----

IMPLEMENT_DYNAMIC(CGenericTabWinDialog, CGenericTabWin)

BEGIN_MESSAGE_MAP(CGenericTabWinDialog, CGenericTabWin)
    ON_WM_CREATE()
    ON_COMMAND(IDOK, OnOK)
    ON_COMMAND(IDCANCEL, OnCancel)
    ON_WM_CLOSE()
    ON_WM_ERASEBKGND()
    ON_WM_SHOWWINDOW()
    ON_WM_WINDOWPOSCHANGED()
END_MESSAGE_MAP()

CGenericTabWinDialog::CGenericTabWinDialog(LPCSTR lpszTitle) : m_strTitle(lpszTitle)
{
}

CGenericTabWinDialog::~CGenericTabWinDialog()
{
    if (m_hHook != NULL) {
        ::UnhookWindowsHookEx(m_hHook);
        m_hHook = NULL;
    }
}

BOOL CGenericTabWinDialog::Create(LPCSTR, LPCSTR lpszTitle, DWORD, const RECT& rect, CWnd*, UINT,
                                  UINT nCaptionPictureId)
{
    m_nCaptionPictureId = nCaptionPictureId;
    if (s_strDialogClass.IsEmpty())
        s_strDialogClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW));
    m_pOwnerWnd = GetAppMainWnd();
    HWND hwndOwner = m_pOwnerWnd != NULL ? m_pOwnerWnd->GetSafeHwnd() : NULL;
    if (hwndOwner != NULL)
        ::EnableWindow(hwndOwner, FALSE);
    if (!CreateEx(WS_EX_DLGMODALFRAME, s_strDialogClass, lpszTitle, WS_POPUP | WS_CAPTION, rect, m_pOwnerWnd, 0)) {
        if (hwndOwner != NULL && ::IsWindow(hwndOwner)) {
            ::EnableWindow(hwndOwner, TRUE);
            ::SetActiveWindow(hwndOwner);
        }
        return FALSE;
    }
    KeepOwnerBehind();
    return TRUE;
}

void CGenericTabWinDialog::KeepOwnerBehind()
{
    HWND hwndOwner = m_pOwnerWnd != NULL ? m_pOwnerWnd->GetSafeHwnd() : NULL;
    if (hwndOwner != NULL && ::IsWindow(hwndOwner) && m_hWnd != NULL)
        ::SetWindowPos(hwndOwner, m_hWnd, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

BOOL CGenericTabWinDialog::InitControls()
{
    return TRUE;
}

int CGenericTabWinDialog::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CreateControls();
    return 0;
}

int CGenericTabWinDialog::RunTabDialog()
{
    m_nModalResult = IDCANCEL;
    if (!Create(NULL, m_strTitle, 0, CRect(0, 0, 100, 150), NULL, 500) || GetSafeHwnd() == NULL)
        return IDCANCEL;
    ShowWindow(SW_SHOW);
    int nCode = RunModalLoop(MLF_SHOWONIDLE);
    if (GetSafeHwnd() != NULL)
        ShowWindow(SW_HIDE);
    if (CWnd* pMain = GetAppMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL) {
        pMain->EnableWindow(TRUE);
        pMain->SetActiveWindow();
    }
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    return nCode;
}

void CGenericTabWinDialog::EndTabDialog(int nCode)
{
    if (m_hHook != NULL) {
        ::UnhookWindowsHookEx(m_hHook);
        m_hHook = NULL;
    }
    if (CWnd* pMain = GetAppMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL) {
        pMain->EnableWindow(TRUE);
        pMain->SetActiveWindow();
    }
    EndModalLoop(nCode);
}

void CGenericTabWinDialog::OnOK()
{
    EndTabDialog(IDOK);
}

void CGenericTabWinDialog::OnCancel()
{
    EndTabDialog(IDCANCEL);
}

void CGenericTabWinDialog::OnClose()
{
    EndTabDialog(IDCANCEL);
    ShowWindow(SW_HIDE);
}

BOOL CGenericTabWinDialog::OnEraseBkgnd(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, PALETTEINDEX(56));
    return TRUE;
}

void CGenericTabWinDialog::PaintFramedGround(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, PALETTEINDEX(56));
    CBrush black(RGB(0, 0, 0));
    pDC->FrameRect(&client, &black);
}

void CGenericTabWinDialog::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CGenericTabWin::OnShowWindow(bShow, nStatus);
}

void CGenericTabWinDialog::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CWnd::OnWindowPosChanged(lpwndpos);
    KeepOwnerBehind();
}
