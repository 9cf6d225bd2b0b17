// Regions, clipping, device-context state and the drawing primitives.
#include <windows.h>

#include <host/Display.h>

#include <TempDir.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

struct CombineCase {
    int mode;
    int complexity;
    bool inA, inB, inBoth;
    RECT box;
};

class Combine : public ::testing::TestWithParam<CombineCase> {};

TEST_P(Combine, ModesGiveTheirSets)
{
    const CombineCase c = GetParam();
    HRGN a = CreateRectRgn(0, 0, 20, 20), b = CreateRectRgn(10, 10, 30, 30), d = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(CombineRgn(d, a, b, c.mode), c.complexity);
    EXPECT_EQ(PtInRegion(d, 5, 5) != 0, c.inA);
    EXPECT_EQ(PtInRegion(d, 25, 25) != 0, c.inB);
    EXPECT_EQ(PtInRegion(d, 15, 15) != 0, c.inBoth);
    EXPECT_FALSE(PtInRegion(d, 25, 5));
    RECT box{};
    GetRgnBox(d, &box);
    EXPECT_TRUE(EqualRect(&box, &c.box));
    for (HRGN r : {a, b, d})
        DeleteObject(r);
}

INSTANTIATE_TEST_SUITE_P(
    AllModes, Combine,
    ::testing::Values(CombineCase{RGN_AND, SIMPLEREGION, false, false, true, {10, 10, 20, 20}},
                      CombineCase{RGN_OR, COMPLEXREGION, true, true, true, {0, 0, 30, 30}},
                      CombineCase{RGN_XOR, COMPLEXREGION, true, true, false, {0, 0, 30, 30}},
                      CombineCase{RGN_DIFF, COMPLEXREGION, true, false, false, {0, 0, 20, 20}},
                      CombineCase{RGN_COPY, SIMPLEREGION, true, false, true, {0, 0, 20, 20}}));

TEST(Region, ShapesOffsetsAndTests)
{
    HRGN e = CreateEllipticRgn(0, 0, 21, 11);
    EXPECT_TRUE(PtInRegion(e, 10, 5));
    EXPECT_FALSE(PtInRegion(e, 0, 0));
    EXPECT_FALSE(PtInRegion(e, 20, 10));
    EXPECT_TRUE(PtInRegion(e, 0, 5));
    EXPECT_FALSE(PtInRegion(e, 21, 5));
    RECT box{};
    EXPECT_EQ(GetRgnBox(e, &box), COMPLEXREGION);
    RECT want{0, 0, 21, 11};
    EXPECT_TRUE(EqualRect(&box, &want));
    EXPECT_EQ(OffsetRgn(e, 100, 50), COMPLEXREGION);
    EXPECT_TRUE(PtInRegion(e, 110, 55));
    RECT probe{95, 40, 101, 56};
    EXPECT_TRUE(RectInRegion(e, &probe));
    RECT away{0, 0, 50, 50};
    EXPECT_FALSE(RectInRegion(e, &away));
    HRGN rr = CreateRoundRectRgn(0, 0, 40, 40, 20, 20);
    EXPECT_FALSE(PtInRegion(rr, 0, 0));
    EXPECT_TRUE(PtInRegion(rr, 20, 0));
    EXPECT_TRUE(PtInRegion(rr, 0, 20));
    // A pentagram: its centre is outside under ALTERNATE and inside under WINDING.
    POINT star[5] = {{50, 0}, {79, 90}, {2, 34}, {98, 34}, {21, 90}};
    HRGN alt = CreatePolygonRgn(star, 5, ALTERNATE), wind = CreatePolygonRgn(star, 5, WINDING);
    EXPECT_FALSE(PtInRegion(alt, 50, 50));
    EXPECT_TRUE(PtInRegion(wind, 50, 50));
    EXPECT_TRUE(PtInRegion(alt, 50, 10));
    EXPECT_FALSE(EqualRgn(alt, wind));
    HRGN r1 = CreateRectRgn(0, 0, 5, 5), r2 = CreateRectRgn(5, 5, 0, 0);
    EXPECT_TRUE(EqualRgn(r1, r2));
    // Round trip through rectangles.
    DWORD size = GetRegionData(alt, 0, nullptr);
    std::vector<BYTE> buf(size);
    ASSERT_EQ(GetRegionData(alt, size, reinterpret_cast<RGNDATA*>(buf.data())), size);
    EXPECT_GT(reinterpret_cast<RGNDATA*>(buf.data())->rdh.nCount, 10u);
    HRGN copy = ExtCreateRegion(nullptr, size, reinterpret_cast<RGNDATA*>(buf.data()));
    EXPECT_TRUE(EqualRgn(copy, alt));
    DeleteObject(copy);
    for (HRGN r : {e, rr, alt, wind, r1, r2})
        DeleteObject(r);
}

