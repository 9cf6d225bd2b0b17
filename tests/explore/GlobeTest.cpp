// The globe: a synthetic map of latitude and longitude bands in known colours rendered at several
// tilts and turns on 8-, 16-, 24- and 32-bit views and checked pixel by pixel against an
// independent orthographic projection; view points and latitude/longitude both ways; the size
// edges, the failure messages, sanitizer-clean radius-255 renders, and pictures of the globe from
// the program's map.
#include "explore/Globe.h"
#include "widgets/Dib.h"

#include <BundleBytes.h>
#include <TempDir.h>
#include <UiTest.h>
#include <host/Display.h>
#include <host/Drives.h>
#include <host/Surface.h>
#include <host/UiScript.h>

#include <afxwin.h>

#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace globe_test {
namespace {

const double kPi = 3.14159265358979;
const COLORREF kGrey = 0x02C0C0C0;
const UINT kSyntheticMap = 7301;
const UINT kTooWideMap = 7302;  // 70000 columns: more than the tables' 16 bits can name

// The synthetic map: 360 x 180 pixels, one degree each; six bands of 30 degrees of latitude from
// the north pole down, eight of 45 degrees of longitude from -180 eastward; each cell its colour.
const int kMapWidth = 360, kMapHeight = 180;

COLORREF BandColour(int latBand, int lonBand)
{
    return RGB(30 + 40 * latBand, 15 + 30 * lonBand, 220 - 25 * latBand);
}

int LatBand(double lat)
{
    return std::min(5, std::max(0, static_cast<int>(std::floor((90 - lat) / 30))));
}

int LonBand(double lon)
{
    while (lon < -180)
        lon += 360;
    while (lon >= 180)
        lon -= 360;
    return std::min(7, std::max(0, static_cast<int>(std::floor((lon + 180) / 45))));
}

// A bitmap resource (a BMP less its file header): 8 bits, 256 colours, bottom-up rows, each
// pixel's colour index from the function (column, row from the top).
template <typename IndexOf>
std::string Bitmap8(int width, int height, const std::vector<COLORREF>& colours, IndexOf indexOf)
{
    std::string out;
    const int stride = (width + 3) / 4 * 4;
    testbundle::PutDword(out, 40);
    testbundle::PutDword(out, static_cast<std::uint32_t>(width));
    testbundle::PutDword(out, static_cast<std::uint32_t>(height));
    testbundle::PutWord(out, 1);
    testbundle::PutWord(out, 8);
    testbundle::PutDword(out, 0);
    testbundle::PutDword(out, static_cast<std::uint32_t>(stride * height));
    testbundle::PutDword(out, 2835);
    testbundle::PutDword(out, 2835);
    testbundle::PutDword(out, 256);
    testbundle::PutDword(out, 0);
    for (size_t i = 0; i < 256; ++i) {
        const COLORREF c = i < colours.size() ? colours[i] : RGB(0, 0, 0);
        out += static_cast<char>(GetBValue(c));
        out += static_cast<char>(GetGValue(c));
        out += static_cast<char>(GetRValue(c));
        out += '\0';
    }
    for (int row = height - 1; row >= 0; --row) {
        std::string line(static_cast<size_t>(stride), '\0');
        for (int col = 0; col < width; ++col)
            line[static_cast<size_t>(col)] = static_cast<char>(indexOf(col, row));
        out += line;
    }
    return out;
}

// The synthetic map: the bands' 48 colours, black after.
std::string SyntheticMapBitmap()
{
    std::vector<COLORREF> colours;
    for (int i = 0; i < 48; ++i)
        colours.push_back(BandColour(i / 8, i % 8));
    return Bitmap8(kMapWidth, kMapHeight, colours, [](int col, int row) { return (row / 30) * 8 + col / 45; });
}

// Latitude and longitude (degrees) that the orthographic view centred on (tilt, turn) shows at an
// offset (pixels, y down) from the centre of a disc of radius R; false outside the disc.
bool Project(double tilt, double turn, double R, double dx, double dy, double& lat, double& lon)
{
    const double x = dx / R, y = -dy / R;
    const double rho2 = x * x + y * y;
    if (rho2 >= 1)
        return false;
    const double z = std::sqrt(1 - rho2);
    const double p0 = tilt * kPi / 180;
    lat = std::asin(z * std::sin(p0) + y * std::cos(p0)) * 180 / kPi;
    lon = turn + std::atan2(x, z * std::cos(p0) - y * std::sin(p0)) * 180 / kPi;
    return true;
}

double WrapDegrees(double d)
{
    while (d > 180)
        d -= 360;
    while (d <= -180)
        d += 360;
    return d;
}

bool Near(COLORREF a, COLORREF b, int tolerance)
{
    return std::abs(GetRValue(a) - GetRValue(b)) <= tolerance && std::abs(GetGValue(a) - GetGValue(b)) <= tolerance &&
           std::abs(GetBValue(a) - GetBValue(b)) <= tolerance;
}

class GlobeTest : public ui::UiTest {
public:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        host::MapDrive('T', dir.str(), DRIVE_FIXED, "TESTDRIVE");
    }
    void TearDown() override
    {
        if (m_hMaps != NULL)
            ::FreeLibrary(m_hMaps);
        host::ResetDrives();
        host::SetDisplayMode(host::DisplayMode::TrueColor);
        ui::UiTest::TearDown();
    }

