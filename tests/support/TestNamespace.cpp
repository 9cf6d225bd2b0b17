// Every test program keeps to a namespace of its own for what processes share (named objects,
// the registry of windows, registered messages), so that test programs running side by side
// never see each other; the processes a test starts inherit it through the environment. The
// platform asks for it (vl_shared_namespace) from the start-up code of the first library on.
// The segments are removed when the program ends; those of test programs that could not remove
// theirs (a crash, a kill) are removed by the next test program that starts.
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <dirent.h>
#include <signal.h>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

constexpr const char* kPrefix = "vl-test-";

pid_t OwnerPid()
{
    static const pid_t pid = getpid();
    return pid;
}

const std::string& OwnNamespace()
{
    static const std::string* name = new std::string(kPrefix + std::to_string(OwnerPid()));
    return *name;
}

void RemoveOwnNamespace()
{
    if (getpid() != OwnerPid())
        return;  // a forked child (a death test) leaves its parent's segments alone
    shm_unlink(("/" + OwnNamespace()).c_str());
    shm_unlink(("/" + OwnNamespace() + ".windows").c_str());
    shm_unlink(("/" + OwnNamespace() + ".clipboard").c_str());
}

// Removes the segments "vl-test-<pid>[.windows|.clipboard]" of test programs that have ended.
void RemoveAbandonedNamespaces()
{
    DIR* dir = opendir("/dev/shm");
    if (!dir)
        return;
    while (dirent* entry = readdir(dir)) {
        const char* name = entry->d_name;
        if (std::strncmp(name, kPrefix, std::strlen(kPrefix)) != 0)
            continue;
        char* end = nullptr;
        long pid = std::strtol(name + std::strlen(kPrefix), &end, 10);
        if (end == name + std::strlen(kPrefix) || (*end && std::strcmp(end, ".windows") != 0 && std::strcmp(end, ".clipboard") != 0))
            continue;
        if (pid > 0 && kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH)
            shm_unlink(("/" + std::string(name)).c_str());
    }
    closedir(dir);
}

}  // namespace

// The namespace given by whoever started this program (or set by a test), else its own.
extern "C" const char* vl_shared_namespace()
{
    const char* given = std::getenv("VL_SYNC_NAMESPACE");
    return given && *given ? given : OwnNamespace().c_str();
}

namespace {

struct Inherited {
    Inherited()
    {
        if (std::getenv("VL_SYNC_NAMESPACE"))
            return;
        RemoveAbandonedNamespaces();
        setenv("VL_SYNC_NAMESPACE", OwnNamespace().c_str(), 1);
        std::atexit(RemoveOwnNamespace);
    }
} inherited;

}  // namespace
