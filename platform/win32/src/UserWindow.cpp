// Window classes, window creation and destruction, the window tree and its queries.
#include "ScrollBarInternal.h"
#include "UserInternal.h"
#include "UserRemote.h"

#include <interproc.h>

#include <host/Desktop.h>

#include <algorithm>
#include <cstring>
#include <strings.h>
#include <unistd.h>

namespace user {

namespace {

struct Tables {
    std::map<HWND, WindowPtr> windows;
    std::vector<ClassPtr> classes;
    ATOM nextAtom = 0xC000;
    std::uintptr_t nextHandle = 0x10020;
    WindowPtr desktop;
    WindowPtr messageRoot;
    int defaultPlacements = 0;
};

Tables& T()
{
    static Tables* tables = new Tables;  // lives as long as the process: windows outlive statics
    return *tables;
}

bool ClassNameIs(const ClassPtr& c, LPCSTR name)
{
    if (IS_INTRESOURCE(name))
        return c->atom == static_cast<ATOM>(reinterpret_cast<ULONG_PTR>(name));
    return strcasecmp(c->name.c_str(), name) == 0;
}

HWND NewHandle()
{
    Tables& t = T();
    t.nextHandle += 4;
    return reinterpret_cast<HWND>(t.nextHandle);
}

// A top-level window's handle is its entry in the registry of all processes' windows.
HWND NewTopLevelHandle()
{
    HWND hwnd = remote::AllocateHandle();
    return hwnd ? hwnd : NewHandle();
}

WindowPtr MakeRoot(const char* className)
{
    auto cls = std::make_shared<WindowClass>();
    cls->name = className;
    cls->proc = DefWindowProcA;
    cls->system = true;
    auto w = std::make_shared<Window>();
    w->hwnd = NewHandle();
    w->cls = cls;
    w->proc = DefWindowProcA;
    w->style = WS_POPUP | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    w->created = true;
    T().windows[w->hwnd] = w;
    return w;
}

void LinkChild(Window& parent, Window& child, bool atBottom)
{
    auto& list = parent.children;
    if (atBottom) {
        list.push_back(&child);
        return;
    }
    // On top of its band: topmost windows stay above the others.
    auto it = list.begin();
    if (!(child.exStyle & WS_EX_TOPMOST))
        while (it != list.end() && ((*it)->exStyle & WS_EX_TOPMOST))
            ++it;
    list.insert(it, &child);
}

void Unlink(Window& w)
{
    if (!w.parent)
        return;
    auto& list = w.parent->children;
    list.erase(std::remove(list.begin(), list.end(), &w), list.end());
}

// Takes a window out of the tree and the handle table, and gives its handle back.
void Retire(Window& w)
{
    DestroySystemMenu(w.hwnd);  // its own copy of the window menu, if it was asked for
    DropShape(w);  // the region it was given
    w.destroyed = true;
    Unlink(w);
    w.cls->windows--;
    T().windows.erase(w.hwnd);
    remote::ReleaseHandle(w.hwnd);
}

// A top-level window's menu goes with the window; a child's "menu" is its id.
void DestroyOwnMenu(Window& w)
{
    if (IsTopLevel(w) && w.menu && IsMenuHandle(w.menu))
        DestroyMenuInternal(w.menu);
}

// Copies text into a caller's buffer of max bytes, cut to fit with its terminating zero;
// returns the bytes copied.
int CopyTruncated(const std::string& text, LPSTR buffer, int max)
{
    int n = std::min<int>(static_cast<int>(text.size()), max - 1);
    std::memcpy(buffer, text.data(), static_cast<size_t>(n));
    buffer[n] = 0;
    return n;
}


// Whether a value of the given size at a byte offset lies inside a block of extra bytes.
bool ExtraIndexValid(int index, size_t size, size_t blockSize)
{
    if (index >= 0 && static_cast<size_t>(index) + size <= blockSize)
        return true;
    SetLastError(ERROR_INVALID_INDEX);
    return false;
}

std::vector<HWND> Snapshot(const Window& parent, bool recursive)
{
    std::vector<HWND> out;
    for (Window* c : parent.children) {
        out.push_back(c->hwnd);
        if (recursive) {
            auto sub = Snapshot(*c, true);
            out.insert(out.end(), sub.begin(), sub.end());
        }
    }
    return out;
}

void SendParentNotify(Window& w, UINT event)
{
    if (!(w.style & WS_CHILD) || (w.exStyle & WS_EX_NOPARENTNOTIFY))
        return;
    Window* p = w.parent;
    while (p && p != &Desktop()) {
        Send(p->hwnd, WM_PARENTNOTIFY, MAKEWPARAM(event, static_cast<WORD>(w.id)), reinterpret_cast<LPARAM>(w.hwnd));
        if (!(p->style & WS_CHILD) || (p->exStyle & WS_EX_NOPARENTNOTIFY))
            break;
        p = p->parent;
    }
}

void CollectThreadWindows(Window& w, DWORD tid, std::vector<WindowPtr>& out)
{
    for (Window* c : w.children) {
        if (c->threadId == tid)
            out.push_back(Find(c->hwnd));
        CollectThreadWindows(*c, tid, out);
    }
}

}  // namespace

std::recursive_mutex& Mutex()
{
    static std::recursive_mutex* mutex = new std::recursive_mutex;
    return *mutex;
}

WindowPtr Find(HWND hwnd)
{
    Guard g(Mutex());
    if (!hwnd)
        return nullptr;
    auto it = T().windows.find(hwnd);
    if (it == T().windows.end() || it->second->destroyed)
        return nullptr;
    return it->second;
}

WindowPtr Lookup(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return w;
}

Window& Desktop()
{
    Guard g(Mutex());
    Tables& t = T();
    if (!t.desktop) {
        t.desktop = MakeRoot("#32769");
        t.desktop->style |= WS_VISIBLE;
        SIZE s = DesktopSize();
        t.desktop->window = t.desktop->client = MakeRect(0, 0, s.cx, s.cy);
        t.messageRoot = MakeRoot("Message");
        InstallPaletteHandlers();
        PaintDesktop(t.desktop->window);
    }
    return *t.desktop;
}

static Window& MessageRoot()
{
    Desktop();
    return *T().messageRoot;
}

bool IsTopLevel(const Window& w)
{
    return w.parent == &Desktop() || w.parent == &MessageRoot();
}

std::vector<WindowPtr> AllWindowsOfThread(DWORD threadId)
{
    Guard g(Mutex());
    std::vector<WindowPtr> out;
    CollectThreadWindows(Desktop(), threadId, out);
    CollectThreadWindows(MessageRoot(), threadId, out);
    return out;
}

static std::vector<void (*)()>& SystemClassRegistrars()
{
    static std::vector<void (*)()> registrars;
    return registrars;
}

void AddSystemClassRegistrar(void (*registrar)())
{
    Guard g(Mutex());
    SystemClassRegistrars().push_back(registrar);
}

ATOM RegisterSystemClass(const WNDCLASSEXA& wc)
{
    Guard g(Mutex());
    ATOM atom = RegisterClassExA(&wc);
    if (ClassPtr c = FindClass(wc.lpszClassName, nullptr))
        c->system = true;
    return atom;
}

ClassPtr FindClass(LPCSTR name, HINSTANCE)
{
    Guard g(Mutex());
    static size_t registered = 0;
    while (registered < SystemClassRegistrars().size())
        SystemClassRegistrars()[registered++]();
    if (!name)
        return nullptr;
    for (auto& c : T().classes)
        if (ClassNameIs(c, name))
            return c;
    return nullptr;
}

}  // namespace user

