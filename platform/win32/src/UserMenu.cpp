// Menus: menu objects and their items, menu bars of framed windows, popup and menu-bar tracking
// (scriptable headless), and accelerator tables.
#include "UserInternal.h"

#include <host/UiScript.h>

#include <algorithm>
#include <cctype>
#include <cstring>

namespace user {

namespace {

struct MenuItem {
    UINT flags = 0;
    UINT_PTR id = 0;
    HMENU sub = nullptr;
    std::string text;
    ULONG_PTR data = 0;  // bitmap or owner-draw data
    bool radio = false;  // checked with a bullet (CheckMenuRadioItem)
};

struct Menu {
    HMENU handle = nullptr;
    bool popup = false;
    std::vector<MenuItem> items;
    POINT origin{};  // where a tracked popup was shown (screen)
    int selected = -1;  // the highlighted item while the menu is tracked
};

struct MenuTable {
    std::map<HMENU, std::shared_ptr<Menu>> menus;
    std::uintptr_t next = 0x60000;
};

MenuTable& M()
{
    static auto* t = new MenuTable;
    return *t;
}

std::shared_ptr<Menu> Get(HMENU h)
{
    auto it = M().menus.find(h);
    return it == M().menus.end() ? nullptr : it->second;
}

std::shared_ptr<Menu> GetOrError(HMENU h)
{
    auto m = Get(h);
    if (!m)
        SetLastError(ERROR_INVALID_MENU_HANDLE);
    return m;
}

HMENU NewMenu(bool popup)
{
    Guard g(Mutex());
    auto m = std::make_shared<Menu>();
    M().next += 4;
    m->handle = reinterpret_cast<HMENU>(M().next);
    m->popup = popup;
    M().menus[m->handle] = m;
    return m->handle;
}

// Finds an item by command (searching submenus) or by position.
bool Locate(HMENU h, UINT item, UINT flags, std::shared_ptr<Menu>& menu, size_t& index)
{
    auto m = Get(h);
    if (!m)
        return false;
    if (flags & MF_BYPOSITION) {
        if (item >= m->items.size())
            return false;
        menu = m;
        index = item;
        return true;
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        if (!(it.flags & MF_POPUP) && it.id == item) {
            menu = m;
            index = i;
            return true;
        }
    }
    for (size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        if (it.flags & MF_POPUP) {
            if (Locate(it.sub, item, flags, menu, index))
                return true;
            if (reinterpret_cast<UINT_PTR>(it.sub) == item) {
                menu = m;
                index = i;
                return true;
            }
        }
    }
    return false;
}

MenuItem MakeItem(UINT flags, UINT_PTR id, LPCSTR text)
{
    MenuItem it;
    it.flags = flags & ~(MF_BYPOSITION | MF_CHANGE | MF_APPEND | MF_DELETE | MF_REMOVE);
    if (flags & MF_POPUP) {
        it.sub = reinterpret_cast<HMENU>(id);
        it.id = id;
    } else {
        it.id = id;
    }
    if (!(flags & (MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) && text)
        it.text = text;
    else if (flags & (MF_BITMAP | MF_OWNERDRAW))
        it.data = reinterpret_cast<ULONG_PTR>(text);
    return it;
}

void DestroyRecursive(HMENU h)
{
    auto m = Get(h);
    if (!m)
        return;
    M().menus.erase(h);
    for (auto& it : m->items)
        if (it.flags & MF_POPUP)
            DestroyRecursive(it.sub);
}

// Width of an item's text, without its mnemonic marks.
int TextWidth(const std::string& text)
{
    std::string shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size() && text[i + 1] != '&')
            continue;
        if (text[i] != '\t')
            shown += text[i];
    }
    return MenuTextWidth(shown);
}

constexpr int kItemHeight = 19;
constexpr int kSeparatorHeight = 9;
constexpr int kPopupBorder = 3;

// The label and accelerator columns of a popup: the check-mark margin, the widest label, the
// widest accelerator text after a gap, and room for a submenu arrow.
int PopupItemWidth(const Menu& m)
{
    int label = 0, accelerator = 0;
    for (const MenuItem& it : m.items) {
        if (it.flags & MF_SEPARATOR)
            continue;
        size_t tab = it.text.find('\t');
        label = std::max(label, TextWidth(it.text.substr(0, tab)));
        if (tab != std::string::npos)
            accelerator = std::max(accelerator, TextWidth(it.text.substr(tab + 1)));
    }
    return std::max(80, 20 + label + (accelerator ? 24 + accelerator : 0) + 20);
}

// A popup's window size: its items inside the frame.
SIZE PopupSize(const Menu& m)
{
    int height = 0;
    for (const MenuItem& it : m.items)
        height += (it.flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
    return SIZE{PopupItemWidth(m) + 2 * kPopupBorder, std::max(height, kItemHeight / 2) + 2 * kPopupBorder};
}

// Rectangles of the items: in window coordinates for a menu bar, screen for popups.
std::vector<RECT> Layout(const Menu& m, HWND owner)
{
    std::vector<RECT> out;
    if (!m.popup && owner) {
        WindowPtr w = Find(owner);
        if (!w)
            return out;
        int top = (w->client.top - w->window.top) - GetSystemMetrics(SM_CYMENU);
        int x = w->client.left - w->window.left;
        for (const MenuItem& it : m.items) {
            int width = TextWidth(it.text) + 16;
            out.push_back(MakeRect(x, top, x + width, top + GetSystemMetrics(SM_CYMENU)));
            x += width;
        }
        return out;
    }
    int width = PopupItemWidth(m);
    int y = m.origin.y + kPopupBorder;
    for (const MenuItem& it : m.items) {
        int h = (it.flags & MF_SEPARATOR) ? kSeparatorHeight : kItemHeight;
        out.push_back(MakeRect(m.origin.x + kPopupBorder, y, m.origin.x + kPopupBorder + width, y + h));
        y += h;
    }
    return out;
}

// Puts a popup at a point of the screen, aligned as TrackPopupMenu's flags say, and keeps it on
// the screen: moved in from the right or bottom edge it would cross (`flipX`/`flipY`, when given,
// are where it goes instead: left of its parent menu, above its menu bar item).
void PlacePopup(Menu& m, POINT at, UINT flags, const LONG* flipX = nullptr, const LONG* flipY = nullptr)
{
    SIZE size = PopupSize(m);
    SIZE screen = DesktopSize();
    LONG x = at.x, y = at.y;
    if (flags & TPM_RIGHTALIGN)
        x -= size.cx;
    else if (flags & TPM_CENTERALIGN)
        x -= size.cx / 2;
    if (flags & TPM_BOTTOMALIGN)
        y -= size.cy;
    else if (flags & TPM_VCENTERALIGN)
        y -= size.cy / 2;
    if (x + size.cx > screen.cx)
        x = flipX ? *flipX - size.cx : screen.cx - size.cx;
    if (y + size.cy > screen.cy)
        y = flipY ? *flipY - size.cy : screen.cy - size.cy;
    m.origin = POINT{std::max<LONG>(0, x), std::max<LONG>(0, y)};
}

// ---- Menu windows ------------------------------------------------------------------------------

// An open popup shows in a window of the menu class of its own, above every other window; it
// never takes the activation, and paints the menu it stands for (GWLP_USERDATA).
constexpr char kMenuClass[] = "#32768";

// The items of a popup as drawn, in its window's client coordinates.
std::vector<MenuItemView> PopupViews(HMENU handle)
{
    Guard g(Mutex());
    std::vector<MenuItemView> out;
    auto m = Get(handle);
    if (!m)
        return out;
    std::vector<RECT> rects = Layout(*m, nullptr);
    for (size_t i = 0; i < rects.size() && i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        out.push_back(MenuItemView{Offset(rects[i], -m->origin.x, -m->origin.y), it.text, it.flags, it.radio,
                                   static_cast<int>(i) == m->selected});
    }
    return out;
}

LRESULT CALLBACK MenuWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_MOUSEACTIVATE:
        return MA_NOACTIVATE;
    case WM_ERASEBKGND:
        return 1;  // the paint covers it all
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC hdc = BeginPaint(hwnd, &ps);
        RECT client;
        GetClientRect(hwnd, &client);
        DrawPopupMenu(hdc, client, PopupViews(reinterpret_cast<HMENU>(GetWindowLongPtrA(hwnd, GWLP_USERDATA))));
        EndPaint(hwnd, &ps);
        return 0;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

void RegisterMenuClass()
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_GLOBALCLASS | CS_SAVEBITS;
    wc.lpfnWndProc = MenuWindowProc;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kMenuClass;
    RegisterSystemClass(wc);
}

struct MenuClassRegistrar {
    MenuClassRegistrar() { AddSystemClassRegistrar(RegisterMenuClass); }
} menuClassRegistrar;

// ---- Tracking ----------------------------------------------------------------------------------

struct Tracking {
    HWND owner = nullptr;
    HMENU top = nullptr;
    bool bar = false;
    bool sys = false;  // the window menu
    UINT flags = 0;
    std::vector<HMENU> open;  // popups opened, outermost first
    std::map<HMENU, HWND> windows;  // the windows that show the open popups
    bool ended = false;
    UINT chosen = 0;
};

thread_local Tracking* t_tracking = nullptr;

// Shows the windows of the popups that are open and closes those of popups that are not.
void SyncWindows(Tracking& t)
{
    for (auto it = t.windows.begin(); it != t.windows.end();) {
        if (std::find(t.open.begin(), t.open.end(), it->first) != t.open.end()) {
            ++it;
            continue;
        }
        HWND window = it->second;
        {
            Guard g(Mutex());
            if (auto m = Get(it->first))
                m->selected = -1;
        }
        it = t.windows.erase(it);
        if (IsWindow(window))
            DestroyWindow(window);
    }
    for (HMENU h : t.open) {
        if (t.windows.count(h))
            continue;
        SIZE size{};
        POINT origin{};
        {
            Guard g(Mutex());
            auto m = Get(h);
            if (!m)
                continue;
            size = PopupSize(*m);
            origin = m->origin;
        }
        HWND window = CreateWindowExA(WS_EX_TOPMOST, kMenuClass, "", WS_POPUP, origin.x, origin.y, size.cx, size.cy,
                                      IsWindow(t.owner) ? t.owner : nullptr, nullptr, nullptr, nullptr);
        if (!window)
            continue;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(h));
        t.windows[h] = window;
        SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
        UpdateWindow(window);
    }
}

