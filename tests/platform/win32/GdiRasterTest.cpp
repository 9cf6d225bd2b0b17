// Raster operations, pens, brushes and DIBs checked pixel by pixel against their definitions.
#include <windows.h>

#include <host/Display.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <random>
#include <vector>

namespace {

// A memory DC with a DIB section of the given depth selected, its bits exposed.
struct DibDC {
    HDC dc = nullptr;
    HBITMAP bm = nullptr, old = nullptr;
    BYTE* bits = nullptr;
    int w, h, bpp, stride;
    DibDC(int width, int height, int depth, bool topDown = true) : w(width), h(height), bpp(depth)
    {
        std::vector<BYTE> buf(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
        auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
        bi->bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        bi->bmiHeader.biWidth = w;
        bi->bmiHeader.biHeight = topDown ? -h : h;
        bi->bmiHeader.biPlanes = 1;
        bi->bmiHeader.biBitCount = WORD(bpp);
        bi->bmiHeader.biCompression = BI_RGB;
        // Distinct grey levels, so index arithmetic survives the round trip through colours.
        int n = bpp <= 8 ? 1 << bpp : 0;
        for (int i = 0; i < n; ++i) {
            BYTE v = BYTE(n == 2 ? i * 255 : i * 255 / (n - 1));
            bi->bmiColors[i] = RGBQUAD{v, v, v, 0};
        }
        dc = CreateCompatibleDC(nullptr);
        void* p = nullptr;
        bm = CreateDIBSection(dc, bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<BYTE*>(p);
        old = HBITMAP(SelectObject(dc, bm));
        stride = ((w * bpp + 31) / 32) * 4;
    }
    ~DibDC()
    {
        SelectObject(dc, old);
        DeleteObject(bm);
        DeleteDC(dc);
    }
    DWORD Mask() const { return bpp >= 24 ? 0xFFFFFF : (1u << bpp) - 1; }
    DWORD Get(int x, int y) const
    {
        const BYTE* r = bits + size_t(y) * stride;
        switch (bpp) {
        case 32: return *reinterpret_cast<const DWORD*>(r + x * 4) & 0xFFFFFF;
        case 24: return r[x * 3] | (r[x * 3 + 1] << 8) | (r[x * 3 + 2] << 16);
        case 8: return r[x];
        case 4: return (r[x / 2] >> ((x & 1) ? 0 : 4)) & 0xF;
        default: return (r[x / 8] >> (7 - x % 8)) & 1;
        }
    }
    void Set(int x, int y, DWORD v)
    {
        BYTE* r = bits + size_t(y) * stride;
        switch (bpp) {
        case 32: *reinterpret_cast<DWORD*>(r + x * 4) = v; break;
        case 24:
            r[x * 3] = BYTE(v);
            r[x * 3 + 1] = BYTE(v >> 8);
            r[x * 3 + 2] = BYTE(v >> 16);
            break;
        case 8: r[x] = BYTE(v); break;
        case 4: r[x / 2] = BYTE((r[x / 2] & ((x & 1) ? 0xF0 : 0x0F)) | (v << ((x & 1) ? 0 : 4))); break;
        default: r[x / 8] = BYTE((r[x / 8] & ~(0x80 >> (x % 8))) | ((v & 1) << (7 - x % 8))); break;
        }
    }
    void Randomize(std::mt19937& rng)
    {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                Set(x, y, rng() & Mask());
    }
};

// The named operations as the platform defines them.
struct NamedRop {
    const char* name;
    DWORD rop;
    std::function<DWORD(DWORD, DWORD, DWORD)> f; // (pattern, source, destination)
};

const std::vector<NamedRop>& NamedRops()
{
    static const std::vector<NamedRop> t = {
        {"SRCCOPY", SRCCOPY, [](DWORD, DWORD s, DWORD) { return s; }},
        {"SRCPAINT", SRCPAINT, [](DWORD, DWORD s, DWORD d) { return s | d; }},
        {"SRCAND", SRCAND, [](DWORD, DWORD s, DWORD d) { return s & d; }},
        {"SRCINVERT", SRCINVERT, [](DWORD, DWORD s, DWORD d) { return s ^ d; }},
        {"SRCERASE", SRCERASE, [](DWORD, DWORD s, DWORD d) { return s & ~d; }},
        {"NOTSRCCOPY", NOTSRCCOPY, [](DWORD, DWORD s, DWORD) { return ~s; }},
        {"NOTSRCERASE", NOTSRCERASE, [](DWORD, DWORD s, DWORD d) { return ~(s | d); }},
        {"MERGECOPY", MERGECOPY, [](DWORD p, DWORD s, DWORD) { return p & s; }},
        {"MERGEPAINT", MERGEPAINT, [](DWORD, DWORD s, DWORD d) { return ~s | d; }},
        {"PATCOPY", PATCOPY, [](DWORD p, DWORD, DWORD) { return p; }},
        {"PATPAINT", PATPAINT, [](DWORD p, DWORD s, DWORD d) { return p | ~s | d; }},
        {"PATINVERT", PATINVERT, [](DWORD p, DWORD, DWORD d) { return p ^ d; }},
        {"DSTINVERT", DSTINVERT, [](DWORD, DWORD, DWORD d) { return ~d; }},
        {"BLACKNESS", BLACKNESS, [](DWORD, DWORD, DWORD) { return 0u; }},
        {"WHITENESS", WHITENESS, [](DWORD, DWORD, DWORD) { return ~0u; }},
        // Transparent-blit building blocks: DSPDxax and PSDPxax.
        {"DSPDxax", 0x00E20746, [](DWORD p, DWORD s, DWORD d) { return ((p ^ d) & s) ^ d; }},
        {"PSDPxax", 0x00B8074A, [](DWORD p, DWORD s, DWORD d) { return ((d ^ p) & s) ^ p; }},
        // Operations with no name, by their truth table: 0x96 is P xor S xor D, 0x1D is DSPDxoxn... computed below.
        {"PSDxx", 0x00960000, [](DWORD p, DWORD s, DWORD d) { return p ^ s ^ d; }},
        {"DPSoo", 0x00FE0000, [](DWORD p, DWORD s, DWORD d) { return p | s | d; }},
        {"DPSaan", 0x007F0000, [](DWORD p, DWORD s, DWORD d) { return ~(p & s & d); }},
        {"SDPSaox", 0x00E80000, [](DWORD p, DWORD s, DWORD d) { return (p & s) | (p & d) | (s & d); }},
    };
    return t;
}

class RopTest : public ::testing::TestWithParam<int> {};

TEST_P(RopTest, EveryNamedOperationMatchesItsDefinitionBitForBit)
{
    const int bpp = GetParam();
    std::mt19937 rng(1234 + bpp);
    const int W = 37, H = 11;
    DibDC dst(W, H, bpp), src(W, H, bpp), pat(8, 8, bpp);
    src.Randomize(rng);
    pat.Randomize(rng);
    HBRUSH brush = CreatePatternBrush(pat.bm);
    // Monochrome patterns take the text and background colours: keep 0 black and 1 white.
    SetTextColor(dst.dc, RGB(0, 0, 0));
    SetBkColor(dst.dc, RGB(255, 255, 255));
    HGDIOBJ oldBrush = SelectObject(dst.dc, brush);
    for (const auto& r : NamedRops()) {
        dst.Randomize(rng);
        std::vector<DWORD> before(size_t(W) * H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x)
                before[size_t(y) * W + x] = dst.Get(x, y);
        ASSERT_TRUE(BitBlt(dst.dc, 0, 0, W, H, src.dc, 0, 0, r.rop)) << r.name;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                DWORD want = r.f(pat.Get(x % 8, y % 8), src.Get(x, y), before[size_t(y) * W + x]) & dst.Mask();
                ASSERT_EQ(dst.Get(x, y), want) << r.name << " at " << x << "," << y << " depth " << bpp;
            }
    }
    SelectObject(dst.dc, oldBrush);
    DeleteObject(brush);
}

INSTANTIATE_TEST_SUITE_P(Depths, RopTest, ::testing::Values(1, 4, 8, 24, 32));

TEST(Rop, AllTernaryCodesFollowTheirTruthTable)
{
    std::mt19937 rng(77);
    DibDC dst(16, 4, 32), src(16, 4, 32);
    HBRUSH brush = CreateSolidBrush(RGB(0x5A, 0xC3, 0x0F)); // pixel value 0x5AC30F
    SelectObject(dst.dc, brush);
    for (DWORD code = 0; code < 256; ++code) {
        src.Randomize(rng);
        dst.Randomize(rng);
        DWORD d0 = dst.Get(3, 2), s0 = src.Get(3, 2), p0 = 0x5AC30F;
        BitBlt(dst.dc, 0, 0, 16, 4, src.dc, 0, 0, code << 16);
        DWORD want = 0;
        for (int bit = 0; bit < 24; ++bit) {
            int idx = (((p0 >> bit) & 1) << 2) | (((s0 >> bit) & 1) << 1) | ((d0 >> bit) & 1);
            want |= ((code >> idx) & 1) << bit;
        }
        ASSERT_EQ(dst.Get(3, 2), want) << "rop " << code;
    }
    SelectObject(dst.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
}

TEST(Rop, PatBltRefusesOperationsThatNeedASource)
{
    DibDC dst(4, 4, 32);
    EXPECT_FALSE(PatBlt(dst.dc, 0, 0, 4, 4, SRCCOPY));
    EXPECT_TRUE(PatBlt(dst.dc, 0, 0, 4, 4, WHITENESS));
    EXPECT_EQ(dst.Get(2, 2), 0xFFFFFFu & dst.Mask());
    EXPECT_FALSE(BitBlt(dst.dc, 0, 0, 4, 4, nullptr, 0, 0, SRCCOPY));
}

TEST(Rop2, AllSixteenBinaryOperationsOnALine)
{
    std::mt19937 rng(5);
    DibDC dst(20, 1, 32);
    const COLORREF pen = RGB(0x12, 0xF0, 0x6C); // pixel 0x12F06C
    const DWORD P = 0x12F06C;
    HPEN hp = CreatePen(PS_SOLID, 1, pen);
    SelectObject(dst.dc, hp);
    for (int r = R2_BLACK; r <= R2_WHITE; ++r) {
        dst.Randomize(rng);
        DWORD D = dst.Get(7, 0);
        EXPECT_EQ(SetROP2(dst.dc, r) != 0, true);
        MoveToEx(dst.dc, 0, 0, nullptr);
        LineTo(dst.dc, 20, 0);
        DWORD want = 0;
        for (int bit = 0; bit < 24; ++bit) {
            int idx = (((P >> bit) & 1) << 1) | ((D >> bit) & 1);
            want |= DWORD(((r - 1) >> idx) & 1) << bit;
        }
        EXPECT_EQ(dst.Get(7, 0), want) << "R2 " << r;
    }
    EXPECT_EQ(SetROP2(dst.dc, 0), 0);
    SelectObject(dst.dc, GetStockObject(BLACK_PEN));
    DeleteObject(hp);
}

TEST(Blt, MonochromeAndColourConvertThroughTextAndBackgroundColours)
{
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HDC mono = CreateCompatibleDC(screen);
    HBITMAP mbm = CreateBitmap(8, 1, 1, 1, nullptr);
    BYTE bits[2] = {0xF0, 0};
    SetBitmapBits(mbm, 2, bits);
    SelectObject(mono, mbm);
    HDC color = CreateCompatibleDC(screen);
    HBITMAP cbm = CreateCompatibleBitmap(screen, 8, 1);
    SelectObject(color, cbm);
    // Monochrome to colour: 1 bits take the background colour, 0 bits the text colour.
    SetTextColor(color, RGB(200, 0, 0));
    SetBkColor(color, RGB(0, 0, 90));
    BitBlt(color, 0, 0, 8, 1, mono, 0, 0, SRCCOPY);
    EXPECT_EQ(GetPixel(color, 0, 0), RGB(0, 0, 90));
    EXPECT_EQ(GetPixel(color, 7, 0), RGB(200, 0, 0));
    // Colour to monochrome: pixels of the source's background colour become 1 (white).
    SetPixel(color, 2, 0, RGB(10, 20, 30));
    SetBkColor(color, RGB(10, 20, 30));
    BitBlt(mono, 0, 0, 8, 1, color, 0, 0, SRCCOPY);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(GetPixel(mono, x, 0), x == 2 ? RGB(255, 255, 255) : RGB(0, 0, 0)) << x;
    // A memory DC starts with a 1x1 monochrome bitmap, so its compatible bitmaps are monochrome.
    HDC fresh = CreateCompatibleDC(screen);
    HBITMAP odd = CreateCompatibleBitmap(fresh, 4, 4);
    BITMAP info{};
    GetObject(odd, sizeof info, &info);
    EXPECT_EQ(info.bmBitsPixel, 1);
    EXPECT_EQ(info.bmWidthBytes, 2);
    DeleteObject(odd);
    DeleteDC(fresh);
    DeleteDC(mono);
    DeleteDC(color);
    DeleteObject(mbm);
    DeleteObject(cbm);
    host::ReleaseDisplayDC(screen);
}

TEST(Blt, StretchModesAndMirroring)
{
    DibDC src(4, 1, 32), dst(8, 1, 32), small(2, 1, 32);
    DWORD px[4] = {0x000000, 0xFFFFFF, 0xFFFFFF, 0xFFFFFF};
    for (int x = 0; x < 4; ++x)
        src.Set(x, 0, px[x]);
    StretchBlt(dst.dc, 0, 0, 8, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
    for (int x = 0; x < 8; ++x)
        EXPECT_EQ(dst.Get(x, 0), px[x / 2]) << x;
    // Mirrored by a negative width.
    StretchBlt(dst.dc, 7, 0, -8, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(dst.Get(7, 0), 0u);
    EXPECT_EQ(dst.Get(0, 0), 0xFFFFFFu);
    // Shrinking: BLACKONWHITE keeps black pixels (AND), COLORONCOLOR drops lines.
    EXPECT_EQ(GetStretchBltMode(small.dc), BLACKONWHITE);
    src.Set(0, 0, 0xFFFFFF);
    src.Set(1, 0, 0x000000);
    StretchBlt(small.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(small.Get(0, 0), 0u);
    SetStretchBltMode(small.dc, COLORONCOLOR);
    StretchBlt(small.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(small.Get(0, 0), 0xFFFFFFu);
    SetStretchBltMode(small.dc, WHITEONBLACK);
    src.Set(0, 0, 0);
    src.Set(1, 0, 0xFFFFFF);
    StretchBlt(small.dc, 0, 0, 2, 1, src.dc, 0, 0, 4, 1, SRCCOPY);
    EXPECT_EQ(small.Get(0, 0), 0xFFFFFFu);
}

// Indexed pictures copied onto a 32-bit surface from any column: whole bytes, half bytes at
// either end, runs shorter than the four pixels the copy takes at a time.
TEST(Blt, IndexedSourcesFromAnyColumnOntoThirtyTwoBits)
{
    std::mt19937 rng(77);
    for (int bpp : {1, 4, 8}) {
        DibDC src(23, 2, bpp);
        src.Randomize(rng);
        const int n = 1 << bpp;
        auto grey = [n](DWORD i) {
            DWORD v = n == 2 ? i * 255 : i * 255 / DWORD(n - 1);
            return v | (v << 8) | (v << 16);
        };
        for (auto [xSrc, width] : std::vector<std::pair<int, int>>{{0, 23}, {1, 22}, {3, 9}, {2, 1}, {5, 2}, {7, 3}}) {
            DibDC dst(30, 2, 32);
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 30; ++x)
                    dst.Set(x, y, 0x123456);
            ASSERT_TRUE(BitBlt(dst.dc, 1, 0, width, 2, src.dc, xSrc, 0, SRCCOPY));
            for (int y = 0; y < 2; ++y)
                for (int x = 0; x < 30; ++x) {
                    DWORD want = x >= 1 && x < 1 + width ? grey(src.Get(xSrc + x - 1, y)) : 0x123456;
                    ASSERT_EQ(dst.Get(x, y), want) << bpp << " bits from column " << xSrc << ", " << width
                                                   << " wide, at " << x << "," << y;
                }
        }
    }
}

TEST(Blt, OverlappingCopyWithinOneBitmap)
{
    DibDC d(10, 1, 8);
    for (int x = 0; x < 10; ++x)
        d.Set(x, 0, DWORD(x));
    BitBlt(d.dc, 2, 0, 8, 1, d.dc, 0, 0, SRCCOPY);
    for (int x = 2; x < 10; ++x)
        EXPECT_EQ(d.Get(x, 0), DWORD(x - 2));
}

// ---- DIBs ---------------------------------------------------------------------------------------

struct DibCase {
    int bpp;
    UINT usage;
    bool topDown;
};

class DibTest : public ::testing::TestWithParam<DibCase> {};

// Colour i of the test table of a depth: for 1 and 4 bits the standard colours that GetDIBits
// reports for those depths, for 8 bits colours of our own.
COLORREF TableColor(int i, int bpp)
{
    static const COLORREF vga[16] = {RGB(0, 0, 0),       RGB(128, 0, 0),   RGB(0, 128, 0),   RGB(128, 128, 0),
                                     RGB(0, 0, 128),     RGB(128, 0, 128), RGB(0, 128, 128), RGB(192, 192, 192),
                                     RGB(128, 128, 128), RGB(255, 0, 0),   RGB(0, 255, 0),   RGB(255, 255, 0),
                                     RGB(0, 0, 255),     RGB(255, 0, 255), RGB(0, 255, 255), RGB(255, 255, 255)};
    if (bpp == 1)
        return i ? RGB(255, 255, 255) : RGB(0, 0, 0);
    if (bpp == 4)
        return vga[i];
    return RGB(i, 255 - i, (i * 5) & 0xFF);
}

// The colour of the picture at (x, y): a pattern that uses every colour of the depth.
COLORREF PictureColor(int x, int y, int bpp)
{
    if (bpp > 8)
        return RGB(x * 20, y * 30, (x * 7 + y * 13) & 0xFF);
    return TableColor((x + y * 3) % (1 << bpp), bpp);
}

TEST_P(DibTest, DrawnAndReadBack)
{
    const DibCase c = GetParam();
    const int W = 13, H = 5;
    int stride = ((W * c.bpp + 31) / 32) * 4;
    std::vector<BYTE> header(sizeof(BITMAPINFOHEADER) + 256 * 4);
    auto* bi = reinterpret_cast<BITMAPINFO*>(header.data());
    bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), W, c.topDown ? -H : H, 1, WORD(c.bpp), BI_RGB, 0, 0,
                                     0, 0, 0};
    int n = c.bpp <= 8 ? 1 << c.bpp : 0;
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP target = CreateCompatibleBitmap(screen, W, H);
    SelectObject(mem, target);
    HPALETTE pal = nullptr;
    std::vector<COLORREF> table(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i)
        table[size_t(i)] = TableColor(i, c.bpp);
    if (n && c.usage == DIB_PAL_COLORS) {
        // The colour table holds indices into the DC's palette, which lists the colours backwards.
        std::vector<BYTE> lp(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
        auto* log = reinterpret_cast<LOGPALETTE*>(lp.data());
        log->palVersion = 0x300;
        log->palNumEntries = WORD(n);
        for (int i = 0; i < n; ++i) {
            COLORREF col = table[size_t(n - 1 - i)];
            log->palPalEntry[i] = PALETTEENTRY{GetRValue(col), GetGValue(col), GetBValue(col), 0};
        }
        pal = CreatePalette(log);
        SelectPalette(mem, pal, FALSE);
        auto* idx = reinterpret_cast<WORD*>(bi->bmiColors);
        for (int i = 0; i < n; ++i)
            idx[i] = WORD(n - 1 - i);
    } else {
        for (int i = 0; i < n; ++i)
            bi->bmiColors[i] = RGBQUAD{GetBValue(table[size_t(i)]), GetGValue(table[size_t(i)]),
                                       GetRValue(table[size_t(i)]), 0};
    }
    std::vector<BYTE> bits(size_t(stride) * H);
    for (int y = 0; y < H; ++y) {
        BYTE* row = bits.data() + size_t(c.topDown ? y : H - 1 - y) * stride;
        for (int x = 0; x < W; ++x) {
            COLORREF col = PictureColor(x, y, c.bpp);
            if (c.bpp == 32) {
                row[x * 4] = GetBValue(col);
                row[x * 4 + 1] = GetGValue(col);
                row[x * 4 + 2] = GetRValue(col);
            } else if (c.bpp == 24) {
                row[x * 3] = GetBValue(col);
                row[x * 3 + 1] = GetGValue(col);
                row[x * 3 + 2] = GetRValue(col);
            } else {
                int i = (x + y * 3) % n;
                int per = 8 / c.bpp;
                int shift = 8 - c.bpp * (x % per + 1);
                row[x / per] = BYTE(row[x / per] | (i << shift));
            }
        }
    }
    ASSERT_EQ(StretchDIBits(mem, 0, 0, W, H, 0, 0, W, H, bits.data(), bi, c.usage, SRCCOPY), H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(GetPixel(mem, x, y), PictureColor(x, y, c.bpp)) << x << "," << y;
    // SetDIBitsToDevice draws the same picture.
    PatBlt(mem, 0, 0, W, H, BLACKNESS);
    ASSERT_EQ(SetDIBitsToDevice(mem, 0, 0, W, H, 0, 0, 0, H, bits.data(), bi, c.usage), H);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x)
            ASSERT_EQ(GetPixel(mem, x, y), PictureColor(x, y, c.bpp)) << x << "," << y;
    // GetDIBits in the same format gives the same bits back (for indexed depths, the indices of a
    // colour table with the same colours).
    SelectPalette(mem, HPALETTE(GetStockObject(DEFAULT_PALETTE)), FALSE);
    HBITMAP bm = CreateDIBitmap(screen, &bi->bmiHeader, CBM_INIT, bits.data(), bi, c.usage);
    if (pal) {
        // DIB_PAL_COLORS needs the palette in the DC that interprets the table.
        DeleteObject(bm);
        HPALETTE before = SelectPalette(screen, pal, FALSE);
        bm = CreateDIBitmap(screen, &bi->bmiHeader, CBM_INIT, bits.data(), bi, c.usage);
        SelectPalette(screen, before, FALSE);
    }
    std::vector<BYTE> back(header.size());
    auto* bo = reinterpret_cast<BITMAPINFO*>(back.data());
    bo->bmiHeader = bi->bmiHeader;
    if (n) {
        // Ask for the exact colour table back by handing over a DC with the colours as palette.
        std::vector<BYTE> lp(sizeof(LOGPALETTE) + 256 * sizeof(PALETTEENTRY));
        auto* log = reinterpret_cast<LOGPALETTE*>(lp.data());
        log->palVersion = 0x300;
        log->palNumEntries = WORD(n);
        for (int i = 0; i < n; ++i)
            log->palPalEntry[i] =
                PALETTEENTRY{GetRValue(table[size_t(i)]), GetGValue(table[size_t(i)]), GetBValue(table[size_t(i)]), 0};
        HPALETTE exact = CreatePalette(log);
        HDC q = CreateCompatibleDC(screen);
        SelectPalette(q, exact, FALSE);
        std::vector<BYTE> got(bits.size());
        ASSERT_EQ(GetDIBits(q, bm, 0, H, got.data(), bo, DIB_RGB_COLORS), H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const BYTE* row = got.data() + size_t(c.topDown ? y : H - 1 - y) * stride;
                int per = 8 / c.bpp;
                int shift = 8 - c.bpp * (x % per + 1);
                int i = (row[x / per] >> shift) & ((1 << c.bpp) - 1);
                RGBQUAD qd = bo->bmiColors[i];
                ASSERT_EQ(RGB(qd.rgbRed, qd.rgbGreen, qd.rgbBlue), PictureColor(x, y, c.bpp)) << x << "," << y;
            }
        DeleteDC(q);
        DeleteObject(exact);
    } else {
        std::vector<BYTE> got(bits.size());
        ASSERT_EQ(GetDIBits(screen, bm, 0, H, got.data(), bo, DIB_RGB_COLORS), H);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W * (c.bpp / 8); ++x) {
                if (c.bpp == 32 && x % 4 == 3)
                    continue;
                ASSERT_EQ(got[size_t(y) * stride + x], bits[size_t(y) * stride + x]) << x << "," << y;
            }
    }
    DeleteObject(bm);
    DeleteDC(mem);
    DeleteObject(target);
    if (pal)
        DeleteObject(pal);
    host::ReleaseDisplayDC(screen);
}

INSTANTIATE_TEST_SUITE_P(
    DepthsAndColourUses, DibTest,
    ::testing::Values(DibCase{1, DIB_RGB_COLORS, false}, DibCase{1, DIB_RGB_COLORS, true},
                      DibCase{1, DIB_PAL_COLORS, false}, DibCase{4, DIB_RGB_COLORS, false},
                      DibCase{4, DIB_RGB_COLORS, true}, DibCase{4, DIB_PAL_COLORS, true},
                      DibCase{8, DIB_RGB_COLORS, false}, DibCase{8, DIB_RGB_COLORS, true},
                      DibCase{8, DIB_PAL_COLORS, false}, DibCase{24, DIB_RGB_COLORS, false},
                      DibCase{24, DIB_RGB_COLORS, true}, DibCase{32, DIB_RGB_COLORS, false},
                      DibCase{32, DIB_RGB_COLORS, true}),
    [](const auto& info) {
        return std::to_string(info.param.bpp) + (info.param.usage == DIB_PAL_COLORS ? "Pal" : "Rgb") +
               (info.param.topDown ? "TopDown" : "BottomUp");
    });

TEST(Dib, HeaderQueryAndBitmapBits)
{
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HBITMAP bm = CreateCompatibleBitmap(screen, 10, 3);
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    ASSERT_NE(GetDIBits(screen, bm, 0, 3, nullptr, &bi, DIB_RGB_COLORS), 0);
    EXPECT_EQ(bi.bmiHeader.biWidth, 10);
    EXPECT_EQ(bi.bmiHeader.biHeight, 3);
    EXPECT_EQ(bi.bmiHeader.biBitCount, 32);
    EXPECT_EQ(bi.bmiHeader.biSizeImage, 120u);
    // Device bitmap bits: rows of whole 16-bit words, top row first.
    HBITMAP mono = CreateBitmap(9, 2, 1, 1, nullptr);
    BYTE in[4] = {0xAA, 0x80, 0x55, 0x00};
    EXPECT_EQ(SetBitmapBits(mono, 4, in), 4);
    BYTE out[4] = {};
    EXPECT_EQ(GetBitmapBits(mono, 4, out), 4);
    EXPECT_EQ(std::memcmp(in, out, 4), 0);
    EXPECT_EQ(GetBitmapBits(mono, 0, nullptr), 4);
    DeleteObject(mono);
    DeleteObject(bm);
    host::ReleaseDisplayDC(screen);
}

} // namespace

namespace {

TEST(Dib, RunLengthEncodedPicturesAreDecoded)
{
    struct Case {
        int bpp;
        DWORD compression;
        std::vector<BYTE> data;
        COLORREF bottom[4];
    };
    const COLORREF black = RGB(0, 0, 0), red = RGB(255, 0, 0), green = RGB(0, 255, 0), blue = RGB(0, 0, 255);
    const Case cases[] = {
        // Bottom row: a run of three 1s and a run of one 2; top row: four pixels in absolute mode.
        {8, BI_RLE8, {3, 1, 1, 2, 0, 0, 0, 4, 3, 0, 2, 1, 0, 1}, {red, red, red, green}},
        // Bottom row: four pixels alternating 1 and 2; top row absolute, two pixels per byte.
        {4, BI_RLE4, {4, 0x12, 0, 0, 0, 4, 0x30, 0x21, 0, 1}, {red, green, red, green}},
    };
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 4, 2);
    SelectObject(mem, bm);
    for (const Case& c : cases) {
        std::vector<BYTE> buf(sizeof(BITMAPINFOHEADER) + 16 * sizeof(RGBQUAD));
        auto* bi = reinterpret_cast<BITMAPINFO*>(buf.data());
        bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 4, 2, 1, WORD(c.bpp), c.compression,
                                         DWORD(c.data.size()), 0, 0, 4, 0};
        bi->bmiColors[0] = RGBQUAD{0, 0, 0, 0};
        bi->bmiColors[1] = RGBQUAD{0, 0, 255, 0};
        bi->bmiColors[2] = RGBQUAD{0, 255, 0, 0};
        bi->bmiColors[3] = RGBQUAD{255, 0, 0, 0};
        PatBlt(mem, 0, 0, 4, 2, WHITENESS);
        ASSERT_EQ(StretchDIBits(mem, 0, 0, 4, 2, 0, 0, 4, 2, c.data.data(), bi, DIB_RGB_COLORS, SRCCOPY), 2);
        const COLORREF top[4] = {blue, black, green, red};
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(GetPixel(mem, x, 0), top[x]) << c.bpp << " top " << x;
            EXPECT_EQ(GetPixel(mem, x, 1), c.bottom[x]) << c.bpp << " bottom " << x;
        }
        // A truncated stream draws what it has and stops.
        std::vector<BYTE> cut(c.data.begin(), c.data.begin() + 3);
        bi->bmiHeader.biSizeImage = DWORD(cut.size());
        EXPECT_EQ(StretchDIBits(mem, 0, 0, 4, 2, 0, 0, 4, 2, cut.data(), bi, DIB_RGB_COLORS, SRCCOPY), 2);
    }
    DeleteDC(mem);
    DeleteObject(bm);
    host::ReleaseDisplayDC(screen);
}

} // namespace

