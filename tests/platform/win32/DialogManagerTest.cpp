// The dialog manager: a template dialog navigated with the keyboard, modal dialogs ended by
// Enter and Esc, the control helpers and the dialog units.
#include "DialogTestSupport.h"

#include "../../support/UiTest.h"

#include <windows.h>

#include <string>
#include <vector>

namespace {

enum : WORD { kLabel = 100, kName = 101, kSmall = 201, kMedium = 202, kLarge = 203, kSound = 301 };

struct Seen {
    std::vector<UINT> commands;
    HWND initFocus = nullptr;
    LPARAM initParam = 0;
    bool endOnCommand = true;
};

INT_PTR CALLBACK PrefsProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* seen = reinterpret_cast<Seen*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        seen = reinterpret_cast<Seen*>(lParam);
        seen->initFocus = reinterpret_cast<HWND>(wParam);
        seen->initParam = lParam;
        SetDlgItemTextA(dlg, kName, "Ada");
        CheckRadioButton(dlg, kSmall, kLarge, kMedium);
        return TRUE;
    case WM_COMMAND:
        seen->commands.push_back(LOWORD(wParam));
        if (seen->endOnCommand && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL))
            EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    default: return FALSE;
    }
}

LPCDLGTEMPLATEA Prefs(dlgtest::TemplateBuilder& b)
{
    b.Control("DlgTestStatic", "&Name:", kLabel, 0, 7, 7, 30, 8)
        .Control("DlgTestEdit", "", kName, WS_TABSTOP | WS_GROUP, 40, 7, 100, 12)
        .Control("DlgTestButton", "&Small", kSmall, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 7, 25, 50, 10)
        .Control("DlgTestButton", "&Medium", kMedium, BS_AUTORADIOBUTTON, 7, 37, 50, 10)
        .Control("DlgTestButton", "&Large", kLarge, BS_AUTORADIOBUTTON, 7, 49, 50, 10)
        .Control("DlgTestButton", "S&ound", kSound, BS_AUTOCHECKBOX | WS_TABSTOP | WS_GROUP, 70, 25, 50, 10)
        .Control("DlgTestButton", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 40, 70, 50, 14)
        .Control("DlgTestButton", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 95, 70, 50, 14);
    return b.Get();
}

constexpr DWORD kDialogStyle = DS_MODALFRAME | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;

// Delivers queued input to a modeless dialog the way an application's message loop does.
void PumpDialog(HWND dlg)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
        if (!IsDialogMessageA(dlg, &msg)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
}

void Key(HWND dlg, UINT vk, bool shift = false)
{
    if (shift)
        host::KeyDown(VK_SHIFT);
    host::PressKey(vk);
    if (shift)
        host::KeyUp(VK_SHIFT);
    PumpDialog(dlg);
}

class DialogManagerTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        dlgtest::RegisterStandIns();
    }
};

TEST_F(DialogManagerTest, TemplateDialogIsNavigatedWithTheKeyboard)
{
    Seen seen;
    seen.endOnCommand = false;
    dlgtest::TemplateBuilder b(kDialogStyle, 10, 10, 160, 90, "Preferences");
    HWND dlg = CreateDialogIndirectParamA(nullptr, Prefs(b), nullptr, PrefsProc, reinterpret_cast<LPARAM>(&seen));
    ASSERT_NE(dlg, nullptr);
    char title[64];
    GetWindowTextA(dlg, title, sizeof title);
    EXPECT_STREQ(title, "Preferences");
    EXPECT_TRUE(IsWindowVisible(dlg));
    HWND name = GetDlgItem(dlg, kName);
    EXPECT_EQ(seen.initFocus, name);
    EXPECT_EQ(seen.initParam, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(GetFocus(), name);
    EXPECT_EQ(GetWindowLongPtrA(name, GWLP_USERDATA), 1) << "the edit's text is selected when it gets the focus";
    EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), MAKELONG(IDOK, DC_HASDEFID));

    // Tab goes into the radio group at its checked button; arrows move and check within it.
    Key(dlg, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kMedium));
    Key(dlg, VK_DOWN);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kLarge));
    EXPECT_EQ(IsDlgButtonChecked(dlg, kLarge), BST_CHECKED);
    EXPECT_EQ(IsDlgButtonChecked(dlg, kMedium), BST_UNCHECKED);
    Key(dlg, VK_DOWN);  // wraps within the group
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kSmall));
    Key(dlg, VK_UP);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kLarge));
    Key(dlg, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kSound));
    Key(dlg, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDOK));
    Key(dlg, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDCANCEL));
    // The focused push button shows as the default; the default button gives the look up.
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDCANCEL), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);
    Key(dlg, VK_TAB);  // wraps to the first tab stop
    EXPECT_EQ(GetFocus(), name);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    Key(dlg, VK_TAB, true);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, IDCANCEL));
    Key(dlg, VK_TAB, true);
    Key(dlg, VK_TAB, true);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kSound));

    // Mnemonics: a button's clicks it, a label's moves to the control after it.
    Key(dlg, 'S');  // "&Small"
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kSmall));
    EXPECT_EQ(IsDlgButtonChecked(dlg, kSmall), BST_CHECKED);
    Key(dlg, 'O');  // "S&ound"
    EXPECT_EQ(IsDlgButtonChecked(dlg, kSound), BST_CHECKED);
    Key(dlg, 'N');  // "&Name:"
    EXPECT_EQ(GetFocus(), name);
    // Characters go to the edit that wants them.
    host::TypeText("Bo");
    PumpDialog(dlg);
    char text[32];
    GetDlgItemTextA(dlg, kName, text, sizeof text);
    EXPECT_STREQ(text, "Bo");

    // Enter presses the default button, or the focused push button; Esc is IDCANCEL.
    Key(dlg, VK_RETURN);
    Key(dlg, VK_ESCAPE);
    SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, IDCANCEL)), TRUE);
    Key(dlg, VK_RETURN);
    // Arrow keys click the auto radio buttons they move to.
    std::vector<UINT> expected{kLarge, kSmall, kLarge, kSmall, kSound, IDOK, IDCANCEL, IDCANCEL};
    EXPECT_EQ(seen.commands, expected);
    DestroyWindow(dlg);
}

