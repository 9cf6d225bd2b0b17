#include "explore/JustLookingListContainer.h"

#include "explore/JustLookingShowListBox.h"

IMPLEMENT_DYNAMIC(CJustLookingListContainer, CWnd)

BEGIN_MESSAGE_MAP(CJustLookingListContainer, CWnd)
ON_WM_CREATE()
ON_WM_SIZE()
END_MESSAGE_MAP()

CJustLookingListContainer::CJustLookingListContainer() : m_nID(0) {}

CJustLookingListContainer::~CJustLookingListContainer()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CJustLookingListContainer::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_nID = nID;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, "JustLookingListContainer", WS_CHILD | WS_VISIBLE | WS_BORDER, rect, pParentWnd, nID);
}

int CJustLookingListContainer::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    CRect client;
    GetClientRect(&client);
    if (!m_list.Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT, client, this, m_nID))
        return -1;
    return 0;
}

void CJustLookingListContainer::OnSize(UINT nType, int cx, int cy)
{
    CWnd::OnSize(nType, cx, cy);
    if (m_list.GetSafeHwnd() != NULL)
        m_list.MoveWindow(0, 0, cx, cy);
}

int CJustLookingListContainer::AddString(LPCSTR lpszText)
{
    return m_list.GetSafeHwnd() != NULL ? m_list.AddString(lpszText) : LB_ERR;
}

BOOL CJustLookingListContainer::OnCommand(WPARAM wParam, LPARAM lParam)
{
    if (LOWORD(wParam) == (m_nID & 0xFFFF)) {
        switch (HIWORD(wParam)) {
        case LBN_SETFOCUS:
            BringWindowToTop();
            return TRUE;
        case LBN_SELCHANGE:
            if (GetParent() != NULL)
                GetParent()->SendMessage(m_nID == IDC_JL_CONTENTLIST ? JLM_CONTENT_CHANGED : JLM_CATEGORY_CHANGED,
                                         static_cast<WPARAM>(m_list.GetCurSel()), 0);
            return TRUE;
        default:
            break;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}
