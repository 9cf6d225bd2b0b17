// Kernel part of the platform's C interface: errors, files, memory, profiles, time, modules.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <errhandlingapi.h>
#if __has_include(<handleapi.h>)
#include <handleapi.h>
#endif
#if __has_include(<fileapi.h>)
#include <fileapi.h>
#include <mailslot.h>
#endif
#if __has_include(<heapapi.h>)
#include <heapapi.h>
#endif
#if __has_include(<profileapi.h>)
#include <profileapi.h>
#endif
#if __has_include(<sysinfoapi.h>)
#include <sysinfoapi.h>
#endif
#if __has_include(<stringapi.h>)
#include <stringapi.h>
#endif
#if __has_include(<libloaderapi.h>)
#include <libloaderapi.h>
#endif
#if __has_include(<synchapi.h>)
#include <synchapi.h>
#endif
#include <processenv.h>
#if __has_include(<processthreadsapi.h>)
#include <processthreadsapi.h>
#endif
#if __has_include(<crtext.h>)
#include <crtext.h>
#endif
