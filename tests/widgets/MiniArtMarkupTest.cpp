// The mini-article mark-up: the tokenizer's cuts, the parse tables of tags, entities and damaged
// mark-up, and the wrapping of the runs into lines with a fixed-pitch test font.
#include "widgets/MiniArtLayout.h"
#include "widgets/MiniArtMarkup.h"
#include "widgets/TextThumbFonts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::vector<std::string> Tokens(const char* text)
{
    std::vector<std::string> tokens;
    CMiniArtTokenizer tokenizer(text);
    for (CString token = tokenizer.NextToken(); !token.IsEmpty(); token = tokenizer.NextToken()) {
        tokens.emplace_back(static_cast<LPCSTR>(token));
        if (tokens.size() > 1000)
            break;
    }
    return tokens;
}

TEST(MiniArtTokenizer, CutsWordsTagsAndEntities)
{
    struct Case {
        const char* text;
        std::vector<std::string> tokens;
    } cases[] = {
        {"one two", {"one ", "two"}},
        {"Why? Yes; no: so! end", {"Why?", " ", "Yes;", " ", "no:", " ", "so!", " ", "end"}},
        {"<B>Title</B> plain", {"<B>", "Title", "</B>", " ", "plain"}},
        {"&copy; 1999", {"&copy;", " ", "1999"}},
        {"R&D word&amp;x", {"R&D ", "word", "&amp;", "x"}},
        // A ")" after a blank stays with the word before it.
        {"word ) more", {"word ) ", "more"}},
        {"(word) next", {"(word)", " ", "next"}},
        // A tag with a blank in it is cut at the blank.
        {"<A HREF=x>link</A>", {"<A ", "HREF=x>link</A>"}},
        {"line\r\nnext", {"line\r\n", "next"}},
        // "|" is a token of its own and ends the word before it; no character is lost.
        {"a|b c", {"a", "|", "b ", "c"}},
        {"|x", {"|", "x"}},
        {"ab|<B>c", {"ab", "|", "<B>", "c"}},
        {"", {}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.tokens, Tokens(c.text)) << "text: " << c.text;
}

// One run of a parse table: its word, style words, break kind and the state in force.
struct ParsedRun {
    std::string word;
    DWORD style = 0, on = 0, off = 0;
    int brk = 0;
    DWORD state = 0;
    bool operator==(const ParsedRun&) const = default;
};

std::ostream& operator<<(std::ostream& os, const ParsedRun& r)
{
    return os << "{\"" << r.word << "\" style " << std::hex << r.style << " on " << r.on << " off " << r.off << std::dec
              << " break " << r.brk << " state " << r.state << "}";
}

std::vector<ParsedRun> Parse(const char* text)
{
    std::vector<MINIART_RUN> runs;
    std::vector<CString> words;
    ParseMiniArtMarkup(text, runs, words);
    std::vector<ParsedRun> out;
    for (const MINIART_RUN& run : runs)
        out.push_back({std::string(static_cast<LPCSTR>(words[size_t(run.nWord)])), run.dwStyle, run.dwSwitchedOn,
                       run.dwSwitchedOff, run.nBreak, run.dwState});
    return out;
}

constexpr DWORD BON = MINIART_BOLD_ON, BOFF = MINIART_BOLD_OFF, ION = MINIART_ITALIC_ON, IOFF = MINIART_ITALIC_OFF,
                RON = MINIART_RED_ON, ROFF = MINIART_RED_OFF, UON = MINIART_UNDERLINE_ON;
constexpr DWORD SB = MINIART_STATE_BOLD, SI = MINIART_STATE_ITALIC, SR = MINIART_STATE_RED,
                SU = MINIART_STATE_UNDERLINE;

TEST(MiniArtParser, TagsSetTheStyleOfTheFollowingWords)
{
    struct Case {
        const char* text;
        std::vector<ParsedRun> runs;
    } cases[] = {
        {"<B>Title</B> plain words",
         {{"Title", BON, BON, 0, 0, SB}, {" ", BOFF, 0, BOFF, 0, 0}, {"plain ", BOFF, 0, 0, 0, 0}, {"words", BOFF, 0, 0, 0, 0}}},
        {"<RED>red words</RED> black",
         {{"red ", RON, RON, 0, 0, SR}, {"words", RON, 0, 0, 0, SR}, {" ", ROFF, 0, ROFF, 0, 0}, {"black", ROFF, 0, 0, 0, 0}}},
        // Tags between two words combine into the style word of the next one.
        {"<B><I>both", {{"both", BON | ION, BON | ION, 0, 0, SB | SI}}},
        // Tag names are case-insensitive; every alias of a style has its event.
        {"<strong>s</strong><em>e</em><Title>t</Title><head>h</head><u>u",
         {{"s", BON, BON, 0, 0, SB},
          {"e", BOFF | ION, ION, BOFF, 0, SI},
          {"t", IOFF | BON, BON, IOFF, 0, SB},
          {"h", BOFF | BON, BON, BOFF, 0, SB},
          {"u", BOFF | UON, UON, BOFF, 0, SU}}},
        // Inside a red passage a bold word stays red: its own style word holds only the bold event,
        // but what stands in force is kept apart.
        {"<RED>a <B>b</B> c</RED>",
         {{"a ", RON, RON, 0, 0, SR}, {"b", BON, BON, 0, 0, SR | SB}, {" ", BOFF, 0, BOFF, 0, SR}, {"c", BOFF, 0, 0, 0, SR}}},
        {"<HTML><BODY>x</BODY></HTML>", {{"x", 0, 0, 0, 0, 0}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.runs, Parse(c.text)) << "text: " << c.text;
}

TEST(MiniArtParser, EntitiesParagraphsAndLineEnds)
{
    struct Case {
        const char* text;
        std::vector<ParsedRun> runs;
    } cases[] = {
        {"&copy; 1999 &#65;BC &amp; x &reg;",
         {{"\xA9"}, {" "}, {"1999 "}, {"A"}, {"BC "}, {" "}, {"x "}, {"\xAE"}}},
        // Numbers are taken modulo 256; a character 0 and an empty number give nothing.
        {"&#321;&#0;&#;z", {{"A"}, {"z"}}},
        // A paragraph ends its last run; a closing one at the end adds no empty line.
        {"one<P>two</P>", {{"one", 0, 0, 0, 2}, {""}, {"two"}, {""}}},
        {"<P>lead", {{"lead"}}},
        // A line end stands for a blank; one right after a blank adds nothing.
        {"line one\r\nline two", {{"line "}, {"one ", 0, 0, 0, 1}, {"line "}, {"two"}}},
        {"end \r\nnext\nlast", {{"end "}, {"next "}, {"last"}}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.runs, Parse(c.text)) << "text: " << c.text;
}

TEST(MiniArtParser, DamagedMarkupIsShownOrDropped)
{
    struct Case {
        const char* text;
        std::vector<std::string> words;
    } cases[] = {
        // Unknown tags and tags with attributes are text; unknown entities vanish.
        {"a <BR> b", {"a ", "<BR>", " ", "b"}},
        {"<A HREF=x>link</A>", {"<A ", "HREF=x>link</A>"}},
        {"x &nosuch; y", {"x ", " ", "y"}},
        // Unclosed tags and entities are words as they stand.
        {"<B unclosed", {"<B ", "unclosed"}},
        {"tail <B", {"tail ", "<B"}},
        {"&unterminated", {"&unterminated"}},
        {"a>b<c", {"a>b<c"}},
        // A text of only tags has no runs.
        {"<B></B><I></I>", {}},
        {"<P></P><P>", {}},
        {"", {}},
    };
    for (const Case& c : cases) {
        std::vector<std::string> words;
        for (const ParsedRun& run : Parse(c.text))
            words.push_back(run.word);
        EXPECT_EQ(c.words, words) << "text: " << c.text;
    }
    // A tag left open holds to the end.
    std::vector<ParsedRun> open = Parse("<B>never closed");
    ASSERT_EQ(2u, open.size());
    EXPECT_EQ(SB, open[1].state);
}

TEST(MiniArtParser, ManyShortWordsAllGetRuns)
{
    // More runs than 16-bit indexes could hold, and more than a third of the text's length.
    std::string text;
    for (int i = 0; i < 70000; ++i)
        text += "a ";
    text += "<B>z";
    std::vector<MINIART_RUN> runs;
    std::vector<CString> words;
    ParseMiniArtMarkup(text.c_str(), runs, words);
    ASSERT_EQ(70001u, runs.size());
    EXPECT_EQ(CString("z"), words[size_t(runs.back().nWord)]);
    EXPECT_EQ(DWORD(SB), runs.back().dwState);
}

// ---- layout with a fixed-pitch font ----

class MiniArtLayoutTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(CTextThumbFonts::CreateFontSet("Courier New", 14, normal, bold, italic, underline));
        fonts = {&normal, &bold, &italic, &underline};
        ASSERT_TRUE(dc.CreateCompatibleDC(NULL));
        CFont* pOld = dc.SelectObject(&normal);
        cw = dc.GetTextExtent("x").cx;
        ASSERT_EQ(10 * cw, dc.GetTextExtent("abcdefghij").cx) << "the test font is not fixed-pitch";
        dc.SelectObject(pOld);
    }

    // The lines as the words they hold.
    std::vector<std::vector<std::string>> Lines(const char* text, int width)
    {
        layout.Parse(text);
        layout.Layout(&dc, fonts, width);
        std::vector<std::vector<std::string>> lines;
        for (const CMiniArtLayout::LINE& line : layout.Lines()) {
            lines.emplace_back();
            for (std::uint32_t i = line.nFirst; i <= line.nLast; ++i)
                lines.back().emplace_back(static_cast<LPCSTR>(layout.GetWord(int(i))));
        }
        return lines;
    }

    CFont normal, bold, italic, underline;
    MINIART_FONTS fonts;
    CDC dc;
    int cw = 0;
    CMiniArtLayout layout;
};

TEST_F(MiniArtLayoutTest, WrapsWordsAtTheFitOfTheWidth)
{
    // Two four-character words fit when 8 + 8 cw <= 0.98 width.
    const int width = int((8 + 8 * cw) / 0.98) + 1;
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"aaa ", "bbb "}, {"ccc ", "ddd "}, {"eee"}}),
              Lines("aaa bbb ccc ddd eee", width));
    const int lh = layout.GetLineHeight();
    EXPECT_EQ(CRect(8, 0, 8 + 4 * cw - 1, lh), layout.Runs()[0].rectCell);
    EXPECT_EQ(CRect(8 + 4 * cw, 0, 8 + 8 * cw - 1, lh), layout.Runs()[1].rectCell);
    EXPECT_EQ(CRect(8, lh, 8 + 4 * cw - 1, 2 * lh), layout.Runs()[2].rectCell);
    EXPECT_EQ(CRect(8, 2 * lh, 8 + 3 * cw - 1, 3 * lh), layout.Runs()[4].rectCell);
    // The wrap marks the run before it as a line end.
    EXPECT_EQ(MINIART_BREAK_LINE, layout.Runs()[1].nBreak);
    EXPECT_EQ(MINIART_BREAK_NONE, layout.Runs()[2].nBreak);

    // One pixel less and two four-character words no longer fit a line.
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"aaa "}, {"bbb "}, {"ccc "}, {"ddd ", "eee"}}),
              Lines("aaa bbb ccc ddd eee", int((8 + 8 * cw) / 0.98) - 1));
    // Laying out again gives the same lines (the word list does not grow).
    layout.Layout(&dc, fonts, width);
    EXPECT_EQ(3, layout.GetLineCount());
    EXPECT_EQ(5u, layout.Words().size());
}

