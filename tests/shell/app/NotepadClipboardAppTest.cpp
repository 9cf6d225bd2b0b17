// Text between the running encyclopedia and the built editor, a program of its own that the
// Notepad command starts: a word copied in the article view with Ctrl+C is pasted into the
// editor, and what the editor copies is pasted into the encyclopedia's find window with Ctrl+V.
// Nothing but the shared clipboard carries it.
#include "AppTestSupport.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMainWin.h"
#include "article/ArticlePageWin.h"
#include "article/PageLine.h"
#include "base/HitList.h"
#include "base/Reference.h"
#include "shell/CompanionLauncher.h"
#include "widgets/FindWin.h"

#include <DialogDriver.h>

#include <host/Clock.h>
#include <host/Input.h>

#include <afxres.h>

#include <cctype>
#include <chrono>
#include <string>
#include <thread>

namespace apptest {
namespace {

// The clipboard's text, "(none)" when it holds none.
std::string ClipboardText()
{
    if (!::OpenClipboard(NULL))
        return "(not open)";
    HANDLE hText = ::GetClipboardData(CF_TEXT);
    std::string text = hText != NULL ? static_cast<const char*>(::GlobalLock(hText)) : "(none)";
    if (hText != NULL)
        ::GlobalUnlock(hText);
    ::CloseClipboard();
    return text;
}

void EmptyTheClipboard()
{
    ASSERT_TRUE(::OpenClipboard(NULL));
    ::EmptyClipboard();
    ::CloseClipboard();
}

bool IsWord(const std::string& text)
{
    if (text.size() < 3)
        return false;
    for (char c : text)
        if (!std::isalpha(static_cast<unsigned char>(c)))
            return false;
    return true;
}

// Waits in real time (the other process runs on its own clock), at most 20 s.
template <class Condition>
bool Within20Seconds(Condition condition)
{
    for (int i = 0; i < 2000; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}

class NotepadClipboardAppTest : public AppTest {
protected:
    void TearDown() override
    {
        PROCESS_INFORMATION& editor = CCompanionLauncher::Record(CCompanionLauncher::Notepad);
        if (editor.hProcess != NULL) {
            ::TerminateProcess(editor.hProcess, 1);
            ::WaitForSingleObject(editor.hProcess, 20000);
        }
        CCompanionLauncher::ResetRecords();
        AppTest::TearDown();
    }

    // Copies one word of the page's body text with the mouse and Ctrl+C, as a reader does; the
    // word copied, empty when none could be.
    static std::string CopyAWordOfThePage(CArticlePageWin* page)
    {
        CRect client;
        page->GetClientRect(&client);
        for (int n = page->GetTopLine(); n < page->GetLineCount(); ++n) {
            const PageLine& line = page->GetLine(n);
            const int y = (n - page->GetTopLine()) * page->GetLineHeight() + page->GetLineHeight() / 2;
            if (y >= client.bottom)
                break;
            if (line.nKind != PAGE_LINE_TEXT || line.nLength < 30)
                continue;
            for (int x = line.x + 30; x < line.x + 200 && x < client.right; x += 15) {
                // A short drag inside one word selects the word.
                CPoint from(x, y), to(x + 2, y);
                page->ClientToScreen(&from);
                page->ClientToScreen(&to);
                host::MouseMove(from.x, from.y);
                host::MouseDown();
                host::MouseMove(to.x, to.y);
                host::MouseUp();
                ui::PumpUntilIdle();
                EmptyTheClipboard();
                host::KeyDown(VK_CONTROL);
                host::PressKey('C');
                host::KeyUp(VK_CONTROL);
                ui::PumpUntilIdle();
                const std::string copied = ClipboardText();
                if (IsWord(copied))
                    return copied;
                host::StepClock(1000);  // the next press is no double click
            }
        }
        return std::string();
    }
};

TEST_F(NotepadClipboardAppTest, AWordTravelsFromTheArticleThroughTheEditorIntoTheFindWindow)
{
#ifndef VL_NOTEPAD_PROGRAM
    GTEST_SKIP() << "notepad is not built";
#else
    // The editor beside the program, where the Notepad command looks for it first.
    std::filesystem::copy_file(VL_NOTEPAD_PROGRAM, Prog() / "notepad");
    CArticleMainWin* article = StartWithArticle(1002, "Volcano", true);
    ASSERT_NE(nullptr, article);

    const std::string word = CopyAWordOfThePage(article->GetPageWin());
    ASSERT_FALSE(word.empty()) << "Ctrl+C in the article view put a word on the clipboard";

    Frame()->SendMessage(WM_COMMAND, ID_NOTEPAD);
    const PROCESS_INFORMATION& editor = CCompanionLauncher::Record(CCompanionLauncher::Notepad);
    ASSERT_TRUE(CCompanionLauncher::IsRunning(editor)) << "the Notepad command started the editor";
    HWND hEditor = NULL;
    ASSERT_TRUE(Within20Seconds([&] {
        hEditor = ::FindWindow(NULL, "Untitled - Veltra Notepad");
        return hEditor != NULL && ::IsWindowVisible(hEditor);
    }));
    DWORD dwProcess = 0;
    ::GetWindowThreadProcessId(hEditor, &dwProcess);
    EXPECT_EQ(editor.dwProcessId, dwProcess) << "the editor runs as a process of its own";

    // Pasted there; the clipboard emptied here; the editor's own copy brings the word back.
    ::SendMessage(hEditor, WM_COMMAND, ID_EDIT_PASTE, 0);
    EmptyTheClipboard();
    ASSERT_EQ("(none)", ClipboardText());
    ::SendMessage(hEditor, WM_COMMAND, ID_EDIT_SELECT_ALL, 0);
    ::SendMessage(hEditor, WM_COMMAND, ID_EDIT_COPY, 0);
    ASSERT_EQ(word, ClipboardText()) << "the editor held the pasted word and copied it";

    // Edit > Find in the encyclopedia: Ctrl+V in the word field, then Find.
    bool ran = false;
    host::RunInNextModalLoop([&](HWND window) {
        ran = true;
        auto* find = dynamic_cast<CFindWin*>(CWnd::FromHandlePermanent(window));
        ASSERT_NE(nullptr, find);
        find->GetWordField().SetFocus();
        ui::PumpUntilIdle();
        host::KeyDown(VK_CONTROL);
        host::PressKey('V');
        host::KeyUp(VK_CONTROL);
        ui::PumpUntilIdle();
        CString strField;
        find->GetWordField().GetWindowText(strField);
        EXPECT_EQ(word, static_cast<LPCSTR>(strField));
        ui::dialog::Screenshot(window, "find-window-pasted-from-notepad.png");
        find->GetFindButton().SendMessage(BM_CLICK);
        ui::PumpUntilIdle();
    });
    Frame()->SendMessage(WM_COMMAND, ID_FIND_IN_ARTICLE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(ran) << "the find window came up";
    ASSERT_EQ(1002, article->GetArticleRin()) << "the same article, now with the word's hits";
    CHitList* hits = article->GetDocument()->GetHitList();
    ASSERT_NE(nullptr, hits);
    EXPECT_GE(hits->GetCount(), 1) << "the word was found in the article it came from";
    EXPECT_TRUE(host::MessageBoxLog().empty());
#endif
}

}  // namespace
}  // namespace apptest
