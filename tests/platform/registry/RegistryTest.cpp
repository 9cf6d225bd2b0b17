// The registry: keys and values of both roots, sizes and errors as the platform reports them,
// the file each root lives in, and a second process that sees what this one wrote.
#include <windows.h>

#include <host/Drives.h>
#include <host/Paths.h>
#include <host/Registry.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

class Registry : public ::testing::Test {
protected:
    void SetUp() override { host::SetSystemRoot(dir.str()); }
    void TearDown() override
    {
        for (HKEY key : opened)
            RegCloseKey(key);
        host::SetSystemRoot("");
    }

    HKEY Create(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS, DWORD* disposition = nullptr)
    {
        HKEY key = nullptr;
        EXPECT_EQ(RegCreateKeyEx(root, path, 0, nullptr, 0, access, nullptr, &key, disposition), ERROR_SUCCESS)
            << path;
        opened.push_back(key);
        return key;
    }
    LSTATUS Open(HKEY root, const char* path, HKEY& key, REGSAM access = KEY_ALL_ACCESS)
    {
        LSTATUS status = RegOpenKeyEx(root, path, 0, access, &key);
        if (status == ERROR_SUCCESS)
            opened.push_back(key);
        return status;
    }
    static LSTATUS SetText(HKEY key, const char* name, const std::string& text, bool withZero = true)
    {
        return RegSetValueEx(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                             static_cast<DWORD>(text.size() + (withZero ? 1 : 0)));
    }
    // The value's bytes as stored, or "<error N>".
    static std::string Query(HKEY key, const char* name, DWORD* type = nullptr)
    {
        DWORD size = 0;
        LSTATUS status = RegQueryValueEx(key, name, nullptr, type, nullptr, &size);
        if (status != ERROR_SUCCESS)
            return "<error " + std::to_string(status) + ">";
        std::string bytes(size, '\x7F');
        status = RegQueryValueEx(key, name, nullptr, type, reinterpret_cast<BYTE*>(bytes.data()), &size);
        if (status != ERROR_SUCCESS)
            return "<error " + std::to_string(status) + ">";
        bytes.resize(size);
        return bytes;
    }

    TempDir dir;
    std::vector<HKEY> opened;
};

TEST_F(Registry, ValuesOfBothRootsRoundTripWithTheirTypes)
{
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
        DWORD disposition = 0;
        HKEY key = Create(root, "SOFTWARE\\Maker\\Product\\", KEY_ALL_ACCESS, &disposition);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_CREATED_NEW_KEY));
        Create(root, "software\\MAKER", KEY_ALL_ACCESS, &disposition);
        EXPECT_EQ(disposition, static_cast<DWORD>(REG_OPENED_EXISTING_KEY)) << "names ignore case";

        EXPECT_EQ(SetText(key, "Counted", "with zero"), ERROR_SUCCESS);
        EXPECT_EQ(SetText(key, "Uncounted", "no zero", false), ERROR_SUCCESS);
        EXPECT_EQ(SetText(key, nullptr, "default"), ERROR_SUCCESS);
        DWORD number = 0x12345678;
        EXPECT_EQ(RegSetValueEx(key, "Number", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 4), ERROR_SUCCESS);
        EXPECT_EQ(RegSetValueEx(key, "Bad", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), 2),
                  ERROR_INVALID_PARAMETER);

        DWORD type = 0;
        EXPECT_EQ(Query(key, "counted", &type), std::string("with zero", 10));
        EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
        EXPECT_EQ(Query(key, "Uncounted"), std::string("no zero", 8)) << "stored with its terminator";
        EXPECT_EQ(Query(key, ""), std::string("default", 8));
        std::string dword = Query(key, "Number", &type);
        EXPECT_EQ(type, static_cast<DWORD>(REG_DWORD));
        ASSERT_EQ(dword.size(), 4u);
        DWORD back = 0;
        std::memcpy(&back, dword.data(), 4);
        EXPECT_EQ(back, number);

        // A key reached again from its root sees the same values.
        HKEY again = nullptr;
        ASSERT_EQ(Open(root, "Software\\Maker\\Product", again, KEY_READ), ERROR_SUCCESS);
        EXPECT_EQ(Query(again, "Counted"), std::string("with zero", 10));
    }
    // The roots are separate.
    HKEY key = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "SOFTWARE\\Maker\\Product", key), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, "OnlyUser", "x"), ERROR_SUCCESS);
    ASSERT_EQ(Open(HKEY_LOCAL_MACHINE, "SOFTWARE\\Maker\\Product", key), ERROR_SUCCESS);
    EXPECT_EQ(Query(key, "OnlyUser"), "<error 2>");
}

