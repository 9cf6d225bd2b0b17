// A dialog from a library's DIALOG resource: its controls by class name, its font and units,
// Esc ending it; a name that is no resource fails.
#include "../../support/UiTest.h"

#include <windows.h>

#include <string>

namespace {

constexpr int kPlain = 273;   // IDD_PLAIN of the test library
constexpr int kName = 1001;   // its edit
constexpr int kList = 1002;   // its list box
constexpr int kCustom = 1003; // a control of the program's own class

INT_PTR CALLBACK PlainProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM)
{
    if (msg == WM_INITDIALOG)
        return TRUE;
    if (msg == WM_COMMAND && (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)) {
        EndDialog(dlg, LOWORD(wParam));
        return TRUE;
    }
    return FALSE;
}

class DialogResourceTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        library_ = LoadLibrary("vltestlib.dll");
        ASSERT_NE(library_, nullptr);
        WNDCLASSA wc{};
        wc.lpfnWndProc = DefWindowProcA;
        wc.lpszClassName = "VlCustomClass";
        RegisterClassA(&wc);
    }
    void TearDown() override
    {
        UiTest::TearDown();
        FreeLibrary(library_);
    }
    HMODULE library_ = nullptr;
};

TEST_F(DialogResourceTest, ModalDialogFromTheLibrary)
{
    host::RunInNextModalLoop([&](HWND dlg) {
        char text[64];
        GetWindowTextA(dlg, text, sizeof text);
        EXPECT_STREQ(text, "Plain");
        GetClassNameA(GetDlgItem(dlg, kName), text, sizeof text);
        EXPECT_STRCASEEQ(text, "Edit");
        GetClassNameA(GetDlgItem(dlg, kList), text, sizeof text);
        EXPECT_STRCASEEQ(text, "ListBox");
        EXPECT_NE(GetDlgItem(dlg, kCustom), nullptr);
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kName));
        EXPECT_NE(SendMessageA(dlg, WM_GETFONT, 0, 0), 0);
        EXPECT_EQ(SendMessageA(GetDlgItem(dlg, kName), WM_GETFONT, 0, 0), SendMessageA(dlg, WM_GETFONT, 0, 0));
        // The client area is the template's 200 x 100 dialog units.
        RECT units{0, 0, 200, 100};
        ASSERT_TRUE(MapDialogRect(dlg, &units));
        RECT client;
        GetClientRect(dlg, &client);
        EXPECT_EQ(client.right, units.right);
        EXPECT_EQ(client.bottom, units.bottom);
        host::PressKey(VK_ESCAPE);
    });
    EXPECT_EQ(DialogBoxParamA(library_, MAKEINTRESOURCEA(kPlain), nullptr, PlainProc, 0), IDCANCEL);
}

TEST_F(DialogResourceTest, MissingTemplateFails)
{
    SetLastError(0);
    EXPECT_EQ(CreateDialogParamA(library_, MAKEINTRESOURCEA(999), nullptr, PlainProc, 0), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(DialogBoxParamA(library_, "NOSUCHDIALOG", nullptr, PlainProc, 0), -1);
}

}  // namespace
