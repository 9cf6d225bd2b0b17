// The search pane in the running program on the sample disc: a reader types a topic, sees the
// matching articles and reads the first; switches to the word search with the mouse,
// double-clicks another result and searches again with the Search button.
#include "AppTestSupport.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMainWin.h"
#include "base/Reference.h"
#include "search/SearchTabWin.h"

#include <DialogDriver.h>

#include <host/Input.h>

#include <vector>

namespace apptest {
namespace {

class SearchPaneAppTest : public AppTest {
protected:
    CArticleMainWin* View() { return DYNAMIC_DOWNCAST(CArticleMainWin, Frame()->GetDlgItem(IDW_ARTICLE)); }

    void ClickAt(CWnd& wnd, CPoint p, bool twice = false)
    {
        ui::AdvanceClock(1000);
        wnd.ClientToScreen(&p);
        host::Click(p.x, p.y);
        if (twice)
            host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }
    void ClickMiddle(CWnd& wnd)
    {
        CRect r;
        wnd.GetClientRect(&r);
        ClickAt(wnd, r.CenterPoint());
    }
};

TEST_F(SearchPaneAppTest, AReaderTypesATopicAndReadsTheArticlesFound)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, Frame());
    CSearchTabWin* pane = Frame()->GetSearchTabWin();
    ASSERT_NE(nullptr, pane);
    ASSERT_TRUE(pane->IsWindowVisible());
    CArticleMainWin* view = View();
    ASSERT_NE(nullptr, view);

    // Typed into the topic field, Enter: the heading and its entries, the article shown.
    CEdit& topic = pane->GetTopicField().GetEdit();
    ClickMiddle(topic);
    host::TypeText("volcano");
    host::PressKey(VK_RETURN);
    ui::PumpUntilIdle();
    CVLRefListBox& list = pane->GetResultList();
    ASSERT_GE(list.GetCount(), 2);
    EXPECT_EQ(CString("Volcano"), list.GetItemText(list.GetItemIdAt(0)));
    ASSERT_EQ(1002, view->GetArticleRin()) << "the first article hit is open";
    EXPECT_STREQ("Volcano", view->GetDocument()->GetTitle());
    Frame()->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "search-pane-running.png");

    // The word search, reached with the mouse: the topic goes along and is searched as a word.
    CWnd* modeButton = pane->GetDlgItem(IDC_SEARCH_WORD_MODE);
    ASSERT_NE(nullptr, modeButton);
    ClickMiddle(*modeButton);
    ASSERT_TRUE(pane->IsWordMode());
    EXPECT_EQ(CString("volcano"), pane->GetLastQuery(TRUE)) << "the topic went along";

    // A word that several articles hold, typed, Enter: the first opens; a double click on
    // another opens that one.
    ClickMiddle(pane->GetWordField(0));
    host::PressKey(VK_END);
    for (int i = 0; i < 7; ++i)
        host::PressKey(VK_BACK);
    host::TypeText("water");
    host::PressKey(VK_RETURN);
    ui::PumpUntilIdle();
    EXPECT_EQ(CString("water"), pane->GetLastQuery(TRUE));
    const LONG firstRin = view->GetArticleRin();
    int other = -1;
    for (int i = 0; i < list.GetCount() && other < 0; ++i) {
        auto* r = reinterpret_cast<CReference*>(list.GetItemValue(list.GetItemIdAt(i)));
        if (r != nullptr && r->GetKind() == REFKIND_ARTICLE && r->GetNumber() != 0 && r->GetNumber() != firstRin)
            other = i;
    }
    ASSERT_GE(other, 0) << "another article holds the word";
    const LONG otherRin = reinterpret_cast<CReference*>(list.GetItemValue(list.GetItemIdAt(other)))->GetNumber();
    CRect row;
    list.GetItemRect(other, &row);
    ClickAt(list, CPoint(row.left + 60, row.top + 5), true);
    EXPECT_EQ(otherRin, view->GetArticleRin());

    // Another word typed, the Search button: its article.
    ClickMiddle(pane->GetWordField(0));
    host::PressKey(VK_END);
    for (int i = 0; i < 5; ++i)
        host::PressKey(VK_BACK);
    host::TypeText("jazz");
    ClickMiddle(*pane->GetDlgItem(IDC_SEARCH_GO));
    EXPECT_EQ(CString("jazz"), pane->GetLastQuery(TRUE));
    EXPECT_EQ(1004, view->GetArticleRin());
    EXPECT_STREQ("Jazz", view->GetDocument()->GetTitle());

    // Esc closes the pane; the toolbar's button is released.
    pane->GetWordField(0).SetFocus();
    host::PressKey(VK_ESCAPE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pane->IsWindowVisible());
}

// A misspelt word: the spelling pop-up over the result list offers the right one, Go searches
// with it, and the result list is drawn afterwards as it is drawn anew (not left greyed by the
// pop-up's time over the frame).
TEST_F(SearchPaneAppTest, TheResultListIsDrawnWholeAfterTheSpellingPopUp)
{
    ASSERT_TRUE(Start(kSearchTopicsRow));
    ui::PumpUntilIdle();
    CSearchTabWin* pane = Frame()->GetSearchTabWin();
    ASSERT_NE(nullptr, pane);
    CWnd* modeButton = pane->GetDlgItem(IDC_SEARCH_WORD_MODE);
    ASSERT_NE(nullptr, modeButton);
    ClickMiddle(*modeButton);
    ASSERT_TRUE(pane->IsWordMode());
    ClickMiddle(pane->GetWordField(0));
    host::PressKey(VK_END);
    for (int i = 0; i < 20; ++i)
        host::PressKey(VK_BACK);
    host::TypeText("photosinthesis");
    bool asked = false;
    host::RunInNextModalLoop([&](HWND dlg) {
        asked = true;
        ui::dialog::Pump(dlg);
        ui::dialog::Screenshot(dlg, "search-spelling-popup.png");
        ui::dialog::Click(dlg, IDOK);
    });
    ClickMiddle(*pane->GetDlgItem(IDC_SEARCH_GO));
    ui::PumpUntilIdle();
    ASSERT_TRUE(asked) << "the spelling pop-up came up";
    CString query = pane->GetLastQuery(TRUE);
    query.MakeUpper();
    EXPECT_EQ(CString("PHOTOSYNTHESIS"), query);
    CVLRefListBox& list = pane->GetResultList();
    ASSERT_GE(list.GetCount(), 1);
    EXPECT_TRUE(list.IsWindowEnabled());
    EXPECT_TRUE(Frame()->IsWindowEnabled());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "search-after-spelling.png");
    // Every pixel of the list as shown equals the list drawn anew.
    CRect client;
    list.GetClientRect(&client);
    std::vector<COLORREF> shown;
    {
        CClientDC dc(&list);
        for (int y = 2; y < client.bottom; y += 7)
            for (int x = 2; x < client.right; x += 7)
                shown.push_back(dc.GetPixel(x, y));
    }
    list.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_FRAME | RDW_ALLCHILDREN);
    ui::PumpUntilIdle();
    std::vector<COLORREF> anew;
    {
        CClientDC dc(&list);
        for (int y = 2; y < client.bottom; y += 7)
            for (int x = 2; x < client.right; x += 7)
                anew.push_back(dc.GetPixel(x, y));
    }
    EXPECT_TRUE(shown == anew) << "the list was left as the pop-up's time drew it";
}

}  // namespace
}  // namespace apptest
