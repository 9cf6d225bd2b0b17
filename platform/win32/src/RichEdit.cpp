// The rich edit control of the system library "RICHED32.DLL" (window class "RichEdit"): text in
// runs of character formats (face, size, bold, italic, underline, colour), word-wrapped into
// lines of their own heights, with the caret, selection by mouse and keyboard, the clipboard,
// scrolling, and the EM_ interface of the edit control and of the rich edit control (streams in
// RTF and plain text, searching, character formats). Paragraphs end with "\r\n".
#include "ControlsInternal.h"
#include "ModuleTable.h"

#include <host/RtfReader.h>

#include <richedit.h>
#include <winclip.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <map>
#include <memory>

namespace controls {
namespace {

using host::RtfCharFormat;

struct Line {
    size_t start = 0;
    size_t length = 0;       // without the paragraph end
    size_t breakLength = 0;  // 2 after a paragraph ("\r\n"), 0 for a wrapped line or the last one
    int top = 0;             // in the document, pixels
    int height = 0;
    int ascent = 0;
};

// A character format with the font and widths made for it on first use.
struct Face {
    RtfCharFormat format;
    HFONT font = nullptr;
    bool measured = false;
    std::array<int, 256> widths{};
    int height = 0;
    int ascent = 0;
};

struct RichState {
    std::string text;
    std::vector<uint32_t> formatOf;  // one format index per byte of text
    std::vector<std::unique_ptr<Face>> faces;
    std::map<std::string, uint32_t> faceIndex;
    uint32_t defaultFormat = 0;
    uint32_t typingFormat = 0;  // the format of text typed or inserted at the caret
    size_t anchor = 0;
    size_t caret = 0;
    size_t limit = 32767;
    bool modified = false;
    std::vector<Line> lines;
    int firstLine = 0;
    RECT format{};
    bool formatSet = false;
    int defaultTab = 720;  // twips
    DWORD eventMask = ENM_NONE;
    bool systemBackground = true;
    COLORREF background = 0;
    HFONT setFont = nullptr;
    bool hideSelection = false;
    bool vscroll = false;  // created with WS_VSCROLL: the bar shows while the text needs it
    bool focused = false;
    bool selecting = false;
    bool created = false;
};

LONG Style(HWND hwnd) { return GetWindowLongA(hwnd, GWL_STYLE); }
bool Multi(HWND hwnd) { return (Style(hwnd) & ES_MULTILINE) != 0; }
bool ReadOnly(HWND hwnd) { return (Style(hwnd) & ES_READONLY) != 0; }
RichState& S(HWND hwnd) { return StateOf<RichState>(hwnd); }
size_t SelStart(const RichState& s) { return std::min(s.anchor, s.caret); }
size_t SelEnd(const RichState& s) { return std::max(s.anchor, s.caret); }

int ScreenDpi()
{
    HDC dc = GetDC(nullptr);
    int dpi = GetDeviceCaps(dc, LOGPIXELSY);
    ReleaseDC(nullptr, dc);
    return dpi > 0 ? dpi : 96;
}

std::string FaceKey(const RtfCharFormat& f)
{
    char buf[96];
    snprintf(buf, sizeof buf, "|%d|%d|%d|%d%d%d|%d|%08X", f.family, f.charset, f.halfPoints, f.bold, f.italic, f.underline,
             f.autoColor, static_cast<unsigned>(f.color));
    return f.face + buf;
}

uint32_t IndexOf(RichState& s, const RtfCharFormat& f)
{
    std::string key = FaceKey(f);
    auto it = s.faceIndex.find(key);
    if (it != s.faceIndex.end())
        return it->second;
    auto face = std::make_unique<Face>();
    face->format = f;
    s.faces.push_back(std::move(face));
    uint32_t index = static_cast<uint32_t>(s.faces.size() - 1);
    s.faceIndex.emplace(key, index);
    return index;
}

// Fonts, widths and heights of a format, made on first use.
Face& Measured(HWND hwnd, RichState& s, uint32_t index)
{
    Face& face = *s.faces[std::min<size_t>(index, s.faces.size() - 1)];
    if (face.measured)
        return face;
    const RtfCharFormat& f = face.format;
    LOGFONTA lf{};
    lf.lfHeight = -MulDiv(f.halfPoints, ScreenDpi(), 144);
    lf.lfWeight = f.bold ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = f.italic;
    lf.lfUnderline = f.underline;
    lf.lfCharSet = static_cast<BYTE>(f.charset);
    // The face goes through the platform's font map; without a name the family chooses.
    lf.lfPitchAndFamily = static_cast<BYTE>(std::clamp(f.family, 0, 5) << 4);
    lstrcpynA(lf.lfFaceName, f.face.c_str(), LF_FACESIZE);
    face.font = CreateFontIndirectA(&lf);
    HDC dc = GetDC(hwnd);
    HGDIOBJ old = SelectObject(dc, face.font ? face.font : GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    face.height = std::max<int>(1, tm.tmHeight);
    face.ascent = std::max<int>(1, tm.tmAscent);
    GetCharWidth32A(dc, 0, 255, face.widths.data());
    SelectObject(dc, old);
    ReleaseDC(hwnd, dc);
    face.measured = true;
    return face;
}

void DropFaces(RichState& s)
{
    for (auto& face : s.faces)
        if (face->font)
            DeleteObject(face->font);
    s.faces.clear();
    s.faceIndex.clear();
}

// The control's default format: the font given with WM_SETFONT, else MS Sans Serif 10 points.
RtfCharFormat DefaultFormat(const RichState& s)
{
    RtfCharFormat f;
    f.face = "MS Sans Serif";
    f.halfPoints = 20;
    if (s.setFont) {
        LOGFONTA lf{};
        if (GetObjectA(s.setFont, sizeof lf, &lf)) {
            f.face = lf.lfFaceName;
            int px = lf.lfHeight < 0 ? -lf.lfHeight : lf.lfHeight;
            if (px > 0)
                f.halfPoints = std::max(1, MulDiv(px, 144, ScreenDpi()));
            f.bold = lf.lfWeight >= FW_BOLD;
            f.italic = lf.lfItalic != 0;
            f.underline = lf.lfUnderline != 0;
        }
    }
    return f;
}

RECT FormatRect(HWND hwnd, const RichState& s)
{
    if (s.formatSet)
        return s.format;
    RECT r;
    GetClientRect(hwnd, &r);
    r.left += 1;
    r.right -= 1;
    if (r.right < r.left)
        r.right = r.left;
    return r;
}

int TabWidth(HWND hwnd, RichState& s, int x)
{
    (void)hwnd;
    int step = std::max(1, MulDiv(s.defaultTab, ScreenDpi(), 1440));
    return (x / step + 1) * step - x;
}

// Width of one character at x (from the line's start).
int CharWidth(HWND hwnd, RichState& s, size_t i, int x)
{
    unsigned char c = static_cast<unsigned char>(s.text[i]);
    if (c == '\t')
        return TabWidth(hwnd, s, x);
    if (c == '\r' || c == '\n')
        return 0;
    return Measured(hwnd, s, s.formatOf[i]).widths[c];
}

bool WordWraps(HWND hwnd)
{
    LONG style = Style(hwnd);
    return (style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL) && !(style & WS_HSCROLL);
}

void FinishLine(HWND hwnd, RichState& s, Line& l, int& top)
{
    int height = 0, ascent = 0;
    for (size_t i = l.start; i < l.start + l.length; ++i) {
        Face& f = Measured(hwnd, s, s.formatOf[i]);
        ascent = std::max(ascent, f.ascent);
        height = std::max(height, f.ascent + (f.height - f.ascent));
    }
    if (height == 0) {
        // An empty line takes the height of its paragraph end, or of the format before it.
        size_t at = l.start < s.text.size() ? l.start : (l.start > 0 ? l.start - 1 : 0);
        Face& f = Measured(hwnd, s, s.text.empty() ? s.typingFormat : s.formatOf[at]);
        ascent = f.ascent;
        height = f.height;
    }
    int descent = 0;
    for (size_t i = l.start; i < l.start + l.length; ++i) {
        Face& f = Measured(hwnd, s, s.formatOf[i]);
        descent = std::max(descent, f.height - f.ascent);
    }
    if (l.length)
        height = ascent + descent;
    l.top = top;
    l.height = height;
    l.ascent = ascent;
    top += height;
    s.lines.push_back(l);
}

// Splits the text into lines: at paragraph ends, and where the next word no longer fits.
void Layout(HWND hwnd, RichState& s)
{
    s.lines.clear();
    RECT fr = FormatRect(hwnd, s);
    int width = std::max<int>(1, fr.right - fr.left);
    bool wrap = WordWraps(hwnd);
    const std::string& t = s.text;
    size_t pos = 0;
    int top = 0;
    for (;;) {
        size_t hard = Multi(hwnd) ? t.find("\r\n", pos) : std::string::npos;
        size_t paraEnd = hard == std::string::npos ? t.size() : hard;
        size_t start = pos;
        int x = 0;
        size_t lastBreak = std::string::npos;  // just after the last space on the line
        for (size_t i = start; i < paraEnd; ++i) {
            int w = CharWidth(hwnd, s, i, x);
            if (wrap && x + w > width && i > start && t[i] != ' ') {
                size_t brk = lastBreak != std::string::npos && lastBreak > start ? lastBreak : i;
                Line l{start, brk - start, 0};
                FinishLine(hwnd, s, l, top);
                start = brk;
                lastBreak = std::string::npos;
                x = 0;
                for (size_t k = start; k < i; ++k)
                    x += CharWidth(hwnd, s, k, x);
                w = CharWidth(hwnd, s, i, x);
            }
            x += w;
            if (t[i] == ' ' || t[i] == '\t')
                lastBreak = i + 1;
        }
        if (hard == std::string::npos) {
            Line l{start, paraEnd - start, 0};
            FinishLine(hwnd, s, l, top);
            break;
        }
        Line l{start, paraEnd - start, 2};
        FinishLine(hwnd, s, l, top);
        pos = hard + 2;
    }
}

int LineOf(const RichState& s, size_t index)
{
    // The last line that starts at or before the index (a wrap point belongs to the next line).
    auto it = std::upper_bound(s.lines.begin(), s.lines.end(), index, [](size_t i, const Line& l) { return i < l.start; });
    if (it == s.lines.begin())
        return 0;
    return static_cast<int>(it - s.lines.begin()) - 1;
}

int Bottom(const RichState& s) { return s.lines.empty() ? 0 : s.lines.back().top + s.lines.back().height; }

// Lines wholly visible from the first visible line (at least one).
int VisibleLines(HWND hwnd, const RichState& s)
{
    RECT fr = FormatRect(hwnd, s);
    int room = fr.bottom - fr.top;
    int n = 0;
    if (s.lines.empty())
        return 1;
    int base = s.lines[static_cast<size_t>(s.firstLine)].top;
    for (size_t i = static_cast<size_t>(s.firstLine); i < s.lines.size(); ++i) {
        if (s.lines[i].top + s.lines[i].height - base > room)
            break;
        ++n;
    }
    return std::max(1, n);
}

int LineY(HWND hwnd, const RichState& s, int line)
{
    RECT fr = FormatRect(hwnd, s);
    return fr.top + s.lines[static_cast<size_t>(line)].top - s.lines[static_cast<size_t>(s.firstLine)].top;
}

int XWithin(HWND hwnd, RichState& s, const Line& l, size_t index)
{
    int x = 0;
    for (size_t i = l.start; i < std::min(index, l.start + l.length); ++i)
        x += CharWidth(hwnd, s, i, x);
    return x;
}

int LineLeft(HWND hwnd, const RichState& s) { return FormatRect(hwnd, s).left; }

POINT PosFromChar(HWND hwnd, RichState& s, size_t index)
{
    int line = LineOf(s, index);
    const Line& l = s.lines[static_cast<size_t>(line)];
    return POINT{LineLeft(hwnd, s) + XWithin(hwnd, s, l, index), LineY(hwnd, s, line)};
}

size_t CharFromPos(HWND hwnd, RichState& s, POINT p)
{
    int line = static_cast<int>(s.lines.size()) - 1;
    for (size_t i = static_cast<size_t>(s.firstLine); i < s.lines.size(); ++i)
        if (p.y < LineY(hwnd, s, static_cast<int>(i)) + s.lines[i].height) {
            line = static_cast<int>(i);
            break;
        }
    if (p.y < FormatRect(hwnd, s).top)
        line = std::max(0, s.firstLine - 1);
    const Line& l = s.lines[static_cast<size_t>(line)];
    int x = 0;
    int target = p.x - LineLeft(hwnd, s);
    for (size_t i = l.start; i < l.start + l.length; ++i) {
        int w = CharWidth(hwnd, s, i, x);
        if (target < x + w / 2)
            return i;
        x += w;
    }
    return l.start + l.length;
}

void Notify(HWND hwnd, RichState& s, WORD code)
{
    DWORD need = code == EN_CHANGE ? ENM_CHANGE : code == EN_UPDATE ? ENM_UPDATE
                 : (code == EN_VSCROLL || code == EN_HSCROLL) ? ENM_SCROLL : 0xFFFFFFFFu;
    if (need != 0xFFFFFFFFu && !(s.eventMask & need))
        return;
    controls::Notify(hwnd, code);
}

void NotifySelChange(HWND hwnd, RichState& s)
{
    if (!(s.eventMask & ENM_SELCHANGE))
        return;
    HWND parent = GetParent(hwnd);
    if (!parent)
        return;
    SELCHANGE sc{};
    sc.nmhdr.hwndFrom = hwnd;
    sc.nmhdr.idFrom = static_cast<UINT_PTR>(GetWindowLongPtrA(hwnd, GWLP_ID));
    sc.nmhdr.code = EN_SELCHANGE;
    sc.chrg.cpMin = static_cast<LONG>(SelStart(s));
    sc.chrg.cpMax = static_cast<LONG>(SelEnd(s));
    size_t n = SelEnd(s) - SelStart(s);
    sc.seltyp = static_cast<WORD>(n == 0 ? SEL_EMPTY : (n == 1 ? SEL_TEXT : SEL_TEXT | SEL_MULTICHAR));
    SendMessageA(parent, WM_NOTIFY, sc.nmhdr.idFrom, reinterpret_cast<LPARAM>(&sc));
}

void UpdateScrollBars(HWND hwnd, RichState& s)
{
    if (!s.vscroll)
        return;
    int visible = 1;
    {
        // The page: the lines that fit from the top of the document.
        RECT fr = FormatRect(hwnd, s);
        int n = 0;
        for (const Line& l : s.lines) {
            if (l.top + l.height > fr.bottom - fr.top)
                break;
            ++n;
        }
        visible = std::max(1, n);
    }
    // Scrolled past the last full page (EM_LINESCROLL goes up to the last line), the range grows
    // so that the thumb still shows the first visible line.
    int last = std::max(static_cast<int>(s.lines.size()) - 1, s.firstLine + visible - 1);
    SCROLLINFO si{sizeof si, SIF_ALL | ((Style(hwnd) & ES_DISABLENOSCROLL) ? SIF_DISABLENOSCROLL : 0u), 0, last,
                  static_cast<UINT>(visible), s.firstLine, 0};
    SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
}

void PlaceCaret(HWND hwnd, RichState& s)
{
    if (!s.focused)
        return;
    POINT p = PosFromChar(hwnd, s, s.caret);
    SetCaretPos(p.x, p.y);
}

void Refresh(HWND hwnd, RichState& s)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateScrollBars(hwnd, s);
    PlaceCaret(hwnd, s);
}

void Relayout(HWND hwnd, RichState& s)
{
    Layout(hwnd, s);
    s.firstLine = std::clamp(s.firstLine, 0, std::max(0, static_cast<int>(s.lines.size()) - 1));
}

bool ScrollCaret(HWND hwnd, RichState& s)
{
    if (!Multi(hwnd))
        return false;
    int line = LineOf(s, s.caret);
    int before = s.firstLine;
    if (line < s.firstLine) {
        s.firstLine = line;
    } else if (line >= s.firstLine + VisibleLines(hwnd, s)) {
        // The first line from which the caret's line still fits: the first whose top is no
        // more than a page above that line's bottom.
        RECT fr = FormatRect(hwnd, s);
        const Line& l = s.lines[static_cast<size_t>(line)];
        int need = l.top + l.height - (fr.bottom - fr.top);
        auto it = std::lower_bound(s.lines.begin(), s.lines.end(), need, [](const Line& x, int top) { return x.top < top; });
        s.firstLine = std::min(line, static_cast<int>(it - s.lines.begin()));
    }
    if (before == s.firstLine)
        return false;
    Refresh(hwnd, s);
    return true;
}

void SetSelection(HWND hwnd, RichState& s, size_t anchor, size_t caret)
{
    anchor = std::min(anchor, s.text.size());
    caret = std::min(caret, s.text.size());
    auto fix = [&](size_t i) { return (i > 0 && i < s.text.size() && s.text[i - 1] == '\r' && s.text[i] == '\n') ? i - 1 : i; };
    anchor = fix(anchor);
    caret = fix(caret);
    if (anchor == s.anchor && caret == s.caret)
        return;
    s.anchor = anchor;
    s.caret = caret;
    // Typing goes on in the format of the character before the caret.
    if (!s.text.empty())
        s.typingFormat = s.formatOf[caret > 0 ? caret - 1 : 0];
    InvalidateRect(hwnd, nullptr, TRUE);
    PlaceCaret(hwnd, s);
    NotifySelChange(hwnd, s);
}

// Replaces the whole text with one in runs (or in the typing format when runs is empty).
void SetContent(HWND hwnd, RichState& s, std::string text, std::vector<uint32_t> formats)
{
    if (formats.size() != text.size())
        formats.assign(text.size(), s.defaultFormat);
    s.text = std::move(text);
    s.formatOf = std::move(formats);
    s.anchor = s.caret = 0;
    s.firstLine = 0;
    s.typingFormat = s.text.empty() ? s.defaultFormat : s.formatOf[0];
    Relayout(hwnd, s);
    Refresh(hwnd, s);
}

// Replaces the selection; `formats` gives the inserted bytes' formats (else the typing format).
bool Replace(HWND hwnd, RichState& s, const std::string& insertIn, const std::vector<uint32_t>* formats, bool notify)
{
    size_t a = SelStart(s), b = SelEnd(s);
    std::string insert = insertIn;
    size_t room = s.limit - std::min(s.limit, s.text.size() - (b - a));
    bool truncated = false;
    if (insert.size() > room) {
        insert.resize(room);
        if (!insert.empty() && insert.back() == '\r')
            insert.pop_back();
        truncated = true;
    }
    if (insert.empty() && a == b) {
        if (truncated && notify)
            controls::Notify(hwnd, EN_MAXTEXT);
        return false;
    }
    uint32_t typing = s.typingFormat;
    s.text.replace(a, b - a, insert);
    s.formatOf.erase(s.formatOf.begin() + static_cast<std::ptrdiff_t>(a), s.formatOf.begin() + static_cast<std::ptrdiff_t>(b));
    std::vector<uint32_t> inserted(insert.size(), typing);
    if (formats)
        for (size_t i = 0; i < insert.size() && i < formats->size(); ++i)
            inserted[i] = (*formats)[i];
    s.formatOf.insert(s.formatOf.begin() + static_cast<std::ptrdiff_t>(a), inserted.begin(), inserted.end());
    s.anchor = s.caret = a + insert.size();
    s.typingFormat = typing;
    s.modified = true;
    Relayout(hwnd, s);
    if (notify)
        Notify(hwnd, s, EN_UPDATE);
    ScrollCaret(hwnd, s);
    Refresh(hwnd, s);
    if (notify) {
        Notify(hwnd, s, EN_CHANGE);
        if (truncated)
            controls::Notify(hwnd, EN_MAXTEXT);
    }
    NotifySelChange(hwnd, s);
    return true;
}

// Text with its formats from an RTF stream or plain text.
void TakeDocument(RichState& s, const std::string& data, bool rtf, std::string& text, std::vector<uint32_t>& formats)
{
    if (rtf) {
        host::RtfDocument doc = host::ReadRtf(data);
        if (doc.status != host::RtfStatus::NotRtf) {
            s.defaultTab = doc.defaultTab;
            text = std::move(doc.text);
            formats.assign(text.size(), s.defaultFormat);
            for (const host::RtfRun& r : doc.runs) {
                uint32_t index = IndexOf(s, r.format);
                std::fill(formats.begin() + static_cast<std::ptrdiff_t>(r.start),
                          formats.begin() + static_cast<std::ptrdiff_t>(r.start + r.length), index);
            }
            return;
        }
    }
    // Plain text: lone CR or LF become paragraph ends too.
    text.clear();
    for (size_t i = 0; i < data.size(); ++i) {
        char c = data[i];
        if (c == '\0')
            continue;
        if (c == '\r' || c == '\n') {
            text += "\r\n";
            if (c == '\r' && i + 1 < data.size() && data[i + 1] == '\n')
                ++i;
        } else {
            text += c;
        }
    }
    formats.assign(text.size(), s.typingFormat);
}

LRESULT StreamIn(HWND hwnd, RichState& s, WPARAM flags, EDITSTREAM* es)
{
    if (!es || !es->pfnCallback)
        return 0;
    es->dwError = 0;
    std::string data;
    constexpr LONG kChunk = 4096;
    constexpr size_t kMaxStream = 64u << 20;
    BYTE buffer[kChunk];
    for (;;) {
        LONG got = 0;
        DWORD rc = es->pfnCallback(es->dwCookie, buffer, kChunk, &got);
        if (rc != 0) {
            es->dwError = rc;
            break;
        }
        if (got <= 0)
            break;
        data.append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(std::min(got, kChunk)));
        if (data.size() >= kMaxStream)
            break;
    }
    bool rtf = (flags & 3) == SF_RTF || (flags & 3) == SF_RTFNOOBJS;
    std::string text;
    std::vector<uint32_t> formats;
    TakeDocument(s, data, rtf, text, formats);
    if (!Multi(hwnd)) {
        size_t end = text.find("\r\n");
        if (end != std::string::npos) {
            text.resize(end);
            formats.resize(end);
        }
    }
    if (flags & SFF_SELECTION) {
        Replace(hwnd, s, text, &formats, false);
    } else {
        // A whole document comes in whole: the reader bounds it, the typing limit does not.
        SetContent(hwnd, s, std::move(text), std::move(formats));
        s.modified = false;
    }
    return static_cast<LRESULT>(s.text.size());
}

// RTF of a range, written in the subset that the reader reads.
std::string WriteRtf(RichState& s, size_t from, size_t to)
{
    std::vector<std::string> fonts;
    std::vector<uint32_t> colors;
    auto fontIndex = [&](const std::string& face) {
        for (size_t i = 0; i < fonts.size(); ++i)
            if (fonts[i] == face)
                return static_cast<int>(i);
        fonts.push_back(face);
        return static_cast<int>(fonts.size() - 1);
    };
    auto colorIndex = [&](const RtfCharFormat& f) {
        if (f.autoColor)
            return 0;
        for (size_t i = 0; i < colors.size(); ++i)
            if (colors[i] == f.color)
                return static_cast<int>(i + 1);
        colors.push_back(f.color);
        return static_cast<int>(colors.size());
    };
    std::string body;
    uint32_t current = 0xFFFFFFFFu;
    for (size_t i = from; i < to; ++i) {
        if (s.formatOf[i] != current) {
            current = s.formatOf[i];
            const RtfCharFormat& f = s.faces[current]->format;
            body += "\\plain\\f" + std::to_string(fontIndex(f.face)) + "\\fs" + std::to_string(f.halfPoints);
            body += f.bold ? "\\b" : "";
            body += f.italic ? "\\i" : "";
            body += f.underline ? "\\ul" : "";
            int c = colorIndex(f);
            if (c)
                body += "\\cf" + std::to_string(c);
            body += ' ';
        }
        unsigned char c = static_cast<unsigned char>(s.text[i]);
        if (c == '\r' && i + 1 < to && s.text[i + 1] == '\n') {
            body += "\\par\r\n";
            ++i;
        } else if (c == '\t') {
            body += "\\tab ";
        } else if (c == '\\' || c == '{' || c == '}') {
            body += '\\';
            body += static_cast<char>(c);
        } else if (c < 0x20 || c >= 0x80) {
            char hex[8];
            snprintf(hex, sizeof hex, "\\'%02x", c);
            body += hex;
        } else {
            body += static_cast<char>(c);
        }
    }
    std::string out = "{\\rtf1\\ansi\\deff0\\deftab" + std::to_string(s.defaultTab) + "{\\fonttbl";
    if (fonts.empty())
        fonts.push_back(s.faces[s.defaultFormat]->format.face);
    for (size_t i = 0; i < fonts.size(); ++i) {
        std::string name;
        for (char c : fonts[i])
            if (c != ';' && c != '{' && c != '}' && c != '\\')
                name += c;
        out += "{\\f" + std::to_string(i) + "\\fnil " + name + ";}";
    }
    out += "}{\\colortbl ;";
    for (uint32_t c : colors)
        out += "\\red" + std::to_string(c & 0xFF) + "\\green" + std::to_string((c >> 8) & 0xFF) + "\\blue" +
               std::to_string((c >> 16) & 0xFF) + ";";
    out += "}\r\n" + body + "\r\n}";
    return out;
}

LRESULT StreamOut(RichState& s, WPARAM flags, EDITSTREAM* es)
{
    if (!es || !es->pfnCallback)
        return 0;
    es->dwError = 0;
    size_t from = 0, to = s.text.size();
    if (flags & SFF_SELECTION) {
        from = SelStart(s);
        to = SelEnd(s);
    }
    bool rtf = (flags & 3) == SF_RTF || (flags & 3) == SF_RTFNOOBJS;
    std::string data = rtf ? WriteRtf(s, from, to) : s.text.substr(from, to - from);
    size_t done = 0;
    while (done < data.size()) {
        LONG chunk = static_cast<LONG>(std::min<size_t>(data.size() - done, 4096));
        LONG wrote = 0;
        DWORD rc = es->pfnCallback(es->dwCookie, reinterpret_cast<LPBYTE>(data.data() + done), chunk, &wrote);
        if (rc != 0) {
            es->dwError = rc;
            break;
        }
        if (wrote <= 0)
            break;
        done += static_cast<size_t>(std::min(wrote, chunk));
    }
    return static_cast<LRESULT>(rtf ? done : std::min(done, to - from));
}

bool IsWordChar(char c) { return IsCharAlphaNumericA(c) || c == '_' || c == '\''; }

LRESULT Find(RichState& s, WPARAM flags, const CHARRANGE& range, LPCSTR what, CHARRANGE* found)
{
    if (found)
        *found = CHARRANGE{-1, -1};
    if (!what || !*what)
        return -1;
    size_t n = strlen(what);
    size_t from = static_cast<size_t>(std::clamp<LONG>(range.cpMin, 0, static_cast<LONG>(s.text.size())));
    size_t to = range.cpMax < 0 ? s.text.size() : static_cast<size_t>(std::min<LONG>(range.cpMax, static_cast<LONG>(s.text.size())));
    auto lower = [](char c) {
        char buf[2] = {c, 0};
        CharLowerBuffA(buf, 1);
        return buf[0];
    };
    for (size_t i = from; i + n <= to; ++i) {
        bool match = true;
        for (size_t k = 0; k < n && match; ++k)
            match = (flags & FR_MATCHCASE) ? s.text[i + k] == what[k] : lower(s.text[i + k]) == lower(what[k]);
        if (!match)
            continue;
        if ((flags & FR_WHOLEWORD) &&
            ((i > 0 && IsWordChar(s.text[i - 1])) || (i + n < s.text.size() && IsWordChar(s.text[i + n]))))
            continue;
        if (found)
            *found = CHARRANGE{static_cast<LONG>(i), static_cast<LONG>(i + n)};
        return static_cast<LRESULT>(i);
    }
    return -1;
}

bool CopyToClipboard(HWND hwnd, RichState& s)
{
    if (SelStart(s) == SelEnd(s))
        return false;
    std::string text = s.text.substr(SelStart(s), SelEnd(s) - SelStart(s));
    if (!OpenClipboard(hwnd))
        return false;
    EmptyClipboard();
    HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    if (mem) {
        memcpy(GlobalLock(mem), text.c_str(), text.size() + 1);
        GlobalUnlock(mem);
        if (!SetClipboardData(CF_TEXT, mem))
            GlobalFree(mem);
    }
    CloseClipboard();
    return true;
}

void Paste(HWND hwnd, RichState& s)
{
    if (ReadOnly(hwnd) || !OpenClipboard(hwnd))
        return;
    std::string text;
    if (HANDLE mem = GetClipboardData(CF_TEXT)) {
        if (const char* p = static_cast<const char*>(GlobalLock(mem))) {
            text = p;
            GlobalUnlock(mem);
        }
    }
    CloseClipboard();
    std::string clean;
    std::vector<uint32_t> formats;
    TakeDocument(s, text, false, clean, formats);
    if (!clean.empty())
        Replace(hwnd, s, clean, nullptr, true);
}

size_t Prev(const RichState& s, size_t i)
{
    if (i == 0)
        return 0;
    if (i >= 2 && s.text[i - 1] == '\n' && s.text[i - 2] == '\r')
        return i - 2;
    return i - 1;
}

size_t Next(const RichState& s, size_t i)
{
    if (i >= s.text.size())
        return s.text.size();
    if (s.text[i] == '\r' && i + 1 < s.text.size() && s.text[i + 1] == '\n')
        return i + 2;
    return i + 1;
}

size_t WordLeft(const RichState& s, size_t i)
{
    while (i > 0 && !IsWordChar(s.text[i - 1]))
        --i;
    while (i > 0 && IsWordChar(s.text[i - 1]))
        --i;
    return i;
}

size_t WordRight(const RichState& s, size_t i)
{
    while (i < s.text.size() && IsWordChar(s.text[i]))
        ++i;
    while (i < s.text.size() && !IsWordChar(s.text[i]))
        ++i;
    return i;
}

void MoveCaret(HWND hwnd, RichState& s, size_t to, bool extend)
{
    SetSelection(hwnd, s, extend ? s.anchor : to, to);
    ScrollCaret(hwnd, s);
}

size_t Vertical(HWND hwnd, RichState& s, int delta)
{
    int line = LineOf(s, s.caret);
    const Line& from = s.lines[static_cast<size_t>(line)];
    int x = XWithin(hwnd, s, from, s.caret);
    int target = std::clamp(line + delta, 0, static_cast<int>(s.lines.size()) - 1);
    const Line& l = s.lines[static_cast<size_t>(target)];
    int at = 0;
    for (size_t i = l.start; i < l.start + l.length; ++i) {
        int w = CharWidth(hwnd, s, i, at);
        if (x < at + w / 2)
            return i;
        at += w;
    }
    return l.start + l.length;
}

void ScrollLines(HWND hwnd, RichState& s, int dy)
{
    int first = std::clamp(s.firstLine + dy, 0, std::max(0, static_cast<int>(s.lines.size()) - 1));
    if (first == s.firstLine)
        return;
    s.firstLine = first;
    Refresh(hwnd, s);
}

void KeyDown(HWND hwnd, RichState& s, UINT vk)
{
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    size_t c = s.caret;
    const Line& l = s.lines[static_cast<size_t>(LineOf(s, c))];
    switch (vk) {
    case VK_LEFT:
        if (!shift && !ctrl && SelStart(s) != SelEnd(s))
            MoveCaret(hwnd, s, SelStart(s), false);
        else
            MoveCaret(hwnd, s, ctrl ? WordLeft(s, c) : Prev(s, c), shift);
        break;
    case VK_RIGHT:
        if (!shift && !ctrl && SelStart(s) != SelEnd(s))
            MoveCaret(hwnd, s, SelEnd(s), false);
        else
            MoveCaret(hwnd, s, ctrl ? WordRight(s, c) : Next(s, c), shift);
        break;
    case VK_HOME:
        MoveCaret(hwnd, s, ctrl ? 0 : l.start, shift);
        break;
    case VK_END:
        MoveCaret(hwnd, s, ctrl ? s.text.size() : l.start + l.length, shift);
        break;
    case VK_UP:
    case VK_DOWN:
        MoveCaret(hwnd, s, Vertical(hwnd, s, vk == VK_UP ? -1 : 1), shift);
        break;
    case VK_PRIOR:
    case VK_NEXT: {
        int page = std::max(1, VisibleLines(hwnd, s) - 1);
        MoveCaret(hwnd, s, Vertical(hwnd, s, vk == VK_PRIOR ? -page : page), shift);
        break;
    }
    case VK_DELETE:
        if (ReadOnly(hwnd))
            break;
        if (shift) {
            SendMessageA(hwnd, WM_CUT, 0, 0);
            break;
        }
        if (SelStart(s) == SelEnd(s)) {
            if (c >= s.text.size())
                break;
            s.anchor = Next(s, c);
        }
        Replace(hwnd, s, std::string(), nullptr, true);
        break;
    case VK_INSERT:
        if (ctrl)
            SendMessageA(hwnd, WM_COPY, 0, 0);
        else if (shift)
            SendMessageA(hwnd, WM_PASTE, 0, 0);
        break;
    default:
        break;
    }
}

void Char(HWND hwnd, RichState& s, char ch)
{
    unsigned char u = static_cast<unsigned char>(ch);
    switch (u) {
    case 0x01:  // Ctrl+A
        SetSelection(hwnd, s, 0, s.text.size());
        return;
    case 0x03:  // Ctrl+C
        SendMessageA(hwnd, WM_COPY, 0, 0);
        return;
    case 0x16:  // Ctrl+V
        SendMessageA(hwnd, WM_PASTE, 0, 0);
        return;
    case 0x18:  // Ctrl+X
        SendMessageA(hwnd, WM_CUT, 0, 0);
        return;
    default:
        break;
    }
    if (ReadOnly(hwnd)) {
        MessageBeep(MB_OK);
        return;
    }
    if (u == '\b') {
        if (SelStart(s) == SelEnd(s)) {
            if (s.caret == 0)
                return;
            s.anchor = Prev(s, s.caret);
        }
        Replace(hwnd, s, std::string(), nullptr, true);
        return;
    }
    if (u == '\r' || u == '\n') {
        if (Multi(hwnd))
            Replace(hwnd, s, "\r\n", nullptr, true);
        return;
    }
    if (u == '\t') {
        if (Multi(hwnd))
            Replace(hwnd, s, "\t", nullptr, true);
        return;
    }
    if (u < 0x20 || u == 0x7F)
        return;
    Replace(hwnd, s, std::string(1, ch), nullptr, true);
}

void Paint(HWND hwnd, RichState& s)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    if (s.focused)
        HideCaret(hwnd);
    RECT client;
    GetClientRect(hwnd, &client);
    COLORREF back = s.systemBackground ? GetSysColor(COLOR_WINDOW) : s.background;
    HBRUSH brush = CreateSolidBrush(back);
    FillRect(hdc, &client, brush);
    DeleteObject(brush);
    RECT fr = FormatRect(hwnd, s);
    HRGN clip = CreateRectRgn(fr.left, fr.top, fr.right, fr.bottom);
    SelectClipRgn(hdc, clip);
    SetBkMode(hdc, TRANSPARENT);
    HGDIOBJ oldFont = SelectObject(hdc, GetStockObject(SYSTEM_FONT));
    bool enabled = IsWindowEnabled(hwnd);
    bool showSel = (s.focused || (Style(hwnd) & ES_NOHIDESEL)) && !s.hideSelection;
    size_t a = SelStart(s), b = SelEnd(s);
    std::vector<INT> dx;
    for (int li = s.firstLine; li < static_cast<int>(s.lines.size()); ++li) {
        const Line& l = s.lines[static_cast<size_t>(li)];
        int y = LineY(hwnd, s, li);
        if (y >= fr.bottom)
            break;
        int x = 0;
        size_t i = l.start;
        size_t end = l.start + l.length;
        // The selection's paragraph end shows as a little highlight after the line.
        while (i < end) {
            uint32_t f = s.formatOf[i];
            bool selected = showSel && i >= a && i < b;
            size_t j = i;
            dx.clear();
            int segX = x;
            while (j < end && s.formatOf[j] == f && (showSel && j >= a && j < b) == selected) {
                int w = CharWidth(hwnd, s, j, x);
                dx.push_back(w);
                x += w;
                ++j;
                if (s.text[j - 1] == '\t')
                    break;
            }
            Face& face = Measured(hwnd, s, f);
            int left = fr.left + segX;
            if (selected) {
                RECT r{left, y, fr.left + x, y + l.height};
                FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
            }
            COLORREF color = face.format.autoColor ? GetSysColor(COLOR_WINDOWTEXT) : static_cast<COLORREF>(face.format.color);
            if (!enabled)
                color = GetSysColor(COLOR_GRAYTEXT);
            else if (selected)
                color = GetSysColor(COLOR_HIGHLIGHTTEXT);
            SetTextColor(hdc, color);
            SelectObject(hdc, face.font ? face.font : GetStockObject(SYSTEM_FONT));
            std::string piece = s.text.substr(i, j - i);
            for (size_t k = 0; k < piece.size(); ++k)
                if (piece[k] == '\t')
                    piece[k] = ' ';
            ExtTextOutA(hdc, left, y + l.ascent - face.ascent, 0, nullptr, piece.c_str(), static_cast<UINT>(piece.size()), dx.data());
            i = j;
        }
        if (showSel && l.breakLength && end >= a && end < b) {
            Face& face = Measured(hwnd, s, s.formatOf[end]);
            RECT r{fr.left + x, y, fr.left + x + face.widths[' '], y + l.height};
            FillRect(hdc, &r, GetSysColorBrush(COLOR_HIGHLIGHT));
        }
    }
    SelectObject(hdc, oldFont);
    SelectClipRgn(hdc, nullptr);
    DeleteObject(clip);
    EndPaint(hwnd, &ps);
    if (s.focused)
        ShowCaret(hwnd);
}