// Draws a menu again after its selection changed: the menu bar in its window's frame, a popup
// in its window.
void Repaint(Tracking& t, HMENU menu)
{
    if (t.bar && menu == t.top) {
        if (IsWindow(t.owner))
            DrawMenuBar(t.owner);
        return;
    }
    auto it = t.windows.find(menu);
    if (it != t.windows.end() && IsWindow(it->second))
        RedrawWindow(it->second, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void Select(Tracking& t, HMENU menu, int index)
{
    {
        Guard g(Mutex());
        auto m = Get(menu);
        if (!m || m->selected == index)
            return;
        m->selected = index;
    }
    Repaint(t, menu);
}

void NotifySelect(Tracking& t, HMENU menu, size_t index)
{
    Select(t, menu, static_cast<int>(index));
    auto m = Get(menu);
    if (!m || index >= m->items.size() || (t.flags & TPM_NONOTIFY))
        return;
    const MenuItem& it = m->items[index];
    UINT itemFlags = (it.flags & (MF_POPUP | MF_CHECKED | MF_GRAYED | MF_DISABLED | MF_SEPARATOR | MF_BITMAP | MF_OWNERDRAW)) | MF_HILITE;
    if (t.sys)
        itemFlags |= MF_SYSMENU;
    WPARAM w = MAKEWPARAM((it.flags & MF_POPUP) ? static_cast<WORD>(index) : static_cast<WORD>(it.id), static_cast<WORD>(itemFlags));
    SendMessageA(t.owner, WM_MENUSELECT, w, reinterpret_cast<LPARAM>(menu));
}

// The level in `open` that a popup of this menu's items takes.
size_t LevelBelow(const Tracking& t, HMENU parent)
{
    if (t.bar && parent == t.top)
        return 0;
    auto it = std::find(t.open.begin(), t.open.end(), parent);
    return it == t.open.end() ? t.open.size() : static_cast<size_t>(it - t.open.begin()) + 1;
}

// Closes the popups from a level on.
void CloseFrom(Tracking& t, size_t level)
{
    if (level < t.open.size())
        t.open.resize(level);
    SyncWindows(t);
}

// An item's rectangle on the screen.
RECT ItemScreenRect(const Tracking& t, const Menu& m, size_t index)
{
    std::vector<RECT> rects = Layout(m, m.popup ? nullptr : t.owner);
    if (index >= rects.size())
        return RECT{};
    RECT r = rects[index];
    if (!m.popup) {
        RECT wr{};
        GetWindowRect(t.owner, &wr);
        r = Offset(r, wr.left, wr.top);
    }
    return r;
}

void OpenPopup(Tracking& t, HMENU parent, size_t index)
{
    auto m = Get(parent);
    if (!m || index >= m->items.size() || !(m->items[index].flags & MF_POPUP))
        return;
    HMENU sub = m->items[index].sub;
    size_t level = LevelBelow(t, parent);
    if (level < t.open.size() && t.open[level] == sub)
        return;
    CloseFrom(t, level);
    t.open.push_back(sub);
    if (!(t.flags & TPM_NONOTIFY))
        SendMessageA(t.owner, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(index, FALSE));
    {
        // Below a menu bar item (above it when there is no room), right of a popup's item (left
        // of the popup when there is none).
        Guard g(Mutex());
        auto parentMenu = Get(parent);
        auto subMenu = Get(sub);
        if (parentMenu && subMenu && index < parentMenu->items.size()) {
            RECT item = ItemScreenRect(t, *parentMenu, index);
            if (!parentMenu->popup) {
                PlacePopup(*subMenu, POINT{item.left, item.bottom}, 0, nullptr, &item.top);
            } else {
                LONG left = parentMenu->origin.x + kPopupBorder;
                PlacePopup(*subMenu, POINT{item.right, item.top - kPopupBorder}, 0, &left, nullptr);
            }
            subMenu->selected = -1;
        }
    }
    SyncWindows(t);
}

// The path of (menu, index) pairs from the top menu to the item with this command.
bool PathTo(HMENU menu, UINT id, std::vector<std::pair<HMENU, size_t>>& path)
{
    auto m = Get(menu);
    if (!m)
        return false;
    for (size_t i = 0; i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        path.emplace_back(menu, i);
        if (!(it.flags & (MF_POPUP | MF_SEPARATOR)) && it.id == id)
            return true;
        if ((it.flags & MF_POPUP) && PathTo(it.sub, id, path))
            return true;
        path.pop_back();
    }
    return false;
}

bool Highlight(Tracking& t, UINT id, bool choose)
{
    std::vector<std::pair<HMENU, size_t>> path;
    if (!PathTo(t.top, id, path))
        return false;
    auto last = Get(path.back().first);
    const MenuItem& item = last->items[path.back().second];
    // Open the popups along the way that are not open yet.
    for (size_t level = 0; level + 1 < path.size(); ++level) {
        auto [menu, index] = path[level];
        auto m = Get(menu);
        HMENU sub = m->items[index].sub;
        size_t depth = level + (t.bar ? 0 : 1);  // popups: the top menu itself is open[0]
        if (depth < t.open.size() && t.open[depth] == sub)
            continue;
        t.open.resize(depth);
        NotifySelect(t, menu, index);
        OpenPopup(t, menu, index);
    }
    CloseFrom(t, LevelBelow(t, path.back().first));
    NotifySelect(t, path.back().first, path.back().second);
    if (!choose)
        return true;
    if (item.flags & (MF_GRAYED | MF_DISABLED))
        return false;
    t.chosen = static_cast<UINT>(item.id);
    t.ended = true;
    return true;
}

bool ItemAt(Tracking& t, POINT screen, HMENU& menu, size_t& index)
{
    std::vector<HMENU> candidates(t.open.rbegin(), t.open.rend());
    if (t.bar)
        candidates.push_back(t.top);
    for (HMENU h : candidates) {
        auto m = Get(h);
        if (!m)
            continue;
        std::vector<RECT> rects = Layout(*m, m->popup ? nullptr : t.owner);
        POINT p = screen;
        if (!m->popup) {
            RECT wr;
            GetWindowRect(t.owner, &wr);
            p.x -= wr.left;
            p.y -= wr.top;
        }
        for (size_t i = 0; i < rects.size(); ++i)
            if (PointIn(rects[i], p)) {
                menu = h;
                index = i;
                return true;
            }
    }
    return false;
}

bool Selectable(const MenuItem& it)
{
    return !(it.flags & MF_SEPARATOR);
}

bool Enabled(const MenuItem& it)
{
    return !(it.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED));
}

// The menu the keyboard works in: the innermost open popup, else the menu bar.
HMENU KeyboardMenu(const Tracking& t)
{
    if (!t.open.empty())
        return t.open.back();
    return t.bar ? t.top : nullptr;
}

// Opens the popup of an item and selects its first item (the keyboard's way in).
void OpenAndEnter(Tracking& t, HMENU menu, size_t index)
{
    OpenPopup(t, menu, index);
    auto m = Get(menu);
    if (!m || index >= m->items.size())
        return;
    HMENU sub = m->items[index].sub;
    auto s = Get(sub);
    if (!s || t.open.empty() || t.open.back() != sub)
        return;
    for (size_t i = 0; i < s->items.size(); ++i)
        if (Selectable(s->items[i])) {
            NotifySelect(t, sub, i);
            break;
        }
}

// Moves the selection of a menu by `step` items (skipping separators, wrapping round); on the
// menu bar with a drop-down open, the drop-down follows.
void MoveSelection(Tracking& t, HMENU menu, int step)
{
    auto m = Get(menu);
    if (!m || m->items.empty())
        return;
    const int n = static_cast<int>(m->items.size());
    int i = m->selected < 0 ? (step > 0 ? -1 : n) : m->selected;
    for (int tries = 0; tries < n; ++tries) {
        i = ((i + step) % n + n) % n;
        if (Selectable(m->items[static_cast<size_t>(i)]))
            break;
    }
    if (!Selectable(m->items[static_cast<size_t>(i)]))
        return;
    bool dropDown = t.bar && menu == t.top && !t.open.empty();
    NotifySelect(t, menu, static_cast<size_t>(i));
    if (dropDown) {
        CloseFrom(t, 0);
        if (m->items[static_cast<size_t>(i)].flags & MF_POPUP)
            OpenAndEnter(t, menu, static_cast<size_t>(i));
    }
}

// Enter, or an item's mnemonic: a popup opens, a command is chosen.
void Activate(Tracking& t, HMENU menu, size_t index)
{
    auto m = Get(menu);
    if (!m || index >= m->items.size())
        return;
    const MenuItem& it = m->items[index];
    NotifySelect(t, menu, index);
    if (it.flags & MF_POPUP) {
        if (Enabled(it))
            OpenAndEnter(t, menu, index);
        return;
    }
    if (!Enabled(it))
        return;
    t.chosen = static_cast<UINT>(it.id);
    t.ended = true;
}

void HandleKey(Tracking& t, UINT vk)
{
    HMENU menu = KeyboardMenu(t);
    auto m = Get(menu);
    if (!m)
        return;
    const bool onBar = t.bar && menu == t.top;
    switch (vk) {
    case VK_UP:
    case VK_DOWN:
        if (onBar) {
            if (vk == VK_DOWN && m->selected >= 0)
                Activate(t, menu, static_cast<size_t>(m->selected));
            return;
        }
        MoveSelection(t, menu, vk == VK_DOWN ? 1 : -1);
        return;
    case VK_LEFT:
    case VK_RIGHT:
        if (onBar) {
            MoveSelection(t, menu, vk == VK_RIGHT ? 1 : -1);
            return;
        }
        if (vk == VK_RIGHT && m->selected >= 0 && (m->items[static_cast<size_t>(m->selected)].flags & MF_POPUP) &&
            Enabled(m->items[static_cast<size_t>(m->selected)])) {
            OpenAndEnter(t, menu, static_cast<size_t>(m->selected));
            return;
        }
        if (t.bar && (vk == VK_RIGHT || t.open.size() == 1)) {
            MoveSelection(t, t.top, vk == VK_RIGHT ? 1 : -1);
            return;
        }
        if (vk == VK_LEFT && t.open.size() > 1)
            CloseFrom(t, t.open.size() - 1);
        return;
    case VK_RETURN:
        if (m->selected >= 0)
            Activate(t, menu, static_cast<size_t>(m->selected));
        return;
    default:
        break;
    }
    // A letter or digit: the item whose mnemonic it is.
    int key = CharForKey(vk);
    if (key <= 0)
        return;
    for (size_t i = 0; i < m->items.size(); ++i) {
        const std::string& text = m->items[i].text;
        size_t amp = text.find('&');
        while (amp != std::string::npos && amp + 1 < text.size() && text[amp + 1] == '&')
            amp = text.find('&', amp + 2);
        if (amp != std::string::npos && amp + 1 < text.size() &&
            std::tolower(static_cast<unsigned char>(text[amp + 1])) == std::tolower(key)) {
            Activate(t, menu, i);
            return;
        }
    }
}

void HandleMessage(Tracking& t, const MSG& msg)
{
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
        if (msg.wParam == VK_ESCAPE || msg.wParam == VK_MENU || msg.wParam == VK_F10)
            t.ended = true;
        else
            HandleKey(t, static_cast<UINT>(msg.wParam));
        return;
    case WM_KEYUP:
    case WM_SYSKEYUP:
    case WM_CHAR:
    case WM_SYSCHAR:
        return;
    case WM_MOUSEMOVE:
    case WM_NCMOUSEMOVE: {
        // The item under the mouse is selected; a popup item opens its popup, any other closes
        // the popups below its menu. On the menu bar the drop-downs follow only while one is open.
        HMENU menu = nullptr;
        size_t index = 0;
        if (!ItemAt(t, msg.pt, menu, index))
            return;
        auto m = Get(menu);
        if (!m || m->selected == static_cast<int>(index))
            return;
        bool onBar = t.bar && menu == t.top;
        NotifySelect(t, menu, index);
        if (onBar && t.open.empty())
            return;
        const MenuItem& it = m->items[index];
        if ((it.flags & MF_POPUP) && Enabled(it))
            OpenPopup(t, menu, index);
        else
            CloseFrom(t, LevelBelow(t, menu));
        return;
    }
    case WM_NCLBUTTONDBLCLK:
        // A second click on the caption's icon while its window menu is open closes the window.
        if (t.sys && msg.hwnd == t.owner && msg.wParam == HTSYSMENU) {
            Highlight(t, SC_CLOSE, true);
            t.ended = true;
        }
        return;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_NCLBUTTONUP:
    case WM_NCRBUTTONUP:
    case WM_LBUTTONDOWN:
    case WM_NCLBUTTONDOWN: {
        if (msg.message == WM_NCLBUTTONDOWN && t.sys && msg.hwnd == t.owner && msg.wParam == HTSYSMENU) {
            Highlight(t, SC_CLOSE, true);
            t.ended = true;
            return;
        }
        HMENU menu = nullptr;
        size_t index = 0;
        bool down = msg.message == WM_LBUTTONDOWN || msg.message == WM_NCLBUTTONDOWN;
        if (!ItemAt(t, msg.pt, menu, index)) {
            if (down)
                t.ended = true;
            return;
        }
        auto m = Get(menu);
        const MenuItem& it = m->items[index];
        if (it.flags & MF_POPUP) {
            if (m->selected != static_cast<int>(index))
                NotifySelect(t, menu, index);
            OpenPopup(t, menu, index);
        } else if (!down && !(it.flags & (MF_SEPARATOR | MF_GRAYED | MF_DISABLED))) {
            NotifySelect(t, menu, index);
            t.chosen = static_cast<UINT>(it.id);
            t.ended = true;
        }
        return;
    }
    default:
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
        return;
    }
}

