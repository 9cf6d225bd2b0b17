#include "search/DictionaryDefnWin.h"

#include "base/DataFolders.h"
#include "base/PaletteSelector.h"
#include "search/DictionaryDoc.h"
#include "search/DictionaryTabWin.h"

BEGIN_MESSAGE_MAP(CDictionaryDefnWin, CDictionaryPaneWin)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_WM_VSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
END_MESSAGE_MAP()

CDictionaryDefnWin::CDictionaryDefnWin() = default;
CDictionaryDefnWin::~CDictionaryDefnWin() = default;

BOOL CDictionaryDefnWin::Create(CWnd* pParentWnd, POINT pt)
{
    return CreatePane(pParentWnd, pt, "Definition List", LTGRAY_BRUSH, IDW_DICTIONARY_DEFINITIONS);
}

int CDictionaryDefnWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDictionaryPaneWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (!CreatePaneFont(m_fontBold, 700, FALSE) || !CreatePaneFont(m_fontRegular, 535, FALSE) ||
        !CreatePaneFont(m_fontItalic, 535, TRUE))
        return -1;
    return 0;
}

void CDictionaryDefnWin::StartAfresh()
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(TRUE);
    if (pDoc == NULL)
        return;
    if (pDoc->GetEntry() != NULL)
        pDoc->GetEntry()->m_accumulated.RemoveAll();
    pDoc->SetInsertMode(FALSE);
    CDictionaryEntry* pEntry = pDoc->ReadEntryLines(FALSE);
    if (pEntry == NULL)
        return;
    m_pEntry = pEntry;
    m_nTop = 0;
    m_nAdded = 0;
    m_bSelecting = FALSE;
    m_lines.RemoveAll();
    m_bPending = TRUE;
    ClearSelection();
    Invalidate();
}

void CDictionaryDefnWin::OnSize(UINT nType, int cx, int cy)
{
    CDictionaryPaneWin::OnSize(nType, cx, cy);
    if (IsWindowVisible() && m_pEntry != NULL) {
        if (CDictionaryDoc* pDoc = m_pOwner->GetDocument(TRUE))
            pDoc->SetBackward(FALSE);
        m_pOwner->SendMessage(VLM_DICTIONARY_RESTART);
    }
}

void CDictionaryDefnWin::LookUpWord(LPCSTR lpszWord)
{
    m_pOwner->SetWordAndLookUp(lpszWord);
}

void CDictionaryDefnWin::OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar)
{
    (void)pScrollBar;
    if (m_pEntry == NULL)
        return;
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(TRUE);
    switch (nSBCode) {
    case SB_LINEUP:
    case SB_PAGEUP: {
        const int nOld = m_nTop;
        m_nTop -= nSBCode == SB_LINEUP ? 1 : m_nLinesPerPage;
        if (m_nTop < 0 && pDoc != NULL && pDoc->IsAtFirstEntry())
            m_nTop = 0;
        if (m_nTop != nOld)
            Invalidate();
        break;
    }
    case SB_LINEDOWN:
    case SB_PAGEDOWN:
        if (m_lines.GetSize() - m_nTop >= m_nLinesPerPage) {
            m_nTop += nSBCode == SB_LINEDOWN ? 1 : m_nLinesPerPage;
            Invalidate();
        }
        break;
    case SB_THUMBPOSITION:
        if (pDoc != NULL) {
            pDoc->SetBackward(FALSE);
            pDoc->SeekProportional(static_cast<int>(nPos), m_nLinesPerPage);
            m_pOwner->SendMessage(VLM_DICTIONARY_RESTART);
        }
        break;
    case SB_TOP:
        LookUpWord("a");
        break;
    case SB_BOTTOM:
        LookUpWord("z-zero");
        break;
    default: break;
    }
    SetFocus();
}

