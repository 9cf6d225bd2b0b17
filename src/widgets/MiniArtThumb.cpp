#include "widgets/MiniArtThumb.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "widgets/TextDropTarget.h"

#include <algorithm>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CMiniArtThumb, CTextThumb)

BEGIN_MESSAGE_MAP(CMiniArtThumb, CTextThumb)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_VSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SETCURSOR()
    ON_WM_CAPTURECHANGED()
END_MESSAGE_MAP()

namespace {

const char kOutOfMemory[] = "Out of memory condition encountered creating Mini Article";
const char kBreakChars[] = " ;:!?\n)";
const char kCutChars[] = " .;:!?\n";

}  // namespace

CMiniArtThumb::CMiniArtThumb(BOOL bNoSelection)
{
    Init(bNoSelection);
}

CMiniArtThumb::CMiniArtThumb(LPCSTR lpszText)
{
    Init(FALSE);
    if (lpszText != NULL)
        m_strText = lpszText;
}

CMiniArtThumb::CMiniArtThumb(const CReference* pReference)
{
    Init(FALSE);
    if (pReference != NULL)
        m_strText = pReference->GetLinkText();
}

void CMiniArtThumb::Init(BOOL bNoSelection)
{
    m_bNoSelection = bNoSelection;
    m_crText = PALETTERGB(0, 0, 0);
    m_crBack = PALETTERGB(255, 255, 231);
}

CMiniArtThumb::~CMiniArtThumb()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

int CMiniArtThumb::GetThumbWidth()
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetWindowRect(&rect);
    return rect.Width();
}

int CMiniArtThumb::GetThumbHeight()
{
    CRect rect(0, 0, 0, 0);
    if (GetSafeHwnd() != NULL)
        GetWindowRect(&rect);
    return rect.Height();
}

BOOL CMiniArtThumb::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd)
{
    if (dwStyle == 0)
        dwStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    m_nLaidWidth = rect.right - rect.left;
    return CWnd::Create(lpszClass, NULL, dwStyle, rect, pParentWnd, 0);
}

BOOL CMiniArtThumb::ParseText(const CString& strText)
{
    try {
        CMiniArtLayout parsed;
        parsed.Parse(strText);
        m_layout = std::move(parsed);
        return TRUE;
    } catch (const std::bad_alloc&) {
        m_layout.Clear();
        ::MessageBox(GetSafeHwnd(), kOutOfMemory, NULL, MB_OK);
        return FALSE;
    }
}

int CMiniArtThumb::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CThumbnail::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_strText.IsEmpty())
        return 0;
    if (!ParseText(m_strText))
        return -2;
    CRect client;
    GetClientRect(&client);
    try {
        if (client.Height() > m_layout.GetLineHeight() && client.Width() >= 1)
            LayoutRuns(client.Width(), client.Height(), TRUE, NULL);
    } catch (const std::bad_alloc&) {
        return -2;
    }
    return 0;
}

int CMiniArtThumb::SetText(LPCSTR lpszText, BOOL bAllowShrink, const RECT* pRect)
{
    ClearSelection();
    m_nTopLine = 0;
    m_nLastVisible = 0;
    CString strText = lpszText != NULL ? lpszText : "";
    if (!ParseText(strText))
        return -2;
    m_strText = strText;
    try {
        CRect client(0, 0, 0, 0);
        if (GetSafeHwnd() != NULL)
            GetClientRect(&client);
        if (pRect != NULL && pRect->bottom > m_layout.GetLineHeight() && pRect->right > 0)
            return LayoutRuns(pRect->right, pRect->bottom, TRUE, NULL);
        if (GetSafeHwnd() != NULL && client.Height() > m_layout.GetLineHeight() && client.Width() > 0)
            return LayoutRuns(client.Width(), client.Height(), bAllowShrink, NULL);
        if (GetSafeHwnd() != NULL) {
            ShowScrollBar(SB_BOTH, FALSE);
            Invalidate();
        }
    } catch (const std::bad_alloc&) {
        return -2;
    }
    return 0;
}

