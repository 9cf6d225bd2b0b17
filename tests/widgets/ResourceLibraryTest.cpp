#include "WidgetTestSupport.h"

#include "base/CopyDLL.h"
#include "base/DataFolders.h"
#include "base/ResourceLibrary.h"

#include <host/Desktop.h>
#include <host/Display.h>

#include "resource.h"

#include <TestAppHost.h>

#include <fstream>
#include <iterator>

namespace {

const char kUnableToLoad[] = "Unable to load:  T:\\prog\\vl_res1.dll.\n"
                             "The Veltra program requires a minimum 16Mb of RAM to run successfully.\n"
                             "If you meet this minimum requirement,\n"
                             "you may need to increase your virtual memory settings.";

// What the preferences dialog does when the test offers it: how it ends, and what the reader set.
int g_preferencesShown = 0;
std::function<int()> g_preferences;
int RunPreferences()
{
    ++g_preferencesShown;
    return g_preferences ? g_preferences() : IDCANCEL;
}

class ResourceLibraryTest : public BitmapTest {
protected:
    void SetUp() override
    {
        BitmapTest::SetUp();
        app.m_pszProfileName = "T:\\vl00i1se.ini";
        std::filesystem::create_directories(dir.path() / "t" / "prog");
        g_preferencesShown = 0;
        g_preferences = nullptr;
        Reset();
    }
    void TearDown() override
    {
        g_preferences = nullptr;
        BitmapTest::TearDown();
    }
    // The application object's state at start-up: drives as mapped now, the program in T:\prog,
    // screen class 1.
    void Reset()
    {
        ResetAppServices();
        AppServices().env.strProgramDir = "T:\\prog\\";
        AppServices().env.nScreenClass = 1;
        appHost.preferences = RunPreferences;
        SetAppHost(&appHost);
    }
    CTestAppHost appHost;
    // The built library of a screen class.
    static std::string BuiltLibrary(int nClass)
    {
        std::ifstream in(std::string(VL_LIBRARY_DIR) + "/vl_res" + std::to_string(nClass) + ".dll", std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string ProgramFile(const std::string& name) const { return dir.Read("t/prog/" + name); }
    bool InProgram(const std::string& name) const { return std::filesystem::exists(dir.path() / "t" / "prog" / name); }
    // Disc 1 in drive E:, its resource folder holding the libraries given.
    void Disc(const std::vector<int>& classes)
    {
        std::filesystem::path root = dir.path() / "disc";
        std::filesystem::create_directories(root / "info_dat" / "Resource");
        for (int c : classes)
            dir.Write("disc/info_dat/Resource/vl_res" + std::to_string(c) + ".dll", BuiltLibrary(c));
        host::MapDrive('E', root.string(), DRIVE_CDROM, "VL00I1SE");
        Reset();
    }
    static CString LibraryString(UINT id)
    {
        char text[64] = "";
        ::LoadString(AppServices().env.hResourceLibrary, id, text, sizeof text);
        return text;
    }
};

}  // namespace

TEST_F(ResourceLibraryTest, ScreenClassesByWidth)
{
    struct Case {
        int width;
        int screenClass;
    } cases[] = {{320, 0}, {640, 0}, {641, 1}, {800, 1}, {1023, 1}, {1024, 2}, {1600, 2}};
    for (const Case& c : cases) {
        EXPECT_EQ(c.screenClass, ScreenClassFromWidth(c.width)) << c.width;
        host::SetDesktopSize(c.width, 600);
        MeasureAppScreen();
        EXPECT_EQ(c.screenClass, GetAppScreenClass()) << c.width;
        EXPECT_EQ(c.width, GetAppScreenWidth());
        EXPECT_EQ(600, GetAppScreenHeight());
    }
    EXPECT_STREQ("vl_res0.dll", ResourceLibraryName(0));
    EXPECT_STREQ("vl_res2.dll", ResourceLibraryName(2));
}

TEST_F(ResourceLibraryTest, KeepsOnlyTheCurrentClassAndLoadsIt)
{
    for (int c = 0; c < 3; ++c)
        dir.Write("t/prog/vl_res" + std::to_string(c) + ".dll", BuiltLibrary(c));
    ::SetFileAttributes("T:\\prog\\vl_res0.dll", FILE_ATTRIBUTE_READONLY);
    ASSERT_TRUE(LoadResourceLibrary());
    EXPECT_FALSE(InProgram("vl_res0.dll")) << "removed even when read-only";
    EXPECT_FALSE(InProgram("vl_res2.dll"));
    EXPECT_TRUE(InProgram("vl_res1.dll"));
    ASSERT_NE(nullptr, AppServices().env.hResourceLibrary);
    EXPECT_STREQ("VL00I1SE", LibraryString(IDS_DISC1_LABEL));
    EXPECT_TRUE(BoxTexts().empty());
    EXPECT_EQ(0, g_preferencesShown);
}

TEST_F(ResourceLibraryTest, CopiesAMissingOrEmptyLibraryFromTheDisc)
{
    Disc({0, 1, 2});
    for (bool empty : {false, true}) {
        SCOPED_TRACE(empty ? "empty file" : "missing file");
        if (empty)
            dir.Write("t/prog/vl_res1.dll", "");
        ASSERT_TRUE(LoadResourceLibrary());
        EXPECT_EQ(BuiltLibrary(1), ProgramFile("vl_res1.dll"));
        EXPECT_STREQ("VL00I1SE", LibraryString(IDS_DISC1_LABEL));
        EXPECT_TRUE(BoxTexts().empty());
        Reset();
        std::filesystem::remove(dir.path() / "t" / "prog" / "vl_res1.dll");
    }
    // Screen class 2 copies its own library.
    AppServices().env.nScreenClass = 2;
    ASSERT_TRUE(LoadResourceLibrary());
    EXPECT_EQ(BuiltLibrary(2), ProgramFile("vl_res2.dll"));
    EXPECT_EQ(0, g_preferencesShown);
}

TEST_F(ResourceLibraryTest, WithoutTheDiscThePreferencesAreOffered)
{
    // The reader is asked for the disc and cancels; the preferences follow; Cancel there gives up
    // without a message of its own and without trying a load.
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    EXPECT_FALSE(LoadResourceLibrary());
    EXPECT_EQ(1, g_preferencesShown);
    EXPECT_EQ(nullptr, AppServices().env.hResourceLibrary);
    EXPECT_FALSE(InProgram("vl_res1.dll"));
    EXPECT_EQ(1u, BoxTexts().size());

    // This time the reader names the data folder in the preferences and ends with OK.
    host::ResetUiScript();
    Disc({1});
    host::UnmapDrive('E');
    Reset();
    host::AnswerMessageBox("Please insert Disc 1.", IDCANCEL);
    g_preferences = [this] {
        std::filesystem::create_directories(dir.path() / "t" / "data" / "Resource");
        dir.Write("t/data/Resource/vl_res1.dll", BuiltLibrary(1));
        WritePrivateProfileString("Files", "DataDir", "T:\\data", "T:\\vl00i1se.ini");
        return IDOK;
    };
    ASSERT_TRUE(LoadResourceLibrary());
    EXPECT_EQ(BuiltLibrary(1), ProgramFile("vl_res1.dll"));
    EXPECT_NE(nullptr, AppServices().env.hResourceLibrary);
}

TEST_F(ResourceLibraryTest, FailedCopyAndFailedLoadSaySo)
{
    Disc({0});  // the disc lacks the library of class 1
    host::AnswerMessageBox("Copy file failed:  E:\\info_dat\\Resource\\vl_res1.dll", IDOK);
    host::AnswerMessageBox(kUnableToLoad, IDOK);
    EXPECT_FALSE(LoadResourceLibrary());
    EXPECT_EQ(2u, BoxTexts().size());

    // A library file that is no library.
    host::ResetUiScript();
    dir.Write("t/prog/vl_res1.dll", "not a resource library");
    host::AnswerMessageBox(kUnableToLoad, IDOK);
    EXPECT_FALSE(LoadResourceLibrary());
    EXPECT_EQ(nullptr, AppServices().env.hResourceLibrary);
}

namespace {

// What the copy box looked like when its copy had ended (seen as its end message is taken).
struct CopyBoxSeen {
    bool seen = false;
    RECT rect{};
    DWORD style = 0;
    DWORD exStyle = 0;
    std::string title;
    COLORREF background = 0;
    int darkPixels = 0;  // text pixels on the two text lines
} g_box;

LRESULT CALLBACK WatchCopyBox(int code, WPARAM wParam, LPARAM lParam)
{
    const MSG* msg = reinterpret_cast<const MSG*>(lParam);
    if (code == HC_ACTION && msg->message == WM_COPYDLL_DONE && !g_box.seen) {
        g_box.seen = true;
        ::GetWindowRect(msg->hwnd, &g_box.rect);
        g_box.style = DWORD(::GetWindowLongA(msg->hwnd, GWL_STYLE));
        g_box.exStyle = DWORD(::GetWindowLongA(msg->hwnd, GWL_EXSTYLE));
        char title[64] = "";
        ::GetWindowTextA(msg->hwnd, title, sizeof title);
        g_box.title = title;
        g_box.background = host::DesktopPixel(g_box.rect.left + 400, g_box.rect.top + 120);
        for (int y = 45; y < 75; ++y)
            for (int x = 10; x < 300; ++x) {
                COLORREF c = host::DesktopPixel(g_box.rect.left + x, g_box.rect.top + y);
                g_box.darkPixels += GetRValue(c) + GetGValue(c) + GetBValue(c) < 150;
            }
    }
    return ::CallNextHookEx(NULL, code, wParam, lParam);
}

}  // namespace

TEST_F(ResourceLibraryTest, TheCopyBoxShowsWhileTheLibraryIsCopied)
{
    Disc({1});
    ASSERT_TRUE(LoadAppPalettes());
    g_box = CopyBoxSeen{};
    HHOOK hook = ::SetWindowsHookEx(WH_GETMESSAGE, WatchCopyBox, NULL, 0);  // this thread
    ASSERT_TRUE(LoadResourceLibrary());
    ::UnhookWindowsHookEx(hook);

    ASSERT_TRUE(g_box.seen);
    EXPECT_EQ(445, g_box.rect.right - g_box.rect.left);
    EXPECT_EQ(150, g_box.rect.bottom - g_box.rect.top);
    EXPECT_EQ((1024 - 445) / 2, g_box.rect.left) << "centred";
    EXPECT_EQ((768 - 150) / 2, g_box.rect.top);
    EXPECT_EQ(0u, g_box.style & (WS_CAPTION | WS_SYSMENU | WS_THICKFRAME));
    EXPECT_NE(0u, g_box.exStyle & WS_EX_TOPMOST);
    EXPECT_EQ("Veltra 2000", g_box.title);
    EXPECT_EQ(RGB(0xC6, 0xC6, 0xDE), g_box.background);
    EXPECT_GT(g_box.darkPixels, 200) << "the two lines of text";
    EXPECT_EQ(BuiltLibrary(1), ProgramFile("vl_res1.dll"));
}
