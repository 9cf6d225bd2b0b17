// CEditView in a frame with its document: the control it is, the document's modified flag,
// serialisation of the text, the Edit commands through the clipboard, and text search, by
// itself and through the Find and Replace dialogs.
#include <afxwin.h>

#include <dlgs.h>
#include <host/Input.h>
#include <winclip.h>

#include <UiTest.h>

#include "ModelessDialogInput.h"

#include <string>
#include <vector>

namespace {

using namespace modeless;

class CTextDoc : public CDocument {};

// Exposes the search helpers that a Find dialog would call.
class CTextView : public CEditView {
    DECLARE_DYNCREATE(CTextView)
public:
    using CEditView::FindText;
    using CEditView::OnFindNext;
    using CEditView::OnReplaceAll;
    using CEditView::OnReplaceSel;
    std::vector<std::string> notFound;

protected:
    void OnTextNotFound(LPCSTR find) override
    {
        notFound.push_back(find);
        CEditView::OnTextNotFound(find);
    }
};

IMPLEMENT_DYNCREATE(CTextView, CEditView)

// A notes view: long lines wrap at the window's edge instead of scrolling sideways.
class CWrapView : public CEditView {
    DECLARE_DYNCREATE(CWrapView)
public:
    BOOL PreCreateWindow(CREATESTRUCT& cs) override
    {
        BOOL ok = CEditView::PreCreateWindow(cs);
        cs.style &= ~(WS_HSCROLL | ES_AUTOHSCROLL);
        return ok;
    }
};

IMPLEMENT_DYNCREATE(CWrapView, CEditView)

class EditViewTest : public ui::UiTest {
protected:
    CWinApp app{"EditView"};
    CTextDoc* doc = nullptr;
    CFrameWnd* frame = nullptr;
    HMENU editMenu = nullptr;

    void SetUp() override
    {
        ui::UiTest::SetUp();
        Open(RUNTIME_CLASS(CTextView));
    }

    // A frame with a view of the class and a new document.
    void Open(CRuntimeClass* viewClass)
    {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        doc = new CTextDoc;
        CCreateContext context;
        context.m_pNewViewClass = viewClass;
        context.m_pCurrentDoc = doc;
        frame = new CFrameWnd;
        HMENU bar = ::CreateMenu();
        editMenu = ::CreatePopupMenu();
        for (UINT id : {ID_EDIT_UNDO, ID_EDIT_CUT, ID_EDIT_COPY, ID_EDIT_PASTE, ID_EDIT_CLEAR, ID_EDIT_SELECT_ALL,
                        ID_EDIT_FIND, ID_EDIT_REPEAT, ID_EDIT_REPLACE})
            ::AppendMenuA(editMenu, MF_STRING, id, "item");
        ::AppendMenuA(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(editMenu), "&Edit");
        frame->m_hMenuDefault = bar;
        ASSERT_TRUE(frame->Create(NULL, "Notes", WS_OVERLAPPEDWINDOW, CRect(0, 0, 400, 300), NULL, NULL, 0, &context));
        app.m_pMainWnd = frame;
        frame->InitialUpdateFrame(doc, TRUE);
        ui::PumpUntilIdle();
    }

    void TearDown() override
    {
        if (app.m_pMainWnd)
            app.m_pMainWnd->DestroyWindow();
        ui::UiTest::TearDown();
        CWnd::DeleteTempMap();
        CMenu::DeleteTempMap();
    }

    CTextView& View() { return *static_cast<CTextView*>(frame->GetActiveView()); }
    CString Text()
    {
        CString text;
        View().GetWindowText(text);
        return text;
    }
    void Command(UINT id) { frame->SendMessage(WM_COMMAND, MAKEWPARAM(id, 0), 0); }
    bool Enabled(UINT id)
    {
        frame->SendMessage(WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(editMenu), MAKELPARAM(0, FALSE));
        return (::GetMenuState(editMenu, id, MF_BYCOMMAND) & MF_GRAYED) == 0;
    }
    std::pair<int, int> Sel()
    {
        int a = 0, b = 0;
        View().GetEditCtrl().GetSel(a, b);
        return {a, b};
    }
    static void SetCheck(HWND dlg, int id, bool on)
    {
        if ((::IsDlgButtonChecked(dlg, id) == BST_CHECKED) != on)
            Click(dlg, id);
    }
    static std::string ItemText(HWND dlg, int id)
    {
        char text[256] = {};
        ::GetDlgItemTextA(dlg, id, text, sizeof text);
        return text;
    }
    // The open Find or Replace dialog.
    static HWND Dialog(const char* caption) { return ::FindWindowA("#32770", caption); }

