// The device contexts that painting hands out, and the drawing the window system does itself
// (backgrounds, frames, captions, menu bars, scrolled pixels). With the GDI's display surface
// they are display DCs over the desktop; without it they are stand-in handles that only record
// which window and which area they stand for. This file is the one place that knows which.
#include "ScrollBarInternal.h"
#include "UserInternal.h"

#if __has_include(<host/Display.h>)
#include <host/Display.h>
#define USER_DRAWS_ON_DISPLAY 1
#endif

#include <cstring>

namespace user {

namespace {

struct WindowDC {
    HWND hwnd = nullptr;
    POINT origin{};
    std::vector<RECT> visible;
    HWND root = nullptr;  // top-level window of hwnd
};

// The table has a lock of its own: the GDI consults it from under its locks.
struct DCTable {
    std::mutex lock;
    std::map<HDC, WindowDC> dcs;
    std::uintptr_t next = 0x50000;
};

DCTable& Table()
{
    static auto* t = new DCTable;
    return *t;
}

}  // namespace

#ifdef USER_DRAWS_ON_DISPLAY

namespace {

HRGN RegionOf(const std::vector<RECT>& rects)
{
    HRGN rgn = CreateRectRgn(0, 0, 0, 0);
    for (const RECT& r : rects) {
        HRGN part = CreateRectRgnIndirect(&r);
        CombineRgn(rgn, rgn, part, RGN_OR);
        DeleteObject(part);
    }
    return rgn;
}

// A class brush may name a system colour (COLOR_xxx + 1).
HBRUSH RealBrush(HBRUSH brush)
{
    auto value = reinterpret_cast<std::uintptr_t>(brush);
    if (value >= 1 && value <= 31)
        return GetSysColorBrush(static_cast<int>(value - 1));
    return brush;
}

void Fill(HDC hdc, LONG l, LONG t, LONG r, LONG b, int color)
{
    RECT rc = MakeRect(l, t, r, b);
    if (!RectEmpty(rc))
        FillRect(hdc, &rc, GetSysColorBrush(color));
}

// A classic 3-D edge: light on the top and left, dark on the bottom and right.
void Edge(HDC hdc, RECT r, int light, int dark)
{
    Fill(hdc, r.left, r.top, r.right - 1, r.top + 1, light);
    Fill(hdc, r.left, r.top, r.left + 1, r.bottom - 1, light);
    Fill(hdc, r.left, r.bottom - 1, r.right, r.bottom, dark);
    Fill(hdc, r.right - 1, r.top, r.right, r.bottom, dark);
}

RECT Inset(RECT r, LONG n)
{
    return MakeRect(r.left + n, r.top + n, r.right - n, r.bottom - n);
}

}  // namespace

HDC AcquireWindowDC(HWND hwnd, POINT origin, const std::vector<RECT>& visible)
{
    HRGN rgn = RegionOf(visible);
    HDC hdc = host::CreateDisplayDC(origin, rgn);
    DeleteObject(rgn);
    host::SetDisplayDCOwner(hdc, hwnd);
    HWND root = GetAncestor(hwnd, GA_ROOT);
    std::lock_guard<std::mutex> g(Table().lock);
    Table().dcs[hdc] = WindowDC{hwnd, origin, visible, root};
    return hdc;
}

bool ReleaseWindowDC(HDC hdc)
{
    {
        std::lock_guard<std::mutex> g(Table().lock);
        if (Table().dcs.erase(hdc) == 0)
            return false;
    }
    host::ReleaseDisplayDC(hdc);
    return true;
}

void FillBackground(HDC hdc, HWND, const RECT& rect, HBRUSH brush)
{
    FillRect(hdc, &rect, RealBrush(brush));
}

void DrawNonClient(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w || !VisibleChain(*w))
        return;
    RECT wr, cr;
    DWORD style, exStyle;
    bool active;
    std::string text;
    {
        Guard g(Mutex());
        wr = Offset(w->window, -w->window.left, -w->window.top);
        cr = Offset(w->client, -w->window.left, -w->window.top);
        style = w->style;
        exStyle = w->exStyle;
        active = w->ncActive;
        text = w->text;
    }
    std::vector<RECT> visible = VisibleRects(*w, true, false);
    // The client area is not the frame's to draw.
    std::vector<RECT> frameOnly;
    RECT clientScreen = w->client;
    for (const RECT& v : visible) {
        std::vector<RECT> pieces{v};
        SubtractFromList(pieces, clientScreen);
        frameOnly.insert(frameOnly.end(), pieces.begin(), pieces.end());
    }
    if (frameOnly.empty())
        return;
    HDC hdc = AcquireWindowDC(hwnd, POINT{w->window.left, w->window.top}, frameOnly);
    RECT r = wr;
    if (style & WS_THICKFRAME) {
        Edge(hdc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        Edge(hdc, Inset(r, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        for (int i = 2; i < GetSystemMetrics(SM_CXFRAME); ++i) {
            RECT band = Inset(r, i);
            Edge(hdc, band, active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER,
                 active ? COLOR_ACTIVEBORDER : COLOR_INACTIVEBORDER);
        }
        r = Inset(r, GetSystemMetrics(SM_CXFRAME));
    } else if ((style & WS_DLGFRAME) || (exStyle & WS_EX_DLGMODALFRAME)) {
        Edge(hdc, r, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
        Edge(hdc, Inset(r, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
        Edge(hdc, Inset(r, 2), COLOR_BTNFACE, COLOR_BTNFACE);
        r = Inset(r, GetSystemMetrics(SM_CXDLGFRAME));
    } else if (style & WS_BORDER) {
        Edge(hdc, r, COLOR_WINDOWFRAME, COLOR_WINDOWFRAME);
        r = Inset(r, 1);
    }
    if ((style & WS_CAPTION) == WS_CAPTION) {
        int height = GetSystemMetrics((exStyle & WS_EX_TOOLWINDOW) ? SM_CYSMCAPTION : SM_CYCAPTION);
        Fill(hdc, r.left, r.top, r.right, r.top + height - 1, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        Fill(hdc, r.left, r.top + height - 1, r.right, r.top + height, COLOR_BTNFACE);
        int x = r.left + 2;
        if ((style & WS_SYSMENU) && !(exStyle & WS_EX_TOOLWINDOW))
            x += height;
        if (style & WS_SYSMENU) {
            // Close, maximise and minimise boxes at the right end.
            int button = GetSystemMetrics(SM_CXSIZE);
            RECT box = MakeRect(r.right - button, r.top + 2, r.right - 2, r.top + height - 3);
            int boxes = (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) ? 3 : 1;
            for (int i = 0; i < boxes; ++i) {
                Fill(hdc, box.left, box.top, box.right, box.bottom, COLOR_BTNFACE);
                Edge(hdc, box, COLOR_BTNHIGHLIGHT, COLOR_3DDKSHADOW);
                box = Offset(box, -(button + (i == 0 ? 2 : 0)), 0);
            }
        }
        if (!text.empty()) {
            HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            RECT textRect = MakeRect(x, r.top, r.right - 3 * GetSystemMetrics(SM_CXSIZE), r.top + height - 1);
            DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
            SelectObject(hdc, old);
        }
        r.top += height;
    }
    auto items = MenuBarItems(hwnd);
    if (!items.empty()) {
        int height = GetSystemMetrics(SM_CYMENU);
        Fill(hdc, r.left, r.top, r.right, r.top + height, COLOR_MENU);
        HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
        SetBkMode(hdc, TRANSPARENT);
        SetTextColor(hdc, GetSysColor(COLOR_MENUTEXT));
        for (auto& [rect, label] : items) {
            std::string shown;
            for (char c : label)
                if (c != '&')
                    shown += c;
            RECT textRect = rect;
            textRect.left += 8;
            DrawTextA(hdc, shown.c_str(), static_cast<int>(shown.size()), &textRect, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
        }
        SelectObject(hdc, old);
    }
    if (exStyle & WS_EX_CLIENTEDGE) {
        RECT edge = MakeRect(cr.left - 2, cr.top - 2, cr.right + 2, cr.bottom + 2);
        if (style & WS_VSCROLL)
            edge.right += GetSystemMetrics(SM_CXVSCROLL);
        if (style & WS_HSCROLL)
            edge.bottom += GetSystemMetrics(SM_CYHSCROLL);
        Edge(hdc, edge, COLOR_BTNSHADOW, COLOR_BTNHIGHLIGHT);
        Edge(hdc, Inset(edge, 1), COLOR_3DDKSHADOW, COLOR_3DLIGHT);
    }
    DrawWindowScrollBars(hwnd, hdc, cr);
    ReleaseWindowDC(hdc);
}

void PaintDesktop(const RECT& area)
{
    std::vector<RECT> uncovered;
    {
        Guard g(Mutex());
        RECT r = Intersect(area, Desktop().window);
        if (RectEmpty(r))
            return;
        uncovered.push_back(r);
        for (const Window* c : Desktop().children) {
            if (c->style & WS_VISIBLE)
                SubtractFromList(uncovered, c->window);
        }
    }
    if (uncovered.empty())
        return;
    HRGN rgn = RegionOf(uncovered);
    HDC hdc = host::CreateDisplayDC(POINT{0, 0}, rgn);
    DeleteObject(rgn);
    for (const RECT& r : uncovered)
        FillRect(hdc, &r, GetSysColorBrush(COLOR_BACKGROUND));
    host::ReleaseDisplayDC(hdc);
}

bool RegionRects(HRGN rgn, std::vector<RECT>& rects)
{
    DWORD size = GetRegionData(rgn, 0, nullptr);
    if (size == 0)
        return false;
    std::vector<unsigned char> buffer(size);
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    if (GetRegionData(rgn, size, data) == 0)
        return false;
    rects.resize(data->rdh.nCount);
    std::memcpy(rects.data(), data->Buffer, rects.size() * sizeof(RECT));
    return true;
}

int SetRegionRects(HRGN rgn, const std::vector<RECT>& rects)
{
    if (!rgn)
        return ERROR;
    SetRectRgn(rgn, 0, 0, 0, 0);
    int type = NULLREGION;
    for (const RECT& r : rects) {
        HRGN part = CreateRectRgnIndirect(&r);
        type = CombineRgn(rgn, rgn, part, RGN_OR);
        DeleteObject(part);
    }
    return type;
}

void MoveWindowPixels(HWND hwnd, const RECT& source, int dx, int dy)
{
    WindowPtr w = Find(hwnd);
    if (!w || RectEmpty(source))
        return;
    HDC hdc = AcquireWindowDC(hwnd, POINT{w->client.left, w->client.top}, VisibleRects(*w, false, false));
    BitBlt(hdc, source.left + dx, source.top + dy, source.right - source.left, source.bottom - source.top, hdc,
           source.left, source.top, SRCCOPY);
    ReleaseWindowDC(hdc);
}

#else  // Without the display surface: stand-in handles that only keep the bookkeeping.

HDC AcquireWindowDC(HWND hwnd, POINT origin, const std::vector<RECT>& visible)
{
    HWND root = GetAncestor(hwnd, GA_ROOT);
    std::lock_guard<std::mutex> g(Table().lock);
    Table().next += 4;
    HDC hdc = reinterpret_cast<HDC>(Table().next);
    Table().dcs[hdc] = WindowDC{hwnd, origin, visible, root};
    return hdc;
}

bool ReleaseWindowDC(HDC hdc)
{
    std::lock_guard<std::mutex> g(Table().lock);
    return Table().dcs.erase(hdc) != 0;
}

void FillBackground(HDC, HWND, const RECT&, HBRUSH) {}

void DrawNonClient(HWND) {}

void PaintDesktop(const RECT&) {}

bool RegionRects(HRGN, std::vector<RECT>&)
{
    return false;  // callers fall back to the whole client area
}

int SetRegionRects(HRGN, const std::vector<RECT>&)
{
    return 0;  // ERROR: no regions without the GDI
}

void MoveWindowPixels(HWND, const RECT&, int, int) {}

#endif

HWND WindowOfDC(HDC hdc)
{
    std::lock_guard<std::mutex> g(Table().lock);
    auto it = Table().dcs.find(hdc);
    return it == Table().dcs.end() ? nullptr : it->second.hwnd;
}

#ifdef USER_DRAWS_ON_DISPLAY

int MenuTextWidth(const std::string& text)
{
    HDC hdc = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size{};
    GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    SelectObject(hdc, old);
    host::ReleaseDisplayDC(hdc);
    return size.cx;
}

bool PaletteDisplay()
{
    return host::GetDisplayMode() == host::DisplayMode::Palette256;
}

void InstallPaletteHandlers()
{
    // A realisation that changed the system palette is announced to every top-level window,
    // with the window whose DC realised it.
    host::SetSystemPaletteChangedHandler([](HDC hdc) {
        HWND from = WindowOfDC(hdc);
        std::vector<HWND> tops;
        {
            Guard g(Mutex());
            for (Window* c : Desktop().children)
                tops.push_back(c->hwnd);
        }
        for (HWND h : tops)
            if (IsWindow(h))
                SendNotifyMessageA(h, WM_PALETTECHANGED, reinterpret_cast<WPARAM>(from), 0);
    });
    // Windows of the active top-level window realise in the foreground.
    host::SetPaletteForegroundQuery([](HDC hdc) {
        std::lock_guard<std::mutex> g(Table().lock);
        auto it = Table().dcs.find(hdc);
        if (it == Table().dcs.end() || it->second.root == nullptr)
            return true;
        return it->second.root == ActiveWindowLockFree();
    });
}

#else

int MenuTextWidth(const std::string& text)
{
    // Without fonts an average character width of the menu font stands in.
    return static_cast<int>(text.size()) * 6;
}

bool PaletteDisplay()
{
    return false;
}

void InstallPaletteHandlers() {}

#endif

}  // namespace user

#ifdef USER_DRAWS_ON_DISPLAY

HBRUSH WINAPI GetSysColorBrush(int index)
{
    static HBRUSH brushes[32] = {};
    if (index < 0 || index >= 32)
        return nullptr;
    user::Guard g(user::Mutex());
    if (!brushes[index])
        brushes[index] = CreateSolidBrush(GetSysColor(index));
    return brushes[index];
}

#endif
