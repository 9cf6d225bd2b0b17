// The article page's highlighter, sticky-note icons and page items on the fixture article: spans
// drawn, replaced, rubbed out and split in the real highlight store; stale marks dropped; note
// icons in their paragraph gaps, renumbered, at most 11 a gap, dragged to the nearest gap; Find
// Next round the article's hits; a sound icon's path, its disabled message and its caption pop-up;
// screenshots of a marked page with notes.
#include "ArticlePageTestSupport.h"

#include "base/DataFolders.h"
#include "base/StickyRecordSet.h"
#include "media/QTAudioWin.h"
#include "media/StickyNoteDlg.h"
#include "media/StickyNoteWnd.h"
#include "widgets/DibButton.h"
#include "widgets/MiniArtThumb.h"

#include <UserDataFileWriter.h>

#include <mmsystem.h>

#include <array>
#include <tuple>

namespace article_test {
namespace {

using Span = std::tuple<int, int, int>;  // section, start, length

const std::string kSecond = "Delta epsilon zeta and more words that wrap this paragraph onto a third line here.";
const std::string kThird = "Eta theta iota.";

// Section 0 the fixture's first paragraph, then two short sections.
ArticleRecordSource MarksFixture()
{
    ArticleRecordSource s = RichArticle();
    s.links.clear();
    RecordSection first;
    first.title = "First";
    first.runs = {Text(kFirst)};
    RecordSection second;
    second.title = "Second";
    second.runs = {Text(kSecond)};
    RecordSection third;
    third.title = "Third";
    third.runs = {Text(kThird)};
    s.sections = {first, second, third};
    return s;
}

class ArticlePageMarksTest : public ArticlePageWinTest {
protected:
    void TearDown() override
    {
        page.reset();
        delete AppServices().owned.pStickyNotes;
        AppServices().owned.pStickyNotes = nullptr;
        ArticlePageWinTest::TearDown();
    }

