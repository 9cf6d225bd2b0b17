#include "ArchiveTestSupport.h"

#include <afxcoll.h>
#include <afxtempl.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

class CColItem : public CObject {
    DECLARE_SERIAL(CColItem)
public:
    CColItem() = default;
    explicit CColItem(LONG value) : m_value(value) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
    LONG m_value = 0;
};
IMPLEMENT_SERIAL(CColItem, CObject, 1)

namespace {

using namespace archive_test;

Bytes Store(CObject& collection)
{
    return archive_test::Store([&](CArchive& ar) { collection.Serialize(ar); });
}

// Loads the bytes into the collection; a CArchiveException goes to the caller.
void LoadInto(const Bytes& bytes, CObject& collection)
{
    Bytes copy = bytes;
    CMemFile file(copy.data(), static_cast<UINT>(copy.size()));
    CArchive ar(&file, CArchive::load);
    collection.Serialize(ar);
    EXPECT_TRUE(ar.IsBufferEmpty());
}

const Bytes kItemClass = Cat({{0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}, Of("CColItem")});

}  // namespace

TEST(ArchiveCollections, ArraysOfNumbersAndStrings)
{
    CByteArray bytes;
    bytes.Add(1);
    bytes.Add(0xFE);
    EXPECT_EQ(Store(bytes), (Bytes{0x02, 0x00, 0x01, 0xFE}));
    CWordArray words;
    words.Add(0x1234);
    EXPECT_EQ(Store(words), (Bytes{0x01, 0x00, 0x34, 0x12}));
    CDWordArray dwords;
    dwords.Add(1);
    dwords.Add(0x01020304);
    const Bytes dwordBytes = {0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0x04, 0x03, 0x02, 0x01};
    EXPECT_EQ(Store(dwords), dwordBytes);
    CStringArray strings;
    strings.Add("a");
    strings.Add("b\xE9");
    const Bytes stringBytes = Cat({{0x02, 0x00, 0x01}, Of("a"), {0x02}, Of("b\xE9")});
    EXPECT_EQ(Store(strings), stringBytes);

    CDWordArray dwordsBack;
    dwordsBack.Add(99);  // loading replaces what was there
    LoadInto(dwordBytes, dwordsBack);
    ASSERT_EQ(dwordsBack.GetSize(), 2);
    EXPECT_EQ(dwordsBack[1], 0x01020304u);
    CStringArray stringsBack;
    LoadInto(stringBytes, stringsBack);
    ASSERT_EQ(stringsBack.GetSize(), 2);
    EXPECT_EQ(stringsBack[1], CString("b\xE9"));

    // A count of 0xFFFF or more takes the long form.
    CByteArray big;
    big.SetSize(0x10000);
    Bytes bigBytes = Store(big);
    ASSERT_EQ(bigBytes.size(), 6u + 0x10000);
    EXPECT_EQ(Bytes(bigBytes.begin(), bigBytes.begin() + 6), (Bytes{0xFF, 0xFF, 0x00, 0x00, 0x01, 0x00}));
}

TEST(ArchiveCollections, ObjectsKeepTheirReferences)
{
    CColItem* item = new CColItem(5);
    CObList list;
    list.AddTail(item);
    list.AddTail(item);
    list.AddTail(static_cast<CObject*>(NULL));
    const Bytes expected = Cat({{0x03, 0x00}, kItemClass, {0x05, 0x00, 0x00, 0x00}, {0x02, 0x00}, {0x00, 0x00}});
    EXPECT_EQ(Store(list), expected);
    CObArray array;
    array.Add(item);
    array.Add(item);
    array.Add(NULL);
    EXPECT_EQ(Store(array), expected);
    delete item;

    CObList listBack;
    LoadInto(expected, listBack);
    ASSERT_EQ(listBack.GetCount(), 3);
    CObject* first = listBack.GetHead();
    EXPECT_EQ(static_cast<CColItem*>(first)->m_value, 5);
    EXPECT_EQ(listBack.GetAt(listBack.FindIndex(1)), first);
    EXPECT_EQ(listBack.GetTail(), nullptr);
    delete first;
}

TEST(ArchiveCollections, ListsAndMaps)
{
    CStringList strings;
    strings.AddTail("x");
    strings.AddTail("yy");
    EXPECT_EQ(Store(strings), Cat({{0x02, 0x00, 0x01}, Of("x"), {0x02}, Of("yy")}));

    CMapStringToString map;
    map.SetAt("key", "value");
    const Bytes mapBytes = Cat({{0x01, 0x00, 0x03}, Of("key"), {0x05}, Of("value")});
    EXPECT_EQ(Store(map), mapBytes);
    CMapStringToString mapBack;
    LoadInto(mapBytes, mapBack);
    CString value;
    EXPECT_TRUE(mapBack.Lookup("key", value));
    EXPECT_EQ(value, CString("value"));

    CColItem item(3);
    CMapStringToOb obs;
    obs.SetAt("k", &item);
    const Bytes obBytes = Cat({{0x01, 0x00, 0x01}, Of("k"), kItemClass, {0x03, 0x00, 0x00, 0x00}});
    EXPECT_EQ(Store(obs), obBytes);
    CMapStringToOb obsBack;
    LoadInto(obBytes, obsBack);
    CObject* pOb = NULL;
    ASSERT_TRUE(obsBack.Lookup("k", pOb));
    EXPECT_EQ(static_cast<CColItem*>(pOb)->m_value, 3);
    delete pOb;

    // Several entries come back whatever the order they were written in.
    CMapStringToString many;
    for (int i = 0; i < 40; ++i) {
        CString k;
        k.Format("key%d", i);
        many.SetAt(k, k + "!");
    }
    CMapStringToString manyBack;
    LoadInto(Store(many), manyBack);
    EXPECT_EQ(manyBack.GetCount(), 40);
    EXPECT_TRUE(manyBack.Lookup("key39", value));
    EXPECT_EQ(value, CString("key39!"));
}

