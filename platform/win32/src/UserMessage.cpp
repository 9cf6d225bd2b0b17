// Message queues: posting, sending within and across threads, retrieval in the platform's order
// (sent, posted, input, quit, paint, timers), dispatching, and the hook chains.
#include "UserInternal.h"
#include "UserRemote.h"

#include <interproc.h>

#include <host/Clock.h>
#include <host/Desktop.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstring>
#include <strings.h>

namespace user {

namespace {

struct QueueRegistry {
    std::mutex lock;
    std::map<DWORD, std::shared_ptr<ThreadQueue>> queues;
};

QueueRegistry& Registry()
{
    static QueueRegistry* r = new QueueRegistry;
    return *r;
}

struct HookTable {
    std::vector<std::shared_ptr<Hook>> hooks;  // newest first
    std::uintptr_t next = 0x20000;
};

HookTable& Hooks()
{
    static HookTable* h = new HookTable;
    return *h;
}

struct QueueHolder {
    std::shared_ptr<ThreadQueue> queue;
    ~QueueHolder()
    {
        if (!queue)
            return;
        DWORD tid = queue->threadId;
        DropThreadWindows(tid);
        KillThreadTimers(tid);
        {
            Guard g(Mutex());
            auto& v = Hooks().hooks;
            v.erase(std::remove_if(v.begin(), v.end(), [&](const std::shared_ptr<Hook>& h) { return h->threadId == tid; }),
                    v.end());
        }
        std::lock_guard<std::mutex> g(Registry().lock);
        Registry().queues.erase(tid);
    }
};

thread_local QueueHolder t_queue;

bool InRange(UINT msg, UINT min, UINT max)
{
    if (min == 0 && max == 0)
        return true;
    if (max == 0)
        max = ~0u;
    return msg >= min && msg <= max;
}

bool CategoryInRange(UINT first, UINT last, UINT min, UINT max)
{
    if (min == 0 && max == 0)
        return true;
    if (max == 0)
        max = ~0u;
    return !(last < min || first > max);
}

}  // namespace

DWORD MessageTime()
{
    return static_cast<DWORD>(host::ClockMilliseconds());
}

ThreadQueue& CurrentQueue()
{
    if (!t_queue.queue) {
        auto q = std::make_shared<ThreadQueue>();
        q->threadId = GetCurrentThreadId();
        std::lock_guard<std::mutex> g(Registry().lock);
        Registry().queues[q->threadId] = q;
        t_queue.queue = q;
    }
    return *t_queue.queue;
}

std::shared_ptr<ThreadQueue> QueueOf(DWORD threadId)
{
    std::lock_guard<std::mutex> g(Registry().lock);
    auto it = Registry().queues.find(threadId);
    return it == Registry().queues.end() ? nullptr : it->second;
}

ThreadQueue::~ThreadQueue()
{
    if (wakeEvent)
        CloseHandle(wakeEvent);
}

void Wake(ThreadQueue& q)
{
    HANDLE event;
    {
        std::lock_guard<std::mutex> g(q.lock);
        q.wakeBits = true;
        event = q.wakeEvent;
        if (event)
            SetEvent(event);
    }
    q.wake.notify_all();
}

LRESULT CallProcedure(HWND hwnd, WNDPROC proc, UINT msg, WPARAM wParam, LPARAM lParam, bool posted)
{
    if (!proc)
        return 0;
    ThreadQueue& q = CurrentQueue();
    q.postedStack.push_back(posted);
    LRESULT r = proc(hwnd, msg, wParam, lParam);
    q.postedStack.pop_back();
    return r;
}

bool ServeSentMessages(ThreadQueue& q)
{
    bool any = false;
    for (;;) {
        std::shared_ptr<SentMessage> sm;
        {
            std::lock_guard<std::mutex> g(q.lock);
            if (q.sent.empty())
                break;
            sm = q.sent.front();
            q.sent.pop_front();
        }
        any = true;
        LRESULT result = 0;
        WindowPtr w = Find(sm->hwnd);
        q.receiving.push_back(sm.get());
        if (sm->call)
            result = sm->call();
        else if (w)
            result = CallProcedure(sm->hwnd, w->proc, sm->msg, sm->wParam, sm->lParam, false);
        q.receiving.pop_back();
        if (!sm->notify && sm->sender && !sm->replied) {
            std::lock_guard<std::mutex> g(sm->sender->lock);
            sm->result = result;
            sm->done = true;
        }
        if (!sm->notify && sm->sender)
            sm->sender->wake.notify_all();
    }
    return any;
}

namespace {

// Waits (serving incoming sends) until the message is answered, the timeout passes or the
// receiving thread has ended without answering.
bool WaitForReply(ThreadQueue& self, const std::shared_ptr<SentMessage>& sm, UINT timeoutMs,
                  const std::shared_ptr<ThreadQueue>& target)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        ServeSentMessages(self);
        bool targetGone = QueueOf(target->threadId) != target;
        std::unique_lock<std::mutex> g(self.lock);
        if (sm->done)
            return true;
        if (targetGone)
            return false;
        if (!self.sent.empty())
            continue;
        auto now = std::chrono::steady_clock::now();
        if (timeoutMs != INFINITE_WAIT && now >= deadline)
            return false;
        auto slice = now + std::chrono::milliseconds(50);
        self.wake.wait_until(g, timeoutMs == INFINITE_WAIT ? slice : std::min(slice, deadline));
    }
}

