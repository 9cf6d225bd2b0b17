// FindText and ReplaceText: the modeless Find and Replace dialogs. They hold no text of their
// own: every button writes the edits and options back into the caller's FINDREPLACE and tells
// the owner with the registered FINDMSGSTRING message; the owner does the searching.
#include "CommonDialogInternal.h"

#include <dlgs.h>

#include <host/DialogTemplate.h>

#include <cstring>
#include <optional>
#include <string>

namespace {

constexpr DWORD kActions = FR_FINDNEXT | FR_REPLACE | FR_REPLACEALL | FR_DIALOGTERM;
constexpr int kLabel = -1;

UINT FindMessage()
{
    static const UINT message = RegisterWindowMessageA(FINDMSGSTRING);
    return message;
}

UINT HelpMessage()
{
    static const UINT message = RegisterWindowMessageA(HELPMSGSTRING);
    return message;
}

// The caller's text in a buffer of `size` bytes that may lack its terminating NUL.
std::string BufferText(LPCSTR buffer, WORD size)
{
    return buffer ? std::string(buffer, strnlen(buffer, size)) : std::string();
}

// Copies text into a caller's buffer of `size` bytes, cut to fit, always terminated.
void StoreText(const std::string& text, LPSTR buffer, WORD size)
{
    if (!buffer || size == 0)
        return;
    size_t n = text.size() < size ? text.size() : size - 1u;
    std::memcpy(buffer, text.data(), n);
    buffer[n] = '\0';
}

// The caller's template (FR_ENABLETEMPLATE or FR_ENABLETEMPLATEHANDLE); the error code when
// there is none to be had. No template asked for: an empty optional and no error.
std::optional<host::DialogTemplate> CallerTemplate(const FINDREPLACEA& fr, DWORD& error)
{
    error = 0;
    if (fr.Flags & FR_ENABLETEMPLATEHANDLE) {
        if (!fr.hInstance) {
            error = CDERR_NOTEMPLATE;
            return std::nullopt;
        }
        auto memory = reinterpret_cast<HGLOBAL>(fr.hInstance);
        const void* bytes = GlobalLock(memory);
        std::size_t size = bytes ? GlobalSize(memory) : 0;
        if (!bytes) {
            // A loaded resource rather than global memory: the parser stops at the template's end.
            bytes = LockResource(memory);
            size = 1u << 20;
        }
        std::optional<host::DialogTemplate> t;
        if (bytes)
            t = host::ParseDialogTemplate(bytes, size);
        if (GlobalSize(memory))
            GlobalUnlock(memory);
        if (!t)
            error = CDERR_LOADRESFAILURE;
        return t;
    }
    if (fr.Flags & FR_ENABLETEMPLATE) {
        if (!fr.hInstance) {
            error = CDERR_NOHINSTANCE;
            return std::nullopt;
        }
        if (!fr.lpTemplateName) {
            error = CDERR_NOTEMPLATE;
            return std::nullopt;
        }
        HRSRC info = FindResource(fr.hInstance, fr.lpTemplateName, RT_DIALOG);
        if (!info) {
            error = CDERR_FINDRESFAILURE;
            return std::nullopt;
        }
        HGLOBAL data = LoadResource(fr.hInstance, info);
        const void* bytes = data ? LockResource(data) : nullptr;
        std::optional<host::DialogTemplate> t;
        if (bytes)
            t = host::ParseDialogTemplate(bytes, SizeofResource(fr.hInstance, info));
        if (!t)
            error = CDERR_LOADRESFAILURE;
        return t;
    }
    return std::nullopt;
}

// The reason a FINDREPLACE cannot make a dialog (0: none), in the order the checks are
// documented: the structure, the owner, the buffers, the hook.
DWORD Check(const FINDREPLACEA* fr, bool replace)
{
    if (!fr)
        return CDERR_INITIALIZATION;
    if (fr->lStructSize != sizeof(FINDREPLACEA))
        return CDERR_STRUCTSIZE;
    if (!fr->hwndOwner || !IsWindow(fr->hwndOwner))
        return CDERR_DIALOGFAILURE;
    if (!fr->lpstrFindWhat || fr->wFindWhatLen == 0)
        return FRERR_BUFFERLENGTHZERO;
    if (replace && (!fr->lpstrReplaceWith || fr->wReplaceWithLen == 0))
        return FRERR_BUFFERLENGTHZERO;
    if ((fr->Flags & FR_ENABLEHOOK) && !fr->lpfnHook)
        return CDERR_NOHOOK;
    if (!FindMessage())
        return CDERR_REGISTERMSGFAIL;
    return 0;
}

class FindDialog : public commdlg::DialogWindow {
public:
    FindDialog(FINDREPLACEA& fr, bool replace)
        : DialogWindow(replace ? "Replace" : "Find", replace ? 230 : 236, replace ? 94 : 62), fr_(fr),
          replace_(replace)
    {
        const DWORD push = BS_PUSHBUTTON | WS_TABSTOP;
        const DWORD check = BS_AUTOCHECKBOX | WS_TABSTOP;
        const DWORD edit = ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP;
        if (!replace) {
            Add("Static", "Fi&nd what:", kLabel, SS_LEFT, 4, 8, 42, 8);
            Add("Edit", "", edt1, edit, 47, 7, 128, 12);
            Add("Button", "Match &whole word only", chx1, check | WS_GROUP, 4, 26, 100, 12);
            Add("Button", "Match &case", chx2, check, 4, 42, 64, 12);
            Add("Button", "Direction", grp1, BS_GROUPBOX | WS_GROUP, 107, 26, 68, 28);
            Add("Button", "&Up", rad1, BS_AUTORADIOBUTTON | WS_TABSTOP | WS_GROUP, 111, 38, 25, 12);
            Add("Button", "&Down", rad2, BS_AUTORADIOBUTTON, 138, 38, 35, 12);
            Add("Button", "&Find Next", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 182, 5, 50, 14);
            Add("Button", "Cancel", IDCANCEL, push, 182, 23, 50, 14);
            Add("Button", "&Help", pshHelp, push, 182, 45, 50, 14);
        } else {
            Add("Static", "Fi&nd what:", kLabel, SS_LEFT, 4, 9, 48, 8);
            Add("Edit", "", edt1, edit, 54, 7, 114, 12);
            Add("Static", "Re&place with:", kLabel, SS_LEFT | WS_GROUP, 4, 26, 48, 8);
            Add("Edit", "", edt2, edit, 54, 24, 114, 12);
            Add("Button", "Match &whole word only", chx1, check | WS_GROUP, 5, 46, 104, 12);
            Add("Button", "Match &case", chx2, check, 5, 62, 59, 12);
            Add("Button", "&Find Next", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 174, 4, 50, 14);
            Add("Button", "&Replace", psh1, push, 174, 21, 50, 14);
            Add("Button", "Replace &All", psh2, push, 174, 38, 50, 14);
            Add("Button", "Cancel", IDCANCEL, push, 174, 55, 50, 14);
            Add("Button", "&Help", pshHelp, push, 174, 75, 50, 14);
        }
    }

private:
    void OnInit() override
    {
        SetText(edt1, BufferText(fr_.lpstrFindWhat, fr_.wFindWhatLen));
        Send(edt1, EM_LIMITTEXT, fr_.wFindWhatLen - 1u);
        if (replace_) {
            SetText(edt2, BufferText(fr_.lpstrReplaceWith, fr_.wReplaceWithLen));
            Send(edt2, EM_LIMITTEXT, fr_.wReplaceWithLen - 1u);
        }
        const DWORD flags = fr_.Flags;
        Send(chx1, BM_SETCHECK, (flags & FR_WHOLEWORD) ? BST_CHECKED : BST_UNCHECKED);
        Send(chx2, BM_SETCHECK, (flags & FR_MATCHCASE) ? BST_CHECKED : BST_UNCHECKED);
        Option(chx1, flags & FR_HIDEWHOLEWORD, flags & FR_NOWHOLEWORD);
        Option(chx2, flags & FR_HIDEMATCHCASE, flags & FR_NOMATCHCASE);
        if (!replace_) {
            Send(rad1, BM_SETCHECK, (flags & FR_DOWN) ? BST_UNCHECKED : BST_CHECKED);
            Send(rad2, BM_SETCHECK, (flags & FR_DOWN) ? BST_CHECKED : BST_UNCHECKED);
            Option(grp1, flags & FR_HIDEUPDOWN, flags & FR_NOUPDOWN);
            Option(rad1, flags & FR_HIDEUPDOWN, flags & FR_NOUPDOWN);
            Option(rad2, flags & FR_HIDEUPDOWN, flags & FR_NOUPDOWN);
        }
        if (!(flags & FR_SHOWHELP))
            Option(pshHelp, true, true);
        UpdateButtons();
    }

