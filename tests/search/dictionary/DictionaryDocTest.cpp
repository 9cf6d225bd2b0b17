// The definitions file reader: the sliding window across its refill boundaries in both
// directions, headwords, proportional seeks, and damaged definitions files.
#include "DictionaryTestSupport.h"

namespace {

class DictionaryDocTest : public DictionaryTest {
protected:
    // Enough entries with long lines for the file to span several windows.
    void WriteBigDictionary()
    {
        std::vector<std::string> words;
        for (int i = 0; i < 2000; ++i)
            words.push_back("word" + std::to_string(100000 + i));
        WriteWords(words, 6);
        ASSERT_GT(m_files.definitions.size(), 3u * CDictionaryDoc::kBufferSize);
    }
    // The lines the file holds for entry i.
    std::vector<std::string> ExpectedLines(std::size_t i) const
    {
        std::vector<std::string> lines = {m_files.entries[i].firstLine};
        lines.insert(lines.end(), m_files.entries[i].lines.begin(), m_files.entries[i].lines.end());
        return lines;
    }
    static std::vector<std::string> Lines(const CStringArray& array)
    {
        std::vector<std::string> lines;
        for (INT_PTR i = 0; i < array.GetSize(); ++i)
            lines.push_back(static_cast<LPCSTR>(array[i]));
        return lines;
    }
};

}  // namespace

TEST_F(DictionaryDocTest, ReadsEveryEntryForwardAcrossTheWindows)
{
    WriteBigDictionary();
    CDictionaryDoc doc;
    ASSERT_TRUE(doc.IsOpen());
    doc.SetEntryStart(0);
    doc.ReadAt(0);
    std::size_t refills = 0;
    __int64 lastWindow = doc.GetBufferOffset();
    for (std::size_t i = 0; i < m_files.entries.size(); ++i) {
        CDictionaryEntry* entry = doc.ReadEntryLines(FALSE);
        ASSERT_NE(nullptr, entry);
        ASSERT_EQ(ExpectedLines(i), Lines(entry->m_lines)) << "entry " << i;
        if (doc.GetBufferOffset() != lastWindow) {
            ++refills;
            lastWindow = doc.GetBufferOffset();
        }
    }
    EXPECT_GE(refills, 3u);
    EXPECT_TRUE(doc.ReadEntryLines(FALSE)->m_lines.IsEmpty());
    EXPECT_TRUE(doc.IsAtEnd());
    EXPECT_EQ(static_cast<INT_PTR>(m_files.entries.size() * 7), doc.GetEntry()->m_accumulated.GetSize());
}

TEST_F(DictionaryDocTest, ReadsEveryEntryBackwardAcrossTheWindows)
{
    WriteBigDictionary();
    CDictionaryDoc doc;
    const std::size_t last = m_files.entries.size() - 1;
    doc.SetEntryStart(m_files.entryOffsets[last]);
    doc.ReadAt(std::max<__int64>(m_files.entryOffsets[last] - CDictionaryDoc::kForwardLead, 0));
    doc.Position(m_files.entryOffsets[last]);
    ASSERT_EQ(ExpectedLines(last), Lines(doc.ReadEntryLines(FALSE)->m_lines));
    const __int64 resume = doc.GetCurrentOffset();
    for (std::size_t i = last; i-- > 0;) {
        doc.SetInsertMode(TRUE, 0);
        CDictionaryEntry* entry = doc.ReadEntryLines(TRUE);
        ASSERT_EQ(ExpectedLines(i), Lines(entry->m_lines)) << "entry " << i;
        ASSERT_EQ(m_files.entryOffsets[i], doc.GetEntryStart());
        ASSERT_EQ(resume, doc.GetCurrentOffset()) << "forward reading goes on after the last entry read";
    }
    doc.SetInsertMode(FALSE);
    EXPECT_TRUE(doc.IsAtFirstEntry() || doc.GetEntryStart() == 0);
    EXPECT_TRUE(doc.ReadEntryLines(TRUE)->m_lines.IsEmpty()) << "nothing before the first entry";
    // The accumulated lines are the whole file in order.
    std::vector<std::string> all;
    for (std::size_t i = 0; i < m_files.entries.size(); ++i) {
        std::vector<std::string> lines = ExpectedLines(i);
        all.insert(all.end(), lines.begin(), lines.end());
    }
    EXPECT_EQ(all, Lines(doc.GetEntry()->m_accumulated));
}

