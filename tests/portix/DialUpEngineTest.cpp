// The engine over the dial-up networking dialer: its Configure lists the phonebook's entries
// under the dialer's heading, a chosen entry is configured in the dialer's own dialog, and the
// engine's Connect, IsConnected and Disconnect dial, watch and hang up that entry through the
// platform's remote-access stand-in.
#include "PortixTestSupport.h"

#include <portix/Dialer.h>
#include <portixcmn/PortixCmn.h>

#include <host/Drives.h>
#include <host/RemoteAccess.h>
#include <host/SystemVersion.h>
#include <host/UiScript.h>

#include <DialogDriver.h>

namespace {

class DialUpEngine : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::create_directories(dir.path() / "drive" / "prog");
        fs::create_directories(dir.path() / "system");
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        for (const char* library : {"libportixcmn.so", "libptdw95.so", "libptdgenrc.so"})
            fs::create_symlink(bin / library, dir.path() / "drive" / "prog" / library);
        host::MapDrive('T', (dir.path() / "drive").string(), DRIVE_FIXED, "TESTDRIVE");
        host::SetSystemRoot((dir.path() / "system").string());
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        host::SetReportedSystem(host::ReportedSystem::WindowsNT);
        SetCurrentDirectory("T:\\prog");
        host::ResetUiScript();
    }
    void TearDown() override
    {
        dlrSetDefaultConnection();
        CPortix().Initialize();
        host::ResetUiScript();
        host::ResetReportedSystem();
        host::SetProgramPlatformPath("");
        host::SetSystemRoot("");
        host::ResetDrives();
    }

    TempDir dir;
};

TEST_F(DialUpEngine, AChosenPhonebookEntryIsConfiguredDialledAndHungUp)
{
    dlrSetDefaultConnection();
    dir.Write("system/WINDOWS/SYSTEM32/RAS/rasphone.pbk",
              "[Home ISP]\n[Office Line]\nUser=jsmith\nPassword=secret\nAccount=jsmith:secret\n");
    std::vector<std::string> listed;
    ui::dialog::Drive([&](HWND dlg) {
        listed = ui::dialog::Items(dlg, 1001);
        const auto at = std::find(listed.begin(), listed.end(), "    Office Line");
        ASSERT_NE(at, listed.end());
        SendDlgItemMessageA(dlg, 1001, LB_SETCURSEL, static_cast<WPARAM>(at - listed.begin()), 0);
        // The dialer's own dialog for the entry opens inside; it takes the phonebook's account.
        ui::dialog::Drive([](HWND settings) {
            EXPECT_EQ(ui::dialog::Text(settings, 1001), "Office Line");
            EXPECT_EQ(ui::dialog::Text(settings, 1002), "jsmith");
            SendDlgItemMessageA(settings, IDOK, BM_CLICK, 0, 0);
        });
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    CPortix engine;
    EXPECT_EQ(engine.Configure(), PTX_CONFIG_CHANGED);
    EXPECT_EQ(listed, (std::vector<std::string>{"No Internet Access", "Generic Dialer", "Dial-Up Networking:",
                                                "    Home ISP", "    Office Line"}));
    EXPECT_EQ(dlrGetConfiguredIsp(), "Office Line");
    EXPECT_EQ(dlrGetDialerDll("Office Line"), "PTDW95.DLL");
    EXPECT_EQ(dlrGetScreenName("Dial-Up Networking"), "Office Line");
    EXPECT_EQ(dlrGetPassword("Office Line", "Office Line"), "secret");

    ASSERT_EQ(engine.Initialize(), PTX_SUCCESS);
    EXPECT_EQ(engine.IsConnected(), PTX_NOT_ESTABLISHED);
    EXPECT_EQ(engine.Connect(), PTX_SUCCESS);
    auto live = host::LiveConnections();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].entry, "Office Line");
    EXPECT_TRUE(live[0].connected);
    EXPECT_EQ(engine.IsConnected(), PTX_ESTABLISHED);
    EXPECT_EQ(engine.Disconnect(), PTX_SUCCESS);
    EXPECT_TRUE(host::LiveConnections().empty());
    EXPECT_EQ(engine.IsConnected(), PTX_NOT_ESTABLISHED);
}

}  // namespace
