// The article view in the running program on the sample disc: from the main menu to an article
// found by the search pane, through a link in the page to another article, and back; the
// automation object's current article; the frame's Find and Find Next on the page; thumbnails
// beside the text; the Tool Kit's highlighter; File > Print's choice of what to print.
#include "AppTestSupport.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMainWin.h"
#include "article/ArticlePageWin.h"
#include "base/Reference.h"
#include "base/HitList.h"
#include "media/QTAudioWin.h"
#include "online/PrintSelectWnd.h"
#include "shell/Toolkit.h"
#include "shell/VeltraApplication.h"
#include "widgets/FindWin.h"
#include "widgets/Thumbnail.h"

#include <DialogDriver.h>
#include <MessageSpy.h>
#include <PdfReader.h>

#include <host/Clock.h>
#include <host/Input.h>
#include <host/Printer.h>
#include <host/Sound.h>

namespace apptest {
namespace {

class ArticleViewAppTest : public AppTest {
protected:
    CArticleMainWin* View() { return Article(); }
};

TEST_F(ArticleViewAppTest, MainMenuToAnArticleThroughALinkAndBack)
{
    // The main menu's topic search brings up the article view with the search pane over it.
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, Frame());
    CArticleMainWin* view = View();
    ASSERT_NE(nullptr, view);
    EXPECT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());

    // The Tool Kit as another view may have left it: every tool off.
    Frame()->GetToolkit()->EnableTools(FALSE, FALSE, FALSE, FALSE, TRUE);
    // A result the reader opens: the jazz article.
    auto* result = new CReference(1004, "Jazz");
    ASSERT_EQ(1004, result->GetNumber()) << "placed through the disc's content index";
    Frame()->GetSearchTabWin()->OpenResult(result);
    delete result;
    ui::PumpUntilIdle();
    ASSERT_EQ(1004, view->GetArticleRin());
    EXPECT_STREQ("Jazz", view->GetDocument()->GetTitle());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-view-running.png");
    // The Tool Kit offers every tool for a disc article.
    CToolkit* toolkit = Frame()->GetToolkit();
    ASSERT_NE(nullptr, toolkit);
    const BOOL* tools = toolkit->GetRememberedTools();
    EXPECT_TRUE(tools[0] && tools[1] && tools[2] && tools[3]);
    EXPECT_TRUE(toolkit->GetTool(CToolkit::idStickyNote)->IsWindowEnabled());

    // The link to broadcasting in the page, clicked.
    CArticlePageWin* page = view->GetPageWin();
    page->UpdateWindow();
    int spot = -1;
    for (int i = 0; i < page->GetHotSpotCount() && spot < 0; ++i)
        if (page->GetLink(page->GetHotSpotLink(i)).dwNumber == 1007)
            spot = i;
    ASSERT_GE(spot, 0) << "the link is on the first page";
    CRect rect(page->GetHotSpotRect(spot));
    CPoint center = rect.CenterPoint();
    page->ClientToScreen(&center);
    host::Click(center.x, center.y);
    ui::PumpUntilIdle();
    ASSERT_EQ(1007, view->GetArticleRin());
    EXPECT_STREQ("Broadcasting", view->GetDocument()->GetTitle());

    // Back: the jazz article again, from the history.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(1004, view->GetArticleRin());
    EXPECT_STREQ("Jazz", view->GetDocument()->GetTitle());
    // And forward to broadcasting.
    Frame()->SendMessage(WM_COMMAND, ID_GO_FORWARD);
    ui::PumpUntilIdle();
    EXPECT_EQ(1007, view->GetArticleRin());
}

