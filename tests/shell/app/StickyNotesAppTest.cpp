// Sticky notes in the running program: a note placed in the article, table or media view and then
// deleted from Tools > Sticky List is let go by the view's own note window at once, so that the
// view's icon, a new note and the program's exit never reach the deleted note (the sanitizer
// build catches any touch of it).
#include "AppTestSupport.h"

#include "article/ArticleMainWin.h"
#include "article/ArticlePageWin.h"
#include "article/MediaFilmStrip.h"
#include "article/TableMainWin.h"
#include "base/Reference.h"
#include "base/StickyRecordSet.h"
#include "media/MediaResourceMainWin.h"
#include "media/StickyNoteDlg.h"

#include <DialogDriver.h>

namespace apptest {
namespace {

class StickyNotesAppTest : public AppTest {
protected:
    CTableMainWin* Table() { return DYNAMIC_DOWNCAST(CTableMainWin, Frame()->GetDlgItem(IDW_TABLE)); }
    CMediaResourceMainWin* Media() { return DYNAMIC_DOWNCAST(CMediaResourceMainWin, Frame()->GetDlgItem(IDW_MEDIA)); }

    static int NoteCount()
    {
        CStickyRecordSet* notes = GetAppStickyNotes();
        return notes != nullptr ? static_cast<int>(notes->GetSize()) : -1;
    }

    // Sends the view its sticky-note request and, in the note dialog that comes up, clicks the
    // button (Place keeps the new note, Cancel drops it).
    void NoteDialog(CWnd* view, int button)
    {
        bool ran = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ran = true;
            ui::dialog::Pump(dlg);
            ui::dialog::Click(dlg, button);
        });
        view->SendMessage(VLM_STICKY_NOTE, static_cast<WPARAM>(-1), 0);
        ui::PumpUntilIdle();
        EXPECT_TRUE(ran) << "the note dialog came up";
    }

    // Tools > Sticky List: the only note's row deleted.
    void DeleteFromStickyList(const char* shot)
    {
        bool ran = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ran = true;
            ui::dialog::Pump(dlg);
            ASSERT_EQ(1, SendDlgItemMessageA(dlg, IDC_SN_NOTELIST, LB_GETCOUNT, 0, 0));
            ui::dialog::Screenshot(dlg, shot);
            ui::dialog::ClickItem(dlg, IDC_SN_NOTELIST, 0);
            ui::dialog::Click(dlg, IDC_SN_DELETE);
        });
        Frame()->SendMessage(WM_COMMAND, ID_STICKY_LIST);
        ui::PumpUntilIdle();
        EXPECT_TRUE(ran) << "the list came up";
        EXPECT_EQ(0, NoteCount());
    }
};

TEST_F(StickyNotesAppTest, ANoteDeletedFromTheStickyListIsLetGoByEveryView)
{
    CArticleMainWin* article = StartWithArticle(1002, "Volcano", true);
    ASSERT_NE(nullptr, article);
    ASSERT_EQ(0, NoteCount());

    // The article: a note placed shows its icon on the page; deleted from the list, the icon goes.
    CArticlePageWin* page = article->GetPageWin();
    NoteDialog(article, IDC_SN_PLACE);
    ASSERT_EQ(1, NoteCount());
    EXPECT_EQ(1, page->GetStickyNoteCount());
    DeleteFromStickyList("sticky-list-article-note.png");
    EXPECT_EQ(0, page->GetStickyNoteCount()) << "the page's icon went with the note";
    // The page's note window takes a new note without the old one (and drops it on Cancel).
    NoteDialog(article, IDC_SN_CANCEL);
    EXPECT_EQ(0, NoteCount());
    ui::dialog::Screenshot(Frame()->GetSafeHwnd(), "sticky-article-after-delete.png");

    // The table of great eruptions: its note window keeps its current note too.
    article->ShowTableOfArticle(0, 0);
    ui::PumpUntilIdle();
    CTableMainWin* table = Table();
    ASSERT_NE(nullptr, table);
    ASSERT_EQ(static_cast<CWnd*>(table), Frame()->GetCurrentMainWin());
    NoteDialog(table, IDC_SN_PLACE);
    ASSERT_EQ(1, NoteCount());
    DeleteFromStickyList("sticky-list-table-note.png");
    NoteDialog(table, IDC_SN_CANCEL);
    EXPECT_EQ(0, NoteCount());

    // The lava picture in the media view.
    Frame()->SendMessage(WM_COMMAND, ID_GO_BACK);
    ui::PumpUntilIdle();
    ASSERT_EQ(static_cast<CWnd*>(article), Frame()->GetCurrentMainWin());
    ASSERT_NE(nullptr, article->GetFilmStrip());
    article->GetFilmStrip()->OpenMedia(0);
    ui::PumpUntilIdle();
    CMediaResourceMainWin* media = Media();
    ASSERT_NE(nullptr, media);
    ASSERT_EQ(static_cast<CWnd*>(media), Frame()->GetCurrentMainWin());
    NoteDialog(media, IDC_SN_PLACE);
    ASSERT_EQ(1, NoteCount());
    DeleteFromStickyList("sticky-list-media-note.png");
    NoteDialog(media, IDC_SN_CANCEL);
    EXPECT_EQ(0, NoteCount());
    // The exit deletes every note window: none may reach the deleted notes.
}

}  // namespace
}  // namespace apptest
