// Content references: file paths and data-folder kinds by kind, placing through the ROM_LINK
// table, copying and cloning (with the hit list and the subclasses), and the subclasses' own
// behaviour.
#include "ReferenceTestSupport.h"

#include "search/KWReference.h"
#include "base/HitList.h"
#include "base/OnlineReference.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/Rin.h"
#include "base/TPReference.h"

#include <cstring>
#include <functional>
#include <memory>
#include <string>

namespace {

bool ThrowsNotSupported(const std::function<void()>& fn)
{
    try {
        fn();
    } catch (CNotSupportedException* e) {
        e->Delete();
        return true;
    }
    return false;
}

std::string Str(const CString& s)
{
    return static_cast<LPCSTR>(s);
}

// A reference of a kind and number on a disc, made without the table.
std::unique_ptr<CReference> Make(LONG kind, LONG number, int disc = 1)
{
    auto reference = std::make_unique<CReference>();
    reference->SetKind(kind);
    reference->SetNumber(number);
    reference->SetDisc(disc);
    return reference;
}

using ReferencePathTest = ReferenceTest;

TEST_F(ReferencePathTest, EveryKindNamesItsFileAndFolderKind)
{
    struct Case {
        LONG kind;
        int dataDirType;
        const char* path;  // for number 4,020,017
        UINT iconId;
    } cases[] = {
        {0x100, 11, "T:\\data\\vl.dat", 0},
        {0x200, 4, "T:\\data\\Movies\\AM000017.mov", 4030},
        {0x400, 3, "T:\\data\\Movies\\VD000017.mov", 4031},
        {0x800, 11, "T:\\data\\vl.dat", 4032},
        {0x1000, 6, "T:\\data\\Sound\\AU000017.mov", 187},
        {0x2000, 10, "T:\\data\\Sims\\si000017.dll", 4033},
        {0x4000, 11, "T:\\data\\vl.dat", 143},
        {0x8000, 3, "T:\\data\\Movies\\QR000017.mov", 4035},
        {0x10000, 6, "T:\\data\\Sound\\AU000017.mov", 0},
        {0x20000, 11, "T:\\data\\vl.dat", 0},
        {0x100000, 5, "T:\\data\\Photo\\Bu000017.bub", 4035},
    };
    for (const Case& c : cases) {
        auto reference = Make(c.kind, 4020017);
        EXPECT_EQ(c.dataDirType, reference->GetDataDirType()) << std::hex << c.kind;
        EXPECT_EQ(c.path, Str(reference->GetFilePath())) << std::hex << c.kind;
        EXPECT_EQ(c.iconId, GetReferenceKindIconId(c.kind)) << std::hex << c.kind;
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(ReferencePathTest, KindsWithoutAFolderGiveTheEmptyPath)
{
    for (LONG kind : {0x40000, 0x80000, 0x200000}) {
        host::ResetUiScript();
        Reports().clear();
        auto reference = Make(kind, 4020017);
        EXPECT_EQ(DDT_NO_FOLDER, reference->GetDataDirType());
        host::AnswerMessageBox("Unknown DataDirType.", IDOK);
        EXPECT_EQ("", Str(reference->GetFilePath())) << std::hex << kind;
        // The folder lookup reports the unknown kind, then the framework reports its exception.
        EXPECT_EQ(1u, host::MessageBoxLog().size());
        EXPECT_EQ(1u, Reports().size());
        EXPECT_EQ(0u, GetReferenceKindIconId(kind));
    }
}

TEST_F(ReferencePathTest, KindsOutsideTheTableAreNotSupported)
{
    for (LONG kind : {0x0, 0x300, 0x1, 0x400000, -1}) {
        auto reference = Make(kind, 12345);
        EXPECT_TRUE(ThrowsNotSupported([&] { reference->GetDataDirType(); })) << std::hex << kind;
        EXPECT_TRUE(ThrowsNotSupported([&] { reference->GetFilePath(); })) << std::hex << kind;
        CString folder;
        EXPECT_TRUE(ThrowsNotSupported([&] { reference->GetDataFolder(folder, FALSE); })) << std::hex << kind;
        EXPECT_EQ(0u, GetReferenceKindIconId(kind));
    }
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(ReferencePathTest, TheFolderComesFromTheReferencesDisc)
{
    // Only disc 1 is served: the folder lookup refuses disc 2 to the caller.
    auto reference = Make(REFKIND_VIDEO, 4020017, 2);
    EXPECT_TRUE(ThrowsNotSupported([&] { reference->GetFilePath(); }));

    // Without the data folder the path is empty (the reader cancelled the prompt).
    SetProfile("Files", "DataDir", NULL);
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    EXPECT_EQ("", Str(Make(REFKIND_VIDEO, 4020017)->GetFilePath()));
}

using ReferencePlaceTest = ReferenceTest;

TEST_F(ReferencePlaceTest, ANumberIsPlacedFromItsRecord)
{
    LoadEngine();
    struct Case {
        LONG number;
        LONG category, kind, block, count, disc, pictureFlag;
    } cases[] = {
        {12345, 0x4, 0x100, 40, 5, 1, 0},
        {20000, 0x100, 0x100, 8388607, 127, 1, -1},
        {1012345, 0x1, 0x800, 50, 1, 1, -1},
        {3000732, 0x8, 0x4000, 70, 3, 1, -1},
        {4010010, 0x10, 0x200, 0, 1, 1, 0},
        {4020017, 0x20, 0x400, 0, 1, 2, 0},
        {4030001, 0x80, 0x2000, 0, 1, 1, 0},
        {4040006, 0x1, 0x8000, 0, 1, 1, 0},
        {4050002, 0, 0x100000, 0, 1, 1, 0},
        {6000003, 0, 0x1000, 0, 1, 1, 0},
    };
    for (const Case& c : cases) {
        CReference reference(c.number, "Title");
        EXPECT_EQ(c.number, reference.GetNumber());
        EXPECT_EQ(c.category, reference.GetCategory()) << c.number;
        EXPECT_EQ(c.kind, reference.GetKind()) << c.number;
        EXPECT_EQ(c.block, reference.GetBlock()) << c.number;
        EXPECT_EQ(c.count, reference.GetBlockCount()) << c.number;
        EXPECT_EQ(c.disc, reference.GetDisc()) << c.number;
        EXPECT_EQ(c.pictureFlag, reference.GetPictureFlag()) << c.number;
        EXPECT_EQ("Title", Str(reference.GetTitle()));
        EXPECT_EQ(REFTYPE_PLAIN, reference.GetRefType());
        EXPECT_EQ(REFENTRY_HEADING, reference.GetEntryCode());
    }
    // An absent number carries its default record: its number, place and kind.
    CReference absent(2500000, "Absent");
    EXPECT_EQ(2000461, absent.GetNumber());
    EXPECT_EQ(REFKIND_PICTURE, absent.GetKind());
    EXPECT_EQ(60, absent.GetBlock());
}

TEST_F(ReferencePlaceTest, WithoutEngineOrTableTheReferenceStaysUnplaced)
{
    CReference noEngine(12345, "Title");
    EXPECT_EQ(0, noEngine.GetNumber());
    EXPECT_EQ(REFKIND_NONE, noEngine.GetKind());
    EXPECT_EQ("Title", Str(noEngine.GetTitle()));
    EXPECT_TRUE(ThrowsNotSupported([&] { noEngine.GetDataDirType(); }));

    AppServices().owned.pSearchEngine = &engine;  // an engine whose table is not loaded
    CReference noTable(12345, "Title");
    EXPECT_EQ(0, noTable.GetNumber());
    EXPECT_EQ(REFKIND_NONE, noTable.GetKind());
}

TEST_F(ReferencePlaceTest, SameItemLinkTextAndTitleCopies)
{
    CReference disc, online;
    disc.SetNumber(1012345);
    online.SetNumber(11012345);
    EXPECT_FALSE(disc.IsSameItem(&online)) << "an online item is another item";
    CReference again;
    again.SetNumber(1012345);
    again.SetKind(REFKIND_MAP);
    EXPECT_TRUE(disc.IsSameItem(&again)) << "numbers only are compared";

    disc.SetNumber(12345);
    disc.MakeLinkText();
    EXPECT_EQ("vl:12345", Str(disc.GetLinkText()));

    disc.SetTitle("Aardvark");  // eight characters
    char buffer[12];
    std::memset(buffer, 'x', sizeof buffer);
    disc.CopyTitle(buffer, 8);
    EXPECT_EQ(std::string(8, '\0'), std::string(buffer, 8)) << "no room for the terminator: nothing copied";
    EXPECT_EQ('x', buffer[8]);
    disc.CopyTitle(buffer, 9);
    EXPECT_STREQ("Aardvark", buffer);

    disc.SetPictureFlag(7);
    EXPECT_EQ(-1, disc.GetPictureFlag());
    disc.SetPictureFlag(0);
    EXPECT_EQ(0, disc.GetPictureFlag());
}

using ReferenceCopyTest = ReferenceTest;

TEST_F(ReferenceCopyTest, CopyTakesEveryMemberAndItsOwnCopyOfTheHits)
{
    CReference source;
    source.SetTitle("Volcano");
    source.SetEntryCode(REFENTRY_RESULT);
    source.SetCategory(0x8);
    source.SetKind(REFKIND_ARTICLE);
    source.SetLocation(12345, 77, 4);
    source.SetDisc(2);
    source.SetPictureFlag(1);
    source.SetLinkText("vl://012345");
    CHitList* hits = new CHitList;
    hits->AddHit(CHitPosition(3, 10, 5));
    hits->AddHit(CHitPosition(4, 20, 6));
    source.SetData(hits);

    CReference copy;
    copy.SetData(new CHitList);  // released by the copy
    copy.Copy(source);
    EXPECT_EQ("Volcano", Str(copy.GetTitle()));
    EXPECT_EQ(REFENTRY_RESULT, copy.GetEntryCode());
    EXPECT_EQ(0x8, copy.GetCategory());
    EXPECT_EQ(REFKIND_ARTICLE, copy.GetKind());
    EXPECT_EQ(12345, copy.GetNumber());
    EXPECT_EQ(77, copy.GetBlock());
    EXPECT_EQ(4, copy.GetBlockCount());
    EXPECT_EQ(2, copy.GetDisc());
    EXPECT_EQ(-1, copy.GetPictureFlag());
    EXPECT_EQ("vl://012345", Str(copy.GetLinkText()));
    CHitList* copied = DYNAMIC_DOWNCAST(CHitList, copy.GetData());
    ASSERT_NE(nullptr, copied);
    EXPECT_NE(hits, copied);
    hits->RemoveAll();
    ASSERT_EQ(2, copied->GetCount());
    EXPECT_EQ(CHitPosition(4, 20, 6).GetValue(), copied->GetAt(1)->GetValue());

    copy.Copy(copy);  // nothing happens
    EXPECT_EQ(copied, copy.GetData());

    CReference withoutHits;
    copy.Copy(withoutHits);
    EXPECT_EQ(nullptr, copy.GetData());

    // SetData with the object held keeps it; another one replaces (and deletes) it.
    source.SetData(hits);
    EXPECT_EQ(hits, source.GetData());
    source.SetData(nullptr);
    EXPECT_EQ(nullptr, source.GetData());

    CReference constructed(source);
    EXPECT_EQ(12345, constructed.GetNumber());
    EXPECT_EQ("Volcano", Str(constructed.GetTitle()));
}

TEST_F(ReferenceCopyTest, CloneOfASubclassIsAPlainReferenceWithTheBaseMembers)
{
    CTPReference topic;
    topic.SetNumber(12345);
    topic.SetTitle("Volcanoes");
    topic.SetText("Volcanoes, with map");
    topic.AddHit(CHitPosition(1, 2, 3));
    topic.SetSubList(new CReferenceList);
    topic.GetSubList()->Append(new CReference);

    std::unique_ptr<CReference> clone(topic.Clone());
    ASSERT_NE(nullptr, clone);
    EXPECT_STREQ("CReference", clone->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(12345, clone->GetNumber());
    EXPECT_EQ("Volcanoes", Str(clone->GetTitle()));
    EXPECT_EQ(REFTYPE_TOPIC, clone->GetRefType()) << "the reference type is a base member";
    EXPECT_EQ(nullptr, clone->GetSubList()) << "the sub-list is dropped";
    CHitList* hits = DYNAMIC_DOWNCAST(CHitList, clone->GetData());
    ASSERT_NE(nullptr, hits);
    EXPECT_EQ(1, hits->GetCount());

    CKWReference keyword;
    keyword.SetNumber(777);
    keyword.m_nTotalHits = 9;
    std::unique_ptr<CReference> plain(keyword.Clone());
    EXPECT_STREQ("CReference", plain->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(REFTYPE_KEYWORD, plain->GetRefType());
    std::unique_ptr<CKWReference> same(keyword.CloneKeyword());
    EXPECT_STREQ("CKWReference", same->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ(777, same->GetNumber());
    EXPECT_EQ(9, same->m_nTotalHits);
}

TEST_F(ReferenceCopyTest, TopicEntriesCloneWithTheirSubListAndText)
{
    CTPReference topic;
    EXPECT_EQ(REFTYPE_TOPIC, topic.GetRefType());
    topic.SetNumber(12345);
    topic.SetEntryCount(500);
    EXPECT_EQ(180, topic.GetEntryCount());
    topic.SetEntryCount(3);
    topic.SetMediaNoteIndex(17);
    topic.SetText(std::string(300, 'a').c_str());
    EXPECT_EQ(255u, std::strlen(topic.GetText()));
    static const BYTE entry[] = {1, 2, 3};
    topic.SetEntry(entry, 2);
    CReferenceList* sub = new CReferenceList;
    for (LONG number : {1, 2, 3}) {
        CReference* r = new CReference;
        r->SetNumber(number);
        sub->Append(r);
    }
    topic.SetSubList(sub);
    topic.SetSubList(sub);  // the same list: kept
    EXPECT_EQ(sub, topic.GetSubList());

    std::unique_ptr<CTPReference> clone(topic.CloneTopic());
    ASSERT_NE(nullptr, clone);
    EXPECT_EQ(12345, clone->GetNumber());
    EXPECT_EQ(3, clone->GetEntryCount());
    EXPECT_EQ(17, clone->GetMediaNoteIndex());
    EXPECT_STREQ(topic.GetText(), clone->GetText());
    EXPECT_EQ(entry, clone->GetEntry());
    EXPECT_EQ(2, clone->GetTextOffset());
    ASSERT_NE(nullptr, clone->GetSubList());
    EXPECT_NE(sub, clone->GetSubList());
    ASSERT_EQ(3, clone->GetSubList()->GetCount());
    EXPECT_EQ(3, clone->GetSubList()->GetAtIndex(2)->GetNumber());

    // Copying again empties the sub-list it has before the clones go in.
    clone->CopyTopic(topic);
    EXPECT_EQ(3, clone->GetSubList()->GetCount());

    // Another list replaces (and deletes) the one held.
    topic.SetSubList(new CReferenceList);
    EXPECT_EQ(0, topic.GetSubList()->GetCount());
}

TEST_F(ReferenceCopyTest, MediaNotesOfTopicEntries)
{
    const char* notes[] = {"",
                           ", with portrait",
                           ", with pictures and maps",
                           ", with picture and map",
                           ", with pictures and map",
                           "", "", "", "", "", "", "", "",
                           ", with picture",
                           ", with pictures",
                           ", with multimedia",
                           ", with sound",
                           ", with map",
                           ", with maps",
                           ""};
    CTPReference topic;
    for (int index = 0; index <= 19; ++index) {
        topic.SetMediaNoteIndex(index);
        CString note = "stale";
        EXPECT_EQ(notes[index], Str(topic.GetMediaNote(note))) << index;
        EXPECT_EQ(index >= 1 && index <= 18, topic.HasMediaNote() != FALSE) << index;
    }
    CReference plain;
    CString note = "stale";
    EXPECT_EQ("", Str(plain.GetMediaNote(note)));
    EXPECT_FALSE(plain.HasMediaNote());
    EXPECT_EQ(nullptr, plain.GetSubList());
    plain.SetSubList(nullptr);  // does nothing
}

using OnlineReferenceTest = ReferenceTest;

TEST_F(OnlineReferenceTest, FilesLiveInTheDownloadFolder)
{
    std::filesystem::create_directories(dir.path() / "t" / "dl");
    SetProfile("Online", "Download", "T:\\dl\\");
    COnlineReference reference(CRin(11012345), "pc012345.grf");
    EXPECT_EQ(11012345, reference.GetNumber());
    EXPECT_EQ("T:\\dl\\pc012345.grf", Str(reference.GetFilePath()));
    CString folder;
    EXPECT_TRUE(reference.GetDataFolder(folder, TRUE));
    EXPECT_EQ("T:\\dl\\", Str(folder));
    EXPECT_FALSE(reference.IsFileAvailable());
    dir.Write("t/dl/pc012345.grf", "GRF");
    EXPECT_TRUE(reference.IsFileAvailable());

    std::unique_ptr<CReference> clone(reference.Clone());
    EXPECT_STREQ("COnlineReference", clone->GetRuntimeClass()->m_lpszClassName);
    EXPECT_EQ("T:\\dl\\pc012345.grf", Str(clone->GetFilePath()));

    COnlineReference unnamed(CRin(11012345), "");
    EXPECT_EQ("", Str(unnamed.GetFilePath()));
    EXPECT_FALSE(unnamed.IsFileAvailable());
    EXPECT_TRUE(host::MessageBoxLog().empty());
}

TEST_F(OnlineReferenceTest, AMissingDownloadFolderIsReportedOncePerCall)
{
    SetProfile("Online", "Download", "T:\\nowhere\\");
    COnlineReference reference(CRin(10000042), "000042.rcv");
    for (int call = 1; call <= 2; ++call) {
        host::AnswerMessageBox("The download directory is not configured properly and could not be found.", IDOK);
        CString folder = "stale";
        EXPECT_FALSE(reference.GetDataFolder(folder, FALSE));
        EXPECT_EQ("", Str(folder));
        ASSERT_EQ(static_cast<size_t>(call), host::MessageBoxLog().size());
        EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), host::MessageBoxLog().back().type & MB_ICONMASK);
    }
    // A file is a folder no more than a missing one is.
    dir.Write("t/file", "x");
    SetProfile("Online", "Download", "T:\\file\\");
    host::AnswerMessageBox("download directory", IDOK);
    CString folder;
    EXPECT_FALSE(reference.GetDataFolder(folder, FALSE));
}

TEST_F(OnlineReferenceTest, MiniArticles)
{
    CMiniArticleReference mini(CRin(12345), "Did you know?", "vl://012345");
    EXPECT_EQ(12345, mini.GetNumber());
    EXPECT_EQ(REFKIND_MINIARTICLE, mini.GetKind());
    EXPECT_EQ("Did you know?", Str(mini.GetTitle()));
    EXPECT_EQ("vl://012345", Str(mini.GetLinkText()));
    EXPECT_EQ(DDT_NO_FOLDER, mini.GetDataDirType());
    EXPECT_EQ(REFTYPE_PLAIN, mini.GetRefType());
}

}  // namespace
