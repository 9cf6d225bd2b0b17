// The mini-article text box: selection by dragging the mouse (marks, joined text, the 40-character
// cut), clicks, the no-selection flag, drops on the text drop targets (panes and toolbar buttons),
// the double-click look-up, the cursors, scrolling and shrinking. Screenshots of a selection.
#include "widgets/MiniArtThumb.h"
#include "widgets/TextDropTarget.h"

#include "base/Reference.h"
#include "base/OnlineReference.h"
#include "base/ResourceLibrary.h"
#include "base/Rin.h"

#include "WidgetTestSupport.h"

#include <DialogDriver.h>

#include <host/Display.h>
#include <host/Input.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A window that takes drops, as the panes and the toolbar's buttons do; it records what it is given.
class CRecordingTarget : public CWndTextDropTarget {
public:
    CRecordingTarget(int nRank, int nAction, CWnd* pWnd) : CWndTextDropTarget(nRank, nAction), m_pWnd(pWnd) {}
    CWnd* GetDropWindow() override { return m_pWnd; }
    void DropText(int nAction, const CString& strText) override
    {
        received.push_back({nAction, std::string(static_cast<LPCSTR>(strText))});
    }
    std::vector<std::pair<int, std::string>> received;

private:
    CWnd* m_pWnd;
};

// A toolbar with a Search and a Dictionary button: one target that tells which button is under
// the point.
class CToolbarTarget : public CTextDropTarget {
public:
    CToolbarTarget(CWnd* pSearch, CWnd* pDictionary)
        : CTextDropTarget(TEXTDROP_RANK_TOOLBAR), m_pSearch(pSearch), m_pDictionary(pDictionary)
    {
    }
    int HitTextDrop(CPoint ptScreen) override
    {
        CWnd* pWnd = CWnd::WindowFromPoint(ptScreen);
        if (pWnd == m_pSearch)
            return TEXTDROP_SEARCH;
        if (pWnd == m_pDictionary)
            return TEXTDROP_LOOKUP;
        return TEXTDROP_NONE;
    }
    void DropText(int nAction, const CString& strText) override
    {
        received.push_back({nAction, std::string(static_cast<LPCSTR>(strText))});
    }
    std::vector<std::pair<int, std::string>> received;

private:
    CWnd* m_pSearch;
    CWnd* m_pDictionary;
};

const char kText[] = "<B>Quick facts</B> The brown fox jumps over the lazy dog and runs far away from "
                     "the <RED>angry farmer</RED> who <I>chases</I> it.";

class MiniArtThumbTest : public BitmapTest {
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
        box.reset();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        BitmapTest::TearDown();
    }

    CMiniArtThumb& MakeBox(const char* text, CRect rect = CRect(20, 20, 320, 170), BOOL bNoSelection = FALSE)
    {
        box = std::make_unique<CMiniArtThumb>(bNoSelection);
        EXPECT_TRUE(box->Create(0, rect, &main));
        box->SetText(text);
        ui::PumpUntilIdle();
        return *box;
    }

    // The screen point in the middle of a run's cell.
    CPoint RunPoint(int nRun) const
    {
        const CMiniArtLayout& layout = box->GetLayout();
        int nLine = layout.LineOfRun(nRun);
        CRect cell = layout.Runs()[size_t(nRun)].rectCell;
        CPoint pt(cell.left + std::max(cell.Width() / 2, 1), (nLine - box->GetTopLine()) * layout.GetLineHeight() +
                                                                 layout.GetLineHeight() / 2);
        box->ClientToScreen(&pt);
        return pt;
    }

    // Presses on one run, moves over another and releases there (long enough after the last
    // press not to make a double click).
    void Drag(int nFrom, int nTo)
    {
        ui::AdvanceClock(1000);
        CPoint from = RunPoint(nFrom), to = RunPoint(nTo);
        host::MouseMove(from.x, from.y);
        host::MouseDown();
        ui::PumpUntilIdle();
        host::MouseMove(from.x + 1, from.y);
        ui::PumpUntilIdle();
        host::MouseMove(to.x, to.y);
        ui::PumpUntilIdle();
        host::MouseUp();
        ui::PumpUntilIdle();
    }

    std::vector<int> SelectedRuns() const
    {
        std::vector<int> runs;
        for (int i = 0; i < box->GetLayout().GetRunCount(); ++i)
            if (box->IsRunSelected(i))
                runs.push_back(i);
        return runs;
    }

    // The run whose word is that (the first one).
    int RunOf(const char* word) const
    {
        const CMiniArtLayout& layout = box->GetLayout();
        for (int i = 0; i < layout.GetRunCount(); ++i)
            if (layout.GetWord(i) == word)
                return i;
        ADD_FAILURE() << "no run \"" << word << "\"";
        return 0;
    }

    CWnd main;
    std::unique_ptr<CMiniArtThumb> box;
};

