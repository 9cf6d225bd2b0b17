#include "ArchiveTestSupport.h"

#include <afx.h>

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

using namespace archive_test;

// Two serializable classes for object graphs: a node with a name and two object pointers, and
// a leaf with a number. A node owns its first pointer (its child); the second may point
// anywhere in the graph (a back reference) and is not owned.
class CArcNode : public CObject {
    DECLARE_SERIAL(CArcNode)
public:
    CArcNode() = default;
    CArcNode(LPCSTR name, CObject* child, CObject* other) : m_name(name), m_child(child), m_other(other) {}
    ~CArcNode() override { delete m_child; }
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_name << m_child << m_other;
        } else {
            ar >> m_name;
            ar >> m_child;
            ar >> m_other;
        }
    }
    CString m_name;
    CObject* m_child = NULL;
    CObject* m_other = NULL;
};
IMPLEMENT_SERIAL(CArcNode, CObject, 1)

class CArcLeaf : public CObject {
    DECLARE_SERIAL(CArcLeaf)
public:
    CArcLeaf() = default;
    explicit CArcLeaf(LONG value) : m_value(value) {}
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring())
            ar << m_value;
        else
            ar >> m_value;
    }
    LONG m_value = 0;
};
IMPLEMENT_SERIAL(CArcLeaf, CObject, 2)

// A class that reads older versions of itself: schema 3, versionable.
class CArcVersioned : public CObject {
    DECLARE_SERIAL(CArcVersioned)
public:
    void Serialize(CArchive& ar) override
    {
        if (ar.IsStoring()) {
            ar << m_a << m_b;
        } else {
            m_schema = ar.GetObjectSchema();
            m_schemaAgain = ar.GetObjectSchema();
            ar >> m_a;
            if (m_schema >= 2)
                ar >> m_b;
        }
    }
    WORD m_a = 0;
    WORD m_b = 0;
    UINT m_schema = 0;
    UINT m_schemaAgain = 0;
};
IMPLEMENT_SERIAL(CArcVersioned, CObject, VERSIONABLE_SCHEMA | 3)

class CArcPlain : public CObject {
    DECLARE_DYNCREATE(CArcPlain)
};
IMPLEMENT_DYNCREATE(CArcPlain, CObject)

// The graph of the byte test: root -> leaf 7, root.other -> n2; n2 -> leaf 8, n2.other -> root.
CArcNode* MakeGraph()
{
    CArcNode* root = new CArcNode("root", new CArcLeaf(7), NULL);
    root->m_other = new CArcNode("n2", new CArcLeaf(8), root);
    return root;
}

void DeleteGraph(CArcNode* root)
{
    if (root == NULL)
        return;
    delete root->m_other;
    delete root;
}

const Bytes kGraphBytes = Cat({
    {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}, Of("CArcNode"),  // new class CArcNode (index 1), schema 1
    {0x04}, Of("root"),                                     // root (index 2): name
    {0xFF, 0xFF, 0x02, 0x00, 0x08, 0x00}, Of("CArcLeaf"),  // child: new class CArcLeaf (index 3)
    {0x07, 0x00, 0x00, 0x00},                               // leaf 7 (index 4)
    {0x01, 0x80},                                           // other: class 1 again, n2 (index 5)
    {0x02}, Of("n2"),                                       //   name
    {0x03, 0x80}, {0x08, 0x00, 0x00, 0x00},                 //   child: class 3, leaf 8 (index 6)
    {0x02, 0x00},                                           //   other: back to object 2, root
});

}  // namespace

