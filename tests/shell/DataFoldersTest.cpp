#include "base/DataFolders.h"

#include "base/AppServices.h"
#include "base/RomFile.h"

#include <TestAppHost.h>

#include <host/Drives.h>

#include "ShellUiTest.h"

#include <filesystem>
#include <fstream>
#include <string>
#include <utility>
#include <vector>

namespace {

// What the current view heard: (disc, found) of each WM_VL_DISC_SEARCH.
std::vector<std::pair<WPARAM, LPARAM>> g_viewHeard;

LRESULT CALLBACK ViewProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_VL_DISC_SEARCH)
        g_viewHeard.emplace_back(wParam, lParam);
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

// The report of the framework's error box, captured.
std::vector<std::string> g_errorReports;
int AFXAPI CaptureErrorReport(LPCSTR lpszText, UINT)
{
    g_errorReports.emplace_back(lpszText);
    return IDOK;
}

class DataFolderTest : public ShellUiTest {
protected:
    DataFolderTest() : ShellUiTest("T:\\vl00i1se.ini", false) {}

    void SetUp() override
    {
        ShellUiTest::SetUp();
        g_viewHeard.clear();
        g_errorReports.clear();
        m_oldReportHandler = AfxSetReportErrorHandler(CaptureErrorReport);
    }
    void TearDown() override
    {
        AfxSetReportErrorHandler(m_oldReportHandler);
        if (view.GetSafeHwnd() != NULL)
            DestroyWindow(view.Detach());
        ShellUiTest::TearDown();
    }

    // A CD-ROM drive holding a disc with that label (a folder of its own); the drive list is
    // made again, as the application object makes it.
    std::string HostFolderFor(char letter) const
    {
        std::filesystem::path folder = dir.path() / (std::string("cd") + letter);
        std::filesystem::create_directories(folder);
        return folder.string();
    }
    void Cdrom(char letter, const std::string& label)
    {
        host::MapDrive(letter, HostFolderFor(letter), DRIVE_CDROM, label);
        BuildCDRomDriveList(AppServices().env.cdromDrives, FALSE);
    }
    void MakeView()
    {
        WNDCLASSA wc{};
        wc.lpfnWndProc = ViewProc;
        wc.lpszClassName = "DataFolderTestView";
        RegisterClassA(&wc);
        HWND hwnd = CreateWindowExA(0, "DataFolderTestView", "", WS_OVERLAPPEDWINDOW, 0, 0, 100, 100, nullptr, nullptr,
                                    nullptr, nullptr);
        ASSERT_NE(nullptr, hwnd);
        view.Attach(hwnd);
        AppServices().ui.pCurrentView = &view;
    }
    static std::string DataDir(int type, int disc = 1, BOOL prompt = FALSE, BOOL* pResult = nullptr)
    {
        CString dir = "stale";
        BOOL result = GetDataDir(dir, type, disc, prompt);
        if (pResult != nullptr)
            *pResult = result;
        EXPECT_EQ(result != FALSE, !dir.IsEmpty()) << "a result and its folder agree";
        return static_cast<LPCSTR>(dir);
    }
    static std::vector<std::string> BoxTexts()
    {
        std::vector<std::string> texts;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            texts.push_back(box.text);
        return texts;
    }
    static int CachedDrive(int disc)
    {
        int index = -1;
        return AppServices().env.discDrives.Lookup(static_cast<WORD>(disc), index) ? index : -1;
    }

    CWnd view;

private:
    AFX_REPORT_ERROR_HANDLER m_oldReportHandler = NULL;
};

using Heard = std::vector<std::pair<WPARAM, LPARAM>>;
using Texts = std::vector<std::string>;

