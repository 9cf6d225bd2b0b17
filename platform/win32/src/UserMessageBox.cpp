// The UI script (answers for message boxes, actions for modal loops), MessageBox and MessageBeep.
#include "UserInternal.h"

#include "MessageBoxLogFile.h"
#include "UserMessageBoxWindow.h"

#include <host/UiScript.h>

#include <cstdio>
#include <deque>

namespace {

struct Answer {
    std::string match;
    std::function<int(const host::MessageBoxRecord&)> produce;
};

struct Script {
    std::mutex lock;
    std::deque<Answer> answers;
    std::deque<std::function<void(HWND)>> actions;
    std::vector<host::MessageBoxRecord> log;
    std::vector<UINT> beeps;
    std::function<void(const std::string&)> failure;
    bool interactive = false;
};

Script& Sc()
{
    static auto* s = new Script;
    return *s;
}

bool Matches(const Answer& a, const host::MessageBoxRecord& box)
{
    return a.match.empty() || box.text.find(a.match) != std::string::npos || box.caption == a.match;
}

std::vector<int> Buttons(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return {IDOK, IDCANCEL};
    case MB_ABORTRETRYIGNORE: return {IDABORT, IDRETRY, IDIGNORE};
    case MB_YESNOCANCEL: return {IDYES, IDNO, IDCANCEL};
    case MB_YESNO: return {IDYES, IDNO};
    case MB_RETRYCANCEL: return {IDRETRY, IDCANCEL};
    default: return {IDOK};
    }
}

const char* TypeName(UINT type)
{
    switch (type & MB_TYPEMASK) {
    case MB_OKCANCEL: return "OK/Cancel";
    case MB_ABORTRETRYIGNORE: return "Abort/Retry/Ignore";
    case MB_YESNOCANCEL: return "Yes/No/Cancel";
    case MB_YESNO: return "Yes/No";
    case MB_RETRYCANCEL: return "Retry/Cancel";
    default: return "OK";
    }
}

}  // namespace

namespace host {

void AnswerMessageBox(const std::string& match, int answer)
{
    AnswerMessageBoxWith(match, [answer](const MessageBoxRecord&) { return answer; });
}

void AnswerNextMessageBox(int answer)
{
    AnswerMessageBoxWith("", [answer](const MessageBoxRecord&) { return answer; });
}

void AnswerMessageBoxWith(const std::string& match, std::function<int(const MessageBoxRecord&)> answer)
{
    std::lock_guard<std::mutex> g(Sc().lock);
    Sc().answers.push_back(Answer{match, std::move(answer)});
}

std::vector<MessageBoxRecord> MessageBoxLog()
{
    std::lock_guard<std::mutex> g(Sc().lock);
    return Sc().log;
}

std::vector<UINT> MessageBeeps()
{
    std::lock_guard<std::mutex> g(Sc().lock);
    return Sc().beeps;
}

void RunInNextModalLoop(std::function<void(HWND)> action)
{
    std::lock_guard<std::mutex> g(Sc().lock);
    Sc().actions.push_back(std::move(action));
}

size_t PendingModalActions()
{
    std::lock_guard<std::mutex> g(Sc().lock);
    return Sc().actions.size();
}

size_t PendingMessageBoxAnswers()
{
    std::lock_guard<std::mutex> g(Sc().lock);
    return Sc().answers.size();
}

bool ModalLoopIdle(HWND modalWindow, const std::string& what)
{
    std::function<void(HWND)> action;
    {
        std::lock_guard<std::mutex> g(Sc().lock);
        if (Sc().actions.empty()) {
            if (Sc().interactive)
                return true;
        } else {
            action = std::move(Sc().actions.front());
            Sc().actions.pop_front();
        }
    }
    if (!action) {
        char title[256] = {};
        if (modalWindow)
            GetWindowTextA(modalWindow, title, sizeof title);
        ReportUiFailure("Unanswered modal loop: " + what + (title[0] ? std::string(" \"") + title + "\"" : std::string()));
        return false;
    }
    action(modalWindow);
    return true;
}

void SetUiFailureHandler(std::function<void(const std::string&)> handler)
{
    std::lock_guard<std::mutex> g(Sc().lock);
    Sc().failure = std::move(handler);
}

void ReportUiFailure(const std::string& message)
{
    std::function<void(const std::string&)> handler;
    {
        std::lock_guard<std::mutex> g(Sc().lock);
        handler = Sc().failure;
    }
    if (handler)
        handler(message);
    else
        std::fprintf(stderr, "UI script: %s\n", message.c_str());
}

void SetInteractive(bool interactive)
{
    std::lock_guard<std::mutex> g(Sc().lock);
    Sc().interactive = interactive;
}

bool IsInteractive()
{
    std::lock_guard<std::mutex> g(Sc().lock);
    return Sc().interactive;
}

void ResetUiScript()
{
    std::lock_guard<std::mutex> g(Sc().lock);
    Sc().answers.clear();
    Sc().actions.clear();
    Sc().log.clear();
    Sc().beeps.clear();
    ResetCommonDialogScript();
}

}  // namespace host

