#include "shell/CreditsWin.h"

#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/PaletteSelector.h"
#include "widgets/Dib.h"
#include "widgets/MiniArtThumb.h"

#include "resource.h"

const char CCreditsWin::s_szCreditsPage[] = "vl00crd.htm";
const char CCreditsWin::s_szAcknowledgmentsPage[] = "vl00ack.htm";

namespace {

// The picture whose size every button has.
const UINT kButtonSizePicture = 189;

struct BUTTON_PICTURES {
    UINT nCommand;
    LPCSTR lpszName;
    UINT nNormal, nSelected, nFocused, nDisabled, nHover;
};
// Acknowledgments, Credits, Close, Back.
const BUTTON_PICTURES kButtons[4] = {
    {ID_CREDITS_ACKNOWLEDGMENTS, "Acknowledgments", 484, 481, 482, 484, 483},
    {ID_CREDITS_CREDITS, "Credits", 497, 494, 495, 497, 496},
    {ID_CREDITS_CLOSE, "Close", 493, 490, 491, 493, 492},
    {ID_CREDITS_BACK, "Back", 501, 498, 499, 501, 500},
};
const int kBack = 3;

const char kNotice[] =
    "Copyright \xA9 1999 Veltra Publishing Ltd. All rights reserved. Veltra, Veltra Jubilee and the "
    "Veltra globe are trademarks of Veltra Publishing Ltd.";
const char kPartnerNotice[] =
    "Text retrieval technology copyright \xA9 1997-1999 Quillon Systems. Quillon is a trademark of "
    "Quillon Systems. Restricted rights: use, duplication or disclosure is subject to the "
    "restrictions of the licence agreement that came with this product.";

const COLORREF kGround = PALETTERGB(198, 198, 222);

}  // namespace

BEGIN_MESSAGE_MAP(CCreditsWin, CGenericTabWinDialog)
    ON_WM_CREATE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_SIZE()
    ON_WM_LBUTTONUP()
    ON_COMMAND(ID_CREDITS_ACKNOWLEDGMENTS, OnAcknowledgments)
    ON_COMMAND(ID_CREDITS_CREDITS, OnCredits)
    ON_COMMAND(ID_CREDITS_CLOSE, OnCloseButton)
    ON_COMMAND(ID_CREDITS_BACK, OnBack)
END_MESSAGE_MAP()

CCreditsWin::CCreditsWin() : CGenericTabWinDialog("About Veltra Jubilee 2000") {}

CCreditsWin::~CCreditsWin()
{
    for (CRollOverButton& button : m_buttons)
        if (button.GetSafeHwnd() != NULL)
            button.DestroyWindow();
    for (CMiniArtThumb* pBox : {m_pCreditsBox, m_pAcknowledgmentsBox}) {
        if (pBox != NULL && pBox->GetSafeHwnd() != NULL)
            pBox->DestroyWindow();
        delete pBox;
    }
}

int CCreditsWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWinDialog::OnCreate(lpCreateStruct) == -1 || m_bCreateFailed)
        return -1;
    return 0;
}

BOOL CCreditsWin::CreateControls()
{
    InitControls();
    try {
        CDib sizePicture;
        sizePicture.LoadFromResourceId(kButtonSizePicture);
        m_sizeButton.SetSize(sizePicture.GetWidth(), sizePicture.GetHeight());
    } catch (CResourceException* e) {
        e->Delete();
    }
    for (int i = 0; i < 4; ++i) {
        const BUTTON_PICTURES& pictures = kButtons[i];
        CRollOverButton& button = m_buttons[i];
        if (!button.Create(pictures.lpszName, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW,
                           CRect(0, 0, m_sizeButton.cx, m_sizeButton.cy), this, pictures.nCommand))
            continue;
        button.LoadStateBitmaps(pictures.nNormal, pictures.nSelected, pictures.nFocused, pictures.nDisabled);
        button.LoadDib(pictures.nHover);
    }
    if (m_buttons[kBack].GetSafeHwnd() != NULL)
        m_buttons[kBack].ShowWindow(SW_HIDE);

    SetWindowPos(&wndTop, 0, 0, m_sizeNormal.cx, m_sizeNormal.cy, SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOACTIVATE);
    CentreOnDesktop();

    CString strFolder;
    if (!GetDataDir(strFolder, DDT_INFO_DAT11, 1, TRUE)) {
        m_bCreateFailed = TRUE;
        return FALSE;
    }
    m_pCreditsBox = MakePageBox(strFolder + s_szCreditsPage);
    m_pAcknowledgmentsBox = m_pCreditsBox != NULL ? MakePageBox(strFolder + s_szAcknowledgmentsPage) : NULL;
    if (m_pCreditsBox == NULL || m_pAcknowledgmentsBox == NULL) {
        m_bCreateFailed = TRUE;
        return FALSE;
    }
    Layout();
    return TRUE;
}

