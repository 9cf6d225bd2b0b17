#include "Atlas.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <set>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

namespace atlas {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kEarthRadiusKm = 6371.0088;

[[noreturn]] void Fail(const std::string& name, int line, const std::string& what)
{
    throw std::runtime_error(name + ":" + std::to_string(line) + ": " + what);
}

bool ReadNumber(std::istringstream& in, double& value)
{
    std::string word;
    if (!(in >> word))
        return false;
    char* end = nullptr;
    value = std::strtod(word.c_str(), &end);
    return end != nullptr && *end == '\0' && std::isfinite(value);
}

bool OnEarth(const GeoPoint& p) { return p.lon >= -180 && p.lon <= 180 && p.lat >= -90 && p.lat <= 90; }

// A frame of the degrees given whose pixels fit 640 x 480, longitude degrees shrunk by the
// cosine of the middle latitude.
MapFrame MakeFrame(double west, double east, double south, double north)
{
    MapFrame f{west, east, south, north, 0, 0};
    const double across = (east - west) * std::cos((south + north) / 2 * kPi / 180);
    const double down = north - south;
    double scale = 640 / across;
    if (down * scale > 480)
        scale = 480 / down;
    f.width = static_cast<int>(std::lround(across * scale));
    f.height = static_cast<int>(std::lround(down * scale));
    return f;
}

bool InRing(const std::vector<GeoPoint>& ring, double lon, double lat)
{
    bool in = false;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const GeoPoint& a = ring[i];
        const GeoPoint& b = ring[j];
        if ((a.lat > lat) != (b.lat > lat) && lon < a.lon + (lat - a.lat) * (b.lon - a.lon) / (b.lat - a.lat))
            in = !in;
    }
    return in;
}

// Square kilometres inside one ring (the area between its edges and the equator summed on the
// sphere).
double RingArea(const std::vector<GeoPoint>& ring)
{
    double sum = 0;
    for (std::size_t i = 0, j = ring.size() - 1; i < ring.size(); j = i++) {
        const double dl = (ring[i].lon - ring[j].lon) * kPi / 180;
        sum += dl * (std::sin(ring[j].lat * kPi / 180) + std::sin(ring[i].lat * kPi / 180)) / 2;
    }
    return std::fabs(sum) * kEarthRadiusKm * kEarthRadiusKm;
}

}  // namespace

std::vector<Country> ParseCountries(const std::string& text, const std::string& name)
{
    std::vector<Country> countries;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    std::size_t pending = 0;  // points the current ring still expects
    while (std::getline(in, raw)) {
        ++line;
        if (!raw.empty() && raw.back() == '\r')
            raw.pop_back();
        if (raw.empty() || raw[0] == '#') {
            if (pending != 0)
                Fail(name, line, "the ring before has " + std::to_string(pending) + " points too few");
            continue;
        }
        std::istringstream words(raw);
        if (pending != 0) {
            GeoPoint p;
            if (!ReadNumber(words, p.lon) || !ReadNumber(words, p.lat) || !OnEarth(p))
                Fail(name, line, "a ring point is \"LON LAT\" in degrees on the earth");
            countries.back().rings.back().push_back(p);
            --pending;
            continue;
        }
        std::string key;
        words >> key;
        if (key == "country") {
            Country c;
            words >> c.code >> c.continent;
            std::getline(words, c.name);
            const auto first = c.name.find_first_not_of(' ');
            c.name = first == std::string::npos ? "" : c.name.substr(first);
            if (c.code.size() != 2 || c.continent.size() != 2 || c.name.empty())
                Fail(name, line, "a country is \"country CODE CONTINENT NAME\"");
            countries.push_back(std::move(c));
        } else if (key == "label" || key == "ring") {
            if (countries.empty())
                Fail(name, line, "\"" + key + "\" before the first country");
            if (key == "label") {
                GeoPoint p;
                if (!ReadNumber(words, p.lon) || !ReadNumber(words, p.lat) || !OnEarth(p))
                    Fail(name, line, "a label is \"label LON LAT\" in degrees on the earth");
                countries.back().label = p;
            } else {
                double n = 0;
                if (!ReadNumber(words, n) || n < 3 || n > 1e6 || n != std::floor(n))
                    Fail(name, line, "a ring is \"ring N\" with N of 3 and more");
                pending = static_cast<std::size_t>(n);
                countries.back().rings.emplace_back();
                countries.back().rings.back().reserve(pending);
            }
        } else {
            Fail(name, line, "unknown line \"" + raw + "\"");
        }
    }
    if (pending != 0)
        Fail(name, line, "the last ring has " + std::to_string(pending) + " points too few");
    return countries;
}

