// Fixture of the main frame's tests: a drive T: holding the profile file, [Files] "DataDir"
// naming the data (so disc 1 is found without a prompt) until a test takes the disc away, an
// application object whose main window is the frame, and carried objects that record who
// deleted them.
#pragma once

#include "base/AppServices.h"
#include "shell/BaseWindow.h"
#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"
#include "base/VLMessages.h"
#include "base/VLStateObj.h"

#include "media/GrfDocument.h"

#include <ContentArchiveWriter.h>
#include <GifWriter.h>
#include <GrfWriter.h>
#include <ListFileWriter.h>
#include <SampleAtlas.h>
#include <host/Drives.h>
#include <host/Paths.h>

#include "../ShellUiTest.h"

#include <filesystem>
#include <string>
#include <vector>

namespace frametest {

// Who deleted each carried object: "view <id>" when a view's handler did, "frame" when the
// frame's did, "test" otherwise.
inline std::vector<std::string>& FreedLog()
{
    static std::vector<std::string> log;
    return log;
}

inline std::string WhoIsRunning()
{
    const MSG* msg = AfxGetCurrentMessage();
    HWND hwnd = msg != nullptr ? msg->hwnd : nullptr;
    if (hwnd == nullptr || !IsWindow(hwnd))
        return "test";
    if (GetParent(hwnd) == nullptr)
        return "frame";
    return "view " + std::to_string(GetDlgCtrlID(hwnd));
}

// A view state that needs a given disc and data kind, and notes its deletion.
class TestState : public CVLStateObj {
public:
    TestState(UINT nID, const char* title, int disc = 1, int kind = 1) : m_disc(disc), m_kind(kind)
    {
        m_nWindowID = nID;
        m_strTitle = title;
    }
    TestState(const TestState& other) = default;
    ~TestState() override { FreedLog().push_back(WhoIsRunning() + ":" + static_cast<LPCSTR>(m_strTitle)); }
    int GetDisc() const override { return m_disc; }
    int GetDataDirType() const override { return m_kind; }
    CVLStateObj* Clone() const override { return new TestState(*this); }

private:
    int m_disc;
    int m_kind;
};

class FrameTest : public ShellUiTest {
protected:
    void SetUp() override
    {
        ShellUiTest::SetUp();
        // The program's folder is the test's own, so that the notes and highlights files the
        // frame saves there are never shared with a test running beside it.
        std::filesystem::create_directories(dir.path() / "t" / "prog");
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        LoadResourceLibrary();
        FreedLog().clear();
        CGrfDocument::CloseArchive();
    }
    void TearDown() override
    {
        DestroyFrame();
        CGrfDocument::CloseArchive();
        ShellUiTest::TearDown();
    }

    // What the atlas opens on when the frame makes it: the flat world map at the first block of
    // the data folder's archive, and Map Search's place list (empty). For the tests that show the
    // atlas (articles cannot be read from that archive).
    void WriteAtlasData()
    {
        const std::filesystem::path folder = dir.path() / "t" / "data";
        discbuilder::GifImage image;
        image.width = 8;
        image.height = 4;
        image.indices.assign(32, 1);
        discbuilder::GrfRecordSource map;
        map.title = "Flat World Map";
        map.fullGif = discbuilder::GifFile(image, {{255, 255, 255}, {160, 200, 240}});
        discbuilder::ContentArchiveWriter archive;
        archive.AddStored(3000732, discbuilder::WriteGrfRecord(map), 3);
        archive.Write(folder);
        std::vector<discbuilder::ListFileEntry> search, distances;
        discbuilder::MakePlaceListEntries({}, search, distances);
        discbuilder::WriteListFiles(folder / "map_loc.dat", folder / "map_loc.ndx", search, discbuilder::kPlaceLineLimit);
    }

    // The panels' close boxes come from the screen-class library, which the program always has.
    static void LoadResourceLibrary()
    {
        auto library = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(library.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(library->c_str());
        // The palettes the toolbar, the Tool Kit and the tips paint with.
        ASSERT_TRUE(LoadAppPalettes());
    }
    // Disc 1 cannot be found any more: every look-up prompts.
    static void TakeDiscAway() { SetProfile("Files", "DataDir", ""); }
    // The next disc prompt is cancelled.
    static void CancelNextDiscPrompt() { host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL); }
    static int DiscPrompts()
    {
        int n = 0;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            n += box.text == "Please insert Disc 1.";
        return n;
    }

    CBaseWindow* MakeFrame()
    {
        frame = new CBaseWindow;
        EXPECT_TRUE(frame->CreateMainFrame());
        frameHwnd = frame->GetSafeHwnd();
        app.m_pMainWnd = frame;
        frame->ShowWindow(SW_SHOW);
        ui::PumpUntilIdle();
        return frame;
    }
    // Destroys the frame (which deletes itself) and drops the quit message that closing the main
    // window posts.
    void DestroyFrame()
    {
        if (frame != nullptr && IsWindow(frameHwnd))
            frame->DestroyWindow();
        frame = nullptr;
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }
    CWnd* View(UINT id) const { return frame->GetDlgItem(static_cast<int>(id)); }

    CBaseWindow* frame = nullptr;
    HWND frameHwnd = nullptr;
};

}  // namespace frametest
