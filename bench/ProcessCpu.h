// What the benchmarks that run the built program share: the CPU time of a running process.
#pragma once

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>

#include <sys/types.h>

namespace bench {

// utime + stime of a process, in clock ticks; -1 when it is gone.
inline long long CpuTicks(pid_t pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/stat");
    std::string text((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    std::size_t close = text.rfind(')');
    if (close == std::string::npos)
        return -1;
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    long long utime = 0, stime = 0;
    for (int i = 3; fields >> field; ++i) {
        if (i == 14)
            utime = std::atoll(field.c_str());
        if (i == 15) {
            stime = std::atoll(field.c_str());
            break;
        }
    }
    return utime + stime;
}

}  // namespace bench
