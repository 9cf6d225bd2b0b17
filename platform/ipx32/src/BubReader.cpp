// The reader of photo-bubble files (see ipx/BubFile.h). Every count and offset is checked
// against the bytes there are before it is used.
#include <ipx/BubFile.h>

#include <zlib.h>

#include <cstring>

namespace ipx {

namespace {

class Cursor {
public:
    Cursor(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}
    bool Has(std::size_t n) const { return n <= m_size - m_pos; }
    std::uint16_t U16()
    {
        std::uint16_t v = static_cast<std::uint16_t>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    std::uint32_t U32()
    {
        std::uint32_t v = static_cast<std::uint32_t>(m_data[m_pos]) | (static_cast<std::uint32_t>(m_data[m_pos + 1]) << 8) |
                          (static_cast<std::uint32_t>(m_data[m_pos + 2]) << 16) |
                          (static_cast<std::uint32_t>(m_data[m_pos + 3]) << 24);
        m_pos += 4;
        return v;
    }
    const std::uint8_t* Take(std::size_t n)
    {
        const std::uint8_t* p = m_data + m_pos;
        m_pos += n;
        return p;
    }
    std::size_t Pos() const { return m_pos; }

private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
};

bool Fail(std::string& error, const char* text)
{
    error = text;
    return false;
}

}  // namespace

bool ReadBubFile(const std::uint8_t* data, std::size_t size, BubPicture& picture, std::string& error)
{
    const char* truncated = "the file is truncated.";
    if (size < sizeof kBubMagic || std::memcmp(data, kBubMagic, sizeof kBubMagic) != 0)
        return Fail(error, size < sizeof kBubMagic ? truncated : "the file is not a photo bubble.");
    if (size < kBubHeaderSize + 4)
        return Fail(error, truncated);
    // The checksum first: a damaged file is refused before any of its counts is believed.
    const std::size_t body = size - 4;
    Cursor tail(data + body, 4);
    if (static_cast<std::uint32_t>(crc32(0L, data, static_cast<uInt>(body))) != tail.U32()) {
        // A file cut short usually fails here too; say so when its declared size is larger.
        Cursor head(data, size);
        head.Take(sizeof kBubMagic);
        head.U16();
        head.U16();
        const std::uint64_t w = head.U32(), h = head.U32();
        if (w <= kBubMaxWidth && h <= kBubMaxHeight && size < kBubHeaderSize + kBubPaletteSize + w * h + 4)
            return Fail(error, truncated);
        return Fail(error, "the file is damaged (its checksum does not match).");
    }

    Cursor in(data, body);
    in.Take(sizeof kBubMagic);
    if (in.U16() != kBubVersion)
        return Fail(error, "the file has a version this viewer does not know.");
    const std::uint16_t spots = in.U16();
    picture.width = in.U32();
    picture.height = in.U32();
    picture.initialColumn = in.U32();
    if (picture.width == 0 || picture.height == 0 || picture.width > kBubMaxWidth || picture.height > kBubMaxHeight)
        return Fail(error, "the file is damaged (the picture's size is out of range).");
    if (picture.initialColumn >= picture.width || spots > kBubMaxSpots)
        return Fail(error, "the file is damaged (its header is inconsistent).");
    const std::size_t pixels = static_cast<std::size_t>(picture.width) * picture.height;
    if (!in.Has(kBubPaletteSize) )
        return Fail(error, truncated);
    std::memcpy(picture.palette, in.Take(kBubPaletteSize), kBubPaletteSize);
    if (!in.Has(pixels))
        return Fail(error, truncated);
    const std::uint8_t* p = in.Take(pixels);
    picture.pixels.assign(p, p + pixels);
    picture.spots.clear();
    for (std::uint16_t i = 0; i < spots; ++i) {
        if (!in.Has(18))
            return Fail(error, truncated);
        BubSpot spot;
        spot.left = static_cast<std::int32_t>(in.U32());
        spot.top = static_cast<std::int32_t>(in.U32());
        spot.right = static_cast<std::int32_t>(in.U32());
        spot.bottom = static_cast<std::int32_t>(in.U32());
        const std::uint16_t length = in.U16();
        if (spot.left < 0 || spot.top < 0 || spot.left >= spot.right || spot.top >= spot.bottom ||
            static_cast<std::uint32_t>(spot.right) > picture.width ||
            static_cast<std::uint32_t>(spot.bottom) > picture.height)
            return Fail(error, "the file is damaged (a hot spot lies outside the picture).");
        if (length == 0 || length > kBubMaxText)
            return Fail(error, "the file is damaged (a hot spot's text is too long or empty).");
        if (!in.Has(length))
            return Fail(error, truncated);
        const std::uint8_t* t = in.Take(length);
        spot.text.assign(reinterpret_cast<const char*>(t), length);
        picture.spots.push_back(std::move(spot));
    }
    if (in.Pos() != body)
        return Fail(error, "the file is damaged (bytes follow the last hot spot).");
    return true;
}

}  // namespace ipx