TEST(Archive, ObjectGraphBytes)
{
    CArcNode* root = MakeGraph();
    Bytes bytes = Store([&](CArchive& ar) { ar << root; });
    EXPECT_EQ(bytes, kGraphBytes);
    DeleteGraph(root);

    CArcNode* loaded = NULL;
    EXPECT_EQ(Load(kGraphBytes, [&](CArchive& ar) { ar >> loaded; }), -1);
    ASSERT_NE(loaded, nullptr);
    EXPECT_EQ(loaded->m_name, CString("root"));
    ASSERT_TRUE(loaded->m_child->IsKindOf(RUNTIME_CLASS(CArcLeaf)));
    EXPECT_EQ(static_cast<CArcLeaf*>(loaded->m_child)->m_value, 7);
    CArcNode* n2 = DYNAMIC_DOWNCAST(CArcNode, loaded->m_other);
    ASSERT_NE(n2, nullptr);
    EXPECT_EQ(n2->m_name, CString("n2"));
    EXPECT_EQ(static_cast<CArcLeaf*>(n2->m_child)->m_value, 8);
    EXPECT_EQ(n2->m_other, loaded);  // the back reference is the same object
    DeleteGraph(loaded);
}

TEST(Archive, NullAndRepeatedObjects)
{
    CArcLeaf leaf(5);
    Bytes bytes = Store([&](CArchive& ar) {
        ar << static_cast<CObject*>(NULL);
        ar << &leaf << &leaf;
        ar.WriteClass(RUNTIME_CLASS(CArcLeaf));
        ar.WriteClass(RUNTIME_CLASS(CArcNode));
    });
    Bytes expected = Cat({{0x00, 0x00}, {0xFF, 0xFF, 0x02, 0x00, 0x08, 0x00}, Of("CArcLeaf"), {0x05, 0, 0, 0},
                          {0x02, 0x00}, {0x01, 0x80}, {0xFF, 0xFF, 0x01, 0x00, 0x08, 0x00}, Of("CArcNode")});
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Load(bytes, [](CArchive& ar) {
                  CArcLeaf sentinel;
                  CObject* null = &sentinel;
                  ar >> null;
                  EXPECT_EQ(null, nullptr);
                  CArcLeaf* a = NULL;
                  CArcLeaf* b = NULL;
                  ar >> a >> b;
                  EXPECT_EQ(a, b);
                  EXPECT_EQ(a->m_value, 5);
                  EXPECT_EQ(ar.ReadClass(), RUNTIME_CLASS(CArcLeaf));
                  ar.SerializeClass(RUNTIME_CLASS(CArcNode));
                  delete a;
              }),
              -1);
}

TEST(Archive, BigIndexesUseTheEscape)
{
    // 0x7FFE mapped objects take indexes 1..0x7FFE; the next class gets 0x7FFF and its object
    // 0x8000, both beyond what a WORD tag can hold.
    std::vector<std::unique_ptr<CArcLeaf>> mapped;
    for (int i = 0; i < 0x7FFE; ++i)
        mapped.push_back(std::make_unique<CArcLeaf>(i));
    CArcLeaf a(1), b(2);
    Bytes bytes = Store([&](CArchive& ar) {
        for (auto& m : mapped)
            ar.MapObject(m.get());
        ar << &a << &a << &b;
        ar << mapped[0x10].get();  // an early object keeps its short reference
    });
    Bytes expected = Cat({{0xFF, 0xFF, 0x02, 0x00, 0x08, 0x00}, Of("CArcLeaf"), {0x01, 0, 0, 0},  // class 0x7FFF, a 0x8000
                          {0xFF, 0x7F, 0x00, 0x80, 0x00, 0x00},        // a again: 0x7FFF + DWORD 0x8000
                          {0xFF, 0x7F, 0xFF, 0x7F, 0x00, 0x80},        // class 0x7FFF: 0x7FFF + DWORD 0x80007FFF
                          {0x02, 0, 0, 0},                             // b (0x8001)
                          {0x11, 0x00}});
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) {
                  for (auto& m : mapped)
                      ar.MapObject(m.get());
                  CArcLeaf *la = NULL, *la2 = NULL, *lb = NULL, *early = NULL;
                  ar >> la >> la2 >> lb >> early;
                  EXPECT_EQ(la, la2);
                  EXPECT_EQ(la->m_value, 1);
                  EXPECT_EQ(lb->m_value, 2);
                  EXPECT_EQ(early, mapped[0x10].get());
                  delete la;
                  delete lb;
              }),
              -1);
}

