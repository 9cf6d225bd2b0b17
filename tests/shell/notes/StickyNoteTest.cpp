// The sticky-note window of a view and its dialog, over a running frame: placing, cancelling,
// editing, moving and deleting notes (each saved at once), the notes of an item in position
// order, and the list of every note (the frame's Sticky List command) opening the item a note
// belongs to in the view of its kind.
#include "../frame/FrameTestSupport.h"

#include "base/HitList.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/ResourceLibrary.h"
#include "base/StickyRecordSet.h"
#include "base/VLMainWin.h"
#include "media/MediaDisplayRef.h"
#include "media/StickyNoteDlg.h"
#include "media/StickyNoteWnd.h"
#include "search/SearchEngine.h"
#include "widgets/VLListWindow.h"

#include <RomLinkWriter.h>
#include <UserDataFileWriter.h>

#include <DialogDriver.h>

#include <host/Paths.h>
#include <host/Input.h>
#include <host/UiScript.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>

using namespace frametest;

namespace {

const LONG kArticle = 12345;
const LONG kMap = 3000732;
const LONG kVideo = 4020019;
const LONG kPicture = 1012345;
const LONG kNoFile = 4030002;  // an item without a file of its own: nothing shows it

// What a parent or a view was sent: the message, wParam, and the positions or the reference.
struct Received {
    UINT message;
    WPARAM wParam;
    std::vector<std::array<WORD, 4>> positions;  // VLM_STICKY_PRESENT's blocks
    LONG number = 0;                             // the carried reference's
    LONG kind = 0;
    int hits = 0;
    UINT section = 0, offset = 0;
};

// The view the note window belongs to: it keeps what the window tells it and frees the blocks.
class NoteView : public CWnd {
public:
    std::vector<Received> received;

protected:
    afx_msg LRESULT OnPresent(WPARAM wParam, LPARAM lParam)
    {
        Received r{VLM_STICKY_PRESENT, wParam, {}};
        auto* blocks = reinterpret_cast<WORD*>(lParam);
        for (WPARAM i = 0; blocks != nullptr && i < wParam; ++i)
            r.positions.push_back({blocks[4 * i], blocks[4 * i + 1], blocks[4 * i + 2], blocks[4 * i + 3]});
        delete[] blocks;
        received.push_back(r);
        return 0;
    }
    afx_msg LRESULT OnDeleted(WPARAM wParam, LPARAM lParam)
    {
        Received r{VLM_STICKY_DELETED, wParam, {}};
        r.number = static_cast<LONG>(lParam);
        received.push_back(r);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(NoteView, CWnd)
    ON_MESSAGE(VLM_STICKY_PRESENT, OnPresent)
    ON_MESSAGE(VLM_STICKY_DELETED, OnDeleted)
END_MESSAGE_MAP()

// A main view of the frame that keeps the references it is sent and deletes them.
class OpeningView : public CVLMainWin {
public:
    void OnFilePrint() override {}
    std::vector<Received> opened;

protected:
    afx_msg LRESULT OnOpen(WPARAM wParam, LPARAM lParam)
    {
        const MSG* msg = AfxGetCurrentMessage();
        auto* reference = reinterpret_cast<CReference*>(lParam);
        Received r{msg->message, wParam, {}};
        r.number = reference->GetNumber();
        r.kind = reference->GetKind();
        if (auto* hits = dynamic_cast<CHitList*>(reference->GetData())) {
            r.hits = hits->GetCount();
            r.section = hits->GetAt(0)->GetSection();
            r.offset = hits->GetAt(0)->GetOffset();
        }
        opened.push_back(r);
        delete reference;
        return 0;
    }
    // A media item comes as the media view's display state, which the view owns.
    afx_msg LRESULT OnPostToWindow(WPARAM wParam, LPARAM lParam)
    {
        auto* display = reinterpret_cast<CVLStateObj*>(lParam);
        auto* media = dynamic_cast<CMediaDisplayRef*>(display);
        Received r{AfxGetCurrentMessage()->message, wParam, {}};
        if (media != nullptr && media->GetReference() != nullptr) {
            r.number = media->GetReference()->GetNumber();
            r.kind = media->GetReference()->GetKind();
        }
        opened.push_back(r);
        delete display;
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(OpeningView, CVLMainWin)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpen)
    ON_MESSAGE(VLM_POST_TO_WINDOW, OnPostToWindow)
    ON_MESSAGE(VLM_OPEN_NOTED_ITEM, OnOpen)
END_MESSAGE_MAP()

class StickyNoteTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        SetProfile(VL_PRODUCT_SECTION, "SNL", "T:\\notes");
        std::filesystem::create_directories(dir.path() / "t" / "notes");
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(LoadAppPalettes());
        // Items of every kind the dialog opens.
        discbuilder::WriteRomLinkFile(dir.path() / "t" / "data",
                                      {{1, 0, 0, 0, 1, 10, 2},
                                       {kArticle, 3, 0, 0, 1, 40, 5},
                                       {kPicture, 1, 3, 1, 1, 50, 1},
                                       {2000461, 2, 3, 0, 1, 60, 1},
                                       {kMap, 4, 6, 1, 1, 70, 3},
                                       {4010010, 5, 1, 0, 1, 0, 1},
                                       {kVideo, 7, 2, 0, 1, 0, 1},
                                       {kNoFile, 0, 8, 0, 1, 0, 1},
                                       {4040006, 1, 7, 0, 1, 0, 1}});
        ASSERT_TRUE(engine.LoadTable());
        AppServices().owned.pSearchEngine = &engine;
        AppServices().owned.pReferenceFactory = &factory;
        MakeFrame();
        CRect rect(0, 60, 500, 420);
        ASSERT_TRUE(view.CreateEx(0, AfxRegisterWndClass(0), "view", WS_CHILD | WS_VISIBLE, rect, frame, 8020));
        // The frame's own views step aside (the article view is up from the start).
        for (UINT id : {IDW_ARTICLE, IDW_ATLAS, IDW_MEDIA})
            if (CWnd* own = View(id))
                own->SetDlgCtrlID(static_cast<int>(id) + 100);
        for (UINT id : {IDW_ARTICLE, IDW_ATLAS, IDW_MEDIA})
            ASSERT_TRUE(views[id].CreateView(nullptr, "opening", CRect(0, 0, 10, 10), frame, id));
    }
    void TearDown() override
    {
        notes.reset();
        DestroyFrame();
        delete AppServices().owned.pStickyNotes;
        AppServices().owned.pStickyNotes = nullptr;
        AppServices().owned.pSearchEngine = nullptr;
        AppServices().owned.pReferenceFactory = nullptr;
        FrameTest::TearDown();
    }
    // The set loaded from these notes (written with the builder), then the window over the view.
    void Start(const std::vector<discbuilder::StickyNoteEntry>& entries = {})
    {
        if (!entries.empty())
            dir.Write("t/notes/sticky.nte", discbuilder::MakeStickyNoteFile(entries));
        AppServices().owned.pStickyNotes = new CStickyRecordSet;
        notes = std::make_unique<CStickyNoteWnd>();
        ASSERT_TRUE(notes->Create(&view));
        ui::PumpUntilIdle();
    }
    CStickyRecordSet& Notes() { return *AppServices().owned.pStickyNotes; }
    std::string FileBytes() const
    {
        std::ifstream in(dir.path() / "t" / "notes" / "sticky.nte", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Sends the window a request with these steps inside the dialog it runs.
    void Request(UINT message, WPARAM wParam, LPARAM lParam, std::function<void(HWND)> steps)
    {
        bool ran = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ran = true;
            ui::dialog::Pump(dlg);
            steps(dlg);
            ui::dialog::Pump(dlg);
        });
        notes->SendMessage(message, wParam, lParam);
        EXPECT_TRUE(ran);
        ui::PumpUntilIdle();
    }
    // Focuses an edit of the dialog, selects its text and types over it.
    static void Type(HWND dlg, int id, const char* text)
    {
        HWND edit = GetDlgItem(dlg, id);
        SetFocus(edit);
        SendMessageA(edit, EM_SETSEL, 0, -1);
        ui::dialog::Pump(dlg);
        host::TypeText(text);
        ui::dialog::Pump(dlg);
    }
    static bool Shown(HWND dlg, int id) { return IsWindowVisible(GetDlgItem(dlg, id)) != FALSE; }
    static std::string Caption(HWND dlg)
    {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        return caption;
    }
    // The note list: the program's list window, one top-level item a note whose value is the note.
    static CVLListWindow* NoteList(HWND dlg)
    {
        auto* list = dynamic_cast<CVLListWindow*>(CWnd::FromHandlePermanent(GetDlgItem(dlg, IDC_SN_NOTELIST)));
        EXPECT_NE(nullptr, list) << "the note list is the tree-shaped list window";
        return list;
    }
    // The titles of the rows, top to bottom; each row's value is the note of that title.
    static std::vector<std::string> Titles(HWND dlg)
    {
        std::vector<std::string> titles;
        CVLListWindow* list = NoteList(dlg);
        for (int row = 0; list != nullptr && row < list->GetCount(); ++row) {
            HTREEITEM item = list->GetItemIdAt(row);
            auto* note = reinterpret_cast<CStickyNote*>(list->GetItemValue(item));
            titles.emplace_back(static_cast<LPCSTR>(list->GetItemText(item)));
            EXPECT_TRUE(note != nullptr && titles.back() == static_cast<LPCSTR>(note->m_strTitle)) << titles.back();
        }
        return titles;
    }
    static int Row(HWND dlg, const char* title)
    {
        std::vector<std::string> titles = Titles(dlg);
        auto found = std::find(titles.begin(), titles.end(), title);
        return found != titles.end() ? static_cast<int>(found - titles.begin()) : -1;
    }

    CSearchEngine engine;
    CReferenceFactory factory;
    NoteView view;
    std::map<UINT, OpeningView> views;
    std::unique_ptr<CStickyNoteWnd> notes;
};

using discbuilder::StickyNoteEntry;

TEST_F(StickyNoteTest, ANewNoteIsPlacedSavedAtOnceAndShownToTheView)
{
    Start();
    ASSERT_EQ(1u, view.received.size()) << "told at creation whether the item has a note";
    EXPECT_EQ(0u, view.received[0].wParam);
    view.received.clear();
    notes->ShowNotes("The Nile", kArticle);
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, view.received.size());
    EXPECT_EQ(0u, view.received[0].wParam) << "no notes yet";
    view.received.clear();

