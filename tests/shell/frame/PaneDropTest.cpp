// Words selected in a mini-article box reach the frame's panes: dropped on the search pane they
// are searched for, dropped on the dictionary pane or double-clicked they are looked up.
#include "FrameTestSupport.h"

#include "widgets/MiniArtThumb.h"
#include "widgets/TextDropTarget.h"

#include <host/Input.h>

#include <memory>

using namespace frametest;

namespace {

class PaneDropTest : public FrameTest {
protected:
    void TearDown() override
    {
        box.reset();
        FrameTest::TearDown();
    }

    // A box in the article view with a selection of two words.
    void MakeBoxWithSelection()
    {
        MakeFrame();
        ASSERT_TRUE(frame->ShowMainWindow(8001, FALSE));
        box = std::make_unique<CMiniArtThumb>();
        ASSERT_TRUE(box->Create(0, CRect(400, 300, 700, 400), View(8001)));
        // Over the article page, which fills the view's text area.
        box->SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
        box->SetText("The <B>volcano</B> erupted again in spring.");
        box->SelectRuns(2, 3);
        ASSERT_EQ(CString(" erupted "), box->GetSelectionText());
        ui::PumpUntilIdle();
    }

    CPoint RunPoint(int nRun) const
    {
        CRect cell = box->GetLayout().Runs()[size_t(nRun)].rectCell;
        CPoint pt(cell.CenterPoint().x, box->GetLineHeight() / 2);
        box->ClientToScreen(&pt);
        return pt;
    }

    void DragSelectionTo(CPoint target)
    {
        CPoint from = RunPoint(3);
        host::MouseMove(from.x, from.y);
        host::MouseDown();
        host::MouseMove(target.x, target.y);
        host::MouseUp();
        ui::PumpUntilIdle();
    }

    std::unique_ptr<CMiniArtThumb> box;
};

// The word the dictionary pane was handed: still waiting for its look-up, or looked up.
CString WordTaken(CDictionaryTabWin* pane)
{
    return pane->GetHandedOverWord().IsEmpty() ? pane->GetCurrentWord() : pane->GetHandedOverWord();
}

TEST_F(PaneDropTest, DropOnTheSearchPaneSearchesForTheWords)
{
    MakeBoxWithSelection();
    frame->SendMessage(VLM_SHOW_SEARCH_PANE);
    CSearchTabWin* pane = frame->GetSearchTabWin();
    ASSERT_TRUE(pane->IsWindowVisible());
    CRect rect;
    pane->GetWindowRect(&rect);
    DragSelectionTo(rect.CenterPoint());
    EXPECT_EQ(CString("erupted"), pane->GetTopicField().GetEditText()) << "the topic field shows the query";
    EXPECT_TRUE(WordTaken(frame->GetDictionaryTabWin()).IsEmpty());
}

TEST_F(PaneDropTest, DropOnTheDictionaryPaneAndDoubleClickLookUp)
{
    MakeBoxWithSelection();
    frame->SendMessage(WM_COMMAND, ID_SHOW_DICTIONARY);
    CDictionaryTabWin* pane = frame->GetDictionaryTabWin();
    ASSERT_TRUE(pane->IsWindowVisible());
    CRect rect;
    pane->GetWindowRect(&rect);
    DragSelectionTo(rect.CenterPoint());
    EXPECT_EQ(CString(" erupted "), WordTaken(pane));
    EXPECT_TRUE(frame->GetSearchTabWin()->GetTopicField().GetEditText().IsEmpty());

    // A double click on a word opens the hidden pane at the word.
    pane->ShowWindow(SW_HIDE);
    CPoint volcano = RunPoint(1);
    host::Click(volcano.x, volcano.y);
    host::Click(volcano.x, volcano.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(CString("volcano"), WordTaken(pane));
    EXPECT_TRUE(pane->IsWindowVisible());
}

TEST_F(PaneDropTest, DropBesideThePanesSendsNothing)
{
    MakeBoxWithSelection();
    DragSelectionTo(CPoint(900, 200));
    EXPECT_TRUE(frame->GetSearchTabWin()->GetTopicField().GetEditText().IsEmpty());
    EXPECT_TRUE(WordTaken(frame->GetDictionaryTabWin()).IsEmpty());
    EXPECT_FALSE(frame->GetSearchTabWin()->IsWindowVisible());
}

}  // namespace
