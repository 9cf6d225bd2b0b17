// Block transfers: the 256 ternary raster operations, stretching, colour conversion between
// surfaces (including monochrome <-> colour through the text and background colours), and the
// device-independent bitmap functions.
#include "GdiInternal.h"

#include <errhandlingapi.h>
#include <winerror.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <type_traits>
#include <unordered_map>

namespace gdi {

DWORD Rop3(DWORD rop, DWORD p, DWORD s, DWORD d)
{
    switch (rop) {
    case 0x00: return 0;
    case 0xFF: return ~DWORD(0);
    case 0xCC: return s;
    case 0xF0: return p;
    case 0xAA: return d;
    case 0x55: return ~d;
    case 0x33: return ~s;
    case 0x66: return s ^ d;
    case 0x88: return s & d;
    case 0xEE: return s | d;
    case 0x5A: return p ^ d;
    case 0xC0: return p & s;
    case 0xB8: return ((d ^ p) & s) ^ p;
    case 0xE2: return ((p ^ d) & s) ^ d;
    default: break;
    }
    // Bit i of the operation code is the result for pattern, source and destination bits
    // (i >> 2, i >> 1, i) & 1.
    DWORD r = 0;
    for (int i = 0; i < 8; ++i) {
        if (!((rop >> i) & 1))
            continue;
        r |= ((i & 4) ? p : ~p) & ((i & 2) ? s : ~s) & ((i & 1) ? d : ~d);
    }
    return r;
}

bool RopNeedsSource(DWORD rop)
{
    return (((rop >> 2) ^ rop) & 0x33) != 0;
}

bool RopNeedsPattern(DWORD rop)
{
    return (((rop >> 4) ^ rop) & 0x0F) != 0;
}

namespace {

// Converts source pixel values to destination pixel values.
class Converter {
public:
    Converter(DC& dst, const host::Surface& src, DC* srcDc, const std::vector<DWORD>* srcValues)
        : m_dstDc(dst), m_dst(*dst.surface), m_src(src)
    {
        if (srcValues && src.Indexed()) {
            m_kind = Table;
            m_table = *srcValues;
        } else if (src.BitsPerPixel() == m_dst.BitsPerPixel() && (!src.Indexed() || src.Colors() == m_dst.Colors())) {
            m_kind = Same;
        } else if (src.BitsPerPixel() == 1 && src.Colors() == MonoColors()) {
            // Monochrome into colour: 0 takes the text colour, 1 the background colour.
            m_kind = Table;
            m_table = {Resolve(dst, dst.st.textColor), Resolve(dst, dst.st.bkColor)};
        } else if (m_dst.BitsPerPixel() == 1 && srcDc && srcDc->surface.get() == &src) {
            // Colour into monochrome: the source's background colour becomes 1, all else 0.
            m_kind = ToMono;
            m_bk = Resolve(*srcDc, srcDc->st.bkColor);
        } else if (src.Indexed()) {
            m_kind = Table;
            for (DWORD v = 0; v < (1u << src.BitsPerPixel()); ++v)
                m_table.push_back(SourceColorValue(dst, src.ValueToColor(v)));
        } else if (!m_dst.Indexed()) {
            m_kind = Direct;
        } else {
            m_kind = Cached;
        }
    }
    DWORD operator()(DWORD v)
    {
        switch (m_kind) {
        case Same: return v;
        case Table: return v < m_table.size() ? m_table[v] : 0;
        case ToMono: return v == m_bk ? 1 : 0;
        case Direct: return m_dst.BitsPerPixel() == 16 ? (v & 0x00F8F8F8) : v;
        default: {
            // Neighbouring pixels are mostly of one colour: the last answer first.
            if (m_lastValid && v == m_lastIn)
                return m_lastOut;
            auto it = m_cache.find(v);
            DWORD r;
            if (it != m_cache.end()) {
                r = it->second;
            } else {
                r = SourceColorValue(m_dstDc, m_src.ValueToColor(v));
                m_cache.emplace(v, r);
            }
            m_lastValid = true;
            m_lastIn = v;
            m_lastOut = r;
            return r;
        }
        }
    }
    bool Identity() const { return m_kind == Same; }

