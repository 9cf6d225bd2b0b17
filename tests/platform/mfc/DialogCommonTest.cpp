// CFileDialog and CPrintDialog answered by the UI script.
#include <afxdlgs.h>

#include <UiTest.h>

#include <host/Drives.h>
#include <host/Printer.h>

#include <TempDir.h>

#include <cstring>
#include <string>

namespace {

class DialogCommonTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        dir_.Write("out/old.txt", "old");
        host::MapDrive('T', dir_.str(), DRIVE_FIXED, "TESTDRIVE");
    }
    void TearDown() override
    {
        EXPECT_EQ(host::PendingCommonDialogAnswers(), 0u);
        host::ResetDrives();
        UiTest::TearDown();
    }
    TempDir dir_;
};

TEST_F(DialogCommonTest, FileDialogSavesWithFilterAndDefaultName)
{
    CFileDialog dlg(FALSE, "txt", "article.txt", OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST,
                    "Text file (*.txt)|*.txt||");
    dlg.m_ofn.lpstrInitialDir = "T:\\out";
    host::AnswerCommonDialog("save", "T:\\out\\old");
    host::AnswerMessageBox("already exists", IDYES);
    ASSERT_EQ(dlg.DoModal(), IDOK);
    EXPECT_STREQ(dlg.GetPathName(), "T:\\out\\old.txt");
    EXPECT_STREQ(dlg.GetFileName(), "old.txt");
    EXPECT_STREQ(dlg.GetFileExt(), "txt");
    EXPECT_STREQ(dlg.GetFileTitle(), "old");
    EXPECT_STREQ(dlg.m_ofn.lpstrFilter, "Text file (*.txt)");
    EXPECT_STREQ(dlg.m_ofn.lpstrFilter + std::strlen("Text file (*.txt)") + 1, "*.txt");

    CFileDialog open(TRUE, NULL, NULL, OFN_FILEMUSTEXIST);
    host::CancelCommonDialog("open");
    EXPECT_EQ(open.DoModal(), IDCANCEL);
}

TEST_F(DialogCommonTest, PrintDialogReturnsThePrinterDC)
{
    CPrintDialog dlg(FALSE, 0);
    host::AnswerCommonDialog("print", "");
    ASSERT_EQ(dlg.DoModal(), IDOK);
    HDC dc = dlg.GetPrinterDC();
    ASSERT_NE(dc, nullptr);
    EXPECT_EQ(GetDeviceCaps(dc, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_STREQ(dlg.GetDeviceName(), host::GetPrinter().name.c_str());
    EXPECT_TRUE(dlg.PrintAll());
    EXPECT_EQ(dlg.GetCopies(), 1);
    DeleteDC(dc);
    HDC again = dlg.CreatePrinterDC();
    EXPECT_NE(again, nullptr);
    DeleteDC(again);
    GlobalFree(dlg.m_pd.hDevMode);
    GlobalFree(dlg.m_pd.hDevNames);

    CPrintDialog setup(TRUE);
    ASSERT_TRUE(setup.GetDefaults());
    EXPECT_EQ(setup.m_pd.hDC, nullptr);
    EXPECT_STREQ(setup.GetDriverName(), "winspool");
    GlobalFree(setup.m_pd.hDevMode);
    GlobalFree(setup.m_pd.hDevNames);
}

}  // namespace
