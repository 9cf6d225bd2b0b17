// The uninstaller front end in this process (its question answered by the UI script), against the
// registration launcher, the wizard's stand-in and the system uninstaller's stand-in as processes
// of their own, under the test's drive map, system tree and sync namespace. The test holds the
// reader of the front end's mailslot.
#include "vluninst/UninstallFrontEnd.h"

#include "PeerSupport.h"
#include <host/Drives.h>
#include <host/Paths.h>
#include <host/UiScript.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

constexpr char kQuestion[] = "Are you sure that you want to Uninstall the Veltra Jubilee 2000 Application?";

class UninstallTest : public ::testing::Test {
protected:
    TempDir root;

    fs::path C() const { return root.path() / "c"; }
    fs::path Product() const { return C() / "VL"; }

    void SetUp() override
    {
        fs::create_directories(C() / "system");
        std::string drives = "C=" + C().string() + ",fixed,SETUP";
        setenv("VL_DRIVES", drives.c_str(), 1);
        setenv("VL_SYSTEM_ROOT", (C() / "system").c_str(), 1);
        setenv("VL_PEER_REPORT", (root.path() / "report.txt").c_str(), 1);
        host::ResetDrives();
        host::SetSystemRoot("");
        host::ResetUiScript();
    }
    void TearDown() override
    {
        for (const char* name : {"VL_DRIVES", "VL_SYSTEM_ROOT", "VL_PEER_REPORT"})
            unsetenv(name);
        host::ResetDrives();
        host::SetSystemRoot("");
        host::ResetUiScript();
    }

    static void Copy(const fs::path& from, const fs::path& to)
    {
        fs::create_directories(to.parent_path());
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
    static void Write(const fs::path& path, const std::string& text)
    {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
    }
    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }

    // An installed product: the launcher, the wizard, a registration record, the program files
    // named in the uninstall log, a download folder with two files and a sub-folder, and a note
    // of the user's that the log does not name. The uninstaller sits in C:\WIN.
    void Install()
    {
        Copy(VL_VORBEXE_PROGRAM, Product() / "vorbexe");
        Copy(VL_VORB_LIBRARY, Product() / "vorb.dll");
        Write(Product() / "PRODREG.DAT", "[PRODUCT]\r\nPRODUCTNAME=Veltra Jubilee 2000\r\nPRODUCTNUM=VJ2000\r\n");
        Write(Product() / "REG.REG", "[Veltra Jubilee 2000]\r\nSTATUS=7\r\n");
        Write(Product() / "program.dat", "program");
        Write(Product() / "data" / "topic.dat", "topic");
        Write(Product() / "download" / "up1.rcv", "update");
        Write(Product() / "download" / "online.tmp", "manifest");
        Write(Product() / "download" / "keep" / "inner.txt", "inner");
        Write(Product() / "mynotes.txt", "the user's");
        Write(C() / "outside.txt", "outside the folder");
        Write(Product() / "uninst.log",
              "C:\\VL\\vorbexe\r\nC:\\VL\\vorb.dll\r\nC:\\VL\\PRODREG.DAT\r\nC:\\VL\\REG.REG\r\nC:\\VL\\program.dat\r\n"
              "C:\\VL\\data\\topic.dat\r\nC:\\VL\\..\\outside.txt\r\nC:\\outside.txt\r\nC:\\VL\\uninst.log\r\n");
        Copy(VL_UNINST_PROGRAM, C() / "WIN" / "uninst");
    }
    std::string WizardLog() const
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectory(windows, MAX_PATH);
        return Read(host::ToHostPath(std::string(windows) + "\\VORB.LOG").value_or(""));
    }
};

// The three refusals, each with its message and exit code; nothing is asked or deleted.
TEST_F(UninstallTest, RefusesAnUnusableCommandLine)
{
    Install();
    fs::remove(Product() / "vorbexe");
    const struct {
        const char* commandLine;
        int code;
        const char* text;
    } cases[] = {
        {"   ", 1, "This application needs to receive the Uninstall\nlog information on the command line."},
        {"  C:\\WIN\\uninst.exe", 6, "The Command line contains invalid Uninstall log information."},
        {"C:\\WIN\\uninst.exe C:\\VL\\uninst.log", 2,
         "The Registration Uninstaller program VorbExe is not\npresent in the target directory.  Cannot uninstall."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        host::ResetUiScript();
        host::AnswerMessageBox("", IDOK);
        EXPECT_EQ(RunUninstallFrontEnd(nullptr, c.commandLine), c.code);
        auto boxes = host::MessageBoxLog();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, c.text);
        EXPECT_EQ(boxes[0].caption, "Veltra Jubilee 2000 Uninstaller");
        EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONSTOP));
    }
    EXPECT_TRUE(fs::exists(Product() / "download" / "up1.rcv"));
}

// No leaves everything in place: no registration step, no download file deleted.
TEST_F(UninstallTest, NoLeavesTheProductAlone)
{
    Install();
    host::AnswerMessageBox(kQuestion, IDNO);
    EXPECT_EQ(RunUninstallFrontEnd(nullptr, "C:\\WIN\\uninst.exe C:\\VL\\uninst.log"), 0);
    EXPECT_EQ(WizardLog(), "");
    EXPECT_TRUE(fs::exists(Product() / "REG.REG"));
    EXPECT_TRUE(fs::exists(Product() / "download" / "up1.rcv"));
    EXPECT_TRUE(fs::exists(Product() / "program.dat"));
}

