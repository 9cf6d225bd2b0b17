// Shared pieces of the files, folders and drives area (private to the platform library).
#pragma once

#include <windows.h>
#include <host/Drives.h>

#include <sys/stat.h>

#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace host::detail {

// Windows-1252 text <-> host (UTF-8) file names.
std::string Cp1252ToUtf8(const std::string& text);
std::string Utf8ToCp1252(const std::string& text);
unsigned char Upper1252(unsigned char c);
bool EqualNoCase1252(const std::string& a, const std::string& b);

// A platform path made absolute and tidy: "D:\\A\\b" (no "." or "..", single backslashes).
struct FullPath {
    char drive = 0;                  // upper-case letter
    std::vector<std::string> parts;  // components below the root
    bool trailingSeparator = false;  // the path as given ended in a backslash

    std::string Text() const;        // "D:\\A\\b" ("D:\\" for the root), trailing separator kept
    std::string Name() const { return parts.empty() ? std::string() : parts.back(); }
};

// Makes a platform path absolute against the current directory. Returns an error code
// (ERROR_INVALID_NAME for malformed paths) or NO_ERROR.
DWORD MakeFullPath(const std::string& path, FullPath& out);

// A platform path resolved to a host path through the drive map.
struct Resolved {
    FullPath full;
    DriveInfo drive;
    std::string host;        // host path; components missing on the host are kept as written
    bool parentExists = true;  // every folder above the last component exists on the host
};

// Resolves a path for use. Fails with ERROR_PATH_NOT_FOUND for an empty or unmapped path,
// ERROR_INVALID_NAME for wildcards or forbidden characters (unless allowed in the last
// component), ERROR_NOT_READY for a drive without its disc.
DWORD Resolve(const char* path, Resolved& out, bool allowWildcardsInName = false);

// Host folder entry of `folder` equal to `name` (Windows-1252) without regard to case, as a
// host (UTF-8) name; the exact spelling wins over other spellings.
std::optional<std::string> MatchEntry(const std::string& folder, const std::string& name);

std::string CurrentDirectoryText();
void SetCurrentDirectoryText(const std::string& text);

// Changes with every change of what a platform path may resolve to: the drive map, a disc swap,
// the system tree's root, the current directory. Caches of resolved names compare it.
std::uint64_t PathMapGeneration();
void BumpPathMapGeneration();

// The folder cache of MatchEntry forgets what it knows of a host folder: the platform calls it
// when it creates, renames or deletes an entry there.
void ForgetFolderEntries(const std::string& hostFolder);
// The same for the folder that holds a host path.
void ForgetParentEntries(const std::string& hostPath);

// Host folder of the emulated system tree ("" for its root, "WINDOWS", "TEMP" ...), created on
// demand, in the platform's form; empty if no drive covers it.
std::string SystemFolderText(const char* below);

// Copies text out the way the path functions do: the length without the terminator when it
// fits, else the buffer size needed with the terminator.
DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size);

constexpr DWORD kErrorBadNetPath = 53;  // a network name (\\server\share)

// Error helpers.
DWORD ErrorFromErrno(int err, const std::string& hostPath);
inline BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}
bool ReadOnlyDrive(const DriveInfo& drive);

// Attributes: read-only from the host's write permission, directory, hidden for a leading dot,
// and the attributes SetFileAttributes keeps (hidden, system, archive).
DWORD AttributesOf(const std::string& hostPath, const struct stat& st, const DriveInfo& drive);
bool KeepAttributes(const std::string& hostPath, const struct stat& st, DWORD attributes);
void ForgetAttributes(const struct stat& st);  // the file is deleted

FILETIME ToFileTime(const struct timespec& time);
struct timespec FromFileTime(const FILETIME& time);

// Open files of the process, for share modes: whether opening the file with `access` and
// `share` conflicts with a handle already open. The caller holds the lock of OpenFilesLock().
struct FileId {
    dev_t device;
    ino_t inode;
    bool operator==(const FileId&) const = default;
};
std::mutex& OpenFilesLock();
bool ShareConflict(const FileId& id, DWORD access, DWORD share);
// Whether some handle keeps the file from being deleted or renamed (opened without
// FILE_SHARE_DELETE). Takes the lock itself.
bool DeleteBlocked(const std::string& hostPath);

}  // namespace host::detail
