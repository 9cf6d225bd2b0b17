// The DDE management library. Every instance owns a hidden top-level window of the class
// "VlDdeInstance" on the thread that initialised it; the window's title lists the instance's
// service names, one a line, so that clients in any process find servers among the top-level
// windows. A client's operations are Exchange requests to that window (bytes in, bytes out;
// a direct send when the server is in the same process): the window procedure runs on the
// server's thread and calls the server's callback there, as the platform's own DDE does.
//
// Data handles are 32-bit values that carry a per-process salt, so that a handle handed to
// another process (in a message) names its owner's data there: a process that does not know
// a handle asks the other processes' instances for it.
#include "UserInternal.h"
#include "UserRemote.h"

#include <ddeml.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <random>
#include <string>
#include <strings.h>
#include <vector>

namespace {

constexpr const char* kInstanceClass = "VlDdeInstance";
constexpr const char* kMessageName = "VL:DDE";
constexpr DWORD kConnectTimeout = 10000;

enum Operation : WPARAM { OpConnect = 1, OpRequest = 2, OpDisconnect = 3, OpGetData = 4, OpFreeData = 5 };

struct Instance {
    DWORD threadId = 0;
    PFNCALLBACK callback = nullptr;
    DWORD flags = 0;
    HWND window = nullptr;
    std::vector<std::string> services;
    UINT lastError = DMLERR_NO_ERROR;
};

struct ServerConversation {
    DWORD instance = 0;
    HSZ service = nullptr;
    HSZ topic = nullptr;
};

struct ClientConversation {
    DWORD instance = 0;
    HWND server = nullptr;
    std::uint32_t serverId = 0;
};

struct Data {
    std::string bytes;
    UINT format = 0;
    bool appOwned = false;
};

struct State {
    std::mutex lock;
    DWORD nextInstance = 1;
    std::map<DWORD, Instance> instances;
    std::vector<std::string> strings;  // HSZ n is strings[n - 1]
    std::uint32_t nextConversation = 1;
    std::map<std::uint32_t, ServerConversation> served;
    std::map<std::uint32_t, ClientConversation> clients;
    std::uint32_t salt = 0;
    std::uint32_t nextData = 1;
    std::map<std::uint32_t, Data> data;
};

State& TheState()
{
    static State* state = [] {
        auto* s = new State;
        std::random_device random;
        s->salt = (random() ^ GetCurrentProcessId()) & 0x0FFF;
        return s;
    }();
    return *state;
}

UINT DdeMessage()
{
    static UINT message = RegisterWindowMessageA(kMessageName);
    return message;
}

std::uint32_t Value(const void* handle)
{
    return static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle));
}

template <class H>
H HandleOf(std::uint32_t value)
{
    return reinterpret_cast<H>(static_cast<std::uintptr_t>(value));
}

void SetError(DWORD idInst, UINT error)
{
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    auto it = s.instances.find(idInst);
    if (it != s.instances.end())
        it->second.lastError = error;
}

std::string StringOf(HSZ hsz)
{
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    std::uint32_t n = Value(hsz);
    return n >= 1 && n <= s.strings.size() ? s.strings[n - 1] : std::string();
}

HSZ StringHandle(const std::string& text)
{
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    for (std::size_t i = 0; i < s.strings.size(); ++i)
        if (strcasecmp(s.strings[i].c_str(), text.c_str()) == 0)
            return HandleOf<HSZ>(static_cast<std::uint32_t>(i + 1));
    s.strings.push_back(text);
    return HandleOf<HSZ>(static_cast<std::uint32_t>(s.strings.size()));
}

HDDEDATA NewData(std::string bytes, UINT format, bool appOwned)
{
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    std::uint32_t value;
    do {
        value = 0x20000000u | (s.salt << 16) | (s.nextData++ & 0xFFFF);
    } while (s.data.count(value) || (value & 0xFFFF) == 0);
    s.data[value] = Data{std::move(bytes), format, appOwned};
    return HandleOf<HDDEDATA>(value);
}

// Takes a data handle's bytes out of the table (the handle is then gone), unless it is owned
// by the application.
bool TakeData(std::uint32_t value, std::string& out)
{
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    auto it = s.data.find(value);
    if (it == s.data.end())
        return false;
    out = it->second.bytes;
    if (!it->second.appOwned)
        s.data.erase(it);
    return true;
}

