// Fixture of the media tests: drive T: on a fresh folder whose profile names T:\disc\info_dat\ as
// the data folder of both discs, picture records written into T:\disc\info_dat\vl.dat by the
// disc builder's writers, and the shared archive closed between cases.
#pragma once

#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/RomLinkTable.h"
#include "media/GrfDocument.h"

#include <ContentArchiveWriter.h>
#include <GifWriter.h>
#include <GrfWriter.h>
#include <RomLinkWriter.h>
#include <host/Drives.h>
#include <host/UiScript.h>

#include <afxwin.h>

#include <TempDir.h>
#include <UiTest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace media_test {

using discbuilder::GrfHotSpot;
using discbuilder::GrfHotSpotKind;
using discbuilder::GrfRecordSource;

// A GIF of w x h pixels: colour 1 (red) with a frame of colour 2 (blue) on a white ground.
inline std::string TestGif(int w, int h, int seed = 0)
{
    discbuilder::GifImage image;
    image.width = w;
    image.height = h;
    image.indices.resize(static_cast<std::size_t>(w * h));
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            image.indices[static_cast<std::size_t>(y * w + x)] = edge ? 2 : static_cast<std::uint8_t>(((x + y + seed) % 7) == 0 ? 3 : 1);
        }
    return discbuilder::GifFile(image, {{255, 255, 255}, {220, 30, 30}, {20, 40, 200}, {250, 250, 250}});
}

// A reference placed by hand: an item of a kind on a disc at an archive block.
inline CReference* PlacedReference(LONG nNumber, LONG nKind, int nDisc, LONG nBlock)
{
    auto* pRef = new CReference;
    pRef->SetLocation(nNumber, nBlock, 1);
    pRef->SetKind(nKind);
    pRef->SetDisc(nDisc);
    pRef->SetTitle("placed");
    return pRef;
}

// A disc-2 item whose data folder is the test's data folder (the program serves disc 1 only
// through GetDataDir).
class CDisc2Reference : public CReference {
public:
    CDisc2Reference(LONG nNumber, LONG nKind)
    {
        SetLocation(nNumber, 0, 1);
        SetKind(nKind);
        SetDisc(2);
    }
    BOOL GetDataFolder(CString& strFolder, BOOL) override
    {
        strFolder = "T:\\disc\\info_dat\\";
        return TRUE;
    }
};

class MediaTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        ResetAppServices();
        CGrfDocument::CloseArchive();
        std::filesystem::create_directories(DataFolder());
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        app.m_pszProfileName = "T:\\vl00i1se.ini";
        ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\disc\\info_dat\\", "T:\\vl00i1se.ini"));
    }
    void TearDown() override
    {
        AppServices().owned.pSearchEngine = NULL;
        CGrfDocument::CloseArchive();
        host::ResetDrives();
        ResetAppServices();
        ui::UiTest::TearDown();
    }

    std::filesystem::path DataFolder() const { return dir.path() / "t" / "disc" / "info_dat"; }

    // Writes the archive with a filler article first (so pictures start past block 0) and the
    // records in order; their blocks.
    std::vector<LONG> WriteArchive(const std::vector<std::string>& records)
    {
        discbuilder::ContentArchiveWriter archive;
        archive.Add(1001, std::string(700, 'a'));
        std::vector<LONG> blocks;
        std::int32_t rin = 1001001;
        for (const std::string& record : records)
            blocks.push_back(static_cast<LONG>(archive.AddStored(rin++, record, 3).block));
        archive.Write(DataFolder());
        return blocks;
    }

    // A content index of the entries (and the defaults) in the data folder, installed as the
    // application's: references made by number then know their kinds.
    void InstallRomLink(std::vector<discbuilder::RomLinkEntry> entries)
    {
        discbuilder::AddMissingRomLinkDefaults(entries);
        discbuilder::WriteRomLinkFile(DataFolder(), entries);
        ASSERT_TRUE(m_romLink.LoadTable());
        AppServices().owned.pSearchEngine = &m_romLink;
    }

    // Texts of the message boxes shown since the last call.
    std::vector<std::string> NewBoxes()
    {
        std::vector<std::string> texts;
        const auto log = host::MessageBoxLog();
        for (std::size_t i = m_nBoxesSeen; i < log.size(); ++i)
            texts.push_back(log[i].text);
        m_nBoxesSeen = log.size();
        return texts;
    }

    CWinApp app{"vl00i1se"};
    TempDir dir;

private:
    std::size_t m_nBoxesSeen = 0;
    CRomLinkTable m_romLink;
};

// A picture with a bit of everything: three sections (two of the picture, one label text), five
// hot spots (a link, a label, a sound, an inactive link, a label with target 0 overlapping the
// first), two zoom-out records, overlay lists of both kinds, a group and a legend.
inline GrfRecordSource RichPicture()
{
    GrfRecordSource s;
    s.mediaNumber = 123456;
    s.itemNumber = 1001002;
    s.linkValue = 0;
    s.title = "Mount Veltra erupting";
    s.caption = "Lava \x81" "flows\x80 at \x82" "night\x80.\r\rSecond paragraph.";
    s.note = "Note text.";
    s.credit = "Credit: sample art";
    s.sections = {{1, "Section zero"}, {7, "Section one"}, {0, "Label of the crater"}};
    s.hotSpots = {
        {10, 10, 50, 40, GrfHotSpotKind::Link, 1002},
        {60, 10, 90, 40, GrfHotSpotKind::Label, 5},
        {100, 10, 120, 40, GrfHotSpotKind::Sound, 77},
        {10, 50, 50, 70, GrfHotSpotKind::Link, 0},
        {20, 20, 30, 30, GrfHotSpotKind::Label, 0},
    };
    s.named = {{"ZOOM_OUT", 3000002}, {"MAP_OLAY", 1}, {"ZOOM_OUT", 3000001}, {"TRA_OLAY", 0}, {"GROUP", 2}, {"LEGEND", 0}};
    s.lists = {{{"Rivers", 3100001}}, {{"Cities", 3100002}, {"Roads", 3100003}}, {{"Same group", 1001003}}};
    s.secondGif = TestGif(8, 6);
    s.previewGif = TestGif(32, 24);
    s.fullGif = TestGif(160, 120);
    s.legendGif = TestGif(40, 20);
    return s;
}

}  // namespace media_test
