// The reported system: GetVersion and GetVersionEx for each system a test can choose.
#include <windows.h>

#include <host/SystemVersion.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

class SystemVersion : public ::testing::Test {
protected:
    void TearDown() override
    {
        unsetenv("VL_SYSTEM_VERSION");
        host::ResetReportedSystem();
    }
};

TEST_F(SystemVersion, EachSystemReportsItsVersionAndPlatform)
{
    struct Case {
        host::ReportedSystem system;
        DWORD version;  // GetVersion
        DWORD major, minor, platform;
        bool highBit;
    };
    const Case cases[] = {
        {host::ReportedSystem::WindowsNT, 0x05650004u, 4, 0, VER_PLATFORM_WIN32_NT, false},
        {host::ReportedSystem::Windows95, 0xC0000004u, 4, 0, VER_PLATFORM_WIN32_WINDOWS, true},
        {host::ReportedSystem::Windows98, 0xC0000A04u, 4, 10, VER_PLATFORM_WIN32_WINDOWS, true},
        {host::ReportedSystem::Win32s, 0x80000A03u, 3, 10, VER_PLATFORM_WIN32s, true},
    };
    for (const Case& c : cases) {
        host::SetReportedSystem(c.system);
        EXPECT_EQ(GetVersion(), c.version);
        EXPECT_EQ((GetVersion() & 0x80000000u) != 0, c.highBit);
        OSVERSIONINFOA info{};
        info.dwOSVersionInfoSize = sizeof info;
        ASSERT_TRUE(GetVersionEx(&info));
        EXPECT_EQ(info.dwMajorVersion, c.major);
        EXPECT_EQ(info.dwMinorVersion, c.minor);
        EXPECT_EQ(info.dwPlatformId, c.platform);
    }
    OSVERSIONINFOA wrong{};
    wrong.dwOSVersionInfoSize = 12;
    EXPECT_FALSE(GetVersionEx(&wrong));
}

TEST_F(SystemVersion, TheEnvironmentChoosesForAWholeProcess)
{
    setenv("VL_SYSTEM_VERSION", "Win32s", 1);
    host::ResetReportedSystem();
    EXPECT_EQ(host::GetReportedSystem(), host::ReportedSystem::Win32s);
    setenv("VL_SYSTEM_VERSION", "95", 1);
    host::ResetReportedSystem();
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    ASSERT_TRUE(GetVersionEx(&info));
    EXPECT_EQ(info.dwPlatformId, static_cast<DWORD>(VER_PLATFORM_WIN32_WINDOWS));
    setenv("VL_SYSTEM_VERSION", "something else", 1);
    host::ResetReportedSystem();
    EXPECT_EQ(host::GetReportedSystem(), host::ReportedSystem::WindowsNT);
}

}  // namespace
