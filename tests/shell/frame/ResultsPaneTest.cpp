// The result list in the frame's search pane: a result list built from references is shown in
// the real frame at 1024 x 768, its first article selected; a double-clicked result travels to
// its view through the frame; the frame's print and has-results messages reach the list.
#include "FrameTestSupport.h"

#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/ResourceLibrary.h"
#include "base/TPReference.h"

#include <DialogDriver.h>
#include <MessageSpy.h>

#include <host/Display.h>
#include <host/Input.h>
#include <host/Paths.h>
#include <host/Printer.h>
#include <host/UiScript.h>

using namespace frametest;

namespace {

CReference* Ref(LONG code, LONG kind, const char* title, LONG number = 0)
{
    auto* p = new CReference(number, title);
    p->SetNumber(number);  // no search engine here to place it
    p->SetKind(kind);
    p->SetEntryCode(code);
    return p;
}

CReferenceList* MoonResults()
{
    auto* list = new CReferenceList;
    list->Append(Ref(0, 0, "Moon"));
    list->Append(Ref(3, REFKIND_PICTURE, "Full moon over the sea", 6000001));
    list->Append(Ref(3, REFKIND_ARTICLE, "Moon", 1001));
    list->Append(Ref(3, REFKIND_ARTICLE, "Moon landings: the first steps of people on another world", 1002));
    list->Append(Ref(3, REFKIND_VIDEO, "Launch of a moon rocket", 4020001));
    list->Append(Ref(3, REFKIND_MAP, "Near side of the Moon", 5000001));
    list->Append(Ref(0, 0, "Planets and their moons"));
    list->Append(Ref(3, REFKIND_ARTICLE, "Jupiter", 1003));
    list->Append(Ref(3, REFKIND_SOUND, "Voices from the Moon", 3000001));
    list->Append(Ref(0, 0, "Tides"));
    list->Append(Ref(3, REFKIND_ARTICLE, "Tide", 1004));
    auto* topic = new CTPReference;
    topic->SetTitle("Moon phases");
    topic->SetEntryCode(3);
    list->Append(topic);
    return list;
}

class ResultsPaneTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        host::SetDisplaySize(1024, 768);
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(LoadAppPalettes());
    }
    // The frame with the article view current and the search pane shown over it.
    CSearchTabWin* OpenPane()
    {
        MakeFrame();
        EXPECT_TRUE(frame->ShowMainWindow(IDW_ARTICLE, FALSE));
        frame->SendMessage(VLM_SHOW_SEARCH_PANE);
        ui::PumpUntilIdle();
        auto* pane = static_cast<CSearchTabWin*>(frame->GetSearchTabWin());
        EXPECT_TRUE(pane->IsWindowVisible());
        return pane;
    }
};

TEST_F(ResultsPaneTest, AFilledResultListInTheFrame)
{
    CSearchTabWin* pane = OpenPane();
    CReferenceList* results = MoonResults();
    pane->ShowResults(results);
    CReference* first = pane->GetResultList().SelectFirstArticle();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(results->GetAtIndex(2), first) << "the first article hit";
    ui::PumpUntilIdle();

    CVLRefListBox& list = pane->GetResultList();
    // The first heading opened for its article; the others closed.
    ASSERT_EQ(8, list.GetCount());
    EXPECT_EQ(CString("Moon"), list.GetItemText(list.GetCurrentItemId()));
    EXPECT_EQ(2, list.GetCurSel());
    CRect pane_rect, list_rect;
    pane->GetClientRect(&pane_rect);
    list.GetWindowRect(&list_rect);
    pane->ScreenToClient(&list_rect);
    EXPECT_EQ(pane_rect.bottom - 6, list_rect.bottom) << "the list fills the pane below its fields";
    EXPECT_EQ(6, list_rect.left);
    EXPECT_EQ(pane_rect.right - 6, list_rect.right);

    // The frame at 1024 x 768 with the list: headings bold with their book, hits with their
    // kind's icon, the selected article in white on black.
    CRect frameRect;
    frame->GetWindowRect(&frameRect);
    frame->MoveWindow(0, 0, 1024, 768);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(frame->GetSafeHwnd(), "frame_results_list.png");
    CRect row;
    list.GetItemRect(2, &row);
    list.ClientToScreen(&row);
    EXPECT_EQ(RGB(0, 0, 0), host::DesktopPixel(row.right - 3, row.top + 1)) << "the selected row";
    list.GetItemRect(3, &row);
    list.ClientToScreen(&row);
    EXPECT_EQ(RGB(255, 255, 255), host::DesktopPixel(row.right - 3, row.top + 1));
    // The picture hit's icon is drawn at the row's left (one indent in).
    list.GetItemRect(1, &row);
    list.ClientToScreen(&row);
    int coloured = 0;
    for (int y = row.top + 1; y < row.top + 17; ++y)
        for (int x = row.left + 18; x < row.left + 34; ++x)
            coloured += host::DesktopPixel(x, y) != RGB(255, 255, 255);
    EXPECT_GT(coloured, 60) << "the kind icon";
}

TEST_F(ResultsPaneTest, ADoubleClickedResultOpensInItsViewAndPrintReachesTheList)
{
    CSearchTabWin* pane = OpenPane();
    CReferenceList* results = MoonResults();
    pane->ShowResults(results);
    pane->GetResultList().SelectFirstArticle();
    ui::PumpUntilIdle();
    CVLRefListBox& list = pane->GetResultList();

    spy::MessageSpy spy;
    spy.Watch(View(IDW_ARTICLE)->GetSafeHwnd());
    CRect row;
    list.GetItemRect(3, &row);  // "Moon landings"
    CPoint p(row.left + 60, row.top + 5);
    list.ClientToScreen(&p);
    ui::AdvanceClock(1000);
    // The fixture's data folder has no archive: the view reports that it cannot read the article.
    host::AnswerMessageBox("Unable to access article file", IDOK);
    host::Click(p.x, p.y);
    host::Click(p.x, p.y);
    ui::PumpUntilIdle();
    bool opened = false;
    for (const spy::Recorded& r : spy.Log())
        opened |= r.message == VLM_OPEN_FOUND_ITEM && r.wParam == IDW_ARTICLE;
    EXPECT_TRUE(opened) << "the article view was sent the result";

    // The frame's questions: there is something to print; printing writes the word search job.
    EXPECT_TRUE(pane->SendMessage(VLM_HAS_RESULTS));
    TempDir printDir;
    host::SetPrintFolder(printDir.str());
    host::ClearPrintedJobs();
    pane->SetMode(new CString("moon"), 1);
    host::AnswerCommonDialog("print", "");
    pane->SendMessage(VLM_PRINT_RESULTS);
    std::vector<host::PrintedJob> jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Veltra Multimedia Encyclopedia Word Search", jobs[0].docName);
    host::ClearPrintedJobs();
    host::SetPrintFolder("");

    pane->ShowResults(nullptr);
    EXPECT_FALSE(pane->SendMessage(VLM_HAS_RESULTS));
}

}  // namespace