TEST_F(DictionaryDocTest, WindowLeadsAndByteSteps)
{
    WriteBigDictionary();
    CDictionaryDoc doc;
    struct Case {
        __int64 offset;
        BOOL backward;
        __int64 window;
    } cases[] = {
        {100000, FALSE, 100000 - 20480},
        {100000, TRUE, 100000 - 61440},
        {15000, FALSE, 0},
        {50000, TRUE, 0},
    };
    for (const Case& c : cases) {
        doc.ReadAt(200000);
        doc.SetBackward(c.backward);
        doc.Position(c.offset);
        EXPECT_EQ(c.window, doc.GetBufferOffset()) << c.offset << (c.backward ? " backward" : " forward");
        EXPECT_EQ(c.offset, doc.GetCurrentOffset());
        EXPECT_EQ(static_cast<BYTE>(m_files.definitions[static_cast<std::size_t>(c.offset)]), doc.Current());
    }
    // Stepping over the window's end forward and its start backward loses no byte.
    doc.SetBackward(FALSE);
    doc.ReadAt(1000);
    for (int i = 0; i < CDictionaryDoc::kBufferSize + 10; ++i)
        doc.Next();
    EXPECT_EQ(1000 + CDictionaryDoc::kBufferSize, doc.GetBufferOffset());
    EXPECT_EQ(1000 + CDictionaryDoc::kBufferSize + 10, doc.GetCurrentOffset());
    EXPECT_EQ(static_cast<BYTE>(m_files.definitions[1000 + CDictionaryDoc::kBufferSize + 10]), doc.Current());
    doc.SetBackward(TRUE);
    for (int i = 0; i < 20; ++i)
        ASSERT_TRUE(doc.Back());
    EXPECT_EQ(1000 + CDictionaryDoc::kBufferSize - 10, doc.GetCurrentOffset());
    EXPECT_EQ(static_cast<BYTE>(m_files.definitions[1000 + CDictionaryDoc::kBufferSize - 10]), doc.Current());
    EXPECT_EQ(1000 + CDictionaryDoc::kBufferSize - CDictionaryDoc::kBackwardLead, doc.GetBufferOffset());
}

TEST_F(DictionaryDocTest, WordListLinesBothWays)
{
    WriteWords({"apple", "berry", "cherry"});
    CDictionaryDoc doc;
    doc.ReadAt(0);
    std::vector<std::string> heads;
    while (!doc.IsAtEnd()) {
        CDictionaryLines* lines = doc.ReadWordListLine(FALSE);
        ASSERT_NE(nullptr, lines);
        for (const std::string& line : Lines(lines->m_lines))
            heads.push_back(line);
    }
    const std::string mark = "\xBD\xB3";
    EXPECT_EQ((std::vector<std::string>{mark + "apple", mark + "berry", mark + "cherry"}), heads);
    doc.SetAtEnd(FALSE);
    doc.SetEntryStart(m_files.entryOffsets[2]);
    doc.Position(m_files.entryOffsets[2]);
    EXPECT_EQ(std::vector<std::string>{mark + "berry"}, Lines(doc.ReadWordListLine(TRUE)->m_lines));
    EXPECT_EQ(std::vector<std::string>{mark + "apple"}, Lines(doc.ReadWordListLine(TRUE)->m_lines));
    EXPECT_TRUE(doc.ReadWordListLine(TRUE)->m_lines.IsEmpty());
}

