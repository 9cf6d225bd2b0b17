// ShellExecute: an address goes to the host's browser as its one argument (never through a
// command shell), programs start through CreateProcess, other verbs have no association.
#include <windows.h>

#include <host/Drives.h>
#include <host/ShellLaunch.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

namespace {

class ShellExecuteTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::SetLaunchSpy([this](const std::vector<std::string>& argv) {
            launched.push_back(argv);
            return answer;
        });
    }
    void TearDown() override
    {
        host::SetLaunchSpy(nullptr);
        unsetenv("VL_BROWSER");
    }
    std::vector<std::vector<std::string>> launched;
    bool answer = true;
};

TEST_F(ShellExecuteTest, AnAddressIsTheBrowsersOneArgument)
{
    unsetenv("VL_BROWSER");
    const char* url = "http://127.0.0.1/a page?x=\"y\";rm -rf $HOME";
    HINSTANCE result = ShellExecute(NULL, "open", url, NULL, NULL, SW_SHOWNORMAL);
    EXPECT_GT(reinterpret_cast<INT_PTR>(result), 32);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", url}));

    setenv("VL_BROWSER", "/opt/browser/run", 1);
    SHELLEXECUTEINFO info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpFile = "https://example.com/";
    info.nShow = SW_SHOWNORMAL;
    EXPECT_TRUE(ShellExecuteEx(&info));
    EXPECT_EQ(info.hProcess, nullptr);  // a host browser is no process of this platform
    ASSERT_EQ(launched.size(), 2u);
    EXPECT_EQ(launched[1], (std::vector<std::string>{"/opt/browser/run", "https://example.com/"}));

    // A browser that does not start.
    answer = false;
    EXPECT_FALSE(ShellExecuteEx(&info));
    EXPECT_EQ(reinterpret_cast<INT_PTR>(info.hInstApp), SE_ERR_FNF);
}

TEST_F(ShellExecuteTest, OtherVerbsFilesAndBadCallsAreRefused)
{
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecute(NULL, "print", "http://e.com/", NULL, NULL, SW_SHOW)),
              SE_ERR_NOASSOC);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecute(NULL, "open", "", NULL, NULL, SW_SHOW)), SE_ERR_FNF);
    TempDir dir;
    host::MapDrive('T', dir.path().string(), DRIVE_FIXED, "TEST");
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecute(NULL, NULL, "T:\\missing.txt", NULL, NULL, SW_SHOW)), SE_ERR_FNF);
    EXPECT_EQ(reinterpret_cast<INT_PTR>(ShellExecute(NULL, "open", "T:\\missing.exe", NULL, NULL, SW_SHOW)),
              SE_ERR_FNF);
    dir.Write("notes.txt", "text");
    EXPECT_GT(reinterpret_cast<INT_PTR>(ShellExecute(NULL, "open", "T:\\notes.txt", NULL, NULL, SW_SHOW)), 32);
    ASSERT_EQ(launched.size(), 1u);
    EXPECT_EQ(launched[0], (std::vector<std::string>{"xdg-open", (dir.path() / "notes.txt").string()}));
    SHELLEXECUTEINFO wrongSize{};
    wrongSize.cbSize = 3;
    EXPECT_FALSE(ShellExecuteEx(&wrongSize));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    host::ResetDrives();
}

}  // namespace
