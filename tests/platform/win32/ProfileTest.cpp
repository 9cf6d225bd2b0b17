#include <windows.h>

#include <host/Paths.h>

#include <TempDir.h>

#include <host/Drives.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

const char kSample[] =
    "; settings of the test\r\n"
    "[Settings]\r\n"
    "  Name = Value with spaces  \r\n"
    "Quoted=\"  padded  \"\r\n"
    "Single='x'\r\n"
    "Number = 0x1F\r\n"
    "Negative=-5\r\n"
    "Text=abc\r\n"
    "Empty=\r\n"
    ";Hidden=1\r\n"
    "\r\n"
    "[Other]\r\n"
    "a=1\r\n";

// A Windows folder and a profile in a fresh temp folder.
class Profile : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::SetSystemRoot(dir.str());
        dir.Write("test.ini", kSample);
        file = *host::FromHostPath(dir.str() + "/test.ini");
    }
    void TearDown() override { host::SetSystemRoot(""); }

    std::string Get(const char* section, const char* key, const char* def, DWORD size, DWORD& result)
    {
        char buffer[256];
        std::memset(buffer, 'X', sizeof buffer);
        result = GetPrivateProfileString(section, key, def, buffer, size, file.c_str());
        return std::string(buffer, result);
    }

    TempDir dir;
    std::string file;
};

TEST_F(Profile, ReadsValuesByTheDocumentedRules)
{
    struct Case {
        const char* section;
        const char* key;
        const char* def;
        DWORD size;
        const char* expected;
        DWORD result;
    } cases[] = {
        {"Settings", "Name", "d", 100, "Value with spaces", 17},   // blanks around "=" and value dropped
        {"SETTINGS", "nAmE", "d", 100, "Value with spaces", 17},   // sections and keys ignore case
        {"Settings", "Quoted", "d", 100, "  padded  ", 10},        // quotes stripped, inner blanks kept
        {"Settings", "Single", "d", 100, "x", 1},
        {"Settings", "Empty", "d", 100, "", 0},                    // present but empty: no default
        {"Settings", "Missing", "def  ", 100, "def", 3},           // default without trailing blanks
        {"Settings", "Missing", nullptr, 100, "", 0},
        {"Settings", ";Hidden", "d", 100, "d", 1},                 // comment lines are not keys
        {"Nowhere", "Name", "d", 100, "d", 1},
        {"Settings", "Name", "d", 6, "Value", 5},                  // cut to nSize - 1
        {"Settings", "Missing", "long default", 5, "long", 4},
        {"Other", "a", "d", 1, "", 0},
    };
    for (const Case& c : cases) {
        DWORD result;
        std::string got = Get(c.section, c.key, c.def, c.size, result);
        EXPECT_EQ(got, c.expected) << c.section << "/" << c.key << " size " << c.size;
        EXPECT_EQ(result, c.result) << c.section << "/" << c.key << " size " << c.size;
    }
}

TEST_F(Profile, ReadsIntegers)
{
    struct Case {
        const char* key;
        int def;
        UINT expected;
    } cases[] = {
        {"Number", 7, 31u}, {"Negative", 7, static_cast<UINT>(-5)}, {"Empty", 7, 7u},
        {"Missing", 9, 9u}, {"Text", 7, 0u},
    };
    for (const Case& c : cases)
        EXPECT_EQ(GetPrivateProfileInt("settings", c.key, c.def, file.c_str()), c.expected) << c.key;
}

TEST_F(Profile, ListsSectionsAndKeysWithDoubleNulAndTruncation)
{
    struct Case {
        const char* section;  // nullptr: section names
        DWORD size;
        std::string expected;
        DWORD result;
    } cases[] = {
        {nullptr, 100, std::string("Settings\0Other\0\0", 16), 15},
        {nullptr, 16, std::string("Settings\0Other\0\0", 16), 15},
        {nullptr, 15, std::string("Settings\0Othe\0\0", 15), 13},   // cut: two NULs, nSize - 2
        {nullptr, 10, std::string("Settings\0\0", 10), 8},
        {"OTHER", 100, std::string("a\0\0", 3), 2},
        {"Nowhere", 100, std::string("\0\0", 2), 0},
    };
    for (const Case& c : cases) {
        char buffer[128];
        std::memset(buffer, 'X', sizeof buffer);
        DWORD result = c.section ? GetPrivateProfileString(c.section, nullptr, "d", buffer, c.size, file.c_str())
                                 : GetPrivateProfileSectionNames(buffer, c.size, file.c_str());
        EXPECT_EQ(result, c.result) << (c.section ? c.section : "(names)") << " size " << c.size;
        EXPECT_EQ(std::string(buffer, c.expected.size()), c.expected) << "size " << c.size;
    }
    char keys[200];
    DWORD n = GetPrivateProfileString("Settings", nullptr, "", keys, sizeof keys, file.c_str());
    EXPECT_EQ(std::string(keys, n), std::string("Name\0Quoted\0Single\0Number\0Negative\0Text\0Empty\0", 46));
}

