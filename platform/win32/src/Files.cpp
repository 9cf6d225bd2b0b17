// Files opened through handles: CreateFile and the functions that work on a file handle,
// with the share modes of every file the process holds open.
#include "FileObject.h"
#include "Mailslot.h"

#include <host/Paths.h>

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <map>
#include <unordered_map>
#include <vector>

namespace host::detail {

namespace {

struct OpenEntry {
    DWORD access;
    DWORD share;
};

struct FileIdHash {
    std::size_t operator()(const FileId& id) const { return std::hash<ino_t>()(id.inode) ^ (std::hash<dev_t>()(id.device) << 1); }
};

// Every file open in the process, by host identity, with each handle's access and share mode.
std::unordered_multimap<FileId, OpenEntry, FileIdHash>& OpenFiles()
{
    static auto* files = new std::unordered_multimap<FileId, OpenEntry, FileIdHash>;
    return *files;
}

// Files to delete when their last handle closes (FILE_FLAG_DELETE_ON_CLOSE).
std::unordered_map<FileId, std::string, FileIdHash>& DeletePending()
{
    static auto* files = new std::unordered_map<FileId, std::string, FileIdHash>;
    return *files;
}

constexpr DWORD kReadRights = FILE_READ_DATA | GENERIC_READ | GENERIC_ALL;
constexpr DWORD kWriteRights = FILE_WRITE_DATA | FILE_APPEND_DATA | GENERIC_WRITE | GENERIC_ALL;
constexpr DWORD kDeleteRights = DELETE | GENERIC_ALL;

bool Reads(DWORD access) { return (access & kReadRights) != 0; }
bool Writes(DWORD access) { return (access & kWriteRights) != 0; }
bool Deletes(DWORD access) { return (access & kDeleteRights) != 0; }

// Attributes kept for files whose host folder cannot hold extended attributes.
struct KeptTable {
    std::mutex lock;
    std::unordered_map<FileId, DWORD, FileIdHash> attributes;
};

KeptTable& Kept()
{
    static auto* table = new KeptTable;
    return *table;
}

constexpr const char* kAttributeName = "user.vl.attributes";
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                                  FILE_ATTRIBUTE_TEMPORARY;

std::optional<DWORD> KeptAttributes(const std::string& hostPath, const struct stat& st)
{
    char buffer[16] = {};
    ssize_t length = getxattr(hostPath.c_str(), kAttributeName, buffer, sizeof buffer - 1);
    if (length > 0)
        return static_cast<DWORD>(std::strtoul(buffer, nullptr, 10)) & kKeptAttributes;
    std::lock_guard lock(Kept().lock);
    auto& kept = Kept().attributes;
    auto it = kept.find(FileId{st.st_dev, st.st_ino});
    if (it == kept.end())
        return std::nullopt;
    return it->second & kKeptAttributes;
}

}  // namespace

std::mutex& OpenFilesLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

bool DataAccess(DWORD access) { return Reads(access) || Writes(access) || Deletes(access); }

bool ShareConflict(const FileId& id, DWORD access, DWORD share)
{
    // Handles that only look at attributes take no part in sharing.
    if (!DataAccess(access))
        return false;
    auto [begin, end] = OpenFiles().equal_range(id);
    for (auto it = begin; it != end; ++it) {
        const OpenEntry& open = it->second;
        if (!DataAccess(open.access))
            continue;
        if ((Reads(access) && !(open.share & FILE_SHARE_READ)) ||
            (Writes(access) && !(open.share & FILE_SHARE_WRITE)) ||
            (Deletes(access) && !(open.share & FILE_SHARE_DELETE)) ||
            (Reads(open.access) && !(share & FILE_SHARE_READ)) ||
            (Writes(open.access) && !(share & FILE_SHARE_WRITE)) ||
            (Deletes(open.access) && !(share & FILE_SHARE_DELETE)))
            return true;
    }
    return false;
}

bool DeleteBlocked(const std::string& hostPath)
{
    struct stat st;
    if (lstat(hostPath.c_str(), &st) != 0)
        return false;
    std::lock_guard lock(OpenFilesLock());
    return ShareConflict(FileId{st.st_dev, st.st_ino}, DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE);
}

DWORD AttributesOf(const std::string& hostPath, const struct stat& st, const DriveInfo& drive)
{
    bool folder = S_ISDIR(st.st_mode);
    DWORD attributes = 0;
    if (folder)
        attributes |= FILE_ATTRIBUTE_DIRECTORY;
    else if (!(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) || ReadOnlyDrive(drive))
        attributes |= FILE_ATTRIBUTE_READONLY;
    auto kept = KeptAttributes(hostPath, st);
    if (kept)
        attributes |= *kept;
    else if (!folder)
        attributes |= FILE_ATTRIBUTE_ARCHIVE;  // a file not backed up since it was written
    std::size_t slash = hostPath.rfind('/');
    std::string name = slash == std::string::npos ? hostPath : hostPath.substr(slash + 1);
    if (name.size() > 1 && name[0] == '.' && name != "..")
        attributes |= FILE_ATTRIBUTE_HIDDEN;
    return attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes;
}

bool KeepAttributes(const std::string& hostPath, const struct stat& st, DWORD attributes)
{
    std::string value = std::to_string(attributes & kKeptAttributes);
    if (setxattr(hostPath.c_str(), kAttributeName, value.c_str(), value.size(), 0) == 0)
        return true;
    std::lock_guard lock(Kept().lock);
    auto& kept = Kept().attributes;
    kept[FileId{st.st_dev, st.st_ino}] = attributes & kKeptAttributes;
    return true;
}

void ForgetAttributes(const struct stat& st)
{
    // Attributes in the file's own extended attributes go with it; the ones kept here would
    // otherwise pass to the next file that gets the same inode.
    std::lock_guard lock(Kept().lock);
    auto& kept = Kept().attributes;
    kept.erase(FileId{st.st_dev, st.st_ino});
}

// FILETIME counts 100-nanosecond intervals since 1 January 1601 (UTC).
constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;

FILETIME ToFileTime(const struct timespec& time)
{
    std::int64_t ticks = (static_cast<std::int64_t>(time.tv_sec) + kSecondsFrom1601To1970) * 10000000LL + time.tv_nsec / 100;
    if (ticks < 0)
        ticks = 0;
    FILETIME out;
    out.dwLowDateTime = static_cast<DWORD>(ticks & 0xFFFFFFFF);
    out.dwHighDateTime = static_cast<DWORD>(static_cast<std::uint64_t>(ticks) >> 32);
    return out;
}

struct timespec FromFileTime(const FILETIME& time)
{
    std::int64_t ticks = static_cast<std::int64_t>((static_cast<std::uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime);
    struct timespec out;
    out.tv_sec = static_cast<time_t>(ticks / 10000000LL - kSecondsFrom1601To1970);
    out.tv_nsec = static_cast<long>((ticks % 10000000LL) * 100);
    return out;
}

FileObject::FileObject(int fd, const FileId& id, std::string hostPath, DWORD access, DWORD share, bool deleteOnClose)
    : m_fd(fd), m_id(id), m_hostPath(std::move(hostPath)), m_access(access), m_share(share), m_deleteOnClose(deleteOnClose)
{
    OpenFiles().emplace(m_id, OpenEntry{m_access, m_share});  // the opener holds OpenFilesLock()
}

FileObject::~FileObject()
{
    std::lock_guard lock(OpenFilesLock());
    auto [begin, end] = OpenFiles().equal_range(m_id);
    for (auto it = begin; it != end; ++it) {
        if (it->second.access == m_access && it->second.share == m_share) {
            OpenFiles().erase(it);
            break;
        }
    }
    // The file goes when the last handle to it closes, if any handle asked for that.
    if (m_deleteOnClose)
        DeletePending().emplace(m_id, m_hostPath);
    if (OpenFiles().count(m_id) == 0) {
        auto pending = DeletePending().find(m_id);
        if (pending != DeletePending().end()) {
            unlink(pending->second.c_str());
            host::detail::ForgetParentEntries(pending->second);
            DeletePending().erase(pending);
        }
    }
    close(m_fd);
}

bool FileObject::CanRead() const { return Reads(m_access); }
bool FileObject::CanWrite() const { return Writes(m_access); }
bool FileObject::AppendOnly() const
{
    return (m_access & FILE_APPEND_DATA) && !(m_access & (FILE_WRITE_DATA | GENERIC_WRITE | GENERIC_ALL));
}

std::shared_ptr<FileObject> OpenFile(const char* fileName, DWORD access, DWORD share, DWORD disposition,
                                     DWORD flagsAndAttributes)
{
    auto fail = [](DWORD error) {
        SetLastError(error);
        return std::shared_ptr<FileObject>();
    };
    if (disposition < CREATE_NEW || disposition > TRUNCATE_EXISTING)
        return fail(ERROR_INVALID_PARAMETER);
    if (disposition == TRUNCATE_EXISTING && !Writes(access))
        return fail(ERROR_INVALID_PARAMETER);
    Resolved resolved;
    if (DWORD error = Resolve(fileName, resolved); error != NO_ERROR)
        return fail(error);
    if (resolved.full.parts.empty())
        return fail(ERROR_ACCESS_DENIED);  // the root of a drive
    if (resolved.full.trailingSeparator && !(flagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS))
        return fail(ERROR_INVALID_NAME);  // "name\\" names a folder, not a file
    if (!resolved.parentExists)
        return fail(ERROR_PATH_NOT_FOUND);
    const std::string& path = resolved.host;

    std::lock_guard lock(OpenFilesLock());
    struct stat st;
    bool exists = stat(path.c_str(), &st) == 0;
    if (!exists && errno != ENOENT)
        return fail(ErrorFromErrno(errno, path));
    if (exists && S_ISDIR(st.st_mode)) {
        if (!(flagsAndAttributes & FILE_FLAG_BACKUP_SEMANTICS) || disposition == CREATE_NEW || Writes(access))
            return fail(disposition == CREATE_NEW ? ERROR_FILE_EXISTS : ERROR_ACCESS_DENIED);
    }
    if (exists && disposition == CREATE_NEW)
        return fail(ERROR_FILE_EXISTS);
    if (!exists && (disposition == OPEN_EXISTING || disposition == TRUNCATE_EXISTING))
        return fail(ERROR_FILE_NOT_FOUND);
    bool willWrite = Writes(access) || !exists || disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (willWrite && ReadOnlyDrive(resolved.drive))
        return fail(ERROR_ACCESS_DENIED);
    if (exists && !S_ISDIR(st.st_mode)) {
        bool readOnly = !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
        if (readOnly && willWrite)
            return fail(ERROR_ACCESS_DENIED);
        DWORD checkAccess = access | ((disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING) ? FILE_WRITE_DATA : 0);
        if (ShareConflict(FileId{st.st_dev, st.st_ino}, checkAccess, share))
            return fail(ERROR_SHARING_VIOLATION);
    }

    int flags = O_CLOEXEC;
    if (Reads(access) && Writes(access))
        flags |= O_RDWR;
    else if (Writes(access))
        flags |= O_WRONLY;
    else if (Reads(access))
        flags |= O_RDONLY;
    else
        flags |= O_RDONLY;
    if (exists && S_ISDIR(st.st_mode))
        flags = O_RDONLY | O_DIRECTORY | O_CLOEXEC;
    if (!exists)
        flags |= O_CREAT | O_EXCL;
    if (exists && (disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING)) {
        flags |= O_TRUNC;
        if (!Writes(access))
            flags = (flags & ~O_RDONLY) | O_RDWR;  // truncating needs write access to the host file
    }
    int fd = open(path.c_str(), flags, 0666);
    if (fd < 0 && !Writes(access) && !Reads(access) && errno == EACCES)
        fd = open(path.c_str(), O_PATH | O_CLOEXEC);  // attributes only
    if (fd < 0)
        return fail(errno == EEXIST ? ERROR_FILE_EXISTS : ErrorFromErrno(errno, path));
    if (!exists)
        ForgetParentEntries(path);
    struct stat opened;
    fstat(fd, &opened);
    if (!exists || disposition == CREATE_ALWAYS) {
        DWORD attributes = flagsAndAttributes & (kKeptAttributes | FILE_ATTRIBUTE_READONLY);
        if (attributes & FILE_ATTRIBUTE_READONLY)
            fchmod(fd, opened.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH) & 07777);
        if (attributes & kKeptAttributes)
            KeepAttributes(path, opened, attributes | FILE_ATTRIBUTE_ARCHIVE);
    }
    auto object = std::make_shared<FileObject>(fd, FileId{opened.st_dev, opened.st_ino}, path, access, share,
                                               (flagsAndAttributes & FILE_FLAG_DELETE_ON_CLOSE) != 0);
    SetLastError(exists && (disposition == CREATE_ALWAYS || disposition == OPEN_ALWAYS) ? ERROR_ALREADY_EXISTS
                                                                                        : NO_ERROR);
    return object;
}

}  // namespace host::detail

