// The mailslots' side of the file calls (private to the platform library): CreateFile opens a
// writer for a "\\.\mailslot\" name, ReadFile and WriteFile hand a mailslot handle to these.
#pragma once

#include <windef.h>

#include <memory>
#include <optional>

#include <host/KernelObject.h>

namespace host::mailslot {

// Whether the name is of the mailslot form "\\.\mailslot\..." (case does not matter).
bool IsMailslotName(const char* name);
// The writer's object for an existing slot (sets the last error and returns null: ERROR_FILE_NOT_FOUND
// when no reader holds it, ERROR_INVALID_PARAMETER for a disposition other than OPEN_EXISTING,
// ERROR_ACCESS_DENIED without write access).
std::shared_ptr<KernelObject> OpenWriter(const char* name, DWORD access, DWORD disposition);
// ReadFile and WriteFile for a mailslot handle; nothing when the handle is not a mailslot's.
std::optional<BOOL> Read(HANDLE handle, void* buffer, DWORD size, DWORD* read);
std::optional<BOOL> Write(HANDLE handle, const void* buffer, DWORD size, DWORD* written);

}  // namespace host::mailslot
