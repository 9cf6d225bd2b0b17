// CEditView: a view that is a multi-line edit control.
#include <afxwin.h>

#include <mfc/CommonDialogs.h>
#include <mfc/EditView.h>

#include <winclip.h>

#include <string>

IMPLEMENT_DYNCREATE(CEditView, CView)

namespace {

// The dialog's registered message; set before the first view can receive it.
UINT g_findReplaceMessage = 0;

}  // namespace

BEGIN_MESSAGE_MAP(CEditView, CView)
ON_WM_CREATE()
ON_WM_PAINT()
ON_WM_DESTROY()
ON_REGISTERED_MESSAGE(g_findReplaceMessage, OnFindReplaceCmd)
ON_COMMAND(ID_EDIT_FIND, OnEditFind)
ON_COMMAND(ID_EDIT_REPLACE, OnEditReplace)
ON_COMMAND(ID_EDIT_CUT, OnEditCut)
ON_COMMAND(ID_EDIT_COPY, OnEditCopy)
ON_COMMAND(ID_EDIT_PASTE, OnEditPaste)
ON_COMMAND(ID_EDIT_CLEAR, OnEditClear)
ON_COMMAND(ID_EDIT_UNDO, OnEditUndo)
ON_COMMAND(ID_EDIT_SELECT_ALL, OnEditSelectAll)
ON_COMMAND(ID_EDIT_REPEAT, OnEditRepeat)
ON_COMMAND(ID_FILE_PRINT, OnFilePrint)
ON_COMMAND(ID_FILE_PRINT_DIRECT, OnFilePrintDirect)
ON_UPDATE_COMMAND_UI(ID_EDIT_CUT, OnUpdateNeedSel)
ON_UPDATE_COMMAND_UI(ID_EDIT_COPY, OnUpdateNeedSel)
ON_UPDATE_COMMAND_UI(ID_EDIT_CLEAR, OnUpdateNeedSel)
ON_UPDATE_COMMAND_UI(ID_EDIT_PASTE, OnUpdateNeedClip)
ON_UPDATE_COMMAND_UI(ID_EDIT_SELECT_ALL, OnUpdateNeedText)
ON_UPDATE_COMMAND_UI(ID_EDIT_FIND, OnUpdateNeedText)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPLACE, OnUpdateNeedText)
ON_UPDATE_COMMAND_UI(ID_EDIT_REPEAT, OnUpdateNeedFind)
ON_UPDATE_COMMAND_UI(ID_EDIT_UNDO, OnUpdateEditUndo)
END_MESSAGE_MAP()

const DWORD CEditView::dwStyleDefault = WS_CHILD | WS_VISIBLE | WS_BORDER | WS_HSCROLL | WS_VSCROLL | ES_AUTOHSCROLL |
                                        ES_AUTOVSCROLL | ES_MULTILINE | ES_NOHIDESEL;
const UINT CEditView::nMaxSize = 1024U * 1024U - 1;

namespace {

// The thread's find state: what the last search looked for (Find Next repeats it and the next
// dialog starts with it) and the one Find or Replace dialog open.
struct LastSearch {
    CString find;
    CString replace;
    BOOL next = TRUE;
    BOOL matchCase = FALSE;
    BOOL findOnly = TRUE;
    CFindReplaceDialog* dialog = nullptr;
};

LastSearch& Last()
{
    thread_local LastSearch last;
    return last;
}

// The text folded for a search that ignores case (Windows-1252 letters included).
std::string Folded(LPCSTR text, int length)
{
    std::string s(text, static_cast<size_t>(length));
    if (!s.empty())
        ::CharLowerBuffA(s.data(), static_cast<DWORD>(s.size()));
    return s;
}

}  // namespace

CEditView::CEditView() : m_nTabStops(8 * 4), m_bLoading(FALSE)
{
    static const UINT registered = g_findReplaceMessage = ::RegisterWindowMessageA(FINDMSGSTRING);
    (void)registered;
}

CEditView::~CEditView()
{
    // The control's wrapper only borrows the view's window.
    m_edit.m_hWnd = NULL;
}

CEdit& CEditView::GetEditCtrl() const
{
    m_edit.m_hWnd = m_hWnd;
    return m_edit;
}

