// The registration launcher and the wizard starter as programs of their own, started with
// CreateProcess under the test's drive map (C: and D:), system tree and sync namespace, against
// the registration wizard's stand-in (which records its calls in the Windows folder's VORB.LOG).
// Their windows are driven from here through the cross-process window calls; their message boxes
// are read from the file VL_MESSAGEBOX_LOG names. Where a test needs to see exactly what the
// launcher starts, the peer program stands in for "vorbshow.exe" or "vorbreg.exe" and reports its
// command line.
#include <windows.h>

#include <vorb.h>

#include "PeerSupport.h"
#include <host/Drives.h>
#include <host/Paths.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>

namespace {

namespace fs = std::filesystem;

class SetupProcessTest : public ::testing::Test {
protected:
    TempDir root;

    fs::path C() const { return root.path() / "c"; }
    fs::path D() const { return root.path() / "d"; }
    fs::path ReportFile() const { return root.path() / "report.txt"; }
    fs::path BoxFile() const { return root.path() / "boxes.log"; }

    void SetUp() override
    {
        fs::create_directories(C() / "system");
        fs::create_directories(D());
        std::string drives = "C=" + C().string() + ",fixed,SETUP;D=" + D().string() + ",fixed,PRODUCT";
        setenv("VL_DRIVES", drives.c_str(), 1);
        setenv("VL_SYSTEM_ROOT", (C() / "system").c_str(), 1);
        setenv("VL_MESSAGEBOX_LOG", BoxFile().c_str(), 1);
        setenv("VL_PEER_REPORT", ReportFile().c_str(), 1);
        host::ResetDrives();
        host::SetSystemRoot("");
    }
    void TearDown() override
    {
        for (const char* name : {"VL_DRIVES", "VL_SYSTEM_ROOT", "VL_MESSAGEBOX_LOG", "VL_PEER_REPORT"})
            unsetenv(name);
        host::ResetDrives();
        host::SetSystemRoot("");
    }

    static void Copy(const fs::path& from, const fs::path& to)
    {
        fs::create_directories(to.parent_path());
        fs::copy_file(from, to, fs::copy_options::overwrite_existing);
    }
    // A product folder (host path): the wizard and the product's record, and the programs asked for.
    void InstallProduct(const fs::path& folder, bool wizard = true)
    {
        fs::create_directories(folder);
        if (wizard)
            Copy(VL_VORB_LIBRARY, folder / "vorb.dll");
        std::ofstream(folder / "PRODREG.DAT") << "[PRODUCT]\r\nPRODUCTNAME=Veltra Jubilee 2000\r\nPRODUCTNUM=VJ2000\r\n";
    }

    static std::string Read(const fs::path& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string WindowsFile(const char* name) const
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectory(windows, MAX_PATH);
        return host::ToHostPath(std::string(windows) + "\\" + name).value_or("");
    }
    std::string Log() const { return Read(WindowsFile("VORB.LOG")); }
    std::string Boxes() const { return Read(BoxFile()); }
    // The peer's report: "key=value" lines.
    std::map<std::string, std::string> Report() const
    {
        std::map<std::string, std::string> values;
        std::ifstream in(ReportFile());
        for (std::string line; std::getline(in, line);)
            if (auto eq = line.find('='); eq != std::string::npos)
                values[line.substr(0, eq)] = line.substr(eq + 1);
        return values;
    }
    static std::string Status(const std::string& file)
    {
        char status[16] = "";
        GetPrivateProfileString("Veltra Jubilee 2000", "STATUS", "", status, sizeof status, file.c_str());
        return status;
    }
    static std::string RegNum(const std::string& file)
    {
        char regnum[64] = "";
        GetPrivateProfileString("Veltra Jubilee 2000", "REGNUM", "", regnum, sizeof regnum, file.c_str());
        return regnum;
    }

