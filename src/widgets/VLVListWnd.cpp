#include "widgets/VLVListWnd.h"

#include "base/AppServices.h"
#include "base/OnlineReference.h"
#include "base/PaletteSelector.h"
#include "base/Rin.h"
#include "widgets/Dib.h"
#include "widgets/ListRowPainting.h"

#include <algorithm>

namespace {

// The not-downloaded mark before a row's text.
const UINT kNotDownloadedMark = 617;
// Where a row's text starts: plain rows and rows with a kind icon.
const int kTextIndent = 5;
const int kIconTextIndent = 25;
const int kIconSize = 16;
const int kIconRowPointSize = 110;
// Lines a notch of the mouse wheel scrolls.
const int kWheelLines = 3;
const int kWheelDelta = 120;  // one notch

const COLORREF kPaletteBlack = PALETTERGB(0, 0, 0);
const COLORREF kPaletteWhite = PALETTERGB(255, 255, 255);

// A title as it is shown: without the line end that list-file lines may leave on it.
CString ShownText(LPCSTR lpszText)
{
    CString strText = lpszText != NULL ? lpszText : "";
    while (!strText.IsEmpty() && (strText.Right(1) == "\n" || strText.Right(1) == "\r"))
        strText = strText.Left(strText.GetLength() - 1);
    return strText;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// CVirtualVisibleRectArray

IMPLEMENT_DYNCREATE(CVirtualVisibleRectArray, CObject)

int CVirtualVisibleRectArray::HitTest(int x, int y) const
{
    const POINT point = {x, y};
    for (size_t i = 0; i < m_rows.size(); ++i)
        if (PtInRect(&m_rows[i].rect, point))
            return static_cast<int>(i);
    return -1;
}

// ---------------------------------------------------------------------------------------------
// CVLVListWnd

IMPLEMENT_DYNCREATE(CVLVListWnd, CVLScrollWnd)

BEGIN_MESSAGE_MAP(CVLVListWnd, CVLScrollWnd)
    ON_WM_PAINT()
    ON_WM_VSCROLL()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONUP()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_MOUSEWHEEL()
    ON_WM_KEYDOWN()
    ON_WM_SIZE()
    ON_MESSAGE(WM_GETDLGCODE, OnGetDlgCode)
END_MESSAGE_MAP()

CVLVListWnd::CVLVListWnd() : CVLVListWnd(NULL) {}

CVLVListWnd::CVLVListWnd(CBaseListData* pData)
    : m_bTracking(FALSE),
      m_rcTracking(0, 0, 0, 0),
      m_dwOwnFlags(0),
      m_bBlackOnWhite(FALSE),
      m_pNotifyWnd(NULL),
      m_pVisible(new CVirtualVisibleRectArray),
      m_nMostVisible(0),
      m_nPointSize(90),
      m_nCurrentRow(-1),
      m_pData(pData),
      m_nScrollPos(0),
      m_nRowHeight(0),
      m_pMark(NULL),
      m_bMarkLooked(FALSE)
{
}

CVLVListWnd::~CVLVListWnd()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pVisible;
    delete m_pMark;
}

BOOL CVLVListWnd::Create(DWORD dwStyle, DWORD dwOwnFlags, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_dwOwnFlags = dwOwnFlags;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                           static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
    if (!CWnd::Create(lpszClass, "Virtual List Window", dwStyle, rect, pParentWnd, nID))
        return FALSE;
    m_pNotifyWnd = pParentWnd;
    LayOutRows(0, TRUE);
    return TRUE;
}

BOOL CVLVListWnd::HasIconRows() const
{
    const UINT nID = GetDlgCtrlID();
    return nID == VLV_ID_ICONROWS || nID == VLV_ID_ICONROWS2;
}

long CVLVListWnd::GetFirstVisible() { return m_pVisible->GetSize() > 0 ? m_pVisible->GetAt(0).nRow : -1; }

long CVLVListWnd::GetNextVisible(long nKey)
{
    BOOL bFound = FALSE;
    for (int i = 0; i < m_pVisible->GetSize(); ++i) {
        const VLVISIBLEROW& row = m_pVisible->GetAt(i);
        if (row.nKey == 0)
            continue;
        if (bFound)
            return row.nKey;
        bFound = row.nKey == nKey;
    }
    return 0;
}

long CVLVListWnd::GetPrevVisible(long nKey)
{
    long nPrevious = 0;
    for (int i = 0; i < m_pVisible->GetSize(); ++i) {
        const VLVISIBLEROW& row = m_pVisible->GetAt(i);
        if (row.nKey == 0)
            continue;
        if (row.nKey == nKey)
            return nPrevious;
        nPrevious = row.nRow;
    }
    return 0;
}

long CVLVListWnd::GetLastVisible()
{
    for (int i = m_pVisible->GetUpperBound(); i >= 0; --i)
        if (m_pVisible->GetAt(i).nKey != 0)
            return m_pVisible->GetAt(i).nRow;
    return -1;
}

long CVLVListWnd::GetTopKey() { return m_pVisible->GetSize() > 0 ? m_pVisible->GetAt(0).nKey : 0; }

void CVLVListWnd::CreateRowFont(CFont& font, int nTenths) { font.CreatePointFont(nTenths, "Arial"); }

CDib* CVLVListWnd::Mark()
{
    if (!m_bMarkLooked) {
        m_bMarkLooked = TRUE;
        TRY
        {
            m_pMark = new CDib(kNotDownloadedMark);
        }
        CATCH(CResourceException, e)
        {
            m_pMark = NULL;
        }
        END_CATCH
    }
    return m_pMark;
}

long CVLVListWnd::LayOutRows(long nFirstRow, BOOL bRepaint)
{
    m_pVisible->RemoveAllRows();
    if (GetSafeHwnd() == NULL)
        return 0;
    const long nCount = m_pData != NULL ? m_pData->GetCount() : 0;
    SetScrollRange(SB_VERT, 0, nCount > 1 ? static_cast<int>(nCount - 1) : 0, FALSE);
    if (nFirstRow < 1)
        nFirstRow = 1;
    if (nFirstRow > nCount)
        nFirstRow = nCount < 1 ? 1 : nCount;

    CClientDC dc(this);
    CFont font;
    CreateRowFont(font, m_nPointSize);
    CFont* pOldFont = dc.SelectObject(&font);
    CRect client;
    GetClientRect(&client);
    CRect area(client.left + 1, client.top + 1, client.right - 1, client.bottom);
    if ((GetStyle() & WS_VSCROLL) == 0)
        area.right -= ::GetSystemMetrics(SM_CXVSCROLL);

    int nTop = area.top;
    for (long nRow = nFirstRow; nRow <= nCount; ++nRow) {
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(nRow));
        if (!m_pData->GetItem(&item))
            break;
        const CString strText = item.pszText != NULL ? CString(item.pszText) : CString();
        if (nRow == nFirstRow)
            m_strTopTitle = ShownText(strText);

        VLVISIBLEROW row = {};
        row.nRow = row.nKey = nRow;
        CRin rin(static_cast<DWORD>(item.lParam));
        if (item.lParam > 0 && rin.IsOnline()) {
            TRY
            {
                COnlineReference reference(rin, rin.FormatRit() + ".rcv");
                row.bNotDownloaded = !reference.IsFileAvailable();
            }
            CATCH(CRinException, e)
            {
                row.bNotDownloaded = FALSE;
            }
            END_CATCH
        }
        RECT rect = {area.left, nTop, area.right, nTop};
        if (m_nRowHeight > 0)
            rect.bottom = nTop + m_nRowHeight;
        else if (HasIconRows())
            DrawRow(static_cast<long>(item.lParam), strText, rect, &dc, DT_CALCRECT);
        else
            MeasureRow(strText, rect, &dc, DT_CALCRECT, row.bNotDownloaded);
        row.rect = rect;
        m_pVisible->Add(row);
        nTop = rect.bottom;
        const int nBottom = (m_dwOwnFlags & VLV_LASTROWCLIPS) != 0 ? client.bottom - 1 : client.bottom;
        if (rect.bottom >= nBottom)
            break;  // the row that reaches the bottom edge is the last one laid out
    }
    dc.SelectObject(pOldFont);

