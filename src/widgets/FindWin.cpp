#include "widgets/FindWin.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "widgets/PopupMessageBox.h"

const char CFindWin::s_szPrompt[] = "Enter a word to find within this article";
const char CFindWin::s_szNotFound[] = "Text not found.";

namespace {

const int kWidth = 277;
const int kHeight = 135;
const UINT kCancelPicture = 486, kCancelPressedPicture = 485;
const UINT kFindPicture = 592, kFindPressedPicture = 593;
const DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | BS_OWNERDRAW;

}  // namespace

IMPLEMENT_DYNAMIC(CFindWin, CGenericTabWinDialog)

BEGIN_MESSAGE_MAP(CFindWin, CGenericTabWinDialog)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_COMMAND(IDOK, OnFind)
END_MESSAGE_MAP()

CFindWin::CFindWin() : CGenericTabWinDialog("FIND") {}

CFindWin::~CFindWin()
{
    delete m_pHitReference;
}

CReference* CFindWin::TakeHitReference()
{
    CReference* pReference = m_pHitReference;
    m_pHitReference = NULL;
    return pReference;
}

BOOL CFindWin::CreateControls()
{
    InitControls();
    if (m_btnCancel.Create("Cancel", kButtonStyle, CRect(0, 0, 10, 10), this, IDCANCEL) &&
        m_btnCancel.LoadStateBitmaps(kCancelPicture, kCancelPressedPicture))
        m_btnCancel.SizeToBitmap();
    if (m_btnFind.Create("Find", kButtonStyle, CRect(0, 0, 10, 10), this, IDOK) &&
        m_btnFind.LoadStateBitmaps(kFindPicture, kFindPressedPicture))
        m_btnFind.SizeToBitmap();
    m_editWord.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | ES_AUTOHSCROLL, CRect(10, 30, 100, 50), this, 100);

    CClientDC dc(this);
    m_font.CreateFont(-::MulDiv(10, dc.GetDeviceCaps(LOGPIXELSY), 72), 0, 0, 0, 600, FALSE, FALSE, FALSE,
                      ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                      DEFAULT_PITCH | FF_SWISS, "Arial");

    CPoint position(10, 82);
    if (CWnd* pMain = GetAppMainWnd(); pMain != NULL && pMain->GetSafeHwnd() != NULL) {
        CRect main;
        pMain->GetWindowRect(&main);
        position.Offset(main.left, main.top);
    }
    SetWindowPos(NULL, position.x, position.y, kWidth, kHeight, SWP_NOZORDER | SWP_NOREDRAW | SWP_NOACTIVATE);
    Layout();
    if (m_editWord.GetSafeHwnd() != NULL)
        m_editWord.SetFocus();
    return TRUE;
}

void CFindWin::Layout()
{
    CRect client;
    GetClientRect(&client);
    for (CDibButton* pButton : {&m_btnCancel, &m_btnFind}) {
        if (pButton->GetSafeHwnd() == NULL)
            continue;
        CRect button;
        pButton->GetWindowRect(&button);
        const int x = pButton == &m_btnCancel ? 8 : client.Width() - button.Width() - 8;
        pButton->SetWindowPos(NULL, x, client.Height() - button.Height() - 10, 0, 0,
                              SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_editWord.GetSafeHwnd() == NULL)
        return;
    int nHeight = 20;
    if (m_font.GetSafeHandle() != NULL) {
        CClientDC dc(this);
        CFont* pOld = dc.SelectObject(&m_font);
        nHeight = dc.GetTextExtent("A", 1).cy + 8;
        dc.SelectObject(pOld);
    }
    m_editWord.SetWindowPos(NULL, 10, 30, client.Width() - 20, nHeight, SWP_NOZORDER | SWP_NOACTIVATE);
}

void CFindWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWinDialog::OnSize(nType, cx, cy);
    if (GetSafeHwnd() != NULL)
        Layout();
}

void CFindWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    dc.SetBkMode(TRANSPARENT);
    CFont* pOld = m_font.GetSafeHandle() != NULL ? dc.SelectObject(&m_font) : NULL;
    dc.TextOut(10, 10, s_szPrompt);
    if (pOld != NULL)
        dc.SelectObject(pOld);
}

CReference* CFindWin::FindWord(const CString& strWord)
{
    return m_finder ? m_finder(strWord, m_nArticle) : NULL;
}

void CFindWin::OnFind()
{
    CString strWord;
    m_editWord.GetWindowText(strWord);
    if (strWord.IsEmpty())
        return;
    m_strWord = strWord;
    delete m_pHitReference;
    m_pHitReference = FindWord(strWord);
    if (m_pHitReference != NULL) {
        EndTabDialog(FINDWIN_FOUND);
        return;
    }
    CRect window;
    GetWindowRect(&window);
    const POINT position{window.right + 10, window.top + 16};
    CPopupMessageBox box(s_szNotFound, "FIND", &position);
    EnableWindow(FALSE);
    box.RunTabDialog();
    // The box gave the main window back when it ended: this window is still the modal one.
    if (m_pOwnerWnd != NULL && m_pOwnerWnd->GetSafeHwnd() != NULL)
        m_pOwnerWnd->EnableWindow(FALSE);
    EnableWindow(TRUE);
    SetActiveWindow();
    m_editWord.SetFocus();
}
