// The paging store: a small virtual-memory store for the search code.
//
// Callers allocate blocks of up to 63,000 bytes and get 16-bit handles (0 means none). A block is
// addressable only while it is locked; unlocked blocks may be moved inside a bounded memory pool
// (compaction) and written out to one swap file "vmXXXXXX" when the pool is full, and come back on
// the next lock. Blocks of 14 bytes or less live inside their handle entry and never move to the
// pool or the swap file.
//
// Locks are counted: every VmLock(h, dirty, 1) must be matched by one VmLock(h, dirty, 0), and a
// block stays in memory at a fixed address until its last lock is released. A block whose
// contents were changed must be marked dirty (VmAlloc with zero, or VmLock with dirty) so that the
// change reaches the swap file; a block is always written at its first page-out.
//
// All state is program-wide and used from the user-interface thread only.
#pragma once

#include <afx.h>

typedef WORD VMHANDLE;

// The largest block, and the largest block kept inside its handle entry.
#define VM_MAX_BLOCK_SIZE 63000u
#define VM_SMALL_BLOCK_SIZE 14u
// The pool grows in units of this many bytes; the pre-allocated pool holds at most
// VM_DEFAULT_POOL_MAXIMUM bytes unless VmSetPoolMaximum says otherwise.
#define VM_POOL_UNIT 8000u
#define VM_DEFAULT_POOL_MAXIMUM 204800u

// Results of VmInit.
#define VM_INIT_OK 0
#define VM_INIT_NO_NAME 1  // no unique swap file name could be made
#define VM_INIT_NO_FILE 2  // the swap file could not be created: the store runs from the pool alone

// A new block of `size` bytes, or 0 when the size exceeds VM_MAX_BLOCK_SIZE or no memory can be
// found. `zero` clears the block and marks it dirty. Opens the swap file first when no attempt to
// open it has been made yet (a failure to create it is reported once and leaves the pool alone).
VMHANDLE VmAlloc(UINT size, BOOL zero);

// The block's address, or NULL for a handle that is 0, free or invalid, or when the block cannot
// be paged back in. `dirty` marks the block changed. `lock` = TRUE adds a lock; FALSE releases one
// (on an unlocked block it only marks the block as recently used). The address stays valid while
// the block is locked; the address of an unlocked block is valid only until the next allocation.
// At most 255 locks can be held on one block at a time; one more gives NULL.
LPVOID VmLock(VMHANDLE handle, BOOL dirty, BOOL lock);

// Resizes a block: the same handle when a small block stays small or the size does not change,
// else a new handle holding the old contents up to the smaller size (the old handle is freed, and
// locks held on it end with it). 0 when the handle is invalid, the size is too large or no memory
// can be found; the old block is then left as it was.
VMHANDLE VmRealloc(VMHANDLE handle, UINT size);

// Releases the block, its room in the swap file and its handle. A free or invalid handle is ignored.
void VmFree(VMHANDLE handle);

// Opens the swap file in the folder VmSwapFolder() names (VM_INIT_OK when it is open already).
// The first call arranges for VmShutdown to run at program exit.
int VmInit();

// Pre-allocates the pool up to the pool maximum and bounds it there: after this, room comes from
// paging out. Returns the bytes added (0 when `enable` is FALSE, which leaves the pool unbounded).
DWORD VmInitPool(BOOL enable);

// Closes and deletes the swap file and frees every block, handle and pool chunk. The store may be
// used again afterwards, starting empty.
void VmShutdown();

// The most the pre-allocated pool may hold (default VM_DEFAULT_POOL_MAXIMUM). Takes effect at the
// next VmInitPool; a small value makes the store page early (used by tests and benchmarks).
void VmSetPoolMaximum(DWORD bytes);

// The folder of the swap file: the profile key TFL of the product title's section, else the
// environment variable VMPATH, else TEMP, else the platform's temporary folder. Files "VM*.*"
// left there by earlier runs are stale paging files.
CString VmSwapFolder();

// Counters of the store, for diagnostics and benchmarks.
struct VmStatistics {
    DWORD poolSize;        // bytes of all chunks
    DWORD poolFree;        // free bytes in the pool
    DWORD poolLimit;       // 0: the pool grows on demand
    DWORD blocks;          // handles in use
    DWORD allocations;     // successful VmAlloc calls
    DWORD pageOuts;        // blocks moved to the swap file
    DWORD pageIns;         // blocks read back
    DWORD swapWrites;      // block copies written to the swap file
    DWORD compactions;     // pool compactions
    DWORD swapCompactions; // swap file compactions after a short write
    BOOL swapOpen;         // the swap file is open
    DWORD swapEnd;         // end of the data in the swap file
    DWORD swapFree;        // bytes of free ranges in the swap file
    char swapFile[260];    // the swap file's name, empty when none
};
void VmGetStatistics(VmStatistics* statistics);
