// The waitable kernel objects behind events, mutexes and semaphores, for the platform layer.
// Other areas whose objects can be waited for (a process or thread that signals when it ends)
// derive from SyncObject with an unnamed manual-reset event and set it with SignalSyncObject.
// The shared namespace's segments serve other areas that processes share (the windows).
#pragma once

#include <host/KernelObject.h>

#include <cstdint>
#include <memory>
#include <pthread.h>
#include <string>
#include <vector>

// Defined by a program that chooses its namespace itself; returns it, or null for the usual
// choice.
extern "C" const char* vl_shared_namespace() __attribute__((weak));

namespace host::sync {

enum class Kind : std::uint32_t { Free = 0, Event = 1, Mutex = 2, Semaphore = 3 };

// The state of one object. Named objects keep it in the shared segment of the namespace (and
// so it is plain data, the same in every process); unnamed ones in this process. The segment's
// lock guards both.
struct State {
    Kind kind;
    std::uint32_t manualReset;
    std::int32_t count;    // event: 1 signalled; mutex: recursion depth; semaphore: count
    std::int32_t maximum;  // semaphore
    std::int32_t ownerPid; // mutex owner thread
    std::int32_t ownerTid;
    std::uint32_t pulseGeneration; // PulseEvent: waiters that began before it are released
    std::uint32_t pulseTokens;     // an auto-reset pulse releases one of them
    std::uint32_t waiters;         // threads blocked in a wait for it
};

class SyncObject : public KernelObject {
public:
    // An unnamed object with the given initial state.
    explicit SyncObject(const State& initial);
    ~SyncObject() override;

    State& state() { return *m_state; }
    Kind kind() const { return m_state->kind; }

protected:
    // A named object in the shared segment's slot (the caller has entered this process as an
    // opener of the slot).
    explicit SyncObject(int slot);

private:
    friend std::shared_ptr<SyncObject> OpenNamed(int slot);
    std::unique_ptr<State> m_own;
    State* m_state;
    int m_slot = -1;
};

// A handle's object for a named slot that this process has entered itself as an opener of.
std::shared_ptr<SyncObject> OpenNamed(int slot);

// ---- The shared namespace
//
// Everything that processes of one user share (named objects, windows) lives in host
// shared-memory segments of one namespace: "vl-sync-<uid>", or the value of the environment
// variable VL_SYNC_NAMESPACE, so that separate runs (a test program and the processes it
// starts) keep to themselves. A program may also name it by defining the function
// vl_shared_namespace (below), which is asked first, whenever a segment is opened: so the
// choice holds from the start-up code of the first library on, before the program's own
// start-up code could set the environment (test programs do this).

std::string NamespaceName();

// The start of every shared segment: a robust process-shared lock guards the rest.
struct SharedHeader {
    std::uint32_t magic;
    std::uint32_t size; // the size of the build that made it
    pthread_mutex_t lock;
};

// Maps the namespace's segment "/<namespace><suffix>" of `size` bytes, zero-filled and with its
// lock made when it is new. A segment made by an incompatible build (other magic or size), or
// no shared memory at all, gives a mapping private to this process instead. Stays mapped until
// the process ends.
SharedHeader* OpenSharedSegment(const std::string& suffix, std::size_t size, std::uint32_t magic);

// Holds a segment's lock (taking it over when a process ended while holding it).
class SharedLock {
public:
    explicit SharedLock(SharedHeader& header);
    ~SharedLock();
    SharedLock(const SharedLock&) = delete;
    SharedLock& operator=(const SharedLock&) = delete;

private:
    SharedHeader& m_header;
};

// Whether a host process of that id exists (this one always does).
bool ProcessAlive(std::int32_t pid);

// Sets an event object (releasing its waiters), as SetEvent does.
void SignalSyncObject(SyncObject& object);
// Sets several event objects at one moment (a wait for all of them sees them set together).
void SignalSyncObjects(const std::vector<SyncObject*>& objects);

} // namespace host::sync
