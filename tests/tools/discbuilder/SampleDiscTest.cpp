#include <gtest/gtest.h>

#include "SampleDisc.h"

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
// splash picture, both licence texts and both About pages, these with the disc's CR LF line ends
// and nothing else changed.
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
        for (char c : source) {
            if (c == '\n')
                expected += '\r';
            expected += c;
        }
        EXPECT_EQ(expected, disc);
    }
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
