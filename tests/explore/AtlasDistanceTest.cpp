// The Distance Calculator's arithmetic: great-circle distances against a table of known pairs
// (including the nearly equal pair whose cosine rounds past 1, and the pole read as 89.9), the
// result and coordinate texts, the middle the globe turns to, and the inset map's roll.
#include "explore/AtlasDistance.h"

#include <gtest/gtest.h>

namespace atlas_distance_test {
namespace {

struct DistanceCase {
    const char* name;
    double lat1, lon1, lat2, lon2;
    long miles, km;
};

TEST(AtlasDistance, DistancesOfKnownPairs)
{
    const DistanceCase cases[] = {
        {"same place", 48.8667, 2.3333, 48.8667, 2.3333, 0, 0},
        {"Paris to London", 48.8667, 2.3333, 51.5083, -0.1253, 212, 341},
        {"quarter of the equator", 0, 0, 0, 90, 6219, 10009},
        {"half of the equator", 0, 0, 0, 180, 12439, 20018},
        {"pole to pole, north read as 89.9", 90.0, 0, -90.0, 0, 12432, 20007},
        {"cosine rounding past 1", 4.092235927796665, 123.64388806876917, 4.092235895405012, 123.6438881224049, 0, 0},
    };
    for (const DistanceCase& c : cases) {
        long nMiles = -1, nKm = -1;
        CAtlasDistance::Compute(c.lat1, c.lon1, c.lat2, c.lon2, nMiles, nKm);
        EXPECT_EQ(nMiles, c.miles) << c.name;
        EXPECT_EQ(nKm, c.km) << c.name;
        // The distance does not depend on the order of the places.
        CAtlasDistance::Compute(c.lat2, c.lon2, c.lat1, c.lon1, nMiles, nKm);
        EXPECT_EQ(nMiles, c.miles) << c.name << " reversed";
    }
}

TEST(AtlasDistance, ResultTexts)
{
    EXPECT_EQ(CAtlasDistance::ResultText(0, FALSE), "");
    EXPECT_EQ(CAtlasDistance::ResultText(0, TRUE), "0");
    EXPECT_EQ(CAtlasDistance::ResultText(999, TRUE), "999");
    EXPECT_EQ(CAtlasDistance::ResultText(1000, TRUE), "1,000");
    EXPECT_EQ(CAtlasDistance::ResultText(12438, FALSE), "12,438");
    EXPECT_EQ(CAtlasDistance::ResultText(1234567, TRUE), "1234,567");
}

TEST(AtlasDistance, CoordinateTexts)
{
    EXPECT_EQ(CAtlasDistance::PlaceText("48.8667", "2.3333"), "48.8667 N, 2.3333 E");
    EXPECT_EQ(CAtlasDistance::PlaceText("-34.6000", "-58.4500"), "34.6000 S, 58.4500 W");
    EXPECT_EQ(CAtlasDistance::PointText(12.05, -0.5), "12.05 N, 0.50 W");
    EXPECT_EQ(CAtlasDistance::PointText(-12.34, 179.999), "12.33 S, 179.99 E");
    EXPECT_EQ(CAtlasDistance::PointText(0.0, 0.0), "0.00 N, 0.00 E");
    EXPECT_EQ(CAtlasDistance::DegreesFromText("-45.0"), -45);
    EXPECT_EQ(CAtlasDistance::DegreesFromText("0.0"), 0);
    EXPECT_EQ(CAtlasDistance::DegreesFromText("-44.5"), -45);
    EXPECT_EQ(CAtlasDistance::DegreesFromText("12.7"), 13);
}

TEST(AtlasDistance, MiddlesAndTurns)
{
    struct Case {
        const char* name;
        int a, b;
        BOOL bLongitude;
        int middle;
        BOOL across;
        int count;
        BOOL down;
    };
    const Case cases[] = {
        {"both positive", 10, 50, FALSE, 30, FALSE, 0, FALSE},
        {"both negative", -50, -10, FALSE, -30, FALSE, 0, FALSE},
        {"opposite latitudes", 48, -34, FALSE, 7, FALSE, 0, TRUE},
        {"opposite longitudes, short span", -58, 16, TRUE, -21, FALSE, 0, FALSE},
        {"opposite longitudes across 180", 170, -170, TRUE, 0, TRUE, 10, TRUE},
        {"span exactly 175", -100, 75, TRUE, 0, TRUE, 92, FALSE},
        {"span 174", -100, 74, TRUE, -13, FALSE, 0, FALSE},
    };
    for (const Case& c : cases) {
        const CAtlasDistance::Turn turn = CAtlasDistance::Middle(c.a, c.b, c.bLongitude);
        EXPECT_EQ(turn.bAcross, c.across) << c.name;
        if (c.across)
            EXPECT_EQ(turn.nCount, c.count) << c.name;
        else
            EXPECT_EQ(turn.nMiddle, c.middle) << c.name;
        EXPECT_EQ(turn.bDown, c.down) << c.name;
    }
    EXPECT_EQ(CAtlasDistance::WrapLongitude(180), -180 + 0);
    EXPECT_EQ(CAtlasDistance::WrapLongitude(-180), 180);
    EXPECT_EQ(CAtlasDistance::WrapLongitude(179), 179);
    EXPECT_EQ(CAtlasDistance::WrapLongitude(-179), -179);
}

TEST(AtlasDistance, InsetRollKeepsTheRouteTogether)
{
    const int w = 159;  // q = 40: quarters 0-39, 40-79, 80-119, 120-159
    struct Case {
        const char* name;
        int x1, x2, roll;
    };
    const Case cases[] = {
        {"third and fourth", 90, 130, 1},
        {"fourth and third", 150, 85, 1},
        {"first and fourth", 10, 150, 2},
        {"both fourth", 125, 150, 2},
        {"both first", 5, 30, 3},
        {"first and second", 45, 10, 3},
        {"second and third: already close", 60, 100, 0},
        {"second and fourth: tie takes the smaller roll", 60, 140, 0},
        {"first and third: wrap brings them closer", 30, 110, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CAtlasDistance::InsetRoll(c.x1, c.x2, w), c.roll) << c.name;
    EXPECT_EQ(CAtlasDistance::RolledX(10, 2, w), 90);
    EXPECT_EQ(CAtlasDistance::RolledX(150, 2, w), 70);
    EXPECT_EQ(CAtlasDistance::InsetX(-180, w), 0);
    EXPECT_EQ(CAtlasDistance::InsetX(0, w), 80);
    EXPECT_EQ(CAtlasDistance::InsetY(90, 80), 0);
    EXPECT_EQ(CAtlasDistance::InsetY(-90, 80), 80);
}

}  // namespace
}  // namespace atlas_distance_test
