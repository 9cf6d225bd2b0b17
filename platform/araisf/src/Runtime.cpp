// ARAISF.dll: runs simulation libraries (araisf/AraSimPlugin.h) in child windows of the caller.
// Each simulation is one window of the class "AraSimWindow"; the window is the handle the caller
// gets, and destroying it stops the simulation and unloads its library.
#include <araisf/AraSimPlugin.h>

#include <host/Exports.h>

#include <cstdio>
#include <cstring>
#include <string>

#define ARA_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

const char kClassName[] = "AraSimWindow";
const UINT_PTR kTickTimer = 1;

struct Simulation {
    HMODULE hLibrary = nullptr;
    ARASIM_INFO info{};
    PFN_ARASIM_START pfnStart = nullptr;
    PFN_ARASIM_STOP pfnStop = nullptr;
    PFN_ARASIM_PAINT pfnPaint = nullptr;
    PFN_ARASIM_INPUT pfnInput = nullptr;
    PFN_ARASIM_TICK pfnTick = nullptr;
    void* pInstance = nullptr;
    DWORD* pContext = nullptr;
    bool bCaptured = false;
};

Simulation* SimulationOf(HWND hwnd)
{
    return reinterpret_cast<Simulation*>(GetWindowLongPtr(hwnd, GWLP_USERDATA));
}

void Report(HWND hwndOwner, const std::string& file, const char* reason)
{
    std::string text = "The simulation \"" + file + "\" cannot be started: " + reason;
    MessageBox(hwndOwner, text.c_str(), "Simulation", MB_OK | MB_ICONEXCLAMATION);
}

void Paint(HWND hwnd, Simulation* sim)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    RECT client;
    GetClientRect(hwnd, &client);
    // Only the part that can be seen is drawn: a window parked far outside its parent (as
    // callers do before they place it) must not cost a picture of its whole size.
    RECT visible = client;
    IntersectRect(&visible, &visible, &ps.rcPaint);
    if (HWND parent = GetParent(hwnd)) {
        RECT parentClient;
        GetClientRect(parent, &parentClient);
        MapWindowPoints(parent, hwnd, reinterpret_cast<POINT*>(&parentClient), 2);
        IntersectRect(&visible, &visible, &parentClient);
    }
    const int cx = visible.right - visible.left;
    const int cy = visible.bottom - visible.top;
    if (cx > 0 && cy > 0) {
        // Drawn off-screen first so that the window never shows a half-drawn frame.
        HDC hdcMem = CreateCompatibleDC(hdc);
        HBITMAP hbm = CreateCompatibleBitmap(hdc, cx, cy);
        HGDIOBJ hOld = SelectObject(hdcMem, hbm);
        SetViewportOrgEx(hdcMem, -visible.left, -visible.top, nullptr);
        FillRect(hdcMem, &client, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        if (sim->pInstance)
            sim->pfnPaint(sim->pInstance, hdcMem, &client);
        SetViewportOrgEx(hdcMem, 0, 0, nullptr);
        BitBlt(hdc, visible.left, visible.top, cx, cy, hdcMem, 0, 0, SRCCOPY);
        SelectObject(hdcMem, hOld);
        DeleteObject(hbm);
        DeleteDC(hdcMem);
    }
    EndPaint(hwnd, &ps);
}

LRESULT CALLBACK SimWndProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCT*>(lParam);
        SetWindowLongPtr(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(cs->lpCreateParams));
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    Simulation* sim = SimulationOf(hwnd);
    if (!sim)
        return DefWindowProc(hwnd, message, wParam, lParam);
    switch (message) {
    case WM_CREATE: {
        RECT client;
        GetClientRect(hwnd, &client);
        ARASIM_START start{sizeof(ARASIM_START), hwnd, client.right, client.bottom};
        sim->pInstance = sim->pfnStart(&start);
        if (!sim->pInstance)
            return -1;
        if (sim->info.uTickMilliseconds)
            SetTimer(hwnd, kTickTimer, sim->info.uTickMilliseconds, nullptr);
        return 0;
    }
    case WM_ERASEBKGND:
        return 1;
    case WM_PAINT:
        Paint(hwnd, sim);
        return 0;
    case WM_TIMER:
        if (wParam == kTickTimer && sim->pInstance && sim->pfnTick(sim->pInstance))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONUP:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_MOUSEMOVE: {
        if (message == WM_LBUTTONDOWN) {
            SetCapture(hwnd);
            sim->bCaptured = true;
        } else if (message == WM_LBUTTONUP && sim->bCaptured) {
            sim->bCaptured = false;
            ReleaseCapture();
        }
        const int x = static_cast<short>(LOWORD(lParam));
        const int y = static_cast<short>(HIWORD(lParam));
        if (sim->pInstance && sim->pfnInput(sim->pInstance, message, wParam, x, y))
            InvalidateRect(hwnd, nullptr, FALSE);
        return 0;
    }
    case WM_CAPTURECHANGED:
        sim->bCaptured = false;
        return 0;
    case WM_DESTROY:
        KillTimer(hwnd, kTickTimer);
        if (sim->pInstance)
            sim->pfnStop(sim->pInstance);
        sim->pInstance = nullptr;
        return 0;
    case WM_NCDESTROY: {
        SetWindowLongPtr(hwnd, GWLP_USERDATA, 0);
        if (sim->pContext && *sim->pContext > 0)
            --*sim->pContext;
        FreeLibrary(sim->hLibrary);
        delete sim;
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
    default:
        return DefWindowProc(hwnd, message, wParam, lParam);
    }
}