LRESULT ScrollRequest(HWND hwnd, RichState& s, UINT msg, WPARAM wParam)
{
    int code = LOWORD(wParam);
    int page = std::max(1, VisibleLines(hwnd, s) - 1);
    int delta = 0;
    switch (code) {
    case SB_LINEUP: delta = -1; break;
    case SB_LINEDOWN: delta = 1; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_TOP: delta = -s.firstLine; break;
    case SB_BOTTOM: delta = static_cast<int>(s.lines.size()); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: delta = HIWORD(wParam) - s.firstLine; break;
    default: return 0;
    }
    int before = s.firstLine;
    // The last page stays full: scrolling stops when the last line shows at the bottom.
    int maxFirst = 0;
    {
        RECT fr = FormatRect(hwnd, s);
        int room = fr.bottom - fr.top;
        maxFirst = static_cast<int>(s.lines.size()) - 1;
        while (maxFirst > 0 && Bottom(s) - s.lines[static_cast<size_t>(maxFirst - 1)].top <= room)
            --maxFirst;
    }
    int target = std::clamp(s.firstLine + delta, 0, std::max(maxFirst, s.firstLine + std::min(delta, 0)));
    ScrollLines(hwnd, s, target - s.firstLine);
    if (msg != EM_SCROLL)
        Notify(hwnd, s, EN_VSCROLL);
    return msg == EM_SCROLL ? MAKELRESULT(s.firstLine - before, 1) : 0;
}

