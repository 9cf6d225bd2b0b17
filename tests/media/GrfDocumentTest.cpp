// Picture records: written by the disc builder, read through CGrfDocument from the archive, from
// "%08ld.grf" files and from online files; damaged and cut copies refused with the message.
#include "MediaTestSupport.h"

#include "base/OnlineReference.h"
#include "base/ReferenceList.h"
#include "base/Rin.h"
#include "widgets/Dib.h"

#include <TestAppHost.h>

#include <functional>
#include <memory>

namespace media_test {
namespace {

using discbuilder::GrfGet32;
using discbuilder::GrfPut16;
using discbuilder::GrfPut32;
namespace grf = discbuilder::grf;

const char kNotPicture[] = "Error: Article CReference passed to CGrfDocument::Create()";

class GrfDocumentTest : public MediaTest {
protected:
    // Loads the record of a reference; the document keeps a clone.
    std::unique_ptr<CGrfDocument> Load(CReference* pRef, BOOL bPreview)
    {
        std::unique_ptr<CReference> ref(pRef);
        auto doc = std::make_unique<CGrfDocument>();
        m_bLoaded = doc->Load(ref.get(), bPreview);
        return doc;
    }
    BOOL m_bLoaded = FALSE;
};

TEST_F(GrfDocumentTest, RichRecordReadsBackThroughEveryAccessor)
{
    const std::string record = discbuilder::WriteGrfRecord(RichPicture());
    const LONG block = WriteArchive({record})[0];
    ASSERT_GT(block, 0);
    auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, block), TRUE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_TRUE(NewBoxes().empty());
    EXPECT_EQ(GrfGet32(record, grf::kFullPicture), doc->GetLoadedSize());

    EXPECT_STREQ("Mount Veltra erupting", doc->GetTitle());
    EXPECT_EQ(123456u, doc->GetMediaNumber());
    EXPECT_TRUE(doc->CanCopy());
    EXPECT_STREQ("Lava \x81" "flows\x80 at \x82" "night\x80.\r\rSecond paragraph.", doc->GetCaptionText());
    EXPECT_EQ(static_cast<LONG>(RichPicture().caption.size()), doc->GetCaptionLength());
    EXPECT_STREQ("Note text.", doc->GetNoteText());
    EXPECT_STREQ("Credit: sample art", doc->GetCreditText());
    ASSERT_EQ(3, doc->GetSectionCount());
    EXPECT_STREQ("Section one", doc->GetSectionData(1));
    EXPECT_EQ(nullptr, doc->GetSectionData(3));
    EXPECT_EQ(nullptr, doc->GetSectionData(-1));

    std::unique_ptr<CReference> self(doc->CreateReference());
    ASSERT_NE(nullptr, self);
    EXPECT_EQ(1001002, self->GetNumber());
    EXPECT_STREQ("Mount Veltra erupting", self->GetTitle());

    ASSERT_EQ(5, doc->GetHotSpotCount());
    const GRF_HOTSPOT* p = doc->GetHotSpot(2);
    ASSERT_NE(nullptr, p);
    EXPECT_EQ(100, static_cast<int>(p->left));
    EXPECT_EQ(40, static_cast<int>(p->bottom));
    EXPECT_EQ(GRF_HOTSPOT_SOUND, static_cast<int>(p->kind));
    EXPECT_EQ(nullptr, doc->GetHotSpot(5));
    std::unique_ptr<CReference> link(doc->GetHotSpotReference(1));
    ASSERT_NE(nullptr, link);
    EXPECT_EQ(1002, link->GetNumber());
    EXPECT_EQ(nullptr, doc->GetHotSpotReference(2));
    EXPECT_EQ(77u, doc->GetHotSpotSound(3));
    EXPECT_EQ(0u, doc->GetHotSpotSound(1));
    // Two sections of the picture come first, so the labels are numbered 2 and 3.
    EXPECT_EQ(225, doc->GetHotSpotLabelCode(2));
    EXPECT_EQ(226, doc->GetHotSpotLabelCode(5));
    EXPECT_EQ(0, doc->GetHotSpotLabelCode(1));
    EXPECT_EQ(doc->GetHotSpot(1), doc->FindLabelHotSpot(2));
    EXPECT_EQ(doc->GetHotSpot(4), doc->FindLabelHotSpot(3));
    EXPECT_EQ(nullptr, doc->FindLabelHotSpot(1));
    EXPECT_STREQ("Label of the crater", doc->GetSectionData(2));

