// The Dido Dovov's time machine and view: the selection codes and titles the panel builds and
// reads back, "tf:" link targets, the arrows on the stepped clock (carry, borrow, the repeat and
// its end), searching through a recording word search (one query per period, the category
// filter over the cached hits, a search the engine cannot run), Era mode from an eras file, and
// the view's history: an equal state, a different one, a welcome state, and link texts.
#include "MediaTestSupport.h"

#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "explore/TFStateObj.h"
#include "explore/ThumbView.h"
#include "explore/TimeFrameMainWin.h"
#include "explore/TimeFrameSelection.h"
#include "explore/TimeMachineWnd.h"
#include "explore/TimeStatWnd.h"

#include <DialogDriver.h>
#include <UiTest.h>
#include <host/UiScript.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace explore_test {
namespace {

// ---- the code table ----

TEST(TimeFrameSelectionTest, CodesAndTitlesOfEverySpanReadBackToTheSamePeriod)
{
    struct Case {
        int year;
        int span;
        bool ad;
        const char* code;
        const char* title;
        int first;  // the span's first year, as the code reads back
    };
    const Case cases[] = {
        {1492, TF_MODE_YEAR, true, "A1492D", "1492", 1492},
        {1990, TF_MODE_DECADE, true, "A199#D", "1990's", 1990},
        {1995, TF_MODE_DECADE, true, "A199#D", "1990's", 1990},
        {1900, TF_MODE_CENTURY, true, "A19#0D", "1900's", 1900},
        {1990, TF_MODE_MILLENNIUM, true, "A1#00D", "1000's", 1000},
        {500, TF_MODE_DECADE, false, "B50#C", "0500's B.C.", 500},
        {90, TF_MODE_DECADE, true, "A9#D", "0090's", 90},
        {999, TF_MODE_MILLENNIUM, true, "A#00D", "0000's", 0},
        {5, TF_MODE_DECADE, true, "A#D", "0000's", 0},
        {55, TF_MODE_CENTURY, false, "B#0C", "0000's B.C.", 0},
        {0, TF_MODE_YEAR, true, "A0D", "0000", 0},
        {44, TF_MODE_YEAR, false, "B44C", "0044 B.C.", 44},
        {9999, TF_MODE_DECADE, true, "A999#D", "9990's", 9990},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.code);
        TimeFrameSelection selection;
        selection.SetYear(c.year);
        selection.nWildcards = c.span;
        selection.nSpanMode = c.span;
        selection.nAD = c.ad ? 1 : 0;
        selection.BuildCode();
        EXPECT_EQ(std::string(c.code), static_cast<LPCSTR>(selection.strCode));
        EXPECT_EQ(std::string(c.title), static_cast<LPCSTR>(selection.strTitle));

        TimeFrameSelection read;
        read.SetYear(7777);
        ASSERT_TRUE(read.ReadCode(c.code));
        EXPECT_EQ(c.first, read.GetYear());
        EXPECT_EQ(c.span, read.nWildcards);
        EXPECT_EQ(c.span, read.nSpanMode);
        EXPECT_EQ(c.ad ? 1 : 0, read.nAD);
        read.BuildCode();
        EXPECT_EQ(std::string(c.code), static_cast<LPCSTR>(read.strCode));
    }
    // Texts that are no code change nothing.
    for (const char* bad : {"", "A", "AD", "hello", "A1#2#D", "X199#D", "A199#X", "A12345D", "A#000D", "a199#d"}) {
        TimeFrameSelection read;
        read.SetYear(1234);
        EXPECT_FALSE(read.ReadCode(bad)) << bad;
        EXPECT_EQ(1234, read.GetYear()) << bad;
    }
}

TEST(TimeFrameSelectionTest, LinkTargetsGiveTheirCodeOrNothing)
{
    const std::pair<const char*, const char*> cases[] = {
        {"tf:A192#D", "A192#D"}, {"tf://A192#D", "A192#D"}, {"TF:B5#C", "B5#C"}, {"tf:A1492D", "A1492D"},
        {"tf:", nullptr},        {"tf:hello", nullptr},    {"tf:A1#2#D", nullptr}, {"tf://", nullptr},
        {"A192#D", nullptr},     {"rf:A192#D", nullptr},   {"tf:A192#D ", nullptr},
    };
    for (const auto& [target, code] : cases) {
        CString strCode = "untouched";
        EXPECT_EQ(code != nullptr, TimeFrameCodeOfLink(target, strCode) != FALSE) << target;
        EXPECT_EQ(std::string(code != nullptr ? code : "untouched"), static_cast<LPCSTR>(strCode)) << target;
    }
}

