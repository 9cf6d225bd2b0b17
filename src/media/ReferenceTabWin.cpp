#include "media/ReferenceTabWin.h"

#include "base/AppServices.h"
#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/BrowseMediaVirtualListBox.h"
#include "media/MediaDisplayRef.h"
#include "widgets/RadioButton.h"
#include "widgets/VLListWindow.h"
#include "widgets/VLVListWnd.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CReferenceTabWin, CGenericTabWin)

namespace {

CString g_strPendingMapTitle;
BOOL g_bMapPending = FALSE;
BOOL g_bFirstPanelMade = FALSE;

// The radio buttons' places by screen class: ALL MEDIA, then CURRENT.
const RECT kRadioRects[4][2] = {
    {{4, 8, 94, 23}, {95, 8, 190, 23}},
    {{4, 8, 94, 23}, {99, 8, 190, 23}},
    {{10, 8, 129, 23}, {131, 8, 218, 23}},
    {{6, 8, 94, 23}, {95, 8, 190, 23}},
};

const COLORREF kPanelGround = 0x01000038;

}  // namespace

BEGIN_MESSAGE_MAP(CReferenceTabWin, CGenericTabWin)
    ON_WM_CREATE()
    ON_WM_SIZE()
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_CONTROL_RANGE(BN_CLICKED, REFTAB_ALLMEDIA_ID, REFTAB_CURRENT_ID, OnRadio)
    ON_NOTIFY(NM_DBLCLK, REFTAB_LIST_ID, OnListNotify)
    ON_MESSAGE(VLM_BROWSE_CHOSEN, OnBrowseChosen)
    ON_MESSAGE(VLM_RADIO_CHECKED, OnRefresh)
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
    ON_WM_NCLBUTTONDOWN()
END_MESSAGE_MAP()

CReferenceTabWin::CReferenceTabWin() : m_hInsertAfter(TVI_LAST)
{
}

CReferenceTabWin::~CReferenceTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pList;
    delete m_pBrowse;
    delete m_pAllMedia;
    delete m_pCurrent;
}

CSize CReferenceTabWin::PanelSize(int nScreenClass)
{
    static const SIZE sizes[3] = {{174, 237}, {174, 297}, {218, 401}};
    return sizes[std::clamp(nScreenClass, 0, 2)];
}

const CString& CReferenceTabWin::GetPendingMapTitle()
{
    return g_strPendingMapTitle;
}

BOOL CReferenceTabWin::IsMapPending()
{
    return g_bMapPending;
}

void CReferenceTabWin::ClearPendingMap()
{
    g_bMapPending = FALSE;
    g_strPendingMapTitle.Empty();
}

BOOL CReferenceTabWin::Create(LPCSTR lpszName, int x, int y, CWnd* pParent, UINT nID)
{
    LPCSTR lpszClass = AfxRegisterWndClass(CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW, ::LoadCursor(NULL, IDC_ARROW));
    const CSize size = PanelSize(GetAppScreenClass());
    int nBottom = y + size.cy;
    if (pParent != NULL && pParent->GetSafeHwnd() != NULL) {
        CRect client;
        pParent->GetClientRect(&client);
        nBottom = std::min(nBottom, static_cast<int>(client.bottom) - 12);
    }
    if (!CGenericTabWin::Create(lpszClass, lpszName, WS_CLIPCHILDREN | WS_CAPTION | WS_THICKFRAME,
                                CRect(x, y, x + size.cx, nBottom), pParent, nID))
        return FALSE;
    if (!g_bFirstPanelMade && m_pBrowse != NULL && m_pBrowse->GetCurrentList() != NULL) {
        g_bFirstPanelMade = TRUE;
        m_pBrowse->GetCurrentList()->Invalidate();
    }
    return TRUE;
}

CRect CReferenceTabWin::ListRect() const
{
    CRect rect;
    GetClientRect(&rect);
    rect.DeflateRect(10, 10);
    rect.top = captionHeight + 1;
    rect.bottom -= 4;
    if (rect.bottom < rect.top)
        rect.bottom = rect.top;
    return rect;
}

int CReferenceTabWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CGenericTabWin::OnCreate(lpCreateStruct) == -1)
        return -1;
    const int nClass = std::clamp(GetAppScreenClass(), 0, 3);
    const DWORD dwRadio = WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | BS_AUTORADIOBUTTON;
    m_pAllMedia = new CRadioButton;
    m_pCurrent = new CRadioButton;
    if (!m_pAllMedia->Create("ALL MEDIA", dwRadio, kRadioRects[nClass][0], this, REFTAB_ALLMEDIA_ID) ||
        !m_pCurrent->Create("CURRENT", dwRadio, kRadioRects[nClass][1], this, REFTAB_CURRENT_ID))
        return -1;
    for (CRadioButton* pRadio : {m_pAllMedia, m_pCurrent}) {
        pRadio->SetBackgroundColor(kPanelGround);
        pRadio->LoadStateBitmaps(580, 581);
    }
    m_pCurrent->SetCheck(1);

    const CRect rect = ListRect();
    m_pList = new CVLListWindow;
    if (!m_pList->Create(WS_CHILD | WS_VISIBLE | WS_BORDER | WS_VSCROLL, rect, this, REFTAB_LIST_ID))
        return -1;
    m_pBrowse = new BrowseMediaVirtualListBox;
    CRect browse = rect;
    browse.bottom = std::max(browse.top, static_cast<LONG>(browse.bottom - (60 - (58 - captionHeight))));
    if (!m_pBrowse->Create(browse, this, REFTAB_BROWSE_ID))
        return -1;
    m_pBrowse->ShowWindow(SW_HIDE);
    return 0;
}

void CReferenceTabWin::PlaceLists()
{
    if (m_pList == NULL || m_pList->GetSafeHwnd() == NULL || m_pBrowse == NULL || m_pBrowse->GetSafeHwnd() == NULL)
        return;
    const CRect rect = ListRect();
    m_pList->MoveWindow(&rect);
    m_pBrowse->MoveWindow(&rect);
    m_pBrowse->PlaceCurrentList();
}

void CReferenceTabWin::OnSize(UINT nType, int cx, int cy)
{
    CGenericTabWin::OnSize(nType, cx, cy);
    PlaceLists();
}

BOOL CReferenceTabWin::IsAllMediaChecked() const
{
    return m_pAllMedia != NULL && m_pAllMedia->GetCheck();
}

void CReferenceTabWin::SelectFilter(int n)
{
    if (m_pAllMedia == NULL)
        return;
    m_pAllMedia->SetCheck(n == 1);
    m_pCurrent->SetCheck(n != 1);
    m_pAllMedia->Invalidate();
    m_pCurrent->Invalidate();
    Refresh();
}

void CReferenceTabWin::ActivateTab()
{
    if (m_pCurrent == NULL || m_pList == NULL || m_pList->GetItemCount() == 0 || m_pCurrent->GetCheck())
        return;
    // The radios and the list shown go together: CURRENT checked shows the CURRENT list.
    SelectFilter(0);
    Invalidate();
}

LRESULT CReferenceTabWin::OnChildActivate(WPARAM, LPARAM)
{
    Default();
    ActivateTab();
    return 0;
}

void CReferenceTabWin::OnNcLButtonDown(UINT nHitTest, CPoint point)
{
    // A press on the caption band activates the panel, before a move of it begins.
    if (nHitTest == HTCAPTION)
        SendMessage(WM_CHILDACTIVATE);
    CGenericTabWin::OnNcLButtonDown(nHitTest, point);
}

void CReferenceTabWin::OnRadio(UINT nID)
{
    SelectFilter(nID == REFTAB_ALLMEDIA_ID ? 1 : 0);
}

LRESULT CReferenceTabWin::OnRefresh(WPARAM, LPARAM lParam)
{
    // A radio just checked tells its form (lParam); the form shows the list it stands for.
    if (auto* pRadio = reinterpret_cast<CRadioButton*>(lParam)) {
        if (pRadio == m_pAllMedia)
            m_pCurrent->SetCheck(0);
        else if (pRadio == m_pCurrent)
            m_pAllMedia->SetCheck(0);
    }
    Refresh();
    return 0;
}

void CReferenceTabWin::Refresh()
{
    if (m_pList == NULL || m_pList->GetSafeHwnd() == NULL || m_pBrowse == NULL || m_pBrowse->GetSafeHwnd() == NULL)
        return;
    if (m_bLayoutChanged) {
        m_bLayoutChanged = FALSE;
        PlaceLists();
    }
    if (!IsAllMediaChecked()) {
        m_pList->MoveWindow(ListRect());
        m_pBrowse->ShowWindow(SW_HIDE);
        m_pList->ShowWindow(SW_SHOW);
    } else {
        m_pBrowse->RestoreOwnList();
        m_pList->ShowWindow(SW_HIDE);
        m_pBrowse->ShowWindow(SW_SHOW);
        m_pBrowse->Invalidate();
    }
    Invalidate();
}