    enum Kind { Same, Table, ToMono, Direct, Cached };
    Kind GetKind() const { return m_kind; }
    const DWORD* TableData() const { return m_table.data(); }
    DWORD TableSize() const { return static_cast<DWORD>(m_table.size()); }

private:
    Kind m_kind = Same;
    DC& m_dstDc;
    const host::Surface& m_dst;
    const host::Surface& m_src;
    std::vector<DWORD> m_table;
    DWORD m_bk = 0;
    std::unordered_map<DWORD, DWORD> m_cache;
    bool m_lastValid = false;
    DWORD m_lastIn = 0, m_lastOut = 0;
};

// Source pixels [a, b) (b > a) combined the way the stretching mode says.
DWORD Sample(const host::Surface& s, int x0, int x1, int y0, int y1, int mode)
{
    x0 = std::max(x0, 0);
    y0 = std::max(y0, 0);
    x1 = std::min(x1, s.Width());
    y1 = std::min(y1, s.Height());
    if (mode == COLORONCOLOR || (x1 - x0 <= 1 && y1 - y0 <= 1) || x1 <= x0 || y1 <= y0)
        return s.Get(x0, y0);
    if (mode == HALFTONE) {
        if (s.Indexed())
            return s.Get(x0, y0);
        unsigned long r = 0, g = 0, b = 0, n = 0;
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                DWORD v = s.Get(x, y);
                r += (v >> 16) & 0xFF;
                g += (v >> 8) & 0xFF;
                b += v & 0xFF;
                ++n;
            }
        return DWORD(((r / n) << 16) | ((g / n) << 8) | (b / n));
    }
    DWORD acc = mode == BLACKONWHITE ? ~DWORD(0) : 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            acc = mode == BLACKONWHITE ? (acc & s.Get(x, y)) : (acc | s.Get(x, y));
    return acc & s.ValueMask();
}

// A negative extent runs from pos backwards: the same pixels from the other end, mirrored.
// Makes the extent positive and says whether it was mirrored.
bool Unmirror(int& pos, int& extent)
{
    if (extent >= 0)
        return false;
    pos += extent + 1;
    extent = -extent;
    return true;
}

// The source pixels [first, last) that pixel i of a destination extent dw takes from a source
// extent sw starting at s: one pixel without stretching, at least one with.
void SourceSpan(int i, int s, int sw, int dw, bool stretch, int& first, int& last)
{
    if (stretch) {
        first = s + int((long long)i * sw / dw);
        last = std::max(first + 1, s + int((long long)(i + 1) * sw / dw));
    } else {
        first = s + i;
        last = first + 1;
    }
}

// The pattern of an operation that reads one: the selected brush, a null brush acting as
// pattern 0.
Paint PatternPaint(DC& dst, bool needPattern)
{
    Paint pat;
    if (needPattern)
        pat = BrushPaint(dst, dst.st.brush, true);
    if (pat.none)
        pat = Paint{};
    return pat;
}

// Pixel values of a row with the depth fixed when the code is made (as host::Surface reads and
// writes them).
template <int BPP>
DWORD LoadPixel(const BYTE* r, int x)
{
    if constexpr (BPP == 32) {
        return reinterpret_cast<const DWORD*>(r)[x] & 0x00FFFFFF;
    } else if constexpr (BPP == 24) {
        return r[x * 3] | (r[x * 3 + 1] << 8) | (r[x * 3 + 2] << 16);
    } else if constexpr (BPP == 16) {
        WORD w = reinterpret_cast<const WORD*>(r)[x];
        DWORD b = (w & 0x1F) << 3, g = ((w >> 5) & 0x1F) << 3, rr = ((w >> 10) & 0x1F) << 3;
        return b | (g << 8) | (rr << 16);
    } else if constexpr (BPP == 8) {
        return r[x];
    } else if constexpr (BPP == 4) {
        return (r[x >> 1] >> ((x & 1) ? 0 : 4)) & 0xF;
    } else {
        return (r[x >> 3] >> (7 - (x & 7))) & 1;
    }
}

template <int BPP>
void StorePixel(BYTE* r, int x, DWORD v)
{
    if constexpr (BPP == 32) {
        reinterpret_cast<DWORD*>(r)[x] = v & 0x00FFFFFF;
    } else if constexpr (BPP == 24) {
        r[x * 3] = BYTE(v);
        r[x * 3 + 1] = BYTE(v >> 8);
        r[x * 3 + 2] = BYTE(v >> 16);
    } else if constexpr (BPP == 16) {
        reinterpret_cast<WORD*>(r)[x] =
            WORD(((v >> 3) & 0x1F) | (((v >> 11) & 0x1F) << 5) | (((v >> 19) & 0x1F) << 10));
    } else if constexpr (BPP == 8) {
        r[x] = BYTE(v);
    } else if constexpr (BPP == 4) {
        int sh = (x & 1) ? 0 : 4;
        r[x >> 1] = BYTE((r[x >> 1] & ~(0xF << sh)) | ((v & 0xF) << sh));
    } else {
        int sh = 7 - (x & 7);
        r[x >> 3] = BYTE((r[x >> 3] & ~(1 << sh)) | ((v & 1) << sh));
    }
}

// Operations that never read the destination.
bool IgnoresDestination(DWORD op)
{
    return op == 0xCC || op == 0xF0 || op == 0x00 || op == 0xFF || op == 0x33;
}

// What stays the same over every row of one transfer's general path: the source column of
// every destination column (worked out once, not per pixel) and the operation's inputs.
struct RowJob {
    host::Surface& d;
    const host::Surface* src;
    const host::Surface* mask;
    Converter* conv;
    const Paint& pat;
    bool needPattern;
    DWORD fore, back, vmask;
    int dx, dw, mx, my;
    bool flipX;
    bool stretch;
    bool averaging;  // stretching that combines source pixels (not COLORONCOLOR)
    int mode;
    int xLo;                       // first destination column of the tables
    const std::vector<int>& colA;  // source column per destination column; -1: none
    const std::vector<int>& colB;  // end of its source span
    const DWORD* lut = nullptr;    // a colour table source: every index's value, masked; or none
    const DWORD* pairs = nullptr;  // a 4-bit one onto 32 bits: the two values of every byte; or none
};

// A 4-bit span onto 32 bits, forwards from source column s0: the two pixels of every whole byte
// in one look-up.
void CopyPairs(BYTE* drow, const BYTE* srow, int s0, int a, int b, const DWORD* lut, const DWORD* pairs)
{
    DWORD* dp = reinterpret_cast<DWORD*>(drow);
    int x = a, sx = s0;
    if (x < b && (sx & 1))
        dp[x++] = lut[srow[sx++ >> 1] & 0xF];
    for (; x + 1 < b; x += 2, sx += 2) {
        const DWORD* both = pairs + 2 * srow[sx >> 1];
        dp[x] = both[0];
        dp[x + 1] = both[1];
    }
    if (x < b)
        dp[x] = lut[srow[sx >> 1] >> 4];
}

// A plain copy of an unstretched span: every pixel its source column's value, converted by
// `conv`; source column s0 + (x - a) * step (step 1, or -1 mirrored),
// all of them inside the source, so that the loop has no tables and no tests.
template <int SB, int DB, class Conv>
void CopyRowLinear(BYTE* drow, const BYTE* srow, int s0, int step, int a, int b, DWORD vmask, Conv conv)
{
    if constexpr (SB == 8 && DB == 32) {
        if (step > 0) {
            // Indexes to colours: one look-up and one store per pixel.
            const BYTE* __restrict sp = srow + s0;
            DWORD* __restrict dp = reinterpret_cast<DWORD*>(drow) + a;
            const DWORD m = vmask & 0x00FFFFFF;
            const int n = b - a;
            int i = 0;
            for (; i + 4 <= n; i += 4) {
                DWORD four;
                std::memcpy(&four, sp + i, sizeof four);
                dp[i] = conv(four & 0xFF) & m;
                dp[i + 1] = conv((four >> 8) & 0xFF) & m;
                dp[i + 2] = conv((four >> 16) & 0xFF) & m;
                dp[i + 3] = conv(four >> 24) & m;
            }
            for (; i < n; ++i)
                dp[i] = conv(sp[i]) & m;
            return;
        }
    }
    if constexpr (SB == 4) {
        if (step > 0) {
            // Two pixels from each whole source byte.
            int x = a, sxx = s0;
            if (x < b && (sxx & 1)) {
                StorePixel<DB>(drow, x++, conv(LoadPixel<SB>(srow, sxx++)) & vmask);
            }
            for (; x + 1 < b; x += 2, sxx += 2) {
                const DWORD both = srow[sxx >> 1];
                StorePixel<DB>(drow, x, conv(both >> 4) & vmask);
                StorePixel<DB>(drow, x + 1, conv(both & 0xF) & vmask);
            }
            if (x < b)
                StorePixel<DB>(drow, x, conv(LoadPixel<SB>(srow, sxx)) & vmask);
            return;
        }
    }
    if (step > 0) {
        for (int x = a; x < b; ++x)
            StorePixel<DB>(drow, x, conv(LoadPixel<SB>(srow, s0 + (x - a))) & vmask);
    } else {
        for (int x = a; x < b; ++x)
            StorePixel<DB>(drow, x, conv(LoadPixel<SB>(srow, s0 - (x - a))) & vmask);
    }
}

// Any operation on one span, with the conversion fixed.
template <int SB, int DB, class Conv>
void RopRow(RowJob& j, int y, int iy, int syA, int syB, int a, int b, Conv conv)
{
    BYTE* const drow = j.d.Row(y);
    const host::Surface* const src = j.src;
    const BYTE* const srow = src ? src->Row(syA) : nullptr;
    const int* const colA = j.colA.data();
    const int* const colB = j.colB.data();
    const int xLo = j.xLo;
    const DWORD vmask = j.vmask, fore = j.fore, back = j.back;
    const bool averaging = j.averaging;
    const int mode = j.mode;
    const host::Surface* const mask = j.mask;
    const Paint& pat = j.pat;
    const bool needPattern = j.needPattern, solidPattern = pat.solid;
    const DWORD patValue = pat.value;
    const int dx = j.dx, dw = j.dw, mx = j.mx, my = j.my;
    const bool flipX = j.flipX;
    if (src && !mask && fore == 0xCC) {
        if (!averaging && !j.stretch) {
            // The columns with source pixels: a run, forwards or backwards.
            const int step = flipX ? -1 : 1;
            int first = a, last = b;
            while (first < last && colA[first - xLo] < 0)
                ++first;
            while (last > first && colA[last - 1 - xLo] < 0)
                --last;
            if constexpr (SB == 4 && DB == 32) {
                if (j.pairs && step > 0) {
                    if (first < last)
                        CopyPairs(drow, srow, colA[first - xLo], first, last, j.lut, j.pairs);
                    return;
                }
            }
            if (first < last)
                CopyRowLinear<SB, DB>(drow, srow, colA[first - xLo], step, first, last, vmask, conv);
            return;
        }
        if (!averaging) {
            for (int x = a; x < b; ++x) {
                const int sx = colA[x - xLo];
                if (sx >= 0)
                    StorePixel<DB>(drow, x, conv(LoadPixel<SB>(srow, sx)) & vmask);
            }
            return;
        }
    }
    if (src && !mask && !averaging && (!needPattern || solidPattern)) {
        // One operation for the whole span, chosen once: the common ones get their own loop.
        auto run = [&](auto op) {
            for (int x = a; x < b; ++x) {
                const int sxA = colA[x - xLo];
                if (sxA < 0)
                    continue;
                StorePixel<DB>(drow, x, op(patValue, conv(LoadPixel<SB>(srow, sxA)), LoadPixel<DB>(drow, x)) & vmask);
            }
        };
        switch (fore) {
        case 0x66: run([](DWORD, DWORD sv, DWORD d) { return sv ^ d; }); return;
        case 0x88: run([](DWORD, DWORD sv, DWORD d) { return sv & d; }); return;
        case 0xEE: run([](DWORD, DWORD sv, DWORD d) { return sv | d; }); return;
        case 0xB8: run([](DWORD pv, DWORD sv, DWORD d) { return ((d ^ pv) & sv) ^ pv; }); return;
        case 0xE2: run([](DWORD pv, DWORD sv, DWORD d) { return ((pv ^ d) & sv) ^ d; }); return;
        case 0xC0: run([](DWORD pv, DWORD sv, DWORD) { return pv & sv; }); return;
        case 0x22: run([](DWORD, DWORD sv, DWORD d) { return ~sv & d; }); return;
        case 0xBB: run([](DWORD, DWORD sv, DWORD d) { return ~sv | d; }); return;
        default: break;
        }
    }
    for (int x = a; x < b; ++x) {
        DWORD s = 0;
        if (src) {
            const int sxA = colA[x - xLo];
            if (sxA < 0)
                continue;
            s = conv(averaging ? Sample(*src, sxA, colB[x - xLo], syA, syB, mode) : LoadPixel<SB>(srow, sxA));
        }
        DWORD op = fore;
        if (mask) {
            int ix = x - dx;
            if (flipX)
                ix = dw - 1 - ix;
            int mxx = mx + ix, myy = my + iy;
            bool m = mxx >= 0 && myy >= 0 && mxx < mask->Width() && myy < mask->Height() && mask->Get(mxx, myy);
            op = m ? fore : back;
        }
        DWORD p = needPattern ? (solidPattern ? patValue : pat.At(x, y)) : 0;
        DWORD dv = IgnoresDestination(op) ? 0 : LoadPixel<DB>(drow, x);
        StorePixel<DB>(drow, x, Rop3(op, p, s, dv) & vmask);
    }
}

// One span [a, b) of destination row y; iy is the row inside the transfer, [syA, syB) its source
// rows. The conversion is chosen here, once per span, not per pixel.
template <int SB, int DB>
void BltRow(RowJob& j, int y, int iy, int syA, int syB, int a, int b)
{
    Converter* conv = j.conv;
    switch (conv ? conv->GetKind() : Converter::Same) {
    case Converter::Same:
    case Converter::Direct:  // the value mask trims what the depth cannot hold
        RopRow<SB, DB>(j, y, iy, syA, syB, a, b, [](DWORD v) { return v; });
        return;
    case Converter::Table: {
        if constexpr (SB <= 8) {
            if (j.lut) {
                const DWORD* lut = j.lut;
                RopRow<SB, DB>(j, y, iy, syA, syB, a, b, [lut](DWORD v) { return lut[v]; });
                return;
            }
        }
        const DWORD* table = conv->TableData();
        const DWORD n = conv->TableSize();
        RopRow<SB, DB>(j, y, iy, syA, syB, a, b, [table, n](DWORD v) { return v < n ? table[v] : 0; });
        return;
    }
    default:
        RopRow<SB, DB>(j, y, iy, syA, syB, a, b, [conv](DWORD v) { return (*conv)(v); });
        return;
    }
}

template <int SB>
void BltRowTo(int dstBpp, RowJob& j, int y, int iy, int syA, int syB, int a, int b)
{
    switch (dstBpp) {
    case 32: BltRow<SB, 32>(j, y, iy, syA, syB, a, b); break;
    case 24: BltRow<SB, 24>(j, y, iy, syA, syB, a, b); break;
    case 16: BltRow<SB, 16>(j, y, iy, syA, syB, a, b); break;
    case 8: BltRow<SB, 8>(j, y, iy, syA, syB, a, b); break;
    case 4: BltRow<SB, 4>(j, y, iy, syA, syB, a, b); break;
    default: BltRow<SB, 1>(j, y, iy, syA, syB, a, b); break;
    }
}

void BltRowAny(int srcBpp, int dstBpp, RowJob& j, int y, int iy, int syA, int syB, int a, int b)
{
    switch (srcBpp) {
    case 32: BltRowTo<32>(dstBpp, j, y, iy, syA, syB, a, b); break;
    case 24: BltRowTo<24>(dstBpp, j, y, iy, syA, syB, a, b); break;
    case 16: BltRowTo<16>(dstBpp, j, y, iy, syA, syB, a, b); break;
    case 8: BltRowTo<8>(dstBpp, j, y, iy, syA, syB, a, b); break;
    case 4: BltRowTo<4>(dstBpp, j, y, iy, syA, syB, a, b); break;
    default: BltRowTo<1>(dstBpp, j, y, iy, syA, syB, a, b); break;
    }
}

} // namespace

