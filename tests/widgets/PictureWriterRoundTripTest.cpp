// The disc builder's picture writers against the program's readers: what the GIF and BMP writers
// write, CDib reads back with the same pixels and colours (and giflib, an independent decoder,
// agrees on the GIFs); truncated and damaged copies end in the reader's message, never outside a
// buffer (the sanitizers watch every case).
#include "WidgetTestSupport.h"

#include "PictureSource.h"

#include <algorithm>
#include <functional>

using discbuilder::BmpPicture;
using discbuilder::GifFullTable;
using discbuilder::PictureColor;
using pictures::Bytes;
using pictures::Indexed;
using pictures::Rgb;

namespace {

const char kCorrupt[] = "A corrupt image was found.\nThis may affect the display in some sections of the program.";
const char kNoSignature[] = "GIF Signature not found";
const char kNoColourMap[] = "I could not find a colour map.";
const char kNotABitmap[] = "Not a bitmap file";

// What a read came to: whether the reader's exception came out, and the message boxes shown.
struct ReadOutcome {
    bool thrown = false;
    std::vector<std::string> boxes;
};

class PictureWriterTest : public BitmapTest {
protected:
    // Reads a GIF from a block of exactly its size (so that the sanitizers see a read beyond
    // it), answering whatever message box comes; a user exception is caught.
    static ReadOutcome ReadGif(CDib& dib, const Bytes& bytes)
    {
        std::vector<BYTE> exact(bytes.begin(), bytes.end());
        return Answered<CUserException>([&] { dib.ReadGifMemory(exact.empty() ? nullptr : exact.data(), UINT(exact.size())); });
    }

