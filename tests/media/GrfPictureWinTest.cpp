// The picture window: the full picture from the archive with the search's hot-spot frames, its
// scroll bars, the status texts and openings of the hot spots, printing and copying.
#include "MediaTestSupport.h"

#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/RomLinkTable.h"
#include "base/VLMessages.h"
#include "media/DetailCaptionBox.h"

#include <richedit.h>
#include "media/GrfPictureWin.h"
#include "media/MediaDisplayRef.h"
#include "media/QTAudioWin.h"
#include "widgets/Dib.h"

#include <RomLinkWriter.h>
#include <host/Clipboard.h>
#include <host/Display.h>
#include <host/Printer.h>
#include <host/Surface.h>

#include <PdfReader.h>

#include <zlib.h>

#include <mmsystem.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <memory>

namespace media_test {
namespace {

const COLORREF kRed = RGB(220, 30, 30);
const COLORREF kBlue = RGB(20, 40, 200);

// A top-level window that records the messages posted to it (the main window and top-level
// parent of the picture window).
class CRecordingFrame : public CWnd {
public:
    struct Posted {
        UINT message;
        WPARAM wParam;
        CString text;     // VLM_STATUS_TEXT: the text (empty: cleared)
        BOOL cleared = FALSE;
        LONG number = 0;  // the opened item
    };
    std::vector<Posted> posted;

    BOOL CreateFrame()
    {
        return CreateEx(0, AfxRegisterWndClass(0), "Frame", WS_POPUP | WS_VISIBLE, CRect(0, 0, 600, 400), NULL, 0);
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_STATUS_TEXT) {
            auto* pText = reinterpret_cast<CString*>(lParam);
            posted.push_back({message, wParam, pText != NULL ? *pText : CString(), pText == NULL});
            delete pText;
            return 0;
        }
        if (message == VLM_OPEN_WINDOW) {
            std::unique_ptr<CReference> ref(reinterpret_cast<CReference*>(lParam));
            posted.push_back({message, wParam, ref->GetTitle(), FALSE, ref->GetNumber()});
            return 0;
        }
        if (message == VLM_POST_TO_WINDOW) {
            std::unique_ptr<CMediaDisplayRef> display(reinterpret_cast<CMediaDisplayRef*>(lParam));
            posted.push_back({message, wParam, display->m_strTitle, FALSE, display->GetReference()->GetNumber()});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

using pdf_reader::PdfImage;

class GrfPictureWinTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(frame.CreateFrame());
        AfxGetApp()->m_pMainWnd = &frame;
        m_nBlock = WriteArchive({discbuilder::WriteGrfRecord(RichPicture())})[0];
        host::SetPrintFolder((dir.path() / "print").string());
        host::ClearPrintedJobs();
    }
    void TearDown() override
    {
        window.reset();
        document.reset();
        AfxGetApp()->m_pMainWnd = NULL;
        frame.DestroyWindow();
        host::ResetClipboard();
        host::SetPrintFolder("");
        MediaTest::TearDown();
    }

    // A search's hits carried by the reference (none: no hit list).
    static void AttachHits(CReference* pRef, const std::vector<CHitPosition>& hits)
    {
        if (hits.empty())
            return;
        auto* pHits = new CHitList;
        for (const CHitPosition& hit : hits)
            pHits->AddHit(hit);
        pRef->SetData(pHits);
    }

    // The rich picture with search hits: hot spots 1 and 2 (section 220), the caption (221).
    void Open(BOOL bWithHits, int cx = 100, int cy = 80)
    {
        std::vector<CHitPosition> hits;
        if (bWithHits)
            hits = {CHitPosition(GRF_SECTION_HOTSPOTS, 0, 2), CHitPosition(GRF_SECTION_CAPTION, 0, 4)};
        OpenWithHits(hits, cx, cy);
    }
    void OpenWithHits(const std::vector<CHitPosition>& hits, int cx, int cy,
                      std::unique_ptr<CGrfPictureWin> pWindow = nullptr)
    {
        std::unique_ptr<CReference> ref(PlacedReference(1001002, REFKIND_PICTURE, 1, m_nBlock));
        AttachHits(ref.get(), hits);
        document = std::make_unique<CGrfDocument>();
        ASSERT_TRUE(document->Load(ref.get(), TRUE));
        window = pWindow != nullptr ? std::move(pWindow)
                                    : std::make_unique<CGrfPictureWin>(PALETTERGB(255, 255, 255),
                                                                       PALETTERGB(195, 176, 108));
        ASSERT_TRUE(window->Create(&frame, cx, cy, document.get(), FALSE, TRUE));
        window->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
    }

