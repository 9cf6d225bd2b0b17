// Thumbnails of the window library: the base's hover and leave on the test clock, the press and
// release clones, the cursors and CreateAt; the shared line breaker; the text card's word
// splitting with a fixed-pitch font and its layout; the timeline card's shrinking. Screenshots of a
// text card and a timeline card.
#include "base/ResourceLibrary.h"
#include "widgets/BreakTextLines.h"
#include "widgets/TextThumb.h"
#include "widgets/Thumbnail.h"
#include "widgets/TimelineThumb.h"

#include "base/Reference.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"

#include "WidgetTestSupport.h"

#include <DialogDriver.h>

#include <host/Clock.h>
#include <host/Input.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A reference whose file is there or not as the test says; its clones keep the switch.
class CSwitchReference : public CReference {
public:
    CSwitchReference(LONG nNumber, LPCSTR lpszTitle, const bool* pAvailable) : m_pAvailable(pAvailable)
    {
        SetNumber(nNumber);
        SetKind(REFKIND_ARTICLE);
        SetTitle(lpszTitle);
    }
    BOOL IsFileAvailable() override { return *m_pAvailable; }
    CReference* Clone() override
    {
        auto* pClone = new CSwitchReference(GetNumber(), GetTitle(), m_pAvailable);
        return pClone;
    }

private:
    const bool* m_pAvailable;
};

// The main window: keeps every status text posted to it (the texts it owns) and every reference
// a thumbnail posts (the clones it owns).
class CRecordingMain : public CWnd {
public:
    struct Posted {
        UINT message;
        LONG number;
        const void* pointer;
    };
    std::vector<std::string> status;  // "<empty>" for lParam 0
    std::vector<Posted> posted;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_STATUS_TEXT) {
            auto* pText = reinterpret_cast<CString*>(lParam);
            status.push_back(pText != nullptr ? std::string(static_cast<LPCSTR>(*pText)) : "<empty>");
            delete pText;
            return 0;
        }
        if (message == VLM_THUMB_PRESS || message == VLM_THUMB_RELEASE) {
            auto* pRef = reinterpret_cast<CReference*>(lParam);
            posted.push_back({message, pRef != nullptr ? pRef->GetNumber() : -1, pRef});
            delete pRef;
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A thumbnail with nothing of its own: the base's behaviour alone.
class CBareThumb : public CThumbnail {
public:
    explicit CBareThumb(CReference* pRef, LPCSTR lpszDescription)
    {
        if (pRef != nullptr)
            m_pReference = pRef->Clone();
        m_strDescription = lpszDescription;
    }
    int GetThumbWidth() override { return 0; }
    int GetThumbHeight() override { return 0; }
};

class ThumbnailTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        thumbs.clear();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        BitmapTest::TearDown();
    }

    CBareThumb& AddThumb(LONG nNumber, LPCSTR lpszDescription, int x, int y)
    {
        CSwitchReference ref(nNumber, "Item", &available);
        thumbs.push_back(std::make_unique<CBareThumb>(&ref, lpszDescription));
        EXPECT_TRUE(thumbs.back()->CreateAt(&main, x, y));
        ui::PumpUntilIdle();
        return *thumbs.back();
    }

    static CPoint Centre(CWnd& wnd)
    {
        CRect rect;
        wnd.GetWindowRect(&rect);
        return rect.CenterPoint();
    }
    static void MoveTo(CPoint point)
    {
        host::MouseMove(point.x, point.y);
        ui::PumpUntilIdle();
    }

    bool available = true;
    CRecordingMain main;
    std::vector<std::unique_ptr<CBareThumb>> thumbs;
};

TEST_F(ThumbnailTest, CreateAtMakesTheStandardSizeAtThePoint)
{
    CBareThumb& thumb = AddThumb(1001, "Aviation", 10, 20);
    CRect rect;
    thumb.GetWindowRect(&rect);
    main.ScreenToClient(&rect);
    EXPECT_EQ(CRect(10, 20, 150, 125), rect);
    EXPECT_EQ(DWORD(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS), thumb.GetStyle() & 0xFFFF0000u);
    EXPECT_EQ(0, thumb.GetDlgCtrlID());
    EXPECT_FALSE(CThumbnail::GetClassName().IsEmpty());
}