using namespace host::detail;

namespace {

std::shared_ptr<FileObject> FileFromHandle(HANDLE handle)
{
    auto file = host::FindKernelObject<FileObject>(handle);
    if (!file)
        SetLastError(ERROR_INVALID_HANDLE);
    return file;
}

// Whether the drive of the file has room for a write of `bytes` at the file's position: a drive
// given a free-space figure (the drive map, tests) refuses a write that would grow its files by
// more than that figure (ERROR_DISK_FULL); other drives leave it to the host.
DWORD RoomForWrite(FileObject& file, DWORD bytes)
{
    if (bytes == 0)
        return ERROR_SUCCESS;
    std::optional<std::string> platformPath = host::FromHostPath(file.HostPath());
    if (!platformPath || platformPath->size() < 2 || (*platformPath)[1] != ':')
        return ERROR_SUCCESS;
    std::optional<host::DriveInfo> drive = host::FindDrive((*platformPath)[0]);
    struct stat st {};
    if (!drive || !drive->freeBytes || fstat(file.Descriptor(), &st) != 0)
        return ERROR_SUCCESS;
    const off_t at = file.AppendOnly() ? st.st_size : lseek(file.Descriptor(), 0, SEEK_CUR);
    const std::uint64_t end = static_cast<std::uint64_t>(std::max<off_t>(at, 0)) + bytes;
    const std::uint64_t size = static_cast<std::uint64_t>(st.st_size);
    return end > size && end - size > *drive->freeBytes ? ERROR_DISK_FULL : ERROR_SUCCESS;
}

}  // namespace

