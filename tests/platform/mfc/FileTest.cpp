#include <afx.h>

#include "../win32/FilesTestSupport.h"

#include <host/Clock.h>
#include <host/TimeZone.h>

#include <cstring>
#include <functional>
#include <string>

namespace {

// Runs f and returns the CFileException it throws (cause, OS error), deleting it; fails the
// test when nothing or something else is thrown.
struct Thrown {
    bool thrown = false;
    int cause = -1;
    LONG lOsError = 0;
    std::string fileName;
};
Thrown CatchFileException(const std::function<void()>& f)
{
    Thrown result;
    try {
        f();
    } catch (CFileException* e) {
        result.thrown = true;
        result.cause = e->m_cause;
        result.lOsError = e->m_lOsError;
        result.fileName = static_cast<LPCSTR>(e->m_strFileName);
        e->Delete();
    }
    return result;
}

}  // namespace

class File : public TestDrive {};

TEST_F(File, ReadWriteSeekAndLength)
{
    CFile file("T:\\Data\\..\\data.bin", CFile::modeCreate | CFile::modeReadWrite | CFile::typeBinary);
    EXPECT_EQ(file.GetFilePath(), CString("T:\\data.bin"));
    EXPECT_EQ(file.GetFileName(), CString("data.bin"));
    EXPECT_EQ(file.GetFileTitle(), CString("data"));
    file.Write("hello, world", 12);
    EXPECT_EQ(file.GetPosition(), 12u);
    EXPECT_EQ(file.GetLength(), 12u);
    EXPECT_EQ(file.Seek(-5, CFile::end), 7);
    char buf[16] = {};
    EXPECT_EQ(file.Read(buf, sizeof buf), 5u);  // fewer only at the end
    EXPECT_STREQ(buf, "world");
    EXPECT_EQ(file.Read(buf, sizeof buf), 0u);
    file.SeekToBegin();
    EXPECT_EQ(file.Seek(3, CFile::current), 3);
    EXPECT_EQ(file.SeekToEnd(), 12u);
    file.SetLength(5);
    EXPECT_EQ(file.GetLength(), 5u);
    EXPECT_EQ(file.GetPosition(), 5u);
    file.SetLength(8);  // extends with zeros
    file.Close();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
    EXPECT_EQ(Read("data.bin"), std::string("hello\0\0\0", 8));
}

TEST_F(File, CreateTruncatesUnlessNoTruncate)
{
    Write("keep.txt", "old contents");
    {
        CFile file("T:\\KEEP.TXT", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
        EXPECT_EQ(file.GetLength(), 12u);
        EXPECT_EQ(file.GetPosition(), 0u);
        file.Write("new", 3);
    }
    EXPECT_EQ(Read("keep.txt"), "new contents");
    {
        CFile file("T:\\keep.txt", CFile::modeCreate | CFile::modeWrite);
        EXPECT_EQ(file.GetLength(), 0u);
    }
    EXPECT_EQ(Read("keep.txt"), "");
    {
        // modeNoTruncate also creates a missing file.
        CFile file("T:\\fresh.txt", CFile::modeCreate | CFile::modeNoTruncate | CFile::modeWrite);
    }
    EXPECT_TRUE(std::filesystem::exists(Host("fresh.txt")));
}

TEST_F(File, OpenFailuresGiveCauseAndPlatformError)
{
    Write("exists.txt", "x");
    Write("locked.txt", "x");
    Write("ro.txt", "x");
    ASSERT_TRUE(SetFileAttributes("T:\\ro.txt", FILE_ATTRIBUTE_READONLY));
    CFile holder("T:\\locked.txt", CFile::modeRead | CFile::shareExclusive);

    struct Case {
        const char* path;
        UINT flags;
        int cause;
        LONG lOsError;
    } cases[] = {
        {"T:\\missing.txt", CFile::modeRead, CFileException::fileNotFound, ERROR_FILE_NOT_FOUND},
        {"T:\\nodir\\x.txt", CFile::modeRead, CFileException::badPath, ERROR_PATH_NOT_FOUND},
        {"T:\\nodir\\x.txt", CFile::modeCreate | CFile::modeWrite, CFileException::badPath, ERROR_PATH_NOT_FOUND},
        {"T:\\locked.txt", CFile::modeRead | CFile::shareDenyNone, CFileException::sharingViolation,
         ERROR_SHARING_VIOLATION},
        {"T:\\ro.txt", CFile::modeWrite, CFileException::accessDenied, ERROR_ACCESS_DENIED},
        {"T:\\ro.txt", CFile::modeCreate | CFile::modeWrite, CFileException::accessDenied, ERROR_ACCESS_DENIED},
    };
    for (const Case& c : cases) {
        CFile file;
        CFileException e;
        EXPECT_FALSE(file.Open(c.path, c.flags, &e)) << c.path;
        EXPECT_EQ(e.m_cause, c.cause) << c.path;
        EXPECT_EQ(e.m_lOsError, c.lOsError) << c.path;
        EXPECT_EQ(e.m_strFileName, CString(c.path));
        EXPECT_EQ(file.m_hFile, CFile::hFileNull);
        // The constructor throws the same.
        Thrown t = CatchFileException([&] { CFile thrower(c.path, c.flags); });
        EXPECT_TRUE(t.thrown) << c.path;
        EXPECT_EQ(t.cause, c.cause) << c.path;
        EXPECT_EQ(t.lOsError, c.lOsError) << c.path;
        EXPECT_EQ(t.fileName, c.path);
    }
    // Open without a CFileException just fails.
    CFile file;
    EXPECT_FALSE(file.Open("T:\\missing.txt", CFile::modeRead));
    SetFileAttributes("T:\\ro.txt", FILE_ATTRIBUTE_NORMAL);
}

TEST_F(File, ShareModes)
{
    Write("shared.txt", "abc");
    struct Case {
        UINT first;
        UINT second;
        bool opens;
    } cases[] = {
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeRead | CFile::shareDenyNone, true},
        {CFile::modeRead | CFile::shareDenyWrite, CFile::modeWrite | CFile::shareDenyNone, false},
        {CFile::modeRead | CFile::shareDenyRead, CFile::modeRead | CFile::shareDenyNone, false},
        {CFile::modeRead | CFile::shareDenyRead, CFile::modeWrite | CFile::shareDenyNone, true},
        {CFile::modeRead | CFile::shareDenyNone, CFile::modeReadWrite | CFile::shareDenyNone, true},
        {CFile::modeRead | CFile::shareDenyNone, CFile::modeRead | CFile::shareDenyWrite, true},
        {CFile::modeReadWrite | CFile::shareDenyNone, CFile::modeRead | CFile::shareDenyWrite, false},
        {CFile::modeRead | CFile::shareCompat, CFile::modeRead | CFile::shareDenyNone, false},
        {CFile::modeRead | CFile::shareExclusive, CFile::modeRead | CFile::shareDenyNone, false},
    };
    int i = 0;
    for (const Case& c : cases) {
        CFile first("T:\\shared.txt", c.first);
        CFile second;
        CFileException e;
        EXPECT_EQ(second.Open("T:\\shared.txt", c.second, &e) != FALSE, c.opens) << "case " << i;
        if (!c.opens) {
            EXPECT_EQ(e.m_cause, CFileException::sharingViolation) << "case " << i;
        }
        ++i;
    }
}

