// The waitable kernel objects behind events, mutexes and semaphores, for the platform layer.
// Other areas whose objects can be waited for (a process or thread that signals when it ends)
// derive from SyncObject with an unnamed manual-reset event and set it with SignalSyncObject.
#pragma once

#include <host/KernelObject.h>

#include <cstdint>
#include <memory>
#include <vector>

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

// Sets an event object (releasing its waiters), as SetEvent does.
void SignalSyncObject(SyncObject& object);
// Sets several event objects at one moment (a wait for all of them sees them set together).
void SignalSyncObjects(const std::vector<SyncObject*>& objects);

} // namespace host::sync
