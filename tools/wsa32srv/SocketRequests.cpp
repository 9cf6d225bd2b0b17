// The requests on the host's sockets. Addresses are kept to the loopback network: a bind to
// any address binds to 127.0.0.1, a connect or datagram elsewhere fails with 10051, and name
// look-ups answer only for this machine's own names. Only sockets this server made are used.
#include "SocketRequests.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <set>
#include <strings.h>
#include <sys/ioctl.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <unistd.h>

namespace wsa32srv {

namespace {

std::set<int> g_sockets;

constexpr std::uint32_t kWsaEINTR = 10004, kWsaEACCES = 10013, kWsaEFAULT = 10014,
                        kWsaEINVAL = 10022, kWsaEMFILE = 10024, kWsaEWOULDBLOCK = 10035, kWsaEALREADY = 10037, kWsaENOTSOCK = 10038, kWsaEDESTADDRREQ = 10039, kWsaEMSGSIZE = 10040,
                        kWsaEPROTOTYPE = 10041, kWsaENOPROTOOPT = 10042, kWsaEPROTONOSUPPORT = 10043,
                        kWsaESOCKTNOSUPPORT = 10044, kWsaEOPNOTSUPP = 10045, kWsaEAFNOSUPPORT = 10047,
                        kWsaEADDRINUSE = 10048, kWsaEADDRNOTAVAIL = 10049, kWsaENETDOWN = 10050,
                        kWsaENETUNREACH = 10051, kWsaENETRESET = 10052, kWsaECONNABORTED = 10053,
                        kWsaECONNRESET = 10054, kWsaENOBUFS = 10055, kWsaEISCONN = 10056, kWsaENOTCONN = 10057,
                        kWsaESHUTDOWN = 10058, kWsaETIMEDOUT = 10060, kWsaECONNREFUSED = 10061,
                        kWsaEHOSTUNREACH = 10065, kWsaHostNotFound = 11001, kWsaNoData = 11004;

std::uint32_t FromErrno(int e)
{
    switch (e) {
    case EINTR: return kWsaEINTR;
    case EBADF: return kWsaENOTSOCK;
    case EACCES: return kWsaEACCES;
    case EFAULT: return kWsaEFAULT;
    case EINVAL: return kWsaEINVAL;
    case EMFILE: case ENFILE: return kWsaEMFILE;
    case EAGAIN: return kWsaEWOULDBLOCK;
    case EINPROGRESS: return kWsaEWOULDBLOCK;  // a non-blocking connect under way
    case EALREADY: return kWsaEALREADY;
    case ENOTSOCK: return kWsaENOTSOCK;
    case EDESTADDRREQ: return kWsaEDESTADDRREQ;
    case EMSGSIZE: return kWsaEMSGSIZE;
    case EPROTOTYPE: return kWsaEPROTOTYPE;
    case ENOPROTOOPT: return kWsaENOPROTOOPT;
    case EPROTONOSUPPORT: return kWsaEPROTONOSUPPORT;
    case ESOCKTNOSUPPORT: return kWsaESOCKTNOSUPPORT;
    case EOPNOTSUPP: return kWsaEOPNOTSUPP;
    case EAFNOSUPPORT: return kWsaEAFNOSUPPORT;
    case EADDRINUSE: return kWsaEADDRINUSE;
    case EADDRNOTAVAIL: return kWsaEADDRNOTAVAIL;
    case ENETDOWN: return kWsaENETDOWN;
    case ENETUNREACH: return kWsaENETUNREACH;
    case ENETRESET: return kWsaENETRESET;
    case ECONNABORTED: return kWsaECONNABORTED;
    case ECONNRESET: case EPIPE: return kWsaECONNRESET;
    case ENOBUFS: case ENOMEM: return kWsaENOBUFS;
    case EISCONN: return kWsaEISCONN;
    case ENOTCONN: return kWsaENOTCONN;
    case ESHUTDOWN: return kWsaESHUTDOWN;
    case ETIMEDOUT: return kWsaETIMEDOUT;
    case ECONNREFUSED: return kWsaECONNREFUSED;
    case EHOSTUNREACH: return kWsaEHOSTUNREACH;
    default: return kWsaEINVAL;
    }
}

std::uint32_t Word(const char* block, std::size_t at)
{
    std::uint32_t v;
    std::memcpy(&v, block + at, sizeof v);
    return v;
}

void PutWord(std::string& out, std::size_t at, std::uint32_t v)
{
    std::memcpy(out.data() + at, &v, sizeof v);
}

void PutHalf(std::string& out, std::size_t at, std::uint16_t v)
{
    std::memcpy(out.data() + at, &v, sizeof v);
}

// Text of a fixed field: up to its first NUL, never past the field.
std::string Field(const char* block, std::size_t at, std::size_t size)
{
    return std::string(block + at, strnlen(block + at, size));
}

void PutText(std::string& out, std::size_t at, std::size_t size, const std::string& text)
{
    std::size_t n = std::min(text.size(), size - 1);
    std::memcpy(out.data() + at, text.data(), n);
    out[at + n] = '\0';
}

Outcome Fail(std::uint32_t error)
{
    Outcome o;
    o.result = ErrorResult(error);
    return o;
}

Outcome FailErrno()
{
    return Fail(FromErrno(errno));
}

Outcome Value(std::uint32_t v)
{
    Outcome o;
    o.result = v;
    return o;
}

Outcome Reply(std::string block)
{
    Outcome o;
    o.hasReply = true;
    o.reply = std::move(block);
    return o;
}

bool Ours(std::uint32_t s)
{
    return g_sockets.count(static_cast<int>(s)) != 0;
}

bool Loopback(const sockaddr_in& a)
{
    return (ntohl(a.sin_addr.s_addr) >> 24) == 127;
}

// A socket address of the block (16 bytes at `at`, its length at `at + 16`).
bool AddressOf(const char* block, std::size_t at, sockaddr_in& out, std::uint32_t& error)
{
    std::uint32_t length = Word(block, at + 16);
    std::memcpy(&out, block + at, sizeof out);
    if (length < sizeof out || out.sin_family != AF_INET) {
        error = length < sizeof out ? kWsaEFAULT : kWsaEAFNOSUPPORT;
        return false;
    }
    std::memset(out.sin_zero, 0, sizeof out.sin_zero);
    return true;
}

bool MapOption(std::uint32_t level, std::uint32_t option, int& hostLevel, int& hostOption)
{
    if (level == 0xFFFF) {
        hostLevel = SOL_SOCKET;
        switch (option) {
        case 0x0002: hostOption = SO_ACCEPTCONN; return true;
        case 0x0004: hostOption = SO_REUSEADDR; return true;
        case 0x0008: hostOption = SO_KEEPALIVE; return true;
        case 0x0010: hostOption = SO_DONTROUTE; return true;
        case 0x0020: hostOption = SO_BROADCAST; return true;
        case 0x0080: hostOption = SO_LINGER; return true;
        case 0x0100: hostOption = SO_OOBINLINE; return true;
        case 0x1001: hostOption = SO_SNDBUF; return true;
        case 0x1002: hostOption = SO_RCVBUF; return true;
        case 0x1007: hostOption = SO_ERROR; return true;
        case 0x1008: hostOption = SO_TYPE; return true;
        default: return false;
        }
    }
    if (level == IPPROTO_TCP && option == 1) {
        hostLevel = IPPROTO_TCP;
        hostOption = TCP_NODELAY;
        return true;
    }
    return false;
}

std::string HostName()
{
    char name[256] = {};
    if (gethostname(name, sizeof name - 1) != 0)
        return "localhost";
    return name;
}

// The one address of a name of this machine; false for every other name.
bool OwnName(const std::string& name)
{
    return strcasecmp(name.c_str(), "localhost") == 0 || strcasecmp(name.c_str(), HostName().c_str()) == 0;
}

struct Protocol {
    const char* name;
    std::uint16_t number;
};
constexpr Protocol kProtocols[] = {{"ip", 0}, {"icmp", 1}, {"tcp", 6}, {"udp", 17}};

void ReadSet(const char* block, std::size_t at, fd_set& set, int& highest, bool& bad)
{
    FD_ZERO(&set);
    std::uint32_t count = std::min<std::uint32_t>(Word(block, at) & 0xFFFF, 64);
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t s = Word(block, at + 4 + 4 * i);
        if (!Ours(s) || s >= FD_SETSIZE) {
            bad = true;
            continue;
        }
        FD_SET(static_cast<int>(s), &set);
        highest = std::max(highest, static_cast<int>(s));
    }
}

void WriteSet(const char* block, std::string& out, std::size_t at, const fd_set& set)
{
    std::uint32_t count = std::min<std::uint32_t>(Word(block, at) & 0xFFFF, 64);
    std::uint32_t kept = 0;
    for (std::uint32_t i = 0; i < count; ++i) {
        std::uint32_t s = Word(block, at + 4 + 4 * i);
        if (Ours(s) && s < FD_SETSIZE && FD_ISSET(static_cast<int>(s), &set))
            PutWord(out, at + 4 + 4 * kept++, s);
    }
    PutWord(out, at, kept);
}

// The size each request's block must have; 0 for a size that depends on the block.
std::size_t BlockSize(unsigned opcode)
{
    switch (opcode) {
    case 0: case 1: case 3: case 4: case 5: return 24;
    case 2: return 4;
    case 6: return 144;
    case 11: return 12;
    case 12: return 8;
    case 15: return 12;
    case 16: return 16;
    case 17: return 792;
    case 20: return 32;
    case 21: return 8;
    case 22: return 12;
    case 23: return 188;
    case 24: return 268;
    case 25: return 258;
    case 26: return 4;
    case 27: return 290;
    case 28: return 216;
    case 29: return 4;
    case 30: return 16;
    case 40: case 42: case 43: return 0;
    case 41: case 44: return 4;
    default: return 0;
    }
}

}  // namespace

