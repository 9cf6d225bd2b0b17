#include "search/DictionaryWordListWin.h"

#include "base/PaletteSelector.h"
#include "search/DictionaryDoc.h"
#include "search/DictionaryTabWin.h"

BEGIN_MESSAGE_MAP(CDictionaryWordListWin, CDictionaryPaneWin)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_VSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

CDictionaryWordListWin::CDictionaryWordListWin() = default;
CDictionaryWordListWin::~CDictionaryWordListWin() = default;

BOOL CDictionaryWordListWin::Create(CWnd* pParentWnd, POINT pt)
{
    return CreatePane(pParentWnd, pt, "Word List", WHITE_BRUSH, IDW_DICTIONARY_WORDLIST);
}

int CDictionaryWordListWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDictionaryPaneWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    return CreatePaneFont(m_fontRow, 700, FALSE) ? 0 : -1;
}

void CDictionaryWordListWin::StartAfresh()
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(TRUE);
    if (pDoc == NULL)
        return;
    CDictionaryLines* pLines = pDoc->ReadWordListLine(FALSE);
    if (pLines == NULL)
        return;
    m_bStarted = TRUE;
    m_bPending = TRUE;
    m_nTop = 0;
    m_nAction = kFillForward;
    m_nSelected = -1;
    m_rows.RemoveAll();
    Invalidate();
}

void CDictionaryWordListWin::OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    (void)pScrollBar;
    if (!m_bStarted)
        return;
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(TRUE);
    switch (nSBCode) {
    case SB_LINEUP:
    case SB_PAGEUP: {
        const int nOld = m_nTop;
        m_nTop -= nSBCode == SB_LINEUP ? 1 : m_nLinesPerPage;
        m_nAction = nSBCode == SB_LINEUP ? kLineUp : kPageUp;
        if (m_nTop < 0 && pDoc != NULL && pDoc->IsAtFirstEntry())
            m_nTop = 0;
        if (m_nTop != nOld)
            Invalidate();
        break;
    }
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        m_nAction = nSBCode == SB_LINEDOWN ? kLineDown : kPageDown;
        Invalidate();
        UpdateWindow();
        break;
    case SB_THUMBPOSITION:
        if (pDoc != NULL) {
            m_nAction = kJump;
            pDoc->SetBackward(FALSE);
            pDoc->SeekProportional(static_cast<int>(nPos), m_nLinesPerPage);
            m_pOwner->SendMessage(VLM_DICTIONARY_RESTART);
        }
        break;
    case SB_TOP:
        m_nAction = kTop;
        m_pOwner->SetWordAndLookUp("a");
        break;
    case SB_BOTTOM:
        m_nAction = kBottom;
        m_pOwner->SetWordAndLookUp("z-zero");
        break;
    default: break;
    }
    SetFocus();
}

void CDictionaryWordListWin::FillForward(CDC* pDC, BOOL bRead)
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(FALSE);
    if (pDoc == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    const int nWidth = client.Width() - 2;
    int nAdded = 0;
    while (static_cast<int>(m_rows.GetSize()) - m_nTop < m_nLinesPerPage) {
        if (bRead) {
            if (pDoc->IsAtEnd())
                break;
            pDoc->ReadWordListLine(FALSE);
        }
        bRead = TRUE;
        m_bPending = FALSE;
        CDictionaryLines* pLines = pDoc->GetWordListLines();
        if (pLines == NULL || pLines->m_lines.IsEmpty())
            break;
        for (INT_PTR i = 0; i < pLines->m_lines.GetSize(); ++i)
            nAdded += CDictionaryLayout::LayOutLine(pDC, pLines->m_lines[i], nWidth, RowFonts(), m_rows);
        if (nAdded >= m_nLinesPerPage - 1 && m_nAction == kFillForward)
            break;
    }
}

void CDictionaryWordListWin::FillBackward(CDC* pDC)
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(FALSE);
    if (pDoc == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    const int nWidth = client.Width() - 2;
    int nAdded = 0;
    while (m_nTop + nAdded < 0 && pDoc->GetEntryStart() > 0) {
        CDictionaryLines* pLines = pDoc->ReadWordListLine(TRUE);
        if (pLines == NULL || pLines->m_lines.IsEmpty())
            break;
        CStringArray rows;
        for (INT_PTR i = 0; i < pLines->m_lines.GetSize(); ++i)
            CDictionaryLayout::LayOutLine(pDC, pLines->m_lines[i], nWidth, RowFonts(), rows);
        m_rows.InsertAt(0, &rows);
        nAdded += static_cast<int>(rows.GetSize());
    }
    m_nTop += nAdded;
    if (m_nTop < 0)
        m_nTop = 0;
}

void CDictionaryWordListWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    CRect area(client.left + 2, client.top + 2, client.right, client.bottom - 2);
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    CFont* pOld = dc.SelectObject(&m_fontRow);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    m_nLineHeight = tm.tmHeight > 0 ? tm.tmHeight : 15;
    if (m_bStarted && m_pOwner->GetDocument(FALSE) != NULL) {
        switch (m_nAction) {
        case kFillForward:
            SetScrollBar();
            FillForward(&dc, !m_bPending);
            break;
        case kLineDown:
        case kPageDown:
            // Move only while the rows below reach past the page (or more can be read).
            if (static_cast<int>(m_rows.GetSize()) - m_nTop > (m_nAction == kLineDown ? 1 : m_nLinesPerPage) ||
                !m_pOwner->GetDocument(FALSE)->IsAtEnd()) {
                m_nTop += m_nAction == kLineDown ? 1 : m_nLinesPerPage;
                FillForward(&dc, TRUE);
                m_nTop = std::min(m_nTop, std::max(0, static_cast<int>(m_rows.GetSize()) - 1));
            }
            break;
        case kLineUp:
        case kPageUp:
            FillBackward(&dc);
            break;
        case kJump:
            FillForward(&dc, !m_bPending);
            break;
        default: break;
        }
        m_nAction = kRedraw;
        const int nShown = std::min(static_cast<int>(m_rows.GetSize()) - m_nTop, m_nLinesPerPage);
        for (int i = 0; i < nShown; ++i)
            CDictionaryLayout::DrawLine(&dc, m_rows[m_nTop + i], area.left, area.top + i * m_nLineHeight, RowFonts());
        if (m_nSelected >= 0 && m_nSelected < nShown) {
            CRect band(area.left, m_nSelected == 0 ? area.top : 2 + m_nSelected * m_nLineHeight, area.right,
                       2 + (m_nSelected + 1) * m_nLineHeight);
            dc.InvertRect(&band);
        }
    }
    dc.SelectObject(pOld);
}

int CDictionaryWordListWin::RowAt(CPoint point) const
{
    const int nShown = std::min(static_cast<int>(m_rows.GetSize()) - m_nTop, m_nLinesPerPage);
    if (nShown <= 0)
        return -1;
    const int nRow = std::max(0, (point.y - 2) / std::max(1, m_nLineHeight));
    return std::min(nRow, nShown - 1);
}

void CDictionaryWordListWin::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    m_nSelected = RowAt(point);
    m_bTracking = TRUE;
    SetCapture();
    Invalidate(FALSE);
}

void CDictionaryWordListWin::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking || !(nFlags & MK_LBUTTON))
        return;
    CRect client;
    GetClientRect(&client);
    if (point.y >= client.bottom) {
        OnVScroll(SB_LINEDOWN, 0, NULL);
        m_nSelected = RowAt(CPoint(point.x, client.bottom - 1));
    } else if (point.y < 0) {
        OnVScroll(SB_LINEUP, 0, NULL);
        m_nSelected = RowAt(CPoint(point.x, 0));
    } else {
        m_nSelected = RowAt(point);
    }
    Invalidate(FALSE);
}

void CDictionaryWordListWin::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    if (!m_bTracking)
        return;
    m_bTracking = FALSE;
    ReleaseCapture();
    if (m_nSelected < 0 || m_nTop + m_nSelected >= m_rows.GetSize())
        return;
    // The headword line the row belongs to (a continuation row counts for its first row).
    int nRow = m_nTop + m_nSelected;
    const CString strIndent(' ', CDictionaryLayout::kIndent);
    while (nRow > 0 && m_rows[nRow].Left(CDictionaryLayout::kIndent) == strIndent)
        --nRow;
    CString strWord = CDictionaryLayout::PlainText(m_rows[nRow]).Left(79);
    strWord.TrimLeft();
    strWord.TrimRight();
    m_nSelected = -1;
    if (!strWord.IsEmpty())
        m_pOwner->SetWordAndLookUp(strWord);
}

void CDictionaryWordListWin::Print()
{
    CStringArray shown;
    const int nLast = std::min(static_cast<int>(m_rows.GetSize()), m_nTop + m_nLinesPerPage);
    for (int i = std::max(0, m_nTop); i < nLast; ++i)
        shown.Add(m_rows[i]);
    CDictionaryLayout::PrintLines(this, "Veltra Multimedia Encyclopedia Dictionary", shown, CRect(1200, 1200, 1200, 1200),
                                  1, 0);
}
