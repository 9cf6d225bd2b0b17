// The film strip on the test clock: slides of two pixels a tick that end with a one-pixel step
// on an odd distance, the slide state that stops a repeated slide, items that grow the strip,
// and RemoveAll.
#include "widgets/FilmStripWnd.h"

#include <UiTest.h>

#include <vector>

namespace {

// An item that notes its deletion.
class CCountedItem : public CObject {
public:
    explicit CCountedItem(int* deleted) : m_deleted(deleted) {}
    ~CCountedItem() override { ++*m_deleted; }

private:
    int* m_deleted;
};

// A strip whose slide state and remaining distance a test sets, as the derived panels do.
class CTestStrip : public CFilmStripWnd {
public:
    void SetSlideState(int n) { m_nSlideState = n; }
    void SetRemaining(int n) { m_nRemainingSlide = n; }
    void Start() { StartSlideTimer(); }
};

class FilmStripTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        ASSERT_TRUE(host.CreateEx(0, AfxRegisterWndClass(0), "host", WS_POPUP | WS_VISIBLE, CRect(0, 0, 200, 300),
                                  nullptr, 0));
        ASSERT_TRUE(strip.Create(&host, 10, 20));
    }
    void TearDown() override
    {
        strip.DestroyWindow();
        host.DestroyWindow();
        UiTest::TearDown();
    }

    // The remaining distance after each 15 ms tick until the slide timer is gone.
    std::vector<int> Run()
    {
        std::vector<int> seen;
        for (int tick = 0; tick < 200 && strip.GetSlideTimer() != 0; ++tick) {
            ui::AdvanceClock(15);
            seen.push_back(strip.GetRemainingSlide());
        }
        return seen;
    }

    CWnd host;
    CTestStrip strip;
    int deleted = 0;
};

}  // namespace

TEST_F(FilmStripTest, CreationGivesAHiddenTransparentChildTheSizeOfTheHost)
{
    EXPECT_EQ(host.GetSafeHwnd(), ::GetParent(strip.GetSafeHwnd()));
    char name[64] = {};
    strip.GetWindowText(name, sizeof name);
    EXPECT_STREQ("Film strip scroll win", name);
    EXPECT_TRUE(strip.GetExStyle() & WS_EX_TRANSPARENT);
    EXPECT_FALSE(strip.GetStyle() & WS_VISIBLE);
    CRect r;
    strip.GetWindowRect(&r);
    EXPECT_EQ(CRect(10, 20, 210, 320), r);
    EXPECT_EQ(-1, strip.GetSlideState());
}

TEST_F(FilmStripTest, SlidesStepTwoPixelsATickAndEndOddDistancesWithOne)
{
    struct Case {
        const char* what;
        int distance;
        std::vector<int> steps;  // remaining distance after each tick; the last tick kills the timer
    } cases[] = {
        {"even, up", -6, {-4, -2, 0, 0}},
        {"odd, up", -5, {-3, -1, 0, 0}},
        {"odd, down", 5, {3, 1, 0, 0}},
        {"one pixel down", 1, {0, 0}},
    };
    for (const Case& c : cases) {
        strip.SetRemaining(c.distance);
        strip.Start();
        ASSERT_EQ(1280u, strip.GetSlideTimer()) << c.what << ": the timer id is the control id + 1280";
        EXPECT_EQ(c.steps, Run()) << c.what;
        EXPECT_EQ(0u, strip.GetSlideTimer()) << c.what;
    }

    // SlideIn moves the items in by 32 pixels each: 64 pixels in 32 ticks of 15 ms.
    strip.AddItem(new CCountedItem(&deleted), 44, 32);
    strip.AddItem(new CCountedItem(&deleted), 44, 32);
    strip.SlideIn();
    EXPECT_EQ(-64, strip.GetRemainingSlide());
    std::uint64_t start = host::ClockMilliseconds();
    std::vector<int> seen = Run();
    ASSERT_EQ(33u, seen.size());
    EXPECT_EQ(-62, seen.front());
    EXPECT_EQ(0, seen[31]);
    EXPECT_EQ(33u * 15, host::ClockMilliseconds() - start);
    strip.SlideOut();
    EXPECT_EQ(64, strip.GetRemainingSlide());
    EXPECT_EQ(33u, Run().size());
}

TEST_F(FilmStripTest, ASlideTowardsTheStateTheStripIsInDoesNothing)
{
    strip.AddItem(new CCountedItem(&deleted), 44, 32);
    strip.SetSlideState(1);
    strip.SlideIn();
    EXPECT_EQ(0u, strip.GetSlideTimer());
    EXPECT_EQ(0, strip.GetRemainingSlide());
    strip.SlideOut();
    EXPECT_EQ(32, strip.GetRemainingSlide());
    Run();
    strip.SetSlideState(0);
    strip.SlideOut();
    EXPECT_EQ(0u, strip.GetSlideTimer());
    EXPECT_EQ(0, strip.GetRemainingSlide());
}

TEST_F(FilmStripTest, ItemsGrowTheStripAndRemoveAllEmptiesAndHidesIt)
{
    EXPECT_TRUE(strip.AddItem(new CCountedItem(&deleted), 40, 30));
    EXPECT_TRUE(strip.AddItem(new CCountedItem(&deleted), 60, 28));
    EXPECT_TRUE(strip.AddItem(new CCountedItem(&deleted), 50, 40));
    EXPECT_EQ(3, strip.GetItemCount());
    EXPECT_EQ(60, strip.GetItemWidth()) << "the widest item so far";
    EXPECT_EQ(40, strip.GetItemHeight()) << "the highest item so far";
    CRect r;
    strip.GetWindowRect(&r);
    // Sized when the third item came: the width + 6, the height times the items before it + 6.
    EXPECT_EQ(CSize(66, 40 * 2 + 6), r.Size());

    strip.ShowWindow(SW_SHOWNA);
    strip.SetSlideState(1);
    EXPECT_EQ(3, strip.RemoveAll());
    EXPECT_EQ(3, deleted);
    EXPECT_EQ(0, strip.GetItemCount());
    EXPECT_EQ(-1, strip.GetSlideState());
    EXPECT_FALSE(strip.IsWindowVisible());
    strip.GetWindowRect(&r);
    EXPECT_EQ(CSize(66, 0), r.Size());

    // The strip deletes what it holds when it goes.
    {
        CFilmStripWnd other;
        ASSERT_TRUE(other.Create(&host, 0, 0));
        other.AddItem(new CCountedItem(&deleted), 44, 32);
    }
    EXPECT_EQ(4, deleted);
}