void PutWord(std::string& out, std::uint32_t v)
{
    out.append(reinterpret_cast<const char*>(&v), sizeof v);
}

bool GetWord(const char*& p, std::size_t& left, std::uint32_t& v)
{
    if (left < sizeof v)
        return false;
    std::memcpy(&v, p, sizeof v);
    p += sizeof v;
    left -= sizeof v;
    return true;
}

std::string GetRest(const char* p, std::size_t left)
{
    return std::string(p, strnlen(p, left));
}

// The server side of the operations, on the instance window's thread.
LRESULT Serve(HWND hwnd, WPARAM operation, user::remote::ExchangeBlock& block)
{
    State& s = TheState();
    DWORD idInst = 0;
    PFNCALLBACK callback = nullptr;
    DWORD flags = 0;
    std::vector<std::string> services;
    {
        std::lock_guard<std::mutex> g(s.lock);
        for (auto& [id, instance] : s.instances)
            if (instance.window == hwnd) {
                idInst = id;
                callback = instance.callback;
                flags = instance.flags;
                services = instance.services;
            }
    }
    const char* p = block.in.data();
    std::size_t left = block.in.size();
    switch (operation) {
    case OpConnect: {
        std::string service = GetRest(p, left);
        std::size_t skip = std::min(left, service.size() + 1);
        std::string topic = GetRest(p + skip, left - skip);
        bool offered = std::any_of(services.begin(), services.end(), [&](const std::string& name) {
            return strcasecmp(name.c_str(), service.c_str()) == 0;
        });
        if (!callback || !offered || (flags & APPCMD_CLIENTONLY))
            return 0;
        HSZ hszService = StringHandle(service), hszTopic = StringHandle(topic);
        if (!callback(XTYP_CONNECT, 0, nullptr, hszTopic, hszService, nullptr, 0, 0))
            return 0;
        std::uint32_t id;
        {
            std::lock_guard<std::mutex> g(s.lock);
            id = s.nextConversation++;
            s.served[id] = ServerConversation{idInst, hszService, hszTopic};
        }
        callback(XTYP_CONNECT_CONFIRM, 0, HandleOf<HCONV>(id), hszTopic, hszService, nullptr, 0, 0);
        PutWord(block.out, id);
        return 1;
    }
    case OpRequest: {
        std::uint32_t id = 0, format = 0;
        if (!GetWord(p, left, id) || !GetWord(p, left, format))
            return 0;
        std::string item = GetRest(p, left);
        ServerConversation conversation;
        {
            std::lock_guard<std::mutex> g(s.lock);
            auto it = s.served.find(id);
            if (it == s.served.end() || it->second.instance != idInst)
                return 0;
            conversation = it->second;
        }
        HDDEDATA answer = callback(XTYP_REQUEST, format, HandleOf<HCONV>(id), conversation.topic, StringHandle(item),
                                   nullptr, 0, 0);
        if (!answer)
            return 0;
        // The answer's handle is the system's from here on: it goes unless the server owns it.
        if (!TakeData(Value(answer), block.out))
            return 0;
        return 1;
    }
    case OpDisconnect: {
        std::uint32_t id = 0;
        if (!GetWord(p, left, id))
            return 0;
        ServerConversation conversation;
        {
            std::lock_guard<std::mutex> g(s.lock);
            auto it = s.served.find(id);
            if (it == s.served.end() || it->second.instance != idInst)
                return 0;
            conversation = it->second;
            s.served.erase(it);
        }
        if (callback)
            callback(XTYP_DISCONNECT, 0, HandleOf<HCONV>(id), nullptr, nullptr, nullptr, 0, 0);
        return 1;
    }
    case OpGetData:
    case OpFreeData: {
        std::uint32_t value = 0;
        if (!GetWord(p, left, value))
            return 0;
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.data.find(value);
        if (it == s.data.end())
            return 0;
        if (operation == OpGetData)
            block.out = it->second.bytes;
        else
            s.data.erase(it);
        return 1;
    }
    default:
        return 0;
    }
}