void CDictionaryDefnWin::LayOutForward(CDC* pDC, BOOL bRead)
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(FALSE);
    if (pDoc == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    const int nWidth = client.Width() - 2;
    m_nAdded = 0;
    m_bPending = FALSE;
    for (;;) {
        if (bRead) {
            if (pDoc->IsAtEnd())
                break;
            CDictionaryEntry* pEntry = pDoc->ReadEntryLines(FALSE);
            if (pEntry == NULL || pEntry->m_lines.IsEmpty())
                break;
        }
        bRead = TRUE;
        for (INT_PTR i = 0; i < m_pEntry->m_lines.GetSize(); ++i)
            m_nAdded += CDictionaryLayout::LayOutLine(pDC, m_pEntry->m_lines[i], nWidth, ScreenFonts(), m_lines, &m_bWrapped);
        if (m_nAdded >= m_nLinesPerPage - 1 || pDoc->IsAtEnd())
            break;
    }
}

void CDictionaryDefnWin::LayOutBackward(CDC* pDC)
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(FALSE);
    if (pDoc == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    const int nWidth = client.Width() - 2;
    if (m_nTop <= -m_nLinesPerPage)
        m_pEntry->m_accumulated.RemoveAll();
    int nAdded = 0;
    while (nAdded + m_nTop < 0 && pDoc->GetEntryStart() > 0) {
        pDoc->SetInsertMode(TRUE, 0);
        CDictionaryEntry* pEntry = pDoc->ReadEntryLines(TRUE);
        if (pEntry == NULL || pEntry->m_lines.IsEmpty())
            break;
        CStringArray lines;
        for (INT_PTR i = 0; i < pEntry->m_lines.GetSize(); ++i)
            CDictionaryLayout::LayOutLine(pDC, pEntry->m_lines[i], nWidth, ScreenFonts(), lines, &m_bWrapped);
        m_lines.InsertAt(0, &lines);
        nAdded += static_cast<int>(lines.GetSize());
    }
    pDoc->SetInsertMode(FALSE);
    m_nTop += nAdded;
    m_nAdded = nAdded;
    if (m_nTop < 0)
        m_nTop = 0;
}

void CDictionaryDefnWin::Draw(CDC* pDC)
{
    CDictionaryDoc* pDoc = m_pOwner->GetDocument(FALSE);
    if (pDoc == NULL)
        return;
    SetScrollBar();
    if (m_nTop < 0)
        LayOutBackward(pDC);
    const int n = static_cast<int>(m_lines.GetSize()) - m_nTop;
    if (m_bPending)
        LayOutForward(pDC, FALSE);
    else if (n < m_nLinesPerPage && !pDoc->IsAtEnd())
        LayOutForward(pDC, TRUE);
    if (m_nTop > static_cast<int>(m_lines.GetSize()))
        m_nTop = static_cast<int>(m_lines.GetSize());

    CRect client;
    GetClientRect(&client);
    int nLine1 = -1, nChar1 = -1, nLine2 = -1, nChar2 = -1;
    const BOOL bSelection = SelectionRange(nLine1, nChar1, nLine2, nChar2);
    const int nShown = std::min(static_cast<int>(m_lines.GetSize()) - m_nTop, m_nLinesPerPage);
    for (int i = 0; i < nShown; ++i) {
        const int nLine = m_nTop + i;
        int nFrom = -1, nTo = -1;
        if (bSelection && nLine >= nLine1 && nLine <= nLine2) {
            nFrom = nLine == nLine1 ? nChar1 : 0;
            nTo = nLine == nLine2 ? nChar2 : m_lines[nLine].GetLength();
        }
        CDictionaryLayout::DrawLine(pDC, m_lines[nLine], 2, 2 + i * m_nLineHeight, ScreenFonts(), nFrom, nTo);
    }
}

void CDictionaryDefnWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, PALETTERGB(255, 255, 255));
    CFont* pOld = dc.SelectObject(&m_fontRegular);
    TEXTMETRIC tm;
    dc.GetTextMetrics(&tm);
    m_nLineHeight = tm.tmHeight - (tm.tmWeight > 600 ? 1 : 0);
    if (m_nLineHeight <= 0)
        m_nLineHeight = 15;
    if (m_pEntry != NULL)
        Draw(&dc);
    dc.SelectObject(pOld);
}

