// Searching folders: the platform's wildcard rules and FindFirstFile/FindNextFile/FindClose.
#include "FileSystem.h"

#include <host/KernelObject.h>
#include <host/Paths.h>

#include <dirent.h>

#include <algorithm>
#include <cstring>

using namespace host::detail;

namespace host {

namespace {

// Whether pattern[i..] matches name[j..]: '*' any run, '?' one character or none before a dot
// or at the end; letters compared without regard to case.
bool MatchTable(const std::string& pattern, const std::string& name)
{
    const std::size_t P = pattern.size();
    const std::size_t N = name.size();
    std::vector<char> table((P + 1) * (N + 1), 0);
    auto at = [&](std::size_t i, std::size_t j) -> char& { return table[i * (N + 1) + j]; };
    at(P, N) = 1;
    for (std::size_t i = P; i-- > 0;) {
        for (std::size_t j = N + 1; j-- > 0;) {
            char p = pattern[i];
            bool match = false;
            if (p == '*')
                match = at(i + 1, j) || (j < N && at(i, j + 1));
            else if (p == '?')
                match = (j < N && at(i + 1, j + 1)) || ((j == N || name[j] == '.') && at(i + 1, j));
            else
                match = j < N && Upper1252(static_cast<unsigned char>(p)) == Upper1252(static_cast<unsigned char>(name[j])) &&
                        at(i + 1, j + 1);
            at(i, j) = match;
        }
    }
    return at(0, 0) != 0;
}

}  // namespace

bool WildcardMatch(const std::string& pattern, const std::string& name)
{
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0) {
        // "X.*" also matches what "X" matches: "*.*" is every name, "VM*.*" is "vmAB12CD".
        if (MatchTable(pattern, name))
            return true;
        return MatchTable(pattern.substr(0, pattern.size() - 2), name);
    }
    if (!pattern.empty() && pattern.back() == '.' && pattern != "." && pattern != "..") {
        // A pattern ending in a dot asks for names without an extension.
        // "." and ".." count as names without one.
        std::string stem = pattern.substr(0, pattern.size() - 1);
        bool dotted = name != "." && name != ".." && name.find('.') != std::string::npos;
        if (stem.find('.') == std::string::npos && dotted)
            return false;
        return MatchTable(stem, name);
    }
    return MatchTable(pattern, name);
}

}  // namespace host

namespace {

class FindObject : public host::KernelObject {
public:
    bool ClosableByCloseHandle() const override { return false; }

    std::mutex lock;
    std::vector<WIN32_FIND_DATA> entries;
    std::size_t next = 0;
};

bool FillEntry(const std::string& hostPath, const std::string& name, const host::DriveInfo& drive, WIN32_FIND_DATA& data)
{
    struct stat st;
    if (stat(hostPath.c_str(), &st) != 0 || name.size() >= MAX_PATH)
        return false;
    std::memset(&data, 0, sizeof data);
    data.dwFileAttributes = AttributesOf(hostPath, st, drive);
    // A symbolic link is listed with what it points to, marked as a reparse point.
    struct stat link;
    if (lstat(hostPath.c_str(), &link) == 0 && S_ISLNK(link.st_mode)) {
        data.dwFileAttributes = (data.dwFileAttributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL)) |
                                FILE_ATTRIBUTE_REPARSE_POINT;
        data.dwReserved0 = IO_REPARSE_TAG_SYMLINK;
    }
    data.ftCreationTime = ToFileTime(st.st_ctim.tv_sec < st.st_mtim.tv_sec ? st.st_ctim : st.st_mtim);
    data.ftLastAccessTime = ToFileTime(st.st_atim);
    data.ftLastWriteTime = ToFileTime(st.st_mtim);
    std::uint64_t size = S_ISDIR(st.st_mode) ? 0 : static_cast<std::uint64_t>(st.st_size);
    data.nFileSizeHigh = static_cast<DWORD>(size >> 32);
    data.nFileSizeLow = static_cast<DWORD>(size & 0xFFFFFFFF);
    std::memcpy(data.cFileName, name.c_str(), name.size() + 1);
    return true;
}