UINT RunTracking(Tracking& t)
{
    Tracking* outer = t_tracking;
    t_tracking = &t;
    SyncWindows(t);
    while (!t.ended) {
        MSG msg;
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                break;
            }
            if (CallMsgFilterA(&msg, MSGF_MENU))
                continue;
            HandleMessage(t, msg);
            continue;
        }
        if (!IsWindow(t.owner))
            break;
        SendMessageA(t.owner, WM_ENTERIDLE, MSGF_MENU, 0);
        if (t.ended)
            break;
        if (!host::ModalLoopIdle(t.owner, t.bar ? "menu bar" : "popup menu"))
            break;
        if (host::IsInteractive() && !t.ended)
            WaitMessage();
    }
    t_tracking = outer;
    return t.ended ? t.chosen : 0;
}

void EndTracking(Tracking& t)
{
    // The popups' windows close and nothing stays highlighted.
    std::vector<HMENU> open = t.open;
    t.open.clear();
    SyncWindows(t);
    Select(t, t.top, -1);
    for (HMENU h : open) {
        Guard g(Mutex());
        if (auto m = Get(h))
            m->selected = -1;
    }
    t.open = open;
    if (!IsWindow(t.owner) || (t.flags & TPM_NONOTIFY))
        return;
    SendMessageA(t.owner, WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0);
    for (auto it = t.open.rbegin(); it != t.open.rend(); ++it)
        SendMessageA(t.owner, WM_UNINITMENUPOPUP, reinterpret_cast<WPARAM>(*it), 0);
    SendMessageA(t.owner, WM_EXITMENULOOP, (t.bar || t.sys) ? FALSE : TRUE, 0);
}

