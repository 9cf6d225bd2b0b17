// Drives and volumes seen through the drive map: letters, types, labels, free space.
#include "FileSystem.h"

#include <sys/statvfs.h>

#include <cstring>

using namespace host::detail;

namespace {

char CurrentDrive() { return CurrentDirectoryText()[0]; }

char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

// The drive letter of a root name ("D:\\"; NULL for the current drive), or 0 if the text does
// not name a root. With `bareLetterAllowed` "D:" counts too.
char RootLetter(LPCSTR root, bool bareLetterAllowed)
{
    if (!root)
        return CurrentDrive();
    std::size_t length = std::strlen(root);
    if (length == 1 && IsSeparator(root[0]))
        return CurrentDrive();
    if ((length == 3 && root[1] == ':' && IsSeparator(root[2])) || (bareLetterAllowed && length == 2 && root[1] == ':')) {
        char letter = UpperLetter(root[0]);
        return (letter >= 'A' && letter <= 'Z') ? letter : 0;
    }
    return 0;
}

struct SpaceFigures {
    std::uint64_t availableToCaller = 0;
    std::uint64_t total = 0;
    std::uint64_t totalFree = 0;
};

bool Space(const host::DriveInfo& drive, const std::string& hostPath, SpaceFigures& out)
{
    if (drive.freeBytes) {
        out.availableToCaller = out.totalFree = *drive.freeBytes;
        out.total = drive.totalBytes.value_or(*drive.freeBytes);
        return true;
    }
    struct statvfs vfs;
    if (statvfs(hostPath.c_str(), &vfs) != 0)
        return Fail(ErrorFromErrno(errno, hostPath));
    std::uint64_t unit = vfs.f_frsize ? vfs.f_frsize : vfs.f_bsize;
    out.total = static_cast<std::uint64_t>(vfs.f_blocks) * unit;
    if (drive.type == DRIVE_CDROM)
        return true;  // a pressed disc has no room left
    out.availableToCaller = static_cast<std::uint64_t>(vfs.f_bavail) * unit;
    out.totalFree = static_cast<std::uint64_t>(vfs.f_bfree) * unit;
    return true;
}

// The drive that a root name ("D:\\", NULL for the current drive) names, when its medium is
// in; otherwise nothing, with the reason as the last error.
std::optional<host::DriveInfo> ReadyDrive(LPCSTR root)
{
    char letter = RootLetter(root, false);
    DWORD error = NO_ERROR;
    std::optional<host::DriveInfo> drive;
    if (!letter)
        error = ERROR_INVALID_NAME;
    else if (!(drive = host::FindDrive(letter)))
        error = ERROR_PATH_NOT_FOUND;
    else if (!drive->mediaPresent)
        error = ERROR_NOT_READY;
    if (error == NO_ERROR)
        return drive;
    Fail(error);
    return std::nullopt;
}

bool CopyName(const std::string& text, LPSTR buffer, DWORD size)
{
    if (!buffer)
        return true;
    if (size <= text.size())
        return false;
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return true;
}

}  // namespace

DWORD WINAPI GetLogicalDrives()
{
    DWORD mask = 0;
    for (const host::DriveInfo& drive : host::MappedDrives())
        mask |= 1u << (drive.letter - 'A');
    SetLastError(NO_ERROR);
    return mask;
}

DWORD WINAPI GetLogicalDriveStrings(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::string all;
    for (const host::DriveInfo& drive : host::MappedDrives()) {
        all += drive.letter;
        all += ":\\";
        all += '\0';
    }
    // The list ends with a second terminator; the count leaves that one out.
    if (!lpBuffer || nBufferLength < all.size() + 1)
        return static_cast<DWORD>(all.size() + 1);
    std::memcpy(lpBuffer, all.data(), all.size());
    lpBuffer[all.size()] = '\0';
    return static_cast<DWORD>(all.size());
}

UINT WINAPI GetDriveType(LPCSTR lpRootPathName)
{
    char letter = RootLetter(lpRootPathName, true);
    if (!letter)
        return DRIVE_NO_ROOT_DIR;
    auto drive = host::FindDrive(letter);
    return drive ? drive->type : DRIVE_NO_ROOT_DIR;
}