    // Loads the synthetic map into the globe from a resource library of its own.
    void LoadSyntheticMap(CGlobe& globe, UINT nResourceId = kSyntheticMap)
    {
        if (m_hMaps == NULL) {
            const std::string tooWide = Bitmap8(70000, 2, {RGB(0, 0, 255)}, [](int, int) { return 0; });
            dir.Write("maps.dll",
                      testbundle::Make({{host::ResourceId::Ordinal(2), host::ResourceId::Ordinal(kSyntheticMap),
                                         SyntheticMapBitmap()},
                                        {host::ResourceId::Ordinal(2), host::ResourceId::Ordinal(kTooWideMap), tooWide}}));
            m_hMaps = ::LoadLibraryEx("T:\\maps.dll", NULL, LOAD_LIBRARY_AS_DATAFILE);
            ASSERT_NE(static_cast<HMODULE>(NULL), m_hMaps);
        }
        AFX_MODULE_STATE maps(m_hMaps, TRUE);
        AFX_MAINTAIN_STATE inMaps(&maps);
        if (nResourceId == kSyntheticMap) {
            ASSERT_TRUE(globe.LoadMap(nResourceId));
        } else {
            EXPECT_FALSE(globe.LoadMap(nResourceId));
        }
    }

    // The colours shown on the screen at the globe's view (drawn at its rectangle on the desktop).
    COLORREF Shown(int x, int y) { return host::DesktopPixel(x, y); }

    void DrawOnScreen(CGlobe& globe)
    {
        CClientDC screen(NULL);
        globe.Draw(&screen);
    }

    TempDir dir;
    HMODULE m_hMaps = NULL;
};

struct Rotation {
    int tilt, turn;
};
const Rotation kRotations[] = {{0, 0}, {0, 90}, {45, -45}, {90, 0}, {-90, 180}};

// Renders the synthetic map at every rotation on a view of the given kind and checks the disc's
// pixels against the projection wherever the projected point lies clear of a band's edge; outside
// the disc the background shows.
void CheckGoldenPixels(GlobeTest* test, CGlobe& globe, const CRect& view, int tolerance, const std::string& label)
{
    const int cx = view.left + (view.Width() - 1) / 2, cy = view.top + (view.Height() - 1) / 2;
    const int R = globe.GetRadius();
    ASSERT_GT(R, 50) << label;
    for (const Rotation& r : kRotations) {
        globe.SetRotation(r.tilt, r.turn);
        globe.Render();
        {
            CClientDC screen(NULL);
            globe.Draw(&screen);
        }
        int checked = 0, wrong = 0;
        std::string firstWrong;
        for (int dy = -R; dy <= R; dy += 3)
            for (int dx = -R; dx <= R; dx += 3) {
                double lat = 0, lon = 0;
                if (!Project(r.tilt, r.turn, R, dx, dy, lat, lon) || dx * dx + dy * dy > (R * 85 / 100) * (R * 85 / 100))
                    continue;
                const double latEdge = std::fabs(std::remainder(lat, 30.0));
                const double lonEdge = std::fabs(std::remainder(WrapDegrees(lon), 45.0)) * std::cos(lat * kPi / 180);
                if (latEdge < 3 || lonEdge < 3)
                    continue;
                ++checked;
                const COLORREF want = BandColour(LatBand(lat), LonBand(lon));
                const COLORREF got = test->Shown(cx + dx, cy + dy) & 0xFFFFFF;
                if (!Near(got, want, tolerance)) {
                    if (++wrong == 1)
                        firstWrong = "at (" + std::to_string(dx) + ", " + std::to_string(dy) + ") lat " + std::to_string(lat) +
                                     " lon " + std::to_string(lon);
                }
            }
        EXPECT_GT(checked, 1000) << label << " tilt " << r.tilt << " turn " << r.turn;
        EXPECT_EQ(0, wrong) << label << " tilt " << r.tilt << " turn " << r.turn << ": first " << firstWrong;
        // The corners are outside the disc: background.
        for (const CPoint& corner : {view.TopLeft(), CPoint(view.right - 1, view.bottom - 1),
                                     CPoint(view.right - 1, view.top), CPoint(view.left, view.bottom - 1)})
            EXPECT_EQ(RGB(192, 192, 192), test->Shown(corner.x, corner.y) & 0xFFFFFF) << label;
    }
}