TEST_F(MiniArtThumbTest, DragSelectsWordsAndJoinsTheirText)
{
    CMiniArtThumb& b = MakeBox(kText);
    const int brown = RunOf("brown "), jumps = RunOf("jumps ");
    Drag(brown, jumps);
    EXPECT_EQ((std::vector<int>{brown, brown + 1, jumps}), SelectedRuns());
    EXPECT_EQ(brown, b.GetSelectionStart());
    EXPECT_EQ(jumps, b.GetSelectionEnd());
    EXPECT_EQ(CString("brown fox jumps "), b.GetSelectionText());
    EXPECT_EQ(CString("brown fox jumps "), b.GetSelectedWord());
    EXPECT_EQ(CString("brown fox jumps "), b.GetCopyText());

    // The selected words are drawn blue on lavender; the others on the box's background.
    CPoint inside = RunPoint(brown + 1);
    CRect cell = b.GetLayout().Runs()[size_t(brown + 1)].rectCell;
    CPoint corner(cell.left, 0);
    b.ClientToScreen(&corner);
    COLORREF lavender = host::DesktopPixel(corner.x + 1, inside.y - b.GetLineHeight() / 2 + 1);
    EXPECT_EQ(RGB(218, 200, 230), lavender);
    CPoint after = RunPoint(jumps + 1);
    EXPECT_EQ(RGB(255, 255, 231), host::DesktopPixel(after.x, after.y - b.GetLineHeight() / 2 + 1));
    ui::dialog::Screenshot(b.GetSafeHwnd(), "mini_article_selection.png");

    // Dragging from right to left selects the same way; the start is the lower run.
    Drag(jumps, brown);
    EXPECT_EQ((std::vector<int>{brown, brown + 1, jumps}), SelectedRuns());
    EXPECT_EQ(brown, b.GetSelectionStart());
    EXPECT_EQ(CString("brown fox jumps "), b.GetSelectionText());
}

TEST_F(MiniArtThumbTest, DraggingBackUnmarksAndAClickClears)
{
    CMiniArtThumb& b = MakeBox(kText);
    const int the = RunOf("The ");
    CPoint start = RunPoint(the), far = RunPoint(the + 3), back = RunPoint(the + 1);
    host::MouseMove(start.x, start.y);
    host::MouseDown();
    host::MouseMove(start.x + 1, start.y);
    host::MouseMove(far.x, far.y);
    ui::PumpUntilIdle();
    EXPECT_EQ((std::vector<int>{the, the + 1, the + 2, the + 3}), SelectedRuns());
    host::MouseMove(back.x, back.y);
    ui::PumpUntilIdle();
    EXPECT_EQ((std::vector<int>{the, the + 1}), SelectedRuns());
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_EQ(CString("The brown "), b.GetSelectionText());

    // A click without moving clears the selection and both texts.
    host::Click(back.x, back.y + 20);
    ui::PumpUntilIdle();
    EXPECT_TRUE(SelectedRuns().empty());
    EXPECT_EQ(-1, b.GetSelectionStart());
    EXPECT_TRUE(b.GetCopyText().IsEmpty());

    // A one-word selection gives the word without its blank; a new selection forgets the old text.
    Drag(the + 2, the + 2);
    EXPECT_EQ((std::vector<int>{the + 2}), SelectedRuns());
    EXPECT_TRUE(b.GetSelectionText().IsEmpty());
    EXPECT_EQ(CString("fox"), b.GetSelectedWord());
    EXPECT_EQ(CString("fox"), b.GetCopyText());
}