    // Writes a record alone into the archive, loads it as an item of a kind with search hits,
    // and shows it in a new window (white ground) of the size.
    void OpenRecord(const GrfRecordSource& s, int cx, int cy, BOOL bBigMap, BOOL bBorderless,
                    const std::vector<CHitPosition>& hits = {}, LONG nNumber = 1001001, LONG nKind = REFKIND_PICTURE)
    {
        CGrfDocument::CloseArchive();
        const LONG block = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
        std::unique_ptr<CReference> ref(PlacedReference(nNumber, nKind, 1, block));
        AttachHits(ref.get(), hits);
        document = std::make_unique<CGrfDocument>();
        ASSERT_TRUE(document->Load(ref.get(), TRUE));
        window = std::make_unique<CGrfPictureWin>(PALETTERGB(255, 255, 255), PALETTERGB(0, 0, 0));
        ASSERT_TRUE(window->Create(&frame, cx, cy, document.get(), bBigMap, bBorderless));
        window->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
    }

    COLORREF Pixel(int x, int y) const
    {
        CPoint pt(x, y);
        window->ClientToScreen(&pt);
        return host::DesktopPixel(pt.x, pt.y);
    }

    void Screenshot(const std::string& name) const
    {
        CRect rc;
        window->GetWindowRect(&rc);
        const std::string png = (dir.path() / name).string();
        EXPECT_TRUE(host::SaveDesktopPng(png, &rc));
        if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    }

