// CAbstractEmbeddedSim: one simulation shown inside a window of the program. The simulation is
// run by an outside runtime; its handle is the simulation's child window.
#pragma once

#include <afxwin.h>

class CAbstractEmbeddedSim : public CObject {
    DECLARE_DYNAMIC(CAbstractEmbeddedSim)
public:
    CAbstractEmbeddedSim();
    ~CAbstractEmbeddedSim() override;

    // Starts the simulation library pszFileName of the folder pszFolder in a child window of
    // pParent at rect (its client coordinates). pContext is the program-wide simulation context.
    // TRUE when the simulation runs.
    virtual BOOL Create(LPCSTR pszFolder, LPCSTR pszFileName, DWORD* pContext, CWnd* pParent, const RECT& rect,
                        int nFlag) = 0;
    // Ends the simulation and clears the handle.
    virtual void Destroy() = 0;
    // Tells the simulation that the display changed (it draws itself again).
    virtual void Notify() = 0;
    // The rectangle the simulation would take for the proposed one; non-zero on success.
    virtual BOOL GetPreferredRect(const RECT& rcIn, RECT& rcOut) = 0;

    // The simulation's window (NULL when none runs).
    HWND GetSafeHwnd() const { return m_hSim; }
    CWnd* GetWnd() const { return m_hSim != NULL ? CWnd::FromHandle(m_hSim) : NULL; }

protected:
    HWND m_hSim = NULL;
};