TEST(TimeFrameSelectionTest, StatesCompareOnEveryNumberButTheSpanMode)
{
    TimeFrameSelection a;
    a.nNothingChosen = 0;
    a.SetYear(1990);
    a.nWildcards = 1;
    a.nAD = 1;
    a.nCategory = 3;
    a.strCode = "A199#D";
    a.strTitle = "1990's";
    CTFStateObj state(a);
    EXPECT_EQ(IDW_TIMEFRAME, static_cast<int>(state.m_nWindowID));
    EXPECT_EQ(std::string("1990's"), static_cast<LPCSTR>(state.m_strTitle));
    std::unique_ptr<CVLStateObj> clone(state.Clone());
    ASSERT_TRUE(clone->IsKindOf(RUNTIME_CLASS(CTFStateObj)));
    EXPECT_TRUE(static_cast<CTFStateObj*>(clone.get())->IsSameAs(a));

    TimeFrameSelection b = a;
    b.nSpanMode = 3;
    b.strCode = "other";
    b.strTitle = "other";
    EXPECT_TRUE(state.IsSameAs(b));
    for (LONG TimeFrameSelection::*field :
         {&TimeFrameSelection::nNothingChosen, &TimeFrameSelection::nWildcards, &TimeFrameSelection::nEraMode,
          &TimeFrameSelection::nAD, &TimeFrameSelection::nCategory, &TimeFrameSelection::nEra}) {
        TimeFrameSelection c = a;
        c.*field += 1;
        EXPECT_FALSE(state.IsSameAs(c));
    }
    TimeFrameSelection d = a;
    d.nDigits[3] = 5;
    EXPECT_FALSE(state.IsSameAs(d));
    // A new state is the welcome page's.
    CTFStateObj welcome;
    EXPECT_EQ(1, welcome.m_selection.nNothingChosen);
    EXPECT_EQ(0, welcome.m_selection.GetYear());
}

// ---- the panel and the view ----

CReference* Hit(LONG nNumber, LONG nKind, LONG nCategory, LPCSTR lpszTitle)
{
    auto* pRef = new CReference;
    pRef->SetNumber(nNumber);
    pRef->SetKind(nKind);
    pRef->SetCategory(nCategory);
    pRef->SetTitle(lpszTitle);
    return pRef;
}

const char kEras[] = "[Age of Flight: the first machines]\r\n1001|Aviation\r\n1001005|Biplane\r\n"
                     "[Fire Mountains]\r\n1002|Volcano\r\n";

// A time machine whose word search answers from a table and records each query.
class RecordingTimeMachine : public CTimeMachineWnd {
public:
    std::vector<std::string> queries;
    std::map<std::string, std::vector<LONG>> answers;  // code -> numbers of hits
    bool engineReady = true;

protected:
    BOOL RunWordSearch(LPCSTR lpszCode, CReferenceList* pHits) override
    {
        queries.push_back(lpszCode);
        if (!engineReady) {
            AfxMessageBox("The word index cannot be opened.");
            return FALSE;
        }
        for (LONG n : answers[lpszCode]) {
            // Articles below 2000 are Geography (bit 0x01), the rest Industry (0x08).
            const BOOL bMedia = n >= 1000000;
            pHits->Append(Hit(n, bMedia ? REFKIND_PICTURE : REFKIND_ARTICLE, n % 2 == 0 ? 0x01 : 0x08,
                              bMedia ? "Picture" : "Article"));
        }
        return TRUE;
    }
    void LoadEras() override { GetEras().Parse(kEras, static_cast<UINT>(sizeof(kEras) - 1)); }
};

class TestTimeFrameMainWin : public CTimeFrameMainWin {
public:
    RecordingTimeMachine* Machine() const { return static_cast<RecordingTimeMachine*>(GetTimeMachine()); }

protected:
    CTimeMachineWnd* NewTimeMachine() override { return new RecordingTimeMachine; }
};

