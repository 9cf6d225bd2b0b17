#include <afx.h>

#include "../win32/FilesTestSupport.h"

#include <string>
#include <vector>

class StdioFile : public TestDrive {};

TEST_F(StdioFile, TextModeTranslatesLineEndsWithFileOffsets)
{
    // A lone CR stays, CR LF becomes LF, a lone LF stays.
    Write("text.txt", "one\r\ntwo\rtwo\nthree\r\n\r\nlast");
    CStdioFile file("T:\\text.txt", CFile::modeRead | CFile::typeText);
    struct Line {
        const char* text;
        DWORD position;  // file offset after the line
    } lines[] = {{"one", 5}, {"two\rtwo", 13}, {"three", 20}, {"", 22}, {"last", 26}};
    CString line;
    for (const Line& expected : lines) {
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, CString(expected.text));
        EXPECT_EQ(file.GetPosition(), expected.position) << expected.text;
    }
    EXPECT_FALSE(file.ReadString(line));
    EXPECT_EQ(line, CString(""));
    EXPECT_EQ(file.GetLength(), 26u);
}

TEST_F(StdioFile, CrLfSplitAcrossBufferRefills)
{
    // The CR is the last byte of the first read-ahead block, its LF the first of the next.
    const std::string first(CStdioFile::nReadBufferSize - 1, 'x');
    const std::string second(CStdioFile::nReadBufferSize - 2, 'y');
    Write("split.txt", first + "\r\n" + second + "\r\nz\r");
    CStdioFile file("T:\\split.txt", CFile::modeRead);
    CString line;
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line.GetLength(), static_cast<int>(first.size()));
    EXPECT_EQ(file.GetPosition(), first.size() + 2);
    const DWORD secondStart = file.GetPosition();
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(std::string(line), second);
    EXPECT_EQ(file.GetPosition(), first.size() + 2 + second.size() + 2);
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(line, CString("z\r"));  // a CR at the end of the file has no LF
    EXPECT_FALSE(file.ReadString(line));

    // Seek back to a line start and read it again; then into the middle of a CR LF.
    EXPECT_EQ(file.Seek(static_cast<LONG>(secondStart), CFile::begin), static_cast<LONG>(secondStart));
    ASSERT_TRUE(file.ReadString(line));
    EXPECT_EQ(std::string(line), second);
    file.Seek(static_cast<LONG>(first.size()) + 1, CFile::begin);  // on the LF
    char buf[4] = {};
    EXPECT_EQ(file.Read(buf, 2), 2u);
    EXPECT_EQ(std::string(buf, 2), "\ny");
    EXPECT_EQ(file.GetPosition(), first.size() + 3);

    // Read() in blocks gives the same text as lines do.
    file.SeekToBegin();
    std::string all;
    char block[1000];
    UINT n;
    while ((n = file.Read(block, sizeof block)) > 0)
        all.append(block, n);
    EXPECT_EQ(all, first + "\n" + second + "\nz\r");
}

TEST_F(StdioFile, ReadStringIntoABufferKeepsTheNewline)
{
    Write("lines.txt", "ab\r\ncdefgh\r\n");
    CStdioFile file("T:\\lines.txt", CFile::modeRead);
    struct Case {
        UINT nMax;
        const char* text;  // NULL: end of file
        DWORD position;
    } cases[] = {
        {10, "ab\n", 4}, {4, "cde", 7}, {3, "fg", 9}, {10, "h\n", 12}, {10, NULL, 12},
    };
    for (const Case& c : cases) {
        char buf[16];
        LPSTR result = file.ReadString(buf, c.nMax);
        if (c.text == NULL) {
            EXPECT_EQ(result, nullptr);
        } else {
            ASSERT_EQ(result, buf);
            EXPECT_STREQ(buf, c.text);
        }
        EXPECT_EQ(file.GetPosition(), c.position);
    }
}

