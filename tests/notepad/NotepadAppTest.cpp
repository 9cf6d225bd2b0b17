// The plain-text editor in the test process: files kept byte for byte, files it cannot hold
// refused, the question before changes are lost, the recent-file list, its window (wrapping
// view, toolbar, status bar and its key indicators, the View toggles) and its pictures.
#include "MainFrame.h"
#include "PadApp.h"
#include "PadDoc.h"
#include "PadView.h"
#include "resource.h"

#include <host/Desktop.h>
#include <host/Display.h>
#include <host/Drives.h>
#include <host/Input.h>
#include <host/Printer.h>
#include <host/UiScript.h>

#include <dlgs.h>

#include <PdfReader.h>
#include <TempDir.h>
#include <UiTest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>

namespace {

class NotepadAppTest : public ui::UiTest {
protected:
    TempDir dir;
    std::unique_ptr<CPadApp> app;
    std::string profile;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        host::MapDrive('T', dir.str());
        profile = "T:\\notepad.ini";
    }

    void TearDown() override
    {
        Stop();
        host::UnmapDrive('T');
        host::UnmapDrive('R');
        ui::UiTest::TearDown();
    }

    // Starts the editor with a command line, as the class library's WinMain would.
    BOOL Start(const char* commandLine = "")
    {
        app = std::make_unique<CPadApp>();
        cmdLine = commandLine;
        app->m_lpCmdLine = cmdLine.data();
        app->m_pszProfileName = profile.c_str();
        app->m_nCmdShow = SW_SHOWNORMAL;
        app->SetCurrentHandles();
        BOOL ok = app->InitInstance();
        ui::PumpUntilIdle();
        Idle();
        return ok;
    }

    // Ends it the way its message loop does: the window goes, then ExitInstance.
    void Stop()
    {
        if (!app)
            return;
        if (app->m_pMainWnd != nullptr && app->m_pMainWnd->m_hWnd != nullptr)
            app->m_pMainWnd->DestroyWindow();
        app->m_pMainWnd = nullptr;
        ui::PumpUntilIdle();
        app->ExitInstance();
        app.reset();
        // A WM_QUIT left by the main window's end must not reach the next start.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }

    void Idle()
    {
        for (LONG i = 0; i < 4 && app->OnIdle(i); ++i) {
        }
    }

    CMainFrame* Frame() const { return static_cast<CMainFrame*>(app->m_pMainWnd); }
    CPadView* View() const { return static_cast<CPadView*>(Frame()->GetActiveView()); }
    CPadDoc* Doc() const { return static_cast<CPadDoc*>(Frame()->GetActiveDocument()); }
    std::string Title() const
    {
        CString title;
        Frame()->GetWindowText(title);
        return static_cast<LPCSTR>(title);
    }
    std::string Text() const
    {
        CString text;
        View()->GetWindowText(text);
        return std::string(static_cast<LPCSTR>(text), static_cast<size_t>(text.GetLength()));
    }
    void Type(const std::string& text)
    {
        int end = View()->GetWindowTextLength();
        View()->GetEditCtrl().SetSel(end, end);
        View()->GetEditCtrl().ReplaceSel(text.c_str(), TRUE);
    }
    void Command(UINT id)
    {
        Frame()->SendMessage(WM_COMMAND, id);
        ui::PumpUntilIdle();
        if (app && app->m_pMainWnd)
            Idle();
    }
    std::vector<std::string> Messages() const
    {
        std::vector<std::string> texts;
        for (const auto& box : host::MessageBoxLog())
            texts.push_back(box.text);
        return texts;
    }

    std::string cmdLine;
};

// ---- Files kept byte for byte, and those that are refused ----------------------------------------

TEST_F(NotepadAppTest, OpenAndSaveUnchangedKeepsEveryByte)
{
    std::string high;
    for (int c = 0x80; c <= 0xFF; ++c)
        high += static_cast<char>(c);
    std::string atLimit;
    while (atLimit.size() < CEditView::nMaxSize)
        atLimit += "A line of the largest file the editor holds, ending in CR LF.\r\n";
    atLimit.resize(CEditView::nMaxSize);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"empty.txt", ""},
        {"crlf.txt", "first line\r\nsecond line\r\n"},
        {"lf.txt", "bare\nline feeds\nonly"},
        {"high.txt", high},
        {"limit.txt", atLimit},
    };
    ASSERT_TRUE(Start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write(c.name, c.bytes);
        std::string path = std::string("T:\\") + c.name;
        ASSERT_NE(app->OpenDocumentFile(path.c_str()), nullptr);
        EXPECT_EQ(Title(), std::string(c.name) + " - Veltra Notepad");
        EXPECT_EQ(Text().size(), c.bytes.size());
        EXPECT_FALSE(Doc()->IsModified());
        Command(ID_FILE_SAVE);
        EXPECT_TRUE(dir.Read(c.name) == c.bytes);
        EXPECT_FALSE(std::filesystem::exists(dir.path() / (std::string(c.name) + ".~1")));
    }
    EXPECT_TRUE(Messages().empty());
}

