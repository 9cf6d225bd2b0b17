// The tables view inside the main frame: opening a table of an article (VLM_OPEN_WINDOW with the
// article's document) and going back with a clone of its reference, the scroll maths of the text
// and footnote panes, copying a table as text, footnote rows and links, and what the view looks
// like.
#include "../ArticleTestSupport.h"
#include "../../shell/ShellUiTest.h"

#include "article/ArticleTable.h"
#include "article/TableHeadWin.h"
#include "article/TableMainWin.h"
#include "article/TablePrinter.h"
#include "article/TableTextWin.h"
#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/ReferenceFactory.h"
#include "base/VLMessages.h"
#include "search/SearchEngine.h"

#include <TestAppHost.h>
#include <ArticleSource.h>
#include <ArticleRecordWriter.h>
#include <RomLinkWriter.h>
#include <TableSource.h>
#include <TableWriter.h>

#include <DialogDriver.h>
#include <PdfReader.h>
#include <host/Printer.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

using article_test::CPathReference;
using namespace discbuilder;

// A small table whose copy text can be written out by hand: a title, a heading row, a row, a row
// whose first cell continues the one above, and a footnote.
const std::vector<std::string> kFixture = {
    "title: T",
    "heading: A | B",
    "row: a1 | b1",
    "row: ^ | b2",
    "footnote: note",
};

class TableViewTest : public ShellUiTest {
protected:
    void SetUp() override
    {
        ShellUiTest::SetUp();
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
    }
    void TearDown() override
    {
        if (frame != nullptr && IsWindow(frameHwnd))
            frame->DestroyWindow();
        frame = nullptr;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
        docs.clear();
        ShellUiTest::TearDown();
    }

    // The frame at a given outer size.
    void MakeFrame(int cx = 800, int cy = 600)
    {
        frame = new CBaseWindow;
        ASSERT_TRUE(frame->CreateMainFrame());
        frameHwnd = frame->GetSafeHwnd();
        app.m_pMainWnd = frame;
        frame->MoveWindow(0, 0, cx, cy);
        frame->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
    }

    // A document of an article source (its tables numbered from 0), the reference carrying the
    // hits when given. The fixture keeps it (the article view's part).
    CArticleDocument* Open(const ArticleRecordSource& source, CHitList* pHits = nullptr)
    {
        const std::string bytes = WriteArticleRecord(source);
        const std::string name = "article" + std::to_string(docs.size()) + ".rcv";
        dir.Write("t/" + name, bytes);
        auto* pRef = new CPathReference(("T:\\" + name).c_str(), 0, static_cast<LONG>((bytes.size() + 511) / 512));
        pRef->SetLocation(source.rin, 0, static_cast<LONG>((bytes.size() + 511) / 512));
        if (pHits != nullptr)
            pRef->SetData(pHits);
        docs.push_back(std::make_unique<CArticleDocument>());
        EXPECT_TRUE(docs.back()->Open(pRef));
        return docs.back().get();
    }
    CArticleDocument* OpenSample(const std::string& file, CHitList* pHits = nullptr)
    {
        return Open(ReadArticleSource(std::string(VL_SAMPLE_DIR) + "/articles/" + file), pHits);
    }
    // An article whose tables are the given sources.
    CArticleDocument* OpenTables(const std::vector<TableSource>& tables, CHitList* pHits = nullptr)
    {
        ArticleRecordSource s = article_test::RichArticle();
        s.tables.clear();
        for (std::size_t i = 0; i < tables.size(); ++i)
            s.tables.push_back({"Table " + std::to_string(i), WriteTable(tables[i])});
        return Open(s, pHits);
    }
    static TableSource Fixture(const std::vector<std::string>& lines = kFixture)
    {
        return ParseTableSource(lines, "fixture");
    }

    // The article view asks the frame for the table: VLM_OPEN_WINDOW (IDW_TABLE, document).
    CTableMainWin* ShowTable(CArticleDocument* pDoc, int nTable)
    {
        pDoc->GetTableEntry(nTable);
        frame->PostMessage(VLM_OPEN_WINDOW, IDW_TABLE, reinterpret_cast<LPARAM>(pDoc));
        ui::PumpUntilIdle();
        return frame->GetTableWin();
    }

    // Takes the next VLM_OPEN_WINDOW posted to the frame off its queue: its reference, or null.
    std::unique_ptr<CReference> TakeOpenedReference(WPARAM* pwParam = nullptr)
    {
        MSG msg;
        if (!PeekMessageA(&msg, frameHwnd, VLM_OPEN_WINDOW, VLM_OPEN_WINDOW, PM_REMOVE))
            return nullptr;
        if (pwParam != nullptr)
            *pwParam = msg.wParam;
        return std::unique_ptr<CReference>(reinterpret_cast<CReference*>(msg.lParam));
    }

    // A reference factory and a ROM_LINK table placing every article, for following links.
    void InstallReferenceFactory()
    {
        // The six default records (articles, pictures, maps, animations, everything above, scenes).
        WriteRomLinkFile(dir.path() / "t" / "data", {{1, 0, 0, 0, 1, 10, 2},
                                                     {2000461, 2, 3, 0, 1, 60, 1},
                                                     {3000732, 4, 6, 1, 1, 70, 3},
                                                     {4010010, 5, 1, 0, 1, 0, 1},
                                                     {4020019, 7, 2, 0, 1, 0, 1},
                                                     {4040006, 1, 7, 0, 1, 0, 1}});
        ASSERT_TRUE(engine.LoadTable());
        AppServices().owned.pSearchEngine = &engine;
        AppServices().owned.pReferenceFactory = &factory;
    }