LRESULT CALLBACK InstanceProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == DdeMessage()) {
        std::shared_ptr<user::remote::ExchangeBlock> block = user::remote::FindExchange(lParam);
        return block ? Serve(hwnd, wParam, *block) : 0;
    }
    return DefWindowProcA(hwnd, msg, wParam, lParam);
}

// Hands an operation to an instance window of this process or another: false when it did not
// answer (the window or its process gone, the time ran out) or answered 0.
bool Ask(HWND window, WPARAM operation, const std::string& in, DWORD timeout, std::string& out, bool& gone)
{
    gone = false;
    LRESULT result = 0;
    if (user::Find(window)) {
        // The block outlives a sender that gives up while the server still works on it.
        auto block = std::make_shared<user::remote::ExchangeBlock>();
        block->in = in;
        DWORD_PTR answer = 0;
        user::remote::MarkExchange(block, true);
        bool sent = SendMessageTimeoutA(window, DdeMessage(), operation, reinterpret_cast<LPARAM>(block.get()),
                                        SMTO_NORMAL, timeout, &answer) != 0;
        DWORD error = GetLastError();
        user::remote::MarkExchange(block, false);
        if (!sent) {
            gone = error != ERROR_TIMEOUT;
            SetLastError(error);
            return false;
        }
        out = std::move(block->out);
        return answer != 0;
    }
    if (!user::remote::RequestWithData(window, user::remote::Op::Exchange, DdeMessage(), operation, 0, in.data(),
                                       in.size(), timeout, &result, &out)) {
        gone = GetLastError() != ERROR_TIMEOUT;
        return false;
    }
    return result != 0;
}

// Every instance window of every process, with the services it offers.
struct Server {
    HWND window;
    DWORD processId;
    std::string services;
};

std::vector<Server> InstanceWindows()
{
    std::vector<Server> out;
    for (HWND h : user::remote::GlobalTopLevelWindows()) {
        char className[64] = {};
        user::remote::Info info;
        if (!user::Find(h)) {
            if (!user::remote::Describe(h, info) || info.className != kInstanceClass)
                continue;
            out.push_back(Server{h, info.processId, info.title});
        } else if (GetClassNameA(h, className, sizeof className) && strcmp(className, kInstanceClass) == 0) {
            char title[1024] = {};
            GetWindowTextA(h, title, sizeof title);
            out.push_back(Server{h, GetCurrentProcessId(), title});
        }
    }
    return out;
}

bool Offers(const std::string& list, const std::string& service)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find('\n', start);
        if (end == std::string::npos)
            end = list.size();
        if (end > start && strcasecmp(list.substr(start, end - start).c_str(), service.c_str()) == 0)
            return true;
        start = end + 1;
    }
    return false;
}

void PublishServices(DWORD idInst)
{
    State& s = TheState();
    HWND window = nullptr;
    std::string title;
    {
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.instances.find(idInst);
        if (it == s.instances.end())
            return;
        window = it->second.window;
        for (const std::string& name : it->second.services)
            title += (title.empty() ? "" : "\n") + name;
    }
    SetWindowTextA(window, title.c_str());
}

// Asks the other processes' instances about a data handle this process does not know.
bool ForeignData(std::uint32_t value, WPARAM operation, std::string& out)
{
    std::string in;
    PutWord(in, value);
    for (const Server& server : InstanceWindows()) {
        if (server.processId == GetCurrentProcessId())
            continue;
        bool gone = false;
        if (Ask(server.window, operation, in, 5000, out, gone))
            return true;
    }
    return false;
}

}  // namespace

