// The edit control driven by injected keyboard and mouse input.
#include "ControlTestSupport.h"

#include <winclip.h>

using ctl::Command;

namespace {

class CtlEditTest : public ctl::ControlTest {
protected:
    static std::string Text(HWND h)
    {
        char buf[512] = {};
        GetWindowTextA(h, buf, sizeof buf);
        return buf;
    }
    static std::pair<DWORD, DWORD> Sel(HWND h)
    {
        DWORD a = 0, b = 0;
        SendMessageA(h, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&b));
        return {a, b};
    }
    static std::string Clipboard()
    {
        std::string out;
        if (OpenClipboard(nullptr)) {
            if (HANDLE h = GetClipboardData(CF_TEXT)) {
                out = static_cast<const char*>(GlobalLock(h));
                GlobalUnlock(h);
            }
            CloseClipboard();
        }
        return out;
    }
    static void Chord(UINT modifier, UINT vk)
    {
        host::KeyDown(modifier);
        host::PressKey(vk);
        host::KeyUp(modifier);
        ui::PumpUntilIdle();
    }
    static void Type(const char* text)
    {
        host::TypeText(text);
        ui::PumpUntilIdle();
    }
    static void Press(UINT vk, int times = 1)
    {
        for (int i = 0; i < times; ++i)
            host::PressKey(vk);
        ui::PumpUntilIdle();
    }
    // The screen point of a character's left edge, halfway down its line.
    static POINT CharPoint(HWND h, int index)
    {
        LRESULT r = SendMessageA(h, EM_POSFROMCHAR, static_cast<WPARAM>(index), 0);
        return At(h, static_cast<short>(LOWORD(r)), static_cast<short>(HIWORD(r)) + 5);
    }
    int Count(int code)
    {
        int n = 0;
        for (const Command& c : Commands())
            n += c.code == code;
        return n;
    }
};

