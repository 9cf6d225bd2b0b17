#include "search/WildDlg.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

const int kLabelX = 15;
const int kLabelY = 9;
const int kListLeft = 7;
const int kListTop = 27;
const int kListGap = 31;  // between the list and the buttons
const int kButtonBottom = 10;
const int kCancelRight = 8;

// A picture button sized to its normal picture; NULL when it cannot be made.
CDibButton* MakeButton(CWnd* pParent, LPCSTR pszText, UINT nID, UINT nNormal, UINT nPressed)
{
    auto* pButton = new CDibButton;
    if (!pButton->Create(pszText, WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 10, 10), pParent, nID) ||
        !pButton->LoadStateBitmaps(nNormal, nPressed)) {
        delete pButton;
        return NULL;
    }
    pButton->SizeToBitmap();
    return pButton;
}

}  // namespace

IMPLEMENT_DYNAMIC(CWildDlg, CGenericTabWinDialog)

BEGIN_MESSAGE_MAP(CWildDlg, CGenericTabWinDialog)
    ON_WM_PAINT()
    ON_WM_SIZE()
    ON_COMMAND(IDC_WILD_OK, OnChoose)
    ON_COMMAND(IDOK, OnChoose)
    ON_COMMAND(IDCANCEL, OnCancel)
END_MESSAGE_MAP()

CWildDlg::CWildDlg() : CGenericTabWinDialog("WILDCARD WORD LIST")
{
}

CWildDlg::~CWildDlg()
{
    delete m_pOK;
    delete m_pCancel;
    delete m_pList;
    delete m_pLabelFont;
}

void CWildDlg::SetPosition(int nLeft, int nTop)
{
    m_ptPosition = CPoint(nLeft, nTop);
    m_bPositioned = TRUE;
}

void CWildDlg::SetWordList(CString* pstrWords, DWORD* pFlags, int nFlags)
{
    m_pstrWords = pstrWords;
    m_pFlags = pFlags;
    m_nFlags = pFlags != NULL ? std::max(nFlags, 0) : 0;
}

BOOL CWildDlg::CreateControls()
{
    InitControls();
    m_pOK = MakeButton(this, "OK", IDC_WILD_OK, 521, 520);
    m_pCancel = MakeButton(this, "Cancel", IDCANCEL, 523, 522);
    m_pList = new CWildListWin;
    if (!m_pList->CreateWordList(CRect(kListLeft, kListTop, kListLeft + 10, kListTop + 10), this)) {
        delete m_pList;
        m_pList = NULL;
    }

    CPoint where = m_ptPosition;
    if (!m_bPositioned) {
        CRect over;
        CWnd* pOwner = GetOwnerWnd();
        if (pOwner != NULL && pOwner->GetSafeHwnd() != NULL)
            pOwner->GetWindowRect(&over);
        else
            over.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
        where = CPoint(over.left + (over.Width() - WILD_DIALOG_WIDTH) / 2, over.top + (over.Height() - WILD_DIALOG_HEIGHT) / 2);
    }
    SetWindowPos(NULL, where.x, where.y, WILD_DIALOG_WIDTH, WILD_DIALOG_HEIGHT, SWP_NOZORDER | SWP_NOACTIVATE);

    m_pLabelFont = new CFont;
    CClientDC dc(this);
    LOGFONT lf = {};
    lf.lfHeight = -::MulDiv(8, dc.GetDeviceCaps(LOGPIXELSY), 72);
    lf.lfWeight = FW_BOLD;
    std::strcpy(lf.lfFaceName, "Arial");
    if (!m_pLabelFont->CreateFontIndirect(&lf)) {
        delete m_pLabelFont;
        m_pLabelFont = NULL;
    }

    CRect client;
    GetClientRect(&client);
    LayOut(client.Width(), client.Height());
    FillList();
    return TRUE;
}

void CWildDlg::FillList()
{
    if (m_pList == NULL)
        return;
    m_pList->ResetContent();
    if (m_pstrWords == NULL)
        return;
    LPCSTR p = *m_pstrWords;
    while (*p != '\0') {
        while (*p == '|' || *p == '\r' || *p == '\n')
            ++p;
        LPCSTR pEnd = p;
        while (*pEnd != '\0' && *pEnd != '|' && *pEnd != '\r' && *pEnd != '\n')
            ++pEnd;
        if (pEnd > p)
            m_pList->AddString(CString(p, static_cast<int>(pEnd - p)));
        p = pEnd;
    }
    // The text has been read: nothing of it stays behind.
    const int nLength = m_pstrWords->GetLength();
    std::memset(m_pstrWords->GetBuffer(nLength), 0, static_cast<size_t>(nLength));
    m_pstrWords->ReleaseBuffer(0);
}

void CWildDlg::LayOut(int cx, int cy)
{
    int nButtonsTop = cy - kButtonBottom;
    if (m_pOK != NULL && m_pOK->GetSafeHwnd() != NULL) {
        CRect r;
        m_pOK->GetWindowRect(&r);
        nButtonsTop = cy - kButtonBottom - r.Height();
        m_pOK->SetWindowPos(NULL, kListLeft, nButtonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    if (m_pCancel != NULL && m_pCancel->GetSafeHwnd() != NULL) {
        CRect r;
        m_pCancel->GetWindowRect(&r);
        const int nTop = cy - kButtonBottom - r.Height();
        m_pCancel->SetWindowPos(NULL, cx - kCancelRight - r.Width(), nTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        nButtonsTop = std::min(nButtonsTop, nTop);
    }
    if (m_pList != NULL && m_pList->GetSafeHwnd() != NULL)
        m_pList->SetWindowPos(NULL, kListLeft, kListTop, std::max(cx - 2 * kListLeft, 0),
                              std::max(nButtonsTop - kListGap - kListTop, 0), SWP_NOZORDER | SWP_NOACTIVATE);
}

void CWildDlg::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWinDialog::OnSize(nType, cx, cy);
    LayOut(cx, cy);
}

void CWildDlg::OnPaint()
{
    CPaintDC dc(this);
    PaintFramedGround(&dc);
    CFont* pOldFont = m_pLabelFont != NULL ? dc.SelectObject(m_pLabelFont) : NULL;
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    dc.TextOut(kLabelX, kLabelY, "SELECT TERMS TO SEARCH");
    dc.SetBkMode(nOldMode);
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
}

void CWildDlg::OnChoose()
{
    if (m_pList == NULL || m_pList->GetSafeHwnd() == NULL || m_pList->GetCount() == 0) {
        EndTabDialog(IDCANCEL);
        return;
    }
    if (m_pFlags == NULL || m_nFlags == 0) {
        EndTabDialog(IDCANCEL);  // nowhere to report a choice
        return;
    }
    std::vector<int> selected(WILD_MAX_SELECTIONS);
    const int nSelected = m_pList->GetSelItems(WILD_MAX_SELECTIONS, selected.data());
    if (nSelected <= 0)
        return;  // nothing chosen yet: the dialog stays
    for (int i = 0; i < nSelected; ++i)
        if (selected[static_cast<size_t>(i)] >= 0 && selected[static_cast<size_t>(i)] < m_nFlags)
            m_pFlags[selected[static_cast<size_t>(i)]] = 1;
    EndTabDialog(IDOK);
}

void CWildDlg::OnCancel()
{
    EndTabDialog(IDCANCEL);
}