    CRecordingFrame frame;
    std::unique_ptr<CGrfDocument> document;
    std::unique_ptr<CGrfPictureWin> window;
    LONG m_nBlock = 0;
};

TEST_F(GrfPictureWinTest, PictureIsDrawnWithTheSearchedHotSpotsFramed)
{
    Open(TRUE, 300, 200);
    ASSERT_NE(nullptr, window->GetPicture());
    CRect rc;
    window->GetWindowRect(&rc);
    EXPECT_EQ(CSize(160, 120), rc.Size()) << "the window takes the picture's size";
    Screenshot("picture-window-frames.png");

    // Hot spots 1 (10,10)-(50,40) and 2 (60,10)-(90,40) are framed in red, hot spot 3 is not.
    EXPECT_EQ(RGB(255, 0, 0), Pixel(10, 25));
    EXPECT_EQ(RGB(255, 0, 0), Pixel(30, 10));
    EXPECT_EQ(RGB(255, 0, 0), Pixel(49, 39));
    EXPECT_EQ(RGB(255, 0, 0), Pixel(60, 20));
    EXPECT_EQ(RGB(255, 0, 0), Pixel(89, 20));
    EXPECT_NE(RGB(255, 0, 0), Pixel(100, 20));
    EXPECT_EQ(kBlue, Pixel(0, 0)) << "the picture's own frame";
    const COLORREF inside = Pixel(30, 25);
    EXPECT_TRUE(inside == kRed || inside == RGB(250, 250, 250)) << std::hex << inside;
}

TEST_F(GrfPictureWinTest, WithoutHitsNothingIsFramedAndCaptionHitsFrameNothing)
{
    Open(FALSE, 300, 200);
    EXPECT_NE(RGB(255, 0, 0), Pixel(10, 25));
    EXPECT_NE(RGB(255, 0, 0), Pixel(30, 10));
}

TEST_F(GrfPictureWinTest, ScrollBarsAppearInASmallWindowAndScrollingMovesTheOrigin)
{
    Open(FALSE);
    window->SetWindowPos(NULL, 0, 0, 100, 80, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    EXPECT_TRUE(window->GetStyle() & WS_VSCROLL);
    EXPECT_TRUE(window->GetStyle() & WS_HSCROLL);
    CRect client;
    window->GetClientRect(&client);
    const int maxV = 120 - client.Height();
    const int maxH = 160 - client.Width();

    const struct {
        UINT bar;
        UINT code;
        int pos;
        int expected;
    } cases[] = {
        {WM_VSCROLL, SB_LINEDOWN, 0, 10},   {WM_VSCROLL, SB_PAGEDOWN, 0, maxV}, {WM_VSCROLL, SB_LINEUP, 0, maxV - 10},
        {WM_VSCROLL, SB_TOP, 0, 0},         {WM_VSCROLL, SB_THUMBTRACK, 7, 7}, {WM_VSCROLL, SB_BOTTOM, 0, maxV},
        {WM_HSCROLL, SB_LINERIGHT, 0, 10},  {WM_HSCROLL, SB_PAGERIGHT, 0, maxH}, {WM_HSCROLL, SB_LEFT, 0, 0},
        {WM_HSCROLL, SB_THUMBPOSITION, 33, 33}, {WM_HSCROLL, SB_RIGHT, 0, maxH}, {WM_HSCROLL, SB_PAGELEFT, 0, 0},
    };
    for (const auto& c : cases) {
        window->SendMessage(c.bar, MAKEWPARAM(c.code, c.pos), 0);
        const CPoint origin = window->GetOrigin();
        EXPECT_EQ(-c.expected, c.bar == WM_VSCROLL ? origin.y : origin.x) << c.bar << " " << c.code;
        EXPECT_EQ(c.expected, window->GetScrollPos(c.bar == WM_VSCROLL ? SB_VERT : SB_HORZ));
    }
    // Scrolled to the far corner, the picture's bottom-right pixel is at the client's.
    window->SendMessage(WM_VSCROLL, SB_BOTTOM, 0);
    window->SendMessage(WM_HSCROLL, SB_RIGHT, 0);
    ui::PumpUntilIdle();
    EXPECT_EQ(kBlue, Pixel(client.Width() - 1, client.Height() - 1));
    Screenshot("picture-window-scrolled.png");
}

TEST_F(GrfPictureWinTest, CalcWindowSizeAddsBarsOnlyWhereNeeded)
{
    Open(FALSE);
    const int v = CVLScrollWnd::GetVScrollBarWidth();
    const int b = CVLScrollWnd::GetHScrollBarHeight();
    EXPECT_EQ(CSize(160, 120), window->CalcWindowSize(500, 500));
    EXPECT_EQ(CSize(100, 120 + b), window->CalcWindowSize(100, 500));
    EXPECT_EQ(CSize(160 + v, 90), window->CalcWindowSize(500, 90));
    // Only the horizontal bar, but it pushes the height past the maximum: both bars.
    EXPECT_EQ(CSize(100, 125), window->CalcWindowSize(100, 125));
    EXPECT_EQ(CSize(100, 90), window->CalcWindowSize(100, 90));
}

TEST_F(GrfPictureWinTest, MouseOverHotSpotsTellsTheStatusOnceAndClicksOpenItems)
{
    Open(FALSE, 300, 200);
    auto move = [&](int x, int y) {
        window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, y));
        ui::PumpUntilIdle();
    };
    // The link (to an unplaced item: no kind) and the sound: the status is cleared each time.
    move(20, 20);
    EXPECT_EQ(1, window->GetHotSpotUnderMouse());
    EXPECT_EQ(window.get(), CWnd::GetCapture());
    move(110, 20);
    EXPECT_EQ(3, window->GetHotSpotUnderMouse());
    move(150, 100);
    EXPECT_EQ(0, window->GetHotSpotUnderMouse());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    move(151, 101);
    ASSERT_EQ(2u, frame.posted.size()) << "leaving a hot spot clears only when something was shown";
    EXPECT_TRUE(frame.posted[0].cleared);
    EXPECT_TRUE(frame.posted[1].cleared);