void CMiniArtThumb::SetFrameWidth(int nWidth)
{
    m_nFrameWidth = nWidth;
    if (GetSafeHwnd() != NULL)
        SetWindowPos(NULL, 0, 0, 0, 0,
                     SWP_FRAMECHANGED | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

int CMiniArtThumb::LayoutRuns(int nWidth, int nHeight, BOOL bAllowShrink, CDC* pDC)
{
    const BOOL bWindow = GetSafeHwnd() != NULL;
    if (m_layout.GetRunCount() == 0) {
        if (bWindow)
            ShowScrollBar(SB_BOTH, FALSE);
        return 0;
    }
    if (m_bInLayout)
        return 0;
    m_bInLayout = TRUE;

    // Laid out for a given device context (the renderer's, a printer's): no repainting from here.
    const BOOL bRepaint = pDC == NULL;
    CDC memoryDC;
    if (pDC == NULL) {
        memoryDC.CreateCompatibleDC(NULL);
        pDC = &memoryDC;
    }
    CRect client(0, 0, nWidth, nHeight);
    if (bWindow)
        GetClientRect(&client);
    m_nLaidWidth = client.Width() > 0 ? client.Width() : nWidth;
    m_nLaidHeight = client.Height() > 0 ? client.Height() : nHeight;
    if (pDC->GetDeviceCaps(TECHNOLOGY) == DT_RASPRINTER) {
        int nPerHundred = pDC->GetDeviceCaps(LOGPIXELSX) / 100;
        if (nPerHundred > 0)
            m_nLaidWidth = pDC->GetDeviceCaps(HORZRES) / nPerHundred;
    }

    const MINIART_FONTS fonts = CTextThumbFonts::GetFonts();
    int nResult = m_layout.Layout(pDC, fonts, m_nLaidWidth);
    const int lh = m_layout.GetLineHeight();
    const int nLines = m_layout.GetLineCount();
    m_nTopLine = 0;
    auto placeLastVisible = [&]() {
        m_nLastVisible = nLines * lh <= nHeight ? nLines - 1 : m_nLaidHeight / lh - 1;
    };
    placeLastVisible();

    if (bWindow) {
        // The scroll bar changes the client width: the text is wrapped once more for the new
        // width (the bar then stays as it is, so that the two can never chase each other).
        BOOL bScroll = m_nLastVisible + 1 < nLines;
        ShowScrollBar(SB_VERT, bScroll);
        if (!bScroll)
            ShowScrollBar(SB_HORZ, FALSE);
        GetClientRect(&client);
        if (client.Width() != m_nLaidWidth && client.Width() > 0 &&
            pDC->GetDeviceCaps(TECHNOLOGY) != DT_RASPRINTER) {
            m_nLaidWidth = client.Width();
            nResult = m_layout.Layout(pDC, fonts, m_nLaidWidth);
        }
        const int nNewLines = m_layout.GetLineCount();
        m_nLastVisible = nNewLines * lh <= nHeight ? nNewLines - 1 : m_nLaidHeight / lh - 1;
        if (bScroll) {
            EnableScrollBar(SB_VERT, ESB_ENABLE_BOTH);
            SetScrollRange(SB_VERT, 0, std::max(nNewLines - m_nLastVisible, 1), FALSE);
            SetScrollPos(SB_VERT, 0, TRUE);
        }

        if (bAllowShrink && nNewLines < (client.Height() - lh) / lh) {
            m_nLaidHeight = nNewLines * lh;
            // The width stays as it is (a box laid out again must not creep wider).
            int nExtra = (GetStyle() & WS_BORDER) ? 2 * (m_nFrameWidth + 1) : 0;
            CRect window;
            GetWindowRect(&window);
            SetWindowPos(NULL, 0, 0, window.Width(), m_nLaidHeight + nExtra, SWP_NOMOVE | SWP_SHOWWINDOW);
        }
        if (bRepaint && m_nLaidWidth > 0 && m_nLaidHeight > 0) {
            Invalidate(FALSE);
            UpdateWindow();
        }
    }
    m_bInLayout = FALSE;
    return nResult;
}

void CMiniArtThumb::DrawRuns(CDC* pDC)
{
    if (m_nLaidWidth <= 0 || m_nLaidHeight <= 0)
        return;
    CRect client;
    GetClientRect(&client);
    if (client.Width() != m_nLaidWidth || client.Height() == 0)
        LayoutRuns(client.Width(), client.Height(), FALSE, pDC);
    pDC->FillSolidRect(&client, m_crBack);
    m_layout.Draw(pDC, CTextThumbFonts::GetFonts(), m_nTopLine, m_nLastVisible, m_dwSelectionId, m_crText);
}

void CMiniArtThumb::OnSize(UINT nType, int cx, int cy)
{
    CThumbnail::OnSize(nType, cx, cy);
    if (nType != SIZE_RESTORED || cy < m_layout.GetLineHeight() || cx < 21 || m_bInLayout)
        return;
    m_nLaidWidth = cx;
    m_nLaidHeight = cy;
    if (m_layout.GetRunCount() > 0) {
        LayoutRuns(cx, cy, FALSE, NULL);
    } else if (!m_strText.IsEmpty()) {
        if (ParseText(m_strText))
            LayoutRuns(cx, cy, TRUE, NULL);
    }
}

BOOL CMiniArtThumb::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMiniArtThumb::OnPaint()
{
    CPaintDC dc(this);
    CRect clip;
    if (dc.GetClipBox(&clip) == NULLREGION || clip.IsRectEmpty())
        return;
    CRect client;
    GetClientRect(&client);
    if (client.IsRectEmpty())
        return;
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(&dc))
        return;
    CBitmap bitmap;
    if (!bitmap.CreateCompatibleBitmap(&dc, client.Width(), client.Height()))
        return;
    CBitmap* pOldBitmap = memoryDC.SelectObject(&bitmap);
    {
        CAppPaletteSelector palette(&memoryDC, TRUE);
        memoryDC.FillSolidRect(&client, m_crBack);
        DrawRuns(&memoryDC);
    }
    {
        CAppPaletteSelector palette(&dc);
        dc.BitBlt(0, 0, client.Width(), client.Height(), &memoryDC, 0, 0, SRCCOPY);
    }
    memoryDC.SelectObject(pOldBitmap);
}

BOOL CMiniArtThumb::CanScroll() const
{
    CRect client;
    GetClientRect(&client);
    const int lh = m_layout.GetLineHeight();
    return m_layout.GetLineCount() >= (client.Height() - lh) / lh + 2;
}

void CMiniArtThumb::ScrollLines(int nLines)
{
    if (nLines == 0)
        return;
    m_nTopLine += nLines;
    m_nLastVisible += nLines;
    SetScrollPos(SB_VERT, m_nTopLine, TRUE);
    ScrollWindow(0, -nLines * m_layout.GetLineHeight());
    UpdateWindow();
}

void CMiniArtThumb::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    if (!CanScroll())
        return;
    const int nLines = m_layout.GetLineCount();
    const int nVisible = std::max(m_nLastVisible - m_nTopLine, 1);
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    const int nBottom = std::max(std::min(nLines - nVisible, nMax), 0);
    m_nTopLine = std::clamp(GetScrollPos(SB_VERT), 0, nBottom);
    m_nLastVisible = m_nTopLine + nVisible;
    switch (nSBCode) {
    case SB_LINEUP:
        if (m_nTopLine > 0)
            ScrollLines(-1);
        break;
    case SB_LINEDOWN:
        if (m_nLastVisible < nLines && m_nTopLine < nBottom)
            ScrollLines(1);
        break;
    case SB_PAGEUP:
        ScrollLines(-std::min(nVisible, m_nTopLine));
        break;
    case SB_PAGEDOWN:
        ScrollLines(std::max(std::min(nVisible, nBottom - m_nTopLine), 0));
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK:
        ScrollLines(std::clamp(int(nPos), 0, nBottom) - m_nTopLine);
        break;
    case SB_TOP:
        ScrollLines(-m_nTopLine);
        break;
    case SB_BOTTOM:
        ScrollLines(nBottom - m_nTopLine);
        break;
    default:
        break;
    }
}

