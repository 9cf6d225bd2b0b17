// The dialer interface over the five libraries' tables, and the generic dialer PTDGENRC.DLL:
// its exports, its connection probe, the browser launch (through the shell's launch spy and a
// stand-in browser of this platform) and its settings dialog.
#include "ConnectTestSupport.h"

#include <dialers/BrowserCommand.h>
#include <dialers/DialerExports.h>

#include <host/ShellLaunch.h>
#include <host/UiScript.h>

#include <DialogDriver.h>

#include <chrono>
#include <cstring>
#include <fstream>
#include <thread>
#include <vector>

namespace {

using DialerTables = ::testing::Test;

TEST_F(DialerTables, InformationFillsOneSlotPerRecordAndSelectionIsExact)
{
    struct Expected {
        const char* library;
        std::vector<std::pair<std::string, DWORD>> types;  // name, list kind
    } expected[] = {
        {"PTDGENRC.DLL", {{"Generic Dialer", 0}}},
        {"PTDW95.DLL", {{"Dial-Up Networking", 3}}},
        {"PTDCIS.DLL", {{"CompuServe", 1}, {"CompuServe 3.0.1", 2}}},
        {"PTDAOL40.DLL", {{"America Online", 1}, {"America Online 4.0 for Windows 95", 2}}},
        {"PTDAOL.DLL", {{"America Online", 1}, {"America Online 3.0", 2}, {"America Online 3.0 for Windows 95", 2}}},
    };
    int count = 0;
    AllDialerTables(count);
    ASSERT_EQ(count, 5);
    for (const Expected& e : expected) {
        const DialerTable* table = FindDialerTable(e.library);
        ASSERT_NE(table, nullptr) << e.library;
        CConnectionTypes types(*table);
        CObArray slots;
        slots.SetSize(5);
        EXPECT_EQ(types.Information(&slots), PTX_SUCCESS);
        for (int i = 0; i < 5; ++i) {
            auto* info = static_cast<ConnectionInfo*>(slots[i]);
            if (i >= static_cast<int>(e.types.size())) {
                EXPECT_EQ(info, nullptr) << e.library << " slot " << i;
                continue;
            }
            ASSERT_NE(info, nullptr) << e.library << " slot " << i;
            EXPECT_EQ(std::string(info->m_strDisplayName), e.types[i].first);
            EXPECT_EQ(info->m_dwListKind, e.types[i].second);
            const bool heading = e.types[i].second == DLR_LIST_HEADING;
            EXPECT_EQ(info->m_strSupportDll, heading ? "" : "ISPWSOCK.DLL") << info->m_strDisplayName;
            EXPECT_EQ(info->m_strDialerDll, heading ? CString() : CString(e.library)) << info->m_strDisplayName;
            EXPECT_EQ(info->m_wReserved, 0);
            delete info;
        }
        // Each name selects its record; one that differs in case selects nothing (back to 0).
        for (std::size_t i = 0; i < e.types.size(); ++i) {
            EXPECT_EQ(types.Select(e.types[i].first.c_str()), PTX_SUCCESS);
            EXPECT_EQ(types.SelectedIndex(), static_cast<int>(i));
        }
        CString upper = e.types.back().first.c_str();
        upper.MakeUpper();
        EXPECT_EQ(types.Select(upper), PTX_NOT_CONFIGURED);
        EXPECT_EQ(types.SelectedIndex(), 0);
        EXPECT_EQ(types.Information(nullptr), PTX_SUCCESS);
    }
    // A caller's array smaller than the table is filled only as far as it goes.
    CConnectionTypes aol(*FindDialerTable("ptdaol.dll"));
    CObArray two;
    two.SetSize(2);
    aol.Information(&two);
    EXPECT_EQ(two.GetSize(), 2);
    for (int i = 0; i < 2; ++i)
        delete two[i];
}

TEST_F(DialerTables, OnlyPlainWebAddressesReachABrowsersCommandLine)
{
    const struct {
        const char* url;
        bool launchable;
    } cases[] = {
        {"http://www.example.com/", true},
        {"https://user@www.example.com:8080/a?b=c#d", true},
        {"HTTP://EXAMPLE.COM", true},
        {"http://[::1]/page", true},
        {"", false},
        {"www.example.com", false},
        {"ftp://example.com/", false},
        {"file:///etc/passwd", false},
        {"http:///nohost", false},
        {"http://:80/", false},
        {"http://example.com/a b", false},
        {"http://example.com/\"--new-window", false},
        {"http://example.com/\t", false},
        {"http://example.com/\x7f", false},
    };
    for (auto c : cases)
        EXPECT_EQ(IsLaunchableUrl(c.url) != FALSE, c.launchable) << c.url;
    EXPECT_TRUE(IsLaunchableUrl(CString("http://e.com/") + CString('a', 2035)));
    EXPECT_FALSE(IsLaunchableUrl(CString("http://e.com/") + CString('a', 2036)));

    EXPECT_EQ(BrowserCommandLine("C:\\Web\\browser.exe", "http://e.com/", "-k"), "C:\\Web\\browser.exe http://e.com/ -k");
    EXPECT_EQ(BrowserCommandLine("C:\\Program Files\\b.exe", "", ""), "\"C:\\Program Files\\b.exe\"");
    EXPECT_EQ(ProgramFolderOf("C:\\Web\\browser.exe"), "C:\\Web");
    EXPECT_EQ(ProgramFolderOf("browser.exe"), "");
}

// PTDGENRC.DLL loaded from the program's folder (a link to the built library).
class GenericDialer : public PortixTest {
protected:
    void SetUp() override
    {
        PortixTest::SetUp();
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        std::filesystem::create_symlink(bin / "libptdgenrc.so", Host("prog/libptdgenrc.so"));
        library = LoadLibrary("PTDGENRC.DLL");
        ASSERT_NE(library, nullptr) << GetLastError();
        information = reinterpret_cast<DLRINFORMATIONPROC>(GetProcAddress(library, MAKEINTRESOURCE(1)));
        isConnected = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(4)));
        configure = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(5)));
        launch = reinterpret_cast<DLRLAUNCHBROWSERPROC>(GetProcAddress(library, MAKEINTRESOURCE(6)));
        setType = reinterpret_cast<DLRSETCONNECTIONTYPEPROC>(GetProcAddress(library, MAKEINTRESOURCE(8)));
        ASSERT_TRUE(information && isConnected && configure && launch && setType);
        host::SetLaunchSpy([this](const std::vector<std::string>& argv) {
            launched.push_back(argv);
            return true;
        });
        host::ResetUiScript();
    }
    void TearDown() override
    {
        host::SetLaunchSpy(nullptr);
        host::ResetUiScript();
        if (library)
            FreeLibrary(library);
        PortixTest::TearDown();
    }

    HMODULE library = NULL;
    DLRINFORMATIONPROC information = nullptr;
    DLRPROC isConnected = nullptr;
    DLRPROC configure = nullptr;
    DLRLAUNCHBROWSERPROC launch = nullptr;
    DLRSETCONNECTIONTYPEPROC setType = nullptr;
    std::vector<std::vector<std::string>> launched;
};