    // A click on the link of an unplaced item opens nothing; off the hot spots nothing happens.
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(20, 20));
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(150, 100));
    ui::PumpUntilIdle();
    EXPECT_EQ(2u, frame.posted.size());

    // Sounds turned off: the reader is told.
    ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, "DSC", "Y", "T:\\vl00i1se.ini"));
    host::AnswerNextMessageBox(IDOK);
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(110, 20));
    EXPECT_EQ(std::vector<std::string>{"Sounds have been disabled."}, NewBoxes());
}

TEST_F(GrfPictureWinTest, ArticleMapAndPictureLinksShowTheirStatusAndOpenTheirViews)
{
    // A content index that places an article, a map and a picture, so that the hot spots'
    // references know their kinds.
    InstallRomLink({{1002, 1, 0, 0, 1, 0, 1}, {1001003, 1, 3, 0, 1, 0, 1}, {3000001, 1, 6, 0, 1, 0, 1}});

    GrfRecordSource s;
    s.title = "links";
    s.hotSpots = {{0, 0, 20, 20, GrfHotSpotKind::Link, 1002}, {30, 0, 50, 20, GrfHotSpotKind::Link, 3000001},
                  {60, 0, 80, 20, GrfHotSpotKind::Link, 1001003}};
    s.previewGif = TestGif(4, 4);
    s.fullGif = TestGif(100, 40);
    OpenRecord(s, 100, 40, TRUE, FALSE);
    CString name;
    window->GetWindowText(name);
    EXPECT_STREQ("Big Map", name);

    for (int x : {10, 40, 70, 95}) {
        window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(x, 10));
        window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(x, 10));
    }
    ui::PumpUntilIdle();
    ASSERT_EQ(6u, frame.posted.size()) << "after a picture link the status is clear already";
    EXPECT_STREQ("Link to article", frame.posted[0].text);
    EXPECT_EQ(static_cast<UINT>(VLM_OPEN_WINDOW), frame.posted[1].message);
    EXPECT_EQ(static_cast<WPARAM>(IDW_ARTICLE), frame.posted[1].wParam);
    EXPECT_EQ(1002, frame.posted[1].number);
    EXPECT_STREQ("Link to map", frame.posted[2].text);
    EXPECT_EQ(static_cast<WPARAM>(IDW_ATLAS), frame.posted[3].wParam);
    EXPECT_EQ(3000001, frame.posted[3].number);
    EXPECT_TRUE(frame.posted[4].cleared) << "a picture link shows no status text";
    EXPECT_EQ(static_cast<UINT>(VLM_POST_TO_WINDOW), frame.posted[5].message);
    EXPECT_EQ(static_cast<WPARAM>(IDW_MEDIA), frame.posted[5].wParam);
    EXPECT_EQ(1001003, frame.posted[5].number);
    EXPECT_STREQ("Media", frame.posted[5].text);
}

TEST_F(GrfPictureWinTest, PrintingPutsTitlePictureAndTextsOnOnePage)
{
    Open(FALSE, 300, 200);
    host::CancelCommonDialog("print");
    window->Print();
    EXPECT_TRUE(host::PrintedJobs().empty());
    host::AnswerCommonDialog("print", "");
    window->Print();
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Veltra Atlas", jobs[0].docName);
    ASSERT_EQ(1u, jobs[0].pages.size());

    // Read the page back from the PDF: the picture is fitted to the page width between the
    // margins, centred, its red body and blue frame kept.
    int w = 0, h = 0;
    const std::string pixels = PdfImage(ReadHostFile(jobs[0].file), 0, w, h);
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(jobs[0].pages[0]->Width(), w);
    auto at = [&](int x, int y) {
        const std::size_t i = (static_cast<std::size_t>(y) * static_cast<std::size_t>(w) + static_cast<std::size_t>(x)) * 3;
        return RGB(static_cast<BYTE>(pixels[i]), static_cast<BYTE>(pixels[i + 1]), static_cast<BYTE>(pixels[i + 2]));
    };
    // Find the picture's blue frame along the middle row of the page.
    int left = -1, right = -1, top = -1;
    const int midX = w / 2;
    for (int y = 0; y < h && top < 0; ++y)
        if (at(midX, y) == kBlue)
            top = y;
    ASSERT_GT(top, 100) << "the title comes first";
    const int rowY = top + 20;
    for (int x = 0; x < w; ++x)
        if (at(x, rowY) == kBlue) {
            if (left < 0)
                left = x;
            right = x;
        }
    const int fitted = right - left + 1;
    EXPECT_NEAR(w - 200, fitted, 10) << "fitted to the page width less the margins";
    EXPECT_NEAR(w / 2, (left + right) / 2, 10) << "centred";
    EXPECT_EQ(kRed, at(left + fitted / 3, rowY + 40));
    // Ink above the picture (the title) and below it (caption and credit).
    auto inkIn = [&](int y0, int y1) {
        for (int y = std::max(y0, 0); y < std::min(y1, h); ++y)
            for (int x = 0; x < w; x += 2)
                if (at(x, y) != RGB(255, 255, 255))
                    return true;
        return false;
    };
    EXPECT_TRUE(inkIn(50, top - 10));
    const int bottom = top + fitted * 120 / 160;
    EXPECT_TRUE(inkIn(bottom + 20, h));
}

