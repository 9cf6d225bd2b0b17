#include "FilesTestSupport.h"

#include <cstring>

namespace {

// Names a search returns, in order, joined by spaces; or the error of FindFirstFile.
std::string Search(const char* pattern)
{
    WIN32_FIND_DATA data;
    HANDLE search = FindFirstFile(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return "<error " + std::to_string(GetLastError()) + ">";
    std::string names = data.cFileName;
    while (FindNextFile(search, &data))
        names += std::string(" ") + data.cFileName;
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NO_MORE_FILES));
    EXPECT_TRUE(FindClose(search));
    return names;
}

}  // namespace

class Find : public TestDrive {
protected:
    void SetUp() override
    {
        TestDrive::SetUp();
        Write("Disc/VMab12cd", "1234");
        Write("Disc/vmZZ.TMP", "");
        Write("Disc/readme.txt", "r");
        Write("Disc/Index.IDX", "");
        Write("Disc/makefile", "");
        Write("Disc/Sub/inner.txt", "");
    }
};

TEST_F(Find, PatternsSelectAndOrderNames)
{
    struct Case {
        const char* pattern;
        const char* names;
    };
    const Case cases[] = {
        {"T:\\disc\\*.*", ". .. Index.IDX makefile readme.txt Sub VMab12cd vmZZ.TMP"},
        {"T:\\DISC\\*", ". .. Index.IDX makefile readme.txt Sub VMab12cd vmZZ.TMP"},
        {"T:\\disc\\VM*.*", "VMab12cd vmZZ.TMP"},
        {"T:\\disc\\*.txt", "readme.txt"},
        {"T:\\disc\\*.", ". .. makefile Sub VMab12cd"},
        {"T:\\disc\\?????.idx", "Index.IDX"},
        {"T:\\disc\\README.TXT", "readme.txt"},  // no wildcard: the one name, as the host spells it
        {"T:\\disc\\sub", "Sub"},
        {"T:\\disc\\*.zip", "<error 2>"},
        {"T:\\nowhere\\*.*", "<error 3>"},
        {"T:\\disc\\", "<error 2>"},
        {"Q:\\*.*", "<error 3>"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Search(c.pattern), c.names) << c.pattern;
    // A drive's root has no "." and "..".
    EXPECT_EQ(Search("T:\\*"), "Disc");
    // Relative patterns use the current directory.
    ASSERT_TRUE(SetCurrentDirectory("T:\\disc\\sub"));
    EXPECT_EQ(Search("*.*"), ". .. inner.txt");
}

TEST_F(Find, EntriesCarryAttributesSizesAndTimes)
{
    ASSERT_TRUE(SetFileAttributes("T:\\disc\\readme.txt", FILE_ATTRIBUTE_READONLY));
    WIN32_FIND_DATA data;
    HANDLE search = FindFirstFile("T:\\disc\\vm*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_STREQ(data.cFileName, "VMab12cd");
    EXPECT_EQ(data.nFileSizeLow, 4u);
    EXPECT_EQ(data.nFileSizeHigh, 0u);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_NE(data.ftLastWriteTime.dwHighDateTime, 0u);
    // A find handle is closed with FindClose, not CloseHandle.
    EXPECT_FALSE(CloseHandle(search));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(FindClose(search));
    EXPECT_FALSE(FindClose(search));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(FindNextFile(search, &data));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    search = FindFirstFile("T:\\disc\\s*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_EQ(data.dwFileAttributes, static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    FindClose(search);
    search = FindFirstFile("T:\\disc\\readme.*", &data);
    ASSERT_NE(search, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    FindClose(search);
    // A file handle is not a find handle.
    HANDLE file = CreateFile("T:\\disc\\makefile", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    EXPECT_FALSE(FindNextFile(file, &data));
    EXPECT_FALSE(FindClose(file));
    EXPECT_TRUE(CloseHandle(file));
}
