// The engine's core: acceptance of requests, cancelling, and the delivery of reports on the
// requesting thread through a hidden window of that thread.
#include "Engine.h"

#include "Worker.h"

#include <host/Paths.h>

#include <curl/curl.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace portix {

namespace {

const char kReportWindowClass[] = "PortixReportWindow";
const UINT kReportMessage = WM_APP + 0x50;

std::mutex& SettingsLock()
{
    static std::mutex lock;
    return lock;
}

host::EngineSettings& Settings()
{
    static host::EngineSettings settings;
    return settings;
}

LRESULT CALLBACK ReportWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == kReportMessage) {
        Core::Get().Deliver(window);
        return 0;
    }
    if (message == WM_DESTROY)
        Core::Get().WindowGone(window);
    return DefWindowProcA(window, message, wParam, lParam);
}

bool IsFinal(int major)
{
    return major < PTX_XFER_PENDING || major > PTX_XFER_IN_PROCESS;
}

}  // namespace

int Core::CheckUrl(const std::string& url)
{
    if (url.empty())
        return PTX_URL_PARSE_ERROR;
    CURLU* parsed = curl_url();
    if (!parsed)
        return PTX_MEMORY_ERROR;
    int code = 0;
    if (curl_url_set(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) != CURLUE_OK) {
        code = PTX_URL_PARSE_ERROR;
    } else {
        char* scheme = nullptr;
        char* hostName = nullptr;
        if (curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) != CURLUE_OK)
            code = PTX_URL_PARSE_ERROR;
        else if (!curl_strequal(scheme, "http") && !curl_strequal(scheme, "https"))
            code = PTX_URL_UNSUPPORTED_SERVICE;
        else if (curl_url_get(parsed, CURLUPART_HOST, &hostName, 0) != CURLUE_OK || !*hostName)
            code = PTX_URL_PARSE_ERROR;
        curl_free(scheme);
        curl_free(hostName);
    }
    curl_url_cleanup(parsed);
    return code;
}

namespace {

std::string Escape(const CString& text)
{
    char* escaped = curl_easy_escape(nullptr, static_cast<LPCSTR>(text), text.GetLength());
    std::string result = escaped ? escaped : "";
    curl_free(escaped);
    return result;
}

}  // namespace

namespace host {

EngineSettings GetEngineSettings()
{
    std::lock_guard<std::mutex> g(SettingsLock());
    return Settings();
}

void SetEngineSettings(const EngineSettings& settings)
{
    std::lock_guard<std::mutex> g(SettingsLock());
    Settings() = settings;
}

void ResetEngineSettings()
{
    SetEngineSettings(EngineSettings());
}

}  // namespace host

const char* CodeText(int code)
{
    switch (code) {
    case PTX_FILE_ERROR: return "A file error occurred.";
    case PTX_REMOTE_ERROR: return "A remote error occurred.";
    case PTX_MEMORY_ERROR: return "Out of memory.";
    case PTX_SERVER_ERROR: return "The server answered with an error.";
    case PTX_DEST_FILE_ERROR: return "The output file could not be written.";
    case PTX_XFER_PENDING: return "Transfer pending.";
    case PTX_XFER_BEGUN: return "Transfer begun.";
    case PTX_XFER_IN_PROCESS: return "Transfer in process.";
    case PTX_XFER_ENDED: return "Transfer ended.";
    case PTX_XFER_CANCELLED: return "Transfer cancelled.";
    case PTX_HOST_CONNECTION_LOST: return "The connection to the host was lost.";
    case PTX_NO_VALID_HEADER: return "The host closed without a valid HTTP response header.";
    case PTX_REMOTE_FAILURE: return "The remote connection failed.";
    case PTX_ABORTED_LOCALLY: return "Transfer aborted locally.";
    case PTX_REMOTE_CLOSED: return "The remote connection was closed.";
    case PTX_HOST_NOT_FOUND: return "The remote host was not found.";
    default: return "";
    }
}

Core& Core::Get()
{
    static Core core;
    return core;
}

Core::Core()
{
    curl_global_init(CURL_GLOBAL_DEFAULT);
    WNDCLASSA wc{};
    wc.lpfnWndProc = ReportWindowProc;
    wc.lpszClassName = kReportWindowClass;
    RegisterClassA(&wc);
    m_workerObject = new Worker(*this);
    m_worker = std::thread([this] { m_workerObject->Run(); });
}

Core::~Core()
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_stopping = true;
    }
    Wake();
    if (m_worker.joinable())
        m_worker.join();
    delete m_workerObject;
    // Reports nobody pumped for hold their requests: let both go.
    for (auto& [window, box] : m_mailboxes) {
        for (auto& report : box->reports)
            Discard(report);
        box->reports.clear();
    }
    m_mailboxes.clear();
    m_inFlight.clear();
    m_running.clear();
    m_fresh.clear();
    curl_global_cleanup();
}