TEST_F(File, ErrorsOnAnOpenFile)
{
    Write("r.txt", "data");
    CFile file("T:\\r.txt", CFile::modeRead);
    Thrown write = CatchFileException([&] { file.Write("x", 1); });
    EXPECT_TRUE(write.thrown);
    EXPECT_EQ(write.cause, CFileException::accessDenied);
    EXPECT_EQ(write.lOsError, ERROR_ACCESS_DENIED);
    EXPECT_EQ(write.fileName, "T:\\r.txt");
    Thrown seek = CatchFileException([&] { file.Seek(-1, CFile::begin); });
    EXPECT_TRUE(seek.thrown);
    EXPECT_EQ(seek.cause, CFileException::badSeek);
    EXPECT_EQ(seek.lOsError, ERROR_NEGATIVE_SEEK);
    EXPECT_EQ(file.GetPosition(), 0u);  // unchanged
    // Abort closes without complaint, twice too.
    file.Abort();
    file.Abort();
    EXPECT_EQ(file.m_hFile, CFile::hFileNull);
}

TEST_F(File, WrappedHandleStaysOpen)
{
    Write("h.txt", "xyz");
    HANDLE h = CreateFile("T:\\h.txt", GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, 0, NULL);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    {
        CFile file(h);
        char c = 0;
        EXPECT_EQ(file.Read(&c, 1), 1u);
        EXPECT_EQ(c, 'x');
        EXPECT_EQ(static_cast<HANDLE>(file), h);
    }
    DWORD got = 0;
    char c = 0;
    EXPECT_TRUE(ReadFile(h, &c, 1, &got, NULL));  // still open after the CFile went
    EXPECT_EQ(c, 'y');
    CloseHandle(h);
}

