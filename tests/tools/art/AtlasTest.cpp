// The atlas's geography: the outlines' reader, the projection, the regions, neighbours and areas.
#include <Atlas.h>
#include <AtlasArt.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace {

TEST(AtlasSourcesTest, OutlinesAreReadAndBadLinesNamed)
{
    const auto countries = atlas::ParseCountries("# comment\n"
                                                 "country FR EU France\n"
                                                 "label 2.5 46.5\n"
                                                 "ring 3\n"
                                                 "-1.0 43.0\n"
                                                 "7.5 43.5\n"
                                                 "2.0 51.0\n"
                                                 "country MC EU Monaco\n"
                                                 "label 7.42 43.74\n",
                                                 "c.txt");
    ASSERT_EQ(2u, countries.size());
    EXPECT_EQ("France", countries[0].name);
    ASSERT_EQ(1u, countries[0].rings.size());
    EXPECT_DOUBLE_EQ(51.0, countries[0].rings[0][2].lat);
    EXPECT_TRUE(countries[1].rings.empty()) << "a dot";
    EXPECT_DOUBLE_EQ(0.0, atlas::AreaSquareKm(countries[1]));

    const struct {
        const char* text;
        const char* error;
    } bad[] = {
        {"ring 3\n", "c.txt:1: \"ring\" before the first country"},
        {"country FR EU France\nring 3\n1 2\n3 4\n", "c.txt:4: the last ring has 1 points too few"},
        {"country FR EU France\nring 3\n1 2\n# x\n", "c.txt:4: the ring before has 2 points too few"},
        {"country FR EU France\nring 2\n", "c.txt:2: a ring is"},
        {"country FR EU France\nlabel 200 1\n", "c.txt:2: a label is"},
        {"country FR EU France\nring 3\n1 x\n", "c.txt:3: a ring point is"},
        {"country FRA EU France\n", "c.txt:1: a country is"},
        {"country FR EU\n", "c.txt:1: a country is"},
        {"colour red\n", "c.txt:1: unknown line"},
    };
    for (const auto& c : bad) {
        try {
            atlas::ParseCountries(c.text, "c.txt");
            ADD_FAILURE() << "accepted: " << c.text;
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(0u, std::string(e.what()).find(c.error)) << e.what();
        }
    }
}

TEST(AtlasProjectionTest, PlateCarreeWithFramesAcrossTheDateLine)
{
    const atlas::MapFrame world = atlas::WorldFrame();
    EXPECT_EQ(2 * world.height, world.width);
    const atlas::PixelPoint centre = atlas::Project(world, 0, 0);
    EXPECT_DOUBLE_EQ(360.0, centre.x);
    EXPECT_DOUBLE_EQ(180.0, centre.y);
    EXPECT_DOUBLE_EQ(720.0, atlas::Project(world, 0, 180).x) << "the cut edge of an outline stays east";
    EXPECT_DOUBLE_EQ(0.0, atlas::Project(world, 0, -180).x);
    // Oceania's map passes the 180th meridian: a point at 170 W lies east of one at 170 E.
    const atlas::Region* oceania = nullptr;
    for (const atlas::Region& r : atlas::Regions())
        if (r.name == "Oceania")
            oceania = &r;
    ASSERT_NE(nullptr, oceania);
    EXPECT_GT(atlas::Project(oceania->frame, -15, -170).x, atlas::Project(oceania->frame, -15, 170).x);
    EXPECT_TRUE(atlas::Shows(oceania->frame, -14.27, -170.7, 6)) << "Pago Pago";
    const atlas::GeoPoint back = atlas::Unproject(oceania->frame, atlas::Project(oceania->frame, -14.27, -170.7).x,
                                                  atlas::Project(oceania->frame, -14.27, -170.7).y);
    EXPECT_NEAR(-170.7, back.lon, 1e-9);
    EXPECT_NEAR(-14.27, back.lat, 1e-9);
    // Regional maps fit 640 x 480 and stretch x by their middle latitude's cosine.
    for (const atlas::Region& r : atlas::Regions()) {
        SCOPED_TRACE(r.name);
        EXPECT_LE(r.frame.width, 640);
        EXPECT_LE(r.frame.height, 480);
        const double across = (r.frame.east - r.frame.west) * std::cos((r.frame.north + r.frame.south) / 2 * M_PI / 180);
        EXPECT_NEAR(across / (r.frame.north - r.frame.south), double(r.frame.width) / r.frame.height, 0.01);
    }
    // The most detailed map: Paris on Europe's, Vostok on the world map.
    EXPECT_EQ("Europe", atlas::Regions()[static_cast<std::size_t>(atlas::MostDetailedRegion(48.85, 2.35))].name);
    EXPECT_EQ(-1, atlas::MostDetailedRegion(-78.4, 106.9));
}

