// The find window: its layout, the search it runs for the word typed, an empty word, a word
// that is not there ("Text not found." beside the window, which stays open with the word), and
// the hit reference handed to the caller.
#include "widgets/FindWin.h"

#include "base/ResourceLibrary.h"
#include "base/Reference.h"
#include "widgets/PopupMessageBox.h"

#include "DialogPiecesSupport.h"

#include <DialogDriver.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// The form is the main window the window places itself by; the resource library gives the
// caption's close box; the palettes the drawing.
class FindWinTest : public DialogPiecesTest {
protected:
    void SetUp() override
    {
        DialogPiecesTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        form.MoveWindow(0, 0, 800, 600);
        app.m_pMainWnd = &form;
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = nullptr;
        DialogPiecesTest::TearDown();
    }

    // The finder: records what it is asked and finds only "lava".
    CFindWin::Finder Finder()
    {
        return [this](const CString& word, LONG article) -> CReference* {
            asked.emplace_back(static_cast<LPCSTR>(word), article);
            if (word != "lava")
                return nullptr;
            CReference* hit = new CReference();
            hit->SetNumber(article);
            return hit;
        };
    }
    static void Type(const char* text)
    {
        host::TypeText(text);
        ui::PumpUntilIdle();
    }
    std::vector<std::pair<std::string, LONG>> asked;
};

TEST_F(FindWinTest, AWordWithHitsEndsTheWindowWithItsReference)
{
    CFindWin find;
    find.SetArticle(4711);
    find.SetFinder(Finder());
    host::RunInNextModalLoop([&](HWND window) {
        EXPECT_EQ(find.GetSafeHwnd(), window);
        CRect rect, client;
        find.GetWindowRect(&rect);
        find.GetClientRect(&client);
        CRect main;
        form.GetWindowRect(&main);
        EXPECT_EQ(CPoint(main.left + 10, main.top + 82), rect.TopLeft());
        EXPECT_EQ(277, rect.Width());
        EXPECT_EQ(135, rect.Height());
        EXPECT_EQ(find.GetWordField().GetSafeHwnd(), ::GetFocus());
        // Cancel at the bottom left, Find at the bottom right, the field across.
        CRect cancel, findButton, field;
        find.GetCancelButton().GetWindowRect(&cancel);
        find.GetFindButton().GetWindowRect(&findButton);
        find.GetWordField().GetWindowRect(&field);
        find.ScreenToClient(&cancel);
        find.ScreenToClient(&findButton);
        find.ScreenToClient(&field);
        EXPECT_EQ(8, cancel.left);
        EXPECT_EQ(client.Height() - 10, cancel.bottom);
        EXPECT_EQ(client.Width() - 8, findButton.right);
        EXPECT_EQ(cancel.top, findButton.top);
        EXPECT_EQ(CPoint(10, 30), field.TopLeft());
        EXPECT_EQ(client.Width() - 20, field.Width());
        ui::dialog::Screenshot(window, "find-window.png");

        // Find with nothing typed: nothing happens.
        find.GetFindButton().SendMessage(BM_CLICK);
        ui::PumpUntilIdle();
        EXPECT_TRUE(asked.empty());
        EXPECT_TRUE(find.IsWindowVisible());

        find.GetWordField().SetFocus();
        Type("lava");
        host::PressKey(VK_RETURN);  // Enter in the field is Find
        ui::PumpUntilIdle();
    });
    EXPECT_EQ(FINDWIN_FOUND, find.RunTabDialog());
    ASSERT_EQ(1u, asked.size());
    EXPECT_EQ(std::make_pair(std::string("lava"), LONG(4711)), asked[0]);
    EXPECT_STREQ("lava", find.GetWord());
    ASSERT_NE(nullptr, find.GetHitReference());
    std::unique_ptr<CReference> hit(find.TakeHitReference());
    EXPECT_EQ(4711, hit->GetNumber());
    EXPECT_EQ(nullptr, find.GetHitReference()) << "the caller owns it now";
}

TEST_F(FindWinTest, AWordWithoutHitsSaysSoBesideTheWindowAndKeepsItOpen)
{
    CFindWin find;
    find.SetArticle(12);
    find.SetFinder(Finder());
    std::vector<std::string> boxes;
    host::RunInNextModalLoop([&](HWND window) {
        Type("magma");
        CRect findRect;
        find.GetWindowRect(&findRect);
        // The popup box runs its own loop: its text, title and place, then OK.
        host::RunInNextModalLoop([&](HWND box) {
            CPopupMessageBox* popup = static_cast<CPopupMessageBox*>(CWnd::FromHandlePermanent(box));
            ASSERT_NE(nullptr, popup);
            boxes.push_back(static_cast<LPCSTR>(popup->GetText()));
            EXPECT_STREQ("FIND", popup->GetTitle());
            CRect boxRect;
            popup->GetWindowRect(&boxRect);
            EXPECT_EQ(CPoint(findRect.right + 10, findRect.top + 16), boxRect.TopLeft());
            EXPECT_FALSE(::IsWindowEnabled(window)) << "the find window waits for the box";
            popup->GetOKButton().SendMessage(BM_CLICK);
            ui::PumpUntilIdle();
        });
        find.GetFindButton().SendMessage(BM_CLICK);
        ui::PumpUntilIdle();
        EXPECT_TRUE(::IsWindowVisible(window));
        EXPECT_TRUE(::IsWindowEnabled(window));
        EXPECT_STREQ("magma", TextOf(find.GetWordField())) << "the word is kept";
        find.GetCancelButton().SendMessage(BM_CLICK);
        ui::PumpUntilIdle();
    });
    EXPECT_EQ(IDCANCEL, find.RunTabDialog());
    EXPECT_EQ((std::vector<std::string>{"Text not found."}), boxes);
    EXPECT_EQ(nullptr, find.GetHitReference());
}

}  // namespace
