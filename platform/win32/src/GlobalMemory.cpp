// Global and local memory blocks: fixed blocks addressed by their handle, movable blocks behind
// opaque handles, lock counts, discarding, and a table that validates every handle.
#include <windows.h>

#include <host/MemoryLimit.h>

#include <sys/mman.h>

#include <atomic>

#include <cstdlib>
#include <cstring>
#include <deque>
#include <memory>
#include <mutex>
#include <unordered_map>

namespace {

struct Block {
    HANDLE handle = nullptr;
    bool movable = false;
    bool discardable = false;
    unsigned locks = 0;
    std::size_t size = 0;
    std::size_t capacity = 0;
    unsigned char* data = nullptr;  // null while a movable block is discarded

    ~Block() { std::free(data); }
};

constexpr std::size_t kMaxBlock = std::size_t(1) << 40;

// A test's limit (host/MemoryLimit.h); 0 none.
std::atomic<std::size_t> g_blockLimit{0};

bool TooLarge(std::size_t bytes)
{
    const std::size_t limit = g_blockLimit.load();
    return bytes > kMaxBlock || (limit != 0 && bytes > limit);
}

std::size_t Capacity(std::size_t bytes) { return ((bytes ? bytes : 1) + 15) & ~std::size_t(15); }

// Flags of both families in one form.
struct Flags {
    bool movable, zero, modify, discardable;
};

class Heap {
public:
    static Heap& Instance()
    {
        static Heap heap;
        return heap;
    }

    HANDLE Alloc(Flags f, std::size_t bytes)
    {
        if (TooLarge(bytes)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        auto block = std::make_unique<Block>();
        block->movable = f.movable;
        block->discardable = f.movable && f.discardable;
        if (!f.movable || bytes > 0) {
            if (!Provide(*block, bytes, f.zero)) {
                SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                return nullptr;
            }
        }
        std::lock_guard<std::mutex> guard(m_lock);
        HANDLE h = Adopt(std::move(block));
        if (!h)
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return h;
    }

    HANDLE ReAlloc(HANDLE h, std::size_t bytes, Flags f)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        Block* b = Find(h);
        if (!b)
            return nullptr;
        if (f.modify) {
            if (b->movable)
                b->discardable = f.discardable;
            if (f.movable && !b->movable) {
                if (!HasFreeSlot()) {
                    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
                    return nullptr;
                }
                std::unique_ptr<Block> owned = Release(h);
                owned->movable = true;
                owned->discardable = f.discardable;
                return Adopt(std::move(owned));
            }
            return h;
        }
        if (TooLarge(bytes)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (bytes == 0 && b->movable && f.movable) {
            if (b->locks) {
                SetLastError(ERROR_INVALID_HANDLE);
                return nullptr;
            }
            m_byAddress.erase(b->data);
            std::free(b->data);
            b->data = nullptr;
            b->size = b->capacity = 0;
            return h;
        }
        if (b->data && bytes <= b->capacity) {
            if (f.zero && bytes > b->size)
                std::memset(b->data + b->size, 0, bytes - b->size);
            b->size = bytes;
            return h;
        }
        bool mayMove = !b->data || (b->movable ? (b->locks == 0 || f.movable) : f.movable);
        if (!mayMove) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        unsigned char* oldData = b->data;
        Block moved;
        if (!Provide(moved, bytes, false)) {
            SetLastError(ERROR_NOT_ENOUGH_MEMORY);
            return nullptr;
        }
        if (oldData)
            std::memcpy(moved.data, oldData, b->size);
        if (f.zero || !oldData)
            std::memset(moved.data + (oldData ? b->size : 0), 0, bytes - (oldData ? b->size : 0));
        if (!b->movable) {
            std::unique_ptr<Block> owned = Release(h);
            std::swap(owned->data, moved.data);
            owned->size = bytes;
            owned->capacity = moved.capacity;
            return Adopt(std::move(owned));
        }
        if (oldData)
            m_byAddress.erase(oldData);
        std::swap(b->data, moved.data);
        b->size = bytes;
        b->capacity = moved.capacity;
        m_byAddress[b->data] = h;
        return h;
    }

    HANDLE Free(HANDLE h)
    {
        if (!h)
            return nullptr;
        std::lock_guard<std::mutex> guard(m_lock);
        if (!Find(h))
            return h;
        Release(h);
        return nullptr;
    }

    void* Lock(HANDLE h)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        Block* b = Find(h);
        if (!b)
            return nullptr;
        if (!b->data) {
            SetLastError(ERROR_DISCARDED);
            return nullptr;
        }
        if (b->movable && b->locks < GMEM_LOCKCOUNT)
            ++b->locks;
        return b->data;
    }

