// The Windows Sockets exports. Calls of the server's request table lay out their blocks and read
// the replies; the byte-order functions, the address parser, the asynchronous lookups and the
// start-up are local. Exports whose names the C library also has are functions of the namespace
// `ws` that carry the plain name only as their symbol.
#include "sockbridge/SockBridge.h"
#include "sockbridge/SockLocal.h"

#include <cstdio>
#include <cstring>


using ws::SOCKET;

namespace {

void Put(char* block, std::size_t at, std::uint32_t value)
{
    std::memcpy(block + at, &value, sizeof value);
}

std::uint32_t Get(const char* block, std::size_t at)
{
    std::uint32_t value;
    std::memcpy(&value, block + at, sizeof value);
    return value;
}

std::uint16_t Get16(const char* block, std::size_t at)
{
    std::uint16_t value;
    std::memcpy(&value, block + at, sizeof value);
    return value;
}

// Calls other than socket and the look-ups never start the server.
bool Running()
{
    if (SockBridge().ServerMissing()) {
        SockBridge().FailMissing();
        return false;
    }
    return true;
}

bool Started()
{
    if (SockBridge().ServerMissing() && !SockBridge().EnsureServer()) {
        SockBridge().FailMissing();
        return false;
    }
    return true;
}

DWORD DataLength(int len)
{
    return len > 4095 ? 4096 : static_cast<DWORD>(len);
}

// The address calls: socket, address (16 bytes), address length (at most 16).
void LayAddress(char* block, SOCKET s, const ws::sockaddr* addr, int len)
{
    std::memset(block, 0, 24);
    Put(block, 0, s);
    int n = len < 0 ? 0 : len > 16 ? 16 : len;
    if (addr != NULL)
        std::memcpy(block + 4, addr, static_cast<std::size_t>(n));
    Put(block, 20, static_cast<std::uint32_t>(n));
}

// Copies a reply's address back into the caller's (at most *addrlen bytes).
void GiveAddress(const char* reply, ws::sockaddr* addr, int* addrlen)
{
    if (addr == NULL || addrlen == NULL)
        return;
    int n = static_cast<int>(Get(reply, 20));
    n = n < 0 ? 0 : n > 16 ? 16 : n;
    if (n > *addrlen)
        n = *addrlen < 0 ? 0 : *addrlen;
    std::memcpy(addr, reply + 4, static_cast<std::size_t>(n));
    *addrlen = n;
}

// The static results of the database functions, shared by every thread.
struct HostResult {
    char reply[268];
    char* addresses[2];
    char* aliases[1];
    ws::hostent host;
};
HostResult g_host;

struct ProtoResult {
    char reply[258];
    char* aliases[1];
    ws::protoent proto;
};
ProtoResult g_proto;

struct ServResult {
    char reply[290];
    char* aliases[1];
    ws::servent serv;
};
ServResult g_serv;

ws::hostent* HostFrom(std::size_t nameAt, std::size_t typeAt)
{
    HostResult& r = g_host;
    r.reply[nameAt + 127] = '\0';
    r.host.h_name = r.reply + nameAt;
    r.aliases[0] = NULL;
    r.host.h_aliases = r.aliases;
    r.host.h_addrtype = static_cast<short>(Get16(r.reply, typeAt));
    short length = static_cast<short>(Get16(r.reply, typeAt + 2));
    r.host.h_length = length < 0 ? 0 : length > 8 ? 8 : length;
    r.addresses[0] = r.reply + typeAt + 4;
    r.addresses[1] = NULL;
    r.host.h_addr_list = r.addresses;
    return &r.host;
}

ws::protoent* ProtoFrom(std::size_t at)
{
    ProtoResult& r = g_proto;
    r.reply[at + 127] = '\0';
    r.proto.p_name = r.reply + at;
    r.aliases[0] = NULL;
    r.proto.p_aliases = r.aliases;
    r.proto.p_proto = static_cast<short>(Get16(r.reply, at + 128));
    return &r.proto;
}

ws::servent* ServFrom(std::size_t at, std::size_t protoRoom)
{
    ServResult& r = g_serv;
    r.reply[at + 79] = '\0';
    r.reply[at + 82 + protoRoom - 1] = '\0';
    r.serv.s_name = r.reply + at;
    r.aliases[0] = NULL;
    r.serv.s_aliases = r.aliases;
    r.serv.s_port = static_cast<short>(Get16(r.reply, at + 80));
    r.serv.s_proto = r.reply + at + 82;
    return &r.serv;
}

void CopyText(char* block, std::size_t room, const char* text)
{
    if (text != NULL)
        strncpy(block, text, room - 1);
}

}  // namespace

