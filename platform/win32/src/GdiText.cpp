// Fonts and text: logical fonts mapped through fontconfig onto FreeType faces (with the usual
// substitutions for the platform's font names), glyphs rendered without anti-aliasing, metrics
// measured the platform's way (cell height from the Windows ascent and descent), and the
// text output and measuring functions. Text is Windows-1252.
#include "GdiInternal.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <map>
#include <unordered_map>

namespace gdi {

namespace {

const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The symbol font's code points 0x20..0xFF and the Unicode characters they show.
const char16_t kSymbol[224] = {
    0x0020, 0x0021, 0x2200, 0x0023, 0x2203, 0x0025, 0x0026, 0x220B, 0x0028, 0x0029, 0x2217, 0x002B, 0x002C, 0x2212,
    0x002E, 0x002F, 0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B,
    0x003C, 0x003D, 0x003E, 0x003F, 0x2245, 0x0391, 0x0392, 0x03A7, 0x0394, 0x0395, 0x03A6, 0x0393, 0x0397, 0x0399,
    0x03D1, 0x039A, 0x039B, 0x039C, 0x039D, 0x039F, 0x03A0, 0x0398, 0x03A1, 0x03A3, 0x03A4, 0x03A5, 0x03C2, 0x03A9,
    0x039E, 0x03A8, 0x0396, 0x005B, 0x2234, 0x005D, 0x22A5, 0x005F, 0x203E, 0x03B1, 0x03B2, 0x03C7, 0x03B4, 0x03B5,
    0x03C6, 0x03B3, 0x03B7, 0x03B9, 0x03D5, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BF, 0x03C0, 0x03B8, 0x03C1, 0x03C3,
    0x03C4, 0x03C5, 0x03D6, 0x03C9, 0x03BE, 0x03C8, 0x03B6, 0x007B, 0x007C, 0x007D, 0x223C, 0x0000,
    // 0x80..0x9F are not used by the symbol font.
    0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
    0x20AC, 0x03D2, 0x2032, 0x2264, 0x2044, 0x221E, 0x0192, 0x2663, 0x2666, 0x2665, 0x2660, 0x2194, 0x2190, 0x2191,
    0x2192, 0x2193, 0x00B0, 0x00B1, 0x2033, 0x2265, 0x00D7, 0x221D, 0x2202, 0x2022, 0x00F7, 0x2260, 0x2261, 0x2248,
    0x2026, 0x23D0, 0x23AF, 0x21B5, 0x2135, 0x2111, 0x211C, 0x2118, 0x2297, 0x2295, 0x2205, 0x2229, 0x222A, 0x2283,
    0x2287, 0x2284, 0x2282, 0x2286, 0x2208, 0x2209, 0x2220, 0x2207, 0x00AE, 0x00A9, 0x2122, 0x220F, 0x221A, 0x22C5,
    0x00AC, 0x2227, 0x2228, 0x21D4, 0x21D0, 0x21D1, 0x21D2, 0x21D3, 0x25CA, 0x2329, 0x00AE, 0x00A9, 0x2122, 0x2211,
    0x239B, 0x239C, 0x239D, 0x23A1, 0x23A2, 0x23A3, 0x23A7, 0x23A8, 0x23A9, 0x23AA, 0x0000, 0x232A, 0x222B, 0x2320,
    0x23AE, 0x2321, 0x239E, 0x239F, 0x23A0, 0x23A4, 0x23A5, 0x23A6, 0x23AB, 0x23AC, 0x23AD, 0x0000};

// The product's mathematics face "VeltraMath": its code points 0x20..0xFF and the Unicode
// characters they show, drawn from a free face that has them all.
const char16_t kVeltraMath[224] = {
    // 0x20..0x7E: as ASCII.
    0x0020, 0x0021, 0x0022, 0x0023, 0x0024, 0x0025, 0x0026, 0x0027, 0x0028, 0x0029, 0x002A, 0x002B, 0x002C, 0x002D, 0x002E, 0x002F,
    0x0030, 0x0031, 0x0032, 0x0033, 0x0034, 0x0035, 0x0036, 0x0037, 0x0038, 0x0039, 0x003A, 0x003B, 0x003C, 0x003D, 0x003E, 0x003F,
    0x0040, 0x0041, 0x0042, 0x0043, 0x0044, 0x0045, 0x0046, 0x0047, 0x0048, 0x0049, 0x004A, 0x004B, 0x004C, 0x004D, 0x004E, 0x004F,
    0x0050, 0x0051, 0x0052, 0x0053, 0x0054, 0x0055, 0x0056, 0x0057, 0x0058, 0x0059, 0x005A, 0x005B, 0x005C, 0x005D, 0x005E, 0x005F,
    0x0060, 0x0061, 0x0062, 0x0063, 0x0064, 0x0065, 0x0066, 0x0067, 0x0068, 0x0069, 0x006A, 0x006B, 0x006C, 0x006D, 0x006E, 0x006F,
    0x0070, 0x0071, 0x0072, 0x0073, 0x0074, 0x0075, 0x0076, 0x0077, 0x0078, 0x0079, 0x007A, 0x007B, 0x007C, 0x007D, 0x007E, 0x0000,
    // 0x80..0x87: combining hat, tilde, macron, overline, dot, diaeresis, vector arrow, stroke
    // (no advance of their own); 0x88..0xFF: operators, relations, arrows, sets, Greek.
    0x0302, 0x0303, 0x0304, 0x0305, 0x0307, 0x0308, 0x20D7, 0x0338, 0x2211, 0x220F, 0x2210, 0x222B, 0x222C, 0x222D, 0x222E, 0x221A,
    0x221B, 0x221C, 0x2202, 0x2207, 0x2206, 0x221E, 0x221D, 0x2205, 0x2208, 0x2209, 0x220B, 0x2282, 0x2283, 0x2286, 0x2287, 0x222A,
    0x2229, 0x2227, 0x2228, 0x00AC, 0x2200, 0x2203, 0x2204, 0x2264, 0x2265, 0x2260, 0x2248, 0x2261, 0x2245, 0x223C, 0x00B1, 0x2213,
    0x00D7, 0x00F7, 0x00B7, 0x2218, 0x2295, 0x2297, 0x22A5, 0x2225, 0x2220, 0x00B0, 0x2032, 0x2033, 0x2190, 0x2192, 0x2194, 0x21D0,
    0x21D2, 0x21D4, 0x2191, 0x2193, 0x21A6, 0x27E8, 0x27E9, 0x2308, 0x2309, 0x230A, 0x230B, 0x2016, 0x2115, 0x2124, 0x211A, 0x211D,
    0x2102, 0x2135, 0x210F, 0x2113, 0x2234, 0x2235, 0x2026, 0x22EF, 0x22EE, 0x22F1, 0x226A, 0x226B, 0x227A, 0x227B, 0x22A2, 0x22A8,
    0x03B1, 0x03B2, 0x03B3, 0x03B4, 0x03B5, 0x03B6, 0x03B7, 0x03B8, 0x03B9, 0x03BA, 0x03BB, 0x03BC, 0x03BD, 0x03BE, 0x03C0, 0x03C1,
    0x03C3, 0x03C4, 0x03C6, 0x03C7, 0x03C8, 0x03C9, 0x0393, 0x0394, 0x0398, 0x039B, 0x039E, 0x03A0, 0x03A3, 0x03A6, 0x03A8, 0x03A9,

};

struct Glyph {
    int left = 0, top = 0, width = 0, rows = 0, pitch = 0;
    int advance = 0;
    std::vector<BYTE> bits; // 1 bit per pixel, most significant bit first
};

FT_Library Library()
{
    static FT_Library lib = [] {
        FT_Library l = nullptr;
        FT_Init_FreeType(&l);
        return l;
    }();
    return lib;
}

std::string Lower(std::string s)
{
    for (auto& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// What a face name of the platform stands for.
struct FaceRequest {
    std::string family;  // the free family to look for
    std::string reported; // the name GetTextFace gives
    bool bold = false, italic = false;
    // The code-point table of a face with its own encoding (Symbol, VeltraMath); NULL: Windows-1252.
    const char16_t* codes = nullptr;
};

FaceRequest MapFace(const LOGFONTA& lf)
{
    FaceRequest r;
    std::string name(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE));
    std::string low = Lower(name);
    auto strip = [&](const char* suffix, bool& flag) {
        size_t n = std::strlen(suffix);
        if (low.size() > n && low.compare(low.size() - n, n, suffix) == 0) {
            low.resize(low.size() - n);
            name.resize(name.size() - n);
            flag = true;
            return true;
        }
        return false;
    };
    while (strip(" bold", r.bold) || strip(" italic", r.italic) || strip(" oblique", r.italic)) {
    }
    static const std::map<std::string, std::string> known = {
        {"arial", "Liberation Sans"},         {"helvetica", "Liberation Sans"},
        {"arial narrow", "Liberation Sans Narrow"},
        {"ms sans serif", "Liberation Sans"}, {"ms shell dlg", "Liberation Sans"},
        {"ms shell dlg 2", "Liberation Sans"}, {"system", "Liberation Sans"},
        {"small fonts", "Liberation Sans"},   {"tahoma", "Liberation Sans"},
        {"verdana", "Liberation Sans"},       {"times new roman", "Liberation Serif"},
        {"times", "Liberation Serif"},        {"tms rmn", "Liberation Serif"},
        {"ms serif", "Liberation Serif"},     {"courier new", "Liberation Mono"},
        {"courier", "Liberation Mono"},       {"terminal", "Liberation Mono"},
        {"fixedsys", "Liberation Mono"},      {"lucida console", "Liberation Mono"},
        {"symbol", "DejaVu Sans"},            {"veltramath", "DejaVu Sans"},
    };
    if (low.empty()) {
        int family = lf.lfPitchAndFamily & 0xF0;
        if (family == FF_ROMAN) {
            r.family = "Liberation Serif";
            r.reported = "Times New Roman";
        } else if (family == FF_MODERN || (lf.lfPitchAndFamily & 3) == FIXED_PITCH) {
            r.family = "Liberation Mono";
            r.reported = "Courier New";
        } else {
            r.family = "Liberation Sans";
            r.reported = "Arial";
        }
        return r;
    }
    if (auto it = known.find(low); it != known.end()) {
        r.family = it->second;
        r.reported = name;
        r.codes = low == "symbol" ? kSymbol : low == "veltramath" ? kVeltraMath : nullptr;
        return r;
    }
    r.family = name;
    r.reported = name;
    return r;
}

struct Match {
    std::string file;
    int index = 0;
    bool bold = false, italic = false;
    bool exactFamily = false;
};

Match FindFont(const std::string& family, bool bold, bool italic)
{
    static FcConfig* config = [] {
        FcConfig* c = FcInitLoadConfigAndFonts();
        // Fontconfig keeps caches until it is finalised; give them back at exit.
        std::atexit([] {
            FcConfigDestroy(config);
            FcFini();
        });
        return c;
    }();
    Match m;
    FcPattern* pat = FcPatternCreate();
    FcPatternAddString(pat, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pat, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddInteger(pat, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pat, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pat, FcMatchPattern);
    FcDefaultSubstitute(pat);
    FcResult res;
    FcPattern* found = FcFontMatch(config, pat, &res);
    if (found) {
        FcChar8* file = nullptr;
        FcChar8* fam = nullptr;
        int weight = 0, slant = 0;
        if (FcPatternGetString(found, FC_FILE, 0, &file) == FcResultMatch)
            m.file = reinterpret_cast<const char*>(file);
        FcPatternGetInteger(found, FC_INDEX, 0, &m.index);
        if (FcPatternGetInteger(found, FC_WEIGHT, 0, &weight) == FcResultMatch)
            m.bold = weight >= FC_WEIGHT_DEMIBOLD;
        if (FcPatternGetInteger(found, FC_SLANT, 0, &slant) == FcResultMatch)
            m.italic = slant != FC_SLANT_ROMAN;
        for (int i = 0; FcPatternGetString(found, FC_FAMILY, i, &fam) == FcResultMatch; ++i)
            if (Lower(reinterpret_cast<const char*>(fam)) == Lower(family))
                m.exactFamily = true;
        FcPatternDestroy(found);
    }
    FcPatternDestroy(pat);
    return m;
}

} // namespace

struct RealFont {
    FT_Face face = nullptr;
    int ppem = 0;
    int ascent = 0, descent = 0, internalLeading = 0, externalLeading = 0;
    int aveCharWidth = 0, maxCharWidth = 0, weight = FW_NORMAL;
    bool italic = false, underline = false, strikeOut = false;
    const char16_t* codes = nullptr;  // see FaceRequest
    bool synthBold = false, synthItalic = false, fixedPitch = false;
    int underlinePos = 0, underlineThick = 1, strikePos = 0, strikeThick = 1;
    BYTE charSet = ANSI_CHARSET, family = FF_SWISS;
    std::string reported;
    std::unordered_map<unsigned, Glyph> glyphs;

    ~RealFont()
    {
        if (face)
            FT_Done_Face(face);
    }

    unsigned CodePoint(BYTE ch) const
    {
        if (codes)
            return ch >= 0x20 ? codes[ch - 0x20] : ch;
        if (ch >= 0x80 && ch < 0xA0)
            return kCp1252High[ch - 0x80];
        return ch;
    }

    const Glyph& Get(BYTE ch)
    {
        auto it = glyphs.find(ch);
        if (it != glyphs.end())
            return it->second;
        Glyph g;
        unsigned cp = CodePoint(ch);
        FT_UInt index = cp ? FT_Get_Char_Index(face, cp) : 0;
        if (face && FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO | FT_LOAD_NO_BITMAP) == 0) {
            FT_GlyphSlot slot = face->glyph;
            if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
                if (synthBold)
                    FT_Outline_EmboldenXY(&slot->outline, 64, 0);
                if (synthItalic) {
                    FT_Matrix shear{0x10000, 0x3333, 0, 0x10000};
                    FT_Outline_Transform(&slot->outline, &shear);
                }
            }
            g.advance = int((slot->advance.x + 32) >> 6) + (synthBold ? 1 : 0);
            if (FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) == 0 && slot->bitmap.pixel_mode == FT_PIXEL_MODE_MONO) {
                const FT_Bitmap& b = slot->bitmap;
                g.left = slot->bitmap_left;
                g.top = slot->bitmap_top;
                g.width = int(b.width);
                g.rows = int(b.rows);
                g.pitch = (g.width + 7) / 8;
                g.bits.resize(size_t(g.pitch) * g.rows);
                for (int y = 0; y < g.rows; ++y)
                    std::memcpy(&g.bits[size_t(y) * g.pitch], b.buffer + ptrdiff_t(y) * b.pitch, size_t(g.pitch));
            }
        }
        return glyphs.emplace(ch, std::move(g)).first->second;
    }
};