    WORD position[4] = {3, 2, 0, 140};
    Request(VLM_STICKY_DISPLAY, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(position), [&](HWND dlg) {
        EXPECT_EQ("STICKY NOTE", Caption(dlg));
        // 218 x 185 at the view's bottom-right corner.
        CRect r, over;
        GetWindowRect(dlg, &r);
        view.GetWindowRect(&over);
        EXPECT_EQ(CRect(over.right - 29 - 218, over.bottom - 31 - 185, over.right - 29, over.bottom - 31), r);
        for (int id : {IDC_SN_DELETE, IDC_SN_LIST, IDC_SN_PLACE, IDC_SN_CANCEL, IDC_SN_TITLE, IDC_SN_TEXT})
            EXPECT_TRUE(Shown(dlg, id)) << id;
        for (int id : {IDC_SN_DELETEALL, IDOK, IDC_SN_NOTELIST})
            EXPECT_FALSE(Shown(dlg, id)) << id;
        EXPECT_EQ("The Nile", ui::dialog::Text(dlg, IDC_SN_TITLE)) << "a new note takes the item's title";
        Type(dlg, IDC_SN_TEXT, "Longest river of Africa");
        ui::dialog::Screenshot(dlg, "sticky_note_dialog.png");
        ui::dialog::Click(dlg, IDC_SN_PLACE);
    });
    ASSERT_EQ(1, Notes().GetSize());
    EXPECT_STREQ("Longest river of Africa", Notes().GetNote(0)->m_strText);
    EXPECT_EQ(discbuilder::MakeStickyNoteFile({{"The Nile", "Longest river of Africa", "", kArticle, {3, 2, 0, 140}}}),
              FileBytes())
        << "saved at once, not only at exit";
    ASSERT_EQ(1u, view.received.size());
    EXPECT_EQ(1u, view.received[0].wParam);
    EXPECT_EQ((std::vector<std::array<WORD, 4>>{{3, 2, 0, 140}}), view.received[0].positions);
}

TEST_F(StickyNoteTest, CancellingOrListingANewNoteLeavesNoTrace)
{
    Start();
    notes->SelectNote("Maps of Peru", nullptr);
    for (int button : {IDC_SN_CANCEL, IDC_SN_LIST}) {
        Request(VLM_STICKY_DISPLAY, 0xFFFF, 0, [&](HWND dlg) {
            Type(dlg, IDC_SN_TEXT, "draft");
            ui::dialog::Click(dlg, button);
            if (button == IDC_SN_LIST) {
                EXPECT_EQ("STICKY LIST", Caption(dlg));
                EXPECT_TRUE(Titles(dlg).empty());
                ui::dialog::Click(dlg, IDC_SN_CANCEL);
            }
        });
        EXPECT_EQ(0, Notes().GetSize());
        EXPECT_EQ(nullptr, notes->GetCurrentNote());
    }
    EXPECT_EQ(std::string("\0\0", 2), FileBytes());
    // A request the window does not know.
    host::AnswerMessageBox("You should never get to this part of OnDisplayNote", IDOK);
    notes->SendMessage(VLM_STICKY_DISPLAY, 7, 0);
}

TEST_F(StickyNoteTest, AnItemsNotesComeInPositionOrderAndOpenEditAndMove)
{
    Start({{"third", "c", "", kArticle, {5, 0, 0, 9}},
           {"other item", "x", "", kMap, {0, 0, 0, 0}},
           {"first", "a", "", kArticle, {2, 7, 0, 1}},
           {"second", "b", "", kArticle, {2, 7, 1, 3}}});
    view.received.clear();
    notes->ShowNotes("The Nile", kArticle);
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, view.received.size());
    EXPECT_EQ(3u, view.received[0].wParam);
    EXPECT_EQ((std::vector<std::array<WORD, 4>>{{2, 7, 0, 1}, {2, 7, 1, 3}, {5, 0, 0, 9}}), view.received[0].positions);
    ASSERT_EQ(3, notes->GetWorkingCount());
    EXPECT_STREQ("second", notes->GetWorkingNote(1)->m_strTitle);
    // Out of range: nothing opens.
    notes->SendMessage(VLM_STICKY_OPEN, 3, 0);

