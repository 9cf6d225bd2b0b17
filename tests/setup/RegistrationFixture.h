// A private system for the registration tools in this process: drive C: is a fresh host folder
// with the emulated system tree (and so the Windows folder's REG.REG and the registry) below it,
// the clock is a test clock in UTC, and message boxes are scripted. Helpers read and write the
// product record, the local record, the global list and REGCOUNT.
#pragma once

#include <windows.h>

#include <host/Clock.h>
#include <host/Drives.h>
#include <host/Paths.h>
#include <host/TimeZone.h>
#include <host/UiScript.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>

class RegistrationFixture : public ::testing::Test {
protected:
    TempDir root;

    void SetUp() override
    {
        std::filesystem::create_directories(root.path() / "system");
        host::MapDrive('C', root.str(), DRIVE_FIXED, "SETUP");
        host::SetSystemRoot((root.path() / "system").string());
        host::ResetUiScript();
        ASSERT_TRUE(host::SetTimeZone("UTC0"));
        host::UseTestClock(host::DaysFromCivil(2026, 12, 30) * 86400000LL + 12 * 3600000LL);
        GetCurrentDirectory(MAX_PATH, m_savedFolder);
    }
    void TearDown() override
    {
        SetCurrentDirectory(m_savedFolder);
        host::UseRealClock();
        host::SetTimeZone("");
        host::SetSystemRoot("");
        host::ResetDrives();
        host::ResetUiScript();
    }

    // A product folder C:\<folder> with its product record.
    std::string Product(const std::string& folder, const std::string& name, const std::string& number = "VJ2000-INTL")
    {
        root.Write(folder + "/PRODREG.DAT",
                   "[PRODUCT]\r\nPRODUCTNAME=" + name + "\r\nPRODUCTNUM=" + number + "\r\nLANGUAGE=ENG\r\n");
        return "C:\\" + folder + "\\";
    }

    static std::string GlobalList()
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectory(windows, MAX_PATH);
        return std::string(windows) + "\\REG.REG";
    }
    static std::optional<std::string> Value(const std::string& file, const std::string& section, const std::string& key)
    {
        char text[1024] = "";
        GetPrivateProfileString(section.c_str(), key.c_str(), "\x01", text, sizeof text, file.c_str());
        if (std::string(text) == "\x01")
            return std::nullopt;
        return std::string(text);
    }
    static std::string Text(const std::string& file, const std::string& section, const std::string& key)
    {
        return Value(file, section, key).value_or("(none)");
    }
    static void Set(const std::string& file, const std::string& section, const std::string& key, const std::string& value)
    {
        ASSERT_TRUE(WritePrivateProfileString(section.c_str(), key.c_str(), value.c_str(), file.c_str()));
    }
    static bool Exists(const std::string& file) { return GetFileAttributes(file.c_str()) != INVALID_FILE_ATTRIBUTES; }

    static void SetRegCount(DWORD count)
    {
        HKEY key = nullptr;
        ASSERT_EQ(RegCreateKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Software Registration", 0, nullptr, 0,
                                  KEY_ALL_ACCESS, nullptr, &key, nullptr),
                  ERROR_SUCCESS);
        RegSetValueExA(key, "REGCOUNT", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&count), sizeof count);
        RegCloseKey(key);
    }
    static std::optional<DWORD> RegCount()
    {
        HKEY key = nullptr;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SOFTWARE\\Ostrel\\Software Registration", 0, KEY_READ, &key) !=
            ERROR_SUCCESS)
            return std::nullopt;
        DWORD count = 0, size = sizeof count, type = 0;
        LSTATUS status = RegQueryValueExA(key, "REGCOUNT", nullptr, &type, reinterpret_cast<LPBYTE>(&count), &size);
        RegCloseKey(key);
        if (status != ERROR_SUCCESS)
            return std::nullopt;
        return count;
    }

private:
    char m_savedFolder[MAX_PATH] = "";
};