namespace {

// The average character width the classic way: lowercase letters and the space weighted by
// their frequency in English text (in font units). Newer fonts store an average over all their
// glyphs instead, which would make the free faces look wider than the ones they stand in for.
long ClassicAverageWidth(FT_Face face)
{
    static const int weights[27] = {64, 14, 27, 35, 100, 20, 14, 42, 63, 3, 6, 35, 20, 56,
                                    56, 17, 4,  49, 56, 71,  31, 10, 18, 3,  18, 2, 166};
    long sum = 0;
    for (int i = 0; i < 27; ++i) {
        FT_ULong ch = i < 26 ? FT_ULong('a' + i) : FT_ULong(' ');
        FT_Fixed adv = 0;
        FT_UInt index = FT_Get_Char_Index(face, ch);
        if (!index || FT_Get_Advance(face, index, FT_LOAD_NO_SCALE, &adv) != 0)
            return face->max_advance_width / 2;
        sum += long(adv) * weights[i];
    }
    return sum / 1000;
}

std::shared_ptr<RealFont> Realize(const LOGFONTA& lf)
{
    static std::map<std::string, std::weak_ptr<RealFont>> cache;
    std::string key(reinterpret_cast<const char*>(&lf), offsetof(LOGFONTA, lfFaceName));
    key += Lower(std::string(lf.lfFaceName, strnlen(lf.lfFaceName, LF_FACESIZE)));
    if (auto it = cache.find(key); it != cache.end())
        if (auto f = it->second.lock())
            return f;
    FaceRequest req = MapFace(lf);
    bool wantBold = req.bold || lf.lfWeight >= FW_SEMIBOLD;
    bool wantItalic = req.italic || lf.lfItalic;
    Match m = FindFont(req.family, wantBold, wantItalic);
    if (!m.exactFamily || m.file.empty()) {
        // A face that does not exist falls back to the sans face.
        m = FindFont("Liberation Sans", wantBold, wantItalic);
        req.codes = nullptr;
        req.reported = "Arial";
    }
    auto f = std::make_shared<RealFont>();
    f->reported = req.reported;
    f->codes = req.codes;
    if (m.file.empty() || FT_New_Face(Library(), m.file.c_str(), m.index, &f->face) != 0) {
        f->face = nullptr;
        return f;
    }
    FT_Face face = f->face;
    f->synthBold = wantBold && !m.bold;
    f->synthItalic = wantItalic && !m.italic;
    // A bold face named by its name ("Arial Bold") reports the bold weight.
    f->weight = std::max(lf.lfWeight ? int(lf.lfWeight) : int(FW_NORMAL), req.bold ? int(FW_BOLD) : 0);
    f->italic = wantItalic;
    f->underline = lf.lfUnderline != 0;
    f->strikeOut = lf.lfStrikeOut != 0;
    f->fixedPitch = FT_IS_FIXED_WIDTH(face);
    f->charSet = req.codes ? BYTE(SYMBOL_CHARSET) : (lf.lfCharSet == DEFAULT_CHARSET ? BYTE(ANSI_CHARSET) : lf.lfCharSet);
    std::string fam = Lower(req.family);
    f->family = fam.find("serif") != std::string::npos && fam.find("sans") == std::string::npos ? FF_ROMAN
                : f->fixedPitch                                                                 ? FF_MODERN
                                                                                                : FF_SWISS;
    int upem = face->units_per_EM ? face->units_per_EM : 2048;
    auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    auto* hhea = static_cast<TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    int winAscent = os2 ? int(os2->usWinAscent) : face->ascender;
    int winDescent = os2 ? int(os2->usWinDescent) : -face->descender;
    if (winAscent + winDescent <= 0) {
        winAscent = face->ascender;
        winDescent = -face->descender;
    }
    // Positive heights are cell heights, negative ones character (em) heights, 0 a default.
    int height = lf.lfHeight == 0 ? 16 : lf.lfHeight;
    int ppem = height < 0 ? -height : int(std::lround(double(height) * upem / (winAscent + winDescent)));
    ppem = std::max(ppem, 1);
    f->ppem = ppem;
    auto scale = [&](long v) { return int(std::lround(double(v) * ppem / upem)); };
    f->ascent = scale(winAscent);
    f->descent = scale(winDescent);
    f->internalLeading = f->ascent + f->descent - ppem;
    if (hhea) {
        long gap = long(hhea->Line_Gap) + hhea->Ascender - hhea->Descender - (winAscent + winDescent);
        f->externalLeading = std::max(0, scale(gap));
    }
    FT_Set_Pixel_Sizes(face, 0, FT_UInt(ppem));
    f->aveCharWidth = scale(ClassicAverageWidth(face));
    if (lf.lfWidth > 0 && f->aveCharWidth > 0) {
        FT_UInt xppem = FT_UInt(std::max(1L, std::lround(double(ppem) * lf.lfWidth / f->aveCharWidth)));
        FT_Set_Pixel_Sizes(face, xppem, FT_UInt(ppem));
        f->aveCharWidth = lf.lfWidth;
    }
    f->maxCharWidth = scale(face->max_advance_width);
    if (f->synthBold) {
        f->aveCharWidth += 1;
        f->maxCharWidth += 1;
    }
    f->underlineThick = std::max(1, scale(face->underline_thickness));
    f->underlinePos = std::max(1, -scale(face->underline_position));
    f->strikeThick = os2 ? std::max(1, scale(os2->yStrikeoutSize)) : f->underlineThick;
    f->strikePos = os2 ? scale(os2->yStrikeoutPosition) : f->ascent / 3;
    cache[key] = f;
    return f;
}

Font* FontObject(DC& dc)
{
    Font* f = As<Font>(dc.st.font, OBJ_FONT);
    return f ? f : As<Font>(GetStockObject(SYSTEM_FONT), OBJ_FONT);
}

} // namespace

