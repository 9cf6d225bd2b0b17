// The content database as written for a disc: its schema against what the program's record
// sets bind and run, and the rows of the helpers.
#include <gtest/gtest.h>

#include "../../../platform/mfc/src/DaoSql.h"
#include "ContentDatabaseWriter.h"
#include "TempDir.h"

#include <map>
#include <set>

using namespace discbuilder;
using daosql::Cursor;
using daosql::CursorType;
using daosql::QuerySpec;
using daosql::ValueToText;

namespace {

// Every table and column that the program's record sets bind, with the type they bind it as.
struct Expected {
    const char* table;
    const char* column;
    const char* type;
};
const Expected kBound[] = {
    {"Flag File", "RIT", "TEXT(255)"},
    {"Flag File", "Type", "TEXT(255)"},
    {"Flag File", "URL", "TEXT(255)"},
    {"Flag File", "Article TimeStamp", "TEXT(255)"},
    {"Flag File", "Title", "TEXT(255)"},
    {"Flag File", "Category", "TEXT(255)"},
    {"Flag File", "Description", "TEXT(255)"},
    {"Flag File", "Graphics List", "TEXT(255)"},
    {"Flag File", "Year", "DOUBLE"},
    {"Flag File Keyword", "RIT", "TEXT(255)"},
    {"Flag File Keyword", "Keyword", "TEXT(255)"},
    {"Flag File MTL", "MTL Number", "TEXT(255)"},
    {"Flag File MTL", "RIT", "TEXT(255)"},
    {"First Line", "Rin Code", "TEXT(255)"},
    {"First Line", "First Line", "TEXT(255)"},
    {"Dada Vaveroz Data", "Title", "TEXT(255)"},
    {"Dada Vaveroz Data", "Rin Code", "TEXT(255)"},
    {"Dada Vaveroz Data", "Category", "TEXT(255)"},
    {"Dada Vaveroz Data", "Content", "TEXT(255)"},
    {"Dada Vaveroz Data", "Which CD", "TEXT(255)"},
    {"Dada Vaveroz Data", "Show In JustLooking", "TEXT(255)"},
    {"Dada Vaveroz Data", "Random", "LONG"},
    {"Dada Vaveroz Data", "RandomCategory", "SHORT"},
    {"Dada Vaveroz Data", "RandomContent", "LONG"},
    {"Dada Vaveroz Data", "RandomCategoryContent", "SHORT"},
    {"Dada Vaveroz Data", "RandomMedia", "SHORT"},
    {"Dada Vaveroz Data", "RandomCategoryMedia", "SHORT"},
    {"Dada Vaveroz Stats", "Content", "TEXT(255)"},
    {"Dada Vaveroz Stats", "ALL", "LONG"},
    {"Dada Vaveroz Stats", "GEO", "SHORT"},
    {"Dada Vaveroz Stats", "HIS", "SHORT"},
    {"Dada Vaveroz Stats", "HUM", "SHORT"},
    {"Dada Vaveroz Stats", "IND", "SHORT"},
    {"Dada Vaveroz Stats", "LIF", "SHORT"},
    {"Dada Vaveroz Stats", "PHY", "SHORT"},
    {"Dada Vaveroz Stats", "REC", "SHORT"},
    {"Dada Vaveroz Stats", "SOC", "SHORT"},
    {"Our Century List", "Item", "TEXT(255)"},
    {"System Table", "Last Flag Increment", "TEXT(255)"},
    {"Timelines", "RIN", "LONG"},
    {"Timelines", "Title", "TEXT(255)"},
    {"Timelines", "Article RIN", "LONG"},
    {"Timelines", "Article Title", "TEXT(255)"},
    {"Table Data", "Key Value", "TEXT(255)"},
    {"Table Data", "String Key", "TEXT(255)"},
    {"Table Data", "Number Key", "LONG"},
};

// The statements the record sets run: default SQL, bound columns, filter, sort, parameters.
struct Statement {
    QuerySpec spec;
    daosql::Parameters params;
    std::vector<std::string> rows;  // first bound column of each row
};

class ContentDatabaseFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        path = (dir.path() / ContentDatabaseWriter::kFileName).string();
        ContentDatabaseWriter w(path);
        FlagFileEntry war{"yb01941", "OC", "", "19990101120000", "War's End (1945)", "HIS", "Peace at last", "",
                          1945, {}, {"100001", "100002"}};
        FlagFileEntry museum{"ws000001", "WS", "http://museum.example/", "19990101120000", "The Museum", "HUM",
                             "Collections", "", 0, {"art", "History", "museum"}, {"100001"}};
        FlagFileEntry space{"ol000003", "OL", "", "19990102120000", "Space Race", "phy", "Rockets", "", 1969,
                            {"history", "space"}, {"100003"}};
        w.AddFlagFileEntry(war);
        w.AddFlagFileEntry(museum);
        w.AddFlagFileEntry(space);
        w.AddFirstLine("0001234", "Aardvarks dig.");
        w.AddTimeline(5, "Flight", 1234, "Aviation");
        w.AddOurCenturyItem("War's End");
        w.SetLastFlagIncrement("flg00007.inc");
        w.AddTableData("Dada Vaveroz Records-8C", "", 3);
        const DadaVaverozItem items[] = {
            {"Zulu", "1000001", "HIS", "Artcl"},    {"alps", "1000002", "GEO", "Pict"},
            {"Apollo", "1000003", "PHY", "Video"},  {"Ballet", "1000004", "HUM", "Animt"},
            {"Bach", "1000005", "HUM", "PicSnd"},   {"Cells", "1000006", "LIF", "Simul"},
            {"Colosseum", "1000007", "HIS", "VirRel", "2", "N"},
            {"Congo", "1000008", "GEO", "Map"},     {"Dancing", "1000009", "REC", "TimeLine"},
            {"Deco", "1000010", "HUM", "Pict"},
        };
        for (const auto& i : items)
            w.AddDadaVaverozItem(i);
        w.FinishDadaVaveroz(7);
        w.Close();
        db = std::make_unique<daosql::Connection>(path, daosql::OpenOptions{});
    }

    std::vector<std::string> Run(const Statement& s)
    {
        Cursor c(*db, s.spec, {CursorType::Dynaset}, s.params);
        std::vector<std::string> out;
        for (; !c.IsEOF(); c.MoveNext())
            out.push_back(ValueToText(c.Get(0)));
        return out;
    }

    TempDir dir;
    std::string path;
    std::unique_ptr<daosql::Connection> db;
};

