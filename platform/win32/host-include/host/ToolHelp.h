// Test control of the kernel library's tool-help exports: a test hides one so that
// GetProcAddress on "KERNEL32.DLL" does not find it, as on a system that lacks it.
#pragma once

namespace host {

// Hides the export of this name (NULL: none hidden).
void HideKernelExport(const char* name);

}  // namespace host
