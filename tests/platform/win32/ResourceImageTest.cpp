// Resources as GDI and window-system objects: bitmaps, icons and cursors, menus, accelerators.
#include <windows.h>

#if __has_include(<wingdi.h>) && __has_include(<winuser.h>)

#include <TempDir.h>

#include <host/Paths.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

namespace {

class ResourceImages : public ::testing::Test {
protected:
    void SetUp() override
    {
        library = LoadLibrary("vltestlib.dll");
        ASSERT_NE(library, nullptr);
        dc = CreateCompatibleDC(nullptr);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
        info.bmiHeader.biWidth = 64;
        info.bmiHeader.biHeight = 64;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        void* bits = nullptr;
        canvas = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        old = SelectObject(dc, canvas);
    }
    void TearDown() override
    {
        SelectObject(dc, old);
        DeleteObject(canvas);
        DeleteDC(dc);
        FreeLibrary(library);
    }
    void Fill(COLORREF colour)
    {
        HBRUSH brush = CreateSolidBrush(colour);
        RECT all{0, 0, 64, 64};
        FillRect(dc, &all, brush);
        DeleteObject(brush);
    }

    HMODULE library = nullptr;
    HDC dc = nullptr;
    HBITMAP canvas = nullptr;
    HGDIOBJ old = nullptr;
};

}  // namespace