// The frame: keeps every history state posted to it.
class RecordingFrame : public CWnd {
public:
    struct Pushed {
        WPARAM wParam;
        std::unique_ptr<CVLStateObj> state;
        CVLStateObj* raw;
    };
    std::vector<Pushed> pushed;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_PUSH_STATE) {
            auto* pState = reinterpret_cast<CVLStateObj*>(lParam);
            pushed.push_back({wParam, std::unique_ptr<CVLStateObj>(pState), pState});
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

class TimeMachineTest : public media_test::MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(frame.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW)), "Frame",
                                   WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 560), nullptr, 0));
        view = std::make_unique<TestTimeFrameMainWin>();
        ASSERT_TRUE(view->CreateMainWin(CRect(0, 0, 800, 560), &frame));
        view->ShowWindow(SW_SHOW);
        Machine()->answers["A19#0D"] = {1002, 1003, 1001005, 1004};
        Machine()->answers["A192#D"] = {1002};
        Machine()->answers["A1492D"] = {1006};
    }
    void TearDown() override
    {
        ui::PumpUntilIdle();  // the states still on their way to the frame
        view.reset();
        ui::PumpUntilIdle();
        frame.pushed.clear();
        if (frame.GetSafeHwnd() != nullptr)
            frame.DestroyWindow();
        MediaTest::TearDown();
    }
    RecordingTimeMachine* Machine() { return view->Machine(); }
    // The numbers the grid shows, media first, then articles.
    std::vector<LONG> Shown()
    {
        std::vector<LONG> numbers;
        for (const auto* pCells : {&view->GetThumbView()->GetMediaCells(), &view->GetThumbView()->GetArticleCells()})
            for (const CThumbView::Cell& cell : *pCells)
                numbers.push_back(cell.pReference->GetNumber());
        return numbers;
    }
    std::string Status(int i) { return static_cast<LPCSTR>(view->GetStatWnd()->GetField(i)); }
    // The panel's settings as a search would read them.
    void Choose(int nMode, int nYear, BOOL bAD = TRUE)
    {
        CTimeMachineWnd* m = Machine();
        m->GetDateCtrl().SetValue(static_cast<UINT>(nYear));
        switch (nMode) {
        case TF_MODE_YEAR: m->SetYear(); break;
        case TF_MODE_DECADE: m->SetDecade(); break;
        case TF_MODE_CENTURY: m->SetCentury(); break;
        default: m->SetMillennium(); break;
        }
        bAD ? m->SetAD() : m->SetBC();
    }
    void Press(UINT nID)
    {
        CWnd* pButton = Machine()->GetButton(nID);
        Machine()->SendMessage(WM_COMMAND, MAKEWPARAM(nID, BN_CLICKED), reinterpret_cast<LPARAM>(pButton->GetSafeHwnd()));
    }
    CString DateText()
    {
        CString s;
        Machine()->GetDateCtrl().GetText(s);
        return s;
    }

    RecordingFrame frame;
    std::unique_ptr<TestTimeFrameMainWin> view;
};

TEST_F(TimeMachineTest, TheViewStartsOnItsWelcomePageWithItsThreeChildren)
{
    EXPECT_EQ(IDW_TIMEFRAME, view->GetDlgCtrlID());
    CString name;
    view->GetWindowText(name);
    EXPECT_EQ(std::string(TIMEFRAME_VIEW_NAME), static_cast<LPCSTR>(name));
    for (auto [pWnd, expected] : {std::pair<CWnd*, const char*>{view->GetStatWnd(), "TimeStatWnd"},
                                  {view->GetTimeMachine(), "TimeMachine"},
                                  {view->GetThumbView(), "Thumbnail View"}}) {
        CString text;
        pWnd->GetWindowText(text);
        EXPECT_EQ(std::string(expected), static_cast<LPCSTR>(text));
    }
    CRect machine;
    Machine()->GetWindowRect(&machine);
    view->ScreenToClient(&machine);
    EXPECT_EQ(CRect(10, 10, 162, 210), machine);
    CRect thumbs;
    view->GetThumbView()->GetWindowRect(&thumbs);
    view->ScreenToClient(&thumbs);
    EXPECT_EQ(40, thumbs.top);
    EXPECT_TRUE(view->GetThumbView()->IsWelcome());
    EXPECT_EQ(TF_MODE_DECADE, Machine()->GetSelection().nSpanMode);
    EXPECT_EQ(1, Machine()->GetSelection().nNothingChosen);
    EXPECT_EQ(std::string("Dido Dovov"), static_cast<LPCSTR>(Machine()->GetSelection().strTitle));
    // The era list: "None Selected", then the eras in file order.
    EXPECT_EQ(3, Machine()->GetEraList().GetCount());
    EXPECT_EQ(9, Machine()->GetCategoryList().GetCount());
    // Printing is not offered.
    host::AnswerMessageBox(TIMEFRAME_NO_PRINT, IDOK);
    view->OnFilePrint();
    ASSERT_FALSE(host::MessageBoxLog().empty());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), host::MessageBoxLog().back().type & MB_ICONMASK);
}

