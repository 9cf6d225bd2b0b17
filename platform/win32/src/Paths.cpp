// Platform paths: full path names, the current directory, the mapping onto host folders
// through the drive map, and the emulated system tree's folders.
#include "FileSystem.h"

#include <host/Paths.h>
#include <host/Process.h>

#include <dirent.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <unordered_map>

namespace host::detail {

namespace {

// The platform's current directory (empty until first asked). Never destroyed, so that code
// running at exit still finds it.
struct CurrentDirectoryState {
    std::mutex lock;
    std::string text;
};

CurrentDirectoryState& Current()
{
    static auto* state = new CurrentDirectoryState;
    return *state;
}

bool Separator(char c) { return c == '\\' || c == '/'; }

char UpperLetter(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c; }

bool ForbiddenInName(unsigned char c, bool allowWildcards)
{
    if (c < 0x20)
        return true;
    switch (c) {
    case '<': case '>': case ':': case '"': case '|':
        return true;
    case '*': case '?':
        return !allowWildcards;
    default:
        return false;
    }
}

std::string JoinHost(const std::string& folder, const std::string& name)
{
    return folder == "/" ? "/" + name : folder + "/" + name;
}

bool HostExists(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0;
}

}  // namespace

std::string FullPath::Text() const
{
    std::string text(1, drive);
    text += ":\\";
    for (std::size_t i = 0; i < parts.size(); ++i) {
        if (i)
            text += '\\';
        text += parts[i];
    }
    if (trailingSeparator && !parts.empty())
        text += '\\';
    return text;
}

void SetCurrentDirectoryText(const std::string& text)
{
    {
        std::lock_guard lock(Current().lock);
        Current().text = text;
    }
    BumpPathMapGeneration();
}

std::string CurrentDirectoryText()
{
    CurrentDirectoryState& current = Current();
    {
        std::lock_guard lock(current.lock);
        if (!current.text.empty())
            return current.text;
    }
    // First use: the host's working folder, if a drive covers it.
    std::string initial = "C:\\";
    char buffer[4096];
    if (getcwd(buffer, sizeof buffer))
        if (auto platform = host::FromHostPath(buffer))
            initial = *platform;
    std::lock_guard lock(current.lock);
    if (current.text.empty())
        current.text = initial;
    return current.text;
}

DWORD MakeFullPath(const std::string& path, FullPath& out)
{
    if (path.empty())
        return ERROR_PATH_NOT_FOUND;
    if (path.size() >= 2 && Separator(path[0]) && Separator(path[1]))
        return kErrorBadNetPath;  // network names are not served
    std::string rest = path;
    FullPath base;
    std::string current = CurrentDirectoryText();
    base.drive = current[0];
    bool relative = true;
    if (path.size() >= 2 && path[1] == ':') {
        char letter = UpperLetter(path[0]);
        if (letter < 'A' || letter > 'Z')
            return ERROR_INVALID_NAME;
        rest = path.substr(2);
        if (letter != base.drive)
            relative = false;  // the other drive's own current folder is its root
        base.drive = letter;
    }
    if (!rest.empty() && Separator(rest[0]))
        relative = false;
    if (relative) {
        std::string tail = current.substr(3);
        std::size_t start = 0;
        while (start < tail.size()) {
            std::size_t end = tail.find('\\', start);
            if (end == std::string::npos)
                end = tail.size();
            if (end > start)
                base.parts.push_back(tail.substr(start, end - start));
            start = end + 1;
        }
    }
    base.trailingSeparator = !rest.empty() && Separator(rest.back());
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = start;
        while (end < rest.size() && !Separator(rest[end]))
            ++end;
        std::string part = rest.substr(start, end - start);
        start = end + 1;
        if (part.empty() || part == ".")
            continue;
        if (part == "..") {
            if (!base.parts.empty())
                base.parts.pop_back();
            continue;
        }
        // The platform drops trailing dots and spaces of a name.
        while (!part.empty() && (part.back() == '.' || part.back() == ' '))
            part.pop_back();
        if (!part.empty())
            base.parts.push_back(part);
    }
    out = std::move(base);
    return NO_ERROR;
}