void Blt(DC& dst, int dx, int dy, int dw, int dh, const host::Surface* src, DC* srcDc, int sx, int sy, int sw,
         int sh, DWORD rop, const host::Surface* mask, int mx, int my, const std::vector<DWORD>* srcValues)
{
    if (!dst.surface || dw == 0 || dh == 0)
        return;
    host::Surface& d = *dst.surface;
    DWORD fore = (rop >> 16) & 0xFF, back = mask ? ((rop >> 24) & 0xFF) : fore;
    bool needSource = RopNeedsSource(fore) || RopNeedsSource(back);
    bool needPattern = RopNeedsPattern(fore) || RopNeedsPattern(back);
    if (!needSource)
        src = nullptr;
    if (!src && !mask) {
        // Without a source a ternary operation is one of the 16 binary ones on pattern and
        // destination: bits 0, 1, 4 and 5 of the code are its truth table.
        int rop2 = 1 + int((fore & 1) | ((fore >> 1) & 1) << 1 | ((fore >> 4) & 1) << 2 | ((fore >> 5) & 1) << 3);
        Unmirror(dx, dw);
        Unmirror(dy, dh);
        Paint pat = PatternPaint(dst, needPattern);
        for (int y = std::max(dy, 0); y < std::min(dy + dh, d.Height()); ++y)
            FillSpan(dst, y, dx, dx + dw, pat, rop2);
        return;
    }
    // Mirrored on one side only, the copy comes out mirrored.
    bool flipX = Unmirror(dx, dw) != Unmirror(sx, sw);
    bool flipY = Unmirror(dy, dh) != Unmirror(sy, sh);
    // Copying within one surface reads from a snapshot, so overlapping areas come out right.
    std::unique_ptr<host::Surface> snapshot;
    if (src && src == dst.surface.get()) {
        snapshot = std::make_unique<host::Surface>(src->Width(), src->Height(), src->BitsPerPixel(), src->Colors());
        std::memcpy(snapshot->Bits(), src->Bits(), size_t(src->Stride()) * src->Height());
        src = snapshot.get();
    }
    Paint pat = PatternPaint(dst, needPattern);
    std::optional<Converter> conv;
    if (src)
        conv.emplace(dst, *src, srcDc, srcValues);
    bool stretch = src && (sw != dw || sh != dh);
    int mode = dst.st.stretchMode;
    DWORD vmask = d.ValueMask();
    const Rgn& clip = dst.Clip();
    // The general path's tables: the source span of every destination column, once per call.
    const int xLo = std::max(dx, 0), xHi = std::min(dx + dw, d.Width());
    std::vector<int> colA, colB;
    if (src && xLo < xHi) {
        colA.resize(size_t(xHi - xLo));
        colB.resize(size_t(xHi - xLo));
        for (int x = xLo; x < xHi; ++x) {
            int ix = x - dx;
            if (flipX)
                ix = dw - 1 - ix;
            int first, last;
            SourceSpan(ix, sx, sw, dw, stretch, first, last);
            colA[size_t(x - xLo)] = first < 0 || first >= src->Width() ? -1 : first;
            colB[size_t(x - xLo)] = last;
        }
    }
    const int srcBpp = src ? src->BitsPerPixel() : 32;
    RowJob job{d,    src,   mask, conv ? &*conv : nullptr, pat,   needPattern, fore, back, vmask, dx, dw, mx, my,
               flipX, stretch, stretch && mode != COLORONCOLOR, mode, xLo, colA, colB};
    // A source of colour-table indexes: its table padded to every index the depth can hold and
    // masked to the destination, once per call.
    std::array<DWORD, 256> lut{};
    if (conv && srcBpp <= 8 && conv->GetKind() == Converter::Table) {
        const DWORD* table = conv->TableData();
        const DWORD n = conv->TableSize();
        for (DWORD i = 0; i < lut.size(); ++i)
            lut[i] = i < n ? table[i] & vmask : 0;
        job.lut = lut.data();
    }
    std::array<DWORD, 512> pairs{};
    if (job.lut && srcBpp == 4 && d.BitsPerPixel() == 32) {
        for (std::size_t byte = 0; byte < 256; ++byte) {
            pairs[2 * byte] = lut[byte >> 4] & 0x00FFFFFF;
            pairs[2 * byte + 1] = lut[byte & 0xF] & 0x00FFFFFF;
        }
        job.pairs = pairs.data();
    }
    for (int y = std::max(dy, 0); y < std::min(dy + dh, d.Height()); ++y) {
        const std::vector<int>* spans = clip.RowSpans(y);
        if (!spans)
            continue;
        int iy = y - dy;
        if (flipY)
            iy = dh - 1 - iy;
        int syA = 0, syB = 0;
        if (src) {
            SourceSpan(iy, sy, sh, dh, stretch, syA, syB);
            if (syA < 0 || syA >= src->Height())
                continue;
        }
        for (size_t k = 0; k + 1 < spans->size(); k += 2) {
            int a = std::max(dx, (*spans)[k]), b = std::min(dx + dw, (*spans)[k + 1]);
            if (src && !stretch && !flipX && !mask && conv->Identity() && a < b) {
                // One format, no stretching: the part [ca, cb) of the span that has source pixels.
                int sa = sx + (a - dx);
                int ca = std::max(a, a - sa), cb = std::min(b, a + (src->Width() - sa));
                // Fast path: a straight copy, whole bytes per pixel.
                if (fore == 0xCC && d.BitsPerPixel() >= 8) {
                    if (cb > ca) {
                        int bytes = d.BitsPerPixel() / 8;
                        std::memmove(d.Row(y) + size_t(ca) * bytes, src->Row(syA) + size_t(sx + (ca - dx)) * bytes,
                                     size_t(cb - ca) * bytes);
                    }
                    continue;
                }
                // Fast path: any operation on pixels of one or four bytes.
                if (d.BitsPerPixel() == 32 || d.BitsPerPixel() == 8) {
                    auto run = [&](auto* dp, const auto* sp) {
                        for (int x = ca; x < cb; ++x) {
                            DWORD p = needPattern ? pat.At(x, y) : 0;
                            dp[x] = static_cast<std::remove_reference_t<decltype(dp[x])>>(
                                Rop3(fore, p, sp[sx + (x - dx)], dp[x]) & vmask);
                        }
                    };
                    if (d.BitsPerPixel() == 32)
                        run(reinterpret_cast<DWORD*>(d.Row(y)), reinterpret_cast<const DWORD*>(src->Row(syA)));
                    else
                        run(d.Row(y), src->Row(syA));
                    continue;
                }
            }
            a = std::max(a, xLo);
            b = std::min(b, xHi);
            if (a < b)
                BltRowAny(srcBpp, d.BitsPerPixel(), job, y, iy, syA, syB, a, b);
        }
    }
}

