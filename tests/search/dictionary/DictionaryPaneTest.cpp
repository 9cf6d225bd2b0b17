// The dictionary pane on the sample dictionary, driven by injected keys and mouse: look-ups, the
// two tabs, scrolling both ways, selecting and copying, printing; screenshots of both tabs.
#include "DictionaryTestSupport.h"

#include "widgets/CustomComboDropList.h"

#include "base/AppServices.h"
#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"
#include "search/DictionaryTabWin.h"

#include <DialogDriver.h>

#include <host/Display.h>
#include <host/Input.h>
#include <host/Paths.h>
#include <host/Printer.h>

#include <memory>

namespace {

class DictionaryPaneTest : public DictionaryTest {
protected:
    void SetUp() override
    {
        DictionaryTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        AppServices().env.nScreenWidth = 1024;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        m_files = discbuilder::BuildDictionary(discbuilder::ReadDictionarySources(std::filesystem::path(VL_SAMPLE_DIR) / "dictionary"));
        discbuilder::WriteDictionary(m_files, DataFolder());
        AppServices().owned.pDictionaryEngine = new CDictionarySearchEngine;
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        pane = std::make_unique<CDictionaryTabWin>();
        ASSERT_TRUE(pane->Create(CPoint(10, 10), &main));
        pane->SetWindowPos(NULL, 10, 10, 300, 480, SWP_NOZORDER);
        pane->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        pane.reset();
        main.DestroyWindow();
        delete AppServices().owned.pDictionaryEngine;
        AppServices().owned.pDictionaryEngine = NULL;
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
        DictionaryTest::TearDown();
    }

    // The headword of the first laid-out line shown in the definitions pane (or the word list).
    std::string TopHeadword()
    {
        CDictionaryDefnWin& defs = pane->GetDefinitionsPane();
        if (pane->GetCurrentTab() == 0) {
            const CStringArray& rows = pane->GetWordListPane().GetRows();
            const int top = pane->GetWordListPane().GetTopRow();
            return top < rows.GetSize() ? std::string(CDictionaryDoc::HeadwordOf(rows[top], TRUE)) : "";
        }
        const CStringArray& lines = defs.GetLines();
        for (int i = defs.GetTopLine(); i < lines.GetSize(); ++i)
            if (!lines[i].IsEmpty() && static_cast<BYTE>(lines[i][0]) == 0xBD)
                return std::string(CDictionaryDoc::HeadwordOf(lines[i], FALSE));
        return "";
    }
    std::string ShownText()
    {
        std::string text;
        const CStringArray& lines = pane->GetDefinitionsPane().GetLines();
        for (int i = 0; i < lines.GetSize(); ++i)
            text += std::string(CDictionaryLayout::PlainText(lines[i])) + "\n";
        return text;
    }
    void TypeWord(const char* word)
    {
        pane->GetEntryBox().SetFocus();
        pane->GetEntryBox().SetWindowText("");
        host::TypeText(word);
        host::PressKey(VK_RETURN);
        ui::PumpUntilIdle();
    }
    // A point of the definitions pane's client area in desktop coordinates.
    CPoint DefinitionsPoint(int x, int y)
    {
        CPoint point(x, y);
        pane->GetDefinitionsPane().ClientToScreen(&point);
        return point;
    }

