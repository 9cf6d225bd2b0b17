// The search pane on the sample disc's indexes: the query its fields build, the cut of a query at
// its first operator, the kind filter's masks and boxes, and searches from typed keys through the
// real engines to the result rows and the posted opening of the first article; the boxes of an
// empty result and of a bad query, the spelling pop-up and the wildcard word list over the
// result list, the mode switch, and the opening of each kind of result.
#include "TopicTestSupport.h"

#include "search/SearchTabWin.h"
#include "search/SpellCheckDlg.h"
#include "search/WildDlg.h"
#include "search/KeywordWildcards.h"
#include "search/QueryParser.h"
#include "widgets/PopupMessageBox.h"

#include "base/PaletteSelector.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"
#include "media/MediaDisplayRef.h"

#include <DialogDriver.h>
#include <SampleDisc.h>

#include <host/Input.h>

#include <memory>

namespace {

// ---- the cut at the first operator ----

TEST(TrimQueryAtOperatorTest, CutsBeforeTheFirstOperatorWordOnly)
{
    struct Case {
        const char* query;
        const char* cut;
    } cases[] = {
        {"lion and tiger", "lion"},
        {"Lion AND Tiger", "Lion"},
        {"lion near5 tiger or bear", "lion"},
        {"lion &w3 tiger", "lion"},
        {"lion | tiger", "lion"},
        {"lion   without tiger", "lion"},
        {"lion\nnotp tiger", "lion"},
        {"lion /t", "lion"},
        {"big cats or lions", "big cats"},
        // Words that only begin like an operator, and operators inside words, are words.
        {"sand dune", "sand dune"},
        {"horse or cow", "horse"},
        {"blood orange", "blood orange"},
        {"nothing andromeda", "nothing andromeda"},
        // An operator at the very start, and one inside a quoted phrase, are not cut at.
        {"and lion", "and lion"},
        {"\"lion and tiger\" or bear", "\"lion and tiger\""},
        {"", ""},
    };
    for (const Case& c : cases) {
        CString query = c.query;
        TrimQueryAtOperator(query);
        EXPECT_EQ(std::string(c.cut), std::string(query)) << c.query;
    }
}

TEST(SearchFilterTest, EachBoxAddsItsKinds)
{
    struct Case {
        int box;
        UINT flag;
        LONG kinds;
    } cases[] = {
        {0, 0x400, 0x11EF00}, {1, 0x1, 0x400},   {2, 0x2, 0x11000}, {3, 0x4, 0x200}, {4, 0x8, 0x2000},
        {5, 0x10, 0x800},     {6, 0x20, 0x100},  {7, 0x80, 0x4000}, {8, 0, 0},       {9, 0x200, 0x100000},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.flag, CSearchTabWin::FilterFlag(c.box)) << c.box;
        EXPECT_EQ(c.kinds, CSearchTabWin::FilterKinds(c.box)) << c.box;
        EXPECT_EQ(c.kinds, CSearchTabWin::KindMaskOf(c.flag)) << c.box;
    }
    EXPECT_EQ(0x11EF00, CSearchTabWin::KindMaskOf(0x400 | 0x20)) << "ALL covers the rest";
    EXPECT_EQ(0x100 | 0x4000 | 0x100000, CSearchTabWin::KindMaskOf(0x20 | 0x80 | 0x200));
    EXPECT_EQ(0, CSearchTabWin::KindMaskOf(0));
}

// ---- the pane ----

std::filesystem::path SampleDiscFolder()
{
    static TempDir folder;
    static const bool built = [] {
        discbuilder::BuildSampleDisc(VL_SAMPLE_DIR, folder.path() / "disc");
        return true;
    }();
    (void)built;
    return folder.path() / "disc";
}

// What the pane posts to its top-level window.
struct Posted {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
};

