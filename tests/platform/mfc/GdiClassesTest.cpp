// The class library's drawing classes: ownership of handles, temporary wrappers, CDC wrappers,
// point-size fonts.
#include <afxwin.h>

#include <host/Display.h>
#include <host/Printer.h>

#include <gtest/gtest.h>

namespace {

// A memory DC over a 32-bit bitmap, as CDC objects.
struct MemDC {
    CDC dc;
    CBitmap bm;
    HGDIOBJ old = nullptr; // a handle: temporary wrappers do not outlive DeleteTempMap
    MemDC(int w, int h)
    {
        CDC screen;
        screen.Attach(host::CreateDisplayDC(POINT{0, 0}, nullptr));
        EXPECT_TRUE(dc.CreateCompatibleDC(&screen));
        EXPECT_TRUE(bm.CreateCompatibleBitmap(&screen, w, h));
        host::ReleaseDisplayDC(screen.Detach());
        old = dc.SelectObject(&bm)->GetSafeHandle();
        dc.PatBlt(0, 0, w, h, WHITENESS);
    }
    ~MemDC() { ::SelectObject(dc.m_hDC, old); }
};

TEST(GdiClasses, ObjectsOwnTheirHandles)
{
    HPEN h;
    {
        CPen pen(PS_SOLID, 2, RGB(1, 2, 3));
        h = pen;
        EXPECT_EQ(GetObjectType(h), DWORD(OBJ_PEN));
        LOGPEN lp{};
        EXPECT_EQ(pen.GetLogPen(&lp), int(sizeof lp));
        EXPECT_EQ(lp.lopnWidth.x, 2);
        EXPECT_TRUE(pen.IsKindOf(RUNTIME_CLASS(CGdiObject)));
    }
    EXPECT_EQ(GetObjectType(h), 0u) << "the destructor deletes the pen";
    HBRUSH kept;
    {
        CBrush brush(HS_CROSS, RGB(0, 0, 255));
        kept = HBRUSH(brush.Detach());
        EXPECT_EQ(brush.m_hObject, nullptr);
    }
    EXPECT_EQ(GetObjectType(kept), DWORD(OBJ_BRUSH)) << "a detached handle survives";
    // FromHandle finds the object that owns a handle, and wraps others in temporary objects.
    CBrush owner;
    owner.Attach(kept);
    EXPECT_EQ(CBrush::FromHandle(kept), &owner);
    CGdiObject* stock = CGdiObject::FromHandle(GetStockObject(BLACK_PEN));
    EXPECT_EQ(stock->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(CGdiObject::FromHandle(GetStockObject(BLACK_PEN)), stock);
    CGdiObject::DeleteTempMap();
    EXPECT_EQ(GetObjectType(GetStockObject(BLACK_PEN)), DWORD(OBJ_PEN));
}

TEST(GdiClasses, PointFontsFollowTheDeviceResolution)
{
    CFont screenFont;
    ASSERT_TRUE(screenFont.CreatePointFont(120, "Arial"));
    LOGFONT lf{};
    screenFont.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -16);
    EXPECT_STREQ(lf.lfFaceName, "Arial");
    host::PrinterSettings p;
    p.dpi = 300;
    host::SetPrinter(p);
    CDC printer;
    ASSERT_TRUE(printer.CreateDC(nullptr, "Default Printer", nullptr, nullptr));
    printer.m_bPrinting = TRUE;
    EXPECT_TRUE(printer.IsPrinting());
    CFont printFont;
    ASSERT_TRUE(printFont.CreatePointFont(100, "Times New Roman", &printer));
    printFont.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -42);
    LOGFONT bold{};
    bold.lfHeight = 90;
    bold.lfWeight = FW_BOLD;
    lstrcpy(bold.lfFaceName, "Arial");
    CFont f;
    ASSERT_TRUE(f.CreatePointFontIndirect(&bold, &printer));
    f.GetLogFont(&lf);
    EXPECT_EQ(lf.lfHeight, -38);
    EXPECT_EQ(lf.lfWeight, FW_BOLD);
    // The font measures as the face it names.
    CFont* old = printer.SelectObject(&f);
    CString face;
    printer.GetTextFace(face);
    EXPECT_EQ(face, CString("Arial"));
    TEXTMETRIC tm{};
    printer.GetTextMetrics(&tm);
    EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, 38);
    printer.SelectObject(old);
    host::SetPrinter(host::PrinterSettings{});
}