TEST_F(NotepadAppTest, FilesTheControlCannotHoldWholeAreRefused)
{
    std::string tooLarge(CEditView::nMaxSize + 1, 'x');
    const struct {
        const char* name;
        std::string bytes;
        const char* message;
    } cases[] = {
        {"large.txt", tooLarge, "The file is too large to open."},
        {"nul.txt", std::string("before\0after", 12), "Unexpected file format."},
    };
    ASSERT_TRUE(Start());
    Type("kept");
    Doc()->SetModifiedFlag(FALSE);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        dir.Write(c.name, c.bytes);
        host::AnswerMessageBox(c.message, IDOK);
        std::string path = std::string("T:\\") + c.name;
        EXPECT_EQ(app->OpenDocumentFile(path.c_str()), nullptr);
        // Nothing of it is shown, and nothing can be saved back over it.
        EXPECT_EQ(Text(), "");
        EXPECT_EQ(Title(), "Untitled - Veltra Notepad");
        EXPECT_TRUE(Doc()->GetPathName().IsEmpty());
        EXPECT_TRUE(dir.Read(c.name) == c.bytes);
    }
    EXPECT_EQ(Messages().size(), 2u);
}

// ---- The question before changes are lost --------------------------------------------------------

TEST_F(NotepadAppTest, ClosingAChangedDocumentAsksFirst)
{
    enum class Ends { Saved, Dropped, StaysOpen };
    const struct {
        const char* what;
        bool titled;
        int answer;
        const char* saveAs;  // the Save As answer: a path, "" to cancel, nullptr when not asked
        Ends ends;
    } cases[] = {
        {"yes saves", true, IDYES, nullptr, Ends::Saved},
        {"no drops the changes", true, IDNO, nullptr, Ends::Dropped},
        {"cancel keeps it open", true, IDCANCEL, nullptr, Ends::StaysOpen},
        {"yes on untitled asks for a name", false, IDYES, "T:\\named.txt", Ends::Saved},
        {"cancelled Save As keeps it open", false, IDYES, "", Ends::StaysOpen},
    };
    ASSERT_TRUE(Start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        host::ResetUiScript();
        Command(ID_FILE_NEW);
        std::string file = c.titled ? "T:\\notes.txt" : "T:\\named.txt";
        std::filesystem::remove(dir.path() / "named.txt");
        if (c.titled) {
            dir.Write("notes.txt", "old\r\n");
            ASSERT_NE(app->OpenDocumentFile(file.c_str()), nullptr);
        }
        Type("new words");
        ASSERT_TRUE(Doc()->IsModified());
        std::string title = c.titled ? "notes.txt" : "Untitled";
        host::AnswerMessageBox("Save changes to " + title + "?", c.answer);
        if (c.saveAs != nullptr) {
            if (*c.saveAs)
                host::AnswerCommonDialog("save", c.saveAs);
            else
                host::CancelCommonDialog("save");
        }
        Command(ID_FILE_CLOSE);
        ASSERT_EQ(Messages().size(), 1u);
        EXPECT_EQ(Messages()[0], "Save changes to " + title + "?");
        std::string onDisk = dir.Read(c.titled ? "notes.txt" : "named.txt");
        switch (c.ends) {
        case Ends::Saved:
            EXPECT_EQ(onDisk, c.titled ? "old\r\nnew words" : "new words");
            EXPECT_EQ(Title(), "Untitled - Veltra Notepad");
            EXPECT_EQ(Text(), "");
            break;
        case Ends::Dropped:
            EXPECT_EQ(onDisk, "old\r\n");
            EXPECT_EQ(Title(), "Untitled - Veltra Notepad");
            EXPECT_EQ(Text(), "");
            break;
        case Ends::StaysOpen:
            EXPECT_EQ(onDisk, c.titled ? "old\r\n" : "");
            EXPECT_EQ(Title(), title + " - Veltra Notepad");
            EXPECT_TRUE(Doc()->IsModified());
            EXPECT_NE(Text().find("new words"), std::string::npos);
            break;
        }
        Doc()->SetModifiedFlag(FALSE);
    }
}