TEST_F(TimeMachineTest, ArrowsStepAtOnceThenRepeatEveryTickOnceTheCounterPassesEight)
{
    Choose(TF_MODE_DECADE, 1990);
    const CPoint up = Machine()->GetUpArrowRect().CenterPoint();
    const CPoint down = Machine()->GetDownArrowRect().CenterPoint();
    Machine()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    EXPECT_EQ(std::string("2000"), static_cast<LPCSTR>(DateText()));  // 9 carries into the century
    ui::AdvanceClock(800);                                             // ticks 1-8: no step
    EXPECT_EQ(std::string("2000"), static_cast<LPCSTR>(DateText()));
    ui::AdvanceClock(100);  // tick 9
    EXPECT_EQ(std::string("2010"), static_cast<LPCSTR>(DateText()));
    ui::AdvanceClock(200);
    EXPECT_EQ(std::string("2030"), static_cast<LPCSTR>(DateText()));
    // Moving off both arrows ends the repeat.
    Machine()->SendMessage(WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(Machine()->IsAutoRepeat());
    ui::AdvanceClock(1000);
    EXPECT_EQ(std::string("2030"), static_cast<LPCSTR>(DateText()));

    // Down with a release: the release ends it too.
    Machine()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    EXPECT_EQ(std::string("2020"), static_cast<LPCSTR>(DateText()));
    ui::AdvanceClock(1000);  // ticks 9 and 10 step
    EXPECT_EQ(std::string("2000"), static_cast<LPCSTR>(DateText()));
    Machine()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(down.x, down.y));
    ui::AdvanceClock(1000);
    EXPECT_EQ(std::string("2000"), static_cast<LPCSTR>(DateText()));
    EXPECT_EQ(2000, Machine()->GetSelection().GetYear());

    // The four digits wrap both ways, with no sign change.
    Choose(TF_MODE_YEAR, 9999, FALSE);
    Machine()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    Machine()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    EXPECT_EQ(std::string("0000"), static_cast<LPCSTR>(DateText()));
    Machine()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(down.x, down.y));
    Machine()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(down.x, down.y));
    EXPECT_EQ(std::string("9999"), static_cast<LPCSTR>(DateText()));
    EXPECT_EQ(0, Machine()->GetSelection().nAD);
    // Millennium steps the thousands.
    Choose(TF_MODE_MILLENNIUM, 1990);
    EXPECT_EQ(std::string("1000"), static_cast<LPCSTR>(DateText()));
    Machine()->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(up.x, up.y));
    Machine()->SendMessage(WM_LBUTTONUP, 0, MAKELPARAM(up.x, up.y));
    EXPECT_EQ(std::string("2000"), static_cast<LPCSTR>(DateText()));
    ui::AdvanceClock(300);  // the tick after the release kills the timer
}

