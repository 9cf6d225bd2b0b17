#include "FrameTestSupport.h"

#include "base/ResourceLibrary.h"
#include "media/MediaResourceMainWin.h"
#include "widgets/VLListWindow.h"

#include <DialogDriver.h>
#include <MessageSpy.h>

#include <host/Paths.h>

#include <functional>

using namespace frametest;

namespace {

// A view that restores states: it keeps the title of each state it is sent, deletes the state
// and hands the frame a copy with VLM_PUSH_STATE (VLM_RESTORE_STATE), as the real views do.
class RestoringView : public CVLMainWin {
public:
    void OnFilePrint() override {}
    std::vector<std::string> restored;

protected:
    afx_msg LRESULT OnRestore(WPARAM, LPARAM lParam)
    {
        auto* state = reinterpret_cast<CVLStateObj*>(lParam);
        if (state == nullptr)
            return 0;
        restored.push_back(static_cast<LPCSTR>(state->m_strTitle));
        GetParent()->SendMessage(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(state->Clone()));
        delete state;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(RestoringView, CVLMainWin)
    ON_MESSAGE(VLM_RESTORE_STATE, OnRestore)
END_MESSAGE_MAP()

// The texts of the dialog's tree-shaped list, top row first; each row's value is its state.
std::vector<std::string> ListTexts(HWND dlg)
{
    std::vector<std::string> out;
    auto* list = dynamic_cast<CVLListWindow*>(CWnd::FromHandlePermanent(GetDlgItem(dlg, 103)));
    EXPECT_NE(nullptr, list) << "the list is the tree-shaped list window";
    if (list == nullptr)
        return out;
    for (int i = 0; i < list->GetCount(); ++i) {
        HTREEITEM item = list->GetItemIdAt(i);
        auto* state = reinterpret_cast<CVLStateObj*>(list->GetItemValue(item));
        EXPECT_NE(nullptr, state);
        out.push_back(static_cast<LPCSTR>(list->GetItemText(item)));
    }
    return out;
}

class HistoryTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        MakeFrame();
        // The Dada Vaveroz view's id: the frame finds this view before its factory would make one.
        CRect rect(0, 80, 400, 400);
        ASSERT_TRUE(view.CreateView(nullptr, "restoring", rect, frame, 8002));
    }
    void TearDown() override
    {
        DestroyFrame();
        FrameTest::TearDown();
    }
    // The view shows something new.
    void Show(const char* title) { frame->SendMessage(VLM_PUSH_STATE, 0, reinterpret_cast<LPARAM>(new TestState(8002, title))); }
    static std::vector<std::string> Titles(CVLStateList& list)
    {
        std::vector<std::string> titles;
        for (int i = 0; i < list.GetCount(); ++i)
            titles.push_back(static_cast<LPCSTR>(list.GetAt(i)->m_strTitle));
        return titles;
    }
    std::vector<std::string> Back() { return Titles(frame->GetBackList()); }
    std::vector<std::string> Forward() { return Titles(frame->GetForwardList()); }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, id, 0); }

    RestoringView view;
};

using Names = std::vector<std::string>;

}  // namespace

TEST_F(HistoryTest, TheThirtyFirstPushDropsTheOldest)
{
    for (int i = 1; i <= 31; ++i)
        Show(std::to_string(i).c_str());
    ASSERT_EQ(30, frame->GetBackList().GetCount());
    EXPECT_EQ("31", Back().front());
    EXPECT_EQ("2", Back().back());
    EXPECT_EQ(Names{"frame:1"}, FreedLog()) << "the frame deletes the oldest state, nothing else";
    EXPECT_TRUE(frame->GetBackList().WasPushed());

    // A list of its own: pop order and the push flag.
    CVLStateList list;
    EXPECT_EQ(nullptr, list.Pop());
    list.Push(new TestState(8001, "a"));
    list.Push(new TestState(8001, "b"));
    CVLStateObj* head = list.Pop();
    EXPECT_FALSE(list.WasPushed());
    EXPECT_EQ("b", std::string(head->m_strTitle));
    delete head;
}

