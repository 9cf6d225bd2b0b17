// The paging store: handle tables, the memory pool with its best-fit free list and compaction,
// the use list of unlocked resident blocks, and the swap file with its free ranges.
//
// The free pieces of the pool and the free ranges of the swap file are indexed by place and by
// size, and the occupied pieces of the pool by place: finding the best fit, merging with the
// neighbours and compaction cost a logarithm or one pass over the resident pieces, however many
// blocks live in the store.
#include "search/PagingStore.h"

#include "base/ShowMessage.h"
#include "base/DataFolders.h"

#include <io.h>

#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <map>
#include <new>
#include <set>
#include <tuple>
#include <vector>

namespace {

// ---------------------------------------------------------------------------------------------
// Settings

// Pool pieces are multiples of this (a free piece's header must fit into the smallest one).
constexpr std::size_t kGrain = 16;
// The pool limit is reached by chunks of at most this many bytes.
constexpr std::size_t kLargestChunk = 65536;
// Compaction is tried when the free pieces together exceed this many times the request.
constexpr std::size_t kCompactFactor = 2;
// Swap file compaction copies blocks down in pieces of this size.
constexpr unsigned kCopyPiece = 2048;
// Offsets in the swap file stay below this.
constexpr std::uint32_t kSwapLimit = 0x7FFFFFFF;
constexpr std::uint32_t kNoSwapCopy = 0xFFFFFFFF;

std::uintptr_t Address(const void* p)
{
    return reinterpret_cast<std::uintptr_t>(p);
}

std::size_t RoundUp(std::size_t size)
{
    return (size + kGrain - 1) / kGrain * kGrain;
}

// ---------------------------------------------------------------------------------------------
// Data model

// State flags of a handle entry; 0 is a free entry.
enum : std::uint8_t {
    MT_SMALL = 1,   // the data lives inside the entry
    MT_MEMORY = 2,  // the block has a piece in the pool
    MT_DISK = 4,    // the block lives only in the swap file
    MT_DIRTY = 8,   // the piece differs from the swap copy
    MT_LOCKED = 16, // at least one lock is held
};

struct BigBlock {
    std::uint32_t swapOffset;  // kNoSwapCopy when the block has no copy in the swap file
    std::uint32_t spare;
    std::byte* address;        // the piece in the pool while MT_MEMORY
};

// One handle entry. A small block keeps its data where a large one keeps its swap offset and
// address.
struct Entry {
    std::uint8_t state;
    std::uint8_t locks;
    std::uint16_t newer;  // use list: the next more recently used block (0 at the head)
    std::uint16_t older;  // use list: the next less recently used block; free entry: next free
    std::uint16_t size;
    union {
        BigBlock big;
        alignas(8) unsigned char data[16];
    } u;
};
static_assert(sizeof(Entry) == 24);
constexpr std::size_t kEntriesPerTable = 256;
constexpr std::size_t kTableBytes = kEntriesPerTable * sizeof(Entry);
constexpr int kMaxTables = 256;

// A chunk of the pool as obtained from the heap.
struct Chunk {
    Chunk* next;
    std::size_t size;  // with this header
};
static_assert(sizeof(Chunk) % kGrain == 0);

// What occupies a piece of the pool.
enum PieceKind : std::uint8_t { kTable, kBlock, kRangePage };
struct Owner {
    PieceKind kind;
    int index;          // table number, handle, or the range page's serial number
    std::size_t bytes;  // rounded up to the grain
};

// Free ranges of the swap file, kept in pages that live in the pool.
constexpr int kRangesPerPage = 100;
struct RangePage {
    std::uint32_t offset[kRangesPerPage];
    std::uint32_t size[kRangesPerPage];  // 0: empty slot
    RangePage* next;
};

// The nodes of the store's indexes are kept for reuse once freed: taking and giving back a node
// is a list operation, not a trip to the heap (the store runs on the user-interface thread only).
template <class T>
struct NodeAllocator {
    using value_type = T;
    NodeAllocator() = default;
    template <class U>
    NodeAllocator(const NodeAllocator<U>&)
    {
    }
    T* allocate(std::size_t n)
    {
        FreeNode*& head = Head();
        if (n != 1 || !head)
            return static_cast<T*>(::operator new(n * sizeof(T)));
        FreeNode* node = head;
        head = node->next;
        return reinterpret_cast<T*>(node);
    }
    void deallocate(T* p, std::size_t n)
    {
        if (n != 1) {
            ::operator delete(p);
            return;
        }
        auto* node = reinterpret_cast<FreeNode*>(p);
        node->next = Head();
        Head() = node;
    }
    template <class U>
    bool operator==(const NodeAllocator<U>&) const
    {
        return true;
    }

private:
    struct FreeNode {
        FreeNode* next;
    };
    static_assert(sizeof(T) >= sizeof(FreeNode));
    static FreeNode*& Head()
    {
        static FreeNode* head = nullptr;
        return head;
    }
};

template <class Key, class Value>
using IndexMap = std::map<Key, Value, std::less<Key>, NodeAllocator<std::pair<const Key, Value>>>;
template <class Key>
using IndexSet = std::set<Key, std::less<Key>, NodeAllocator<Key>>;

struct Store {
    // Pool
    Chunk* chunks = nullptr;
    // Free pieces by address (for merging) and by size, then address (for the best fit: the
    // smallest piece that is large enough, the lowest of equal ones).
    IndexMap<std::uintptr_t, std::size_t> freeByAddress;
    IndexSet<std::pair<std::size_t, std::uintptr_t>> freeBySize;
    // Occupied pieces by address.
    IndexMap<std::uintptr_t, Owner> used;
    std::size_t poolSize = 0;
    std::size_t freeBytes = 0;
    std::size_t poolLimit = 0;  // 0: grows on demand
    std::size_t poolMaximum = VM_DEFAULT_POOL_MAXIMUM;
    // Handles
    Entry* tables[kMaxTables] = {};
    int tableCount = 0;
    VMHANDLE freeHandles = 0;
    VMHANDLE useHead = 0;  // most recently used
    VMHANDLE useTail = 0;  // least recently used
    unsigned lockedSmall = 0;
    DWORD blocks = 0;
    // Swap file
    int fd = -1;
    bool initTried = false;
    bool initReported = false;
    char swapName[_MAX_PATH] = {};
    std::uint32_t swapEnd = 0;
    std::uint32_t swapFree = 0;
    unsigned rangeCount = 0;
    bool needsFlush = false;
    RangePage* rangePages = nullptr;  // newest first
    std::vector<RangePage*> rangePageBySerial;  // oldest first
    // Free ranges by offset (for merging), by size then place in the page chain (for the best
    // fit: the smallest range that is large enough, the first of equal ones), and the empty
    // slots in chain order. A place is (-serial, slot): newer pages come first in the chain.
    IndexMap<std::uint32_t, std::pair<int, int>> rangeAt;
    IndexSet<std::tuple<std::uint32_t, int, int>> rangeBySize;
    IndexSet<std::pair<int, int>> emptySlots;
    // Counters
    DWORD allocations = 0;
    DWORD pageOuts = 0;
    DWORD pageIns = 0;
    DWORD swapWrites = 0;
    DWORD compactions = 0;
    DWORD swapCompactions = 0;
};

Store g;
bool g_exitRegistered = false;

// ---------------------------------------------------------------------------------------------
// The index of the swap file's free ranges (their values live in the range pages)

RangePage* RangePageAt(std::pair<int, int> place)
{
    return g.rangePageBySerial[static_cast<std::size_t>(-place.first)];
}

void SetRange(std::pair<int, int> place, std::uint32_t offset, std::uint32_t size)
{
    RangePage* page = RangePageAt(place);
    page->offset[place.second] = offset;
    page->size[place.second] = size;
    g.emptySlots.erase(place);
    g.rangeAt.emplace(offset, place);
    g.rangeBySize.emplace(size, place.first, place.second);
}

void ClearRange(std::pair<int, int> place)
{
    RangePage* page = RangePageAt(place);
    g.rangeAt.erase(page->offset[place.second]);
    g.rangeBySize.erase({page->size[place.second], place.first, place.second});
    page->size[place.second] = 0;
    g.emptySlots.insert(place);
}

// Every slot of every page empty.
void ResetRanges()
{
    g.rangeAt.clear();
    g.rangeBySize.clear();
    g.emptySlots.clear();
    for (std::size_t serial = 0; serial < g.rangePageBySerial.size(); ++serial) {
        std::memset(g.rangePageBySerial[serial]->size, 0, sizeof g.rangePageBySerial[serial]->size);
        for (int i = 0; i < kRangesPerPage; ++i)
            g.emptySlots.emplace(-static_cast<int>(serial), i);
    }
    g.rangeCount = 0;
}

// The page chain again after compaction moved pages: newest first.
void RelinkRangePages()
{
    RangePage* next = nullptr;
    for (RangePage* page : g.rangePageBySerial) {
        page->next = next;
        next = page;
    }
    g.rangePages = next;
}

// ---------------------------------------------------------------------------------------------
// The store's two connections to the rest of the program.

// Where the store's messages go.
void Report(const CString& text)
{
    ShowMessage(text);
}

// The configured folder of the swap file, as the user wrote it.
CString SwapFolderSetting()
{
    CString folder = GetAppProfileString(VL_PRODUCT_SECTION, "TFL", NULL);
    if (!folder.IsEmpty())
        return folder;
    for (LPCSTR name : {"VMPATH", "TEMP"}) {
        char value[_MAX_PATH];
        DWORD length = GetEnvironmentVariable(name, value, sizeof value);
        if (length > 0 && length < sizeof value)
            return value;
    }
    char temp[_MAX_PATH];
    DWORD length = GetTempPath(sizeof temp, temp);
    if (length == 0 || length >= sizeof temp)
        return CString();
    return temp;
}

void ReportError(const char* operation, const char* detail)
{
    CString text;
    text.Format("\nVM system error - %s, %s\n", operation, detail);
    Report(text);
}

// ---------------------------------------------------------------------------------------------
// Handles

bool IsSmall(const Entry* e)
{
    return (e->state & MT_SMALL) != 0;
}

Entry* EntryOf(VMHANDLE handle)
{
    return &g.tables[handle >> 8][handle & 0xFF];
}

Entry* ValidEntry(VMHANDLE handle)
{
    if (handle == 0 || (handle >> 8) >= g.tableCount)
        return nullptr;
    Entry* e = EntryOf(handle);
    return e->state ? e : nullptr;
}

void UseListRemove(VMHANDLE handle)
{
    Entry* e = EntryOf(handle);
    if (e->newer)
        EntryOf(e->newer)->older = e->older;
    else
        g.useHead = e->older;
    if (e->older)
        EntryOf(e->older)->newer = e->newer;
    else
        g.useTail = e->newer;
    e->newer = e->older = 0;
}

void UseListPushHead(VMHANDLE handle)
{
    Entry* e = EntryOf(handle);
    e->newer = 0;
    e->older = g.useHead;
    if (g.useHead)
        EntryOf(g.useHead)->newer = handle;
    else
        g.useTail = handle;
    g.useHead = handle;
}

// ---------------------------------------------------------------------------------------------
// Pool

void InsertFree(std::uintptr_t at, std::size_t size)
{
    g.freeByAddress.emplace(at, size);
    g.freeBySize.emplace(size, at);
}

IndexMap<std::uintptr_t, std::size_t>::iterator EraseFree(IndexMap<std::uintptr_t, std::size_t>::iterator it)
{
    g.freeBySize.erase({it->second, it->first});
    return g.freeByAddress.erase(it);
}

// Gives a piece back, merged with the free pieces right before and after it.
void PoolFree(std::byte* piece, std::size_t size)
{
    size = RoundUp(size);
    g.freeBytes += size;
    std::uintptr_t at = Address(piece);
    std::size_t total = size;
    auto after = g.freeByAddress.lower_bound(at);
    if (after != g.freeByAddress.end() && at + size == after->first) {
        total += after->second;
        after = EraseFree(after);
    }
    if (after != g.freeByAddress.begin()) {
        auto before = std::prev(after);
        if (before->first + before->second == at) {
            at = before->first;
            total += before->second;
            EraseFree(before);
        }
    }
    InsertFree(at, total);
}

bool AddChunk(std::size_t bytes)
{
    auto* chunk = static_cast<Chunk*>(std::calloc(1, bytes));
    if (!chunk)
        return false;
    chunk->size = bytes;
    chunk->next = g.chunks;
    g.chunks = chunk;
    g.poolSize += bytes;
    PoolFree(reinterpret_cast<std::byte*>(chunk) + sizeof(Chunk), bytes - sizeof(Chunk));
    return true;
}

bool GrowPool(std::size_t size)
{
    std::size_t units = (size + sizeof(Chunk) + VM_POOL_UNIT - 1) / VM_POOL_UNIT;
    std::size_t bytes = units * VM_POOL_UNIT;
    if (g.poolLimit && g.poolSize + bytes > g.poolLimit)
        return false;
    return AddChunk(bytes);
}

// Best fit over the free pieces: the smallest that is large enough, the lowest in memory of
// equal ones; nullptr when none is large enough.
std::byte* TakeFreePiece(std::size_t size)
{
    auto best = g.freeBySize.lower_bound({size, 0});
    if (best == g.freeBySize.end())
        return nullptr;
    const auto [pieceSize, at] = *best;
    g.freeBytes -= size;
    auto place = g.freeByAddress.find(at);
    if (pieceSize == size) {
        g.freeBySize.erase(best);
        g.freeByAddress.erase(place);
    } else {
        // The rest keeps its place among the pieces by address: the nodes are reused.
        auto next = std::next(place);
        auto byAddress = g.freeByAddress.extract(place);
        byAddress.key() = at + size;
        byAddress.mapped() = pieceSize - size;
        g.freeByAddress.insert(next, std::move(byAddress));
        auto bySize = g.freeBySize.extract(best);
        bySize.value() = {pieceSize - size, at + size};
        g.freeBySize.insert(std::move(bySize));
    }
    return reinterpret_cast<std::byte*>(at);
}

void PoolCompact();
bool PageOutLru(std::size_t size);

std::byte* PoolAlloc(std::size_t size)
{
    size = RoundUp(size);
    bool compactAllowed = true;
    for (;;) {
        if (std::byte* piece = TakeFreePiece(size))
            return piece;
        if (compactAllowed && g.freeBytes > kCompactFactor * size) {
            PoolCompact();
            compactAllowed = false;
            continue;
        }
        if (GrowPool(size)) {
            compactAllowed = false;
            continue;
        }
        if (!PageOutLru(size))
            return nullptr;
        compactAllowed = true;
    }
}

// Slides every movable piece of each chunk down over the free space before it. Locked blocks stay
// where they are, and so do the handle tables while a small block (whose address lies in its
// table) is locked. One pass over the occupied pieces in address order.
void PoolCompact()
{
    ++g.compactions;
    std::vector<std::pair<std::uintptr_t, Owner>> placed;
    placed.reserve(g.used.size());
    g.freeByAddress.clear();
    g.freeBySize.clear();
    bool pagesMoved = false;
    for (Chunk* chunk = g.chunks; chunk; chunk = chunk->next) {
        std::byte* begin = reinterpret_cast<std::byte*>(chunk) + sizeof(Chunk);
        std::byte* end = reinterpret_cast<std::byte*>(chunk) + chunk->size;
        std::byte* cursor = begin;
        for (auto it = g.used.lower_bound(Address(begin)); it != g.used.end() && it->first < Address(end); ++it) {
            auto* at = reinterpret_cast<std::byte*>(it->first);
            const Owner& owner = it->second;
            bool movable = owner.kind == kTable   ? g.lockedSmall == 0
                           : owner.kind == kBlock ? EntryOf(static_cast<VMHANDLE>(owner.index))->locks == 0
                                                  : true;
            if (at != cursor && movable) {
                std::memmove(cursor, at, owner.bytes);
                switch (owner.kind) {
                case kTable:
                    g.tables[owner.index] = reinterpret_cast<Entry*>(cursor);
                    break;
                case kBlock:
                    EntryOf(static_cast<VMHANDLE>(owner.index))->u.big.address = cursor;
                    break;
                case kRangePage:
                    g.rangePageBySerial[static_cast<std::size_t>(owner.index)] = reinterpret_cast<RangePage*>(cursor);
                    pagesMoved = true;
                    break;
                }
                at = cursor;
            }
            if (at != cursor)
                InsertFree(Address(cursor), static_cast<std::size_t>(at - cursor));
            placed.emplace_back(Address(at), owner);
            cursor = at + owner.bytes;
        }
        if (cursor != end)
            InsertFree(Address(cursor), static_cast<std::size_t>(end - cursor));
    }
    std::sort(placed.begin(), placed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    g.used.clear();
    for (const auto& item : placed)
        g.used.emplace_hint(g.used.end(), item.first, item.second);
    if (pagesMoved)
        RelinkRangePages();
}

// ---------------------------------------------------------------------------------------------
// Swap file

bool SeekTo(std::uint32_t offset)
{
    return _lseek(g.fd, static_cast<long>(offset), SEEK_SET) == static_cast<long>(offset);
}

// Gives a range of the swap file back. With `noNewPage` the range must fit into an existing
// page; false when it could not be recorded.
bool SwapFree(std::uint32_t size, std::uint32_t offset, bool noNewPage)
{
    if (g.fd < 0 || offset == kNoSwapCopy || size == 0)
        return true;
    auto startsAfter = g.rangeAt.find(offset + size);
    auto endsHere = g.rangeAt.lower_bound(offset);
    if (endsHere != g.rangeAt.begin()) {
        endsHere = std::prev(endsHere);
        if (endsHere->first + RangePageAt(endsHere->second)->size[endsHere->second.second] != offset)
            endsHere = g.rangeAt.end();
    } else {
        endsHere = g.rangeAt.end();
    }
    if (endsHere != g.rangeAt.end()) {
        const std::pair<int, int> place = endsHere->second;
        std::uint32_t start = endsHere->first;
        std::uint32_t total = RangePageAt(place)->size[place.second] + size;
        if (startsAfter != g.rangeAt.end()) {
            const std::pair<int, int> next = startsAfter->second;
            total += RangePageAt(next)->size[next.second];
            ClearRange(next);
            --g.rangeCount;
        }
        ClearRange(place);
        SetRange(place, start, total);
    } else if (startsAfter != g.rangeAt.end()) {
        const std::pair<int, int> place = startsAfter->second;
        std::uint32_t total = RangePageAt(place)->size[place.second] + size;
        ClearRange(place);
        SetRange(place, offset, total);
    } else {
        if (g.emptySlots.empty()) {
            if (noNewPage)
                return false;
            auto* page = reinterpret_cast<RangePage*>(PoolAlloc(sizeof(RangePage)));
            if (!page) {
                ReportError("dfree_new", "rmalloc");
                return false;
            }
            std::memset(page, 0, sizeof(RangePage));
            const int serial = static_cast<int>(g.rangePageBySerial.size());
            g.used[Address(page)] = Owner{kRangePage, serial, RoundUp(sizeof(RangePage))};
            page->next = g.rangePages;
            g.rangePages = page;
            g.rangePageBySerial.push_back(page);
            for (int i = 0; i < kRangesPerPage; ++i)
                g.emptySlots.emplace(-serial, i);
        }
        SetRange(*g.emptySlots.begin(), offset, size);
        ++g.rangeCount;
    }
    g.swapFree += size;
    return true;
}

// Takes `size` bytes from the free ranges (best fit); kNoSwapCopy when none is large enough.
std::uint32_t TakeSwapRange(std::uint32_t size)
{
    if (g.swapFree < size)
        return kNoSwapCopy;
    auto best = g.rangeBySize.lower_bound({size, std::numeric_limits<int>::min(), 0});
    if (best == g.rangeBySize.end())
        return kNoSwapCopy;
    const auto [rangeSize, negSerial, slot] = *best;
    const std::pair<int, int> place{negSerial, slot};
    std::uint32_t offset = RangePageAt(place)->offset[slot];
    ClearRange(place);
    if (rangeSize == size)
        --g.rangeCount;
    else
        SetRange(place, offset + size, rangeSize - size);
    g.swapFree -= size;
    return offset;
}

void SwapFlush()
{
    if (_commit(g.fd) != 0)
        ReportError("VM_swap_flush", "commit - the swap file could not be committed.");
    g.needsFlush = false;
}

// Recovery from a short write: squeezes the free ranges out of the swap file by copying every
// paged-out block down. Resident blocks give up their swap copies (they are written again at
// their next page-out). Afterwards all free room is one range after the last block.
void CompactSwapInPlace()
{
    ++g.swapCompactions;
    std::vector<VMHANDLE> onDisk;
    for (int t = 0; t < g.tableCount; ++t) {
        for (std::size_t i = 0; i < kEntriesPerTable; ++i) {
            Entry& e = g.tables[t][i];
            if (!e.state || IsSmall(&e))
                continue;
            auto handle = static_cast<VMHANDLE>((t << 8) | i);
            if (e.state & MT_MEMORY) {
                if (e.u.big.swapOffset != kNoSwapCopy) {
                    g.swapFree += e.size;
                    e.u.big.swapOffset = kNoSwapCopy;
                }
                e.state |= MT_DIRTY;
            } else if (e.state & MT_DISK) {
                onDisk.push_back(handle);
            }
        }
    }
    std::sort(onDisk.begin(), onDisk.end(), [](VMHANDLE a, VMHANDLE b) {
        return EntryOf(a)->u.big.swapOffset < EntryOf(b)->u.big.swapOffset;
    });
    std::uint32_t point = 0;
    char buffer[kCopyPiece];
    for (VMHANDLE handle : onDisk) {
        Entry* e = EntryOf(handle);
        std::uint32_t from = e->u.big.swapOffset;
        if (from != point) {
            for (std::uint32_t done = 0; done < e->size;) {
                unsigned piece = std::min<unsigned>(kCopyPiece, e->size - done);
                if (!SeekTo(from + done)) {
                    ReportError("d_compact1", "lseek");
                    return;
                }
                if (_read(g.fd, buffer, piece) != static_cast<int>(piece)) {
                    ReportError("d_compact1", "read");
                    return;
                }
                if (!SeekTo(point + done)) {
                    ReportError("d_compact1", "lseek");
                    return;
                }
                if (_write(g.fd, buffer, piece) != static_cast<int>(piece)) {
                    ReportError("d_compact1", "write - possibly out of disk space.");
                    return;
                }
                done += piece;
            }
            e->u.big.swapOffset = point;
        }
        point += e->size;
    }
    ResetRanges();
    g.swapFree = g.swapEnd - point;
    if (g.swapFree && g.rangePages) {
        SetRange({-static_cast<int>(g.rangePageBySerial.size() - 1), 0}, point, g.swapFree);
        g.rangeCount = 1;
    }
    SwapFlush();
}

// Writes a block's contents to new room in the swap file; its offset, or kNoSwapCopy.
std::uint32_t SwapAllocate(std::uint32_t size, const std::byte* data)
{
    for (bool recovered = false;;) {
        std::uint32_t offset = TakeSwapRange(size);
        if (offset != kNoSwapCopy) {
            if (!SeekTo(offset)) {
                ReportError("disk_next", "lseek");
            } else if (_write(g.fd, data, size) != static_cast<int>(size)) {
                ReportError("disk_next", "write - possibly out of disk space.");
            } else {
                return offset;
            }
            SwapFree(size, offset, true);
            return kNoSwapCopy;
        }

        if (g.swapEnd > kSwapLimit - size) {
            ReportError("disk_next", "the swap file is full.");
            return kNoSwapCopy;
        }
        if (!SeekTo(g.swapEnd)) {
            ReportError("disk_next", "lseek");
            return kNoSwapCopy;
        }
        int written = _write(g.fd, data, size);
        if (written == static_cast<int>(size)) {
            g.needsFlush = true;
            offset = g.swapEnd;
            g.swapEnd += size;
            return offset;
        }
        if (recovered || !g.rangePages) {
            ReportError("disk_next", "write - possibly out of disk space.");
            return kNoSwapCopy;
        }
        // Out of disk space: keep what was written as free room, close up the holes and try
        // once more.
        if (written > 0) {
            std::uint32_t start = g.swapEnd;
            g.swapEnd += static_cast<std::uint32_t>(written);
            if (!SwapFree(static_cast<std::uint32_t>(written), start, true)) {
                ReportError("disk_next", "internal");
                return kNoSwapCopy;
            }
        }
        CompactSwapInPlace();
        recovered = true;
    }
}

// ---------------------------------------------------------------------------------------------
// Paging

// Moves an unlocked resident block to the swap file. A dirty block, or one that has no copy there
// yet, is written first.
bool PageOut(VMHANDLE handle)
{
    Entry* e = EntryOf(handle);
    if (!(e->state & MT_MEMORY) || IsSmall(e)) {
        ReportError("page_out", "not MT_MEMORY");
        return false;
    }
    if (e->locks) {
        ReportError("page_out", "can't page out frozen memory");
        return false;
    }
    // Out of the use list while it is written, so that nothing else picks it.
    UseListRemove(handle);
    if ((e->state & MT_DIRTY) || e->u.big.swapOffset == kNoSwapCopy) {
        bool written = false;
        if (e->u.big.swapOffset != kNoSwapCopy) {
            if (!SeekTo(e->u.big.swapOffset))
                ReportError("page_out", "lseek");
            else if (_write(g.fd, e->u.big.address, e->size) != e->size)
                ReportError("page_out", "write - possibly out of disk space.");
            else
                written = true;
        } else {
            std::uint32_t offset = SwapAllocate(e->size, e->u.big.address);
            e = EntryOf(handle);
            if (offset != kNoSwapCopy) {
                e->u.big.swapOffset = offset;
                written = true;
            }
        }
        if (!written) {
            UseListPushHead(handle);
            return false;
        }
        ++g.swapWrites;
    }
    g.used.erase(Address(e->u.big.address));
    PoolFree(e->u.big.address, e->size);
    e->u.big.address = nullptr;
    e->state = MT_DISK;
    ++g.pageOuts;
    return true;
}

// Pages out least recently used blocks until `size` bytes have gone; false when nothing could be
// paged out.
bool PageOutLru(std::size_t size)
{
    if (g.fd < 0 || !g.useTail)
        return false;
    bool any = false;
    long long wanted = static_cast<long long>(size);
    while (wanted > 0 && g.useTail) {
        VMHANDLE handle = g.useTail;
        std::size_t bytes = RoundUp(EntryOf(handle)->size);
        if (!PageOut(handle))
            break;
        any = true;
        wanted -= static_cast<long long>(bytes);
    }
    return any;
}

bool PageIn(VMHANDLE handle)
{
    Entry* e = EntryOf(handle);
    if (!(e->state & MT_DISK)) {
        ReportError("page_in", "not MT_DISK");
        return false;
    }
    if (g.fd < 0) {
        ReportError("page_in", "no swap file");
        return false;
    }
    std::byte* piece = PoolAlloc(e->size);
    if (!piece)
        return false;
    e = EntryOf(handle);
    if (e->u.big.swapOffset != kNoSwapCopy) {
        const char* failure = nullptr;
        if (!SeekTo(e->u.big.swapOffset))
            failure = "lseek";
        else if (_read(g.fd, piece, e->size) != e->size)
            failure = "read";
        if (failure) {
            ReportError("page_in", failure);
            PoolFree(piece, e->size);
            return false;
        }
    }
    e->u.big.address = piece;
    e->state = MT_MEMORY;
    g.used[Address(piece)] = Owner{kBlock, handle, RoundUp(e->size)};
    ++g.pageIns;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Handles: taking and giving back

VMHANDLE TakeHandle()
{
    if (!g.freeHandles) {
        if (g.tableCount >= kMaxTables)
            return 0;
        auto* table = reinterpret_cast<Entry*>(PoolAlloc(kTableBytes));
        if (!table)
            return 0;
        std::memset(static_cast<void*>(table), 0, kTableBytes);
        int t = g.tableCount++;
        g.tables[t] = table;
        g.used[Address(table)] = Owner{kTable, t, kTableBytes};
        for (int i = static_cast<int>(kEntriesPerTable) - 1; i >= (t == 0 ? 1 : 0); --i) {
            table[i].older = g.freeHandles;
            g.freeHandles = static_cast<VMHANDLE>((t << 8) | i);
        }
    }
    VMHANDLE handle = g.freeHandles;
    Entry* e = EntryOf(handle);
    g.freeHandles = e->older;
    e->older = 0;
    return handle;
}

void ReleaseHandle(VMHANDLE handle)
{
    Entry* e = EntryOf(handle);
    std::memset(static_cast<void*>(e), 0, sizeof(Entry));
    e->older = g.freeHandles;
    g.freeHandles = handle;
}

void ShutdownAtExit()
{
    VmShutdown();
}

// Creates the swap file in the configured folder, with a name no other file has.
int MakeSwapFile()
{
    CString folder = SwapFolderSetting();
    if (!folder.IsEmpty()) {
        CString directory = folder;
        while (directory.GetLength() > 1 && (directory.Right(1) == "\\" || directory.Right(1) == "/") &&
               directory.Right(2) != ":\\" && directory.Right(2) != ":/")
            directory = directory.Left(directory.GetLength() - 1);
        if (!CreateDirectory(directory, NULL) && GetLastError() == ERROR_PATH_NOT_FOUND) {
            Report("Failed to create this directory for the virtual memory file.\n" + folder +
                   "\n Please specify a valid directory path in the Preferences box. \n" + "Will Try to continue.");
            folder.Empty();
        }
    }
    if (!folder.IsEmpty() && folder.Right(1) != "\\" && folder.Right(1) != "/")
        folder += "\\";
    CString nameTemplate = folder + "vmXXXXXX";
    if (nameTemplate.GetLength() >= _MAX_PATH) {
        ReportError("VM_init", "the swap folder's name is too long: " + folder);
        return VM_INIT_NO_NAME;
    }
    char name[_MAX_PATH];
    for (int attempt = 0; attempt < 64; ++attempt) {
        std::strcpy(name, nameTemplate);
        if (!_mktemp(name)) {
            ReportError("VM_init", "no unique name for a swap file in " + (folder.IsEmpty() ? CString(".") : folder));
            return VM_INIT_NO_NAME;
        }
        // Created exclusively: a file another program made under the same name in the meantime is
        // never taken over.
        g.fd = _open(name, _O_RDWR | _O_CREAT | _O_EXCL | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (g.fd >= 0) {
            std::strcpy(g.swapName, name);
            return VM_INIT_OK;
        }
        if (errno != EEXIST)
            break;
    }
    int cause = errno;
    if (!g.initReported) {
        g.initReported = true;
        CString detail;
        detail.Format("cannot create the swap file %s - %s. The search keeps its data in memory only.", name,
                      std::strerror(cause));
        ReportError("VM_init", detail);
    }
    return VM_INIT_NO_FILE;
}

}  // namespace

// ---------------------------------------------------------------------------------------------
// Interface

int VmInit()
{
    if (g.fd >= 0)
        return VM_INIT_OK;
    if (!g_exitRegistered) {
        g_exitRegistered = true;
        std::atexit(ShutdownAtExit);
    }
    g.initTried = true;
    g.swapName[0] = '\0';
    g.swapEnd = 0;
    g.swapFree = 0;
    g.needsFlush = false;
    ResetRanges();
    return MakeSwapFile();
}

DWORD VmInitPool(BOOL enable)
{
    if (!enable)
        return 0;
    std::size_t added = 0;
    for (std::size_t units = kLargestChunk / VM_POOL_UNIT; units >= 1; --units) {
        std::size_t bytes = units * VM_POOL_UNIT;
        while (g.poolSize + bytes <= g.poolMaximum && AddChunk(bytes))
            added += bytes;
    }
    g.poolLimit = g.poolSize;
    return static_cast<DWORD>(added);
}

void VmSetPoolMaximum(DWORD bytes)
{
    g.poolMaximum = bytes;
}

VMHANDLE VmAlloc(UINT size, BOOL zero)
{
    if (size > VM_MAX_BLOCK_SIZE)
        return 0;
    if (!g.initTried)
        VmInit();
    VMHANDLE handle = TakeHandle();
    if (!handle)
        return 0;
    if (size > VM_SMALL_BLOCK_SIZE) {
        std::byte* piece = PoolAlloc(size);
        if (!piece) {
            ReleaseHandle(handle);
            return 0;
        }
        Entry* e = EntryOf(handle);
        e->state = MT_MEMORY;
        e->size = static_cast<std::uint16_t>(size);
        e->u.big.swapOffset = kNoSwapCopy;
        e->u.big.address = piece;
        g.used[Address(piece)] = Owner{kBlock, handle, RoundUp(size)};
        UseListPushHead(handle);
        if (zero) {
            std::memset(piece, 0, size);
            e->state |= MT_DIRTY;
        }
    } else {
        Entry* e = EntryOf(handle);
        e->state = MT_SMALL;
        e->size = static_cast<std::uint16_t>(size);
        if (zero)
            std::memset(e->u.data, 0, sizeof e->u.data);
    }
    ++g.blocks;
    ++g.allocations;
    return handle;
}

LPVOID VmLock(VMHANDLE handle, BOOL dirty, BOOL lock)
{
    Entry* e = ValidEntry(handle);
    if (!e)
        return NULL;
    if (lock && e->locks == 0xFF)
        return NULL;

    if (IsSmall(e)) {
        if (lock) {
            if (e->locks++ == 0)
                ++g.lockedSmall;
        } else if (e->locks && --e->locks == 0) {
            --g.lockedSmall;
        }
    } else if (e->state & MT_MEMORY) {
        if (lock) {
            if (e->locks++ == 0)
                UseListRemove(handle);
        } else if (e->locks) {
            if (--e->locks == 0)
                UseListPushHead(handle);
        } else if (g.useHead != handle) {
            UseListRemove(handle);
            UseListPushHead(handle);
        }
    } else {
        if (!PageIn(handle))
            return NULL;
        e = EntryOf(handle);
        if (lock)
            e->locks = 1;
        else
            UseListPushHead(handle);
    }

    if (dirty)
        e->state |= MT_DIRTY;
    if (e->locks)
        e->state |= MT_LOCKED;
    else
        e->state &= static_cast<std::uint8_t>(~MT_LOCKED);
    return IsSmall(e) ? static_cast<LPVOID>(e->u.data) : static_cast<LPVOID>(e->u.big.address);
}

VMHANDLE VmRealloc(VMHANDLE handle, UINT size)
{
    Entry* e = ValidEntry(handle);
    if (!e || size > VM_MAX_BLOCK_SIZE)
        return 0;
    if (IsSmall(e) && size <= VM_SMALL_BLOCK_SIZE) {
        e->size = static_cast<std::uint16_t>(size);
        return handle;
    }
    if (!IsSmall(e) && size == e->size)
        return handle;

    // The old block stays locked while the new one is found, so that it is neither paged out nor
    // moved under the copy.
    const void* old = VmLock(handle, FALSE, TRUE);
    if (!old)
        return 0;
    UINT oldSize = EntryOf(handle)->size;
    VMHANDLE grown = VmAlloc(size, FALSE);
    if (!grown) {
        VmLock(handle, FALSE, FALSE);
        return 0;
    }
    void* target = VmLock(grown, TRUE, TRUE);
    std::memcpy(target, old, std::min(oldSize, size));
    VmLock(grown, FALSE, FALSE);
    VmFree(handle);
    return grown;
}

void VmFree(VMHANDLE handle)
{
    Entry* e = ValidEntry(handle);
    if (!e)
        return;
    --g.blocks;
    if (IsSmall(e)) {
        if (e->locks)
            --g.lockedSmall;
        ReleaseHandle(handle);
        return;
    }
    std::uint32_t size = e->size;
    std::uint32_t offset = e->u.big.swapOffset;
    if (e->state & MT_MEMORY) {
        if (!e->locks)
            UseListRemove(handle);
        g.used.erase(Address(e->u.big.address));
        PoolFree(e->u.big.address, size);
    }
    ReleaseHandle(handle);
    SwapFree(size, offset, false);
}

void VmShutdown()
{
    if (g.fd >= 0) {
        if (_close(g.fd) != 0)
            ReportError("VM_end", "close");
        g.fd = -1;
        if (_unlink(g.swapName) != 0)
            ReportError("VM_end", "unlink");
    }
    while (g.chunks) {
        Chunk* next = g.chunks->next;
        std::free(g.chunks);
        g.chunks = next;
    }
    std::size_t maximum = g.poolMaximum;
    g = Store();
    g.poolMaximum = maximum;
}

CString VmSwapFolder()
{
    return SwapFolderSetting();
}

void VmGetStatistics(VmStatistics* statistics)
{
    if (!statistics)
        return;
    std::memset(statistics, 0, sizeof *statistics);
    statistics->poolSize = static_cast<DWORD>(g.poolSize);
    statistics->poolFree = static_cast<DWORD>(g.freeBytes);
    statistics->poolLimit = static_cast<DWORD>(g.poolLimit);
    statistics->blocks = g.blocks;
    statistics->allocations = g.allocations;
    statistics->pageOuts = g.pageOuts;
    statistics->pageIns = g.pageIns;
    statistics->swapWrites = g.swapWrites;
    statistics->compactions = g.compactions;
    statistics->swapCompactions = g.swapCompactions;
    statistics->swapOpen = g.fd >= 0;
    statistics->swapEnd = g.swapEnd;
    statistics->swapFree = g.swapFree;
    std::strcpy(statistics->swapFile, g.swapName);
}