    // Client point of a run's first line in the text pane (a little inside its first character).
    static CPoint RunPoint(CTableTextWin* pText, CArticleTable* pTable, int nRun)
    {
        const TableRunLayout& rec = pTable->GetRunLayout(nRun);
        const int lh = pText->GetLineHeight();
        int y = (rec.nRow - (rec.nVFreeze > 0 ? 0 : pText->GetVLine())) * lh + lh / 2;
        int x = rec.x + pText->GetCentreOffset() - (rec.nHFreeze != 0 ? 0 : pText->GetHPos()) + 2;
        return CPoint(x, y);
    }
    static int FindRun(CArticleTable* pTable, const std::string& text)
    {
        for (int r = 0; r < pTable->GetRunCount(); ++r)
            if (std::string(pTable->GetRunText(r), pTable->GetRun(r).wTextLength) == text)
                return r;
        ADD_FAILURE() << "no run \"" << text << "\"";
        return 0;
    }

    CBaseWindow* frame = nullptr;
    HWND frameHwnd = nullptr;
    std::vector<std::unique_ptr<CArticleDocument>> docs;
    CSearchEngine engine;
    CReferenceFactory factory;
};

// ---- opening and going back ----

TEST_F(TableViewTest, OpensTheDocumentsCurrentTableAndGoesBackWithAClone)
{
    MakeFrame();
    struct Case {
        const char* name;
        std::vector<CHitPosition> hits;
        bool cloneHasHits;
    } cases[] = {
        {"no hits", {}, false},
        {"a hit in a text section", {CHitPosition(1, 4, 3)}, true},
        {"opened for a hit in a table", {CHitPosition(201, 0, 5), CHitPosition(1, 4, 3)}, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        CHitList* pHits = nullptr;
        if (!c.hits.empty()) {
            pHits = new CHitList;
            for (const CHitPosition& hit : c.hits)
                pHits->AddHit(hit);
        }
        CArticleDocument* pDoc = OpenSample("1002-volcano.txt", pHits);
        CTableMainWin* pView = ShowTable(pDoc, 1);
        ASSERT_NE(pView, nullptr);
        EXPECT_EQ(frame->GetCurrentMainWin(), pView);
        EXPECT_EQ(pView->GetDlgCtrlID(), IDW_TABLE);
        EXPECT_EQ(pView->GetDocument(), pDoc);
        ASSERT_NE(pView->GetTable(), nullptr);
        EXPECT_EQ(pView->GetTable()->GetTableIndex(), 1);
        EXPECT_EQ(std::string(pView->GetTable()->GetRunText(0), 16), "Kinds of volcano");

        pView->SendMessage(WM_COMMAND, IDC_TABLE_BACK, 0);
        WPARAM wParam = 0;
        std::unique_ptr<CReference> clone = TakeOpenedReference(&wParam);
        ASSERT_NE(clone, nullptr);
        EXPECT_EQ(wParam, static_cast<WPARAM>(IDW_ARTICLE));
        EXPECT_NE(clone.get(), pDoc->GetReference());
        EXPECT_EQ(clone->GetNumber(), 1002);
        EXPECT_EQ(clone->GetBlockCount(), pDoc->GetReference()->GetBlockCount());
        auto* pCloneHits = dynamic_cast<CHitList*>(clone->GetData());
        EXPECT_EQ(pCloneHits != nullptr && pCloneHits->GetCount() > 0, c.cloneHasHits);
        // The document stays the article view's, hits and all.
        EXPECT_STREQ(pDoc->GetTitle(), "Volcano");
        EXPECT_EQ(pDoc->GetReference()->GetData() != nullptr, !c.hits.empty());
    }
}

TEST_F(TableViewTest, ATableCollapsesTheToolKitAndTurnsOffOnlyTheHighlighter)
{
    CTestAppHost appHost;
    std::vector<std::string> calls;
    appHost.collapseToolkit = [&] { calls.push_back("collapse"); };
    appHost.enableTools = [&](BOOL bPrint, BOOL bSticky, BOOL bHighlighter, BOOL bWizard, BOOL bRemember) {
        calls.push_back("tools " + std::to_string(bPrint) + std::to_string(bSticky) + std::to_string(bHighlighter) +
                        std::to_string(bWizard) + std::to_string(bRemember));
    };
    MakeFrame();
    CArticleDocument* pDoc = OpenSample("1002-volcano.txt", nullptr);
    calls.clear();
    ASSERT_NE(nullptr, ShowTable(pDoc, 1));
    EXPECT_EQ((std::vector<std::string>{"collapse", "tools 11011"}), calls);
}

TEST_F(TableViewTest, TheFrameNeverDeletesTheBorrowedDocument)
{
    MakeFrame();
    CArticleDocument* pDoc = OpenSample("1002-volcano.txt");
    ASSERT_NE(frame->FindOrCreateView(IDW_TABLE), nullptr);
    // The disc cannot be found and the reader cancels: no table is shown, the document lives on
    // (the sanitizer sees a deletion of it).
    SetProfile("Files", "DataDir", "");
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    CTableMainWin* pView = ShowTable(pDoc, 0);
    ASSERT_NE(pView, nullptr);
    EXPECT_EQ(pView->GetDocument(), nullptr);
    EXPECT_EQ(pView->GetTable(), nullptr);
    EXPECT_STREQ(pDoc->GetTitle(), "Volcano");
    EXPECT_EQ(pDoc->GetTableCount(), 2);
}

TEST_F(TableViewTest, DamagedTableDataIsReportedAndNothingChanges)
{
    MakeFrame();
    CArticleDocument* pGood = OpenSample("1002-volcano.txt");
    CTableMainWin* pView = ShowTable(pGood, 0);
    ASSERT_NE(pView, nullptr);
    // A table whose run count takes its lists past the record's end.
    std::string bad = WriteTable(Fixture());
    bad[36] = '\xFF';
    bad[37] = '\x7F';
    ArticleRecordSource s = article_test::RichArticle();
    s.tables = {{"Broken", bad}};
    CArticleDocument* pBad = Open(s);
    host::AnswerNextMessageBox(IDOK);
    pBad->GetTableEntry(0);
    pView->SendMessage(VLM_OPEN_WINDOW, IDW_TABLE, reinterpret_cast<LPARAM>(pBad));
    ASSERT_FALSE(host::MessageBoxLog().empty());
    EXPECT_NE(host::MessageBoxLog().back().text.find("This table cannot be shown"), std::string::npos);
    EXPECT_EQ(pView->GetDocument(), pGood);
    EXPECT_EQ(pView->GetTable()->GetTableIndex(), 0);
}

// ---- scrolling ----

TEST_F(TableViewTest, ScrollMathsOfALargeTable)
{
    MakeFrame(800, 600);
    CArticleDocument* pDoc = OpenSample("1001-aviation.txt");
    CTableMainWin* pView = ShowTable(pDoc, 0);
    ASSERT_NE(pView, nullptr);
    CArticleTable* pTable = pView->GetTable();
    CTableTextWin* pText = pView->GetTextWin();
    ASSERT_TRUE(pTable->HasFootnotes());
    const int lh = pView->GetGridContext().nLineHeight;
    ASSERT_GT(lh, 8);
    EXPECT_EQ(pText->GetLineHeight(), lh);

    // Vertical: the body lines that do not fit, plus one, in pixels.
    CRect client;
    pText->GetClientRect(&client);
    const int H = pTable->GetHeadingLineCount();
    const int body = pTable->GetLineCount() - H;
    EXPECT_EQ(H, 3);  // the title, the empty line, the column headings
    EXPECT_EQ(pText->GetBodyLines(), body);
    const int visible = (client.Height() - (H + 1) * lh) / lh;
    ASSERT_LT(visible, body);
    EXPECT_EQ(pText->VisibleBodyLines(), visible);
    EXPECT_EQ(pText->GetVMax(), (body - visible + 1) * lh);

    // Horizontal: 11 columns of 150 pixels, wider than the pane; the maximum is the overhang
    // rounded up to the next whole column (a footnote row's narrow pitch does not count).
    EXPECT_EQ(pTable->GetTableWidth(), 1660);
    ASSERT_TRUE(pText->NeedsHScroll());
    EXPECT_EQ(pTable->GetColumnPitch(), 20);
    const int pitch = 150;
    EXPECT_EQ(pText->GetHMax(), ((1660 - client.Width()) / pitch + 1) * pitch);
    EXPECT_EQ(pText->GetCentreOffset(), 0);

    struct Step {
        UINT bar;
        UINT code;
        int pos;
        int expected;  // pixels after the step
    } steps[] = {
        {WM_VSCROLL, SB_LINEDOWN, 0, lh},
        {WM_VSCROLL, SB_LINEDOWN, 0, 2 * lh},
        {WM_VSCROLL, SB_LINEUP, 0, lh},
        {WM_VSCROLL, SB_PAGEDOWN, 0, lh + (visible - 1) * lh},
        {WM_VSCROLL, SB_THUMBTRACK, 5 * lh + lh / 2, 5 * lh},  // whole lines
        {WM_VSCROLL, SB_THUMBPOSITION, 100000, (body - visible + 1) * lh},  // limited
        {WM_VSCROLL, SB_LINEDOWN, 0, (body - visible + 1) * lh},
        {WM_VSCROLL, SB_PAGEUP, 0, (body - visible + 1) * lh - (visible - 1) * lh},
        {WM_VSCROLL, SB_THUMBTRACK, 0, 0},
        {WM_VSCROLL, SB_LINEUP, 0, 0},
        {WM_HSCROLL, SB_LINERIGHT, 0, pitch},
        {WM_HSCROLL, SB_PAGERIGHT, 0, 2 * pitch},
        {WM_HSCROLL, SB_LINELEFT, 0, pitch},
        {WM_HSCROLL, SB_THUMBPOSITION, 100000, pText->GetHMax()},
        {WM_HSCROLL, SB_LINERIGHT, 0, pText->GetHMax()},
        {WM_HSCROLL, SB_THUMBTRACK, 0, 0},
        {WM_HSCROLL, SB_LINELEFT, 0, 0},
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(std::to_string(s.bar) + " code " + std::to_string(s.code));
        pText->SendMessage(s.bar, MAKEWPARAM(s.code, s.pos), 0);
        if (s.bar == WM_VSCROLL) {
            EXPECT_EQ(pText->GetVPos(), s.expected);
            EXPECT_EQ(pText->GetVLine(), s.expected / lh);
            EXPECT_EQ(pText->GetScrollPos(SB_VERT), s.expected);
        } else {
            EXPECT_EQ(pText->GetHPos(), s.expected);
        }
    }

    // A taller pane carries the position over in proportion.
    pText->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, pText->GetVMax()), 0);
    const int oldMax = pText->GetVMax();
    frame->MoveWindow(0, 0, 800, 700);
    ui::PumpUntilIdle();
    pText->GetClientRect(&client);
    const int visible2 = (client.Height() - (H + 1) * lh) / lh;
    EXPECT_EQ(pText->GetVMax(), (body - visible2 + 1) * lh);
    EXPECT_EQ(pText->GetVPos(), oldMax * pText->GetVMax() / oldMax / lh * lh);
}