namespace {

TEST(Bitmap, ImpossibleSizesFailCleanly)
{
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    EXPECT_EQ(CreateCompatibleBitmap(screen, 100000, 100000), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_NOT_ENOUGH_MEMORY));
    EXPECT_EQ(CreateBitmap(-1, 5, 1, 1, nullptr), nullptr);
    EXPECT_EQ(CreateBitmap(5, 5, 1, 3, nullptr), nullptr);
    BITMAPINFO bi{};
    bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 70000, 70000, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    EXPECT_EQ(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    EXPECT_EQ(bits, nullptr);
    bi.bmiHeader.biWidth = 4;
    bi.bmiHeader.biHeight = 4;
    bi.bmiHeader.biBitCount = 7;
    EXPECT_EQ(CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0), nullptr);
    host::ReleaseDisplayDC(screen);
}

} // namespace

// The file and memory layouts that bitmap files and packed DIBs are read with.
static_assert(sizeof(BITMAPFILEHEADER) == 14);
static_assert(sizeof(BITMAPINFOHEADER) == 40);
static_assert(sizeof(BITMAPCOREHEADER) == 12);
static_assert(sizeof(RGBQUAD) == 4);
static_assert(sizeof(RGBTRIPLE) == 3);
static_assert(sizeof(PALETTEENTRY) == 4);
static_assert(offsetof(LOGPALETTE, palPalEntry) == 4);
static_assert(sizeof(LOGFONTA) == 60);

