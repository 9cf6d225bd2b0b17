// The process-wide handle table.
#include <host/KernelObject.h>

#include <winerror.h>
#include <errhandlingapi.h>

#include <mutex>
#include <unordered_map>

namespace host {

KernelObject::~KernelObject() = default;

namespace {

// Handle values are multiples of four, like the platform's, starting well away from the small
// values that pseudo-handles and error returns use.
constexpr std::uintptr_t kFirstHandle = 0x1000;
constexpr std::uintptr_t kHandleStep = 4;
constexpr std::uintptr_t kLastHandle = 0x7FFFFFF0;

struct HandleTable {
    std::mutex mutex;
    std::unordered_map<std::uintptr_t, std::shared_ptr<KernelObject>> objects;
    std::uintptr_t next = kFirstHandle;
};

HandleTable& Table()
{
    static HandleTable* table = new HandleTable;  // outlives every static destructor
    return *table;
}

HANDLE AddLocked(HandleTable& table, std::shared_ptr<KernelObject> object)
{
    // Values go round in a cycle; a value still in use is skipped.
    for (std::uintptr_t tries = 0; tries < (kLastHandle - kFirstHandle) / kHandleStep; ++tries) {
        std::uintptr_t value = table.next;
        table.next = value + kHandleStep > kLastHandle ? kFirstHandle : value + kHandleStep;
        if (table.objects.find(value) == table.objects.end()) {
            table.objects.emplace(value, std::move(object));
            return reinterpret_cast<HANDLE>(value);
        }
    }
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

}  // namespace

HANDLE AddKernelObject(std::shared_ptr<KernelObject> object)
{
    if (!object) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    return AddLocked(table, std::move(object));
}

std::shared_ptr<KernelObject> FindKernelObject(HANDLE handle)
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    return it == table.objects.end() ? nullptr : it->second;
}

HANDLE DuplicateKernelHandle(HANDLE handle)
{
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == table.objects.end()) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    return AddLocked(table, it->second);
}

bool CloseKernelHandle(HANDLE handle)
{
    std::shared_ptr<KernelObject> object;  // released outside the lock
    HandleTable& table = Table();
    std::lock_guard lock(table.mutex);
    auto it = table.objects.find(reinterpret_cast<std::uintptr_t>(handle));
    if (it == table.objects.end())
        return false;
    object = std::move(it->second);
    table.objects.erase(it);
    return true;
}

}  // namespace host