RealFont& FontOf(DC& dc)
{
    Font* f = FontObject(dc);
    if (!f->real)
        f->real = Realize(f->lf);
    return *f->real;
}

int TextWidth(DC& dc, const char* s, int n)
{
    RealFont& f = FontOf(dc);
    int w = 0;
    for (int i = 0; i < n; ++i)
        w += f.Get(BYTE(s[i])).advance + dc.st.charExtra;
    return w;
}

int FontHeight(DC& dc)
{
    RealFont& f = FontOf(dc);
    return f.ascent + f.descent;
}

int FontExternalLeading(DC& dc)
{
    return FontOf(dc).externalLeading;
}

int FontAveCharWidth(DC& dc)
{
    return FontOf(dc).aveCharWidth;
}

namespace {

// Draws glyphs with their baseline at surface row `base`, starting at surface column `x`;
// `dx` gives each character's advance when not null.
void PaintGlyphs(DC& dc, int x, int base, const char* s, int n, const INT* dx, int underlineAt)
{
    RealFont& f = FontOf(dc);
    Paint ink;
    ink.value = Resolve(dc, dc.st.textColor);
    int pen = x;
    int start = x;
    for (int i = 0; i < n; ++i) {
        const Glyph& g = f.Get(BYTE(s[i]));
        for (int row = 0; row < g.rows; ++row) {
            const BYTE* bits = &g.bits[size_t(row) * g.pitch];
            int y = base - g.top + row;
            int run = -1;
            for (int col = 0; col <= g.width; ++col) {
                bool on = col < g.width && ((bits[col >> 3] >> (7 - (col & 7))) & 1);
                if (on && run < 0)
                    run = col;
                else if (!on && run >= 0) {
                    FillSpan(dc, y, pen + g.left + run, pen + g.left + col, ink, R2_COPYPEN);
                    run = -1;
                }
            }
        }
        int adv = dx ? dx[i] : g.advance + dc.st.charExtra;
        if (i == underlineAt) {
            for (int t = 0; t < f.underlineThick; ++t)
                FillSpan(dc, base + f.underlinePos + t, pen, pen + g.advance, ink, R2_COPYPEN);
        }
        pen += adv;
    }
    if (f.underline)
        for (int t = 0; t < f.underlineThick; ++t)
            FillSpan(dc, base + f.underlinePos + t, start, pen, ink, R2_COPYPEN);
    if (f.strikeOut)
        for (int t = 0; t < f.strikeThick; ++t)
            FillSpan(dc, base - f.strikePos + t, start, pen, ink, R2_COPYPEN);
}

// Restricts a DC's clip to a rectangle (surface coordinates) while it lives.
class ExtraClip {
public:
    ExtraClip(DC& dc, const RECT* r) : m_dc(dc), m_active(r != nullptr)
    {
        if (m_active) {
            Rgn c = Rgn::Combine(dc.Clip(), Rgn(*r), RGN_AND);
            dc.effClip = std::move(c);
            dc.clipDirty = false;
        }
    }
    ~ExtraClip()
    {
        if (m_active)
            m_dc.InvalidateClip();
    }

private:
    DC& m_dc;
    bool m_active;
};

// A printer page keeps the words drawn on it, so that the printed document carries its text.
void NoteWords(DC& dc, int sx, int sbase, const char* s, int n, const INT* dx)
{
    if (dc.kind != DcKind::Printer || !dc.job || n <= 0)
        return;
    RealFont& f = FontOf(dc);
    int x = sx, start = -1, startX = 0;
    for (int i = 0; i <= n; ++i) {
        const bool space = i == n || s[i] == ' ' || s[i] == '\t';
        if (!space && start < 0) {
            start = i;
            startX = x;
        }
        if (space && start >= 0) {
            NotePrintedText(dc, startX, sbase, f.ascent + f.descent, x - startX, s + start, i - start);
            start = -1;
        }
        if (i < n)
            x += dx ? dx[i] : f.Get(BYTE(s[i])).advance + dc.st.charExtra;
    }
}

BOOL TextOutImpl(DC& dc, int x, int y, UINT options, const RECT* rect, const char* s, int n, const INT* dx)
{
    RealFont& f = FontOf(dc);
    int width = 0;
    for (int i = 0; i < n; ++i)
        width += dx ? dx[i] : f.Get(BYTE(s[i])).advance + dc.st.charExtra;
    UINT align = dc.st.textAlign;
    if (align & TA_UPDATECP) {
        x = dc.st.pos.x;
        y = dc.st.pos.y;
    }
    int left = x;
    switch (align & TA_CENTER) {
    case TA_RIGHT: left = x - width; break;
    case TA_CENTER: left = x - width / 2; break;
    default: break;
    }
    int base = y;
    switch (align & TA_BASELINE) {
    case TA_BASELINE: base = y; break;
    case TA_BOTTOM: base = y - f.descent; break;
    default: base = y + f.ascent; break;
    }
    if (align & TA_UPDATECP) {
        if ((align & TA_CENTER) == TA_LEFT)
            dc.st.pos.x = x + width;
        else if ((align & TA_CENTER) == TA_RIGHT)
            dc.st.pos.x = x - width;
    }
    if (!dc.surface)
        return TRUE;
    RECT sr{};
    if (rect)
        sr = RECT{dc.Sx(std::min(rect->left, rect->right)), dc.Sy(std::min(rect->top, rect->bottom)),
                  dc.Sx(std::max(rect->left, rect->right)), dc.Sy(std::max(rect->top, rect->bottom))};
    Paint bk;
    bk.value = Resolve(dc, dc.st.bkColor);
    if (rect && (options & ETO_OPAQUE))
        FillRgnSurface(dc, Rgn(sr), bk, R2_COPYPEN);
    ExtraClip clip(dc, (rect && (options & ETO_CLIPPED)) ? &sr : nullptr);
    if (dc.st.bkMode == OPAQUE)
        FillRgnSurface(dc, Rgn(RECT{dc.Sx(left), dc.Sy(base - f.ascent), dc.Sx(left + width), dc.Sy(base + f.descent)}),
                       bk, R2_COPYPEN);
    PaintGlyphs(dc, dc.Sx(left), dc.Sy(base), s, n, dx, -1);
    NoteWords(dc, dc.Sx(left), dc.Sy(base), s, n, dx);
    return TRUE;
}

} // namespace