TEST_F(TableViewTest, HidingTheFootnotesGivesTheTextPaneTheWholeHeight)
{
    MakeFrame(800, 600);
    CTableMainWin* pView = ShowTable(OpenSample("1001-aviation.txt"), 0);
    ASSERT_NE(pView, nullptr);
    CTableTextWin* pText = pView->GetTextWin();
    CTableHeadWin* pHead = pView->GetHeadWin();
    CRect view, text, head;
    pView->GetClientRect(&view);
    const int h = view.Height() - CTableMainWin::stripHeight;
    pText->GetClientRect(&text);
    EXPECT_TRUE(pHead->IsWindowVisible());
    pText->GetWindowRect(&text);
    pHead->GetWindowRect(&head);
    EXPECT_EQ(text.Height(), h * 80 / 100);
    EXPECT_EQ(head.Height(), h * 20 / 100 + 1);
    EXPECT_EQ(head.top, text.bottom);
    EXPECT_TRUE(pView->GetButton(IDC_TABLE_HIDE_FOOTNOTES)->IsWindowVisible());
    EXPECT_FALSE(pView->GetButton(IDC_TABLE_SHOW_FOOTNOTES)->IsWindowVisible());

    pText->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 4 * pText->GetLineHeight()), 0);
    pView->SendMessage(WM_COMMAND, IDC_TABLE_HIDE_FOOTNOTES, 0);
    ui::PumpUntilIdle();
    EXPECT_TRUE(pView->AreFootnotesHidden());
    EXPECT_FALSE(pHead->IsWindowVisible());
    pText->GetWindowRect(&text);
    EXPECT_EQ(text.Height(), h);
    EXPECT_TRUE(pView->GetButton(IDC_TABLE_SHOW_FOOTNOTES)->IsWindowVisible());
    EXPECT_FALSE(pView->GetButton(IDC_TABLE_HIDE_FOOTNOTES)->IsWindowVisible());
    // The range follows the taller pane, with room to scroll the last rows up a little; the
    // position goes back by the footnote pane's height, on whole lines.
    const int lh = pText->GetLineHeight();
    pText->GetClientRect(&text);
    const int visible = (text.Height() - pText->GetHeadingLines() * lh) / lh;
    ASSERT_LT(visible, pText->GetBodyLines());
    EXPECT_EQ(pText->GetVMax(), (pText->GetBodyLines() - visible + 4) * lh);
    EXPECT_EQ(pText->GetVPos(), std::max(4 * lh - (h * 20 / 100), 0) / lh * lh);

    pView->SendMessage(WM_COMMAND, IDC_TABLE_SHOW_FOOTNOTES, 0);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pView->AreFootnotesHidden());
    EXPECT_TRUE(pHead->IsWindowVisible());
    pText->GetWindowRect(&text);
    EXPECT_EQ(text.Height(), h * 80 / 100);
}