// Hands a message (or a call) to another thread of this process and, unless it is a notice,
// waits for the answer.
LRESULT SendToThread(DWORD threadId, std::shared_ptr<SentMessage> sm, UINT timeoutMs, bool* ok)
{
    std::shared_ptr<ThreadQueue> target = QueueOf(threadId);
    if (!target) {
        if (ok)
            *ok = false;
        return 0;
    }
    ThreadQueue& self = CurrentQueue();
    bool notify = sm->notify;
    sm->sender = notify ? nullptr : &self;
    {
        std::lock_guard<std::mutex> g(target->lock);
        target->sent.push_back(sm);
    }
    Wake(*target);  // also ends a MsgWaitForMultipleObjects at once
    if (notify) {
        if (ok)
            *ok = true;
        return 0;
    }
    bool answered = WaitForReply(self, sm, timeoutMs, target);
    if (ok)
        *ok = answered;
    if (!answered) {
        // Leave the message with the receiver, but it no longer answers anyone.
        std::lock_guard<std::mutex> g(self.lock);
        sm->sender = nullptr;
        sm->notify = true;
        return 0;
    }
    return sm->result;
}

LRESULT SendAcross(Window& w, UINT msg, WPARAM wParam, LPARAM lParam, bool notify, UINT timeoutMs, bool* ok)
{
    auto sm = std::make_shared<SentMessage>();
    sm->hwnd = w.hwnd;
    sm->msg = msg;
    sm->wParam = wParam;
    sm->lParam = lParam;
    sm->notify = notify;
    return SendToThread(w.threadId, std::move(sm), timeoutMs, ok);
}

}  // namespace

bool RunOnThread(DWORD threadId, std::function<LRESULT()> call, LRESULT* result)
{
    auto sm = std::make_shared<SentMessage>();
    sm->call = std::move(call);
    bool ok = false;
    LRESULT r = SendToThread(threadId, std::move(sm), INFINITE_WAIT, &ok);
    if (result)
        *result = r;
    return ok;
}

LRESULT Send(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    WindowPtr w = Lookup(hwnd);
    if (!w)
        return 0;
    if (w->threadId == GetCurrentThreadId())
        return CallProcedure(hwnd, w->proc, msg, wParam, lParam, false);
    return SendAcross(*w, msg, wParam, lParam, false, INFINITE_WAIT, nullptr);
}

void RemoveMessagesFor(HWND hwnd)
{
    std::vector<std::shared_ptr<ThreadQueue>> all;
    {
        std::lock_guard<std::mutex> g(Registry().lock);
        for (auto& [id, q] : Registry().queues)
            all.push_back(q);
    }
    for (auto& q : all) {
        std::lock_guard<std::mutex> g(q->lock);
        q->posted.erase(std::remove_if(q->posted.begin(), q->posted.end(), [&](const MSG& m) { return m.hwnd == hwnd; }),
                        q->posted.end());
        q->input.erase(
            std::remove_if(q->input.begin(), q->input.end(), [&](const RawInput& m) { return m.hwnd == hwnd; }),
            q->input.end());
    }
}