TEST_F(DataFolderTest, EveryKindWithDataDirSetAndWithTheDisc)
{
    Cdrom('E', "VL00I1SE");
    struct Case {
        int type;
        const char* withDataDir;
        const char* withDisc;
    } cases[] = {
        {0, "E:\\", "E:\\"},  // the disc root never comes from DataDir
        {1, "D:\\Data\\", "E:\\info_dat\\"},
        {2, "D:\\Data\\", "E:\\info_dat\\"},
        {3, "D:\\Data\\Movies\\", "E:\\info_dat\\Movies\\"},
        {4, "D:\\Data\\Movies\\", "E:\\info_dat\\Movies\\"},
        {5, "D:\\Data\\Photo\\", "E:\\info_dat\\Photo\\"},
        {6, "D:\\Data\\Sound\\", "E:\\info_dat\\Sound\\"},
        {7, "D:\\Data\\Resource\\", "E:\\info_dat\\Resource\\"},
        {8, "D:\\Data\\Wizards\\", "E:\\info_dat\\Wizards\\"},
        {9, "D:\\Data\\VlJubl\\", "E:\\info_dat\\VlJubl\\"},
        {10, "D:\\Data\\Sims\\", "E:\\info_dat\\Sims\\"},
        {11, "D:\\Data\\", "E:\\info_dat\\"},
        {12, "D:\\Data\\", "E:\\info_dat\\"},
        {13, "D:\\Data\\", "E:\\info_dat\\"},
        {14, "D:\\Data\\", "E:\\info_dat\\"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.withDisc, DataDir(c.type)) << "type " << c.type;
    SetProfile("Files", "DataDir", "D:\\Data");
    for (const Case& c : cases)
        EXPECT_EQ(c.withDataDir, DataDir(c.type)) << "type " << c.type << " with DataDir";
    SetProfile("Files", "DataDir", "D:\\Data\\");
    EXPECT_EQ("D:\\Data\\Movies\\", DataDir(3));

    // The wizards and Jubilee folders the settings name are taken as they are.
    SetProfile("Files", "Wizards", "W:\\Wiz");
    SetProfile("Files", "Jubilee", "J:\\Jub\\");
    EXPECT_EQ("W:\\Wiz\\", DataDir(8));
    EXPECT_EQ("J:\\Jub\\", DataDir(9));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DataFolderTest, DataDirNeedsNoDriveAtAll)
{
    SetProfile("Files", "DataDir", "D:\\Data");
    EXPECT_TRUE(LocateFirstDisc());
    EXPECT_EQ("D:\\Data\\Movies\\", DataDir(3, 1, TRUE));
    EXPECT_EQ(0, AppServices().env.cdromDrives.GetSize());
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DataFolderTest, LabelsMatchWhateverTheirCase)
{
    struct Case {
        const char* cd1Label;  // [Files] "CD1Label", empty: the program's string
        const char* driveLabel;
        bool found;
    } cases[] = {
        {"", "VL00I1SE", true}, {"", "vl00i1se", true}, {"", "Vl00I1se", true}, {"", "VL00I1SE2", false},
        {"", "", false},        {"MyDisc", "MYDISC", true}, {"MyDisc", "VL00I1SE", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.cd1Label) + " / " + c.driveLabel);
        SetProfile("Files", "CD1Label", c.cd1Label);
        Cdrom('E', c.driveLabel);
        EXPECT_EQ(c.found ? "E:\\info_dat\\" : "", DataDir(1));
        EXPECT_STREQ(*c.cd1Label ? c.cd1Label : "VL00I1SE", GetDiscLabel(1));
    }
}

TEST_F(DataFolderTest, NoCdromAndNoPromptFailsAtOnce)
{
    MakeView();
    BOOL result = TRUE;
    EXPECT_EQ("", DataDir(1, 1, FALSE, &result));
    EXPECT_FALSE(result);
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_TRUE(g_viewHeard.empty());
    // A CD-ROM drive without the disc (or with no disc at all) is no better.
    Cdrom('E', "OTHER");
    host::MapDrive('F', HostFolderFor('F'), DRIVE_CDROM, "VL00I1SE");
    host::SetDriveMedia('F', false);
    BuildCDRomDriveList(AppServices().env.cdromDrives, FALSE);
    EXPECT_EQ("", DataDir(0));
    EXPECT_TRUE(BoxTexts().empty());
}

