// The picture views' palette: BuildPalette's merge and file cases entry by entry (sizes,
// overlong, short and damaged files), the realisation rules (a playing movie, palette changes
// from inside the same top-level window); the globe bitmap and the plain bitmap window.
#include "widgets/DibWin.h"
#include "widgets/GlobeDib.h"
#include "widgets/PaletteMainWin.h"

#include "base/ResourceLibrary.h"

#include "PaletteFileWriter.h"
#include "WidgetTestSupport.h"

#include <vector>

namespace {

class CPictureView : public CPaletteMainWin {
public:
    void OnFilePrint() override {}
};

using Entries = std::vector<PALETTEENTRY>;

PALETTEENTRY Entry(int r, int g, int b, int flags = 0)
{
    return PALETTEENTRY{BYTE(r), BYTE(g), BYTE(b), BYTE(flags)};
}

// A palette of n entries, entry i = (i, 255 - i, tag).
std::unique_ptr<CPalette> MakePalette(int n, int tag)
{
    std::vector<BYTE> block(sizeof(LOGPALETTE) + size_t(n) * sizeof(PALETTEENTRY), 0);
    auto* log = reinterpret_cast<LOGPALETTE*>(block.data());
    log->palVersion = 0x300;
    log->palNumEntries = WORD(n);
    for (int i = 0; i < n; ++i)
        log->palPalEntry[i] = Entry(i, 255 - i, tag);
    auto palette = std::make_unique<CPalette>();
    EXPECT_TRUE(palette->CreatePalette(log));
    return palette;
}

Entries EntriesOf(CPalette* palette)
{
    Entries entries(size_t(palette->GetEntryCount()));
    palette->GetPaletteEntries(0, UINT(entries.size()), entries.data());
    return entries;
}

bool SameColor(const PALETTEENTRY& a, const PALETTEENTRY& b)
{
    return a.peRed == b.peRed && a.peGreen == b.peGreen && a.peBlue == b.peBlue;
}

class PaletteWindowsTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        // The application's entries, black beyond its last one.
        app = EntriesOf(GetAppDisplayPalette());
        ASSERT_LE(app.size(), 256u);
        app.resize(256, Entry(0, 0, 0));
        ASSERT_TRUE(top.CreateEx(0, AfxRegisterWndClass(0), "top", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 300), nullptr, 0));
        ASSERT_TRUE(view.CreateView(nullptr, "view", CRect(0, 0, 200, 200), &top, 8005));
    }
    void TearDown() override
    {
        AppServices().ui.pCurrentMovieWnd = nullptr;
        view.DestroyWindow();
        top.DestroyWindow();
        BitmapTest::TearDown();
    }

    // Checks the whole palette: entries [first, first + expected.size()) are the expected
    // colours, the rest the application's; flags by the layout rule.
    void ExpectLayout(const Entries& expected, int first, const char* what)
    {
        ASSERT_NE(nullptr, view.GetOwnPalette()) << what;
        Entries got = EntriesOf(view.GetOwnPalette());
        ASSERT_EQ(256u, got.size()) << what;
        int wrong = 0;
        for (int i = 0; i < 256; ++i) {
            bool own = i >= first && i < first + int(expected.size());
            const PALETTEENTRY& want = own ? expected[size_t(i - first)] : app[size_t(i)];
            if (!SameColor(want, got[size_t(i)]) && ++wrong <= 5)
                ADD_FAILURE() << what << ": entry " << i << " is (" << int(got[size_t(i)].peRed) << ", "
                              << int(got[size_t(i)].peGreen) << ", " << int(got[size_t(i)].peBlue) << ")";
            BYTE flags = (i < 10 || i > 245) ? 0 : PC_NOCOLLAPSE;
            if (got[size_t(i)].peFlags != flags && ++wrong <= 5)
                ADD_FAILURE() << what << ": flags of entry " << i;
        }
    }

    // The view's own colours (64-245) for a merge: these, then black.
    static Entries OwnColors(const Entries& colors)
    {
        Entries own = colors;
        own.resize(182, Entry(0, 0, 0));
        return own;
    }
    static Entries Range(int from, int count, int tag)
    {
        Entries out;
        for (int i = from; i < from + count; ++i)
            out.push_back(Entry(i, 255 - i, tag));
        return out;
    }
    static Entries Concat(Entries a, const Entries& b)
    {
        a.insert(a.end(), b.begin(), b.end());
        return a;
    }

    std::string WritePaletteFile(const std::string& name, int colors)
    {
        std::vector<discbuilder::PaletteColor> list;
        for (int i = 0; i < colors; ++i)
            list.push_back({BYTE(i), BYTE(100), BYTE(200 - i / 2), BYTE(0)});
        discbuilder::WritePaletteFile(dir.path() / "t" / name, list);
        return "T:\\" + name;
    }
    static Entries FileColors(int colors)
    {
        Entries out;
        for (int i = 0; i < colors; ++i)
            out.push_back(Entry(i, 100, 200 - i / 2));
        return out;
    }

    Entries app;
    CWnd top;
    CPictureView view;
};

}  // namespace

