// Fixture of the shell's window tests: an application object named "vl00i1se" whose profile is
// T:\vl00i1se.ini, drive T: on a fresh host folder with disc 1's data folder T:\data (the
// profile's [Files] "DataDir"), and the application's shared state reset before and after.
#pragma once

#include "base/AppServices.h"

#include <host/Drives.h>

#include <TempDir.h>
#include <UiTest.h>

#include <afxwin.h>

#include <filesystem>

class ShellUiTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t" / "data");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        ResetAppServices();
        app.m_pszProfileName = "T:\\vl00i1se.ini";
        SetProfile("Files", "DataDir", "T:\\data");
    }
    void TearDown() override
    {
        app.m_pMainWnd = NULL;
        ResetAppServices();
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    static void SetProfile(LPCSTR section, LPCSTR key, LPCSTR value)
    {
        ASSERT_TRUE(::WritePrivateProfileString(section, key, value, "T:\\vl00i1se.ini"));
    }

    CWinApp app{"vl00i1se"};
    TempDir dir;
};
