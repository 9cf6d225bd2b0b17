// Fonts and text: the mapped faces and their metrics, glyph output, alignment, measuring, tabs
// and DrawText's formatting.
#include <windows.h>

#include <host/Display.h>

#include <gtest/gtest.h>

#include <string>

namespace {

// A white 32-bit bitmap in a memory DC, with helpers to find the ink.
struct Canvas {
    HDC dc;
    HBITMAP bm, old;
    int w, h;
    Canvas(int width = 300, int height = 120) : w(width), h(height)
    {
        HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
        dc = CreateCompatibleDC(screen);
        bm = CreateCompatibleBitmap(screen, w, h);
        host::ReleaseDisplayDC(screen);
        old = HBITMAP(SelectObject(dc, bm));
        Clear();
    }
    ~Canvas()
    {
        SelectObject(dc, old);
        DeleteObject(bm);
        DeleteDC(dc);
    }
    void Clear() { PatBlt(dc, 0, 0, w, h, WHITENESS); }
    // Bounding box of pixels that are not white; empty when there are none.
    RECT Ink() const
    {
        RECT r{w, h, 0, 0};
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                if (GetPixel(dc, x, y) != RGB(255, 255, 255)) {
                    r.left = std::min<LONG>(r.left, x);
                    r.top = std::min<LONG>(r.top, y);
                    r.right = std::max<LONG>(r.right, x + 1);
                    r.bottom = std::max<LONG>(r.bottom, y + 1);
                }
        if (r.right == 0)
            r = RECT{0, 0, 0, 0};
        return r;
    }
};

HFONT Font(const char* face, int height, int weight = FW_NORMAL, BYTE charset = ANSI_CHARSET, BOOL italic = FALSE,
           BOOL underline = FALSE)
{
    return CreateFont(height, 0, 0, 0, weight, italic, underline, FALSE, charset, OUT_DEFAULT_PRECIS,
                      CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, face);
}

// A font selected into a canvas for one test, with its metrics; deselected and deleted when the
// test ends.
struct SelectedFont {
    SelectedFont(Canvas& cv, HFONT font) : dc(cv.dc), f(font)
    {
        SelectObject(dc, f);
        measured = GetTextMetrics(dc, &tm) != FALSE;
    }
    ~SelectedFont()
    {
        SelectObject(dc, GetStockObject(SYSTEM_FONT));
        DeleteObject(f);
    }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
    HDC dc;
    HFONT f;
    TEXTMETRIC tm{};
    bool measured = false;
};

SIZE Extent(HDC dc, const std::string& s)
{
    SIZE sz{};
    GetTextExtentPoint32(dc, s.data(), int(s.size()), &sz);
    return sz;
}

struct MetricCase {
    const char* face;
    int height;
    int weight;
    // Pinned values: the metrics must not drift between runs or machines with the same fonts.
    LONG tmHeight, tmAscent, tmDescent, tmAveCharWidth, helloWidth;
};

class FontMetrics : public ::testing::TestWithParam<MetricCase> {};

TEST_P(FontMetrics, AreStable)
{
    const MetricCase c = GetParam();
    Canvas cv;
    SelectedFont font(cv, Font(c.face, c.height, c.weight));
    ASSERT_TRUE(font.measured);
    const TEXTMETRIC& tm = font.tm;
    EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
    if (c.height < 0)
        EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -c.height);
    else
        EXPECT_NEAR(tm.tmHeight, c.height, 1);
    EXPECT_EQ(tm.tmHeight, c.tmHeight);
    EXPECT_EQ(tm.tmAscent, c.tmAscent);
    EXPECT_EQ(tm.tmDescent, c.tmDescent);
    EXPECT_EQ(tm.tmAveCharWidth, c.tmAveCharWidth);
    EXPECT_EQ(Extent(cv.dc, "Hello, world").cx, c.helloWidth);
    EXPECT_EQ(Extent(cv.dc, "Hello, world").cy, tm.tmHeight);
}

