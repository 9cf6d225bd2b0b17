// The drive map: configuration from VL_DRIVE_MAP / VL_DRIVES, run-time changes from tests.
#include "FileSystem.h"

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <mutex>

namespace host {

namespace {

struct DriveMap {
    std::mutex mutex;
    bool loaded = false;
    std::map<char, DriveInfo> drives;
    std::string systemRootOverride;
};

DriveMap& Map()
{
    static DriveMap* map = new DriveMap;  // used by static destructors of other areas too
    return *map;
}

std::string Trim(const std::string& text)
{
    auto begin = text.find_first_not_of(" \t\r\n");
    if (begin == std::string::npos)
        return {};
    auto end = text.find_last_not_of(" \t\r\n");
    return text.substr(begin, end - begin + 1);
}

std::string Lower(std::string text)
{
    for (char& c : text)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 0x20);
    return text;
}

char UpperLetter(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return static_cast<char>(letter - 0x20);
    return letter;
}

bool ValidLetter(char letter) { return letter >= 'A' && letter <= 'Z'; }

UINT ParseType(const std::string& text)
{
    std::string t = Lower(Trim(text));
    if (t == "cdrom" || t == "cd-rom" || t == "cd")
        return DRIVE_CDROM;
    if (t == "removable" || t == "floppy")
        return DRIVE_REMOVABLE;
    if (t == "remote" || t == "network")
        return DRIVE_REMOTE;
    if (t == "ramdisk")
        return DRIVE_RAMDISK;
    return DRIVE_FIXED;
}

std::string TidyFolder(const std::string& folder, const std::filesystem::path& base)
{
    std::filesystem::path p(folder);
    if (p.is_relative())
        p = base / p;
    std::string text = p.lexically_normal().string();
    while (text.size() > 1 && text.back() == '/')
        text.pop_back();
    return text;
}

// Fills what a drive's owner left open.
void Complete(DriveInfo& drive)
{
    if (drive.fileSystem.empty())
        drive.fileSystem = drive.type == DRIVE_CDROM ? "CDFS" : drive.type == DRIVE_REMOVABLE ? "FAT" : "NTFS";
    if (drive.serial == 0) {
        // A stable figure for letter and label, as a freshly formatted volume would have.
        std::uint32_t hash = 2166136261u ^ static_cast<unsigned char>(drive.letter);
        for (char c : drive.label)
            hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
        drive.serial = hash == 0 ? 1 : hash;
    }
    if (drive.freeBytes && !drive.totalBytes)
        drive.totalBytes = drive.freeBytes;
}

void Put(std::map<char, DriveInfo>& drives, DriveInfo drive)
{
    drive.letter = UpperLetter(drive.letter);
    if (!ValidLetter(drive.letter))
        return;
    if (drive.hostFolder.empty()) {
        drives.erase(drive.letter);
        return;
    }
    Complete(drive);
    drives[drive.letter] = std::move(drive);
}

std::optional<std::uint64_t> ParseNumber(const std::string& text, int base = 10)
{
    std::string t = Trim(text);
    if (t.empty())
        return std::nullopt;
    char* end = nullptr;
    unsigned long long value = std::strtoull(t.c_str(), &end, base);
    if (*end != '\0')
        return std::nullopt;
    return value;
}

void ReadConfigFile(std::map<char, DriveInfo>& drives, const std::string& fileName)
{
    std::ifstream in(fileName);
    if (!in)
        return;
    std::filesystem::path base = std::filesystem::absolute(fileName).parent_path();
    std::map<char, std::map<std::string, std::string>> sections;
    char current = 0;
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#')
            continue;
        if (line[0] == '[') {
            std::string name = Trim(line.substr(1, line.find(']') - 1));
            current = (name.size() == 1 || (name.size() == 2 && name[1] == ':')) ? UpperLetter(name[0]) : 0;
            if (current)
                sections[current];
            continue;
        }
        auto eq = line.find('=');
        if (current && eq != std::string::npos)
            sections[current][Lower(Trim(line.substr(0, eq)))] = Trim(line.substr(eq + 1));
    }
    for (auto& [letter, keys] : sections) {
        DriveInfo drive;
        drive.letter = letter;
        if (drives.count(letter))
            drive = drives[letter];
        if (keys.count("path"))
            drive.hostFolder = keys["path"].empty() ? std::string() : TidyFolder(keys["path"], base);
        if (keys.count("type"))
            drive.type = ParseType(keys["type"]);
        if (keys.count("label"))
            drive.label = keys["label"];
        if (auto serial = ParseNumber(keys["serial"], 16))
            drive.serial = static_cast<DWORD>(*serial);
        if (keys.count("filesystem"))
            drive.fileSystem = keys["filesystem"];
        drive.freeBytes = ParseNumber(keys["freespace"]);
        drive.totalBytes = ParseNumber(keys["totalspace"]);
        Put(drives, drive);
    }
}