// A 32-bit memory DC filled white.
struct Canvas {
    HDC dc;
    HBITMAP bm;
    Canvas(int w, int h)
    {
        HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
        dc = CreateCompatibleDC(screen);
        bm = CreateCompatibleBitmap(screen, w, h);
        host::ReleaseDisplayDC(screen);
        SelectObject(dc, bm);
        PatBlt(dc, 0, 0, w, h, WHITENESS);
    }
    ~Canvas()
    {
        DeleteDC(dc);
        DeleteObject(bm);
    }
    bool Black(int x, int y) const { return GetPixel(dc, x, y) == RGB(0, 0, 0); }
};

TEST(Clip, RegionsAndRectanglesLimitDrawing)
{
    Canvas c(40, 40);
    HRGN clip = CreateRectRgn(10, 10, 30, 30);
    EXPECT_EQ(SelectClipRgn(c.dc, clip), SIMPLEREGION);
    EXPECT_EQ(ExcludeClipRect(c.dc, 15, 15, 25, 25), COMPLEXREGION);
    RECT box{};
    EXPECT_EQ(GetClipBox(c.dc, &box), COMPLEXREGION);
    RECT want{10, 10, 30, 30};
    EXPECT_TRUE(EqualRect(&box, &want));
    RECT all{0, 0, 40, 40};
    FillRect(c.dc, &all, HBRUSH(GetStockObject(BLACK_BRUSH)));
    EXPECT_FALSE(c.Black(5, 5));
    EXPECT_TRUE(c.Black(12, 12));
    EXPECT_FALSE(c.Black(20, 20));
    EXPECT_EQ(GetPixel(c.dc, 5, 5), CLR_INVALID) << "outside the clip region";
    EXPECT_EQ(IntersectClipRect(c.dc, 0, 0, 12, 40), SIMPLEREGION);
    EXPECT_FALSE(PtVisible(c.dc, 13, 12));
    EXPECT_TRUE(PtVisible(c.dc, 11, 12));
    // The clip region is in device units: moving the viewport does not move it.
    SelectClipRgn(c.dc, clip);
    SetViewportOrgEx(c.dc, 5, 0, nullptr);
    GetClipBox(c.dc, &box);
    RECT moved{5, 10, 25, 30};
    EXPECT_TRUE(EqualRect(&box, &moved));
    SelectClipRgn(c.dc, nullptr);
    GetClipBox(c.dc, &box);
    RECT whole{-5, 0, 35, 40};
    EXPECT_TRUE(EqualRect(&box, &whole));
    DeleteObject(clip);
}

TEST(Clip, FillAndFrameRegions)
{
    Canvas c(40, 40);
    HRGN r = CreateRectRgn(5, 5, 15, 15);
    EXPECT_TRUE(FrameRgn(c.dc, r, HBRUSH(GetStockObject(BLACK_BRUSH)), 2, 1));
    EXPECT_TRUE(c.Black(5, 10));
    EXPECT_TRUE(c.Black(6, 10));
    EXPECT_FALSE(c.Black(7, 10));
    EXPECT_TRUE(c.Black(10, 5));
    EXPECT_FALSE(c.Black(10, 6));
    SelectObject(c.dc, GetStockObject(GRAY_BRUSH));
    EXPECT_TRUE(PaintRgn(c.dc, r));
    EXPECT_EQ(GetPixel(c.dc, 10, 10), RGB(128, 128, 128));
    EXPECT_TRUE(InvertRgn(c.dc, r));
    EXPECT_EQ(GetPixel(c.dc, 10, 10), RGB(127, 127, 127));
    DeleteObject(r);
}