TEST_F(CtlEditTest, TypingNotifiesUpdateThenChange)
{
    HWND e = Make("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 7, 10, 10, 200, 22);
    ClickAt(Centre(e));
    EXPECT_EQ(GetFocus(), e);
    spy.Clear();
    Type("Hi!");
    EXPECT_EQ(Text(e), "Hi!");
    std::vector<Command> want;
    for (int i = 0; i < 3; ++i) {
        want.push_back({7, EN_UPDATE});
        want.push_back({7, EN_CHANGE});
    }
    EXPECT_EQ(Commands(), want);
    EXPECT_TRUE(SendMessageA(e, EM_GETMODIFY, 0, 0));
    Press(VK_BACK);
    EXPECT_EQ(Text(e), "Hi");
    Press(VK_HOME);
    Press(VK_DELETE);
    EXPECT_EQ(Text(e), "i");
    // Focus notifications.
    HWND other = Make("EDIT", "", WS_BORDER, 8, 10, 40, 200, 22);
    spy.Clear();
    SetFocus(other);
    EXPECT_EQ(Commands(), (std::vector<Command>{{7, EN_KILLFOCUS}, {8, EN_SETFOCUS}}));
    // WM_SETTEXT on a single-line edit notifies too, and resets the modified flag.
    spy.Clear();
    SetWindowTextA(e, "new");
    EXPECT_EQ(Commands(), (std::vector<Command>{{7, EN_UPDATE}, {7, EN_CHANGE}}));
    EXPECT_FALSE(SendMessageA(e, EM_GETMODIFY, 0, 0));
}

TEST_F(CtlEditTest, SelectionClipboardAndUndo)
{
    HWND e = Make("EDIT", "hello world", WS_BORDER | ES_AUTOHSCROLL, 1, 10, 10, 200, 22);
    SetFocus(e);
    Press(VK_HOME);
    host::KeyDown(VK_SHIFT);
    Press(VK_RIGHT, 5);
    host::KeyUp(VK_SHIFT);
    EXPECT_EQ(Sel(e), (std::pair<DWORD, DWORD>{0, 5}));
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(Clipboard(), "hello");
    // Ctrl+Shift+End from the start selects to the end; Ctrl+X cuts it.
    Press(VK_HOME);
    Press(VK_RIGHT, 5);
    host::KeyDown(VK_SHIFT);
    Chord(VK_CONTROL, VK_END);
    host::KeyUp(VK_SHIFT);
    EXPECT_EQ(Sel(e), (std::pair<DWORD, DWORD>{5, 11}));
    Chord(VK_CONTROL, 'X');
    EXPECT_EQ(Text(e), "hello");
    EXPECT_EQ(Clipboard(), " world");
    Press(VK_HOME);
    Chord(VK_CONTROL, 'V');
    EXPECT_EQ(Text(e), " worldhello");
    EXPECT_TRUE(SendMessageA(e, EM_CANUNDO, 0, 0));
    Chord(VK_CONTROL, 'Z');
    EXPECT_EQ(Text(e), "hello");
    Chord(VK_CONTROL, 'Z');  // undo the undo
    EXPECT_EQ(Text(e), " worldhello");
    // Typed characters undo as one step.
    SendMessageA(e, EM_SETSEL, 0, -1);
    Type("abc");
    EXPECT_EQ(Text(e), "abc");
    SendMessageA(e, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(e), " worldhello");
    // Clear and the Shift+Insert / Ctrl+Insert keys.
    SendMessageA(e, EM_SETSEL, 0, 6);
    Chord(VK_CONTROL, VK_INSERT);
    EXPECT_EQ(Clipboard(), " world");
    SendMessageA(e, WM_CLEAR, 0, 0);
    EXPECT_EQ(Text(e), "hello");
    Chord(VK_SHIFT, VK_INSERT);
    EXPECT_EQ(Text(e), " worldhello");
}

TEST_F(CtlEditTest, MouseSelects)
{
    HWND e = Make("EDIT", "drag to select words", WS_BORDER | ES_AUTOHSCROLL, 1, 10, 10, 250, 22);
    POINT from = CharPoint(e, 5), to = CharPoint(e, 12);
    host::MouseMove(from.x, from.y);
    host::MouseDown();
    host::MouseMove(to.x, to.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(GetFocus(), e);
    EXPECT_EQ(Sel(e), (std::pair<DWORD, DWORD>{5, 12}));
    // Shift+click extends from the anchor.
    POINT end = CharPoint(e, 20);
    host::KeyDown(VK_SHIFT);
    ClickAt(end);
    host::KeyUp(VK_SHIFT);
    ui::PumpUntilIdle();
    EXPECT_EQ(Sel(e), (std::pair<DWORD, DWORD>{5, 20}));
    // A double click selects a word (with its trailing space).
    POINT word = CharPoint(e, 1);
    ClickAt(POINT{word.x + 3, word.y});
    ClickAt(POINT{word.x + 3, word.y});
    EXPECT_EQ(Sel(e), (std::pair<DWORD, DWORD>{0, 5}));
}

TEST_F(CtlEditTest, LimitAndMaxText)
{
    HWND e = Make("EDIT", "", WS_BORDER | ES_AUTOHSCROLL, 3, 10, 10, 200, 22);
    SendMessageA(e, EM_LIMITTEXT, 4, 0);
    EXPECT_EQ(SendMessageA(e, EM_GETLIMITTEXT, 0, 0), 4);
    SetFocus(e);
    spy.Clear();
    Type("abcdef");
    EXPECT_EQ(Text(e), "abcd");
    EXPECT_EQ(Count(EN_CHANGE), 4);
    EXPECT_EQ(Count(EN_MAXTEXT), 2);
    // Without ES_AUTOHSCROLL a single-line edit takes only what fits.
    HWND narrow = Make("EDIT", "", WS_BORDER, 4, 10, 40, 40, 22);
    SetFocus(narrow);
    spy.Clear();
    Type("a long line of text");
    EXPECT_LT(Text(narrow).size(), 19u);
    EXPECT_GE(Count(EN_MAXTEXT), 1);
}

TEST_F(CtlEditTest, MultiLineWrapsAndCountsLines)
{
    HWND e = Make("EDIT", "", WS_BORDER | ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 2, 10, 10, 120, 100);
    SetWindowTextA(e, "one two three four five six seven eight nine ten");
    LRESULT lines = SendMessageA(e, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(lines, 2);
    // Every line starts at a word and line indexes grow; the last character is on the last line.
    for (LRESULT i = 1; i < lines; ++i) {
        LRESULT start = SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(i), 0);
        EXPECT_GT(start, SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(i - 1), 0));
        EXPECT_EQ(Text(e)[static_cast<size_t>(start) - 1], ' ') << "line " << i;
        EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, static_cast<WPARAM>(start), 0), i);
    }
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, 47, 0), lines - 1);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, static_cast<WPARAM>(lines), 0), -1);
    // EM_FMTLINES shows the soft breaks as CR CR LF.
    SendMessageA(e, EM_FMTLINES, TRUE, 0);
    EXPECT_NE(Text(e).find("\r\r\n"), std::string::npos);
    SendMessageA(e, EM_FMTLINES, FALSE, 0);

    // Hard breaks typed with Enter; lines, lengths and EM_GETLINE.
    SetWindowTextA(e, "");
    SetFocus(e);
    Type("ab");
    Press(VK_RETURN);
    Type("cde");
    EXPECT_EQ(Text(e), "ab\r\ncde");
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageA(e, EM_LINEINDEX, 1, 0), 4);
    EXPECT_EQ(SendMessageA(e, EM_LINELENGTH, 5, 0), 3);
    EXPECT_EQ(SendMessageA(e, EM_LINEFROMCHAR, static_cast<WPARAM>(-1), 0), 1);
    char buf[16] = {};
    *reinterpret_cast<WORD*>(buf) = sizeof buf;
    EXPECT_EQ(SendMessageA(e, EM_GETLINE, 1, reinterpret_cast<LPARAM>(buf)), 3);
    EXPECT_EQ(std::string(buf, 3), "cde");
    // Up moves to the line above; Backspace at a line start joins the lines.
    Press(VK_HOME);
    Press(VK_BACK);
    EXPECT_EQ(Text(e), "abcde");
    EXPECT_EQ(SendMessageA(e, EM_GETLINECOUNT, 0, 0), 1);

    // Many lines scroll; the first visible line follows the caret.
    std::string many;
    for (int i = 0; i < 30; ++i)
        many += "line\r\n";
    SetWindowTextA(e, many.c_str());
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    Chord(VK_CONTROL, VK_END);
    EXPECT_GT(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 20);
    EXPECT_EQ(GetScrollPos(e, SB_VERT), SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0));
    SendMessageA(e, EM_LINESCROLL, 0, -100);
    EXPECT_EQ(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    SendMessageA(e, EM_SCROLLCARET, 0, 0);
    EXPECT_GT(SendMessageA(e, EM_GETFIRSTVISIBLELINE, 0, 0), 20);
    spy.Clear();
    SendMessageA(e, WM_VSCROLL, SB_PAGEUP, 0);
    EXPECT_EQ(Commands(), (std::vector<Command>{{2, EN_VSCROLL}}));
}