// ---- The window menu ---------------------------------------------------------------------------

// Each window's own copy of the window menu, made at the first request.
std::map<HWND, HMENU>& SystemMenus()
{
    static auto* menus = new std::map<HWND, HMENU>;
    return *menus;
}

HMENU MakeSystemMenu()
{
    static const struct {
        UINT id;
        const char* text;
    } kItems[] = {
        {SC_RESTORE, "&Restore"}, {SC_MOVE, "&Move"},     {SC_SIZE, "&Size"},
        {SC_MINIMIZE, "Mi&nimize"}, {SC_MAXIMIZE, "Ma&ximize"}, {0, nullptr},
        {SC_CLOSE, "&Close\tAlt+F4"},
    };
    Guard g(Mutex());
    HMENU handle = NewMenu(true);
    auto m = Get(handle);
    for (const auto& item : kItems)
        m->items.push_back(item.text ? MakeItem(MF_STRING, item.id, item.text) : MakeItem(MF_SEPARATOR, 0, nullptr));
    return handle;
}

// Greys what the window's state does not allow, as the menu is about to show: Restore only
// when minimized or maximized, Move unless maximized, Size with a sizing border and neither
// minimized nor maximized, Minimize and Maximize with their box unless already so, Close
// unless the class says CS_NOCLOSE.
void UpdateSystemMenu(HWND hwnd, HMENU menu)
{
    DWORD style = static_cast<DWORD>(GetWindowLongA(hwnd, GWL_STYLE));
    bool minimized = style & WS_MINIMIZE, maximized = style & WS_MAXIMIZE;
    const std::pair<UINT, bool> kStates[] = {
        {SC_RESTORE, minimized || maximized},
        {SC_MOVE, !maximized},
        {SC_SIZE, (style & WS_THICKFRAME) && !minimized && !maximized},
        {SC_MINIMIZE, (style & WS_MINIMIZEBOX) && !minimized},
        {SC_MAXIMIZE, (style & WS_MAXIMIZEBOX) && !maximized},
        {SC_CLOSE, !(GetClassLongA(hwnd, GCL_STYLE) & CS_NOCLOSE)},
    };
    for (const auto& [id, enabled] : kStates)
        EnableMenuItem(menu, id, MF_BYCOMMAND | (enabled ? MF_ENABLED : MF_GRAYED));
}

}  // namespace