    view.received.clear();
    Request(VLM_STICKY_OPEN, 1, 0, [&](HWND dlg) {
        EXPECT_EQ("second", ui::dialog::Text(dlg, IDC_SN_TITLE));
        EXPECT_EQ("b", ui::dialog::Text(dlg, IDC_SN_TEXT));
        Type(dlg, IDC_SN_TITLE, "Second note");
        ui::dialog::Click(dlg, IDC_SN_PLACE);
    });
    EXPECT_EQ(4, Notes().GetSize()) << "changed, not added";
    EXPECT_NE(std::string::npos, FileBytes().find("Second note"));

    // Moving a note saves it in its new place.
    WORD moved[4] = {9, 1, 0, 400};
    notes->SetNotePosition(0, moved);
    EXPECT_STREQ("first", notes->GetCurrentNote()->m_strTitle);
    CStickyRecordSet reread;
    CStickyNote* first = nullptr;
    for (INT_PTR i = 0; i < reread.GetSize(); ++i)
        if (reread.GetNote(i)->m_strTitle == "first")
            first = reread.GetNote(i);
    ASSERT_NE(nullptr, first);
    EXPECT_TRUE(first->IsAt(moved));
}

TEST_F(StickyNoteTest, DeletingTellsTheViewByTheItemsKind)
{
    Start({{"river", "a", "", kArticle, {1, 0, 0, 0}}, {"jaguar", "b", "", kPicture, {0, 0, 0, 0}},
           {"andes", "c", "", kMap, {0, 0, 0, 0}}});
    notes->ShowNotes("The Nile", kArticle);
    view.received.clear();
    // Note mode: the current note goes.
    Request(VLM_STICKY_OPEN, 0, 0, [&](HWND dlg) { ui::dialog::Click(dlg, IDC_SN_DELETE); });
    EXPECT_EQ(2, Notes().GetSize());
    ASSERT_FALSE(view.received.empty());
    EXPECT_EQ(UINT(VLM_STICKY_DELETED), view.received.back().message);
    EXPECT_EQ(kArticle, view.received.back().number);
    EXPECT_EQ(0, notes->GetWorkingCount()) << "the window lets go of the deleted note";
    EXPECT_EQ(nullptr, notes->GetCurrentNote());

    // List mode: the selected row's note; a picture's deletion says "no notes" to the view.
    view.received.clear();
    Request(VLM_STICKY_NEW, 0, 0, [&](HWND dlg) {
        ui::dialog::Click(dlg, IDC_SN_LIST);
        EXPECT_EQ((std::vector<std::string>{"andes", "jaguar"}), Titles(dlg));
        ui::dialog::ClickItem(dlg, IDC_SN_NOTELIST, Row(dlg, "jaguar"));
        ui::dialog::Click(dlg, IDC_SN_DELETE);
    });
    ASSERT_EQ(1, Notes().GetSize());
    EXPECT_STREQ("andes", Notes().GetNote(0)->m_strTitle);
    ASSERT_FALSE(view.received.empty());
    EXPECT_EQ(UINT(VLM_STICKY_PRESENT), view.received.back().message);
    EXPECT_EQ(0u, view.received.back().wParam);
    EXPECT_EQ(discbuilder::MakeStickyNoteFile({{"andes", "c", "", kMap, {0, 0, 0, 0}}}), FileBytes());

    Request(VLM_STICKY_NEW, 0, 0, [&](HWND dlg) {
        ui::dialog::Click(dlg, IDC_SN_LIST);
        ui::dialog::Click(dlg, IDC_SN_DELETEALL);
    });
    EXPECT_EQ(0, Notes().GetSize());
    EXPECT_EQ(std::string("\0\0", 2), FileBytes());
}

