// The preferences dialog and the disc-location dialog it opens: a session that changes every
// setting and the profile it leaves, the field checks with their messages, Cancel, the disc
// location's radio choices, and the dialog as the start-up prompts and Options run it.
#include "shell/CreditsWin.h"
#include "shell/LocateDiscDlg.h"
#include "shell/PreferencesDlg.h"

#include "base/DataFolders.h"
#include "base/VLMessages.h"

#include "resource.h"

#include "AppTestSupport.h"

#include <DialogDriver.h>

#include <host/UiScript.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

namespace dlg = ui::dialog;

const char kSection[] = VL_PRODUCT_SECTION;

// A main window that notes what is posted to it.
class CNotedMain : public CWnd {
public:
    std::vector<UINT> posted;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_REFRESH_TOOLS)
            posted.push_back(message);
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class PreferencesTest : public apptest::AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        ASSERT_TRUE(InstallAppProfilePath());
        std::filesystem::create_directories(dir.path() / "t" / "temp");
        dir.Write("t/prog/edit.exe", "MZ");
        dir.Write("t/prog/write.exe", "MZ");
        SetProfile(kSection, "TFL", "T:\\temp\\");
        SetProfile(kSection, "WPL", "T:\\prog\\edit.exe");
        SetProfile(kSection, "LPL", "n");
        SetProfile(kSection, "MP", "0");
        SetProfile(kSection, "DVA", "n");
    }
    void TearDown() override
    {
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        app->m_pMainWnd = nullptr;
        AppTest::TearDown();
    }
    void MakeMain()
    {
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0), "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                  CRect(0, 0, 800, 600), nullptr, 0));
        app->m_pMainWnd = &main;
    }
    static bool Checked(HWND dialog, int id) { return ::IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
    static bool Enabled(HWND dialog, int id) { return ::IsWindowEnabled(::GetDlgItem(dialog, id)) != FALSE; }
    // Types a field's text and leaves it for another control, which runs its check.
    static void Enter(HWND dialog, int id, const char* text, int next = IDC_PREF_DRIVE)
    {
        if (*text == '\0') {
            dlg::FocusOn(dialog, id);
            ::SendDlgItemMessage(dialog, id, WM_CLEAR, 0, 0);
        }
        dlg::TypeInto(dialog, id, text);
        dlg::FocusOn(dialog, next);
    }
    static void Press(HWND dialog, int id) { ::SendMessage(::GetDlgItem(dialog, id), BM_CLICK, 0, 0); dlg::Pump(dialog); }

    CNotedMain main;
};

