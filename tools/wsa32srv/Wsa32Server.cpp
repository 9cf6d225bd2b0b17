// WSA32SRV.DLL, the stand-in sockets server that the sockets bridge starts: a hidden top-level
// window titled "\r\nVersion 3.10\r\n" that takes requests as WM_COPYDATA (wParam the opcode,
// the block the request) and answers them with the host's sockets on loopback. A call with a
// result answers a reply handle: on Windows NT an id that the client asks for over DDE (the
// service "WSA32SRV.DLL-%X" after the low 16 bits of the window's handle, the item the id in
// hexadecimal), on Windows 95/98 a DDE data handle of the reply block that the client frees.
//
// VL_WSA32SRV_FAULT makes the server misbehave for tests: "notitle" (the window keeps another
// title), "nodde" (no service name), "netdown:OPCODE" (the first request OPCODE is answered with
// 10050), "noreply" (reply ids that name nothing), "bigcount" (recv replies claim 1000 bytes
// more than they hold), "log:FILE" (every request and reply block is appended to FILE in
// hexadecimal: "OPCODE <block>" and "reply <block>", "-" for none). The server ends with the
// process that started it.
#include "SocketRequests.h"

#include <windows.h>
#include <ddeml.h>
#include <interproc.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <poll.h>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kReadyTitle = "\r\nVersion 3.10\r\n";

DWORD g_dde = 0;
bool g_windows95 = false;
HWND g_window = nullptr;
std::map<std::uint32_t, std::string> g_replies;
std::uint32_t g_nextReply = 1;
int g_netDownOpcode = -1;
bool g_noReply = false;
bool g_bigCount = false;
std::string g_logFile;

// ---- WSAAsyncSelect: a watcher posts the events the caller asked for to its window.

struct Watch {
    int socket;
    HWND window;
    UINT message;
    long mask;
    short seen = 0;  // the events already posted while they hold
};
std::mutex g_watchLock;
std::vector<Watch> g_watches;

void Watcher()
{
    for (;;) {
        std::vector<Watch> now;
        {
            std::lock_guard<std::mutex> g(g_watchLock);
            now = g_watches;
        }
        std::vector<pollfd> fds;
        for (const Watch& w : now)
            fds.push_back(pollfd{w.socket, POLLIN | POLLOUT, 0});
        if (!fds.empty())
            poll(fds.data(), fds.size(), 0);
        for (std::size_t i = 0; i < now.size(); ++i) {
            short events = fds[i].revents;
            struct Event {
                long bit;
                short when;
            };
            const Event kinds[] = {{0x01, POLLIN}, {0x02, POLLOUT}, {0x08, POLLIN}, {0x20, POLLHUP}};
            short posted = 0;
            for (const Event& e : kinds) {
                if (!(now[i].mask & e.bit) || !(events & e.when) || (now[i].seen & e.when))
                    continue;
                PostMessageA(now[i].window, now[i].message, static_cast<WPARAM>(now[i].socket),
                             static_cast<LPARAM>(e.bit));
                posted |= e.when;
            }
            std::lock_guard<std::mutex> g(g_watchLock);
            for (Watch& w : g_watches)
                if (w.socket == now[i].socket)
                    w.seen = static_cast<short>((w.seen | posted) & events);
        }
        Sleep(20);
    }
}

std::uint32_t AsyncSelect(const char* block, std::size_t size)
{
    if (size != 16)
        return wsa32srv::ErrorResult(10014);
    std::uint32_t words[4];
    std::memcpy(words, block, sizeof words);
    // Marks the socket non-blocking through the ordinary request, as the real call does.
    std::uint32_t nonBlocking[3] = {words[0], 0x8004667E, 1};
    wsa32srv::Outcome o = wsa32srv::Perform(11, reinterpret_cast<const char*>(nonBlocking), sizeof nonBlocking);
    if ((o.result >> 16) == 0xFFFF)
        return o.result;
    std::lock_guard<std::mutex> g(g_watchLock);
    std::erase_if(g_watches, [&](const Watch& w) { return w.socket == static_cast<int>(words[0]); });
    if (words[3] != 0)
        g_watches.push_back(Watch{static_cast<int>(words[0]),
                                  reinterpret_cast<HWND>(static_cast<std::uintptr_t>(words[1])), words[2],
                                  static_cast<long>(words[3])});
    static std::once_flag started;
    std::call_once(started, [] { std::thread(Watcher).detach(); });
    return 0;
}

void Log(const std::string& head, const char* bytes, std::size_t size)
{
    if (g_logFile.empty())
        return;
    FILE* f = std::fopen(g_logFile.c_str(), "a");
    if (!f)
        return;
    std::fprintf(f, "%s ", head.c_str());
    for (std::size_t i = 0; i < size; ++i)
        std::fprintf(f, "%02x", static_cast<unsigned char>(bytes[i]));
    if (size == 0)
        std::fprintf(f, "-");
    std::fprintf(f, "\n");
    std::fclose(f);
}

