// The fixture of the connection library's tests: drive T: on a fresh folder, the emulated system
// tree (with the registry) below it, and the calling program "T:\prog\vl00i1se.exe", so that
// "portix.ini", "portix.log" and the sockets files land in T:\prog. The platform is Windows NT
// and the library's INI-only flag is off unless a test changes them.
#pragma once

#include <windows.h>

#include <portixcmn/PortixCmn.h>

#include <host/Drives.h>
#include <host/Paths.h>
#include <host/SystemVersion.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

// The global values' registry key of the program "vl00i1se".
inline constexpr const char* kRoot = "SOFTWARE\\Norvik\\Portix\\vl00i1se";

class PortixTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        char current[MAX_PATH];
        GetCurrentDirectory(MAX_PATH, current);
        m_savedCurrent = current;
        std::filesystem::create_directories(dir.path() / "drive" / "prog");
        std::filesystem::create_directories(dir.path() / "system");
        host::MapDrive('T', (dir.path() / "drive").string(), DRIVE_FIXED, "TESTDRIVE");
        host::SetSystemRoot((dir.path() / "system").string());
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        host::SetReportedSystem(host::ReportedSystem::WindowsNT);
        dlrSetUseIniFileOnly(FALSE);
        ASSERT_TRUE(SetCurrentDirectory("T:\\"));
    }
    void TearDown() override
    {
        logTerminateLogging();
        dlrSetUseIniFileOnly(FALSE);
        host::ResetReportedSystem();
        host::SetProgramPlatformPath("");
        SetCurrentDirectory(m_savedCurrent.c_str());
        host::ResetDrives();
    }

    // Host path of a name below the drive's folder ("prog/portix.ini").
    std::filesystem::path Host(const std::string& relative) const { return dir.path() / "drive" / relative; }
    void Write(const std::string& relative, const std::string& bytes) const { dir.Write("drive/" + relative, bytes); }
    std::string Read(const std::string& relative) const { return dir.Read("drive/" + relative); }

    // A REG_SZ value of HKEY_CURRENT_USER as stored, or "<missing>".
    static std::string Registry(const std::string& keyPath, const char* name)
    {
        HKEY key = NULL;
        if (RegOpenKeyEx(HKEY_CURRENT_USER, keyPath.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
            return "<missing>";
        char buffer[1024] = {};
        DWORD size = sizeof buffer - 1;
        LSTATUS status = RegQueryValueEx(key, name, NULL, NULL, reinterpret_cast<BYTE*>(buffer), &size);
        RegCloseKey(key);
        return status == ERROR_SUCCESS ? std::string(buffer) : "<missing>";
    }
    // A value of "portix.ini", or "<missing>".
    static std::string Ini(const char* section, const char* key)
    {
        char buffer[1024] = {};
        GetPrivateProfileString(section, key, "<missing>", buffer, sizeof buffer, "T:\\prog\\portix.ini");
        return buffer;
    }

    TempDir dir;

private:
    std::string m_savedCurrent;
};