    LONG Rin() const { return doc->GetReference()->GetNumber(); }
    std::vector<Span> Spans() const
    {
        std::vector<Span> out;
        CHiliteSpanList* pList = page->GetHighlightStore()->GetSpanList(Rin());
        for (UINT i = 0; pList != nullptr && i < pList->GetCount(); ++i) {
            const CStoredHilite* p = pList->GetAt(i);
            out.emplace_back(static_cast<int>(p->m_dwUnit), static_cast<int>(p->m_dwOffset),
                             static_cast<int>(p->m_dwLength));
        }
        std::sort(out.begin(), out.end());
        return out;
    }
    void Store(const std::vector<Span>& spans)
    {
        page->ClearArticleHighlights();
        for (const Span& s : spans)
            ASSERT_TRUE(page->GetHighlightStore()->AddHilite(Rin(), std::get<0>(s), std::get<1>(s), std::get<2>(s),
                                                             static_cast<DWORD>(doc->GetIssueDate())));
    }
    // A drag with the highlighter on from one character to another.
    void Draw(int nFromSection, std::size_t nFrom, int nToSection, std::size_t nTo)
    {
        if (!page->IsHighlighterOn())
            page->ToggleHighlighter();
        Press(CharPoint(nFromSection, nFrom));
        MoveTo(CharPoint(nToSection, nTo));
        Release();
    }
    // The first blank line after a paragraph's text, and the gap's last one.
    int GapLine(int nSection, int nParagraph) const
    {
        int nLast = -1;
        for (int i = 0; i < page->GetLineCount(); ++i) {
            const PageLine& line = page->GetLine(i);
            if (line.nSection == nSection && line.nParagraph == nParagraph && line.nLength == 0 &&
                line.nKind < PAGE_LINE_MEDIA_ICON)
                nLast = i;
            else if (nLast >= 0)
                break;
        }
        return nLast;
    }
    // The page over the marks fixture with these notes of it in the note store.
    TestPageWin& ShowWithNotes(const std::vector<std::array<std::uint16_t, 4>>& positions, int nHeight = 400)
    {
        std::vector<discbuilder::StickyNoteEntry> entries;
        for (std::size_t i = 0; i < positions.size(); ++i)
            entries.push_back({"Volcano", "note " + std::to_string(i), "", 1001, positions[i]});
        dir.Write("t/sticky.nte", discbuilder::MakeStickyNoteFile(entries));
        AppServices().owned.pStickyNotes = new CStickyRecordSet;
        // The note dialog's resources.
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        EXPECT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        return Show(MarksFixture(), nullptr, nHeight);
    }
    CRect IconRect(int i) const
    {
        CRect rc;
        page->GetStickyNoteButton(i)->GetWindowRect(&rc);
        page->ScreenToClient(&rc);
        return rc;
    }
};

TEST_F(ArticlePageMarksTest, DrawingStoresReplacesErasesAndSplitsSpans)
{
    Show(MarksFixture(), nullptr, 400);
    const int nSection0 = static_cast<int>(std::unique_ptr<CArticleSection>(doc->GetSection(0))->GetTextLength());
    const int nSection1 = static_cast<int>(std::unique_ptr<CArticleSection>(doc->GetSection(1))->GetTextLength());
    const std::size_t erupt = At(kFirst, "erupt"), molten = At(kFirst, "molten"), rock = At(kFirst, "rock"),
                      called = At(kFirst, "called"), lava = At(kFirst, "lava"), onto = At(kFirst, "onto");
    struct Case {
        const char* what;
        std::vector<Span> before;
        int fromSection;
        std::size_t from;
        int toSection;
        std::size_t to;
        std::vector<Span> after;
    } cases[] = {
        {"a word to a word stores one span to the last word's end", {}, 0, molten + 2, 0, rock + 1,
         {{0, int(molten), int(rock + 3 - molten)}}},
        {"a mark over smaller ones replaces those wholly inside",
         {{0, int(rock), 3}, {0, int(lava), 3}, {0, int(onto), 3}}, 0, molten, 0, lava + 2,
         {{0, int(molten), int(lava + 3 - molten)}, {0, int(onto), 3}}},
        {"a drag begun on a mark rubs out its middle: head and tail stay",
         {{0, int(erupt), int(onto + 3 - erupt)}}, 0, rock + 1, 0, called + 1,
         {{0, int(erupt), int(rock - 1 - erupt)}, {0, int(lava), int(onto + 3 - lava)}}},
        {"rubbing from inside a mark past its end keeps the head only", {{0, int(molten), 10}}, 0, rock, 0, lava,
         {{0, int(molten), int(rock - 1 - molten)}}},
        {"rubbing a whole mark leaves nothing", {{0, int(rock), 3}}, 0, rock, 0, rock + 3, {}},
        // Every span but the last runs to its section's end.
        {"a mark across three sections stores three spans, the middle one whole", {}, 0, lava, 2, At(kThird, "iota"),
         {{0, int(lava), nSection0 - int(lava)}, {1, 0, nSection1}, {2, 0, int(At(kThird, "iota.") + 4)}}},
        {"rubbing across sections cuts the first and last marks and drops the middle",
         {{0, int(molten), int(onto - molten)}, {1, 0, 10}, {2, 0, 12}}, 0, rock, 2, 1,
         {{0, int(molten), int(rock - 1 - molten)}, {2, 4, 8}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Store(c.before);
        Draw(c.fromSection, c.from, c.toSection, c.to);
        EXPECT_EQ(c.after, Spans());
        EXPECT_FALSE(page->IsMarking());
        EXPECT_FALSE(page->IsEraseMode());
        EXPECT_EQ(!c.after.empty(), bool(page->HasHighlights()));
    }
    // Turned off in the middle of a drag: nothing is stored and no drawn range stays.
    Store({});
    page->ToggleHighlighter();
    Press(CharPoint(0, molten));
    MoveTo(CharPoint(0, lava));
    ASSERT_TRUE(page->IsMarking());
    page->ToggleHighlighter();
    Release();
    EXPECT_FALSE(page->IsMarking());
    EXPECT_TRUE(Spans().empty());
    Store({{0, int(molten), 3}});

    // The store keeps every span with the article's issue date.
    CHiliteSpanList* pList = page->GetHighlightStore()->GetSpanList(Rin());
    ASSERT_GT(pList->GetCount(), 0u);
    for (UINT i = 0; i < pList->GetCount(); ++i)
        EXPECT_EQ(static_cast<DWORD>(doc->GetIssueDate()), pList->GetAt(i)->m_dwStyle);
}

// Paragraphs follow each other in a section's text with nothing between them ("...land.Ash
// fell..."): a drag from a paragraph's first word marks nothing of the paragraph above it.
TEST_F(ArticlePageMarksTest, AMarkBegunOnAParagraphsFirstWordStaysInThatParagraph)
{
    Show(PageFixture(), nullptr, 400);
    const std::unique_ptr<CArticleSection> section0(doc->GetSection(0));
    const std::string text0(reinterpret_cast<const char*>(section0->GetText()), section0->GetTextLength());
    const std::size_t ash = text0.find("Ash fell");
    ASSERT_NE(std::string::npos, ash);
    ASSERT_EQ('.', text0[ash - 1]) << "no gap between the paragraphs";
    page->ClearArticleHighlights();
    Draw(0, ash + 1, 0, ash + 5);
    EXPECT_EQ((std::vector<Span>{{0, int(ash), 7}}), Spans());
}

TEST_F(ArticlePageMarksTest, TheHighlighterTurnsASelectionIntoAMarkAndClearsIt)
{
    TestPageWin& pw = Show(MarksFixture(), nullptr, 400);
    const std::size_t lava = At(kFirst, "lava");
    const CPoint pt = CharPoint(0, lava + 1);
    pw.SelectWordAt(pt.x, pt.y);
    ::ReleaseCapture();
    ASSERT_TRUE(pw.HasSelection());
    pw.ToggleHighlighter();
    EXPECT_TRUE(pw.IsHighlighterOn());
    EXPECT_FALSE(pw.HasSelection());
    EXPECT_EQ((std::vector<Span>{{0, int(lava), 3}}), Spans());
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(pw.GetSafeHwnd(), "article-page-selection-marked.png");
    EXPECT_GT(CountPixels(0, lava, 4, Exactly(255, 255, 0)), 4 * kCharWidth * 10) << "drawn yellow";

    // Clearing leaves the mode and the marks; the marks of every article go with Clear All.
    pw.ClearArticleHighlights();
    EXPECT_FALSE(pw.IsHighlighterOn());
    EXPECT_TRUE(Spans().empty());
    ASSERT_TRUE(pw.GetHighlightStore()->AddHilite(Rin(), 0, 0, 3, 1));
    pw.GetHighlightStore()->GetSpanList(99);
    ASSERT_TRUE(pw.GetHighlightStore()->AddHilite(99, 0, 0, 3, 1));
    pw.ClearAllHighlights();
    EXPECT_EQ(0, pw.GetHighlightStore()->GetSize() - 1) << "only the record the page asks for again";
    EXPECT_FALSE(pw.HasHighlights());
}

TEST_F(ArticlePageMarksTest, MarksOfAnotherIssueAreDroppedWhenTheArticleIsShown)
{
    Show(MarksFixture(), nullptr, 400);
    const DWORD dwIssue = static_cast<DWORD>(doc->GetIssueDate());
    ASSERT_EQ(990615u, dwIssue);
    ASSERT_TRUE(page->GetHighlightStore()->AddHilite(Rin(), 0, 10, 4, dwIssue));
    page->ShowDocument(doc.get());
    EXPECT_EQ(1u, Spans().size()) << "this issue's marks stay";
    ASSERT_TRUE(page->GetHighlightStore()->AddHilite(Rin(), 1, 0, 4, 980101));
    page->ShowDocument(doc.get());
    EXPECT_TRUE(Spans().empty()) << "one mark of another issue drops them all";
}

TEST_F(ArticlePageMarksTest, NoteIconsSitInTheirGapsSideBySide)
{
    TestPageWin& pw = ShowWithNotes({{0, 0, 1, 0}, {0, 0, 0, 0}, {1, 0, 0, 0}});
    ASSERT_EQ(3, pw.GetStickyNoteCount()) << "the note window told the page of the article's notes";
    const int nGap0 = GapLine(0, 0);
    const int nGap1 = GapLine(1, 0);
    ASSERT_GT(nGap0, 0);
    ASSERT_GT(nGap1, nGap0);
    const int nHeight = pw.GetLineHeight();
    // The window hands the notes over in position order: slot 0 first.
    EXPECT_EQ(CRect(0, nGap0 * nHeight, 27, nGap0 * nHeight + 17), IconRect(0));
    EXPECT_EQ(CRect(27, nGap0 * nHeight, 54, nGap0 * nHeight + 17), IconRect(1));
    EXPECT_EQ(CRect(0, nGap1 * nHeight, 27, nGap1 * nHeight + 17), IconRect(2));
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(pw.GetStickyNoteButton(i)->IsWindowVisible()) << i;
    EXPECT_EQ(1, pw.HitTestStickyNote(30, nGap0 * nHeight + 8));
    EXPECT_EQ(-1, pw.HitTestStickyNote(27, nGap0 * nHeight + 8)) << "the edges are outside";
    EXPECT_EQ(-1, pw.HitTestStickyNote(60, nGap0 * nHeight + 8));
    EXPECT_EQ(2, pw.HitTestStickyNote(5, nGap1 * nHeight + 1));

    // Renumbering a gap numbers its notes from the left in index order and stores the slots.
    EXPECT_EQ(2, pw.RenumberStickyNotes(0, 0));
    EXPECT_EQ(0, pw.GetStickyNotePosition(0).GetAt(2));
    EXPECT_EQ(1, pw.GetStickyNotePosition(1).GetAt(2));
    EXPECT_EQ(0, pw.RenumberStickyNotes(2, 0));

    // The nearest gap of a text line is the one above or below, whichever is closer.
    const int nFirstText = pw.GetTopLine() + 0;
    for (int i = 0; i < pw.GetLineCount(); ++i) {
        const int nGap = pw.NearestParagraphGap(0, (i - pw.GetTopLine()) * nHeight + 1);
        const PageLine& gap = pw.GetLine(nGap);
        EXPECT_EQ(0, gap.nLength) << "line " << i << " -> " << nGap;
        (void)nFirstText;
    }
    const int nMiddle = LineOf(0, At(kFirst, "lava"));
    const int nNear = pw.NearestParagraphGap(0, (nMiddle - pw.GetTopLine()) * nHeight + 1);
    EXPECT_LE(std::abs(nNear - nMiddle), std::abs(nGap0 - nMiddle) + 1);

    // A note of the article deleted elsewhere: the page asks for its notes again.
    CStickyRecordSet& notes = *AppServices().owned.pStickyNotes;
    CStickyNote* pGone = notes.GetNote(2);
    pw.GetStickyNoteWnd()->ForgetNote(pGone);
    notes.RemoveAt(2);
    delete pGone;
    pw.SendMessage(VLM_STICKY_DELETED, 0, 1001);
    ui::PumpUntilIdle();
    EXPECT_EQ(2, pw.GetStickyNoteCount());
    pw.SendMessage(VLM_STICKY_DELETED, 0, 1002);
    ui::PumpUntilIdle();
    EXPECT_EQ(2, pw.GetStickyNoteCount()) << "another article's note changes nothing here";

    page.reset();
    EXPECT_EQ(2, AppServices().owned.pStickyNotes->GetSize()) << "the notes stay the set's";
}

TEST_F(ArticlePageMarksTest, AGapHoldsElevenNotesAndATwelfthIsNotAskedFor)
{
    std::vector<std::array<std::uint16_t, 4>> positions;
    for (std::uint16_t k = 0; k < 11; ++k)
        positions.push_back({0, 0, k, 0});
    TestPageWin& pw = ShowWithNotes(positions);
    ASSERT_EQ(11, pw.GetStickyNoteCount());
    // A dialog run here would fail the test: no modal step is scripted.
    pw.AddStickyNote();
    ui::PumpUntilIdle();
    EXPECT_EQ(11, AppServices().owned.pStickyNotes->GetSize()) << "the first gap from the top is full";
    EXPECT_EQ(CRect(270, GapLine(0, 0) * pw.GetLineHeight(), 297, GapLine(0, 0) * pw.GetLineHeight() + 17),
              IconRect(10));
}

TEST_F(ArticlePageMarksTest, ANewNoteIsAskedForInTheFirstGapWithTheNextSlot)
{
    TestPageWin& pw = ShowWithNotes({{0, 0, 0, 0}});
    ASSERT_EQ(1, pw.GetStickyNoteCount());
    pw.ToggleHighlighter();
    std::string title;
    host::RunInNextModalLoop([&](HWND dlg) {
        ui::dialog::Pump(dlg);
        title = ui::dialog::Text(dlg, IDC_SN_TITLE);
        ui::dialog::Click(dlg, IDC_SN_PLACE);
        ui::dialog::Pump(dlg);
    });
    pw.AddStickyNote();
    ui::PumpUntilIdle();
    EXPECT_FALSE(pw.IsHighlighterOn()) << "a new note ends highlighter mode";
    EXPECT_EQ("Volcano", title);
    ASSERT_EQ(2, AppServices().owned.pStickyNotes->GetSize());
    ASSERT_EQ(2, pw.GetStickyNoteCount()) << "the placed note shows at once";
    const WORD* pPosition = AppServices().owned.pStickyNotes->GetNote(1)->m_pPosition;
    EXPECT_EQ(0, pPosition[0]);
    EXPECT_EQ(0, pPosition[1]);
    EXPECT_EQ(1, pPosition[2]) << "beside the note already in the gap";
}

TEST_F(ArticlePageMarksTest, ANoteDraggedOntoTextMovesToTheNearestGapAndAClickOpensIt)
{
    TestPageWin& pw = ShowWithNotes({{0, 0, 0, 0}});
    ASSERT_EQ(1, pw.GetStickyNoteCount());
    const int nHeight = pw.GetLineHeight();
    const int nGap0 = GapLine(0, 0);
    const int nGap1 = GapLine(1, 0);
    // Onto the last line of the second section's text: its own gap is nearer than the first one.
    Press(CPoint(10, nGap0 * nHeight + 8));
    EXPECT_EQ(0, pw.GetDraggedNote());
    const CPoint target = CharPoint(1, At(kSecond, "here"));
    MoveTo(target);
    EXPECT_EQ(CRect(target.x - 13, target.y - 8, target.x + 14, target.y + 9), IconRect(0)) << "follows the mouse";
    Release();
    ASSERT_EQ(1, pw.GetStickyNoteCount());
    EXPECT_EQ(1, pw.GetStickyNotePosition(0).GetAt(0));
    EXPECT_EQ(0, pw.GetStickyNotePosition(0).GetAt(2));
    const WORD* pStored = AppServices().owned.pStickyNotes->GetNote(0)->m_pPosition;
    EXPECT_EQ(1, pStored[0]) << "the note window stored the move";
    EXPECT_EQ(CRect(0, nGap1 * nHeight, 27, nGap1 * nHeight + 17), IconRect(0));

    // A click without a move opens the note.
    bool opened = false;
    host::RunInNextModalLoop([&](HWND dlg) {
        opened = true;
        ui::dialog::Pump(dlg);
        EXPECT_EQ("note 0", ui::dialog::Text(dlg, IDC_SN_TEXT));
        ui::dialog::Click(dlg, IDC_SN_CANCEL);
    });
    Press(CPoint(10, nGap1 * nHeight + 8));
    Release();
    EXPECT_TRUE(opened);
}

// Ten short paragraphs, a hit in each of the even ones; the page shows four lines.
TEST_F(ArticlePageMarksTest, FindNextVisitsTheHitsInOrderAndWrapsRound)
{
    ArticleRecordSource s = MarksFixture();
    RecordSection many;
    many.title = "Many";
    std::string text;
    auto* pHits = new CHitList;
    for (int i = 0; i < 10; ++i) {
        const std::string paragraph = "Line " + std::to_string(i) + " ash.";
        if (i % 2 == 0)
            pHits->AddHit(CHitPosition(0, static_cast<UINT>(text.size() + 7), 3));
        text += paragraph;
        many.runs.push_back(Text(paragraph));
    }
    s.sections = {many};
    TestPageWin& pw = Show(s, pHits, 4 * 23 + 5);
    pw.recordItems = false;
    const int nVisible = pw.GetPageLines();
    ASSERT_GT(pw.GetLineCount(), nVisible);
    // The line of each hit.
    std::vector<int> hitLines;
    for (int h = 0; h < static_cast<int>(pHits->GetCount()); ++h)
        hitLines.push_back(LineOf(0, pHits->GetAt(static_cast<UINT>(h))->GetOffset()));
    auto expectedTop = [&](int nLine) {
        return std::max(std::min(nLine - nVisible / 4, pw.GetLineCount() - nVisible), 0);
    };
    std::vector<int> tops;
    std::vector<std::string> status;
    for (int step = 0; step < 7; ++step) {
        host.posted.clear();
        pw.FindNext();
        ui::PumpUntilIdle();
        tops.push_back(pw.GetTopLine());
        auto texts = host.Take(VLM_STATUS_TEXT);
        status.push_back(texts.empty() ? "?" : texts.back().text);
    }
    // The first paint showed hit 0; then hits 1 .. 4 in order, then round to hit 0.
    int nStep = 0;
    for (int h : {1, 2, 3, 4}) {
        EXPECT_EQ(expectedTop(hitLines[static_cast<std::size_t>(h)]), tops[static_cast<std::size_t>(nStep)]) << h;
        EXPECT_EQ("", status[static_cast<std::size_t>(nStep)]) << h;
        ++nStep;
    }
    EXPECT_EQ(expectedTop(hitLines[0]), tops[4]);
    EXPECT_EQ("Find Next passed the end of the article", status[4]);
    EXPECT_EQ(expectedTop(hitLines[1]), tops[5]);
    EXPECT_EQ("", status[5]) << "the status line empties on the next step";
}

TEST_F(ArticlePageMarksTest, FindNextDoesNothingWithoutHitsOrWhenTheArticleFits)
{
    TestPageWin& pw = Show(MarksFixture(), nullptr, 100);
    pw.recordItems = false;
    host.posted.clear();
    pw.FindNext();
    ui::PumpUntilIdle();
    EXPECT_TRUE(host.Take(VLM_STATUS_TEXT).empty());
    EXPECT_EQ(0, pw.GetTopLine());
}

TEST_F(ArticlePageMarksTest, ASoundIconAsksForItsFileAndShowsItsCaptionOverTheLine)
{
    ArticleRecordSource s = PageFixture();
    s.media[0] = {6001234, 'A', 0};
    TestPageWin& pw = Show(s, nullptr, 300);
    pw.recordItems = false;

    // Sounds switched off: a message, no sound window.
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "Y", "T:\\vl00i1se.ini"));
    const std::size_t boxes = host::MessageBoxLog().size();
    host::AnswerNextMessageBox(IDOK);
    pw.PlaySoundLine(6001234, -1);
    ASSERT_EQ(boxes + 1, host::MessageBoxLog().size());
    EXPECT_EQ("Sounds have been disabled.", host::MessageBoxLog().back().text);
    EXPECT_EQ(nullptr, pw.GetSoundWindow());

    // On: the sound folder's AU file of the RIN modulo 1,000,000 (the stand-in player opens none,
    // so no pop-up follows).
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "n", "T:\\vl00i1se.ini"));
    // This disc has no picture records: the caption's look-up says so once for the archive and
    // once for each caption asked for.
    for (int i = 0; i < 4; ++i)
        host::AnswerNextMessageBox(IDOK);
    pw.PlaySoundLine(6001234, -1);
    ASSERT_NE(nullptr, pw.GetSoundWindow());
    CString strFolder;
    ASSERT_TRUE(GetDataDir(strFolder, 6, 1, FALSE));
    EXPECT_EQ(std::string(strFolder) + "AU001234.mov", std::string(pw.GetSoundWindow()->GetPath()));
    EXPECT_FALSE(pw.IsPopupShown());
    pw.ClosePopup();
    EXPECT_EQ(nullptr, pw.GetSoundWindow()) << "closing the pop-up ends the sound";