using namespace user;

// ---- Classes --------------------------------------------------------------------------------

ATOM WINAPI RegisterClassExA(const WNDCLASSEXA* wc)
{
    if (!wc || !wc->lpszClassName || !wc->lpfnWndProc || wc->cbClsExtra < 0 || wc->cbWndExtra < 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    Guard g(Mutex());
    Desktop();
    if (!IS_INTRESOURCE(wc->lpszClassName) && FindClass(wc->lpszClassName, wc->hInstance)) {
        SetLastError(ERROR_CLASS_ALREADY_EXISTS);
        return 0;
    }
    auto c = std::make_shared<WindowClass>();
    if (IS_INTRESOURCE(wc->lpszClassName))
        c->name = "#" + std::to_string(reinterpret_cast<ULONG_PTR>(wc->lpszClassName));
    else
        c->name = wc->lpszClassName;
    c->atom = T().nextAtom++;
    c->style = wc->style;
    c->proc = wc->lpfnWndProc;
    c->clsExtra = wc->cbClsExtra;
    c->wndExtra = wc->cbWndExtra;
    c->instance = wc->hInstance;
    c->icon = wc->hIcon;
    c->iconSmall = wc->hIconSm;
    c->cursor = wc->hCursor;
    c->brush = wc->hbrBackground;
    if (wc->lpszMenuName) {
        if (IS_INTRESOURCE(wc->lpszMenuName))
            c->menuId = reinterpret_cast<ULONG_PTR>(wc->lpszMenuName);
        else
            c->menuName = wc->lpszMenuName;
    }
    c->extra.assign(static_cast<size_t>(wc->cbClsExtra), 0);
    T().classes.push_back(c);
    return c->atom;
}

ATOM WINAPI RegisterClassA(const WNDCLASSA* wc)
{
    if (!wc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    WNDCLASSEXA ex{};
    ex.cbSize = sizeof(ex);
    ex.style = wc->style;
    ex.lpfnWndProc = wc->lpfnWndProc;
    ex.cbClsExtra = wc->cbClsExtra;
    ex.cbWndExtra = wc->cbWndExtra;
    ex.hInstance = wc->hInstance;
    ex.hIcon = wc->hIcon;
    ex.hCursor = wc->hCursor;
    ex.hbrBackground = wc->hbrBackground;
    ex.lpszMenuName = wc->lpszMenuName;
    ex.lpszClassName = wc->lpszClassName;
    return RegisterClassExA(&ex);
}

BOOL WINAPI UnregisterClassA(LPCSTR name, HINSTANCE instance)
{
    Guard g(Mutex());
    ClassPtr c = FindClass(name, instance);
    if (!c || c->system) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    if (c->windows > 0) {
        SetLastError(ERROR_CLASS_HAS_WINDOWS);
        return FALSE;
    }
    auto& v = T().classes;
    v.erase(std::remove(v.begin(), v.end(), c), v.end());
    return TRUE;
}

BOOL WINAPI GetClassInfoExA(HINSTANCE instance, LPCSTR name, LPWNDCLASSEXA out)
{
    Guard g(Mutex());
    ClassPtr c = FindClass(name, instance);
    if (!c || !out) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    out->style = c->style;
    out->lpfnWndProc = c->proc;
    out->cbClsExtra = c->clsExtra;
    out->cbWndExtra = c->wndExtra;
    out->hInstance = c->instance;
    out->hIcon = c->icon;
    out->hIconSm = c->iconSmall;
    out->hCursor = c->cursor;
    out->hbrBackground = c->brush;
    out->lpszMenuName = c->menuId ? MAKEINTRESOURCE(c->menuId) : (c->menuName.empty() ? nullptr : c->menuName.c_str());
    out->lpszClassName = c->name.c_str();
    return c->atom;
}

BOOL WINAPI GetClassInfoA(HINSTANCE instance, LPCSTR name, LPWNDCLASSA out)
{
    WNDCLASSEXA ex{};
    if (!out || !GetClassInfoExA(instance, name, &ex)) {
        SetLastError(ERROR_CLASS_DOES_NOT_EXIST);
        return FALSE;
    }
    out->style = ex.style;
    out->lpfnWndProc = ex.lpfnWndProc;
    out->cbClsExtra = ex.cbClsExtra;
    out->cbWndExtra = ex.cbWndExtra;
    out->hInstance = ex.hInstance;
    out->hIcon = ex.hIcon;
    out->hCursor = ex.hCursor;
    out->hbrBackground = ex.hbrBackground;
    out->lpszMenuName = ex.lpszMenuName;
    out->lpszClassName = ex.lpszClassName;
    return TRUE;
}

int WINAPI GetClassNameA(HWND hwnd, LPSTR buffer, int max)
{
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any || !buffer || max <= 0)
        return 0;
    return CopyTruncated(any.local ? any.local->cls->name : any.remote.className, buffer, max);
}

ULONG_PTR WINAPI GetClassLongPtrA(HWND hwnd, int index)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    WindowClass& c = *w->cls;
    if (index >= 0) {
        if (!ExtraIndexValid(index, sizeof(LONG_PTR), c.extra.size()))
            return 0;
        ULONG_PTR v = 0;
        std::memcpy(&v, c.extra.data() + index, sizeof v);
        return v;
    }
    switch (index) {
    case GCLP_HBRBACKGROUND: return reinterpret_cast<ULONG_PTR>(c.brush);
    case GCLP_HCURSOR: return reinterpret_cast<ULONG_PTR>(c.cursor);
    case GCLP_HICON: return reinterpret_cast<ULONG_PTR>(c.icon);
    case GCLP_HICONSM: return reinterpret_cast<ULONG_PTR>(c.iconSmall);
    case GCLP_HMODULE: return reinterpret_cast<ULONG_PTR>(c.instance);
    case GCL_CBWNDEXTRA: return static_cast<ULONG_PTR>(c.wndExtra);
    case GCL_CBCLSEXTRA: return static_cast<ULONG_PTR>(c.clsExtra);
    case GCLP_WNDPROC: return reinterpret_cast<ULONG_PTR>(c.proc);
    case GCL_STYLE: return c.style;
    case GCW_ATOM: return c.atom;
    case GCL_MENUNAME: return c.menuId ? c.menuId : reinterpret_cast<ULONG_PTR>(c.menuName.c_str());
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

DWORD WINAPI GetClassLongA(HWND hwnd, int index)
{
    return static_cast<DWORD>(GetClassLongPtrA(hwnd, index));
}

ULONG_PTR WINAPI SetClassLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    ULONG_PTR old = GetClassLongPtrA(hwnd, index);
    WindowClass& c = *w->cls;
    if (index >= 0) {
        if (!ExtraIndexValid(index, sizeof(LONG_PTR), c.extra.size()))
            return 0;
        std::memcpy(c.extra.data() + index, &value, sizeof value);
        return old;
    }
    switch (index) {
    case GCLP_HBRBACKGROUND: c.brush = reinterpret_cast<HBRUSH>(value); break;
    case GCLP_HCURSOR: c.cursor = reinterpret_cast<HCURSOR>(value); break;
    case GCLP_HICON: c.icon = reinterpret_cast<HICON>(value); break;
    case GCLP_HICONSM: c.iconSmall = reinterpret_cast<HICON>(value); break;
    case GCLP_WNDPROC: c.proc = reinterpret_cast<WNDPROC>(value); break;
    case GCL_STYLE: c.style = static_cast<UINT>(value); break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
    return old;
}

// ---- Creation ---------------------------------------------------------------------------------

HWND WINAPI CreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR windowName, DWORD style, int x, int y, int cx,
                            int cy, HWND parentHandle, HMENU menu, HINSTANCE instance, LPVOID param)
{
    ClassPtr cls = FindClass(className, instance);
    if (!cls) {
        SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
        return nullptr;
    }
    WindowPtr w = std::make_shared<Window>();
    Window* parent = nullptr;
    HWND owner = nullptr;
    {
        Guard g(Mutex());
        if (parentHandle == HWND_MESSAGE) {
            parent = &MessageRoot();
            style &= ~WS_VISIBLE;
        } else if (style & WS_CHILD) {
            WindowPtr p = Find(parentHandle);
            if (!p) {
                SetLastError(parentHandle ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TLW_WITH_WSCHILD);
                return nullptr;
            }
            parent = p.get();
        } else {
            parent = &Desktop();
            if (parentHandle) {
                WindowPtr o = Find(parentHandle);
                if (!o) {
                    SetLastError(ERROR_INVALID_WINDOW_HANDLE);
                    return nullptr;
                }
                owner = GetAncestor(parentHandle, GA_ROOT);
            }
            style |= WS_CLIPSIBLINGS;
            if (!(style & WS_POPUP)) {
                style |= WS_CAPTION;
                exStyle |= WS_EX_WINDOWEDGE;
            }
        }
        if ((style & WS_THICKFRAME) || (exStyle & WS_EX_DLGMODALFRAME) || (style & WS_DLGFRAME))
            exStyle |= WS_EX_WINDOWEDGE;

        // Default position and size for overlapped windows; zero for the others.
        SIZE screen = DesktopSize();
        bool overlapped = !(style & (WS_CHILD | WS_POPUP));
        if (x == CW_USEDEFAULT) {
            if (overlapped) {
                int step = 26 * (T().defaultPlacements++ % 8);
                x = y = step;
            } else {
                x = y = 0;
            }
        }
        if (cx == CW_USEDEFAULT) {
            if (overlapped) {
                cx = screen.cx * 3 / 4;
                cy = screen.cy * 3 / 4;
            } else {
                cx = cy = 0;
            }
        }
        if (cx < 0)
            cx = 0;
        if (cy < 0)
            cy = 0;

        w->hwnd = parent == &Desktop() ? NewTopLevelHandle() : NewHandle();
        w->cls = cls;
        w->style = style & ~WS_VISIBLE;
        w->exStyle = exStyle;
        w->parent = parent;
        w->owner = owner;
        w->proc = cls->proc;
        w->instance = instance;
        w->threadId = GetCurrentThreadId();
        w->extra.assign(static_cast<size_t>(cls->wndExtra), 0);
        if (style & WS_CHILD)
            w->id = reinterpret_cast<LONG_PTR>(menu);
        else
            w->menu = menu;
        POINT origin = ClientOrigin(*parent);
        w->window = MakeRect(origin.x + x, origin.y + y, origin.x + x + cx, origin.y + y + cy);
        w->client = w->window;
        w->normal = MakeRect(x, y, x + cx, y + cy);
        cls->windows++;
        T().windows[w->hwnd] = w;
        LinkChild(*parent, *w, (style & WS_CHILD) != 0);
        if (owner) {
            if (WindowPtr o = Find(owner))
                o->lastActivePopup = w->hwnd;
        }
    }
    CurrentQueue();
    HWND hwnd = w->hwnd;

    CREATESTRUCTA cs{};
    cs.lpCreateParams = param;
    cs.hInstance = instance;
    cs.hMenu = menu;
    cs.hwndParent = parentHandle == HWND_MESSAGE ? nullptr : parentHandle;
    cs.x = w->normal.left;
    cs.y = w->normal.top;
    cs.cx = w->normal.right - w->normal.left;
    cs.cy = w->normal.bottom - w->normal.top;
    cs.style = static_cast<LONG>(style);
    cs.lpszName = windowName;
    cs.lpszClass = className;
    cs.dwExStyle = exStyle;

    // The computer-based-training hook sees the window before its first message; the class
    // library attaches its window objects here. A non-zero answer refuses the window.
    {
        CBT_CREATEWNDA cbt{&cs, HWND_TOP};
        if (CallHooks(WH_CBT, HCBT_CREATEWND, reinterpret_cast<WPARAM>(hwnd), reinterpret_cast<LPARAM>(&cbt))) {
            Guard g(Mutex());
            Retire(*w);
            return nullptr;
        }
        if (!Find(hwnd))
            return nullptr;
    }

    // Size limits for resizable and overlapped windows.
    if ((style & WS_THICKFRAME) || !(style & (WS_POPUP | WS_CHILD))) {
        MINMAXINFO mmi = DefaultMinMaxInfo(style, exStyle);
        Send(hwnd, WM_GETMINMAXINFO, 0, reinterpret_cast<LPARAM>(&mmi));
        if (!Find(hwnd))
            return nullptr;
        Guard g(Mutex());
        LONG ncx = std::clamp<LONG>(w->window.right - w->window.left, mmi.ptMinTrackSize.x, std::max(mmi.ptMinTrackSize.x, mmi.ptMaxTrackSize.x));
        LONG ncy = std::clamp<LONG>(w->window.bottom - w->window.top, mmi.ptMinTrackSize.y, std::max(mmi.ptMinTrackSize.y, mmi.ptMaxTrackSize.y));
        w->window.right = w->window.left + ncx;
        w->window.bottom = w->window.top + ncy;
        w->client = w->window;
        w->normal.right = w->normal.left + ncx;
        w->normal.bottom = w->normal.top + ncy;
        cs.cx = ncx;
        cs.cy = ncy;
    }

    if (!Send(hwnd, WM_NCCREATE, 0, reinterpret_cast<LPARAM>(&cs))) {
        if (Find(hwnd)) {
            Send(hwnd, WM_NCDESTROY, 0, 0);
            Guard g(Mutex());
            Retire(*w);
        }
        return nullptr;
    }
    if (!Find(hwnd))
        return nullptr;

    // Client area from the window rectangle (in parent client coordinates).
    {
        RECT rc = RelativeToParent(*w);
        Send(hwnd, WM_NCCALCSIZE, FALSE, reinterpret_cast<LPARAM>(&rc));
        if (!Find(hwnd))
            return nullptr;
        Guard g(Mutex());
        POINT origin = ClientOrigin(*w->parent);
        w->client = Offset(rc, origin.x, origin.y);
        if (w->client.right < w->client.left)
            w->client.right = w->client.left;
        if (w->client.bottom < w->client.top)
            w->client.bottom = w->client.top;
    }

    if (Send(hwnd, WM_CREATE, 0, reinterpret_cast<LPARAM>(&cs)) == -1) {
        DestroyWindow(hwnd);
        return nullptr;
    }
    if (!Find(hwnd))
        return nullptr;
    w->created = true;

    {
        RECT c = w->client;
        POINT origin = ClientOrigin(*w->parent);
        Send(hwnd, WM_SIZE, SIZE_RESTORED, MAKELPARAM(c.right - c.left, c.bottom - c.top));
        Send(hwnd, WM_MOVE, 0, MAKELPARAM(c.left - origin.x, c.top - origin.y));
    }
    if (!Find(hwnd))
        return nullptr;

    if (style & (WS_MINIMIZE | WS_MAXIMIZE)) {
        w->style &= ~(WS_MINIMIZE | WS_MAXIMIZE);
        ShowWindow(hwnd, (style & WS_MINIMIZE) ? SW_SHOWMINNOACTIVE : SW_SHOWMAXIMIZED);
        if (!(style & WS_VISIBLE) && Find(hwnd)) {
            // Keep the new state but stay hidden until shown.
            SetWindowPosInternal(hwnd, nullptr, 0, 0, 0, 0,
                                 SWP_HIDEWINDOW | SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
    }

    SendParentNotify(*w, WM_CREATE);
    if (!Find(hwnd))
        return nullptr;

    if ((style & WS_VISIBLE) && !(style & (WS_MINIMIZE | WS_MAXIMIZE)))
        ShowWindow(hwnd, SW_SHOW);
    if (!Find(hwnd))
        return nullptr;
    if (parent == &Desktop())
        remote::Publish();
    return hwnd;
}

// ---- Destruction ------------------------------------------------------------------------------

namespace {

void SendDestroyTree(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return;
    Send(hwnd, WM_DESTROY, 0, 0);
    std::vector<HWND> children;
    {
        Guard g(Mutex());
        children = Snapshot(*w, false);
    }
    for (HWND c : children) {
        if (WindowPtr cw = Find(c))
            cw->destroying = true;
        SendDestroyTree(c);
    }
}

void FreeTree(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return;
    std::vector<HWND> children;
    {
        Guard g(Mutex());
        children = Snapshot(*w, false);
    }
    for (HWND c : children)
        FreeTree(c);
    KillWindowTimers(hwnd);
    Send(hwnd, WM_NCDESTROY, 0, 0);
    RemoveMessagesFor(hwnd);
    ForgetWindow(hwnd);
    Guard g(Mutex());
    DestroyOwnMenu(*w);
    // Children left (created during WM_NCDESTROY) go with their parent.
    for (Window* c : std::vector<Window*>(w->children))
        Retire(*c);
    for (auto& [h, other] : T().windows)
        if (other->owner == hwnd)
            other->owner = nullptr;
    bool published = remote::IsRegistryHandle(hwnd);
    Retire(*w);
    if (published)
        remote::Publish();
}

}  // namespace

// Clipboard.cpp: the owner of promised formats renders them before it goes.
void ClipboardOwnerDestroying(HWND hwnd);

BOOL WINAPI DestroyWindow(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w) {
        remote::Info info;
        SetLastError(remote::Describe(hwnd, info) ? ERROR_ACCESS_DENIED : ERROR_INVALID_WINDOW_HANDLE);
        return FALSE;
    }
    if (w.get() == &Desktop() || w->hwnd == MessageRoot().hwnd || w->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return FALSE;
    }
    if (w->destroying)
        return TRUE;
    w->destroying = true;

    ClipboardOwnerDestroying(hwnd);
    SendParentNotify(*w, WM_DESTROY);
    if (!Find(hwnd))
        return TRUE;

    if (w->style & WS_VISIBLE) {
        UINT flags = SWP_HIDEWINDOW | SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER;
        if (!IsTopLevel(*w))
            flags |= SWP_NOACTIVATE;
        SetWindowPosInternal(hwnd, nullptr, 0, 0, 0, 0, flags);
    }
    if (!Find(hwnd))
        return TRUE;

    // Owned windows go first.
    if (IsTopLevel(*w)) {
        std::vector<HWND> owned;
        {
            Guard g(Mutex());
            for (Window* c : Desktop().children)
                if (c->owner == hwnd)
                    owned.push_back(c->hwnd);
        }
        for (HWND o : owned)
            DestroyWindow(o);
    }
    WindowDestroying(hwnd);
    SendDestroyTree(hwnd);
    FreeTree(hwnd);
    return TRUE;
}

// ---- Queries ---------------------------------------------------------------------------------

namespace {

// The style of another process's window (0 when the handle is not one).
DWORD RemoteStyle(HWND hwnd)
{
    remote::Info info;
    return remote::Describe(hwnd, info) ? info.style : 0;
}

}  // namespace

BOOL WINAPI IsWindow(HWND hwnd)
{
    remote::Info info;
    return Find(hwnd) != nullptr || remote::Describe(hwnd, info);
}

BOOL WINAPI IsWindowVisible(HWND hwnd)
{
    Guard g(Mutex());
    WindowPtr w = Find(hwnd);
    return w ? VisibleChain(*w) : (RemoteStyle(hwnd) & WS_VISIBLE) != 0;
}

BOOL WINAPI IsWindowEnabled(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w) {
        remote::Info info;
        return remote::Describe(hwnd, info) && !(info.style & WS_DISABLED);
    }
    return !(w->style & WS_DISABLED);
}

BOOL WINAPI IsIconic(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    return ((w ? w->style : RemoteStyle(hwnd)) & WS_MINIMIZE) != 0;
}

BOOL WINAPI IsZoomed(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    return ((w ? w->style : RemoteStyle(hwnd)) & WS_MAXIMIZE) != 0;
}

BOOL WINAPI IsChild(HWND parent, HWND hwnd)
{
    Guard g(Mutex());
    WindowPtr w = Find(hwnd);
    if (!w)
        return FALSE;
    for (Window* p = w->parent; p && (w->style & WS_CHILD); p = p->parent) {
        if (p->hwnd == parent)
            return TRUE;
        if (!(p->style & WS_CHILD))
            break;
    }
    return FALSE;
}

HWND WINAPI GetParent(HWND hwnd)
{
    Guard g(Mutex());
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any)
        return nullptr;
    WindowPtr w = any.local;
    if (!w)
        return (any.remote.style & WS_POPUP) ? any.remote.owner : nullptr;
    if (w->style & WS_CHILD)
        return w->parent ? w->parent->hwnd : nullptr;
    if (w->style & WS_POPUP)
        return w->owner;
    return nullptr;
}