int CMiniArtThumb::RunAtPoint(CPoint point, int* pnLine) const
{
    const int nLines = m_layout.GetLineCount();
    if (nLines == 0)
        return -1;
    int nLine = std::clamp(point.y / m_layout.GetLineHeight() + m_nTopLine, 0, nLines - 1);
    if (pnLine != NULL)
        *pnLine = nLine;
    return m_layout.HitTest(nLine, point.x, m_nTopLine);
}

BOOL CMiniArtThumb::IsRunSelected(int nRun) const
{
    if (nRun < 0 || nRun >= m_layout.GetRunCount())
        return FALSE;
    return m_layout.Runs()[size_t(nRun)].dwSelection == m_dwSelectionId;
}

void CMiniArtThumb::MarkRuns(int nFrom, int nTo)
{
    if (nFrom > nTo)
        std::swap(nFrom, nTo);
    nFrom = std::max(nFrom, 0);
    nTo = std::min(nTo, m_layout.GetRunCount() - 1);
    ++m_dwSelectionId;
    for (int i = nFrom; i <= nTo; ++i)
        m_layout.Runs()[size_t(i)].dwSelection = m_dwSelectionId;
}

void CMiniArtThumb::ClearSelection()
{
    m_nSelStart = -1;
    m_nSelEnd = 0;
    m_dwSelectionId = 1;
    m_strSelection.Empty();
    m_strSelectedWord.Empty();
    for (MINIART_RUN& run : m_layout.Runs())
        run.dwSelection = 0;
}

