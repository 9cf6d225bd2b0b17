// Events, mutexes, semaphores and the waits for them.
//
// All objects share one lock and one wake-up word, kept in a shared-memory segment per user
// (see synchapi.h for its name): a robust process-shared mutex guards every object's state, and
// every change increments a sequence word on which blocked waiters sleep with a futex. So a
// wait for several objects, named (shared between processes) or not, sleeps on one word and
// re-checks its objects whenever anything changes. Named objects occupy slots of the segment,
// with the processes that have them open; slots of processes that ended are given back when
// the table is searched.
#include "SyncObject.h"

#include <synchapi.h>
#include <processthreadsapi.h>
#include <handleapi.h>
#include <winerror.h>
#include <errhandlingapi.h>

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fcntl.h>
#include <linux/futex.h>
#include <pthread.h>
#include <signal.h>
#include <string>
#include <sys/file.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <unistd.h>
#include <vector>

namespace host::sync {

namespace {

constexpr int kSlots = 512;
constexpr int kOpeners = 32;
constexpr std::uint32_t kMagic = 0x564C5359; // "VLSY"

struct Opener {
    std::int32_t pid;
    std::int32_t count;
};

struct Slot {
    State state;
    char name[MAX_PATH + 1];
    Opener openers[kOpeners];
};

struct Segment {
    SharedHeader header;
    std::uint32_t sequence;
    Slot slots[kSlots];
};

void InitLock(pthread_mutex_t& lock, bool shared)
{
    pthread_mutexattr_t attr;
    pthread_mutexattr_init(&attr);
    if (shared) {
        pthread_mutexattr_setpshared(&attr, PTHREAD_PROCESS_SHARED);
        pthread_mutexattr_setrobust(&attr, PTHREAD_MUTEX_ROBUST);
    }
    pthread_mutex_init(&lock, &attr);
    pthread_mutexattr_destroy(&attr);
}

SharedHeader* PrivateSegment(std::size_t size, std::uint32_t magic)
{
    // Without shared memory, names stay within this process.
    void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (memory == MAP_FAILED)
        std::abort();
    auto* header = static_cast<SharedHeader*>(memory);
    InitLock(header->lock, false);
    header->size = static_cast<std::uint32_t>(size);
    header->magic = magic;
    return header;
}

Segment& TheSegment()
{
    static Segment* segment = reinterpret_cast<Segment*>(OpenSharedSegment("", sizeof(Segment), kMagic));
    return *segment; // stays mapped until the process ends
}

using Lock = SharedLock;

// After a change made under the lock: bump the sequence (under the lock) ...
void Changed(Segment& segment)
{
    __atomic_add_fetch(&segment.sequence, 1, __ATOMIC_SEQ_CST);
}

// ... and, after unlocking, wake every sleeper in every process.
void WakeAll(Segment& segment)
{
    syscall(SYS_futex, &segment.sequence, FUTEX_WAKE, INT_MAX, nullptr, nullptr, 0);
}

bool ThreadAlive(std::int32_t pid, std::int32_t tid)
{
    return syscall(SYS_tgkill, pid, tid, 0) == 0 || errno != ESRCH;
}

// Drops the openers of a slot whose processes have ended; frees the slot when none is left.
void PruneSlot(Slot& slot)
{
    if (slot.state.kind == Kind::Free)
        return;
    bool any = false;
    for (Opener& opener : slot.openers) {
        if (opener.pid != 0 && !ProcessAlive(opener.pid))
            opener = Opener{};
        any = any || opener.pid != 0;
    }
    if (!any)
        std::memset(&slot, 0, sizeof slot);
}

bool AddOpener(Slot& slot)
{
    std::int32_t pid = static_cast<std::int32_t>(GetCurrentProcessId());
    Opener* free = nullptr;
    for (Opener& opener : slot.openers) {
        if (opener.pid == pid) {
            ++opener.count;
            return true;
        }
        if (opener.pid == 0 && !free)
            free = &opener;
    }
    if (!free)
        return false;
    *free = Opener{pid, 1};
    return true;
}

void RemoveOpener(Slot& slot)
{
    std::int32_t pid = static_cast<std::int32_t>(GetCurrentProcessId());
    bool any = false;
    for (Opener& opener : slot.openers) {
        if (opener.pid == pid && --opener.count <= 0)
            opener = Opener{};
        any = any || opener.pid != 0;
    }
    if (!any)
        std::memset(&slot, 0, sizeof slot);
}

// The name in the shared namespace, or an error: "Global\" and "Local\" are the same.
bool NamespaceName(LPCSTR name, std::string& out)
{
    std::string s = name;
    for (const char* prefix : {"Global\\", "Local\\"})
        if (s.rfind(prefix, 0) == 0) {
            s.erase(0, std::strlen(prefix));
            break;
        }
    if (s.size() > MAX_PATH) {
        SetLastError(ERROR_FILENAME_EXCED_RANGE);
        return false;
    }
    if (s.find('\\') != std::string::npos) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return false;
    }
    out = s;
    return true;
}

int FindSlotLocked(Segment& segment, const std::string& name)
{
    for (int i = 0; i < kSlots; ++i) {
        Slot& slot = segment.slots[i];
        if (slot.state.kind != Kind::Free && name == slot.name) {
            PruneSlot(slot);
            return slot.state.kind == Kind::Free ? -1 : i;
        }
    }
    return -1;
}

HANDLE HandleFor(std::shared_ptr<SyncObject> object, DWORD error)
{
    HANDLE handle = AddKernelObject(std::move(object));
    if (handle)
        SetLastError(error);
    return handle;
}

// Create...: opens the object of that name, or makes it from `initial`.
HANDLE CreateObject(const State& initial, LPCSTR name)
{
    if (!name || !*name)
        return HandleFor(std::make_shared<SyncObject>(initial), ERROR_SUCCESS);
    std::string key;
    if (!NamespaceName(name, key))
        return nullptr;
    Segment& segment = TheSegment();
    int slot = -1;
    DWORD error = ERROR_SUCCESS;
    {
        Lock lock(segment.header);
        slot = FindSlotLocked(segment, key);
        if (slot >= 0) {
            if (segment.slots[slot].state.kind != initial.kind) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            error = ERROR_ALREADY_EXISTS;
        } else {
            for (int pass = 0; pass < 2 && slot < 0; ++pass)
                for (int i = 0; i < kSlots && slot < 0; ++i) {
                    if (pass == 1)
                        PruneSlot(segment.slots[i]);
                    if (segment.slots[i].state.kind == Kind::Free)
                        slot = i;
                }
            if (slot < 0) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return nullptr;
            }
            Slot& fresh = segment.slots[slot];
            std::memset(&fresh, 0, sizeof fresh);
            fresh.state = initial;
            std::memcpy(fresh.name, key.c_str(), key.size() + 1);
        }
        if (!AddOpener(segment.slots[slot])) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    return HandleFor(OpenNamed(slot), error);
}

HANDLE OpenObject(Kind kind, LPCSTR name)
{
    std::string key;
    if (!name) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!NamespaceName(name, key))
        return nullptr;
    Segment& segment = TheSegment();
    int slot;
    {
        Lock lock(segment.header);
        slot = FindSlotLocked(segment, key);
        if (slot < 0) {
            SetLastError(ERROR_FILE_NOT_FOUND);
            return nullptr;
        }
        if (segment.slots[slot].state.kind != kind) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        if (!AddOpener(segment.slots[slot])) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
    }
    return HandleFor(OpenNamed(slot), ERROR_SUCCESS);
}

