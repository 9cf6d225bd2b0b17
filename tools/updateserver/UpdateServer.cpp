// The loopback update server on cpp-httplib.
#include "UpdateServer.h"

#include <httplib.h>

#include <arpa/inet.h>
#include <dirent.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace updateserver {

namespace {

const char kIdentify[] = "nph-identify";
const char kGetObject[] = "nph-get_object/";
const char kAckMessage[] = "nph-ack_message";
const char kManifest[] = "online.upd";

std::string DecodeBase64(const std::string& text)
{
    static const std::string alphabet = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    unsigned value = 0;
    int bits = 0;
    for (char c : text) {
        if (c == '=' || c == ' ')
            break;
        size_t index = alphabet.find(c);
        if (index == std::string::npos)
            return "";
        value = (value << 6) | static_cast<unsigned>(index);
        bits += 6;
        if (bits >= 8) {
            bits -= 8;
            out += static_cast<char>((value >> bits) & 0xFF);
        }
    }
    return out;
}

// The manifest announces messages when any line follows its "CHECKSUM:" line.
bool HasMessageLines(const std::string& manifest)
{
    std::istringstream in(manifest);
    std::string line;
    bool afterChecksum = false;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (afterChecksum && !line.empty())
            return true;
        if (line.compare(0, 9, "CHECKSUM:") == 0)
            afterChecksum = true;
    }
    return false;
}

bool ReadFile(const std::filesystem::path& path, std::string& bytes)
{
    std::error_code ec;
    if (!std::filesystem::is_regular_file(path, ec))
        return false;
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    bytes.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

bool SafeName(const std::string& name)
{
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\\') == std::string::npos && name.find('\0') == std::string::npos;
}

// The server side of the connection a request came on: the socket whose own port is the
// server's and whose peer is the request's.
int ConnectionOf(const httplib::Request& req, int serverPort)
{
    DIR* fds = opendir("/proc/self/fd");
    if (!fds)
        return -1;
    int found = -1;
    while (dirent* entry = readdir(fds)) {
        char* end = nullptr;
        long fd = std::strtol(entry->d_name, &end, 10);
        if (*end || end == entry->d_name)
            continue;
        sockaddr_in self{}, peer{};
        socklen_t selfLength = sizeof self, peerLength = sizeof peer;
        if (getsockname(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&self), &selfLength) != 0 ||
            self.sin_family != AF_INET ||
            getpeername(static_cast<int>(fd), reinterpret_cast<sockaddr*>(&peer), &peerLength) != 0)
            continue;
        if (ntohs(self.sin_port) == serverPort && ntohs(peer.sin_port) == req.remote_port) {
            found = static_cast<int>(fd);
            break;
        }
    }
    closedir(fds);
    return found;
}

}  // namespace

Fault Fault::WithStatus(int status, std::string reason)
{
    Fault f;
    f.kind = Kind::Status;
    f.status = status;
    f.reason = std::move(reason);
    return f;
}

Fault Fault::Cut(std::size_t afterBytes)
{
    Fault f;
    f.kind = Kind::CutBody;
    f.bytes = afterBytes;
    return f;
}

Fault Fault::CloseFirst()
{
    Fault f;
    f.kind = Kind::CloseBeforeHeaders;
    return f;
}

Fault Fault::SlowChunks(std::size_t chunkBytes, int delayMs)
{
    Fault f;
    f.kind = Kind::Slow;
    f.bytes = chunkBytes ? chunkBytes : 1;
    f.delayMs = delayMs;
    return f;
}

Fault Fault::StallAfter(std::size_t bytes, int stallMs)
{
    Fault f;
    f.kind = Kind::Stall;
    f.bytes = bytes;
    f.delayMs = stallMs;
    return f;
}

Fault Fault::LengthOff(long delta)
{
    Fault f;
    f.kind = Kind::WrongLength;
    f.lengthDelta = delta;
    return f;
}

Fault Fault::RedirectTo(Where where, std::string target, int status)
{
    Fault f;
    f.kind = Kind::Redirect;
    f.where = where;
    f.target = std::move(target);
    f.status = status;
    return f;
}

Fault Fault::Undeclared(std::size_t chunkBytes)
{
    Fault f;
    f.kind = Kind::Chunked;
    f.bytes = chunkBytes ? chunkBytes : 1;
    return f;
}

