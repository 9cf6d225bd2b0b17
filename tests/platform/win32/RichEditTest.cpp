// The rich edit control of "RICHED32.DLL": the library registers its class, RTF and text stream
// in through the caller's callback, and the EM_ interface finds, reads, scrolls and copies.
#include "ControlTestSupport.h"

#include <richedit.h>
#include <winclip.h>

#include <cstring>

namespace {

// A stream callback that hands out the front of a string, at most `chunk` bytes a call.
struct Source {
    std::string data;
    LONG chunk = 1 << 20;
    DWORD failAfter = 0;  // calls before the callback answers an error (0: never)
    DWORD calls = 0;
};

DWORD CALLBACK Out(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb)
{
    auto* src = reinterpret_cast<Source*>(cookie);
    if (src->failAfter && ++src->calls > src->failAfter)
        return 5;
    LONG n = std::min<LONG>({cb, src->chunk, static_cast<LONG>(src->data.size())});
    memcpy(buffer, src->data.data(), static_cast<size_t>(n));
    src->data.erase(0, static_cast<size_t>(n));
    *pcb = n;
    return 0;
}

DWORD CALLBACK In(DWORD_PTR cookie, LPBYTE buffer, LONG cb, LONG* pcb)
{
    reinterpret_cast<std::string*>(cookie)->append(reinterpret_cast<const char*>(buffer), static_cast<size_t>(cb));
    *pcb = cb;
    return 0;
}

const char kProlog[] =
    "{\\rtf1\\ansi\\deff0\\deftab720{\\fonttbl{\\f0\\fswiss MS Sans Serif;}{\\f1\\froman\\fcharset2 Symbol;}"
    "{\\f2\\froman Times New Roman;}{\\f3\\fswiss\\fprq2 Arial;}}{\\colortbl\\red0\\green0\\blue0;}\\deflang1033";

// A month's chronology as the Month In Brief page writes it: a bold heading for each day.
std::string Chronology()
{
    const char* entries[][2] = {
        {"1", "Hong Kong returns to Chinese rule after 156 years as a British colony."},
        {"4", "The Pathfinder lander touches down on Mars and sends back its first pictures."},
        {"4", "A heat wave grips the eastern states; cities open cooling centres."},
        {"6", "Sojourner, the six-wheeled rover, rolls onto the Martian surface."},
        {"13", "The tennis championships end with a first title for a young Swiss player."},
        {"20", "The frigate Constitution sails under its own power for the first time in 116 years."},
        {"25", "A new president is sworn in after the first direct elections in the country's history."},
    };
    std::string rtf = kProlog;
    std::string previous = "00";
    for (auto& e : entries) {
        if (previous != e[0])
            rtf += std::string("\\pard\\plain\\f3\\fs20\\b JULY ") + e[0] + "\\plain\\f3\\fs20 \\par ";
        previous = e[0];
        rtf += std::string(e[1]) + "\\par \\par ";
    }
    return rtf + "\\pard\\plain\\f3\\fs20 \\par }";
}

class RichEditTest : public ctl::ControlTest {
protected:
    HMODULE lib = nullptr;

    void SetUp() override
    {
        ctl::ControlTest::SetUp();
        lib = LoadLibrary("RICHED32.DLL");
        ASSERT_NE(lib, nullptr);
    }
    void TearDown() override
    {
        if (parent)
            DestroyWindow(parent);
        parent = nullptr;
        FreeLibrary(lib);
        ctl::ControlTest::TearDown();
    }

