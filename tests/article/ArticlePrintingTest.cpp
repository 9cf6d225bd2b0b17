// Printing from the article view, read back from the PDF files the print spooler writes: an
// article of several pages (header, title, page labels, footer, every word in order), a paragraph
// longer than the print buffer, the scopes and the page-limit settings, a picture scaled and
// centred on the page (and left out with "DGP"), a cancelled dialog; the outline and the
// related list with their titles, levels, wrapping and page limit, through the view's print
// command.
#include "ArticleViewTestSupport.h"
#include "article/ArticleMainWin.h"
#include "article/ArticleOutlineTabWin.h"
#include "article/ArticlePageWin.h"
#include "article/ArticlePrinter.h"
#include "article/RelatedArticlesTabWin.h"
#include "base/AppHost.h"
#include "base/DataFolders.h"
#include "base/HiliteRecordSet.h"
#include "base/VLMessages.h"

#include <GifWriter.h>
#include <SampleDisc.h>
#include <PdfReader.h>
#include <host/Printer.h>
#include <host/UiScript.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <vector>

namespace article_test {
namespace {

using namespace discbuilder;

// A word of the article that can be found again: "w" and four digits.
std::string Word(int n)
{
    char buf[8];
    std::snprintf(buf, sizeof buf, "w%04d", n);
    return buf;
}

std::string Words(int from, int count)
{
    std::string text;
    for (int i = from; i < from + count; ++i)
        text += (text.empty() ? "" : " ") + Word(i);
    return text;
}

// Every word from..from+count appears in the text, in order.
::testing::AssertionResult AllWordsInOrder(const std::string& text, int from, int count)
{
    std::size_t at = 0;
    for (int i = from; i < from + count; ++i) {
        const std::size_t found = text.find(Word(i), at);
        if (found == std::string::npos)
            return ::testing::AssertionFailure() << Word(i) << " missing or out of order";
        at = found + 5;
    }
    return ::testing::AssertionSuccess();
}

// A page image read back from a PDF: the pixels of page n.
struct PageImage {
    int w = 0, h = 0;
    std::string rgb;
    PageImage(const std::string& file, int n) { rgb = pdf_reader::PdfImage(pdf_reader::ReadFile(file), n, w, h); }
    bool Dark(int x, int y) const
    {
        if (x < 0 || y < 0 || x >= w || y >= h)
            return false;
        const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) + (static_cast<std::size_t>(y) * w + x) * 3;
        return p[0] < 100 && p[1] < 100 && p[2] < 100;
    }
    bool Painted(int x, int y) const
    {
        const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) + (static_cast<std::size_t>(y) * w + x) * 3;
        return p[0] < 200 || p[1] < 200 || p[2] < 200;
    }
    bool Red(int x, int y) const
    {
        const auto* p = reinterpret_cast<const unsigned char*>(rgb.data()) + (static_cast<std::size_t>(y) * w + x) * 3;
        return p[0] > 150 && p[1] < 80 && p[2] < 80;
    }
    int CountRed() const
    {
        int n = 0;
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                n += Red(x, y) ? 1 : 0;
        return n;
    }
    // A dark row under the word: at least 90 % of its width dark on one of the rows just below
    // its baseline.
    bool Underlined(const host::PrintedText& t) const
    {
        for (int y = t.baseline; y <= t.baseline + 5; ++y) {
            int n = 0;
            for (int x = t.x; x < t.x + t.width; ++x)
                n += Dark(x, y) ? 1 : 0;
            if (n * 10 >= t.width * 9)
                return true;
        }
        return false;
    }
};

const host::PrintedText* FindWord(const host::PageTexts& texts, const std::string& word)
{
    for (const host::PrintedText& t : texts)
        if (t.text == word)
            return &t;
    return nullptr;
}

std::string Joined(const std::vector<std::string>& pages)
{
    std::string all;
    for (const std::string& p : pages)
        all += p;
    return all;
}

// The host answers the print-selection window with a fixed choice and keeps what was disabled.
class CChoosingHost : public CAppHost {
public:
    UINT nChoice = 0;
    UINT nDisabled = 0;
    UINT RunPrintSelection(CWnd*, UINT nOff) override
    {
        nDisabled = nOff;
        return nChoice;
    }
};

