#include <afxcoll.h>
#include <afxtempl.h>

#include <gtest/gtest.h>

#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace {

// Exposes the capacity of an array so that grow-by behaviour can be checked.
template <class BASE>
class Inspect : public BASE {
public:
    int Capacity() const { return this->m_nMaxSize; }
};

template <class LIST>
std::string Join(const LIST& list)
{
    std::string text;
    for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
        if (!text.empty())
            text += ",";
        text += static_cast<LPCSTR>(CString(list.GetNext(pos)));
    }
    return text;
}

template <class LIST>
std::string JoinBackwards(const LIST& list)
{
    std::string text;
    for (POSITION pos = list.GetTailPosition(); pos != NULL;) {
        if (!text.empty())
            text += ",";
        text += static_cast<LPCSTR>(CString(list.GetPrev(pos)));
    }
    return text;
}

std::string Join(const CStringArray& array)
{
    std::string text;
    for (int i = 0; i < array.GetSize(); ++i)
        text += (i ? "," : "") + std::string(array[i]);
    return text;
}

class CItem : public CObject {
public:
    explicit CItem(int n) : m_n(n) {}
    int m_n;
};

}  // namespace

TEST(Collections, ArrayGrowBy)
{
    struct Case {
        int nGrowBy;
        std::vector<int> sizes;       // SetSize / Add steps
        std::vector<int> capacities;  // capacity after each step
    } cases[] = {
        // grow-by 0: the first block is exact, then 4 .. 1024 slots (an eighth of the size)
        {0, {1, 2, 5, 6, 40, 41}, {1, 5, 5, 9, 40, 45}},
        {10, {1, 11, 12, 35}, {10, 20, 20, 35}},
        {3, {0, 2, 4}, {0, 3, 6}},
    };
    for (const Case& c : cases) {
        Inspect<CDWordArray> a;
        a.SetSize(0, c.nGrowBy);
        for (size_t i = 0; i < c.sizes.size(); ++i) {
            a.SetSize(c.sizes[i]);
            EXPECT_EQ(a.GetSize(), c.sizes[i]);
            EXPECT_EQ(a.Capacity(), c.capacities[i]) << "grow-by " << c.nGrowBy << " step " << i;
        }
    }
    Inspect<CDWordArray> big;
    big.SetSize(20000);
    big.SetSize(20001);
    EXPECT_EQ(big.Capacity(), 21024);  // the automatic step is at most 1024
    big.FreeExtra();
    EXPECT_EQ(big.Capacity(), 20001);
}

TEST(Collections, ArrayOperations)
{
    CDWordArray a;
    EXPECT_TRUE(a.IsEmpty());
    EXPECT_EQ(a.GetUpperBound(), -1);
    EXPECT_EQ(a.Add(10), 0);
    EXPECT_EQ(a.Add(20), 1);
    a.SetAtGrow(5, 60);  // the gap is zero-filled
    ASSERT_EQ(a.GetSize(), 6);
    EXPECT_EQ(a[2], 0u);
    EXPECT_EQ(a[5], 60u);
    a.InsertAt(1, 15, 2);
    EXPECT_EQ(a.GetSize(), 8);
    EXPECT_EQ(a[0], 10u);
    EXPECT_EQ(a[1], 15u);
    EXPECT_EQ(a[2], 15u);
    EXPECT_EQ(a[3], 20u);
    a.InsertAt(10, 99);  // past the end: grows
    EXPECT_EQ(a.GetSize(), 11);
    EXPECT_EQ(a[10], 99u);
    EXPECT_EQ(a[9], 0u);
    a.RemoveAt(1, 2);
    EXPECT_EQ(a[1], 20u);
    EXPECT_EQ(a.GetSize(), 9);
    a.ElementAt(0) = 11;
    a.GetData()[1] = 21;
    EXPECT_EQ(a.GetAt(0), 11u);
    EXPECT_EQ(a.GetAt(1), 21u);

    CDWordArray b;
    b.Add(1);
    b.Add(2);
    EXPECT_EQ(b.Append(b), 2);  // appending itself doubles it
    EXPECT_EQ(b.GetSize(), 4);
    EXPECT_EQ(b[3], 2u);
    a.Copy(b);
    EXPECT_EQ(a.GetSize(), 4);
    a.InsertAt(1, &b);
    EXPECT_EQ(a.GetSize(), 8);
    EXPECT_EQ(a[1], 1u);
    EXPECT_EQ(a[4], 2u);
    EXPECT_EQ(a[5], 2u);

    EXPECT_THROW(
        try { a.GetAt(8); } catch (CException* e) {
            EXPECT_TRUE(e->IsKindOf(RUNTIME_CLASS(CInvalidArgException)));
            e->Delete();
            throw 1;
        },
        int);
    EXPECT_THROW(
        try { a.RemoveAt(7, 2); } catch (CException* e) {
            e->Delete();
            throw 1;
        },
        int);
    a.RemoveAll();
    EXPECT_EQ(a.GetSize(), 0);
}

