// The article's media film strip: one thumbnail per media item (half as many in a 1997 record),
// an empty article's disabled strip, and what a click and a double click on a thumbnail send:
// 20010 to the view, 20013 for a sound, 0x401 for maps and articles, 0x402 for the media.
#include "ArticleTestSupport.h"

#include "article/ArticleDocument.h"
#include "article/MediaFilmStrip.h"
#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ReferenceList.h"
#include "base/RomLinkTable.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"
#include "media/MediaListCtrl.h"
#include "widgets/RollOverButton.h"

#include <RomLinkWriter.h>

#include <memory>
#include <vector>

using namespace article_test;

namespace {

// The view: a top-level window that keeps every message the strip sends or posts to it.
class CViewCatcher : public CWnd {
public:
    struct Got {
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        std::unique_ptr<CObject> object;
    };
    std::vector<Got> got;

protected:
    afx_msg LRESULT OnCarry(WPARAM wParam, LPARAM lParam)
    {
        got.push_back({AfxGetCurrentMessage()->message, wParam, 0, std::unique_ptr<CObject>(reinterpret_cast<CObject*>(lParam))});
        return 1;
    }
    afx_msg LRESULT OnPane(WPARAM wParam, LPARAM lParam)
    {
        got.push_back({AfxGetCurrentMessage()->message, wParam, lParam, nullptr});
        return 1;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CViewCatcher, CWnd)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnCarry)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnCarry)
    ON_MESSAGE(VLM_PANE_ITEM, OnPane)
    ON_MESSAGE(VLM_PANE_SOUND, OnPane)
END_MESSAGE_MAP()

class MediaFilmStripTest : public ArticleTest {
protected:
    void SetUp() override
    {
        ArticleTest::SetUp();
        AppServices().owned.pReferenceFactory = &factory;
        // The content index gives the items their kinds (no picture links to look up).
        std::vector<discbuilder::RomLinkEntry> entries;
        for (std::int32_t rin : {1001001, 3000001, 4010001, 6000001, 1003})
            entries.push_back({rin, 1, discbuilder::RomLinkKindDigitFor(rin), 0, 1, 0, 1});
        discbuilder::AddMissingRomLinkDefaults(entries);
        discbuilder::WriteRomLinkFile(DataFolder(), entries);
        ASSERT_TRUE(romLink.LoadTable());
        AppServices().owned.pSearchEngine = &romLink;
        ASSERT_TRUE(view.CreateEx(0, AfxRegisterWndClass(0), "view", WS_POPUP | WS_VISIBLE, CRect(0, 0, 400, 500), nullptr, 0));
        ASSERT_TRUE(strip.Create(&view, CRect(160, 38, 250, 500)));
    }
    void TearDown() override
    {
        strip.DestroyWindow();
        view.DestroyWindow();
        AppServices().owned.pReferenceFactory = NULL;
        AppServices().owned.pSearchEngine = NULL;
        ArticleTest::TearDown();
    }
    CReferenceFactory factory;
    CRomLinkTable romLink;
    CViewCatcher view;
    CMediaFilmStrip strip;
};

TEST_F(MediaFilmStripTest, OneThumbnailPerItemAndNoneForAnEmptyArticle)
{
    auto rich = OpenSource(RichArticle());
    strip.LoadMedia(rich.get());
    EXPECT_EQ(3, strip.GetThumbnailCount());
    EXPECT_TRUE(strip.IsWindowEnabled());
    EXPECT_TRUE(strip.GetRollTopButton()->IsWindowEnabled());
    EXPECT_TRUE(strip.GetMediaList()->IsWindowVisible());
    EXPECT_EQ(3 * 32 + strip.GetMediaList()->GetRollButtonHeight(), strip.GetMediaListRect().Height());
    EXPECT_FALSE(strip.GetScrollUpButton()->IsWindowVisible()) << "the scroll buttons wait for a roll or a step";

    auto old = OpenSource(OldArticle(6));
    strip.LoadMedia(old.get());
    EXPECT_EQ(3, strip.GetThumbnailCount()) << "a 1997 record's media entries come in pairs";

    discbuilder::ArticleRecordSource plain = RichArticle();
    plain.media.clear();
    plain.captions.clear();
    auto empty = OpenSource(plain);
    strip.LoadMedia(empty.get());
    EXPECT_EQ(0, strip.GetThumbnailCount());
    EXPECT_FALSE(strip.IsWindowEnabled());
    EXPECT_FALSE(strip.GetMediaList()->GetRollButton()->IsWindowVisible());
}