void DrawTextLine(DC& dc, int x, int y, const char* s, int n, const RECT* clip, int underlineAt)
{
    if (!dc.surface)
        return;
    RealFont& f = FontOf(dc);
    RECT sr{};
    if (clip)
        sr = RECT{dc.Sx(clip->left), dc.Sy(clip->top), dc.Sx(clip->right), dc.Sy(clip->bottom)};
    ExtraClip c(dc, clip ? &sr : nullptr);
    int width = TextWidth(dc, s, n);
    if (dc.st.bkMode == OPAQUE) {
        Paint bk;
        bk.value = Resolve(dc, dc.st.bkColor);
        FillRgnSurface(dc, Rgn(RECT{dc.Sx(x), dc.Sy(y), dc.Sx(x + width), dc.Sy(y + f.ascent + f.descent)}), bk,
                       R2_COPYPEN);
    }
    PaintGlyphs(dc, dc.Sx(x), dc.Sy(y + f.ascent), s, n, nullptr, underlineAt);
    NoteWords(dc, dc.Sx(x), dc.Sy(y + f.ascent), s, n, nullptr);
}

} // namespace gdi

using namespace gdi;

HFONT WINAPI CreateFontIndirectA(const LOGFONTA* lf)
{
    if (!lf)
        return nullptr;
    std::lock_guard lk(Lock());
    auto* f = new Font;
    f->lf = *lf;
    f->lf.lfFaceName[LF_FACESIZE - 1] = 0;
    return HFONT(Register(f));
}