INSTANTIATE_TEST_SUITE_P(MappedFaces, FontMetrics,
                         ::testing::Values(MetricCase{"Arial", -16, FW_NORMAL, 17, 14, 3, 7, 80},
                                           MetricCase{"Arial", 16, FW_NORMAL, 16, 13, 3, 6, 72},
                                           MetricCase{"Arial", -16, FW_BOLD, 17, 14, 3, 8, 89},
                                           MetricCase{"Times New Roman", -13, FW_NORMAL, 15, 12, 3, 5, 64},
                                           MetricCase{"Courier New", -13, FW_NORMAL, 15, 11, 4, 8, 96},
                                           MetricCase{"MS Sans Serif", 13, FW_NORMAL, 14, 11, 3, 5, 65}));

TEST(Fonts, FaceNamesMapToTheirFreeCounterparts)
{
    Canvas cv;
    char face[LF_FACESIZE];
    // "Arial Bold" selects the bold face; it is wider than the regular one.
    HFONT regular = Font("Arial", -20), bold = Font("Arial Bold", -20), boldW = Font("Arial", -20, FW_BOLD);
    SelectObject(cv.dc, regular);
    LONG wr = Extent(cv.dc, "Encyclopedia").cx;
    SelectObject(cv.dc, bold);
    LONG wb = Extent(cv.dc, "Encyclopedia").cx;
    GetTextFace(cv.dc, sizeof face, face);
    EXPECT_STREQ(face, "Arial");
    SelectObject(cv.dc, boldW);
    EXPECT_EQ(Extent(cv.dc, "Encyclopedia").cx, wb);
    EXPECT_GT(wb, wr);
    // Courier New is fixed pitch.
    HFONT mono = Font("Courier New", -14);
    SelectObject(cv.dc, mono);
    EXPECT_EQ(Extent(cv.dc, "iiii").cx, Extent(cv.dc, "MMMM").cx);
    TEXTMETRIC tm{};
    GetTextMetrics(cv.dc, &tm);
    EXPECT_EQ(tm.tmPitchAndFamily & TMPF_FIXED_PITCH, 0);
    EXPECT_EQ(tm.tmPitchAndFamily & 0xF0, FF_MODERN);
    // A face that does not exist falls back to the sans face.
    HFONT unknown = Font("No Such Face At All", -20);
    SelectObject(cv.dc, unknown);
    EXPECT_EQ(Extent(cv.dc, "Encyclopedia").cx, wr);
    GetTextFace(cv.dc, sizeof face, face);
    EXPECT_STREQ(face, "Arial");
    // Symbol shows Greek letters for Latin code points.
    HFONT sym = Font("Symbol", -20, FW_NORMAL, SYMBOL_CHARSET);
    SelectObject(cv.dc, sym);
    GetTextMetrics(cv.dc, &tm);
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
    GetTextFace(cv.dc, sizeof face, face);
    EXPECT_STREQ(face, "Symbol");
    cv.Clear();
    TextOut(cv.dc, 0, 0, "p", 1); // pi
    RECT pi = cv.Ink();
    SelectObject(cv.dc, regular);
    cv.Clear();
    TextOut(cv.dc, 0, 0, "p", 1);
    RECT latin = cv.Ink();
    EXPECT_FALSE(EqualRect(&pi, &latin)); // a descender on Latin p, none on pi
    SelectObject(cv.dc, GetStockObject(SYSTEM_FONT));
    for (HFONT f : {regular, bold, boldW, mono, unknown, sym})
        DeleteObject(f);
}

