// Message boxes, menus and their tracking loops, and accelerators, driven by the UI script.
#include <windows.h>

#include <MessageSpy.h>
#include <UiTest.h>

#include <gtest/gtest-spi.h>

using namespace spy;

namespace {

class UserModalTest : public ui::UiTest {
protected:
    MessageSpy spy;

    HWND Frame()
    {
        return CreateWindowExA(0, MessageSpy::ClassName(), "Frame", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                               nullptr, nullptr, nullptr, nullptr);
    }
};

TEST_F(UserModalTest, MessageBoxesAreAnsweredByTextOrCaptionAndDisableTheirOwner)
{
    HWND owner = Frame();
    HWND child = CreateWindowExA(0, MessageSpy::ClassName(), "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, owner, nullptr,
                                 nullptr, nullptr);
    ui::PumpUntilIdle();
    host::AnswerMessageBox("Replace", IDNO);
    host::AnswerMessageBoxWith("Notice", [&](const host::MessageBoxRecord& box) {
        EXPECT_FALSE(IsWindowEnabled(owner)) << "the top-level owner is disabled while the box is up";
        EXPECT_EQ(box.type, static_cast<UINT>(MB_RETRYCANCEL | MB_ICONEXCLAMATION));
        return IDRETRY;
    });
    spy.Clear();
    EXPECT_EQ(MessageBoxA(child, "Replace the file?", "Save", MB_YESNOCANCEL | MB_ICONQUESTION), IDNO);
    EXPECT_TRUE(spy.Matches({
        {WM_CANCELMODE, Sent, 0, 0, owner},
        {WM_KILLFOCUS, Sent | Optional},
        {WM_ENABLE, Sent | WParam, FALSE, 0, owner},
        {WM_ENABLE, Sent | WParam, TRUE, 0, owner},
    }));
    EXPECT_EQ(MessageBoxA(owner, "Disc not found", "Notice", MB_RETRYCANCEL | MB_ICONEXCLAMATION), IDRETRY);
    EXPECT_TRUE(IsWindowEnabled(owner));
    auto log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), 2u);
    EXPECT_EQ(log[0].caption, "Save");
    EXPECT_EQ(log[1].text, "Disc not found");
    EXPECT_TRUE(log[1].answered);
}

TEST_F(UserModalTest, AnUnansweredMessageBoxFailsTheTestWithItsTextInsteadOfHanging)
{
    int result = 0;
    EXPECT_NONFATAL_FAILURE(result = MessageBoxA(nullptr, "Disk access failure.", "Veltra", MB_YESNO | MB_DEFBUTTON2),
                            "Unanswered message box \"Veltra\": \"Disk access failure.\"");
    EXPECT_EQ(result, IDNO) << "the default button answers";
    host::AnswerNextMessageBox(IDYES);
    EXPECT_NONFATAL_FAILURE(result = MessageBoxA(nullptr, "Done", "Title", MB_OK), "is no button of the OK message box");
    EXPECT_EQ(result, IDOK);
}

TEST_F(UserModalTest, EveryButtonSetReturnsItsIds)
{
    struct Case {
        UINT type;
        int answer;
    };
    const Case cases[] = {
        {MB_OK, IDOK},          {MB_OKCANCEL, IDCANCEL},        {MB_ABORTRETRYIGNORE, IDIGNORE},
        {MB_YESNOCANCEL, IDYES}, {MB_YESNO, IDNO},               {MB_RETRYCANCEL, IDRETRY},
    };
    for (const Case& c : cases) {
        host::AnswerNextMessageBox(c.answer);
        EXPECT_EQ(MessageBoxA(nullptr, "x", "y", c.type | MB_TASKMODAL), c.answer);
    }
    MessageBeep(MB_ICONHAND);
    EXPECT_EQ(host::MessageBeeps(), (std::vector<UINT>{MB_ICONHAND}));
}

HMENU BuildMenu()
{
    HMENU file = CreatePopupMenu();
    AppendMenuA(file, MF_STRING, 100, "&Open");
    AppendMenuA(file, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(file, MF_STRING | MF_GRAYED, 101, "&Print");
    HMENU recent = CreatePopupMenu();
    AppendMenuA(recent, MF_STRING, 110, "One");
    AppendMenuA(file, MF_POPUP, reinterpret_cast<UINT_PTR>(recent), "&Recent");
    HMENU bar = CreateMenu();
    AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(file), "&File");
    AppendMenuA(bar, MF_STRING, 200, "&Help");
    return bar;
}

