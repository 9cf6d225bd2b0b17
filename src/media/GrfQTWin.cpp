#include "media/GrfQTWin.h"

#include "base/Reference.h"
#include "base/VLMessages.h"
#include "media/GrfDocument.h"
#include "base/ResourceLibrary.h"

namespace {

enum { cursorLink = 262 };

// The view that opens an item of a kind (0: none).
UINT ViewOfKind(LONG nKind)
{
    switch (nKind) {
    case REFKIND_ARTICLE:
    case REFKIND_ARTICLE2: return IDW_ARTICLE;
    case REFKIND_MAP: return IDW_ATLAS;
    case REFKIND_ANIMATION:
    case REFKIND_VIDEO:
    case REFKIND_PICTURE:
    case REFKIND_SOUND:
    case REFKIND_SIMULATION:
    case REFKIND_VIRTUALREALITY:
    case REFKIND_ONLINESOUND:
    case REFKIND_BUBBLE: return IDW_MEDIA;
    default: return 0;
    }
}

}  // namespace

BEGIN_MESSAGE_MAP(CGrfQTWin, CQTWin)
    ON_WM_LBUTTONDOWN()
    ON_WM_MOUSEMOVE()
    ON_WM_SHOWWINDOW()
END_MESSAGE_MAP()

CGrfQTWin::CGrfQTWin() = default;

CGrfQTWin::~CGrfQTWin()
{
    Destroy();
}

BOOL CGrfQTWin::Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect)
{
    m_pDocument = pDocument;
    if (m_pDocument == NULL)
        return FALSE;
    BOOL bCreated = FALSE;
    try {
        CString strFolder;
        if (!m_pDocument->GetDataFolder(strFolder, TRUE))
            return FALSE;
        CString strPath = strFolder + m_pDocument->GetMediaFileName();
        bCreated = CQTWin::Create(pParent, rect, WS_CHILD | WS_CLIPSIBLINGS, strPath,
                                  m_pDocument->GetKind() == REFKIND_VIRTUALREALITY);
        if (!bCreated)
            AfxMessageBox("Unable to create movie window.", MB_ICONEXCLAMATION);
    } catch (CUserException* e) {
        e->Delete();
        return FALSE;
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
        return FALSE;
    }
    return bCreated;
}

void CGrfQTWin::OnLButtonDown(UINT, CPoint point)
{
    if (m_pDocument == NULL)
        return;
    int nSpot = m_pDocument->HitTest(point.x, point.y);
    if (nSpot == 0)
        return;
    CReference* pReference = m_pDocument->GetHotSpotReference(nSpot);
    if (pReference == NULL)
        return;
    UINT nView = ViewOfKind(pReference->GetKind());
    CWnd* pTop = GetTopLevelParent();
    // The receiver takes the reference over.
    if (nView == 0 || pTop == NULL || !pTop->PostMessage(VLM_OPEN_WINDOW, nView, reinterpret_cast<LPARAM>(pReference)))
        delete pReference;
}

void CGrfQTWin::OnMouseMove(UINT, CPoint point)
{
    if (m_pDocument == NULL)
        return;
    CRect rcClient;
    GetClientRect(&rcClient);
    if (rcClient.PtInRect(point) && m_pDocument->HitTest(point.x, point.y) != 0) {
        if (!m_bCaptured) {
            SetCapture();
            m_bCaptured = TRUE;
        }
        ::SetCursor(LoadProgramCursor(cursorLink, IDC_HAND));
        return;
    }
    if (m_bCaptured) {
        m_bCaptured = FALSE;
        if (GetCapture() == this)
            ReleaseCapture();
    }
}

void CGrfQTWin::OnShowWindow(BOOL bShow, UINT nStatus)
{
    CQTWin::OnShowWindow(bShow, nStatus);
    if (!bShow)
        Stop();
}