TEST_F(CtlEditTest, ReadOnlyPasswordAndCase)
{
    HWND ro = Make("EDIT", "fixed", WS_BORDER | ES_READONLY | ES_AUTOHSCROLL, 1, 10, 10, 150, 22);
    SetFocus(ro);
    spy.Clear();
    Type("xy");
    Press(VK_DELETE);
    EXPECT_EQ(Text(ro), "fixed");
    EXPECT_TRUE(Commands().empty() || Commands().front().code != EN_CHANGE);
    SendMessageA(ro, EM_SETSEL, 0, -1);
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(Clipboard(), "fixed") << "read-only text can still be copied";
    SendMessageA(ro, EM_SETREADONLY, FALSE, 0);
    Type("z");
    EXPECT_EQ(Text(ro), "z");

    HWND pw = Make("EDIT", "", WS_BORDER | ES_PASSWORD | ES_AUTOHSCROLL, 2, 10, 40, 150, 22);
    EXPECT_EQ(SendMessageA(pw, EM_GETPASSWORDCHAR, 0, 0), '*');
    SetFocus(pw);
    Type("secret");
    EXPECT_EQ(Text(pw), "secret");
    SendMessageA(pw, EM_SETSEL, 0, -1);
    Chord(VK_CONTROL, 'C');
    EXPECT_EQ(Clipboard(), "fixed") << "a password is never copied";

    HWND upper = Make("EDIT", "", WS_BORDER | ES_UPPERCASE | ES_AUTOHSCROLL, 3, 10, 70, 150, 22);
    SetFocus(upper);
    Type("MiXed");
    EXPECT_EQ(Text(upper), "MIXED");
    HWND digits = Make("EDIT", "", WS_BORDER | ES_NUMBER | ES_AUTOHSCROLL, 4, 10, 100, 150, 22);
    SetFocus(digits);
    Type("a1b2");
    EXPECT_EQ(Text(digits), "12");
}