TEST_F(TableViewTest, NarrowTablesStandWhereTheyAskAndDoNotScrollSideways)
{
    MakeFrame(800, 600);
    struct Case {
        bool centred;
        bool footnotes;
    } cases[] = {{true, true}, {false, true}, {false, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.centred ? "centred" : "left") + (c.footnotes ? ", footnotes" : ""));
        TableSource t = Fixture();
        if (!c.footnotes)
            t.bands.pop_back();
        t.centred = c.centred;
        CTableMainWin* pView = ShowTable(OpenTables({t}), 0);
        ASSERT_NE(pView, nullptr);
        CTableTextWin* pText = pView->GetTextWin();
        CRect client;
        pText->GetClientRect(&client);
        EXPECT_EQ(pView->GetTable()->GetTableWidth(), 610);
        EXPECT_FALSE(pText->NeedsHScroll());
        EXPECT_EQ(pText->GetHMax(), 0);
        EXPECT_EQ(pText->GetCentreOffset(), c.centred ? (client.Width() - 610) / 2 : 30);
        EXPECT_EQ(pText->GetVMax(), 0);
        // Without footnotes both footnote buttons are off and the text pane takes the height.
        EXPECT_EQ(pView->GetButton(IDC_TABLE_SHOW_FOOTNOTES)->IsWindowEnabled(), c.footnotes);
        EXPECT_EQ(pView->GetButton(IDC_TABLE_HIDE_FOOTNOTES)->IsWindowEnabled(), c.footnotes);
        EXPECT_EQ(pView->GetHeadWin()->IsWindowVisible(), c.footnotes);
        EXPECT_EQ(pView->GetHeadWin()->GetVMax(), 0);
        CRect view;
        pView->GetClientRect(&view);
        pText->GetWindowRect(&client);
        const int h = view.Height() - CTableMainWin::stripHeight;
        EXPECT_EQ(client.Height(), c.footnotes ? h * 80 / 100 : h);
    }
}