void DestroySystemMenu(HWND hwnd)
{
    Guard g(Mutex());
    auto it = SystemMenus().find(hwnd);
    if (it == SystemMenus().end())
        return;
    if (Get(it->second))
        DestroyRecursive(it->second);
    SystemMenus().erase(it);
}

void TrackSystemMenu(HWND hwnd, const POINT* at)
{
    HWND top = GetAncestor(hwnd, GA_ROOT);
    HMENU menu = GetSystemMenu(top, FALSE);
    if (!menu || t_tracking)
        return;
    RECT window{};
    GetWindowRect(top, &window);
    Tracking t;
    t.owner = top;
    t.top = menu;
    t.sys = true;
    SendMessageA(top, WM_ENTERMENULOOP, FALSE, 0);
    SendMessageA(top, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
    UpdateSystemMenu(top, menu);
    SendMessageA(top, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, TRUE));
    {
        // Below the caption's icon unless a point was given.
        RECT frame{};
        FrameSizes(GetWindowLongA(top, GWL_STYLE), GetWindowLongA(top, GWL_EXSTYLE), false, frame);
        Guard g(Mutex());
        if (auto m = Get(menu))
            PlacePopup(*m, at ? *at : POINT{window.left + frame.left, window.top + frame.top}, 0);
    }
    t.open.push_back(menu);
    UINT chosen = IsWindow(top) ? RunTracking(t) : 0;
    EndTracking(t);
    if (chosen && IsWindow(top))
        PostMessageA(top, WM_SYSCOMMAND, chosen, 0);
}

bool IsMenuHandle(HMENU menu)
{
    Guard g(Mutex());
    return Get(menu) != nullptr;
}

