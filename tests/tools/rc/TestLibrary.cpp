// A code library for the loader's tests: two functions by name and by ordinal, a counter that
// shows whether the library was unloaded, and resources of every kind (testlib.rc).
#include <host/Exports.h>

namespace {
int g_calls = 0;
}

extern "C" __attribute__((visibility("default"))) int VlTestAdd(int a, int b) { return a + b; }
extern "C" __attribute__((visibility("default"))) int VlTestCount() { return ++g_calls; }

VL_EXPORT_TABLE = {
    {1, "VlTestAdd"},
    {7, "VlTestCount"},
    {0, nullptr},
};
