// Scripted modal UI for the headless window manager. A test queues the answers to the message
// boxes it expects and the actions to run inside the modal loops it expects (a dialog, a modal
// window loop, menu tracking). A modal entry that nothing answers reports a failure with its text
// and ends, so a test fails instead of hanging.
//
// Not part of the platform's interface: only the platform layer, the interactive presenter and
// tests use it.
#pragma once

#include <windef.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace host {

struct MessageBoxRecord {
    HWND owner = nullptr;
    std::string text;
    std::string caption;
    UINT type = 0;
    int answer = 0;
    bool answered = false;  // false: nothing in the script matched
};

// Answers the next message box whose text contains `match` or whose caption equals it.
void AnswerMessageBox(const std::string& match, int answer);
// Answers the next message box, whatever it says.
void AnswerNextMessageBox(int answer);
// Answers the next matching box (empty match: any box) with what the function returns; the
// function runs while the box is up, so it may drive the UI itself.
void AnswerMessageBoxWith(const std::string& match, std::function<int(const MessageBoxRecord&)> answer);
// Every message box shown since the last reset, in order.
std::vector<MessageBoxRecord> MessageBoxLog();
// Every MessageBeep since the last reset (the uType values).
std::vector<UINT> MessageBeeps();

// Runs the action inside the next modal loop that has nothing else to do; the action gets the
// loop's modal window (the menu's owner for menu tracking).
void RunInNextModalLoop(std::function<void(HWND modalWindow)> action);
size_t PendingModalActions();
size_t PendingMessageBoxAnswers();

// Called by the platform's modal loops when their queue is empty. Runs the next queued action and
// returns true; with none left returns false after reporting an unanswered modal loop (`what`
// names it), and the loop must end. In interactive mode it returns true and lets the loop wait
// for real input.
bool ModalLoopIdle(HWND modalWindow, const std::string& what);

// Failures of the script (unanswered boxes and loops, answers that are no button of the box).
// The default handler writes to stderr; test support installs one that fails the running test.
void SetUiFailureHandler(std::function<void(const std::string& message)> handler);
void ReportUiFailure(const std::string& message);

// Interactive mode: a presenter shows the desktop and modal UI waits for real input.
void SetInteractive(bool interactive);
bool IsInteractive();

// Common dialogs (file open and save, print and print setup, folder browse), of the kinds
// "open", "save", "print", "print setup" and "folder". The answer is what the user would choose:
// a file's path (a bare name is taken in the dialog's initial folder), a folder's path, or a
// printer's name (empty: the default printer). `match` is a kind or a dialog title; empty
// matches any. An answer the dialog refuses (a missing file, say) shows the dialog's message box
// and the dialog takes the next answer, as it would wait for the user to try again. Interactive,
// with no answer queued, the dialog itself is shown and the user (or injected input) answers it.
struct CommonDialogRecord {
    std::string kind;
    std::string title;
    std::string answer;      // the path or printer returned; empty when cancelled
    bool cancelled = false;
    bool answered = false;   // false: nothing in the script matched
};
void AnswerCommonDialog(const std::string& match, const std::string& answer);
void CancelCommonDialog(const std::string& match);
std::vector<CommonDialogRecord> CommonDialogLog();
size_t PendingCommonDialogAnswers();
// For the common dialogs: takes the next answer for a dialog (false: none is queued), and logs
// how the dialog ended.
bool TakeCommonDialogAnswer(const std::string& kind, const std::string& title, std::string& answer, bool& cancel);
void LogCommonDialog(const CommonDialogRecord& record);
void ResetCommonDialogScript();

// Inside menu tracking (TrackPopupMenu or the menu bar): choose the item with this command id
// (highlighting it first) or close the menu without a choice. Returns false when no menu is
// being tracked or the id is no enabled item of it.
bool ChooseMenuItem(UINT id);
bool CancelMenu();
// Highlights an item of the tracked menu (WM_MENUSELECT) without choosing it.
bool SelectMenuItem(UINT id);

// Timers driven by the test clock.
std::uint64_t NextTimerDue();            // the calling thread's window timers; UINT64_MAX if none
std::uint64_t NextMultimediaTimerDue();  // UINT64_MAX if none
// Runs, on the timer thread, every multimedia timer callback due at the current clock time and
// returns when they have run.
void RunDueMultimediaTimers();
void KillAllMultimediaTimers();

// Clears queued answers, actions, the logs and the failure handler's state (not the handler).
void ResetUiScript();

}  // namespace host