TEST_F(HistoryTest, BackAndForwardWalkTheHistory)
{
    // Back with one state does nothing.
    Show("A");
    Command(ID_GO_BACK);
    EXPECT_EQ(Names{"A"}, Back());
    EXPECT_TRUE(view.restored.empty());

    Show("B");
    Show("C");
    Command(ID_GO_BACK);
    EXPECT_EQ(Names{"B"}, view.restored);
    EXPECT_EQ((Names{"B", "A"}), Back());
    EXPECT_EQ(Names{"C"}, Forward());

    Command(ID_GO_BACK);
    EXPECT_EQ((Names{"B", "A"}), view.restored);
    EXPECT_EQ(Names{"A"}, Back());
    EXPECT_EQ((Names{"B", "C"}), Forward());

    // Forward returns to the state Back left, which is again at the head of the back list.
    Command(ID_GO_FORWARD);
    EXPECT_EQ((Names{"B", "A", "B"}), view.restored);
    EXPECT_EQ((Names{"B", "A"}), Back());
    EXPECT_EQ(Names{"C"}, Forward());

    // Something new clears the forward list; Forward then does nothing.
    Show("D");
    EXPECT_TRUE(Forward().empty());
    Command(ID_GO_FORWARD);
    EXPECT_EQ((Names{"D", "B", "A"}), Back());
    EXPECT_EQ(3u, view.restored.size());
}

TEST_F(HistoryTest, AFailedBackOrForwardLeavesTheListsAsTheyWere)
{
    Show("A");
    Show("B");
    Show("C");
    Command(ID_GO_BACK);
    ASSERT_EQ((Names{"B", "A"}), Back());
    ASSERT_EQ(Names{"C"}, Forward());

    TakeDiscAway();
    CancelNextDiscPrompt();
    Command(ID_GO_BACK);
    CancelNextDiscPrompt();
    Command(ID_GO_FORWARD);
    EXPECT_EQ((Names{"B", "A"}), Back());
    EXPECT_EQ(Names{"C"}, Forward());
    EXPECT_EQ(2, DiscPrompts());

    // A state of a view that cannot be made.
    SetProfile("Files", "DataDir", "T:\\data");
    frame->SendMessage(VLM_PUSH_STATE, VLM_RESTORE_STATE, reinterpret_cast<LPARAM>(new TestState(8012, "nowhere")));
    host::AnswerMessageBox("Cannot Create Unknown Main Window ID", IDOK);
    Show("E");
    Command(ID_GO_BACK);
    EXPECT_EQ((Names{"E", "nowhere", "B", "A"}), Back());
    EXPECT_EQ(1, Boxes("Cannot Create Unknown Main Window ID"));
    EXPECT_EQ(Names{"B"}, view.restored);
}

TEST_F(HistoryTest, BackClosesTheMediaPopup)
{
    Show("A");
    Show("B");
    ASSERT_TRUE(frame->ShowMainWindow(8005, FALSE));
    ASSERT_EQ(8005, frame->GetCurrentMainWin()->GetDlgCtrlID());
    auto* media = static_cast<CMediaResourceMainWin*>(frame->GetCurrentMainWin());
    auto* popup = new CWnd;
    popup->Attach(CreateWindowExA(0, spy::MessageSpy::ClassName(), "popup", WS_POPUP | WS_VISIBLE, 0, 0, 10, 10, nullptr, nullptr,
                                  nullptr, nullptr));
    media->m_pPopupWnd = popup;
    Command(ID_GO_BACK);
    EXPECT_EQ(nullptr, media->m_pPopupWnd);
    EXPECT_EQ(Names{"A"}, view.restored);
}

TEST_F(HistoryTest, MediaMessageRestoresTheHeadState)
{
    Show("A");
    ASSERT_TRUE(frame->ShowMainWindow(8005, FALSE));
    // The media view frees what it is handed: the head state leaves the back list to it.
    frame->SendMessage(VLM_REFRESH_TOOLS, 1, 0);
    EXPECT_TRUE(Back().empty());
    EXPECT_EQ(Names{"view 8005:A"}, FreedLog());
    // With another wParam the history is left alone.
    Show("B");
    frame->SendMessage(VLM_REFRESH_TOOLS, 0, 0);
    EXPECT_EQ(Names{"B"}, Back());
}