TEST_F(ThumbnailTest, HoverPostsTheDescriptionOnceAndLeavingEmptiesIt)
{
    CBareThumb& first = AddThumb(1001, "Aviation is flying", 10, 10);
    CBareThumb& second = AddThumb(1002, "A volcano erupts", 160, 10);

    // Moves over one thumbnail post its text once, and its hover timer runs.
    MoveTo(Centre(first));
    MoveTo(Centre(first) + CPoint(3, 2));
    EXPECT_EQ(std::vector<std::string>{"Aviation is flying"}, main.status);
    EXPECT_EQ(&first, CThumbnail::GetHoveredThumbnail());
    EXPECT_NE(0u, first.GetHoverTimer());

    // Straight onto the neighbour: its text at once; the first one's timer stops within a tick
    // without emptying the status line.
    MoveTo(Centre(second));
    EXPECT_EQ((std::vector<std::string>{"Aviation is flying", "A volcano erupts"}), main.status);
    ui::AdvanceClock(THUMBNAIL_HOVER_PERIOD + 5);
    EXPECT_EQ(0u, first.GetHoverTimer());
    EXPECT_EQ(&second, CThumbnail::GetHoveredThumbnail());
    EXPECT_EQ(2u, main.status.size()) << "no empty text while the neighbour shows its own";

    // Off onto the empty view: within one tick the status text is emptied.
    MoveTo(CPoint(500, 400));
    EXPECT_EQ(2u, main.status.size()) << "nothing before the tick";
    ui::AdvanceClock(THUMBNAIL_HOVER_PERIOD + 5);
    EXPECT_EQ((std::vector<std::string>{"Aviation is flying", "A volcano erupts", "<empty>"}), main.status);
    EXPECT_EQ(nullptr, CThumbnail::GetHoveredThumbnail());
    EXPECT_EQ(0u, second.GetHoverTimer());

    // Coming back posts the text again.
    MoveTo(Centre(second));
    EXPECT_EQ("A volcano erupts", main.status.back());
}

TEST_F(ThumbnailTest, DestroyingTheHoveredThumbnailEmptiesTheStatusLine)
{
    CBareThumb& thumb = AddThumb(1001, "Aviation", 10, 10);
    MoveTo(Centre(thumb));
    ASSERT_EQ(&thumb, CThumbnail::GetHoveredThumbnail());
    thumb.DestroyWindow();
    ui::PumpUntilIdle();
    EXPECT_EQ((std::vector<std::string>{"Aviation", "<empty>"}), main.status);
    EXPECT_EQ(nullptr, CThumbnail::GetHoveredThumbnail());
    EXPECT_EQ(0u, thumb.GetHoverTimer());
}

TEST_F(ThumbnailTest, PressAndReleasePostFreshClonesAndTheReleaseHoldsASecond)
{
    CBareThumb& thumb = AddThumb(1004, "Jazz", 10, 10);
    const std::uint64_t before = host::ClockMilliseconds();
    CPoint centre = Centre(thumb);
    host::Click(centre.x, centre.y);
    ui::PumpUntilIdle();
    ASSERT_EQ(2u, main.posted.size());
    EXPECT_EQ(UINT(VLM_THUMB_PRESS), main.posted[0].message);
    EXPECT_EQ(UINT(VLM_THUMB_RELEASE), main.posted[1].message);
    for (const auto& post : main.posted) {
        EXPECT_EQ(1004, post.number);
        EXPECT_NE(static_cast<const void*>(thumb.GetReference()), post.pointer) << "a clone, not the thumbnail's own";
    }
    EXPECT_GE(host::ClockMilliseconds() - before, std::uint64_t(THUMBNAIL_RELEASE_PAUSE));
    // The thumbnail's own reference is untouched, and CloneReference gives yet another copy.
    std::unique_ptr<CReference> clone(thumb.CloneReference());
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(1004, clone->GetNumber());
    EXPECT_NE(thumb.GetReference(), clone.get());

    // A second click after the pause posts again.
    ui::AdvanceClock(1000);
    host::Click(centre.x, centre.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(4u, main.posted.size());
}

TEST_F(ThumbnailTest, CursorTellsAMissingItemFromAnAvailableOne)
{
    CBareThumb& thumb = AddThumb(10000123, "Online item", 10, 10);
    available = false;
    MoveTo(Centre(thumb));
    EXPECT_EQ(LoadProgramCursor(THUMBNAIL_CURSOR_MISSING, IDC_NO), host::CurrentCursor());
    available = true;
    MoveTo(Centre(thumb) + CPoint(1, 1));
    EXPECT_EQ(LoadProgramCursor(THUMBNAIL_CURSOR_ITEM, IDC_HAND), host::CurrentCursor());
    EXPECT_NE(LoadProgramCursor(THUMBNAIL_CURSOR_MISSING, IDC_NO),
              LoadProgramCursor(THUMBNAIL_CURSOR_ITEM, IDC_HAND));
    // A thumbnail without a reference shows the item cursor.
    CBareThumb bare(nullptr, "");
    EXPECT_EQ(LoadProgramCursor(THUMBNAIL_CURSOR_ITEM, IDC_HAND), bare.ChooseCursor());
}

// ---- the line breaker -----------------------------------------------------------------------------

// A memory device context with a fixed-pitch font that records what is written.
class CRecordingDC : public CDC {
public:
    CRecordingDC()
    {
        CreateCompatibleDC(NULL);
        bitmap.CreateBitmap(400, 300, 1, 32, NULL);
        SelectObject(&bitmap);
        font.CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_MODERN, "Courier New");
        SelectObject(&font);
        w = GetTextExtent(CString("M")).cx;
    }
    BOOL TextOut(int x, int y, LPCSTR lpszString, int nCount) override
    {
        written.push_back({x, y, std::string(lpszString, size_t(nCount))});
        return CDC::TextOut(x, y, lpszString, nCount);
    }
    using CDC::TextOut;
    struct Out {
        int x, y;
        std::string text;
        bool operator==(const Out&) const = default;
    };
    std::vector<Out> written;
    int w = 0;
    CBitmap bitmap;
    CFont font;
};