namespace {

std::atomic<std::uint64_t> g_pathMapGeneration{1};

// What the platform learnt of host folders' names when a name had to be matched without regard
// to case: for each folder, its entries by their upper-case spelling. An answer is checked
// before it is used (the entry may have gone behind the platform's back); a name the cache does
// not know sends the lookup to the folder itself, so that entries made by other programs are
// found. The platform's own creations, renames and deletions drop the folder's entry.
//
// A name missing from a listing is missing from the folder as long as the folder has not changed
// since: same folder (device and inode) and same modification time, where that time lay well
// before the listing was read (a change within the clock's granularity of the reading could
// leave the time as it was).
class FolderNameCache {
public:
    // The folder's stamp: what tells whether its entries changed.
    struct Stamp {
        dev_t device = 0;
        ino_t inode = 0;
        timespec modified{};
        bool operator==(const Stamp& o) const
        {
            return device == o.device && inode == o.inode && modified.tv_sec == o.modified.tv_sec &&
                   modified.tv_nsec == o.modified.tv_nsec;
        }
    };

    static std::optional<Stamp> StampOf(const std::string& folder)
    {
        struct stat st;
        if (stat(folder.c_str(), &st) != 0 || !S_ISDIR(st.st_mode))
            return std::nullopt;
        return Stamp{st.st_dev, st.st_ino, st.st_mtim};
    }

    // The spelling of a name the folder's listing holds; `absent` when the listing does not hold
    // it and may be trusted for that.
    std::optional<std::string> Find(const std::string& folder, const std::string& upperName, bool* absent = nullptr)
    {
        std::lock_guard lock(m_lock);
        if (absent)
            *absent = false;
        auto f = m_folders.find(folder);
        if (f == m_folders.end())
            return std::nullopt;
        auto n = f->second.names.find(upperName);
        if (n == f->second.names.end()) {
            if (absent && f->second.trusted) {
                std::optional<Stamp> now = StampOf(folder);
                *absent = now && *now == f->second.stamp;
            }
            return std::nullopt;
        }
        return n->second;
    }

    // `stamp`: the folder's stamp taken before the listing was read, `readAt` when it was read.
    void Store(const std::string& folder, std::unordered_map<std::string, std::string> names,
               std::optional<Stamp> stamp, const timespec& readAt)
    {
        std::lock_guard lock(m_lock);
        if (m_folders.size() >= kMaxFolders)
            m_folders.clear();
        Listing& listing = m_folders[folder];
        listing.names = std::move(names);
        listing.trusted = stamp && stamp->modified.tv_sec + 2 < readAt.tv_sec;
        if (stamp)
            listing.stamp = *stamp;
    }

    void Forget(const std::string& folder)
    {
        std::lock_guard lock(m_lock);
        m_folders.erase(folder);
    }

private:
    struct Listing {
        std::unordered_map<std::string, std::string> names;
        Stamp stamp;
        bool trusted = false;  // a name missing from `names` is missing while the stamp holds
    };
    static constexpr std::size_t kMaxFolders = 256;
    std::mutex m_lock;
    std::unordered_map<std::string, Listing> m_folders;
};

FolderNameCache& FolderNames()
{
    static auto* cache = new FolderNameCache;  // used by static destructors of other areas too
    return *cache;
}

std::string Upper1252Text(const std::string& text)
{
    std::string upper(text);
    for (char& c : upper)
        c = static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    return upper;
}

}  // namespace

std::uint64_t PathMapGeneration() { return g_pathMapGeneration.load(std::memory_order_acquire); }

void BumpPathMapGeneration() { g_pathMapGeneration.fetch_add(1, std::memory_order_acq_rel); }

void ForgetFolderEntries(const std::string& hostFolder) { FolderNames().Forget(hostFolder); }

void ForgetParentEntries(const std::string& hostPath)
{
    auto slash = hostPath.rfind('/');
    if (slash == std::string::npos)
        return;
    FolderNames().Forget(slash == 0 ? std::string("/") : hostPath.substr(0, slash));
}