    std::unique_ptr<CReference> zoom(doc->GetZoomOutReference());
    ASSERT_NE(nullptr, zoom);
    EXPECT_EQ(3000002, zoom->GetNumber()) << "the first ZOOM_OUT record counts";
    std::unique_ptr<CReferenceList> group(doc->GetGroupReferences());
    ASSERT_NE(nullptr, group);
    ASSERT_EQ(1, group->GetCount());
    EXPECT_EQ(1001003, group->GetAtIndex(0)->GetNumber());

    // The images: both small ones from memory, the full picture and the legend from the archive.
    std::unique_ptr<CDib> main(doc->CreateMainDib());
    std::unique_ptr<CDib> second(doc->CreateSecondDib());
    ASSERT_NE(nullptr, main);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(32, main->GetWidth());
    EXPECT_EQ(6, second->GetHeight());
    EXPECT_EQ(block * 512 + static_cast<LONG>(GrfGet32(record, grf::kFullPicture)), doc->GetFullImagePosition());
    const CString archive = "T:\\disc\\info_dat\\vl.dat";
    CDib full(archive, doc->GetFullImagePosition());
    EXPECT_EQ(160, full.GetWidth());
    EXPECT_EQ(120, full.GetHeight());
    ASSERT_NE(0, doc->GetLegendPosition());
    CDib legend(archive, doc->GetLegendPosition());
    EXPECT_EQ(40, legend.GetWidth());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(GrfDocumentTest, HeaderOnlyLoadStopsThreeBytesPastThePreview)
{
    const std::string record = discbuilder::WriteGrfRecord(RichPicture());
    const LONG block = WriteArchive({record})[0];
    auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, block), FALSE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_EQ(GrfGet32(record, grf::kPreview) + 3, doc->GetLoadedSize());
    EXPECT_EQ(nullptr, doc->CreateMainDib());
    EXPECT_EQ(nullptr, doc->CreateSecondDib());
    EXPECT_STREQ("Mount Veltra erupting", doc->GetTitle());
    EXPECT_EQ(5, doc->GetHotSpotCount());
}

TEST_F(GrfDocumentTest, HitTestIsStrictSkipsInactiveSpotsAndTakesTheFirst)
{
    const LONG block = WriteArchive({discbuilder::WriteGrfRecord(RichPicture())})[0];
    auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, block), FALSE);
    ASSERT_TRUE(m_bLoaded);
    const struct {
        int x, y, hit;
    } cases[] = {
        {11, 11, 1},    // just inside the link
        {10, 20, 0},    // its left border
        {50, 20, 0},    // its right border
        {30, 10, 0},    // its top border
        {30, 40, 0},    // its bottom border
        {25, 25, 1},    // inside the label with target 0 too: the first in table order wins
        {75, 25, 2},    // the label
        {110, 39, 3},   // the sound
        {30, 60, 0},    // the link with target 0 is inactive
        {500, 500, 0},  // nowhere
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.hit, doc->HitTest(c.x, c.y)) << c.x << "," << c.y;

    // A label with target 0 does hit when nothing is above it.
    GrfRecordSource s;
    s.title = "labels";
    s.hotSpots = {{0, 0, 10, 10, GrfHotSpotKind::Label, 0}};
    s.previewGif = TestGif(4, 4);
    CGrfDocument::CloseArchive();
    const LONG block2 = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
    auto doc2 = Load(PlacedReference(1001001, REFKIND_PICTURE, 1, block2), FALSE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_EQ(1, doc2->HitTest(5, 5));
}

