#include "base/TextFile.h"

#include "ChecksumTextWriter.h"
#include "ShellTestSupport.h"

#include <string>
#include <vector>

namespace {

class TextFileTest : public ShellDriveTest {
protected:
    // Every line ReadLine gives, with the sum of their bytes.
    static std::vector<std::string> ReadAllLines(CTextFile& file, DWORD* pSum = nullptr)
    {
        std::vector<std::string> lines;
        CString line;
        while (file.ReadLine(line, pSum))
            lines.emplace_back(static_cast<LPCSTR>(line), line.GetLength());
        EXPECT_TRUE(line.IsEmpty());
        EXPECT_FALSE(file.ReadLine(line, pSum));
        return lines;
    }
    std::vector<std::string> LinesOf(const std::string& bytes, DWORD* pSum = nullptr)
    {
        CTextFile file(WriteT("lines.txt", bytes).c_str(), CFile::modeRead);
        return ReadAllLines(file, pSum);
    }
    BOOL Verified(const std::string& bytes) { return CTextFile::OpenVerified(WriteT("checked.txt", bytes).c_str()); }
};

using Lines = std::vector<std::string>;

TEST_F(TextFileTest, LineEnds)
{
    const std::string x2047(2047, 'x');
    const std::string long5000(5000, 'L');
    struct Case {
        const char* what;
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"CR LF, LF, CR", "one\r\ntwo\nthree\rfour", {"one", "two", "three", "four"}},
        {"empty lines", "\r\n\n\r\r\n", {"", "", "", ""}},
        {"LF CR is two ends", "a\n\rb", {"a", "", "b"}},
        {"last line ended", "a\r\n", {"a"}},
        {"empty file", "", {}},
        {"CR LF split across reads", x2047 + "\r\nnext", {x2047, "next"}},
        {"CR ends a read, no LF", x2047 + "\rnext", {x2047, "next"}},
        {"CR ends the file at a read's end", x2047 + "\r", {x2047}},
        {"LF starts the second read", std::string(2048, 'y') + "\nz", {std::string(2048, 'y'), "z"}},
        {"line longer than the buffer", long5000 + "\r\nafter", {long5000, "after"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.lines, LinesOf(c.bytes));
    }
}

TEST_F(TextFileTest, SumCountsLineBytesNotTerminators)
{
    DWORD sum = 5;
    std::string bytes = "ab\r\n\xFF\rc";
    bytes += std::string(3000, '\x01') + "\n";
    EXPECT_EQ((Lines{"ab", "\xFF", "c" + std::string(3000, '\x01')}), LinesOf(bytes, &sum));
    EXPECT_EQ(5u + 'a' + 'b' + 0xFF + 'c' + 3000u, sum);
}

TEST_F(TextFileTest, PositionAndSeek)
{
    std::string bytes;
    for (int i = 0; i < 1000; ++i)
        bytes += "line" + std::to_string(i) + "\r\n";  // about 8,000 bytes, four chunks
    CTextFile file(WriteT("seek.txt", bytes).c_str(), CFile::modeRead | CFile::typeText);
    CString line;
    EXPECT_EQ(0u, file.GetPosition());
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("line0", line);
    EXPECT_EQ(7u, file.GetPosition());

    // Within the buffered chunk, back and forth.
    EXPECT_EQ(0, file.Seek(0, CFile::begin));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("line0", line);
    EXPECT_EQ(14, file.Seek(7, CFile::current));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("line2", line);

    // Outside it, from the start, the current position and the end.
    LONG at500 = static_cast<LONG>(bytes.find("line500"));
    EXPECT_EQ(at500, file.Seek(at500, CFile::begin));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("line500", line);
    EXPECT_EQ(static_cast<DWORD>(at500 + 9), file.GetPosition());
    LONG at10 = static_cast<LONG>(bytes.find("line10\r"));
    EXPECT_EQ(at10, file.Seek(at10 - static_cast<LONG>(file.GetPosition()), CFile::current));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("line10", line);
    EXPECT_EQ(static_cast<LONG>(bytes.size()) - 9, file.Seek(-9, CFile::end));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("line999", line);
    EXPECT_FALSE(file.ReadLine(line));
    ExpectThrows<CFileException>([&] { file.Seek(-1, CFile::begin); });
}

TEST_F(TextFileTest, ChecksumCases)
{
    struct Case {
        const char* what;
        std::string bytes;
        BOOL valid;
    } cases[] = {
        {"the example", "abc" "checksum:9E9D9CFF", TRUE},
        {"lower-case digits", "abccheckSum:9e9d9cff\r\n", TRUE},
        {"upper-case trailer", "abcCHECKSUM:9E9D9CFF", TRUE},
        {"capitalised trailer", "abcChecksum:9E9D9CFF\r\n", TRUE},
        {"empty content", "checksum:FFFFFFFF\r\n", TRUE},
        {"wrong value", "abcchecksum:9E9D9CFE", FALSE},
        {"no trailer", "abc\r\n", FALSE},
        {"empty file", "", FALSE},
        {"trailer without digits", "abcchecksum:\r\n", FALSE},
        {"trailer without digits over zero content", std::string("\xFF\xFF\xFF\xFF", 4) + "checksum:zz", TRUE},
        {"digits end at a non-digit", "abcchecksum:9E9D9CFFgarbage", TRUE},
        {"content after the trailer is ignored", "abcchecksum:9E9D9CFF\r\nmore lines\r\n", TRUE},
        {"trailer inside a content line", "abc checksum:" + discbuilder::ChecksumTrailer("abc ").substr(9), TRUE},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(c.valid, Verified(c.bytes));
    }
    EXPECT_EQ(0x9E9D9CFFu, discbuilder::TextChecksum("abc"));
    EXPECT_EQ(0xFFFFFFFFu, discbuilder::TextChecksum(""));
}

// The trailer at every place around the end of the first and second chunks, so that it straddles
// two reads in every way; each file verified, then each with a changed byte refused.
TEST_F(TextFileTest, TrailerAcrossChunks)
{
    for (size_t length : {0, 1, 2030, 2031, 2035, 2038, 2039, 2040, 2041, 2042, 2043, 2044, 2045, 2046,
                          2047, 2048, 2049, 2056, 4080, 4083, 4087, 4088, 4096, 9999}) {
        SCOPED_TRACE(length);
        std::string content;
        for (size_t i = 0; i < length; ++i)
            content += static_cast<char>(i % 26 == 25 ? '\n' : 'a' + i % 26);
        std::string text = discbuilder::ChecksumText(content);
        EXPECT_TRUE(Verified(text));
        if (length > 0) {
            std::string changed = text;
            changed[length / 2] ^= 0x20;
            EXPECT_FALSE(Verified(changed));
        }
    }
}

TEST_F(TextFileTest, VerifyLeavesTheFileAtItsStart)
{
    std::string content = discbuilder::JoinTextLines({"first", std::string(3000, 's'), "last"});
    CTextFile file(WriteT("update.lst", discbuilder::ChecksumText(content)).c_str(), CFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadLine(line));
    ASSERT_TRUE(file.ReadLine(line));
    EXPECT_TRUE(file.VerifyChecksum());
    EXPECT_EQ(0u, file.GetPosition());
    std::vector<std::string> lines = ReadAllLines(file);
    ASSERT_EQ(4u, lines.size());
    EXPECT_EQ("first", lines[0]);
    EXPECT_EQ("last", lines[2]);
    EXPECT_EQ(discbuilder::ChecksumTrailer(content), lines[3]);
}

// Files from the sample-disc builder's writer read back; damaged copies are refused.
TEST_F(TextFileTest, WriterRoundTripAndDamagedCopies)
{
    const std::vector<std::string> lines = {"FL:pc000001|12|19990101", "UP:000042|2048", "",
                                            std::string(2100, 'w'), "MB:last line"};
    const std::string content = discbuilder::JoinTextLines(lines);
    discbuilder::WriteChecksumTextFile(dir.path() / "t" / "online.upd", content);
    ASSERT_TRUE(CTextFile::OpenVerified("T:\\online.upd"));
    {
        CTextFile file("T:\\online.upd", CFile::modeRead);
        std::vector<std::string> read = ReadAllLines(file);
        ASSERT_EQ(lines.size() + 1, read.size());
        EXPECT_TRUE(std::equal(lines.begin(), lines.end(), read.begin()));
    }

    const std::string text = discbuilder::ChecksumText(content);
    struct Damage {
        const char* what;
        std::string bytes;
    } damaged[] = {
        {"truncated in the content", text.substr(0, content.size() / 2)},
        {"truncated in the trailer", text.substr(0, content.size() + 13)},
        {"last content byte lost", content.substr(0, content.size() - 1) + discbuilder::ChecksumTrailer(content)},
        {"a flipped bit", [&] { std::string s = text; s[5] ^= 0x01; return s; }()},
        {"a flipped trailer digit", [&] { std::string s = text; s[content.size() + 10] ^= 0x01; return s; }()},
    };
    for (const Damage& d : damaged) {
        SCOPED_TRACE(d.what);
        EXPECT_FALSE(Verified(d.bytes));
    }

    EXPECT_THROW(discbuilder::ChecksumText("a line with CheckSum: in it\r\n"), std::invalid_argument);
}

TEST_F(TextFileTest, FailuresAndUnsupportedOperations)
{
    ExpectThrows<CFileException>([] { CTextFile::OpenVerified("T:\\missing.upd"); },
                                 [](CFileException* e) { EXPECT_EQ(CFileException::fileNotFound, e->m_cause); });
    ExpectThrows<CFileException>([] { CTextFile file("T:\\missing.txt", CFile::modeRead); });

    CTextFile file;
    CFileException error;
    EXPECT_FALSE(file.Open("T:\\missing.txt", CFile::modeRead, &error));
    EXPECT_EQ(CFileException::fileNotFound, error.m_cause);
    ASSERT_TRUE(file.Open(WriteT("x.txt", "x\r\n").c_str(), CFile::modeRead | CFile::typeText));
    char buffer[4];
    ExpectThrows<CNotSupportedException>([&] { file.Read(buffer, sizeof buffer); });
    ExpectThrows<CNotSupportedException>([&] { file.Write(buffer, sizeof buffer); });
    ExpectThrows<CNotSupportedException>([&] { file.ReadString(buffer, sizeof buffer); });
    ExpectThrows<CNotSupportedException>([&] { file.WriteString("x"); });
    CString line;
    EXPECT_TRUE(file.ReadLine(line));
    EXPECT_STREQ("x", line);
    file.Close();
    file.Close();  // closing twice is harmless
}

}  // namespace