int ColorTableSize(const BITMAPINFOHEADER& h)
{
    if (h.biSize == sizeof(BITMAPCOREHEADER)) {
        auto& c = reinterpret_cast<const BITMAPCOREHEADER&>(h);
        return c.bcBitCount <= 8 ? 1 << c.bcBitCount : 0;
    }
    if (h.biBitCount > 8)
        return int(h.biClrUsed);
    int full = 1 << h.biBitCount;
    return h.biClrUsed ? std::min<int>(int(h.biClrUsed), full) : full;
}

bool ParseDib(const BITMAPINFO* bmi, UINT usage, DC* dc, DibView& out)
{
    if (!bmi)
        return false;
    const BITMAPINFOHEADER& h = bmi->bmiHeader;
    out.hdr = &h;
    bool core = h.biSize == sizeof(BITMAPCOREHEADER);
    if (!core && h.biSize < sizeof(BITMAPINFOHEADER))
        return false;
    int bpp, w, hh;
    DWORD comp = BI_RGB;
    if (core) {
        auto& c = reinterpret_cast<const BITMAPCOREHEADER&>(h);
        bpp = c.bcBitCount;
        w = c.bcWidth;
        hh = c.bcHeight;
    } else {
        bpp = h.biBitCount;
        w = h.biWidth;
        hh = h.biHeight;
        comp = h.biCompression;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return false;
    bool rle = (comp == BI_RLE8 && bpp == 8) || (comp == BI_RLE4 && bpp == 4);
    if (comp != BI_RGB && !rle && !(comp == BI_BITFIELDS && (bpp == 16 || bpp == 32)))
        return false;
    if (w <= 0 || hh == 0 || (rle && hh < 0))
        return false;
    out.compression = comp;
    out.width = w;
    out.height = hh < 0 ? -hh : hh;
    out.topDown = hh < 0;
    out.bpp = bpp;
    size_t offset = h.biSize;
    if (comp == BI_BITFIELDS) {
        const DWORD* m = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(bmi) + h.biSize);
        if (h.biSize == sizeof(BITMAPINFOHEADER))
            offset += 12;
        else
            m = reinterpret_cast<const DWORD*>(reinterpret_cast<const BYTE*>(bmi) + 40);
        std::copy_n(m, 3, out.masks);
    } else if (bpp == 16) {
        out.masks[0] = 0x7C00;
        out.masks[1] = 0x03E0;
        out.masks[2] = 0x001F;
    } else if (bpp == 32) {
        out.masks[0] = 0xFF0000;
        out.masks[1] = 0x00FF00;
        out.masks[2] = 0x0000FF;
    }
    int n = ColorTableSize(h);
    auto colors = std::make_shared<host::ColorTable>();
    const BYTE* table = reinterpret_cast<const BYTE*>(bmi) + offset;
    if (bpp <= 8) {
        if (usage == DIB_PAL_COLORS) {
            Palette* pal = dc ? SelectedPalette(*dc) : As<Palette>(GetStockObject(DEFAULT_PALETTE), OBJ_PAL);
            const WORD* idx = reinterpret_cast<const WORD*>(table);
            for (int i = 0; i < n; ++i) {
                size_t k = idx[i] < pal->entries.size() ? idx[i] : 0;
                out.paletteIndexes.push_back(WORD(k));
                const PALETTEENTRY& e = pal->entries[k];
                colors->push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
            }
            offset += size_t(n) * 2;
        } else if (core) {
            for (int i = 0; i < n; ++i)
                colors->push_back(RGBQUAD{table[i * 3], table[i * 3 + 1], table[i * 3 + 2], 0});
            offset += size_t(n) * 3;
        } else {
            const RGBQUAD* q = reinterpret_cast<const RGBQUAD*>(table);
            colors->assign(q, q + n);
            offset += size_t(n) * 4;
        }
        colors->resize(size_t(1) << bpp, RGBQUAD{0, 0, 0, 0});
    } else if (!core) {
        offset += size_t(h.biClrUsed) * 4;
    }
    out.colors = colors;
    out.headerBytes = offset;
    out.imageBytes = rle ? size_t(h.biSizeImage) : size_t(((w * bpp + 31) / 32) * 4) * out.height;
    return true;
}

