// FindText and ReplaceText: the modeless dialogs driven with injected keys and clicks (the
// owner's loop passing them through IsDialogMessage), the FINDMSGSTRING messages they send,
// the option flags, hooks and templates, and the validation of the FINDREPLACE.
#include <windows.h>

#include <commdlg.h>
#include <dlgs.h>

#include <host/DialogTemplateBuilder.h>

#include <DialogDriver.h>
#include <UiTest.h>

#include <cstring>
#include <string>
#include <vector>

namespace {

using namespace ui::dialog;

// What the owner heard, copied at the moment it heard it.
struct Heard {
    UINT message = 0;
    WPARAM wParam = 0;
    LPFINDREPLACEA fr = nullptr;
    DWORD flags = 0;
    std::string find;
    std::string replace;
    bool dialogAlive = false;  // the dialog's window still existed
};

std::vector<Heard> g_heard;
HWND g_dialog = nullptr;

LRESULT CALLBACK OwnerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    static const UINT find = RegisterWindowMessageA(FINDMSGSTRING);
    static const UINT help = RegisterWindowMessageA(HELPMSGSTRING);
    if (msg == find || msg == help) {
        auto* fr = reinterpret_cast<LPFINDREPLACEA>(lParam);
        Heard h;
        h.message = msg;
        h.wParam = wParam;
        h.fr = fr;
        h.flags = fr->Flags;
        h.find = fr->lpstrFindWhat;
        h.replace = fr->lpstrReplaceWith ? fr->lpstrReplaceWith : "";
        h.dialogAlive = IsWindow(g_dialog) != FALSE;
        g_heard.push_back(h);
        return 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

constexpr DWORD kActions = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;

class CommonDialogFindTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        g_heard.clear();
        g_dialog = nullptr;
        WNDCLASSA wc{};
        wc.lpfnWndProc = OwnerProc;
        wc.lpszClassName = "FindOwner";
        RegisterClassA(&wc);
        owner_ = CreateWindowA("FindOwner", "Document", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 600, 400, nullptr,
                               nullptr, nullptr, nullptr);
        ASSERT_NE(owner_, nullptr);
        std::strcpy(find_, "cat");
        std::strcpy(replace_, "dog");
    }

    FINDREPLACEA Fr(DWORD flags)
    {
        FINDREPLACEA fr{};
        fr.lStructSize = sizeof fr;
        fr.hwndOwner = owner_;
        fr.Flags = flags;
        fr.lpstrFindWhat = find_;
        fr.wFindWhatLen = sizeof find_;
        fr.lpstrReplaceWith = replace_;
        fr.wReplaceWithLen = sizeof replace_;
        return fr;
    }

    // The last message the owner heard: its action bits and options.
    const Heard& Last()
    {
        static const Heard none;
        if (g_heard.empty()) {
            ADD_FAILURE() << "the owner heard nothing";
            return none;
        }
        return g_heard.back();
    }

    static bool Visible(HWND dlg, int id) { return IsWindowVisible(GetDlgItem(dlg, id)) != FALSE; }
    static bool Enabled(HWND dlg, int id) { return IsWindowEnabled(GetDlgItem(dlg, id)) != FALSE; }
    static bool Checked(HWND dlg, int id) { return IsDlgButtonChecked(dlg, id) == BST_CHECKED; }
    static std::string Caption(HWND dlg)
    {
        char text[64] = {};
        GetWindowTextA(dlg, text, sizeof text);
        return text;
    }

    HWND owner_ = nullptr;
    char find_[80] = {};
    char replace_[80] = {};
};

