// Focus, activation, capture and enabling; the input path from injected events to the messages a
// window sees; keyboard state and layout; the cursor.
#include "UserInternal.h"
#include "SystemIcons.h"
#include "UserRemote.h"

#include <host/Clock.h>
#include <host/IconResources.h>
#include <host/Input.h>

#include <algorithm>
#include <atomic>
#include <cctype>
#include <cstdlib>
#include <cstring>

namespace user {

namespace {

struct InputState {
    HWND focus = nullptr;
    HWND active = nullptr;
    DWORD activeThread = 0;
    HWND capture = nullptr;
    BYTE syncKeys[256] = {};
    BYTE asyncKeys[256] = {};
    BYTE asyncPressed[256] = {};
    POINT cursor{};
    HCURSOR cursorShape = nullptr;
    int showCount = 0;
    bool clipped = false;
    RECT clip{};
    // double clicks
    UINT lastDownMsg = 0;
    HWND lastDownHwnd = nullptr;
    DWORD lastDownTime = 0;
    POINT lastDownPt{};
    UINT doubleClickTime = 500;
    bool swapped = false;
};

InputState& S()
{
    static auto* s = new InputState;
    return *s;
}

std::atomic<HWND> g_activeMirror{nullptr};

HWND RootOf(HWND hwnd)
{
    return GetAncestor(hwnd, GA_ROOT);
}

bool InTree(HWND root, HWND hwnd)
{
    return hwnd && (hwnd == root || IsChild(root, hwnd));
}

void SendActivateApp(DWORD threadId, BOOL active, DWORD otherThread)
{
    std::vector<HWND> tops;
    {
        Guard g(Mutex());
        for (Window* c : Desktop().children)
            if (c->threadId == threadId)
                tops.push_back(c->hwnd);
    }
    for (HWND h : tops)
        if (IsWindow(h))
            Send(h, WM_ACTIVATEAPP, active, otherThread);
}

// Core of activation changes.
HWND ChangeActive(HWND hwnd, WORD how)
{
    HWND old;
    DWORD oldThread, newThread = 0;
    {
        Guard g(Mutex());
        old = S().active;
        oldThread = S().activeThread;
        if (old == hwnd)
            return old;
        if (hwnd) {
            WindowPtr w = Find(hwnd);
            if (!w)
                return nullptr;
            newThread = w->threadId;
        }
    }
    if (old && IsWindow(old)) {
        Send(old, WM_NCACTIVATE, FALSE, 0);
        if (IsWindow(old))
            Send(old, WM_ACTIVATE, MAKEWPARAM(WA_INACTIVE, IsIconic(old) ? 1 : 0), reinterpret_cast<LPARAM>(hwnd));
    }
    {
        Guard g(Mutex());
        S().active = hwnd;
        S().activeThread = newThread;
        g_activeMirror = hwnd;
    }
    if (oldThread && oldThread != newThread)
        SendActivateApp(oldThread, FALSE, newThread);
    if (!hwnd) {
        // Nothing active: the focus goes too.
        HWND focus = S().focus;
        if (focus) {
            S().focus = nullptr;
            if (IsWindow(focus))
                Send(focus, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    {
        Guard g(Mutex());
        WindowPtr w = Find(hwnd);
        if (w && w->parent) {
            // The active window comes to the top of its band with the windows it owns, silently;
            // what it now covers of them is painted anew.
            RaiseToTopOfBand(*w);
            HWND rootOwner = GetAncestor(hwnd, GA_ROOTOWNER);
            if (WindowPtr ro = Find(rootOwner))
                ro->lastActivePopup = hwnd;
        }
    }
    remote::Activated();
    // On a palette display the window gets the chance to realise its palette first.
    if (PaletteDisplay() && IsWindow(hwnd))
        Send(hwnd, WM_QUERYNEWPALETTE, 0, 0);
    if (oldThread != newThread)
        SendActivateApp(newThread, TRUE, oldThread);
    if (!IsWindow(hwnd))
        return old;
    Send(hwnd, WM_NCACTIVATE, TRUE, 0);
    if (IsWindow(hwnd))
        Send(hwnd, WM_ACTIVATE, MAKEWPARAM(how, IsIconic(hwnd) ? 1 : 0), reinterpret_cast<LPARAM>(old));
    // A focus left in another top-level window goes away.
    HWND focus = S().focus;
    if (focus && IsWindow(hwnd) && !InTree(hwnd, focus) && S().active == hwnd) {
        S().focus = nullptr;
        if (IsWindow(focus))
            Send(focus, WM_KILLFOCUS, 0, 0);
    }
    return old;
}

HWND NextToActivate(HWND leaving)
{
    Guard g(Mutex());
    WindowPtr w = Find(leaving);
    if (w && w->owner) {
        WindowPtr o = Find(w->owner);
        if (o && (o->style & WS_VISIBLE) && !(o->style & WS_DISABLED) && !(o->style & WS_MINIMIZE))
            return o->hwnd;
    }
    for (Window* c : Desktop().children) {
        if (c->hwnd == leaving || c->destroying)
            continue;
        if ((c->style & WS_VISIBLE) && !(c->style & WS_DISABLED) && !(c->style & WS_MINIMIZE) &&
            !(c->exStyle & WS_EX_TOOLWINDOW))
            return c->hwnd;
    }
    return nullptr;
}

}  // namespace

void ActivateOnShow(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w || (w->style & WS_CHILD) || (w->style & WS_DISABLED))
        return;
    ChangeActive(hwnd, WA_ACTIVE);
}

void WindowHidden(HWND hwnd)
{
    HWND active = S().active;
    HWND focus = S().focus;
    WindowPtr w = Find(hwnd);
    if (w && (w->style & WS_CHILD)) {
        if (InTree(hwnd, focus))
            SetFocus(GetParent(hwnd));
        return;
    }
    if (active == hwnd)
        ChangeActive(NextToActivate(hwnd), WA_ACTIVE);
}

void WindowDestroying(HWND hwnd)
{
    HWND capture = S().capture;
    if (InTree(hwnd, capture)) {
        S().capture = nullptr;
        Send(capture, WM_CAPTURECHANGED, 0, 0);
    }
    WindowPtr w = Find(hwnd);
    if (!w)
        return;
    if (InTree(hwnd, S().focus)) {
        if (w->style & WS_CHILD) {
            SetFocus(GetParent(hwnd));
        } else {
            HWND focus = S().focus;
            S().focus = nullptr;
            Send(focus, WM_KILLFOCUS, 0, 0);
        }
    }
    if (S().active == hwnd)
        ChangeActive(NextToActivate(hwnd), WA_ACTIVE);
}

void ForgetWindow(HWND hwnd)
{
    Guard g(Mutex());
    InputState& s = S();
    if (s.focus == hwnd)
        s.focus = nullptr;
    if (s.capture == hwnd)
        s.capture = nullptr;
    if (s.active == hwnd) {
        s.active = nullptr;
        s.activeThread = 0;
        g_activeMirror = nullptr;
    }
    if (s.lastDownHwnd == hwnd)
        s.lastDownHwnd = nullptr;
}

void ResetInputState()
{
    Guard g(Mutex());
    InputState& s = S();
    s.focus = s.active = s.capture = nullptr;
    s.activeThread = 0;
    g_activeMirror = nullptr;
    std::memset(s.syncKeys, 0, sizeof s.syncKeys);
    std::memset(s.asyncKeys, 0, sizeof s.asyncKeys);
    std::memset(s.asyncPressed, 0, sizeof s.asyncPressed);
    s.cursor = POINT{};
    s.cursorShape = nullptr;
    s.showCount = 0;
    s.clipped = false;
    s.lastDownMsg = 0;
    s.lastDownHwnd = nullptr;
}

HWND ActiveWindowLockFree()
{
    return g_activeMirror.load();
}

POINT CursorPosition()
{
    Guard g(Mutex());
    return S().cursor;
}

bool IsMouseMessage(UINT msg)
{
    return (msg >= WM_MOUSEFIRST && msg <= WM_MOUSELAST) || (msg >= WM_NCMOUSEMOVE && msg <= WM_NCMBUTTONDBLCLK);
}

namespace {

WPARAM MouseKeyState()
{
    InputState& s = S();
    WPARAM k = 0;
    if (s.syncKeys[VK_LBUTTON] & 0x80)
        k |= MK_LBUTTON;
    if (s.syncKeys[VK_RBUTTON] & 0x80)
        k |= MK_RBUTTON;
    if (s.syncKeys[VK_MBUTTON] & 0x80)
        k |= MK_MBUTTON;
    if (s.syncKeys[VK_SHIFT] & 0x80)
        k |= MK_SHIFT;
    if (s.syncKeys[VK_CONTROL] & 0x80)
        k |= MK_CONTROL;
    return k;
}

bool IsButtonDown(UINT m)
{
    return m == WM_LBUTTONDOWN || m == WM_RBUTTONDOWN || m == WM_MBUTTONDOWN;
}

}  // namespace

void UpdateKeyStateForMessage(const MSG& msg)
{
    Guard g(Mutex());
    BYTE* k = S().syncKeys;
    auto press = [&](int vk, bool down) {
        if (down) {
            if (!(k[vk] & 0x80))
                k[vk] ^= 0x01;
            k[vk] |= 0x80;
        } else {
            k[vk] &= static_cast<BYTE>(~0x80);
        }
    };
    switch (msg.message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
        bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
        int vk = static_cast<int>(msg.wParam & 0xFF);
        press(vk, down);
        if (vk == VK_LSHIFT || vk == VK_RSHIFT)
            press(VK_SHIFT, down);
        if (vk == VK_LCONTROL || vk == VK_RCONTROL)
            press(VK_CONTROL, down);
        if (vk == VK_LMENU || vk == VK_RMENU)
            press(VK_MENU, down);
        break;
    }
    case WM_LBUTTONDOWN: case WM_LBUTTONDBLCLK: case WM_NCLBUTTONDOWN: case WM_NCLBUTTONDBLCLK: press(VK_LBUTTON, true); break;
    case WM_LBUTTONUP: case WM_NCLBUTTONUP: press(VK_LBUTTON, false); break;
    case WM_RBUTTONDOWN: case WM_RBUTTONDBLCLK: case WM_NCRBUTTONDOWN: case WM_NCRBUTTONDBLCLK: press(VK_RBUTTON, true); break;
    case WM_RBUTTONUP: case WM_NCRBUTTONUP: press(VK_RBUTTON, false); break;
    case WM_MBUTTONDOWN: case WM_MBUTTONDBLCLK: case WM_NCMBUTTONDOWN: case WM_NCMBUTTONDBLCLK: press(VK_MBUTTON, true); break;
    case WM_MBUTTONUP: case WM_NCMBUTTONUP: press(VK_MBUTTON, false); break;
    default: break;
    }
}

bool CookInput(RawInput& raw, MSG& msg, bool remove)
{
    msg = MSG{};
    msg.time = raw.time;
    msg.pt = raw.pt;
    if (raw.msg >= WM_KEYFIRST && raw.msg <= WM_KEYLAST) {
        HWND target = GetFocus();
        UINT m = raw.msg;
        if (!target) {
            target = GetActiveWindow();
            if (!target)
                return false;
            if (m == WM_KEYDOWN)
                m = WM_SYSKEYDOWN;
            else if (m == WM_KEYUP)
                m = WM_SYSKEYUP;
        }
        msg.hwnd = target;
        msg.message = m;
        msg.wParam = raw.wParam;
        msg.lParam = raw.lParam;
        return true;
    }

    // Mouse
    HWND capture = GetCapture();
    HWND hwnd;
    LRESULT hit;
    if (capture) {
        hwnd = capture;
        hit = HTCLIENT;
    } else {
        hwnd = WindowFromPoint(raw.pt);
        if (!hwnd)
            return false;
        WindowPtr w = Find(hwnd);
        if (!w || w->threadId != GetCurrentThreadId())
            return false;
        hit = Send(hwnd, WM_NCHITTEST, 0, MAKELPARAM(raw.pt.x, raw.pt.y));
        if (!IsWindow(hwnd))
            return false;
    }
    UINT m = raw.msg;
    if (remove && !capture) {
        if (IsButtonDown(m)) {
            HWND top = RootOf(hwnd);
            if (top && GetActiveWindow() != top) {
                LRESULT ma = Send(hwnd, WM_MOUSEACTIVATE, reinterpret_cast<WPARAM>(top), MAKELPARAM(hit, m));
                if (ma == MA_ACTIVATE || ma == MA_ACTIVATEANDEAT || ma == 0)
                    if (IsWindow(top) && !(GetWindowLongA(top, GWL_STYLE) & WS_DISABLED))
                        ChangeActive(top, WA_CLICKACTIVE);
                if (ma == MA_ACTIVATEANDEAT || ma == MA_NOACTIVATEANDEAT)
                    return false;
            }
        }
        if (IsWindow(hwnd))
            Send(hwnd, WM_SETCURSOR, reinterpret_cast<WPARAM>(hwnd), MAKELPARAM(hit, m));
        if (!IsWindow(hwnd))
            return false;
    }
    bool client = hit == HTCLIENT;
    // Double clicks
    if (IsButtonDown(m)) {
        Guard g(Mutex());
        InputState& s = S();
        WindowPtr w = Find(hwnd);
        bool wantsDbl = !client || (w && (w->cls->style & CS_DBLCLKS));
        int cx = GetSystemMetrics(SM_CXDOUBLECLK) / 2, cy = GetSystemMetrics(SM_CYDOUBLECLK) / 2;
        bool dbl = wantsDbl && s.lastDownMsg == m && s.lastDownHwnd == hwnd &&
                   raw.time - s.lastDownTime <= s.doubleClickTime && std::abs(raw.pt.x - s.lastDownPt.x) <= cx &&
                   std::abs(raw.pt.y - s.lastDownPt.y) <= cy;
        if (remove) {
            if (dbl) {
                s.lastDownMsg = 0;
            } else {
                s.lastDownMsg = m;
                s.lastDownHwnd = hwnd;
                s.lastDownTime = raw.time;
                s.lastDownPt = raw.pt;
            }
        }
        if (dbl)
            m += WM_LBUTTONDBLCLK - WM_LBUTTONDOWN;
    }
    msg.hwnd = hwnd;
    if (client || m == WM_MOUSEWHEEL) {
        msg.message = m;
        POINT p = raw.pt;
        if (m != WM_MOUSEWHEEL)
            ScreenToClient(hwnd, &p);
        Guard g(Mutex());
        msg.wParam = MouseKeyState() | (m == WM_MOUSEWHEEL ? (raw.wParam & 0xFFFF0000u) : 0);
        if (IsButtonDown(raw.msg) || m == WM_LBUTTONDBLCLK || m == WM_RBUTTONDBLCLK || m == WM_MBUTTONDBLCLK) {
            // The button being pressed shows in the key state of its own message.
            UINT base = raw.msg;
            msg.wParam |= base == WM_LBUTTONDOWN ? MK_LBUTTON : base == WM_RBUTTONDOWN ? MK_RBUTTON : MK_MBUTTON;
        } else if (raw.msg == WM_LBUTTONUP) {
            msg.wParam &= ~static_cast<WPARAM>(MK_LBUTTON);
        } else if (raw.msg == WM_RBUTTONUP) {
            msg.wParam &= ~static_cast<WPARAM>(MK_RBUTTON);
        } else if (raw.msg == WM_MBUTTONUP) {
            msg.wParam &= ~static_cast<WPARAM>(MK_MBUTTON);
        }
        msg.lParam = MAKELPARAM(p.x, p.y);
    } else {
        msg.message = m - WM_MOUSEMOVE + WM_NCMOUSEMOVE;
        msg.wParam = static_cast<WPARAM>(hit);
        msg.lParam = MAKELPARAM(raw.pt.x, raw.pt.y);
    }
    return true;
}

// ---- Keyboard layout (US) ----------------------------------------------------------------------

namespace {

struct KeyChar {
    UINT vk;
    char plain;
    char shifted;
};

const KeyChar kKeys[] = {
    {'0', '0', ')'}, {'1', '1', '!'}, {'2', '2', '@'}, {'3', '3', '#'}, {'4', '4', '$'},
    {'5', '5', '%'}, {'6', '6', '^'}, {'7', '7', '&'}, {'8', '8', '*'}, {'9', '9', '('},
    {VK_SPACE, ' ', ' '}, {VK_OEM_1, ';', ':'}, {VK_OEM_PLUS, '=', '+'}, {VK_OEM_COMMA, ',', '<'},
    {VK_OEM_MINUS, '-', '_'}, {VK_OEM_PERIOD, '.', '>'}, {VK_OEM_2, '/', '?'}, {VK_OEM_3, '`', '~'},
    {VK_OEM_4, '[', '{'}, {VK_OEM_5, '\\', '|'}, {VK_OEM_6, ']', '}'}, {VK_OEM_7, '\'', '"'},
    {VK_RETURN, '\r', '\r'}, {VK_BACK, '\b', '\b'}, {VK_TAB, '\t', '\t'}, {VK_ESCAPE, 27, 27},
    {VK_MULTIPLY, '*', '*'}, {VK_ADD, '+', '+'}, {VK_SUBTRACT, '-', '-'}, {VK_DECIMAL, '.', '.'},
    {VK_DIVIDE, '/', '/'},
};

// Scan codes (set 1) of the keys.
UINT ScanCode(UINT vk)
{
    static const char row1[] = "QWERTYUIOP";
    static const char row2[] = "ASDFGHJKL";
    static const char row3[] = "ZXCVBNM";
    if (vk >= 'A' && vk <= 'Z') {
        if (const char* p = std::strchr(row1, static_cast<int>(vk)))
            return 0x10 + static_cast<UINT>(p - row1);
        if (const char* p = std::strchr(row2, static_cast<int>(vk)))
            return 0x1E + static_cast<UINT>(p - row2);
        if (const char* p = std::strchr(row3, static_cast<int>(vk)))
            return 0x2C + static_cast<UINT>(p - row3);
    }
    if (vk >= '1' && vk <= '9')
        return 0x02 + (vk - '1');
    if (vk >= VK_F1 && vk <= VK_F10)
        return 0x3B + (vk - VK_F1);
    switch (vk) {
    case '0': return 0x0B;
    case VK_ESCAPE: return 0x01;
    case VK_OEM_MINUS: return 0x0C;
    case VK_OEM_PLUS: return 0x0D;
    case VK_BACK: return 0x0E;
    case VK_TAB: return 0x0F;
    case VK_OEM_4: return 0x1A;
    case VK_OEM_6: return 0x1B;
    case VK_RETURN: return 0x1C;
    case VK_CONTROL: case VK_LCONTROL: case VK_RCONTROL: return 0x1D;
    case VK_OEM_1: return 0x27;
    case VK_OEM_7: return 0x28;
    case VK_OEM_3: return 0x29;
    case VK_SHIFT: case VK_LSHIFT: return 0x2A;
    case VK_OEM_5: return 0x2B;
    case VK_OEM_COMMA: return 0x33;
    case VK_OEM_PERIOD: return 0x34;
    case VK_OEM_2: return 0x35;
    case VK_RSHIFT: return 0x36;
    case VK_MULTIPLY: return 0x37;
    case VK_MENU: case VK_LMENU: case VK_RMENU: return 0x38;
    case VK_SPACE: return 0x39;
    case VK_CAPITAL: return 0x3A;
    case VK_F11: return 0x57;
    case VK_F12: return 0x58;
    case VK_HOME: return 0x47;
    case VK_UP: return 0x48;
    case VK_PRIOR: return 0x49;
    case VK_SUBTRACT: return 0x4A;
    case VK_LEFT: return 0x4B;
    case VK_RIGHT: return 0x4D;
    case VK_ADD: return 0x4E;
    case VK_END: return 0x4F;
    case VK_DOWN: return 0x50;
    case VK_NEXT: return 0x51;
    case VK_INSERT: return 0x52;
    case VK_DELETE: return 0x53;
    default: return 0;
    }
}

bool Extended(UINT vk)
{
    switch (vk) {
    case VK_INSERT: case VK_DELETE: case VK_HOME: case VK_END: case VK_PRIOR: case VK_NEXT:
    case VK_LEFT: case VK_RIGHT: case VK_UP: case VK_DOWN: case VK_RCONTROL: case VK_RMENU: case VK_DIVIDE:
        return true;
    default:
        return false;
    }
}

}  // namespace

int CharForKey(UINT vk)
{
    Guard g(Mutex());
    const BYTE* k = S().syncKeys;
    bool shift = (k[VK_SHIFT] & 0x80) != 0;
    bool ctrl = (k[VK_CONTROL] & 0x80) != 0;
    bool alt = (k[VK_MENU] & 0x80) != 0;
    bool caps = (k[VK_CAPITAL] & 0x01) != 0;
    if (vk >= 'A' && vk <= 'Z') {
        if (ctrl && !alt)
            return static_cast<int>(vk - 'A' + 1);
        return (shift != caps) ? static_cast<int>(vk) : static_cast<int>(vk - 'A' + 'a');
    }
    if (vk >= VK_NUMPAD0 && vk <= VK_NUMPAD9)
        return static_cast<int>('0' + (vk - VK_NUMPAD0));
    if (ctrl && !alt) {
        if (vk == VK_RETURN)
            return '\n';
        if (vk == VK_BACK)
            return 0x7F;
        if (vk == VK_OEM_4)
            return 0x1B;
        if (vk == VK_OEM_5)
            return 0x1C;
        if (vk == VK_OEM_6)
            return 0x1D;
        if (vk == VK_ESCAPE || vk == VK_SPACE)
            return vk == VK_ESCAPE ? 27 : ' ';
        return 0;
    }
    for (const KeyChar& kc : kKeys)
        if (kc.vk == vk)
            return static_cast<unsigned char>(shift ? kc.shifted : kc.plain);
    return 0;
}

}  // namespace user

using namespace user;

namespace {

// Focus, activation and capture are answered per thread: the window when it belongs to the
// calling thread, else none.
HWND OfCallingThread(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    return (w && w->threadId == GetCurrentThreadId()) ? hwnd : nullptr;
}

}  // namespace

// ---- Focus, activation, capture, enabling -------------------------------------------------------

HWND WINAPI SetFocus(HWND hwnd)
{
    HWND old = S().focus;
    if (!hwnd) {
        if (old) {
            S().focus = nullptr;
            if (IsWindow(old))
                Send(old, WM_KILLFOCUS, 0, 0);
        }
        return old;
    }
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return nullptr;
    if (w->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    for (HWND p = hwnd; p; p = GetParent(p)) {
        WindowPtr pw = Find(p);
        if (!pw || !(pw->style & WS_CHILD))
            break;
        if (pw->style & WS_MINIMIZE)
            return nullptr;
    }
    if (old == hwnd)
        return old;
    HWND top = RootOf(hwnd);
    if (S().active != top) {
        ChangeActive(top, WA_ACTIVE);
        if (!IsWindow(hwnd))
            return nullptr;
        old = S().focus;
        if (old == hwnd)
            return old;
    }
    if (old && IsWindow(old))
        Send(old, WM_KILLFOCUS, reinterpret_cast<WPARAM>(hwnd), 0);
    if (!IsWindow(hwnd))
        return old;
    S().focus = hwnd;
    Send(hwnd, WM_SETFOCUS, reinterpret_cast<WPARAM>(old), 0);
    return old;
}

HWND WINAPI GetFocus()
{
    Guard g(Mutex());
    return OfCallingThread(S().focus);
}

HWND WINAPI SetActiveWindow(HWND hwnd)
{
    if (hwnd) {
        WindowPtr w = Lookup(hwnd);
        if (!w)
            return nullptr;
        if (w->style & WS_CHILD)
            hwnd = RootOf(hwnd);
        if (w->threadId != GetCurrentThreadId()) {
            SetLastError(ERROR_ACCESS_DENIED);
            return nullptr;
        }
    }
    HWND old = ChangeActive(hwnd, WA_ACTIVE);
    return OfCallingThread(old);
}

HWND WINAPI GetActiveWindow()
{
    Guard g(Mutex());
    return OfCallingThread(S().active);
}

BOOL WINAPI SetForegroundWindow(HWND hwnd)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return remote::Request(hwnd, remote::Op::Foreground, 0, 0, 0, 0, INFINITE, nullptr);
    ChangeActive(RootOf(hwnd), WA_ACTIVE);
    remote::Activated();  // in front of other processes' windows, even when it was active here
    return TRUE;
}

HWND WINAPI GetForegroundWindow()
{
    Guard g(Mutex());
    return S().active;
}

HWND WINAPI SetCapture(HWND hwnd)
{
    HWND old = S().capture;
    if (hwnd && !Lookup(hwnd))
        return nullptr;
    S().capture = hwnd;
    if (old && old != hwnd && IsWindow(old))
        Send(old, WM_CAPTURECHANGED, 0, reinterpret_cast<LPARAM>(hwnd));
    return OfCallingThread(old);
}

BOOL WINAPI ReleaseCapture()
{
    HWND old = S().capture;
    if (!old)
        return TRUE;
    S().capture = nullptr;
    if (IsWindow(old))
        Send(old, WM_CAPTURECHANGED, 0, 0);
    return TRUE;
}

HWND WINAPI GetCapture()
{
    Guard g(Mutex());
    return OfCallingThread(S().capture);
}

BOOL WINAPI EnableWindow(HWND hwnd, BOOL enable)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return FALSE;
    bool wasDisabled = (w->style & WS_DISABLED) != 0;
    if (enable && wasDisabled) {
        {
            Guard g(Mutex());
            w->style &= ~WS_DISABLED;
        }
        Send(hwnd, WM_ENABLE, TRUE, 0);
    } else if (!enable && !wasDisabled) {
        Send(hwnd, WM_CANCELMODE, 0, 0);
        if (!IsWindow(hwnd))
            return FALSE;
        {
            Guard g(Mutex());
            w->style |= WS_DISABLED;
        }
        if (InTree(hwnd, S().focus))
            SetFocus(nullptr);
        if (IsWindow(hwnd))
            Send(hwnd, WM_ENABLE, FALSE, 0);
    }
    // The window's own scroll bars are drawn in its enabled state: drawn anew when it changes.
    if (bool(enable) == wasDisabled && IsWindow(hwnd) && IsWindowVisible(hwnd) &&
        (GetWindowLongA(hwnd, GWL_STYLE) & (WS_VSCROLL | WS_HSCROLL)))
        DrawNonClient(hwnd);
    return wasDisabled;
}