// The top-level window: keeps what the pane posts to it (the carried objects stay the test's).
class RecordingMain : public CWnd {
public:
    std::vector<Posted> posted;
    std::vector<LPARAM> panesDown;  // the 0x411 sent to it: which pane went down

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_PANE_DOWN) {
            panesDown.push_back(lParam);
            return 0;
        }
        if (message == VLM_OPEN_WINDOW || message == VLM_POST_TO_WINDOW || message == VLM_OPEN_FOUND_ITEM) {
            posted.push_back({message, wParam, lParam});
            return 1;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class SearchPaneTest : public TopicTest {
protected:
    void SetUp() override
    {
        TopicTest::SetUp();
        std::filesystem::copy(SampleDiscFolder() / "info_dat", DataFolder(),
                              std::filesystem::copy_options::recursive | std::filesystem::copy_options::overwrite_existing);
        AppServices().owned.pSearchEngine = &m_engine;
        ASSERT_TRUE(m_engine.Init());
        ASSERT_TRUE(LoadAppPalettes());
        AppServices().env.nScreenWidth = 1024;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        pane = std::make_unique<CSearchTabWin>();
        ASSERT_TRUE(pane->Create(CPoint(10, 16), &main));
        pane->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        for (const Posted& p : TakePosted())
            DeleteCarried(p);
        pane.reset();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        if (AppServices().env.hResourceLibrary != NULL)
            ::FreeLibrary(AppServices().env.hResourceLibrary);
        AppServices().env.hResourceLibrary = NULL;
        TopicTest::TearDown();
    }

    // The messages posted to the main window, the carried objects the caller's.
    std::vector<Posted> TakePosted()
    {
        ui::PumpUntilIdle();
        std::vector<Posted> posted;
        posted.swap(main.posted);
        return posted;
    }
    static void DeleteCarried(const Posted& p)
    {
        if (p.message == VLM_POST_TO_WINDOW)
            delete reinterpret_cast<CMediaDisplayRef*>(p.lParam);
        else
            delete reinterpret_cast<CReference*>(p.lParam);
    }
    // The RIN of the one article opened since the last call (0 when none was).
    LONG OpenedArticle(int line = __builtin_LINE())
    {
        LONG rin = 0;
        int count = 0;
        for (const Posted& p : TakePosted()) {
            if (p.message == VLM_OPEN_FOUND_ITEM && p.wParam == IDW_ARTICLE) {
                rin = reinterpret_cast<CReference*>(p.lParam)->GetNumber();
                ++count;
            }
            DeleteCarried(p);
        }
        EXPECT_LE(count, 1) << "at line " << line;
        return rin;
    }

    void ToWordMode()
    {
        if (!pane->IsWordMode())
            pane->SendMessage(WM_COMMAND, IDC_SEARCH_WORD_MODE);
        ui::PumpUntilIdle();
        ASSERT_TRUE(pane->IsWordMode());
    }
    void Click(CWnd& wnd, int x, int y)
    {
        ui::AdvanceClock(1000);  // never a double click
        CPoint p(x, y);
        wnd.ClientToScreen(&p);
        host::Click(p.x, p.y);
        ui::PumpUntilIdle();
    }
    // Types into the field (which gets the focus) and presses Enter.
    void TypeAndEnter(CEdit& field, const char* text)
    {
        field.SetFocus();
        field.SetSel(0, -1);
        host::TypeText(text);
        host::PressKey(VK_RETURN);
        ui::PumpUntilIdle();
    }
    std::vector<std::string> Rows()
    {
        std::vector<std::string> rows;
        CVLRefListBox& list = pane->GetResultList();
        for (int i = 0; i < list.GetCount(); ++i)
            rows.push_back(std::string(list.GetItemText(list.GetItemIdAt(i))));
        return rows;
    }
    // The popup boxes the action shows: their caption, text and place, each closed with OK.
    struct Popup {
        std::string title, text;
        CPoint where;
    };
    std::vector<Popup> PopupsOf(const std::function<void()>& action, int expected = 1)
    {
        auto shown = std::make_shared<std::vector<Popup>>();
        for (int i = 0; i < expected; ++i)
            host::RunInNextModalLoop([shown](HWND dlg) {
                ui::dialog::Pump(dlg);
                auto* box = dynamic_cast<CPopupMessageBox*>(CWnd::FromHandlePermanent(dlg));
                ASSERT_NE(nullptr, box);
                CRect r;
                ::GetWindowRect(dlg, &r);
                shown->push_back({std::string(box->GetTitle()), std::string(box->GetText()), r.TopLeft()});
                ui::dialog::Screenshot(dlg, "search_pane_popup_" + std::to_string(shown->size()) + ".png");
                ::SendMessageA(dlg, WM_COMMAND, IDOK, 0);
            });
        action();
        EXPECT_EQ(0u, host::PendingModalActions());
        return *shown;
    }

    RecordingMain main;
    std::unique_ptr<CSearchTabWin> pane;
};

TEST_F(SearchPaneTest, TheWordFieldsBuildTheQueryAndSetTheScope)
{
    ToWordMode();
    struct Case {
        const char* words[3];
        int operators[2];
        bool withinWords;
        int scopeRow;
        const char* distance;
        const char* query;
        int scope;
    } cases[] = {
        {{"lion", "", ""}, {0, 0}, false, 0, "8", "lion", 2},
        {{"lion", "tiger", ""}, {0, 0}, false, 0, "8", "lion and tiger", 2},
        {{"lion", "tiger", "bear"}, {1, 2}, false, 1, "8", "lion or tiger not bear", 3},
        {{" lion ", "  tiger", ""}, {0, 0}, false, 2, "8", "lion and tiger", 4},
        {{"lion", "", "bear"}, {0, 1}, false, 3, "8", "lion or bear", 5},
        {{"lion", "tiger", ""}, {0, 0}, true, 0, "8", "lion and8 tiger", 1},
        {{"lion", "tiger", "bear"}, {0, 2}, true, 0, "12", "lion and12 tiger not12 bear", 1},
        {{"lion", "tiger", ""}, {0, 0}, true, 0, "x9", "lion and tiger", 1},
        {{"lion", "tiger", ""}, {0, 0}, true, 0, "900", "lion and255 tiger", 1},
        {{"", "tiger", "bear"}, {0, 0}, false, 0, "8", "", 2},
    };
    for (const Case& c : cases) {
        for (int i = 0; i < 3; ++i)
            pane->GetWordField(i).SetWindowText(c.words[i]);
        pane->GetOperatorList(0).ShowItemText(c.operators[0]);
        pane->GetOperatorList(1).ShowItemText(c.operators[1]);
        pane->GetScopeList().ShowItemText(c.scopeRow);
        pane->SendMessage(WM_COMMAND, c.withinWords ? IDC_SEARCH_WORDS_RADIO : IDC_SEARCH_WITHIN_RADIO);
        pane->GetDistanceField().SetWindowText(c.distance);
        EXPECT_EQ(std::string(c.query), std::string(pane->BuildQuery())) << c.query;
        EXPECT_EQ(c.scope, pane->GetScope()) << c.query;
        EXPECT_EQ(c.scope, GetDefaultScope()) << "the keyword engine's default scope";
        EXPECT_EQ(c.withinWords, pane->GetWordsRadio().GetCheck() != 0);
        EXPECT_EQ(!c.withinWords, pane->GetWithinRadio().GetCheck() != 0);
    }
    // The scope commands check the radio they belong to and pick the list's row.
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_SCOPE_SUBHEADING);
    EXPECT_EQ(CString(" SUB-HEADING "), pane->GetScopeList().GetShownText());
    EXPECT_TRUE(pane->GetWithinRadio().GetCheck());
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_SCOPE_ARTICLE);
    pane->GetWordField(0).SetWindowText("lion");
    pane->BuildQuery();
    EXPECT_EQ(5, pane->GetScope());
}