TEST_F(GrfDocumentTest, OverlayListsMergeInTableOrder)
{
    const LONG block = WriteArchive({discbuilder::WriteGrfRecord(RichPicture())})[0];
    auto doc = Load(PlacedReference(3000001, REFKIND_MAP, 1, block), FALSE);
    ASSERT_TRUE(m_bLoaded);
    std::unique_ptr<CReferenceList> overlays(doc->GetOverlayReferences());
    ASSERT_NE(nullptr, overlays);
    // MAP_OLAY names list 1 (two items), then TRA_OLAY list 0 (one item).
    ASSERT_EQ(3, overlays->GetCount());
    EXPECT_EQ(3100002, overlays->GetAtIndex(0)->GetNumber());
    EXPECT_STREQ("Cities", overlays->GetAtIndex(0)->GetTitle());
    EXPECT_STREQ("Roads", overlays->GetAtIndex(1)->GetTitle());
    EXPECT_EQ(3100001, overlays->GetAtIndex(2)->GetNumber());

    // A record without such lists answers NULL for both, and no legend, no zoom-out.
    GrfRecordSource plain;
    plain.title = "plain";
    plain.canCopy = false;
    plain.previewGif = TestGif(4, 4);
    CGrfDocument::CloseArchive();
    const LONG block2 = WriteArchive({discbuilder::WriteGrfRecord(plain)})[0];
    auto doc2 = Load(PlacedReference(1001001, REFKIND_PICTURE, 1, block2), TRUE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_EQ(nullptr, doc2->GetOverlayReferences());
    EXPECT_EQ(nullptr, doc2->GetGroupReferences());
    EXPECT_EQ(nullptr, doc2->GetZoomOutReference());
    EXPECT_EQ(0, doc2->GetLegendPosition());
    EXPECT_STREQ("", doc2->GetCaptionText()) << "no caption: an empty text, never NULL";
    EXPECT_EQ(0, doc2->GetCaptionLength());
    EXPECT_EQ(nullptr, doc2->CreateSecondDib());
    EXPECT_FALSE(doc2->CanCopy()) << "only 'Y' allows copying";
}

TEST_F(GrfDocumentTest, MediaFileNamesByKind)
{
    GrfRecordSource s = RichPicture();
    const LONG block = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
    const struct {
        LONG kind;
        const char* name;
    } cases[] = {
        {REFKIND_ANIMATION, "AM003456.mov"}, {REFKIND_VIDEO, "VD003456.mov"},
        {REFKIND_SIMULATION, "si003456.dll"}, {REFKIND_VIRTUALREALITY, "QR003456.mov"},
        {REFKIND_ONLINESOUND, "AU003456.mov"}, {REFKIND_BUBBLE, "Bu003456.bub"},
    };
    for (const auto& c : cases) {
        auto doc = Load(PlacedReference(4010001, c.kind, 1, block), FALSE);
        ASSERT_TRUE(m_bLoaded);
        EXPECT_STREQ(c.name, doc->GetMediaFileName());
        EXPECT_EQ(c.kind, doc->GetKind());
    }
    auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, block), FALSE);
    ASSERT_TRUE(m_bLoaded);
    bool thrown = false;
    try {
        doc->GetMediaFileName();
    } catch (CNotSupportedException* e) {
        e->Delete();
        thrown = true;
    }
    EXPECT_TRUE(thrown) << "a picture has no media file";
}