TEST_F(ArticleViewAppTest, GetCurrentArticleFormatsTheDiscArticleShown)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    CArticleMainWin* view = View();
    ASSERT_NE(nullptr, view);
    CVeltraApplication automation;
    EXPECT_EQ(CString(""), automation.GetCurrentArticle()) << "no article shown";

    // Article 1234: a copy of the aviation article's record under that number.
    auto* ref = new CReference(1001, "");
    ref->SetNumber(1234);
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(ref));
    ui::PumpUntilIdle();
    ASSERT_EQ(1234, view->GetArticleRin());
    EXPECT_EQ(CString("001234"), automation.GetCurrentArticle());
}

// Find (9008) over the jazz article: the word's hits come back into the page, which Find Next
// (9009) then walks, round to the first after the last.
TEST_F(ArticleViewAppTest, FindMarksTheWordsHitsAndFindNextWalksThem)
{
    CArticleMainWin* view = StartWithArticle(1004, "Jazz");
    ASSERT_NE(nullptr, view);
    // The search pane opened over the article: the article view is the frame's current view.
    ASSERT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());

    struct Probe : CCmdUI {
        int enabled = -1;
        void Enable(BOOL bOn) override { enabled = bOn; }
    } probe;
    probe.m_nID = ID_FIND_IN_ARTICLE;
    probe.DoUpdate(Frame(), FALSE);
    EXPECT_EQ(1, probe.enabled) << "Find is offered over a disc article";

    bool ran = false;
    host::RunInNextModalLoop([&](HWND window) {
        ran = true;
        auto* find = dynamic_cast<CFindWin*>(CWnd::FromHandlePermanent(window));
        ASSERT_NE(nullptr, find);
        EXPECT_EQ(1004, find->GetArticle());
        host::TypeText("swing");
        ui::PumpUntilIdle();
        find->GetFindButton().SendMessage(BM_CLICK);
        ui::PumpUntilIdle();
    });
    Frame()->SendMessage(WM_COMMAND, ID_FIND_IN_ARTICLE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(ran);
    ASSERT_EQ(1004, view->GetArticleRin()) << "the same article, now with the word's hits";
    CHitList* hits = view->GetDocument()->GetHitList();
    ASSERT_NE(nullptr, hits);
    ASSERT_GE(hits->GetCount(), 2);
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-view-find-swing.png");

    // Find Next moves down the page hit by hit and comes round to where it began.
    CArticlePageWin* page = view->GetPageWin();
    std::vector<int> tops{page->GetTopLine()};
    for (int i = 0; i < hits->GetCount() + 1; ++i) {
        Frame()->SendMessage(WM_COMMAND, ID_FIND_NEXT);
        ui::PumpUntilIdle();
        tops.push_back(page->GetTopLine());
    }
    EXPECT_GT(tops[1], tops[0]) << "the next hit is further down";
    EXPECT_NE(tops.end(), std::find(tops.begin() + 1, tops.end(), tops[0])) << "and round to the first";
}

// The mouse wheel over the page, as the presenter passes it in: three lines a notch, down and up;
// over a thumbnail beside the text too.
TEST_F(ArticleViewAppTest, TheMouseWheelScrollsThePage)
{
    CArticleMainWin* view = StartWithArticle(1002, "Volcano");
    ASSERT_NE(nullptr, view);
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    ui::PumpUntilIdle();
    CArticlePageWin* page = view->GetPageWin();
    ASSERT_EQ(0, page->GetTopLine());
    CRect rect;
    page->GetWindowRect(&rect);
    host::MouseMove(rect.left + 40, rect.CenterPoint().y);
    host::MouseWheel(-120);
    ui::PumpUntilIdle();
    EXPECT_EQ(3, page->GetTopLine()) << "one notch towards the reader: three lines down";
    host::MouseWheel(-60);
    ui::PumpUntilIdle();
    EXPECT_EQ(3, page->GetTopLine()) << "half a notch waits for the other half";
    host::MouseWheel(-60);
    ui::PumpUntilIdle();
    EXPECT_EQ(6, page->GetTopLine());
    host::MouseWheel(240);
    ui::PumpUntilIdle();
    EXPECT_EQ(0, page->GetTopLine());
    // Over a thumbnail beside the text: the page scrolls all the same.
    CWnd* thumb = page->GetLayout().GetThumbnail(0);
    if (thumb != nullptr && thumb->IsWindowVisible()) {
        CRect at;
        thumb->GetWindowRect(&at);
        host::MouseMove(at.CenterPoint().x, at.CenterPoint().y);
        host::MouseWheel(-120);
        ui::PumpUntilIdle();
        EXPECT_EQ(3, page->GetTopLine());
    }
}

