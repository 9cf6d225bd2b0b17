// The download folder: the Delete Downloaded Files dialog and what each choice removes, the
// online configuration dialog's checks, the folder move after it, and the folders that may never
// hold downloads (every pattern deletion would run there).
#include "CloudTestSupport.h"

#include "base/DataFolders.h"
#include "online/OnlineConfigDlg.h"

#include <fstream>
#include <set>

using namespace cloudtest;

namespace {

class DownloadFolderTest : public CloudTest {
protected:
    void SetUp() override
    {
        CloudTest::SetUp();
        std::filesystem::create_directories(Host("dl"));
        SetProfile("Online", "Download", "T:\\dl\\");
    }
    void Put(const std::string& relative, const std::string& bytes = "x") const { dir.Write("t/" + relative, bytes); }
    std::set<std::string> Files(const std::string& relative) const
    {
        std::set<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(Host(relative)))
            names.insert(entry.path().filename().string());
        return names;
    }
};

TEST_F(DownloadFolderTest, DeleteDownloadsRemovesOnlyDownloadNamesOfTheChosenKind)
{
    // The folder as a session leaves it: two articles and a picture of this session, older
    // downloads, message libraries, a read-only download, and files that are no downloads.
    for (const char* name : {"000001.rcv", "000002.rcv", "pc000003.grf", "000009.rcv", "md1234.dll", "md1234.sig",
                             "000010.rcv", "notes.txt", "readme.rcv", "mdbad!.dll", "online.upd"})
        Put(std::string("dl/") + name);
    std::filesystem::create_directories(Host("dl/000011.rcv"));  // a folder, never removed
    Put("dl/000011.rcv/inside.txt");
    ASSERT_TRUE(SetFileAttributes("T:\\dl\\000010.rcv", FILE_ATTRIBUTE_READONLY));
    CCloud& manager = NewCloud();
    for (const char* name : {"000001.rcv", "pc000003.grf", "..\\elsewhere.rcv"})
        manager.GetDownloadedFiles().Add(name);
    Put("elsewhere.rcv");

    // Cancel removes nothing and keeps the session's list.
    ui::dialog::Drive([](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Delete Downloaded Files");
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1037), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1038), static_cast<UINT>(BST_UNCHECKED));
        EXPECT_EQ(ui::dialog::Text(dlg, 1037), "Delete articles downloaded this session");
        EXPECT_EQ(ui::dialog::Text(dlg, 1038), "Delete all downloaded articles");
        ui::dialog::Screenshot(dlg, "online-delete-downloads-192.png");
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    manager.DeleteDownloads();
    EXPECT_EQ(Files("dl").size(), 12u);
    EXPECT_EQ(manager.GetDownloadedFiles().GetSize(), 3);

    // This session's: only the names in the list, only in the download folder.
    ui::dialog::Drive([](HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDOK, 0); });
    manager.DeleteDownloads();
    EXPECT_EQ(Files("dl").count("000001.rcv"), 0u);
    EXPECT_EQ(Files("dl").count("pc000003.grf"), 0u);
    EXPECT_EQ(Files("dl").count("000002.rcv"), 1u);
    EXPECT_TRUE(std::filesystem::exists(Host("elsewhere.rcv")));
    EXPECT_EQ(manager.GetDownloadedFiles().GetSize(), 0);

    // All: every download name but the read-only one; other files and folders stay.
    ui::dialog::Drive([](HWND dlg) {
        ui::dialog::Click(dlg, 1038);
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    manager.DeleteDownloads();
    EXPECT_EQ(Files("dl"), (std::set<std::string>{"000010.rcv", "notes.txt", "readme.rcv", "mdbad!.dll",
                                                   "online.upd", "000011.rcv"}));
    EXPECT_TRUE(Boxes().empty());
}

TEST_F(DownloadFolderTest, PatternDeletionNeverRunsInAFolderThatIsNoDownloadFolder)
{
    // The profile names the program folder (or the root) as the download folder.
    for (const char* folder : {"T:\\prog\\", "T:\\", "T:\\missing\\"}) {
        SCOPED_TRACE(folder);
        SetProfile("Online", "Download", folder);
        Put("prog/000001.rcv");
        Put("000001.rcv");
        CCloud& manager = NewCloud();
        manager.DeleteDownloadedFiles(CCloud::deleteAll);
        EXPECT_TRUE(std::filesystem::exists(Host("prog/000001.rcv")));
        EXPECT_TRUE(std::filesystem::exists(Host("000001.rcv")));
    }
}

TEST_F(DownloadFolderTest, TheFoldersThatMayNeverHoldDownloads)
{
    SetEnvironmentVariable("USERPROFILE", "T:\\home");
    std::filesystem::create_directories(Host("home"));
    std::filesystem::create_directories(Host("good"));
    Put("afile");
    const struct {
        const char* path;
        bool usable;
    } cases[] = {
        {"", false},         {"\\", false},          {"T:\\", false},        {"T:", false},
        {"T:\\prog", false}, {"t:\\PROG\\", false},  {"T:\\home\\", false},  {"T:\\missing", false},
        {"T:\\afile", false}, {"T:\\good", true},    {"T:\\good\\", true},   {"T:\\dl", true},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CCloud::IsDownloadDirUsable(c.path), c.usable) << c.path;
    SetEnvironmentVariable("USERPROFILE", NULL);

    // The program's own download folder is made when missing.
    CCloud& manager = NewCloud();
    EXPECT_TRUE(manager.PrepareDownloadDir());
    EXPECT_TRUE(std::filesystem::is_directory(Host("prog/download")));
    EXPECT_EQ(Profile("Online", "Download"), "T:\\prog\\download\\");
    EXPECT_TRUE(CCloud::IsDownloadDirValid("T:\\prog\\download\\"));
}

TEST_F(DownloadFolderTest, TheConfigurationDialogChecksTheFolderItIsGiven)
{
    std::filesystem::create_directories(Host("new"));
    const std::string longText(256, 'a');
    struct Step {
        std::string typed;
        std::vector<std::pair<std::string, int>> answers;  // boxes and the reader's answers
        bool ends;
    };
    const struct {
        const char* name;
        std::vector<Step> steps;
        std::string result;
    } cases[] = {
        {"a folder with its trailing backslash is checked without it", {{"T:\\new\\", {}, true}}, "T:\\new\\"},
        {"empty: Yes keeps the dialog, No takes it",
         {{"", {{"No download directory is specified.  Do you want to enter one?", IDYES}}, false},
          {"", {{"No download directory is specified.  Do you want to enter one?", IDNO}}, true}},
         ""},
        {"missing: Yes keeps the dialog, No takes it as typed",
         {{"T:\\nowhere\\",
           {{"The \"T:\\nowhere\" directory does not exist or is not a directory.  Do you want to enter another one?",
             IDYES}},
           false},
          {"T:\\nowhere\\", {{"The \"T:\\nowhere\" directory does not exist", IDNO}}, true}},
         "T:\\nowhere\\"},
        {"256 characters are refused",
         {{longText, {{"Please enter no more than 255 characters.", IDOK}}, false}, {"T:\\new", {}, true}},
         "T:\\new"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ui::dialog::Drive([&](HWND dlg) {
            EXPECT_EQ(ui::dialog::Text(dlg, 182), "T:\\dl\\");
            // No online manager: the provider's configuration is not offered.
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 183)));
            // The edit takes at most 255 characters; unlimited, the data exchange refuses more.
            EXPECT_EQ(SendDlgItemMessageA(dlg, 182, EM_GETLIMITTEXT, 0, 0), 255);
            SendDlgItemMessageA(dlg, 182, EM_LIMITTEXT, 1000, 0);
            for (const Step& step : c.steps) {
                SetDlgItemTextA(dlg, 182, step.typed.c_str());
                for (const auto& [box, answer] : step.answers)
                    host::AnswerMessageBox(box, answer);
                SendMessageA(dlg, WM_COMMAND, IDOK, 0);
                ui::dialog::Pump(dlg);
                EXPECT_EQ(IsWindowVisible(dlg) == FALSE, step.ends) << step.typed;
            }
        });
        COnlineConfigDlg dlg(NULL);
        dlg.m_strFolder = "T:\\dl\\";
        EXPECT_EQ(dlg.DoModal(), IDOK);
        EXPECT_EQ(std::string(static_cast<LPCSTR>(dlg.m_strFolder)), c.result);
        EXPECT_EQ(host::PendingMessageBoxAnswers(), 0u);
    }
}

