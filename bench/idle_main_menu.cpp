// CPU time that the program spends while it waits at the main menu with nobody using it.
//
//   bench_idle_main_menu [BUILD_DIR] [SECONDS]
//
// Starts the program of BUILD_DIR (default: the build this benchmark belongs to) through
// scripts/start on its sample disc, headless (VL_PRESENTER=none), in a fresh state folder whose
// profile says the first run is over. After a settling time for start-up and the menu's fades it
// reads the process's CPU time over SECONDS (default 10) and prints it as a share of one core.
// The target is no measurable CPU: well under 0.1 %.
#include "ProcessCpu.h"

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>

#include <sys/wait.h>
#include <unistd.h>

namespace {

using bench::CpuTicks;

}  // namespace

int main(int argc, char** argv)
{
    namespace fs = std::filesystem;
    fs::path self = fs::canonical("/proc/self/exe");
    fs::path build = argc > 1 ? fs::absolute(argv[1]) : self.parent_path().parent_path();
    int seconds = argc > 2 ? std::atoi(argv[2]) : 10;
    fs::path source = fs::path(VL_SOURCE_DIR);
    if (!fs::exists(build / "bin" / "vl00i1se")) {
        std::printf("idle main menu: no program in %s/bin: build it first\n", build.c_str());
        return 1;
    }
    if (!fs::exists(build / "sample-disc" / "info_dat")) {
        std::string make = (source / "scripts" / "make-sample-disc").string() + " " + build.string() + " >/dev/null";
        if (std::system(make.c_str()) != 0) {
            std::printf("idle main menu: the sample disc could not be made\n");
            return 1;
        }
    }
    std::random_device rd;
    fs::path state = fs::temp_directory_path() / ("vlidle-" + std::to_string(rd()));
    fs::create_directories(state / "vl00i1se" / "vl00i1se");
    std::ofstream(state / "vl00i1se" / "vl00i1se" / "vl00i1se.ini") << "[Runtime]\r\nPrevious Run=1\r\n";

    pid_t pid = fork();
    if (pid == 0) {
        setenv("XDG_DATA_HOME", state.c_str(), 1);
        setenv("VL_PRESENTER", "none", 1);
        std::string start = (source / "scripts" / "start").string();
        if (!freopen("/dev/null", "w", stdout) || !freopen("/dev/null", "w", stderr))
            _exit(127);
        execl(start.c_str(), start.c_str(), build.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    const long ticksPerSecond = sysconf(_SC_CLK_TCK);
    std::this_thread::sleep_for(std::chrono::seconds(8));  // start-up and the menu's fades
    long long before = CpuTicks(pid);
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    long long after = CpuTicks(pid);
    kill(pid, SIGKILL);
    int status = 0;
    waitpid(pid, &status, 0);
    std::error_code ec;
    fs::remove_all(state, ec);
    if (before < 0 || after < 0) {
        std::printf("idle main menu: the program ended before it was measured\n");
        return 1;
    }
    double share = 100.0 * static_cast<double>(after - before) / static_cast<double>(ticksPerSecond * seconds);
    std::printf("idle main menu: %.2f %% of one core over %d s (%lld ticks of %ld per second; target < 0.1 %%)\n",
                share, seconds, after - before, ticksPerSecond);
    return 0;
}
