// The online manager over the real connection engine and the scripted test dialer: what
// Initialize, Connect, Disconnect and the program's end show and do for each of the engine's
// answers (box transcripts), the state broadcast, and the message-centre binding against a
// stand-in library.
#include "CloudTestSupport.h"

#include "base/DataFolders.h"
#include "online/ConnectionStatusText.h"

using namespace cloudtest;

namespace {

std::string Format(const char* format, int code)
{
    CString text;
    text.Format(format, code, static_cast<LPCSTR>(GetConnectionStatusText(code)));
    return static_cast<LPCSTR>(text);
}

const char kCorrupted[] = "Online configuration has been corrupted.  Online services will not be available.";

TEST_F(CloudTest, InitializeAnswersAndTellsEachFailureOnce)
{
    using Boxes_t = std::vector<std::string>;
    Link("libptdtestnc.so", "libptdtestnc.so");
    struct Case {
        const char* name;
        const char* disable;
        const char* realm;  // nullptr: not in the profile
        const char* host;
        const char* isp;
        const char* dialer;
        bool failInit;
        int result;
        Boxes_t boxes;
    } const cases[] = {
        {"disabled: silent, no engine", "1", nullptr, nullptr, kScripted, "PTDTEST.DLL", false, 2, {}},
        {"empty realm", "0", "", nullptr, kScripted, "PTDTEST.DLL", false, 2, {kCorrupted}},
        {"empty host", "0", nullptr, "", kScripted, "PTDTEST.DLL", false, 2, {kCorrupted}},
        {"the dialer's start-up fails (16483)", "0", nullptr, nullptr, kScripted, "PTDTEST.DLL", true, 2,
         {g_szProviderInitFailed}},
        {"a dialer without Connect (16407)", "0", nullptr, nullptr, kScripted, "PTDTESTNC.DLL", false, 2,
         {Format("Online initialization failure (%d): %s", PTX_NO_CONNECT_ENTRY)}},
        {"no provider yet: ready, Connect offers the configuration", "0", nullptr, nullptr, "No Internet Access",
         "PTDTEST.DLL", false, 1, {}},
        {"ready", "0", nullptr, nullptr, kScripted, "PTDTEST.DLL", false, 1, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        SetProfile("Online", "Disable", c.disable);
        SetProfile("Online", "Realm", c.realm);
        SetProfile("Online", "Host", c.host);
        SetEnvironmentVariable("PTDTEST_FAIL_INIT", c.failInit ? "1" : NULL);
        if (c.failInit) {
            // Not loaded now, so that its start-up runs again.
            dlrSetDefaultConnection();
            CPortix().Initialize();
            ASSERT_EQ(Scripted(), nullptr);
        }
        Provider(c.isp, c.dialer);
        CCloud& manager = NewCloud();
        Expect(c.boxes);
        EXPECT_EQ(manager.Initialize(), c.result);
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(manager.HasConnection(), c.result == 1);
        if (c.result != 1) {
            EXPECT_EQ(manager.GetState(), CCloud::stateOffline);
        }
        EndCloud();
    }
    SetEnvironmentVariable("PTDTEST_FAIL_INIT", NULL);

    // The identity is made once and kept.
    const std::string identity = Profile("Online", "Identity");
    EXPECT_EQ(identity.size(), 32u);
    NewCloud().Initialize();
    EXPECT_EQ(Profile("Online", "Identity"), identity);
    EndCloud();
}

class CloudConnectTest : public CloudTest {
protected:
    // A manager ready over the scripted dialer, off line.
    CCloud& Ready()
    {
        Provider();
        CCloud& manager = NewCloud();
        EXPECT_EQ(manager.Initialize(), 1);
        Answer("isconnected", PTX_NOT_ESTABLISHED);
        manager.RefreshState();
        ResetScript();
        Answer("isconnected", PTX_NOT_ESTABLISHED);
        Boxes();
        return manager;
    }
};

TEST_F(CloudConnectTest, ConnectTellsEachRefusalOfTheDialerAndGivesUp)
{
    CCloud& manager = Ready();
    struct Case {
        int connect;
        bool win32s;
        std::string box;
    } const cases[] = {
        {PTX_NOT_SUPPORTED, false, g_szProviderNotConnected},
        {PTX_NOT_SUPPORTED, true, g_szProviderCannotConnect},
        {PTX_MEMORY_ERROR, false, Format("Online connection failure (%d): %s", PTX_MEMORY_ERROR)},
        {PTX_NOT_ESTABLISHED, false, Format("Online connection failure (%d): %s", PTX_NOT_ESTABLISHED)},
        {PTX_FILE_NOT_FOUND, false, Format("Online connection failure (%d): %s", PTX_FILE_NOT_FOUND)},
        {PTX_INVALID_EXECUTABLE, false, Format("Online connection failure (%d): %s", PTX_INVALID_EXECUTABLE)},
        {PTX_HOST_NOT_FOUND, false,
         "A problem occurred connecting to you Internet service provider (ISP).  Please verify that your ISP is "
         "connected and try your selection again. (Error code 16500)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.connect);
        host::SetReportedSystem(c.win32s ? host::ReportedSystem::Win32s : host::ReportedSystem::WindowsNT);
        Answer("connect", c.connect);
        Expect({c.box});
        EXPECT_TRUE(GaveUp([&] { manager.Connect(); }));
        EXPECT_EQ(Boxes(), std::vector<std::string>{c.box});
        EXPECT_EQ(manager.GetState(), CCloud::stateOffline);
        EXPECT_FALSE(manager.IsConnectBusy());
    }
    host::SetReportedSystem(host::ReportedSystem::WindowsNT);

    // The provider's own software makes the connection: told, nothing dialled.
    for (int code : {PTX_CONNECTED_NOT_OURS, PTX_PROVIDER_NOT_CONNECTED}) {
        ResetScript();
        Answer("isconnected", code);
        Expect({g_szProviderNotConnected});
        EXPECT_FALSE(GaveUp([&] { manager.Connect(); }));
        EXPECT_EQ(Boxes(), std::vector<std::string>{g_szProviderNotConnected});
        EXPECT_EQ(Calls().find("connect\n"), std::string::npos) << Calls();
    }

    // Success: on line, and the state is the engine's.
    ResetScript();
    Answer("isconnected", PTX_NOT_ESTABLISHED);
    Answer("connect", PTX_SUCCESS);
    manager.Connect();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_EQ(manager.GetState(), CCloud::stateOnline);
    Answer("isconnected", PTX_ESTABLISHED);
    EXPECT_TRUE(manager.IsOnline());
    // Connected already: nothing dialled again.
    ResetScript();
    Answer("isconnected", PTX_ESTABLISHED);
    manager.Connect();
    EXPECT_EQ(Calls().find("connect\n"), std::string::npos) << Calls();
    EndCloud();
}

TEST_F(CloudConnectTest, ConnectWithoutAProviderOffersTheConfigurationUntilReady)
{
    // No provider at start-up: ready, but not configured.
    Provider("No Internet Access");
    CCloud& manager = NewCloud();
    ASSERT_EQ(manager.Initialize(), 1);
    EXPECT_EQ(manager.GetState(), CCloud::stateOffline);
    EXPECT_TRUE(manager.GetIspNotConnected());

    // Cancel at the question: given up, nothing configured.
    host::AnswerMessageBox("Your Internet Service Provider is not configured.", IDCANCEL);
    EXPECT_TRUE(GaveUp([&] { manager.Connect(); }));
    EXPECT_EQ(Boxes(), std::vector<std::string>{"Your Internet Service Provider is not configured.  Do you want "
                                                "to configure it now?"});

    // OK, then the engine's dialog cancelled: still no provider (16385), so the question comes
    // again; Cancel gives up.
    host::AnswerMessageBox("Your Internet Service Provider is not configured.", IDOK);
    ui::dialog::Drive([](HWND dlg) { SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0); });
    host::AnswerMessageBox("Your Internet Service Provider is not configured.", IDCANCEL);
    EXPECT_TRUE(GaveUp([&] { manager.Connect(); }));
    EXPECT_EQ(Boxes().size(), 2u);

    // OK, the scripted provider chosen: the engine is made ready and Connect dials.
    host::AnswerMessageBox("Your Internet Service Provider is not configured.", IDOK);
    ui::dialog::Drive([](HWND dlg) {
        const LRESULT index = SendDlgItemMessageA(dlg, 1001, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                                  reinterpret_cast<LPARAM>(kScripted));
        ASSERT_NE(index, LB_ERR);
        SendDlgItemMessageA(dlg, 1001, LB_SETCURSEL, static_cast<WPARAM>(index), 0);
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    manager.SetUpdatesFetched(TRUE);
    EXPECT_FALSE(GaveUp([&] { manager.Connect(); }));
    EXPECT_EQ(Boxes().size(), 1u);
    EXPECT_EQ(manager.GetState(), CCloud::stateOnline);
    EXPECT_FALSE(manager.HaveUpdatesBeenFetched());
    EXPECT_NE(Calls().find("connect\n"), std::string::npos) << Calls();
    EndCloud();
}

TEST_F(CloudConnectTest, ConnectRetriesAFailedInitializationOnRequest)
{
    CCloud& manager = Ready();
    // Not initialised: the engine is made ready again; Initialize failing with another code is
    // offered Retry, and the dialer that lacks Connect stays failing: Cancel gives up.
    Answer("connect", PTX_NOT_INITIALIZED);
    Link("libptdtestnc.so", "libptdtestnc.so");
    Provider(kScripted, "PTDTESTNC.DLL");
    const std::string failure = Format("Online initialization failure (%d): %s", PTX_NO_CONNECT_ENTRY);
    host::AnswerMessageBox(failure, IDRETRY);
    host::AnswerMessageBox(failure, IDCANCEL);
    EXPECT_TRUE(GaveUp([&] { manager.Connect(); }));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{failure, failure}));

    // A dialer that keeps answering "not initialised" after a good Initialize: told once, no loop.
    Provider();
    ASSERT_EQ(CPortix().Initialize(), PTX_SUCCESS);
    Answer("isconnected", PTX_NOT_ESTABLISHED);
    Answer("connect", PTX_NOT_INITIALIZED);
    host::AnswerMessageBox("(Error code 16386)", IDOK);
    EXPECT_TRUE(GaveUp([&] { manager.Connect(); }));
    const auto boxes = Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_NE(boxes[0].find("(Error code 16386)"), std::string::npos) << boxes[0];
    EndCloud();
}

TEST_F(CloudConnectTest, AConnectOrDisconnectWhileOneRunsDoesNothing)
{
    CCloud& manager = Ready();
    auto count = [](const std::string& calls, const std::string& line) {
        size_t n = 0;
        for (size_t at = calls.find(line); at != std::string::npos; at = calls.find(line, at + 1))
            n += at == 0 || calls[at - 1] == '\n';
        return n;
    };
    // Connect's failure box is up (it pumps): a second Connect and its command state see it busy.
    Answer("connect", PTX_NOT_ESTABLISHED);
    host::AnswerMessageBoxWith("Online connection failure", [&](const host::MessageBoxRecord&) {
        EXPECT_TRUE(manager.IsConnectBusy());
        manager.Connect();
        return IDOK;
    });
    EXPECT_TRUE(GaveUp([&] { manager.Connect(); }));
    EXPECT_FALSE(manager.IsConnectBusy());
    EXPECT_EQ(count(Calls(), "connect\n"), 1u) << Calls();

    // The same for Disconnect.
    Answer("isconnected", PTX_ESTABLISHED);
    Answer("disconnect", PTX_HOST_NOT_FOUND);
    host::AnswerMessageBoxWith("Unable to disconnect", [&](const host::MessageBoxRecord&) {
        EXPECT_TRUE(manager.IsDisconnectBusy());
        manager.Disconnect();
        return IDOK;
    });
    manager.Disconnect();
    EXPECT_FALSE(manager.IsDisconnectBusy());
    EXPECT_EQ(count(Calls(), "disconnect\n"), 1u) << Calls();
    EndCloud();
}

TEST_F(CloudConnectTest, DisconnectAndTheProgramsEndTellTheDialersRefusals)
{
    CCloud& manager = Ready();
    struct Case {
        int isConnected;
        int disconnect;
        bool dialled;
        std::vector<std::string> boxes;
    } const cases[] = {
        {PTX_CONNECTED_NOT_OURS, PTX_SUCCESS, false, {g_szProviderCannotDisconnect}},
        {PTX_ALWAYS_ESTABLISHED, PTX_SUCCESS, false, {}},
        {PTX_NOT_ESTABLISHED, PTX_SUCCESS, false, {}},
        {PTX_ESTABLISHED, PTX_NOT_SUPPORTED, true, {g_szProviderCannotDisconnect}},
        {PTX_ESTABLISHED, PTX_UNKNOWN_ERROR, true,
         {"A problem occurred disconnecting from your Internet service provider (ISP).  Please verify that your "
          "ISP is disconnected. (Error code 16391)"}},
        {PTX_ESTABLISHED, PTX_HOST_NOT_FOUND, true, {Format("Unable to disconnect (%d): %s", PTX_HOST_NOT_FOUND)}},
        {PTX_ESTABLISHED, PTX_SUCCESS, true, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.isConnected * 100000 + c.disconnect);
        ResetScript();
        Answer("isconnected", c.isConnected);
        Answer("disconnect", c.disconnect);
        Expect(c.boxes);
        manager.Disconnect();
        EXPECT_EQ(Boxes(), c.boxes);
        EXPECT_EQ(Calls().find("disconnect\n") != std::string::npos, c.dialled) << Calls();
        EXPECT_FALSE(manager.IsDisconnectBusy());
    }
    EndCloud();
}

TEST_F(CloudConnectTest, TheProgramsEndOffersToEndOnlyAConnectionOfOurs)
{
    // Ours: Yes ends it.
    Ready();
    Answer("isconnected", PTX_ESTABLISHED);
    host::AnswerMessageBox("You are currently connected online.  Do you want to disconnect now?", IDYES);
    AppServices().owned.pCloud = NULL;
    cloud.reset();
    EXPECT_NE(Calls().find("disconnect\n"), std::string::npos) << Calls();
    EXPECT_EQ(CCloud::GetInstance(), nullptr);

    // Ours: No leaves it up.
    Ready();
    Answer("isconnected", PTX_ESTABLISHED);
    host::AnswerMessageBox("You are currently connected online.", IDNO);
    cloud.reset();
    EXPECT_EQ(Calls().find("disconnect\n"), std::string::npos) << Calls();

    // Made by the provider's software, or always there: no question.
    for (int code : {PTX_CONNECTED_NOT_OURS, PTX_ALWAYS_ESTABLISHED}) {
        Ready();
        Answer("isconnected", code);
        cloud.reset();
        EXPECT_TRUE(Boxes().empty()) << code;
        EXPECT_EQ(Calls().find("disconnect\n"), std::string::npos) << Calls();
    }
}

TEST_F(CloudConnectTest, StateChangesReachOnlyLiveWindowsAndOnlyOnAChange)
{
    CCloud& manager = Ready();
    const UINT message = CCloud::StateChangeMessage();
    CWnd first, second;
    ASSERT_TRUE(first.CreateEx(0, AfxRegisterWndClass(0), "first", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    ASSERT_TRUE(second.CreateEx(0, AfxRegisterWndClass(0), "second", WS_POPUP, CRect(0, 0, 10, 10), NULL, 0));
    EXPECT_EQ(manager.RegisterWindow(&first), CCloud::stateOffline);
    manager.RegisterWindow(&second);
    second.DestroyWindow();

    auto received = [&](HWND hWnd) {
        std::vector<WPARAM> states;
        MSG msg;
        while (PeekMessageA(&msg, hWnd, message, message, PM_REMOVE))
            states.push_back(msg.wParam);
        return states;
    };
    manager.RefreshState();  // unchanged: nothing
    Answer("isconnected", PTX_ESTABLISHED);
    manager.RefreshState();
    manager.RefreshState();
    manager.SetDownloading(TRUE);
    EXPECT_EQ(manager.RefreshState(), CCloud::stateDownloading);
    EXPECT_TRUE(manager.IsDownloading());
    manager.SetDownloading(FALSE);
    manager.RefreshState();
    EXPECT_EQ(received(first.GetSafeHwnd()), (std::vector<WPARAM>{2, 3, 2}));
    MSG msg;
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, message, message, PM_REMOVE)) << "a message to a window gone";
    first.DestroyWindow();
    EndCloud();
}

// ---- the message centre ----

class MessageCentreTest : public CloudTest {};

TEST_F(MessageCentreTest, ParseMessageUpdatesCountsTheNewMessages)
{
    Link("libtestbulletin.so", "libbulletin.so");
    SetProfile("Online", "Download", "T:\\dl");
    CCloud& manager = NewCloud();
    struct Case {
        const char* count;
        std::vector<std::string> boxes;
    } const cases[] = {
        {"0", {}},
        {"1", {"You have 1 new message."}},
        {"3", {"You have 3 new messages."}},
    };
    for (const Case& c : cases) {
        SetEnvironmentVariable("BULLETIN_COUNT", c.count);
        Expect(c.boxes);
        EXPECT_EQ(manager.ParseMessageUpdates(), std::atoi(c.count));
        EXPECT_EQ(Boxes(), c.boxes);
    }
    const auto log = host::MessageBoxLog();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log.back().caption, "Veltra Message Centre");
    EXPECT_EQ(log.back().owner, nullptr);
    EXPECT_EQ(log.back().type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    char calls[1024] = {};
    GetEnvironmentVariable("BULLETIN_CALLS", calls, sizeof calls);
    EXPECT_EQ(std::string(calls), "vlMessageCenterParseUpdate|T:\\dl\\online.upd\n"
                                  "vlMessageCenterParseUpdate|T:\\dl\\online.upd\n"
                                  "vlMessageCenterParseUpdate|T:\\dl\\online.upd\n");
}

TEST_F(MessageCentreTest, RunAndShowPassTheManifestTheObjectAddressAndTheFolder)
{
    Link("libtestbulletin.so", "libbulletin.so");
    SetProfile("Online", "Download", "T:\\dl\\");
    SetProfile("Online", "Site", "http://127.0.0.1:8080/");
    CCloud& manager = NewCloud();
    manager.SetMessagesWaiting(TRUE);
    manager.ShowMessageCenter();
    EXPECT_TRUE(manager.HasMessagesWaiting());
    manager.RunMessageCenter();
    EXPECT_FALSE(manager.HasMessagesWaiting());
    char calls[1024] = {};
    GetEnvironmentVariable("BULLETIN_CALLS", calls, sizeof calls);
    EXPECT_EQ(std::string(calls),
              "vlMessageCenterShow|T:\\dl\\online.upd|http://127.0.0.1:8080/nph-get_object/|T:\\dl\\\n"
              "vlMessageCenter|T:\\dl\\online.upd|http://127.0.0.1:8080/nph-get_object/|T:\\dl\\\n");
    EXPECT_TRUE(Boxes().empty());

    // An empty object entry is told and given up before the library is called.
    SetProfile("Online", "Get_Object", "");
    Expect({"Online features not properly configured: [Online] Get_Object entry missing"});
    EXPECT_TRUE(GaveUp([&] { manager.ShowMessageCenter(); }));
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Online features not properly configured: [Online] Get_Object entry missing"});
}

TEST_F(MessageCentreTest, AMissingExportIsToldAndAMissingLibraryIsSilent)
{
    CCloud& manager = NewCloud();
    // No library at all: nothing happens, nothing is said.
    manager.SetMessagesWaiting(TRUE);
    EXPECT_EQ(manager.ParseMessageUpdates(), 0);
    manager.ShowMessageCenter();
    manager.RunMessageCenter();
    EXPECT_TRUE(Boxes().empty());
    EXPECT_TRUE(manager.HasMessagesWaiting());

    // A library without the parse export.
    Link("libtestbulletinnp.so", "libbulletin.so");
    SetEnvironmentVariable("BULLETIN_COUNT", "2");
    Expect({"Unable to locate vlMessageCenterParseUpdate function in Message Center library."});
    EXPECT_EQ(manager.ParseMessageUpdates(), 0);
    EXPECT_EQ(Boxes(), std::vector<std::string>{
                           "Unable to locate vlMessageCenterParseUpdate function in Message Center library."});
    manager.ShowMessageCenter();
    EXPECT_TRUE(Boxes().empty());
}

}  // namespace
