#include "shell/LeastWindows.h"

#include "base/AppServices.h"
#include "shell/BaseWindow.h"
#include "base/VLMessages.h"
#include "base/VLStateObj.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "media/MediaDisplayRef.h"

#include <algorithm>
#include <memory>

namespace {

void PaintFace(CWnd* pWnd, COLORREF crFace, LPCSTR lpszName)
{
    CPaintDC dc(pWnd);
    CRect rect;
    pWnd->GetClientRect(&rect);
    dc.FillSolidRect(&rect, crFace);
    if (lpszName != NULL && *lpszName != '\0') {
        dc.SetBkMode(TRANSPARENT);
        dc.SetTextColor(RGB(0, 0, 0));
        CRect text = rect;
        text.DeflateRect(6, 4);
        dc.DrawText(lpszName, -1, &text, DT_LEFT | DT_TOP | DT_SINGLELINE);
    }
}

}  // namespace

// ---- main views ----

BEGIN_MESSAGE_MAP(CLeastMainWin, CVLMainWin)
    ON_WM_PAINT()
    ON_WM_ERASEBKGND()
    ON_MESSAGE(VLM_DATA_LOCATION, OnObjectDataLocation)
    ON_MESSAGE(VLM_OPEN_FOUND_ITEM, OnTakeCarriedObject)
    ON_MESSAGE(VLM_OPEN_NOTED_ITEM, OnTakeCarriedObject)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnTakeCarriedObject)
END_MESSAGE_MAP()

CLeastMainWin::CLeastMainWin(UINT nID, LPCSTR lpszName, COLORREF crFace)
    : m_nID(nID), m_lpszName(lpszName), m_crFace(crFace)
{
}

BOOL CLeastMainWin::CreateMainWin(const RECT& rect, CWnd* pParentWnd)
{
    return CreateView(NULL, m_lpszName, rect, pParentWnd, m_nID);
}

void CLeastMainWin::OnFilePrint()
{
}

void CLeastMainWin::OnPaint()
{
    PaintFace(this, m_crFace, m_lpszName);
}

BOOL CLeastMainWin::OnEraseBkgnd(CDC*)
{
    return TRUE;
}

LRESULT CLeastMainWin::OnObjectDataLocation(WPARAM, LPARAM lParam)
{
    return DataLocationOfCarriedObject(lParam);
}

LRESULT CLeastMainWin::OnTakeCarriedObject(WPARAM, LPARAM lParam)
{
    DeleteCarriedObject(lParam);
    return 1;
}

CVLPlusMainWin::CVLPlusMainWin() : CLeastMainWin(IDW_VLPLUS, "Online View", RGB(240, 255, 240))
{
}
