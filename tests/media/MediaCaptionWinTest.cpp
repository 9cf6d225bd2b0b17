// The caption panel: the caption's control bytes and search hits as mark-up, and fitting the
// caption into one line under the media, and the panel's text window for a longer one.
#include "MediaTestSupport.h"

#include "base/AppServices.h"
#include "base/HitList.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"
#include "media/MediaCaptionWin.h"
#include "widgets/MiniArtThumb.h"

#include <MessageSpy.h>

#include <host/Display.h>
#include <host/Input.h>
#include <host/Paths.h>

#include <cstdlib>
#include <memory>

namespace media_test {
namespace {

TEST(CaptionMarkupTest, ControlBytesAndHitsBecomeMarkup)
{
    const struct {
        const char* text;
        std::vector<CHitPosition> hits;
        const char* markup;
    } cases[] = {
        {"", {}, "<P>"},
        {"First\r\rSecond", {}, "First</P><P>Second<P>"},
        {"a\rb\rc\rd", {}, "a</P>b<P>c</P>d<P>"},
        {"\x82" "bold \x81" "it\x80 plain", {}, "<STRONG>bold <I>it</I></STRONG> plain<P>"},
        {"\x81" "only italic\x80 \x80 end", {}, "<I>only italic</I>  end<P>"},
        {"0123456789ABC", {CHitPosition(221, 5, 5)}, "01234<RED>56789</RED>ABC<P>"},
        {"0123456789ABC", {CHitPosition(225, 5, 5)}, "0123456789ABC<P>"},
        {"abc", {CHitPosition(221, 1, 2)}, "a<RED>bc</RED><P>"},
        {"one two three", {CHitPosition(221, 0, 3), CHitPosition(224, 4, 3), CHitPosition(221, 8, 5)},
         "<RED>one</RED> two <RED>three</RED><P>"},
        {"abcdef", {CHitPosition(221, 1, 2), CHitPosition(221, 3, 2)}, "a<RED>bc</RED><RED>de</RED>f<P>"},
        {"abcdef", {CHitPosition(221, 1, 3), CHitPosition(221, 2, 1), CHitPosition(221, 4, 1)},
         "a<RED>bcd</RED><RED>e</RED>f<P>"},
    };
    for (const auto& c : cases) {
        CHitList hits;
        for (const CHitPosition& h : c.hits)
            hits.AddHit(h);
        EXPECT_STREQ(c.markup, CMediaCaptionWin::ConvertToMarkup(c.text, &hits, 221)) << c.text;
    }
    EXPECT_STREQ("x<P>", CMediaCaptionWin::ConvertToMarkup("x", NULL, 221));
    EXPECT_STREQ("Lava flows at night.  Second paragraph.",
                 CMediaCaptionWin::PlainLine("Lava \x81" "flows\x80 at \x82" "night\x80.\r\rSecond paragraph."));
    // The code page's own letters and signs stay.
    EXPECT_STREQ("Caf\xE9 \x93" "cr\xE8me\x94 \xA9 1999",
                 CMediaCaptionWin::PlainLine("Caf\xE9 \x93" "cr\xE8me\x94 \xA9 1999"));
}

class MediaCaptionWinTest : public MediaTest {
protected:
    void TearDown() override
    {
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
        MediaTest::TearDown();
    }
    // The palettes, and the screen-class library from which the panel's caption band draws its
    // close box.
    void LoadPanelResources()
    {
        ASSERT_TRUE(LoadAppPalettes());
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    }
    std::unique_ptr<CGrfDocument> LoadCaption(const std::string& caption, CHitList* pHits = nullptr)
    {
        GrfRecordSource s;
        s.title = "captioned";
        s.caption = caption;
        s.sections = {{1, "Section \x82zero\x80"}};
        s.previewGif = TestGif(4, 4);
        CGrfDocument::CloseArchive();
        const LONG block = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
        std::unique_ptr<CReference> ref(PlacedReference(1001001, REFKIND_PICTURE, 1, block));
        ref->SetData(pHits);
        auto doc = std::make_unique<CGrfDocument>();
        EXPECT_TRUE(doc->Load(ref.get(), FALSE));
        return doc;
    }
    // The width of a text in Arial at a size, as the panel measures it.
    static int WidthAt(const CString& text, int nTenths)
    {
        CClientDC dc(CWnd::GetDesktopWindow());
        CFont font;
        font.CreateFont(-MulDiv(nTenths, dc.GetDeviceCaps(LOGPIXELSY), 720), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                        ANSI_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                        "Arial");
        CFont* pOld = dc.SelectObject(&font);
        const int cx = dc.GetTextExtent(text).cx;
        dc.SelectObject(pOld);
        return cx;
    }
};

TEST_F(MediaCaptionWinTest, BuildMarkupTakesTheDocumentsTextsAndHits)
{
    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(GRF_SECTION_CAPTION, 0, 4));
    pHits->AddHit(CHitPosition(GRF_SECTION_TEXT, 0, 7));
    auto doc = LoadCaption("Lava\rflows", pHits);
    CMediaCaptionWin panel(doc.get());
    EXPECT_STREQ("<RED>Lava</RED></P>flows<P>", panel.BuildMarkup(GRF_SECTION_CAPTION));
    EXPECT_STREQ("<RED>Section</RED> <STRONG>zero</STRONG><P>", panel.BuildMarkup(GRF_SECTION_TEXT));
    EXPECT_STREQ("", panel.BuildMarkup(GRF_SECTION_TEXT + 5)) << "a section that is not there";
}

TEST_F(MediaCaptionWinTest, FittingShrinksTheFontUntilTheCaptionFitsOneLineButNotBelowEightPoints)
{
    const std::string caption = "A fairly long caption under the picture";
    auto doc = LoadCaption(caption);
    const int w100 = WidthAt(caption.c_str(), 100);
    const int w70 = WidthAt(caption.c_str(), 70);
    const int w82 = WidthAt(caption.c_str(), 82);
    ASSERT_LT(w70, w82);
    ASSERT_LT(w82, w100);
    const struct {
        int width;
        BOOL oneLine;
        int size;  // tenths of a point; -1: smaller than 100 and at least 8 points
    } cases[] = {
        {w100 + 5, TRUE, 100},
        {(w82 + w100) / 2, TRUE, -1},
        {w70, FALSE, 82},  // fits only below 8 points: the panel, not print too small to read
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.width);
        CMediaCaptionWin panel(doc.get());
        CRect rc(10, 200, 10 + c.width, 230);
        EXPECT_EQ(1, panel.Prepare(&rc));
        EXPECT_EQ(c.oneLine, panel.IsOneLine());
        EXPECT_EQ(!c.oneLine, panel.IsOverflow());
        if (c.size > 0) {
            EXPECT_EQ(c.size, panel.GetPointSize());
        } else {
            EXPECT_TRUE(panel.GetPointSize() < 100 && panel.GetPointSize() >= 80) << panel.GetPointSize();
        }
        if (c.oneLine && panel.GetPointSize() < 100) {
            EXPECT_GT(WidthAt(caption.c_str(), panel.GetPointSize() + 3), c.width) << "the largest size that fits";
        }
        EXPECT_EQ(rc, panel.GetLineRect());
        EXPECT_GT(panel.GetLineOffset(), 0);
        EXPECT_STREQ((caption + "<P>").c_str(), panel.GetMarkup());
        // The size once found decides alone from then on.
        const int nSize = panel.GetPointSize();
        CRect wide(0, 0, 5000, 40);
        panel.Prepare(&wide);
        EXPECT_EQ(nSize, panel.GetPointSize());
        EXPECT_TRUE(panel.IsOneLine());
    }
}

