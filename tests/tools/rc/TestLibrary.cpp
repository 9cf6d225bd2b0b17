// A code library for the loader's tests: two functions by name and by ordinal, a counter that
// shows whether the library was unloaded, and resources of every kind (testlib.rc).
#include <host/Exports.h>

#define VL_TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
int g_calls = 0;
}

VL_TEST_EXPORT int VlTestAdd(int a, int b) { return a + b; }
VL_TEST_EXPORT int VlTestCount() { return ++g_calls; }

VL_EXPORT_TABLE = {
    {1, "VlTestAdd"},
    {7, "VlTestCount"},
    {0, nullptr},
};
