#include "media/MediaListThumbnail.h"

#include "base/PaletteSelector.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CMediaListThumbnail, CCustomDibButton)

BEGIN_MESSAGE_MAP(CMediaListThumbnail, CCustomDibButton)
    ON_WM_CREATE()
    ON_WM_LBUTTONDOWN()
    ON_WM_LBUTTONDBLCLK()
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
END_MESSAGE_MAP()

namespace {

// The frames' places in the frame array.
enum { frameNormal = 1, frameTall = 2, framePressed = 3, frameHover = 4 };

}  // namespace

CMediaListThumbnail::CMediaListThumbnail(CDib* pPicture, DWORD dwItemValue, int nIndex)
    : m_dwItemValue(dwItemValue), m_nIndex(nIndex), m_pPicture(pPicture)
{
    const UINT ids[] = {MEDIALIST_FRAME_NORMAL, MEDIALIST_FRAME_TALL, MEDIALIST_FRAME_PRESSED, MEDIALIST_FRAME_HOVER};
    for (int i = 0; i < 4; ++i) {
        try {
            m_frames[frameNormal + i].LoadFromResourceId(ids[i]);
        } catch (CException* e) {
            e->Delete();  // drawn without that frame
        }
    }
    if (m_pPicture != NULL && !m_pPicture->IsEmpty()) {
        m_nPictureHeight = static_cast<int>(m_pPicture->GetHeight());
        m_nPictureWidth = static_cast<int>(m_pPicture->GetWidth());
    }
    m_sizePicture = CSize(m_nPictureWidth, m_nPictureHeight);
    SetImage(m_pPicture, FALSE);
}

CMediaListThumbnail::~CMediaListThumbnail()
{
    SetImage(NULL, FALSE);
    delete m_pPicture;
    m_pPicture = NULL;
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

CPoint CMediaListThumbnail::GetPictureOffset() const
{
    const CDib& frame = m_frames[frameNormal];
    const int nFrameWidth = frame.IsEmpty() ? 45 : static_cast<int>(frame.GetWidth());
    const int nFrameHeight = frame.IsEmpty() ? 33 : static_cast<int>(frame.GetHeight());
    // A picture larger than the frame is placed at its top-left corner.
    return CPoint(std::max(0, (nFrameWidth - m_nPictureWidth) / 2 - 2), std::max(0, (nFrameHeight - m_nPictureHeight) / 2));
}

void CMediaListThumbnail::ComposeImage(CDC* pDC, CBitmap& bitmap, const CDib& frame, BOOL bShrunk)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    bitmap.DeleteObject();
    if (!bitmap.CreateCompatibleBitmap(pDC, rectClient.Width(), rectClient.Height()))
        return;
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(pDC))
        return;
    CBitmap* pOld = memoryDC.SelectObject(&bitmap);
    {
        CAppPaletteSelector palette(&memoryDC, TRUE);
        memoryDC.FillSolidRect(&rectClient, PALETTEINDEX(30));
        if (!frame.IsEmpty())
            frame.Draw(&memoryDC, 0, 0);
        if (m_pPicture != NULL && !m_pPicture->IsEmpty()) {
            const CPoint offset = GetPictureOffset();
            if (bShrunk)
                m_pPicture->DrawStretched(&memoryDC, offset.x + 2, offset.y + 2, m_nPictureWidth - 4,
                                          m_nPictureHeight - 4);
            else
                m_pPicture->Draw(&memoryDC, offset.x, offset.y);
        }
    }
    memoryDC.SelectObject(pOld);
}

void CMediaListThumbnail::BuildStateImages(CDC* pDC)
{
    ComposeImage(pDC, m_bmNormal, m_frames[frameNormal], FALSE);
    ComposeImage(pDC, m_bmPressed, m_frames[framePressed], TRUE);
    ComposeImage(pDC, m_bmHover, m_frames[frameHover], FALSE);
}

int CMediaListThumbnail::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CCustomDibButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    if (m_cx > 0 && m_cy > 0)
        SetWindowPos(NULL, m_x, m_y, m_cx, m_cy, m_nFlags);
    {
        CClientDC dc(this);
        CAppPaletteSelector palette(&dc);
        BuildStateImages(&dc);
    }
    ShowWindow(SW_SHOWNA);
    return 0;
}

void CMediaListThumbnail::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const UINT nState = lpDrawItemStruct->itemState;
    CBitmap* pImage = NULL;
    if ((nState & ODS_SELECTED) && m_bAlternate && m_bmSelectedAlternate.GetSafeHandle() != NULL)
        pImage = &m_bmSelectedAlternate;
    else if ((nState & ODS_SELECTED) && m_bmSelected.GetSafeHandle() != NULL)
        pImage = &m_bmSelected;
    else if (nState & (ODS_SELECTED | ODS_FOCUS))
        pImage = &m_bmPressed;  // a held-down button shows the pressed look too
    else if (!m_bAlternate && GetCapture() == this && m_bmHover.GetSafeHandle() != NULL)
        pImage = &m_bmHover;
    else
        pImage = &m_bmNormal;
    if (pImage->GetSafeHandle() == NULL)
        return;
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    CDC memoryDC;
    if (!memoryDC.CreateCompatibleDC(pDC))
        return;
    CBitmap* pOld = memoryDC.SelectObject(pImage);
    CRect rectClient;
    GetClientRect(&rectClient);
    pDC->BitBlt(0, 0, rectClient.Width(), rectClient.Height(), &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(pOld);
}

CMediaListStrip* CMediaListThumbnail::GetStrip() const
{
    CWnd* pParent = GetParent();
    CWnd* pStrip = pParent != NULL ? pParent->GetParent() : NULL;
    return dynamic_cast<CMediaListStrip*>(pStrip);
}

void CMediaListThumbnail::OnLButtonDown(UINT, CPoint)
{
    if (CMediaListStrip* pStrip = GetStrip()) {
        pStrip->SelectMediaItem(m_nIndex);
        if (CDibButton* pAction = pStrip->GetActionButton())
            pAction->SetAlternate(TRUE);
    }
    Default();
}

void CMediaListThumbnail::OnLButtonDblClk(UINT, CPoint)
{
    if (CMediaListStrip* pStrip = GetStrip())
        pStrip->OpenMediaItem(m_nIndex);
    Default();
}

void CMediaListThumbnail::OnMouseMove(UINT nFlags, CPoint point)
{
    CCustomDibButton::OnMouseMove(nFlags, point);
    CRect rectClient;
    GetClientRect(&rectClient);
    if (GetCapture() != this) {
        m_bHover = TRUE;
        SetCapture();
        Invalidate(FALSE);
    } else if (!rectClient.PtInRect(point)) {
        m_bHover = FALSE;
        ::ReleaseCapture();
        Invalidate(FALSE);
    }
}

void CMediaListThumbnail::OnLButtonUp(UINT, CPoint point)
{
    Default();
    CRect rectClient;
    GetClientRect(&rectClient);
    m_bHover = rectClient.PtInRect(point);
    ::ReleaseCapture();
    Invalidate(FALSE);
}
