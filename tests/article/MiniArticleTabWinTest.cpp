// The mini-article pane: the box that fills it and follows its size, the copy of the box's text
// to the clipboard (the selection text before the selected word, nothing when both are empty),
// Ctrl+C through the parent's copy command, closing. A screenshot of the pane.
#include "article/MiniArticleTabWin.h"

#include "base/AppServices.h"
#include "base/OnlineReference.h"
#include "base/Rin.h"
#include "widgets/MiniArtThumb.h"

#include <DialogDriver.h>
#include <UiTest.h>

#include <host/Clipboard.h>
#include <host/Input.h>
#include <host/Paths.h>

#include <afxres.h>

#include <string>

namespace {

// The article frame as the pane sees it: its copy command copies from the pane.
class CCopyingParent : public CWnd {
public:
    CMiniArticleTabWin* pPane = nullptr;
    int copyCommands = 0;

protected:
    afx_msg void OnEditCopy()
    {
        ++copyCommands;
        if (pPane != nullptr && pPane->CanCopy())
            pPane->CopyToClipboard();
    }
    DECLARE_MESSAGE_MAP()
};

BEGIN_MESSAGE_MAP(CCopyingParent, CWnd)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
END_MESSAGE_MAP()

std::string ClipboardText()
{
    std::string text;
    if (!::OpenClipboard(NULL))
        return "<clipboard busy>";
    if (HANDLE h = ::GetClipboardData(CF_TEXT)) {
        text = static_cast<const char*>(::GlobalLock(h));
        ::GlobalUnlock(h);
    } else {
        text = "<none>";
    }
    ::CloseClipboard();
    return text;
}

void PutOnClipboard(const char* text)
{
    ASSERT_TRUE(::OpenClipboard(NULL));
    ::EmptyClipboard();
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, std::strlen(text) + 1);
    std::strcpy(static_cast<char*>(::GlobalLock(h)), text);
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_TEXT, h);
    ::CloseClipboard();
}

class MiniArticleTabWinTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        ResetAppServices();
        AppServices().env.nScreenWidth = 1024;
        auto path = host::FromHostPath(std::string(VL_LIBRARY_DIR) + "/vl_res0.dll");
        ASSERT_TRUE(path.has_value());
        AppServices().env.hResourceLibrary = ::LoadLibrary(path->c_str());
        ASSERT_TRUE(parent.CreateEx(0, AfxRegisterWndClass(CS_DBLCLKS, ::LoadCursor(NULL, IDC_ARROW),
                                                            static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH))),
                                    "Article", WS_POPUP | WS_VISIBLE, CRect(0, 0, 800, 600), nullptr, 0));
        app.m_pMainWnd = &parent;
        ASSERT_TRUE(pane.Create(nullptr, "ARTICLE UPDATE", WS_VISIBLE, CRect(40, 40, 340, 300), &parent, 0));
        parent.pPane = &pane;
        ui::PumpUntilIdle();
    }
    void TearDown() override
    {
        if (pane.GetSafeHwnd() != nullptr)
            pane.DestroyWindow();
        if (parent.GetSafeHwnd() != nullptr)
            parent.DestroyWindow();
        app.m_pMainWnd = nullptr;
        host::ResetClipboard();
        ResetAppServices();
        ui::UiTest::TearDown();
    }

    void Show(const char* text)
    {
        CMiniArticleReference ref(CRin(12345), "Update", text);
        pane.ShowMiniArticle(&ref);
        ui::PumpUntilIdle();
    }

    CWinApp app{"vl00i1se"};
    CCopyingParent parent;
    CMiniArticleTabWin pane;
};

const char kUpdate[] = "<B>Article update</B><P>This article was <I>revised</I> in the spring of this year: "
                       "the population figures and the map of the region are new.";

TEST_F(MiniArticleTabWinTest, BoxFillsTheClientAreaAndFollowsItsSize)
{
    EXPECT_EQ(nullptr, pane.GetThumb());
    EXPECT_FALSE(pane.CanCopy());
    Show(kUpdate);
    CMiniArtThumb* box = pane.GetThumb();
    ASSERT_NE(nullptr, box);
    EXPECT_EQ(CString(kUpdate), box->GetText());
    CRect client, rect;
    pane.GetClientRect(&client);
    box->GetWindowRect(&rect);
    pane.ScreenToClient(&rect);
    EXPECT_EQ(client, rect);
    EXPECT_EQ(PALETTERGB(255, 255, 255), box->GetBkColor());
    EXPECT_EQ(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS,
              box->GetStyle() & (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS));
    ui::dialog::Screenshot(pane.GetSafeHwnd(), "mini_article_pane.png");

    // Resizing the pane resizes the box; the text wraps again.
    int lines = box->GetLineCount();
    pane.MoveWindow(40, 40, 180, 300);
    ui::PumpUntilIdle();
    pane.GetClientRect(&client);
    box->GetWindowRect(&rect);
    pane.ScreenToClient(&rect);
    EXPECT_EQ(client, rect);
    EXPECT_GT(box->GetLineCount(), lines);

    // Showing another mini article replaces the box.
    Show("Second notice.");
    ASSERT_NE(nullptr, pane.GetThumb());
    EXPECT_EQ(CString("Second notice."), pane.GetThumb()->GetText());
    pane.DestroyWindow();
    EXPECT_EQ(nullptr, pane.GetThumb());
}

