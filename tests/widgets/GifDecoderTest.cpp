#include "WidgetTestSupport.h"

#include <functional>

using pictures::Bytes;
using pictures::GifImage;
using pictures::Indexed;
using pictures::Rgb;

namespace {

const char kCorrupt[] = "A corrupt image was found.\nThis may affect the display in some sections of the program.";

class GifTest : public BitmapTest {};

struct GoodCase {
    const char* name;
    std::function<Bytes()> make;
    Indexed expected;             // the first image
    std::vector<Rgb> colors;      // the colour table that applies to it
};

std::vector<GoodCase> GoodCases()
{
    std::vector<GoodCase> cases;
    {
        Indexed p = pictures::Noise(7, 5, 2, 1);
        std::vector<Rgb> two = {{255, 255, 255}, {0, 0, 128}};
        cases.push_back({"two colours", [=] {
                             GifImage image{p, {}, false, 2};
                             return pictures::MakeGif(two, {image});
                         },
                         p, two});
    }
    for (int height : {3, 21, 1, 2, 8, 9}) {
        Indexed p = pictures::Noise(13, height, 16, 2 + unsigned(height));
        std::vector<Rgb> colors = pictures::Ramp(16);
        cases.push_back({"interlaced", [=] {
                             GifImage image{p, {}, true, 4};
                             return pictures::MakeGif(colors, {image});
                         },
                         p, colors});
    }
    {
        // Enough varied pixels to fill the 12-bit table several times over, cleared each time.
        Indexed p = pictures::Noise(211, 160, 256, 3);
        std::vector<Rgb> colors = pictures::Ramp(256);
        cases.push_back({"full table, cleared", [=] { return pictures::MakeGif(colors, {GifImage{p}}); }, p, colors});
    }
    {
        // The table fills and the stream goes on with 12-bit codes and no clear code.
        Indexed p = pictures::Noise(150, 90, 64, 4);
        std::vector<Rgb> colors = pictures::Ramp(64);
        cases.push_back({"full table, never cleared", [=] {
                             GifImage image{p, {}, false, 6, false};
                             return pictures::MakeGif(colors, {image});
                         },
                         p, colors});
    }
    {
        Indexed p = pictures::Noise(17, 11, 16, 5);
        std::vector<Rgb> global = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}, {10, 11, 12}};
        std::vector<Rgb> local = pictures::Ramp(16);
        cases.push_back({"local colour table", [=] {
                             GifImage image{p, local, false, 4};
                             return pictures::MakeGif(global, {image});
                         },
                         p, local});
        cases.push_back({"local colour table, no global one", [=] {
                             GifImage image{p, local, true, 4};
                             return pictures::MakeGif({}, {image});
                         },
                         p, local});
    }
    {
        Indexed first = pictures::Noise(20, 10, 8, 6);
        Indexed second = pictures::Noise(20, 10, 4, 7);  // over its own table of 4 colours
        std::vector<Rgb> colors = pictures::Ramp(8);
        cases.push_back({"animated, first image", [=] {
                             GifImage a{first, {}, false, 3, true, true};
                             GifImage b{second, pictures::Ramp(4), false, 3, true, true};
                             return pictures::MakeGif(colors, {a, b}, true);
                         },
                         first, colors});
    }
    {
        // Over 30000 bytes of image data: the input window is refilled on the way.
        Indexed p = pictures::Noise(300, 250, 256, 8);
        std::vector<Rgb> colors = pictures::Ramp(256);
        cases.push_back({"longer than the input window", [=] { return pictures::MakeGif(colors, {GifImage{p}}); }, p,
                         colors});
    }
    return cases;
}

}  // namespace