bool PostInput(const RawInput& in)
{
    DWORD tid = 0;
    if (WindowPtr w = Find(in.hwnd))
        tid = w->threadId;
    std::shared_ptr<ThreadQueue> q = tid ? QueueOf(tid) : nullptr;
    if (!q)
        return false;
    static std::atomic<std::uint64_t> serials{0};
    {
        std::lock_guard<std::mutex> g(q->lock);
        q->input.push_back(in);
        q->input.back().serial = ++serials;
    }
    Wake(*q);  // also ends a MsgWaitForMultipleObjects at once
    return true;
}

bool FilterMatches(HWND filter, HWND hwnd)
{
    if (!filter)
        return true;
    if (filter == reinterpret_cast<HWND>(-1))
        return hwnd == nullptr;
    return hwnd == filter || IsChild(filter, hwnd);
}

bool CallHooks(int type, int code, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<Hook> first;
    {
        Guard g(Mutex());
        DWORD tid = GetCurrentThreadId();
        for (auto& h : Hooks().hooks)
            if (h->type == type && h->threadId == tid && !h->removed) {
                first = h;
                break;
            }
    }
    if (!first)
        return false;
    return first->proc(code, wParam, lParam) != 0;
}

namespace {

// One pass over the queue in retrieval order. Returns true with msg filled when a message is
// available.
bool Fetch(ThreadQueue& q, MSG& msg, HWND filter, UINT min, UINT max, UINT flags)
{
    bool remove = (flags & PM_REMOVE) != 0;
    ServeSentMessages(q);

    // Posted messages
    {
        std::lock_guard<std::mutex> g(q.lock);
        for (auto it = q.posted.begin(); it != q.posted.end(); ++it) {
            if (!InRange(it->message, min, max) || !FilterMatches(filter, it->hwnd))
                continue;
            msg = *it;
            if (remove)
                q.posted.erase(it);
            q.msgTime = msg.time;
            q.msgPos = msg.pt;
            return true;
        }
    }

    // Input: each queued event is cooked into the message its window sees; events outside the
    // filter stay queued, events nobody can receive are dropped.
    std::vector<std::uint64_t> candidates;
    {
        std::lock_guard<std::mutex> g(q.lock);
        for (const RawInput& in : q.input) {
            bool key = in.msg >= WM_KEYFIRST && in.msg <= WM_KEYLAST;
            bool ok = key ? CategoryInRange(WM_KEYFIRST, WM_KEYLAST, min, max)
                          : (CategoryInRange(WM_MOUSEFIRST, WM_MOUSELAST, min, max) ||
                             CategoryInRange(WM_NCMOUSEMOVE, WM_NCMBUTTONDBLCLK, min, max));
            if (ok && FilterMatches(filter, in.hwnd))
                candidates.push_back(in.serial);
        }
    }
    auto take = [&](std::uint64_t serial, RawInput* out) {
        std::lock_guard<std::mutex> g(q.lock);
        auto it = std::find_if(q.input.begin(), q.input.end(), [&](const RawInput& r) { return r.serial == serial; });
        if (it == q.input.end())
            return false;
        if (out)
            *out = *it;
        else
            q.input.erase(it);
        return true;
    };
    for (std::uint64_t serial : candidates) {
        RawInput raw;
        if (!take(serial, &raw))
            continue;
        MSG probe;
        if (!CookInput(raw, probe, false)) {
            take(serial, nullptr);
            continue;
        }
        if (!InRange(probe.message, min, max))
            continue;
        if (remove) {
            take(serial, nullptr);
            if (!CookInput(raw, msg, true))
                continue;
        } else {
            msg = probe;
        }
        bool key = msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST;
        int code = remove ? HC_ACTION : HC_NOREMOVE;
        bool swallowed;
        if (key) {
            swallowed = CallHooks(WH_KEYBOARD, code, msg.wParam, msg.lParam);
        } else {
            MOUSEHOOKSTRUCT mh{};
            mh.pt = msg.pt;
            mh.hwnd = msg.hwnd;
            mh.wHitTestCode = (msg.message >= WM_NCMOUSEMOVE && msg.message <= WM_NCMBUTTONDBLCLK)
                                  ? static_cast<UINT>(msg.wParam)
                                  : HTCLIENT;
            swallowed = CallHooks(WH_MOUSE, code, msg.message, reinterpret_cast<LPARAM>(&mh));
        }
        if (swallowed) {
            if (!remove)
                take(serial, nullptr);
            continue;
        }
        if (remove)
            UpdateKeyStateForMessage(msg);
        q.msgTime = msg.time;
        q.msgPos = msg.pt;
        return true;
    }

    // Quit
    {
        std::lock_guard<std::mutex> g(q.lock);
        if (q.quit) {
            msg = MSG{};
            msg.message = WM_QUIT;
            msg.wParam = static_cast<WPARAM>(q.quitCode);
            msg.time = MessageTime();
            msg.pt = CursorPosition();
            if (remove)
                q.quit = false;
            return true;
        }
    }

    // Paint
    if (InRange(WM_PAINT, min, max)) {
        HWND target = nullptr;
        // Frames uncovered without any client area are painted on the spot; a frame that goes
        // with client painting is painted by the client's BeginPaint.
        while (FindPaintWindow(q.threadId, filter, target) && PaintFrameOnly(target))
            target = nullptr;
        if (target != nullptr) {
            msg = MSG{};
            msg.hwnd = target;
            msg.message = WM_PAINT;
            msg.time = MessageTime();
            msg.pt = CursorPosition();
            q.msgTime = msg.time;
            q.msgPos = msg.pt;
            return true;
        }
    }

    // Timers
    if (InRange(WM_TIMER, min, max) && TakeDueTimer(q.threadId, filter, remove, msg)) {
        q.msgTime = msg.time;
        q.msgPos = msg.pt;
        return true;
    }
    return false;
}

}  // namespace