LRESULT CALLBACK DecoyProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_COMMAND)
        SetWindowLongPtr(hwnd, GWLP_USERDATA, static_cast<LONG_PTR>(wParam) + 1);
    return DefWindowProc(hwnd, message, wParam, lParam);
}

// Yes: the wizard's uninstall step, the download folder emptied (its sub-folder kept), the
// uninstaller started and its process id sent to the mailslot's reader, its question answered,
// exactly the logged files inside the folder deleted, and the front end ending with it. A
// "Confirm File Deletion" window of another process (here, this one) is left unanswered.
TEST_F(UninstallTest, YesRemovesTheInstalledFilesThroughTheUninstaller)
{
    Install();
    HANDLE slot = CreateMailslot(kUninstallMailslot, 0, 0, nullptr);
    ASSERT_NE(slot, INVALID_HANDLE_VALUE);
    WNDCLASS wc{};
    wc.lpfnWndProc = DecoyProc;
    wc.lpszClassName = "DecoyConfirm";
    RegisterClass(&wc);
    HWND decoy = CreateWindow("DecoyConfirm", "Confirm File Deletion", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 200, 100,
                              nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(decoy, nullptr);

    host::AnswerMessageBox(kQuestion, IDYES);
    EXPECT_EQ(RunUninstallFrontEnd(nullptr, "  C:\\WIN\\uninst.exe C:\\VL\\uninst.log"), 0);

    EXPECT_NE(WizardLog().find("mode=9"), std::string::npos) << WizardLog();
    DWORD next = 0, count = 0;
    ASSERT_TRUE(GetMailslotInfo(slot, nullptr, &next, &count, nullptr));
    EXPECT_EQ(count, 1u);
    EXPECT_EQ(next, 4u);
    DWORD pid = 0, got = 0;
    ASSERT_TRUE(ReadFile(slot, &pid, sizeof pid, &got, nullptr));
    EXPECT_NE(pid, 0u);
    EXPECT_NE(pid, GetCurrentProcessId());
    CloseHandle(slot);

    EXPECT_EQ(GetWindowLongPtr(decoy, GWLP_USERDATA), 0) << "another program's window was answered";
    DestroyWindow(decoy);

    for (const char* gone : {"vorbexe", "vorb.dll", "PRODREG.DAT", "REG.REG", "program.dat", "data/topic.dat",
                             "uninst.log", "download/up1.rcv", "download/online.tmp"})
        EXPECT_FALSE(fs::exists(Product() / gone)) << gone;
    for (const char* kept : {"mynotes.txt", "download/keep/inner.txt"})
        EXPECT_TRUE(fs::exists(Product() / kept)) << kept;
    EXPECT_TRUE(fs::exists(C() / "outside.txt")) << "a logged file outside the folder was deleted";
}

// An uninstaller that never asks, a missing mailslot reader and an uninstaller that cannot start.
TEST_F(UninstallTest, EndsWithAnUninstallerThatNeverAsksOrCannotStart)
{
    Install();
    Copy(VL_PEER_PROGRAM, C() / "WIN" / "quiet");
    host::AnswerMessageBox(kQuestion, IDYES);
    EXPECT_EQ(RunUninstallFrontEnd(nullptr, "C:\\WIN\\quiet.exe C:\\VL\\uninst.log"), 0);
    EXPECT_TRUE(Eventually([&] { return fs::exists(root.path() / "report.txt"); }));
    EXPECT_FALSE(fs::exists(Product() / "download" / "up1.rcv"));

    host::ResetUiScript();
    Copy(VL_VORBEXE_PROGRAM, Product() / "vorbexe");
    host::AnswerMessageBox(kQuestion, IDYES);
    host::AnswerMessageBox("The uninstaller could not be started.", IDOK);
    EXPECT_EQ(RunUninstallFrontEnd(nullptr, "C:\\WIN\\missing.exe C:\\VL\\uninst.log"), 3);
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[1].caption, "Veltra Jubilee 2000 Uninstaller");
}

// The download folder: plain files only, no sub-folder entered, no link followed; a missing one
// is fine.
TEST_F(UninstallTest, EmptyingTheDownloadFolderKeepsSubFoldersAndLinks)
{
    host::MapDrive('C', C().string(), DRIVE_FIXED, "SETUP");
    EXPECT_EQ(EmptyDownloadFolder("C:\\VL"), 0);
    Write(Product() / "download" / "a.txt", "a");
    Write(Product() / "download" / "sub" / "b.txt", "b");
    Write(root.path() / "target.txt", "target");
    fs::create_symlink(root.path() / "target.txt", Product() / "download" / "link.txt");
    fs::permissions(Product() / "download" / "a.txt", fs::perms::owner_read);
    EXPECT_EQ(EmptyDownloadFolder("C:\\VL"), 1);
    EXPECT_FALSE(fs::exists(Product() / "download" / "a.txt"));
    EXPECT_TRUE(fs::exists(Product() / "download" / "sub" / "b.txt"));
    EXPECT_EQ(Read(root.path() / "target.txt"), "target");
}

}  // namespace