// ---- Keyboard state --------------------------------------------------------------------------------

SHORT WINAPI GetKeyState(int vk)
{
    if (vk < 0 || vk > 255)
        return 0;
    Guard g(Mutex());
    BYTE b = S().syncKeys[vk];
    return static_cast<SHORT>(((b & 0x80) ? 0xFF80 : 0) | (b & 0x01));
}

SHORT WINAPI GetAsyncKeyState(int vk)
{
    if (vk < 0 || vk > 255)
        return 0;
    Guard g(Mutex());
    InputState& s = S();
    SHORT r = static_cast<SHORT>(((s.asyncKeys[vk] & 0x80) ? 0x8000 : 0) | (s.asyncPressed[vk] ? 1 : 0));
    s.asyncPressed[vk] = 0;
    return r;
}

BOOL WINAPI GetKeyboardState(PBYTE keys)
{
    if (!keys)
        return FALSE;
    Guard g(Mutex());
    std::memcpy(keys, S().syncKeys, 256);
    return TRUE;
}

SHORT WINAPI VkKeyScanA(CHAR ch)
{
    unsigned char c = static_cast<unsigned char>(ch);
    if (c >= 'a' && c <= 'z')
        return static_cast<SHORT>(c - 'a' + 'A');
    if (c >= 'A' && c <= 'Z')
        return static_cast<SHORT>(0x100 | c);
    if (c >= 1 && c <= 26 && c != '\b' && c != '\t' && c != '\r' && c != '\n')
        return static_cast<SHORT>(0x200 | (c - 1 + 'A'));
    if (c == '\n')
        return static_cast<SHORT>(0x200 | VK_RETURN);
    for (const KeyChar& kc : kKeys) {
        if (static_cast<unsigned char>(kc.plain) == c)
            return static_cast<SHORT>(kc.vk);
        if (static_cast<unsigned char>(kc.shifted) == c)
            return static_cast<SHORT>(0x100 | kc.vk);
    }
    return -1;
}