namespace {

// The classic transparent drawing: a mask made from the image's key colour through the
// background colour, then XOR, AND, XOR onto a copy of the target.
void TransparentBlt(HDC target, int x, int y, int w, int h, HDC image, COLORREF key)
{
    HDC mask = CreateCompatibleDC(target);
    HBITMAP mbm = CreateBitmap(w, h, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(mask, mbm);
    COLORREF oldBk = SetBkColor(image, key);
    BitBlt(mask, 0, 0, w, h, image, 0, 0, SRCCOPY);
    SetBkColor(image, oldBk);
    HDC work = CreateCompatibleDC(target);
    HBITMAP wbm = CreateCompatibleBitmap(target, w, h);
    HGDIOBJ oldWork = SelectObject(work, wbm);
    BitBlt(work, 0, 0, w, h, target, x, y, SRCCOPY);
    BitBlt(work, 0, 0, w, h, image, 0, 0, SRCINVERT);
    BitBlt(work, 0, 0, w, h, mask, 0, 0, SRCAND);
    BitBlt(work, 0, 0, w, h, image, 0, 0, SRCINVERT);
    BitBlt(target, x, y, w, h, work, 0, 0, SRCCOPY);
    SelectObject(work, oldWork);
    SelectObject(mask, oldMask);
    DeleteObject(wbm);
    DeleteObject(mbm);
    DeleteDC(work);
    DeleteDC(mask);
}

class TransparentDrawing : public ::testing::TestWithParam<host::DisplayMode> {
protected:
    void TearDown() override { host::SetDisplayMode(host::DisplayMode::TrueColor); }
};

TEST_P(TransparentDrawing, KeyColourLetsTheTargetShowThrough)
{
    host::SetDisplayMode(GetParam());
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    RECT all{0, 0, 8, 8};
    FillRect(screen, &all, HBRUSH(GetStockObject(GRAY_BRUSH)));
    HDC image = CreateCompatibleDC(screen);
    HBITMAP ibm = CreateCompatibleBitmap(screen, 4, 4);
    SelectObject(image, ibm);
    const COLORREF key = RGB(255, 0, 255), ink = RGB(0, 0, 128);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            SetPixel(image, x, y, (x + y) % 2 ? key : ink);
    TransparentBlt(screen, 2, 2, 4, 4, image, key);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 4; ++x)
            EXPECT_EQ(host::DesktopPixel(2 + x, 2 + y), (x + y) % 2 ? RGB(128, 128, 128) : ink) << x << "," << y;
    EXPECT_EQ(host::DesktopPixel(1, 1), RGB(128, 128, 128));
    DeleteDC(image);
    DeleteObject(ibm);
    host::ReleaseDisplayDC(screen);
}

INSTANTIATE_TEST_SUITE_P(BothDisplays, TransparentDrawing,
                         ::testing::Values(host::DisplayMode::TrueColor, host::DisplayMode::Palette256),
                         [](const auto& info) {
                             return std::string(info.param == host::DisplayMode::TrueColor ? "TrueColor"
                                                                                           : "Palette");
                         });

} // namespace