std::vector<DWORD> DibPaletteValues(DC& dc, const DibView& v)
{
    std::vector<DWORD> values;
    if (v.paletteIndexes.empty() || !dc.surface)
        return values;
    for (WORD i : v.paletteIndexes)
        values.push_back(PaletteEntryValue(dc, i));
    // Values beyond the colour table are black, as the table is padded.
    values.resize(size_t(1) << v.bpp, SourceColorValue(dc, RGB(0, 0, 0)));
    return values;
}

namespace {
int Shift(DWORD m)
{
    int s = 0;
    while (m && !(m & 1)) {
        m >>= 1;
        ++s;
    }
    return s;
}
int Bits(DWORD m)
{
    int n = 0;
    for (; m; m >>= 1)
        n += int(m & 1);
    return n;
}
DWORD Expand(DWORD v, DWORD m)
{
    if (!m)
        return 0;
    DWORD c = (v & m) >> Shift(m);
    int n = Bits(m);
    if (n >= 8)
        return c >> (n - 8);
    DWORD r = c << (8 - n);
    return r | (r >> n);
}
} // namespace

namespace {
// Run-length encoded DIBs (bottom-up, 8 or 4 bits) into one index byte per pixel, top row first.
// Pixels the runs skip stay at index 0.
void DecodeRle(const DibView& v, const BYTE* p, size_t n, std::vector<BYTE>& out)
{
    int w = v.width, h = v.height;
    out.assign(size_t(w) * h, 0);
    bool four = v.compression == BI_RLE4;
    int x = 0, y = 0; // y counts rows from the bottom
    auto put = [&](int index) {
        if (x < w && y < h)
            out[size_t(h - 1 - y) * w + x] = BYTE(index);
        ++x;
    };
    size_t i = 0;
    while (i + 1 < n) {
        BYTE a = p[i++], b = p[i++];
        if (a > 0) {
            for (int k = 0; k < a; ++k)
                put(four ? ((k & 1) ? (b & 0xF) : (b >> 4)) : b);
            continue;
        }
        if (b == 0) {
            x = 0;
            ++y;
        } else if (b == 1) {
            return;
        } else if (b == 2) {
            if (i + 1 >= n)
                return;
            x += p[i];
            y += p[i + 1];
            i += 2;
        } else {
            size_t bytes = four ? (size_t(b) + 1) / 2 : b;
            if (i + bytes > n)
                return;
            for (int k = 0; k < b; ++k)
                put(four ? ((k & 1) ? (p[i + size_t(k / 2)] & 0xF) : (p[i + size_t(k / 2)] >> 4)) : p[i + size_t(k)]);
            i += bytes + (bytes & 1);
        }
    }
}
} // namespace