    BOOL Unlock(HANDLE h)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        Block* b = Find(h);
        if (!b)
            return FALSE;
        if (b->locks == 0) {
            SetLastError(ERROR_NOT_LOCKED);
            return FALSE;
        }
        if (--b->locks > 0)
            return TRUE;
        SetLastError(NO_ERROR);
        return FALSE;
    }

    std::size_t Size(HANDLE h)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        Block* b = Find(h);
        return b && b->data ? b->size : 0;
    }

    // Lock count, discardable and discarded state; false for a bad handle.
    bool State(HANDLE h, unsigned& locks, bool& discardable, bool& discarded)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        Block* b = Find(h);
        if (!b)
            return false;
        locks = b->locks;
        discardable = b->discardable;
        discarded = b->movable && !b->data;
        return true;
    }

    HANDLE HandleOf(const void* p)
    {
        std::lock_guard<std::mutex> guard(m_lock);
        auto it = m_byAddress.find(const_cast<void*>(p));
        if (!p || it == m_byAddress.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return it->second;
    }

private:
    static bool Provide(Block& b, std::size_t bytes, bool zero)
    {
        std::size_t capacity = Capacity(bytes);
        void* p = zero ? std::calloc(capacity, 1) : std::malloc(capacity);
        if (!p)
            return false;
        b.data = static_cast<unsigned char*>(p);
        b.size = bytes;
        b.capacity = capacity;
        return true;
    }

    Block* Find(HANDLE h)
    {
        auto it = m_blocks.find(h);
        if (!h || it == m_blocks.end()) {
            SetLastError(ERROR_INVALID_HANDLE);
            return nullptr;
        }
        return it->second.get();
    }

    // Movable handles are addresses in a reserved range that is never readable or writable: they
    // can be told apart from every real address, and code that uses one as a pointer faults at
    // once instead of scribbling over the heap. Freed slots are reused oldest first, so a stale
    // handle stays invalid for as long as possible.
    static constexpr std::size_t kSlots = std::size_t(1) << 20;
    static constexpr std::size_t kSlotSize = 16;

    Heap()
    {
        void* area = mmap(nullptr, kSlots * kSlotSize, PROT_NONE, MAP_PRIVATE | MAP_ANONYMOUS | MAP_NORESERVE, -1, 0);
        m_slotArea = area == MAP_FAILED ? nullptr : static_cast<char*>(area);
    }

    bool HasFreeSlot() const { return m_slotArea && (!m_freeSlots.empty() || m_nextSlot < kSlots); }

    // Registers a block; a fixed block's handle is its address, a movable one's a fresh slot.
    HANDLE Adopt(std::unique_ptr<Block> block)
    {
        HANDLE h;
        if (block->movable) {
            if (!HasFreeSlot())
                return nullptr;
            std::size_t slot;
            if (!m_freeSlots.empty()) {
                slot = m_freeSlots.front();
                m_freeSlots.pop_front();
            } else {
                slot = m_nextSlot++;
            }
            h = m_slotArea + slot * kSlotSize;
        } else {
            h = block->data;
        }
        block->handle = h;
        if (block->data)
            m_byAddress[block->data] = h;
        m_blocks[h] = std::move(block);
        return h;
    }

    std::unique_ptr<Block> Release(HANDLE h)
    {
        auto it = m_blocks.find(h);
        std::unique_ptr<Block> block = std::move(it->second);
        m_blocks.erase(it);
        if (block->data)
            m_byAddress.erase(block->data);
        if (block->movable)
            m_freeSlots.push_back(static_cast<std::size_t>(static_cast<char*>(h) - m_slotArea) / kSlotSize);
        return block;
    }

    std::mutex m_lock;
    std::unordered_map<HANDLE, std::unique_ptr<Block>> m_blocks;
    std::unordered_map<void*, HANDLE> m_byAddress;
    char* m_slotArea = nullptr;
    std::size_t m_nextSlot = 0;
    std::deque<std::size_t> m_freeSlots;
};

