#include "article/TableTextWin.h"

#include "article/ArticleTable.h"
#include "article/TableMainWin.h"
#include "base/ClipboardText.h"
#include "base/VLMessages.h"
#include "media/StickyNoteWnd.h"
#include "widgets/TextDropTarget.h"

#include <algorithm>
#include <cctype>
#include <climits>

namespace {

// The characters of the footnote marks in the body, by mark value.
const char kBodyMarks[] = "0123456789ABCDEFGHI";
const int kMarkGap = 10;
// How far left of the pane a line may start and still be drawn.
const int kLeftmostLine = -640;

}  // namespace

IMPLEMENT_DYNAMIC(CTableTextWin, CTableGridWin)

BEGIN_MESSAGE_MAP(CTableTextWin, CTableGridWin)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_HSCROLL()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

CTableTextWin::CTableTextWin() = default;

CTableTextWin::~CTableTextWin() = default;

BOOL CTableTextWin::Create(CTableMainWin* pView, const RECT& rect)
{
    return CreatePane(pView, "Table Text",
                      WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | WS_VSCROLL | WS_HSCROLL, rect,
                      IDW_TABLE_TEXT);
}

// ---- setting up ----

void CTableTextWin::SetTable(CArticleTable* pTable)
{
    m_bLocked = TRUE;
    m_pTable = pTable;
    m_nLineHeight = std::max(m_pView != NULL ? m_pView->GetGridContext().nLineHeight : 0, 1);
    m_nTableWidth = pTable != NULL ? pTable->GetTableWidth() : 0;
    m_nVLine = m_nVPos = m_nVMin = m_nVMax = m_nVPrevious = 0;
    m_nHPos = m_nHMax = 0;
    ClearSelection();
    m_strSelection.Empty();
    m_bDragged = FALSE;
    m_nHeadingLines = pTable != NULL ? pTable->GetHeadingLineCount() : 0;
    m_nBodyLines = pTable != NULL ? std::max(pTable->GetLineCount() - m_nHeadingLines, 0) : 0;
    m_nTotalLines = pTable != NULL ? pTable->GetLineCount() + pTable->GetFootnoteLineCount() : 0;

    CRect client;
    GetClientRect(&client);
    m_cxSeen = client.Width();
    m_cySeen = client.Height();
    UpdateHRange(client.Width());
    m_bReady = TRUE;
    UpdateVRange();

    if (pTable != NULL && pTable->GetFirstHitRow() >= 1) {
        const int nLine = std::max(pTable->GetFirstHitRow() - m_nHeadingLines - 3, 0);
        SetVPos(nLine * m_nLineHeight);
    } else {
        SetVPos(0);
    }
    if (pTable != NULL && pTable->GetFirstHitX() >= 1 && m_bHScroll) {
        const int nStep = ColumnStep();
        int nPos = 0;
        while (pTable->GetFirstHitX() > client.Width() + nPos && nPos < m_nHMax)
            nPos += nStep;
        SetHPos(nPos);
    }
    m_bLocked = FALSE;
    Invalidate();
}

int CTableTextWin::VisibleBodyLines() const
{
    return (m_cySeen - (m_nHeadingLines + 1) * m_nLineHeight) / std::max(m_nLineHeight, 1);
}

void CTableTextWin::UpdateVRange()
{
    m_rectHeading.SetRect(m_nCentre, 0, m_nCentre + m_nTableWidth, m_nHeadingLines * m_nLineHeight);
    m_rectBody.SetRect(m_nCentre, m_rectHeading.bottom, m_nCentre + m_nTableWidth, std::max(m_cySeen, m_rectHeading.bottom));
    const int nVisible = VisibleBodyLines();
    m_nVMin = 0;
    m_nVMax = nVisible < m_nBodyLines ? (m_nBodyLines - nVisible + 1) * m_nLineHeight : 0;
    SetScrollRange(SB_VERT, 0, m_nVMax, FALSE);
    SetVPos(std::min(m_nVPos, m_nVMax));
}

