// A code library for the loader's tests: two functions by name and by ordinal, a counter that
// shows whether the library was unloaded, functions that run in the library's own class-library
// module state, and resources of every kind (testlib.rc).
#include <afx.h>

#include <host/Exports.h>

#include <cstring>

#define VL_TEST_EXPORT extern "C" __attribute__((visibility("default")))

namespace {
int g_calls = 0;
}

VL_TEST_EXPORT int VlTestAdd(int a, int b) { return a + b; }
VL_TEST_EXPORT int VlTestCount() { return ++g_calls; }

// String nID of the library's own resources, whatever the caller's resource handle is; -1 when
// there is none.
VL_TEST_EXPORT int VlTestLoadOwnString(UINT nID, char* buffer, int size)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    CString text;
    if (!text.LoadString(nID))
        return -1;
    std::strncpy(buffer, text, static_cast<std::size_t>(size) - 1);
    buffer[size - 1] = '\0';
    return text.GetLength();
}

// The instance and resource handles seen inside the library's own state.
VL_TEST_EXPORT void VlTestOwnHandles(HINSTANCE* instance, HINSTANCE* resources)
{
    AFX_MANAGE_STATE(AfxGetStaticModuleState());
    *instance = AfxGetInstanceHandle();
    *resources = AfxGetResourceHandle();
}

VL_EXPORT_TABLE = {
    {1, "VlTestAdd"},
    {7, "VlTestCount"},
    {8, "VlTestLoadOwnString"},
    {0, nullptr},
};