std::shared_ptr<host::Surface> DibSurface(const DibView& v, const void* bits, std::vector<BYTE>& scratch)
{
    if (v.compression == BI_RLE8 || v.compression == BI_RLE4) {
        std::vector<BYTE> pixels;
        DecodeRle(v, static_cast<const BYTE*>(bits), v.imageBytes, pixels);
        int stride = ((v.width * 8 + 31) / 32) * 4;
        scratch.assign(size_t(stride) * v.height, 0);
        for (int y = 0; y < v.height; ++y)
            std::memcpy(&scratch[size_t(y) * stride], &pixels[size_t(y) * v.width], size_t(v.width));
        auto colors = std::make_shared<host::ColorTable>(*v.colors);
        colors->resize(256, RGBQUAD{0, 0, 0, 0});
        return std::make_shared<host::Surface>(v.width, v.height, 8, colors, scratch.data(), true);
    }
    void* p = const_cast<void*>(bits);
    bool standard = (v.bpp == 32 && v.masks[0] == 0xFF0000 && v.masks[1] == 0xFF00 && v.masks[2] == 0xFF) ||
                    (v.bpp == 16 && v.masks[0] == 0x7C00 && v.masks[1] == 0x03E0 && v.masks[2] == 0x1F) ||
                    v.bpp <= 8 || v.bpp == 24;
    auto raw = std::make_shared<host::Surface>(v.width, v.height, v.bpp, v.colors, p, v.topDown);
    if (standard)
        return raw;
    // Bit fields: unpacked into plain 32-bit pixels.
    int stride = v.width * 4;
    scratch.assign(size_t(stride) * v.height, 0);
    auto out = std::make_shared<host::Surface>(v.width, v.height, 32, nullptr, scratch.data(), true);
    for (int y = 0; y < v.height; ++y) {
        const BYTE* row = raw->Row(y);
        for (int x = 0; x < v.width; ++x) {
            DWORD px = v.bpp == 16 ? reinterpret_cast<const WORD*>(row)[x] : reinterpret_cast<const DWORD*>(row)[x];
            out->Set(x, y, (Expand(px, v.masks[0]) << 16) | (Expand(px, v.masks[1]) << 8) | Expand(px, v.masks[2]));
        }
    }
    return out;
}

} // namespace gdi

using namespace gdi;

BOOL WINAPI PatBlt(HDC hdc, int x, int y, int w, int h, DWORD rop)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    DWORD r = (rop >> 16) & 0xFF;
    if (!dc || RopNeedsSource(r))
        return FALSE;
    if (w < 0) {
        x += w;
        w = -w;
    }
    if (h < 0) {
        y += h;
        h = -h;
    }
    Blt(*dc, dc->Sx(x), dc->Sy(y), w, h, nullptr, nullptr, 0, 0, 0, 0, rop);
    return TRUE;
}

BOOL WINAPI StretchBlt(HDC hdc, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, int sw, int sh, DWORD rop)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return FALSE;
    DWORD r = (rop >> 16) & 0xFF;
    DC* src = AsDC(hdcSrc);
    if (RopNeedsSource(r) && (!src || !src->surface))
        return FALSE;
    if (RopNeedsSource(r))
        Blt(*dc, dc->Sx(x), dc->Sy(y), w, h, src->surface.get(), src, src->Sx(sx), src->Sy(sy), sw, sh, rop);
    else
        Blt(*dc, dc->Sx(x), dc->Sy(y), w, h, nullptr, nullptr, 0, 0, 0, 0, rop);
    return TRUE;
}

BOOL WINAPI BitBlt(HDC hdc, int x, int y, int cx, int cy, HDC hdcSrc, int x1, int y1, DWORD rop)
{
    return StretchBlt(hdc, x, y, cx, cy, hdcSrc, x1, y1, cx, cy, rop);
}

BOOL WINAPI MaskBlt(HDC hdc, int x, int y, int w, int h, HDC hdcSrc, int sx, int sy, HBITMAP hbmMask, int mx, int my,
                    DWORD rop)
{
    std::lock_guard lk(Lock());
    if (!hbmMask)
        return BitBlt(hdc, x, y, w, h, hdcSrc, sx, sy, rop & 0x00FFFFFF);
    DC* dc = AsDC(hdc);
    DC* src = AsDC(hdcSrc);
    Bitmap* m = As<Bitmap>(hbmMask, OBJ_BITMAP);
    if (!dc || !m || m->surface->BitsPerPixel() != 1)
        return FALSE;
    Blt(*dc, dc->Sx(x), dc->Sy(y), w, h, src ? src->surface.get() : nullptr, src, src ? src->Sx(sx) : 0,
        src ? src->Sy(sy) : 0, w, h, rop, m->surface.get(), mx, my);
    return TRUE;
}

int WINAPI StretchDIBits(HDC hdc, int xD, int yD, int wD, int hD, int xS, int yS, int wS, int hS, const void* bits,
                         const BITMAPINFO* bmi, UINT usage, DWORD rop)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    DibView v;
    if (!dc || !bits || !ParseDib(bmi, usage, dc, v))
        return 0;
    std::vector<BYTE> scratch;
    auto s = DibSurface(v, bits, scratch);
    // Source rows count from the bottom of a bottom-up DIB.
    int top = v.topDown ? yS : v.height - yS - hS;
    if (!v.topDown && hS < 0)
        top = v.height - yS;
    std::vector<DWORD> values = DibPaletteValues(*dc, v);
    Blt(*dc, dc->Sx(xD), dc->Sy(yD), wD, hD, s.get(), nullptr, xS, top, wS, hS, rop, nullptr, 0, 0,
        values.empty() ? nullptr : &values);
    return std::abs(hS);
}

namespace {
// The part of a DIB that bits passed with (start, lines) hold: `lines` scan lines from scan
// `start`. Compressed bits always hold the whole picture, so `start` becomes 0 for them.
DibView ScanBand(const DibView& v, UINT& start, UINT lines)
{
    DibView band = v;
    if (v.compression == BI_RLE8 || v.compression == BI_RLE4)
        start = 0;
    else
        band.height = int(std::min<UINT>(lines, UINT(v.height)));
    return band;
}
} // namespace

int WINAPI SetDIBitsToDevice(HDC hdc, int xD, int yD, DWORD w, DWORD h, int xS, int yS, UINT start, UINT lines,
                             const void* bits, const BITMAPINFO* bmi, UINT usage)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    DibView v;
    if (!dc || !bits || !ParseDib(bmi, usage, dc, v))
        return 0;
    const DibView band = ScanBand(v, start, lines);
    if (band.height <= 0)
        return 0;
    std::vector<BYTE> scratch;
    auto s = DibSurface(band, bits, scratch);
    std::vector<DWORD> values = DibPaletteValues(*dc, v);
    int copied = 0;
    for (int scan = yS; scan < yS + int(h); ++scan) {
        if (scan < int(start) || scan >= int(start) + band.height)
            continue;
        int rowInBand = scan - int(start);
        int srcRow = band.topDown ? rowInBand : band.height - 1 - rowInBand;
        int destRow = v.topDown ? yD + (scan - yS) : yD + int(h) - 1 - (scan - yS);
        Blt(*dc, dc->Sx(xD), dc->Sy(destRow), int(w), 1, s.get(), nullptr, xS, srcRow, int(w), 1, SRCCOPY, nullptr, 0,
            0, values.empty() ? nullptr : &values);
        ++copied;
    }
    return int(lines);
}

