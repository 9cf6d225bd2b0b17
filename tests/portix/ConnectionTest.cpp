// The engine's connection: Initialize, Connect, Disconnect, IsConnected, LaunchBrowser and
// Configure through the scripted test dialer (PTDTEST.DLL) and the generic dialer, and requests
// through the proxy of the connection settings.
#include "PortixTestSupport.h"

#include <portix/Dialer.h>
#include <portixcmn/PortixCmn.h>

#include <host/Drives.h>
#include <host/SystemVersion.h>
#include <host/UiScript.h>

#include <DialogDriver.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>
#include <fstream>
#include <thread>

namespace {

constexpr const char* kScripted = "Scripted Provider";

// Drive T: with the program "T:\prog\vl00i1se.exe" beside the settings library and the dialers
// (links to the built libraries), the settings in the registry of the emulated system.
class EngineConnection : public ::testing::Test {
protected:
    void SetUp() override
    {
        namespace fs = std::filesystem;
        fs::create_directories(dir.path() / "drive" / "prog");
        fs::create_directories(dir.path() / "system");
        const fs::path bin = fs::read_symlink("/proc/self/exe").parent_path();
        for (const char* library : {"libportixcmn.so", "libptdtest.so", "libptdgenrc.so"})
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
        // The engine's connection is the process's: leave it without a provider.
        dlrSetDefaultConnection();
        CPortix().Initialize();
        logTerminateLogging();
        host::ResetUiScript();
        host::ResetReportedSystem();
        host::SetProgramPlatformPath("");
        host::ResetDrives();
    }

    static void Configure(const char* isp, const char* support, const char* dialer)
    {
        ASSERT_EQ(dlrSetConfiguredIsp(isp), 0);
        ASSERT_EQ(dlrSetSupportDll(isp, support), 0);
        ASSERT_EQ(dlrSetDialerDll(isp, dialer), 0);
    }
    // The scripted dialer's own controls.
    static HMODULE Scripted() { return GetModuleHandle("PTDTEST.DLL"); }
    static void Answer(const char* operation, int code)
    {
        auto set = reinterpret_cast<void (*)(const char*, int)>(GetProcAddress(Scripted(), "ScriptSetAnswer"));
        ASSERT_NE(set, nullptr);
        set(operation, code);
    }
    static std::string Calls()
    {
        auto calls = reinterpret_cast<int (*)(char*, int)>(GetProcAddress(Scripted(), "ScriptCalls"));
        char text[4096] = {};
        if (calls)
            calls(text, sizeof text);
        return text;
    }
    static void ResetScript()
    {
        if (auto reset = reinterpret_cast<void (*)()>(GetProcAddress(Scripted(), "ScriptReset")))
            reset();
    }
    void Link(const char* library) const
    {
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        std::filesystem::create_symlink(bin / library, dir.path() / "drive" / "prog" / library);
    }

