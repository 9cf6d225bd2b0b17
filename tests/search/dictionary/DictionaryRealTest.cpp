// Look-ups on the real dictionary: a slice of GCIDE (Debian's dict-gcide) converted by the tool,
// written by the disc builder, and every headword looked up and read back against its source.
#include "DictionaryTestSupport.h"

#include <GcideSource.h>

#include <discbuilder/DictionarySource.h>

#include <algorithm>
#include <map>
#include <sstream>

namespace {

class DictionaryRealTest : public DictionaryTest {};

std::string JoinedPlain(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        for (char ch : line)
            if (static_cast<unsigned char>(ch) < 0xB3 || static_cast<unsigned char>(ch) > 0xDA)
                text += ch;
    return text;
}

}  // namespace

TEST_F(DictionaryRealTest, GcideSliceLooksUpEveryHeadword)
{
    const std::filesystem::path dictd = VL_DICTD_DIR;
    if (!std::filesystem::exists(dictd / "gcide.index"))
        GTEST_SKIP() << "dict-gcide is not installed";
    gcide::GcideOptions options;
    options.every = 300;
    options.words = {"apple", "berry", "walk"};
    const std::vector<gcide::GcideEntry> source = gcide::ReadGcide(dictd / "gcide.index", dictd / "gcide.dict.dz", options);
    ASSERT_GT(source.size(), 300u);
    const std::vector<discbuilder::DictionaryEntry> entries =
        discbuilder::ParseDictionarySource(gcide::FormatDictionarySource(source), "gcide");
    ASSERT_EQ(source.size(), entries.size());
    WriteDictionary(entries);

    CDictionarySearchEngine engine;
    CDictionaryDoc doc;
    for (std::size_t i = 0; i < m_files.entries.size(); ++i) {
        const std::string word = discbuilder::DictionaryIndexWord(m_files.entries[i].headword);
        if (word.empty() || word.size() > CDictionarySearchEngine::kMaxKey)
            continue;
        const DWORD offset = engine.LookUp(m_files.entries[i].headword.c_str());
        // The first entry of that index word.
        std::size_t first = i;
        while (first > 0 && discbuilder::DictionaryIndexWord(m_files.entries[first - 1].headword) == word)
            --first;
        ASSERT_EQ(m_files.entryOffsets[first], offset) << m_files.entries[i].headword;
        doc.SetEntryStart(offset);
        doc.ReadAt(static_cast<__int64>(offset) - CDictionaryDoc::kForwardLead);
        doc.Position(offset);
        CDictionaryEntry* entry = doc.ReadEntryLines(FALSE);
        ASSERT_NE(nullptr, entry);
        ASSERT_GE(entry->m_lines.GetSize(), 1);
        EXPECT_EQ(m_files.entries[first].firstLine, static_cast<LPCSTR>(entry->m_lines[0]));
    }
    // The text of a known article survives the conversion.
    EXPECT_EQ("Apple", HeadwordAt(engine.LookUp("apples")));
    const std::size_t apple = [&] {
        for (std::size_t i = 0; i < m_files.entries.size(); ++i)
            if (m_files.entries[i].headword == "Apple")
                return i;
        return std::size_t(0);
    }();
    EXPECT_NE(std::string::npos, JoinedPlain(m_files.entries[apple].lines).find("The fleshy pome or fruit"));
    EXPECT_EQ("berry", [&] {
        std::string h = HeadwordAt(engine.LookUp("berries"));
        for (char& c : h)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        return h;
    }());
}

