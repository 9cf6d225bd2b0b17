// The media view: its welcome state, a picture taken with a media display reference (the history
// gets a copy, the list tab the media list), the data locations by kind, disabled videos and
// sounds, and its face at the three screen classes.
#include "MediaTestSupport.h"

#include "base/ReferenceList.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"
#include "media/GrfPictureWin.h"
#include "media/MediaDisplayRef.h"
#include "media/MediaListTabWin.h"
#include "media/MediaOverlayWin.h"
#include "media/MediaResourceMainWin.h"
#include "media/MediaSlidingSelector.h"
#include "widgets/RollOverButton.h"

#include <DialogDriver.h>
#include <RomLinkWriter.h>

#include <host/Desktop.h>
#include <host/Paths.h>

#include <memory>
#include <vector>

using namespace media_test;

namespace {

// The frame as the view sees it: it answers the view's open request by handing the reference to
// the view (as the main frame does after resolving the disc) and keeps the history's states.
class CTestFrame : public CWnd {
public:
    CWnd* view = nullptr;
    std::vector<std::unique_ptr<CVLStateObj>> pushed;
    std::vector<WPARAM> pushModes;

protected:
    afx_msg LRESULT OnOpen(WPARAM wParam, LPARAM lParam)
    {
        return view != nullptr ? view->SendMessage(VLM_OPEN_WINDOW, wParam, lParam) : 0;
    }
    afx_msg LRESULT OnPush(WPARAM wParam, LPARAM lParam)
    {
        if (lParam != 0) {
            pushed.emplace_back(reinterpret_cast<CVLStateObj*>(lParam));
            pushModes.push_back(wParam);
        }
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CTestFrame, CWnd)
    ON_MESSAGE(VLM_OPEN_WINDOW, OnOpen)
    ON_MESSAGE(VLM_PUSH_STATE, OnPush)
END_MESSAGE_MAP()

class MediaViewTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        // The pictures: a rich one (overlays, a long caption) and a plain one.
        GrfRecordSource rich = RichPicture();
        rich.fullGif = TestGif(400, 300);
        rich.caption = std::string("Lava \x81" "flows\x80 down the flank of the volcano at night, lighting the clouds of "
                                   "ash and steam above the crater.\r\rThe second paragraph tells of the town below "
                                   "and the roads that lead away from it.");
        GrfRecordSource plain = RichPicture();
        plain.title = "Leaves against the sun";
        plain.named.clear();
        plain.lists.clear();
        plain.caption = "Leaves.";
        plain.itemNumber = 0;  // belongs to no article
        plain.fullGif = TestGif(300, 200, 3);
        blocks = WriteArchive({WriteGrfRecord(rich), WriteGrfRecord(plain)});
    }
    void TearDown() override
    {
        DestroyView();
        MediaTest::TearDown();
    }
    void LoadLibraryOfClass(int nClass)
    {
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res" + std::to_string(nClass) + ".dll");
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }
    void MakeView(int nClass = 1, int width = 800, int height = 600)
    {
        host::SetDesktopSize(width, height);
        AppServices().env.nScreenClass = nClass;
        AppServices().env.nScreenWidth = width;
        AppServices().env.nScreenHeight = height;
        LoadLibraryOfClass(nClass);
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0, NULL, static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                   "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, width, height), nullptr, 0));
        view = new CMediaResourceMainWin;
        frame.view = view;
        ASSERT_TRUE(view->Create(&frame, CRect(0, 50, width, height)));
        view->ShowWindow(SW_SHOW);
        AppServices().ui.pCurrentView = view;
        ui::PumpUntilIdle();
    }
    void DestroyView()
    {
        AppServices().ui.pCurrentView = NULL;
        if (view != nullptr) {
            view->DestroyWindow();
            delete view;
            view = nullptr;
        }
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        frame.pushed.clear();
        if (AppServices().env.hResourceLibrary != NULL) {
            ::FreeLibrary(AppServices().env.hResourceLibrary);
            AppServices().env.hResourceLibrary = NULL;
        }
    }
    CReference* Picture(int n)
    {
        CReference* pRef = PlacedReference(1001001 + n, REFKIND_PICTURE, 1, blocks[size_t(n)]);
        pRef->SetTitle(n == 0 ? "Mount Veltra erupting" : "Leaves against the sun");
        return pRef;
    }
    // A state for picture n with a media list of both pictures and an article.
    CMediaDisplayRef* State(int n, LONG nCaller = 0)
    {
        std::unique_ptr<CReference> item(Picture(n));
        CReferenceList list;
        list.Append(Picture(0));
        list.Append(Picture(1));
        list.Append(PlacedReference(1002, REFKIND_ARTICLE, 1, 0));
        return new CMediaDisplayRef(item.get(), &list, nCaller);
    }