TEST_F(CtlEditTest, EditsAreDrawn)
{
    HWND single = Make("EDIT", "Selected text", ES_AUTOHSCROLL, 1, 10, 10, 200, 22, WS_EX_CLIENTEDGE);
    Make("EDIT", "password", ES_PASSWORD | ES_AUTOHSCROLL, 2, 10, 40, 200, 22, WS_EX_CLIENTEDGE);
    Make("EDIT", "The multi-line edit wraps its words onto the next line when they do not fit.\r\nSecond paragraph.",
         ES_MULTILINE | ES_AUTOVSCROLL | WS_VSCROLL, 3, 10, 70, 200, 90, WS_EX_CLIENTEDGE);
    Make("EDIT", "read-only", ES_READONLY, 4, 220, 10, 150, 22, WS_EX_CLIENTEDGE);
    SetFocus(single);
    SendMessageA(single, EM_SETSEL, 0, 8);
    ui::PumpUntilIdle();
    POINT sel = CharPoint(single, 2);
    EXPECT_EQ(host::DesktopPixel(sel.x, sel.y - 3), GetSysColor(COLOR_HIGHLIGHT));
    Screenshot("edits.png");
}

// Tabs in a multi-line edit reach the tab stops: every 32 dialog units by default, every n with
// one value, the listed stops with several; the caret and hit testing agree with the drawing.
TEST_F(CtlEditTest, TabsExpandToTheTabStops)
{
    HWND edit = Make("EDIT", "a\tb\tc\r\n\tx", ES_MULTILINE | ES_AUTOHSCROLL, 1, 10, 10, 380, 60, WS_EX_CLIENTEDGE);
    HDC dc = GetDC(edit);
    HGDIOBJ old = SelectObject(dc, GetStockObject(SYSTEM_FONT));
    TEXTMETRICA tm{};
    GetTextMetricsA(dc, &tm);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    const int unit4 = tm.tmAveCharWidth;  // four dialog units
    auto x = [&](int index) { return static_cast<short>(LOWORD(SendMessageA(edit, EM_POSFROMCHAR, index, 0))); };
    const int left = x(0);
    struct Case {
        std::vector<INT> stops;
        int b, c;  // where "b" and "c" start, in dialog units from the line's start
    } cases[] = {
        {{}, 32, 64},
        {{12}, 12, 24},
        {{10, 40}, 10, 40},
    };
    for (const Case& c : cases) {
        if (c.stops.empty())
            EXPECT_TRUE(SendMessageA(edit, EM_SETTABSTOPS, 0, 0));
        else
            EXPECT_TRUE(SendMessageA(edit, EM_SETTABSTOPS, c.stops.size(), reinterpret_cast<LPARAM>(c.stops.data())));
        EXPECT_EQ(x(2) - left, MulDiv(c.b, unit4, 4)) << c.stops.size();
        EXPECT_EQ(x(4) - left, MulDiv(c.c, unit4, 4)) << c.stops.size();
        // A click just right of the stop lands before "b"; the second line starts with a tab.
        POINT p{x(2) + 1, static_cast<short>(HIWORD(SendMessageA(edit, EM_POSFROMCHAR, 2, 0))) + 3};
        EXPECT_EQ(LOWORD(SendMessageA(edit, EM_CHARFROMPOS, 0, MAKELPARAM(p.x, p.y))), 2);
        EXPECT_EQ(x(8) - left, MulDiv(c.b, unit4, 4)) << "the tab on the second line";
    }
    HWND single = Make("EDIT", "a\tb", ES_AUTOHSCROLL, 2, 10, 80, 200, 22);
    EXPECT_FALSE(SendMessageA(single, EM_SETTABSTOPS, 0, 0)) << "single-line edits have no tab stops";

    // The drawing puts "c" at its stop: the text colour appears there and not before it.
    SendMessageA(edit, EM_SETTABSTOPS, 0, 0);
    InvalidateRect(edit, nullptr, TRUE);
    ui::PumpUntilIdle();
    POINT origin = At(edit, 0, 0);
    int y0 = origin.y + static_cast<short>(HIWORD(SendMessageA(edit, EM_POSFROMCHAR, 4, 0)));
    auto inked = [&](int from, int to) {
        for (int px = from; px < to; ++px)
            for (int py = y0; py < y0 + tm.tmHeight; ++py)
                if (host::DesktopPixel(origin.x + px, py) == GetSysColor(COLOR_WINDOWTEXT))
                    return true;
        return false;
    };
    EXPECT_FALSE(inked(x(3) + 1, x(4) - 1)) << "nothing drawn between \"b\" and the stop of \"c\"" ;
    EXPECT_TRUE(inked(x(4), x(4) + unit4));
    Screenshot("edit_tabs.png");
}

}  // namespace