TEST_F(MiniArtThumbTest, SelectionsLongerThanFortyCharactersAreCut)
{
    struct Case {
        const char* text;
        const char* cut;
    } cases[] = {
        {"short words only", "short words only"},
        {"exactly forty characters long, no more!!", "exactly forty characters long, no more!!"},
        {"The brown fox jumps over the lazy dog and runs far", "The brown fox jumps over the lazy dog "},
        {"Short words then a stop.abcdefghijklmnopqrstuvwxyz", "Short words then a stop."},
        {"abcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz", "abcdefghijklmnopqrstuvwxyzabcdefghijklmn"},
        {"a;bcdefghijklmnopqrstuvwxyzabcdefghijklmnopqrstuvwxyz", "a;"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CString(c.cut), CMiniArtThumb::CutSelectedWord(c.text)) << c.text;

    // A long drag: the copy text is whole, the word handed to a pane is cut.
    CMiniArtThumb& b = MakeBox(kText);
    Drag(RunOf("The "), RunOf("far "));
    EXPECT_EQ(CString("The brown fox jumps over the lazy dog and runs far "), b.GetSelectionText());
    EXPECT_EQ(CString("The brown fox jumps over the lazy dog "), b.GetSelectedWord());
    EXPECT_EQ(b.GetSelectionText(), b.GetCopyText());
}

TEST_F(MiniArtThumbTest, NoSelectionBoxIgnoresTheMouse)
{
    CMiniArtThumb& b = MakeBox(kText, CRect(20, 20, 320, 170), TRUE);
    Drag(RunOf("The "), RunOf("jumps "));
    EXPECT_TRUE(SelectedRuns().empty());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    CPoint pt = RunPoint(RunOf("fox "));
    host::MouseMove(pt.x, pt.y);
    host::MouseDown();
    host::MouseUp();
    host::MouseDown();
    host::MouseUp();
    ui::PumpUntilIdle();
    EXPECT_TRUE(SelectedRuns().empty());
    EXPECT_TRUE(b.GetCopyText().IsEmpty());
}

class MiniArtDropTest : public MiniArtThumbTest {
protected:
    void SetUp() override
    {
        MiniArtThumbTest::SetUp();
        LPCSTR cls = AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                         static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH)));
        ASSERT_TRUE(searchPane.Create(cls, "Search", WS_CHILD | WS_VISIBLE, CRect(400, 20, 600, 220), &main, 8007));
        ASSERT_TRUE(dictionaryPane.Create(cls, "Dictionary", WS_CHILD | WS_VISIBLE, CRect(400, 240, 600, 440), &main,
                                          8008));
        ASSERT_TRUE(searchButton.Create(cls, "S", WS_CHILD | WS_VISIBLE, CRect(20, 500, 80, 540), &main, 1));
        ASSERT_TRUE(dictionaryButton.Create(cls, "D", WS_CHILD | WS_VISIBLE, CRect(100, 500, 160, 540), &main, 2));
        ui::PumpUntilIdle();
    }

    // Presses on the selection and releases over a point of the screen.
    void DropSelectionAt(CPoint target)
    {
        ui::AdvanceClock(1000);
        CPoint from = RunPoint(box->GetSelectionStart());
        host::MouseMove(from.x, from.y);
        host::MouseDown();
        ui::PumpUntilIdle();
        EXPECT_TRUE(box->IsDragging());
        host::MouseMove(target.x, target.y);
        ui::PumpUntilIdle();
        host::MouseUp();
        ui::PumpUntilIdle();
        EXPECT_FALSE(box->IsDragging());
    }

    static CPoint Centre(CWnd& wnd)
    {
        CRect r;
        wnd.GetWindowRect(&r);
        return r.CenterPoint();
    }

    CWnd searchPane, dictionaryPane, searchButton, dictionaryButton;
};