// ---- Bitmaps in the device's format -------------------------------------------------------------

namespace {
// The format of bitmaps compatible with a device context.
Bitmap* CompatibleBitmap(DC* dc, int w, int h)
{
    if (dc && dc->kind == DcKind::Memory && dc->surface) {
        const host::Surface& s = *dc->surface;
        Bitmap* b = NewBitmap(w, h, s.BitsPerPixel(), s.Indexed() ? s.Colors() : nullptr);
        b->monoDdb = s.BitsPerPixel() == 1 && s.Colors() == MonoColors();
        return b;
    }
    if (dc && dc->kind == DcKind::Printer)
        return NewBitmap(w, h, 32, nullptr);
    if (PaletteDisplay())
        return NewBitmap(w, h, 8, SystemColors());
    return NewBitmap(w, h, 32, nullptr);
}

// A DC that draws on a bitmap's surface without being a handle of its own.
struct ScratchDC {
    DC dc{DcKind::Memory};
    explicit ScratchDC(std::shared_ptr<host::Surface> s, DC* like)
    {
        dc.surface = std::move(s);
        if (like)
            dc.st.palette = like->st.palette;
    }
};
} // namespace

HBITMAP WINAPI CreateCompatibleBitmap(HDC hdc, int w, int h)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || w < 0 || h < 0)
        return nullptr;
    if (w == 0 || h == 0)
        return StockBitmap();
    if (!BitmapSizeOk(w, h))
        return nullptr;
    return HBITMAP(Register(CompatibleBitmap(dc, w, h)));
}

HBITMAP WINAPI CreateDiscardableBitmap(HDC hdc, int w, int h)
{
    return CreateCompatibleBitmap(hdc, w, h);
}

int WINAPI SetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, const void* bits, const BITMAPINFO* bmi,
                     UINT usage)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    DC* dc = AsDC(hdc);
    DibView v;
    if (!b || b->stock || !bits || !ParseDib(bmi, usage, dc, v))
        return 0;
    const DibView band = ScanBand(v, start, lines);
    if (band.height <= 0)
        return 0;
    std::vector<BYTE> scratch;
    auto s = DibSurface(band, bits, scratch);
    ScratchDC target(b->surface, dc);
    std::vector<DWORD> values = DibPaletteValues(target.dc, v);
    int surfaceH = b->surface->Height();
    int copied = 0;
    for (int r = 0; r < band.height; ++r) {
        int scan = int(start) + r; // scan lines count from the bottom of a bottom-up DIB
        int destRow = v.topDown ? scan : v.height - 1 - scan;
        int srcRow = band.topDown ? r : band.height - 1 - r;
        if (destRow < 0 || destRow >= surfaceH)
            continue;
        Blt(target.dc, 0, destRow, v.width, 1, s.get(), nullptr, 0, srcRow, v.width, 1, SRCCOPY, nullptr, 0, 0,
            values.empty() ? nullptr : &values);
        ++copied;
    }
    return copied;
}

HBITMAP WINAPI CreateDIBitmap(HDC hdc, const BITMAPINFOHEADER* bmih, DWORD init, const void* bits,
                              const BITMAPINFO* bmi, UINT usage)
{
    std::lock_guard lk(Lock());
    if (!bmih)
        return nullptr;
    int w, h;
    if (bmih->biSize == sizeof(BITMAPCOREHEADER)) {
        auto* c = reinterpret_cast<const BITMAPCOREHEADER*>(bmih);
        w = c->bcWidth;
        h = c->bcHeight;
    } else {
        w = bmih->biWidth;
        h = std::abs(bmih->biHeight);
    }
    DC* dc = AsDC(hdc);
    if (w <= 0 || h <= 0)
        return StockBitmap();
    if (!BitmapSizeOk(w, h))
        return nullptr;
    HBITMAP hbm = HBITMAP(Register(CompatibleBitmap(dc, w, h)));
    if ((init & CBM_INIT) && bits && bmi) {
        DibView v;
        if (!ParseDib(bmi, usage, dc, v)) {
            DeleteObject(hbm);
            return nullptr;
        }
        SetDIBits(hdc, hbm, 0, UINT(v.height), bits, bmi, usage);
    }
    return hbm;
}

HBITMAP WINAPI CreateDIBSection(HDC hdc, const BITMAPINFO* bmi, UINT usage, void** ppvBits, HANDLE hSection, DWORD)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    DibView v;
    if (ppvBits)
        *ppvBits = nullptr;
    if (hSection || !ParseDib(bmi, usage, dc, v) || bmi->bmiHeader.biSize == sizeof(BITMAPCOREHEADER) ||
        v.compression == BI_RLE8 || v.compression == BI_RLE4) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!BitmapSizeOk(v.width, v.height))
        return nullptr;
    bool standard = v.bpp <= 8 || v.bpp == 24 || (v.bpp == 32 && v.masks[0] == 0xFF0000 && v.masks[2] == 0xFF) ||
                    (v.bpp == 16 && v.masks[0] == 0x7C00 && v.masks[2] == 0x1F);
    if (!standard) {
        SetLastError(ERROR_NOT_SUPPORTED);
        return nullptr;
    }
    auto* b = new Bitmap;
    b->dib = true;
    b->dibHeader = bmi->bmiHeader;
    b->dibHeader.biSize = sizeof(BITMAPINFOHEADER);
    b->dibHeader.biSizeImage = DWORD(v.imageBytes);
    b->surface = std::make_shared<host::Surface>(v.width, v.height, v.bpp, v.bpp <= 8 ? v.colors : nullptr, v.topDown);
    if (ppvBits)
        *ppvBits = b->surface->Bits();
    return HBITMAP(Register(b));
}

namespace {
// The colour table GetDIBits reports for a depth.
host::ColorTable TableFor(Bitmap& b, int bpp, DC* dc)
{
    const host::Surface& s = *b.surface;
    if (s.Indexed() && s.BitsPerPixel() == bpp && s.Colors())
        return *s.Colors();
    if (bpp == 8 && dc) {
        Palette* p = SelectedPalette(*dc);
        if (!p->stock) {
            host::ColorTable t;
            for (auto& e : p->entries)
                t.push_back(RGBQUAD{e.peBlue, e.peGreen, e.peRed, 0});
            t.resize(256, RGBQUAD{0, 0, 0, 0});
            return t;
        }
    }
    return *DefaultColors(bpp);
}
} // namespace

