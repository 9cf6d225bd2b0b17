#include "FilesTestSupport.h"

#include <io.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <set>

class CrtFiles : public TestDrive {};

TEST_F(CrtFiles, TextModeTranslatesLineEnds)
{
    int fd = _open("T:\\notes.txt", _O_CREAT | _O_WRONLY | _O_TEXT, _S_IREAD | _S_IWRITE);
    ASSERT_GE(fd, 3);
    EXPECT_EQ(_write(fd, "one\ntwo\n", 8), 8);
    EXPECT_EQ(_tell(fd), 10);
    ASSERT_EQ(_close(fd), 0);
    EXPECT_EQ(Read("notes.txt"), "one\r\ntwo\r\n");

    struct Case {
        const char* onDisk;
        const char* read;
    };
    const Case cases[] = {
        {"a\r\nb\r\n", "a\nb\n"},
        {"lone\rcr", "lone\rcr"},
        {"end\r", "end\r"},
        {"stop\x1Ahere", "stop"},  // Ctrl-Z ends the text
        {"\r\n\r\n", "\n\n"},
    };
    for (const Case& c : cases) {
        Write("in.txt", c.onDisk);
        fd = _open("T:\\IN.TXT", _O_RDONLY | _O_TEXT);
        ASSERT_GE(fd, 0);
        // Small reads cross the CR LF pairs.
        std::string text;
        char buffer[2];
        int got = 0;
        while ((got = _read(fd, buffer, sizeof buffer)) > 0)
            text.append(buffer, static_cast<std::size_t>(got));
        EXPECT_EQ(got, 0) << c.onDisk;
        EXPECT_EQ(text, c.read) << c.onDisk;
        _close(fd);
    }
    // In binary mode the bytes pass unchanged.
    Write("in.txt", "a\r\nb\x1A");
    fd = _open("T:\\in.txt", _O_RDONLY | _O_BINARY);
    char buffer[16];
    EXPECT_EQ(_read(fd, buffer, sizeof buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "a\r\nb\x1A");
    EXPECT_EQ(_setmode(fd, _O_TEXT), _O_BINARY);
    _close(fd);
}

TEST_F(CrtFiles, SeekTellLengthAndAppend)
{
    int fd = _open("T:\\data.bin", _O_CREAT | _O_RDWR | _O_BINARY, _S_IREAD | _S_IWRITE);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(_write(fd, "0123456789", 10), 10);
    EXPECT_EQ(_lseek(fd, 2, SEEK_SET), 2);
    EXPECT_EQ(_lseek(fd, 3, SEEK_CUR), 5);
    EXPECT_EQ(_lseek(fd, -1, SEEK_END), 9);
    EXPECT_EQ(_eof(fd), 0);
    char c = 0;
    EXPECT_EQ(_read(fd, &c, 1), 1);
    EXPECT_EQ(c, '9');
    EXPECT_EQ(_eof(fd), 1);
    EXPECT_EQ(_lseek(fd, -20, SEEK_SET), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(_filelength(fd), 10);
    EXPECT_EQ(_chsize(fd, 4), 0);
    EXPECT_EQ(_filelength(fd), 4);
    EXPECT_EQ(_tell(fd), 10);  // the pointer stays where it was
    EXPECT_EQ(_close(fd), 0);
    EXPECT_EQ(_close(fd), -1);
    EXPECT_EQ(errno, EBADF);

    fd = _open("T:\\data.bin", _O_WRONLY | _O_APPEND | _O_BINARY);
    _lseek(fd, 0, SEEK_SET);
    EXPECT_EQ(_write(fd, "AB", 2), 2);
    _close(fd);
    EXPECT_EQ(Read("data.bin"), "0123AB");
}

TEST_F(CrtFiles, ErrorsAreReportedThroughErrno)
{
    Write("exists.txt", "x");
    Write("ro.txt", "r");
    ASSERT_EQ(_chmod("T:\\ro.txt", _S_IREAD), 0);
    struct Case {
        const char* what;
        int result;
        int error;
    };
    auto attempt = [](int result) { return Case{"", result, result == -1 ? errno : 0}; };
    struct Named {
        const char* what;
        Case outcome;
        int error;
    };
    const Named cases[] = {
        {"open missing", attempt(_open("T:\\missing.txt", _O_RDONLY)), ENOENT},
        {"open in missing folder", attempt(_open("T:\\no\\x.txt", _O_RDONLY)), ENOENT},
        {"exclusive create of existing", attempt(_open("T:\\exists.txt", _O_CREAT | _O_EXCL | _O_WRONLY, _S_IWRITE)), EEXIST},
        {"write open of read-only", attempt(_open("T:\\ro.txt", _O_WRONLY)), EACCES},
        {"bad open flags", attempt(_open("T:\\exists.txt", 3)), EINVAL},
        {"unlink missing", attempt(_unlink("T:\\missing.txt")), ENOENT},
        {"unlink read-only", attempt(_unlink("T:\\ro.txt")), EACCES},
        {"access missing", attempt(_access("T:\\missing.txt", 0)), ENOENT},
        {"write access to read-only", attempt(_access("T:\\ro.txt", 2)), EACCES},
        {"bad access mode", attempt(_access("T:\\exists.txt", 1)), EINVAL},
        {"read bad descriptor", attempt(_read(999, nullptr, 0)), EBADF},
        {"seek bad descriptor", attempt(static_cast<int>(_lseek(42, 0, SEEK_SET))), EBADF},
    };
    for (const Named& c : cases) {
        EXPECT_EQ(c.outcome.result, -1) << c.what;
        EXPECT_EQ(c.outcome.error, c.error) << c.what;
    }
    // A transfer without a buffer is refused on an open descriptor; a closed one is gone.
    int open = _open("T:\\exists.txt", _O_RDONLY);
    ASSERT_GE(open, 0);
    errno = 0;
    EXPECT_EQ(_read(open, nullptr, 4), -1);
    EXPECT_EQ(errno, EINVAL);
    errno = 0;
    EXPECT_EQ(_write(open, nullptr, 4), -1);
    EXPECT_EQ(errno, EINVAL);
    EXPECT_EQ(_close(open), 0);
    for (int (*call)(int) : {+[](int fd) { return _close(fd); }, +[](int fd) { return _setmode(fd, _O_TEXT); },
                             +[](int fd) { return _write(fd, "x", 1); }}) {
        errno = 0;
        EXPECT_EQ(call(open), -1);
        EXPECT_EQ(errno, EBADF);
    }
    EXPECT_EQ(_access("T:\\ro.txt", 4), 0);
    EXPECT_EQ(_access("T:\\exists.txt", 6), 0);
    ASSERT_EQ(_chmod("T:\\ro.txt", _S_IREAD | _S_IWRITE), 0);
    EXPECT_EQ(_unlink("T:\\RO.TXT"), 0);

    // Deny modes of _sopen meet the platform's share checks.
    int first = _sopen("T:\\exists.txt", _O_RDONLY, _SH_DENYWR);
    ASSERT_GE(first, 0);
    EXPECT_EQ(_sopen("T:\\exists.txt", _O_WRONLY, _SH_DENYNO), -1);
    EXPECT_EQ(errno, EACCES);
    int second = _sopen("T:\\exists.txt", _O_RDONLY, _SH_DENYNO);
    EXPECT_GE(second, 0);
    _close(second);
    _close(first);
}

TEST_F(CrtFiles, CreatingWithoutWritePermissionMakesAReadOnlyFile)
{
    int fd = _open("T:\\made.txt", _O_CREAT | _O_WRONLY | _O_BINARY, _S_IREAD);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(_write(fd, "kept", 4), 4);  // this descriptor still writes
    _close(fd);
    EXPECT_EQ(Read("made.txt"), "kept");
    EXPECT_TRUE(GetFileAttributes("T:\\made.txt") & FILE_ATTRIBUTE_READONLY);

    fd = _open("T:\\temp.tmp", _O_CREAT | _O_RDWR | _O_TEMPORARY, _S_IREAD | _S_IWRITE);
    ASSERT_GE(fd, 0);
    EXPECT_TRUE(std::filesystem::exists(Host("temp.tmp")));
    _close(fd);
    EXPECT_FALSE(std::filesystem::exists(Host("temp.tmp")));
}

TEST_F(CrtFiles, MktempGivesEveryNameOnce)
{
    std::set<std::string> names;
    for (int i = 0; i < 2000; ++i) {
        char name[] = "T:\\vmXXXXXX";
        ASSERT_EQ(_mktemp(name), name);
        std::string text = name;
        EXPECT_EQ(text.find('X', 3), std::string::npos);
        EXPECT_TRUE(names.insert(text).second) << text;
    }
    // A name taken on disk is never returned.
    char first[] = "T:\\vmXXXXXX";
    ASSERT_TRUE(_mktemp(first));
    struct Case {
        const char* nameTemplate;
        bool valid;
    };
    const Case templates[] = {
        {"T:\\fileXXXXXX", true}, {"XXXXXX", true}, {"T:\\fileXXXXX", false}, {"T:\\XXXXXXfile", false}, {"", false},
    };
    for (const Case& c : templates) {
        char buffer[32];
        std::strcpy(buffer, c.nameTemplate);
        EXPECT_EQ(_mktemp(buffer) != nullptr, c.valid) << c.nameTemplate;
        if (!c.valid) {
            EXPECT_EQ(errno, EINVAL);
            EXPECT_STREQ(buffer, c.nameTemplate);
        }
    }
    EXPECT_EQ(_mktemp(nullptr), nullptr);
    char sized[] = "T:\\sXXXXXX";
    EXPECT_EQ(_mktemp_s(sized, sizeof sized), 0);
    EXPECT_EQ(_mktemp_s(sized, 3), EINVAL);

    // The creating form makes the file in the same step, each time a new one.
    std::set<std::string> made;
    for (int i = 0; i < 20; ++i) {
        char name[] = "T:\\tmpXXXXXX";
        int fd = host::OpenUniqueFile(name);
        ASSERT_GE(fd, 0);
        EXPECT_EQ(_write(fd, "z", 1), 1);
        _close(fd);
        EXPECT_TRUE(made.insert(name).second);
        EXPECT_EQ(GetFileAttributes(name) & FILE_ATTRIBUTE_DIRECTORY, 0u);
    }
}

TEST_F(CrtFiles, StatDescribesFilesAndFolders)
{
    Write("Prog.EXE", "12345");
    Write("ro.dat", "r");
    ASSERT_TRUE(SetFileAttributes("T:\\ro.dat", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CreateDirectory("T:\\folder", nullptr));
    HANDLE file = CreateFile("T:\\prog.exe", GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    FILETIME y2k = {0x256D4000u, 0x01BF53EBu};  // 1 January 2000 UTC
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &y2k));
    CloseHandle(file);
    struct Case {
        const char* path;
        unsigned short mode;
        long size;
    };
    const Case cases[] = {
        {"T:\\prog.exe", _S_IFREG | _S_IREAD | _S_IWRITE | _S_IEXEC, 5},
        {"T:\\ro.dat", _S_IFREG | _S_IREAD, 1},
        {"T:\\FOLDER", _S_IFDIR | _S_IREAD | _S_IWRITE | _S_IEXEC, 0},
    };
    for (const Case& c : cases) {
        struct _stat st;
        ASSERT_EQ(_stat(c.path, &st), 0) << c.path;
        EXPECT_EQ(st.st_size, c.size) << c.path;
        EXPECT_EQ(st.st_dev, 19u) << c.path;  // T:
        EXPECT_EQ(st.st_mode & _S_IFMT, c.mode & _S_IFMT) << c.path;
        EXPECT_EQ((st.st_mode & _S_IWRITE) != 0, (c.mode & _S_IWRITE) != 0) << c.path;
        EXPECT_EQ((st.st_mode & _S_IEXEC) != 0, (c.mode & _S_IEXEC) != 0) << c.path;
    }
    struct _stat st;
    ASSERT_EQ(_stat("T:\\prog.exe", &st), 0);
    EXPECT_EQ(st.st_mtime, 946684800);
    EXPECT_EQ(_stat("T:\\missing", &st), -1);
    EXPECT_EQ(errno, ENOENT);

    // The status of an open descriptor, also after its name is gone.
    int fd = _open("T:\\gone.tmp", _O_CREAT | _O_RDWR | _O_BINARY | _O_TEMPORARY, _S_IREAD | _S_IWRITE);
    ASSERT_GE(fd, 0);
    EXPECT_EQ(_write(fd, "abc", 3), 3);
    ASSERT_EQ(_fstat(fd, &st), 0);
    EXPECT_EQ(st.st_size, 3);
    EXPECT_EQ(st.st_mode & _S_IFMT, _S_IFREG);
    _close(fd);
    EXPECT_EQ(_fstat(fd, &st), -1);
    EXPECT_EQ(errno, EBADF);
}