TEST_F(DownloadFolderTest, TheConfigureButtonRunsTheProvidersConfigurationWhenItMay)
{
    Provider();
    CCloud& manager = NewCloud();
    ASSERT_EQ(manager.Initialize(), 1);
    Answer("isconnected", PTX_NOT_ESTABLISHED);
    manager.RefreshState();
    // A main window whose online view has been made.
    CWnd frame, onlineView;
    ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0), "frame", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), NULL, 0));
    ASSERT_TRUE(onlineView.CreateEx(0, AfxRegisterWndClass(0), "online", WS_CHILD, CRect(0, 0, 10, 10), &frame, 8009));
    app.m_pMainWnd = &frame;
    const UINT lastUpdate = RegisterWindowMessageA("VL:UPDATE LASTUPDATE");

    ui::dialog::Drive([&](HWND dlg) {
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, 183)));
        ui::dialog::Screenshot(dlg, "online-configure-175.png");
        // Off line: the engine's own dialog (left unchanged), then the view is told.
        ui::dialog::Drive([](HWND engineDlg) { SendMessageA(engineDlg, WM_COMMAND, IDCANCEL, 0); });
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(183, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 183)));
        MSG msg;
        EXPECT_TRUE(PeekMessageA(&msg, onlineView.GetSafeHwnd(), lastUpdate, lastUpdate, PM_REMOVE));
        // Connected by this program: not while it is up.
        Answer("isconnected", PTX_ESTABLISHED);
        host::AnswerMessageBox("You must disconnect before changing the online configuration.", IDOK);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(183, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 183)));
        // Downloading: not at all.
        manager.SetDownloading(TRUE);
        manager.RefreshState();
        host::AnswerMessageBox("ISP cannot be changed while downloading is in progress.", IDOK);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(183, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 183)));
        manager.SetDownloading(FALSE);
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    COnlineConfigDlg dlg(&frame);
    dlg.m_strFolder = "T:\\dl\\";
    EXPECT_EQ(dlg.DoModal(), IDCANCEL);
    EXPECT_NE(Calls().find("isconnected"), std::string::npos);
    app.m_pMainWnd = NULL;
    onlineView.DestroyWindow();
    frame.DestroyWindow();
    EndCloud();
}

