// Roads a reader takes between the views of the running program on the sample disc: Go to Article
// from every media item, maps in the media view, Back and Forward through a table, the main
// menu's Topics, Dictionary and Monthly Spotlight.
#include "AppTestSupport.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMainWin.h"
#include "article/ArticlePageLayout.h"
#include "article/ArticlePageWin.h"
#include "article/TableMainWin.h"
#include "article/TableTextWin.h"
#include "base/Reference.h"
#include "base/VLStateObj.h"
#include "explore/AtlasMainWin.h"
#include "media/GrfDocument.h"
#include "media/GrfPictureWin.h"
#include "media/MediaDisplayRef.h"
#include "media/MediaListTabWin.h"
#include "media/BrowseMediaVirtualListBox.h"
#include "media/MediaResourceMainWin.h"
#include "media/QTAudioWin.h"
#include "online/PrintSelectWnd.h"
#include "article/ArticleOutlineTabWin.h"
#include "article/RelatedArticlesTabWin.h"
#include "widgets/StatusWin.h"
#include "search/DictionaryTabWin.h"
#include "search/SearchTabWin.h"
#include "shell/VLToolbar.h"
#include "widgets/BaseListData.h"
#include "widgets/Thumbnail.h"
#include "widgets/VLVListWnd.h"

#include <PictureItemSource.h>

#include <DialogDriver.h>
#include <PdfReader.h>
#include <host/Clock.h>
#include <host/Input.h>
#include <host/Printer.h>
#include <host/UiScript.h>

#include <map>

namespace apptest {
namespace {

constexpr int kSpotlightRow = 2;
constexpr int kDictionaryRow = 5;

class ReaderRoadsAppTest : public AppTest {
protected:
    CMediaResourceMainWin* Media() { return DYNAMIC_DOWNCAST(CMediaResourceMainWin, Frame()->GetDlgItem(IDW_MEDIA)); }
    CTableMainWin* Table() { return DYNAMIC_DOWNCAST(CTableMainWin, Frame()->GetDlgItem(IDW_TABLE)); }

    // The movie library, the simulation runtime and the bubble viewer beside the program, as
    // ./run puts them.
    void CopyMediaLibraries()
    {
        for (const char* name : {"QuickTime.qts", "libARAISF.so", "libIPX32_53.so"})
            std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name, Prog() / name);
    }
    // An idle round of the views and the frame, a step of the clock, and the messages it brings.
    void Settle()
    {
        ui::PumpUntilIdle();
        for (LONG count = 0; count < 4; ++count)
            app->OnIdle(count);
        host::StepClock(300);
        ui::PumpUntilIdle();
    }
    void OpenResult(LONG nRin)
    {
        auto* result = new CReference(nRin, "");
        Frame()->GetSearchTabWin()->OpenResult(result);
        delete result;
        ui::PumpUntilIdle();
    }
    // The media view asked to show an item, as the film strip and the lists ask it.
    void ShowMedia(LONG nNumber)
    {
        CReference item(nNumber, "");
        Frame()->SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA,
                             reinterpret_cast<LPARAM>(new CMediaDisplayRef(&item, NULL, 1)));
        Settle();
    }
    // The titles of the frame's back list, newest first.
    std::vector<std::string> BackTitles()
    {
        std::vector<std::string> titles;
        for (int i = 0; i < Frame()->GetBackList().GetCount(); ++i)
            titles.emplace_back(static_cast<LPCSTR>(Frame()->GetBackList().GetAt(i)->m_strTitle));
        return titles;
    }
};

