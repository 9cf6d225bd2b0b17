// Fixture of the movie and sound window tests: the movie library started from a program folder
// the case chooses (the real library beside the tests, or the recording stand-in), a main window
// and a parent that record the messages the windows post, and movie files written by the disc
// builder into the test's data folder.
#pragma once

#include "MediaTestSupport.h"

#include "base/VLMessages.h"
#include "media/QuickTime.h"

#include <MovieWriter.h>
#include <host/Paths.h>
#include <qtml/CallLog.h>

#include <mmsystem.h>

#include <fstream>
#include <memory>
#include <utility>

namespace media_test {

// A window that keeps the movie messages it gets: (message, wParam, lParam).
class CMessageRecorder : public CWnd {
public:
    std::vector<std::tuple<UINT, WPARAM, LPARAM>> got;
    std::vector<std::pair<WPARAM, LPARAM>> Of(UINT message) const
    {
        std::vector<std::pair<WPARAM, LPARAM>> of;
        for (const auto& [m, w, l] : got)
            if (m == message)
                of.emplace_back(w, l);
        return of;
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override
    {
        if (message == VLM_STOP_OFF || message == MM_MCINOTIFY)
            got.emplace_back(message, wParam, lParam);
        if (message == VLM_OPEN_WINDOW) {  // kept as the view and the item's number
            std::unique_ptr<CReference> ref(reinterpret_cast<CReference*>(lParam));
            got.emplace_back(message, wParam, ref->GetNumber());
            return 0;
        }
        return CWnd::WindowProc(message, wParam, lParam);
    }
};

enum class MovieLibrary { Real, Recording, Missing };

class MovieTest : public MediaTest {
protected:
    void SetUp() override
    {
        MediaTest::SetUp();
        qtml_host::ClearCallLog();
        main.CreateEx(0, AfxRegisterWndClass(0), "main", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 640, 480),
                      NULL, 0);
        app.m_pMainWnd = &main;
        parent.CreateEx(0, AfxRegisterWndClass(0), "parent", WS_CHILD | WS_VISIBLE, CRect(10, 10, 600, 400), &main, 5);
    }
    void TearDown() override
    {
        StopQuickTime();
        if (parent.GetSafeHwnd() != NULL)
            parent.DestroyWindow();
        if (main.GetSafeHwnd() != NULL)
            main.DestroyWindow();
        app.m_pMainWnd = NULL;
        host::SetProgramPlatformPath("");
        host::UnmapDrive('P');
        MediaTest::TearDown();
    }

    // Starts the movie library found in the program folder of the kind.
    int Start(MovieLibrary library)
    {
        std::string folder = VL_LIBRARY_DIR;
        if (library == MovieLibrary::Recording)
            folder += "/qtrecord";
        else if (library == MovieLibrary::Missing)
            folder = (dir.path() / "t").string();
        host::MapDrive('P', folder, DRIVE_FIXED, "PROGRAM");
        host::SetProgramPlatformPath("P:\\test_media.exe");
        int result = StartQuickTime();
        qtml_host::ClearCallLog();
        return result;
    }

    // A movie of `frames` frames at 10 a second (frame n shows its bar at x = 20 n), 160 x 120,
    // written as the platform path T:\disc\info_dat\Movies\<name>.
    std::string WriteAnimation(const std::string& name, int frames, bool withSound = false)
    {
        discbuilder::MovieSource source;
        source.width = 160;
        source.height = 120;
        for (int n = 0; n < frames; ++n)
            source.frames.push_back(discbuilder::MovieTestFrame(160, 120, kGround, kBar, n));
        if (withSound)
            source.samples = discbuilder::MovieTone(source.sampleRate, 1, 440, frames * 100);
        return Write("Movies", name, source);
    }
    std::string WriteSound(const std::string& name, int milliseconds)
    {
        discbuilder::MovieSource source;
        source.samples = discbuilder::MovieTone(source.sampleRate, 1, 523, milliseconds);
        return Write("Sound", name, source);
    }
    std::string Write(const std::string& folder, const std::string& name, const discbuilder::MovieSource& source)
    {
        std::filesystem::create_directories(DataFolder() / folder);
        discbuilder::WriteMovieFile(DataFolder() / folder / name, source);
        return "T:\\disc\\info_dat\\" + folder + "\\" + name;
    }
    std::filesystem::path HostPath(const std::string& platformPath) { return *host::ToHostPath(platformPath); }

    static constexpr std::uint32_t kGround = 0x000080FF;  // RRGGBB
    static constexpr std::uint32_t kBar = 0x00FFFF00;

    CMessageRecorder main;
    CMessageRecorder parent;
};

}  // namespace media_test
