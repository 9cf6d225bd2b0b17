#include "widgets/StatusWin.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "widgets/TextEllipsis.h"

BEGIN_MESSAGE_MAP(CStatusWin, CWnd)
    ON_WM_PAINT()
    ON_MESSAGE(VLM_SET_STATUS_TEXT, OnSetText)
END_MESSAGE_MAP()

CStatusWin::CStatusWin() = default;

CStatusWin::~CStatusWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pText;
}

BOOL CStatusWin::Create(CWnd* pParentWnd)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW));
    CRect rect(0, 0, GetAppScreenWidth(), 16);
    return CWnd::Create(lpszClass, "Status Window", WS_CHILD | WS_CLIPSIBLINGS, rect, pParentWnd, 0);
}

CString CStatusWin::FitText(CDC* pDC, const CString& strText, int cx)
{
    return EllipsizeText(pDC, strText, cx - 10, 1);
}

LRESULT CStatusWin::OnSetText(WPARAM, LPARAM lParam)
{
    delete m_pText;
    m_pText = lParam != 0 ? reinterpret_cast<CString*>(lParam) : new CString;
    Invalidate();
    UpdateWindow();
    return 0;
}

void CStatusWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CFont font;
    CFont* pOldFont = NULL;
    if (font.CreatePointFont(90, "MS Sans Serif"))
        pOldFont = dc.SelectObject(&font);
    dc.SetTextColor(PALETTERGB(0, 0, 0));
    dc.SetBkColor(PALETTERGB(255, 255, 255));
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    CRect line = client;
    line.DeflateRect(5, 2);
    dc.DrawText(FitText(&dc, GetText(), client.Width()), &line, DT_SINGLELINE);
    CPen black(PS_SOLID, 1, RGB(0, 0, 0));
    CPen* pOldPen = dc.SelectObject(&black);
    dc.MoveTo(client.left, client.top);
    dc.LineTo(client.right, client.top);
    dc.SelectObject(pOldPen);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}
