// A code library of the class library's kind for the module-state tests: functions that run in
// the library's own module state, with resources of its own (testmfc.rc).
#include <afx.h>

#include <host/Exports.h>

#include <cstring>

#define VL_TEST_EXPORT extern "C" __attribute__((visibility("default")))

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
    {8, "VlTestLoadOwnString"},
    {0, nullptr},
};