TEST_F(TableViewTest, ASearchHitOpensTheTableWithItsRowFourthInTheBody)
{
    MakeFrame(800, 600);
    // The offset of "Boeing 777" in visible characters.
    CArticleDocument* pPlain = OpenSample("1001-aviation.txt");
    CTableMainWin* pView = ShowTable(pPlain, 0);
    ASSERT_NE(pView, nullptr);
    CArticleTable* pTable = pView->GetTable();
    const int nRun = FindRun(pTable, "Boeing 777");
    int visible = 0;
    for (DWORD i = 0; i < pTable->GetRun(nRun).dwTextOffset; ++i) {
        const BYTE c = pTable->GetText()[i];
        visible += c != 0 && c != ' ' && c != '\t' && c != '\r' && c != '\n';
    }
    const int row = pTable->GetRunLayout(nRun).nRow;
    const int H = pTable->GetHeadingLineCount();

    struct Case {
        int offset;
        int expectedLine;
    } cases[] = {
        {visible, row - H - 3},  // deep in the table: the hit's row is the fourth body line
        {0, 0},                  // in the title: the top
    };
    for (const Case& c : cases) {
        auto* pHits = new CHitList;
        pHits->AddHit(CHitPosition(200, static_cast<UINT>(c.offset), 6));
        pView = ShowTable(OpenSample("1001-aviation.txt", pHits), 0);
        CTableTextWin* pText = pView->GetTextWin();
        EXPECT_EQ(pText->GetVLine(), std::min(c.expectedLine, pText->GetVMax() / pText->GetLineHeight()));
    }
    EXPECT_GT(row - H - 3, 0);
}

// ---- copying ----

TEST_F(TableViewTest, CopiesTheTableAsTabsAndLines)
{
    MakeFrame(800, 600);
    CTableMainWin* pView = ShowTable(OpenTables({Fixture()}), 0);
    ASSERT_NE(pView, nullptr);
    CTableTextWin* pText = pView->GetTextWin();
    EXPECT_FALSE(pText->HasSelection());
    EXPECT_EQ(std::string(pText->GetCopyText()), "");

    // Everything: cells apart by TABs, the merged cell's TAB before "b2", rows ending in CR LF.
    pView->OnEditSelectAll();
    EXPECT_TRUE(pText->HasSelection());
    EXPECT_EQ(std::string(pText->GetCopyText()), "T\r\nA\tB\r\na1\tb1\r\n\tb2\r\nnote\r\n");
    ASSERT_TRUE(pText->CopyToClipboard());
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE hText = GetClipboardData(CF_TEXT);
    ASSERT_NE(hText, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(hText)), "T\r\nA\tB\r\na1\tb1\r\n\tb2\r\nnote\r\n");
    GlobalUnlock(hText);
    CloseClipboard();

    // Dragged from inside "A" to inside "b1": whole words of both ends.
    CArticleTable* pTable = pView->GetTable();
    pText->SendMessage(WM_LBUTTONUP, 0, 0);  // ends the standing selection
    const CPoint from = RunPoint(pText, pTable, FindRun(pTable, "A"));
    const CPoint to = RunPoint(pText, pTable, FindRun(pTable, "b1")) + CPoint(3, 0);
    pText->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    pText->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x, to.y));
    pText->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x, to.y));
    EXPECT_EQ(pText->GetSelection().nState, TableGridSelection::standing);
    EXPECT_EQ(std::string(pText->GetCopyText()), "A\tB\r\na1\tb1\r\n");
    // Ctrl+C is the same as the view's Copy.
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    CloseClipboard();
    host::KeyDown(VK_CONTROL);
    ui::PumpUntilIdle();
    pText->SendMessage(WM_KEYUP, 'C', 0);
    host::KeyUp(VK_CONTROL);
    ui::PumpUntilIdle();
    ASSERT_TRUE(OpenClipboard(nullptr));
    hText = GetClipboardData(CF_TEXT);
    ASSERT_NE(hText, nullptr);
    EXPECT_STREQ(static_cast<const char*>(GlobalLock(hText)), "A\tB\r\na1\tb1\r\n");
    GlobalUnlock(hText);
    CloseClipboard();
}

TEST_F(TableViewTest, ADoubleClickedWordIsLookedUpInTheDictionary)
{
    MakeFrame(800, 600);
    frame->SendMessage(WM_COMMAND, ID_SHOW_DICTIONARY);
    CDictionaryTabWin* pPane = frame->GetDictionaryTabWin();
    ASSERT_NE(pPane, nullptr);
    pPane->ShowWindow(SW_HIDE);
    CTableMainWin* pView = ShowTable(OpenTables({Fixture({"row: see (Tambora), | x"})}), 0);
    ASSERT_NE(pView, nullptr);
    CArticleTable* pTable = pView->GetTable();
    CTableTextWin* pText = pView->GetTextWin();
    // Inside "(Tambora),": the word without the characters that are neither letters nor digits.
    CPoint at = RunPoint(pText, pTable, 0);
    CDC dc;
    dc.CreateCompatibleDC(NULL);
    CFont* pOld = dc.SelectObject(pView->GetFonts()->GetBodyFont());
    at.x += dc.GetTextExtent("see (Tam", 8).cx - 2;
    dc.SelectObject(pOld);
    pText->SendMessage(WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(at.x, at.y));
    ui::PumpUntilIdle();
    EXPECT_EQ(std::string(pText->GetSelectedText()), "(Tambora),");
    const CString strTaken = pPane->GetHandedOverWord().IsEmpty() ? pPane->GetCurrentWord() : pPane->GetHandedOverWord();
    EXPECT_EQ(std::string(strTaken), "Tambora");
    EXPECT_TRUE(pPane->IsWindowVisible());
}

// ---- footnotes and links ----