HWND WINAPI SetParent(HWND child, HWND newParent)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(child);
    if (!w)
        return nullptr;
    Window* target = &Desktop();
    if (newParent) {
        WindowPtr p = Lookup(newParent);
        if (!p)
            return nullptr;
        for (Window* a = p.get(); a; a = a->parent)
            if (a == w.get()) {
                SetLastError(ERROR_INVALID_PARAMETER);
                return nullptr;
            }
        target = p.get();
    }
    HWND old = w->parent ? w->parent->hwnd : nullptr;
    bool visible = (w->style & WS_VISIBLE) != 0;
    RECT rel = RelativeToParent(*w);
    Unlink(*w);
    w->parent = target;
    LinkChild(*target, *w, false);
    POINT origin = ClientOrigin(*target);
    OffsetTree(*w, origin.x + rel.left - w->window.left, origin.y + rel.top - w->window.top);
    if (visible)
        InvalidateTree(*w, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
    remote::Publish();
    return old == Desktop().hwnd ? GetDesktopWindow() : old;
}

HWND WINAPI GetDesktopWindow()
{
    return Desktop().hwnd;
}

HWND WINAPI GetAncestor(HWND hwnd, UINT flags)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return nullptr;
    if (w.get() == &Desktop())
        return nullptr;
    switch (flags) {
    case GA_PARENT:
        return w->parent ? w->parent->hwnd : nullptr;
    case GA_ROOT: {
        Window* r = w.get();
        while (r->parent && !IsTopLevel(*r))
            r = r->parent;
        return r->hwnd;
    }
    case GA_ROOTOWNER: {
        HWND r = GetAncestor(hwnd, GA_ROOT);
        for (;;) {
            WindowPtr rw = Find(r);
            if (!rw || !rw->owner)
                return r;
            r = rw->owner;
        }
    }
    default:
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
}

