#include "shell/HistoryDlg.h"

#include "base/PaletteSelector.h"
#include "base/VLMessages.h"

namespace {

const int kWidth = 206;
const int kHeight = 185;
const int kMargin = 3;
const int kMaxItemText = 255;

// Creates a picture button of the dialog sized to its normal picture; FALSE when it cannot be
// made or a picture is missing.
BOOL MakeButton(CDibButton& button, CWnd* pParent, UINT nID, UINT nNormal, UINT nPressed)
{
    if (!button.Create(nID == IDOK ? "OK" : "Cancel", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 10, 10),
                       pParent, nID))
        return FALSE;
    if (!button.LoadStateBitmaps(nNormal, nPressed))
        return FALSE;
    button.SizeToBitmap();
    return TRUE;
}

}  // namespace

BEGIN_MESSAGE_MAP(CHistoryDlg, CGenericTabWinDialog)
    ON_COMMAND(IDOK, OnOK)
    ON_LBN_DBLCLK(IDC_HISTORY_LIST, OnListDoubleClick)
    ON_WM_PAINT()
END_MESSAGE_MAP()

CHistoryDlg::CHistoryDlg(const CVLStateList& states, CWnd* pView)
    : CGenericTabWinDialog("History"), m_states(states), m_pView(pView)
{
}

CHistoryDlg::~CHistoryDlg()
{
    if (m_list.GetSafeHwnd() != NULL)
        m_list.DestroyWindow();
    if (m_btnOK.GetSafeHwnd() != NULL)
        m_btnOK.DestroyWindow();
    if (m_btnCancel.GetSafeHwnd() != NULL)
        m_btnCancel.DestroyWindow();
}

CString CHistoryDlg::ItemText(const CVLStateObj& state)
{
    CString strText = state.m_strTitle.Left(kMaxItemText);
    strText.TrimRight();
    if (strText.IsEmpty())
        strText = "No Title!";
    return strText;
}

BOOL CHistoryDlg::CreateControls()
{
    InitControls();
    // A third of the way into the current view, or into the owner's client area.
    CRect over;
    if (m_pView != NULL && m_pView->GetSafeHwnd() != NULL) {
        m_pView->GetWindowRect(&over);
    } else if (CWnd* pOwner = GetOwnerWnd(); pOwner != NULL && pOwner->GetSafeHwnd() != NULL) {
        pOwner->GetClientRect(&over);
    } else {
        over.SetRect(0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN));
    }
    int x = over.Width() / 3 - 103 + over.left;
    int y = over.Height() / 3 - 92 + over.top;
    SetWindowPos(NULL, x, y, kWidth, kHeight, SWP_NOZORDER | SWP_NOACTIVATE);

    CRect client;
    GetClientRect(&client);
    int nButtonsTop = client.bottom - kMargin;
    if (MakeButton(m_btnCancel, this, IDCANCEL, 350, 349)) {
        CRect cancel;
        m_btnCancel.GetWindowRect(&cancel);
        int nLeft = client.right - kMargin - cancel.Width();
        nButtonsTop = client.bottom - kMargin - cancel.Height();
        m_btnCancel.SetWindowPos(NULL, nLeft, nButtonsTop, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        if (MakeButton(m_btnOK, this, IDOK, 352, 351)) {
            CRect ok;
            m_btnOK.GetWindowRect(&ok);
            m_btnOK.SetWindowPos(NULL, nLeft - kMargin - ok.Width(), client.bottom - kMargin - ok.Height(), 0, 0,
                                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            if (client.bottom - kMargin - ok.Height() < nButtonsTop)
                nButtonsTop = client.bottom - kMargin - ok.Height();
        }
    }
    CRect list(kMargin, kMargin, client.right - kMargin, nButtonsTop - kMargin);
    if (m_list.Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL | LBS_NOTIFY, list, this, IDC_HISTORY_LIST))
        FillList();
    return TRUE;
}

void CHistoryDlg::FillList()
{
    m_list.ResetContent();
    for (int i = 0; i < m_states.GetCount(); ++i) {
        CVLStateObj* pState = m_states.GetAt(i);
        if (pState == NULL)
            break;
        const CString strText = ItemText(*pState);
        TVINSERTSTRUCT insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM;
        insert.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(strText));
        insert.item.lParam = reinterpret_cast<LPARAM>(pState);
        if (m_list.InsertItem(&insert) == NULL)
            break;
    }
}

void CHistoryDlg::ChooseCurrent()
{
    HTREEITEM hItem = m_list.GetSafeHwnd() != NULL ? m_list.GetCurrentItemId() : NULL;
    auto* pState = hItem != NULL ? reinterpret_cast<CVLStateObj*>(m_list.GetItemValue(hItem)) : NULL;
    CWnd* pFrame = GetOwnerWnd();
    if (pState != NULL && pFrame != NULL && pFrame->GetSafeHwnd() != NULL) {
        CVLStateObj* pClone = pState->Clone();
        if (!pFrame->PostMessage(VLM_RESTORE_SAVED, pState->m_nWindowID, reinterpret_cast<LPARAM>(pClone)))
            delete pClone;
    }
    EndTabDialog(IDOK);
}

void CHistoryDlg::OnOK()
{
    ChooseCurrent();
}

void CHistoryDlg::OnListDoubleClick()
{
    ChooseCurrent();
}

void CHistoryDlg::OnPaint()
{
    CPaintDC dc(this);
    PaintFramedGround(&dc);
}
