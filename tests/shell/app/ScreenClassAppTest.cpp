// The running program at each screen class (640x480, 800x600, 1024x768): every toolbar button and
// every button of the media view's bar stands whole inside its window, and the screenshots of an
// article and of a picture with its caption show the labels and captions at each class.
#include "AppTestSupport.h"

#include "article/ArticleMainWin.h"
#include "article/MediaFilmStrip.h"
#include "base/Reference.h"
#include "media/MediaCaptionWin.h"
#include "media/MediaResourceMainWin.h"
#include "shell/VLToolbar.h"
#include "widgets/RollOverButton.h"

#include <DialogDriver.h>

#include <host/Display.h>

#include <string>

namespace apptest {
namespace {

class ScreenClassAppTest : public AppTest {
protected:
    void TearDown() override
    {
        AppTest::TearDown();
        host::SetDesktopSize(1024, 768);
    }
    CMediaResourceMainWin* Media() { return DYNAMIC_DOWNCAST(CMediaResourceMainWin, Frame()->GetDlgItem(IDW_MEDIA)); }

    // The child's window rectangle lies whole inside the parent's client area.
    static ::testing::AssertionResult InsideClient(CWnd* child, CWnd* parent)
    {
        CRect inner, outer;
        child->GetWindowRect(&inner);
        parent->GetClientRect(&outer);
        parent->ClientToScreen(&outer);
        CRect both;
        both.IntersectRect(&inner, &outer);
        if (both == inner && !inner.IsRectEmpty())
            return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "(" << inner.left << "," << inner.top << ")-(" << inner.right << ","
                                             << inner.bottom << ") outside (" << outer.left << "," << outer.top
                                             << ")-(" << outer.right << "," << outer.bottom << ")";
    }
};

TEST_F(ScreenClassAppTest, ToolbarAndMediaBarStandWholeAtEveryScreenClass)
{
    const struct {
        int width, height, screenClass;
    } cases[] = {{640, 480, 0}, {800, 600, 1}, {1024, 768, 2}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        host::SetDesktopSize(c.width, c.height);
        // Start-up keeps only its class's library: the others come back for the next start.
        for (int n = 0; n < 3; ++n) {
            auto name = Prog() / ("vl_res" + std::to_string(n) + ".dll");
            if (!std::filesystem::exists(name))
                std::filesystem::copy_file(std::filesystem::path(VL_LIBRARY_DIR) / name.filename(), name);
        }
        MakeApp();
        CArticleMainWin* article = StartWithArticle(1002, "Volcano", true);
        ASSERT_NE(nullptr, article);
        ASSERT_EQ(c.screenClass, GetAppScreenClass());
        const std::string size = std::to_string(c.width) + "x" + std::to_string(c.height);
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "screen-class-article-" + size + ".png");

        CVLToolbar& toolbar = Frame()->GetToolbar();
        for (int id = CVLToolbar::btnSearch; id <= CVLToolbar::btnStop; ++id) {
            CRollOverButton* button = toolbar.GetButton(id);
            ASSERT_NE(nullptr, button) << id;
            EXPECT_TRUE(button->IsWindowVisible()) << "toolbar button " << id;
            EXPECT_TRUE(InsideClient(button, &toolbar)) << "toolbar button " << id;
        }

        // The lava picture with its caption.
        ASSERT_NE(nullptr, article->GetFilmStrip());
        article->GetFilmStrip()->OpenMedia(0);
        ui::PumpUntilIdle();
        CMediaResourceMainWin* media = Media();
        ASSERT_NE(nullptr, media);
        ASSERT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
        ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "screen-class-media-" + size + ".png");
        for (UINT id : {MR_ID_INSTRUCTIONS, MR_ID_CAPTION, MR_ID_GOTO_ARTICLE, MR_ID_BROWSE, MR_ID_OVERLAY}) {
            CRollOverButton* button = media->GetButton(id);
            ASSERT_NE(nullptr, button) << id;
            EXPECT_TRUE(button->IsWindowVisible()) << "media button " << id;
            EXPECT_TRUE(InsideClient(button, media)) << "media button " << id;
        }
        // A one-line caption is drawn at a size that reads: 8 points or more.
        CMediaCaptionWin* caption = media->GetCaptionPanel();
        ASSERT_NE(nullptr, caption);
        if (caption->IsOneLine()) {
            EXPECT_GE(caption->GetPointSize(), 80);
        }
        Exit();
        ui::PumpUntilIdle();
    }
}

}  // namespace
}  // namespace apptest
