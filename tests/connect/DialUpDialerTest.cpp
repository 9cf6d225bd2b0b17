// The dial-up dialers PTDW95.DLL and PTDCIS.DLL over the platform's remote-access stand-in: the
// phonebook as connection types, connecting with stored or typed accounts, failed and dropped
// lines, the dial-up monitor stand-ins, the browser launch and both settings dialogs.
#include "ConnectTestSupport.h"

#include <dialers/DialUpConnection.h>
#include <dialers/DialerExports.h>

#include <host/MemoryLimit.h>
#include <host/RemoteAccess.h>
#include <host/ShellLaunch.h>
#include <host/UiScript.h>

#include <DialogDriver.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <functional>
#include <thread>
#include <vector>

namespace {

constexpr const char* kDialUp = "Dial-Up Networking";
constexpr const char* kCis = "CompuServe 3.0.1";
constexpr const char* kMonitorTitle = "Dial-Up Networking Monitor";

bool WaitFor(const std::function<bool()>& done, int ms = 10000)
{
    for (int waited = 0; waited < ms; waited += 50) {
        if (done())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return done();
}

// One dialer library loaded from the program's folder, its exports bound by ordinal.
struct Dialer {
    HMODULE module = NULL;
    DLRINFORMATIONPROC information = nullptr;
    DLRPROC connect = nullptr, disconnect = nullptr, isConnected = nullptr, configure = nullptr,
            setupWinsock = nullptr;
    DLRLAUNCHBROWSERPROC launch = nullptr;
    DLRSETCONNECTIONTYPEPROC setType = nullptr;

    bool Load(const char* file)
    {
        module = LoadLibrary(file);
        if (!module)
            return false;
        auto bind = [&](int ordinal) { return GetProcAddress(module, MAKEINTRESOURCE(ordinal)); };
        information = reinterpret_cast<DLRINFORMATIONPROC>(bind(1));
        connect = reinterpret_cast<DLRPROC>(bind(2));
        disconnect = reinterpret_cast<DLRPROC>(bind(3));
        isConnected = reinterpret_cast<DLRPROC>(bind(4));
        configure = reinterpret_cast<DLRPROC>(bind(5));
        launch = reinterpret_cast<DLRLAUNCHBROWSERPROC>(bind(6));
        setupWinsock = reinterpret_cast<DLRPROC>(bind(7));
        setType = reinterpret_cast<DLRSETCONNECTIONTYPEPROC>(bind(8));
        return information && connect && disconnect && isConnected && configure && launch && setupWinsock && setType;
    }
};

// Both dialers, the system tree inside drive T: ("T:\WINNT\WINDOWS" is the Windows folder), and
// the stand-in programs' report folder.
class DialUp : public PortixTest {
protected:
    void SetUp() override
    {
        PortixTest::SetUp();
        std::filesystem::create_directories(Host("WINNT"));
        host::SetSystemRoot(Host("WINNT").string());
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        for (const char* library : {"libptdw95.so", "libptdcis.so"})
            std::filesystem::create_symlink(bin / library, Host(std::string("prog/") + library));
        ASSERT_TRUE(w95.Load("PTDW95.DLL")) << GetLastError();
        ASSERT_TRUE(cis.Load("PTDCIS.DLL")) << GetLastError();
        std::filesystem::create_directories(Host("reports"));
        std::string reports = "C:" + Host("reports").string();
        std::replace(reports.begin(), reports.end(), '/', '\\');
        SetEnvironmentVariable("VL_STANDIN_REPORT", reports.c_str());
        host::SetLaunchSpy([this](const std::vector<std::string>& argv) {
            launched.push_back(argv);
            return true;
        });
        host::ResetUiScript();
    }
    void TearDown() override
    {
        host::SetMemoryBlockLimit(0);
        host::SetLaunchSpy(nullptr);
        host::ResetUiScript();
        for (const char* windowClass : {"VlStandinMonitor", "VlStandinBrowser"})
            for (int tries = 0; tries < 20; ++tries) {
                HWND window = FindWindowA(windowClass, NULL);
                if (!window)
                    break;
                PostMessageA(window, WM_QUIT, 0, 0);
                WaitFor([&] { return FindWindowA(windowClass, NULL) != window; }, 2000);
            }
        SetEnvironmentVariable("VL_STANDIN_REPORT", NULL);
        for (Dialer* dialer : {&w95, &cis})
            if (dialer->module)
                FreeLibrary(dialer->module);
        host::SetSystemRoot("");
        PortixTest::TearDown();
    }

    void Phonebook(const std::string& text) { Write("WINNT/WINDOWS/SYSTEM32/RAS/rasphone.pbk", text); }
    // A stand-in program in a folder of the system tree, under the name the dialers start.
    void StandIn(const char* program, const std::string& relative)
    {
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        std::filesystem::create_directories(Host(relative).parent_path());
        std::filesystem::create_symlink(bin / program, Host(relative));
    }
    // The reports of the stand-ins whose file names begin with the prefix, once `count` of them
    // hold a line that contains `until`.
    std::vector<std::string> Reports(const std::string& prefix, std::size_t count, const std::string& until = "\n")
    {
        std::vector<std::string> reports;
        WaitFor([&] {
            reports.clear();
            std::size_t complete = 0;
            for (auto& entry : std::filesystem::directory_iterator(Host("reports"))) {
                if (entry.path().filename().string().rfind(prefix, 0) != 0)
                    continue;
                std::ifstream in(entry.path());
                reports.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
                complete += reports.back().find(until) != std::string::npos;
            }
            return complete >= count;
        });
        std::sort(reports.begin(), reports.end());
        return reports;
    }
    // Starts the monitor stand-in as the system would; its window once it is up.
    HWND StartMonitor(const std::string& title)
    {
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        auto program = host::FromHostPath((bin / "vlmonitor").string());
        if (!program)
            return NULL;
        std::string command = "\"" + *program + "\" \"--title=" + title + "\"";
        STARTUPINFOA si{};
        si.cb = sizeof si;
        PROCESS_INFORMATION pi{};
        if (!CreateProcessA(NULL, command.data(), NULL, NULL, FALSE, 0, NULL, NULL, &si, &pi))
            return NULL;
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
        HWND window = NULL;
        WaitFor([&] { return (window = FindWindowA(NULL, title.c_str())) != NULL; });
        return window;
    }
    // The entry that a connection names and its stored account: ptdw95 keeps the account under
    // the entry itself, ptdcis under its connection.
    static void StoreAccount(const char* isp, const char* entry, const char* user, const char* password)
    {
        const std::string holder = std::string(isp) == kDialUp ? entry : isp;
        ASSERT_EQ(dlrSetScreenName(isp, entry), 0);  // kept as "EntryName"
        ASSERT_EQ(dlrSetUsername(holder.c_str(), user, entry), 0);
        ASSERT_EQ(dlrSetPassword(holder.c_str(), password, entry), 0);
    }

    Dialer w95, cis;
    std::vector<std::vector<std::string>> launched;
};

TEST_F(DialUp, InformationOffersThePhonebooksEntriesUnderTheHeading)
{
    const struct {
        const char* phonebook;
        std::vector<std::string> entries;
    } cases[] = {
        {nullptr, {}},
        {"[Office Line]\n", {"Office Line"}},
        {"[Office Line]\n[Home ISP]\n[CS3 Connection]\n", {"Office Line", "Home ISP", "CS3 Connection"}},
    };
    for (const auto& c : cases) {
        if (c.phonebook)
            Phonebook(c.phonebook);
        CObArray slots;
        slots.SetSize(5);
        EXPECT_EQ(w95.information(&slots), PTX_SUCCESS);
        auto* heading = static_cast<ConnectionInfo*>(slots[0]);
        ASSERT_NE(heading, nullptr);
        EXPECT_EQ(heading->m_strDisplayName, kDialUp);
        EXPECT_EQ(heading->m_dwListKind, c.entries.empty() ? DLR_LIST_DIALUP : DLR_LIST_HEADING);
        for (int i = 1; i < 5; ++i) {
            auto* info = static_cast<ConnectionInfo*>(slots[i]);
            if (i > static_cast<int>(c.entries.size())) {
                EXPECT_EQ(info, nullptr) << i;
                continue;
            }
            ASSERT_NE(info, nullptr) << i;
            EXPECT_EQ(std::string(info->m_strDisplayName), c.entries[i - 1]);
            EXPECT_EQ(info->m_strSupportDll, "ISPWSOCK.DLL");
            EXPECT_EQ(info->m_strDialerDll, "PTDW95.DLL");
            EXPECT_EQ(info->m_dwListKind, DLR_LIST_GROUPED);
        }
        for (int i = 0; i < 5; ++i)
            delete slots[i];
    }
    // A caller's array shorter than the phonebook is filled only as far as it goes.
    CObArray two;
    two.SetSize(2);
    EXPECT_EQ(w95.information(&two), PTX_SUCCESS);
    EXPECT_EQ(two.GetSize(), 2);
    EXPECT_EQ(static_cast<ConnectionInfo*>(two[1])->m_strDisplayName, "Office Line");
    for (int i = 0; i < 2; ++i)
        delete two[i];
    EXPECT_EQ(w95.information(nullptr), PTX_SUCCESS);

    // No memory for the grown buffer (three records of 264 bytes): 16389; a phonebook that
    // cannot be read: 16391. The heading is there either way.
    for (int step = 0; step < 2; ++step) {
        if (step == 0)
            host::SetMemoryBlockLimit(264);
        else {
            host::SetMemoryBlockLimit(0);
            Phonebook("[Office Line]\nOutcome=whenever\n");
        }
        CObArray slots;
        slots.SetSize(5);
        EXPECT_EQ(w95.information(&slots), step == 0 ? PTX_MEMORY_ERROR : PTX_UNKNOWN_ERROR);
        ASSERT_NE(slots[0], nullptr);
        EXPECT_EQ(static_cast<ConnectionInfo*>(slots[0])->m_dwListKind, DLR_LIST_DIALUP);
        for (int i = 1; i < 5; ++i)
            EXPECT_EQ(slots[i], nullptr);
        delete slots[0];
    }
    EXPECT_EQ(w95.setType("Any Name At All"), PTX_SUCCESS);
}

TEST_F(DialUp, ConnectDialsTheStoredAccountAndTheMonitorFollowsTheLine)
{
    Phonebook("[Office Line]\nAccount=jsmith:secret\n");
    StandIn("vlmonitor", "WINNT/WINDOWS/SYSTEM32/rasmon");
    StoreAccount(kDialUp, "Office Line", "jsmith", "secret");
    EXPECT_EQ(w95.isConnected(), PTX_NOT_ESTABLISHED);

    EXPECT_EQ(w95.connect(), PTX_SUCCESS);
    auto live = host::LiveConnections();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].entry, "Office Line");
    EXPECT_EQ(live[0].user, "jsmith");
    EXPECT_TRUE(live[0].connected);
    // On NT the system folder's monitor starts minimised, in that folder.
    auto reports = Reports("monitor-", 1, "cwd: ");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("\\WINNT\\WINDOWS\\SYSTEM32\n"), std::string::npos) << reports[0];
    HWND monitor = NULL;
    ASSERT_TRUE(WaitFor([&] { return (monitor = FindWindowA(NULL, kMonitorTitle)) != NULL; }));
    EXPECT_TRUE(IsIconic(monitor));

    // Connected already: nothing is dialled and no second monitor starts.
    EXPECT_EQ(w95.isConnected(), PTX_ESTABLISHED);
    EXPECT_EQ(w95.connect(), PTX_SUCCESS);
    EXPECT_EQ(host::LiveConnections().size(), 1u);

    // Disconnect hangs up and asks the monitor to quit.
    EXPECT_EQ(w95.disconnect(), PTX_SUCCESS);
    EXPECT_TRUE(host::LiveConnections().empty());
    reports = Reports("monitor-", 1, "quit\n");
    ASSERT_EQ(reports.size(), 1u);
    EXPECT_NE(reports[0].find("quit\n"), std::string::npos) << reports[0];
    EXPECT_EQ(w95.isConnected(), PTX_NOT_ESTABLISHED);
    EXPECT_EQ(w95.disconnect(), PTX_SUCCESS);
}

