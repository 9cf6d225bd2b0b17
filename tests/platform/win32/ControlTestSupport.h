// Fixture for the standard control tests: a visible parent window whose messages the spy
// records, controls created in it, their screen positions, and the notifications the parent got.
#pragma once

#include <windows.h>

#include <host/Display.h>

#include <MessageSpy.h>
#include <TempDir.h>
#include <UiTest.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace ctl {

struct Command {
    int id;
    int code;
    bool operator==(const Command&) const = default;
};

struct Scroll {
    UINT message;
    int code;
    int pos;
    HWND ctl;
    bool operator==(const Scroll&) const = default;
};

inline std::ostream& operator<<(std::ostream& os, const Command& c) { return os << "{id " << c.id << ", code " << c.code << "}"; }
inline std::ostream& operator<<(std::ostream& os, const Scroll& s)
{
    return os << "{" << (s.message == WM_VSCROLL ? "V" : "H") << " code " << s.code << ", pos " << s.pos << "}";
}

class ControlTest : public ui::UiTest {
protected:
    spy::MessageSpy spy;
    HWND parent = nullptr;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        parent = CreateWindowExA(0, spy::MessageSpy::ClassName(), "Controls", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                 420, 320, nullptr, nullptr, nullptr, nullptr);
        ASSERT_NE(parent, nullptr);
        ui::PumpUntilIdle();
    }

    HWND Make(const char* cls, const char* text, DWORD style, int id, int x, int y, int cx, int cy, DWORD exStyle = 0)
    {
        HWND h = CreateWindowExA(exStyle, cls, text, WS_CHILD | WS_VISIBLE | style, x, y, cx, cy, parent,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), nullptr, nullptr);
        EXPECT_NE(h, nullptr) << cls;
        return h;
    }

    // A point of a control in screen coordinates (client coordinates of the control).
    static POINT At(HWND h, int x, int y)
    {
        POINT p{x, y};
        ClientToScreen(h, &p);
        return p;
    }
    static POINT Centre(HWND h)
    {
        RECT r;
        GetClientRect(h, &r);
        return At(h, r.right / 2, r.bottom / 2);
    }
    static void ClickAt(POINT p)
    {
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    // The WM_COMMAND notifications the parent received, in order.
    std::vector<Command> Commands()
    {
        std::vector<Command> out;
        for (const spy::Recorded& r : spy.Messages(parent))
            if (r.message == WM_COMMAND)
                out.push_back({LOWORD(r.wParam), HIWORD(r.wParam)});
        return out;
    }
    std::vector<Scroll> Scrolls(HWND to)
    {
        std::vector<Scroll> out;
        for (const spy::Recorded& r : spy.Messages(to))
            if (r.message == WM_VSCROLL || r.message == WM_HSCROLL)
                out.push_back({r.message, LOWORD(r.wParam), static_cast<short>(HIWORD(r.wParam)), reinterpret_cast<HWND>(r.lParam)});
        return out;
    }

    // Saves the desktop as PNG and checks it is one; with VL_SCREENSHOT_DIR set the picture is
    // also kept there under `name` for a look.
    static void Screenshot(const std::string& name)
    {
        TempDir tmp;
        std::string png = (tmp.path() / name).string();
        ASSERT_TRUE(host::SaveDesktopPng(png));
        EXPECT_EQ(tmp.Read(name).substr(1, 3), "PNG");
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }
};

}  // namespace ctl
