// The message box a real user sees: with the platform interactive and no script answer,
// MessageBox shows a modal dialog whose buttons, default, Escape handling, layout and picture
// are checked here by driving it with injected keys and clicks.
#include <windows.h>

#include <host/Display.h>
#include <TempDir.h>
#include <UiTest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <set>
#include <string>
#include <vector>

namespace {

class UserMessageBoxTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        host::SetInteractive(true);
    }
    void TearDown() override
    {
        host::SetInteractive(false);
        UiTest::TearDown();
    }

    // The buttons of a box window in left-to-right order.
    static std::vector<HWND> Buttons(HWND box)
    {
        std::vector<HWND> out;
        for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
            char cls[32] = {};
            GetClassNameA(c, cls, sizeof cls);
            if (lstrcmpiA(cls, "Button") == 0)
                out.push_back(c);
        }
        std::sort(out.begin(), out.end(), [](HWND a, HWND b) {
            RECT ra, rb;
            GetWindowRect(a, &ra);
            GetWindowRect(b, &rb);
            return ra.left < rb.left;
        });
        return out;
    }

    static void ClickCentre(HWND w)
    {
        RECT r;
        GetWindowRect(w, &r);
        host::Click((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
};

struct Case {
    UINT type;
    std::vector<int> ids;            // the buttons in their classic order
    std::vector<const char*> texts;  // their captions
    int enter;                       // what Enter gives (the default button)
    int escape;                      // what Escape gives (-1: nothing, the box stays)
};

TEST_F(UserMessageBoxTest, EachButtonSetShowsItsButtonsAndAnswersEnterEscapeAndClicks)
{
    const Case cases[] = {
        {MB_OK, {IDOK}, {"OK"}, IDOK, IDOK},
        {MB_OKCANCEL, {IDOK, IDCANCEL}, {"OK", "Cancel"}, IDOK, IDCANCEL},
        {MB_OKCANCEL | MB_DEFBUTTON2, {IDOK, IDCANCEL}, {"OK", "Cancel"}, IDCANCEL, IDCANCEL},
        {MB_ABORTRETRYIGNORE, {IDABORT, IDRETRY, IDIGNORE}, {"&Abort", "&Retry", "&Ignore"}, IDABORT, -1},
        {MB_ABORTRETRYIGNORE | MB_DEFBUTTON3, {IDABORT, IDRETRY, IDIGNORE}, {"&Abort", "&Retry", "&Ignore"}, IDIGNORE, -1},
        {MB_YESNOCANCEL, {IDYES, IDNO, IDCANCEL}, {"&Yes", "&No", "Cancel"}, IDYES, IDCANCEL},
        {MB_YESNOCANCEL | MB_DEFBUTTON2, {IDYES, IDNO, IDCANCEL}, {"&Yes", "&No", "Cancel"}, IDNO, IDCANCEL},
        {MB_YESNO, {IDYES, IDNO}, {"&Yes", "&No"}, IDYES, -1},
        {MB_YESNO | MB_DEFBUTTON2, {IDYES, IDNO}, {"&Yes", "&No"}, IDNO, -1},
        {MB_YESNO | MB_DEFBUTTON4, {IDYES, IDNO}, {"&Yes", "&No"}, IDYES, -1},  // out of range: the first
        {MB_RETRYCANCEL, {IDRETRY, IDCANCEL}, {"&Retry", "Cancel"}, IDRETRY, IDCANCEL},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        // Enter presses the default button, which also has the focus and the default style.
        host::RunInNextModalLoop([&](HWND box) {
            std::vector<HWND> b = Buttons(box);
            ASSERT_EQ(b.size(), c.ids.size());
            for (size_t i = 0; i < b.size(); ++i) {
                EXPECT_EQ(GetDlgCtrlID(b[i]), c.ids[i]);
                char text[32] = {};
                GetWindowTextA(b[i], text, sizeof text);
                EXPECT_STREQ(text, c.texts[i]);
                bool isDefault = c.ids[i] == c.enter;
                EXPECT_EQ((GetWindowLongA(b[i], GWL_STYLE) & 0x0F) == BS_DEFPUSHBUTTON, isDefault) << i;
                if (isDefault) {
                    EXPECT_EQ(GetFocus(), b[i]);
                }
            }
            host::PressKey(VK_RETURN);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Proceed?", "Enter", c.type), c.enter);

        // Escape: Cancel where the set has one, OK for a lone OK, otherwise nothing happens.
        host::RunInNextModalLoop([&](HWND box) {
            host::PressKey(VK_ESCAPE);
            if (c.escape == -1)
                host::RunInNextModalLoop([](HWND again) { ClickCentre(Buttons(again).back()); });
            (void)box;
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Proceed?", "Escape", c.type), c.escape == -1 ? c.ids.back() : c.escape);

        // A click on the second button (or the only one).
        host::RunInNextModalLoop([](HWND box) {
            std::vector<HWND> b = Buttons(box);
            ClickCentre(b[b.size() > 1 ? 1 : 0]);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Proceed?", "Click", c.type), c.ids[c.ids.size() > 1 ? 1 : 0]);
    }
    // The shown boxes are logged like scripted ones, with the user's answers.
    auto log = host::MessageBoxLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.front().caption, "Enter");
    EXPECT_EQ(log.front().answer, IDOK);
}

TEST_F(UserMessageBoxTest, ScriptAnswersStillComeFirst)
{
    host::AnswerNextMessageBox(IDNO);
    EXPECT_EQ(MessageBoxA(nullptr, "Replace?", "Save", MB_YESNO), IDNO);
    EXPECT_TRUE(host::MessageBoxLog().back().answered);
    EXPECT_EQ(host::PendingModalActions(), 0u);
}

TEST_F(UserMessageBoxTest, TheBoxIsCentredOverItsDisabledOwnerWithCaptionIconTextAndBeep)
{
    HWND owner = CreateWindowExA(0, "Static", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 80, 600, 400, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_TRUE(owner);
    ui::PumpUntilIdle();
    std::string longText;
    for (int i = 0; i < 60; ++i)
        longText += "words and more ";
    RECT boxRect{};
    host::RunInNextModalLoop([&](HWND box) {
        EXPECT_FALSE(IsWindowEnabled(owner));
        EXPECT_EQ(GetWindow(box, GW_OWNER), owner);
        char title[64] = {};
        GetWindowTextA(box, title, sizeof title);
        EXPECT_STREQ(title, "Error");  // the caption when none is given
        GetWindowRect(box, &boxRect);
        RECT o;
        GetWindowRect(owner, &o);
        EXPECT_NEAR((boxRect.left + boxRect.right) / 2, (o.left + o.right) / 2, 1);
        EXPECT_NEAR((boxRect.top + boxRect.bottom) / 2, (o.top + o.bottom) / 2, 1);
        // The icon control shows the stop icon; the text wraps within two thirds of the screen.
        HWND icon = GetDlgItem(box, 0x14);
        ASSERT_TRUE(icon);
        EXPECT_EQ(reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)), LoadIconA(nullptr, IDI_HAND));
        EXPECT_LE(boxRect.right - boxRect.left, 1024 * 2 / 3 + 60);
        host::PressKey(VK_RETURN);
    });
    std::string text = "A long line: " + longText + std::string(300, 'w');
    EXPECT_EQ(MessageBoxA(owner, text.c_str(), nullptr, MB_OK | MB_ICONHAND), IDOK);
    EXPECT_TRUE(IsWindowEnabled(owner));
    ASSERT_FALSE(host::MessageBeeps().empty());
    EXPECT_EQ(host::MessageBeeps().back(), static_cast<UINT>(MB_ICONHAND));
    DestroyWindow(owner);
}

TEST_F(UserMessageBoxTest, TheBoxIsDrawnWithTextAndButtons)
{
    TempDir tmp;
    std::string png = (tmp.path() / "messagebox.png").string();
    bool saved = false;
    std::set<COLORREF> colours;
    host::RunInNextModalLoop([&](HWND box) {
        ui::PumpUntilIdle();
        RECT r;
        GetWindowRect(box, &r);
        for (int y = r.top; y < r.bottom; y += 1)
            for (int x = r.left; x < r.right; x += 1)
                colours.insert(host::DesktopPixel(x, y));
        saved = host::SaveDesktopPng(png, &r);
        if (const char* keep = std::getenv("VL_KEEP_SCREENSHOTS"))
            host::SaveDesktopPng(std::string(keep) + "/messagebox.png", &r);
        host::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(MessageBoxA(nullptr, "The disc could not be read.\nInsert it again and choose Retry.", "Reading",
                          MB_RETRYCANCEL | MB_ICONEXCLAMATION),
              IDCANCEL);
    ASSERT_TRUE(saved);
    // Face, text, frame, caption and icon colours: far more than a blank rectangle.
    EXPECT_GE(colours.size(), 5u);
    std::ifstream in(png, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
}

}  // namespace