TEST_F(HistoryTest, DestroyingTheFrameFreesTheHistory)
{
    Show("A");
    Show("B");
    Command(ID_GO_BACK);
    FreedLog().clear();
    DestroyFrame();
    EXPECT_EQ(2u, FreedLog().size());
}

// The History dialog over the frame: the back list most recent first, and a choice sent back
// to its view through the frame.
class HistoryDialogTest : public HistoryTest {
protected:
    void SetUp() override
    {
        HistoryTest::SetUp();
        // The dialog's close box comes from the screen-class library.
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(LoadAppPalettes());
    }
    // Runs the History command with these steps inside the dialog.
    void RunHistory(std::function<void(HWND)> steps)
    {
        bool ran = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ran = true;
            ui::dialog::Pump(dlg);
            steps(dlg);
            ui::dialog::Pump(dlg);
        });
        Command(ID_HISTORY);
        EXPECT_TRUE(ran);
        ui::PumpUntilIdle();
    }
};

TEST_F(HistoryDialogTest, ADoubleClickedEntryIsRestoredAndStaysInTheHistory)
{
    Show("Aardvark");
    Show("");
    Show("Bison   ");
    Show("Camel");
    RunHistory([&](HWND dlg) {
        EXPECT_EQ(Names({"Camel", "Bison", "No Title!", "Aardvark"}), ListTexts(dlg));
        EXPECT_FALSE(frame->IsWindowEnabled());
        char caption[32] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ("History", caption);
        // 206 x 185, a third of the way into the current view.
        ASSERT_NE(nullptr, frame->GetCurrentMainWin());
        CRect r, over;
        GetWindowRect(dlg, &r);
        frame->GetCurrentMainWin()->GetWindowRect(&over);
        CPoint at(over.Width() / 3 - 103 + over.left, over.Height() / 3 - 92 + over.top);
        EXPECT_EQ(at.x, r.left);
        EXPECT_EQ(at.y, r.top);
        EXPECT_EQ(CSize(206, 185), r.Size());
        ui::dialog::Screenshot(dlg, "history_dialog.png");
        ui::dialog::ClickItem(dlg, 103, 1, true);
    });
    EXPECT_TRUE(frame->IsWindowEnabled());
    EXPECT_EQ(Names{"Bison   "}, view.restored);
    EXPECT_EQ(Names({"Bison   ", "Camel", "Bison   ", "", "Aardvark"}), Back());
}

TEST_F(HistoryDialogTest, OKTakesTheSelectedEntryAndCancelNothing)
{
    Show("Aardvark");
    Show("Bison");
    RunHistory([&](HWND dlg) {
        SendDlgItemMessageA(dlg, 103, LB_SETCURSEL, 1, 0);
        ui::dialog::Click(dlg, IDCANCEL);
    });
    EXPECT_TRUE(view.restored.empty());
    EXPECT_EQ(Names({"Bison", "Aardvark"}), Back());

    RunHistory([&](HWND dlg) {
        // The buttons sit in the bottom right corner, Cancel at the right, 3 pixels apart.
        CRect client, ok, cancel;
        GetClientRect(dlg, &client);
        GetWindowRect(GetDlgItem(dlg, IDOK), &ok);
        GetWindowRect(GetDlgItem(dlg, IDCANCEL), &cancel);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&ok), 2);
        MapWindowPoints(nullptr, dlg, reinterpret_cast<POINT*>(&cancel), 2);
        EXPECT_EQ(CPoint(client.right - 3, client.bottom - 3), cancel.BottomRight());
        EXPECT_EQ(cancel.left - 3, ok.right);
        SendDlgItemMessageA(dlg, 103, LB_SETCURSEL, 1, 0);
        ui::dialog::Click(dlg, IDOK);
    });
    EXPECT_EQ(Names{"Aardvark"}, view.restored);
    EXPECT_EQ(Names({"Aardvark", "Bison", "Aardvark"}), Back());

    // OK with nothing selected ends the dialog and changes nothing.
    view.restored.clear();
    RunHistory([&](HWND dlg) { ui::dialog::Click(dlg, IDOK); });
    EXPECT_TRUE(view.restored.empty());
    EXPECT_EQ(3, frame->GetBackList().GetCount());
}
