// The media view in the running program on the sample disc: an article's film strip opens a
// picture in the media view, Back returns to the article; the main menu's Browse Media opens the
// view at its welcome with the disc's media list.
#include "AppTestSupport.h"

#include "article/ArticleMainWin.h"
#include "article/MediaFilmStrip.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "media/GrfDocument.h"
#include "media/MediaCaptionWin.h"
#include "media/MediaListTabWin.h"
#include "media/MediaResourceMainWin.h"
#include "media/BrowseMediaVirtualListBox.h"
#include "media/EmbeddedSimHolder.h"
#include "media/GrfQTWin.h"
#include "media/PhotoWin.h"
#include "media/QTAudioWin.h"
#include "shell/Toolkit.h"
#include "widgets/RollOverButton.h"
#include "widgets/VLVListWnd.h"
#include "widgets/BaseListData.h"

#include <DialogDriver.h>
#include <host/Clock.h>
#include <host/Input.h>
#include <host/Sound.h>

#include <set>

namespace apptest {
namespace {

class MediaViewAppTest : public AppTest {
protected:
    CMediaResourceMainWin* Media() { return DYNAMIC_DOWNCAST(CMediaResourceMainWin, Frame()->GetDlgItem(IDW_MEDIA)); }

    // The colour the screen shows at a point of a window (the tests run on a 256-colour display).
    static COLORREF ScreenColour(CWnd* pWnd, int x, int y)
    {
        CClientDC dc(pWnd);
        return dc.GetPixel(x, y) & 0xFFFFFF;
    }
    // The application's colour at a display-palette index, as the ground of views and bars uses it.
    static COLORREF AppColour(int nIndex)
    {
        PALETTEENTRY e{};
        GetAppDisplayPalette()->GetPaletteEntries(static_cast<UINT>(nIndex), 1, &e);
        return RGB(e.peRed, e.peGreen, e.peBlue);
    }
};

TEST_F(MediaViewAppTest, ArticleFilmStripToTheMediaViewAndBack)
{
    CArticleMainWin* article = StartWithArticle(1002, "Volcano");
    ASSERT_NE(nullptr, article);
    CMediaFilmStrip* strip = article->GetFilmStrip();
    ASSERT_NE(nullptr, strip);
    EXPECT_EQ(4, strip->GetThumbnailCount()) << "a picture, a map, an animation and a sound";
    EXPECT_TRUE(strip->IsWindowVisible());
    Frame()->GetSearchTabWin()->ShowWindow(SW_HIDE);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "article-film-strip-running.png");

    // The lava picture's thumbnail, double-clicked.
    strip->OpenMedia(0);
    ui::PumpUntilIdle();
    CMediaResourceMainWin* media = Media();
    ASSERT_NE(nullptr, media);
    EXPECT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
    ASSERT_NE(nullptr, media->GetDocument());
    EXPECT_EQ(1001002, media->GetDocument()->GetReference()->GetNumber());
    EXPECT_EQ(mediaPicture, media->GetDisplayKind());
    ASSERT_NE(nullptr, media->GetListTab()->GetCurrentList());
    EXPECT_EQ(2, media->GetListTab()->GetCurrentList()->GetCount()) << "the picture and the animation; no map";
    // The Tool Kit offers printing for the picture, and sticky notes.
    ASSERT_NE(nullptr, Frame()->GetToolkit());
    EXPECT_TRUE(media->CanPrint());
    EXPECT_TRUE(Frame()->GetToolkit()->GetRememberedTools()[0]);
    EXPECT_TRUE(Frame()->GetToolkit()->GetRememberedTools()[1]);
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "media-view-running.png");
    // The picture's colours come in beside the application's: the view's ground keeps its colour.
    EXPECT_EQ(AppColour(30), ScreenColour(media, 5, 200)) << "the ground is not pushed out by the picture";

    // The Caption button the instructions speak of: offered, latched while the caption shows,
    // and it hides and shows the caption (a line under the picture, or its panel).
    CRollOverButton* caption = media->GetButton(MR_ID_CAPTION);
    ASSERT_NE(nullptr, caption);
    EXPECT_TRUE(caption->IsWindowEnabled());
    EXPECT_TRUE(media->IsCaptionShown());
    const BOOL oneLine = media->GetCaptionPanel()->IsOneLine();
    for (BOOL shown : {FALSE, TRUE}) {
        ui::AdvanceClock(1000);
        CRect button;
        caption->GetWindowRect(&button);
        host::Click(button.CenterPoint().x, button.CenterPoint().y);
        ui::PumpUntilIdle();
        EXPECT_EQ(shown, media->IsCaptionShown());
        if (!oneLine) {
            EXPECT_EQ(shown, media->GetCaptionPanel()->IsWindowVisible());
        }
        if (!shown)
            ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "media-view-caption-hidden.png");
    }

    // Back: the article again.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    EXPECT_EQ(static_cast<CWnd*>(article), Frame()->GetCurrentMainWin());
    EXPECT_EQ(1002, article->GetArticleRin());
    // Forward: the picture again, from the history's own copy.
    Frame()->SendMessage(WM_COMMAND, ID_GO_FORWARD);
    ui::PumpUntilIdle();
    EXPECT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
    EXPECT_EQ(1001002, media->GetDocument()->GetReference()->GetNumber());

    // Command 40013 brings the media view back over another view, as it was.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    ASSERT_EQ(static_cast<CWnd*>(article), Frame()->GetCurrentMainWin());
    Frame()->SendMessage(WM_COMMAND, ID_VIEW_MEDIA);
    ui::PumpUntilIdle();
    EXPECT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
    EXPECT_TRUE(media->IsWindowVisible());
    EXPECT_FALSE(article->IsWindowVisible());
    EXPECT_EQ(1001002, media->GetDocument()->GetReference()->GetNumber());
}