TEST_F(TableViewTest, FootnoteRangesAndLinks)
{
    InstallReferenceFactory();
    MakeFrame(800, 600);
    std::vector<std::string> lines = {"title: Notes", "row: [Lakes](vl://001006) | b"};
    for (int i = 1; i <= 9; ++i)
        lines.push_back("footnote: [^" + std::to_string(i) + "] Note " + std::to_string(i) + ".");
    lines.push_back("footnote: See [the eruptions](vl://001002(T1)) and [the flight](vl://001001(2)).");
    CTableMainWin* pView = ShowTable(OpenTables({Fixture(lines)}), 0);
    ASSERT_NE(pView, nullptr);
    CArticleTable* pTable = pView->GetTable();
    CTableHeadWin* pHead = pView->GetHeadWin();
    ASSERT_TRUE(pHead->HasFootnotes());
    EXPECT_EQ(pHead->GetFootnoteLines(), pTable->GetFootnoteLineCount());
    EXPECT_EQ(pTable->GetFootnoteLineCount(), 19);  // ten rows, an empty line between each two
    CRect client;
    pHead->GetClientRect(&client);
    const int lh = pView->GetGridContext().nLineHeight;
    const int visible = client.Height() / lh;
    ASSERT_LT(visible, 19);
    EXPECT_EQ(pHead->GetVMax(), (19 - visible + 1) * lh);
    // One line a step, whatever the step; the thumb on whole lines; limited.
    pHead->SendMessage(WM_VSCROLL, SB_PAGEDOWN, 0);
    EXPECT_EQ(pHead->GetVPos(), lh);
    pHead->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBTRACK, 3 * lh + 1), 0);
    EXPECT_EQ(pHead->GetVLine(), 3);
    pHead->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5000), 0);
    EXPECT_EQ(pHead->GetVPos(), pHead->GetVMax());

    // The link texts of the three places.
    EXPECT_EQ(std::string(CTableGridWin::MakeLinkText(1006, 0)), "vl://001006");
    EXPECT_EQ(std::string(CTableGridWin::MakeLinkText(1001, 2)), "vl://001001(2)");
    EXPECT_EQ(std::string(CTableGridWin::MakeLinkText(1002, 201)), "vl://001002(T)");
    EXPECT_EQ(std::string(CTableGridWin::MakeLinkText(1002, 200)), "vl://001002(T)");

    // Painted, the links have their places; a click follows the one under it.
    pHead->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 5000), 0);
    pView->RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    struct Click {
        const char* link;
        CWnd* pane;
        bool footnote;
    } clicks[] = {
        {"vl://001002(T)", pHead, true},
        {"vl://001001(2)", pHead, true},
        {"vl://001006", pView->GetTextWin(), false},
    };
    int spot = 0;
    for (const Click& c : clicks) {
        SCOPED_TRACE(c.link);
        const TableHotSpot& hot = pTable->GetHotSpot(c.footnote ? spot + 1 : 0);
        if (c.footnote)
            ++spot;
        EXPECT_EQ(hot.bFootnote, c.footnote ? 1 : 0);
        ASSERT_FALSE(::IsRectEmpty(&hot.rect));
        const CPoint at((hot.rect.left + hot.rect.right) / 2, (hot.rect.top + hot.rect.bottom) / 2);
        c.pane->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        c.pane->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(at.x, at.y));
        WPARAM wParam = 0;
        std::unique_ptr<CReference> ref = TakeOpenedReference(&wParam);
        ASSERT_NE(ref, nullptr);
        EXPECT_EQ(wParam, static_cast<WPARAM>(IDW_ARTICLE));
        EXPECT_EQ(std::string(ref->GetLinkText()), c.link);
        // While the frame has not taken the link, the pane takes no second click.
        c.pane->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(at.x, at.y));
        EXPECT_EQ(TakeOpenedReference(), nullptr);
        ui::PumpUntilIdle();
    }
    // Away from the links nothing is followed.
    pHead->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_EQ(TakeOpenedReference(), nullptr);

    // Over a link the program's hand (cursor 262), which holds the mouse until it leaves the link.
    const TableHotSpot& hot = pTable->GetHotSpot(1);
    pHead->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(hot.rect.left + 2, hot.rect.top + 2));
    HCURSOR hHand = ::LoadCursor(AfxGetInstanceHandle(), MAKEINTRESOURCE(262));
    ASSERT_NE(hHand, nullptr);
    EXPECT_EQ(host::CurrentCursor(), hHand);
    EXPECT_EQ(::GetCapture(), pHead->GetSafeHwnd());
    pHead->SendMessage(WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
    EXPECT_EQ(::GetCapture(), nullptr);
}

TEST_F(TableViewTest, TheStickyButtonFollowsTheNotesOfTheTable)
{
    MakeFrame(800, 600);
    CTableMainWin* pView = ShowTable(OpenSample("1002-volcano.txt"), 0);
    ASSERT_NE(pView, nullptr);
    EXPECT_FALSE(pView->IsStickyButtonShown());
    EXPECT_FALSE(pView->GetStickyButton()->IsWindowVisible());
    // The note window says the table has notes (a block of positions that the view frees).
    pView->SendMessage(VLM_STICKY_PRESENT, 1, reinterpret_cast<LPARAM>(new WORD[4]{200, 0, 0, 0}));
    EXPECT_TRUE(pView->IsStickyButtonShown());
    EXPECT_TRUE(pView->GetStickyButton()->IsWindowVisible());
    EXPECT_TRUE(pView->GetStickyButton()->IsWindowEnabled());
    pView->SendMessage(VLM_STICKY_PRESENT, 0, 0);
    EXPECT_FALSE(pView->IsStickyButtonShown());
    EXPECT_FALSE(pView->GetStickyButton()->IsWindowVisible());
}

