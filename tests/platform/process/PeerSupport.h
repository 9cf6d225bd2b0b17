// Starting the peer program (Peer.cpp) from the process tests.
#pragma once

#include <windows.h>

#include <host/Paths.h>

#include <chrono>
#include <string>
#include <thread>

#ifdef VL_PEER_PROGRAM
// The peer program's platform path, without the extension the host file does not have.
inline std::string PeerStem()
{
    auto platform = host::FromHostPath(VL_PEER_PROGRAM);
    return platform ? *platform : std::string();
}
#endif

// A started process, ended (if it still runs) and closed at the end of the test.
struct Started {
    PROCESS_INFORMATION pi{};
    bool ok = false;
    DWORD error = 0;
    Started() = default;
    Started(const Started&) = delete;
    Started& operator=(const Started&) = delete;
    ~Started()
    {
        if (!ok)
            return;
        if (WaitForSingleObject(pi.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(pi.hProcess, 1);
            WaitForSingleObject(pi.hProcess, 10000);
        }
        CloseHandle(pi.hProcess);
        CloseHandle(pi.hThread);
    }
};

inline void Start(Started& s, std::string commandLine, const char* folder = nullptr, STARTUPINFOA* si = nullptr,
                  LPVOID environment = nullptr, const char* application = nullptr)
{
    STARTUPINFOA plain{};
    plain.cb = sizeof plain;
    SetLastError(0);
    s.ok = CreateProcessA(application, commandLine.empty() ? nullptr : commandLine.data(), nullptr, nullptr, FALSE,
                          NORMAL_PRIORITY_CLASS, environment, folder, si ? si : &plain, &s.pi) != FALSE;
    s.error = GetLastError();
}

inline DWORD ExitCodeOf(HANDLE process)
{
    DWORD code = 0xDEADBEEF;
    return GetExitCodeProcess(process, &code) ? code : 0xDEADBEEF;
}

// Waits (in short steps) until the condition holds; false after `seconds`.
template <class Condition>
bool Eventually(Condition condition, int seconds = 10)
{
    for (int i = 0; i < seconds * 100; ++i) {
        if (condition())
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return condition();
}