TEST_F(GrfPictureWinTest, CopyPutsThePictureWithItsCreditAndAPalette)
{
    Open(FALSE, 300, 200);
    window->CopyToClipboard();
    ASSERT_TRUE(::OpenClipboard(NULL));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_BITMAP));
    EXPECT_TRUE(::IsClipboardFormatAvailable(CF_PALETTE));
    auto hBitmap = static_cast<HBITMAP>(::GetClipboardData(CF_BITMAP));
    auto hPalette = static_cast<HPALETTE>(::GetClipboardData(CF_PALETTE));
    ASSERT_NE(nullptr, hBitmap);
    ASSERT_NE(nullptr, hPalette);
    BITMAP bm{};
    ASSERT_TRUE(::GetObject(hBitmap, sizeof(bm), &bm));
    EXPECT_EQ(160, bm.bmWidth);
    EXPECT_GT(bm.bmHeight, 120 + 4) << "a band of text below the picture";
    EXPECT_GE(::GetPaletteEntries(hPalette, 0, 0, NULL), 4u) << "the picture's colours at least";
    auto surface = host::SurfaceOfBitmap(hBitmap);
    ASSERT_NE(nullptr, surface);
    EXPECT_EQ(kBlue, surface->GetColor(0, 0));
    bool ink = false;
    for (int y = 121; y < bm.bmHeight && !ink; ++y)
        for (int x = 0; x < bm.bmWidth; ++x)
            if (surface->GetColor(x, y) != RGB(255, 255, 255)) {
                ink = true;
                break;
            }
    EXPECT_TRUE(ink) << "the credit line is written in the band";
    const std::string png = (dir.path() / "picture-copy.png").string();
    EXPECT_TRUE(surface->WritePng(png));
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        std::filesystem::copy_file(png, std::filesystem::path(keep) / "picture-copy.png",
                                   std::filesystem::copy_options::overwrite_existing);
    ::CloseClipboard();
}

// A picture window whose hot-spot sound can be marked as playing, as a movie library that plays
// it would leave it.
class CPlayingPictureWin : public CGrfPictureWin {
public:
    CPlayingPictureWin() : CGrfPictureWin(PALETTERGB(255, 255, 255), PALETTERGB(0, 0, 0)) {}
    void MarkPlaying()
    {
        m_bSoundPlaying = TRUE;
        SetCapture();
    }
};