// ---- screenshots ----

TEST_F(TableViewTest, Screenshots)
{
    MakeFrame(800, 600);
    CTableMainWin* pView = ShowTable(OpenSample("1001-aviation.txt"), 0);
    ASSERT_NE(pView, nullptr);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(frameHwnd, "tables-aviation-top.png");

    CTableTextWin* pText = pView->GetTextWin();
    pText->SendMessage(WM_VSCROLL, MAKEWPARAM(SB_THUMBPOSITION, 8 * pText->GetLineHeight()), 0);
    pText->SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    pText->SendMessage(WM_HSCROLL, SB_PAGERIGHT, 0);
    CArticleTable* pTable = pView->GetTable();
    const CPoint from = RunPoint(pText, pTable, FindRun(pTable, "Ford Trimotor"));
    const CPoint to = RunPoint(pText, pTable, FindRun(pTable, "Boeing 247"));
    pText->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(from.x, from.y));
    pText->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(to.x + 200, to.y));
    pText->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(to.x + 200, to.y));
    EXPECT_TRUE(pText->HasSelection());
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(frameHwnd, "tables-aviation-scrolled.png");

    pView->SendMessage(WM_COMMAND, IDC_TABLE_HIDE_FOOTNOTES, 0);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(frameHwnd, "tables-aviation-no-footnotes.png");

    auto* pHits = new CHitList;
    pHits->AddHit(CHitPosition(200, 60, 7));
    pView = ShowTable(OpenSample("1002-volcano.txt", pHits), 0);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(frameHwnd, "tables-volcano-eruptions.png");
}

// ---- printing ----

class TablePrintingTest : public TableViewTest {
protected:
    void SetUp() override
    {
        TableViewTest::SetUp();
        UsePrinter(850, 1100);
        host::SetPrintFolder((dir.path() / "print").string());
        host::ClearPrintedJobs();
        MakeFrame(800, 600);
    }
    void TearDown() override
    {
        host::SetPrinter(host::PrinterSettings{});
        AfxGetApp()->SelectPrinter(NULL, NULL);
        host::SetPrintFolder("");
        host::ClearPrintedJobs();
        TableViewTest::TearDown();
    }
    // A 100-dpi printer with a sheet of the given size (device pixels).
    static void UsePrinter(int width, int height)
    {
        host::PrinterSettings printer;
        printer.dpi = 100;
        printer.paperWidth = width;
        printer.paperHeight = height;
        printer.marginX = printer.marginY = 25;
        host::SetPrinter(printer);
        AfxGetApp()->SelectPrinter(NULL, NULL);  // the next print dialog starts on the new sheet
    }
    static void Setting(LPCSTR key, LPCSTR value)
    {
        ASSERT_TRUE(WriteAppProfileString(VL_PRODUCT_SECTION, key, value));
    }
    // Prints the view's table with OK in the print dialog: the pages' texts (empty: no job).
    std::vector<std::string> Print(CTableMainWin* pView)
    {
        host::ClearPrintedJobs();
        host::AnswerCommonDialog("print", "");
        pView->SendMessage(WM_COMMAND, IDC_TABLE_PRINT, 0);
        const auto jobs = host::PrintedJobs();
        if (jobs.empty())
            return {};
        EXPECT_EQ(1u, jobs.size());
        EXPECT_EQ("Veltra Multimedia Encyclopedia Table", jobs[0].docName);
        const auto pages = pdf_reader::PageTexts(jobs[0].file);
        EXPECT_EQ(static_cast<int>(pages.size()), pdf_reader::PageCount(jobs[0].file));
        return pages;
    }
    static std::string Row(int n)
    {
        char buf[8];
        std::snprintf(buf, sizeof buf, "r%03d", n);
        return buf;
    }
    // A table of a heading row, nRows rows and a footnote.
    static TableSource LongTable(int nRows)
    {
        std::vector<std::string> lines = {"title: Long table", "heading: Name | Value"};
        for (int i = 0; i < nRows; ++i)
            lines.push_back("row: " + Row(i) + " | v" + std::to_string(i));
        lines.push_back("footnote: Measured at noon.");
        return ParseTableSource(lines, "long");
    }
};

TEST_F(TablePrintingTest, ALongTableRepeatsItsHeadingsAndFootnotesOnEveryPage)
{
    CTableMainWin* pView = ShowTable(OpenTables({LongTable(150)}), 0);
    ASSERT_NE(pView, nullptr);
    EXPECT_TRUE(pView->CanPrint());
    const auto pages = Print(pView);
    ASSERT_GE(pages.size(), 3u);
    std::string all;
    for (std::size_t i = 0; i < pages.size(); ++i) {
        SCOPED_TRACE("page " + std::to_string(i + 1));
        const std::string& page = pages[i];
        EXPECT_NE(std::string::npos, page.find("Printed from Veltra"));
        EXPECT_NE(std::string::npos, page.find("Table 0")) << "the title line";
        EXPECT_NE(std::string::npos, page.find("Page " + std::to_string(i + 1)));
        EXPECT_NE(std::string::npos, page.find("Name")) << "the heading row";
        EXPECT_NE(std::string::npos, page.find("Measured at noon.")) << "the footnote";
        EXPECT_NE(std::string::npos, page.find("From Veltra"));
        all += page;
    }
    // Every body row once, in order: none lost at a page break, none printed twice.
    std::size_t at = 0;
    for (int i = 0; i < 150; ++i) {
        const std::size_t found = all.find(Row(i), at);
        ASSERT_NE(std::string::npos, found) << Row(i);
        EXPECT_EQ(std::string::npos, all.find(Row(i), found + 4)) << Row(i) << " twice";
        at = found;
    }
    // The rows of a page follow the headings on the page, the footnote stands below them.
    const std::string& first = pages[0];
    EXPECT_LT(first.find("Name"), first.find(Row(0)));
    EXPECT_LT(first.find(Row(0)), first.find("Measured at noon."));

    // The screen layout is untouched by the print layout.
    CArticleTable* pTable = pView->GetTable();
    EXPECT_GT(pTable->m_nPrintTableWidth, pTable->GetTableWidth());

    // With the page limit: the first two pages only.
    Setting("LPL", "Y");
    Setting("MP", "2");
    const auto limited = Print(pView);
    ASSERT_EQ(2u, limited.size());
    EXPECT_NE(std::string::npos, limited[1].find("Page 2"));
    Setting("MP", "0");
    EXPECT_EQ(pages.size(), Print(pView).size()) << "no page number is 0: every page prints";
}