int WINAPI GetDIBits(HDC hdc, HBITMAP hbm, UINT start, UINT lines, LPVOID bits, LPBITMAPINFO bmi, UINT usage)
{
    std::lock_guard lk(Lock());
    Bitmap* b = As<Bitmap>(hbm, OBJ_BITMAP);
    DC* dc = AsDC(hdc);
    if (!b || !bmi || bmi->bmiHeader.biSize < sizeof(BITMAPINFOHEADER))
        return 0;
    const host::Surface& s = *b->surface;
    BITMAPINFOHEADER& h = bmi->bmiHeader;
    if (!bits && h.biBitCount == 0) {
        h.biWidth = s.Width();
        h.biHeight = s.Height();
        h.biPlanes = 1;
        h.biBitCount = WORD(s.BitsPerPixel());
        h.biCompression = BI_RGB;
        h.biSizeImage = DWORD(((s.Width() * s.BitsPerPixel() + 31) / 32) * 4 * s.Height());
        h.biClrUsed = 0;
        h.biClrImportant = 0;
        return 1;
    }
    int bpp = h.biBitCount;
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32)
        return 0;
    if (h.biWidth == 0)
        h.biWidth = s.Width();
    if (h.biHeight == 0)
        h.biHeight = s.Height();
    bool topDown = h.biHeight < 0;
    int cols = std::min(h.biWidth, s.Width());
    int stride = ((h.biWidth * bpp + 31) / 32) * 4;
    h.biPlanes = 1;
    if (h.biCompression != BI_BITFIELDS)
        h.biCompression = BI_RGB;
    h.biSizeImage = DWORD(stride * std::abs(h.biHeight));
    std::shared_ptr<host::ColorTable> table;
    if (bpp <= 8) {
        table = std::make_shared<host::ColorTable>(TableFor(*b, bpp, dc));
        table->resize(size_t(1) << bpp, RGBQUAD{0, 0, 0, 0});
        if (usage == DIB_PAL_COLORS) {
            WORD* idx = reinterpret_cast<WORD*>(bmi->bmiColors);
            for (int i = 0; i < (1 << bpp); ++i)
                idx[i] = WORD(i);
        } else {
            std::copy(table->begin(), table->end(), bmi->bmiColors);
        }
        h.biClrUsed = 0;
    } else if (bpp == 16 || bpp == 32) {
        if (h.biCompression == BI_BITFIELDS) {
            DWORD* m = reinterpret_cast<DWORD*>(bmi->bmiColors);
            m[0] = bpp == 16 ? 0x7C00 : 0xFF0000;
            m[1] = bpp == 16 ? 0x03E0 : 0x00FF00;
            m[2] = bpp == 16 ? 0x001F : 0x0000FF;
        }
    }
    if (!bits)
        return 1;
    // The buffer holds the requested scan lines, the first one first in memory; scan lines count
    // from the bottom for bottom-up results, from the top otherwise.
    int n = int(std::min<UINT>(lines, UINT(std::max(0, s.Height() - int(start)))));
    if (n <= 0)
        return 0;
    host::Surface out(h.biWidth, n, bpp, table, bits, topDown);
    std::unordered_map<DWORD, DWORD> cache;
    bool same = s.BitsPerPixel() == bpp &&
                (!s.Indexed() || (table && s.Colors() && table->size() == s.Colors()->size() &&
                                  std::memcmp(table->data(), s.Colors()->data(), table->size() * sizeof(RGBQUAD)) == 0));
    int copied = 0;
    for (int k = 0; k < n; ++k) {
        int scan = int(start) + k;
        int y = topDown ? scan : s.Height() - 1 - scan;
        int destY = topDown ? k : n - 1 - k;
        for (int x = 0; x < cols; ++x) {
            DWORD v = s.Get(x, y);
            if (!same) {
                auto it = cache.find(v);
                if (it == cache.end())
                    it = cache.emplace(v, out.ColorToValue(s.ValueToColor(v))).first;
                v = it->second;
            }
            out.Set(x, destY, v);
        }
        ++copied;
    }
    return copied;
}

UINT WINAPI GetDIBColorTable(HDC hdc, UINT start, UINT n, RGBQUAD* out)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    Bitmap* b = dc ? As<Bitmap>(dc->st.bitmap, OBJ_BITMAP) : nullptr;
    if (!b || !b->dib || !b->surface->Indexed() || !out)
        return 0;
    auto& t = *b->surface->Colors();
    UINT k = 0;
    for (; k < n && start + k < t.size(); ++k)
        out[k] = t[start + k];
    return k;
}

UINT WINAPI SetDIBColorTable(HDC hdc, UINT start, UINT n, const RGBQUAD* in)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    Bitmap* b = dc ? As<Bitmap>(dc->st.bitmap, OBJ_BITMAP) : nullptr;
    if (!b || !b->dib || !b->surface->Indexed() || !in)
        return 0;
    auto t = std::make_shared<host::ColorTable>(*b->surface->Colors());
    UINT k = 0;
    for (; k < n && start + k < t->size(); ++k)
        (*t)[start + k] = in[k];
    b->surface->SetColors(t);
    dc->InvalidateClip();
    return k;
}

BOOL WINAPI ScrollDC(HDC hdc, int dx, int dy, const RECT* scroll, const RECT* clip, HRGN update, LPRECT updateRect)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !dc->surface)
        return FALSE;
    // Everything in surface coordinates: what may change, what is visible, what moves.
    const Rgn visible = dc->Clip();
    auto toSurface = [&](const RECT& r) {
        return Rgn(RECT{dc->Sx(std::min(r.left, r.right)), dc->Sy(std::min(r.top, r.bottom)),
                        dc->Sx(std::max(r.left, r.right)), dc->Sy(std::max(r.top, r.bottom))});
    };
    Rgn area = scroll ? toSurface(*scroll) : visible;
    Rgn limit = clip ? Rgn::Combine(area, toSurface(*clip), RGN_AND) : area;
    limit = Rgn::Combine(limit, visible, RGN_AND);
    Rgn moved = Rgn::Combine(area, visible, RGN_AND);
    moved.Offset(dx, dy);
    moved = Rgn::Combine(moved, limit, RGN_AND);
    if (!moved.Empty()) {
        RECT box = moved.Box();
        dc->effClip = moved;
        dc->clipDirty = false;
        Blt(*dc, box.left, box.top, box.right - box.left, box.bottom - box.top, dc->surface.get(), dc,
            box.left - dx, box.top - dy, box.right - box.left, box.bottom - box.top, SRCCOPY);
        dc->InvalidateClip();
    }
    Rgn fresh = Rgn::Combine(limit, moved, RGN_DIFF);
    if (auto* r = As<Region>(update, OBJ_REGION)) {
        r->rgn = fresh;
        r->rgn.Offset(-dc->origin.x, -dc->origin.y);
    }
    if (updateRect) {
        RECT b = fresh.Box();
        if (!fresh.Empty())
            OffsetRect(&b, -dc->Sx(0), -dc->Sy(0));
        *updateRect = b;
    }
    return TRUE;
}