    if (bRepaint)
        Invalidate(TRUE);
    m_nMostVisible = std::max(m_nMostVisible, static_cast<long>(m_pVisible->GetUpperBound()));
    return m_pVisible->GetSize() > 0 ? m_pVisible->GetAt(0).nRow : 0;
}

int CVLVListWnd::MeasureRow(LPCSTR lpszText, RECT& rect, CDC* pDC, UINT nMode, BOOL bNotDownloaded)
{
    const BOOL bDraw = (nMode & DT_CALCRECT) == 0;
    COLORREF crOldText = 0, crOldBack = 0;
    if (bDraw && m_bBlackOnWhite) {
        crOldText = pDC->SetTextColor(kPaletteBlack);
        crOldBack = pDC->SetBkColor(kPaletteWhite);
    }
    const int nLeft = rect.left + kTextIndent;
    CDib* pMark = bNotDownloaded ? Mark() : NULL;
    const int nMarkWidth = pMark != NULL ? static_cast<int>(pMark->GetWidth()) + 2 : 0;
    const std::vector<CString> lines = WrapText(pDC, ShownText(lpszText), rect.right - nLeft - nMarkWidth, rect.right - nLeft);
    int y = rect.top;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int x = i == 0 ? nLeft + nMarkWidth : nLeft;
        if (bDraw) {
            if (i == 0 && pMark != NULL)
                pMark->Draw(pDC, nLeft, y);
            pDC->TextOut(x, y, lines[i]);
        }
        y += pDC->GetTextExtent(lines[i].IsEmpty() ? CString(" ") : lines[i]).cy;
    }
    if (pMark != NULL && y < rect.top + pMark->GetHeight())
        y = rect.top + static_cast<int>(pMark->GetHeight());
    if (bDraw && m_bBlackOnWhite) {
        pDC->SetTextColor(crOldText);
        pDC->SetBkColor(crOldBack);
    }
    rect.bottom = y;
    return y - rect.top;
}