bool RegisterSimClass()
{
    static bool registered = false;
    if (registered)
        return true;
    WNDCLASS wc{};
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = SimWndProc;
    wc.hInstance = GetModuleHandle(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    registered = RegisterClass(&wc) != 0;
    return registered;
}

bool IsSimulationWindow(HWND hwnd)
{
    char name[32] = {};
    return hwnd && IsWindow(hwnd) && GetClassName(hwnd, name, sizeof name) > 0 && std::strcmp(name, kClassName) == 0;
}

template <typename F>
bool Bind(HMODULE module, int ordinal, F& pfn)
{
    pfn = reinterpret_cast<F>(GetProcAddress(module, MAKEINTRESOURCE(ordinal)));
    return pfn != nullptr;
}

}  // namespace

ARA_EXPORT HWND WINAPI AraCreateSimulation(LPCSTR pszFolder, LPCSTR pszFile, DWORD* pContext, HWND hwndParent,
                                           const RECT* pRect, int nFlags)
{
    if (!pszFolder || !pszFile || !pRect || !hwndParent || !IsWindow(hwndParent))
        return nullptr;
    std::string path = pszFolder;
    if (!path.empty() && path.back() != '\\' && path.back() != ':')
        path += '\\';
    path += pszFile;
    if (GetFileAttributes(path.c_str()) == INVALID_FILE_ATTRIBUTES) {
        Report(hwndParent, pszFile, "the file is missing.");
        return nullptr;
    }
    auto* sim = new Simulation;
    sim->hLibrary = LoadLibrary(path.c_str());
    PFN_ARASIM_DESCRIBE pfnDescribe = nullptr;
    if (!sim->hLibrary) {
        Report(hwndParent, pszFile, "the file is damaged or is not a code library.");
        delete sim;
        return nullptr;
    }
    sim->info.cbSize = sizeof(ARASIM_INFO);
    if (!Bind(sim->hLibrary, 1, pfnDescribe) || !Bind(sim->hLibrary, 2, sim->pfnStart) ||
        !Bind(sim->hLibrary, 3, sim->pfnStop) || !Bind(sim->hLibrary, 4, sim->pfnPaint) ||
        !Bind(sim->hLibrary, 5, sim->pfnInput) || !Bind(sim->hLibrary, 6, sim->pfnTick) ||
        !pfnDescribe(&sim->info) || sim->info.dwVersion != ARASIM_VERSION || sim->info.cxPreferred < 0 ||
        sim->info.cyPreferred < 0) {
        Report(hwndParent, pszFile, "the library is not a simulation of this runtime.");
        FreeLibrary(sim->hLibrary);
        delete sim;
        return nullptr;
    }
    sim->info.szTitle[sizeof sim->info.szTitle - 1] = '\0';
    if (!RegisterSimClass()) {
        FreeLibrary(sim->hLibrary);
        delete sim;
        return nullptr;
    }
    DWORD style = WS_CHILD | WS_CLIPSIBLINGS;
    if (nFlags & ARASIM_CREATE_VISIBLE)
        style |= WS_VISIBLE;
    // From WM_NCCREATE on the window owns the simulation and frees it when it goes, even when
    // the creation fails later.
    HWND hwnd = CreateWindowEx(0, kClassName, sim->info.szTitle, style, pRect->left, pRect->top,
                               pRect->right - pRect->left, pRect->bottom - pRect->top, hwndParent, nullptr,
                               GetModuleHandle(nullptr), sim);
    if (!hwnd) {
        Report(hwndParent, pszFile, "the simulation did not start.");
        return nullptr;
    }
    sim->pContext = pContext;
    if (pContext)
        ++*pContext;
    return hwnd;
}

ARA_EXPORT void WINAPI AraDestroySimulation(HWND hwnd)
{
    if (IsSimulationWindow(hwnd))
        DestroyWindow(hwnd);
}

ARA_EXPORT BOOL WINAPI AraGetPreferredRect(HWND hwnd, const RECT* pIn, RECT* pOut)
{
    if (!IsSimulationWindow(hwnd) || !pIn || !pOut)
        return FALSE;
    Simulation* sim = SimulationOf(hwnd);
    if (!sim)
        return FALSE;
    // A simulation without a size of its own takes the rectangle proposed.
    *pOut = *pIn;
    if (sim->info.cxPreferred > 0 && sim->info.cyPreferred > 0) {
        pOut->right = pIn->left + sim->info.cxPreferred;
        pOut->bottom = pIn->top + sim->info.cyPreferred;
    }
    return TRUE;
}

ARA_EXPORT void WINAPI AraNotifySimulation(HWND hwnd)
{
    if (IsSimulationWindow(hwnd)) {
        InvalidateRect(hwnd, nullptr, FALSE);
        UpdateWindow(hwnd);
    }
}

VL_EXPORT_TABLE = {
    {2, "AraCreateSimulation"},
    {3, "AraDestroySimulation"},
    {5, "AraGetPreferredRect"},
    {7, "AraNotifySimulation"},
    {0, nullptr},
};