TEST(ArchiveCollections, Templates)
{
    CArray<LONG, LONG> numbers;
    numbers.Add(1);
    numbers.Add(-1);
    const Bytes numberBytes = {0x02, 0x00, 0x01, 0x00, 0x00, 0x00, 0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(Store(numbers), numberBytes);
    CArray<LONG, LONG> numbersBack;
    LoadInto(numberBytes, numbersBack);
    ASSERT_EQ(numbersBack.GetSize(), 2);
    EXPECT_EQ(numbersBack[1], -1);

    CList<CString, LPCSTR> strings;
    strings.AddTail("ab");
    const Bytes stringBytes = Cat({{0x01, 0x00, 0x02}, Of("ab")});
    EXPECT_EQ(Store(strings), stringBytes);
    CList<CString, LPCSTR> stringsBack;
    LoadInto(stringBytes, stringsBack);
    ASSERT_EQ(stringsBack.GetCount(), 1);
    EXPECT_EQ(stringsBack.GetHead(), CString("ab"));
}

TEST(ArchiveCollections, StoredAsObjects)
{
    // A collection written through WriteObject carries its class like any object.
    CStringArray* strings = new CStringArray;
    strings->Add("z");
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << strings;
    }
    delete strings;
    file.SeekToBegin();
    CArchive ar(&file, CArchive::load);
    CObject* back = NULL;
    ar >> back;
    CStringArray* array = DYNAMIC_DOWNCAST(CStringArray, back);
    ASSERT_NE(array, nullptr);
    ASSERT_EQ(array->GetSize(), 1);
    EXPECT_EQ(array->GetAt(0), CString("z"));
    delete back;
}

TEST(ArchiveCollections, TruncatedElementsThrow)
{
    // Two strings announced, one there.
    const Bytes cut = Cat({{0x02, 0x00, 0x01}, Of("a")});
    CStringArray strings;
    int cause = -1;
    try {
        LoadInto(cut, strings);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
}

namespace {

struct CColPoint {
    LONG x, y;
};

// Loads bytes into a fresh collection made by make(); returns the archive exception's cause,
// or -1 when loading succeeded.
int LoadCause(const Bytes& bytes, const std::function<CObject*()>& make)
{
    CObject* collection = make();
    int cause = -1;
    try {
        LoadInto(bytes, *collection);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    delete collection;
    return cause;
}

}  // namespace

TEST(ArchiveCollections, TruncatedAndDamagedArraysThrowWithoutHugeAllocations)
{
    const std::vector<std::pair<const char*, std::function<CObject*()>>> kinds = {
        {"CByteArray", [] { return new CByteArray; }},
        {"CWordArray", [] { return new CWordArray; }},
        {"CDWordArray", [] { return new CDWordArray; }},
        {"CStringArray", [] { return new CStringArray; }},
        {"CObArray", [] { return new CObArray; }},
        {"CArray<LONG>", [] { return new CArray<LONG, LONG>; }},
        {"CArray<CColPoint>", [] { return new CArray<CColPoint, const CColPoint&>; }},
        {"CArray<CString>", [] { return new CArray<CString, LPCSTR>; }},
    };
    const std::vector<std::pair<const char*, Bytes>> inputs = {
        // three elements announced, one or two bytes of them there
        {"short elements", {0x03, 0x00, 0x00, 0x00}},
        // the long form with about four thousand million elements, as a damaged count reads
        {"damaged long count", {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x00}},
        {"damaged count over 2^31", {0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80, 0x00}},
        {"count cut", {0xFF, 0xFF, 0x05}},
    };
    for (const auto& [kindName, make] : kinds) {
        for (const auto& [inputName, bytes] : inputs) {
            int cause = LoadCause(bytes, make);
            EXPECT_TRUE(cause == CArchiveException::endOfFile || cause == CArchiveException::badIndex)
                << kindName << ", " << inputName << ": cause " << cause;
        }
    }
    // Under the count's own limit the cause is the end of the data.
    EXPECT_EQ(LoadCause({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x01}, kinds[2].second), CArchiveException::endOfFile);
}

TEST(ArchiveCollections, LargeArraysLoadAcrossPieces)
{
    // More elements than the first piece holds, with distinct values in every piece.
    CDWordArray numbers;
    for (DWORD i = 0; i < 5000; i++)
        numbers.Add(i * 7 + 1);
    CDWordArray numbersBack;
    LoadInto(Store(numbers), numbersBack);
    ASSERT_EQ(numbersBack.GetSize(), 5000);
    for (int i = 0; i < 5000; i++)
        ASSERT_EQ(numbersBack[i], static_cast<DWORD>(i) * 7 + 1) << i;

    CArray<CColPoint, const CColPoint&> points;
    for (LONG i = 0; i < 3000; i++)
        points.Add(CColPoint{i, -i});
    CArray<CColPoint, const CColPoint&> pointsBack;
    LoadInto(Store(points), pointsBack);
    ASSERT_EQ(pointsBack.GetSize(), 3000);
    EXPECT_EQ(pointsBack[2999].x, 2999);
    EXPECT_EQ(pointsBack[1024].y, -1024);

    // One element short of the count: nothing is padded with zeros.
    Bytes cut = Store(numbers);
    cut.resize(cut.size() - 1);
    EXPECT_EQ(LoadCause(cut, [] { return new CDWordArray; }), CArchiveException::endOfFile);
}
