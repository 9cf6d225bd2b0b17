// The bridge's local functions.
#include "sockbridge/SockLocal.h"

#include <cstdio>

namespace ws {

u_long htonl(u_long hostlong)
{
    std::uint32_t v = static_cast<std::uint32_t>(hostlong);
    return (v >> 24) | ((v >> 8) & 0xFF00u) | ((v << 8) & 0xFF0000u) | (v << 24);
}

u_short htons(u_short hostshort)
{
    return static_cast<u_short>((hostshort >> 8) | (hostshort << 8));
}

u_long ntohl(u_long netlong) { return htonl(netlong); }
u_short ntohs(u_short netshort) { return htons(netshort); }

u_long inet_addr(const char* cp)
{
    if (cp == nullptr)
        return INADDR_NONE;
    std::uint64_t parts[4] = {};
    int count = 0;
    const char* p = cp;
    for (;;) {
        int digits = 0;
        std::uint64_t value = 0;
        while (*p >= '0' && *p <= '9') {
            if (++digits > 10)
                return INADDR_NONE;
            value = value * 10 + static_cast<unsigned>(*p - '0');
            ++p;
        }
        if (digits == 0 || count == 4)
            return INADDR_NONE;
        parts[count++] = value;
        if (*p == '\0')
            break;
        if (*p != '.')
            return INADDR_NONE;
        ++p;
    }
    // The leading parts are bytes; the last fills the rest of the 32 bits.
    static const std::uint64_t kLastLimit[4] = {0xFFFFFFFFull, 0xFFFFFFull, 0xFFFFull, 0xFFull};
    for (int i = 0; i < count - 1; ++i)
        if (parts[i] > 0xFF)
            return INADDR_NONE;
    if (parts[count - 1] > kLastLimit[count - 1])
        return INADDR_NONE;
    std::uint32_t host = static_cast<std::uint32_t>(parts[count - 1]);
    for (int i = 0; i < count - 1; ++i)
        host |= static_cast<std::uint32_t>(parts[i]) << (24 - 8 * i);
    return htonl(host);
}

char* inet_ntoa(in_addr in)
{
    static char text[18];
    const auto* b = reinterpret_cast<const unsigned char*>(&in.s_addr);
    snprintf(text, sizeof text, "%d.%d.%d.%d", b[0], b[1], b[2], b[3]);
    return text;
}

}  // namespace ws

int __WSAFDIsSet(ws::SOCKET s, ws::fd_set* set)
{
    if (set == nullptr)
        return 0;
    std::uint32_t count = set->fd_count > ws::FD_SETSIZE ? ws::FD_SETSIZE : set->fd_count;
    for (std::uint32_t i = 0; i < count; ++i)
        if (set->fd_array[i] == s)
            return 1;
    return 0;
}