// Tells processes waiting in WaitForInputIdle that this one waits for input (InputIdle.cpp).
void MarkInputIdle();

namespace {

// Blocks until something may have arrived.
void WaitForWork(ThreadQueue& q)
{
    MarkInputIdle();
    std::uint64_t due = NextTimerDue(q.threadId);
    std::unique_lock<std::mutex> g(q.lock);
    if (q.wakeBits || !q.sent.empty()) {
        q.wakeBits = false;
        return;
    }
    auto slice = std::chrono::milliseconds(50);
    if (due != UINT64_MAX && !host::IsTestClock()) {
        std::uint64_t now = host::ClockMilliseconds();
        auto wait = due > now ? std::chrono::milliseconds(due - now) : std::chrono::milliseconds(0);
        slice = std::min(slice, std::chrono::duration_cast<std::chrono::milliseconds>(wait));
    }
    q.wake.wait_for(g, slice);
    q.wakeBits = false;
}

// WM_COPYDATA to another process's window: the record's block goes with the request and the
// receiver gets a copy of it.
bool SendCopyData(HWND hwnd, WPARAM wParam, LPARAM lParam, DWORD timeout, LRESULT* result)
{
    auto record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (!record || (record->cbData && !record->lpData)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return remote::RequestWithData(hwnd, remote::Op::CopyData, WM_COPYDATA, wParam,
                                   static_cast<LPARAM>(record->dwData), record->lpData, record->cbData, timeout,
                                   result, nullptr);
}

}  // namespace

}  // namespace user

using namespace user;

BOOL WINAPI PeekMessageA(LPMSG msg, HWND hwnd, UINT min, UINT max, UINT flags)
{
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !Lookup(hwnd))
        return FALSE;
    ThreadQueue& q = CurrentQueue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        q.wakeBits = false;
    }
    if (Fetch(q, *msg, hwnd, min, max, flags)) {
        if (flags & PM_REMOVE)
            CallHooks(WH_GETMESSAGE, HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(msg));
        return TRUE;
    }
    return FALSE;
}