TEST(Archive, StringLengthPrefixes)
{
    struct Case {
        int length;
        Bytes prefix;
    } cases[] = {
        {0, {0x00}},
        {1, {0x01}},
        {0xFE, {0xFE}},
        {0xFF, {0xFF, 0xFF, 0x00}},
        {0x100, {0xFF, 0x00, 0x01}},
        {0xFFFD, {0xFF, 0xFD, 0xFF}},
        {0xFFFE, {0xFF, 0xFF, 0xFF, 0xFE, 0xFF, 0x00, 0x00}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345, {0xFF, 0xFF, 0xFF, 0x45, 0x23, 0x01, 0x00}},
    };
    for (const Case& c : cases) {
        CString text;
        LPSTR p = text.GetBufferSetLength(c.length);
        for (int i = 0; i < c.length; ++i)
            p[i] = static_cast<char>('a' + i % 26 + (i % 7 == 0 ? 0x60 : 0));  // bytes above 0x7F too
        text.ReleaseBuffer(c.length);
        Bytes bytes = Store([&](CArchive& ar) { ar << text; }, 128);
        if (c.length < 0x300) {
            // Text as a C string is stored the same way.
            EXPECT_EQ(Store([&](CArchive& ar) { ar << static_cast<LPCSTR>(text); }), bytes) << c.length;
        }
        ASSERT_EQ(bytes.size(), c.prefix.size() + c.length) << c.length;
        EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(c.prefix.size())), c.prefix) << c.length;
        CString back;
        EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> back; }, 128), -1);
        EXPECT_EQ(back, text) << c.length;
    }
}

TEST(Archive, UnicodeStringsAreReadOntoTheCodePage)
{
    // 0xFF 0xFFFE marks UTF-16 characters; the length follows as usual.
    Bytes bytes = {0xFF, 0xFE, 0xFF, 0x05, 'a', 0, 0xE9, 0, 0xAC, 0x20, 0x3A, 0x04, 'z', 0};
    CString text;
    EXPECT_EQ(Load(bytes, [&](CArchive& ar) { ar >> text; }), -1);
    EXPECT_EQ(text, CString("a\xE9\x80?z"));
}

TEST(Archive, CountsAndNumbers)
{
    struct Case {
        DWORD count;
        Bytes bytes;
    } counts[] = {
        {0, {0x00, 0x00}},
        {0xFFFE, {0xFE, 0xFF}},
        {0xFFFF, {0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00}},
        {0x12345678, {0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12}},
    };
    for (const Case& c : counts) {
        Bytes bytes = Store([&](CArchive& ar) { ar.WriteCount(c.count); });
        EXPECT_EQ(bytes, c.bytes) << c.count;
        DWORD_PTR back = 0;
        EXPECT_EQ(Load(bytes, [&](CArchive& ar) { back = ar.ReadCount(); }), -1);
        EXPECT_EQ(back, c.count);
    }

    Bytes bytes = Store([](CArchive& ar) {
        ar << static_cast<BYTE>(0x81) << static_cast<WORD>(0x1234) << static_cast<LONG>(-2)
           << static_cast<DWORD>(0xDEADBEEF) << 1.0f << -2.0 << static_cast<LONGLONG>(-3)
           << static_cast<ULONGLONG>(0x0102030405060708ULL) << static_cast<short>(-1) << 'c' << true << 7;
    });
    Bytes expected = {0x81, 0x34, 0x12, 0xFE, 0xFF, 0xFF, 0xFF, 0xEF, 0xBE, 0xAD, 0xDE, 0x00, 0x00, 0x80, 0x3F,
                      0,    0,    0,    0,    0,    0,    0,    0xC0, 0xFD, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF,
                      0xFF, 0x08, 0x07, 0x06, 0x05, 0x04, 0x03, 0x02, 0x01, 0xFF, 0xFF, 'c',  0x01, 0x07, 0,
                      0,    0};
    EXPECT_EQ(bytes, expected);
    EXPECT_EQ(Load(bytes, [](CArchive& ar) {
                  BYTE by;
                  WORD w;
                  LONG l;
                  DWORD dw;
                  float f;
                  double d;
                  LONGLONG ll;
                  ULONGLONG ull;
                  short s;
                  char c;
                  bool b;
                  int i;
                  ar >> by >> w >> l >> dw >> f >> d >> ll >> ull >> s >> c >> b >> i;
                  EXPECT_EQ(by, 0x81);
                  EXPECT_EQ(w, 0x1234);
                  EXPECT_EQ(l, -2);
                  EXPECT_EQ(dw, 0xDEADBEEFu);
                  EXPECT_EQ(f, 1.0f);
                  EXPECT_EQ(d, -2.0);
                  EXPECT_EQ(ll, -3);
                  EXPECT_EQ(ull, 0x0102030405060708ULL);
                  EXPECT_EQ(s, -1);
                  EXPECT_EQ(c, 'c');
                  EXPECT_TRUE(b);
                  EXPECT_EQ(i, 7);
                  EXPECT_TRUE(ar.IsBufferEmpty());
              }),
              -1);
}

