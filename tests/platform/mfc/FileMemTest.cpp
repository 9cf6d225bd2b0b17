#include <afx.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace {

// Shows the block's size, which the class keeps to itself.
class InspectMemFile : public CMemFile {
public:
    using CMemFile::CMemFile;
    DWORD BufferSize() const { return m_nBufferSize; }
};

std::string Contents(CMemFile& file)
{
    DWORD length = file.GetLength();
    std::string bytes(length, '\0');
    file.SeekToBegin();
    EXPECT_EQ(file.Read(bytes.data(), length), length);
    return bytes;
}

}  // namespace

TEST(MemFile, GrowsByGrowBytes)
{
    InspectMemFile file(100);
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.BufferSize(), 0u);
    struct Step {
        UINT nWrite;
        DWORD length;
        DWORD bufferSize;
    } steps[] = {{1, 1, 100}, {99, 100, 100}, {1, 101, 200}, {250, 351, 400}};
    for (const Step& s : steps) {
        std::string bytes(s.nWrite, 'a');
        file.Write(bytes.data(), s.nWrite);
        EXPECT_EQ(file.GetLength(), s.length);
        EXPECT_EQ(file.GetPosition(), s.length);
        EXPECT_EQ(file.BufferSize(), s.bufferSize);
    }
    // Seeking past the end grows the block, not the file; writing there leaves zeros between.
    EXPECT_EQ(file.Seek(500, CFile::begin), 500);
    EXPECT_EQ(file.GetLength(), 351u);
    EXPECT_EQ(file.BufferSize(), 500u);
    file.Write("z", 1);
    EXPECT_EQ(file.GetLength(), 501u);
    std::string all = Contents(file);
    EXPECT_EQ(all.substr(351, 149), std::string(149, '\0'));
    EXPECT_EQ(all.back(), 'z');

    file.SetLength(10);
    EXPECT_EQ(file.GetLength(), 10u);
    EXPECT_EQ(file.GetPosition(), 10u);
    file.SetLength(12);
    EXPECT_EQ(Contents(file), std::string(10, 'a') + std::string(2, '\0'));

    bool thrown = false;
    try {
        file.Seek(-1, CFile::begin);
    } catch (CFileException* e) {
        thrown = true;
        EXPECT_EQ(e->m_cause, CFileException::badSeek);
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(file.Seek(-2, CFile::end), 10);
    CFileStatus status;
    EXPECT_TRUE(file.GetStatus(status));
    EXPECT_EQ(status.m_size, 12);
}

TEST(MemFile, AttachedFixedBlockIsTheFile)
{
    BYTE block[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    CMemFile file(block, sizeof block);
    EXPECT_EQ(file.GetLength(), 8u);
    char buf[4] = {};
    EXPECT_EQ(file.Read(buf, 3), 3u);
    EXPECT_EQ(std::string(buf, 3), "abc");
    file.Write("XY", 2);  // writes into the caller's block
    EXPECT_EQ(block[3], 'X');
    EXPECT_EQ(block[4], 'Y');
    file.Seek(6, CFile::begin);
    bool thrown = false;
    try {
        file.Write("123", 3);  // would need 9 bytes; a fixed block cannot grow
    } catch (CMemoryException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);
    EXPECT_EQ(file.GetLength(), 8u);
    EXPECT_EQ(file.Detach(), block);
    EXPECT_EQ(file.GetLength(), 0u);
}

TEST(MemFile, AttachedGrowingBlockStartsEmptyAndIsHandedBack)
{
    BYTE* block = static_cast<BYTE*>(std::malloc(4));
    std::memcpy(block, "junk", 4);
    CMemFile file;
    file.Attach(block, 4, 16);
    EXPECT_EQ(file.GetLength(), 0u);  // the block's old bytes are not the file
    const std::string text = "grows beyond the four bytes it started with";
    file.Write(text.data(), static_cast<UINT>(text.size()));
    EXPECT_EQ(Contents(file), text);
    BYTE* detached = file.Detach();  // reallocated while growing
    ASSERT_NE(detached, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(detached), text.size()), text);
    EXPECT_EQ(file.GetLength(), 0u);
    std::free(detached);  // the caller's again: the file does not free it
}

TEST(MemFile, CloseFreesAndEmpties)
{
    CMemFile file(64);
    file.Write("abc", 3);
    file.Close();
    EXPECT_EQ(file.GetLength(), 0u);
    EXPECT_EQ(file.GetPosition(), 0u);
}