TEST_F(NotepadAppTest, AFailedSaveKeepsTheOldFileAndTheChanges)
{
    // A read-only drive stands for a folder the user may not write to.
    dir.Write("ro/locked.txt", "the old text\r\n");
    host::MapDrive('R', (dir.path() / "ro").string(), DRIVE_CDROM);
    ASSERT_TRUE(Start());
    ASSERT_NE(app->OpenDocumentFile("R:\\locked.txt"), nullptr);
    Type("more");
    // The file is read-only there, so Yes asks for a name; the same one is chosen again.
    host::AnswerMessageBox("Save changes to locked.txt?", IDYES);
    host::AnswerCommonDialog("save", "R:\\locked.txt");
    host::AnswerMessageBox("already exists", IDYES);
    host::AnswerMessageBox("R:\\locked.txt", IDOK);
    // Closing the window: the save fails, so the program stays with its changes.
    Frame()->SendMessage(WM_CLOSE);
    ui::PumpUntilIdle();
    ASSERT_NE(app->m_pMainWnd, nullptr);
    ASSERT_EQ(Messages().size(), 3u);
    EXPECT_NE(Messages()[2].find("Unable to write to R:\\locked.txt"), std::string::npos) << Messages()[2];
    EXPECT_EQ(dir.Read("ro/locked.txt"), "the old text\r\n");
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Text(), "the old text\r\nmore");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "ro"), {}), 1);
    Doc()->SetModifiedFlag(FALSE);
}

// A drive without room for the new file: the save fails with the class library's message, the
// old file stays whole beside no half-written copy, and the document keeps its changes.
TEST_F(NotepadAppTest, ASaveOntoAFullDiskKeepsTheOldFileAndTheChanges)
{
    dir.Write("full/notes.txt", "the old text\r\n");
    host::MapDrive('F', (dir.path() / "full").string());
    ASSERT_TRUE(host::SetDriveFreeSpace('F', 8, 1000000));
    ASSERT_TRUE(Start("F:\\notes.txt"));
    Type("more than eight bytes");
    host::AnswerMessageBox("Destination disk drive is full.", IDOK);
    Command(ID_FILE_SAVE);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(dir.Read("full/notes.txt"), "the old text\r\n");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path() / "full"), {}), 1);
    EXPECT_TRUE(Doc()->IsModified());
    EXPECT_EQ(Text(), "the old text\r\nmore than eight bytes");
    // With room again the same save goes through.
    ASSERT_TRUE(host::ClearDriveFreeSpace('F'));
    Command(ID_FILE_SAVE);
    EXPECT_EQ(dir.Read("full/notes.txt"), "the old text\r\nmore than eight bytes");
    EXPECT_FALSE(Doc()->IsModified());
}

TEST_F(NotepadAppTest, SavingReplacesTheFileOnlyOnceTheNewOneIsWhole)
{
    dir.Write("page.txt", "one\r\n");
    ASSERT_TRUE(Start("T:\\page.txt"));
    EXPECT_EQ(Title(), "page.txt - Veltra Notepad");
    Type("two\r\n");
    Command(ID_FILE_SAVE);
    EXPECT_EQ(dir.Read("page.txt"), "one\r\ntwo\r\n");
    EXPECT_FALSE(Doc()->IsModified());
    // Save As writes the other file and the document takes its name.
    host::AnswerCommonDialog("save", "T:\\copy.txt");
    Command(ID_FILE_SAVE_AS);
    EXPECT_EQ(dir.Read("copy.txt"), "one\r\ntwo\r\n");
    EXPECT_EQ(Title(), "copy.txt - Veltra Notepad");
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 3);  // and the profile
}

