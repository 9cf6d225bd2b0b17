// WaitForInputIdle: a process is idle once one of its threads first waits for input with
// nothing queued. It then signals a named manual-reset event of the shared namespace, named
// after its process id, and keeps it open for the rest of its life; the waiting process opens
// the same event and waits for it or for the process's end.
#include <interproc.h>
#include <windows.h>

#include <atomic>
#include <string>

namespace {

std::string IdleEventName(DWORD processId)
{
    return "VL:InputIdle:" + std::to_string(processId);
}

}  // namespace

namespace user {

void MarkInputIdle()
{
    static std::atomic<bool> marked{false};
    if (marked.exchange(true))
        return;
    DWORD error = GetLastError();
    // Kept open on purpose: the event must outlive every wait for it while the process runs.
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, IdleEventName(GetCurrentProcessId()).c_str());
    if (event)
        SetEvent(event);
    SetLastError(error);
}

}  // namespace user

DWORD WINAPI WaitForInputIdle(HANDLE hProcess, DWORD dwMilliseconds)
{
    DWORD processId = GetProcessId(hProcess);
    if (processId == 0)
        return WAIT_FAILED;
    if (processId == GetCurrentProcessId())
        return 0;
    HANDLE event = CreateEvent(nullptr, TRUE, FALSE, IdleEventName(processId).c_str());
    if (!event)
        return WAIT_FAILED;
    HANDLE handles[2] = {event, hProcess};
    DWORD wait = WaitForMultipleObjects(2, handles, FALSE, dwMilliseconds);
    CloseHandle(event);
    if (wait == WAIT_OBJECT_0 || wait == WAIT_OBJECT_0 + 1)
        return 0;
    return wait == WAIT_TIMEOUT ? WAIT_TIMEOUT : WAIT_FAILED;
}