TEST_F(UserModalTest, MenuItemsAreEditedAndQueried)
{
    HMENU bar = BuildMenu();
    HMENU file = GetSubMenu(bar, 0);
    EXPECT_EQ(GetMenuItemCount(bar), 2);
    EXPECT_EQ(GetMenuItemCount(file), 4);
    EXPECT_EQ(GetMenuItemID(bar, 0), static_cast<UINT>(-1)) << "a popup has no command";
    EXPECT_EQ(GetMenuItemID(bar, 1), 200u);
    EXPECT_EQ(GetMenuState(bar, 0, MF_BYPOSITION), static_cast<UINT>(MF_POPUP | (4 << 8)));
    EXPECT_EQ(GetMenuState(bar, 101, MF_BYCOMMAND), static_cast<UINT>(MF_GRAYED)) << "found in a submenu";
    EXPECT_EQ(GetMenuState(bar, 999, MF_BYCOMMAND), static_cast<UINT>(-1));
    EXPECT_EQ(CheckMenuItem(bar, 100, MF_CHECKED), static_cast<DWORD>(MF_UNCHECKED));
    EXPECT_EQ(CheckMenuItem(bar, 100, MF_UNCHECKED), static_cast<DWORD>(MF_CHECKED));
    EXPECT_EQ(EnableMenuItem(bar, 101, MF_ENABLED), MF_GRAYED);
    EXPECT_EQ(EnableMenuItem(bar, 999, MF_ENABLED), -1);
    char text[32];
    EXPECT_EQ(GetMenuStringA(bar, 100, text, sizeof text, MF_BYCOMMAND), 5);
    EXPECT_STREQ(text, "&Open");
    EXPECT_TRUE(InsertMenuA(bar, 100, MF_BYCOMMAND | MF_STRING, 99, "&New"));
    EXPECT_EQ(GetMenuItemID(file, 0), 99u);
    EXPECT_TRUE(ModifyMenuA(bar, 99, MF_BYCOMMAND | MF_STRING, 98, "N&ew"));
    EXPECT_EQ(GetMenuItemID(file, 0), 98u);
    EXPECT_TRUE(DeleteMenu(file, 0, MF_BYPOSITION));
    EXPECT_FALSE(DeleteMenu(file, 98, MF_BYCOMMAND));
    HMENU recent = GetSubMenu(file, 3);
    EXPECT_TRUE(RemoveMenu(file, 3, MF_BYPOSITION));
    EXPECT_TRUE(IsMenu(recent)) << "removed, not destroyed";
    EXPECT_TRUE(DestroyMenu(recent));
    EXPECT_TRUE(DestroyMenu(bar));
    EXPECT_FALSE(IsMenu(file)) << "destroyed with its menu";
}

TEST_F(UserModalTest, PopupMenuTrackingIsScriptedAndPostsTheCommand)
{
    HWND frame = Frame();
    HMENU bar = BuildMenu();
    HMENU file = GetSubMenu(bar, 0);
    ui::PumpUntilIdle();
    spy.Clear();
    host::RunInNextModalLoop([&](HWND owner) {
        EXPECT_EQ(owner, frame);
        EXPECT_FALSE(host::ChooseMenuItem(101)) << "grayed items cannot be chosen";
        EXPECT_TRUE(host::ChooseMenuItem(110));
    });
    EXPECT_TRUE(TrackPopupMenu(file, TPM_LEFTALIGN, 10, 10, 0, frame, nullptr));
    HMENU recent = GetSubMenu(file, 3);
    EXPECT_TRUE(spy.Matches({
        {WM_ENTERMENULOOP, Sent | WParam, TRUE},
        {WM_INITMENU, Sent | WParam, reinterpret_cast<WPARAM>(file)},
        {WM_INITMENUPOPUP, Sent | WParam | LParam, reinterpret_cast<WPARAM>(file), 0},
        {WM_MENUSELECT, Sent | WParam | LParam, MAKEWPARAM(101, MF_GRAYED | MF_HILITE), reinterpret_cast<LPARAM>(file)},
        {WM_MENUSELECT, Sent | WParam, MAKEWPARAM(3, MF_POPUP | MF_HILITE)},
        {WM_INITMENUPOPUP, Sent | WParam | LParam, reinterpret_cast<WPARAM>(recent), MAKELPARAM(3, FALSE)},
        {WM_MENUSELECT, Sent | WParam | LParam, MAKEWPARAM(110, MF_HILITE), reinterpret_cast<LPARAM>(recent)},
        {WM_MENUSELECT, Sent | WParam | LParam, MAKEWPARAM(0, 0xFFFF), 0},
        {WM_UNINITMENUPOPUP, Sent | WParam, reinterpret_cast<WPARAM>(recent)},
        {WM_UNINITMENUPOPUP, Sent | WParam, reinterpret_cast<WPARAM>(file)},
        {WM_EXITMENULOOP, Sent | WParam, TRUE},
    }));
    ui::PumpUntilIdle();
    // The frame paints again where the popups covered it.
    EXPECT_TRUE(spy.Matches({{WM_COMMAND, Posted | WParam | LParam, MAKEWPARAM(110, 0), 0},
                             {WM_PAINT, Posted | Optional},
                             {WM_NCPAINT, Sent | Optional},
                             {WM_ERASEBKGND, Sent | Optional}}));

    host::RunInNextModalLoop([](HWND) { host::ChooseMenuItem(100); });
    EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD | TPM_NONOTIFY, 0, 0, 0, frame, nullptr), 100);
    EXPECT_TRUE(spy.Matches({{WM_ENTERMENULOOP, Sent}}));
    spy.Clear();
    ui::PumpUntilIdle();
    EXPECT_EQ(spy.Count(WM_COMMAND), 0u) << "TPM_RETURNCMD posts nothing";

    host::RunInNextModalLoop([](HWND) { host::CancelMenu(); });
    EXPECT_EQ(TrackPopupMenu(file, TPM_RETURNCMD, 0, 0, 0, frame, nullptr), 0);
    EXPECT_NONFATAL_FAILURE(TrackPopupMenu(file, TPM_RETURNCMD, 0, 0, 0, frame, nullptr),
                            "Unanswered modal loop: popup menu \"Frame\"");
    DestroyMenu(bar);
}

