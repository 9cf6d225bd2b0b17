// A test drive: drive T: mapped onto a fresh host folder, made the current directory, with the
// emulated system tree below the folder too. Everything is put back when the test ends.
#pragma once

#include <windows.h>

#include <host/Drives.h>
#include <host/Paths.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

class TestDrive : public ::testing::Test {
protected:
    void SetUp() override
    {
        char current[MAX_PATH];
        GetCurrentDirectory(MAX_PATH, current);
        m_savedCurrent = current;
        std::filesystem::create_directories(dir.path() / "drive");
        std::filesystem::create_directories(dir.path() / "system");
        host::MapDrive('T', (dir.path() / "drive").string(), DRIVE_FIXED, "TESTDRIVE");
        host::SetSystemRoot((dir.path() / "system").string());
        ASSERT_TRUE(SetCurrentDirectory("T:\\"));
    }
    void TearDown() override
    {
        host::ResetDrives();
        SetCurrentDirectory(m_savedCurrent.c_str());
    }

    // Host path of a name below the drive's folder.
    std::filesystem::path Host(const std::string& relative) const { return dir.path() / "drive" / relative; }
    void Write(const std::string& relative, const std::string& bytes) const { dir.Write("drive/" + relative, bytes); }
    std::string Read(const std::string& relative) const { return dir.Read("drive/" + relative); }

    // Bytes of a platform file read through the handle functions.
    static std::string ReadAll(const char* path)
    {
        HANDLE file = CreateFile(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE)
            return "<error " + std::to_string(GetLastError()) + ">";
        std::string bytes;
        char buffer[256];
        DWORD got = 0;
        while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
            bytes.append(buffer, got);
        CloseHandle(file);
        return bytes;
    }

    TempDir dir;

private:
    std::string m_savedCurrent;
};