    // Starts `program` (a platform path) with the arguments, in `folder` (a platform path, or the
    // test's own).
    static void Run(Started& s, const std::string& program, const std::string& arguments, const char* folder = nullptr)
    {
        std::string line = "\"" + program + "\" " + arguments;
        Start(s, line, folder, nullptr, nullptr, program.c_str());
        ASSERT_TRUE(s.ok) << program << ": error " << s.error;
    }
    static DWORD Finish(Started& s, DWORD milliseconds = 60000)
    {
        EXPECT_EQ(WaitForSingleObject(s.pi.hProcess, milliseconds), static_cast<DWORD>(WAIT_OBJECT_0));
        return ExitCodeOf(s.pi.hProcess);
    }
    static HWND WaitForWizard()
    {
        HWND wizard = nullptr;
        Eventually([&] { return (wizard = FindWindowA(nullptr, VORB_WIZARD_TITLE)) != nullptr && IsWindowVisible(wizard); },
                   60);
        return wizard;
    }
};

// Without a registration record the launcher hands its whole command line to the wizard starter;
// with one it hands the folder (ending in "\") to the status tool.
TEST_F(SetupProcessTest, LauncherStartsTheStarterOrTheStatusToolWithTheirArguments)
{
    const struct {
        const char* arguments;
        bool record;
        const char* started;
        const char* expected;
    } cases[] = {
        {R"(-d "C:\VL" -x)", false, "vorbshow", R"(-d "C:\VL" -x)"},
        {R"(-D"C:\VL")", false, "vorbshow", R"(-D"C:\VL")"},
        {R"(-d "C:\VL")", true, "vorbreg", R"(C:\VL\)"},
        {R"(-dC:\VL\)", true, "vorbreg", R"(C:\VL\)"},
    };
    Copy(VL_VORBEXE_PROGRAM, C() / "VL" / "vorbexe");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::error_code ec;
        fs::remove(C() / "VL" / "vorbshow", ec);
        fs::remove(C() / "VL" / "vorbreg", ec);
        fs::remove(C() / "VL" / "reg.reg", ec);
        fs::remove(ReportFile(), ec);
        Copy(VL_PEER_PROGRAM, C() / "VL" / c.started);
        if (c.record)
            std::ofstream(C() / "VL" / "REG.REG") << "[Veltra Jubilee 2000]\r\nSTATUS=7\r\n";
        Started launcher;
        Run(launcher, R"(C:\VL\vorbexe.exe)", c.arguments);
        EXPECT_EQ(Finish(launcher), 0u);
        auto report = Report();
        EXPECT_EQ(report["arguments"], c.expected);
        EXPECT_EQ(report["module"], std::string(R"(C:\VL\)") + c.started + ".exe");
    }
}

// The launcher waits for the wizard starter; the starter opens the wizard (mode 0) and ends when
// Register is pressed in it, with the wizard's last message's wParam. A second copy of either
// program ends at once while the first runs.
TEST_F(SetupProcessTest, RegisterThroughTheLauncherAndTheStarter)
{
    InstallProduct(C() / "VL");
    Copy(VL_VORBEXE_PROGRAM, C() / "VL" / "vorbexe");
    Copy(VL_VORBSHOW_PROGRAM, C() / "VL" / "vorbshow");
    Started launcher;
    Run(launcher, R"(C:\VL\vorbexe.exe)", R"(-d "C:\VL")");
    HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    EXPECT_EQ(Log(), "VorbRegister module=C:\\VL\\vorbshow.exe owner=0 reserved=0 folder=\"C:\\VL\" mode=0\r\n");

    Started secondLauncher, secondStarter;
    Run(secondLauncher, R"(C:\VL\vorbexe.exe)", R"(-d "C:\VL")");
    Run(secondStarter, R"(C:\VL\vorbshow.exe)", R"(-d "C:\VL")");
    EXPECT_EQ(Finish(secondLauncher), 0u);
    EXPECT_EQ(Finish(secondStarter), 0u);
    EXPECT_EQ(WaitForSingleObject(launcher.pi.hProcess, 0), static_cast<DWORD>(WAIT_TIMEOUT))
        << "the launcher did not wait for the wizard starter";

    SendMessageA(wizard, WM_COMMAND, IDOK, 0);  // Register
    EXPECT_EQ(Finish(launcher), 0u);
    EXPECT_FALSE(IsWindow(wizard));
    std::string local = R"(C:\VL\REG.REG)";
    char windows[MAX_PATH] = "";
    GetWindowsDirectory(windows, MAX_PATH);
    std::string global = std::string(windows) + "\\REG.REG";
    EXPECT_EQ(Status(local), "5");
    EXPECT_EQ(Status(global), "5");
    EXPECT_EQ(RegNum(local).rfind("VJ2000-0001-", 0), 0u) << RegNum(local);
    EXPECT_EQ(RegNum(global), RegNum(local));
    HKEY key = nullptr;
    ASSERT_EQ(RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Software Registration", 0, KEY_READ, &key),
              ERROR_SUCCESS);
    DWORD count = 0, size = sizeof count, type = 0;
    EXPECT_EQ(RegQueryValueExA(key, "REGCOUNT", nullptr, &type, reinterpret_cast<LPBYTE>(&count), &size), ERROR_SUCCESS);
    RegCloseKey(key);
    EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
    EXPECT_EQ(count, 1u);
    EXPECT_NE(Log().find("Register 5\r\n"), std::string::npos) << Log();
    EXPECT_TRUE(Boxes().empty()) << Boxes();
}

