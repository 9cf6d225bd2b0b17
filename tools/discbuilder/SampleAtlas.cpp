#include "SampleAtlas.h"

#include "ArticleSource.h"
#include "ContentDatabaseSource.h"
#include "GrfWriter.h"
#include "PictureItemSource.h"

#include <AtlasArt.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>
#include <memory>
#include <mutex>
#include <stdexcept>

namespace discbuilder {

namespace {

constexpr int kHotSpotHalf = 6;       // a place's hot spot: 12 pixels round its point
constexpr std::uint32_t kHitSection = 220;  // the hot spots of a picture
constexpr int kMapCategory = 1;

std::string SixDigits(std::uint32_t number)
{
    char text[16];
    std::snprintf(text, sizeof text, "%06u", number);
    return text;
}

// A text made plain for the article source's mark-up.
std::string Plain(const std::string& text)
{
    std::string out;
    for (char c : text) {
        if (c == '*' || c == '[' || c == ']' || c == '\\' || c == '{' || c == '}')
            out += '\\';
        out += c;
    }
    return out;
}

std::string Link(const std::string& title, std::uint32_t article)
{
    return "[" + Plain(title) + "](vl://" + SixDigits(article) + ")";
}

// "a, b and c".
std::string Series(const std::vector<std::string>& items)
{
    std::string out;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (i > 0)
            out += i + 1 == items.size() ? " and " : ", ";
        out += items[i];
    }
    return out;
}

std::string Thousands(double value)
{
    long long n = std::llround(value);
    std::string digits = std::to_string(n), out;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        if (i > 0 && (digits.size() - i) % 3 == 0)
            out += ',';
        out += digits[i];
    }
    return out;
}

const char* ContinentName(const std::string& code)
{
    static const std::map<std::string, const char*> names = {{"AF", "Africa"}, {"AN", "Antarctica"},
                                                             {"AS", "Asia"},   {"EU", "Europe"},
                                                             {"NA", "North America"}, {"OC", "Oceania"},
                                                             {"SA", "South America"}};
    const auto found = names.find(code);
    return found == names.end() ? "the world" : found->second;
}

std::string Degrees(double value)
{
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", value);
    return text;
}

// The hot spot of a point on a map: 12 pixels round it, kept on the picture.
GrfHotSpot SpotAt(const atlas::MapFrame& frame, double lat, double lon, std::uint32_t target)
{
    const atlas::PixelPoint p = atlas::Project(frame, lat, lon);
    const int x = static_cast<int>(std::lround(p.x)), y = static_cast<int>(std::lround(p.y));
    GrfHotSpot spot;
    spot.left = std::max(-1, x - kHotSpotHalf);
    spot.right = std::min(frame.width + 1, x + kHotSpotHalf);
    spot.top = std::max(-1, y - kHotSpotHalf);
    spot.bottom = std::min(frame.height + 1, y + kHotSpotHalf);
    spot.kind = GrfHotSpotKind::Link;
    spot.target = target;
    return spot;
}