void ReadDriveList(std::map<char, DriveInfo>& drives, const std::string& list)
{
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find(';', start);
        std::string entry = Trim(list.substr(start, end == std::string::npos ? std::string::npos : end - start));
        start = end == std::string::npos ? list.size() + 1 : end + 1;
        auto eq = entry.find('=');
        if (eq == std::string::npos || eq == 0)
            continue;
        std::vector<std::string> fields;
        std::string rest = entry.substr(eq + 1);
        std::size_t from = 0;
        for (;;) {
            std::size_t comma = rest.find(',', from);
            fields.push_back(Trim(rest.substr(from, comma == std::string::npos ? std::string::npos : comma - from)));
            if (comma == std::string::npos)
                break;
            from = comma + 1;
        }
        DriveInfo drive;
        drive.letter = entry[0];
        drive.hostFolder = fields[0].empty() ? std::string() : TidyFolder(fields[0], std::filesystem::current_path());
        if (fields.size() > 1)
            drive.type = ParseType(fields[1]);
        if (fields.size() > 2)
            drive.label = fields[2];
        if (fields.size() > 3)
            if (auto serial = ParseNumber(fields[3], 16))
                drive.serial = static_cast<DWORD>(*serial);
        if (fields.size() > 4)
            drive.freeBytes = ParseNumber(fields[4]);
        Put(drives, drive);
    }
}

void LoadLocked(DriveMap& map)
{
    map.drives.clear();
    DriveInfo c;
    c.letter = 'C';
    c.hostFolder = "/";
    c.label = "SYSTEM";
    Put(map.drives, c);
    if (const char* file = std::getenv("VL_DRIVE_MAP"); file && *file)
        ReadConfigFile(map.drives, file);
    if (const char* list = std::getenv("VL_DRIVES"); list && *list)
        ReadDriveList(map.drives, list);
    map.loaded = true;
}

// A CD-ROM or removable drive whose host folder is gone holds no disc: the platform answers for
// it as for an empty drive (ERROR_NOT_READY) instead of as a disc without files.
DriveInfo AsSeen(DriveInfo drive)
{
    if ((drive.type == DRIVE_CDROM || drive.type == DRIVE_REMOVABLE) && drive.mediaPresent) {
        std::error_code error;
        if (!std::filesystem::is_directory(drive.hostFolder, error))
            drive.mediaPresent = false;
    }
    return drive;
}

// Runs `change` on a mapped drive under the lock; false if the letter is not mapped.
template <class F>
bool Change(char letter, F change)
{
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    if (!map.loaded)
        LoadLocked(map);
    auto it = map.drives.find(UpperLetter(letter));
    if (it == map.drives.end())
        return false;
    change(it->second);
    Complete(it->second);
    detail::BumpPathMapGeneration();
    return true;
}

}  // namespace