TEST_F(GifTest, DecodesLikeGiflibAndAsWritten)
{
    for (const GoodCase& c : GoodCases()) {
        SCOPED_TRACE(c.name + std::string(" ") + std::to_string(c.expected.width) + "x" +
                     std::to_string(c.expected.height));
        Bytes gif = c.make();
        pictures::Decoded reference = pictures::GiflibDecode(gif);
        ASSERT_TRUE(reference.ok);
        EXPECT_EQ(c.expected.pixels, reference.picture.pixels) << "giflib reads the picture written";

        CDib dib(gif.data(), UINT(gif.size()));
        ASSERT_NO_FATAL_FAILURE(ExpectPicture(dib, reference.picture, reference.colors));
        size_t tableSize = size_t(2) << pictures::TableBits(c.colors.size());
        EXPECT_EQ(tableSize, dib.GetInfoHeader()->biClrImportant);
        EXPECT_EQ(256u, dib.GetInfoHeader()->biClrUsed);
        EXPECT_EQ(((DWORD(c.expected.width) + 3) & ~3u) * DWORD(c.expected.height), dib.GetImageSize());
    }
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(GifTest, TwoColoursLeaveTheRestOfTheTableBlack)
{
    Indexed p = pictures::Noise(4, 4, 2, 9);
    Bytes gif = pictures::MakeGif({{200, 10, 20}, {30, 40, 250}}, {GifImage{p, {}, false, 2}});
    gif[10] |= 0x08;  // the sort flag does not change the colour count
    CDib dib(gif.data(), UINT(gif.size()));
    EXPECT_EQ(2u, dib.GetInfoHeader()->biClrImportant);
    ExpectPicture(dib, p, {{200, 10, 20}, {30, 40, 250}});
}

TEST_F(GifTest, InterlacedThreeRowsLandAtTheirRows)
{
    // Stored rows: pass 1 row 0, pass 3 row 2, pass 4 row 1.
    Indexed p{2, 3, {1, 1, 2, 2, 3, 3}};
    Bytes gif = pictures::MakeGif(pictures::Ramp(4), {GifImage{p, {}, true, 2}});
    CDib dib(gif.data(), UINT(gif.size()));
    ExpectPicture(dib, p, pictures::Ramp(4));
}

TEST_F(GifTest, ReadsFromAFileAtAnOffset)
{
    Indexed p = pictures::Noise(9, 6, 4, 10);
    Bytes gif = pictures::MakeGif(pictures::Ramp(4), {GifImage{p, {}, false, 2}});
    Bytes file(1234, 0x47);  // 'G' bytes before the picture
    file.insert(file.end(), gif.begin(), gif.end());
    file.insert(file.end(), 100, 0x3B);
    std::string path = WriteT("archive.dat", file);

    CDib dib(path.c_str(), 1234);
    ExpectPicture(dib, p, pictures::Ramp(4));

    // Elsewhere in the file there is no picture; a missing file is a file exception.
    host::AnswerMessageBox("GIF Signature not found", IDOK);
    try {
        CDib wrong(path.c_str(), 1000);
        ADD_FAILURE() << "no exception";
    } catch (CUserException* e) {
        e->Delete();
    }
    try {
        CDib missing("T:\\missing.gif", 0);
        ADD_FAILURE() << "no exception";
    } catch (CFileException* e) {
        EXPECT_EQ(CFileException::fileNotFound, e->m_cause);
        EXPECT_STREQ("T:\\missing.gif", e->m_strFileName);
        e->Delete();
    }
}

TEST_F(GifTest, AMemorySourceIsReadFromItsStartEveryTime)
{
    Indexed p = pictures::Noise(5, 5, 4, 11);
    Bytes gif = pictures::MakeGif(pictures::Ramp(4), {GifImage{p, {}, false, 2}});
    CDib dib;
    dib.ReadGifMemory(gif.data(), UINT(gif.size()));
    dib.ReadGifMemory(gif.data(), UINT(gif.size()));
    ExpectPicture(dib, p, pictures::Ramp(4));
    EXPECT_EQ(0x47, gif[0]) << "the caller's bytes are left alone";
}

// Damaged streams: each ends with the reader's message (or none) and an empty bitmap, or, where
// the data simply stops early, with the rows it reached and the rest zero; never outside a
// buffer (the sanitizers watch).
TEST_F(GifTest, DamagedStreamsFailCleanly)
{
    Indexed p = pictures::Noise(40, 30, 16, 12);
    const std::vector<Rgb> colors = pictures::Ramp(16);
    const Bytes good = pictures::MakeGif(colors, {GifImage{p, {}, false, 4}});
    const size_t header = 13 + 48;  // the header and the global table
    const size_t codeSizeAt = header + 10;
    auto with = [&](std::function<void(Bytes&)> change) {
        Bytes b = good;
        change(b);
        return b;
    };
    auto truncated = [&](size_t n) { return Bytes(good.begin(), good.begin() + long(n)); };

    enum Outcome { Corrupt, Signature, NoColourMap, EmptyNoMessage, Partial };
    struct Case {
        const char* name;
        Bytes bytes;
        Outcome outcome;
    } cases[] = {
        {"empty", Bytes{}, Signature},
        {"two bytes", Bytes{'G', 'I'}, Signature},
        {"not a GIF", with([](Bytes& b) { b[0] = 'J'; }), Signature},
        {"header cut", truncated(10), Corrupt},
        {"colour table cut", truncated(40), Corrupt},
        {"descriptor cut", truncated(header + 5), Corrupt},
        {"before the code size", truncated(header + 10), Corrupt},
        {"first sub-block cut", truncated(header + 40), Corrupt},
        {"image data cut", truncated(good.size() - 30), Corrupt},
        {"no colour table anywhere",
         [&] {
             GifImage image{p, {}, false, 4};
             return pictures::MakeGif({}, {image});
         }(),
         NoColourMap},
        {"huge dimensions", with([&](Bytes& b) { b[header + 5] = b[header + 6] = b[header + 7] = b[header + 8] = 0xFF; }),
         Corrupt},
        {"zero width", with([&](Bytes& b) { b[header + 5] = b[header + 6] = 0; }), Corrupt},
        {"code size 0", with([&](Bytes& b) { b[codeSizeAt] = 0; }), Corrupt},
        {"code size 1", with([&](Bytes& b) { b[codeSizeAt] = 1; }), Corrupt},
        {"code size 9", with([&](Bytes& b) { b[codeSizeAt] = 9; }), Corrupt},
        {"code size 12", with([&](Bytes& b) { b[codeSizeAt] = 12; }), Corrupt},
        {"more rows than the image", with([&](Bytes& b) { b[header + 7] = 20; }), Corrupt},
        {"a code not yet defined", with([&](Bytes& b) { b[codeSizeAt + 2] = 0xFF; b[codeSizeAt + 3] = 0xFF; }),
         Corrupt},
        {"zero-length block first", with([&](Bytes& b) { b[codeSizeAt + 1] = 0; }), Partial},
        {"zero-length block mid-image",
         [&] {
             // One sub-block of 60 bytes of the image data, then the block terminator.
             Bytes b(good.begin(), good.begin() + long(codeSizeAt + 1));
             b.push_back(60);
             b.insert(b.end(), good.begin() + long(codeSizeAt + 2), good.begin() + long(codeSizeAt + 62));
             b.push_back(0);
             b.push_back(0x3B);
             return b;
         }(),
         Partial},
        {"trailer before any image", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 1, 1, 1, 0x3B},
         EmptyNoMessage},
        {"extension without end", Bytes{'G', 'I', 'F', '8', '9', 'a', 1, 0, 1, 0, 0x80, 0, 0, 0, 0, 0, 1, 1, 1, 0x21, 0xF9, 200},
         Corrupt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host::ResetUiScript();
        if (c.outcome == Corrupt)
            host::AnswerMessageBox(kCorrupt, IDOK);
        if (c.outcome == Signature)
            host::AnswerMessageBox("GIF Signature not found", IDOK);
        if (c.outcome == NoColourMap)
            host::AnswerMessageBox("I could not find a colour map.", IDOK);
        // The bytes in a block of their own, so that the sanitizers see any read beyond them.
        std::vector<BYTE> exact(c.bytes.begin(), c.bytes.end());
        bool thrown = false;
        CDib dib;
        try {
            dib.ReadGifMemory(exact.empty() ? nullptr : exact.data(), UINT(exact.size()));
        } catch (CUserException* e) {
            thrown = true;
            e->Delete();
        }
        EXPECT_EQ(c.outcome == Signature || c.outcome == NoColourMap, thrown);
        EXPECT_EQ(host::PendingMessageBoxAnswers(), 0u) << "the expected message";
        EXPECT_EQ(c.outcome == Partial ? 0u : c.outcome == EmptyNoMessage ? 0u : 1u, host::MessageBoxLog().size());
        if (c.outcome == Partial) {
            ASSERT_FALSE(dib.IsEmpty());
            EXPECT_EQ(p.width, dib.GetWidth());
            // Rows the data never reached are zero.
            for (int x = 0; x < p.width; ++x)
                EXPECT_EQ(0, PixelAt(dib, x, p.height - 1));
        } else {
            EXPECT_TRUE(dib.IsEmpty());
            EXPECT_EQ(0, dib.GetWidth());
            EXPECT_EQ(0u, dib.GetColorCount());
        }
    }
}

TEST_F(GifTest, MinimumCodeSizesUpTo11)
{
    // Codes start at minimum code size + 1 bits and stop growing at 12: at 11 every code is 12
    // bits wide from the first, and the table has room for 2046 strings (a max-codes picture:
    // 100x100 in 16 colours).
    const Indexed p = pictures::Noise(100, 100, 16, 77);
    const std::vector<Rgb> colors = pictures::Ramp(16);
    for (int size : {9, 10, 11}) {
        SCOPED_TRACE(size);
        for (bool clear : {true, false}) {
            Bytes gif = pictures::MakeGif(colors, {GifImage{p, {}, false, size, clear}});
            ASSERT_EQ(size, gif[13 + 48 + 10]);
            CDib dib(gif.data(), UINT(gif.size()));
            ASSERT_NO_FATAL_FAILURE(ExpectPicture(dib, p, colors));
        }
    }
    EXPECT_TRUE(BoxTexts().empty());

    // At 11, a literal code beyond the 256 colours a picture can have is damage: clear (2048),
    // then 300, then the end code (2049), 12 bits each, least significant bit first.
    Bytes gif = pictures::MakeGif(colors, {GifImage{Indexed{8, 8, std::vector<std::uint8_t>(64, 3)}, {}, false, 11}});
    const size_t codeSizeAt = 13 + 48 + 10;
    ASSERT_EQ(11, gif[codeSizeAt]);
    auto stream = [&](std::vector<unsigned> codes) {
        Bytes b(gif.begin(), gif.begin() + long(codeSizeAt + 1));
        Bytes packed;
        unsigned long long bits = 0;
        int count = 0;
        for (unsigned code : codes) {
            bits |= static_cast<unsigned long long>(code) << count;
            count += 12;
            while (count >= 8) {
                packed.push_back(BYTE(bits));
                bits >>= 8;
                count -= 8;
            }
        }
        if (count > 0)
            packed.push_back(BYTE(bits));
        b.push_back(BYTE(packed.size()));
        b.insert(b.end(), packed.begin(), packed.end());
        b.push_back(0);
        b.push_back(0x3B);
        return b;
    };
    for (const std::vector<unsigned>& codes : {std::vector<unsigned>{2048, 300, 2049},
                                               std::vector<unsigned>{2048, 3, 2050, 2051, 300, 2049}}) {
        host::ResetUiScript();
        host::AnswerMessageBox(kCorrupt, IDOK);
        Bytes bad = stream(codes);
        CDib dib(bad.data(), UINT(bad.size()));
        EXPECT_EQ(host::PendingMessageBoxAnswers(), 0u) << "the corrupt-image message";
    }
}