std::optional<std::string> MatchEntry(const std::string& folder, const std::string& name)
{
    std::string exact = Cp1252ToUtf8(name);
    if (HostExists(JoinHost(folder, exact)))
        return exact;
    const std::string upper = Upper1252Text(name);
    bool absent = false;
    if (std::optional<std::string> known = FolderNames().Find(folder, upper, &absent))
        if (HostExists(JoinHost(folder, *known)))
            return known;
    if (absent)
        return std::nullopt;
    const std::optional<FolderNameCache::Stamp> stamp = FolderNameCache::StampOf(folder);
    timespec readAt{};
    clock_gettime(CLOCK_REALTIME, &readAt);
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return std::nullopt;
    // One pass reads every spelling of the folder, so that the next name asked for with its
    // letters in another case needs no scan.
    std::unordered_map<std::string, std::string> names;
    while (dirent* entry = readdir(dir))
        names.emplace(Upper1252Text(Utf8ToCp1252(entry->d_name)), std::string(entry->d_name));
    closedir(dir);
    std::optional<std::string> found;
    if (auto it = names.find(upper); it != names.end())
        found = it->second;
    FolderNames().Store(folder, std::move(names), stamp, readAt);
    return found;
}

DWORD Resolve(const char* path, Resolved& out, bool allowWildcardsInName)
{
    if (!path || !*path)
        return ERROR_PATH_NOT_FOUND;
    DWORD error = MakeFullPath(path, out.full);
    if (error == kErrorBadNetPath)
        return ERROR_PATH_NOT_FOUND;
    if (error != NO_ERROR)
        return error;
    const auto& parts = out.full.parts;
    for (std::size_t i = 0; i < parts.size(); ++i)
        for (char c : parts[i])
            if (ForbiddenInName(static_cast<unsigned char>(c), allowWildcardsInName && i + 1 == parts.size()))
                return ERROR_INVALID_NAME;
    auto drive = host::FindDrive(out.full.drive);
    if (!drive)
        return ERROR_PATH_NOT_FOUND;
    if (!drive->mediaPresent)
        return ERROR_NOT_READY;
    out.drive = *drive;
    out.host = drive->hostFolder;
    out.parentExists = true;
    bool onHost = true;
    for (std::size_t i = 0; i < parts.size(); ++i) {
        std::optional<std::string> match;
        if (onHost)
            match = MatchEntry(out.host, parts[i]);
        if (!match) {
            onHost = false;
            if (i + 1 < parts.size())
                out.parentExists = false;
        }
        out.host = JoinHost(out.host, match ? *match : Cp1252ToUtf8(parts[i]));
    }
    return NO_ERROR;
}

DWORD ErrorFromErrno(int err, const std::string& hostPath)
{
    switch (err) {
    case 0: return NO_ERROR;
    case ENOENT: {
        auto slash = hostPath.rfind('/');
        std::string parent = slash == std::string::npos || slash == 0 ? std::string("/") : hostPath.substr(0, slash);
        struct stat st;
        bool folder = stat(parent.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        return folder ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND;
    }
    case ENOTDIR: return ERROR_PATH_NOT_FOUND;
    case EACCES: case EPERM: case EROFS: case EISDIR: case EBUSY: return ERROR_ACCESS_DENIED;
    case EEXIST: return ERROR_ALREADY_EXISTS;
    case ENOTEMPTY: return ERROR_DIR_NOT_EMPTY;
    case ENOSPC: case EDQUOT: return ERROR_DISK_FULL;
    case EMFILE: case ENFILE: return ERROR_TOO_MANY_OPEN_FILES;
    case ENAMETOOLONG: return ERROR_FILENAME_EXCED_RANGE;
    case EXDEV: return ERROR_NOT_SAME_DEVICE;
    case EBADF: return ERROR_INVALID_HANDLE;
    case ENOMEM: return ERROR_NOT_ENOUGH_MEMORY;
    case EINVAL: return ERROR_INVALID_PARAMETER;
    case EIO: return ERROR_GEN_FAILURE;
    default: return ERROR_GEN_FAILURE;
    }
}

bool ReadOnlyDrive(const DriveInfo& drive) { return drive.type == DRIVE_CDROM; }

DWORD CopyOut(const std::string& text, LPSTR buffer, DWORD size)
{
    if (!buffer || size <= text.size())
        return static_cast<DWORD>(text.size() + 1);
    std::memcpy(buffer, text.c_str(), text.size() + 1);
    return static_cast<DWORD>(text.size());
}

std::string SystemFolderText(const char* below)
{
    std::string folder = host::SystemRoot();
    if (*below)
        folder += std::string("/") + below;
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    auto platform = host::FromHostPath(folder);
    return platform ? *platform : std::string();
}

}  // namespace host::detail

using namespace host::detail;