TEST(Dc, SaveAndRestoreState)
{
    Canvas c(20, 20);
    HPEN red = CreatePen(PS_SOLID, 1, RGB(255, 0, 0));
    int level = SaveDC(c.dc);
    EXPECT_EQ(level, 1);
    SelectObject(c.dc, red);
    SetTextColor(c.dc, RGB(1, 2, 3));
    SetWindowOrgEx(c.dc, 4, 4, nullptr);
    IntersectClipRect(c.dc, 0, 0, 2, 2);
    EXPECT_EQ(SaveDC(c.dc), 2);
    SetBkMode(c.dc, TRANSPARENT);
    // Deleting a selected pen is deferred; it keeps drawing until deselected.
    EXPECT_TRUE(DeleteObject(red));
    EXPECT_EQ(GetObjectType(red), DWORD(OBJ_PEN));
    EXPECT_TRUE(RestoreDC(c.dc, -1));
    EXPECT_EQ(GetBkMode(c.dc), OPAQUE);
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), red);
    EXPECT_TRUE(RestoreDC(c.dc, 1));
    EXPECT_EQ(GetTextColor(c.dc), RGB(0, 0, 0));
    EXPECT_EQ(GetCurrentObject(c.dc, OBJ_PEN), GetStockObject(BLACK_PEN));
    EXPECT_EQ(GetObjectType(red), 0u) << "freed once no state holds it";
    POINT org{};
    GetWindowOrgEx(c.dc, &org);
    EXPECT_EQ(org.x, 0);
    RECT box{};
    GetClipBox(c.dc, &box);
    EXPECT_EQ(box.right, 20);
    EXPECT_FALSE(RestoreDC(c.dc, 1));
}

TEST(Dc, OriginsMoveAndExtentsReadBack)
{
    Canvas c(20, 20);
    POINT old{-1, -1};
    EXPECT_TRUE(SetViewportOrgEx(c.dc, 3, 4, &old));
    EXPECT_EQ(old.x, 0);
    EXPECT_TRUE(OffsetViewportOrgEx(c.dc, 1, 1, &old));
    EXPECT_EQ(old.y, 4);
    POINT org{};
    EXPECT_TRUE(GetViewportOrgEx(c.dc, &org));
    EXPECT_EQ(org.x, 4);
    EXPECT_EQ(org.y, 5);
    EXPECT_FALSE(GetViewportOrgEx(c.dc, nullptr));
    SIZE ext{};
    EXPECT_TRUE(GetWindowExtEx(c.dc, &ext));
    EXPECT_EQ(ext.cx, 1);
    EXPECT_EQ(ext.cy, 1);
    EXPECT_TRUE(GetViewportExtEx(c.dc, &ext));
    EXPECT_EQ(ext.cx, 1);
    EXPECT_FALSE(GetWindowExtEx(c.dc, nullptr));
    HDC bogus = reinterpret_cast<HDC>(static_cast<intptr_t>(0x1234));
    EXPECT_FALSE(GetViewportExtEx(bogus, &ext));
    EXPECT_FALSE(GetWindowOrgEx(bogus, &org));
}

TEST(Dc, ObjectsAndTheirDescriptions)
{
    HDC a = CreateCompatibleDC(nullptr), b = CreateCompatibleDC(nullptr);
    EXPECT_EQ(GetObjectType(a), DWORD(OBJ_MEMDC));
    HBITMAP bm = CreateBitmap(8, 8, 1, 1, nullptr);
    EXPECT_NE(SelectObject(a, bm), nullptr);
    EXPECT_EQ(SelectObject(b, bm), nullptr) << "a bitmap lives in one DC at a time";
    LOGPEN lp{};
    HPEN pen = CreatePen(PS_DASH, 1, RGB(1, 2, 3));
    EXPECT_EQ(GetObject(pen, sizeof lp, &lp), int(sizeof lp));
    EXPECT_EQ(lp.lopnStyle, UINT(PS_DASH));
    EXPECT_EQ(lp.lopnColor, RGB(1, 2, 3));
    LOGBRUSH lb{};
    HBRUSH hatch = CreateHatchBrush(HS_CROSS, RGB(4, 5, 6));
    GetObject(hatch, sizeof lb, &lb);
    EXPECT_EQ(lb.lbStyle, UINT(BS_HATCHED));
    EXPECT_EQ(lb.lbHatch, ULONG_PTR(HS_CROSS));
    EXPECT_EQ(GetObject(GetStockObject(NULL_BRUSH), 0, nullptr), int(sizeof(LOGBRUSH)));
    EXPECT_TRUE(DeleteObject(GetStockObject(WHITE_PEN)));
    EXPECT_EQ(GetObjectType(GetStockObject(WHITE_PEN)), DWORD(OBJ_PEN));
    EXPECT_EQ(GetStockObject(42), nullptr);
    HRGN rgn = CreateRectRgn(0, 0, 2, 2);
    EXPECT_EQ(reinterpret_cast<intptr_t>(SelectObject(a, rgn)), SIMPLEREGION);
    DeleteDC(a);
    DeleteDC(b);
    for (HGDIOBJ o : {HGDIOBJ(bm), HGDIOBJ(pen), HGDIOBJ(hatch), HGDIOBJ(rgn)})
        EXPECT_TRUE(DeleteObject(o));
    EXPECT_FALSE(DeleteObject(bm));
}

