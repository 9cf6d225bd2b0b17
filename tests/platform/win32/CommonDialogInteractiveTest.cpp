// The common dialogs a real user sees: with the platform interactive and no script answer,
// GetOpenFileName, GetSaveFileName, SHBrowseForFolder and PrintDlg show dialogs made of the
// standard controls. Each is driven here with injected keys and clicks, its results checked
// and its picture taken.
#include "CommonDialogTestSupport.h"

#include <windows.h>

#include <commdlg.h>
#include <shlobj.h>

#include <host/Display.h>
#include <host/Drives.h>
#include <host/Printer.h>

#include <DialogDriver.h>
#include <TempDir.h>
#include <UiTest.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace {

using namespace ui::dialog;

class CommonDialogInteractiveTest : public ui::UiTest, protected FileNameBuffers {
protected:
    void SetUp() override
    {
        UiTest::SetUp();
        host::SetInteractive(true);
        dir_.Write("docs/readme.txt", "hello");
        dir_.Write("docs/Notes.TXT", "notes");
        dir_.Write("docs/beta.txt", "beta");
        dir_.Write("docs/image.bmp", "BM");
        dir_.Write("docs/plain", "no extension");
        dir_.Write("docs/notes/todo.txt", "todo");
        std::filesystem::create_directories(dir_.path() / "docs" / "Archive" / "old");
        dir_.Write("other/u.txt", "u");
        host::MapDrive('T', (dir_.path()).string(), DRIVE_FIXED, "TESTDRIVE");
        host::MapDrive('U', (dir_.path() / "other").string(), DRIVE_REMOVABLE, "STICK");
    }
    void TearDown() override
    {
        host::SetInteractive(false);
        host::ResetDrives();
        UiTest::TearDown();
    }

    TempDir dir_;
};

// The classic ids of the open and save dialog's controls.
constexpr int kReadOnly = 1040, kFolderPath = 1088, kFileList = 1120, kFolderList = 1121, kTypeCombo = 1136,
              kDriveCombo = 1137, kNameEdit = 1152;