void CTableTextWin::UpdateHRange(int cx)
{
    m_bHScroll = m_pTable != NULL && cx < m_nTableWidth;
    if (!m_bHScroll) {
        m_nHMax = 0;
        m_nHPos = 0;
        // A narrow table stands in the middle when it asks for that, else 30 pixels in.
        const int nRoom = std::max(cx - m_nTableWidth, 0);
        m_nCentre = m_pTable != NULL && m_pTable->IsCentred() ? nRoom / 2 : std::min(30, nRoom);
    } else {
        const int nPitch = ColumnStep();
        m_nHMax = ((m_nTableWidth - cx) / nPitch + 1) * nPitch;
        m_nCentre = 0;
    }
    SetScrollRange(SB_HORZ, 0, m_nHMax, FALSE);
    SetHPos(std::min(m_nHPos, m_nHMax));
}

int CTableTextWin::ColumnStep() const
{
    // The pitch of the table's columns, so that a step moves a whole column: the pitch of its
    // widest row (a narrow last row, such as a footnote, would make it a crawl).
    const int nColumns = m_pTable != NULL ? m_pTable->GetWidestColumnCount() : 0;
    return nColumns < 3 ? 20 : CArticleTable::ColumnPitch(std::min(nColumns, static_cast<int>(CArticleTable::maxBandCells)));
}

void CTableTextWin::SetVPos(int nPos)
{
    m_nVPos = std::clamp(nPos, m_nVMin, std::max(m_nVMax, m_nVMin));
    m_nVLine = m_nVPos / std::max(m_nLineHeight, 1);
    m_nVPos = m_nVLine * m_nLineHeight;
    if (m_nVMax > 0)
        SetScrollPos(SB_VERT, m_nVPos, TRUE);
}

void CTableTextWin::SetHPos(int nPos)
{
    m_nHPos = std::clamp(nPos, 0, std::max(m_nHMax, 0));
    if (m_nHMax > 0)
        SetScrollPos(SB_HORZ, m_nHPos, TRUE);
}

void CTableTextWin::FootnotesHidden(int nFootHeight)
{
    if (!m_bReady)
        return;
    CRect client;
    GetClientRect(&client);
    const int nVisible = (client.Height() - m_nHeadingLines * m_nLineHeight) / std::max(m_nLineHeight, 1);
    m_nVMax = nVisible < m_nBodyLines ? (m_nBodyLines - nVisible + 4) * m_nLineHeight : 0;
    SetScrollRange(SB_VERT, 0, m_nVMax, FALSE);
    SetVPos(std::max(m_nVPos - nFootHeight, 0));
    Invalidate();
    UpdateWindow();
}

void CTableTextWin::OnSize(UINT, int cx, int cy)
{
    if (!m_bReady)
        return;
    if (cy != m_cySeen) {
        const int nOldPos = m_nVPos;
        const int nOldMax = m_nVMax;
        m_cySeen = cy;
        UpdateVRange();
        SetVPos(nOldMax > 0 ? std::max(nOldPos * m_nVMax / nOldMax, 0) : 0);
    }
    if (cx != m_cxSeen) {
        const int nOldPos = m_nHPos;
        const int nOldMax = m_nHMax;
        m_cxSeen = cx;
        UpdateHRange(cx);
        UpdateVRange();
        SetHPos(nOldMax > 0 ? std::max(nOldPos * m_nHMax / nOldMax, 0) : 0);
    }
    Invalidate();
}

// ---- scrolling ----

void CTableTextWin::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    if (!m_bReady)
        return;
    if (m_nVMax <= 0) {
        Invalidate();
        return;
    }
    const int lh = m_nLineHeight;
    int nNew = m_nVPos;
    switch (nSBCode) {
    case SB_LINEUP: nNew -= lh; break;
    case SB_LINEDOWN: nNew += lh; break;
    case SB_PAGEUP: nNew -= std::max(VisibleBodyLines() - 1, 1) * lh; break;
    case SB_PAGEDOWN: nNew += std::max(VisibleBodyLines() - 1, 1) * lh; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNew = static_cast<int>(nPos) / lh * lh; break;
    case SB_TOP: nNew = m_nVMin; break;
    case SB_BOTTOM: nNew = m_nVMax; break;
    default: return;
    }
    const int nOld = m_nVPos;
    m_nVPrevious = nOld;
    SetVPos(nNew);
    if (m_nVPos != nOld) {
        Invalidate();
        UpdateWindow();
    }
}