UINT CReferenceTabWin::ImageOfKind(LONG nKind)
{
    switch (nKind) {
    case REFKIND_ANIMATION: return 4030;
    case REFKIND_VIDEO: return 4031;
    case REFKIND_SOUND: return 187;
    case REFKIND_SIMULATION: return 4033;
    case REFKIND_ONLINESOUND: return 187;
    case REFKIND_VIRTUALREALITY: return 4035;
    case REFKIND_BUBBLE: return 4035;
    case REFKIND_MAP: return 0;
    default: return 4032;
    }
}

void CReferenceTabWin::FillList(CReferenceList* pReferences)
{
    if (pReferences == NULL || m_pList == NULL || m_pList->GetSafeHwnd() == NULL)
        return;
    m_pList->ResetContent();
    for (int i = 0; i < pReferences->GetCount(); ++i) {
        CReference* pReference = pReferences->GetAtIndex(i);
        if (pReference == NULL)
            continue;
        const CString strTitle = pReference->GetTitle();
        const int nImage = static_cast<int>(ImageOfKind(pReference->GetKind()));
        TVINSERTSTRUCT insert = {};
        insert.hParent = TVI_ROOT;
        insert.hInsertAfter = m_hInsertAfter;
        insert.item.mask = TVIF_TEXT | TVIF_PARAM | (nImage != 0 ? TVIF_IMAGE | TVIF_SELECTEDIMAGE : 0);
        insert.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(strTitle));
        insert.item.lParam = reinterpret_cast<LPARAM>(pReference);
        insert.item.iImage = insert.item.iSelectedImage = nImage;
        m_pList->InsertItem(&insert);
    }
    m_pList->Invalidate();
}

UINT CReferenceTabWin::OpenReference(CReference* pReference, LPCSTR lpszText)
{
    if (pReference == NULL)
        return 0;
    g_strPendingMapTitle = lpszText != NULL ? lpszText : "";
    g_bMapPending = FALSE;
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL)
        pTop = GetAppMainWnd();
    if (pTop == NULL)
        return 0;
    const LONG nKind = pReference->GetKind();
    auto post = [&](UINT nMessage, UINT nView, CObject* pObject) -> UINT {
        if (!pTop->PostMessage(nMessage, nView, reinterpret_cast<LPARAM>(pObject))) {
            delete pObject;
            return 0;
        }
        return nView;
    };
    switch (nKind) {
    case REFKIND_MAP:
        g_bMapPending = TRUE;
        return post(VLM_OPEN_WINDOW, IDW_ATLAS, pReference->Clone());
    case REFKIND_ARTICLE:
    case REFKIND_ARTICLE2:
        return post(VLM_OPEN_WINDOW, IDW_ARTICLE, pReference->Clone());
    case REFKIND_ANIMATION:
    case REFKIND_VIDEO:
    case REFKIND_PICTURE:
    case REFKIND_SOUND:
    case REFKIND_SIMULATION:
    case REFKIND_VIRTUALREALITY:
    case REFKIND_ONLINESOUND:
    case REFKIND_BUBBLE:
        return post(VLM_POST_TO_WINDOW, IDW_MEDIA, new CMediaDisplayRef(pReference, NULL, 1));
    default:
        return 0;
    }
}

void CReferenceTabWin::OpenCurrentItem()
{
    HTREEITEM hItem = m_pList->GetCurrentItemId();
    if (hItem == NULL)
        return;
    auto* pReference = reinterpret_cast<CReference*>(m_pList->GetItemValue(hItem));
    OpenReference(pReference, m_pList->GetItemText(hItem));
}

void CReferenceTabWin::OpenBrowseItem(LONG nRin)
{
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    if (pFactory == NULL || nRin <= 0)
        return;
    const CString strTitle = m_pBrowse != NULL ? m_pBrowse->GetCurrentTitle() : CString();
    std::unique_ptr<CReference> pReference(pFactory->CreateReference(nRin, strTitle, 0));
    OpenReference(pReference.get(), strTitle);
}

void CReferenceTabWin::OnListNotify(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    OpenCurrentItem();
}

LRESULT CReferenceTabWin::OnBrowseChosen(WPARAM, LPARAM lParam)
{
    OpenBrowseItem(static_cast<LONG>(lParam));
    return 0;
}

void CReferenceTabWin::OnPaint()
{
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc, TRUE);
    CRect client;
    GetClientRect(&client);
    CBrush ground(kPanelGround);
    dc.FillRect(&client, &ground);
}

BOOL CReferenceTabWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}
