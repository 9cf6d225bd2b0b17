#include "media/AraEmbeddedSim.h"

namespace {

// The runtime's entry points, by ordinal.
typedef HWND(WINAPI* PFN_ARA_CREATE)(LPCSTR, LPCSTR, DWORD*, HWND, const RECT*, int);
typedef void(WINAPI* PFN_ARA_DESTROY)(HWND);
typedef BOOL(WINAPI* PFN_ARA_PREFERRED)(HWND, const RECT*, RECT*);
typedef void(WINAPI* PFN_ARA_NOTIFY)(HWND);

struct ARA_RUNTIME {
    BOOL bTried = FALSE;
    HMODULE hModule = NULL;
    PFN_ARA_CREATE pfnCreate = NULL;
    PFN_ARA_DESTROY pfnDestroy = NULL;
    PFN_ARA_PREFERRED pfnPreferred = NULL;
    PFN_ARA_NOTIFY pfnNotify = NULL;
};

// The runtime, loaded once; NULL when it is missing or lacks an entry point.
const ARA_RUNTIME* Runtime()
{
    static ARA_RUNTIME runtime;
    if (!runtime.bTried) {
        runtime.bTried = TRUE;
        HMODULE hModule = ::LoadLibrary("ARAISF.dll");
        if (hModule != NULL) {
            runtime.pfnCreate = reinterpret_cast<PFN_ARA_CREATE>(::GetProcAddress(hModule, MAKEINTRESOURCE(2)));
            runtime.pfnDestroy = reinterpret_cast<PFN_ARA_DESTROY>(::GetProcAddress(hModule, MAKEINTRESOURCE(3)));
            runtime.pfnPreferred = reinterpret_cast<PFN_ARA_PREFERRED>(::GetProcAddress(hModule, MAKEINTRESOURCE(5)));
            runtime.pfnNotify = reinterpret_cast<PFN_ARA_NOTIFY>(::GetProcAddress(hModule, MAKEINTRESOURCE(7)));
            if (runtime.pfnCreate != NULL && runtime.pfnDestroy != NULL && runtime.pfnPreferred != NULL &&
                runtime.pfnNotify != NULL)
                runtime.hModule = hModule;
            else
                ::FreeLibrary(hModule);
        }
    }
    return runtime.hModule != NULL ? &runtime : NULL;
}

}  // namespace

IMPLEMENT_DYNAMIC(CAraEmbeddedSim, CAbstractEmbeddedSim)

CAraEmbeddedSim::CAraEmbeddedSim() = default;

CAraEmbeddedSim::~CAraEmbeddedSim()
{
    if (m_hSim != NULL)
        Destroy();
}

BOOL CAraEmbeddedSim::Create(LPCSTR pszFolder, LPCSTR pszFileName, DWORD* pContext, CWnd* pParent, const RECT& rect,
                             int nFlag)
{
    const ARA_RUNTIME* pRuntime = Runtime();
    if (pRuntime == NULL || pParent == NULL)
        return FALSE;
    if (m_hSim != NULL)
        Destroy();
    m_hSim = pRuntime->pfnCreate(pszFolder, pszFileName, pContext, pParent->GetSafeHwnd(), &rect, nFlag);
    return m_hSim != NULL;
}

void CAraEmbeddedSim::Destroy()
{
    const ARA_RUNTIME* pRuntime = Runtime();
    if (pRuntime != NULL && m_hSim != NULL)
        pRuntime->pfnDestroy(m_hSim);
    m_hSim = NULL;
}

void CAraEmbeddedSim::Notify()
{
    const ARA_RUNTIME* pRuntime = Runtime();
    if (pRuntime != NULL && m_hSim != NULL)
        pRuntime->pfnNotify(m_hSim);
}

BOOL CAraEmbeddedSim::GetPreferredRect(const RECT& rcIn, RECT& rcOut)
{
    const ARA_RUNTIME* pRuntime = Runtime();
    if (pRuntime == NULL || m_hSim == NULL)
        return FALSE;
    return pRuntime->pfnPreferred(m_hSim, &rcIn, &rcOut);
}