void CTableTextWin::OnHScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    if (!m_bReady || m_pTable == NULL)
        return;
    const int nStep = ColumnStep();
    int nNew = m_nHPos;
    switch (nSBCode) {
    case SB_LINELEFT:
    case SB_PAGELEFT:
    case SB_LEFT: nNew -= nStep; break;
    case SB_LINERIGHT:
    case SB_PAGERIGHT:
    case SB_RIGHT: nNew += nStep; break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: nNew = static_cast<int>(nPos); break;
    default: return;
    }
    const int nOld = m_nHPos;
    SetHPos(nNew);
    if (m_nHPos != nOld) {
        Invalidate();
        UpdateWindow();
    }
}

// ---- painting ----

BOOL CTableTextWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

BOOL CTableTextWin::IsFootnoteRun(int nRun) const
{
    return m_pTable->HasFootnotes() && m_pTable->IsFootnoteRun(nRun);
}

CTableTextWin::LinePlace CTableTextWin::PlaceLine(int nRun, int nLine, int cy) const
{
    const TableRunLayout& rec = m_pTable->GetRunLayout(nRun);
    const TableRunEntry run = m_pTable->GetRun(nRun);
    LinePlace place{};
    place.nStart = rec.awLineStart[nLine];
    const int nEnd = nLine + 1 < rec.nLines ? rec.awLineStart[nLine + 1] : run.wTextLength;
    place.nCount = std::max(nEnd - place.nStart, 0);
    const int x = (nLine == 0 ? rec.x : rec.xColumn) + m_nCentre;
    place.x = rec.nHFreeze != 0 ? x : x - m_nHPos;
    place.y = (rec.nRow + nLine - m_nVLine) * m_nLineHeight;
    if (rec.nVFreeze > 0)
        place.y += m_nVLine * m_nLineHeight;
    const int nEdge = m_pTable->GetFrozenColumnEdge();
    place.bVisible = place.nCount > 0 && place.x > kLeftmostLine && place.y < cy && place.y > -m_nLineHeight &&
                     (nEdge == 0 || rec.nHFreeze != 0 || place.x > nEdge + m_nCentre) &&
                     (rec.nVFreeze != 0 || place.y >= m_nHeadingLines * m_nLineHeight);
    return place;
}

void CTableTextWin::OnPaint()
{
    PaintOffScreen(TABLE_BK_COLOR);
}

void CTableTextWin::PaintPane(CDC& dc, const CRect& client)
{
    if (m_pView != NULL)
        m_pView->SetCurrentBkColor(TABLE_BK_COLOR);
    if (m_bReady && m_pTable != NULL && m_pView != NULL && m_pView->GetFonts() != NULL)
        PaintTable(dc, client);
}

void CTableTextWin::PaintTable(CDC& dc, const CRect& client)
{
    CTableFontSet* pFonts = m_pView->GetFonts();
    for (int h = 0; h < m_pTable->GetHotSpotCount(); ++h)
        if (!m_pTable->GetHotSpot(h).bFootnote)
            ::SetRectEmpty(&m_pTable->GetHotSpot(h).rect);
    dc.SetBkMode(TRANSPARENT);
    for (int r = 0; r < m_pTable->GetRunCount(); ++r) {
        if (IsFootnoteRun(r))
            continue;
        const TableRunLayout& rec = m_pTable->GetRunLayout(r);
        const TableRunEntry run = m_pTable->GetRun(r);
        CFont* pFont = pFonts->GetFontForCode(run.nFontCode);
        const BOOL bLink = rec.nLinkMark != 0;
        int nLastRight = 0;
        LinePlace first{};
        for (int n = 0; n < rec.nLines; ++n) {
            const LinePlace place = PlaceLine(r, n, client.Height());
            if (n == 0)
                first = place;
            if (!place.bVisible) {
                nLastRight = place.x;
                continue;
            }
            dc.SetTextColor(bLink ? TABLE_LINK_COLOR : PALETTERGB(0, 0, 0));
            const int nWidth = DrawLineText(&dc, pFont, place.x, place.y, r, place.nStart, place.nCount);
            nLastRight = place.x + nWidth;
            if (bLink && rec.nHotSpot >= 0 && rec.nHotSpot + n < m_pTable->GetHotSpotCount())
                ::SetRect(&m_pTable->GetHotSpot(rec.nHotSpot + n).rect, place.x, place.y, place.x + nWidth,
                          place.y + m_nLineHeight);
        }
        // Footnote marks: before the first line, or behind the last.
        const int nMarks = run.nFlags & 7;
        if (nMarks == 0 || rec.nLines == 0)
            continue;
        const BOOL bBehind = (run.nFlags & 8) != 0;
        const LinePlace at = bBehind ? PlaceLine(r, rec.nLines - 1, client.Height()) : first;
        if (!at.bVisible)
            continue;
        int x = bBehind ? nLastRight : first.x - kMarkGap * nMarks;
        CFont* pOld = dc.SelectObject(pFonts->GetFontForCode(3));
        dc.SetTextColor(PALETTERGB(0, 0, 0));
        for (int m = 0; m < nMarks; ++m, x += kMarkGap) {
            const int nValue = std::clamp(m_pTable->GetRunMark(r, m), 0, 18);
            dc.TextOut(x, at.y - 3, &kBodyMarks[nValue], 1);
        }
        dc.SelectObject(pOld);
    }
    // The sticky-note marker while the table has a note.
    if (m_pView->IsStickyButtonShown()) {
        const int cx = ::GetSystemMetrics(SM_CXICON);
        const int cy = ::GetSystemMetrics(SM_CYICON);
        CRect marker(5, 5, 5 + cx, 5 + cy);
        dc.FillSolidRect(marker, PALETTERGB(255, 240, 120));
        dc.Draw3dRect(marker, PALETTERGB(200, 170, 40), PALETTERGB(160, 130, 20));
        CRect fold(marker.right - cx / 3, marker.top, marker.right, marker.top + cy / 3);
        dc.FillSolidRect(fold, PALETTERGB(230, 200, 70));
    }
}

