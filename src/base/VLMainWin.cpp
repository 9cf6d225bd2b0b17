#include "base/VLMainWin.h"

#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/VLStateObj.h"
#include "base/ViewHost.h"
#include "base/VLMessages.h"

IMPLEMENT_DYNAMIC(CVLMainWin, CWnd)

BEGIN_MESSAGE_MAP(CVLMainWin, CWnd)
    ON_WM_QUERYNEWPALETTE()
    ON_WM_PALETTECHANGED()
    ON_MESSAGE(VLM_OPEN_WINDOW, OnFreeCarriedObject)
    ON_MESSAGE(VLM_RESTORE_STATE, OnFreeCarriedObject)
    ON_MESSAGE(VLM_DATA_LOCATION, OnDataLocation)
    ON_MESSAGE(VLM_START_PAGE, OnStartPage)
    // A pane's Ctrl+C asks its view for the copy command: the view's own copy.
    ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
END_MESSAGE_MAP()

void DeleteCarriedObject(LPARAM lParam)
{
    delete reinterpret_cast<CObject*>(lParam);
}

LRESULT DataLocationOfCarriedObject(LPARAM lParam)
{
    CObject* pObject = reinterpret_cast<CObject*>(lParam);
    if (CReference* pRef = DYNAMIC_DOWNCAST(CReference, pObject)) {
        int nKind = DDT_NO_FOLDER;
        try {
            nKind = pRef->GetDataDirType();
        } catch (CException* e) {
            e->Delete();
        }
        return MAKELONG(pRef->GetDisc(), nKind);
    }
    if (CVLStateObj* pState = DYNAMIC_DOWNCAST(CVLStateObj, pObject))
        return MAKELONG(pState->GetDisc(), pState->GetDataDirType());
    return VL_DEFAULT_DATA_LOCATION;
}

CVLMainWin::CVLMainWin() = default;

CVLMainWin::~CVLMainWin()
{
    if (m_hWnd != NULL)
        DestroyWindow();
}

BOOL CVLMainWin::CreateView(LPCSTR lpszClassName, LPCSTR lpszWindowName, const RECT& rect, CWnd* pParentWnd,
                            UINT nID, CCreateContext* pContext)
{
    if (lpszClassName == NULL)
        lpszClassName = AfxRegisterWndClass(CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW));
    return CWnd::Create(lpszClassName, lpszWindowName, WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, rect,
                        pParentWnd, nID, pContext);
}

BOOL CVLMainWin::CanPrint()
{
    return FALSE;
}

void CVLMainWin::OnEditCopy()
{
}

void CVLMainWin::OnUpdateEditCopy(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CVLMainWin::OnEditSelectAll()
{
}

void CVLMainWin::OnUpdateEditSelectAll(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(FALSE);
}

void CVLMainWin::OnActivateMainWin(BOOL bActive)
{
    if (bActive)
        RealizeAppPalette(FALSE);
}

BOOL CVLMainWin::OnIdle(LONG)
{
    return FALSE;
}

void CVLMainWin::AttachTabWindow(CWnd* pPane)
{
    pPane->SetParent(this);
}

void CVLMainWin::ShowMainWindow(UINT nID, LPARAM)
{
    if (CViewHost* pHost = GetAppViewHost())
        pHost->ShowMainWindow(nID, FALSE);
}

BOOL CVLMainWin::RealizeAppPalette(BOOL bForce)
{
    CPalette* pPalette = GetAppDisplayPalette();
    if (IsMainMenuShowing() || pPalette == NULL || m_hWnd == NULL)
        return TRUE;
    CClientDC dc(this);
    CPalette* pOld = dc.SelectPalette(pPalette, FALSE);
    UINT nChanged = dc.RealizePalette();
    if (pOld != NULL)
        dc.SelectPalette(pOld, FALSE);
    if (bForce || nChanged > 0) {
        CWnd* pTop = GetTopLevelParent();
        if (pTop == NULL)
            pTop = this;
        pTop->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME);
    }
    return TRUE;
}

BOOL CVLMainWin::OnQueryNewPalette()
{
    return RealizeAppPalette(FALSE);
}

void CVLMainWin::OnPaletteChanged(CWnd* pFocusWnd)
{
    if (pFocusWnd != this)
        RealizeAppPalette(TRUE);
}

LRESULT CVLMainWin::OnFreeCarriedObject(WPARAM, LPARAM lParam)
{
    DeleteCarriedObject(lParam);
    return 0;
}

LRESULT CVLMainWin::OnDataLocation(WPARAM, LPARAM)
{
    return VL_DEFAULT_DATA_LOCATION;
}

LRESULT CVLMainWin::OnStartPage(WPARAM wParam, LPARAM lParam)
{
    ShowMainWindow(static_cast<UINT>(wParam), lParam);
    return 0;
}

CViewHost* GetAppViewHost()
{
    return dynamic_cast<CViewHost*>(GetAppMainWnd());
}