std::shared_ptr<SyncObject> ObjectOf(HANDLE handle, Kind kind)
{
    auto object = FindKernelObject<SyncObject>(handle);
    if (!object || object->kind() != kind) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return object;
}

// ---- waiting

struct Waiter {
    std::shared_ptr<SyncObject> object;
    std::uint32_t generation; // the event's pulse generation when the wait began
};

bool OwnerGone(const State& s)
{
    return s.count > 0 && s.ownerTid != 0 && !ThreadAlive(s.ownerPid, s.ownerTid);
}

bool Signalled(const Waiter& w)
{
    const State& s = w.object->state();
    switch (s.kind) {
    case Kind::Event:
        return s.count > 0 || (s.pulseGeneration != w.generation && (s.manualReset || s.pulseTokens > 0));
    case Kind::Mutex:
        return s.count == 0 || (s.ownerPid == static_cast<std::int32_t>(GetCurrentProcessId()) && s.ownerTid == static_cast<std::int32_t>(GetCurrentThreadId())) || OwnerGone(s);
    case Kind::Semaphore:
        return s.count > 0;
    case Kind::Free:
        break;
    }
    return false;
}

// Takes a signalled object; true if it was a mutex abandoned by its owner.
bool Take(Waiter& w)
{
    State& s = w.object->state();
    switch (s.kind) {
    case Kind::Event:
        if (s.count > 0) {
            if (!s.manualReset)
                s.count = 0;
        } else if (!s.manualReset) {
            --s.pulseTokens;
        }
        w.generation = s.pulseGeneration;
        return false;
    case Kind::Mutex: {
        bool abandoned = OwnerGone(s);
        if (abandoned)
            s.count = 0;
        s.ownerPid = static_cast<std::int32_t>(GetCurrentProcessId());
        s.ownerTid = static_cast<std::int32_t>(GetCurrentThreadId());
        ++s.count;
        return abandoned;
    }
    case Kind::Semaphore:
        --s.count;
        return false;
    case Kind::Free:
        break;
    }
    return false;
}