// The frame's Sticky List command: every note, sorted by title; Okay or a double click opens the
// chosen note's item in the view of its kind.
TEST_F(StickyNoteTest, TheListOpensEachNotesItemInItsView)
{
    Start({{"Rivers", "a", "", kArticle, {4, 1, 0, 250}},
           {"andes", "b", "", kMap, {0, 0, 0, 0}},
           {"Jaguar film", "c", "", kVideo, {0, 0, 0, 0}},
           {"lost", "d", "", kNoFile, {0, 0, 0, 0}}});
    auto list = [&](std::function<void(HWND)> steps) {
        bool ran = false;
        host::RunInNextModalLoop([&](HWND dlg) {
            ran = true;
            ui::dialog::Pump(dlg);
            steps(dlg);
            ui::dialog::Pump(dlg);
        });
        frame->SendMessage(WM_COMMAND, ID_STICKY_LIST, 0);
        EXPECT_TRUE(ran);
        ui::PumpUntilIdle();
    };
    list([&](HWND dlg) {
        EXPECT_EQ("STICKY LIST", Caption(dlg));
        EXPECT_EQ((std::vector<std::string>{"andes", "Jaguar film", "lost", "Rivers"}),
                  Titles(dlg));
        EXPECT_EQ(0, ui::dialog::Selected(dlg, IDC_SN_NOTELIST));
        for (int id : {IDC_SN_DELETE, IDC_SN_DELETEALL, IDOK, IDC_SN_CANCEL, IDC_SN_NOTELIST})
            EXPECT_TRUE(Shown(dlg, id)) << id;
        for (int id : {IDC_SN_PLACE, IDC_SN_LIST, IDC_SN_TITLE, IDC_SN_TEXT})
            EXPECT_FALSE(Shown(dlg, id)) << id;
        ui::dialog::Screenshot(dlg, "sticky_list_dialog.png");
        ui::dialog::ClickItem(dlg, IDC_SN_NOTELIST, Row(dlg, "Rivers"));
        EXPECT_EQ(Row(dlg, "Rivers"), ui::dialog::Selected(dlg, IDC_SN_NOTELIST));
        ui::dialog::ClickItem(dlg, IDC_SN_NOTELIST, Row(dlg, "Rivers"), true);
    });
    ASSERT_EQ(1u, views[IDW_ARTICLE].opened.size());
    const Received& article = views[IDW_ARTICLE].opened[0];
    EXPECT_EQ(UINT(VLM_OPEN_NOTED_ITEM), article.message);
    EXPECT_EQ(kArticle, article.number);
    EXPECT_EQ(1, article.hits) << "at the note's section and character";
    EXPECT_EQ(4u, article.section);
    EXPECT_EQ(250u, article.offset);

    for (const char* title : {"andes", "Jaguar film"}) {
        list([&](HWND dlg) {
            SendDlgItemMessageA(dlg, IDC_SN_NOTELIST, LB_SETCURSEL, static_cast<WPARAM>(Row(dlg, title)), 0);
            ui::dialog::Click(dlg, IDOK);
        });
    }
    ASSERT_EQ(1u, views[IDW_ATLAS].opened.size());
    EXPECT_EQ(kMap, views[IDW_ATLAS].opened[0].number);
    ASSERT_EQ(1u, views[IDW_MEDIA].opened.size());
    EXPECT_EQ(kVideo, views[IDW_MEDIA].opened[0].number);
    EXPECT_EQ(REFKIND_VIDEO, views[IDW_MEDIA].opened[0].kind);
    EXPECT_EQ(UINT(VLM_POST_TO_WINDOW), views[IDW_MEDIA].opened[0].message) << "as the media view's display state";

    // A note of an item that is nothing the program can show.
    host::AnswerMessageBox("Bad Media Type in Topic ", IDOK);
    list([&](HWND dlg) {
        SendDlgItemMessageA(dlg, IDC_SN_NOTELIST, LB_SETCURSEL, static_cast<WPARAM>(Row(dlg, "lost")), 0);
        ui::dialog::Click(dlg, IDOK);
    });
    ASSERT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ("Bad Media Type in Topic vl:4030002", host::MessageBoxLog()[0].text);
    EXPECT_EQ(4, Notes().GetSize()) << "listing and opening change no note";
}

}  // namespace