BOOL WINAPI GetMessageA(LPMSG msg, HWND hwnd, UINT min, UINT max)
{
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    if (hwnd && hwnd != reinterpret_cast<HWND>(-1) && !Lookup(hwnd))
        return -1;
    ThreadQueue& q = CurrentQueue();
    for (;;) {
        {
            std::lock_guard<std::mutex> g(q.lock);
            q.wakeBits = false;
        }
        if (Fetch(q, *msg, hwnd, min, max, PM_REMOVE)) {
            CallHooks(WH_GETMESSAGE, HC_ACTION, PM_REMOVE, reinterpret_cast<LPARAM>(msg));
            return msg->message == WM_QUIT ? FALSE : TRUE;
        }
        WaitForWork(q);
    }
}

BOOL WINAPI WaitMessage()
{
    ThreadQueue& q = CurrentQueue();
    for (;;) {
        MSG m;
        if (Fetch(q, m, nullptr, 0, 0, PM_NOREMOVE))
            return TRUE;
        WaitForWork(q);
    }
}

DWORD WINAPI GetQueueStatus(UINT flags)
{
    ThreadQueue& q = CurrentQueue();
    DWORD status = 0;
    {
        std::lock_guard<std::mutex> g(q.lock);
        if (!q.posted.empty())
            status |= QS_POSTMESSAGE;
        if (!q.sent.empty())
            status |= QS_SENDMESSAGE;
        for (auto& in : q.input)
            status |= (in.msg >= WM_KEYFIRST && in.msg <= WM_KEYLAST) ? QS_KEY
                      : in.msg == WM_MOUSEMOVE                       ? QS_MOUSEMOVE
                                                                     : QS_MOUSEBUTTON;
    }
    HWND paint = nullptr;
    if (FindPaintWindow(q.threadId, nullptr, paint))
        status |= QS_PAINT;
    std::uint64_t due = NextTimerDue(q.threadId);
    if (due != UINT64_MAX && due <= host::ClockMilliseconds())
        status |= QS_TIMER;
    status &= flags;
    return (status << 16) | status;
}

DWORD WINAPI MsgWaitForMultipleObjects(DWORD nCount, const HANDLE* pHandles, BOOL fWaitAll, DWORD dwMilliseconds,
                                       DWORD dwWakeMask)
{
    if (nCount >= MAXIMUM_WAIT_OBJECTS || (nCount > 0 && !pHandles)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    ThreadQueue& q = CurrentQueue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        if (!q.wakeEvent)
            q.wakeEvent = CreateEvent(nullptr, FALSE, FALSE, nullptr);
        if (!q.wakeEvent)
            return WAIT_FAILED;
    }
    std::vector<HANDLE> handles(pHandles, pHandles + nCount);
    handles.push_back(q.wakeEvent);
    // Waits count real time, like those of synchapi.h, also on the test clock.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(dwMilliseconds);
    for (;;) {
        // Timers and paints are not posted, so nothing wakes the wait for them: the queue is
        // looked at again at least every 50 ms, and when the thread's next timer falls due.
        DWORD slice = 50;
        bool last = false;
        if (dwMilliseconds != INFINITE) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            last = left <= 50;
            slice = left <= 0 ? 0 : static_cast<DWORD>(std::min<long long>(left, 50));
        }
        if (std::uint64_t due = (dwWakeMask & QS_TIMER) ? NextTimerDue(q.threadId) : UINT64_MAX;
            due != UINT64_MAX && !host::IsTestClock()) {
            std::uint64_t now = host::ClockMilliseconds();
            DWORD untilDue = due > now ? static_cast<DWORD>(std::min<std::uint64_t>(due - now, 50)) : 0;
            if (untilDue < slice) {
                slice = untilDue;
                last = false;
            }
        }
        bool messages = (GetQueueStatus(dwWakeMask) & 0xFFFF) != 0;
        if (messages && !fWaitAll)
            return WAIT_OBJECT_0 + nCount;
        if (fWaitAll && messages) {
            // The messages are there: the objects are what is left to wait for.
            DWORD r = nCount == 0 ? WAIT_OBJECT_0 : WaitForMultipleObjects(nCount, pHandles, TRUE, slice);
            if (r != WAIT_TIMEOUT)
                return r;
        } else if (fWaitAll) {
            if (WaitForSingleObject(q.wakeEvent, slice) == WAIT_FAILED)
                return WAIT_FAILED;
        } else {
            DWORD r = WaitForMultipleObjects(static_cast<DWORD>(handles.size()), handles.data(), FALSE, slice);
            if (r != WAIT_TIMEOUT && r != WAIT_OBJECT_0 + nCount)
                return r;
            if (r == WAIT_OBJECT_0 + nCount)
                continue;  // something arrived: look at it even when the time is up
        }
        if (last)
            return WAIT_TIMEOUT;
    }
}