constexpr DWORD kNotYet = 0xFFFFFFFE;

DWORD TryAcquire(std::vector<Waiter>& waiters, bool all)
{
    if (!all) {
        for (size_t i = 0; i < waiters.size(); ++i)
            if (Signalled(waiters[i]))
                return (Take(waiters[i]) ? WAIT_ABANDONED_0 : WAIT_OBJECT_0) + static_cast<DWORD>(i);
        return kNotYet;
    }
    for (const Waiter& w : waiters)
        if (!Signalled(w))
            return kNotYet;
    DWORD result = WAIT_OBJECT_0;
    for (size_t i = 0; i < waiters.size(); ++i)
        if (Take(waiters[i]) && result == WAIT_OBJECT_0)
            result = WAIT_ABANDONED_0 + static_cast<DWORD>(i);
    return result;
}

// Waits keep their deadlines in microseconds, so that a timeout never ends early by the part of
// a millisecond that whole milliseconds would drop.
std::int64_t NowMicroseconds()
{
    timespec ts{};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return std::int64_t(ts.tv_sec) * 1000000 + ts.tv_nsec / 1000;
}

DWORD Wait(std::vector<Waiter>& waiters, bool all, DWORD milliseconds)
{
    Segment& segment = TheSegment();
    const std::int64_t deadline = NowMicroseconds() + std::int64_t(milliseconds) * 1000;
    bool registered = false;
    for (;;) {
        std::uint32_t seen;
        {
            Lock lock(segment.header);
            if (!registered) {
                for (Waiter& w : waiters) {
                    w.generation = w.object->state().pulseGeneration;
                    ++w.object->state().waiters;
                }
                registered = true;
            }
            DWORD result = TryAcquire(waiters, all);
            std::int64_t remaining = milliseconds == INFINITE ? 1 : deadline - NowMicroseconds();
            if (result != kNotYet || remaining <= 0) {
                for (Waiter& w : waiters)
                    --w.object->state().waiters;
                return result == kNotYet ? WAIT_TIMEOUT : result;
            }
            seen = __atomic_load_n(&segment.sequence, __ATOMIC_SEQ_CST);
        }
        timespec timeout{};
        timespec* limit = nullptr;
        if (milliseconds != INFINITE) {
            std::int64_t remaining = deadline - NowMicroseconds();
            if (remaining < 0)
                remaining = 0;
            timeout.tv_sec = remaining / 1000000;
            timeout.tv_nsec = (remaining % 1000000) * 1000;
            limit = &timeout;
        }
        // A mutex whose owner may end without anybody touching the object: look again now
        // and then, since nothing wakes us when a thread dies.
        for (const Waiter& w : waiters)
            if (w.object->kind() == Kind::Mutex && (!limit || timeout.tv_sec > 0)) {
                timeout = timespec{0, 100 * 1000000};
                limit = &timeout;
                break;
            }
        syscall(SYS_futex, &segment.sequence, FUTEX_WAIT, seen, limit, nullptr, 0);
    }
}

DWORD WaitForObjects(DWORD count, const HANDLE* handles, bool all, DWORD milliseconds)
{
    if (count == 0 || count > MAXIMUM_WAIT_OBJECTS || !handles) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return WAIT_FAILED;
    }
    std::vector<Waiter> waiters;
    waiters.reserve(count);
    for (DWORD i = 0; i < count; ++i) {
        auto object = FindKernelObject<SyncObject>(handles[i]);
        if (!object) {
            SetLastError(ERROR_INVALID_HANDLE);
            return WAIT_FAILED;
        }
        if (all)
            for (const Waiter& w : waiters)
                if (&w.object->state() == &object->state()) {
                    SetLastError(ERROR_INVALID_PARAMETER);
                    return WAIT_FAILED;
                }
        waiters.push_back(Waiter{std::move(object), 0});
    }
    return Wait(waiters, all, milliseconds);
}

} // namespace