TEST_F(DialUp, AConnectionDialledElsewhereIsFoundAndNotDialledAgain)
{
    Phonebook("[Office Line]\n[Home ISP]\n");
    StoreAccount(kDialUp, "Office Line", "jsmith", "secret");
    RASDIALPARAMS params{};
    params.dwSize = sizeof params;
    lstrcpynA(params.szEntryName, "Home ISP", sizeof params.szEntryName);
    HRASCONN elsewhere = 0;
    ASSERT_EQ(RasDial(NULL, NULL, &params, 0, NULL, &elsewhere), 0u);
    EXPECT_EQ(w95.isConnected(), PTX_ESTABLISHED);
    EXPECT_EQ(w95.connect(), PTX_SUCCESS);
    EXPECT_EQ(host::LiveConnections().size(), 1u);
    // It became the dialer's connection: Disconnect ends it.
    EXPECT_EQ(w95.disconnect(), PTX_SUCCESS);
    EXPECT_TRUE(host::LiveConnections().empty());
}

TEST_F(DialUp, AnEmptyPasswordIsAskedForThisDialOnly)
{
    Phonebook("[Office Line]\nAccount=jsmith:typed-secret\n");
    ASSERT_EQ(dlrSetLoggingType("1"), 0);
    logInitializeLogging();
    ASSERT_EQ(dlrSetScreenName(kDialUp, "Office Line"), 0);
    ASSERT_EQ(dlrSetUsername("Office Line", "jsmith", "Office Line"), 0);

    // Cancel: nothing is dialled.
    ui::dialog::Drive([](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Dialup Connection");
        EXPECT_EQ(ui::dialog::Text(dlg, 1002), "jsmith");
        EXPECT_EQ(ui::dialog::Text(dlg, 1004), "");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        ui::dialog::Screenshot(dlg, "ptdw95-logon.png");
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(w95.connect(), PTX_NOT_ESTABLISHED);
    EXPECT_TRUE(host::LiveConnections().empty());

    // OK only with both; the typed account dials.
    ui::dialog::Drive([](HWND dlg) {
        SetDlgItemTextA(dlg, 1004, "typed-secret");
        ui::dialog::Pump(dlg);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        SetDlgItemTextA(dlg, 1002, "");
        ui::dialog::Pump(dlg);
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        SetDlgItemTextA(dlg, 1002, "jsmith");
        ui::dialog::Pump(dlg);
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(w95.connect(), PTX_SUCCESS);
    auto live = host::LiveConnections();
    ASSERT_EQ(live.size(), 1u);
    EXPECT_EQ(live[0].user, "jsmith");
    EXPECT_TRUE(live[0].connected);
    EXPECT_EQ(w95.disconnect(), PTX_SUCCESS);

    // Never stored, never logged.
    EXPECT_EQ(dlrGetPassword("Office Line", "Office Line"), "");
    logTerminateLogging();
    EXPECT_EQ(Read("prog/portix.log").find("typed-secret"), std::string::npos);
    EXPECT_EQ(Registry(std::string(kRoot) + "\\OfficeLine", "Password-Office Line"), "<missing>");
}

TEST_F(DialUp, AFailedDialIsHungUpAndADroppedLineIsNotConnected)
{
    Phonebook("[Busy Line]\nOutcome=busy\n[Silent Line]\nOutcome=no answer\n[Checked Line]\nAccount=jsmith:right\n"
              "[Flaky Line]\nOutcome=drops\nDropAfter=300\n");
    StandIn("vlmonitor", "WINNT/WINDOWS/SYSTEM32/rasmon");
    for (const char* entry : {"Busy Line", "Silent Line", "Checked Line"}) {
        StoreAccount(kDialUp, entry, "jsmith", "wrong");
        EXPECT_EQ(w95.connect(), PTX_NOT_ESTABLISHED) << entry;
        EXPECT_TRUE(host::LiveConnections().empty()) << entry;
        EXPECT_EQ(w95.isConnected(), PTX_NOT_ESTABLISHED) << entry;
    }
    // Without a configured entry nothing is dialled either.
    ASSERT_EQ(dlrSetScreenName(kDialUp, ""), 0);
    EXPECT_EQ(w95.connect(), PTX_NOT_ESTABLISHED);
    EXPECT_TRUE(Reports("monitor-", 0).empty());  // no monitor for a failed dial

    StoreAccount(kDialUp, "Flaky Line", "jsmith", "any");
    ASSERT_EQ(w95.connect(), PTX_SUCCESS);
    EXPECT_EQ(w95.isConnected(), PTX_ESTABLISHED);
    ASSERT_TRUE(WaitFor([] { return FindWindowA(NULL, kMonitorTitle) != NULL; }));
    ASSERT_TRUE(WaitFor([] { return !host::LiveConnections().empty() && !host::LiveConnections()[0].connected; }));
    EXPECT_EQ(w95.isConnected(), PTX_NOT_ESTABLISHED);
    EXPECT_EQ(host::LiveConnections().size(), 1u);  // the handle stays until hung up
    // Disconnect releases a dropped line too.
    EXPECT_EQ(w95.disconnect(), PTX_SUCCESS);
    EXPECT_TRUE(host::LiveConnections().empty());
}

TEST_F(DialUp, OnWindows95TheConnectedWindowIsMinimisedWithoutActivation)
{
    const struct {
        const char* entry;
        const char* title;
    } titles[] = {
        {"Office Line", "Connected to Office Line"},
        {"Eighteen Chars Exa", "Connected to Eighteen Chars Exa"},
        {"Nineteen Characters", "Connected to Nineteen Charac..."},
    };
    for (auto t : titles)
        EXPECT_EQ(ConnectedWindowTitle(t.entry), t.title);

    host::SetReportedSystem(host::ReportedSystem::Windows95);
    Phonebook("[Nineteen Characters]\n");
    StoreAccount(kDialUp, "Nineteen Characters", "jsmith", "secret");
    HWND connected = StartMonitor("Connected to Nineteen Charac...");
    ASSERT_NE(connected, nullptr);
    ASSERT_FALSE(IsIconic(connected));
    EXPECT_EQ(w95.connect(), PTX_SUCCESS);
    EXPECT_TRUE(WaitFor([&] { return IsIconic(connected) != FALSE; }));
    EXPECT_NE(GetForegroundWindow(), connected);
    EXPECT_EQ(FindWindowA(NULL, kMonitorTitle), nullptr);  // no monitor program on Windows 95
    EXPECT_EQ(w95.disconnect(), PTX_SUCCESS);
}

TEST_F(DialUp, DialUpSettingsAreKeptPerPhonebookEntry)
{
    // An empty phonebook: nothing to save.
    ASSERT_EQ(w95.setType("Office Line"), PTX_SUCCESS);
    ui::dialog::Drive([](HWND dlg) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(w95.configure(), PTX_CONFIG_UNCHANGED);

    Phonebook("[Home ISP]\n[Office Line]\nUser=pbuser\nPassword=pbpass\n");
    Write("Web/browser.exe", "program");
    ASSERT_EQ(w95.setType("Office Line"), PTX_SUCCESS);
    ui::dialog::Drive([](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Dial-Up Networking Settings");
        ui::dialog::Screenshot(dlg, "ptdw95-settings.png");
        EXPECT_EQ(ui::dialog::Text(dlg, 1001), "Office Line");
        EXPECT_EQ(ui::dialog::Text(dlg, 1002), "pbuser");  // the phonebook's saved account
        EXPECT_EQ(ui::dialog::Text(dlg, 1003), "pbpass");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1000)));
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1011), BST_CHECKED);
        for (int id : {2002, 2003, 1004, 1009})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        SendDlgItemMessageA(dlg, 1011, BM_CLICK, 0, 0);
        for (int id : {2002, 2003, 1004, 1009})
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        SetDlgItemTextA(dlg, 1002, "jsmith");
        SetDlgItemTextA(dlg, 1003, "secret");
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);  // no program: message 1
        SetDlgItemTextA(dlg, 2002, "T:\\Web\\missing.exe");
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);  // message 2
        EXPECT_TRUE(IsWindowVisible(dlg));
        SetDlgItemTextA(dlg, 2002, "T:\\Web\\browser.exe");
        SetDlgItemTextA(dlg, 1004, "-new");
        SendDlgItemMessageA(dlg, 1009, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);
    });
    host::AnswerMessageBox("You have not selected a Web browser.", IDOK);
    host::AnswerMessageBox("The Web browser you selected is invalid.", IDOK);
    EXPECT_EQ(w95.configure(), PTX_CONFIG_CHANGED);
    EXPECT_EQ(host::MessageBoxLog().size(), 2u);
    EXPECT_EQ(dlrGetScreenName(kDialUp), "Office Line");
    EXPECT_EQ(dlrGetUsername("Office Line", "Office Line"), "jsmith");
    EXPECT_EQ(dlrGetPassword("Office Line", "Office Line"), "secret");
    EXPECT_EQ(dlrGetBrowser("Office Line"), "T:\\Web\\browser.exe");
    EXPECT_EQ(dlrGetBrowserParams("Office Line"), "-new");
    EXPECT_EQ(dlrGetSupportDll("Office Line"), "ISPWSOCK.DLL");
    EXPECT_EQ(dlrGetDialerDll("Office Line"), "PTDW95.DLL");
    EXPECT_EQ(dlrGetUseDefaultBrowser("Office Line"), 0);
    EXPECT_EQ(dlrGetBrowserInstanceFlag("Office Line"), 1);

    // The browser launch reads the configured entry's settings.
    ASSERT_EQ(dlrSetUseDefaultBrowser("Office Line", 1), 0);
    CString url = "http://127.0.0.1/news.html";
    EXPECT_EQ(w95.launch(url), PTX_SUCCESS);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], host::BrowserArgv("http://127.0.0.1/news.html"));
}

