#include "PictureItemSource.h"

#include "GifWriter.h"
#include "SampleBubbles.h"

#include <ArtTable.h>
#include <Painter.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sstream>
#include <stdexcept>
#include <unordered_map>

namespace discbuilder {

namespace {

[[noreturn]] void Fail(const std::string& name, int line, const std::string& what)
{
    throw std::runtime_error(name + ":" + std::to_string(line) + ": " + what);
}

std::string Trim(const std::string& s)
{
    const auto b = s.find_first_not_of(" \t\r");
    if (b == std::string::npos)
        return "";
    const auto e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

std::uint32_t Number(const std::string& text, const std::string& name, int line)
{
    const std::string t = Trim(text);
    if (t.empty() || t.find_first_not_of("0123456789") != std::string::npos || t.size() > 9)
        Fail(name, line, "not a number: \"" + t + "\"");
    return static_cast<std::uint32_t>(std::stoul(t));
}

std::vector<std::string> Split(const std::string& text, char sep)
{
    std::vector<std::string> parts;
    std::string part;
    std::istringstream in(text);
    while (std::getline(in, part, sep))
        parts.push_back(Trim(part));
    return parts;
}

// "Look width height".
void ParseArt(const std::string& value, std::string& look, int& width, int& height, const std::string& name, int line)
{
    std::istringstream in(value);
    if (!(in >> look >> width >> height) || width < 8 || height < 8 || width > 2000 || height > 2000)
        Fail(name, line, "art needs a look and a size of 8 to 2000 pixels each way");
}

std::vector<GrfListItem> ParseList(const std::string& value, const std::string& name, int line)
{
    std::vector<GrfListItem> items;
    for (const std::string& entry : Split(value, ';')) {
        const auto eq = entry.rfind('=');
        if (eq == std::string::npos || Trim(entry.substr(0, eq)).empty())
            Fail(name, line, "a list item is \"Title = number\"");
        items.push_back({Trim(entry.substr(0, eq)), Number(entry.substr(eq + 1), name, line)});
    }
    if (items.empty())
        Fail(name, line, "an empty list");
    return items;
}

const std::map<std::string, art::Look>& Looks()
{
    static const std::map<std::string, art::Look> looks = {
        {"PhotoMonoplane", art::Look::PhotoMonoplane}, {"PhotoBiplane", art::Look::PhotoBiplane}, {"PhotoLavaNight", art::Look::PhotoLavaNight},
        {"PhotoLeaves", art::Look::PhotoLeaves},       {"PhotoBand", art::Look::PhotoBand},
        {"MapGreatLakes", art::Look::MapGreatLakes},   {"MapWorld", art::Look::MapWorld},
        {"MapLegend", art::Look::MapLegend},
    };
    return looks;
}

// "Bubble" + a bubble scene ("BubbleHarbour"): the scene's opening view, its left part at
// the still's proportions, scaled to the still's size.
art::Picture BubbleStill(std::string scene, int width, int height)
{
    std::transform(scene.begin(), scene.end(), scene.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    const BubSource bubble = DrawBubbleScene(scene, 1440, 320);
    const int columns = std::min<int>(static_cast<int>(bubble.width), static_cast<int>(bubble.height) * width / std::max(1, height));
    art::Picture picture;
    picture.width = width;
    picture.height = height;
    picture.bgr.assign(picture.Stride() * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const std::size_t from = static_cast<std::size_t>(y * static_cast<int>(bubble.height) / height) * bubble.width +
                                     static_cast<std::size_t>(x * columns / width);
            const auto& rgb = bubble.rgb[bubble.pixels[from]];
            std::uint8_t* to = &picture.bgr[static_cast<std::size_t>(height - 1 - y) * picture.Stride() + static_cast<std::size_t>(x) * 3];
            to[0] = rgb[2];
            to[1] = rgb[1];
            to[2] = rgb[0];
        }
    return picture;
}

art::Picture Draw(const std::string& look, int width, int height)
{
    if (look.rfind("Bubble", 0) == 0)
        return BubbleStill(look.substr(6), width, height);
    const auto it = Looks().find(look);
    if (it == Looks().end())
        throw std::runtime_error("the art generator has no look \"" + look + "\"");
    art::Picture picture = art::Paint(it->second, width, height);
    if (picture.bgr.empty())
        throw std::runtime_error("the art generator could not draw \"" + look + "\"");
    return picture;
}

}  // namespace

// The picture reduced to an average of each w x h block (for the small images).
art::Picture Reduce(const art::Picture& from, int width, int height)
{
    art::Picture to;
    to.width = width;
    to.height = height;
    to.bgr.assign(to.Stride() * static_cast<std::size_t>(height), 0);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x) {
            const int x0 = x * from.width / width, x1 = std::max(x0 + 1, (x + 1) * from.width / width);
            const int y0 = y * from.height / height, y1 = std::max(y0 + 1, (y + 1) * from.height / height);
            unsigned sum[3] = {0, 0, 0};
            unsigned n = 0;
            for (int yy = y0; yy < y1; ++yy)
                for (int xx = x0; xx < x1; ++xx) {
                    const std::uint8_t* p = &from.bgr[static_cast<std::size_t>(yy) * from.Stride() + static_cast<std::size_t>(xx) * 3];
                    for (int c = 0; c < 3; ++c)
                        sum[c] += p[c];
                    ++n;
                }
            std::uint8_t* q = &to.bgr[static_cast<std::size_t>(y) * to.Stride() + static_cast<std::size_t>(x) * 3];
            for (int c = 0; c < 3; ++c)
                q[c] = static_cast<std::uint8_t>(sum[c] / n);
        }
    return to;
}

// A GIF of the picture: its 256 most used colours, every other pixel taking the nearest.
std::string GifOf(const art::Picture& picture)
{
    // The picture's rows are bottom-up; the GIF's top-down.
    auto pixel = [&](int x, int y) {
        const std::uint8_t* p =
            &picture.bgr[static_cast<std::size_t>(picture.height - 1 - y) * picture.Stride() + static_cast<std::size_t>(x) * 3];
        return (std::uint32_t{p[2]} << 16) | (std::uint32_t{p[1]} << 8) | p[0];
    };
    std::unordered_map<std::uint32_t, unsigned> counts;
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            ++counts[pixel(x, y)];
    std::vector<std::pair<std::uint32_t, unsigned>> byUse(counts.begin(), counts.end());
    std::sort(byUse.begin(), byUse.end(), [](const auto& a, const auto& b) {
        return a.second != b.second ? a.second > b.second : a.first < b.first;
    });
    if (byUse.size() > 256)
        byUse.resize(256);
    std::vector<PictureColor> colors;
    std::unordered_map<std::uint32_t, std::uint8_t> index;
    for (const auto& [rgb, n] : byUse) {
        index[rgb] = static_cast<std::uint8_t>(colors.size());
        colors.push_back({static_cast<std::uint8_t>(rgb >> 16), static_cast<std::uint8_t>(rgb >> 8), static_cast<std::uint8_t>(rgb)});
    }
    auto nearest = [&](std::uint32_t rgb) {
        const auto found = index.find(rgb);
        if (found != index.end())
            return found->second;
        int best = 0;
        long bestDistance = -1;
        for (std::size_t i = 0; i < colors.size(); ++i) {
            const long dr = long(rgb >> 16 & 0xFF) - colors[i].red, dg = long(rgb >> 8 & 0xFF) - colors[i].green,
                       db = long(rgb & 0xFF) - colors[i].blue;
            const long d = dr * dr + dg * dg + db * db;
            if (bestDistance < 0 || d < bestDistance) {
                bestDistance = d;
                best = static_cast<int>(i);
            }
        }
        index[rgb] = static_cast<std::uint8_t>(best);
        return static_cast<std::uint8_t>(best);
    };
    GifImage image;
    image.width = picture.width;
    image.height = picture.height;
    image.indices.reserve(static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height));
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x)
            image.indices.push_back(nearest(pixel(x, y)));
    return GifFile(image, colors);
}