BOOL CEditView::PreCreateWindow(CREATESTRUCT& cs)
{
    cs.lpszClass = "EDIT";
    cs.style |= dwStyleDefault & ~(WS_CHILD | WS_VISIBLE);
    return CView::PreCreateWindow(cs);
}

int CEditView::OnCreate(LPCREATESTRUCT lpcs)
{
    if (CView::OnCreate(lpcs) == -1)
        return -1;
    GetEditCtrl().LimitText(static_cast<int>(nMaxSize));
    GetEditCtrl().SetTabStops(m_nTabStops);
    return 0;
}

void CEditView::OnPaint()
{
    Default();
}

void CEditView::OnDraw(CDC*) {}

void CEditView::SetTabStops(int nTabStops)
{
    m_nTabStops = nTabStops;
    if (m_hWnd != NULL) {
        GetEditCtrl().SetTabStops(m_nTabStops);
        Invalidate(TRUE);
    }
}

void CEditView::GetSelectedText(CString& strResult) const
{
    int start = 0, end = 0;
    GetEditCtrl().GetSel(start, end);
    CString text;
    GetWindowText(text);
    strResult = text.Mid(start, end - start);
    int lineEnd = strResult.FindOneOf("\r\n");
    if (lineEnd >= 0)
        strResult = strResult.Left(lineEnd);
}

LPCSTR CEditView::LockBuffer() const
{
    GetWindowText(m_strLocked);
    return m_strLocked;
}

void CEditView::UnlockBuffer() const
{
    m_strLocked.Empty();
}

UINT CEditView::GetBufferLength() const
{
    return static_cast<UINT>(GetWindowTextLength());
}

// ---- Serialisation ------------------------------------------------------------------------------

void CEditView::ReadFromArchive(CArchive& ar, UINT nChars)
{
    if (nChars > nMaxSize)
        AfxThrowArchiveException(CArchiveException::generic);
    CString text;
    LPSTR buffer = text.GetBuffer(static_cast<int>(nChars));
    UINT got = ar.Read(buffer, nChars);
    text.ReleaseBuffer(static_cast<int>(got));
    if (got != nChars)
        AfxThrowArchiveException(CArchiveException::endOfFile);
    m_bLoading = TRUE;
    SetWindowText(text);
    m_bLoading = FALSE;
    Invalidate(TRUE);
}

void CEditView::WriteToArchive(CArchive& ar)
{
    LPCSTR text = LockBuffer();
    ar.Write(text, GetBufferLength());
    UnlockBuffer();
}

void CEditView::SerializeRaw(CArchive& ar)
{
    if (ar.IsStoring()) {
        WriteToArchive(ar);
        return;
    }
    // Everything the archive still holds becomes the text. The control's text ends at a NUL
    // byte and holds at most nMaxSize bytes: a file that it could not hold whole is refused
    // rather than cut short (saving it back would lose the rest).
    std::string bytes;
    char chunk[4096];
    for (;;) {
        UINT got = ar.Read(chunk, sizeof chunk);
        bytes.append(chunk, got);
        if (bytes.size() > nMaxSize) {
            AfxMessageBox(AFX_IDP_FILE_TOO_LARGE, MB_ICONEXCLAMATION);
            AfxThrowUserException();
        }
        if (got < sizeof chunk)
            break;
    }
    if (bytes.find('\0') != std::string::npos)
        AfxThrowArchiveException(CArchiveException::badSchema);
    m_bLoading = TRUE;
    SetWindowText(CString(bytes.data(), static_cast<int>(bytes.size())));
    m_bLoading = FALSE;
    Invalidate(TRUE);
}

void CEditView::Serialize(CArchive& ar)
{
    if (ar.IsStoring()) {
        ar << static_cast<DWORD>(GetBufferLength());
        WriteToArchive(ar);
    } else {
        DWORD length = 0;
        ar >> length;
        ReadFromArchive(ar, static_cast<UINT>(length));
    }
}

// ---- The document's link ------------------------------------------------------------------------

BOOL CEditView::OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult)
{
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE && OnEditChange())
        return TRUE;
    return CView::OnChildNotify(message, wParam, lParam, pResult);
}