TEST(Collections, ArraysOfStringsAndObjects)
{
    CStringArray s;
    s.Add("b");
    s.Add(CString("c"));
    s.InsertAt(0, "a");
    s.SetAtGrow(4, "e");
    EXPECT_EQ(Join(s), "a,b,c,,e");
    s.SetAtGrow(6, s[0]);  // an element of the array itself, while the array moves
    EXPECT_EQ(Join(s), "a,b,c,,e,,a");
    s.InsertAt(1, s[4], 3);
    EXPECT_EQ(Join(s), "a,e,e,e,b,c,,e,,a");
    s.RemoveAt(0, 4);
    EXPECT_EQ(Join(s), "b,c,,e,,a");
    s.SetSize(2);
    EXPECT_EQ(Join(s), "b,c");
    for (int i = 0; i < 100; ++i)
        s.Add(CString('x', i));
    EXPECT_EQ(s[101].GetLength(), 99);

    CItem one(1), two(2);
    CObArray o;
    o.Add(&one);
    o.SetAtGrow(2, &two);
    EXPECT_EQ(o[0], &one);
    EXPECT_EQ(o[1], nullptr);
    EXPECT_EQ(o[2], &two);

    CTypedPtrArray<CObArray, CItem*> typed;
    typed.Add(&two);
    typed.Add(&one);
    EXPECT_EQ(typed[0]->m_n, 2);
    EXPECT_EQ(typed.GetAt(1)->m_n, 1);
    typed[0] = &one;
    EXPECT_EQ(typed.ElementAt(0), &one);

    CByteArray bytes;
    bytes.SetSize(3);
    EXPECT_EQ(bytes[0] + bytes[1] + bytes[2], 0);
    CWordArray words;
    words.Add(0xFFFF);
    CUIntArray uints;
    uints.Add(7);
    CPtrArray ptrs;
    ptrs.Add(&one);
    EXPECT_EQ(words[0], 0xFFFF);
    EXPECT_EQ(uints[0], 7u);
    EXPECT_EQ(ptrs[0], &one);
}

