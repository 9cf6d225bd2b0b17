// The registration wizard's stand-in "vorb.dll" called in this process as the status tool calls it
// (with an owner window), and its resource library "VORBREGR.DLL".
#include <windows.h>

#include <vorb.h>
#include <vorbregr.h>

#include <DialogDriver.h>
#include <host/Drives.h>
#include <host/Paths.h>
#include <host/UiScript.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace {

namespace fs = std::filesystem;

class WizardStandInTest : public ::testing::Test {
protected:
    TempDir root;
    HMODULE library = nullptr;
    VORBREGISTERPROC registerProc = nullptr;
    HWND owner = nullptr;

    void SetUp() override
    {
        fs::create_directories(root.path() / "system");
        fs::create_directories(root.path() / "VL");
        fs::create_directories(root.path() / "Empty");
        host::MapDrive('C', root.str(), DRIVE_FIXED, "SETUP");
        host::SetSystemRoot((root.path() / "system").string());
        host::ResetUiScript();
        fs::copy_file(VL_VORB_LIBRARY, root.path() / "VL" / "vorb.dll");
        root.Write("VL/PRODREG.DAT", "[PRODUCT]\r\nPRODUCTNAME=Veltra Jubilee 2000\r\nPRODUCTNUM=VJ2000\r\n");
        library = LoadLibrary(R"(C:\VL\vorb.dll)");
        ASSERT_NE(library, nullptr);
        registerProc = reinterpret_cast<VORBREGISTERPROC>(GetProcAddress(library, "VorbRegister"));
        ASSERT_NE(registerProc, nullptr);
        owner = CreateWindowExA(0, "STATIC", "Owner", WS_OVERLAPPED, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    }
    void TearDown() override
    {
        if (owner)
            DestroyWindow(owner);
        if (library)
            FreeLibrary(library);
        host::SetSystemRoot("");
        host::ResetDrives();
        host::ResetUiScript();
    }

    static std::string Profile(const char* file, const char* key)
    {
        char value[64] = "";
        GetPrivateProfileString("Veltra Jubilee 2000", key, "", value, sizeof value, file);
        return value;
    }
    static std::string GlobalList()
    {
        char windows[MAX_PATH] = "";
        GetWindowsDirectory(windows, MAX_PATH);
        return std::string(windows) + "\\REG.REG";
    }
    // The wizard's message to its owner, once its dialog has done its work.
    WPARAM DoneMessage()
    {
        MSG msg{};
        EXPECT_TRUE(PeekMessage(&msg, owner, VORB_WM_DONE, VORB_WM_DONE, PM_REMOVE));
        return msg.wParam;
    }
};

TEST_F(WizardStandInTest, RegisterAndLaterWriteTheStatusAndTellTheOwner)
{
    HWND wizard = registerProc(GetModuleHandle(nullptr), owner, 0, R"(C:\VL\)", VORB_MODE_NEW);
    ASSERT_NE(wizard, nullptr);
    char title[64] = "";
    GetWindowTextA(wizard, title, sizeof title);
    EXPECT_STREQ(title, VORB_WIZARD_TITLE);
    EXPECT_EQ(GetWindow(wizard, GW_OWNER), owner);
    for (MSG msg; PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE);)  // painted as its caller's loop would
        DispatchMessage(&msg);
    ui::dialog::Screenshot(wizard, "vorb-wizard.png");
    SendMessageA(wizard, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(wizard));
    EXPECT_EQ(DoneMessage(), 5u);
    EXPECT_EQ(Profile(R"(C:\VL\REG.REG)", "STATUS"), "5");
    std::string first = Profile(R"(C:\VL\REG.REG)", "REGNUM");
    EXPECT_EQ(first.rfind("VJ2000-0001-", 0), 0u) << first;

