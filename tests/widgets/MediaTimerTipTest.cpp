// The media timer (periodic ticks posted to a window on the test clock, a refused timer, Stop
// twice) and the tip window (one shared size that only grows, the shared font's life, the
// placement beside a button).
#include "widgets/MediaTimer.h"
#include "widgets/TipWnd.h"

#include "base/VLMessages.h"

#include "WidgetTestSupport.h"

#include <MessageSpy.h>

#include <memory>
#include <vector>

namespace {

class MediaTimerTipTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        CTipWnd::ResetShared();
        target = CreateWindowExA(0, spy::MessageSpy::ClassName(), "target", WS_OVERLAPPEDWINDOW, 0, 0, 200, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        DestroyWindow(target);
        CTipWnd::ResetShared();
        BitmapTest::TearDown();
    }

    std::vector<spy::Recorded> Ticks() const
    {
        std::vector<spy::Recorded> out;
        for (const spy::Recorded& r : messages.Messages(target))
            if (r.message == VLM_MEDIA_TICK)
                out.push_back(r);
        return out;
    }

    spy::MessageSpy messages;
    HWND target = nullptr;
};

TEST_F(MediaTimerTipTest, TheTimerPostsTheTimeAndItsParameterEveryPeriodUntilStopped)
{
    DWORD start = timeGetTime();
    {
        MediaTimer timer;
        ASSERT_TRUE(timer.Start(15, 5, 77, target));
        EXPECT_TRUE(timer.IsRunning());
        ui::AdvanceClock(45);
        std::vector<spy::Recorded> ticks = Ticks();
        ASSERT_EQ(3u, ticks.size());
        for (size_t i = 0; i < ticks.size(); ++i) {
            EXPECT_EQ(static_cast<WPARAM>(start + 15 * (i + 1)), ticks[i].wParam) << "the system time of the tick";
            EXPECT_EQ(77, ticks[i].lParam);
        }
        EXPECT_TRUE(timer.Stop());
        EXPECT_FALSE(timer.IsRunning());
        ui::AdvanceClock(60);
        EXPECT_EQ(3u, Ticks().size()) << "a stopped timer posts nothing";
        EXPECT_TRUE(timer.Stop()) << "Stop on a stopped timer";
        ASSERT_TRUE(timer.Start(20, 5, 0, target));
    }
    // The destructor stopped the second run: nothing more comes, and no timer period is left
    // begun.
    ui::AdvanceClock(60);
    EXPECT_EQ(3u, Ticks().size());
    EXPECT_EQ(static_cast<MMRESULT>(TIMERR_NOCANDO), timeEndPeriod(1));
}

TEST_F(MediaTimerTipTest, ARefusedTimerStaysStoppedWithItsPeriodEnded)
{
    MediaTimer timer;
    EXPECT_FALSE(timer.Start(0, 5, 0, target)) << "the system refuses a period of 0";
    EXPECT_FALSE(timer.IsRunning());
    EXPECT_EQ(static_cast<MMRESULT>(TIMERR_NOCANDO), timeEndPeriod(1)) << "the period begun was ended";
    EXPECT_TRUE(timer.Stop());
    ui::AdvanceClock(50);
    EXPECT_TRUE(Ticks().empty());
}

TEST_F(MediaTimerTipTest, TipsShareOneSizeThatOnlyGrowsAndOneFontWhileAnyLives)
{
    CWnd anchor;
    anchor.Attach(target);
    auto shortTip = std::make_unique<CTipWnd>("Print");
    ASSERT_TRUE(shortTip->Create(&anchor));
    CSize first = CTipWnd::GetLargestSize();
    EXPECT_GT(first.cx, 4);
    EXPECT_GE(first.cy, 20) << "at least a line of the 16-pixel font and 4";
    auto longTip = std::make_unique<CTipWnd>("Turn Highlighter Off");
    ASSERT_TRUE(longTip->Create(&anchor));
    CSize second = CTipWnd::GetLargestSize();
    EXPECT_GT(second.cx, first.cx);
    auto laterShort = std::make_unique<CTipWnd>("Note");
    ASSERT_TRUE(laterShort->Create(&anchor));
    EXPECT_EQ(second, CTipWnd::GetLargestSize()) << "a shorter tip never shrinks the size";
    EXPECT_EQ(3, CTipWnd::GetTipCount());

    // Created hidden, owned by the anchor, titled "Tip Window".
    EXPECT_FALSE(laterShort->IsWindowVisible());
    EXPECT_EQ(target, ::GetWindow(laterShort->GetSafeHwnd(), GW_OWNER));
    CString title;
    laterShort->GetWindowText(title);
    EXPECT_STREQ("Tip Window", title);

    // Placed beside a button: 4 pixels over its right edge, centred on it, the shared size.
    CRect button(100, 200, 136, 236);
    laterShort->Place(button);
    CRect placed;
    laterShort->GetWindowRect(&placed);
    EXPECT_EQ(132, placed.left);
    EXPECT_EQ(button.right + second.cx, placed.right);
    EXPECT_EQ(second.cy, placed.Height());
    EXPECT_EQ(placed, laterShort->GetTipRect());

    shortTip.reset();
    longTip.reset();
    EXPECT_EQ(1, CTipWnd::GetTipCount());
    laterShort.reset();
    EXPECT_EQ(0, CTipWnd::GetTipCount());
    // With the font gone a new tip makes it again, and the size stays the largest seen.
    auto again = std::make_unique<CTipWnd>("Print");
    ASSERT_TRUE(again->Create(&anchor));
    EXPECT_EQ(second, CTipWnd::GetLargestSize());
    again.reset();
    anchor.Detach();
}

}  // namespace
