// Message spy for window tests: records the messages windows receive (sent or posted, with
// wParam/lParam) and compares them with a table of expected messages, in the style of the
// platform's conformance tests.
//
//   MessageSpy spy;                                  // the current spy of this test
//   HWND w = CreateWindowExA(0, MessageSpy::ClassName(), ...);   // records from the first message
//   spy.Watch(existing);                             // or subclass a window that exists
//   EXPECT_TRUE(spy.Matches({{WM_SHOWWINDOW, Sent | WParam, TRUE}, {WM_WINDOWPOSCHANGING, Sent}, ...}));
#pragma once

#include <windows.h>

#include <host/Desktop.h>

#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace spy {

enum Flag : unsigned {
    Sent = 1,       // must have been sent
    Posted = 2,     // must have come through DispatchMessage
    WParam = 4,     // wParam must match
    LParam = 8,     // lParam must match
    Optional = 16,  // may be missing
};

struct Expected {
    UINT message = 0;
    unsigned flags = 0;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
    HWND hwnd = nullptr;  // null: any window
};

struct Recorded {
    HWND hwnd = nullptr;
    UINT message = 0;
    bool posted = false;
    WPARAM wParam = 0;
    LPARAM lParam = 0;
};

inline std::string MessageName(UINT m)
{
    static const std::map<UINT, const char*> names = {
        {WM_CREATE, "WM_CREATE"}, {WM_DESTROY, "WM_DESTROY"}, {WM_MOVE, "WM_MOVE"}, {WM_SIZE, "WM_SIZE"},
        {WM_ACTIVATE, "WM_ACTIVATE"}, {WM_SETFOCUS, "WM_SETFOCUS"}, {WM_KILLFOCUS, "WM_KILLFOCUS"},
        {WM_ENABLE, "WM_ENABLE"}, {WM_SETTEXT, "WM_SETTEXT"}, {WM_GETTEXT, "WM_GETTEXT"}, {WM_PAINT, "WM_PAINT"},
        {WM_CLOSE, "WM_CLOSE"}, {WM_QUIT, "WM_QUIT"}, {WM_ERASEBKGND, "WM_ERASEBKGND"},
        {WM_SHOWWINDOW, "WM_SHOWWINDOW"}, {WM_ACTIVATEAPP, "WM_ACTIVATEAPP"}, {WM_CANCELMODE, "WM_CANCELMODE"},
        {WM_SETCURSOR, "WM_SETCURSOR"}, {WM_MOUSEACTIVATE, "WM_MOUSEACTIVATE"}, {WM_GETMINMAXINFO, "WM_GETMINMAXINFO"},
        {WM_WINDOWPOSCHANGING, "WM_WINDOWPOSCHANGING"}, {WM_WINDOWPOSCHANGED, "WM_WINDOWPOSCHANGED"},
        {WM_NCCREATE, "WM_NCCREATE"}, {WM_NCDESTROY, "WM_NCDESTROY"}, {WM_NCCALCSIZE, "WM_NCCALCSIZE"},
        {WM_NCHITTEST, "WM_NCHITTEST"}, {WM_NCPAINT, "WM_NCPAINT"}, {WM_NCACTIVATE, "WM_NCACTIVATE"},
        {WM_NCMOUSEMOVE, "WM_NCMOUSEMOVE"}, {WM_NCLBUTTONDOWN, "WM_NCLBUTTONDOWN"}, {WM_NCLBUTTONUP, "WM_NCLBUTTONUP"},
        {WM_KEYDOWN, "WM_KEYDOWN"}, {WM_KEYUP, "WM_KEYUP"}, {WM_CHAR, "WM_CHAR"}, {WM_SYSKEYDOWN, "WM_SYSKEYDOWN"},
        {WM_SYSKEYUP, "WM_SYSKEYUP"}, {WM_SYSCHAR, "WM_SYSCHAR"}, {WM_COMMAND, "WM_COMMAND"},
        {WM_SYSCOMMAND, "WM_SYSCOMMAND"}, {WM_TIMER, "WM_TIMER"}, {WM_INITMENU, "WM_INITMENU"},
        {WM_INITMENUPOPUP, "WM_INITMENUPOPUP"}, {WM_MENUSELECT, "WM_MENUSELECT"}, {WM_ENTERIDLE, "WM_ENTERIDLE"},
        {WM_UNINITMENUPOPUP, "WM_UNINITMENUPOPUP"}, {WM_MOUSEMOVE, "WM_MOUSEMOVE"},
        {WM_LBUTTONDOWN, "WM_LBUTTONDOWN"}, {WM_LBUTTONUP, "WM_LBUTTONUP"}, {WM_LBUTTONDBLCLK, "WM_LBUTTONDBLCLK"},
        {WM_RBUTTONDOWN, "WM_RBUTTONDOWN"}, {WM_RBUTTONUP, "WM_RBUTTONUP"}, {WM_PARENTNOTIFY, "WM_PARENTNOTIFY"},
        {WM_ENTERMENULOOP, "WM_ENTERMENULOOP"}, {WM_EXITMENULOOP, "WM_EXITMENULOOP"},
        {WM_CAPTURECHANGED, "WM_CAPTURECHANGED"}, {WM_STYLECHANGING, "WM_STYLECHANGING"},
        {WM_STYLECHANGED, "WM_STYLECHANGED"}, {WM_CONTEXTMENU, "WM_CONTEXTMENU"}, {WM_GETTEXTLENGTH, "WM_GETTEXTLENGTH"},
        {WM_ENTERSIZEMOVE, "WM_ENTERSIZEMOVE"}, {WM_EXITSIZEMOVE, "WM_EXITSIZEMOVE"}, {WM_MOVING, "WM_MOVING"},
        {WM_SIZING, "WM_SIZING"},
    };
    auto it = names.find(m);
    if (it != names.end())
        return it->second;
    std::ostringstream s;
    s << "0x" << std::hex << m;
    return s.str();
}