std::vector<Country> ReadCountries(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot read " + file.string());
    const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return ParseCountries(text, file.filename().string());
}

double FrameLongitude(const MapFrame& frame, double lon)
{
    const double middle = (frame.west + frame.east) / 2;
    while (lon < middle - 180)
        lon += 360;
    while (lon > middle + 180)
        lon -= 360;
    return lon;
}

PixelPoint Project(const MapFrame& frame, double lat, double lon)
{
    return {(FrameLongitude(frame, lon) - frame.west) / (frame.east - frame.west) * frame.width,
            (frame.north - lat) / (frame.north - frame.south) * frame.height};
}

GeoPoint Unproject(const MapFrame& frame, double x, double y)
{
    double lon = frame.west + x / frame.width * (frame.east - frame.west);
    if (lon > 180)
        lon -= 360;
    return {lon, frame.north - y / frame.height * (frame.north - frame.south)};
}

bool Shows(const MapFrame& frame, double lat, double lon, int margin)
{
    const PixelPoint p = Project(frame, lat, lon);
    return p.x >= margin && p.y >= margin && p.x <= frame.width - margin && p.y <= frame.height - margin;
}

MapFrame WorldFrame() { return MapFrame{-180, 180, -90, 90, 720, 360}; }

const std::vector<Region>& Regions()
{
    static const std::vector<Region> regions = [] {
        struct Row {
            const char* name;
            double west, east, south, north;
            GeoPoint hotWest, hotEast;
            GeoPoint moreWest = {}, moreEast = {};  // a second box when both are set apart
        };
        // The hot boxes on the flat world map are listed smallest first where they overlap, so
        // that the map's hit test (the first box that holds the point) picks the smaller region.
        const Row rows[] = {
            {"Central America and the Caribbean", -118, -58, 5, 33, {-118, 5}, {-58, 24}},
            {"Middle East", 24, 64, 10, 43, {25, 12}, {63, 42}},
            {"Europe", -25, 50, 34, 72, {-25, 35}, {45, 72}},
            {"North America", -170, -20, 12, 84, {-170, 24}, {-20, 84}},
            {"South America", -93, -30, -57, 14, {-93, -57}, {-30, 5}},
            {"Africa", -26, 60, -36, 38, {-26, -36}, {52, 35}},
            {"Asia", 25, 180, -12, 82, {45, -12}, {180, 82}},
            {"Oceania", 110, 235, -50, 20, {110, -50}, {180, -12}, {-180, -50}, {-125, 20}},
        };
        std::vector<Region> out;
        std::uint32_t n = 0;
        for (const Row& r : rows) {
            Region region;
            region.name = r.name;
            region.article = 1360 + n;
            region.political = 3000733 + n;
            region.terrain = 3000741 + n;
            region.frame = MakeFrame(r.west, r.east, r.south, r.north);
            region.hotBoxes.push_back({r.hotWest, r.hotEast});
            if (r.moreEast.lon != r.moreWest.lon)
                region.hotBoxes.push_back({r.moreWest, r.moreEast});
            out.push_back(region);
            ++n;
        }
        return out;
    }();
    return regions;
}

int RegionOf(const Country& country)
{
    static const std::set<std::string> centralAmerica = {
        "BZ", "CR", "GT", "HN", "NI", "PA", "SV", "AG", "AI", "AW", "BB", "BL", "BQ", "BS", "CU", "CW", "DM", "DO",
        "GD", "GP", "HT", "JM", "KN", "KY", "LC", "MF", "MQ", "MS", "PR", "SX", "TC", "TT", "VC", "VG", "VI"};
    static const std::set<std::string> middleEast = {"AE", "BH", "IL", "IQ", "IR", "JO", "KW", "LB",
                                                     "OM", "PS", "QA", "SA", "SY", "YE", "TR"};
    auto index = [](const char* name) {
        const auto& regions = Regions();
        for (std::size_t i = 0; i < regions.size(); ++i)
            if (regions[i].name == name)
                return static_cast<int>(i);
        return -1;
    };
    if (centralAmerica.count(country.code))
        return index("Central America and the Caribbean");
    if (middleEast.count(country.code))
        return index("Middle East");
    if (country.code == "GL")
        return index("North America");
    static const std::map<std::string, const char*> continents = {{"NA", "North America"}, {"SA", "South America"},
                                                                  {"EU", "Europe"},        {"AF", "Africa"},
                                                                  {"AS", "Asia"},          {"OC", "Oceania"}};
    const auto found = continents.find(country.continent);
    return found == continents.end() ? -1 : index(found->second);
}

