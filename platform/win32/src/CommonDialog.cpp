// The common dialogs' shared part: the script's answers for them and the interactive prompt
// built from the dialog manager and the standard controls.
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

constexpr int kPromptEdit = 1152;
constexpr int kPromptLabel = 1090;

struct PromptState {
    const std::function<bool(std::string&)>* accept = nullptr;
    std::string answer;
};

INT_PTR CALLBACK PromptProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* state = reinterpret_cast<PromptState*>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dlg, DWLP_USER, lParam);
        state = reinterpret_cast<PromptState*>(lParam);
        SetDlgItemTextA(dlg, kPromptEdit, state->answer.c_str());
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            char text[MAX_PATH];
            GetDlgItemTextA(dlg, kPromptEdit, text, sizeof text);
            std::string answer = text;
            if ((*state->accept)(answer)) {
                state->answer = answer;
                EndDialog(dlg, IDOK);
            } else {
                SendMessageA(dlg, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(GetDlgItem(dlg, kPromptEdit)), TRUE);
            }
            return TRUE;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        return FALSE;
    default: return FALSE;
    }
}

host::DialogControlTemplate Item(const char* cls, const std::string& text, DWORD id, DWORD style, short x, short y,
                                 short cx, short cy)
{
    host::DialogControlTemplate c;
    c.className = cls;
    c.text.text = text;
    c.id = id;
    c.style = style | WS_CHILD | WS_VISIBLE;
    c.x = x;
    c.y = y;
    c.cx = cx;
    c.cy = cy;
    return c;
}

bool Interactive(HWND owner, const std::string& title, const std::string& label, const std::string& initial,
                 const std::function<bool(std::string&)>& accept, std::string& answer)
{
    host::DialogTemplate t;
    t.style = DS_MODALFRAME | DS_SETFONT | DS_CENTER | WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE;
    t.cx = 260;
    t.cy = 62;
    t.caption = title;
    t.hasFont = true;
    t.pointSize = 8;
    t.weight = 400;
    t.faceName = "MS Sans Serif";
    t.controls.push_back(Item("Static", label, kPromptLabel, SS_LEFT, 7, 7, 246, 9));
    t.controls.push_back(Item("Edit", "", kPromptEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, 7, 19, 246, 13));
    t.controls.push_back(Item("Button", "OK", IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, 149, 41, 50, 14));
    t.controls.push_back(Item("Button", "Cancel", IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 203, 41, 50, 14));
    PromptState state;
    state.accept = &accept;
    state.answer = initial;
    INT_PTR r = dialog::RunModal(nullptr, t, owner, PromptProc, reinterpret_cast<LPARAM>(&state));
    if (r != IDOK)
        return false;
    answer = state.answer;
    return true;
}

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

bool Ask(HWND owner, const std::string& kind, const std::string& title, const std::string& label,
         const std::string& initial, const std::function<bool(std::string&)>& accept, std::string& answer)
{
    host::CommonDialogRecord record;
    record.kind = kind;
    record.title = title;
    bool ok = false;
    if (host::IsInteractive() && host::PendingCommonDialogAnswers() == 0) {
        ok = Interactive(owner, title, label, initial, accept, answer);
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

}  // namespace commdlg

DWORD WINAPI CommDlgExtendedError(void)
{
    return t_error;
}