    TempDir dir;
};

TEST_F(EngineConnection, InitializeAnswersForEveryKindOfConnection)
{
    Link("libptdtestnc.so");
    struct Case {
        const char* isp;
        const char* support;
        const char* dialer;
        int expected;
    } cases[] = {
        {kScripted, "ISPWSOCK.DLL", "PTDTEST.DLL", PTX_SUCCESS},
        {kScripted, "ispwsock.dll", "ptdtest.dll", PTX_SUCCESS},              // names in any case
        {"No Internet Access", "ISPWSOCK.DLL", "PTDTEST.DLL", PTX_NOT_CONFIGURED},
        {kScripted, "ISPNULL.DLL", "PTDTEST.DLL", PTX_NOT_CONFIGURED},
        {kScripted, "", "PTDTEST.DLL", PTX_NOT_CONFIGURED},
        {kScripted, "OTHERSOCK.DLL", "PTDTEST.DLL", PTX_LIBRARY_NOT_LOADED},
        {kScripted, "ISPWSOCK.DLL", "", PTX_LIBRARY_NOT_NAMED},
        {kScripted, "ISPWSOCK.DLL", "PTDNONE.DLL", PTX_NOT_CONFIGURED},        // never loaded
        {kScripted, "ISPWSOCK.DLL", "PTDMISSING.DLL", PTX_LIBRARY_NOT_LOADED},
        {kScripted, "ISPWSOCK.DLL", "PTDTESTNC.DLL", PTX_NO_CONNECT_ENTRY},
        {"Unknown Type", "ISPWSOCK.DLL", "PTDTEST.DLL", PTX_NOT_CONFIGURED},   // the dialer has no such type
        {"scripted provider", "ISPWSOCK.DLL", "PTDTEST.DLL", PTX_NOT_CONFIGURED},
        {kScripted, "ISPWSOCK.DLL", "PTDTEST.DLL", PTX_SUCCESS},
    };
    for (const Case& c : cases) {
        Configure(c.isp, c.support, c.dialer);
        CPortix engine;
        EXPECT_EQ(engine.Initialize(), c.expected) << c.isp << " / " << c.support << " / " << c.dialer;
        EXPECT_EQ(CPortix::GetDialerDll(), c.expected == PTX_SUCCESS ? CString(c.dialer) : CString()) << c.dialer;
    }
    // The sockets set-up ran once for the loaded dialer, whatever came after.
    const std::string calls = Calls();
    EXPECT_NE(calls.find("setupwinsock"), std::string::npos) << calls;
}

TEST_F(EngineConnection, ADialerWhoseInitialisationFailsGives16483)
{
    // Not loaded at the moment (no provider frees the dialer), so its start-up runs again.
    dlrSetDefaultConnection();
    EXPECT_EQ(CPortix().Initialize(), PTX_NOT_CONFIGURED);
    ASSERT_EQ(Scripted(), nullptr);

    Configure(kScripted, "ISPWSOCK.DLL", "PTDTEST.DLL");
    SetEnvironmentVariable("PTDTEST_FAIL_INIT", "1");
    CPortix engine;
    EXPECT_EQ(engine.Initialize(), PTX_UNKNOWN_ERROR_2);
    EXPECT_EQ(Scripted(), nullptr);  // the load failed whole
    EXPECT_EQ(engine.Connect(), PTX_NOT_INITIALIZED);

    SetEnvironmentVariable("PTDTEST_FAIL_INIT", NULL);
    EXPECT_EQ(engine.Initialize(), PTX_SUCCESS);
    auto initialized = reinterpret_cast<BOOL (*)()>(GetProcAddress(Scripted(), "ScriptInitialized"));
    auto appIsOwn = reinterpret_cast<BOOL (*)()>(GetProcAddress(Scripted(), "ScriptAppIsOwn"));
    ASSERT_NE(initialized, nullptr);
    ASSERT_NE(appIsOwn, nullptr);
    EXPECT_TRUE(initialized());
    EXPECT_TRUE(appIsOwn());

    // The library's ExitInstance runs when its last reference goes.
    SetEnvironmentVariable("PTDTEST_EXITED", NULL);
    dlrSetDefaultConnection();
    EXPECT_EQ(engine.Initialize(), PTX_NOT_CONFIGURED);
    char exited[4] = {};
    GetEnvironmentVariable("PTDTEST_EXITED", exited, sizeof exited);
    EXPECT_STREQ(exited, "1");
    EXPECT_EQ(Scripted(), nullptr);
}

TEST_F(EngineConnection, OperationsGoThroughTheDialerAndIsConnectedMapsTheProvidersConnection)
{
    Configure(kScripted, "ISPWSOCK.DLL", "PTDTEST.DLL");
    CPortix engine;
    ASSERT_EQ(engine.Initialize(), PTX_SUCCESS);
    ResetScript();

    const struct {
        int dialer;
        int engine;
    } states[] = {
        {PTX_PROVIDER_CONNECTED, PTX_ALWAYS_ESTABLISHED},
        {PTX_CONNECTED_NOT_OURS, PTX_CONNECTED_NOT_OURS},
        {PTX_PROVIDER_NOT_CONNECTED, PTX_PROVIDER_NOT_CONNECTED},
        {PTX_ESTABLISHED, PTX_ESTABLISHED},
        {PTX_NOT_ESTABLISHED, PTX_NOT_ESTABLISHED},
    };
    for (auto s : states) {
        Answer("isconnected", s.dialer);
        EXPECT_EQ(engine.IsConnected(), s.engine) << s.dialer;
    }

    Answer("connect", PTX_NOT_SUPPORTED);
    EXPECT_EQ(engine.Connect(), PTX_NOT_SUPPORTED);
    Answer("connect", PTX_UNKNOWN_ERROR);
    EXPECT_EQ(engine.Connect(), PTX_UNKNOWN_ERROR);
    Answer("disconnect", PTX_SUCCESS);
    EXPECT_EQ(engine.Disconnect(), PTX_SUCCESS);
    CString url = "http://127.0.0.1/page.html";
    EXPECT_EQ(engine.LaunchBrowser(url), PTX_SUCCESS);
    EXPECT_EQ(Calls(), "isconnected\nisconnected\nisconnected\nisconnected\nisconnected\nconnect\nconnect\n"
                       "disconnect\nlaunchbrowser http://127.0.0.1/page.html\n");

    // Without a provider nothing reaches a dialer.
    dlrSetDefaultConnection();
    EXPECT_EQ(engine.Initialize(), PTX_NOT_CONFIGURED);
    EXPECT_EQ(engine.Connect(), PTX_NOT_CONFIGURED);
    EXPECT_EQ(engine.IsConnected(), PTX_NOT_CONFIGURED);
    EXPECT_EQ(engine.LaunchBrowser(url), PTX_NOT_CONFIGURED);
}

TEST_F(EngineConnection, TheGenericDialerIsAlwaysConnectedAndDialsNothing)
{
    Configure("Generic Dialer", "ISPWSOCK.DLL", "PTDGENRC.DLL");
    CPortix engine;
    ASSERT_EQ(engine.Initialize(), PTX_SUCCESS);
    EXPECT_EQ(CPortix::GetDialerDll(), "PTDGENRC.DLL");
    EXPECT_EQ(engine.IsConnected(), PTX_ALWAYS_ESTABLISHED);
    EXPECT_EQ(engine.Connect(), PTX_NOT_SUPPORTED);
    EXPECT_EQ(engine.Disconnect(), PTX_NOT_SUPPORTED);
}

TEST_F(EngineConnection, LoggingTypeWritesTheEnginesLines)
{
    Configure(kScripted, "ISPWSOCK.DLL", "PTDTEST.DLL");
    ASSERT_EQ(dlrSetLoggingType("1"), 0);
    ASSERT_EQ(CPortix().Initialize(), PTX_SUCCESS);
    logTerminateLogging();
    std::ifstream in(dir.path() / "drive" / "prog" / "portix.log");
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_NE(log.find("CPortix::Initialize -- Current Isp = Scripted Provider"), std::string::npos) << log;
    EXPECT_NE(log.find("CPortix::Initialize -- ready with PTDTEST.DLL"), std::string::npos) << log;
    ASSERT_EQ(dlrSetLoggingType("0"), 0);
}

// A loopback listener that answers one request and keeps its request line.
class OneShotProxy {
public:
    OneShotProxy()
    {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        bind(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address);
        socklen_t length = sizeof address;
        getsockname(m_socket, reinterpret_cast<sockaddr*>(&address), &length);
        m_port = ntohs(address.sin_port);
        listen(m_socket, 1);
        m_thread = std::thread([this] {
            int client = accept(m_socket, nullptr, nullptr);
            if (client < 0)
                return;
            std::string request;
            char buffer[1024];
            while (request.find("\r\n\r\n") == std::string::npos) {
                ssize_t n = recv(client, buffer, sizeof buffer, 0);
                if (n <= 0)
                    break;
                request.append(buffer, static_cast<std::size_t>(n));
            }
            m_requestLine = request.substr(0, request.find("\r\n"));
            const char reply[] = "HTTP/1.1 200 OK\r\nContent-Length: 7\r\nConnection: close\r\n\r\nproxied";
            send(client, reply, sizeof reply - 1, 0);
            close(client);
        });
    }
    ~OneShotProxy()
    {
        shutdown(m_socket, SHUT_RDWR);
        close(m_socket);
        m_thread.join();
    }
    int Port() const { return m_port; }
    std::string RequestLine()
    {
        m_thread.join();
        m_thread = std::thread([] {});
        return m_requestLine;
    }

private:
    int m_socket = -1;
    int m_port = 0;
    std::thread m_thread;
    std::string m_requestLine;
};

TEST_F(EngineConnection, RequestsGoThroughTheProxyOfTheSettings)
{
    OneShotProxy proxy;
    Configure(kScripted, "ISPWSOCK.DLL", "PTDTEST.DLL");
    ASSERT_EQ(dlrSetHttpProxy("127.0.0.1"), 0);
    ASSERT_EQ(dlrSetHttpProxyPort(std::to_string(proxy.Port()).c_str()), 0);
    ASSERT_EQ(dlrSetFirewallType(1), 0);
    CPortix engine;
    ASSERT_EQ(engine.Initialize(), PTX_SUCCESS);

    portixtest::Recorder request("http://updates.example/online.upd", dir.path() / "drive" / "online.upd");
    ASSERT_EQ(engine.RequestUrl(&request), PTX_SUCCESS);
    ASSERT_TRUE(portixtest::PumpUntil([&] { return request.Ended(); }));
    EXPECT_EQ(request.Last().major, PTX_XFER_ENDED) << request.Sequence();
    // The proxy was asked for the whole address (absolute form).
    EXPECT_EQ(proxy.RequestLine(), "GET http://updates.example/online.upd HTTP/1.1");
    EXPECT_EQ(dir.Read("drive/online.upd"), "proxied");

    // Without a proxy in the settings the next requests go straight to the server again.
    ASSERT_EQ(dlrSetHttpProxy(""), 0);
    ASSERT_EQ(dlrSetFirewallType(0), 0);
    ASSERT_EQ(engine.Initialize(), PTX_SUCCESS);
}

TEST_F(EngineConnection, ConfigureListsTheDialersTypesAndTakesAChosenOne)
{
    dlrSetDefaultConnection();
    // Held here, so that the scripted dialer keeps what it was asked between the engine's loads.
    HMODULE held = LoadLibrary("PTDTEST.DLL");
    ASSERT_NE(held, nullptr);
    ResetScript();
    std::vector<std::string> listed;
    ui::dialog::Drive([&](HWND dlg) {
        listed = ui::dialog::Items(dlg, 1001);
        EXPECT_EQ(ui::dialog::Selected(dlg, 1001), 0);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, 1002)));  // "No Internet Access" has no settings
        ui::dialog::Screenshot(dlg, "portix-configure.png");
        // "Scripted Provider", then OK: the scripted dialer's dialog is saved.
        SendDlgItemMessageA(dlg, 1001, LB_SETCURSEL, 2, 0);
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    CPortix engine;
    EXPECT_EQ(engine.Configure(), PTX_CONFIG_CHANGED);
    EXPECT_EQ(listed, (std::vector<std::string>{"No Internet Access", "Generic Dialer", "Scripted Provider",
                                                "Test Networks:", "    Test Network LAN"}));
    EXPECT_EQ(dlrGetConfiguredIsp(), kScripted);
    EXPECT_EQ(dlrGetSupportDll(kScripted), "ISPWSOCK.DLL");
    EXPECT_EQ(dlrGetDialerDll(kScripted), "PTDTEST.DLL");
    EXPECT_NE(Calls().find("settype Scripted Provider\nconfigure\n"), std::string::npos) << Calls();
    // The change made the connection ready.
    EXPECT_EQ(CPortix::GetDialerDll(), "PTDTEST.DLL");

