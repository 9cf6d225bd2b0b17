// The sockets bridge "wsock32.dll" against the stand-in server WSA32SRV.DLL: the library is
// loaded from the program's folder as a program would load it, starts the server on its first
// socket call and carries every call to it. VL_WSA32SRV_FAULT (read by the server when it
// starts) makes the server misbehave or log the blocks it receives and the replies it serves.
#include "HostPeer.h"

#include <sockbridge/WinSock.h>

#include <windows.h>

#include <host/SystemVersion.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using ws::SOCKET;

namespace {

constexpr int AF_INET_ = 2, SOCK_STREAM_ = 1;

struct Api {
    int (*WSAStartup)(WORD, ws::WSADATA*);
    int (*WSACleanup)();
    int (*WSAGetLastError)();
    SOCKET (*socket)(int, int, int);
    int (*bind)(SOCKET, const ws::sockaddr*, int);
    int (*listen)(SOCKET, int);
    SOCKET (*accept)(SOCKET, ws::sockaddr*, int*);
    int (*connect)(SOCKET, const ws::sockaddr*, int);
    int (*send)(SOCKET, const char*, int, int);
    int (*recv)(SOCKET, char*, int, int);
    int (*select)(int, ws::fd_set*, ws::fd_set*, ws::fd_set*, const ws::timeval*);
    int (*shutdown)(SOCKET, int);
    int (*closesocket)(SOCKET);
    int (*getsockname)(SOCKET, ws::sockaddr*, int*);
    int (*getpeername)(SOCKET, ws::sockaddr*, int*);
    int (*getsockopt)(SOCKET, int, int, char*, int*);
    int (*setsockopt)(SOCKET, int, int, const char*, int);
    int (*ioctlsocket)(SOCKET, long, ws::u_long*);
    int (*gethostname)(char*, int);
    ws::hostent* (*gethostbyname)(const char*);
    ws::hostent* (*gethostbyaddr)(const char*, int, int);
    ws::protoent* (*getprotobyname)(const char*);
    ws::protoent* (*getprotobynumber)(int);
    ws::servent* (*getservbyname)(const char*, const char*);
    ws::servent* (*getservbyport)(int, const char*);
    ws::u_long (*inet_addr)(const char*);
    char* (*inet_ntoa)(ws::in_addr);
    ws::u_long (*htonl)(ws::u_long);
    ws::u_short (*htons)(ws::u_short);
    ws::u_long (*ntohl)(ws::u_long);
    ws::u_short (*ntohs)(ws::u_short);
    int (*FDIsSet)(SOCKET, ws::fd_set*);
    ws::BLOCKINGHOOK (*WSASetBlockingHook)(ws::BLOCKINGHOOK);
    int (*WSAUnhookBlockingHook)();
    HANDLE (*WSAAsyncGetHostByName)(HWND, UINT, const char*, char*, int);
    int (*WSAAsyncSelect)(SOCKET, HWND, UINT, long);
    int (*sendto)(SOCKET, const char*, int, int, const ws::sockaddr*, int);
    int (*recvfrom)(SOCKET, char*, int, int, ws::sockaddr*, int*);
    void (*WSASetLastError)(int);
    int (*WSACancelBlockingCall)();
    BOOL (*WSAIsBlocking)();
    void (*s_perror)(const char*);
    int (*GetServiceA)();
};

template <class F>
void Bind(HMODULE m, F& f, const char* name)
{
    f = reinterpret_cast<F>(GetProcAddress(m, name));
    ASSERT_NE(f, nullptr) << name;
}

class SockBridgeTest : public ::testing::Test {
protected:
    void Load(const char* fault = nullptr)
    {
        if (fault)
            setenv("VL_WSA32SRV_FAULT", fault, 1);
        else
            unsetenv("VL_WSA32SRV_FAULT");
        m = LoadLibrary("wsock32.dll");
        ASSERT_NE(m, nullptr) << GetLastError();
        Bind(m, a.WSAStartup, "WSAStartup");
        Bind(m, a.WSACleanup, "WSACleanup");
        Bind(m, a.WSAGetLastError, "WSAGetLastError");
        Bind(m, a.socket, "socket");
        Bind(m, a.bind, "bind");
        Bind(m, a.listen, "listen");
        Bind(m, a.accept, "accept");
        Bind(m, a.connect, "connect");
        Bind(m, a.send, "send");
        Bind(m, a.recv, "recv");
        Bind(m, a.select, "select");
        Bind(m, a.shutdown, "shutdown");
        Bind(m, a.closesocket, "closesocket");
        Bind(m, a.getsockname, "getsockname");
        Bind(m, a.getpeername, "getpeername");
        Bind(m, a.getsockopt, "getsockopt");
        Bind(m, a.setsockopt, "setsockopt");
        Bind(m, a.ioctlsocket, "ioctlsocket");
        Bind(m, a.gethostname, "gethostname");
        Bind(m, a.gethostbyname, "gethostbyname");
        Bind(m, a.gethostbyaddr, "gethostbyaddr");
        Bind(m, a.getprotobyname, "getprotobyname");
        Bind(m, a.getprotobynumber, "getprotobynumber");
        Bind(m, a.getservbyname, "getservbyname");
        Bind(m, a.getservbyport, "getservbyport");
        Bind(m, a.inet_addr, "inet_addr");
        Bind(m, a.inet_ntoa, "inet_ntoa");
        Bind(m, a.htonl, "htonl");
        Bind(m, a.htons, "htons");
        Bind(m, a.ntohl, "ntohl");
        Bind(m, a.ntohs, "ntohs");
        Bind(m, a.FDIsSet, "__WSAFDIsSet");
        Bind(m, a.WSASetBlockingHook, "WSASetBlockingHook");
        Bind(m, a.WSAUnhookBlockingHook, "WSAUnhookBlockingHook");
        Bind(m, a.WSAAsyncGetHostByName, "WSAAsyncGetHostByName");
        Bind(m, a.WSAAsyncSelect, "WSAAsyncSelect");
        Bind(m, a.sendto, "sendto");
        Bind(m, a.recvfrom, "recvfrom");
        Bind(m, a.WSASetLastError, "WSASetLastError");
        Bind(m, a.WSACancelBlockingCall, "WSACancelBlockingCall");
        Bind(m, a.WSAIsBlocking, "WSAIsBlocking");
        Bind(m, a.s_perror, "s_perror");
        Bind(m, a.GetServiceA, "GetServiceA");
    }

