// The dictionary index engine over indexes written by the disc builder: suffix passes, nearest
// word, block boundaries, and damaged index files.
#include "DictionaryTestSupport.h"

#include <random>

namespace {

// Filler words spread over the alphabet, so that the index has many blocks.
std::vector<std::string> FillerWords(int count)
{
    std::vector<std::string> words;
    for (int i = 0; i < count; ++i) {
        std::string word(1, static_cast<char>('a' + i % 26));
        int n = i / 26;
        for (int k = 0; k < 4; ++k) {
            word += static_cast<char>('a' + n % 26);
            n /= 26;
        }
        words.push_back(word + "ix");
    }
    return words;
}

std::vector<std::string> TestWords()
{
    std::vector<std::string> words = FillerWords(3000);
    for (const char* w : {"a", "apple", "applesauce", "apply", "berry", "box", "cat", "walk", "tall", "pie", "ice",
                          "ice cream", "zero", "zyzzyva", "line", "church", "dish", "O'Brien"})
        words.push_back(w);
    words.push_back(std::string(59, 'q'));
    words.push_back(std::string(60, 'q'));
    return words;
}

class DictionaryEngineTest : public DictionaryTest {};

}  // namespace

TEST_F(DictionaryEngineTest, WordsInEntriesOut)
{
    WriteWords(TestWords());
    ASSERT_GT(m_files.masterIndex.size() / 6, 40u) << "the index spans many blocks";
    CDictionarySearchEngine engine;
    const std::string longWord = std::string(70, 'q');
    const std::string first = m_files.entries.front().headword;
    const std::string last = m_files.entries.back().headword;
    struct Case {
        std::string word, expected;
    } cases[] = {
        {"apple", "apple"},         {"APPLE", "apple"},      {"apples", "apple"},     {"berries", "berry"},
        {"boxes", "box"},           {"cats", "cat"},         {"walked", "walk"},      {"walking", "walk"},
        {"taller", "tall"},         {"tallest", "tall"},     {"pies", "pie"},         {"lines", "line"},
        {"churches", "church"},     {"dishes", "dish"},      {"ice-cream", "ice cream"}, {"ice cream", "ice cream"},
        {"I.C.E. CREAM", "ice cream"}, {"obrien", "O'Brien"}, {"o'brien", "O'Brien"},
        // Nearest words: the previous entry only when it shares strictly more.
        {"applz", "apply"},         {"applf", "apply"},      {"applesauces", "applesauce"},
        {"zzzzzz", last},           {"", first},             {"!!!", first},
        // Cut to 59 characters before anything else.
        {longWord, std::string(59, 'q')},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.expected, LookUpHeadword(engine, c.word.c_str())) << "looking up \"" << c.word << "\"";
    EXPECT_TRUE(engine.IsIndexOpen()) << "the main index stays open between look-ups";
}

TEST_F(DictionaryEngineTest, EveryIndexWordFindsItsOwnEntry)
{
    WriteWords(TestWords());
    CDictionarySearchEngine engine;
    for (const discbuilder::DictionaryIndexEntry& item : m_files.index) {
        if (item.word.size() > CDictionarySearchEngine::kMaxKey)
            continue;
        ASSERT_EQ(item.offset, engine.LookUp(item.word.c_str())) << item.word;
    }
}

TEST_F(DictionaryEngineTest, SuffixRulesInOrder)
{
    struct Case {
        const char *in, *out;
        int kind;
    } cases[] = {
        {"BERRIES", "BERRIE", CDictionarySearchEngine::kSuffixIE},
        {"BOXES", "BOX", CDictionarySearchEngine::kSuffixOther},
        {"BUZZES", "BUZZ", CDictionarySearchEngine::kSuffixOther},
        {"CHURCHES", "CHURCH", CDictionarySearchEngine::kSuffixOther},
        {"WISHES", "WISH", CDictionarySearchEngine::kSuffixOther},
        {"LINES", "LINE", CDictionarySearchEngine::kSuffixOther},
        {"CATS", "CAT", CDictionarySearchEngine::kSuffixPlainS},
        {"WALKED", "WALK", CDictionarySearchEngine::kSuffixOther},
        {"SINGING", "SING", CDictionarySearchEngine::kSuffixOther},
        {"TALLER", "TALL", CDictionarySearchEngine::kSuffixOther},
        {"TALLEST", "TALL", CDictionarySearchEngine::kSuffixOther},
        {"ES", "E", CDictionarySearchEngine::kSuffixOther},
        {"S", "", CDictionarySearchEngine::kSuffixPlainS},
        {"IN", "IN", CDictionarySearchEngine::kNoSuffix},
        {"", "", CDictionarySearchEngine::kNoSuffix},
    };
    for (const Case& c : cases) {
        char word[60];
        strcpy(word, c.in);
        EXPECT_EQ(c.kind, CDictionarySearchEngine::StripSuffix(word)) << c.in;
        EXPECT_STREQ(c.out, word) << c.in;
    }
    char filtered[] = "Ice-cream, o'Brien's 4x4!";
    CDictionarySearchEngine::KeepLettersAndDigits(filtered);
    EXPECT_STREQ("ICECREAMOBRIENS4X4", filtered);
}