bool DestroyMenuInternal(HMENU menu)
{
    Guard g(Mutex());
    if (!Get(menu))
        return false;
    DestroyRecursive(menu);
    return true;
}

std::vector<MenuItemView> MenuBarItems(HWND hwnd)
{
    Guard g(Mutex());
    std::vector<MenuItemView> out;
    WindowPtr w = Find(hwnd);
    if (!w || (w->style & WS_CHILD))
        return out;
    auto m = Get(w->menu);
    if (!m)
        return out;
    std::vector<RECT> rects = Layout(*m, hwnd);
    for (size_t i = 0; i < rects.size() && i < m->items.size(); ++i) {
        const MenuItem& it = m->items[i];
        out.push_back(MenuItemView{rects[i], it.text, it.flags, it.radio, static_cast<int>(i) == m->selected});
    }
    return out;
}

void ResetMenus()
{
    Guard g(Mutex());
    M().menus.clear();
    SystemMenus().clear();
}

void TrackMenuBar(HWND hwnd, UINT key, bool mouse)
{
    HWND top = GetAncestor(hwnd, GA_ROOT);
    HMENU bar = GetMenu(top);
    if (!bar || (GetWindowLongA(top, GWL_STYLE) & WS_CHILD))
        return;
    Tracking t;
    t.owner = top;
    t.top = bar;
    t.bar = true;
    SendMessageA(top, WM_ENTERMENULOOP, FALSE, 0);
    SendMessageA(top, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
    auto m = Get(bar);
    if (m && !m->items.empty()) {
        size_t index = 0;
        bool open = false;
        if (mouse) {
            HMENU hit = nullptr;
            if (ItemAt(t, CursorPosition(), hit, index) && hit == bar)
                open = true;
        } else if (key) {
            for (size_t i = 0; i < m->items.size(); ++i) {
                const std::string& text = m->items[i].text;
                size_t amp = text.find('&');
                if (amp != std::string::npos && amp + 1 < text.size() &&
                    std::tolower(static_cast<unsigned char>(text[amp + 1])) == std::tolower(static_cast<int>(key))) {
                    index = i;
                    open = true;
                    break;
                }
            }
            if (!open) {
                MessageBeep(0);
                t.ended = true;
            }
        }
        if (!t.ended) {
            NotifySelect(t, bar, index);
            // A mnemonic opens its drop-down with the first item selected (or chooses a
            // command of the bar itself); a click opens the drop-down alone.
            if (open && key)
                Activate(t, bar, index);
            else if (open)
                OpenPopup(t, bar, index);
        }
    }
    UINT chosen = t.ended ? 0 : RunTracking(t);
    EndTracking(t);
    if (chosen && IsWindow(top))
        PostMessageA(top, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
}

}  // namespace user

using namespace user;

HMENU WINAPI CreateMenu()
{
    return NewMenu(false);
}

HMENU WINAPI CreatePopupMenu()
{
    return NewMenu(true);
}

BOOL WINAPI DestroyMenu(HMENU menu)
{
    if (!DestroyMenuInternal(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    return TRUE;
}

BOOL WINAPI IsMenu(HMENU menu)
{
    return IsMenuHandle(menu);
}

BOOL WINAPI InsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text)
{
    Guard g(Mutex());
    auto m = GetOrError(menu);
    if (!m)
        return FALSE;
    if ((flags & MF_POPUP) && !Get(reinterpret_cast<HMENU>(id))) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    MenuItem item = MakeItem(flags, id, text);
    if ((flags & MF_BYPOSITION) || position == static_cast<UINT>(-1)) {
        if (position >= m->items.size())
            m->items.push_back(item);
        else
            m->items.insert(m->items.begin() + position, item);
        return TRUE;
    }
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!Locate(menu, position, flags, at, index)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    at->items.insert(at->items.begin() + static_cast<std::ptrdiff_t>(index), item);
    return TRUE;
}

BOOL WINAPI AppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR text)
{
    return InsertMenuA(menu, static_cast<UINT>(-1), flags | MF_BYPOSITION, id, text);
}

BOOL WINAPI ModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR text)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!GetOrError(menu))
        return FALSE;
    if (!Locate(menu, position, flags, at, index)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    MenuItem& it = at->items[index];
    if ((it.flags & MF_POPUP) && !(flags & MF_POPUP))
        DestroyRecursive(it.sub);
    it = MakeItem(flags, id, text);
    return TRUE;
}

namespace {

BOOL RemoveItem(HMENU menu, UINT position, UINT flags, bool destroy)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!GetOrError(menu))
        return FALSE;
    if (!Locate(menu, position, flags, at, index)) {
        SetLastError(ERROR_MENU_ITEM_NOT_FOUND);
        return FALSE;
    }
    MenuItem it = at->items[index];
    at->items.erase(at->items.begin() + static_cast<std::ptrdiff_t>(index));
    if (destroy && (it.flags & MF_POPUP))
        DestroyRecursive(it.sub);
    return TRUE;
}

}  // namespace

BOOL WINAPI DeleteMenu(HMENU menu, UINT position, UINT flags)
{
    return RemoveItem(menu, position, flags, true);
}

BOOL WINAPI RemoveMenu(HMENU menu, UINT position, UINT flags)
{
    return RemoveItem(menu, position, flags, false);
}

DWORD WINAPI CheckMenuItem(HMENU menu, UINT item, UINT check)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!Locate(menu, item, check, at, index))
        return static_cast<DWORD>(-1);
    MenuItem& it = at->items[index];
    DWORD old = it.flags & MF_CHECKED;
    it.flags = (it.flags & ~MF_CHECKED) | (check & MF_CHECKED);
    return old;
}

BOOL WINAPI EnableMenuItem(HMENU menu, UINT item, UINT enable)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!Locate(menu, item, enable, at, index))
        return -1;
    MenuItem& it = at->items[index];
    BOOL old = static_cast<BOOL>(it.flags & (MF_GRAYED | MF_DISABLED));
    it.flags = (it.flags & ~(MF_GRAYED | MF_DISABLED)) | (enable & (MF_GRAYED | MF_DISABLED));
    return old;
}

