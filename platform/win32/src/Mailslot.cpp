// Mailslots in a segment of the shared namespace (SyncObject.h): a table of slots, each with its
// reader's process and a queue of whole messages.
#include "Mailslot.h"

#include "SyncObject.h"

#include <windows.h>

#include <chrono>
#include <cstring>
#include <string>
#include <strings.h>
#include <thread>
#include <unistd.h>

namespace host::mailslot {

namespace {

constexpr std::uint32_t kMagic = 0x4D534C54;  // "MSLT"
constexpr int kSlots = 32;
constexpr int kNameLength = 256;
constexpr int kQueue = 32;
constexpr DWORD kMessageBytes = 424;  // the longest message a slot keeps
constexpr char kPrefix[] = "\\\\.\\mailslot\\";

struct Message {
    std::uint32_t size;
    char bytes[kMessageBytes];
};

struct Slot {
    std::uint32_t active;
    std::uint32_t generation;
    std::int32_t ownerPid;
    std::uint32_t maxMessage;
    std::uint32_t readTimeout;
    std::uint32_t head;
    std::uint32_t count;
    char name[kNameLength];
    Message queue[kQueue];
};

struct Segment {
    sync::SharedHeader header;
    Slot slots[kSlots];
};

Segment& Shared()
{
    static Segment* segment =
        reinterpret_cast<Segment*>(sync::OpenSharedSegment(".mailslot", sizeof(Segment), kMagic));
    return *segment;
}

BOOL Failed(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

bool Live(const Slot& slot)
{
    return slot.active && sync::ProcessAlive(slot.ownerPid);
}

// The live slot of that name (the segment's lock held), or -1.
int Find(Segment& s, const char* name)
{
    for (int i = 0; i < kSlots; ++i)
        if (Live(s.slots[i]) && strcasecmp(s.slots[i].name, name) == 0)
            return i;
    return -1;
}

class Reader : public KernelObject {
public:
    Reader(int slot, std::uint32_t generation) : m_slot(slot), m_generation(generation) {}
    ~Reader() override
    {
        Segment& s = Shared();
        sync::SharedLock hold(s.header);
        Slot& slot = s.slots[m_slot];
        if (slot.generation == m_generation)
            slot.active = 0;
    }
    int m_slot;
    std::uint32_t m_generation;
};

class Writer : public KernelObject {
public:
    Writer(int slot, std::uint32_t generation) : m_slot(slot), m_generation(generation) {}
    int m_slot;
    std::uint32_t m_generation;
};

}  // namespace

bool IsMailslotName(const char* name)
{
    return name && strncasecmp(name, kPrefix, sizeof kPrefix - 1) == 0;
}

std::shared_ptr<KernelObject> OpenWriter(const char* name, DWORD access, DWORD disposition)
{
    if (disposition != OPEN_EXISTING) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    if (!(access & (GENERIC_WRITE | FILE_WRITE_DATA))) {
        SetLastError(ERROR_ACCESS_DENIED);
        return nullptr;
    }
    Segment& s = Shared();
    sync::SharedLock hold(s.header);
    int index = Find(s, name);
    if (index < 0) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return nullptr;
    }
    return std::make_shared<Writer>(index, s.slots[index].generation);
}

std::optional<BOOL> Read(HANDLE handle, void* buffer, DWORD size, DWORD* read)
{
    auto reader = FindKernelObject<Reader>(handle);
    if (!reader) {
        if (FindKernelObject<Writer>(handle))
            return Failed(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    Segment& s = Shared();
    const auto start = std::chrono::steady_clock::now();
    for (;;) {
        DWORD timeout;
        {
            sync::SharedLock hold(s.header);
            Slot& slot = s.slots[reader->m_slot];
            timeout = slot.readTimeout;
            if (slot.count > 0) {
                const Message& m = slot.queue[slot.head];
                if (m.size > size)
                    return Failed(ERROR_INSUFFICIENT_BUFFER);
                if (m.size && !buffer)
                    return Failed(ERROR_NOACCESS);
                std::memcpy(buffer, m.bytes, m.size);
                if (read)
                    *read = m.size;
                slot.head = (slot.head + 1) % kQueue;
                --slot.count;
                return TRUE;
            }
        }
        const auto waited = std::chrono::steady_clock::now() - start;
        if (timeout != MAILSLOT_WAIT_FOREVER && waited >= std::chrono::milliseconds(timeout))
            return Failed(ERROR_SEM_TIMEOUT);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
}

std::optional<BOOL> Write(HANDLE handle, const void* buffer, DWORD size, DWORD* written)
{
    auto writer = FindKernelObject<Writer>(handle);
    if (!writer) {
        if (FindKernelObject<Reader>(handle))
            return Failed(ERROR_ACCESS_DENIED);
        return std::nullopt;
    }
    if (size && !buffer)
        return Failed(ERROR_NOACCESS);
    Segment& s = Shared();
    sync::SharedLock hold(s.header);
    Slot& slot = s.slots[writer->m_slot];
    if (slot.generation != writer->m_generation || !Live(slot))
        return Failed(ERROR_FILE_NOT_FOUND);  // the reader has gone
    if (size > kMessageBytes || (slot.maxMessage && size > slot.maxMessage))
        return Failed(ERROR_INVALID_PARAMETER);
    if (slot.count == kQueue)
        return Failed(ERROR_NOT_ENOUGH_MEMORY);
    Message& m = slot.queue[(slot.head + slot.count) % kQueue];
    m.size = size;
    if (size)
        std::memcpy(m.bytes, buffer, size);
    ++slot.count;
    if (written)
        *written = size;
    return TRUE;
}

}  // namespace host::mailslot

using namespace host::mailslot;

HANDLE WINAPI CreateMailslotA(LPCSTR lpName, DWORD nMaxMessageSize, DWORD lReadTimeout, LPSECURITY_ATTRIBUTES)
{
    if (!IsMailslotName(lpName) || std::strlen(lpName) >= static_cast<std::size_t>(kNameLength) ||
        std::strlen(lpName) == sizeof kPrefix - 1) {
        SetLastError(ERROR_INVALID_NAME);
        return INVALID_HANDLE_VALUE;
    }
    Segment& s = Shared();
    std::shared_ptr<Reader> reader;
    {
        host::sync::SharedLock hold(s.header);
        if (Find(s, lpName) >= 0) {
            SetLastError(ERROR_ALREADY_EXISTS);
            return INVALID_HANDLE_VALUE;
        }
        int index = -1;
        for (int i = 0; i < kSlots && index < 0; ++i)
            if (!Live(s.slots[i]))
                index = i;
        if (index < 0) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return INVALID_HANDLE_VALUE;
        }
        Slot& slot = s.slots[index];
        slot.active = 1;
        ++slot.generation;
        slot.ownerPid = static_cast<std::int32_t>(getpid());
        slot.maxMessage = nMaxMessageSize;
        slot.readTimeout = lReadTimeout;
        slot.head = 0;
        slot.count = 0;
        std::strncpy(slot.name, lpName, kNameLength - 1);
        slot.name[kNameLength - 1] = '\0';
        reader = std::make_shared<Reader>(index, slot.generation);
    }
    HANDLE handle = host::AddKernelObject(std::move(reader));
    return handle ? handle : INVALID_HANDLE_VALUE;
}

BOOL WINAPI GetMailslotInfo(HANDLE hMailslot, LPDWORD lpMaxMessageSize, LPDWORD lpNextSize, LPDWORD lpMessageCount,
                            LPDWORD lpReadTimeout)
{
    auto reader = host::FindKernelObject<Reader>(hMailslot);
    if (!reader)
        return Failed(ERROR_INVALID_HANDLE);
    Segment& s = Shared();
    host::sync::SharedLock hold(s.header);
    const Slot& slot = s.slots[reader->m_slot];
    if (lpMaxMessageSize)
        *lpMaxMessageSize = slot.maxMessage;
    if (lpNextSize)
        *lpNextSize = slot.count ? slot.queue[slot.head].size : MAILSLOT_NO_MESSAGE;
    if (lpMessageCount)
        *lpMessageCount = slot.count;
    if (lpReadTimeout)
        *lpReadTimeout = slot.readTimeout;
    return TRUE;
}
