// Graphics throughput: pixels per second for plain and masked blits, stretching, DIB drawing,
// and characters per second for text output. Prints figures; not a test.
#include <windows.h>

#include <host/Display.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Seconds(const std::function<void()>& f, int reps)
{
    auto t0 = std::chrono::steady_clock::now();
    for (int i = 0; i < reps; ++i)
        f();
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
}

void Report(const char* what, double units, double seconds, const char* unit)
{
    std::printf("%-34s %10.1f M%s/s  (%.3f s)\n", what, units / seconds / 1e6, unit, seconds);
}

} // namespace

int main()
{
    const int W = 640, H = 480, reps = 50;
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    HDC src = CreateCompatibleDC(screen), dst = CreateCompatibleDC(screen), mono = CreateCompatibleDC(screen);
    HBITMAP sbm = CreateCompatibleBitmap(screen, W, H), dbm = CreateCompatibleBitmap(screen, W, H);
    HBITMAP mbm = CreateBitmap(W, H, 1, 1, nullptr);
    SelectObject(src, sbm);
    SelectObject(dst, dbm);
    SelectObject(mono, mbm);
    for (int y = 0; y < H; y += 7)
        for (int x = 0; x < W; x += 5)
            SetPixel(src, x, y, RGB(x & 0xFF, y & 0xFF, (x ^ y) & 0xFF));
    double px = double(W) * H * reps;
    Report("BitBlt SRCCOPY 32-bit", px, Seconds([&] { BitBlt(dst, 0, 0, W, H, src, 0, 0, SRCCOPY); }, reps), "px");
    Report("BitBlt SRCINVERT 32-bit", px, Seconds([&] { BitBlt(dst, 0, 0, W, H, src, 0, 0, SRCINVERT); }, reps),
           "px");
    Report("BitBlt mono->colour SRCAND", px, Seconds([&] { BitBlt(dst, 0, 0, W, H, mono, 0, 0, SRCAND); }, reps),
           "px");
    Report("PatBlt PATCOPY", px, Seconds([&] { PatBlt(dst, 0, 0, W, H, PATCOPY); }, reps), "px");
    SetStretchBltMode(dst, COLORONCOLOR);
    Report("StretchBlt 2x up COLORONCOLOR", px,
           Seconds([&] { StretchBlt(dst, 0, 0, W, H, src, 0, 0, W / 2, H / 2, SRCCOPY); }, reps), "px");
    SetStretchBltMode(dst, HALFTONE);
    Report("StretchBlt 2x down HALFTONE", px / 4,
           Seconds([&] { StretchBlt(dst, 0, 0, W / 2, H / 2, src, 0, 0, W, H, SRCCOPY); }, reps), "px");
    std::vector<BYTE> bits(size_t(W) * H);
    std::vector<BYTE> hdr(sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD));
    auto* bi = reinterpret_cast<BITMAPINFO*>(hdr.data());
    bi->bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), W, H, 1, 8, BI_RGB, 0, 0, 0, 0, 0};
    for (int i = 0; i < 256; ++i)
        bi->bmiColors[i] = RGBQUAD{BYTE(i), BYTE(255 - i), BYTE(i / 2), 0};
    Report("StretchDIBits 8-bit 1:1", px,
           Seconds([&] { StretchDIBits(dst, 0, 0, W, H, 0, 0, W, H, bits.data(), bi, DIB_RGB_COLORS, SRCCOPY); },
                   reps),
           "px");
    HFONT font = CreateFont(-13, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Arial");
    SelectObject(dst, font);
    const char line[] = "The quick brown fox jumps over the lazy dog 0123456789";
    const int n = int(sizeof line - 1), lines = 2000;
    Report("TextOut Arial 10pt", double(n) * lines,
           Seconds([&] { TextOut(dst, 5, 100, line, n); }, lines), "chars");
    RECT r{0, 0, 200, 400};
    Report("DrawText word-wrapped", double(n) * lines,
           Seconds([&] { DrawText(dst, line, n, &r, DT_WORDBREAK); }, lines), "chars");
    SIZE sz;
    Report("GetTextExtentPoint32", double(n) * lines * 10,
           Seconds([&] { GetTextExtentPoint32(dst, line, n, &sz); }, lines * 10), "chars");
    SelectObject(dst, GetStockObject(SYSTEM_FONT));
    DeleteObject(font);
    DeleteDC(src);
    DeleteDC(dst);
    DeleteDC(mono);
    DeleteObject(sbm);
    DeleteObject(dbm);
    DeleteObject(mbm);
    host::ReleaseDisplayDC(screen);
    return 0;
}