std::string NamespaceName()
{
    const char* chosen = vl_shared_namespace ? vl_shared_namespace() : nullptr;
    if (!chosen || !*chosen)
        chosen = std::getenv("VL_SYNC_NAMESPACE");
    std::string name = chosen && *chosen ? chosen : "vl-sync-" + std::to_string(getuid());
    for (char& c : name)
        if (c == '/')
            c = '_';
    return name;
}

SharedHeader* OpenSharedSegment(const std::string& suffix, std::size_t size, std::uint32_t magic)
{
    std::string name = "/" + NamespaceName() + suffix;
    int fd = shm_open(name.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return PrivateSegment(size, magic);
    SharedHeader* header = nullptr;
    if (flock(fd, LOCK_EX) == 0) {
        struct stat st{};
        bool fresh = fstat(fd, &st) == 0 && st.st_size == 0;
        if (!fresh || ftruncate(fd, static_cast<off_t>(size)) == 0) {
            void* memory = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_SHARED, fd, 0);
            if (memory != MAP_FAILED) {
                header = static_cast<SharedHeader*>(memory);
                if (fresh) {
                    InitLock(header->lock, true);
                    header->size = static_cast<std::uint32_t>(size);
                    __atomic_store_n(&header->magic, magic, __ATOMIC_RELEASE);
                } else if (st.st_size != static_cast<off_t>(size) ||
                           __atomic_load_n(&header->magic, __ATOMIC_ACQUIRE) != magic || header->size != size) {
                    // Made by an incompatible build: keep to this process rather than corrupt it.
                    munmap(memory, size);
                    header = nullptr;
                }
            }
        }
        flock(fd, LOCK_UN);
    }
    close(fd);
    return header ? header : PrivateSegment(size, magic);
}

SharedLock::SharedLock(SharedHeader& header) : m_header(header)
{
    if (pthread_mutex_lock(&m_header.lock) == EOWNERDEAD)
        pthread_mutex_consistent(&m_header.lock); // a process ended inside; go on
}

SharedLock::~SharedLock()
{
    pthread_mutex_unlock(&m_header.lock);
}

bool ProcessAlive(std::int32_t pid)
{
    return pid == static_cast<std::int32_t>(GetCurrentProcessId()) || kill(pid, 0) == 0 || errno != ESRCH;
}

SyncObject::SyncObject(const State& initial) : m_own(std::make_unique<State>(initial)), m_state(m_own.get())
{
}

SyncObject::SyncObject(int slot) : m_state(&TheSegment().slots[slot].state), m_slot(slot)
{
}

SyncObject::~SyncObject()
{
    if (m_slot < 0)
        return;
    Segment& segment = TheSegment();
    Lock lock(segment.header);
    RemoveOpener(segment.slots[m_slot]);
}

std::shared_ptr<SyncObject> OpenNamed(int slot)
{
    return std::shared_ptr<SyncObject>(new SyncObject(slot));
}

void SignalSyncObject(SyncObject& object)
{
    SignalSyncObjects({&object});
}

void SignalSyncObjects(const std::vector<SyncObject*>& objects)
{
    Segment& segment = TheSegment();
    {
        Lock lock(segment.header);
        for (SyncObject* object : objects) {
            object->state().count = 1;
            object->state().pulseTokens = 0;
        }
        Changed(segment);
    }
    WakeAll(segment);
}

} // namespace host::sync

using namespace host::sync;

HANDLE WINAPI CreateEvent(LPSECURITY_ATTRIBUTES, BOOL bManualReset, BOOL bInitialState, LPCSTR lpName)
{
    State initial{};
    initial.kind = Kind::Event;
    initial.manualReset = bManualReset ? 1 : 0;
    initial.count = bInitialState ? 1 : 0;
    return CreateObject(initial, lpName);
}

HANDLE WINAPI OpenEvent(DWORD, BOOL, LPCSTR lpName)
{
    return OpenObject(Kind::Event, lpName);
}