TEST_F(SearchPaneTest, ATopicTypedWithKeysListsTheHeadingAndOpensItsArticle)
{
    ASSERT_FALSE(pane->IsWordMode());
    EXPECT_EQ(&pane->GetTopicField().GetEdit(), CWnd::GetFocus()) << "the topic field takes the keys";
    TypeAndEnter(pane->GetTopicField().GetEdit(), "volcano");
    const std::vector<std::string> rows = Rows();
    ASSERT_GE(rows.size(), 3u);
    EXPECT_EQ("Volcano", rows[0]) << "the heading, opened at its first article";
    EXPECT_EQ(1002, OpenedArticle()) << "the first article hit opens at once";
    CReference* selected = reinterpret_cast<CReference*>(
        pane->GetResultList().GetItemValue(pane->GetResultList().GetCurrentItemId()));
    ASSERT_NE(nullptr, selected);
    EXPECT_EQ(1002, selected->GetNumber());
    EXPECT_EQ(CString("volcano"), pane->GetLastQuery(FALSE));
    EXPECT_EQ(CString("volcano"), pane->GetTopicField().GetEditText());
    EXPECT_TRUE(pane->SendMessage(VLM_HAS_RESULTS));

    // A second search of the same topic lists it once among the earlier texts; another adds a row.
    TypeAndEnter(pane->GetTopicField().GetEdit(), "volcano");
    EXPECT_EQ(1002, OpenedArticle());
    TypeAndEnter(pane->GetTopicField().GetEdit(), "jazz");
    EXPECT_EQ(2, pane->GetTopicField().GetRowCount());
    EXPECT_EQ(1004, OpenedArticle());

    // A double-clicked result opens through the frame; the pane answers 1.
    CVLRefListBox& list = pane->GetResultList();
    CReference* row = reinterpret_cast<CReference*>(list.GetItemValue(list.GetItemIdAt(1)));
    ASSERT_NE(nullptr, row);
    EXPECT_EQ(1, pane->SendMessage(VLM_RESULT_CHOSEN, 0, reinterpret_cast<LPARAM>(row)));
    EXPECT_EQ(row->GetNumber(), OpenedArticle());
    EXPECT_EQ(1, pane->SendMessage(VLM_RESULT_CHOSEN, 0, 0));
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(SearchPaneTest, AWordSearchFromTheSearchButtonAndItsKindFilter)
{
    ToWordMode();
    EXPECT_EQ(CString(SEARCH_CAPTION_WORD), [&] { CString s; pane->GetWindowText(s); return s; }());
    pane->GetWordField(0).SetWindowText("lava");
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_GO);
    ui::PumpUntilIdle();
    ASSERT_FALSE(Rows().empty());
    EXPECT_EQ(1002, OpenedArticle());
    CReferenceList* all = pane->GetModeResults(TRUE);
    bool anyMedia = false;
    for (int i = 0; i < all->GetCount(); ++i)
        anyMedia |= all->GetAtIndex(i)->GetKind() != REFKIND_ARTICLE && all->GetAtIndex(i)->GetKind() != REFKIND_NONE;

    // The boxes: "ARTICLES" alone, then unchecked again ("ALL" comes back), then two kinds, then "ALL".
    CRadioButton* articles = pane->GetFilterBox(6);
    CRadioButton* everything = pane->GetFilterBox(0);
    ASSERT_TRUE(articles->IsWindowVisible());
    EXPECT_FALSE(pane->GetFilterBox(3)->IsWindowVisible()) << "ANIMATIONS is never shown";
    EXPECT_EQ(nullptr, pane->GetFilterBox(8));
    Click(*articles, 5, 5);
    EXPECT_EQ(0x20u, pane->GetFilterFlags());
    EXPECT_EQ(0x100, pane->GetKindMask());
    EXPECT_FALSE(everything->GetCheck());
    EXPECT_TRUE(pane->IsFilterShown());
    Click(*articles, 5, 5);
    EXPECT_EQ(0x400u, pane->GetFilterFlags()) << "unchecking the last box checks ALL again";
    EXPECT_TRUE(everything->GetCheck());
    EXPECT_EQ(0x11EF00, pane->GetKindMask());
    EXPECT_FALSE(pane->IsFilterShown());
    Click(*pane->GetFilterBox(1), 5, 5);
    Click(*pane->GetFilterBox(2), 5, 5);
    EXPECT_EQ(0x3u, pane->GetFilterFlags());
    EXPECT_EQ(0x400 | 0x11000, pane->GetKindMask());
    Click(*everything, 5, 5);
    EXPECT_EQ(0x400u, pane->GetFilterFlags());
    EXPECT_FALSE(pane->GetFilterBox(1)->GetCheck());

    // With only "ARTICLES", the same search lists articles (and the headings over them) only.
    Click(*articles, 5, 5);
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_GO);
    ui::PumpUntilIdle();
    CReferenceList* shown = pane->GetResultList().GetResults();
    ASSERT_NE(nullptr, shown);
    ASSERT_GT(shown->GetCount(), 0);
    for (int i = 0; i < shown->GetCount(); ++i) {
        const LONG kind = shown->GetAtIndex(i)->GetKind();
        EXPECT_TRUE(kind == REFKIND_ARTICLE || kind == REFKIND_NONE) << kind;
    }
    if (anyMedia) {
        EXPECT_LT(shown->GetCount(), all->GetCount());
    }
    EXPECT_EQ(1002, OpenedArticle());
}