TEST(AtlasSourcesTest, TheCommittedOutlinesGiveNeighboursAndAreas)
{
    const auto countries = atlas::ReadCountries(std::string(VL_SAMPLE_DIR) + "/atlas/countries.txt");
    std::map<std::string, std::size_t> byCode;
    int outlined = 0;
    for (std::size_t i = 0; i < countries.size(); ++i) {
        byCode[countries[i].code] = i;
        outlined += !countries[i].rings.empty();
        for (const auto& ring : countries[i].rings)
            for (const atlas::GeoPoint& p : ring)
                ASSERT_TRUE(p.lon >= -180 && p.lon <= 180) << countries[i].code << " is cut at the date line";
    }
    EXPECT_EQ(217, outlined);
    const auto neighbours = atlas::Neighbours(countries);
    auto touches = [&](const char* a, const char* b) {
        const auto& n = neighbours[byCode.at(a)];
        return std::find(n.begin(), n.end(), static_cast<int>(byCode.at(b))) != n.end();
    };
    EXPECT_TRUE(touches("FR", "ES"));
    EXPECT_TRUE(touches("US", "CA")) << "along the straight border of the 49th parallel";
    EXPECT_TRUE(touches("ZA", "LS"));
    EXPECT_TRUE(touches("FR", "DE"));
    EXPECT_FALSE(touches("FR", "AU"));
    EXPECT_TRUE(neighbours[byCode.at("IS")].empty()) << "an island";
    // Areas within a tenth of the recorded ones (the outlines are simplified to 10 km); a
    // country enclosed by another is not counted in its area.
    const std::map<std::string, double> recorded = {{"FR", 551695}, {"AU", 7692024}, {"ZA", 1221037}, {"EG", 1001450}};
    for (const auto& [code, km2] : recorded)
        EXPECT_NEAR(km2, atlas::AreaSquareKm(countries[byCode.at(code)]), km2 / 10) << code;
    // Neighbours get different colours.
    const auto colours = atlas::PoliticalColours(neighbours);
    int clashes = 0;
    for (std::size_t i = 0; i < countries.size(); ++i)
        for (int n : neighbours[i])
            clashes += colours[i] == colours[static_cast<std::size_t>(n)];
    EXPECT_EQ(0, clashes);
    // Antarctica is closed along the map's bottom edge.
    const auto& antarctica = countries[byCode.at("AQ")].rings.front();
    EXPECT_TRUE(std::any_of(antarctica.begin(), antarctica.end(), [](const atlas::GeoPoint& p) { return p.lat == -90; }));
}

TEST(AtlasSourcesTest, ThePictureOfTheEarthIsCheckedWhenRead)
{
    EXPECT_THROW(atlas::ReadEarthImage("/nonexistent/earth.jpg"), std::runtime_error);
    const atlas::EarthImage& earth = atlas::SharedEarthImage();
    EXPECT_EQ(2 * earth.height, earth.width);
    const std::string bmp = atlas::EarthBitmapFile(earth, 72, 36);
    EXPECT_EQ("BM", bmp.substr(0, 2));
    EXPECT_EQ(14u + 40 + 1024 + 72 * 36, bmp.size());
    // The Sahara is sandy, the middle of the Pacific blue.
    const std::uint8_t* sahara = earth.At(23, 10);
    const std::uint8_t* pacific = earth.At(0, -150);
    EXPECT_GT(sahara[0], sahara[2]);
    EXPECT_GT(pacific[2], pacific[0]);
}

}  // namespace
