#include "media/MediaSlidingSelector.h"

#include "base/ResourceLibrary.h"
#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

namespace {

CString g_strSelectorClass;

const CRect kLeftArrow(4, 5, 20, 19);
const CRect kRightArrow(172, 5, 184, 19);
const CRect kLeftCap(21, 5, 29, 19);
const CRect kRightCap(163, 5, 171, 19);
const CRect kWholeTrack(21, 5, 171, 19);
const CRect kFirstPosition(30, 5, 44, 19);
const CRect kLastPosition(148, 5, 162, 19);
const int kTrackLeft = 29;
const int kTrackRight = 163;
const int kTrackWidth = 134;
const int kThumbWidth = 14;

}  // namespace

BEGIN_MESSAGE_MAP(CMediaSlidingSelector, CWnd)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_COMMAND(SLIDER_CMD_LEFT, OnStepLeft)
    ON_COMMAND(SLIDER_CMD_RIGHT, OnStepRight)
    ON_COMMAND(SLIDER_CMD_NONE, OnNothing)
END_MESSAGE_MAP()

CMediaSlidingSelector::CMediaSlidingSelector()
{
    try {
        m_pBackground = new CDib(480);
    } catch (CException* e) {
        e->Delete();
        m_pBackground = NULL;
    }
    for (CRect& rect : m_rcPositions)
        rect = kFirstPosition;
    m_rcThumb = kFirstPosition;
}

CMediaSlidingSelector::~CMediaSlidingSelector()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pBackground;
}

BOOL CMediaSlidingSelector::Create(CWnd* pParent, int x, int y)
{
    if (g_strSelectorClass.IsEmpty())
        g_strSelectorClass = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS | CS_PARENTDC | CS_BYTEALIGNCLIENT,
                                                 LoadProgramCursor(262, IDC_ARROW));
    return CreateEx(0, g_strSelectorClass, "Media Sliding Selector Control", WS_CHILD | WS_CLIPSIBLINGS,
                    CRect(x, y, x + width, y + height), pParent, 0);
}

CRect CMediaSlidingSelector::GetPositionRect(int nIndex) const
{
    if (nIndex < 0 || nIndex >= maxItems)
        return kFirstPosition;
    return m_rcPositions[nIndex];
}

BOOL CMediaSlidingSelector::SetItems(int nCount, int nPosition)
{
    if (nCount < 2 || nCount > maxItems)
        return FALSE;
    m_nLast = nCount - 1;
    m_nStep = static_cast<UINT>(kTrackWidth - kThumbWidth) / static_cast<UINT>(m_nLast);
    m_nCurrent = nPosition >= 1 && nPosition <= nCount ? nPosition - 1 : 0;
    m_rcPositions[0] = kFirstPosition;
    for (int i = 1; i < maxItems; ++i) {
        const int nLeft = kTrackLeft + static_cast<int>(m_nStep) * i;
        m_rcPositions[i].SetRect(nLeft, 5, nLeft + kThumbWidth, 19);
    }
    m_bDragging = FALSE;
    m_rcThumb = m_rcPositions[m_nCurrent];
    RedrawThumb();
    return TRUE;
}

void CMediaSlidingSelector::Tell()
{
    CMediaGroupChooser* pChooser = m_pChooser;
    if (pChooser == NULL)
        pChooser = dynamic_cast<CMediaGroupChooser*>(GetParent());
    if (pChooser != NULL)
        pChooser->ShowGroupItem(m_nCurrent);
}

void CMediaSlidingSelector::StepBack()
{
    if (m_nCurrent < 1)
        return;
    --m_nCurrent;
    Tell();
    m_rcThumb = m_rcPositions[m_nCurrent];
    RedrawThumb();
}

void CMediaSlidingSelector::StepForward()
{
    if (m_nCurrent == m_nLast)
        return;
    ++m_nCurrent;
    Tell();
    m_rcThumb = m_rcPositions[m_nCurrent];
    RedrawThumb();
}

void CMediaSlidingSelector::OnStepLeft()
{
    StepBack();
}

void CMediaSlidingSelector::OnStepRight()
{
    StepForward();
}

void CMediaSlidingSelector::OnNothing()
{
}

