// The loader's table of modules, shared by the module and the resource parts of the platform
// layer: the program, the code libraries and resource-only libraries LoadLibrary opened, and the
// resource bundles that modules registered while loading.
#pragma once

#include <windows.h>

#include <host/Resources.h>

#include <mutex>
#include <vector>

namespace win32 {

// The lock that guards the table; hold it while using what ResourcesOf returns.
std::recursive_mutex& ModuleLock();

// The program's module handle (the base address of the running executable).
HMODULE ProgramModule();

// The resources of a module (NULL: the program), or nullptr when it has none or the handle is
// not a module. Valid while the module stays loaded.
const std::vector<host::BundleEntry>* ResourcesOf(HMODULE module);

// The bundle a module embedded and registered while loading (keyed by its base address).
const std::vector<host::BundleEntry>* RegisteredResources(HMODULE module);

// A system library that the platform itself provides (such as "RICHED32.DLL"): LoadLibrary finds
// it by its name, with or without a folder, before any file. `attach` runs when it is first
// loaded (it registers the library's window classes), `detach` when its last reference goes;
// GetProcAddress asks `procAddress` for its exports by name.
struct BuiltinLibrary {
    const char* name;
    void (*attach)(HMODULE module);
    void (*detach)(HMODULE module);
    // Its exports by name (NULL: it has none, or not this one).
    FARPROC (*procAddress)(LPCSTR name) = nullptr;
};
void AddBuiltinLibrary(const BuiltinLibrary& library);

}  // namespace win32