bool ParseFault(const std::string& text, std::string& name, Fault& fault, int& count, std::string& error)
{
    const size_t equals = text.find('=');
    if (equals == std::string::npos || equals == 0) {
        error = "a fault is NAME=KIND[:ARG...][@COUNT]: " + text;
        return false;
    }
    name = text.substr(0, equals);
    std::string spec = text.substr(equals + 1);
    count = 1;
    const size_t at = spec.rfind('@');
    if (at != std::string::npos) {
        const std::string number = spec.substr(at + 1);
        if (number.empty() || number.find_first_not_of("0123456789") != std::string::npos) {
            error = "the count after '@' is not a number: " + text;
            return false;
        }
        count = std::atoi(number.c_str());
        spec.resize(at);
    }
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t colon = spec.find(':', start);
        parts.push_back(spec.substr(start, colon == std::string::npos ? std::string::npos : colon - start));
        if (colon == std::string::npos)
            break;
        start = colon + 1;
    }
    auto number = [&](size_t i, long& value) {
        if (i >= parts.size() || parts[i].empty())
            return false;
        char* end = nullptr;
        value = std::strtol(parts[i].c_str(), &end, 10);
        return *end == '\0';
    };
    const std::string& kind = parts[0];
    long a = 0, b = 0;
    if (kind == "status" && number(1, a) && a >= 100 && a <= 999) {
        std::string reason;
        for (size_t i = 2; i < parts.size(); ++i)
            reason += (i > 2 ? ":" : "") + parts[i];
        fault = Fault::WithStatus(static_cast<int>(a), reason);
    } else if (kind == "cut" && parts.size() == 2 && number(1, a) && a >= 0) {
        fault = Fault::Cut(static_cast<size_t>(a));
    } else if (kind == "close" && parts.size() == 1) {
        fault = Fault::CloseFirst();
    } else if (kind == "slow" && parts.size() == 3 && number(1, a) && number(2, b) && a > 0 && b >= 0) {
        fault = Fault::SlowChunks(static_cast<size_t>(a), static_cast<int>(b));
    } else if (kind == "stall" && parts.size() == 3 && number(1, a) && number(2, b) && a >= 0 && b >= 0) {
        fault = Fault::StallAfter(static_cast<size_t>(a), static_cast<int>(b));
    } else if (kind == "chunked" && parts.size() == 2 && number(1, a) && a > 0) {
        fault = Fault::Undeclared(static_cast<size_t>(a));
    } else if (kind == "length" && parts.size() == 2 && number(1, a)) {
        fault = Fault::LengthOff(a);
    } else if (kind == "redirect" && (parts.size() == 3 || (parts.size() == 4 && number(3, a) && a >= 300 && a < 400))) {
        Fault::Where where;
        if (parts[1] == "same")
            where = Fault::Where::SameHost;
        else if (parts[1] == "host")
            where = Fault::Where::OtherHost;
        else if (parts[1] == "scheme")
            where = Fault::Where::OtherScheme;
        else {
            error = "redirect takes same, host or scheme: " + text;
            return false;
        }
        fault = Fault::RedirectTo(where, parts[2], parts.size() == 4 ? static_cast<int>(a) : 302);
    } else {
        error = "unknown fault (status:CODE[:REASON], cut:BYTES, close, slow:CHUNK:MS, stall:BYTES:MS, "
                "length:DELTA, redirect:same|host|scheme:TARGET[:CODE], chunked:BYTES): " + text;
        return false;
    }
    return true;
}

UpdateServer::UpdateServer(Options options) : m_options(std::move(options))
{
    if (m_options.site.empty() || m_options.site.front() != '/')
        m_options.site.insert(0, "/");
    if (m_options.site.back() != '/')
        m_options.site += '/';
}

UpdateServer::~UpdateServer()
{
    Stop();
}

bool UpdateServer::Start(std::string& error)
{
    std::error_code ec;
    if (!std::filesystem::is_directory(m_options.folder, ec)) {
        error = "the update set " + m_options.folder + " is not a folder";
        return false;
    }
    m_tls = !m_options.certificateFile.empty() && !m_options.keyFile.empty();
    if (m_tls) {
        m_server = std::make_unique<httplib::SSLServer>(m_options.certificateFile.c_str(), m_options.keyFile.c_str());
        if (!m_server->is_valid()) {
            error = "the certificate " + m_options.certificateFile + " or its key " + m_options.keyFile +
                    " does not load";
            m_server.reset();
            return false;
        }
    } else {
        m_server = std::make_unique<httplib::Server>();
    }
    auto handler = [this](const httplib::Request& req, httplib::Response& res) { Handle(req, res); };
    m_server->Get(".*", handler);
    m_server->Post(".*", handler);
    m_server->set_keep_alive_timeout(1);
    // Only the loopback address: the server is never reachable from elsewhere.
    if (m_options.port == 0) {
        m_port = m_server->bind_to_any_port("127.0.0.1");
        if (m_port <= 0) {
            error = "no free port on 127.0.0.1";
            m_server.reset();
            return false;
        }
    } else {
        if (!m_server->bind_to_port("127.0.0.1", m_options.port)) {
            error = "port " + std::to_string(m_options.port) + " on 127.0.0.1 is taken or not allowed";
            m_server.reset();
            return false;
        }
        m_port = m_options.port;
    }
    m_stopping = false;
    m_thread = std::thread([this] { m_server->listen_after_bind(); });
    // Serving before Start returns, so that a Stop right after it finds the server running.
    for (int i = 0; i < 5000 && !m_server->is_running(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return true;
}

void UpdateServer::Stop()
{
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_stopping = true;
    }
    m_stopSignal.notify_all();
    if (m_server)
        m_server->stop();
    if (m_thread.joinable())
        m_thread.join();
    m_server.reset();
}

std::string UpdateServer::BaseUrl() const
{
    return std::string(m_tls ? "https" : "http") + "://127.0.0.1:" + std::to_string(m_port) + m_options.site;
}

void UpdateServer::AddFault(const std::string& name, const Fault& fault, int count)
{
    std::lock_guard<std::mutex> g(m_lock);
    m_faults.push_back({name, fault, count});
}

void UpdateServer::ClearFaults()
{
    std::lock_guard<std::mutex> g(m_lock);
    m_faults.clear();
}

std::vector<RecordedRequest> UpdateServer::Requests() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_requests;
}