TEST_F(MiniArticleTabWinTest, CopyTakesTheSelectionTextBeforeTheSelectedWord)
{
    Show(kUpdate);
    CMiniArtThumb* box = pane.GetThumb();
    ASSERT_NE(nullptr, box);
    PutOnClipboard("earlier text");

    // Both texts empty: nothing copied, the clipboard stays as it was.
    EXPECT_FALSE(pane.CanCopy());
    EXPECT_FALSE(pane.CopyToClipboard());
    EXPECT_EQ("earlier text", ClipboardText());

    // A multi-word selection longer than 40 characters is copied whole.
    box->SelectRuns(3, 14);
    ASSERT_FALSE(box->GetSelectionText().IsEmpty());
    ASSERT_LT(box->GetSelectedWord().GetLength(), box->GetSelectionText().GetLength());
    EXPECT_TRUE(pane.CanCopy());
    EXPECT_TRUE(pane.CopyToClipboard());
    EXPECT_EQ(std::string(static_cast<LPCSTR>(box->GetSelectionText())), ClipboardText());
    EXPECT_EQ(pane.GetSafeHwnd(), ::GetClipboardOwner());

    // One word: the word without its blank.
    box->SelectRuns(3, 3);
    EXPECT_TRUE(box->GetSelectionText().IsEmpty());
    EXPECT_TRUE(pane.CopyToClipboard());
    EXPECT_EQ(std::string(static_cast<LPCSTR>(box->GetSelectedWord())), ClipboardText());
    EXPECT_EQ(std::string::npos, ClipboardText().find(' '));
}

TEST_F(MiniArticleTabWinTest, CtrlCRunsTheParentsCopyCommand)
{
    Show(kUpdate);
    CMiniArtThumb* box = pane.GetThumb();
    ASSERT_NE(nullptr, box);
    // A drag in the box selects and leaves the focus with the pane.
    CRect first = box->GetLayout().Runs()[0].rectCell;
    CPoint from(first.left + 2, box->GetLineHeight() / 2), to(first.right - 2, box->GetLineHeight() / 2);
    box->ClientToScreen(&from);
    box->ClientToScreen(&to);
    host::MouseMove(from.x, from.y);
    host::MouseDown();
    host::MouseMove(from.x + 1, from.y);
    host::MouseMove(to.x, to.y);
    host::MouseUp();
    ui::PumpUntilIdle();
    ASSERT_FALSE(box->GetCopyText().IsEmpty());
    EXPECT_EQ(&pane, CWnd::GetFocus());

    host::KeyDown(VK_CONTROL);
    host::PressKey('C');
    host::KeyUp(VK_CONTROL);
    ui::PumpUntilIdle();
    EXPECT_EQ(1, parent.copyCommands);
    EXPECT_EQ(std::string(static_cast<LPCSTR>(box->GetCopyText())), ClipboardText());

    // C alone is no copy.
    host::PressKey('C');
    ui::PumpUntilIdle();
    EXPECT_EQ(1, parent.copyCommands);
}

TEST_F(MiniArticleTabWinTest, ClosingHidesThePaneAndFocusesTheParent)
{
    Show(kUpdate);
    pane.SetFocus();
    pane.SendMessage(WM_CLOSE);
    ui::PumpUntilIdle();
    EXPECT_TRUE(::IsWindow(pane.GetSafeHwnd()));
    EXPECT_FALSE(pane.IsWindowVisible());
    EXPECT_EQ(&parent, CWnd::GetFocus());
    EXPECT_NE(nullptr, pane.GetThumb()) << "closing keeps the box for the next showing";
}

TEST_F(MiniArticleTabWinTest, CaptionColours)
{
    EXPECT_EQ(PALETTERGB(74, 74, 148), pane.GetCaptionColor());
    EXPECT_EQ(PALETTERGB(255, 255, 255), pane.GetActiveTextColor());
    EXPECT_EQ(PALETTERGB(198, 198, 222), pane.GetInactiveTextColor());
    CGenericTabWin plain;
    EXPECT_EQ(plain.GetAccentColor(), pane.GetAccentColor());
}

}  // namespace