TEST_F(ContentDatabaseFixture, SchemaHasEveryBoundColumnWithItsType)
{
    std::map<std::string, std::map<std::string, std::string>> schema;
    for (const auto& t : db->TableNames())
        for (const auto& [name, type] : db->Columns(t))
            schema[t][name] = type;
    std::set<std::string> tables;
    for (const Expected& e : kBound) {
        SCOPED_TRACE(std::string(e.table) + "." + e.column);
        tables.insert(e.table);
        ASSERT_TRUE(schema.count(e.table));
        ASSERT_TRUE(schema[e.table].count(e.column));
        EXPECT_EQ(schema[e.table][e.column], e.type);
    }
    // No table or column that no record set reads.
    std::size_t columns = 0;
    for (auto& [t, cols] : schema) {
        EXPECT_TRUE(tables.count(t)) << t;
        columns += cols.size();
    }
    EXPECT_EQ(columns, std::size(kBound));
}

TEST_F(ContentDatabaseFixture, EveryRecordSetStatementRuns)
{
    const std::vector<std::string> flagColumns = {"[RIT]",   "[Type]",        "[URL]",
                                                  "[Article TimeStamp]", "[Title]", "[Category]",
                                                  "[Description]",       "[Graphics List]", "[Year]"};
    const std::vector<std::string> randomColumns = {"[Title]", "[Rin Code]", "[Category]"};
    const std::vector<std::string> randomParams = {"CategoryParam", "ContentParam", "Bottom", "Top"};
    const std::string mediaList = "In ('Animt','Map','PicSnd','Pict','Simul','Video','VirRel')";
    auto range = [](long lo, long hi) {
        return daosql::Parameters{{"Bottom", std::int64_t{lo}}, {"Top", std::int64_t{hi}}};
    };
    auto with = [](daosql::Parameters p, const char* name, const char* value) {
        p.push_back({name, std::string(value)});
        return p;
    };
    const Statement statements[] = {
        // Online extras: the flag file joined with the topic numbers.
        {{"SELECT DISTINCTROW [Flag File MTL].RIT AS RIT, [Flag File].Type AS TYPE, [Flag File].Title AS TITLE, "
          "[Flag File].Description AS DESCRIPTION, [Flag File MTL].[MTL Number] AS MTL FROM [Flag File] INNER JOIN "
          "[Flag File MTL] ON [Flag File].RIT = [Flag File MTL].RIT WHERE (([Flag File MTL].[MTL Number]='100001'));",
          {"RIT", "TYPE", "TITLE", "DESCRIPTION", "MTL"}, "", "", {}},
         {},
         {"yb01941", "ws000001"}},
        {{"[Flag File]", flagColumns, "RIT = 'WS000001'", "", {}}, {}, {"ws000001"}},
        {{"[Flag File]", flagColumns, "RIT='ol000003'", "", {}}, {}, {"ol000003"}},
        {{"[Flag File]", flagColumns, "Type='OC' AND Title LIKE 'War''s End (*'", "", {}}, {}, {"yb01941"}},
        {{"[Flag File]", flagColumns, "Type='OL'", "", {}}, {}, {"ol000003"}},
        {{"[Flag File]", flagColumns, "Type='OL' AND [Category] = 'PHY'", "", {}}, {}, {"ol000003"}},
        {{"[Flag File]", flagColumns, "RIT = 'ws000001' OR RIT = 'ol000003'", "", {}}, {}, {"ws000001", "ol000003"}},
        {{"[Flag File]", flagColumns, "RIT = 'Aint nutton found honey'", "", {}}, {}, {}},
        {{"[Flag File]", {"[Title]"}, "Type = 'OC'", "", {}}, {}, {"War's End (1945)"}},
        {{"[Flag File Keyword]", {"[RIT]", "[Keyword]"}, "keyword = 'HISTORY'", "", {}}, {}, {"ws000001", "ol000003"}},
        {{"[Flag File MTL]", {"[MTL Number]", "[RIT]"}, "", "", {}}, {}, {"100001", "100002", "100001", "100003"}},
        {{"[First Line]", {"[Rin Code]", "[First Line]"}, "[Rin Code] = '0001234'", "", {}}, {}, {"0001234"}},
        {{"[Timelines]", {"[RIN]", "[Title]", "[Article RIN]", "[Article Title]"}, "RIN = 5", "", {}}, {}, {"5"}},
        {{"[Our Century List]", {"[Item]"}, "", "", {}}, {}, {"War's End"}},
        {{"[System Table]", {"[Last Flag Increment]"}, "", "", {}}, {}, {"flg00007.inc"}},
        {{"[Table Data]", {"[Key Value]", "[String Key]", "[Number Key]"},
          "[Key Value] = 'Dada Vaveroz Records-8C'", "", {}},
         {},
         {"Dada Vaveroz Records-8C"}},
        {{"[Dada Vaveroz Stats]",
          {"[Content]", "[ALL]", "[GEO]", "[HIS]", "[HUM]", "[IND]", "[LIF]", "[PHY]", "[REC]", "[SOC]"},
          "[Content] = [ContentParam]", "", {"ContentParam"}},
         {{"ContentParam", std::string("All")}},
         {"All"}},
        // The random browser's six filters.
        {{"[Dada Vaveroz Data]", randomColumns, "[Random] Between [Bottom] And [Top]", "", randomParams},
         range(0, 9),
         {"Zulu", "alps", "Apollo", "Ballet", "Bach", "Cells", "Colosseum", "Congo", "Dancing", "Deco"}},
        {{"[Dada Vaveroz Data]", randomColumns,
          "[Content] " + mediaList + " And [RandomMedia] Between [Bottom] And [Top]", "", randomParams},
         range(0, 100),
         {"alps", "Apollo", "Ballet", "Bach", "Cells", "Colosseum", "Congo", "Deco"}},
        {{"[Dada Vaveroz Data]", randomColumns,
          "[Content] = [ContentParam] And [RandomContent] Between [Bottom] And [Top]", "", randomParams},
         with(range(0, 1), "ContentParam", "Pict"),
         {"alps", "Deco"}},
        {{"[Dada Vaveroz Data]", randomColumns,
          "[Category] = [CategoryParam] And [RandomCategory] Between [Bottom] And [Top]", "", randomParams},
         with(range(0, 2), "CategoryParam", "HUM"),
         {"Ballet", "Bach", "Deco"}},
        {{"[Dada Vaveroz Data]", randomColumns,
          "[Category] = [CategoryParam] And [Content] " + mediaList +
              " And [RandomCategoryMedia] Between [Bottom] And [Top]",
          "", randomParams},
         with(range(0, 5), "CategoryParam", "HUM"),
         {"Ballet", "Bach", "Deco"}},
        {{"[Dada Vaveroz Data]", randomColumns,
          "[Category] = [CategoryParam] And [Content] = [ContentParam] And [RandomCategoryContent] Between [Bottom] "
          "And [Top]",
          "", randomParams},
         with(with(range(0, 0), "CategoryParam", "GEO"), "ContentParam", "Map"),
         {"Congo"}},
        // The FIND list: sorted by title without case.
        {{"[Dada Vaveroz Data]",
          {"[Title]", "[Rin Code]", "[Category]", "[Content]", "[Which CD]", "[Show In JustLooking]"},
          "[Category] = 'HUM' AND [Content] IN ('Animt','Map','PicSnd','Pict','Simul','Video','VirRel') AND  "
          "[Show In JustLooking] = 'Y'",
          "[Title]", {}},
         {},
         {"Bach", "Ballet", "Deco"}},
        {{"[Dada Vaveroz Data]", {"[Title]"}, " [Show In JustLooking] = 'Y' AND   NOT [CONTENT] = 'Artcl'", "[Title]",
          {}},
         {},
         {"alps", "Apollo", "Bach", "Ballet", "Cells", "Congo", "Dancing", "Deco"}},
        {{"[Dada Vaveroz Data]", {"[Title]"}, "[content] = 'aaa'", "[Title]", {}}, {}, {}},
        // The update applier's rows: all twelve columns.
        {{"[Dada Vaveroz Data]",
          {"[Title]", "[Rin Code]", "[Category]", "[Content]", "[Which CD]", "[Show In JustLooking]", "[Random]",
           "[RandomCategory]", "[RandomContent]", "[RandomCategoryContent]", "[RandomMedia]",
           "[RandomCategoryMedia]"},
          "[Rin Code] = '1000007'", "", {}},
         {},
         {"Colosseum"}},
    };
    for (const Statement& s : statements) {
        SCOPED_TRACE(s.spec.source + " WHERE " + s.spec.filter);
        auto rows = Run(s);
        auto expected = s.rows;
        if (s.spec.sort.empty()) {
            // The random filters select by shuffled ordinals: compare as sets.
            std::sort(rows.begin(), rows.end());
            std::sort(expected.begin(), expected.end());
        }
        EXPECT_EQ(rows, expected);
    }

    // The Back in Time list is rebuilt with two action queries.
    db->Execute("DELETE FROM [Our Century List];", true);
    db->Execute("INSERT INTO [Our Century List] ( Item ) VALUES ( 'Space Race' );", true);
    EXPECT_EQ(Run({{"[Our Century List]", {"[Item]"}, "", "", {}}, {}, {}}), (std::vector<std::string>{"Space Race"}));
}

