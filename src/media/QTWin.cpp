#include "media/QTWin.h"

#include "media/QuickTime.h"

IMPLEMENT_DYNAMIC(CQTWin, CWnd)

CQTWin::CQTWin() = default;

CQTWin::~CQTWin()
{
    delete m_pOwned;
}

BOOL CQTWin::Create(CWnd* pParent, const RECT& rect, DWORD dwStyle, const char* pszPath, BOOL bPanorama)
{
    m_bPanorama = bPanorama;
    if (QuickTimeReadyFlag() != 2)
        return FALSE;
    if (!CWnd::Create(NULL, "QT", dwStyle, rect, pParent, 0))
        return FALSE;
    if (!LoadMovie(pszPath, &rect)) {
        ShowWindow(SW_HIDE);
        UpdateWindow();
        return FALSE;
    }
    return TRUE;
}

BOOL CQTWin::CreateDefault()
{
    if (QuickTimeReadyFlag() != 2)
        return FALSE;
    if (!CWnd::Create(NULL, "QT", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, m_rcCreate, m_pCreateParent, 0))
        return FALSE;
    SetWindowPos(&wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return TRUE;
}

BOOL CQTWin::LoadMovie(const char* pszPath, const RECT* /*pRect*/)
{
    m_strPath = pszPath != NULL ? pszPath : "";
    // No movie library is linked in yet: nothing can be opened.
    return FALSE;
}

void CQTWin::Play()
{
}

void CQTWin::Stop()
{
}

void CQTWin::Reload()
{
    if (QuickTimeReadyFlag() == 2)
        LoadMovie(m_strPath, NULL);
}

void CQTWin::Close()
{
    if (m_hController != NULL) {
        Stop();
        m_hController = NULL;
        m_hMovie = NULL;
    }
}

void CQTWin::Destroy()
{
    m_hController = NULL;
    m_hMovie = NULL;
    if (m_hWnd != NULL)
        DestroyWindow();
}
