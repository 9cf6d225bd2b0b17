// Names in folders: deleting, moving, copying, folders, attributes.
#include "FileObject.h"

#include <fcntl.h>
#include <unistd.h>

#include <cstring>

using namespace host::detail;

namespace {

// Resolves a path and stats it; on failure sets the last error and returns false.
bool ResolveExisting(LPCSTR path, Resolved& resolved, struct stat& st)
{
    if (DWORD error = Resolve(path, resolved); error != NO_ERROR)
        return Fail(error);
    if (resolved.full.parts.empty() && resolved.drive.hostFolder.empty())
        return Fail(ERROR_PATH_NOT_FOUND);
    if (!resolved.parentExists)
        return Fail(ERROR_PATH_NOT_FOUND);
    if (lstat(resolved.host.c_str(), &st) != 0)
        return Fail(ErrorFromErrno(errno, resolved.host));
    return true;
}

bool ReadOnlyFile(const struct stat& st)
{
    return !S_ISDIR(st.st_mode) && !(st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH));
}

// Copies the bytes, permissions and write time of one host file onto another (created or
// truncated). Sets the last error on failure and leaves no half-written target behind.
bool CopyHostFile(const std::string& from, const std::string& to, const struct stat& st)
{
    int in = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (in < 0)
        return Fail(ErrorFromErrno(errno, from));
    int out = open(to.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (out < 0) {
        DWORD error = ErrorFromErrno(errno, to);
        close(in);
        return Fail(error);
    }
    char buffer[65536];
    DWORD error = NO_ERROR;
    for (;;) {
        ssize_t got = read(in, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0) {
            error = ErrorFromErrno(errno, from);
            break;
        }
        if (got == 0)
            break;
        for (ssize_t done = 0; done < got;) {
            ssize_t put = write(out, buffer + done, static_cast<std::size_t>(got - done));
            if (put < 0 && errno == EINTR)
                continue;
            if (put < 0) {
                error = ErrorFromErrno(errno, to);
                break;
            }
            done += put;
        }
        if (error != NO_ERROR)
            break;
    }
    close(in);
    if (error == NO_ERROR) {
        struct timespec times[2] = {st.st_atim, st.st_mtim};
        futimens(out, times);
        fchmod(out, st.st_mode & 07777);
    }
    close(out);
    if (error != NO_ERROR) {
        unlink(to.c_str());
        return Fail(error);
    }
    return true;
}

bool SameFile(const struct stat& a, const struct stat& b) { return a.st_dev == b.st_dev && a.st_ino == b.st_ino; }

// Whether a folder is the platform's current directory or inside it.
bool HoldsCurrentDirectory(const Resolved& folder)
{
    FullPath current;
    if (MakeFullPath(CurrentDirectoryText(), current) != NO_ERROR || current.drive != folder.full.drive ||
        current.parts.size() < folder.full.parts.size())
        return false;
    for (std::size_t i = 0; i < folder.full.parts.size(); ++i)
        if (!EqualNoCase1252(current.parts[i], folder.full.parts[i]))
            return false;
    return true;
}

}  // namespace

BOOL WINAPI DeleteFile(LPCSTR lpFileName)
{
    Resolved resolved;
    struct stat st;
    if (!ResolveExisting(lpFileName, resolved, st))
        return FALSE;
    if (S_ISDIR(st.st_mode) || ReadOnlyFile(st) || ReadOnlyDrive(resolved.drive))
        return Fail(ERROR_ACCESS_DENIED);
    if (DeleteBlocked(resolved.host))
        return Fail(ERROR_SHARING_VIOLATION);
    if (unlink(resolved.host.c_str()) != 0)
        return Fail(ErrorFromErrno(errno, resolved.host));
    ForgetParentEntries(resolved.host);
    if (st.st_nlink <= 1)
        ForgetAttributes(st);
    return TRUE;
}

