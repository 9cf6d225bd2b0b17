// What the engine's tests share: a request that records its reports, a message pump with a
// deadline, and a loopback update server with a small update set.
#pragma once

#include <portix/EngineSettings.h>
#include <portix/Portix.h>

#include <UpdateServer.h>

#include <host/Paths.h>

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "TempDir.h"

namespace portixtest {

struct Call {
    long major = 0;
    long minor = 0;
    std::string minorDesc;
    long total = 0;
    DWORD thread = 0;
};

// A request that keeps every report it gets (the callback finds it from the request record, as
// the message centre's request class does). `onCall` may act inside the callback.
struct Recorder : CRequestUrl {
    CString url;
    CString output;
    std::vector<Call> calls;
    std::function<void(Recorder&, CRequestNotification&)> onCall;

    Recorder(const std::string& address, const std::filesystem::path& outputFile)
    {
        url = address.c_str();
        output = ::host::FromHostPath(outputFile.string()).value_or("").c_str();
        m_pUrl = &url;
        m_pOutputFile = &output;
        m_pfnCallback = &Recorder::OnStatus;
    }

    static void OnStatus(CRequestNotification* n, DWORD)
    {
        auto& self = *static_cast<Recorder*>(n->m_pRequest);
        Call c;
        c.major = n->m_pStatus->GetMajorCode();
        c.minor = n->m_pStatus->GetMinorCode();
        c.minorDesc = static_cast<LPCSTR>(n->m_pStatus->GetMinorDesc());
        c.total = n->m_lTotalSize;
        c.thread = GetCurrentThreadId();
        self.calls.push_back(c);
        if (self.onCall)
            self.onCall(self, *n);
    }

    static bool IsFinal(long major) { return major < PTX_XFER_PENDING || major > PTX_XFER_IN_PROCESS; }
    bool Ended() const { return !calls.empty() && IsFinal(calls.back().major); }
    const Call& Last() const { return calls.back(); }
    bool Has(long major) const
    {
        for (auto& c : calls)
            if (c.major == major)
                return true;
        return false;
    }
    std::string Sequence() const
    {
        std::string s;
        for (auto& c : calls)
            s += std::to_string(c.major) + "/" + std::to_string(c.minor) + " ";
        return s;
    }
};

// Pumps this thread's messages until `done` holds or `ms` pass.
template <class Pred>
bool PumpUntil(Pred done, int ms = 10000)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG m;
        while (PeekMessageA(&m, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&m);
            DispatchMessageA(&m);
        }
        if (done())
            return true;
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}

inline void PumpFor(int ms)
{
    PumpUntil([] { return false; }, ms);
}

// Bytes that show where they came from: a shift by one byte is not equal.
inline std::string Pattern(size_t size, unsigned seed)
{
    std::string s(size, '\0');
    unsigned x = seed * 2654435761u + 1;
    for (auto& c : s) {
        x = x * 1103515245u + 12345u;
        c = static_cast<char>(x >> 16);
    }
    return s;
}

inline std::vector<std::string> FolderNames(const std::filesystem::path& folder)
{
    std::vector<std::string> names;
    for (auto& e : std::filesystem::directory_iterator(folder))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace portixtest