namespace {

// Top-level windows follow the z-order of all processes' windows.
HWND GlobalNeighbour(HWND hwnd, UINT cmd)
{
    std::vector<HWND> all = remote::GlobalTopLevelWindows();
    if (all.empty())
        return nullptr;
    if (cmd == GW_HWNDFIRST)
        return all.front();
    if (cmd == GW_HWNDLAST)
        return all.back();
    auto it = std::find(all.begin(), all.end(), hwnd);
    if (it == all.end())
        return nullptr;
    if (cmd == GW_HWNDNEXT)
        return it + 1 == all.end() ? nullptr : *(it + 1);
    return it == all.begin() ? nullptr : *(it - 1);
}

}  // namespace

HWND WINAPI GetWindow(HWND hwnd, UINT cmd)
{
    Guard g(Mutex());
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any)
        return nullptr;
    WindowPtr w = any.local;
    bool ordering = cmd == GW_HWNDFIRST || cmd == GW_HWNDLAST || cmd == GW_HWNDNEXT || cmd == GW_HWNDPREV;
    if (!w) {
        if (ordering)
            return GlobalNeighbour(hwnd, cmd);
        if (cmd == GW_OWNER)
            return any.remote.owner;
        if (cmd == GW_CHILD || cmd == GW_ENABLEDPOPUP)
            return nullptr;  // only top-level windows of other processes are known
        SetLastError(ERROR_INVALID_GW_COMMAND);
        return nullptr;
    }
    if ((ordering && w->parent == &Desktop()) || (cmd == GW_CHILD && w.get() == &Desktop()))
        return GlobalNeighbour(hwnd, cmd == GW_CHILD ? GW_HWNDFIRST : cmd);
    auto siblings = [&]() -> std::vector<Window*>& { return w->parent ? w->parent->children : w->children; };
    switch (cmd) {
    case GW_HWNDFIRST:
        return (w->parent && !w->parent->children.empty()) ? w->parent->children.front()->hwnd : hwnd;
    case GW_HWNDLAST:
        return (w->parent && !w->parent->children.empty()) ? w->parent->children.back()->hwnd : hwnd;
    case GW_HWNDNEXT:
    case GW_HWNDPREV: {
        if (!w->parent)
            return nullptr;
        auto& list = siblings();
        auto it = std::find(list.begin(), list.end(), w.get());
        if (it == list.end())
            return nullptr;
        if (cmd == GW_HWNDNEXT)
            return (it + 1) == list.end() ? nullptr : (*(it + 1))->hwnd;
        return it == list.begin() ? nullptr : (*(it - 1))->hwnd;
    }
    case GW_OWNER:
        return w->owner;
    case GW_CHILD:
        return w->children.empty() ? nullptr : w->children.front()->hwnd;
    case GW_ENABLEDPOPUP:
        for (Window* c : Desktop().children)
            if (c->owner == hwnd && (c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) && (c->style & WS_POPUP))
                return c->hwnd;
        return nullptr;
    default:
        SetLastError(ERROR_INVALID_GW_COMMAND);
        return nullptr;
    }
}