TEST_F(GlobeTest, GoldenPixelsOnTheScreensOwnDepths)
{
    struct Mode {
        host::DisplayMode mode;
        int bits;
    } modes[] = {{host::DisplayMode::TrueColor, 32}, {host::DisplayMode::Palette256, 8}};
    for (const Mode& m : modes) {
        host::SetDisplayMode(m.mode);
        CGlobe globe;
        LoadSyntheticMap(globe);
        CClientDC screen(NULL);
        const CRect view(20, 30, 20 + 241, 30 + 231);
        ASSERT_TRUE(globe.CreateViewBitmap(&screen, view, kGrey));
        EXPECT_EQ(m.bits, globe.GetViewBitsPerPixel());
        EXPECT_EQ(115, globe.GetRadius());
        CheckGoldenPixels(this, globe, view, 0, std::to_string(m.bits) + " bits");
    }
}

// A view made on a memory DC of another depth than the map's: the map is converted to the view's
// format once, and the disc shows the same colours (within 16-bit's rounding).
TEST_F(GlobeTest, GoldenPixelsOnViewsOfOtherDepths)
{
    for (int bits : {16, 24}) {
        CGlobe globe;
        LoadSyntheticMap(globe);
        CBitmap holder;
        ASSERT_TRUE(holder.CreateBitmap(8, 8, 1, static_cast<UINT>(bits), NULL));
        CDC memory;
        ASSERT_TRUE(memory.CreateCompatibleDC(NULL));
        CBitmap* pOld = memory.SelectObject(&holder);
        const CRect view(10, 10, 10 + 221, 10 + 221);
        ASSERT_TRUE(globe.CreateViewBitmap(&memory, view, kGrey));
        memory.SelectObject(pOld);
        EXPECT_EQ(bits, globe.GetViewBitsPerPixel());
        CheckGoldenPixels(this, globe, view, bits == 16 ? 8 : 0, std::to_string(bits) + " bits");
    }
}

// A memory DC still holding its monochrome bitmap gives a view of the screen's depth.
TEST_F(GlobeTest, AMonochromeMemoryDCGetsAViewOfTheScreensDepth)
{
    CGlobe globe;
    LoadSyntheticMap(globe);
    CDC memory;
    ASSERT_TRUE(memory.CreateCompatibleDC(NULL));
    ASSERT_TRUE(globe.CreateViewBitmap(&memory, CRect(0, 0, 101, 101), kGrey));
    EXPECT_EQ(32, globe.GetViewBitsPerPixel());
    globe.SetRotation(0, 0);
    globe.Render();
    DrawOnScreen(globe);
    // Left of the centre and a little north: latitude band 2 (30..0), longitude band 3 (-45..0).
    EXPECT_EQ(BandColour(2, 3), Shown(50 - 20, 50 - 10) & 0xFFFFFF);
}