void MapDrive(const DriveInfo& drive)
{
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    if (!map.loaded)
        LoadLocked(map);
    DriveInfo copy = drive;
    if (!copy.hostFolder.empty())
        copy.hostFolder = TidyFolder(copy.hostFolder, std::filesystem::current_path());
    Put(map.drives, copy);
    detail::BumpPathMapGeneration();
}

void MapDrive(char letter, const std::string& hostFolder, UINT type, const std::string& label)
{
    DriveInfo drive;
    drive.letter = letter;
    drive.hostFolder = hostFolder;
    drive.type = type;
    drive.label = label;
    MapDrive(drive);
}

bool UnmapDrive(char letter)
{
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    if (!map.loaded)
        LoadLocked(map);
    detail::BumpPathMapGeneration();
    return map.drives.erase(UpperLetter(letter)) > 0;
}

bool SetDriveLabel(char letter, const std::string& label, DWORD serial)
{
    return Change(letter, [&](DriveInfo& d) {
        d.label = label;
        d.serial = serial;
    });
}

bool SwapDisc(char letter, const std::string& hostFolder, const std::string& label, DWORD serial)
{
    if (hostFolder.empty())
        return false;
    std::string folder = TidyFolder(hostFolder, std::filesystem::current_path());
    return Change(letter, [&](DriveInfo& d) {
        d.hostFolder = folder;
        d.label = label;
        d.serial = serial;
        d.mediaPresent = true;
    });
}

bool SetDriveMedia(char letter, bool present)
{
    return Change(letter, [&](DriveInfo& d) { d.mediaPresent = present; });
}

bool SetDriveFreeSpace(char letter, std::uint64_t freeBytes, std::uint64_t totalBytes)
{
    return Change(letter, [&](DriveInfo& d) {
        d.freeBytes = freeBytes;
        d.totalBytes = totalBytes < freeBytes ? freeBytes : totalBytes;
    });
}

bool ClearDriveFreeSpace(char letter)
{
    return Change(letter, [&](DriveInfo& d) {
        d.freeBytes.reset();
        d.totalBytes.reset();
    });
}

std::optional<DriveInfo> FindDrive(char letter)
{
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    if (!map.loaded)
        LoadLocked(map);
    auto it = map.drives.find(UpperLetter(letter));
    if (it == map.drives.end())
        return std::nullopt;
    return AsSeen(it->second);
}

std::vector<DriveInfo> MappedDrives()
{
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    if (!map.loaded)
        LoadLocked(map);
    std::vector<DriveInfo> out;
    for (auto& [letter, drive] : map.drives)
        out.push_back(AsSeen(drive));
    return out;
}

void ResetDrives()
{
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    LoadLocked(map);
    map.systemRootOverride.clear();
    detail::BumpPathMapGeneration();
}

std::string SystemRoot()
{
    {
        DriveMap& map = Map();
        std::lock_guard lock(map.mutex);
        if (!map.systemRootOverride.empty())
            return map.systemRootOverride;
    }
    if (const char* root = std::getenv("VL_SYSTEM_ROOT"); root && *root)
        return TidyFolder(root, std::filesystem::current_path());
    if (const char* data = std::getenv("XDG_DATA_HOME"); data && *data && data[0] == '/')
        return TidyFolder(std::string(data) + "/vl/system", "/");
    if (const char* home = std::getenv("HOME"); home && *home && home[0] == '/')
        return TidyFolder(std::string(home) + "/.local/share/vl/system", "/");
    return "/tmp/vl-system-" + std::to_string(getuid());
}

void SetSystemRoot(const std::string& hostFolder)
{
    std::string folder = hostFolder.empty() ? std::string() : TidyFolder(hostFolder, std::filesystem::current_path());
    DriveMap& map = Map();
    std::lock_guard lock(map.mutex);
    map.systemRootOverride = folder;
    detail::BumpPathMapGeneration();
}

}  // namespace host