TEST_F(CommonDialogInteractiveTest, OpenListsFilesAndFoldersFiltersEntersFoldersAndReturnsTheChoice)
{
    Drive([&](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Open");
        // Files of the filter, sorted whatever their case; the folder's parents and subfolders.
        EXPECT_EQ(Items(dlg, kFileList), (std::vector<std::string>{"beta.txt", "Notes.TXT", "readme.txt"}));
        EXPECT_EQ(Items(dlg, kFolderList), (std::vector<std::string>{"T:\\", "  docs", "    Archive", "    notes"}));
        EXPECT_EQ(Selected(dlg, kFolderList), 1);
        EXPECT_EQ(Text(dlg, kFolderPath), "T:\\docs");
        EXPECT_EQ(Text(dlg, kNameEdit), "*.txt");
        EXPECT_EQ(Items(dlg, kTypeCombo, true), (std::vector<std::string>{"Text file (*.txt)", "All files (*.*)"}));
        std::vector<std::string> drives = Items(dlg, kDriveCombo, true);
        int drive = Selected(dlg, kDriveCombo, true);
        ASSERT_GE(drive, 0);
        EXPECT_EQ(drives[static_cast<size_t>(drive)], "t: [TESTDRIVE]");
        EXPECT_NE(GetDlgItem(dlg, kReadOnly), nullptr);
        Screenshot(dlg, "commdlg-open.png");

        // Another type of file with the keyboard.
        FocusOn(dlg, kTypeCombo);
        Key(dlg, VK_DOWN);
        EXPECT_EQ(Items(dlg, kFileList),
                  (std::vector<std::string>{"beta.txt", "image.bmp", "Notes.TXT", "plain", "readme.txt"}));
        EXPECT_EQ(Text(dlg, kNameEdit), "*.*");

        // A pattern typed filters the list; a folder's name enters it.
        TypeInto(dlg, kNameEdit, "*.bmp\r");
        EXPECT_EQ(Items(dlg, kFileList), std::vector<std::string>{"image.bmp"});
        TypeInto(dlg, kNameEdit, "notes\r");
        EXPECT_EQ(Text(dlg, kFolderPath), "T:\\docs\\notes");
        EXPECT_EQ(Items(dlg, kFolderList), (std::vector<std::string>{"T:\\", "  docs", "    notes"}));
        TypeInto(dlg, kNameEdit, "*.txt\r");
        EXPECT_EQ(Items(dlg, kFileList), std::vector<std::string>{"todo.txt"});

        // A double click on a parent goes back up.
        ClickItem(dlg, kFolderList, 1, true);
        EXPECT_EQ(Text(dlg, kFolderPath), "T:\\docs");
        EXPECT_EQ(Items(dlg, kFileList), (std::vector<std::string>{"beta.txt", "Notes.TXT", "readme.txt"}));

        // Enter in the folder list enters the folder chosen there, and the dialog stays.
        FocusOn(dlg, kFolderList);
        Key(dlg, VK_DOWN);
        Key(dlg, VK_RETURN);
        EXPECT_EQ(Text(dlg, kFolderPath), "T:\\docs\\Archive");
        EXPECT_EQ(Items(dlg, kFolderList), (std::vector<std::string>{"T:\\", "  docs", "    Archive", "      old"}));
        Key(dlg, VK_UP);
        Key(dlg, VK_RETURN);
        EXPECT_EQ(Text(dlg, kFolderPath), "T:\\docs");
        EXPECT_TRUE(IsWindowVisible(dlg));

        // A missing file is refused with the message; the dialog stays.
        host::AnswerMessageBox("File not found.", IDOK);
        TypeInto(dlg, kNameEdit, "missing\r");
        EXPECT_TRUE(IsWindowVisible(dlg));
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kNameEdit));

        // A click on a file names it; read only; OK.
        ClickItem(dlg, kFileList, 1);
        EXPECT_EQ(Text(dlg, kNameEdit), "Notes.TXT");
        Click(dlg, kReadOnly);
        Click(dlg, IDOK);
    });
    OPENFILENAMEA ofn = Ofn(OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\Notes.TXT");
    EXPECT_STREQ(title_, "Notes.TXT");
    EXPECT_EQ(ofn.nFileOffset, 8);
    EXPECT_EQ(ofn.nFileExtension, 14);
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_TRUE(ofn.Flags & OFN_READONLY);
    std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "T:\\docs\\missing.txt\nFile not found.\nPlease verify the correct file name was given.");
    EXPECT_EQ(boxes[0].caption, "Open");
    std::vector<host::CommonDialogRecord> log = host::CommonDialogLog();
    ASSERT_EQ(log.size(), 1u);
    EXPECT_EQ(log[0].answer, "T:\\docs\\Notes.TXT");

    // The filter chosen comes back; a double click on a file chooses it.
    Drive([&](HWND dlg) {
        FocusOn(dlg, kTypeCombo);
        Key(dlg, VK_DOWN);
        ClickItem(dlg, kFileList, 3, true);  // plain
    });
    ofn = Ofn(OFN_FILEMUSTEXIST | OFN_HIDEREADONLY);
    ASSERT_TRUE(GetOpenFileNameA(&ofn));
    EXPECT_STREQ(file_, "T:\\docs\\plain");
    EXPECT_EQ(ofn.nFilterIndex, 2u);
    EXPECT_FALSE(ofn.Flags & OFN_READONLY);
}

TEST_F(CommonDialogInteractiveTest, SaveAsksBeforeReplacingChangesDriveAndCancels)
{
    Drive([&](HWND dlg) {
        char caption[64] = {};
        GetWindowTextA(dlg, caption, sizeof caption);
        EXPECT_STREQ(caption, "Save Article");
        EXPECT_EQ(GetDlgItem(dlg, kReadOnly), nullptr) << "OFN_HIDEREADONLY";
        EXPECT_EQ(Text(dlg, kNameEdit), "article");
        Screenshot(dlg, "commdlg-save.png");

        host::AnswerMessageBox("already exists", IDNO);
        TypeInto(dlg, kNameEdit, "readme\r");
        EXPECT_TRUE(IsWindowVisible(dlg));

        // The next drive: its root and its files.
        FocusOn(dlg, kDriveCombo);
        Key(dlg, VK_DOWN);
        EXPECT_EQ(Text(dlg, kFolderPath), "U:\\");
        EXPECT_EQ(Items(dlg, kFileList), std::vector<std::string>{"u.txt"});
        EXPECT_EQ(Items(dlg, kFolderList), std::vector<std::string>{"U:\\"});
        TypeInto(dlg, kNameEdit, "fresh\r");
    });
    OPENFILENAMEA ofn = Ofn(OFN_OVERWRITEPROMPT | OFN_HIDEREADONLY);
    ofn.lpstrTitle = "Save Article";
    std::strcpy(file_, "article");
    ASSERT_TRUE(GetSaveFileNameA(&ofn));
    EXPECT_STREQ(file_, "U:\\fresh.txt");
    std::vector<host::MessageBoxRecord> boxes = host::MessageBoxLog();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "T:\\docs\\readme.txt already exists.\nDo you want to replace it?");
    EXPECT_EQ(boxes[0].type & MB_TYPEMASK, static_cast<UINT>(MB_YESNO));

    // Escape cancels: FALSE and no extended error.
    Drive([](HWND dlg) { Key(dlg, VK_ESCAPE); });
    ofn = Ofn(OFN_OVERWRITEPROMPT);
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_TRUE(host::CommonDialogLog().back().cancelled);

    // The chosen path does not fit: FALSE, FNERR_BUFFERTOOSMALL and the size needed.
    Drive([](HWND dlg) { TypeInto(dlg, kNameEdit, "a rather long name\r"); });
    ofn = Ofn(0);
    ofn.nMaxFile = 10;
    EXPECT_FALSE(GetSaveFileNameA(&ofn));
    EXPECT_EQ(CommDlgExtendedError(), static_cast<DWORD>(FNERR_BUFFERTOOSMALL));
    WORD need = 0;
    std::memcpy(&need, file_, sizeof need);
    EXPECT_EQ(need, std::strlen("T:\\docs\\a rather long name.txt") + 1);
}