BOOL WINAPI MoveFileEx(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, DWORD dwFlags)
{
    if (dwFlags & MOVEFILE_DELAY_UNTIL_REBOOT)
        return Fail(ERROR_NOT_SUPPORTED);  // there is no reboot to wait for
    Resolved from;
    struct stat st;
    if (!ResolveExisting(lpExistingFileName, from, st))
        return FALSE;
    if (!lpNewFileName) {
        // A NULL target deletes the source (this is only allowed on reboot on the platform).
        return Fail(ERROR_INVALID_PARAMETER);
    }
    Resolved to;
    if (DWORD error = Resolve(lpNewFileName, to); error != NO_ERROR)
        return Fail(error);
    if (!to.parentExists || to.full.parts.empty())
        return Fail(ERROR_PATH_NOT_FOUND);
    if (ReadOnlyDrive(from.drive) || ReadOnlyDrive(to.drive))
        return Fail(ERROR_ACCESS_DENIED);
    bool folder = S_ISDIR(st.st_mode);
    bool otherDrive = from.full.drive != to.full.drive;
    if (otherDrive && (folder || !(dwFlags & MOVEFILE_COPY_ALLOWED)))
        return Fail(ERROR_NOT_SAME_DEVICE);
    if (DeleteBlocked(from.host))
        return Fail(ERROR_SHARING_VIOLATION);

    // The target keeps the spelling it was given, also when only the case changes.
    std::string target = to.host.substr(0, to.host.rfind('/') + 1) + Cp1252ToUtf8(to.full.Name());
    struct stat existing;
    if (lstat(to.host.c_str(), &existing) == 0 && !SameFile(existing, st)) {
        if (!(dwFlags & MOVEFILE_REPLACE_EXISTING))
            return Fail(ERROR_ALREADY_EXISTS);
        if (S_ISDIR(existing.st_mode) || folder || ReadOnlyFile(existing))
            return Fail(ERROR_ACCESS_DENIED);
        if (DeleteBlocked(to.host))
            return Fail(ERROR_SHARING_VIOLATION);
        if (existing.st_nlink <= 1)
            ForgetAttributes(existing);
        target = to.host;
    }
    if (folder && HoldsCurrentDirectory(from))
        return Fail(ERROR_SHARING_VIOLATION);
    ForgetParentEntries(from.host);
    ForgetParentEntries(target);
    if (rename(from.host.c_str(), target.c_str()) == 0)
        return TRUE;
    if (errno != EXDEV)
        return Fail(ErrorFromErrno(errno, target));
    if (folder || !(dwFlags & MOVEFILE_COPY_ALLOWED))
        return Fail(ERROR_NOT_SAME_DEVICE);
    if (!CopyHostFile(from.host, target, st))
        return FALSE;
    unlink(from.host.c_str());
    return TRUE;
}

BOOL WINAPI MoveFile(LPCSTR lpExistingFileName, LPCSTR lpNewFileName)
{
    return MoveFileEx(lpExistingFileName, lpNewFileName, MOVEFILE_COPY_ALLOWED);
}

BOOL WINAPI CopyFile(LPCSTR lpExistingFileName, LPCSTR lpNewFileName, BOOL bFailIfExists)
{
    Resolved from;
    struct stat st;
    if (!ResolveExisting(lpExistingFileName, from, st))
        return FALSE;
    if (S_ISDIR(st.st_mode))
        return Fail(ERROR_ACCESS_DENIED);
    Resolved to;
    if (DWORD error = Resolve(lpNewFileName, to); error != NO_ERROR)
        return Fail(error);
    if (!to.parentExists || to.full.parts.empty())
        return Fail(ERROR_PATH_NOT_FOUND);
    if (ReadOnlyDrive(to.drive))
        return Fail(ERROR_ACCESS_DENIED);
    std::lock_guard lock(OpenFilesLock());
    if (ShareConflict(FileId{st.st_dev, st.st_ino}, GENERIC_READ, FILE_SHARE_READ))
        return Fail(ERROR_SHARING_VIOLATION);
    struct stat existing;
    if (lstat(to.host.c_str(), &existing) == 0) {
        if (bFailIfExists)
            return Fail(ERROR_FILE_EXISTS);
        if (S_ISDIR(existing.st_mode) || ReadOnlyFile(existing))
            return Fail(ERROR_ACCESS_DENIED);
        if (SameFile(existing, st))
            return Fail(ERROR_SHARING_VIOLATION);  // the source is open for reading
        if (ShareConflict(FileId{existing.st_dev, existing.st_ino}, GENERIC_WRITE, 0))
            return Fail(ERROR_SHARING_VIOLATION);
    }
    if (!CopyHostFile(from.host, to.host, st))
        return FALSE;
    // The copy keeps the source's attributes.
    struct stat copied;
    if (lstat(to.host.c_str(), &copied) == 0)
        KeepAttributes(to.host, copied, AttributesOf(from.host, st, from.drive));
    return TRUE;
}