TEST_F(MiniArtDropTest, DropGoesToTheTargetUnderTheRelease)
{
    // The targets join in any order; they are asked by rank.
    CToolbarTarget toolbar(&searchButton, &dictionaryButton);
    CRecordingTarget dictionary(TEXTDROP_RANK_DICTIONARY_PANE, TEXTDROP_LOOKUP, &dictionaryPane);
    CRecordingTarget search(TEXTDROP_RANK_SEARCH_PANE, TEXTDROP_SEARCH, &searchPane);
    MakeBox(kText);
    Drag(RunOf("lazy "), RunOf("dog "));

    struct Case {
        CWnd* where;
        std::vector<std::pair<int, std::string>>* receiver;
        int action;
    } cases[] = {
        {&searchPane, &search.received, TEXTDROP_SEARCH},
        {&dictionaryPane, &dictionary.received, TEXTDROP_LOOKUP},
        {&dictionaryButton, &toolbar.received, TEXTDROP_LOOKUP},
        {&searchButton, &toolbar.received, TEXTDROP_SEARCH},
    };
    for (const Case& c : cases) {
        search.received.clear();
        dictionary.received.clear();
        toolbar.received.clear();
        DropSelectionAt(Centre(*c.where));
        EXPECT_EQ((std::vector<std::pair<int, std::string>>{{c.action, "lazy dog "}}), *c.receiver);
        EXPECT_EQ(1u, search.received.size() + dictionary.received.size() + toolbar.received.size());
        // The selection stays for the next drop.
        EXPECT_EQ(CString("lazy dog "), box->GetSelectedWord());
    }

    // Outside every target, and on a hidden pane, nothing is sent.
    search.received.clear();
    dictionary.received.clear();
    toolbar.received.clear();
    DropSelectionAt(CPoint(700, 560));
    CPoint onSearch = Centre(searchPane);
    searchPane.ShowWindow(SW_HIDE);
    DropSelectionAt(onSearch);
    EXPECT_TRUE(search.received.empty());
    EXPECT_TRUE(dictionary.received.empty());
    EXPECT_TRUE(toolbar.received.empty());
}

TEST_F(MiniArtDropTest, DoubleClickLooksTheWordUpInTheDictionaryPane)
{
    MakeBox(kText);
    CPoint fox = RunPoint(RunOf("fox "));
    {
        // Without a dictionary pane nothing is asked, but the word is selected.
        host::Click(fox.x, fox.y);
        host::Click(fox.x, fox.y);
        ui::PumpUntilIdle();
        EXPECT_EQ((std::vector<int>{RunOf("fox ")}), SelectedRuns());
        EXPECT_EQ(CString("fox"), box->GetSelectedWord());
    }
    CRecordingTarget dictionary(TEXTDROP_RANK_DICTIONARY_PANE, TEXTDROP_LOOKUP, &dictionaryPane);
    // The pane is asked even while it is hidden: it opens at the word.
    dictionaryPane.ShowWindow(SW_HIDE);
    CPoint dog = RunPoint(RunOf("dog "));
    host::Click(dog.x, dog.y);
    host::Click(dog.x, dog.y);
    ui::PumpUntilIdle();
    EXPECT_EQ((std::vector<std::pair<int, std::string>>{{TEXTDROP_LOOKUP, "dog"}}), dictionary.received);
    EXPECT_EQ((std::vector<int>{RunOf("dog ")}), SelectedRuns());
}