    // Reads a BMP file written below T:, answering whatever message box comes; a file exception
    // is caught.
    ReadOutcome ReadBmp(CDib& dib, const Bytes& bytes)
    {
        std::string path = WriteT("picture.bmp", bytes);
        return Answered<CFileException>([&] { dib.ReadBmpFile(path.c_str()); });
    }

private:
    template <class Exception>
    static ReadOutcome Answered(const std::function<void()>& read)
    {
        ReadOutcome outcome;
        host::ResetUiScript();
        host::AnswerMessageBoxWith("", [](const host::MessageBoxRecord&) { return IDOK; });
        try {
            read();
        } catch (Exception* e) {
            e->Delete();
            outcome.thrown = true;
        }
        outcome.boxes = BoxTexts();
        host::ResetUiScript();  // the answer no box took
        return outcome;
    }
};

Bytes ToBytes(const std::string& s)
{
    return Bytes(s.begin(), s.end());
}

// The colours padded with black to the table size a GIF stores (a power of two, at least 2).
std::vector<Rgb> Padded(std::vector<Rgb> colors)
{
    colors.resize(size_t(2) << pictures::TableBits(colors.size()), Rgb{0, 0, 0});
    return colors;
}

// Vertical stripes of the colours, 64 pixels wide: long runs that make long LZW strings.
Indexed Stripes(int width, int height, int nColors)
{
    Indexed p{width, height, {}};
    p.pixels.resize(size_t(width) * size_t(height));
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            p.pixels[size_t(y) * size_t(width) + size_t(x)] = std::uint8_t((x / 64 + y / 64) % nColors);
    return p;
}

struct GifCase {
    std::string name;
    Indexed picture;
    std::vector<Rgb> global;  // empty: none
    std::vector<Rgb> local;   // empty: none
    bool interlaced = false;
    int minCodeSize = 0;  // 0: the writer's choice
    GifFullTable fullTable = GifFullTable::Clear;
};

Bytes WriteGif(const GifCase& c)
{
    discbuilder::GifImage image;
    image.width = c.picture.width;
    image.height = c.picture.height;
    image.indices = c.picture.pixels;
    image.localColors = pictures::WriterColors(c.local);
    image.interlaced = c.interlaced;
    image.minCodeSize = c.minCodeSize;
    image.fullTable = c.fullTable;
    return ToBytes(discbuilder::GifFile(image, pictures::WriterColors(c.global)));
}

std::vector<GifCase> GifCases()
{
    std::vector<GifCase> cases;
    auto add = [&](std::string name, Indexed p, int nColors, auto&&... options) {
        GifCase c{std::move(name), std::move(p), pictures::Ramp(nColors), {}};
        (options(c), ...);
        cases.push_back(std::move(c));
    };
    auto interlaced = [](GifCase& c) { c.interlaced = true; };
    auto codeSize = [](int size) { return [size](GifCase& c) { c.minCodeSize = size; }; };
    auto keepFullTable = [](GifCase& c) { c.fullTable = GifFullTable::Keep; };

    // Sizes, down to one pixel and at the reader's limits (at most 4096 x 4096 pixels).
    add("1x1, one colour", pictures::Noise(1, 1, 1, 1), 1);
    add("1x1, the last of 256 colours", Indexed{1, 1, {255}}, 256);
    add("3x1", pictures::Noise(3, 1, 3, 2), 3);
    add("1x3", pictures::Noise(1, 3, 3, 3), 3);
    add("7x5", pictures::Noise(7, 5, 5, 4), 5);
    add("65535x1", Stripes(65535, 1, 4), 4);
    add("1x65535", pictures::Noise(1, 65535, 2, 5), 2);
    add("4096x4096", Stripes(4096, 4096, 16), 16);
    // Colour counts that are no power of two are padded with black.
    add("100 colours", pictures::Noise(31, 9, 100, 6), 100);
    add("129 colours", pictures::Noise(31, 9, 129, 7), 129);
    // Every minimum code size, with as many colours as it holds and with fewer.
    for (int size = 2; size <= 8; ++size) {
        add("code size " + std::to_string(size), pictures::Noise(23, 17, 1 << size, 8 + unsigned(size)), 1 << size,
            codeSize(size));
        add("code size " + std::to_string(size) + ", two colours", pictures::Noise(23, 17, 2, 20 + unsigned(size)), 2,
            codeSize(size));
    }
    // Interlacing, with heights that leave passes empty.
    for (int height : {1, 2, 3, 4, 5, 7, 8, 9, 16, 17, 33})
        add("interlaced, height " + std::to_string(height), pictures::Noise(5, height, 16, 40 + unsigned(height)), 16,
            interlaced);
    // Tables that fill: cleared again and again (codes of every width from 3 to 12 bits), or kept
    // full with 12-bit codes.
    add("table resets, 256 colours", pictures::Noise(300, 250, 256, 60), 256);
    add("table resets, 4 colours", pictures::Noise(400, 300, 4, 61), 4);
    add("table resets, interlaced", pictures::Noise(211, 160, 64, 62), 64, interlaced);
    add("full table kept, 64 colours", pictures::Noise(150, 90, 64, 63), 64, keepFullTable);
    add("full table kept, 2 colours", pictures::Noise(400, 100, 2, 64), 2, keepFullTable);
    add("full table kept, long runs", Stripes(1024, 256, 3), 3, keepFullTable);
    // Local colour tables: over a global one of another size, or alone.
    {
        GifCase c{"local table over a global one", pictures::Noise(17, 11, 32, 70), pictures::Ramp(4),
                  pictures::Ramp(32)};
        cases.push_back(c);
        c.name = "local table alone, interlaced";
        c.global.clear();
        c.interlaced = true;
        cases.push_back(c);
        c.name = "small local table over a large global one";
        c.picture = pictures::Noise(17, 11, 2, 71);
        c.global = pictures::Ramp(256);
        c.local = {{9, 8, 7}, {6, 5, 4}};
        cases.push_back(c);
    }
    return cases;
}

}  // namespace

TEST_F(PictureWriterTest, GifFilesReadBackAsWritten)
{
    for (const GifCase& c : GifCases()) {
        SCOPED_TRACE(c.name);
        const Bytes gif = WriteGif(c);
        const std::vector<Rgb> colors = Padded(c.local.empty() ? c.global : c.local);

        pictures::Decoded reference = pictures::GiflibDecode(gif);
        ASSERT_TRUE(reference.ok) << "giflib reads it";
        EXPECT_TRUE(c.picture.pixels == reference.picture.pixels) << "giflib's pixels";
        EXPECT_EQ(colors.size(), reference.colors.size());

        host::ResetUiScript();
        CDib dib(gif.data(), UINT(gif.size()));
        ASSERT_NO_FATAL_FAILURE(ExpectPicture(dib, c.picture, colors));
        EXPECT_EQ(colors.size(), dib.GetInfoHeader()->biClrImportant);
        EXPECT_TRUE(BoxTexts().empty());
    }
}

