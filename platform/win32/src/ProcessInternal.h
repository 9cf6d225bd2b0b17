// Processes started by CreateProcess, as other parts of the platform library see them. Not
// installed.
#pragma once

#include <windef.h>

namespace host::process {

// For the handle of a started process's main thread (PROCESS_INFORMATION::hThread): the
// thread's id and its exit code (the process's; STILL_ACTIVE while it runs). False for other
// handles.
bool MainThreadOf(HANDLE handle, DWORD& id, DWORD& exitCode);

}  // namespace host::process
