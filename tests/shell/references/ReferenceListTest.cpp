// Reference lists: the one cursor, ownership through removal, clone, filters and merge (every
// list deletes what it holds: the sanitizers see a leak or a double free), and the filters and
// the merge that search results and media sets use.
#include "search/KWReference.h"
#include "base/OnlineReference.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/Rin.h"
#include "base/TPReference.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace {

// A reference with a number, kind, category and title.
CReference* Ref(LONG number, LONG kind = REFKIND_ARTICLE, LONG category = 0, const char* title = "")
{
    CReference* reference = new CReference;
    reference->SetNumber(number);
    reference->SetKind(kind);
    reference->SetCategory(category);
    reference->SetTitle(title);
    return reference;
}

CReference* Heading(const char* title)
{
    return Ref(0, REFKIND_NONE, 0, title);
}

// The titles of a list, head to tail (walked with its cursor).
std::vector<std::string> Titles(CReferenceList& list)
{
    std::vector<std::string> titles;
    for (CReference* r = list.GetFirstReference(); r != nullptr; r = list.GetNextReference())
        titles.push_back(static_cast<LPCSTR>(r->GetTitle()));
    return titles;
}

std::vector<LONG> Numbers(CReferenceList& list)
{
    std::vector<LONG> numbers;
    for (int i = 0; i < list.GetCount(); ++i)
        numbers.push_back(list.GetAtIndex(i)->GetNumber());
    return numbers;
}

using Strings = std::vector<std::string>;
using Longs = std::vector<LONG>;

TEST(ReferenceListTest, TheCursorWalksOnceAndStaysAtTheEnd)
{
    CReferenceList list;
    EXPECT_EQ(nullptr, list.GetFirst());
    EXPECT_EQ(nullptr, list.GetNext());
    list.Append(Ref(1, REFKIND_ARTICLE, 0, "a"));
    list.Append(Ref(2, REFKIND_ARTICLE, 0, "b"));
    EXPECT_EQ(2, list.GetCount());
    EXPECT_STREQ("CReferenceList", list.GetRuntimeClass()->m_lpszClassName);

    CReference* first = list.GetFirstReference();
    ASSERT_NE(nullptr, first);
    EXPECT_EQ(1, first->GetNumber());
    EXPECT_EQ(2, list.GetNextReference()->GetNumber());
    EXPECT_EQ(nullptr, list.GetNextReference());
    EXPECT_EQ(nullptr, list.GetNextReference()) << "null until GetFirst starts again";
    list.Append(Ref(3));
    EXPECT_EQ(nullptr, list.GetNextReference());
    EXPECT_EQ(1, list.GetFirstReference()->GetNumber());

    EXPECT_EQ(nullptr, list.GetAtIndex(3));
    EXPECT_EQ(nullptr, list.GetAtIndex(-1));
    EXPECT_EQ(3, list.GetAtIndex(2)->GetNumber());
}

TEST(ReferenceListTest, RemovingAndDeletingElements)
{
    CReferenceList list;
    for (LONG n : {1, 2, 3, 4})
        list.Append(Ref(n));
    EXPECT_FALSE(list.DeleteAtIndex(4));
    EXPECT_FALSE(list.DeleteAtIndex(-1));
    EXPECT_EQ(4, list.GetCount());

    // Deleting the element the cursor is at lets the walk go on with the next one.
    EXPECT_EQ(1, list.GetFirstReference()->GetNumber());
    EXPECT_TRUE(list.DeleteAtIndex(1));
    EXPECT_EQ(3, list.GetNextReference()->GetNumber());
    EXPECT_EQ((Longs{1, 3, 4}), Numbers(list));

    std::unique_ptr<CReference> removed(list.RemoveFirst());
    ASSERT_NE(nullptr, removed);
    EXPECT_EQ(1, removed->GetNumber());
    EXPECT_EQ((Longs{3, 4}), Numbers(list));

    list.DeleteAll();
    EXPECT_EQ(0, list.GetCount());
    EXPECT_EQ(nullptr, list.RemoveFirst());
    EXPECT_EQ(nullptr, list.GetFirst());
}

