// CFileDialog and CPrintDialog shown to the user (interactive, no script answer), set up the
// way the encyclopedia sets them up: the article's save dialog and the pane's print dialog.
#include <afxdlgs.h>

#include <DialogDriver.h>
#include <UiTest.h>

#include <host/Drives.h>

#include <TempDir.h>

#include <string>

namespace {

using namespace ui::dialog;

class CommonDialogsInteractiveTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        host::SetInteractive(true);
        dir_.Write("out/old.txt", "old");
        host::MapDrive('T', dir_.str(), DRIVE_FIXED, "TESTDRIVE");
    }
    void TearDown() override
    {
        host::SetInteractive(false);
        host::ResetDrives();
        UiTest::TearDown();
    }
    TempDir dir_;
};

TEST_F(CommonDialogsInteractiveTest, SaveDialogTakesATypedNameWithTheDefaultExtension)
{
    constexpr int kNameEdit = 1152, kFileList = 1120;
    CFileDialog dlg(FALSE, "txt", "article.txt", 0x806, "Text file (*.txt)|*.txt||");
    dlg.m_ofn.lpstrInitialDir = "T:\\out";
    Drive([](HWND box) {
        EXPECT_EQ(Text(box, kNameEdit), "article.txt");
        EXPECT_EQ(Items(box, kFileList), std::vector<std::string>{"old.txt"});
        TypeInto(box, kNameEdit, "summary\r");
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.GetPathName(), "T:\\out\\summary.txt");
    EXPECT_STREQ(dlg.GetFileName(), "summary.txt");
    EXPECT_STREQ(dlg.GetFileExt(), "txt");
}

TEST_F(CommonDialogsInteractiveTest, PrintDialogWithoutPageNumbersPrintsAll)
{
    constexpr int kPages = 1058, kFrom = 1152, kCopies = 1154;
    CPrintDialog dlg(FALSE, 0);
    Drive([](HWND box) {
        // No page range was given (minimum and maximum both 0): only all pages can be printed.
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(box, kPages)));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(box, kFrom)));
        EXPECT_EQ(Text(box, kCopies), "1");
        Key(box, VK_RETURN);
    });
    ASSERT_EQ(dlg.DoModal(), IDOK);
    HDC dc = dlg.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_TRUE(dlg.PrintAll());
    EXPECT_EQ(dlg.GetCopies(), 1);
    DeleteDC(dc);
    GlobalFree(dlg.m_pd.hDevMode);
    GlobalFree(dlg.m_pd.hDevNames);
}

TEST_F(CommonDialogsInteractiveTest, PrintSetupOfTheApplicationKeepsWhatTheUserChose)
{
    constexpr int kPortrait = 1056, kLandscape = 1057;
    CWinApp app("Print Setup");
    Drive([](HWND box) {
        EXPECT_EQ(IsDlgButtonChecked(box, kPortrait), BST_CHECKED);
        Click(box, kLandscape);
        Key(box, VK_RETURN);
    });
    app.OnFilePrintSetup();
    ASSERT_NE(app.m_hDevMode, nullptr);
    CDC dc;
    ASSERT_TRUE(app.CreatePrinterDC(dc));
    EXPECT_GT(dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
    ::DeleteDC(dc.Detach());
    // The next time the dialog opens on the application's settings.
    Drive([](HWND box) {
        EXPECT_EQ(IsDlgButtonChecked(box, kLandscape), BST_CHECKED);
        Key(box, VK_ESCAPE);
    });
    app.OnFilePrintSetup();
}

}  // namespace
