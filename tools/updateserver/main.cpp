// vlupdateserver: the loopback update server as a program.
//
//   vlupdateserver [--site PATH] [--cert FILE --key FILE] [--fault NAME=KIND...]... FOLDER [PORT]
//
// Serves the update-set FOLDER on 127.0.0.1 (PORT 0 or none: any free port), prints the base
// address on its first line of output, and stops on SIGINT or SIGTERM.
#include "UpdateServer.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

int Usage(const char* message)
{
    std::fprintf(stderr, "vlupdateserver: %s\n", message);
    std::fprintf(stderr,
                 "usage: vlupdateserver [--site PATH] [--cert FILE --key FILE] [--fault NAME=KIND[:ARG...][@COUNT]]... "
                 "FOLDER [PORT]\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv)
{
    updateserver::Options options;
    struct Planned {
        std::string name;
        updateserver::Fault fault;
        int count;
    };
    std::vector<Planned> faults;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char* what) -> const char* {
            if (i + 1 >= argc) {
                std::exit(Usage((arg + " needs " + what).c_str()));
            }
            return argv[++i];
        };
        if (arg == "--site") {
            options.site = value("a path");
        } else if (arg == "--cert") {
            options.certificateFile = value("a file");
        } else if (arg == "--key") {
            options.keyFile = value("a file");
        } else if (arg == "--fault") {
            Planned p;
            std::string error;
            if (!updateserver::ParseFault(value("a fault"), p.name, p.fault, p.count, error))
                return Usage(error.c_str());
            faults.push_back(p);
        } else if (arg == "--help" || arg == "-h") {
            Usage("serves an update set on 127.0.0.1");
            return 0;
        } else if (!arg.empty() && arg[0] == '-') {
            return Usage(("unknown option " + arg).c_str());
        } else {
            positional.push_back(arg);
        }
    }
    if (positional.empty() || positional.size() > 2)
        return Usage("give the update-set folder and, if wanted, a port");
    if (options.certificateFile.empty() != options.keyFile.empty())
        return Usage("--cert and --key go together");
    options.folder = positional[0];
    if (positional.size() == 2) {
        char* end = nullptr;
        long port = std::strtol(positional[1].c_str(), &end, 10);
        if (*end || port < 0 || port > 65535)
            return Usage(("not a port: " + positional[1]).c_str());
        options.port = static_cast<int>(port);
    }

    // The signals are taken by sigwait below; the server's threads inherit the blocked mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGINT);
    sigaddset(&stopSignals, SIGTERM);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

    updateserver::UpdateServer server(options);
    for (const auto& p : faults)
        server.AddFault(p.name, p.fault, p.count);
    std::string error;
    if (!server.Start(error)) {
        std::fprintf(stderr, "vlupdateserver: %s\n", error.c_str());
        return 1;
    }
    std::printf("%s\n", server.BaseUrl().c_str());
    std::fflush(stdout);

    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
    std::fprintf(stderr, "vlupdateserver: stopped (%s), %zu requests served\n", strsignal(signal),
                 server.Requests().size());
    return 0;
}