    bool OnCommand(int id, int code) override
    {
        switch (id) {
        case edt1:
            if (code == EN_CHANGE)
                UpdateButtons();
            return code == EN_CHANGE;
        case IDOK:
        case psh1:
        case psh2:
            // Nothing to look for: the buttons are off, and Enter does nothing either.
            if (Text(edt1).empty() || !IsWindowEnabled(Item(id)))
                return true;
            Notify(FindMessage(), id == IDOK ? FR_FINDNEXT : id == psh1 ? FR_REPLACE : FR_REPLACEALL);
            return true;
        case pshHelp:
            if (Item(pshHelp) && IsWindowEnabled(Item(pshHelp)))
                Notify(HelpMessage(), 0);
            return true;
        case IDCANCEL: Close(); return true;
        default: return false;
        }
    }

    bool OnMessage(UINT msg, WPARAM, LPARAM, INT_PTR& result) override
    {
        if (msg == WM_CLOSE) {
            Close();
            result = 0;
            return true;
        }
        // Destroyed from outside (DestroyWindow, the owner's end): the owner still hears of it.
        if (msg == WM_DESTROY)
            Terminate();
        return false;
    }

    // Cancel, Escape and the close box: the owner hears of the end while the window and the
    // FINDREPLACE still stand; the window then goes, and this object with it.
    void Close()
    {
        HWND dlg = dlg_;
        Terminate();
        if (IsWindow(dlg))
            DestroyWindow(dlg);
    }