CMiniArtThumb* CCreditsWin::MakePageBox(const CString& strPath)
{
    CString strText;
    try {
        CFile file(strPath, CFile::modeRead | CFile::shareDenyNone);
        const UINT nLength = static_cast<UINT>(file.GetLength());
        LPSTR pBuffer = strText.GetBuffer(static_cast<int>(nLength));
        const UINT nRead = file.Read(pBuffer, nLength);
        strText.ReleaseBuffer(static_cast<int>(nRead));
    } catch (CException* e) {
        e->Delete();
        return NULL;
    }
    CMiniArtThumb* pBox = new CMiniArtThumb(TRUE);
    pBox->SetBkColor(PALETTERGB(255, 255, 255));
    if (!pBox->Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_VSCROLL, CRect(0, 0, 0, 0), this)) {
        delete pBox;
        return NULL;
    }
    pBox->SetText(strText);
    pBox->ShowWindow(SW_HIDE);
    return pBox;
}

void CCreditsWin::CentreOnDesktop()
{
    CRect window;
    GetWindowRect(&window);
    const int cxScreen = ::GetSystemMetrics(SM_CXSCREEN);
    const int cyScreen = ::GetSystemMetrics(SM_CYSCREEN);
    SetWindowPos(NULL, (cxScreen - window.Width()) / 2, (cyScreen - window.Height()) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CCreditsWin::OnEraseBkgnd(CDC* pDC)
{
    CAppPaletteSelector palette(pDC);
    CRect client;
    GetClientRect(&client);
    pDC->FillSolidRect(&client, kGround);
    return TRUE;
}

void CCreditsWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, kGround);

    CFont font;
    font.CreatePointFont(90, "Times New Roman", &dc);
    CFont* pOldFont = dc.SelectObject(&font);
    dc.SetBkMode(TRANSPARENT);
    dc.SetTextColor(RGB(0, 0, 0));

    CString strTitle;
    strTitle.LoadString(IDS_APP_TITLE);
    CRect title(client.left, client.top + kTopBand, client.right, client.top + 2 * kTopBand);
    dc.DrawText(strTitle, &title, DT_CENTER | DT_VCENTER | DT_SINGLELINE);

    CRect notice(client.left + kSideMargin, title.bottom + 5, client.right - kTopBand, title.bottom + 5);
    dc.DrawText(kNotice, -1, &notice, DT_WORDBREAK | DT_CALCRECT);
    notice.right = client.right - kTopBand;
    dc.DrawText(kNotice, -1, &notice, DT_WORDBREAK);
    CRect partner(notice.left, notice.bottom + 10, notice.right, notice.bottom + 10 + 80);
    dc.DrawText(kPartnerNotice, -1, &partner, DT_WORDBREAK);

    if (m_bEnlarged) {
        dc.SetTextColor(PALETTEINDEX(58));
        CPen pen(PS_SOLID, 1, PALETTEINDEX(58));
        CPen* pOldPen = dc.SelectObject(&pen);
        HGDIOBJ hOldBrush = ::SelectObject(dc.GetSafeHdc(), ::GetStockObject(NULL_BRUSH));
        CRect box = m_rectHeading;
        box.InflateRect(1, 1);
        dc.Rectangle(&box);
        ::SelectObject(dc.GetSafeHdc(), hOldBrush);
        dc.SelectObject(pOldPen);
        CRect band(client.left + 170, m_rectHeading.top + 2, client.right - 170, m_rectHeading.top + 22);
        dc.DrawText(m_strHeading, &band, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
    } else {
        for (CMiniArtThumb* pBox : {m_pCreditsBox, m_pAcknowledgmentsBox})
            if (pBox != NULL && pBox->GetSafeHwnd() != NULL && pBox->IsWindowVisible())
                pBox->ShowWindow(SW_HIDE);
    }
    dc.SelectObject(pOldFont);
}

void CCreditsWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWinDialog::OnSize(nType, cx, cy);
    CentreOnDesktop();
    Layout();
}