namespace ws {

SOCKET socket(int af, int type, int protocol) WS_SYMBOL("socket");
int bind(SOCKET s, const sockaddr* addr, int namelen) WS_SYMBOL("bind");
int closesocket(SOCKET s) WS_SYMBOL("closesocket");
int connect(SOCKET s, const sockaddr* name, int namelen) WS_SYMBOL("connect");
SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen) WS_SYMBOL("accept");
int getpeername(SOCKET s, sockaddr* name, int* namelen) WS_SYMBOL("getpeername");
int getsockname(SOCKET s, sockaddr* name, int* namelen) WS_SYMBOL("getsockname");
int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen) WS_SYMBOL("getsockopt");
int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen) WS_SYMBOL("setsockopt");
int ioctlsocket(SOCKET s, long cmd, u_long* argp) WS_SYMBOL("ioctlsocket");
int listen(SOCKET s, int backlog) WS_SYMBOL("listen");
int recv(SOCKET s, char* buf, int len, int flags) WS_SYMBOL("recv");
int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromlen) WS_SYMBOL("recvfrom");
int select(int nfds, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout)
    WS_SYMBOL("select");
int send(SOCKET s, const char* buf, int len, int flags) WS_SYMBOL("send");
int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen) WS_SYMBOL("sendto");
int shutdown(SOCKET s, int how) WS_SYMBOL("shutdown");
hostent* gethostbyaddr(const char* addr, int len, int type) WS_SYMBOL("gethostbyaddr");
hostent* gethostbyname(const char* name) WS_SYMBOL("gethostbyname");
hostent* getnetbyname(const char* name) WS_SYMBOL("getnetbyname");
protoent* getprotobyname(const char* name) WS_SYMBOL("getprotobyname");
protoent* getprotobynumber(int number) WS_SYMBOL("getprotobynumber");
servent* getservbyname(const char* name, const char* proto) WS_SYMBOL("getservbyname");
servent* getservbyport(int port, const char* proto) WS_SYMBOL("getservbyport");
int gethostname(char* name, int namelen) WS_SYMBOL("gethostname");

SOCKET socket(int af, int type, int protocol)
{
    if (!Started())
        return INVALID_SOCKET;
    std::uint32_t block[3] = {static_cast<std::uint32_t>(af), static_cast<std::uint32_t>(type),
                              static_cast<std::uint32_t>(protocol)};
    LONG result = SockBridge().Transact(kOpSocket, block, sizeof block);
    return result == -1 ? INVALID_SOCKET : static_cast<SOCKET>(result);
}

int bind(SOCKET s, const sockaddr* addr, int namelen)
{
    if (!Running())
        return SOCKET_ERROR;
    char block[24];
    LayAddress(block, s, addr, namelen);
    return SockBridge().Transact(kOpBind, block, sizeof block) == -1 ? SOCKET_ERROR : 0;
}

int closesocket(SOCKET s)
{
    if (!Running())
        return SOCKET_ERROR;
    std::uint32_t block = s;
    return SockBridge().Transact(kOpCloseSocket, &block, sizeof block) == -1 ? SOCKET_ERROR : 0;
}

int connect(SOCKET s, const sockaddr* name, int namelen)
{
    if (!Running())
        return SOCKET_ERROR;
    char block[24];
    LayAddress(block, s, name, namelen);
    return SockBridge().Blocking(kOpConnect, block, sizeof block) == -1 ? SOCKET_ERROR : 0;
}

SOCKET accept(SOCKET s, sockaddr* addr, int* addrlen)
{
    if (!Running())
        return INVALID_SOCKET;
    char block[24], reply[24] = {};
    LayAddress(block, s, NULL, addrlen != NULL ? *addrlen : 0);
    if (SockBridge().Call(kOpAccept, block, sizeof block, reply, sizeof reply, TRUE) < 24) {
        if (GetLastError() == 0)
            SetLastError(WSASYSNOTREADY);
        return INVALID_SOCKET;
    }
    GiveAddress(reply, addr, addrlen);
    return Get(reply, 0);
}