// Every media item of the disc names the article it belongs to; the media view's Go to Article
// opens that article, never the item's own number as an article.
TEST_F(ReaderRoadsAppTest, GoToArticleOpensTheArticleOfEveryMediaItem)
{
    // The articles the sample disc's items belong to.
    const std::map<LONG, LONG> owners = {
        {1001001, 1001}, {1001002, 1002}, {1001003, 1003}, {1001004, 1004}, {1001005, 1001}, {3000001, 1006},
        {3000002, 1002}, {4010001, 1001}, {4010002, 1002}, {4020001, 1001}, {4020002, 1005}, {4030001, 1001},
        {4030002, 1003}, {4040001, 1001}, {4050001, 1006}, {6000001, 1004}, {6000002, 1002},
    };
    CopyMediaLibraries();
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    int checked = 0;
    for (const discbuilder::PictureItemSource& item :
         discbuilder::ReadPictureItems(std::filesystem::path(VL_SAMPLE_DIR) / "pictures" / "items")) {
        const auto number = static_cast<LONG>(item.number);
        SCOPED_TRACE(number);
        const auto known = owners.find(number);
        const LONG article = known != owners.end() ? known->second : static_cast<LONG>(item.record.itemNumber);
        EXPECT_EQ(article, static_cast<LONG>(item.record.itemNumber)) << "the record names its article";
        ASSERT_NE(0, article) << "every item of the sample disc belongs to an article";

        ShowMedia(number);
        CMediaResourceMainWin* media = Media();
        ASSERT_NE(nullptr, media);
        ASSERT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
        ASSERT_NE(nullptr, media->GetDocument());
        ASSERT_EQ(number, media->GetDocument()->GetReference()->GetNumber());
        CRollOverButton* go = media->GetButton(MR_ID_GOTO_ARTICLE);
        ASSERT_NE(nullptr, go);
        EXPECT_TRUE(go->IsWindowEnabled());
        if (number == 1001002)
            ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-picture-before-go-to-article.png");

        media->SendMessage(WM_COMMAND, MR_ID_GOTO_ARTICLE);
        Settle();
        ASSERT_NE(nullptr, Article());
        EXPECT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
        EXPECT_EQ(article, Article()->GetArticleRin());
        if (number == 1001002)
            ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-go-to-article-opened-volcano.png");
        ++checked;
    }
    EXPECT_GE(checked, static_cast<int>(owners.size()));
}

// A map opens in the atlas, from the Browse Media list and from the map's thumbnail beside an
// article's text.
TEST_F(ReaderRoadsAppTest, MapsOpenInTheAtlas)
{
    ASSERT_NE(nullptr, StartWithArticle(1002, "", true));
    ShowMedia(1001002);  // a picture first

    Frame()->SendMessage(VLM_MAIN_MENU_CHOICE, IDW_MEDIA, 0);
    Settle();
    CMediaResourceMainWin* media = Media();
    ASSERT_NE(nullptr, media);
    CMediaListTabWin* tab = media->GetListTab();
    CVLVListWnd* list = tab->GetBrowseList()->GetCurrentList();
    ASSERT_NE(nullptr, list);
    const long row = list->GetData()->FindTitle("Map of the Great Lakes");
    ASSERT_GE(row, 0);
    tab->SendMessage(VLM_BROWSE_CHOSEN, 0, list->GetData()->GetItemData(row));
    Settle();
    auto* atlas = DYNAMIC_DOWNCAST(CAtlasMainWin, Frame()->GetDlgItem(IDW_ATLAS));
    ASSERT_NE(nullptr, atlas);
    EXPECT_EQ(static_cast<CWnd*>(atlas), Frame()->GetCurrentMainWin());
    EXPECT_EQ(3000001, atlas->GetMapNumber());
    ASSERT_NE(nullptr, atlas->GetPictureWin());
    EXPECT_TRUE(atlas->GetPictureWin()->IsWindowVisible());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-map-from-browse-media.png");

    // The world map's thumbnail beside the volcano article's text, pressed.
    OpenResult(1002);
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    ui::PumpUntilIdle();
    CArticlePageWin* page = Article()->GetPageWin();
    CThumbnail* map = nullptr;
    for (int slot = 0; slot < page->GetLayout().GetThumbnailSlotCount() && map == nullptr; ++slot)
        if (auto* thumb = dynamic_cast<CThumbnail*>(page->GetLayout().GetThumbnail(slot)))
            if (thumb->GetReference() != NULL && thumb->GetReference()->GetKind() == REFKIND_MAP)
                map = thumb;
    ASSERT_NE(nullptr, map) << "the volcano article has a map beside its text";
    map->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    Settle();
    EXPECT_EQ(static_cast<CWnd*>(atlas), Frame()->GetCurrentMainWin());
    EXPECT_EQ(3000002, atlas->GetMapNumber());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-map-from-article-thumbnail.png");
}

