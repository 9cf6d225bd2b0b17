// The common dialogs answered by the UI script: open with a filter and a default extension,
// save with the overwrite prompt, print returning a printer DC, folder browse, and a dialog
// nothing answers failing with its title.
#include "../../support/UiTest.h"
#include "CommonDialogTestSupport.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <host/Drives.h>
#include <host/Printer.h>

#include <TempDir.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class CommonDialogTest : public ui::UiTest, protected FileNameBuffers {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        char current[MAX_PATH];
        GetCurrentDirectory(MAX_PATH, current);
        saved_ = current;
        std::filesystem::create_directories(dir_.path() / "docs" / "notes");
        dir_.Write("docs/readme.txt", "hello");
        dir_.Write("docs/plain", "no extension");
        host::MapDrive('T', dir_.str(), DRIVE_FIXED, "TESTDRIVE");
        ASSERT_TRUE(SetCurrentDirectory("T:\\"));
    }
    void TearDown() override
    {
        EXPECT_EQ(host::PendingCommonDialogAnswers(), 0u) << "common dialog answers left unused";
        host::ResetDrives();
        SetCurrentDirectory(saved_.c_str());
        UiTest::TearDown();
    }

    TempDir dir_;
    std::string saved_;
};

TEST_F(CommonDialogTest, OpenTakesTheDefaultExtensionAndChecksTheFileExists)
{
    host::AnswerCommonDialog("open", "readme");  // in the initial folder, extension added
    OPENFILENAMEA ofn = Ofn(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_EXPLORER | OFN_LONGNAMES | OFN_READONLY);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\readme.txt");
    EXPECT_STREQ(title_, "readme.txt");
    EXPECT_EQ(ofn.nFileOffset, 8);
    EXPECT_EQ(ofn.nFileExtension, 15);
    EXPECT_FALSE(ofn.Flags & OFN_READONLY) << "hidden read-only box reads unchecked";

    // A missing file is refused with the dialog's message; the next answer is taken.
    host::AnswerCommonDialog("Open", "T:\\docs\\missing.txt");
    host::AnswerMessageBox("File not found.", IDOK);
    host::AnswerCommonDialog("", "T:\\docs\\plain");  // exists without an extension: kept as it is
    ofn = Ofn(OFN_FILEMUSTEXIST);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\plain");
    EXPECT_TRUE(ofn.Flags & OFN_EXTENSIONDIFFERENT);
    std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].caption, "Open");
    EXPECT_EQ(boxes[0].text, "T:\\docs\\missing.txt\nFile not found.\nPlease verify the correct file name was given.");

    // The filter in use gives the extension.
    host::AnswerCommonDialog("open", "picture");
    ofn = Ofn(0);
    ofn.lpstrFilter = "Bitmaps (*.bmp)\0*.bmp\0";
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\picture.bmp");

    host::CancelCommonDialog("open");
    ofn = Ofn(0);
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);

    // OFN_CREATEPROMPT asks before a new file is named; No takes the next answer.
    host::AnswerCommonDialog("open", "draft");
    host::AnswerMessageBox("Do you want to create it?", IDNO);
    host::AnswerCommonDialog("open", "draft2");
    host::AnswerMessageBox("Do you want to create it?", IDYES);
    ofn = Ofn(OFN_CREATEPROMPT);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\draft2.txt");
    EXPECT_EQ(host::MessageBoxLog().back().text, "T:\\docs\\draft2.txt\nThis file does not exist.\nDo you want to create it?");

    std::vector<host::CommonDialogRecord> log = host::CommonDialogLog();
    ASSERT_EQ(log.size(), 5u);
    EXPECT_EQ(log[0].title, "Open");
    EXPECT_EQ(log[0].answer, "T:\\docs\\readme.txt");
    EXPECT_TRUE(log[3].cancelled);
}