HANDLE WINAPI CreateFile(LPCSTR lpFileName, DWORD dwDesiredAccess, DWORD dwShareMode, LPSECURITY_ATTRIBUTES,
                         DWORD dwCreationDisposition, DWORD dwFlagsAndAttributes, HANDLE)
{
    if (host::mailslot::IsMailslotName(lpFileName)) {
        auto writer = host::mailslot::OpenWriter(lpFileName, dwDesiredAccess, dwCreationDisposition);
        HANDLE handle = writer ? host::AddKernelObject(std::move(writer)) : nullptr;
        return handle ? handle : INVALID_HANDLE_VALUE;
    }
    auto file = OpenFile(lpFileName, dwDesiredAccess, dwShareMode, dwCreationDisposition, dwFlagsAndAttributes);
    if (!file)
        return INVALID_HANDLE_VALUE;
    DWORD error = GetLastError();
    HANDLE handle = host::AddKernelObject(std::move(file));
    if (!handle)
        return INVALID_HANDLE_VALUE;
    SetLastError(error);
    return handle;
}

BOOL WINAPI CloseHandle(HANDLE hObject)
{
    auto object = host::FindKernelObject(hObject);
    if (!object || !object->ClosableByCloseHandle())
        return Fail(ERROR_INVALID_HANDLE);
    if (!host::CloseKernelHandle(hObject))
        return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}