TEST_F(PaletteWindowsTest, MergedPalettesFillTheViewsOwnEntriesInOrder)
{
    auto primary = MakePalette(256, 1);
    auto small = MakePalette(20, 2);
    auto secondary = MakePalette(10, 3);
    auto huge = MakePalette(200, 4);
    auto shortOfSystemPart = MakePalette(60, 5);
    struct Case {
        const char* what;
        CPalette* primary;
        CPalette* secondary;
        BOOL skip;
        Entries own;
    } cases[] = {
        {"a 256-entry primary keeps its first 182", primary.get(), nullptr, FALSE, Range(0, 182, 1)},
        {"skipping the system part: its entries 54-235", primary.get(), nullptr, TRUE, Range(54, 182, 1)},
        {"a short primary, black after it", small.get(), nullptr, FALSE, OwnColors(Range(0, 20, 2))},
        {"the secondary first, then as much of the primary as fits", primary.get(), secondary.get(), FALSE,
         Concat(Range(0, 10, 3), Range(0, 172, 1))},
        {"with both and the system part skipped", primary.get(), secondary.get(), TRUE,
         Concat(Range(0, 10, 3), Range(54, 172, 1))},
        {"a secondary larger than the room keeps 182 and leaves no room", small.get(), huge.get(), FALSE,
         Range(0, 182, 4)},
        {"a primary shorter than its system part brings what it has", shortOfSystemPart.get(), nullptr, TRUE,
         OwnColors(Range(54, 6, 5))},
    };
    for (const Case& c : cases) {
        EXPECT_TRUE(view.BuildPalette(c.primary, c.secondary, nullptr, c.skip)) << c.what;
        ExpectLayout(c.own, 64, c.what);
    }
}

TEST_F(PaletteWindowsTest, PaletteFilesBringAtMost193ColoursFromEntry63)
{
    struct Case {
        const char* what;
        int colors;
    } cases[] = {{"one colour", 1}, {"half", 90}, {"every entry from 63", 193}};
    for (const Case& c : cases) {
        std::string file = WritePaletteFile("pal" + std::to_string(c.colors) + ".pal", c.colors);
        EXPECT_TRUE(view.BuildPalette(nullptr, nullptr, file.c_str(), FALSE)) << c.what;
        ExpectLayout(FileColors(c.colors), 63, c.what);
    }
    EXPECT_TRUE(BoxTexts().empty());

    // A longer file: only the colours that have room are read.
    std::string bytes = discbuilder::PaletteFileBytes({});
    std::string records;
    for (int i = 0; i < 260; ++i)
        records += std::string{char(i), char(100), char(200 - i / 2), char(0)};
    bytes.insert(discbuilder::kPaletteFileHeader, records);
    dir.Write("t/long.pal", bytes);
    EXPECT_TRUE(view.BuildPalette(nullptr, nullptr, "T:\\long.pal", FALSE));
    ExpectLayout(FileColors(193), 63, "an overlong file");
}

TEST_F(PaletteWindowsTest, MissingShortAndDamagedPaletteFilesLeaveThePaletteAsItWas)
{
    std::string good = WritePaletteFile("good.pal", 50);
    ASSERT_TRUE(view.BuildPalette(nullptr, nullptr, good.c_str(), FALSE));
    CPalette* before = view.GetOwnPalette();
    std::string whole = discbuilder::PaletteFileBytes(std::vector<discbuilder::PaletteColor>(50));
    struct Case {
        const char* what;
        std::string bytes;  // empty: no file
        bool message;
    } cases[] = {
        {"missing", "", false},
        {"one byte", "x", true},
        {"only a header", whole.substr(0, 212), true},
        {"header and trailer, no colour", whole.substr(0, 212) + std::string(4, '\0'), true},
        {"a record cut short", whole.substr(0, whole.size() - 2), true},
    };
    for (const Case& c : cases) {
        host::ResetUiScript();
        std::string name = "T:\\bad.pal";
        std::filesystem::remove(dir.path() / "t" / "bad.pal");
        if (!c.bytes.empty())
            dir.Write("t/bad.pal", c.bytes);
        if (c.message)
            host::AnswerMessageBox("The palette file T:\\bad.pal is damaged.", IDOK);
        EXPECT_FALSE(view.BuildPalette(nullptr, nullptr, name.c_str(), FALSE)) << c.what;
        EXPECT_EQ(before, view.GetOwnPalette()) << c.what;
        EXPECT_EQ(c.message ? 1u : 0u, BoxTexts().size()) << c.what;
    }
    ExpectLayout(FileColors(50), 63, "the palette of the good file");
}

