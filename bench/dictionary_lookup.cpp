// Dictionary look-up benchmark: the whole GCIDE dictionary (Debian's dict-gcide) converted by
// tools/gcide and written by the disc builder, and a fixed word list looked up side by side in
// one run:
//   - the engine: CDictionarySearchEngine::LookUp (suffix passes, nearest word) and the entry's
//     lines read through CDictionaryDoc's window, as the pane does;
//   - dictd, where it is installed: a dictd server started on a loopback port over the same
//     GCIDE database, each word a "DEFINE gcide WORD" on one open connection.
// Prints the median and 95th percentile of each and the ratio engine / dictd.
//
//   bench_dictionary_lookup [DICTD_FOLDER]
#include "search/DictionaryDoc.h"
#include "search/DictionarySearchEngine.h"

#include <DictionaryWriter.h>
#include <GcideSource.h>

#include <host/Drives.h>

#include <afxwin.h>

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <signal.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

const char* const kWords[] = {
    "apple", "apples", "berries", "boxes", "walked", "tallest", "running", "dictionary", "encyclopedia",
    "zebra", "quantum", "volcano", "jazz", "aviation", "photosynthesis", "printing", "broadcast",
    "lake", "abacus", "zymurgy", "ice cream", "well-being", "xylophone", "yesterday", "nearest",
    "computers", "languages", "thinking", "happiest", "churches", "qwertyuiop", "a", "the", "of",
};

using Clock = std::chrono::steady_clock;

double Micros(Clock::duration d) { return std::chrono::duration<double, std::micro>(d).count(); }

struct Stats {
    double median = 0, p95 = 0;
};

Stats Summarise(std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    Stats s;
    if (!times.empty()) {
        s.median = times[times.size() / 2];
        s.p95 = times[std::min(times.size() - 1, times.size() * 95 / 100)];
    }
    return s;
}

