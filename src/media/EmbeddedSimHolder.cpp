#include "media/EmbeddedSimHolder.h"

#include "media/AraEmbeddedSim.h"
#include "media/GrfDocument.h"

#include <new>

namespace {

// The program-wide simulation context: its address goes to every simulation; only the runtime
// reads and writes it.
DWORD g_dwSimContext = 0;

}  // namespace

CEmbeddedSimHolder::CEmbeddedSimHolder() = default;

CEmbeddedSimHolder::~CEmbeddedSimHolder()
{
    delete m_pSim;
}

BOOL CEmbeddedSimHolder::Create(CGrfDocument* pDocument, CWnd* pParent, const RECT& rect)
{
    m_pDocument = pDocument;
    m_pParent = pParent;
    m_rcRemembered = rect;
    m_bRememberedOnScreen = FALSE;
    // A simulation still running would be left without an owner.
    delete m_pSim;
    m_pSim = NULL;
    try {
        CString strFolder;
        if (pDocument == NULL || !pDocument->GetDataFolder(strFolder, TRUE))
            AfxThrowUserException();
        m_pSim = new (std::nothrow) CAraEmbeddedSim;
        if (m_pSim == NULL)
            AfxThrowMemoryException();
        const CString strName = pDocument->GetMediaFileName();
        return m_pSim->Create(strFolder, strName, &g_dwSimContext, pParent, rect, 1);
    } catch (CUserException* e) {
        e->Delete();
    } catch (CMemoryException* e) {
        e->Delete();
        AfxMessageBox("Insufficient memory to display simulation.");
    } catch (CException* e) {
        e->ReportError();
        e->Delete();
    }
    return FALSE;
}

void CEmbeddedSimHolder::Hide()
{
    if (m_pSim == NULL)
        return;
    if (m_pSim->GetSafeHwnd() != NULL && ::IsWindow(m_pSim->GetSafeHwnd())) {
        ::GetWindowRect(m_pSim->GetSafeHwnd(), &m_rcRemembered);
        m_bRememberedOnScreen = TRUE;
    }
    delete m_pSim;
    m_pSim = NULL;
}

void CEmbeddedSimHolder::Show()
{
    if (m_pSim != NULL || m_pParent == NULL || m_pDocument == NULL)
        return;
    CRect rect = m_rcRemembered;
    if (m_bRememberedOnScreen)
        m_pParent->ScreenToClient(&rect);
    if (!Create(m_pDocument, m_pParent, rect) || m_pSim == NULL)
        return;
    if (CWnd* pWnd = m_pSim->GetWnd()) {
        pWnd->ShowWindow(SW_SHOW);
        pWnd->Invalidate();
    }
}

void CEmbeddedSimHolder::Move(const RECT& rect)
{
    if (CWnd* pWnd = GetSimWnd()) {
        pWnd->MoveWindow(&rect, TRUE);
        pWnd->Invalidate();
    }
}

void CEmbeddedSimHolder::GetPreferredSize(int& nWidth, int& nHeight)
{
    if (m_pSim == NULL)
        return;
    CRect rcOut(0, 0, 0, 0);
    if (m_pSim->GetPreferredRect(CRect(0, 0, nWidth, nHeight), rcOut) && rcOut.Width() != 0) {
        nWidth = rcOut.Width();
        nHeight = rcOut.Height();
    }
}

void CEmbeddedSimHolder::GetPreferredSize(CSize& size)
{
    int nWidth = size.cx, nHeight = size.cy;
    GetPreferredSize(nWidth, nHeight);
    size = CSize(nWidth, nHeight);
}

CWnd* CEmbeddedSimHolder::GetSimWnd() const
{
    return m_pSim != NULL ? m_pSim->GetWnd() : NULL;
}
