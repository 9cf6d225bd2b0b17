// The results list box: rows built from reference lists (icons, styles and nesting by kind and
// entry code), the first article hit found and selected, the double-clicked result handed to the
// parent, the keys passed on, the result list owned by each list box, and the printed list read
// back from the PDF the spooler writes (pages, the text lines on each page, the job's name).
#include "widgets/VLRefListBox.h"

#include "base/DataFolders.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/ResourceLibrary.h"
#include "base/TPReference.h"
#include "base/VLMessages.h"

#include "WidgetTestSupport.h"

#include <host/Display.h>
#include <host/Input.h>
#include <host/Printer.h>
#include <host/UiScript.h>

#include <DialogDriver.h>

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const UINT kListId = 129;

// The search pane's part: it keeps the references it is handed and the keys passed to it.
class CPaneRecorder : public CWnd {
public:
    std::vector<CReference*> chosen;
    std::vector<std::pair<UINT, WPARAM>> keys;
    std::vector<LPARAM> keyData;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_RESULT_CHOSEN)
            chosen.push_back(reinterpret_cast<CReference*>(lParam));
        if (message == WM_KEYDOWN || message == WM_KEYUP) {
            keys.push_back({message, wParam});
            keyData.push_back(lParam);
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

// A reference with a kind, an entry code and a number (0: none).
CReference* Ref(LONG code, LONG kind, const char* title, LONG number = 0)
{
    auto* p = new CReference(number, title);
    p->SetNumber(number);  // no search engine here to place it
    p->SetKind(kind);
    p->SetEntryCode(code);
    return p;
}

// A topic entry (reference type 1) with an optional media note.
CReference* Topic(LONG code, const char* title, int mediaNote = 0, LONG number = 0)
{
    auto* p = new CTPReference;
    p->SetTitle(title);
    p->SetNumber(number);
    p->SetEntryCode(code);
    p->SetMediaNoteIndex(mediaNote);
    return p;
}

CReferenceList* List(std::vector<CReference*> refs)
{
    auto* list = new CReferenceList;
    for (CReference* r : refs)
        list->Append(r);
    return list;
}

class RefListBoxTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        app.m_pszProfileName = "T:\\vl00i1se.ini";
        ASSERT_TRUE(LoadAppPalettes());
        ASSERT_TRUE(pane.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS), "Pane",
                                  WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, CRect(0, 0, 360, 480), nullptr,
                                  0));
        box = std::make_unique<CVLRefListBox>();
        ASSERT_TRUE(box->Create(WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                                CRect(5, 5, 305, 405), &pane, kListId));
        host::SetPrintFolder((dir.path() / "print").string());
        host::ClearPrintedJobs();
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        box.reset();
        if (pane.GetSafeHwnd())
            pane.DestroyWindow();
        host::SetPrinter(host::PrinterSettings{});
        host::ClearPrintedJobs();
        host::SetPrintFolder("");
        app.m_pszProfileName = nullptr;
        BitmapTest::TearDown();
    }

    // Each row: its depth, its text, its image, bold or not.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> out;
        for (int i = 0; i < box->GetCount(); ++i) {
            HTREEITEM h = box->GetItemIdAt(i);
            CTreeData* node = box->GetTree().FindNodeById(h);
            out.push_back(std::to_string(node->m_nLevel) + " " + std::string(node->m_strText) + " " +
                          std::to_string(node->m_nImage) + ((node->m_nState & TVIS_BOLD) ? " bold" : ""));
        }
        return out;
    }
    // Every item of the tree, depth first, as "level text".
    std::vector<std::string> Items() const
    {
        std::vector<std::string> out;
        std::function<void(CTreeData&)> walk = [&](CTreeData& node) {
            for (int i = 0; i < node.GetChildCount(); ++i) {
                CTreeData* child = node.GetChild(i);
                out.push_back(std::to_string(child->m_nLevel) + " " + std::string(child->m_strText));
                walk(*child);
            }
        };
        walk(box->GetTree());
        return out;
    }
    void DoubleClickRow(int row)
    {
        CRect r;
        box->GetItemRect(row, &r);
        CPoint p(r.left + 40, (r.top + r.bottom) / 2);
        box->ClientToScreen(&p);
        ui::AdvanceClock(1000);
        host::Click(p.x, p.y);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }

    CPaneRecorder pane;
    std::unique_ptr<CVLRefListBox> box;
};

