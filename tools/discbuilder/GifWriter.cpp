#include "GifWriter.h"

#include <algorithm>
#include <stdexcept>

namespace discbuilder {

namespace {

constexpr int kMaxCodes = 4096;  // 12-bit codes
constexpr int kMaxSide = 65535;

void Require(bool condition, const std::string& what)
{
    if (!condition)
        throw std::invalid_argument("GIF: " + what);
}

void PutWord(std::string& out, int v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>((v >> 8) & 0xFF);
}

void PutColorTable(std::string& out, const std::vector<PictureColor>& colors)
{
    const std::size_t entries = std::size_t(2) << GifTableSizeField(colors.size());
    for (std::size_t i = 0; i < entries; ++i) {
        const PictureColor c = i < colors.size() ? colors[i] : PictureColor{};
        out += static_cast<char>(c.red);
        out += static_cast<char>(c.green);
        out += static_cast<char>(c.blue);
    }
}

// Codes of varying width packed least significant bit first.
class CodePacker {
public:
    void Put(int code, int width)
    {
        m_bits |= static_cast<std::uint32_t>(code) << m_count;
        m_count += width;
        while (m_count >= 8) {
            m_out += static_cast<char>(m_bits & 0xFF);
            m_bits >>= 8;
            m_count -= 8;
        }
    }
    std::string Finish()
    {
        if (m_count > 0)
            m_out += static_cast<char>(m_bits & 0xFF);
        m_bits = 0;
        m_count = 0;
        return std::move(m_out);
    }

private:
    std::string m_out;
    std::uint32_t m_bits = 0;
    int m_count = 0;
};

// The strings of the code table, each a known string (its code) followed by one pixel, in an
// open-addressed hash table. A clear starts a new generation, which drops every entry at once.
class StringTable {
public:
    StringTable() : m_slots(kSlots) {}
    void Clear() { ++m_generation; }
    int Find(int prefix, int pixel) const
    {
        const std::uint32_t key = Key(prefix, pixel);
        for (std::size_t at = Hash(key);; at = (at + 1) & (kSlots - 1)) {
            const Slot& slot = m_slots[at];
            if (slot.generation != m_generation)
                return -1;
            if (slot.key == key)
                return slot.code;
        }
    }
    void Add(int prefix, int pixel, int code)
    {
        const std::uint32_t key = Key(prefix, pixel);
        std::size_t at = Hash(key);
        while (m_slots[at].generation == m_generation)
            at = (at + 1) & (kSlots - 1);
        m_slots[at] = Slot{key, code, m_generation};
    }

private:
    // Twice the codes a table can hold, so that probes stay short.
    static constexpr std::size_t kSlots = 2 * kMaxCodes;
    struct Slot {
        std::uint32_t key = 0;
        int code = 0;
        std::uint32_t generation = 0;
    };
    static std::uint32_t Key(int prefix, int pixel) { return static_cast<std::uint32_t>(prefix) << 8 | static_cast<std::uint32_t>(pixel); }
    static std::size_t Hash(std::uint32_t key) { return (key * 2654435761u) >> (32 - 13); }