void CCreditsWin::Layout()
{
    if (GetSafeHwnd() == NULL)
        return;
    CRect client;
    GetClientRect(&client);
    const int cxButton = m_sizeButton.cx;
    const int cyButton = m_sizeButton.cy;
    const int nGap = (client.Width() - 3 * cxButton) / 4;
    const int nTop = m_sizeNormal.cy - cyButton - kSideMargin - kTopBand;
    for (int i = 0; i < 3; ++i)
        if (m_buttons[i].GetSafeHwnd() != NULL)
            m_buttons[i].SetWindowPos(NULL, (i + 1) * nGap + i * cxButton, nTop, cxButton, cyButton,
                                      SWP_NOZORDER | SWP_NOACTIVATE);
    // The heading sits between the button row and the page.
    m_rectHeading.SetRect(client.left + 170, nTop + cyButton + 2, client.right - 170, m_sizeNormal.cy - kTopBand - 2);
    if (m_buttons[kBack].GetSafeHwnd() != NULL) {
        if (m_bEnlarged)
            m_buttons[kBack].SetWindowPos(NULL, client.right - kSideMargin - cxButton, client.bottom - cyButton,
                                          cxButton, cyButton, SWP_NOZORDER | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        else
            m_buttons[kBack].ShowWindow(SW_HIDE);
    }
    if (!m_bEnlarged)
        return;
    m_rectPage.SetRect(client.left + 27, client.top + m_sizeNormal.cy - kTopBand, client.right - 27,
                       client.bottom - cyButton - 2);
    for (CMiniArtThumb* pBox : {m_pCreditsBox, m_pAcknowledgmentsBox})
        if (pBox != NULL && pBox->GetSafeHwnd() != NULL)
            pBox->MoveWindow(&m_rectPage);
}

void CCreditsWin::Enlarge()
{
    ShowWindow(SW_HIDE);
    m_bEnlarged = TRUE;
    CRect window;
    GetWindowRect(&window);
    SetWindowPos(&wndTop, 0, 0, window.Width(), ::GetSystemMetrics(SM_CYSCREEN) - 60, SWP_NOMOVE | SWP_NOACTIVATE);
    CentreOnDesktop();
}

void CCreditsWin::ShowPage(LPCSTR lpszHeading, CMiniArtThumb* pShow, CMiniArtThumb* pHide)
{
    m_strHeading = lpszHeading;
    if (!m_bEnlarged)
        Enlarge();
    CRect heading = m_rectHeading;
    heading.InflateRect(2, 2);
    InvalidateRect(&heading);
    if (pHide != NULL && pHide->GetSafeHwnd() != NULL)
        pHide->ShowWindow(SW_HIDE);
    if (pShow != NULL && pShow->GetSafeHwnd() != NULL)
        pShow->ShowWindow(SW_SHOW);
    if (!IsWindowVisible())
        ShowWindow(SW_SHOW);
}

void CCreditsWin::OnAcknowledgments()
{
    ShowPage("Acknowledgments", m_pAcknowledgmentsBox, m_pCreditsBox);
}

void CCreditsWin::OnCredits()
{
    ShowPage("Credits", m_pCreditsBox, m_pAcknowledgmentsBox);
}

void CCreditsWin::OnCloseButton()
{
    EndTabDialog(IDCANCEL);
}

void CCreditsWin::OnBack()
{
    m_bEnlarged = FALSE;
    for (CMiniArtThumb* pBox : {m_pCreditsBox, m_pAcknowledgmentsBox})
        if (pBox != NULL && pBox->GetSafeHwnd() != NULL)
            pBox->ShowWindow(SW_HIDE);
    SetWindowPos(NULL, 0, 0, m_sizeNormal.cx, m_sizeNormal.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    CentreOnDesktop();
    Layout();
    Invalidate();
}

void CCreditsWin::OnLButtonUp(UINT nFlags, CPoint point)
{
    ::ReleaseCapture();
    CGenericTabWinDialog::OnLButtonUp(nFlags, point);
}
