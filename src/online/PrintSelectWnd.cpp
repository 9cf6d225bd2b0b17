#include "online/PrintSelectWnd.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"

namespace {

const int kWidth = 260;
const int kHeight = 290;
const CPoint kPosition(10, 50);
const UINT kCancelPicture = 553, kCancelPressedPicture = 552;
const UINT kPrintPicture = 555, kPrintPressedPicture = 554;
const CPoint kCancelAt(18, 213);
const CPoint kPrintAt(130, 213);
const DWORD kOptionStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_AUTOCHECKBOX;
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | BS_OWNERDRAW;
// The band of the window's colour along the client edges.
const int kBand = 8;

}  // namespace

const CPrintSelectWnd::Option CPrintSelectWnd::s_options[kOptionCount] = {
    {" ENTIRE ARTICLE", PRINTSEL_ENTIRE_ARTICLE, {25, 32, 230, 46}, TRUE, FALSE, 0x1, 0x200},
    {" CURRENT SECTION", PRINTSEL_CURRENT_SECTION, {25, 48, 230, 62}, FALSE, FALSE, 0x2, 0x100},
    {" CURRENT PAGE", PRINTSEL_CURRENT_PAGE, {25, 64, 230, 78}, FALSE, FALSE, 0x4, 0x80},
    {" SELECTED PARAGRAPHS", PRINTSEL_SELECTED_PARAGRAPHS, {25, 80, 230, 94}, FALSE, TRUE, 0x8, 0x40},
    {" ARTICLE OUTLINE", PRINTSEL_OUTLINE, {25, 96, 230, 110}, FALSE, FALSE, 0x10, 0x20},
    {" RELATED INFO: CD-ROM", PRINTSEL_RELATED_CDROM, {25, 112, 230, 126}, FALSE, TRUE, 0x20, 0x10},
    {" RELATED INFO: ONLINE", PRINTSEL_RELATED_ONLINE, {25, 128, 230, 142}, FALSE, TRUE, 0x80, 0x4},
    {" SEARCH RESULTS", PRINTSEL_SEARCH_RESULTS, {25, 144, 230, 158}, FALSE, TRUE, 0x40, 0x8},
    {" DICTIONARY", PRINTSEL_DICTIONARY, {25, 160, 230, 174}, FALSE, TRUE, 0x200, 0x1},
};

const RECT CPrintSelectWnd::s_rectOptionFrame = {20, 20, 230, 190};

IMPLEMENT_DYNAMIC(CPrintSelectWnd, CGenericTabWinDialog)

BEGIN_MESSAGE_MAP(CPrintSelectWnd, CGenericTabWinDialog)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_WM_CLOSE()
    ON_WM_KEYDOWN()
END_MESSAGE_MAP()

CPrintSelectWnd::CPrintSelectWnd() : CGenericTabWinDialog("PRINT")
{
    for (BOOL& bAvailable : m_bAvailable)
        bAvailable = TRUE;
}

CPrintSelectWnd::~CPrintSelectWnd()
{
    // The buttons go before the window that holds them.
    for (CRadioButton& option : m_options)
        if (option.GetSafeHwnd() != NULL)
            option.DestroyWindow();
    if (m_btnPrint.GetSafeHwnd() != NULL)
        m_btnPrint.DestroyWindow();
    if (m_btnCancel.GetSafeHwnd() != NULL)
        m_btnCancel.DestroyWindow();
}

int CPrintSelectWnd::IndexOf(UINT nOptionId)
{
    for (int i = 0; i < kOptionCount; ++i)
        if (s_options[i].nId == nOptionId)
            return i;
    return -1;
}

void CPrintSelectWnd::SetAvailable(UINT nOptionId, BOOL bAvailable)
{
    const int i = IndexOf(nOptionId);
    if (i >= 0 && s_options[i].bFlagged)
        m_bAvailable[i] = bAvailable;
}

BOOL CPrintSelectWnd::IsAvailable(UINT nOptionId) const
{
    const int i = IndexOf(nOptionId);
    return i >= 0 && m_bAvailable[i];
}

void CPrintSelectWnd::DisableChoices(UINT nReturnedBits)
{
    for (const Option& option : s_options)
        if (nReturnedBits & option.nReturnedBit)
            SetAvailable(option.nId, FALSE);
}

CRadioButton* CPrintSelectWnd::GetOption(UINT nOptionId)
{
    const int i = IndexOf(nOptionId);
    return i >= 0 ? &m_options[i] : NULL;
}

