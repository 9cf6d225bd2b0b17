// The host's own sockets, beside the bridge's: a peer that connects to a loopback port and
// sends, and a check that the C library's socket calls are its own.
#pragma once

#include <cstdint>
#include <string>

// Connects to 127.0.0.1:port with the C library's sockets after delayMs, sends data and keeps
// the connection until the returned closer runs; false when the connection fails.
bool HostSendAfter(std::uint16_t port, int delayMs, const std::string& data);
// The C library's socket, htonl and send, as the program's own code sees them.
std::uintptr_t HostSymbol(const char* name);
// A socket pair made with the C library's socket calls works.
bool HostSocketsWork();