// The atlas, its articles as source texts (name and text) to be parsed by the caller.
SampleAtlas Build(const std::filesystem::path& sampleFolder, std::vector<std::pair<std::string, std::string>>& articleTexts)
{
    SampleAtlas atlasOut;
    const std::vector<atlas::Country> countries = atlas::ReadCountries(sampleFolder / atlas::kCountriesSource);
    const std::vector<std::vector<int>> neighbours = atlas::Neighbours(countries);
    const std::vector<int> colours = atlas::PoliticalColours(neighbours);
    const auto& regions = atlas::Regions();

    // The country articles: the show list's articles from 1100 by the country's name.
    std::map<std::string, std::uint32_t> articleByTitle;
    const std::filesystem::path shows = sampleFolder / "lists" / "shows.txt";
    for (const auto& row : ReadSourceTable(shows, 4)) {
        if (row[2] != "Artcl")
            continue;
        const unsigned long number = std::stoul(row[1]);
        if (number >= 1100 && number < 1360)
            articleByTitle[row[0]] = static_cast<std::uint32_t>(number);
    }
    std::map<std::string, std::size_t> countryByCode;
    std::vector<std::uint32_t> articleOf(countries.size(), 0);
    for (std::size_t i = 0; i < countries.size(); ++i) {
        countryByCode[countries[i].code] = i;
        const auto found = articleByTitle.find(countries[i].name);
        if (found != articleByTitle.end()) {
            articleOf[i] = found->second;
            articleByTitle.erase(found);
        }
    }
    if (!articleByTitle.empty())
        throw std::runtime_error(shows.string() + ": the country article \"" + articleByTitle.begin()->first +
                                 "\" names no country of " + atlas::kCountriesSource);

    // The places: the time-zone cities, then one row per country with an article.
    struct Place {
        std::string name;
        std::size_t country;
        double lat, lon;
        std::string latText, lonText;
    };
    std::vector<Place> places;
    std::map<std::size_t, std::vector<std::string>> citiesOf;
    const std::filesystem::path placeSource = sampleFolder / "lists" / "places.txt";
    for (const auto& row : ReadSourceTable(placeSource, 5)) {
        const auto country = countryByCode.find(row[1]);
        if (country == countryByCode.end() || articleOf[country->second] == 0)
            throw std::runtime_error(placeSource.string() + ": the place \"" + row[0] + "\" lies in " + row[1] +
                                     ", a country without an article");
        char* end = nullptr;
        const double lat = std::strtod(row[2].c_str(), &end);
        const bool latOk = end != nullptr && *end == '\0';
        const double lon = std::strtod(row[3].c_str(), &end);
        if (!latOk || *end != '\0' || std::fabs(lat) > 90 || std::fabs(lon) > 180)
            throw std::runtime_error(placeSource.string() + ": the place \"" + row[0] + "\" has no point on the earth");
        places.push_back({row[0], country->second, lat, lon, row[2], row[3]});
        citiesOf[country->second].push_back(row[0].substr(0, row[0].find(", ")));
    }
    for (std::size_t i = 0; i < countries.size(); ++i)
        if (articleOf[i] != 0)
            places.push_back({countries[i].name, i, countries[i].label.lat, countries[i].label.lon,
                              Degrees(countries[i].label.lat), Degrees(countries[i].label.lon)});

    // Every place on its most detailed map: the hot spots of each map, in the places' order.
    const std::size_t worldIndex = regions.size();
    std::vector<std::vector<GrfHotSpot>> spots(regions.size() + 1);
    std::vector<std::vector<atlas::MapMark>> marks(regions.size() + 1);
    for (const Place& p : places) {
        const int region = atlas::MostDetailedRegion(p.lat, p.lon);
        const std::size_t map = region < 0 ? worldIndex : static_cast<std::size_t>(region);
        const atlas::MapFrame frame = region < 0 ? atlas::WorldFrame() : regions[map].frame;
        AtlasPlace out;
        out.name = p.name;
        out.code = countries[p.country].code;
        out.latitude = p.latText;
        out.longitude = p.lonText;
        out.map = region < 0 ? atlas::kWorldMap : regions[map].political;
        out.hotSpot = static_cast<int>(spots[map].size());
        out.article = articleOf[p.country];
        if (out.hotSpot >= (1 << 17))
            throw std::invalid_argument("atlas: the place \"" + p.name + "\" would need a hot spot beyond what a hit can name");
        spots[map].push_back(SpotAt(frame, p.lat, p.lon, out.article));
        // A country's own row is drawn by its outline; the cities get a dot.
        if (p.name != countries[p.country].name)
            marks[map].push_back({{p.lon, p.lat}});
        atlasOut.places.push_back(std::move(out));
    }

    const art::Picture politicalLegend = atlas::DrawLegend(false);
    const art::Picture terrainLegend = atlas::DrawLegend(true);
    const std::string credit = "Outlines: Digital Chart of the World (GMT's DCW, LGPL-3+)";

    // The flat world map: the places' hot spots first (the first box that holds a point wins),
    // then the regions', smallest first.
    {
        GrfRecordSource r;
        r.mediaNumber = atlas::kWorldMap;
        r.itemNumber = 0;
        r.title = atlas::kWorldMapTitle;
        r.caption = RecordText("The countries of the world. Click a region to see its map, or a place to read about its country.");
        r.credit = credit;
        r.hotSpots = spots[worldIndex];
        for (const atlas::Region& region : regions)
            for (const auto& [sw, ne] : region.hotBoxes) {
                const atlas::PixelPoint a = atlas::Project(atlas::WorldFrame(), ne.lat, sw.lon);
                atlas::PixelPoint b = atlas::Project(atlas::WorldFrame(), sw.lat, ne.lon);
                if (ne.lon == 180)
                    b.x = atlas::WorldFrame().width;
                GrfHotSpot spot;
                spot.left = static_cast<int>(std::lround(a.x));
                spot.top = static_cast<int>(std::lround(a.y));
                spot.right = static_cast<int>(std::lround(b.x));
                spot.bottom = static_cast<int>(std::lround(b.y));
                spot.target = region.political;
                r.hotSpots.push_back(spot);
            }
        r.named.push_back({"LEGEND", 0});
        const art::Picture full = atlas::DrawPoliticalMap(countries, colours, atlas::WorldFrame(), marks[worldIndex], false);
        if (full.bgr.empty())
            throw std::runtime_error("atlas: cannot draw the flat world map");
        SetRecordPictures(r, full, &politicalLegend);
        atlasOut.maps.push_back({atlas::kWorldMap, WriteGrfRecord(r)});
    }

    // Per region its political map and its terrain twin.
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const atlas::Region& region = regions[i];
        for (const bool terrain : {false, true}) {
            GrfRecordSource r;
            r.mediaNumber = terrain ? region.terrain : region.political;
            r.itemNumber = region.article;
            r.title = terrain ? "Terrain of " + region.name : region.name;
            r.caption = RecordText(terrain ? "The land and sea of " + region.name + " as seen from space, with the borders of its countries."
                                           : "The countries of " + region.name + ". Click a place to read about its country.");
            r.credit = terrain ? credit + "; picture of the earth: NASA Visible Earth" : credit;
            r.hotSpots = spots[i];
            r.named.push_back({"ZOOM_OUT", atlas::kWorldMap});
            r.named.push_back({"MAP_OLAY", 0});
            r.lists.push_back({{"Political", region.political}, {"Terrain", region.terrain}});
            r.named.push_back({"LEGEND", 0});
            const art::Picture full = terrain ? atlas::DrawTerrainMap(atlas::SharedEarthImage(), countries, region.frame, marks[i])
                                              : atlas::DrawPoliticalMap(countries, colours, region.frame, marks[i], true);
            if (full.bgr.empty())
                throw std::runtime_error("atlas: cannot draw the map of " + region.name);
            SetRecordPictures(r, full, terrain ? &terrainLegend : &politicalLegend);
            atlasOut.maps.push_back({r.mediaNumber, WriteGrfRecord(r)});
        }
    }

    // The country articles.
    for (std::size_t i = 0; i < countries.size(); ++i) {
        if (articleOf[i] == 0)
            continue;
        const atlas::Country& c = countries[i];
        const int region = atlas::RegionOf(c);
        std::string text = "number: " + std::to_string(articleOf[i]) + "\ntitle: " + c.name +
                           "\ncategory: 1\ndate: 99/06/01\n";
        if (region >= 0) {
            const atlas::Region& r = regions[static_cast<std::size_t>(region)];
            text += "media: " + std::to_string(r.political) + " | C | Map of " + r.name + ".\n";
            text += "media: " + std::to_string(r.terrain) + " | C | Terrain of " + r.name + ".\n";
            text += "related: " + r.name + " | vl://" + SixDigits(r.article) + "\n";
        } else {
            text += "media: " + std::to_string(atlas::kWorldMap) + " | C | The flat world map.\n";
        }
        text += "\n= Introduction\n**" + Plain(c.name) + "** lies in " + ContinentName(c.continent);
        if (region >= 0)
            text += "; the atlas shows it on the map of " +
                    Link(regions[static_cast<std::size_t>(region)].name, regions[static_cast<std::size_t>(region)].article);
        text += ".\n[media 0]\n";

        std::vector<std::string> touching;
        for (int n : neighbours[i])
            if (articleOf[static_cast<std::size_t>(n)] != 0)
                touching.push_back(Link(countries[static_cast<std::size_t>(n)].name, articleOf[static_cast<std::size_t>(n)]));
        text += "\n= Neighbours\n";
        text += touching.empty() ? "No other country's land touches " + Plain(c.name) + " on the atlas's outlines.\n"
                                 : Plain(c.name) + " borders on " + Series(touching) + ".\n";
        text += "\n= Area\n";
        if (c.rings.empty())
            text += Plain(c.name) + " is too small to keep an outline at the scale of the atlas's maps; they show it as a dot.\n";
        else
            text += "The outline of " + Plain(c.name) + " encloses about " + Thousands(atlas::AreaSquareKm(c)) +
                    " square kilometres (" + Thousands(atlas::AreaSquareKm(c) / 2.589988) +
                    " square miles), measured on the atlas's outlines.\n";
        text += "\n= Time zones\n";
        const auto cities = citiesOf.find(i);
        if (cities == citiesOf.end()) {
            text += "The time-zone database names none of its clocks after a place in " + Plain(c.name) + ".\n";
        } else {
            std::vector<std::string> names;
            for (const std::string& city : cities->second)
                names.push_back(Plain(city));
            text += "The time-zone database names " + std::string(names.size() == 1 ? "its clock" : "its clocks") +
                    " for " + Plain(c.name) + " after " + Series(names) + ".\n";
        }
        articleTexts.push_back({"atlas article of " + c.code, text});
    }

    // One article per region.
    for (std::size_t i = 0; i < regions.size(); ++i) {
        const atlas::Region& r = regions[i];
        std::vector<std::string> members;
        for (std::size_t k = 0; k < countries.size(); ++k)
            if (articleOf[k] != 0 && atlas::RegionOf(countries[k]) == static_cast<int>(i))
                members.push_back(Link(countries[k].name, articleOf[k]));
        std::string text = "number: " + std::to_string(r.article) + "\ntitle: " + r.name +
                           "\ncategory: 1\ndate: 99/06/01\n";
        text += "media: " + std::to_string(r.political) + " | C | The countries of " + r.name + ".\n";
        text += "media: " + std::to_string(r.terrain) + " | C | Terrain of " + r.name + ".\n";
        text += "\n= Introduction\nThe atlas's map of **" + Plain(r.name) + "** shows " + std::to_string(members.size()) +
                " countries and territories; its terrain twin shows the same land as seen from space.\n[media 0]\n[media 1]\n";
        text += "\n= Countries\n" + Series(members) + ".\n";
        articleTexts.push_back({"atlas article of " + r.name, text});
    }
    return atlasOut;
}