BOOL CEditView::OnEditChange()
{
    if (!m_bLoading && m_pDocument != NULL)
        m_pDocument->SetModifiedFlag();
    return FALSE;
}

// ---- Edit commands ------------------------------------------------------------------------------

void CEditView::OnEditCut() { GetEditCtrl().Cut(); }
void CEditView::OnEditCopy() { GetEditCtrl().Copy(); }
void CEditView::OnEditPaste() { GetEditCtrl().Paste(); }
void CEditView::OnEditClear() { GetEditCtrl().Clear(); }
void CEditView::OnEditUndo() { GetEditCtrl().Undo(); }
void CEditView::OnEditSelectAll() { GetEditCtrl().SetSel(0, -1); }

void CEditView::OnEditRepeat()
{
    if (Last().find.IsEmpty()) {
        OnTextNotFound(Last().find);
        return;
    }
    OnFindNext(Last().find, Last().next, Last().matchCase);
}

void CEditView::OnEditFind() { OnEditFindReplace(TRUE); }
void CEditView::OnEditReplace() { OnEditFindReplace(FALSE); }

void CEditView::OnEditFindReplace(BOOL bFindOnly)
{
    LastSearch& last = Last();
    if (last.dialog != NULL) {
        if (last.findOnly == bFindOnly) {
            last.dialog->SetActiveWindow();
            last.dialog->ShowWindow(SW_SHOW);
            return;
        }
        // The other kind goes first. It closes at once: its owner hears FR_DIALOGTERM and the
        // object deletes itself.
        last.dialog->SendMessage(WM_CLOSE);
        last.dialog = NULL;
    }
    CString find;
    GetSelectedText(find);
    if (find.IsEmpty())
        find = last.find;
    DWORD flags = FR_HIDEWHOLEWORD;
    if (last.next)
        flags |= FR_DOWN;
    if (last.matchCase)
        flags |= FR_MATCHCASE;
    auto* dialog = new CFindReplaceDialog;
    if (!dialog->Create(bFindOnly, find, last.replace, flags, this)) {
        delete dialog;
        return;
    }
    last.dialog = dialog;
    last.findOnly = bFindOnly;
    dialog->SetActiveWindow();
    dialog->ShowWindow(SW_SHOW);
}

LRESULT CEditView::OnFindReplaceCmd(WPARAM, LPARAM lParam)
{
    CFindReplaceDialog* dialog = CFindReplaceDialog::GetNotifier(lParam);
    if (dialog == NULL)
        return 0;
    LastSearch& last = Last();
    if (dialog->IsTerminating()) {
        if (last.dialog == dialog)
            last.dialog = NULL;
        return 0;
    }
    CString find = dialog->GetFindString();
    if (dialog->FindNext()) {
        OnFindNext(find, dialog->SearchDown(), dialog->MatchCase());
    } else if (dialog->ReplaceCurrent()) {
        CString replace = dialog->GetReplaceString();
        OnReplaceSel(find, dialog->SearchDown(), dialog->MatchCase(), replace);
    } else if (dialog->ReplaceAll()) {
        CString replace = dialog->GetReplaceString();
        OnReplaceAll(find, replace, dialog->MatchCase());
    }
    return 0;
}

void CEditView::OnDestroy()
{
    LastSearch& last = Last();
    if (last.dialog != NULL && last.dialog->m_fr.hwndOwner == m_hWnd) {
        CFindReplaceDialog* dialog = last.dialog;
        last.dialog = NULL;
        dialog->DestroyWindow();
    }
    CView::OnDestroy();
}

void CEditView::OnUpdateNeedSel(CCmdUI* pCmdUI)
{
    int start = 0, end = 0;
    GetEditCtrl().GetSel(start, end);
    pCmdUI->Enable(start != end);
}

void CEditView::OnUpdateNeedClip(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(::IsClipboardFormatAvailable(CF_TEXT));
}

void CEditView::OnUpdateNeedText(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetWindowTextLength() != 0);
}

void CEditView::OnUpdateNeedFind(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetWindowTextLength() != 0 && !Last().find.IsEmpty());
}