void CDictionaryDefnWin::HitTest(CPoint point, int& nLine, int& nChar)
{
    nLine = -1;
    nChar = 0;
    if (m_lines.IsEmpty())
        return;
    nLine = std::max(0, (point.y - 2) / std::max(1, m_nLineHeight)) + m_nTop;
    nLine = std::min(nLine, static_cast<int>(m_lines.GetSize()) - 1);
    CClientDC dc(this);
    nChar = CDictionaryLayout::CharAt(&dc, m_lines[nLine], 2, point.x, ScreenFonts());
}

void CDictionaryDefnWin::WordBounds(int nLine, int nChar, int& nFirst, int& nLast) const
{
    const CString& strLine = m_lines[nLine];
    auto isBreak = [&](int i) {
        const BYTE ch = static_cast<BYTE>(strLine[i]);
        return ch == ' ' || CDictionaryLayout::IsCode(ch);
    };
    nFirst = nLast = std::min(nChar, std::max(0, strLine.GetLength() - 1));
    while (nFirst > 0 && !isBreak(nFirst - 1))
        --nFirst;
    while (nLast + 1 < strLine.GetLength() && !isBreak(nLast + 1))
        ++nLast;
}

void CDictionaryDefnWin::SelectWordAt(CPoint point)
{
    int nLine = -1, nChar = 0;
    HitTest(point, nLine, nChar);
    if (nLine < 0)
        return;
    int nFirst = 0, nLast = 0;
    WordBounds(nLine, nChar, nFirst, nLast);
    m_nSelAnchorLine = m_nSelEndLine = nLine;
    m_nSelAnchorChar = nFirst;
    m_nSelEndChar = nLast;
    Invalidate(FALSE);
}

void CDictionaryDefnWin::ExtendSelection(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    if (point.y < 0) {
        OnVScroll(SB_LINEUP, 0, NULL);
        point.y = 2;
    } else if (point.y >= client.bottom) {
        OnVScroll(SB_LINEDOWN, 0, NULL);
        point.y = client.bottom - m_nLineHeight;
    }
    int nLine = -1, nChar = 0;
    HitTest(point, nLine, nChar);
    if (nLine < 0 || m_nSelAnchorLine < 0)
        return;
    int nFirst = 0, nLast = 0;
    WordBounds(nLine, nChar, nFirst, nLast);
    const BOOL bAfter = nLine > m_nSelAnchorLine || (nLine == m_nSelAnchorLine && nChar >= m_nSelAnchorChar);
    m_nSelEndLine = nLine;
    m_nSelEndChar = bAfter ? nLast : nFirst;
    Invalidate(FALSE);
}

void CDictionaryDefnWin::ClearSelection()
{
    if (m_nSelAnchorLine >= 0)
        Invalidate(FALSE);
    m_nSelAnchorLine = m_nSelAnchorChar = m_nSelEndLine = m_nSelEndChar = -1;
}

BOOL CDictionaryDefnWin::SelectionRange(int& nLine1, int& nChar1, int& nLine2, int& nChar2) const
{
    if (m_nSelAnchorLine < 0 || m_nSelEndLine < 0 || m_nSelAnchorLine >= m_lines.GetSize() ||
        m_nSelEndLine >= m_lines.GetSize())
        return FALSE;
    const BOOL bAnchorFirst = m_nSelAnchorLine < m_nSelEndLine ||
                              (m_nSelAnchorLine == m_nSelEndLine && m_nSelAnchorChar <= m_nSelEndChar);
    nLine1 = bAnchorFirst ? m_nSelAnchorLine : m_nSelEndLine;
    nChar1 = bAnchorFirst ? m_nSelAnchorChar : m_nSelEndChar;
    nLine2 = bAnchorFirst ? m_nSelEndLine : m_nSelAnchorLine;
    nChar2 = bAnchorFirst ? m_nSelEndChar : m_nSelAnchorChar;
    return TRUE;
}