class ArticlePrintingTest : public ArticleViewTest {
protected:
    void SetUp() override
    {
        ArticleViewTest::SetUp();
        host::PrinterSettings printer;
        printer.dpi = 100;
        printer.paperWidth = 850;
        printer.paperHeight = 1100;
        printer.marginX = printer.marginY = 25;
        host::SetPrinter(printer);
        host::SetPrintFolder((dir.path() / "print").string());
        host::ClearPrintedJobs();
        MakeView();
    }
    void TearDown() override
    {
        SetAppHost(nullptr);
        host::SetPrinter(host::PrinterSettings{});
        host::SetPrintFolder("");
        host::ClearPrintedJobs();
        ArticleViewTest::TearDown();
    }

    void Open(const ArticleRecordSource& source)
    {
        view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(source, "p.rcv")));
        ui::PumpUntilIdle();
        ASSERT_NE(nullptr, view->GetDocument());
    }
    static void Setting(LPCSTR key, LPCSTR value)
    {
        ASSERT_TRUE(WritePrivateProfileString(VL_PRODUCT_SECTION, key, value, "T:\\vl00i1se.ini"));
    }
    // Prints a scope of the page with OK in the print dialog; the one job's file.
    std::string PrintScope(int nScope)
    {
        host::ClearPrintedJobs();
        host::AnswerCommonDialog("print", "");
        view->GetPageWin()->SendMessage(VLM_PRINT_ARTICLE, 0, nScope);
        const auto jobs = host::PrintedJobs();
        if (jobs.size() != 1) {
            ADD_FAILURE() << jobs.size() << " jobs";
            return "";
        }
        return jobs[0].file;
    }

    // One paragraph of nWords words, a picture (w x h, white with a red rectangle), and the
    // paragraph "Under the picture.".
    static ArticleRecordSource Pictured(int nWords, int w, int h, const CRect& red)
    {
        ArticleRecordSource s = Wordy(1, 1, nWords);
        RecordRun picture;
        picture.kind = 3;
        s.sections[0].runs.push_back(picture);
        s.sections[0].runs.push_back({.kind = 0, .text = "Under the picture."});
        GifImage image;
        image.width = w;
        image.height = h;
        image.indices.assign(static_cast<std::size_t>(w * h), 0);
        for (int y = red.top; y < red.bottom; ++y)
            for (int x = red.left; x < red.right; ++x)
                image.indices[static_cast<std::size_t>(y * w + x)] = 1;
        s.pictures = GifFile(image, {{255, 255, 255}, {200, 30, 30}});
        return s;
    }

    // Sections of words: nSections sections of nParagraphs paragraphs of nWords words each.
    static ArticleRecordSource Wordy(int nSections, int nParagraphs, int nWords)
    {
        ArticleRecordSource s;
        s.rin = 1002;
        s.formatYear = 1999;
        s.title = "Long article";
        int n = 0;
        for (int i = 0; i < nSections; ++i) {
            RecordSection section;
            section.title = "Part " + std::to_string(i);
            for (int p = 0; p < nParagraphs; ++p) {
                section.runs.push_back({.kind = 0, .text = Words(n, nWords)});
                n += nWords;
            }
            s.sections.push_back(section);
        }
        return s;
    }
};

TEST_F(ArticlePrintingTest, AnArticleOfSeveralPagesPrintsEveryWordUnderHeaderTitleAndLabels)
{
    Open(Wordy(3, 5, 60));  // 900 words
    const std::string file = PrintScope(ARTICLE_PRINT_ALL);
    EXPECT_EQ("Veltra Multimedia Encyclopedia Article", host::PrintedJobs()[0].docName);
    const auto pages = pdf_reader::PageTexts(file);
    ASSERT_GE(pages.size(), 3u);
    EXPECT_EQ(static_cast<int>(pages.size()), pdf_reader::PageCount(file));
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        EXPECT_NE(std::string::npos, pages[i].find("Printed from Veltra"));
        EXPECT_NE(std::string::npos, pages[i].find("LONG ARTICLE"));
        EXPECT_NE(std::string::npos, pages[i].find("From Veltra"));
        const std::string label = "Page " + std::to_string(i + 1);
        EXPECT_EQ(i > 0, pages[i].find(label) != std::string::npos) << "only pages from 2 on are labelled";
    }
    EXPECT_TRUE(AllWordsInOrder(Joined(pages), 0, 900));
    pdf_reader::RenderPageForScreenshot(file, 2, "article-printed-page2");
    // Every page but the last is full: as many lines as a page holds.
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(pages.size(), jobs[0].texts.size());
}

TEST_F(ArticlePrintingTest, AParagraphLongerThanThePrintBufferLosesNoText)
{
    // One paragraph of about 400 printed lines: the buffer of 300 fills while it is laid out.
    Open(Wordy(1, 1, 4200));
    const std::string file = PrintScope(ARTICLE_PRINT_ALL);
    const auto pages = pdf_reader::PageTexts(file);
    EXPECT_GE(pages.size(), 8u);
    EXPECT_TRUE(AllWordsInOrder(Joined(pages), 0, 4200));
    for (std::size_t i = 1; i < pages.size(); ++i)
        EXPECT_NE(std::string::npos, pages[i].find("Page " + std::to_string(i + 1)));
}

