#include "FilesTestSupport.h"

#include <host/KernelObject.h>

#include <atomic>
#include <chrono>
#include <cstring>
#include <functional>
#include <thread>

namespace {

HANDLE Open(const char* path, DWORD access, DWORD share, DWORD disposition = OPEN_EXISTING, DWORD flags = 0)
{
    return CreateFile(path, access, share, nullptr, disposition, flags, nullptr);
}

}  // namespace

class Files : public TestDrive {};

TEST_F(Files, CreationDispositions)
{
    struct Case {
        const char* name;
        DWORD disposition;
        bool exists;
        bool opens;
        DWORD error;             // last error afterwards (also on success)
        const char* contents;    // afterwards
    };
    const Case cases[] = {
        {"new1", CREATE_NEW, false, true, NO_ERROR, ""},
        {"new2", CREATE_NEW, true, false, ERROR_FILE_EXISTS, "old"},
        {"always1", CREATE_ALWAYS, false, true, NO_ERROR, ""},
        {"always2", CREATE_ALWAYS, true, true, ERROR_ALREADY_EXISTS, ""},
        {"open1", OPEN_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"open2", OPEN_EXISTING, true, true, NO_ERROR, "old"},
        {"openal1", OPEN_ALWAYS, false, true, NO_ERROR, ""},
        {"openal2", OPEN_ALWAYS, true, true, ERROR_ALREADY_EXISTS, "old"},
        {"trunc1", TRUNCATE_EXISTING, false, false, ERROR_FILE_NOT_FOUND, nullptr},
        {"trunc2", TRUNCATE_EXISTING, true, true, NO_ERROR, ""},
        {"bad", 9, true, false, ERROR_INVALID_PARAMETER, "old"},
    };
    for (const Case& c : cases) {
        if (c.exists)
            Write(c.name, "old");
        SetLastError(12345);
        HANDLE file = Open((std::string("T:\\") + c.name).c_str(), GENERIC_READ | GENERIC_WRITE, 0, c.disposition);
        EXPECT_EQ(file != INVALID_HANDLE_VALUE, c.opens) << c.name;
        EXPECT_EQ(GetLastError(), c.error) << c.name;
        if (file != INVALID_HANDLE_VALUE) {
            EXPECT_TRUE(CloseHandle(file));
        }
        if (c.contents)
            EXPECT_EQ(Read(c.name), c.contents) << c.name;
        else
            EXPECT_FALSE(std::filesystem::exists(Host(c.name))) << c.name;
    }
    // Failures of the path itself.
    struct Failure {
        const char* path;
        DWORD error;
    };
    const Failure failures[] = {
        {"T:\\missing\\file", ERROR_PATH_NOT_FOUND},
        {"Q:\\file", ERROR_PATH_NOT_FOUND},
        {"", ERROR_PATH_NOT_FOUND},
        {"T:\\bad*name", ERROR_INVALID_NAME},
        {"T:\\bad|name", ERROR_INVALID_NAME},
        {"T:\\", ERROR_ACCESS_DENIED},
        {"T:\\open2\\", ERROR_INVALID_NAME},
    };
    for (const Failure& f : failures) {
        EXPECT_EQ(Open(f.path, GENERIC_WRITE, 0, CREATE_ALWAYS), INVALID_HANDLE_VALUE) << f.path;
        EXPECT_EQ(GetLastError(), f.error) << f.path;
    }
    // TRUNCATE_EXISTING needs write access; a folder is not opened as a file.
    EXPECT_EQ(Open("T:\\open2", GENERIC_READ, 0, TRUNCATE_EXISTING), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    ASSERT_TRUE(CreateDirectory("T:\\folder", nullptr));
    EXPECT_EQ(Open("T:\\folder", GENERIC_READ, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    HANDLE folder = Open("T:\\folder", GENERIC_READ, FILE_SHARE_READ, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS);
    ASSERT_NE(folder, INVALID_HANDLE_VALUE);
    CloseHandle(folder);
}

TEST_F(Files, ReadWriteSeekAndSize)
{
    HANDLE file = Open("T:\\data.bin", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    ASSERT_TRUE(WriteFile(file, "0123456789", 10, &done, nullptr));
    EXPECT_EQ(done, 10u);
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 10u);
    EXPECT_EQ(SetFilePointer(file, -4, nullptr, FILE_END), 6u);
    char buffer[16] = {};
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(std::string(buffer, done), "6789");
    // At the end a read succeeds with nothing.
    ASSERT_TRUE(ReadFile(file, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(done, 0u);
    // Before the start is an error, and the pointer stays.
    EXPECT_EQ(SetFilePointer(file, -20, nullptr, FILE_CURRENT), INVALID_SET_FILE_POINTER);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_NEGATIVE_SEEK));
    EXPECT_EQ(SetFilePointer(file, 0, nullptr, FILE_CURRENT), 10u);

    SetFilePointer(file, 4, nullptr, FILE_BEGIN);
    ASSERT_TRUE(SetEndOfFile(file));
    DWORD high = 99;
    EXPECT_EQ(GetFileSize(file, &high), 4u);
    EXPECT_EQ(high, 0u);

    // Positions past 4 GB go through the high part (the file stays sparse on the host).
    LONG moveHigh = 1;
    EXPECT_EQ(SetFilePointer(file, 16, &moveHigh, FILE_BEGIN), 16u);
    EXPECT_EQ(moveHigh, 1);
    ASSERT_TRUE(WriteFile(file, "x", 1, &done, nullptr));
    EXPECT_EQ(GetFileSize(file, &high), 17u);
    EXPECT_EQ(high, 1u);
    LARGE_INTEGER size;
    ASSERT_TRUE(GetFileSizeEx(file, &size));
    EXPECT_EQ(size.QuadPart, (1ll << 32) + 17);
    LARGE_INTEGER distance;
    distance.QuadPart = 2;
    LARGE_INTEGER position;
    ASSERT_TRUE(SetFilePointerEx(file, distance, &position, FILE_BEGIN));
    EXPECT_EQ(position.QuadPart, 2);
    ASSERT_TRUE(SetEndOfFile(file));
    EXPECT_TRUE(FlushFileBuffers(file));
    EXPECT_EQ(GetFileType(file), static_cast<DWORD>(FILE_TYPE_DISK));
    ASSERT_TRUE(CloseHandle(file));
    EXPECT_EQ(Read("data.bin"), "01");
}

TEST_F(Files, HandlesOnlyDoWhatTheirAccessAllows)
{
    Write("file", "abc");
    HANDLE reader = Open("T:\\FILE", GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(reader, INVALID_HANDLE_VALUE);
    DWORD done = 7;
    EXPECT_FALSE(WriteFile(reader, "x", 1, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_EQ(done, 0u);
    EXPECT_FALSE(SetEndOfFile(reader));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(reader);

    HANDLE appender = Open("T:\\file", FILE_APPEND_DATA, 0);
    ASSERT_NE(appender, INVALID_HANDLE_VALUE);
    SetFilePointer(appender, 0, nullptr, FILE_BEGIN);
    ASSERT_TRUE(WriteFile(appender, "de", 2, &done, nullptr));
    char buffer[4];
    EXPECT_FALSE(ReadFile(appender, buffer, sizeof buffer, &done, nullptr));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    CloseHandle(appender);
    EXPECT_EQ(Read("file"), "abcde");
}

TEST_F(Files, ShareModesAcrossHandles)
{
    Write("shared.dat", "data");
    const DWORD R = GENERIC_READ;
    const DWORD W = GENERIC_WRITE;
    const DWORD SR = FILE_SHARE_READ;
    const DWORD SW = FILE_SHARE_WRITE;
    struct Case {
        DWORD firstAccess, firstShare, secondAccess, secondShare;
        bool secondOpens;
    };
    const Case cases[] = {
        {R, SR, R, SR, true},
        {R, SR, W, SR | SW, false},   // the first does not let others write
        {R, SR | SW, W, SR | SW, true},
        {R, SR | SW, W, SW, false},   // the second would keep the first from reading
        {W, 0, R, SR | SW, false},    // exclusive
        {W, SR, R, SR | SW, true},
        {W, SR, R, SR, false},        // the second does not let the first write
        {0, 0, R, SR, true},          // a handle without data access conflicts with nothing
        {R | W, SR | SW, R | W, SR | SW, true},
    };
    for (const Case& c : cases) {
        HANDLE first = Open("T:\\shared.dat", c.firstAccess, c.firstShare);
        ASSERT_NE(first, INVALID_HANDLE_VALUE);
        SetLastError(0);
        HANDLE second = Open("T:\\SHARED.DAT", c.secondAccess, c.secondShare);
        EXPECT_EQ(second != INVALID_HANDLE_VALUE, c.secondOpens)
            << c.firstAccess << "/" << c.firstShare << " then " << c.secondAccess << "/" << c.secondShare;
        if (second == INVALID_HANDLE_VALUE)
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
        else
            CloseHandle(second);
        CloseHandle(first);
    }
    // An open file cannot be deleted, renamed or overwritten unless it was opened for that.
    HANDLE held = Open("T:\\shared.dat", R, SR);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(DeleteFile("T:\\shared.dat"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    EXPECT_FALSE(MoveFile("T:\\shared.dat", "T:\\moved.dat"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    Write("other.dat", "other");
    EXPECT_FALSE(CopyFile("T:\\other.dat", "T:\\shared.dat", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    CloseHandle(held);
    HANDLE deletable = Open("T:\\shared.dat", R, SR | FILE_SHARE_DELETE);
    EXPECT_TRUE(DeleteFile("T:\\shared.dat"));
    CloseHandle(deletable);
    EXPECT_FALSE(std::filesystem::exists(Host("shared.dat")));
}

TEST_F(Files, DuplicatedHandlesShareTheFilePointer)
{
    Write("dup.txt", "abcdef");
    HANDLE file = Open("T:\\dup.txt", GENERIC_READ, FILE_SHARE_READ);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    const HANDLE self = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
    HANDLE copy = nullptr;
    ASSERT_TRUE(DuplicateHandle(self, file, self, &copy, 0, FALSE, DUPLICATE_SAME_ACCESS));
    char buffer[3] = {};
    DWORD got = 0;
    ASSERT_TRUE(ReadFile(file, buffer, 2, &got, nullptr));
    ASSERT_TRUE(ReadFile(copy, buffer, 2, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "cd");
    EXPECT_TRUE(CloseHandle(file));
    // The file stays open through the copy, and its share mode still counts.
    EXPECT_EQ(Open("T:\\dup.txt", GENERIC_WRITE, FILE_SHARE_READ), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_SHARING_VIOLATION));
    HANDLE moved = nullptr;
    ASSERT_TRUE(DuplicateHandle(self, copy, self, &moved, 0, FALSE, DUPLICATE_CLOSE_SOURCE));
    EXPECT_FALSE(CloseHandle(copy));
    EXPECT_TRUE(ReadFile(moved, buffer, 2, &got, nullptr));
    EXPECT_EQ(std::string(buffer, got), "ef");
    EXPECT_TRUE(CloseHandle(moved));
    HANDLE writer = Open("T:\\dup.txt", GENERIC_WRITE, FILE_SHARE_READ);
    EXPECT_NE(writer, INVALID_HANDLE_VALUE);
    CloseHandle(writer);
    EXPECT_FALSE(DuplicateHandle(self, file, self, &copy, 0, FALSE, 0));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
}

TEST_F(Files, DeleteOnCloseWaitsForTheLastHandle)
{
    HANDLE first = Open("T:\\scratch", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, CREATE_NEW,
                        FILE_FLAG_DELETE_ON_CLOSE);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = Open("T:\\scratch", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
    ASSERT_NE(second, INVALID_HANDLE_VALUE);
    CloseHandle(first);
    EXPECT_TRUE(std::filesystem::exists(Host("scratch")));
    CloseHandle(second);
    EXPECT_FALSE(std::filesystem::exists(Host("scratch")));
}

TEST_F(Files, ErrorCodesOfNameOperations)
{
    Write("file.txt", "text");
    Write("full/inner.txt", "x");
    ASSERT_TRUE(CreateDirectory("T:\\empty", nullptr));
    struct Case {
        const char* what;
        std::function<BOOL()> call;
        DWORD error;
    };
    const Case cases[] = {
        {"delete missing", [] { return DeleteFile("T:\\nothing.txt"); }, ERROR_FILE_NOT_FOUND},
        {"delete in missing folder", [] { return DeleteFile("T:\\nowhere\\x.txt"); }, ERROR_PATH_NOT_FOUND},
        {"delete folder", [] { return DeleteFile("T:\\empty"); }, ERROR_ACCESS_DENIED},
        {"create existing folder", [] { return CreateDirectory("T:\\EMPTY", nullptr); }, ERROR_ALREADY_EXISTS},
        {"create over file", [] { return CreateDirectory("T:\\file.txt", nullptr); }, ERROR_ALREADY_EXISTS},
        {"create in missing folder", [] { return CreateDirectory("T:\\a\\b", nullptr); }, ERROR_PATH_NOT_FOUND},
        {"remove non-empty", [] { return RemoveDirectory("T:\\full"); }, ERROR_DIR_NOT_EMPTY},
        {"remove a file", [] { return RemoveDirectory("T:\\file.txt"); }, ERROR_DIRECTORY},
        {"remove missing", [] { return RemoveDirectory("T:\\gone"); }, ERROR_FILE_NOT_FOUND},
        {"move onto existing", [] { return MoveFile("T:\\file.txt", "T:\\full\\inner.txt"); }, ERROR_ALREADY_EXISTS},
        {"move missing", [] { return MoveFile("T:\\gone.txt", "T:\\x.txt"); }, ERROR_FILE_NOT_FOUND},
        {"move into missing folder", [] { return MoveFile("T:\\file.txt", "T:\\gone\\x.txt"); }, ERROR_PATH_NOT_FOUND},
        {"move across drives", [] { return MoveFileEx("T:\\file.txt", "C:\\x.txt", 0); }, ERROR_NOT_SAME_DEVICE},
        {"copy onto existing", [] { return CopyFile("T:\\file.txt", "T:\\full\\inner.txt", TRUE); }, ERROR_FILE_EXISTS},
        {"copy missing", [] { return CopyFile("T:\\gone.txt", "T:\\x.txt", FALSE); }, ERROR_FILE_NOT_FOUND},
        {"copy a folder", [] { return CopyFile("T:\\full", "T:\\x", FALSE); }, ERROR_ACCESS_DENIED},
        {"close unknown handle", [] { return CloseHandle(reinterpret_cast<HANDLE>(0x12344)); }, ERROR_INVALID_HANDLE},
        {"attributes of missing", [] { return static_cast<BOOL>(GetFileAttributes("T:\\gone") != INVALID_FILE_ATTRIBUTES); },
         ERROR_FILE_NOT_FOUND},
        {"attributes in missing", [] { return static_cast<BOOL>(GetFileAttributes("T:\\gone\\x") != INVALID_FILE_ATTRIBUTES); },
         ERROR_PATH_NOT_FOUND},
        {"unmapped drive", [] { return DeleteFile("Q:\\x"); }, ERROR_PATH_NOT_FOUND},
    };
    for (const Case& c : cases) {
        SetLastError(0);
        EXPECT_FALSE(c.call()) << c.what;
        EXPECT_EQ(GetLastError(), c.error) << c.what;
    }
    // Nothing was changed by the failures.
    EXPECT_EQ(Read("file.txt"), "text");
    EXPECT_EQ(Read("full/inner.txt"), "x");
}

TEST_F(Files, MoveAndCopy)
{
    Write("Old.txt", "moved");
    // A change of case only renames the file.
    ASSERT_TRUE(MoveFile("T:\\old.txt", "T:\\OLD.TXT"));
    EXPECT_TRUE(std::filesystem::exists(Host("OLD.TXT")));
    EXPECT_FALSE(std::filesystem::exists(Host("Old.txt")));
    ASSERT_TRUE(CreateDirectory("T:\\dest", nullptr));
    ASSERT_TRUE(MoveFile("T:\\old.txt", "T:\\DEST\\new.txt"));
    EXPECT_EQ(Read("dest/new.txt"), "moved");

    Write("other.txt", "other");
    EXPECT_FALSE(MoveFileEx("T:\\other.txt", "T:\\dest\\new.txt", 0));
    ASSERT_TRUE(MoveFileEx("T:\\other.txt", "T:\\dest\\new.txt", MOVEFILE_REPLACE_EXISTING));
    EXPECT_EQ(Read("dest/new.txt"), "other");

    // A copy keeps the bytes and the read-only attribute; the copy may replace a file.
    ASSERT_TRUE(SetFileAttributes("T:\\dest\\new.txt", FILE_ATTRIBUTE_READONLY));
    ASSERT_TRUE(CopyFile("T:\\dest\\new.txt", "T:\\copy.txt", TRUE));
    EXPECT_EQ(Read("copy.txt"), "other");
    EXPECT_TRUE(GetFileAttributes("T:\\copy.txt") & FILE_ATTRIBUTE_READONLY);
    Write("plain.txt", "plain");
    ASSERT_TRUE(CopyFile("T:\\plain.txt", "T:\\dest\\second.txt", FALSE));
    ASSERT_TRUE(CopyFile("T:\\copy.txt", "T:\\dest\\second.txt", FALSE));
    EXPECT_EQ(Read("dest/second.txt"), "other");
    // ... but not a read-only one.
    EXPECT_FALSE(CopyFile("T:\\plain.txt", "T:\\copy.txt", FALSE));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // Folders move on the same drive.
    ASSERT_TRUE(MoveFile("T:\\dest", "T:\\renamed"));
    EXPECT_EQ(Read("renamed/new.txt"), "other");
}

TEST_F(Files, AttributesMapOntoTheHost)
{
    Write("plain.txt", "p");
    Write(".hidden", "h");
    ASSERT_TRUE(CreateDirectory("T:\\Folder", nullptr));
    EXPECT_EQ(GetFileAttributes("T:\\plain.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE));
    EXPECT_EQ(GetFileAttributes("T:\\.HIDDEN"), static_cast<DWORD>(FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_HIDDEN));
    EXPECT_EQ(GetFileAttributes("T:\\folder"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));
    EXPECT_EQ(GetFileAttributes("T:\\"), static_cast<DWORD>(FILE_ATTRIBUTE_DIRECTORY));

    // Read-only is the host's write permission.
    ASSERT_TRUE(SetFileAttributes("T:\\plain.txt", FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(std::filesystem::status(Host("plain.txt")).permissions() & std::filesystem::perms::owner_write,
              std::filesystem::perms::none);
    EXPECT_EQ(GetFileAttributes("T:\\plain.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_READONLY));
    EXPECT_EQ(Open("T:\\plain.txt", GENERIC_WRITE, 0), INVALID_HANDLE_VALUE);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));
    EXPECT_FALSE(DeleteFile("T:\\plain.txt"));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_ACCESS_DENIED));

    // Hidden and system are kept for the file; clearing read-only gives write permission back.
    ASSERT_TRUE(SetFileAttributes("T:\\plain.txt", FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    EXPECT_EQ(GetFileAttributes("T:\\plain.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(SetFileAttributes("T:\\plain.txt", FILE_ATTRIBUTE_NORMAL));
    EXPECT_EQ(GetFileAttributes("T:\\plain.txt"), static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL));
    EXPECT_TRUE(DeleteFile("T:\\plain.txt"));

    // A file created read-only is still written through the handle that created it.
    HANDLE file = Open("T:\\ro.txt", GENERIC_WRITE, 0, CREATE_NEW, FILE_ATTRIBUTE_READONLY);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD done = 0;
    EXPECT_TRUE(WriteFile(file, "ro", 2, &done, nullptr));
    CloseHandle(file);
    EXPECT_TRUE(GetFileAttributes("T:\\ro.txt") & FILE_ATTRIBUTE_READONLY);
    EXPECT_EQ(Read("ro.txt"), "ro");

    WIN32_FILE_ATTRIBUTE_DATA data;
    ASSERT_TRUE(GetFileAttributesEx("T:\\RO.TXT", GetFileExInfoStandard, &data));
    EXPECT_EQ(data.nFileSizeLow, 2u);
    EXPECT_TRUE(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
}

TEST_F(Files, FileTimesRoundTrip)
{
    HANDLE file = Open("T:\\timed", GENERIC_READ | GENERIC_WRITE, 0, CREATE_NEW);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    // 1 January 2000 00:00:00 UTC.
    FILETIME written;
    ULONGLONG ticks = 125911584000000000ull;
    written.dwLowDateTime = static_cast<DWORD>(ticks);
    written.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    ASSERT_TRUE(SetFileTime(file, nullptr, nullptr, &written));
    FILETIME readBack;
    ASSERT_TRUE(GetFileTime(file, nullptr, nullptr, &readBack));
    EXPECT_EQ(readBack.dwLowDateTime, written.dwLowDateTime);
    EXPECT_EQ(readBack.dwHighDateTime, written.dwHighDateTime);
    CloseHandle(file);
    struct stat st;
    ASSERT_EQ(stat(Host("timed").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtime, 946684800);
}

namespace {

class Counted : public host::KernelObject {
public:
    explicit Counted(std::atomic<int>& alive) : m_alive(alive) { ++m_alive; }
    ~Counted() override { --m_alive; }

private:
    std::atomic<int>& m_alive;
};

}  // namespace

TEST(KernelHandles, LiveUntilTheLastHandleIsClosed)
{
    std::atomic<int> alive{0};
    HANDLE first = host::AddKernelObject(std::make_shared<Counted>(alive));
    ASSERT_NE(first, nullptr);
    ASSERT_NE(first, INVALID_HANDLE_VALUE);
    HANDLE second = host::DuplicateKernelHandle(first);
    ASSERT_NE(second, first);
    EXPECT_TRUE(host::FindKernelObject<Counted>(second));
    EXPECT_FALSE(host::FindKernelObject<Counted>(reinterpret_cast<HANDLE>(0x4)));
    EXPECT_TRUE(CloseHandle(first));
    EXPECT_EQ(alive, 1);
    EXPECT_FALSE(CloseHandle(first));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_TRUE(CloseHandle(second));
    EXPECT_EQ(alive, 0);
    EXPECT_FALSE(CloseHandle(nullptr));
    EXPECT_FALSE(CloseHandle(INVALID_HANDLE_VALUE));
}

TEST(KernelHandles, ManyThreadsAddAndClose)
{
    std::atomic<int> alive{0};
    std::atomic<int> failures{0};
    std::vector<std::thread> threads;
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([&] {
            for (int i = 0; i < 500; ++i) {
                HANDLE h = host::AddKernelObject(std::make_shared<Counted>(alive));
                auto object = host::FindKernelObject<Counted>(h);
                if (!object || !host::CloseKernelHandle(h) || host::CloseKernelHandle(h))
                    ++failures;
            }
        });
    }
    for (auto& thread : threads)
        thread.join();
    EXPECT_EQ(failures, 0);
    EXPECT_EQ(alive, 0);
}

// Names are matched without regard to case through a cache of folder entries: what other
// programs do in the folder behind the platform's back must still be found, and what the platform
// does itself is seen at once.
TEST_F(Files, NamesInAnotherCaseFollowTheFolderBehindTheCache)
{
    auto opens = [](const char* name) {
        HANDLE h = CreateFile(name, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
        if (h == INVALID_HANDLE_VALUE)
            return false;
        CloseHandle(h);
        return true;
    };
    Write("Data/VL.DAT", "archive");
    EXPECT_TRUE(opens("T:\\data\\vl.dat"));
    EXPECT_FALSE(opens("T:\\data\\other.txt"));
    // Made behind the platform's back after the folder was read.
    Write("Data/Other.TXT", "x");
    EXPECT_TRUE(opens("T:\\DATA\\other.txt"));
    // Replaced behind its back by a name in yet another case.
    std::filesystem::remove(Host("Data/VL.DAT"));
    Write("Data/vl.Dat", "archive");
    EXPECT_TRUE(opens("T:\\data\\VL.DAT"));
    std::filesystem::remove(Host("Data/vl.Dat"));
    EXPECT_FALSE(opens("T:\\data\\VL.DAT"));
    // The platform's own rename and delete.
    ASSERT_TRUE(MoveFile("T:\\data\\OTHER.txt", "T:\\data\\Moved.Txt"));
    EXPECT_FALSE(opens("T:\\data\\other.txt"));
    EXPECT_TRUE(opens("T:\\data\\MOVED.TXT"));
    EXPECT_TRUE(std::filesystem::exists(Host("Data/Moved.Txt")));
    ASSERT_TRUE(DeleteFile("T:\\DATA\\moved.txt"));
    EXPECT_FALSE(opens("T:\\data\\Moved.Txt"));
    // A folder unchanged for a while answers for the names it lacks from its listing, until
    // another program changes it.
    Write("Old/A.TXT", "a");
    std::filesystem::last_write_time(Host("Old"), std::filesystem::file_time_type::clock::now() - std::chrono::hours(1));
    EXPECT_FALSE(opens("T:\\old\\b.txt"));
    EXPECT_FALSE(opens("T:\\OLD\\B.TXT"));
    Write("Old/B.txt", "b");
    EXPECT_TRUE(opens("T:\\old\\b.TXT"));
    EXPECT_TRUE(opens("T:\\OLD\\a.txt"));
}