constexpr const char* kGeneric = "Generic Dialer";

TEST_F(GenericDialer, ExportsByOrdinalAndByName)
{
    const char* const names[] = {"dlrInformation",         "dlrConnect",           "dlrDisconnect",
                                 "dlrIsConnected",         "dlrConfigure",         "dlrLaunchBrowser",
                                 "dlrSetupWinsock",        "dlrSetConnectionType", "_ZN7CStatusaSERKS_",
                                 "_ZNK7CStatus12GetMajorCodeEv", "_ZNK7CStatus12GetMajorDescEv",
                                 "_ZNK7CStatus12GetMinorCodeEv", "_ZNK7CStatus12GetMinorDescEv",
                                 "_ZNK7CStatus16GetRawStatusCodeEv", "_ZN7CStatus16SetRawStatusCodeEl"};
    for (int ordinal = 1; ordinal <= 15; ++ordinal) {
        FARPROC byOrdinal = GetProcAddress(library, MAKEINTRESOURCE(ordinal));
        EXPECT_NE(byOrdinal, nullptr) << ordinal;
        EXPECT_EQ(byOrdinal, GetProcAddress(library, names[ordinal - 1])) << names[ordinal - 1];
    }
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCE(16)), nullptr);

    auto connect = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(2)));
    auto disconnect = reinterpret_cast<DLRPROC>(GetProcAddress(library, MAKEINTRESOURCE(3)));
    EXPECT_EQ(connect(), PTX_NOT_SUPPORTED);
    EXPECT_EQ(disconnect(), PTX_NOT_SUPPORTED);
    EXPECT_EQ(setType("generic dialer"), PTX_NOT_CONFIGURED);
    EXPECT_EQ(setType(kGeneric), PTX_SUCCESS);
    CObArray slots;
    slots.SetSize(1);
    EXPECT_EQ(information(&slots), PTX_SUCCESS);
    auto* info = static_cast<ConnectionInfo*>(slots[0]);
    ASSERT_NE(info, nullptr);
    EXPECT_EQ(info->m_strDisplayName, kGeneric);
    EXPECT_EQ(info->m_strDialerDll, "PTDGENRC.DLL");
    delete info;
    EXPECT_EQ(information(nullptr), PTX_SUCCESS);
}

