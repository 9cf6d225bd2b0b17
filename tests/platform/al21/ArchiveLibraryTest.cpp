// The archive library: storage objects over files and memory, and the decompressor's results.
#include <arclib.h>

#include <host/Drives.h>

#include <TempDir.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <string>
#include <vector>

namespace {

std::string Compress(const std::string& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    std::string out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

std::string Text(int n)
{
    std::string s;
    for (int i = 0; i < n; ++i)
        s += "line " + std::to_string(i) + " of the record\n";
    return s;
}

class ArchiveLibraryTest : public ::testing::Test {
protected:
    void SetUp() override { host::MapDrive('T', dir.str(), DRIVE_FIXED, "TESTDRIVE"); }
    void TearDown() override { host::ResetDrives(); }
    TempDir dir;
};

TEST_F(ArchiveLibraryTest, DecompressStopsAtTheStreamsEnd)
{
    const std::string first = Text(300);
    const std::string second = Text(20);
    const std::string a = Compress(first);
    dir.Write("arc.dat", a + Compress(second) + std::string(100, '\0'));

    ALFile file("T:\\arc.dat", 7, AL_MIXED);  // a small buffer: reads cross it many times
    ASSERT_EQ(file.Open(), AL_SUCCESS);
    std::vector<unsigned char> block(first.size() + 10);
    ALWinMemory memory("RCVBuf", block.data(), static_cast<long>(block.size()), AL_LOWER);
    ALPkDecompressor decompressor;
    ASSERT_EQ(decompressor.Decompress(file, memory), AL_SUCCESS);
    EXPECT_EQ(memory.GetSize(), static_cast<long>(first.size()));
    EXPECT_EQ(std::string(block.begin(), block.begin() + memory.GetSize()), first);
    EXPECT_EQ(decompressor.GetBytesRead(), static_cast<long>(a.size()));
    EXPECT_EQ(file.Tell(), static_cast<long>(a.size())) << "the input stands right behind the stream";

    memory.Close();
    ASSERT_EQ(decompressor.Decompress(file, memory), AL_SUCCESS);
    EXPECT_EQ(std::string(block.begin(), block.begin() + memory.GetSize()), second);
}

TEST_F(ArchiveLibraryTest, DecompressResults)
{
    const std::string data = Text(200);
    const std::string stream = Compress(data);
    struct Case {
        const char* name;
        std::string file;
        long length;
        long capacity;
        int status;
    } cases[] = {
        {"whole stream", stream, static_cast<long>(stream.size()), 20000, AL_SUCCESS},
        {"length shorter than the stream", stream, static_cast<long>(stream.size()) - 1, 20000, AL_END_OF_FILE},
        {"file shorter than the stream", stream.substr(0, stream.size() / 2), -1, 20000, AL_END_OF_FILE},
        {"output too small", stream, -1, static_cast<long>(data.size()) - 1, AL_BUFFER_OVERFLOW},
        {"no stream at all", std::string(64, 'z'), -1, 20000, AL_COMPRESSION_ERROR},
        {"check value wrong", stream.substr(0, stream.size() - 1) + "\x01", -1, 20000, AL_COMPRESSION_ERROR},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write("case.dat", c.file);
        ALFile file("T:\\case.dat");
        ASSERT_EQ(file.Open(), AL_SUCCESS);
        std::vector<unsigned char> block(static_cast<size_t>(c.capacity));
        ALWinMemory memory("out", block.data(), c.capacity);
        ALPkDecompressor decompressor;
        EXPECT_EQ(decompressor.Decompress(file, memory, c.length), c.status);
        EXPECT_EQ(decompressor.GetStatus(), c.status);
        EXPECT_LE(memory.GetSize(), c.capacity);
        if (c.status == AL_BUFFER_OVERFLOW) {
            EXPECT_EQ(std::string(block.begin(), block.begin() + memory.GetSize()), data.substr(0, memory.GetSize()))
                << "what fitted stays";
        }
    }
}

TEST_F(ArchiveLibraryTest, StorageObjects)
{
    ALFile missing("T:\\none.dat");
    EXPECT_EQ(missing.Open(), AL_CANT_OPEN_FILE);
    unsigned char byte = 0;
    EXPECT_EQ(missing.ReadBuffer(&byte, 1), AL_NOT_OPEN);
    EXPECT_EQ(missing.Seek(0), AL_NOT_OPEN);

    EXPECT_STREQ(ALFile("T:\\Mixed.Dat", 16, AL_UPPER).GetName(), "T:\\MIXED.DAT");
    EXPECT_STREQ(ALFile("T:\\Mixed.Dat", 16, AL_LOWER).GetName(), "t:\\mixed.dat");
    EXPECT_STREQ(ALFile("T:\\Mixed.Dat", 16, AL_MIXED).GetName(), "T:\\Mixed.Dat");

    // A file written through ALFile reads back through it, from any position.
    ALFile out("T:\\written.dat");
    ASSERT_EQ(out.Create(), AL_SUCCESS);
    const std::string text = "0123456789abcdef";
    EXPECT_EQ(out.WriteBuffer(reinterpret_cast<const unsigned char*>(text.data()), 16), 16);
    out.Close();
    ALFile in("T:\\written.dat", 5);
    ASSERT_EQ(in.Open(), AL_SUCCESS);
    EXPECT_EQ(in.GetSize(), 16);
    EXPECT_EQ(in.Seek(11), AL_SUCCESS);
    unsigned char buffer[16] = {};
    EXPECT_EQ(in.ReadBuffer(buffer, 16), 5) << "only what is left";
    EXPECT_EQ(std::string(reinterpret_cast<char*>(buffer), 5), "bcdef");
    EXPECT_EQ(in.ReadBuffer(buffer, 1), 0);
    EXPECT_EQ(in.Seek(-1), AL_SEEK_ERROR);

    // Memory: Open reads the whole block, Create writes from nothing and never grows it.
    unsigned char block[8] = {'a', 'b', 'c', 'd', 'e', 'f', 'g', 'h'};
    ALWinMemory memory("RCVBuf", block, 8, AL_LOWER);
    EXPECT_STREQ(memory.GetName(), "rcvbuf");
    ASSERT_EQ(memory.Open(), AL_SUCCESS);
    EXPECT_EQ(memory.GetSize(), 8);
    EXPECT_EQ(memory.ReadBuffer(buffer, 16), 8);
    ASSERT_EQ(memory.Create(), AL_SUCCESS);
    EXPECT_EQ(memory.GetSize(), 0);
    EXPECT_EQ(memory.WriteBuffer(reinterpret_cast<const unsigned char*>("xyz"), 3), 3);
    EXPECT_EQ(memory.WriteBuffer(reinterpret_cast<const unsigned char*>("123456"), 6), AL_BUFFER_OVERFLOW);
    EXPECT_EQ(memory.GetSize(), 3);
    EXPECT_EQ(block[3], 'd') << "a write that does not fit writes nothing";
}

}  // namespace
