#include "explore/JustLookingShowListBox.h"

#include "explore/JustLookingFileVirtualList.h"
#include "explore/JustLookingRecSet.h"
#include "explore/JustLookingTreeControl.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CJustLookingShowListBox, CWnd)

BEGIN_MESSAGE_MAP(CJustLookingShowListBox, CWnd)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_DESTROY()
END_MESSAGE_MAP()

CJustLookingShowListBox::CJustLookingShowListBox()
    : m_pDBTree(NULL), m_pFileTree(NULL), m_pDBData(NULL), m_pFileData(NULL), m_pCurrentTree(NULL),
      m_pCurrentData(NULL), m_nID(0), m_nFileCount(0)
{
}

CJustLookingShowListBox::~CJustLookingShowListBox()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    DeleteLists();
}

void CJustLookingShowListBox::DeleteLists()
{
    // The windows go before the data they show.
    for (CJustLookingTreeControl** ppTree : {&m_pDBTree, &m_pFileTree}) {
        if (*ppTree != NULL && (*ppTree)->GetSafeHwnd() != NULL)
            (*ppTree)->DestroyWindow();
        delete *ppTree;
        *ppTree = NULL;
    }
    delete m_pDBData;
    m_pDBData = NULL;
    delete m_pFileData;
    m_pFileData = NULL;
    m_pCurrentTree = NULL;
    m_pCurrentData = NULL;
}

BOOL CJustLookingShowListBox::Create(const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_nID = nID;
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClass, "JustLookingVirtualListContainer", WS_CHILD | WS_VISIBLE | WS_BORDER, rect,
                        pParentWnd, nID);
}

int CJustLookingShowListBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    m_pDBData = new CJustLookingVirtualData;
    m_pFileData = new CJustLookingFileVirtualList("Jlshow.dat");
    if (!m_pDBData->OpenEmpty()) {
        DeleteLists();
        return -1;
    }
    m_nFileCount = ReadIndexCount();

    CRect client;
    GetClientRect(&client);
    const DWORD dwStyle = WS_CHILD | WS_CLIPSIBLINGS | (m_nID == IDC_JL_FINDLIST ? WS_VSCROLL : 0);
    m_pDBTree = new CJustLookingTreeControl(m_pDBData);
    m_pFileTree = new CJustLookingTreeControl(m_pFileData);
    for (CJustLookingTreeControl* pTree : {m_pDBTree, m_pFileTree}) {
        if (!pTree->Create(dwStyle, 0, client, this, m_nID)) {
            DeleteLists();
            return -1;
        }
        pTree->SetRowHeight(kRowHeight);
        pTree->ScrollToCurrent();
        pTree->ShowWindow(SW_SHOW);
    }
    MakeCurrent(m_pFileTree, m_pFileData);
    return 0;
}

void CJustLookingShowListBox::OnDestroy()
{
    DeleteLists();
    CWnd::OnDestroy();
}

void CJustLookingShowListBox::MakeCurrent(CJustLookingTreeControl* pTree, CBaseListData* pData)
{
    CJustLookingTreeControl* pOther = pTree == m_pFileTree ? m_pDBTree : m_pFileTree;
    if (pOther != NULL && pOther->GetSafeHwnd() != NULL)
        pOther->ShowWindow(SW_HIDE);
    m_pCurrentTree = pTree;
    m_pCurrentData = pData;
    if (pTree != NULL && pTree->GetSafeHwnd() != NULL) {
        pTree->ShowWindow(SW_SHOW);
        pTree->LayOutRows(std::max(1L, pTree->GetFirstVisible()), TRUE);
    }
}

void CJustLookingShowListBox::ShowAll()
{
    MakeCurrent(m_pFileTree, m_pFileData);
    m_nFileCount = ReadIndexCount();
}

void CJustLookingShowListBox::ShowFiltered() { MakeCurrent(m_pDBTree, m_pDBData); }

long CJustLookingShowListBox::Filter(int nCategory, int nContent)
{
    if (m_pDBData == NULL)
        return 0;
    const long nCount = m_pDBData->BuildFilter(nCategory, nContent);
    if (nCount != 0) {
        m_pDBData->LoadBlock(1);
        if (m_pDBTree != NULL && m_pDBTree->GetSafeHwnd() != NULL)
            m_pDBTree->ScrollToIndex(1);
    } else if (m_pDBTree != NULL && m_pDBTree->GetSafeHwnd() != NULL) {
        m_pDBTree->LayOutRows(1, TRUE);
    }
    return nCount;
}

void CJustLookingShowListBox::Select(long nIndex)
{
    if (m_pCurrentData == NULL || nIndex < 1)
        return;
    if (m_pCurrentData == m_pFileData)
        m_pFileData->LoadBlock(nIndex);
    else
        m_pDBData->LoadBlock(nIndex);
}

long CJustLookingShowListBox::ReadIndexCount()
{
    // The list base reads the count from "jlshow.ndx" and builds that index again when it is
    // missing or stale (a damaged list has been reported by then and has no rows); the message
    // is for a show list that cannot be had at all.
    if (m_pFileData != NULL && !m_pFileData->GetFolder().IsEmpty())
        return m_pFileData->GetCount();
    AfxMessageBox("Jlshow index file is missing.  Need to build a new one.", MB_ICONEXCLAMATION);
    return 0;
}

void CJustLookingShowListBox::OnPaint()
{
    CPaintDC dc(this);
    CRect client;
    GetClientRect(&client);
    dc.FillSolidRect(&client, RGB(255, 255, 255));
    CJustLookingTreeControl* pOther = m_pCurrentTree == m_pFileTree ? m_pDBTree : m_pFileTree;
    if (pOther != NULL && pOther->GetSafeHwnd() != NULL && pOther->IsWindowVisible())
        pOther->ShowWindow(SW_HIDE);
    if (m_pCurrentTree != NULL && m_pCurrentTree->GetSafeHwnd() != NULL) {
        if ((m_pCurrentTree->GetStyle() & WS_VSCROLL) != 0)
            m_pCurrentTree->ShowScrollBar(SB_VERT, TRUE);
        // The fill above covered the list and its scroll bar: both are drawn again.
        m_pCurrentTree->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_FRAME | RDW_ERASE);
    }
}

BOOL CJustLookingShowListBox::OnCommand(WPARAM wParam, LPARAM lParam)
{
    const UINT nID = LOWORD(wParam);
    const UINT nCode = HIWORD(wParam);
    if (nID == (m_nID & 0xFFFF) && m_pCurrentTree != NULL) {
        switch (nCode) {
        case LBN_SETFOCUS:
            BringWindowToTop();
            m_pCurrentTree->SetFocus();
            return TRUE;
        case LBN_SELCHANGE:
        case LBN_DBLCLK:
            if (GetParent() != NULL)
                GetParent()->PostMessage(JLM_FIND_ROW, static_cast<WPARAM>(m_pCurrentTree->GetCurrentItemData()), 0);
            return TRUE;
        default:
            break;
        }
    }
    return CWnd::OnCommand(wParam, lParam);
}