std::vector<std::string> UpdateServer::Acknowledged() const
{
    std::lock_guard<std::mutex> g(m_lock);
    return m_acknowledged;
}

bool UpdateServer::TakeFault(const std::string& name, Fault& fault)
{
    std::lock_guard<std::mutex> g(m_lock);
    for (auto it = m_faults.begin(); it != m_faults.end(); ++it) {
        if (it->name != name && it->name != "*")
            continue;
        fault = it->fault;
        if (it->left > 0 && --it->left == 0)
            m_faults.erase(it);
        return true;
    }
    return false;
}

bool UpdateServer::Wait(int ms)
{
    std::unique_lock<std::mutex> g(m_lock);
    return !m_stopSignal.wait_for(g, std::chrono::milliseconds(ms), [this] { return m_stopping; });
}

bool UpdateServer::CloseConnection(const httplib::Request& req)
{
    int fd = ConnectionOf(req, m_port);
    if (fd < 0)
        return false;
    shutdown(fd, SHUT_RDWR);
    return true;
}

bool UpdateServer::WriteOwnAnswer(const httplib::Request& req, const std::string& bytes)
{
    int fd = ConnectionOf(req, m_port);
    if (fd < 0)
        return false;
    size_t sent = 0;
    while (sent < bytes.size()) {
        ssize_t n = send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0)
            break;
        sent += static_cast<size_t>(n);
    }
    // The library's own answer after this finds the connection closed.
    shutdown(fd, SHUT_RDWR);
    return true;
}

void UpdateServer::Handle(const httplib::Request& req, httplib::Response& res)
{
    RecordedRequest record;
    record.method = req.method;
    record.path = req.path;
    const std::string& site = m_options.site;
    const bool underSite = req.path.compare(0, site.size(), site) == 0;
    record.name = underSite ? req.path.substr(site.size()) : "";
    for (const auto& [key, value] : req.params)
        record.form[key] = value;
    const std::string authorization = req.get_header_value("Authorization");
    if (authorization.compare(0, 6, "Basic ") == 0) {
        const std::string pair = DecodeBase64(authorization.substr(6));
        const size_t colon = pair.find(':');
        record.hasCredentials = true;
        record.user = pair.substr(0, colon);
        record.password = colon == std::string::npos ? "" : pair.substr(colon + 1);
    }
    {
        std::lock_guard<std::mutex> g(m_lock);
        m_requests.push_back(record);
    }
    const std::string name = record.name;

    Fault fault;
    const bool faulty = TakeFault(name, fault);
    if (faulty) {
        switch (fault.kind) {
        case Fault::Kind::CloseBeforeHeaders:
            CloseConnection(req);
            res.status = 500;
            return;
        case Fault::Kind::Status:
            Answer(req, res, fault.status, fault.reason, fault.reason.empty() ? "error\n" : fault.reason + "\n",
                   "text/plain", nullptr);
            return;
        case Fault::Kind::Redirect: {
            std::string hostPart = fault.where == Fault::Where::OtherHost ? "localhost" : "127.0.0.1";
            std::string scheme = fault.where == Fault::Where::OtherScheme ? "ftp" : (m_tls ? "https" : "http");
            res.status = fault.status;
            res.set_header("Location", scheme + "://" + hostPart + ":" + std::to_string(m_port) + site + fault.target);
            res.set_content("moved\n", "text/plain");
            return;
        }
        default:
            break;  // a fault of the body: applied to the answer below
        }
    }
    const Fault* bodyFault = faulty ? &fault : nullptr;
    const std::filesystem::path folder(m_options.folder);

    if (name == kIdentify) {
        std::string manifest;
        if (!ReadFile(folder / kManifest, manifest)) {
            Answer(req, res, 404, "No update set", "no update set\n", "text/plain", nullptr);
            return;
        }
        const bool messages = HasMessageLines(manifest);
        Answer(req, res, messages ? 250 : 200, messages ? "Messages Waiting" : "", std::move(manifest), "text/plain",
               bodyFault);
        return;
    }
    if (name.compare(0, sizeof kGetObject - 1, kGetObject) == 0) {
        const std::string object = name.substr(sizeof kGetObject - 1);
        if (!SafeName(object)) {
            Answer(req, res, 403, "Name refused", "name refused\n", "text/plain", nullptr);
            return;
        }
        std::string bytes;
        if (!ReadFile(folder / object, bytes)) {
            Answer(req, res, 404, "", "not found\n", "text/plain", nullptr);
            return;
        }
        Answer(req, res, 200, "", std::move(bytes), "application/octet-stream", bodyFault);
        return;
    }
    if (name == kAckMessage) {
        auto id = record.form.find("MESSAGE_ID");
        if (id == record.form.end() || id->second.empty()) {
            Answer(req, res, 400, "MESSAGE_ID missing", "MESSAGE_ID missing\n", "text/plain", nullptr);
            return;
        }
        {
            std::lock_guard<std::mutex> g(m_lock);
            m_acknowledged.push_back(id->second);
        }
        Answer(req, res, 200, "", "ACK " + id->second + "\r\n", "text/plain", bodyFault);
        return;
    }
    Answer(req, res, 404, "", "not found\n", "text/plain", nullptr);
}