TEST_F(GrfPictureWinTest, LabelHotSpotsPopUpTheirTextUnderTheSpotKeptInsideTheWindow)
{
    // A large map with four labels: near the top left, the bottom middle, the bottom left and
    // the top right of a window smaller than the map.
    GrfRecordSource s;
    s.title = "labels";
    s.sections = {{0, "Top left"}, {0, "Bottom middle"}, {0, "Bottom left"}, {0, "Top right"}};
    s.hotSpots = {{60, 10, 90, 40, GrfHotSpotKind::Label, 0},
                  {300, 250, 380, 280, GrfHotSpotKind::Label, 0},
                  {20, 250, 60, 280, GrfHotSpotKind::Label, 0},
                  {350, 10, 380, 40, GrfHotSpotKind::Label, 0}};
    s.previewGif = TestGif(8, 8);
    s.fullGif = TestGif(600, 400);
    OpenRecord(s, 400, 300, FALSE, TRUE);
    window->SetWindowPos(NULL, 0, 0, 400, 300, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    CRect client;
    window->GetClientRect(&client);
    ASSERT_LT(client.Height(), 300) << "the map needs its scroll bars";
    auto boxRect = [&]() {
        CRect rc;
        window->GetLabelBox()->GetWindowRect(&rc);
        window->ScreenToClient(&rc);
        return rc;
    };
    const int up = client.bottom - 100;  // a box moved up to the client's bottom
    const struct {
        const char* what;
        CPoint click;
        CPoint topLeft;
        const char* text;
    } cases[] = {
        {"under the spot", {75, 20}, {60, 40}, "Top left"},
        {"up, and left of the spot by its width", {340, 260}, {300 - 250, up}, "Bottom middle"},
        {"up, and right of the spot", {40, 260}, {20 - 250 + 250 + 90, up}, "Bottom left"},
        {"pulled in from the right edge", {360, 20}, {client.right - 250, 40}, "Top right"},
    };
    for (const auto& c : cases) {
        window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(c.click.x, c.click.y));
        ui::PumpUntilIdle();
        CDetailCaptionBox* box = window->GetLabelBox();
        ASSERT_NE(nullptr, box) << c.what;
        EXPECT_EQ(CRect(c.topLeft, CSize(250, 100)), boxRect()) << c.what;
        EXPECT_EQ(0, box->GetText().Find(c.text)) << static_cast<LPCSTR>(box->GetText());
        EXPECT_EQ(1, box->GetDlgCtrlID());
        EXPECT_TRUE(box->IsWindowVisible());
        EXPECT_EQ(window.get(), box->GetParent());
    }
    // Scrolled, the box follows the spot.
    window->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5), 0);
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(75, 20));
    ui::PumpUntilIdle();
    ASSERT_NE(nullptr, window->GetLabelBox());
    EXPECT_EQ(CPoint(60, 40 - 5), boxRect().TopLeft());
    Screenshot("picture-window-label.png");
    // The box asks for another size (EN_REQUESTRESIZE through its parent, which reflects it):
    // it takes that size where it stands.
    {
        CDetailCaptionBox* box = window->GetLabelBox();
        const CPoint at = boxRect().TopLeft();
        REQRESIZE request{};
        request.nmhdr.hwndFrom = box->GetSafeHwnd();
        request.nmhdr.idFrom = static_cast<UINT_PTR>(box->GetDlgCtrlID());
        request.nmhdr.code = EN_REQUESTRESIZE;
        request.rc = CRect(500, 500, 500 + 180, 500 + 64);
        window->SendMessage(WM_NOTIFY, static_cast<WPARAM>(box->GetDlgCtrlID()), reinterpret_cast<LPARAM>(&request));
        EXPECT_EQ(CRect(at, CSize(180, 64)), boxRect());
    }

    // A click off the labels takes the box down, and so does resizing.
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(200, 150));
    EXPECT_EQ(nullptr, window->GetLabelBox());
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(75, 20));
    ASSERT_NE(nullptr, window->GetLabelBox());
    window->SetWindowPos(NULL, 0, 0, 380, 280, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    EXPECT_EQ(nullptr, window->GetLabelBox()) << "resizing takes the box down";
}

TEST_F(GrfPictureWinTest, SearchHitsInALabelTextPopItUpWhenThePictureIsShown)
{
    const struct {
        const char* what;
        std::vector<CHitPosition> hits;
        bool popped;
    } cases[] = {
        {"a hit in the label's text", {CHitPosition(GRF_SECTION_HOTSPOTS, 0, 1), CHitPosition(225, 0, 5)}, true},
        {"a hit in the picture's own text section", {CHitPosition(223, 0, 7)}, false},
        {"caption hits", {CHitPosition(GRF_SECTION_CAPTION, 0, 4), CHitPosition(222, 0, 4)}, false},
    };
    for (const auto& c : cases) {
        window.reset();
        OpenWithHits(c.hits, 300, 200);
        CDetailCaptionBox* box = window->GetLabelBox();
        EXPECT_EQ(c.popped, box != nullptr) << c.what;
        if (box != nullptr) {
            EXPECT_EQ(0, box->GetText().Find("<RED>Label</RED> of the crater")) << static_cast<LPCSTR>(box->GetText());
        }
    }
}