TEST_F(PictureWriterTest, GifDataComesInSubBlocksOfAtMost255Bytes)
{
    // 256 colours of noise: about a byte and a half a pixel.
    const Bytes gif = WriteGif(GifCase{"", pictures::Noise(40, 30, 256, 80), pictures::Ramp(256), {}});
    size_t at = 13 + 768 + 10 + 1;  // header, table, descriptor, code size
    std::vector<size_t> lengths;
    while (gif.at(at) != 0) {
        lengths.push_back(gif[at]);
        at += gif[at] + 1u;
    }
    ASSERT_GE(lengths.size(), 3u);
    EXPECT_TRUE(std::all_of(lengths.begin(), lengths.end() - 1, [](size_t n) { return n == 255; }));
    EXPECT_EQ(at + 2, gif.size()) << "the block terminator, then the trailer";
    EXPECT_EQ(0x3B, gif.back());
}

// Every length of a small GIF (with an extension, a local table and interlacing): too short for
// the signature, it is not a GIF; once the last data byte (holding the end code) is there, the
// picture is whole; in between, the corrupt-image message and an empty bitmap.
TEST_F(PictureWriterTest, GifCutAtEveryLength)
{
    const Indexed p = pictures::Noise(9, 7, 16, 90);
    discbuilder::GifWriter writer(9, 7, pictures::WriterColors(pictures::Ramp(4)));
    writer.AddExtension(0xFE, {"made by the disc builder"});
    discbuilder::GifImage image;
    image.width = 9;
    image.height = 7;
    image.indices = p.pixels;
    image.localColors = pictures::WriterColors(pictures::Ramp(16));
    image.interlaced = true;
    writer.AddImage(image);
    const Bytes good = ToBytes(writer.Finish());

    for (size_t n = 0; n <= good.size(); ++n) {
        SCOPED_TRACE("first " + std::to_string(n) + " of " + std::to_string(good.size()) + " bytes");
        CDib dib;
        const auto [thrown, boxes] = ReadGif(dib, Bytes(good.begin(), good.begin() + long(n)));
        if (n < 3) {
            EXPECT_TRUE(thrown);
            EXPECT_EQ(std::vector<std::string>{kNoSignature}, boxes);
            EXPECT_TRUE(dib.IsEmpty());
        } else if (n + 2 >= good.size()) {
            EXPECT_FALSE(thrown);
            EXPECT_TRUE(boxes.empty());
            ExpectPicture(dib, p, Padded(pictures::Ramp(16)));
        } else {
            EXPECT_FALSE(thrown);
            EXPECT_EQ(std::vector<std::string>{kCorrupt}, boxes);
            EXPECT_TRUE(dib.IsEmpty());
        }
    }

    // A stream longer than the reader's 30000-byte window, cut in its second window.
    const Indexed large = pictures::Noise(300, 200, 256, 91);
    const Bytes big = WriteGif(GifCase{"", large, pictures::Ramp(256), {}});
    ASSERT_GT(big.size(), 40000u);
    for (size_t n : {size_t(30000), size_t(30001), size_t(35000), big.size() - 3}) {
        SCOPED_TRACE("large, first " + std::to_string(n) + " bytes");
        CDib dib;
        const ReadOutcome outcome = ReadGif(dib, Bytes(big.begin(), big.begin() + long(n)));
        EXPECT_FALSE(outcome.thrown);
        EXPECT_EQ(std::vector<std::string>{kCorrupt}, outcome.boxes);
        EXPECT_TRUE(dib.IsEmpty());
    }
}

