// Printing: a printer DC, a two-page job recorded page by page and written as a PDF file.
#include <windows.h>

#include <host/Printer.h>

#include <PdfReader.h>
#include <TempDir.h>
#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <string>

namespace {

class Printing : public ::testing::Test {
protected:
    void SetUp() override
    {
        host::PrinterSettings p;
        p.dpi = 100;
        p.paperWidth = 850;
        p.paperHeight = 1100;
        p.marginX = 25;
        p.marginY = 30;
        host::SetPrinter(p);
        host::SetPrintFolder(m_dir.str());
        host::ClearPrintedJobs();
    }
    void TearDown() override
    {
        host::SetPrinter(host::PrinterSettings{});
        host::ClearPrintedJobs();
    }
    TempDir m_dir;
};

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The n-th image stream of a PDF written by the spooler, inflated.
std::string ImageStream(const std::string& pdf, int n)
{
    size_t pos = 0;
    for (int i = 0; i <= n; ++i) {
        pos = pdf.find("/Subtype /Image", pos);
        if (pos == std::string::npos)
            return {};
        pos += 1;
    }
    size_t len = pdf.find("/Length ", pos);
    size_t size = std::stoul(pdf.substr(len + 8));
    size_t start = pdf.find("stream\n", len) + 7;
    std::string out(850 * 1100 * 3, '\0');
    uLongf outLen = uLongf(out.size());
    if (uncompress(reinterpret_cast<Bytef*>(out.data()), &outLen, reinterpret_cast<const Bytef*>(pdf.data() + start),
                   uLong(size)) != Z_OK)
        return {};
    out.resize(outLen);
    return out;
}

TEST_F(Printing, TwoPageJobIsRecordedAndWrittenAsPdf)
{
    HDC dc = CreateDC(nullptr, "Default Printer", nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(GetDeviceCaps(dc, LOGPIXELSY), 100);
    EXPECT_EQ(GetDeviceCaps(dc, HORZRES), 800);
    EXPECT_EQ(GetDeviceCaps(dc, VERTRES), 1040);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 850);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALOFFSETY), 30);
    DOCINFO di{sizeof(DOCINFO), "Article: Moon", nullptr, nullptr, 0};
    int job = StartDoc(dc, &di);
    ASSERT_GT(job, 0);
    ASSERT_GT(StartPage(dc), 0);
    SelectObject(dc, GetStockObject(BLACK_BRUSH));
    Rectangle(dc, 100, 100, 200, 150);
    HFONT f = CreateFont(-40, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
    SelectObject(dc, f);
    TextOut(dc, 100, 300, "Moon", 4);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(StartPage(dc), 0);
    RECT r{0, 0, 10, 10};
    FillRect(dc, &r, HBRUSH(GetStockObject(GRAY_BRUSH)));
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    SelectObject(dc, GetStockObject(SYSTEM_FONT));
    DeleteObject(f);
    DeleteDC(dc);

    auto jobs = host::PrintedJobs();
    ASSERT_EQ(jobs.size(), 1u);
    ASSERT_EQ(jobs[0].pages.size(), 2u);
    EXPECT_EQ(jobs[0].docName, "Article: Moon");
    const host::Surface& p1 = *jobs[0].pages[0];
    EXPECT_EQ(p1.Width(), 800);
    EXPECT_EQ(p1.GetColor(150, 120), RGB(0, 0, 0));
    EXPECT_EQ(p1.GetColor(50, 50), RGB(255, 255, 255));
    int ink = 0;
    for (int y = 300; y < 360; ++y)
        for (int x = 100; x < 220; ++x)
            ink += p1.GetColor(x, y) == RGB(0, 0, 0);
    EXPECT_GT(ink, 200) << "the text is on the page";
    EXPECT_EQ(jobs[0].pages[1]->GetColor(5, 5), RGB(128, 128, 128));

    std::string pdf = ReadFile(jobs[0].file);
    ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
    EXPECT_NE(pdf.find("/Count 2"), std::string::npos);
    EXPECT_NE(pdf.find("/MediaBox [0 0 612.00 792.00]"), std::string::npos);
    EXPECT_NE(pdf.find("%%EOF"), std::string::npos);
    std::string img = ImageStream(pdf, 0);
    ASSERT_EQ(img.size(), size_t(800 * 1040 * 3));
    size_t at = (size_t(120) * 800 + 150) * 3;
    EXPECT_EQ(img[at], 0);
    EXPECT_EQ(BYTE(img[(size_t(50) * 800 + 50) * 3]), 255);
    std::string img2 = ImageStream(pdf, 1);
    EXPECT_EQ(BYTE(img2[0]), 128);
}