Outcome Perform(unsigned opcode, const char* block, std::size_t size)
{
    if (opcode != 18 && opcode != 19 && size != BlockSize(opcode))
        return Fail(kWsaEFAULT);
    switch (opcode) {
    case 22: {  // socket
        std::uint32_t family = Word(block, 0), type = Word(block, 4), protocol = Word(block, 8);
        if (family != AF_INET)
            return Fail(kWsaEAFNOSUPPORT);
        if (type != SOCK_STREAM && type != SOCK_DGRAM)
            return Fail(kWsaESOCKTNOSUPPORT);
        int s = socket(AF_INET, static_cast<int>(type) | SOCK_CLOEXEC, static_cast<int>(protocol));
        if (s < 0)
            return FailErrno();
        g_sockets.insert(s);
        return Value(static_cast<std::uint32_t>(s));
    }
    case 1:    // bind
    case 3: {  // connect
        std::uint32_t s = Word(block, 0), error = 0;
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        sockaddr_in a{};
        if (!AddressOf(block, 4, a, error))
            return Fail(error);
        if (opcode == 1 && a.sin_addr.s_addr == htonl(INADDR_ANY))
            a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (!Loopback(a))
            return Fail(opcode == 1 ? kWsaEADDRNOTAVAIL : kWsaENETUNREACH);
        int r = opcode == 1 ? bind(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), sizeof a)
                            : connect(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), sizeof a);
        return r == 0 ? Value(0) : FailErrno();
    }
    case 2: {  // closesocket
        std::uint32_t s = Word(block, 0);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        g_sockets.erase(static_cast<int>(s));
        close(static_cast<int>(s));
        return Value(0);
    }
    case 0:    // accept
    case 4:    // getpeername
    case 5: {  // getsockname
        std::uint32_t s = Word(block, 0);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        sockaddr_in a{};
        socklen_t length = sizeof a;
        std::string out(block, size);
        int r;
        if (opcode == 0) {
            r = accept4(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), &length, SOCK_CLOEXEC);
            if (r >= 0) {
                g_sockets.insert(r);
                PutWord(out, 0, static_cast<std::uint32_t>(r));
            }
        } else {
            r = opcode == 4 ? getpeername(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), &length)
                            : getsockname(static_cast<int>(s), reinterpret_cast<sockaddr*>(&a), &length);
        }
        if (r < 0)
            return FailErrno();
        std::memcpy(out.data() + 4, &a, sizeof a);
        PutWord(out, 20, sizeof a);
        return Reply(out);
    }
    case 6:     // getsockopt
    case 20: {  // setsockopt
        std::uint32_t s = Word(block, 0);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        int level = 0, option = 0;
        if (!MapOption(Word(block, 4), Word(block, 8), level, option))
            return Fail(kWsaENOPROTOOPT);
        const std::size_t room = opcode == 6 ? 128 : 16;
        std::uint32_t length = Word(block, 12 + room);
        if (opcode == 20) {
            if (length > room)
                return Fail(kWsaEFAULT);
            if (option == SO_LINGER && level == SOL_SOCKET) {
                if (length < 4)
                    return Fail(kWsaEFAULT);
                std::uint16_t onoff, seconds;
                std::memcpy(&onoff, block + 12, 2);
                std::memcpy(&seconds, block + 14, 2);
                linger l{onoff != 0, seconds};
                return setsockopt(static_cast<int>(s), level, option, &l, sizeof l) == 0 ? Value(0) : FailErrno();
            }
            int value = 0;
            std::memcpy(&value, block + 12, std::min<std::uint32_t>(length, sizeof value));
            return setsockopt(static_cast<int>(s), level, option, &value, sizeof value) == 0 ? Value(0) : FailErrno();
        }
        std::string out(block, size);
        std::memset(out.data() + 12, 0, 128);
        if (option == SO_LINGER && level == SOL_SOCKET) {
            linger l{};
            socklen_t n = sizeof l;
            if (getsockopt(static_cast<int>(s), level, option, &l, &n) != 0)
                return FailErrno();
            PutHalf(out, 12, static_cast<std::uint16_t>(l.l_onoff));
            PutHalf(out, 14, static_cast<std::uint16_t>(l.l_linger));
            PutWord(out, 140, 4);
            return Reply(out);
        }
        int value = 0;
        socklen_t n = sizeof value;
        if (getsockopt(static_cast<int>(s), level, option, &value, &n) != 0)
            return FailErrno();
        if (option == SO_ERROR && level == SOL_SOCKET && value != 0)
            value = static_cast<int>(FromErrno(value));
        PutWord(out, 12, static_cast<std::uint32_t>(value));
        PutWord(out, 140, 4);
        return Reply(out);
    }
    case 11: {  // ioctlsocket
        std::uint32_t s = Word(block, 0), command = Word(block, 4), argument = Word(block, 8);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        std::string out(block, size);
        if (command == 0x8004667E) {  // FIONBIO
            int flags = fcntl(static_cast<int>(s), F_GETFL);
            if (flags < 0 || fcntl(static_cast<int>(s), F_SETFL, argument ? flags | O_NONBLOCK : flags & ~O_NONBLOCK) != 0)
                return FailErrno();
        } else if (command == 0x4004667F) {  // FIONREAD
            int available = 0;
            if (ioctl(static_cast<int>(s), FIONREAD, &available) != 0)
                return FailErrno();
            PutWord(out, 8, static_cast<std::uint32_t>(available));
        } else if (command == 0x40047307) {  // SIOCATMARK: 1 when no urgent data waits
            int mark = 0;
            if (ioctl(static_cast<int>(s), SIOCATMARK, &mark) != 0)
                return FailErrno();
            PutWord(out, 8, mark ? 0 : 1);
        } else {
            return Fail(kWsaEINVAL);
        }
        return Reply(out);
    }
    case 12: {  // listen
        std::uint32_t s = Word(block, 0);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        int backlog = std::clamp(static_cast<int>(Word(block, 4)), 1, 5);
        return listen(static_cast<int>(s), backlog) == 0 ? Value(0) : FailErrno();
    }
    case 15:    // recv
    case 16: {  // recvfrom
        std::uint32_t s = Word(block, 0), length = std::min<std::uint32_t>(Word(block, 4), 4096),
                      flags = Word(block, 8);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        std::size_t head = opcode == 15 ? 4 : 24;
        std::string out(head + length, '\0');
        sockaddr_in a{};
        socklen_t n = sizeof a;
        ssize_t got = opcode == 15 ? recv(static_cast<int>(s), out.data() + head, length, static_cast<int>(flags))
                                   : recvfrom(static_cast<int>(s), out.data() + head, length, static_cast<int>(flags),
                                              reinterpret_cast<sockaddr*>(&a), &n);
        if (got < 0)
            return FailErrno();
        out.resize(head + static_cast<std::size_t>(got));
        PutWord(out, 0, static_cast<std::uint32_t>(got));
        if (opcode == 16) {
            std::memcpy(out.data() + 4, &a, sizeof a);
            PutWord(out, 20, sizeof a);
        }
        return Reply(out);
    }
    case 17: {  // select
        fd_set sets[3];
        int highest = -1;
        bool bad = false;
        for (int i = 0; i < 3; ++i)
            ReadSet(block, 4 + 260 * static_cast<std::size_t>(i), sets[i], highest, bad);
        if (bad)
            return Fail(kWsaENOTSOCK);
        timeval limit{};
        timeval* timeout = nullptr;
        if (block[3]) {
            std::int32_t seconds, micro;
            std::memcpy(&seconds, block + 784, 4);
            std::memcpy(&micro, block + 788, 4);
            if (seconds < 0 || micro < 0)
                return Fail(kWsaEINVAL);
            limit.tv_sec = seconds;
            limit.tv_usec = micro;
            timeout = &limit;
        }
        int ready = select(highest + 1, block[0] ? &sets[0] : nullptr, block[1] ? &sets[1] : nullptr,
                           block[2] ? &sets[2] : nullptr, timeout);
        if (ready < 0)
            return FailErrno();
        std::string out(block, size);
        PutWord(out, 0, static_cast<std::uint32_t>(ready));
        for (int i = 0; i < 3; ++i)
            if (block[i])
                WriteSet(block, out, 4 + 260 * static_cast<std::size_t>(i), sets[i]);
        return Reply(out);
    }
    case 18:    // send
    case 19: {  // sendto
        std::size_t head = opcode == 18 ? 12 : 32, spare = 4;
        if (size < head + spare)
            return Fail(kWsaEFAULT);
        std::uint32_t s = Word(block, 0), length = Word(block, 4), flags = Word(block, 8);
        if (length > 4096 || size != head + length + spare)
            return Fail(kWsaEFAULT);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        ssize_t sent;
        if (opcode == 18) {
            sent = send(static_cast<int>(s), block + head, length, static_cast<int>(flags) | MSG_NOSIGNAL);
        } else {
            sockaddr_in a{};
            std::uint32_t error = 0;
            if (!AddressOf(block, 12, a, error))
                return Fail(error);
            if (!Loopback(a))
                return Fail(kWsaENETUNREACH);
            sent = sendto(static_cast<int>(s), block + head, length, static_cast<int>(flags) | MSG_NOSIGNAL,
                          reinterpret_cast<sockaddr*>(&a), sizeof a);
        }
        return sent < 0 ? FailErrno() : Value(static_cast<std::uint32_t>(sent));
    }
    case 21: {  // shutdown
        std::uint32_t s = Word(block, 0), how = Word(block, 4);
        if (!Ours(s))
            return Fail(kWsaENOTSOCK);
        if (how > 2)
            return Fail(kWsaEINVAL);
        return shutdown(static_cast<int>(s), static_cast<int>(how)) == 0 ? Value(0) : FailErrno();
    }
    case 23: {  // gethostbyaddr
        std::uint32_t length = Word(block, 40), type = Word(block, 44);
        if (type != AF_INET || length != 4)
            return Fail(kWsaHostNotFound);
        std::uint32_t address;
        std::memcpy(&address, block, 4);
        if ((ntohl(address) >> 24) != 127)
            return Fail(kWsaHostNotFound);
        std::string out(block, size);
        PutText(out, 48, 128, "localhost");
        PutHalf(out, 176, AF_INET);
        PutHalf(out, 178, 4);
        std::memset(out.data() + 180, 0, 8);
        std::memcpy(out.data() + 180, &address, 4);
        return Reply(out);
    }
    case 24: {  // gethostbyname
        std::string name = Field(block, 0, 128);
        if (!OwnName(name))
            return Fail(kWsaHostNotFound);
        std::string out(block, size);
        PutText(out, 128, 128, name);
        PutHalf(out, 256, AF_INET);
        PutHalf(out, 258, 4);
        std::uint32_t address = htonl(INADDR_LOOPBACK);
        std::memset(out.data() + 260, 0, 8);
        std::memcpy(out.data() + 260, &address, 4);
        return Reply(out);
    }
    case 25:    // getprotobyname
    case 26: {  // getprotobynumber
        const Protocol* found = nullptr;
        for (const Protocol& p : kProtocols)
            if (opcode == 25 ? strcasecmp(p.name, Field(block, 0, 128).c_str()) == 0 : p.number == Word(block, 0))
                found = &p;
        if (!found)
            return Fail(kWsaNoData);
        std::string out = opcode == 25 ? std::string(block, size) : std::string(130, '\0');
        std::size_t at = opcode == 25 ? 128 : 0;
        PutText(out, at, 128, found->name);
        PutHalf(out, at + 128, found->number);
        return Reply(out);
    }
    case 27:    // getservbyname
    case 28: {  // getservbyport
        std::string protocol = opcode == 27 ? Field(block, 80, 80) : Field(block, 4, 80);
        servent entry{}, *result = nullptr;
        char buffer[1024];
        int r;
        if (opcode == 27)
            r = getservbyname_r(Field(block, 0, 80).c_str(), protocol.empty() ? nullptr : protocol.c_str(), &entry,
                                buffer, sizeof buffer, &result);
        else
            r = getservbyport_r(static_cast<int>(Word(block, 0) & 0xFFFF), protocol.empty() ? nullptr : protocol.c_str(),
                                &entry, buffer, sizeof buffer, &result);
        if (r != 0 || !result)
            return Fail(kWsaNoData);
        std::string out(block, size);
        std::size_t at = opcode == 27 ? 160 : 84;
        PutText(out, at, 80, entry.s_name);
        PutHalf(out, at + 80, static_cast<std::uint16_t>(entry.s_port));  // already in network order
        PutText(out, at + 82, opcode == 27 ? 48 : 50, entry.s_proto);
        return Reply(out);
    }
    case 29: {  // gethostname
        std::uint32_t room = Word(block, 0);
        std::string name = HostName();
        if (name.size() + 1 > room)
            return Fail(kWsaEFAULT);
        std::string out(132, '\0');
        PutWord(out, 0, static_cast<std::uint32_t>(name.size()));
        PutText(out, 4, 128, name);
        return Reply(out);
    }
    case 40:  // WSAGetLastError: nothing to do here
    case 41:  // WSASetLastError
    case 42:  // WSACancelBlockingCall: nothing of ours blocks on the caller's behalf
    case 43:  // WSAIsBlocking
        return Value(0);
    case 44:  // the start-up handshake: versions from 1.1 on are served
    {
        std::uint32_t major = Word(block, 0) & 0xFF, minor = (Word(block, 0) >> 8) & 0xFF;
        return Value(major > 1 || (major == 1 && minor >= 1) ? 0 : ErrorResult(10092));
    }
    default:
        return Fail(kWsaEINVAL);
    }
}

void CloseAll()
{
    for (int s : g_sockets)
        close(s);
    g_sockets.clear();
}

}  // namespace wsa32srv