TEST_F(RefListBoxTest, RowsFromReferenceLists)
{
    struct Case {
        const char* name;
        std::function<CReferenceList*()> make;
        std::vector<std::string> items;  // every item, depth first
        std::vector<std::string> rows;   // the rows shown: level, text, image, bold
    } cases[] = {
        {"a heading gathers its hits; kinds give icons; articles none",
         [] {
             return List({Ref(0, 0, "Moon", 0), Ref(3, REFKIND_ARTICLE, "Moon landing", 101),
                          Ref(3, REFKIND_PICTURE, "Full moon", 6000001), Ref(3, REFKIND_MAP, "Sea of Moon", 7),
                          Ref(0, 0, "Sun", 0), Ref(3, REFKIND_SOUND, "Solar wind", 8)});
         },
         {"0 Moon", "1 Moon landing", "1 Full moon", "1 Sea of Moon", "0 Sun", "1 Solar wind"},
         {"0 Moon 138 bold", "0 Sun 138 bold"}},
        {"rows before any heading stay at the top level",
         [] {
             return List({Ref(3, REFKIND_VIDEO, "Rocket", 5), Ref(3, REFKIND_ARTICLE, "Apollo", 9),
                          Ref(3, REFKIND_ANIMATION, "Orbit", 4)});
         },
         {"0 Rocket", "0 Apollo", "0 Orbit"},
         {"0 Rocket 4031", "0 Apollo 323", "0 Orbit 4030"}},
        {"entry code 2 is bold; topic entries and icon-less hits get the page icon",
         [] {
             return List({Ref(2, REFKIND_ARTICLE, "See also", 0), Topic(3, "Planets"),
                          Ref(3, REFKIND_SIMULATION, "Gravity", 3), Ref(3, REFKIND_VIRTUALREALITY, "Crater", 2),
                          Ref(3, REFKIND_BUBBLE, "Bubble", 1)});
         },
         {"0 See also", "0 Planets", "0 Gravity", "0 Crater", "0 Bubble"},
         {"0 See also 0 bold", "0 Planets 323", "0 Gravity 4033", "0 Crater 4035", "0 Bubble 4035"}},
        {"a change to an entry code above 3 opens a deeper level",
         [] {
             return List({Ref(0, 0, "Animals", 0), Ref(4, 0, "Mammals", 0), Ref(3, REFKIND_ARTICLE, "Bison", 1),
                          Ref(3, REFKIND_ARTICLE, "Camel", 2)});
         },
         {"0 Animals", "1 Mammals", "2 Bison", "2 Camel"},
         {"0 Animals 138 bold"}},
        {"media notes follow the title", [] { return List({Topic(3, "Mars", 1)}); },
         {std::string("0 Mars") + CTPReference::MediaNoteText(1)},
         {std::string("0 Mars") + CTPReference::MediaNoteText(1) + " 323"}},
        {"a title longer than a row holds is cut, not lost",
         [] { return List({Ref(3, REFKIND_ARTICLE, std::string(300, 'x').c_str(), 1)}); },
         {"0 " + std::string(255, 'x')},
         {"0 " + std::string(255, 'x') + " 323"}},
        {"an empty list", [] { return List({}); }, {}, {}},
    };
    for (const Case& c : cases) {
        CReferenceList* list = c.make();
        EXPECT_TRUE(box->AddResults(list)) << c.name;
        EXPECT_EQ(list, box->GetResults()) << c.name;
        EXPECT_EQ(c.items, Items()) << c.name;
        EXPECT_EQ(c.rows, Rows()) << c.name;
    }
    // The value of a hit is the borrowed reference of the held list.
    CReferenceList* list = List({Ref(0, 0, "H"), Ref(3, REFKIND_ARTICLE, "A", 5)});
    box->AddResults(list);
    HTREEITEM heading = box->GetRootItem();
    EXPECT_EQ(list->GetAtIndex(0), reinterpret_cast<CReference*>(box->GetItemValue(heading)));
    EXPECT_EQ(list->GetAtIndex(1), reinterpret_cast<CReference*>(box->GetItemValue(box->GetChildItem(heading))));

    // AddResults(NULL) empties the list and lets the old result list go.
    EXPECT_TRUE(box->AddResults(nullptr));
    EXPECT_EQ(nullptr, box->GetResults());
    EXPECT_EQ(0, box->GetCount());
    EXPECT_EQ(0, box->GetItemCount());
}