    // Another type whose own dialog is cancelled: the dialog stays, Cancel leaves all as it was.
    Answer("configure", PTX_CONFIG_UNCHANGED);
    ui::dialog::Drive([&](HWND dlg) {
        EXPECT_EQ(ui::dialog::Selected(dlg, 1001), 2);
        SendDlgItemMessageA(dlg, 1001, LB_SETCURSEL, 4, 0);
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindowVisible(dlg));
        SendMessageA(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    EXPECT_EQ(engine.Configure(), PTX_CONFIG_UNCHANGED);
    EXPECT_EQ(dlrGetConfiguredIsp(), kScripted);

    // A port that is no port is refused; then "No Internet Access".
    host::AnswerMessageBox("The proxy port must be a number from 1 to 65535.", IDOK);
    ui::dialog::Drive([&](HWND dlg) {
        SendDlgItemMessageA(dlg, 1001, LB_SETCURSEL, 0, 0);
        SetDlgItemTextA(dlg, 1004, "80a");
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
        EXPECT_TRUE(IsWindowVisible(dlg));
        SetDlgItemTextA(dlg, 1004, "8080");
        SendMessageA(dlg, WM_COMMAND, IDOK, 0);
    });
    EXPECT_EQ(engine.Configure(), PTX_NOT_CONFIGURED);
    EXPECT_EQ(dlrGetConfiguredIsp(), "No Internet Access");
    EXPECT_EQ(dlrGetHttpProxyPort(), "8080");
    EXPECT_EQ(host::PendingMessageBoxAnswers(), 0u);
    FreeLibrary(held);
}

}  // namespace
