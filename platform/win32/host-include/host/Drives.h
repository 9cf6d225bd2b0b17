// The drive map: which host folder each drive letter of the platform stands for, with the
// drive's type, its volume label and serial number, and (for tests) its free space.
//
// Not part of the platform's interface: only the platform layer and tests use it.
//
// Configuration, read once at first use (ResetDrives() reads it again):
//  - By default C: is the host's root folder ("/"), a fixed drive labelled "SYSTEM".
//  - VL_DRIVE_MAP names an INI-style file with one section per drive:
//        [D:]                      ; or [D]
//        Path=/srv/disc            ; host folder; relative to the file's folder; empty = unmap
//        Type=cdrom                ; fixed, cdrom, removable, remote, ramdisk
//        Label=DISC_ONE            ; volume label
//        Serial=1A2B3C4D           ; volume serial number, hexadecimal
//        FileSystem=CDFS           ; file-system name (default by type: NTFS, CDFS, FAT)
//        FreeSpace=1048576         ; free bytes reported instead of the host's figure (and a
//                                  ; limit on each write's growth of a file)
//        TotalSpace=650000000      ; total bytes reported with it (default: free space)
//    Lines starting with ';' or '#' are comments; names and values are trimmed.
//  - VL_DRIVES lists drives on one line, applied after the file:
//        VL_DRIVES="D=/srv/disc,cdrom,DISC_ONE;E=/media/stick,removable;C="
//    Each entry is LETTER=FOLDER[,TYPE[,LABEL[,SERIAL[,FREEBYTES]]]]; an empty folder unmaps.
//  - VL_SYSTEM_ROOT is the host folder of the emulated system tree (WINDOWS, WINDOWS\SYSTEM32
//    and TEMP below it, created on demand). Default: $XDG_DATA_HOME/vl/system, else
//    $HOME/.local/share/vl/system, else /tmp/vl-system-<uid>. It must lie inside a mapped
//    drive for the platform to name it.
#pragma once

#include <fileapi.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace host {

struct DriveInfo {
    char letter = 'C';              // upper case
    std::string hostFolder;         // absolute host folder, without trailing slash ("/" for root)
    UINT type = DRIVE_FIXED;        // DRIVE_FIXED, DRIVE_CDROM, DRIVE_REMOVABLE ...
    std::string label;              // volume label (Windows-1252)
    DWORD serial = 0;               // 0: derived from letter and label
    std::string fileSystem;         // empty: derived from the type
    bool mediaPresent = true;       // false: a removable drive without a disc (ERROR_NOT_READY); a
                                    // CD-ROM or removable drive whose folder is missing reads so too
    std::optional<std::uint64_t> freeBytes;   // reported instead of the host's figures
    std::optional<std::uint64_t> totalBytes;
};

// Maps (or re-maps) a drive. Fills the derived fields (serial, file system) when left empty.
void MapDrive(const DriveInfo& drive);
void MapDrive(char letter, const std::string& hostFolder, UINT type = DRIVE_FIXED,
              const std::string& label = std::string());
// Removes a drive. Returns false if it was not mapped.
bool UnmapDrive(char letter);

// A disc swap: the drive now shows another label (and serial number; 0 derives a new one).
// Optionally the drive's folder changes too (the new disc's contents).
bool SetDriveLabel(char letter, const std::string& label, DWORD serial = 0);
bool SwapDisc(char letter, const std::string& hostFolder, const std::string& label, DWORD serial = 0);
// Takes the disc out of (or puts it back into) a removable or CD-ROM drive.
bool SetDriveMedia(char letter, bool present);

// Free-space figures reported by GetDiskFreeSpace(Ex) for the drive instead of the host's. While
// set, WriteFile refuses a write that would grow a file of the drive by more than the free figure
// (ERROR_DISK_FULL, nothing written); the figure itself does not shrink as files grow.
bool SetDriveFreeSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes);
bool ClearDriveFreeSpace(char letter);

std::optional<DriveInfo> FindDrive(char letter);
std::vector<DriveInfo> MappedDrives();  // sorted by letter

// Drops every change made at run time and reads the configuration again.
void ResetDrives();

// The emulated system tree's host folder (see VL_SYSTEM_ROOT above). Setting an empty folder
// returns to the configured one.
std::string SystemRoot();
void SetSystemRoot(const std::string& hostFolder);

}  // namespace host