    // FR_DIALOGTERM, once. The buffers keep what the last button put there.
    void Terminate()
    {
        if (terminated_)
            return;
        terminated_ = true;
        fr_.Flags = (fr_.Flags & ~kActions) | FR_DIALOGTERM;
        if (IsWindow(fr_.hwndOwner))
            SendMessageA(fr_.hwndOwner, FindMessage(), 0, reinterpret_cast<LPARAM>(&fr_));
    }

    void OnFinalMessage() override { delete this; }

    void SetText(int id, const std::string& text) const { SetDlgItemTextA(dlg_, id, text.c_str()); }

    // A control that the flags hide or disable.
    void Option(int id, bool hide, bool disable) const
    {
        HWND c = Item(id);
        if (!c)
            return;
        if (hide)
            ShowWindow(c, SW_HIDE);
        if (hide || disable)
            EnableWindow(c, FALSE);
    }

    // The buttons that act on the text are off while there is none.
    void UpdateButtons() const
    {
        BOOL any = GetWindowTextLengthA(Item(edt1)) > 0;
        for (int id : {IDOK, psh1, psh2})
            if (HWND c = Item(id))
                EnableWindow(c, any);
    }

    bool Checked(int id) const { return Item(id) && Send(id, BM_GETCHECK) == BST_CHECKED; }

    // Writes the dialog's state into the caller's structure and sends it to the owner.
    void Notify(UINT message, DWORD action)
    {
        StoreText(Text(edt1), fr_.lpstrFindWhat, fr_.wFindWhatLen);
        if (replace_)
            StoreText(Text(edt2), fr_.lpstrReplaceWith, fr_.wReplaceWithLen);
        DWORD flags = fr_.Flags & ~(kActions | FR_WHOLEWORD | FR_MATCHCASE);
        if (Checked(chx1))
            flags |= FR_WHOLEWORD;
        if (Checked(chx2))
            flags |= FR_MATCHCASE;
        if (!replace_ && Item(rad2) && Item(rad1)) {
            flags &= ~static_cast<DWORD>(FR_DOWN);
            if (Checked(rad2))
                flags |= FR_DOWN;
        }
        if (message == FindMessage())
            flags |= action;
        fr_.Flags = flags;
        SendMessageA(fr_.hwndOwner, message, message == HelpMessage() ? reinterpret_cast<WPARAM>(dlg_) : 0,
                     reinterpret_cast<LPARAM>(&fr_));
    }

    FINDREPLACEA& fr_;
    bool replace_;
    bool terminated_ = false;
};

HWND Open(LPFINDREPLACEA fr, bool replace)
{
    if (DWORD error = Check(fr, replace)) {
        commdlg::SetError(error);
        return nullptr;
    }
    DWORD error = 0;
    std::optional<host::DialogTemplate> custom = CallerTemplate(*fr, error);
    if (error) {
        commdlg::SetError(error);
        return nullptr;
    }
    auto* dialog = new FindDialog(*fr, replace);
    if (custom)
        dialog->UseTemplate(*custom);
    if (fr->Flags & FR_ENABLEHOOK)
        dialog->SetHook(fr->lpfnHook, reinterpret_cast<LPARAM>(fr));
    HWND dlg = dialog->Create(fr->hwndOwner);
    if (!dlg) {
        delete dialog;
        commdlg::SetError(CDERR_DIALOGFAILURE);
        return nullptr;
    }
    commdlg::SetError(0);
    return dlg;
}

}  // namespace

HWND WINAPI FindTextA(LPFINDREPLACEA lpfr)
{
    return Open(lpfr, false);
}

HWND WINAPI ReplaceTextA(LPFINDREPLACEA lpfr)
{
    return Open(lpfr, true);
}
