// The detail caption box's mark-up (paragraphs, styles, search hits in red), the media list
// thumbnail's composed images and hover, and the media instruction window's pages and sizes.
// Screenshots of each.
#include "media/DetailCaptionBox.h"
#include "media/InstructionWnd.h"
#include "media/MediaListThumbnail.h"

#include "base/HitList.h"
#include "base/ResourceLibrary.h"
#include "widgets/DibButton.h"
#include "widgets/RadioButton.h"

#include "MediaTestSupport.h"

#include "resource.h"

#include <DialogDriver.h>

#include <host/Desktop.h>
#include <host/Paths.h>
#include <host/Display.h>
#include <host/Input.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using namespace media_test;

class MediaThumbsTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        FreeLibraryOfClass();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        MediaTest::TearDown();
    }
    // The floating panels draw their close box from the screen-class library.
    void LoadLibraryOfClass0()
    {
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }
    void FreeLibraryOfClass()
    {
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
    }
    static void Shot(CWnd& wnd, const std::string& name)
    {
        wnd.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW | RDW_FRAME);
        ui::PumpUntilIdle();
        ui::dialog::Screenshot(wnd.GetSafeHwnd(), name);
    }

    CWnd main;
};

// ---- the detail caption box ---------------------------------------------------------------------

TEST_F(MediaThumbsTest, BuildCaptionTextCases)
{
    GrfRecordSource source;
    source.title = "Caption cases";
    source.caption = "Lava flows at night.";
    source.sections = {{1, "One\rTwo\rThree"}, {1, "\x81\x82" "both\x80 plain \x81it\x80."}, {1, "Rivers and lakes"}};
    source.previewGif = TestGif(10, 10);
    const LONG nBlock = WriteArchive({discbuilder::WriteGrfRecord(source)})[0];

    struct Case {
        const char* name;
        int code;
        std::vector<CHitPosition> hits;
        const char* want;
    } cases[] = {
        {"the caption, no hits", DETAILCAPTION_CAPTION, {}, "Lava flows at night.<P>"},
        {"three paragraphs", DETAILCAPTION_FIRST_SECTION, {}, "One</P>Two<P>Three<P>"},
        {"italic and bold closed by one byte, italic first", DETAILCAPTION_FIRST_SECTION + 1, {},
         "<I><STRONG>both</I></STRONG> plain <I>it</I>.<P>"},
        {"a hit over characters 5 to 9", DETAILCAPTION_CAPTION, {CHitPosition(221, 5, 5)},
         "Lava <RED>flows</RED> at night.<P>"},
        {"two hits of the section, the first one in the list elsewhere", DETAILCAPTION_FIRST_SECTION + 2,
         {CHitPosition(221, 0, 4), CHitPosition(225, 0, 6), CHitPosition(225, 11, 5)},
         "<RED>Rivers</RED> and <RED>lakes</RED><P>"},
        {"a hit of another section ends the spans", DETAILCAPTION_FIRST_SECTION + 2,
         {CHitPosition(225, 0, 6), CHitPosition(221, 7, 3), CHitPosition(225, 11, 5)},
         "<RED>Rivers</RED> and lakes<P>"},
        {"a hit running past the end is closed", DETAILCAPTION_CAPTION, {CHitPosition(221, 14, 30)},
         "Lava flows at <RED>night.</RED><P>"},
        {"a section that does not exist", DETAILCAPTION_FIRST_SECTION + 9, {}, "<P>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CReference> ref(PlacedReference(1001002, REFKIND_PICTURE, 1, nBlock));
        if (!c.hits.empty()) {
            auto* pHits = new CHitList;
            for (const CHitPosition& hit : c.hits)
                pHits->AddHit(hit);
            ref->SetData(pHits);
        }
        CGrfDocument document;
        ASSERT_TRUE(document.Load(ref.get(), TRUE));
        CDetailCaptionBox box(&document);
        CString strOut;
        box.BuildCaptionText(strOut, c.code);
        EXPECT_STREQ(c.want, strOut);
    }
}

TEST_F(MediaThumbsTest, CaptionBoxShowsItsSectionFramedOnWhite)
{
    GrfRecordSource source;
    source.title = "Volcano";
    source.caption = "Caption.";
    source.sections = {{1, "\x82" "Crater.\x80 The opening at the top of the volcano, where lava and ash come out."}};
    source.previewGif = TestGif(10, 10);
    const LONG nBlock = WriteArchive({discbuilder::WriteGrfRecord(source)})[0];
    std::unique_ptr<CReference> ref(PlacedReference(1001002, REFKIND_PICTURE, 1, nBlock));
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(223, 40, 7));
    ref->SetData(pHits);
    CGrfDocument document;
    ASSERT_TRUE(document.Load(ref.get(), TRUE));

    CDetailCaptionBox box(&document);
    ASSERT_TRUE(box.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_BORDER, CRect(-1000, -1000, -750, -900), &main));
    EXPECT_EQ(2, box.GetFrameWidth());
    EXPECT_EQ(PALETTERGB(255, 255, 255), box.GetBkColor());
    box.ShowCaption(DETAILCAPTION_FIRST_SECTION);
    EXPECT_STREQ("<STRONG>Crater.</STRONG> The opening at the top of the <RED>volcano</RED>, where lava and ash come "
                 "out.<P>",
                 box.GetText());
    box.MoveWindow(20, 20, 250, 100);
    Shot(box, "detail-caption-box.png");
}