    CWnd main;
    std::unique_ptr<CDictionaryTabWin> pane;
};

std::string Lower(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

}  // namespace

TEST_F(DictionaryPaneTest, TypedWordsShowTheirDefinitions)
{
    EXPECT_EQ("a", Lower(TopHeadword())) << "the first showing looks up \"a\"";
    EXPECT_EQ(1, pane->GetCurrentTab());
    TypeWord("apples");
    EXPECT_EQ("Apple", TopHeadword());
    EXPECT_EQ("apples", std::string(pane->GetCurrentWord()));
    EXPECT_NE(std::string::npos, ShownText().find("The fleshy pome or fruit")) << ShownText();
    ui::dialog::Screenshot(pane->m_hWnd, "dictionary_definitions.png");
    // An empty entry box looks up "a"; Home looks up "a" and End "z-zero".
    TypeWord("");
    EXPECT_EQ("a", Lower(TopHeadword()));
    TypeWord("berries");
    EXPECT_EQ("berry", Lower(TopHeadword()));
    host::PressKey(VK_END);
    ui::PumpUntilIdle();
    EXPECT_EQ("z-zero", std::string(pane->GetCurrentWord()));
    EXPECT_EQ('z', Lower(TopHeadword())[0]);
    host::PressKey(VK_HOME);
    ui::PumpUntilIdle();
    EXPECT_EQ("a", std::string(pane->GetCurrentWord()));

    // The ENTER WORD box drops down the words looked up (End's "z-zero" too), each once, in
    // their order.
    CCustomComboDropList& entry = pane->GetEntryCombo();
    std::vector<std::string> listed;
    for (int i = 0; i < entry.GetRowCount(); ++i) {
        const HTREEITEM id = entry.GetList().GetItemIdAt(i);
        listed.emplace_back(static_cast<LPCSTR>(entry.GetList().GetItemText(id)));
    }
    EXPECT_EQ((std::vector<std::string>{"a", "apples", "berries", "z-zero"}), listed);
}

TEST_F(DictionaryPaneTest, ScrollsThroughTheFileBothWays)
{
    TypeWord("walk");
    const std::string start = TopHeadword();
    EXPECT_EQ("walk", Lower(start));
    CDictionaryDefnWin& defs = pane->GetDefinitionsPane();
    const int perPage = defs.GetLinesPerPage();
    ASSERT_GT(perPage, 5);
    for (int i = 0; i < 3; ++i) {
        host::PressKey(VK_NEXT);
        ui::PumpUntilIdle();
    }
    EXPECT_EQ(3 * perPage, defs.GetTopLine());
    const std::string later = TopHeadword();
    EXPECT_GT(Lower(later), Lower(start)) << "paging down reads the entries after";
    // Back up past the first laid-out entry: the entries before are read and laid out.
    TypeWord("walk");
    host::PressKey(VK_UP);
    ui::PumpUntilIdle();
    ASSERT_GT(defs.GetTopLine(), 0) << "the lines of the entry before were put in front";
    std::string before;
    for (int i = 0; i < defs.GetTopLine(); ++i)
        if (static_cast<BYTE>(defs.GetLines()[i][0]) == 0xBD)
            before = std::string(CDictionaryDoc::HeadwordOf(defs.GetLines()[i], FALSE));
    EXPECT_LT(Lower(before), "walk");
    EXPECT_FALSE(before.empty());
    // Up on the file's first entry does not move.
    TypeWord("0");
    const int top = defs.GetTopLine();
    const std::string first = TopHeadword();
    ASSERT_EQ(m_files.entries.front().headword, first);
    host::PressKey(VK_UP);
    host::PressKey(VK_PRIOR);
    ui::PumpUntilIdle();
    EXPECT_EQ(top, defs.GetTopLine());
    EXPECT_EQ(first, TopHeadword());
}

TEST_F(DictionaryPaneTest, WordListShowsHeadwordsAndAClickLooksOneUp)
{
    TypeWord("cat");
    pane->SendMessage(WM_COMMAND, IDC_DICTIONARY_TAB);
    ui::PumpUntilIdle();
    ASSERT_EQ(0, pane->GetCurrentTab());
    CDictionaryWordListWin& list = pane->GetWordListPane();
    ASSERT_GT(list.GetRows().GetSize(), 5);
    EXPECT_EQ("cat", Lower(TopHeadword())) << "the list starts at the current word";
    ui::dialog::Screenshot(pane->m_hWnd, "dictionary_wordlist.png");
    // Line down and back.
    host::PressKey(VK_DOWN);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, list.GetTopRow());
    host::PressKey(VK_UP);
    host::PressKey(VK_UP);
    ui::PumpUntilIdle();
    EXPECT_LT(Lower(TopHeadword()), "cat") << "line up above the first row reads the headword before";
    // A click on the third row shows that headword's definitions.
    const std::string third = std::string(CDictionaryDoc::HeadwordOf(list.GetRows()[list.GetTopRow() + 2], TRUE));
    CPoint point(20, 2 + 2 * list.GetLineHeight() + list.GetLineHeight() / 2);
    list.ClientToScreen(&point);
    host::Click(point.x, point.y);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, pane->GetCurrentTab()) << "a look-up always ends on the Definitions tab";
    EXPECT_EQ(Lower(third), Lower(TopHeadword()));
    // Switching to the word list and back keeps the headword at the top.
    pane->SendMessage(WM_COMMAND, IDC_DICTIONARY_TAB);
    pane->SendMessage(WM_COMMAND, IDC_DICTIONARY_TAB);
    ui::PumpUntilIdle();
    EXPECT_EQ(Lower(third), Lower(TopHeadword()));
}

