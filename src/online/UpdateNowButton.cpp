#include "online/UpdateNowButton.h"

#include "base/PaletteSelector.h"
#include "widgets/Dib.h"

IMPLEMENT_DYNAMIC(CUpdateNowButton, CDibButton)

BEGIN_MESSAGE_MAP(CUpdateNowButton, CDibButton)
    ON_WM_CREATE()
    ON_WM_TIMER()
    ON_WM_DESTROY()
END_MESSAGE_MAP()

CUpdateNowButton::CUpdateNowButton() = default;

int CUpdateNowButton::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CDibButton::OnCreate(lpCreateStruct) == -1)
        return -1;
    SetTimer(animationTimer, animationPeriod, NULL);
    return 0;
}

void CUpdateNowButton::OnTimer(UINT_PTR nIDEvent)
{
    if (nIDEvent != animationTimer) {
        CDibButton::OnTimer(nIDEvent);
        return;
    }
    m_nFrame = (m_nFrame + 1) % cellCount;
    Invalidate();
}

void CUpdateNowButton::OnDestroy()
{
    KillTimer(animationTimer);
    CDibButton::OnDestroy();
}

void CUpdateNowButton::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    if (m_hNormal == NULL)
        return;
    try {
        CDib dib(m_hModule, m_hNormal);
        CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
        CAppPaletteSelector palette(pDC);
        const CRect source(m_nFrame * cellSize, 0, (m_nFrame + 1) * cellSize, cellSize);
        const CRect destination(0, 0, cellSize, cellSize);
        dib.DrawRect(pDC, &destination, &source);
    } catch (CException* e) {
        // A picture that cannot be read leaves the button blank this time.
        e->Delete();
    }
}