BOOL WINAPI GetInputState()
{
    return (GetQueueStatus(QS_INPUT) & 0xFFFF) != 0;
}

BOOL WINAPI TranslateMessage(const MSG* msg)
{
    if (!msg)
        return FALSE;
    if (msg->message != WM_KEYDOWN && msg->message != WM_SYSKEYDOWN && msg->message != WM_KEYUP &&
        msg->message != WM_SYSKEYUP)
        return FALSE;
    if (msg->message == WM_KEYUP || msg->message == WM_SYSKEYUP)
        return TRUE;
    int ch = CharForKey(static_cast<UINT>(msg->wParam));
    if (ch == 0)
        return TRUE;
    UINT charMsg = msg->message == WM_SYSKEYDOWN ? WM_SYSCHAR : WM_CHAR;
    ThreadQueue& q = CurrentQueue();
    MSG m = *msg;
    m.message = charMsg;
    m.wParam = static_cast<WPARAM>(static_cast<unsigned char>(ch));
    {
        std::lock_guard<std::mutex> g(q.lock);
        q.posted.push_front(m);
    }
    return TRUE;
}

LRESULT WINAPI DispatchMessageA(const MSG* msg)
{
    if (!msg) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    if (msg->message == WM_TIMER && msg->lParam) {
        TIMERPROC proc = reinterpret_cast<TIMERPROC>(msg->lParam);
        if (IsTimerProc(msg->hwnd, msg->wParam, proc)) {
            proc(msg->hwnd, WM_TIMER, msg->wParam, MessageTime());
            return 0;
        }
    }
    if (!msg->hwnd)
        return 0;
    WindowPtr w = Lookup(msg->hwnd);
    if (!w)
        return 0;
    if (w->threadId != GetCurrentThreadId()) {
        SetLastError(ERROR_MESSAGE_SYNC_ONLY);
        return 0;
    }
    LRESULT r = CallProcedure(msg->hwnd, w->proc, msg->message, msg->wParam, msg->lParam, true);
    if (msg->message == WM_PAINT) {
        // A window procedure that does not validate would get WM_PAINT for ever.
        WindowPtr after = Find(msg->hwnd);
        if (after) {
            Guard g(Mutex());
            if (!after->update.empty() || after->internalPaint) {
                after->update.clear();
                after->internalPaint = false;
                after->erasePending = false;
            }
        }
    }
    return r;
}

namespace {

// Appends a message to a thread's posted queue, stamped with the time and the cursor position.
BOOL PostToThread(DWORD threadId, HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<ThreadQueue> q = QueueOf(threadId);
    if (!q) {
        SetLastError(ERROR_INVALID_THREAD_ID);
        return FALSE;
    }
    MSG m{};
    m.hwnd = hwnd;
    m.message = message;
    m.wParam = wParam;
    m.lParam = lParam;
    m.time = MessageTime();
    m.pt = CursorPosition();
    {
        std::lock_guard<std::mutex> g(q->lock);
        q->posted.push_back(m);
    }
    Wake(*q);  // also ends a MsgWaitForMultipleObjects at once
    return TRUE;
}

}  // namespace

BOOL WINAPI PostMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == HWND_BROADCAST) {
        // Every top-level window, those of other processes too when the message can go there.
        for (HWND h : remote::GlobalTopLevelWindows())
            if (Find(h) || remote::PlainNumberMessage(message))
                PostMessageA(h, message, wParam, lParam);
        return TRUE;
    }
    if (!hwnd)
        return PostThreadMessageA(GetCurrentThreadId(), message, wParam, lParam);
    WindowPtr w = Find(hwnd);
    if (!w)
        return remote::Request(hwnd, remote::Op::Post, message, wParam, lParam, 0, INFINITE, nullptr);
    return PostToThread(w->threadId, hwnd, message, wParam, lParam);
}