TEST_F(MiniArtLayoutTest, FirstWordParagraphsAndLeadingBlanks)
{
    // A word wider than the box stays on the first line.
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"verylongword "}, {"x"}}), Lines("verylongword x", 40));
    // A paragraph starts a new line; a closing paragraph at the end adds none.
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"one"}, {"", "two"}}), Lines("one<P>two", 400));
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"one ", "two", ""}}), Lines("one two</P>", 400));
    // Leading blanks are dropped when the word is measured; a blank-only word stays.
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"a", " ", "b"}}), Lines("a<B> b", 400));
    EXPECT_EQ(CRect(8 + cw, 0, 8 + 2 * cw - 1, layout.GetLineHeight()), layout.Runs()[1].rectCell);
    // The line ends of the source run on as blanks.
    EXPECT_EQ((std::vector<std::vector<std::string>>{{"one ", "two"}}), Lines("one\r\ntwo", 400));
    // Nothing to lay out.
    layout.Parse("<B></B>");
    EXPECT_EQ(0, layout.Layout(&dc, fonts, 400));
    EXPECT_EQ(0, layout.GetLineCount());
}

TEST_F(MiniArtLayoutTest, FontsFollowTheStateInForce)
{
    layout.Parse("<B>bold <I>italic</I> bold</B> <U>under</U> <B><I>both");
    std::vector<CFont*> want = {&bold, &italic, &bold, &bold, &normal, &underline, &normal, &italic};
    ASSERT_EQ(want.size(), size_t(layout.GetRunCount()));
    for (size_t i = 0; i < want.size(); ++i)
        EXPECT_EQ(want[i], layout.FontOfRun(fonts, int(i))) << "run " << i << " \"" << layout.GetWord(int(i)) << "\"";
}