// Every key of GCIDE's index leads to its article, not only the one the article is filed under;
// the index's escapes show as the letters they stand for; accented words are looked up as they
// are written; the pronunciation shows without GCIDE's mark-up.
TEST_F(DictionaryRealTest, EveryGcideHeadwordLeadsToItsArticleAsItIsSpelled)
{
    const std::filesystem::path dictd = VL_DICTD_DIR;
    if (!std::filesystem::exists(dictd / "gcide.index"))
        GTEST_SKIP() << "dict-gcide is not installed";
    gcide::GcideOptions options;
    options.every = 100000;
    options.words = {"ice cream", "hoped", "boxes", "box", "attach", "attach'e", "caf'e", "clich'e", "alack", "hope"};
    const std::vector<gcide::GcideEntry> source = gcide::ReadGcide(dictd / "gcide.index", dictd / "gcide.dict.dz", options);
    WriteDictionary(discbuilder::ParseDictionarySource(gcide::FormatDictionarySource(source), "gcide"));
    CDictionarySearchEngine engine;
    // The entry a look-up gives has the word among its headwords.
    auto headwordsAt = [&](std::uint32_t offset) {
        std::vector<std::string> words;
        for (std::size_t i = 0; i < m_files.entryOffsets.size(); ++i) {
            if (m_files.entryOffsets[i] != offset)
                continue;
            words.push_back(discbuilder::DictionaryIndexWord(m_files.entries[i].headword));
            for (const std::string& other : m_files.entries[i].otherHeadwords)
                words.push_back(discbuilder::DictionaryIndexWord(other));
        }
        return words;
    };
    for (const char* word : {"ice cream", "hoped", "boxes", "Ice-cream"}) {
        SCOPED_TRACE(word);
        const std::vector<std::string> words = headwordsAt(engine.LookUp(word));
        EXPECT_NE(words.end(), std::find(words.begin(), words.end(), discbuilder::DictionaryIndexWord(word)));
    }
    // The escapes of the index ("Caf'e") are the accented letters; an accented word is looked up
    // as it is written, not as the word its accent was dropped from.
    EXPECT_EQ("Caf\xE9", HeadwordAt(engine.LookUp("caf\xE9")));
    EXPECT_EQ("Clich\xE9", HeadwordAt(engine.LookUp("clich\xE9")));
    EXPECT_EQ("Attach\xE9", HeadwordAt(engine.LookUp("attach\xE9")));
    EXPECT_EQ("Attach\xE9", HeadwordAt(engine.LookUp("ATTACHE")));
    EXPECT_EQ("Attach", HeadwordAt(engine.LookUp("attach")));
    for (const discbuilder::DictionaryEntry& entry : m_files.entries) {
        EXPECT_EQ(std::string::npos, entry.headword.find('\'')) << entry.headword;
        if (entry.headword == "Alack") {
            EXPECT_NE(std::string::npos, entry.firstLine.find("A-lack'")) << entry.firstLine;
            EXPECT_EQ(std::string::npos, entry.firstLine.find('*')) << entry.firstLine;
        }
    }
}

TEST(GcideTextTest, IndexEscapesAndPronunciationMarks)
{
    const std::string article = "Charg'e d'affaires \\Char`g['e]\" d'af*faires\"\\, n.; pl. {Charg['e]s d'affaires}.";
    EXPECT_EQ("Charg\xC3\xA9 d'affaires", gcide::IndexKeyText("Charg'e d'affaires", article));
    EXPECT_EQ("Charg\xC3\xA9s d'affaires", gcide::IndexKeyText("Charg'es d'affaires", article));
    EXPECT_EQ("Ain't", gcide::IndexKeyText("Ain't", "Ain't \\Ain't\\, a contraction."));
    // The article may give the word more accents than the index's escape shows.
    EXPECT_EQ("Cr\xC3\xA9maill\xC3\xA8re", gcide::IndexKeyText("Cr'emaillere", "Cr'emaillere \\Cr['e]`mail`l[`e]re\"\\, n."));
    EXPECT_EQ("\xC3\x89l\xC3\xA8ve", gcide::IndexKeyText("'Eleve", "'Eleve \\['E]`l[`e]ve\"\\, n. [F.] A pupil."));
    EXPECT_EQ("O'er", gcide::IndexKeyText("O'er", "O'er \\O'er\\, prep."));
    EXPECT_EQ("A-lack'", gcide::PronunciationText("A*lack\""));
    EXPECT_EQ("Cli`ch\xC3\xA9'", gcide::PronunciationText("Cli`ch\xC3\xA9\""));
    const gcide::GcideEntry entry =
        gcide::ParseArticle("Alack", "Alack \\A*lack\"\\ ([.a]*l[a^]k\"), interj. [Perh. corrupt.]\n   An exclamation.\n"
                                     "   -- {Ac*cept\"a*bly}, adv.\n");
    EXPECT_EQ(std::string::npos, entry.rest.find("A\\*lack")) << entry.rest;
    EXPECT_NE(std::string::npos, entry.rest.find("*A-lack'*")) << entry.rest;
    EXPECT_NE(std::string::npos, entry.rest.find("(a-lak')")) << entry.rest;
    ASSERT_FALSE(entry.lines.empty());
    EXPECT_NE(std::string::npos, entry.lines.back().find("**Ac-cept'a-bly**")) << entry.lines.back();
}