// ---- links and positions ----

int CTableTextWin::HitTestLink(int x, int y) const
{
    if (m_pTable == NULL)
        return -1;
    for (int h = 0; h < m_pTable->GetHotSpotCount(); ++h) {
        const TableHotSpot& spot = m_pTable->GetHotSpot(h);
        if (!spot.bFootnote && x >= spot.rect.left && x < spot.rect.right && y >= spot.rect.top && y < spot.rect.bottom)
            return h;
    }
    return -1;
}

BOOL CTableTextWin::InStickyMarker(CPoint point) const
{
    const CRect marker(5, 5, 5 + ::GetSystemMetrics(SM_CXICON), 5 + ::GetSystemMetrics(SM_CYICON));
    return marker.PtInRect(point);
}

BOOL CTableTextWin::PointToPosition(CPoint point, TableGridPosition& position)
{
    if (!m_bReady || m_pTable == NULL || m_pView == NULL || m_pTable->GetRunCount() == 0)
        return FALSE;
    CRect client;
    GetClientRect(&client);
    // Below the table's last row: the end of the last run.
    int nLastRun = m_pTable->GetRunCount() - 1;
    while (nLastRun > 0 && (IsFootnoteRun(nLastRun) || m_pTable->GetRunLayout(nLastRun).nLines == 0))
        --nLastRun;
    const int nRowAt = point.y / std::max(m_nLineHeight, 1) + m_nVLine;
    if (nRowAt >= m_pTable->GetLineCount()) {
        const TableRunLayout& rec = m_pTable->GetRunLayout(nLastRun);
        const TableRunEntry run = m_pTable->GetRun(nLastRun);
        position = {run.dwTextOffset, run.wTextLength, nLastRun, std::max(rec.nLines - 1, 0), std::max(run.wTextLength - 1, 0)};
        if (m_sel.nState == TableGridSelection::none)
            m_sel.nState = TableGridSelection::anchored;
        return TRUE;
    }
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CFont* pOld = dc.SelectObject(m_pView->GetFonts()->GetFontForCode(0));
    BOOL bFound = FALSE;
    // Between the columns of the row under the point: the end of the nearest line to its left.
    TableGridPosition nearest;
    int nNearestX = INT_MIN;
    for (int r = 0; r < m_pTable->GetRunCount() && !bFound; ++r) {
        if (IsFootnoteRun(r))
            continue;
        const TableRunLayout& rec = m_pTable->GetRunLayout(r);
        const TableRunEntry run = m_pTable->GetRun(r);
        dc.SelectObject(m_pView->GetFonts()->GetFontForCode(run.nFontCode));
        LPCSTR pText = m_pTable->GetRunText(r);
        for (int n = 0; n < rec.nLines; ++n) {
            const LinePlace place = PlaceLine(r, n, client.Height() + m_nLineHeight);
            if (!place.bVisible || point.y < place.y || point.y >= place.y + m_nLineHeight || point.x < place.x)
                continue;
            const int nWidth = dc.GetTextExtent(pText + place.nStart, place.nCount).cx;
            if (point.x >= place.x + nWidth && point.x <= m_nCentre + m_nTableWidth - m_nHPos) {
                if (place.x > nNearestX) {
                    nNearestX = place.x;
                    nearest = {run.dwTextOffset, run.wTextLength, r, n, place.nStart + place.nCount - 1};
                }
                continue;
            }
            // The character under the point: the ones whose right end lies at or left of it are
            // passed over.
            int nLeft = place.nCount;
            while (nLeft > 0 && point.x < place.x + dc.GetTextExtent(pText + place.nStart, nLeft).cx)
                --nLeft;
            const int nChar = std::min(place.nStart + nLeft, place.nStart + place.nCount - 1);
            position = {run.dwTextOffset, run.wTextLength, r, n, nChar};
            bFound = TRUE;
            break;
        }
    }
    dc.SelectObject(pOld);
    if (!bFound && nNearestX != INT_MIN) {
        position = nearest;
        bFound = TRUE;
    }
    if (bFound && m_sel.nState == TableGridSelection::none)
        m_sel.nState = TableGridSelection::anchored;
    return bFound;
}