TEST(Dc, BadHandlesAreRefused)
{
    HDC bogus = reinterpret_cast<HDC>(static_cast<intptr_t>(0x1234));
    HGDIOBJ junk = reinterpret_cast<HGDIOBJ>(static_cast<intptr_t>(0x5678));
    EXPECT_EQ(SelectObject(bogus, GetStockObject(BLACK_PEN)), nullptr);
    EXPECT_EQ(GetLastError(), DWORD(ERROR_INVALID_HANDLE));
    EXPECT_FALSE(DeleteObject(junk));
    EXPECT_FALSE(DeleteObject(nullptr));
    EXPECT_EQ(GetObject(junk, 0, nullptr), 0);
    EXPECT_EQ(GetObjectType(junk), 0u);
    EXPECT_FALSE(BitBlt(bogus, 0, 0, 1, 1, nullptr, 0, 0, BLACKNESS));
    EXPECT_FALSE(Rectangle(bogus, 0, 0, 1, 1));
    EXPECT_FALSE(TextOut(bogus, 0, 0, "x", 1));
    RECT r{0, 0, 10, 10};
    EXPECT_EQ(DrawText(bogus, "x", 1, &r, 0), 0);
    EXPECT_EQ(GetPixel(bogus, 0, 0), CLR_INVALID);
    EXPECT_EQ(GetDeviceCaps(bogus, BITSPIXEL), 0);
    EXPECT_FALSE(DeleteDC(bogus));
    EXPECT_EQ(CombineRgn(nullptr, nullptr, nullptr, RGN_OR), ERROR);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(SelectObject(dc, junk), nullptr);
    EXPECT_EQ(SetBkMode(dc, 7), 0);
    EXPECT_EQ(SetStretchBltMode(dc, 0), 0);
    EXPECT_FALSE(DeleteObject(dc)) << "a DC is deleted with DeleteDC";
    EXPECT_EQ(CreatePen(PS_INSIDEFRAME + 1, 1, 0), nullptr);
    EXPECT_EQ(CreateHatchBrush(HS_DIAGCROSS + 1, 0), nullptr);
    EXPECT_EQ(CreateDC("NOTADRIVER", "Nothing", nullptr, nullptr), nullptr);
    EXPECT_TRUE(DeleteDC(dc));
}