TEST(Text, GlyphsAreDrawnWithoutAntialiasing)
{
    Canvas cv;
    SelectedFont font(cv, Font("Times New Roman", -24, FW_NORMAL, ANSI_CHARSET, TRUE));
    SetTextColor(cv.dc, RGB(0, 0, 0));
    SetBkMode(cv.dc, TRANSPARENT);
    TextOut(cv.dc, 2, 2, "Quality \xE9t\xE9 \x80", 13); // Windows-1252: é and the euro sign
    int ink = 0;
    for (int y = 0; y < cv.h; ++y)
        for (int x = 0; x < cv.w; ++x) {
            COLORREF c = GetPixel(cv.dc, x, y);
            ASSERT_TRUE(c == RGB(0, 0, 0) || c == RGB(255, 255, 255)) << x << "," << y;
            ink += c == 0;
        }
    EXPECT_GT(ink, 100);
}

TEST(Text, AlignmentAndCurrentPosition)
{
    Canvas cv;
    SelectedFont font(cv, Font("Arial", -20));
    const TEXTMETRIC& tm = font.tm;
    SetBkMode(cv.dc, OPAQUE);
    SetBkColor(cv.dc, RGB(0, 0, 255));
    // An opaque TextOut fills the whole cell: its box is the extent.
    TextOut(cv.dc, 10, 10, "Ab", 2);
    SIZE ab = Extent(cv.dc, "Ab");
    RECT r = cv.Ink();
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, 10 + ab.cx);
    EXPECT_EQ(r.bottom, 10 + tm.tmHeight);
    // TA_BASELINE puts the reference point on the baseline; TA_RIGHT on the right edge.
    cv.Clear();
    SetTextAlign(cv.dc, TA_BASELINE | TA_RIGHT);
    TextOut(cv.dc, 100, 50, "Ab", 2);
    r = cv.Ink();
    EXPECT_EQ(r.top, 50 - tm.tmAscent);
    EXPECT_EQ(r.right, 100);
    cv.Clear();
    SetTextAlign(cv.dc, TA_BOTTOM | TA_LEFT);
    TextOut(cv.dc, 0, 50, "Ab", 2);
    EXPECT_EQ(cv.Ink().bottom, 50);
    // TA_UPDATECP draws at the current position and moves it past the text.
    SetTextAlign(cv.dc, TA_UPDATECP);
    MoveToEx(cv.dc, 5, 60, nullptr);
    TextOut(cv.dc, 0, 0, "Ab", 2);
    TextOut(cv.dc, 0, 0, "Ab", 2);
    POINT p{};
    GetCurrentPositionEx(cv.dc, &p);
    EXPECT_EQ(p.x, 5 + 2 * ab.cx);
    EXPECT_EQ(p.y, 60);
    // Extra character spacing widens every character.
    SetTextCharacterExtra(cv.dc, 3);
    EXPECT_EQ(Extent(cv.dc, "Ab").cx, ab.cx + 6);
}

TEST(Text, ExtTextOutOpaqueAndClipped)
{
    Canvas cv;
    SelectedFont font(cv, Font("Arial", -30));
    SetBkColor(cv.dc, RGB(255, 0, 0));
    SetBkMode(cv.dc, TRANSPARENT);
    RECT box{20, 20, 60, 40};
    ExtTextOut(cv.dc, 20, 20, ETO_OPAQUE | ETO_CLIPPED, &box, "WWWWWW", 6, nullptr);
    RECT ink = cv.Ink();
    EXPECT_TRUE(EqualRect(&ink, &box));
    EXPECT_EQ(GetPixel(cv.dc, 59, 39), RGB(255, 0, 0));
}

