// The record sets over the sample content database: bindings, the keyword query, the topic join,
// the random browser's filters and ordinals, and the Back in Time list.
#include "RecordsetTestSupport.h"

#include "base/FirstLineSet.h"
#include "base/FlagSet.h"
#include "base/JustLookingRandomSet.h"
#include "base/OurCenturyListSet.h"
#include "base/SystemSet.h"
#include "base/TimelinesSet.h"
#include "base/VLAppRecords.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

namespace recordsets_test {
namespace {

// Every row of an open set, as fn makes it from the current record.
template <class Set, class Fn>
auto Rows(Set& set, Fn fn)
{
    std::vector<decltype(fn())> out;
    for (; !set.IsEOF(); set.MoveNext())
        out.push_back(fn());
    return out;
}

std::vector<std::string> Strings(const CStringArray& a)
{
    std::vector<std::string> out;
    for (INT_PTR i = 0; i < a.GetSize(); ++i)
        out.emplace_back(a[i]);
    return out;
}

TEST_F(SampleDatabaseTest, EverySetOpensOnItsTableAndBindsItsColumns)
{
    CFlagSet flags(&db);
    flags.m_strFilter = "RIT = 'yb001927'";
    flags.OpenRecordsetChecked();
    ASSERT_FALSE(flags.IsEOF());
    EXPECT_STREQ(flags.m_Type, "OC");
    EXPECT_STREQ(flags.m_Title, "Aviation (1927)");
    EXPECT_STREQ(flags.m_Category, "HIS");
    EXPECT_STREQ(flags.m_ArticleTimeStamp, "19990301120000");
    EXPECT_STREQ(flags.m_Description, "A lone pilot crosses the Atlantic.");
    EXPECT_EQ(flags.m_Year, 1927.0);
    EXPECT_EQ(flags.GetCategoryBit(), 2);

    FirstLineSet lines(&db);
    lines.m_strFilter = "[Rin Code] = '0001002'";
    lines.OpenRecordsetChecked();
    ASSERT_FALSE(lines.IsEOF());
    EXPECT_STREQ(lines.m_FirstLine, "A volcano is an opening in the earth's crust through which molten rock escapes.");

    CTimelinesSet timelines(&db);
    timelines.OpenRecordsetChecked();
    auto tl = Rows(timelines, [&] {
        return std::to_string(timelines.m_RIN) + " " + (LPCSTR)timelines.m_Title + " -> " +
               std::to_string(timelines.m_ArticleRIN) + " " + (LPCSTR)timelines.m_ArticleTitle;
    });
    ASSERT_EQ(tl.size(), 5u);
    EXPECT_EQ(tl[0], "4060001 Milestones of Flight -> 1001 Aviation");

    CMtlSet mtl(&db);
    mtl.m_strFilter = "RIT = 'ws000004'";
    mtl.OpenRecordsetChecked();
    ASSERT_FALSE(mtl.IsEOF());
    EXPECT_STREQ(mtl.m_MTLNumber, "001001");

    CSystemSet system(&db);
    system.OpenRecordsetChecked();
    ASSERT_FALSE(system.IsEOF());
    EXPECT_STREQ(system.m_LastFlagIncrement, "flg00000.inc");

    CVLAppRecords records(&db);
    records.m_strFilter = "[Key Value] = 'Edition'";
    records.OpenRecordsetChecked();
    ASSERT_FALSE(records.IsEOF());
    EXPECT_STREQ(records.m_StringKey, "International");
    EXPECT_EQ(records.m_NumberKey, 2000);

    COurCenturyListSet list(&db);
    list.OpenRecordsetChecked();
    auto items = Rows(list, [&] { return std::string(list.m_Item); });
    EXPECT_EQ(items, (std::vector<std::string>{"Radio", "Aviation", "Television", "O'Keeffe's Desert", "Volcano"}));

    CJlrcSet items2(&db);
    EXPECT_EQ(items2.m_Random, -1);
    EXPECT_EQ(items2.m_RandomCategoryMedia, -1);
    items2.m_strFilter = "[Rin Code] = '15001927'";
    items2.OpenRecordsetChecked();
    ASSERT_FALSE(items2.IsEOF());
    EXPECT_STREQ(items2.m_Content, "Centry");
    EXPECT_STREQ(items2.m_WhichCD, "0");
    EXPECT_EQ(items2.m_RandomMedia, -1);  // no media item
    EXPECT_GE(items2.m_Random, 0);
}

TEST_F(SampleDatabaseTest, CategoryBitsIgnoreCase)
{
    CFlagSet set(&db);
    const std::pair<const char*, LONG> cases[] = {{"GEO", 1}, {"his", 2}, {"Hum", 4}, {"IND", 8}, {"lif", 16},
                                                  {"phy", 32}, {"REC", 64}, {"SOC", 128}, {"", 0}, {"XYZ", 0}};
    for (const auto& [code, bit] : cases) {
        set.m_Category = code;
        EXPECT_EQ(set.GetCategoryBit(), bit) << code;
    }
}

// The RITs a keyword query's filter lets through, in flag-file order.
std::vector<std::string> FlagRits(CDaoDatabase& db, const char* query)
{
    CFlagSet set(&db);
    set.FilterByKeywords(query);
    set.OpenRecordsetChecked();
    return Rows(set, [&] { return std::string(set.m_RIT); });
}

TEST_F(SampleDatabaseTest, KeywordQueriesCombineLeftToRight)
{
    struct Case {
        const char* query;
        std::vector<std::string> filterRits;  // as BuildRitFilter lists them
    };
    const Case cases[] = {
        {"flight", {"ws000001", "ws000004"}},
        {"flight & history", {"ws000001"}},
        {"  FLIGHT&History  ", {"ws000001"}},
        {"flight | history", {"ws000001", "ws000004", "ws000001", "ws000002", "ws000005"}},
        {"history ! museum", {"ws000002"}},
        {"history | flight ! museum", {"ws000002", "ws000004"}},
        {"history & museum & flight & jazz", {"ws000001"}},  // a fourth term is ignored
        {"o'keeffe", {"ws000006"}},
        {"museum ! o'keeffe", {"ws000001", "ws000005"}},
    };
    for (const Case& c : cases) {
        CKeywordSet keywords(&db);
        CString filter = keywords.BuildRitFilter(c.query);
        std::string expected;
        for (size_t i = 0; i < c.filterRits.size(); ++i)
            expected += (i ? " OR RIT = '" : "RIT = '") + c.filterRits[i] + "'";
        EXPECT_EQ(std::string(filter), expected) << c.query;
        EXPECT_STREQ(keywords.m_strFilter, filter) << c.query;
    }
    EXPECT_EQ(FlagRits(db, "flight | history"),
              (std::vector<std::string>{"ws000001", "ws000002", "ws000004", "ws000005"}));
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(SampleDatabaseTest, AQueryWithoutHitsFiltersOnTheSentinel)
{
    for (const char* query : {"unknown", "flight & jazz", "jazz ! history", "", "it's"}) {
        CKeywordSet keywords(&db);
        EXPECT_STREQ(keywords.BuildRitFilter(query), "RIT = 'Aint nutton found honey'") << query;
        EXPECT_TRUE(FlagRits(db, query).empty()) << query;
    }
}

TEST_F(SampleDatabaseTest, FindRitsAppendsInTableOrder)
{
    CKeywordSet keywords(&db);
    CStringArray rits;
    keywords.FindRits("museum", rits);
    keywords.FindRits("JAZZ", rits);
    EXPECT_EQ(Strings(rits), (std::vector<std::string>{"ws000001", "ws000005", "ws000006", "ws000002"}));
}

TEST_F(SampleDatabaseTest, FlagExtrasListTheItemsOfATopic)
{
    CFlagExtrasSet set(&db);
    ASSERT_TRUE(set.OpenForMtl("001001"));
    auto rows = Rows(set, [&] {
        return std::string(set.m_RIT) + "/" + (LPCSTR)set.m_TYPE + "/" + (LPCSTR)set.m_TITLE + "/" + (LPCSTR)set.m_MTL;
    });
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, (std::vector<std::string>{"ws000001/WS/Flight History Museum/001001", "ws000004/WS/Moon Maps/001001",
                                              "yb001927/OC/Aviation (1927)/001001",
                                              "yb001969/OC/Aviation (1969)/001001"}));
    set.Close();
    // Any text is only a value: a quote finds nothing and breaks nothing.
    EXPECT_TRUE(set.OpenForMtl("001001' OR ''='"));
    EXPECT_TRUE(set.IsEOF());
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(SampleDatabaseTest, FlagExtrasReportADatabaseErrorAndGiveFalse)
{
    db.Execute("DROP TABLE [Flag File MTL];");
    host::AnswerMessageBox("Flag File MTL", IDOK);
    CFlagExtrasSet set(&db);
    EXPECT_FALSE(set.OpenForMtl("001001"));
    EXPECT_FALSE(set.IsOpen());
    EXPECT_EQ(host::MessageBoxLog().size(), 1u);
}

TEST_F(SampleDatabaseTest, AnApostropheInATitleIsOnlyText)
{
    // Back in Time titles with apostrophes survive a rebuild, and can be looked up again safely.
    ASSERT_TRUE(COurCenturyListSet::Rebuild());
    CFlagSet set(&db);
    set.m_strFilter = "Type='OC' AND Title LIKE " + JetTextLiteral(JetLikeEscape("O'Keeffe's Desert") + " (*");
    set.OpenRecordsetChecked();
    ASSERT_FALSE(set.IsEOF());
    EXPECT_STREQ(set.m_RIT, "yb001946");
    set.MoveNext();
    EXPECT_TRUE(set.IsEOF());
}

TEST_F(SampleDatabaseTest, StatsCountsByContentAndCategory)
{
    CJustLookingStatsSet stats(&db);
    EXPECT_STREQ(stats.m_ContentParam, "All");
    stats.OpenRecordsetChecked();
    ASSERT_FALSE(stats.IsEOF());
    EXPECT_STREQ(stats.m_Content, "All");
    EXPECT_EQ(stats.GetCount(0), 27);
    EXPECT_EQ(stats.GetCount(1), 8);  // GEO
    EXPECT_EQ(stats.GetCount(9), 0);
    EXPECT_EQ(stats.GetCount(-1), 0);

    const std::pair<int, const char*> rows[] = {{1, "Artcl"}, {11, "Media"}, {12, "TimeLine"}, {0, "All"}};
    for (const auto& [content, name] : rows) {
        stats.SetContent(content);
        EXPECT_STREQ(stats.m_ContentParam, name);
        stats.Requery();
        ASSERT_FALSE(stats.IsEOF()) << name;
        EXPECT_STREQ(stats.m_Content, name);
    }
    stats.SetContent(11);
    stats.Requery();
    EXPECT_EQ(stats.GetCount(0), 14);
    EXPECT_EQ(stats.GetCount(1), 4);  // GEO media: lava, two maps, an eruption
}

TEST(JustLookingRandomSetFilter, FilterAndParametersFollowTheChoices)
{
    struct Case {
        int category, content;
        const char* filter;
        int params;
    };
    const char* media = "[Content] In ('Animt','Map','PicSnd','Pict','Simul','Video','VirRel')";
    const Case cases[] = {
        {0, 0, "[Random] Between [Bottom] And [Top]", 2},
        {0, 11, "", 2},
        {0, 3, "[Content] = [ContentParam] And [RandomContent] Between [Bottom] And [Top]", 3},
        {2, 0, "[Category] = [CategoryParam] And [RandomCategory] Between [Bottom] And [Top]", 3},
        {2, 11, "", 3},
        {2, 3, "[Category] = [CategoryParam] And [Content] = [ContentParam] And [RandomCategoryContent] Between "
               "[Bottom] And [Top]",
         4},
    };
    CJustLookingRandomSet set(NULL);
    EXPECT_STREQ(set.m_strFilter, cases[0].filter);
    EXPECT_EQ(set.m_nParams, 2);
    for (const Case& c : cases) {
        set.m_Bottom = set.m_Top = 7;
        set.SetCategory(c.category);
        set.SetContent(c.content);
        std::string expected = c.filter;
        if (c.content == 11)
            expected = std::string(c.category ? "[Category] = [CategoryParam] And " : "") + media + " And " +
                       (c.category ? "[RandomCategoryMedia]" : "[RandomMedia]") + " Between [Bottom] And [Top]";
        EXPECT_EQ(std::string(set.m_strFilter), expected) << c.category << "/" << c.content;
        EXPECT_EQ(set.m_nParams, c.params) << c.category << "/" << c.content;
        EXPECT_EQ(set.m_Bottom, -1);
        EXPECT_EQ(set.m_Top, -1);
        // Setting a choice again keeps filter and parameter count in step.
        set.SetContent(c.content);
        EXPECT_EQ(std::string(set.m_strFilter), expected);
        EXPECT_EQ(set.m_nParams, c.params);
    }
    set.SetCategory(6);
    set.SetContent(9);
    EXPECT_STREQ(set.m_CategoryParam, "PHY");
    EXPECT_STREQ(set.m_ContentParam, "OnLine");
    set.SetContent(99);  // outside the table: any
    EXPECT_EQ(set.GetContent(), 0);
}

TEST_F(SampleDatabaseTest, EveryItemOfAChoiceHasExactlyOneOrdinalInItsRange)
{
    // What each combination holds, read independently of the random columns.
    struct Item {
        std::string rin, category, content;
    };
    std::vector<Item> all;
    {
        CJlrcSet items(&db);
        items.OpenRecordsetChecked();
        for (; !items.IsEOF(); items.MoveNext())
            all.push_back({std::string(items.m_RinCode), std::string(items.m_Category), std::string(items.m_Content)});
    }
    const std::set<std::string> media = {"Animt", "Map", "PicSnd", "Pict", "Simul", "Video", "VirRel"};

    CJustLookingStatsSet stats(&db);
    stats.OpenRecordsetChecked();
    CJustLookingRandomSet pick(&db);
    pick.OpenRecordsetChecked();  // [Bottom] and [Top] -1: nothing
    EXPECT_TRUE(pick.IsEOF());
    for (int content = 0; content < JL_CONTENT_COUNT; ++content) {
        stats.SetContent(content);
        stats.Requery();
        for (int category = 0; category < JL_CATEGORY_COUNT; ++category) {
            std::multiset<std::string> expected;
            for (const Item& it : all) {
                bool inContent = content == 0 || (content == 11 ? media.count(it.content) > 0
                                                                : it.content == JustLookingContentCode(content));
                bool inCategory = category == 0 || it.category == JustLookingCategoryCode(category);
                if (inContent && inCategory)
                    expected.insert(it.rin);
            }
            const long count = stats.IsEOF() ? 0 : stats.GetCount(category);
            EXPECT_EQ(count, static_cast<long>(expected.size())) << category << "/" << content;

            pick.SetCategory(category);
            pick.SetContent(content);
            std::multiset<std::string> seen;
            for (long k = 0; k < count; ++k) {
                pick.m_Bottom = pick.m_Top = k;
                pick.Requery();
                int found = 0;
                for (; !pick.IsEOF(); pick.MoveNext(), ++found)
                    seen.insert(std::string(pick.m_RinCode));
                EXPECT_EQ(found, 1) << "ordinal " << k << " of " << category << "/" << content;
            }
            EXPECT_EQ(seen, expected) << category << "/" << content;
            // One window over the whole range picks them all at once.
            pick.m_Bottom = 0;
            pick.m_Top = count - 1;
            pick.Requery();
            long n = 0;
            for (; !pick.IsEOF(); pick.MoveNext())
                ++n;
            EXPECT_EQ(n, count);
        }
    }
}

TEST_F(SampleDatabaseTest, RebuildingTwiceGivesTheSameList)
{
    auto list = [&] {
        COurCenturyListSet set(&db);
        set.m_strSort = "[Item]";
        set.OpenRecordsetChecked();
        return Rows(set, [&] { return std::string(set.m_Item); });
    };
    db.Execute("INSERT INTO [Flag File] (RIT, Type, Title) VALUES ('yb001928', 'OC', 'Aviation (1928 revisited)');");
    db.Execute("INSERT INTO [Flag File] (RIT, Type, Title) VALUES ('yb001930', 'OC', 'No year given');");
    ASSERT_TRUE(COurCenturyListSet::Rebuild());
    auto first = list();
    ASSERT_TRUE(COurCenturyListSet::Rebuild(&db));
    EXPECT_EQ(list(), first);
    EXPECT_EQ(first, (std::vector<std::string>{"Aviation", "O'Keeffe's Desert", "Radio", "Television", "Volcano"}));
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(SampleDatabaseTest, WithoutBackInTimeArticlesTheListEmptiesAndTheReaderIsTold)
{
    db.Execute("DELETE FROM [Flag File] WHERE Type = 'OC';");
    host::AnswerMessageBox("No 'Back In Time' articles available.", IDOK);
    EXPECT_FALSE(COurCenturyListSet::Rebuild());
    auto log = host::MessageBoxLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].type & MB_ICONMASK, static_cast<UINT>(MB_ICONINFORMATION));
    COurCenturyListSet set(&db);
    set.OpenRecordsetChecked();
    EXPECT_TRUE(set.IsEOF());
}

TEST_F(DatabaseTest, ARebuildThatFailsMidwayLeavesTheOldList)
{
    // A list whose items may be at most 12 characters: the second topic cannot go in.
    CDaoDatabase small;
    small.Create("T:\\small.mdb");
    small.Execute("CREATE TABLE [Flag File] ([RIT] TEXT(255), [Type] TEXT(255), [Title] TEXT(255));");
    small.Execute("CREATE TABLE [Our Century List] ([Item] TEXT(12));");
    small.Execute("INSERT INTO [Our Century List] (Item) VALUES ('Old One');");
    small.Execute("INSERT INTO [Our Century List] (Item) VALUES ('Old Two');");
    small.Execute("INSERT INTO [Flag File] VALUES ('yb001922', 'OC', 'Radio (1922)');");
    small.Execute("INSERT INTO [Flag File] VALUES ('yb001936', 'OC', 'Television Broadcasting (1936)');");
    small.Execute("INSERT INTO [Flag File] VALUES ('yb001927', 'OC', 'Aviation (1927)');");

    bool caught = false;
    try {
        COurCenturyListSet::Rebuild(&small);
    } catch (CDaoException* e) {
        caught = true;
        ASSERT_NE(e->m_pErrorInfo, nullptr);
        EXPECT_EQ(e->m_pErrorInfo->m_lErrorCode, 3163);  // field too small
        e->Delete();
    }
    EXPECT_TRUE(caught);
    COurCenturyListSet set(&small);
    set.OpenRecordsetChecked();
    EXPECT_EQ(Rows(set, [&] { return std::string(set.m_Item); }), (std::vector<std::string>{"Old One", "Old Two"}));
    set.Close();

    // Without the long title the same database rebuilds.
    small.Execute("DELETE FROM [Flag File] WHERE RIT = 'yb001936';");
    EXPECT_TRUE(COurCenturyListSet::Rebuild(&small));
    set.OpenRecordsetChecked();
    EXPECT_EQ(Rows(set, [&] { return std::string(set.m_Item); }), (std::vector<std::string>{"Radio", "Aviation"}));
}

TEST(OurCenturyListWithoutDatabase, RebuildNeedsAnOpenDatabase)
{
    ASSERT_EQ(GetAppDatabase(), nullptr);
    EXPECT_FALSE(COurCenturyListSet::Rebuild());
}

}  // namespace
}  // namespace recordsets_test