int MostDetailedRegion(double lat, double lon)
{
    int best = -1;
    double bestScale = 0;
    const auto& regions = Regions();
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const MapFrame& f = regions[i].frame;
        const double scale = f.height / (f.north - f.south);
        if (scale > bestScale && Shows(f, lat, lon, 6)) {
            best = static_cast<int>(i);
            bestScale = scale;
        }
    }
    return best;
}

std::vector<std::vector<int>> Neighbours(const std::vector<Country>& countries)
{
    // Every outline sampled every 0.05 degrees into cells of 0.15 degrees; two countries touch
    // when samples of both lie within 0.11 degrees (longitude shrunk by latitude's cosine).
    constexpr double kCell = 0.15, kTouch = 0.11, kStep = 0.05;
    struct Sample {
        double lon, lat;
        int country;
    };
    std::unordered_map<long long, std::vector<Sample>> cells;
    auto key = [](long long cx, long long cy) { return cx * 100000 + cy; };
    for (std::size_t c = 0; c < countries.size(); ++c)
        for (const auto& ring : countries[c].rings)
            for (std::size_t i = 0; i < ring.size(); ++i) {
                const GeoPoint& a = ring[i];
                const GeoPoint& b = ring[(i + 1) % ring.size()];
                const int steps = std::max(1, static_cast<int>(std::ceil(std::max(std::fabs(b.lon - a.lon), std::fabs(b.lat - a.lat)) / kStep)));
                for (int s = 0; s < steps; ++s) {
                    const double t = static_cast<double>(s) / steps;
                    Sample p{a.lon + t * (b.lon - a.lon), a.lat + t * (b.lat - a.lat), static_cast<int>(c)};
                    cells[key(static_cast<long long>(std::floor(p.lon / kCell)), static_cast<long long>(std::floor(p.lat / kCell)))].push_back(p);
                }
            }
    std::vector<std::set<int>> touching(countries.size());
    for (const auto& [cell, samples] : cells) {
        (void)cell;
        for (const Sample& s : samples) {
            const long long x = static_cast<long long>(std::floor(s.lon / kCell)), y = static_cast<long long>(std::floor(s.lat / kCell));
            const double shrink = std::cos(s.lat * kPi / 180);
            for (long long dx = -1; dx <= 1; ++dx)
                for (long long dy = -1; dy <= 1; ++dy) {
                    const auto other = cells.find(key(x + dx, y + dy));
                    if (other == cells.end())
                        continue;
                    for (const Sample& t : other->second) {
                        if (t.country == s.country || touching[static_cast<std::size_t>(s.country)].count(t.country))
                            continue;
                        const double ex = (t.lon - s.lon) * shrink, ey = t.lat - s.lat;
                        if (ex * ex + ey * ey <= kTouch * kTouch) {
                            touching[static_cast<std::size_t>(s.country)].insert(t.country);
                            touching[static_cast<std::size_t>(t.country)].insert(s.country);
                        }
                    }
                }
        }
    }
    std::vector<std::vector<int>> out;
    for (const auto& set : touching)
        out.emplace_back(set.begin(), set.end());
    return out;
}

double AreaSquareKm(const Country& country)
{
    if (country.rings.empty())
        return 0;
    const auto& outer = country.rings.front();
    double area = RingArea(outer);
    for (std::size_t i = 1; i < country.rings.size(); ++i) {
        const auto& ring = country.rings[i];
        // A ring inside the largest one is a hole (a country enclosed by this one).
        const bool hole = InRing(outer, ring.front().lon, ring.front().lat) &&
                          InRing(outer, ring[ring.size() / 2].lon, ring[ring.size() / 2].lat);
        area += hole ? -RingArea(ring) : RingArea(ring);
    }
    return std::max(0.0, area);
}

}  // namespace atlas