TEST_F(PictureWriterTest, DamagedGifFieldsGiveTheReadersMessage)
{
    // A 9x7 picture of 16 colours: header 13, global table 48, descriptor 10 (width at 5, height
    // at 7, flags at 9 from the separator), code size, first sub-block length.
    const Indexed p = pictures::Noise(9, 7, 16, 100);
    const Bytes good = WriteGif(GifCase{"", p, pictures::Ramp(16), {}});
    const size_t image = 13 + 48;
    const size_t codeSize = image + 10;
    const size_t firstBlock = codeSize + 1;
    ASSERT_EQ(0x2C, good[image]);
    auto with = [&](std::vector<std::pair<size_t, BYTE>> changes) {
        Bytes b = good;
        for (auto [at, value] : changes)
            b.at(at) = value;
        return b;
    };
    enum Outcome { Corrupt, NoColourMap, Partial };
    struct Case {
        const char* name;
        Bytes bytes;
        Outcome outcome;
        int width = 9;  // of a partial picture
        int height = 7;
    } cases[] = {
        {"code size 0", with({{codeSize, 0}}), Corrupt},
        {"code size 1", with({{codeSize, 1}}), Corrupt},
        {"code size 9", with({{codeSize, 9}}), Corrupt},
        {"code size 12", with({{codeSize, 12}}), Corrupt},
        {"code size 255", with({{codeSize, 255}}), Corrupt},
        // The end code comes before the stream does: the rest is never read.
        {"sub-block said longer than the stream", with({{firstBlock, 255}}), Partial},
        {"no sub-block: the data ends at once", with({{firstBlock, 0}}), Partial},
        {"zero width", with({{image + 5, 0}, {image + 6, 0}}), Corrupt},
        {"zero height", with({{image + 7, 0}, {image + 8, 0}}), Corrupt},
        {"4097x4096: beyond the reader's limit", with({{image + 5, 0x01}, {image + 6, 0x10}, {image + 7, 0}, {image + 8, 0x10}}),
         Corrupt},
        {"65535x65535", with({{image + 5, 0xFF}, {image + 6, 0xFF}, {image + 7, 0xFF}, {image + 8, 0xFF}}), Corrupt},
        {"4096x4096: at the limit, the data ends early", with({{image + 5, 0}, {image + 6, 0x10}, {image + 7, 0}, {image + 8, 0x10}}),
         Partial, 4096, 4096},
        {"one row high: more rows than the image", with({{image + 7, 1}}), Corrupt},
        {"wider: the data ends early", with({{image + 5, 10}}), Partial, 10, 7},
        {"no global table and no local one", WriteGif(GifCase{"", p, {}, {}}), NoColourMap},
        {"a local table of 256 colours said, none there", with({{image + 9, 0x87}}), Corrupt},
        {"a global table of 256 colours said, 16 there", with({{10, 0xF7}}), Corrupt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CDib dib;
        const auto [thrown, boxes] = ReadGif(dib, c.bytes);
        EXPECT_EQ(c.outcome == NoColourMap, thrown);
        if (c.outcome == Partial) {
            EXPECT_TRUE(boxes.empty());
            ASSERT_FALSE(dib.IsEmpty());
            EXPECT_EQ(c.width, dib.GetWidth());
            EXPECT_EQ(c.height, dib.GetHeight());
        } else {
            EXPECT_EQ(std::vector<std::string>{c.outcome == Corrupt ? kCorrupt : kNoColourMap}, boxes);
            EXPECT_TRUE(dib.IsEmpty());
        }
    }
}

// Every byte of a small GIF replaced by several values: whatever the damage, the reader gives a
// picture of the size its descriptor says without a word, or one of its messages and an empty
// bitmap.
TEST_F(PictureWriterTest, EveryDamagedGifByteEndsCleanly)
{
    const Indexed p = pictures::Noise(6, 5, 8, 110);
    discbuilder::GifWriter writer(6, 5, pictures::WriterColors(pictures::Ramp(8)));
    writer.AddExtension(0xF9, {std::string("\x04\x00\x00\x00", 4)});
    discbuilder::GifImage image;
    image.width = 6;
    image.height = 5;
    image.indices = p.pixels;
    image.localColors = pictures::WriterColors(pictures::Ramp(4));
    image.interlaced = true;
    image.minCodeSize = 3;
    for (auto& v : image.indices)
        v &= 3;
    writer.AddImage(image);
    const Bytes good = ToBytes(writer.Finish());

    int pictureCount = 0, messages = 0;
    for (size_t at = 0; at < good.size(); ++at) {
        for (int change : {0x00, 0xFF, 0x01, 0x02, 0x10, 0x80}) {
            Bytes bad = good;
            bad[at] = change == 0x00 || change == 0xFF ? BYTE(change) : BYTE(bad[at] ^ change);
            SCOPED_TRACE("byte " + std::to_string(at) + " made " + std::to_string(bad[at]));
            CDib dib;
            const auto [thrown, boxes] = ReadGif(dib, bad);
            ASSERT_LE(boxes.size(), 1u);
            if (!dib.IsEmpty()) {
                ++pictureCount;
                EXPECT_TRUE(boxes.empty());
                EXPECT_FALSE(thrown);
                EXPECT_EQ(8, dib.GetInfoHeader()->biBitCount);
                EXPECT_LE(unsigned(dib.GetWidth()) * unsigned(dib.GetHeight()), 4096u * 4096u);
                EXPECT_GT(dib.GetWidth(), 0);
                EXPECT_GT(dib.GetHeight(), 0);
                continue;
            }
            if (boxes.empty()) {
                EXPECT_FALSE(thrown) << "no image before the trailer";
                continue;
            }
            ++messages;
            const std::string& box = boxes[0];
            EXPECT_TRUE(box == kCorrupt || box == kNoSignature || box == kNoColourMap) << box;
            EXPECT_EQ(box != kCorrupt, thrown);
        }
    }
    EXPECT_GT(pictureCount, 0);
    EXPECT_GT(messages, 0);
}

// ---- BMP ---------------------------------------------------------------------------------

namespace {

// The pixel value at (x, y) from the top of a bottom-up CDib: an index, or 0xRRGGBB at 24 bits.
std::uint32_t BmpValueAt(const CDib& dib, int x, int y)
{
    const int bits = dib.GetInfoHeader()->biBitCount;
    const BYTE* r = dib.GetBits() + size_t(dib.GetHeight() - 1 - y) * discbuilder::BmpRowLength(dib.GetWidth(), bits);
    switch (bits) {
    case 1: return (r[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (r[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return r[x];
    default: return std::uint32_t(r[x * 3 + 2]) << 16 | std::uint32_t(r[x * 3 + 1]) << 8 | r[x * 3];
    }
}

BmpPicture BmpOf(int width, int height, int bits, size_t nColors, bool topDown, std::uint32_t seed)
{
    BmpPicture p;
    p.width = width;
    p.height = height;
    p.bitCount = bits;
    p.topDown = topDown;
    const size_t count = size_t(width) * size_t(height);
    if (bits == 24) {
        for (size_t i = 0; i < count; ++i) {
            seed = seed * 1664525u + 1013904223u;
            p.pixels.push_back({BYTE(seed >> 24), BYTE(seed >> 16), BYTE(seed >> 8)});
        }
    } else {
        p.colors = pictures::WriterColors(pictures::Ramp(int(nColors)));
        Indexed noise = pictures::Noise(width, height, int(nColors), seed);
        p.indices = noise.pixels;
    }
    return p;
}

void ExpectBmp(const CDib& dib, const BmpPicture& p)
{
    ASSERT_FALSE(dib.IsEmpty());
    ASSERT_EQ(p.width, dib.GetWidth());
    ASSERT_EQ(p.height, dib.GetHeight()) << "bottom-up in memory";
    ASSERT_EQ(p.bitCount, dib.GetInfoHeader()->biBitCount);
    ASSERT_EQ(p.colors.size(), dib.GetColorCount());
    EXPECT_EQ(discbuilder::BmpRowLength(p.width, p.bitCount) * size_t(p.height), dib.GetImageSize());
    for (size_t i = 0; i < p.colors.size(); ++i) {
        const RGBQUAD& q = dib.GetColorTable()[i];
        EXPECT_TRUE(q.rgbRed == p.colors[i].red && q.rgbGreen == p.colors[i].green && q.rgbBlue == p.colors[i].blue)
            << "colour " << i;
    }
    int wrong = 0;
    for (int y = 0; y < p.height; ++y)
        for (int x = 0; x < p.width; ++x) {
            const size_t at = size_t(y) * size_t(p.width) + size_t(x);
            const PictureColor c = p.bitCount == 24 ? p.pixels[at] : PictureColor{};
            const std::uint32_t want = p.bitCount == 24 ? std::uint32_t(c.red) << 16 | std::uint32_t(c.green) << 8 | c.blue
                                                        : p.indices[at];
            if (BmpValueAt(dib, x, y) != want && ++wrong <= 5)
                ADD_FAILURE() << "pixel (" << x << ", " << y << ")";
        }
    EXPECT_EQ(0, wrong);
}

}  // namespace

TEST_F(PictureWriterTest, BmpFilesReadBackAsWritten)
{
    struct Size {
        int width, height;
    };
    std::uint32_t seed = 1;
    for (int bits : {1, 4, 8, 24})
        for (Size size : {Size{1, 1}, Size{2, 1}, Size{7, 5}, Size{31, 3}, Size{33, 2}, Size{1, 17}})
            for (bool topDown : {false, true}) {
                // A full colour table, and a shorter one (biClrUsed says how long).
                std::vector<size_t> counts = {bits == 24 ? 0 : size_t(1) << bits};
                if (bits == 4 || bits == 8)
                    counts.push_back(3);
                if (bits == 1)
                    counts.push_back(1);
                for (size_t nColors : counts) {
                    SCOPED_TRACE(std::to_string(bits) + " bits, " + std::to_string(size.width) + "x" +
                                 std::to_string(size.height) + ", " + std::to_string(nColors) + " colours" +
                                 (topDown ? ", top-down" : ""));
                    const BmpPicture p = BmpOf(size.width, size.height, bits, nColors, topDown, ++seed);
                    CDib dib;
                    const ReadOutcome outcome = ReadBmp(dib, ToBytes(discbuilder::BmpFile(p)));
                    EXPECT_FALSE(outcome.thrown);
                    EXPECT_TRUE(outcome.boxes.empty());
                    ExpectBmp(dib, p);
                }
            }
    // The largest side the reader accepts.
    for (const BmpPicture& p : {BmpOf(32767, 1, 1, 2, false, 5), BmpOf(1, 32767, 8, 256, true, 6)}) {
        SCOPED_TRACE(std::to_string(p.width) + "x" + std::to_string(p.height));
        CDib dib;
        EXPECT_FALSE(ReadBmp(dib, ToBytes(discbuilder::BmpFile(p))).thrown);
        ExpectBmp(dib, p);
    }
}

// Every length of a small BMP: nothing at all is a file exception; anything short of the whole
// file is "Not a bitmap file" and an empty bitmap.
TEST_F(PictureWriterTest, BmpCutAtEveryLength)
{
    for (int bits : {4, 24}) {
        const BmpPicture p = BmpOf(7, 5, bits, 16, false, 120);
        const Bytes good = ToBytes(discbuilder::BmpFile(p));
        for (size_t n = 0; n <= good.size(); ++n) {
            SCOPED_TRACE(std::to_string(bits) + " bits, first " + std::to_string(n) + " of " +
                         std::to_string(good.size()) + " bytes");
            CDib dib;
            const auto [thrown, boxes] = ReadBmp(dib, Bytes(good.begin(), good.begin() + long(n)));
            EXPECT_EQ(n == 0, thrown);
            if (n == good.size()) {
                EXPECT_TRUE(boxes.empty());
                ExpectBmp(dib, p);
            } else {
                EXPECT_EQ(n == 0 ? std::vector<std::string>{} : std::vector<std::string>{kNotABitmap}, boxes);
                EXPECT_TRUE(dib.IsEmpty());
            }
        }
    }
}

// Every byte of the headers of a small BMP replaced by several values: the reader either refuses
// the file or holds a bitmap whose header, colour table and rows lie inside its block.
TEST_F(PictureWriterTest, EveryDamagedBmpHeaderByteEndsCleanly)
{
    const Bytes good = ToBytes(discbuilder::BmpFile(BmpOf(5, 3, 4, 16, false, 130)));
    int refused = 0, read = 0;
    for (size_t at = 0; at < 14 + 40 + 64; ++at)
        for (int change : {0x00, 0xFF, 0x01, 0x08, 0x80}) {
            Bytes bad = good;
            bad[at] = change == 0x00 || change == 0xFF ? BYTE(change) : BYTE(bad[at] ^ change);
            SCOPED_TRACE("byte " + std::to_string(at) + " made " + std::to_string(bad[at]));
            CDib dib;
            const auto [thrown, boxes] = ReadBmp(dib, bad);
            EXPECT_FALSE(thrown);
            if (dib.IsEmpty()) {
                ++refused;
                EXPECT_EQ(std::vector<std::string>{kNotABitmap}, boxes);
                continue;
            }
            ++read;
            EXPECT_TRUE(boxes.empty());
            const size_t block = dib.GetInfoHeader()->biSize + 4 * size_t(dib.GetColorCount()) + dib.GetImageSize();
            EXPECT_TRUE(IsValidPackedDib(dib.GetInfoHeader(), block));
            EXPECT_GT(dib.GetHeight(), 0) << "kept bottom-up";
        }
    EXPECT_GT(refused, 0);
    EXPECT_GT(read, 0);
}

// The sample disc's splash picture, as the builder writes it, read the way the program reads it.
TEST_F(PictureWriterTest, TheSampleSplashPictureReadsBack)
{
    const BmpPicture source = discbuilder::ReadPictureSource(std::filesystem::path(VL_SAMPLE_DIR) / discbuilder::kSplashSource);
    const std::filesystem::path file = discbuilder::WriteSplashPicture(VL_SAMPLE_DIR, dir.path() / "t" / "info_dat");
    EXPECT_EQ("splash.bmp", file.filename().string());
    CDib dib;
    dib.ReadBmpFile("T:\\INFO_DAT\\SPLASH.BMP");
    ExpectBmp(dib, source);
    EXPECT_EQ(4, dib.GetInfoHeader()->biBitCount) << "five colours";
    EXPECT_EQ(400, dib.GetWidth());
}