    // The caption: two lines at the top for the first two visible lines, else three lines from
    // the line above the icon.
    CMiniArtThumb* pPopup = pw.GetMiniArticlePopup();
    ASSERT_NE(nullptr, pPopup);
    const int nHeight = pw.GetLineHeight();
    struct Case {
        int offset;
        CRect rect;
    } cases[] = {{0, CRect(32, 0, 332, 2 * nHeight)},
                 {1, CRect(32, 0, 332, 2 * nHeight)},
                 {4, CRect(32, 3 * nHeight, 332, 6 * nHeight)}};
    for (const Case& c : cases) {
        pw.ShowSoundCaption(6001234, c.offset);
        EXPECT_TRUE(pw.IsPopupShown());
        EXPECT_TRUE(pPopup->IsWindowVisible());
        CRect rc;
        pPopup->GetWindowRect(&rc);
        pw.ScreenToClient(&rc);
        EXPECT_EQ(c.rect, rc) << c.offset;
    }
    // The sound's end clears the pop-up flag; idle layout may go on.
    pw.SendMessage(MM_MCINOTIFY, 1, 0);
    EXPECT_FALSE(pw.IsPopupShown());
    pw.ClosePopup();
    EXPECT_FALSE(pPopup->IsWindowVisible());
}

TEST_F(ArticlePageMarksTest, TheFirstSoundOfTheArticleStartsQuietlyWhenSoundsAreOff)
{
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "y", "T:\\vl00i1se.ini"));
    ArticleRecordSource s = PageFixture();
    s.sections[0].runs = {Icon(4, 0), Text(kFirst)};
    s.media[0] = {6001234, 'A', 0};
    const std::size_t boxes = host::MessageBoxLog().size();
    {
        TestPageWin& pw = Show(s, nullptr, 300);
        pw.recordItems = false;
        EXPECT_EQ(boxes, host::MessageBoxLog().size()) << "no message for the sound the article starts";
        EXPECT_EQ(nullptr, pw.GetSoundWindow());
    }
    // The same article with sounds on: the first paint asks for the sound of the first icon.
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "n", "T:\\vl00i1se.ini"));
    page.reset();
    doc = OpenSource(s);
    page = std::make_unique<TestPageWin>();
    page->recordItems = false;
    ASSERT_TRUE(page->Create("Article Text", WS_CHILD | WS_VISIBLE | WS_VSCROLL, CRect(10, 10, 400, 310), &host, 1));
    page->ShowDocument(doc.get());
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, page->GetSoundWindow()) << "the first sound started by itself";
    EXPECT_NE(std::string::npos, std::string(page->GetSoundWindow()->GetPath()).find("AU001234.mov"));
    // With "PAA" set to "n" the article starts no sound.
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "PAA", "N", "T:\\vl00i1se.ini"));
    page->ShowDocument(doc.get());
    ui::PumpUntilIdle();
    EXPECT_EQ(nullptr, page->GetSoundWindow());
}