TEST_F(MediaViewAppTest, BrowseMediaFromTheMainMenuListsTheDiscsMedia)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    Frame()->SendMessage(VLM_MAIN_MENU_CHOICE, IDW_MEDIA, 0);
    ui::PumpUntilIdle();
    CMediaResourceMainWin* media = Media();
    ASSERT_NE(nullptr, media);
    EXPECT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
    CMediaListTabWin* tab = media->GetListTab();
    EXPECT_TRUE(tab->IsWindowVisible());
    EXPECT_TRUE(tab->IsAllMediaChecked());
    CVLVListWnd* list = tab->GetBrowseList()->GetCurrentList();
    ASSERT_NE(nullptr, list);
    EXPECT_GE(list->GetData()->GetCount(), 12) << "the pictures, maps, animations, videos, simulations and the tour";
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "media-view-welcome-running.png");

    // Choosing "Lava Fountains at Night" in the list opens it.
    const long row = list->GetData()->FindTitle("Lava Fountains at Night");
    ASSERT_GT(row, 0);
    tab->SendMessage(VLM_BROWSE_CHOSEN, 0, list->GetData()->GetItemData(row));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, media->GetDocument());
    EXPECT_EQ(1001002, media->GetDocument()->GetReference()->GetNumber());
}

// Every kind of item on the sample disc shows in the running program: the movie library, the
// simulation runtime and the bubble viewer are found beside the program as ./run puts them.
TEST_F(MediaViewAppTest, EveryKindOfTheDiscsMediaShowsInTheView)
{
    for (const char* name : {"QuickTime.qts", "libARAISF.so", "libIPX32_53.so"})
        std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name, Prog() / name);
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    Frame()->SendMessage(VLM_MAIN_MENU_CHOICE, IDW_MEDIA, 0);
    ui::PumpUntilIdle();
    CMediaResourceMainWin* media = Media();
    ASSERT_NE(nullptr, media);
    CMediaListTabWin* tab = media->GetListTab();
    CVLVListWnd* list = tab->GetBrowseList()->GetCurrentList();
    ASSERT_NE(nullptr, list);
    host::ClearPlayedSounds();

    struct Case {
        const char* title;
        LONG number;
        MediaDisplayKind kind;
        const char* screenshot;
    } const cases[] = {
        {"How a wing lifts", 4010001, mediaMovie, "media-view-animation-running.png"},
        {"First flights", 4020001, mediaMovie, "media-view-video-running.png"},
        {"Cockpit tour", 4040001, mediaMovie, "media-view-panorama-running.png"},
        {"Build a glider", 4030001, mediaSimulation, "media-view-simulation-running.png"},
        {"Harbour at Dusk", 4050001, mediaBubble, "media-view-bubble-running.png"},
        {"A Trumpet Solo", 6000001, mediaSound, "media-view-sound-running.png"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.title);
        const long row = list->GetData()->FindTitle(c.title);
        ASSERT_GE(row, 0);
        tab->SendMessage(VLM_BROWSE_CHOSEN, 0, list->GetData()->GetItemData(row));
        ui::PumpUntilIdle();
        for (LONG count = 0; count < 4; ++count)  // an idle round of the views and of the frame
            app->OnIdle(count);
        host::StepClock(500);
        ui::PumpUntilIdle();
        ASSERT_NE(nullptr, media->GetDocument());
        EXPECT_EQ(c.number, media->GetDocument()->GetReference()->GetNumber());
        EXPECT_EQ(c.kind, media->GetDisplayKind());
        switch (c.kind) {
        case mediaMovie:
            ASSERT_NE(nullptr, media->GetMovieWin());
            EXPECT_TRUE(media->GetMovieWin()->HasController()) << "the movie file opened";
            EXPECT_TRUE(media->GetMovieWin()->IsWindowVisible());
            {
                CRect movie, view;
                media->GetMovieWin()->GetWindowRect(&movie);
                media->GetWindowRect(&view);
                EXPECT_LE(movie.bottom, view.bottom) << "the movie and its controller stay in the view";
            }
            break;
        case mediaSimulation:
            ASSERT_NE(nullptr, media->GetSimHolder());
            ASSERT_NE(nullptr, media->GetSimHolder()->GetSimWnd());
            EXPECT_TRUE(media->GetSimHolder()->GetSimWnd()->IsWindowVisible());
            {
                CRect sim;
                media->GetSimHolder()->GetSimWnd()->GetWindowRect(&sim);
                media->ScreenToClient(&sim);
                EXPECT_EQ(media->GetMediaRect(), sim) << "in the media frame, not where it was made off-screen";
            }
            break;
        case mediaBubble:
            ASSERT_NE(nullptr, media->GetPhotoWin());
            EXPECT_TRUE(media->GetPhotoWin()->IsWindowVisible());
            {
                // The bubble shows in its own colours, many more than the twenty fixed ones.
                CRect rc;
                media->GetPhotoWin()->GetClientRect(&rc);
                std::set<COLORREF> colours;
                for (int y = 2; y < rc.bottom; y += 8)
                    for (int x = 2; x < rc.right; x += 8)
                        colours.insert(ScreenColour(media->GetPhotoWin(), x, y));
                EXPECT_GT(colours.size(), 40u);
            }
            EXPECT_EQ(AppColour(30), ScreenColour(media, 5, media->GetMediaRect().top + 5));
            break;
        case mediaSound:
            EXPECT_FALSE(host::PlayedSounds().empty()) << "the trumpet clip reached the sound device";
            break;
        default:
            break;
        }
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), c.screenshot);
    }
}

}  // namespace
}  // namespace apptest