TEST_F(CommonDialogFindTest, FindSendsFindNextBothWaysWithMatchCaseAndCloseSendsDialogTerm)
{
    FINDREPLACEA fr = Fr(FR_DOWN);
    HWND dlg = g_dialog = FindTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    // A modeless window owned by the owner, up at once, with the caller's text and options.
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(GetWindow(dlg, GW_OWNER), owner_);
    EXPECT_TRUE(IsWindowEnabled(owner_)) << "modeless: the owner stays usable";
    EXPECT_EQ(Caption(dlg), "Find");
    EXPECT_EQ(Text(dlg, edt1), "cat");
    EXPECT_TRUE(Checked(dlg, rad2));
    EXPECT_FALSE(Checked(dlg, rad1));
    EXPECT_FALSE(Checked(dlg, chx1));
    EXPECT_FALSE(Checked(dlg, chx2));
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, edt1));
    EXPECT_FALSE(Visible(dlg, pshHelp)) << "no FR_SHOWHELP";
    EXPECT_EQ(GetDlgItem(dlg, psh1), nullptr) << "no Replace in the Find dialog";
    Pump(dlg);
    Screenshot(dlg, "commdlg-find.png");
    EXPECT_TRUE(g_heard.empty()) << "nothing is sent before a button is pressed";

    // Enter is Find Next: down, as the radio button says.
    Key(dlg, VK_RETURN);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(Last().fr, &fr);
    EXPECT_EQ(Last().wParam, 0u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_FINDNEXT));
    EXPECT_TRUE(Last().flags & FR_DOWN);
    EXPECT_FALSE(Last().flags & FR_MATCHCASE);
    EXPECT_EQ(Last().find, "cat");
    EXPECT_TRUE(IsWindow(dlg)) << "Find Next leaves the dialog up";

    // New text, match case, up; the button this time.
    TypeInto(dlg, edt1, "Dog");
    Click(dlg, chx2);
    Click(dlg, rad1);
    Click(dlg, IDOK);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_FINDNEXT));
    EXPECT_FALSE(Last().flags & FR_DOWN);
    EXPECT_TRUE(Last().flags & FR_MATCHCASE);
    EXPECT_FALSE(Last().flags & FR_WHOLEWORD);
    EXPECT_EQ(Last().find, "Dog");
    EXPECT_STREQ(find_, "Dog") << "the caller's buffer holds the text";

    // Whole word through its mnemonic; direction back down with the keyboard.
    FocusOn(dlg, edt1);
    host::KeyDown(VK_MENU);
    host::PressKey('W');
    host::KeyUp(VK_MENU);
    Pump(dlg);
    EXPECT_TRUE(Checked(dlg, chx1));
    FocusOn(dlg, rad1);
    Key(dlg, VK_RIGHT);
    EXPECT_TRUE(Checked(dlg, rad2));
    Key(dlg, VK_RETURN);
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(Last().flags & (FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE),
              static_cast<DWORD>(FR_DOWN | FR_WHOLEWORD | FR_MATCHCASE));

    // Tab walks the controls in order.
    FocusOn(dlg, edt1);
    Key(dlg, VK_TAB);
    EXPECT_EQ(GetFocus(), GetDlgItem(dlg, chx1));

    // With nothing to look for, Find Next is off and Enter sends nothing.
    FocusOn(dlg, edt1);
    Key(dlg, VK_DELETE);
    EXPECT_EQ(Text(dlg, edt1), "");
    EXPECT_FALSE(Enabled(dlg, IDOK));
    Key(dlg, VK_RETURN);
    EXPECT_EQ(g_heard.size(), 3u);
    host::TypeText("x");
    Pump(dlg);
    EXPECT_TRUE(Enabled(dlg, IDOK));

    // Escape closes: FR_DIALOGTERM while the window still stands, then the window goes.
    Key(dlg, VK_ESCAPE);
    ASSERT_EQ(g_heard.size(), 4u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_DIALOGTERM));
    EXPECT_TRUE(Last().dialogAlive);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(CommonDialogFindTest, ReplaceSendsReplaceReplaceAllAndFindNextAndTheCloseBoxEndsIt)
{
    FINDREPLACEA fr = Fr(FR_DOWN | FR_MATCHCASE | FR_HIDEWHOLEWORD);
    fr.wReplaceWithLen = 5;  // four characters and the NUL
    HWND dlg = g_dialog = ReplaceTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(Caption(dlg), "Replace");
    EXPECT_EQ(Text(dlg, edt1), "cat");
    EXPECT_EQ(Text(dlg, edt2), "dog");
    EXPECT_FALSE(Visible(dlg, chx1)) << "FR_HIDEWHOLEWORD";
    EXPECT_TRUE(Checked(dlg, chx2));
    EXPECT_EQ(GetDlgItem(dlg, rad1), nullptr) << "no direction in the Replace dialog";
    for (int id : {IDOK, psh1, psh2, IDCANCEL})
        EXPECT_TRUE(Visible(dlg, id) && Enabled(dlg, id)) << id;
    Pump(dlg);
    Screenshot(dlg, "commdlg-replace.png");

    // The replacement is held to its buffer.
    TypeInto(dlg, edt2, "mouse");
    EXPECT_EQ(Text(dlg, edt2), "mous");
    Click(dlg, psh1);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_REPLACE));
    EXPECT_EQ(Last().find, "cat");
    EXPECT_EQ(Last().replace, "mous");
    EXPECT_TRUE(Last().flags & FR_DOWN) << "the caller's direction stays";
    EXPECT_TRUE(Last().flags & FR_MATCHCASE);

    Click(dlg, chx2);
    Click(dlg, psh2);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_REPLACEALL));
    EXPECT_FALSE(Last().flags & FR_MATCHCASE);

    // Enter in the replacement is Find Next, as in the Find dialog.
    FocusOn(dlg, edt2);
    Key(dlg, VK_RETURN);
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_FINDNEXT));

    // Nothing to find: all three acting buttons are off.
    FocusOn(dlg, edt1);
    Key(dlg, VK_DELETE);
    for (int id : {IDOK, psh1, psh2})
        EXPECT_FALSE(Enabled(dlg, id)) << id;
    EXPECT_TRUE(Enabled(dlg, IDCANCEL));

    // The close box (WM_CLOSE) ends it like Cancel.
    SendMessageA(dlg, WM_CLOSE, 0, 0);
    Pump(dlg);
    ASSERT_EQ(g_heard.size(), 4u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_DIALOGTERM));
    EXPECT_FALSE(IsWindow(dlg));

    // A second dialog on the same structure; the Cancel button.
    std::strcpy(find_, "x");
    dlg = g_dialog = ReplaceTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    Click(dlg, IDCANCEL);
    ASSERT_EQ(g_heard.size(), 5u);
    EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_DIALOGTERM));
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(CommonDialogFindTest, OptionFlagsHideOrDisableTheirControlsAndHelpSendsHelpMessage)
{
    struct Case {
        DWORD flag;
        std::vector<int> ids;
        bool visible, enabled;
    } cases[] = {
        {FR_NOUPDOWN, {grp1, rad1, rad2}, true, false},
        {FR_HIDEUPDOWN, {grp1, rad1, rad2}, false, false},
        {FR_NOMATCHCASE, {chx2}, true, false},
        {FR_HIDEMATCHCASE, {chx2}, false, false},
        {FR_NOWHOLEWORD, {chx1}, true, false},
        {FR_HIDEWHOLEWORD, {chx1}, false, false},
        {FR_SHOWHELP, {pshHelp}, true, true},
        {0, {chx1, chx2, rad1, rad2}, true, true},
    };
    for (const Case& c : cases) {
        FINDREPLACEA fr = Fr(c.flag);
        HWND dlg = FindTextA(&fr);
        ASSERT_NE(dlg, nullptr);
        for (int id : c.ids) {
            EXPECT_EQ(Visible(dlg, id), c.visible) << std::hex << c.flag << " " << std::dec << id;
            EXPECT_EQ(Enabled(dlg, id), c.enabled) << std::hex << c.flag << " " << std::dec << id;
        }
        // Destroyed from outside, the dialog still tells its owner it has ended.
        g_heard.clear();
        DestroyWindow(dlg);
        ASSERT_EQ(g_heard.size(), 1u);
        EXPECT_EQ(Last().flags & kActions, static_cast<DWORD>(FR_DIALOGTERM));
    }
    g_heard.clear();

    // Help tells the owner with HELPMSGSTRING, and the dialog stays.
    FINDREPLACEA fr = Fr(FR_SHOWHELP | FR_DOWN);
    HWND dlg = g_dialog = FindTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    Click(dlg, pshHelp);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(Last().message, RegisterWindowMessageA(HELPMSGSTRING));
    EXPECT_EQ(Last().fr, &fr);
    EXPECT_EQ(Last().flags & kActions, 0u);
    EXPECT_TRUE(IsWindow(dlg));
    DestroyWindow(dlg);
}

