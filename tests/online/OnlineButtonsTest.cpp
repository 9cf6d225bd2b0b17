// The online activity button (the toolbar's VL Plus button) and the Update Now button on the
// stepped clock: which frame of which strip each tick draws, where, for each screen class and
// state; the Update Now button's loop of four cells.
#include "online/Cloud.h"
#include "online/UpdateNowButton.h"
#include "online/VLPlusButton.h"

#include "base/AppServices.h"
#include "base/ResourceLibrary.h"
#include "widgets/Dib.h"

#include <DialogDriver.h>
#include <UiTest.h>

#include <host/Desktop.h>
#include <host/Input.h>
#include <host/Paths.h>

#include <string>
#include <vector>

namespace {

class OnlineButtonsTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        ResetAppServices();
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300, nullptr,
                                  nullptr));
        app.m_pMainWnd = &main;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        main.DestroyWindow();
        UseClass(-1);
        ResetAppServices();
        ui::UiTest::TearDown();
    }
    // The screen class and its resource library (-1: none).
    void UseClass(int nClass)
    {
        if (AppServices().env.hResourceLibrary != nullptr)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = nullptr;
        if (nClass < 0)
            return;
        AppServices().env.nScreenClass = nClass;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res" + std::to_string(nClass) + ".dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }

    CWinApp app{"vl00i1se"};
    CWnd main;
};

struct Drawn {
    CRect source, destination;
};

TEST_F(OnlineButtonsTest, TheActivityButtonPlaysTheStripOfItsStateAtItsScreenClassesSize)
{
    const struct {
        int cx, cy, x, y;
    } places[3] = {{26, 28, 10, 11}, {29, 31, 8, 14}, {36, 39, 7, 18}};
    for (int nClass = 0; nClass < 3; ++nClass) {
        SCOPED_TRACE(nClass);
        UseClass(nClass);
        const auto& place = places[nClass];
        CCloud cloud;
        CVLPlusButton button;
        ASSERT_TRUE(button.Create("VL Plus", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(100, 10, 147, 74), &main, 9));
        ASSERT_TRUE(button.LoadStateBitmaps(8030, 8027, 0, 0));
        ASSERT_TRUE(button.SetBitmaps(8107, 8091));
        EXPECT_EQ(CVLPlusButton::GetInstance(), &button);
        EXPECT_TRUE(button.IsAnimating());
        // The strips: 3 and 12 frames side by side, three rows.
        EXPECT_EQ(button.GetConnectedDib()->GetWidth(), 3 * place.cx);
        EXPECT_EQ(button.GetConnectedDib()->GetHeight(), 3 * place.cy);
        EXPECT_EQ(button.GetDownloadingDib()->GetWidth(), 12 * place.cx);
        EXPECT_EQ(button.GetDownloadingDib()->GetHeight(), 3 * place.cy);

        // Off line: the roll-over button's own look, no frame.
        cloud.SetState(CCloud::stateOffline);
        ui::AdvanceClock(110 * 10);
        EXPECT_EQ(button.GetOnlineState(), 1);
        EXPECT_EQ(button.GetTickCount(), 10);
        EXPECT_EQ(button.GetFramesDrawn(), 0);

        auto framesOver = [&](int ticks) {
            std::vector<int> frames;
            for (int i = 0; i < ticks; ++i) {
                const int before = button.GetFramesDrawn();
                ui::AdvanceClock(110);
                if (button.GetFramesDrawn() != before) {
                    frames.push_back(button.GetLastSource().left / place.cx);
                    EXPECT_EQ(button.GetLastSource().Width(), place.cx);
                    EXPECT_EQ(button.GetLastSource().top, 0);
                    EXPECT_EQ(button.GetLastDestination(), CRect(place.x, place.y, place.x + place.cx, place.y + place.cy));
                }
            }
            return frames;
        };
        // Connected: a frame every fifth tick (the tick count goes on from 10), 0, 1, 2, 0...
        cloud.SetState(CCloud::stateOnline);
        EXPECT_EQ(framesOver(20), (std::vector<int>{0, 1, 2, 0}));
        // Downloading: every tick, twelve frames.
        cloud.SetState(CCloud::stateDownloading);
        EXPECT_EQ(framesOver(14), (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 0, 1}));
        if (nClass == 1)
            ui::dialog::Screenshot(main.GetSafeHwnd(), "online-vlplus-downloading.png");
        // Back to connected: the strip starts again at its first frame.
        cloud.SetState(CCloud::stateOnline);
        const std::vector<int> connected = framesOver(10);
        ASSERT_FALSE(connected.empty());
        EXPECT_EQ(connected[0], 0);
        if (nClass == 1)
            ui::dialog::Screenshot(main.GetSafeHwnd(), "online-vlplus-connected.png");

        // Pressed: the third row; under the cursor: the second.
        cloud.SetState(CCloud::stateDownloading);
        ui::PumpUntilIdle();
        button.SendMessage(BM_SETSTATE, TRUE);
        button.UpdateWindow();
        ui::AdvanceClock(110);
        EXPECT_EQ(button.GetLastSource().top, 2 * place.cy);
        button.SendMessage(BM_SETSTATE, FALSE);
        button.UpdateWindow();
        CRect rect;
        button.GetWindowRect(&rect);
        host::MouseMove(rect.CenterPoint().x, rect.CenterPoint().y);
        ui::AdvanceClock(110);
        EXPECT_EQ(button.GetLastSource().top, place.cy);
        host::MouseMove(390, 290);
        ui::PumpUntilIdle();

        // Destroyed: the timer stops.
        button.DestroyWindow();
        const int ticks = button.GetTickCount();
        ui::AdvanceClock(1000);
        EXPECT_EQ(button.GetTickCount(), ticks);
    }
    EXPECT_EQ(CVLPlusButton::GetInstance(), nullptr);
}

TEST_F(OnlineButtonsTest, UpdateNowLoopsItsFourCellsEvery200ms)
{
    CUpdateNowButton button;
    ASSERT_TRUE(button.Create("Update Now", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(20, 20, 74, 74), &main, 10));
    ASSERT_TRUE(button.LoadStateBitmaps(579));
    CDib cells(579);
    EXPECT_EQ(cells.GetWidth(), 4 * 54);
    EXPECT_EQ(cells.GetHeight(), 54);
    std::vector<int> frames;
    for (int i = 0; i < 6; ++i) {
        ui::AdvanceClock(200);
        frames.push_back(button.GetFrame());
    }
    EXPECT_EQ(frames, (std::vector<int>{1, 2, 3, 0, 1, 2}));
    ui::dialog::Screenshot(main.GetSafeHwnd(), "online-update-now.png");
    button.DestroyWindow();
    ui::AdvanceClock(1000);
    EXPECT_EQ(button.GetFrame(), 2);
}

}  // namespace
