// A second process for the cross-process tests of named synchronisation objects.
//   SyncHelper wait-event NAME MS   opens the event and waits: exit 0 signalled, 1 timed out
//   SyncHelper set-event NAME       opens the event and sets it
//   SyncHelper create-event NAME    creates a manual-reset event and ends without closing it:
//                                   exit 0 made, 3 it existed already
//   SyncHelper hold-mutex NAME      opens the mutex, takes it and ends holding it
// Exit 2 reports a failed call.
#include <windows.h>

#include <cstdlib>
#include <cstring>

int main(int argc, char** argv)
{
    if (argc < 3)
        return 2;
    const char* command = argv[1];
    const char* name = argv[2];
    if (!std::strcmp(command, "wait-event") && argc == 4) {
        HANDLE event = OpenEvent(SYNCHRONIZE, FALSE, name);
        if (!event)
            return 2;
        DWORD result = WaitForSingleObject(event, static_cast<DWORD>(std::atoi(argv[3])));
        CloseHandle(event);
        return result == WAIT_OBJECT_0 ? 0 : result == WAIT_TIMEOUT ? 1 : 2;
    }
    if (!std::strcmp(command, "set-event")) {
        HANDLE event = OpenEvent(EVENT_MODIFY_STATE, FALSE, name);
        if (!event || !SetEvent(event))
            return 2;
        CloseHandle(event);
        return 0;
    }
    if (!std::strcmp(command, "create-event")) {
        HANDLE event = CreateEvent(nullptr, TRUE, FALSE, name);
        if (!event)
            return 2;
        return GetLastError() == ERROR_ALREADY_EXISTS ? 3 : 0;
    }
    if (!std::strcmp(command, "hold-mutex")) {
        HANDLE mutex = OpenMutex(SYNCHRONIZE, FALSE, name);
        if (!mutex || WaitForSingleObject(mutex, 0) != WAIT_OBJECT_0)
            return 2;
        return 0;
    }
    return 2;
}