TEST(Collections, ListEditing)
{
    CStringList list(2);  // small blocks: nodes come from several blocks
    list.AddTail("b");
    list.AddHead("a");
    POSITION posC = list.AddTail("c");
    list.InsertBefore(posC, "b2");
    list.InsertAfter(posC, "d");
    list.InsertBefore(NULL, "head");
    list.InsertAfter(NULL, "tail");
    EXPECT_EQ(Join(list), "head,a,b,b2,c,d,tail");
    EXPECT_EQ(JoinBackwards(list), "tail,d,c,b2,b,a,head");
    EXPECT_EQ(list.GetCount(), 7);
    EXPECT_EQ(list.GetHead(), "head");
    EXPECT_EQ(list.GetTail(), "tail");
    EXPECT_EQ(list.RemoveHead(), "head");
    EXPECT_EQ(list.RemoveTail(), "tail");
    list.SetAt(posC, "C");
    EXPECT_EQ(list.GetAt(posC), "C");
    EXPECT_EQ(list.Find("C"), posC);
    EXPECT_EQ(list.Find("zz"), nullptr);
    EXPECT_EQ(list.FindIndex(3), posC);
    EXPECT_EQ(list.FindIndex(5), nullptr);
    EXPECT_EQ(list.FindIndex(-1), nullptr);

    list.AddTail("b");
    POSITION first = list.Find("b");
    EXPECT_EQ(list.GetAt(first), "b");
    POSITION second = list.Find("b", first);
    EXPECT_NE(second, first);
    EXPECT_EQ(list.GetAt(second), "b");
    EXPECT_EQ(list.Find("b", second), nullptr);

    CStringList other;
    other.AddTail("x");
    other.AddTail("y");
    list.AddHead(&other);
    list.AddTail(&other);
    EXPECT_EQ(Join(list), "x,y,a,b,b2,C,d,b,x,y");
    other.AddTail(&other);  // adding a list to itself doubles it
    EXPECT_EQ(Join(other), "x,y,x,y");
    other.AddHead(&other);
    EXPECT_EQ(Join(other), "x,y,x,y,x,y,x,y");

    while (!list.IsEmpty())
        list.RemoveHead();
    EXPECT_EQ(list.GetHeadPosition(), nullptr);
    EXPECT_EQ(list.GetTailPosition(), nullptr);
    list.AddTail("again");  // blocks are given back and taken anew
    EXPECT_EQ(Join(list), "again");
}

TEST(Collections, RemovingDuringAWalk)
{
    struct Case {
        const char* keep;  // which of 0..9 stay, as characters
    } cases[] = {{"13579"}, {"02468"}, {""}, {"0123456789"}, {"9"}, {"0"}};
    for (const Case& c : cases) {
        CList<CString, const CString&> list(3);
        for (char ch = '0'; ch <= '9'; ++ch)
            list.AddTail(CString(ch));
        for (POSITION pos = list.GetHeadPosition(); pos != NULL;) {
            POSITION current = pos;
            const CString& item = list.GetNext(pos);
            if (std::strchr(c.keep, item[0]) == NULL)
                list.RemoveAt(current);
        }
        std::string expected;
        for (const char* p = c.keep; *p; ++p)
            expected += std::string(expected.empty() ? "" : ",") + *p;
        EXPECT_EQ(Join(list), expected);
        EXPECT_EQ(JoinBackwards(list), std::string(expected.rbegin(), expected.rend()));
        EXPECT_EQ(list.GetCount(), static_cast<int>(std::strlen(c.keep)));
    }
}

TEST(Collections, PointerListsAndTypedLists)
{
    CItem a(1), b(2), c(3);
    CObList objects;
    objects.AddTail(&a);
    objects.AddTail(&b);
    EXPECT_EQ(objects.Find(&b), objects.GetTailPosition());
    // A CObList is itself a CObject: adding one list to another adds its elements.
    CObList more;
    more.AddTail(&c);
    objects.AddTail(&more);
    objects.AddHead(&more);
    EXPECT_EQ(objects.GetCount(), 4);
    EXPECT_EQ(objects.GetHead(), &c);
    EXPECT_EQ(objects.GetTail(), &c);
    CObArray array;
    array.Add(&a);
    CObArray other;
    other.Add(&b);
    EXPECT_EQ(array.Append(other), 1);
    EXPECT_EQ(array[1], &b);

    CTypedPtrList<CObList, CItem*> typed;
    typed.AddTail(&a);
    typed.AddTail(&b);
    typed.AddHead(&c);
    int sum = 0;
    for (POSITION pos = typed.GetHeadPosition(); pos != NULL;)
        sum = sum * 10 + typed.GetNext(pos)->m_n;
    EXPECT_EQ(sum, 312);
    EXPECT_EQ(typed.GetHead()->m_n, 3);
    EXPECT_EQ(typed.RemoveTail()->m_n, 2);

    CPtrList ptrs;
    ptrs.AddTail(&a);
    CTypedPtrList<CPtrList, int*> ints;
    int n = 5;
    ints.AddTail(&n);
    EXPECT_EQ(*ints.GetHead(), 5);
    EXPECT_EQ(ptrs.GetHead(), &a);
}