TEST_F(ContentDatabaseFixture, RandomOrdinalsAndStatisticsAgree)
{
    // Within every group the ordinals are 0..size-1, and the statistics hold that size.
    Cursor stats(*db, {"[Dada Vaveroz Stats]", {}, "", "", {}}, {CursorType::Snapshot}, {});
    std::map<std::string, std::vector<long>> counts;
    for (; !stats.IsEOF(); stats.MoveNext()) {
        std::vector<long> row;
        for (int i = 1; i <= 9; ++i)
            row.push_back(static_cast<long>(daosql::ValueToInt(stats.Get(i))));
        counts[ValueToText(stats.Get(0))] = row;
    }
    ASSERT_EQ(counts.size(), 13u);
    EXPECT_EQ(counts["All"], (std::vector<long>{10, 2, 2, 3, 0, 1, 1, 1, 0}));
    EXPECT_EQ(counts["Media"], (std::vector<long>{8, 2, 1, 3, 0, 1, 1, 0, 0}));
    EXPECT_EQ(counts["Pict"], (std::vector<long>{2, 1, 0, 1, 0, 0, 0, 0, 0}));
    EXPECT_EQ(counts["OnLine"], (std::vector<long>(9, 0)));

    struct Group {
        const char* filter;
        const char* column;
        long size;
    };
    const Group groups[] = {
        {"", "Random", 10},
        {"Category = 'HUM'", "RandomCategory", 3},
        {"Content = 'Pict'", "RandomContent", 2},
        {"Category = 'HUM' AND Content = 'Pict'", "RandomCategoryContent", 1},
        {"Content <> 'Artcl' AND Content <> 'TimeLine'", "RandomMedia", 8},
        {"Category = 'HUM' AND Content <> 'TimeLine'", "RandomCategoryMedia", 3},
        {"Content IN ('Artcl', 'TimeLine')", "RandomMedia", 2},  // outside the media group: -1
    };
    for (const Group& g : groups) {
        SCOPED_TRACE(g.column);
        Cursor c(*db, {"[Dada Vaveroz Data]", {std::string("[") + g.column + "]"}, g.filter, "", {}},
                 {CursorType::Snapshot}, {});
        std::vector<long> seen;
        for (; !c.IsEOF(); c.MoveNext())
            seen.push_back(static_cast<long>(daosql::ValueToInt(c.Get(0))));
        std::sort(seen.begin(), seen.end());
        std::vector<long> expected;
        for (long i = 0; i < g.size; ++i)
            expected.push_back(std::string(g.filter).rfind("Content IN", 0) == 0 ? -1 : i);
        EXPECT_EQ(seen, expected);
    }
}