int CVLVListWnd::DrawRow(long nId, LPCSTR lpszText, RECT& rect, CDC* pDC, UINT nMode)
{
    const BOOL bDraw = (nMode & DT_CALCRECT) == 0;
    CFont font;
    CreateRowFont(font, kIconRowPointSize);
    CFont* pOldFont = pDC->SelectObject(&font);
    COLORREF crOldText = 0, crOldBack = 0;
    if (bDraw && m_bBlackOnWhite) {
        crOldText = pDC->SetTextColor(kPaletteBlack);
        crOldBack = pDC->SetBkColor(kPaletteWhite);
    }
    const int nLeft = rect.left + kIconTextIndent;
    const std::vector<CString> lines = WrapText(pDC, ShownText(lpszText), rect.right - nLeft, rect.right - nLeft);
    int y = rect.top;
    for (const CString& strLine : lines) {
        if (bDraw)
            pDC->TextOut(nLeft, y, strLine);
        y += pDC->GetTextExtent(strLine.IsEmpty() ? CString(" ") : strLine).cy;
    }
    y = std::max(y, static_cast<int>(rect.top) + kIconSize);
    if (bDraw) {
        UINT nIcon = 0;
        TRY
        {
            nIcon = nId > 0 ? CRin(static_cast<DWORD>(nId)).GetKindIconId() : 0;
        }
        CATCH(CRinException, e)
        {
            nIcon = 0;
        }
        END_CATCH
        DrawListIcon(pDC, rect.left, rect.top, nIcon, kIconSize);
    }
    if (bDraw && m_bBlackOnWhite) {
        pDC->SetTextColor(crOldText);
        pDC->SetBkColor(crOldBack);
    }
    pDC->SelectObject(pOldFont);
    rect.bottom = y;
    return y - rect.top;
}

void CVLVListWnd::OnPaint() { Paint(); }

void CVLVListWnd::Paint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CFont font;
    CreateRowFont(font, m_nPointSize);
    CFont* pOldFont = dc.SelectObject(&font);
    CRect client;
    GetClientRect(&client);
    CBrush white(kPaletteWhite);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    int nBottom = client.top;
    for (int i = 0; i < m_pVisible->GetSize(); ++i) {
        const VLVISIBLEROW& row = m_pVisible->GetAt(i);
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(row.nRow));
        if (!m_pData->GetItem(&item))
            break;
        const CString strText = item.pszText;
        RECT rect = row.rect;
        const BOOL bCurrent = row.nRow == m_nCurrentRow;
        CRect band(client.left, row.rect.top, client.right, row.rect.bottom);
        if (i == 0)
            band.top = client.top;
        dc.FillSolidRect(&band, bCurrent ? ::GetSysColor(COLOR_HIGHLIGHT) : kPaletteWhite);
        dc.SetTextColor(bCurrent ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : kPaletteBlack);
        // The rows are drawn exactly as they were laid out; the current one highlighted.
        const BOOL bBlackOnWhite = m_bBlackOnWhite;
        if (bCurrent)
            m_bBlackOnWhite = FALSE;
        if (m_nRowHeight > 0)
            dc.IntersectClipRect(&band);
        if (HasIconRows())
            DrawRow(static_cast<long>(item.lParam), strText, rect, &dc, 0);
        else
            MeasureRow(strText, rect, &dc, 0, row.bNotDownloaded);
        if (m_nRowHeight > 0)
            dc.SelectClipRgn(NULL);
        m_bBlackOnWhite = bBlackOnWhite;
        nBottom = row.rect.bottom;
    }
    if (nBottom < client.bottom) {
        CRect below(client.left, nBottom, client.right, client.bottom);
        dc.FillRect(&below, &white);
    }
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}