TEST_F(ArticlePrintingTest, ScopesAndPageLimitsDecideThePages)
{
    Open(Wordy(3, 5, 60));
    const int nAll = pdf_reader::PageCount(PrintScope(ARTICLE_PRINT_ALL));
    ASSERT_GE(nAll, 3);
    struct Case {
        const char* lpl;
        const char* mp;
        int scope;
        int pages;
    };
    const Case cases[] = {
        {"Y", "2", ARTICLE_PRINT_ALL, 2},     // the limit on in capitals
        {"y", "", ARTICLE_PRINT_ALL, 1},      // on without MP: one page
        {"y", "0", ARTICLE_PRINT_ALL, 1},
        {"yes", "1", ARTICLE_PRINT_ALL, nAll},  // anything but "y" leaves it off
        {"", "", ARTICLE_PRINT_PAGE, 1},      // the current page is one page
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string("LPL ") + c.lpl + " MP " + c.mp + " scope " + std::to_string(c.scope));
        Setting("LPL", c.lpl);
        Setting("MP", c.mp);
        EXPECT_EQ(c.pages, pdf_reader::PageCount(PrintScope(c.scope)));
    }
    Setting("LPL", "");
    // The section of the top line: the first section's words only, no page label.
    const auto pages = pdf_reader::PageTexts(PrintScope(ARTICLE_PRINT_SECTION));
    const std::string all = Joined(pages);
    EXPECT_TRUE(AllWordsInOrder(all, 0, 300));
    EXPECT_EQ(std::string::npos, all.find(Word(300)));
    EXPECT_EQ(std::string::npos, all.find("Page 2"));
    // The selection's sections without a selection: no page, no document.
    host::ClearPrintedJobs();
    host::AnswerCommonDialog("print", "");
    view->GetPageWin()->SendMessage(VLM_PRINT_ARTICLE, 0, ARTICLE_PRINT_SELECTION);
    EXPECT_TRUE(host::PrintedJobs().empty());
}

TEST_F(ArticlePrintingTest, APictureIsScaledAndCentredAndLeftOutWithDgp)
{
    // A white picture of 40 x 30 with a red block of 20 x 10 in its middle.
    Open(Pictured(20, 40, 30, CRect(10, 10, 30, 20)));

    const std::string file = PrintScope(ARTICLE_PRINT_ALL);
    ASSERT_EQ(1, pdf_reader::PageCount(file));
    int w = 0, h = 0;
    const std::string pixels = pdf_reader::PdfImage(pdf_reader::ReadFile(file), 0, w, h);
    ASSERT_FALSE(pixels.empty());
    int left = w, right = -1, top = h, bottom = -1;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const auto* p = reinterpret_cast<const unsigned char*>(pixels.data()) + (static_cast<std::size_t>(y) * w + x) * 3;
            if (p[0] > 150 && p[1] < 80 && p[2] < 80) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    ASSERT_GE(right, 0) << "no picture on the page";
    // Scaled up by the same factor both ways (the red block is half the picture's width and a
    // third of its height), centred on the page.
    const int red = right - left + 1;
    EXPECT_GT(red, 20);
    EXPECT_NEAR(red / 2.0, bottom - top + 1, 3);
    EXPECT_NEAR(left, w - 1 - right, 3);
    // The text before it stands above it, the text after it below.
    int yBefore = -1, yAfter = -1;
    const auto jobs = host::PrintedJobs();
    for (const host::PrintedText& t : jobs[0].texts[0]) {
        if (t.text == Word(0))
            yBefore = t.baseline;
        if (t.text == "Under")
            yAfter = t.baseline;
    }
    EXPECT_LT(yBefore, top);
    EXPECT_GT(yAfter, bottom);

    pdf_reader::RenderPageForScreenshot(file, 1, "article-printed-picture");
    Setting("DGP", "Y");
    const std::string noPictures = PrintScope(ARTICLE_PRINT_ALL);
    const std::string plain = pdf_reader::PdfImage(pdf_reader::ReadFile(noPictures), 0, w, h);
    int reds = 0;
    for (std::size_t i = 0; i + 2 < plain.size(); i += 3)
        reds += static_cast<unsigned char>(plain[i]) > 150 && static_cast<unsigned char>(plain[i + 1]) < 80;
    EXPECT_EQ(0, reds);
    EXPECT_NE(std::string::npos, Joined(pdf_reader::PageTexts(noPictures)).find("Under the picture."));
}