UINT WINAPI MapVirtualKeyA(UINT code, UINT type)
{
    switch (type) {
    case MAPVK_VK_TO_VSC:
        return ScanCode(code);
    case MAPVK_VSC_TO_VK:
    case MAPVK_VSC_TO_VK_EX:
        for (UINT vk = 1; vk < 256; ++vk) {
            if (vk == VK_SHIFT || vk == VK_CONTROL || vk == VK_MENU) {
                if (ScanCode(vk) == code)
                    return type == MAPVK_VSC_TO_VK_EX ? (vk == VK_SHIFT ? VK_LSHIFT : vk == VK_CONTROL ? VK_LCONTROL : VK_LMENU) : vk;
                continue;
            }
            if (vk >= VK_LSHIFT && vk <= VK_RMENU)
                continue;
            if (ScanCode(vk) == code && !Extended(vk))
                return vk;
        }
        return 0;
    case MAPVK_VK_TO_CHAR:
        if (code >= 'A' && code <= 'Z')
            return code;
        for (const KeyChar& kc : kKeys)
            if (kc.vk == code)
                return static_cast<unsigned char>(kc.plain);
        return 0;
    default:
        return 0;
    }
}

UINT WINAPI GetDoubleClickTime()
{
    return S().doubleClickTime;
}