TEST_F(MiniArtLayoutTest, ManyRunsFillLinesLessAndUseTheNormalFont)
{
    // With 1000 runs the fit factor is 0.94: a width where 10 words of 3 characters fit at 0.98
    // holds only 9 of them.
    std::string text = "<B>";
    for (int i = 0; i < 1000; ++i)
        text += "ab ";
    const int width = int((8 + 30 * cw) / 0.98) + 1;
    ASSERT_LT(0.94 * width, 8 + 30 * cw);
    auto lines = Lines(text.c_str(), width);
    ASSERT_EQ(1000, layout.GetRunCount());
    EXPECT_EQ(9u, lines[0].size());
    EXPECT_EQ(&normal, layout.FontOfRun(fonts, 0));
    text.resize(text.size() - 3);
    lines = Lines(text.c_str(), width);
    EXPECT_EQ(10u, lines[0].size());
    EXPECT_EQ(&bold, layout.FontOfRun(fonts, 0));
}

TEST_F(MiniArtLayoutTest, HitTestFindsTheRunOfALine)
{
    Lines("aaa bbb ccc ddd", int((8 + 8 * cw) / 0.98) + 1);
    const int lh = layout.GetLineHeight();
    CRect cell;
    EXPECT_EQ(0, layout.HitTest(0, 8, 0, &cell));
    EXPECT_EQ(CRect(8, 0, 8 + 4 * cw - 1, lh), cell);
    EXPECT_EQ(1, layout.HitTest(0, 8 + 4 * cw, 0));
    // Past the line's last run: that run. Left of the first cell: none.
    EXPECT_EQ(1, layout.HitTest(0, 500, 0));
    EXPECT_EQ(-1, layout.HitTest(0, 3, 0));
    // The band follows the top line; lines outside the table are none.
    EXPECT_EQ(3, layout.HitTest(1, 8 + 5 * cw, 1, &cell));
    EXPECT_EQ(0, cell.top);
    EXPECT_EQ(lh, cell.bottom);
    EXPECT_EQ(-1, layout.HitTest(2, 8, 0));
    EXPECT_EQ(-1, layout.HitTest(-1, 8, 0));
    EXPECT_EQ(CString("bbb ccc "), layout.JoinWords(2, 1));
}