TEST_F(CommonDialogFindTest, ABadStructureMakesNoDialogAndSaysWhy)
{
    struct Case {
        const char* what;
        bool replace;
        void (*spoil)(FINDREPLACEA&);
        DWORD error;
    } cases[] = {
        {"no owner", false, [](FINDREPLACEA& fr) { fr.hwndOwner = nullptr; }, CDERR_DIALOGFAILURE},
        {"a dead owner", false, [](FINDREPLACEA& fr) { fr.hwndOwner = reinterpret_cast<HWND>(0x1234); },
         CDERR_DIALOGFAILURE},
        {"wrong size", false, [](FINDREPLACEA& fr) { fr.lStructSize = sizeof fr - 4; }, CDERR_STRUCTSIZE},
        {"no find buffer", false, [](FINDREPLACEA& fr) { fr.lpstrFindWhat = nullptr; }, FRERR_BUFFERLENGTHZERO},
        {"find length 0", false, [](FINDREPLACEA& fr) { fr.wFindWhatLen = 0; }, FRERR_BUFFERLENGTHZERO},
        {"no replace buffer", true, [](FINDREPLACEA& fr) { fr.lpstrReplaceWith = nullptr; }, FRERR_BUFFERLENGTHZERO},
        {"replace length 0", true, [](FINDREPLACEA& fr) { fr.wReplaceWithLen = 0; }, FRERR_BUFFERLENGTHZERO},
        {"hook flag, no hook", false, [](FINDREPLACEA& fr) { fr.Flags |= FR_ENABLEHOOK; }, CDERR_NOHOOK},
        {"template, no module", false, [](FINDREPLACEA& fr) { fr.Flags |= FR_ENABLETEMPLATE; }, CDERR_NOHINSTANCE},
        {"template, no name", false,
         [](FINDREPLACEA& fr) {
             fr.Flags |= FR_ENABLETEMPLATE;
             fr.hInstance = GetModuleHandle(nullptr);
         },
         CDERR_NOTEMPLATE},
        {"template not there", false,
         [](FINDREPLACEA& fr) {
             fr.Flags |= FR_ENABLETEMPLATE;
             fr.hInstance = GetModuleHandle(nullptr);
             fr.lpTemplateName = "NOSUCHFINDDIALOG";
         },
         CDERR_FINDRESFAILURE},
        {"template handle missing", false, [](FINDREPLACEA& fr) { fr.Flags |= FR_ENABLETEMPLATEHANDLE; },
         CDERR_NOTEMPLATE},
    };
    for (const Case& c : cases) {
        FINDREPLACEA fr = Fr(FR_DOWN);
        c.spoil(fr);
        HWND dlg = c.replace ? ReplaceTextA(&fr) : FindTextA(&fr);
        EXPECT_EQ(dlg, nullptr) << c.what;
        EXPECT_EQ(CommDlgExtendedError(), c.error) << c.what;
    }
    // A Find dialog needs no replacement buffer; success clears the error.
    FINDREPLACEA fr = Fr(FR_DOWN);
    fr.lpstrReplaceWith = nullptr;
    fr.wReplaceWithLen = 0;
    HWND dlg = FindTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    DestroyWindow(dlg);
}

