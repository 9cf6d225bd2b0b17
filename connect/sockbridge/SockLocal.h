// The bridge's local functions: byte order, the dotted address parser and printer, set tests.
#pragma once

#include "sockbridge/WinSock.h"

// An export whose plain name is its symbol only.
#define WS_SYMBOL(name) __asm__(name) __attribute__((visibility("default")))

namespace ws {

u_long htonl(u_long hostlong) WS_SYMBOL("htonl");
u_short htons(u_short hostshort) WS_SYMBOL("htons");
u_long ntohl(u_long netlong) WS_SYMBOL("ntohl");
u_short ntohs(u_short netshort) WS_SYMBOL("ntohs");
// Dotted decimal of 1 to 4 parts (a.b.c.d, a.b.c with a 16-bit last part, a.b with a 24-bit
// last part, a as the whole address), each of at most 10 digits; INADDR_NONE for anything else.
u_long inet_addr(const char* cp) WS_SYMBOL("inet_addr");
// "%d.%d.%d.%d" in one buffer of the library's.
char* inet_ntoa(in_addr in) WS_SYMBOL("inet_ntoa");

}  // namespace ws

extern "C" __attribute__((visibility("default"))) int __WSAFDIsSet(ws::SOCKET s, ws::fd_set* set);