TEST(Collections, MapsWithCollisions)
{
    // Word keys hash to key / 16: 0..15 share the first bucket.
    CMapWordToPtr words;
    int values[40];
    for (WORD w = 0; w < 40; ++w)
        words.SetAt(w, &values[w]);
    EXPECT_EQ(words.GetCount(), 40);
    for (WORD w = 0; w < 40; ++w) {
        void* p = NULL;
        ASSERT_TRUE(words.Lookup(w, p));
        EXPECT_EQ(p, &values[w]);
    }
    EXPECT_TRUE(words.RemoveKey(7));
    EXPECT_FALSE(words.RemoveKey(7));
    void* p = NULL;
    EXPECT_FALSE(words.Lookup(7, p));
    EXPECT_TRUE(words.Lookup(8, p));

    // One bucket for all keys: every entry collides.
    CMapStringToString strings;
    strings.InitHashTable(1);
    EXPECT_EQ(strings.GetHashTableSize(), 1u);
    const char* keys[] = {"alpha", "Alpha", "\xE9t\xE9", "\xC9T\xC9", "", "beta"};
    for (const char* key : keys)
        strings[key] = CString(key) + "!";
    strings.SetAt("beta", "B");
    EXPECT_EQ(strings.GetCount(), 6);
    CString value;
    EXPECT_TRUE(strings.Lookup("Alpha", value));
    EXPECT_EQ(value, "Alpha!");  // keys are case-sensitive
    EXPECT_TRUE(strings.Lookup("\xC9T\xC9", value));
    EXPECT_EQ(value, "\xC9T\xC9!");
    EXPECT_TRUE(strings.Lookup("", value));
    EXPECT_TRUE(strings.Lookup("beta", value));
    EXPECT_EQ(value, "B");
    EXPECT_FALSE(strings.Lookup("gamma", value));
    EXPECT_TRUE(strings.RemoveKey("alpha"));
    EXPECT_FALSE(strings.Lookup("alpha", value));
    EXPECT_TRUE(strings.Lookup("Alpha", value));
}

TEST(Collections, MapIterationVisitsEachEntryAndAllowsRemoval)
{
    CMapStringToPtr map;
    map.InitHashTable(7);
    std::map<std::string, int> expected;
    static int slots[50];
    for (int i = 0; i < 50; ++i) {
        CString key;
        key.Format("key%d", i);
        map.SetAt(key, &slots[i]);
        expected[std::string(key)] = i;
    }
    std::map<std::string, int> seen;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        CString key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        seen[std::string(key)] = static_cast<int>(static_cast<int*>(value) - slots);
        if (seen[std::string(key)] % 2 == 0)
            map.RemoveKey(key);  // the entry just returned may go
    }
    EXPECT_EQ(seen, expected);
    EXPECT_EQ(map.GetCount(), 25);
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        CString key;
        void* value;
        map.GetNextAssoc(pos, key, value);
        map.RemoveKey(key);
    }
    EXPECT_TRUE(map.IsEmpty());
    EXPECT_EQ(map.GetStartPosition(), nullptr);
    map.InitHashTable(31);  // allowed again once empty
    EXPECT_EQ(map.GetHashTableSize(), 31u);
}

TEST(Collections, MapIterationOrderFollowsTheBuckets)
{
    // "a" hashes to 97, "b" to 98, "ab" to 97 * 33 + 98 = 3299; with 17 buckets they land in
    // 12, 13 and 1; a later entry comes first within its bucket.
    CMapStringToOb map;
    CItem item(0);
    for (const char* key : {"a", "b", "ab", "r"})  // "r" = 114 -> bucket 12 too
        map.SetAt(key, &item);
    std::string order;
    for (POSITION pos = map.GetStartPosition(); pos != NULL;) {
        CString key;
        CObject* value;
        map.GetNextAssoc(pos, key, value);
        order += std::string(key) + " ";
    }
    EXPECT_EQ(order, "ab r a b ");
    EXPECT_EQ(HashKey<LPCSTR>("\xE9"), static_cast<UINT>(-23));  // characters count with their sign
}

