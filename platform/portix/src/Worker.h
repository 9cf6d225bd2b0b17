// The engine's worker: one thread that runs every transfer of the process over libcurl's multi
// interface, enforcing the engine's rules (time-outs, size cap, declared length, redirects).
#pragma once

#include "Engine.h"

#include <curl/curl.h>

#include <memory>
#include <vector>

namespace portix {

struct Transfer;

class Worker {
public:
    explicit Worker(Core& core);
    ~Worker();
    Worker(const Worker&) = delete;
    Worker& operator=(const Worker&) = delete;

    // The thread's body: runs until the core stops.
    void Run();
    // Ends the worker's wait (a request arrived, was cancelled, or the core stops).
    void Wake();

private:
    void Start(const std::shared_ptr<Job>& job);
    void Complete(Transfer& transfer, CURLcode result);
    void Redirect(Transfer& transfer);
    // Ends a transfer: its partial file goes; `report` is sent unless a cancel came first (then
    // 16470 is) or the caller released the request (then nothing is).
    void End(Transfer& transfer, Report report);
    void CheckStalls();
    long WaitMilliseconds() const;
    Transfer* Find(Job* job);

    Core& m_core;
    CURLM* m_multi = nullptr;
    std::vector<std::unique_ptr<Transfer>> m_transfers;
};

}  // namespace portix