TEST_F(DictionaryDocTest, HeadwordsOfLines)
{
    struct Case {
        std::string line;
        BOOL wordList;
        std::string headword;
    } cases[] = {
        {"\xBD\xB3" "apple\xBF\xB4 \xB6" "Ap\"ple\xB4, n.", FALSE, "apple"},
        {"\xBD\xB3" "apple, n.", FALSE, "apple"},
        {"\xBD\xB3" "ice cream\xB4 n.", FALSE, "ice cream"},
        {"\xBD\xB6\xB3" "box (n.)", TRUE, "box"},
        {"\xBD\xB6\xB3" "box (n.)", FALSE, "box (n.)"},
        {"\xBDplain", FALSE, "plain"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.headword, static_cast<LPCSTR>(CDictionaryDoc::HeadwordOf(c.line.c_str(), c.wordList))) << c.line;

    CStringArray lines;
    lines.Add("text");
    lines.Add("\xBD\xB3" "first\xBF");
    lines.Add("more text");
    lines.Add("\xBD\xB3" "second\xBF");
    WriteWords({"apple"});
    CDictionaryDoc doc;
    doc.FindHeading(lines, 2, FALSE);
    EXPECT_STREQ("second", doc.GetHeading());
    lines.SetSize(3);
    doc.FindHeading(lines, 2, FALSE);
    EXPECT_STREQ("first", doc.GetHeading()) << "none below the top: searched from line 0";
    lines.RemoveAll();
    doc.FindHeading(lines, 0, FALSE);
    EXPECT_STREQ("first", doc.GetHeading()) << "none at all: the heading stays";
}

TEST_F(DictionaryDocTest, SeekProportionalFindsTheNextEntry)
{
    WriteBigDictionary();
    CDictionaryDoc doc;
    doc.SeekProportional(0, 20);
    EXPECT_EQ(m_files.entries.front().headword, static_cast<LPCSTR>(doc.GetHeading()));
    auto entryFrom = [&](std::size_t offset) {
        std::size_t i = 0;
        while (m_files.entryOffsets[i] < offset)
            ++i;
        return i;
    };
    doc.SeekProportional(20, 20);
    std::size_t i = entryFrom(m_files.definitions.size() - 500);
    EXPECT_EQ(m_files.entries[i].headword, static_cast<LPCSTR>(doc.GetHeading())) << "500 bytes before the end";
    doc.SeekProportional(10, 20);
    i = entryFrom(m_files.definitions.size() / 2);
    EXPECT_EQ(m_files.entries[i].headword, static_cast<LPCSTR>(doc.GetHeading()));
    EXPECT_EQ(m_files.entryOffsets[i], doc.GetCurrentOffset());
}

TEST_F(DictionaryDocTest, EntryEndingAtTheDataEndSetsAtEnd)
{
    WriteDataFile("DICTDEFS.ROM", "\xBD\xB3one\xBF\nfirst line\n\xCA\n\xBD\xB3two\xBF\nlast line\n\x1A" "after");
    CDictionaryDoc doc;
    doc.ReadAt(0);
    EXPECT_EQ(2, doc.ReadEntryLines(FALSE)->m_lines.GetSize());
    EXPECT_FALSE(doc.IsAtEnd());
    CDictionaryEntry* entry = doc.ReadEntryLines(FALSE);
    ASSERT_EQ(2, entry->m_lines.GetSize());
    EXPECT_STREQ("last line", entry->m_lines[1]);
    EXPECT_TRUE(doc.IsAtEnd());
}

TEST_F(DictionaryDocTest, DamagedDefinitionsFiles)
{
    // Missing: the message, then nothing to read.
    {
        host::AnswerMessageBox(">>> Error opening dict_definition_file", IDOK);
        CDictionaryDoc doc;
        EXPECT_FALSE(doc.IsOpen());
        doc.ReadAt(0);
        EXPECT_TRUE(doc.ReadEntryLines(FALSE)->m_lines.IsEmpty());
        EXPECT_TRUE(doc.IsAtEnd());
        doc.SeekProportional(5, 10);
        EXPECT_TRUE(doc.ReadWordListLine(FALSE)->m_lines.IsEmpty());
    }
    // Truncated in mid-entry, a line far longer than the line buffer, no entry end, stray codes.
    const std::string longLine(5000, 'x');
    for (const std::string& bytes :
         {std::string("\xBD\xB3one\xBF\nfirst li"), "\xBD\xB3one\xBF\n" + longLine + "\nnext\n\xCA\n\x1A",
          std::string("\xCA\xCA\xCA\n\n\n\xBD"), std::string("no marks at all")}) {
        WriteDataFile("DICTDEFS.ROM", bytes);
        CDictionaryDoc doc;
        doc.ReadAt(0);
        for (int i = 0; i < 4 && !doc.IsAtEnd(); ++i) {
            CDictionaryEntry* entry = doc.ReadEntryLines(FALSE);
            for (INT_PTR k = 0; k < entry->m_lines.GetSize(); ++k)
                EXPECT_LE(entry->m_lines[k].GetLength(), CDictionaryDoc::kMaxLine);
        }
        doc.SetEntryStart(static_cast<__int64>(bytes.size()));
        doc.Position(static_cast<__int64>(bytes.size()));
        doc.ReadEntryLines(TRUE);
        doc.ReadWordListLine(TRUE);
        doc.SeekProportional(10, 10);
        doc.SeekProportional(3, 10);
    }
}

TEST_F(DictionaryDocTest, ReopenReturnsToTheEntryLastRead)
{
    WriteBigDictionary();
    CDictionaryDoc doc;
    const std::size_t i = 500;
    doc.SetEntryStart(m_files.entryOffsets[i]);
    doc.Close();
    EXPECT_FALSE(doc.IsOpen());
    ASSERT_TRUE(doc.Reopen());
    EXPECT_EQ(m_files.entryOffsets[i], doc.GetCurrentOffset());
    EXPECT_EQ(ExpectedLines(i), Lines(doc.ReadEntryLines(FALSE)->m_lines));
}