HWND WINAPI GetTopWindow(HWND hwnd)
{
    return GetWindow(hwnd ? hwnd : GetDesktopWindow(), GW_CHILD);
}

HWND WINAPI GetLastActivePopup(HWND hwnd)
{
    Guard g(Mutex());
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any)
        return nullptr;
    WindowPtr w = any.local;
    if (!w) {
        // Another process's window: as its process last published it.
        HWND popup = any.remote.lastActivePopup;
        remote::Info info;
        return popup && remote::Describe(popup, info) ? popup : hwnd;
    }
    if (w->lastActivePopup) {
        WindowPtr p = Find(w->lastActivePopup);
        if (p && p->owner == hwnd && (p->style & WS_VISIBLE) && !(p->style & WS_DISABLED))
            return p->hwnd;
    }
    return hwnd;
}

namespace {

bool TextMatches(const Window& w, LPCSTR cls, LPCSTR title)
{
    return (!cls || ClassNameIs(w.cls, cls)) && (!title || w.text == title);
}

}  // namespace

HWND WINAPI FindWindowExA(HWND parent, HWND after, LPCSTR cls, LPCSTR title)
{
    Guard g(Mutex());
    Window* p = &Desktop();
    if (parent == HWND_MESSAGE) {
        p = &MessageRoot();
    } else if (parent) {
        WindowPtr pw = Lookup(parent);
        if (!pw)
            return nullptr;
        p = pw.get();
    }
    bool started = after == nullptr;
    for (Window* c : p->children) {
        if (!started) {
            started = c->hwnd == after;
            continue;
        }
        if (!c->destroyed && TextMatches(*c, cls, title))
            return c->hwnd;
    }
    if (p == &Desktop()) {
        // Then the top-level windows of other processes.
        std::uint64_t localStamp = 0;
        for (const remote::Group& group : remote::OtherProcessesWindows(localStamp))
            for (HWND h : group.windows) {
                if (!started) {
                    started = h == after;
                    continue;
                }
                remote::Info info;
                if (!remote::Describe(h, info))
                    continue;
                bool classMatches = !cls || (!IS_INTRESOURCE(cls) && strcasecmp(info.className.c_str(), cls) == 0);
                if (classMatches && (!title || info.title == title))
                    return h;
            }
    }
    SetLastError(ERROR_CANNOT_FIND_WND_CLASS);
    return nullptr;
}