TEST_F(GrfPictureWinTest, SoundHotSpotPlaysItsFileInASoundWindow)
{
    Open(FALSE, 300, 200);
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(110, 20));
    ui::PumpUntilIdle();
    CQTAudioWin* sound = window->GetSoundWindow();
    ASSERT_NE(nullptr, sound);
    CString folder;
    ASSERT_TRUE(GetDataDir(folder, DDT_SOUND, 1, FALSE));
    EXPECT_STREQ(folder + "AU000077.mov", sound->GetPath());
    EXPECT_EQ(window.get(), sound->GetParent());
    EXPECT_EQ(1, sound->GetDlgCtrlID());
    EXPECT_FALSE(sound->IsWindowVisible());
    EXPECT_EQ(sound->IsPlaying(), window->IsSoundPlaying()) << "playing exactly when the sound window plays";
    EXPECT_EQ(window.get(), CWnd::GetCapture()) << "the next click stops the sound";
    EXPECT_EQ(::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(CGrfPictureWin::cursorSound)), ::GetCursor());

    // The next sound replaces the window; a click while one plays only stops it.
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(110, 20));
    ASSERT_NE(nullptr, window->GetSoundWindow());
    EXPECT_STREQ(folder + "AU000077.mov", window->GetSoundWindow()->GetPath());
    window.reset();  // the sound window goes with the picture window
}

TEST_F(GrfPictureWinTest, WhileASoundPlaysTheMouseOnlyStopsItAndTheEndOfTheSoundFreesTheMouse)
{
    OpenWithHits({}, 300, 200, std::make_unique<CPlayingPictureWin>());
    auto* playing = static_cast<CPlayingPictureWin*>(window.get());

    // The end of the sound (MM_MCINOTIFY successful or failed) frees the mouse; superseded (2)
    // and aborted (4) notices do not.
    const struct {
        WPARAM code;
        bool ends;
    } notices[] = {{MCI_NOTIFY_SUCCESSFUL, true}, {MCI_NOTIFY_FAILURE, true}, {MCI_NOTIFY_SUPERSEDED, false},
                   {MCI_NOTIFY_ABORTED, false}};
    for (const auto& n : notices) {
        playing->MarkPlaying();
        window->SendMessage(MM_MCINOTIFY, n.code, 0);
        EXPECT_EQ(!n.ends, window->IsSoundPlaying()) << n.code;
        EXPECT_EQ(n.ends ? nullptr : window.get(), CWnd::GetCapture()) << n.code;
    }

    // Moving over a link while a sound plays tells nothing; a click on the label only stops the
    // sound.
    playing->MarkPlaying();
    window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(0, window->GetHotSpotUnderMouse());
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(75, 20));
    ui::PumpUntilIdle();
    EXPECT_FALSE(window->IsSoundPlaying());
    EXPECT_EQ(nullptr, CWnd::GetCapture());
    EXPECT_EQ(nullptr, window->GetLabelBox());
    EXPECT_TRUE(frame.posted.empty());
    // Now the same click pops the label up.
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(75, 20));
    EXPECT_NE(nullptr, window->GetLabelBox());
}

