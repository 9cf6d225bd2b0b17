// The thumbnail factory against a small content database ([First Line], [Timelines], [Flag
// File]) and a disc with picture records and a sound folder: which thumbnail each kind gets,
// with which text, and what fails how. A screenshot of every kind the factory makes.
#include "media/AudioTextThumb.h"
#include "media/BitmapThumb.h"
#include "media/ThumbnailFactory.h"
#include "widgets/MiniArtThumb.h"
#include "widgets/TextThumb.h"
#include "widgets/TimelineThumb.h"

#include "base/AppDatabase.h"
#include "base/ResourceLibrary.h"
#include "base/Rin.h"
#include "base/VLDatabase.h"

#include "MediaTestSupport.h"

#include <ContentDatabaseWriter.h>
#include <DialogDriver.h>

#include <functional>
#include <memory>
#include <string>

namespace {

using namespace media_test;

const char kOnlineRit[] = "yb001927";

// A reference whose file is missing (an online item not yet fetched); its clones stay missing.
class CMissingReference : public CReference {
public:
    CMissingReference(LONG nNumber, LONG nKind, LPCSTR lpszTitle)
    {
        SetNumber(nNumber);
        SetKind(nKind);
        SetTitle(lpszTitle);
    }
    BOOL IsFileAvailable() override { return FALSE; }
    CReference* Clone() override { return new CMissingReference(GetNumber(), GetKind(), GetTitle()); }
};

// An item made by hand (no content index here to place it).
CReference* Item(LONG nNumber, LONG nKind, LPCSTR lpszTitle)
{
    auto* pRef = new CReference;
    pRef->SetNumber(nNumber);
    pRef->SetKind(nKind);
    pRef->SetTitle(lpszTitle);
    return pRef;
}

GrfRecordSource Picture(const char* title, const char* caption, int w, int h, std::uint32_t link = 0)
{
    GrfRecordSource s;
    s.title = title;
    s.caption = caption;
    s.linkValue = link;
    s.previewGif = TestGif(w, h);
    s.fullGif = TestGif(w * 2, h * 2);
    return s;
}

class ThumbnailFactoryTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        ASSERT_TRUE(LoadAppPalettes());
        {
            discbuilder::ContentDatabaseWriter writer((dir.path() / "t" / "vl00i1.mdb").string());
            writer.AddFirstLine("0001001", "Aviation is the design, building and flying of aircraft.");
            writer.AddFirstLine("0001002", "A volcano is an opening in the earth's crust.");
            writer.AddTimeline(4060001, "Milestones of Flight", 1001, "Aviation");
            discbuilder::FlagFileEntry online;
            online.rit = kOnlineRit;
            online.type = "OC";
            online.category = "HIS";
            online.year = 1927;
            online.title = "Lindbergh";
            online.description = "A lone pilot crosses the Atlantic.";
            writer.AddFlagFileEntry(online);
            discbuilder::FlagFileEntry missing;
            missing.rit = static_cast<LPCSTR>(CRin(1003).FormatRit());
            missing.type = "OL";
            missing.title = "Photosynthesis";
            missing.description = "How plants make food.";
            writer.AddFlagFileEntry(missing);
        }
        ASSERT_TRUE(db.OpenDatabase("T:\\"));
        SetAppDatabase(&db);
        std::filesystem::create_directories(DataFolder() / "Sound");
        blocks = WriteArchive({
            discbuilder::WriteGrfRecord(Picture("The Great Lakes", "Five lakes.", 48, 36)),
            discbuilder::WriteGrfRecord(Picture("A red monoplane", "A monoplane climbs.", 40, 30)),
            discbuilder::WriteGrfRecord(Picture("Linked picture", "Shown elsewhere.", 20, 20, 1001002)),
            discbuilder::WriteGrfRecord(Picture("Jazz band", "A \x82" "band\x80 plays.\rSecond line.", 16, 16)),
        });
        ASSERT_TRUE(main.CreateEx(0, AfxRegisterWndClass(0, ::LoadCursor(NULL, IDC_ARROW),
                                                          static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                  "Main", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &main;
        NewBoxes();
    }
    void TearDown() override
    {
        factory.reset();
        app.m_pMainWnd = nullptr;
        if (main.GetSafeHwnd() != nullptr)
            main.DestroyWindow();
        SetAppDatabase(NULL);
        db.Close();
        MediaTest::TearDown();
    }

    std::unique_ptr<CThumbnail> Make(CReference* pRef)
    {
        return std::unique_ptr<CThumbnail>(factory->CreateThumbnail(pRef));
    }

    CVLDatabase db;
    CWnd main;
    std::vector<LONG> blocks;
    std::unique_ptr<CThumbnailFactory> factory = std::make_unique<CThumbnailFactory>();
};

TEST_F(ThumbnailFactoryTest, EveryKindGetsItsThumbnailAndText)
{
    const LONG nOnline = static_cast<LONG>(CRin(kOnlineRit, TRUE).GetNumber());
    ASSERT_GE(nOnline, 10000000);
    struct Case {
        const char* name;
        std::function<CReference*()> make;
        CRuntimeClass* pClass;  // NULL: no thumbnail
        const char* description;
    } cases[] = {
        {"article: its first line", [] { return Item(1001, REFKIND_ARTICLE, "Aviation"); }, RUNTIME_CLASS(CTextThumb),
         "Aviation is the design, building and flying of aircraft."},
        {"second article kind", [] { return Item(1002, REFKIND_ARTICLE2, "Volcano"); },
         RUNTIME_CLASS(CTextThumb), "A volcano is an opening in the earth's crust."},
        {"article without a first line: empty text",
         [] { return Item(1009, REFKIND_ARTICLE, "Nothing"); },
         RUNTIME_CLASS(CTextThumb), ""},
        {"online article: title, blank, flag-file description",
         [&] { auto* p = new CReference; p->SetNumber(nOnline); p->SetKind(REFKIND_ARTICLE); p->SetTitle("Lindbergh"); return p; },
         RUNTIME_CLASS(CTextThumb), "Lindbergh A lone pilot crosses the Atlantic."},
        {"missing item: the flag-file path too",
         [] { return new CMissingReference(1003, REFKIND_ARTICLE, "Photosynthesis"); }, RUNTIME_CLASS(CTextThumb),
         "Photosynthesis How plants make food."},
        {"mini article: its link text, no reference",
         [] { auto* p = new CReference; p->SetNumber(5); p->SetKind(REFKIND_MINIARTICLE); p->SetLinkText("<B>Mini</B> text"); return p; },
         RUNTIME_CLASS(CMiniArtThumb), ""},
        {"timeline: its title in the status line",
         [] { auto* p = new CReference; p->SetNumber(4060001); p->SetKind(REFKIND_TIMELINE); p->SetTitle("Milestones of Flight"); return p; },
         RUNTIME_CLASS(CTimelineThumb), "Milestones of Flight"},
        {"map: the picture's own title", [&] { return PlacedReference(3000001, REFKIND_MAP, 1, blocks[0]); },
         RUNTIME_CLASS(CBitmapThumb), "The Great Lakes"},
        {"picture: the first line as caption", [&] { return PlacedReference(1001, REFKIND_PICTURE, 1, blocks[1]); },
         RUNTIME_CLASS(CBitmapThumb), "Aviation is the design, building and flying of aircraft."},
        {"sound: its caption", [&] { return PlacedReference(6012345, REFKIND_SOUND, 1, blocks[3]); },
         RUNTIME_CLASS(CAudioTextThumb), "A band plays. Second line."},
        {"sound outside its number range", [&] { return PlacedReference(7000000, REFKIND_SOUND, 1, blocks[3]); },
         nullptr, nullptr},
        {"unknown kind", [] { auto* p = new CReference; p->SetNumber(1); p->SetKind(0x400000); return p; }, nullptr,
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::unique_ptr<CReference> ref(c.make());
        auto thumb = Make(ref.get());
        if (c.pClass == nullptr) {
            EXPECT_EQ(nullptr, thumb);
            continue;
        }
        ASSERT_NE(nullptr, thumb);
        EXPECT_EQ(c.pClass, thumb->GetRuntimeClass());
        EXPECT_STREQ(c.description, thumb->GetDescription());
        if (c.pClass == RUNTIME_CLASS(CMiniArtThumb)) {
            EXPECT_EQ(nullptr, thumb->GetReference());
            EXPECT_STREQ("<B>Mini</B> text", static_cast<CMiniArtThumb*>(thumb.get())->GetText());
        } else {
            ASSERT_NE(nullptr, thumb->GetReference());
            EXPECT_NE(ref.get(), thumb->GetReference()) << "the thumbnail keeps a clone";
            EXPECT_EQ(ref->GetNumber(), thumb->GetReference()->GetNumber());
        }
    }
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ThumbnailFactoryTest, TextTimelineAndSoundDetails)
{
    // The text card's title and body.
    std::unique_ptr<CReference> article(Item(1001, REFKIND_ARTICLE, "Aviation"));
    auto text = Make(article.get());
    ASSERT_NE(nullptr, text);
    EXPECT_STREQ("Aviation </B> is the design, building and flying of aircraft.",
                 static_cast<CTextThumb*>(text.get())->GetComposedText());

    // The timeline card names its article.
    std::unique_ptr<CReference> timeline(new CReference);
    timeline->SetNumber(4060001);
    timeline->SetKind(REFKIND_TIMELINE);
    auto card = Make(timeline.get());
    ASSERT_NE(nullptr, card);
    EXPECT_STREQ("from the Aviation article.", static_cast<CTimelineThumb*>(card.get())->GetSourceLine());
    // A timeline without a row: an empty article title, still a card.
    timeline->SetNumber(4069999);
    auto bare = Make(timeline.get());
    ASSERT_NE(nullptr, bare);
    EXPECT_STREQ("from the  article.", static_cast<CTimelineThumb*>(bare.get())->GetSourceLine());

    // The sound's clip in the sound folder, six digits of the number.
    std::unique_ptr<CReference> sound(PlacedReference(6012345, REFKIND_SOUND, 1, blocks[3]));
    auto audio = Make(sound.get());
    ASSERT_NE(nullptr, audio);
    EXPECT_STREQ("T:\\disc\\info_dat\\Sound\\AU012345.mov", static_cast<CAudioTextThumb*>(audio.get())->GetAudioPath());
    sound->SetKind(REFKIND_ONLINESOUND);
    sound->SetNumber(6000007);
    auto online = Make(sound.get());
    ASSERT_NE(nullptr, online);
    EXPECT_STREQ("T:\\disc\\info_dat\\Sound\\AU000007.mov", static_cast<CAudioTextThumb*>(online.get())->GetAudioPath());
    EXPECT_TRUE(NewBoxes().empty());
}

TEST_F(ThumbnailFactoryTest, TheTitleIsNotInheritedAndSetsReopenAfterIdle)
{
    const LONG nOnline = static_cast<LONG>(CRin(kOnlineRit, TRUE).GetNumber());
    // An online item takes the title path; the next, missing, item whose own title is empty must
    // not show the first one's title.
    std::unique_ptr<CReference> online(new CReference);
    online->SetNumber(nOnline);
    online->SetKind(REFKIND_ARTICLE);
    online->SetTitle("Lindbergh");
    auto first = Make(online.get());
    ASSERT_NE(nullptr, first);
    CMissingReference untitled(1003, REFKIND_ARTICLE, "");
    auto second = Make(&untitled);
    ASSERT_NE(nullptr, second);
    EXPECT_EQ(-1, static_cast<CTextThumb*>(second.get())->GetComposedText().Find("Lindbergh"));
    EXPECT_STREQ(" How plants make food.", second->GetDescription());

    // The idle step closes the record sets; the next call opens them again, same answers.
    EXPECT_TRUE(factory->HasOpenRecordSets());
    EXPECT_FALSE(factory->ReleaseRecordSets());
    EXPECT_FALSE(factory->HasOpenRecordSets());
    auto again = Make(online.get());
    ASSERT_NE(nullptr, again);
    EXPECT_STREQ(first->GetDescription(), again->GetDescription());
    EXPECT_TRUE(factory->HasOpenRecordSets());
}

TEST_F(ThumbnailFactoryTest, FailuresAreReportedAndGiveNoThumbnail)
{
    // A media item whose picture is only a link to another item.
    std::unique_ptr<CReference> linked(PlacedReference(1001003, REFKIND_ANIMATION, 1, blocks[2]));
    linked->SetPictureFlag(1);
    host::AnswerNextMessageBox(IDOK);
    EXPECT_EQ(nullptr, Make(linked.get()));
    EXPECT_EQ(1u, NewBoxes().size()) << "the not-supported error is reported";

    // The kind without a file of its own.
    std::unique_ptr<CReference> nofile(new CReference);
    nofile->SetNumber(12);
    nofile->SetKind(REFKIND_NOFILE);
    host::AnswerNextMessageBox(IDOK);
    EXPECT_EQ(nullptr, Make(nofile.get()));
    EXPECT_EQ(1u, NewBoxes().size());

    // A picture whose record cannot be read: the GIF message, then a thumbnail without a picture.
    std::unique_ptr<CReference> broken(PlacedReference(1001001, REFKIND_PICTURE, 1, 900));
    host::AnswerNextMessageBox(IDOK);
    host::AnswerNextMessageBox(IDOK);
    auto thumb = Make(broken.get());
    ASSERT_NE(nullptr, thumb);
    std::vector<std::string> boxes = NewBoxes();
    ASSERT_FALSE(boxes.empty());
    EXPECT_EQ(THUMBFACTORY_NO_PICTURE, boxes.back());
    EXPECT_EQ(nullptr, static_cast<CBitmapThumb*>(thumb.get())->GetPicture());
    EXPECT_EQ(100, thumb->GetThumbWidth());

    // Without a database the look-up's error is reported and nothing is made.
    SetAppDatabase(NULL);
    factory->ReleaseRecordSets();
    std::unique_ptr<CReference> article(Item(1001, REFKIND_ARTICLE, "Aviation"));
    host::AnswerNextMessageBox(IDOK);
    EXPECT_EQ(nullptr, Make(article.get()));
    EXPECT_EQ(1u, NewBoxes().size());
}

TEST_F(ThumbnailFactoryTest, EveryKindOnScreen)
{
    const LONG nOnline = static_cast<LONG>(CRin(kOnlineRit, TRUE).GetNumber());
    std::vector<std::unique_ptr<CReference>> refs;
    refs.emplace_back(Item(1001, REFKIND_ARTICLE, "Aviation"));
    refs.emplace_back(new CReference);
    refs.back()->SetNumber(nOnline);
    refs.back()->SetKind(REFKIND_ARTICLE);
    refs.back()->SetTitle("Lindbergh");
    refs.emplace_back(new CReference);
    refs.back()->SetNumber(4060001);
    refs.back()->SetKind(REFKIND_TIMELINE);
    refs.back()->SetTitle("Milestones of Flight");
    refs.emplace_back(PlacedReference(3000001, REFKIND_MAP, 1, blocks[0]));
    refs.emplace_back(PlacedReference(1001, REFKIND_PICTURE, 1, blocks[1]));
    refs.emplace_back(new CDisc2Reference(1002, REFKIND_PICTURE));
    refs.back()->SetLocation(1002, blocks[1], 1);
    refs.emplace_back(PlacedReference(6012345, REFKIND_SOUND, 1, blocks[3]));
    refs.emplace_back(new CReference);
    refs.back()->SetNumber(5);
    refs.back()->SetKind(REFKIND_MINIARTICLE);
    refs.back()->SetLinkText("<B>Mini article.</B> A short text with <I>italic</I> words.");

    std::vector<std::unique_ptr<CThumbnail>> thumbs;
    int x = 10, y = 10;
    for (auto& ref : refs) {
        thumbs.emplace_back(factory->CreateThumbnail(ref.get()));
        ASSERT_NE(nullptr, thumbs.back());
        if (auto* pMini = dynamic_cast<CMiniArtThumb*>(thumbs.back().get()))
            ASSERT_TRUE(pMini->Create(0, CRect(x, y, x + 140, y + 105), &main));
        else
            ASSERT_TRUE(thumbs.back()->CreateAt(&main, x, y));
        x += 160;
        if (x > 700) {
            x = 10;
            y += 130;
        }
    }
    EXPECT_TRUE(NewBoxes().empty());
    main.RedrawWindow(nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    ui::PumpUntilIdle();
    ui::dialog::Screenshot(main.GetSafeHwnd(), "thumbnails-every-kind.png");
}

}  // namespace