BOOL CPrintSelectWnd::CreateControls()
{
    InitControls();
    CClientDC dc(this);
    m_font.CreateFont(-::MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, FW_BOLD, FALSE, FALSE, FALSE,
                      ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, "Arial");
    for (int i = 0; i < kOptionCount; ++i) {
        const Option& option = s_options[i];
        CRadioButton& button = m_options[i];
        const DWORD dwStyle = kOptionStyle | (m_bAvailable[i] ? 0 : WS_DISABLED);
        if (!button.Create(option.pszText, dwStyle, option.rect, this, option.nId))
            continue;
        if (m_font.GetSafeHandle() != NULL)
            button.SendMessage(WM_SETFONT, reinterpret_cast<WPARAM>(m_font.GetSafeHandle()), FALSE);
        // An option that cannot be chosen is never checked.
        button.SetCheck(option.bChecked && m_bAvailable[i]);
    }
    if (m_btnCancel.Create("Cancel", kButtonStyle, CRect(kCancelAt, CSize(10, 10)), this, PRINTSEL_CANCEL) &&
        m_btnCancel.LoadStateBitmaps(kCancelPicture, kCancelPressedPicture, 0, 0, kCancelPressedPicture))
        m_btnCancel.SizeToBitmap();
    if (m_btnPrint.Create("Print", kButtonStyle, CRect(kPrintAt, CSize(10, 10)), this, PRINTSEL_PRINT) &&
        m_btnPrint.LoadStateBitmaps(kPrintPicture, kPrintPressedPicture, 0, 0, kPrintPressedPicture))
        m_btnPrint.SizeToBitmap();
    if (m_btnPrint.GetSafeHwnd() != NULL) {
        CRect print;
        m_btnPrint.GetWindowRect(&print);
        ScreenToClient(&print);
        m_rectPrintFrame.SetRect(print.left - 2, print.top - 2, print.right + 1, print.bottom + 1);
    }

    SetWindowPos(NULL, kPosition.x, kPosition.y, kWidth, kHeight, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    if (CWnd* pMain = GetAppMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL)
        CenterWindow(pMain);
    return TRUE;
}

UINT CPrintSelectWnd::CheckedMask(UINT Option::*pBit) const
{
    UINT nMask = 0;
    BOOL bExtent = FALSE;
    for (int i = 0; i < kOptionCount; ++i) {
        if (!m_options[i].GetCheck())
            continue;
        // Of the extents, the first one checked counts.
        if (i < kGroupCount) {
            if (bExtent)
                continue;
            bExtent = TRUE;
        }
        nMask |= s_options[i].*pBit;
    }
    return nMask;
}

void CPrintSelectWnd::CheckExtent(UINT nOptionId)
{
    const int nClicked = IndexOf(nOptionId);
    if (nClicked < 0 || nClicked >= kGroupCount)
        return;
    // The check box toggled itself; a click on the extent already checked keeps it checked, so
    // that an extent is always chosen.
    if (!m_options[nClicked].GetCheck()) {
        m_options[nClicked].SetCheck(1);
        m_options[nClicked].Invalidate();
    }
    for (int i = 0; i < kGroupCount; ++i) {
        if (i == nClicked || !m_options[i].GetCheck())
            continue;
        m_options[i].SetCheck(0);
        m_options[i].Invalidate();
    }
}

void CPrintSelectWnd::Confirm()
{
    m_nSelectionMask = static_cast<int>(CheckedMask(&Option::nSelectionBit));
    EndTabDialog(static_cast<int>(CheckedMask(&Option::nReturnedBit)));
}

void CPrintSelectWnd::ShowPressed(CDibButton& button)
{
    if (button.GetSafeHwnd() == NULL)
        return;
    button.SetDib(TRUE);
    button.UpdateWindow();
}

BOOL CPrintSelectWnd::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nId = LOWORD(wParam);
    switch (nId) {
    case PRINTSEL_ENTIRE_ARTICLE:
    case PRINTSEL_CURRENT_SECTION:
    case PRINTSEL_CURRENT_PAGE:
    case PRINTSEL_SELECTED_PARAGRAPHS:
        CheckExtent(nId);
        return TRUE;
    case IDOK:
        ShowPressed(m_btnPrint);
        Confirm();
        return TRUE;
    case PRINTSEL_PRINT:
    case PRINTSEL_PRINT_ALT:
        Confirm();
        return TRUE;
    case IDCANCEL:
        ShowPressed(m_btnCancel);
        EndTabDialog(0);
        return TRUE;
    case PRINTSEL_CANCEL:
        EndTabDialog(0);
        return TRUE;
    default:
        return CGenericTabWinDialog::OnCommand(wParam, lParam);
    }
}

void CPrintSelectWnd::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    // The window has no dialog manager: Enter and Escape stand for Print and Cancel here,
    // whether they reach it directly or from one of its buttons.
    if (nChar == VK_RETURN) {
        SendMessage(WM_COMMAND, IDOK);
        return;
    }
    if (nChar == VK_ESCAPE) {
        SendMessage(WM_COMMAND, IDCANCEL);
        return;
    }
    CGenericTabWinDialog::OnKeyDown(nChar, nRepCnt, nFlags);
}

void CPrintSelectWnd::OnClose()
{
    EndTabDialog(0);
    ShowWindow(SW_HIDE);
}

BOOL CPrintSelectWnd::OnEraseBkgnd(CDC*)
{
    // OnPaint covers the whole client area.
    return TRUE;
}

void CPrintSelectWnd::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    // The bands of the window's colour along the edges.
    const COLORREF crBand = PALETTEINDEX(56);
    dc.FillSolidRect(0, 0, client.Width(), kBand, crBand);
    dc.FillSolidRect(0, client.Height() - kBand, client.Width(), kBand, crBand);
    dc.FillSolidRect(0, 0, kBand, client.Height(), crBand);
    dc.FillSolidRect(client.Width() - kBand, 0, kBand, client.Height(), crBand);
    CBrush black(RGB(0, 0, 0));
    CRect frame(s_rectOptionFrame);
    dc.FrameRect(&frame, &black);
    if (!m_rectPrintFrame.IsRectEmpty())
        dc.FrameRect(&m_rectPrintFrame, &black);
    dc.FrameRect(&client, &black);
}