void CVLVListWnd::ScrollTo(long nFirstRow)
{
    LayOutRows(nFirstRow, FALSE);
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    const long nTop = GetFirstVisible();
    m_nScrollPos = std::clamp(static_cast<int>(nTop > 0 ? nTop - 1 : 0), nMin, nMax);
    SetScrollPos(SB_VERT, m_nScrollPos, TRUE);
    Invalidate(TRUE);
}

void CVLVListWnd::OnVScroll(UINT nSBCode, UINT nPos, CWnd*)
{
    const long nLast = m_pData != NULL ? m_pData->GetCount() : 0;
    const long nTop = GetFirstVisible();
    if (nLast < 1 || nTop < 1)
        return;
    const long nVisible = std::max(1L, static_cast<long>(m_pVisible->GetUpperBound()));
    long nNew;
    switch (nSBCode) {
    case SB_LINEUP:
        if (nTop <= 1)
            return;
        nNew = nTop - 1;
        break;
    case SB_LINEDOWN:
        nNew = std::min(nTop + 1, nLast);
        break;
    case SB_PAGEUP:
        nNew = nTop - std::max(1L, m_nMostVisible);
        break;
    case SB_PAGEDOWN:
        nNew = std::min(nTop + nVisible, nLast);
        break;
    case SB_THUMBPOSITION:
    case SB_THUMBTRACK: {
        // The message carries 16 bits of the position; a longer list reads the bar's 32 bits.
        long nThumb = static_cast<long>(nPos);
        SCROLLINFO info = {};
        info.cbSize = sizeof(SCROLLINFO);
        info.fMask = SIF_TRACKPOS;
        if (nLast - 1 > 0xFFFF && ::GetScrollInfo(m_hWnd, SB_VERT, &info))
            nThumb = info.nTrackPos;
        nNew = nThumb + 1;
        break;
    }
    case SB_TOP:
        nNew = 1;
        break;
    case SB_BOTTOM:
        nNew = nLast;
        break;
    default:
        return;
    }
    ScrollTo(nNew);
}

BOOL CVLVListWnd::OnMouseWheel(UINT, short zDelta, CPoint)
{
    const int nNotches = zDelta / kWheelDelta;
    for (int i = 0; i < std::abs(nNotches) * kWheelLines; ++i)
        OnVScroll(nNotches > 0 ? SB_LINEUP : SB_LINEDOWN, 0, NULL);
    return TRUE;
}

void CVLVListWnd::Notify(UINT nCode)
{
    CWnd* pTarget = GetParent() != NULL ? GetParent() : m_pNotifyWnd;
    if (pTarget != NULL)
        pTarget->PostMessage(WM_COMMAND, MAKEWPARAM(GetDlgCtrlID() & 0xFFFF, nCode), reinterpret_cast<LPARAM>(m_hWnd));
}

void CVLVListWnd::ClickAt(CPoint point)
{
    CRect client;
    GetClientRect(&client);
    const int nHit = client.PtInRect(point) ? m_pVisible->HitTest(point.x, point.y) : -1;
    if (nHit >= 0 && (GetParent() != NULL || m_pNotifyWnd != NULL)) {
        m_nCurrentRow = m_pVisible->GetAt(nHit).nRow;
        Notify(LBN_DBLCLK);
        ReleaseCapture();
        Invalidate(TRUE);
        return;
    }
    ReleaseCapture();
}

void CVLVListWnd::OnLButtonDown(UINT nFlags, CPoint point)
{
    SetFocus();
    CVLScrollWnd::OnLButtonDown(nFlags, point);
}

void CVLVListWnd::OnLButtonUp(UINT, CPoint point) { ClickAt(point); }

void CVLVListWnd::OnLButtonDblClk(UINT, CPoint point)
{
    const int nHit = m_pVisible->HitTest(point.x, point.y);
    ClickAt(point);
    if (nHit >= 0 && HasIconRows() && GetParent() != NULL && GetParent()->GetParent() != NULL)
        GetParent()->GetParent()->PostMessage(WM_LBUTTONDBLCLK, 0, 0);
}

void CVLVListWnd::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bTracking || m_rcTracking.PtInRect(point))
        return;
    if ((m_dwOwnFlags & VLV_TRACKSHIFT) != 0 && (nFlags & MK_SHIFT) != 0)
        return;  // Shift held: the tracking stays
    m_bTracking = FALSE;
    ReleaseCapture();
}