BOOL WINAPI DuplicateHandle(HANDLE hSourceProcessHandle, HANDLE hSourceHandle, HANDLE hTargetProcessHandle,
                            LPHANDLE lpTargetHandle, DWORD, BOOL, DWORD dwOptions)
{
    const HANDLE currentProcess = reinterpret_cast<HANDLE>(static_cast<LONG_PTR>(-1));
    if (hSourceProcessHandle != currentProcess || hTargetProcessHandle != currentProcess)
        return Fail(ERROR_INVALID_HANDLE);
    if (!lpTargetHandle)
        return Fail(ERROR_INVALID_PARAMETER);
    auto object = host::FindKernelObject(hSourceHandle);
    if (!object || !object->ClosableByCloseHandle())
        return Fail(ERROR_INVALID_HANDLE);
    HANDLE copy = host::DuplicateKernelHandle(hSourceHandle);
    if (!copy)
        return FALSE;
    if (dwOptions & DUPLICATE_CLOSE_SOURCE)
        host::CloseKernelHandle(hSourceHandle);
    *lpTargetHandle = copy;
    return TRUE;
}

BOOL WINAPI ReadFile(HANDLE hFile, LPVOID lpBuffer, DWORD nNumberOfBytesToRead, LPDWORD lpNumberOfBytesRead,
                     LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = 0;
    if (auto done = host::mailslot::Read(hFile, lpBuffer, nNumberOfBytesToRead, lpNumberOfBytesRead))
        return *done;
    auto file = FileFromHandle(hFile);
    if (!file)
        return FALSE;
    if (!file->CanRead())
        return Fail(ERROR_ACCESS_DENIED);
    if (!lpBuffer && nNumberOfBytesToRead)
        return Fail(ERROR_NOACCESS);
    std::lock_guard lock(file->Lock());
    if (lpOverlapped) {
        off_t offset = static_cast<off_t>((static_cast<std::uint64_t>(lpOverlapped->OffsetHigh) << 32) | lpOverlapped->Offset);
        if (lseek(file->Descriptor(), offset, SEEK_SET) < 0)
            return Fail(ErrorFromErrno(errno, file->HostPath()));
    }
    DWORD total = 0;
    auto* out = static_cast<char*>(lpBuffer);
    while (total < nNumberOfBytesToRead) {
        ssize_t got = read(file->Descriptor(), out + total, nNumberOfBytesToRead - total);
        if (got < 0) {
            if (errno == EINTR)
                continue;
            if (errno == EISDIR)
                return Fail(ERROR_INVALID_FUNCTION);
            return Fail(ErrorFromErrno(errno, file->HostPath()));
        }
        if (got == 0)
            break;
        total += static_cast<DWORD>(got);
    }
    if (lpNumberOfBytesRead)
        *lpNumberOfBytesRead = total;
    if (lpOverlapped)
        lpOverlapped->InternalHigh = total;
    return TRUE;
}

