// The process-wide table of kernel handles. Files, find searches and, later, events, mutexes,
// processes and threads are kernel objects: each lives in this table behind a HANDLE value
// until the last handle to it is closed.
//
// Not part of the platform's interface: the platform layer builds its handle-based functions
// on it. All functions are safe to call from several threads at once; an object looked up by
// one thread stays alive while that thread holds the returned pointer, even if another thread
// closes the handle meanwhile.
#pragma once

#include <windef.h>

#include <memory>

namespace host {

// Base of every object that a HANDLE can stand for.
class KernelObject {
public:
    KernelObject() = default;
    KernelObject(const KernelObject&) = delete;
    KernelObject& operator=(const KernelObject&) = delete;
    virtual ~KernelObject();

    // Whether CloseHandle may close this kind of object. Objects with a closing function of
    // their own (a find search has FindClose) answer false, so CloseHandle rejects them.
    virtual bool ClosableByCloseHandle() const { return true; }
};

// Enters an object into the table and returns a new handle to it. Handle values are never
// NULL nor INVALID_HANDLE_VALUE, and a closed value is not handed out again soon. Returns NULL
// (with ERROR_NOT_ENOUGH_MEMORY) only if the table is exhausted.
HANDLE AddKernelObject(std::shared_ptr<KernelObject> object);

// Returns the object behind a handle, or nullptr if the handle is not open.
std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle);

// Returns the object behind a handle when it is of type T, else nullptr.
template <class T>
std::shared_ptr<T> FindKernelObject(HANDLE handle)
{
    return std::dynamic_pointer_cast<T>(FindKernelObject(handle));
}

// Adds a second handle to the object behind `handle` (both must be closed). Returns NULL if
// the handle is not open.
HANDLE DuplicateKernelHandle(HANDLE handle);

// Removes a handle from the table. The object is destroyed when its last handle is closed and
// no thread still holds it. Returns false if the handle was not open.
bool CloseKernelHandle(HANDLE handle);

}  // namespace host
