// CPU time the program spends from its start to the main menu, headless, fades included.
//
//   bench_startup_main_menu [BUILD_DIR] [RUNS]
//
// Starts the program of BUILD_DIR (default: the build this benchmark belongs to) through
// scripts/start on its sample disc, headless (VL_PRESENTER=none), in a fresh state folder whose
// profile says the first run is over; the first start prepares the state folder, the second
// (the program run directly, as the script runs it) is measured. Start-up is over when the
// process has used no CPU for a second and a half (the menu waits idle); its CPU time up to then
// is the start-up cost. The baseline, measured in the same run, is plain copies of a 640x480
// 32-bit screen (the unit a fade frame is made of): the ratio start-up / baseline is comparable
// between runs and machines. The figure printed is the best of RUNS (default 5) starts; the
// before figure is the same benchmark run on the build of the tree before a change.
#include "ProcessCpu.h"

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

using bench::CpuTicks;

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

double g_lastUser = 0;  // user-mode part of the last start's CPU time

// CPU seconds of one start up to the idle main menu; negative when the program ended early.
double OneStart(const std::filesystem::path& source, const std::filesystem::path& build)
{
    namespace fs = std::filesystem;
    std::random_device rd;
    fs::path state = fs::temp_directory_path() / ("vlstart-" + std::to_string(rd()));
    fs::create_directories(state / "vl00i1se" / "vl00i1se");
    std::ofstream(state / "vl00i1se" / "vl00i1se" / "vl00i1se.ini") << "[Runtime]\r\nPrevious Run=1\r\n";
    // The state folder is prepared once (program and database copied) so that the measured start
    // is not the first one's copying.
    for (int round = 0; round < 2; ++round) {
        pid_t pid = fork();
        if (pid == 0) {
            setenv("XDG_DATA_HOME", state.c_str(), 1);
            setenv("VL_PRESENTER", "none", 1);
            if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
                _exit(127);
            if (round == 0) {
                std::string start = (source / "scripts" / "start").string();
                execl(start.c_str(), start.c_str(), build.c_str(), static_cast<char*>(nullptr));
                _exit(127);
            }
            // The measured start runs the program itself as scripts/start ran it the first
            // time, so that the script's copying and comparing is not counted.
            fs::path prog = state / "vl00i1se" / "vl00i1se";
            std::string drives = "C=" + (state / "vl00i1se").string() + ",fixed,VL_USER;D=" +
                                 (build / "sample-disc").string() + ",cdrom,VL00I1SE";
            setenv("VL_DRIVES", drives.c_str(), 1);
            setenv("VL_SYSTEM_ROOT", (state / "vl00i1se" / "system").c_str(), 1);
            if (chdir(prog.c_str()) != 0)
                _exit(127);
            execl((prog / "vl00i1se").c_str(), (prog / "vl00i1se").c_str(), static_cast<char*>(nullptr));
            _exit(127);
        }
        long long last = -1;
        auto quietSince = std::chrono::steady_clock::now();
        auto begin = quietSince;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
            long long ticks = CpuTicks(pid);
            auto now = std::chrono::steady_clock::now();
            if (ticks < 0)
                break;
            if (ticks != last) {
                last = ticks;
                quietSince = now;
            } else if (ticks > 0 && now - quietSince > std::chrono::milliseconds(1500)) {
                break;
            }
            if (now - begin > std::chrono::seconds(60))
                break;
        }
        kill(pid, SIGKILL);
        int status = 0;
        rusage usage{};
        wait4(pid, &status, 0, &usage);
        if (round == 1) {
            std::error_code ec;
            fs::remove_all(state, ec);
            if (WIFEXITED(status))
                return -1;
            g_lastUser = Seconds(usage.ru_utime);
            return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
        }
    }
    return -1;
}

// CPU seconds of `frames` plain copies of a 640x480 32-bit screen.
double PlainCopies(int frames)
{
    std::vector<unsigned> from(640 * 480, 0x336699u), to(640 * 480);
    rusage before{}, after{};
    getrusage(RUSAGE_SELF, &before);
    for (int i = 0; i < frames; ++i) {
        from[static_cast<std::size_t>(i) % from.size()] = static_cast<unsigned>(i);
        std::memcpy(to.data(), from.data(), from.size() * sizeof(unsigned));
        asm volatile("" : : "r"(to.data()) : "memory");
    }
    getrusage(RUSAGE_SELF, &after);
    return Seconds(after.ru_utime) + Seconds(after.ru_stime) - Seconds(before.ru_utime) - Seconds(before.ru_stime);
}

}  // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    fs::path self = fs::canonical("/proc/self/exe");
    fs::path build = argc > 1 ? fs::absolute(argv[1]) : self.parent_path().parent_path();
    int runs = argc > 2 ? std::max(1, std::atoi(argv[2])) : 5;
    fs::path source = fs::path(VL_SOURCE_DIR);
    if (!fs::exists(build / "bin" / "vl00i1se")) {
        std::printf("start-up: no program in %s/bin: build it first\n", build.c_str());
        return 1;
    }
    if (!fs::exists(build / "sample-disc" / "info_dat")) {
        std::string make = (source / "scripts" / "make-sample-disc").string() + " " + build.string() + " >/dev/null";
        if (std::system(make.c_str()) != 0) {
            std::printf("start-up: the sample disc could not be made\n");
            return 1;
        }
    }
    double best = -1, bestUser = 0;
    for (int run = 0; run < runs; ++run) {
        double seconds = OneStart(source, build);
        if (seconds < 0) {
            std::printf("start-up: the program ended before it reached the main menu\n");
            return 1;
        }
        if (best < 0 || seconds < best) {
            best = seconds;
            bestUser = g_lastUser;
        }
    }
    const int frames = 2000;
    double copies = PlainCopies(frames);
    for (int run = 1; run < 3; ++run)
        copies = std::min(copies, PlainCopies(frames));
    std::printf("start-up to the main menu: %.1f ms of CPU, %.1f ms of it in user mode (best of %d)\n", best * 1e3,
                bestUser * 1e3, runs);
    std::printf("baseline: %d plain copies of a 640x480 32-bit screen: %.1f ms\n", frames, copies * 1e3);
    std::printf("ratio start-up / baseline: %.2f (target: half of the figure before)\n", best / copies);
    return 0;
}