    std::vector<LONG> blocks;
    CTestFrame frame;
    CMediaResourceMainWin* view = nullptr;
};

TEST_F(MediaViewTest, AStateIsShownKeptAndCopiedToTheHistory)
{
    MakeView();
    EXPECT_EQ(mediaNone, view->GetDisplayKind());
    // The welcome: the list tab shows ALL MEDIA and the Browse Media button is latched.
    view->SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, 0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(view->IsFirstView());
    EXPECT_TRUE(view->GetListTab()->IsWindowVisible());
    EXPECT_TRUE(view->GetListTab()->IsAllMediaChecked());
    EXPECT_TRUE(view->GetButton(MR_ID_BROWSE)->IsAlternate());

    CMediaDisplayRef* state = State(0);
    EXPECT_EQ(1, view->SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(state)));
    ui::PumpUntilIdle();
    EXPECT_EQ(mediaPicture, view->GetDisplayKind());
    EXPECT_EQ(state, view->GetDisplayRef()) << "the view keeps the state it was given";
    EXPECT_STREQ("Mount Veltra erupting", view->GetTitle());
    EXPECT_STREQ("Mount Veltra erupting", state->m_strTitle);
    ASSERT_NE(nullptr, view->GetPictureWin());
    EXPECT_TRUE(view->GetPictureWin()->IsWindowVisible());
    ASSERT_EQ(1u, frame.pushed.size());
    EXPECT_NE(static_cast<CVLStateObj*>(state), frame.pushed[0].get()) << "the history has a copy of its own";
    EXPECT_EQ(IDW_MEDIA, int(frame.pushed[0]->m_nWindowID));
    EXPECT_EQ(0, state->GetCallerValue());
    ASSERT_NE(nullptr, view->GetListTab()->GetCurrentList());
    EXPECT_EQ(2, view->GetListTab()->GetCurrentList()->GetCount()) << "the list's media items";
    // The overlays of the picture are offered; the caption is long enough for its panel.
    ASSERT_NE(nullptr, view->GetOverlayList());
    EXPECT_EQ(3, view->GetOverlayList()->GetCount());
    EXPECT_TRUE(view->GetButton(MR_ID_OVERLAY)->IsWindowEnabled());
    EXPECT_TRUE(view->GetButton(MR_ID_GOTO_ARTICLE)->IsWindowEnabled());

    // The next state replaces it; a history step (0x407) pushes with 0x407.
    CMediaDisplayRef* second = State(1, 1);
    view->SendMessage(VLM_RESTORE_STATE, 0, reinterpret_cast<LPARAM>(second));
    ui::PumpUntilIdle();
    EXPECT_EQ(second, view->GetDisplayRef());
    EXPECT_STREQ("Leaves against the sun", view->GetTitle());
    ASSERT_EQ(2u, frame.pushed.size());
    EXPECT_EQ(WPARAM(VLM_RESTORE_STATE), frame.pushModes[1]);
    EXPECT_EQ(2, view->GetListTab()->GetCurrentList()->GetCount()) << "a caller value of 1 leaves the list";
    EXPECT_EQ(nullptr, view->GetOverlayList());
    EXPECT_FALSE(view->GetButton(MR_ID_OVERLAY)->IsWindowEnabled());
    EXPECT_FALSE(view->GetButton(MR_ID_GOTO_ARTICLE)->IsWindowEnabled()) << "a picture of no article has none to go to";

    // A reference that cannot be loaded leaves nothing behind (the sanitizer sees leaks).
    auto* broken = PlacedReference(1001009, REFKIND_PICTURE, 1, 0);
    host::AnswerMessageBox("Error: Article CReference passed to CGrfDocument::Create()", IDOK);
    EXPECT_EQ(0, view->SendMessage(VLM_OPEN_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(broken)));
    EXPECT_EQ(mediaNone, view->GetDisplayKind());
    EXPECT_EQ(nullptr, view->GetDocument());
}

