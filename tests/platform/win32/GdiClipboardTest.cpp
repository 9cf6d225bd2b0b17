// The clipboard: global blocks and bitmaps handed over, formats listed and synthesised.
#include <windows.h>

#include <host/Clipboard.h>
#include <host/Display.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace {

class Clipboard : public ::testing::Test {
protected:
    void TearDown() override { host::ResetClipboard(); }
};

HGLOBAL TextBlock(const char* s)
{
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, std::strlen(s) + 1);
    std::strcpy(static_cast<char*>(GlobalLock(h)), s);
    GlobalUnlock(h);
    return h;
}

HWND Window(int n)
{
    return reinterpret_cast<HWND>(static_cast<intptr_t>(0x1000 + n));
}

TEST_F(Clipboard, TextBlockIsHandedOverAndFreedWhenEmptied)
{
    EXPECT_EQ(SetClipboardData(CF_TEXT, TextBlock("x")), nullptr) << "not open";
    EXPECT_EQ(GetLastError(), DWORD(ERROR_CLIPBOARD_NOT_OPEN));
    ASSERT_TRUE(OpenClipboard(Window(1)));
    EXPECT_FALSE(OpenClipboard(Window(2))) << "another window has it open";
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GetClipboardOwner(), Window(1));
    HGLOBAL h = TextBlock("Caf\xE9 \x80 5");
    EXPECT_EQ(SetClipboardData(CF_TEXT, h), h);
    ASSERT_TRUE(CloseClipboard());
    EXPECT_FALSE(CloseClipboard());

    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_UNICODETEXT));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_DIB));
    ASSERT_TRUE(OpenClipboard(Window(2)));
    HANDLE got = GetClipboardData(CF_TEXT);
    EXPECT_EQ(got, h);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(got)), "Caf\xE9 \x80 5");
    GlobalUnlock(got);
    auto* w = static_cast<const char16_t*>(GlobalLock(GetClipboardData(CF_UNICODETEXT)));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(std::u16string(w), u"Caf\u00E9 \u20AC 5");
    GlobalUnlock(GetClipboardData(CF_UNICODETEXT));
    EXPECT_EQ(EnumClipboardFormats(0), UINT(CF_TEXT));
    EXPECT_EQ(CountClipboardFormats(), 1);
    // Emptying frees the blocks the clipboard owns.
    ASSERT_TRUE(EmptyClipboard());
    EXPECT_EQ(GlobalFlags(h), UINT(GMEM_INVALID_HANDLE));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    EXPECT_EQ(GetClipboardOwner(), Window(2));
    CloseClipboard();
}

TEST_F(Clipboard, BitmapsPalettesAndRegisteredFormats)
{
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bm = CreateCompatibleBitmap(screen, 3, 2);
    HGDIOBJ old = SelectObject(mem, bm);
    PatBlt(mem, 0, 0, 3, 2, WHITENESS);
    SetPixel(mem, 1, 1, RGB(200, 10, 20));
    SelectObject(mem, old);
    UINT custom = RegisterClipboardFormat("Article Reference");
    EXPECT_GE(custom, 0xC000u);
    EXPECT_EQ(RegisterClipboardFormat("article reference"), custom);
    char name[64];
    EXPECT_EQ(GetClipboardFormatName(custom, name, sizeof name), 17);
    EXPECT_STREQ(name, "Article Reference");

    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bm);
    LOGPALETTE lp{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE pal = CreatePalette(&lp);
    SetClipboardData(CF_PALETTE, pal);
    SetClipboardData(custom, TextBlock("#A1234"));
    UINT f = 0;
    std::vector<UINT> formats;
    while ((f = EnumClipboardFormats(f)) != 0)
        formats.push_back(f);
    EXPECT_EQ(formats, (std::vector<UINT>{CF_BITMAP, CF_PALETTE, custom, CF_DIB}));
    // A packed DIB made from the bitmap.
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    auto* bi = static_cast<const BITMAPINFO*>(GlobalLock(dib));
    EXPECT_EQ(bi->bmiHeader.biWidth, 3);
    EXPECT_EQ(bi->bmiHeader.biHeight, 2);
    EXPECT_EQ(bi->bmiHeader.biBitCount, 24);
    const BYTE* px = reinterpret_cast<const BYTE*>(bi) + sizeof(BITMAPINFOHEADER);
    // Bottom-up: row 0 in memory is the bottom row (y = 1); pixel 1 is blue, green, red.
    EXPECT_EQ(px[3], 20);
    EXPECT_EQ(px[4], 10);
    EXPECT_EQ(px[5], 200);
    GlobalUnlock(dib);
    EXPECT_EQ(GetClipboardData(CF_PALETTE), pal);
    CloseClipboard();
    // Emptying deletes the GDI objects it owns.
    OpenClipboard(nullptr);
    EmptyClipboard();
    CloseClipboard();
    EXPECT_EQ(GetObjectType(bm), 0u);
    EXPECT_EQ(GetObjectType(pal), 0u);
    DeleteDC(mem);
    host::ReleaseDisplayDC(screen);
}

TEST_F(Clipboard, DelayedRenderingAsksTheOwner)
{
    int asked = 0;
    host::SetClipboardRenderHandler([&](HWND owner, UINT format) {
        ++asked;
        EXPECT_EQ(owner, Window(7));
        SetClipboardData(format, TextBlock("rendered late"));
    });
    OpenClipboard(Window(7));
    EmptyClipboard();
    EXPECT_EQ(SetClipboardData(CF_TEXT, nullptr), nullptr);
    CloseClipboard();
    EXPECT_TRUE(IsClipboardFormatAvailable(CF_TEXT));
    OpenClipboard(Window(8));
    HANDLE h = GetClipboardData(CF_TEXT);
    ASSERT_NE(h, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(h)), "rendered late");
    GlobalUnlock(h);
    EXPECT_EQ(asked, 1);
    CloseClipboard();
    host::SetClipboardRenderHandler(nullptr);
}

} // namespace
