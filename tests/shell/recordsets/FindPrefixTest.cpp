// The prefix search of sorted sets, over a few thousand titles.
#include "RecordsetTestSupport.h"

#include "base/VLRecordset.h"

#include <TitleSet.h>

#include <ContentDatabaseWriter.h>

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

namespace recordsets_test {
namespace {

using testsets::CTitleSet;

class FindPrefixTest : public DatabaseTest {
protected:
    // Titles of one to three words of letters, some sharing long prefixes, with upper and lower
    // case mixed; stored in random order.
    void BuildTitles(int count)
    {
        discbuilder::ContentDatabaseWriter writer(HostT("vl00i1.mdb"));
        std::mt19937 rng(7);
        auto word = [&](int minLength) {
            std::string w;
            int n = minLength + static_cast<int>(rng() % 7);
            for (int i = 0; i < n; ++i)
                w += static_cast<char>((i == 0 ? 'A' : 'a') + rng() % 26);
            return w;
        };
        for (int i = 0; i < count; ++i) {
            std::string title = word(3);
            if (i % 5 == 0)
                title = "Stone" + title;  // a run of titles with one long common prefix
            if (i % 3 == 0)
                title += "s";
            if (i % 11 == 0)
                for (char& c : title)
                    c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            writer.AddDadaVaverozItem({title, std::to_string(1000 + i), "GEO", "Artcl"});
        }
        writer.Close();
        OpenAppDatabase();
    }

    // Every key of the set, in its order.
    static std::vector<std::string> Keys(CTitleSet& set)
    {
        std::vector<std::string> keys;
        for (set.MoveFirst(); !set.IsEOF(); set.MoveNext())
            keys.emplace_back(set.m_Title);
        set.MoveFirst();
        return keys;
    }
};

bool StartsWith(const std::string& key, const std::string& prefix)
{
    return CString(key.substr(0, prefix.size()).c_str()).CompareNoCase(prefix.c_str()) == 0;
}

TEST_F(FindPrefixTest, FindsTheFirstMatchFromAnyStartingRecord)
{
    BuildTitles(3000);
    CTitleSet set(&db);
    set.Open();
    ASSERT_EQ(set.GetRowCount(), 3000);
    const std::vector<std::string> keys = Keys(set);

    std::vector<std::string> prefixes = {"stone", "STONEA", "Stonez", "a", "Q", "zz", "m", "x", "Ab"};
    for (size_t i = 0; i < keys.size(); i += 97)
        prefixes.push_back(keys[i].substr(0, 1 + i % 4));
    for (const std::string& prefix : prefixes) {
        long first = -1;
        for (size_t i = 0; i < keys.size() && first < 0; ++i)
            if (StartsWith(keys[i], prefix))
                first = static_cast<long>(i);
        if (first < 0)
            continue;
        for (long start : {0L, 1499L, 2999L, first, first + 1}) {
            if (start >= 3000)
                continue;
            set.SetAbsolutePosition(start);
            long found = set.FindPrefix(prefix.c_str());
            EXPECT_EQ(found, first + 1) << prefix << " from " << start;
            EXPECT_EQ(set.GetAbsolutePosition(), first) << prefix << " from " << start;
            EXPECT_TRUE(StartsWith(std::string(set.m_Title), prefix));
        }
    }
}

TEST_F(FindPrefixTest, APrefixBeforeEveryKeyGivesOneAndAMissLandsNearby)
{
    BuildTitles(2500);
    CTitleSet set(&db);
    set.Open();
    const std::vector<std::string> keys = Keys(set);
    set.SetAbsolutePosition(1800);
    EXPECT_EQ(set.FindPrefix("AAAA"), 1);
    set.SetAbsolutePosition(5);
    EXPECT_EQ(set.FindPrefix("0"), 1);

    // A prefix that no key has: the position returned is where the search ended, between the
    // neighbours of the prefix in the sorted order.
    for (const char* missing : {"Stonezzzzz", "Mzzzzzzz", "Zzzzzzzzz"}) {
        set.MoveFirst();
        long at = set.FindPrefix(missing);
        ASSERT_GE(at, 1);
        ASSERT_LE(at, 2500);
        long after = 0;
        while (after < 2500 && CString(keys[after].c_str()).CompareNoCase(missing) < 0)
            ++after;
        EXPECT_GE(at, after) << missing;
        EXPECT_LE(at, after + 1) << missing;
    }
}

TEST_F(FindPrefixTest, AnEmptySetGivesZero)
{
    BuildTitles(0);
    CTitleSet set(&db);
    set.Open();
    EXPECT_EQ(set.GetRowCount(), 0);
    EXPECT_EQ(set.FindPrefix("A"), 0);
}

TEST(VLRecordsetDefaultSQL, SetDefaultSQLReplacesIt)
{
    CTitleSet set(NULL);
    set.SetDefaultSQL(NULL);
    EXPECT_STREQ(set.GetDefaultSQL(), "");
    EXPECT_TRUE(set.SetDefaultSQL("[Timelines]"));
    EXPECT_STREQ(set.GetDefaultSQL(), "[Timelines]");
}

}  // namespace
}  // namespace recordsets_test