std::uint32_t Answer(unsigned opcode, const char* block, std::size_t size)
{
    Log(std::to_string(opcode), block, size);
    if (static_cast<int>(opcode) == g_netDownOpcode) {
        g_netDownOpcode = -1;
        return wsa32srv::ErrorResult(10050);
    }
    if (opcode == 30)
        return AsyncSelect(block, size);
    if (opcode == 2) {
        std::uint32_t s = 0;
        if (size == 4)
            std::memcpy(&s, block, 4);
        std::lock_guard<std::mutex> g(g_watchLock);
        std::erase_if(g_watches, [&](const Watch& w) { return w.socket == static_cast<int>(s); });
    }
    wsa32srv::Outcome o = wsa32srv::Perform(opcode, block, size);
    if (!o.hasReply)
        return o.result;
    if (g_bigCount && opcode == 15 && o.reply.size() >= 4) {
        std::uint32_t count;
        std::memcpy(&count, o.reply.data(), 4);
        count += 1000;
        std::memcpy(o.reply.data(), &count, 4);
    }
    Log("reply", o.reply.data(), o.reply.size());
    if (g_windows95) {
        HDDEDATA data = DdeCreateDataHandle(g_dde, reinterpret_cast<LPBYTE>(o.reply.data()),
                                            static_cast<DWORD>(o.reply.size()), 0, nullptr, CF_TEXT, 0);
        return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(data));
    }
    std::uint32_t id = g_nextReply++;
    if (g_nextReply >= 0x7FFF0000)
        g_nextReply = 1;
    g_replies[id] = std::move(o.reply);
    return g_noReply ? id + 0x01000000 : id;
}

HDDEDATA CALLBACK DdeCallback(UINT type, UINT format, HCONV, HSZ, HSZ item, HDDEDATA, ULONG_PTR, ULONG_PTR)
{
    switch (type) {
    case XTYP_CONNECT:
        return reinterpret_cast<HDDEDATA>(1);
    case XTYP_REQUEST: {
        char name[32] = {};
        DdeQueryStringA(g_dde, item, name, sizeof name, CP_WINANSI);
        char* end = nullptr;
        unsigned long id = std::strtoul(name, &end, 16);
        auto it = g_replies.find(static_cast<std::uint32_t>(id));
        if (!name[0] || *end || it == g_replies.end() || format != CF_TEXT)
            return nullptr;
        std::string reply = std::move(it->second);
        g_replies.erase(it);
        return DdeCreateDataHandle(g_dde, reinterpret_cast<LPBYTE>(reply.data()), static_cast<DWORD>(reply.size()),
                                   0, item, format, 0);
    }
    default:
        return nullptr;
    }
}

LRESULT CALLBACK ServerProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_COPYDATA: {
        auto record = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        if (!record)
            return static_cast<LRESULT>(wsa32srv::ErrorResult(10014));
        return static_cast<LRESULT>(
            Answer(static_cast<unsigned>(wParam), static_cast<const char*>(record->lpData), record->cbData));
    }
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    default:
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    }
}

}  // namespace

int main()
{
    std::string fault;
    if (const char* f = std::getenv("VL_WSA32SRV_FAULT"))
        fault = f;
    if (fault.rfind("netdown:", 0) == 0)
        g_netDownOpcode = std::atoi(fault.c_str() + 8);
    if (fault.rfind("log:", 0) == 0)
        g_logFile = fault.substr(4);
    g_noReply = fault == "noreply";
    g_bigCount = fault == "bigcount";
    g_windows95 = (GetVersion() & 0x80000000u) != 0;

    WNDCLASSA wc{};
    wc.lpfnWndProc = ServerProc;
    wc.lpszClassName = "Wsa32SrvWindow";
    RegisterClassA(&wc);
    g_window = CreateWindowExA(0, wc.lpszClassName, fault == "notitle" ? "WSA32SRV" : kReadyTitle, WS_OVERLAPPED, 0,
                               0, 100, 50, nullptr, nullptr, nullptr, nullptr);
    if (!g_window)
        return 1;
    if (DdeInitializeA(&g_dde, DdeCallback, APPCLASS_STANDARD, 0) != DMLERR_NO_ERROR)
        return 1;
    if (fault != "nodde") {
        char service[64];
        std::snprintf(service, sizeof service, "WSA32SRV.DLL-%X",
                      static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(g_window) & 0xFFFF));
        HSZ name = DdeCreateStringHandleA(g_dde, service, CP_WINANSI);
        DdeNameService(g_dde, name, nullptr, DNS_REGISTER);
    }
    // A starter that ends without telling (a crash, a kill) takes the server with it.
    const pid_t starter = getppid();
    const DWORD mainThread = GetCurrentThreadId();
    std::thread([starter, mainThread] {
        while (getppid() == starter)
            Sleep(250);
        PostThreadMessageA(mainThread, WM_QUIT, 0, 0);
    }).detach();
    MSG m;
    while (GetMessageA(&m, nullptr, 0, 0) > 0) {
        TranslateMessage(&m);
        DispatchMessageA(&m);
    }
    DdeUninitialize(g_dde);
    wsa32srv::CloseAll();
    return 0;
}