HFONT WINAPI CreateFontA(int height, int width, int esc, int orient, int weight, DWORD italic, DWORD underline,
                         DWORD strike, DWORD charset, DWORD outPrec, DWORD clipPrec, DWORD quality, DWORD pitch,
                         LPCSTR face)
{
    LOGFONTA lf{};
    lf.lfHeight = height;
    lf.lfWidth = width;
    lf.lfEscapement = esc;
    lf.lfOrientation = orient;
    lf.lfWeight = weight;
    lf.lfItalic = BYTE(italic);
    lf.lfUnderline = BYTE(underline);
    lf.lfStrikeOut = BYTE(strike);
    lf.lfCharSet = BYTE(charset);
    lf.lfOutPrecision = BYTE(outPrec);
    lf.lfClipPrecision = BYTE(clipPrec);
    lf.lfQuality = BYTE(quality);
    lf.lfPitchAndFamily = BYTE(pitch);
    if (face)
        std::strncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirectA(&lf);
}

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR s, int n)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || (!s && n > 0) || n < 0)
        return FALSE;
    return TextOutImpl(*dc, x, y, 0, nullptr, s, n, nullptr);
}

BOOL WINAPI ExtTextOutA(HDC hdc, int x, int y, UINT options, const RECT* rect, LPCSTR s, UINT n, const INT* dx)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || (!s && n > 0))
        return FALSE;
    return TextOutImpl(*dc, x, y, options, rect, s ? s : "", int(n), dx);
}