CHARFORMATA CharFormatOf(const RtfCharFormat& f)
{
    CHARFORMATA cf{};
    cf.cbSize = sizeof cf;
    cf.dwMask = CFM_ALL & ~CFM_STRIKEOUT & ~CFM_PROTECTED & ~CFM_OFFSET;
    cf.dwEffects = (f.bold ? CFE_BOLD : 0) | (f.italic ? CFE_ITALIC : 0) | (f.underline ? CFE_UNDERLINE : 0) |
                   (f.autoColor ? CFE_AUTOCOLOR : 0);
    cf.yHeight = f.halfPoints * 10;
    cf.crTextColor = f.autoColor ? 0 : static_cast<COLORREF>(f.color);
    cf.bCharSet = static_cast<BYTE>(f.charset);
    lstrcpynA(cf.szFaceName, f.face.c_str(), LF_FACESIZE);
    return cf;
}

RtfCharFormat Apply(RtfCharFormat f, const CHARFORMATA& cf)
{
    if (cf.dwMask & CFM_BOLD)
        f.bold = (cf.dwEffects & CFE_BOLD) != 0;
    if (cf.dwMask & CFM_ITALIC)
        f.italic = (cf.dwEffects & CFE_ITALIC) != 0;
    if (cf.dwMask & CFM_UNDERLINE)
        f.underline = (cf.dwEffects & CFE_UNDERLINE) != 0;
    if (cf.dwMask & CFM_SIZE)
        f.halfPoints = std::clamp<LONG>(cf.yHeight / 10, 1, host::kRtfMaxHalfPoints);
    if (cf.dwMask & CFM_COLOR) {
        f.autoColor = (cf.dwEffects & CFE_AUTOCOLOR) != 0;
        f.color = f.autoColor ? 0 : (cf.crTextColor & 0xFFFFFF);
    }
    if (cf.dwMask & CFM_FACE) {
        char name[LF_FACESIZE + 1] = {};
        memcpy(name, cf.szFaceName, LF_FACESIZE);
        f.face = name;
    }
    if (cf.dwMask & CFM_CHARSET)
        f.charset = cf.bCharSet;
    return f;
}

