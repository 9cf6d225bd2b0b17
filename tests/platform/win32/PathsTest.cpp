#include "FilesTestSupport.h"

#include <cstring>

TEST(Wildcards, FollowThePlatformRules)
{
    struct Case {
        const char* pattern;
        const char* name;
        bool matches;
    };
    const Case cases[] = {
        {"*.*", "readme.txt", true},
        {"*.*", "README", true},  // "*.*" also takes names without a dot
        {"*.*", ".profile", true},
        {"*", "a.b.c", true},
        {"VM*.*", "vmAB12CD", true},
        {"VM*.*", "VMAB12CD.TMP", true},
        {"VM*.*", "xvm1", false},
        {"*.TXT", "notes.txt", true},
        {"*.TXT", "notes.txt.bak", false},
        {"*.txt", "notes", false},
        {"a?c", "abc", true},
        {"a?c", "ac", false},
        {"file?.dat", "file.dat", true},  // '?' may stand for nothing before the dot
        {"file?.dat", "file12.dat", false},
        {"ab??", "ab", true},  // ... and at the end of the name
        {"*.", "makefile", true},
        {"*.", "make.file", false},
        {"????????.???", "AUTOEXEC.BAT", true},
        {"*abc*", "xxABCxx", true},
        {"\xC9T\xC9.*", "\xE9t\xE9.doc", true},  // letters above 0x7F fold too
        {"a*b*c", "aXbYbZc", true},
        {"a*b*c", "aXbYbZ", false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(host::WildcardMatch(c.pattern, c.name), c.matches) << c.pattern << " vs " << c.name;
}

class Paths : public TestDrive {};

TEST_F(Paths, FullPathNamesAreMadeAgainstTheCurrentDirectory)
{
    ASSERT_TRUE(CreateDirectory("T:\\Work", nullptr));
    ASSERT_TRUE(SetCurrentDirectory("work"));
    struct Case {
        const char* input;
        const char* full;
    };
    const Case cases[] = {
        {"file.txt", "T:\\work\\file.txt"},
        {".\\a\\..\\b", "T:\\work\\b"},
        {"..\\..\\..\\x", "T:\\x"},
        {"\\top\\name", "T:\\top\\name"},
        {"T:rel", "T:\\work\\rel"},
        {"Q:rel", "Q:\\rel"},
        {"c:/dir//sub/", "C:\\dir\\sub\\"},
        {"name. . ", "T:\\work\\name"},
        {"T:\\", "T:\\"},
    };
    for (const Case& c : cases) {
        char buffer[MAX_PATH];
        LPSTR filePart = nullptr;
        DWORD length = GetFullPathName(c.input, MAX_PATH, buffer, &filePart);
        EXPECT_STREQ(buffer, c.full) << c.input;
        EXPECT_EQ(length, std::strlen(c.full)) << c.input;
    }
    char buffer[MAX_PATH];
    LPSTR filePart = nullptr;
    GetFullPathName("dir\\leaf.dat", MAX_PATH, buffer, &filePart);
    EXPECT_STREQ(filePart, "leaf.dat");
    // A buffer too small gets the size needed, terminator included, and is left alone.
    char small[4] = "xyz";
    EXPECT_EQ(GetFullPathName("abc", sizeof small, small, nullptr), std::strlen("T:\\work\\abc") + 1);
    EXPECT_STREQ(small, "xyz");
}

TEST_F(Paths, EveryComponentIsMatchedWithoutRegardToCase)
{
    Write("Data/SubDir/File.TXT", "content");
    Write("Data/Caf\xC3\xA9/Menu.txt", "menu");  // the host name is UTF-8
    struct Case {
        const char* platform;
        const char* hostRelative;
    };
    const Case cases[] = {
        {"T:\\data\\subdir\\file.txt", "Data/SubDir/File.TXT"},
        {"t:\\DATA\\SUBDIR\\FILE.TXT", "Data/SubDir/File.TXT"},
        {"\\Data\\subDIR\\new.txt", "Data/SubDir/new.txt"},      // missing names are kept as written
        {"T:\\data\\Missing\\Deeper", "Data/Missing/Deeper"},
        {"T:\\DATA\\CAF\xC9\\MENU.TXT", "Data/Caf\xC3\xA9/Menu.txt"},  // Windows-1252 E acute
    };
    for (const Case& c : cases) {
        auto hostPath = host::ToHostPath(c.platform);
        ASSERT_TRUE(hostPath) << c.platform;
        EXPECT_EQ(*hostPath, Host(c.hostRelative).string()) << c.platform;
    }
    EXPECT_EQ(ReadAll("t:\\data\\caf\xE9\\menu.TXT"), "menu");
    EXPECT_FALSE(host::ToHostPath("Q:\\unmapped"));

    // Back again: the host spelling, in the platform's code page.
    EXPECT_EQ(host::FromHostPath(Host("Data/Caf\xC3\xA9/Menu.txt").string()), "T:\\Data\\Caf\xE9\\Menu.txt");
    EXPECT_EQ(host::FromHostPath(Host("").string()), "T:\\");
    EXPECT_EQ(host::FromHostPath("/usr/share"), "C:\\usr\\share");  // C: is the host's root
}

TEST_F(Paths, CurrentDirectoryIsUsedForRelativeNames)
{
    ASSERT_TRUE(CreateDirectory("T:\\Docs", nullptr));
    ASSERT_TRUE(SetCurrentDirectory("DOCS"));
    char buffer[MAX_PATH];
    EXPECT_EQ(GetCurrentDirectory(MAX_PATH, buffer), 7u);
    EXPECT_STREQ(buffer, "T:\\DOCS");
    EXPECT_EQ(GetCurrentDirectory(3, buffer), 8u);

    HANDLE file = CreateFile("note.txt", GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    CloseHandle(file);
    EXPECT_TRUE(std::filesystem::exists(Host("Docs/note.txt")));

    struct Case {
        const char* path;
        DWORD error;
    };
    const Case failures[] = {
        {"missing", ERROR_FILE_NOT_FOUND},
        {"missing\\deeper", ERROR_PATH_NOT_FOUND},
        {"note.txt", ERROR_DIRECTORY},
        {"Q:\\", ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : failures) {
        SetLastError(0);
        EXPECT_FALSE(SetCurrentDirectory(c.path)) << c.path;
        EXPECT_EQ(GetLastError(), c.error) << c.path;
    }
    // The current directory cannot be removed while it is current.
    ASSERT_TRUE(SetCurrentDirectory("T:\\docs"));
    ASSERT_TRUE(DeleteFile("note.txt"));
    EXPECT_FALSE(RemoveDirectory("T:\\Docs"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    ASSERT_TRUE(SetCurrentDirectory(".."));
    EXPECT_TRUE(RemoveDirectory("T:\\Docs"));
}

TEST_F(Paths, SystemFoldersLieInTheEmulatedSystemTree)
{
    char windows[MAX_PATH];
    char system[MAX_PATH];
    char temp[MAX_PATH];
    UINT length = GetWindowsDirectory(windows, MAX_PATH);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(length, std::strlen(windows));
    ASSERT_GT(GetSystemDirectory(system, MAX_PATH), 0u);
    ASSERT_GT(GetTempPath(MAX_PATH, temp), 0u);
    EXPECT_EQ(std::string(system), std::string(windows) + "\\SYSTEM32");
    EXPECT_EQ(std::string(temp).back(), '\\');
    // They exist (created on demand) and are the folders below the configured system root.
    EXPECT_EQ(GetFileAttributes(windows), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributes(temp), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(host::ToHostPath(windows), (dir.path() / "system" / "WINDOWS").string());
    EXPECT_EQ(GetWindowsDirectory(windows, 2), length + 1);
}

TEST_F(Paths, SearchPathLooksThroughTheGivenFolders)
{
    Write("one/tool.dll", "1");
    Write("two/tool.dll", "2");
    Write("two/readme", "r");
    char buffer[MAX_PATH];
    LPSTR filePart = nullptr;
    DWORD length = SearchPath("T:\\missing;T:\\TWO;T:\\one", "TOOL", ".dll", MAX_PATH, buffer, &filePart);
    EXPECT_STREQ(buffer, "T:\\TWO\\TOOL.dll");
    EXPECT_EQ(length, std::strlen(buffer));
    EXPECT_STREQ(filePart, "TOOL.dll");
    // The extension is added only to a name without one.
    EXPECT_EQ(SearchPath("T:\\two", "readme", ".txt", MAX_PATH, buffer, nullptr), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_FILE_NOT_FOUND));
    EXPECT_GT(SearchPath("T:\\two", "tool.dll", ".txt", MAX_PATH, buffer, nullptr), 0u);
    // Without folders the current directory is searched.
    ASSERT_TRUE(SetCurrentDirectory("T:\\one"));
    EXPECT_GT(SearchPath(nullptr, "tool.dll", nullptr, MAX_PATH, buffer, nullptr), 0u);
    EXPECT_STREQ(buffer, "T:\\one\\tool.dll");
}

TEST(ProgramPath, IsThePlatformFormWithExe)
{
    std::string path = host::ProgramPlatformPath();
    ASSERT_GE(path.size(), 7u);
    EXPECT_EQ(path.substr(1, 2), ":\\");
    EXPECT_EQ(path.substr(path.size() - 4), ".exe");
    EXPECT_NE(path.find("test_win32"), std::string::npos);
}