TEST(ContentDatabaseWriter, RefusesWhatTheProgramCouldNotRead)
{
    TempDir dir;
    std::string path = (dir.path() / "x.mdb").string();
    dir.Write("x.mdb", "an old file that is replaced");
    ContentDatabaseWriter w(path);
    EXPECT_THROW(w.Insert("No Table", {{"A", std::string("x")}}), std::invalid_argument);
    EXPECT_THROW(w.Insert("First Line", {{"Nope", std::string("x")}}), std::invalid_argument);
    // A text longer than its field is refused as Jet refuses it.
    try {
        w.AddFirstLine(std::string(256, 'x'), "");
        FAIL() << "no error";
    } catch (const daosql::Error& e) {
        EXPECT_EQ(e.Code(), daosql::kErrFieldTooSmall);
    }
    w.AddFirstLine(std::string(255, 'x'), "it's \"fine\"");
    w.FinishDadaVaveroz(1);
    EXPECT_THROW(w.AddDadaVaverozItem({}), std::logic_error);
    w.Close();
    daosql::Connection db(path, {});
    Cursor c(db, {"[First Line]", {"[First Line]"}, "", "", {}}, {}, {});
    EXPECT_EQ(ValueToText(c.Get(0)), "it's \"fine\"");
    EXPECT_EQ(c.FindColumn("first line"), 0);
}

}  // namespace