TEST_F(Registry, ErrorsAsThePlatformReportsThem)
{
    HKEY key = reinterpret_cast<HKEY>(std::uintptr_t{1});
    EXPECT_EQ(RegOpenKeyEx(HKEY_CURRENT_USER, "Missing\\Key", 0, KEY_READ, &key), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(key, nullptr);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "\\Leading", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Double\\\\Slash", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              ERROR_BAD_PATHNAME);
    EXPECT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, std::string(256, 'k').c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                             &key, nullptr),
              ERROR_INVALID_PARAMETER);

    HKEY writable = Create(HKEY_CURRENT_USER, "Errors");
    EXPECT_EQ(Query(writable, "Missing"), "<error 2>");
    EXPECT_EQ(RegDeleteValue(writable, "Missing"), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Errors\\Missing"), ERROR_FILE_NOT_FOUND);

    // Access rights of a handle.
    HKEY reading = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Errors", reading, KEY_READ), ERROR_SUCCESS);
    EXPECT_EQ(SetText(reading, "Value", "x"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegCreateKeyEx(reading, "Sub", 0, nullptr, 0, KEY_READ, nullptr, &key, nullptr), ERROR_ACCESS_DENIED);
    HKEY setting = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Errors", setting, KEY_SET_VALUE), ERROR_SUCCESS);
    EXPECT_EQ(SetText(setting, "Value", "x"), ERROR_SUCCESS);
    EXPECT_EQ(Query(setting, "Value"), "<error 5>");

    // Buffer sizes: the size alone, too small, just right.
    DWORD size = 0;
    EXPECT_EQ(RegQueryValueEx(writable, "Value", nullptr, nullptr, nullptr, &size), ERROR_SUCCESS);
    EXPECT_EQ(size, 2u);
    char buffer[4] = {'a', 'b', 'c', 'd'};
    size = 1;
    EXPECT_EQ(RegQueryValueEx(writable, "Value", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_MORE_DATA);
    EXPECT_EQ(size, 2u);
    size = 2;
    EXPECT_EQ(RegQueryValueEx(writable, "Value", nullptr, nullptr, reinterpret_cast<BYTE*>(buffer), &size),
              ERROR_SUCCESS);
    EXPECT_STREQ(buffer, "x");

    // A key with subkeys stays; a deleted key's handles say so; a closed handle is gone.
    Create(HKEY_CURRENT_USER, "Errors\\Sub");
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Errors"), ERROR_ACCESS_DENIED);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Errors\\Sub"), ERROR_SUCCESS);
    EXPECT_EQ(RegDeleteKey(HKEY_CURRENT_USER, "Errors"), ERROR_SUCCESS);
    EXPECT_EQ(Query(writable, "Value"), "<error 1018>");
    EXPECT_EQ(SetText(writable, "Value", "y"), ERROR_KEY_DELETED);
    HKEY closed = nullptr;
    ASSERT_EQ(RegCreateKeyEx(HKEY_CURRENT_USER, "Closed", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &closed, nullptr),
              ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(closed), ERROR_SUCCESS);
    EXPECT_EQ(RegCloseKey(closed), ERROR_INVALID_HANDLE);
    EXPECT_EQ(SetText(closed, "Value", "z"), ERROR_INVALID_HANDLE);
}

TEST_F(Registry, EnumerationOrderSizesAndEnd)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Enum");
    for (const char* name : {"beta", "Alpha", "gamma"})
        Create(key, name);
    Create(key, "Alpha\\Deeper");
    std::vector<std::string> names;
    char name[64];
    for (DWORD i = 0;; ++i) {
        DWORD count = sizeof name;
        FILETIME written{};
        LSTATUS status = RegEnumKeyEx(key, i, name, &count, nullptr, nullptr, nullptr, &written);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        EXPECT_EQ(count, std::strlen(name));
        EXPECT_NE(written.dwHighDateTime, 0u);
        names.push_back(name);
    }
    EXPECT_EQ(names, (std::vector<std::string>{"Alpha", "beta", "gamma"}));
    DWORD small = 5;  // "Alpha" needs 6 with its zero
    EXPECT_EQ(RegEnumKeyEx(key, 0, name, &small, nullptr, nullptr, nullptr, nullptr), ERROR_MORE_DATA);

    for (const char* value : {"zulu", "Yankee", "xray"})
        EXPECT_EQ(SetText(key, value, value), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, "ZULU", "again"), ERROR_SUCCESS) << "replaces, keeps its place";
    std::vector<std::string> values;
    for (DWORD i = 0;; ++i) {
        DWORD count = sizeof name, type = 0;
        char data[16];
        DWORD size = sizeof data;
        LSTATUS status = RegEnumValue(key, i, name, &count, nullptr, &type, reinterpret_cast<BYTE*>(data), &size);
        if (status == ERROR_NO_MORE_ITEMS)
            break;
        ASSERT_EQ(status, ERROR_SUCCESS);
        values.push_back(std::string(name) + "=" + data);
    }
    EXPECT_EQ(values, (std::vector<std::string>{"zulu=again", "Yankee=Yankee", "xray=xray"}));
    DWORD count = sizeof name, size = 2;
    char data[2];
    EXPECT_EQ(RegEnumValue(key, 1, name, &count, nullptr, nullptr, reinterpret_cast<BYTE*>(data), &size), ERROR_MORE_DATA);
    EXPECT_EQ(size, 7u);
}

