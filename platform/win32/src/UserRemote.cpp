// Requests to other processes' windows: each process with windows in the registry listens on
// a socket (an abstract local socket named after the namespace and the process id, open to
// processes of the same user only); a request is one packet and its answer one packet on a
// connection of its own. The listener hands each request to a thread of its own, which posts
// or sends the message to the window (as a thread of this process would) or runs the
// operation on the window's thread, and answers. A sender learns that the owner has gone when
// the connection closes without an answer.
#include "SyncObject.h"
#include "UserRemote.h"

#include <interproc.h>

#include <host/Presenter.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstddef>
#include <cstring>
#include <functional>
#include <mutex>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <system_error>
#include <thread>
#include <unistd.h>
#include <vector>

namespace user::remote {

namespace {

bool RequestWithPayload(HWND hwnd, Op op, UINT msg, WPARAM wParam, LPARAM lParam, int arg, const void* data,
                        std::size_t size, DWORD timeoutMs, LRESULT* result, std::string* replyData);

struct RequestPacket {
    std::uint32_t op;
    std::uint32_t msg;
    std::uint64_t hwnd;
    std::uint64_t wParam;
    std::int64_t lParam;
    std::int32_t arg;
    std::uint32_t timeout;
    std::uint32_t payload;  // bytes that follow the packet
};

struct ReplyPacket {
    std::uint32_t ok;
    std::uint32_t error;
    std::int64_t result;
    std::uint32_t payload;  // bytes that follow the packet
};

// The listening address of a process.
sockaddr_un AddressOf(DWORD processId, socklen_t& length)
{
    static const std::string space = [] {
        std::string name = host::sync::NamespaceName();
        if (name.size() > 60)
            name = "h" + std::to_string(std::hash<std::string>{}(name));
        return name;
    }();
    std::string name = "vl-windows/" + space + "/" + std::to_string(processId);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    std::memcpy(address.sun_path + 1, name.data(), name.size());  // abstract: starts with NUL
    length = static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + name.size());
    return address;
}

// Runs an operation on the thread that owns the window.
ReplyPacket OnOwnerThread(DWORD threadId, std::function<LRESULT()> call)
{
    ReplyPacket reply{};
    LRESULT result = 0;
    if (RunOnThread(threadId, std::move(call), &result)) {
        reply.ok = 1;
        reply.result = result;
    } else {
        reply.error = ERROR_INVALID_WINDOW_HANDLE;
    }
    return reply;
}

ReplyPacket Perform(const RequestPacket& request, const char* data, std::string& out)
{
    ReplyPacket reply{};
    HWND hwnd = reinterpret_cast<HWND>(request.hwnd);
    WindowPtr w = Find(hwnd);
    if (!w || !IsRegistryHandle(hwnd)) {
        reply.error = ERROR_INVALID_WINDOW_HANDLE;
        return reply;
    }
    UINT msg = request.msg;
    auto wParam = static_cast<WPARAM>(request.wParam);
    auto lParam = static_cast<LPARAM>(request.lParam);
    switch (static_cast<Op>(request.op)) {
    case Op::Post:
        reply.ok = PostMessageA(hwnd, msg, wParam, lParam);
        break;
    case Op::SendNotify:
        reply.ok = SendNotifyMessageA(hwnd, msg, wParam, lParam);
        break;
    case Op::Send: {
        DWORD_PTR result = 0;
        reply.ok = SendMessageTimeoutA(hwnd, msg, wParam, lParam, SMTO_NORMAL, request.timeout, &result) != 0;
        reply.result = static_cast<std::int64_t>(result);
        break;
    }
    case Op::Show:
        return OnOwnerThread(w->threadId, [hwnd, cmd = request.arg] { return ShowWindow(hwnd, cmd); });
    case Op::Foreground:
        return OnOwnerThread(w->threadId, [hwnd] {
            // Another process brings the window forward: so does the host's window showing it.
            BOOL ok = SetForegroundWindow(hwnd);
            if (ok)
                host::RaisePresenterWindow();
            return ok;
        });
    case Op::BringToTop:
        return OnOwnerThread(w->threadId, [hwnd] { return BringWindowToTop(hwnd); });
    case Op::CopyData: {
        // The block lives in this process for as long as the receiver looks at it: this thread
        // waits for the receiver however long the sender waits.
        COPYDATASTRUCT record{};
        record.dwData = static_cast<ULONG_PTR>(request.lParam);
        record.cbData = request.payload;
        record.lpData = request.payload ? const_cast<char*>(data) : nullptr;
        DWORD_PTR result = 0;
        reply.ok = SendMessageTimeoutA(hwnd, WM_COPYDATA, wParam, reinterpret_cast<LPARAM>(&record), SMTO_NORMAL,
                                       INFINITE, &result) != 0;
        reply.result = static_cast<std::int64_t>(result);
        break;
    }
    case Op::SetText: {
        std::string text(data, request.payload);
        return OnOwnerThread(w->threadId, [hwnd, text] { return SetWindowTextA(hwnd, text.c_str()); });
    }
    case Op::Exchange: {
        auto block = std::make_shared<ExchangeBlock>();
        block->in.assign(data, request.payload);
        DWORD_PTR result = 0;
        MarkExchange(block, true);
        reply.ok = SendMessageTimeoutA(hwnd, msg, wParam, reinterpret_cast<LPARAM>(block.get()), SMTO_NORMAL,
                                       request.timeout, &result) != 0;
        MarkExchange(block, false);
        reply.result = static_cast<std::int64_t>(result);
        if (reply.ok && block->out.size() <= kMaxPayload)
            out = std::move(block->out);
        break;
    }
    default:
        reply.error = ERROR_INVALID_PARAMETER;
        return reply;
    }
    if (!reply.ok)
        reply.error = GetLastError();
    return reply;
}

void Serve(int connection)
{
    std::vector<char> packet(sizeof(RequestPacket) + kMaxPayload);
    ssize_t n;
    while ((n = recv(connection, packet.data(), packet.size(), 0)) < 0 && errno == EINTR) {
    }
    RequestPacket request{};
    if (n >= static_cast<ssize_t>(sizeof request)) {
        std::memcpy(&request, packet.data(), sizeof request);
        if (request.payload == static_cast<std::size_t>(n) - sizeof request) {
            std::string out;
            ReplyPacket reply = Perform(request, packet.data() + sizeof request, out);
            reply.payload = static_cast<std::uint32_t>(out.size());
            std::vector<char> answer(sizeof reply + out.size());
            std::memcpy(answer.data(), &reply, sizeof reply);
            if (!out.empty())
                std::memcpy(answer.data() + sizeof reply, out.data(), out.size());
            send(connection, answer.data(), answer.size(), MSG_NOSIGNAL);  // the sender may have given up
        }
    }
    close(connection);
}

void Listen(int listener)
{
    for (;;) {
        int connection = accept4(listener, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0) {
            if (errno == EINTR || errno == ECONNABORTED)
                continue;
            if (errno == EMFILE || errno == ENFILE || errno == ENOBUFS || errno == ENOMEM) {
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
                continue;
            }
            return;
        }
        ucred peer{};
        socklen_t size = sizeof peer;
        if (getsockopt(connection, SOL_SOCKET, SO_PEERCRED, &peer, &size) != 0 || peer.uid != getuid()) {
            close(connection);
            continue;
        }
        try {
            std::thread(Serve, connection).detach();
        } catch (const std::system_error&) {
            close(connection);
        }
    }
}

}  // namespace

