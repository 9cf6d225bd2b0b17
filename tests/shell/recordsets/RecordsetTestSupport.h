// Fixture of the database tests: drive T: on a fresh folder, an application object (so that the
// framework's standard error box is a message box), message boxes scripted, and helpers to build
// the sample database there and open it as the application's database.
#pragma once

#include "base/AppDatabase.h"

#include <ContentDatabaseSource.h>
#include <host/Drives.h>
#include <host/UiScript.h>

#include <afxwin.h>

#include <TempDir.h>
#include <UiTest.h>

#include <filesystem>
#include <string>

namespace recordsets_test {

class DatabaseTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
    }
    void TearDown() override
    {
        SetAppDatabase(NULL);
        db.Close();
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    // The host path of a file on drive T:.
    std::string HostT(const std::string& name) const { return (dir.path() / "t" / name).string(); }

    // Builds the sample content database as T:\vl00i1.mdb.
    void BuildSampleDatabase(std::uint32_t seed = 1) const
    {
        discbuilder::WriteContentDatabase(std::filesystem::path(VL_SAMPLE_DIR) / "database", HostT("vl00i1.mdb"),
                                          seed);
    }
    // Opens T:\vl00i1.mdb as the application's database (no box expected).
    void OpenAppDatabase()
    {
        ASSERT_TRUE(db.OpenDatabase("T:\\"));
        SetAppDatabase(&db);
    }

    // The text of the one message box shown since the test began.
    static std::string OnlyBoxText()
    {
        auto log = host::MessageBoxLog();
        EXPECT_EQ(log.size(), 1u);
        return log.empty() ? std::string() : log.back().text;
    }

    CWinApp app{"vl00i1se"};
    TempDir dir;
    CVLDatabase db;
};

// The same with the sample database built and open.
class SampleDatabaseTest : public DatabaseTest {
protected:
    void SetUp() override
    {
        DatabaseTest::SetUp();
        BuildSampleDatabase();
        OpenAppDatabase();
    }
};

}  // namespace recordsets_test