// Picture items are found by the words of their captions, texts and labels, listed beside the
// articles and opened in the media view.
TEST_F(SearchPaneTest, AWordSearchListsThePicturesWhoseTextsHoldTheWord)
{
    ToWordMode();
    pane->GetWordField(0).SetWindowText("lava");
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_GO);
    ui::PumpUntilIdle();
    EXPECT_EQ(1002, OpenedArticle());
    CReferenceList* all = pane->GetModeResults(TRUE);
    CReference* picture = nullptr;
    for (int i = 0; i < all->GetCount(); ++i)
        if (all->GetAtIndex(i)->GetNumber() == 1001002)
            picture = all->GetAtIndex(i);
    ASSERT_NE(nullptr, picture) << "Lava fountains at night";
    EXPECT_EQ(REFKIND_PICTURE, picture->GetKind());
    EXPECT_EQ("Lava fountains at night", std::string(picture->GetTitle()));
    pane->OpenResult(picture);
    const std::vector<Posted> posted = TakePosted();
    ASSERT_EQ(1u, posted.size());
    EXPECT_EQ(static_cast<UINT>(VLM_POST_TO_WINDOW), posted[0].message);
    EXPECT_EQ(static_cast<WPARAM>(IDW_MEDIA), posted[0].wParam);
    EXPECT_EQ(1001002, reinterpret_cast<CMediaDisplayRef*>(posted[0].lParam)->GetReference()->GetNumber());
    DeleteCarried(posted[0]);
}