TEST(Collections, TemplatesWithStringElements)
{
    CMap<CString, const CString&, CStringArray*, CStringArray*> index;
    CArray<CString, const CString&> words;
    CList<CString, const CString&> order;
    for (const char* w : {"Zebra", "apple", "\xC9" "clair", "apple", "zebra"}) {
        words.Add(w);
        order.AddHead(w);
    }
    CMap<CString, const CString&, int, int> counts(3);
    for (int i = 0; i < words.GetSize(); ++i)
        counts[words[i]]++;
    int n = 0;
    EXPECT_TRUE(counts.Lookup(CString("apple"), n));
    EXPECT_EQ(n, 2);
    EXPECT_TRUE(counts.Lookup(CString("\xC9" "clair"), n));
    EXPECT_EQ(n, 1);
    EXPECT_EQ(counts.GetCount(), 4);
    EXPECT_EQ(Join(order), "zebra,apple,\xC9" "clair,apple,Zebra");
    EXPECT_NE(order.Find(CString("Zebra")), nullptr);

    CArray<CString, const CString&> copy;
    copy.Copy(words);
    copy.InsertAt(0, copy[4], 2);
    copy.RemoveAt(3);
    copy.Append(words);
    EXPECT_EQ(copy.GetSize(), 11);
    EXPECT_EQ(copy[0], "zebra");
    EXPECT_EQ(copy[10], "zebra");

    CMap<int, int, CString, const CString&> names;
    names[3] = "three";
    names.SetAt(4, "four");
    CString name;
    EXPECT_TRUE(names.Lookup(3, name));
    EXPECT_EQ(name, "three");
    EXPECT_TRUE(names.RemoveKey(3));
    EXPECT_FALSE(names.Lookup(3, name));

    CTypedPtrMap<CMapStringToPtr, CString, CItem*> typedMap;
    CItem item(9);
    typedMap.SetAt("nine", &item);
    CItem* found = NULL;
    EXPECT_TRUE(typedMap.Lookup("nine", found));
    EXPECT_EQ(found->m_n, 9);
    EXPECT_EQ(typedMap["nine"], &item);
    POSITION pos = typedMap.GetStartPosition();
    CString key;
    typedMap.GetNextAssoc(pos, key, found);
    EXPECT_EQ(key, "nine");
    EXPECT_EQ(pos, nullptr);
}

TEST(Collections, RuntimeClassesOfTheCollections)
{
    struct Case {
        CObject* pObject;
        const char* name;
        bool serializable;
    } cases[] = {
        {new CObArray, "CObArray", true},           {new CStringArray, "CStringArray", true},
        {new CByteArray, "CByteArray", true},       {new CWordArray, "CWordArray", true},
        {new CDWordArray, "CDWordArray", true},     {new CUIntArray, "CUIntArray", false},
        {new CPtrArray, "CPtrArray", false},        {new CObList, "CObList", true},
        {new CPtrList, "CPtrList", false},          {new CStringList, "CStringList", true},
        {new CMapWordToPtr, "CMapWordToPtr", false}, {new CMapPtrToWord, "CMapPtrToWord", false},
        {new CMapPtrToPtr, "CMapPtrToPtr", false},  {new CMapWordToOb, "CMapWordToOb", true},
        {new CMapStringToPtr, "CMapStringToPtr", false}, {new CMapStringToOb, "CMapStringToOb", true},
        {new CMapStringToString, "CMapStringToString", true},
    };
    for (const Case& c : cases) {
        EXPECT_STREQ(c.pObject->GetRuntimeClass()->m_lpszClassName, c.name);
        EXPECT_EQ(c.pObject->IsSerializable() != FALSE, c.serializable) << c.name;
        EXPECT_EQ(CRuntimeClass::FromName(c.name), c.pObject->GetRuntimeClass());
        delete c.pObject;
    }
    std::unique_ptr<CObject> created(CRuntimeClass::CreateObject("CStringList"));
    ASSERT_NE(created, nullptr);
    EXPECT_TRUE(created->IsKindOf(RUNTIME_CLASS(CStringList)));
}