class FolderMoveTest : public DownloadFolderTest {
protected:
    // Runs the configuration dialog with the folder typed and OK.
    void Move(const std::string& typed)
    {
        ui::dialog::Drive([typed](HWND dlg) {
            SetDlgItemTextA(dlg, 182, typed.c_str());
            SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        });
        cloud->RunConfigurationDialog();
    }
};

TEST_F(FolderMoveTest, ANewFolderGetsACopyOfTheOldFilesAndIsTaken)
{
    Put("dl/000001.rcv", "article");
    Put("dl/online.upd", "manifest");
    std::filesystem::create_directories(Host("dl/sub"));
    std::filesystem::create_directories(Host("new"));
    Put("new/online.upd", "old manifest");
    NewCloud();
    host::AnswerMessageBox("Please Wait while the new cache directory is prepared", IDOK);
    Move("T:\\new");
    EXPECT_EQ(Profile("Online", "Download"), "T:\\new\\");
    EXPECT_EQ(dir.Read("t/new/000001.rcv"), "article");
    EXPECT_EQ(dir.Read("t/new/online.upd"), "manifest");
    EXPECT_FALSE(std::filesystem::exists(Host("new/sub")));
    EXPECT_TRUE(std::filesystem::exists(Host("dl/000001.rcv")));  // the old files stay
    const auto log = host::MessageBoxLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));

    // The same folder again, also spelt otherwise: nothing to do, nothing copied onto itself.
    Move("T:\\new\\");
    Move("t:\\NEW\\..\\new");
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(dir.Read("t/new/000001.rcv"), "article");
    EXPECT_EQ(Profile("Online", "Download"), "T:\\new\\");
}