struct HookLog {
    LPARAM initParam = 0;
    bool blockFindNext = false;
    int commands = 0;
};

TEST_F(CommonDialogFindTest, AHookSeesTheStructureFirstAndMayKeepAButtonFromTheDialog)
{
    HookLog log;
    FINDREPLACEA fr = Fr(FR_DOWN | FR_ENABLEHOOK);
    fr.lCustData = reinterpret_cast<LPARAM>(&log);
    fr.lpfnHook = [](HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam) -> UINT_PTR {
        static HookLog* current = nullptr;
        if (msg == WM_INITDIALOG) {
            auto* f = reinterpret_cast<LPFINDREPLACEA>(lParam);
            current = reinterpret_cast<HookLog*>(f->lCustData);
            current->initParam = lParam;
            // The dialog has set itself up already: the caller's text is in the edit.
            char text[16] = {};
            GetDlgItemTextA(dlg, edt1, text, sizeof text);
            SetDlgItemTextA(dlg, edt1, (std::string(text) + "s").c_str());
            return TRUE;
        }
        if (msg == WM_COMMAND && current) {
            ++current->commands;
            if (LOWORD(wParam) == IDOK && current->blockFindNext)
                return TRUE;
        }
        return 0;
    };
    HWND dlg = g_dialog = FindTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(log.initParam, reinterpret_cast<LPARAM>(&fr));
    EXPECT_EQ(Text(dlg, edt1), "cats");

    log.blockFindNext = true;
    Click(dlg, IDOK);
    EXPECT_TRUE(g_heard.empty()) << "the hook took the button";
    EXPECT_GT(log.commands, 0);
    log.blockFindNext = false;
    Click(dlg, IDOK);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(Last().find, "cats");
    Click(dlg, IDCANCEL);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(CommonDialogFindTest, ATemplateOfTheCallersReplacesTheLayout)
{
    host::DialogTemplateBuilder b(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 0, 0, 160, 40, "Look For");
    b.Control("Edit", "", edt1, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 4, 4, 100, 12)
        .Control("Button", "Go", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 108, 4, 48, 14)
        .Control("Button", "Stop", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 108, 22, 48, 14);
    // The template as a loaded resource is: its bytes in memory.
    FINDREPLACEA fr = Fr(FR_DOWN | FR_ENABLETEMPLATEHANDLE);
    fr.hInstance = reinterpret_cast<HINSTANCE>(const_cast<DLGTEMPLATE*>(b.Get()));
    HWND dlg = g_dialog = FindTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    EXPECT_TRUE(IsWindowVisible(dlg));
    EXPECT_EQ(Caption(dlg), "Look For");
    EXPECT_EQ(Text(dlg, edt1), "cat");
    EXPECT_EQ(GetDlgItem(dlg, chx1), nullptr);
    TypeInto(dlg, edt1, "bird\r");
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_EQ(Last().find, "bird");
    EXPECT_TRUE(Last().flags & FR_DOWN) << "no direction buttons: the caller's direction stays";
    Click(dlg, IDCANCEL);
    EXPECT_FALSE(IsWindow(dlg));
}

TEST_F(CommonDialogFindTest, TheOwnersEndTakesTheDialogWithIt)
{
    FINDREPLACEA fr = Fr(FR_DOWN);
    HWND dlg = g_dialog = ReplaceTextA(&fr);
    ASSERT_NE(dlg, nullptr);
    DestroyWindow(owner_);
    EXPECT_FALSE(IsWindow(dlg));
}

}  // namespace