void CMiniArtThumb::SelectRuns(int nFrom, int nTo)
{
    if (nFrom < 0 || nFrom >= m_layout.GetRunCount()) {
        ClearSelection();
        Redraw();
        return;
    }
    nTo = std::clamp(nTo, 0, m_layout.GetRunCount() - 1);
    m_nSelStart = std::min(nFrom, nTo);
    m_nSelEnd = std::max(nFrom, nTo);
    MarkRuns(m_nSelStart, m_nSelEnd);
    m_strSelection.Empty();
    if (m_nSelStart != m_nSelEnd) {
        m_strSelection = m_layout.JoinWords(m_nSelStart, m_nSelEnd);
        m_strSelectedWord = CutSelectedWord(m_strSelection);
    } else {
        m_strSelectedWord = WordWithoutBreak(m_layout.GetWord(m_nSelStart));
    }
    Redraw();
}

void CMiniArtThumb::Redraw()
{
    if (GetSafeHwnd() != NULL) {
        Invalidate(FALSE);
        UpdateWindow();
    }
}

CString CMiniArtThumb::CutSelectedWord(const CString& strText)
{
    if (strText.GetLength() <= MINIART_SELECTED_WORD_MAX)
        return strText;
    CString head = strText.Left(MINIART_SELECTED_WORD_MAX);
    for (int i = head.GetLength() - 1; i >= 0; --i)
        if (std::strchr(kCutChars, head[i]) != nullptr)
            return head.Left(i + 1);
    return head;
}

CString CMiniArtThumb::WordWithoutBreak(const CString& strWord)
{
    int n = strWord.GetLength();
    if (n > 0 && std::strchr(kBreakChars, strWord[n - 1]) != nullptr && strWord[n - 1] != ')')
        return strWord.Left(n - 1);
    return strWord;
}

void CMiniArtThumb::OnLButtonDown(UINT, CPoint point)
{
    if (m_bNoSelection)
        return;
    m_bSelecting = FALSE;
    m_bDoubleClicked = FALSE;
    if (m_layout.GetLineCount() == 0)
        return;
    int nRun = RunAtPoint(point, &m_nCurrentLine);
    if (nRun >= 0 && m_nSelStart >= 0 && nRun >= std::min(m_nSelStart, m_nSelEnd) &&
        nRun <= std::max(m_nSelStart, m_nSelEnd) && (!m_strSelection.IsEmpty() || !m_strSelectedWord.IsEmpty())) {
        SetCapture();
        m_bDragging = TRUE;
        ::SetCursor(::LoadCursor(NULL, IDC_UPARROW));
    }
    if (GetParent() != NULL)
        GetParent()->SetFocus();
}

