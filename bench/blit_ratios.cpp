// The general blit path measured against a reference on the same surfaces: pixman where it has
// the operation (installed by scripts/install-deps bench), and a plain loop always. Prints pixels
// per second of each and the ratio ours / reference; the target is a ratio of at least 0.5.
//
//   - stretching 2x up, COLORONCOLOR, 32-bit to 32-bit;
//   - colour conversion, 32-bit to 16-bit (5-5-5), 1:1;
//   - a raster operation with source, pattern and destination (0xB8, "PSDPxax"), 24-bit;
//   - a mirrored copy (negative width), 32-bit.
#include <windows.h>

#include <host/Display.h>

#ifdef VL_HAVE_PIXMAN
#include <pixman.h>
#endif

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>

namespace {

const int W = 640, H = 480;

double Rate(const std::function<void()>& f, double pixels)
{
    f();  // warm
    int reps = 0;
    auto t0 = std::chrono::steady_clock::now();
    double elapsed = 0;
    do {
        f();
        ++reps;
        elapsed = std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
    } while (elapsed < 0.5);
    return pixels * reps / elapsed;
}

void Row(const char* what, double ours, const char* refName, double ref)
{
    std::printf("%-36s ours %8.1f Mpx/s   %-10s %8.1f Mpx/s   ours/it %.2f\n", what, ours / 1e6, refName, ref / 1e6,
                ours / ref);
}

// A top-down DIB section of the given depth, selected into a new memory DC.
struct Dib {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    BYTE* bits = nullptr;
    int stride = 0;
    Dib(HDC screen, int w, int h, int bpp)
    {
        BITMAPINFO bi{};
        bi.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), w, -h, 1, WORD(bpp), BI_RGB, 0, 0, 0, 0, 0};
        void* p = nullptr;
        bitmap = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &p, nullptr, 0);
        bits = static_cast<BYTE*>(p);
        stride = ((w * bpp + 31) / 32) * 4;
        dc = CreateCompatibleDC(screen);
        SelectObject(dc, bitmap);
    }
    ~Dib()
    {
        DeleteDC(dc);
        DeleteObject(bitmap);
    }
};

}  // namespace

int main()
{
    HDC screen = host::CreateDisplayDC(POINT{0, 0}, nullptr);
    Dib src32(screen, W, H, 32), dst32(screen, W, H, 32), dst16(screen, W, H, 16);
    Dib src24(screen, W, H, 24), dst24(screen, W, H, 24);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            auto* p = reinterpret_cast<std::uint32_t*>(src32.bits + y * src32.stride) + x;
            *p = std::uint32_t((x * 7) & 0xFF) << 16 | std::uint32_t((y * 3) & 0xFF) << 8 | std::uint32_t((x ^ y) & 0xFF);
            BYTE* q = src24.bits + y * src24.stride + x * 3;
            q[0] = BYTE(x ^ y);
            q[1] = BYTE(y * 3);
            q[2] = BYTE(x * 7);
        }
    const double px = double(W) * H;
    volatile std::uint32_t sink = 0;

    // Stretching 2x up from the top-left quarter.
    SetStretchBltMode(dst32.dc, COLORONCOLOR);
    double ours = Rate([&] { StretchBlt(dst32.dc, 0, 0, W, H, src32.dc, 0, 0, W / 2, H / 2, SRCCOPY); }, px);
    double loop = Rate(
        [&] {
            for (int y = 0; y < H; ++y) {
                auto* d = reinterpret_cast<std::uint32_t*>(dst32.bits + y * dst32.stride);
                const auto* s = reinterpret_cast<const std::uint32_t*>(src32.bits + (y * (H / 2) / H) * src32.stride);
                for (int x = 0; x < W; ++x)
                    d[x] = s[x * (W / 2) / W] & 0x00FFFFFF;
            }
            sink = sink + dst32.bits[0];
        },
        px);
    Row("StretchBlt 2x up COLORONCOLOR 32", ours, "loop", loop);
#ifdef VL_HAVE_PIXMAN
    {
        pixman_image_t* s = pixman_image_create_bits(PIXMAN_x8r8g8b8, W, H, reinterpret_cast<uint32_t*>(src32.bits),
                                                     src32.stride);
        pixman_image_t* d = pixman_image_create_bits(PIXMAN_x8r8g8b8, W, H, reinterpret_cast<uint32_t*>(dst32.bits),
                                                     dst32.stride);
        pixman_transform_t t;
        pixman_transform_init_scale(&t, pixman_double_to_fixed(0.5), pixman_double_to_fixed(0.5));
        pixman_image_set_transform(s, &t);
        pixman_image_set_filter(s, PIXMAN_FILTER_NEAREST, nullptr, 0);
        double pix = Rate([&] { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, W, H); }, px);
        Row("StretchBlt 2x up COLORONCOLOR 32", ours, "pixman", pix);
        pixman_image_unref(s);
        pixman_image_unref(d);
    }
