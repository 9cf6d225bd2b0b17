// The subject index: the query normaliser, the writer's block layout read back by the engine,
// match classes and ranking on a small fixture index, and damaged index files.
#include "TopicTestSupport.h"

#include "search/SubjectNormalizer.h"
#include "search/TopicEngine.h"

#include "base/HitList.h"
#include "base/ReferenceList.h"
#include "base/TPReference.h"

#include <cstring>
#include <set>

namespace {

std::uint16_t U16(const std::string& s, std::size_t at)
{
    return static_cast<std::uint16_t>(static_cast<unsigned char>(s[at]) | static_cast<unsigned char>(s[at + 1]) << 8);
}

class SubjectIndexTest : public TopicTest {
protected:
    void Open(const std::vector<discbuilder::SubjectHeading>& headings)
    {
        WriteSubjects(headings);
        ASSERT_TRUE(OpenSubjectIndex());
    }
};

TEST(SubjectNormalizerTest, QueriesNormaliseAsTheIndexStoresTitles)
{
    struct Case {
        const char* text;
        const char* normal;
        int suffix;
        bool comma;
    };
    const Case cases[] = {
        {"The Beatles'", "BEATLES", subject_text::kSuffixNone, false},
        {"BEATLES", "BEATLES", subject_text::kSuffixNone, false},
        {"Smith, John Jr.", "SMITH, JOHN", subject_text::kSuffixJr, true},
        {"John Smith Sr", "JOHN SMITH", subject_text::kSuffixSr, false},
        {"Jr Smith", "JR SMITH", subject_text::kSuffixNone, false},  // the first word is no suffix
        {"cities", "CITY", subject_text::kSuffixNone, false},
        {"Cities, ancient", "CITY, ANCIENT", subject_text::kSuffixNone, true},
        {"ies", "IES", subject_text::kSuffixNone, false},  // not after the first character
        {"Newton's laws", "NEWTON LAWS", subject_text::kSuffixNone, false},
        {"rock 'n' roll", "ROCK N ROLL", subject_text::kSuffixNone, false},
        {"U.S. Army", "US ARMY", subject_text::kSuffixNone, false},
        {"St. Louis", "ST LOUIS", subject_text::kSuffixNone, false},
        {"3.5 inch", "3 5 INCH", subject_text::kSuffixNone, false},
        {"Napoleon [emperor]", "NAPOLEON", subject_text::kSuffixNone, false},
        {"  a   volcano  ", "VOLCANO", subject_text::kSuffixNone, false},
        {"An apple", "APPLE", subject_text::kSuffixNone, false},
        {"The", "THE", subject_text::kSuffixNone, false},
        {"X-ray (medicine)", "X-RAY MEDICINE", subject_text::kSuffixNone, false},
        {"one, two, three", "ONE, TWO THREE", subject_text::kSuffixNone, true},
        {"trailing,", "TRAILING", subject_text::kSuffixNone, false},
        {"a,b", "A, B", subject_text::kSuffixNone, true},
        {"caf\xE9", "CAF\xC9", subject_text::kSuffixNone, false},
        {"", "", subject_text::kSuffixNone, false},
    };
    for (const Case& c : cases) {
        const subject_text::NormalizedText n = subject_text::Normalize(c.text);
        EXPECT_EQ(c.normal, n.text) << c.text;
        EXPECT_EQ(c.suffix, n.suffix) << c.text;
        EXPECT_EQ(c.comma, n.comma) << c.text;
    }

    const std::pair<const char*, const char*> inverted[] = {
        {"JOHN KENNEDY", "KENNEDY, JOHN"},
        {"JOHN F KENNEDY", "KENNEDY, JOHN F"},
        {"DUKE OF WELLINGTON", "WELLINGTON, DUKE OF"},
        {"POPE JOHN PAUL II", "PAUL II, POPE JOHN"},
        {"HENRY VIII", ""},
        {"VOLCANO", ""},
        {"KING OF", ""},
    };
    for (const auto& [query, expected] : inverted)
        EXPECT_EQ(expected, subject_text::MakeInvertedQuery(query)) << query;
}

TEST_F(SubjectIndexTest, TheWritersBlocksAndMasterKeysReadBack)
{
    // Enough headings for many blocks, with long and short records.
    std::vector<discbuilder::SubjectHeading> headings;
    for (int i = 0; i < 1500; ++i)
        headings.push_back(Heading("Topic " + std::to_string(100000 + i * 7), 1 + i % 9));
    const auto& files = WriteSubjects(headings);
    ASSERT_EQ(0u, files.subject.size() % discbuilder::kSubjectBlock);
    const std::size_t blocks = files.subject.size() / discbuilder::kSubjectBlock;
    ASSERT_GT(blocks, 10u);
    ASSERT_EQ(blocks * 6, files.master.size()) << "one master key per block";

    // Walk the file as the reader does: every block starts with the marker, no record straddles
    // two blocks, the first record of block i is master key i's title, a 0 length ends it all.
    std::vector<std::string> firstTitles;
    std::size_t pos = std::strlen(discbuilder::kSubjectMarker), records = 0;
    for (std::size_t b = 0; b < blocks; ++b)
        ASSERT_EQ(discbuilder::kSubjectMarker, files.subject.substr(b * discbuilder::kSubjectBlock, 11)) << b;
    firstTitles.push_back(files.subject.c_str() + pos + 10);
    while (U16(files.subject, pos) != 0) {
        const std::size_t length = U16(files.subject, pos);
        const std::size_t next = pos + length;
        ASSERT_GE(length, 12u);
        const std::size_t block = pos / discbuilder::kSubjectBlock;
        const std::string title = files.subject.c_str() + pos + 10;
        ASSERT_EQ(files.titles[records], title);
        ++records;
        if (next / discbuilder::kSubjectBlock != block) {
            ASSERT_EQ((block + 1) * discbuilder::kSubjectBlock + 11, next) << "an extended record ends at the next marker";
            firstTitles.push_back(files.subject.c_str() + next + 10);
        }
        pos = next;
    }
    EXPECT_EQ(headings.size(), records);
    ASSERT_EQ(blocks, firstTitles.size());
    std::string previous;
    for (std::size_t b = 0; b < blocks; ++b) {
        const std::size_t shared = static_cast<unsigned char>(files.master[b * 6]);
        std::string key = previous.substr(0, shared);
        for (int k = 1; k <= 5 && files.master[b * 6 + k] != 0; ++k)
            key += files.master[b * 6 + k];
        EXPECT_EQ(firstTitles[b].substr(0, key.size()), key) << "master key " << b;
        previous = key;
    }

    // The engine finds every title as an exact match wherever its block lies.
    ASSERT_TRUE(OpenSubjectIndex());
    for (std::size_t i = 0; i < headings.size(); i += 37) {
        const std::vector<SubjectResultInfo> results = Results(headings[i].display);
        ASSERT_FALSE(results.empty()) << headings[i].display;
        EXPECT_EQ(1, results[0].nClass);
        EXPECT_EQ(headings[i].display, std::string(results[0].strDisplay));
    }
    // The first and the last title, and one beyond every key.
    EXPECT_EQ(1u, Results(headings.front().display).size());
    EXPECT_EQ(1u, Results(headings.back().display).size());
    EXPECT_TRUE(Results("Zzzz").empty());
    EXPECT_TRUE(Results("Aaaa").empty());
}

TEST_F(SubjectIndexTest, MatchClassesAndRankingOnAFixtureIndex)
{
    Open({
        Heading("City", 3),
        Heading("City planning", 9),
        Heading("Horse", 2),
        Heading("Horse racing", 4),
        Heading("Box", 1),
        Heading("Kennedy, John", 5),
        Heading("Kennedy, John F.", 8),
        Heading("Kennedy Space Center", 2),
        Heading("Henry VIII", 6),
        Heading("Smith, John", 3, 0x40 | 0x08),  // the elder: not wanted by a query with JR
        Heading("Smith, John Jr.", 2),
        Heading("Napoleon [general]", 4),
        Heading("Napoleon [emperor]", 2),
        Heading("Volcano", 3),
        Heading("Volcano eruptions", 7),
        Heading("Mud volcano", 2),
        Heading("Jet-lag", 2),
        Heading("Lake", 10),
        Heading("Lake [large]", 180),
    });

    struct Expect {
        const char* display;
        int nClass;
        int plural;
    };
    struct Case {
        const char* query;
        std::vector<Expect> results;  // in order
    };
    const Case cases[] = {
        {"CITIES", {{"City", 1, 0}, {"City planning", 2, 0}}},
        {"horses", {{"Horse", 1, 1}, {"Horse racing", 2, 1}}},
        {"BOXES", {{"Box", 1, 2}}},
        {"volcano", {{"Volcano", 1, 0}, {"Volcano eruptions", 2, 0}}},
        {"the volcanoes", {{"Volcano", 1, 2}, {"Volcano eruptions", 2, 2}}},
        {"jet", {{"Jet-lag", 2, 0}}},
        {"John Kennedy", {{"Kennedy, John F.", 1, 0}, {"Kennedy, John", 1, 0}}},
        // Typed inverted: the heading whose title is the query itself moves to the top.
        {"Kennedy, John", {{"Kennedy, John", 1, 0}, {"Kennedy, John F.", 1, 0}}},
        {"Henry VIII", {{"Henry VIII", 1, 0}}},
        {"Smith, John Jr.", {{"Smith, John Jr.", 1, 0}}},
        {"Napoleon [emperor]", {{"Napoleon [emperor]", 1, 0}, {"Napoleon [general]", 1, 0}}},
        {"Napoleon [gen]", {{"Napoleon [general]", 1, 0}, {"Napoleon [emperor]", 1, 0}}},
        {"nothing like it", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.query);
        const std::vector<SubjectResultInfo> results = Results(c.query);
        ASSERT_EQ(c.results.size(), results.size()) << ::testing::PrintToString(Displays(results));
        for (std::size_t i = 0; i < results.size(); ++i) {
            EXPECT_EQ(c.results[i].display, std::string(results[i].strDisplay)) << i;
            EXPECT_EQ(c.results[i].nClass, results[i].nClass) << i;
            EXPECT_EQ(c.results[i].plural, results[i].nPluralLength) << i;
        }
    }

    // The query as the engine took it.
    Results("Smith, John Jr.");
    EXPECT_STREQ("SMITH, JOHN", GetSubjectQuery());
    EXPECT_EQ(subject_text::kSuffixJr, GetSubjectQuerySuffix());
    Results("Henry VIII");
    EXPECT_STREQ("", GetSubjectInvertedQuery()) << "no inverted pass";

    // A heading with 180 sub-entries scores 180 x 10 x 1.2 = 2,160: it ranks above one with ten,
    // and the score keeps its value.
    const std::vector<SubjectResultInfo> lakes = Results("lake");
    ASSERT_EQ(2u, lakes.size());
    EXPECT_STREQ("Lake [large]", lakes[0].strDisplay);
    EXPECT_EQ(2160, lakes[0].nScore);
    EXPECT_EQ(120, lakes[1].nScore);
}

TEST_F(SubjectIndexTest, TopicReferencesCarryTheirSubEntries)
{
    discbuilder::SubjectHeading volcano = Heading("Volcano", 0);
    volcano.entries = {{1002, 0x3000205u, 0, "Volcano"},
                       {1002, 0x0000001u, 3, "Where volcanoes form"},
                       {discbuilder::kSubjectSeeAlso, 0, 0, "Great Lakes"},
                       {discbuilder::kSubjectSee, 0, 0, "Lava"},
                       {0, 0, 0, "An entry without a target"},
                       {999999, 0, 0, "Not on the disc"}};
    Open({volcano, Heading("Lava", 1)});
    LoadRomLink({1002, 1006});

    CTopicEngine engine;
    CReferenceList list;
    engine.Search("volcano", &list);
    ASSERT_EQ(1, list.GetCount());
    CTPReference* topic = DYNAMIC_DOWNCAST(CTPReference, list.GetAtIndex(0));
    ASSERT_NE(nullptr, topic);
    EXPECT_STREQ("Volcano", topic->GetTitle());
    EXPECT_EQ(6, topic->GetEntryCount());
    CReferenceList* subs = topic->GetSubList();
    ASSERT_NE(nullptr, subs);
    ASSERT_EQ(6, subs->GetCount());

    struct Expect {
        const char* title;
        LONG number;
        LONG entryCode;
        DWORD hit;
        int label;
    };
    const Expect expected[] = {
        {"Volcano", 1002, REFENTRY_RESULT, 0x3000205u, 0},
        {"Where volcanoes form", 1002, REFENTRY_RESULT, 1, 3},
        {"See also Great Lakes", 0, REFENTRY_RESULT, 0, 0},
        {"See Lava", 0, REFENTRY_RESULT, 0, 0},
        {"An entry without a target", 0, REFENTRY_UNPLACED, 0, 0},
        {"Not on the disc", 1, REFENTRY_RESULT, 0, 0},  // placed by the default record of its range
    };
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(i);
        CTPReference* sub = DYNAMIC_DOWNCAST(CTPReference, subs->GetAtIndex(i));
        ASSERT_NE(nullptr, sub);
        EXPECT_STREQ(expected[i].title, sub->GetTitle());
        EXPECT_EQ(expected[i].number, sub->GetNumber());
        EXPECT_EQ(expected[i].entryCode, sub->GetEntryCode());
        EXPECT_EQ(REFKIND_ARTICLE, sub->GetKind());
        EXPECT_EQ(expected[i].label, sub->GetMediaNoteIndex());
        CHitList* hits = DYNAMIC_DOWNCAST(CHitList, sub->GetData());
        ASSERT_NE(nullptr, hits);
        ASSERT_EQ(1, hits->GetCount());
        EXPECT_EQ(expected[i].hit, hits->GetAt(0)->GetValue());
    }
    EXPECT_EQ(2, subs->GetAtIndex(0)->GetBlock()) << "1002 placed at its block";
}

