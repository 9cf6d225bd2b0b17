// The item tree: insertion by position (first, last, sorted, after an item), item records with
// their masks, relations between items, the visible rows of expanded nodes, and ids that are
// never found again once their node is gone.
#include "base/TreeData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

HTREEITEM Insert(CTreeData& parent, const char* text, HTREEITEM after = TVI_LAST)
{
    TVINSERTSTRUCT insert = {};
    insert.hParent = parent.m_hId;
    insert.hInsertAfter = after;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>(text);
    return parent.InsertItem(insert);
}

std::string Children(const CTreeData& node)
{
    std::string out;
    for (int i = 0; i < node.GetChildCount(); ++i)
        out += (i ? "," : "") + std::string(node.GetChild(i)->m_strText);
    return out;
}

TEST(ItemTreeTest, InsertPositions)
{
    struct Case {
        const char* name;
        std::vector<const char*> texts;  // inserted in this order
        HTREEITEM after;                 // for every insertion
        const char* order;
    } cases[] = {
        {"sorted, case ignored, equals after equals", {"b", "A", "a"}, TVI_SORT, "A,a,b"},
        {"sorted: lower-case a before capital B", {"Bison", "aardvark"}, TVI_SORT, "aardvark,Bison"},
        {"sorted into the middle and at the tail", {"m", "z", "c", "q"}, TVI_SORT, "c,m,q,z"},
        {"last", {"b", "A", "a"}, TVI_LAST, "b,A,a"},
        {"0 is the tail", {"b", "A", "a"}, NULL, "b,A,a"},
        {"first", {"b", "A", "a"}, TVI_FIRST, "a,A,b"},
    };
    for (const Case& c : cases) {
        CTreeData root;
        root.m_nLevel = -1;
        for (const char* text : c.texts)
            Insert(root, text, c.after);
        EXPECT_EQ(c.order, Children(root)) << c.name;
    }

    // After a given child; an id that is no child of the node puts it at the tail.
    CTreeData root;
    root.m_nLevel = -1;
    HTREEITEM a = Insert(root, "a");
    Insert(root, "c");
    Insert(root, "b", a);
    EXPECT_EQ("a,b,c", Children(root));
    CTreeData other;
    HTREEITEM stranger = Insert(other, "x");
    Insert(root, "d", stranger);
    EXPECT_EQ("a,b,c,d", Children(root));
}

TEST(ItemTreeTest, ItemRecordsApplyWhatTheirMaskNames)
{
    TVITEM item = {};
    item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_PARAM | TVIF_STATE;
    item.pszText = const_cast<LPSTR>("Moon");
    item.iImage = 4032;
    item.lParam = 1234;
    item.state = TVIS_BOLD | TVIS_CUT;
    item.stateMask = TVIS_BOLD;
    CTreeData node(item, 2);
    EXPECT_EQ(CString("Moon"), node.m_strText);
    EXPECT_EQ(4032, node.m_nImage);
    EXPECT_EQ(1234, node.m_nValue);
    EXPECT_EQ(UINT(TVIS_BOLD), node.m_nState) << "only the bits of the state mask";
    EXPECT_EQ(2, node.m_nLevel);

    // Only the masked members change; state bits outside the mask stay.
    TVITEM change = {};
    change.mask = TVIF_STATE;
    change.state = TVIS_SELECTED;
    change.stateMask = TVIS_SELECTED;
    node.SetItem(change);
    EXPECT_EQ(UINT(TVIS_BOLD | TVIS_SELECTED), node.m_nState);
    EXPECT_EQ(CString("Moon"), node.m_strText);
    change.mask = TVIF_STATE;
    change.state = 0;
    change.stateMask = TVIS_BOLD;
    node.SetItem(change);
    EXPECT_EQ(UINT(TVIS_SELECTED), node.m_nState);

    // Copying takes the item's members, not its children, id or flags.
    CTreeData copy;
    copy.m_bExpanded = TRUE;
    Insert(copy, "old child");
    HTREEITEM copyId = copy.m_hId;
    Insert(node, "child");
    copy = node;
    EXPECT_EQ(CString("Moon"), copy.m_strText);
    EXPECT_EQ(2, copy.m_nLevel);
    EXPECT_FALSE(copy.HasChildren());
    EXPECT_EQ(copyId, copy.m_hId);
    EXPECT_TRUE(copy.m_bExpanded);
}