TEST_F(RefListBoxTest, SelectFirstArticle)
{
    struct Case {
        const char* name;
        std::function<CReferenceList*()> make;
        const char* selected;  // nullptr: nothing
        std::vector<std::string> rows;
    } cases[] = {
        {"a hit under a heading opens the heading",
         [] {
             return List({Ref(0, 0, "Maps", 0), Ref(3, REFKIND_MAP, "Europe", 3), Ref(0, 0, "Articles", 0),
                          Ref(3, REFKIND_PICTURE, "Photo", 4), Ref(3, REFKIND_ARTICLE, "Europe", 12)});
         },
         "Europe", {"0 Maps 138 bold", "0 Articles 138 bold", "1 Photo 4032", "1 Europe 323"}},
        {"a top-level article first",
         [] { return List({Ref(3, REFKIND_ARTICLE, "Top", 7), Ref(0, 0, "H"), Ref(3, REFKIND_ARTICLE, "Child", 8)}); },
         "Top", {"0 Top 323", "0 H 138 bold"}},
        {"an article without a number is no hit",
         [] { return List({Ref(0, 0, "H"), Ref(3, REFKIND_ARTICLE, "No number", 0), Ref(3, REFKIND_MAP, "Map", 3)}); },
         nullptr, {"0 H 138 bold"}},
        {"nothing at all", [] { return List({}); }, nullptr, {}},
    };
    for (const Case& c : cases) {
        box->AddResults(c.make());
        CReference* first = box->SelectFirstArticle();
        if (c.selected == nullptr) {
            EXPECT_EQ(nullptr, first) << c.name;
            EXPECT_EQ(LB_ERR, box->GetCurSel()) << c.name;
        } else {
            ASSERT_NE(nullptr, first) << c.name;
            EXPECT_EQ(CString(c.selected), first->GetTitle()) << c.name;
            EXPECT_EQ(REFKIND_ARTICLE, first->GetKind());
            EXPECT_EQ(first, reinterpret_cast<CReference*>(box->GetItemValue(box->GetCurrentItemId()))) << c.name;
        }
        EXPECT_EQ(c.rows, Rows()) << c.name;
    }
}

TEST_F(RefListBoxTest, DoubleClicksHandTheReferenceToTheParent)
{
    CReferenceList* list = List({Ref(0, 0, "Heading", 0), Ref(3, REFKIND_ARTICLE, "Hit", 42)});
    box->AddResults(list);
    box->SelectFirstArticle();
    ui::PumpUntilIdle();
    ASSERT_EQ(2, box->GetCount());

    DoubleClickRow(1);
    ASSERT_EQ(1u, pane.chosen.size());
    EXPECT_EQ(list->GetAtIndex(1), pane.chosen[0]) << "the borrowed reference, no copy";

    // A heading with a reference is handed over too (and folds).
    pane.chosen.clear();
    DoubleClickRow(0);
    ASSERT_EQ(1u, pane.chosen.size());
    EXPECT_EQ(list->GetAtIndex(0), pane.chosen[0]);
    EXPECT_EQ(1, box->GetCount());

    // After a refill with a new list the double click names the new list's reference.
    CReferenceList* second = List({Ref(3, REFKIND_ARTICLE, "New", 7), Ref(3, REFKIND_ARTICLE, "Other", 8)});
    box->AddResults(second);
    ui::PumpUntilIdle();
    pane.chosen.clear();
    DoubleClickRow(1);
    ASSERT_EQ(1u, pane.chosen.size());
    EXPECT_EQ(second->GetAtIndex(1), pane.chosen[0]);

    // A row without a reference sends nothing.
    TVINSERTSTRUCT insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = TVI_FIRST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>("bare");
    box->InsertItem(&insert);
    ui::PumpUntilIdle();
    pane.chosen.clear();
    DoubleClickRow(0);
    EXPECT_TRUE(pane.chosen.empty());
}