TEST_F(Profile, AMissingFileGivesTheDefault)
{
    std::string missing = *host::FromHostPath(dir.str() + "/missing.ini");
    char buffer[32] = "XXXX";
    SetLastError(0);
    EXPECT_EQ(GetPrivateProfileString("s", "k", "fallback", buffer, sizeof buffer, missing.c_str()), 8u);
    EXPECT_STREQ(buffer, "fallback");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_EQ(GetPrivateProfileInt("s", "k", 42, missing.c_str()), 42u);
    std::memset(buffer, 'X', sizeof buffer);
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer, sizeof buffer, missing.c_str()), 0u);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0\0", 2));
}

TEST_F(Profile, WritesCreateEditAndDeleteKeepingTheRest)
{
    // A bare name is a file of the Windows folder; the first write creates it.
    EXPECT_TRUE(WritePrivateProfileString("Fresh", "Key", "1", "fresh.ini"));
    EXPECT_EQ(dir.Read("WINDOWS/fresh.ini"), "[Fresh]\r\nKey=1\r\n");
    EXPECT_TRUE(WritePrivateProfileString("FRESH", "KEY", "two words", "fresh.ini"));
    EXPECT_TRUE(WritePrivateProfileString("fresh", "Second", "2", "fresh.ini"));
    EXPECT_TRUE(WritePrivateProfileString("Next", "k", "v", "fresh.ini"));
    EXPECT_EQ(dir.Read("WINDOWS/fresh.ini"), "[Fresh]\r\nKey=two words\r\nSecond=2\r\n[Next]\r\nk=v\r\n");

    // Editing a hand-written file keeps its comments and blank lines; new keys go after the
    // section's last entry.
    EXPECT_TRUE(WritePrivateProfileString("settings", "added", "yes", file.c_str()));
    EXPECT_TRUE(WritePrivateProfileString("Settings", "Negative", nullptr, file.c_str()));  // delete key
    EXPECT_TRUE(WritePrivateProfileString("Other", nullptr, nullptr, file.c_str()));        // delete section
    EXPECT_TRUE(WritePrivateProfileString("Nowhere", "x", nullptr, file.c_str()));          // nothing to delete
    EXPECT_EQ(dir.Read("test.ini"),
              "; settings of the test\r\n"
              "[Settings]\r\n"
              "  Name = Value with spaces  \r\n"
              "Quoted=\"  padded  \"\r\n"
              "Single='x'\r\n"
              "Number = 0x1F\r\n"
              "Text=abc\r\n"
              "Empty=\r\n"
              ";Hidden=1\r\n"
              "added=yes\r\n"
              "\r\n");
    char buffer[64];
    EXPECT_EQ(GetPrivateProfileString("Settings", "Negative", "gone", buffer, sizeof buffer, file.c_str()), 4u);
    EXPECT_EQ(GetPrivateProfileSectionNames(buffer, sizeof buffer, file.c_str()), 9u);
}

TEST_F(Profile, WritesWholeSections)
{
    EXPECT_TRUE(WritePrivateProfileSection("Other", "x=1\0y = 2\0", file.c_str()));
    char buffer[64];
    DWORD n = GetPrivateProfileSection("other", buffer, sizeof buffer, file.c_str());
    EXPECT_EQ(std::string(buffer, n), std::string("x=1\0y=2\0", 8));
    EXPECT_EQ(GetPrivateProfileSection("other", buffer, 6, file.c_str()), 4u);
    EXPECT_EQ(std::string(buffer, 6), std::string("x=1\0\0\0", 6));
    EXPECT_TRUE(WritePrivateProfileSection("New", "k=v\0", file.c_str()));
    EXPECT_EQ(GetPrivateProfileInt("new", "K", 0, file.c_str()), 0u);
    EXPECT_EQ(GetPrivateProfileString("new", "K", "", buffer, sizeof buffer, file.c_str()), 1u);
}

TEST_F(Profile, ReadsHostStyleLinesAndWritesThemBackWithCrLf)
{
    dir.Write("lf.ini", "[ Spaced Section ]\nkey = v\n\t[Tabbed]\nx=1");  // LF lines, no final newline
    std::string lf = *host::FromHostPath(dir.str() + "/lf.ini");
    char buffer[64];
    EXPECT_EQ(GetPrivateProfileString("spaced section", "KEY", "", buffer, sizeof buffer, lf.c_str()), 1u);
    EXPECT_EQ(GetPrivateProfileInt("tabbed", "x", 0, lf.c_str()), 1u);
    EXPECT_TRUE(WritePrivateProfileString("Tabbed", "y", "2", lf.c_str()));
    EXPECT_EQ(dir.Read("lf.ini"), "[ Spaced Section ]\r\nkey = v\r\n\t[Tabbed]\r\nx=1\r\ny=2\r\n");
}