TEST_F(SearchPaneTest, EmptyResultsAreToldInThePopupOfTheirMode)
{
    ToWordMode();
    pane->GetWordField(0).SetWindowText("qqqzzzx");
    std::vector<Popup> popups = PopupsOf([&] { pane->OnSearch(); });
    ASSERT_EQ(1u, popups.size());
    EXPECT_EQ("WORD SEARCH", popups[0].title);
    EXPECT_EQ("No Matches Found.", popups[0].text);
    EXPECT_EQ(pane->PopupPoint(), popups[0].where);
    EXPECT_TRUE(Rows().empty());
    EXPECT_FALSE(pane->SendMessage(VLM_HAS_RESULTS));
    EXPECT_EQ(0, OpenedArticle());

    // The mode switch runs the word query as a topic.
    popups = PopupsOf([&] { pane->SendMessage(WM_COMMAND, IDC_SEARCH_TOPIC_MODE); });
    ASSERT_EQ(1u, popups.size());
    EXPECT_EQ("TOPIC SEARCH", popups[0].title);
    EXPECT_EQ("No Topics Found.", popups[0].text);
}

TEST_F(SearchPaneTest, ABadQueryShowsTheParsersMessageAndNoSecondBox)
{
    ToWordMode();
    struct Case {
        const char* query;
        const char* message;
    } cases[] = {
        {"(lava and volcano", QUERY_MSG_MISSING_RIGHT},
        {"lava and volcano)", QUERY_MSG_MISSING_LEFT},
        {"\"lava volcano", QUERY_MSG_MISSING_QUOTE},
    };
    for (const Case& c : cases) {
        pane->GetWordField(0).SetWindowText(c.query);
        const std::vector<std::string> boxes = BoxesOf([&] {
            const std::vector<Popup> popups = PopupsOf([&] { pane->OnSearch(); }, 0);
            EXPECT_TRUE(popups.empty()) << c.query;
        });
        EXPECT_EQ((std::vector<std::string>{c.message}), boxes) << c.query;
        EXPECT_TRUE(Rows().empty());
        EXPECT_EQ(0, OpenedArticle());
    }
}

TEST_F(SearchPaneTest, TheSpellingPopupAndTheWordListOpenOverTheResults)
{
    ToWordMode();
    // A misspelt word: the pop-up at the pop-up point offers the index's words; Go searches them.
    pane->GetWordField(0).SetWindowText("vulcano");
    host::RunInNextModalLoop([&](HWND dlg) {
        ui::dialog::Pump(dlg);
        auto* spell = dynamic_cast<CSpellCheckDlg*>(CWnd::FromHandlePermanent(dlg));
        ASSERT_NE(nullptr, spell);
        CRect r;
        ::GetWindowRect(dlg, &r);
        EXPECT_EQ(pane->PopupPoint(), r.TopLeft());
        EXPECT_EQ("Words that match: VULCANO", std::string(spell->GetLabel()));
        spell->GetEdit().SetWindowText("VOLCANO");
        ui::dialog::Click(dlg, IDOK);
    });
    pane->OnSearch();
    EXPECT_EQ(0u, host::PendingModalActions());
    EXPECT_EQ(CString("volcano"), pane->GetLastQuery(TRUE)) << "the corrected query runs";
    EXPECT_EQ(1002, OpenedArticle());

    // A wildcard: the word list opens at the result list's corner; the chosen word is searched.
    pane->GetWordField(0).SetWindowText("volc*");
    host::RunInNextModalLoop([&](HWND dlg) {
        ui::dialog::Pump(dlg);
        CRect r, list;
        ::GetWindowRect(dlg, &r);
        pane->GetResultList().GetWindowRect(&list);
        EXPECT_EQ(list.TopLeft(), r.TopLeft());
        HWND words = ::GetDlgItem(dlg, IDC_WILD_LIST);
        ASSERT_NE(nullptr, words);
        ASSERT_GT(::SendMessageA(words, LB_GETCOUNT, 0, 0), 0);
        ::SendMessageA(words, LB_SETSEL, TRUE, -1);
        ui::dialog::Click(dlg, IDC_WILD_OK);
    });
    pane->OnSearch();
    EXPECT_EQ(0u, host::PendingModalActions());
    EXPECT_FALSE(Rows().empty());
    EXPECT_EQ(1002, OpenedArticle());
}

