// Driving a modal dialog from a test in interactive mode: the steps run inside the dialog's
// modal loop, feed it injected keys and clicks and dispatch them the way the loop does, so each
// step sees the dialog's answer at once. Used by the common dialogs' tests.
#pragma once

#include <windows.h>

#include <host/Clock.h>
#include <host/Display.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace ui::dialog {

// Dispatches what is queued the way the modal loop does (keyboard through the dialog
// manager first).
inline void Pump(HWND dlg)
{
    MSG msg;
    for (int n = 0; n < 100000 && PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE); ++n) {
        if (!IsWindow(dlg) || !IsDialogMessageA(dlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
    }
}

// Runs `steps` inside the next dialog; the steps must end it. A dialog the steps leave up
// (a failed check returned early) is cancelled so that the test goes on.
inline void Drive(std::function<void(HWND)> steps)
{
    host::RunInNextModalLoop([steps](HWND dlg) {
        Pump(dlg);
        steps(dlg);
        Pump(dlg);
        if (IsWindow(dlg) && IsWindowVisible(dlg)) {
            ADD_FAILURE() << "the dialog is still up";
            EndDialog(dlg, IDCANCEL);
        }
    });
}

inline void ClickAt(HWND dlg, int x, int y)
{
    host::Click(x, y);
    Pump(dlg);
}
inline void Click(HWND dlg, int id)
{
    RECT r;
    GetWindowRect(GetDlgItem(dlg, id), &r);
    ClickAt(dlg, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    host::StepClock(1000);  // no double click with the next one
}
inline void ClickItem(HWND dlg, int listId, int index, bool twice = false)
{
    HWND list = GetDlgItem(dlg, listId);
    RECT r{};
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&r)), LB_ERR);
    POINT p{r.left + 30, (r.top + r.bottom) / 2};
    ClientToScreen(list, &p);
    ClickAt(dlg, p.x, p.y);
    if (twice)
        ClickAt(dlg, p.x, p.y);
    host::StepClock(1000);
}
inline void Key(HWND dlg, UINT vk)
{
    host::PressKey(vk);
    Pump(dlg);
}
// Focuses a control (an edit's text selected) and types.
inline void TypeInto(HWND dlg, int id, const char* text)
{
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, id)), TRUE);
    Pump(dlg);
    host::TypeText(text);
    Pump(dlg);
}
inline void FocusOn(HWND dlg, int id)
{
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, id)), TRUE);
    Pump(dlg);
}
inline std::string Text(HWND dlg, int id)
{
    char text[MAX_PATH] = {};
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return text;
}
inline std::vector<std::string> Items(HWND dlg, int id, bool combo = false)
{
    std::vector<std::string> out;
    HWND c = GetDlgItem(dlg, id);
    int n = static_cast<int>(SendMessageA(c, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0));
    for (int i = 0; i < n; ++i) {
        char text[MAX_PATH] = {};
        SendMessageA(c, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text));
        out.push_back(text);
    }
    return out;
}
inline int Selected(HWND dlg, int id, bool combo = false)
{
    return static_cast<int>(SendDlgItemMessageA(dlg, id, combo ? CB_GETCURSEL : LB_GETCURSEL, 0, 0));
}
// Saves the dialog's picture (kept in VL_SCREENSHOT_DIR when set) and checks it is one.
inline void Screenshot(HWND dlg, const std::string& name)
{
    RECT r;
    GetWindowRect(dlg, &r);
    TempDir tmp;
    std::string png = (tmp.path() / name).string();
    ASSERT_TRUE(host::SaveDesktopPng(png, &r));
    EXPECT_EQ(tmp.Read(name).substr(1, 3), "PNG");
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                   std::filesystem::copy_options::overwrite_existing);
}

}  // namespace ui::dialog