// Each damage makes a record that the reader refuses with the message, without reading outside it.
TEST_F(GrfDocumentTest, DamagedRecordsAreRefusedWithTheMessage)
{
    const std::string good = discbuilder::WriteGrfRecord(RichPicture());
    const std::size_t named = GrfGet32(good, grf::kNamed);
    const struct {
        const char* what;
        std::function<void(std::string&)> damage;
        BOOL bothModes;  // refused by the header-only load too
    } cases[] = {
        {"an article record", [](std::string& r) { r[0] = 'x'; }, TRUE},
        {"cut inside the header", [](std::string& r) { r.resize(300); }, TRUE},
        {"cut inside the preview", [](std::string& r) { r.resize(GrfGet32(r, grf::kFullPicture) - 5); }, FALSE},
        {"preview offset past the end", [](std::string& r) { GrfPut32(r, grf::kPreview, 0x7FFFFFF0u); }, TRUE},
        {"preview offset at the top of the range", [](std::string& r) { GrfPut32(r, grf::kPreview, 0xFFFFFFFEu); }, TRUE},
        {"full picture before the preview", [](std::string& r) { GrfPut32(r, grf::kFullPicture, 500); }, FALSE},
        {"title offset past the end", [](std::string& r) { GrfPut32(r, grf::kTitle, 0x00100000u); }, TRUE},
        {"caption longer than the record", [](std::string& r) { GrfPut32(r, grf::kCaptionLength, 0x00100000u); }, TRUE},
        {"credit offset past the end", [](std::string& r) { GrfPut32(r, grf::kCredit, 0xFFFFFFFFu); }, TRUE},
        {"21 sections", [](std::string& r) { GrfPut16(r, grf::kSectionCount, 21); }, TRUE},
        {"negative section count", [](std::string& r) { GrfPut16(r, grf::kSectionCount, -1); }, TRUE},
        {"section text past the end", [](std::string& r) { GrfPut32(r, grf::kSections + 4, 0x00FFFFFFu); }, TRUE},
        {"hot spots past the end", [](std::string& r) { GrfPut16(r, grf::kHotSpotCount, 30000); }, TRUE},
        {"negative hot-spot count", [](std::string& r) { GrfPut16(r, grf::kHotSpotCount, -3); }, TRUE},
        {"hot-spot table offset past the end", [](std::string& r) { GrfPut32(r, grf::kHotSpots, 0xFFFFFFF0u); }, TRUE},
        {"named records past the end", [](std::string& r) { GrfPut16(r, grf::kNamedCount, 3000); }, TRUE},
        {"overlay list index 12", [named](std::string& r) { GrfPut32(r, named + 72 + 2, 12); }, TRUE},
        {"list longer than its data", [](std::string& r) { GrfPut16(r, grf::kLists + 10 + 8, 9000); }, TRUE},
        {"name without its end", [named](std::string& r) { r.replace(named + 48, 16, "ABCDEFGHIJKLMNOP"); }, TRUE},
        {"second image past the end", [](std::string& r) { GrfPut32(r, grf::kSecondImageLength, 0x00FFFFFFu); }, FALSE},
        {"hot spots overlapping the end",
         [](std::string& r) { GrfPut32(r, grf::kHotSpots, GrfGet32(r, grf::kFullPicture) - 8); }, TRUE},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::string damaged = good;
        c.damage(damaged);
        // Alone in its own file, so that "past the end" is past the end of the file as well.
        CGrfDocument::CloseArchive();
        discbuilder::ContentArchiveWriter archive;
        archive.AddStored(1001002, damaged, 3);
        archive.Write(DataFolder());
        std::filesystem::resize_file(DataFolder() / "vl.dat", damaged.size());
        for (BOOL bPreview : {TRUE, FALSE}) {
            if (!bPreview && !c.bothModes)
                continue;
            host::AnswerNextMessageBox(IDOK);
            auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, 0), bPreview);
            EXPECT_FALSE(m_bLoaded) << "preview " << bPreview;
            EXPECT_EQ(std::vector<std::string>{kNotPicture}, NewBoxes()) << "preview " << bPreview;
            EXPECT_FALSE(doc->IsLoaded());
            EXPECT_EQ(0, doc->GetHotSpotCount());
            EXPECT_STREQ("", doc->GetCaptionText());
        }
    }
}

TEST_F(GrfDocumentTest, EveryCutOfARecordIsRefusedOrReadInside)
{
    const std::string good = discbuilder::WriteGrfRecord(RichPicture());
    WriteArchive({});
    for (std::size_t size = 0; size < good.size(); size += 37) {
        SCOPED_TRACE(size);
        dir.Write("t/disc/info_dat/01001002.grf", good.substr(0, size));
        auto* pRef = new CDisc2Reference(1001002, REFKIND_PICTURE);
        const BOOL bNeedsMore = size < GrfGet32(good, grf::kPreview) + 3;
        if (bNeedsMore)
            host::AnswerNextMessageBox(IDOK);
        auto doc = Load(pRef, FALSE);
        EXPECT_EQ(!bNeedsMore, m_bLoaded);
        if (m_bLoaded) {
            EXPECT_EQ(5, doc->GetHotSpotCount());
        }
        NewBoxes();
    }
}