TEST_F(SearchPaneTest, SwitchingModesRunsTheOtherQueryCutAtItsOperator)
{
    ToWordMode();
    pane->GetWordField(0).SetWindowText("volcano");
    pane->GetWordField(1).SetWindowText("crust");
    pane->OnSearch();
    EXPECT_EQ(CString("volcano and crust"), pane->GetLastQuery(TRUE));
    OpenedArticle();

    // To the topic mode: the topic search "volcano", its heading listed; fields 2 and 3 emptied.
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_TOPIC_MODE);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pane->IsWordMode());
    CString caption;
    pane->GetWindowText(caption);
    EXPECT_EQ(CString(SEARCH_CAPTION_TOPIC), caption);
    EXPECT_EQ(CString("volcano"), pane->GetLastQuery(FALSE));
    EXPECT_EQ(CString("volcano"), pane->GetTopicField().GetEditText());
    EXPECT_EQ("Volcano", Rows().at(0));
    EXPECT_EQ(1002, OpenedArticle());
    CString second;
    pane->GetWordField(1).GetWindowText(second);
    EXPECT_TRUE(second.IsEmpty());
    EXPECT_FALSE(pane->GetWordField(0).IsWindowVisible());
    EXPECT_TRUE(pane->GetTopicField().IsWindowVisible());

    // And back: the word search of the topic, in word field 1.
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_WORD_MODE);
    ui::PumpUntilIdle();
    EXPECT_EQ(CString("volcano"), pane->GetLastQuery(TRUE));
    EXPECT_EQ(1002, OpenedArticle());
    ASSERT_FALSE(Rows().empty());
    for (int i = 0; i < pane->GetModeResults(TRUE)->GetCount(); ++i)
        EXPECT_NE(REFKIND_NONE, pane->GetModeResults(TRUE)->GetAtIndex(i)->GetKind()) << "no heading rows";

    // A wildcard query is not carried: the new mode starts with no results and no word list.
    pane->GetWordField(0).SetWindowText("lav*");
    SetWildcardChooser([](const CString&, std::vector<DWORD>& flags) {
        std::fill(flags.begin(), flags.end(), 1u);
        return 1;
    });
    pane->OnSearch();
    SetWildcardChooser(nullptr);
    OpenedArticle();
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_TOPIC_MODE);
    EXPECT_TRUE(Rows().empty());
    EXPECT_EQ(CString("volcano"), pane->GetLastQuery(FALSE));
}

TEST_F(SearchPaneTest, EachKindOfResultOpensInItsView)
{
    auto make = [](LONG number, LONG kind) {
        auto* r = new CReference(number, "item");
        r->SetNumber(number);
        r->SetKind(kind);
        r->SetEntryCode(3);
        return std::unique_ptr<CReference>(r);
    };
    struct Case {
        LONG number, kind;
        UINT message;
        WPARAM view;
    } cases[] = {
        {1002, REFKIND_ARTICLE, VLM_OPEN_FOUND_ITEM, IDW_ARTICLE},
        {3000001, REFKIND_MAP, VLM_OPEN_WINDOW, IDW_ATLAS},
        {1001002, REFKIND_PICTURE, VLM_POST_TO_WINDOW, IDW_MEDIA},
        {4020001, REFKIND_VIDEO, VLM_POST_TO_WINDOW, IDW_MEDIA},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CReference> ref = make(c.number, c.kind);
        pane->OpenResult(ref.get());
        const std::vector<Posted> posted = TakePosted();
        ASSERT_EQ(1u, posted.size()) << c.number;
        EXPECT_EQ(c.message, posted[0].message);
        EXPECT_EQ(c.view, posted[0].wParam);
        if (c.message == VLM_POST_TO_WINDOW) {
            auto* display = reinterpret_cast<CMediaDisplayRef*>(posted[0].lParam);
            ASSERT_NE(nullptr, display->GetReference());
            EXPECT_EQ(c.number, display->GetReference()->GetNumber());
        } else {
            EXPECT_NE(ref.get(), reinterpret_cast<CReference*>(posted[0].lParam)) << "a clone travels";
            EXPECT_EQ(c.number, reinterpret_cast<CReference*>(posted[0].lParam)->GetNumber());
        }
        DeleteCarried(posted[0]);
    }
    pane->OpenResult(nullptr);
    std::unique_ptr<CReference> none = make(0, REFKIND_ARTICLE);
    pane->OpenResult(none.get());
    EXPECT_TRUE(TakePosted().empty());
}

