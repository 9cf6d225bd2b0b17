// The picture window: the full picture from the archive with the search's hot-spot frames, its
// scroll bars, the status texts and openings of the hot spots, printing and copying.
#include "MediaTestSupport.h"

#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/RomLinkTable.h"
#include "base/VLMessages.h"
#include "media/GrfPictureWin.h"
#include "media/MediaDisplayRef.h"
#include "widgets/Dib.h"

#include <RomLinkWriter.h>
#include <host/Clipboard.h>
#include <host/Display.h>
#include <host/Printer.h>
#include <host/Surface.h>

#include <PdfReader.h>

#include <zlib.h>

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

    // The rich picture with search hits: hot spots 1 and 2 (section 220), the caption (221).
    void Open(BOOL bWithHits, int cx = 100, int cy = 80)
    {
        std::unique_ptr<CReference> ref(PlacedReference(1001002, REFKIND_PICTURE, 1, m_nBlock));
        if (bWithHits) {
            auto* pHits = new CHitList;
            pHits->AddHit(CHitPosition(GRF_SECTION_HOTSPOTS, 0, 2));
            pHits->AddHit(CHitPosition(GRF_SECTION_CAPTION, 0, 4));
            ref->SetData(pHits);
        }
        document = std::make_unique<CGrfDocument>();
        ASSERT_TRUE(document->Load(ref.get(), TRUE));
        window = std::make_unique<CGrfPictureWin>(PALETTERGB(255, 255, 255), PALETTERGB(195, 176, 108));
        ASSERT_TRUE(window->Create(&frame, cx, cy, document.get(), FALSE, TRUE));
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
    CGrfDocument::CloseArchive();
    const LONG block = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
    std::unique_ptr<CReference> ref(PlacedReference(1001001, REFKIND_PICTURE, 1, block));
    document = std::make_unique<CGrfDocument>();
    ASSERT_TRUE(document->Load(ref.get(), TRUE));
    window = std::make_unique<CGrfPictureWin>(PALETTERGB(255, 255, 255), PALETTERGB(0, 0, 0));
    ASSERT_TRUE(window->Create(&frame, 100, 40, document.get(), TRUE, FALSE));
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

}  // namespace
}  // namespace media_test
