#include "SampleBubbles.h"

#include "SourceText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>

namespace discbuilder {

namespace {

[[noreturn]] void Fail(const std::string& name, int line, const std::string& what)
{
    throw std::runtime_error(name + ":" + std::to_string(line) + ": " + what);
}

// The harbour's palette ranges.
const int kSky = 0;        // 64 shades from night blue to the orange of the horizon
const int kSea = 64;       // 32 shades from the horizon's grey-blue down to deep blue
const int kHill = 96;      // 16 greens, dark
const int kStone = 112;    // 16 stone greys
const int kRoof = 128;     // 8 roof reds
const int kWall = 136;     // 8 whitewashed walls
const int kHull = 144;     // 8 hull colours
const int kSail = 152;     // 8 sail whites
const int kTower = 160;    // red and white of the lighthouse
const int kLamp = 168;     // 8 lamp yellows
const int kSun = 176;      // 16 from gold to pale yellow
const int kWindow = 192;   // lit windows
const int kCompass = 200;  // the compass rose: brass, dark
const int kBlack = 255;

std::array<std::array<std::uint8_t, 3>, 256> HarbourPalette()
{
    std::array<std::array<std::uint8_t, 3>, 256> p{};
    auto mix = [](int a, int b, double t) { return static_cast<std::uint8_t>(std::lround(a + (b - a) * t)); };
    for (int i = 0; i < 64; ++i) {
        const double t = i / 63.0;
        p[kSky + i] = t < 0.6 ? std::array<std::uint8_t, 3>{mix(20, 150, t / 0.6), mix(30, 110, t / 0.6), mix(90, 150, t / 0.6)}
                              : std::array<std::uint8_t, 3>{mix(150, 250, (t - 0.6) / 0.4), mix(110, 170, (t - 0.6) / 0.4),
                                                            mix(150, 90, (t - 0.6) / 0.4)};
    }
    for (int i = 0; i < 32; ++i)
        p[kSea + i] = {mix(120, 10, i / 31.0), mix(110, 40, i / 31.0), mix(140, 90, i / 31.0)};
    for (int i = 0; i < 16; ++i) {
        p[kHill + i] = {mix(30, 60, i / 15.0), mix(50, 80, i / 15.0), mix(40, 60, i / 15.0)};
        p[kStone + i] = {mix(90, 170, i / 15.0), mix(85, 160, i / 15.0), mix(80, 150, i / 15.0)};
        p[kSun + i] = {255, mix(170, 245, i / 15.0), mix(40, 200, i / 15.0)};
    }
    for (int i = 0; i < 8; ++i) {
        p[kRoof + i] = {mix(120, 190, i / 7.0), mix(40, 70, i / 7.0), mix(30, 50, i / 7.0)};
        p[kWall + i] = {mix(190, 245, i / 7.0), mix(180, 235, i / 7.0), mix(170, 220, i / 7.0)};
        p[kHull + i] = {mix(100, 40, i / 7.0), mix(30, 60, i / 7.0), mix(30, 110, i / 7.0)};
        p[kSail + i] = {mix(200, 250, i / 7.0), mix(195, 245, i / 7.0), mix(185, 235, i / 7.0)};
        p[kLamp + i] = {255, mix(200, 255, i / 7.0), mix(60, 170, i / 7.0)};
        p[kWindow + i] = {250, mix(190, 220, i / 7.0), 90};
        p[kCompass + i] = {mix(150, 230, i / 7.0), mix(110, 190, i / 7.0), mix(40, 80, i / 7.0)};
    }
    p[kTower] = {200, 30, 30};
    p[kTower + 1] = {245, 245, 240};
    p[kBlack] = {0, 0, 0};
    return p;
}

class Canvas {
public:
    Canvas(BubSource& s) : m_s(s) {}
    int W() const { return static_cast<int>(m_s.width); }
    int H() const { return static_cast<int>(m_s.height); }
    void Set(int x, int y, int colour)
    {
        x = ((x % W()) + W()) % W();  // the panorama wraps
        if (y >= 0 && y < H())
            m_s.pixels[static_cast<std::size_t>(y) * m_s.width + static_cast<std::size_t>(x)] = static_cast<std::uint8_t>(colour);
    }
    void Rect(int l, int t, int r, int b, int colour)
    {
        for (int y = t; y < b; ++y)
            for (int x = l; x < r; ++x)
                Set(x, y, colour);
    }
    void Disc(int cx, int cy, int radius, int colour)
    {
        for (int y = cy - radius; y <= cy + radius; ++y)
            for (int x = cx - radius; x <= cx + radius; ++x)
                if ((x - cx) * (x - cx) + (y - cy) * (y - cy) <= radius * radius)
                    Set(x, y, colour);
    }

private:
    BubSource& m_s;
};

void Boat(Canvas& c, int x, int waterline, int length, int hull, bool sail)
{
    for (int y = 0; y < 10; ++y) {
        const int inset = y;  // the hull narrows to the keel
        c.Rect(x + inset, waterline - 10 + y, x + length - inset, waterline - 9 + y, hull);
    }
    if (!sail) {
        c.Rect(x + length / 3, waterline - 22, x + length * 2 / 3, waterline - 10, kWall + 5);
        c.Rect(x + length / 3 + 4, waterline - 19, x + length / 3 + 10, waterline - 14, kWindow + 3);
        return;
    }
    const int mast = x + length / 2;
    c.Rect(mast, waterline - 70, mast + 2, waterline - 10, kStone + 2);
    for (int y = 0; y < 55; ++y) {
        const int w = (y * length / 2) / 55;
        c.Rect(mast + 3, waterline - 68 + y, mast + 3 + w, waterline - 67 + y, kSail + 7 - y / 8);
        c.Rect(mast - 1 - w * 2 / 3, waterline - 60 + y * 5 / 6, mast - 1, waterline - 59 + y * 5 / 6, kSail + 4);
    }
}

BubSource DrawHarbour(std::uint32_t width, std::uint32_t height)
{
    if (width < 720 || height < 240)
        throw std::runtime_error("the harbour needs at least 720 x 240 pixels");
    BubSource s;
    s.width = width;
    s.height = height;
    s.rgb = HarbourPalette();
    s.pixels.assign(static_cast<std::size_t>(width) * height, 0);
    Canvas c(s);
    const int W = c.W(), H = c.H();
    const int horizon = H * 19 / 32;
    const double turn = 2 * 3.14159265358979 / W;
    for (int y = 0; y < horizon; ++y)
        c.Rect(0, y, W, y + 1, kSky + y * 63 / std::max(1, horizon - 1));
    // The setting sun, half behind the hills' gap.
    const int sunX = W * 5 / 8;
    for (int r = 26; r > 0; r -= 2)
        c.Disc(sunX, horizon - 6, r, kSun + 15 - r * 15 / 26);
    // Hills all round, lower where the sun sets; whole waves only, so that the ends meet.
    for (int x = 0; x < W; ++x) {
        const double gap = std::exp(-std::pow((x - sunX) / (W / 10.0), 2));
        const int top = horizon - static_cast<int>((34 + 16 * std::sin(3 * turn * x) + 9 * std::sin(7 * turn * x + 1)) * (1 - 0.8 * gap));
        for (int y = top; y < horizon; ++y)
            c.Set(x, y, kHill + std::min(15, (y - top) / 3));
    }
    // The sea with the sun's glitter and wavelets.
    for (int y = horizon; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            int shade = kSea + (y - horizon) * 31 / std::max(1, H - horizon);
            if (((x * 7 + y * 13) % 23) == 0 || ((x + y * 3) % 17) == 0)
                shade = std::max(kSea, shade - 6);
            const int dx = std::abs(x - sunX);
            if (dx < 30 - (y - horizon) / 6 && (y % 3) == 0 && ((x / 3 + y) % 4) != 0)
                shade = kSun + 10;
            c.Set(x, y, shade);
        }
    // The quay along the left part, with the houses and the lighthouse on it.
    const int quay = H * 25 / 32;
    c.Rect(0, quay, W * 10 / 29, H, kStone + 8);
    for (int x = 0; x < W * 10 / 29; x += 24)
        for (int y = quay; y < H; y += 12)
            c.Rect(x + ((y / 12) % 2) * 12, y, x + ((y / 12) % 2) * 12 + 1, y + 12, kStone + 3);
    for (int x = 0; x < W * 10 / 29; ++x)
        c.Set(x, quay, kStone + 14);
    // Lighthouse: red and white bands, the lamp room and its beam.
    const int lx = 190;
    for (int y = 80; y < quay; ++y) {
        const int half = 12 + (y - 80) * 8 / (quay - 80);
        c.Rect(lx + 15 - half, y, lx + 15 + half, y + 1, kTower + ((y / 24) % 2));
    }
    c.Rect(lx + 2, 62, lx + 28, 80, kLamp + 7);
    c.Rect(lx, 58, lx + 30, 62, kBlack);
    c.Rect(lx + 4, 50, lx + 26, 58, kTower);
    for (int i = 0; i < 120; ++i)
        c.Rect(lx + 30 + i, 70 - i / 12, lx + 31 + i, 72 + i / 12, kLamp + 2 + (i / 40));
    // Houses with roofs and lit windows.
    const int houses[4][2] = {{300, 52}, {360, 44}, {412, 36}, {452, 30}};
    for (const auto& h : houses) {
        const int left = h[0], width = h[1], top = quay - 56 + (width % 3) * 6;
        c.Rect(left, top, left + width, quay, kWall + 4 + (left % 3));
        for (int y = 0; y < 16; ++y)  // the roof widens from its ridge down to the eaves
            c.Rect(left - 2 + (15 - y) * width / 32, top - 16 + y, left + width + 2 - (15 - y) * width / 32, top - 15 + y,
                   kRoof + (y / 3));
        for (int wx = left + 6; wx + 8 < left + width; wx += 14)
            c.Rect(wx, top + 12, wx + 8, top + 22, kWindow + 2);
        c.Rect(left + width / 2 - 4, quay - 16, left + width / 2 + 4, quay, kRoof);
    }
    // The compass rose set into the quay.
    const int rx = 90, ry = quay + (H - quay) / 2;
    c.Disc(rx, ry, 26, kCompass + 2);
    c.Disc(rx, ry, 22, kStone + 10);
    for (int i = 0; i < 20; ++i) {
        c.Rect(rx - (20 - i) / 6, ry - i - 1, rx + (20 - i) / 6 + 1, ry - i, kCompass + 7);
        c.Rect(rx - (20 - i) / 6, ry + i, rx + (20 - i) / 6 + 1, ry + i + 1, kCompass);
        c.Set(rx + i, ry, kCompass + 4);
        c.Set(rx - i, ry, kCompass + 4);
    }
    // Boats: a fishing boat in the harbour, sailing yachts further out.
    Boat(c, W * 700 / 1440, quay + 8, 70, kHull + 1, false);
    Boat(c, W * 1040 / 1440, horizon + 40, 56, kHull + 6, true);
    Boat(c, W * 1250 / 1440, horizon + 22, 40, kHull + 3, true);
    return s;
}

}  // namespace

BubSource DrawBubbleScene(const std::string& scene, std::uint32_t width, std::uint32_t height)
{
    if (scene == "harbour")
        return DrawHarbour(width, height);
    throw std::runtime_error("unknown bubble scene \"" + scene + "\"");
}

BubbleItemSource ParseBubbleSource(const std::string& text, const std::string& name)
{
    BubbleItemSource item;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    bool hasScene = false;
    long start = 0;
    std::vector<BubSpotSource> spots;
    while (std::getline(in, raw)) {
        ++line;
        const std::string l = TrimSource(raw);
        if (l.empty() || l[0] == '#')
            continue;
        const auto colon = l.find(':');
        if (colon == std::string::npos)
            Fail(name, line, "a line is \"key: value\"");
        const std::string key = TrimSource(l.substr(0, colon));
        const std::string value = TrimSource(l.substr(colon + 1));
        std::istringstream v(value);
        if (key == "number") {
            if (!(v >> item.number) || item.number <= 0)
                Fail(name, line, "a bad number");
        } else if (key == "scene") {
            std::string scene;
            std::uint32_t w = 0, h = 0;
            if (!(v >> scene >> w >> h))
                Fail(name, line, "a scene is \"name width height\"");
            try {
                item.bubble = DrawBubbleScene(scene, w, h);
            } catch (const std::runtime_error& e) {
                Fail(name, line, e.what());
            }
            hasScene = true;
        } else if (key == "start") {
            if (!(v >> start) || start < 0)
                Fail(name, line, "a bad start column");
        } else if (key == "spot") {
            const auto bar = value.find('|');
            BubSpotSource spot;
            std::istringstream r(value.substr(0, bar == std::string::npos ? 0 : bar));
            if (bar == std::string::npos || !(r >> spot.left >> spot.top >> spot.right >> spot.bottom))
                Fail(name, line, "a hot spot is \"left top right bottom | text\"");
            spot.text = TrimSource(value.substr(bar + 1));
            spots.push_back(spot);
        } else {
            Fail(name, line, "unknown key \"" + key + "\"");
        }
    }
    if (item.number == 0 || !hasScene)
        Fail(name, line, "a bubble needs its number and scene");
    item.bubble.initialColumn = static_cast<std::uint32_t>(start);
    item.bubble.spots = spots;
    return item;
}

std::vector<std::filesystem::path> WriteSampleBubbles(const std::filesystem::path& sampleFolder,
                                                      const std::filesystem::path& dataFolder)
{
    std::vector<std::filesystem::path> written;
    const std::filesystem::path folder = sampleFolder / "bubbles";
    if (!std::filesystem::is_directory(folder))
        return written;
    std::vector<std::filesystem::path> sources;
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.is_regular_file() && entry.path().extension() == ".txt")
            sources.push_back(entry.path());
    std::sort(sources.begin(), sources.end());
    std::filesystem::create_directories(dataFolder / "Photo");
    for (const auto& source : sources) {
        std::ifstream in(source, std::ios::binary);
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        const BubbleItemSource item = ParseBubbleSource(text, source.filename().string());
        char name[32];
        std::snprintf(name, sizeof name, "Bu%06ld.bub", static_cast<long>(item.number % 10000));
        const std::filesystem::path target = dataFolder / "Photo" / name;
        std::ofstream out(target, std::ios::binary | std::ios::trunc);
        out << WriteBubFile(item.bubble);
        if (!out)
            throw std::runtime_error("cannot write " + target.string());
        written.push_back(target);
    }
    return written;
}