TEST_F(TimeMachineTest, ACategoryChangeReFiltersTheCachedHitsWithoutASecondQuery)
{
    Choose(TF_MODE_CENTURY, 1955);
    Press(TM_ID_SEARCH);
    EXPECT_EQ(std::vector<std::string>{"A19#0D"}, Machine()->queries);
    EXPECT_EQ((std::vector<LONG>{1001005, 1002, 1003, 1004}), Shown());
    EXPECT_EQ("Century", Status(0));
    EXPECT_EQ("1900's", Status(1));
    EXPECT_EQ("All categories", Status(2));
    EXPECT_FALSE(view->GetThumbView()->IsWelcome());
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, frame.pushed.size());
    EXPECT_EQ(0u, frame.pushed[0].wParam);
    // The panel steps aside for the result; the strip's button brings it back.
    EXPECT_FALSE(Machine()->IsWindowVisible());
    CDibButton& back = view->GetStatWnd()->GetShowButton();
    EXPECT_TRUE(back.IsWindowVisible());
    back.SendMessage(BM_CLICK);
    EXPECT_TRUE(Machine()->IsWindowVisible());
    EXPECT_FALSE(back.IsWindowVisible());

    // Geography through the list: only the hits with its bit, from the same query.
    Machine()->SendMessage(WM_COMMAND, TM_ID_CATEGORY_FACE, 0);
    EXPECT_TRUE(Machine()->IsCategoryListOpen());
    EXPECT_TRUE(Machine()->GetCategoryList().IsWindowVisible());
    Machine()->GetCategoryList().SetCurSel(1);
    view->SendMessage(WM_COMMAND, MAKEWPARAM(TM_ID_CATEGORY_LIST, LBN_SELCHANGE),
                      reinterpret_cast<LPARAM>(Machine()->GetCategoryList().GetSafeHwnd()));
    EXPECT_FALSE(Machine()->IsCategoryListOpen());
    EXPECT_EQ(std::string("Geography"), static_cast<LPCSTR>(Machine()->GetCategoryFace().GetText()));
    Press(TM_ID_SEARCH);
    EXPECT_EQ(std::vector<std::string>{"A19#0D"}, Machine()->queries);
    EXPECT_EQ((std::vector<LONG>{1002, 1004}), Shown());
    EXPECT_EQ("Geography", Status(2));
    // Industry: the odd ones; another period runs its own query.
    Machine()->ChooseCategory(4);
    Press(TM_ID_SEARCH);
    EXPECT_EQ((std::vector<LONG>{1001005, 1003}), Shown());
    Choose(TF_MODE_DECADE, 1925);
    Press(TM_ID_SEARCH);
    EXPECT_EQ((std::vector<std::string>{"A19#0D", "A192#D"}), Machine()->queries);
    EXPECT_TRUE(Shown().empty());  // 1002 is Geography
    ui::PumpUntilIdle();
    EXPECT_EQ(4u, frame.pushed.size());
}

TEST_F(TimeMachineTest, EraModeListsAnErasItemsInOrderAndNoneSelectedListsNothing)
{
    // The era items are made by number: the content index gives their kinds.
    InstallRomLink({{1001, 4, 0, 0, 1, 0, 1}, {1001005, 4, 3, 0, 1, 0, 1}, {1002, 1, 0, 0, 1, 0, 1}});
    Press(TM_ID_ERA);
    EXPECT_EQ(TF_MODE_ERA, Machine()->GetSelection().nSpanMode);
    EXPECT_FALSE(Machine()->GetDateCtrl().IsWindowVisible());
    EXPECT_FALSE(Machine()->GetButton(TM_ID_AD)->IsWindowEnabled());
    EXPECT_TRUE(Machine()->GetEraFace().IsWindowVisible());
    EXPECT_FALSE(Machine()->GetCategoryFace().IsWindowVisible());
    Press(TM_ID_SEARCH);
    EXPECT_TRUE(Shown().empty());
    EXPECT_FALSE(view->GetThumbView()->IsWelcome());
    EXPECT_EQ("Era", Status(0));

    Machine()->SendMessage(WM_COMMAND, TM_ID_ERA_FACE, 0);
    EXPECT_TRUE(Machine()->IsEraListOpen());
    Machine()->ChooseEra(1);
    EXPECT_EQ(std::string("Age of Flight:\n the first machines"), static_cast<LPCSTR>(Machine()->GetEraFace().GetText()));
    Press(TM_ID_SEARCH);
    EXPECT_EQ((std::vector<LONG>{1001005, 1001}), Shown());
    EXPECT_EQ(std::vector<LONG>{1001}, std::vector<LONG>{view->GetThumbView()->GetArticleCells()[0].pReference->GetNumber()});
    EXPECT_EQ(std::string("Aviation"),
              static_cast<LPCSTR>(view->GetThumbView()->GetArticleCells()[0].pReference->GetTitle()));
    EXPECT_EQ("Age of Flight:\n the first machines", Status(1));
    EXPECT_EQ("All categories", Status(2));
    EXPECT_TRUE(Machine()->queries.empty());
    // A press on the view closes the lists.
    Machine()->ToggleEraList();
    view->SendMessage(WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(400, 400));
    EXPECT_FALSE(Machine()->IsEraListOpen());
    EXPECT_FALSE(Machine()->GetEraList().IsWindowVisible());
}

