// The online manager in the running program on the sample disc, over the real connection engine
// and the scripted test dialer: the Online menu's states before and after Connect and
// Disconnect, the toolbar's VL Plus button while connected and downloading, Configure with its
// dialog, the Delete Downloaded Files dialog, and the offer to disconnect at the program's end.
#include "AppTestSupport.h"

#include "base/DataFolders.h"
#include "online/Cloud.h"
#include "online/VLPlusButton.h"
#include "shell/VLToolbar.h"

#include <portix/Portix.h>
#include <portix/Status.h>
#include <portixcmn/PortixCmn.h>

#include <DialogDriver.h>

#include <host/UiScript.h>

namespace apptest {
namespace {

class StateProbe : public CCmdUI {
public:
    explicit StateProbe(UINT id) { m_nID = id; }
    void Enable(BOOL bOn) override
    {
        enabled = bOn;
        m_bEnableChanged = TRUE;
    }
    void SetCheck(int nCheck) override { checked = nCheck; }
    int enabled = -1;
    int checked = -1;
};

class OnlineAppTest : public AppTest {
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        for (const char* library : {"libportixcmn.so", "libptdtest.so"})
            std::filesystem::create_symlink(bin / library, Prog() / library);
        std::filesystem::create_directories(dir.path() / "system");
        host::SetSystemRoot((dir.path() / "system").string());
        ASSERT_EQ(dlrSetConfiguredIsp("Scripted Provider"), 0);
        ASSERT_EQ(dlrSetSupportDll("Scripted Provider", "ISPWSOCK.DLL"), 0);
        ASSERT_EQ(dlrSetDialerDll("Scripted Provider", "PTDTEST.DLL"), 0);
        SetProfile("Online", "Disable", "0");
        SetProfile("Online", "Host", "127.0.0.1");
        SetProfile("Online", "Site", "http://127.0.0.1:8417/");
    }
    void TearDown() override
    {
        if (Scripted() != nullptr)
            Answer("isconnected", PTX_NOT_ESTABLISHED);
        AppTest::TearDown();
        dlrSetDefaultConnection();
        CPortix().Initialize();
        logTerminateLogging();
    }
    static HMODULE Scripted() { return GetModuleHandle("PTDTEST.DLL"); }
    static void Answer(const char* operation, int code)
    {
        auto set = reinterpret_cast<void (*)(const char*, int)>(GetProcAddress(Scripted(), "ScriptSetAnswer"));
        ASSERT_NE(set, nullptr);
        set(operation, code);
    }
    std::pair<int, int> State(UINT id)
    {
        StateProbe probe(id);
        probe.DoUpdate(Frame(), TRUE);
        return {probe.enabled, probe.checked};
    }
    void ShootToolbar(const std::string& name)
    {
        CRect rect;
        Frame()->GetToolbar().GetWindowRect(&rect);
        ui::dialog::Screenshot(Frame()->GetToolbar().GetSafeHwnd(), name);
    }
};

TEST_F(OnlineAppTest, ConnectDisconnectAndConfigureFromTheOnlineMenu)
{
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, Frame());
    CCloud* cloud = GetAppCloud();
    ASSERT_NE(nullptr, cloud);
    ASSERT_TRUE(cloud->HasConnection());
    ASSERT_NE(Scripted(), nullptr);
    Answer("isconnected", PTX_NOT_ESTABLISHED);
    cloud->RefreshState();
    ui::PumpUntilIdle();

    // Off line: Connect enabled, Disconnect enabled and checked; Configure and the downloads
    // enabled (the profile locks nothing).
    EXPECT_EQ(State(ID_ONLINE_CONNECT), std::make_pair(1, 0));
    EXPECT_EQ(State(ID_ONLINE_DISCONNECT), std::make_pair(1, 1));
    EXPECT_EQ(State(ID_ONLINE_CONFIGURE).first, 1);
    EXPECT_EQ(State(ID_DOWNLOAD_DIRECTORY).first, 1);
    SetProfile(VL_PRODUCT_SECTION, "LOCKED", "Y");
    EXPECT_EQ(State(ID_ONLINE_CONFIGURE).first, 0);
    EXPECT_EQ(State(ID_DOWNLOAD_DIRECTORY).first, 0);
    SetProfile(VL_PRODUCT_SECTION, "LOCKED", NULL);

    // Connect: the dialer dials, the state is on line, the button plays the connected strip.
    Answer("connect", PTX_SUCCESS);
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_CONNECT);
    Answer("isconnected", PTX_ESTABLISHED);
    ui::PumpUntilIdle();
    EXPECT_EQ(cloud->GetState(), CCloud::stateOnline);
    EXPECT_EQ(State(ID_ONLINE_CONNECT), std::make_pair(1, 1));
    EXPECT_EQ(State(ID_ONLINE_DISCONNECT), std::make_pair(1, 0));
    CVLPlusButton* button = CVLPlusButton::GetInstance();
    ASSERT_NE(nullptr, button);
    ui::AdvanceClock(110 * 12);
    EXPECT_EQ(button->GetOnlineState(), CCloud::stateOnline);
    EXPECT_GT(button->GetFramesDrawn(), 0);
    ShootToolbar("online-toolbar-connected.png");

    // Downloading: the downloading strip; Disconnect refused meanwhile.
    cloud->SetDownloading(TRUE);
    cloud->RefreshState();
    ui::AdvanceClock(110 * 5);
    EXPECT_EQ(button->GetOnlineState(), CCloud::stateDownloading);
    ShootToolbar("online-toolbar-downloading.png");
    host::AnswerMessageBox("Sorry.  You cannot disconnect while a download is in progress.", IDOK);
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_DISCONNECT);
    cloud->SetDownloading(FALSE);
    cloud->RefreshState();

    // Configure while connected: the folder dialog, its provider button refused with a box.
    ui::dialog::Drive([&](HWND dlg) {
        ui::dialog::Screenshot(dlg, "online-configure-175-running.png");
        host::AnswerMessageBox("You must disconnect before changing the online configuration.", IDOK);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(183, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 183)));
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_CONFIGURE);

    // The downloaded files' dialog.
    ui::dialog::Drive([&](HWND dlg) {
        ui::dialog::Screenshot(dlg, "online-delete-downloads-192-running.png");
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    Frame()->SendMessage(WM_COMMAND, ID_DOWNLOAD_DIRECTORY);

    // Disconnect: the dialer hangs up and the state follows.
    Answer("disconnect", PTX_SUCCESS);
    Answer("isconnected", PTX_NOT_ESTABLISHED);
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_DISCONNECT);
    ui::PumpUntilIdle();
    EXPECT_EQ(cloud->GetState(), CCloud::stateOffline);
    EXPECT_EQ(State(ID_ONLINE_DISCONNECT), std::make_pair(1, 1));
    const int drawn = button->GetFramesDrawn();
    ui::AdvanceClock(110 * 10);
    EXPECT_EQ(button->GetFramesDrawn(), drawn);

    // The message centre without its library: nothing happens.
    Frame()->SendMessage(WM_COMMAND, ID_MESSAGE_CENTRE);

    // Connected at the end: the program offers to hang up, and Yes does.
    Answer("connect", PTX_SUCCESS);
    Frame()->SendMessage(WM_COMMAND, ID_ONLINE_CONNECT);
    Answer("isconnected", PTX_ESTABLISHED);
    host::AnswerMessageBox("You are currently connected online.  Do you want to disconnect now?", IDYES);
    Exit();
    EXPECT_EQ(GetAppCloud(), nullptr);
}

}  // namespace
}  // namespace apptest