// At every font size the thumbnails beside the volcano article's text stand whole on the page
// when scrolled to the end: the last one (the map) is neither cut off by the end of the page nor
// left unpainted.
TEST_F(ArticleViewAppTest, TheLastThumbnailStandsWholeAtEveryFontSize)
{
    CArticleMainWin* view = StartWithArticle(1002, "Volcano");
    ASSERT_NE(nullptr, view);
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    ui::PumpUntilIdle();
    for (UINT size : {ID_FONT_SMALL, ID_FONT_MEDIUM, ID_FONT_LARGE}) {
        SCOPED_TRACE(size);
        Frame()->SendMessage(WM_COMMAND, size);
        ui::PumpUntilIdle();
        CArticlePageWin* page = view->GetPageWin();
        const int last = page->GetLayout().GetThumbnailSlotCount() - 1;
        ASSERT_GE(last, 0);
        // To the end of the article.
        page->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_BOTTOM, 0), 0);
        for (int i = 0; i < 200; ++i)
            page->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_PAGEDOWN, 0), 0);
        ui::PumpUntilIdle();
        CWnd* thumb = page->GetLayout().GetThumbnail(last);
        ASSERT_NE(nullptr, thumb);
        ASSERT_TRUE(thumb->IsWindowVisible());
        CRect rect, client;
        thumb->GetWindowRect(&rect);
        page->ScreenToClient(&rect);
        page->GetClientRect(&client);
        EXPECT_GE(rect.top, 0);
        EXPECT_LE(rect.bottom, client.bottom) << "the map's thumbnail runs past the page's end";
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-volcano-end-font-" + std::to_string(size - ID_FONT_SMALL) + ".png");
    }
    Frame()->SendMessage(WM_COMMAND, ID_FONT_MEDIUM);
}

// The volcano article's thumbnails come from the thumbnail factory and stand beside their
// paragraph; the Tool Kit's highlighter turns the page's highlighter on and back off.
TEST_F(ArticleViewAppTest, ThumbnailsStandBesideTheTextAndTheHighlighterFollowsTheToolKit)
{
    CArticleMainWin* view = StartWithArticle(1002, "Volcano");
    ASSERT_NE(nullptr, view);
    CArticlePageWin* page = view->GetPageWin();
    int thumbnails = 0;
    for (int slot = 0; slot < page->GetLayout().GetThumbnailSlotCount(); ++slot)
        if (auto* thumb = dynamic_cast<CThumbnail*>(page->GetLayout().GetThumbnail(slot))) {
            ++thumbnails;
            EXPECT_EQ(static_cast<CWnd*>(page), thumb->GetParent());
        }
    EXPECT_EQ(2, thumbnails);
    page->GoToItem(PAGE_GOTO_THUMBNAIL, 0);
    ui::PumpUntilIdle();
    CWnd* first = page->GetLayout().GetThumbnail(0);
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(first->IsWindowVisible()) << "on the page after the jump";
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-view-thumbnails.png");
    // The release of a click on the thumbnail posts the page a copy of the item's reference,
    // which the page frees (the leak check of the sanitizer build sees a copy that is not).
    {
        spy::MessageSpy spy;
        spy.Watch(page->GetSafeHwnd());
        first->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(5, 5));
        ui::PumpUntilIdle();
        EXPECT_EQ(1u, spy.Count(VLM_THUMB_RELEASE));
        ASSERT_EQ(static_cast<CWnd*>(view), Frame()->GetCurrentMainWin());
    }

    CToolkit* toolkit = Frame()->GetToolkit();
    ASSERT_NE(nullptr, toolkit);
    view->SendMessage(VLM_HIGHLIGHTER, static_cast<WPARAM>(-1), 0);
    EXPECT_TRUE(page->IsHighlighterOn());
    EXPECT_TRUE(toolkit->IsHighlighterOn()) << "the Tool Kit hears of it";
    view->SendMessage(VLM_HIGHLIGHTER, static_cast<WPARAM>(-1), 0);
    EXPECT_FALSE(page->IsHighlighterOn());
    EXPECT_FALSE(toolkit->IsHighlighterOn());
}

