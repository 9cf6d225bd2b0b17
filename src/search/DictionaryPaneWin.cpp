#include "search/DictionaryPaneWin.h"

#include "search/DictionaryDoc.h"
#include "search/DictionaryTabWin.h"

BEGIN_MESSAGE_MAP(CDictionaryPaneWin, CVLScrollWnd)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CDictionaryPaneWin::CDictionaryPaneWin() = default;
CDictionaryPaneWin::~CDictionaryPaneWin() = default;

BOOL CDictionaryPaneWin::CreatePane(CWnd* pParentWnd, POINT pt, LPCSTR lpszName, int nStockBrush, UINT nID)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(nStockBrush)));
    return CWnd::Create(lpszClass, lpszName, WS_CHILD | WS_BORDER | WS_VSCROLL, CRect(pt.x, pt.y, pt.x + 100, pt.y + 100),
                        pParentWnd, nID);
}

BOOL CDictionaryPaneWin::CreatePaneFont(CFont& font, int nWeight, BOOL bItalic)
{
    CClientDC dc(NULL);
    return font.CreateFont(-MulDiv(9, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, nWeight, static_cast<BYTE>(bItalic), FALSE,
                           FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                           DEFAULT_PITCH | FF_SWISS, "Arial");
}

int CDictionaryPaneWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CVLScrollWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pOwner = static_cast<CDictionaryTabWin*>(GetParent());
    return 0;
}

void CDictionaryPaneWin::OnSize(UINT nType, int cx, int cy)
{
    CVLScrollWnd::OnSize(nType, cx, cy);
    m_nLinesPerPage = (cy - 4) / m_nLineHeight + 1;
}

void CDictionaryPaneWin::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    m_pOwner->PostMessage(WM_KEYDOWN, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CDictionaryPaneWin::SetScrollBar()
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(FALSE);
    if (pDoc == NULL)
        return;
    SetScrollRange(SB_VERT, 0, m_nLinesPerPage, FALSE);
    SetScrollPos(SB_VERT, pDoc->ScrollPosition(m_nLinesPerPage), TRUE);
}