HWND WINAPI FindWindowA(LPCSTR cls, LPCSTR title)
{
    return FindWindowExA(nullptr, nullptr, cls, title);
}

namespace {

// Calls proc for each window of the list that still exists when its turn comes; stops when
// proc answers FALSE, and so answers FALSE itself.
BOOL EnumerateSnapshot(const std::vector<HWND>& list, WNDENUMPROC proc, LPARAM lParam)
{
    for (HWND h : list)
        if (IsWindow(h) && !proc(h, lParam))
            return FALSE;
    return TRUE;
}

}  // namespace

BOOL WINAPI EnumWindows(WNDENUMPROC proc, LPARAM lParam)
{
    return EnumerateSnapshot(remote::GlobalTopLevelWindows(), proc, lParam);
}

BOOL WINAPI EnumChildWindows(HWND parent, WNDENUMPROC proc, LPARAM lParam)
{
    std::vector<HWND> list;
    {
        Guard g(Mutex());
        WindowPtr p = parent ? Find(parent) : Find(GetDesktopWindow());
        if (!p)
            return FALSE;
        list = Snapshot(*p, true);
    }
    return EnumerateSnapshot(list, proc, lParam);
}

BOOL WINAPI EnumThreadWindows(DWORD threadId, WNDENUMPROC proc, LPARAM lParam)
{
    // The thread's top-level windows, a thread of another process's too.
    std::vector<HWND> list;
    for (HWND h : remote::GlobalTopLevelWindows()) {
        WindowPtr w = Find(h);
        remote::Info info;
        if (w ? w->threadId == threadId : remote::Describe(h, info) && info.threadId == threadId)
            list.push_back(h);
    }
    return EnumerateSnapshot(list, proc, lParam);
}