TEST_F(File, StatusOfNamesAndOpenFiles)
{
    struct ZoneGuard {
        ~ZoneGuard() { host::SetTimeZone(""); }
    } zoneGuard;
    ASSERT_TRUE(host::SetTimeZone("CET-1CEST,M3.5.0,M10.5.0/3"));
    Write("dir/stat.txt", "12345");
    CFileStatus status;
    ASSERT_TRUE(CFile::GetStatus("t:\\DIR\\stat.txt", status));
    EXPECT_EQ(status.m_size, 5);
    EXPECT_STREQ(status.m_szFullName, "T:\\DIR\\stat.txt");
    EXPECT_EQ(status.m_attribute & CFile::directory, 0);
    EXPECT_NE(status.m_mtime.GetTime(), 0);

    ASSERT_TRUE(CFile::GetStatus("T:\\dir", status));
    EXPECT_TRUE(status.m_attribute & CFile::directory);

    EXPECT_FALSE(CFile::GetStatus("T:\\dir\\none.txt", status));
    EXPECT_FALSE(CFile::GetStatus("Q:\\nothing", status));

    // SetStatus writes the times and the attributes; GetStatus reads them back.
    CFileStatus wanted = status;
    ASSERT_TRUE(CFile::GetStatus("T:\\dir\\stat.txt", wanted));
    wanted.m_mtime = CTime(1997, 7, 14, 10, 30, 0);
    wanted.m_atime = CTime(1997, 7, 15, 8, 0, 0);
    wanted.m_attribute = CFile::readOnly;
    CFile::SetStatus("T:\\dir\\stat.txt", wanted);
    ASSERT_TRUE(CFile::GetStatus("T:\\dir\\stat.txt", status));
    EXPECT_EQ(status.m_mtime, wanted.m_mtime);
    EXPECT_EQ(status.m_mtime.GetHour(), 10);  // local time of the zone, summer time
    EXPECT_EQ(status.m_atime, wanted.m_atime);
    EXPECT_EQ(status.m_attribute & (CFile::readOnly | CFile::directory), CFile::readOnly);

    // Times of a read-only file can be set again; the attribute goes back to normal.
    wanted.m_mtime = CTime(1998, 1, 2, 3, 4, 6);
    wanted.m_attribute = CFile::normal;
    CFile::SetStatus("T:\\dir\\stat.txt", wanted);
    ASSERT_TRUE(CFile::GetStatus("T:\\dir\\stat.txt", status));
    EXPECT_EQ(status.m_mtime, wanted.m_mtime);
    EXPECT_EQ(status.m_attribute & CFile::readOnly, 0);

    {
        CFile file("T:\\dir\\stat.txt", CFile::modeRead);
        CFileStatus open;
        ASSERT_TRUE(file.GetStatus(open));
        EXPECT_EQ(open.m_size, 5);
        EXPECT_EQ(open.m_mtime, wanted.m_mtime);
        EXPECT_STREQ(open.m_szFullName, "T:\\dir\\stat.txt");
    }
    CFile closed;
    EXPECT_FALSE(closed.GetStatus(status));

    Thrown missing = CatchFileException([&] { CFile::SetStatus("T:\\dir\\none.txt", wanted); });
    EXPECT_EQ(missing.cause, CFileException::fileNotFound);
}

TEST_F(File, RenameAndRemove)
{
    Write("a.txt", "a");
    Write("b.txt", "b");
    CFile::Rename("T:\\a.txt", "T:\\c.txt");
    EXPECT_EQ(Read("c.txt"), "a");

    Thrown exists = CatchFileException([] { CFile::Rename("T:\\c.txt", "T:\\b.txt"); });
    EXPECT_TRUE(exists.thrown);
    EXPECT_EQ(exists.lOsError, ERROR_ALREADY_EXISTS);
    EXPECT_EQ(exists.fileName, "T:\\c.txt");
    Thrown missing = CatchFileException([] { CFile::Rename("T:\\gone.txt", "T:\\d.txt"); });
    EXPECT_EQ(missing.cause, CFileException::fileNotFound);

    CFile::Remove("T:\\C.TXT");
    EXPECT_FALSE(std::filesystem::exists(Host("c.txt")));
    Thrown removeMissing = CatchFileException([] { CFile::Remove("T:\\c.txt"); });
    EXPECT_EQ(removeMissing.cause, CFileException::fileNotFound);
    EXPECT_EQ(removeMissing.lOsError, ERROR_FILE_NOT_FOUND);
    {
        CFile open("T:\\b.txt", CFile::modeRead | CFile::shareDenyNone);
        Thrown removeOpen = CatchFileException([] { CFile::Remove("T:\\b.txt"); });
        EXPECT_EQ(removeOpen.cause, CFileException::sharingViolation);
    }
}

TEST_F(File, DuplicateSharesTheFilePointer)
{
    Write("x.txt", "abcdef");
    CFile file("T:\\x.txt", CFile::modeReadWrite);
    file.Seek(2, CFile::begin);
    CFile* dup = file.Duplicate();
    EXPECT_EQ(dup->GetFilePath(), file.GetFilePath());
    EXPECT_EQ(dup->GetPosition(), 2u);
    dup->Write("XY", 2);
    EXPECT_EQ(file.GetPosition(), 4u);
    delete dup;  // closes its handle only
    char c = 0;
    EXPECT_EQ(file.Read(&c, 1), 1u);
    EXPECT_EQ(c, 'e');
    file.Close();
    EXPECT_EQ(Read("x.txt"), "abXYef");

    // Text and memory files cannot be duplicated; byte-range locks are not offered.
    CMemFile mem;
    bool thrown = false;
    try {
        mem.Duplicate();
    } catch (CNotSupportedException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}