TEST_F(DictionaryEngineTest, ExactModeAnswersZeroWithoutAMatch)
{
    WriteWords({"apple", "berry", "cherry"});
    CDictionarySearchEngine engine;
    engine.m_nLookUpMode = 2;
    EXPECT_EQ(0u, engine.LookUp("banana"));
    EXPECT_EQ("berry", LookUpHeadword(engine, "berries"));
    EXPECT_EQ(0u, engine.LookUp("zebra"));
}

TEST_F(DictionaryEngineTest, CloseAndReopenTheMainIndex)
{
    WriteWords({"apple", "berry"});
    CDictionarySearchEngine engine;
    EXPECT_FALSE(engine.Reopen()) << "no path before the first look-up";
    EXPECT_EQ("berry", LookUpHeadword(engine, "berry"));
    engine.Close();
    EXPECT_FALSE(engine.IsIndexOpen());
    EXPECT_TRUE(engine.Reopen());
    EXPECT_EQ("apple", LookUpHeadword(engine, "apple"));
}

TEST_F(DictionaryEngineTest, MissingOrDamagedIndexesAbandonWithTheirMessage)
{
    const std::string goodMaster = WriteWords(TestWords()).masterIndex;
    std::string badShared = goodMaster;
    badShared[6] = static_cast<char>(196);
    std::string badFirst = goodMaster;
    badFirst[0] = 3;
    struct Case {
        const char* what;
        std::function<void()> damage;
        const char* message;
    } cases[] = {
        {"no main index", [&] { std::filesystem::remove(DataFolder() / "dicmain.ndx"); }, "Error opening dictionary_ndx_file"},
        {"no master index", [&] { std::filesystem::remove(DataFolder() / "dicmstr.ndx"); }, "Error opening dictionary_ndx_file"},
        {"empty master index", [&] { WriteDataFile("dicmstr.ndx", ""); }, "Error reading master index file"},
        {"shared count above 195", [&] { WriteDataFile("dicmstr.ndx", badShared); }, "Error reading master index file"},
        {"first entry not afresh", [&] { WriteDataFile("dicmstr.ndx", badFirst); }, "Error reading master index file"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        discbuilder::WriteDictionary(m_files, DataFolder());
        c.damage();
        CDictionarySearchEngine engine;
        host::AnswerMessageBox(c.message, IDOK);
        bool abandoned = false;
        try {
            engine.LookUp("apple");
        } catch (CUserException* e) {
            e->Delete();
            abandoned = true;
        }
        EXPECT_TRUE(abandoned);
        EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
    }
}

TEST_F(DictionaryEngineTest, DamagedMainIndexNeverReadsPastItsBlocks)
{
    WriteWords(TestWords());
    const std::string good = m_files.mainIndex;
    CDictionarySearchEngine engine;
    // Truncated in the middle of an entry, a length byte that overruns its block, all zeros.
    std::string overrun = good;
    overrun[4] = static_cast<char>(250);
    for (const std::string& bytes : {good.substr(0, good.size() / 2 + 7), overrun, std::string(good.size(), '\0'),
                                     good.substr(0, 3)}) {
        WriteDataFile("dicmain.ndx", bytes);
        engine.Close();
        for (const char* word : {"apple", "zyzzyva", "", "mmmm"})
            engine.LookUp(word);
    }
    // Random damage: no crash, no read outside the buffer.
    std::mt19937 random(36);
    for (int round = 0; round < 40; ++round) {
        std::string damaged = good;
        for (int k = 0; k < 60; ++k)
            damaged[random() % damaged.size()] = static_cast<char>(random() % 256);
        WriteDataFile("dicmain.ndx", damaged);
        engine.Close();
        for (const char* word : {"apple", "kaaaix", "zzz"})
            engine.LookUp(word);
    }
}