TEST_F(DataFolderTest, PromptForDiscUntilCancelled)
{
    MakeView();
    Cdrom('E', "OTHER");
    const std::uint64_t start = host::ClockMilliseconds();
    std::vector<std::uint64_t> shownAt;
    for (int answer : {IDOK, IDOK, IDCANCEL})
        host::AnswerMessageBoxWith("Please insert Disc 1.", [&shownAt, answer](const host::MessageBoxRecord& box) {
            EXPECT_EQ(static_cast<UINT>(MB_OKCANCEL), box.type & 0xF);
            shownAt.push_back(host::ClockMilliseconds());
            return answer;
        });
    BOOL result = TRUE;
    EXPECT_EQ("", DataDir(1, 1, TRUE, &result));
    EXPECT_FALSE(result);
    EXPECT_EQ((std::vector<std::uint64_t>{start, start + 3000, start + 6000}), shownAt);
    EXPECT_EQ((Heard{{1, 0}, {1, 0}}), g_viewHeard);
}

// The disc folder of a CD-ROM drive is missing: that drive holds no disc, so the reader is asked
// for Disc 1 instead of being sent into an empty drive.
TEST_F(DataFolderTest, CdromWhoseFolderIsMissingAsksForTheDisc)
{
    MakeView();
    host::MapDrive('E', (dir.path() / "no-such-disc").string(), DRIVE_CDROM, "VL00I1SE");
    BuildCDRomDriveList(AppServices().env.cdromDrives, FALSE);
    int asked = 0;
    host::AnswerMessageBoxWith("Please insert Disc 1.", [&asked](const host::MessageBoxRecord&) {
        ++asked;
        return IDCANCEL;
    });
    BOOL result = TRUE;
    EXPECT_EQ("", DataDir(1, 1, TRUE, &result));
    EXPECT_FALSE(result);
    EXPECT_EQ(1, asked);
}

TEST_F(DataFolderTest, DiscInsertedWhileAskedIsFoundAndCached)
{
    MakeView();
    Cdrom('E', "OTHER");
    Cdrom('F', "NOTHING");
    host::AnswerMessageBoxWith("Please insert Disc 1.", [](const host::MessageBoxRecord&) {
        host::SetDriveLabel('F', "VL00I1SE");
        return IDOK;
    });
    EXPECT_EQ("F:\\info_dat\\Photo\\", DataDir(5, 1, TRUE));
    EXPECT_EQ((Heard{{1, 0}, {1, 1}}), g_viewHeard);
    EXPECT_EQ(1, CachedDrive(1));
    // Without a view nobody is told; the cached drive answers without any search.
    AppServices().ui.pCurrentView = NULL;
    EXPECT_EQ("F:\\", DataDir(0, 1, TRUE));
}

TEST_F(DataFolderTest, CachedDriveWhoseDiscChangedIsDropped)
{
    Cdrom('E', "VL00I1SE");
    Cdrom('F', "VL00I1SE");
    EXPECT_EQ("E:\\", DataDir(0));
    EXPECT_EQ(0, CachedDrive(1));

    // The disc moves to F: and E: gets another one: the whole list is searched again.
    host::SetDriveLabel('E', "MUSIC");
    EXPECT_EQ("F:\\", DataDir(0));
    EXPECT_EQ(1, CachedDrive(1));

    // Both hold it now: the cached drive wins over the list order.
    host::SetDriveLabel('E', "VL00I1SE");
    EXPECT_EQ("F:\\info_dat\\", DataDir(1));
    EXPECT_EQ(1, CachedDrive(1));

    // Nowhere: the entry goes and nothing takes its place.
    host::SetDriveMedia('E', false);
    host::SetDriveMedia('F', false);
    EXPECT_EQ("", DataDir(1));
    EXPECT_EQ(-1, CachedDrive(1));
}

TEST_F(DataFolderTest, NamedDriveIsPolledForEightSecondsAfterEachOk)
{
    MakeView();
    SetProfile("File Locations", "CD1", "E:");
    Cdrom('E', "VL00I1SE");
    Cdrom('F', "VL00I1SE");  // never looked at: the settings name the drive
    EXPECT_EQ("E:\\info_dat\\", DataDir(1, 1, TRUE));
    EXPECT_TRUE(BoxTexts().empty());

    host::SetDriveLabel('E', "OTHER");
    std::vector<std::uint64_t> shownAt;
    for (int answer : {IDOK, IDOK, IDCANCEL})
        host::AnswerMessageBoxWith("", [&shownAt, answer](const host::MessageBoxRecord&) {
            shownAt.push_back(host::ClockMilliseconds());
            return answer;
        });
    BOOL result = TRUE;
    EXPECT_EQ("", DataDir(3, 1, TRUE, &result));
    EXPECT_FALSE(result);
    EXPECT_EQ((Texts{"Please insert disc 1 into drive E:", "Please insert disc 1 into drive E:",
                     "Please insert disc 1 into drive E:"}),
              BoxTexts());
    ASSERT_EQ(3u, shownAt.size());
    EXPECT_EQ(8000u, shownAt[1] - shownAt[0]);
    EXPECT_EQ(8000u, shownAt[2] - shownAt[1]);
    EXPECT_EQ((Heard{{1, 0}}), g_viewHeard);
}

