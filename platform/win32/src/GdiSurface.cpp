// Raster surfaces and their PNG output.
#include <host/Surface.h>

#include <png.h>

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace host {

namespace {
int StrideFor(int width, int bpp)
{
    return ((width * bpp + 31) / 32) * 4;
}
} // namespace

Surface::Surface(int width, int height, int bpp, std::shared_ptr<ColorTable> colors)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_bpp(bpp), m_stride(StrideFor(m_width, bpp)),
      m_topDown(true), m_own(static_cast<size_t>(m_stride) * m_height + 4), m_bits(m_own.data()),
      m_colors(std::move(colors))
{
}

Surface::Surface(int width, int height, int bpp, std::shared_ptr<ColorTable> colors, bool topDown)
    : Surface(width, height, bpp, std::move(colors))
{
    m_topDown = topDown;
}

Surface::Surface(int width, int height, int bpp, std::shared_ptr<ColorTable> colors, void* bits, bool topDown)
    : m_width(std::max(width, 0)), m_height(std::max(height, 0)), m_bpp(bpp), m_stride(StrideFor(m_width, bpp)),
      m_topDown(topDown), m_bits(static_cast<BYTE*>(bits)), m_colors(std::move(colors))
{
}

COLORREF Surface::ValueToColor(DWORD v) const
{
    if (!Indexed())
        return RGB((v >> 16) & 0xFF, (v >> 8) & 0xFF, v & 0xFF);
    if (!m_colors || v >= m_colors->size())
        return (m_bpp == 1 && v) ? RGB(255, 255, 255) : RGB(0, 0, 0);
    const RGBQUAD& q = (*m_colors)[v];
    return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue);
}

DWORD Surface::ColorToValue(COLORREF c) const
{
    if (!Indexed()) {
        DWORD v = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
        return m_bpp == 16 ? (v & 0x00F8F8F8) : v;
    }
    if (!m_colors || m_colors->empty()) {
        if (m_bpp == 1)
            return (GetRValue(c) + GetGValue(c) + GetBValue(c)) >= 384 ? 1 : 0;
        return 0;
    }
    return DWORD(NearestIndex(*m_colors, c, std::min<int>(int(m_colors->size()), 1 << m_bpp)));
}

void Surface::Fill(DWORD value)
{
    for (int y = 0; y < m_height; ++y)
        for (int x = 0; x < m_width; ++x)
            Set(x, y, value);
}

int NearestIndex(const ColorTable& table, COLORREF c, int count)
{
    if (count < 0 || count > int(table.size()))
        count = int(table.size());
    int best = 0;
    long bestDist = -1;
    int r = GetRValue(c), g = GetGValue(c), b = GetBValue(c);
    for (int i = 0; i < count; ++i) {
        long dr = table[i].rgbRed - r, dg = table[i].rgbGreen - g, db = table[i].rgbBlue - b;
        long d = dr * dr + dg * dg + db * db;
        if (bestDist < 0 || d < bestDist) {
            bestDist = d;
            best = i;
            if (d == 0)
                break;
        }
    }
    return best;
}

bool Surface::WritePng(const std::string& hostPath, const RECT* area) const
{
    RECT r{0, 0, m_width, m_height};
    if (area) {
        r.left = std::max<LONG>(area->left, 0);
        r.top = std::max<LONG>(area->top, 0);
        r.right = std::min<LONG>(area->right, m_width);
        r.bottom = std::min<LONG>(area->bottom, m_height);
    }
    int w = r.right - r.left, h = r.bottom - r.top;
    if (w <= 0 || h <= 0)
        return false;
    FILE* f = std::fopen(hostPath.c_str(), "wb");
    if (!f)
        return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!png || !info) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    std::vector<png_byte> row(static_cast<size_t>(w) * 3);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(f);
        return false;
    }
    png_init_io(png, f);
    png_set_IHDR(png, info, png_uint_32(w), png_uint_32(h), 8, PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            COLORREF c = GetColor(x, y);
            png_byte* p = &row[static_cast<size_t>(x - r.left) * 3];
            p[0] = GetRValue(c);
            p[1] = GetGValue(c);
            p[2] = GetBValue(c);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return std::fclose(f) == 0;
}

} // namespace host