namespace {
// Tab stops: an explicit list, one repeated distance, or every eight average characters.
int NextTab(int pos, int origin, int count, const INT* stops, int ave)
{
    int rel = pos - origin;
    if (count > 1 && stops) {
        for (int i = 0; i < count; ++i)
            if (stops[i] > rel)
                return origin + stops[i];
        return pos; // past the last stop: no move
    }
    int step = (count == 1 && stops && stops[0] > 0) ? stops[0] : 8 * ave;
    if (step <= 0)
        return pos;
    return origin + (rel / step + 1) * step;
}

LONG Tabbed(DC& dc, int x, int y, const char* s, int n, int count, const INT* stops, int origin, bool draw)
{
    RealFont& f = FontOf(dc);
    int pos = x;
    int start = 0;
    UINT savedAlign = dc.st.textAlign;
    if (draw)
        dc.st.textAlign = (savedAlign & TA_BASELINE) | TA_LEFT;
    for (int i = 0; i <= n; ++i) {
        if (i < n && s[i] != '\t')
            continue;
        int w = TextWidth(dc, s + start, i - start);
        if (draw)
            TextOutImpl(dc, pos, y, 0, nullptr, s + start, i - start, nullptr);
        pos += w;
        if (i < n) {
            int next = NextTab(pos, origin, count, stops, f.aveCharWidth);
            if (draw && dc.st.bkMode == OPAQUE && next > pos && dc.surface) {
                Paint bk;
                bk.value = Resolve(dc, dc.st.bkColor);
                FillRgnSurface(dc, Rgn(RECT{dc.Sx(pos), dc.Sy(y), dc.Sx(next), dc.Sy(y + f.ascent + f.descent)}), bk,
                               R2_COPYPEN);
            }
            pos = next;
        }
        start = i + 1;
    }
    dc.st.textAlign = savedAlign;
    return MAKELONG(pos - x, f.ascent + f.descent);
}
} // namespace