TEST_F(DataFolderTest, NamedDriveFindsTheDiscWhilePolling)
{
    SetProfile("File Locations", "CD1", "e:\\");
    Cdrom('E', "OTHER");
    std::uint64_t okAt = 0;
    host::AnswerMessageBoxWith("into drive e:", [&okAt](const host::MessageBoxRecord&) {
        okAt = host::ClockMilliseconds();
        return IDOK;
    });
    // The disc is in after three seconds of polling.
    int listener = host::AddClockStepListener([&okAt](std::uint64_t ticks) {
        if (okAt != 0 && ticks >= okAt + 3000)
            host::SetDriveLabel('E', "VL00I1SE");
    });
    EXPECT_EQ("e:\\", DataDir(0, 1, TRUE));
    host::RemoveClockStepListener(listener);
    EXPECT_EQ(okAt + 3000, host::ClockMilliseconds());
    // Without prompting a missing disc gives FALSE at once.
    host::SetDriveLabel('E', "OTHER");
    EXPECT_EQ("", DataDir(0, 1, FALSE));
}

TEST_F(DataFolderTest, UnknownKindAndHigherDiscs)
{
    Cdrom('E', "VL00I1SE");
    host::AnswerMessageBox("Unknown DataDirType.", IDOK);
    BOOL result = TRUE;
    EXPECT_EQ("", DataDir(15, 1, FALSE, &result));
    EXPECT_FALSE(result);
    ASSERT_EQ(1u, host::MessageBoxLog().size());
    EXPECT_EQ(static_cast<UINT>(MB_ICONEXCLAMATION), host::MessageBoxLog()[0].type & MB_ICONMASK);
    EXPECT_EQ(1u, g_errorReports.size());  // then the framework's box for the exception

    CString dir;
    EXPECT_THROW(
        {
            try {
                GetDataDir(dir, 1, 2, TRUE);
            } catch (CNotSupportedException* e) {
                e->Delete();
                throw 2;
            }
        },
        int);
}

TEST_F(DataFolderTest, DiscFilesReopenInTheDataFolder)
{
    Cdrom('E', "VL00I1SE");
    std::filesystem::create_directories(dir.path() / "cdE" / "info_dat" / "Movies");
    {
        std::ofstream(dir.path() / "cdE" / "info_dat" / "list.dat") << "0123456789";
    }
    CRomFile file;
    ASSERT_TRUE(file.Open("E:\\info_dat\\list.dat", CFile::modeRead | CFile::shareDenyWrite));
    file.Seek(4, CFile::begin);

    // Disc 0 releases the disc files; disc 1 brings them back from "info_dat\", whatever the kind.
    EXPECT_EQ("E:\\", DataDir(0, 0));
    EXPECT_TRUE(CRomFile::IsReleased());
    EXPECT_EQ(4u, file.GetPosition());
    EXPECT_EQ("E:\\info_dat\\Movies\\", DataDir(3, 1));
    EXPECT_FALSE(CRomFile::IsReleased());
    EXPECT_STREQ("E:\\info_dat\\list.dat", file.GetFilePath());
    char ch = 0;
    EXPECT_EQ(1u, file.Read(&ch, 1));
    EXPECT_EQ('4', ch);

    CRomFile::ReleaseAll();
    EXPECT_EQ("E:\\", DataDir(0, 1));
    EXPECT_STREQ("E:\\info_dat\\list.dat", file.GetFilePath());
    EXPECT_EQ(5u, file.GetPosition());
}

