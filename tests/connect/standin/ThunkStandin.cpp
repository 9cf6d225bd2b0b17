// A stand-in thunk library ("pxthk32.dll", "pxthk32s.dll"): the two probes of the 16-bit
// sockets stack, with the answers a test sets.
#include <atomic>

namespace {

std::atomic<int> g_winsock{0};
std::atomic<int> g_ppp{0};

}  // namespace

extern "C" __attribute__((visibility("default"))) int PortixWinsockExists32() { return g_winsock.load(); }
extern "C" __attribute__((visibility("default"))) int CIDpppConnected32() { return g_ppp.load(); }

// The answers of both probes from now on.
extern "C" __attribute__((visibility("default"))) void StandinSetThunkAnswers(int winsock, int ppp)
{
    g_winsock = winsock;
    g_ppp = ppp;
}
