// The Windows Sockets 1.1 types and constants the bridge's exports take and give. They live in
// the namespace `ws` (and the exports carry their plain names only as symbols) so that nothing
// of them meets the C library's declarations of the same names.
#pragma once

#include <windows.h>

#include <cstdint>

// The C library's own set size (a macro) means nothing here.
#ifdef FD_SETSIZE
#undef FD_SETSIZE
#endif

namespace ws {

typedef std::uint32_t SOCKET;
typedef std::uint32_t u_long;  // 32 bits, as the platform's ULONG
typedef unsigned short u_short;

constexpr SOCKET INVALID_SOCKET = ~SOCKET(0);
constexpr int SOCKET_ERROR = -1;
constexpr std::uint32_t INADDR_NONE = 0xFFFFFFFFu;
constexpr int FD_SETSIZE = 64;
constexpr int MSG_PARTIAL = 0x8000;

constexpr int WSAEINTR = 10004, WSAEFAULT = 10014, WSAEINVAL = 10022, WSAEINPROGRESS = 10036,
              WSAEALREADY = 10037, WSAENETDOWN = 10050, WSAENOBUFS = 10055, WSASYSNOTREADY = 10091,
              WSAVERNOTSUPPORTED = 10092, WSANOTINITIALISED = 10093;

struct in_addr {
    std::uint32_t s_addr;
};

struct sockaddr {
    std::uint16_t sa_family;
    char sa_data[14];
};

struct sockaddr_in {
    std::int16_t sin_family;
    std::uint16_t sin_port;
    in_addr sin_addr;
    char sin_zero[8];
};

struct fd_set {
    std::uint32_t fd_count;
    SOCKET fd_array[FD_SETSIZE];
};

struct timeval {
    std::int32_t tv_sec;
    std::int32_t tv_usec;
};

struct hostent {
    char* h_name;
    char** h_aliases;
    short h_addrtype;
    short h_length;
    char** h_addr_list;
};

struct servent {
    char* s_name;
    char** s_aliases;
    short s_port;
    char* s_proto;
};

struct protoent {
    char* p_name;
    char** p_aliases;
    short p_proto;
};

constexpr int WSADESCRIPTION_LEN = 256, WSASYS_STATUS_LEN = 128;
struct WSADATA {
    WORD wVersion;
    WORD wHighVersion;
    char szDescription[WSADESCRIPTION_LEN + 1];
    char szSystemStatus[WSASYS_STATUS_LEN + 1];
    unsigned short iMaxSockets;
    unsigned short iMaxUdpDg;
    char* lpVendorInfo;
};

typedef BOOL(CALLBACK* BLOCKINGHOOK)();

}  // namespace ws
