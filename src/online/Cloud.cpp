#include "online/Cloud.h"

#include "base/DataFolders.h"

#include <cstdlib>

IMPLEMENT_DYNAMIC(CCloud, CObject)

namespace {

CCloud* g_pCloud = NULL;

// The server host used when the profile names none.
const char kDefaultHost[] = "update.veltra.example";
const char kDefaultRealm[] = "Veltra_Token";

}  // namespace

CCloud::CCloud()
{
    g_pCloud = this;
}

CCloud::~CCloud()
{
    // Without a connection engine there is no connection of ours to offer to end.
    if (g_pCloud == this)
        g_pCloud = NULL;
}

CCloud* CCloud::GetInstance()
{
    return g_pCloud;
}

UINT CCloud::StateChangeMessage()
{
    static UINT s_nMessage = ::RegisterWindowMessage("VLWM:CCloud:StateChange");
    return s_nMessage;
}

BOOL CCloud::IsDisabled() const
{
    return GetAppProfileInt("Online", "Disable", 0) != 0;
}

int CCloud::Initialize()
{
    m_bConfigured = FALSE;
    const int nResult = initUnavailable;
    if (!IsDisabled()) {
        CString strRealm = GetAppProfileString("Online", "Realm", kDefaultRealm);
        CString strHost = GetAppProfileString("Online", "Host", kDefaultHost);
        if (strRealm.IsEmpty() || strHost.IsEmpty())
            AfxMessageBox("Online configuration has been corrupted.  Online services will not be available.");
        // The connection engine is not part of this build: services stay unavailable, silently.
    }
    m_bHasEngine = FALSE;
    RefreshState();
    return nResult;
}

BOOL CCloud::IsOnline()
{
    if (m_nState == stateUnknown)
        RefreshState();
    return m_nState == stateOnline || m_nState == stateDownloading;
}

int CCloud::GetConnectionState()
{
    if (!m_bHasEngine || !m_bConfigured) {
        m_bIspNotConnected = TRUE;
        m_bNotOurs = m_bIspManaged = m_bConnected = FALSE;
        return stateOffline;
    }
    if (!m_bConnected)
        return stateOffline;
    return m_bDownloading ? stateDownloading : stateOnline;
}

int CCloud::RefreshState()
{
    int nState = GetConnectionState();
    if (nState != m_nState)
        SetState(nState);
    return nState;
}

void CCloud::SetState(int nState)
{
    if (nState != m_nState) {
        for (INT_PTR i = 0; i < m_windows.GetSize(); ++i) {
            HWND hWnd = static_cast<HWND>(m_windows[i]);
            if (::IsWindow(hWnd))
                ::PostMessage(hWnd, StateChangeMessage(), WPARAM(nState), 0);
        }
    }
    m_nState = nState;
}

int CCloud::RegisterWindow(CWnd* pWnd)
{
    if (pWnd != NULL && pWnd->GetSafeHwnd() != NULL)
        m_windows.Add(pWnd->GetSafeHwnd());
    return m_nState;
}

void CCloud::Enable()
{
    AfxThrowNotSupportedException();
}

void CCloud::Disable()
{
    AfxThrowNotSupportedException();
}