DWORD WINAPI GetWindowThreadProcessId(HWND hwnd, LPDWORD processId)
{
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any)
        return 0;
    WindowPtr w = any.local;
    if (!w) {
        if (processId)
            *processId = any.remote.processId;
        return any.remote.threadId;
    }
    if (processId)
        *processId = GetCurrentProcessId();
    return w->threadId;
}

// ---- Text --------------------------------------------------------------------------------------

int WINAPI GetWindowTextA(HWND hwnd, LPSTR buffer, int max)
{
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any || !buffer || max <= 0)
        return 0;
    buffer[0] = 0;
    WindowPtr w = any.local;
    if (!w)
        return CopyTruncated(any.remote.title, buffer, max);  // as its process last published it
    if (w->threadId == GetCurrentThreadId())
        return static_cast<int>(Send(hwnd, WM_GETTEXT, static_cast<WPARAM>(max), reinterpret_cast<LPARAM>(buffer)));
    Guard g(Mutex());
    return CopyTruncated(w->text, buffer, max);
}

int WINAPI GetWindowTextLengthA(HWND hwnd)
{
    remote::AnyWindow any = remote::FindAny(hwnd);
    if (!any)
        return 0;
    WindowPtr w = any.local;
    if (!w)
        return static_cast<int>(any.remote.title.size());
    if (w->threadId == GetCurrentThreadId())
        return static_cast<int>(Send(hwnd, WM_GETTEXTLENGTH, 0, 0));
    return static_cast<int>(w->text.size());
}

BOOL WINAPI SetWindowTextA(HWND hwnd, LPCSTR text)
{
    if (!Find(hwnd) && remote::IsRegistryHandle(hwnd)) {
        // Another process's top-level window: its owner sets the text.
        std::string copy = text ? text : "";
        LRESULT result = 0;
        if (!remote::RequestWithData(hwnd, remote::Op::SetText, WM_SETTEXT, 0, 0, copy.data(), copy.size(), 5000,
                                     &result, nullptr))
            return FALSE;
        return static_cast<BOOL>(result);
    }
    if (!Lookup(hwnd))
        return FALSE;
    return static_cast<BOOL>(Send(hwnd, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text)));
}

// ---- Window longs --------------------------------------------------------------------------------