// Article, its table, an article through the table's link, Back, Back, Forward, Forward: each
// step shows its place and the history holds each place once.
TEST_F(ReaderRoadsAppTest, BackAndForwardThroughATable)
{
    CArticleMainWin* article = StartWithArticle(1002, "", true);
    ASSERT_NE(nullptr, article);
    article->SendMessage(VLM_PANE_TABLE, 0, 0);
    Settle();
    CTableMainWin* table = Table();
    ASSERT_NE(nullptr, table);
    ASSERT_EQ(static_cast<CWnd*>(table), Frame()->GetCurrentMainWin());
    int link = -1;
    for (int i = 0; i < table->GetTable()->GetLinkCount() && link < 0; ++i)
        if (table->GetTable()->GetLink(i).dwTarget == 1006)
            link = i;
    ASSERT_GE(link, 0) << "the eruptions table links to the Great Lakes";
    // The link followed as the table's panes follow it: a reference to the frame for the article view.
    Frame()->PostMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(new CReference(1006, "")));
    Settle();
    ASSERT_EQ(static_cast<CWnd*>(article), Frame()->GetCurrentMainWin());
    ASSERT_EQ(1006, article->GetArticleRin());
    const std::vector<std::string> all = {"Great Lakes", "Great eruptions of recorded history", "Volcano"};
    EXPECT_EQ(all, BackTitles());

    struct Step {
        UINT command;
        UINT view;
        LONG article;
        std::vector<std::string> back;
        int forward;
    } const steps[] = {
        {ID_GO_BACK, IDW_TABLE, 1002, {"Great eruptions of recorded history", "Volcano"}, 1},
        {ID_GO_BACK, IDW_ARTICLE, 1002, {"Volcano"}, 2},
        {ID_GO_FORWARD, IDW_TABLE, 1002, {"Great eruptions of recorded history", "Volcano"}, 1},
        {ID_GO_FORWARD, IDW_ARTICLE, 1006, all, 0},
    };
    int n = 0;
    for (const Step& step : steps) {
        SCOPED_TRACE(n++);
        Frame()->SendMessage(WM_COMMAND, step.command);
        Settle();
        CWnd* current = Frame()->GetCurrentMainWin();
        ASSERT_NE(nullptr, current);
        EXPECT_EQ(static_cast<int>(step.view), current->GetDlgCtrlID());
        EXPECT_EQ(step.article, article->GetArticleRin());
        EXPECT_EQ(step.back, BackTitles());
        EXPECT_EQ(step.forward, Frame()->GetForwardList().GetCount());
        if (n == 1)
            ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-history-back-to-table.png");
    }
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-history-forward-to-great-lakes.png");
}

// The main menu's Topics opens the search pane in topic mode over the article view.
TEST_F(ReaderRoadsAppTest, MainMenuTopicsOpensTheSearchPaneInTopicMode)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    Settle();
    ASSERT_NE(nullptr, Article());
    EXPECT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
    CSearchTabWin* search = Frame()->GetSearchTabWin();
    ASSERT_NE(nullptr, search);
    EXPECT_TRUE(search->IsWindowVisible());
    EXPECT_FALSE(search->IsWordMode());
    EXPECT_TRUE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnSearch));
    EXPECT_FALSE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnAtlas));
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-main-menu-topics.png");
}

// The main menu's Dictionary opens the dictionary pane.
TEST_F(ReaderRoadsAppTest, MainMenuDictionaryOpensTheDictionaryPane)
{
    ASSERT_TRUE(Start(kDictionaryRow));
    Settle();
    CDictionaryTabWin* dictionary = Frame()->GetDictionaryTabWin();
    ASSERT_NE(nullptr, dictionary);
    EXPECT_TRUE(dictionary->IsWindowVisible());
    EXPECT_FALSE(Frame()->GetSearchTabWin() != nullptr && Frame()->GetSearchTabWin()->IsWindowVisible());
    EXPECT_TRUE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnDictionary));
    EXPECT_FALSE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnAtlas));
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-main-menu-dictionary.png");
}