TEST_F(SearchPaneTest, ScreenshotOfThePaneWithWordResults)
{
    ToWordMode();
    pane->GetWordField(0).SetWindowText("volcano");
    pane->GetWordField(1).SetWindowText("crust");
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_WORDS_RADIO);
    pane->OnSearch();
    OpenedArticle();
    main.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "search_pane_word.png");
    // The controls of the word mode lie inside the pane, above the results, without overlapping.
    CRect client, results;
    pane->GetClientRect(&client);
    pane->GetResultList().GetWindowRect(&results);
    pane->ScreenToClient(&results);
    EXPECT_GT(results.Height(), 60) << "room for the results";
    for (int box = 0; box < SEARCH_FILTER_COUNT; ++box) {
        CRadioButton* b = pane->GetFilterBox(box);
        if (b == nullptr || !b->IsWindowVisible())
            continue;
        CRect r;
        b->GetWindowRect(&r);
        pane->ScreenToClient(&r);
        EXPECT_LE(r.bottom, results.top) << box;
        EXPECT_LE(r.right, client.right) << box;
    }
}

// ---- layout, decorations, the mouse capture ----

// The pane's visible child windows and their places in its client area.
std::vector<std::pair<CWnd*, CRect>> ShownControls(CWnd& pane)
{
    std::vector<std::pair<CWnd*, CRect>> shown;
    for (CWnd* child = pane.GetWindow(GW_CHILD); child != nullptr; child = child->GetWindow(GW_HWNDNEXT)) {
        if (!child->IsWindowVisible())
            continue;
        CRect r;
        child->GetWindowRect(&r);
        pane.ScreenToClient(&r);
        shown.emplace_back(child, r);
    }
    return shown;
}

// Every shown control lies inside the pane, none over another (the " WORDS" radio leaves room
// for the word-distance field on its line: its label starts after the field), and the result list
// keeps the given room.
void ExpectTidyLayout(CSearchTabWin& pane, int minListHeight, const std::string& what)
{
    CRect client;
    pane.GetClientRect(&client);
    const auto shown = ShownControls(pane);
    EXPECT_GE(shown.size(), pane.IsWordMode() ? 20u : 6u) << what;
    for (size_t i = 0; i < shown.size(); ++i) {
        const CRect& r = shown[i].second;
        const int id = shown[i].first->GetDlgCtrlID();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right <= client.right && r.bottom <= client.bottom)
            << what << ": control " << id << " (" << r.left << "," << r.top << ")-(" << r.right << ","
            << r.bottom << ") outside " << client.right << "x" << client.bottom;
        for (size_t j = i + 1; j < shown.size(); ++j) {
            const int other = shown[j].first->GetDlgCtrlID();
            if ((id == IDC_SEARCH_WORDS_RADIO && other == IDC_SEARCH_DISTANCE) ||
                (other == IDC_SEARCH_WORDS_RADIO && id == IDC_SEARCH_DISTANCE))
                continue;
            CRect both;
            EXPECT_FALSE(both.IntersectRect(&r, &shown[j].second)) << what << ": " << id << " over " << other;
        }
    }
    CRect list;
    pane.GetResultList().GetWindowRect(&list);
    EXPECT_GE(list.Height(), minListHeight) << what;
}

TEST_F(SearchPaneTest, NarrowScreensPackTheControlsAndGiveTheRoomToTheResults)
{
    struct Screen {
        int width, height, screenClass;
        const char* name;
    } screens[] = {{1024, 768, 2, "wide"}, {640, 480, 0, "narrow"}};
    int listHeight[2][2] = {};
    for (int s = 0; s < 2; ++s) {
        const Screen& screen = screens[s];
        pane.reset();
        AppServices().env.nScreenWidth = screen.width;
        AppServices().env.nScreenClass = screen.screenClass;
        main.MoveWindow(0, 0, screen.width, screen.height);
        pane = std::make_unique<CSearchTabWin>();
        ASSERT_TRUE(pane->Create(CPoint(10, 16), &main));
        pane->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
        EXPECT_EQ(s == 1, CSearchTabWin::IsNarrowScreen() != FALSE) << screen.name;
        for (int mode = 0; mode < 2; ++mode) {
            if (mode == 1)
                ToWordMode();
            const std::string what = std::string(screen.name) + (mode ? " word mode" : " topic mode");
            ExpectTidyLayout(*pane, mode ? 60 : 200, what);
            CRect list;
            pane->GetResultList().GetWindowRect(&list);
            listHeight[s][mode] = list.Height();
        }
        // A word search on the narrow screen: the pane as a reader sees it at 640 x 480.
        if (s == 1) {
            pane->GetWordField(0).SetWindowText("volcano");
            pane->OnSearch();
            OpenedArticle();
            main.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
            ui::PumpUntilIdle();
            ui::dialog::Screenshot(main.GetSafeHwnd(), "search_pane_640x480_word.png");
            pane->SendMessage(WM_COMMAND, IDC_SEARCH_TOPIC_MODE);
            OpenedArticle();
            main.RedrawWindow(NULL, NULL, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_FRAME | RDW_UPDATENOW);
            ui::PumpUntilIdle();
            ui::dialog::Screenshot(main.GetSafeHwnd(), "search_pane_640x480_topic.png");
            ExpectTidyLayout(*pane, 200, "narrow topic mode after a search");
        }
    }
    // The rows the narrow layout saves go to the results.
    EXPECT_GT(listHeight[1][1], listHeight[0][1] + 10);
    EXPECT_GT(listHeight[1][0], listHeight[0][0]);
}