TEST_F(SubjectIndexTest, LongQueriesAndCrowdedIndexesStayInBounds)
{
    // Thousands of short headings that all begin with the query's word: the result table keeps
    // its 2,000 best and the list its 100.
    std::vector<discbuilder::SubjectHeading> headings;
    for (int i = 0; i < 4000; ++i) {
        discbuilder::SubjectHeading h;
        h.display = "Q " + std::to_string(i);
        headings.push_back(h);
    }
    Open(headings);
    const std::vector<SubjectResultInfo> results = Results("q");
    EXPECT_EQ(100u, results.size());
    for (const SubjectResultInfo& r : results)
        EXPECT_EQ(2, r.nClass);

    // A query longer than the query buffer is cut, with a message, and still searched.
    const std::string longQuery = "Q 12 " + std::string(400, 'x');
    std::vector<std::string> boxes = BoxesOf([&] { Results(longQuery); });
    EXPECT_EQ(std::vector<std::string>{SUBJECT_MSG_QUERY_TOO_LONG}, boxes);
    EXPECT_EQ(199, GetSubjectQuery().GetLength() + 0) << "cut to the buffer";
}

TEST_F(SubjectIndexTest, DamagedIndexFilesGiveMessagesNotCrashes)
{
    const std::vector<discbuilder::SubjectHeading> headings = [] {
        std::vector<discbuilder::SubjectHeading> h;
        for (int i = 0; i < 600; ++i)
            h.push_back(Heading("Entry " + std::to_string(1000 + i), 3));
        return h;
    }();
    struct Case {
        const char* name;
        const char* file;
        std::function<void(std::string&)> damage;  // null: the file is missing
        bool opens;
        std::vector<std::string> messages;  // of the open, then of a search
        const char* query = nullptr;          // searched first when given
    };
    auto setLength = [](std::string& s, std::size_t at, int length) {
        s[at] = static_cast<char>(length & 0xFF);
        s[at + 1] = static_cast<char>((length >> 8) & 0xFF);
    };
    const Case cases[] = {
        {"no master index", "MASTER.NDX", nullptr, false, {">>> Error opening master index file"}},
        {"no subject index", "SSUBJECT.NDX", nullptr, false, {">>> Error opening sorted subject index file"}},
        {"empty master index", "MASTER.NDX", [](std::string& s) { s.clear(); }, false, {">>> Error reading master index file"}},
        {"master prefix beyond its key", "MASTER.NDX", [](std::string& s) { s[6] = static_cast<char>(200); }, false,
         {">>> Error reading master index file"}},
        {"first master entry with a prefix", "MASTER.NDX", [](std::string& s) { s[0] = 3; }, false,
         {">>> Error reading master index file"}},
        {"no markers", "SSUBJECT.NDX", [](std::string& s) {
             for (std::size_t at = 0; at < s.size(); at += discbuilder::kSubjectBlock)
                 s.replace(at, 11, "%FIRST-XXX%");
         }, true,
         {">>> First record indicator not found in subject index"}},
        {"record length below the smallest record", "SSUBJECT.NDX", [&](std::string& s) { setLength(s, 11, 3); }, true,
         {SUBJECT_MSG_DAMAGED_RECORD}},
        {"negative record length", "SSUBJECT.NDX", [&](std::string& s) { setLength(s, 11, -40); }, true,
         {SUBJECT_MSG_DAMAGED_RECORD}},
        {"title without its end", "SSUBJECT.NDX",
         [&](std::string& s) {
             for (std::size_t i = 21; i < 21 + 40; ++i)
                 if (s[i] == 0)
                     s[i] = 'X';
             setLength(s, 11, 30);
         },
         true, {SUBJECT_MSG_DAMAGED_RECORD}},
        {"record running past the file", "SSUBJECT.NDX", [&](std::string& s) { setLength(s, 11, 30000); }, true, {}},
        {"cut in a record", "SSUBJECT.NDX", [](std::string& s) { s.resize(300); }, true, {}},
        // More keys than 2^31 / 6,144 blocks: a query that sorts after every key names a block
        // whose position a 32-bit product would wrap.
        {"master index longer than the subject index", "MASTER.NDX",
         [](std::string& s) {
             const std::string last = s.substr(s.size() - 6);
             s.reserve(s.size() + 6 * 400000);
             for (int i = 0; i < 400000; ++i)
                 s += last;
         },
         true, {SUBJECT_MSG_DAMAGED_RECORD}, "zzzz"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteSubjects(headings);
        if (c.damage) {
            std::string bytes = ReadData(c.file);
            c.damage(bytes);
            WriteData(c.file, bytes);
        } else {
            std::filesystem::remove(DataFolder() / c.file);
        }
        BOOL opened = FALSE;
        std::vector<std::string> boxes = BoxesOf([&] { opened = OpenSubjectIndex(); });
        EXPECT_EQ(c.opens, opened != FALSE);
        if (opened) {
            std::vector<std::string> more = BoxesOf([&] {
                if (c.query != nullptr)
                    Results(c.query);
                Results("Entry 1000");
                Results("entry");
            });
            boxes.insert(boxes.end(), more.begin(), more.end());
        }
        // One message per search at most; the first search shows it.
        if (!c.messages.empty()) {
            ASSERT_FALSE(boxes.empty());
            EXPECT_EQ(c.messages[0], boxes[0]);
        } else {
            EXPECT_TRUE(boxes.empty()) << ::testing::PrintToString(boxes);
        }
        CloseSubjectIndex();
    }
}

}  // namespace