// ---- Recent files --------------------------------------------------------------------------------

TEST_F(NotepadAppTest, RecentFilesKeepTheNewestFourAcrossARestart)
{
    ASSERT_TRUE(Start());
    HMENU fileMenu = ::GetSubMenu(::GetMenu(Frame()->m_hWnd), 0);
    CMenu* file = nullptr;
    auto menuTexts = [&] {
        Frame()->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(fileMenu), 0);
        file = CMenu::FromHandle(fileMenu);
        std::vector<std::string> texts;
        for (UINT i = 0; i < file->GetMenuItemCount(); ++i) {
            UINT id = file->GetMenuItemID(static_cast<int>(i));
            if (id >= ID_FILE_MRU_FILE1 && id <= ID_FILE_MRU_FILE16) {
                CString text;
                file->GetMenuString(i, text, MF_BYPOSITION);
                texts.push_back(static_cast<LPCSTR>(text));
            }
        }
        return texts;
    };
    // While empty: the one item, greyed.
    EXPECT_EQ(menuTexts(), std::vector<std::string>{"Recent File"});
    EXPECT_TRUE(::GetMenuState(fileMenu, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    for (const char* name : {"a.txt", "b.txt", "c.txt", "d.txt", "e.txt"}) {
        dir.Write(name, name);
        ASSERT_NE(app->OpenDocumentFile((std::string("T:\\") + name).c_str()), nullptr);
    }
    const std::vector<std::string> expected = {"&1 T:\\e.txt", "&2 T:\\d.txt", "&3 T:\\c.txt", "&4 T:\\b.txt"};
    EXPECT_EQ(menuTexts(), expected);
    EXPECT_FALSE(::GetMenuState(fileMenu, ID_FILE_MRU_FILE1, MF_BYCOMMAND) & MF_GRAYED);

    Stop();
    ASSERT_TRUE(Start());
    fileMenu = ::GetSubMenu(::GetMenu(Frame()->m_hWnd), 0);
    EXPECT_EQ(menuTexts(), expected);

    // An entry whose file is gone says so and leaves the list.
    std::filesystem::remove(dir.path() / "d.txt");
    host::AnswerMessageBox("Cannot find this file", IDOK);
    Command(ID_FILE_MRU_FILE2);
    ASSERT_EQ(Messages().size(), 1u);
    EXPECT_EQ(Messages()[0].rfind("T:\\d.txt\n", 0), 0u) << Messages()[0];
    EXPECT_EQ(menuTexts(), (std::vector<std::string>{"&1 T:\\e.txt", "&2 T:\\c.txt", "&3 T:\\b.txt"}));
    // A working entry opens its file and comes first.
    Command(ID_FILE_MRU_FILE3);
    EXPECT_EQ(Title(), "b.txt - Veltra Notepad");
    EXPECT_EQ(menuTexts(), (std::vector<std::string>{"&1 T:\\b.txt", "&2 T:\\e.txt", "&3 T:\\c.txt"}));
}

// ---- The window ----------------------------------------------------------------------------------

TEST_F(NotepadAppTest, WindowWrapsLongLinesAndHasItsBars)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(Title(), "Untitled - Veltra Notepad");
    EXPECT_FALSE(View()->GetStyle() & WS_HSCROLL);
    EXPECT_FALSE(View()->GetStyle() & ES_AUTOHSCROLL);
    Type(std::string(500, 'w'));
    EXPECT_GT(View()->SendMessage(EM_GETLINECOUNT), 1);

    CToolBar& bar = Frame()->ToolBar();
    const UINT buttons[] = {ID_FILE_NEW,   ID_FILE_OPEN,  ID_FILE_SAVE, ID_SEPARATOR,  ID_EDIT_CUT,
                            ID_EDIT_COPY,  ID_EDIT_PASTE, ID_SEPARATOR, ID_FILE_PRINT, ID_APP_ABOUT};
    ASSERT_EQ(bar.GetCount(), 10);
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(bar.GetItemID(i), buttons[i]) << i;
    // Cut and Copy want a selection.
    EXPECT_TRUE(bar.GetButtonStyle(bar.CommandToIndex(ID_EDIT_CUT)) & TBBS_DISABLED);
    View()->GetEditCtrl().SetSel(0, 3);
    Idle();
    EXPECT_FALSE(bar.GetButtonStyle(bar.CommandToIndex(ID_EDIT_CUT)) & TBBS_DISABLED);

    CStatusBar& status = Frame()->StatusBar();
    ASSERT_EQ(status.GetCount(), 4);
    EXPECT_EQ(status.GetItemID(1), static_cast<UINT>(ID_INDICATOR_CAPS));
    EXPECT_STREQ(status.GetPaneText(0), "Ready");

    // The View menu's toggles hide and show the bars; the view takes the room.
    CRect before, after;
    View()->GetWindowRect(&before);
    Command(ID_VIEW_TOOLBAR);
    EXPECT_FALSE(bar.IsVisible());
    View()->GetWindowRect(&after);
    EXPECT_LT(after.top, before.top);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_FALSE(status.IsVisible());
    View()->GetWindowRect(&after);
    EXPECT_GT(after.bottom, before.bottom);
    Command(ID_VIEW_TOOLBAR);
    Command(ID_VIEW_STATUS_BAR);
    EXPECT_TRUE(bar.IsVisible() && status.IsVisible());
    View()->GetWindowRect(&after);
    EXPECT_EQ(after, before);
}