// ---- the atlas kept on disc between processes ---------------------------------------------------
// Drawing the maps takes seconds; every test process that builds a sample disc would pay it. The
// result is kept in the temporary folder under a key made of the sources' bytes, the picture of
// the earth's size and date, and the running program's size and date (a rebuilt program draws
// again).

std::string ReadBytes(const std::filesystem::path& file)
{
    std::ifstream in(file, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

std::uint64_t Fnv(const std::string& bytes, std::uint64_t h)
{
    for (unsigned char c : bytes) {
        h ^= c;
        h *= 1099511628211ull;
    }
    return h;
}

std::string Stamp(const std::filesystem::path& file)
{
    std::error_code error;
    const auto size = std::filesystem::file_size(file, error);
    const auto time = std::filesystem::last_write_time(file, error);
    return std::to_string(error ? 0 : size) + "@" + std::to_string(time.time_since_epoch().count());
}

std::filesystem::path CachePath(const std::filesystem::path& sampleFolder)
{
    std::uint64_t h = 14695981039346656037ull;
    for (const char* source : {atlas::kCountriesSource, "lists/places.txt", "lists/shows.txt"})
        h = Fnv(ReadBytes(sampleFolder / source) + "|", h);
    h = Fnv(Stamp(atlas::kEarthImagePath) + "|" + Stamp("/proc/self/exe"), h);
    char name[64];
    std::snprintf(name, sizeof name, "vl-sample-atlas-%016llx.cache", static_cast<unsigned long long>(h));
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::temp_directory_path(error);
    return (error ? std::filesystem::path("/tmp") : folder) / name;
}

constexpr const char* kCacheMagic = "VL sample atlas 1\n";

void PutString(std::string& out, const std::string& text)
{
    const auto n = static_cast<std::uint32_t>(text.size());
    out.append(reinterpret_cast<const char*>(&n), 4);
    out += text;
}

void PutNumber(std::string& out, std::uint32_t n) { out.append(reinterpret_cast<const char*>(&n), 4); }

struct CacheReader {
    const std::string& bytes;
    std::size_t at = 0;
    bool ok = true;
    std::uint32_t Number()
    {
        std::uint32_t n = 0;
        if (at + 4 > bytes.size()) {
            ok = false;
            return 0;
        }
        std::memcpy(&n, bytes.data() + at, 4);
        at += 4;
        return n;
    }
    std::string String()
    {
        const std::uint32_t n = Number();
        if (!ok || n > bytes.size() - at) {
            ok = false;
            return {};
        }
        std::string text = bytes.substr(at, n);
        at += n;
        return text;
    }
};

std::string CacheBytes(const SampleAtlas& atlasIn, const std::vector<std::pair<std::string, std::string>>& texts)
{
    std::string out = kCacheMagic;
    PutNumber(out, static_cast<std::uint32_t>(atlasIn.maps.size()));
    for (const AtlasMapRecord& m : atlasIn.maps) {
        PutNumber(out, m.number);
        PutString(out, m.record);
    }
    PutNumber(out, static_cast<std::uint32_t>(texts.size()));
    for (const auto& [name, text] : texts) {
        PutString(out, name);
        PutString(out, text);
    }
    PutNumber(out, static_cast<std::uint32_t>(atlasIn.places.size()));
    for (const AtlasPlace& p : atlasIn.places) {
        for (const std::string* field : {&p.name, &p.code, &p.latitude, &p.longitude})
            PutString(out, *field);
        PutNumber(out, p.map);
        PutNumber(out, static_cast<std::uint32_t>(p.hotSpot));
        PutNumber(out, p.article);
    }
    return out;
}

// FALSE (and nothing kept) for anything but a whole, well-formed cache.
bool ReadCache(const std::string& bytes, SampleAtlas& atlasOut, std::vector<std::pair<std::string, std::string>>& texts)
{
    const std::string magic = kCacheMagic;
    if (bytes.compare(0, magic.size(), magic) != 0)
        return false;
    CacheReader in{bytes, magic.size()};
    SampleAtlas result;
    std::vector<std::pair<std::string, std::string>> sources;
    for (std::uint32_t n = in.Number(); in.ok && n > 0; --n) {
        AtlasMapRecord m;
        m.number = in.Number();
        m.record = in.String();
        result.maps.push_back(std::move(m));
    }
    for (std::uint32_t n = in.Number(); in.ok && n > 0; --n) {
        std::string name = in.String();
        std::string text = in.String();
        sources.push_back({std::move(name), std::move(text)});
    }
    for (std::uint32_t n = in.Number(); in.ok && n > 0; --n) {
        AtlasPlace p;
        p.name = in.String();
        p.code = in.String();
        p.latitude = in.String();
        p.longitude = in.String();
        p.map = in.Number();
        p.hotSpot = static_cast<int>(in.Number());
        p.article = in.Number();
        result.places.push_back(std::move(p));
    }
    if (!in.ok || in.at != bytes.size())
        return false;
    atlasOut = std::move(result);
    texts = std::move(sources);
    return true;
}

SampleAtlas BuildOrReadCache(const std::filesystem::path& sampleFolder)
{
    const std::filesystem::path cache = CachePath(sampleFolder);
    SampleAtlas result;
    std::vector<std::pair<std::string, std::string>> texts;
    if (!ReadCache(ReadBytes(cache), result, texts)) {
        result = Build(sampleFolder, texts);
        // Written beside and renamed, so that a process reading it meanwhile sees all or nothing.
        const std::filesystem::path partial = cache.string() + "." + std::to_string(std::hash<std::string>{}(sampleFolder.string()) ^ reinterpret_cast<std::uintptr_t>(&result));
        {
            std::ofstream out(partial, std::ios::binary | std::ios::trunc);
            out << CacheBytes(result, texts);
        }
        std::error_code error;
        std::filesystem::rename(partial, cache, error);
        if (error)
            std::filesystem::remove(partial, error);
    }
    for (const auto& [name, text] : texts)
        result.articles.push_back(ParseArticleSource(text, name));
    return result;
}

}  // namespace

bool HasAtlasSources(const std::filesystem::path& sampleFolder)
{
    return std::filesystem::exists(sampleFolder / atlas::kCountriesSource);
}

const SampleAtlas& BuildSampleAtlas(const std::filesystem::path& sampleFolder)
{
    static std::mutex lock;
    static std::map<std::string, std::pair<std::filesystem::file_time_type, std::unique_ptr<SampleAtlas>>> built;
    const std::lock_guard<std::mutex> guard(lock);
    const std::string key = std::filesystem::absolute(sampleFolder).lexically_normal().string();
    std::filesystem::file_time_type stamp = std::filesystem::last_write_time(sampleFolder / atlas::kCountriesSource);
    for (const char* list : {"lists/places.txt", "lists/shows.txt"})
        stamp = std::max(stamp, std::filesystem::last_write_time(sampleFolder / list));
    auto& slot = built[key];
    if (!slot.second || slot.first != stamp) {
        slot.second = std::make_unique<SampleAtlas>(BuildOrReadCache(sampleFolder));
        slot.first = stamp;
    }
    return *slot.second;
}

std::uint32_t AtlasMapFor(double latitude, double longitude)
{
    const int region = atlas::MostDetailedRegion(latitude, longitude);
    return region < 0 ? atlas::kWorldMap : atlas::Regions()[static_cast<std::size_t>(region)].political;
}

}  // namespace discbuilder