BOOL WINAPI SetEvent(HANDLE hEvent)
{
    auto object = ObjectOf(hEvent, Kind::Event);
    if (!object)
        return FALSE;
    SignalSyncObject(*object);
    return TRUE;
}

BOOL WINAPI ResetEvent(HANDLE hEvent)
{
    auto object = ObjectOf(hEvent, Kind::Event);
    if (!object)
        return FALSE;
    Lock lock(TheSegment().header);
    object->state().count = 0;
    return TRUE;
}

BOOL WINAPI PulseEvent(HANDLE hEvent)
{
    auto object = ObjectOf(hEvent, Kind::Event);
    if (!object)
        return FALSE;
    Segment& segment = TheSegment();
    {
        Lock lock(segment.header);
        State& s = object->state();
        s.count = 0;
        if (s.waiters > 0) {
            ++s.pulseGeneration;
            s.pulseTokens = s.manualReset ? 0 : 1;
            Changed(segment);
        }
    }
    WakeAll(segment);
    return TRUE;
}

HANDLE WINAPI CreateMutex(LPSECURITY_ATTRIBUTES, BOOL bInitialOwner, LPCSTR lpName)
{
    // The creator owns it from the start if it asked to and the mutex is new (an existing
    // one is opened as it is).
    State initial{};
    initial.kind = Kind::Mutex;
    if (bInitialOwner) {
        initial.count = 1;
        initial.ownerPid = static_cast<std::int32_t>(GetCurrentProcessId());
        initial.ownerTid = static_cast<std::int32_t>(GetCurrentThreadId());
    }
    return CreateObject(initial, lpName);
}

HANDLE WINAPI OpenMutex(DWORD, BOOL, LPCSTR lpName)
{
    return OpenObject(Kind::Mutex, lpName);
}

BOOL WINAPI ReleaseMutex(HANDLE hMutex)
{
    auto object = ObjectOf(hMutex, Kind::Mutex);
    if (!object)
        return FALSE;
    Segment& segment = TheSegment();
    {
        Lock lock(segment.header);
        State& s = object->state();
        if (s.count == 0 || s.ownerPid != static_cast<std::int32_t>(GetCurrentProcessId()) || s.ownerTid != static_cast<std::int32_t>(GetCurrentThreadId())) {
            SetLastError(ERROR_NOT_OWNER);
            return FALSE;
        }
        if (--s.count == 0) {
            s.ownerPid = 0;
            s.ownerTid = 0;
        }
        Changed(segment);
    }
    WakeAll(segment);
    return TRUE;
}

HANDLE WINAPI CreateSemaphore(LPSECURITY_ATTRIBUTES, LONG lInitialCount, LONG lMaximumCount, LPCSTR lpName)
{
    if (lMaximumCount <= 0 || lInitialCount < 0 || lInitialCount > lMaximumCount) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    State initial{};
    initial.kind = Kind::Semaphore;
    initial.count = lInitialCount;
    initial.maximum = lMaximumCount;
    return CreateObject(initial, lpName);
}

HANDLE WINAPI OpenSemaphore(DWORD, BOOL, LPCSTR lpName)
{
    return OpenObject(Kind::Semaphore, lpName);
}

BOOL WINAPI ReleaseSemaphore(HANDLE hSemaphore, LONG lReleaseCount, LPLONG lpPreviousCount)
{
    auto object = ObjectOf(hSemaphore, Kind::Semaphore);
    if (!object)
        return FALSE;
    if (lReleaseCount <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    Segment& segment = TheSegment();
    {
        Lock lock(segment.header);
        State& s = object->state();
        if (lReleaseCount > s.maximum - s.count) {
            SetLastError(ERROR_TOO_MANY_POSTS);
            return FALSE;
        }
        if (lpPreviousCount)
            *lpPreviousCount = s.count;
        s.count += lReleaseCount;
        Changed(segment);
    }
    WakeAll(segment);
    return TRUE;
}

DWORD WINAPI WaitForSingleObject(HANDLE hHandle, DWORD dwMilliseconds)
{
    return WaitForObjects(1, &hHandle, false, dwMilliseconds);
}

DWORD WINAPI WaitForMultipleObjects(DWORD nCount, const HANDLE* lpHandles, BOOL bWaitAll, DWORD dwMilliseconds)
{
    return WaitForObjects(nCount, lpHandles, bWaitAll != FALSE, dwMilliseconds);
}
