// The registry of top-level windows of all processes of the namespace, and of registered
// window messages, in a shared-memory segment of the namespace.
//
// An entry belongs to a process (its id and a random session number, so that a process that
// reuses the id of one that died does not take the dead one's entries for its own). Entries of
// processes that have ended are freed whenever the registry is searched; a process frees its
// own when its windows are destroyed and when it exits.
#include "SyncObject.h"
#include "UserRemote.h"

#include <processthreadsapi.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>
#include <random>
#include <strings.h>
#include <unistd.h>

namespace user::remote {

namespace {

constexpr int kEntries = 1024;
constexpr int kMessageNames = 2048;
constexpr int kNameBytes = 256;
constexpr std::uint32_t kMagic = 0x564C5749;  // "VLWI"
constexpr UINT kFirstMessage = 0xC100;

// Handle values: 0x40000000 | generation (14 bits) << 12 | entry (10 bits) << 2, far above the
// values of the process's own windows and the same in every process.
constexpr std::uintptr_t kHandleBase = 0x40000000;
constexpr std::uint32_t kGenerationMask = 0x3FFF;
static_assert(kEntries <= 1024);

struct Entry {
    std::int32_t pid;  // 0: free
    std::uint32_t generation;
    std::uint64_t session;
    std::uint32_t tid;
    std::uint32_t listed;  // a top-level window at present (published)
    std::uint64_t stamp;   // its process's activation stamp
    std::int32_t z;        // place among its process's top-level windows
    std::uint32_t style;
    std::uint32_t exStyle;
    std::uint64_t owner;
    std::uint64_t lastActivePopup;
    RECT rect;
    char title[kNameBytes];
    char className[kNameBytes];
};

struct Registry {
    host::sync::SharedHeader header;
    std::uint64_t stamps;
    std::uint32_t messageCount;
    Entry entries[kEntries];
    char messages[kMessageNames][kNameBytes];
};

Registry& TheRegistry()
{
    static Registry* registry =
        reinterpret_cast<Registry*>(host::sync::OpenSharedSegment(".windows", sizeof(Registry), kMagic));
    return *registry;
}

// This process in the registry.
struct Self {
    std::mutex lock;
    std::uint64_t session = 0;
    std::uint64_t stamp = 0;  // 0 until the first window
    bool cleaned = false;     // stale entries of our id removed
};

Self& TheSelf()
{
    static Self* self = [] {
        auto* s = new Self;
        std::random_device random;
        while (s->session == 0)
            s->session = (std::uint64_t(random()) << 32) ^ random() ^ std::uint64_t(getpid());
        return s;
    }();
    return *self;
}

HWND Encode(int index, std::uint32_t generation)
{
    return reinterpret_cast<HWND>(kHandleBase | (std::uintptr_t(generation & kGenerationMask) << 12) |
                                  (std::uintptr_t(index) << 2));
}

bool Decode(HWND hwnd, int& index, std::uint32_t& generation)
{
    auto v = reinterpret_cast<std::uintptr_t>(hwnd);
    if (v < kHandleBase || v >= kHandleBase + (std::uintptr_t(1) << 26) || (v & 3))
        return false;
    index = static_cast<int>((v >> 2) & 0x3FF);
    generation = static_cast<std::uint32_t>((v >> 12) & kGenerationMask);
    return index < kEntries;
}

bool Mine(const Entry& e)
{
    return e.pid == static_cast<pid_t>(GetCurrentProcessId()) && e.session == TheSelf().session;
}

void Free(Entry& e)
{
    std::uint32_t generation = e.generation + 1;
    std::memset(&e, 0, sizeof e);
    e.generation = generation;
}

// Frees the entry when its process has ended; true when it is in use afterwards.
bool Live(Entry& e)
{
    if (e.pid == 0)
        return false;
    bool alive = e.pid == static_cast<pid_t>(GetCurrentProcessId()) ? e.session == TheSelf().session : host::sync::ProcessAlive(e.pid);
    if (!alive)
        Free(e);
    return alive;
}

// The entry behind a handle while it is in use (registry locked).
Entry* EntryOf(Registry& r, HWND hwnd)
{
    int index;
    std::uint32_t generation;
    if (!Decode(hwnd, index, generation))
        return nullptr;
    Entry& e = r.entries[index];
    if (!Live(e) || (e.generation & kGenerationMask) != generation)
        return nullptr;
    return &e;
}

void CopyText(char (&to)[kNameBytes], const std::string& from)
{
    std::size_t n = std::min(from.size(), std::size_t(kNameBytes - 1));
    std::memcpy(to, from.data(), n);
    to[n] = 0;
}

void RemoveMine()
{
    Registry& r = TheRegistry();
    host::sync::SharedLock lock(r.header);
    for (Entry& e : r.entries)
        if (Mine(e))
            Free(e);
}

}  // namespace

HWND AllocateHandle()
{
    Self& self = TheSelf();
    Registry& r = TheRegistry();
    bool first = false;
    HWND hwnd = nullptr;
    {
        std::lock_guard<std::mutex> selfLock(self.lock);
        host::sync::SharedLock lock(r.header);
        if (!self.cleaned) {
            // Entries left under our id by a process that had it before.
            for (Entry& e : r.entries)
                if (e.pid == static_cast<pid_t>(GetCurrentProcessId()) && e.session != self.session)
                    Free(e);
            self.cleaned = true;
            first = true;
        }
        if (self.stamp == 0)
            self.stamp = ++r.stamps;  // a process's first window comes on top
        for (int i = 0; i < kEntries && !hwnd; ++i) {
            Entry& e = r.entries[i];
            if (Live(e))
                continue;
            e.pid = static_cast<pid_t>(GetCurrentProcessId());
            e.session = self.session;
            e.tid = GetCurrentThreadId();
            e.listed = 0;
            e.stamp = self.stamp;
            hwnd = Encode(i, e.generation);
        }
    }
    if (first)
        std::atexit(RemoveMine);
    if (hwnd)
        StartListener();
    return hwnd;
}

bool IsRegistryHandle(HWND hwnd)
{
    int index;
    std::uint32_t generation;
    return Decode(hwnd, index, generation);
}

void ReleaseHandle(HWND hwnd)
{
    if (!IsRegistryHandle(hwnd))
        return;
    Registry& r = TheRegistry();
    host::sync::SharedLock lock(r.header);
    if (Entry* e = EntryOf(r, hwnd); e && Mine(*e))
        Free(*e);
}

void Publish()
{
    Self& self = TheSelf();
    {
        std::lock_guard<std::mutex> selfLock(self.lock);
        if (self.stamp == 0)
            return;  // no window of ours was ever entered
    }
    struct Row {
        HWND hwnd;
        DWORD tid;
        std::string title, className;
        DWORD style, exStyle;
        HWND owner, popup;
        RECT rect;
    };
    std::vector<Row> rows;
    {
        Guard g(Mutex());
        DWORD error = GetLastError();
        for (Window* c : Desktop().children) {
            if (c->destroyed || !IsRegistryHandle(c->hwnd))
                continue;
            rows.push_back(Row{c->hwnd, c->threadId, c->text, c->cls->name, c->style, c->exStyle, c->owner,
                               GetLastActivePopup(c->hwnd), c->window});
        }
        SetLastError(error);
    }
    std::lock_guard<std::mutex> selfLock(self.lock);
    Registry& r = TheRegistry();
    host::sync::SharedLock lock(r.header);
    for (Entry& e : r.entries)
        if (Mine(e)) {
            e.listed = 0;
            e.stamp = self.stamp;
        }
    int z = 0;
    for (const Row& row : rows) {
        Entry* e = EntryOf(r, row.hwnd);
        if (!e || !Mine(*e))
            continue;
        e->tid = row.tid;
        e->listed = 1;
        e->z = z++;
        e->style = row.style;
        e->exStyle = row.exStyle;
        e->owner = reinterpret_cast<std::uint64_t>(row.owner);
        e->lastActivePopup = reinterpret_cast<std::uint64_t>(row.popup);
        e->rect = row.rect;
        CopyText(e->title, row.title);
        CopyText(e->className, row.className);
    }
}

void Activated()
{
    Self& self = TheSelf();
    {
        std::lock_guard<std::mutex> selfLock(self.lock);
        if (self.stamp == 0)
            return;
        Registry& r = TheRegistry();
        host::sync::SharedLock lock(r.header);
        self.stamp = ++r.stamps;
    }
    Publish();
}

bool Describe(HWND hwnd, Info& out)
{
    if (!IsRegistryHandle(hwnd))
        return false;
    Registry& r = TheRegistry();
    host::sync::SharedLock lock(r.header);
    Entry* e = EntryOf(r, hwnd);
    if (!e || e->pid == static_cast<pid_t>(GetCurrentProcessId()))
        return false;
    out.hwnd = hwnd;
    out.processId = static_cast<DWORD>(e->pid);
    out.threadId = e->tid;
    out.title = e->title;
    out.className = e->className;
    out.style = e->style;
    out.exStyle = e->exStyle;
    out.owner = reinterpret_cast<HWND>(e->owner);
    out.lastActivePopup = reinterpret_cast<HWND>(e->lastActivePopup);
    out.rect = e->rect;
    if (!e->listed)
        out.style &= ~WS_VISIBLE;  // not (yet) shown among the top-level windows
    return true;
}

AnyWindow FindAny(HWND hwnd)
{
    AnyWindow any;
    any.local = Find(hwnd);
    any.found = any.local != nullptr || Describe(hwnd, any.remote);
    if (!any.found)
        SetLastError(ERROR_INVALID_WINDOW_HANDLE);
    return any;
}

std::vector<Group> OtherProcessesWindows(std::uint64_t& localStamp)
{
    Self& self = TheSelf();
    {
        std::lock_guard<std::mutex> selfLock(self.lock);
        localStamp = self.stamp;
    }
    struct Item {
        std::int32_t z;
        HWND hwnd;
    };
    std::map<std::int32_t, std::pair<std::uint64_t, std::vector<Item>>> byProcess;
    {
        Registry& r = TheRegistry();
        host::sync::SharedLock lock(r.header);
        for (int i = 0; i < kEntries; ++i) {
            Entry& e = r.entries[i];
            if (!Live(e) || e.pid == static_cast<pid_t>(GetCurrentProcessId()) || !e.listed)
                continue;
            auto& group = byProcess[e.pid];
            group.first = std::max(group.first, e.stamp);
            group.second.push_back(Item{e.z, Encode(i, e.generation)});
        }
    }
    std::vector<Group> out;
    for (auto& [pid, group] : byProcess) {
        std::sort(group.second.begin(), group.second.end(), [](const Item& a, const Item& b) { return a.z < b.z; });
        Group g;
        g.stamp = group.first;
        for (const Item& item : group.second)
            g.windows.push_back(item.hwnd);
        out.push_back(std::move(g));
    }
    std::stable_sort(out.begin(), out.end(), [](const Group& a, const Group& b) { return a.stamp > b.stamp; });
    return out;
}

UINT RegisterMessageName(LPCSTR name)
{
    if (!name || !*name || std::strlen(name) >= kNameBytes) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    // Names this process has registered keep their numbers whatever happens to the registry.
    static std::mutex* lock = new std::mutex;
    static auto* known = new std::map<std::string, UINT>;
    std::string key = name;
    for (char& c : key)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + ('a' - 'A'));
    std::lock_guard<std::mutex> guard(*lock);
    if (auto it = known->find(key); it != known->end())
        return it->second;
    Registry& r = TheRegistry();
    UINT number = 0;
    {
        host::sync::SharedLock shared(r.header);
        std::uint32_t count = std::min<std::uint32_t>(r.messageCount, kMessageNames);
        for (std::uint32_t i = 0; i < count && !number; ++i)
            if (strcasecmp(r.messages[i], name) == 0)
                number = kFirstMessage + i;
        if (!number && count < kMessageNames) {
            std::strcpy(r.messages[count], name);
            r.messageCount = count + 1;
            number = kFirstMessage + count;
        }
    }
    if (!number) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return 0;
    }
    (*known)[key] = number;
    return number;
}

}  // namespace user::remote
