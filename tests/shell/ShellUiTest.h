// Fixtures of the shell's window tests, one base for all of them.
//
// ShellTest: the headless window system (ui::UiTest), a drive T: on a fresh host folder, one
// profile file whose path the derived fixture chooses, and the program's
// process-wide state (ResetProgramState) reset before and after every case. Fixtures that make
// their own application object (the application tests) derive from it directly.
//
// ShellUiTest adds an application object named "vl00i1se" whose profile is the fixture's, with
// the profile's [Files] "DataDir" naming T:\data unless the fixture asks otherwise (so disc 1
// is found without a prompt).
#pragma once

#include "base/AppServices.h"
#include "shell/BaseWindow.h"
#include "shell/MainMenu.h"

#include <host/Drives.h>
#include <host/Paths.h>

#include <TempDir.h>
#include <UiTest.h>

#include <afxwin.h>

#include <filesystem>
#include <string>

// Everything the program keeps for the whole process, back to what a fresh start has: the
// application's services and host, the frame's shared state and the main menu's state.
inline void ResetProgramState()
{
    ResetAppServices();
    CBaseWindow::ResetSharedState();
    MainMenuState() = MAIN_MENU_STATE{};
}

class ShellTest : public ui::UiTest {
protected:
    explicit ShellTest(const char* profile = "T:\\vl00i1se.ini") { ProfilePath() = profile; }

    void SetUp() override
    {
        ui::UiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        // The program's folder is the test's own: what the program saves beside itself (the
        // highlights file) is never shared with a test running at the same time.
        std::filesystem::create_directories(dir.path() / "t" / "prog");
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        ResetProgramState();
    }
    void TearDown() override
    {
        ResetProgramState();
        host::SetProgramPlatformPath("");
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    // The fixture's profile file (a platform path on T:).
    static std::string& ProfilePath()
    {
        static std::string path;
        return path;
    }
    static void SetProfile(LPCSTR section, LPCSTR key, LPCSTR value)
    {
        ASSERT_TRUE(::WritePrivateProfileString(section, key, value, ProfilePath().c_str()));
    }
    static std::string Profile(LPCSTR section, LPCSTR key)
    {
        char buffer[256] = {};
        ::GetPrivateProfileString(section, key, "", buffer, sizeof buffer, ProfilePath().c_str());
        return buffer;
    }
    // How many message boxes showed exactly this text.
    static int Boxes(const std::string& text)
    {
        int n = 0;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            n += box.text == text;
        return n;
    }

    TempDir dir;
};

class ShellUiTest : public ShellTest {
protected:
    // bDataDir: the profile names T:\data as disc 1's data folder.
    explicit ShellUiTest(const char* profile = "T:\\vl00i1se.ini", bool bDataDir = true)
        : ShellTest(profile), m_bDataDir(bDataDir)
    {
    }

    void SetUp() override
    {
        ShellTest::SetUp();
        app.m_pszProfileName = ProfilePath().c_str();
        if (m_bDataDir) {
            std::filesystem::create_directories(dir.path() / "t" / "data");
            SetProfile("Files", "DataDir", "T:\\data");
        }
    }
    void TearDown() override
    {
        app.m_pMainWnd = NULL;
        ShellTest::TearDown();
    }

    CWinApp app{"vl00i1se"};

private:
    bool m_bDataDir;
};