TEST_F(UserModalTest, MenuBarOfAFramedWindowIsTrackedFromAClick)
{
    HWND frame = Frame();
    RECT before;
    GetClientRect(frame, &before);
    HMENU bar = BuildMenu();
    ASSERT_TRUE(SetMenu(frame, bar));
    EXPECT_EQ(GetMenu(frame), bar);
    RECT after;
    GetClientRect(frame, &after);
    EXPECT_EQ(before.bottom - after.bottom, GetSystemMetrics(SM_CYMENU));
    ui::PumpUntilIdle();
    // "&File" is the first item of the bar, just below the caption.
    RECT item;
    ASSERT_TRUE(GetMenuItemRect(frame, bar, 0, &item));
    POINT inside{item.left + 3, item.top + 3};
    EXPECT_EQ(MenuItemFromPoint(frame, bar, inside), 0);
    EXPECT_EQ(SendMessageA(frame, WM_NCHITTEST, 0, MAKELPARAM(inside.x, inside.y)), HTMENU);
    spy.Clear();
    host::RunInNextModalLoop([](HWND) { EXPECT_TRUE(host::ChooseMenuItem(100)); });
    host::Click(inside.x, inside.y);
    ui::PumpUntilIdle();
    HMENU file = GetSubMenu(bar, 0);
    EXPECT_TRUE(spy.Matches({
        {WM_NCMOUSEMOVE, Posted | WParam, HTMENU},
        {WM_NCLBUTTONDOWN, Posted | WParam, HTMENU},
        {WM_SYSCOMMAND, Sent | WParam, SC_MOUSEMENU},
        {WM_ENTERMENULOOP, Sent | WParam, FALSE},
        {WM_INITMENU, Sent | WParam, reinterpret_cast<WPARAM>(bar)},
        {WM_MENUSELECT, Sent | WParam, MAKEWPARAM(0, MF_POPUP | MF_HILITE)},
        {WM_INITMENUPOPUP, Sent | WParam | LParam, reinterpret_cast<WPARAM>(file), MAKELPARAM(0, FALSE)},
        {WM_MENUSELECT, Sent | WParam, MAKEWPARAM(100, MF_HILITE)},
        {WM_MENUSELECT, Sent | WParam, MAKEWPARAM(0, 0xFFFF)},
        {WM_UNINITMENUPOPUP, Sent},
        {WM_EXITMENULOOP, Sent | WParam, FALSE},
        {WM_NCLBUTTONUP, Posted | Optional},
        {WM_COMMAND, Posted | WParam, MAKEWPARAM(100, 0)},
        {WM_NCLBUTTONUP, Posted | Optional},
        {WM_PAINT, Posted | Optional},
        {WM_NCPAINT, Sent | Optional},
        {WM_ERASEBKGND, Sent | Optional},
    }));
    DestroyWindow(frame);
    EXPECT_FALSE(IsMenu(bar)) << "a window's menu goes with it";
}

TEST_F(UserModalTest, AcceleratorsSendCommandsUnlessTheMenuItemIsDisabled)
{
    HWND frame = Frame();
    HMENU bar = BuildMenu();
    SetMenu(frame, bar);
    ACCEL keys[] = {{FVIRTKEY | FCONTROL, 'O', 100}, {FVIRTKEY | FCONTROL, 'P', 101}, {0, '?', 300}};
    HACCEL accel = CreateAcceleratorTableA(keys, 3);
    ASSERT_TRUE(accel);
    EXPECT_EQ(CopyAcceleratorTableA(accel, nullptr, 0), 3);
    ui::PumpUntilIdle();
    spy.Clear();
    auto pump = [&] {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            if (!TranslateAcceleratorA(frame, accel, &msg)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
    };
    host::KeyDown(VK_CONTROL);
    host::PressKey('O');
    host::PressKey('P');
    host::KeyUp(VK_CONTROL);
    host::TypeText("?");
    pump();
    std::vector<WPARAM> commands;
    for (const Recorded& r : spy.Messages(frame))
        if (r.message == WM_COMMAND)
            commands.push_back(r.wParam);
    EXPECT_EQ(commands, (std::vector<WPARAM>{MAKEWPARAM(100, 1), MAKEWPARAM(300, 1)})) << "101 is grayed";
    EXPECT_GE(spy.Count(WM_INITMENU, frame), 2u);
    EXPECT_TRUE(DestroyAcceleratorTable(accel));
}

}  // namespace
