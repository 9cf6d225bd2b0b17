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

// The icon a caption shows: the window's own small or big icon, else its class's; a window
// without any shows the default application icon, a dialog frame none.
HICON CaptionIcon(const Window& w)
{
    HICON icon = nullptr;
    {
        Guard g(Mutex());
        icon = w.iconSmall ? w.iconSmall : w.icon;
        if (!icon && w.cls)
            icon = w.cls->iconSmall ? w.cls->iconSmall : w.cls->icon;
        if (!icon && (w.exStyle & WS_EX_DLGMODALFRAME))
            return nullptr;
    }
    return icon ? icon : LoadIconA(nullptr, IDI_APPLICATION);
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
    int pressed = 0;
    std::string text;
    {
        Guard g(Mutex());
        wr = Offset(w->window, -w->window.left, -w->window.top);
        cr = Offset(w->client, -w->window.left, -w->window.top);
        style = w->style;
        exStyle = w->exStyle;
        active = w->ncActive;
        text = w->text;
        pressed = w->ncButtonDown;
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
        const bool tool = (exStyle & WS_EX_TOOLWINDOW) != 0;
        int height = GetSystemMetrics(tool ? SM_CYSMCAPTION : SM_CYCAPTION);
        Fill(hdc, r.left, r.top, r.right, r.top + height - 1, active ? COLOR_ACTIVECAPTION : COLOR_INACTIVECAPTION);
        Fill(hdc, r.left, r.top + height - 1, r.right, r.top + height, COLOR_BTNFACE);
        int x = r.left + 2;
        if ((style & WS_SYSMENU) && !tool) {
            // The window menu's place: the window's small icon.
            if (HICON icon = CaptionIcon(*w)) {
                int size = GetSystemMetrics(SM_CXSMICON);
                DrawIconEx(hdc, r.left + 2, r.top + (height - 1 - size) / 2, icon, size, size, 0, nullptr, DI_NORMAL);
            }
            x += height;
        }
        LONG textRight = r.right - 2;
        if (style & WS_SYSMENU) {
            // Close box at the right end; maximise and minimise boxes side by side left of it.
            const int width = GetSystemMetrics(SM_CXSIZE) - 2;
            const bool noClose = (GetClassLongA(hwnd, GCL_STYLE) & CS_NOCLOSE) != 0;
            RECT box = MakeRect(r.right - 2 - width, r.top + 2, r.right - 2, r.top + height - 3);
            DrawFrameControl(hdc, &box, DFC_CAPTION,
                             DFCS_CAPTIONCLOSE | (noClose ? DFCS_INACTIVE : 0) | (pressed == HTCLOSE ? DFCS_PUSHED : 0));
            textRight = box.left - 2;
            if (style & (WS_MAXIMIZEBOX | WS_MINIMIZEBOX)) {
                box = Offset(box, -(width + 2), 0);
                DrawFrameControl(hdc, &box, DFC_CAPTION,
                                 ((style & WS_MAXIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) |
                                     ((style & WS_MAXIMIZEBOX) ? 0 : DFCS_INACTIVE) |
                                     (pressed == HTMAXBUTTON ? DFCS_PUSHED : 0));
                box = Offset(box, -width, 0);
                DrawFrameControl(hdc, &box, DFC_CAPTION,
                                 ((style & WS_MINIMIZE) ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) |
                                     ((style & WS_MINIMIZEBOX) ? 0 : DFCS_INACTIVE) |
                                     (pressed == HTMINBUTTON ? DFCS_PUSHED : 0));
                textRight = box.left - 2;
            }
        }
        if (!text.empty()) {
            HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
            SetBkMode(hdc, TRANSPARENT);
            SetTextColor(hdc, GetSysColor(active ? COLOR_CAPTIONTEXT : COLOR_INACTIVECAPTIONTEXT));
            RECT textRect = MakeRect(x, r.top, textRight, r.top + height - 1);
            DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &textRect,
                      DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS | DT_NOPREFIX);
            SelectObject(hdc, old);
        }
        r.top += height;
    }
    auto items = MenuBarItems(hwnd);
    if (!items.empty())
        DrawMenuBarItems(hdc, MakeRect(r.left, r.top, r.right, r.top + GetSystemMetrics(SM_CYMENU)), items);
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

// ---- Menus -------------------------------------------------------------------------------------

namespace {

// Paints a small shape given as rows of spans in a colour.
void Rows(HDC hdc, int x, int y, const std::vector<std::pair<int, int>>& rows, int color)
{
    for (size_t i = 0; i < rows.size(); ++i)
        Fill(hdc, x + rows[i].first, y + static_cast<LONG>(i), x + rows[i].second, y + static_cast<LONG>(i) + 1, color);
}

// The check mark (7 by 7), the radio bullet (6 by 6) and the submenu arrow (4 by 7).
void CheckMark(HDC hdc, int x, int y, int color)
{
    static const int tops[7] = {2, 3, 4, 3, 2, 1, 0};
    for (int i = 0; i < 7; ++i)
        Fill(hdc, x + i, y + tops[i], x + i + 1, y + tops[i] + 3, color);
}

void Bullet(HDC hdc, int x, int y, int color)
{
    Rows(hdc, x, y, {{2, 4}, {1, 5}, {0, 6}, {0, 6}, {1, 5}, {2, 4}}, color);
}

void SubmenuArrow(HDC hdc, int x, int y, int color)
{
    Rows(hdc, x, y, {{0, 1}, {0, 2}, {0, 3}, {0, 4}, {0, 3}, {0, 2}, {0, 1}}, color);
}

// Text with its mnemonic underlined, in one colour or, for a greyed item off the highlight,
// embossed: white a pixel down and right, the shadow colour over it.
void ItemText(HDC hdc, const std::string& text, RECT r, UINT format, int color, bool embossed)
{
    if (text.empty())
        return;
    if (embossed) {
        RECT shadow = Offset(r, 1, 1);
        SetTextColor(hdc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &shadow, format);
        color = COLOR_BTNSHADOW;
    }
    SetTextColor(hdc, GetSysColor(color));
    DrawTextA(hdc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

}  // namespace

void DrawMenuBarItems(HDC hdc, const RECT& bar, const std::vector<MenuItemView>& items)
{
    Fill(hdc, bar.left, bar.top, bar.right, bar.bottom, COLOR_MENU);
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    for (const MenuItemView& item : items) {
        bool greyed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
        bool lit = item.selected || (item.flags & MF_HILITE);
        if (lit)
            Fill(hdc, item.rect.left, item.rect.top, item.rect.right, item.rect.bottom, COLOR_HIGHLIGHT);
        ItemText(hdc, item.text, item.rect, DT_CENTER | DT_VCENTER | DT_SINGLELINE,
                 lit ? (greyed ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT) : COLOR_MENUTEXT, greyed && !lit);
    }
    SelectObject(hdc, old);
}

void DrawPopupMenu(HDC hdc, const RECT& client, const std::vector<MenuItemView>& items)
{
    // The classic raised frame around a face of the menu colour.
    Edge(hdc, client, COLOR_3DLIGHT, COLOR_3DDKSHADOW);
    Edge(hdc, Inset(client, 1), COLOR_BTNHIGHLIGHT, COLOR_BTNSHADOW);
    RECT face = Inset(client, 2);
    Fill(hdc, face.left, face.top, face.right, face.bottom, COLOR_MENU);
    HGDIOBJ old = SelectObject(hdc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(hdc, TRANSPARENT);
    for (const MenuItemView& item : items) {
        const RECT& r = item.rect;
        if (item.flags & MF_SEPARATOR) {
            LONG y = (r.top + r.bottom) / 2 - 1;
            Fill(hdc, r.left + 1, y, r.right - 1, y + 1, COLOR_BTNSHADOW);
            Fill(hdc, r.left + 1, y + 1, r.right - 1, y + 2, COLOR_BTNHIGHLIGHT);
            continue;
        }
        bool greyed = (item.flags & (MF_GRAYED | MF_DISABLED)) != 0;
        int color = COLOR_MENUTEXT;
        if (item.selected) {
            Fill(hdc, r.left, r.top, r.right, r.bottom, COLOR_HIGHLIGHT);
            color = greyed ? COLOR_GRAYTEXT : COLOR_HIGHLIGHTTEXT;
        } else if (greyed) {
            color = COLOR_GRAYTEXT;
        }
        bool embossed = greyed && !item.selected;
        int markColor = embossed ? COLOR_BTNSHADOW : color;
        LONG middle = (r.top + r.bottom) / 2;
        if (item.flags & MF_CHECKED) {
            if (embossed) {
                if (item.radio)
                    Bullet(hdc, r.left + 7, middle - 2, COLOR_BTNHIGHLIGHT);
                else
                    CheckMark(hdc, r.left + 7, middle - 2, COLOR_BTNHIGHLIGHT);
            }
            if (item.radio)
                Bullet(hdc, r.left + 6, middle - 3, markColor);
            else
                CheckMark(hdc, r.left + 6, middle - 3, markColor);
        }
        // The label in the left column, the accelerator text right-aligned in the right one.
        std::string label = item.text, accelerator;
        if (size_t tab = label.find('\t'); tab != std::string::npos) {
            accelerator = label.substr(tab + 1);
            label.resize(tab);
        }
        RECT text = MakeRect(r.left + 20, r.top, r.right - 16, r.bottom);
        ItemText(hdc, label, text, DT_LEFT | DT_VCENTER | DT_SINGLELINE, color, embossed);
        ItemText(hdc, accelerator, text, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX, color, embossed);
        if (item.flags & MF_POPUP) {
            if (embossed)
                SubmenuArrow(hdc, r.right - 11, middle - 3, COLOR_BTNHIGHLIGHT);
            SubmenuArrow(hdc, r.right - 12, middle - 4, markColor);
        }
    }
    SelectObject(hdc, old);
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
                for (const RECT& covered : CoveredRects(*c))
                    SubtractFromList(uncovered, covered);
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

void DrawMenuBarItems(HDC, const RECT&, const std::vector<MenuItemView>&) {}

void DrawPopupMenu(HDC, const RECT&, const std::vector<MenuItemView>&) {}

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