void CEditView::OnUpdateEditUndo(CCmdUI* pCmdUI)
{
    pCmdUI->Enable(GetEditCtrl().CanUndo());
}

// ---- Find and replace ---------------------------------------------------------------------------

int CEditView::Search(const CString& text, LPCSTR lpszFind, int from, BOOL bNext, BOOL bCase) const
{
    std::string hay = bCase ? std::string(static_cast<LPCSTR>(text), static_cast<size_t>(text.GetLength()))
                           : Folded(text, text.GetLength());
    std::string needle = bCase ? std::string(lpszFind) : Folded(lpszFind, lstrlenA(lpszFind));
    if (needle.empty() || from < 0)
        return -1;
    size_t at;
    if (bNext) {
        at = hay.find(needle, static_cast<size_t>(from));
    } else {
        if (from == 0)
            return -1;
        at = hay.rfind(needle, static_cast<size_t>(from - 1));
    }
    return at == std::string::npos ? -1 : static_cast<int>(at);
}

BOOL CEditView::SelectionIs(LPCSTR lpszFind, BOOL bCase) const
{
    CString selected;
    GetSelectedText(selected);
    return bCase ? selected.Compare(lpszFind) == 0 : selected.CompareNoCase(lpszFind) == 0;
}

BOOL CEditView::FindText(LPCSTR lpszFind, BOOL bNext, BOOL bCase)
{
    if (lpszFind == NULL || *lpszFind == '\0')
        return FALSE;
    CString text;
    GetWindowText(text);
    int start = 0, end = 0;
    GetEditCtrl().GetSel(start, end);
    // Forwards from the end of the selection, backwards from its start; then around the end.
    int at = Search(text, lpszFind, bNext ? end : start, bNext, bCase);
    if (at < 0)
        at = Search(text, lpszFind, bNext ? 0 : text.GetLength(), bNext, bCase);
    if (at < 0)
        return FALSE;
    GetEditCtrl().SetSel(at, at + lstrlenA(lpszFind));
    return TRUE;
}

void CEditView::OnFindNext(LPCSTR lpszFind, BOOL bNext, BOOL bCase)
{
    LastSearch& last = Last();
    last.find = lpszFind;
    last.next = bNext;
    last.matchCase = bCase;
    if (!FindText(lpszFind, bNext, bCase))
        OnTextNotFound(lpszFind);
}

void CEditView::OnReplaceSel(LPCSTR lpszFind, BOOL bNext, BOOL bCase, LPCSTR lpszReplace)
{
    LastSearch& last = Last();
    last.find = lpszFind;
    last.replace = lpszReplace;
    last.next = bNext;
    last.matchCase = bCase;
    if (!SelectionIs(lpszFind, bCase)) {
        // The first press finds the text; the next one replaces it.
        if (!FindText(lpszFind, bNext, bCase))
            OnTextNotFound(lpszFind);
        return;
    }
    GetEditCtrl().ReplaceSel(lpszReplace, TRUE);
    if (!FindText(lpszFind, bNext, bCase))
        OnTextNotFound(lpszFind);
}

void CEditView::OnReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bCase)
{
    LastSearch& last = Last();
    last.find = lpszFind;
    last.replace = lpszReplace;
    last.matchCase = bCase;
    if (lpszFind == NULL || *lpszFind == '\0')
        return;
    CString text;
    GetWindowText(text);
    const int findLength = lstrlenA(lpszFind);
    const int replaceLength = lpszReplace ? lstrlenA(lpszReplace) : 0;
    // From the start of the text to its end, once: a replacement is never searched again.
    int from = 0;
    int replaced = 0;
    for (int at; (at = Search(text, lpszFind, from, TRUE, bCase)) >= 0;) {
        GetEditCtrl().SetSel(at, at + findLength, TRUE);
        GetEditCtrl().ReplaceSel(lpszReplace ? lpszReplace : "", TRUE);
        GetWindowText(text);
        from = at + replaceLength;
        ++replaced;
    }
    if (replaced == 0)
        OnTextNotFound(lpszFind);
}

void CEditView::OnTextNotFound(LPCSTR)
{
    ::MessageBeep(MB_ICONEXCLAMATION);
}