TEST_F(RefListBoxTest, EscAndF2ReachTheParentOtherKeysGoNowhere)
{
    box->AddResults(List({Ref(3, REFKIND_ARTICLE, "One", 1), Ref(3, REFKIND_ARTICLE, "Two", 2),
                          Ref(3, REFKIND_ARTICLE, "Three", 3)}));
    box->SetCurSel(0);
    box->SetFocus();
    ui::PumpUntilIdle();
    struct Case {
        UINT vk;
        bool passed;
    } cases[] = {{VK_ESCAPE, true}, {VK_F2, true}, {VK_DOWN, false}, {VK_UP, false}, {'A', false},
                 {VK_RETURN, false}};
    for (const Case& c : cases) {
        pane.keys.clear();
        pane.keyData.clear();
        host::PressKey(c.vk);
        ui::PumpUntilIdle();
        if (c.passed) {
            ASSERT_EQ(2u, pane.keys.size()) << c.vk;
            EXPECT_EQ(std::make_pair(UINT(WM_KEYDOWN), WPARAM(c.vk)), pane.keys[0]);
            EXPECT_EQ(std::make_pair(UINT(WM_KEYUP), WPARAM(c.vk)), pane.keys[1]);
            EXPECT_EQ(1, LOWORD(pane.keyData[0])) << "the repeat count";
        } else {
            EXPECT_TRUE(pane.keys.empty()) << c.vk;
        }
    }
    EXPECT_EQ(0, box->GetCurSel()) << "the arrow keys do not move the selection";
}

TEST_F(RefListBoxTest, EachListBoxOwnsItsOwnResults)
{
    auto other = std::make_unique<CVLRefListBox>();
    ASSERT_TRUE(other->Create(WS_CHILD | WS_VISIBLE | LBS_NOTIFY, CRect(5, 410, 305, 470), &pane, kListId + 1));
    CReferenceList* mine = List({Ref(3, REFKIND_ARTICLE, "Mine", 1)});
    CReferenceList* theirs = List({Ref(3, REFKIND_ARTICLE, "Theirs", 2)});
    box->AddResults(mine);
    other->AddResults(theirs);
    EXPECT_EQ(mine, box->GetResults());
    EXPECT_EQ(theirs, other->GetResults());
    // Destroying one leaves the other's references alive (the sanitizer sees any use after free).
    other.reset();
    EXPECT_EQ(CString("Mine"), box->GetResults()->GetAtIndex(0)->GetTitle());
    EXPECT_EQ(CString("Mine"), reinterpret_cast<CReference*>(box->GetItemValue(box->GetRootItem()))->GetTitle());
}

// ---- printing ----

std::string ReadFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int CountOf(const std::string& text, const std::string& what)
{
    int n = 0;
    for (size_t pos = text.find(what); pos != std::string::npos; pos = text.find(what, pos + 1))
        ++n;
    return n;
}

// One page image of the PDF: its size and its RGB bytes.
struct PageImage {
    int width = 0, height = 0;
    std::string rgb;
    bool Ink(int x, int y) const
    {
        size_t i = (size_t(y) * size_t(width) + size_t(x)) * 3;
        return static_cast<unsigned char>(rgb[i]) < 128 && static_cast<unsigned char>(rgb[i + 1]) < 128 &&
               static_cast<unsigned char>(rgb[i + 2]) < 128;
    }
};

std::vector<PageImage> PageImages(const std::string& pdf)
{
    std::vector<PageImage> pages;
    for (size_t pos = pdf.find("/Subtype /Image"); pos != std::string::npos;
         pos = pdf.find("/Subtype /Image", pos + 1)) {
        PageImage page;
        page.width = std::stoi(pdf.substr(pdf.find("/Width ", pos) + 7));
        page.height = std::stoi(pdf.substr(pdf.find("/Height ", pos) + 8));
        size_t len = pdf.find("/Length ", pos);
        size_t size = std::stoul(pdf.substr(len + 8));
        size_t start = pdf.find("stream\n", len) + 7;
        page.rgb.assign(size_t(page.width) * size_t(page.height) * 3, '\0');
        uLongf outLen = uLongf(page.rgb.size());
        if (uncompress(reinterpret_cast<Bytef*>(page.rgb.data()), &outLen,
                       reinterpret_cast<const Bytef*>(pdf.data() + start), uLong(size)) != Z_OK)
            return {};
        pages.push_back(std::move(page));
    }
    return pages;
}