constexpr int kTree = 14145, kTreeTitle = 14146, kTreeStatus = 14147;

struct BrowseLog {
    std::vector<std::pair<UINT, std::string>> calls;
    std::string start;
};

int CALLBACK BrowseCallback(HWND dlg, UINT msg, LPARAM lParam, LPARAM data)
{
    auto* log = reinterpret_cast<BrowseLog*>(data);
    char path[MAX_PATH] = {};
    if (msg == BFFM_SELCHANGED)
        SHGetPathFromIDListA(reinterpret_cast<LPCITEMIDLIST>(lParam), path);
    log->calls.emplace_back(msg, path);
    if (msg == BFFM_INITIALIZED && !log->start.empty())
        SendMessageA(dlg, BFFM_SETSELECTION, TRUE, reinterpret_cast<LPARAM>(log->start.c_str()));
    if (msg == BFFM_SELCHANGED) {
        // The caller shows the path and does not let the folder it started in be chosen.
        SendMessageA(dlg, BFFM_SETSTATUSTEXT, 0, reinterpret_cast<LPARAM>(path));
        SendMessageA(dlg, BFFM_ENABLEOK, 0, log->start != path);
    }
    return 0;
}

TEST_F(CommonDialogInteractiveTest, FolderTreeOpensAndClosesNodesAndReturnsTheFolder)
{
    BrowseLog calls;
    calls.start = "T:\\docs";
    Drive([&](HWND dlg) {
        EXPECT_EQ(Text(dlg, kTreeTitle), "Choose the notes folder");
        // The drives, T: opened down to the folder the callback chose.
        std::vector<std::string> tree = Items(dlg, kTree);
        int docs = Selected(dlg, kTree);
        ASSERT_GE(docs, 1);
        EXPECT_EQ(tree[static_cast<size_t>(docs) - 1], "TESTDRIVE (T:)");
        EXPECT_EQ(tree[static_cast<size_t>(docs)], "docs");
        size_t count = tree.size();
        EXPECT_EQ(Text(dlg, kTreeStatus), "T:\\docs");
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));

        FocusOn(dlg, kTree);
        Key(dlg, VK_ADD);  // opens docs: Archive and notes below it
        tree = Items(dlg, kTree);
        ASSERT_EQ(tree.size(), count + 2);
        EXPECT_EQ(tree[static_cast<size_t>(docs) + 1], "Archive");
        EXPECT_EQ(tree[static_cast<size_t>(docs) + 2], "notes");
        Key(dlg, VK_DOWN);
        EXPECT_EQ(Selected(dlg, kTree), docs + 1);
        EXPECT_EQ(Text(dlg, kTreeStatus), "T:\\docs\\Archive");
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        Key(dlg, VK_RETURN);  // Enter on a closed folder with subfolders opens it
        EXPECT_EQ(Items(dlg, kTree).size(), count + 3);
        EXPECT_TRUE(IsWindowVisible(dlg));
        Key(dlg, VK_SUBTRACT);
        EXPECT_EQ(Items(dlg, kTree).size(), count + 2);
        Key(dlg, VK_UP);
        Key(dlg, VK_SUBTRACT);  // closes docs
        EXPECT_EQ(Items(dlg, kTree).size(), count);
        ClickItem(dlg, kTree, docs, true);  // a double click opens it again
        EXPECT_EQ(Items(dlg, kTree).size(), count + 2);
        ClickItem(dlg, kTree, docs + 2);
        EXPECT_EQ(Selected(dlg, kTree), docs + 2);
        EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dlg, IDOK)));
        Screenshot(dlg, "commdlg-folder.png");
        Key(dlg, VK_RETURN);  // notes has no subfolders: Enter chooses it
    });
    char name[MAX_PATH] = {};
    BROWSEINFOA bi{};
    bi.pszDisplayName = name;
    bi.lpszTitle = "Choose the notes folder";
    bi.ulFlags = BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT;
    bi.lpfn = BrowseCallback;
    bi.lParam = reinterpret_cast<LPARAM>(&calls);
    EXPECT_EQ(BrowseForFolder(bi), std::optional<std::string>("T:\\docs\\notes"));
    EXPECT_STREQ(name, "notes");
    ASSERT_GE(calls.calls.size(), 2u);
    EXPECT_EQ(calls.calls[0].first, static_cast<UINT>(BFFM_INITIALIZED));
    EXPECT_EQ(calls.calls[1], (std::pair<UINT, std::string>{BFFM_SELCHANGED, "T:\\docs"}));
    EXPECT_EQ(calls.calls.back(), (std::pair<UINT, std::string>{BFFM_SELCHANGED, "T:\\docs\\notes"}));

    // Rooted at a folder: the tree starts there, open; Cancel gives nothing.
    host::AnswerCommonDialog("folder", "T:\\docs");  // a script answer comes first, even interactive
    LPITEMIDLIST root = SHBrowseForFolderA(&bi);
    ASSERT_NE(root, nullptr);
    Drive([](HWND dlg) {
        EXPECT_EQ(Items(dlg, kTree), (std::vector<std::string>{"T:\\docs", "Archive", "notes"}));
        Click(dlg, IDCANCEL);
    });
    BROWSEINFOA rooted{};
    rooted.pidlRoot = root;
    EXPECT_EQ(SHBrowseForFolderA(&rooted), nullptr);

    // A folder outside the root is no answer either when the script gives it.
    host::AnswerCommonDialog("folder", "U:\\");
    host::AnswerMessageBox("The folder is not in T:\\docs.", IDOK);
    host::AnswerCommonDialog("folder", "t:\\DOCS\\notes");
    EXPECT_EQ(BrowseForFolder(rooted), std::optional<std::string>("t:\\DOCS\\notes"));
    ILFree(root);
}