// A sound icon on the page plays its clip from the disc through the movie library to the sound
// device, shows its caption, and the caption goes when the clip has ended.
TEST_F(ArticleViewAppTest, ASoundIconPlaysItsClipAndItsCaptionGoesAtTheEnd)
{
    std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / "QuickTime.qts", Prog() / "QuickTime.qts");
    CArticleMainWin* view = StartWithArticle(1002, "Volcano");
    ASSERT_NE(nullptr, view);
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    ui::PumpUntilIdle();
    CArticlePageWin* page = view->GetPageWin();
    ASSERT_NE(nullptr, page);
    int icon = -1;
    for (int i = page->GetTopLine(); i < page->GetLineCount() && icon < 0; ++i)
        if (page->GetLine(i).nKind == PAGE_LINE_MEDIA_ICON)
            icon = i;
    ASSERT_GE(icon, 0) << "the volcano article's sound icon is on its first page";
    host::ClearPlayedSounds();

    const CPoint at(10, (icon - page->GetTopLine()) * page->GetLineHeight() + page->GetLineHeight() / 2);
    page->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, page->GetSoundWindow());
    EXPECT_TRUE(page->GetSoundWindow()->GetPath().Right(12).CompareNoCase("AU000002.mov") == 0)
        << static_cast<LPCSTR>(page->GetSoundWindow()->GetPath());
    ASSERT_EQ(1u, host::PlayedSounds().size()) << "the clip reached the sound device";
    EXPECT_NEAR(host::PlayedSounds()[0].lengthMs, 1500, 50);
    EXPECT_TRUE(page->IsPopupShown()) << "the sound's caption shows";
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-view-sound-caption.png");

    host::StepClock(2000);
    ui::PumpUntilIdle();
    ui::PumpUntilIdle();
    EXPECT_FALSE(page->IsPopupShown()) << "the caption goes when the clip has ended";
}

