// The sample-disc builder: the readable article sources, and the builder program making a disc
// folder that the reader reads.
#include "ArticleTestSupport.h"

#include <ArticleSource.h>
#include <RomLinkWriter.h>

#include <cstdlib>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace article_test {
namespace {

using discbuilder::ArticleRecordSource;
using discbuilder::ParseArticleSource;

TEST(ArticleSourceTest, ParagraphsStylesLinksAndItems)
{
    ArticleRecordSource s = ParseArticleSource("# a comment\n"
                                               "number: 1004\n"
                                               "title: Jazz\n"
                                               "date: 99/03/15\n"
                                               "media: 1001004 | E | A band\n"
                                               "related: Music\n"
                                               "related: Broadcasting | vl://001007\n"
                                               "extra: Table of styles\n"
                                               "\n"
                                               "= Introduction\n"
                                               "**Jazz** is music\n"
                                               "with *swing*.\n"
                                               "\n"
                                               "[media 0]\n"
                                               "= Spread\n"
                                               "### Radio\n"
                                               "Heard on [the radio](vl://001007) and [again](vl://001007), see [1920s](tf:A192#D).\n"
                                               "[extra 0]\n",
                                               "jazz.txt");
    EXPECT_EQ(s.rin, 1004);
    EXPECT_EQ(s.title, "Jazz");
    EXPECT_EQ(s.issueDate, "99/03/15");
    EXPECT_EQ(s.formatYear, 1999);
    ASSERT_EQ(s.media.size(), 1u);
    EXPECT_EQ(s.media[0].rin, 1001004u);
    EXPECT_EQ(s.media[0].kindLetter, 'E');
    EXPECT_EQ(s.captions, std::vector<std::string>{"A band"});
    ASSERT_EQ(s.related.size(), 2u);
    EXPECT_EQ(s.related[0].link, "");
    EXPECT_EQ(s.related[1].rin, 1007u);
    EXPECT_EQ(s.extraTitles, std::vector<std::string>{"Table of styles"});

    ASSERT_EQ(s.sections.size(), 2u);
    const auto& intro = s.sections[0];
    ASSERT_EQ(intro.runs.size(), 2u);
    EXPECT_EQ(intro.runs[0].text, "Jazz is music with swing.");
    EXPECT_EQ(intro.runs[1].kind, 4);
    EXPECT_EQ(intro.runs[1].style, 0);
    // Bold "Jazz" (4), plain " is music with " (15), italic "swing" (5), plain "." (1).
    EXPECT_EQ(intro.styles, (std::vector<std::uint16_t>{1 | (0 << 1) | (4 << 5), 15 << 1, 1 | (2 << 1) | (5 << 5), 1 << 1}));

    const auto& spread = s.sections[1];
    ASSERT_EQ(spread.runs.size(), 3u);
    EXPECT_EQ(spread.runs[0].text, "Radio");
    EXPECT_EQ(spread.runs[1].text, "Heard on the radio and again, see 1920s.");
    EXPECT_EQ(spread.runs[2].kind, 6);
    EXPECT_EQ(spread.styles[0], 1 | (5 << 5)) << "the heading is one bold run";
    ASSERT_EQ(s.links.size(), 2u);
    EXPECT_EQ(s.links[0].target, "vl://001007");
    // Offsets count the section's text from its start ("Radio" comes first).
    EXPECT_EQ(s.links[0].positions,
              (std::vector<std::uint32_t>{discbuilder::PackTextPosition(1, 14, 9), discbuilder::PackTextPosition(1, 28, 5)}));
    EXPECT_EQ(s.links[1].target, "tf:A192#D");
}

TEST(ArticleSourceTest, TablesPicturesThumbnailsFlagsAndStyleCodes)
{
    TempDir pictures;
    pictures.Write("pic.txt", "colour: . 0 0 0\ncolour: # 255 0 0\npicture:\n.#.\n#.#\n");
    ArticleRecordSource s = ParseArticleSource("number: 7\n"
                                               "title: T\n"
                                               "media: 1 | A | one\n"
                                               "media: 2 | A | two\n"
                                               "+table Heights | style 3 | centre\n"
                                               "heading: Name | #Metres\n"
                                               "row: **Big** hill[^1] | 120\n"
                                               "row: ^ | [Lakes](vl://001006)\n"
                                               "footnote: [^1,2] Estimated.\n"
                                               "+end\n"
                                               "= S\n"
                                               "[table 0]\n"
                                               "[thumbnails right 0 2]\n"
                                               "Beside.\n"
                                               "\n"
                                               "{centre}\n"
                                               "{tight}\n"
                                               "Middle {s7:\\xBD} end.\n"
                                               "[picture pic | link 55]\n"
                                               "{indent 2 3}\n"
                                               "Indented.\n",
                                               "t.txt", pictures.path());
    ASSERT_EQ(s.tables.size(), 1u);
    EXPECT_EQ(s.tables[0].title, "Heights");
    const std::string& t = s.tables[0].data;
    auto u16 = [&](std::size_t at) { return static_cast<unsigned char>(t[at]) | (static_cast<unsigned char>(t[at + 1]) << 8); };
    EXPECT_EQ(t[4], 3);                                // style
    EXPECT_EQ(static_cast<unsigned char>(t[29]), 255);  // centred
    EXPECT_EQ(u16(32), 4);                              // bands
    EXPECT_EQ(u16(34), 7);                              // cells
    EXPECT_EQ(u16(36), 8);  // Name, Metres, Big, " hill", 120, the merged cell, Lakes, Estimated.
    EXPECT_EQ(t[25], 1);    // one link, on run 6
    EXPECT_EQ(u16(40), 6);
    EXPECT_EQ(u16(18), 7);  // the footnote area: run 7
    EXPECT_EQ(u16(20), 1);
    EXPECT_EQ(t[23], 1);

    const auto& runs = s.sections[0].runs;
    ASSERT_EQ(runs.size(), 5u);
    EXPECT_EQ(runs[0].kind, 5);
    EXPECT_EQ(runs[1].kind, 2);
    EXPECT_EQ(runs[1].style, 0);
    EXPECT_EQ(runs[1].level, 2);
    EXPECT_EQ(runs[1].text, "Beside.");
    EXPECT_EQ(runs[2].flags, 1 | 8);
    EXPECT_EQ(runs[2].text, "Middle \xBD end.");
    EXPECT_EQ(runs[3].kind, 3);
    EXPECT_EQ(runs[3].extra, 55u);
    EXPECT_EQ(runs[4].flags, 4);
    EXPECT_EQ(s.sections[0].indents, (std::vector<std::array<std::uint8_t, 4>>{{4, 4, 2, 3}}));
    // "Beside." plain, "Middle " plain, the arrow in style 7, " end." and "Indented." plain.
    EXPECT_EQ(s.sections[0].styles,
              (std::vector<std::uint16_t>{14 << 1, 1 | (7 << 1) | (1 << 5), 14 << 1}));
    EXPECT_EQ(s.pictures.rfind("GIF89a", 0), 0u);
}

TEST(ArticleSourceTest, BadLinesNameTheFileAndLine)
{
    struct Case {
        const char* source;
        const char* message;
    } cases[] = {
        {"title: X\n= S\ntext\n", "a.txt:3: the article has no number"},
        {"number: 5\n= S\n", "a.txt:2: the article has no title"},
        {"number: 5\ntitle: X\nsize: 3\n", "a.txt:3: unknown key \"size\""},
        {"number: 5\nnonsense\n", "a.txt:2: expected \"key: value\" before the first section"},
        {"number: 5\ntitle: X\ndate: 1999-03-15\n", "a.txt:3: the date has the form YY/MM/DD"},
        {"number: 5\ntitle: X\nmedia: 12 | AB | c\n", "a.txt:3: media: number | kind letter | caption"},
        {"number: 5\ntitle: X\n= S\n[media 0]\n", "a.txt:4: no media entry 0"},
        {"number: 5\ntitle: X\n= S\n**open\n", "a.txt:4: a style is not closed"},
        {"number: 5\ntitle: X\n= S\n[x](http://a)\n", "a.txt:4: a link target begins \"vl://\" or \"tf:\""},
        {"number: 5\ntitle: X\n= S\n[x](vl://1\n", "a.txt:4: a link is written [text](target)"},
        {"number: 5\ntitle: X\n+table T\nrow: a\n", "a.txt:4: a table is not ended with \"+end\""},
        {"number: 5\ntitle: X\n+table T\nbogus: a\n+end\n", "a.txt:3: unknown table line \"bogus\""},
        {"number: 5\ntitle: X\n+table T\nrow: [^0] a\n+end\n", "a.txt:3: a footnote mark is 1 to 15"},
        {"number: 5\ntitle: X\n= S\n[table 1]\n",
         "a.txt:4: no table 1 (tables come before the paragraphs that show them)"},
        {"number: 5\ntitle: X\n= S\nx {s20:y}\n", "a.txt:4: a style code is 0 to 15"},
        {"number: 5\ntitle: X\n= S\nx {s7:\\xZZ}\n", "a.txt:4: a byte is written \\xHH"},
        {"number: 5\ntitle: X\n= S\n[thumbnails up 0 1]\n",
         "a.txt:4: [thumbnails left|right FIRST COUNT] naming media entries"},
        {"number: 5\ntitle: X\n= S\n[picture pic]\n", "a.txt:4: pictures need the sample's picture folder"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.source);
        try {
            ParseArticleSource(c.source, "a.txt");
            ADD_FAILURE() << "accepted";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

class SampleDiscTest : public ArticleTest {};

TEST_F(SampleDiscTest, BuilderProgramMakesADiscTheReaderReads)
{
    std::string command = std::string(VL_DISCBUILD) + " " + VL_SAMPLE_DIR + " " + HostT("sample-disc").string() +
                          " > " + HostT("build.log").string() + " 2>&1";
    ASSERT_EQ(std::system(command.c_str()), 0) << dir.Read("t/build.log");
    const std::filesystem::path data = HostT("sample-disc/info_dat");
    EXPECT_TRUE(std::filesystem::exists(data / "vl00i1.mdb"));
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\sample-disc\\info_dat\\", "T:\\vl00i1se.ini"));

    // ROM_LINK.DAT places every article: RIN | category | kind | picture | disc | block | count.
    std::map<long, std::pair<long, long>> places;
    std::ifstream rom(data / discbuilder::kRomLinkFileName);
    std::string line;
    while (std::getline(rom, line)) {
        std::vector<long> fields;
        std::stringstream in(line);
        std::string field;
        while (std::getline(in, field, '|'))
            fields.push_back(std::stol(field));
        ASSERT_EQ(fields.size(), 7u) << line;
        places[fields[0]] = {fields[5], fields[6]};
    }

    auto sources = discbuilder::ReadArticleSources(std::filesystem::path(VL_SAMPLE_DIR) / "articles");
    ASSERT_GE(sources.size(), 5u);
    for (const ArticleRecordSource& source : sources) {
        SCOPED_TRACE(source.title);
        ASSERT_TRUE(places.count(source.rin));
        auto [block, count] = places[source.rin];
        CArticleDocument doc;
        ASSERT_TRUE(OpenDocument(doc, "T:\\sample-disc\\info_dat\\vl.dat", block, count));
        EXPECT_STREQ(doc.GetTitle(), source.title.c_str());
        EXPECT_EQ(doc.GetSectionCount(), static_cast<int>(source.sections.size()));
        std::unique_ptr<CStringArray> titles(doc.GetSectionTitles());
        EXPECT_EQ(std::string(titles->GetAt(0)), source.sections[0].title);
        EXPECT_EQ(doc.GetMediaEntryCount(), static_cast<int>(source.media.size()));
        EXPECT_EQ(doc.GetLinkCount(), static_cast<int>(source.links.size()));
        int relatedLinks = 0;
        for (const auto& related : source.related)
            relatedLinks += !related.link.empty();
        EXPECT_EQ(doc.GetRelatedLinkCount(), relatedLinks);
        ASSERT_TRUE(doc.SaveAsText("T:\\article.txt"));
        EXPECT_EQ(dir.Read("t/article.txt").rfind(source.sections[0].runs[0].text + "\r\n\r\n", 0), 0u);
    }
}

TEST_F(SampleDiscTest, BuilderProgramReportsBadArguments)
{
    std::string command = std::string(VL_DISCBUILD) + " > " + HostT("usage.log").string() + " 2>&1";
    int status = std::system(command.c_str());
    EXPECT_NE(status, 0);
    EXPECT_NE(dir.Read("t/usage.log").find("usage: vldiscbuild SAMPLE_FOLDER DISC_FOLDER"), std::string::npos);
}

}  // namespace
}  // namespace article_test