    std::vector<Slot> m_slots;
    std::uint32_t m_generation = 1;
};

int HighestIndex(const std::vector<std::uint8_t>& indices)
{
    return indices.empty() ? 0 : *std::max_element(indices.begin(), indices.end());
}

int SmallestCodeSize(std::size_t colors)
{
    int size = 2;  // the least a GIF allows
    while ((std::size_t(1) << size) < colors)
        ++size;
    return size;
}

}  // namespace

int GifTableSizeField(std::size_t n)
{
    Require(n >= 1 && n <= 256, "a colour table holds 1 to 256 colours, not " + std::to_string(n));
    int field = 0;
    while ((std::size_t(2) << field) < n)
        ++field;
    return field;
}

std::vector<int> GifInterlacedRows(int height)
{
    static const int kFirst[4] = {0, 4, 2, 1};
    static const int kStep[4] = {8, 8, 4, 2};
    std::vector<int> rows;
    for (int pass = 0; pass < 4; ++pass)
        for (int y = kFirst[pass]; y < height; y += kStep[pass])
            rows.push_back(y);
    return rows;
}

std::string GifLzwCodes(const std::vector<std::uint8_t>& indices, int minCodeSize, GifFullTable fullTable)
{
    Require(minCodeSize >= 2 && minCodeSize <= 11, "LZW code size " + std::to_string(minCodeSize) + " outside 2 to 11");
    const int highest = HighestIndex(indices);
    Require(highest < (1 << minCodeSize),
            "index " + std::to_string(highest) + " needs more than " + std::to_string(minCodeSize) + " bits");

    const int clearCode = 1 << minCodeSize;
    const int endCode = clearCode + 1;
    const int firstFree = clearCode + 2;
    CodePacker out;
    StringTable table;
    int width = minCodeSize + 1;
    int next = firstFree;  // the code the next new string gets

    out.Put(clearCode, width);
    if (indices.empty()) {
        out.Put(endCode, width);
        return out.Finish();
    }
    // The decoder defines each string one code later than the encoder (it needs the next code's
    // first pixel) and widens its codes once its next free code reaches 2^width: so the encoder
    // widens when its own next free code passes 2^width.
    int prefix = indices[0];
    for (std::size_t i = 1; i < indices.size(); ++i) {
        const int pixel = indices[i];
        const int known = table.Find(prefix, pixel);
        if (known >= 0) {
            prefix = known;
            continue;
        }
        out.Put(prefix, width);
        if (next < kMaxCodes) {
            table.Add(prefix, pixel, next++);
            if (next > (1 << width) && width < 12)
                ++width;
        } else if (fullTable == GifFullTable::Clear) {
            out.Put(clearCode, width);
            table.Clear();
            width = minCodeSize + 1;
            next = firstFree;
        }
        prefix = pixel;
    }
    out.Put(prefix, width);
    // The decoder defines a string for the last code too, which may widen the end code.
    if (next < kMaxCodes && next + 1 > (1 << width) && width < 12)
        ++width;
    out.Put(endCode, width);
    return out.Finish();
}

std::string GifSubBlocks(std::string_view data)
{
    std::string out;
    out.reserve(data.size() + data.size() / 255 + 2);
    for (std::size_t at = 0; at < data.size(); at += 255) {
        const std::string_view block = data.substr(at, 255);
        out += static_cast<char>(block.size());
        out += block;
    }
    out += '\0';
    return out;
}

GifWriter::GifWriter(int screenWidth, int screenHeight, std::vector<PictureColor> globalColors)
    : m_globalColors(std::move(globalColors)), m_screenWidth(screenWidth), m_screenHeight(screenHeight)
{
    Require(screenWidth >= 1 && screenWidth <= kMaxSide && screenHeight >= 1 && screenHeight <= kMaxSide,
            "screen of " + std::to_string(screenWidth) + "x" + std::to_string(screenHeight) + " pixels");
    m_bytes = "GIF89a";
    PutWord(m_bytes, screenWidth);
    PutWord(m_bytes, screenHeight);
    if (m_globalColors.empty()) {
        m_bytes += '\0';
    } else {
        // Table present, colour resolution and table size alike, not sorted.
        const int field = GifTableSizeField(m_globalColors.size());
        m_bytes += static_cast<char>(0x80 | field << 4 | field);
    }
    m_bytes += '\0';  // background colour
    m_bytes += '\0';  // no aspect ratio given
    if (!m_globalColors.empty())
        PutColorTable(m_bytes, m_globalColors);
}

void GifWriter::AddExtension(std::uint8_t label, const std::vector<std::string>& blocks)
{
    m_bytes += '\x21';
    m_bytes += static_cast<char>(label);
    for (const std::string& block : blocks) {
        Require(!block.empty() && block.size() <= 255, "extension block of " + std::to_string(block.size()) + " bytes");
        m_bytes += static_cast<char>(block.size());
        m_bytes += block;
    }
    m_bytes += '\0';
}

void GifWriter::AddImage(const GifImage& image)
{
    const std::string size = std::to_string(image.width) + "x" + std::to_string(image.height);
    Require(image.width >= 1 && image.height >= 1 && image.left >= 0 && image.top >= 0 &&
                image.left + image.width <= m_screenWidth && image.top + image.height <= m_screenHeight,
            "image of " + size + " at (" + std::to_string(image.left) + ", " + std::to_string(image.top) +
                ") off the screen");
    Require(image.indices.size() == std::size_t(image.width) * std::size_t(image.height),
            "image of " + size + " with " + std::to_string(image.indices.size()) + " indexes");
    const std::vector<PictureColor>& colors = image.localColors.empty() ? m_globalColors : image.localColors;
    const int highest = HighestIndex(image.indices);
    const int minCodeSize = image.minCodeSize != 0 ? image.minCodeSize
                                                   : SmallestCodeSize(std::max(colors.size(), std::size_t(highest) + 1));
    if (!colors.empty()) {
        Require(std::size_t(highest) < colors.size(),
                "index " + std::to_string(highest) + " beyond a table of " + std::to_string(colors.size()) + " colours");
    }

    std::vector<std::uint8_t> stored;
    if (image.interlaced) {
        stored.reserve(image.indices.size());
        const auto rowWidth = static_cast<std::ptrdiff_t>(image.width);
        for (int y : GifInterlacedRows(image.height)) {
            auto row = image.indices.begin() + rowWidth * y;
            stored.insert(stored.end(), row, row + rowWidth);
        }
    }
    const std::string codes = GifLzwCodes(image.interlaced ? stored : image.indices, minCodeSize, image.fullTable);

    m_bytes += '\x2C';
    PutWord(m_bytes, image.left);
    PutWord(m_bytes, image.top);
    PutWord(m_bytes, image.width);
    PutWord(m_bytes, image.height);
    std::uint8_t flags = image.interlaced ? 0x40 : 0;
    if (!image.localColors.empty())
        flags |= static_cast<std::uint8_t>(0x80 | GifTableSizeField(image.localColors.size()));
    m_bytes += static_cast<char>(flags);
    if (!image.localColors.empty())
        PutColorTable(m_bytes, image.localColors);
    m_bytes += static_cast<char>(minCodeSize);
    m_bytes += GifSubBlocks(codes);
    m_hasImage = true;
}

std::string GifWriter::Finish() const
{
    if (!m_hasImage)
        throw std::logic_error("GIF: no image added");
    return m_bytes + '\x3B';
}

std::string GifFile(const GifImage& image, const std::vector<PictureColor>& colors)
{
    GifWriter writer(image.left + image.width, image.top + image.height, colors);
    writer.AddImage(image);
    return writer.Finish();
}

}  // namespace discbuilder