LRESULT GetLine(const RichState& s, int line, LPARAM lParam)
{
    if (!lParam || line < 0 || line >= static_cast<int>(s.lines.size()))
        return 0;
    WORD room = 0;
    memcpy(&room, reinterpret_cast<void*>(lParam), sizeof room);
    const Line& l = s.lines[static_cast<size_t>(line)];
    size_t n = std::min<size_t>(room, l.length + l.breakLength);
    memcpy(reinterpret_cast<char*>(lParam), s.text.data() + l.start, n);
    if (n < room)
        reinterpret_cast<char*>(lParam)[n] = '\0';
    return static_cast<LRESULT>(n);
}

void SetFocusedLook(HWND hwnd, RichState& s, bool focused)
{
    s.focused = focused;
    if (focused) {
        int height = s.lines.empty() ? 16 : s.lines[static_cast<size_t>(LineOf(s, s.caret))].height;
        CreateCaret(hwnd, nullptr, 1, height);
        PlaceCaret(hwnd, s);
        ShowCaret(hwnd);
    } else {
        s.selecting = false;
        DestroyCaret();
    }
    InvalidateRect(hwnd, nullptr, TRUE);
    controls::Notify(hwnd, focused ? EN_SETFOCUS : EN_KILLFOCUS);
}

}  // namespace