TEST(Archive, ValuesAcrossSmallBufferBoundaries)
{
    // A 128-byte buffer: WORDs and DWORDs straddle every refill, raw blocks are bigger than it.
    std::string block(300, 'q');
    Bytes bytes = Store(
        [&](CArchive& ar) {
            for (DWORD i = 0; i < 200; ++i) {
                ar << static_cast<BYTE>(i) << static_cast<DWORD>(i * 7919) << static_cast<WORD>(i);
                if (i % 50 == 0)
                    ar.Write(block.data(), static_cast<UINT>(block.size()));
            }
        },
        128);
    EXPECT_EQ(bytes.size(), 200u * 7 + 4 * 300);
    EXPECT_EQ(Load(
                  bytes,
                  [&](CArchive& ar) {
                      for (DWORD i = 0; i < 200; ++i) {
                          BYTE by;
                          DWORD dw;
                          WORD w;
                          ar >> by >> dw >> w;
                          ASSERT_EQ(by, static_cast<BYTE>(i));
                          ASSERT_EQ(dw, i * 7919);
                          ASSERT_EQ(w, i);
                          if (i % 50 == 0) {
                              std::string back(300, '\0');
                              ASSERT_EQ(ar.Read(back.data(), 300), 300u);
                              ASSERT_EQ(back, block);
                          }
                      }
                      char extra[4];
                      EXPECT_EQ(ar.Read(extra, sizeof extra), 0u);  // raw reads stop at the end
                  },
                  128),
              -1);
}

TEST(Archive, TruncatedGraphThrowsAtEveryLength)
{
    for (std::size_t n = 0; n < kGraphBytes.size(); ++n) {
        Bytes cut(kGraphBytes.begin(), kGraphBytes.begin() + static_cast<long>(n));
        CArcNode* loaded = NULL;
        int cause = Load(cut, [&](CArchive& ar) { ar >> loaded; });
        // A cut inside a class name leaves the name unreadable: badClass; elsewhere endOfFile.
        EXPECT_TRUE(cause == CArchiveException::endOfFile || cause == CArchiveException::badClass)
            << "length " << n << " cause " << cause;
        EXPECT_EQ(loaded, nullptr);
    }
}