void CVLVListWnd::KeepInView(long nRow)
{
    long nTop = GetFirstVisible();
    if (nTop < 1)
        return;
    if (nRow < nTop) {
        ScrollTo(nRow);
        return;
    }
    CRect client;
    GetClientRect(&client);
    const long nLast = GetLastVisible();
    if (nRow > nLast + 1)
        ScrollTo(std::max(1L, nRow - std::max(0L, m_nMostVisible - 1)));
    for (int nTries = 0; nTries < 1000; ++nTries) {
        nTop = GetFirstVisible();
        for (int i = 0; i < m_pVisible->GetSize(); ++i)
            if (m_pVisible->GetAt(i).nRow == nRow && m_pVisible->GetAt(i).rect.bottom <= client.bottom)
                return;
        if (nTop >= nRow)
            return;  // taller than the window: it stays at the top
        ScrollTo(nTop + 1);
    }
}

void CVLVListWnd::MoveCurrent(long nRow)
{
    const long nCount = m_pData != NULL ? m_pData->GetCount() : 0;
    if (nCount < 1)
        return;
    nRow = std::clamp(nRow, 1L, nCount);
    if (nRow == m_nCurrentRow)
        return;
    m_nCurrentRow = nRow;
    KeepInView(nRow);
    Invalidate(TRUE);
    Notify(LBN_SELCHANGE);
}

void CVLVListWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    const long nCount = m_pData != NULL ? m_pData->GetCount() : 0;
    const long nPage = std::max(1L, m_nMostVisible);
    const long nCurrent = m_nCurrentRow >= 1 ? m_nCurrentRow : 0;
    switch (nChar) {
    case VK_UP:
        MoveCurrent(nCurrent > 1 ? nCurrent - 1 : 1);
        break;
    case VK_DOWN:
        MoveCurrent(nCurrent + 1);
        break;
    case VK_PRIOR:
        MoveCurrent(nCurrent - nPage);
        break;
    case VK_NEXT:
        MoveCurrent(nCurrent + nPage);
        break;
    case VK_HOME:
        MoveCurrent(1);
        break;
    case VK_END:
        MoveCurrent(nCount);
        break;
    case VK_RETURN:
        if (m_nCurrentRow >= 1 && m_nCurrentRow <= nCount)
            Notify(LBN_DBLCLK);
        break;
    default:
        CVLScrollWnd::OnKeyDown(nChar, nRepCnt, nFlags);
    }
}

LRESULT CVLVListWnd::OnGetDlgCode(WPARAM, LPARAM) { return DLGC_WANTARROWS | DLGC_WANTALLKEYS; }

void CVLVListWnd::OnSize(UINT nType, int cx, int cy)
{
    CVLScrollWnd::OnSize(nType, cx, cy);
    // The rows' heights and how many fit depend on the size.
    if (m_pData != NULL)
        LayOutRows(std::max(1L, GetFirstVisible()), TRUE);
}

void CVLVListWnd::ScrollToIndex(long nRow)
{
    LayOutRows(nRow, TRUE);
    int nMin = 0, nMax = 0;
    GetScrollRange(SB_VERT, &nMin, &nMax);
    m_nScrollPos = std::clamp(static_cast<int>(GetFirstVisible() > 0 ? GetFirstVisible() - 1 : 0), nMin, nMax);
    SetScrollPos(SB_VERT, m_nScrollPos, TRUE);
    const long nCount = m_pData != NULL ? m_pData->GetCount() : 0;
    m_nCurrentRow = nRow >= 1 && nRow <= nCount ? nRow : -1;
}

void CVLVListWnd::ScrollToTop()
{
    const long nKey = GetTopKey();
    if (nKey != 0)
        ScrollToIndex(nKey);
}

void CVLVListWnd::ScrollToCurrent()
{
    if (m_nCurrentRow >= 1)
        ScrollToIndex(m_nCurrentRow);
}

int CVLVListWnd::SetPointSize(int nTenths)
{
    const int nPrevious = m_nPointSize;
    m_nPointSize = nTenths;
    if (GetSafeHwnd() != NULL && nTenths != nPrevious)
        LayOutRows(std::max(1L, GetFirstVisible()), TRUE);
    return nPrevious;
}

int CVLVListWnd::SetRowHeight(int nPixels)
{
    const int nPrevious = m_nRowHeight;
    m_nRowHeight = nPixels > 0 ? nPixels : 0;
    if (GetSafeHwnd() != NULL && m_nRowHeight != nPrevious)
        LayOutRows(std::max(1L, GetFirstVisible()), TRUE);
    return nPrevious;
}
