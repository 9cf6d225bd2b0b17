// The device contexts that painting hands out. Until the window system draws through the GDI's
// display surface, these are stand-in handles that only record which window, which area and
// which clip they stand for. This file is the one place to switch to host::CreateDisplayDC /
// host::ReleaseDisplayDC and the GDI's regions.
#include "UserInternal.h"

namespace user {

namespace {

struct StandInDC {
    HWND hwnd = nullptr;
    POINT origin{};
    std::vector<RECT> visible;
};

struct DCTable {
    std::map<HDC, StandInDC> dcs;
    std::uintptr_t next = 0x50000;
};

DCTable& Table()
{
    static auto* t = new DCTable;
    return *t;
}

}  // namespace

HDC AcquireWindowDC(HWND hwnd, POINT origin, const std::vector<RECT>& visible)
{
    Guard g(Mutex());
    Table().next += 4;
    HDC hdc = reinterpret_cast<HDC>(Table().next);
    Table().dcs[hdc] = StandInDC{hwnd, origin, visible};
    return hdc;
}

bool ReleaseWindowDC(HDC hdc)
{
    Guard g(Mutex());
    return Table().dcs.erase(hdc) != 0;
}

HWND WindowOfDC(HDC hdc)
{
    Guard g(Mutex());
    auto it = Table().dcs.find(hdc);
    return it == Table().dcs.end() ? nullptr : it->second.hwnd;
}

void FillBackground(HDC, HWND, const RECT&, HBRUSH)
{
    // Drawing comes with the GDI's display surface.
}

void DrawNonClient(HWND)
{
    // The frame, caption and menu bar are drawn once the GDI's display surface exists.
}

bool RegionRects(HRGN, std::vector<RECT>&)
{
    return false;  // regions are the GDI's; callers fall back to the whole client area
}

int SetRegionRects(HRGN, const std::vector<RECT>&)
{
    return 0;  // ERROR: no regions without the GDI
}

void MoveWindowPixels(HWND, const RECT&, int, int)
{
    // Pixels move once windows draw into the display surface.
}

}  // namespace user