TEST_F(PaletteWindowsTest, RealisationStaysOffWhileAMovieHoldsThePaletteAndForChangesFromInside)
{
    auto primary = MakePalette(256, 1);
    ASSERT_TRUE(view.BuildPalette(primary.get(), nullptr, nullptr, FALSE));
    auto invalidated = [&] {
        CRect r;
        return ::GetUpdateRect(top.GetSafeHwnd(), &r, FALSE) != FALSE;
    };
    ui::PumpUntilIdle();

    // Asked to notify, the view redraws its top-level window.
    CClientDC dc(&view);
    view.RealizeOwnPalette(&dc, TRUE, TRUE);
    EXPECT_TRUE(invalidated());
    ui::PumpUntilIdle();

    // A movie window holds the screen palette: nothing happens.
    CWnd movie;
    AppServices().ui.pCurrentMovieWnd = &movie;
    EXPECT_EQ(0u, view.RealizeOwnPalette(&dc, FALSE, TRUE));
    EXPECT_FALSE(invalidated());
    AppServices().ui.pCurrentMovieWnd = nullptr;

    // A palette change made by a window inside the same top-level window is not answered; one
    // made elsewhere is, with a redraw.
    CWnd inside;
    ASSERT_TRUE(inside.CreateEx(0, AfxRegisterWndClass(0), "inside", WS_CHILD | WS_VISIBLE, CRect(210, 0, 300, 50), &top, 1));
    view.SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(inside.GetSafeHwnd()), 0);
    EXPECT_FALSE(invalidated());
    view.SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(top.GetSafeHwnd()), 0);
    EXPECT_FALSE(invalidated());
    CWnd other;
    ASSERT_TRUE(other.CreateEx(0, AfxRegisterWndClass(0), "other", WS_POPUP, CRect(0, 0, 10, 10), nullptr, 0));
    view.SendMessage(WM_PALETTECHANGED, reinterpret_cast<WPARAM>(other.GetSafeHwnd()), 0);
    EXPECT_TRUE(invalidated());
    other.DestroyWindow();
    inside.DestroyWindow();
}

TEST_F(PaletteWindowsTest, TheGlobeBitmapAndTheBitmapWindow)
{
    // Bitmap 100 of the test program: 5 x 3 pixels, 8 bits.
    CGlobeDib globe(100);
    EXPECT_EQ(5, globe.GetWidth());
    EXPECT_EQ(3, globe.GetHeight());
    EXPECT_NE(nullptr, globe.GetBitmap());
    ASSERT_NE(nullptr, globe.GetPalette());
    Entries colors = EntriesOf(globe.GetPalette());
    ASSERT_EQ(256u, colors.size());
    CDib dib(100);
    for (DWORD i = 0; i < dib.GetColorCount(); ++i) {
        const RGBQUAD& q = dib.GetColorTable()[i];
        EXPECT_TRUE(SameColor(Entry(q.rgbRed, q.rgbGreen, q.rgbBlue), colors[i])) << "colour " << i;
    }
    // Not in the program's own resources: a resource exception.
    bool thrown = false;
    try {
        CGlobeDib missing(7556);
    } catch (CResourceException* e) {
        thrown = true;
        e->Delete();
    }
    EXPECT_TRUE(thrown);

    CDibWin window;
    ASSERT_TRUE(window.CreateEx(0, AfxRegisterWndClass(0), "dib", WS_POPUP | WS_BORDER | WS_VISIBLE,
                                CRect(300, 300, 310, 310), nullptr, 0));
    window.GetDib().LoadFromResourceId(100);
    window.SizeToDib();
    CRect client;
    window.GetClientRect(&client);
    EXPECT_EQ(CSize(5, 3), client.Size());
    window.Invalidate();
    ui::PumpUntilIdle();
    CClientDC wdc(&window);
    // The first row of the picture as the bitmap holds it.
    for (int x = 0; x < 5; ++x) {
        const RGBQUAD& q = dib.GetColorTable()[PixelAt(dib, x, 0)];
        EXPECT_EQ(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue), wdc.GetPixel(x, 0)) << "x " << x;
    }
}