TEST_F(DialUp, CompuServeStartsItsBrowserStarterWithAWebAddress)
{
    StandIn("vlstandin", "WINNT/WINDOWS/gocserve");
    StandIn("vlstandin", "Web Browser/browser");
    ASSERT_EQ(cis.setType(kCis), PTX_SUCCESS);
    ASSERT_EQ(dlrSetBrowserParams(kCis, "-k"), 0);
    // CompuServe's starter (the default): "http://" before a bare host, any case kept.
    const struct {
        const char* url;
        int result;
        const char* args;  // nullptr: nothing starts
    } starter[] = {
        {"www.example.com", PTX_SUCCESS, "args: http://www.example.com|-k\n"},
        {"HTTP://Example.com/x", PTX_SUCCESS, "args: HTTP://Example.com/x|-k\n"},
        {"", PTX_SUCCESS, "args: -k\n"},
        {"www.example.com/a b", PTX_UNKNOWN_ERROR, nullptr},
    };
    std::size_t started = 0;
    for (auto c : starter) {
        CString url = c.url;
        EXPECT_EQ(cis.launch(url), c.result) << c.url;
        if (!c.args)
            continue;
        ++started;
        auto reports = Reports("standin-", started);
        ASSERT_EQ(reports.size(), started) << c.url;
        EXPECT_NE(std::find(reports.begin(), reports.end(), c.args), reports.end()) << c.url;
    }
    EXPECT_TRUE(launched.empty());  // nothing through the shell

    // A browser of one's own: the address as given.
    ASSERT_EQ(dlrSetUseDefaultBrowser(kCis, 0), 0);
    ASSERT_EQ(dlrSetBrowser(kCis, "T:\\Web Browser\\browser.exe"), 0);
    CString url = "www.example.com";
    EXPECT_EQ(cis.launch(url), PTX_UNKNOWN_ERROR);
    url = "http://127.0.0.1/own.html";
    EXPECT_EQ(cis.launch(url), PTX_SUCCESS);
    auto reports = Reports("standin-", started + 1);
    EXPECT_NE(std::find(reports.begin(), reports.end(), "args: http://127.0.0.1/own.html|-k\n"), reports.end());
    ASSERT_EQ(dlrSetBrowser(kCis, ""), 0);
    EXPECT_EQ(cis.launch(url), PTX_NOT_CONFIGURED);
}