TEST_F(StdioFile, CtrlZEndsText)
{
    Write("eof.txt", "abc\x1A" "def");
    CStdioFile text("T:\\eof.txt", CFile::modeRead | CFile::shareDenyNone);
    CString line;
    ASSERT_TRUE(text.ReadString(line));
    EXPECT_EQ(line, CString("abc"));
    EXPECT_EQ(text.GetPosition(), 3u);  // on the Ctrl-Z
    EXPECT_FALSE(text.ReadString(line));
    CStdioFile binary("T:\\eof.txt", CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
    ASSERT_TRUE(binary.ReadString(line));
    EXPECT_EQ(line, CString("abc\x1A" "def"));
}

TEST_F(StdioFile, WritingTextWritesCrLf)
{
    {
        CStdioFile file("T:\\out.txt", CFile::modeCreate | CFile::modeWrite);
        file.WriteString("first\nsecond\n");
        EXPECT_EQ(file.GetPosition(), 15u);
        file.WriteString("no end");
        file.Write("\n\n", 2);
        EXPECT_EQ(file.GetPosition(), 25u);
    }
    EXPECT_EQ(Read("out.txt"), "first\r\nsecond\r\nno end\r\n\r\n");
    {
        CStdioFile file("T:\\bin.txt", CFile::modeCreate | CFile::modeWrite | CFile::typeBinary);
        file.WriteString("a\nb\r\n");
    }
    EXPECT_EQ(Read("bin.txt"), "a\nb\r\n");
}

TEST_F(StdioFile, WriteAfterReadGoesWhereReadingStands)
{
    Write("mixed.txt", "line one\r\nline two\r\n");
    {
        CStdioFile file("T:\\mixed.txt", CFile::modeReadWrite);
        CString line;
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(file.GetPosition(), 10u);
        file.WriteString("LINE\n");
        EXPECT_EQ(file.GetPosition(), 16u);
        ASSERT_TRUE(file.ReadString(line));
        EXPECT_EQ(line, CString("wo"));  // "LINE" and its CR LF wrote over "line t"
        // Setting the length drops what was read ahead.
        file.SeekToBegin();
        ASSERT_TRUE(file.ReadString(line));
        file.SetLength(file.GetPosition());
        EXPECT_FALSE(file.ReadString(line));
    }
    EXPECT_EQ(Read("mixed.txt"), "line one\r\n");
}

TEST_F(StdioFile, OpenFailureThrowsFromTheConstructor)
{
    bool thrown = false;
    try {
        CStdioFile file("T:\\missing.txt", CFile::modeRead);
    } catch (CFileException* e) {
        thrown = true;
        EXPECT_EQ(e->m_cause, CFileException::fileNotFound);
        e->Delete();
    }
    EXPECT_TRUE(thrown);
}

TEST_F(StdioFile, LinesAndOffsetsMatchAModelOnDenseLineEnds)
{
    // Bytes full of CR and LF in every combination, over several read-ahead blocks; each line
    // and the file offset after it are checked against a plain model of the translation.
    std::string bytes;
    unsigned seed = 12345;
    const char alphabet[] = {'\r', '\n', 'a', 'b', '\r', '\n', 'c'};
    while (bytes.size() < 3 * CStdioFile::nReadBufferSize + 17) {
        seed = seed * 1103515245u + 12345u;
        bytes += alphabet[(seed >> 16) % sizeof alphabet];
    }
    Write("dense.txt", bytes);
    struct Expected {
        std::string line;
        DWORD end;
    };
    std::vector<Expected> model;
    std::string current;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') {
            model.push_back({current, static_cast<DWORD>(i + 2)});
            current.clear();
            ++i;
        } else if (bytes[i] == '\n') {
            model.push_back({current, static_cast<DWORD>(i + 1)});
            current.clear();
        } else {
            current += bytes[i];
        }
    }
    if (!current.empty())
        model.push_back({current, static_cast<DWORD>(bytes.size())});

    CStdioFile file("T:\\dense.txt", CFile::modeRead);
    CString line;
    std::size_t n = 0;
    while (file.ReadString(line)) {
        ASSERT_LT(n, model.size());
        ASSERT_EQ(std::string(line), model[n].line) << "line " << n;
        ASSERT_EQ(file.GetPosition(), model[n].end) << "line " << n;
        ++n;
    }
    EXPECT_EQ(n, model.size());
    // Back to every tenth line start and read from there again.
    for (std::size_t k = 1; k < model.size(); k += 10) {
        file.Seek(static_cast<LONG>(model[k - 1].end), CFile::begin);
        ASSERT_TRUE(file.ReadString(line));
        ASSERT_EQ(std::string(line), model[k].line) << "line " << k;
        ASSERT_EQ(file.GetPosition(), model[k].end);
    }
}
