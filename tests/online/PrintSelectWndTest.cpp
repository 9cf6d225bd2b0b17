// The print-selection window: its controls and place, the options switched off for what cannot
// be printed, the mask it answers for the extents and extras chosen (with Print, Enter or the
// second Print id), an extent always chosen, and 0 for Cancel, Escape and closing.
#include "online/PrintSelectWnd.h"

#include "base/AppServices.h"
#include "base/ResourceLibrary.h"

#include <DialogDriver.h>
#include <UiTest.h>

#include <host/Input.h>
#include <host/Paths.h>
#include <host/UiScript.h>

#include <algorithm>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

// The options as the reader sees them, top to bottom.
struct ExpectedOption {
    UINT id;
    const char* text;
    CRect rect;
    bool checked;
};
const ExpectedOption kOptions[] = {
    {101, " ENTIRE ARTICLE", CRect(25, 32, 230, 46), true},
    {102, " CURRENT SECTION", CRect(25, 48, 230, 62), false},
    {103, " CURRENT PAGE", CRect(25, 64, 230, 78), false},
    {104, " SELECTED PARAGRAPHS", CRect(25, 80, 230, 94), false},
    {105, " ARTICLE OUTLINE", CRect(25, 96, 230, 110), false},
    {106, " RELATED INFO: CD-ROM", CRect(25, 112, 230, 126), false},
    {108, " RELATED INFO: ONLINE", CRect(25, 128, 230, 142), false},
    {109, " SEARCH RESULTS", CRect(25, 144, 230, 158), false},
    {1001, " DICTIONARY", CRect(25, 160, 230, 174), false},
};

CRect ClientRectOf(CWnd& parent, CWnd& child)
{
    CRect rect;
    child.GetWindowRect(&rect);
    parent.ScreenToClient(&rect);
    return rect;
}

// A main window to centre over, the palettes, and the screen-class library for the caption's
// close box.
class PrintSelectWndTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        ResetAppServices();
        ASSERT_TRUE(LoadAppPalettes());
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(main.CreateEx(0, nullptr, "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 40, 30, 800, 600, nullptr,
                                  nullptr));
        app.m_pMainWnd = &main;
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != NULL)
            main.DestroyWindow();
        ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = nullptr;
        ResetAppServices();
        ui::UiTest::TearDown();
    }

    // Runs the window with the choices of nDisabled switched off and the action in its loop;
    // RunTabDialog's answer. The action must end the window.
    int Run(CPrintSelectWnd& wnd, UINT nDisabled, const std::function<void(CPrintSelectWnd&)>& action)
    {
        wnd.DisableChoices(nDisabled);
        bool ran = false;
        host::RunInNextModalLoop([&](HWND window) {
            ran = true;
            EXPECT_EQ(wnd.GetSafeHwnd(), window);
            action(wnd);
        });
        const int nResult = wnd.RunTabDialog();
        EXPECT_TRUE(ran);
        EXPECT_EQ(nullptr, wnd.GetSafeHwnd()) << "the window is gone";
        EXPECT_TRUE(main.IsWindowEnabled()) << "the main window is given back";
        return nResult;
    }
    // Clicks an option's box as the reader does (a click apart from the one before).
    static void Click(CWnd& wnd)
    {
        ui::AdvanceClock(1000);
        CRect rect;
        wnd.GetWindowRect(&rect);
        host::Click(rect.left + 6, rect.CenterPoint().y);
        ui::PumpUntilIdle();
    }
    static void ClickOption(CPrintSelectWnd& wnd, UINT id)
    {
        CRadioButton* option = wnd.GetOption(id);
        ASSERT_NE(nullptr, option);
        Click(*option);
    }
    static int CheckedExtents(CPrintSelectWnd& wnd)
    {
        int n = 0;
        for (UINT id : {101u, 102u, 103u, 104u})
            n += wnd.GetOption(id)->GetCheck() ? 1 : 0;
        return n;
    }

    CWinApp app{"vl00i1se"};
    CWnd main;
};

TEST_F(PrintSelectWndTest, TheWindowShowsItsOptionsAndButtonsCentredOverTheMainWindow)
{
    CPrintSelectWnd wnd;
    const int nResult = Run(wnd, 0, [&](CPrintSelectWnd& w) {
        CString title;
        w.GetWindowText(title);
        EXPECT_STREQ("PRINT", title);
        CRect rect, mainRect;
        w.GetWindowRect(&rect);
        main.GetWindowRect(&mainRect);
        EXPECT_EQ(260, rect.Width());
        EXPECT_EQ(290, rect.Height());
        EXPECT_NEAR(mainRect.CenterPoint().x, rect.CenterPoint().x, 1);
        EXPECT_NEAR(mainRect.CenterPoint().y, rect.CenterPoint().y, 1);

        for (const ExpectedOption& o : kOptions) {
            SCOPED_TRACE(o.text);
            CWnd* child = w.GetDlgItem(static_cast<int>(o.id));
            ASSERT_NE(nullptr, child);
            CRadioButton* option = w.GetOption(o.id);
            ASSERT_EQ(child->GetSafeHwnd(), option->GetSafeHwnd());
            CString text;
            option->GetWindowText(text);
            EXPECT_STREQ(o.text, text);
            EXPECT_EQ(o.rect, ClientRectOf(w, *option));
            EXPECT_EQ(o.checked, option->GetCheck() != 0);
            EXPECT_FALSE(option->IsRadio()) << "check marks";
            EXPECT_TRUE(option->IsWindowEnabled());
            EXPECT_TRUE(option->IsWindowVisible());
        }
        // Cancel and Print below the options, each its picture's size.
        EXPECT_EQ(111, w.GetCancelButton().GetDlgCtrlID());
        EXPECT_EQ(112, w.GetPrintButton().GetDlgCtrlID());
        const CRect cancel = ClientRectOf(w, w.GetCancelButton());
        const CRect print = ClientRectOf(w, w.GetPrintButton());
        EXPECT_EQ(CRect(18, 213, 118, 239), cancel);
        EXPECT_EQ(CRect(130, 213, 230, 239), print);
        CRect client;
        w.GetClientRect(&client);
        EXPECT_LT(print.bottom, client.bottom) << "the buttons fit in the window";
        ui::dialog::Screenshot(w.GetSafeHwnd(), "print-selection-window.png");
        Click(w.GetCancelButton());
    });
    EXPECT_EQ(0, nResult);
}

