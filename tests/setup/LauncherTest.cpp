// The launcher's uninstall step in this process: the wizard is called with mode 9 and the folder
// without its closing "\", and its library is gone from the process afterwards.
#include "vorbexe/Launcher.h"

#include <host/Drives.h>
#include <host/Paths.h>
#include <host/UiScript.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class LauncherTest : public ::testing::Test {
protected:
    TempDir root;

    void SetUp() override
    {
        fs::create_directories(root.path() / "system");
        host::MapDrive('C', root.str(), DRIVE_FIXED, "SETUP");
        host::SetSystemRoot((root.path() / "system").string());
        host::ResetUiScript();
    }
    void TearDown() override
    {
        host::SetSystemRoot("");
        host::ResetDrives();
        host::ResetUiScript();
    }

    // A product folder (host path relative to the drive) holding the wizard and its product record.
    void InstallProduct(const std::string& folder)
    {
        fs::create_directories(root.path() / folder);
        fs::copy_file(VL_VORB_LIBRARY, root.path() / folder / "vorb.dll");
        root.Write(folder + "/PRODREG.DAT", "[PRODUCT]\r\nPRODUCTNAME=Veltra Jubilee 2000\r\nPRODUCTNUM=VJ2000\r\n");
    }

    std::string WindowsFile(const char* name)
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectory(windows, MAX_PATH);
        return host::ToHostPath(std::string(windows) + "\\" + name).value_or("");
    }
    std::string ReadHost(const std::string& path)
    {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
};

TEST_F(LauncherTest, UninstallCallsModeNineWithTheFolderAndFreesTheWizard)
{
    const struct {
        const char* hostFolder;
        const char* commandLine;
        const char* recordedFolder;
        const char* record;
    } cases[] = {
        {"VL", R"(-d "C:\VL" -u)", R"(folder="C:\VL")", "VL/REG.REG"},
        {"VL", R"(-u -dC:\VL\)", R"(folder="C:\VL")", "VL/REG.REG"},
        {".", R"(-d "C:\" -u)", R"(folder="C:\")", "REG.REG"},  // a root keeps its "\"
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.commandLine);
        std::error_code ec;
        fs::remove(root.path() / c.hostFolder / "vorb.dll", ec);
        InstallProduct(c.hostFolder);
        fs::remove(WindowsFile("VORB.LOG"), ec);
        root.Write("VL/REG.REG", "");  // a record: the uninstall step ignores it
        EXPECT_EQ(RunRegistrationLauncher(c.commandLine), 0);

        std::string log = ReadHost(WindowsFile("VORB.LOG"));
        std::string dll = std::string(c.hostFolder) == "." ? R"(C:\vorb.dll)" : R"(C:\VL\vorb.dll)";
        EXPECT_NE(log.find("VorbRegister module=" + dll + " owner=0 reserved=0 " + c.recordedFolder + " mode=9\r\n"
                           "unloaded\r\n"),
                  std::string::npos)
            << log;
        EXPECT_EQ(GetModuleHandle(dll.c_str()), nullptr) << "the wizard library is still loaded";
        char status[8] = "";
        GetPrivateProfileString("Veltra Jubilee 2000", "STATUS", "", status, sizeof status,
                                (std::string(c.hostFolder) == "." ? R"(C:\REG.REG)" : R"(C:\VL\REG.REG)"));
        EXPECT_STREQ(status, "9");
        // The global list did not exist: the uninstall step does not make it.
        EXPECT_FALSE(fs::exists(WindowsFile("REG.REG")));
        EXPECT_TRUE(host::MessageBoxLog().empty());
    }
}

TEST_F(LauncherTest, UninstallWithoutAWorkingWizardSaysFailed)
{
    fs::create_directories(root.path() / "VL");
    // No library at all, then a library without the export (the resource library in its place).
    for (bool present : {false, true}) {
        SCOPED_TRACE(present ? "no export" : "no library");
        host::ResetUiScript();
        if (present)
            fs::copy_file(fs::path(VL_VORB_LIBRARY).parent_path() / "VORBREGR.DLL", root.path() / "VL" / "vorb.dll");
        host::AnswerMessageBox("FAILED", IDOK);
        EXPECT_EQ(RunRegistrationLauncher(R"(-d "C:\VL" -u)"), 0);
        auto boxes = host::MessageBoxLog();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].text, "FAILED");
        EXPECT_EQ(boxes[0].caption, "VORB");
        EXPECT_EQ(boxes[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
        EXPECT_EQ(GetModuleHandle(R"(C:\VL\vorb.dll)"), nullptr);
    }
}

}  // namespace