BOOL WINAPI CheckMenuRadioItem(HMENU menu, UINT first, UINT last, UINT check, UINT flags)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> m;
    size_t firstIndex = 0, lastIndex = 0, checkIndex = 0;
    std::shared_ptr<Menu> m2, m3;
    if (!Locate(menu, first, flags, m, firstIndex) || !Locate(menu, last, flags, m2, lastIndex) ||
        !Locate(menu, check, flags, m3, checkIndex) || m != m2 || m != m3 || firstIndex > lastIndex ||
        checkIndex < firstIndex || checkIndex > lastIndex)
        return FALSE;
    for (size_t i = firstIndex; i <= lastIndex; ++i) {
        m->items[i].flags &= ~MF_CHECKED;
        if (i == checkIndex) {
            m->items[i].flags |= MF_CHECKED;
            m->items[i].radio = true;  // shown with a bullet
        }
    }
    return TRUE;
}

UINT WINAPI GetMenuState(HMENU menu, UINT item, UINT flags)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!Locate(menu, item, flags, at, index))
        return static_cast<UINT>(-1);
    const MenuItem& it = at->items[index];
    UINT state = it.flags & (MF_GRAYED | MF_DISABLED | MF_CHECKED | MF_POPUP | MF_SEPARATOR | MF_HILITE |
                             MF_MENUBARBREAK | MF_MENUBREAK | MF_OWNERDRAW | MF_BITMAP | MF_DEFAULT);
    if (it.flags & MF_POPUP) {
        auto sub = Get(it.sub);
        state = (state & 0xFF) | (static_cast<UINT>(sub ? sub->items.size() : 0) << 8);
    }
    return state;
}

int WINAPI GetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int max, UINT flags)
{
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!Locate(menu, item, flags, at, index)) {
        if (buffer && max > 0)
            buffer[0] = 0;
        return 0;
    }
    const std::string& text = at->items[index].text;
    if (!buffer || max <= 0)
        return static_cast<int>(text.size());
    int n = std::min<int>(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<size_t>(n));
    buffer[n] = 0;
    return n;
}

HMENU WINAPI GetSubMenu(HMENU menu, int pos)
{
    Guard g(Mutex());
    auto m = Get(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size()))
        return nullptr;
    const MenuItem& it = m->items[static_cast<size_t>(pos)];
    return (it.flags & MF_POPUP) ? it.sub : nullptr;
}

int WINAPI GetMenuItemCount(HMENU menu)
{
    Guard g(Mutex());
    auto m = GetOrError(menu);
    return m ? static_cast<int>(m->items.size()) : -1;
}

UINT WINAPI GetMenuItemID(HMENU menu, int pos)
{
    Guard g(Mutex());
    auto m = Get(menu);
    if (!m || pos < 0 || pos >= static_cast<int>(m->items.size()))
        return static_cast<UINT>(-1);
    const MenuItem& it = m->items[static_cast<size_t>(pos)];
    return (it.flags & MF_POPUP) ? static_cast<UINT>(-1) : static_cast<UINT>(it.id);
}

BOOL WINAPI SetMenu(HWND hwnd, HMENU menu)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return FALSE;
    if (w->style & WS_CHILD) {
        SetLastError(ERROR_CHILD_WINDOW_MENU);
        return FALSE;
    }
    if (menu && !IsMenuHandle(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    {
        Guard g(Mutex());
        w->menu = menu;
    }
    SetWindowPosInternal(hwnd, nullptr, 0, 0, 0, 0,
                         SWP_FRAMECHANGED | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return TRUE;
}

HMENU WINAPI GetMenu(HWND hwnd)
{
    WindowPtr w = Lookup(hwnd);
    if (!w || (w->style & WS_CHILD))
        return nullptr;
    return w->menu;
}

BOOL WINAPI DrawMenuBar(HWND hwnd)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return FALSE;
    if (w->menu)
        DrawNonClient(hwnd);
    return TRUE;
}

BOOL WINAPI HiliteMenuItem(HWND hwnd, HMENU menu, UINT item, UINT hilite)
{
    if (!Lookup(hwnd))
        return FALSE;
    Guard g(Mutex());
    std::shared_ptr<Menu> at;
    size_t index = 0;
    if (!Locate(menu, item, hilite, at, index))
        return FALSE;
    at->items[index].flags = (at->items[index].flags & ~MF_HILITE) | (hilite & MF_HILITE);
    return TRUE;
}

BOOL WINAPI GetMenuItemRect(HWND hwnd, HMENU menu, UINT item, LPRECT rect)
{
    Guard g(Mutex());
    auto m = Get(menu);
    if (!m || !rect || item >= m->items.size())
        return FALSE;
    std::vector<RECT> rects = Layout(*m, m->popup ? nullptr : hwnd);
    if (item >= rects.size())
        return FALSE;
    RECT r = rects[item];
    if (!m->popup) {
        RECT wr;
        if (!GetWindowRect(hwnd, &wr))
            return FALSE;
        r = Offset(r, wr.left, wr.top);
    }
    *rect = r;
    return TRUE;
}

int WINAPI MenuItemFromPoint(HWND hwnd, HMENU menu, POINT screen)
{
    Guard g(Mutex());
    auto m = Get(menu);
    if (!m)
        return -1;
    for (int i = 0; i < static_cast<int>(m->items.size()); ++i) {
        RECT r;
        if (GetMenuItemRect(hwnd, menu, static_cast<UINT>(i), &r) && PointIn(r, screen))
            return i;
    }
    return -1;
}

BOOL WINAPI TrackPopupMenu(HMENU menu, UINT flags, int x, int y, int, HWND hwnd, const RECT*)
{
    if (!IsMenuHandle(menu)) {
        SetLastError(ERROR_INVALID_MENU_HANDLE);
        return FALSE;
    }
    if (!Lookup(hwnd))
        return FALSE;
    if (t_tracking) {
        SetLastError(ERROR_POPUP_ALREADY_ACTIVE);
        return FALSE;
    }
    Tracking t;
    t.owner = hwnd;
    t.top = menu;
    t.flags = flags;
    SendMessageA(hwnd, WM_ENTERMENULOOP, TRUE, 0);
    if (!(flags & TPM_NONOTIFY)) {
        SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(menu), 0);
        SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(menu), MAKELPARAM(0, FALSE));
    }
    {
        Guard g(Mutex());
        auto m = Get(menu);
        if (!m)
            return FALSE;
        PlacePopup(*m, POINT{x, y}, flags);
        m->selected = -1;
    }
    t.open.push_back(menu);
    UINT chosen = IsWindow(hwnd) ? RunTracking(t) : 0;
    EndTracking(t);
    if (flags & TPM_RETURNCMD)
        return static_cast<BOOL>(chosen);
    if (chosen && IsWindow(hwnd))
        PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(chosen, 0), 0);
    return TRUE;
}