void SetRecordPictures(GrfRecordSource& record, const art::Picture& full, const art::Picture* legend)
{
    record.fullGif = GifOf(full);
    const int previewWidth = 96;
    record.previewGif = GifOf(Reduce(full, previewWidth, std::max(1, full.height * previewWidth / full.width)));
    record.secondGif = GifOf(Reduce(full, 44, 32));
    if (legend != nullptr)
        record.legendGif = GifOf(*legend);
}

std::string RecordText(const std::string& text)
{
    std::string out;
    bool bold = false, italic = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text.compare(i, 2, "**") == 0) {
            out += bold ? '\x80' : '\x82';
            bold = !bold;
            ++i;
        } else if (text[i] == '*') {
            out += italic ? '\x80' : '\x81';
            italic = !italic;
        } else {
            out += text[i];
        }
    }
    return out;
}

PictureItemSource ParsePictureItemSource(const std::string& text, const std::string& name)
{
    PictureItemSource item;
    GrfRecordSource& r = item.record;
    bool hasNumber = false, hasMedia = false;
    std::vector<GrfSection> labels;
    std::istringstream in(text);
    std::string raw;
    int line = 0;
    while (std::getline(in, raw)) {
        ++line;
        const std::string l = Trim(raw);
        if (l.empty() || l[0] == '#')
            continue;
        const auto colon = l.find(':');
        if (colon == std::string::npos)
            Fail(name, line, "a line is \"key: value\"");
        const std::string key = Trim(l.substr(0, colon));
        const std::string value = Trim(l.substr(colon + 1));
        if (key == "number") {
            item.number = Number(value, name, line);
            hasNumber = true;
        } else if (key == "article") {
            r.itemNumber = Number(value, name, line);
        } else if (key == "media") {
            r.mediaNumber = Number(value, name, line);
            hasMedia = true;
        } else if (key == "category") {
            item.category = static_cast<int>(Number(value, name, line));
            if (item.category > 9)
                Fail(name, line, "a category digit is 0 to 9");
        } else if (key == "title") {
            r.title = value;
        } else if (key == "art") {
            ParseArt(value, item.art, item.width, item.height, name, line);
        } else if (key == "legend") {
            ParseArt(value, item.legendArt, item.legendWidth, item.legendHeight, name, line);
            r.named.push_back({"LEGEND", 0});
        } else if (key == "copy") {
            if (value != "yes" && value != "no")
                Fail(name, line, "copy is yes or no");
            r.canCopy = value == "yes";
        } else if (key == "link") {
            r.linkValue = Number(value, name, line);
        } else if (key == "caption") {
            r.caption += (r.caption.empty() ? "" : "\r\r") + RecordText(value);
        } else if (key == "note") {
            r.note = value;
        } else if (key == "credit") {
            r.credit = value;
        } else if (key == "section") {
            r.sections.push_back({1, RecordText(value)});
        } else if (key == "label") {
            labels.push_back({0, RecordText(value)});
        } else if (key == "hotspot") {
            const auto bar = value.find('|');
            if (bar == std::string::npos)
                Fail(name, line, "a hot spot is \"kind | left top right bottom\"");
            std::istringstream kind(value.substr(0, bar));
            std::string word;
            kind >> word;
            GrfHotSpot spot;
            if (word == "link" || word == "sound") {
                std::string n;
                kind >> n;
                spot.target = Number(n, name, line);
                spot.kind = word == "link" ? GrfHotSpotKind::Link : GrfHotSpotKind::Sound;
            } else if (word == "label") {
                spot.kind = GrfHotSpotKind::Label;
            } else {
                Fail(name, line, "a hot spot's kind is link N, label or sound N");
            }
            std::istringstream box(value.substr(bar + 1));
            if (!(box >> spot.left >> spot.top >> spot.right >> spot.bottom) || spot.left >= spot.right ||
                spot.top >= spot.bottom)
                Fail(name, line, "a hot spot needs left top right bottom");
            r.hotSpots.push_back(spot);
        } else if (key == "zoomout") {
            r.named.push_back({"ZOOM_OUT", Number(value, name, line)});
        } else if (key == "overlay" || key == "group") {
            std::string listName = "GROUP";
            std::string items = value;
            if (key == "overlay") {
                const auto bar = value.find('|');
                listName = Trim(value.substr(0, bar == std::string::npos ? 0 : bar));
                if (bar == std::string::npos || (listName != "MAP_OLAY" && listName != "TRA_OLAY"))
                    Fail(name, line, "an overlay is \"MAP_OLAY | items\" or \"TRA_OLAY | items\"");
                items = value.substr(bar + 1);
            }
            if (r.lists.size() >= grf::kListSlots)
                Fail(name, line, "more than 10 lists");
            r.named.push_back({listName, static_cast<std::uint32_t>(r.lists.size())});
            r.lists.push_back(ParseList(items, name, line));
        } else {
            Fail(name, line, "unknown key \"" + key + "\"");
        }
    }
    if (!hasNumber || r.title.empty() || item.art.empty())
        Fail(name, line, "a picture item needs its number, title and art");
    if (!hasMedia)
        r.mediaNumber = item.number;
    if (r.sections.size() + labels.size() > grf::kSectionSlots)
        Fail(name, line, "more than 20 sections and labels");
    r.sections.insert(r.sections.end(), labels.begin(), labels.end());
    return item;
}

void DrawPictureItem(PictureItemSource& item)
{
    const art::Picture full = Draw(item.art, item.width, item.height);
    if (item.legendArt.empty()) {
        SetRecordPictures(item.record, full, nullptr);
    } else {
        const art::Picture legend = Draw(item.legendArt, item.legendWidth, item.legendHeight);
        SetRecordPictures(item.record, full, &legend);
    }
}

std::vector<PictureItemSource> ReadPictureItems(const std::filesystem::path& folder)
{
    std::vector<std::filesystem::path> files;
    if (std::filesystem::is_directory(folder))
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            if (entry.is_regular_file() && entry.path().extension() == ".txt")
                files.push_back(entry.path());
    std::sort(files.begin(), files.end());
    std::vector<PictureItemSource> items;
    for (const auto& file : files) {
        std::ifstream in(file, std::ios::binary);
        if (!in)
            throw std::runtime_error("cannot read " + file.string());
        const std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        items.push_back(ParsePictureItemSource(text, file.filename().string()));
        DrawPictureItem(items.back());
    }
    return items;
}

}  // namespace discbuilder