TEST_F(MiniArtDropTest, CursorIsTheArrowAndTheUpArrowWhileDragging)
{
    MakeBox(kText);
    CPoint fox = RunPoint(RunOf("fox "));
    host::MouseMove(fox.x, fox.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(32512, host::SystemCursorId(host::CurrentCursor()));
    Drag(RunOf("fox "), RunOf("jumps "));
    ui::AdvanceClock(1000);
    host::MouseMove(fox.x, fox.y);
    host::MouseDown();
    ui::PumpUntilIdle();
    EXPECT_EQ(32516, host::SystemCursorId(host::CurrentCursor()));
    CPoint away = Centre(searchPane);
    host::MouseMove(away.x, away.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(32516, host::SystemCursorId(host::CurrentCursor()));
    host::MouseUp();
    ui::PumpUntilIdle();
    host::MouseMove(fox.x, fox.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(32512, host::SystemCursorId(host::CurrentCursor()));
}

TEST_F(MiniArtThumbTest, LongTextScrollsLineByLine)
{
    std::string text;
    for (int i = 1; i <= 40; ++i)
        text += "Line" + std::to_string(i) + "<P>";
    CMiniArtThumb& b = MakeBox(text.c_str(), CRect(20, 20, 220, 20 + 5 * 16));
    const int lh = b.GetLineHeight();
    ASSERT_EQ(40, b.GetLineCount());
    CRect client;
    b.GetClientRect(&client);
    const int visible = client.Height() / lh - 1;
    EXPECT_EQ(visible, b.GetLastVisibleLine());
    int nMin = -1, nMax = -1;
    b.GetScrollRange(SB_VERT, &nMin, &nMax);
    EXPECT_EQ(0, nMin);
    EXPECT_EQ(40 - visible, nMax);
    EXPECT_TRUE(b.GetStyle() & WS_VSCROLL);

    b.SendMessage(WM_VSCROLL, SB_LINEDOWN);
    EXPECT_EQ(1, b.GetTopLine());
    EXPECT_EQ(1, b.GetScrollPos(SB_VERT));
    b.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(1 + visible, b.GetTopLine());
    b.SendMessage(WM_VSCROLL, SB_LINEUP);
    EXPECT_EQ(visible, b.GetTopLine());
    b.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 30));
    EXPECT_EQ(30, b.GetTopLine());
    EXPECT_EQ(30 + visible, b.GetLastVisibleLine());
    // Never past the last page.
    for (int i = 0; i < 10; ++i)
        b.SendMessage(WM_VSCROLL, SB_PAGEDOWN);
    EXPECT_EQ(40 - visible, b.GetTopLine());
    b.SendMessage(WM_VSCROLL, SB_TOP);
    EXPECT_EQ(0, b.GetTopLine());
    b.SendMessage(WM_VSCROLL, SB_PAGEUP);
    EXPECT_EQ(0, b.GetTopLine());
    ui::PumpUntilIdle();

    // The first visible line is painted at the top after scrolling.
    b.SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5));
    ui::PumpUntilIdle();
    EXPECT_EQ(5, b.GetTopLine());
    CPoint pt = RunPoint(RunOf("Line6"));
    CPoint origin(0, 0);
    b.ClientToScreen(&origin);
    EXPECT_LT(pt.y, origin.y + lh);
    ui::dialog::Screenshot(b.GetSafeHwnd(), "mini_article_scrolled.png");

    // A selection dragged below the box scrolls it a line.
    b.SendMessage(WM_VSCROLL, SB_TOP);
    ui::PumpUntilIdle();
    CPoint first = RunPoint(0);
    host::MouseMove(first.x, first.y);
    host::MouseDown();
    host::MouseMove(first.x + 1, first.y);
    ui::PumpUntilIdle();
    CRect window;
    b.GetWindowRect(&window);
    host::MouseMove(first.x, window.bottom + 10);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, b.GetTopLine());
    host::MouseUp();
    ui::PumpUntilIdle();
}