std::vector<std::filesystem::path> CopySampleSimulations(const std::filesystem::path& dataFolder,
                                                         const std::filesystem::path& simsFolder)
{
    std::vector<std::filesystem::path> written;
#ifdef VL_SIMS_DIR
    const std::filesystem::path from = simsFolder.empty() ? std::filesystem::path(VL_SIMS_DIR) : simsFolder;
#else
    const std::filesystem::path from = simsFolder;
#endif
    if (from.empty() || !std::filesystem::is_directory(from))
        return written;
    std::vector<std::filesystem::path> libraries;
    for (const auto& entry : std::filesystem::directory_iterator(from)) {
        const std::string file = entry.path().filename().string();
        if (entry.is_regular_file() && file.rfind("si", 0) == 0 && entry.path().extension() == ".dll")
            libraries.push_back(entry.path());
    }
    std::sort(libraries.begin(), libraries.end());
    if (libraries.empty())
        return written;
    std::filesystem::create_directories(dataFolder / "Sims");
    for (const auto& library : libraries) {
        const std::filesystem::path target = dataFolder / "Sims" / library.filename();
        std::filesystem::copy_file(library, target, std::filesystem::copy_options::overwrite_existing);
        written.push_back(target);
    }
    return written;
}

}  // namespace discbuilder
