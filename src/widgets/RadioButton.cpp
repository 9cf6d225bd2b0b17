#include "widgets/RadioButton.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

namespace {

// The disabled look's colour: entry 7 of the application palette.
const COLORREF kDisabledColor = PALETTEINDEX(7);
// The caption starts this far right of the indicator (and 40 more when indented).
const int kCaptionGap = 4;
const int kIndent = 40;
// The top bit of a creation style asks for the indent.
const DWORD kIndentStyle = 0x80000000;

}  // namespace

IMPLEMENT_DYNAMIC(CRadioButton, CDibButton)

BEGIN_MESSAGE_MAP(CRadioButton, CDibButton)
    ON_WM_CREATE()
    ON_MESSAGE(VLM_RADIO_CHECKED, OnRadioChecked)
    ON_MESSAGE(VLM_RADIO_WHO_IS_CHECKED, OnWhoIsChecked)
END_MESSAGE_MAP()

CRadioButton::CRadioButton() : CDibButton(FALSE), m_pBackground(new CBrush(RGB(255, 255, 255)))
{
}

CRadioButton::~CRadioButton()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pBackground;
}

BOOL CRadioButton::Create(LPCSTR lpszCaption, DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    DWORD dwType = dwStyle & BS_TYPEMASK;
    m_bRadio = dwType == BS_RADIOBUTTON || dwType == BS_AUTORADIOBUTTON;
    m_ptCreated = CPoint(rect.left, rect.top);
    if (dwStyle & kIndentStyle) {
        dwStyle &= ~kIndentStyle;
        m_bIndent = TRUE;
    }
    // Radio or check box is this object's business; the window is an owner-drawn button.
    dwStyle = (dwStyle & ~static_cast<DWORD>(BS_TYPEMASK)) | BS_OWNERDRAW | WS_CLIPSIBLINGS;
    return CButton::Create(lpszCaption, dwStyle, rect, pParentWnd, nID);
}

int CRadioButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CDibButton::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

void CRadioButton::SetBackgroundColor(COLORREF crColor)
{
    delete m_pBackground;
    m_pBackground = new CBrush(crColor);
}

CFont* CRadioButton::WindowFont() const
{
    HFONT hFont = reinterpret_cast<HFONT>(SendMessage(WM_GETFONT));
    return hFont != NULL ? CFont::FromHandle(hFont) : NULL;
}

CString CRadioButton::Caption() const
{
    CString strCaption;
    GetWindowText(strCaption);
    return strCaption;
}

int CRadioButton::CaptionLeft() const
{
    return m_nIndicatorWidth + kCaptionGap + (m_bIndent ? kIndent : 0);
}

void CRadioButton::GetIdealSize(SIZE* pSize)
{
    CClientDC dc(this);
    CFont* pOldFont = WindowFont() != NULL ? dc.SelectObject(WindowFont()) : NULL;
    CSize extent = dc.GetTextExtent(Caption());
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
    CRect client;
    GetClientRect(&client);
    pSize->cx = extent.cx + client.Height() + 6;
    pSize->cy = client.Height();
}

void CRadioButton::MeasureIndicator(const DRAWITEMSTRUCT& item)
{
    if (!m_bRadio) {
        m_nIndicatorWidth = m_nIndicatorHeight = item.rcItem.bottom - item.rcItem.top;
        return;
    }
    if (m_nIndicatorWidth != 0 || m_hNormal == NULL)
        return;
    try {
        CDib dib(m_hModule, m_hNormal);
        m_nIndicatorWidth = dib.GetWidth();
        m_nIndicatorHeight = dib.GetHeight();
    } catch (CException* e) {
        e->Delete();
    }
}

void CRadioButton::DrawCheckFrame(CDC* pDC, BOOL bDisabled)
{
    CBrush frame(bDisabled ? kDisabledColor : PALETTERGB(0, 0, 0));
    CRect box(0, 0, m_nIndicatorWidth, m_nIndicatorHeight);
    pDC->FrameRect(&box, &frame);
    pDC->FillSolidRect(1, 1, m_nIndicatorWidth - 2, m_nIndicatorHeight - 2, RGB(255, 255, 255));
}

void CRadioButton::DrawCross(CDC* pDC)
{
    pDC->MoveTo(0, 0);
    pDC->LineTo(m_nIndicatorWidth, m_nIndicatorHeight);
    pDC->MoveTo(0, m_nIndicatorHeight - 1);
    pDC->LineTo(m_nIndicatorWidth - 1, 0);
}