TEST(Draw, ShapesLinesAndBrushes)
{
    Canvas c(40, 40);
    // A rectangle covers left/top to right-1/bottom-1; the pen frames the brush fill.
    SelectObject(c.dc, GetStockObject(GRAY_BRUSH));
    Rectangle(c.dc, 2, 2, 10, 8);
    EXPECT_TRUE(c.Black(2, 2));
    EXPECT_TRUE(c.Black(9, 7));
    EXPECT_FALSE(c.Black(10, 7));
    EXPECT_EQ(GetPixel(c.dc, 5, 5), RGB(128, 128, 128));
    // LineTo leaves out its last point and moves the current position.
    MoveToEx(c.dc, 0, 20, nullptr);
    LineTo(c.dc, 10, 20);
    EXPECT_TRUE(c.Black(9, 20));
    EXPECT_FALSE(c.Black(10, 20));
    // An ellipse stays inside its box and fills its centre.
    SelectObject(c.dc, GetStockObject(BLACK_BRUSH));
    Ellipse(c.dc, 20, 20, 30, 30);
    EXPECT_TRUE(c.Black(25, 25));
    EXPECT_FALSE(c.Black(20, 20));
    EXPECT_FALSE(c.Black(29, 29));
    EXPECT_TRUE(c.Black(20, 25));
    // A null pen leaves the fill one pixel smaller.
    SelectObject(c.dc, GetStockObject(NULL_PEN));
    Rectangle(c.dc, 30, 0, 35, 5);
    EXPECT_TRUE(c.Black(33, 3));
    EXPECT_FALSE(c.Black(34, 3));
    // Hatched brushes leave the background alone in transparent mode.
    PatBlt(c.dc, 0, 0, 40, 40, WHITENESS);
    HBRUSH hatch = CreateHatchBrush(HS_HORIZONTAL, RGB(0, 0, 0));
    SetBkColor(c.dc, RGB(255, 0, 0));
    RECT r{0, 0, 8, 8};
    SetBkMode(c.dc, TRANSPARENT);
    FillRect(c.dc, &r, hatch);
    int black = 0, white = 0;
    for (int y = 0; y < 8; ++y) {
        black += c.Black(0, y);
        white += GetPixel(c.dc, 0, y) == RGB(255, 255, 255);
    }
    EXPECT_EQ(black, 1);
    EXPECT_EQ(white, 7);
    SetBkMode(c.dc, OPAQUE);
    FillRect(c.dc, &r, hatch);
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(255, 0, 0));
    // Dashed pens leave gaps that show the background colour in opaque mode.
    HPEN dash = CreatePen(PS_DASH, 1, RGB(0, 0, 0));
    SelectObject(c.dc, dash);
    MoveToEx(c.dc, 0, 30, nullptr);
    LineTo(c.dc, 40, 30);
    EXPECT_TRUE(c.Black(0, 30));
    EXPECT_EQ(GetPixel(c.dc, 20, 30), RGB(255, 0, 0));
    // A wide pen paints a band around the line, once even under XOR.
    PatBlt(c.dc, 0, 0, 40, 40, WHITENESS);
    HPEN wide = CreatePen(PS_SOLID, 5, RGB(0, 0, 0));
    SelectObject(c.dc, wide);
    SetROP2(c.dc, R2_XORPEN);
    SelectObject(c.dc, GetStockObject(WHITE_PEN));
    SelectObject(c.dc, wide);
    SetROP2(c.dc, R2_NOTXORPEN);
    MoveToEx(c.dc, 5, 20, nullptr);
    LineTo(c.dc, 35, 24);
    SetROP2(c.dc, R2_COPYPEN);
    for (int dy = -2; dy <= 2; ++dy)
        EXPECT_TRUE(c.Black(20, 22 + dy)) << dy;
    EXPECT_FALSE(c.Black(20, 16));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(wide);
    // Focus rectangles draw by inverting, so drawing twice restores the picture.
    PatBlt(c.dc, 0, 0, 40, 40, WHITENESS);
    RECT f{5, 5, 15, 15};
    DrawFocusRect(c.dc, &f);
    EXPECT_TRUE(c.Black(5, 5));
    EXPECT_FALSE(c.Black(6, 5));
    DrawFocusRect(c.dc, &f);
    EXPECT_FALSE(c.Black(5, 5));
    // A raised edge: light top-left, dark bottom-right.
    RECT e{20, 20, 30, 30};
    DrawEdge(c.dc, &e, EDGE_RAISED, BF_RECT | BF_ADJUST);
    EXPECT_TRUE(c.Black(29, 25));
    EXPECT_EQ(GetPixel(c.dc, 21, 21), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(c.dc, 28, 25), RGB(128, 128, 128));
    RECT in{22, 22, 28, 28};
    EXPECT_TRUE(EqualRect(&e, &in));
    SelectObject(c.dc, GetStockObject(BLACK_PEN));
    DeleteObject(dash);
    DeleteObject(hatch);
}