void CMediaSlidingSelector::DrawThumb(CDC* pDC, CRect rect)
{
    if (rect.left <= kTrackLeft)
        rect = kFirstPosition;
    else if (rect.right >= kTrackRight)
        rect = kLastPosition;
    pDC->FillSolidRect(&rect, PALETTERGB(255, 255, 255));
    CBrush frame(PALETTERGB(0, 0, 0));
    pDC->FrameRect(&rect, &frame);
    CString strNumber;
    strNumber.Format("%d", m_nCurrent + 1);
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);
    const COLORREF crOld = pDC->SetTextColor(PALETTERGB(0, 0, 0));
    pDC->DrawText(strNumber, &rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    pDC->SetTextColor(crOld);
    pDC->SetBkMode(nOldMode);
}

void CMediaSlidingSelector::RedrawThumb()
{
    if (GetSafeHwnd() == NULL)
        return;
    if (!m_bDragging)
        m_rcThumb = m_rcPositions[m_nCurrent];
    Invalidate(FALSE);
    UpdateWindow();
}

void CMediaSlidingSelector::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    if (m_pBackground != NULL && !m_pBackground->IsEmpty())
        m_pBackground->Draw(&dc, 0, 0);
    else
        dc.FillSolidRect(&client, RGB(68, 40, 80));
    CFont font;
    font.CreatePointFont(80, "Arial", &dc);
    CFont* pOld = dc.SelectObject(&font);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const COLORREF crOld = dc.SetTextColor(0x02FFFFFF);
    CRect left = kLeftArrow;
    CRect right = kRightArrow;
    CString strLast;
    strLast.Format("%d", m_nLast + 1);
    dc.DrawText("1", &left, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    dc.DrawText(strLast, &right, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    dc.SetTextColor(crOld);
    dc.SetBkMode(nOldMode);
    DrawThumb(&dc, m_bDragging ? m_rcThumb : m_rcPositions[m_nCurrent]);
    dc.SelectObject(pOld);
}

BOOL CMediaSlidingSelector::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CMediaSlidingSelector::OnLButtonDown(UINT, CPoint point)
{
    if (!kWholeTrack.PtInRect(point) || m_nLast < 1)
        return;
    SetActiveWindow();
    m_rcThumb = m_rcPositions[m_nCurrent];
    m_ptDrag = point;
    m_nDragStartIndex = m_nCurrent;
    // The thumb zone follows the drawn thumb; the parts of the track beside it step.
    const CRect thumbZone = m_rcThumb;
    const CRect leftPart(kTrackLeft, 5, m_rcThumb.left, 19);
    const CRect rightPart(m_rcThumb.right, 5, kTrackRight, 19);
    if (kLeftCap.PtInRect(point) && !thumbZone.PtInRect(point)) {
        StepBack();
    } else if (kRightCap.PtInRect(point) && !thumbZone.PtInRect(point)) {
        StepForward();
    } else if (thumbZone.PtInRect(point)) {
        m_bDragging = TRUE;
        SetCapture();
    } else if (rightPart.PtInRect(point)) {
        StepForward();
    } else if (leftPart.PtInRect(point)) {
        StepBack();
    }
}

void CMediaSlidingSelector::OnMouseMove(UINT nFlags, CPoint point)
{
    if (!m_bDragging || !(nFlags & MK_LBUTTON))
        return;
    if (point.y < 5 || point.y > 19)
        return;
    if (m_rcThumb.left >= kFirstPosition.left && m_rcThumb.right <= kLastPosition.right) {
        const int dx = point.x - m_ptDrag.x;
        m_ptDrag = point;
        m_rcThumb.OffsetRect(dx, 0);
        // Each position the thumb's left edge passes becomes current.
        while (m_nCurrent < m_nLast && m_rcThumb.left >= m_rcPositions[m_nCurrent + 1].left) {
            ++m_nCurrent;
            Tell();
        }
        while (m_nCurrent > 0 && m_rcThumb.left <= m_rcPositions[m_nCurrent - 1].left) {
            --m_nCurrent;
            Tell();
        }
    }
    if (m_rcThumb.right >= kTrackRight)
        m_rcThumb = kLastPosition;
    else if (m_rcThumb.left <= kTrackLeft)
        m_rcThumb = kFirstPosition;
    Invalidate(FALSE);
    UpdateWindow();
}

void CMediaSlidingSelector::OnLButtonUp(UINT, CPoint point)
{
    if (GetCapture() == this)
        ReleaseCapture();
    if (!m_bDragging)
        return;
    m_bDragging = FALSE;
    if (!m_rcPositions[m_nCurrent].PtInRect(point) && m_nCurrent != m_nDragStartIndex &&
        !CRect(kTrackLeft, 5, kTrackRight, 19).PtInRect(point)) {
        // Let go outside the track: the picture the drag began with comes back.
        m_nCurrent = m_nDragStartIndex;
        Tell();
    }
    RedrawThumb();
}
