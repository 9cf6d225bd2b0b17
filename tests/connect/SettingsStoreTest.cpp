// The settings store: every typed accessor in both stores, defaults, "none", names with blanks,
// long values, the buffer variants, passwords, the platform's store choice, whether a connection
// is configured, and the one-time migration.
#include "ConnectTestSupport.h"

#include <portix/Status.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

namespace {

const char kIsp[] = "My Provider";
const std::string kIspKey = std::string(kRoot) + "\\MyProvider";

using PortixSettings = PortixTest;

// Which store a test runs against.
enum class Store { Registry, IniFlag };

void Choose(Store store) { dlrSetUseIniFileOnly(store == Store::IniFlag ? TRUE : FALSE); }

TEST_F(PortixSettings, DefaultsWithNothingStored)
{
    for (Store store : {Store::Registry, Store::IniFlag}) {
        Choose(store);
        EXPECT_STREQ(dlrGetConfiguredIsp(), "No Internet Access");
        EXPECT_STREQ(dlrGetHttpProxyPort(), "80");
        EXPECT_STREQ(dlrGetSocksHostPort(), "1080");
        EXPECT_EQ(dlrGetUseDefaultBrowser(kIsp), 1);
        EXPECT_EQ(dlrGetFirewallType(), 0);
        EXPECT_EQ(dlrGetBrowserInstanceFlag(kIsp), 0);
        EXPECT_STREQ(dlrGetBrowser(kIsp), "");
        EXPECT_STREQ(dlrGetPassword(kIsp, "Main"), "");
        // Set empty, the defaults come back too.
        EXPECT_EQ(dlrSetConfiguredIsp(""), 0);
        EXPECT_EQ(dlrSetHttpProxyPort(""), 0);
        EXPECT_STREQ(dlrGetConfiguredIsp(), "No Internet Access");
        EXPECT_STREQ(dlrGetHttpProxyPort(), "80");
    }
}

// Each string accessor, where it stores, and what it reads back.
struct StringSetting {
    const char* key;
    bool global;
    std::function<int(LPCSTR)> set;
    std::function<CString()> get;
};

std::vector<StringSetting> StringSettings()
{
    auto isp = [](int (*set)(LPCSTR, LPCSTR), CString (*get)(LPCSTR), const char* key) {
        return StringSetting{key, false, [set](LPCSTR v) { return set(kIsp, v); }, [get] { return get(kIsp); }};
    };
    auto global = [](int (*set)(LPCSTR), CString (*get)(), const char* key) {
        return StringSetting{key, true, set, get};
    };
    return {
        isp(dlrSetWinSockDLL, dlrGetWinSockDLL, "32-Bit WinSock DLL"),
        isp(dlrSetWinSock16DLL, dlrGetWinSock16DLL, "16-Bit WinSock DLL"),
        isp(dlrSetBrowser, dlrGetBrowser, "Browser"),
        isp(dlrSetBrowserParams, dlrGetBrowserParams, "BrowserParams"),
        isp(dlrSetScreenName, dlrGetScreenName, "EntryName"),
        isp(dlrSetPath2AOL, dlrGetPath2AOL, "PathToAOL"),
        isp(dlrSetSupportDll, dlrGetSupportDll, "Support DLL"),
        isp(dlrSetDialerDll, dlrGetDialerDll, "Dialer DLL"),
        isp(dlrSetDialer, dlrGetDialer, "Dialer"),
        isp(dlrSetDialerParams, dlrGetDialerParams, "DialerParams"),
        StringSetting{"UserName-Main", false, [](LPCSTR v) { return dlrSetUsername(kIsp, v, "Main"); },
                      [] { return dlrGetUsername(kIsp, "Main"); }},
        global(dlrSetConfiguredIsp, dlrGetConfiguredIsp, "Current Isp"),
        global(dlrSetAuthorization, dlrGetAuthorization, "Authorization"),
        global(dlrSetHttpProxy, dlrGetHttpProxy, "HttpProxy"),
        global(dlrSetHttpProxyPort, dlrGetHttpProxyPort, "HttpProxyPort"),
        global(dlrSetSocksHost, dlrGetSocksHost, "SOCKSHost"),
        global(dlrSetSocksHostPort, dlrGetSocksHostPort, "SOCKSHostPort"),
        global(dlrSetNoProxyList, dlrGetNoProxyList, "NoProxyList"),
        global(dlrSetLoggingType, dlrGetLoggingType, "LoggingType"),
    };
}

TEST_F(PortixSettings, EveryStringSettingRoundTripsInTheRegistry)
{
    const std::string longest(255, 'v');
    for (const StringSetting& s : StringSettings()) {
        std::string value = std::string("value of ") + s.key;
        ASSERT_EQ(s.set(value.c_str()), 0) << s.key;
        EXPECT_EQ(std::string(s.get()), value) << s.key;
        // Global values under the root key, a connection's under its key without blanks.
        EXPECT_EQ(Registry(s.global ? kRoot : kIspKey, s.key), value) << s.key;
        EXPECT_EQ(Ini(s.global ? "Por-Tix" : kIsp, s.key), "<missing>") << s.key;

        ASSERT_EQ(s.set(longest.c_str()), 0);
        EXPECT_EQ(std::string(s.get()), longest) << s.key << ": a value of 255 characters reads back whole";
    }
    // A longer value is cut to the registry's 255 characters.
    ASSERT_EQ(dlrSetBrowser(kIsp, std::string(300, 'w').c_str()), 0);
    EXPECT_EQ(std::string(dlrGetBrowser(kIsp)), std::string(255, 'w'));
    // "none" both ways: empty is stored as "none", and "none" reads as empty.
    ASSERT_EQ(dlrSetBrowser(kIsp, ""), 0);
    EXPECT_EQ(Registry(kIspKey, "Browser"), "none");
    EXPECT_STREQ(dlrGetBrowser(kIsp), "");
    ASSERT_EQ(dlrSetDialer(kIsp, "none"), 0);
    EXPECT_STREQ(dlrGetDialer(kIsp), "");
    char raw[16] = "xxxxxxxxxxxxxxx";
    EXPECT_EQ(dlrGetISPStrData(kIsp, "Dialer", raw, sizeof raw), 0u);
    EXPECT_STREQ(raw, "");
    // The raw reader reports the registry's count with the terminator.
    ASSERT_EQ(dlrSetDialer(kIsp, "dial.exe"), 0);
    EXPECT_EQ(dlrGetISPStrData(kIsp, "Dialer", raw, sizeof raw), 9u);
    EXPECT_STREQ(raw, "dial.exe");
    EXPECT_EQ(dlrGetISPStrData(kIsp, "Dialer", raw, 4), 0u) << "too long for the buffer reads as nothing";
    EXPECT_STREQ(raw, "");
}

TEST_F(PortixSettings, EveryStringSettingRoundTripsInTheIniFile)
{
    Choose(Store::IniFlag);
    const std::string longest(255, 'v');
    for (const StringSetting& s : StringSettings()) {
        std::string value = std::string("value of ") + s.key;
        ASSERT_EQ(s.set(value.c_str()), 0) << s.key;
        EXPECT_EQ(std::string(s.get()), value) << s.key;
        // Global values in "Por-Tix", a connection's in its section named with the blanks.
        EXPECT_EQ(Ini(s.global ? "Por-Tix" : kIsp, s.key), value) << s.key;
        ASSERT_EQ(s.set(longest.c_str()), 0);
        EXPECT_EQ(std::string(s.get()), longest) << s.key << ": a value of 255 characters reads back whole";
    }
    EXPECT_EQ(Registry(kIspKey, "Browser"), "<missing>");
    // No "none" in the INI file: empty is written as empty, "none" is just a word.
    ASSERT_EQ(dlrSetBrowser(kIsp, ""), 0);
    EXPECT_EQ(Ini(kIsp, "Browser"), "");
    EXPECT_STREQ(dlrGetBrowser(kIsp), "");
    ASSERT_EQ(dlrSetDialer(kIsp, "none"), 0);
    EXPECT_STREQ(dlrGetDialer(kIsp), "none");
    char raw[16];
    EXPECT_EQ(dlrGetISPStrData(kIsp, "Dialer", raw, sizeof raw), 4u) << "the INI file's character count";
}

TEST_F(PortixSettings, NumbersAndFlagsInBothStores)
{
    for (Store store : {Store::Registry, Store::IniFlag}) {
        Choose(store);
        EXPECT_EQ(dlrSetUseDefaultBrowser(kIsp, 0), 0);
        EXPECT_EQ(dlrGetUseDefaultBrowser(kIsp), 0);
        EXPECT_EQ(dlrSetUseDefaultBrowser(kIsp, 5), 0);
        EXPECT_EQ(dlrGetUseDefaultBrowser(kIsp), 1) << "stored as \"1\"";
        EXPECT_EQ(dlrSetBrowserInstanceFlag(kIsp, 1234), 0);
        EXPECT_EQ(dlrGetBrowserInstanceFlag(kIsp), 1234);
        EXPECT_EQ(dlrSetFirewallType(-3), 0);
        EXPECT_EQ(dlrGetFirewallType(), -3);
    }
    EXPECT_EQ(Ini(kIsp, "UseDefaultBrowser"), "1");
    EXPECT_EQ(Registry(kIspKey, "OnlyOneBrowserFlag"), "1234");
    EXPECT_EQ(Registry(kRoot, "FirewallType"), "-3");
}

TEST_F(PortixSettings, PathToAolAlsoGoesToTheSystemProfile)
{
    ASSERT_EQ(dlrSetPath2AOL(kIsp, "C:\\AOL\\aol.exe"), 0);
    char buffer[64];
    GetProfileString("WAOL", "AppPath", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "C:\\AOL\\aol.exe");
    ASSERT_EQ(dlrSetPath2AOL(kIsp, ""), 0);
    GetProfileString("WAOL", "AppPath", "", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "C:\\AOL\\aol.exe") << "an empty path leaves the profile alone";
}

TEST_F(PortixSettings, BufferVariantsFitOrGiveOneAndEmpty)
{
    struct Variant {
        int (*get)(LPSTR, int);
        int (*set)(LPCSTR);
        const char* fallback;
    };
    const Variant variants[] = {
        {_dlrGetHttpProxy, dlrSetHttpProxy, ""},
        {_dlrGetHttpProxyPort, dlrSetHttpProxyPort, "80"},
        {_dlrGetSocksHost, dlrSetSocksHost, ""},
        {_dlrGetSocksHostPort, dlrSetSocksHostPort, "1080"},
    };
    for (Store store : {Store::Registry, Store::IniFlag}) {
        Choose(store);
        for (const Variant& v : variants) {
            char buffer[16];
            std::memset(buffer, 'x', sizeof buffer);
            EXPECT_EQ(v.get(buffer, 15), 0);
            EXPECT_STREQ(buffer, v.fallback) << "the default";
            ASSERT_EQ(v.set("12345"), 0);
            std::memset(buffer, 'x', sizeof buffer);
            EXPECT_EQ(v.get(buffer, 5), 0) << "five characters fit a size of 5";
            EXPECT_STREQ(buffer, "12345");
            std::memset(buffer, 'x', sizeof buffer);
            EXPECT_EQ(v.get(buffer, 4), 1);
            EXPECT_STREQ(buffer, "") << "too small: emptied";
        }
    }
}

// The runtime's sequence that scrambles passwords (seed 17): a password whose first character
// equals the first number's low byte scrambles to a zero byte.
std::string PasswordWithZeroWhenScrambled()
{
    srand(17);
    int first = rand() & 0xFF;
    std::string password = "secret";
    if (first != 0)
        password[0] = static_cast<char>(first);
    else
        password = "s" + std::string(1, static_cast<char>(rand() & 0xFF)) + "cret";
    return password;
}

TEST_F(PortixSettings, PasswordsAreScrambledAndComeBackWhole)
{
    const std::string zeroed = PasswordWithZeroWhenScrambled();
    ASSERT_EQ(std::strlen(zeroed.c_str()), zeroed.size());
    for (Store store : {Store::Registry, Store::IniFlag}) {
        Choose(store);
        for (const std::string& password : {std::string("open sesame"), zeroed, std::string(127, 'p'), std::string()}) {
            ASSERT_EQ(dlrSetPassword(kIsp, password.c_str(), "Main"), 0);
            EXPECT_EQ(std::string(dlrGetPassword(kIsp, "Main")), password);
        }
        ASSERT_EQ(dlrSetPassword(kIsp, zeroed.c_str(), "Main"), 0);
        std::string zeroStored = store == Store::Registry ? Registry(kIspKey, "Password-Main") : Ini(kIsp, "Password-Main");
        EXPECT_EQ(zeroStored.substr(0, 2), "00") << "the scrambled form begins with a zero byte";
        ASSERT_EQ(dlrSetPassword(kIsp, "open sesame", "Main"), 0);
        std::string stored = store == Store::Registry ? Registry(kIspKey, "Password-Main") : Ini(kIsp, "Password-Main");
        EXPECT_EQ(stored.size(), 22u) << "two hexadecimal digits a character";
        EXPECT_EQ(stored.find_first_not_of("0123456789ABCDEF"), std::string::npos) << stored;
        EXPECT_EQ(stored.find("open"), std::string::npos);
        // Too long to store: refused, the stored one stays.
        EXPECT_EQ(dlrSetPassword(kIsp, std::string(128, 'p').c_str(), "Main"), ERROR_INVALID_PARAMETER);
        EXPECT_STREQ(dlrGetPassword(kIsp, "Main"), "open sesame");
        // Another qualifier is another password.
        EXPECT_STREQ(dlrGetPassword(kIsp, "Other"), "");
    }
    // A value stored the older way (scrambled text) still reads.
    srand(17);
    std::string older = "old pass";
    for (char& c : older)
        c = static_cast<char>(c ^ (rand() & 0xFF));
    ASSERT_EQ(older.find('\0'), std::string::npos);
    Choose(Store::Registry);
    ASSERT_EQ(dlrSaveISPStrData(kIsp, "Password-Old", older.c_str()), 0);
    EXPECT_STREQ(dlrGetPassword(kIsp, "Old"), "old pass");
}

TEST_F(PortixSettings, TheStoreFollowsThePlatformAndTheFlag)
{
    struct Case {
        host::ReportedSystem system;
        int os;
        BOOL iniOnly;
        bool registry;
    };
    const Case cases[] = {
        {host::ReportedSystem::WindowsNT, 2, FALSE, true},  {host::ReportedSystem::WindowsNT, 2, TRUE, false},
        {host::ReportedSystem::Windows95, 1, FALSE, true},  {host::ReportedSystem::Windows98, 1, TRUE, false},
        {host::ReportedSystem::Win32s, 0, FALSE, false},
    };
    for (const Case& c : cases) {
        host::SetReportedSystem(c.system);
        dlrSetUseIniFileOnly(c.iniOnly);
        EXPECT_EQ(dlrGetOS(), c.os);
        std::string value = "proxy-" + std::to_string(c.os) + "-" + std::to_string(c.iniOnly);
        ASSERT_EQ(dlrSetHttpProxy(value.c_str()), 0);
        EXPECT_EQ(Registry(kRoot, "HttpProxy") == value, c.registry) << value;
        EXPECT_EQ(Ini("Por-Tix", "HttpProxy") == value, !c.registry) << value;
        EXPECT_EQ(std::string(dlrGetHttpProxy()), value);
    }
}

TEST_F(PortixSettings, AMissingKeyReadsTheIniFile)
{
    Write("prog/portix.ini", "[My Provider]\nBrowser=from ini\n[Por-Tix]\nHttpProxy=ini proxy\n");
    EXPECT_STREQ(dlrGetBrowser(kIsp), "from ini");
    EXPECT_STREQ(dlrGetHttpProxy(), "ini proxy");
    ASSERT_EQ(dlrSetBrowser(kIsp, "from registry"), 0);
    EXPECT_STREQ(dlrGetBrowser(kIsp), "from registry");
    EXPECT_STREQ(dlrGetHttpProxy(), "") << "the root key exists now: no more INI reads for it";
}

TEST_F(PortixSettings, WhetherAConnectionIsConfigured)
{
    // Registry store: the connection's key; without one, the connection's own INI section.
    EXPECT_FALSE(dlrIsISPConfigured(kIsp));
    Write("prog/portix.ini", "[Por-Tix]\nCurrent Isp=Other\n");
    EXPECT_FALSE(dlrIsISPConfigured(kIsp)) << "the global section configures no connection";
    Write("prog/portix.ini", "[Por-Tix]\nCurrent Isp=Other\n[My Provider]\nDialer=x\n");
    EXPECT_TRUE(dlrIsISPConfigured(kIsp));
    EXPECT_FALSE(dlrIsISPConfigured("Other"));
    ASSERT_EQ(dlrSetDialerDll("Other", "PTDOTHER.DLL"), 0);
    EXPECT_TRUE(dlrIsISPConfigured("Other"));
    // INI store: the section.
    Choose(Store::IniFlag);
    EXPECT_TRUE(dlrIsISPConfigured(kIsp));
    EXPECT_FALSE(dlrIsISPConfigured("Other"));
}

TEST_F(PortixSettings, PathsDefaultConnectionAndNames)
{
    EXPECT_STREQ(dlrRegGetRootPath(), kRoot);
    EXPECT_EQ(std::string(dlrRegGetISPPath("A B  C")), std::string(kRoot) + "\\ABC");
    EXPECT_STREQ(dlrGetPortixIniPath(), "T:\\prog\\portix.ini");
    host::SetProgramPlatformPath("T:\\prog\\Setup.Tool.exe");
    EXPECT_STREQ(dlrRegGetRootPath(), "SOFTWARE\\Norvik\\Portix\\Setup.Tool");
    host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");

    EXPECT_EQ(dlrSetDefaultConnection(), 0);
    EXPECT_STREQ(dlrGetConfiguredIsp(), "No Internet Access");
    EXPECT_STREQ(dlrGetSupportDll("No Internet Access"), "ISPNULL.DLL");
    EXPECT_STREQ(dlrGetDialerDll("No Internet Access"), "PTDNONE.DLL");
    EXPECT_EQ(Registry(std::string(kRoot) + "\\NoInternetAccess", "Dialer DLL"), "PTDNONE.DLL");
    EXPECT_FALSE(dlrIsThisAConnection("no internet ACCESS"));
    EXPECT_TRUE(dlrIsThisAConnection("No Internet Access 2"));
    EXPECT_TRUE(dlrIsThisAConnection(kIsp));

    // The key chain, step by step.
    EXPECT_EQ(dlrRegCreateBasePath((std::string(kRoot) + "\\Chain").c_str()), 0);
    HKEY key = NULL;
    ASSERT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, (std::string(kRoot) + "\\Chain").c_str(), 0, KEY_READ, &key), ERROR_SUCCESS);
    RegCloseKey(key);
}