TEST_F(MediaCaptionWinTest, NotShownCaptionPreparesNothingAndDisplaysMinusTwo)
{
    auto doc = LoadCaption("Short");
    CMediaCaptionWin panel(doc.get());
    panel.SetShown(FALSE);
    EXPECT_EQ(0, panel.Prepare(NULL));
    EXPECT_EQ(-2, panel.Display(NULL));
    panel.SetShown(TRUE);
    EXPECT_EQ(1, panel.Prepare(NULL));
    EXPECT_STREQ("Short<P>", panel.GetMarkup());
}

TEST_F(MediaCaptionWinTest, OneLineIsDrawnIntoTheViewerALongCaptionShowsThePanel)
{
    ASSERT_NO_FATAL_FAILURE(LoadPanelResources());
    CWnd viewer;
    ASSERT_TRUE(viewer.CreateEx(0, AfxRegisterWndClass(0), "Viewer", WS_POPUP | WS_VISIBLE, CRect(0, 0, 500, 400), NULL, 0));
    auto shortDoc = LoadCaption("Lava at night");
    CMediaCaptionWin panel(shortDoc.get());
    ASSERT_TRUE(panel.Create(0, CRect(20, 20, 300, 220), &viewer, CMediaCaptionWin::panelId));
    CRect line(10, 350, 490, 380);
    ASSERT_EQ(1, panel.Prepare(&line));
    ASSERT_TRUE(panel.IsOneLine());
    {
        CClientDC dc(&viewer);
        panel.SetTextColor(RGB(255, 255, 255));
        EXPECT_EQ(0, panel.Display(&dc));
    }
    EXPECT_FALSE(panel.IsWindowVisible()) << "a one-line caption hides the panel";
    // Light text on the line's ground.
    int light = 0;
    for (int y = line.top; y < line.bottom; ++y)
        for (int x = line.left; x < line.left + 150; ++x)
            if (host::DesktopPixel(x, y) == RGB(255, 255, 255))
                ++light;
    EXPECT_GT(light, 20);

    std::string longCaption;
    for (int i = 0; i < 30; ++i)
        longCaption += "lava flows down the flank ";
    auto longDoc = LoadCaption("A \x82long\x80 caption: \x81" "fire\x80 " + longCaption);
    CMediaCaptionWin longPanel(longDoc.get());
    ASSERT_TRUE(longPanel.Create(0, CRect(20, 20, 300, 220), &viewer, CMediaCaptionWin::panelId));
    ASSERT_EQ(1, longPanel.Prepare(&line));
    EXPECT_FALSE(longPanel.IsOneLine());
    // The frame's current view hears that the caption panel is up.
    spy::MessageSpy spy;
    HWND hView = ::CreateWindowExA(0, spy::MessageSpy::ClassName(), "view", WS_POPUP, 0, 0, 10, 10, NULL, NULL,
                                   NULL, NULL);
    CWnd view;
    view.Attach(hView);
    AppServices().ui.pCurrentView = &view;
    spy.Clear();
    EXPECT_EQ(1, longPanel.Display(NULL));
    EXPECT_TRUE(longPanel.IsWindowVisible());
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{VLM_CAPTION_SHOWN, spy::Posted | spy::WParam | spy::LParam, 1,
                              reinterpret_cast<LPARAM>(&longPanel)}},
                            hView));
    // Activating the panel tells the view again; a panel the viewer does not want shown hides
    // itself when activated.
    spy.Clear();
    longPanel.SendMessage(WM_CHILDACTIVATE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(spy.Matches({{VLM_CAPTION_SHOWN, spy::Posted | spy::WParam | spy::LParam, 1,
                              reinterpret_cast<LPARAM>(&longPanel)}},
                            hView));
    longPanel.SetShown(FALSE);
    spy.Clear();
    longPanel.SendMessage(WM_CHILDACTIVATE);
    EXPECT_FALSE(longPanel.IsWindowVisible());
    longPanel.SetShown(TRUE);
    longPanel.ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
    AppServices().ui.pCurrentView = NULL;
    view.Detach();
    ::DestroyWindow(hView);
    // The text window shows the mark-up, scrolls it, and copies what the reader selects.
    CMiniArtThumb* text = longPanel.GetTextWnd();
    ASSERT_NE(nullptr, text);
    EXPECT_TRUE(text->IsWindowVisible());
    EXPECT_EQ(longPanel.GetMarkup(), text->GetText());
    EXPECT_GT(text->GetLineCount(), 3);
    EXPECT_TRUE(text->GetStyle() & WS_VSCROLL) << "the caption is longer than the panel: its scroll bar shows";
    EXPECT_FALSE(longPanel.HasSelection());
    text->SelectRuns(0, 2);
    ASSERT_TRUE(longPanel.HasSelection());
    ASSERT_TRUE(longPanel.CopySelection());
    ASSERT_TRUE(::OpenClipboard(NULL));
    HANDLE hClip = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, hClip);
    const std::string copied = static_cast<const char*>(::GlobalLock(hClip));
    ::GlobalUnlock(hClip);
    ::CloseClipboard();
    EXPECT_EQ(std::string(text->GetCopyText()), copied);
    EXPECT_NE(std::string::npos, copied.find("long")) << copied;
    text->SelectRuns(-1, -1);  // nothing selected again
    ui::PumpUntilIdle();
    CRect rcPanel;
    longPanel.GetWindowRect(&rcPanel);
    const std::string png = (dir.path() / "caption-panel.png").string();
    EXPECT_TRUE(host::SaveDesktopPng(png, &rcPanel));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / "caption-panel.png",
                                   std::filesystem::copy_options::overwrite_existing);
    longPanel.SetShown(FALSE);
    EXPECT_EQ(-2, longPanel.Display(NULL));
    EXPECT_FALSE(longPanel.IsWindowVisible());
    longPanel.DestroyWindow();
    panel.DestroyWindow();
    viewer.DestroyWindow();
}

