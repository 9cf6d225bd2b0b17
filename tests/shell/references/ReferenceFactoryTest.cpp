// The reference factory: the right kind of reference for a RIN, and the parser of article links.
#include "ReferenceTestSupport.h"

#include "base/HitList.h"
#include "base/OnlineReference.h"
#include "base/Reference.h"
#include "base/Rin.h"

#include <memory>
#include <string>

namespace {

std::string Str(const CString& s)
{
    return static_cast<LPCSTR>(s);
}

// What a call threw: "" for nothing, else the exception's class name.
template <class Fn>
std::string Thrown(Fn fn)
{
    try {
        std::unique_ptr<CReference> made(fn());
    } catch (CException* e) {
        std::string name = e->GetRuntimeClass()->m_lpszClassName;
        e->Delete();
        return name;
    }
    return "";
}

using ReferenceFactoryTest = ReferenceTest;

TEST_F(ReferenceFactoryTest, OnlineItemsAreNamedByTheirRitAndKind)
{
    struct Case {
        LONG number;
        const char* fileName;
        LONG kind;
    } cases[] = {
        {10000042, "000042.rcv", REFKIND_ARTICLE},
        {11012345, "pc012345.grf", REFKIND_PICTURE},
        {12000007, "lr000007.grf", REFKIND_PICTURE},
        {14010003, "am000003.grf", REFKIND_VIDEO},      // a movie
        {14020003, "vd000003.grf", REFKIND_VIDEO},
        {14030003, "si000003.grf", REFKIND_SIMULATION},
        {14040003, "qr000003.grf", REFKIND_VIDEO},      // a movie too
        {14050003, "bu000003.grf", REFKIND_NONE},       // no kind test holds for a bubble
        {16000003, "au000003.grf", REFKIND_ONLINESOUND},
        {15000009, "yb000009.rcv", REFKIND_ARTICLE},
    };
    for (const Case& c : cases) {
        std::unique_ptr<CReference> reference(factory.CreateReference(c.number, "Online", 0x20));
        COnlineReference* online = DYNAMIC_DOWNCAST(COnlineReference, reference.get());
        ASSERT_NE(nullptr, online) << c.number;
        EXPECT_EQ(c.number, online->GetNumber());
        EXPECT_EQ(c.fileName, Str(online->GetFileName())) << c.number;
        EXPECT_EQ(c.kind, online->GetKind()) << c.number;
        EXPECT_EQ("Online", Str(online->GetTitle()));
        EXPECT_EQ(0x20, online->GetCategory());
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(ReferenceFactoryTest, AnOnlineItemOfAnotherTypeIsRefused)
{
    // A map is a picture without being a media item; a web site neither text nor media.
    for (LONG number : {13000001, 19000001, 110000001}) {
        host::ResetUiScript();
        host::AnswerMessageBox("Error: Reference to online resource with unexpected type.", IDOK);
        EXPECT_EQ("CNotSupportedException", Thrown([&] { return factory.CreateReference(number, "", 0); })) << number;
        ASSERT_EQ(1u, host::MessageBoxLog().size());
        EXPECT_EQ(static_cast<UINT>(MB_OK), host::MessageBoxLog()[0].type & MB_TYPEMASK);
    }
}

TEST_F(ReferenceFactoryTest, TimelinesAndDiscItems)
{
    LoadEngine();
    std::unique_ptr<CReference> timeline(factory.CreateReference(4060005, "Timeline", 0x40));
    EXPECT_STREQ("CReference", timeline->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(4060005, timeline->GetNumber());
    EXPECT_EQ(REFKIND_TIMELINE, timeline->GetKind());
    EXPECT_EQ(0x40, timeline->GetCategory());
    EXPECT_EQ("Timeline", Str(timeline->GetTitle()));

    // A disc item is placed through the table, which gives the category too.
    std::unique_ptr<CReference> article(factory.CreateReference(12345, "Volcano", 0x80));
    EXPECT_EQ(12345, article->GetNumber());
    EXPECT_EQ(REFKIND_ARTICLE, article->GetKind());
    EXPECT_EQ(0x4, article->GetCategory());
    EXPECT_EQ(40, article->GetBlock());
    EXPECT_EQ("Volcano", Str(article->GetTitle()));

    // A number outside the kind table: the content-number exception passes through.
    EXPECT_EQ("CRinException", Thrown([&] { return factory.CreateReference(4005000, "", 0); }));
    EXPECT_EQ("CRinException", Thrown([&] { return factory.CreateReference(14005000, "", 0); }));
    EXPECT_EQ("CRinException", Thrown([&] { return factory.CreateReference(1000000000, "", 0); }));
}

TEST_F(ReferenceFactoryTest, ArticleLinks)
{
    LoadEngine();
    struct Case {
        const char* link;
        const char* thrown;  // "" when the link parses
        LONG number;
        int section;  // -1: no hit list
    } cases[] = {
        {"vl://012345", "", 12345, -1},
        {"VL://012345", "", 12345, -1},
        {"vl://012345(T)", "", 12345, -1},
        {"vl://012345(t)", "", 12345, -1},
        {"vl://012345x(T)", "", 12345, -1},  // a link ending in "(T)" is read no further
        {"vl://012345(12)", "", 12345, 12},
        {"vl://012345(12]", "", 12345, 12},   // the closing character is not looked at
        {"vl://012345(123", "", 12345, 12},   // no closing character: all digits but the last
        {"vl://012345(300)", "", 12345, 44},  // the section field keeps 8 bits
        {"vl://012345()", "", 12345, -1},
        {"vl://012345(", "", 12345, -1},
        {"vl://999999", "", 1, -1},  // absent from the table: the default record of its range
        {"vl://012345(1x)", "CNotSupportedException", 0, -1},
        {"vl://012345x", "CNotSupportedException", 0, -1},
        {"vl://012345 (12)", "CNotSupportedException", 0, -1},
        {"vl:/012345", "CNotSupportedException", 0, -1},
        {"http://012345", "CNotSupportedException", 0, -1},
        {"vl:/", "CNotSupportedException", 0, -1},
        {"", "CNotSupportedException", 0, -1},
        {"vl://0123456", "CRinException", 0, -1},
        {"vl://01234", "CRinException", 0, -1},
        {"vl://", "CRinException", 0, -1},
        {"vl://(T)", "CRinException", 0, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.link);
        EXPECT_EQ(c.thrown, Thrown([&] { return factory.ParseReferenceLink(c.link); }));
        if (*c.thrown != '\0')
            continue;
        // Thrown() deleted the reference; parse it again to look at it.
        std::unique_ptr<CReference> reference(factory.ParseReferenceLink(c.link));
        EXPECT_EQ(c.number, reference->GetNumber());
        EXPECT_EQ(c.link, Str(reference->GetLinkText()));
        EXPECT_EQ("", Str(reference->GetTitle()));
        CHitList* hits = DYNAMIC_DOWNCAST(CHitList, reference->GetData());
        if (c.section < 0) {
            EXPECT_EQ(nullptr, reference->GetData());
        } else {
            ASSERT_NE(nullptr, hits);
            ASSERT_EQ(1, hits->GetCount());
            EXPECT_EQ(static_cast<UINT>(c.section), hits->GetAt(0)->GetSection());
            EXPECT_EQ(0u, hits->GetAt(0)->GetOffset());
            EXPECT_EQ(0u, hits->GetAt(0)->GetLength());
        }
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(ReferenceFactoryTest, TheApplicationHoldsTheFactory)
{
    EXPECT_EQ(&factory, GetAppReferenceFactory());
    EXPECT_EQ(nullptr, GetAppSearchEngine());
    LoadEngine();
    EXPECT_EQ(&engine, GetAppSearchEngine());
}

}  // namespace
