// The paging store: handle tables, the memory pool with its best-fit free list and compaction,
// the use list of unlocked resident blocks, and the swap file with its free ranges.
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

// A free piece of the pool (the list is ordered by address).
struct FreePiece {
    FreePiece* next;
    std::size_t size;
};
static_assert(sizeof(FreePiece) <= kGrain);

// Free ranges of the swap file, kept in pages that live in the pool.
constexpr int kRangesPerPage = 100;
struct RangePage {
    std::uint32_t offset[kRangesPerPage];
    std::uint32_t size[kRangesPerPage];  // 0: empty slot
    RangePage* next;
};

struct Store {
    // Pool
    Chunk* chunks = nullptr;
    FreePiece* freeList = nullptr;
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
    RangePage* rangePages = nullptr;
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

void PoolFree(std::byte* piece, std::size_t size)
{
    size = RoundUp(size);
    g.freeBytes += size;
    auto at = Address(piece);
    FreePiece* before = nullptr;
    FreePiece* after = g.freeList;
    while (after && Address(after) < at) {
        before = after;
        after = after->next;
    }
    auto* p = reinterpret_cast<FreePiece*>(piece);
    p->size = size;
    p->next = after;
    if (after && at + size == Address(after)) {
        p->size += after->size;
        p->next = after->next;
    }
    if (before && Address(before) + before->size == at) {
        before->size += p->size;
        before->next = p->next;
    } else if (before) {
        before->next = p;
    } else {
        g.freeList = p;
    }
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

// Best fit over the free list; nullptr when no piece is large enough.
std::byte* TakeFreePiece(std::size_t size)
{
    FreePiece** bestLink = nullptr;
    for (FreePiece** link = &g.freeList; *link; link = &(*link)->next) {
        if ((*link)->size == size) {
            bestLink = link;
            break;
        }
        if ((*link)->size > size && (!bestLink || (*link)->size < (*bestLink)->size))
            bestLink = link;
    }
    if (!bestLink)
        return nullptr;
    FreePiece* piece = *bestLink;
    g.freeBytes -= size;
    if (piece->size == size) {
        *bestLink = piece->next;
    } else {
        auto* rest = reinterpret_cast<FreePiece*>(reinterpret_cast<std::byte*>(piece) + size);
        rest->next = piece->next;
        rest->size = piece->size - size;
        *bestLink = rest;
    }
    return reinterpret_cast<std::byte*>(piece);
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
// table) is locked.
void PoolCompact()
{
    ++g.compactions;
    enum Kind { kTable, kBlock, kRangePage };
    struct Item {
        std::byte* at;
        std::size_t bytes;
        Kind kind;
        int index;  // table number, handle, or position in the range-page chain
        bool movable;
    };
    std::vector<Item> items;
    std::vector<RangePage*> pages;
    for (int t = 0; t < g.tableCount; ++t) {
        items.push_back({reinterpret_cast<std::byte*>(g.tables[t]), kTableBytes, kTable, t, g.lockedSmall == 0});
        for (std::size_t i = 0; i < kEntriesPerTable; ++i) {
            const Entry& e = g.tables[t][i];
            if ((e.state & MT_MEMORY) && !(e.state & MT_SMALL))
                items.push_back({e.u.big.address, RoundUp(e.size), kBlock, static_cast<int>((t << 8) | i),
                                 e.locks == 0});
        }
    }
    for (RangePage* page = g.rangePages; page; page = page->next) {
        items.push_back({reinterpret_cast<std::byte*>(page), RoundUp(sizeof(RangePage)), kRangePage,
                         static_cast<int>(pages.size()), true});
        pages.push_back(page);
    }
    std::sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        return Address(a.at) < Address(b.at);
    });

    struct Gap {
        std::byte* at;
        std::size_t bytes;
    };
    std::vector<Gap> gaps;
    for (Chunk* chunk = g.chunks; chunk; chunk = chunk->next) {
        std::byte* begin = reinterpret_cast<std::byte*>(chunk) + sizeof(Chunk);
        std::byte* end = reinterpret_cast<std::byte*>(chunk) + chunk->size;
        auto first = std::lower_bound(items.begin(), items.end(), begin, [](const Item& item, std::byte* p) {
            return Address(item.at) < Address(p);
        });
        std::byte* cursor = begin;
        for (auto it = first; it != items.end() && Address(it->at) < Address(end); ++it) {
            if (it->at != cursor && it->movable) {
                std::memmove(cursor, it->at, it->bytes);
                it->at = cursor;
                switch (it->kind) {
                case kTable:
                    g.tables[it->index] = reinterpret_cast<Entry*>(cursor);
                    break;
                case kBlock:
                    EntryOf(static_cast<VMHANDLE>(it->index))->u.big.address = cursor;
                    break;
                case kRangePage:
                    pages[it->index] = reinterpret_cast<RangePage*>(cursor);
                    break;
                }
            }
            if (it->at != cursor)
                gaps.push_back({cursor, static_cast<std::size_t>(it->at - cursor)});
            cursor = it->at + it->bytes;
        }
        if (cursor != end)
            gaps.push_back({cursor, static_cast<std::size_t>(end - cursor)});
    }
    for (std::size_t i = 0; i < pages.size(); ++i)
        pages[i]->next = i + 1 < pages.size() ? pages[i + 1] : nullptr;
    g.rangePages = pages.empty() ? nullptr : pages[0];

    std::sort(gaps.begin(), gaps.end(), [](const Gap& a, const Gap& b) {
        return Address(a.at) < Address(b.at);
    });
    g.freeList = nullptr;
    FreePiece** link = &g.freeList;
    for (const Gap& gap : gaps) {
        auto* piece = reinterpret_cast<FreePiece*>(gap.at);
        piece->size = gap.bytes;
        piece->next = nullptr;
        *link = piece;
        link = &piece->next;
    }
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
    RangePage* endsHerePage = nullptr;
    int endsHere = -1;
    RangePage* startsAfterPage = nullptr;
    int startsAfter = -1;
    RangePage* emptyPage = nullptr;
    int empty = -1;
    for (RangePage* page = g.rangePages; page; page = page->next) {
        for (int i = 0; i < kRangesPerPage; ++i) {
            if (page->size[i] == 0) {
                if (!emptyPage) {
                    emptyPage = page;
                    empty = i;
                }
            } else if (page->offset[i] + page->size[i] == offset) {
                endsHerePage = page;
                endsHere = i;
            } else if (page->offset[i] == offset + size) {
                startsAfterPage = page;
                startsAfter = i;
            }
        }
    }
    if (endsHerePage) {
        endsHerePage->size[endsHere] += size;
        if (startsAfterPage) {
            endsHerePage->size[endsHere] += startsAfterPage->size[startsAfter];
            startsAfterPage->size[startsAfter] = 0;
            --g.rangeCount;
        }
    } else if (startsAfterPage) {
        startsAfterPage->offset[startsAfter] = offset;
        startsAfterPage->size[startsAfter] += size;
    } else {
        if (!emptyPage) {
            if (noNewPage)
                return false;
            auto* page = reinterpret_cast<RangePage*>(PoolAlloc(sizeof(RangePage)));
            if (!page) {
                ReportError("dfree_new", "rmalloc");
                return false;
            }
            std::memset(page, 0, sizeof(RangePage));
            page->next = g.rangePages;
            g.rangePages = page;
            emptyPage = page;
            empty = 0;
        }
        emptyPage->offset[empty] = offset;
        emptyPage->size[empty] = size;
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
    RangePage* bestPage = nullptr;
    int best = -1;
    for (RangePage* page = g.rangePages; page; page = page->next) {
        for (int i = 0; i < kRangesPerPage; ++i) {
            if (page->size[i] < size || page->size[i] == 0)
                continue;
            if (!bestPage || page->size[i] < bestPage->size[best]) {
                bestPage = page;
                best = i;
                if (page->size[i] == size)
                    break;
            }
        }
        if (bestPage && bestPage->size[best] == size)
            break;
    }
    if (!bestPage)
        return kNoSwapCopy;
    std::uint32_t offset = bestPage->offset[best];
    if (bestPage->size[best] == size) {
        bestPage->size[best] = 0;
        --g.rangeCount;
    } else {
        bestPage->offset[best] += size;
        bestPage->size[best] -= size;
    }
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
    for (RangePage* page = g.rangePages; page; page = page->next)
        std::memset(page->size, 0, sizeof page->size);
    g.rangeCount = 0;
    g.swapFree = g.swapEnd - point;
    if (g.swapFree && g.rangePages) {
        g.rangePages->offset[0] = point;
        g.rangePages->size[0] = g.swapFree;
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
    g.rangeCount = 0;
    g.needsFlush = false;
    for (RangePage* page = g.rangePages; page; page = page->next)
        std::memset(page->size, 0, sizeof page->size);
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
