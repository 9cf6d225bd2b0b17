// CPU time the program spends from its start to the main menu, headless, fades included.
//
//   bench_startup_main_menu [BUILD_DIR] [BASELINE_BUILD_DIR] [RUNS]
//
// Starts the program of BUILD_DIR (default: the build this benchmark belongs to) through the
// scripts/start of that build's own source tree, on its sample disc, headless
// (VL_PRESENTER=none), in a fresh state folder whose profile says the first run is over; the
// first start prepares the state folder, the second (the program run directly, as the script
// runs it) is measured. Start-up is over at the last moment the process was busy before a second
// in which it used under 5 % of a core (the menu waits idle, or polls gently in older builds);
// its CPU time up to then, threads included, is the start-up cost. The idle tail after that
// moment is not counted, so a build that polls at the menu is measured fairly.
//
// The unit, measured in the same run, is plain copies of a 640x480 32-bit screen (the unit a
// fade frame is made of): the ratio start-up / unit is comparable between runs and machines.
// With BASELINE_BUILD_DIR (a build of another tree, for example the tree before a change) both
// programs are started in turn in the same run and the speed-up baseline / BUILD_DIR is printed.
// Each figure is the best of RUNS (default 5) starts.

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <deque>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double Seconds(const timeval& t)
{
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_usec) / 1e6;
}

// Run time of a process's living threads in seconds, from the scheduler's nanosecond counters.
double RunSeconds(pid_t pid)
{
    double total = 0;
    std::error_code ec;
    for (const auto& task : fs::directory_iterator("/proc/" + std::to_string(pid) + "/task", ec)) {
        std::ifstream in(task.path() / "schedstat");
        long long ns = 0;
        if (in >> ns)
            total += static_cast<double>(ns) / 1e9;
    }
    return total;
}

// The source tree a build was configured from (its scripts and sample sources belong to it).
fs::path SourceOf(const fs::path& build)
{
    std::ifstream cache(build / "CMakeCache.txt");
    const std::string key = "CMAKE_HOME_DIRECTORY:INTERNAL=";
    for (std::string line; std::getline(cache, line);) {
        if (line.rfind(key, 0) == 0)
            return fs::path(line.substr(key.size()));
    }
    return fs::path(VL_SOURCE_DIR);
}

struct Sample {
    Clock::time_point at;
    double run;  // RunSeconds then
};

// CPU seconds of one start up to the idle main menu; negative when the program ended early.
double OneStart(const fs::path& source, const fs::path& build)
{
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
        // Samples every 10 ms; the start is over once the last second used under 5 % of a core.
        // Its end is then the last sample after a busy step (over 10 % of a core).
        const auto window = std::chrono::seconds(1);
        const double quietShare = 0.05, busyShare = 0.10;
        std::deque<Sample> recent;
        double endRun = -1;
        const auto begin = Clock::now();
        bool gone = false;
        for (;;) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
            Sample now{Clock::now(), RunSeconds(pid)};
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                gone = true;
                break;
            }
            recent.push_back(now);
            while (recent.size() > 1 && now.at - recent[1].at >= window)
                recent.pop_front();
            if (round == 0 && now.at - begin > std::chrono::seconds(2) &&
                now.run - recent.front().run < quietShare * 1.0)
                break;  // the preparing start: only its files matter
            if (round == 1 && now.at - recent.front().at >= window && now.run > 0 &&
                now.run - recent.front().run < quietShare * std::chrono::duration<double>(window).count()) {
                endRun = recent.front().run;
                for (std::size_t k = 1; k < recent.size(); ++k) {
                    double step = std::chrono::duration<double>(recent[k].at - recent[k - 1].at).count();
                    if (recent[k].run - recent[k - 1].run > busyShare * step)
                        endRun = recent[k].run;
                }
                break;
            }
            if (now.at - begin > std::chrono::seconds(60))
                break;
        }
        double tailFrom = endRun, tailTo = gone ? endRun : RunSeconds(pid);
        int status = 0;
        rusage usage{};
        if (!gone) {
            kill(pid, SIGKILL);
            wait4(pid, &status, 0, &usage);
        }
        if (round == 1) {
            std::error_code ec;
            fs::remove_all(state, ec);
            if (gone || endRun < 0)
                return -1;
            // The whole process's time (ended threads included) less the idle tail after the end.
            return Seconds(usage.ru_utime) + Seconds(usage.ru_stime) - std::max(0.0, tailTo - tailFrom);
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

// A build ready to start: its program built and its sample disc made by its own tree.
bool Ready(const fs::path& build)
{
    if (!fs::exists(build / "bin" / "vl00i1se")) {
        std::printf("start-up: no program in %s/bin: build it first\n", build.c_str());
        return false;
    }
    if (!fs::exists(build / "sample-disc" / "info_dat")) {
        std::string make = (SourceOf(build) / "scripts" / "make-sample-disc").string() + " " + build.string() + " >/dev/null";
        if (std::system(make.c_str()) != 0) {
            std::printf("start-up: the sample disc of %s could not be made\n", build.c_str());
            return false;
        }
    }
    return true;
}

bool IsCount(const char* text)
{
    return *text && std::all_of(text, text + std::strlen(text), [](char c) { return c >= '0' && c <= '9'; });
}

}  // namespace

int main(int argc, char** argv)
{
    fs::path self = fs::canonical("/proc/self/exe");
    std::vector<fs::path> builds;
    int runs = 5;
    for (int i = 1; i < argc; ++i) {
        if (IsCount(argv[i]))
            runs = std::max(1, std::atoi(argv[i]));
        else if (builds.size() < 2)
            builds.push_back(fs::absolute(argv[i]).lexically_normal());
    }
    if (builds.empty())
        builds.push_back(self.parent_path().parent_path());
    for (const auto& build : builds) {
        if (!Ready(build))
            return 1;
    }
    // The builds take turns, so that both meet the same machine load.
    std::vector<double> best(builds.size(), -1);
    for (int run = 0; run < runs; ++run) {
        for (std::size_t b = 0; b < builds.size(); ++b) {
            double seconds = OneStart(SourceOf(builds[b]), builds[b]);
            if (seconds < 0) {
                std::printf("start-up: the program of %s ended or never went idle before the main menu\n",
                            builds[b].c_str());
                return 1;
            }
            if (best[b] < 0 || seconds < best[b])
                best[b] = seconds;
        }
    }
    const int frames = 2000;
    double copies = PlainCopies(frames);
    for (int run = 1; run < 3; ++run)
        copies = std::min(copies, PlainCopies(frames));
    std::printf("unit: %d plain copies of a 640x480 32-bit screen: %.1f ms\n", frames, copies * 1e3);
    for (std::size_t b = 0; b < builds.size(); ++b) {
        std::printf("%s: start-up to the main menu %.1f ms of CPU (best of %d), ratio start-up / unit %.3f\n",
                    builds[b].c_str(), best[b] * 1e3, runs, best[b] / copies);
    }
    if (builds.size() == 2) {
        std::printf("speed-up: baseline / this build = %.2f (target: 2 or more against the tree before the work)\n",
                    best[1] / best[0]);
    }
    return 0;
}
