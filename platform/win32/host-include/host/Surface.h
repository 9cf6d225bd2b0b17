// A raster surface: the pixels behind a bitmap, a DIB section, the desktop or a printed page.
// Pixels of 32 and 24 bits hold colours (0x00RRGGBB); pixels of 1, 4 and 8 bits hold indices
// into the surface's colour table, which may be shared (the system palette of an 8-bit display).
#pragma once

#include <wingdi.h>

#include <memory>
#include <string>
#include <vector>

namespace host {

using ColorTable = std::vector<RGBQUAD>;

class Surface {
public:
    // A surface owning its pixels, rows of 32-bit aligned length, top row first, cleared to 0.
    Surface(int width, int height, int bitsPerPixel, std::shared_ptr<ColorTable> colors = {});
    // A surface owning its pixels in the DIB layout (bottom row first unless topDown).
    Surface(int width, int height, int bitsPerPixel, std::shared_ptr<ColorTable> colors, bool topDown);
    // A surface over pixels owned by someone else (a DIB section or a packed DIB being drawn),
    // rows in the DIB layout: 32-bit aligned, bottom row first unless topDown.
    Surface(int width, int height, int bitsPerPixel, std::shared_ptr<ColorTable> colors, void* bits,
            bool topDown);
    Surface(const Surface&) = delete;
    Surface& operator=(const Surface&) = delete;

    int Width() const { return m_width; }
    int Height() const { return m_height; }
    int BitsPerPixel() const { return m_bpp; }
    int Stride() const { return m_stride; }
    bool TopDown() const { return m_topDown; }
    BYTE* Bits() { return m_bits; }
    const BYTE* Bits() const { return m_bits; }
    BYTE* Row(int y) { return m_bits + static_cast<size_t>(m_topDown ? y : m_height - 1 - y) * m_stride; }
    const BYTE* Row(int y) const
    {
        return m_bits + static_cast<size_t>(m_topDown ? y : m_height - 1 - y) * m_stride;
    }
    const std::shared_ptr<ColorTable>& Colors() const { return m_colors; }
    void SetColors(std::shared_ptr<ColorTable> colors) { m_colors = std::move(colors); }

    // The raw pixel value (a colour 0x00RRGGBB or a colour-table index).
    DWORD Get(int x, int y) const
    {
        const BYTE* r = Row(y);
        switch (m_bpp) {
        case 32: return reinterpret_cast<const DWORD*>(r)[x] & 0x00FFFFFF;
        case 24: return r[x * 3] | (r[x * 3 + 1] << 8) | (r[x * 3 + 2] << 16);
        case 16: {
            WORD w = reinterpret_cast<const WORD*>(r)[x];
            DWORD b = (w & 0x1F) << 3, g = ((w >> 5) & 0x1F) << 3, rr = ((w >> 10) & 0x1F) << 3;
            return b | (g << 8) | (rr << 16);
        }
        case 8: return r[x];
        case 4: return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
        default: return (r[x >> 3] >> (7 - (x & 7))) & 1;
        }
    }
    void Set(int x, int y, DWORD v)
    {
        BYTE* r = Row(y);
        switch (m_bpp) {
        case 32: reinterpret_cast<DWORD*>(r)[x] = v & 0x00FFFFFF; break;
        case 24:
            r[x * 3] = BYTE(v);
            r[x * 3 + 1] = BYTE(v >> 8);
            r[x * 3 + 2] = BYTE(v >> 16);
            break;
        case 16:
            reinterpret_cast<WORD*>(r)[x] =
                WORD(((v >> 3) & 0x1F) | (((v >> 11) & 0x1F) << 5) | (((v >> 19) & 0x1F) << 10));
            break;
        case 8: r[x] = BYTE(v); break;
        case 4: {
            int sh = (x & 1) ? 0 : 4;
            r[x >> 1] = BYTE((r[x >> 1] & ~(0xF << sh)) | ((v & 0xF) << sh));
            break;
        }
        default: {
            int sh = 7 - (x & 7);
            r[x >> 3] = BYTE((r[x >> 3] & ~(1 << sh)) | ((v & 1) << sh));
            break;
        }
        }
    }
    // The mask of meaningful bits in a pixel value.
    DWORD ValueMask() const { return m_bpp >= 24 ? 0x00FFFFFF : m_bpp == 16 ? 0x00F8F8F8 : (1u << m_bpp) - 1; }
    bool Indexed() const { return m_bpp <= 8; }

    // The colour shown for a pixel value, as COLORREF (0x00BBGGRR).
    COLORREF ValueToColor(DWORD v) const;
    // The colour of a pixel, as COLORREF.
    COLORREF GetColor(int x, int y) const { return ValueToColor(Get(x, y)); }
    // The pixel value that shows a colour best: the colour itself, or the nearest table entry.
    DWORD ColorToValue(COLORREF c) const;

    void Fill(DWORD value);
    // Writes the surface (or a part of it) as an RGB PNG file on the host. False on failure.
    bool WritePng(const std::string& hostPath, const RECT* area = nullptr) const;

private:
    int m_width, m_height, m_bpp, m_stride;
    bool m_topDown;
    std::vector<BYTE> m_own;
    BYTE* m_bits;
    std::shared_ptr<ColorTable> m_colors;
};

// Nearest entry of a colour table to a colour (squared distance, first of equals).
int NearestIndex(const ColorTable& table, COLORREF c, int count = -1);

// The surface behind a bitmap handle (for tests and screenshots); null for anything else.
std::shared_ptr<Surface> SurfaceOfBitmap(HBITMAP hbm);
// The surface a device context draws on.
std::shared_ptr<Surface> SurfaceOfDC(HDC hdc);

} // namespace host