// Later writes status 6; the starter's exit code is the wParam of the wizard's last message (the
// stand-in ends the loop with the status). "D:\" loads the wizard from "D:\".
TEST_F(SetupProcessTest, LaterFromTheWizardStartedOnADriveRoot)
{
    InstallProduct(D());
    Copy(VL_VORBSHOW_PROGRAM, C() / "VL" / "vorbshow");
    Started starter;
    Run(starter, R"(C:\VL\vorbshow.exe)", R"(-d "D:\")");
    HWND wizard = WaitForWizard();
    ASSERT_NE(wizard, nullptr);
    SendMessageA(wizard, WM_COMMAND, IDCANCEL, 0);  // Later
    EXPECT_EQ(Finish(starter), 6u);
    EXPECT_EQ(Status(R"(D:\REG.REG)"), "6");
    EXPECT_EQ(RegNum(R"(D:\REG.REG)"), "");
    EXPECT_EQ(Log(), "VorbRegister module=C:\\VL\\vorbshow.exe owner=0 reserved=0 folder=\"D:\\\" mode=0\r\n"
                     "Later 6\r\nunloaded\r\n");
}

// Where the starter looks for the wizard, read from the box it shows when the wizard is not there.
TEST_F(SetupProcessTest, StarterLooksForTheWizardInTheFolderItIsGiven)
{
    const struct {
        const char* arguments;
        const char* currentFolder;
        const char* library;
    } cases[] = {
        {R"(-d "D:\")", R"(C:\Other)", R"(D:\vorb.dll)"},
        {R"(-d "C:\VL")", R"(C:\Other)", R"(C:\VL\vorb.dll)"},
        {R"(-d "C:\VL\")", R"(C:\Other)", R"(C:\VL\vorb.dll)"},
        {"", R"(C:\Other)", R"(C:\Other\vorb.dll)"},
        {"-u", R"(C:\)", R"(C:\vorb.dll)"},
    };
    fs::create_directories(C() / "Other");
    fs::create_directories(C() / "VL");
    Copy(VL_VORBSHOW_PROGRAM, C() / "VL" / "vorbshow");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        std::error_code ec;
        fs::remove(BoxFile(), ec);
        Started starter;
        Run(starter, R"(C:\VL\vorbshow.exe)", c.arguments, c.currentFolder);
        EXPECT_EQ(Finish(starter), 0u);
        std::string library = c.library;
        std::string escaped;
        for (char ch : library)
            escaped += ch == '\\' ? std::string("\\\\") : std::string(1, ch);
        EXPECT_EQ(Boxes(), std::to_string(starter.pi.dwProcessId) + "\t" + escaped + "\tCould not locate VORB.DLL\t40\t1\n");
    }
    EXPECT_EQ(Log(), "");
}

// The uninstall step as vluninst runs it, and the launcher's failures.
TEST_F(SetupProcessTest, LauncherUninstallStepAndItsFailures)
{
    InstallProduct(C() / "VL");
    Copy(VL_VORBEXE_PROGRAM, C() / "VL" / "vorbexe");
    std::ofstream(C() / "VL" / "REG.REG") << "[Veltra Jubilee 2000]\r\nSTATUS=5\r\n";
    {
        Started launcher;
        Run(launcher, R"(C:\VL\vorbexe.exe)", R"(-d "C:\VL" -u)");
        EXPECT_EQ(Finish(launcher), 0u);
        EXPECT_EQ(Log(), "VorbRegister module=C:\\VL\\vorb.dll owner=0 reserved=0 folder=\"C:\\VL\" mode=9\r\nunloaded\r\n");
        EXPECT_EQ(Status(R"(C:\VL\REG.REG)"), "9");
        EXPECT_EQ(Boxes(), "");
    }
    // Nothing to do without a folder (an unknown option is ignored).
    for (const char* arguments : {"", "-x", "-u"}) {
        SCOPED_TRACE(arguments);
        Started launcher;
        Run(launcher, R"(C:\VL\vorbexe.exe)", arguments);
        EXPECT_EQ(Finish(launcher), 0u);
    }
    EXPECT_EQ(Log(), "VorbRegister module=C:\\VL\\vorb.dll owner=0 reserved=0 folder=\"C:\\VL\" mode=9\r\nunloaded\r\n");
    EXPECT_EQ(Boxes(), "");
    // No wizard in the folder.
    fs::remove(C() / "VL" / "vorb.dll");
    {
        Started launcher;
        Run(launcher, R"(C:\VL\vorbexe.exe)", R"(-d "C:\VL" -u)");
        EXPECT_EQ(Finish(launcher), 0u);
        EXPECT_EQ(Boxes(), std::to_string(launcher.pi.dwProcessId) + "\tVORB\tFAILED\t40\t1\n");
    }
    // No starter to start.
    fs::remove(C() / "VL" / "REG.REG");
    fs::remove(BoxFile());
    {
        Started launcher;
        Run(launcher, R"(C:\VL\vorbexe.exe)", R"(-d "C:\VL")");
        EXPECT_EQ(Finish(launcher), 1u);
        EXPECT_EQ(Boxes(), std::to_string(launcher.pi.dwProcessId) + "\tVORB\tCould not start C:\\\\VL\\\\vorbshow.exe.\t40\t1\n");
    }
}