TEST_F(DataFolderTest, LocateFirstDiscOffersThePreferences)
{
    CTestAppHost appHost;
    static int s_shown = 0;
    static bool s_insert = false;
    s_shown = 0;
    appHost.preferences = [] {
        ++s_shown;
        if (!s_insert)
            return IDCANCEL;
        host::SetDriveLabel('E', "VL00I1SE");
        return IDOK;
    };
    Cdrom('E', "OTHER");

    s_insert = false;
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    EXPECT_FALSE(LocateFirstDisc());
    EXPECT_EQ(1, s_shown);

    s_insert = true;
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    EXPECT_TRUE(LocateFirstDisc());
    EXPECT_EQ(2, s_shown);

    // Without a dialog to show, a cancelled prompt ends the search.
    appHost.preferences = nullptr;
    host::SetDriveLabel('E', "OTHER");
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    EXPECT_FALSE(LocateFirstDisc());
}

TEST_F(DataFolderTest, ProfileDownloadAndProgramFolders)
{
    EXPECT_STREQ("", GetAppProfileString("Online", "Download", NULL));
    EXPECT_STREQ("dflt", GetAppProfileString("Online", "Download", "dflt"));
    const CString programDir = GetProgramDir();
    ASSERT_FALSE(programDir.IsEmpty());
    EXPECT_EQ('\\', programDir[programDir.GetLength() - 1]);

    struct Case {
        const char* setting;
        std::string expected;
    } cases[] = {
        {"", std::string(programDir) + "download\\"},
        {"E:\\DL", "E:\\DL\\"},
        {"E:\\DL\\", "E:\\DL\\"},
    };
    for (const Case& c : cases) {
        SetDownloadDir(c.setting);
        EXPECT_STREQ(c.setting, GetAppProfileString("Online", "Download", NULL));
        EXPECT_STREQ(c.expected.c_str(), GetDownloadDir());
    }
    EXPECT_TRUE(WriteAppProfileString("Screen", "max", "1"));
    EXPECT_STREQ("1", GetAppProfileString("Screen", "max", NULL));
    EXPECT_FALSE(IsWin32s());
}

TEST_F(DataFolderTest, ProfilePathRule)
{
    EXPECT_STREQ("C:\\VL\\VL00I1SE.ini", MakeAppProfilePath("C:\\VL\\VL00I1SE.EXE"));
    EXPECT_STREQ("C:\\VL\\VL00I1SE.ini", MakeAppProfilePath("C:\\VL\\VL00I1SE.exe"));

    host::SetProgramPlatformPath("T:\\prog\\test_shell.exe");  // the program under its own name
    app.m_pszProfileName = NULL;
    app.SetCurrentHandles();
    const std::string framework = app.m_pszProfileName;
    EXPECT_EQ("test_shell.INI", framework);
    ASSERT_TRUE(InstallAppProfilePath());
    EXPECT_STREQ(GetProgramDir() + "test_shell.ini", app.m_pszProfileName);
    EXPECT_EQ(framework, AppServices().env.pszFrameworkProfileName);
    ASSERT_TRUE(InstallAppProfilePath());  // again: the framework's value stays aside
    EXPECT_EQ(framework, AppServices().env.pszFrameworkProfileName);
    RestoreFrameworkProfileName();
    EXPECT_EQ(framework, app.m_pszProfileName);
    EXPECT_EQ(nullptr, AppServices().env.hProfilePath);
}

TEST_F(DataFolderTest, CdromDriveListInSystemOrder)
{
    host::MapDrive('G', HostFolderFor('G'), DRIVE_CDROM, "B");
    host::MapDrive('D', HostFolderFor('D'), DRIVE_CDROM, "A");
    host::MapDrive('R', HostFolderFor('R'), DRIVE_REMOVABLE, "C");
    CStringArray drives;
    BuildCDRomDriveList(drives, FALSE);
    ASSERT_EQ(2, drives.GetSize());
    EXPECT_STREQ("D:\\", drives[0]);
    EXPECT_STREQ("G:\\", drives[1]);
    BuildCDRomDriveList(drives, TRUE);
    ASSERT_EQ(2, drives.GetSize());
    EXPECT_STREQ("d:\\", drives[0]);
    EXPECT_STREQ("g:\\", drives[1]);
}

}  // namespace