TEST_F(ResourceImages, BitmapKeepsItsPixels)
{
    HBITMAP bitmap = LoadBitmap(library, MAKEINTRESOURCE(100));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObject(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    EXPECT_EQ(GetPixel(source, 0, 0), RGB(0x30, 0x20, 0x10));
    EXPECT_EQ(GetPixel(source, 2, 1), RGB(0x30, 0x20, 0x10));
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);

    // Stretched on load, and missing ones.
    auto big = static_cast<HBITMAP>(LoadImage(library, MAKEINTRESOURCE(100), IMAGE_BITMAP, 30, 20, LR_CREATEDIBSECTION));
    ASSERT_NE(big, nullptr);
    ASSERT_TRUE(GetObject(big, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 30);
    EXPECT_EQ(info.bmHeight, 20);
    DeleteObject(big);
    EXPECT_EQ(LoadBitmap(library, MAKEINTRESOURCE(999)), nullptr);
}

TEST_F(ResourceImages, BitmapFromAFile)
{
    TempDir dir;
    std::string bmp = "BM" + std::string(12, '\0');
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = 1;
    header.biHeight = 1;
    header.biPlanes = 1;
    header.biBitCount = 24;
    bmp.append(reinterpret_cast<const char*>(&header), sizeof header);
    bmp.append("\x40\x50\x60\x00", 4);
    dir.Write("one.bmp", bmp);
    auto path = host::FromHostPath(dir.str() + "/one.bmp");
    ASSERT_TRUE(path);
    auto bitmap = static_cast<HBITMAP>(LoadImage(nullptr, path->c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(bitmap, nullptr);
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ previous = SelectObject(source, bitmap);
    EXPECT_EQ(GetPixel(source, 0, 0), RGB(0x60, 0x50, 0x40));
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(bitmap);
}

TEST_F(ResourceImages, CursorFromAFile)
{
    // A .cur file with one 16 x 16 image, hot spot (3, 4), all blue.
    auto put16 = [](std::string& s, int v) { s += static_cast<char>(v & 0xFF); s += static_cast<char>((v >> 8) & 0xFF); };
    auto put32 = [&](std::string& s, int v) { put16(s, v & 0xFFFF); put16(s, (v >> 16) & 0xFFFF); };
    std::string image;
    put32(image, 40);
    put32(image, 16);
    put32(image, 32);
    put16(image, 1);
    put16(image, 32);
    for (int i = 0; i < 6; ++i)
        put32(image, 0);
    for (int i = 0; i < 16 * 16; ++i)
        image += std::string("\xff\x00\x00\xff", 4);
    image += std::string(4 * 16, '\0');
    std::string file;
    put16(file, 0);
    put16(file, 2);
    put16(file, 1);
    file += static_cast<char>(16);
    file += static_cast<char>(16);
    file += std::string(2, '\0');
    put16(file, 3);
    put16(file, 4);
    put32(file, static_cast<int>(image.size()));
    put32(file, 22);
    file += image;
    TempDir dir;
    dir.Write("blue.cur", file);
    auto path = host::FromHostPath(dir.str() + "/blue.cur");
    ASSERT_TRUE(path);
    auto cursor = static_cast<HCURSOR>(LoadImage(nullptr, path->c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE));
    ASSERT_NE(cursor, nullptr);
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 3u);
    EXPECT_EQ(info.yHotspot, 4u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    Fill(RGB(255, 255, 255));
    ASSERT_TRUE(DrawIconEx(dc, 0, 0, cursor, 0, 0, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
    EXPECT_TRUE(DestroyCursor(cursor));
    EXPECT_EQ(LoadImage(nullptr, path->c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE), nullptr);  // not an icon file
}

TEST_F(ResourceImages, IconImageAtAnyAddress)
{
    // A 4 x 4 icon image of 32 bits a pixel, red, with its mask all clear: the header, the colour
    // rows and the mask rows.
    std::vector<BYTE> image(40 + 4 * 4 * 4 + 4 * 4, 0);
    auto put = [&](std::size_t at, DWORD value, int bytes) {
        for (int i = 0; i < bytes; ++i)
            image[at + static_cast<std::size_t>(i)] = static_cast<BYTE>(value >> (8 * i));
    };
    put(0, 40, 4);
    put(4, 4, 4);
    put(8, 8, 4);  // both images
    put(12, 1, 2);
    put(14, 32, 2);
    for (std::size_t p = 40; p < 40 + 64; p += 4)
        put(p, 0xFF0000, 4);
    // The same bytes at every offset of an aligned block: the loader reads the header by copying.
    for (std::size_t shift = 0; shift < 8; ++shift) {
        SCOPED_TRACE(shift);
        std::vector<std::uint64_t> block(image.size() / 8 + 2);
        BYTE* at = reinterpret_cast<BYTE*>(block.data()) + shift;
        std::memcpy(at, image.data(), image.size());
        HICON icon = CreateIconFromResourceEx(at, static_cast<DWORD>(image.size()), TRUE, 0x00030000, 0, 0, 0);
        ASSERT_NE(icon, nullptr);
        Fill(RGB(0, 0, 255));
        ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 4, 4, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(GetPixel(dc, 1, 1), RGB(255, 0, 0));
        EXPECT_EQ(GetPixel(dc, 5, 5), RGB(0, 0, 255));
        DestroyIcon(icon);
    }
}

TEST_F(ResourceImages, IconsAtEachSizeAndDrawnThroughTheirMask)
{
    for (int size : {16, 32}) {
        auto icon = static_cast<HICON>(LoadImage(library, MAKEINTRESOURCE(110), IMAGE_ICON, size, size, 0));
        ASSERT_NE(icon, nullptr) << size;
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP mask{};
        GetObject(info.hbmMask, sizeof mask, &mask);
        EXPECT_EQ(mask.bmWidth, size);
        DeleteObject(info.hbmMask);
        DeleteObject(info.hbmColor);
        // The 16-pixel image is (1, 2, 3), the 32-pixel one (4, 5, 6): each size has its own.
        Fill(RGB(255, 255, 255));
        ASSERT_TRUE(DrawIconEx(dc, 0, 0, icon, 0, 0, 0, nullptr, DI_NORMAL));
        EXPECT_EQ(GetPixel(dc, 1, 1), size == 16 ? RGB(3, 2, 1) : RGB(6, 5, 4));
        EXPECT_TRUE(DestroyIcon(icon));
    }

    // Half transparent: the background shows through the left half only.
    auto half = static_cast<HICON>(LoadImage(library, MAKEINTRESOURCE(111), IMAGE_ICON, 16, 16, 0));
    ASSERT_NE(half, nullptr);
    Fill(RGB(255, 0, 0));
    ASSERT_TRUE(DrawIconEx(dc, 10, 10, half, 32, 32, 0, nullptr, DI_NORMAL));
    EXPECT_EQ(GetPixel(dc, 12, 20), RGB(255, 0, 0));
    EXPECT_EQ(GetPixel(dc, 40, 20), RGB(0, 200, 0));
    EXPECT_EQ(GetPixel(dc, 50, 20), RGB(255, 0, 0));  // outside the icon
    EXPECT_TRUE(DestroyIcon(half));
    EXPECT_FALSE(DestroyIcon(half));
}

TEST_F(ResourceImages, SharedIconsAndCursorsFromTheModule)
{
    HICON first = LoadIcon(library, MAKEINTRESOURCE(110));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(LoadIcon(library, MAKEINTRESOURCE(110)), first);
    EXPECT_TRUE(DestroyIcon(first));  // shared: still there
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(first, &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);

    HCURSOR cursor = LoadCursor(library, MAKEINTRESOURCE(120));
    ASSERT_NE(cursor, nullptr);
    ASSERT_TRUE(GetIconInfo(cursor, &info));
    EXPECT_FALSE(info.fIcon);
    EXPECT_EQ(info.xHotspot, 5u);
    EXPECT_EQ(info.yHotspot, 7u);
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
    EXPECT_EQ(LoadIcon(library, MAKEINTRESOURCE(999)), nullptr);
}

#endif