    void Start()
    {
        ws::WSADATA data{};
        ASSERT_EQ(a.WSAStartup(0x0101, &data), 0);
    }

    void TearDown() override
    {
        if (m)
            FreeLibrary(m);
        unsetenv("VL_WSA32SRV_FAULT");
        unsetenv("VL_SYSTEM_VERSION");
        host::ResetReportedSystem();
    }

    ws::sockaddr_in Loopback(ws::u_short port)
    {
        ws::sockaddr_in in{};
        in.sin_family = AF_INET_;
        in.sin_port = a.htons(port);
        in.sin_addr.s_addr = a.inet_addr("127.0.0.1");
        return in;
    }

    // A listening stream socket on a free loopback port; its port in `port`.
    SOCKET Listener(ws::u_short& port)
    {
        SOCKET s = a.socket(AF_INET_, SOCK_STREAM_, 0);
        EXPECT_NE(s, ws::INVALID_SOCKET) << a.WSAGetLastError();
        ws::sockaddr_in in = Loopback(0);
        EXPECT_EQ(a.bind(s, reinterpret_cast<ws::sockaddr*>(&in), sizeof in), 0) << a.WSAGetLastError();
        int length = sizeof in;
        EXPECT_EQ(a.getsockname(s, reinterpret_cast<ws::sockaddr*>(&in), &length), 0);
        EXPECT_EQ(length, 16);
        port = a.ntohs(in.sin_port);
        EXPECT_NE(port, 0);
        EXPECT_EQ(a.listen(s, 5), 0) << a.WSAGetLastError();
        return s;
    }

    HMODULE m = nullptr;
    Api a{};
};

std::atomic<int> g_hookCalls{0};
BOOL CALLBACK CountingHook()
{
    ++g_hookCalls;
    Sleep(1);
    return FALSE;
}

// The log the server writes with "log:FILE": opcode (or "reply") and the block in hexadecimal
// ("-" for an empty block).
std::vector<std::pair<std::string, std::string>> ReadLog(const std::string& file)
{
    std::vector<std::pair<std::string, std::string>> out;
    std::ifstream in(file);
    std::string head, hex;
    while (in >> head >> hex)
        out.emplace_back(head, hex == "-" ? std::string() : hex);
    return out;
}

std::string Hex(const void* data, std::size_t size)
{
    std::string out;
    char two[3];
    for (std::size_t i = 0; i < size; ++i) {
        snprintf(two, sizeof two, "%02x", static_cast<const unsigned char*>(data)[i]);
        out += two;
    }
    return out;
}

}  // namespace