TEST_F(DictionaryPaneTest, DraggingSelectsWordsThatCopyAndADoubleClickLooksUp)
{
    TypeWord("apple");
    CDictionaryDefnWin& defs = pane->GetDefinitionsPane();
    const int h = defs.GetLineHeight();
    // Drag across the start of the second line.
    CPoint from = DefinitionsPoint(30, 2 + h + h / 2);
    CPoint to = DefinitionsPoint(120, 2 + h + h / 2);
    host::MouseMove(from.x, from.y);
    host::MouseDown();
    host::MouseMove(from.x + 1, from.y);
    host::MouseMove(to.x, to.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    const CString selected = defs.GetSelectedText(-1);
    ASSERT_FALSE(selected.IsEmpty());
    EXPECT_NE(std::string::npos, ShownText().find(std::string(selected)));
    pane->CopyToClipboard();
    ASSERT_TRUE(::OpenClipboard(NULL));
    HANDLE hText = ::GetClipboardData(CF_TEXT);
    ASSERT_NE(nullptr, hText);
    EXPECT_STREQ(selected, static_cast<const char*>(::GlobalLock(hText)));
    ::GlobalUnlock(hText);
    ::CloseClipboard();
    // A double click on a word of the definitions looks it up.
    ::SendMessage(defs.m_hWnd, WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(60, 2 + h / 2));
    ui::PumpUntilIdle();
    EXPECT_EQ("Ap\"ple", std::string(pane->GetCurrentWord()));
}

TEST_F(DictionaryPaneTest, PrintsTheDefinitionsShownAndStopsAtThePageLimit)
{
    TypeWord("apple");
    host::ClearPrintedJobs();
    host::AnswerCommonDialog("print", "");
    pane->Print();
    auto jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Veltra Dictionary", jobs[0].docName);
    ASSERT_GE(jobs[0].pages.size(), 1u);
    std::ifstream pdf(jobs[0].file, std::ios::binary);
    std::string head(5, '\0');
    pdf.read(head.data(), 5);
    EXPECT_EQ("%PDF-", head);
    // The page carries ink in its header band and in its text area.
    const auto& page = *jobs[0].pages[0];
    if (const char* keep = std::getenv("VL_SCREENSHOT_DIR"))
        page.WritePng((std::filesystem::path(keep) / "dictionary_printed.png").string());
    auto inkIn = [&](int y0, int y1) {
        int n = 0;
        for (int y = y0; y < y1 && y < page.Height(); ++y)
            for (int x = 0; x < page.Width(); x += 2)
                n += page.Get(x, y) != 0xFFFFFF;
        return n;
    };
    EXPECT_GT(inkIn(0, 150), 0) << "the header";
    EXPECT_GT(inkIn(300, 700), 100) << "the definition";

    // Read far on, then print with a limit of two pages.
    pane->GetEntryBox().SetFocus();
    for (int i = 0; i < 25; ++i) {
        host::PressKey(VK_NEXT);
        ui::PumpUntilIdle();
    }
    ASSERT_GT(pane->GetDefinitionsPane().GetTopLine(), 20 * pane->GetDefinitionsPane().GetLinesPerPage());
    ASSERT_GT(pane->GetDocument(FALSE)->GetEntry()->m_accumulated.GetSize(), 200);
    SetProfile(VL_PRODUCT_SECTION, "LPL", "Y");
    SetProfile(VL_PRODUCT_SECTION, "MP", "2");
    host::ClearPrintedJobs();
    host::AnswerCommonDialog("print", "");
    pane->Print();
    jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ(2u, jobs[0].pages.size());
    // The word list prints its rows on one page.
    pane->SendMessage(WM_COMMAND, IDC_DICTIONARY_TAB);
    ui::PumpUntilIdle();
    host::ClearPrintedJobs();
    host::AnswerCommonDialog("print", "");
    pane->Print();
    jobs = host::PrintedJobs();
    ASSERT_EQ(1u, jobs.size());
    EXPECT_EQ("Veltra Multimedia Encyclopedia Dictionary", jobs[0].docName);
    EXPECT_EQ(1u, jobs[0].pages.size());
    // Cancelled: nothing printed.
    host::ClearPrintedJobs();
    host::CancelCommonDialog("print");
    pane->Print();
    EXPECT_TRUE(host::PrintedJobs().empty());
}

TEST_F(DictionaryPaneTest, HidingClosesTheFilesAndShowingReopensThem)
{
    TypeWord("box");
    CDictionaryDoc* doc = pane->GetDocument(FALSE);
    ASSERT_NE(nullptr, doc);
    pane->SendMessage(WM_CLOSE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pane->IsWindowVisible());
    EXPECT_FALSE(doc->IsOpen());
    EXPECT_FALSE(AppServices().owned.pDictionaryEngine->IsIndexOpen());
    pane->LookUpWord("boxes");
    ui::PumpUntilIdle();
    EXPECT_TRUE(pane->IsWindowVisible());
    EXPECT_TRUE(doc->IsOpen());
    EXPECT_EQ("box", Lower(TopHeadword()));
    EXPECT_TRUE(pane->IsOwnWindow(&pane->GetWordListPane()));
    EXPECT_FALSE(pane->IsOwnWindow(&main));
}