TEST_F(SearchPaneTest, TheHeadingPictureOfTheModeAndTheRulesShow)
{
    for (int mode = 0; mode < 2; ++mode) {
        if (mode == 1)
            ToWordMode();
        const BOOL word = mode == 1;
        EXPECT_TRUE(pane->GetHeading(word).IsWindowVisible()) << mode;
        EXPECT_FALSE(pane->GetHeading(!word).IsWindowVisible()) << mode;
        // The pictures are the art's: 199 x 20, both present, drawn in the heading's middle.
        for (BOOL which : {FALSE, TRUE}) {
            const CDib& picture = pane->GetHeadingPicture(which);
            ASSERT_FALSE(picture.IsEmpty()) << which;
            EXPECT_EQ(199, static_cast<int>(picture.GetWidth()));
            EXPECT_EQ(20, static_cast<int>(picture.GetHeight()));
        }
        CRect heading;
        pane->GetHeading(word).GetWindowRect(&heading);
        CClientDC screen(nullptr);
        const COLORREF middle = screen.GetPixel(heading.left + 4, heading.CenterPoint().y);
        EXPECT_NE(::GetSysColor(COLOR_BTNFACE), middle) << "the picture, not a blank face";
        // The rules around the scope show in word mode only; the rule above the buttons always.
        EXPECT_EQ(word, pane->GetRule(0).IsWindowVisible());
        EXPECT_EQ(word, pane->GetRule(1).IsWindowVisible());
        EXPECT_TRUE(pane->GetRule(2).IsWindowVisible());
        CRect rule, button;
        pane->GetRule(2).GetWindowRect(&rule);
        pane->GetDlgItem(IDC_SEARCH_GO)->GetWindowRect(&button);
        EXPECT_LT(rule.bottom, button.top);
    }
    ui::dialog::Screenshot(main.GetSafeHwnd(), "search_pane_word_heading.png");
    // Back to topic: the topic picture again.
    pane->SendMessage(WM_COMMAND, IDC_SEARCH_TOPIC_MODE);
    OpenedArticle();
    EXPECT_TRUE(pane->GetHeading(FALSE).IsWindowVisible());
    EXPECT_FALSE(pane->GetHeading(TRUE).IsWindowVisible());
}

TEST_F(SearchPaneTest, HoldingTheMouseCaptureAClickOutsideHidesThePane)
{
    CRect pane_;
    pane->GetWindowRect(&pane_);
    // Without the capture a click outside leaves the pane alone.
    ui::AdvanceClock(1000);
    host::Click(pane_.right + 40, pane_.top + 100);
    ui::PumpUntilIdle();
    EXPECT_TRUE(pane->IsWindowVisible());

    // Holding it, a click inside the pane keeps it (and the capture).
    pane->SetCapture();
    ASSERT_TRUE(pane->HoldsMouseCapture());
    CRect list;
    pane->GetResultList().GetWindowRect(&list);
    ui::AdvanceClock(1000);
    host::Click(pane_.left + 20, list.bottom + 2);
    ui::PumpUntilIdle();
    EXPECT_TRUE(pane->IsWindowVisible());
    EXPECT_TRUE(main.panesDown.empty());

    // A click outside hides it, lets the mouse go and releases the toolbar's Search button.
    ui::AdvanceClock(1000);
    host::Click(pane_.right + 40, pane_.top + 100);
    ui::PumpUntilIdle();
    EXPECT_FALSE(pane->IsWindowVisible());
    EXPECT_FALSE(pane->HoldsMouseCapture());
    EXPECT_EQ(std::vector<LPARAM>{1}, main.panesDown);

    // Hidden any other way, the pane lets the mouse go too.
    pane->ShowWindow(SW_SHOW);
    ui::PumpUntilIdle();
    pane->SetCapture();
    pane->ShowWindow(SW_HIDE);
    EXPECT_EQ(nullptr, ::GetCapture());
}

}  // namespace
