#include "base/RomFile.h"

#include "ShellTestSupport.h"

#include <memory>
#include <string>

namespace {

// Two discs with the same files: disc one in E:, the other folder mapped as F:.
class RomFileTest : public ShellDriveTest {
protected:
    void SetUp() override
    {
        ShellDriveTest::SetUp();
        for (const char* disc : {"disc1", "disc2"}) {
            dir.Write(std::string(disc) + "/info_dat/a.dat", Numbers(0, 3000));
            dir.Write(std::string(disc) + "/info_dat/sub/b.dat", Numbers(5000, 3000));
        }
        dir.Write("disc1/info_dat/only1.dat", "only on the first disc");
        dir.Write("disc1/loose.dat", "outside the data folder");
        host::MapDrive('E', HostFolder("disc1"), DRIVE_CDROM, "VL00I1SE");
        host::MapDrive('F', HostFolder("disc2"), DRIVE_FIXED, "COPY");
    }
    void TearDown() override
    {
        if (CRomFile::IsReleased())
            CRomFile::ReopenAll("F:\\info_dat\\");
        ShellDriveTest::TearDown();
    }

    // "n,n+1,..." : every offset of the file tells where it is.
    static std::string Numbers(int first, int count)
    {
        std::string s;
        for (int i = first; i < first + count; ++i)
            s += std::to_string(i) + ",";
        return s;
    }
    static std::string ReadBytes(CFile& file, UINT count)
    {
        std::string s(count, '\0');
        s.resize(file.Read(s.data(), count));
        return s;
    }
    static const char* Expected(const std::string& all, DWORD at, size_t count, std::string& keep)
    {
        keep = all.substr(at, count);
        return keep.c_str();
    }
};

TEST_F(RomFileTest, ReleaseTwiceAndReopenUnderANewRootAtTheSamePositions)
{
    const std::string a = Numbers(0, 3000), b = Numbers(5000, 3000);
    CRomFile fileA, fileB, fileIdle;
    ASSERT_TRUE(fileA.Open("E:\\info_dat\\a.dat", CFile::modeRead));
    ASSERT_TRUE(fileB.Open("E:\\INFO_DAT\\sub\\b.dat", CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ(a.substr(0, 100), ReadBytes(fileA, 100));
    fileB.Seek(1234, CFile::begin);
    EXPECT_EQ(b.substr(1234, 10), ReadBytes(fileB, 10));

    CRomFile::ReleaseAll();
    EXPECT_TRUE(CRomFile::IsReleased());
    EXPECT_EQ(CFile::hFileNull, fileA.m_hFile);
    EXPECT_EQ(CFile::hFileNull, fileB.m_hFile);
    EXPECT_EQ(100u, fileA.GetPosition());
    EXPECT_EQ(1244u, fileB.GetPosition());
    EXPECT_EQ(0u, fileIdle.GetPosition());
    CRomFile::ReleaseAll();  // nothing more to close; the remembered places stay
    EXPECT_EQ(100u, fileA.GetPosition());
    EXPECT_EQ(1244u, fileB.GetPosition());

    // The disc is gone from E: now; the first disc's data turns up under F:.
    host::SetDriveMedia('E', false);
    CRomFile::ReopenAll("F:\\info_dat\\");
    EXPECT_FALSE(CRomFile::IsReleased());
    EXPECT_STREQ("F:\\info_dat\\a.dat", fileA.GetFilePath());
    EXPECT_STREQ("F:\\info_dat\\sub\\b.dat", fileB.GetFilePath());
    EXPECT_EQ(100u, fileA.GetPosition());
    EXPECT_EQ(1244u, fileB.GetPosition());
    EXPECT_EQ(a.substr(100, 50), ReadBytes(fileA, 50));
    EXPECT_EQ(b.substr(1244, 50), ReadBytes(fileB, 50));
    EXPECT_EQ(CFile::hFileNull, fileIdle.m_hFile);  // never opened: left alone
    ExpectThrows<CFileException>([&] { fileIdle.GetPosition(); });

    // A second reopen without a release changes nothing.
    CRomFile::ReopenAll("E:\\info_dat\\");
    EXPECT_STREQ("F:\\info_dat\\a.dat", fileA.GetFilePath());
    EXPECT_EQ(150u, fileA.GetPosition());
}

TEST_F(RomFileTest, FilesThatStayClosedAfterTheReopen)
{
    CRomFile closedByOwner, loose, missing, kept;
    ASSERT_TRUE(closedByOwner.Open("E:\\info_dat\\a.dat", CFile::modeRead | CFile::shareDenyWrite));
    ASSERT_TRUE(loose.Open("E:\\loose.dat", CFile::modeRead));
    ASSERT_TRUE(missing.Open("E:\\info_dat\\only1.dat", CFile::modeRead));
    ASSERT_TRUE(kept.Open("E:\\info_dat\\a.dat", CFile::modeRead | CFile::shareDenyWrite));
    missing.Seek(5, CFile::begin);

    CRomFile::ReleaseAll();
    closedByOwner.Close();
    CRomFile lateComer;  // made while released: closed until its owner opens it
    CRomFile::ReopenAll("F:\\info_dat\\");

    EXPECT_EQ(CFile::hFileNull, closedByOwner.m_hFile);
    EXPECT_EQ(CFile::hFileNull, lateComer.m_hFile);
    // A path outside the data folder is not turned into some other path: the file stays closed.
    EXPECT_EQ(CFile::hFileNull, loose.m_hFile);
    // A file missing on the new disc stays closed too; its owner learns it at the next read.
    EXPECT_EQ(CFile::hFileNull, missing.m_hFile);
    char buffer[8];
    ExpectThrows<CFileException>([&] { missing.Read(buffer, sizeof buffer); });
    ExpectThrows<CFileException>([&] { loose.Seek(0, CFile::begin); });
    CString line;
    ExpectThrows<CFileException>([&] { loose.ReadString(line); });
    EXPECT_NE(CFile::hFileNull, kept.m_hFile);
    loose.Close();
    missing.Close();

    // The late comer opens normally once its owner asks.
    ASSERT_TRUE(lateComer.Open("F:\\info_dat\\a.dat", CFile::modeRead | CFile::shareDenyWrite));
    EXPECT_EQ("0,1,2", ReadBytes(lateComer, 5));
}

TEST_F(RomFileTest, FileOpenedWhileReleasedIsItsOwners)
{
    CRomFile before;
    ASSERT_TRUE(before.Open("E:\\info_dat\\a.dat", CFile::modeRead));
    CRomFile::ReleaseAll();
    CRomFile during;
    ASSERT_TRUE(during.Open("F:\\info_dat\\sub\\b.dat", CFile::modeRead));
    during.Seek(4, CFile::begin);
    EXPECT_EQ(4u, during.GetPosition());
    during.Close();
    EXPECT_EQ(CFile::hFileNull, during.m_hFile);
    ASSERT_TRUE(during.Open("F:\\info_dat\\sub\\b.dat", CFile::modeRead));
    CRomFile::ReopenAll("F:\\info_dat\\");
    EXPECT_STREQ("F:\\info_dat\\a.dat", before.GetFilePath());
    EXPECT_STREQ("F:\\info_dat\\sub\\b.dat", during.GetFilePath());
    EXPECT_EQ(0u, during.GetPosition());
}

// Files leave the chain in any order; the rest are still released and reopened.
TEST_F(RomFileTest, ChainSurvivesFilesGoingInAnyOrder)
{
    auto first = std::make_unique<CRomFile>();
    auto middle = std::make_unique<CRomFile>();
    auto last = std::make_unique<CRomFile>();  // the head of the chain
    for (CRomFile* file : {first.get(), middle.get(), last.get()})
        ASSERT_TRUE(file->Open("E:\\info_dat\\a.dat", CFile::modeRead | CFile::shareDenyNone));
    middle.reset();
    CRomFile::ReleaseAll();
    EXPECT_EQ(CFile::hFileNull, first->m_hFile);
    EXPECT_EQ(CFile::hFileNull, last->m_hFile);
    last.reset();
    CRomFile::ReopenAll("F:\\info_dat\\");
    EXPECT_STREQ("F:\\info_dat\\a.dat", first->GetFilePath());
    first.reset();
    CRomFile::ReleaseAll();  // an empty chain
    CRomFile::ReopenAll("F:\\info_dat\\");
}

TEST_F(RomFileTest, BinaryUnlessTextIsAsked)
{
    dir.Write("disc1/info_dat/crlf.txt", "one\r\ntwo\r\n");
    CRomFile binary, text;
    ASSERT_TRUE(binary.Open("E:\\info_dat\\crlf.txt", CFile::modeRead | CFile::shareDenyNone));
    ASSERT_TRUE(text.Open("E:\\info_dat\\crlf.txt", CFile::modeRead | CFile::shareDenyNone | CFile::typeText));
    CString line;
    ASSERT_TRUE(binary.ReadString(line));
    EXPECT_STREQ("one\r", line);
    ASSERT_TRUE(text.ReadString(line));
    EXPECT_STREQ("one", line);
    EXPECT_TRUE(binary.GetRuntimeClass() == RUNTIME_CLASS(CStdioFile));

    // The kept flags reopen it the same way.
    dir.Write("disc2/info_dat/crlf.txt", "one\r\ntwo\r\n");
    CRomFile::ReleaseAll();
    CRomFile::ReopenAll("F:\\info_dat\\");
    ASSERT_TRUE(text.ReadString(line));
    EXPECT_STREQ("two", line);
    ASSERT_TRUE(binary.ReadString(line));
    EXPECT_STREQ("two\r", line);
}

}  // namespace