// The source's other headwords and the writer's accent folding.
TEST(DictionarySourceTest, OtherHeadwordsAndAccentsReachTheIndex)
{
    const auto entries = discbuilder::ParseDictionarySource(
        "@ Attach | v. t.\n@+ Attached\n@+ Attaching\nTo fasten.\n@ Attach\xC3\xA9 | n.\nOne attached to an embassy.\n"
        "@ Attached | a.\nFastened.\n");
    ASSERT_EQ(3u, entries.size());
    EXPECT_EQ((std::vector<std::string>{"Attached", "Attaching"}), entries[0].otherHeadwords);
    EXPECT_EQ("ATTACHE", discbuilder::DictionaryIndexWord("Attach\xE9"));
    EXPECT_EQ("NAIVE", discbuilder::DictionaryIndexWord("Na\xEFve"));
    const discbuilder::DictionaryFiles files = discbuilder::BuildDictionary(entries);
    std::map<std::string, std::string> leadsTo;  // index word -> headword of its entry
    for (const discbuilder::DictionaryIndexEntry& item : files.index)
        for (std::size_t i = 0; i < files.entries.size(); ++i)
            if (files.entryOffsets[i] == item.offset)
                leadsTo[item.word] = files.entries[i].headword;
    EXPECT_EQ("Attach", leadsTo["ATTACH"]);
    EXPECT_EQ("Attach", leadsTo["ATTACHING"]);
    EXPECT_EQ("Attach\xE9", leadsTo["ATTACHE"]);
    EXPECT_EQ("Attached", leadsTo["ATTACHED"]) << "a headword of its own comes before another entry's";
    EXPECT_EQ(4u, files.index.size());
    EXPECT_THROW(discbuilder::ParseDictionarySource("@+ Early\n@ Word\n"), std::runtime_error);
}

TEST_F(DictionaryRealTest, EncodingKeepsTheCodeBytesOutOfTheText)
{
    struct Case {
        std::string in, out;
    } cases[] = {
        {"caf\xC3\xA9 na\xC3\xAFve", "caf\xE9 na\xEFve"},            // é, ï stay
        {"\xC3\x80 la \xC3\x86sop \xC2\xBD", "A la AEsop 1/2"},     // À, Æ, ½ are codes: transliterated
        {"\xC3\xBF \xE2\x80\x94 \xE2\x88\x9A", "y \x97 ?"},          // ÿ is a code; em dash; no root sign
        {"**bold** and *italic*", "\xB3" "bold\xB4 and \xB6italic\xB4"},
        {"a \\*star\\* \x01", "a *star*  "},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.out, discbuilder::EncodeDictionaryText(c.in)) << c.in;
    const auto entries = discbuilder::ParseDictionarySource("# comment\n@ ice, cream | n.\nA *sweet*.\n> quoted\n");
    ASSERT_EQ(1u, entries.size());
    EXPECT_EQ("ice  cream", entries[0].headword) << "a comma would end the headword early";
    EXPECT_EQ("\tquoted", entries[0].lines[1]);
    EXPECT_THROW(discbuilder::ParseDictionarySource("text before\n@ word\n"), std::runtime_error);
    EXPECT_THROW(discbuilder::ParseDictionarySource("@ | rest\n"), std::runtime_error);
    // Lines past the reader's line buffer are split, never cut.
    discbuilder::DictionaryEntry longEntry = discbuilder::MakeDictionaryEntry("long", "", {std::string(3000, 'w') + " end"});
    const discbuilder::DictionaryFiles files = discbuilder::BuildDictionary({longEntry});
    std::istringstream lines(files.definitions);
    std::string line;
    std::size_t total = 0;
    while (std::getline(lines, line)) {
        EXPECT_LE(line.size(), discbuilder::kDictMaxLine);
        total += line.size();
    }
    EXPECT_GT(total, 3000u);
}