LONG_PTR WINAPI GetWindowLongPtrA(HWND hwnd, int index)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    if (index >= 0) {
        if (!ExtraIndexValid(index, sizeof(LONG_PTR), w->extra.size()))
            return 0;
        LONG_PTR v = 0;
        std::memcpy(&v, w->extra.data() + index, sizeof v);
        return v;
    }
    switch (index) {
    case GWLP_WNDPROC: return reinterpret_cast<LONG_PTR>(w->proc);
    case GWLP_HINSTANCE: return reinterpret_cast<LONG_PTR>(w->instance);
    case GWLP_HWNDPARENT:
        return reinterpret_cast<LONG_PTR>((w->style & WS_CHILD) && w->parent ? w->parent->hwnd : w->owner);
    case GWLP_ID: return (w->style & WS_CHILD) ? w->id : reinterpret_cast<LONG_PTR>(w->menu);
    case GWLP_USERDATA: return w->userData;
    case GWL_STYLE: return static_cast<LONG>(w->style);
    case GWL_EXSTYLE: return static_cast<LONG>(w->exStyle);
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
}

LONG_PTR WINAPI SetWindowLongPtrA(HWND hwnd, int index, LONG_PTR value)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    if (index == GWL_STYLE || index == GWL_EXSTYLE) {
        STYLESTRUCT ss{};
        ss.styleOld = index == GWL_STYLE ? w->style : w->exStyle;
        ss.styleNew = static_cast<DWORD>(value);
        Send(hwnd, WM_STYLECHANGING, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (!Find(hwnd))
            return 0;
        {
            Guard g(Mutex());
            if (index == GWL_STYLE)
                w->style = ss.styleNew;
            else
                w->exStyle = ss.styleNew;
        }
        Send(hwnd, WM_STYLECHANGED, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&ss));
        if (IsTopLevel(*w))
            remote::Publish();
        SetLastError(0);
        return static_cast<LONG>(ss.styleOld);
    }
    Guard g(Mutex());
    LONG_PTR old = GetWindowLongPtrA(hwnd, index);
    if (index >= 0) {
        if (!ExtraIndexValid(index, sizeof(LONG_PTR), w->extra.size()))
            return 0;
        std::memcpy(w->extra.data() + index, &value, sizeof value);
        SetLastError(0);
        return old;
    }
    switch (index) {
    case GWLP_WNDPROC:
        if (!value) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return 0;
        }
        w->proc = reinterpret_cast<WNDPROC>(value);
        break;
    case GWLP_HINSTANCE: w->instance = reinterpret_cast<HINSTANCE>(value); break;
    case GWLP_HWNDPARENT:
        if (w->style & WS_CHILD)
            SetParent(hwnd, reinterpret_cast<HWND>(value));
        else
            w->owner = reinterpret_cast<HWND>(value);
        break;
    case GWLP_ID:
        if (w->style & WS_CHILD)
            w->id = value;
        else
            w->menu = reinterpret_cast<HMENU>(value);
        break;
    case GWLP_USERDATA: w->userData = value; break;
    default: SetLastError(ERROR_INVALID_INDEX); return 0;
    }
    SetLastError(0);
    return old;
}

LONG WINAPI GetWindowLongA(HWND hwnd, int index)
{
    return static_cast<LONG>(GetWindowLongPtrA(hwnd, index));
}

LONG WINAPI SetWindowLongA(HWND hwnd, int index, LONG value)
{
    return static_cast<LONG>(SetWindowLongPtrA(hwnd, index, index == GWL_STYLE || index == GWL_EXSTYLE
                                                                  ? static_cast<LONG_PTR>(static_cast<DWORD>(value))
                                                                  : value));
}

WORD WINAPI GetWindowWord(HWND hwnd, int index)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    if (!ExtraIndexValid(index, sizeof(WORD), w->extra.size()))
        return 0;
    WORD v = 0;
    std::memcpy(&v, w->extra.data() + index, sizeof v);
    return v;
}

LRESULT WINAPI CallWindowProcA(WNDPROC proc, HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (!proc)
        return 0;
    return proc(hwnd, msg, wParam, lParam);
}

int WINAPI GetDlgCtrlID(HWND hwnd)
{
    WindowPtr w = Lookup(hwnd);
    if (!w || !(w->style & WS_CHILD))
        return 0;
    return static_cast<int>(w->id);
}

HWND WINAPI GetDlgItem(HWND dialog, int id)
{
    Guard g(Mutex());
    WindowPtr w = Lookup(dialog);
    if (!w)
        return nullptr;
    for (Window* c : w->children)
        if (static_cast<int>(c->id) == id)
            return c->hwnd;
    SetLastError(ERROR_CONTROL_ID_NOT_FOUND);
    return nullptr;
}

// ---- Host controls --------------------------------------------------------------------------------

namespace user {

void DropThreadWindows(DWORD threadId)
{
    // The windows of a thread that ends go with it, without messages: nobody is left to
    // receive them.
    Guard g(Mutex());
    std::vector<WindowPtr> mine = AllWindowsOfThread(threadId);
    for (auto it = mine.rbegin(); it != mine.rend(); ++it) {
        Window& w = **it;
        if (w.destroyed)
            continue;
        ForgetWindow(w.hwnd);
        KillWindowTimers(w.hwnd);
        DestroyOwnMenu(w);
        for (Window* c : w.children)
            c->parent = nullptr;
        w.children.clear();
        Retire(w);
    }
    if (!mine.empty())
        remote::Publish();
}

}  // namespace user

namespace host {

int CountWindows()
{
    Guard g(Mutex());
    Desktop();
    return static_cast<int>(T().windows.size()) - 2;
}

}  // namespace host