TEST_F(DialogManagerTest, ModalDialogEndsWithEnterAndEscape)
{
    struct Case {
        UINT key;
        INT_PTR result;
    };
    for (Case c : {Case{VK_RETURN, IDOK}, Case{VK_ESCAPE, IDCANCEL}}) {
        HWND owner = CreateWindowExA(0, "DlgTestStatic", "Owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                     nullptr, nullptr, nullptr);
        ASSERT_NE(owner, nullptr);
        Seen seen;
        bool ownerDisabled = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ownerDisabled = !IsWindowEnabled(owner);
            char title[64];
            GetWindowTextA(dlg, title, sizeof title);
            EXPECT_STREQ(title, "Preferences");
            host::PressKey(c.key);
        });
        dlgtest::TemplateBuilder b(kDialogStyle, 10, 10, 160, 90, "Preferences");
        INT_PTR r = DialogBoxIndirectParamA(nullptr, Prefs(b), owner, PrefsProc, reinterpret_cast<LPARAM>(&seen));
        EXPECT_EQ(r, c.result);
        EXPECT_TRUE(ownerDisabled);
        EXPECT_TRUE(IsWindowEnabled(owner));
        DestroyWindow(owner);
    }
}

TEST_F(DialogManagerTest, UnansweredModalDialogFailsWithItsTitle)
{
    std::vector<std::string> failures;
    host::SetUiFailureHandler([&](const std::string& m) { failures.push_back(m); });
    Seen seen;
    dlgtest::TemplateBuilder b(kDialogStyle, 10, 10, 160, 90, "Preferences");
    INT_PTR r = DialogBoxIndirectParamA(nullptr, Prefs(b), nullptr, PrefsProc, reinterpret_cast<LPARAM>(&seen));
    EXPECT_EQ(r, -1);
    ASSERT_EQ(failures.size(), 1u);
    EXPECT_NE(failures[0].find("Preferences"), std::string::npos) << failures[0];
}