static int NameCall(int opcode, SOCKET s, sockaddr* name, int* namelen)
{
    if (!Running())
        return SOCKET_ERROR;
    if (name == NULL || namelen == NULL) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    char block[24], reply[24] = {};
    LayAddress(block, s, NULL, *namelen);
    if (SockBridge().Call(opcode, block, sizeof block, reply, sizeof reply, FALSE) < 24)
        return SOCKET_ERROR;
    GiveAddress(reply, name, namelen);
    return 0;
}

int getpeername(SOCKET s, sockaddr* name, int* namelen) { return NameCall(kOpGetPeerName, s, name, namelen); }
int getsockname(SOCKET s, sockaddr* name, int* namelen) { return NameCall(kOpGetSockName, s, name, namelen); }

int getsockopt(SOCKET s, int level, int optname, char* optval, int* optlen)
{
    if (!Running())
        return SOCKET_ERROR;
    if (optval == NULL || optlen == NULL || *optlen < 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    char block[144] = {}, reply[144] = {};
    Put(block, 0, s);
    Put(block, 4, static_cast<std::uint32_t>(level));
    Put(block, 8, static_cast<std::uint32_t>(optname));
    Put(block, 140, static_cast<std::uint32_t>(*optlen > 128 ? 128 : *optlen));
    if (SockBridge().Call(kOpGetSockOpt, block, sizeof block, reply, sizeof reply, FALSE) < 144)
        return SOCKET_ERROR;
    int n = static_cast<int>(Get(reply, 140));
    n = n < 0 ? 0 : n > 128 ? 128 : n;
    if (n > *optlen)
        n = *optlen;
    std::memcpy(optval, reply + 12, static_cast<std::size_t>(n));
    *optlen = n;
    return 0;
}

int setsockopt(SOCKET s, int level, int optname, const char* optval, int optlen)
{
    if (!Running())
        return SOCKET_ERROR;
    if (optval == NULL && optlen > 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    char block[32] = {};
    int n = optlen < 0 ? 0 : optlen > 16 ? 16 : optlen;
    Put(block, 0, s);
    Put(block, 4, static_cast<std::uint32_t>(level));
    Put(block, 8, static_cast<std::uint32_t>(optname));
    if (n > 0)
        std::memcpy(block + 12, optval, static_cast<std::size_t>(n));
    Put(block, 28, static_cast<std::uint32_t>(n));
    return SockBridge().Transact(kOpSetSockOpt, block, sizeof block) == -1 ? SOCKET_ERROR : 0;
}

int ioctlsocket(SOCKET s, long cmd, u_long* argp)
{
    if (!Running())
        return SOCKET_ERROR;
    if (argp == NULL) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    char block[12], reply[12] = {};
    Put(block, 0, s);
    Put(block, 4, static_cast<std::uint32_t>(cmd));
    Put(block, 8, static_cast<std::uint32_t>(*argp));
    if (SockBridge().Call(kOpIoctlSocket, block, sizeof block, reply, sizeof reply, FALSE) < 12)
        return SOCKET_ERROR;
    *argp = Get(reply, 8);
    return 0;
}

int listen(SOCKET s, int backlog)
{
    if (!Running())
        return SOCKET_ERROR;
    std::uint32_t block[2] = {s, static_cast<std::uint32_t>(backlog)};
    return SockBridge().Transact(kOpListen, block, sizeof block) == -1 ? SOCKET_ERROR : 0;
}

int recv(SOCKET s, char* buf, int len, int flags)
{
    if (!Running())
        return SOCKET_ERROR;
    if ((buf == NULL && len > 0) || len < 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    std::uint32_t block[3] = {s, DataLength(len), static_cast<std::uint32_t>(flags)};
    static thread_local char reply[4 + 4096];
    LONG copied = SockBridge().Call(kOpRecv, block, sizeof block, reply, sizeof reply, TRUE);
    if (copied < 4)
        return SOCKET_ERROR;
    // At most what was asked for and what the reply holds, whatever count it claims.
    std::uint32_t count = Get(reply, 0);
    std::uint32_t n = count < block[1] ? count : block[1];
    if (n > static_cast<std::uint32_t>(copied - 4))
        n = static_cast<std::uint32_t>(copied - 4);
    std::memcpy(buf, reply + 4, n);
    return static_cast<int>(n);
}

int recvfrom(SOCKET s, char* buf, int len, int flags, sockaddr* from, int* fromlen)
{
    if (!Running())
        return SOCKET_ERROR;
    if ((buf == NULL && len > 0) || len < 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    int room = fromlen != NULL ? (*fromlen > 16 ? 16 : *fromlen) : 0;
    std::uint32_t block[4] = {s, DataLength(len), static_cast<std::uint32_t>(flags),
                              static_cast<std::uint32_t>(room < 0 ? 0 : room)};
    static thread_local char reply[24 + 4096];
    LONG copied = SockBridge().Call(kOpRecvFrom, block, sizeof block, reply, sizeof reply, TRUE);
    if (copied < 24)
        return SOCKET_ERROR;
    std::uint32_t count = Get(reply, 0);
    std::uint32_t n = count < block[1] ? count : block[1];
    if (n > static_cast<std::uint32_t>(copied - 24))
        n = static_cast<std::uint32_t>(copied - 24);
    std::memcpy(buf, reply + 24, n);
    GiveAddress(reply, from, fromlen);
    return static_cast<int>(n);
}

int select(int, fd_set* readfds, fd_set* writefds, fd_set* exceptfds, const timeval* timeout)
{
    if (!Running())
        return SOCKET_ERROR;
    static thread_local char block[792];
    static thread_local char reply[792];
    std::memset(block, 0, sizeof block);
    fd_set* sets[3] = {readfds, writefds, exceptfds};
    for (int i = 0; i < 3; ++i) {
        if (sets[i] == NULL)
            continue;
        block[i] = 1;
        std::uint32_t count = sets[i]->fd_count & 0xFFFF;
        if (count > FD_SETSIZE)
            count = FD_SETSIZE;
        Put(block, 4 + 260 * static_cast<std::size_t>(i), count);
        std::memcpy(block + 8 + 260 * i, sets[i]->fd_array, count * sizeof(SOCKET));
    }
    if (timeout != NULL) {
        block[3] = 1;
        std::memcpy(block + 784, timeout, 8);
    }
    if (SockBridge().Call(kOpSelect, block, sizeof block, reply, sizeof reply, TRUE) < 792)
        return SOCKET_ERROR;
    for (int i = 0; i < 3; ++i) {
        if (sets[i] == NULL)
            continue;
        std::uint32_t count = Get(reply, 4 + 260 * static_cast<std::size_t>(i));
        if (count > FD_SETSIZE)
            count = FD_SETSIZE;
        sets[i]->fd_count = count;
        std::memcpy(sets[i]->fd_array, reply + 8 + 260 * i, count * sizeof(SOCKET));
    }
    return static_cast<int>(Get(reply, 0));
}

int send(SOCKET s, const char* buf, int len, int flags)
{
    if (!Running())
        return SOCKET_ERROR;
    if ((buf == NULL && len > 0) || len < 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    DWORD n = DataLength(len);
    static thread_local char block[4096 + 16];
    std::memset(block, 0, n + 16);
    Put(block, 0, s);
    Put(block, 4, n);
    Put(block, 8, static_cast<std::uint32_t>(flags));
    std::memcpy(block + 12, buf, n);
    LONG result = SockBridge().Blocking(kOpSend, block, n + 16);
    return result == -1 ? SOCKET_ERROR : static_cast<int>(result);
}

int sendto(SOCKET s, const char* buf, int len, int flags, const sockaddr* to, int tolen)
{
    if (!Running())
        return SOCKET_ERROR;
    if ((buf == NULL && len > 0) || len < 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    DWORD n = DataLength(len);
    static thread_local char block[4096 + 36];
    std::memset(block, 0, n + 36);
    Put(block, 0, s);
    Put(block, 4, n);
    Put(block, 8, static_cast<std::uint32_t>(flags));
    int alen = tolen < 0 ? 0 : tolen > 16 ? 16 : tolen;
    if (to != NULL)
        std::memcpy(block + 12, to, static_cast<std::size_t>(alen));
    Put(block, 28, static_cast<std::uint32_t>(alen));
    std::memcpy(block + 32, buf, n);
    LONG result = SockBridge().Blocking(kOpSendTo, block, n + 36);
    return result == -1 ? SOCKET_ERROR : static_cast<int>(result);
}

int shutdown(SOCKET s, int how)
{
    if (!Running())
        return SOCKET_ERROR;
    std::uint32_t block[2] = {s, static_cast<std::uint32_t>(how)};
    return SockBridge().Transact(kOpShutdown, block, sizeof block) == -1 ? SOCKET_ERROR : 0;
}

hostent* gethostbyaddr(const char* addr, int len, int type)
{
    if (!Started())
        return NULL;
    if (addr == NULL || len < 0 || len > 40) {
        SetLastError(WSAEFAULT);
        return NULL;
    }
    char block[188] = {};
    std::memcpy(block, addr, static_cast<std::size_t>(len));
    Put(block, 40, static_cast<std::uint32_t>(len));
    Put(block, 44, static_cast<std::uint32_t>(type));
    char reply[188] = {};
    if (SockBridge().Call(kOpGetHostByAddr, block, sizeof block, reply, sizeof reply, TRUE) < 188)
        return NULL;
    std::memset(g_host.reply, 0, sizeof g_host.reply);
    std::memcpy(g_host.reply, reply, sizeof reply);
    return HostFrom(48, 176);
}

hostent* gethostbyname(const char* name)
{
    if (!Started())
        return NULL;
    if (name == NULL) {
        SetLastError(WSAEFAULT);
        return NULL;
    }
    char block[268] = {};
    CopyText(block, 128, name);
    char reply[268] = {};
    if (SockBridge().Call(kOpGetHostByName, block, sizeof block, reply, sizeof reply, TRUE) < 268)
        return NULL;
    std::memcpy(g_host.reply, reply, sizeof reply);
    return HostFrom(128, 256);
}

hostent* getnetbyname(const char* name) { return gethostbyname(name); }

protoent* getprotobyname(const char* name)
{
    if (!Started())
        return NULL;
    if (name == NULL) {
        SetLastError(WSAEFAULT);
        return NULL;
    }
    char block[258] = {}, reply[258] = {};
    CopyText(block, 128, name);
    if (SockBridge().Call(kOpGetProtoByName, block, sizeof block, reply, sizeof reply, TRUE) < 258)
        return NULL;
    std::memcpy(g_proto.reply, reply, sizeof reply);
    return ProtoFrom(128);
}

protoent* getprotobynumber(int number)
{
    if (!Started())
        return NULL;
    std::uint32_t block = static_cast<std::uint32_t>(number);
    char reply[130] = {};
    if (SockBridge().Call(kOpGetProtoByNumber, &block, sizeof block, reply, sizeof reply, TRUE) < 130)
        return NULL;
    std::memset(g_proto.reply, 0, sizeof g_proto.reply);
    std::memcpy(g_proto.reply, reply, sizeof reply);
    return ProtoFrom(0);
}

servent* getservbyname(const char* name, const char* proto)
{
    if (!Started())
        return NULL;
    if (name == NULL) {
        SetLastError(WSAEFAULT);
        return NULL;
    }
    char block[290] = {}, reply[290] = {};
    CopyText(block, 80, name);
    CopyText(block + 80, 80, proto);
    if (SockBridge().Call(kOpGetServByName, block, sizeof block, reply, sizeof reply, TRUE) < 290)
        return NULL;
    std::memcpy(g_serv.reply, reply, sizeof reply);
    return ServFrom(160, 48);
}

servent* getservbyport(int port, const char* proto)
{
    if (!Started())
        return NULL;
    char block[216] = {}, reply[216] = {};
    Put(block, 0, static_cast<std::uint32_t>(port));
    CopyText(block + 4, 80, proto);
    if (SockBridge().Call(kOpGetServByPort, block, sizeof block, reply, sizeof reply, TRUE) < 216)
        return NULL;
    std::memset(g_serv.reply, 0, sizeof g_serv.reply);
    std::memcpy(g_serv.reply, reply, sizeof reply);
    return ServFrom(84, 50);
}

int gethostname(char* name, int namelen)
{
    if (!Running())
        return SOCKET_ERROR;
    if (name == NULL || namelen <= 0) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    std::uint32_t block = static_cast<std::uint32_t>(namelen > 128 ? 128 : namelen);
    char reply[132] = {};
    if (SockBridge().Call(kOpGetHostName, &block, sizeof block, reply, sizeof reply, FALSE) < 5)
        return SOCKET_ERROR;
    std::uint32_t length = Get(reply, 0);
    if (length > 127 || length + 1 > static_cast<std::uint32_t>(namelen)) {
        SetLastError(WSAEFAULT);
        return SOCKET_ERROR;
    }
    std::memcpy(name, reply + 4, length);
    name[length] = '\0';
    return 0;
}

}  // namespace ws

// ---- Calls of the WSA family

SOCKBRIDGE_API int WSAAsyncSelect(SOCKET s, HWND hWnd, UINT wMsg, long lEvent)
{
    if (!Running())
        return ws::SOCKET_ERROR;
    // The window travels in a 32-bit field.
    if (reinterpret_cast<ULONG_PTR>(hWnd) > 0xFFFFFFFFu) {
        SetLastError(ws::WSAEINVAL);
        return ws::SOCKET_ERROR;
    }
    std::uint32_t block[4] = {s, static_cast<std::uint32_t>(reinterpret_cast<ULONG_PTR>(hWnd)), wMsg,
                              static_cast<std::uint32_t>(lEvent)};
    return SockBridge().Transact(kOpAsyncSelect, block, sizeof block) == -1 ? ws::SOCKET_ERROR : 0;
}

SOCKBRIDGE_API int WSAGetLastError()
{
    CSockBridge& bridge = SockBridge();
    if (bridge.ServerMissing())
        return bridge.m_nStartups > 0 ? ws::WSASYSNOTREADY : ws::WSANOTINITIALISED;
    DWORD error = GetLastError();
    bridge.Transact(kOpGetLastError, NULL, 0);
    SetLastError(error);
    return error >= 10000 ? static_cast<int>(error) : 0;
}

SOCKBRIDGE_API void WSASetLastError(int iError)
{
    if (!SockBridge().ServerMissing()) {
        std::uint32_t block = static_cast<std::uint32_t>(iError);
        SockBridge().Transact(kOpSetLastError, &block, sizeof block);
    }
    SetLastError(static_cast<DWORD>(iError));
}

SOCKBRIDGE_API int WSACancelBlockingCall()
{
    if (!Running())
        return ws::SOCKET_ERROR;
    LONG result = SockBridge().Transact(kOpCancelBlockingCall, NULL, 0);
    return result == -1 ? ws::SOCKET_ERROR : static_cast<int>(result);
}

SOCKBRIDGE_API BOOL WSAIsBlocking()
{
    if (SockBridge().m_bBlocking)
        return TRUE;
    if (SockBridge().ServerMissing())
        return FALSE;
    LONG result = SockBridge().Transact(kOpIsBlocking, NULL, 0);
    return result != -1 && result != 0;
}

SOCKBRIDGE_API int WSAStartup(WORD wVersionRequested, ws::WSADATA* lpWSAData)
{
    if (lpWSAData == NULL)
        return ws::WSAEFAULT;
    CSockBridge& bridge = SockBridge();
    ++bridge.m_nStartups;
    bridge.m_pfnBlockingHook = NULL;
    bridge.m_wVersion = wVersionRequested;
    std::memset(lpWSAData, 0, sizeof *lpWSAData);
    lpWSAData->wVersion = 0x0101;
    lpWSAData->wHighVersion = 0x0101;
    strcpy(lpWSAData->szDescription, "Sockets bridge to the 16-bit Windows Sockets server WSA32SRV.DLL");
    strcpy(lpWSAData->szSystemStatus, "Version 3.10");
    lpWSAData->iMaxSockets = 20;
    lpWSAData->iMaxUdpDg = 20;
    return 0;
}

SOCKBRIDGE_API int WSACleanup()
{
    CSockBridge& bridge = SockBridge();
    if (bridge.m_nStartups <= 0) {
        SetLastError(ws::WSANOTINITIALISED);
        return ws::SOCKET_ERROR;
    }
    if (!bridge.ServerMissing() && bridge.m_bBlocking) {
        SetLastError(ws::WSAEINPROGRESS);
        return ws::SOCKET_ERROR;
    }
    --bridge.m_nStartups;
    bridge.m_pfnBlockingHook = NULL;
    return 0;
}

SOCKBRIDGE_API ws::BLOCKINGHOOK WSASetBlockingHook(ws::BLOCKINGHOOK lpBlockFunc)
{
    CSockBridge& bridge = SockBridge();
    if (bridge.m_bBlocking) {
        SetLastError(ws::WSAEINPROGRESS);
        return NULL;
    }
    ws::BLOCKINGHOOK previous = bridge.m_pfnBlockingHook;
    bridge.m_pfnBlockingHook = lpBlockFunc;
    return previous;
}

SOCKBRIDGE_API int WSAUnhookBlockingHook()
{
    SockBridge().m_pfnBlockingHook = NULL;
    return 0;
}

SOCKBRIDGE_API int WSACancelAsyncRequest(HANDLE)
{
    // Every lookup is answered before its call returns: nothing is left to cancel.
    if (!Running())
        return ws::SOCKET_ERROR;
    SetLastError(ws::WSAEALREADY);
    return ws::SOCKET_ERROR;
}

SOCKBRIDGE_API int WSARecvEx(SOCKET s, char* buf, int len, int* flags)
{
    int got = ws::recv(s, buf, len, flags != NULL ? *flags : 0);
    if (got >= 0 && got < len && flags != NULL)
        *flags |= ws::MSG_PARTIAL;
    return got;
}

SOCKBRIDGE_API void s_perror(const char* text)
{
    int error = static_cast<int>(GetLastError());
    char message[81] = {};
    char line[400];
    if (LoadString(SockBridge().m_hModule, static_cast<UINT>(error), message, 80) > 0)
        snprintf(line, sizeof line, "%s: %s\n", text != NULL ? text : "", message);
    else
        snprintf(line, sizeof line, "%s: error %d\n", text != NULL ? text : "", error);
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_ERROR_HANDLE), line, static_cast<DWORD>(strlen(line)), &written, NULL);
    SetLastError(static_cast<DWORD>(error));
}

// ---- The asynchronous lookups: answered at once, posted to the caller's window.

namespace {

HANDLE AsyncLookup(int nCounter, HWND hWnd, UINT wMsg, char* buf, int buflen, BOOL (*lookup)(char* buf, int buflen))
{
    CSockBridge& bridge = SockBridge();
    LONG handle = ++bridge.m_nAsyncCounters[nCounter];
    int error = 0;
    if (buf == NULL || buflen < 1024) {
        error = ws::WSAENOBUFS;
    } else if (!Started() || !lookup(buf, buflen)) {
        error = static_cast<int>(GetLastError());
        if (error == 0)
            error = ws::WSASYSNOTREADY;
    }
    PostMessageA(hWnd, wMsg, static_cast<WPARAM>(handle),
                 MAKELONG(static_cast<WORD>(buflen), static_cast<WORD>(error)));
    return reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(handle));
}

// Lays a result out in the caller's buffer: the structure, its pointer lists, then the texts
// and the address, every pointer into the buffer.
struct Layout {
    char* buf;
    std::size_t used;
    std::size_t room;
    void* Take(std::size_t size)
    {
        std::size_t at = (used + 7) & ~std::size_t(7);
        if (at + size > room)
            return NULL;
        used = at + size;
        return buf + at;
    }
    char* Text(const char* text)
    {
        std::size_t n = strlen(text) + 1;
        char* out = static_cast<char*>(Take(n));
        if (out != NULL)
            std::memcpy(out, text, n);
        return out;
    }
};

thread_local const char* g_lookupName;
thread_local const char* g_lookupProto;
thread_local const char* g_lookupAddr;
thread_local int g_lookupNumber;
thread_local int g_lookupType;

BOOL LayHost(ws::hostent* found, char* buf, int buflen)
{
    if (found == NULL)
        return FALSE;
    Layout l{buf, 0, static_cast<std::size_t>(buflen)};
    auto* host = static_cast<ws::hostent*>(l.Take(sizeof(ws::hostent)));
    auto** aliases = static_cast<char**>(l.Take(sizeof(char*)));
    auto** addresses = static_cast<char**>(l.Take(2 * sizeof(char*)));
    char* address = static_cast<char*>(l.Take(8));
    char* name = l.Text(found->h_name);
    host->h_name = name;
    aliases[0] = NULL;
    host->h_aliases = aliases;
    host->h_addrtype = found->h_addrtype;
    host->h_length = found->h_length;
    std::memcpy(address, found->h_addr_list[0], static_cast<std::size_t>(found->h_length));
    addresses[0] = address;
    addresses[1] = NULL;
    host->h_addr_list = addresses;
    return TRUE;
}

BOOL LayProto(ws::protoent* found, char* buf, int buflen)
{
    if (found == NULL)
        return FALSE;
    Layout l{buf, 0, static_cast<std::size_t>(buflen)};
    auto* proto = static_cast<ws::protoent*>(l.Take(sizeof(ws::protoent)));
    auto** aliases = static_cast<char**>(l.Take(sizeof(char*)));
    proto->p_name = l.Text(found->p_name);
    aliases[0] = NULL;
    proto->p_aliases = aliases;
    proto->p_proto = found->p_proto;
    return TRUE;
}

BOOL LayServ(ws::servent* found, char* buf, int buflen)
{
    if (found == NULL)
        return FALSE;
    Layout l{buf, 0, static_cast<std::size_t>(buflen)};
    auto* serv = static_cast<ws::servent*>(l.Take(sizeof(ws::servent)));
    auto** aliases = static_cast<char**>(l.Take(sizeof(char*)));
    serv->s_name = l.Text(found->s_name);
    aliases[0] = NULL;
    serv->s_aliases = aliases;
    serv->s_port = found->s_port;
    serv->s_proto = l.Text(found->s_proto);
    return TRUE;
}

}  // namespace

SOCKBRIDGE_API HANDLE WSAAsyncGetHostByAddr(HWND hWnd, UINT wMsg, const char* addr, int len, int type, char* buf,
                                            int buflen)
{
    g_lookupAddr = addr;
    g_lookupNumber = len;
    g_lookupType = type;
    return AsyncLookup(0, hWnd, wMsg, buf, buflen, [](char* b, int n) {
        return LayHost(ws::gethostbyaddr(g_lookupAddr, g_lookupNumber, g_lookupType), b, n);
    });
}

SOCKBRIDGE_API HANDLE WSAAsyncGetHostByName(HWND hWnd, UINT wMsg, const char* name, char* buf, int buflen)
{
    g_lookupName = name;
    return AsyncLookup(1, hWnd, wMsg, buf, buflen,
                       [](char* b, int n) { return LayHost(ws::gethostbyname(g_lookupName), b, n); });
}

SOCKBRIDGE_API HANDLE WSAAsyncGetProtoByNumber(HWND hWnd, UINT wMsg, int number, char* buf, int buflen)
{
    g_lookupNumber = number;
    return AsyncLookup(2, hWnd, wMsg, buf, buflen,
                       [](char* b, int n) { return LayProto(ws::getprotobynumber(g_lookupNumber), b, n); });
}

SOCKBRIDGE_API HANDLE WSAAsyncGetProtoByName(HWND hWnd, UINT wMsg, const char* name, char* buf, int buflen)
{
    g_lookupName = name;
    return AsyncLookup(3, hWnd, wMsg, buf, buflen,
                       [](char* b, int n) { return LayProto(ws::getprotobyname(g_lookupName), b, n); });
}

SOCKBRIDGE_API HANDLE WSAAsyncGetServByPort(HWND hWnd, UINT wMsg, int port, const char* proto, char* buf, int buflen)
{
    g_lookupNumber = port;
    g_lookupProto = proto;
    return AsyncLookup(4, hWnd, wMsg, buf, buflen,
                       [](char* b, int n) { return LayServ(ws::getservbyport(g_lookupNumber, g_lookupProto), b, n); });
}

SOCKBRIDGE_API HANDLE WSAAsyncGetServByName(HWND hWnd, UINT wMsg, const char* name, const char* proto, char* buf,
                                            int buflen)
{
    g_lookupName = name;
    g_lookupProto = proto;
    return AsyncLookup(5, hWnd, wMsg, buf, buflen,
                       [](char* b, int n) { return LayServ(ws::getservbyname(g_lookupName, g_lookupProto), b, n); });
}

// ---- Calls of the later interface that this library does not offer

SOCKBRIDGE_API int GetAddressByNameA() { return -1; }
SOCKBRIDGE_API int GetAddressByNameW() { return -1; }
SOCKBRIDGE_API int EnumProtocolsA() { return -1; }
SOCKBRIDGE_API int EnumProtocolsW() { return -1; }
SOCKBRIDGE_API int GetTypeByNameA() { return -1; }
SOCKBRIDGE_API int GetTypeByNameW() { return -1; }
SOCKBRIDGE_API int GetNameByTypeA() { return -1; }
SOCKBRIDGE_API int GetNameByTypeW() { return -1; }
SOCKBRIDGE_API int SetServiceA() { return -1; }
SOCKBRIDGE_API int SetServiceW() { return -1; }
SOCKBRIDGE_API int GetServiceA() { return -1; }
SOCKBRIDGE_API int GetServiceW() { return -1; }
SOCKBRIDGE_API int TransmitFile() { return -1; }

// ---- The library's entry

SOCKBRIDGE_API BOOL WINAPI DllEntryPoint(HINSTANCE hInstance, DWORD dwReason, LPVOID)
{
    if (dwReason == DLL_PROCESS_ATTACH)
        SockBridge().Attach(reinterpret_cast<HMODULE>(hInstance));
    else if (dwReason == DLL_PROCESS_DETACH)
        SockBridge().Detach();
    return TRUE;
}
