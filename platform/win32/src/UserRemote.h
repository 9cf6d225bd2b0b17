// Top-level windows across processes, as the window manager sees them. Not installed.
//
// Every process of the user that has top-level windows enters them into a registry in the
// shared namespace (see SyncObject.h): process and thread, title, class, styles, rectangle,
// owner, last active popup and place in the z-order. A top-level window's handle is its entry
// in the registry, so that the same value names the window in every process. Other processes
// read the registry for queries and ask the owning process for everything else (messages,
// showing, activation) through a socket that each such process listens on; the owning thread
// runs the request when it next looks at its queue, as with a send from another thread.
//
// Lock order: the window manager's lock may be held while the registry's is taken, never the
// other way round.
#pragma once

#include "UserInternal.h"

#include <memory>
#include <string>
#include <vector>

namespace user::remote {

// ---- Registry (UserRemoteRegistry.cpp)

// A handle for a new top-level window of the calling thread: its registry entry, or nullptr
// when the registry is full (the window then gets a local handle and stays unseen by others).
HWND AllocateHandle();
// Whether a handle value is of the registry's form (it may be of a window that is gone).
bool IsRegistryHandle(HWND hwnd);
// Gives a destroyed window's entry back.
void ReleaseHandle(HWND hwnd);
// Writes the state of this process's top-level windows into the registry; called after every
// change that others can see (creation, text, showing, state, z-order, activation).
void Publish();
// Puts this process's windows above those of other processes in the global z-order (a window
// of it was activated), then publishes.
void Activated();

// What another process's top-level window looks like.
struct Info {
    HWND hwnd = nullptr;
    DWORD processId = 0;
    DWORD threadId = 0;
    std::string title;
    std::string className;
    DWORD style = 0;
    DWORD exStyle = 0;
    HWND owner = nullptr;
    HWND lastActivePopup = nullptr;
    RECT rect{};
};
// The window of another live process behind a handle; false (error untouched) when the handle
// is not one.
bool Describe(HWND hwnd, Info& out);

// A window handle of this process or of another: `local` is this process's window, else
// `remote` describes another process's window as its process last published it.
struct AnyWindow {
    WindowPtr local;
    Info remote;
    bool found = false;
    explicit operator bool() const { return found; }
};
// The window behind a handle of either kind; not found (ERROR_INVALID_WINDOW_HANDLE set) when
// the handle is neither.
AnyWindow FindAny(HWND hwnd);

// Other processes' top-level windows in z-order: the most recently activated process first,
// each process's windows in its own order; `localStamp` receives this process's place (its
// activation stamp, 0 when it has no windows in the registry) so the caller can put its own
// windows among them.
struct Group {
    std::uint64_t stamp = 0;
    std::vector<HWND> windows;
};
std::vector<Group> OtherProcessesWindows(std::uint64_t& localStamp);

// Registered window messages shared by all processes of the namespace.
UINT RegisterMessageName(LPCSTR name);

// ---- Requests (UserRemote.cpp)

// Whether a message carries nothing but numbers and so may go to another process.
bool PlainNumberMessage(UINT msg);

enum class Op : std::uint32_t {
    Post = 1,
    Send = 2,
    SendNotify = 3,
    Show = 4,
    Foreground = 5,
    BringToTop = 6,
    CopyData = 7,  // WM_COPYDATA: the block travels with the request and is copied into the receiver
    SetText = 8,   // the window's title: the text travels with the request
    Exchange = 9,  // a message whose lParam points to an ExchangeBlock in the receiver (bytes in, bytes out)
};

// What the receiver of an Exchange request hands its window procedure in lParam: the bytes
// that came with the request, and room for the bytes that go back with the answer.
struct ExchangeBlock {
    std::string in;
    std::string out;
};

// The ExchangeBlock behind lParam of a message when this process is handing it to a window
// procedure now, else null (a window procedure that serves Exchange requests asks before it
// looks). The block lives as long as the pointer returned, even when the sender gave up.
std::shared_ptr<ExchangeBlock> FindExchange(LPARAM lParam);
// Marks a block as handed (true) or done (false): the sender of an exchange does so around
// its send.
void MarkExchange(const std::shared_ptr<ExchangeBlock>& block, bool live);

// The most bytes a request or an answer carries.
constexpr std::size_t kMaxPayload = 128 * 1024;

// Asks the owner of another process's window to do something and waits for its answer (for
// Send: the window procedure's result) or until `timeoutMs` passes (INFINITE: until answered
// or the process has gone). While waiting, messages sent to the calling thread are served.
// False with the last error set when the window or its process is gone (ERROR_INVALID_WINDOW_HANDLE),
// the time ran out (ERROR_TIMEOUT), or the owner refused.
bool Request(HWND hwnd, Op op, UINT msg, WPARAM wParam, LPARAM lParam, int arg, DWORD timeoutMs, LRESULT* result);
// The same with bytes that travel with the request (CopyData: the copy-data record's dwData in
// lParam and its block in `data`; SetText: the text; Exchange: the bytes) and, for Exchange,
// the bytes that come back (into `reply` when given). A payload above kMaxPayload is refused
// (ERROR_INVALID_PARAMETER).
bool RequestWithData(HWND hwnd, Op op, UINT msg, WPARAM wParam, LPARAM lParam, const void* data, std::size_t size,
                     DWORD timeoutMs, LRESULT* result, std::string* reply);

// Starts this process's listener (once); the registry does so when it hands out the first
// handle.
void StartListener();

// The global z-order of top-level windows: this process's and others'.
std::vector<HWND> GlobalTopLevelWindows();

}  // namespace user::remote