TEST(Text, MeasuringFitsAndTabs)
{
    Canvas cv;
    SelectedFont font(cv, Font("Courier New", -12));
    LONG cw = Extent(cv.dc, "x").cx;
    int fit = 0, dx[5] = {};
    SIZE sz{};
    ASSERT_TRUE(GetTextExtentExPoint(cv.dc, "abcde", 5, int(cw * 3 + cw / 2), &fit, dx, &sz));
    EXPECT_EQ(fit, 3);
    EXPECT_EQ(dx[4], 5 * cw);
    EXPECT_EQ(sz.cx, 5 * cw);
    int widths[3] = {};
    ASSERT_TRUE(GetCharWidth(cv.dc, 'a', 'c', widths));
    EXPECT_EQ(widths[1], cw);
    // A character's ABC widths add up to its advance.
    ABC abc[3] = {};
    ASSERT_TRUE(GetCharABCWidths(cv.dc, 'a', 'c', abc));
    for (const ABC& one : abc) {
        EXPECT_EQ(one.abcA + int(one.abcB) + one.abcC, cw);
        EXPECT_GT(one.abcB, 0u);
    }
    // Bad ranges and missing buffers are refused.
    EXPECT_FALSE(GetCharWidth(cv.dc, 'c', 'a', widths));
    EXPECT_FALSE(GetCharWidth(cv.dc, 0xFF, 0x100, widths));
    EXPECT_FALSE(GetCharWidth(cv.dc, 'a', 'c', nullptr));
    EXPECT_FALSE(GetCharABCWidths(cv.dc, 'c', 'a', abc));
    EXPECT_FALSE(GetCharABCWidths(cv.dc, 0xFF, 0x100, abc));
    EXPECT_FALSE(GetCharABCWidths(cv.dc, 'a', 'c', nullptr));
    // Tabs: explicit stops, then a repeated distance.
    INT stops[2] = {50, 120};
    DWORD e = GetTabbedTextExtent(cv.dc, "a\tb\tc", 5, 2, stops);
    EXPECT_EQ(LOWORD(e), 120 + cw);
    INT every = 40;
    e = GetTabbedTextExtent(cv.dc, "a\tb", 3, 1, &every);
    EXPECT_EQ(LOWORD(e), 40 + cw);
    LONG drawn = TabbedTextOut(cv.dc, 10, 0, "a\tb", 3, 1, &every, 10);
    EXPECT_EQ(LOWORD(drawn), 40 + cw);
}

// ---- DrawText -----------------------------------------------------------------------------------

struct DrawCase {
    const char* name;
    const char* text;
    UINT format;
    // Width of the rectangle, given as the extent of a string plus extra pixels.
    const char* widthOf;
    int extra;
    int lines;             // expected lines
    const char* widest;    // expected widest line (its extent is the calculated width)
};

class DrawTextCalc : public ::testing::TestWithParam<DrawCase> {};