// A dictd server on a free loopback port; stopped when destroyed.
class DictdServer {
public:
    bool Start(const std::filesystem::path& dictd, const std::filesystem::path& work)
    {
        const char* candidates[] = {"/usr/sbin/dictd", "/usr/bin/dictd"};
        std::string program;
        for (const char* c : candidates)
            if (access(c, X_OK) == 0)
                program = c;
        if (program.empty())
            return false;
        m_port = 26280 + getpid() % 1000;
        const std::filesystem::path conf = work / "dictd.conf";
        std::ofstream(conf) << "global { listen_to 127.0.0.1 }\naccess { allow * }\ndatabase gcide { data "
                            << (dictd / "gcide.dict.dz").string() << " index " << (dictd / "gcide.index").string()
                            << " }\n";
        m_pid = fork();
        if (m_pid == 0) {
            const std::string port = std::to_string(m_port);
            // Its debugging chatter is not ours to print.
            const int devNull = open("/dev/null", O_WRONLY);
            if (devNull >= 0) {
                dup2(devNull, 1);
                dup2(devNull, 2);
            }
            // dictd drops its privileges: it keeps no files of its own here.
            execl(program.c_str(), "dictd", "-c", conf.string().c_str(), "-p", port.c_str(), "-d", "nodetach",
                  "--pid-file", "/dev/null", static_cast<char*>(nullptr));
            _exit(127);
        }
        for (int i = 0; i < 100; ++i) {
            usleep(100000);
            if (Connect())
                return true;
        }
        return false;
    }
    ~DictdServer()
    {
        if (m_socket >= 0)
            close(m_socket);
        if (m_pid > 0) {
            kill(m_pid, SIGTERM);
            waitpid(m_pid, nullptr, 0);
        }
    }
    // One DEFINE; the bytes of the answer (up to the final status line).
    std::size_t Define(const std::string& word)
    {
        const std::string command = "DEFINE gcide \"" + word + "\"\r\n";
        if (send(m_socket, command.data(), command.size(), 0) < 0)
            return 0;
        return ReadUntilStatus();
    }

private:
    bool Connect()
    {
        m_socket = socket(AF_INET, SOCK_STREAM, 0);
        // Each command is one small write: no waiting for more to send.
        const int noDelay = 1;
        setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, &noDelay, sizeof noDelay);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_port = htons(static_cast<uint16_t>(m_port));
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
            close(m_socket);
            m_socket = -1;
            return false;
        }
        m_buffer.clear();
        ReadLine();  // the banner
        return true;
    }
    std::string ReadLine()
    {
        for (;;) {
            const std::size_t end = m_buffer.find("\r\n");
            if (end != std::string::npos) {
                std::string line = m_buffer.substr(0, end);
                m_buffer.erase(0, end + 2);
                return line;
            }
            char chunk[65536];
            const ssize_t n = recv(m_socket, chunk, sizeof chunk, 0);
            if (n <= 0)
                return std::string();
            m_buffer.append(chunk, static_cast<std::size_t>(n));
        }
    }
    std::size_t ReadUntilStatus()
    {
        std::size_t bytes = 0;
        for (;;) {
            const std::string line = ReadLine();
            bytes += line.size();
            if (line.empty() && m_buffer.empty() && bytes == 0)
                return 0;
            // 250 ends a found definition, 552 a word without one; 5xx errors end too.
            if (line.compare(0, 3, "250") == 0 || line.compare(0, 3, "552") == 0 || line.compare(0, 1, "5") == 0)
                return bytes;
        }
    }

    pid_t m_pid = -1;
    int m_port = 0;
    int m_socket = -1;
    std::string m_buffer;
};

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path dictd = argc > 1 ? argv[1] : "/usr/share/dictd";
    if (!std::filesystem::exists(dictd / "gcide.index")) {
        std::printf("bench_dictionary_lookup: %s has no gcide.index (install dict-gcide)\n", dictd.string().c_str());
        return 1;
    }
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / ("vl-bench-dict-" + std::to_string(getpid()));
    std::filesystem::create_directories(folder / "data");

    const auto t0 = Clock::now();
    std::vector<discbuilder::DictionaryEntry> entries =
        discbuilder::ParseDictionarySource(gcide::FormatDictionarySource(gcide::ReadGcide(dictd / "gcide.index", dictd / "gcide.dict.dz")));
    const discbuilder::DictionaryFiles files = discbuilder::BuildDictionary(std::move(entries));
    discbuilder::WriteDictionary(files, folder / "data");
    std::printf("dictionary: %zu entries, %zu index words, DICTDEFS.ROM %zu bytes, dicmain.ndx %zu, dicmstr.ndx %zu (built in %.1f s)\n",
                files.entries.size(), files.index.size(), files.definitions.size(), files.mainIndex.size(),
                files.masterIndex.size(), Micros(Clock::now() - t0) / 1e6);

    host::MapDrive('T', folder.string(), DRIVE_FIXED, "BENCH");
    CWinApp app("vl00i1se");
    app.m_pszProfileName = "T:\\vl00i1se.ini";
    ::WritePrivateProfileString("Files", "DataDir", "T:\\data", "T:\\vl00i1se.ini");

    const int kRounds = 20;
    std::vector<double> engineTimes;
    {
        CDictionarySearchEngine engine;
        CDictionaryDoc doc;
        std::size_t lines = 0;
        for (int round = 0; round < kRounds; ++round) {
            for (const char* word : kWords) {
                const auto start = Clock::now();
                const DWORD offset = engine.LookUp(word);
                doc.SetAtEnd(FALSE);
                doc.SetEntryStart(offset);
                doc.ReadAt(static_cast<__int64>(offset) - CDictionaryDoc::kForwardLead);
                doc.Position(offset);
                lines += static_cast<std::size_t>(doc.ReadEntryLines(FALSE)->m_lines.GetSize());
                engineTimes.push_back(Micros(Clock::now() - start));
            }
        }
        std::printf("engine: %zu look-ups, %zu definition lines read\n", engineTimes.size(), lines);
    }
    const Stats engine = Summarise(engineTimes);
    std::printf("%-28s median %9.1f us   p95 %9.1f us\n", "engine (look-up + entry)", engine.median, engine.p95);

    DictdServer server;
    if (!server.Start(dictd, folder)) {
        std::printf("dictd: not installed or did not start; no ratio\n");
    } else {
        std::vector<double> dictdTimes;
        std::size_t bytes = 0;
        for (int round = 0; round < kRounds; ++round) {
            for (const char* word : kWords) {
                const auto start = Clock::now();
                bytes += server.Define(word);
                dictdTimes.push_back(Micros(Clock::now() - start));
            }
        }
        const Stats d = Summarise(dictdTimes);
        std::printf("%-28s median %9.1f us   p95 %9.1f us   (%zu bytes of answers)\n", "dictd DEFINE (loopback)", d.median,
                    d.p95, bytes);
        std::printf("ratio engine / dictd: median %.2f, p95 %.2f\n", engine.median / d.median, engine.p95 / d.p95);
    }
    host::ResetDrives();
    std::filesystem::remove_all(folder);
    return 0;
}
