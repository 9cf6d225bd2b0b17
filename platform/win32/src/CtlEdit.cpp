// The edit control ("EDIT"): single-line and multi-line text with word wrap, caret, selection
// by mouse and keyboard, the clipboard, one level of undo, scrolling and the EM_ interface.
#include "ControlsInternal.h"

#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

namespace controls {
namespace {

struct Line {
    size_t start = 0;
    size_t length = 0;  // without the line break
    size_t breakLength = 0;  // 2 for a hard "\r\n" break, 0 for a soft (wrapped) break or the last line
};

struct EditState {
    std::string text;
    size_t anchor = 0;  // selection: anchor .. caret (either order)
    size_t caret = 0;
    size_t limit = 32767;
    bool modified = false;
    // one level of undo: the text and selection before the last change
    bool canUndo = false;
    std::string undoText;
    size_t undoAnchor = 0;
    size_t undoCaret = 0;
    bool typing = false;  // consecutive typed characters form one undo step
    HFONT font = nullptr;
    int lineHeight = 16;
    int averageWidth = 8;
    std::vector<Line> lines;
    int firstLine = 0;
    int xOffset = 0;
    RECT format{};
    bool formatSet = false;
    int leftMargin = 1;
    int rightMargin = 1;
    char passwordChar = '*';
    bool fmtLines = false;
    TabStops tabs;               // EM_SETTABSTOPS, in dialog units
    std::vector<INT> tabPixels;  // the same for the font (multi-line edits only)
    bool selecting = false;  // mouse selection in progress
    bool focused = false;
};

LONG Style(HWND hwnd) { return GetWindowLongA(hwnd, GWL_STYLE); }
bool Multi(HWND hwnd) { return (Style(hwnd) & ES_MULTILINE) != 0; }
EditState& S(HWND hwnd) { return StateOf<EditState>(hwnd); }

size_t SelStart(const EditState& s) { return std::min(s.anchor, s.caret); }
size_t SelEnd(const EditState& s) { return std::max(s.anchor, s.caret); }

// The text as shown: password characters for a password edit.
std::string Shown(HWND hwnd, const EditState& s, size_t start, size_t length)
{
    if (!Multi(hwnd) && (Style(hwnd) & ES_PASSWORD) && s.passwordChar)
        return std::string(length, s.passwordChar);
    return s.text.substr(start, length);
}

struct DcWithFont {
    HWND hwnd;
    HDC hdc;
    HGDIOBJ old;
    DcWithFont(HWND h, HFONT font) : hwnd(h), hdc(GetDC(h)), old(SelectObject(hdc, FontOf(font))) {}
    ~DcWithFont()
    {
        SelectObject(hdc, old);
        ReleaseDC(hwnd, hdc);
    }
};

// Width of text that starts a line; a multi-line edit expands its tabs to the tab stops.
int TextWidth(HDC hdc, const EditState& s, const std::string& text)
{
    if (text.empty())
        return 0;
    if (!s.tabPixels.empty() && text.find('\t') != std::string::npos) {
        DWORD extent = GetTabbedTextExtentA(hdc, text.c_str(), static_cast<int>(text.size()),
                                            static_cast<int>(s.tabPixels.size()), s.tabPixels.data());
        return LOWORD(extent);
    }
    SIZE size{};
    GetTextExtentPoint32A(hdc, text.c_str(), static_cast<int>(text.size()), &size);
    return size.cx;
}

RECT FormatRect(HWND hwnd, const EditState& s)
{
    if (s.formatSet)
        return s.format;
    RECT r;
    GetClientRect(hwnd, &r);
    r.left += s.leftMargin;
    r.right -= s.rightMargin;
    if (!Multi(hwnd) && (Style(hwnd) & WS_BORDER))
        r.top += 1;
    if (r.right < r.left)
        r.right = r.left;
    return r;
}

bool WordWraps(HWND hwnd)
{
    LONG style = Style(hwnd);
    return (style & ES_MULTILINE) && !(style & ES_AUTOHSCROLL) && !(style & WS_HSCROLL);
}

// Splits the text into display lines: at hard breaks, and for word-wrapping edits where the
// next word no longer fits (a word wider than the line breaks where it must).
void Layout(HWND hwnd, EditState& s)
{
    s.lines.clear();
    DcWithFont dc(hwnd, s.font);
    TEXTMETRICA tm{};
    GetTextMetricsA(dc.hdc, &tm);
    s.lineHeight = std::max<int>(1, tm.tmHeight);
    s.averageWidth = std::max<int>(1, tm.tmAveCharWidth);
    s.tabPixels.clear();
    if (Multi(hwnd))
        s.tabPixels = s.tabs.Pixels(dc.hdc);
    if (!Multi(hwnd)) {
        s.lines.push_back(Line{0, s.text.size(), 0});
        return;
    }
    bool wrap = WordWraps(hwnd);
    RECT fr = FormatRect(hwnd, s);
    int width = fr.right - fr.left;
    size_t pos = 0;
    const std::string& t = s.text;
    for (;;) {
        size_t hard = t.find("\r\n", pos);
        size_t paraEnd = hard == std::string::npos ? t.size() : hard;
        size_t start = pos;
        while (wrap && start < paraEnd && TextWidth(dc.hdc, s, t.substr(start, paraEnd - start)) > width) {
            // The longest prefix that fits, broken after a space when there is one.
            size_t fit = start;
            while (fit < paraEnd && TextWidth(dc.hdc, s, t.substr(start, fit + 1 - start)) <= width)
                ++fit;
            size_t brk = fit;
            while (brk > start && t[brk] != ' ' && t[brk - 1] != ' ')
                --brk;
            if (brk == start)
                brk = std::max(fit, start + 1);
            // Spaces at the wrap point stay on the line they end.
            while (brk < paraEnd && t[brk] == ' ')
                ++brk;
            s.lines.push_back(Line{start, brk - start, 0});
            start = brk;
        }
        if (hard == std::string::npos) {
            s.lines.push_back(Line{start, paraEnd - start, 0});
            break;
        }
        s.lines.push_back(Line{start, paraEnd - start, 2});
        pos = hard + 2;
    }
}

int LineOf(const EditState& s, size_t index)
{
    for (size_t i = 0; i < s.lines.size(); ++i) {
        const Line& l = s.lines[i];
        bool last = i + 1 == s.lines.size();
        if (index < l.start + l.length + l.breakLength || last)
            return static_cast<int>(i);
        // A soft break: the index at the wrap point belongs to the next line.
    }
    return 0;
}

int VisibleLines(HWND hwnd, const EditState& s)
{
    RECT fr = FormatRect(hwnd, s);
    return std::max(1, static_cast<int>((fr.bottom - fr.top) / s.lineHeight));
}

int LineX(HWND hwnd, const EditState& s, int line, HDC hdc)
{
    const Line& l = s.lines[static_cast<size_t>(line)];
    RECT fr = FormatRect(hwnd, s);
    LONG align = Style(hwnd) & (ES_CENTER | ES_RIGHT);
    int width = TextWidth(hdc, s, Shown(hwnd, s, l.start, l.length));
    int x = fr.left - s.xOffset;
    if (align == ES_CENTER)
        x = fr.left + (fr.right - fr.left - width) / 2;
    else if (align == ES_RIGHT)
        x = fr.right - width;
    return x;
}

POINT PosFromChar(HWND hwnd, EditState& s, size_t index)
{
    DcWithFont dc(hwnd, s.font);
    int line = LineOf(s, index);
    const Line& l = s.lines[static_cast<size_t>(line)];
    size_t within = std::min(index, l.start + l.length) - l.start;
    RECT fr = FormatRect(hwnd, s);
    int x = LineX(hwnd, s, line, dc.hdc) + TextWidth(dc.hdc, s, Shown(hwnd, s, l.start, within));
    int y = fr.top + (line - s.firstLine) * s.lineHeight;
    return POINT{x, y};
}

size_t CharFromPos(HWND hwnd, EditState& s, POINT p)
{
    DcWithFont dc(hwnd, s.font);
    RECT fr = FormatRect(hwnd, s);
    int line = s.firstLine + (p.y >= fr.top ? (p.y - fr.top) / s.lineHeight : -1);
    line = std::clamp(line, 0, static_cast<int>(s.lines.size()) - 1);
    const Line& l = s.lines[static_cast<size_t>(line)];
    int x = LineX(hwnd, s, line, dc.hdc);
    size_t best = l.start;
    for (size_t i = 0; i < l.length; ++i) {
        int left = TextWidth(dc.hdc, s, Shown(hwnd, s, l.start, i));
        int right = TextWidth(dc.hdc, s, Shown(hwnd, s, l.start, i + 1));
        if (p.x < x + (left + right) / 2)
            break;
        best = l.start + i + 1;
    }
    return best;
}

void UpdateScrollBars(HWND hwnd, EditState& s)
{
    LONG style = Style(hwnd);
    if (style & WS_VSCROLL) {
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, static_cast<int>(s.lines.size()) - 1,
                      static_cast<UINT>(VisibleLines(hwnd, s)), s.firstLine, 0};
        SetScrollInfo(hwnd, SB_VERT, &si, TRUE);
    }
    if (style & WS_HSCROLL) {
        RECT fr = FormatRect(hwnd, s);
        int widest = 0;
        {
            DcWithFont dc(hwnd, s.font);
            for (const Line& l : s.lines)
                widest = std::max(widest, TextWidth(dc.hdc, s, Shown(hwnd, s, l.start, l.length)));
        }
        SCROLLINFO si{sizeof si, SIF_ALL | SIF_DISABLENOSCROLL, 0, std::max(widest, 1) - 1,
                      static_cast<UINT>(std::max<LONG>(fr.right - fr.left, 1)), s.xOffset, 0};
        SetScrollInfo(hwnd, SB_HORZ, &si, TRUE);
    }
}

void PlaceCaret(HWND hwnd, EditState& s)
{
    if (!s.focused)
        return;
    POINT p = PosFromChar(hwnd, s, s.caret);
    SetCaretPos(p.x, p.y);
}

void Refresh(HWND hwnd, EditState& s)
{
    InvalidateRect(hwnd, nullptr, TRUE);
    UpdateScrollBars(hwnd, s);
    PlaceCaret(hwnd, s);
}

// Scrolls so the caret shows; notifies EN_VSCROLL / EN_HSCROLL-free (the caller decides).
bool ScrollCaret(HWND hwnd, EditState& s)
{
    bool moved = false;
    int line = LineOf(s, s.caret);
    int visible = VisibleLines(hwnd, s);
    if (Multi(hwnd)) {
        if (line < s.firstLine) {
            s.firstLine = line;
            moved = true;
        } else if (line >= s.firstLine + visible) {
            s.firstLine = line - visible + 1;
            moved = true;
        }
    }
    if (!WordWraps(hwnd)) {
        RECT fr = FormatRect(hwnd, s);
        int width = fr.right - fr.left;
        DcWithFont dc(hwnd, s.font);
        const Line& l = s.lines[static_cast<size_t>(line)];
        int x = TextWidth(dc.hdc, s, Shown(hwnd, s, l.start, s.caret - l.start));
        if (x < s.xOffset) {
            s.xOffset = std::max(0, x - width / 3);
            moved = true;
        } else if (x > s.xOffset + width - 1) {
            s.xOffset = x - width + 1 + width / 3;
            moved = true;
        }
    }
    if (moved)
        Refresh(hwnd, s);
    return moved;
}

void SaveUndo(EditState& s)
{
    s.undoText = s.text;
    s.undoAnchor = s.anchor;
    s.undoCaret = s.caret;
    s.canUndo = true;
}

// Text as the control keeps it: a single-line edit takes the first line; a multi-line edit keeps
// every byte (only CR LF breaks a line: a lone CR or LF stays a character, so text read from a
// file comes back out unchanged). ES_UPPERCASE / ES_LOWERCASE convert letters.
std::string Filter(HWND hwnd, const std::string& in)
{
    LONG style = Style(hwnd);
    std::string out;
    out.reserve(in.size());
    for (size_t i = 0; i < in.size(); ++i) {
        char c = in[i];
        if (!Multi(hwnd) && (c == '\r' || c == '\n'))
            break;  // a single-line edit takes the first line
        if (style & ES_UPPERCASE)
            c = static_cast<char>(toupper(static_cast<unsigned char>(c)));
        else if (style & ES_LOWERCASE)
            c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
        out += c;
    }
    return out;
}

// Replaces the selection with `insert` as the user (notify = EN_UPDATE / EN_CHANGE, EN_MAXTEXT
// when the text does not all fit). Returns false when nothing changed.
bool Replace(HWND hwnd, EditState& s, std::string insert, bool undoable, bool notify, bool typed = false)
{
    size_t a = SelStart(s), b = SelEnd(s);
    size_t room = s.limit - std::min(s.limit, s.text.size() - (b - a));
    bool truncated = false;
    if (insert.size() > room) {
        insert.resize(room);
        if (insert.size() >= 1 && insert.back() == '\r')
            insert.pop_back();
        truncated = true;
    }
    if (insert.empty() && a == b) {
        if (truncated && notify)
            Notify(hwnd, EN_MAXTEXT);
        return false;
    }
    std::string before = s.text;
    size_t beforeAnchor = s.anchor, beforeCaret = s.caret;
    s.text.replace(a, b - a, insert);
    s.anchor = s.caret = a + insert.size();
    Layout(hwnd, s);
    // Without automatic scrolling, text that would leave the control is refused.
    LONG style = Style(hwnd);
    bool overflow = false;
    if (!Multi(hwnd) && !(style & ES_AUTOHSCROLL)) {
        DcWithFont dc(hwnd, s.font);
        RECT fr = FormatRect(hwnd, s);
        overflow = TextWidth(dc.hdc, s, Shown(hwnd, s, 0, s.text.size())) > fr.right - fr.left;
    } else if (Multi(hwnd) && !(style & ES_AUTOVSCROLL) && !(style & WS_VSCROLL)) {
        overflow = static_cast<int>(s.lines.size()) > VisibleLines(hwnd, s);
    }
    if (overflow && !insert.empty()) {
        s.text = before;
        s.anchor = beforeAnchor;
        s.caret = beforeCaret;
        Layout(hwnd, s);
        if (notify)
            Notify(hwnd, EN_MAXTEXT);
        return false;
    }
    if (undoable && !(typed && s.typing)) {
        s.undoText = before;
        s.undoAnchor = beforeAnchor;
        s.undoCaret = beforeCaret;
        s.canUndo = true;
    }
    s.typing = typed;
    s.modified = true;
    if (notify)
        Notify(hwnd, EN_UPDATE);
    ScrollCaret(hwnd, s);
    Refresh(hwnd, s);
    if (notify) {
        Notify(hwnd, EN_CHANGE);
        if (truncated)
            Notify(hwnd, EN_MAXTEXT);
    }
    return true;
}

void SetSelection(HWND hwnd, EditState& s, size_t anchor, size_t caret)
{
    anchor = std::min(anchor, s.text.size());
    caret = std::min(caret, s.text.size());
    // never inside a "\r\n" pair
    auto fix = [&](size_t i) { return (i > 0 && i < s.text.size() && s.text[i - 1] == '\r' && s.text[i] == '\n') ? i - 1 : i; };
    anchor = fix(anchor);
    caret = fix(caret);
    s.typing = false;
    if (anchor == s.anchor && caret == s.caret)
        return;
    s.anchor = anchor;
    s.caret = caret;
    InvalidateRect(hwnd, nullptr, TRUE);
    PlaceCaret(hwnd, s);
}

void MoveCaret(HWND hwnd, EditState& s, size_t to, bool extend)
{
    SetSelection(hwnd, s, extend ? s.anchor : to, to);
    ScrollCaret(hwnd, s);
}

bool IsWordChar(char c) { return c != ' ' && c != '\t' && c != '\r' && c != '\n'; }

size_t WordLeft(const EditState& s, size_t i)
{
    while (i > 0 && !IsWordChar(s.text[i - 1]))
        --i;
    while (i > 0 && IsWordChar(s.text[i - 1]))
        --i;
    return i;
}

size_t WordRight(const EditState& s, size_t i)
{
    while (i < s.text.size() && IsWordChar(s.text[i]))
        ++i;
    while (i < s.text.size() && !IsWordChar(s.text[i]))
        ++i;
    return i;
}

size_t Prev(const EditState& s, size_t i)
{
    if (i == 0)
        return 0;
    if (i >= 2 && s.text[i - 1] == '\n' && s.text[i - 2] == '\r')
        return i - 2;
    return i - 1;
}

size_t Next(const EditState& s, size_t i)
{
    if (i >= s.text.size())
        return s.text.size();
    if (s.text[i] == '\r' && i + 1 < s.text.size() && s.text[i + 1] == '\n')
        return i + 2;
    return i + 1;
}

// The character on a line `delta` lines away at the caret's horizontal position.
size_t Vertical(HWND hwnd, EditState& s, int delta)
{
    POINT p = PosFromChar(hwnd, s, s.caret);
    int line = std::clamp(LineOf(s, s.caret) + delta, 0, static_cast<int>(s.lines.size()) - 1);
    RECT fr = FormatRect(hwnd, s);
    p.y = fr.top + (line - s.firstLine) * s.lineHeight;
    int savedFirst = s.firstLine;
    size_t at = CharFromPos(hwnd, s, p);
    s.firstLine = savedFirst;
    return at;
}

bool ReadOnly(HWND hwnd) { return (Style(hwnd) & ES_READONLY) != 0; }

bool CopyToClipboard(HWND hwnd, EditState& s)
{
    if (SelStart(s) == SelEnd(s) || (!Multi(hwnd) && (Style(hwnd) & ES_PASSWORD)))
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

void Paste(HWND hwnd, EditState& s)
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
    if (!text.empty())
        Replace(hwnd, s, Filter(hwnd, text), true, true);
}

void Undo(HWND hwnd, EditState& s)
{
    if (!s.canUndo)
        return;
    std::string text = s.undoText;
    size_t anchor = s.undoAnchor, caret = s.undoCaret;
    // undoing again brings the change back
    SaveUndo(s);
    s.text = text;
    s.anchor = anchor;
    s.caret = caret;
    s.typing = false;
    s.modified = true;
    Layout(hwnd, s);
    Notify(hwnd, EN_UPDATE);
    ScrollCaret(hwnd, s);
    Refresh(hwnd, s);
    Notify(hwnd, EN_CHANGE);
}

void KeyDown(HWND hwnd, EditState& s, UINT vk)
{
    bool shift = GetKeyState(VK_SHIFT) < 0;
    bool ctrl = GetKeyState(VK_CONTROL) < 0;
    size_t c = s.caret;
    int line = LineOf(s, c);
    const Line& l = s.lines[static_cast<size_t>(line)];
    switch (vk) {
    case VK_LEFT:
        if (!shift && SelStart(s) != SelEnd(s) && !ctrl)
            MoveCaret(hwnd, s, SelStart(s), false);
        else
            MoveCaret(hwnd, s, ctrl ? WordLeft(s, c) : Prev(s, c), shift);
        break;
    case VK_RIGHT:
        if (!shift && SelStart(s) != SelEnd(s) && !ctrl)
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
        if (Multi(hwnd))
            MoveCaret(hwnd, s, Vertical(hwnd, s, vk == VK_UP ? -1 : 1), shift);
        else
            MoveCaret(hwnd, s, vk == VK_UP ? Prev(s, c) : Next(s, c), shift);
        break;
    case VK_PRIOR:
    case VK_NEXT:
        if (Multi(hwnd)) {
            int page = std::max(1, VisibleLines(hwnd, s) - 1);
            MoveCaret(hwnd, s, Vertical(hwnd, s, vk == VK_PRIOR ? -page : page), shift);
        }
        break;
    case VK_DELETE:
        if (ReadOnly(hwnd))
            break;
        if (shift) {  // Shift+Del cuts
            SendMessageA(hwnd, WM_CUT, 0, 0);
            break;
        }
        if (SelStart(s) == SelEnd(s)) {
            if (c >= s.text.size())
                break;
            s.anchor = Next(s, c);
        }
        s.typing = false;
        Replace(hwnd, s, std::string(), true, true);
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

void Char(HWND hwnd, EditState& s, char ch)
{
    unsigned char u = static_cast<unsigned char>(ch);
    switch (u) {
    case 0x03:  // Ctrl+C
        SendMessageA(hwnd, WM_COPY, 0, 0);
        return;
    case 0x16:  // Ctrl+V
        SendMessageA(hwnd, WM_PASTE, 0, 0);
        return;
    case 0x18:  // Ctrl+X
        SendMessageA(hwnd, WM_CUT, 0, 0);
        return;
    case 0x1A:  // Ctrl+Z
        SendMessageA(hwnd, WM_UNDO, 0, 0);
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
        s.typing = false;
        Replace(hwnd, s, std::string(), true, true);
        return;
    }
    if (u == '\r' || u == '\n') {
        if (Multi(hwnd))
            Replace(hwnd, s, "\r\n", true, true);
        return;
    }
    if (u == '\t') {
        if (Multi(hwnd))
            Replace(hwnd, s, "\t", true, true, true);
        return;
    }
    if (u < 0x20 || u == 0x7F)
        return;
    if ((Style(hwnd) & ES_NUMBER) && !isdigit(u)) {
        MessageBeep(MB_OK);
        return;
    }
    Replace(hwnd, s, Filter(hwnd, std::string(1, ch)), true, true, true);
}

void Paint(HWND hwnd, EditState& s)
{
    PAINTSTRUCT ps;
    HDC hdc = BeginPaint(hwnd, &ps);
    bool focused = s.focused;
    if (focused)
        HideCaret(hwnd);
    bool readOnlyLook = ReadOnly(hwnd) || !IsWindowEnabled(hwnd);
    HBRUSH brush = ControlColor(hwnd, hdc, readOnlyLook ? WM_CTLCOLORSTATIC : WM_CTLCOLOREDIT);
    COLORREF textColor = IsWindowEnabled(hwnd) ? GetTextColor(hdc) : GetSysColor(COLOR_GRAYTEXT);
    RECT client;
    GetClientRect(hwnd, &client);
    FillRect(hdc, &client, brush);
    HGDIOBJ oldFont = SelectObject(hdc, FontOf(s.font));
    RECT fr = FormatRect(hwnd, s);
    HRGN clip = CreateRectRgn(fr.left, fr.top, fr.right, fr.bottom);
    SelectClipRgn(hdc, clip);
    bool showSel = focused || (Style(hwnd) & ES_NOHIDESEL);
    size_t a = SelStart(s), b = SelEnd(s);
    SetBkMode(hdc, TRANSPARENT);
    int visible = VisibleLines(hwnd, s) + 1;
    for (int i = s.firstLine; i < static_cast<int>(s.lines.size()) && i < s.firstLine + visible; ++i) {
        const Line& l = s.lines[static_cast<size_t>(i)];
        int x = LineX(hwnd, s, i, hdc);
        int y = fr.top + (i - s.firstLine) * s.lineHeight;
        std::string shown = Shown(hwnd, s, l.start, l.length);
        auto drawLine = [&] {
            if (!s.tabPixels.empty())
                TabbedTextOutA(hdc, x, y, shown.c_str(), static_cast<int>(shown.size()),
                               static_cast<int>(s.tabPixels.size()), s.tabPixels.data(), x);
            else
                TextOutA(hdc, x, y, shown.c_str(), static_cast<int>(shown.size()));
        };
        SetTextColor(hdc, textColor);
        drawLine();
        size_t from = std::max(a, l.start), to = std::min(b, l.start + l.length);
        if (showSel && from < to) {
            // The selected part: the line again in the highlight colours, clipped to it.
            int x0 = x + TextWidth(hdc, s, shown.substr(0, from - l.start));
            int x1 = x + TextWidth(hdc, s, shown.substr(0, to - l.start));
            RECT sel{x0, y, x1, y + s.lineHeight};
            int saved = SaveDC(hdc);
            IntersectClipRect(hdc, sel.left, sel.top, sel.right, sel.bottom);
            FillRect(hdc, &sel, GetSysColorBrush(COLOR_HIGHLIGHT));
            SetTextColor(hdc, GetSysColor(COLOR_HIGHLIGHTTEXT));
            drawLine();
            RestoreDC(hdc, saved);
        }
    }
    SelectClipRgn(hdc, nullptr);
    DeleteObject(clip);
    SelectObject(hdc, oldFont);
    EndPaint(hwnd, &ps);
    if (focused)
        ShowCaret(hwnd);
}

void ScrollLines(HWND hwnd, EditState& s, int dy, int dx = 0)
{
    int maxFirst = std::max(0, static_cast<int>(s.lines.size()) - 1);
    int first = std::clamp(s.firstLine + dy, 0, maxFirst);
    int x = std::max(0, s.xOffset + dx * s.averageWidth);
    if (first == s.firstLine && x == s.xOffset)
        return;
    s.firstLine = first;
    s.xOffset = x;
    Refresh(hwnd, s);
}

LRESULT ScrollRequest(HWND hwnd, EditState& s, UINT msg, WPARAM wParam)
{
    int code = LOWORD(wParam);
    bool vertical = msg == WM_VSCROLL || msg == EM_SCROLL;
    int page = vertical ? std::max(1, VisibleLines(hwnd, s) - 1) : std::max(1, (FormatRect(hwnd, s).right - FormatRect(hwnd, s).left) / s.averageWidth);
    int delta = 0;
    switch (code) {
    case SB_LINEUP: delta = -1; break;
    case SB_LINEDOWN: delta = 1; break;
    case SB_PAGEUP: delta = -page; break;
    case SB_PAGEDOWN: delta = page; break;
    case SB_TOP: delta = vertical ? -s.firstLine : -s.xOffset / s.averageWidth - 1; break;
    case SB_BOTTOM: delta = vertical ? static_cast<int>(s.lines.size()) : 1 << 20; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION:
        if (vertical)
            delta = HIWORD(wParam) - s.firstLine;
        else {
            s.xOffset = HIWORD(wParam);
            Refresh(hwnd, s);
        }
        break;
    default: return 0;
    }
    int before = s.firstLine;
    if (vertical) {
        int maxFirst = std::max(0, static_cast<int>(s.lines.size()) - VisibleLines(hwnd, s));
        int target = std::clamp(s.firstLine + delta, 0, std::max(maxFirst, s.firstLine));
        ScrollLines(hwnd, s, target - s.firstLine);
    } else if (code != SB_THUMBTRACK && code != SB_THUMBPOSITION) {
        ScrollLines(hwnd, s, 0, delta);
    }
    if (msg != EM_SCROLL)
        Notify(hwnd, vertical ? EN_VSCROLL : EN_HSCROLL);
    return msg == EM_SCROLL ? MAKELRESULT(s.firstLine - before, 1) : 0;
}

std::string TextForGet(const EditState& s)
{
    if (!s.fmtLines)
        return s.text;
    std::string out;
    for (size_t i = 0; i < s.lines.size(); ++i) {
        const Line& l = s.lines[i];
        out += s.text.substr(l.start, l.length);
        if (l.breakLength)
            out += "\r\n";
        else if (i + 1 < s.lines.size())
            out += s.text.substr(l.start + l.length, s.lines[i + 1].start - l.start - l.length) + "\r\r\n";
    }
    return out;
}

void SetText(HWND hwnd, EditState& s, const char* text)
{
    s.text = Filter(hwnd, text ? text : "");
    if (s.text.size() > s.limit)
        s.text.resize(s.limit);
    s.anchor = s.caret = 0;
    s.firstLine = 0;
    s.xOffset = 0;
    s.canUndo = false;
    s.modified = false;
    s.typing = false;
    Layout(hwnd, s);
    Refresh(hwnd, s);
}

}  // namespace

LRESULT CALLBACK EditProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    EditState& s = S(hwnd);
    switch (msg) {
    case WM_CREATE: {
        auto* cs = reinterpret_cast<CREATESTRUCTA*>(lParam);
        // Multi-line edits scroll sideways only when asked; single-line ones keep their style.
        if ((cs->style & ES_MULTILINE) && (cs->style & WS_HSCROLL))
            SetWindowLongA(hwnd, GWL_STYLE, Style(hwnd) | ES_AUTOHSCROLL);
        SetText(hwnd, s, cs->lpszName);
        return 0;
    }
    case WM_NCDESTROY:
        if (s.focused)
            DestroyCaret();
        DropState<EditState>(hwnd);
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    case WM_SIZE:
        Layout(hwnd, s);
        ScrollCaret(hwnd, s);
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
            // Enter and Esc in a dialog still go to the dialog unless the edit asks for Enter.
            if (lParam) {
                const MSG* m = reinterpret_cast<const MSG*>(lParam);
                if (m->message == WM_KEYDOWN && ((m->wParam == VK_RETURN && !(Style(hwnd) & ES_WANTRETURN)) || m->wParam == VK_ESCAPE))
                    code &= ~DLGC_WANTALLKEYS;
            }
        }
        return code;
    }
    case WM_SETTEXT:
        DefWindowProcA(hwnd, msg, wParam, lParam);
        SetText(hwnd, s, reinterpret_cast<const char*>(lParam));
        if (!Multi(hwnd)) {
            Notify(hwnd, EN_UPDATE);
            Notify(hwnd, EN_CHANGE);
        }
        return TRUE;
    case WM_GETTEXT: {
        if (wParam == 0 || !lParam)
            return 0;
        std::string t = TextForGet(s);
        size_t n = std::min(t.size(), static_cast<size_t>(wParam) - 1);
        memcpy(reinterpret_cast<char*>(lParam), t.data(), n);
        reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case WM_GETTEXTLENGTH:
        return static_cast<LRESULT>(TextForGet(s).size());
    case WM_SETFONT:
        s.font = reinterpret_cast<HFONT>(wParam);
        Layout(hwnd, s);
        if (LOWORD(lParam))
            Refresh(hwnd, s);
        return 0;
    case WM_GETFONT:
        return reinterpret_cast<LRESULT>(s.font);
    case WM_SETFOCUS:
        s.focused = true;
        CreateCaret(hwnd, nullptr, 1, s.lineHeight);
        PlaceCaret(hwnd, s);
        ShowCaret(hwnd);
        InvalidateRect(hwnd, nullptr, TRUE);
        Notify(hwnd, EN_SETFOCUS);
        return 0;
    case WM_KILLFOCUS:
        s.focused = false;
        s.selecting = false;
        DestroyCaret();
        InvalidateRect(hwnd, nullptr, TRUE);
        Notify(hwnd, EN_KILLFOCUS);
        return 0;
    case WM_ENABLE:
        InvalidateRect(hwnd, nullptr, TRUE);
        return 0;
    case WM_LBUTTONDOWN: {
        if (!s.focused)
            SetFocus(hwnd);
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        size_t at = CharFromPos(hwnd, s, p);
        MoveCaret(hwnd, s, at, (wParam & MK_SHIFT) != 0);
        s.selecting = true;
        SetCapture(hwnd);
        return 0;
    }
    case WM_MOUSEMOVE:
        if (s.selecting) {
            POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            RECT fr = FormatRect(hwnd, s);
            // Dragging past an edge scrolls that way.
            if (Multi(hwnd) && p.y < fr.top)
                ScrollLines(hwnd, s, -1);
            else if (Multi(hwnd) && p.y >= fr.bottom)
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
        // A double click selects the word under the mouse.
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
        if (!ReadOnly(hwnd) && CopyToClipboard(hwnd, s)) {
            s.typing = false;
            Replace(hwnd, s, std::string(), true, true);
        }
        return 0;
    case WM_CLEAR:
        if (!ReadOnly(hwnd) && SelStart(s) != SelEnd(s)) {
            s.typing = false;
            Replace(hwnd, s, std::string(), true, true);
        }
        return 0;
    case WM_PASTE:
        s.typing = false;
        Paste(hwnd, s);
        return 0;
    case WM_UNDO:
    case EM_UNDO:
        if (!s.canUndo)
            return FALSE;
        Undo(hwnd, s);
        return TRUE;
    case WM_VSCROLL:
    case WM_HSCROLL:
        return ScrollRequest(hwnd, s, msg, wParam);
    case EM_SCROLL:
        if (!Multi(hwnd))
            return FALSE;
        return ScrollRequest(hwnd, s, msg, wParam);
    case EM_GETSEL: {
        DWORD a = static_cast<DWORD>(SelStart(s)), b = static_cast<DWORD>(SelEnd(s));
        if (wParam)
            *reinterpret_cast<DWORD*>(wParam) = a;
        if (lParam)
            *reinterpret_cast<DWORD*>(lParam) = b;
        return MAKELRESULT(std::min<DWORD>(a, 0xFFFF), std::min<DWORD>(b, 0xFFFF));
    }
    case EM_SETSEL: {
        int a = static_cast<int>(wParam), b = static_cast<int>(lParam);
        if (a < 0) {  // no selection: the caret stays where it is
            SetSelection(hwnd, s, s.caret, s.caret);
            return 0;
        }
        size_t end = b < 0 ? s.text.size() : static_cast<size_t>(b);
        SetSelection(hwnd, s, static_cast<size_t>(a), end);
        return 0;
    }
    case EM_REPLACESEL:
        if (lParam) {
            s.typing = false;
            Replace(hwnd, s, Filter(hwnd, reinterpret_cast<const char*>(lParam)), wParam != 0, true);
        }
        return 0;
    case EM_SCROLLCARET:
        ScrollCaret(hwnd, s);
        return TRUE;
    case EM_GETMODIFY:
        return s.modified;
    case EM_SETMODIFY:
        s.modified = wParam != 0;
        return 0;
    case EM_CANUNDO:
        return s.canUndo;
    case EM_EMPTYUNDOBUFFER:
        s.canUndo = false;
        s.undoText.clear();
        return 0;
    case EM_LIMITTEXT: {
        size_t limit = static_cast<size_t>(wParam);
        s.limit = limit ? limit : (Multi(hwnd) ? 0xFFFFFFFFu : 0x7FFFFFFEu);
        return 0;
    }
    case EM_GETLIMITTEXT:
        return static_cast<LRESULT>(s.limit);
    case EM_GETLINECOUNT:
        return Multi(hwnd) ? static_cast<LRESULT>(s.lines.size()) : 1;
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
        if (index < 0) {
            // The characters on the selection's lines that are not selected.
            const Line& first = s.lines[static_cast<size_t>(LineOf(s, SelStart(s)))];
            const Line& last = s.lines[static_cast<size_t>(LineOf(s, SelEnd(s)))];
            return static_cast<LRESULT>((SelStart(s) - first.start) + (last.start + last.length - std::min(SelEnd(s), last.start + last.length)));
        }
        if (static_cast<size_t>(index) > s.text.size())
            return 0;
        return static_cast<LRESULT>(s.lines[static_cast<size_t>(LineOf(s, static_cast<size_t>(index)))].length);
    }
    case EM_LINEFROMCHAR: {
        int index = static_cast<int>(wParam);
        if (index < 0)
            return LineOf(s, SelStart(s) != SelEnd(s) ? SelStart(s) : s.caret);
        return LineOf(s, std::min(static_cast<size_t>(index), s.text.size()));
    }
    case EM_GETLINE: {
        if (!lParam)
            return 0;
        int line = Multi(hwnd) ? static_cast<int>(wParam) : 0;
        if (line < 0 || line >= static_cast<int>(s.lines.size()))
            return 0;
        WORD room = 0;
        memcpy(&room, reinterpret_cast<void*>(lParam), sizeof room);
        const Line& l = s.lines[static_cast<size_t>(line)];
        size_t n = std::min<size_t>(room, l.length);
        memcpy(reinterpret_cast<char*>(lParam), s.text.data() + l.start, n);
        if (n < room)
            reinterpret_cast<char*>(lParam)[n] = '\0';
        return static_cast<LRESULT>(n);
    }
    case EM_LINESCROLL:
        if (!Multi(hwnd))
            return FALSE;
        ScrollLines(hwnd, s, static_cast<int>(lParam), static_cast<int>(wParam));
        return TRUE;
    case EM_GETFIRSTVISIBLELINE:
        return Multi(hwnd) ? s.firstLine : LineOf(s, CharFromPos(hwnd, s, POINT{FormatRect(hwnd, s).left, FormatRect(hwnd, s).top}));
    case EM_SETREADONLY: {
        LONG style = Style(hwnd);
        SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_READONLY) : (style & ~ES_READONLY));
        InvalidateRect(hwnd, nullptr, TRUE);
        return TRUE;
    }
    case EM_SETPASSWORDCHAR: {
        s.passwordChar = static_cast<char>(wParam);
        LONG style = Style(hwnd);
        SetWindowLongA(hwnd, GWL_STYLE, wParam ? (style | ES_PASSWORD) : (style & ~ES_PASSWORD));
        Layout(hwnd, s);
        Refresh(hwnd, s);
        return 0;
    }
    case EM_GETPASSWORDCHAR:
        return (Style(hwnd) & ES_PASSWORD) ? static_cast<unsigned char>(s.passwordChar) : 0;
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
        Layout(hwnd, s);
        if (msg == EM_SETRECT)
            Refresh(hwnd, s);
        return 0;
    case EM_SETMARGINS:
        if (wParam & EC_LEFTMARGIN)
            s.leftMargin = LOWORD(lParam) == EC_USEFONTINFO ? s.averageWidth / 2 : LOWORD(lParam);
        if (wParam & EC_RIGHTMARGIN)
            s.rightMargin = HIWORD(lParam) == EC_USEFONTINFO ? s.averageWidth / 2 : HIWORD(lParam);
        Layout(hwnd, s);
        Refresh(hwnd, s);
        return 0;
    case EM_GETMARGINS:
        return MAKELRESULT(s.leftMargin, s.rightMargin);
    case EM_FMTLINES:
        if (!Multi(hwnd))
            return FALSE;
        s.fmtLines = wParam != 0;
        return s.fmtLines;
    case EM_POSFROMCHAR: {
        if (wParam > s.text.size())
            return -1;
        POINT p = PosFromChar(hwnd, s, static_cast<size_t>(wParam));
        return MAKELRESULT(static_cast<WORD>(p.x), static_cast<WORD>(p.y));
    }
    case EM_CHARFROMPOS: {
        POINT p{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
        size_t at = CharFromPos(hwnd, s, p);
        return MAKELRESULT(static_cast<WORD>(at), static_cast<WORD>(LineOf(s, at)));
    }
    case EM_SETTABSTOPS:
        // Tabs count in multi-line edits only; the caller repaints.
        if (!Multi(hwnd))
            return FALSE;
        s.tabs.Set(static_cast<int>(wParam), reinterpret_cast<const INT*>(lParam), 32);
        Layout(hwnd, s);
        UpdateScrollBars(hwnd, s);
        PlaceCaret(hwnd, s);
        return TRUE;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace controls