TEST(CaptionToMiniArticleTextTest, ParagraphsItalicAndBold)
{
    const char caption[] = "A \x81lava\x80 flow\r\x82Hot\x80 rock\rEnd";
    EXPECT_STREQ("A <I>lava</I> flow</P><STRONG>Hot</STRONG> rock<P>End<P>", CaptionToMiniArticleText(caption));
    EXPECT_STREQ("<P>", CaptionToMiniArticleText(""));
}

TEST_F(ArticlePageMarksTest, MarkedPageWithNotesScreenshot)
{
    ASSERT_TRUE(LoadAppPalettes());
    TestPageWin& pw = ShowWithNotes({{0, 0, 0, 0}, {0, 0, 1, 0}, {1, 0, 0, 0}});
    Draw(0, At(kFirst, "molten"), 0, At(kFirst, "lava"));
    Draw(1, At(kSecond, "epsilon"), 1, At(kSecond, "epsilon"));
    pw.ToggleHighlighter();
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(pw.GetSafeHwnd(), "article-page-marks-notes.png");
    EXPECT_GT(CountPixels(0, At(kFirst, "rock"), 4, Exactly(255, 255, 0)), 4 * kCharWidth * 10);
    EXPECT_EQ(0, CountPixels(0, At(kFirst, "onto"), 4, Exactly(255, 255, 0)));
    EXPECT_GT(CountPixels(1, At(kSecond, "epsilon"), 7, Exactly(255, 255, 0)), 7 * kCharWidth * 10);
}

}  // namespace
}  // namespace article_test