bool LessNoCase(const WIN32_FIND_DATA& a, const WIN32_FIND_DATA& b)
{
    for (std::size_t i = 0;; ++i) {
        auto x = Upper1252(static_cast<unsigned char>(a.cFileName[i]));
        auto y = Upper1252(static_cast<unsigned char>(b.cFileName[i]));
        if (x != y || x == 0)
            return x < y;
    }
}

}  // namespace

HANDLE WINAPI FindFirstFile(LPCSTR lpFileName, LPWIN32_FIND_DATA lpFindFileData)
{
    if (!lpFileName || !lpFindFileData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    std::string text = lpFileName;
    std::size_t split = text.find_last_of("\\/:");
    std::string pattern = split == std::string::npos ? text : text.substr(split + 1);
    std::string folder = split == std::string::npos ? std::string(".") : text.substr(0, split + 1);
    if (pattern.empty()) {
        SetLastError(text.empty() ? ERROR_PATH_NOT_FOUND : ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    for (char c : pattern) {
        if (static_cast<unsigned char>(c) < 0x20 || std::strchr("<>\"|", c)) {
            SetLastError(ERROR_INVALID_NAME);
            return INVALID_HANDLE_VALUE;
        }
    }
    Resolved resolved;
    if (DWORD error = Resolve(folder.c_str(), resolved); error != NO_ERROR) {
        SetLastError(error);
        return INVALID_HANDLE_VALUE;
    }
    DIR* dir = opendir(resolved.host.c_str());
    if (!dir) {
        SetLastError(errno == ENOENT || errno == ENOTDIR ? ERROR_PATH_NOT_FOUND : ErrorFromErrno(errno, resolved.host));
        return INVALID_HANDLE_VALUE;
    }
    auto search = std::make_shared<FindObject>();
    bool root = resolved.full.parts.empty();
    std::string base = resolved.host == "/" ? std::string() : resolved.host;
    while (dirent* entry = readdir(dir)) {
        std::string hostName = entry->d_name;
        if (root && (hostName == "." || hostName == ".."))
            continue;  // a drive's root has no "." and ".." entries
        std::string name = Utf8ToCp1252(hostName);
        if (!host::WildcardMatch(pattern, name))
            continue;
        WIN32_FIND_DATA data;
        if (FillEntry(base + "/" + hostName, name, resolved.drive, data))
            search->entries.push_back(data);
    }
    closedir(dir);
    if (search->entries.empty()) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return INVALID_HANDLE_VALUE;
    }
    std::sort(search->entries.begin(), search->entries.end(), LessNoCase);
    *lpFindFileData = search->entries[0];
    search->next = 1;
    HANDLE handle = host::AddKernelObject(search);
    if (!handle)
        return INVALID_HANDLE_VALUE;
    SetLastError(NO_ERROR);
    return handle;
}

BOOL WINAPI FindNextFile(HANDLE hFindFile, LPWIN32_FIND_DATA lpFindFileData)
{
    auto search = host::FindKernelObject<FindObject>(hFindFile);
    if (!search)
        return Fail(ERROR_INVALID_HANDLE);
    if (!lpFindFileData)
        return Fail(ERROR_INVALID_PARAMETER);
    std::lock_guard lock(search->lock);
    if (search->next >= search->entries.size())
        return Fail(ERROR_NO_MORE_FILES);
    *lpFindFileData = search->entries[search->next++];
    return TRUE;
}

BOOL WINAPI FindClose(HANDLE hFindFile)
{
    if (!host::FindKernelObject<FindObject>(hFindFile) || !host::CloseKernelHandle(hFindFile))
        return Fail(ERROR_INVALID_HANDLE);
    return TRUE;
}
