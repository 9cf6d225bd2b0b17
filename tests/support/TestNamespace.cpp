// Every test program keeps to a namespace of its own for what processes share (named objects,
// the registry of windows, registered messages), so that test programs running side by side
// never see each other; the processes a test starts inherit it through the environment. The
// platform asks for it (vl_shared_namespace) from the start-up code of the first library on;
// the segments are removed when the program ends.
#include <cstdlib>
#include <string>
#include <sys/mman.h>
#include <unistd.h>

namespace {

const std::string& OwnNamespace()
{
    static const std::string* name = new std::string("vl-test-" + std::to_string(getpid()));
    return *name;
}

void RemoveOwnNamespace()
{
    shm_unlink(("/" + OwnNamespace()).c_str());
    shm_unlink(("/" + OwnNamespace() + ".windows").c_str());
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
        setenv("VL_SYNC_NAMESPACE", OwnNamespace().c_str(), 1);
        std::atexit(RemoveOwnNamespace);
    }
} inherited;

}  // namespace