BOOL WINAPI SetDoubleClickTime(UINT ms)
{
    S().doubleClickTime = ms ? ms : 500;
    return TRUE;
}

BOOL WINAPI SwapMouseButton(BOOL swap)
{
    bool old = S().swapped;
    S().swapped = swap != FALSE;
    return old;
}

// ---- Cursor -------------------------------------------------------------------------------------------

namespace {

const int kCursorIds[] = {32512, 32513, 32514, 32515, 32516, 32640, 32641, 32642, 32643,
                          32644, 32645, 32646, 32648, 32649, 32650, 32651};
constexpr std::uintptr_t kCursorBase = 0x7F0000;

}  // namespace

HCURSOR WINAPI LoadCursorA(HINSTANCE instance, LPCSTR name)
{
    if (!instance && IS_INTRESOURCE(name)) {
        int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        for (int c : kCursorIds)
            if (c == id)
                return reinterpret_cast<HCURSOR>(kCursorBase + static_cast<std::uintptr_t>(id));
    }
    // Cursors from a module's resources come with the resource loader.
    if (instance)
        return host::LoadIconResource(instance, name, FALSE);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HICON WINAPI LoadIconA(HINSTANCE instance, LPCSTR name)
{
    if (!instance && IS_INTRESOURCE(name)) {
        int id = static_cast<int>(reinterpret_cast<ULONG_PTR>(name));
        if (HICON icon = user::SystemIcon(id))
            return icon;
    }
    if (instance)
        return host::LoadIconResource(instance, name, TRUE);
    SetLastError(ERROR_RESOURCE_NAME_NOT_FOUND);
    return nullptr;
}

HCURSOR WINAPI SetCursor(HCURSOR cursor)
{
    Guard g(Mutex());
    HCURSOR old = S().cursorShape;
    S().cursorShape = cursor;
    return old;
}

HCURSOR WINAPI GetCursor()
{
    Guard g(Mutex());
    return S().cursorShape;
}

BOOL WINAPI GetCursorPos(LPPOINT p)
{
    if (!p)
        return FALSE;
    *p = CursorPosition();
    return TRUE;
}

BOOL WINAPI SetCursorPos(int x, int y)
{
    host::MouseMove(x, y);
    return TRUE;
}

int WINAPI ShowCursor(BOOL show)
{
    Guard g(Mutex());
    return show ? ++S().showCount : --S().showCount;
}

BOOL WINAPI ClipCursor(const RECT* rect)
{
    Guard g(Mutex());
    if (rect) {
        S().clipped = true;
        S().clip = *rect;
        POINT& c = S().cursor;
        c.x = std::clamp(c.x, rect->left, std::max(rect->left, rect->right - 1));
        c.y = std::clamp(c.y, rect->top, std::max(rect->top, rect->bottom - 1));
    } else {
        S().clipped = false;
    }
    return TRUE;
}

BOOL WINAPI GetClipCursor(LPRECT rect)
{
    if (!rect)
        return FALSE;
    Guard g(Mutex());
    if (S().clipped) {
        *rect = S().clip;
    } else {
        SIZE s = DesktopSize();
        *rect = MakeRect(0, 0, s.cx, s.cy);
    }
    return TRUE;
}

// ---- Injection --------------------------------------------------------------------------------------

namespace {

// The window that receives mouse input at a point, without sending messages.
HWND MouseTarget(POINT p)
{
    Guard g(Mutex());
    if (S().capture && Find(S().capture))
        return S().capture;
    Window* parent = &Desktop();
    HWND found = nullptr;
    for (;;) {
        Window* hit = nullptr;
        for (Window* c : parent->children) {
            if (!(c->style & WS_VISIBLE) || !PointIn(c->window, p))
                continue;
            if (c->style & WS_DISABLED) {
                if (c->style & WS_CHILD)
                    continue;
                return nullptr;
            }
            hit = c;
            break;
        }
        if (!hit)
            return found;
        found = hit->hwnd;
        if (!PointIn(hit->client, p))
            return found;
        parent = hit;
    }
}

void QueueMouse(UINT msg, WPARAM wParam = 0)
{
    RawInput in;
    in.msg = msg;
    in.pt = CursorPosition();
    in.wParam = wParam;
    in.time = MessageTime();
    in.hwnd = MouseTarget(in.pt);
    if (in.hwnd)
        PostInput(in);
}

UINT ButtonMessage(host::MouseButton b, bool down)
{
    switch (b) {
    case host::MouseButton::Right: return down ? WM_RBUTTONDOWN : WM_RBUTTONUP;
    case host::MouseButton::Middle: return down ? WM_MBUTTONDOWN : WM_MBUTTONUP;
    default: return down ? WM_LBUTTONDOWN : WM_LBUTTONUP;
    }
}

int ButtonKey(host::MouseButton b)
{
    return b == host::MouseButton::Right ? VK_RBUTTON : b == host::MouseButton::Middle ? VK_MBUTTON : VK_LBUTTON;
}

void QueueKey(UINT vk, bool down)
{
    RawInput in;
    LPARAM lParam;
    {
        Guard g(Mutex());
        InputState& s = S();
        bool wasDown = (s.asyncKeys[vk & 0xFF] & 0x80) != 0;
        if (down) {
            s.asyncKeys[vk & 0xFF] |= 0x80;
            s.asyncPressed[vk & 0xFF] = 1;
        } else {
            s.asyncKeys[vk & 0xFF] &= static_cast<BYTE>(~0x80);
        }
        bool alt = (s.asyncKeys[VK_MENU] & 0x80) != 0;
        DWORD flags = 1u | (ScanCode(vk) << 16);
        if (Extended(vk))
            flags |= 1u << 24;
        if (alt)
            flags |= 1u << 29;
        if (wasDown || !down)
            flags |= 1u << 30;
        if (!down)
            flags |= 1u << 31;
        lParam = static_cast<LPARAM>(flags);
        bool sys = (alt && !(s.asyncKeys[VK_CONTROL] & 0x80)) || vk == VK_F10 || vk == VK_MENU;
        in.msg = down ? (sys ? WM_SYSKEYDOWN : WM_KEYDOWN) : (sys || (vk == VK_MENU) ? WM_SYSKEYUP : WM_KEYUP);
        in.hwnd = s.focus && Find(s.focus) ? s.focus : (s.active && Find(s.active) ? s.active : nullptr);
    }
    in.wParam = vk;
    in.lParam = lParam;
    in.time = MessageTime();
    in.pt = CursorPosition();
    if (in.hwnd)
        PostInput(in);
}

}  // namespace

void WINAPI mouse_event(DWORD flags, DWORD dx, DWORD dy, DWORD data, ULONG_PTR)
{
    if (flags & MOUSEEVENTF_MOVE) {
        POINT p = CursorPosition();
        if (flags & MOUSEEVENTF_ABSOLUTE) {
            // Absolute positions are normalised to 0..65535 over the screen.
            SIZE s = DesktopSize();
            p.x = static_cast<LONG>((static_cast<std::int64_t>(dx) * s.cx) / 65536);
            p.y = static_cast<LONG>((static_cast<std::int64_t>(dy) * s.cy) / 65536);
        } else {
            p.x += static_cast<LONG>(static_cast<std::int32_t>(dx));
            p.y += static_cast<LONG>(static_cast<std::int32_t>(dy));
        }
        host::MouseMove(p.x, p.y);
    }
    if (flags & MOUSEEVENTF_LEFTDOWN)
        host::MouseDown(host::MouseButton::Left);
    if (flags & MOUSEEVENTF_LEFTUP)
        host::MouseUp(host::MouseButton::Left);
    if (flags & MOUSEEVENTF_RIGHTDOWN)
        host::MouseDown(host::MouseButton::Right);
    if (flags & MOUSEEVENTF_RIGHTUP)
        host::MouseUp(host::MouseButton::Right);
    if (flags & MOUSEEVENTF_MIDDLEDOWN)
        host::MouseDown(host::MouseButton::Middle);
    if (flags & MOUSEEVENTF_MIDDLEUP)
        host::MouseUp(host::MouseButton::Middle);
    if (flags & MOUSEEVENTF_WHEEL)
        host::MouseWheel(static_cast<int>(static_cast<std::int32_t>(data)));
}

void WINAPI keybd_event(BYTE vk, BYTE, DWORD flags, ULONG_PTR)
{
    if (flags & KEYEVENTF_KEYUP)
        host::KeyUp(vk);
    else
        host::KeyDown(vk);
}

namespace host {

void MouseMove(int x, int y)
{
    {
        Guard g(Mutex());
        InputState& s = S();
        SIZE d = DesktopSize();
        RECT clip = s.clipped ? s.clip : MakeRect(0, 0, d.cx, d.cy);
        s.cursor.x = std::clamp<LONG>(x, clip.left, std::max(clip.left, clip.right - 1));
        s.cursor.y = std::clamp<LONG>(y, clip.top, std::max(clip.top, clip.bottom - 1));
    }
    QueueMouse(WM_MOUSEMOVE);
}

void MouseDown(MouseButton b)
{
    {
        Guard g(Mutex());
        S().asyncKeys[ButtonKey(b)] |= 0x80;
        S().asyncPressed[ButtonKey(b)] = 1;
    }
    QueueMouse(ButtonMessage(b, true));
}

void MouseUp(MouseButton b)
{
    {
        Guard g(Mutex());
        S().asyncKeys[ButtonKey(b)] &= static_cast<BYTE>(~0x80);
    }
    QueueMouse(ButtonMessage(b, false));
}

void Click(int x, int y, MouseButton b)
{
    MouseMove(x, y);
    MouseDown(b);
    MouseUp(b);
}

void MouseWheel(int delta)
{
    QueueMouse(WM_MOUSEWHEEL, static_cast<WPARAM>(static_cast<DWORD>(MAKELONG(0, static_cast<SHORT>(delta)))));
}

void KeyDown(UINT vk)
{
    QueueKey(vk, true);
}

void KeyUp(UINT vk)
{
    QueueKey(vk, false);
}

void PressKey(UINT vk)
{
    QueueKey(vk, true);
    QueueKey(vk, false);
}

void TypeText(const char* text)
{
    for (const char* p = text; p && *p; ++p) {
        SHORT scan = VkKeyScanA(*p);
        if (scan == -1)
            continue;
        UINT vk = static_cast<UINT>(scan & 0xFF);
        bool shift = (scan & 0x100) != 0, ctrl = (scan & 0x200) != 0;
        if (shift)
            QueueKey(VK_SHIFT, true);
        if (ctrl)
            QueueKey(VK_CONTROL, true);
        PressKey(vk);
        if (ctrl)
            QueueKey(VK_CONTROL, false);
        if (shift)
            QueueKey(VK_SHIFT, false);
    }
}

HCURSOR CurrentCursor()
{
    return GetCursor();
}

int SystemCursorId(HCURSOR cursor)
{
    auto v = reinterpret_cast<std::uintptr_t>(cursor);
    if (v > kCursorBase && v < kCursorBase + 0x10000)
        return static_cast<int>(v - kCursorBase);
    return 0;
}

int CursorShowCount()
{
    Guard g(Mutex());
    return S().showCount;
}

}  // namespace host