TEST_F(TimeMachineTest, ASearchTheEngineCannotRunLeavesTheGridEmptyWithOneMessage)
{
    Machine()->engineReady = false;
    Choose(TF_MODE_CENTURY, 1900);
    host::AnswerMessageBox("The word index cannot be opened.", IDOK);
    Press(TM_ID_SEARCH);
    EXPECT_TRUE(Shown().empty());
    EXPECT_TRUE(Machine()->GetLastQuery().IsEmpty());
    // The panel stays usable: once the engine runs the same period searches again.
    Machine()->engineReady = true;
    Press(TM_ID_SEARCH);
    EXPECT_EQ(4u, Shown().size());
    EXPECT_EQ(2u, Machine()->queries.size());
}

TEST_F(TimeMachineTest, RestoringAnEqualStateHandsItBackWithoutSearching)
{
    Choose(TF_MODE_CENTURY, 1900);
    Press(TM_ID_SEARCH);
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, frame.pushed.size());
    auto* pSame = new CTFStateObj(*static_cast<CTFStateObj*>(frame.pushed[0].raw));
    pSame->m_selection.nSpanMode = TF_MODE_ERA;  // not compared
    EXPECT_EQ(1, view->SendMessage(VLM_RESTORE_STATE, IDW_TIMEFRAME, reinterpret_cast<LPARAM>(pSame)));
    ui::PumpUntilIdle();
    ASSERT_EQ(2u, frame.pushed.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), frame.pushed[1].wParam);
    EXPECT_EQ(static_cast<CVLStateObj*>(pSame), frame.pushed[1].raw);
    EXPECT_EQ(1u, Machine()->queries.size());
}

TEST_F(TimeMachineTest, RestoringADifferentStateSearchesWithTheRestoreMarker)
{
    Choose(TF_MODE_CENTURY, 1900);
    Press(TM_ID_SEARCH);
    TimeFrameSelection year;
    year.nNothingChosen = 0;
    year.SetYear(1492);
    year.nAD = 1;
    year.nCategory = 1;
    year.BuildCode();
    view->SendMessage(VLM_RESTORE_STATE, IDW_TIMEFRAME, reinterpret_cast<LPARAM>(new CTFStateObj(year)));
    ui::PumpUntilIdle();
    EXPECT_EQ((std::vector<std::string>{"A19#0D", "A1492D"}), Machine()->queries);
    ASSERT_EQ(2u, frame.pushed.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), frame.pushed[1].wParam);
    EXPECT_EQ(std::string("1492"), static_cast<LPCSTR>(frame.pushed[1].state->m_strTitle));
    EXPECT_EQ(TF_MODE_YEAR, Machine()->GetSelection().nSpanMode);
    EXPECT_EQ(1, Machine()->GetSelection().nCategory);
    EXPECT_EQ(std::string("Geography"), static_cast<LPCSTR>(Machine()->GetCategoryFace().GetText()));
    EXPECT_EQ((std::vector<LONG>{1006}), Shown());
    EXPECT_EQ("Year", Status(0));
    EXPECT_EQ("1492", Status(1));
    EXPECT_EQ(std::string("1492"), static_cast<LPCSTR>(DateText()));

    // An era's state has no code: Era mode lists that era.
    InstallRomLink({{1002, 1, 0, 0, 1, 0, 1}});
    TimeFrameSelection era;
    era.nNothingChosen = 0;
    era.nEraMode = 1;
    era.nSpanMode = TF_MODE_ERA;
    era.nEra = 2;
    view->SendMessage(VLM_RESTORE_STATE, IDW_TIMEFRAME, reinterpret_cast<LPARAM>(new CTFStateObj(era)));
    ui::PumpUntilIdle();
    EXPECT_EQ(TF_MODE_ERA, Machine()->GetSelection().nSpanMode);
    EXPECT_EQ((std::vector<LONG>{1002}), Shown());
    EXPECT_EQ(std::string("Fire Mountains"), static_cast<LPCSTR>(Machine()->GetEraFace().GetText()));
    EXPECT_EQ("Fire Mountains", Status(1));
    EXPECT_EQ(2u, Machine()->queries.size());
    ASSERT_EQ(3u, frame.pushed.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), frame.pushed[2].wParam);
}