void Core::Wake()
{
    m_workerObject->Wake();
}

void Core::SetIdentity(const CAuthorizationInfo& info)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_identity = info;
}

void Core::SetProxy(const std::string& proxy, const std::string& noProxy)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_proxy = proxy;
    m_noProxy = noProxy;
}

std::shared_ptr<Mailbox> Core::MailboxOfThisThread()
{
    const DWORD self = GetCurrentThreadId();
    std::shared_ptr<Mailbox> existing;
    {
        std::lock_guard<std::mutex> g(m_lock);
        for (auto& [window, box] : m_mailboxes)
            if (box->threadId == self && !box->dead)
                existing = box;
    }
    // Asked outside the lock: the window system has locks of its own.
    if (existing && IsWindow(existing->window))
        return existing;
    if (existing)
        WindowGone(existing->window);
    HWND window = CreateWindowExA(0, kReportWindowClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window)
        return nullptr;
    auto box = std::make_shared<Mailbox>();
    box->window = window;
    box->threadId = self;
    std::lock_guard<std::mutex> g(m_lock);
    m_mailboxes[window] = box;
    return box;
}

int Core::Submit(CRequestUrl* request, const CPortix* owner)
{
    if (!request || !request->m_pUrl)
        return PTX_URL_PARSE_ERROR;
    auto job = std::make_shared<Job>();
    job->url = static_cast<LPCSTR>(*request->m_pUrl);
    if (int code = CheckUrl(job->url))
        return code;
    if (!request->m_pOutputFile || request->m_pOutputFile->IsEmpty())
        return PTX_DEST_FILE_ERROR;
    std::optional<std::string> output = ::host::ToHostPath(static_cast<LPCSTR>(*request->m_pOutputFile));
    if (!output || output->empty() || output->back() == '/')
        return PTX_DEST_FILE_ERROR;
    job->outputPath = *output;
    if (request->m_pFields) {
        job->post = true;
        POSITION pos = request->m_pFields->GetStartPosition();
        while (pos) {
            CString name, value;
            request->m_pFields->GetNextAssoc(pos, name, value);
            if (!job->form.empty())
                job->form += '&';
            job->form += Escape(name) + "=" + Escape(value);
        }
    }
    job->request = request;
    job->owner = owner;
    job->callback = request->m_pfnCallback;
    job->reserved = request->m_dwReserved;
    job->settings = host::GetEngineSettings();
    job->mailbox = MailboxOfThisThread();
    if (!job->mailbox)
        return PTX_NO_RESOURCES;

    HWND window = nullptr;
    {
        std::lock_guard<std::mutex> g(m_lock);
        if (m_inFlight.count(request))
            return PTX_UNKNOWN_ERROR;
        job->identity = m_identity;
        job->proxy = m_proxy;
        job->noProxy = m_noProxy;
        m_inFlight[request] = job;
        // The pending report is queued before the worker can see the job, so it always comes first.
        Report pending;
        pending.job = job;
        pending.major = PTX_XFER_PENDING;
        pending.majorText = CodeText(PTX_XFER_PENDING);
        job->mailbox->reports.push_back(std::move(pending));
        window = job->mailbox->window;
        m_running.push_back(job);
        m_fresh.push_back(job);
    }
    PostMessageA(window, kReportMessage, 0, 0);
    Wake();
    return PTX_SUCCESS;
}

int Core::Cancel(CRequestUrl* request)
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        auto it = m_inFlight.find(request);
        if (it == m_inFlight.end() || it->second->released)
            return PTX_UNKNOWN_ERROR;
        if (it->second->cancelRequested)
            return PTX_SUCCESS;  // already being cancelled: its 16470 is on the way
        if (it->second->decided)
            return PTX_UNKNOWN_ERROR;
        it->second->cancelRequested = true;
    }
    Wake();
    return PTX_SUCCESS;
}

void Core::CancelAll(const CPortix* owner)
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        for (auto& [request, job] : m_inFlight)
            if (job->owner == owner && !job->decided && !job->released)
                job->cancelRequested = true;
    }
    Wake();
}