TEST(Archive, DamagedInputThrowsTheCause)
{
    auto withName = [](WORD schema, const char* name) {
        Bytes b = {0xFF, 0xFF, static_cast<BYTE>(schema), static_cast<BYTE>(schema >> 8),
                   static_cast<BYTE>(std::strlen(name)), 0};
        Bytes n = Of(name);
        b.insert(b.end(), n.begin(), n.end());
        return b;
    };
    struct Case {
        const char* what;
        Bytes bytes;
        const CRuntimeClass* requested;
        int cause;
    } cases[] = {
        {"unknown class", Cat({withName(1, "CNoSuchClass"), {0, 0, 0, 0}}), NULL, CArchiveException::badClass},
        {"wrong schema", Cat({withName(9, "CArcLeaf"), {0, 0, 0, 0}}), NULL, CArchiveException::badSchema},
        {"class not creatable", withName(0xFFFF, "CArcPlain"), NULL, CArchiveException::badClass},
        {"name too long", Cat({{0xFF, 0xFF, 0x01, 0x00, 0x00, 0x01}, Bytes(256, 'A')}), NULL,
         CArchiveException::badClass},
        {"object index not yet read", {0x05, 0x00}, NULL, CArchiveException::badIndex},
        {"class index not yet read", {0x03, 0x80}, NULL, CArchiveException::badIndex},
        {"class index zero", {0x00, 0x80}, NULL, CArchiveException::badIndex},
        {"big object index", {0xFF, 0x7F, 0x00, 0x00, 0x01, 0x00}, NULL, CArchiveException::badIndex},
        {"object index naming a class",
         Cat({withName(2, "CArcLeaf"), {1, 0, 0, 0}, {0x01, 0x00}}), NULL, CArchiveException::badIndex},
        {"class index naming an object",
         Cat({withName(2, "CArcLeaf"), {1, 0, 0, 0}, {0x02, 0x80}}), NULL, CArchiveException::badIndex},
        {"other class than requested", Cat({withName(2, "CArcLeaf"), {1, 0, 0, 0}}), RUNTIME_CLASS(CArcNode),
         CArchiveException::badClass},
        {"string length beyond the data", Cat({withName(1, "CArcNode"), {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0x7F},
                                               Bytes(50, 'x')}),
         NULL, CArchiveException::endOfFile},
        {"empty", {}, NULL, CArchiveException::endOfFile},
    };
    for (const Case& c : cases) {
        CObject* loaded = NULL;
        // Objects read before the damage (the leaf of the index cases) are the caller's.
        std::vector<CObject*> before;
        int cause = Load(c.bytes, [&](CArchive& ar) {
            for (;;) {
                loaded = ar.ReadObject(c.requested);
                before.push_back(loaded);
            }
        });
        EXPECT_EQ(cause, c.cause) << c.what;
        for (CObject* p : before)
            delete p;
    }
}

TEST(Archive, VersionableSchemaReadsOlderObjects)
{
    // Written by schema 1 of the class, which had only m_a.
    Bytes old = Cat({{0xFF, 0xFF, 0x01, 0x00, 0x0D, 0x00}, Of("CArcVersioned"), {0x34, 0x12}});
    CArcVersioned* v = NULL;
    EXPECT_EQ(Load(old, [&](CArchive& ar) { ar >> v; }), -1);
    ASSERT_NE(v, nullptr);
    EXPECT_EQ(v->m_schema, 1u);
    EXPECT_EQ(v->m_schemaAgain, static_cast<UINT>(-1));  // valid once per object
    EXPECT_EQ(v->m_a, 0x1234);
    delete v;

    CArcVersioned now;
    now.m_a = 1;
    now.m_b = 2;
    Bytes bytes = Store([&](CArchive& ar) { ar << &now; });
    EXPECT_EQ(bytes, Cat({{0xFF, 0xFF, 0x03, 0x00, 0x0D, 0x00}, Of("CArcVersioned"), {1, 0, 2, 0}}));
}