LONG WINAPI TabbedTextOutA(HDC hdc, int x, int y, LPCSTR s, int n, int count, const INT* stops, int origin)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !s || n < 0)
        return 0;
    return Tabbed(*dc, x, y, s, n, count, stops, origin, true);
}

DWORD WINAPI GetTabbedTextExtentA(HDC hdc, LPCSTR s, int n, int count, const INT* stops)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !s || n < 0)
        return 0;
    return DWORD(Tabbed(*dc, 0, 0, s, n, count, stops, 0, false));
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR s, int n, LPSIZE size)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !size || n < 0 || (!s && n > 0))
        return FALSE;
    size->cx = TextWidth(*dc, s, n);
    size->cy = FontHeight(*dc);
    return TRUE;
}

BOOL WINAPI GetTextExtentPointA(HDC hdc, LPCSTR s, int n, LPSIZE size)
{
    return GetTextExtentPoint32A(hdc, s, n, size);
}

BOOL WINAPI GetTextExtentExPointA(HDC hdc, LPCSTR s, int n, int maxExtent, LPINT fit, LPINT dx, LPSIZE size)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || n < 0 || (!s && n > 0))
        return FALSE;
    RealFont& f = FontOf(*dc);
    int w = 0, fits = 0;
    for (int i = 0; i < n; ++i) {
        w += f.Get(BYTE(s[i])).advance + dc->st.charExtra;
        if (dx)
            dx[i] = w;
        if (w <= maxExtent)
            fits = i + 1;
    }
    if (fit)
        *fit = fits;
    if (size) {
        size->cx = w;
        size->cy = f.ascent + f.descent;
    }
    return TRUE;
}

