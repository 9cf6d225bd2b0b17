#include "article/TableHeadWin.h"

#include "article/ArticleTable.h"
#include "article/TableMainWin.h"

#include <algorithm>

namespace {

// The characters of the footnote marks in the footnote rows, by mark value.
const char kFootnoteMarks[] = "012345678**********";

}  // namespace

IMPLEMENT_DYNAMIC(CTableHeadWin, CTableGridWin)

BEGIN_MESSAGE_MAP(CTableHeadWin, CTableGridWin)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
END_MESSAGE_MAP()

CTableHeadWin::CTableHeadWin() = default;

CTableHeadWin::~CTableHeadWin() = default;

BOOL CTableHeadWin::Create(CTableMainWin* pView, const RECT& rect)
{
    return CreatePane(pView, "Table Footnotes", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL, rect,
                      IDW_TABLE_FOOTNOTES);
}

void CTableHeadWin::SetTable(CArticleTable* pTable)
{
    m_bLocked = TRUE;
    m_pTable = pTable;
    m_nLineHeight = std::max(m_pView != NULL ? m_pView->GetGridContext().nLineHeight : 0, 1);
    m_nVLine = m_nVPos = m_nVMin = m_nVMax = m_nVPrevious = 0;
    m_bHasFootnotes = pTable != NULL && pTable->HasFootnotes();
    m_nFootnoteLines = m_bHasFootnotes ? pTable->GetFootnoteLineCount() : 0;
    CRect client;
    GetClientRect(&client);
    m_cySeen = client.Height();
    UpdateScrollRange();
    SetVPos(0);
    m_bReady = TRUE;
    m_bLocked = FALSE;
    Invalidate();
}

void CTableHeadWin::UpdateScrollRange()
{
    CRect client;
    GetClientRect(&client);
    const int nVisible = client.Height() / std::max(m_nLineHeight, 1);
    m_nVMin = 0;
    m_nVMax = nVisible < m_nFootnoteLines ? (m_nFootnoteLines - nVisible + 1) * m_nLineHeight : 0;
    SetScrollRange(SB_VERT, 0, m_nVMax, TRUE);
}

void CTableHeadWin::ResetScroll()
{
    m_nVMax = 0;
    SetScrollRange(SB_VERT, 0, 0, TRUE);
    SetVPos(0);
}

void CTableHeadWin::SetVPos(int nPos)
{
    m_nVPos = std::clamp(nPos, m_nVMin, std::max(m_nVMax, m_nVMin));
    m_nVLine = m_nVPos / std::max(m_nLineHeight, 1);
    m_nVPos = m_nVLine * m_nLineHeight;
    if (m_nVMax > 0)
        SetScrollPos(SB_VERT, m_nVPos, TRUE);
}

void CTableHeadWin::OnSize(UINT, int, int cy)
{
    if (cy == m_cySeen)
        return;
    m_cySeen = cy;
    const int nOldPos = m_nVPos;
    const int nOldMax = m_nVMax;
    UpdateScrollRange();
    SetVPos(nOldMax > 0 ? nOldPos * m_nVMax / nOldMax : 0);
    Invalidate();
}

void CTableHeadWin::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    if (!m_bReady)
        return;
    int nNew = m_nVPos;
    switch (nSBCode) {
    case SB_LINEUP:
    case SB_PAGEUP: nNew -= m_nLineHeight; break;
    case SB_LINEDOWN:
    case SB_PAGEDOWN: nNew += m_nLineHeight; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNew = static_cast<int>(nPos) / m_nLineHeight * m_nLineHeight; break;
    default: return;
    }
    const int nOld = m_nVPos;
    m_nVPrevious = nOld;
    SetVPos(nNew);
    if (m_nVPos != nOld)
        Invalidate();
}

BOOL CTableHeadWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CTableHeadWin::OnPaint()
{
    PaintOffScreen(GetBkColor());
}

void CTableHeadWin::PaintPane(CDC& dc, const CRect&)
{
    if (m_pView != NULL && m_pTable != NULL && m_bReady && m_bHasFootnotes && m_pView->GetFonts() != NULL) {
        m_pView->SetCurrentBkColor(GetBkColor());
        PaintFootnotes(dc);
    }
}

void CTableHeadWin::PaintFootnotes(CDC& dc)
{
    CTableFontSet* pFonts = m_pView->GetFonts();
    dc.SetBkMode(TRANSPARENT);
    const int nFirst = m_pTable->GetFootnoteFirstRun();
    const int nEnd = std::min(nFirst + m_pTable->GetFootnoteRunCount(), m_pTable->GetRunCount());
    for (int r = nFirst; r < nEnd; ++r) {
        const TableRunLayout& rec = m_pTable->GetRunLayout(r);
        const TableRunEntry run = m_pTable->GetRun(r);
        CFont* pFont = run.nFontCode == 1 || run.nFontCode == 2 || run.nFontCode == 16 ? pFonts->GetFontForCode(run.nFontCode)
                                                                                          : pFonts->GetBodyFont();
        const BOOL bLink = rec.nLinkMark != 0;
        for (int n = 0; n < rec.nLines; ++n) {
            const int nStart = rec.awLineStart[n];
            const int nCount = (n + 1 < rec.nLines ? rec.awLineStart[n + 1] : run.wTextLength) - nStart;
            const int x = n == 0 ? rec.x : rec.xColumn;
            const int y = (rec.nRow + n - m_nVLine) * m_nLineHeight;
            dc.SetTextColor(bLink ? TABLE_LINK_COLOR : PALETTERGB(0, 0, 0));
            const int nWidth = nCount > 0 ? DrawLineText(&dc, pFont, x, y, r, nStart, nCount) : 0;
            if (bLink && rec.nHotSpot >= 0 && rec.nHotSpot + n < m_pTable->GetHotSpotCount())
                ::SetRect(&m_pTable->GetHotSpot(rec.nHotSpot + n).rect, x, y, x + nWidth, y + m_nLineHeight);
        }
        if ((run.nFlags & 7) != 0 && rec.nLines > 0) {
            CFont* pOld = dc.SelectObject(pFonts->GetBoldFont());
            dc.SetTextColor(PALETTERGB(0, 0, 0));
            const int nValue = std::clamp(m_pTable->GetRunMark(r, 0), 0, 18);
            dc.TextOut(rec.xColumn, (rec.nRow - m_nVLine) * m_nLineHeight, &kFootnoteMarks[nValue], 1);
            dc.SelectObject(pOld);
        }
    }
}

int CTableHeadWin::HitTestLink(int x, int y) const
{
    if (m_pTable == NULL)
        return -1;
    for (int h = 0; h < m_pTable->GetHotSpotCount(); ++h) {
        const TableHotSpot& spot = m_pTable->GetHotSpot(h);
        if (spot.bFootnote == 1 && x > spot.rect.left && x < spot.rect.right && y > spot.rect.top && y < spot.rect.bottom)
            return h;
    }
    return -1;
}

void CTableHeadWin::OnMouseMove(UINT, CPoint point)
{
    if (m_bLocked || !m_bReady)
        return;
    if (HitTestLink(point.x, point.y) >= 0) {
        if (::GetCapture() != m_hWnd)
            SetCapture();
        ::SetCursor(GetHandCursor());
    } else if (::GetCapture() == m_hWnd) {
        ::ReleaseCapture();
    }
}

void CTableHeadWin::OnLButtonDown(UINT, CPoint point)
{
    if (m_bLocked || !m_bReady)
        return;
    const int nSpot = HitTestLink(point.x, point.y);
    if (nSpot >= 0)
        FollowLink(m_pTable->GetHotSpot(nSpot).wLink);
}