// The main menu's Monthly Spotlight opens this month's spotlight article, the update article
// that the update service left in the download folder.
TEST_F(ReaderRoadsAppTest, MainMenuMonthlySpotlightOpensTheSpotlightArticle)
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    const CString name = CArticleMainWin::UpdateArticleName(now);
    // Where scripts/start puts the disc's sample spotlight.
    std::filesystem::create_directories(Prog() / "download");
    std::filesystem::copy_file(SampleDisc() / "Update" / "spotlight.rcv",
                               Prog() / "download" / (std::string(static_cast<LPCSTR>(name)) + ".rcv"));
    ASSERT_TRUE(Start(kSpotlightRow));
    Settle();
    CArticleMainWin* article = Article();
    ASSERT_NE(nullptr, article);
    EXPECT_EQ(static_cast<CWnd*>(article), Frame()->GetCurrentMainWin());
    ASSERT_NE(nullptr, article->GetDocument());
    EXPECT_TRUE(article->GetDocument()->IsLoaded());
    EXPECT_STREQ("Spotlight: Comets", article->GetDocument()->GetTitle());
    EXPECT_FALSE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnAtlas));
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-main-menu-monthly-spotlight.png");
}

// The same three choices made in the menu that the toolbar's Home button brings back over the
// atlas: each opens what it names, and the atlas's button goes out.
TEST_F(ReaderRoadsAppTest, HomeMenuChoicesOverTheAtlasOpenWhatTheyName)
{
    SYSTEMTIME now{};
    ::GetLocalTime(&now);
    std::filesystem::create_directories(Prog() / "download");
    std::filesystem::copy_file(SampleDisc() / "Update" / "spotlight.rcv",
                               Prog() / "download" /
                                   (std::string(static_cast<LPCSTR>(CArticleMainWin::UpdateArticleName(now))) + ".rcv"));
    constexpr int kAtlasRow = 4;
    ASSERT_TRUE(Start(kAtlasRow));
    Settle();
    ASSERT_EQ(Frame()->GetDlgItem(IDW_ATLAS), Frame()->GetCurrentMainWin());
    struct Choice {
        int row;
        bool search, dictionary;
        const char* title;  // the article shown, NULL: any
        const char* screenshot;
    } const choices[] = {
        {kSpotlightRow, true, false, "Spotlight: Comets", "road-home-monthly-spotlight.png"},
        {kSearchTopicsRow, true, false, NULL, "road-home-topics.png"},
        {kDictionaryRow, false, true, NULL, "road-home-dictionary.png"},
    };
    for (const Choice& choice : choices) {
        SCOPED_TRACE(choice.screenshot);
        Frame()->SendMessage(WM_COMMAND, ID_VIEW_ATLAS);
        Settle();
        RowToChoose() = choice.row;
        ::SetTimer(NULL, 0, 10, ChooseRowWhenReady);
        Frame()->GetToolbar().SendMessage(WM_COMMAND, MAKEWPARAM(CVLToolbar::btnHome, BN_CLICKED), 0);
        Settle();
        ASSERT_EQ(nullptr, MainMenuState().pMenu);
        ASSERT_NE(nullptr, Article());
        EXPECT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
        EXPECT_EQ(CVLToolbar::btnArticle, Frame()->GetToolbar().GetLatchedButton());
        EXPECT_FALSE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnAtlas));
        EXPECT_EQ(choice.search, Frame()->GetSearchTabWin()->IsWindowVisible() != FALSE);
        EXPECT_EQ(choice.dictionary, Frame()->GetDictionaryTabWin()->IsWindowVisible() != FALSE);
        if (choice.search) {
            EXPECT_FALSE(Frame()->GetSearchTabWin()->IsWordMode());
        }
        if (choice.title != NULL) {
            ASSERT_TRUE(Article()->GetDocument()->IsLoaded());
            EXPECT_STREQ(choice.title, Article()->GetDocument()->GetTitle());
        }
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), choice.screenshot);
    }
}

// Without this month's update article, Monthly Spotlight still brings the article view up (the
// atlas does not stay lit) and tells the reader why it is empty.
TEST_F(ReaderRoadsAppTest, MonthlySpotlightWithoutItsArticleSaysSo)
{
    constexpr int kAtlasRow = 4;
    ASSERT_TRUE(Start(kAtlasRow));
    Settle();
    ASSERT_EQ(Frame()->GetDlgItem(IDW_ATLAS), Frame()->GetCurrentMainWin());
    const std::size_t boxesBefore = host::MessageBoxLog().size();
    host::AnswerMessageBox("This month's spotlight article is not on this computer yet", IDOK);
    RowToChoose() = kSpotlightRow;
    ::SetTimer(NULL, 0, 10, ChooseRowWhenReady);
    Frame()->GetToolbar().SendMessage(WM_COMMAND, MAKEWPARAM(CVLToolbar::btnHome, BN_CLICKED), 0);
    Settle();
    ASSERT_NE(nullptr, Article());
    EXPECT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
    EXPECT_FALSE(Frame()->GetToolbar().IsButtonDown(CVLToolbar::btnAtlas));
    EXPECT_EQ(1u, host::MessageBoxLog().size() - boxesBefore) << "the reader is told";
}

