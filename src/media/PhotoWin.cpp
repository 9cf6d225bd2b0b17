#include "media/PhotoWin.h"

#include <cstring>
#include <vector>

namespace {

// The viewer's message to its window: the colours of the opened bubble are ready.
const UINT WM_PHOTO_COLOURS_READY = 0x7515;
// The size of the text buffer of a hit test.
const int kHitTextSize = 832;

typedef int(WINAPI* PFN_IPX_CREATE)(HWND, int, int, int, HANDLE*);
typedef void(WINAPI* PFN_IPX_RELEASE)(HANDLE);
typedef int(WINAPI* PFN_IPX_OPEN)(HANDLE, char*, int);
typedef void(WINAPI* PFN_IPX_RESET)(HANDLE);
typedef void(WINAPI* PFN_IPX_BITMAPINFO)(HANDLE, BITMAPINFOHEADER**);
typedef LONG(WINAPI* PFN_IPX_STATE)(HANDLE);
typedef void(WINAPI* PFN_IPX_QUERY)(HANDLE, LONG*);
typedef void(WINAPI* PFN_IPX_HITTEST)(HANDLE, int, int, BOOL*, char*);

struct IPX_VIEWER_LIBRARY {
    BOOL bTried = FALSE;
    HMODULE hModule = NULL;
    PFN_IPX_CREATE pfnCreate = NULL;        // 1
    PFN_IPX_RELEASE pfnRelease = NULL;      // 2
    PFN_IPX_OPEN pfnOpen = NULL;            // 3
    PFN_IPX_RESET pfnReset = NULL;          // 7
    PFN_IPX_BITMAPINFO pfnBitmapInfo = NULL;  // 10
    PFN_IPX_STATE pfnState = NULL;          // 14
    PFN_IPX_QUERY pfnQuery = NULL;          // 19
    PFN_IPX_HITTEST pfnHitTest = NULL;      // 25
};

template <typename F>
void Bind(HMODULE hModule, int nOrdinal, F& pfn)
{
    pfn = reinterpret_cast<F>(::GetProcAddress(hModule, MAKEINTRESOURCE(nOrdinal)));
}

// The viewer library, loaded once; NULL when it is missing or lacks an entry point.
const IPX_VIEWER_LIBRARY* Library()
{
    static IPX_VIEWER_LIBRARY library;
    if (!library.bTried) {
        library.bTried = TRUE;
        HMODULE hModule = ::LoadLibrary("IPX32_53.dll");
        if (hModule != NULL) {
            Bind(hModule, 1, library.pfnCreate);
            Bind(hModule, 2, library.pfnRelease);
            Bind(hModule, 3, library.pfnOpen);
            Bind(hModule, 7, library.pfnReset);
            Bind(hModule, 10, library.pfnBitmapInfo);
            Bind(hModule, 14, library.pfnState);
            Bind(hModule, 19, library.pfnQuery);
            Bind(hModule, 25, library.pfnHitTest);
            if (library.pfnCreate && library.pfnRelease && library.pfnOpen && library.pfnReset &&
                library.pfnBitmapInfo && library.pfnState && library.pfnQuery && library.pfnHitTest)
                library.hModule = hModule;
            else
                ::FreeLibrary(hModule);
        }
    }
    return library.hModule != NULL ? &library : NULL;
}

// Program-wide: one bubble at a time.
HANDLE g_hViewer = NULL;
WNDPROC g_pfnOldProc = NULL;
CPhotoWin* g_pCurrentPhotoWin = NULL;
CString g_strClassName;

// Releases the program-wide viewer handle, once.
void ReleaseViewer()
{
    if (g_hViewer == NULL)
        return;
    HANDLE hViewer = g_hViewer;
    g_hViewer = NULL;
    if (const IPX_VIEWER_LIBRARY* pLibrary = Library())
        pLibrary->pfnRelease(hViewer);
}

// TRUE when the window is the photo window that holds the viewer handle.
BOOL HoldsViewer(HWND hWnd)
{
    return g_hViewer != NULL && g_pCurrentPhotoWin != NULL && g_pCurrentPhotoWin->GetSafeHwnd() == hWnd;
}

LRESULT CALLBACK PhotoWndProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    const IPX_VIEWER_LIBRARY* pLibrary = Library();
    switch (message) {
    case WM_PHOTO_COLOURS_READY:
        if (g_pCurrentPhotoWin != NULL) {
            g_pCurrentPhotoWin->BuildPalette();
            // The owner paints next and takes the bubble's colours into its own palette.
            if (HWND hParent = ::GetParent(hWnd))
                ::InvalidateRect(hParent, NULL, FALSE);
        }
        return 0;
    case WM_LBUTTONDBLCLK:
        if (pLibrary != NULL && g_hViewer != NULL) {
            BOOL bHit = FALSE;
            char szText[kHitTextSize];
            std::memset(szText, 0, sizeof szText);
            pLibrary->pfnHitTest(g_hViewer, static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam)),
                                 &bHit, szText);
            szText[kHitTextSize - 1] = '\0';
            if (bHit && std::strcmp(szText, "RESET") == 0) {
                pLibrary->pfnReset(g_hViewer);
                return 0;
            }
        }
        break;
    case WM_DESTROY:
    case WM_CLOSE:
        // Only the window that holds the handle gives it back: an older photo window going
        // away later must not take the newer one's viewer with it.
        if (HoldsViewer(hWnd))
            ReleaseViewer();
        return 0;
    default:
        break;
    }
    return ::CallWindowProc(g_pfnOldProc != NULL ? g_pfnOldProc : ::DefWindowProc, hWnd, message, wParam, lParam);
}

}  // namespace