TEST(ReferenceListTest, ContainsComparesNumbers)
{
    CReferenceList list;
    list.Append(Ref(1012345, REFKIND_PICTURE));
    list.Append(Ref(12345));
    std::unique_ptr<CReference> sameNumber(Ref(12345, REFKIND_MAP));
    std::unique_ptr<CReference> online(Ref(11012345, REFKIND_PICTURE));
    EXPECT_TRUE(list.Contains(sameNumber.get()));
    EXPECT_FALSE(list.Contains(online.get()));
    EXPECT_FALSE(CReferenceList().Contains(sameNumber.get()));
}

TEST(ReferenceListTest, CloneIntoCopiesEveryReferenceAndKeepsTheSource)
{
    CReferenceList source;
    CTPReference* topic = new CTPReference;
    topic->SetNumber(1);
    topic->SetTitle("topic");
    topic->SetSubList(new CReferenceList);
    topic->GetSubList()->Append(Ref(9));
    source.Append(topic);
    source.Append(new COnlineReference(CRin(10000042), "000042.rcv"));
    CKWReference* keyword = new CKWReference;
    keyword->SetNumber(3);
    source.Append(keyword);

    CReferenceList clones;
    source.CloneInto(&clones);
    source.CloneInto(nullptr);
    ASSERT_EQ(3, clones.GetCount());
    EXPECT_EQ(3, source.GetCount());
    EXPECT_NE(source.GetAtIndex(0), clones.GetAtIndex(0));
    // Topic and keyword references clone into plain references; online ones stay online.
    EXPECT_STREQ("CReference", clones.GetAtIndex(0)->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(nullptr, clones.GetAtIndex(0)->GetSubList());
    EXPECT_STREQ("COnlineReference", clones.GetAtIndex(1)->GetRuntimeClass()->m_lpszClassName);
    EXPECT_STREQ("CReference", clones.GetAtIndex(2)->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ((Longs{1, 10000042, 3}), Numbers(clones));

    // A list cloned into itself doubles once.
    clones.CloneInto(&clones);
    EXPECT_EQ((Longs{1, 10000042, 3, 1, 10000042, 3}), Numbers(clones));
}

TEST(ReferenceListTest, FiltersByCategoryAndKind)
{
    CReferenceList results;
    results.Append(Heading("Pictures"));
    results.Append(Ref(1, REFKIND_PICTURE, 0x1, "p1"));
    results.Append(Ref(2, REFKIND_VIDEO, 0x2, "v2"));
    results.Append(Ref(3, REFKIND_ARTICLE, 0x3, "a3"));
    results.Append(Ref(4, REFKIND_BUBBLE, 0x4, "b4"));
    results.Append(Ref(5, REFKIND_ONLINESOUND, 0x8, "s5"));

    CReferenceList byCategory;
    EXPECT_EQ(3, results.CloneCategoryInto(&byCategory, 0x1 | 0x4 | 0x100));
    EXPECT_EQ((Strings{"p1", "a3", "b4"}), Titles(byCategory));
    EXPECT_EQ(0, results.CloneCategoryInto(nullptr, 0xFF));

    CReferenceList media;
    EXPECT_EQ(4, results.CloneKindInto(&media, REFKIND_ALLMEDIA));
    EXPECT_EQ(0x11BE00, REFKIND_ALLMEDIA);
    EXPECT_EQ((Strings{"p1", "v2", "b4", "s5"}), Titles(media));

    // With the keep-headings flag, headings come along in their place and count.
    results.SetKeepHeadings(TRUE);
    CReferenceList withHeadings;
    EXPECT_EQ(2, results.CloneKindInto(&withHeadings, REFKIND_VIDEO));
    EXPECT_EQ((Strings{"Pictures", "v2"}), Titles(withHeadings));
    EXPECT_EQ(0, results.CloneKindInto(nullptr, REFKIND_VIDEO));
}

TEST(ReferenceListTest, KindFilterWithHeadingsCopiesAHeadingBeforeItsFirstMatchOnly)
{
    CReferenceList results;
    results.Append(Heading("first heading"));
    results.Append(Ref(1, REFKIND_PICTURE, 0, "first item"));
    results.Append(Heading("second heading"));
    results.Append(Ref(2, REFKIND_SOUND, 0, "second item"));
    results.Append(Heading("third heading"));
    results.Append(Ref(3, REFKIND_PICTURE, 0, "third item"));
    results.Append(Ref(4, REFKIND_PICTURE, 0, "fourth item"));
    results.Append(Heading("trailing heading"));

    CReferenceList pictures;
    EXPECT_EQ(3, results.CloneKindWithHeadingsInto(&pictures, REFKIND_PICTURE));
    EXPECT_EQ((Strings{"first heading", "first item", "third heading", "third item", "fourth item"}), Titles(pictures));
    EXPECT_EQ(0, results.CloneKindWithHeadingsInto(nullptr, REFKIND_PICTURE));

    // The example of the filter's description: heading, match, heading, other kind, heading, match.
    CReferenceList example;
    example.Append(Heading("H1"));
    example.Append(Ref(1, REFKIND_ARTICLE, 0, "I1"));
    example.Append(Heading("H2"));
    example.Append(Ref(2, REFKIND_MAP, 0, "I2"));
    example.Append(Heading("H3"));
    example.Append(Ref(3, REFKIND_ARTICLE, 0, "I3"));
    CReferenceList articles;
    EXPECT_EQ(2, example.CloneKindWithHeadingsInto(&articles, REFKIND_ARTICLE));
    EXPECT_EQ((Strings{"H1", "I1", "H3", "I3"}), Titles(articles));
}

TEST(ReferenceListTest, MergeListsTheFirstThenWhatOnlyTheSecondNames)
{
    // Topic results and word hits, as a search merges them.
    CReferenceList topics;
    CTPReference* topic = new CTPReference;
    topic->SetNumber(100);
    topic->SetTitle("T100");
    topics.Append(topic);
    topics.Append(Ref(200, REFKIND_ARTICLE, 0, "T200"));
    topics.Append(Ref(200, REFKIND_ARTICLE, 0, "T200 again"));
    CReferenceList words;
    CKWReference* hit = new CKWReference;
    hit->SetNumber(300);
    hit->SetTitle("W300");
    words.Append(hit);
    words.Append(Ref(200, REFKIND_ARTICLE, 0, "W200"));
    words.Append(Ref(400, REFKIND_ARTICLE, 0, "W400"));
    words.Append(Ref(400, REFKIND_ARTICLE, 0, "W400 again"));

    CReferenceList result;
    result.Append(Ref(1, REFKIND_ARTICLE, 0, "held before"));
    result.Merge(&topics, &words);
    EXPECT_EQ((Strings{"held before", "T100", "T200", "T200 again", "W300", "W400", "W400 again"}), Titles(result));
    for (int i = 0; i < result.GetCount(); ++i)
        EXPECT_STREQ("CReference", result.GetAtIndex(i)->GetRuntimeClass()->m_lpszClassName) << i;
    // The inputs keep their references.
    EXPECT_EQ(3, topics.GetCount());
    EXPECT_EQ(4, words.GetCount());
    EXPECT_EQ(hit, words.GetAtIndex(0));

    // Two lists naming the same items give the first list's items once.
    CReferenceList a, b, same;
    for (LONG n : {1, 2, 3}) {
        a.Append(Ref(n, REFKIND_ARTICLE, 0, "a"));
        b.Append(Ref(n, REFKIND_ARTICLE, 0, "b"));
    }
    same.Merge(&a, &b);
    EXPECT_EQ((Strings{"a", "a", "a"}), Titles(same));

    // An empty first list gives clones of the second in order.
    CReferenceList empty, fromSecond;
    fromSecond.Merge(&empty, &b);
    EXPECT_EQ((Longs{1, 2, 3}), Numbers(fromSecond));
    EXPECT_NE(b.GetAtIndex(0), fromSecond.GetAtIndex(0));

    // A list merged with itself, or into itself, ends.
    CReferenceList self;
    self.Merge(&a, &a);
    EXPECT_EQ((Longs{1, 2, 3}), Numbers(self));
    a.Merge(&a, &b);
    EXPECT_EQ((Longs{1, 2, 3, 1, 2, 3}), Numbers(a));
}

}  // namespace