// File > Print over the jazz article asks what to print: the print-selection window, with the
// choices the article cannot print switched off; "current section" prints the section at the top
// of the page and nothing after it.
TEST_F(ArticleViewAppTest, FilePrintAsksWhatToPrintAndPrintsTheCurrentSection)
{
    host::SetPrintFolder((dir.path() / "print").string());
    host::ClearPrintedJobs();
    struct PrintFolderReset {
        ~PrintFolderReset() { host::SetPrintFolder(""); }
    } reset;
    CArticleMainWin* view = StartWithArticle(1004, "Jazz");
    ASSERT_NE(nullptr, view);
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    ui::PumpUntilIdle();

    bool shown = false;
    host::RunInNextModalLoop([&](HWND window) {
        auto* select = DYNAMIC_DOWNCAST(CPrintSelectWnd, CWnd::FromHandlePermanent(window));
        ASSERT_NE(nullptr, select);
        shown = true;
        EXPECT_TRUE(select->IsWindowVisible());
        // Nothing is selected on the page; the online extras print from their own pane; the
        // dictionary through the frame's dictionary pane.
        for (UINT id : {PRINTSEL_SELECTED_PARAGRAPHS, PRINTSEL_RELATED_ONLINE})
            EXPECT_FALSE(select->GetOption(id)->IsWindowEnabled()) << id;
        for (UINT id : {PRINTSEL_ENTIRE_ARTICLE, PRINTSEL_CURRENT_SECTION, PRINTSEL_CURRENT_PAGE, PRINTSEL_OUTLINE,
                        PRINTSEL_DICTIONARY})
            EXPECT_TRUE(select->GetOption(id)->IsWindowEnabled()) << id;
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-view-print-selection.png");
        for (CWnd* button : {static_cast<CWnd*>(select->GetOption(PRINTSEL_CURRENT_SECTION)),
                             static_cast<CWnd*>(&select->GetPrintButton())}) {
            ui::AdvanceClock(1000);
            CRect rect;
            button->GetWindowRect(&rect);
            host::Click(rect.left + 6, rect.CenterPoint().y);
            ui::PumpUntilIdle();
        }
    });
    host::AnswerCommonDialog("print", "");
    Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_VIEW);
    ui::PumpUntilIdle();
    ASSERT_TRUE(shown);
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    std::string printed;
    for (const std::string& page : pdf_reader::PageTexts(jobs[0].file))
        printed += page;
    EXPECT_NE(std::string::npos, printed.find("JAZZ")) << printed;
    EXPECT_NE(std::string::npos, printed.find("melodies")) << "the introduction is printed";
    EXPECT_EQ(std::string::npos, printed.find("spirituals")) << "the next section is not";
    EXPECT_EQ(std::string::npos, printed.find("ballrooms"));
    pdf_reader::RenderPageForScreenshot(jobs[0].file, 1, "article-view-printed-section");
}

// The article's print window prints the dictionary pane's entry: a word looked up in the pane,
// then File > Print with only "dictionary" ticked.
TEST_F(ArticleViewAppTest, FilePrintPrintsTheDictionaryPanesEntry)
{
    host::SetPrintFolder((dir.path() / "print").string());
    host::ClearPrintedJobs();
    struct PrintFolderReset {
        ~PrintFolderReset() { host::SetPrintFolder(""); }
    } reset;
    CArticleMainWin* view = StartWithArticle(1004, "Jazz");
    ASSERT_NE(nullptr, view);
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    Frame()->GetDictionaryTabWin()->LookUpWord("jazz");
    ui::PumpUntilIdle();

    bool shown = false;
    host::RunInNextModalLoop([&](HWND window) {
        auto* select = DYNAMIC_DOWNCAST(CPrintSelectWnd, CWnd::FromHandlePermanent(window));
        ASSERT_NE(nullptr, select);
        shown = true;
        ASSERT_TRUE(select->GetOption(PRINTSEL_DICTIONARY)->IsWindowEnabled());
        for (CWnd* button : {static_cast<CWnd*>(select->GetOption(PRINTSEL_DICTIONARY)),
                             static_cast<CWnd*>(&select->GetPrintButton())}) {
            ui::AdvanceClock(1000);
            CRect rect;
            button->GetWindowRect(&rect);
            host::Click(rect.left + 6, rect.CenterPoint().y);
            ui::PumpUntilIdle();
        }
    });
    // The page's default scope (the whole article) prints as well: each job asks for its printer.
    host::AnswerCommonDialog("print", "");
    host::AnswerCommonDialog("print", "");
    Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_VIEW);
    ui::PumpUntilIdle();
    ASSERT_TRUE(shown);
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(2u, jobs.size());
    std::string dictionary;
    for (const auto& job : jobs)
        if (job.docName.find("Dictionary") != std::string::npos)
            for (const std::string& page : pdf_reader::PageTexts(job.file))
                dictionary += page;
    ASSERT_FALSE(dictionary.empty()) << jobs[0].docName << " / " << jobs[1].docName;
    EXPECT_NE(std::string::npos, dictionary.find("azz")) << dictionary;
    EXPECT_EQ(std::string::npos, dictionary.find("melodies")) << "its own job, not the article's";
}

}  // namespace
}  // namespace apptest