TEST_F(FolderMoveTest, AFailedCopyOrAnUnlistableOldFolderKeepsTheOldOne)
{
    const std::string wait = "Please Wait while the new cache directory is prepared";
    // A copy that fails part way: a folder in the way of one file.
    Put("dl/000001.rcv", "article");
    Put("dl/000002.rcv", "article");
    std::filesystem::create_directories(Host("new/000002.rcv"));
    NewCloud();
    host::AnswerMessageBox(wait, IDOK);
    host::AnswerMessageBox("Unable to create the new cache directory\nPlease be sure the path entered is a valid directory", IDOK);
    Move("T:\\new\\");
    EXPECT_EQ(Profile("Online", "Download"), "T:\\dl\\");
    EXPECT_TRUE(std::filesystem::exists(Host("dl/000001.rcv")));
    EXPECT_TRUE(std::filesystem::exists(Host("dl/000002.rcv")));

    // The old folder's name is a file's: it cannot be listed.
    Put("oldfile", "x");
    SetProfile("Online", "Download", "T:\\oldfile\\");
    std::filesystem::create_directories(Host("other"));
    host::AnswerMessageBox(wait, IDOK);
    host::AnswerMessageBox("Unable to open the old cache directory\nPlease be sure the path entered is a valid directory", IDOK);
    Move("T:\\other");
    EXPECT_EQ(Profile("Online", "Download"), "T:\\oldfile\\");

    // An old folder that was never made holds nothing to carry: the new one is taken.
    SetProfile("Online", "Download", "T:\\never\\");
    host::AnswerMessageBox(wait, IDOK);
    Move("T:\\other");
    EXPECT_EQ(Profile("Online", "Download"), "T:\\other\\");
}

TEST_F(FolderMoveTest, TheRootTheHomeAndTheProgramFolderAreRefused)
{
    SetEnvironmentVariable("USERPROFILE", "T:\\home");
    std::filesystem::create_directories(Host("home"));
    NewCloud();
    for (const char* typed : {"T:\\", "T:\\home", "T:\\prog\\", "\\"}) {
        SCOPED_TRACE(typed);
        // A lone backslash names no folder: the dialog asks, and No takes it as typed.
        if (std::string(typed) == "\\")
            host::AnswerMessageBox("The \"\" directory does not exist", IDNO);
        std::string refused = std::string("The folder \"") + typed +
                              "\" cannot be used for downloaded files.  The download directory was not changed.";
        host::AnswerMessageBox(refused, IDOK);
        Move(typed);
        EXPECT_EQ(Profile("Online", "Download"), "T:\\dl\\");
    }
    // Empty, accepted by the dialog's No, is refused too.
    host::AnswerMessageBox("No download directory is specified.", IDNO);
    host::AnswerMessageBox("The folder \"\" cannot be used for downloaded files.", IDOK);
    Move("");
    EXPECT_EQ(Profile("Online", "Download"), "T:\\dl\\");
    SetEnvironmentVariable("USERPROFILE", NULL);
}

}  // namespace
