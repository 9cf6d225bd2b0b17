// Registration of the standard control classes, and what the controls share.
#include "ControlsInternal.h"
#include "ScrollBarInternal.h"
#include "UserInternal.h"

#include <algorithm>

namespace {

struct SystemClass {
    const char* name;
    WNDPROC proc;
    UINT style;
    LPCSTR cursor;
};

const SystemClass kClasses[] = {
    {"BUTTON", controls::ButtonProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
    {"STATIC", controls::StaticProc, CS_DBLCLKS | CS_PARENTDC, IDC_ARROW},
    {"EDIT", controls::EditProc, CS_DBLCLKS | CS_PARENTDC, IDC_IBEAM},
    {"SCROLLBAR", controls::ScrollBarProc, CS_DBLCLKS | CS_PARENTDC | CS_HREDRAW | CS_VREDRAW, IDC_ARROW},
};

// Registers the four classes as system classes (global, never unregistered).
void RegisterBasicControlClasses()
{
    for (const SystemClass& c : kClasses) {
        WNDCLASSEXA wc{};
        wc.cbSize = sizeof wc;
        wc.style = c.style | CS_GLOBALCLASS;
        wc.lpfnWndProc = c.proc;
        wc.cbWndExtra = sizeof(void*);
        wc.hCursor = LoadCursorA(nullptr, c.cursor);
        wc.lpszClassName = c.name;
        user::RegisterSystemClass(wc);
    }
}

struct Registrar {
    Registrar() { user::AddSystemClassRegistrar(RegisterBasicControlClasses); }
} registrar;

}  // namespace

namespace controls {

void Notify(HWND hwnd, WORD code)
{
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    WORD id = static_cast<WORD>(GetWindowLongPtrA(hwnd, GWLP_ID));
    SendMessageA(parent, WM_COMMAND, MAKEWPARAM(id, code), reinterpret_cast<LPARAM>(hwnd));
}

HBRUSH ControlColor(HWND hwnd, HDC hdc, UINT msg)
{
    HWND parent = GetParent(hwnd);
    HBRUSH brush = nullptr;
    if (parent)
        brush = reinterpret_cast<HBRUSH>(SendMessageA(parent, msg, reinterpret_cast<WPARAM>(hdc), reinterpret_cast<LPARAM>(hwnd)));
    if (brush)
        return brush;
    // The parent left it to the defaults: edits and list boxes on the window colour, the others on
    // the button face.
    bool window = msg == WM_CTLCOLOREDIT || msg == WM_CTLCOLORLISTBOX;
    SetTextColor(hdc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkColor(hdc, GetSysColor(window ? COLOR_WINDOW : COLOR_BTNFACE));
    return GetSysColorBrush(window ? COLOR_WINDOW : COLOR_BTNFACE);
}

std::string TextOf(HWND hwnd)
{
    int n = GetWindowTextLengthA(hwnd);
    std::string text(static_cast<size_t>(n) + 1, '\0');
    n = GetWindowTextA(hwnd, text.data(), n + 1);
    text.resize(static_cast<size_t>(std::max(n, 0)));
    return text;
}

HFONT FontOf(HFONT set)
{
    return set ? set : static_cast<HFONT>(GetStockObject(SYSTEM_FONT));
}

void TabStops::Set(int count, const INT* stops, int emptyUnits)
{
    units.clear();
    if (count <= 0 || !stops)
        units.push_back(emptyUnits);
    else if (count == 1)
        units.push_back(stops[0] > 0 ? stops[0] : emptyUnits);
    else
        units.assign(stops, stops + count);
}

std::vector<INT> TabStops::Pixels(HDC hdc) const
{
    TEXTMETRICA tm{};
    GetTextMetricsA(hdc, &tm);
    int average = std::max<int>(1, static_cast<int>(tm.tmAveCharWidth));
    std::vector<INT> pixels;
    pixels.reserve(units.size());
    for (int u : units)
        pixels.push_back(std::max(1, MulDiv(u, average, 4)));
    return pixels;
}

}  // namespace controls