class MessageSpy {
public:
    MessageSpy()
    {
        Current() = this;
        ignored_ = {WM_GETTEXT, WM_GETTEXTLENGTH, WM_NCHITTEST, WM_SETCURSOR, WM_ENTERIDLE};
    }
    ~MessageSpy()
    {
        for (auto& [hwnd, proc] : subclassed_)
            if (IsWindow(hwnd) && GetWindowLongPtrA(hwnd, GWLP_WNDPROC) == reinterpret_cast<LONG_PTR>(&SubclassProc))
                SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
        if (Current() == this)
            Current() = nullptr;
    }
    MessageSpy(const MessageSpy&) = delete;
    MessageSpy& operator=(const MessageSpy&) = delete;

    // A window class whose windows record every message and then call the handler (if it
    // returns a value) or DefWindowProc.
    static const char* ClassName()
    {
        static const char* name = [] {
            WNDCLASSA wc{};
            wc.style = CS_DBLCLKS;
            wc.lpfnWndProc = &SpyProc;
            wc.lpszClassName = "SpyWindow";
            wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
            RegisterClassA(&wc);
            return "SpyWindow";
        }();
        return name;
    }

    // Custom behaviour of spied windows: return a value to answer the message yourself.
    std::function<std::optional<LRESULT>(HWND, UINT, WPARAM, LPARAM)> handler;

