// A loopback update server: serves one update-set folder under a site path to the program's
// connection engine, records every request, and injects faults on request.
//
//   <site>nph-identify            GET or POST (ISP_USED, VERSION): the set's manifest "online.upd";
//                                 status 250 when message lines follow its "CHECKSUM:" line
//   <site>nph-get_object/<name>   a file of the set; 404 when absent; a name with a separator or
//                                 a "." or ".." name is refused (403)
//   <site>nph-ack_message         MESSAGE_ID: recorded, a small body answers
//
// It listens on 127.0.0.1 only. Tests start it in-process on an ephemeral port; the program
// vlupdateserver runs the same server from the command line.
#pragma once

#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace updateserver {

struct RecordedRequest {
    std::string method;                        // "GET", "POST"
    std::string path;                          // as requested, site included
    std::string name;                          // below the site: "nph-identify", "nph-get_object/a.bin"
    std::map<std::string, std::string> form;   // query and form fields
    bool hasCredentials = false;               // HTTP basic authentication was sent
    std::string user;
    std::string password;
};

// One fault, applied to the next requests of one name (or of every name: "*").
struct Fault {
    enum class Kind {
        Status,              // `status` with `reason` (its own status line on plain http)
        CutBody,             // the full length declared, the connection closed after `bytes`
        CloseBeforeHeaders,  // the connection closed before any answer
        Slow,                // the body in chunks of `bytes`, `delayMs` apart
        Stall,               // `bytes` of the body, then nothing for `delayMs`, then a close
        WrongLength,         // Content-Length declared `lengthDelta` off the body's length
        Redirect,            // `status` (3xx) to `target` on the same host, another host or scheme
        Chunked,             // the body in chunks of `bytes` with no length declared
    };
    enum class Where { SameHost, OtherHost, OtherScheme };

    Kind kind = Kind::Status;
    int status = 500;
    std::string reason;
    std::size_t bytes = 0;
    int delayMs = 0;
    long lengthDelta = 0;
    Where where = Where::SameHost;
    std::string target;                        // a name below the site

    static Fault WithStatus(int status, std::string reason = "");
    static Fault Cut(std::size_t afterBytes);
    static Fault CloseFirst();
    static Fault SlowChunks(std::size_t chunkBytes, int delayMs);
    static Fault StallAfter(std::size_t bytes, int stallMs);
    static Fault LengthOff(long delta);
    static Fault RedirectTo(Where where, std::string target, int status = 302);
    static Fault Undeclared(std::size_t chunkBytes);
};

// Reads a fault as the program's option gives it: NAME=KIND[:ARG[:ARG]][@COUNT], kinds
// status:CODE[:REASON], cut:BYTES, close, slow:CHUNK:MS, stall:BYTES:MS, length:DELTA,
// redirect:same|host|scheme:TARGET[:CODE], chunked:BYTES. COUNT 0 means every request. False with `error` set
// when the text is not such a fault.
bool ParseFault(const std::string& text, std::string& name, Fault& fault, int& count, std::string& error);

struct Options {
    Options() = default;
    explicit Options(std::string updateSet) : folder(std::move(updateSet)) {}

    std::string folder;                        // the update set
    std::string site = "/online/";             // begins and ends with '/'
    int port = 0;                              // 0: any free port
    std::string certificateFile;               // both set: https
    std::string keyFile;
};

class UpdateServer {
public:
    explicit UpdateServer(Options options);
    ~UpdateServer();
    UpdateServer(const UpdateServer&) = delete;
    UpdateServer& operator=(const UpdateServer&) = delete;

    // Binds 127.0.0.1 and starts serving on a thread of its own. False with `error` set when the
    // folder is not a folder, the port is taken or the certificate does not load.
    bool Start(std::string& error);
    void Stop();

    int Port() const { return m_port; }
    // "http://127.0.0.1:PORT/online/" (https with a certificate).
    std::string BaseUrl() const;

    // The fault applies to the next `count` requests of `name` ("*": any); count <= 0: all of them.
    void AddFault(const std::string& name, const Fault& fault, int count = 1);
    void ClearFaults();

    std::vector<RecordedRequest> Requests() const;
    std::vector<std::string> Acknowledged() const;

private:
    struct PendingFault {
        std::string name;
        Fault fault;
        int left = 0;  // <= 0: forever
    };

    void Handle(const httplib::Request& req, httplib::Response& res);
    bool TakeFault(const std::string& name, Fault& fault);
    // Answers `body` with `status`, applying a body fault when there is one.
    void Answer(const httplib::Request& req, httplib::Response& res, int status, const std::string& reason,
                std::string body, const std::string& type, const Fault* fault);
    // Writes a whole answer of its own on the request's connection and closes it (plain http).
    bool WriteOwnAnswer(const httplib::Request& req, const std::string& bytes);
    bool CloseConnection(const httplib::Request& req);
    // Waits up to `ms`; false when the server stops meanwhile.
    bool Wait(int ms);

    Options m_options;
    std::unique_ptr<httplib::Server> m_server;
    std::thread m_thread;
    int m_port = 0;
    bool m_tls = false;

    mutable std::mutex m_lock;
    std::condition_variable m_stopSignal;
    bool m_stopping = false;
    std::vector<PendingFault> m_faults;
    std::vector<RecordedRequest> m_requests;
    std::vector<std::string> m_acknowledged;
};

}  // namespace updateserver