BOOL WINAPI WriteFile(HANDLE hFile, LPCVOID lpBuffer, DWORD nNumberOfBytesToWrite, LPDWORD lpNumberOfBytesWritten,
                      LPOVERLAPPED lpOverlapped)
{
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = 0;
    if (auto done = host::mailslot::Write(hFile, lpBuffer, nNumberOfBytesToWrite, lpNumberOfBytesWritten))
        return *done;
    auto file = FileFromHandle(hFile);
    if (!file)
        return FALSE;
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    if (!lpBuffer && nNumberOfBytesToWrite)
        return Fail(ERROR_NOACCESS);
    std::lock_guard lock(file->Lock());
    if (file->AppendOnly()) {
        lseek(file->Descriptor(), 0, SEEK_END);
    } else if (lpOverlapped) {
        off_t offset = static_cast<off_t>((static_cast<std::uint64_t>(lpOverlapped->OffsetHigh) << 32) | lpOverlapped->Offset);
        if (lseek(file->Descriptor(), offset, SEEK_SET) < 0)
            return Fail(ErrorFromErrno(errno, file->HostPath()));
    }
    if (DWORD error = RoomForWrite(*file, nNumberOfBytesToWrite); error != ERROR_SUCCESS)
        return Fail(error);
    DWORD total = 0;
    auto* in = static_cast<const char*>(lpBuffer);
    while (total < nNumberOfBytesToWrite) {
        ssize_t put = write(file->Descriptor(), in + total, nNumberOfBytesToWrite - total);
        if (put < 0) {
            if (errno == EINTR)
                continue;
            if (lpNumberOfBytesWritten)
                *lpNumberOfBytesWritten = total;
            return Fail(ErrorFromErrno(errno, file->HostPath()));
        }
        total += static_cast<DWORD>(put);
    }
    if (lpNumberOfBytesWritten)
        *lpNumberOfBytesWritten = total;
    if (lpOverlapped)
        lpOverlapped->InternalHigh = total;
    return TRUE;
}

