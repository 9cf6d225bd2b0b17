// Global and local memory of the platform's C interface.
//
// A fixed block's handle is its address. A movable block's handle is an opaque value that
// GlobalLock turns into the address; the block may move while it is unlocked (GlobalReAlloc),
// its handle stays. A movable handle lies in reserved address space that can be neither read nor
// written, so code that mistakes it for a pointer faults at once. Lock counts, discarded blocks and flags behave as documented for the
// platform; every handle is checked against the table of live blocks, so a stale or made-up
// handle gives ERROR_INVALID_HANDLE instead of a crash. All functions are thread-safe. The Local
// functions share the blocks with the Global ones (the platform has one heap for both).
//
// A fixed block can grow in place only within the slack it was given (sizes are rounded up to 16
// bytes); beyond that GlobalReAlloc without GMEM_MOVEABLE fails with ERROR_NOT_ENOUGH_MEMORY, as
// the platform may when a fixed block cannot grow where it is.
#pragma once

#include <windef.h>
#include <winerror.h>
#include <errhandlingapi.h>

#ifndef ERROR_NOT_LOCKED
#define ERROR_NOT_LOCKED 158L
#endif
#ifndef ERROR_DISCARDED
#define ERROR_DISCARDED 157L
#endif

#define GMEM_FIXED 0x0000
#define GMEM_MOVEABLE 0x0002
#define GMEM_NOCOMPACT 0x0010
#define GMEM_NODISCARD 0x0020
#define GMEM_ZEROINIT 0x0040
#define GMEM_MODIFY 0x0080
#define GMEM_DISCARDABLE 0x0100
#define GMEM_NOT_BANKED 0x1000
#define GMEM_SHARE 0x2000
#define GMEM_DDESHARE 0x2000
#define GMEM_NOTIFY 0x4000
#define GMEM_LOWER GMEM_NOT_BANKED
#define GMEM_VALID_FLAGS 0x7F72
#define GMEM_INVALID_HANDLE 0x8000
#define GMEM_DISCARDED 0x4000
#define GMEM_LOCKCOUNT 0x00FF
#define GHND (GMEM_MOVEABLE | GMEM_ZEROINIT)
#define GPTR (GMEM_FIXED | GMEM_ZEROINIT)

#define LMEM_FIXED 0x0000
#define LMEM_MOVEABLE 0x0002
#define LMEM_NOCOMPACT 0x0010
#define LMEM_NODISCARD 0x0020
#define LMEM_ZEROINIT 0x0040
#define LMEM_MODIFY 0x0080
#define LMEM_DISCARDABLE 0x0F00
#define LMEM_VALID_FLAGS 0x0F72
#define LMEM_INVALID_HANDLE 0x8000
#define LMEM_DISCARDED 0x4000
#define LMEM_LOCKCOUNT 0x00FF
#define LHND (LMEM_MOVEABLE | LMEM_ZEROINIT)
#define LPTR (LMEM_FIXED | LMEM_ZEROINIT)
#define NONZEROLHND (LMEM_MOVEABLE)
#define NONZEROLPTR (LMEM_FIXED)

// A movable block of 0 bytes is allocated discarded. Unknown flag bits give
// ERROR_INVALID_PARAMETER.
HGLOBAL WINAPI GlobalAlloc(UINT uFlags, SIZE_T dwBytes);
// Resizes (keeping the contents, zeroing the new tail with GMEM_ZEROINIT), or with GMEM_MODIFY
// only changes GMEM_DISCARDABLE or turns a fixed block movable. GlobalReAlloc(h, 0,
// GMEM_MOVEABLE) discards an unlocked movable block.
HGLOBAL WINAPI GlobalReAlloc(HGLOBAL hMem, SIZE_T dwBytes, UINT uFlags);
// NULL on success, the handle on failure. A locked block is freed all the same.
HGLOBAL WINAPI GlobalFree(HGLOBAL hMem);
// The address; NULL for a discarded block. Counts locks of movable blocks (up to 255).
LPVOID WINAPI GlobalLock(HGLOBAL hMem);
// TRUE while the block stays locked. FALSE with GetLastError() == NO_ERROR when this call
// unlocked it; FALSE with ERROR_NOT_LOCKED when it was not locked (always for fixed blocks).
BOOL WINAPI GlobalUnlock(HGLOBAL hMem);
SIZE_T WINAPI GlobalSize(HGLOBAL hMem);
// Lock count in the low byte, GMEM_DISCARDABLE, GMEM_DISCARDED; GMEM_INVALID_HANDLE for a bad
// handle.
UINT WINAPI GlobalFlags(HGLOBAL hMem);
// The handle of a block from its address (as GlobalLock returned it).
HGLOBAL WINAPI GlobalHandle(LPCVOID pMem);
#define GlobalDiscard(h) GlobalReAlloc((h), 0, GMEM_MOVEABLE)

HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL WINAPI LocalReAlloc(HLOCAL hMem, SIZE_T uBytes, UINT uFlags);
HLOCAL WINAPI LocalFree(HLOCAL hMem);
LPVOID WINAPI LocalLock(HLOCAL hMem);
BOOL WINAPI LocalUnlock(HLOCAL hMem);
SIZE_T WINAPI LocalSize(HLOCAL hMem);
UINT WINAPI LocalFlags(HLOCAL hMem);
HLOCAL WINAPI LocalHandle(LPCVOID pMem);
#define LocalDiscard(h) LocalReAlloc((h), 0, LMEM_MOVEABLE)