void CTableTextWin::UpdateSelectionText()
{
    m_strSelection = GetSelectedText();
}

void CTableTextWin::SelectAll()
{
    if (m_pTable == NULL || m_pTable->GetRunCount() == 0)
        return;
    const TableRunEntry first = m_pTable->GetRun(0);
    const int nLast = m_pTable->GetRunCount() - 1;
    const TableRunEntry last = m_pTable->GetRun(nLast);
    const TableRunLayout& rec = m_pTable->GetRunLayout(nLast);
    m_sel.anchor = {first.dwTextOffset, first.wTextLength, 0, 0, 0};
    m_sel.caret = {last.dwTextOffset, last.wTextLength, nLast, std::max(rec.nLines - 1, 0), std::max(last.wTextLength - 1, 0)};
    m_sel.nState = TableGridSelection::standing;
    UpdateSelectionText();
    Invalidate();
    SetFocus();
}

CString CTableTextWin::GetCopyText() const
{
    CString strCopy;
    if (!HasSelection() || m_pTable == NULL || m_pTable->GetText() == NULL)
        return strCopy;
    const LPBYTE pText = m_pTable->GetText();
    const DWORD dwEnd = std::min<DWORD>(WordEnd(), static_cast<DWORD>(std::max(m_pTable->GetTextLength() - 2, 0)));
    for (DWORD i = WordStart(); i <= dwEnd; ++i) {
        for (int n = m_pTable->CountMergedCells(i); n > 0; --n)
            strCopy += '\t';
        if (pText[i] == '\r')
            strCopy += "\r\n";
        else
            strCopy += static_cast<char>(pText[i]);
    }
    strCopy += "\r\n";
    return strCopy;
}

BOOL CTableTextWin::CopyToClipboard()
{
    const CString strCopy = GetCopyText();
    return !strCopy.IsEmpty() && CopyTextToClipboard(this, strCopy);
}

// ---- mouse and keys ----

void CTableTextWin::OnLButtonDown(UINT, CPoint point)
{
    if (m_bLocked || !m_bReady)
        return;
    if (m_pView != NULL && m_pView->IsStickyButtonShown() && InStickyMarker(point)) {
        if (CStickyNoteWnd* pNotes = m_pView->GetStickyNoteWnd())
            pNotes->PostMessage(VLM_STICKY_NEW, 0, 0);
        return;
    }
    const int nSpot = HitTestLink(point.x, point.y);
    if (nSpot >= 0) {
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
        FollowLink(m_pTable->GetHotSpot(nSpot).wLink);
        return;
    }
    m_bDragged = FALSE;
    if (!HasSelection()) {
        TableGridPosition position;
        if (PointToPosition(point, position)) {
            m_sel.anchor = m_sel.caret = position;
            SetCapture();
        }
    }
    SetFocus();
}