BOOL WINAPI GetTextMetricsA(HDC hdc, LPTEXTMETRICA tm)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc || !tm)
        return FALSE;
    RealFont& f = FontOf(*dc);
    *tm = TEXTMETRICA{};
    tm->tmAscent = f.ascent;
    tm->tmDescent = f.descent;
    tm->tmHeight = f.ascent + f.descent;
    tm->tmInternalLeading = f.internalLeading;
    tm->tmExternalLeading = f.externalLeading;
    tm->tmAveCharWidth = f.aveCharWidth;
    tm->tmMaxCharWidth = f.maxCharWidth;
    tm->tmWeight = f.weight;
    tm->tmOverhang = 0;
    tm->tmDigitizedAspectX = 96;
    tm->tmDigitizedAspectY = 96;
    tm->tmFirstChar = 0x1E;
    tm->tmLastChar = 0xFF;
    tm->tmDefaultChar = 0x1F;
    tm->tmBreakChar = 0x20;
    tm->tmItalic = f.italic ? 0xFF : 0;
    tm->tmUnderlined = f.underline ? 0xFF : 0;
    tm->tmStruckOut = f.strikeOut ? 0xFF : 0;
    // The fixed-pitch bit set means a variable-pitch font.
    tm->tmPitchAndFamily = BYTE((f.fixedPitch ? 0 : TMPF_FIXED_PITCH) | TMPF_VECTOR | TMPF_TRUETYPE | f.family);
    tm->tmCharSet = f.charSet;
    return TRUE;
}

namespace {

// The selected font of a DC asked about the characters first to last, or null when the DC, the
// answer's buffer or the range is bad. The caller holds the GDI lock.
RealFont* FontForRange(HDC hdc, UINT first, UINT last, const void* out)
{
    DC* dc = AsDC(hdc);
    if (!dc || !out || last < first || last > 0xFF)
        return nullptr;
    return &FontOf(*dc);
}

} // namespace

BOOL WINAPI GetCharWidth32A(HDC hdc, UINT first, UINT last, LPINT out)
{
    std::lock_guard lk(Lock());
    RealFont* f = FontForRange(hdc, first, last, out);
    if (!f)
        return FALSE;
    for (UINT c = first; c <= last; ++c)
        out[c - first] = f->Get(BYTE(c)).advance;
    return TRUE;
}

BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT out)
{
    return GetCharWidth32A(hdc, first, last, out);
}

BOOL WINAPI GetCharABCWidthsA(HDC hdc, UINT first, UINT last, LPABC out)
{
    std::lock_guard lk(Lock());
    RealFont* f = FontForRange(hdc, first, last, out);
    if (!f)
        return FALSE;
    for (UINT c = first; c <= last; ++c) {
        const Glyph& g = f->Get(BYTE(c));
        ABC abc{g.left, UINT(std::max(g.width, 0)), g.advance - g.left - g.width};
        if (g.width == 0)
            abc = ABC{0, 0, g.advance};
        out[c - first] = abc;
    }
    return TRUE;
}

int WINAPI GetTextFaceA(HDC hdc, int c, LPSTR name)
{
    std::lock_guard lk(Lock());
    DC* dc = AsDC(hdc);
    if (!dc)
        return 0;
    const std::string& face = FontOf(*dc).reported;
    if (!name)
        return int(face.size()) + 1;
    if (c <= 0)
        return 0;
    int n = std::min(c - 1, int(face.size()));
    std::memcpy(name, face.data(), size_t(n));
    name[n] = 0;
    return n;
}