void CMiniArtThumb::OnMouseMove(UINT nFlags, CPoint point)
{
    if (m_bNoSelection || (nFlags & (MK_LBUTTON | MK_RBUTTON | MK_MBUTTON)) != MK_LBUTTON || m_bDragging)
        return;
    const int nLines = m_layout.GetLineCount();
    if (nLines == 0)
        return;
    const int lh = m_layout.GetLineHeight();

    if (!m_bSelecting) {
        // The selection begins where the pointer is.
        m_bSelecting = TRUE;
        SetCapture();
        m_rectHit.SetRectEmpty();
        m_rectPrevHit.SetRectEmpty();
        m_rectStartCell.SetRectEmpty();
        CRect cell;
        int nLine = 0;
        int nRun = RunAtPoint(point, &nLine);
        m_nCurrentLine = nLine;
        if (nRun >= 0) {
            BOOL bInside = m_nSelStart >= 0 && nRun >= std::min(m_nSelStart, m_nSelEnd) &&
                           nRun <= std::max(m_nSelStart, m_nSelEnd);
            if (!bInside) {
                ClearSelection();
                MarkRuns(nRun, nRun);
                m_strSelectedWord = WordWithoutBreak(m_layout.GetWord(nRun));
                m_nAnchorLine = m_nCurrentLine;
            }
            m_nSelStart = nRun;
            m_nSelEnd = nRun;
            m_layout.HitTest(m_nCurrentLine, point.x, m_nTopLine, &m_rectStartCell);
        } else {
            ClearSelection();
        }
        m_ptLast = point;
        Redraw();
        return;
    }

    if (!m_rectStartCell.IsRectEmpty() && m_rectStartCell.PtInRect(point) && m_nSelStart == m_nSelEnd)
        return;
    CRect client;
    GetClientRect(&client);
    if (point.y < 0) {
        if (m_nTopLine > 0)
            ScrollLines(-1);
        m_nCurrentLine = m_nTopLine;
    } else if (point.y >= client.bottom) {
        if (m_nLastVisible < nLines - 1)
            ScrollLines(1);
        m_nCurrentLine = std::min(m_nLastVisible, nLines - 1);
    } else {
        m_nCurrentLine = point.y / lh + m_nTopLine;
    }
    m_nCurrentLine = std::clamp(m_nCurrentLine, 0, nLines - 1);
    int x = std::clamp(int(point.x), m_layout.GetMargin(), std::max(m_nLaidWidth, m_layout.GetMargin()));
    if (m_nCurrentLine == nLines - 1)
        x = std::min(x, int(m_layout.Runs().back().rectCell.right));
    m_rectPrevHit = m_rectHit;
    int nRun = m_layout.HitTest(m_nCurrentLine, x, m_nTopLine, &m_rectHit);
    m_ptLast = point;
    if (nRun < 0)
        return;
    if (m_nSelStart < 0) {
        m_nSelStart = nRun;
        m_strSelectedWord = WordWithoutBreak(m_layout.GetWord(nRun));
    }
    MarkRuns(m_nSelStart, nRun);
    m_nSelEnd = nRun;
    Redraw();
}

void CMiniArtThumb::OnLButtonUp(UINT, CPoint point)
{
    if (m_bNoSelection)
        return;
    const BOOL bDragging = m_bDragging;
    if (GetCapture() == this)
        ReleaseCapture();

    if (bDragging) {
        m_bDragging = FALSE;
        CPoint ptScreen = point;
        ClientToScreen(&ptScreen);
        DropTextAt(ptScreen, m_strSelectedWord);
        return;
    }
    if (m_bDoubleClicked) {
        // The release of a double click keeps the word it selected.
        m_bDoubleClicked = FALSE;
        return;
    }
    const int nLines = m_layout.GetLineCount();
    if (nLines == 0)
        return;
    if (!m_bSelecting) {
        ClearSelection();
        Redraw();
        return;
    }
    m_bSelecting = FALSE;
    const int lh = m_layout.GetLineHeight();
    point.y = std::max(int(point.y), 1);
    point.x = std::max(int(point.x), m_layout.GetMargin());
    int nLine = std::min(point.y / lh + m_nTopLine, nLines - 1);
    if (nLine == nLines - 1)
        point.x = std::min(int(point.x), int(m_layout.Runs().back().rectCell.right));
    int nRun = m_layout.HitTest(nLine, point.x, m_nTopLine);
    if (nRun < 0 && m_nSelStart < 0)
        return;
    if (nRun >= 0) {
        if (m_nSelStart < 0)
            m_nSelStart = nRun;
        if (nRun < m_nSelStart) {
            m_nSelEnd = m_nSelStart;
            m_nSelStart = nRun;
        } else {
            m_nSelEnd = nRun;
        }
    }
    MarkRuns(m_nSelStart, m_nSelEnd);
    if (m_nSelStart != m_nSelEnd) {
        m_strSelection = m_layout.JoinWords(m_nSelStart, m_nSelEnd);
        m_strSelectedWord = CutSelectedWord(m_strSelection);
    }
    Redraw();
}

void CMiniArtThumb::OnLButtonDblClk(UINT, CPoint point)
{
    if (m_bNoSelection)
        return;
    int nRun = RunAtPoint(point, &m_nCurrentLine);
    if (nRun < 0)
        return;
    SelectRuns(nRun, nRun);
    m_bSelecting = FALSE;
    m_bDoubleClicked = TRUE;
    LookUpDroppedWord(m_strSelectedWord);
}

BOOL CMiniArtThumb::OnSetCursor(CWnd*, UINT, UINT)
{
    ::SetCursor(::LoadCursor(NULL, m_bDragging ? IDC_UPARROW : IDC_ARROW));
    return TRUE;
}

void CMiniArtThumb::OnCaptureChanged(CWnd* pWnd)
{
    // The capture taken away by another window ends a drag without a drop.
    if (pWnd != this)
        m_bDragging = FALSE;
    CThumbnail::OnCaptureChanged(pWnd);
}
