#include "widgets/DibWin.h"

#include "base/PaletteSelector.h"

BEGIN_MESSAGE_MAP(CDibWin, CWnd)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CDibWin::CDibWin() = default;

CDibWin::~CDibWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

void CDibWin::SizeToDib()
{
    CRect rect(0, 0, m_dib.GetWidth(), m_dib.GetHeight());
    ::AdjustWindowRectEx(&rect, GetStyle(), FALSE, GetExStyle());
    SetWindowPos(NULL, 0, 0, rect.Width(), rect.Height(), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void CDibWin::OnPaint()
{
    CPaintDC dc(this);
    if (m_dib.IsEmpty())
        return;
    HPALETTE hPalette = m_dib.CreatePalette();
    if (hPalette == NULL) {
        m_dib.Draw(&dc, 0, 0);
        return;
    }
    {
        CPaletteSelector palette(&dc, hPalette, TRUE);
        m_dib.Draw(&dc, 0, 0);
    }
    ::DeleteObject(hPalette);
}