    static std::string Clipboard()
    {
        std::string text;
        if (::OpenClipboard(NULL)) {
            if (HANDLE mem = ::GetClipboardData(CF_TEXT)) {
                text = static_cast<const char*>(::GlobalLock(mem));
                ::GlobalUnlock(mem);
            }
            ::CloseClipboard();
        }
        return text;
    }
    static void SetClipboard(const std::string& text)
    {
        ASSERT_TRUE(::OpenClipboard(NULL));
        ::EmptyClipboard();
        HGLOBAL mem = ::GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
        memcpy(::GlobalLock(mem), text.c_str(), text.size() + 1);
        ::GlobalUnlock(mem);
        ::SetClipboardData(CF_TEXT, mem);
        ::CloseClipboard();
    }
};

TEST_F(EditViewTest, TheViewIsAMultiLineEditFillingThePaneAndTypingModifiesTheDocument)
{
    char cls[16] = {};
    ::GetClassNameA(View().m_hWnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "EDIT");
    DWORD style = View().GetStyle();
    for (DWORD bit : {DWORD(ES_MULTILINE), DWORD(ES_AUTOVSCROLL), DWORD(ES_AUTOHSCROLL), DWORD(WS_VSCROLL),
                      DWORD(WS_HSCROLL), DWORD(ES_NOHIDESEL)})
        EXPECT_TRUE(style & bit) << std::hex << bit;
    EXPECT_EQ(View().GetEditCtrl().m_hWnd, View().m_hWnd);
    EXPECT_EQ(View().GetDocument(), doc);
    CRect client, pane;
    frame->GetClientRect(&client);
    View().GetWindowRect(&pane);
    EXPECT_EQ(pane.Width(), client.Width());

    EXPECT_FALSE(doc->IsModified());
    EXPECT_EQ(::GetFocus(), View().m_hWnd);
    host::TypeText("Hello");
    ui::PumpUntilIdle();
    EXPECT_EQ(Text(), CString("Hello"));
    EXPECT_TRUE(doc->IsModified()) << "EN_CHANGE marks the document";
    EXPECT_EQ(View().GetBufferLength(), 5u);
    LPCSTR locked = View().LockBuffer();
    EXPECT_STREQ(locked, "Hello");
    View().UnlockBuffer();
}

TEST_F(EditViewTest, RawSerialisationRoundTripsEveryByteAndLoadingLeavesTheDocumentUnmodified)
{
    const std::string bytes = "line one\r\n\ttabbed\r\nlone LF\nlone CR\rend \xE9\xFC\xC4\r\n";
    CMemFile in;
    in.Write(bytes.data(), static_cast<UINT>(bytes.size()));
    in.SeekToBegin();
    {
        CArchive ar(&in, CArchive::load);
        View().SerializeRaw(ar);
    }
    EXPECT_EQ(std::string(Text()), bytes);
    EXPECT_FALSE(doc->IsModified()) << "a load is no edit";

    CMemFile out;
    {
        CArchive ar(&out, CArchive::store);
        View().SerializeRaw(ar);
    }
    ASSERT_EQ(out.GetLength(), bytes.size());
    std::string written(bytes.size(), '\0');
    out.SeekToBegin();
    out.Read(written.data(), static_cast<UINT>(written.size()));
    EXPECT_EQ(written, bytes);

    // An empty file empties the view.
    CMemFile empty;
    {
        CArchive ar(&empty, CArchive::load);
        View().SerializeRaw(ar);
    }
    EXPECT_EQ(View().GetBufferLength(), 0u);
}

TEST_F(EditViewTest, SerializeWritesTheLengthFirstAndATruncatedArchiveFails)
{
    View().SetWindowText("abc\r\ndef");
    CMemFile file;
    {
        CArchive ar(&file, CArchive::store);
        View().Serialize(ar);
    }
    ASSERT_EQ(file.GetLength(), 4u + 8u);
    BYTE head[4] = {};
    file.SeekToBegin();
    file.Read(head, 4);
    EXPECT_EQ(head[0], 8);
    EXPECT_EQ(head[1] | head[2] | head[3], 0);

    View().SetWindowText("");
    file.SeekToBegin();
    {
        CArchive ar(&file, CArchive::load);
        View().Serialize(ar);
    }
    EXPECT_EQ(Text(), CString("abc\r\ndef"));

    // The length promises more than there is.
    CMemFile cut;
    cut.Write("\x10\0\0\0abc", 7);
    cut.SeekToBegin();
    int cause = -1;
    try {
        CArchive ar(&cut, CArchive::load);
        View().Serialize(ar);
    } catch (CArchiveException* e) {
        cause = e->m_cause;
        e->Delete();
    }
    EXPECT_EQ(cause, CArchiveException::endOfFile);
}

TEST_F(EditViewTest, EditCommandsWorkThroughTheClipboardAndTheirMenuItemsFollowTheState)
{
    View().SetWindowText("alpha beta gamma");
    View().GetEditCtrl().SetSel(0, 0);
    SetClipboard("");
    ::OpenClipboard(NULL);
    ::EmptyClipboard();
    ::CloseClipboard();
    EXPECT_FALSE(Enabled(ID_EDIT_COPY)) << "nothing selected";
    EXPECT_FALSE(Enabled(ID_EDIT_CUT));
    EXPECT_FALSE(Enabled(ID_EDIT_CLEAR));
    EXPECT_FALSE(Enabled(ID_EDIT_PASTE)) << "no text on the clipboard";
    EXPECT_FALSE(Enabled(ID_EDIT_UNDO));
    EXPECT_TRUE(Enabled(ID_EDIT_SELECT_ALL));
    EXPECT_TRUE(Enabled(ID_EDIT_FIND));

    View().GetEditCtrl().SetSel(6, 10);
    EXPECT_TRUE(Enabled(ID_EDIT_COPY));
    Command(ID_EDIT_COPY);
    EXPECT_EQ(Clipboard(), "beta");
    EXPECT_TRUE(Enabled(ID_EDIT_PASTE));

    Command(ID_EDIT_CUT);
    EXPECT_EQ(Text(), CString("alpha  gamma"));
    EXPECT_TRUE(doc->IsModified());
    EXPECT_TRUE(Enabled(ID_EDIT_UNDO));

    View().GetEditCtrl().SetSel(0, 0);
    Command(ID_EDIT_PASTE);
    EXPECT_EQ(Text(), CString("betaalpha  gamma"));

    Command(ID_EDIT_UNDO);
    EXPECT_EQ(Text(), CString("alpha  gamma"));

    Command(ID_EDIT_SELECT_ALL);
    EXPECT_EQ(Sel(), std::make_pair(0, 12));
    CString selected;
    View().GetSelectedText(selected);
    EXPECT_EQ(selected, CString("alpha  gamma"));
    Command(ID_EDIT_CLEAR);
    EXPECT_EQ(Text(), CString(""));
    EXPECT_FALSE(Enabled(ID_EDIT_SELECT_ALL)) << "no text";
}

TEST_F(EditViewTest, FindTextSearchesFromTheSelectionBothWaysWrappingAround)
{
    View().SetWindowText("One two one TWO one");
    struct Case {
        int selStart, selEnd;
        const char* find;
        BOOL next, matchCase;
        BOOL found;
        int at;
    } cases[] = {
        {0, 0, "one", TRUE, TRUE, TRUE, 8},     // "One" does not match case
        {0, 0, "one", TRUE, FALSE, TRUE, 0},    // it does without
        {8, 11, "one", TRUE, TRUE, TRUE, 16},   // after the selection
        {16, 19, "one", TRUE, TRUE, TRUE, 8},   // around the end to the start
        {16, 19, "one", FALSE, TRUE, TRUE, 8},  // backwards from the selection's start
        {8, 11, "one", FALSE, TRUE, TRUE, 16},  // backwards around the start
        {0, 0, "two", TRUE, FALSE, TRUE, 4},
        {5, 5, "two", TRUE, FALSE, TRUE, 12},
        {5, 5, "two", TRUE, TRUE, TRUE, 4},     // only the lower-case one, found around the end
        {3, 3, "three", TRUE, FALSE, FALSE, 3},
        {3, 3, "", TRUE, FALSE, FALSE, 3},
    };
    for (const Case& c : cases) {
        View().GetEditCtrl().SetSel(c.selStart, c.selEnd);
        BOOL found = View().FindText(c.find, c.next, c.matchCase);
        EXPECT_EQ(found, c.found) << c.find << " from " << c.selStart;
        int expectEnd = c.found ? c.at + static_cast<int>(strlen(c.find)) : c.selEnd;
        int expectStart = c.found ? c.at : c.selStart;
        EXPECT_EQ(Sel(), std::make_pair(expectStart, expectEnd)) << c.find << " from " << c.selStart;
    }
    // Latin-1 letters fold too.
    View().SetWindowText("caf\xC9 caf\xE9");
    View().GetEditCtrl().SetSel(0, 0);
    EXPECT_TRUE(View().FindText("CAF\xC9", TRUE, FALSE));
    EXPECT_EQ(Sel(), std::make_pair(0, 4));
}

TEST_F(EditViewTest, FindNextReplaceAndReplaceAll)
{
    View().SetWindowText("cat dog cat bird");
    View().GetEditCtrl().SetSel(0, 0);
    EXPECT_FALSE(Enabled(ID_EDIT_REPEAT)) << "nothing searched yet";
    View().OnFindNext("cat", TRUE, TRUE);
    EXPECT_EQ(Sel(), std::make_pair(0, 3));
    EXPECT_TRUE(Enabled(ID_EDIT_REPEAT));
    Command(ID_EDIT_REPEAT);
    EXPECT_EQ(Sel(), std::make_pair(8, 11)) << "Find Next repeats the search";
    View().OnFindNext("fish", TRUE, TRUE);
    EXPECT_EQ(View().notFound, std::vector<std::string>{"fish"});

    // Replace: the first press only finds, the next replaces and finds the next one.
    View().GetEditCtrl().SetSel(0, 0);
    View().OnReplaceSel("cat", TRUE, TRUE, "cow");
    EXPECT_EQ(Text(), CString("cat dog cat bird"));
    EXPECT_EQ(Sel(), std::make_pair(0, 3));
    View().OnReplaceSel("cat", TRUE, TRUE, "cow");
    EXPECT_EQ(Text(), CString("cow dog cat bird"));
    EXPECT_EQ(Sel(), std::make_pair(8, 11));
    EXPECT_TRUE(doc->IsModified());

    // Replace All visits each occurrence once, even when the replacement contains the text.
    View().SetWindowText("a-A-a");
    View().OnReplaceAll("a", "aa", FALSE);
    EXPECT_EQ(Text(), CString("aa-aa-aa"));
    View().OnReplaceAll("zzz", "y", FALSE);
    EXPECT_EQ(View().notFound.back(), "zzz");
}

TEST_F(EditViewTest, TheFindDialogSearchesTheViewBothWaysAndTheNextDialogStartsWhereItLeftOff)
{
    View().SetWindowText("One two one TWO one\r\nsecond line one");
    View().GetEditCtrl().SetSel(4, 7);
    Command(ID_EDIT_FIND);
    HWND dlg = Dialog("Find");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(::GetActiveWindow(), dlg);
    EXPECT_EQ(ItemText(dlg, edt1), "two") << "the selection is the text sought";
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg, chx1))) << "the view matches no whole words";

    // Find Next (Enter) from the selection on, with and without matching case.
    SetCheck(dlg, chx2, false);
    Click(dlg, rad2);
    Key(VK_RETURN);
    EXPECT_EQ(Sel(), std::make_pair(12, 15)) << "TWO";
    SetCheck(dlg, chx2, true);
    Key(VK_RETURN);
    EXPECT_EQ(Sel(), std::make_pair(4, 7)) << "only the lower-case one, around the end";

    // Nothing found: the view says so and the selection stays.
    TypeInto(dlg, edt1, "zebra\r");
    EXPECT_EQ(View().notFound, std::vector<std::string>{"zebra"});
    EXPECT_EQ(Sel(), std::make_pair(4, 7));

    // Up, around the start to the last line.
    Click(dlg, rad1);
    TypeInto(dlg, edt1, "one");
    Click(dlg, IDOK);
    EXPECT_EQ(Sel(), std::make_pair(33, 36));
    Click(dlg, IDOK);
    EXPECT_EQ(Sel(), std::make_pair(16, 19));

    // Find again while it is up: the same dialog, brought back.
    Command(ID_EDIT_FIND);
    EXPECT_EQ(Dialog("Find"), dlg);
    EXPECT_EQ(ItemText(dlg, edt1), "one");

    // Closed, Find Next goes on with the same search: up, matching case.
    Key(VK_ESCAPE);
    EXPECT_FALSE(::IsWindow(dlg));
    Command(ID_EDIT_REPEAT);
    EXPECT_EQ(Sel(), std::make_pair(8, 11));

    // The next dialog starts with the last search when nothing is selected, and with the
    // selection's first line otherwise.
    View().GetEditCtrl().SetSel(0, 0);
    Command(ID_EDIT_FIND);
    dlg = Dialog("Find");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(ItemText(dlg, edt1), "one");
    EXPECT_EQ(::IsDlgButtonChecked(dlg, rad1), static_cast<UINT>(BST_CHECKED));
    EXPECT_EQ(::IsDlgButtonChecked(dlg, chx2), static_cast<UINT>(BST_CHECKED));
    Key(VK_ESCAPE);
    View().GetEditCtrl().SetSel(28, 40);
    CString selected;
    View().GetSelectedText(selected);
    EXPECT_EQ(selected, CString("line one"));
    View().GetEditCtrl().SetSel(16, 30);
    Command(ID_EDIT_FIND);
    dlg = Dialog("Find");
    ASSERT_NE(dlg, nullptr);
    EXPECT_EQ(ItemText(dlg, edt1), "one");

    // The frame closes with the dialog up: the dialog and its object go with it, and a new
    // frame's view opens a dialog of its own.
    Open(RUNTIME_CLASS(CTextView));
    EXPECT_FALSE(::IsWindow(dlg));
    View().SetWindowText("more text");
    Command(ID_EDIT_FIND);
    dlg = Dialog("Find");
    ASSERT_NE(dlg, nullptr);
    Key(VK_RETURN);
    EXPECT_EQ(View().notFound, std::vector<std::string>{"one"});
}

