// Transfers over libcurl: one easy handle per request on one multi handle, driven by the worker
// thread. Redirects are followed here, not by libcurl, so that each hop is checked against the
// engine's rules; the body goes to a temporary file beside the output, which replaces the output
// only when the transfer is complete.
#include "Worker.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdarg>
#include <climits>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <strings.h>
#include <unistd.h>

#include <atomic>
#include <chrono>

namespace portix {

using Clock = std::chrono::steady_clock;

struct Transfer {
    std::shared_ptr<Job> job;
    CURL* easy = nullptr;
    int fd = -1;
    std::string tempPath;
    std::string url;                // the current hop
    std::string originalHost;
    bool post = false;
    int redirects = 0;
    // The current response.
    int status = 0;
    std::string reason;
    bool redirectPending = false;
    bool begun = false;
    std::int64_t declared = -1;
    std::int64_t received = 0;
    Clock::time_point lastActivity;
    // A failure found inside a libcurl callback, reported when the handle is done.
    bool failed = false;
    Report failure;
    char errorText[CURL_ERROR_SIZE] = {};
};

namespace {

const int kMaxRedirects = 3;

Report MakeReport(int major, int minor, const std::string& minorText, int raw = 0, long total = -1)
{
    Report r;
    r.major = major;
    r.majorText = CodeText(major);
    r.minor = minor;
    r.minorText = minorText;
    r.raw = raw;
    r.total = total;
    return r;
}

Report Remote(int minor, const std::string& detail, int raw = 0)
{
    std::string text = CodeText(minor);
    if (!detail.empty())
        text += " " + detail;
    return MakeReport(PTX_REMOTE_ERROR, minor, text, raw);
}

std::string Format(const char* format, ...) __attribute__((format(printf, 1, 2)));
std::string Format(const char* format, ...)
{
    char buffer[512];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    return buffer;
}

// The host (lower case) of an address, with ":port" when `withPort`; empty when it has none.
std::string HostOf(const std::string& url, bool withPort)
{
    std::string result;
    CURLU* parsed = curl_url();
    if (parsed && curl_url_set(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK) {
        char* hostName = nullptr;
        char* port = nullptr;
        if (curl_url_get(parsed, CURLUPART_HOST, &hostName, 0) == CURLUE_OK)
            result = hostName;
        if (withPort && curl_url_get(parsed, CURLUPART_PORT, &port, CURLU_DEFAULT_PORT) == CURLUE_OK)
            result += std::string(":") + port;
        curl_free(hostName);
        curl_free(port);
    }
    curl_url_cleanup(parsed);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

std::string SchemeOf(const std::string& url)
{
    std::string result;
    CURLU* parsed = curl_url();
    char* scheme = nullptr;
    if (parsed && curl_url_set(parsed, CURLUPART_URL, url.c_str(), CURLU_NON_SUPPORT_SCHEME) == CURLUE_OK &&
        curl_url_get(parsed, CURLUPART_SCHEME, &scheme, 0) == CURLUE_OK)
        result = scheme;
    curl_free(scheme);
    curl_url_cleanup(parsed);
    for (char& c : result)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return result;
}

// The identity goes only to the host it was given for ("name" or "name:port").
bool IdentityFor(const CAuthorizationInfo& identity, const std::string& url)
{
    std::string configured = static_cast<LPCSTR>(identity.m_strHost);
    if (configured.empty() || identity.m_strUser.IsEmpty())
        return false;
    for (char& c : configured)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    const bool withPort = configured.find(':') != std::string::npos && configured.front() != '[';
    return HostOf(url, withPort) == configured;
}

void Fail(Transfer& t, Report report)
{
    if (!t.failed) {
        t.failed = true;
        t.failure = std::move(report);
    }
}

size_t OnHeader(char* data, size_t size, size_t count, void* context)
{
    Transfer& t = *static_cast<Transfer*>(context);
    const size_t length = size * count;
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r'))
        line.pop_back();
    t.lastActivity = Clock::now();

    if (line.compare(0, 5, "HTTP/") == 0) {
        // A new response (an interim one, or the next hop's).
        t.status = 0;
        t.reason.clear();
        t.redirectPending = false;
        size_t space = line.find(' ');
        if (space != std::string::npos) {
            t.status = std::atoi(line.c_str() + space + 1);
            size_t reasonAt = line.find(' ', space + 1);
            if (reasonAt != std::string::npos)
                t.reason = line.substr(reasonAt + 1);
        }
        return length;
    }
    if (!line.empty()) {
        if (strncasecmp(line.c_str(), "location:", 9) == 0 && t.status >= 300 && t.status < 400)
            t.redirectPending = true;
        return length;
    }

    // The end of a header block.
    if (t.status < 200)
        return length;  // an interim answer: the real one follows
    if (t.status >= 300 && t.status < 400 && t.redirectPending)
        return length;  // followed when this response is done; its body is dropped
    if (t.status >= 300) {
        Fail(t, MakeReport(PTX_SERVER_ERROR, t.status, Format("%d: %s", t.status, t.reason.c_str()), t.status));
        return 0;
    }
    curl_off_t declared = -1;
    curl_easy_getinfo(t.easy, CURLINFO_CONTENT_LENGTH_DOWNLOAD_T, &declared);
    t.declared = declared < 0 ? -1 : declared;
    if (t.declared > t.job->settings.bodyCap) {
        Fail(t, Remote(PTX_ABORTED_LOCALLY,
                       Format("The server declared %lld bytes; the engine takes at most %lld.",
                              static_cast<long long>(t.declared), static_cast<long long>(t.job->settings.bodyCap))));
        return 0;
    }
    t.begun = true;
    Report begun = MakeReport(PTX_XFER_BEGUN, t.status, t.reason, t.status,
                              t.declared > LONG_MAX ? LONG_MAX : static_cast<long>(t.declared));
    t.job->total = begun.total;
    Core::Get().Post(t.job, std::move(begun), false);
    return length;
}

size_t OnBody(char* data, size_t size, size_t count, void* context)
{
    Transfer& t = *static_cast<Transfer*>(context);
    const size_t length = size * count;
    t.lastActivity = Clock::now();
    if (!t.begun)
        return length;  // the body of a redirect
    if (t.received + static_cast<std::int64_t>(length) > t.job->settings.bodyCap) {
        Fail(t, Remote(PTX_ABORTED_LOCALLY, Format("The body is larger than %lld bytes.",
                                                   static_cast<long long>(t.job->settings.bodyCap))));
        return 0;
    }
    size_t done = 0;
    while (done < length) {
        ssize_t n = ::write(t.fd, data + done, length - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int error = n < 0 ? errno : ENOSPC;
            Fail(t, MakeReport(PTX_DEST_FILE_ERROR, error,
                               Format("Writing %s failed: %s", t.tempPath.c_str(), std::strerror(error)), error));
            return 0;
        }
        done += static_cast<size_t>(n);
    }
    t.received += static_cast<std::int64_t>(length);
    Core::Get().Post(t.job, MakeReport(PTX_XFER_IN_PROCESS, static_cast<int>(t.received), "", 0, t.job->total),
                     false);
    return length;
}

}  // namespace

Worker::Worker(Core& core) : m_core(core), m_multi(curl_multi_init()) {}

Worker::~Worker()
{
    // Transfers still running when the process ends leave nothing behind.
    for (auto& t : m_transfers) {
        curl_multi_remove_handle(m_multi, t->easy);
        curl_easy_cleanup(t->easy);
        if (t->fd >= 0)
            ::close(t->fd);
        if (!t->tempPath.empty())
            ::unlink(t->tempPath.c_str());
    }
    m_transfers.clear();
    curl_multi_cleanup(m_multi);
}

void Worker::Wake()
{
    curl_multi_wakeup(m_multi);
}

Transfer* Worker::Find(Job* job)
{
    for (auto& t : m_transfers)
        if (t->job.get() == job)
            return t.get();
    return nullptr;
}

void Worker::Run()
{
    for (;;) {
        std::vector<std::shared_ptr<Job>> fresh;
        std::vector<Job*> stopping;
        m_core.TakeWork(fresh, stopping);
        if (m_core.Stopping())
            return;
        for (auto& job : fresh)
            Start(job);
        for (Job* job : stopping)
            if (Transfer* t = Find(job))
                End(*t, MakeReport(PTX_XFER_CANCELLED, 0, ""));

        int running = 0;
        curl_multi_perform(m_multi, &running);
        int left = 0;
        while (CURLMsg* message = curl_multi_info_read(m_multi, &left)) {
            if (message->msg != CURLMSG_DONE)
                continue;
            Transfer* done = nullptr;
            curl_easy_getinfo(message->easy_handle, CURLINFO_PRIVATE, &done);
            if (done)
                Complete(*done, message->data.result);
        }
        CheckStalls();
        curl_multi_poll(m_multi, nullptr, 0, static_cast<int>(WaitMilliseconds()), nullptr);
    }
}

long Worker::WaitMilliseconds() const
{
    if (m_transfers.empty())
        return 60000;
    long wait = 1000;
    const auto now = Clock::now();
    for (auto& t : m_transfers) {
        auto due = t->lastActivity + std::chrono::milliseconds(t->job->settings.stallTimeoutMs);
        long left = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(due - now).count()) + 1;
        wait = std::max(1L, std::min(wait, left));
    }
    return wait;
}

void Worker::CheckStalls()
{
    const auto now = Clock::now();
    for (size_t i = 0; i < m_transfers.size();) {
        Transfer& t = *m_transfers[i];
        const long stall = t.job->settings.stallTimeoutMs;
        if (now - t.lastActivity > std::chrono::milliseconds(stall)) {
            End(t, Remote(PTX_HOST_CONNECTION_LOST,
                          Format("Nothing arrived from the server for %ld ms.", stall)));
            continue;  // End removed it
        }
        ++i;
    }
}

void Worker::Start(const std::shared_ptr<Job>& job)
{
    auto owned = std::make_unique<Transfer>();
    Transfer& t = *owned;
    t.job = job;
    t.url = job->url;
    t.post = job->post;
    t.originalHost = HostOf(job->url, false);
    t.lastActivity = Clock::now();
    m_transfers.push_back(std::move(owned));

    // The body goes to a new file beside the output, never through an existing name or a link.
    static std::atomic<unsigned> serial{0};
    t.tempPath = job->outputPath + Format(".ptx%d-%u", static_cast<int>(::getpid()), ++serial);
    t.fd = ::open(t.tempPath.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (t.fd < 0) {
        const int error = errno;
        const std::string path = t.tempPath;
        t.tempPath.clear();
        End(t, MakeReport(PTX_DEST_FILE_ERROR, error,
                          Format("Cannot create %s: %s", path.c_str(), std::strerror(error)), error));
        return;
    }

    t.easy = curl_easy_init();
    if (!t.easy) {
        End(t, MakeReport(PTX_MEMORY_ERROR, 0, "No transfer handle could be made."));
        return;
    }
    const host::EngineSettings& s = job->settings;
    curl_easy_setopt(t.easy, CURLOPT_PRIVATE, &t);
    curl_easy_setopt(t.easy, CURLOPT_URL, t.url.c_str());
    curl_easy_setopt(t.easy, CURLOPT_ERRORBUFFER, t.errorText);
    curl_easy_setopt(t.easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(t.easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
    curl_easy_setopt(t.easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(t.easy, CURLOPT_FOLLOWLOCATION, 0L);
    // A connection of its own for every request: an answer that sent more than it declared cannot
    // spoil the next request's answer.
    curl_easy_setopt(t.easy, CURLOPT_FORBID_REUSE, 1L);
    // The proxy of the connection settings, else straight to the server, whatever the
    // environment says.
    curl_easy_setopt(t.easy, CURLOPT_PROXY, job->proxy.c_str());
    if (!job->proxy.empty() && !job->noProxy.empty())
        curl_easy_setopt(t.easy, CURLOPT_NOPROXY, job->noProxy.c_str());
    curl_easy_setopt(t.easy, CURLOPT_CONNECTTIMEOUT_MS, s.connectTimeoutMs);
    curl_easy_setopt(t.easy, CURLOPT_SSL_VERIFYPEER, 1L);
    curl_easy_setopt(t.easy, CURLOPT_SSL_VERIFYHOST, 2L);
    if (!s.certificateFile.empty())
        curl_easy_setopt(t.easy, CURLOPT_CAINFO, s.certificateFile.c_str());
    curl_easy_setopt(t.easy, CURLOPT_USERAGENT, "Portix/3.0");
    curl_easy_setopt(t.easy, CURLOPT_HEADERFUNCTION, OnHeader);
    curl_easy_setopt(t.easy, CURLOPT_HEADERDATA, &t);
    curl_easy_setopt(t.easy, CURLOPT_WRITEFUNCTION, OnBody);
    curl_easy_setopt(t.easy, CURLOPT_WRITEDATA, &t);
    if (t.post) {
        curl_easy_setopt(t.easy, CURLOPT_POSTFIELDSIZE, static_cast<long>(job->form.size()));
        curl_easy_setopt(t.easy, CURLOPT_COPYPOSTFIELDS, job->form.c_str());
    }
    if (IdentityFor(job->identity, t.url)) {
        curl_easy_setopt(t.easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        curl_easy_setopt(t.easy, CURLOPT_USERNAME, static_cast<LPCSTR>(job->identity.m_strUser));
        curl_easy_setopt(t.easy, CURLOPT_PASSWORD, static_cast<LPCSTR>(job->identity.m_strPassword));
    }
    if (curl_multi_add_handle(m_multi, t.easy) != CURLM_OK)
        End(t, MakeReport(PTX_MEMORY_ERROR, 0, "The transfer could not be started."));
}

void Worker::Redirect(Transfer& t)
{
    char* target = nullptr;
    curl_easy_getinfo(t.easy, CURLINFO_REDIRECT_URL, &target);
    const std::string from = Format("%d: %s", t.status, t.reason.c_str());
    if (!target) {
        End(t, MakeReport(PTX_SERVER_ERROR, t.status, from + " (no usable Location)", t.status));
        return;
    }
    const std::string next = target;
    const std::string scheme = SchemeOf(next);
    if (scheme != "http" && scheme != "https") {
        End(t, MakeReport(PTX_SERVER_ERROR, t.status, from + " (redirect to another scheme refused: " + next + ")",
                          t.status));
        return;
    }
    if (HostOf(next, false) != t.originalHost) {
        End(t, MakeReport(PTX_SERVER_ERROR, t.status, from + " (redirect to another host refused: " + next + ")",
                          t.status));
        return;
    }
    if (++t.redirects > kMaxRedirects) {
        End(t, MakeReport(PTX_SERVER_ERROR, t.status,
                          from + Format(" (more than %d redirects)", kMaxRedirects), t.status));
        return;
    }
    curl_multi_remove_handle(m_multi, t.easy);
    t.url = next;
    // A form sent to 301, 302 or 303 is not sent again: the next hop is fetched.
    if (t.post && (t.status == 301 || t.status == 302 || t.status == 303)) {
        t.post = false;
        curl_easy_setopt(t.easy, CURLOPT_HTTPGET, 1L);
    }
    curl_easy_setopt(t.easy, CURLOPT_URL, t.url.c_str());
    if (!IdentityFor(t.job->identity, t.url)) {
        curl_easy_setopt(t.easy, CURLOPT_USERNAME, nullptr);
        curl_easy_setopt(t.easy, CURLOPT_PASSWORD, nullptr);
    }
    t.status = 0;
    t.reason.clear();
    t.redirectPending = false;
    t.lastActivity = Clock::now();
    if (curl_multi_add_handle(m_multi, t.easy) != CURLM_OK)
        End(t, MakeReport(PTX_MEMORY_ERROR, 0, "The transfer could not be continued."));
}

void Worker::Complete(Transfer& t, CURLcode result)
{
    if (t.failed) {
        End(t, t.failure);
        return;
    }
    const std::string detail = t.errorText[0] ? std::string("(") + t.errorText + ")" : curl_easy_strerror(result);
    const int raw = static_cast<int>(result);
    switch (result) {
    case CURLE_OK:
        break;
    case CURLE_COULDNT_RESOLVE_HOST:
        End(t, Remote(PTX_HOST_NOT_FOUND, detail, raw));
        return;
    case CURLE_COULDNT_CONNECT:
    case CURLE_OPERATION_TIMEDOUT:
        End(t, Remote(PTX_REMOTE_FAILURE, detail, raw));
        return;
    case CURLE_PARTIAL_FILE:
        End(t, Remote(PTX_REMOTE_CLOSED, detail, raw));
        return;
    case CURLE_GOT_NOTHING:
    case CURLE_WEIRD_SERVER_REPLY:
        End(t, Remote(PTX_NO_VALID_HEADER, detail, raw));
        return;
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
        End(t, Remote(t.begun ? PTX_REMOTE_CLOSED : PTX_NO_VALID_HEADER, detail, raw));
        return;
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        End(t, Remote(PTX_REMOTE_FAILURE, "The server's certificate was not accepted " + detail, raw));
        return;
    case CURLE_OUT_OF_MEMORY:
        End(t, MakeReport(PTX_MEMORY_ERROR, 0, detail, raw));
        return;
    default:
        End(t, Remote(PTX_REMOTE_FAILURE, detail, raw));
        return;
    }

    if (t.redirectPending) {
        Redirect(t);
        return;
    }
    if (!t.begun) {
        End(t, Remote(PTX_NO_VALID_HEADER, ""));
        return;
    }
    if (t.declared >= 0 && t.received != t.declared) {
        End(t, Remote(PTX_REMOTE_CLOSED, Format("%lld of %lld bytes arrived.", static_cast<long long>(t.received),
                                                static_cast<long long>(t.declared))));
        return;
    }
    const int fd = t.fd;
    t.fd = -1;
    if (::close(fd) != 0) {
        const int error = errno;
        End(t, MakeReport(PTX_DEST_FILE_ERROR, error,
                          Format("Writing %s failed: %s", t.tempPath.c_str(), std::strerror(error)), error));
        return;
    }
    if (!m_core.DecideEnd(t.job.get())) {
        End(t, MakeReport(PTX_XFER_CANCELLED, 0, ""));
        return;
    }
    Report ended = MakeReport(PTX_XFER_ENDED, static_cast<int>(t.received), "", 0, t.job->total);
    ended.completeFile = std::move(t.tempPath);  // renamed over the output as the report is delivered
    t.tempPath.clear();
    End(t, std::move(ended));
}

void Worker::End(Transfer& t, Report report)
{
    if (t.easy) {
        curl_multi_remove_handle(m_multi, t.easy);
        curl_easy_cleanup(t.easy);
        t.easy = nullptr;
    }
    if (t.fd >= 0) {
        ::close(t.fd);
        t.fd = -1;
    }
    if (!t.tempPath.empty())
        ::unlink(t.tempPath.c_str());
    std::shared_ptr<Job> job = t.job;
    if (report.major != PTX_XFER_ENDED && !m_core.DecideEnd(job.get()))
        report = MakeReport(PTX_XFER_CANCELLED, 0, "");
    if (report.major == PTX_XFER_CANCELLED)
        report.total = job->total;
    m_core.Post(job, std::move(report), true);
    m_core.Finished(job.get());
    for (auto it = m_transfers.begin(); it != m_transfers.end(); ++it)
        if (it->get() == &t) {
            m_transfers.erase(it);
            break;
        }
}

}  // namespace portix