    void Watch(HWND hwnd)
    {
        auto old = reinterpret_cast<WNDPROC>(
            SetWindowLongPtrA(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&SubclassProc)));
        std::lock_guard<std::mutex> g(lock_);
        subclassed_[hwnd] = old;
    }

    void Ignore(UINT message) { ignored_.insert(message); }
    void Unignore(UINT message) { ignored_.erase(message); }

    void Clear()
    {
        std::lock_guard<std::mutex> g(lock_);
        log_.clear();
    }

    std::vector<Recorded> Log() const
    {
        std::lock_guard<std::mutex> g(lock_);
        return log_;
    }

    // The recorded messages (minus ignored ones) of one window, or of all with null.
    std::vector<Recorded> Messages(HWND hwnd = nullptr) const
    {
        std::vector<Recorded> out;
        for (const Recorded& r : Log())
            if ((!hwnd || r.hwnd == hwnd) && !ignored_.count(r.message))
                out.push_back(r);
        return out;
    }

    size_t Count(UINT message, HWND hwnd = nullptr) const
    {
        size_t n = 0;
        for (const Recorded& r : Log())
            n += r.message == message && (!hwnd || r.hwnd == hwnd);
        return n;
    }

    // Compares the recorded messages (of one window, or all) with the table and clears the log.
    testing::AssertionResult Matches(const std::vector<Expected>& expected, HWND only = nullptr)
    {
        std::vector<Recorded> got = Messages(only);
        Clear();
        size_t e = 0, g = 0;
        std::string problem;
        while (e < expected.size() && g < got.size()) {
            const Expected& x = expected[e];
            const Recorded& r = got[g];
            bool same = x.message == r.message && (!x.hwnd || x.hwnd == r.hwnd) &&
                        (!(x.flags & Sent) || !r.posted) && (!(x.flags & Posted) || r.posted) &&
                        (!(x.flags & WParam) || x.wParam == r.wParam) && (!(x.flags & LParam) || x.lParam == r.lParam);
            if (same) {
                ++e;
                ++g;
                continue;
            }
            if (x.flags & Optional) {
                ++e;
                continue;
            }
            problem = "at expected #" + std::to_string(e) + " (" + MessageName(x.message) + ") got " + Describe(r);
            break;
        }
        while (problem.empty() && e < expected.size()) {
            if (!(expected[e].flags & Optional)) {
                problem = "missing " + MessageName(expected[e].message) + " (expected #" + std::to_string(e) + ")";
                break;
            }
            ++e;
        }
        if (problem.empty() && g < got.size())
            problem = "unexpected " + Describe(got[g]);
        if (problem.empty())
            return testing::AssertionSuccess();
        std::ostringstream s;
        s << problem << "\n  expected:";
        for (const Expected& x : expected)
            s << " " << MessageName(x.message) << ((x.flags & Optional) ? "?" : "");
        s << "\n  received:";
        for (const Recorded& r : got)
            s << " " << Describe(r);
        return testing::AssertionFailure() << s.str();
    }

    void Record(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
    {
        std::lock_guard<std::mutex> g(lock_);
        log_.push_back(Recorded{hwnd, message, host::InPostedDispatch(), wParam, lParam});
    }

    static MessageSpy*& Current()
    {
        static MessageSpy* current = nullptr;
        return current;
    }

private:
    static std::string Describe(const Recorded& r)
    {
        std::ostringstream s;
        s << MessageName(r.message) << (r.posted ? "(posted" : "(sent") << " w=0x" << std::hex << r.wParam
          << " l=0x" << static_cast<unsigned long long>(r.lParam) << " hwnd=" << r.hwnd << ")";
        return s.str();
    }

    static LRESULT CALLBACK SpyProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        MessageSpy* s = Current();
        if (s) {
            s->Record(hwnd, msg, wParam, lParam);
            if (s->handler)
                if (auto r = s->handler(hwnd, msg, wParam, lParam))
                    return *r;
        }
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }

    static LRESULT CALLBACK SubclassProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
    {
        MessageSpy* s = Current();
        WNDPROC old = DefWindowProcA;
        if (s) {
            s->Record(hwnd, msg, wParam, lParam);
            std::lock_guard<std::mutex> g(s->lock_);
            auto it = s->subclassed_.find(hwnd);
            if (it != s->subclassed_.end())
                old = it->second;
        }
        return CallWindowProcA(old, hwnd, msg, wParam, lParam);
    }

    mutable std::mutex lock_;
    std::vector<Recorded> log_;
    std::set<UINT> ignored_;
    std::map<HWND, WNDPROC> subclassed_;
};

}  // namespace spy