TEST(Archive, ModesAndMisuse)
{
    CMemFile file;
    CArchive ar(&file, CArchive::store);
    EXPECT_TRUE(ar.IsStoring());
    EXPECT_FALSE(ar.IsLoading());
    EXPECT_EQ(ar.GetFile(), &file);
    BYTE by;
    int cause = -1;
    try {
        ar >> by;
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::writeOnly);
    // Objects of classes without a schema cannot be stored.
    CArcPlain plain;
    bool notSupported = false;
    try {
        ar << &plain;
    } catch (CNotSupportedException* e) {
        notSupported = true;
        e->Delete();
    }
    EXPECT_TRUE(notSupported);
    ar.Abort();

    BYTE block[4] = {1, 2, 3, 4};
    CMemFile in(block, sizeof block);
    CArchive loading(&in, CArchive::load);
    cause = -1;
    try {
        loading << static_cast<BYTE>(1);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::readOnly);
    // Flush gives back what was read ahead: the file stands where the archive does.
    loading >> by;
    EXPECT_EQ(in.GetPosition(), 4u);
    loading.Flush();
    EXPECT_EQ(in.GetPosition(), 1u);
    loading >> by;
    EXPECT_EQ(by, 2);
}

TEST(Archive, StoringIsBufferedUntilFlushOrClose)
{
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(1);
        EXPECT_EQ(file.GetLength(), 0u);
        ar.Flush();
        EXPECT_EQ(file.GetLength(), 4u);
        ar << static_cast<DWORD>(2);
        ar.Abort();  // the second DWORD is lost
    }
    EXPECT_EQ(file.GetLength(), 4u);
    {
        CArchive ar(&file, CArchive::store | CArchive::bNoFlushOnDelete);
        ar << static_cast<DWORD>(3);
    }
    EXPECT_EQ(file.GetLength(), 4u);
    {
        CArchive ar(&file, CArchive::store);
        ar << static_cast<DWORD>(4);
        ar.Close();
        EXPECT_EQ(ar.GetFile(), nullptr);
    }
    EXPECT_EQ(file.GetLength(), 8u);
}

TEST(Archive, LinesOfText)
{
    Bytes bytes = Store([](CArchive& ar) {
        ar.WriteString("first\r\nsecond\nthird\rfourth-is-longer-than-the-buffer-of-eight");
    });
    EXPECT_EQ(bytes.size(), 61u);
    EXPECT_EQ(Load(bytes, [](CArchive& ar) {
                  CString line;
                  EXPECT_TRUE(ar.ReadString(line));
                  EXPECT_EQ(line, CString("first"));
                  char buf[9];
                  EXPECT_STREQ(ar.ReadString(buf, 8), "second");
                  EXPECT_STREQ(ar.ReadString(buf, 8), "third");
                  EXPECT_STREQ(ar.ReadString(buf, 8), "fourth-i");
                  EXPECT_TRUE(ar.ReadString(line));
                  EXPECT_EQ(line, CString("s-longer-than-the-buffer-of-eight"));
                  EXPECT_FALSE(ar.ReadString(line));
                  EXPECT_EQ(ar.ReadString(buf, 8), nullptr);
              }),
              -1);
}

TEST(Archive, OverAFileOnDisk)
{
    // The archive's file name reaches its exceptions.
    char temp[MAX_PATH];
    ASSERT_NE(GetTempPath(MAX_PATH, temp), 0u);
    CString path = CString(temp) + "archive-test.dat";
    CArcNode* root = MakeGraph();
    {
        CFile file(path, CFile::modeCreate | CFile::modeWrite);
        CArchive ar(&file, CArchive::store);
        ar << root << CString("tail");
    }
    DeleteGraph(root);
    {
        CFile file(path, CFile::modeRead);
        CArchive ar(&file, CArchive::load);
        EXPECT_EQ(ar.m_strFileName, file.GetFilePath());
        CArcNode* loaded = NULL;
        CString tail;
        ar >> loaded >> tail;
        EXPECT_EQ(tail, CString("tail"));
        DeleteGraph(loaded);
        CString fileName;
        try {
            ar >> tail;
        } catch (CArchiveException* e) {
            EXPECT_EQ(e->m_cause, CArchiveException::endOfFile);
            fileName = e->m_strFileName;
            e->Delete();
        }
        EXPECT_EQ(fileName, file.GetFilePath());
    }
    CFile::Remove(path);
}