TEST_F(GrfDocumentTest, RecordsFromGrfFilesAndOnlineFiles)
{
    const std::string record = discbuilder::WriteGrfRecord(RichPicture());
    WriteArchive({});

    // Disc 2 without the preview: "%08ld.grf" in the reference's data folder.
    dir.Write("t/disc/info_dat/01001002.GRF", record);
    auto doc = Load(new CDisc2Reference(1001002, REFKIND_PICTURE), FALSE);
    ASSERT_TRUE(m_bLoaded) << "file names ignore case";
    EXPECT_STREQ("Mount Veltra erupting", doc->GetTitle());
    EXPECT_EQ(1u, doc->GetLinkValue()) << "a disc-2 item's link value becomes 1";

    host::AnswerNextMessageBox(IDOK);
    doc = Load(new CDisc2Reference(1001003, REFKIND_PICTURE), FALSE);
    EXPECT_FALSE(m_bLoaded);
    EXPECT_EQ(std::vector<std::string>{"Can't open GRF file, T:\\disc\\info_dat\\01001003.grf"}, NewBoxes());

    // An online item: its file in the download folder, fetched through the online manager when
    // missing.
    ASSERT_TRUE(WritePrivateProfileString("Online", "Download", "T:\\download\\", "T:\\vl00i1se.ini"));
    std::filesystem::create_directories(dir.path() / "t" / "download");
    CTestAppHost host;
    int asked = 0;
    host.openOnline = [&](CReference*, int nFlags) {
        ++asked;
        EXPECT_EQ(1, nFlags);
        return FALSE;
    };
    auto online = [] {
        auto* pRef = new COnlineReference(CRin(11001002), "pc001002.grf");
        pRef->SetKind(REFKIND_PICTURE);
        pRef->SetDisc(0);
        return pRef;
    };
    doc = Load(online(), TRUE);
    EXPECT_FALSE(m_bLoaded);
    EXPECT_EQ(1, asked);
    EXPECT_TRUE(NewBoxes().empty()) << "Load reports nothing of its own";

    dir.Write("t/download/pc001002.grf", record);
    doc = Load(online(), TRUE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_EQ(1, asked) << "a file on hand is not fetched";
    std::unique_ptr<CDib> main(doc->CreateMainDib());
    ASSERT_NE(nullptr, main);
    EXPECT_EQ(24, main->GetHeight());
}

TEST_F(GrfDocumentTest, LinkValueOfTheHeaderReachesAFlaggedReference)
{
    GrfRecordSource s = RichPicture();
    s.linkValue = 1001004;
    const LONG block = WriteArchive({discbuilder::WriteGrfRecord(s)})[0];
    for (LONG flag : {0L, -1L}) {
        std::unique_ptr<CReference> ref(PlacedReference(1001002, REFKIND_PICTURE, 1, block));
        ref->SetPictureFlag(flag);
        CGrfDocument doc;
        ASSERT_TRUE(doc.Load(ref.get(), FALSE));
        EXPECT_EQ(flag == 0 ? 0 : 1001004, ref->GetPictureFlag());
    }
}

TEST_F(GrfDocumentTest, LegendStandingInPlaceOfThePreviewMovesTheOffsetsBack)
{
    // A record without a preview whose legend lies 100 bytes before the recorded preview start.
    GrfRecordSource s = RichPicture();
    s.previewGif.clear();
    std::string record = discbuilder::WriteGrfRecord(s);
    const std::uint32_t preview = GrfGet32(record, grf::kPreview);
    const std::size_t legendField = GrfGet32(record, grf::kNamed) + 5 * 72 + 64;
    const std::uint32_t legend = preview - 100;
    GrfPut32(record, legendField, legend);
    record.replace(preview, 3, "xyz");
    const LONG block = WriteArchive({record})[0];
    auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, block), FALSE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_EQ(static_cast<LONG>(legend - 100), doc->GetLegendPosition() - block * 512);
    EXPECT_EQ(block * 512 + static_cast<LONG>(GrfGet32(record, grf::kFullPicture)) - 100, doc->GetFullImagePosition());
}