bool ValidFlags(UINT flags, UINT valid)
{
    if (flags & ~valid) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return false;
    }
    return true;
}

Flags FromGlobal(UINT f)
{
    return {(f & GMEM_MOVEABLE) != 0, (f & GMEM_ZEROINIT) != 0, (f & GMEM_MODIFY) != 0, (f & GMEM_DISCARDABLE) != 0};
}

Flags FromLocal(UINT f)
{
    return {(f & LMEM_MOVEABLE) != 0, (f & LMEM_ZEROINIT) != 0, (f & LMEM_MODIFY) != 0, (f & LMEM_DISCARDABLE) != 0};
}

UINT FlagsOf(HANDLE h, UINT discardableFlag)
{
    unsigned locks;
    bool discardable, discarded;
    if (!Heap::Instance().State(h, locks, discardable, discarded))
        return GMEM_INVALID_HANDLE;
    return locks | (discardable ? discardableFlag : 0) | (discarded ? GMEM_DISCARDED : 0);
}

}  // namespace

void host::SetMemoryBlockLimit(std::size_t bytes) { g_blockLimit.store(bytes); }

HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes)
{
    if (!ValidFlags(uFlags, GMEM_VALID_FLAGS))
        return nullptr;
    return Heap::Instance().Alloc(FromGlobal(uFlags), dwBytes);
}

HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags)
{
    if (!ValidFlags(uFlags, GMEM_VALID_FLAGS | GMEM_MODIFY))
        return nullptr;
    return Heap::Instance().ReAlloc(hMem, dwBytes, FromGlobal(uFlags));
}

HGLOBAL WINAPI GlobalFree(HGLOBAL hMem) { return Heap::Instance().Free(hMem); }
LPVOID WINAPI GlobalLock(HGLOBAL hMem) { return Heap::Instance().Lock(hMem); }
BOOL WINAPI GlobalUnlock(HGLOBAL hMem) { return Heap::Instance().Unlock(hMem); }
SIZE_T WINAPI GlobalSize(HGLOBAL hMem) { return Heap::Instance().Size(hMem); }
UINT WINAPI GlobalFlags(HGLOBAL hMem) { return FlagsOf(hMem, GMEM_DISCARDABLE); }
HGLOBAL WINAPI GlobalHandle(LPCVOID pMem) { return Heap::Instance().HandleOf(pMem); }

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes)
{
    if (!ValidFlags(uFlags, LMEM_VALID_FLAGS))
        return nullptr;
    return Heap::Instance().Alloc(FromLocal(uFlags), uBytes);
}

HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags)
{
    if (!ValidFlags(uFlags, LMEM_VALID_FLAGS | LMEM_MODIFY))
        return nullptr;
    return Heap::Instance().ReAlloc(hMem, uBytes, FromLocal(uFlags));
}

HLOCAL WINAPI LocalFree(HLOCAL hMem) { return Heap::Instance().Free(hMem); }
LPVOID WINAPI LocalLock(HLOCAL hMem) { return Heap::Instance().Lock(hMem); }
BOOL WINAPI LocalUnlock(HLOCAL hMem) { return Heap::Instance().Unlock(hMem); }
SIZE_T WINAPI LocalSize(HLOCAL hMem) { return Heap::Instance().Size(hMem); }
UINT WINAPI LocalFlags(HLOCAL hMem) { return FlagsOf(hMem, LMEM_DISCARDABLE); }
HLOCAL WINAPI LocalHandle(LPCVOID pMem) { return Heap::Instance().HandleOf(pMem); }
