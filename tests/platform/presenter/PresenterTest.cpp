// The interactive presenter: the translation of host input, and the window itself on SDL's
// offscreen video driver (no display needed): frames follow the desktop, host events become
// the platform's input, a resized window shows the whole desktop scaled.
#include <windows.h>

#include <host/Desktop.h>
#include <host/Display.h>
#include <host/Presenter.h>
#include <host/UiScript.h>

#include <gtest/gtest.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>
#include <utility>
#include <vector>

namespace {

TEST(PresenterInputTest, SdlKeysBecomeVirtualKeys)
{
    struct Case {
        SDL_Keycode sdl;
        UINT vk;
    } cases[] = {
        {SDLK_a, 'A'},           {SDLK_z, 'Z'},           {SDLK_0, '0'},           {SDLK_9, '9'},
        {SDLK_F1, VK_F1},        {SDLK_F12, VK_F12},      {SDLK_RETURN, VK_RETURN}, {SDLK_KP_ENTER, VK_RETURN},
        {SDLK_ESCAPE, VK_ESCAPE}, {SDLK_BACKSPACE, VK_BACK}, {SDLK_TAB, VK_TAB},     {SDLK_SPACE, VK_SPACE},
        {SDLK_LSHIFT, VK_SHIFT}, {SDLK_RSHIFT, VK_SHIFT}, {SDLK_LCTRL, VK_CONTROL}, {SDLK_RALT, VK_MENU},
        {SDLK_LEFT, VK_LEFT},    {SDLK_DOWN, VK_DOWN},    {SDLK_PAGEUP, VK_PRIOR}, {SDLK_PAGEDOWN, VK_NEXT},
        {SDLK_HOME, VK_HOME},    {SDLK_DELETE, VK_DELETE}, {SDLK_KP_0, VK_NUMPAD0}, {SDLK_KP_9, VK_NUMPAD9},
        {SDLK_KP_PERIOD, VK_DECIMAL}, {SDLK_COMMA, VK_OEM_COMMA}, {SDLK_SLASH, VK_OEM_2}, {SDLK_QUOTE, VK_OEM_7},
        {SDLK_F13, 0},           {SDLK_VOLUMEUP, 0},      {SDLK_UNKNOWN, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(host::VirtualKeyFromSdl(c.sdl), c.vk) << SDL_GetKeyName(c.sdl);

    EXPECT_EQ(host::MouseButtonFromSdl(SDL_BUTTON_LEFT), host::MouseButton::Left);
    EXPECT_EQ(host::MouseButtonFromSdl(SDL_BUTTON_RIGHT), host::MouseButton::Right);
    EXPECT_EQ(host::MouseButtonFromSdl(SDL_BUTTON_MIDDLE), host::MouseButton::Middle);
    EXPECT_FALSE(host::MouseButtonFromSdl(SDL_BUTTON_X1));
    struct Cursor {
        LPCSTR idc;
        SDL_SystemCursor sdl;
    } cursors[] = {{IDC_ARROW, SDL_SYSTEM_CURSOR_ARROW}, {IDC_IBEAM, SDL_SYSTEM_CURSOR_IBEAM},
                   {IDC_WAIT, SDL_SYSTEM_CURSOR_WAIT},   {IDC_HAND, SDL_SYSTEM_CURSOR_HAND},
                   {IDC_SIZEWE, SDL_SYSTEM_CURSOR_SIZEWE}, {IDC_APPSTARTING, SDL_SYSTEM_CURSOR_WAITARROW},
                   {IDC_HELP, SDL_SYSTEM_CURSOR_ARROW}};
    for (const Cursor& c : cursors)
        EXPECT_EQ(host::SdlSystemCursorFromId(int(reinterpret_cast<ULONG_PTR>(c.idc))), c.sdl);
    EXPECT_EQ(host::SdlSystemCursorFromId(0), SDL_SYSTEM_CURSOR_ARROW);
    EXPECT_EQ(host::WheelDeltaFromSdl(1), 120);
    EXPECT_EQ(host::WheelDeltaFromSdl(-2), -240);
}

bool Eventually(const std::function<bool()>& condition)
{
    for (int i = 0; i < 400; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

// No display at all (none named, no driver asked for): the presenter does not start on one of
// SDL's invisible fallback drivers, and what the program tells its user says so plainly.
TEST(PresenterStartTest, WithoutADisplayThePresenterRefusesToStartAndSaysWhy)
{
    std::vector<std::pair<std::string, std::string>> saved;
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "SDL_VIDEODRIVER"}) {
        if (const char* value = std::getenv(name))
            saved.emplace_back(name, value);
        unsetenv(name);
    }
    std::string error;
    EXPECT_FALSE(host::StartPresenter("no display", &error));
    EXPECT_FALSE(host::PresenterActive());
    EXPECT_FALSE(host::IsInteractive());
    const std::string text = host::PresenterStartFailure("vl00i1se", error);
    EXPECT_EQ(text.rfind("vl00i1se: no display is available", 0), 0u) << text;
    EXPECT_NE(text.find("xvfb-run"), std::string::npos) << text;
    EXPECT_NE(text.find("VL_PRESENTER=none"), std::string::npos) << text;
    for (const auto& [name, value] : saved)
        setenv(name.c_str(), value.c_str(), 1);
}

class PresenterWindowTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        host::SetDesktopSize(64, 48);
        if (host::GetDisplaySize().cx != 64)
            host::SetDisplaySize(64, 48);
        std::string error;
        if (!host::StartPresenter("presenter test", &error))
            GTEST_SKIP() << "SDL's offscreen video driver is not available: " << error;
    }
    void TearDown() override
    {
        host::StopPresenter();
        EXPECT_FALSE(host::IsInteractive()) << "headless again once the window is gone";
        host::SetPresenterCloseHandler(nullptr);
        host::SetDesktopSize(1024, 768);
        host::SetDisplaySize(1024, 768);
    }
    static void Push(SDL_Event e) { ASSERT_EQ(SDL_PushEvent(&e), 1) << SDL_GetError(); }
};

TEST_F(PresenterWindowTest, FramesFollowTheDesktop)
{
    EXPECT_TRUE(host::PresenterActive());
    EXPECT_TRUE(host::IsInteractive()) << "a reader answers the modal UI while the window shows";
    auto desktop = host::DesktopSurface();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            desktop->Set(x, y, desktop->ColorToValue(x < 32 ? RGB(255, 0, 0) : RGB(0, 0, 255)));
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    ASSERT_TRUE(Eventually([&] {
        return host::ReadPresenterFrame(pixels, w, h) && w == 64 && h == 48 && pixels[10 * 64 + 5] == 0xFF0000;
    }));
    EXPECT_EQ(pixels[40 * 64 + 60], 0x0000FFu);

    const std::uint64_t raises = host::PresenterRaiseCount();
    host::RaisePresenterWindow();
    EXPECT_TRUE(Eventually([&] { return host::PresenterRaiseCount() == raises + 1; })) << "raised by its thread";

    std::uint64_t before = host::PresenterFrameCount();
    desktop->Set(60, 40, desktop->ColorToValue(RGB(0, 255, 0)));
    ASSERT_TRUE(Eventually([&] { return host::PresenterFrameCount() > before; }));
    ASSERT_TRUE(host::ReadPresenterFrame(pixels, w, h));
    EXPECT_EQ(pixels[40 * 64 + 60], 0x00FF00u);
    EXPECT_EQ(pixels[40 * 64 + 59], 0x0000FFu);
    // Nothing changed: no new frame.
    before = host::PresenterFrameCount();
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    EXPECT_EQ(host::PresenterFrameCount(), before);
}

TEST_F(PresenterWindowTest, PaletteModeAndSizeChangesOfTheProgramShow)
{
    host::SetDisplayMode(host::DisplayMode::Palette256);
    host::SetDesktopSize(40, 30);  // the window system sizes the display and paints the desktop
    auto desktop = host::DesktopSurface();
    ASSERT_EQ(desktop->BitsPerPixel(), 8);
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    desktop->Fill(desktop->ColorToValue(RGB(0, 255, 0))); // a static colour of the system palette
    EXPECT_TRUE(Eventually([&] {
        return host::ReadPresenterFrame(pixels, w, h) && w == 40 && h == 30 && pixels[29 * 40 + 39] == 0x00FF00;
    })) << w << "x" << h;
    host::SetDisplayMode(host::DisplayMode::TrueColor);
}

TEST_F(PresenterWindowTest, HostEventsBecomeInputAndTheResizedWindowShowsTheWholeDesktop)
{
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.x = 12;
    e.motion.y = 34;
    Push(e);
    EXPECT_TRUE(Eventually([] {
        POINT p{};
        return GetCursorPos(&p) && p.x == 12 && p.y == 34;
    }));

    // The window made twice as large: the desktop keeps its size and shows whole, scaled, with
    // its right and bottom edges in the window (never cut off).
    auto desktop = host::DesktopSurface();
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x)
            desktop->Set(x, y, desktop->ColorToValue(x >= 60 || y >= 44 ? RGB(0, 255, 0) : RGB(255, 0, 0)));
    host::ResizePresenterWindow(128, 96);
    std::vector<std::uint32_t> pixels;
    int w = 0, h = 0;
    EXPECT_TRUE(Eventually([&] {
        return host::ReadPresenterFrame(pixels, w, h) && w == 128 && h == 96 && pixels[95 * 128 + 127] == 0x00FF00 &&
               pixels[10 * 128 + 10] == 0xFF0000;
    })) << w << "x" << h;
    EXPECT_EQ(64, host::GetDesktopSize().cx);
    EXPECT_EQ(48, host::GetDesktopSize().cy);
    EXPECT_EQ(64, host::GetDisplaySize().cx);
    // Smaller than the desktop: still all of it.
    host::ResizePresenterWindow(32, 24);
    EXPECT_TRUE(Eventually([&] {
        return host::ReadPresenterFrame(pixels, w, h) && w == 32 && h == 24 && pixels[23 * 32 + 31] == 0x00FF00;
    })) << w << "x" << h;
    EXPECT_EQ(64, host::GetDesktopSize().cx);

    std::atomic<int> closed{0};
    host::SetPresenterCloseHandler([&] { ++closed; });
    e = SDL_Event{};
    e.type = SDL_QUIT;
    Push(e);
    EXPECT_TRUE(Eventually([&] { return closed == 1; }));
}

} // namespace