// A ROM_LINK block or a picture offset that points outside the archive is damage: the record is
// refused before anything is read there, and no position is computed in 32 bits.
TEST_F(GrfDocumentTest, PositionsOutsideTheArchiveAreRefusedAsDamage)
{
    const std::string good = discbuilder::WriteGrfRecord(RichPicture());
    WriteArchive({good});
    const LONG past = static_cast<LONG>(std::filesystem::file_size(DataFolder() / "vl.dat") / 512) + 1;
    for (LONG bad : {past, LONG{1} << 22, (LONG{1} << 22) + 7, LONG{0x7FFFFFFF}, -(LONG{1} << 22), LONG{-1}}) {
        for (BOOL bPreview : {TRUE, FALSE}) {
            SCOPED_TRACE(::testing::Message() << "block " << bad << " preview " << bPreview);
            host::AnswerNextMessageBox(IDOK);
            auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, bad), bPreview);
            EXPECT_FALSE(m_bLoaded);
            EXPECT_EQ(std::vector<std::string>{kNotPicture}, NewBoxes());
        }
    }
    // Offsets inside the record's header that reach past the archive's end.
    const std::size_t legendField = GrfGet32(good, grf::kNamed) + 5 * 72 + 64;
    const struct {
        const char* what;
        std::size_t field;
        std::uint32_t value;
    } offsets[] = {
        {"full picture past the end", grf::kFullPicture, 0x7FFFFF00u},
        {"full picture at the top of the range", grf::kFullPicture, 0xFFFFFFF0u},
        {"legend past the end", legendField, 0x7FFFFF00u},
        {"legend at the top of the range", legendField, 0xFFFFFFF0u},
    };
    for (const auto& c : offsets) {
        SCOPED_TRACE(c.what);
        std::string damaged = good;
        GrfPut32(damaged, c.field, c.value);
        CGrfDocument::CloseArchive();
        const LONG at = WriteArchive({damaged})[0];
        host::AnswerNextMessageBox(IDOK);
        auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, at), FALSE);
        EXPECT_FALSE(m_bLoaded);
        EXPECT_EQ(std::vector<std::string>{kNotPicture}, NewBoxes());
    }
    // The good record still loads, its positions inside the archive.
    CGrfDocument::CloseArchive();
    const LONG at = WriteArchive({good})[0];
    auto doc = Load(PlacedReference(1001002, REFKIND_PICTURE, 1, at), FALSE);
    ASSERT_TRUE(m_bLoaded);
    EXPECT_EQ(at * 512 + static_cast<LONG>(GrfGet32(good, grf::kFullPicture)), doc->GetFullImagePosition());
    EXPECT_LT(static_cast<std::uintmax_t>(doc->GetFullImagePosition()), std::filesystem::file_size(DataFolder() / "vl.dat"));
}

TEST_F(GrfDocumentTest, ArchiveThatCannotBeOpenedIsReportedOnce)
{
    // No vl.dat at all.
    host::AnswerNextMessageBox(IDOK);
    {
        CGrfDocument first;
    }
    const auto boxes = NewBoxes();
    ASSERT_EQ(1u, boxes.size());
    EXPECT_EQ(0u, boxes[0].find("CGrfDocument::CGrfDocument() Can't open T:\\disc\\info_dat\\VL.DAT\nError: "));
    CGrfDocument second;
    EXPECT_TRUE(NewBoxes().empty()) << "not tried again";
    host::AnswerNextMessageBox(IDOK);
    std::unique_ptr<CReference> ref(PlacedReference(1001002, REFKIND_PICTURE, 1, 0));
    EXPECT_FALSE(second.Create(ref.get(), TRUE));
    EXPECT_EQ(1u, NewBoxes().size());
}

}  // namespace
}  // namespace media_test