// The text lines of a page: runs of pixel rows with dark ink, as (top, bottom, left) each.
struct Band {
    int top, bottom, left;
};
// Ink between skipLeft and skipRight (pictures beside the text) is left out.
std::vector<Band> Lines(const PageImage& page, int skipLeft = -1, int skipRight = -1)
{
    std::vector<Band> bands;
    bool in = false;
    for (int y = 0; y < page.height; ++y) {
        int left = -1;
        for (int x = 0; x < page.width && left < 0; ++x)
            if ((x < skipLeft || x >= skipRight) && page.Ink(x, y))
                left = x;
        if (left >= 0 && !in) {
            bands.push_back({y, y, left});
            in = true;
        } else if (left >= 0) {
            bands.back().bottom = y;
            bands.back().left = std::min(bands.back().left, left);
        } else {
            in = false;
        }
    }
    return bands;
}

class RefListPrintTest : public RefListBoxTest {
protected:
    void SetUp() override
    {
        RefListBoxTest::SetUp();
        host::PrinterSettings printer;
        printer.dpi = 100;
        printer.paperWidth = 850;
        printer.paperHeight = 1100;
        printer.marginX = 25;
        printer.marginY = 30;
        host::SetPrinter(printer);
    }
    // Prints with OK in the print dialog; the jobs written.
    std::vector<host::PrintedJob> PrintOk(const char* heading, int mode)
    {
        host::ClearPrintedJobs();
        host::AnswerCommonDialog("print", "");
        box->Print(heading, mode);
        return host::PrintedJobs();
    }
};

TEST_F(RefListPrintTest, TheWholeListIsPrintedAndReadBackFromThePdf)
{
    // Three headings with 30, 20 and 5 articles: 58 rows, most under collapsed headings.
    std::vector<CReference*> refs;
    const int counts[] = {30, 20, 5};
    for (int h = 0; h < 3; ++h) {
        refs.push_back(Ref(0, 0, ("Heading " + std::to_string(h)).c_str()));
        for (int i = 0; i < counts[h]; ++i)
            refs.push_back(Ref(3, REFKIND_ARTICLE, ("Article " + std::to_string(h) + "." + std::to_string(i)).c_str(),
                               100 + i));
    }
    box->AddResults(List(refs));
    ASSERT_EQ(3, box->GetCount()) << "only the headings have rows";

    std::vector<host::PrintedJob> jobs = PrintOk("moon", VLRL_WORD_SEARCH);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Veltra Multimedia Encyclopedia Word Search", jobs[0].docName);
    const std::string pdf = ReadFile(jobs[0].file);
    ASSERT_FALSE(pdf.empty());
    // 500 units down at 1040 / 6391 is 81 pixels, each row 26 lower, the last one ending by 959:
    // 33 rows on the first page, the other 25 on the second.
    EXPECT_EQ(2, CountOf(pdf, "/Type /Page ")) << "two pages";
    std::vector<PageImage> pages = PageImages(pdf);
    ASSERT_EQ(2u, pages.size());
    const size_t wantRows[] = {33, 25};
    for (size_t p = 0; p < pages.size(); ++p) {
        std::vector<Band> lines = Lines(pages[p]);
        // The header line, the heading, the rows and the footer.
        ASSERT_EQ(wantRows[p] + 3, lines.size()) << "page " << p + 1;
        EXPECT_LT(lines[0].top, 30) << "\"Printed from Veltra\" at the top";
        EXPECT_GE(lines[2].top, 81) << "the rows start 500 units down";
        EXPECT_LT(lines[2].top, 81 + 26);
        EXPECT_GT(lines.back().top, 980) << "the footer at the bottom";
        // Rows follow each other 26 pixels apart.
        for (size_t i = 3; i + 1 < lines.size(); ++i)
            EXPECT_NEAR(26, lines[i].top - lines[i - 1].top, 3) << "page " << p + 1 << " line " << i;
    }
    // Headings at 500 units from the left (82 pixels), articles at 700 (114).
    std::vector<Band> first = Lines(pages[0]);
    EXPECT_NEAR(82, first[2].left, 4) << "heading";
    EXPECT_NEAR(114, first[3].left, 4) << "article";
    // The second page starts with the rest of the second heading's articles; its third heading
    // sits at the heading's indent.
    std::vector<Band> second = Lines(pages[1]);
    EXPECT_NEAR(114, second[2].left, 4);
    int headings = 0;
    for (size_t i = 2; i + 1 < second.size(); ++i)
        headings += std::abs(second[i].left - 82) <= 4;
    EXPECT_EQ(1, headings);
}