TEST_F(MediaCaptionWinTest, CtrlCInThePanelAsksTheViewerToCopy)
{
    ASSERT_NO_FATAL_FAILURE(LoadPanelResources());
    spy::MessageSpy spy;
    HWND hViewer = ::CreateWindowExA(0, spy::MessageSpy::ClassName(), "viewer", WS_POPUP | WS_VISIBLE, 0, 0, 400,
                                     300, NULL, NULL, NULL, NULL);
    CWnd viewer;
    viewer.Attach(hViewer);
    auto doc = LoadCaption("Lava");
    CMediaCaptionWin panel(doc.get());
    ASSERT_TRUE(panel.Create(0, CRect(20, 20, 300, 220), &viewer, CMediaCaptionWin::panelId));
    auto copies = [&]() {
        std::size_t n = 0;
        for (const spy::Recorded& r : spy.Messages(hViewer))
            n += r.message == WM_COMMAND && LOWORD(r.wParam) == ID_EDIT_COPY;
        return n;
    };
    spy.Clear();
    panel.SendMessage(WM_KEYDOWN, 'C', 0);
    EXPECT_EQ(0u, copies()) << "C alone is no copy";
    host::KeyDown(VK_CONTROL);
    ui::PumpUntilIdle();
    panel.SendMessage(WM_KEYDOWN, 'C', 0);
    panel.SendMessage(WM_KEYDOWN, 'V', 0);
    host::KeyUp(VK_CONTROL);
    ui::PumpUntilIdle();
    EXPECT_EQ(1u, copies());
    panel.DestroyWindow();
    viewer.Detach();
    ::DestroyWindow(hViewer);
}

}  // namespace
}  // namespace media_test