UINT WINAPI DdeInitializeA(LPDWORD pidInst, PFNCALLBACK pfnCallback, DWORD afCmd, DWORD)
{
    if (!pidInst || *pidInst != 0 || (!pfnCallback && !(afCmd & APPCMD_CLIENTONLY)))
        return DMLERR_INVALIDPARAMETER;
    static std::once_flag registered;
    std::call_once(registered, [] {
        WNDCLASSA wc{};
        wc.lpfnWndProc = InstanceProc;
        wc.lpszClassName = kInstanceClass;
        RegisterClassA(&wc);
    });
    DdeMessage();
    HWND window = CreateWindowExA(0, kInstanceClass, "", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    if (!window)
        return DMLERR_SYS_ERROR;
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    DWORD id = s.nextInstance++;
    Instance& instance = s.instances[id];
    instance.threadId = GetCurrentThreadId();
    instance.callback = pfnCallback;
    instance.flags = afCmd;
    instance.window = window;
    *pidInst = id;
    return DMLERR_NO_ERROR;
}

BOOL WINAPI DdeUninitialize(DWORD idInst)
{
    State& s = TheState();
    HWND window = nullptr;
    std::vector<HCONV> conversations;
    {
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.instances.find(idInst);
        if (it == s.instances.end())
            return FALSE;
        window = it->second.window;
        for (auto& [id, c] : s.clients)
            if (c.instance == idInst)
                conversations.push_back(HandleOf<HCONV>(id));
    }
    for (HCONV c : conversations)
        DdeDisconnect(c);
    {
        std::lock_guard<std::mutex> g(s.lock);
        for (auto it = s.served.begin(); it != s.served.end();)
            it = it->second.instance == idInst ? s.served.erase(it) : std::next(it);
        s.instances.erase(idInst);
    }
    DestroyWindow(window);
    return TRUE;
}

UINT WINAPI DdeGetLastError(DWORD idInst)
{
    State& s = TheState();
    std::lock_guard<std::mutex> g(s.lock);
    auto it = s.instances.find(idInst);
    if (it == s.instances.end())
        return DMLERR_DLL_NOT_INITIALIZED;
    UINT error = it->second.lastError;
    it->second.lastError = DMLERR_NO_ERROR;
    return error;
}

HSZ WINAPI DdeCreateStringHandleA(DWORD, LPCSTR psz, int)
{
    if (!psz || std::strlen(psz) > 255)
        return nullptr;
    return StringHandle(psz);
}

BOOL WINAPI DdeFreeStringHandle(DWORD, HSZ hsz)
{
    return hsz != nullptr;  // string handles live as long as the process
}

DWORD WINAPI DdeQueryStringA(DWORD, HSZ hsz, LPSTR psz, DWORD cchMax, int)
{
    std::string text = StringOf(hsz);
    if (!psz)
        return static_cast<DWORD>(text.size());
    if (cchMax == 0)
        return 0;
    std::size_t n = std::min<std::size_t>(text.size(), cchMax - 1);
    std::memcpy(psz, text.data(), n);
    psz[n] = 0;
    return static_cast<DWORD>(n);
}

int WINAPI DdeCmpStringHandles(HSZ hsz1, HSZ hsz2)
{
    std::uint32_t a = Value(hsz1), b = Value(hsz2);
    return a < b ? -1 : a > b ? 1 : 0;
}

HDDEDATA WINAPI DdeNameService(DWORD idInst, HSZ hsz1, HSZ, UINT afCmd)
{
    std::string name = StringOf(hsz1);
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.instances.find(idInst);
        if (it == s.instances.end())
            return nullptr;
        auto& services = it->second.services;
        if (afCmd & DNS_REGISTER) {
            if (name.empty() || name.find('\n') != std::string::npos) {
                it->second.lastError = DMLERR_INVALIDPARAMETER;
                return nullptr;
            }
            if (std::none_of(services.begin(), services.end(),
                             [&](const std::string& n) { return strcasecmp(n.c_str(), name.c_str()) == 0; }))
                services.push_back(name);
        } else if (afCmd & DNS_UNREGISTER) {
            if (!hsz1)
                services.clear();
            else
                services.erase(std::remove_if(services.begin(), services.end(),
                                              [&](const std::string& n) { return strcasecmp(n.c_str(), name.c_str()) == 0; }),
                               services.end());
        }
    }
    if (afCmd & (DNS_REGISTER | DNS_UNREGISTER))
        PublishServices(idInst);
    return reinterpret_cast<HDDEDATA>(1);
}