#endif

    // Colour conversion 32 -> 16 (5-5-5).
    ours = Rate([&] { BitBlt(dst16.dc, 0, 0, W, H, src32.dc, 0, 0, SRCCOPY); }, px);
    loop = Rate(
        [&] {
            for (int y = 0; y < H; ++y) {
                auto* d = reinterpret_cast<std::uint16_t*>(dst16.bits + y * dst16.stride);
                const auto* s = reinterpret_cast<const std::uint32_t*>(src32.bits + y * src32.stride);
                for (int x = 0; x < W; ++x) {
                    std::uint32_t v = s[x];
                    d[x] = std::uint16_t(((v >> 3) & 0x1F) | (((v >> 11) & 0x1F) << 5) | (((v >> 19) & 0x1F) << 10));
                }
            }
            sink = sink + dst16.bits[0];
        },
        px);
    Row("BitBlt 32 -> 16 colour conversion", ours, "loop", loop);
#ifdef VL_HAVE_PIXMAN
    {
        pixman_image_t* s = pixman_image_create_bits(PIXMAN_x8r8g8b8, W, H, reinterpret_cast<uint32_t*>(src32.bits),
                                                     src32.stride);
        pixman_image_t* d = pixman_image_create_bits(PIXMAN_x1r5g5b5, W, H, reinterpret_cast<uint32_t*>(dst16.bits),
                                                     dst16.stride);
        double pix = Rate([&] { pixman_image_composite32(PIXMAN_OP_SRC, s, nullptr, d, 0, 0, 0, 0, 0, 0, W, H); }, px);
        Row("BitBlt 32 -> 16 colour conversion", ours, "pixman", pix);
        pixman_image_unref(s);
        pixman_image_unref(d);
    }
#endif

    // A ternary raster operation with a solid pattern on 24-bit pixels.
    HBRUSH brush = CreateSolidBrush(RGB(0x12, 0x34, 0x56));
    SelectObject(dst24.dc, brush);
    ours = Rate([&] { BitBlt(dst24.dc, 0, 0, W, H, src24.dc, 0, 0, 0x00B8074A); }, px);
    const std::uint32_t pattern = 0x123456;
    loop = Rate(
        [&] {
            for (int y = 0; y < H; ++y) {
                BYTE* d = dst24.bits + y * dst24.stride;
                const BYTE* s = src24.bits + y * src24.stride;
                for (int x = 0; x < W; ++x) {
                    std::uint32_t dv = d[x * 3] | (d[x * 3 + 1] << 8) | (d[x * 3 + 2] << 16);
                    std::uint32_t sv = s[x * 3] | (s[x * 3 + 1] << 8) | (s[x * 3 + 2] << 16);
                    std::uint32_t r = ((dv ^ pattern) & sv) ^ pattern;
                    d[x * 3] = BYTE(r);
                    d[x * 3 + 1] = BYTE(r >> 8);
                    d[x * 3 + 2] = BYTE(r >> 16);
                }
            }
            sink = sink + dst24.bits[0];
        },
        px);
    Row("BitBlt 0xB8 PSDPxax 24", ours, "loop", loop);

    // A mirrored copy.
    ours = Rate([&] { StretchBlt(dst32.dc, W - 1, 0, -W, H, src32.dc, 0, 0, W, H, SRCCOPY); }, px);
    loop = Rate(
        [&] {
            for (int y = 0; y < H; ++y) {
                auto* d = reinterpret_cast<std::uint32_t*>(dst32.bits + y * dst32.stride);
                const auto* s = reinterpret_cast<const std::uint32_t*>(src32.bits + y * src32.stride);
                for (int x = 0; x < W; ++x)
                    d[W - 1 - x] = s[x] & 0x00FFFFFF;
            }
            sink = sink + dst32.bits[0];
        },
        px);
    Row("StretchBlt mirrored 32", ours, "loop", loop);

    SelectObject(dst24.dc, GetStockObject(WHITE_BRUSH));
    DeleteObject(brush);
    host::ReleaseDisplayDC(screen);
    return 0;
}