TEST_F(NotepadAppTest, KeyIndicatorsFollowTheLockKeys)
{
    ASSERT_TRUE(Start());
    CStatusBar& status = Frame()->StatusBar();
    const struct {
        UINT vk;
        int pane;
        const char* text;
    } keys[] = {{VK_CAPITAL, 1, "CAP"}, {VK_NUMLOCK, 2, "NUM"}, {VK_SCROLL, 3, "SCRL"}};
    for (const auto& k : keys) {
        SCOPED_TRACE(k.text);
        bool on = (GetKeyState(static_cast<int>(k.vk)) & 1) != 0;
        EXPECT_EQ(std::string(status.GetShownText(k.pane)), on ? k.text : "");
        host::KeyDown(k.vk);
        host::KeyUp(k.vk);
        ui::PumpUntilIdle();
        Idle();
        EXPECT_EQ(std::string(status.GetShownText(k.pane)), on ? "" : k.text);
        host::KeyDown(k.vk);
        host::KeyUp(k.vk);
        ui::PumpUntilIdle();
        Idle();
        EXPECT_EQ(std::string(status.GetShownText(k.pane)), on ? k.text : "");
    }
}

TEST_F(NotepadAppTest, FindAndReplaceThroughTheirDialogs)
{
    ASSERT_TRUE(Start());
    Type("one fish, two fish\r\nred fish");
    auto press = [](HWND dlg, int id) {
        SendMessageA(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(dlg, id)));
        ui::PumpUntilIdle();
    };
    Command(ID_EDIT_REPLACE);
    HWND replace = FindWindowA(nullptr, "Replace");
    ASSERT_NE(replace, nullptr);
    SetDlgItemTextA(replace, edt1, "fish");
    SetDlgItemTextA(replace, edt2, "cat");
    press(replace, psh2);  // Replace All
    EXPECT_EQ(Text(), "one cat, two cat\r\nred cat");
    press(replace, IDCANCEL);
    EXPECT_FALSE(IsWindow(replace));

    View()->GetEditCtrl().SetSel(0, 0);
    Command(ID_EDIT_FIND);
    HWND find = FindWindowA(nullptr, "Find");
    ASSERT_NE(find, nullptr);
    SetDlgItemTextA(find, edt1, "RED");
    press(find, IDOK);  // Find Next
    int start = 0, end = 0;
    View()->GetEditCtrl().GetSel(start, end);
    EXPECT_EQ(start, 18);
    EXPECT_EQ(end, 21);
    press(find, IDCANCEL);
    Doc()->SetModifiedFlag(FALSE);
}

// ---- Printing ------------------------------------------------------------------------------------

