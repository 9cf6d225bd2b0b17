// The common dialogs' shared part: the script's answers for them, and the modal dialog window
// that the interactive dialogs are built on (the dialog manager and the standard controls).
#include "CommonDialogInternal.h"
#include "DialogInternal.h"

#include <host/DialogTemplate.h>
#include <host/UiScript.h>

#include <deque>
#include <mutex>
#include <vector>

namespace {

struct QueuedAnswer {
    std::string match;
    std::string answer;
    bool cancel = false;
};

struct CommonScript {
    std::mutex lock;
    std::deque<QueuedAnswer> answers;
    std::vector<host::CommonDialogRecord> log;
};

CommonScript& Cs()
{
    static auto* s = new CommonScript;
    return *s;
}

thread_local DWORD t_error = 0;

}  // namespace

namespace host {

void AnswerCommonDialog(const std::string& match, const std::string& answer)
{
    std::lock_guard<std::mutex> g(Cs().lock);
    Cs().answers.push_back(QueuedAnswer{match, answer, false});
}

void CancelCommonDialog(const std::string& match)
{
    std::lock_guard<std::mutex> g(Cs().lock);
    Cs().answers.push_back(QueuedAnswer{match, "", true});
}

std::vector<CommonDialogRecord> CommonDialogLog()
{
    std::lock_guard<std::mutex> g(Cs().lock);
    return Cs().log;
}

size_t PendingCommonDialogAnswers()
{
    std::lock_guard<std::mutex> g(Cs().lock);
    return Cs().answers.size();
}

bool TakeCommonDialogAnswer(const std::string& kind, const std::string& title, std::string& answer, bool& cancel)
{
    std::lock_guard<std::mutex> g(Cs().lock);
    for (auto it = Cs().answers.begin(); it != Cs().answers.end(); ++it)
        if (it->match.empty() || it->match == kind || it->match == title) {
            answer = it->answer;
            cancel = it->cancel;
            Cs().answers.erase(it);
            return true;
        }
    return false;
}

void LogCommonDialog(const CommonDialogRecord& record)
{
    std::lock_guard<std::mutex> g(Cs().lock);
    Cs().log.push_back(record);
}

void ResetCommonDialogScript()
{
    std::lock_guard<std::mutex> g(Cs().lock);
    Cs().answers.clear();
    Cs().log.clear();
}

}  // namespace host