using namespace user;

int WINAPI MessageBoxExA(HWND owner, LPCSTR text, LPCSTR caption, UINT type, WORD)
{
    host::MessageBoxRecord box;
    box.owner = owner;
    box.text = text ? text : "";
    box.caption = caption ? caption : "Error";
    box.type = type;
    std::vector<int> buttons = Buttons(type);
    int defIndex = static_cast<int>((type & MB_DEFMASK) >> 8);
    if (defIndex >= static_cast<int>(buttons.size()))
        defIndex = 0;
    int fallback = buttons[static_cast<size_t>(defIndex)];

    // The box is modal: its owner (or, task-modal without owner, every top-level window of the
    // thread) is disabled while it is up.
    std::vector<HWND> disabled;
    HWND root = owner ? GetAncestor(owner, GA_ROOT) : nullptr;
    if (root) {
        if (IsWindowEnabled(root)) {
            EnableWindow(root, FALSE);
            disabled.push_back(root);
        }
    } else if (type & MB_TASKMODAL) {
        std::vector<HWND> tops;
        {
            Guard g(Mutex());
            for (Window* c : Desktop().children)
                if (c->threadId == GetCurrentThreadId() && !(c->style & WS_DISABLED))
                    tops.push_back(c->hwnd);
        }
        for (HWND h : tops) {
            EnableWindow(h, FALSE);
            disabled.push_back(h);
        }
    }

    std::function<int(const host::MessageBoxRecord&)> produce;
    {
        std::lock_guard<std::mutex> g(Sc().lock);
        for (auto it = Sc().answers.begin(); it != Sc().answers.end(); ++it)
            if (Matches(*it, box)) {
                produce = std::move(it->produce);
                Sc().answers.erase(it);
                break;
            }
    }
    int result = fallback;
    if (produce) {
        int answer = produce(box);
        bool valid = false;
        for (int b : buttons)
            valid |= b == answer;
        if (valid) {
            result = answer;
            box.answered = true;
        } else {
            host::ReportUiFailure("Answer " + std::to_string(answer) + " is no button of the " + TypeName(type) +
                                  " message box \"" + box.caption + "\": \"" + box.text + "\"");
        }
    } else if (!host::IsInteractive()) {
        host::ReportUiFailure("Unanswered message box \"" + box.caption + "\": \"" + box.text + "\"");
    } else {
        // A user is at the screen: show the box and let them choose.
        MessageBeep(type & MB_ICONMASK);
        msgbox::BoxLayoutRequest request{box.text, box.caption, type, buttons, defIndex};
        int chosen = msgbox::ShowBoxWindow(root, request);
        if (chosen > 0)
            result = chosen;
    }
    box.answer = result;
    {
        std::lock_guard<std::mutex> g(Sc().lock);
        Sc().log.push_back(box);
    }
    host::AppendMessageBoxToLogFile(box);
    for (auto it = disabled.rbegin(); it != disabled.rend(); ++it)
        if (IsWindow(*it))
            EnableWindow(*it, TRUE);
    if (root && IsWindow(root) && IsWindowVisible(root))
        SetActiveWindow(root);
    return result;
}

int WINAPI MessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    return MessageBoxExA(owner, text, caption, type, 0);
}

BOOL WINAPI MessageBeep(UINT type)
{
    std::lock_guard<std::mutex> g(Sc().lock);
    Sc().beeps.push_back(type);
    return TRUE;
}