TEST_F(TimeMachineTest, RestoringAWelcomeStateBringsBackTheWelcomePageAndHidesTheStrip)
{
    Choose(TF_MODE_CENTURY, 1900);
    Press(TM_ID_SEARCH);
    EXPECT_TRUE(view->GetStatWnd()->IsWindowVisible());
    EXPECT_TRUE(view->GetStatWnd()->GetFieldWnd(1)->IsWindowVisible());
    auto* pWelcome = new CTFStateObj;
    view->SendMessage(VLM_RESTORE_STATE, IDW_TIMEFRAME, reinterpret_cast<LPARAM>(pWelcome));
    ui::PumpUntilIdle();
    EXPECT_TRUE(view->GetThumbView()->IsWelcome());
    EXPECT_TRUE(Shown().empty());
    EXPECT_FALSE(view->GetStatWnd()->IsWindowVisible());
    for (int i = 0; i < TIMESTAT_FIELD_COUNT; ++i) {
        EXPECT_EQ("", Status(i));
        EXPECT_FALSE(view->GetStatWnd()->GetFieldWnd(i)->IsWindowVisible());
    }
    EXPECT_EQ(TF_MODE_YEAR, Machine()->GetSelection().nSpanMode);
    EXPECT_TRUE(DateText().IsEmpty());
    EXPECT_TRUE(Machine()->IsWindowVisible());
    ASSERT_EQ(2u, frame.pushed.size());
    EXPECT_EQ(static_cast<WPARAM>(VLM_RESTORE_STATE), frame.pushed[1].wParam);
    EXPECT_EQ(static_cast<CVLStateObj*>(pWelcome), frame.pushed[1].raw);
    // The next search shows the strip and its fields again.
    Choose(TF_MODE_CENTURY, 1900);
    Press(TM_ID_SEARCH);
    EXPECT_TRUE(view->GetStatWnd()->IsWindowVisible());
    EXPECT_TRUE(view->GetStatWnd()->GetFieldWnd(0)->IsWindowVisible());
    EXPECT_EQ("1900's", Status(1));
}

TEST_F(TimeMachineTest, LinkTextsApplyTheirPeriodOrNothingAndAreFreedEveryTime)
{
    const std::pair<const char*, bool> cases[] = {
        {"tf:A192#D", true}, {"tf://A192#D", true}, {"tf:", false}, {"tf:hello", false}, {"tf:A1#2#D", false},
    };
    size_t nQueries = 0;
    for (const auto& [text, applies] : cases) {
        SCOPED_TRACE(text);
        const size_t nPushed = frame.pushed.size();
        EXPECT_EQ(0, view->SendMessage(VLM_SHOW_LINKED_SELECTION, IDW_TIMEFRAME,
                                       reinterpret_cast<LPARAM>(new CString(text))));
        ui::PumpUntilIdle();
        if (applies) {
            // The cache answers the second time; each applied link records a state.
            EXPECT_EQ(1u, Machine()->queries.size());
            EXPECT_EQ(nPushed + 1, frame.pushed.size());
            EXPECT_EQ("1920's", Status(1));
            EXPECT_EQ(TF_MODE_DECADE, Machine()->GetSelection().nSpanMode);
            EXPECT_EQ((std::vector<LONG>{1002}), Shown());
        } else {
            EXPECT_EQ(nQueries, Machine()->queries.size());
            EXPECT_EQ(nPushed, frame.pushed.size());
        }
        nQueries = Machine()->queries.size();
    }
    // A null text is no text.
    EXPECT_EQ(0, view->SendMessage(VLM_SHOW_LINKED_SELECTION, IDW_TIMEFRAME, 0));
}

TEST_F(TimeMachineTest, TheStartPageRecordsTheCurrentState)
{
    view->SendMessage(VLM_START_PAGE, IDW_TIMEFRAME, 0);
    ui::PumpUntilIdle();
    ASSERT_EQ(1u, frame.pushed.size());
    EXPECT_EQ(0u, frame.pushed[0].wParam);
    auto* pState = dynamic_cast<CTFStateObj*>(frame.pushed[0].state.get());
    ASSERT_NE(nullptr, pState);
    EXPECT_EQ(1, pState->m_selection.nNothingChosen);
    EXPECT_TRUE(Machine()->queries.empty());
}

}  // namespace
}  // namespace explore_test