TEST_F(MiniArtThumbTest, ShortTextHidesTheBarAndMayShrinkTheBox)
{
    CMiniArtThumb& b = MakeBox("Two short<P>lines");
    EXPECT_EQ(2, b.GetLineCount());
    EXPECT_EQ(1, b.GetLastVisibleLine());
    CRect client, window;
    b.GetClientRect(&client);
    b.GetWindowRect(&window);
    EXPECT_EQ(window.Width(), client.Width()) << "no scroll bar is shown";

    // With shrinking the box becomes as high as its lines.
    EXPECT_EQ(b.GetLineHeight(), b.SetText("Two short<P>lines", TRUE));
    b.GetWindowRect(&window);
    EXPECT_EQ(2 * b.GetLineHeight(), window.Height());
    EXPECT_EQ(300, window.Width());
    EXPECT_TRUE(b.IsWindowVisible());

    // A box with a border keeps room for it and for its frame: 2 x (frame width + 1) more.
    CMiniArtThumb framed;
    ASSERT_TRUE(framed.Create(WS_CHILD | WS_VISIBLE | WS_BORDER, CRect(20, 300, 320, 450), &main));
    framed.SetFrameWidth(2);
    EXPECT_EQ(2, framed.GetFrameWidth());
    framed.SetText("Two short<P>lines", TRUE);
    framed.GetWindowRect(&window);
    EXPECT_EQ(2 * framed.GetLineHeight() + 6, window.Height());
    EXPECT_EQ(300, window.Width());
    framed.SetText("Two short<P>lines again", TRUE);
    framed.GetWindowRect(&window);
    EXPECT_EQ(300, window.Width()) << "laying out again keeps the width";
    ui::PumpUntilIdle();

    // No text, and a text of only tags: nothing to show, no failure.
    EXPECT_EQ(0, b.SetText(nullptr));
    EXPECT_EQ(0, b.GetLineCount());
    EXPECT_EQ(0, b.SetText("<B></B>"));
    ui::PumpUntilIdle();
}

TEST_F(MiniArtThumbTest, ReferenceTextAndResizeRewrap)
{
    CMiniArticleReference ref(CRin(12345), "Update", "An <B>update</B> of the article was released today.");
    box = std::make_unique<CMiniArtThumb>(&ref);
    ASSERT_TRUE(box->Create(0, CRect(20, 20, 420, 120), &main));
    ui::PumpUntilIdle();
    EXPECT_EQ(CString("An <B>update</B> of the article was released today."), box->GetText());
    ASSERT_GT(box->GetLayout().GetRunCount(), 0);
    EXPECT_EQ(1, box->GetLineCount());
    box->MoveWindow(20, 20, 120, 100);
    ui::PumpUntilIdle();
    EXPECT_GT(box->GetLineCount(), 2);
    EXPECT_EQ(CString("update"), box->GetLayout().GetWord(1));

    // A null reference gives an empty box.
    CMiniArtThumb empty(static_cast<const CReference*>(nullptr));
    EXPECT_TRUE(empty.GetText().IsEmpty());
}

TEST_F(MiniArtThumbTest, StylesAreDrawnInTheirFontsAndColours)
{
    CMiniArtThumb& b = MakeBox(kText, CRect(20, 20, 420, 120));
    ui::PumpUntilIdle();
    // Somewhere in the cell of "angry" a red pixel, in "Quick" none.
    auto hasColour = [&](int nRun, COLORREF colour) {
        CPoint pt = RunPoint(nRun);
        CRect cell = b.GetLayout().Runs()[size_t(nRun)].rectCell;
        for (int x = pt.x - cell.Width() / 2; x <= pt.x + cell.Width() / 2; ++x)
            for (int y = pt.y - b.GetLineHeight() / 2; y < pt.y + b.GetLineHeight() / 2; ++y)
                if (host::DesktopPixel(x, y) == colour)
                    return true;
        return false;
    };
    EXPECT_TRUE(hasColour(RunOf("angry "), RGB(255, 0, 0)));
    EXPECT_FALSE(hasColour(RunOf("Quick "), RGB(255, 0, 0)));
    EXPECT_TRUE(hasColour(RunOf("Quick "), RGB(0, 0, 0)));
    ui::dialog::Screenshot(b.GetSafeHwnd(), "mini_article_styles.png");
}

}  // namespace
