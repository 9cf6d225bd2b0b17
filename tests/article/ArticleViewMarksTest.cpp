// What the article view does with the frame's and the Tool Kit's highlight and sticky-note
// requests: they reach the page, the note only over a disc article.
#include "ArticleViewTestSupport.h"

#include "article/ArticlePageWin.h"
#include "base/HiliteRecordSet.h"
#include "base/StickyRecordSet.h"
#include "media/StickyNoteDlg.h"

#include <DialogDriver.h>

namespace article_test {
namespace {

TEST_F(ArticleViewTest, HighlightAndNoteRequestsReachThePage)
{
    AppServices().owned.pStickyNotes = new CStickyRecordSet;
    MakeView();
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    ASSERT_EQ(1001, view->GetArticleRin());
    CArticlePageWin* page = view->GetPageWin();
    CHiliteRecordSet* store = page->GetHighlightStore();
    const DWORD issue = static_cast<DWORD>(view->GetDocument()->GetIssueDate());
    auto mark = [&](LONG rin) {
        store->GetSpanList(rin);
        ASSERT_TRUE(store->AddHilite(rin, 0, 0, 3, issue));
    };

    EXPECT_FALSE(view->HasHighlights());
    mark(1001);
    mark(1002);
    EXPECT_TRUE(view->HasHighlights()) << "the frame's Clear Article Highlights state";
    view->SendMessage(VLM_CLEAR_HIGHLIGHTS);
    EXPECT_FALSE(view->HasHighlights());
    EXPECT_EQ(1u, store->GetSpanList(1002)->GetCount()) << "another article's marks stay";
    mark(1001);
    view->SendMessage(VLM_CLEAR_ALL_HIGHLIGHTS);
    EXPECT_FALSE(view->HasHighlights());
    EXPECT_EQ(0u, store->GetSpanList(1002)->GetCount());

    view->SendMessage(VLM_HIGHLIGHTER, static_cast<WPARAM>(-1), 0);
    EXPECT_TRUE(page->IsHighlighterOn());

    // The Tool Kit's Sticky Note: a new note for the article, the highlighter off first.
    bool asked = false;
    host::RunInNextModalLoop([&](HWND dlg) {
        asked = true;
        ui::dialog::Pump(dlg);
        EXPECT_EQ("Aviation", ui::dialog::Text(dlg, IDC_SN_TITLE));
        ui::dialog::Click(dlg, IDC_SN_CANCEL);
    });
    view->SendMessage(VLM_STICKY_NOTE, static_cast<WPARAM>(-1), 0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(asked);
    EXPECT_FALSE(page->IsHighlighterOn());
    EXPECT_EQ(0, AppServices().owned.pStickyNotes->GetSize()) << "cancelled";

    // An online article takes no notes: no dialog runs (one would fail the test).
    auto* online = Article(Plain(10000123, "Update"), "u.rcv");
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(online));
    ui::PumpUntilIdle();
    ASSERT_EQ(10000123, view->GetArticleRin());
    view->SendMessage(VLM_STICKY_NOTE, static_cast<WPARAM>(-1), 0);
    ui::PumpUntilIdle();

    view->DestroyWindow();
    delete AppServices().owned.pStickyNotes;
    AppServices().owned.pStickyNotes = nullptr;
}

}  // namespace
}  // namespace article_test