HMENU WINAPI GetSystemMenu(HWND hwnd, BOOL revert)
{
    if (!Lookup(hwnd))
        return nullptr;
    if (revert) {
        DestroySystemMenu(hwnd);
        return nullptr;
    }
    if (!(GetWindowLongA(hwnd, GWL_STYLE) & WS_SYSMENU))
        return nullptr;
    Guard g(Mutex());
    auto it = SystemMenus().find(hwnd);
    if (it != SystemMenus().end() && Get(it->second))
        return it->second;
    HMENU menu = MakeSystemMenu();
    SystemMenus()[hwnd] = menu;
    return menu;
}

BOOL WINAPI EndMenu()
{
    if (!t_tracking)
        return FALSE;
    t_tracking->ended = true;
    t_tracking->chosen = 0;
    return TRUE;
}

namespace host {

bool ChooseMenuItem(UINT id)
{
    return t_tracking && Highlight(*t_tracking, id, true);
}

bool SelectMenuItem(UINT id)
{
    return t_tracking && Highlight(*t_tracking, id, false);
}

bool CancelMenu()
{
    return EndMenu() != FALSE;
}

}  // namespace host

// ---- Accelerators ----------------------------------------------------------------------------------

namespace {

struct AccelTable {
    std::map<HACCEL, std::vector<ACCEL>> tables;
    std::uintptr_t next = 0x70000;
};

AccelTable& A()
{
    static auto* t = new AccelTable;
    return *t;
}

}  // namespace

HACCEL WINAPI CreateAcceleratorTableA(LPACCEL entries, int count)
{
    if (!entries || count <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Guard g(Mutex());
    A().next += 4;
    HACCEL h = reinterpret_cast<HACCEL>(A().next);
    A().tables[h].assign(entries, entries + count);
    return h;
}

BOOL WINAPI DestroyAcceleratorTable(HACCEL accel)
{
    Guard g(Mutex());
    return A().tables.erase(accel) != 0;
}

int WINAPI CopyAcceleratorTableA(HACCEL accel, LPACCEL out, int count)
{
    Guard g(Mutex());
    auto it = A().tables.find(accel);
    if (it == A().tables.end())
        return 0;
    int n = static_cast<int>(it->second.size());
    if (!out)
        return n;
    n = std::min(n, count);
    std::copy(it->second.begin(), it->second.begin() + n, out);
    return n;
}

int WINAPI TranslateAcceleratorA(HWND hwnd, HACCEL accel, LPMSG msg)
{
    if (!msg || !hwnd)
        return 0;
    UINT m = msg->message;
    if (m != WM_KEYDOWN && m != WM_SYSKEYDOWN && m != WM_CHAR && m != WM_SYSCHAR)
        return 0;
    std::vector<ACCEL> entries;
    {
        Guard g(Mutex());
        auto it = A().tables.find(accel);
        if (it == A().tables.end()) {
            SetLastError(ERROR_INVALID_ACCEL_HANDLE);
            return 0;
        }
        entries = it->second;
    }
    bool shift = GetKeyState(VK_SHIFT) < 0, ctrl = GetKeyState(VK_CONTROL) < 0;
    bool alt = (HIWORD(msg->lParam) & KF_ALTDOWN) != 0;
    for (const ACCEL& a : entries) {
        bool virt = (a.fVirt & FVIRTKEY) != 0;
        bool match = false;
        if (virt && (m == WM_KEYDOWN || m == WM_SYSKEYDOWN)) {
            match = a.key == static_cast<WORD>(msg->wParam) && shift == ((a.fVirt & FSHIFT) != 0) &&
                    ctrl == ((a.fVirt & FCONTROL) != 0) && alt == ((a.fVirt & FALT) != 0);
        } else if (!virt && (m == WM_CHAR || m == WM_SYSCHAR)) {
            match = a.key == static_cast<WORD>(msg->wParam & 0xFF) && alt == ((a.fVirt & FALT) != 0);
        }
        if (!match)
            continue;
        HMENU bar = GetMenu(hwnd);
        bool disabled = false;
        if (bar && !IsIconic(hwnd) && GetCapture() == nullptr) {
            SendMessageA(hwnd, WM_INITMENU, reinterpret_cast<WPARAM>(bar), 0);
            std::vector<std::pair<HMENU, size_t>> path;
            if (PathTo(bar, a.cmd, path)) {
                if (path.size() >= 2) {
                    auto [parent, index] = path[path.size() - 2];
                    HMENU sub = GetSubMenu(parent, static_cast<int>(index));
                    SendMessageA(hwnd, WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(sub), MAKELPARAM(index, FALSE));
                }
                UINT state = GetMenuState(bar, a.cmd, MF_BYCOMMAND);
                disabled = (state & (MF_GRAYED | MF_DISABLED)) != 0;
            }
        }
        if (!disabled && IsWindow(hwnd) && IsWindowEnabled(hwnd))
            SendMessageA(hwnd, WM_COMMAND, MAKEWPARAM(a.cmd, 1), 0);
        return 1;
    }
    return 0;
}