    HWND MakeRich(DWORD style, int x = 10, int y = 10, int cx = 300, int cy = 120)
    {
        return Make(RICHEDIT_CLASS, "", style, 2, x, y, cx, cy);
    }
    static LRESULT Stream(HWND h, WPARAM format, Source& src, EDITSTREAM* es = nullptr)
    {
        EDITSTREAM local{reinterpret_cast<DWORD_PTR>(&src), 0, Out};
        EDITSTREAM& use = es ? *es : local;
        use.dwCookie = reinterpret_cast<DWORD_PTR>(&src);
        use.pfnCallback = Out;
        LRESULT n = SendMessageA(h, EM_STREAMIN, format, reinterpret_cast<LPARAM>(&use));
        ui::PumpUntilIdle();
        return n;
    }
    static std::string Text(HWND h)
    {
        std::string t(static_cast<size_t>(GetWindowTextLengthA(h)) + 1, '\0');
        t.resize(static_cast<size_t>(GetWindowTextA(h, t.data(), static_cast<int>(t.size()))));
        return t;
    }
    static std::string Line(HWND h, int line, WORD room = 32)
    {
        char buf[256] = {};
        memcpy(buf, &room, sizeof room);
        LRESULT n = SendMessageA(h, EM_GETLINE, static_cast<WPARAM>(line), reinterpret_cast<LPARAM>(buf));
        return std::string(buf, static_cast<size_t>(n));
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
};

TEST_F(RichEditTest, TheLibraryRegistersTheClassWhileLoaded)
{
    EXPECT_EQ(GetModuleHandle("riched32"), lib);
    EXPECT_EQ(LoadLibrary("C:\\WINDOWS\\SYSTEM\\riched32.dll"), lib);
    FreeLibrary(lib);
    EXPECT_EQ(GetProcAddress(lib, "anything"), nullptr);
    char path[MAX_PATH] = {};
    ASSERT_GT(GetModuleFileName(lib, path, MAX_PATH), 0u);
    EXPECT_NE(strstr(path, "RICHED32.DLL"), nullptr) << path;
    HWND h = MakeRich(WS_BORDER);
    ASSERT_NE(h, nullptr);
    DestroyWindow(h);

    // Freed for the last time, the class goes; loading again brings it back.
    EXPECT_TRUE(FreeLibrary(lib));
    EXPECT_EQ(GetModuleHandle("RICHED32.DLL"), nullptr);
    EXPECT_EQ(CreateWindowExA(0, RICHEDIT_CLASS, "", WS_CHILD, 0, 0, 10, 10, parent, nullptr, nullptr, nullptr), nullptr);
    lib = LoadLibrary("RICHED32");
    ASSERT_NE(lib, nullptr);
    EXPECT_NE(MakeRich(0), nullptr);
}

TEST_F(RichEditTest, StreamedMonthFindsAHeadingScrollsToItAndCopies)
{
    HWND h = MakeRich(WS_VSCROLL | ES_READONLY | ES_MULTILINE | ES_SUNKEN, 10, 10, 300, 140);
    EXPECT_TRUE(GetWindowLongA(h, GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    Source src{Chronology(), 7};
    EDITSTREAM es{};
    LRESULT n = Stream(h, SF_RTF, src, &es);
    EXPECT_EQ(es.dwError, 0u);
    std::string text = Text(h);
    EXPECT_EQ(n, static_cast<LRESULT>(text.size()));
    EXPECT_EQ(text.substr(0, 8), "JULY 1\r\n");
    EXPECT_EQ(text.find("\\"), std::string::npos);

    RECT client;
    GetClientRect(h, &client);
    RECT want{client.left + 5, client.top, client.right - 5, client.bottom};
    SendMessageA(h, EM_SETRECT, 0, reinterpret_cast<LPARAM>(&want));
    RECT got{};
    SendMessageA(h, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&got));
    EXPECT_TRUE(EqualRect(&got, &want));

    // The page's way to a day: find the heading, check its whole line, scroll it to the top.
    FINDTEXTEXA ft{{0, -1}, "JULY 20", {0, 0}};
    LRESULT at = SendMessageA(h, EM_FINDTEXTEX, FR_DOWN | FR_MATCHCASE, reinterpret_cast<LPARAM>(&ft));
    ASSERT_GE(at, 0);
    EXPECT_EQ(ft.chrgText.cpMin, at);
    EXPECT_EQ(ft.chrgText.cpMax, at + 7);
    int line = static_cast<int>(SendMessageA(h, EM_LINEFROMCHAR, static_cast<WPARAM>(at), 0));
    EXPECT_EQ(SendMessageA(h, EM_LINEINDEX, static_cast<WPARAM>(line), 0), at);
    EXPECT_EQ(Line(h, line), "JULY 20\r\n");
    EXPECT_EQ(Line(h, line, 4), "JULY");
    EXPECT_EQ(SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    EXPECT_TRUE(SendMessageA(h, EM_LINESCROLL, 0, line - SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0)));
    EXPECT_EQ(SendMessageA(h, EM_GETFIRSTVISIBLELINE, 0, 0), line);
    SCROLLINFO si{sizeof si, SIF_ALL, 0, 0, 0, 0, 0};
    GetScrollInfo(h, SB_VERT, &si);
    EXPECT_EQ(si.nPos, line) << si.nMin << " " << si.nMax << " " << si.nPage << " lines " << SendMessageA(h, EM_GETLINECOUNT, 0, 0);
    // A heading of a day that has none, and a search past the text, find nothing.
    FINDTEXTEXA none{{0, -1}, "JULY 2\r", {0, 0}};
    EXPECT_EQ(SendMessageA(h, EM_FINDTEXTEX, 0, reinterpret_cast<LPARAM>(&none)), -1);
    EXPECT_EQ(none.chrgText.cpMin, -1);
    FINDTEXTEXA late{{static_cast<LONG>(at) + 1, -1}, "JULY 20", {0, 0}};
    EXPECT_EQ(SendMessageA(h, EM_FINDTEXTEX, 0, reinterpret_cast<LPARAM>(&late)), -1);

    // The selection goes to the clipboard as text; a read-only control still copies.
    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(at), at + 7);
    CHARRANGE sel{};
    SendMessageA(h, EM_EXGETSEL, 0, reinterpret_cast<LPARAM>(&sel));
    EXPECT_EQ(sel.cpMin, at);
    EXPECT_EQ(sel.cpMax, at + 7);
    SendMessageA(h, WM_COPY, 0, 0);
    EXPECT_EQ(Clipboard(), "JULY 20");
    SendMessageA(h, EM_SETSEL, 0, -1);
    SendMessageA(h, WM_COPY, 0, 0);
    EXPECT_EQ(Clipboard(), text);

    // The heading is bold 10-point Arial, the entry below it is not bold.
    CHARFORMATA cf{};
    cf.cbSize = sizeof cf;
    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(at), at + 7);
    SendMessageA(h, EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&cf));
    EXPECT_TRUE(cf.dwEffects & CFE_BOLD);
    EXPECT_TRUE(cf.dwMask & CFM_BOLD);
    EXPECT_STREQ(cf.szFaceName, "Arial");
    EXPECT_EQ(cf.yHeight, 200);
    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(at), at + 20);
    SendMessageA(h, EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&cf));
    EXPECT_FALSE(cf.dwMask & CFM_BOLD);
    EXPECT_TRUE(cf.dwMask & CFM_FACE);

    SendMessageA(h, EM_SETSEL, static_cast<WPARAM>(-1), 0);
    SendMessageA(h, EM_LINESCROLL, 0, -line);
    ui::PumpUntilIdle();
    Screenshot("richedit-month.png");
}

