#include "WidgetTestSupport.h"

#include "base/ResourceLibrary.h"

using pictures::BmpSpec;
using pictures::Bytes;
using pictures::Rgb;

namespace {

class DibTest : public BitmapTest {
protected:
    // A memory DC over a screen-compatible bitmap of the given size, filled with a colour.
    struct Canvas {
        Canvas(int cx, int cy, COLORREF fill)
        {
            HDC hdcScreen = ::GetDC(NULL);
            dc.CreateCompatibleDC(CDC::FromHandle(hdcScreen));
            bitmap.CreateCompatibleBitmap(CDC::FromHandle(hdcScreen), cx, cy);
            ::ReleaseDC(NULL, hdcScreen);
            old = dc.SelectObject(&bitmap);
            CRect all(0, 0, cx, cy);
            CBrush brush(fill);
            dc.FillRect(&all, &brush);
        }
        ~Canvas() { dc.SelectObject(old); }
        COLORREF At(int x, int y) { return dc.GetPixel(x, y); }

        CDC dc;
        CBitmap bitmap;
        CBitmap* old = nullptr;
    };

    void LoadTestLibrary()
    {
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/test_widgets_lib.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }
};

// The value of the pixel at (x, y) from the top of a bottom-up CDib of any depth: an index, or
// 0xRRGGBB at 24 bits.
std::uint32_t ValueAt(const CDib& dib, int x, int y)
{
    int bits = dib.GetInfoHeader()->biBitCount;
    size_t row = ((size_t(dib.GetWidth()) * size_t(bits) + 31) & ~size_t(31)) / 8;
    const BYTE* r = dib.GetBits() + size_t(dib.GetHeight() - 1 - y) * row;
    switch (bits) {
    case 1: return (r[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (r[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return r[x];
    default: return std::uint32_t(r[x * 3]) | std::uint32_t(r[x * 3 + 1]) << 8 | std::uint32_t(r[x * 3 + 2]) << 16;
    }
}

BmpSpec Spec(int bits, bool topDown, std::uint32_t gap = 0)
{
    BmpSpec s;
    s.width = 7;  // rows padded differently at every depth
    s.height = 5;
    s.bitCount = bits;
    s.topDown = topDown;
    s.gap = gap;
    int nColors = bits == 24 ? 0 : 1 << bits;
    s.colors = pictures::Ramp(nColors);
    std::uint32_t seed = std::uint32_t(bits * 31 + (topDown ? 7 : 0));
    for (int i = 0; i < s.width * s.height; ++i) {
        seed = seed * 1664525u + 1013904223u;
        s.pixels.push_back(bits == 24 ? (seed >> 8) & 0xFFFFFF : (seed >> 16) % std::uint32_t(nColors));
    }
    return s;
}

}  // namespace

TEST_F(DibTest, AnEmptyBitmapReadsZero)
{
    CDib dib;
    EXPECT_TRUE(dib.IsEmpty());
    EXPECT_EQ(0, dib.GetWidth());
    EXPECT_EQ(0, dib.GetHeight());
    EXPECT_EQ(0u, dib.GetColorCount());
    EXPECT_EQ(0u, dib.GetImageSize());
    Canvas canvas(4, 4, RGB(1, 2, 3));
    dib.Draw(&canvas.dc, 0, 0);
    dib.DrawTransparent(&canvas.dc, 0, 0, RGB(0, 0, 0));
    EXPECT_EQ(RGB(1, 2, 3), canvas.At(0, 0));
}

TEST_F(DibTest, BmpFilesOfEveryDepthAndRowOrder)
{
    for (int bits : {1, 4, 8, 24})
        for (bool topDown : {false, true})
            for (std::uint32_t gap : {0u, 6u}) {
                SCOPED_TRACE(std::to_string(bits) + " bits" + (topDown ? ", top-down" : ", bottom-up") +
                             (gap ? ", bits further on" : ""));
                BmpSpec s = Spec(bits, topDown, gap);
                std::string path = WriteT("picture.bmp", pictures::MakeBmp(s));
                CDib dib;
                dib.ReadBmpFile(path.c_str());
                ASSERT_FALSE(dib.IsEmpty());
                EXPECT_EQ(s.width, dib.GetWidth());
                EXPECT_EQ(s.height, dib.GetHeight()) << "kept bottom-up";
                EXPECT_EQ(s.colors.size(), dib.GetColorCount());
                EXPECT_EQ(((DWORD(s.width) * DWORD(bits) + 31) & ~31u) / 8 * DWORD(s.height), dib.GetImageSize());
                EXPECT_EQ(reinterpret_cast<BYTE*>(dib.GetInfoHeader()) + 40 + 4 * s.colors.size(), dib.GetBits())
                    << "the bits follow the colour table";
                for (size_t i = 0; i < s.colors.size(); ++i)
                    EXPECT_EQ(s.colors[i].g, dib.GetColorTable()[i].rgbGreen);
                int wrong = 0;
                for (int y = 0; y < s.height; ++y)
                    for (int x = 0; x < s.width; ++x)
                        wrong += ValueAt(dib, x, y) != s.pixels[size_t(y * s.width + x)];
                EXPECT_EQ(0, wrong);
            }
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DibTest, A24BitBmpHasNoColourTableAndABlackPalette)
{
    std::string path = WriteT("true.bmp", pictures::MakeBmp(Spec(24, false)));
    CDib dib;
    dib.ReadBmpFile(path.c_str());
    EXPECT_EQ(0u, dib.GetColorCount());
    EXPECT_EQ(reinterpret_cast<BYTE*>(dib.GetInfoHeader()) + 40, dib.GetBits());
    HPALETTE hPalette = dib.CreatePalette();
    ASSERT_NE(nullptr, hPalette);
    PALETTEENTRY entries[256];
    ASSERT_EQ(256u, ::GetPaletteEntries(hPalette, 0, 256, entries));
    for (const PALETTEENTRY& e : entries)
        EXPECT_TRUE(e.peRed == 0 && e.peGreen == 0 && e.peBlue == 0 && e.peFlags == 0);
    ::DeleteObject(hPalette);
}

TEST_F(DibTest, DamagedBmpFilesFailCleanly)
{
    const Bytes good = pictures::MakeBmp(Spec(8, false));
    auto with = [&](size_t at, std::vector<BYTE> bytes) {
        Bytes b = good;
        std::copy(bytes.begin(), bytes.end(), b.begin() + long(at));
        return b;
    };
    // Header fields: 14 biSize, 18 biWidth, 22 biHeight, 26 biPlanes, 28 biBitCount,
    // 30 biCompression, 46 biClrUsed; 10 bfOffBits.
    struct Case {
        const char* name;
        Bytes bytes;
    } cases[] = {
        {"not BM", with(0, {'M', 'B'})},
        {"file header only", Bytes(good.begin(), good.begin() + 14)},
        {"info header cut", Bytes(good.begin(), good.begin() + 30)},
        {"colour table cut", Bytes(good.begin(), good.begin() + 14 + 40 + 100)},
        {"rows cut", Bytes(good.begin(), good.end() - 1)},
        {"core header", with(14, {12, 0, 0, 0})},
        {"header larger than the file", with(14, {0, 0, 1, 0})},
        {"a thousand colours", with(46, {0xE8, 0x03, 0, 0})},
        {"huge width", with(18, {0xFF, 0xFF, 0xFF, 0x7F})},
        {"negative width", with(18, {0xF9, 0xFF, 0xFF, 0xFF})},
        {"most negative height", with(22, {0, 0, 0, 0x80})},
        {"zero height", with(22, {0, 0, 0, 0})},
        {"7 bits a pixel", with(28, {7, 0})},
        {"compressed", with(30, {1, 0, 0, 0})},
        {"two planes", with(26, {2, 0})},
        {"bits inside the header", with(10, {20, 0, 0, 0})},
        {"bits beyond the file", with(10, {0xFF, 0xFF, 0, 0})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        host::ResetUiScript();
        host::AnswerMessageBox("Not a bitmap file", IDOK);
        std::string path = WriteT("bad.bmp", c.bytes);
        CDib dib;
        dib.ReadBmpFile(path.c_str());
        EXPECT_TRUE(dib.IsEmpty());
        EXPECT_EQ(0u, host::PendingMessageBoxAnswers());
    }

    // A file that cannot be opened or has nothing in it is a file exception with its name.
    WriteT("empty.bmp", {});
    for (const char* name : {"T:\\empty.bmp", "T:\\none.bmp"}) {
        CDib dib;
        try {
            dib.ReadBmpFile(name);
            ADD_FAILURE() << name;
        } catch (CFileException* e) {
            EXPECT_STREQ(name, e->m_strFileName);
            e->Delete();
        }
        EXPECT_TRUE(dib.IsEmpty());
    }
}

TEST_F(DibTest, BitmapResourcesOfTheProgramAndTheLibrary)
{
    CDib own(100);
    EXPECT_EQ(5, own.GetWidth());
    EXPECT_EQ(3, own.GetHeight());
    EXPECT_EQ(4u, own.GetColorCount());
    EXPECT_EQ(0u, ValueAt(own, 0, 0));
    EXPECT_EQ(3u, ValueAt(own, 2, 1));
    EXPECT_EQ(255, own.GetColorTable()[0].rgbRed);

    // Ids from 7000 are the resource library's: none loaded, none found.
    EXPECT_THROW(
        {
            try {
                CDib missing(7001);
            } catch (CResourceException* e) {
                e->Delete();
                throw 1;
            }
        },
        int);
    LoadTestLibrary();
    CDib library(7001);
    EXPECT_EQ(3, library.GetWidth());
    EXPECT_EQ(2, library.GetHeight());
    EXPECT_EQ(1u, ValueAt(library, 1, 0));
    EXPECT_EQ(200, library.GetColorTable()[1].rgbRed);

    for (UINT id : {101u, 7002u, 99u}) {
        try {
            CDib missing(id);
            ADD_FAILURE() << id;
        } catch (CResourceException* e) {
            e->Delete();
        }
    }
}

TEST_F(DibTest, ReplaceColorWorksOnAPrivateCopy)
{
    CDib dib(100);
    COLORREF old = dib.ReplaceColor(RGB(255, 0, 0), RGB(1, 2, 3));
    EXPECT_EQ(RGB(255, 0, 0), old);
    EXPECT_EQ(1, dib.GetColorTable()[0].rgbRed);
    EXPECT_EQ(3, dib.GetColorTable()[0].rgbBlue);
    // A palette index names another entry of the bitmap's table.
    dib.ReplaceColor(RGB(0, 255, 0), PALETTEINDEX(2));
    EXPECT_EQ(255, dib.GetColorTable()[1].rgbBlue);
    EXPECT_EQ(0, dib.GetColorTable()[1].rgbGreen);
    dib.ReplaceColor(RGB(0, 0, 255), PALETTEINDEX(200));  // beyond the table: nothing
    EXPECT_EQ(255, dib.GetColorTable()[2].rgbBlue);
    EXPECT_EQ(3u, ValueAt(dib, 2, 1)) << "the pixels came along";

    CDib fresh(100);
    EXPECT_EQ(255, fresh.GetColorTable()[0].rgbRed) << "the resource itself is unchanged";
}

TEST_F(DibTest, CopyRectFromAddressesPaddedRows)
{
    // Widths 5 and 7: rows of 8 bytes each.
    pictures::Indexed a = pictures::Noise(5, 6, 200, 21);
    pictures::Indexed b = pictures::Noise(7, 4, 200, 22);
    Bytes gifA = pictures::MakeGif(pictures::Ramp(256), {pictures::GifImage{a}});
    Bytes gifB = pictures::MakeGif(pictures::Ramp(256), {pictures::GifImage{b}});
    CDib dst(gifA.data(), UINT(gifA.size()));
    CDib src(gifB.data(), UINT(gifB.size()));
    dst.CopyRectFrom(1, 2, &src, 3, 1, 3, 2);
    for (int y = 0; y < a.height; ++y)
        for (int x = 0; x < a.width; ++x) {
            bool inside = x >= 1 && x < 4 && y >= 2 && y < 4;
            EXPECT_EQ(inside ? b.At(x - 1 + 3, y - 2 + 1) : a.At(x, y), PixelAt(dst, x, y)) << x << ", " << y;
        }
    // A block reaching past either bitmap is cut at its edges.
    dst.CopyRectFrom(3, 4, &src, 5, 2, 10, 10);
    EXPECT_EQ(b.At(5, 2), PixelAt(dst, 3, 4));
    EXPECT_EQ(b.At(6, 3), PixelAt(dst, 4, 5));
}

TEST_F(DibTest, DrawingAtNaturalSizeStretchedAndInParts)
{
    CDib dib(100);  // 5 x 3: red green blue white red / green blue white red green / white white blue green red
    const COLORREF red = RGB(255, 0, 0), green = RGB(0, 255, 0), white = RGB(255, 255, 255);
    const COLORREF bg = RGB(9, 9, 9);
    {
        Canvas canvas(20, 20, bg);
        dib.Draw(&canvas.dc, 2, 3);
        EXPECT_EQ(red, canvas.At(2, 3));
        EXPECT_EQ(white, canvas.At(5, 3));
        EXPECT_EQ(green, canvas.At(2, 4));
        EXPECT_EQ(red, canvas.At(6, 5));
        EXPECT_EQ(bg, canvas.At(7, 3));
        EXPECT_EQ(bg, canvas.At(2, 6));
    }
    {
        Canvas canvas(20, 20, bg);
        dib.DrawStretched(&canvas.dc, 0, 0, 10, 6);
        EXPECT_EQ(red, canvas.At(1, 1));
        EXPECT_EQ(green, canvas.At(3, 0));
        EXPECT_EQ(white, canvas.At(4, 2));
        EXPECT_EQ(red, canvas.At(9, 5));
        EXPECT_EQ(bg, canvas.At(10, 0));
        RECT rect{10, 10, 15, 13};
        dib.DrawInRect(&canvas.dc, &rect);
        EXPECT_EQ(red, canvas.At(10, 10));
        EXPECT_EQ(red, canvas.At(14, 12));
        const int box[4] = {0, 14, 5, 3};
        dib.DrawInBox(&canvas.dc, box);
        EXPECT_EQ(white, canvas.At(0, 16));
    }
    {
        Canvas canvas(20, 20, bg);
        RECT dst{0, 0, 2, 1}, src{1, 0, 3, 1};
        dib.DrawRect(&canvas.dc, &dst, &src);
        EXPECT_NE(bg, canvas.At(0, 0));
        EXPECT_NE(bg, canvas.At(1, 0));
        EXPECT_EQ(bg, canvas.At(2, 0));
        EXPECT_EQ(bg, canvas.At(0, 1));
    }
}

TEST_F(DibTest, DrawWithPaletteColoursReadsTheTableAsIndexes)
{
    ASSERT_TRUE(LoadAppPalettes());
    // One pixel of colour 0, whose table entry holds the index 30 in its first word.
    pictures::Indexed p{1, 1, {0}};
    Bytes gif = pictures::MakeGif({{0, 0, 30}, {0, 0, 0}}, {pictures::GifImage{p, {}, false, 2}});
    CDib dib(gif.data(), UINT(gif.size()));
    ASSERT_EQ(30, dib.GetColorTable()[0].rgbBlue);
    ASSERT_EQ(0, dib.GetColorTable()[0].rgbGreen);

    Canvas canvas(2, 1, RGB(0, 0, 0));
    CPalette* pOld = canvas.dc.SelectPalette(GetAppDisplayPalette(), TRUE);
    canvas.dc.RealizePalette();
    dib.Draw(&canvas.dc, 0, 0, 1);
    PALETTEENTRY entry;
    GetAppDisplayPalette()->GetPaletteEntries(30, 1, &entry);
    EXPECT_EQ(RGB(entry.peRed, entry.peGreen, entry.peBlue), canvas.At(0, 0));
    dib.Draw(&canvas.dc, 1, 0, 0);
    EXPECT_EQ(RGB(0, 0, 30), canvas.At(1, 0));
    canvas.dc.SelectPalette(pOld, TRUE);
}

TEST_F(DibTest, DrawTransparentKeepsTheTargetWhereTheColourIs)
{
    ASSERT_TRUE(LoadAppPalettes());
    CDib dib(100);
    const COLORREF bg = RGB(40, 50, 60);
    Canvas canvas(9, 6, bg);
    dib.DrawTransparent(&canvas.dc, 1, 1, RGB(255, 255, 255));
    pictures::Indexed expected{5, 3, {0, 1, 2, 3, 0, 1, 2, 3, 0, 1, 3, 3, 2, 1, 0}};
    const COLORREF colours[] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), bg};
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(colours[expected.At(x, y)], canvas.At(1 + x, 1 + y)) << x << ", " << y;
    EXPECT_EQ(bg, canvas.At(0, 0));
    EXPECT_EQ(bg, canvas.At(6, 4));
}