TEST(BreakTextLines, CasesWithAFixedPitchFont)
{
    CRecordingDC dc;
    ASSERT_GT(dc.w, 0);
    const int w = dc.w, h = 10;
    using Out = CRecordingDC::Out;
    struct Case {
        const char* name;
        const char* text;
        int boxChars;     // box width in characters, from x 0
        int boxLines;     // box height in lines
        int penChars;     // the pen's start, in characters
        std::vector<Out> want;
        CPoint pen;       // in characters and lines
    } cases[] = {
        {"fits on the first line", "ab cd", 20, 3, 2, {{2 * w, 0, "ab cd"}}, CPoint(7, 0)},
        {"cut at the last blank that fits", "one two three", 9, 3, 0,
         {{0, 0, "one two"}, {0, h, "three"}}, CPoint(5, 1)},
        {"word wider than the box at a line's start is written whole", "elephantine ox", 6, 3, 0,
         {{0, 0, "elephantine"}, {0, h, "ox"}}, CPoint(2, 1)},
        {"a word that does not fit the rest of a line starts the next", "longword", 10, 3, 4,
         {{0, h, "longword"}}, CPoint(8, 1)},
        {"no room for a line: nothing, the pen stays", "abc", 10, 0, 1, {}, CPoint(1, 0)},
        {"what does not fit in the height is dropped", "aa bb cc dd", 2, 2, 0,
         {{0, 0, "aa"}, {0, h, "bb"}}, CPoint(0, 2)},
        {"two blanks: the line ends before both, the next begins with the second", "abcd  efgh", 6, 3, 0,
         {{0, 0, "abcd"}, {0, h, " efgh"}}, CPoint(5, 1)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        dc.written.clear();
        CPoint pen(c.penChars * w, 0);
        const CRect box(0, 0, c.boxChars * w, c.boxLines * h);
        BreakTextLines(&dc, pen, box, h, c.text, FALSE);
        EXPECT_EQ(c.want, dc.written);
        EXPECT_EQ(CPoint(c.pen.x * w, c.pen.y * h), pen);
        // Measuring moves the pen the same way and writes nothing.
        dc.written.clear();
        CPoint measured(c.penChars * w, 0);
        BreakTextLines(&dc, measured, box, h, c.text, TRUE);
        EXPECT_TRUE(dc.written.empty());
        EXPECT_EQ(pen, measured);
    }
    // A line height of 0 would never end: nothing happens.
    CPoint pen(0, 0);
    dc.written.clear();
    BreakTextLines(&dc, pen, CRect(0, 0, 100, 100), 0, "a b c", FALSE);
    EXPECT_TRUE(dc.written.empty());
}

// ---- the text card ------------------------------------------------------------------------------

// A text card laid out in "Courier New" (every letter the same width).
class CFixedTextThumb : public CTextThumb {
public:
    CFixedTextThumb(CReference* pRef, const CString* pText, const CString* pTitle) : CTextThumb(pRef, pText, pTitle)
    {
        CTextThumbFonts::CreateFontSet("Courier New", 14, regular, bold, italic, underline);
    }
    CFixedTextThumb() : CFixedTextThumb(nullptr, nullptr, nullptr) {}
    CFont regular, bold, italic, underline;

protected:
    CFont* GetRegularFont() override { return &regular; }
    CFont* GetBoldFont() override { return &bold; }
};

class TextThumbTest : public ThumbnailTest {
protected:
    void SetUp() override
    {
        ThumbnailTest::SetUp();
        dc.CreateCompatibleDC(NULL);
        probe.CreateFont(14, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, FF_SWISS, "Courier New");
        pOld = dc.SelectObject(&probe);
        w = dc.GetTextExtent(CString("M")).cx;
        ASSERT_GT(w, 0);
        ASSERT_EQ(w * 5, dc.GetTextExtent(CString("iiiii")).cx) << "the test font must be fixed-pitch";
    }
    void TearDown() override
    {
        dc.SelectObject(pOld);
        ThumbnailTest::TearDown();
    }
    // Splits a word to a room of n characters; the part, and what the rest became.
    std::pair<std::string, std::string> Split(CFixedTextThumb& card, const char* word, int nChars,
                                              const char* rest = "next")
    {
        CString strRest = rest;
        CString strPart = card.SplitWord(word, strRest, nChars * w, &dc);
        return {std::string(static_cast<LPCSTR>(strPart)), std::string(static_cast<LPCSTR>(strRest))};
    }

    CDC dc;
    CFont probe;
    CFont* pOld = nullptr;
    int w = 0;
};

TEST_F(TextThumbTest, SplitWordCases)
{
    CFixedTextThumb card;
    struct Case {
        const char* word;
        int room;  // characters
        const char* part;
        const char* rest;
        bool split;
    } cases[] = {
        // Known endings, upper and lower case: the part before them with a hyphen.
        {"ANTHROPOLOGY", 8, "ANTHROP-", "OLOGY next", true},
        {"anthropology", 8, "anthrop-", "ology next", true},
        {"PHOTOGRAPHY", 7, "PHOTO-", "GRAPHY next", true},
        {"revolutionary", 9, "revoluti-", "onary next", true},  // no ending: the last four, then further left
        {"civilization", 9, "civiliza-", "tion next", true},
        {"Hungarian", 7, "Hungar-", "ian next", true},
        // No known ending: the last four letters go when the rest fits.
        {"bookkeepers", 8, "bookkee-", "pers next", true},
        // The ending's part does not fit: as far right as fits.
        {"ANTHROPOLOGY", 7, "ANTHRO-", "POLOGY next", true},
        // Neither: as far right as fits.
        {"extraordinarily", 6, "extra-", "ordinarily next", true},
        // A comma inside the word cuts without a hyphen.
        {"north,south", 8, "north,", "south next", true},
        // Digits are never cut; nothing that fits leaves the word whole.
        {"1,234,567", 3, "1,234,567", "next", false},
        {"B-52s", 2, "B-52s", "next", false},
        {"abcdefgh", 1, "abcdefgh", "next", false},
        // Trailing blanks go; an empty word stays empty.
        {"", 5, "", "next", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.word);
        auto [part, rest] = Split(card, c.word, c.room);
        EXPECT_EQ(c.part, part);
        EXPECT_EQ(c.rest, rest);
        EXPECT_EQ(c.split, bool(card.IsSplit()));
        if (c.split) {
            EXPECT_LE(dc.GetTextExtent(CString(part.c_str())).cx, c.room * w) << "the part fits";
        }
    }
}

TEST_F(TextThumbTest, ComposeTitleJoinsTitleAndBody)
{
    CSwitchReference ref(1001, "  Aviation ", &available);
    struct Case {
        bool available;
        const char* text;
        const char* title;
        const char* composed;
    } cases[] = {
        {true, "Aviation is the design of aircraft.", nullptr, "Aviation </B> is the design of aircraft."},
        {true, "The design of aircraft.", nullptr, "Aviation </B> The design of aircraft."},
        // Not available: the title handed in by the factory.
        {false, "Lindbergh A lone pilot.", "Lindbergh", "Lindbergh </B> A lone pilot."},
        // No title at all: the body alone, in regular type.
        {false, "Just a body.", nullptr, "</B>Just a body."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.composed);
        available = c.available;
        CString strText = c.text, strTitle = c.title != nullptr ? c.title : "";
        CTextThumb card(&ref, &strText, c.title != nullptr ? &strTitle : nullptr);
        EXPECT_STREQ(c.composed, card.GetComposedText());
        EXPECT_STREQ(c.text, card.GetDescription()) << "the status line shows the body as the factory made it";
    }
}

TEST_F(TextThumbTest, LayoutCapitalisesTheTitleHyphenatesAndShrinksTheCard)
{
    CSwitchReference ref(1001, "Aviation", &available);
    // A short text: one line, the card its width plus 10.
    CString strShort = "Aviation flies.";
    CFixedTextThumb shortCard(&ref, &strShort, nullptr);
    shortCard.LayoutText(&dc);
    ASSERT_EQ(2u, shortCard.GetPlacedWords().size());
    EXPECT_STREQ("AVIATION", shortCard.GetPlacedWords()[0].strText) << "the title in capitals";
    EXPECT_TRUE(shortCard.GetPlacedWords()[0].bBold);
    EXPECT_STREQ("flies.", shortCard.GetPlacedWords()[1].strText) << "the body keeps its case";
    EXPECT_FALSE(shortCard.GetPlacedWords()[1].bBold);
    EXPECT_LT(shortCard.GetCardRect().Width(), THUMBNAIL_WIDTH);
    EXPECT_EQ(shortCard.GetMeasuredWidth() + 10, shortCard.GetCardRect().Width());

    // ANTHROPOLOGY at the end of a line that lacks room: ANTHROP- stays, OLOGY starts the next.
    // The line holds int(130 * 0.97) = 126 pixels; the text is sized so that "ANTHROP-" fits
    // after "Xx " and the whole word does not.
    CFont* pPrev = dc.SelectObject(&shortCard.bold);
    const int nGap = dc.GetTextExtent(CString("r")).cx * 3 / 4;
    dc.SelectObject(pPrev);
    int k = 1;
    while (8 + (k + 1) * w + nGap + 8 * w <= 126)
        ++k;
    CString strLong = CString('x', k) + " anthropology, and more digits 1234567890123456 here";
    CSwitchReference untitled(1002, "", &available);
    CFixedTextThumb card(&untitled, &strLong, nullptr);
    card.LayoutText(&dc);
    const auto& words = card.GetPlacedWords();
    ASSERT_GE(words.size(), 4u);
    EXPECT_STREQ("anthrop-", words[1].strText);
    EXPECT_EQ(words[0].y, words[1].y);
    EXPECT_STREQ("ology,", words[2].strText) << "the remainder, with its comma, starts the next line";
    EXPECT_EQ(8, words[2].x);
    EXPECT_GT(words[2].y, words[1].y);
    EXPECT_EQ(THUMBNAIL_WIDTH, card.GetCardRect().Width()) << "wrapped text makes the card 140 wide";
    for (const auto& word : words) {
        std::string text = static_cast<LPCSTR>(word.strText);
        if (text.find_first_of("0123456789") != std::string::npos) {
            EXPECT_EQ("1234567890123456", text) << "digits are never hyphenated";
        }
        EXPECT_NE(',', text.empty() ? ' ' : text[0]) << "no word starts with a comma";
    }
}

TEST_F(TextThumbTest, ACommaStandingApartNeverStartsALineAndAFullCardEndsWithDots)
{
    CSwitchReference untitled(1003, "", &available);
    const int nLineChars = 126 / w;
    // The comma would fall at the start of the second line.
    CString strText = CString('a', nLineChars - 1) + " , bb";
    CFixedTextThumb card(&untitled, &strText, nullptr);
    card.LayoutText(&dc);
    ASSERT_FALSE(card.GetPlacedWords().empty());
    for (const auto& word : card.GetPlacedWords())
        EXPECT_NE(',', word.strText[0]);
    EXPECT_STREQ(CString('a', nLineChars - 1) + ",", card.GetPlacedWords()[0].strText);

    // Far more text than a card holds: the last line ends with "..." and the card keeps its
    // lines within 105 pixels of text room.
    CString strMany;
    for (int i = 0; i < 60; ++i)
        strMany += "word ";
    CFixedTextThumb full(&untitled, &strMany, nullptr);
    full.LayoutText(&dc);
    ASSERT_NE(-1, full.GetEllipsisWord());
    EXPECT_STREQ("...", full.GetPlacedWords().back().strText);
    EXPECT_LE(full.GetCardRect().Height(), THUMBNAIL_HEIGHT + 16);

    // No text at all: the developer's message.
    CFixedTextThumb empty;
    empty.LayoutText(&dc);
    CString strShown;
    for (const auto& word : empty.GetPlacedWords())
        strShown += word.strText + " ";
    EXPECT_EQ(0, strShown.Find("No first line text was passed"));
}

TEST_F(TextThumbTest, ALongTitleWordWidensTheCard)
{
    CSwitchReference ref(1005, "Pneumonoultramicroscopic", &available);
    CString strText = "A word.";
    CFixedTextThumb card(&ref, &strText, nullptr);
    card.LayoutText(&dc);
    const int cx = static_cast<int>(card.GetPlacedWords()[0].strText.GetLength()) * w;
    EXPECT_GE(card.GetCardRect().Width(), 8 + cx + 10) << "the title word fits on the card";
}

TEST_F(ThumbnailTest, TextAndTimelineCardsOnScreen)
{
    CSwitchReference ref(1001, "Aviation", &available);
    CString strText = "Aviation is the design, building and flying of aircraft, from balloons and gliders "
                      "to jet airliners and spacecraft; ANTHROPOLOGY and PALEONTOLOGY aside.";
    CTextThumb card(&ref, &strText, nullptr);
    ASSERT_TRUE(card.CreateAt(&main, 10, 10));
    CString strShort = "Jazz swings.";
    CSwitchReference jazz(1004, "Jazz", &available);
    CTextThumb shortCard(&jazz, &strShort, nullptr);
    ASSERT_TRUE(shortCard.CreateAt(&main, 170, 10));

    CSwitchReference timelineRef(4060001, "Milestones of Flight", &available);
    CTimelineThumb timeline(&timelineRef, "Aviation");
    ASSERT_TRUE(timeline.CreateAt(&main, 330, 10));
    CSwitchReference longRef(4060002, "Great Eruptions of the Last Two Thousand Years around the Pacific Ring of Fire",
                             &available);
    CTimelineThumb longTimeline(&longRef, "Volcano");
    ASSERT_TRUE(longTimeline.CreateAt(&main, 490, 10));
    CTimelineThumb untitled(&timelineRef, "");
    ASSERT_TRUE(untitled.CreateAt(&main, 330, 140));
    ui::PumpUntilIdle();

    // The text card: 140 wide for wrapped text, its height from the layout.
    CRect rect;
    card.GetWindowRect(&rect);
    EXPECT_EQ(THUMBNAIL_WIDTH, rect.Width());
    shortCard.GetWindowRect(&rect);
    EXPECT_LT(rect.Width(), THUMBNAIL_WIDTH);

    // A short timeline title: the card shrinks so that its text area ends under the last line.
    timeline.GetWindowRect(&rect);
    EXPECT_LT(rect.Height(), THUMBNAIL_HEIGHT);
    EXPECT_EQ(140, rect.Width());
    EXPECT_STREQ("from the Aviation article.", timeline.GetSourceLine());
    EXPECT_STREQ("Milestones of Flight", timeline.GetDescription());
    {
        CClientDC cdc(&timeline);
        CRect client;
        timeline.GetClientRect(&client);
        CRect area = CTimelineThumb::TextArea(client);
        EXPECT_EQ(22, area.top);
        EXPECT_GE(area.Height(), timeline.DrawTimelineText(&cdc, area, TRUE)) << "the text still fits";
    }
    // A title that fills the area: the card keeps its full height.
    longTimeline.GetWindowRect(&rect);
    EXPECT_EQ(THUMBNAIL_HEIGHT, rect.Height());
    // An empty article title keeps the source line's two blanks.
    EXPECT_STREQ("from the  article.", untitled.GetSourceLine());

    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "thumbnails-text-timeline.png");
}

}  // namespace