TEST_F(RichEditTest, StreamsOfTextAndDamagedRtf)
{
    HWND h = MakeRich(ES_MULTILINE | WS_VSCROLL);
    struct Case {
        const char* name;
        WPARAM format;
        std::string data;
        DWORD failAfter;
        std::string text;
        DWORD error;
    };
    const Case cases[] = {
        {"plain text keeps its bytes, line ends become paragraphs", SF_TEXT, "a{\\b}c\nd\r\ne\rf", 0, "a{\\b}c\r\nd\r\ne\r\nf", 0},
        {"rich text that stops early shows what was read", SF_RTF, std::string(kProlog) + "\\b Bold\\b0  then", 0, "Bold then", 0},
        {"an embedded object is never shown", SF_RTF, std::string(kProlog) + "x{\\object{\\*\\objdata 01050000}{\\result y}}z}", 0, "xz", 0},
        {"the callback's error stops the stream and is reported", SF_RTF, std::string(kProlog) + "abcdefghij}", 1, "", 5},
        {"text that is not RTF reads as text", SF_RTF, "hello", 0, "hello", 0},
    };
    for (const Case& c : cases) {
        Source src{c.data, 16, c.failAfter};
        EDITSTREAM es{};
        Stream(h, c.format, src, &es);
        EXPECT_EQ(Text(h), c.text) << c.name;
        EXPECT_EQ(es.dwError, c.error) << c.name;
    }
    // The error case read one chunk before failing: it got 16 bytes of the prolog, no text.

    // A document longer than the typing limit (32767) comes in whole; typing then adds nothing.
    Source big{std::string(kProlog) + std::string(40000, 'x') + "}", 4096};
    EXPECT_EQ(Stream(h, SF_RTF, big), 40000);
    EXPECT_EQ(GetWindowTextLengthA(h), 40000);
    SendMessageA(h, EM_SETSEL, 40000, 40000);
    SendMessageA(h, EM_REPLACESEL, 0, reinterpret_cast<LPARAM>("more"));
    EXPECT_EQ(GetWindowTextLengthA(h), 40000);
}

