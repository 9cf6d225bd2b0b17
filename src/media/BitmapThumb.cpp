#include "media/BitmapThumb.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CBitmapThumb, CThumbnail)

BEGIN_MESSAGE_MAP(CBitmapThumb, CThumbnail)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
END_MESSAGE_MAP()

namespace {

const int kNoPictureSize = 100;

}  // namespace

CBitmapThumb::CBitmapThumb(CDib* pPicture, CReference* pReference, const CString* pCaption) : m_pPicture(pPicture)
{
    if (pReference != NULL)
        m_pReference = pReference->Clone();
    if (pCaption != NULL) {
        m_strCaption = *pCaption;
        m_strDescription = *pCaption;
    }
    m_nBoxLeft = 0;
    m_nBoxTop = 0;
    if (m_pPicture != NULL && !m_pPicture->IsEmpty()) {
        m_nBoxHeight = static_cast<int>(m_pPicture->GetHeight()) + 4;
        m_nBoxWidth = static_cast<int>(m_pPicture->GetWidth()) + 4;
    } else {
        m_nBoxHeight = kNoPictureSize;
        m_nBoxWidth = kNoPictureSize;
    }
}

CBitmapThumb::~CBitmapThumb()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pPicture;
    m_pPicture = NULL;
}

BOOL CBitmapThumb::CreateAt(CWnd* pParent, int x, int y)
{
    return Create(pParent, CRect(x, y, x + m_nBoxWidth, y + m_nBoxHeight));
}

BOOL CBitmapThumb::CreateDefault(CWnd* pParent)
{
    return Create(pParent, CRect(100, 100, 200, 200));
}

void CBitmapThumb::Render(CDC* pDC)
{
    CRect rectClient;
    GetClientRect(&rectClient);
    CRect rectThumb(0, 0, m_nBoxWidth, m_nBoxHeight);
    pDC->FillSolidRect(&rectClient, PALETTEINDEX(30));
    if (m_pPicture != NULL && !m_pPicture->IsEmpty()) {
        m_pPicture->Draw(pDC, 2, 2);
        if (m_pReference != NULL && m_pReference->GetDisc() == 2) {
            try {
                CDib badge;
                badge.LoadFromResourceId(BITMAPTHUMB_DISC2_BADGE);
                const int x = 2 + static_cast<int>(m_pPicture->GetWidth() - badge.GetWidth());
                const int y = 2 + static_cast<int>(m_pPicture->GetHeight() - badge.GetHeight());
                badge.DrawTransparent(pDC, x, y, RGB(255, 255, 255));
            } catch (CException* e) {
                e->Delete();  // the badge is left out
            }
        }
    } else {
        // No picture: the caption, word-wrapped, on white.
        CRect rectText = rectThumb;
        rectText.DeflateRect(2, 2);
        pDC->FillSolidRect(&rectText, PALETTERGB(255, 255, 255));
        rectText.DeflateRect(4, 4);
        pDC->SetBkMode(TRANSPARENT);
        CFont font;
        font.CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Arial");
        CFont* pOld = pDC->SelectObject(&font);
        pDC->DrawText(m_strCaption, &rectText, DT_WORDBREAK | DT_NOPREFIX);
        pDC->SelectObject(pOld);
    }
}

BOOL CBitmapThumb::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

void CBitmapThumb::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect rectClient;
    GetClientRect(&rectClient);
    CDC memoryDC;
    CBitmap bitmap;
    if (!memoryDC.CreateCompatibleDC(&dc) ||
        !bitmap.CreateCompatibleBitmap(&dc, rectClient.Width(), rectClient.Height())) {
        Render(&dc);
        return;
    }
    CBitmap* pOldBitmap = memoryDC.SelectObject(&bitmap);
    {
        CAppPaletteSelector memoryPalette(&memoryDC, TRUE);
        Render(&memoryDC);
    }
    dc.BitBlt(0, 0, rectClient.Width(), rectClient.Height(), &memoryDC, 0, 0, SRCCOPY);
    memoryDC.SelectObject(pOldBitmap);
}