namespace {

// Moves the file pointer; the new position, or -1 with the last error set.
std::int64_t MovePointer(HANDLE hFile, std::int64_t distance, DWORD method)
{
    auto file = FileFromHandle(hFile);
    if (!file)
        return -1;
    if (method > FILE_END) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return -1;
    }
    std::lock_guard lock(file->Lock());
    int fd = file->Descriptor();
    off_t base = 0;
    if (method == FILE_CURRENT)
        base = lseek(fd, 0, SEEK_CUR);
    else if (method == FILE_END) {
        struct stat st;
        base = fstat(fd, &st) == 0 ? st.st_size : -1;
    }
    if (base < 0) {
        SetLastError(ErrorFromErrno(errno, file->HostPath()));
        return -1;
    }
    std::int64_t target = static_cast<std::int64_t>(base) + distance;
    if (target < 0) {
        SetLastError(ERROR_NEGATIVE_SEEK);
        return -1;
    }
    if (lseek(fd, static_cast<off_t>(target), SEEK_SET) < 0) {
        SetLastError(ErrorFromErrno(errno, file->HostPath()));
        return -1;
    }
    return target;
}

bool SizeOf(HANDLE hFile, std::uint64_t& size)
{
    auto file = FileFromHandle(hFile);
    if (!file)
        return false;
    struct stat st;
    if (fstat(file->Descriptor(), &st) != 0) {
        SetLastError(ErrorFromErrno(errno, file->HostPath()));
        return false;
    }
    size = static_cast<std::uint64_t>(st.st_size);
    return true;
}

}  // namespace