namespace host {

std::optional<std::string> ToHostPath(const std::string& platformPath)
{
    Resolved resolved;
    if (Resolve(platformPath.c_str(), resolved) != NO_ERROR)
        return std::nullopt;
    return resolved.host;
}

std::optional<std::string> FromHostPath(const std::string& hostPath)
{
    if (hostPath.empty())
        return std::nullopt;
    std::filesystem::path p(hostPath);
    if (p.is_relative()) {
        std::error_code ec;
        p = std::filesystem::current_path(ec) / p;
    }
    std::string path = p.lexically_normal().string();
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    const DriveInfo* best = nullptr;
    std::vector<DriveInfo> drives = MappedDrives();
    for (const DriveInfo& drive : drives) {
        const std::string& root = drive.hostFolder;
        bool covers = root == "/" || path == root || path.compare(0, root.size() + 1, root + "/") == 0;
        if (covers && (!best || root.size() > best->hostFolder.size()))
            best = &drive;
    }
    if (!best)
        return std::nullopt;
    std::string rest = best->hostFolder == "/" ? path : path.substr(best->hostFolder.size());
    std::string out(1, best->letter);
    out += ':';
    for (char c : Utf8ToCp1252(rest))
        out += c == '/' ? '\\' : c;
    if (out.size() == 2)
        out += '\\';
    return out;
}

namespace {
std::string& ProgramPathOverride()
{
    static auto* path = new std::string;
    return *path;
}
}  // namespace

void SetProgramPlatformPath(const std::string& platformPath)
{
    ProgramPathOverride() = platformPath;
}

std::string ProgramHostPath()
{
    char buffer[4096];
    ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0)
        return {};
    std::string path(buffer, static_cast<std::size_t>(length));
    // A program whose file was replaced (an update renamed a new file into place) or removed
    // is still the program of that name.
    static const std::string kDeleted = " (deleted)";
    if (path.size() > kDeleted.size() && path.compare(path.size() - kDeleted.size(), kDeleted.size(), kDeleted) == 0) {
        std::error_code error;
        if (!std::filesystem::exists(path, error))
            path.resize(path.size() - kDeleted.size());
    }
    return path;
}

std::string ProgramPlatformPath()
{
    if (!ProgramPathOverride().empty())
        return ProgramPathOverride();
    std::string hostPath = ProgramHostPath();
    if (hostPath.empty())
        return {};
    auto platform = FromHostPath(hostPath);
    if (!platform)
        return {};
    std::string name = platform->substr(platform->rfind('\\') + 1);
    if (name.find('.') == std::string::npos)
        *platform += ".exe";
    return *platform;
}

}  // namespace host