TEST_F(Profile, WinIniLivesInTheWindowsFolder)
{
    EXPECT_TRUE(WriteProfileString("windows", "device", "printer,driver,port"));
    EXPECT_EQ(dir.Read("WINDOWS/win.ini"), "[windows]\r\ndevice=printer,driver,port\r\n");
    char buffer[64];
    EXPECT_EQ(GetProfileString("Windows", "Device", "", buffer, sizeof buffer), 19u);
    EXPECT_STREQ(buffer, "printer,driver,port");
    EXPECT_EQ(GetProfileInt("windows", "missing", 3), 3u);
}

TEST_F(Profile, WritingIntoAMissingFolderFails)
{
    std::string path = *host::FromHostPath(dir.str() + "/no/such/folder/x.ini");
    SetLastError(0);
    EXPECT_FALSE(WritePrivateProfileString("s", "k", "v", path.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PATH_NOT_FOUND));
    EXPECT_FALSE(WritePrivateProfileString(nullptr, "k", "v", file.c_str()));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
}

}  // namespace

// Profiles are kept parsed between calls: what another program writes must still be seen, at
// once, even when it writes within the same tick of the file clock and keeps the size.
TEST_F(Profile, SeesChangesMadeBehindItsBack)
{
    char buffer[64];
    for (int round = 0; round < 20; ++round) {
        std::string value = "v" + std::to_string(round % 10);  // same length every round
        dir.Write("test.ini", "[Settings]\r\nText=" + value + "\r\n");
        ASSERT_EQ(GetPrivateProfileString("Settings", "Text", "", buffer, sizeof buffer, file.c_str()), 2u);
        EXPECT_EQ(std::string(buffer), value) << "round " << round;
    }
    // Removed and made again.
    std::filesystem::remove(dir.path() / "test.ini");
    EXPECT_EQ(GetPrivateProfileInt("Settings", "Number", 7, file.c_str()), 7u);
    dir.Write("test.ini", "[Settings]\r\nNumber=9\r\n");
    EXPECT_EQ(GetPrivateProfileInt("Settings", "Number", 7, file.c_str()), 9u);
}

TEST_F(Profile, ItsOwnWritesAreSeenAtOnceAndReachTheFile)
{
    char buffer[64];
    EXPECT_EQ(GetPrivateProfileString("Settings", "Text", "", buffer, sizeof buffer, file.c_str()), 3u);
    for (int round = 0; round < 5; ++round) {
        std::string value = "w" + std::to_string(round);
        ASSERT_TRUE(WritePrivateProfileString("Settings", "Text", value.c_str(), file.c_str()));
        EXPECT_EQ(GetPrivateProfileString("Settings", "Text", "", buffer, sizeof buffer, file.c_str()), 2u);
        EXPECT_EQ(std::string(buffer), value);
        EXPECT_NE(dir.Read("test.ini").find("Text=" + value + "\r\n"), std::string::npos);
    }
    // A change behind its back right after its own write is not lost under the kept copy.
    std::string text = dir.Read("test.ini");
    text.replace(text.find("Text=w4"), 7, "Text=zz");
    dir.Write("test.ini", text);
    EXPECT_EQ(GetPrivateProfileString("Settings", "Text", "", buffer, sizeof buffer, file.c_str()), 2u);
    EXPECT_STREQ(buffer, "zz");
    ASSERT_TRUE(WritePrivateProfileString("Other", "b", "2", file.c_str()));
    EXPECT_NE(dir.Read("test.ini").find("Text=zz\r\n"), std::string::npos);
}

// One profile name stands for another file once its drive is mapped elsewhere.
TEST_F(Profile, FollowsTheDriveMap)
{
    TempDir other;
    dir.Write("p.ini", "[s]\r\nk=first\r\n");
    other.Write("p.ini", "[s]\r\nk=second\r\n");
    char buffer[64];
    host::MapDrive('Q', dir.str(), DRIVE_FIXED, "ONE");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, "Q:\\P.INI"), 5u);
    EXPECT_STREQ(buffer, "first");
    host::MapDrive('Q', other.str(), DRIVE_FIXED, "TWO");
    EXPECT_EQ(GetPrivateProfileString("s", "k", "", buffer, sizeof buffer, "Q:\\P.INI"), 6u);
    EXPECT_STREQ(buffer, "second");
    host::UnmapDrive('Q');
}

// Long sections: every key is found, the last one as well as the first.
TEST_F(Profile, FindsEveryKeyOfALongSection)
{
    std::string text = "[Big]\r\n";
    for (int i = 0; i < 3000; ++i)
        text += "key" + std::to_string(i) + "=" + std::to_string(i * 7) + "\r\n";
    dir.Write("big.ini", text);
    std::string big = *host::FromHostPath(dir.str() + "/big.ini");
    for (int i : {0, 1, 1499, 2999})
        EXPECT_EQ(GetPrivateProfileInt("big", ("KEY" + std::to_string(i)).c_str(), -1, big.c_str()), UINT(i * 7));
    EXPECT_EQ(GetPrivateProfileInt("big", "key3000", -1, big.c_str()), UINT(-1));
}