IMPLEMENT_DYNAMIC(CPhotoWin, CWnd)

BEGIN_MESSAGE_MAP(CPhotoWin, CWnd)
    ON_WM_CREATE()
END_MESSAGE_MAP()

CPhotoWin::CPhotoWin() = default;

CPhotoWin::~CPhotoWin()
{
    delete m_pOwned;
    if (g_pCurrentPhotoWin == this) {
        ReleaseViewer();
        g_pCurrentPhotoWin = NULL;
    }
    if (m_hPalette != NULL)
        ::DeleteObject(m_hPalette);
}

BOOL CPhotoWin::Create(CWnd* pParent, const RECT& rect, LPCSTR pszPath)
{
    if (g_strClassName.IsEmpty())
        g_strClassName = AfxRegisterWndClass(CS_HREDRAW | CS_VREDRAW | CS_DBLCLKS, NULL, NULL, NULL);
    if (!CreateEx(0, g_strClassName, "Photobubble", WS_CHILD | WS_CLIPSIBLINGS | WS_BORDER, rect, pParent, 0))
        return FALSE;
    const IPX_VIEWER_LIBRARY* pLibrary = Library();
    if (pLibrary == NULL)
        return FALSE;
    ReleaseViewer();
    HANDLE hViewer = NULL;
    pLibrary->pfnCreate(m_hWnd, 1, 1, 1, &hViewer);
    g_hViewer = hViewer;
    if (g_hViewer == NULL || !OpenBubble(pszPath))
        return FALSE;
    WNDPROC pfnOld = reinterpret_cast<WNDPROC>(::SetWindowLongPtr(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PhotoWndProc)));
    if (pfnOld != PhotoWndProc)
        g_pfnOldProc = pfnOld;
    return TRUE;
}

BOOL CPhotoWin::OpenBubble(LPCSTR pszPath)
{
    const IPX_VIEWER_LIBRARY* pLibrary = Library();
    if (pLibrary == NULL || g_hViewer == NULL || pszPath == NULL)
        return FALSE;
    // The library takes a writable copy of the path.
    std::vector<char> path(pszPath, pszPath + std::strlen(pszPath) + 1);
    return pLibrary->pfnOpen(g_hViewer, path.data(), 0) == 0;
}

LONG CPhotoWin::GetState()
{
    const IPX_VIEWER_LIBRARY* pLibrary = Library();
    return pLibrary != NULL && g_hViewer != NULL ? pLibrary->pfnState(g_hViewer) : 0;
}

BOOL CPhotoWin::Query()
{
    const IPX_VIEWER_LIBRARY* pLibrary = Library();
    LONG nValue = 0;
    if (pLibrary != NULL && g_hViewer != NULL)
        pLibrary->pfnQuery(g_hViewer, &nValue);
    m_dwWord = static_cast<DWORD>(nValue);
    return TRUE;
}

HPALETTE CPhotoWin::BuildPalette()
{
    const IPX_VIEWER_LIBRARY* pLibrary = Library();
    if (pLibrary == NULL || g_hViewer == NULL)
        return m_hPalette;
    BITMAPINFOHEADER* pHeader = NULL;
    pLibrary->pfnBitmapInfo(g_hViewer, &pHeader);
    if (pHeader == NULL)
        return m_hPalette;
    m_pHeader = pHeader;
    // The colour table follows the header, whose first field is its own size.
    const auto* pTable = reinterpret_cast<const BYTE*>(pHeader) + pHeader->biSize;
    const int nEntries = 256;
    std::vector<BYTE> buffer(sizeof(LOGPALETTE) + nEntries * sizeof(PALETTEENTRY));
    auto* pLog = reinterpret_cast<LOGPALETTE*>(buffer.data());
    pLog->palVersion = 0x300;
    pLog->palNumEntries = nEntries;
    for (int i = 0; i < nEntries; ++i) {
        pLog->palPalEntry[i].peRed = pTable[i * 4 + 2];
        pLog->palPalEntry[i].peGreen = pTable[i * 4 + 1];
        pLog->palPalEntry[i].peBlue = pTable[i * 4 + 0];
        pLog->palPalEntry[i].peFlags = 0;
    }
    m_nPaletteEntries = nEntries;
    // A palette already handed out stays valid: its colours are brought up to date in place.
    if (m_hPalette != NULL)
        ::SetPaletteEntries(m_hPalette, 0, nEntries, pLog->palPalEntry);
    else
        m_hPalette = ::CreatePalette(pLog);
    return m_hPalette;
}

CPhotoWin* CPhotoWin::GetCurrent()
{
    return g_pCurrentPhotoWin;
}

HANDLE CPhotoWin::GetViewerHandle()
{
    return g_hViewer;
}

int CPhotoWin::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    if (CWnd::OnCreate(lpCreateStruct) == -1)
        return -1;
    g_pCurrentPhotoWin = this;
    return 0;
}
