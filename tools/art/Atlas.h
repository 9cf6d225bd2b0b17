// The atlas's geography: the country outlines of sample/atlas/countries.txt (written by
// scripts/make-atlas-sources), the maps of the sample disc with their frames, and the one
// projection that the art generator draws with, the disc builder puts hot spots with, and the
// tests check places with.
//
// Maps are plate carree: x grows linearly with longitude, y falls linearly with latitude. A
// regional map stretches x by the cosine of its middle latitude (through its pixel size), and
// its frame may pass the 180th meridian (east > 180): a longitude is taken in the turn of the
// earth nearest the frame's middle.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace atlas {

struct GeoPoint {
    double lon = 0, lat = 0;
};

struct Country {
    std::string code;       // ISO 3166 two letters
    std::string continent;  // AF AN AS EU NA OC SA
    std::string name;
    GeoPoint label;         // inside its largest ring; the point of a country drawn as a dot
    std::vector<std::vector<GeoPoint>> rings;  // the largest first; none: drawn as a dot
};

// The countries of a sources text; `name` names it in errors. Throws std::runtime_error naming
// the line for an unknown line, a bad number, a ring with fewer points than it announced or
// fewer than 3, a point off the earth, or a ring or label before the first country.
std::vector<Country> ParseCountries(const std::string& text, const std::string& name);
// The same read from a file; throws std::runtime_error also when it cannot be read.
std::vector<Country> ReadCountries(const std::filesystem::path& file);

// A map's frame: the degrees it spans and its size in pixels.
struct MapFrame {
    double west = -180, east = 180, south = -90, north = 90;
    int width = 720, height = 360;
};

struct PixelPoint {
    double x = 0, y = 0;
};

// The longitude taken in the turn of the earth nearest the frame's middle.
double FrameLongitude(const MapFrame& frame, double lon);
// The map pixel of a point (not clipped: a point off the map lies outside 0..width, 0..height).
PixelPoint Project(const MapFrame& frame, double lat, double lon);
// The point of a map pixel.
GeoPoint Unproject(const MapFrame& frame, double x, double y);
// TRUE when the point lies on the map at least `margin` pixels from its edges.
bool Shows(const MapFrame& frame, double lat, double lon, int margin = 0);

// The maps of the sample disc.
constexpr std::uint32_t kWorldMap = 3000732;
constexpr const char* kWorldMapTitle = "Flat World Map";
MapFrame WorldFrame();

struct Region {
    std::string name;            // "Europe"
    std::uint32_t article = 0;   // its article
    std::uint32_t political = 0; // its political map, titled by the region's name
    std::uint32_t terrain = 0;   // its terrain twin, "Terrain of " + name
    MapFrame frame;
    // The boxes of its hot spots on the flat world map (south-west and north-east corners).
    std::vector<std::pair<GeoPoint, GeoPoint>> hotBoxes;
};
const std::vector<Region>& Regions();
// The region a country belongs to, as an index into Regions(); -1 for none (Antarctica).
int RegionOf(const Country& country);
// The most detailed map (its frame) that shows a point: the region map of the largest scale
// that holds it 6 pixels inside its edges, else the flat world map. Index into Regions(), -1
// for the world map.
int MostDetailedRegion(double lat, double lon);

// For every country, the countries whose outlines touch its own (points closer than about
// 12 km, the simplification's tolerance), in the order of the list.
std::vector<std::vector<int>> Neighbours(const std::vector<Country>& countries);
// The area enclosed by a country's rings, in square kilometres (0 for a dot).
double AreaSquareKm(const Country& country);

// The folder of the atlas sources in a sample folder, and the countries file in it.
constexpr const char* kCountriesSource = "atlas/countries.txt";

}  // namespace atlas
