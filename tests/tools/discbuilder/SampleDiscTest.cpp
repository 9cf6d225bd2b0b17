#include <gtest/gtest.h>

#include "SampleDisc.h"
#include "SourceText.h"

#include <TempDir.h>

#include <fstream>
#include <iterator>
#include <string>

namespace {

std::string Bytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

// The sample disc carries everything the first start and the About window read from it: the
// splash picture, both licence texts and both About pages, these in the disc's code page with its
// CR LF line ends and nothing else changed. A licence paragraph is one line, for the dialog to
// wrap, and the French one keeps its accents.
TEST(SampleDiscTest, CarriesTheFirstStartsFiles)
{
    TempDir dir;
    const discbuilder::SampleDiscReport report = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "disc");
    EXPECT_TRUE(std::filesystem::exists(report.dataFolder / "splash.bmp"));
    ASSERT_EQ(4u, report.texts.size());
    for (const char* name : {"licence/Licnengl.txt", "licence/Licnfren.txt", "about/vl00crd.htm", "about/vl00ack.htm"}) {
        SCOPED_TRACE(name);
        const std::string source = Bytes(std::filesystem::path(VL_SAMPLE_DIR) / name);
        const std::string disc = Bytes(report.dataFolder / std::filesystem::path(name).filename());
        ASSERT_FALSE(source.empty());
        std::string expected;
        for (char c : discbuilder::Cp1252FromUtf8(source)) {
            if (c == '\n')
                expected += '\r';
            expected += c;
        }
        EXPECT_EQ(expected, disc);
    }
    const std::string french = Bytes(report.dataFolder / "Licnfren.txt");
    EXPECT_NE(std::string::npos,
              french.find("\r\nCe disque d'exemple a \xE9t\xE9 \xE9" "crit pour le projet afin que le programme puisse "
                          "\xEAtre essay\xE9 sans disque de contenu. Ses articles"))
        << "one line, accents in Windows-1252";
}

// UTF-8 of the sources in the disc's code page: its own characters of 0x80-0x9F and 0xA0-0xFF
// kept, others marked, broken UTF-8 marked.
TEST(SampleDiscTest, SourceTextBecomesTheDiscsCodePage)
{
    const struct {
        const char* utf8;
        const char* disc;
    } cases[] = {
        {"plain", "plain"},
        {"\xC3\xA9t\xC3\xA9 \xC3\x89" "cole", "\xE9t\xE9 \xC9" "cole"},
        {"\xE2\x80\x94 \xE2\x82\xAC", "\x97 \x80"},
        {"\xE4\xB8\xAD", "?"},
        {"a\xC3", "a?"},
        {"\xFF" "b", "?b"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.disc, discbuilder::Cp1252FromUtf8(c.utf8)) << c.utf8;
}

// The lists that the browsing view and the atlas page through, each with its index.
TEST(SampleDiscTest, CarriesTheShowAndPlaceLists)
{
    TempDir dir;
    const discbuilder::SampleDiscReport report = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, dir.path() / "disc");
    EXPECT_EQ(8u, report.lists.size());
    for (const char* name : {"Jlshow.dat", "jlshow.ndx", "Jlookcd1.dat", "jlookcd1.ndx", "map_loc.dat", "map_loc.ndx",
                             "distcalc.dat", "distcalc.ndx"})
        EXPECT_GT(std::filesystem::file_size(report.dataFolder / name), 0u) << name;
}

}  // namespace