TEST(GdiClasses, DeviceContextWrappers)
{
    MemDC m(40, 40);
    CDC& dc = m.dc;
    EXPECT_EQ(dc.m_hAttribDC, dc.m_hDC);
    EXPECT_FALSE(dc.IsPrinting());
    CPen pen(PS_SOLID, 1, RGB(255, 0, 0));
    CPen* oldPen = dc.SelectObject(&pen);
    EXPECT_EQ(oldPen->m_hObject, GetStockObject(BLACK_PEN));
    EXPECT_EQ(dc.GetCurrentPen(), &pen);
    dc.MoveTo(0, 0);
    dc.LineTo(10, 0);
    EXPECT_EQ(dc.GetPixel(5, 0), RGB(255, 0, 0));
    EXPECT_EQ(dc.GetCurrentPosition(), CPoint(10, 0));
    dc.SelectObject(oldPen);
    // FillSolidRect paints through the background colour; Draw3dRect frames with two colours.
    dc.FillSolidRect(CRect(0, 10, 10, 20), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetPixel(9, 19), RGB(0, 0, 255));
    EXPECT_EQ(dc.GetBkColor(), RGB(0, 0, 255));
    dc.Draw3dRect(CRect(20, 20, 30, 30), RGB(255, 255, 255), RGB(128, 128, 128));
    dc.FillSolidRect(CRect(20, 20, 30, 30), RGB(0, 0, 0));
    dc.Draw3dRect(CRect(20, 20, 30, 30), RGB(255, 255, 255), RGB(128, 128, 128));
    EXPECT_EQ(dc.GetPixel(20, 20), RGB(255, 255, 255));
    EXPECT_EQ(dc.GetPixel(29, 25), RGB(128, 128, 128));
    EXPECT_EQ(dc.GetPixel(25, 29), RGB(128, 128, 128));
    EXPECT_EQ(dc.GetPixel(25, 25), RGB(0, 0, 0));
    // Save and restore; origins return their old values.
    int saved = dc.SaveDC();
    EXPECT_EQ(dc.SetViewportOrg(5, 5), CPoint(0, 0));
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(5, 5));
    CRgn rgn;
    rgn.CreateRectRgn(0, 0, 3, 3);
    EXPECT_EQ(dc.SelectClipRgn(&rgn), SIMPLEREGION);
    CRect box;
    dc.GetClipBox(&box);
    EXPECT_EQ(box, CRect(-5, -5, -2, -2));
    EXPECT_TRUE(dc.RestoreDC(saved));
    EXPECT_EQ(dc.GetViewportOrg(), CPoint(0, 0));
    // Text measured through CString.
    CFont font;
    font.CreatePointFont(100, "Courier New");
    CFont* oldFont = dc.SelectObject(&font);
    CSize one = dc.GetTextExtent(CString("m"));
    EXPECT_EQ(dc.GetTextExtent("mmm", 3).cx, 3 * one.cx);
    CRect r(0, 0, 1000, 0);
    EXPECT_EQ(dc.DrawText(CString("a\nb"), &r, DT_CALCRECT), 2 * one.cy);
    dc.SelectObject(oldFont);
    // Message handlers get their CDC through the window classes' hook.
    EXPECT_EQ(AfxDCFromHandle(dc.m_hDC), &dc);
    // A temporary CDC for a handle, and Attach/Detach ownership.
    CDC* temp = CDC::FromHandle(dc.m_hDC);
    EXPECT_EQ(temp, &dc);
    HDC raw = CreateCompatibleDC(nullptr);
    CDC* wrap = CDC::FromHandle(raw);
    EXPECT_NE(wrap, &dc);
    EXPECT_EQ(wrap->GetSafeHdc(), raw);
    CDC::DeleteTempMap();
    EXPECT_EQ(GetObjectType(raw), DWORD(OBJ_MEMDC)) << "temporary wrappers leave the handle alone";
    {
        CDC owner;
        owner.Attach(raw);
    }
    EXPECT_EQ(GetObjectType(raw), 0u);
    CGdiObject::DeleteTempMap();
}

TEST(GdiClasses, RegionsPalettesAndBitmaps)
{
    CRgn a, b, c;
    a.CreateRectRgn(0, 0, 10, 10);
    b.CreateEllipticRgn(5, 5, 15, 15);
    c.CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(c.CombineRgn(&a, &b, RGN_OR), COMPLEXREGION);
    EXPECT_TRUE(c.PtInRegion(CPoint(12, 10)));
    CRgn d;
    d.CreateRectRgn(0, 0, 0, 0);
    d.CopyRgn(&c);
    EXPECT_TRUE(d.EqualRgn(&c));
    d.OffsetRgn(CPoint(1, 0));
    EXPECT_FALSE(d.EqualRgn(&c));
    CRect box;
    EXPECT_EQ(d.GetRgnBox(&box), COMPLEXREGION);
    EXPECT_EQ(box, CRect(1, 0, 16, 15));

    LOGPALETTE lp{0x300, 1, {{10, 20, 30, PC_RESERVED}}};
    CPalette pal;
    ASSERT_TRUE(pal.CreatePalette(&lp));
    EXPECT_EQ(pal.GetEntryCount(), 1);
    ASSERT_TRUE(pal.ResizePalette(3));
    EXPECT_EQ(pal.GetEntryCount(), 3);
    PALETTEENTRY e{40, 50, 60, 0};
    pal.AnimatePalette(0, 1, &e);
    PALETTEENTRY got{};
    pal.GetPaletteEntries(0, 1, &got);
    EXPECT_EQ(got.peRed, 40);
    EXPECT_EQ(pal.GetNearestPaletteIndex(RGB(41, 50, 60)), 0u);

    CBitmap bm;
    ASSERT_TRUE(bm.CreateBitmap(16, 2, 1, 1, nullptr));
    BITMAP info{};
    bm.GetBitmap(&info);
    EXPECT_EQ(info.bmWidthBytes, 2);
    BYTE bits[4] = {0xFF, 0x00, 0x0F, 0xF0};
    EXPECT_EQ(bm.SetBitmapBits(4, bits), 4u);
    BYTE back[4] = {};
    EXPECT_EQ(bm.GetBitmapBits(4, back), 4u);
    EXPECT_EQ(back[3], 0xF0);
    bm.SetBitmapDimension(3, 4);
    EXPECT_EQ(bm.GetBitmapDimension(), CSize(3, 4));
    CBrush pattern(&bm);
    LOGBRUSH lb{};
    pattern.GetLogBrush(&lb);
    EXPECT_EQ(lb.lbStyle, UINT(BS_PATTERN));
}

} // namespace