    // Again: the count goes on. Later (or the close box) then leaves the number as it is.
    wizard = registerProc(GetModuleHandle(nullptr), owner, 0, R"(C:\VL)", VORB_MODE_OPEN);
    SendMessageA(wizard, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(DoneMessage(), 5u);
    std::string second = Profile(GlobalList().c_str(), "REGNUM");
    EXPECT_EQ(second.rfind("VJ2000-0002-", 0), 0u) << second;
    wizard = registerProc(GetModuleHandle(nullptr), owner, 0, R"(C:\VL)", VORB_MODE_OPEN);
    SendMessageA(wizard, WM_CLOSE, 0, 0);
    EXPECT_FALSE(IsWindow(wizard));
    EXPECT_EQ(DoneMessage(), 6u);
    EXPECT_EQ(Profile(R"(C:\VL\REG.REG)", "STATUS"), "6");
    EXPECT_EQ(Profile(GlobalList().c_str(), "STATUS"), "6");
    EXPECT_EQ(Profile(GlobalList().c_str(), "REGNUM"), second);

    // The uninstall step: status 9 in both records, no window.
    EXPECT_EQ(registerProc(GetModuleHandle(nullptr), nullptr, 0, R"(C:\VL)", VORB_MODE_UNINSTALL), nullptr);
    EXPECT_EQ(Profile(R"(C:\VL\REG.REG)", "STATUS"), "9");
    EXPECT_EQ(Profile(GlobalList().c_str(), "STATUS"), "9");
}

TEST_F(WizardStandInTest, RefusesUnknownModesAndFoldersWithoutAProduct)
{
    SetLastError(0);
    EXPECT_EQ(registerProc(GetModuleHandle(nullptr), owner, 0, R"(C:\VL)", 7), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    host::AnswerMessageBox("no product", IDOK);
    EXPECT_EQ(registerProc(GetModuleHandle(nullptr), owner, 0, R"(C:\Empty)", VORB_MODE_FIRST_RUN), nullptr);
    auto boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, R"(There is no product to register in C:\Empty.)");
    EXPECT_EQ(boxes[0].caption, VORB_WIZARD_TITLE);
    // Uninstalling a folder without a product writes nothing.
    EXPECT_EQ(registerProc(GetModuleHandle(nullptr), nullptr, 0, R"(C:\Empty)", VORB_MODE_UNINSTALL), nullptr);
    EXPECT_FALSE(fs::exists(root.path() / "Empty" / "REG.REG"));
    // No folder: the product of the folder the wizard was loaded from.
    HWND wizard = registerProc(GetModuleHandle(nullptr), owner, 0, nullptr, VORB_MODE_FIRST_RUN);
    ASSERT_NE(wizard, nullptr);
    SendMessageA(wizard, WM_COMMAND, IDCANCEL, 0);
    EXPECT_EQ(DoneMessage(), 6u);
    EXPECT_EQ(Profile(R"(C:\VL\REG.REG)", "STATUS"), "6");
}

TEST_F(WizardStandInTest, ResourceLibraryHoldsTheStatusToolsDialogsIconAndTexts)
{
    fs::copy_file(fs::path(VL_VORB_LIBRARY).parent_path() / "VORBREGR.DLL", root.path() / "VL" / "VORBREGR.DLL");
    HMODULE resources = LoadLibrary(R"(C:\VL\VORBREGR.DLL)");
    ASSERT_NE(resources, nullptr);
    EXPECT_NE(FindResource(resources, MAKEINTRESOURCE(IDD_VORBREG_MAIN), RT_DIALOG), nullptr);
    EXPECT_NE(FindResource(resources, MAKEINTRESOURCE(IDD_VORBREG_STATUS), RT_DIALOG), nullptr);
    EXPECT_NE(LoadIcon(resources, MAKEINTRESOURCE(IDI_VORBREG)), nullptr);
    for (UINT id : {1125u, 1126u, 1127u, 1211u, 1220u, 1221u, 1222u, 1223u, 1224u, 2135u, 2285u, 4000u, 4010u}) {
        char text[256] = "";
        EXPECT_GT(LoadString(resources, id, text, sizeof text), 0) << id;
    }
    char title[64] = "";
    LoadString(resources, IDS_VORBREG_TITLE, title, sizeof title);
    EXPECT_STREQ(title, "Product Registration");
    FreeLibrary(resources);
}

}  // namespace