TEST_F(EditViewTest, TheReplaceDialogReplacesOneByOneAndAllAndTakesThePlaceOfTheFindDialog)
{
    View().SetWindowText("cat dog cat bird Cat");
    View().GetEditCtrl().SetSel(0, 0);
    EXPECT_TRUE(Enabled(ID_EDIT_REPLACE));
    Command(ID_EDIT_FIND);
    HWND find = Dialog("Find");
    ASSERT_NE(find, nullptr);
    // The direction of the last search is the Replace dialog's too: down.
    Click(find, rad2);
    TypeInto(find, edt1, "bird\r");
    EXPECT_EQ(Sel(), std::make_pair(12, 16));
    View().GetEditCtrl().SetSel(0, 0);
    Command(ID_EDIT_REPLACE);
    EXPECT_FALSE(::IsWindow(find)) << "one dialog at a time";
    HWND dlg = Dialog("Replace");
    ASSERT_NE(dlg, nullptr);
    EXPECT_FALSE(::IsWindowVisible(::GetDlgItem(dlg, chx1)));
    Pump();

    TypeInto(dlg, edt1, "cat");
    TypeInto(dlg, edt2, "cow");
    SetCheck(dlg, chx2, true);
    // The first Replace finds, the next replaces and finds the next.
    Click(dlg, psh1);
    EXPECT_EQ(Text(), CString("cat dog cat bird Cat"));
    EXPECT_EQ(Sel(), std::make_pair(0, 3));
    Click(dlg, psh1);
    EXPECT_EQ(Text(), CString("cow dog cat bird Cat"));
    EXPECT_EQ(Sel(), std::make_pair(8, 11));
    EXPECT_TRUE(doc->IsModified());

    // Replace All, with and then without matching case.
    Click(dlg, psh2);
    EXPECT_EQ(Text(), CString("cow dog cow bird Cat"));
    SetCheck(dlg, chx2, false);
    Click(dlg, psh2);
    EXPECT_EQ(Text(), CString("cow dog cow bird cow"));

    // Find Next in the Replace dialog only selects.
    TypeInto(dlg, edt1, "dog");
    Click(dlg, IDOK);
    EXPECT_EQ(Sel(), std::make_pair(4, 7));
    EXPECT_EQ(Text(), CString("cow dog cow bird cow"));

    // Replace again while it is up: the same dialog. The close box ends it.
    Command(ID_EDIT_REPLACE);
    EXPECT_EQ(Dialog("Replace"), dlg);
    ::SendMessageA(dlg, WM_CLOSE, 0, 0);
    Pump();
    EXPECT_FALSE(::IsWindow(dlg));

    // With the text gone, there is nothing to look in.
    View().SetWindowText("");
    EXPECT_FALSE(Enabled(ID_EDIT_FIND));
    EXPECT_FALSE(Enabled(ID_EDIT_REPLACE));
}

TEST_F(EditViewTest, AViewWithoutHorizontalScrollingWrapsLongLines)
{
    Open(RUNTIME_CLASS(CWrapView));
    CEdit& edit = static_cast<CEditView*>(frame->GetActiveView())->GetEditCtrl();
    EXPECT_FALSE(edit.GetStyle() & (WS_HSCROLL | ES_AUTOHSCROLL));
    std::string line;
    for (int i = 0; i < 40; ++i)
        line += "word ";
    edit.SetWindowText(line.c_str());
    EXPECT_GT(edit.GetLineCount(), 2) << "one long line shown on several";
    CString text;
    edit.GetWindowText(text);
    EXPECT_EQ(std::string(text), line) << "wrapping adds no line breaks to the text";
}

}  // namespace
