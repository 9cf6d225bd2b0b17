// The utilities of the connection library: file tests and searches, the browser search, command
// lines, dialog heights, and the installation of the sockets bridge.
#include "ConnectTestSupport.h"

#include <portix/Status.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using PortixUtilities = PortixTest;

// A file held open without sharing, as another program holding it would.
struct Locked {
    explicit Locked(const char* path)
        : handle(CreateFile(path, GENERIC_READ | GENERIC_WRITE, 0, NULL, OPEN_EXISTING, 0, NULL))
    {
    }
    ~Locked()
    {
        if (handle != INVALID_HANDLE_VALUE)
            CloseHandle(handle);
    }
    HANDLE handle;
};

std::string Current()
{
    char folder[MAX_PATH];
    GetCurrentDirectory(MAX_PATH, folder);
    return folder;
}

TEST_F(PortixUtilities, FileExistsAlsoWhenHeldWithoutSharing)
{
    Write("prog/present.dll", "x");
    EXPECT_TRUE(dlrFileExist("T:\\prog\\present.dll"));
    EXPECT_TRUE(dlrFileExist("t:\\PROG\\Present.DLL"));
    EXPECT_FALSE(dlrFileExist("T:\\prog\\absent.dll"));
    EXPECT_FALSE(dlrFileExist("T:\\nofolder\\absent.dll"));
    EXPECT_FALSE(dlrFileExist(""));
    Locked locked("T:\\prog\\present.dll");
    ASSERT_NE(locked.handle, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(dlrFileExist("T:\\prog\\present.dll"));
}

TEST_F(PortixUtilities, CommandLinesGiveTheirProgram)
{
    struct Case {
        const char* line;
        const char* program;
    };
    const Case cases[] = {
        {"C:\\Program Files\\Browser\\browse.exe -nohome", "C:\\Program Files\\Browser\\browse.exe"},
        {"\"C:\\Program Files\\Browser\\browse.exe\" %1", "\"C:\\Program Files\\Browser\\browse.exe\""},
        {"C:\\BROWSER\\NAV.EXE", "C:\\BROWSER\\NAV.EXE"},
        {"C:\\execs\\run.exe /x", "C:\\execs\\run.exe"},  // "exe" inside a folder name is not the program's
        {"browse.exe -nohome", ""},                       // no folder
        {"C:\\tools\\readme.txt", ""},                    // no program
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_STREQ(dlrFileAndPath(c.line), c.program) << c.line;
    EXPECT_STREQ(dlrFileAndPath(NULL), "");
}

TEST_F(PortixUtilities, DialogHeightOfTheCallersTemplates)
{
    EXPECT_EQ(dlrGetDialogHeight(100), 77);
    EXPECT_EQ(dlrGetDialogHeight(101), 88);
    EXPECT_EQ(dlrGetDialogHeight(999), 0);
}

TEST_F(PortixUtilities, SearchForFileByAbsolutePaths)
{
    Write("tree/a/readme.txt", "");
    Write("tree/b/c/target.exe", "");
    Write("tree/d/target.exe", "");
    Write("tree/d/companion/lib.dll", "");
    std::filesystem::create_directory_symlink(Host("tree"), Host("tree/a/loop"));
    std::filesystem::create_directories(Host("elsewhere"));
    Write("elsewhere/hidden.exe", "");
    std::filesystem::create_directory_symlink(Host("elsewhere"), Host("tree/a/link"));
    ASSERT_TRUE(SetCurrentDirectory("T:\\prog"));

    char* found = dlrSearchForFile("target.exe", "T:\\tree", NULL);
    ASSERT_NE(found, nullptr);
    std::string path = found;
    delete[] found;
    EXPECT_TRUE(path == "T:\\tree\\b\\c\\target.exe" || path == "T:\\tree\\d\\target.exe") << path;

    found = dlrSearchForFile("target.exe", "T:\\tree\\", "companion\\lib.dll");
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, "T:\\tree\\d\\target.exe") << "only the find with its companion counts";
    delete[] found;

    EXPECT_EQ(dlrSearchForFile("hidden.exe", "T:\\tree", NULL), nullptr) << "symbolic links are not followed";
    EXPECT_EQ(dlrSearchForFile("absent.exe", "T:\\tree", NULL), nullptr);
    EXPECT_EQ(dlrSearchForFile("absent.exe", "T:\\nofolder", NULL), nullptr);
    // A relative start folder is the current folder's, which stays as it was.
    found = dlrSearchForFile("target.exe", "..\\tree\\d", NULL);
    ASSERT_NE(found, nullptr);
    EXPECT_STREQ(found, "T:\\tree\\d\\target.exe");
    delete[] found;
    EXPECT_EQ(Current(), "T:\\prog");
}

TEST_F(PortixUtilities, DefaultBrowserOnFixedDrivesOnly)
{
    // C: on a folder of its own; a CD-ROM with the first browser, a fixed drive with the second.
    TempDir c, d, e;
    host::MapDrive('C', c.str(), DRIVE_FIXED, "SYSTEM");
    host::MapDrive('D', d.str(), DRIVE_CDROM, "DISC");
    host::MapDrive('E', e.str(), DRIVE_FIXED, "DATA");
    d.Write("Netscape/netscape.exe", "");
    e.Write("Program Files/Plus/iexplore.exe", "");
    EXPECT_STREQ(dlrFindDefaultBrowser(), "E:\\Program Files\\Plus\\iexplore.exe");
    Write("Apps/Nav/netscape.exe", "");
    EXPECT_STREQ(dlrFindDefaultBrowser(), "T:\\Apps\\Nav\\netscape.exe") << "the first browser wins";
    std::filesystem::remove(e.path() / "Program Files/Plus/iexplore.exe");
    std::filesystem::remove(Host("Apps/Nav/netscape.exe"));
    EXPECT_STREQ(dlrFindDefaultBrowser(), "");
    EXPECT_EQ(Current(), "T:\\");
}

// What the sockets setup leaves in the program's folder.
struct SetupCase {
    const char* name;
    host::ReportedSystem system;
    BOOL install, keep;
    const char* present;  // files in T:\prog before, separated by blanks
    const char* locked;   // a file held without sharing, or ""
    int result;
    const char* after;    // the sockets files in T:\prog after, in this order, separated by blanks
};

std::string SocketsFiles(const std::filesystem::path& folder)
{
    std::string out;
    for (const char* name : {"winsock.dll", "wsa32srv.dll", "wsock32.dll", "mysock.dll"})
        if (std::filesystem::exists(folder / name))
            out += std::string(out.empty() ? "" : " ") + name;
    return out;
}

TEST_F(PortixUtilities, SetupWinsockOverInstallKeepAndPlatform)
{
    using S = host::ReportedSystem;
    const char* all = "winsock.dll wsa32srv.dll wsock32.dll";
    const char* thunks = "wsock32.thk wsa32srv.thk";
    const SetupCase cases[] = {
        {"removal, nothing there", S::WindowsNT, FALSE, FALSE, "", "", PTX_SUCCESS, ""},
        {"removal of all three", S::WindowsNT, FALSE, FALSE, all, "", PTX_SUCCESS, ""},
        {"winsock.dll held", S::WindowsNT, FALSE, FALSE, all, "winsock.dll", PTX_UNKNOWN_ERROR,
         "winsock.dll wsa32srv.dll wsock32.dll"},
        {"wsock32.dll held", S::Windows95, FALSE, FALSE, all, "wsock32.dll", PTX_UNKNOWN_ERROR, "wsock32.dll"},
        {"wsock32.dll held, kept", S::Windows95, FALSE, TRUE, all, "wsock32.dll", PTX_SUCCESS, "wsock32.dll"},
        {"install on NT copies nothing", S::WindowsNT, TRUE, FALSE, thunks, "", PTX_SUCCESS, ""},
        {"install on 95", S::Windows95, TRUE, FALSE, thunks, "", PTX_SUCCESS, "wsa32srv.dll wsock32.dll mysock.dll"},
        {"install on 98, kept", S::Windows98, TRUE, TRUE, thunks, "", PTX_SUCCESS, "wsa32srv.dll wsock32.dll"},
        {"install on 95 without the bridge", S::Windows95, TRUE, FALSE, "", "", PTX_UNKNOWN_ERROR, ""},
        {"install on Win32s", S::Win32s, TRUE, FALSE, thunks, "", PTX_SUCCESS, "mysock.dll"},
    };
    for (const SetupCase& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(Host("prog"));
        std::filesystem::create_directories(Host("prog"));
        Write("libs/mysock.dll", "the provider's sockets");
        std::string present = c.present;
        for (std::size_t at = 0; at < present.size();) {
            std::size_t blank = present.find(' ', at);
            std::string name = present.substr(at, blank == std::string::npos ? std::string::npos : blank - at);
            Write("prog/" + name, name);
            at = blank == std::string::npos ? present.size() : blank + 1;
        }
        host::SetReportedSystem(c.system);
        ASSERT_EQ(dlrSetWinSockDLL("My Provider", "T:\\libs\\mysock.dll"), 0);
        {
            Locked locked(*c.locked ? ("T:\\prog\\" + std::string(c.locked)).c_str() : "T:\\prog\\none");
            EXPECT_EQ(_dlrSetupWinsock("My Provider", c.install, c.keep), c.result);
        }
        EXPECT_EQ(SocketsFiles(Host("prog")), c.after);
        if (std::string(c.after).find("wsock32.dll") != std::string::npos && !*c.locked) {
            EXPECT_EQ(Read("prog/wsock32.dll"), "wsock32.thk");
        }
        if (std::string(c.after).find("mysock.dll") != std::string::npos) {
            EXPECT_EQ(Read("prog/mysock.dll"), "the provider's sockets");
        }
    }
    EXPECT_EQ(Current(), "T:\\") << "the current folder is left alone";
}

TEST_F(PortixUtilities, SetupWinsockWithoutAProviderLibrary)
{
    host::SetReportedSystem(host::ReportedSystem::Windows95);
    Write("prog/wsock32.thk", "w");
    Write("prog/wsa32srv.thk", "s");
    EXPECT_EQ(_dlrSetupWinsock("My Provider", TRUE, FALSE), PTX_UNKNOWN_ERROR) << "no library named";
    ASSERT_EQ(dlrSetWinSockDLL("My Provider", "T:\\libs\\missing.dll"), 0);
    EXPECT_EQ(_dlrSetupWinsock("My Provider", TRUE, FALSE), PTX_UNKNOWN_ERROR) << "the named library is missing";
    Write("prog/mine.dll", "m");
    ASSERT_EQ(dlrSetWinSockDLL("My Provider", "mine.dll"), 0);
    EXPECT_EQ(_dlrSetupWinsock("My Provider", TRUE, FALSE), PTX_SUCCESS) << "already beside the program";
}

}  // namespace