DWORD WINAPI GetFullPathName(LPCSTR lpFileName, DWORD nBufferLength, LPSTR lpBuffer, LPSTR* lpFilePart)
{
    if (!lpFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    FullPath full;
    DWORD error = MakeFullPath(lpFileName, full);
    if (error != NO_ERROR) {
        SetLastError(error == kErrorBadNetPath ? ERROR_INVALID_NAME : error);
        return 0;
    }
    std::string text = full.Text();
    DWORD result = CopyOut(text, lpBuffer, nBufferLength);
    if (lpFilePart && result == text.size()) {
        std::size_t slash = text.rfind('\\');
        *lpFilePart = slash + 1 == text.size() ? nullptr : lpBuffer + slash + 1;
    }
    return result;
}

DWORD WINAPI GetCurrentDirectory(DWORD nBufferLength, LPSTR lpBuffer)
{
    return CopyOut(CurrentDirectoryText(), lpBuffer, nBufferLength);
}

BOOL WINAPI SetCurrentDirectory(LPCSTR lpPathName)
{
    Resolved resolved;
    DWORD error = Resolve(lpPathName, resolved);
    if (error != NO_ERROR)
        return Fail(error);
    struct stat st;
    if (stat(resolved.host.c_str(), &st) != 0)
        return Fail(ErrorFromErrno(errno, resolved.host));
    if (!S_ISDIR(st.st_mode))
        return Fail(ERROR_DIRECTORY);
    FullPath full = resolved.full;
    full.trailingSeparator = false;
    SetCurrentDirectoryText(full.Text());
    return TRUE;
}

namespace {

// The path as given, after checking that it names something on the host.
DWORD ExistingPathAsGiven(LPCSTR source, LPSTR buffer, DWORD size)
{
    Resolved resolved;
    DWORD error = Resolve(source, resolved);
    if (error != NO_ERROR) {
        SetLastError(error);
        return 0;
    }
    struct stat st;
    if (stat(resolved.host.c_str(), &st) != 0) {
        SetLastError(ErrorFromErrno(errno, resolved.host));
        return 0;
    }
    // Names are kept long: the short form of a name is the name itself.
    return CopyOut(source, buffer, size);
}

}  // namespace

DWORD WINAPI GetShortPathName(LPCSTR lpszLongPath, LPSTR lpszShortPath, DWORD cchBuffer)
{
    return ExistingPathAsGiven(lpszLongPath, lpszShortPath, cchBuffer);
}

DWORD WINAPI GetLongPathName(LPCSTR lpszShortPath, LPSTR lpszLongPath, DWORD cchBuffer)
{
    return ExistingPathAsGiven(lpszShortPath, lpszLongPath, cchBuffer);
}

UINT WINAPI GetWindowsDirectory(LPSTR lpBuffer, UINT uSize)
{
    std::string text = SystemFolderText("WINDOWS");
    if (text.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyOut(text, lpBuffer, uSize);
}

UINT WINAPI GetSystemDirectory(LPSTR lpBuffer, UINT uSize)
{
    std::string text = SystemFolderText("WINDOWS/SYSTEM32");
    if (text.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    return CopyOut(text, lpBuffer, uSize);
}

DWORD WINAPI GetTempPath(DWORD nBufferLength, LPSTR lpBuffer)
{
    std::string text = SystemFolderText("TEMP");
    if (text.empty()) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return 0;
    }
    if (text.back() != '\\')
        text += '\\';
    return CopyOut(text, lpBuffer, nBufferLength);
}

DWORD WINAPI SearchPath(LPCSTR lpPath, LPCSTR lpFileName, LPCSTR lpExtension, DWORD nBufferLength,
                        LPSTR lpBuffer, LPSTR* lpFilePart)
{
    if (!lpFileName || !*lpFileName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::string name = lpFileName;
    std::size_t lastSeparator = name.find_last_of("\\/:");
    std::string lastPart = lastSeparator == std::string::npos ? name : name.substr(lastSeparator + 1);
    if (lpExtension && *lpExtension && lastPart.find('.') == std::string::npos)
        name += lpExtension;

    std::vector<std::string> candidates;
    if (lastSeparator != std::string::npos) {
        candidates.push_back(name);  // a name with a folder is looked up as it is
    } else {
        std::vector<std::string> folders;
        if (lpPath) {
            std::string list = lpPath;
            std::size_t start = 0;
            while (start <= list.size()) {
                std::size_t end = list.find(';', start);
                if (end == std::string::npos)
                    end = list.size();
                if (end > start)
                    folders.push_back(list.substr(start, end - start));
                start = end + 1;
            }
        } else {
            // The program's folder, the current folder, the system folder, the system tree,
            // then the folders of the PATH (host folders, taken through the drive map).
            std::string program = host::ProgramPlatformPath();
            if (!program.empty())
                folders.push_back(program.substr(0, program.rfind('\\')));
            folders.push_back(CurrentDirectoryText());
            folders.push_back(SystemFolderText("WINDOWS/SYSTEM32"));
            folders.push_back(SystemFolderText("WINDOWS"));
            const char* hostPath = std::getenv("PATH");
            std::string list = hostPath ? hostPath : "";
            for (std::size_t start = 0; start < list.size();) {
                std::size_t end = std::min(list.find(':', start), list.size());
                std::string entry = list.substr(start, end - start);
                if (!entry.empty() && entry[0] == '/')
                    if (auto platform = host::FromHostPath(entry))
                        folders.push_back(*platform);
                start = end + 1;
            }
        }
        for (std::string folder : folders) {
            if (folder.empty())
                continue;
            if (folder.back() != '\\' && folder.back() != '/')
                folder += '\\';
            candidates.push_back(folder + name);
        }
    }
    for (const std::string& candidate : candidates) {
        Resolved resolved;
        struct stat st;
        // A program "name.exe" may be the host's "name".
        if (Resolve(candidate.c_str(), resolved) != NO_ERROR ||
            (stat(resolved.host.c_str(), &st) != 0 && !host::ProgramHostPath(resolved.full.Text())))
            continue;
        return GetFullPathName(candidate.c_str(), nBufferLength, lpBuffer, lpFilePart);
    }
    SetLastError(ERROR_FILE_NOT_FOUND);
    return 0;
}