// ---- the media list thumbnail -------------------------------------------------------------------

// The film strip that holds the thumbnails (their grandparent): records what it is asked.
class CStripWnd : public CWnd, public CMediaListStrip {
public:
    void SelectMediaItem(int nIndex) override { selected.push_back(nIndex); }
    void OpenMediaItem(int nIndex) override { opened.push_back(nIndex); }
    CDibButton* GetActionButton() override { return &action; }
    std::vector<int> selected, opened;
    CDibButton action;
};

CDib* GifDib(int w, int h)
{
    const std::string gif = TestGif(w, h);
    auto* pDib = new CDib;
    pDib->ReadGifMemory(gif.data(), static_cast<UINT>(gif.size()));
    return pDib;
}

TEST_F(MediaThumbsTest, MediaListThumbnailComposesItsLooksAndFollowsThePointer)
{
    CStripWnd strip;
    ASSERT_TRUE(strip.CreateEx(0, AfxRegisterWndClass(0), "Strip", WS_CHILD | WS_VISIBLE, CRect(100, 100, 400, 200),
                               &main, 1));
    CWnd holder;
    ASSERT_TRUE(holder.CreateEx(0, AfxRegisterWndClass(0), "Holder", WS_CHILD | WS_VISIBLE, CRect(0, 0, 300, 100),
                                &strip, 2));
    ASSERT_TRUE(strip.action.Create("Action", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 10, 10), &strip, 3));

    CDib* pPicture = GifDib(30, 20);
    ASSERT_FALSE(pPicture->IsEmpty());
    CMediaListThumbnail thumb(pPicture, 77, 4);
    EXPECT_EQ(44, thumb.GetButtonWidth());
    EXPECT_EQ(32, thumb.GetButtonHeight());
    EXPECT_EQ(CPoint(5, 6), thumb.GetPictureOffset()) << "a 30 by 20 picture sits at (5, 6) in the 45 by 33 frame";
    thumb.SetPosition(10, 10, 45, 33, SWP_NOZORDER);
    ASSERT_TRUE(thumb.Create("", WS_CHILD | BS_OWNERDRAW, CRect(0, 0, 45, 33), &holder, 100));
    ui::PumpUntilIdle();
    EXPECT_TRUE(thumb.IsWindowVisible()) << "shown by its creation";
    CRect rect;
    thumb.GetWindowRect(&rect);
    holder.ScreenToClient(&rect);
    EXPECT_EQ(CRect(10, 10, 55, 43), rect) << "placed where the strip said";

    // On screen: the picture's blue edge starts at (5, 6); the frame around it.
    auto pixel = [&](int x, int y) {
        CPoint pt(x, y);
        thumb.ClientToScreen(&pt);
        return host::DesktopPixel(pt.x, pt.y);
    };
    const COLORREF blue = pixel(5, 6);
    EXPECT_EQ(blue, pixel(34, 25)) << "the picture's far corner";
    EXPECT_NE(blue, pixel(4, 6));
    EXPECT_NE(blue, pixel(35, 26));
    EXPECT_LT(GetRValue(blue), 100);
    EXPECT_GT(GetBValue(blue), 150);
    const COLORREF normalFrame = pixel(2, 2);
    Shot(holder, "media-list-thumbnail-normal.png");

    // The pointer over it: the hover look, the mouse captured; off it: the normal look again.
    CPoint centre = rect.CenterPoint();
    holder.ClientToScreen(&centre);
    host::MouseMove(centre.x, centre.y);
    ui::PumpUntilIdle();
    EXPECT_TRUE(thumb.IsHover());
    EXPECT_EQ(&thumb, CWnd::GetCapture());
    EXPECT_NE(normalFrame, pixel(2, 2)) << "the hover frame";
    Shot(holder, "media-list-thumbnail-hover.png");
    host::MouseMove(centre.x + 100, centre.y + 60);
    ui::PumpUntilIdle();
    EXPECT_FALSE(thumb.IsHover());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(normalFrame, pixel(2, 2));

    // A click selects item 4 in the strip and latches the strip's action button.
    host::Click(centre.x, centre.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(std::vector<int>{4}, strip.selected);
    EXPECT_TRUE(strip.action.IsAlternate());
    EXPECT_NE(normalFrame, pixel(2, 2)) << "the focused button shows the pressed look";
    Shot(holder, "media-list-thumbnail-pressed.png");
    // A double click opens it.
    host::Click(centre.x, centre.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(std::vector<int>{4}, strip.opened);
}

TEST_F(MediaThumbsTest, CustomButtonMovesWithItsStoredFlags)
{
    CCustomDibButton button;
    ASSERT_TRUE(button.Create("", WS_CHILD | WS_VISIBLE | BS_OWNERDRAW, CRect(0, 0, 20, 20), &main, 5));
    // Flags 5 (no size, no z-order): a move keeps the size whatever the caller asks.
    button.SetPosition(0, 0, 20, 20, SWP_NOSIZE | SWP_NOZORDER);
    button.SetWindowPos(NULL, 30, 40, 90, 90, SWP_NOZORDER);
    CRect rect;
    button.GetWindowRect(&rect);
    main.ScreenToClient(&rect);
    EXPECT_EQ(CRect(30, 40, 50, 60), rect);
    EXPECT_EQ(CRect(30, 40, 30 + 90, 40 + 90), button.GetKeptRect()) << "what was asked is recorded";
    // Flags 1 (no size): the z-order changes even when the caller asked it not to.
    CWnd sibling;
    ASSERT_TRUE(sibling.CreateEx(0, AfxRegisterWndClass(0), "Sibling", WS_CHILD | WS_VISIBLE, CRect(0, 0, 5, 5), &main, 6));
    sibling.SetWindowPos(&CWnd::wndTop, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    ASSERT_EQ(&sibling, main.GetWindow(GW_CHILD));
    // The stored flags keep the z-order even when the caller asks for the top.
    button.SetWindowPos(&CWnd::wndTop, 30, 40, 0, 0, SWP_NOSIZE);
    EXPECT_EQ(&sibling, main.GetWindow(GW_CHILD));
    button.SetPosition(0, 0, 20, 20, SWP_NOSIZE);
    button.SetWindowPos(&CWnd::wndTop, 31, 40, 0, 0, SWP_NOZORDER | SWP_NOSIZE);
    EXPECT_EQ(&button, main.GetWindow(GW_CHILD));
}

// ---- the media instruction window -----------------------------------------------------------

CString Loaded(UINT nId)
{
    CString str;
    str.LoadString(nId);
    return str;
}

TEST_F(MediaThumbsTest, InstructionWindowSizesByScreenClass)
{
    struct Case {
        int desktop;
        int parentHeight;
        CSize want;
    } cases[] = {
        {640, 600, CSize(174, 237)},
        {800, 600, CSize(174, 297)},
        {1024, 768, CSize(218, 401)},
        {800, 250, CSize(174, 250 - 12 - 10)},  // a short parent: the bottom 12 above its client bottom
    };
    LoadLibraryOfClass0();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.desktop);
        host::SetDesktopSize(c.desktop, c.desktop * 3 / 4);
        MeasureAppScreen();
        CWnd parent;
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(0), "View", WS_CHILD | WS_VISIBLE,
                                    CRect(0, 0, 600, c.parentHeight), &main, 8005));
        CInstructionWnd window;
        ASSERT_TRUE(window.Create("INSTRUCTIONS", 20, 10, &parent, 15009));
        CRect rect;
        window.GetWindowRect(&rect);
        EXPECT_EQ(c.want, rect.Size());
        window.DestroyWindow();
        parent.DestroyWindow();
    }
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(MediaThumbsTest, InstructionWindowPagesAt800)
{
    host::SetDesktopSize(800, 600);
    MeasureAppScreen();
    ASSERT_EQ(1, GetAppScreenClass());
    LoadLibraryOfClass0();
    CInstructionWnd window;
    ASSERT_TRUE(window.Create("INSTRUCTIONS", 20, 20, &main, 15009));
    window.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
    CRect rect;
    window.GetWindowRect(&rect);
    EXPECT_EQ(CSize(174, 297), rect.Size());

    // PICTURES first, its mark only.
    ASSERT_NE(nullptr, window.GetTextBox());
    EXPECT_STREQ(Loaded(IDS_INSTRUCT_PICTURES), window.GetPageText());
    EXPECT_EQ(0, window.GetPageText().Find("There are thousands of pictures in Veltra articles."));
    EXPECT_STREQ(window.GetPageText(), window.GetTextBox()->GetText());
    auto marks = [&] {
        std::string out;
        for (UINT n : {INSTRUCT_CMD_BUBBLES, INSTRUCT_CMD_SOUNDS, INSTRUCT_CMD_VIDEO, INSTRUCT_CMD_PICTURES})
            out += window.GetTabButton(n)->IsAlternate() ? "X" : "-";
        return out;
    };
    EXPECT_EQ("---X", marks());
    EXPECT_TRUE(window.GetTextBox()->IsWindowVisible());
    CRect text;
    window.GetTextBox()->GetWindowRect(&text);
    window.ScreenToClient(&text);
    EXPECT_EQ(50, text.top) << "under the tab area";
    Shot(window, "instruction-window-pictures.png");

    // Clicking SOUNDS: string 119, only its mark.
    CRect button;
    window.GetTabButton(INSTRUCT_CMD_SOUNDS)->GetWindowRect(&button);
    host::Click(button.CenterPoint().x, button.CenterPoint().y);
    ui::PumpUntilIdle();
    EXPECT_STREQ(Loaded(IDS_INSTRUCT_SOUNDS), window.GetPageText());
    EXPECT_EQ(0, window.GetPageText().Find("Sound clips are represented by a sound icon"));
    EXPECT_EQ("-X--", marks());
    Shot(window, "instruction-window-sounds.png");

    // BUBBLE VIEWS: strings 121 and 118 together.
    window.SendMessage(WM_COMMAND, INSTRUCT_CMD_BUBBLES, 0);
    EXPECT_STREQ(Loaded(IDS_INSTRUCT_BUBBLES) + Loaded(IDS_INSTRUCT_MULTIPLE_VIEWS), window.GetPageText());
    EXPECT_EQ(0, window.GetPageText().Find("1.  WHAT IS A BUBBLE VIEW?"));
    EXPECT_GT(window.GetPageText().Find("5.  MULTIPLE VIEWS."), 0);
    EXPECT_EQ("X---", marks());

    // VIDEO: the built-in text; the checked message with VIDEO latched: string 120 instead.
    window.SendMessage(WM_COMMAND, INSTRUCT_CMD_VIDEO, 0);
    EXPECT_STREQ(g_szInstructVideoText, window.GetPageText());
    EXPECT_EQ("--X-", marks());
    window.SendMessage(VLM_RADIO_CHECKED, 0, 0);
    EXPECT_STREQ(Loaded(IDS_INSTRUCT_VIDEO), window.GetPageText());
    EXPECT_STRNE(g_szInstructVideoText, window.GetPageText());

    // The animation and simulation commands do nothing.
    window.SendMessage(WM_COMMAND, INSTRUCT_CMD_ANIMATIONS, 0);
    window.SendMessage(WM_COMMAND, INSTRUCT_CMD_SIMULATIONS, 0);
    EXPECT_STREQ(Loaded(IDS_INSTRUCT_VIDEO), window.GetPageText());
    EXPECT_TRUE(NewBoxes().empty());
}

}  // namespace