DWORD WINAPI SetFilePointer(HANDLE hFile, LONG lDistanceToMove, PLONG lpDistanceToMoveHigh, DWORD dwMoveMethod)
{
    std::int64_t distance = lDistanceToMove;
    if (lpDistanceToMoveHigh)
        distance = static_cast<std::int64_t>((static_cast<std::uint64_t>(static_cast<DWORD>(*lpDistanceToMoveHigh)) << 32) |
                                             static_cast<DWORD>(lDistanceToMove));
    std::int64_t position = MovePointer(hFile, distance, dwMoveMethod);
    if (position < 0)
        return INVALID_SET_FILE_POINTER;
    if (lpDistanceToMoveHigh)
        *lpDistanceToMoveHigh = static_cast<LONG>(static_cast<std::uint64_t>(position) >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(position & 0xFFFFFFFF);
}

BOOL WINAPI SetFilePointerEx(HANDLE hFile, LARGE_INTEGER liDistanceToMove, PLARGE_INTEGER lpNewFilePointer,
                             DWORD dwMoveMethod)
{
    std::int64_t position = MovePointer(hFile, liDistanceToMove.QuadPart, dwMoveMethod);
    if (position < 0)
        return FALSE;
    if (lpNewFilePointer)
        lpNewFilePointer->QuadPart = position;
    return TRUE;
}

DWORD WINAPI GetFileSize(HANDLE hFile, LPDWORD lpFileSizeHigh)
{
    std::uint64_t size = 0;
    if (!SizeOf(hFile, size))
        return INVALID_FILE_SIZE;
    if (lpFileSizeHigh)
        *lpFileSizeHigh = static_cast<DWORD>(size >> 32);
    SetLastError(NO_ERROR);
    return static_cast<DWORD>(size & 0xFFFFFFFF);
}

BOOL WINAPI GetFileSizeEx(HANDLE hFile, PLARGE_INTEGER lpFileSize)
{
    std::uint64_t size = 0;
    if (!lpFileSize)
        return Fail(ERROR_INVALID_PARAMETER);
    if (!SizeOf(hFile, size))
        return FALSE;
    lpFileSize->QuadPart = static_cast<LONGLONG>(size);
    return TRUE;
}

BOOL WINAPI SetEndOfFile(HANDLE hFile)
{
    auto file = FileFromHandle(hFile);
    if (!file)
        return FALSE;
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    std::lock_guard lock(file->Lock());
    off_t position = lseek(file->Descriptor(), 0, SEEK_CUR);
    if (position < 0 || ftruncate(file->Descriptor(), position) != 0)
        return Fail(ErrorFromErrno(errno, file->HostPath()));
    return TRUE;
}

BOOL WINAPI FlushFileBuffers(HANDLE hFile)
{
    auto file = FileFromHandle(hFile);
    if (!file)
        return FALSE;
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    if (fsync(file->Descriptor()) != 0 && errno != EINVAL)
        return Fail(ErrorFromErrno(errno, file->HostPath()));
    return TRUE;
}

DWORD WINAPI GetFileType(HANDLE hFile)
{
    if (!FileFromHandle(hFile))
        return FILE_TYPE_UNKNOWN;
    SetLastError(NO_ERROR);
    return FILE_TYPE_DISK;
}

BOOL WINAPI GetFileTime(HANDLE hFile, LPFILETIME lpCreationTime, LPFILETIME lpLastAccessTime, LPFILETIME lpLastWriteTime)
{
    auto file = FileFromHandle(hFile);
    if (!file)
        return FALSE;
    struct stat st;
    if (fstat(file->Descriptor(), &st) != 0)
        return Fail(ErrorFromErrno(errno, file->HostPath()));
    // The host keeps no creation time everywhere: the older of change and write time stands in.
    const struct timespec& created = (st.st_ctim.tv_sec < st.st_mtim.tv_sec) ? st.st_ctim : st.st_mtim;
    if (lpCreationTime)
        *lpCreationTime = ToFileTime(created);
    if (lpLastAccessTime)
        *lpLastAccessTime = ToFileTime(st.st_atim);
    if (lpLastWriteTime)
        *lpLastWriteTime = ToFileTime(st.st_mtim);
    return TRUE;
}

BOOL WINAPI SetFileTime(HANDLE hFile, const FILETIME*, const FILETIME* lpLastAccessTime, const FILETIME* lpLastWriteTime)
{
    auto file = FileFromHandle(hFile);
    if (!file)
        return FALSE;
    if (!file->CanWrite())
        return Fail(ERROR_ACCESS_DENIED);
    // The creation time cannot be set on the host; it is accepted and left as it is.
    struct timespec times[2];
    times[0].tv_nsec = UTIME_OMIT;
    times[1].tv_nsec = UTIME_OMIT;
    times[0].tv_sec = times[1].tv_sec = 0;
    if (lpLastAccessTime && (lpLastAccessTime->dwLowDateTime || lpLastAccessTime->dwHighDateTime))
        times[0] = FromFileTime(*lpLastAccessTime);
    if (lpLastWriteTime && (lpLastWriteTime->dwLowDateTime || lpLastWriteTime->dwHighDateTime))
        times[1] = FromFileTime(*lpLastWriteTime);
    if (futimens(file->Descriptor(), times) != 0)
        return Fail(ErrorFromErrno(errno, file->HostPath()));
    return TRUE;
}