BOOL WINAPI GetVolumeInformation(LPCSTR lpRootPathName, LPSTR lpVolumeNameBuffer, DWORD nVolumeNameSize,
                                 LPDWORD lpVolumeSerialNumber, LPDWORD lpMaximumComponentLength,
                                 LPDWORD lpFileSystemFlags, LPSTR lpFileSystemNameBuffer, DWORD nFileSystemNameSize)
{
    auto drive = ReadyDrive(lpRootPathName);
    if (!drive)
        return FALSE;
    if (!CopyName(drive->label, lpVolumeNameBuffer, nVolumeNameSize) ||
        !CopyName(drive->fileSystem, lpFileSystemNameBuffer, nFileSystemNameSize))
        return Fail(ERROR_INSUFFICIENT_BUFFER);
    if (lpVolumeSerialNumber)
        *lpVolumeSerialNumber = drive->serial;
    if (lpMaximumComponentLength)
        *lpMaximumComponentLength = 255;
    if (lpFileSystemFlags)
        *lpFileSystemFlags = drive->type == DRIVE_CDROM ? FILE_READ_ONLY_VOLUME | FILE_CASE_PRESERVED_NAMES
                                                        : FILE_CASE_PRESERVED_NAMES | FILE_UNICODE_ON_DISK;
    return TRUE;
}

BOOL WINAPI SetVolumeLabel(LPCSTR lpRootPathName, LPCSTR lpVolumeName)
{
    auto drive = ReadyDrive(lpRootPathName);
    if (!drive)
        return FALSE;
    if (ReadOnlyDrive(*drive))
        return Fail(ERROR_ACCESS_DENIED);
    std::string label = lpVolumeName ? lpVolumeName : "";
    if (label.size() > 32)
        return Fail(ERROR_INVALID_NAME);
    host::SetDriveLabel(drive->letter, label, drive->serial);  // the same volume, so the same serial
    return TRUE;
}

BOOL WINAPI GetDiskFreeSpace(LPCSTR lpRootPathName, LPDWORD lpSectorsPerCluster, LPDWORD lpBytesPerSector,
                             LPDWORD lpNumberOfFreeClusters, LPDWORD lpTotalNumberOfClusters)
{
    auto drive = ReadyDrive(lpRootPathName);
    if (!drive)
        return FALSE;
    SpaceFigures figures;
    if (!Space(*drive, drive->hostFolder, figures))
        return FALSE;
    // Clusters of 8 sectors of 512 bytes; counts beyond 32 bits are capped.
    constexpr std::uint64_t kCluster = 4096;
    auto clusters = [](std::uint64_t bytes) {
        std::uint64_t count = bytes / kCluster;
        return static_cast<DWORD>(count > 0xFFFFFFFFu ? 0xFFFFFFFFu : count);
    };
    if (lpSectorsPerCluster)
        *lpSectorsPerCluster = 8;
    if (lpBytesPerSector)
        *lpBytesPerSector = 512;
    if (lpNumberOfFreeClusters)
        *lpNumberOfFreeClusters = clusters(figures.availableToCaller);
    if (lpTotalNumberOfClusters)
        *lpTotalNumberOfClusters = clusters(figures.total);
    return TRUE;
}

BOOL WINAPI GetDiskFreeSpaceEx(LPCSTR lpDirectoryName, PULARGE_INTEGER lpFreeBytesAvailableToCaller,
                               PULARGE_INTEGER lpTotalNumberOfBytes, PULARGE_INTEGER lpTotalNumberOfFreeBytes)
{
    Resolved resolved;
    if (DWORD error = Resolve(lpDirectoryName ? lpDirectoryName : "\\", resolved); error != NO_ERROR)
        return Fail(error);
    struct stat st;
    if (stat(resolved.host.c_str(), &st) != 0)
        return Fail(resolved.parentExists ? ErrorFromErrno(errno, resolved.host) : ERROR_PATH_NOT_FOUND);
    if (!S_ISDIR(st.st_mode))
        return Fail(ERROR_DIRECTORY);
    SpaceFigures figures;
    if (!Space(resolved.drive, resolved.host, figures))
        return FALSE;
    if (lpFreeBytesAvailableToCaller)
        lpFreeBytesAvailableToCaller->QuadPart = figures.availableToCaller;
    if (lpTotalNumberOfBytes)
        lpTotalNumberOfBytes->QuadPart = figures.total;
    if (lpTotalNumberOfFreeBytes)
        lpTotalNumberOfFreeBytes->QuadPart = figures.totalFree;
    return TRUE;
}