namespace article_test {
namespace {

TEST_F(ArticlePageMarksTest, AReferenceOpensInTheViewOfItsKindAndATimelineAsksTheMainWindow)
{
    CReferenceFactory factory;
    AppServices().owned.pReferenceFactory = &factory;
    TestPageWin& pw = Show(PageFixture(), nullptr, 300);
    pw.recordItems = false;
    auto make = [](LONG nRin, LONG nKind) {
        auto* pRef = new CReference(nRin, "");
        pRef->SetLocation(nRin, 0, 0);
        pRef->SetKind(nKind);
        pRef->SetLinkText(("vl://" + std::to_string(nRin)).c_str());
        return pRef;
    };
    host.posted.clear();
    pw.ToggleHighlighter();
    pw.OnShowReference(make(3000001, REFKIND_MAP));
    EXPECT_FALSE(pw.IsHighlighterOn()) << "opening a reference ends highlighter mode";
    pw.OnShowReference(make(1006, REFKIND_ARTICLE));
    pw.OnShowReference(make(1001001, REFKIND_PICTURE));
    host::AnswerNextMessageBox(IDOK);
    pw.OnShowReference(make(9000001, REFKIND_TIMELINE));
    ui::PumpUntilIdle();
    std::vector<Posted> opened;
    for (const Posted& p : host.posted)
        if (p.message == VLM_OPEN_WINDOW || p.message == VLM_POST_TO_WINDOW)
            opened.push_back(p);
    ASSERT_EQ(3u, opened.size());
    EXPECT_EQ(VLM_OPEN_WINDOW, opened[0].message);
    EXPECT_EQ(static_cast<WPARAM>(IDW_ATLAS), opened[0].wParam);
    EXPECT_EQ(static_cast<WPARAM>(IDW_ARTICLE), opened[1].wParam);
    EXPECT_EQ(VLM_POST_TO_WINDOW, opened[2].message);
    EXPECT_EQ(static_cast<WPARAM>(IDW_MEDIA), opened[2].wParam);
    EXPECT_EQ(1001001, opened[2].lParam);
    EXPECT_EQ("Bad Media Type in Topic vl://9000001", host::MessageBoxLog().back().text);

    // A timeline icon: "TM" and the item's number, 40 and 10 in from the frame's corner.
    host.posted.clear();
    pw.OpenTimeline(0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(host.timelines.empty()) << "an item the layout gave no number opens nothing";
    ArticleRecordSource s = PageFixture();
    s.sections[0].runs.push_back(Icon(6, 1, 4242));
    page.reset();
    TestPageWin& pw2 = Show(s, nullptr, 300);
    pw2.recordItems = false;
    ASSERT_EQ(4242u, pw2.GetLayout().GetItemValue(1));
    pw2.OpenTimeline(1);
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, host.timelines.size());
    CRect rcHost;
    host.GetWindowRect(&rcHost);
    EXPECT_EQ(CRect(rcHost.left + 40, rcHost.top + 10, rcHost.left + 40 + 700 - 80, rcHost.top + 10 + 500 - 40),
              host.timelines[0]);
    EXPECT_EQ("TM004242", host.Take(VLM_TIMELINE_VIEWER).back().text);
    AppServices().owned.pReferenceFactory = nullptr;
}

}  // namespace
}  // namespace article_test