void CTableTextWin::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bLocked || !m_bReady || m_pTable == NULL)
        return;
    if ((nFlags & MK_LBUTTON) == 0) {
        if (HitTestLink(point.x, point.y) >= 0) {
            if (::GetCapture() != m_hWnd)
                SetCapture();
            ::SetCursor(GetHandCursor());
        } else if (::GetCapture() == m_hWnd) {
            ::ReleaseCapture();
        }
        return;
    }
    CRect client;
    GetClientRect(&client);
    if (point.y < 0) {
        OnVScroll(SB_LINEUP, 0, NULL);
        point = client.TopLeft();
    } else if (point.y >= client.bottom) {
        OnVScroll(SB_LINEDOWN, 0, NULL);
        point = CPoint(client.right - 1, client.bottom - 1);
    }
    TableGridPosition position;
    if ((m_sel.nState == TableGridSelection::none || m_sel.nState == TableGridSelection::standing) && !m_bDragged) {
        m_sel.nState = TableGridSelection::none;
        if (PointToPosition(point, position)) {
            m_sel.anchor = m_sel.caret = position;
            if (::GetCapture() != m_hWnd)
                SetCapture();
        }
    } else if (m_sel.nState == TableGridSelection::anchored || m_sel.nState == TableGridSelection::dragging) {
        if (PointToPosition(point, position)) {
            m_sel.nState = TableGridSelection::dragging;
            m_sel.caret = position;
            m_bDragged = TRUE;
        }
    }
    UpdateSelectionText();
    Invalidate();
}

void CTableTextWin::OnLButtonUp(UINT, CPoint point)
{
    if (m_bLocked || !m_bReady || m_pTable == NULL)
        return;
    TableGridPosition position;
    if (m_sel.nState == TableGridSelection::anchored || m_sel.nState == TableGridSelection::dragging) {
        if (PointToPosition(point, position))
            m_sel.caret = position;
        const DWORD dwAt = m_sel.caret.Offset();
        const BOOL bBlank = dwAt < static_cast<DWORD>(m_pTable->GetTextLength()) && IsBlank(m_pTable->GetText()[dwAt]);
        m_sel.nState = m_sel.anchor.Offset() == dwAt && bBlank ? TableGridSelection::none : TableGridSelection::standing;
        if (::GetCapture() == m_hWnd)
            ::ReleaseCapture();
    } else if (!m_bDragged) {
        ClearSelection();
        if (PointToPosition(point, position)) {
            m_sel.anchor = m_sel.caret = position;
            m_sel.nState = TableGridSelection::none;
        }
    }
    m_bDragged = FALSE;
    UpdateSelectionText();
    Invalidate();
}

void CTableTextWin::OnLButtonDblClk(UINT, CPoint point)
{
    if (m_bLocked || !m_bReady || m_pTable == NULL)
        return;
    TableGridPosition position;
    m_sel.nState = TableGridSelection::none;
    if (!PointToPosition(point, position))
        return;
    m_sel.anchor = m_sel.caret = position;
    const DWORD dwAt = position.Offset();
    m_sel.nState = dwAt < static_cast<DWORD>(m_pTable->GetTextLength()) && IsBlank(m_pTable->GetText()[dwAt])
                       ? TableGridSelection::none
                       : TableGridSelection::standing;
    UpdateSelectionText();
    Invalidate();
    if (m_sel.nState != TableGridSelection::standing)
        return;
    CString strWord = m_strSelection;
    while (!strWord.IsEmpty() && !std::isalnum(static_cast<unsigned char>(strWord[strWord.GetLength() - 1])))
        strWord = strWord.Left(strWord.GetLength() - 1);
    while (!strWord.IsEmpty() && !std::isalnum(static_cast<unsigned char>(strWord[0])))
        strWord = strWord.Mid(1);
    if (!strWord.IsEmpty())
        LookUpDroppedWord(strWord);
}

void CTableTextWin::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const BOOL bControl = ::GetKeyState(VK_CONTROL) < 0;
    if (nChar == 0x43 && bControl)
        CopyToClipboard();
    else if (nChar == 0x41 && bControl)
        SelectAll();
    else
        CTableGridWin::OnKeyUp(nChar, nRepCnt, nFlags);
}
