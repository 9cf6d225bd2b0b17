// The engine's process-wide core: the requests in flight, the worker that runs their transfers
// and the mailboxes through which their reports reach the requesting threads.
#pragma once

#include <portix/EngineSettings.h>
#include <portix/Portix.h>

#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace portix {

// One report on its way to the requesting thread.
struct Job;
struct Report {
    std::shared_ptr<Job> job;
    int major = 0;
    std::string majorText;
    int minor = 0;
    std::string minorText;
    int raw = 0;
    long total = -1;
    // Of 16469: the complete body, renamed over the output file when the report is delivered,
    // so that the output appears with its report; removed when the report is dropped.
    std::string completeFile;
};

// The reports of one requesting thread, delivered by its hidden window one per posted message.
struct Mailbox {
    HWND window = nullptr;
    DWORD threadId = 0;
    bool dead = false;            // the window is gone: reports are dropped
    std::deque<Report> reports;
};

// An accepted request. The fields above `worker` are fixed at acceptance; the flags are guarded
// by the core's lock; `worker` state belongs to the worker thread alone.
struct Job {
    CRequestUrl* request = nullptr;
    const CPortix* owner = nullptr;
    PORTIXCALLBACK callback = nullptr;
    DWORD reserved = 0;
    std::shared_ptr<Mailbox> mailbox;
    std::string url;
    std::string outputPath;       // host path of the output file
    bool post = false;
    std::string form;             // urlencoded fields of a POST
    host::EngineSettings settings;
    CAuthorizationInfo identity;
    std::string proxy;            // libcurl's proxy address; empty: none
    std::string noProxy;          // hosts reached without it

    bool cancelRequested = false;
    bool released = false;        // the caller ended it with SetXferEnd: nothing more is reported
    bool decided = false;         // ended, failed or cancelled: a cancel comes too late
    bool finalQueued = false;     // its final report is queued (or dropped)
    bool stopSeen = false;        // the worker has taken up its cancel or release

    long total = -1;              // the declared length once begun (the worker's alone)
};

class Core {
public:
    static Core& Get();

    void SetIdentity(const CAuthorizationInfo& info);
    // The proxy every request accepted from now on goes through (empty: none).
    void SetProxy(const std::string& proxy, const std::string& noProxy);
    int Submit(CRequestUrl* request, const CPortix* owner);
    int Cancel(CRequestUrl* request);
    void CancelAll(const CPortix* owner);

    // Worker side: queue a report for the job's thread. A progress report replaces one of the same
    // job still waiting at the tail. A final report marks the job decided.
    void Post(const std::shared_ptr<Job>& job, Report report, bool final);
    // Worker side: takes the requests accepted since the last call, and those to stop now.
    void TakeWork(std::vector<std::shared_ptr<Job>>& fresh, std::vector<Job*>& stopping);
    bool Stopping();
    // Worker side: under the lock, decides the job's end unless a cancel came first (then the
    // answer is false and the caller cancels instead).
    bool DecideEnd(Job* job);
    // Worker side: the job's transfer is over; the core forgets it unless its final report is
    // still to be delivered.
    void Finished(Job* job);

    // Checks an address as RequestUrl does: 0 when it is a usable http or https address.
    static int CheckUrl(const std::string& url);

    // Thread side: delivers the next report of the window's mailbox.
    void Deliver(HWND window);
    void WindowGone(HWND window);

    ~Core();

private:
    Core();
    std::shared_ptr<Mailbox> MailboxOfThisThread();
    void Wake();
    void DropReports(Mailbox& box, Job* job);
    static void Discard(Report& report);
    void Forget(Job* job);

    std::mutex m_lock;
    CAuthorizationInfo m_identity;
    std::string m_proxy;
    std::string m_noProxy;
    std::map<CRequestUrl*, std::shared_ptr<Job>> m_inFlight;   // until its final report is delivered
    std::vector<std::shared_ptr<Job>> m_running;               // until the worker is done with it
    std::vector<std::shared_ptr<Job>> m_fresh;
    std::map<HWND, std::shared_ptr<Mailbox>> m_mailboxes;
    bool m_stopping = false;
    std::thread m_worker;
    friend class Worker;
    class Worker* m_workerObject = nullptr;
};

// Text of a status code as the engine reports it.
const char* CodeText(int code);

}  // namespace portix
