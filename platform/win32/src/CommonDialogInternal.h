// Shared by the common dialogs' sources. Not installed.
#pragma once

#include <windows.h>

#include <commdlg.h>
#include <host/DialogTemplate.h>

#include <functional>
#include <string>
#include <vector>

namespace commdlg {

void SetError(DWORD code);

// Runs one common dialog. Headless (or while the UI script holds answers) the answer comes from
// the script: `accept` checks each answer, may tell the user why it refuses it (the script's
// next answer is then taken) and may complete it. Interactive, `show` runs the real dialog,
// which checks its answer with the same rules and returns false when the user cancels. Every
// run is logged. False: cancelled or unanswered (an unanswered dialog is reported with its
// title).
bool Ask(HWND owner, const std::string& kind, const std::string& title,
         const std::function<bool(std::string&)>& accept, const std::function<bool(std::string&)>& show,
         std::string& answer);

// A modal dialog of the common dialogs, built in memory from the standard controls in the
// classic look (MS Sans Serif 8, modal frame, centred over its owner). A subclass adds its
// controls in its constructor and reacts in the handlers; Run shows it modally.
class DialogWindow {
public:
    DialogWindow(const std::string& caption, short cx, short cy);
    virtual ~DialogWindow() = default;
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    // The id EndDialog passed (IDOK, IDCANCEL), or -1 when the dialog could not be made.
    INT_PTR Run(HWND owner);
    // Creates the dialog modeless and shows it, owned by `owner`'s top-level window; the
    // dialog's window, or nullptr when it could not be made. From then on the window owns the
    // object: OnFinalMessage runs when the window is gone (a modeless dialog deletes itself
    // there). On failure the caller still owns it.
    HWND Create(HWND owner);

    // A caller's hook procedure (OFN_ENABLEHOOK, FR_ENABLEHOOK...): it sees WM_INITDIALOG after
    // the dialog has set itself up, with `initParam` as lParam, and its answer decides the
    // focus; every other message goes to it first, and a non-zero answer means it handled it.
    void SetHook(UINT_PTR(CALLBACK* hook)(HWND, UINT, WPARAM, LPARAM), LPARAM initParam);
    // A caller's template replaces the built-in layout (its controls carry the same ids).
    void UseTemplate(const host::DialogTemplate& t) { template_ = t; }

protected:
    void Add(const char* cls, const std::string& text, int id, DWORD style, short x, short y, short cx, short cy);
    virtual void OnInit() {}
    // WM_COMMAND from a control or the keyboard; true when handled.
    virtual bool OnCommand(int id, int code) = 0;
    // Any other message; return true (and set `result`) when handled.
    virtual bool OnMessage(UINT msg, WPARAM wParam, LPARAM lParam, INT_PTR& result);
    // The window is gone (after WM_NCDESTROY); dlg_ is nullptr again.
    virtual void OnFinalMessage() {}

    HWND Item(int id) const { return GetDlgItem(dlg_, id); }
    std::string Text(int id) const;
    LRESULT Send(int id, UINT msg, WPARAM wParam = 0, LPARAM lParam = 0) const
    {
        return SendDlgItemMessageA(dlg_, id, msg, wParam, lParam);
    }
    // Moves the focus to a control (selecting an edit's text), as the dialog manager does.
    void Focus(int id) const;
    void End(INT_PTR result) const { EndDialog(dlg_, result); }
    // A message box over the dialog; the answer.
    int Warn(const std::string& text, UINT type = MB_OK | MB_ICONEXCLAMATION) const;

    HWND dlg_ = nullptr;

private:
    static INT_PTR CALLBACK Proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);
    host::DialogTemplate template_;
    UINT_PTR(CALLBACK* hook_)(HWND, UINT, WPARAM, LPARAM) = nullptr;
    LPARAM hookParam_ = 0;
    bool creating_ = false;  // a window lost while it is made is the caller's failure, not the end
};

}  // namespace commdlg

// ---- Open and save -------------------------------------------------------------------------

namespace commdlg {

struct FileFilter {
    std::string description;
    std::string pattern;  // one or more patterns separated by ';'
};
// "desc\0pattern\0...\0\0"; a description without its pattern ends the list.
std::vector<FileFilter> ParseFilters(LPCSTR list);

// Where the name part of a path begins (after the last '\', '/' or ':').
size_t NameStart(const std::string& path);
// Where the extension begins (after the dot) in the name part; npos when there is none.
size_t ExtensionStart(const std::string& path);
bool HasWildcards(const std::string& text);

// The rules of the open and save dialogs, one place for each, used by the scripted answers and
// by the dialog the user sees.
class FileRules {
public:
    FileRules(const OPENFILENAMEA& ofn, bool save);

    const std::string& Title() const { return title_; }
    bool Saving() const { return save_; }
    DWORD Flags() const { return flags_; }
    const std::vector<FileFilter>& Filters() const { return filters_; }
    // The folder the dialog starts in.
    std::string InitialFolder() const;
    // A typed name taken in `folder` (absolute names stay as they are).
    static std::string Combine(const std::string& folder, const std::string& name);
    // Completes a typed name into the full path (in `folder`, with the default extension for
    // the filter in use, 1-based) and checks it as the flags ask, telling the user why it is
    // refused in message boxes owned by `owner`. True with the path in `answer`.
    bool Accept(HWND owner, const std::string& folder, DWORD filterIndex, std::string& answer) const;

private:
    std::string DefaultExtension(DWORD filterIndex) const;
    int Warn(HWND owner, const std::string& text, UINT type) const;

    bool save_;
    DWORD flags_;
    std::string title_;
    std::string initialDir_;
    std::string defExt_;
    bool hasDefExt_;
    std::vector<FileFilter> filters_;
};

// What the user chose in the open or save dialog.
struct FileChoice {
    std::string path;
    DWORD filterIndex = 1;
    bool readOnly = false;
};
// Shows the open or save dialog; false when the user cancels. `choice` holds the initial name,
// filter index and read-only state on entry.
bool ShowFileDialog(HWND owner, const FileRules& rules, FileChoice& choice);

}  // namespace commdlg