BOOL WINAPI CreateDirectory(LPCSTR lpPathName, LPSECURITY_ATTRIBUTES)
{
    Resolved resolved;
    if (DWORD error = Resolve(lpPathName, resolved); error != NO_ERROR)
        return Fail(error);
    if (resolved.full.parts.empty())
        return Fail(ERROR_ACCESS_DENIED);
    if (!resolved.parentExists)
        return Fail(ERROR_PATH_NOT_FOUND);
    if (ReadOnlyDrive(resolved.drive))
        return Fail(ERROR_ACCESS_DENIED);
    if (mkdir(resolved.host.c_str(), 0777) != 0)
        return Fail(ErrorFromErrno(errno, resolved.host));
    ForgetParentEntries(resolved.host);
    return TRUE;
}

BOOL WINAPI RemoveDirectory(LPCSTR lpPathName)
{
    Resolved resolved;
    struct stat st;
    if (!ResolveExisting(lpPathName, resolved, st))
        return FALSE;
    if (!S_ISDIR(st.st_mode))
        return Fail(ERROR_DIRECTORY);
    if (resolved.full.parts.empty() || ReadOnlyDrive(resolved.drive))
        return Fail(ERROR_ACCESS_DENIED);
    if (HoldsCurrentDirectory(resolved))
        return Fail(ERROR_SHARING_VIOLATION);  // the process has it open as its current folder
    if (rmdir(resolved.host.c_str()) != 0)
        return Fail(errno == EEXIST ? ERROR_DIR_NOT_EMPTY : ErrorFromErrno(errno, resolved.host));
    ForgetParentEntries(resolved.host);
    ForgetFolderEntries(resolved.host);
    return TRUE;
}

DWORD WINAPI GetFileAttributes(LPCSTR lpFileName)
{
    Resolved resolved;
    struct stat st;
    if (DWORD error = Resolve(lpFileName, resolved); error != NO_ERROR) {
        SetLastError(error);
        return INVALID_FILE_ATTRIBUTES;
    }
    if (stat(resolved.host.c_str(), &st) != 0) {
        SetLastError(resolved.parentExists ? ErrorFromErrno(errno, resolved.host) : ERROR_PATH_NOT_FOUND);
        return INVALID_FILE_ATTRIBUTES;
    }
    return AttributesOf(resolved.host, st, resolved.drive);
}

BOOL WINAPI GetFileAttributesEx(LPCSTR lpFileName, GET_FILEEX_INFO_LEVELS fInfoLevelId, LPVOID lpFileInformation)
{
    if (fInfoLevelId != GetFileExInfoStandard || !lpFileInformation)
        return Fail(ERROR_INVALID_PARAMETER);
    Resolved resolved;
    struct stat st;
    if (DWORD error = Resolve(lpFileName, resolved); error != NO_ERROR)
        return Fail(error);
    if (stat(resolved.host.c_str(), &st) != 0)
        return Fail(resolved.parentExists ? ErrorFromErrno(errno, resolved.host) : ERROR_PATH_NOT_FOUND);
    auto* data = static_cast<WIN32_FILE_ATTRIBUTE_DATA*>(lpFileInformation);
    data->dwFileAttributes = AttributesOf(resolved.host, st, resolved.drive);
    data->ftCreationTime = ToFileTime(st.st_ctim.tv_sec < st.st_mtim.tv_sec ? st.st_ctim : st.st_mtim);
    data->ftLastAccessTime = ToFileTime(st.st_atim);
    data->ftLastWriteTime = ToFileTime(st.st_mtim);
    std::uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
    data->nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data->nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    return TRUE;
}

BOOL WINAPI SetFileAttributes(LPCSTR lpFileName, DWORD dwFileAttributes)
{
    Resolved resolved;
    struct stat st;
    if (DWORD error = Resolve(lpFileName, resolved); error != NO_ERROR)
        return Fail(error);
    if (stat(resolved.host.c_str(), &st) != 0)
        return Fail(resolved.parentExists ? ErrorFromErrno(errno, resolved.host) : ERROR_PATH_NOT_FOUND);
    if (ReadOnlyDrive(resolved.drive))
        return Fail(ERROR_ACCESS_DENIED);
    if (!S_ISDIR(st.st_mode)) {
        // Read-only is the host's write permission: taken from everyone, given back to the owner.
        mode_t mode = st.st_mode & 07777;
        mode_t wanted = (dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? (mode & ~(S_IWUSR | S_IWGRP | S_IWOTH))
                                                                      : (ReadOnlyFile(st) ? (mode | S_IWUSR) : mode);
        if (wanted != mode && chmod(resolved.host.c_str(), wanted) != 0)
            return Fail(ErrorFromErrno(errno, resolved.host));
    }
    KeepAttributes(resolved.host, st, dwFileAttributes);
    return TRUE;
}
