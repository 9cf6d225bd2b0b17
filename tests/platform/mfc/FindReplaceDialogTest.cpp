// CFindReplaceDialog: the modeless Find and Replace dialogs as class-library objects. The
// owner's registered-message handler finds the dialog with GetNotifier and reads what was asked
// for; the keys reach the dialog through the class library's PreTranslateMessage; the object
// deletes itself when its window goes.
#include <afxdlgs.h>
#include <afxwin.h>

#include <dlgs.h>
#include <host/Input.h>

#include <UiTest.h>

#include "ModelessDialogInput.h"

#include <string>
#include <vector>

namespace {

using namespace modeless;

UINT g_findMessage = 0;

struct Heard {
    CFindReplaceDialog* dialog = nullptr;
    bool findNext = false, replaceCurrent = false, replaceAll = false, terminating = false;
    bool down = false, matchCase = false, wholeWord = false;
    std::string find, replace;
};

// What the frame heard; kept outside it, as the frame deletes itself with its window.
std::vector<Heard> g_heard;

class CSearchFrame : public CFrameWnd {
protected:
    afx_msg LRESULT OnFindReplace(WPARAM, LPARAM lParam)
    {
        CFindReplaceDialog* d = CFindReplaceDialog::GetNotifier(lParam);
        Heard h;
        h.dialog = d;
        h.findNext = d->FindNext();
        h.replaceCurrent = d->ReplaceCurrent();
        h.replaceAll = d->ReplaceAll();
        h.terminating = d->IsTerminating();
        h.down = d->SearchDown();
        h.matchCase = d->MatchCase();
        h.wholeWord = d->MatchWholeWord();
        h.find = static_cast<LPCSTR>(d->GetFindString());
        h.replace = static_cast<LPCSTR>(d->GetReplaceString());
        g_heard.push_back(h);
        return 0;
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CSearchFrame, CFrameWnd)
ON_REGISTERED_MESSAGE(g_findMessage, OnFindReplace)
END_MESSAGE_MAP()

// Counts the objects alive and notes that the dialog's initialisation reached the object.
class CCountedFindDialog : public CFindReplaceDialog {
public:
    static int alive;
    bool initialised = false;
    CCountedFindDialog() { ++alive; }
    ~CCountedFindDialog() override { --alive; }
    BOOL OnInitDialog() override
    {
        initialised = true;
        return CFindReplaceDialog::OnInitDialog();
    }
};
int CCountedFindDialog::alive = 0;

class FindReplaceDialogTest : public ui::UiTest {
protected:
    CWinApp app{"FindReplace"};
    CSearchFrame* frame = nullptr;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        g_findMessage = ::RegisterWindowMessageA(FINDMSGSTRING);
        CCountedFindDialog::alive = 0;
        g_heard.clear();
        frame = new CSearchFrame;
        ASSERT_TRUE(frame->Create(NULL, "Search", WS_OVERLAPPEDWINDOW | WS_VISIBLE, CRect(0, 0, 500, 300)));
        app.m_pMainWnd = frame;
        ui::PumpUntilIdle();
    }

    void TearDown() override
    {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        EXPECT_EQ(CCountedFindDialog::alive, 0) << "a dialog object outlived its window";
        ui::UiTest::TearDown();
        CWnd::DeleteTempMap();
    }