TEST_F(SockBridgeTest, ExportsByNameAndOrdinalAndTheCLibraryKeepsItsOwn)
{
    Load();
    const std::map<int, const char*> ordinals = {
        {1, "accept"},         {3, "closesocket"},     {8, "htonl"},          {10, "inet_addr"},
        {16, "recv"},          {18, "select"},         {19, "send"},          {23, "socket"},
        {51, "gethostbyaddr"}, {57, "gethostname"},    {101, "WSAAsyncSelect"}, {111, "WSAGetLastError"},
        {115, "WSAStartup"},   {116, "WSACleanup"},    {151, "__WSAFDIsSet"}, {180, "IdentifyServer"},
        {181, "DllEntryPoint"}, {182, "DdeCallback32"}, {1101, "getnetbyname"}, {1108, "s_perror"},
        {1140, "TransmitFile"},
    };
    for (const auto& [ordinal, name] : ordinals) {
        FARPROC byOrdinal = GetProcAddress(m, MAKEINTRESOURCE(ordinal));
        EXPECT_NE(byOrdinal, nullptr) << ordinal;
        EXPECT_EQ(byOrdinal, GetProcAddress(m, name)) << name;
    }
    // The library's socket, send and htonl are its own; the program still has the C library's.
    for (const char* name : {"socket", "send", "recv", "htonl", "select", "inet_addr"})
        EXPECT_NE(reinterpret_cast<std::uintptr_t>(GetProcAddress(m, name)), HostSymbol(name)) << name;
    EXPECT_TRUE(HostSocketsWork());
    EXPECT_EQ(a.GetServiceA(), -1);

    // The platform's own channel between processes (over the C library's sockets) still works:
    // a whole session with the server runs over it.
    Start();
    SOCKET s = a.socket(AF_INET_, SOCK_STREAM_, 0);
    EXPECT_NE(s, ws::INVALID_SOCKET) << a.WSAGetLastError();
    EXPECT_EQ(a.closesocket(s), 0);
    EXPECT_TRUE(HostSocketsWork());
}

TEST_F(SockBridgeTest, LocalFunctions)
{
    Load();
    struct Case {
        const char* text;
        std::uint32_t hostOrder;  // 0xFFFFFFFF: refused
    };
    const Case cases[] = {
        {"10.1", 0x0A000001},          {"127.0.0.1", 0x7F000001},   {"1.2.3", 0x01020003},
        {"1.2.65535", 0x0102FFFF},     {"1.16777215", 0x01FFFFFF},  {"3232235777", 0xC0A80101},
        {"1.2.3.256", 0xFFFFFFFF},     {"1.16777216", 0xFFFFFFFF},  {"1..2", 0xFFFFFFFF},
        {"1.2.3.4.5", 0xFFFFFFFF},     {"", 0xFFFFFFFF},            {"1.2.3.", 0xFFFFFFFF},
        {"1.2.65536", 0xFFFFFFFF},     {"a.b.c.d", 0xFFFFFFFF},     {"12345678901", 0xFFFFFFFF},
        {"1.2.3.4 ", 0xFFFFFFFF},      {"256.1.1.1", 0xFFFFFFFF},
    };
    for (const Case& c : cases)
        EXPECT_EQ(a.ntohl(a.inet_addr(c.text)), c.hostOrder) << c.text;

    ws::in_addr in{a.inet_addr("192.168.10.254")};
    EXPECT_STREQ(a.inet_ntoa(in), "192.168.10.254");
    EXPECT_EQ(a.htonl(0x11223344), 0x44332211u);
    EXPECT_EQ(a.ntohl(0x44332211), 0x11223344u);
    EXPECT_EQ(a.htons(0x1122), 0x2211);
    EXPECT_EQ(a.ntohs(0x2211), 0x1122);

    ws::fd_set set{};
    set.fd_count = 3;
    set.fd_array[0] = 7;
    set.fd_array[1] = 9;
    set.fd_array[2] = 11;
    EXPECT_TRUE(a.FDIsSet(9, &set));
    EXPECT_FALSE(a.FDIsSet(8, &set));
    set.fd_count = 1000;  // a count past the array is read as the array's size
    EXPECT_TRUE(a.FDIsSet(11, &set));

    // Before start-up: cleanup refuses with 10093 and so does every call.
    EXPECT_EQ(a.WSACleanup(), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10093);
    EXPECT_EQ(a.listen(1, 1), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10093);

    ws::WSADATA data;
    std::memset(&data, 0x55, sizeof data);
    ASSERT_EQ(a.WSAStartup(0x0101, &data), 0);
    EXPECT_EQ(data.wVersion, 0x0101);
    EXPECT_EQ(data.wHighVersion, 0x0101);
    EXPECT_STREQ(data.szSystemStatus, "Version 3.10");
    EXPECT_NE(std::strstr(data.szDescription, "WSA32SRV.DLL"), nullptr);
    EXPECT_EQ(data.iMaxSockets, 20);
    EXPECT_EQ(data.iMaxUdpDg, 20);
    // Started but no server yet: calls other than socket and the lookups fail with 10091.
    EXPECT_EQ(a.listen(1, 1), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10091);
    EXPECT_EQ(a.WSACleanup(), 0);
    EXPECT_EQ(a.WSACleanup(), -1);
}