CString CDictionaryDefnWin::GetSelectedText(int nLimit) const
{
    int nLine1 = -1, nChar1 = -1, nLine2 = -1, nChar2 = -1;
    CString strText;
    if (!SelectionRange(nLine1, nChar1, nLine2, nChar2))
        return strText;
    const CString strIndent(' ', CDictionaryLayout::kIndent);
    for (int nLine = nLine1; nLine <= nLine2; ++nLine) {
        const CString& strLine = m_lines[nLine];
        const int nFrom = nLine == nLine1 ? nChar1 : 0;
        const int nTo = nLine == nLine2 ? std::min(nChar2, strLine.GetLength() - 1) : strLine.GetLength() - 1;
        CString strPart = CDictionaryLayout::PlainText(strLine.Mid(nFrom, nTo - nFrom + 1));
        // The indent of a wrapped line's continuation is not part of the text.
        if (strPart.GetLength() > CDictionaryLayout::kIndent && strPart.Left(CDictionaryLayout::kIndent) == strIndent)
            strPart = strPart.Mid(CDictionaryLayout::kIndent);
        strText += strPart;
        if (nLimit >= 0 && strText.GetLength() >= nLimit)
            return strText.Left(nLimit);
    }
    return strText;
}

void CDictionaryDefnWin::OnLButtonDown(UINT nFlags, CPoint point)
{
    (void)nFlags;
    (void)point;
    m_bSelecting = TRUE;
    m_bMoved = FALSE;
    SetCapture();
}

void CDictionaryDefnWin::OnMouseMove(UINT nFlags, CPoint point)
{
    m_bMoved = TRUE;
    if (!(nFlags & MK_LBUTTON) || !m_bSelecting)
        return;
    if (!m_bDragging) {
        SelectWordAt(point);
        m_bDragging = TRUE;
    } else {
        ExtendSelection(point);
    }
}

void CDictionaryDefnWin::OnLButtonUp(UINT nFlags, CPoint point)
{
    (void)nFlags;
    if (m_bSelecting) {
        if (!m_bDragging) {
            int nLine = -1, nChar = 0;
            HitTest(point, nLine, nChar);
            int nLine1 = -1, nChar1 = -1, nLine2 = -1, nChar2 = -1;
            const BOOL bInside = SelectionRange(nLine1, nChar1, nLine2, nChar2) && nLine >= 0 &&
                                 (nLine > nLine1 || (nLine == nLine1 && nChar >= nChar1)) &&
                                 (nLine < nLine2 || (nLine == nLine2 && nChar <= nChar2));
            if (!bInside) {
                if (!m_bMoved)
                    ClearSelection();
            } else if (m_bMoved) {
                SelectWordAt(point);
            } else {
                ClearSelection();
            }
        }
        const CString strSelected = GetSelectedText(40);
        if (!strSelected.IsEmpty())
            m_pOwner->SetHeadingAndEntry(strSelected);
        m_bDragging = FALSE;
        m_bSelecting = FALSE;
        ReleaseCapture();
    }
    SetFocus();
}

void CDictionaryDefnWin::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    (void)nFlags;
    ClearSelection();
    SelectWordAt(point);
    CString strWord = GetSelectedText(-1);
    strWord.TrimLeft();
    strWord.TrimRight();
    if (!strWord.IsEmpty())
        LookUpWord(strWord);
}

void CDictionaryDefnWin::Print()
{
    int nPageLimit = 0;
    if (GetAppProfileString(VL_PRODUCT_SECTION, "LPL", NULL).CompareNoCase("y") == 0)
        nPageLimit = std::max(1, GetAppProfileInt(VL_PRODUCT_SECTION, "MP", 0));
    if (m_pEntry == NULL) {
        CStringArray none;
        CDictionaryLayout::PrintLines(this, "Veltra Dictionary", none, CRect(300, 400, 300, 400), nPageLimit, 0);
        return;
    }
    // A page takes the lines that fit between its margins.
    CDictionaryLayout::PrintLines(this, "Veltra Dictionary", m_pEntry->m_accumulated, CRect(300, 400, 300, 400),
                                  nPageLimit, 0);
}