TEST_F(GenericDialer, OnNtTheProviderIsConnectedWithoutProbing)
{
    ASSERT_EQ(dlrSetLoggingType("1"), 0);
    logInitializeLogging();
    EXPECT_EQ(isConnected(), PTX_PROVIDER_CONNECTED);
    logTerminateLogging();
    const std::string log = Read("prog/portix.log");
    EXPECT_NE(log.find("dlrIsConnected -- Entering Function"), std::string::npos) << log;
    EXPECT_EQ(log.find("Platform is not NT"), std::string::npos) << log;
}

TEST_F(GenericDialer, LaunchesTheDefaultOrTheConfiguredBrowser)
{
    // The default browser through the shell: the address is the host browser's one argument.
    ASSERT_EQ(setType(kGeneric), PTX_SUCCESS);
    CString url = "http://127.0.0.1:8080/news/today.html";
    EXPECT_EQ(launch(url), PTX_SUCCESS);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], host::BrowserArgv("http://127.0.0.1:8080/news/today.html"));
    EXPECT_EQ(launched[0].size(), 2u);

    // Addresses that would break out of their argument are refused; nothing starts.
    for (const char* bad : {"http://e.com/a b", "http://e.com/\"-x", "javascript:alert(1)"}) {
        CString refused = bad;
        EXPECT_EQ(launch(refused), PTX_UNKNOWN_ERROR) << bad;
    }
    EXPECT_EQ(launched.size(), 1u);

    // A browser of one's own without a program set: 16385.
    ASSERT_EQ(dlrSetUseDefaultBrowser(kGeneric, 0), 0);
    EXPECT_EQ(launch(url), PTX_NOT_CONFIGURED);
    // A program that does not exist: 16391.
    ASSERT_EQ(dlrSetBrowser(kGeneric, "T:\\prog\\nobrowser.exe"), 0);
    EXPECT_EQ(launch(url), PTX_UNKNOWN_ERROR);
}

