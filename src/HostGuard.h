// Forced into every product source (src/, and the other deliverables' code): the product talks to
// the host only through the platform's interface (CFile, GetPrivateProfileString, FindFirstFile,
// GetEnvironmentVariable, CreateProcess, ...). Host calls below are poisoned, so a product source
// that calls one, or includes a host header that declares one, fails to compile. The platform
// (platform/), the tools and the tests are compiled without this header.
//
// The standard headers that declare some of these names for the standard library's own use are
// read first, so that the library keeps compiling; what they declare stays unusable, and the host
// headers they read cannot be included again (cmake/host-guard).
#pragma once

#ifdef __cplusplus
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <functional>
#include <iosfwd>
#include <map>
#include <memory>
#include <string>
#include <vector>
#endif

// From here on the host headers of cmake/host-guard (on product code's include path) refuse to be
// included.
#define VL_HOST_GUARD_ACTIVE 1

// Environment, processes and the shell.
#pragma GCC poison getenv secure_getenv setenv putenv unsetenv clearenv environ
#pragma GCC poison popen pclose fork vfork execl execlp execle execv execvp execve posix_spawn
// `system` is also the class library's name of a file attribute (CFile::system): only its call is
// refused.
#define system(...) host_call_forbidden_in_product_code_system(__VA_ARGS__)
// Files and folders.
#pragma GCC poison fopen freopen fdopen tmpfile opendir fdopendir readdir closedir scandir
#pragma GCC poison getcwd chdir mkdtemp mkstemp unlink rmdir realpath
#pragma GCC poison ifstream ofstream fstream filebuf filesystem
// Threads and shared objects.
#pragma GCC poison pthread_create pthread_join pthread_detach dlopen dlsym dlclose
