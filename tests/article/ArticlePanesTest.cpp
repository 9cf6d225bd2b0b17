// The outline and related-articles panes: the outline's lines, levels, icons and codes for new
// and old records (extra items as one block at the lead line, stray item positions at the end),
// the selection it reports and keeps quiet about; the related pane's two-level tree, its link
// numbering and what a double click opens.
#include "ArticleViewTestSupport.h"

#include "article/ArticleMediaOpen.h"

#include <MessageSpy.h>

#include <functional>

#include <commctrl.h>

namespace article_test {
namespace {

struct Line {
    std::string text;
    UINT level;
    UINT icon;
    UINT kind;
    UINT index;
    bool operator==(const Line&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Line& l)
{
    return out << "{\"" << l.text << "\", " << l.level << ", " << l.icon << ", " << l.kind << ", " << l.index << "}";
}

std::vector<Line> LinesOf(const CArticleOutlineTabWin& pane)
{
    std::vector<Line> out;
    for (int i = 0; i < pane.GetLineCount(); ++i) {
        const OutlineLine& l = pane.GetLines()[size_t(i)];
        DWORD code = pane.GetLineCodes()[size_t(i)];
        out.push_back({static_cast<LPCSTR>(l.strText), l.nLevel, l.nIcon, LineCodeKind(code), LineCodeIndex(code)});
    }
    return out;
}

class ArticlePanesTest : public ArticleViewTest {
protected:
    void SetUp() override
    {
        ArticleViewTest::SetUp();
        MakeView();
    }
    CArticleOutlineTabWin* Outline() { return view->GetOutlinePane(); }
    CRelatedArticlesTabWin* Related() { return view->GetRelatedPane(); }
};

TEST_F(ArticlePanesTest, OutlineLinesOfANewRecord)
{
    discbuilder::ArticleRecordSource s = RichArticle();
    s.sections[0].title = "Introduction   ";
    s.sections[1].title = "  Eruptions";
    discbuilder::RecordSection deep;
    deep.title = "    Deep detail";
    deep.runs.push_back({.kind = 0, .text = "More."});
    s.sections.push_back(deep);
    // Media positions 1, 3 and 5 (byte 5); both tables at position 0 (byte 7).
    s.media = {{1001001, 'A', 1}, {3000001, 'M', 3}, {6000001, 'S', 5}};
    s.captions = {" Lava at night ", "Plate map", "Rumble"};
    auto pDoc = OpenSource(s);
    const int nLead = pDoc->GetLeadLineCount();
    ASSERT_EQ(1, nLead);
    Outline()->LoadOutline(pDoc.get());

    const std::vector<Line> expected = {
        {"    Eruptions by year", 2, 203, OUTLINE_TABLE, 0},
        {"    Ash clouds", 2, 330, OUTLINE_EXTRA, 0},
        {"    Hot springs", 2, 330, OUTLINE_EXTRA, 1},
        {"    Lava at night", 2, 199, OUTLINE_MEDIA, 0},
        {"Introduction", 0, 0, OUTLINE_SECTION, 0},
        {"    Plate map", 2, 200, OUTLINE_MEDIA, 1},
        {"Eruptions", 1, 0, OUTLINE_SECTION, 1},
        {"    Rumble", 2, 205, OUTLINE_MEDIA, 2},
        {"Deep detail", 2, 0, OUTLINE_SECTION, 2},
        {"    Heights", 2, 203, OUTLINE_TABLE, 1},
    };
    EXPECT_EQ(expected, LinesOf(*Outline()));
    // The second table meets position 0 again: it is not placed twice, it goes to the end. The
    // positions an item keeps name the heading above it.
    EXPECT_EQ((std::vector<int>{0, 1}), Outline()->GetTablePositions());
    EXPECT_EQ((std::vector<int>{0, 0, 1}), Outline()->GetMediaPositions());
    EXPECT_EQ((std::vector<int>{0, 0}), Outline()->GetExtraPositions());
    // Headings are bold, the list images follow the type letters.
    CVLListWindow& list = Outline()->GetList();
    EXPECT_EQ(4030, list.GetItemImage(Outline()->GetLineItems()[3]));
    EXPECT_EQ(4034, list.GetItemImage(Outline()->GetLineItems()[0]));
    EXPECT_EQ(CString("Introduction"), list.GetItemText(Outline()->GetLineItems()[4]));
    EXPECT_EQ(0, CArticleOutlineTabWin::FindTableAtLine(pDoc.get(), 0));
    EXPECT_EQ(-1, CArticleOutlineTabWin::FindTableAtLine(pDoc.get(), 1));
    EXPECT_EQ(2, CArticleOutlineTabWin::FindMediaAtLine(pDoc.get(), 5));
    EXPECT_EQ(-1, CArticleOutlineTabWin::FindMediaAtLine(pDoc.get(), 4));
}

TEST_F(ArticlePanesTest, OutlineOfAnOldRecordAndStrayPositions)
{
    // 1997: no extra items, media halved; the line count is S + M + T.
    auto pOld = OpenSource(OldArticle(6));
    Outline()->LoadOutline(pOld.get());
    EXPECT_EQ(1 + 3 + 0, Outline()->GetLineCount());

    // Positions past the lines, and two items on one position, never push past the sections:
    // what was not placed comes after them.
    discbuilder::ArticleRecordSource s = Plain(1009, "Strays");
    s.media = {{1001001, 'P', 0}, {1001002, 'V', 0}, {1001003, 'X', 40}};
    s.captions = {"One", "Two", "Three"};
    auto pDoc = OpenSource(s);
    Outline()->LoadOutline(pDoc.get());
    const std::vector<Line> expected = {
        {"    One", 2, 201, OUTLINE_MEDIA, 0},
        {"About Strays", 0, 0, OUTLINE_SECTION, 0},
        {"    Two", 2, 215, OUTLINE_MEDIA, 1},
        {"    Three", 2, 0, OUTLINE_MEDIA, 2},
    };
    EXPECT_EQ(expected, LinesOf(*Outline()));
}

TEST_F(ArticlePanesTest, OutlineSelectionReportsAndKeepsQuiet)
{
    view->SendMessage(VLM_OPEN_WINDOW, 0, reinterpret_cast<LPARAM>(Article(Plain(1001, "Aviation"), "a.rcv")));
    ui::PumpUntilIdle();
    discbuilder::ArticleRecordSource s = RichArticle();
    s.pictures.clear();
    s.media = {{1001001, 'A', 3}, {6000001, 'S', 4}};
    s.captions = {"Lava", "Rumble"};
    auto pDoc = OpenSource(s);
    Outline()->LoadOutline(pDoc.get());
    spy::MessageSpy spy;
    spy.Watch(view->GetSafeHwnd());

    // The frame keeps the selection in step with the page: nothing is reported.
    Outline()->SelectSection(1);
    ui::PumpUntilIdle();
    EXPECT_EQ(0u, spy.Count(VLM_PANE_ITEM));
    Outline()->SelectSection(7);  // no such heading: nothing changes
    EXPECT_EQ(MakeLineCode(OUTLINE_SECTION, 1),
              Outline()->GetItemCode(Outline()->GetList().GetCurrentItemId()));

    // A chosen line tells the view what to show: (what, index).
    const struct {
        DWORD code;
        WPARAM what;
        LPARAM index;
    } choices[] = {{MakeLineCode(OUTLINE_SECTION, 1), 0, 1},
                   {MakeLineCode(OUTLINE_TABLE, 1), 3, 1},
                   {MakeLineCode(OUTLINE_EXTRA, 0), 5, 0},
                   {MakeLineCode(OUTLINE_MEDIA, 0), 1, 0},
                   {MakeLineCode(OUTLINE_MEDIA, 1), 4, 1}};
    for (const auto& c : choices) {
        int row = -1;
        for (int i = 0; i < Outline()->GetLineCount(); ++i)
            if (Outline()->GetLineCodes()[size_t(i)] == c.code)
                row = Outline()->GetList().FindRow(Outline()->GetLineItems()[size_t(i)]);
        ASSERT_GE(row, 0);
        spy.Clear();
        NMTREEVIEW notify = {};
        notify.hdr.hwndFrom = Outline()->GetList().GetSafeHwnd();
        notify.hdr.idFrom = ARTICLE_LIST_ID;
        notify.hdr.code = TVN_SELCHANGED;
        notify.itemNew.lParam = static_cast<LPARAM>(c.code);
        Outline()->SendMessage(WM_NOTIFY, ARTICLE_LIST_ID, reinterpret_cast<LPARAM>(&notify));
        ui::PumpUntilIdle();
        ASSERT_EQ(1u, spy.Count(VLM_PANE_ITEM)) << c.code;
        for (const spy::Recorded& r : spy.Log())
            if (r.message == VLM_PANE_ITEM) {
                EXPECT_EQ(c.what, r.wParam);
                EXPECT_EQ(c.index, r.lParam);
            }
    }

    // Double clicks: a table opens through the view, a section does nothing.
    auto doubleClick = [&](DWORD code) {
        spy.Clear();
        NMTREEVIEW notify = {};
        notify.hdr.hwndFrom = Outline()->GetList().GetSafeHwnd();
        notify.hdr.code = NM_DBLCLK;
        notify.hdr.idFrom = ARTICLE_LIST_ID;
        notify.itemNew.lParam = static_cast<LPARAM>(code);
        Outline()->SendMessage(WM_NOTIFY, ARTICLE_LIST_ID, reinterpret_cast<LPARAM>(&notify));
        ui::PumpUntilIdle();
    };
    doubleClick(MakeLineCode(OUTLINE_TABLE, 1));
    EXPECT_EQ(1u, spy.Count(VLM_PANE_TABLE));
    doubleClick(MakeLineCode(OUTLINE_EXTRA, 1));
    EXPECT_EQ(1u, spy.Count(VLM_PANE_EXTRA));
    doubleClick(MakeLineCode(OUTLINE_SECTION, 0));
    for (UINT m : {VLM_PANE_ITEM, VLM_PANE_TABLE, VLM_PANE_SOUND, VLM_PANE_EXTRA})
        EXPECT_EQ(0u, spy.Count(m));
    // A sound plays in the view.
    doubleClick(MakeLineCode(OUTLINE_MEDIA, 1));
    EXPECT_EQ(1u, spy.Count(VLM_PANE_ITEM));
    EXPECT_EQ(1u, spy.Count(VLM_PANE_SOUND));
}

TEST_F(ArticlePanesTest, RelatedTreeShapeAndLinkNumbers)
{
    discbuilder::ArticleRecordSource s = Plain(1020, "Related");
    // flag = child; an empty link makes a group entry.
    s.related = {{" Earth science ", "", 0, 0},        // group with children: bold heading
                 {"Volcano", "vl://001002", 1, 1002},   // child link 0
                 {"Rocks", "", 1, 0},                   // child group
                 {"Great Lakes", "vl://001006", 1, 1006},  // child link 1
                 {"Music", "", 0, 0},                   // group, next is top level: plain line
                 {"Jazz", "vl://001004", 0, 1004},      // top-level link 2
                 {"Last group", "", 0, 0}};             // group standing last
    auto pDoc = OpenSource(s);
    Related()->LoadRelated(pDoc.get());
    CVLListWindow& list = Related()->GetList();

    struct Node {
        std::string text;
        int image;
        bool bold;
        UINT kind, index;
        std::vector<Node> children;
    };
    std::function<std::vector<Node>(HTREEITEM)> walk = [&](HTREEITEM hParent) {
        std::vector<Node> out;
        for (HTREEITEM h = list.GetChildItem(hParent); h != NULL; h = list.GetNextSiblingItem(h)) {
            DWORD code = Related()->GetItemCode(h);
            CTreeData* pNode = list.GetTree().FindNodeById(h);
            out.push_back({static_cast<LPCSTR>(list.GetItemText(h)), list.GetItemImage(h),
                           (pNode->m_nState & TVIS_BOLD) != 0, LineCodeKind(code), LineCodeIndex(code), walk(h)});
        }
        return out;
    };
    std::vector<Node> top = walk(TVI_ROOT);
    ASSERT_EQ(4u, top.size());
    EXPECT_EQ("Earth science", top[0].text);
    EXPECT_TRUE(top[0].bold);
    EXPECT_EQ(138, top[0].image);
    EXPECT_EQ(RELATED_HEADING, top[0].kind);
    ASSERT_EQ(3u, top[0].children.size());
    EXPECT_EQ((std::vector<UINT>{RELATED_LINK, 0}), (std::vector<UINT>{top[0].children[0].kind, top[0].children[0].index}));
    EXPECT_EQ((std::vector<UINT>{RELATED_GROUP, 2}), (std::vector<UINT>{top[0].children[1].kind, top[0].children[1].index}));
    EXPECT_EQ(0, top[0].children[1].image);
    EXPECT_EQ((std::vector<UINT>{RELATED_LINK, 1}), (std::vector<UINT>{top[0].children[2].kind, top[0].children[2].index}));
    EXPECT_EQ("Music", top[1].text);
    EXPECT_FALSE(top[1].bold);
    EXPECT_EQ(RELATED_GROUP, top[1].kind);
    EXPECT_EQ(323, top[1].image);
    EXPECT_EQ((std::vector<UINT>{RELATED_LINK, 2}), (std::vector<UINT>{top[2].kind, top[2].index}));
    EXPECT_EQ(RELATED_GROUP, top[3].kind);
    EXPECT_EQ(1u, Related()->GetLines()[1].nLevel);

    // Link k opens related link k in the article view; any other line opens nothing.
    frame.log.clear();
    Related()->OpenLine(MakeLineCode(RELATED_LINK, 1), "Great Lakes");
    Related()->OpenLine(MakeLineCode(RELATED_GROUP, 4), "Music");
    Related()->OpenLine(MakeLineCode(RELATED_LINK, 7), "none");
    auto opened = frame.Of(VLM_OPEN_WINDOW);
    ASSERT_EQ(1u, opened.size());
    EXPECT_EQ(static_cast<WPARAM>(IDW_ARTICLE), opened[0].wParam);
    EXPECT_EQ(CString("vl://001006"), opened[0].strLink);
    EXPECT_EQ(CString("Great Lakes"), opened[0].strTitle);

    // An article without related entries empties the list and keeps the line records.
    auto pNone = OpenSource(Plain(1021, "Alone"));
    Related()->LoadRelated(pNone.get());
    EXPECT_EQ(0, list.GetItemCount());
    EXPECT_EQ(7u, Related()->GetLines().size());
}

}  // namespace
}  // namespace article_test