TEST_F(RefListPrintTest, JobNamesLimitsAndSmallLists)
{
    // A one-row list prints one page: header, heading, the row and the footer.
    box->AddResults(List({Ref(3, REFKIND_ARTICLE, "Only", 1)}));
    std::vector<host::PrintedJob> jobs = PrintOk("only", VLRL_TOPIC_SEARCH);
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Veltra Multimedia Encyclopedia Topic Search", jobs[0].docName);
    ASSERT_EQ(1u, PageImages(ReadFile(jobs[0].file)).size());
    EXPECT_EQ(4u, Lines(PageImages(ReadFile(jobs[0].file))[0]).size());

    // Nothing to print: no dialog, no job.
    box->AddResults(nullptr);
    host::ClearPrintedJobs();
    box->Print("none", VLRL_TOPIC_SEARCH);
    EXPECT_TRUE(host::PrintedJobs().empty());
    EXPECT_EQ(0u, host::PendingCommonDialogAnswers());

    // Cancel in the print dialog prints nothing.
    std::vector<CReference*> refs;
    for (int i = 0; i < 80; ++i)
        refs.push_back(Ref(3, REFKIND_ARTICLE, ("Row " + std::to_string(i)).c_str(), i + 1));
    box->AddResults(List(refs));
    host::ClearPrintedJobs();
    host::CancelCommonDialog("print");
    box->Print("rows", VLRL_WORD_SEARCH);
    EXPECT_TRUE(host::PrintedJobs().empty());

    // The page limit of the profile: "LPL" y (any case) and "MP" pages.
    struct Case {
        const char* lpl;
        const char* mp;
        size_t pages;
    } cases[] = {{"", "1", 3}, {"Y", "1", 1}, {"y", "2", 2}, {"n", "1", 3}, {"Y", "0", 3}};
    for (const Case& c : cases) {
        WriteAppProfileString(VL_PRODUCT_SECTION, "LPL", c.lpl);
        WriteAppProfileString(VL_PRODUCT_SECTION, "MP", c.mp);
        jobs = PrintOk("rows", VLRL_WORD_SEARCH);
        ASSERT_EQ(1u, jobs.size());
        EXPECT_EQ(c.pages, jobs[0].pages.size()) << "LPL " << c.lpl << " MP " << c.mp;
    }
}

TEST_F(RefListPrintTest, MediaHitsGetTheirPictureBesideTheText)
{
    box->AddResults(List({Ref(0, 0, "Moon"), Ref(3, REFKIND_PICTURE, "Full moon", 6000001),
                          Ref(3, REFKIND_ARTICLE, "Moon landing", 5), Ref(3, REFKIND_NOFILE, "Plain", 9),
                          Ref(2, REFKIND_ARTICLE, "Not printed", 9)}));
    std::vector<host::PrintedJob> jobs = PrintOk("moon", VLRL_TOPIC_SEARCH);
    ASSERT_EQ(1u, jobs.size());
    ASSERT_EQ(1u, jobs[0].pages.size());
    const host::Surface& page = *jobs[0].pages[0];
    // The picture box of the second row (700 to 860 units across, from the row's top down).
    auto Inked = [&](int left, int top, int right, int bottom) {
        int n = 0;
        for (int y = top; y < bottom; ++y)
            for (int x = left; x < right; ++x)
                n += page.Get(x, y) != 0xFFFFFF;
        return n;
    };
    const int rowTop = 81 + 26;
    EXPECT_GT(Inked(115, rowTop, 140, rowTop + 26), 100) << "the picture of the picture hit";
    EXPECT_EQ(0, Inked(115, rowTop + 52, 140, rowTop + 78)) << "a kind without a picture gets none";
    // Header, search text, the heading row and its three hits (code 2 is not printed), footer:
    // the text beside the pictures.
    std::vector<Band> lines = Lines(PageImages(ReadFile(jobs[0].file))[0], 114, 142);
    EXPECT_EQ(7u, lines.size());
}

}  // namespace
