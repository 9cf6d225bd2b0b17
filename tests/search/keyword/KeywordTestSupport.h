// Fixture of the keyword engine's tests: drive T: with disc 1's data folder T:\data, where the
// disc builder writes a keyword index of the test's articles; the engine opened on it; helpers
// that read a result set whole and compare it with the oracle.
#pragma once

#include "search/KeywordIndex.h"
#include "search/PagingStore.h"

#include <KeywordIndexWriter.h>

#include "../../shell/ShellUiTest.h"
#include "KeywordOracle.h"

#include <host/UiScript.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

class KeywordTest : public ShellUiTest {
protected:
    void SetUp() override
    {
        ShellUiTest::SetUp();
        SetDefaultScope(QUERY_SCOPE_SENTENCE);
        // The swap file in the test's own folder: other programs clear stale ones from TEMP.
        setenv("VMPATH", "T:\\", 1);
    }
    void TearDown() override
    {
        KeywordShutdown();
        VmShutdown();
        unsetenv("VMPATH");
        ShellUiTest::TearDown();
    }

    std::filesystem::path DataFolder() const { return dir.path() / "t" / "data"; }

    // Builds and writes the index of the articles; the files built.
    const discbuilder::KeywordIndexFiles& WriteIndex(const std::vector<discbuilder::IndexedArticle>& articles,
                                                     std::vector<std::string> drops = discbuilder::DefaultDropWords())
    {
        m_articles = articles;
        m_files = discbuilder::BuildKeywordIndex(articles, drops);
        discbuilder::WriteKeywordIndex(m_files, DataFolder());
        return m_files;
    }

    void OpenIndex(const std::vector<discbuilder::IndexedArticle>& articles,
                   std::vector<std::string> drops = discbuilder::DefaultDropWords())
    {
        WriteIndex(articles, drops);
        ASSERT_EQ(1, KeywordInit()) << "the engine opens on the index written";
    }

    static std::vector<KEYWORD_OCCURRENCE> Records(RESULT_SET* pSet)
    {
        std::vector<KEYWORD_OCCURRENCE> records;
        if (pSet == NULL)
            return records;
        for (DWORD i = 0;; ++i) {
            const KEYWORD_OCCURRENCE* p = GetPagedEntry(pSet, i);
            if (p->wRecord == 0)
                break;
            records.push_back(*p);
        }
        ReleasePagedEntry();
        return records;
    }

    // Runs the query through the engine and the oracle and expects the same records, in order.
    void ExpectOracleAgrees(const KeywordOracle& oracle, const std::string& query, bool expectHits = true)
    {
        SCOPED_TRACE("query: " + query);
        OracleResult expected = oracle.Answer(query);
        RESULT_SET* pSet = RunKeywordQuery(query.c_str());
        ASSERT_FALSE(KeywordSearchAborted());
        if (expected.kind == OracleResult::None) {
            EXPECT_EQ(nullptr, pSet) << "the oracle finds nothing";
            EXPECT_FALSE(expectHits) << "the case was meant to find something";
            return;
        }
        ASSERT_NE(nullptr, pSet) << "the oracle finds " << expected.records.size() << " records";
        if (expected.kind == OracleResult::MatchAll) {
            EXPECT_EQ(static_cast<DWORD>(RESULT_MATCH_ALL), pSet->dwState);
            return;
        }
        std::vector<KEYWORD_OCCURRENCE> got = Records(pSet);
        ASSERT_EQ(pSet->dwCount, got.size());
        for (size_t i = 1; i < got.size(); ++i) {
            ASSERT_TRUE(got[i - 1].wRecord < got[i].wRecord ||
                        (got[i - 1].wRecord == got[i].wRecord && got[i - 1].dwWordPosition <= got[i].dwWordPosition))
                << "records in order at " << i;
        }
        std::vector<discbuilder::KeywordOccurrence> engine;
        for (const KEYWORD_OCCURRENCE& r : got)
            engine.push_back({r.wRecord, r.dwHitPosition, r.dwWordPosition});
        std::sort(engine.begin(), engine.end(), OracleResult::Less);
        ASSERT_EQ(expected.records.size(), engine.size());
        for (size_t i = 0; i < engine.size(); ++i) {
            ASSERT_EQ(expected.records[i].article, engine[i].article) << "record " << i;
            ASSERT_EQ(expected.records[i].hitPosition, engine[i].hitPosition) << "record " << i;
            ASSERT_EQ(expected.records[i].wordPosition, engine[i].wordPosition) << "record " << i;
        }
    }

    std::vector<discbuilder::IndexedArticle> m_articles;
    discbuilder::KeywordIndexFiles m_files;
};

// An article of the given paragraphs in one section.
inline discbuilder::IndexedArticle MakeArticle(std::int32_t rin, const std::string& title,
                                               std::vector<std::vector<std::string>> sections,
                                               std::vector<std::vector<std::string>> tables = {}, int domain = 0)
{
    discbuilder::IndexedArticle article;
    article.rin = rin;
    article.title = title;
    article.sections = std::move(sections);
    article.tables = std::move(tables);
    article.domain = domain;
    return article;
}
