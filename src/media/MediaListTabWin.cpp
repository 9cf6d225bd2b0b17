#include "media/MediaListTabWin.h"

#include "base/AppServices.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"

IMPLEMENT_DYNAMIC(CMediaListTabWin, CReferenceTabWin)

BEGIN_MESSAGE_MAP(CMediaListTabWin, CReferenceTabWin)
    ON_WM_CLOSE()
    ON_WM_SHOWWINDOW()
    ON_MESSAGE(WM_CHILDACTIVATE, OnChildActivate)
    ON_WM_WINDOWPOSCHANGED()
    ON_MESSAGE(0x4F9, OnRepaint)
END_MESSAGE_MAP()

CMediaListTabWin::CMediaListTabWin()
{
    m_hInsertAfter = TVI_SORT;
}

CMediaListTabWin::~CMediaListTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pCurrentList;
}

BOOL CMediaListTabWin::Create(int x, int y, CWnd* pParent)
{
    return CReferenceTabWin::Create("BROWSE MEDIA", x, y, pParent, panelId);
}

void CMediaListTabWin::SetCurrentList(CReferenceList* pList)
{
    if (pList == NULL)
        return;
    auto* pNew = new CReferenceList;
    pList->CloneKindInto(pNew, MEDIA_LIST_KIND_MASK);
    // The list window shows the old list's references until it is filled again.
    FillList(pNew);
    delete m_pCurrentList;
    m_pCurrentList = pNew;
}

void CMediaListTabWin::TellView(WPARAM wState)
{
    if (CWnd* pView = AppServices().ui.pCurrentView)
        if (pView->GetSafeHwnd() != NULL)
            pView->PostMessage(VLM_CAPTION_SHOWN, wState, reinterpret_cast<LPARAM>(this));
}

void CMediaListTabWin::OnClose()
{
    if (CWnd* pParent = GetParent())
        pParent->SendMessage(WM_COMMAND, toggleCommand, 0);
}

void CMediaListTabWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL || !pParent->IsWindowVisible())
        return;
    CReferenceTabWin::OnShowWindow(bShow, nStatus);
    if (nStatus != SW_PARENTCLOSING)
        TellView(bShow ? 1 : 0);
}

void CMediaListTabWin::OnWindowPosChanged(WINDOWPOS* lpwndpos)
{
    CReferenceTabWin::OnWindowPosChanged(lpwndpos);
    if (lpwndpos->flags == SWP_SHOWWINDOW || lpwndpos->flags == SWP_HIDEWINDOW)
        TellView(lpwndpos->flags == SWP_SHOWWINDOW ? 1 : 0);
}

LRESULT CMediaListTabWin::OnChildActivate(WPARAM wParam, LPARAM lParam)
{
    CReferenceTabWin::OnChildActivate(wParam, lParam);
    TellView(1);
    return 0;
}

LRESULT CMediaListTabWin::OnRepaint(WPARAM, LPARAM)
{
    Invalidate();
    return 0;
}