TEST_F(TablePrintingTest, AShortTablePrintsOnePage)
{
    CTableMainWin* pView = ShowTable(OpenTables({Fixture()}), 0);
    ASSERT_NE(pView, nullptr);
    const auto pages = Print(pView);
    ASSERT_EQ(1u, pages.size());
    for (const char* text : {"a1", "b1", "b2", "note", "Page 1"})
        EXPECT_NE(std::string::npos, pages[0].find(text)) << text;
    host::CancelCommonDialog("print");
    host::ClearPrintedJobs();
    pView->SendMessage(WM_COMMAND, IDC_TABLE_PRINT, 0);
    EXPECT_TRUE(host::PrintedJobs().empty()) << "Cancel prints nothing";
}

TEST_F(TablePrintingTest, AWideTableOnAPortraitPageAsksForLandscape)
{
    std::vector<std::string> lines = {"title: Wide", "heading: c1 | c2 | c3 | c4 | c5 | c6 | c7 | c8 | c9"};
    for (int i = 0; i < 5; ++i)
        lines.push_back("row: " + Row(i) + " | 2 | 3 | 4 | 5 | 6 | 7 | 8 | last" + std::to_string(i));
    CTableMainWin* pView = ShowTable(OpenTables({ParseTableSource(lines, "wide")}), 0);
    ASSERT_NE(pView, nullptr);

    const std::size_t boxes = host::MessageBoxLog().size();
    host::AnswerNextMessageBox(IDCANCEL);
    EXPECT_TRUE(Print(pView).empty()) << "Cancel in the warning: no page";
    auto log = host::MessageBoxLog();
    ASSERT_EQ(boxes + 1, log.size());
    EXPECT_EQ(0u, log.back().text.find("To print wide tables in Veltra, you must first change your print orientation "
                                       "to Landscape."));
    EXPECT_NE(std::string::npos, log.back().text.find("\n\nTo continue printing without changing your print "
                                                      "orientation, select OK."));

    host::AnswerNextMessageBox(IDOK);
    auto pages = Print(pView);
    ASSERT_EQ(1u, pages.size()) << "OK prints anyway";
    EXPECT_NE(std::string::npos, pages[0].find(Row(4)));

    // On a landscape sheet there is nothing to ask; the table spreads over the page's width.
    UsePrinter(1100, 850);
    pages = Print(pView);
    EXPECT_EQ(boxes + 2, host::MessageBoxLog().size());
    ASSERT_EQ(1u, pages.size());
    const auto jobs = host::PrintedJobs();
    int xFirst = 0, xLast = 0;
    for (const host::PrintedText& t : jobs[0].texts[0]) {
        if (t.text == "c1")
            xFirst = t.x;
        if (t.text == "c9")
            xLast = t.x;
    }
    EXPECT_GT(xLast - xFirst, 1050 / 2) << "nine columns across most of the page";
}

TEST_F(TablePrintingTest, HeadingsAndFootnotesThatFillThePageAreTooTallToPrint)
{
    std::vector<std::string> lines = {"title: Tall", "heading: A | B", "row: x | y"};
    for (int i = 0; i < 30; ++i)
        lines.push_back("footnote: Footnote number " + std::to_string(i) + ".");
    CTableMainWin* pView = ShowTable(OpenTables({ParseTableSource(lines, "tall")}), 0);
    ASSERT_NE(pView, nullptr);
    UsePrinter(850, 400);
    const std::size_t boxes = host::MessageBoxLog().size();
    host::AnswerNextMessageBox(IDOK);
    EXPECT_TRUE(Print(pView).empty());
    auto log = host::MessageBoxLog();
    ASSERT_EQ(boxes + 1, log.size());
    EXPECT_EQ("table too tall to print", log.back().text);
    EXPECT_TRUE(host::PrintedJobs().empty());
}

TEST_F(TablePrintingTest, ThePrintedSampleTable)
{
    UsePrinter(1100, 850);
    CTableMainWin* pView = ShowTable(OpenSample("1001-aviation.txt"), 0);
    ASSERT_NE(pView, nullptr);
    const auto pages = Print(pView);
    ASSERT_FALSE(pages.empty());
    EXPECT_NE(std::string::npos, pages[0].find("Ford Trimotor"));
    pdf_reader::RenderPageForScreenshot(host::PrintedJobs()[0].file, 1, "table-printed");
}

}  // namespace
