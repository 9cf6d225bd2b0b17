// Module state of the class library: which module's instance handle and resources the code that
// runs now belongs to. The program has one state; a code library with resources of its own has
// its own (AfxGetStaticModuleState, compiled into each module), and its exported functions enter
// it with AFX_MANAGE_STATE for their duration. The resource handle is where resources are looked
// up: AfxSetResourceHandle points it at a resource library (the screen-class library), and
// CString::LoadString, AfxLoadString and AfxFindResourceHandle look there.
#pragma once

#include <windows.h>

#include <mfc/Debug.h>

class AFX_MODULE_STATE {
public:
    // A state for the module that holds `hInstance`; its resources are its own to begin with.
    AFX_MODULE_STATE(HINSTANCE hInstance, BOOL bDLL);

    HINSTANCE m_hCurrentInstanceHandle;
    HINSTANCE m_hCurrentResourceHandle;
    LPCSTR m_lpszCurrentAppName;
    BOOL m_bDLL;
    BOOL m_bSystem;
};

// The state of the code running on this thread (the program's unless a library entered its own).
AFX_MODULE_STATE* AFXAPI AfxGetModuleState();
// The program's state.
AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState();
// Makes pNewState the thread's current state (NULL: the program's); returns the previous one.
AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState);
// The state of the module that holds `address` (one per module, made on first use); the
// program's state for an address in the program.
AFX_MODULE_STATE* AFXAPI AfxModuleStateOfAddress(const void* address);

// This module's own state. The function is compiled into every module that includes this header
// and is kept to that module, so a library calling it gets the library's state.
__attribute__((visibility("hidden"))) inline AFX_MODULE_STATE* AfxGetStaticModuleState()
{
    static char s_anchor;
    return AfxModuleStateOfAddress(&s_anchor);
}

// Enters a module state for the lifetime of the object and restores the previous one after.
struct AFX_MAINTAIN_STATE2 {
    explicit AFX_MAINTAIN_STATE2(AFX_MODULE_STATE* pNewState) : m_pPrevModuleState(AfxSetModuleState(pNewState)) {}
    ~AFX_MAINTAIN_STATE2() { AfxSetModuleState(m_pPrevModuleState); }
    AFX_MAINTAIN_STATE2(const AFX_MAINTAIN_STATE2&) = delete;
    AFX_MAINTAIN_STATE2& operator=(const AFX_MAINTAIN_STATE2&) = delete;

    AFX_MODULE_STATE* m_pPrevModuleState;
};
typedef AFX_MAINTAIN_STATE2 AFX_MAINTAIN_STATE;
#define AFX_MANAGE_STATE(p) AFX_MAINTAIN_STATE2 _ctlState(p)

HINSTANCE AFXAPI AfxGetInstanceHandle();
HINSTANCE AFXAPI AfxGetResourceHandle();
void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource);
// Which module to look in for a resource: the current resource handle (no extension libraries
// are chained to a module state).
HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType);
// Loads string nID from AfxFindResourceHandle's module into the buffer (at most nMaxBuf - 1
// characters); returns the length, 0 with an empty buffer when there is no such string.
int AFXAPI AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf = 256);
