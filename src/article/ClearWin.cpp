#include "article/ClearWin.h"

#include "base/PaletteSelector.h"
#include "base/VLMessages.h"

BEGIN_MESSAGE_MAP(CClearWin, CVLMainWin)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

CClearWin::CClearWin() : m_crColor(PALETTERGB(0, 0, 0))
{
}

CClearWin::~CClearWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CClearWin::Create(const RECT& rect, CWnd* pParentWnd)
{
    return CreateView(NULL, "Clear Window", rect, pParentWnd, IDW_CLEAR);
}

void CClearWin::SetColor(COLORREF crColor)
{
    m_crColor = crColor;
    if (GetSafeHwnd() != NULL)
        Invalidate();
}

void CClearWin::OnFilePrint()
{
}

void CClearWin::OnActivateMainWin(BOOL bActive)
{
    CVLMainWin::OnActivateMainWin(bActive);
}

int CClearWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLMainWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    return 0;
}

BOOL CClearWin::OnEraseBkgnd(CDC*)
{
    return TRUE;  // the paint fills everything
}

void CClearWin::OnPaint()
{
    CPaintDC dc(this);
    CPalettePaintDC palette(&dc, TRUE);
    CBrush brush(m_crColor);
    dc.SetBkMode(OPAQUE);
    dc.SetBkColor(m_crColor);
    CRect client;
    GetClientRect(&client);
    dc.FillRect(&client, &brush);
}