TEST_F(PrintSelectWndTest, ChoicesTheCallerSwitchesOffCannotBeChosen)
{
    struct Case {
        const char* name;
        UINT disabled;
        std::vector<UINT> off;
        // Every option but the first three clicked, then Print.
        UINT mask;
    };
    const Case cases[] = {
        {"nothing off", 0, {}, 0x7D},
        {"online extras and dictionary", 0x02 | 0x04 | 0x01, {108, 1001}, 0x78},
        {"no selection, no search results", 0x40 | 0x08, {104, 109}, 0x235},
        {"related articles", 0x10, {106}, 0x6D},
        {"every bit", 0x3FF, {104, 106, 108, 109, 1001}, 0x220},
        {"only the always available", 0x200 | 0x100 | 0x80 | 0x20, {}, 0x7D},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPrintSelectWnd wnd;
        const int nResult = Run(wnd, c.disabled, [&](CPrintSelectWnd& w) {
            for (const ExpectedOption& o : kOptions) {
                const bool off = std::find(c.off.begin(), c.off.end(), o.id) != c.off.end();
                EXPECT_EQ(!off, w.GetOption(o.id)->IsWindowEnabled() != 0) << o.text;
                EXPECT_EQ(!off, w.IsAvailable(o.id) != 0) << o.text;
            }
            for (UINT id : {104u, 105u, 106u, 108u, 109u, 1001u})
                ClickOption(w, id);
            for (UINT id : c.off)
                EXPECT_FALSE(w.GetOption(id)->GetCheck()) << id << " was clicked but is off";
            Click(w.GetPrintButton());
        });
        EXPECT_EQ(static_cast<int>(c.mask), nResult);
    }
}

TEST_F(PrintSelectWndTest, TheChosenExtentAndExtrasMakeTheMask)
{
    enum class End { PrintButton, EnterKey, SecondPrintId };
    struct Case {
        const char* name;
        std::vector<UINT> clicks;
        End end;
        int returned;
        int selection;
    };
    const Case cases[] = {
        {"unchanged", {}, End::PrintButton, 0x200, 0x1},
        {"current page", {103}, End::PrintButton, 0x80, 0x4},
        {"current section and outline", {102, 105}, End::PrintButton, 0x120, 0x12},
        {"the checked extent clicked stays chosen", {101}, End::PrintButton, 0x200, 0x1},
        {"the last extent clicked wins", {103, 104, 102}, End::PrintButton, 0x100, 0x2},
        {"an extra clicked twice is off", {105, 105}, End::PrintButton, 0x200, 0x1},
        {"every extra", {104, 105, 106, 108, 109, 1001}, End::PrintButton, 0x7D, 0x2F8},
        {"Enter prints", {106, 1001}, End::EnterKey, 0x211, 0x221},
        {"the second Print id", {109}, End::SecondPrintId, 0x208, 0x41},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CPrintSelectWnd wnd;
        const int nResult = Run(wnd, 0, [&](CPrintSelectWnd& w) {
            for (UINT id : c.clicks) {
                ClickOption(w, id);
                EXPECT_EQ(1, CheckedExtents(w)) << "after clicking " << id;
            }
            switch (c.end) {
            case End::PrintButton:
                Click(w.GetPrintButton());
                break;
            case End::EnterKey:
                host::PressKey(VK_RETURN);
                ui::PumpUntilIdle();
                break;
            case End::SecondPrintId:
                w.SendMessage(WM_COMMAND, 113);
                break;
            }
        });
        EXPECT_EQ(c.returned, nResult);
        EXPECT_EQ(c.selection, wnd.GetSelectionMask());
    }
}

TEST_F(PrintSelectWndTest, CancelEscapeAndClosingAnswerZero)
{
    const std::pair<const char*, std::function<void(CPrintSelectWnd&)>> ends[] = {
        {"Cancel", [](CPrintSelectWnd& w) { Click(w.GetCancelButton()); }},
        {"Escape",
         [](CPrintSelectWnd&) {
             host::PressKey(VK_ESCAPE);
             ui::PumpUntilIdle();
         }},
        {"closed", [](CPrintSelectWnd& w) { w.SendMessage(WM_CLOSE); }},
    };
    for (const auto& [name, end] : ends) {
        SCOPED_TRACE(name);
        CPrintSelectWnd wnd;
        const int nResult = Run(wnd, 0, [&](CPrintSelectWnd& w) {
            ClickOption(w, 102);
            ClickOption(w, 105);
            end(w);
        });
        EXPECT_EQ(0, nResult);
        EXPECT_EQ(0, wnd.GetSelectionMask()) << "nothing confirmed";
    }
}

}  // namespace
