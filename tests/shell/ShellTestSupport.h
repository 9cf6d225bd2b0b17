// Fixtures of the shell tests: drives mapped onto fresh host folders, put back when a test ends.
#pragma once

#include <windows.h>

#include <host/Drives.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

class ShellDriveTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::filesystem::create_directories(dir.path() / "t");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
    }
    void TearDown() override { host::ResetDrives(); }

    // Writes a file below the host folder of drive T: and returns its platform path.
    std::string WriteT(const std::string& relative, const std::string& bytes) const
    {
        dir.Write("t/" + relative, bytes);
        std::string path = "T:\\" + relative;
        for (char& ch : path)
            if (ch == '/')
                ch = '\\';
        return path;
    }
    // The host folder of a name below the temp folder, created.
    std::string HostFolder(const std::string& relative) const
    {
        std::filesystem::create_directories(dir.path() / relative);
        return (dir.path() / relative).string();
    }

    TempDir dir;
};

// Runs fn, which must throw an exception of class E (thrown by pointer); inspect looks at it
// before it is deleted.
template <class E, class Fn, class Inspect>
void ExpectThrows(Fn fn, Inspect inspect)
{
    try {
        fn();
        ADD_FAILURE() << "no exception";
    } catch (E* e) {
        inspect(e);
        e->Delete();
    } catch (CException* e) {
        ADD_FAILURE() << "other exception: " << e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
    }
}

template <class E, class Fn>
void ExpectThrows(Fn fn)
{
    ExpectThrows<E>(fn, [](E*) {});
}
