// The connection family's log, and the library's exports by ordinal and by name.
#include "ConnectTestSupport.h"

#include <portix/Status.h>

#include <host/Clock.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

namespace {

using PortixLog = PortixTest;

std::vector<std::string> Lines(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        std::size_t end = text.find("\r\n", at);
        if (end == std::string::npos) {
            lines.push_back(text.substr(at));
            break;
        }
        lines.push_back(text.substr(at, end - at));
        at = end + 2;
    }
    return lines;
}

std::string Stamp()
{
    SYSTEMTIME now;
    GetLocalTime(&now);
    char stamp[64];
    std::snprintf(stamp, sizeof stamp, "%04u %02u %02u - %02u:%02u:%02u --- ", now.wYear, now.wMonth, now.wDay,
                  now.wHour, now.wMinute, now.wSecond);
    return stamp;
}

TEST_F(PortixLog, LinesWithTheirTimeOnlyWhileLoggingIsOn)
{
    host::UseTestClock(1718000000000LL);
    logPortix("before logging is on");
    logInitializeLogging();
    logPortix("still off: LoggingType is not set");
    EXPECT_FALSE(std::filesystem::exists(Host("prog/portix.log")));

    ASSERT_EQ(dlrSetLoggingType("1"), 0);
    logInitializeLogging();
    std::string first = Stamp();
    logPortix("Connecting to %s on port %d", "host.example", 80);
    host::StepClock(61000);
    std::string second = Stamp();
    logPortix("ends in a line end\n");
    const std::string longMessage(600, 'm');
    logPortix("%s", longMessage.c_str());
    ASSERT_EQ(dlrSetPassword("My Provider", "very secret", "Main"), 0);
    EXPECT_STREQ(dlrGetPassword("My Provider", "Main"), "very secret");
    logTerminateLogging();
    logPortix("after the end");
    host::UseRealClock();

    std::vector<std::string> lines = Lines(Read("prog/portix.log"));
    ASSERT_EQ(lines.size(), 6u) << Read("prog/portix.log");
    EXPECT_EQ(lines[0], first + "Open log file.");
    EXPECT_EQ(lines[1], first + "Operating Environment: WIN32");
    EXPECT_EQ(lines[2], first + "Connecting to host.example on port 80");
    EXPECT_EQ(lines[3], second + "ends in a line end");
    EXPECT_EQ(lines[4], "") << "the message's own line end leaves an empty line";
    EXPECT_EQ(lines[5], second + std::string(511, 'm')) << "cut to 511 characters";
    EXPECT_EQ(Read("prog/portix.log").find("very secret"), std::string::npos);
    EXPECT_NE(first, second);
}