HCONV WINAPI DdeConnect(DWORD idInst, HSZ hszService, HSZ hszTopic, PCONVCONTEXT)
{
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        if (!s.instances.count(idInst))
            return nullptr;
    }
    std::string service = StringOf(hszService), topic = StringOf(hszTopic);
    std::string in = service;
    in.push_back('\0');
    in += topic;
    for (const Server& server : InstanceWindows()) {
        if (!Offers(server.services, service))
            continue;
        std::string out;
        bool gone = false;
        std::uint32_t serverId = 0;
        const char* p = nullptr;
        std::size_t left = 0;
        if (!Ask(server.window, OpConnect, in, kConnectTimeout, out, gone))
            continue;
        p = out.data();
        left = out.size();
        if (!GetWord(p, left, serverId))
            continue;
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        std::uint32_t id = s.nextConversation++;
        s.clients[id] = ClientConversation{idInst, server.window, serverId};
        return HandleOf<HCONV>(id);
    }
    SetError(idInst, DMLERR_NO_CONV_ESTABLISHED);
    return nullptr;
}

BOOL WINAPI DdeDisconnect(HCONV hConv)
{
    ClientConversation conversation;
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.clients.find(Value(hConv));
        if (it == s.clients.end())
            return FALSE;
        conversation = it->second;
        s.clients.erase(it);
    }
    std::string in, out;
    PutWord(in, conversation.serverId);
    bool gone = false;
    Ask(conversation.server, OpDisconnect, in, kConnectTimeout, out, gone);
    return TRUE;
}

HDDEDATA WINAPI DdeClientTransaction(LPBYTE, DWORD, HCONV hConv, HSZ hszItem, UINT wFmt, UINT wType, DWORD dwTimeout,
                                     LPDWORD pdwResult)
{
    if (pdwResult)
        *pdwResult = 0;
    ClientConversation conversation;
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.clients.find(Value(hConv));
        if (it == s.clients.end())
            return nullptr;
        conversation = it->second;
    }
    if (wType != XTYP_REQUEST || dwTimeout == TIMEOUT_ASYNC) {
        SetError(conversation.instance, DMLERR_INVALIDPARAMETER);
        return nullptr;
    }
    std::string in, out;
    PutWord(in, conversation.serverId);
    PutWord(in, wFmt);
    in += StringOf(hszItem);
    bool gone = false;
    if (!Ask(conversation.server, OpRequest, in, dwTimeout, out, gone)) {
        UINT error = DMLERR_NOTPROCESSED;
        if (gone)
            error = DMLERR_SERVER_DIED;
        else if (GetLastError() == ERROR_TIMEOUT)
            error = DMLERR_DATAACKTIMEOUT;
        SetError(conversation.instance, error);
        return nullptr;
    }
    return NewData(std::move(out), wFmt, false);
}

HDDEDATA WINAPI DdeCreateDataHandle(DWORD idInst, LPBYTE pSrc, DWORD cb, DWORD cbOff, HSZ, UINT wFmt, UINT afCmd)
{
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        if (!s.instances.count(idInst))
            return nullptr;
    }
    std::string bytes(cbOff + cb, '\0');
    if (pSrc && cb)
        std::memcpy(bytes.data() + cbOff, pSrc, cb);
    return NewData(std::move(bytes), wFmt, (afCmd & HDATA_APPOWNED) != 0);
}

DWORD WINAPI DdeGetData(HDDEDATA hData, LPBYTE pDst, DWORD cbMax, DWORD cbOff)
{
    std::uint32_t value = Value(hData);
    std::string bytes;
    bool known = false;
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        auto it = s.data.find(value);
        if (it != s.data.end()) {
            bytes = it->second.bytes;
            known = true;
        }
    }
    if (!known && (value == 0 || !ForeignData(value, OpGetData, bytes)))
        return 0;
    if (cbOff > bytes.size())
        return 0;
    std::size_t available = bytes.size() - cbOff;
    if (!pDst)
        return static_cast<DWORD>(available);
    std::size_t n = std::min<std::size_t>(available, cbMax);
    std::memcpy(pDst, bytes.data() + cbOff, n);
    return static_cast<DWORD>(n);
}

BOOL WINAPI DdeFreeDataHandle(HDDEDATA hData)
{
    {
        State& s = TheState();
        std::lock_guard<std::mutex> g(s.lock);
        if (s.data.erase(Value(hData)))
            return TRUE;
    }
    std::string out;
    return Value(hData) != 0 && ForeignData(Value(hData), OpFreeData, out);
}