TEST(ItemTreeTest, Relations)
{
    CTreeData root;
    root.m_nLevel = -1;
    HTREEITEM a = Insert(root, "a");
    HTREEITEM b = Insert(root, "b");
    CTreeData* pA = root.FindNodeById(a);
    ASSERT_NE(nullptr, pA);
    HTREEITEM a1 = Insert(*pA, "a1");
    HTREEITEM a2 = Insert(*pA, "a2");
    HTREEITEM a21 = Insert(*root.FindNodeById(a2), "a21");
    EXPECT_EQ(0, root.FindNodeById(a)->m_nLevel);
    EXPECT_EQ(2, root.FindNodeById(a21)->m_nLevel);

    struct Case {
        const char* name;
        HTREEITEM id;
        UINT code;
        HTREEITEM want;
    } cases[] = {
        {"first child of the root", NULL, TVGN_CHILD, a},
        {"next of a top-level item", a, TVGN_NEXT, b},
        {"next of the last child", b, TVGN_NEXT, NULL},
        {"next inside a subtree", a1, TVGN_NEXT, a2},
        {"previous", a2, TVGN_PREVIOUS, a1},
        {"previous of the first", a1, TVGN_PREVIOUS, NULL},
        {"parent of a top-level item", a, TVGN_PARENT, TREE_ROOT_ID},
        {"parent of a child", a1, TVGN_PARENT, a},
        {"parent two levels down", a21, TVGN_PARENT, a2},
        {"unknown id", reinterpret_cast<HTREEITEM>(0x7FFFFFF0), TVGN_NEXT, NULL},
        {"other code", a, 9, NULL},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.want, root.GetNextItem(c.id, c.code)) << c.name;
    EXPECT_EQ(a1, pA->GetNextItem(NULL, TVGN_CHILD));
    EXPECT_EQ(a, pA->GetNextItem(a1, TVGN_PARENT)) << "asked of the parent itself";
    EXPECT_EQ(&root, root.FindNodeById(TREE_ROOT_ID));
    EXPECT_EQ(pA, root.FindParentOf(a2));
    EXPECT_EQ(nullptr, root.FindParentOf(TREE_ROOT_ID));
}

TEST(ItemTreeTest, DeletedIdsAreNeverFoundAgain)
{
    CTreeData root;
    root.m_nLevel = -1;
    HTREEITEM a = Insert(root, "a");
    HTREEITEM a1 = Insert(*root.FindNodeById(a), "a1");
    root.DeleteChildren();
    EXPECT_FALSE(root.HasChildren());
    EXPECT_EQ(nullptr, root.FindNodeById(a));
    EXPECT_EQ(nullptr, root.FindNodeById(a1));
    // A new list at the same place gives new ids; the old ones still name nothing.
    HTREEITEM again = Insert(root, "a");
    EXPECT_NE(a, again);
    EXPECT_NE(a1, again);
    EXPECT_EQ(nullptr, root.FindNodeById(a));
    EXPECT_NE(nullptr, root.FindNodeById(again));
    // Removing one child takes its subtree.
    HTREEITEM b = Insert(root, "b");
    HTREEITEM b1 = Insert(*root.FindNodeById(b), "b1");
    EXPECT_TRUE(root.RemoveChild(b));
    EXPECT_EQ(nullptr, root.FindNodeById(b1));
    EXPECT_FALSE(root.RemoveChild(b));
    EXPECT_EQ("a", Children(root));
}

}  // namespace