void UpdateServer::Answer(const httplib::Request& req, httplib::Response& res, int status, const std::string& reason,
                          std::string body, const std::string& type, const Fault* fault)
{
    if (!fault) {
        // A status line of its own (a reason, or a status the library has no text for) is written
        // by hand, as a script with non-parsed headers would; over TLS the library's line serves.
        if (!m_tls && !reason.empty()) {
            std::ostringstream out;
            out << "HTTP/1.1 " << status << ' ' << reason << "\r\nContent-Type: " << type
                << "\r\nContent-Length: " << body.size() << "\r\nConnection: close\r\n\r\n"
                << body;
            if (WriteOwnAnswer(req, out.str()))
                return;
        }
        res.status = status;
        res.set_content(body, type);
        return;
    }

    auto data = std::make_shared<std::string>(std::move(body));
    const size_t size = data->size();
    const Fault f = *fault;
    res.status = status;
    switch (f.kind) {
    case Fault::Kind::CutBody:
        res.set_content_provider(size, type, [data, f](size_t offset, size_t, httplib::DataSink& sink) {
            const size_t end = std::min(f.bytes, data->size());
            if (offset < end)
                sink.write(data->data() + offset, end - offset);
            return false;  // the connection closes short of the declared length
        });
        break;
    case Fault::Kind::Slow:
        res.set_content_provider(size, type, [this, data, f](size_t offset, size_t, httplib::DataSink& sink) {
            const size_t n = std::min(f.bytes, data->size() - offset);
            if (!sink.write(data->data() + offset, n))
                return false;
            return offset + n >= data->size() || Wait(f.delayMs);
        });
        break;
    case Fault::Kind::Stall:
        res.set_content_provider(size, type, [this, data, f](size_t offset, size_t, httplib::DataSink& sink) {
            const size_t end = std::min(f.bytes, data->size());
            if (offset < end)
                sink.write(data->data() + offset, end - offset);
            Wait(f.delayMs);
            return false;
        });
        break;
    case Fault::Kind::WrongLength: {
        // The whole body against a wrong declaration, then a close: too much declared leaves the
        // client short; too little leaves it with more than it was told (it must keep to the
        // declared length).
        const long declared = std::max(0L, static_cast<long>(size) + f.lengthDelta);
        res.set_content_provider(static_cast<size_t>(declared), type,
                                 [data](size_t offset, size_t, httplib::DataSink& sink) {
                                     if (offset == 0)
                                         sink.write(data->data(), data->size());
                                     return false;
                                 });
        break;
    }
    case Fault::Kind::Chunked:
        res.set_chunked_content_provider(type, [data, f](size_t offset, httplib::DataSink& sink) {
            const size_t n = std::min(f.bytes, data->size() - offset);
            if (n && !sink.write(data->data() + offset, n))
                return false;
            if (offset + n >= data->size())
                sink.done();
            return true;
        });
        break;
    default:
        res.set_content(*data, type);
        break;
    }
}

}  // namespace updateserver
