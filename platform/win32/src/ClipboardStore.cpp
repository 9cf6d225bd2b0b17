// The shared clipboard segment: a header, a table of items, the registered names and the data.
#include "ClipboardStore.h"

#include "SyncObject.h"

#include <cstring>
#include <strings.h>
#include <unistd.h>

namespace clipstore {

namespace {

constexpr std::uint32_t kMagic = 0x434C4950;  // "CLIP"
constexpr int kMaxItems = 64;
constexpr int kMaxNames = 256;
constexpr int kNameLength = 256;
constexpr std::size_t kDataSize = 16u << 20;

struct ItemSlot {
    std::uint32_t format;
    std::uint32_t promised;
    std::uint32_t offset;
    std::uint32_t size;
};

struct Segment {
    host::sync::SharedHeader header;
    std::uint32_t sequence;
    std::int32_t pid;
    std::uint64_t owner;
    std::uint32_t count;
    ItemSlot items[kMaxItems];
    std::uint32_t nameCount;
    char names[kMaxNames][kNameLength];
    char data[kDataSize];
};

Segment& Shared()
{
    static Segment* segment = reinterpret_cast<Segment*>(
        host::sync::OpenSharedSegment(".clipboard", sizeof(Segment), kMagic));
    return *segment;
}

}  // namespace

std::uint32_t Publish(HWND owner, const std::vector<Item>& items)
{
    Segment& s = Shared();
    host::sync::SharedLock hold(s.header);
    std::uint32_t used = 0;
    std::uint32_t count = 0;
    for (const Item& item : items) {
        if (count == kMaxItems)
            break;
        if (item.bytes.size() > kDataSize - used)
            continue;
        ItemSlot& slot = s.items[count++];
        slot.format = item.format;
        slot.promised = item.promised ? 1 : 0;
        slot.offset = used;
        slot.size = static_cast<std::uint32_t>(item.bytes.size());
        std::memcpy(s.data + used, item.bytes.data(), item.bytes.size());
        used += slot.size;
    }
    s.count = count;
    s.pid = static_cast<std::int32_t>(getpid());
    s.owner = reinterpret_cast<std::uint64_t>(owner);
    s.sequence += 1;
    if (s.sequence == 0)
        s.sequence = 1;
    return s.sequence;
}

bool ReadForeign(std::uint32_t seen, Snapshot& out)
{
    Segment& s = Shared();
    host::sync::SharedLock hold(s.header);
    if (s.sequence == 0 || s.sequence == seen || s.pid == static_cast<std::int32_t>(getpid()))
        return false;
    out.sequence = s.sequence;
    out.pid = s.pid;
    out.owner = s.owner;
    out.items.clear();
    bool ownerAlive = host::sync::ProcessAlive(s.pid);
    for (std::uint32_t i = 0; i < s.count && i < kMaxItems; ++i) {
        const ItemSlot& slot = s.items[i];
        if (slot.offset > kDataSize || slot.size > kDataSize - slot.offset)
            continue;  // damaged: left out
        // A promise of a process that has gone can no longer be kept.
        if (slot.promised && !ownerAlive)
            continue;
        Item item;
        item.format = slot.format;
        item.promised = slot.promised != 0;
        item.bytes.assign(s.data + slot.offset, slot.size);
        out.items.push_back(std::move(item));
    }
    return true;
}

UINT RegisterName(const std::string& name)
{
    Segment& s = Shared();
    host::sync::SharedLock hold(s.header);
    std::uint32_t n = s.nameCount < kMaxNames ? s.nameCount : kMaxNames;
    for (std::uint32_t i = 0; i < n; ++i)
        if (strncasecmp(s.names[i], name.c_str(), kNameLength) == 0 && name.size() < kNameLength)
            return static_cast<UINT>(0xC000 + i);
    if (n == kMaxNames || name.size() >= kNameLength)
        return 0;
    std::memcpy(s.names[n], name.c_str(), name.size() + 1);
    s.nameCount = n + 1;
    return static_cast<UINT>(0xC000 + n);
}

bool NameOf(UINT format, std::string& name)
{
    Segment& s = Shared();
    host::sync::SharedLock hold(s.header);
    if (format < 0xC000 || format - 0xC000 >= s.nameCount || format - 0xC000 >= kMaxNames)
        return false;
    const char* stored = s.names[format - 0xC000];
    name.assign(stored, strnlen(stored, kNameLength));
    return true;
}

}  // namespace clipstore