BOOL WINAPI PostThreadMessageA(DWORD threadId, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (threadId == GetCurrentThreadId())
        CurrentQueue();
    if (PostToThread(threadId, nullptr, message, wParam, lParam))
        return TRUE;
    // A thread of another process of this platform: through one of its top-level windows.
    if (threadId != 0 && remote::PlainNumberMessage(message))
        for (HWND h : remote::GlobalTopLevelWindows()) {
            remote::Info info;
            if (!Find(h) && remote::Describe(h, info) && info.threadId == threadId)
                return remote::Request(h, remote::Op::Post, message, wParam, lParam, 0, 5000, nullptr) ? TRUE : FALSE;
        }
    SetLastError(ERROR_INVALID_THREAD_ID);
    return FALSE;
}

LRESULT WINAPI SendMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (hwnd == HWND_BROADCAST) {
        for (HWND h : remote::GlobalTopLevelWindows())
            if (Find(h) || remote::PlainNumberMessage(message))
                SendMessageA(h, message, wParam, lParam);
        return 0;
    }
    if (!Find(hwnd) && remote::IsRegistryHandle(hwnd)) {
        LRESULT result = 0;
        if (message == WM_COPYDATA)
            SendCopyData(hwnd, wParam, lParam, INFINITE, &result);
        else
            remote::Request(hwnd, remote::Op::Send, message, wParam, lParam, 0, INFINITE, &result);
        return result;
    }
    return Send(hwnd, message, wParam, lParam);
}

BOOL WINAPI SendNotifyMessageA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    WindowPtr w = Find(hwnd);
    if (!w)
        return remote::Request(hwnd, remote::Op::SendNotify, message, wParam, lParam, 0, INFINITE, nullptr);
    if (w->threadId == GetCurrentThreadId()) {
        CallProcedure(hwnd, w->proc, message, wParam, lParam, false);
        return TRUE;
    }
    bool ok = false;
    SendAcross(*w, message, wParam, lParam, true, 0, &ok);
    return ok;
}

LRESULT WINAPI SendMessageTimeoutA(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT, UINT timeout,
                                   DWORD_PTR* result)
{
    WindowPtr w = Find(hwnd);
    if (!w) {
        LRESULT r = 0;
        bool sent = message == WM_COPYDATA ? SendCopyData(hwnd, wParam, lParam, timeout, &r)
                                           : remote::Request(hwnd, remote::Op::Send, message, wParam, lParam, 0, timeout, &r);
        if (!sent)
            return 0;
        if (result)
            *result = static_cast<DWORD_PTR>(r);
        return 1;
    }
    LRESULT r;
    if (w->threadId == GetCurrentThreadId()) {
        r = CallProcedure(hwnd, w->proc, message, wParam, lParam, false);
    } else {
        bool ok = false;
        r = SendAcross(*w, message, wParam, lParam, false, timeout, &ok);
        if (!ok) {
            SetLastError(ERROR_TIMEOUT);
            return 0;
        }
    }
    if (result)
        *result = static_cast<DWORD_PTR>(r);
    return 1;
}

void WINAPI PostQuitMessage(int code)
{
    ThreadQueue& q = CurrentQueue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        q.quit = true;
        q.quitCode = code;
    }
    Wake(q);
}

LONG WINAPI GetMessageTime()
{
    return static_cast<LONG>(CurrentQueue().msgTime);
}

DWORD WINAPI GetMessagePos()
{
    POINT p = CurrentQueue().msgPos;
    return static_cast<DWORD>(MAKELONG(static_cast<WORD>(static_cast<SHORT>(p.x)), static_cast<WORD>(static_cast<SHORT>(p.y))));
}

LPARAM WINAPI GetMessageExtraInfo()
{
    return 0;
}

UINT WINAPI RegisterWindowMessageA(LPCSTR name)
{
    return remote::RegisterMessageName(name);
}

BOOL WINAPI InSendMessage()
{
    return !CurrentQueue().receiving.empty() && !CurrentQueue().postedStack.empty() &&
           !CurrentQueue().postedStack.back();
}

