// CCloud: the online manager, the one object through which the program reaches the update
// server. The application object makes it at start-up, calls Initialize and deletes it first at
// exit; the other parts reach it through GetAppCloud.
//
// The connection engine it drives is an outside component that this build does not link: the
// manager reads and checks the [Online] settings and then reports online services unavailable,
// with no engine, so every connection state reads "not connected".
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

class CCloud : public CObject {
    DECLARE_DYNAMIC(CCloud)
public:
    // Connection states: unknown, off line, on line, on line and downloading.
    enum { stateUnknown = 0, stateOffline = 1, stateOnline = 2, stateDownloading = 3 };
    // Initialize's results.
    enum { initReady = 1, initUnavailable = 2 };

    CCloud();
    ~CCloud() override;
    CCloud(const CCloud&) = delete;
    CCloud& operator=(const CCloud&) = delete;

    // Reads the [Online] settings and prepares the connection engine: 1 when online services
    // are ready, 2 when not ([Online] "Disable" set, a corrupted configuration, no engine).
    // Ends with RefreshState.
    int Initialize();

    // [Online] "Disable" (default 0).
    BOOL IsDisabled() const;
    // Switching online services on and off is not offered by this product: both raise the
    // class library's not-supported exception, which the caller reports.
    void Enable();
    void Disable();
    // The connection engine exists.
    BOOL HasConnection() const { return m_bHasEngine; }
    BOOL IsOnline();
    BOOL IsDownloading() const { return m_nState == stateDownloading; }
    // Recomputes the state; broadcasts it when it changed. Returns it.
    int RefreshState();
    // Asks the engine: without engine or configuration the user's provider counts as not
    // connected and the state is off line.
    int GetConnectionState();
    // Stores the state; when it changed, posts "VLWM:CCloud:StateChange" (new state, 0) to every
    // registered window that still exists.
    void SetState(int nState);
    // Registers a window for the state-change message; returns the current state.
    int RegisterWindow(CWnd* pWnd);
    int GetState() const { return m_nState; }
    // The no-connection flag of the last state query (1: the user's provider is not connected).
    BOOL GetIspNotConnected() const { return m_bIspNotConnected; }

    // The one live instance (NULL when none).
    static CCloud* GetInstance();
    // The registered state-change message.
    static UINT StateChangeMessage();

private:
    BOOL m_bDownloading = FALSE;
    BOOL m_bHasEngine = FALSE;
    BOOL m_bNotOurs = FALSE;
    BOOL m_bIspNotConnected = FALSE;
    BOOL m_bIspManaged = FALSE;
    BOOL m_bConnected = FALSE;
    BOOL m_bConfigured = FALSE;
    CPtrArray m_windows;  // window handles
    int m_nState = stateUnknown;
};