// DS_CENTER centres a dialog on the screen whatever its owner; every top-level dialog is kept on
// the screen, however far off it its owner or its template would put it.
TEST_F(DialogManagerTest, CentredDialogsAndDialogsKeptOnTheScreen)
{
    HWND owner = CreateWindowExA(0, "DlgTestStatic", "Owner", WS_POPUP | WS_VISIBLE, -300, 500, 400, 400, nullptr,
                                 nullptr, nullptr, nullptr);
    ASSERT_NE(owner, nullptr);
    struct Case {
        const char* what;
        DWORD style;
        short x, y, cx, cy;
        HWND owner;
        bool centred;
    } cases[] = {
        {"centred, no owner", kDialogStyle | DS_CENTER, 10, 10, 160, 90, nullptr, true},
        {"centred, owner off the left edge", kDialogStyle | DS_CENTER, 0, 0, 160, 90, owner, true},
        {"owner's client off the left edge", kDialogStyle, 10, 10, 160, 90, owner, false},
        {"template past the bottom right", kDialogStyle | DS_ABSALIGN, 900, 900, 160, 90, nullptr, false},
        {"larger than the screen", kDialogStyle | DS_CENTER, 0, 0, 900, 900, nullptr, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Seen seen;
        seen.endOnCommand = false;
        dlgtest::TemplateBuilder b(c.style & ~static_cast<DWORD>(WS_VISIBLE), c.x, c.y, c.cx, c.cy, "Print");
        HWND dlg = CreateDialogIndirectParamA(nullptr, Prefs(b), c.owner, PrefsProc, reinterpret_cast<LPARAM>(&seen));
        ASSERT_NE(dlg, nullptr);
        RECT r;
        GetWindowRect(dlg, &r);
        const int w = r.right - r.left, h = r.bottom - r.top;
        if (w <= 1024 && h <= 768) {
            EXPECT_GE(r.left, 0);
            EXPECT_GE(r.top, 0);
            EXPECT_LE(r.right, 1024);
            EXPECT_LE(r.bottom, 768);
        } else {
            EXPECT_EQ(r.left, 0);
            EXPECT_EQ(r.top, 0);
        }
        if (c.centred) {
            EXPECT_EQ(r.left, (1024 - w) / 2);
            EXPECT_EQ(r.top, (768 - h) / 2);
        }
        DestroyWindow(dlg);
    }
    DestroyWindow(owner);
}

TEST_F(DialogManagerTest, ItemHelpersAndDialogUnits)
{
    Seen seen;
    seen.endOnCommand = false;
    dlgtest::TemplateBuilder b(kDialogStyle, 10, 10, 160, 90, "Preferences");
    HWND dlg = CreateDialogIndirectParamA(nullptr, Prefs(b), nullptr, PrefsProc, reinterpret_cast<LPARAM>(&seen));
    ASSERT_NE(dlg, nullptr);

    struct IntCase {
        const char* text;
        BOOL isSigned;
        UINT value;
        BOOL ok;
    };
    for (IntCase c : {IntCase{"42", TRUE, 42, TRUE}, IntCase{"  -17 ", TRUE, static_cast<UINT>(-17), TRUE},
                      IntCase{"-17", FALSE, 0, FALSE}, IntCase{"12a", TRUE, 0, FALSE}, IntCase{"", TRUE, 0, FALSE},
                      IntCase{"4294967295", FALSE, 4294967295u, TRUE}, IntCase{"4294967296", FALSE, 0, FALSE},
                      IntCase{"2147483648", TRUE, 0, FALSE}, IntCase{"-2147483648", TRUE, 0x80000000u, TRUE}}) {
        SetDlgItemTextA(dlg, kName, c.text);
        BOOL ok = 2;
        EXPECT_EQ(GetDlgItemInt(dlg, kName, &ok, c.isSigned), c.value) << c.text;
        EXPECT_EQ(ok, c.ok) << c.text;
    }
    SetDlgItemInt(dlg, kName, static_cast<UINT>(-5), TRUE);
    char text[32];
    EXPECT_EQ(GetDlgItemTextA(dlg, kName, text, sizeof text), 2u);
    EXPECT_STREQ(text, "-5");
    EXPECT_EQ(GetDlgItemTextA(dlg, 999, text, sizeof text), 0u);
    EXPECT_STREQ(text, "");

    EXPECT_EQ(SendDlgItemMessageA(dlg, kMedium, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(CheckDlgButton(dlg, kSound, BST_CHECKED));
    EXPECT_EQ(IsDlgButtonChecked(dlg, kSound), BST_CHECKED);
    EXPECT_FALSE(CheckDlgButton(dlg, 999, BST_CHECKED));

    // Groups: from the last of a group back to its first; controls outside the tab order count.
    EXPECT_EQ(GetNextDlgGroupItem(dlg, GetDlgItem(dlg, kLarge), FALSE), GetDlgItem(dlg, kSmall));
    EXPECT_EQ(GetNextDlgGroupItem(dlg, GetDlgItem(dlg, kSmall), TRUE), GetDlgItem(dlg, kLarge));
    EXPECT_EQ(GetNextDlgGroupItem(dlg, GetDlgItem(dlg, kSound), FALSE), GetDlgItem(dlg, kSound));
    EXPECT_EQ(GetNextDlgTabItem(dlg, nullptr, TRUE), GetDlgItem(dlg, IDCANCEL));
    EnableWindow(GetDlgItem(dlg, kSound), FALSE);
    EXPECT_EQ(GetNextDlgTabItem(dlg, GetDlgItem(dlg, kSmall), FALSE), GetDlgItem(dlg, IDOK));

    // DM_SETDEFID moves the default look and what Enter presses.
    SendMessageA(dlg, DM_SETDEFID, IDCANCEL, 0);
    EXPECT_EQ(SendMessageA(dlg, DM_GETDEFID, 0, 0), MAKELONG(IDCANCEL, DC_HASDEFID));
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDCANCEL), GWL_STYLE) & 0x0F, BS_DEFPUSHBUTTON);
    EXPECT_EQ(GetWindowLongA(GetDlgItem(dlg, IDOK), GWL_STYLE) & 0x0F, BS_PUSHBUTTON);

    // Dialog units follow the dialog font; the window's client area is the template's size.
    RECT r{0, 0, 4, 8};
    ASSERT_TRUE(MapDialogRect(dlg, &r));
    EXPECT_GT(r.right, 0);
    EXPECT_GT(r.bottom, 0);
    RECT size{0, 0, 160, 90};
    MapDialogRect(dlg, &size);
    RECT client;
    GetClientRect(dlg, &client);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);
    RECT none{0, 0, 4, 8};
    EXPECT_FALSE(MapDialogRect(GetDlgItem(dlg, kName), &none));
    EXPECT_EQ(GetDialogBaseUnits(), MAKELONG(8, 16));
    DestroyWindow(dlg);
}

}  // namespace