TEST_F(Printing, TheWordsOfEachPageLieOverItsImageAsText)
{
    HDC dc = CreateDC(nullptr, "Default Printer", nullptr, nullptr);
    ASSERT_NE(dc, nullptr);
    DOCINFO di{sizeof(DOCINFO), "Words", nullptr, nullptr, 0};
    ASSERT_GT(StartDoc(dc, &di), 0);
    HFONT f = CreateFont(-30, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Times New Roman");
    HGDIOBJ old = SelectObject(dc, f);
    ASSERT_GT(StartPage(dc), 0);
    SetTextAlign(dc, TA_BOTTOM | TA_LEFT);
    TextOut(dc, 100, 200, "Moon (full) \\ rises", 20);
    SetTextAlign(dc, TA_TOP | TA_LEFT);
    RECT r{100, 400, 300, 600};
    DrawText(dc, "Wrapped words of a box", -1, &r, DT_WORDBREAK);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(StartPage(dc), 0);
    TextOut(dc, 50, 50, "Second", 6);
    ASSERT_GT(EndPage(dc), 0);
    ASSERT_GT(EndDoc(dc), 0);
    SelectObject(dc, old);
    DeleteObject(f);
    DeleteDC(dc);

    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    ASSERT_EQ(2u, jobs[0].texts.size());
    const host::PageTexts& words = jobs[0].texts[0];
    ASSERT_GE(words.size(), 4u);
    // Each word on its own, at its pen position, bottom-aligned text on its baseline.
    EXPECT_EQ("Moon", words[0].text);
    EXPECT_EQ(100, words[0].x);
    EXPECT_LT(words[0].baseline, 200);
    EXPECT_GT(words[0].baseline, 180);
    EXPECT_EQ("(full)", words[1].text);
    EXPECT_GT(words[1].x, words[0].x + words[0].width);

    const auto pages = pdf_reader::PageTexts(jobs[0].file);
    ASSERT_EQ(2u, pages.size());
    EXPECT_NE(std::string::npos, pages[0].find("Moon (full) \\ rises")) << pages[0];
    for (const char* w : {"Wrapped", "words", "box"})
        EXPECT_NE(std::string::npos, pages[0].find(w)) << w;
    EXPECT_LT(pages[0].find("rises"), pages[0].find("Wrapped"));
    EXPECT_EQ(std::string::npos, pages[0].find("Second"));
    EXPECT_NE(std::string::npos, pages[1].find("Second"));
}

BOOL CALLBACK Refuse(HDC, int)
{
    return FALSE;
}

TEST_F(Printing, AbortedJobsLeaveNoFile)
{
    HDC dc = CreateDC("WINSPOOL", "Default Printer", nullptr, nullptr);
    DOCINFO di{sizeof(DOCINFO), "Cancelled", nullptr, nullptr, 0};
    ASSERT_GT(StartDoc(dc, &di), 0);
    EXPECT_EQ(StartDoc(dc, &di), SP_ERROR) << "one job at a time";
    StartPage(dc);
    EXPECT_GT(AbortDoc(dc), 0);
    EXPECT_EQ(EndPage(dc), SP_ERROR);
    ASSERT_GT(StartDoc(dc, &di), 0);
    SetAbortProc(dc, Refuse);
    StartPage(dc);
    EXPECT_EQ(EndPage(dc), SP_APPABORT);
    EXPECT_EQ(EndDoc(dc), SP_ERROR);
    DeleteDC(dc);
    EXPECT_TRUE(host::PrintedJobs().empty());
    EXPECT_TRUE(std::filesystem::is_empty(m_dir.path()));
    EXPECT_EQ(CreateDC(nullptr, "No Such Printer", nullptr, nullptr), nullptr);
}

TEST_F(Printing, DevModeChoosesPaperAndOrientation)
{
    DEVMODE dm{};
    dm.dmSize = sizeof dm;
    dm.dmFields = DM_ORIENTATION | DM_PAPERSIZE;
    dm.dmOrientation = DMORIENT_LANDSCAPE;
    dm.dmPaperSize = DMPAPER_A4;
    HDC dc = CreateDC(nullptr, "Default Printer", nullptr, &dm);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALWIDTH), 1169);
    EXPECT_EQ(GetDeviceCaps(dc, PHYSICALHEIGHT), 827);
    HDC ic = CreateIC(nullptr, "Default Printer", nullptr, nullptr);
    EXPECT_EQ(GetDeviceCaps(ic, PHYSICALWIDTH), 850);
    // Measuring works on the printer without a page.
    SIZE sz{};
    EXPECT_TRUE(GetTextExtentPoint32(ic, "abc", 3, &sz));
    EXPECT_GT(sz.cx, 0);
    DeleteDC(ic);
    DeleteDC(dc);
}

} // namespace
