// The host side of the bridge's tests.
#include "HostPeer.h"

#include <arpa/inet.h>
#include <chrono>
#include <cstring>
#include <dlfcn.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

bool HostSendAfter(std::uint16_t port, int delayMs, const std::string& data)
{
    std::thread([port, delayMs, data] {
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        int s = ::socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_port = htons(port);
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (::connect(s, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0)
            ::send(s, data.data(), data.size(), MSG_NOSIGNAL);
        std::this_thread::sleep_for(std::chrono::milliseconds(500));
        ::close(s);
    }).detach();
    return true;
}

std::uintptr_t HostSymbol(const char* name)
{
    return reinterpret_cast<std::uintptr_t>(dlsym(RTLD_DEFAULT, name));
}

bool HostSocketsWork()
{
    int pair[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0)
        return false;
    char c = 0;
    bool ok = ::send(pair[0], "x", 1, 0) == 1 && ::recv(pair[1], &c, 1, 0) == 1 && c == 'x' && htonl(1) == 0x01000000u;
    ::close(pair[0]);
    ::close(pair[1]);
    return ok;
}
