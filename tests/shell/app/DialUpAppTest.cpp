// The online manager in the running program over the real connection engine and the dial-up
// networking dialer: Online > Configure chooses a phonebook entry in the engine's dialog and
// saves it in the dialer's own settings dialog; Connect asks for the entry's password in the
// logon dialog, dials through the platform's remote-access stand-in and plays the connected
// strip on the toolbar's VL Plus button; Disconnect hangs the line up.
#include "AppTestSupport.h"

#include "online/Cloud.h"
#include "online/VLPlusButton.h"
#include "shell/VLToolbar.h"

#include <portix/Portix.h>
#include <portix/Status.h>
#include <portixcmn/PortixCmn.h>

#include <DialogDriver.h>

#include <host/RemoteAccess.h>
#include <host/SystemVersion.h>
#include <host/UiScript.h>

#include <algorithm>

namespace apptest {
namespace {

class DialUpAppTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        for (const char* library : {"libportixcmn.so", "libptdw95.so", "libptdgenrc.so"})
            std::filesystem::create_symlink(bin / library, Prog() / library);
        std::filesystem::create_directories(dir.path() / "system");
        host::SetSystemRoot((dir.path() / "system").string());
        host::SetReportedSystem(host::ReportedSystem::WindowsNT);
        ASSERT_EQ(dlrSetDefaultConnection(), 0);
        SetProfile("Online", "Disable", "0");
        SetProfile("Online", "Host", "127.0.0.1");
        SetProfile("Online", "Site", "http://127.0.0.1:8417/");
    }
    void TearDown() override
    {
        AppTest::TearDown();
        dlrSetDefaultConnection();
        CPortix().Initialize();
        host::ResetReportedSystem();
        host::SetSystemRoot("");
    }
};

TEST_F(DialUpAppTest, ConfigureAPhonebookEntryThenConnectAndDisconnect)
{
    // The entry keeps its user name but no password; its line answers the right account.
    dir.Write("system/WINDOWS/SYSTEM32/RAS/rasphone.pbk",
              "[Home ISP]\nOutcome=busy\n[Office Line]\nUser=jsmith\nAccount=jsmith:secret\n");
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, Frame());
    CCloud* cloud = GetAppCloud();
    ASSERT_NE(nullptr, cloud);
    ASSERT_TRUE(cloud->HasConnection());
    EXPECT_EQ(cloud->GetState(), CCloud::stateOffline);

    // Online > Configure: the provider button opens the engine's dialog, the entry chosen there
    // opens the dialer's settings, Save keeps them.
    std::vector<std::string> listed;
    ui::dialog::Drive([&](HWND online) {
        ui::dialog::Drive([&](HWND engine) {
            listed = ui::dialog::Items(engine, 1001);
            const auto at = std::find(listed.begin(), listed.end(), "    Office Line");
            ASSERT_NE(at, listed.end());
            // Chosen as a click would: the list notifies its dialog, the Settings button wakes.
            HWND list = GetDlgItem(engine, 1001);
            SendMessageA(list, LB_SETCURSEL, static_cast<WPARAM>(at - listed.begin()), 0);
            SendMessageA(engine, WM_COMMAND, MAKEWPARAM(1001, LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(engine, 1002)));
            ui::dialog::Pump(engine);
            ui::dialog::Screenshot(engine, "dialup-app-engine-configure.png");
            ui::dialog::Drive([](HWND settings) {
                char caption[64] = {};
                GetWindowTextA(settings, caption, sizeof caption);
                EXPECT_STREQ(caption, "Dial-Up Networking Settings");
                EXPECT_EQ(ui::dialog::Text(settings, 1001), "Office Line");
                EXPECT_EQ(ui::dialog::Text(settings, 1002), "jsmith");
                EXPECT_EQ(ui::dialog::Text(settings, 1003), "");
                ui::dialog::Screenshot(settings, "dialup-app-settings.png");
                SendDlgItemMessageA(settings, IDOK, BM_CLICK, 0, 0);
            });
            SendMessageA(engine, WM_COMMAND, IDOK, 0);
        });
        SendMessageA(online, WM_COMMAND, MAKEWPARAM(183, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(online, 183)));
        SendMessageA(online, WM_COMMAND, IDCANCEL, 0);
    });
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_CONFIGURE);
    ui::PumpUntilIdle();
    EXPECT_NE(std::find(listed.begin(), listed.end(), "Dial-Up Networking:"), listed.end());
    EXPECT_EQ(dlrGetConfiguredIsp(), "Office Line");
    EXPECT_EQ(dlrGetDialerDll("Office Line"), "PTDW95.DLL");
    EXPECT_EQ(dlrGetUsername("Office Line", "Office Line"), "jsmith");
    EXPECT_EQ(cloud->GetState(), CCloud::stateOffline);
    EXPECT_TRUE(host::LiveConnections().empty());

    // Connect: no saved password, so the logon dialog asks; the typed one dials.
    ui::dialog::Drive([](HWND logon) {
        char caption[64] = {};
        GetWindowTextA(logon, caption, sizeof caption);
        EXPECT_STREQ(caption, "Dialup Connection");
        EXPECT_EQ(ui::dialog::Text(logon, 1002), "jsmith");
        SetDlgItemTextA(logon, 1004, "secret");
        ui::dialog::Pump(logon);
        ui::dialog::Screenshot(logon, "dialup-app-logon.png");
        SendDlgItemMessageA(logon, IDOK, BM_CLICK, 0, 0);
    });
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_CONNECT);
    ui::PumpUntilIdle();
    auto live = host::LiveConnections();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].entry, "Office Line");
    EXPECT_EQ(live[0].user, "jsmith");
    EXPECT_TRUE(live[0].connected);
    EXPECT_EQ(cloud->GetState(), CCloud::stateOnline);
    CVLPlusButton* button = CVLPlusButton::GetInstance();
    ASSERT_NE(nullptr, button);
    ui::AdvanceClock(110 * 12);
    EXPECT_EQ(button->GetOnlineState(), CCloud::stateOnline);
    EXPECT_GT(button->GetFramesDrawn(), 0);
    ui::dialog::Screenshot(Frame()->GetToolbar().GetSafeHwnd(), "dialup-app-toolbar-connected.png");
    // The typed password served that dial only.
    EXPECT_EQ(dlrGetPassword("Office Line", "Office Line"), "");

    // Disconnect: the line is hung up and the button stops.
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_DISCONNECT);
    ui::PumpUntilIdle();
    EXPECT_TRUE(host::LiveConnections().empty());
    EXPECT_EQ(cloud->GetState(), CCloud::stateOffline);
    const int drawn = button->GetFramesDrawn();
    ui::AdvanceClock(110 * 10);
    EXPECT_EQ(button->GetFramesDrawn(), drawn);
    EXPECT_EQ(button->GetOnlineState(), CCloud::stateOffline);
}

}  // namespace
}  // namespace apptest
