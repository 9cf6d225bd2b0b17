#include "widgets/PopupMessageBox.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"

namespace {

const int kBoxWidth = 220;
const int kBoxHeight = 150;
const UINT kOKPicture = 551;
const UINT kOKPressedPicture = 550;

}  // namespace

BEGIN_MESSAGE_MAP(CPopupMessageBox, CGenericTabWinDialog)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CPopupMessageBox::CPopupMessageBox(LPCSTR lpszText, LPCSTR lpszTitle, const POINT* pPosition)
    : CGenericTabWinDialog(lpszTitle), m_strText(lpszText), m_bHasPosition(pPosition != NULL)
{
    if (pPosition != NULL)
        m_ptPosition = *pPosition;
}

CPopupMessageBox::~CPopupMessageBox()
{
    if (m_btnOK.GetSafeHwnd() != NULL)
        m_btnOK.DestroyWindow();
}

BOOL CPopupMessageBox::CreateControls()
{
    InitControls();
    CPoint position = m_ptPosition;
    if (!m_bHasPosition) {
        CRect over(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        if (CWnd* pMain = GetAppMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL)
            pMain->GetWindowRect(&over);
        position.SetPoint(over.left + (over.Width() - kBoxWidth) / 2, over.top + (over.Height() - kBoxHeight) / 2);
    }
    SetWindowPos(NULL, position.x, position.y, kBoxWidth, kBoxHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    // The box stays usable (closing it answers) when the button cannot be made.
    if (!m_btnOK.Create("OK", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 10), this, IDOK) ||
        !m_btnOK.LoadStateBitmaps(kOKPicture, kOKPressedPicture))
        return TRUE;
    m_btnOK.SizeToBitmap();
    CRect button, client;
    m_btnOK.GetWindowRect(&button);
    GetClientRect(&client);
    // Centred under the message, which is centred across the client area.
    m_btnOK.SetWindowPos(NULL, (client.Width() - button.Width()) / 2, 80, 0, 0,
                         SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
    return TRUE;
}

void CPopupMessageBox::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    if (m_strText.IsEmpty())
        return;
    CRect client;
    GetClientRect(&client);
    CRect band(0, 10, client.Width(), 70);
    dc.SetBkMode(TRANSPARENT);
    dc.DrawText(m_strText, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
}