// Latitude/longitude -> point -> latitude/longitude within a degree over the near side (clear of
// the limb, where a pixel spans many degrees); points on the far side are not visible.
TEST_F(GlobeTest, PointsAndDegreesRoundTrip)
{
    CGlobe globe;
    LoadSyntheticMap(globe);
    CClientDC screen(NULL);
    ASSERT_TRUE(globe.CreateViewBitmap(&screen, CRect(0, 0, 511, 511), kGrey));
    ASSERT_EQ(255, globe.GetRadius());
    for (const Rotation& r : kRotations) {
        globe.SetRotation(r.tilt, r.turn);
        int near = 0, far = 0;
        for (int lat = -80; lat <= 80; lat += 10)
            for (int lon = -180; lon < 180; lon += 10) {
                const double p0 = r.tilt * kPi / 180, l0 = r.turn * kPi / 180;
                const double la = lat * kPi / 180, lo = lon * kPi / 180;
                const double cosDistance = std::sin(p0) * std::sin(la) + std::cos(p0) * std::cos(la) * std::cos(lo - l0);
                CPoint pt(-1000, -1000);
                const BOOL visible = globe.LatLongToPoint(lat, lon, pt);
                if (cosDistance > std::cos(60 * kPi / 180)) {
                    ++near;
                    ASSERT_TRUE(visible) << lat << ", " << lon;
                    EXPECT_NEAR(lat, globe.PointToLatitude(pt.x, pt.y), 1.0) << r.tilt << "/" << r.turn << " at " << lat << ", " << lon;
                    if (std::abs(lat) < 75) {
                        EXPECT_NEAR(0.0, WrapDegrees(lon - globe.PointToLongitude(pt.x, pt.y)), 1.0)
                            << r.tilt << "/" << r.turn << " at " << lat << ", " << lon;
                    }
                } else if (cosDistance < -0.05) {
                    ++far;
                    EXPECT_FALSE(visible) << lat << ", " << lon;
                }
            }
        EXPECT_GT(near, 20);
        EXPECT_GT(far, 100);
    }
    // The view centre is the rotation's latitude and longitude; a point beyond the disc is taken
    // at its edge (the east limb of the (0, 0) view is longitude 90).
    globe.SetRotation(30, 10);
    EXPECT_NEAR(30.0, globe.PointToLatitude(0, 0), 0.01);
    EXPECT_NEAR(10.0, globe.PointToLongitude(0, 0), 0.01);
    globe.SetRotation(0, 0);
    EXPECT_NEAR(globe.PointToLongitude(254, 0), globe.PointToLongitude(5000, 0), 1e-9);
    EXPECT_GT(globe.PointToLongitude(5000, 0), 80.0);
    EXPECT_GT(globe.PointToLatitude(0, -5000), 80.0);
}