TEST_F(DialUp, CompuServeDialsTheEntryItsConnectionNames)
{
    Phonebook("[CS3 Connection]\nAccount=70000,1:secret\n");
    StandIn("vlmonitor", "WINNT/WINDOWS/SYSTEM32/rasmon");
    ASSERT_EQ(cis.setType(kCis), PTX_SUCCESS);
    ASSERT_EQ(dlrSetScreenName(kCis, "CS3 Connection"), 0);
    ASSERT_EQ(dlrSetUsername(kCis, "70000,1", "CS3 Connection"), 0);

    // No stored password: the logon dialog of CompuServe's template.
    ui::dialog::Drive([](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Dialup Connection");
        EXPECT_EQ(ui::dialog::Text(dlg, 1002), "70000,1");
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(cis.connect(), PTX_NOT_ESTABLISHED);
    EXPECT_TRUE(host::LiveConnections().empty());

    ASSERT_EQ(dlrSetPassword(kCis, "secret", "CS3 Connection"), 0);
    EXPECT_EQ(cis.connect(), PTX_SUCCESS);
    ASSERT_EQ(host::LiveConnections().size(), 1u);
    EXPECT_EQ(cis.isConnected(), PTX_ESTABLISHED);
    HWND monitor = NULL;
    ASSERT_TRUE(WaitFor([&] { return (monitor = FindWindowA(NULL, kMonitorTitle)) != NULL; }));
    // Its Disconnect hangs up but leaves the monitor window alone.
    EXPECT_EQ(cis.disconnect(), PTX_SUCCESS);
    EXPECT_TRUE(host::LiveConnections().empty());
    EXPECT_EQ(cis.isConnected(), PTX_NOT_ESTABLISHED);
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(IsWindow(monitor));
    for (auto& r : Reports("monitor-", 1))
        EXPECT_EQ(r.find("quit"), std::string::npos) << r;
}

TEST_F(DialUp, CompuServeSettingsFollowTheChosenSession)
{
    ASSERT_EQ(cis.setType(kCis), PTX_SUCCESS);
    ui::dialog::Drive([](HWND dlg) {
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(cis.configure(), PTX_CONFIG_UNCHANGED);

    Phonebook("[Home ISP]\nUser=home\nPassword=homepass\n[CS3 Connection]\nUser=70000,1\nPassword=cspass\n");
    Write("Web/browser.exe", "program");
    ASSERT_EQ(dlrSetUsername(kCis, "stored-cs", "CS3 Connection"), 0);
    ui::dialog::Drive([](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "CompuServe Settings");
        ui::dialog::Screenshot(dlg, "ptdcis-settings.png");
        HWND sessions = GetDlgItem(dlg, 1002);
        EXPECT_EQ(SendMessageA(sessions, CB_GETCOUNT, 0, 0), 2);
        EXPECT_EQ(SendMessageA(sessions, CB_GETCURSEL, 0, 0), 0);  // no entry stored: the first
        EXPECT_EQ(ui::dialog::Text(dlg, 1004), "home");
        EXPECT_EQ(ui::dialog::Text(dlg, 1005), "homepass");
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1001), BST_CHECKED);
        for (int id : {2002, 2003, 1003, 1009})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        // Another session: its account (the stored user name, the phonebook's password).
        SendMessageA(sessions, CB_SETCURSEL, 1, 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1002, CBN_SELCHANGE), reinterpret_cast<LPARAM>(sessions));
        EXPECT_EQ(ui::dialog::Text(dlg, 1004), "stored-cs");
        EXPECT_EQ(ui::dialog::Text(dlg, 1005), "cspass");
        // The default browser is chosen, yet a valid program is wanted.
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);
        SetDlgItemTextA(dlg, 2002, "T:\\Web\\missing.exe");
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);
        EXPECT_TRUE(IsWindowVisible(dlg));
        SetDlgItemTextA(dlg, 2002, "T:\\Web\\browser.exe");
        SendDlgItemMessageA(dlg, IDOK, BM_CLICK, 0, 0);
    });
    host::AnswerMessageBox("You have not selected a Web browser.", IDOK);
    host::AnswerMessageBox("The Web browser you selected is invalid.", IDOK);
    EXPECT_EQ(cis.configure(), PTX_CONFIG_CHANGED);
    EXPECT_EQ(host::MessageBoxLog().size(), 2u);
    EXPECT_EQ(dlrGetScreenName(kCis), "CS3 Connection");
    EXPECT_EQ(dlrGetUsername(kCis, "CS3 Connection"), "stored-cs");
    EXPECT_EQ(dlrGetPassword(kCis, "CS3 Connection"), "cspass");
    EXPECT_EQ(dlrGetBrowser(kCis), "T:\\Web\\browser.exe");
    EXPECT_EQ(dlrGetUseDefaultBrowser(kCis), 1);
    EXPECT_EQ(dlrGetSupportDll(kCis), "ISPWSOCK.DLL");
    EXPECT_EQ(dlrGetDialerDll(kCis), "PTDCIS.DLL");

    // Opened again: the stored session is chosen.
    ui::dialog::Drive([](HWND dlg) {
        EXPECT_EQ(SendDlgItemMessageA(dlg, 1002, CB_GETCURSEL, 0, 0), 1);
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(cis.configure(), PTX_CONFIG_UNCHANGED);
}

TEST_F(DialUp, AutoConfigureFindsABrowserOnTheFixedDrives)
{
    // C: on a folder of its own, so that only the test's drives are searched.
    TempDir c;
    host::MapDrive('C', c.str(), DRIVE_FIXED, "SYSTEM");
    Phonebook("[Home ISP]\n[CS3 Connection]\nUser=70000,1\n");
    Write("Apps/Nav/netscape.exe", "");
    Write("Apps/IE/iexplore.exe", "");
    ASSERT_EQ(w95.setType("Home ISP"), PTX_SUCCESS);
    ASSERT_EQ(cis.setType(kCis), PTX_SUCCESS);

    // The dial-up dialer asks for its browsers in its own order; the CompuServe dialer takes
    // the settings library's default browser and moves to CompuServe's own session.
    ui::dialog::Drive([](HWND dlg) {
        SetDlgItemTextA(dlg, 1004, "-old");
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 1000)));
        EXPECT_EQ(ui::dialog::Text(dlg, 2002), "T:\\Apps\\IE\\iexplore.exe");
        EXPECT_EQ(ui::dialog::Text(dlg, 1004), "");
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(w95.configure(), PTX_CONFIG_UNCHANGED);
    ui::dialog::Drive([](HWND dlg) {
        SendDlgItemMessageA(dlg, 1001, BM_CLICK, 0, 0);  // CompuServe's browser off
        EXPECT_EQ(SendDlgItemMessageA(dlg, 1002, CB_GETCURSEL, 0, 0), 0);
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 1000)));
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1001), BST_CHECKED);
        EXPECT_EQ(SendDlgItemMessageA(dlg, 1002, CB_GETCURSEL, 0, 0), 1);
        EXPECT_EQ(ui::dialog::Text(dlg, 1004), "70000,1");
        EXPECT_EQ(ui::dialog::Text(dlg, 2002), "T:\\Apps\\Nav\\netscape.exe");
        SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(cis.configure(), PTX_CONFIG_UNCHANGED);

    // Nothing to find: message 5, the program as it was.
    std::filesystem::remove_all(Host("Apps"));
    for (Dialer* dialer : {&w95, &cis}) {
        ui::dialog::Drive([](HWND dlg) {
            SetDlgItemTextA(dlg, 2002, "T:\\kept.exe");
            SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, 1000)));
            EXPECT_EQ(ui::dialog::Text(dlg, 2002), "T:\\kept.exe");
            SendDlgItemMessageA(dlg, IDCANCEL, BM_CLICK, 0, 0);
        });
        host::AnswerMessageBox("Autoconfigure could not find any browsers.", IDOK);
        EXPECT_EQ(dialer->configure(), PTX_CONFIG_UNCHANGED);
    }
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 2u);
    for (auto& box : boxes)
        EXPECT_EQ(box.text, "Autoconfigure could not find any browsers.  Please manually configure your browser.");
    char current[MAX_PATH] = {};
    GetCurrentDirectory(MAX_PATH, current);
    EXPECT_STREQ(current, "T:\\") << "the current folder is restored";
}

TEST_F(DialUp, SetupWinsockOnlyRemovesTheBridgeFiles)
{
    ASSERT_EQ(dlrSetScreenName(kDialUp, "Office Line"), 0);
    ASSERT_EQ(cis.setType(kCis), PTX_SUCCESS);
    for (Dialer* dialer : {&w95, &cis}) {
        Write("prog/wsock32.dll", "bridge");
        Write("prog/wsa32srv.dll", "bridge");
        EXPECT_EQ(dialer->setupWinsock(), PTX_SUCCESS);
        EXPECT_FALSE(std::filesystem::exists(Host("prog/wsock32.dll")));
        EXPECT_FALSE(std::filesystem::exists(Host("prog/wsa32srv.dll")));
    }
}

}  // namespace