TEST_F(PortixSettings, MigrationMovesTheIniFileOnce)
{
    // The INI file as an older version wrote it: the password already scrambled there.
    dlrSetUseIniFileOnly(TRUE);
    ASSERT_EQ(dlrSetPassword(kIsp, "migrated pass", "Main"), 0);
    dlrSetUseIniFileOnly(FALSE);
    std::string scrambled = Ini(kIsp, "Password-Main");
    std::string bigSection = "[Big One]\n";
    for (int i = 0; i < 40; ++i)
        bigSection += "Key" + std::to_string(i) + "=value number " + std::to_string(i) + "\n";
    Write("prog/portix.ini", "[Por-Tix]\nHttpProxy=proxy.example\nCurrent Isp=My Provider\nEmpty=\n"
                             "[My Provider]\nBrowser=C:\\browse.exe\nUserName-Main=bob\nPassword-Main=" +
                                 scrambled + "\n" + bigSection);

    // On Win32s nothing moves.
    host::SetReportedSystem(host::ReportedSystem::Win32s);
    dlrMigrateINItoRegistry();
    host::SetReportedSystem(host::ReportedSystem::WindowsNT);
    EXPECT_EQ(Registry(kRoot, "Version"), "<missing>");

    dlrMigrateINItoRegistry();
    EXPECT_EQ(Registry(kRoot, "Version"), "2.1") << "the library's product version";
    EXPECT_EQ(Registry(kRoot, "HttpProxy"), "proxy.example");
    EXPECT_EQ(Registry(kRoot, "Empty"), "<missing>") << "empty values stay behind";
    EXPECT_EQ(Registry(kIspKey, "Browser"), "C:\\browse.exe");
    EXPECT_EQ(Registry(kIspKey, "Password-Main"), scrambled) << "the stored form, verbatim";
    EXPECT_EQ(Registry(std::string(kRoot) + "\\BigOne", "Key39"), "value number 39");
    EXPECT_STREQ(dlrGetConfiguredIsp(), "My Provider");
    EXPECT_STREQ(dlrGetUsername(kIsp, "Main"), "bob");
    EXPECT_STREQ(dlrGetPassword(kIsp, "Main"), "migrated pass");

    // Again: nothing happens.
    Write("prog/portix.ini", "[Por-Tix]\nHttpProxy=changed\n[My Provider]\nBrowser=changed\n");
    dlrMigrateINItoRegistry();
    EXPECT_STREQ(dlrGetHttpProxy(), "proxy.example");
    EXPECT_STREQ(dlrGetBrowser(kIsp), "C:\\browse.exe");
    EXPECT_STREQ(dlrGetPassword(kIsp, "Main"), "migrated pass");
}

}  // namespace
