// Support of the simulation and photo-bubble tests: a parent window on the desktop, screenshots
// of a window, and the test-only counters of the bubble viewer library.
#pragma once

#include "MediaTestSupport.h"

#include <host/Display.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace media_test {

class CParentWnd : public CWnd {
public:
    BOOL CreateParent(int cx = 700, int cy = 420)
    {
        return CreateEx(0, AfxRegisterWndClass(0, NULL, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))), "Parent",
                        WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, cx, cy), NULL, 0);
    }
};

// The window's part of the desktop as a PNG among the test's files (and in VL_SCREENSHOT_DIR).
inline void ScreenshotOf(HWND hwnd, const std::filesystem::path& folder, const std::string& name)
{
    CRect rc;
    ::GetWindowRect(hwnd, &rc);
    const std::string png = (folder / name).string();
    EXPECT_TRUE(host::SaveDesktopPng(png, &rc));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / name, std::filesystem::copy_options::overwrite_existing);
}

// A pixel of a window's client area as the desktop shows it.
inline COLORREF ClientPixel(HWND hwnd, int x, int y)
{
    POINT pt{x, y};
    ::ClientToScreen(hwnd, &pt);
    return host::DesktopPixel(pt.x, pt.y);
}

// The bubble viewer library's count of live viewers and of releases of handles not alive.
inline int ViewerLibraryCount(int nOrdinal)
{
    HMODULE hModule = ::GetModuleHandle("IPX32_53.dll");
    if (hModule == NULL)
        return -1;
    auto pfn = reinterpret_cast<int(WINAPI*)()>(::GetProcAddress(hModule, MAKEINTRESOURCE(nOrdinal)));
    return pfn != NULL ? pfn() : -1;
}
inline int LiveViewers() { return ViewerLibraryCount(40); }
inline int StaleViewerReleases() { return ViewerLibraryCount(41); }

}  // namespace media_test
