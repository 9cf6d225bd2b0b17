#include "media/CustomDibButton.h"

#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CCustomDibButton, CDibButton)

BEGIN_MESSAGE_MAP(CCustomDibButton, CDibButton)
    ON_WM_WINDOWPOSCHANGING()
END_MESSAGE_MAP()

CCustomDibButton::CCustomDibButton() : CDibButton(TRUE) {}

CCustomDibButton::~CCustomDibButton()
{
    if (m_bOwnsImage)
        delete m_pImage;
    m_pImage = NULL;
}

BOOL CCustomDibButton::SetPosition(int x, int y, int cx, int cy, UINT nFlags)
{
    m_x = x;
    m_y = y;
    m_cx = cx;
    m_cy = cy;
    m_nFlags = nFlags;
    return TRUE;
}

void CCustomDibButton::SetImage(CDib* pImage, BOOL bOwned)
{
    if (m_bOwnsImage && m_pImage != pImage)
        delete m_pImage;
    m_pImage = pImage;
    m_bOwnsImage = bOwned;
}

int CCustomDibButton::GetButtonWidth()
{
    return m_pImage != NULL ? static_cast<int>(m_pImage->GetWidth()) : 0;
}

int CCustomDibButton::GetButtonHeight()
{
    return m_pImage != NULL ? static_cast<int>(m_pImage->GetHeight()) : 0;
}

void CCustomDibButton::OnWindowPosChanging(WINDOWPOS* lpwndpos)
{
    CDibButton::OnWindowPosChanging(lpwndpos);
    if ((lpwndpos->flags & SWP_NOMOVE) == 0) {
        m_x = lpwndpos->x;
        m_y = lpwndpos->y;
    }
    if ((lpwndpos->flags & SWP_NOSIZE) == 0) {
        m_cx = lpwndpos->cx;
        m_cy = lpwndpos->cy;
    }
    // The stored flags rule; what the caller asked not to change (place, size, activation) and
    // showing or hiding stay as asked.
    const UINT nKept = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW | SWP_HIDEWINDOW | SWP_FRAMECHANGED;
    lpwndpos->flags = m_nFlags | (lpwndpos->flags & nKept);
}

void CCustomDibButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    const UINT nState = lpDrawItemStruct->itemState;
    const BOOL bChecked = m_bAlternate;
    struct {
        BOOL bApplies;
        HRSRC hPicture;
    } const rules[] = {
        {(nState & ODS_SELECTED) && bChecked, m_hAltSelected},
        {(nState & ODS_SELECTED) != 0, m_hSelected},
        {(nState & ODS_FOCUS) && bChecked, m_hAltFocused},
        {(nState & ODS_FOCUS) != 0, m_hFocused},
        {(nState & ODS_DISABLED) && bChecked, m_hAltDisabled},
        {(nState & ODS_DISABLED) != 0, m_hDisabled},
        {bChecked, m_hAltNormal},
        {TRUE, m_hNormal},
    };
    for (const auto& rule : rules)
        if (rule.bApplies && rule.hPicture != NULL) {
            DrawPicture(CDC::FromHandle(lpDrawItemStruct->hDC), rule.hPicture);
            return;
        }
}