TEST_F(PortixLog, ANewRunStartsTheFileAfreshAndNamesWin32s)
{
    Write("prog/portix.log", "old lines\r\n");
    host::SetReportedSystem(host::ReportedSystem::Win32s);  // the settings are in portix.ini then
    ASSERT_EQ(dlrSetLoggingType("2"), 0);
    logInitializeLogging();
    logPortix("first");
    logTerminateLogging();
    std::vector<std::string> lines = Lines(Read("prog/portix.log"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[1].find("Operating environment: Windows 3.1"), std::string::npos);
    EXPECT_EQ(Read("prog/portix.log").find("old lines"), std::string::npos);
}

TEST_F(PortixLog, AFileThatCannotBeCreatedDropsTheLines)
{
    ASSERT_EQ(dlrSetLoggingType("1"), 0);
    // The program's folder does not exist: the log cannot be created there.
    host::SetProgramPlatformPath("T:\\later\\vl00i1se.exe");
    logInitializeLogging();
    logPortix("dropped");
    logPortix("dropped too");
    EXPECT_FALSE(std::filesystem::exists(Host("later")));
    std::filesystem::create_directories(Host("later"));
    logPortix("written once the file can be made");
    logTerminateLogging();
    std::vector<std::string> lines = Lines(Read("later/portix.log"));
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_NE(lines[2].find("written once the file can be made"), std::string::npos);
}

struct Export {
    WORD ordinal;
    const char* name;
};

const Export kExports[] = {
    {2, "dlrGetWinSockDLL"}, {3, "dlrSetWinSockDLL"}, {4, "dlrGetWinSock16DLL"}, {5, "dlrSetWinSock16DLL"},
    {6, "dlrGetBrowser"}, {7, "dlrSetBrowser"}, {8, "dlrGetBrowserParams"}, {9, "dlrSetBrowserParams"},
    {10, "dlrFileAndPath"}, {11, "dlrSetScreenName"}, {12, "dlrGetScreenName"}, {13, "dlrSetPassword"},
    {14, "dlrGetPassword"}, {15, "dlrSetUsername"}, {16, "dlrGetUsername"}, {17, "dlrSetPath2AOL"},
    {18, "dlrGetPath2AOL"}, {19, "dlrGetUseDefaultBrowser"}, {20, "dlrSetUseDefaultBrowser"},
    {21, "dlrGetSupportDll"}, {22, "dlrSetSupportDll"}, {23, "dlrGetDialerDll"}, {24, "dlrSetDialerDll"},
    {25, "dlrSetDialer"}, {26, "dlrGetDialer"}, {27, "dlrSetDialerParams"}, {28, "dlrGetDialerParams"},
    {29, "dlrGetDialogHeight"}, {30, "dlrSearchForFile"}, {31, "dlrFileExist"}, {32, "_dlrSetupWinsock"},
    {33, "dlrGetPortixIniPath"}, {34, "dlrGetOS"}, {35, "dlrFindDefaultBrowser"}, {36, "dlrSaveISPStrData"},
    {37, "dlrGetISPStrData"}, {38, "dlrRegGetRootPath"}, {39, "dlrRegGetISPPath"}, {40, "dlrRegCreateBasePath"},
    {41, "dlrSavePortixStrData"}, {42, "dlrGetPortixStrData"}, {43, "dlrSetConfiguredIsp"},
    {44, "dlrGetConfiguredIsp"}, {45, "dlrSetAuthorization"}, {46, "dlrGetAuthorization"},
    {47, "dlrMigrateINItoRegistry"}, {48, "dlrSetHttpProxy"}, {49, "dlrGetHttpProxy"}, {50, "dlrSetHttpProxyPort"},
    {51, "dlrGetHttpProxyPort"}, {52, "dlrSetSocksHost"}, {53, "dlrGetSocksHost"}, {54, "dlrSetSocksHostPort"},
    {55, "dlrGetSocksHostPort"}, {56, "dlrSetFirewallType"}, {57, "dlrGetFirewallType"}, {58, "dlrSetNoProxyList"},
    {59, "dlrGetNoProxyList"}, {60, "dlrSetDefaultConnection"}, {61, "dlrIsThisAConnection"},
    {62, "dlrSetLoggingType"}, {63, "dlrGetLoggingType"}, {64, "_dlrGetSocksHost"}, {65, "_dlrGetSocksHostPort"},
    {66, "_dlrGetHttpProxy"}, {67, "_dlrGetHttpProxyPort"}, {68, "dlrIsISPConfigured"},
    {69, "_ZN7CStatusaSERKS_"}, {70, "dlrSetBrowserInstanceFlag"}, {71, "dlrGetBrowserInstanceFlag"},
    {72, "dlrSetUseIniFileOnly"}, {73, "_ZNK7CStatus12GetMajorCodeEv"}, {74, "_ZNK7CStatus12GetMajorDescEv"},
    {75, "_ZNK7CStatus12GetMinorCodeEv"}, {76, "_ZNK7CStatus12GetMinorDescEv"},
    {77, "_ZNK7CStatus16GetRawStatusCodeEv"}, {78, "_ZN7CStatus16SetRawStatusCodeEl"},
    {120, "logInitializeLogging"}, {121, "logTerminateLogging"}, {122, "logPortix"},
};

using PortixExports = PortixTest;

TEST_F(PortixExports, EveryExportByOrdinalAndByName)
{
    // The library beside the test program (whose folder the fixture moved to T:\prog).
    host::SetProgramPlatformPath("");
    HMODULE library = LoadLibrary("PORTIXCMN.DLL");
    host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
    ASSERT_NE(library, nullptr) << GetLastError();
    for (const Export& e : kExports) {
        FARPROC byOrdinal = GetProcAddress(library, MAKEINTRESOURCE(e.ordinal));
        FARPROC byName = GetProcAddress(library, e.name);
        EXPECT_NE(byOrdinal, nullptr) << e.ordinal << " " << e.name;
        EXPECT_EQ(byOrdinal, byName) << e.ordinal << " " << e.name;
    }
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCE(1)), nullptr);
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCE(79)), nullptr);

    // Called the way a dialer calls them: through the ordinal, the caller's module state kept.
    AFX_MODULE_STATE* state = AfxGetModuleState();
    auto setBrowser = reinterpret_cast<int (*)(LPCSTR, LPCSTR)>(GetProcAddress(library, MAKEINTRESOURCE(7)));
    auto getBrowser = reinterpret_cast<CString (*)(LPCSTR)>(GetProcAddress(library, MAKEINTRESOURCE(6)));
    ASSERT_EQ(setBrowser("Ordinal Net", "nav.exe"), 0);
    EXPECT_STREQ(getBrowser("Ordinal Net"), "nav.exe");
    EXPECT_EQ(AfxGetModuleState(), state);

    CStatus status;
    status.SetMajor(PTX_PROVIDER_CONNECTED, "connected");
    auto majorCode = reinterpret_cast<long (*)(const CStatus*)>(GetProcAddress(library, MAKEINTRESOURCE(73)));
    auto setRaw = reinterpret_cast<void (*)(CStatus*, long)>(GetProcAddress(library, MAKEINTRESOURCE(78)));
    EXPECT_EQ(majorCode(&status), PTX_PROVIDER_CONNECTED);
    setRaw(&status, 10054);
    EXPECT_EQ(status.GetRawStatusCode(), 10054);
    FreeLibrary(library);
}

}  // namespace