namespace {
std::mutex g_exchangeLock;
std::vector<std::shared_ptr<ExchangeBlock>> g_liveExchanges;
}  // namespace

std::shared_ptr<ExchangeBlock> FindExchange(LPARAM lParam)
{
    std::lock_guard<std::mutex> g(g_exchangeLock);
    for (const auto& block : g_liveExchanges)
        if (reinterpret_cast<LPARAM>(block.get()) == lParam)
            return block;
    return nullptr;
}

void MarkExchange(const std::shared_ptr<ExchangeBlock>& block, bool live)
{
    std::lock_guard<std::mutex> g(g_exchangeLock);
    if (live)
        g_liveExchanges.push_back(block);
    else
        g_liveExchanges.erase(std::remove(g_liveExchanges.begin(), g_liveExchanges.end(), block), g_liveExchanges.end());
}

bool PlainNumberMessage(UINT msg)
{
    switch (msg) {
    case WM_NULL:
    case WM_DESTROY:  // told, not done: the receiver's procedure learns its process should end
    case WM_CLOSE:
    case WM_QUIT:
    case WM_COMMAND:
    case WM_SYSCOMMAND:
    case WM_RENDERFORMAT:  // the clipboard's owner renders a format for another process
    case WM_RENDERALLFORMATS:
    case WM_DESTROYCLIPBOARD:
        return true;
    default:
        return msg >= WM_USER && msg <= 0xFFFF;  // private, application and registered messages
    }
}

void StartListener()
{
    static std::once_flag once;
    std::call_once(once, [] {
        int listener = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
        if (listener < 0)
            return;
        socklen_t length = 0;
        sockaddr_un address = AddressOf(GetCurrentProcessId(), length);
        if (bind(listener, reinterpret_cast<const sockaddr*>(&address), length) != 0 || listen(listener, 64) != 0) {
            close(listener);
            return;
        }
        try {
            std::thread(Listen, listener).detach();
        } catch (const std::system_error&) {
            close(listener);
        }
    });
}

