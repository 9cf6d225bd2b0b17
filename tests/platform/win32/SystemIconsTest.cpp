// The stock icons of LoadIcon(NULL, IDI_...): real 32x32 images, shared, drawn with DrawIcon, and
// shown by the interactive message box.
#include <windows.h>

#include <host/Display.h>
#include <host/UiScript.h>

#include <UiTest.h>

#include <string>

namespace {

class SystemIconsTest : public ui::UiTest {};

const COLORREF kRed = RGB(255, 0, 0);
const COLORREF kYellow = RGB(255, 255, 0);
const COLORREF kBlue = RGB(0, 0, 255);
const COLORREF kNavy = RGB(0, 0, 128);
const COLORREF kWhite = RGB(255, 255, 255);
const COLORREF kBlack = RGB(0, 0, 0);

// A point of each icon and the colour it has there.
struct Sample {
    LPCSTR id;
    POINT at;
    COLORREF colour;
};
const Sample kSamples[] = {
    {IDI_HAND, {6, 16}, kRed},          // the disc beside the cross
    {IDI_HAND, {15, 15}, kWhite},       // the cross
    {IDI_EXCLAMATION, {9, 26}, kYellow},
    {IDI_EXCLAMATION, {16, 15}, kBlack},  // the "!"
    {IDI_ASTERISK, {6, 12}, kWhite},    // the bubble
    {IDI_ASTERISK, {16, 15}, kBlue},    // the "i"
    {IDI_QUESTION, {4, 12}, kWhite},
    {IDI_APPLICATION, {16, 7}, kNavy},  // the title bar
    {IDI_APPLICATION, {16, 20}, kWhite},
};

// Draws the icon on a grey memory bitmap and returns the colour at a point of it.
COLORREF DrawnPixel(HICON icon, POINT p, bool* backgroundKept = nullptr)
{
    HDC screen = GetDC(nullptr);
    HDC mem = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 40, 40);
    ReleaseDC(nullptr, screen);
    HGDIOBJ old = SelectObject(mem, bitmap);
    HBRUSH grey = CreateSolidBrush(RGB(128, 128, 128));
    RECT all{0, 0, 40, 40};
    FillRect(mem, &all, grey);
    DeleteObject(grey);
    EXPECT_TRUE(DrawIcon(mem, 4, 4, icon));
    COLORREF c = GetPixel(mem, 4 + p.x, 4 + p.y);
    if (backgroundKept)
        *backgroundKept = GetPixel(mem, 4, 4) == RGB(128, 128, 128) && GetPixel(mem, 38, 38) == RGB(128, 128, 128);
    SelectObject(mem, old);
    DeleteObject(bitmap);
    DeleteDC(mem);
    return c;
}

TEST_F(SystemIconsTest, StockIconsAreSharedImagesDrawnWithTheirShapes)
{
    EXPECT_EQ(LoadIconA(nullptr, IDI_ERROR), LoadIconA(nullptr, IDI_HAND));
    EXPECT_EQ(LoadIconA(nullptr, IDI_WARNING), LoadIconA(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(LoadIconA(nullptr, IDI_INFORMATION), LoadIconA(nullptr, IDI_ASTERISK));
    EXPECT_NE(LoadIconA(nullptr, IDI_HAND), LoadIconA(nullptr, IDI_QUESTION));
    EXPECT_EQ(LoadIconA(nullptr, MAKEINTRESOURCEA(32600)), nullptr);
    for (LPCSTR id : {IDI_APPLICATION, IDI_HAND, IDI_QUESTION, IDI_EXCLAMATION, IDI_ASTERISK, IDI_WINLOGO}) {
        HICON icon = LoadIconA(nullptr, id);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        EXPECT_TRUE(info.fIcon);
        BITMAP bm{};
        GetObjectA(info.hbmColor, sizeof bm, &bm);
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        bool kept = false;
        DrawnPixel(icon, POINT{16, 16}, &kept);
        EXPECT_TRUE(kept) << "the corners stay transparent";
    }
    for (const Sample& s : kSamples)
        EXPECT_EQ(DrawnPixel(LoadIconA(nullptr, s.id), s.at), s.colour)
            << reinterpret_cast<ULONG_PTR>(s.id) << " at " << s.at.x << "," << s.at.y;

    // A shared icon outlives DestroyIcon.
    HICON hand = LoadIconA(nullptr, IDI_HAND);
    EXPECT_TRUE(DestroyIcon(hand));
    EXPECT_EQ(DrawnPixel(hand, POINT{6, 16}), kRed);
}

TEST_F(SystemIconsTest, TheMessageBoxShowsTheIconOfItsType)
{
    host::SetInteractive(true);  // no script answers: the box window comes up
    struct Case {
        UINT type;
        POINT at;
        COLORREF colour;
    } cases[] = {
        {MB_ICONHAND, {6, 16}, kRed},
        {MB_ICONEXCLAMATION, {9, 26}, kYellow},
        {MB_ICONASTERISK, {16, 15}, kBlue},
        {MB_ICONQUESTION, {4, 12}, kWhite},
    };
    for (const Case& c : cases) {
        COLORREF seen = 0;
        host::RunInNextModalLoop([&](HWND box) {
            ui::PumpUntilIdle();
            HWND icon = GetDlgItem(box, 0x14);
            RECT r{};
            GetWindowRect(icon, &r);
            seen = host::DesktopPixel(r.left + c.at.x, r.top + c.at.y);
            host::PressKey(VK_RETURN);
        });
        EXPECT_EQ(MessageBoxA(nullptr, "Something happened.", "Box", MB_OK | c.type), IDOK);
        EXPECT_EQ(seen, c.colour) << std::hex << c.type;
    }
    host::SetInteractive(false);
}

}  // namespace
