#include <afx.h>

#include <host/Resources.h>

#include <map>
#include <memory>
#include <mutex>

namespace {

thread_local AFX_MODULE_STATE* t_moduleState = nullptr;

std::mutex& StatesLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

// The states of the libraries, by module handle; they live as long as the process.
std::map<HMODULE, std::unique_ptr<AFX_MODULE_STATE>>& LibraryStates()
{
    static auto* states = new std::map<HMODULE, std::unique_ptr<AFX_MODULE_STATE>>;
    return *states;
}

HINSTANCE StringResourceHandle(UINT nID)
{
    return AfxFindResourceHandle(MAKEINTRESOURCE((nID >> 4) + 1), RT_STRING);
}

// CString::LoadString's loader: the string from the module AfxFindResourceHandle picks.
BOOL AFXAPI LoadStringFromModule(UINT nID, CString& rString)
{
    std::string text;
    if (!host::LoadStringResource(StringResourceHandle(nID), nID, text))
        return FALSE;
    rString = CString(text.data(), static_cast<int>(text.size()));
    return TRUE;
}

const bool g_loaderInstalled = (AfxSetStringLoader(&LoadStringFromModule), true);

}  // namespace

AFX_MODULE_STATE::AFX_MODULE_STATE(HINSTANCE hInstance, BOOL bDLL)
    : m_hCurrentInstanceHandle(hInstance), m_hCurrentResourceHandle(hInstance), m_lpszCurrentAppName(NULL),
      m_bDLL(bDLL), m_bSystem(FALSE)
{
}

AFX_MODULE_STATE* AFXAPI AfxGetAppModuleState()
{
    static AFX_MODULE_STATE* state = new AFX_MODULE_STATE(GetModuleHandle(NULL), FALSE);
    return state;
}

AFX_MODULE_STATE* AFXAPI AfxGetModuleState()
{
    return t_moduleState ? t_moduleState : AfxGetAppModuleState();
}

AFX_MODULE_STATE* AFXAPI AfxSetModuleState(AFX_MODULE_STATE* pNewState)
{
    AFX_MODULE_STATE* previous = AfxGetModuleState();
    t_moduleState = pNewState == AfxGetAppModuleState() ? nullptr : pNewState;
    return previous;
}

AFX_MODULE_STATE* AFXAPI AfxModuleStateOfAddress(const void* address)
{
    HMODULE module = NULL;
    if (!GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                           static_cast<LPCSTR>(address), &module) ||
        module == GetModuleHandle(NULL))
        return AfxGetAppModuleState();
    std::lock_guard<std::mutex> lock(StatesLock());
    auto& state = LibraryStates()[module];
    if (!state)
        state = std::make_unique<AFX_MODULE_STATE>(module, TRUE);
    return state.get();
}

HINSTANCE AFXAPI AfxGetInstanceHandle() { return AfxGetModuleState()->m_hCurrentInstanceHandle; }

HINSTANCE AFXAPI AfxGetResourceHandle() { return AfxGetModuleState()->m_hCurrentResourceHandle; }

void AFXAPI AfxSetResourceHandle(HINSTANCE hInstResource)
{
    ASSERT(hInstResource != NULL);
    AfxGetModuleState()->m_hCurrentResourceHandle = hInstResource;
}

HINSTANCE AFXAPI AfxFindResourceHandle(LPCSTR lpszName, LPCSTR lpszType)
{
    ASSERT(lpszName != NULL && lpszType != NULL);
    (void)lpszName;
    (void)lpszType;
    // The class library looks in the current resource module, then in the extension libraries
    // chained to the module state, and falls back to the current resource module. Our modules
    // are regular libraries with states of their own (AFX_MANAGE_STATE), never chained, so the
    // current resource module is the answer whether or not it has the resource.
    return AfxGetResourceHandle();
}

int AFXAPI AfxLoadString(UINT nID, LPSTR lpszBuf, UINT nMaxBuf)
{
    ASSERT(lpszBuf != NULL && nMaxBuf > 0);
    int nLen = ::LoadString(StringResourceHandle(nID), nID, lpszBuf, static_cast<int>(nMaxBuf));
    if (nLen == 0)
        lpszBuf[0] = '\0';
    return nLen;
}
