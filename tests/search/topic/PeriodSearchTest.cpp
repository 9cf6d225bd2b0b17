// The periods of the Dido Dovov in the word index of the sample disc: a selection code run
// through CSearchEngine::WordSearch finds every article and picture whose texts mention a year of
// the period, checked against a plain scan of those texts; and picture texts are found under the
// picture's own number.
#include "TopicTestSupport.h"

#include "search/KWReference.h"
#include "search/KeywordTokenizer.h"

#include "base/HitList.h"
#include "base/ReferenceList.h"

#include <ArticleSource.h>
#include <KeywordIndexWriter.h>
#include <PictureItemSource.h>
#include <SampleAtlas.h>
#include <SampleDisc.h>

#include <fstream>
#include <iterator>
#include <map>
#include <set>

namespace {

std::filesystem::path PeriodDiscFolder()
{
    static TempDir folder;
    static const bool built = [] {
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, folder.path() / "disc");
        return true;
    }();
    (void)built;
    return folder.path() / "disc";
}

// Every text of the disc as the index sees it: the articles (the atlas's too) and the picture
// items.
std::vector<discbuilder::IndexedArticle> DiscTexts()
{
    std::vector<discbuilder::IndexedArticle> texts;
    std::vector<discbuilder::ArticleRecordSource> sources = discbuilder::ReadArticleSources(VL_SAMPLE_DIR "/articles");
    if (discbuilder::HasAtlasSources(VL_SAMPLE_DIR)) {
        const auto& atlas = discbuilder::BuildSampleAtlas(VL_SAMPLE_DIR);
        sources.insert(sources.end(), atlas.articles.begin(), atlas.articles.end());
    }
    for (const auto& source : sources)
        texts.push_back(discbuilder::IndexedArticleFrom(source, source.category));
    for (const auto& entry : std::filesystem::directory_iterator(VL_SAMPLE_DIR "/pictures/items")) {
        std::ifstream in(entry.path(), std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const discbuilder::PictureItemSource item = discbuilder::ParsePictureItemSource(text, entry.path().string());
        texts.push_back(discbuilder::IndexedPictureFrom(static_cast<std::int32_t>(item.number), item.record, item.category));
    }
    return texts;
}

// The plain scan: the items whose texts mention a year (A.D. when ad) from first to last.
std::set<long> ItemsMentioning(const std::vector<discbuilder::IndexedArticle>& texts, bool ad, int first, int last)
{
    std::set<long> items;
    for (const auto& text : texts) {
        auto scan = [&](const std::vector<std::string>& paragraphs) {
            for (const std::string& paragraph : paragraphs) {
                const auto tokens = keyword_terms::TokenizeText(paragraph);
                for (std::size_t i = 0; i < tokens.size(); ++i) {
                    const std::string date = keyword_terms::DateWordAt(tokens, i);
                    if (date.empty() || (date[0] == 'A') != ad)
                        continue;
                    const int year = std::stoi(date.substr(1, date.size() - 2));
                    if (year >= first && year <= last)
                        items.insert(text.rin);
                }
            }
        };
        for (const auto& section : text.sections)
            scan(section);
        for (const auto& table : text.tables)
            scan(table);
    }
    return items;
}

class PeriodSearchTest : public TopicTest {
protected:
    void SetUp() override
    {
        TopicTest::SetUp();
        std::filesystem::copy(PeriodDiscFolder() / "info_dat", DataFolder(),
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        AppServices().owned.pSearchEngine = &m_engine;
        ASSERT_TRUE(m_engine.Init());
    }
    std::map<long, CReference*> Found(const char* code, CReferenceList& list)
    {
        m_engine.WordSearch(code, &list);
        std::map<long, CReference*> found;
        for (int i = 0; i < list.GetCount(); ++i)
            found[list.GetAtIndex(i)->GetNumber()] = list.GetAtIndex(i);
        return found;
    }
    CSearchEngine m_engine;
};

TEST_F(PeriodSearchTest, ASelectionCodeFindsEveryItemThatMentionsAYearOfItsPeriod)
{
    const auto texts = DiscTexts();
    struct Case {
        const char* code;
        bool ad;
        int first, last;
    };
    const Case cases[] = {
        {"A190#D", true, 1900, 1909}, {"A19#0D", true, 1900, 1999}, {"A1#00D", true, 1000, 1999},
        {"A192#D", true, 1920, 1929}, {"B#00C", false, 0, 999},
    };
    std::size_t nNonEmpty = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        CReferenceList list;
        const auto found = Found(c.code, list);
        std::set<long> numbers;
        for (const auto& [number, ref] : found)
            numbers.insert(number);
        EXPECT_EQ(ItemsMentioning(texts, c.ad, c.first, c.last), numbers);
        EXPECT_EQ(static_cast<std::size_t>(list.GetCount()), found.size()) << "one reference an item";
        nNonEmpty += found.empty() ? 0 : 1;
    }
    EXPECT_GE(nNonEmpty, 4u) << "the sample disc mentions years in most of these periods";
    EXPECT_TRUE(host::MessageBoxLog().empty()) << "no word list dialog and no message";
    // A decade inside the century finds fewer than the century.
    CReferenceList decade, century;
    EXPECT_LT(Found("A190#D", decade).size(), Found("A19#0D", century).size());
}

TEST_F(PeriodSearchTest, PictureTextsAreFoundUnderThePicturesOwnNumbers)
{
    // Every picture item's caption words find it, with hits in section 221 or 223 + n.
    std::size_t nPictures = 0;
    for (const auto& text : DiscTexts()) {
        if (!text.picture)
            continue;
        for (std::size_t s = 0; s < text.sections.size(); ++s) {
            const auto tokens = text.sections[s].empty() ? std::vector<keyword_terms::TextToken>()
                                                         : keyword_terms::TokenizeText(text.sections[s][0]);
            std::string word;
            for (const auto& token : tokens)
                if (!token.number && token.word.size() >= 6)
                    word = token.word;
            if (word.empty())
                continue;
            SCOPED_TRACE(word + " in " + text.title);
            CReferenceList list;
            const auto found = Found(word.c_str(), list);
            ASSERT_TRUE(found.count(text.rin));
            CReference* pRef = found.at(text.rin);
            EXPECT_NE(REFKIND_ARTICLE, pRef->GetKind());
            EXPECT_EQ(text.title, std::string(pRef->GetTitle()));
            auto* pHits = dynamic_cast<CHitList*>(pRef->GetData());
            ASSERT_NE(nullptr, pHits);
            std::set<UINT> sections;
            for (CHitPosition* p = pHits->GetFirst(); p != NULL; p = pHits->GetNext())
                sections.insert(p->GetSection());
            const UINT expected = s == 0 ? 221u : static_cast<UINT>(223 + s - 1);
            EXPECT_TRUE(sections.count(expected)) << "section " << expected;
            ++nPictures;
            break;
        }
    }
    EXPECT_GE(nPictures, 10u);
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

}  // namespace