TEST_F(CommonDialogTest, SaveAsksBeforeReplacingAndWantsAnExistingPath)
{
    OPENFILENAMEA ofn = Ofn(OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST);
    ofn.lpstrTitle = "Save Article";
    std::strcpy(file_, "article.txt");
    host::AnswerCommonDialog("save", "T:\\nowhere\\article.txt");
    host::AnswerMessageBox("Path does not exist.", IDOK);
    host::AnswerCommonDialog("save", "readme");
    host::AnswerMessageBox("already exists", IDNO);
    host::AnswerCommonDialog("Save Article", "readme.txt");
    host::AnswerMessageBox("already exists", IDYES);
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\readme.txt");
    std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 3u);
    EXPECT_EQ(boxes[1].text, "T:\\docs\\readme.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(boxes[1].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));
    EXPECT_EQ(boxes[1].caption, "Save Article");

    // Names the dialog refuses, each with its message; the next answer is taken.
    ASSERT_TRUE(SetFileAttributes("T:\\docs\\readme.txt", FILE_ATTRIBUTE_READONLY));
    const struct {
        const char* answer;
        const char* message;
    } refused[] = {
        {"a<b", "T:\\docs\\a<b.txt\nThe file name is not valid."},
        {"what?.txt", "T:\\docs\\what?.txt\nThe file name is not valid."},
        {"T:\\docs\\", "T:\\docs\\\nThis is a folder. Choose a file."},
        {"readme.txt", "T:\\docs\\readme.txt\nThis file is set to read-only.\nTry again with a different file name."},
    };
    for (const auto& r : refused) {
        SCOPED_TRACE(r.answer);
        host::ResetUiScript();
        host::AnswerCommonDialog("save", r.answer);
        host::AnswerMessageBox("", IDOK);
        host::AnswerCommonDialog("save", "other");
        ofn = Ofn(OFN_NOREADONLYRETURN | OFN_HIDEREADONLY);
        ASSERT_TRUE(GetSaveFileNameA(&ofn));
        EXPECT_STREQ(file_, "T:\\docs\\other.txt");
        ASSERT_EQ(host::MessageBoxLog().size(), 1u);
        EXPECT_EQ(host::MessageBoxLog()[0].text, r.message);
    }
    SetFileAttributes("T:\\docs\\readme.txt", FILE_ATTRIBUTE_NORMAL);

    // A new name needs no prompt; a buffer too small says how much it needs.
    host::AnswerCommonDialog("save", "fresh");
    ofn = Ofn(OFN_OVERWRITEPROMPT);
    ofn.nMaxFile = 8;
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    EXPECT_EQ(static_cast<unsigned char>(file_[0]), std::strlen("T:\\docs\\fresh.txt") + 1);
}

TEST_F(CommonDialogTest, PrintReturnsAPrinterDC)
{
    host::AnswerCommonDialog("print", "");
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDC;
    pd.nMinPage = 1;
    pd.nMaxPage = 4;
    ASSERT_TRUE(PrintDlgA(&pd));
    ASSERT_NE(pd.hDC, nullptr);
    EXPECT_EQ(GetDeviceCaps(pd.hDC, TECHNOLOGY), DT_RASPRINTER);
    EXPECT_EQ(pd.nFromPage, 1);
    EXPECT_EQ(pd.nToPage, 4);
    EXPECT_EQ(pd.nCopies, 1);
    auto* names = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames));
    ASSERT_NE(names, nullptr);
    EXPECT_EQ(std::string(reinterpret_cast<char*>(names) + names->wDeviceOffset), host::GetPrinter().name);
    GlobalUnlock(pd.hDevNames);
    DeleteDC(pd.hDC);

    // Set-up hands back the settings without a DC; an unknown printer is refused.
    host::AnswerCommonDialog("print setup", "Nowhere Printer");
    host::AnswerMessageBox("not installed", IDOK);
    host::AnswerCommonDialog("Print Setup", host::GetPrinter().name);
    pd.Flags = PD_PRINTSETUP;
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(pd.hDC, nullptr);
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->dmPrintQuality, host::GetPrinter().dpi);
    GlobalUnlock(pd.hDevMode);

    host::CancelCommonDialog("print");
    pd.Flags = PD_RETURNDC;
    EXPECT_FALSE(PrintDlgA(&pd));
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);

    // The default printer without asking.
    PRINTDLGA quiet{};
    quiet.lStructSize = sizeof quiet;
    quiet.Flags = PD_RETURNDEFAULT | PD_RETURNDC;
    ASSERT_TRUE(PrintDlgA(&quiet));
    EXPECT_NE(quiet.hDC, nullptr);
    DeleteDC(quiet.hDC);
    GlobalFree(quiet.hDevMode);
    GlobalFree(quiet.hDevNames);
}

TEST_F(CommonDialogTest, FolderBrowseGivesThePathBack)
{
    host::AnswerCommonDialog("folder", "T:\\docs\\missing");
    host::AnswerMessageBox("does not exist", IDOK);
    host::AnswerCommonDialog("Choose the notes folder", "T:\\docs\\notes\\");
    char name[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.pszDisplayName = name;
    bi.lpszTitle = "Choose the notes folder";
    bi.ulFlags = BIF_RETURNONLYFSDIRS;
    EXPECT_EQ(BrowseForFolder(bi), std::optional<std::string>("T:\\docs\\notes"));
    EXPECT_STREQ(name, "notes");

    host::CancelCommonDialog("folder");
    EXPECT_EQ(SHBrowseForFolderA(&bi), nullptr);
}

TEST_F(CommonDialogTest, UnansweredDialogFailsWithItsTitle)
{
    std::vector<std::string> failures;
    host::SetUiFailureHandler([&](const std::string& m) { failures.push_back(m); });
    OPENFILENAMEA ofn = Ofn(0);
    ofn.lpstrTitle = "Import Notes";
    EXPECT_FALSE(GetOpenFileNameA(&ofn));
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    EXPECT_FALSE(PrintDlgA(&pd));
    ASSERT_EQ(failures.size(), 2u);
    EXPECT_NE(failures[0].find("\"Import Notes\""), std::string::npos) << failures[0];
    EXPECT_NE(failures[1].find("\"Print\""), std::string::npos) << failures[1];
}

}  // namespace