DWORD WINAPI InSendMessageEx(LPVOID)
{
    ThreadQueue& q = CurrentQueue();
    if (!InSendMessage())
        return ISMEX_NOSEND;
    SentMessage* sm = q.receiving.back();
    DWORD r = sm->notify ? ISMEX_NOTIFY : ISMEX_SEND;
    if (sm->replied)
        r |= ISMEX_REPLIED;
    return r;
}

BOOL WINAPI ReplyMessage(LRESULT result)
{
    ThreadQueue& q = CurrentQueue();
    if (q.receiving.empty())
        return FALSE;
    SentMessage* sm = q.receiving.back();
    if (sm->notify || sm->replied || !sm->sender)
        return FALSE;
    {
        std::lock_guard<std::mutex> g(sm->sender->lock);
        sm->result = result;
        sm->done = true;
        sm->replied = true;
    }
    sm->sender->wake.notify_all();
    return TRUE;
}

// ---- Hooks ------------------------------------------------------------------------------------------

HHOOK WINAPI SetWindowsHookExA(int type, HOOKPROC proc, HINSTANCE, DWORD threadId)
{
    if (!proc) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (type != WH_MSGFILTER && type != WH_KEYBOARD && type != WH_MOUSE && type != WH_GETMESSAGE && type != WH_CBT) {
        SetLastError(ERROR_INVALID_HOOK_FILTER);
        return nullptr;
    }
    if (threadId && threadId != GetCurrentThreadId() && !QueueOf(threadId)) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    Guard g(Mutex());
    auto h = std::make_shared<Hook>();
    Hooks().next += 4;
    h->handle = reinterpret_cast<HHOOK>(Hooks().next);
    h->type = type;
    h->proc = proc;
    h->threadId = threadId ? threadId : GetCurrentThreadId();
    Hooks().hooks.insert(Hooks().hooks.begin(), h);
    return h->handle;
}

BOOL WINAPI UnhookWindowsHookEx(HHOOK hook)
{
    Guard g(Mutex());
    auto& v = Hooks().hooks;
    auto it = std::find_if(v.begin(), v.end(), [&](const std::shared_ptr<Hook>& h) { return h->handle == hook; });
    if (it == v.end()) {
        SetLastError(ERROR_INVALID_HOOK_HANDLE);
        return FALSE;
    }
    (*it)->removed = true;
    v.erase(it);
    return TRUE;
}

LRESULT WINAPI CallNextHookEx(HHOOK hook, int code, WPARAM wParam, LPARAM lParam)
{
    std::shared_ptr<Hook> next;
    {
        Guard g(Mutex());
        auto& v = Hooks().hooks;
        auto it = std::find_if(v.begin(), v.end(), [&](const std::shared_ptr<Hook>& h) { return h->handle == hook; });
        if (it == v.end())
            return 0;
        int type = (*it)->type;
        DWORD tid = (*it)->threadId;
        for (++it; it != v.end(); ++it)
            if ((*it)->type == type && (*it)->threadId == tid) {
                next = *it;
                break;
            }
    }
    return next ? next->proc(code, wParam, lParam) : 0;
}

BOOL WINAPI CallMsgFilterA(LPMSG msg, int code)
{
    return CallHooks(WH_MSGFILTER, code, 0, reinterpret_cast<LPARAM>(msg));
}

namespace host {

bool InPostedDispatch()
{
    ThreadQueue& q = CurrentQueue();
    return !q.postedStack.empty() && q.postedStack.back();
}

}  // namespace host

namespace user {

// Drops the calling thread's queue contents and hooks (window manager reset).
void ResetCurrentQueue()
{
    ThreadQueue& q = CurrentQueue();
    {
        std::lock_guard<std::mutex> g(q.lock);
        q.posted.clear();
        q.input.clear();
        q.quit = false;
        q.quitCode = 0;
    }
    Guard g(Mutex());
    auto& v = Hooks().hooks;
    DWORD tid = GetCurrentThreadId();
    v.erase(std::remove_if(v.begin(), v.end(), [&](const std::shared_ptr<Hook>& h) { return h->threadId == tid; }),
            v.end());
}

}  // namespace user