TEST_F(MediaViewTest, DataLocationsDisabledKindsAndStopping)
{
    MakeView();
    EXPECT_EQ(VL_DEFAULT_DATA_LOCATION, view->SendMessage(VLM_DATA_LOCATION, 0, 0)) << "nothing shown, nothing asked";
    const struct {
        LONG kind;
        int dataKind;
    } kinds[] = {{REFKIND_ARTICLE, 11}, {REFKIND_PICTURE, 11},       {REFKIND_MAP, 11},   {REFKIND_ARTICLE2, 11},
                 {REFKIND_ANIMATION, 4}, {REFKIND_VIDEO, 3},        {REFKIND_VIRTUALREALITY, 3},
                 {REFKIND_SOUND, 6},     {REFKIND_ONLINESOUND, 6},  {REFKIND_SIMULATION, 10},
                 {REFKIND_BUBBLE, 5}};
    for (const auto& k : kinds) {
        SCOPED_TRACE(k.kind);
        std::unique_ptr<CReference> ref(PlacedReference(4020001, k.kind, 2, 0));
        EXPECT_EQ(MAKELONG(2, k.dataKind), view->SendMessage(VLM_DATA_LOCATION, 0, reinterpret_cast<LPARAM>(ref.get())));
    }
    EXPECT_EQ(-1, CMediaResourceMainWin::DataKindOf(REFKIND_TIMELINE));

    // Disabled videos and sounds: the box, and the state is gone.
    ASSERT_TRUE(WritePrivateProfileString("Veltra Jubilee 2000 (International)", "DVA", "Y", "T:\\vl00i1se.ini"));
    ASSERT_TRUE(WritePrivateProfileString("Veltra Jubilee 2000 (International)", "DSC", "y", "T:\\vl00i1se.ini"));
    NewBoxes();
    for (LONG kind : {REFKIND_VIDEO, REFKIND_ANIMATION, REFKIND_SIMULATION, REFKIND_VIRTUALREALITY, REFKIND_SOUND}) {
        std::unique_ptr<CReference> ref(PlacedReference(4020001, kind, 1, 0));
        host::AnswerNextMessageBox(IDOK);
        EXPECT_EQ(0, view->SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA,
                                       reinterpret_cast<LPARAM>(new CMediaDisplayRef(ref.get(), NULL, 0))));
    }
    EXPECT_EQ((std::vector<std::string>{"Videos have been disabled.", "Videos have been disabled.",
                                        "Videos have been disabled.", "Videos have been disabled.",
                                        "Sounds have been disabled."}),
              NewBoxes());
    EXPECT_EQ(nullptr, view->GetDisplayRef());
    EXPECT_EQ(0, view->StopMedia()) << "no movie, no sound";
}