// The stand-in browser in the program's folder; what its instances reported.
class BrowserLaunch : public GenericDialer {
protected:
    void SetUp() override
    {
        GenericDialer::SetUp();
        const auto bin = std::filesystem::read_symlink("/proc/self/exe").parent_path();
        std::filesystem::create_directories(Host("Web Browser"));
        std::filesystem::create_directories(Host("reports"));
        std::filesystem::create_symlink(bin / "vlstandin", Host("Web Browser/browser"));
        // The stand-ins know no drive T: (the map is this process's): the host root is their C:.
        std::string reports = "C:" + Host("reports").string();
        std::replace(reports.begin(), reports.end(), '/', '\\');
        SetEnvironmentVariable("VL_STANDIN_REPORT", reports.c_str());
        ASSERT_EQ(dlrSetUseDefaultBrowser(kGeneric, 0), 0);
        ASSERT_EQ(dlrSetBrowser(kGeneric, "T:\\Web Browser\\browser.exe"), 0);
        ASSERT_EQ(setType(kGeneric), PTX_SUCCESS);
    }
    void TearDown() override
    {
        SetEnvironmentVariable("VL_STANDIN_REPORT", NULL);
        // Whatever still runs: close its window.
        while (HWND window = FindWindowA("VlStandinBrowser", NULL)) {
            PostMessageA(window, WM_QUIT, 0, 0);
            Sleep(100);
            if (FindWindowA("VlStandinBrowser", NULL) == window) {
                SendMessageTimeoutA(window, WM_CLOSE, 0, 0, SMTO_ABORTIFHUNG, 500, NULL);
                break;
            }
        }
        GenericDialer::TearDown();
    }
    // The reports of the instances, waiting until `count` have written `lines` lines each.
    std::vector<std::string> Reports(std::size_t count, std::size_t lines = 1)
    {
        std::vector<std::string> reports;
        for (int tries = 0; tries < 200; ++tries) {
            reports.clear();
            for (auto& entry : std::filesystem::directory_iterator(Host("reports"))) {
                std::ifstream in(entry.path());
                reports.emplace_back((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
            }
            std::size_t complete = 0;
            for (auto& r : reports)
                complete += static_cast<std::size_t>(std::count(r.begin(), r.end(), '\n')) >= lines;
            if (reports.size() >= count && complete >= count)
                break;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        std::sort(reports.begin(), reports.end());
        return reports;
    }
};

TEST_F(BrowserLaunch, TheConfiguredBrowserGetsTheAddressAndItsParameters)
{
    ASSERT_EQ(dlrSetBrowserParams(kGeneric, "--profile \"My Profile\" -k"), 0);
    CString url = "http://127.0.0.1/page.html";
    EXPECT_EQ(launch(url), PTX_SUCCESS);
    CString empty;
    EXPECT_EQ(launch(empty), PTX_SUCCESS);
    auto reports = Reports(2);
    ASSERT_EQ(reports.size(), 2u);
    // A quoted parameter stays one argument; an empty address adds none.
    EXPECT_EQ(reports[0], "args: --profile|My Profile|-k\n");
    EXPECT_EQ(reports[1], "args: http://127.0.0.1/page.html|--profile|My Profile|-k\n");
    EXPECT_TRUE(launched.empty());  // nothing went through the shell
}

TEST_F(BrowserLaunch, OneBrowserAtATimeClosesTheRememberedOne)
{
    ASSERT_EQ(dlrSetBrowserInstanceFlag(kGeneric, 1), 0);
    CString first = "http://127.0.0.1/first.html";
    ASSERT_EQ(launch(first), PTX_SUCCESS);
    ASSERT_EQ(Reports(1).size(), 1u);
    // Its window is up before the next launch.
    for (int tries = 0; tries < 100 && !FindWindowA("VlStandinBrowser", NULL); ++tries)
        Sleep(50);
    ASSERT_NE(FindWindowA("VlStandinBrowser", NULL), nullptr);
    CString second = "http://127.0.0.1/second.html";
    ASSERT_EQ(launch(second), PTX_SUCCESS);
    auto reports = Reports(2);
    ASSERT_EQ(reports.size(), 2u);
    // The first one was asked to quit, the second runs on.
    reports = Reports(2, 1);
    bool firstQuit = false, secondRuns = false;
    for (int tries = 0; tries < 100 && !(firstQuit && secondRuns); ++tries) {
        reports = Reports(2);
        firstQuit = secondRuns = false;
        for (auto& r : reports) {
            if (r == "args: http://127.0.0.1/first.html\nquit\n")
                firstQuit = true;
            if (r == "args: http://127.0.0.1/second.html\n")
                secondRuns = true;
        }
        Sleep(50);
    }
    EXPECT_TRUE(firstQuit) << reports[0] << reports[1];
    EXPECT_TRUE(secondRuns) << reports[0] << reports[1];

    // Without the flag nothing is remembered and no earlier browser is closed.
    ASSERT_EQ(dlrSetBrowserInstanceFlag(kGeneric, 0), 0);
    CString third = "http://127.0.0.1/third.html";
    ASSERT_EQ(launch(third), PTX_SUCCESS);
    ASSERT_EQ(Reports(3).size(), 3u);
    Sleep(300);
    for (auto& r : Reports(3))
        EXPECT_EQ(r.find("second.html\nquit"), std::string::npos) << r;
}

TEST_F(GenericDialer, SettingsDialogChecksTheBrowserAndSavesTheConnection)
{
    ASSERT_EQ(setType(kGeneric), PTX_SUCCESS);
    Write("Web/browser.exe", "program");

    // A connection never saved: the default browser, its fields disabled.
    ui::dialog::Drive([](HWND dlg) {
        ui::dialog::Screenshot(dlg, "ptdgenrc-settings.png");
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Generic ISP Settings");
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1010), BST_CHECKED);
        for (int id : {2002, 2003, 1004, 1009})
            EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        EXPECT_FALSE(IsWindowVisible(GetDlgItem(dlg, 1000)));  // AutoConfigure is hidden
        SendDlgItemMessageA(dlg, 1010, BM_CLICK, 0, 0);
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1010), BST_UNCHECKED);
        for (int id : {2002, 2003, 1004, 1009})
            EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, id))) << id;
        SendDlgItemMessageA(dlg, 1, BM_CLICK, 0, 0);  // no program: message 1
        EXPECT_TRUE(IsWindowVisible(dlg));
        SetDlgItemTextA(dlg, 2002, "T:\\Web\\missing.exe");
        SendDlgItemMessageA(dlg, 1, BM_CLICK, 0, 0);  // no such program: message 2
        EXPECT_TRUE(IsWindowVisible(dlg));
        SetDlgItemTextA(dlg, 2002, "T:\\Web\\browser.exe");
        SetDlgItemTextA(dlg, 1004, "-new");
        SendDlgItemMessageA(dlg, 1009, BM_CLICK, 0, 0);
        SendDlgItemMessageA(dlg, 1, BM_CLICK, 0, 0);
    });
    host::AnswerMessageBox("You have not selected a Web browser.", IDOK);
    host::AnswerMessageBox("The Web browser you selected is invalid.", IDOK);
    EXPECT_EQ(configure(), PTX_CONFIG_CHANGED);
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 2u);
    EXPECT_EQ(boxes[0].text,
              "You have not selected a Web browser. Please click the \"...\" button to locate your browser.");
    EXPECT_EQ(boxes[1].text,
              "The Web browser you selected is invalid. Please click the \"...\" button to locate your browser.");
    EXPECT_EQ(dlrGetBrowser(kGeneric), "T:\\Web\\browser.exe");
    EXPECT_EQ(dlrGetBrowserParams(kGeneric), "-new");
    EXPECT_EQ(dlrGetUseDefaultBrowser(kGeneric), 0);
    EXPECT_EQ(dlrGetBrowserInstanceFlag(kGeneric), 1);
    EXPECT_EQ(dlrGetSupportDll(kGeneric), "ISPWSOCK.DLL");
    EXPECT_EQ(dlrGetDialerDll(kGeneric), "PTDGENRC.DLL");

    // Opened again: what was saved; Cancel changes nothing.
    ui::dialog::Drive([](HWND dlg) {
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1010), BST_UNCHECKED);
        EXPECT_EQ(ui::dialog::Text(dlg, 2002), "T:\\Web\\browser.exe");
        EXPECT_EQ(ui::dialog::Text(dlg, 1004), "-new");
        EXPECT_EQ(IsDlgButtonChecked(dlg, 1009), BST_CHECKED);
        SetDlgItemTextA(dlg, 1004, "-changed");
        SendDlgItemMessageA(dlg, 2, BM_CLICK, 0, 0);
    });
    EXPECT_EQ(configure(), PTX_CONFIG_UNCHANGED);
    EXPECT_EQ(dlrGetBrowserParams(kGeneric), "-new");
}

}  // namespace
