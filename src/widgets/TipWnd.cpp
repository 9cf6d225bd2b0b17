#include "widgets/TipWnd.h"

#include "base/PaletteSelector.h"

namespace {

CString s_strTipClass;
CFont* s_pTipFont = NULL;
int s_nTipCount = 0;
int s_nLargestWidth = 0;
int s_nLargestHeight = 0;

void DeleteTipFont()
{
    delete s_pTipFont;
    s_pTipFont = NULL;
}

}  // namespace

BEGIN_MESSAGE_MAP(CTipWnd, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CTipWnd::CTipWnd(LPCSTR lpszText) : m_strText(lpszText != NULL ? lpszText : ""), m_rect(0, 0, 0, 0)
{
    if (s_strTipClass.IsEmpty())
        s_strTipClass = AfxRegisterWndClass(CS_SAVEBITS | CS_PARENTDC, ::LoadCursor(NULL, IDC_ARROW));
}

CTipWnd::~CTipWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    if (m_bCounted && --s_nTipCount == 0)
        DeleteTipFont();
}

CSize CTipWnd::GetLargestSize()
{
    return CSize(s_nLargestWidth, s_nLargestHeight);
}

int CTipWnd::GetTipCount()
{
    return s_nTipCount;
}

void CTipWnd::ResetShared()
{
    DeleteTipFont();
    s_nTipCount = 0;
    s_nLargestWidth = 0;
    s_nLargestHeight = 0;
}

BOOL CTipWnd::Create(CWnd* pAnchor)
{
    m_pAnchor = pAnchor;
    CRect anchor(0, 0, 0, 0);
    if (pAnchor != NULL && pAnchor->GetSafeHwnd() != NULL)
        pAnchor->GetClientRect(&anchor);

    if (s_nTipCount == 0 && s_pTipFont == NULL) {
        s_pTipFont = new CFont;
        if (!s_pTipFont->CreateFont(16, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, 0, 0, 0, 0, FF_SWISS, "Arial")) {
            DeleteTipFont();
            return FALSE;
        }
    }

    CDC dc;
    if (dc.CreateCompatibleDC(NULL)) {
        CFont* pOld = dc.SelectObject(s_pTipFont);
        TEXTMETRIC tm{};
        dc.GetTextMetrics(&tm);
        int nLine = tm.tmHeight + tm.tmExternalLeading;
        CSize extent = dc.GetTextExtent(m_strText);
        int nWidth = extent.cx + 4;
        int nHeight = extent.cy < nLine + 4 ? nLine + 4 : extent.cy;
        if (nWidth > s_nLargestWidth)
            s_nLargestWidth = nWidth;
        if (nHeight > s_nLargestHeight)
            s_nLargestHeight = nHeight;
        if (pOld != NULL)
            dc.SelectObject(pOld);
    }

    m_rect.SetRect(anchor.right - 3, anchor.top + (anchor.Height() - s_nLargestHeight) / 2,
                   anchor.right - 3 + s_nLargestWidth, anchor.top + 20);
    BOOL bMade = CreateEx(0, s_strTipClass, "Tip Window", WS_POPUP | WS_CLIPSIBLINGS, m_rect,
                          pAnchor, 0);
    if (bMade) {
        ++s_nTipCount;
        m_bCounted = TRUE;
    } else if (s_nTipCount == 0) {
        DeleteTipFont();
    }
    return bMade;
}

void CTipWnd::Place(const CRect& button)
{
    CRect rect;
    rect.top = button.top + (button.Height() - m_rect.Height()) / 2;
    rect.left = button.right - 4;
    rect.right = button.right + s_nLargestWidth;
    rect.bottom = rect.top + s_nLargestHeight;
    if (GetSafeHwnd() != NULL)
        MoveWindow(&rect, TRUE);
    m_rect = rect;
}

void CTipWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CBrush ground(PALETTEINDEX(42));
    dc.FillRect(&client, &ground);
    CRect text = client;
    text.DeflateRect(3, 3);
    CFont* pOld = s_pTipFont != NULL ? dc.SelectObject(s_pTipFont) : NULL;
    if (!m_strText.IsEmpty()) {
        dc.SetBkMode(TRANSPARENT);
        dc.DrawText(m_strText, &text, DT_SINGLELINE | DT_VCENTER);
    }
    if (pOld != NULL)
        dc.SelectObject(pOld);
}