TEST_F(MediaFilmStripTest, ClicksAndDoubleClicksSendByKind)
{
    discbuilder::ArticleRecordSource s = RichArticle();
    // A picture, a map, an animation, a sound and an article.
    s.media = {{1001001, 'A', 0}, {3000001, 'C', 1}, {4010001, 'B', 2}, {6000001, 'E', 3}, {1003, 'A', 4}};
    s.captions = {"Lava at night", "Plate map", "Magma rising", "Rumble", "Leaves"};
    auto doc = OpenSource(s);
    strip.LoadMedia(doc.get());
    ASSERT_EQ(5, strip.GetThumbnailCount());

    // A click: 20010 with 1 for media, 4 for a sound, and the index.
    for (int i : {0, 3}) {
        view.got.clear();
        strip.SelectMedia(i);
        ui::PumpUntilIdle();
        ASSERT_EQ(1u, view.got.size());
        EXPECT_EQ(UINT(VLM_PANE_ITEM), view.got[0].message);
        EXPECT_EQ(WPARAM(i == 3 ? 4 : 1), view.got[0].wParam);
        EXPECT_EQ(LPARAM(i), view.got[0].lParam);
    }

    // Double clicks.
    const struct {
        int index;
        UINT message;
        WPARAM wParam;
    } opens[] = {{0, VLM_POST_TO_WINDOW, IDW_MEDIA}, {1, VLM_OPEN_WINDOW, IDW_ATLAS}, {2, VLM_POST_TO_WINDOW, IDW_MEDIA},
                 {4, VLM_OPEN_WINDOW, IDW_ARTICLE}};
    for (const auto& o : opens) {
        SCOPED_TRACE(o.index);
        view.got.clear();
        strip.OpenMedia(o.index);
        ui::PumpUntilIdle();
        ASSERT_EQ(1u, view.got.size());
        EXPECT_EQ(o.message, view.got[0].message);
        EXPECT_EQ(o.wParam, view.got[0].wParam);
        if (o.message == VLM_POST_TO_WINDOW) {
            auto* state = DYNAMIC_DOWNCAST(CMediaDisplayRef, view.got[0].object.get());
            ASSERT_NE(nullptr, state);
            EXPECT_EQ(LONG(s.media[size_t(o.index)].rin), state->GetReference()->GetNumber());
            EXPECT_EQ(0, state->GetCallerValue()) << "the view takes the list as its current one";
            ASSERT_NE(nullptr, state->GetMediaList());
            // The list never holds sounds, maps or articles.
            std::vector<LONG> listed;
            for (int k = 0; k < state->GetMediaList()->GetCount(); ++k)
                listed.push_back(state->GetMediaList()->GetAtIndex(k)->GetNumber());
            EXPECT_EQ((std::vector<LONG>{1001001, 4010001}), listed);
        } else {
            ASSERT_NE(nullptr, DYNAMIC_DOWNCAST(CReference, view.got[0].object.get()));
        }
    }
    // A sound opens nothing: the view hears 20010 (4, index), then 20013 with its number.
    view.got.clear();
    strip.OpenMedia(3);
    ui::PumpUntilIdle();
    ASSERT_EQ(2u, view.got.size());
    EXPECT_EQ(UINT(VLM_PANE_ITEM), view.got[0].message);
    EXPECT_EQ(WPARAM(4), view.got[0].wParam);
    EXPECT_EQ(LPARAM(3), view.got[0].lParam);
    EXPECT_EQ(UINT(VLM_PANE_SOUND), view.got[1].message);
    EXPECT_EQ(LPARAM(6000001), view.got[1].lParam);
}

TEST_F(MediaFilmStripTest, TheRollTopButtonRollsAndStopsTheColumn)
{
    auto doc = OpenSource(RichArticle());
    strip.LoadMedia(doc.get());
    CMediaListCtrl* list = strip.GetMediaList();
    strip.OnRollTop();
    ASSERT_TRUE(list->IsRolling());
    for (int i = 0; i < 40 && list->IsRolling(); ++i)
        ui::AdvanceClock(15);
    EXPECT_TRUE(list->IsAtEnd());
    EXPECT_TRUE(strip.GetScrollDownButton()->IsWindowVisible());
    EXPECT_TRUE(strip.GetScrollDownButton()->IsWindowEnabled());
    EXPECT_FALSE(strip.GetScrollUpButton()->IsWindowEnabled());
    // One step back with the scroll-down button, then the roll-top button rolls the rest back;
    // pressed again while rolling it stops the roll on the grid.
    strip.ScrollDown();
    EXPECT_EQ(64, list->GetOffset());
    strip.OnRollTop();
    ASSERT_TRUE(list->IsRolling());
    ui::AdvanceClock(15);
    strip.OnRollTop();
    EXPECT_FALSE(list->IsRolling());
    EXPECT_EQ(64, list->GetOffset());
    // A new article stops everything and starts from the top.
    strip.LoadMedia(doc.get());
    EXPECT_EQ(0, list->GetOffset());
    EXPECT_FALSE(strip.GetScrollDownButton()->IsWindowVisible());
}

}  // namespace