void Core::Post(const std::shared_ptr<Job>& job, Report report, bool final)
{
    report.job = job;
    HWND window = nullptr;
    {
        std::lock_guard<std::mutex> g(m_lock);
        if (job->released || job->finalQueued) {
            Discard(report);
            return;
        }
        if (final)
            job->finalQueued = true;
        Mailbox& box = *job->mailbox;
        if (box.dead) {
            Discard(report);
            if (final)
                Forget(job.get());
            return;
        }
        if (report.major == PTX_XFER_IN_PROCESS && !box.reports.empty() && box.reports.back().job == job &&
            box.reports.back().major == PTX_XFER_IN_PROCESS) {
            box.reports.back().minor = report.minor;  // the caller has not caught up: one report will do
            return;
        }
        box.reports.push_back(std::move(report));
        window = box.window;
    }
    if (!PostMessageA(window, kReportMessage, 0, 0))
        WindowGone(window);
}

void Core::TakeWork(std::vector<std::shared_ptr<Job>>& fresh, std::vector<Job*>& stopping)
{
    std::lock_guard<std::mutex> g(m_lock);
    fresh.swap(m_fresh);
    m_fresh.clear();
    for (auto& job : m_running)
        if ((job->cancelRequested || job->released) && !job->stopSeen && !job->finalQueued) {
            job->stopSeen = true;
            stopping.push_back(job.get());
        }
}

bool Core::Stopping()
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_stopping;
}

bool Core::DecideEnd(Job* job)
{
    std::lock_guard<std::mutex> g(m_lock);
    if (job->cancelRequested || job->released)
        return false;
    job->decided = true;
    return true;
}

void Core::Finished(Job* job)
{
    std::lock_guard<std::mutex> g(m_lock);
    job->decided = true;
    if (job->released || job->mailbox->dead)
        Forget(job);
    m_running.erase(std::remove_if(m_running.begin(), m_running.end(),
                                   [job](const std::shared_ptr<Job>& j) { return j.get() == job; }),
                    m_running.end());
}

void Core::Forget(Job* job)
{
    auto it = m_inFlight.find(job->request);
    if (it != m_inFlight.end() && it->second.get() == job)
        m_inFlight.erase(it);
}

void Core::Discard(Report& report)
{
    if (!report.completeFile.empty())
        ::unlink(report.completeFile.c_str());
    report.completeFile.clear();
}

void Core::DropReports(Mailbox& box, Job* job)
{
    for (auto& report : box.reports)
        if (report.job.get() == job)
            Discard(report);
    box.reports.erase(std::remove_if(box.reports.begin(), box.reports.end(),
                                     [job](const Report& r) { return r.job.get() == job; }),
                      box.reports.end());
}

void Core::Deliver(HWND window)
{
    Report report;
    std::shared_ptr<Job> job;
    std::shared_ptr<Mailbox> box;
    {
        std::lock_guard<std::mutex> g(m_lock);
        auto it = m_mailboxes.find(window);
        if (it == m_mailboxes.end() || it->second->reports.empty())
            return;
        box = it->second;
        report = std::move(box->reports.front());
        box->reports.pop_front();
        job = report.job;
        auto found = m_inFlight.find(job->request);
        if (found == m_inFlight.end() || found->second != job) {
            Discard(report);
            return;
        }
    }

    if (!report.completeFile.empty() && ::rename(report.completeFile.c_str(), job->outputPath.c_str()) != 0) {
        const int error = errno;
        Discard(report);
        report.major = PTX_DEST_FILE_ERROR;
        report.majorText = CodeText(PTX_DEST_FILE_ERROR);
        report.minor = error;
        report.minorText = "Cannot replace " + job->outputPath + ": " + std::strerror(error);
        report.raw = error;
    }

    CStatus status;
    status.SetMajor(report.major, report.majorText.c_str());
    status.SetMinor(report.minor, report.minorText.c_str());
    status.SetRawStatusCode(report.raw);
    CRequestNotification notification{job->request, &status, report.total};
    const bool final = IsFinal(report.major);
    if (job->callback)
        job->callback(&notification, job->reserved);

    if (final) {
        std::lock_guard<std::mutex> g(m_lock);
        Forget(job.get());
    } else if (status.GetMajorCode() == PTX_XFER_ENDED) {
        // SetXferEnd from the callback: the caller is finished with this request.
        {
            std::lock_guard<std::mutex> g(m_lock);
            job->released = true;
            DropReports(*box, job.get());
            Forget(job.get());
        }
        Wake();
    }
}

void Core::WindowGone(HWND window)
{
    std::lock_guard<std::mutex> g(m_lock);
    auto it = m_mailboxes.find(window);
    if (it == m_mailboxes.end())
        return;
    Mailbox& box = *it->second;
    box.dead = true;
    for (auto& report : box.reports) {
        Discard(report);
        if (IsFinal(report.major))
            Forget(report.job.get());
    }
    box.reports.clear();
    // Requests of that thread still running are forgotten as they end (Finished).
    m_mailboxes.erase(it);
}

}  // namespace portix