// A picture group of three: the selector shows it and each position shows its picture in the
// same picture window.
TEST_F(MediaViewTest, TheSelectorStepsThroughAPictureGroup)
{
    std::vector<std::string> records;
    const char* titles[3] = {"Wing, first view", "Wing, second view", "Wing, third view"};
    for (int i = 0; i < 3; ++i) {
        GrfRecordSource g = RichPicture();
        g.title = titles[i];
        g.named = {{"GROUP", 0}};
        g.lists = {{{titles[0], 1001003}, {titles[1], 1001004}, {titles[2], 1001005}}};
        g.fullGif = TestGif(300, 200, i);
        records.push_back(WriteGrfRecord(g));
    }
    // The archive: the two pictures of the fixture, then the group.
    GrfRecordSource rich = RichPicture();
    records.insert(records.begin(), {WriteGrfRecord(rich), WriteGrfRecord(rich)});
    blocks = WriteArchive(records);
    std::vector<discbuilder::RomLinkEntry> entries;
    for (int i = 0; i < 5; ++i)
        entries.push_back({1001001 + i, 1, discbuilder::RomLinkKindDigitFor(1001001 + i), 0, 1, std::uint32_t(blocks[size_t(i)]), 3});
    InstallRomLink(entries);

    MakeView();
    auto* second = new CReference(1001004, "");
    ASSERT_EQ(1, view->SendMessage(VLM_OPEN_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(second)));
    ui::PumpUntilIdle();
    CMediaSlidingSelector* selector = view->GetSelector();
    EXPECT_TRUE(selector->IsWindowVisible());
    EXPECT_EQ(2, selector->GetLastIndex());
    EXPECT_EQ(1, selector->GetCurrentIndex()) << "the picture's own place in its group";
    CGrfPictureWin* picture = view->GetPictureWin();
    selector->StepForward();
    EXPECT_STREQ("Wing, third view", view->GetTitle());
    EXPECT_EQ(1001005, view->GetDocument()->GetReference()->GetNumber());
    EXPECT_EQ(picture, view->GetPictureWin()) << "the same picture window";
    selector->StepBack();
    selector->StepBack();
    EXPECT_STREQ("Wing, first view", view->GetTitle());
    view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    ui::dialog::Screenshot(frame.GetSafeHwnd(), "media-view-group-800.png");
}

TEST_F(MediaViewTest, ScreenshotsAtTheThreeScreenClasses)
{
    const struct {
        int cls, width, height;
        const char* welcome;
        const char* picture;
    } classes[] = {{0, 640, 480, "media-view-welcome-640.png", "media-view-640.png"},
                   {1, 800, 600, "media-view-welcome-800.png", "media-view-800.png"},
                   {2, 1024, 768, "media-view-welcome-1024.png", "media-view-1024.png"}};
    for (const auto& c : classes) {
        SCOPED_TRACE(c.picture);
        MakeView(c.cls, c.width, c.height);
        view->SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, 0);
        ui::PumpUntilIdle();
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ui::dialog::Screenshot(frame.GetSafeHwnd(), c.welcome);
        view->SendMessage(VLM_POST_TO_WINDOW, IDW_MEDIA, reinterpret_cast<LPARAM>(State(0)));
        ui::PumpUntilIdle();
        ASSERT_EQ(mediaPicture, view->GetDisplayKind());
        // The media sits right of the side panels and inside the view; its title above it.
        const CRect media = view->GetMediaRect();
        CRect client;
        view->GetClientRect(&client);
        EXPECT_GE(media.left, CMediaResourceMainWin::LayoutOf(c.cls).mediaLeft - 20);
        EXPECT_LE(media.right, client.right);
        EXPECT_LE(media.bottom, client.bottom);
        EXPECT_GT(media.top, CMediaResourceMainWin::LayoutOf(c.cls).buttonHeight + 10);
        for (UINT id : {MR_ID_INSTRUCTIONS, MR_ID_CAPTION, MR_ID_GOTO_ARTICLE, MR_ID_BROWSE, MR_ID_OVERLAY}) {
            CRect button;
            view->GetButton(id)->GetWindowRect(&button);
            view->ScreenToClient(&button);
            EXPECT_EQ(CMediaResourceMainWin::ButtonRect(id, c.cls).TopLeft(), button.TopLeft()) << id;
            EXPECT_LE(button.right, client.right) << id;
        }
        view->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
        ui::PumpUntilIdle();
        ui::dialog::Screenshot(frame.GetSafeHwnd(), c.picture);
        DestroyView();
    }
}

}  // namespace