// The words of a printed page, in order, joined by spaces.
std::string PageWords(const host::PageTexts& words)
{
    std::string joined;
    for (const auto& word : words)
        joined += (joined.empty() ? "" : " ") + word.text;
    return joined;
}

TEST_F(NotepadAppTest, PrintsTheTextPageByPageToThePrinter)
{
    host::SetPrintFolder((dir.path() / "printed").string());
    host::ClearPrintedJobs();
    // Enough numbered lines for a second page, and one line wider than the page.
    std::string text;
    for (int i = 1; i <= 90; ++i)
        text += "Line " + std::to_string(i) + " of the notes.\r\n";
    text += std::string(60, 'w') + " " + std::string(300, 'z') + "\r\nThe end.";
    dir.Write("long.txt", text);
    ASSERT_TRUE(Start("T:\\long.txt"));

    host::AnswerCommonDialog("print", "");
    Command(ID_FILE_PRINT);
    ASSERT_EQ(host::PrintedJobs().size(), 1u);
    host::PrintedJob job = host::PrintedJobs()[0];
    EXPECT_EQ(job.docName, "long.txt");
    ASSERT_GE(job.texts.size(), 2u);
    std::string first = PageWords(job.texts.front());
    std::string last = PageWords(job.texts.back());
    EXPECT_EQ(first.rfind("Line 1 of the notes.", 0), 0u) << first;
    EXPECT_EQ(last.find("Line 1 "), std::string::npos);
    EXPECT_NE(last.find("The end."), std::string::npos) << last;
    // Every line is printed once, in order, across the pages.
    std::string all;
    for (const auto& page : job.texts)
        all += PageWords(page) + " ";
    size_t at = 0;
    for (int i = 1; i <= 90; ++i) {
        size_t next = all.find("Line " + std::to_string(i) + " of", at);
        ASSERT_NE(next, std::string::npos) << i;
        at = next;
    }
    // The PDF written holds the same pages.
    ASSERT_TRUE(std::filesystem::exists(job.file));
    EXPECT_EQ(pdf_reader::PageCount(job.file), static_cast<int>(job.texts.size()));
    std::vector<std::string> pages = pdf_reader::PageTexts(job.file);
    ASSERT_EQ(pages.size(), job.texts.size());
    EXPECT_NE(pages[0].find("Line 1 of the notes."), std::string::npos);
    EXPECT_NE(pages.back().find("The end."), std::string::npos);

    // /p on the command line prints without a dialog and ends the program.
    Stop();
    host::ClearPrintedJobs();
    EXPECT_FALSE(Start("/p T:\\long.txt"));
    ASSERT_EQ(host::PrintedJobs().size(), 1u);
    EXPECT_EQ(host::PrintedJobs()[0].texts.size(), job.texts.size());
}

TEST_F(NotepadAppTest, PicturesOfTheEditorAndItsAboutBox)
{
    dir.Write("letter.txt", "Dear reader,\r\n\r\nThese notes were taken while reading about volcanoes. "
                            "Lava fountains rise from fissures on the flank at night.\r\n");
    ASSERT_TRUE(Start("T:\\letter.txt"));
    Frame()->MoveWindow(40, 40, 520, 360);
    ui::PumpUntilIdle();
    Idle();
    Frame()->UpdateWindow();
    const char* keep = std::getenv("VL_SCREENSHOT_DIR");
    auto shoot = [&](HWND window, const std::string& name) {
        RECT r;
        GetWindowRect(window, &r);
        std::string png = (dir.path() / name).string();
        ASSERT_TRUE(host::SaveDesktopPng(png, &r));
        EXPECT_EQ(dir.Read(name).substr(1, 3), "PNG");
        if (keep)
            std::filesystem::copy_file(png, std::filesystem::path(keep) / name,
                                       std::filesystem::copy_options::overwrite_existing);
    };
    shoot(Frame()->m_hWnd, "notepad-document.png");
    host::RunInNextModalLoop([&](HWND about) {
        CString caption;
        CWnd::FromHandle(about)->GetWindowText(caption);
        EXPECT_STREQ(caption, "About Veltra Notepad");
        shoot(about, "notepad-about.png");
        SendMessageA(about, WM_COMMAND, IDOK, 0);
    });
    Command(ID_APP_ABOUT);
}

}  // namespace