TEST_F(SockBridgeTest, LoopbackSessionThroughTheBridge)
{
    TempDir dir;
    std::string log = (dir.path() / "blocks.log").string();
    Load(("log:" + log).c_str());
    Start();
    ws::u_short port = 0;
    SOCKET listener = Listener(port);
    SOCKET client = a.socket(AF_INET_, SOCK_STREAM_, 0);
    ASSERT_NE(client, ws::INVALID_SOCKET);
    ws::sockaddr_in to = Loopback(port);
    ASSERT_EQ(a.connect(client, reinterpret_cast<ws::sockaddr*>(&to), sizeof to), 0) << a.WSAGetLastError();

    // accept through the worker (a blocking hook is set).
    g_hookCalls = 0;
    EXPECT_EQ(a.WSASetBlockingHook(CountingHook), nullptr);
    ws::sockaddr_in from{};
    int fromLength = sizeof from;
    SOCKET server = a.accept(listener, reinterpret_cast<ws::sockaddr*>(&from), &fromLength);
    ASSERT_NE(server, ws::INVALID_SOCKET) << a.WSAGetLastError();
    EXPECT_EQ(fromLength, 16);
    EXPECT_EQ(from.sin_addr.s_addr, a.inet_addr("127.0.0.1"));
    EXPECT_EQ(a.WSAUnhookBlockingHook(), 0);

    std::string data(10000, '\0');
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<char>('A' + i * 7 % 26);
    std::size_t sent = 0;
    while (sent < data.size()) {
        int n = a.send(client, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        ASSERT_GT(n, 0) << a.WSAGetLastError();
        EXPECT_LE(n, 4096);
        sent += static_cast<std::size_t>(n);
    }
    // select sees the data waiting.
    ws::fd_set readable{};
    readable.fd_count = 1;
    readable.fd_array[0] = server;
    ws::timeval wait{5, 0};
    EXPECT_EQ(a.select(0, &readable, nullptr, nullptr, &wait), 1);
    EXPECT_TRUE(a.FDIsSet(server, &readable));

    std::string got;
    std::vector<char> buffer(10000);
    while (got.size() < data.size()) {
        int n = a.recv(server, buffer.data(), static_cast<int>(buffer.size()), 0);
        ASSERT_GT(n, 0) << a.WSAGetLastError();
        EXPECT_LE(n, 4096);
        got.append(buffer.data(), static_cast<std::size_t>(n));
    }
    EXPECT_EQ(got, data);

    ws::sockaddr_in peer{};
    int peerLength = sizeof peer;
    EXPECT_EQ(a.getpeername(server, reinterpret_cast<ws::sockaddr*>(&peer), &peerLength), 0);
    EXPECT_EQ(peer.sin_addr.s_addr, a.inet_addr("127.0.0.1"));
    int type = 0, typeLength = sizeof type;
    EXPECT_EQ(a.getsockopt(server, 0xFFFF, 0x1008, reinterpret_cast<char*>(&type), &typeLength), 0);
    EXPECT_EQ(type, SOCK_STREAM_);
    int on = 1;
    EXPECT_EQ(a.setsockopt(server, 6, 1, reinterpret_cast<const char*>(&on), sizeof on), 0);
    ws::u_long waiting = 0;
    EXPECT_EQ(a.ioctlsocket(server, static_cast<long>(0x4004667F), &waiting), 0);
    EXPECT_EQ(waiting, 0u);

    EXPECT_EQ(a.shutdown(client, 1), 0);
    EXPECT_EQ(a.recv(server, buffer.data(), 100, 0), 0);  // the end of the stream
    EXPECT_EQ(a.closesocket(server), 0);
    EXPECT_EQ(a.closesocket(client), 0);
    EXPECT_EQ(a.closesocket(listener), 0);

    // The blocks the server received, by opcode, and the replies the bridge read.
    std::map<std::string, std::size_t> sizes;
    std::vector<std::pair<std::string, std::string>> entries = ReadLog(log);
    ASSERT_FALSE(entries.empty());
    for (const auto& [head, hex] : entries) {
        if (head != "reply") {
            std::size_t size = hex.size() / 2;
            if (head == "18") {  // send: the data and 16 bytes
                EXPECT_TRUE(size == 4096 + 16 || size == 10000 - 2 * 4096 + 16) << size;
            } else {
                sizes[head] = size;
            }
        }
    }
    const std::map<std::string, std::size_t> expected = {
        {"44", 4}, {"22", 12}, {"1", 24}, {"5", 24}, {"12", 8}, {"3", 24}, {"0", 24}, {"17", 792},
        {"15", 12}, {"4", 24}, {"6", 144}, {"20", 32}, {"11", 12}, {"21", 8}, {"2", 4},
    };
    for (const auto& [opcode, size] : expected)
        EXPECT_EQ(sizes[opcode], size) << "opcode " << opcode;
    // The socket block: family, type, protocol.
    std::uint32_t socketBlock[3] = {2, 1, 0};
    bool sawSocket = false;
    for (const auto& [head, hex] : entries)
        sawSocket |= head == "22" && hex == Hex(socketBlock, sizeof socketBlock);
    EXPECT_TRUE(sawSocket);
    // Every recv asked for at most 4096 bytes whatever the buffer (10000 bytes, then 100).
    std::vector<std::string> asked;
    for (const auto& [head, hex] : entries) {
        if (head == "15")
            asked.push_back(hex.substr(8, 8));
    }
    ASSERT_GE(asked.size(), 4u);
    for (std::size_t i = 0; i + 1 < asked.size(); ++i)
        EXPECT_EQ(asked[i], Hex("\x00\x10\x00\x00", 4));
    EXPECT_EQ(asked.back(), Hex("\x64\x00\x00\x00", 4));
    // The accept reply: the new socket in its first word, the peer's address after it.
    bool sawAcceptReply = false;
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        if (entries[i].first == "0" && entries[i + 1].first == "reply") {
            std::uint32_t word = server;
            EXPECT_EQ(entries[i + 1].second.substr(0, 8), Hex(&word, 4));
            EXPECT_EQ(entries[i + 1].second.substr(8, 32), Hex(&from, 16));
            sawAcceptReply = true;
        }
    EXPECT_TRUE(sawAcceptReply);
}

TEST_F(SockBridgeTest, BlockingHookRunsWhileTheWorkerWaits)
{
    Load();
    Start();
    ws::u_short port = 0;
    SOCKET listener = Listener(port);
    g_hookCalls = 0;
    ASSERT_EQ(a.WSASetBlockingHook(CountingHook), nullptr);
    // A peer of the host connects only after a while: accept blocks in the server meanwhile.
    HostSendAfter(port, 300, "hello");
    SOCKET server = a.accept(listener, nullptr, nullptr);
    ASSERT_NE(server, ws::INVALID_SOCKET) << a.WSAGetLastError();
    EXPECT_GT(g_hookCalls.load(), 0);
    // While a call blocks the hook cannot change.
    char text[16] = {};
    int n = a.recv(server, text, sizeof text, 0);
    EXPECT_EQ(std::string(text, n > 0 ? static_cast<std::size_t>(n) : 0), "hello");
    EXPECT_EQ(a.WSASetBlockingHook(nullptr), CountingHook);
    a.closesocket(server);
    a.closesocket(listener);
}

TEST_F(SockBridgeTest, ServerErrorsAndLookups)
{
    Load();
    Start();
    SOCKET s = a.socket(AF_INET_, SOCK_STREAM_, 0);
    ASSERT_NE(s, ws::INVALID_SOCKET);
    // An answer with 0xFFFF in the high word: the call fails with its low word.
    EXPECT_EQ(a.closesocket(123456), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10038);
    EXPECT_EQ(a.socket(99, SOCK_STREAM_, 0), ws::INVALID_SOCKET);
    EXPECT_EQ(a.WSAGetLastError(), 10047);
    ws::u_short port = 0;
    SOCKET listener = Listener(port);
    ws::sockaddr_in taken = Loopback(port);
    EXPECT_EQ(a.bind(s, reinterpret_cast<ws::sockaddr*>(&taken), sizeof taken), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10048);
    // A success clears the error.
    EXPECT_EQ(a.closesocket(s), 0);
    EXPECT_EQ(a.WSAGetLastError(), 0);

    ws::hostent* host = a.gethostbyname("localhost");
    ASSERT_NE(host, nullptr);
    EXPECT_STREQ(host->h_name, "localhost");
    EXPECT_EQ(host->h_addrtype, AF_INET_);
    EXPECT_EQ(host->h_length, 4);
    EXPECT_EQ(host->h_aliases[0], nullptr);
    EXPECT_EQ(*reinterpret_cast<std::uint32_t*>(host->h_addr_list[0]), a.inet_addr("127.0.0.1"));
    EXPECT_EQ(host->h_addr_list[1], nullptr);
    EXPECT_EQ(a.gethostbyname("nowhere.invalid"), nullptr);
    EXPECT_EQ(a.WSAGetLastError(), 11001);
    std::uint32_t loopback = a.inet_addr("127.0.0.1");
    host = a.gethostbyaddr(reinterpret_cast<const char*>(&loopback), 4, AF_INET_);
    ASSERT_NE(host, nullptr);
    EXPECT_STREQ(host->h_name, "localhost");
    ws::protoent* proto = a.getprotobyname("tcp");
    ASSERT_NE(proto, nullptr);
    EXPECT_EQ(proto->p_proto, 6);
    proto = a.getprotobynumber(17);
    ASSERT_NE(proto, nullptr);
    EXPECT_STREQ(proto->p_name, "udp");
    char name[128] = {};
    EXPECT_EQ(a.gethostname(name, sizeof name), 0);
    EXPECT_GT(std::strlen(name), 0u);
    EXPECT_EQ(a.gethostname(name, 1), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10014);
    a.closesocket(listener);
}

TEST_F(SockBridgeTest, NetworkDownForgetsTheServer)
{
    Load("netdown:12");
    Start();
    SOCKET s = a.socket(AF_INET_, SOCK_STREAM_, 0);
    ASSERT_NE(s, ws::INVALID_SOCKET);
    EXPECT_EQ(a.listen(s, 1), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10091);  // the server is forgotten: missing from now on
    EXPECT_EQ(a.closesocket(s), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10091);
}

TEST_F(SockBridgeTest, ServerThatCannotBeFoundOrServed)
{
    struct Case {
        const char* fault;
        const char* what;
    };
    for (const Case& c : {Case{"notitle", "no window to find"}, Case{"nodde", "no DDE service"}}) {
        Load(c.fault);
        Start();
        EXPECT_EQ(a.socket(AF_INET_, SOCK_STREAM_, 0), ws::INVALID_SOCKET) << c.what;
        EXPECT_EQ(a.WSAGetLastError(), 10091) << c.what;
        EXPECT_EQ(a.gethostbyname("localhost"), nullptr) << c.what;
        EXPECT_EQ(a.WSAGetLastError(), 10091) << c.what;
        FreeLibrary(m);
        m = nullptr;
    }
    // A reply that cannot be fetched fails the call with 10091; the process goes on.
    Load("noreply");
    Start();
    SOCKET s = a.socket(AF_INET_, SOCK_STREAM_, 0);
    ASSERT_NE(s, ws::INVALID_SOCKET);
    ws::sockaddr_in in{};
    int length = sizeof in;
    EXPECT_EQ(a.getsockname(s, reinterpret_cast<ws::sockaddr*>(&in), &length), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10091);
    EXPECT_EQ(a.closesocket(s), 0);
}

TEST_F(SockBridgeTest, RequestThatWaitsTooLongForTheSemaphoreIsNotSent)
{
    TempDir dir;
    std::string log = (dir.path() / "blocks.log").string();
    Load(("log:" + log).c_str());
    Start();
    ws::u_short port = 0;
    SOCKET listener = Listener(port);
    // accept blocks in the server (nobody connects for 6 s) and holds the semaphore.
    std::thread blocked([&] { a.accept(listener, nullptr, nullptr); });
    Sleep(300);
    HostSendAfter(port, 6000, "x");
    SOCKET other = 77;
    EXPECT_EQ(a.shutdown(other, 0), -1);
    EXPECT_EQ(static_cast<int>(GetLastError()), 10036);
    blocked.join();
    for (const auto& entry : ReadLog(log))
        EXPECT_NE(entry.first, "21") << "the timed-out request was sent";
    a.closesocket(listener);
}

TEST_F(SockBridgeTest, RepliesAsDataHandlesOnWindows95)
{
    setenv("VL_SYSTEM_VERSION", "95", 1);
    host::SetReportedSystem(host::ReportedSystem::Windows95);
    Load();
    Start();
    ws::hostent* host = a.gethostbyname("localhost");
    ASSERT_NE(host, nullptr) << a.WSAGetLastError();
    EXPECT_STREQ(host->h_name, "localhost");
    ws::u_short port = 0;
    SOCKET listener = Listener(port);  // getsockname's reply, fetched as a data handle
    EXPECT_NE(port, 0);
    a.closesocket(listener);
}

TEST_F(SockBridgeTest, AsynchronousLookupPostsItsAnswer)
{
    Load();
    Start();
    HWND window = CreateWindowEx(0, "STATIC", "", 0, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT message = WM_USER + 5;
    char small[512];
    HANDLE first = a.WSAAsyncGetHostByName(window, message, "localhost", small, sizeof small);
    alignas(8) char big[1024];
    HANDLE second = a.WSAAsyncGetHostByName(window, message, "localhost", big, sizeof big);
    EXPECT_EQ(reinterpret_cast<LONG_PTR>(second), reinterpret_cast<LONG_PTR>(first) + 1);
    MSG msg;
    ASSERT_TRUE(PeekMessage(&msg, window, message, message, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(reinterpret_cast<LONG_PTR>(first)));
    EXPECT_EQ(HIWORD(msg.lParam), 10055);
    EXPECT_EQ(LOWORD(msg.lParam), 512);
    ASSERT_TRUE(PeekMessage(&msg, window, message, message, PM_REMOVE));
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(reinterpret_cast<LONG_PTR>(second)));
    EXPECT_EQ(HIWORD(msg.lParam), 0);
    auto* host = reinterpret_cast<ws::hostent*>(big);
    EXPECT_STREQ(host->h_name, "localhost");
    EXPECT_GE(host->h_name, big);
    EXPECT_LT(host->h_name, big + sizeof big);
    EXPECT_EQ(*reinterpret_cast<std::uint32_t*>(host->h_addr_list[0]), a.inet_addr("127.0.0.1"));
    DestroyWindow(window);
}

TEST_F(SockBridgeTest, PerrorWritesTheMessageToStandardError)
{
    Load();
    TempDir dir;
    std::string file = (dir.path() / "stderr.txt").string();
    int saved = dup(2);
    int out = open(file.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    dup2(out, 2);
    SetLastError(10061);
    a.s_perror("connect");
    SetLastError(12345);
    a.s_perror("other");
    dup2(saved, 2);
    close(saved);
    close(out);
    std::ifstream in(file);
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(text, "connect: Connection refused\nother: error 12345\n");
}

TEST_F(SockBridgeTest, AsyncSelectPostsReadinessToTheWindow)
{
    Load();
    Start();
    ws::u_short port = 0;
    SOCKET listener = Listener(port);
    // A top-level window: the server's process posts to it.
    HWND window = CreateWindowEx(0, "STATIC", "async", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
    ASSERT_NE(window, nullptr);
    const UINT message = WM_USER + 9;
    EXPECT_EQ(a.WSAAsyncSelect(listener, window, message, 0x08 /* FD_ACCEPT */), 0) << a.WSAGetLastError();
    // A window handle that does not fit the block's 32-bit field is refused.
    EXPECT_EQ(a.WSAAsyncSelect(listener, reinterpret_cast<HWND>(0x123456789ull), message, 0x08), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10022);

    HostSendAfter(port, 0, "ping");
    MSG msg{};
    bool posted = false;
    for (int i = 0; i < 200 && !posted; ++i) {
        posted = PeekMessage(&msg, window, message, message, PM_REMOVE);
        if (!posted)
            Sleep(10);
    }
    ASSERT_TRUE(posted);
    EXPECT_EQ(msg.wParam, static_cast<WPARAM>(listener));
    EXPECT_EQ(LOWORD(msg.lParam), 0x08);
    EXPECT_EQ(HIWORD(msg.lParam), 0);
    // The listener is non-blocking now: accept takes the waiting connection.
    SOCKET server = a.accept(listener, nullptr, nullptr);
    EXPECT_NE(server, ws::INVALID_SOCKET) << a.WSAGetLastError();
    a.closesocket(server);
    a.closesocket(listener);
    DestroyWindow(window);
}

TEST_F(SockBridgeTest, RecvTakesNoMoreThanTheReplyHolds)
{
    Load("bigcount");
    Start();
    ws::u_short port = 0;
    SOCKET listener = Listener(port);
    HostSendAfter(port, 0, "12345");
    SOCKET server = a.accept(listener, nullptr, nullptr);
    ASSERT_NE(server, ws::INVALID_SOCKET);
    Sleep(200);
    std::vector<char> buffer(8192, '#');
    // The server claims 1005 bytes; only the 5 it sent are taken, and nothing past them is written.
    int n = a.recv(server, buffer.data(), 3, 0);
    EXPECT_EQ(n, 3);
    EXPECT_EQ(std::string(buffer.data(), 4), "123#");
    std::fill(buffer.begin(), buffer.end(), '#');
    n = a.recv(server, buffer.data(), static_cast<int>(buffer.size()), 0);
    EXPECT_EQ(n, 2);
    EXPECT_EQ(std::string(buffer.data(), 3), "45#");
    a.closesocket(server);
    a.closesocket(listener);
}

TEST_F(SockBridgeTest, BlockLayoutsOfTheLookupsDatagramsAndControlCalls)
{
    TempDir dir;
    std::string log = (dir.path() / "blocks.log").string();
    Load(("log:" + log).c_str());
    Start();
    ws::hostent* host = a.gethostbyname("localhost");
    ASSERT_NE(host, nullptr);
    std::uint32_t loopback = a.inet_addr("127.0.0.1");
    ASSERT_NE(a.gethostbyaddr(reinterpret_cast<const char*>(&loopback), 4, AF_INET_), nullptr);
    ws::protoent* proto = a.getprotobyname("udp");
    ASSERT_NE(proto, nullptr);
    EXPECT_EQ(proto->p_proto, 17);
    ASSERT_NE(a.getprotobynumber(6), nullptr);
    a.getservbyname("echo", "tcp");  // the host's services file may lack it: only the block counts
    a.getservbyport(a.htons(7), "tcp");
    char name[128];
    ASSERT_EQ(a.gethostname(name, sizeof name), 0);

    // A datagram to itself.
    SOCKET s = a.socket(AF_INET_, 2 /* SOCK_DGRAM */, 0);
    ASSERT_NE(s, ws::INVALID_SOCKET);
    ws::sockaddr_in self = Loopback(0);
    ASSERT_EQ(a.bind(s, reinterpret_cast<ws::sockaddr*>(&self), sizeof self), 0);
    int length = sizeof self;
    ASSERT_EQ(a.getsockname(s, reinterpret_cast<ws::sockaddr*>(&self), &length), 0);
    EXPECT_EQ(a.sendto(s, "dgram", 5, 0, reinterpret_cast<ws::sockaddr*>(&self), sizeof self), 5);
    char text[16] = {};
    ws::sockaddr_in from{};
    int fromLength = sizeof from;
    EXPECT_EQ(a.recvfrom(s, text, sizeof text, 0, reinterpret_cast<ws::sockaddr*>(&from), &fromLength), 5);
    EXPECT_STREQ(text, "dgram");
    EXPECT_EQ(fromLength, 16);
    EXPECT_EQ(from.sin_port, self.sin_port);
    // A datagram elsewhere than the loopback network is refused by the stand-in.
    ws::sockaddr_in away = Loopback(9);
    away.sin_addr.s_addr = a.inet_addr("192.0.2.1");
    EXPECT_EQ(a.sendto(s, "x", 1, 0, reinterpret_cast<ws::sockaddr*>(&away), sizeof away), -1);
    EXPECT_EQ(a.WSAGetLastError(), 10051);

    a.WSASetLastError(10061);
    EXPECT_EQ(a.WSAGetLastError(), 10061);
    EXPECT_EQ(a.WSACancelBlockingCall(), 0);
    EXPECT_FALSE(a.WSAIsBlocking());
    EXPECT_EQ(a.closesocket(s), 0);

    std::vector<std::pair<std::string, std::string>> entries = ReadLog(log);
    std::map<std::string, std::size_t> request, reply;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (entries[i].first == "reply")
            continue;
        request[entries[i].first] = entries[i].second.size() / 2;
        if (i + 1 < entries.size() && entries[i + 1].first == "reply")
            reply[entries[i].first] = entries[i + 1].second.size() / 2;
    }
    const std::map<std::string, std::size_t> requests = {
        {"23", 188}, {"24", 268}, {"25", 258}, {"26", 4},  {"27", 290}, {"28", 216}, {"29", 4}, {"16", 16},
        {"19", 1 + 36}, {"40", 0}, {"41", 4}, {"42", 0}, {"43", 0}, {"44", 4},
    };
    for (const auto& [opcode, size] : requests)
        EXPECT_EQ(request[opcode], size) << "request " << opcode;
    const std::map<std::string, std::size_t> replies = {
        {"23", 188}, {"24", 268}, {"25", 258}, {"26", 130}, {"29", 132}, {"16", 24 + 5},
    };
    for (const auto& [opcode, size] : replies)
        EXPECT_EQ(reply[opcode], size) << "reply " << opcode;

    // What the bridge read is what the server served: the name at byte 128 of the host reply,
    // the address at byte 260.
    for (std::size_t i = 0; i + 1 < entries.size(); ++i)
        if (entries[i].first == "24") {
            const std::string& hex = entries[i + 1].second;
            EXPECT_EQ(hex.substr(2 * 128, 2 * 10), Hex("localhost", 10));
            EXPECT_EQ(hex.substr(2 * 260, 8), Hex(&loopback, 4));
            EXPECT_EQ(hex.substr(2 * 256, 8), Hex("\x02\x00\x04\x00", 4));
        }
}