TEST(TextThumbFonts, SharedWhileAnyUserLives)
{
    ASSERT_EQ(0, CTextThumbFonts::GetUserCount());
    EXPECT_EQ(nullptr, CTextThumbFonts::GetFonts().pNormal);
    {
        CTextThumbFontUser first;
        MINIART_FONTS fonts = CTextThumbFonts::GetFonts();
        ASSERT_NE(nullptr, fonts.pNormal);
        LOGFONT lf{};
        fonts.pBold->GetLogFont(&lf);
        EXPECT_EQ(14, lf.lfHeight);
        EXPECT_EQ(FW_BOLD, lf.lfWeight);
        EXPECT_STREQ("Arial", lf.lfFaceName);
        fonts.pItalic->GetLogFont(&lf);
        EXPECT_TRUE(lf.lfItalic);
        fonts.pUnderline->GetLogFont(&lf);
        EXPECT_TRUE(lf.lfUnderline);
        HGDIOBJ hNormal = fonts.pNormal->GetSafeHandle();
        {
            CTextThumbFontUser second;
            EXPECT_EQ(2, CTextThumbFonts::GetUserCount());
            EXPECT_EQ(hNormal, CTextThumbFonts::GetFonts().pNormal->GetSafeHandle());
        }
        EXPECT_EQ(hNormal, CTextThumbFonts::GetFonts().pNormal->GetSafeHandle());
    }
    EXPECT_EQ(0, CTextThumbFonts::GetUserCount());
    EXPECT_EQ(nullptr, CTextThumbFonts::GetFonts().pNormal);
}

}  // namespace