TEST_F(ArticlePrintingTest, APictureThatWouldCrossThePageEndStartsTheNextPage)
{
    // About thirty lines of text, then a picture of about twenty-five lines: together more than
    // a page holds.
    Open(Pictured(330, 200, 400, CRect(0, 0, 200, 400)));
    const std::string file = PrintScope(ARTICLE_PRINT_ALL);
    ASSERT_EQ(2, pdf_reader::PageCount(file));
    EXPECT_EQ(0, PageImage(file, 0).CountRed()) << "nothing of the picture on page 1";
    EXPECT_GT(PageImage(file, 1).CountRed(), 1000);
    const auto pages = pdf_reader::PageTexts(file);
    EXPECT_TRUE(AllWordsInOrder(pages[0], 0, 330));
    EXPECT_NE(std::string::npos, pages[1].find("Under the picture.")) << "the text after it follows it";
}

TEST_F(ArticlePrintingTest, AStoredHighlightPrintsUnderlinedToOneCharacterPastItsEnd)
{
    ArticleRecordSource s = Wordy(1, 1, 20);
    Open(s);
    CArticlePageWin* pPage = view->GetPageWin();
    CArticleDocument* pDoc = view->GetDocument();
    // The span from "w0003" 's first character, four long: it covers five characters.
    ASSERT_TRUE(pPage->GetHighlightStore()->AddHilite(pDoc->GetReference()->GetNumber(), 0, 18, 4,
                                                      static_cast<DWORD>(pDoc->GetIssueDate())));
    const std::string file = PrintScope(ARTICLE_PRINT_ALL);
    const auto jobs = host::PrintedJobs();
    const PageImage page(file, 0);
    const host::PrintedText* pMarked = FindWord(jobs[0].texts[0], Word(3));
    const host::PrintedText* pBefore = FindWord(jobs[0].texts[0], Word(2));
    const host::PrintedText* pAfter = FindWord(jobs[0].texts[0], Word(4));
    ASSERT_TRUE(pMarked && pBefore && pAfter);
    EXPECT_TRUE(page.Underlined(*pMarked));
    EXPECT_FALSE(page.Underlined(*pBefore));
    EXPECT_FALSE(page.Underlined(*pAfter));
}

TEST_F(ArticlePrintingTest, CancelInThePrintDialogPrintsNothing)
{
    Open(Wordy(1, 1, 20));
    host::CancelCommonDialog("print");
    view->GetPageWin()->SendMessage(VLM_PRINT_ARTICLE, 0, ARTICLE_PRINT_ALL);
    EXPECT_TRUE(host::PrintedJobs().empty());
}

TEST_F(ArticlePrintingTest, TheSampleVolcanoArticlePrintsWithItsPictures)
{
    discbuilder::SampleDiscReport disc = discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, HostT("sample"));
    ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\sample\\info_dat\\", "T:\\vl00i1se.ini"));
    DataFoldersChanged();
    for (const auto& place : disc.articles) {
        if (place.rin != 1002)
            continue;
        auto* pRef = new CPathReference("T:\\sample\\info_dat\\vl.dat", static_cast<LONG>(place.block),
                                        static_cast<LONG>(place.blockCount));
        view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(pRef));
        ui::PumpUntilIdle();
    }
    ASSERT_TRUE(view->GetDocument()->IsLoaded());
    const std::string file = PrintScope(ARTICLE_PRINT_ALL);
    const auto pages = pdf_reader::PageTexts(file);
    ASSERT_FALSE(pages.empty());
    EXPECT_NE(std::string::npos, pages[0].find("VOLCANO"));
    pdf_reader::RenderPageForScreenshot(file, 1, "article-printed-volcano");
}

// ---- outline and related list ----