// The article's outline and related-articles panes are reached by their buttons above the text:
// each opens its pane and closes the other, a second press closes it.
TEST_F(ReaderRoadsAppTest, TheOutlineAndRelatedButtonsOpenTheirPanes)
{
    CArticleMainWin* article = StartWithArticle(1002, "", true);
    ASSERT_NE(nullptr, article);
    struct Press {
        CRollOverButton* button;
        CWnd* shown;
        CWnd* hidden;
        const char* screenshot;
    } const presses[] = {
        {article->GetOutlineButton(), article->GetOutlinePane(), article->GetRelatedPane(), "road-article-outline-pane.png"},
        {article->GetRelatedButton(), article->GetRelatedPane(), article->GetOutlinePane(), "road-article-related-pane.png"},
    };
    for (const Press& press : presses) {
        SCOPED_TRACE(press.screenshot);
        ASSERT_NE(nullptr, press.button);
        ASSERT_TRUE(press.button->IsWindowVisible()) << "the reader can see the button";
        ASSERT_TRUE(press.button->IsWindowEnabled());
        CRect rect;
        press.button->GetWindowRect(&rect);
        ASSERT_EQ(press.button->GetSafeHwnd(), ::WindowFromPoint(rect.CenterPoint())) << "nothing covers it";
        host::Click(rect.CenterPoint().x, rect.CenterPoint().y);
        ui::PumpUntilIdle();
        EXPECT_TRUE(press.shown->IsWindowVisible());
        EXPECT_FALSE(press.hidden->IsWindowVisible());
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), press.screenshot);
    }
    article->SendMessage(WM_COMMAND, ID_TOGGLE_RELATED);
    ui::PumpUntilIdle();
    EXPECT_FALSE(article->GetRelatedPane()->IsWindowVisible()) << "the second press closes it";
}

// The page's media lines show an icon of their item's kind and open the item as its kind: a map
// in the atlas, a photo bubble and a film in the media view; a sound plays in place.
TEST_F(ReaderRoadsAppTest, MediaLinesOpenTheirItemsByKind)
{
    CopyMediaLibraries();
    struct Case {
        LONG article;
        LONG item;
        UINT view;  // 0: stays on the article (a sound plays)
        MediaDisplayKind display;
    } const cases[] = {
        {1006, 3000001, IDW_ATLAS, mediaNone},     // a map
        {1006, 4050001, IDW_MEDIA, mediaBubble},   // a photo bubble
        {1001, 4020001, IDW_MEDIA, mediaMovie},    // a film
        {1002, 6000002, 0, mediaNone},             // a sound
    };
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.item);
        OpenResult(c.article);
        Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
        ui::PumpUntilIdle();
        CArticlePageWin* page = Article()->GetPageWin();
        ASSERT_EQ(c.article, Article()->GetArticleRin());
        CArticleDocument* document = Article()->GetDocument();
        int index = -1;
        for (int i = 0; i < document->GetMediaEntryCount() && index < 0; ++i)
            if (document->GetMediaRin(i) == static_cast<DWORD>(c.item))
                index = i;
        ASSERT_GE(index, 0);
        page->GoToItem(PAGE_GOTO_MEDIA, index);
        ui::PumpUntilIdle();
        int line = -1;
        for (int i = page->GetTopLine(); i < page->GetLineCount() && line < 0; ++i)
            if (page->GetLine(i).nKind == PAGE_LINE_MEDIA_ICON && static_cast<int>(page->GetLine(i).dwStart) == index)
                line = i;
        ASSERT_GE(line, 0) << "the item has a media line";
        page->Invalidate();
        page->UpdateWindow();
        if (c.item == 3000001)
            ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "road-media-lines-by-kind.png");
        const int y = (line - page->GetTopLine()) * page->GetLineHeight() + page->GetLineHeight() / 2;
        page->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, y));
        page->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(10, y));
        Settle();
        if (c.view == 0) {
            EXPECT_EQ(static_cast<CWnd*>(Article()), Frame()->GetCurrentMainWin());
            EXPECT_NE(nullptr, page->GetSoundWindow());
            continue;
        }
        if (c.view == IDW_ATLAS) {
            auto* atlas = DYNAMIC_DOWNCAST(CAtlasMainWin, Frame()->GetDlgItem(IDW_ATLAS));
            ASSERT_NE(nullptr, atlas);
            EXPECT_EQ(static_cast<CWnd*>(atlas), Frame()->GetCurrentMainWin());
            EXPECT_EQ(c.item, atlas->GetMapNumber());
            continue;
        }
        ASSERT_NE(nullptr, Media());
        EXPECT_EQ(static_cast<CWnd*>(Media()), Frame()->GetCurrentMainWin());
        ASSERT_NE(nullptr, Media()->GetDocument());
        EXPECT_EQ(c.item, Media()->GetDocument()->GetReference()->GetNumber());
        EXPECT_EQ(c.display, Media()->GetDisplayKind());
    }
}