constexpr int kToFile = 1040, kCollate = 1041, kAll = 1056, kSelection = 1057, kPages = 1058, kPrinter = 1139,
              kFrom = 1152, kTo = 1153, kCopies = 1154, kSetup = 1024, kPortrait = 1056, kLandscape = 1057,
              kPaper = 1137;

TEST_F(CommonDialogInteractiveTest, PrintChecksThePageRangeAndTakesCopiesCollationAndSetup)
{
    Drive([&](HWND dlg) {
        EXPECT_EQ(Items(dlg, kPrinter, true), std::vector<std::string>{host::GetPrinter().name});
        EXPECT_EQ(Selected(dlg, kPrinter, true), 0);
        EXPECT_EQ(IsDlgButtonChecked(dlg, kAll), static_cast<UINT>(BST_CHECKED));
        EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dlg, kSelection))) << "PD_NOSELECTION";
        EXPECT_EQ(Text(dlg, kFrom), "1");
        EXPECT_EQ(Text(dlg, kTo), "10");
        EXPECT_EQ(Text(dlg, kCopies), "1");
        EXPECT_NE(GetDlgItem(dlg, kToFile), nullptr);
        Screenshot(dlg, "commdlg-print.png");

        // Typing a page chooses the page range; one past the last page is refused.
        host::AnswerMessageBox("not within the page range", IDOK);
        TypeInto(dlg, kFrom, "12\r");
        EXPECT_EQ(IsDlgButtonChecked(dlg, kPages), static_cast<UINT>(BST_CHECKED));
        EXPECT_TRUE(IsWindowVisible(dlg));
        EXPECT_EQ(GetFocus(), GetDlgItem(dlg, kFrom));
        host::AnswerMessageBox("cannot be greater", IDOK);
        TypeInto(dlg, kFrom, "6");
        TypeInto(dlg, kTo, "5\r");
        EXPECT_TRUE(IsWindowVisible(dlg));
        TypeInto(dlg, kFrom, "3");
        TypeInto(dlg, kCopies, "2");
        Click(dlg, kCollate);

        // Set-up from here: landscape on A4.
        host::RunInNextModalLoop([](HWND setup) {
            Pump(setup);
            char caption[64] = {};
            GetWindowTextA(setup, caption, sizeof caption);
            EXPECT_STREQ(caption, "Print Setup");
            Click(setup, kLandscape);
            FocusOn(setup, kPaper);
            Key(setup, VK_DOWN);
            Key(setup, VK_RETURN);
        });
        Click(dlg, kSetup);
        EXPECT_TRUE(IsWindowVisible(dlg));
        Click(dlg, IDOK);
    });
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_RETURNDC | PD_NOSELECTION;
    pd.nMinPage = 1;
    pd.nMaxPage = 10;
    pd.nFromPage = 1;
    pd.nToPage = 10;
    pd.nCopies = 1;
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_TRUE(pd.Flags & PD_PAGENUMS);
    EXPECT_TRUE(pd.Flags & PD_COLLATE);
    EXPECT_FALSE(pd.Flags & PD_PRINTTOFILE);
    EXPECT_EQ(pd.nFromPage, 3);
    EXPECT_EQ(pd.nToPage, 5);
    EXPECT_EQ(pd.nCopies, 2);
    ASSERT_EQ(host::MessageBoxLog().size(), 2u);
    EXPECT_EQ(host::MessageBoxLog()[0].caption, "Print");
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_TRUE(mode->dmFields & DM_PAPERSIZE);
    EXPECT_EQ(mode->dmPaperSize, DMPAPER_A4);
    EXPECT_EQ(mode->dmCopies, 2);
    GlobalUnlock(pd.hDevMode);
    ASSERT_NE(pd.hDC, nullptr);
    EXPECT_GT(GetDeviceCaps(pd.hDC, HORZRES), GetDeviceCaps(pd.hDC, VERTRES)) << "landscape";
    DeleteDC(pd.hDC);

    // Print to file, all pages again; the settings of the last run are kept.
    Drive([](HWND dlg) {
        Click(dlg, kAll);
        Click(dlg, kToFile);
        Key(dlg, VK_RETURN);
    });
    pd.Flags &= ~static_cast<DWORD>(PD_RETURNDC);
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_FALSE(pd.Flags & PD_PAGENUMS);
    EXPECT_TRUE(pd.Flags & PD_PRINTTOFILE);
    EXPECT_EQ(pd.nFromPage, 1);
    EXPECT_EQ(pd.nToPage, 10);
    auto* names = static_cast<DEVNAMES*>(GlobalLock(pd.hDevNames));
    ASSERT_NE(names, nullptr);
    EXPECT_STREQ(reinterpret_cast<char*>(names) + names->wOutputOffset, "FILE:");
    GlobalUnlock(pd.hDevNames);
    mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode));
    EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
    GlobalUnlock(pd.hDevMode);
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);
}