namespace commdlg {

void SetError(DWORD code) { t_error = code; }

bool Ask(HWND owner, const std::string& kind, const std::string& title,
         const std::function<bool(std::string&)>& accept, const std::function<bool(std::string&)>& show,
         std::string& answer)
{
    host::CommonDialogRecord record;
    record.kind = kind;
    record.title = title;
    bool ok = false;
    if (host::IsInteractive() && host::PendingCommonDialogAnswers() == 0) {
        ok = show(answer);
        record.answered = true;
        record.cancelled = !ok;
    } else {
        // The owner is disabled while the dialog is up, as for every modal dialog.
        HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
        bool reenable = root && IsWindowEnabled(root);
        if (reenable)
            EnableWindow(root, FALSE);
        for (;;) {
            std::string candidate;
            bool cancel = false;
            if (!host::TakeCommonDialogAnswer(kind, title, candidate, cancel)) {
                host::ReportUiFailure("Unanswered " + kind + " dialog \"" + title + "\"");
                break;
            }
            record.answered = true;
            if (cancel) {
                record.cancelled = true;
                break;
            }
            if (accept(candidate)) {
                answer = candidate;
                ok = true;
                break;
            }
        }
        if (reenable && IsWindow(root))
            EnableWindow(root, TRUE);
    }
    if (ok)
        record.answer = answer;
    host::LogCommonDialog(record);
    return ok;
}

DialogWindow::DialogWindow(const std::string& caption, short cx, short cy)
{
    template_.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    template_.cx = cx;
    template_.cy = cy;
    template_.caption = caption;
    template_.hasFont = true;
    template_.pointSize = 8;
    template_.weight = FW_NORMAL;
    template_.faceName = "MS Sans Serif";
}

void DialogWindow::Add(const char* cls, const std::string& text, int id, DWORD style, short x, short y, short cx,
                       short cy)
{
    host::DialogControlTemplate c;
    c.className = cls;
    c.text.text = text;
    c.id = static_cast<DWORD>(id);
    c.style = style | WS_CHILD | WS_VISIBLE;
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    template_.controls.push_back(c);
}

INT_PTR DialogWindow::Run(HWND owner)
{
    INT_PTR r = dialog::RunModal(nullptr, template_, owner, Proc, reinterpret_cast<LPARAM>(this));
    dlg_ = nullptr;
    return r;
}

HWND DialogWindow::Create(HWND owner)
{
    creating_ = true;
    HWND dlg = dialog::Create(nullptr, template_, owner, Proc, reinterpret_cast<LPARAM>(this));
    creating_ = false;
    if (dlg && !IsWindowVisible(dlg))
        ShowWindow(dlg, SW_SHOWNORMAL);
    return dlg;
}

void DialogWindow::SetHook(UINT_PTR(CALLBACK* hook)(HWND, UINT, WPARAM, LPARAM), LPARAM initParam)
{
    hook_ = hook;
    hookParam_ = initParam;
}

bool DialogWindow::OnMessage(UINT, WPARAM, LPARAM, INT_PTR&)
{
    return false;
}

std::string DialogWindow::Text(int id) const
{
    HWND item = Item(id);
    if (!item)
        return "";
    std::string text(static_cast<size_t>(GetWindowTextLengthA(item)) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(item, text.data(), static_cast<int>(text.size()))));
    return text;
}

void DialogWindow::Focus(int id) const
{
    if (HWND item = Item(id))
        SendMessageA(dlg_, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(item), TRUE);
}

int DialogWindow::Warn(const std::string& text, UINT type) const
{
    char title[256] = {};
    GetWindowTextA(dlg_, title, sizeof title);
    return MessageBoxA(dlg_, text.c_str(), title, type);
}

INT_PTR CALLBACK DialogWindow::Proc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrA(dlg, DWLP_USER));
    if (msg == WM_INITDIALOG) {
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        self = reinterpret_cast<DialogWindow*>(lParam);
        self->dlg_ = dlg;
        self->OnInit();
        if (self->hook_)
            return static_cast<INT_PTR>(self->hook_(dlg, msg, wParam, self->hookParam_));
        return TRUE;
    }
    if (!self)
        return FALSE;
    if (msg == WM_NCDESTROY) {
        if (self->hook_)
            self->hook_(dlg, msg, wParam, lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, 0);
        self->dlg_ = nullptr;
        if (!self->creating_)
            self->OnFinalMessage();
        return FALSE;
    }
    if (self->hook_) {
        if (INT_PTR handled = static_cast<INT_PTR>(self->hook_(dlg, msg, wParam, lParam)))
            return handled;
        if (!IsWindow(dlg))
            return TRUE;
    }
    if (msg == WM_COMMAND) {
        if (self->OnCommand(LOWORD(wParam), HIWORD(wParam)))
            return TRUE;
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    }
    INT_PTR result = 0;
    if (!self->OnMessage(msg, wParam, lParam, result))
        return FALSE;
    // Messages whose answer is the procedure's return value (WM_VKEYTOITEM, WM_CTLCOLOR...)
    // pass it directly; the rest go through DWLP_MSGRESULT.
    if (msg == WM_VKEYTOITEM || msg == WM_CHARTOITEM || msg == WM_COMPAREITEM)
        return result;
    SetWindowLongPtrA(dlg, DWLP_MSGRESULT, result);
    return TRUE;
}

}  // namespace commdlg

DWORD WINAPI CommDlgExtendedError(void)
{
    return t_error;
}