TEST_F(GrfPictureWinTest, HotSpotCursorsAreTheProgramsOwn)
{
    InstallRomLink({{1002, 1, 0, 0, 1, 0, 1}, {3000001, 1, 6, 0, 1, 0, 1}});
    GrfRecordSource s;
    s.title = "cursors";
    s.hotSpots = {{0, 0, 20, 20, GrfHotSpotKind::Link, 1002},
                  {30, 0, 50, 20, GrfHotSpotKind::Link, 3000001},
                  {60, 0, 80, 20, GrfHotSpotKind::Sound, 5}};
    s.previewGif = TestGif(4, 4);
    s.fullGif = TestGif(100, 40);
    OpenRecord(s, 100, 40, FALSE, FALSE);

    const struct {
        int x;
        UINT cursor;
    } cases[] = {{10, CGrfPictureWin::cursorArticle}, {40, CGrfPictureWin::cursorMap},
                 {70, CGrfPictureWin::cursorOther}};
    for (const auto& c : cases) {
        window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(c.x, 10));
        const HCURSOR expected = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(c.cursor));
        ASSERT_NE(nullptr, expected) << "cursor " << c.cursor << " is among the program's resources";
        EXPECT_EQ(expected, ::GetCursor()) << c.cursor;
    }
    // The cursors side by side (article, map, other, sound playing) for a look.
    window->SetWindowPos(NULL, 0, 0, 170, 40, SWP_NOMOVE | SWP_NOZORDER);
    ui::PumpUntilIdle();
    CClientDC dc(window.get());
    dc.FillSolidRect(0, 0, 170, 40, RGB(90, 140, 90));
    int x = 4;
    for (UINT id : {CGrfPictureWin::cursorArticle, CGrfPictureWin::cursorMap, CGrfPictureWin::cursorOther,
                    CGrfPictureWin::cursorSound}) {
        ::DrawIcon(dc.GetSafeHdc(), x, 0, ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(id)));
        x += 40;
    }
    Screenshot("picture-window-cursors.png");
}

TEST_F(GrfPictureWinTest, ASoundItemShowsTheSoundPictureAndIgnoresTheMouse)
{
    GrfRecordSource s = RichPicture();
    s.mediaNumber = 6000012;
    OpenRecord(s, 300, 200, FALSE, TRUE, {CHitPosition(GRF_SECTION_HOTSPOTS, 0, 2), CHitPosition(225, 0, 5)},
               6000012, REFKIND_SOUND);
    ASSERT_TRUE(window->IsShowingSoundItem());
    ASSERT_NE(nullptr, window->GetPicture()) << "the sound picture comes from the program's resources";
    EXPECT_EQ(240, window->GetPicture()->GetWidth());
    CRect rc;
    window->GetWindowRect(&rc);
    EXPECT_EQ(CSize(300, 200), rc.Size()) << "a sound item keeps the window's size";
    EXPECT_EQ(nullptr, window->GetLabelBox()) << "no label pops up over a sound item";
    EXPECT_NE(RGB(255, 0, 0), Pixel(10, 25)) << "no hot-spot frames";
    window->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(20, 20));
    window->SendMessage(WM_LBUTTONDOWN, 0, MAKELPARAM(110, 20));
    EXPECT_EQ(0, window->GetHotSpotUnderMouse());
    EXPECT_EQ(nullptr, window->GetSoundWindow());
    EXPECT_FALSE(window->GetStyle() & (WS_VSCROLL | WS_HSCROLL)) << "nothing to scroll";
    Screenshot("picture-window-sound-item.png");

    // Shown in place of a picture, the sound picture replaces it on the screen.
    CGrfDocument::CloseArchive();
    const LONG pictureBlock = WriteArchive({discbuilder::WriteGrfRecord(RichPicture())})[0];
    std::unique_ptr<CReference> pictureRef(PlacedReference(1001002, REFKIND_PICTURE, 1, pictureBlock));
    CGrfDocument picture;
    ASSERT_TRUE(picture.Load(pictureRef.get(), TRUE));
    window->SetDocument(&picture, TRUE);
    ui::PumpUntilIdle();
    const CPoint corner = window->GetOrigin();
    ASSERT_EQ(kBlue, Pixel(corner.x, corner.y)) << "the picture's frame";
    window->SetDocument(document.get(), TRUE);
    ui::PumpUntilIdle();
    EXPECT_NE(kBlue, Pixel(corner.x, corner.y)) << "the sound picture is drawn over it";
    window->SetDocument(NULL, TRUE);
}

}  // namespace
}  // namespace media_test