// The launcher hands a folder with a registration record to the real status tool, which holds the
// mutex that the wizard starter and a second status tool find; Register in it calls the folder's
// wizard as the tool's owner (the local status "6" picks mode 2375), and Exit, answered Yes,
// ends the tool and then the launcher.
TEST_F(SetupProcessTest, LauncherOpensTheStatusToolWhichRegistersThroughTheWizard)
{
    InstallProduct(C() / "VL");
    for (const char* program : {"vorbexe", "vorbshow", "vorbreg"})
        Copy(std::string(program) == "vorbexe" ? VL_VORBEXE_PROGRAM
             : std::string(program) == "vorbshow" ? VL_VORBSHOW_PROGRAM : VL_VORBREG_PROGRAM,
             C() / "VL" / program);
    Copy(fs::path(VL_VORB_LIBRARY).parent_path() / "VORBREGR.DLL", C() / "VL" / "VORBREGR.DLL");
    std::ofstream(C() / "VL" / "REG.REG") << "[Veltra Jubilee 2000]\r\nSTATUS=6\r\n";
    const std::string global = WindowsFile("REG.REG");
    fs::create_directories(fs::path(global).parent_path());
    std::ofstream(global) << "[PRODLIST]\r\nNUMPROD=0001\r\nPRODNAME0001=Veltra Jubilee 2000\r\n"
                             "DEFDIR0001=C:\\VL\\\r\n[Veltra Jubilee 2000]\r\nSTATUS=6\r\n";

    Started launcher;
    Run(launcher, R"(C:\VL\vorbexe.exe)", R"(-d "C:\VL")", R"(C:\)");
    // Only the tool's top-level windows reach this process: its dialogs, not their controls.
    HWND tool = nullptr;
    ASSERT_TRUE(Eventually(
        [&] { return (tool = FindWindowA(nullptr, "Product Registration")) != nullptr && IsWindowVisible(tool); }, 60))
        << Boxes();

    Started starter, secondTool;
    Run(starter, R"(C:\VL\vorbshow.exe)", R"(-d "C:\VL")");
    Run(secondTool, R"(C:\VL\vorbreg.exe)", R"(C:\VL\)");
    EXPECT_EQ(Finish(starter), 0u);
    EXPECT_EQ(Finish(secondTool), 0u);
    EXPECT_EQ(Log(), "");

    PostMessageA(tool, WM_COMMAND, 2080, 0);  // Register
    HWND wizard = nullptr;
    ASSERT_TRUE(Eventually(
        [&] {
            for (HWND w = FindWindowA(nullptr, VORB_WIZARD_TITLE); w; w = FindWindowExA(nullptr, w, nullptr, VORB_WIZARD_TITLE))
                if (w != tool && IsWindowVisible(w))
                    wizard = w;
            return wizard != nullptr;
        },
        60));
    EXPECT_EQ(Log(), "VorbRegister module=C:\\VL\\vorbreg.exe owner=1 reserved=0 folder=\"C:\\VL\\\" mode=2375\r\n");
    SendMessageA(wizard, WM_COMMAND, IDOK, 0);  // Register in the wizard
    EXPECT_TRUE(Eventually([&] { return Status(R"(C:\VL\REG.REG)") == "5"; }, 60));
    EXPECT_FALSE(IsWindow(wizard));
    char windows[MAX_PATH] = "";
    GetWindowsDirectory(windows, MAX_PATH);
    EXPECT_EQ(Status(std::string(windows) + "\\REG.REG"), "5");

    PostMessageA(tool, WM_COMMAND, 2090, 0);  // Exit: the unanswered question takes its default, Yes
    EXPECT_EQ(Finish(launcher), 0u);
    EXPECT_NE(Boxes().find("\tProduct Registration\tDo you want to leave Product Registration?\t"), std::string::npos)
        << Boxes();
}

}  // namespace