TEST_F(CommonDialogInteractiveTest, PrintSetupChoosesOrientationAndPaper)
{
    Drive([](HWND dlg) {
        EXPECT_EQ(IsDlgButtonChecked(dlg, kPortrait), static_cast<UINT>(BST_CHECKED));
        std::vector<std::string> papers = Items(dlg, kPaper, true);
        ASSERT_EQ(papers.size(), 2u);
        EXPECT_EQ(papers[static_cast<size_t>(Selected(dlg, kPaper, true))], "Letter 8 1/2 x 11 in");
        Screenshot(dlg, "commdlg-print-setup.png");
        Key(dlg, VK_ESCAPE);
    });
    PRINTDLGA pd{};
    pd.lStructSize = sizeof pd;
    pd.Flags = PD_PRINTSETUP;
    EXPECT_FALSE(PrintDlgA(&pd));
    EXPECT_EQ(pd.hDevMode, nullptr);

    Drive([](HWND dlg) {
        Click(dlg, kLandscape);
        EXPECT_EQ(IsDlgButtonChecked(dlg, kLandscape), static_cast<UINT>(BST_CHECKED));
        EXPECT_EQ(IsDlgButtonChecked(dlg, kPortrait), static_cast<UINT>(BST_UNCHECKED));
        Click(dlg, IDOK);
    });
    ASSERT_TRUE(PrintDlgA(&pd));
    EXPECT_EQ(pd.hDC, nullptr);
    auto* mode = static_cast<DEVMODEA*>(GlobalLock(pd.hDevMode));
    ASSERT_NE(mode, nullptr);
    EXPECT_EQ(mode->dmOrientation, DMORIENT_LANDSCAPE);
    EXPECT_EQ(mode->dmPaperSize, DMPAPER_LETTER);
    GlobalUnlock(pd.hDevMode);
    GlobalFree(pd.hDevMode);
    GlobalFree(pd.hDevNames);
}

}  // namespace