TEST(Draw, FrameControls)
{
    Canvas c(60, 20);
    auto count = [&](const RECT& r, COLORREF col) {
        int n = 0;
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                n += GetPixel(c.dc, x, y) == col;
        return n;
    };
    // A check box: sunken frame, white inside, a black check mark when checked.
    RECT box{0, 0, 13, 13};
    ASSERT_TRUE(DrawFrameControl(c.dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK));
    RECT inside{2, 2, 11, 11};
    EXPECT_EQ(count(inside, RGB(255, 255, 255)), 81);
    EXPECT_EQ(GetPixel(c.dc, 0, 0), RGB(128, 128, 128));
    DrawFrameControl(c.dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED);
    EXPECT_EQ(count(inside, RGB(0, 0, 0)), 21);
    DrawFrameControl(c.dc, &box, DFC_BUTTON, DFCS_BUTTONCHECK | DFCS_CHECKED | DFCS_INACTIVE);
    EXPECT_EQ(count(inside, RGB(0, 0, 0)), 0);
    EXPECT_EQ(count(inside, RGB(128, 128, 128)), 21);
    // A scroll arrow: a raised face with a black triangle; the left and right ones mirror.
    RECT left{20, 0, 36, 16}, right{40, 0, 56, 16};
    DrawFrameControl(c.dc, &left, DFC_SCROLL, DFCS_SCROLLLEFT);
    DrawFrameControl(c.dc, &right, DFC_SCROLL, DFCS_SCROLLRIGHT);
    int l = count(left, RGB(0, 0, 0)), r = count(right, RGB(0, 0, 0));
    EXPECT_GT(l, 30); // the dark outer frame and the arrow
    EXPECT_EQ(l, r);
    EXPECT_EQ(GetPixel(c.dc, 20, 0), RGB(255, 255, 255));
    EXPECT_EQ(GetPixel(c.dc, 28, 3), RGB(192, 192, 192));
    EXPECT_EQ(GetPixel(c.dc, 35, 15), RGB(0, 0, 0));
    // DFCS_ADJUSTRECT leaves the face inside the frame.
    RECT push{0, 0, 20, 20};
    DrawFrameControl(c.dc, &push, DFC_BUTTON, DFCS_BUTTONPUSH | DFCS_ADJUSTRECT);
    RECT face{2, 2, 18, 18};
    EXPECT_TRUE(EqualRect(&push, &face));
    RECT bad{0, 0, 5, 5};
    EXPECT_FALSE(DrawFrameControl(c.dc, &bad, 99, 0));
}

TEST(Draw, ScrollDCMovesPixelsAndReportsTheUncoveredArea)
{
    Canvas c(20, 20);
    SetPixel(c.dc, 5, 5, RGB(0, 0, 0));
    SetPixel(c.dc, 15, 5, RGB(0, 0, 0));
    RECT scroll{0, 0, 10, 20};
    HRGN update = CreateRectRgn(0, 0, 0, 0);
    RECT upd{};
    ASSERT_TRUE(ScrollDC(c.dc, 0, 3, &scroll, &scroll, update, &upd));
    EXPECT_TRUE(c.Black(5, 8));
    EXPECT_TRUE(c.Black(15, 5)) << "outside the scrolled rectangle";
    RECT want{0, 0, 10, 3};
    EXPECT_TRUE(EqualRect(&upd, &want));
    EXPECT_TRUE(PtInRegion(update, 5, 1));
    EXPECT_FALSE(PtInRegion(update, 5, 5));
    DeleteObject(update);
}

TEST(Display, DesktopDCsUseOriginAndVisibleRegionAndSaveAsPng)
{
    host::SetDisplaySize(200, 100);
    HRGN vis = CreateRectRgn(50, 20, 100, 60);
    HDC dc = host::CreateDisplayDC(POINT{50, 20}, vis);
    DeleteObject(vis);
    RECT all{-100, -100, 300, 300};
    FillRect(dc, &all, HBRUSH(GetStockObject(WHITE_BRUSH)));
    EXPECT_EQ(host::DesktopPixel(49, 20), RGB(0, 0, 0));
    EXPECT_EQ(host::DesktopPixel(50, 20), RGB(255, 255, 255));
    EXPECT_EQ(host::DesktopPixel(99, 59), RGB(255, 255, 255));
    EXPECT_EQ(host::DesktopPixel(100, 59), RGB(0, 0, 0));
    SetPixel(dc, 0, 0, RGB(10, 20, 30));
    EXPECT_EQ(host::DesktopPixel(50, 20), RGB(10, 20, 30));
    RECT box{};
    GetClipBox(dc, &box);
    RECT want{0, 0, 50, 40};
    EXPECT_TRUE(EqualRect(&box, &want));
    POINT org{};
    GetDCOrgEx(dc, &org);
    EXPECT_EQ(org.x, 50);
    host::SetDisplayDCOwner(dc, &org);
    EXPECT_EQ(host::GetDisplayDCOwner(dc), &org);
    TempDir tmp;
    std::string png = (tmp.path() / "shot.png").string();
    ASSERT_TRUE(host::SaveDesktopPng(png));
    std::ifstream in(png, std::ios::binary);
    char sig[8] = {};
    in.read(sig, 8);
    EXPECT_EQ(std::string(sig + 1, 3), "PNG");
    host::ReleaseDisplayDC(dc);
    host::SetDisplaySize(1024, 768);
}

} // namespace