TEST_F(GlobeTest, ViewSizesAtTheEdges)
{
    CGlobe globe;
    LoadSyntheticMap(globe);
    CClientDC screen(NULL);
    globe.SetRotation(20, 30);

    // Smaller than 5 pixels: nothing but background; 5 pixels: a disc of radius 2.
    ASSERT_TRUE(globe.CreateViewBitmap(&screen, CRect(100, 100, 104, 104), kGrey));
    EXPECT_EQ(0, globe.GetRadius());
    globe.Render();
    DrawOnScreen(globe);
    for (int y = 100; y < 104; ++y)
        for (int x = 100; x < 104; ++x)
            EXPECT_EQ(RGB(192, 192, 192), Shown(x, y) & 0xFFFFFF) << x << ", " << y;
    CPoint pt;
    EXPECT_FALSE(globe.LatLongToPoint(20, 30, pt));
    EXPECT_EQ(0.0, globe.PointToLongitude(0, 0));
    ASSERT_TRUE(globe.CreateViewBitmap(&screen, CRect(100, 100, 105, 105), kGrey));
    EXPECT_EQ(2, globe.GetRadius());
    globe.Render();
    DrawOnScreen(globe);
    EXPECT_NE(RGB(192, 192, 192), Shown(102, 102) & 0xFFFFFF);

    // 600 x 600: a disc of radius 255 about (299, 299), background beyond it.
    const CRect big(0, 0, 600, 600);
    ASSERT_TRUE(globe.CreateViewBitmap(&screen, big, kGrey));
    EXPECT_EQ(255, globe.GetRadius());
    globe.Render();
    DrawOnScreen(globe);
    for (const CPoint& d : {CPoint(250, 0), CPoint(-250, 0), CPoint(0, 250), CPoint(0, -250), CPoint(170, 170)})
        EXPECT_NE(RGB(192, 192, 192), Shown(299 + d.x, 299 + d.y) & 0xFFFFFF) << d.x << ", " << d.y;
    for (const CPoint& d : {CPoint(256, 0), CPoint(-256, 0), CPoint(0, 256), CPoint(0, -256), CPoint(182, 182),
                            CPoint(300, 300), CPoint(-299, -299)})
        EXPECT_EQ(RGB(192, 192, 192), Shown(299 + d.x, 299 + d.y) & 0xFFFFFF) << d.x << ", " << d.y;
    ASSERT_TRUE(globe.LatLongToPoint(20, 30, pt));
    EXPECT_EQ(CPoint(0, 0), pt) << "the view's centre";

    // An empty rectangle: no view, no message, nothing drawn.
    EXPECT_FALSE(globe.CreateViewBitmap(&screen, CRect(0, 0, 0, 40), kGrey));
    EXPECT_FALSE(globe.HasView());
    globe.Render();
    DrawOnScreen(globe);
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

// Radius-255 renders over a grid of rotations (the tables' whole reach) at both display depths;
// the sanitizers and the debug build's checked look-ups watch every index.
TEST_F(GlobeTest, Radius255RendersOverAGridOfRotationsStayInTheTables)
{
    for (host::DisplayMode mode : {host::DisplayMode::TrueColor, host::DisplayMode::Palette256}) {
        host::SetDisplayMode(mode);
        CGlobe globe;
        LoadSyntheticMap(globe);
        CClientDC screen(NULL);
        ASSERT_TRUE(globe.CreateViewBitmap(&screen, CRect(0, 0, 700, 640), kGrey));
        ASSERT_EQ(255, globe.GetRadius());
        for (int tilt = -90; tilt <= 90; tilt += 30)
            for (int turn = -180; turn <= 180; turn += 45) {
                globe.SetRotation(tilt, turn);
                globe.Render();
            }
        for (const Rotation& r : {Rotation{1, 1}, Rotation{-1, -179}, Rotation{89, 359}, Rotation{-89, -361}, Rotation{180, 0}})
        {
            globe.SetRotation(r.tilt, r.turn);
            globe.Render();
        }
        DrawOnScreen(globe);
        EXPECT_NE(RGB(192, 192, 192), Shown(349, 319) & 0xFFFFFF);
    }
}

TEST_F(GlobeTest, FailuresShowTheirMessagesAndLeaveNothingToDraw)
{
    CGlobe globe;
    CClientDC screen(NULL);
    screen.FillSolidRect(0, 0, 200, 200, RGB(10, 20, 30));

    // A missing bitmap: its message; render and draw do nothing.
    host::AnswerMessageBox("CGlobe::LoadMap", IDOK);
    EXPECT_FALSE(globe.LoadMap(9999));
    ASSERT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ("CGlobe::LoadMap, CGlbeDIB(aResourceID) failed, aResourceID = 9999.\n", host::MessageBoxLog()[0].text);
    EXPECT_FALSE(globe.HasMap());
    ASSERT_TRUE(globe.CreateViewBitmap(&screen, CRect(0, 0, 101, 101), kGrey));
    globe.Render();
    globe.Draw(&screen);
    EXPECT_EQ(RGB(10, 20, 30), Shown(50, 50) & 0xFFFFFF);
    EXPECT_EQ(RGB(10, 20, 30), Shown(0, 0) & 0xFFFFFF);

    // A map loaded after a failure draws again; a second failing load drops it.
    LoadSyntheticMap(globe);
    globe.Render();
    globe.Draw(&screen);
    EXPECT_NE(RGB(10, 20, 30), Shown(50, 50) & 0xFFFFFF);
    host::AnswerMessageBox("CGlobe::LoadMap", IDOK);
    EXPECT_FALSE(globe.LoadMap(9998));
    EXPECT_FALSE(globe.HasMap());
    EXPECT_EQ(nullptr, globe.GetMapPalette());
    // A map wider than the tables can name: the bitmap reader already refuses it.
    host::AnswerMessageBox("CGlobe::LoadMap", IDOK);
    LoadSyntheticMap(globe, kTooWideMap);
    EXPECT_EQ("CGlobe::LoadMap, CGlbeDIB(aResourceID) failed, aResourceID = 7302.\n", host::MessageBoxLog().back().text);
    EXPECT_FALSE(globe.HasMap());

    // A view the device cannot make.
    host::AnswerMessageBox("CGlobe::CreateViewBitmap", IDOK);
    EXPECT_FALSE(globe.CreateViewBitmap(&screen, CRect(0, 0, 100000, 100000), kGrey));
    EXPECT_EQ("CGlobe::CreateViewBitmap, mViewBitmap.CreateCompatibleBitmap() failed.", host::MessageBoxLog().back().text);
    EXPECT_FALSE(globe.HasView());

    // The palette comes from the globe's owner.
    host::AnswerMessageBox("CGlobe::GetPalette", IDOK);
    EXPECT_EQ(nullptr, globe.GetPalette());
    EXPECT_EQ("CGlobe::GetPalette, pMediaPal is NULL.", host::MessageBoxLog().back().text);
    CPalette owners;
    LOGPALETTE one{0x300, 1, {{1, 2, 3, 0}}};
    ASSERT_TRUE(owners.CreatePalette(&one));
    globe.SetPalette(&owners);
    const size_t boxes = host::MessageBoxLog().size();
    EXPECT_EQ(&owners, globe.GetPalette());
    EXPECT_EQ(boxes, host::MessageBoxLog().size());
}

TEST(GlobeObjectTest, MadeByItsRuntimeClass)
{
    std::unique_ptr<CObject> object(RUNTIME_CLASS(CGlobe)->CreateObject());
    ASSERT_NE(nullptr, object);
    EXPECT_TRUE(object->IsKindOf(RUNTIME_CLASS(CGlobe)));
    auto* globe = static_cast<CGlobe*>(object.get());
    EXPECT_FALSE(globe->HasMap());
    EXPECT_FALSE(globe->HasView());
}

// The globe from the program's map at (30, 10) and (-20, 140): the view's centre shows the map's
// pixel at that latitude and longitude; the pictures are kept for looking at.
TEST_F(GlobeTest, TheProgramsMapAtTwoRotations)
{
    CGlobe globe;
    ASSERT_TRUE(globe.LoadMap(240));
    HMODULE module = AfxGetInstanceHandle();
    CDib map(module, ::FindResource(module, MAKEINTRESOURCE(240), RT_BITMAP));
    ASSERT_EQ(720, map.GetWidth());
    CClientDC screen(NULL);
    const CRect view(0, 0, 401, 401);
    ASSERT_TRUE(globe.CreateViewBitmap(&screen, view, kGrey));
    struct Shot {
        int tilt, turn;
        const char* name;
    } shots[] = {{30, 10, "globe-30-10.png"}, {-20, 140, "globe-m20-140.png"}};
    for (const Shot& s : shots) {
        globe.SetRotation(s.tilt, s.turn);
        globe.Render();
        DrawOnScreen(globe);
        const COLORREF centre = Shown(200, 200) & 0xFFFFFF;
        // The map pixels around that latitude and longitude (two per degree).
        bool found = false;
        const int col = (s.turn + 180) * 2, row = (90 - s.tilt) * 2;
        for (int r = row - 2; r <= row + 2 && !found; ++r)
            for (int c = col - 2; c <= col + 2 && !found; ++c) {
                const BYTE index = map.GetBits()[static_cast<size_t>(map.GetHeight() - 1 - r) * ((720 + 3) / 4 * 4) + static_cast<size_t>(c)];
                const RGBQUAD q = map.GetColorTable()[index];
                found = RGB(q.rgbRed, q.rgbGreen, q.rgbBlue) == centre;
            }
        EXPECT_TRUE(found) << s.name;
        EXPECT_EQ(RGB(192, 192, 192), Shown(2, 2) & 0xFFFFFF);
        const std::string png = (dir.path() / s.name).string();
        auto surface = host::SurfaceOfBitmap(static_cast<HBITMAP>(globe.GetViewBitmap()->GetSafeHandle()));
        ASSERT_NE(nullptr, surface);
        EXPECT_TRUE(surface->WritePng(png));
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / s.name,
                                       std::filesystem::copy_options::overwrite_existing);
    }
}

}  // namespace
}  // namespace globe_test