TEST_F(Registry, EachRootIsOnePrivateFileReplacedWhole)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Files");
    EXPECT_EQ(SetText(key, "Value", "kept"), ERROR_SUCCESS);
    Create(HKEY_LOCAL_MACHINE, "Machine");
    std::string user = host::RegistryFile(HKEY_CURRENT_USER);
    std::string machine = host::RegistryFile(HKEY_LOCAL_MACHINE);
    EXPECT_EQ(user.rfind(dir.str(), 0), 0u) << user;
    EXPECT_NE(user, machine);
    for (const std::string& file : {user, machine}) {
        struct stat st {};
        ASSERT_EQ(stat(file.c_str(), &st), 0) << file;
        EXPECT_EQ(st.st_mode & 0777, 0600u) << file;
    }
    struct stat folder {};
    ASSERT_EQ(stat((dir.path() / "registry").c_str(), &folder), 0);
    EXPECT_EQ(folder.st_mode & 0777, 0700u);
    for (const auto& entry : std::filesystem::directory_iterator(dir.path() / "registry"))
        EXPECT_EQ(entry.path().string().find(".tmp"), std::string::npos) << "no temporary file left behind";

    // Another system tree is another registry; back again, the values are there.
    TempDir other;
    host::SetSystemRoot(other.str());
    EXPECT_EQ(Query(key, "Value"), "<error 1018>");
    host::SetSystemRoot(dir.str());
    EXPECT_EQ(Query(key, "Value"), std::string("kept", 5));
}

TEST_F(Registry, DamagedFileKeepsWhatStillReads)
{
    HKEY key = Create(HKEY_CURRENT_USER, "Damaged\\Key");
    EXPECT_EQ(SetText(key, "First", "one"), ERROR_SUCCESS);
    EXPECT_EQ(SetText(key, "Second", "two"), ERROR_SUCCESS);
    std::string file = host::RegistryFile(HKEY_CURRENT_USER);
    std::string text;
    {
        std::ifstream in(file, std::ios::binary);
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // The last line cut short, and a line of garbage in the middle.
    std::string damaged = text.substr(0, text.size() - 3);
    damaged.insert(damaged.find('\n') + 1, "K zz \x01\x02\nV 1 zz\n");
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << damaged;
    }
    HKEY again = nullptr;
    ASSERT_EQ(Open(HKEY_CURRENT_USER, "Damaged\\Key", again), ERROR_SUCCESS);
    EXPECT_EQ(Query(again, "First"), std::string("one", 4));
    EXPECT_EQ(Query(again, "Second"), "<error 2>");
    // Writing again gives a whole file.
    EXPECT_EQ(SetText(again, "Second", "two"), ERROR_SUCCESS);
    EXPECT_EQ(Query(again, "Second"), std::string("two", 4));

    // Not a registry file at all: an empty registry, never a crash.
    {
        std::ofstream out(file, std::ios::binary | std::ios::trunc);
        out << std::string("\0\xff\n\n K", 6);
    }
    HKEY none = nullptr;
    EXPECT_EQ(Open(HKEY_CURRENT_USER, "Damaged", none), ERROR_FILE_NOT_FOUND);
}

TEST_F(Registry, AnotherProcessOfTheUserSeesTheChangesBothWays)
{
    HKEY key = Create(HKEY_CURRENT_USER, "SOFTWARE\\Shared");
    ASSERT_EQ(SetText(key, "From", "first process"), ERROR_SUCCESS);

    setenv("VL_SYSTEM_ROOT", dir.str().c_str(), 1);
    auto peer = host::FromHostPath(VL_REGISTRY_PEER);
    ASSERT_TRUE(peer);
    std::string command = "\"" + *peer + "\" software\\shared From \"first process\" Answer \"second process\"";
    STARTUPINFOA si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    ASSERT_TRUE(CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
    ASSERT_EQ(WaitForSingleObject(pi.hProcess, 30000), WAIT_OBJECT_0);
    DWORD code = 99;
    GetExitCodeProcess(pi.hProcess, &code);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    unsetenv("VL_SYSTEM_ROOT");
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(Query(key, "Answer"), std::string("second process", 15)) << "the open handle sees the other's write";
}

}  // namespace
