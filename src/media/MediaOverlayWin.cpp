#include "media/MediaOverlayWin.h"

#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"
#include "widgets/VLListWindow.h"

IMPLEMENT_DYNAMIC(CMediaOverlayWin, CReferenceTabWin)

BEGIN_MESSAGE_MAP(CMediaOverlayWin, CReferenceTabWin)
    ON_NOTIFY(TVN_SELCHANGED, REFTAB_LIST_ID, OnSelChanged)
    ON_NOTIFY(NM_DBLCLK, REFTAB_LIST_ID, OnDoubleClick)
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
    ON_WM_CLOSE()
END_MESSAGE_MAP()

CMediaOverlayWin::~CMediaOverlayWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

BOOL CMediaOverlayWin::Create(int x, int y, CWnd* pParent)
{
    return CReferenceTabWin::Create("OVERLAYS", x, y, pParent, panelId);
}

void CMediaOverlayWin::SetOverlays(CReferenceList* pList)
{
    m_pOverlays = pList;
    FillList(pList);
    SelectFilter(0);
}

BOOL CMediaOverlayWin::ShowOverlay(CReference* pReference)
{
    if (pReference == NULL)
        return FALSE;
    const LONG nKind = pReference->GetKind();
    if (nKind != REFKIND_PICTURE && nKind != REFKIND_SOUND)
        return FALSE;
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return FALSE;
    auto* pState = new CMediaDisplayRef(pReference, m_pOverlays, 1);
    if (!pParent->PostMessage(VLM_POST_TO_WINDOW, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pState))) {
        delete pState;
        return FALSE;
    }
    return TRUE;
}

void CMediaOverlayWin::OnSelChanged(NMHDR* pNotify, LRESULT* pResult)
{
    *pResult = 0;
    auto* pTree = reinterpret_cast<NMTREEVIEW*>(pNotify);
    ShowOverlay(reinterpret_cast<CReference*>(pTree->itemNew.lParam));
}

void CMediaOverlayWin::OnDoubleClick(NMHDR*, LRESULT* pResult)
{
    *pResult = 0;
    // the selection shows the overlay already
}

void CMediaOverlayWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CReferenceTabWin::OnShowWindow(bShow, nStatus);
    CWnd* pParent = GetParent();
    if (pParent != NULL && pParent->IsWindowVisible())
        if (CWnd* pView = AppServices().ui.pCurrentView)
            if (pView->GetSafeHwnd() != NULL)
                pView->PostMessage(VLM_CAPTION_SHOWN, bShow ? 1 : 0, reinterpret_cast<LPARAM>(this));
}

LRESULT CMediaOverlayWin::OnChildActivate(WPARAM wParam, LPARAM lParam)
{
    CReferenceTabWin::OnChildActivate(wParam, lParam);
    if (CWnd* pView = AppServices().ui.pCurrentView)
        if (pView->GetSafeHwnd() != NULL)
            pView->PostMessage(VLM_CAPTION_SHOWN, 1, reinterpret_cast<LPARAM>(this));
    return 0;
}

void CMediaOverlayWin::OnClose()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, toggleCommand, 0);
}