TEST_P(DrawTextCalc, LinesAndWidth)
{
    const DrawCase c = GetParam();
    Canvas cv;
    SelectedFont font(cv, Font("Arial", -14));
    const TEXTMETRIC& tm = font.tm;
    LONG w = Extent(cv.dc, c.widthOf).cx + c.extra;
    RECT r{10, 5, 10 + w, 500};
    int h = DrawText(cv.dc, c.text, -1, &r, c.format | DT_CALCRECT);
    LONG lineH = tm.tmHeight + ((c.format & DT_EXTERNALLEADING) ? tm.tmExternalLeading : 0);
    EXPECT_EQ(h, c.lines * lineH);
    EXPECT_EQ(r.bottom, 5 + h);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.right, 10 + Extent(cv.dc, c.widest).cx);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DrawTextCalc,
    ::testing::Values(
        DrawCase{"WrapsBetweenWords", "one two three", DT_WORDBREAK, "one two", 2, 2, "one two"},
        DrawCase{"WrapsEveryWord", "one two three", DT_WORDBREAK, "three", 0, 3, "three"},
        DrawCase{"LongWordStaysWhole", "encyclopedia a", DT_WORDBREAK, "ency", 0, 2, "encyclopedia"},
        DrawCase{"FitsOnOneLine", "one two three", DT_WORDBREAK, "one two three", 0, 1, "one two three"},
        DrawCase{"LineBreaks", "alpha\nbe\r\ngamma ray", 0, "a", 0, 3, "gamma ray"},
        DrawCase{"LineBreaksAndWrap", "alpha beta\ngamma", DT_WORDBREAK, "alpha", 0, 3, "gamma"},
        DrawCase{"SingleLineIgnoresWrap", "one two three", DT_SINGLELINE | DT_WORDBREAK, "one", 0, 1,
                 "one two three"},
        DrawCase{"PrefixHidden", "&File", DT_SINGLELINE, "x", 0, 1, "File"},
        DrawCase{"DoubleAmpersand", "Save && Exit", DT_SINGLELINE, "x", 0, 1, "Save & Exit"},
        DrawCase{"NoPrefix", "&File", DT_SINGLELINE | DT_NOPREFIX, "x", 0, 1, "&File"},
        DrawCase{"EndEllipsis", "Encyclopedia of everything", DT_SINGLELINE | DT_END_ELLIPSIS, "Encyclo...", 1, 1,
                 "Encyclo..."},
        DrawCase{"EllipsisNotNeeded", "Short", DT_SINGLELINE | DT_END_ELLIPSIS, "Short", 5, 1, "Short"},
        DrawCase{"ExternalLeading", "a\nb", DT_EXTERNALLEADING, "a", 0, 2, "a"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DrawText, AlignmentClippingAndPrefixUnderline)
{
    Canvas cv;
    SelectedFont font(cv, Font("Arial", -14));
    const TEXTMETRIC& tm = font.tm;
    SetBkMode(cv.dc, OPAQUE);
    SetBkColor(cv.dc, RGB(0, 128, 0));
    LONG w = Extent(cv.dc, "Hi").cx;
    RECT box{0, 0, 200, 60};
    // Opaque text fills its cells, so the ink box is the text's cell box.
    DrawText(cv.dc, "Hi", -1, &box, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    RECT ink = cv.Ink();
    EXPECT_EQ(ink.right, 200);
    EXPECT_EQ(ink.left, 200 - w);
    EXPECT_EQ(ink.bottom, 60);
    cv.Clear();
    int h = DrawText(cv.dc, "Hi", -1, &box, DT_SINGLELINE | DT_CENTER | DT_VCENTER);
    ink = cv.Ink();
    EXPECT_EQ(ink.left, (200 - w) / 2);
    EXPECT_EQ(ink.top, (60 - tm.tmHeight) / 2);
    EXPECT_EQ(h, ink.bottom);
    // Clipped to the rectangle unless DT_NOCLIP.
    cv.Clear();
    RECT tiny{10, 10, 14, 14};
    DrawText(cv.dc, "Wide text", -1, &tiny, DT_SINGLELINE);
    ink = cv.Ink();
    EXPECT_TRUE(EqualRect(&ink, &tiny));
    cv.Clear();
    DrawText(cv.dc, "Wide text", -1, &tiny, DT_SINGLELINE | DT_NOCLIP);
    EXPECT_GT(cv.Ink().right, 14);
    // The prefixed character is underlined: compare with the same text without the prefix.
    SetBkMode(cv.dc, TRANSPARENT);
    cv.Clear();
    DrawText(cv.dc, "File", -1, &box, DT_SINGLELINE);
    RECT plain = cv.Ink();
    cv.Clear();
    DrawText(cv.dc, "&File", -1, &box, DT_SINGLELINE);
    RECT under = cv.Ink();
    EXPECT_GT(under.bottom, plain.bottom);
    EXPECT_LE(under.left, plain.left);
}

TEST(DrawText, EmptyTextMeasuresOneLine)
{
    Canvas cv;
    SelectedFont font(cv, Font("Arial", -14));
    const TEXTMETRIC& tm = font.tm;
    RECT r{10, 10, 100, 100};
    EXPECT_EQ(DrawText(cv.dc, "", -1, &r, DT_CALCRECT), tm.tmHeight);
    EXPECT_EQ(r.right, 10);
    EXPECT_EQ(r.bottom, 10);
    r = RECT{10, 10, 100, 100};
    EXPECT_EQ(DrawText(cv.dc, "", 0, &r, DT_CALCRECT | DT_SINGLELINE), tm.tmHeight);
    EXPECT_EQ(r.bottom, 10 + tm.tmHeight);
    r = RECT{10, 10, 100, 100};
    DrawText(cv.dc, "", -1, &r, 0);
    RECT none{0, 0, 0, 0};
    RECT ink = cv.Ink();
    EXPECT_TRUE(EqualRect(&ink, &none));
}

TEST(DrawText, TabsExpandWhenAsked)
{
    Canvas cv;
    SelectedFont font(cv, Font("Arial", -14));
    const TEXTMETRIC& tm = font.tm;
    RECT r{0, 0, 400, 100};
    DrawText(cv.dc, "a\tb", -1, &r, DT_SINGLELINE | DT_EXPANDTABS | DT_CALCRECT);
    EXPECT_GE(r.right, 8 * tm.tmAveCharWidth + Extent(cv.dc, "b").cx);
}

} // namespace

namespace {

// The ink of one character of a face, as a string of rows of '#' and '.'.
std::string Glyph(const char* face, char ch)
{
    Canvas cv(60, 60);
    HFONT font = Font(face, -28, FW_NORMAL, SYMBOL_CHARSET);
    HGDIOBJ old = SelectObject(cv.dc, font);
    SetBkMode(cv.dc, TRANSPARENT);
    TextOut(cv.dc, 10, 10, &ch, 1);
    std::string rows;
    for (int y = 0; y < cv.h; ++y) {
        for (int x = 0; x < cv.w; ++x)
            rows += GetPixel(cv.dc, x, y) == RGB(255, 255, 255) ? '.' : '#';
        rows += '\n';
    }
    SelectObject(cv.dc, old);
    DeleteObject(font);
    return rows;
}

}  // namespace

TEST(Text, MathematicsFaceShowsItsSymbolsFromItsOwnCodeTable)
{
    // VeltraMath keeps ASCII and puts operators, relations, arrows and Greek letters in the high
    // half; the same characters the symbol face shows at its own code points.
    struct Case {
        char math;
        char symbol;
        const char* what;
    } cases[] = {
        {'\xAA', '\xBB', "almost equal"}, {'\xB0', '\xB4', "times"},   {'\xBD', '\xAE', "arrow right"},
        {'\x8B', '\xF2', "integral"},     {'\x88', '\xE5', "sum"},     {'\xE0', 'a', "alpha"},
        {'\xFF', 'W', "capital omega"},   {'\xA7', '\xA3', "less or equal"},
    };
    const std::string box = Glyph("Symbol", '\x7F');  // a code point with no character: the box
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::string math = Glyph("VeltraMath", c.math);
        EXPECT_EQ(math, Glyph("Symbol", c.symbol));
        EXPECT_NE(math, box);
        EXPECT_NE(math.find('#'), std::string::npos);
    }
    EXPECT_EQ(Glyph("VeltraMath", 'x'), Glyph("DejaVu Sans", 'x'));

    Canvas cv;
    HFONT font = Font("VeltraMath", -20, FW_NORMAL, SYMBOL_CHARSET);
    HGDIOBJ old = SelectObject(cv.dc, font);
    char face[LF_FACESIZE] = {};
    GetTextFace(cv.dc, sizeof face, face);
    EXPECT_STREQ(face, "VeltraMath");
    TEXTMETRIC tm{};
    GetTextMetrics(cv.dc, &tm);
    EXPECT_EQ(tm.tmCharSet, SYMBOL_CHARSET);
    // The combining marks (hat, vector arrow ...) take no room of their own.
    SIZE mark{}, letter{};
    GetTextExtentPoint32(cv.dc, "\x80", 1, &mark);
    GetTextExtentPoint32(cv.dc, "v", 1, &letter);
    EXPECT_EQ(mark.cx, 0);
    EXPECT_GT(letter.cx, 0);
    SelectObject(cv.dc, old);
    DeleteObject(font);
}