bool Request(HWND hwnd, Op op, UINT msg, WPARAM wParam, LPARAM lParam, int arg, DWORD timeoutMs, LRESULT* result)
{
    return RequestWithPayload(hwnd, op, msg, wParam, lParam, arg, nullptr, 0, timeoutMs, result, nullptr);
}

bool RequestWithData(HWND hwnd, Op op, UINT msg, WPARAM wParam, LPARAM lParam, const void* data, std::size_t size,
                     DWORD timeoutMs, LRESULT* result, std::string* reply)
{
    if (size > kMaxPayload) {
        if (result)
            *result = 0;
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return RequestWithPayload(hwnd, op, msg, wParam, lParam, 0, data, size, timeoutMs, result, reply);
}

namespace {

bool RequestWithPayload(HWND hwnd, Op op, UINT msg, WPARAM wParam, LPARAM lParam, int arg, const void* data,
                        std::size_t size, DWORD timeoutMs, LRESULT* result, std::string* replyData)
{
    if (result)
        *result = 0;
    Info info;
    if (!Describe(hwnd, info)) {
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    if ((op == Op::Post || op == Op::Send || op == Op::SendNotify) && !PlainNumberMessage(msg)) {
        // Pointers mean nothing in another process.
        SetLastError(ERROR_ACCESS_DENIED);
        return false;
    }
    int connection = socket(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0);
    if (connection < 0) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return false;
    }
    socklen_t length = 0;
    sockaddr_un address = AddressOf(info.processId, length);
    RequestPacket request{};
    request.op = static_cast<std::uint32_t>(op);
    request.msg = msg;
    request.hwnd = reinterpret_cast<std::uint64_t>(hwnd);
    request.wParam = static_cast<std::uint64_t>(wParam);
    request.lParam = static_cast<std::int64_t>(lParam);
    request.arg = arg;
    request.timeout = timeoutMs;
    request.payload = static_cast<std::uint32_t>(size);
    std::vector<char> packet(sizeof request + size);
    std::memcpy(packet.data(), &request, sizeof request);
    if (size)
        std::memcpy(packet.data() + sizeof request, data, size);
    if (connect(connection, reinterpret_cast<const sockaddr*>(&address), length) != 0 ||
        send(connection, packet.data(), packet.size(), MSG_NOSIGNAL) != static_cast<ssize_t>(packet.size())) {
        close(connection);
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }

    // Wait for the answer, serving what other threads and processes send to this thread.
    using Clock = std::chrono::steady_clock;
    const Clock::time_point deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    ThreadQueue& self = CurrentQueue();
    ReplyPacket reply{};
    std::vector<char> answer(sizeof reply + kMaxPayload);
    bool answered = false, gone = false;
    for (;;) {
        ServeSentMessages(self);
        int slice = 10;
        if (timeoutMs != INFINITE) {
            auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
            if (left <= 0)
                break;
            slice = static_cast<int>(std::min<long long>(left, slice));
        }
        pollfd p{connection, POLLIN, 0};
        int ready = poll(&p, 1, slice);
        if (ready < 0 && errno != EINTR) {
            gone = true;
            break;
        }
        if (ready > 0) {
            ssize_t n = recv(connection, answer.data(), answer.size(), 0);
            if (n >= static_cast<ssize_t>(sizeof reply)) {
                std::memcpy(&reply, answer.data(), sizeof reply);
                answered = reply.payload == static_cast<std::size_t>(n) - sizeof reply;
                gone = !answered;
                if (answered && replyData)
                    replyData->assign(answer.data() + sizeof reply, reply.payload);
            } else if (n < 0 && errno == EINTR)
                continue;
            else
                gone = true;  // closed without an answer: the owner ended
            break;
        }
    }
    close(connection);
    if (!answered) {
        SetLastError(gone ? ERROR_INVALID_WINDOW_HANDLE : ERROR_TIMEOUT);
        return false;
    }
    if (!reply.ok) {
        SetLastError(reply.error);
        return false;
    }
    if (result)
        *result = static_cast<LRESULT>(reply.result);
    return true;
}

}  // namespace

std::vector<HWND> GlobalTopLevelWindows()
{
    std::vector<HWND> local;
    {
        Guard g(Mutex());
        for (Window* c : Desktop().children)
            if (!c->destroyed)
                local.push_back(c->hwnd);
    }
    std::uint64_t localStamp = 0;
    std::vector<Group> others = OtherProcessesWindows(localStamp);
    std::vector<HWND> out;
    bool placed = false;
    for (const Group& group : others) {
        if (!placed && (localStamp == 0 || group.stamp < localStamp)) {
            out.insert(out.end(), local.begin(), local.end());
            placed = true;
        }
        out.insert(out.end(), group.windows.begin(), group.windows.end());
    }
    if (!placed)
        out.insert(out.end(), local.begin(), local.end());
    return out;
}

}  // namespace user::remote