TEST_F(ArticlePrintingTest, OutlineAndRelatedListPrintThroughThePrintCommand)
{
    ArticleRecordSource s = RichArticle();
    s.sections[0].title = "Introduction to the many quite remarkable volcanoes of the whole wide world and of "
                          "the oceans and seas around them too";
    s.pictures.clear();
    Open(s);
    CChoosingHost chooser;
    chooser.nChoice = 0x20 | 0x10;
    SetAppHost(&chooser);
    // One Print dialog serves both printouts.
    host::AnswerCommonDialog("print", "");
    view->OnFilePrint();
    EXPECT_TRUE(view->CanPrint());
    EXPECT_TRUE(chooser.nDisabled & 0x40) << "no selected text";
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(2u, jobs.size());
    EXPECT_EQ("Veltra Multimedia Encyclopedia Article Outline", jobs[0].docName);
    EXPECT_EQ("Veltra Multimedia Encyclopedia Related Articles", jobs[1].docName);

    const auto outline = pdf_reader::PageTexts(jobs[0].file);
    ASSERT_EQ(1u, outline.size());
    SCOPED_TRACE(outline[0]);
    EXPECT_NE(std::string::npos, outline[0].find("Printed from Veltra"));
    EXPECT_NE(std::string::npos, outline[0].find("VOLCANO")) << "headed with the article's title";
    EXPECT_EQ(std::string::npos, outline[0].find("ERUPTIONS BY YEAR")) << "not with its first line";
    EXPECT_NE(std::string::npos, outline[0].find("From Veltra"));
    EXPECT_TRUE(outline[0].find("Eruptions by year") != std::string::npos);
    // The long heading wraps at a word: its last words stand on a later line than its first.
    const std::size_t first = outline[0].find("Introduction to");
    const std::size_t last = outline[0].find("around them too");
    ASSERT_NE(std::string::npos, first);
    ASSERT_NE(std::string::npos, last);
    EXPECT_NE(std::string::npos, outline[0].substr(first, last - first).find('\n'));

    pdf_reader::RenderPageForScreenshot(jobs[0].file, 1, "article-printed-outline");
    // The pictures of table and media lines stand in front of them; extra items have none.
    const PageImage page(jobs[0].file, 0);
    auto pictureBeside = [&](const std::string& word) {
        const host::PrintedText* pWord = FindWord(jobs[0].texts[0], word);
        if (pWord == nullptr)
            return false;
        int n = 0;
        // The lower half of the text line (a picture reaches a little into the line below).
        for (int y = pWord->baseline - pWord->height / 2; y <= pWord->baseline; ++y)
            for (int x = 700 * page.w / 4887; x < 860 * page.w / 4887; ++x)
                n += page.Painted(x, y) ? 1 : 0;
        return n > 20;
    };
    EXPECT_TRUE(pictureBeside("Eruptions")) << "a table line";
    EXPECT_TRUE(pictureBeside("Lava")) << "a media line";
    EXPECT_FALSE(pictureBeside("Ash")) << "an extra item";
    const auto related = pdf_reader::PageTexts(jobs[1].file);
    ASSERT_EQ(1u, related.size());
    for (const char* line : {"Earth science", "Great Lakes", "Photosynthesis", "VOLCANO"})
        EXPECT_NE(std::string::npos, related[0].find(line)) << line;
    EXPECT_EQ(std::string::npos, related[0].find("INTRODUCTION TO THE MANY")) << "not the first section's title";
    // The footer follows the last line on the last page instead of standing at the page bottom.
    int yLast = 0, yFooter = 0;
    for (const host::PrintedText& t : jobs[1].texts[0]) {
        if (t.text == "Photosynthesis")
            yLast = t.baseline;
        if (t.text == "From")
            yFooter = t.baseline;
    }
    EXPECT_GT(yFooter, yLast);
    EXPECT_LT(yFooter - yLast, 60);
}

TEST_F(ArticlePrintingTest, ALongOutlineRunsOverPagesUpToThePageLimit)
{
    ArticleRecordSource s = Wordy(90, 1, 3);
    Open(s);
    CArticleOutlineTabWin* pOutline = view->GetOutlinePane();
    ASSERT_EQ(90, pOutline->GetLineCount());
    host::AnswerCommonDialog("print", "");
    const int nAll = pOutline->PrintOutline();
    ASSERT_GE(nAll, 3);
    const auto jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    const auto pages = pdf_reader::PageTexts(jobs[0].file);
    ASSERT_EQ(static_cast<std::size_t>(nAll), pages.size());
    std::size_t at = 0;
    const std::string all = Joined(pages);
    for (int i = 0; i < 90; ++i) {
        const std::size_t found = all.find("Part " + std::to_string(i) + "\n", at);
        ASSERT_NE(std::string::npos, found) << "Part " << i;
        at = found;
    }
    for (const std::string& page : pages)
        EXPECT_NE(std::string::npos, page.find("LONG ARTICLE")) << "the article's title on every page";

    Setting("LPL", "Y");
    Setting("MP", "2");
    host::AnswerCommonDialog("print", "");
    EXPECT_EQ(2, pOutline->PrintOutline());
    EXPECT_EQ(2, pdf_reader::PageCount(host::PrintedJobs().back().file));
}

}  // namespace
}  // namespace article_test
