#include "widgets/RollOverButton.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

namespace {

// The roll-over button under the cursor, program-wide.
CRollOverButton* s_pHoverButton = NULL;
// The hover timer's id while it runs (0: not running).
UINT_PTR s_nHoverTimer = 0;
const UINT kHoverPeriod = 500;

}  // namespace

IMPLEMENT_DYNAMIC(CRollOverButton, CDibButton)

BEGIN_MESSAGE_MAP(CRollOverButton, CDibButton)
    ON_WM_MOUSEMOVE()
    ON_WM_LBUTTONUP()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CRollOverButton::CRollOverButton(BOOL bPaletteDC) : CDibButton(bPaletteDC)
{
}

CRollOverButton::~CRollOverButton()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    if (s_pHoverButton == this)
        EndHover();
    FreeHoverDib();
}

void CRollOverButton::FreeHoverDib()
{
    delete m_pHoverDib;
    m_pHoverDib = NULL;
}

BOOL CRollOverButton::LoadDib(UINT nId)
{
    FreeHoverDib();
    m_nHoverId = nId;
    try {
        m_pHoverDib = new CDib(nId);
    } catch (CException* e) {
        e->Delete();
        FreeHoverDib();
        return FALSE;
    }
    return TRUE;
}

BOOL CRollOverButton::LoadStateBitmaps(UINT nNormal, UINT nSelected, UINT nFocused, UINT nDisabled, UINT nAltNormal,
                                       UINT nAltSelected, UINT nAltFocused, UINT nAltDisabled)
{
    FreeHoverDib();
    return CDibButton::LoadStateBitmaps(nNormal, nSelected, nFocused, nDisabled, nAltNormal, nAltSelected, nAltFocused,
                                        nAltDisabled);
}

void CRollOverButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (!(lpDrawItemStruct->itemState & ODS_SELECTED) && s_pHoverButton == this && m_pHoverDib != NULL)
        DrawPicture(CDC::FromHandle(lpDrawItemStruct->hDC), *m_pHoverDib);
    else
        CDibButton::DrawItem(lpDrawItemStruct);
}

CRollOverButton* CRollOverButton::GetHoverButton()
{
    return s_pHoverButton;
}

void CRollOverButton::StartHoverTimer()
{
    if (s_nHoverTimer == 0)
        s_nHoverTimer = ::SetTimer(NULL, 0, kHoverPeriod, &CRollOverButton::HoverTimerProc);
}

void CRollOverButton::EndHover()
{
    s_pHoverButton = NULL;
    if (s_nHoverTimer != 0) {
        ::KillTimer(NULL, s_nHoverTimer);
        s_nHoverTimer = 0;
    }
}

void CRollOverButton::EndHoverOutside(POINT ptScreen)
{
    CRollOverButton* pButton = s_pHoverButton;
    if (pButton == NULL)
        return;
    if (!::IsWindow(pButton->GetSafeHwnd())) {
        EndHover();
        return;
    }
    CRect rect;
    pButton->GetWindowRect(&rect);
    if (!rect.PtInRect(ptScreen)) {
        pButton->Invalidate();
        EndHover();
    }
}

void CALLBACK CRollOverButton::HoverTimerProc(HWND, UINT, UINT_PTR, DWORD)
{
    POINT pt;
    if (s_pHoverButton != NULL && ::GetCursorPos(&pt))
        EndHoverOutside(pt);
}

BOOL CRollOverButton::CheckHoverExit(const MSG* pMsg)
{
    if (pMsg != NULL && pMsg->message == WM_MOUSEMOVE)
        EndHoverOutside(pMsg->pt);
    return FALSE;
}

void CRollOverButton::OnMouseMove(UINT, CPoint)
{
    Default();
    if (s_pHoverButton == this)
        return;
    if (s_pHoverButton != NULL && ::IsWindow(s_pHoverButton->GetSafeHwnd()))
        s_pHoverButton->Invalidate();
    s_pHoverButton = this;
    StartHoverTimer();
    Invalidate();
}

void CRollOverButton::OnLButtonUp(UINT nFlags, CPoint point)
{
    // The click notification may end the parent, and this button with it.
    HWND hWnd = m_hWnd;
    CDibButton::OnLButtonUp(nFlags, point);
    if (!::IsWindow(hWnd))
        return;
    if (s_pHoverButton != NULL)
        EndHover();
    Invalidate();
}

void CRollOverButton::OnDestroy()
{
    Default();
    if (s_pHoverButton == this)
        EndHover();
}