    static std::string ItemText(CWnd* dlg, int id)
    {
        char text[256] = {};
        ::GetDlgItemTextA(dlg->m_hWnd, id, text, sizeof text);
        return text;
    }
};

TEST_F(FindReplaceDialogTest, TheFindDialogReportsThroughGetNotifierAndDeletesItselfWhenClosed)
{
    auto* dlg = new CCountedFindDialog;
    ASSERT_TRUE(dlg->Create(TRUE, "needle", NULL, FR_DOWN | FR_MATCHCASE, frame));
    HWND hDlg = dlg->m_hWnd;
    EXPECT_EQ(CWnd::FromHandlePermanent(hDlg), dlg) << "the object owns its window";
    EXPECT_TRUE(dlg->initialised) << "OnInitDialog ran";
    EXPECT_TRUE(::IsWindowVisible(hDlg));
    EXPECT_EQ(dlg->m_fr.hwndOwner, frame->m_hWnd);
    EXPECT_EQ(ItemText(dlg, edt1), "needle");
    EXPECT_EQ(::IsDlgButtonChecked(hDlg, chx2), static_cast<UINT>(BST_CHECKED));

    // Enter reaches the dialog through the frame's loop: Find Next, down, matching case.
    Key(VK_RETURN);
    ASSERT_EQ(g_heard.size(), 1u);
    const Heard& first = g_heard[0];
    EXPECT_EQ(first.dialog, dlg);
    EXPECT_TRUE(first.findNext);
    EXPECT_FALSE(first.replaceCurrent || first.replaceAll || first.terminating);
    EXPECT_TRUE(first.down);
    EXPECT_TRUE(first.matchCase);
    EXPECT_FALSE(first.wholeWord);
    EXPECT_EQ(first.find, "needle");
    EXPECT_TRUE(::IsWindowVisible(hDlg)) << "OK is Find Next, not the end of the dialog";

    Click(dlg, rad1);
    Click(dlg, chx1);
    TypeInto(dlg, edt1, "pin");
    Click(dlg, IDOK);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_FALSE(g_heard[1].down);
    EXPECT_TRUE(g_heard[1].wholeWord);
    EXPECT_EQ(g_heard[1].find, "pin");

    // Escape: the owner hears the end from the living object, which then deletes itself.
    Key(VK_ESCAPE);
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_EQ(g_heard[2].dialog, dlg);
    EXPECT_TRUE(g_heard[2].terminating);
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(CCountedFindDialog::alive, 0);
}

TEST_F(FindReplaceDialogTest, TheReplaceDialogReportsReplaceAndReplaceAllAndGoesWithItsOwner)
{
    auto* dlg = new CCountedFindDialog;
    std::string longText(200, 'x');
    // No parent: the main window owns it.
    ASSERT_TRUE(dlg->Create(FALSE, longText.c_str(), "new", FR_DOWN));
    HWND hDlg = dlg->m_hWnd;
    EXPECT_EQ(dlg->m_fr.hwndOwner, frame->m_hWnd);
    EXPECT_EQ(ItemText(dlg, edt1), std::string(127, 'x')) << "cut to the object's buffer";
    EXPECT_EQ(ItemText(dlg, edt2), "new");

    TypeInto(dlg, edt1, "old");
    TypeInto(dlg, edt2, "newer");
    Click(dlg, psh1);
    ASSERT_EQ(g_heard.size(), 1u);
    EXPECT_TRUE(g_heard[0].replaceCurrent);
    EXPECT_EQ(g_heard[0].find, "old");
    EXPECT_EQ(g_heard[0].replace, "newer");
    EXPECT_TRUE(g_heard[0].down);
    Click(dlg, psh2);
    ASSERT_EQ(g_heard.size(), 2u);
    EXPECT_TRUE(g_heard[1].replaceAll);
    EXPECT_FALSE(g_heard[1].replaceCurrent);

    // The frame's end takes the dialog (and its object) first; the frame hears of it.
    frame->DestroyWindow();
    app.m_pMainWnd = NULL;
    EXPECT_FALSE(::IsWindow(hDlg));
    EXPECT_EQ(CCountedFindDialog::alive, 0);
    ASSERT_EQ(g_heard.size(), 3u);
    EXPECT_TRUE(g_heard[2].terminating);
}

TEST_F(FindReplaceDialogTest, ADialogThatCannotBeMadeStaysTheCallers)
{
    frame->DestroyWindow();
    app.m_pMainWnd = NULL;
    auto* dlg = new CCountedFindDialog;
    EXPECT_FALSE(dlg->Create(TRUE, "text")) << "no owner at all";
    EXPECT_EQ(::CommDlgExtendedError(), static_cast<DWORD>(CDERR_DIALOGFAILURE));
    EXPECT_EQ(dlg->m_hWnd, nullptr);
    EXPECT_EQ(CCountedFindDialog::alive, 1);
    delete dlg;
}

}  // namespace