TEST_F(RichEditTest, RtfStreamedOutReadsBackTheSameRuns)
{
    HWND a = MakeRich(ES_MULTILINE, 10, 10, 300, 100);
    HWND b = Make(RICHEDIT_CLASS, "", ES_MULTILINE, 3, 10, 120, 300, 100);
    Source src{std::string(kProlog) + "\\f2\\fs28 Big {\\b bold} {\\i it\\'e9} {\\ul u}\\par "
                                      "{\\colortbl;\\red200\\green10\\blue20;}\\cf1 red \\{x\\} \\\\ \\tab end}"};
    Stream(a, SF_RTF, src);
    std::string rtf;
    EDITSTREAM out{reinterpret_cast<DWORD_PTR>(&rtf), 0, In};
    SendMessageA(a, EM_STREAMOUT, SF_RTF, reinterpret_cast<LPARAM>(&out));
    Source back{rtf, 5};
    Stream(b, SF_RTF, back);
    ASSERT_EQ(Text(b), Text(a));
    EXPECT_EQ(Text(a), "Big bold it\xe9 u\r\nred {x} \\ \tend");
    for (LONG i = 0; i < static_cast<LONG>(Text(a).size()); ++i) {
        CHARFORMATA fa{}, fb{};
        fa.cbSize = fb.cbSize = sizeof fa;
        SendMessageA(a, EM_SETSEL, static_cast<WPARAM>(i), i + 1);
        SendMessageA(b, EM_SETSEL, static_cast<WPARAM>(i), i + 1);
        SendMessageA(a, EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&fa));
        SendMessageA(b, EM_GETCHARFORMAT, TRUE, reinterpret_cast<LPARAM>(&fb));
        EXPECT_EQ(fa.dwEffects, fb.dwEffects) << i;
        EXPECT_EQ(fa.yHeight, fb.yHeight) << i;
        EXPECT_EQ(fa.crTextColor, fb.crTextColor) << i;
        EXPECT_STREQ(fa.szFaceName, fb.szFaceName) << i;
    }
}

TEST_F(RichEditTest, TypingEditsUnlessReadOnly)
{
    HWND h = MakeRich(ES_MULTILINE | WS_BORDER);
    SendMessageA(h, EM_SETEVENTMASK, 0, ENM_CHANGE);
    ClickAt(Centre(h));
    EXPECT_EQ(GetFocus(), h);
    spy.Clear();
    host::TypeText("ab");
    host::PressKey(VK_RETURN);
    host::TypeText("c");
    host::PressKey(VK_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(Text(h), "ab\r\n");
    EXPECT_EQ(SendMessageA(h, EM_GETLINECOUNT, 0, 0), 2);
    int changes = 0;
    for (const ctl::Command& c : Commands())
        changes += c.id == 2 && c.code == EN_CHANGE;
    EXPECT_EQ(changes, 5);
    EXPECT_TRUE(SendMessageA(h, EM_GETMODIFY, 0, 0));

    SendMessageA(h, EM_SETREADONLY, TRUE, 0);
    host::TypeText("zz");
    ui::PumpUntilIdle();
    EXPECT_EQ(Text(h), "ab\r\n");
}

}  // namespace