void CRadioButton::DrawWhole(CDC* pDC, const DRAWITEMSTRUCT& item)
{
    pDC->SetBkMode(TRANSPARENT);
    MeasureIndicator(item);
    // The window erases nothing itself: its whole face takes the ground first, else the parts
    // beside and below the indicator and after the caption keep what the screen showed there.
    pDC->FillRect(&item.rcItem, m_pBackground);
    BOOL bDisabled = (item.itemState & ODS_DISABLED) != 0;
    CPen grey;
    CPen* pOldPen = NULL;
    if (bDisabled) {
        grey.CreatePen(PS_SOLID, 1, kDisabledColor);
        pOldPen = pDC->SelectObject(&grey);
        pDC->SetTextColor(kDisabledColor);
    }
    if (m_bRadio) {
        DrawPicture(pDC, m_bChecked && m_hSelected != NULL ? m_hSelected : m_hNormal);
    } else {
        DrawCheckFrame(pDC, bDisabled);
        if (m_bChecked)
            DrawCross(pDC);
    }
    CString strCaption = Caption();
    CFont* pOldFont = WindowFont() != NULL ? pDC->SelectObject(WindowFont()) : NULL;
    CSize extent = pDC->GetTextExtent(strCaption);
    int x = CaptionLeft();
    int y = (item.rcItem.bottom - item.rcItem.top - extent.cy) / 2;
    CRect captionRect(x, y, x + extent.cx, y + extent.cy);
    pDC->FillRect(&captionRect, m_pBackground);
    pDC->TextOut(x, y, strCaption);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
    if (pOldPen != NULL)
        pDC->SelectObject(pOldPen);
}

void CRadioButton::DrawSelection(CDC* pDC, const DRAWITEMSTRUCT& item)
{
    if (!(item.itemState & ODS_SELECTED) || m_bPressHandled)
        return;
    m_bPressHandled = TRUE;
    MeasureIndicator(item);
    CWnd* pParent = GetParent();
    if (m_bRadio && m_bChecked) {
        // Stays checked unless another radio of the form is checked too.
        CRadioButton* pChecked = NULL;
        if (pParent != NULL) {
            pParent->SendMessageToDescendants(VLM_RADIO_WHO_IS_CHECKED, 0, reinterpret_cast<LPARAM>(&pChecked), TRUE);
            pParent->PostMessage(VLM_RADIO_WHO_IS_CHECKED, 0, 0);
        }
        if (pChecked != NULL && pChecked != this) {
            DrawPicture(pDC, m_hNormal);
            m_bChecked = FALSE;
        }
    } else if (m_bRadio) {
        DrawPicture(pDC, m_hSelected != NULL ? m_hSelected : m_hNormal);
        m_bChecked = TRUE;
        if (pParent != NULL) {
            pParent->SendMessageToDescendants(VLM_RADIO_CHECKED, 0, reinterpret_cast<LPARAM>(this), TRUE);
            pParent->PostMessage(VLM_RADIO_CHECKED, 0, reinterpret_cast<LPARAM>(this));
        }
    } else {
        BOOL bDisabled = (item.itemState & ODS_DISABLED) != 0;
        DrawCheckFrame(pDC, bDisabled);
        if (!m_bChecked)
            DrawCross(pDC);
        m_bChecked = !m_bChecked;
    }
}

void CRadioButton::DrawFocus(CDC* pDC, const DRAWITEMSTRUCT& item)
{
    CString strCaption = Caption();
    if (strCaption.IsEmpty())
        return;
    CFont* pOldFont = WindowFont() != NULL ? pDC->SelectObject(WindowFont()) : NULL;
    CSize extent = pDC->GetTextExtent(strCaption);
    if (pOldFont != NULL)
        pDC->SelectObject(pOldFont);
    int left = CaptionLeft();
    int right = left + extent.cx + 4;
    if (right > item.rcItem.right)
        right = item.rcItem.right;
    CRect focus(left, item.rcItem.top, right, item.rcItem.bottom);
    pDC->DrawFocusRect(&focus);
}

void CRadioButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const DRAWITEMSTRUCT& item = *lpDrawItemStruct;
    CDC* pDC = CDC::FromHandle(item.hDC);
    CAppPaletteSelector palette(pDC);
    if (!(item.itemState & ODS_SELECTED))
        m_bPressHandled = FALSE;
    if (item.itemID == static_cast<UINT>(-1)) {
        DrawFocus(pDC, item);
        return;
    }
    switch (item.itemAction) {
    case ODA_DRAWENTIRE:
        DrawWhole(pDC, item);
        if (item.itemState & ODS_SELECTED)
            DrawSelection(pDC, item);
        if (item.itemState & ODS_FOCUS)
            DrawFocus(pDC, item);
        break;
    case ODA_SELECT:
        DrawSelection(pDC, item);
        break;
    case ODA_FOCUS:
        DrawFocus(pDC, item);
        break;
    default:
        break;
    }
}

LRESULT CRadioButton::OnRadioChecked(WPARAM, LPARAM lParam)
{
    if (m_bRadio && reinterpret_cast<CRadioButton*>(lParam) != this && m_bChecked) {
        m_bChecked = FALSE;
        Invalidate();
        return 1;
    }
    return 0;
}

LRESULT CRadioButton::OnWhoIsChecked(WPARAM, LPARAM lParam)
{
    if (m_bRadio && m_bChecked) {
        if (auto** ppChecked = reinterpret_cast<CRadioButton**>(lParam))
            *ppChecked = this;
        return 1;
    }
    return 0;
}