TEST_F(PreferencesTest, ASessionThatChangesEverySettingWritesTheProductSection)
{
    MakeMain();
    dlg::Drive([&](HWND d) {
        // What the profile says, and the defaults where it says nothing.
        EXPECT_EQ("Any CD-ROM drive", dlg::Text(d, IDC_PREF_DRIVE));
        std::vector<std::string> drives = dlg::Items(d, IDC_PREF_DRIVE, true);
        ASSERT_EQ(24u, drives.size());
        EXPECT_EQ("D:", drives[1]);
        EXPECT_EQ("Z:", drives[23]);
        EXPECT_EQ("T:\\prog\\", dlg::Text(d, IDC_PREF_NOTES)) << "the program folder";
        EXPECT_EQ("T:\\temp\\", dlg::Text(d, IDC_PREF_PAGING));
        EXPECT_EQ("T:\\prog\\edit.exe", dlg::Text(d, IDC_PREF_EDITOR));
        EXPECT_EQ("Enable Video", dlg::Text(d, IDC_PREF_VIDEO));
        EXPECT_TRUE(Checked(d, IDC_PREF_PRINT_PICTURES));
        EXPECT_FALSE(Checked(d, IDC_PREF_LIMIT_PAGING));
        EXPECT_FALSE(Enabled(d, IDC_PREF_PAGING_LIMIT)) << "the limit waits for its box";
        EXPECT_FALSE(Enabled(d, IDC_PREF_PAGING_UNIT));
        EXPECT_TRUE(Checked(d, IDC_PREF_VIDEO));
        EXPECT_TRUE(Checked(d, IDC_PREF_SOUND));
        EXPECT_TRUE(Checked(d, IDC_PREF_ANIMATE));
        dlg::Screenshot(d, "preferences.png");

        ::SendDlgItemMessage(d, IDC_PREF_DRIVE, CB_SETCURSEL, 2, 0);  // "E:"
        // Folders that are not there yet are made at the reader's word.
        host::AnswerMessageBox("This path does not exist", IDOK);
        Enter(d, IDC_PREF_NOTES, "T:\\notes");
        EXPECT_EQ("T:\\notes\\", dlg::Text(d, IDC_PREF_NOTES));
        host::AnswerMessageBox("This path does not exist", IDOK);
        Enter(d, IDC_PREF_PAGING, "T:\\pages\\deep");
        EXPECT_EQ("T:\\pages\\deep\\", dlg::Text(d, IDC_PREF_PAGING));
        // The editor from the file dialog.
        host::AnswerCommonDialog("open", "T:\\prog\\write.exe");
        Press(d, IDC_PREF_EDITOR_BROWSE);
        EXPECT_EQ("T:\\prog\\write.exe", dlg::Text(d, IDC_PREF_EDITOR));
        Press(d, IDC_PREF_PRINT_PICTURES);
        Press(d, IDC_PREF_LIMIT_PAGING);
        EXPECT_TRUE(Enabled(d, IDC_PREF_PAGING_LIMIT));
        EXPECT_TRUE(Enabled(d, IDC_PREF_PAGING_UNIT));
        Enter(d, IDC_PREF_PAGING_LIMIT, "70000");
        EXPECT_EQ("65535", dlg::Text(d, IDC_PREF_PAGING_LIMIT)) << "the limit's ceiling";
        Press(d, IDC_PREF_VIDEO);
        Press(d, IDC_PREF_SOUND);
        Press(d, IDC_PREF_ANIMATE);
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, app->RunPreferencesDialog());
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "t" / "notes"));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "t" / "pages" / "deep"));
    const std::vector<std::pair<const char*, const char*>> expected = {
        {"CD1", "E:"},  {"SNL", "T:\\notes\\"}, {"TFL", "T:\\pages\\deep\\"}, {"WPL", "T:\\prog\\write.exe"},
        {"DGP", "y"},   {"LPL", "y"},           {"MP", "65535"},             {"DVA", "y"},
        {"DSC", "y"},   {"PAA", "n"},
    };
    for (const auto& [key, value] : expected)
        EXPECT_EQ(value, Profile(kSection, key)) << key;
    EXPECT_EQ("E:", Profile("File Locations", "CD1")) << "the drive steers the disc search";
    ui::PumpUntilIdle();
    EXPECT_EQ(std::vector<UINT>{VLM_REFRESH_TOOLS}, main.posted);

    // Back to any drive: CD1 leaves both sections; Cancel afterwards changes nothing.
    dlg::Drive([&](HWND d) {
        EXPECT_EQ("E:", dlg::Text(d, IDC_PREF_DRIVE));
        EXPECT_FALSE(Checked(d, IDC_PREF_PRINT_PICTURES));
        EXPECT_TRUE(Enabled(d, IDC_PREF_PAGING_LIMIT));
        ::SendDlgItemMessage(d, IDC_PREF_DRIVE, CB_SETCURSEL, 0, 0);
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, app->RunPreferencesDialog());
    EXPECT_EQ("", Profile(kSection, "CD1"));
    EXPECT_EQ("", Profile("File Locations", "CD1"));
    char raw[32] = "missing";
    ::GetPrivateProfileString(kSection, "CD1", "missing", raw, sizeof raw, "T:\\prog\\vl00i1se.ini");
    EXPECT_STREQ("missing", raw) << "removed, not emptied";

    dlg::Drive([&](HWND d) {
        Press(d, IDC_PREF_SOUND);
        ::SendDlgItemMessage(d, IDC_PREF_DRIVE, CB_SETCURSEL, 3, 0);
        Press(d, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, app->RunPreferencesDialog());
    EXPECT_EQ("y", Profile(kSection, "DSC"));
    EXPECT_EQ("", Profile(kSection, "CD1"));
}

TEST_F(PreferencesTest, BadEntriesSayWhyAndKeepTheOldValue)
{
    // A folder holding a file named like the probe is still a folder; a plain file is none.
    dir.Write("t/probe/Bogus.fil", "x");
    dir.Write("t/plainfile", "x");
    const std::string invalid =
        "Invalid path name. The following characters may not be used in a path name:\n    ' / ', ' : ',  ' ? ',  ' \" ',  ' < ',  ' > ',  ' | '";
    struct Case {
        int field;
        const char* typed;
        int answer;             // to the question asked, 0 when none is asked
        const char* message;    // the message shown, empty when none
        const char* kept;       // the field afterwards
    } cases[] = {
        {IDC_PREF_PAGING, "", 0, "Path cannot be empty.", "T:\\temp\\"},
        {IDC_PREF_PAGING, "D:\\A*B", 0, invalid.c_str(), "T:\\temp\\"},
        {IDC_PREF_PAGING, "T:\\a:b", 0, invalid.c_str(), "T:\\temp\\"},
        {IDC_PREF_NOTES, "T:\\x|y", 0, invalid.c_str(), "T:\\prog\\"},
        {IDC_PREF_PAGING, "T:\\probe", 0, "", "T:\\probe\\"},
        {IDC_PREF_PAGING, "T:\\plainfile", IDCANCEL, "This path does not exist. Would you like to create it?", "T:\\probe\\"},
        {IDC_PREF_PAGING, "T:\\plainfile\\below", IDOK, "Unable to create new path.", "T:\\probe\\"},
        {IDC_PREF_EDITOR, "T:\\prog\\none.exe", 0, "Unable to find this file.", "T:\\prog\\edit.exe"},
        {IDC_PREF_EDITOR, "T:\\prog", 0, "Unable to find this file.", "T:\\prog\\edit.exe"},
    };
    dlg::Drive([&](HWND d) {
        for (const Case& c : cases) {
            SCOPED_TRACE(c.typed);
            host::ResetUiScript();
            if (c.answer != 0)
                host::AnswerMessageBox("This path does not exist", c.answer);
            if (*c.message != '\0' && c.answer == 0)
                host::AnswerMessageBox(c.message, IDOK);
            if (c.answer == IDOK)
                host::AnswerMessageBox(c.message, IDOK);
            Enter(d, c.field, c.typed);
            EXPECT_EQ(c.kept, dlg::Text(d, c.field));
            std::vector<std::string> shown;
            for (const host::MessageBoxRecord& box : host::MessageBoxLog())
                shown.push_back(box.text);
            if (*c.message == '\0')
                EXPECT_TRUE(shown.empty());
            else if (shown.empty())
                ADD_FAILURE() << "no message";
            else
                EXPECT_EQ(c.message, shown.back());
        }
        // The limit takes digits only: a pasted letter is refused and the old value stays.
        Press(d, IDC_PREF_LIMIT_PAGING);
        Enter(d, IDC_PREF_PAGING_LIMIT, "1200");
        ::SetDlgItemText(d, IDC_PREF_PAGING_LIMIT, "12a");
        dlg::FocusOn(d, IDC_PREF_PAGING_LIMIT);
        dlg::FocusOn(d, IDC_PREF_DRIVE);
        EXPECT_EQ("1200", dlg::Text(d, IDC_PREF_PAGING_LIMIT));
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, app->RunPreferencesDialog());
    EXPECT_EQ("T:\\probe\\", Profile(kSection, "TFL"));
    EXPECT_EQ("T:\\prog\\edit.exe", Profile(kSection, "WPL"));
    EXPECT_EQ("1200", Profile(kSection, "MP"));
    EXPECT_FALSE(std::filesystem::exists(dir.path() / "t" / "plainfile" / "below"));
}

TEST_F(PreferencesTest, TheDiscLocationIsAnyDriveOrAFolderThatExists)
{
    std::filesystem::create_directories(dir.path() / "t" / "copy" / "info_dat");
    dlg::Drive([&](HWND d) {
        dlg::Drive([&](HWND locate) {
            // Any drive chosen: the location and its browse button wait.
            EXPECT_TRUE(Checked(locate, IDC_LOCATE_ANY_DRIVE));
            EXPECT_FALSE(Checked(locate, IDC_LOCATE_FOLDER));
            EXPECT_FALSE(Enabled(locate, IDC_LOCATE_PATH));
            EXPECT_FALSE(Enabled(locate, IDC_LOCATE_BROWSE));
            dlg::Click(locate, IDC_LOCATE_FOLDER);
            EXPECT_TRUE(Enabled(locate, IDC_LOCATE_PATH));
            EXPECT_TRUE(Enabled(locate, IDC_LOCATE_BROWSE));
            host::AnswerMessageBox("No disc location specified.", IDOK);
            Press(locate, IDOK);
            EXPECT_TRUE(::IsWindowVisible(locate));
            host::AnswerMessageBox("The specified location does not exist.", IDOK);
            dlg::TypeInto(locate, IDC_LOCATE_PATH, "T:\\nowhere");
            Press(locate, IDOK);
            EXPECT_TRUE(::IsWindowVisible(locate));
            host::AnswerCommonDialog("folder", "T:\\copy");
            Press(locate, IDC_LOCATE_BROWSE);
            EXPECT_EQ("T:\\copy\\", dlg::Text(locate, IDC_LOCATE_PATH));
            Press(locate, IDOK);
        });
        Press(d, IDC_PREF_DISC_LOCATION);
        EXPECT_EQ("T:\\copy\\", dlg::Text(d, IDC_PREF_DRIVE));
        // Opened again on the location: its radio, its text; any drive chosen this time.
        dlg::Drive([&](HWND locate) {
            EXPECT_TRUE(Checked(locate, IDC_LOCATE_FOLDER));
            EXPECT_EQ("T:\\copy\\", dlg::Text(locate, IDC_LOCATE_PATH));
            EXPECT_TRUE(Enabled(locate, IDC_LOCATE_PATH));
            dlg::Click(locate, IDC_LOCATE_ANY_DRIVE);
            EXPECT_FALSE(Enabled(locate, IDC_LOCATE_PATH));
            Press(locate, IDOK);
        });
        Press(d, IDC_PREF_DISC_LOCATION);
        EXPECT_EQ("Any CD-ROM drive", dlg::Text(d, IDC_PREF_DRIVE));
        // Cancel keeps the choice made before.
        dlg::Drive([&](HWND locate) {
            dlg::Click(locate, IDC_LOCATE_FOLDER);
            dlg::TypeInto(locate, IDC_LOCATE_PATH, "T:\\copy");
            Press(locate, IDCANCEL);
        });
        Press(d, IDC_PREF_DISC_LOCATION);
        EXPECT_EQ("Any CD-ROM drive", dlg::Text(d, IDC_PREF_DRIVE));
        dlg::Drive([&](HWND locate) {
            dlg::Click(locate, IDC_LOCATE_FOLDER);
            dlg::TypeInto(locate, IDC_LOCATE_PATH, "T:\\copy");
            Press(locate, IDOK);
        });
        Press(d, IDC_PREF_DISC_LOCATION);
        Press(d, IDOK);
    });
    EXPECT_EQ(IDOK, app->RunPreferencesDialog());
    EXPECT_EQ("T:\\copy\\", Profile(kSection, "CD1"));
    EXPECT_EQ("T:\\copy\\info_dat\\", Profile("Files", "DataDir")) << "the copy's data folder is searched";

    // A later choice of any drive, or of a drive, wins: the folder chosen before is searched no
    // more.
    for (int drive : {0, 2}) {
        SCOPED_TRACE(drive);
        SetProfile(kSection, "CD1", "T:\\copy\\");
        SetProfile("Files", "DataDir", "T:\\copy\\info_dat\\");
        dlg::Drive([&](HWND d) {
            EXPECT_EQ("T:\\copy\\", dlg::Text(d, IDC_PREF_DRIVE));
            ::SendDlgItemMessage(d, IDC_PREF_DRIVE, CB_SETCURSEL, static_cast<WPARAM>(drive), 0);
            Press(d, IDOK);
        });
        EXPECT_EQ(IDOK, app->RunPreferencesDialog());
        EXPECT_EQ("", Profile("Files", "DataDir"));
        EXPECT_EQ(drive == 0 ? "" : "E:", Profile("File Locations", "CD1"));
    }
    // A data folder that setup wrote (no folder chosen here) is left alone.
    SetProfile(kSection, "CD1", "");
    SetProfile("Files", "DataDir", "T:\\installed\\info_dat\\");
    dlg::Drive([&](HWND d) { Press(d, IDOK); });
    EXPECT_EQ(IDOK, app->RunPreferencesDialog());
    EXPECT_EQ("T:\\installed\\info_dat\\", Profile("Files", "DataDir"));
}

TEST_F(PreferencesTest, AMissingDiscAtStartUpOffersThePreferences)
{
    host::UnmapDrive('S');
    RestoreFrameworkProfileName();
    ResetProgramState();
    MakeApp();
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    bool offered = false;
    dlg::Drive([&](HWND d) {
        offered = dlg::Text(d, IDC_PREF_DRIVE) == "Any CD-ROM drive";
        Press(d, IDCANCEL);
    });
    host::AnswerMessageBox("The Veltra CD #1 could not be located.", IDOK);
    EXPECT_FALSE(Start(-1));
    EXPECT_TRUE(offered);
}

}  // namespace

// The running program: Options runs the dialog over the frame, and OK tells the frame; About runs
// the About window from the disc's pages.
class RunningPreferencesTest : public apptest::AppTest {};

// Options with a drive that holds no disc: the disc is asked for, the preferences again (Cancel),
// and then every disc setting the dialog wrote is undone, so that the disc is found where it was
// found before, with no further question.
TEST_F(RunningPreferencesTest, OptionsUndoesADiscChoiceThatFindsNoDisc)
{
    ASSERT_TRUE(Start(apptest::kBrowseRow));
    CWnd* pFrame = app->m_pMainWnd;
    ASSERT_NE(nullptr, pFrame);
    ui::PumpUntilIdle();
    dlg::Drive([&](HWND d) {
        ::SendDlgItemMessage(d, IDC_PREF_DRIVE, CB_SETCURSEL, 2, 0);  // "E:", no disc there
        ::SendMessage(::GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
        dlg::Pump(d);
    });
    host::AnswerMessageBox("Please insert disc 1 into drive E:", IDCANCEL);
    dlg::Drive([&](HWND d) { ::SendMessage(::GetDlgItem(d, IDCANCEL), BM_CLICK, 0, 0); });
    pFrame->SendMessage(WM_COMMAND, ID_OPTIONS);
    ui::PumpUntilIdle();
    EXPECT_EQ("", Profile(kSection, "CD1"));
    EXPECT_EQ("", Profile("File Locations", "CD1")) << "the drive that failed is searched no more";
    EXPECT_EQ(1u, host::MessageBoxLog().size()) << "the disc is found again without a question";
    CString strDir;
    EXPECT_TRUE(GetDataDir(strDir, DDT_INFO_DAT, 1, FALSE));
    EXPECT_EQ(CString("S:\\info_dat\\"), strDir);
}

TEST_F(RunningPreferencesTest, OptionsAndAboutOpenTheirWindowsOverTheFrame)
{
    ASSERT_TRUE(Start(apptest::kBrowseRow));
    CWnd* pFrame = app->m_pMainWnd;
    ASSERT_NE(nullptr, pFrame);
    ui::PumpUntilIdle();
    bool ranOverFrame = false;
    dlg::Drive([&](HWND d) {
        ranOverFrame = ::GetParent(d) == pFrame->GetSafeHwnd() || ::GetWindow(d, GW_OWNER) == pFrame->GetSafeHwnd();
        ::SendMessage(::GetDlgItem(d, IDC_PREF_ANIMATE), BM_CLICK, 0, 0);
        ::SendMessage(::GetDlgItem(d, IDOK), BM_CLICK, 0, 0);
        dlg::Pump(d);
    });
    pFrame->SendMessage(WM_COMMAND, ID_OPTIONS);
    ui::PumpUntilIdle();
    EXPECT_TRUE(ranOverFrame);
    EXPECT_EQ("n", Profile(kSection, "PAA"));

    std::string heading;
    host::RunInNextModalLoop([&](HWND window) {
        char title[64] = {};
        ::GetWindowText(window, title, sizeof title);
        heading = title;
        ::SendMessage(::GetDlgItem(window, ID_CREDITS_CLOSE), BM_CLICK, 0, 0);
        ui::PumpUntilIdle();
    });
    pFrame->SendMessage(WM_COMMAND, ID_ABOUT_VELTRA);
    EXPECT_EQ("About Veltra Jubilee 2000", heading);
    EXPECT_TRUE(pFrame->IsWindowEnabled());
}