// Printing the volcano article's outline and related list after a look at its table: one Print
// dialog for both, each printout headed with the article's title, the status bar saying where
// the printouts went.
TEST_F(ReaderRoadsAppTest, OutlineAndRelatedPrintoutsCarryTheArticlesTitle)
{
    host::SetPrintFolder((dir.path() / "print").string());
    host::ClearPrintedJobs();
    struct PrintFolderReset {
        ~PrintFolderReset() { host::SetPrintFolder(""); }
    } reset;
    CArticleMainWin* article = StartWithArticle(1002, "", true);
    ASSERT_NE(nullptr, article);
    article->SendMessage(VLM_PANE_TABLE, 0, 0);
    Settle();
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    Settle();
    ASSERT_EQ(static_cast<CWnd*>(article), Frame()->GetCurrentMainWin());

    bool shown = false;
    host::RunInNextModalLoop([&](HWND window) {
        auto* select = DYNAMIC_DOWNCAST(CPrintSelectWnd, CWnd::FromHandlePermanent(window));
        ASSERT_NE(nullptr, select);
        shown = true;
        for (CWnd* button : {static_cast<CWnd*>(select->GetOption(PRINTSEL_ENTIRE_ARTICLE)),
                             static_cast<CWnd*>(select->GetOption(PRINTSEL_OUTLINE)),
                             static_cast<CWnd*>(select->GetOption(PRINTSEL_RELATED_CDROM)),
                             static_cast<CWnd*>(&select->GetPrintButton())}) {
            ui::AdvanceClock(1000);
            CRect rect;
            button->GetWindowRect(&rect);
            host::Click(rect.left + 6, rect.CenterPoint().y);
            ui::PumpUntilIdle();
        }
    });
    // One answer: a second Print dialog would find none and fail the case.
    host::AnswerCommonDialog("print", "");
    Frame()->SendMessage(WM_COMMAND, ID_FILE_PRINT_VIEW);
    ui::PumpUntilIdle();
    ASSERT_TRUE(shown);
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(3u, jobs.size()) << "the article, its outline and its related list";
    for (const auto& job : {jobs[1], jobs[2]}) {
        SCOPED_TRACE(job.file);
        const std::vector<std::string> pages = pdf_reader::PageTexts(job.file);
        ASSERT_FALSE(pages.empty());
        const std::string& first = pages[0];
        EXPECT_NE(std::string::npos, first.find("VOLCANO")) << first;
        EXPECT_EQ(std::string::npos, first.find("GREAT ERUPTIONS OF RECORDED HISTORY")) << first;
        EXPECT_EQ(std::string::npos, first.find("INTRODUCTION")) << first;
    }
    pdf_reader::RenderPageForScreenshot(jobs[1].file, 1, "road-printed-outline");
    pdf_reader::RenderPageForScreenshot(jobs[2].file, 1, "road-printed-related");
    const CString status = Frame()->GetStatusWin().GetText();
    EXPECT_NE(-1, status.Find("print")) << static_cast<LPCSTR>(status) << " names the folder of the printouts";
}

}  // namespace
}  // namespace apptest