LRESULT CALLBACK RichEditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    RichState& s = S(hwnd);
    if (!s.created && msg != WM_NCDESTROY) {
        s.created = true;
        s.defaultFormat = IndexOf(s, DefaultFormat(s));
        s.typingFormat = s.defaultFormat;
        s.formatOf.clear();
    }
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        s.vscroll = (cs->style & WS_VSCROLL) != 0;
        if (cs->style & ES_SUNKEN) {
            SetWindowLongA(hwnd, GWL_EXSTYLE, GetWindowLongA(hwnd, GWL_EXSTYLE) | WS_EX_CLIENTEDGE);
            SetWindowPos(hwnd, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        }
        std::string text = cs->lpszName ? cs->lpszName : "";
        std::string clean;
        std::vector<uint32_t> formats;
        TakeDocument(s, text, false, clean, formats);
        SetContent(hwnd, s, std::move(clean), std::move(formats));
        return 0;
    }
    case WM_NCDESTROY:
        if (s.focused)
            DestroyCaret();
        DropFaces(s);
        DropState<RichState>(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
        Relayout(hwnd, s);
        Refresh(hwnd, s);
        return 0;
    case WM_PAINT:
        Paint(hwnd, s);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_GETDLGCODE: {
        LRESULT code = DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTARROWS;
        if (Multi(hwnd)) {
            code |= DLGC_WANTALLKEYS;
            if (lParam) {
                const MSG* m = reinterpret_cast<const MSG*>(lParam);
                if (m->message == WM_KEYDOWN && ((m->wParam == VK_RETURN && !(Style(hwnd) & ES_WANTRETURN)) || m->wParam == VK_ESCAPE))
                    code &= ~DLGC_WANTALLKEYS;
            }
        }
        return code;
    }
    case WM_SETTEXT: {
        DefWindowProcA(hwnd, msg, wParam, lParam);
        std::string clean;
        std::vector<uint32_t> formats;
        const char* text = reinterpret_cast<const char*>(lParam);
        TakeDocument(s, text ? text : "", false, clean, formats);
        if (clean.size() > s.limit) {
            clean.resize(s.limit);
            formats.resize(s.limit);
        }
        SetContent(hwnd, s, std::move(clean), std::move(formats));
        s.modified = false;
        return TRUE;
    }
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return 0;
        size_t n = std::min(s.text.size(), static_cast<size_t>(wParam) - 1);
        memcpy(reinterpret_cast<char*>(lParam), s.text.data(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(s.text.size());
    case WM_SETFONT: {
        // The font becomes the default format and the format of all text (as SCF_ALL).
        s.setFont = reinterpret_cast<HFONT>(wParam);
        s.defaultFormat = IndexOf(s, DefaultFormat(s));
        s.typingFormat = s.defaultFormat;
        std::fill(s.formatOf.begin(), s.formatOf.end(), s.defaultFormat);
        Relayout(hwnd, s);
        if (LOWORD(lParam))
            Refresh(hwnd, s);
        return 0;
    }
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.setFont);
    case WM_SETFOCUS:
        SetFocusedLook(hwnd, s, true);
        return 0;
    case WM_KILLFOCUS:
        SetFocusedLook(hwnd, s, false);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        if (!s.focused)
            SetFocus(hwnd);
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        MoveCaret(hwnd, s, CharFromPos(hwnd, s, p), (wParam & MK_SHIFT) != 0);
        s.selecting = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s.selecting) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT fr = FormatRect(hwnd, s);
            if (p.y < fr.top)
                ScrollLines(hwnd, s, -1);
            else if (p.y >= fr.bottom)
                ScrollLines(hwnd, s, 1);
            MoveCaret(hwnd, s, CharFromPos(hwnd, s, p), true);
        }
        return 0;
    case WM_LBUTTONUP:
        if (s.selecting) {
            s.selecting = false;
            if (GetCapture() == hwnd)
                ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        s.selecting = false;
        return 0;
    case WM_LBUTTONDBLCLK: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        size_t at = CharFromPos(hwnd, s, p);
        size_t from = at, to = at;
        while (from > 0 && IsWordChar(s.text[from - 1]))
            --from;
        while (to < s.text.size() && IsWordChar(s.text[to]))
            ++to;
        while (to < s.text.size() && s.text[to] == ' ')
            ++to;
        SetSelection(hwnd, s, from, to);
        ScrollCaret(hwnd, s);
        return 0;
    }
    case WM_MOUSEWHEEL:
        ScrollLines(hwnd, s, -3 * static_cast<short>(HIWORD(wParam)) / 120);  // 120: one notch of the wheel
        return 0;
    case WM_KEYDOWN:
        KeyDown(hwnd, s, static_cast<UINT>(wParam));
        return 0;
    case WM_CHAR:
        Char(hwnd, s, static_cast<char>(wParam));
        return 0;
    case WM_COPY:
        CopyToClipboard(hwnd, s);
        return 0;
    case WM_CUT:
        if (!ReadOnly(hwnd) && CopyToClipboard(hwnd, s))
            Replace(hwnd, s, std::string(), nullptr, true);
        return 0;
    case WM_CLEAR:
        if (!ReadOnly(hwnd) && SelStart(s) != SelEnd(s))
            Replace(hwnd, s, std::string(), nullptr, true);
        return 0;
    case WM_PASTE:
        Paste(hwnd, s);
        return 0;
    case WM_VSCROLL:
        return ScrollRequest(hwnd, s, msg, wParam);
    case EM_SCROLL:
        return ScrollRequest(hwnd, s, msg, wParam);
    case EM_GETSEL: {
        DWORD a = static_cast<DWORD>(SelStart(s)), b = static_cast<DWORD>(SelEnd(s));
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = a;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = b;
        return MAKELRESULT(std::min<DWORD>(a, 0xFFFF), std::min<DWORD>(b, 0xFFFF));
    }
    case EM_EXGETSEL:
        if (lParam)
            *reinterpret_cast<CHARRANGE*>(lParam) = CHARRANGE{static_cast<LONG>(SelStart(s)), static_cast<LONG>(SelEnd(s))};
        return 0;
    case EM_SETSEL:
    case EM_EXSETSEL: {
        LONG a, b;
        if (msg == EM_SETSEL) {
            a = static_cast<LONG>(static_cast<int>(wParam));
            b = static_cast<LONG>(static_cast<int>(lParam));
        } else {
            if (!lParam)
                return static_cast<LRESULT>(SelEnd(s));
            a = reinterpret_cast<const CHARRANGE*>(lParam)->cpMin;
            b = reinterpret_cast<const CHARRANGE*>(lParam)->cpMax;
        }
        if (a < 0)  // no selection: the caret stays at the selection's end
            SetSelection(hwnd, s, SelEnd(s), SelEnd(s));
        else if (a == 0 && b == -1)
            SetSelection(hwnd, s, 0, s.text.size());
        else
            SetSelection(hwnd, s, static_cast<size_t>(a), b < 0 ? s.text.size() : static_cast<size_t>(b));
        ScrollCaret(hwnd, s);
        return msg == EM_EXSETSEL ? static_cast<LRESULT>(SelEnd(s)) : 0;
    }
    case EM_REPLACESEL:
        if (lParam) {
            std::string clean;
            std::vector<uint32_t> formats;
            TakeDocument(s, reinterpret_cast<const char*>(lParam), false, clean, formats);
            Replace(hwnd, s, clean, nullptr, true);
        }
        return 0;
    case EM_GETSELTEXT: {
        if (!lParam)
            return 0;
        std::string t = s.text.substr(SelStart(s), SelEnd(s) - SelStart(s));
        memcpy(reinterpret_cast<char*>(lParam), t.c_str(), t.size() + 1);
        return static_cast<LRESULT>(t.size());
    }
    case EM_GETTEXTRANGE: {
        auto* tr = reinterpret_cast<TEXTRANGEA*>(lParam);
        if (!tr || !tr->lpstrText)
            return 0;
        LONG from = std::clamp<LONG>(tr->chrg.cpMin, 0, static_cast<LONG>(s.text.size()));
        LONG to = tr->chrg.cpMax < 0 ? static_cast<LONG>(s.text.size()) : std::clamp<LONG>(tr->chrg.cpMax, from, static_cast<LONG>(s.text.size()));
        memcpy(tr->lpstrText, s.text.data() + from, static_cast<size_t>(to - from));
        tr->lpstrText[to - from] = '\0';
        return to - from;
    }
    case EM_SELECTIONTYPE: {
        size_t n = SelEnd(s) - SelStart(s);
        return n == 0 ? SEL_EMPTY : (n == 1 ? SEL_TEXT : SEL_TEXT | SEL_MULTICHAR);
    }
    case EM_HIDESELECTION:
        s.hideSelection = wParam != 0;
        if (lParam) {
            LONG style = Style(hwnd);
            SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style & ~ES_NOHIDESEL) : (style | ES_NOHIDESEL));
        }
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case EM_GETMODIFY:
        return s.modified;
    case EM_SETMODIFY:
        s.modified = wParam != 0;
        return 0;
    case EM_CANUNDO:
        return FALSE;
    case EM_CANPASTE:
        return !ReadOnly(hwnd) && IsClipboardFormatAvailable(CF_TEXT);
    case EM_LIMITTEXT:
    case EM_EXLIMITTEXT: {
        size_t limit = msg == EM_LIMITTEXT ? static_cast<size_t>(wParam) : static_cast<size_t>(lParam);
        s.limit = limit ? limit : 65535;
        return 0;
    }
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(s.limit);
    case EM_GETLINECOUNT:
        return static_cast<LRESULT>(s.lines.size());
    case EM_LINEINDEX: {
        int line = static_cast<int>(wParam);
        if (line < 0)
            line = LineOf(s, s.caret);
        if (line >= static_cast<int>(s.lines.size()))
            return -1;
        return static_cast<LRESULT>(s.lines[static_cast<size_t>(line)].start);
    }
    case EM_LINELENGTH: {
        int index = static_cast<int>(wParam);
        if (index < 0)
            index = static_cast<int>(s.caret);
        if (static_cast<size_t>(index) > s.text.size())
            return 0;
        return static_cast<LRESULT>(s.lines[static_cast<size_t>(LineOf(s, static_cast<size_t>(index)))].length);
    }
    case EM_LINEFROMCHAR:
    case EM_EXLINEFROMCHAR: {
        LONG index = msg == EM_LINEFROMCHAR ? static_cast<LONG>(static_cast<int>(wParam)) : static_cast<LONG>(lParam);
        if (index < 0)
            return LineOf(s, SelStart(s));
        return LineOf(s, std::min(static_cast<size_t>(index), s.text.size()));
    }
    case EM_GETLINE:
        return GetLine(s, static_cast<int>(wParam), lParam);
    case EM_LINESCROLL:
        if (!Multi(hwnd))
            return FALSE;
        ScrollLines(hwnd, s, static_cast<int>(lParam));
        return TRUE;
    case EM_SCROLLCARET:
        ScrollCaret(hwnd, s);
        return 0;
    case EM_GETFIRSTVISIBLELINE:
        return s.firstLine;
    case EM_SETREADONLY: {
        LONG style = Style(hwnd);
        SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_GETRECT:
        if (lParam)
            *reinterpret_cast<RECT*>(lParam) = FormatRect(hwnd, s);
        return 0;
    case EM_SETRECT:
    case EM_SETRECTNP:
        if (lParam) {
            s.format = *reinterpret_cast<const RECT*>(lParam);
            s.formatSet = true;
        } else {
            s.formatSet = false;
        }
        Relayout(hwnd, s);
        if (msg == EM_SETRECT)
            Refresh(hwnd, s);
        return 0;
    case EM_POSFROMCHAR: {
        if (wParam > s.text.size())
            return -1;
        POINT p = PosFromChar(hwnd, s, static_cast<size_t>(wParam));
        return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
        if (!lParam)
            return 0;
        return static_cast<LRESULT>(CharFromPos(hwnd, s, *reinterpret_cast<const POINT*>(lParam)));
    }
    case EM_STREAMIN:
        return StreamIn(hwnd, s, wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_STREAMOUT:
        return StreamOut(s, wParam, reinterpret_cast<EDITSTREAM*>(lParam));
    case EM_FINDTEXT: {
        auto* ft = reinterpret_cast<const FINDTEXTA*>(lParam);
        return ft ? Find(s, wParam, ft->chrg, ft->lpstrText, nullptr) : -1;
    }
    case EM_FINDTEXTEX: {
        auto* ft = reinterpret_cast<FINDTEXTEXA*>(lParam);
        return ft ? Find(s, wParam, ft->chrg, ft->lpstrText, &ft->chrgText) : -1;
    }
    case EM_SETEVENTMASK: {
        DWORD old = s.eventMask;
        s.eventMask = static_cast<DWORD>(lParam);
        return static_cast<LRESULT>(old);
    }
    case EM_GETEVENTMASK:
        return static_cast<LRESULT>(s.eventMask);
    case EM_SETBKGNDCOLOR: {
        COLORREF old = s.systemBackground ? GetSysColor(COLOR_WINDOW) : s.background;
        s.systemBackground = wParam != 0;
        s.background = static_cast<COLORREF>(lParam);
        InvalidateRect(hwnd, nullptr, TRUE);
        return static_cast<LRESULT>(old);
    }
    case EM_GETCHARFORMAT: {
        auto* cf = reinterpret_cast<CHARFORMATA*>(lParam);
        if (!cf || cf->cbSize < sizeof(CHARFORMATA))
            return 0;
        // The selection's format (the first character's, with the mask cleared for properties
        // that vary), or the default format.
        uint32_t first = s.defaultFormat;
        DWORD mask = CFM_ALL & ~CFM_STRIKEOUT & ~CFM_PROTECTED & ~CFM_OFFSET;
        if (wParam) {
            size_t a = SelStart(s), b = SelEnd(s);
            first = a < b ? s.formatOf[a] : s.typingFormat;
            for (size_t i = a; i < b; ++i) {
                if (s.formatOf[i] == first)
                    continue;
                const RtfCharFormat& x = s.faces[first]->format;
                const RtfCharFormat& y = s.faces[s.formatOf[i]]->format;
                if (x.bold != y.bold) mask &= ~CFM_BOLD;
                if (x.italic != y.italic) mask &= ~CFM_ITALIC;
                if (x.underline != y.underline) mask &= ~CFM_UNDERLINE;
                if (x.halfPoints != y.halfPoints) mask &= ~CFM_SIZE;
                if (x.autoColor != y.autoColor || x.color != y.color) mask &= ~CFM_COLOR;
                if (x.face != y.face) mask &= ~CFM_FACE;
                if (x.charset != y.charset) mask &= ~CFM_CHARSET;
            }
        }
        *cf = CharFormatOf(s.faces[first]->format);
        cf->dwMask = mask;
        return static_cast<LRESULT>(mask);
    }
    case EM_SETCHARFORMAT: {
        auto* cf = reinterpret_cast<const CHARFORMATA*>(lParam);
        if (!cf || cf->cbSize < sizeof(CHARFORMATA))
            return FALSE;
        if (wParam & SCF_ALL) {
            for (uint32_t& f : s.formatOf)
                f = IndexOf(s, Apply(s.faces[f]->format, *cf));
            s.typingFormat = IndexOf(s, Apply(s.faces[s.typingFormat]->format, *cf));
        } else if (wParam & SCF_SELECTION) {
            for (size_t i = SelStart(s); i < SelEnd(s); ++i)
                s.formatOf[i] = IndexOf(s, Apply(s.faces[s.formatOf[i]]->format, *cf));
            s.typingFormat = IndexOf(s, Apply(s.faces[s.typingFormat]->format, *cf));
        } else {
            s.defaultFormat = IndexOf(s, Apply(s.faces[s.defaultFormat]->format, *cf));
            if (s.text.empty())
                s.typingFormat = s.defaultFormat;
        }
        Relayout(hwnd, s);
        Refresh(hwnd, s);
        return TRUE;
    }
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls

namespace {

// "RICHED32.DLL": loading it registers the window class, freeing its last reference removes it.
void AttachRichEdit(HMODULE module)
{
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS | CS_GLOBALCLASS;
    wc.lpfnWndProc = controls::RichEditProc;
    wc.cbWndExtra = sizeof(void*);
    wc.hInstance = reinterpret_cast<HINSTANCE>(module);
    wc.hCursor = LoadCursorA(nullptr, IDC_IBEAM);
    wc.lpszClassName = RICHEDIT_CLASSA;
    RegisterClassExA(&wc);
}

void DetachRichEdit(HMODULE module) { UnregisterClassA(RICHEDIT_CLASSA, reinterpret_cast<HINSTANCE>(module)); }

struct Registrar {
    Registrar() { win32::AddBuiltinLibrary({"RICHED32.DLL", AttachRichEdit, DetachRichEdit}); }
} registrar;

}  // namespace
