// The sample disc has what the thumbnail factory reads for every kind of item the browsing views
// show: first lines, timelines, flag-file rows, and picture records for pictures, maps, movies,
// simulations, bubble views and sounds. Every item gets its thumbnail in the running program.
#include "AppTestSupport.h"

#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "media/AudioTextThumb.h"
#include "media/BitmapThumb.h"
#include "media/ThumbnailFactory.h"
#include "widgets/Dib.h"
#include "widgets/TextThumb.h"
#include "widgets/TimelineThumb.h"

#include <DialogDriver.h>

#include <memory>
#include <string>
#include <vector>

using apptest::AppTest;
using apptest::kBrowseRow;

namespace {

class SampleThumbnailsTest : public AppTest {};

TEST_F(SampleThumbnailsTest, EveryItemOfTheSampleDiscGetsItsThumbnail)
{
    ASSERT_TRUE(Start(kBrowseRow));
    ui::PumpUntilIdle();
    CThumbnailFactory* pFactory = GetAppThumbnailFactory();
    CReferenceFactory* pReferences = GetAppReferenceFactory();
    ASSERT_NE(nullptr, pFactory);
    ASSERT_NE(nullptr, pReferences);
    const size_t nBoxesBefore = host::MessageBoxLog().size();

    struct Item {
        LONG number;
        const char* title;
        CRuntimeClass* pClass;
    } items[] = {
        {1001, "Aviation", RUNTIME_CLASS(CTextThumb)},
        {1004, "Jazz", RUNTIME_CLASS(CTextThumb)},
        {1007, "Broadcasting", RUNTIME_CLASS(CTextThumb)},
        {1001001, "Monoplane Climbing Away", RUNTIME_CLASS(CBitmapThumb)},
        {1001005, "Biplane in Flight", RUNTIME_CLASS(CBitmapThumb)},
        {1001004, "Trumpet Solo", RUNTIME_CLASS(CBitmapThumb)},
        {3000001, "Map of the Great Lakes", RUNTIME_CLASS(CBitmapThumb)},
        {3000002, "Volcanoes of the World", RUNTIME_CLASS(CBitmapThumb)},
        {4010001, "How a Wing Lifts", RUNTIME_CLASS(CBitmapThumb)},
        {4010002, "Inside an Eruption", RUNTIME_CLASS(CBitmapThumb)},
        {4020001, "First Flights", RUNTIME_CLASS(CBitmapThumb)},
        {4020002, "Printing a Page", RUNTIME_CLASS(CBitmapThumb)},
        {4030001, "Build a Glider", RUNTIME_CLASS(CBitmapThumb)},
        {4030002, "Grow a Plant", RUNTIME_CLASS(CBitmapThumb)},
        {4040001, "Cockpit Tour", RUNTIME_CLASS(CBitmapThumb)},
        {4050001, "Harbour at Dusk", RUNTIME_CLASS(CBitmapThumb)},
        {4060001, "Milestones of Flight", RUNTIME_CLASS(CTimelineThumb)},
        {4060002, "Great Eruptions", RUNTIME_CLASS(CTimelineThumb)},
        {6000001, "A trumpet solo", RUNTIME_CLASS(CAudioTextThumb)},
        {15001927, "Aviation (1927)", RUNTIME_CLASS(CTextThumb)},
        {18000101, "The Green Leaf", RUNTIME_CLASS(CTextThumb)},
    };
    CWnd* pMain = app->m_pMainWnd;
    ASSERT_NE(nullptr, pMain);
    // The picture thumbnails are shown on the current view, as the browsing views show them.
    CWnd* pView = AppServices().ui.pCurrentView != NULL ? AppServices().ui.pCurrentView : pMain;
    std::vector<std::unique_ptr<CThumbnail>> shown;
    int x = 10, y = 40;
    for (const Item& item : items) {
        SCOPED_TRACE(item.title);
        std::unique_ptr<CReference> ref(pReferences->CreateReference(item.number, item.title, 0));
        ASSERT_NE(nullptr, ref);
        std::unique_ptr<CThumbnail> thumb(pFactory->CreateThumbnail(ref.get()));
        ASSERT_NE(nullptr, thumb);
        EXPECT_EQ(item.pClass, thumb->GetRuntimeClass());
        EXPECT_FALSE(thumb->GetDescription().IsEmpty()) << "a first line, a description, a title or a caption";
        if (auto* pBitmap = dynamic_cast<CBitmapThumb*>(thumb.get())) {
            ASSERT_NE(nullptr, pBitmap->GetPicture());
            EXPECT_FALSE(pBitmap->GetPicture()->IsEmpty());
        }
        if (auto* pTimeline = dynamic_cast<CTimelineThumb*>(thumb.get())) {
            EXPECT_EQ(-1, pTimeline->GetSourceLine().Find("the  article")) << "the article title is there";
        }
        if (auto* pAudio = dynamic_cast<CAudioTextThumb*>(thumb.get())) {
            EXPECT_NE(-1, pAudio->GetAudioPath().Find("\\Sound\\AU000001.mov"));
        }
        if (thumb->IsKindOf(RUNTIME_CLASS(CBitmapThumb)) && x < 700 && y < 500) {
            ASSERT_TRUE(thumb->CreateAt(pView, x, y));
            x += 180;
            if (x > 700) {
                x = 10;
                y += 140;
            }
            shown.push_back(std::move(thumb));
        }
    }
    EXPECT_EQ(nBoxesBefore, host::MessageBoxLog().size()) << "no message on the way";
    pMain->RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(pMain->GetSafeHwnd(), "sample-picture-thumbnails.png");
    shown.clear();
}

}  // namespace
