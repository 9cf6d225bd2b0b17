// The registry: HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE, each kept in one file of the emulated
// system tree and shared by every process of the user (host/Registry.h describes the file).
#include <windows.h>

#include <host/Drives.h>
#include <host/Registry.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <mutex>
#include <optional>
#include <pwd.h>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kMaxKeyName = 255;
constexpr std::size_t kMaxValueName = 16383;
constexpr const char* kFileHeader = "VLREG 1";

struct Value {
    std::string name;
    DWORD type = REG_NONE;
    std::string data;
};

struct KeyData {
    std::string path;  // as written when created
    FILETIME written{};
    std::vector<Value> values;  // in the order they were first set
};

// Windows-1252 letters folded to lower case: key and value names compare without regard to case.
unsigned char Fold(unsigned char c)
{
    if ((c >= 'A' && c <= 'Z') || (c >= 0xC0 && c <= 0xDE && c != 0xD7))
        return static_cast<unsigned char>(c + 0x20);
    switch (c) {
    case 0x8A: return 0x9A;
    case 0x8C: return 0x9C;
    case 0x8E: return 0x9E;
    case 0x9F: return 0xFF;
    default: return c;
    }
}

std::string Folded(const std::string& text)
{
    std::string out = text;
    for (char& c : out)
        c = static_cast<char>(Fold(static_cast<unsigned char>(c)));
    return out;
}

bool SameName(const std::string& a, const std::string& b) { return a.size() == b.size() && Folded(a) == Folded(b); }

bool IsText(DWORD type) { return type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ; }

std::string Hex(const std::string& bytes)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    out.reserve(bytes.size() * 2);
    for (unsigned char c : bytes) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

bool Unhex(const std::string& hex, std::string& out)
{
    if (hex.size() % 2)
        return false;
    out.clear();
    out.reserve(hex.size() / 2);
    for (std::size_t i = 0; i < hex.size(); i += 2) {
        int value = 0;
        for (int k = 0; k < 2; ++k) {
            char c = hex[i + k];
            int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
            if (d < 0)
                return false;
            value = value * 16 + d;
        }
        out += static_cast<char>(value);
    }
    return true;
}

// One root: its keys by folded path ("" is the root itself, always present).
struct Hive {
    HKEY root = nullptr;
    std::string loadedFile;
    bool loaded = false;
    struct stat signature {};
    std::map<std::string, KeyData> keys;

    void Clear()
    {
        keys.clear();
        keys[""] = KeyData{};
    }
};

std::mutex& RegistryLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

std::string UserName()
{
    char buffer[1024];
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer, sizeof buffer, &found) == 0 && found && found->pw_name && *found->pw_name)
        return found->pw_name;
    return "uid" + std::to_string(getuid());
}

std::string RegistryFolder() { return host::SystemRoot() + "/registry"; }

bool MakeFolders(const std::string& folder)
{
    std::string partial;
    std::size_t at = 0;
    while (at != std::string::npos) {
        at = folder.find('/', at + 1);
        partial = folder.substr(0, at);
        if (partial.empty())
            continue;
        if (mkdir(partial.c_str(), 0700) != 0 && errno != EEXIST)
            return false;
    }
    struct stat st {};
    return stat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// Holds the lock file of a root for one call: shared for reading, exclusive for changing.
class FileLock {
public:
    FileLock(const std::string& file, bool exclusive)
    {
        std::string folder = file.substr(0, file.find_last_of('/'));
        if (!MakeFolders(folder))
            return;
        m_fd = open((file + ".lock").c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        if (m_fd < 0)
            return;
        while (flock(m_fd, exclusive ? LOCK_EX : LOCK_SH) != 0) {
            if (errno != EINTR) {
                close(m_fd);
                m_fd = -1;
                return;
            }
        }
    }
    ~FileLock()
    {
        if (m_fd >= 0)
            close(m_fd);  // releases the lock
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd = -1;
};

bool SameSignature(const struct stat& a, const struct stat& b)
{
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino && a.st_size == b.st_size &&
           a.st_mtim.tv_sec == b.st_mtim.tv_sec && a.st_mtim.tv_nsec == b.st_mtim.tv_nsec;
}

void Parse(const std::string& text, Hive& hive)
{
    hive.Clear();
    KeyData* current = nullptr;
    std::size_t at = 0;
    bool first = true;
    while (at < text.size()) {
        std::size_t end = text.find('\n', at);
        if (end == std::string::npos)
            break;  // a line cut short is not read
        std::string line = text.substr(at, end - at);
        at = end + 1;
        if (first) {
            first = false;
            if (line == kFileHeader)
                continue;
        }
        std::vector<std::string> fields;
        for (std::size_t p = 0; p <= line.size();) {
            std::size_t space = line.find(' ', p);
            if (space == std::string::npos)
                space = line.size();
            fields.push_back(line.substr(p, space - p));
            p = space + 1;
        }
        if (fields.size() == 3 && fields[0] == "K") {
            std::string path;
            std::string stamp;
            current = nullptr;
            if (!Unhex(fields[2], path) || fields[1].size() != 16 || !Unhex(fields[1], stamp))
                continue;
            if (path.size() > 65535 || path.find('\0') != std::string::npos)
                continue;
            KeyData& key = hive.keys[Folded(path)];
            key.path = path;
            std::uint64_t time = std::strtoull(fields[1].c_str(), nullptr, 16);
            key.written.dwLowDateTime = static_cast<DWORD>(time);
            key.written.dwHighDateTime = static_cast<DWORD>(time >> 32);
            current = &key;
        } else if (fields.size() == 4 && fields[0] == "V" && current) {
            Value value;
            char* end = nullptr;
            unsigned long type = std::strtoul(fields[1].c_str(), &end, 10);
            if (fields[1].empty() || *end || type > 0xFFFFFFFFul)
                continue;
            value.type = static_cast<DWORD>(type);
            if (!Unhex(fields[2], value.name) || !Unhex(fields[3], value.data))
                continue;
            if (IsText(value.type) && (value.data.empty() || value.data.back() != '\0'))
                value.data += '\0';
            if (value.type == REG_DWORD && value.data.size() != 4)
                continue;
            auto same = std::find_if(current->values.begin(), current->values.end(),
                                     [&](const Value& v) { return SameName(v.name, value.name); });
            if (same == current->values.end())
                current->values.push_back(std::move(value));
        }
    }
    // A key whose parent is missing from a damaged file gets its parents back.
    std::vector<std::string> paths;
    for (auto& [folded, key] : hive.keys)
        paths.push_back(key.path);
    for (const std::string& path : paths)
        for (std::size_t slash = path.find('\\'); slash != std::string::npos; slash = path.find('\\', slash + 1)) {
            KeyData& parent = hive.keys[Folded(path.substr(0, slash))];
            if (parent.path.empty())
                parent.path = path.substr(0, slash);
        }
}

std::string Serialise(const Hive& hive)
{
    std::string out = std::string(kFileHeader) + "\n";
    char stamp[17];
    for (const auto& [folded, key] : hive.keys) {
        std::uint64_t time = (static_cast<std::uint64_t>(key.written.dwHighDateTime) << 32) | key.written.dwLowDateTime;
        std::snprintf(stamp, sizeof stamp, "%016llx", static_cast<unsigned long long>(time));
        out += "K ";
        out += stamp;
        out += ' ';
        out += Hex(key.path);
        out += '\n';
        for (const Value& value : key.values)
            out += "V " + std::to_string(value.type) + " " + Hex(value.name) + " " + Hex(value.data) + "\n";
    }
    return out;
}

std::string HiveFile(HKEY root)
{
    if (root == HKEY_CURRENT_USER)
        return RegistryFolder() + "/user-" + UserName() + ".reg";
    if (root == HKEY_LOCAL_MACHINE)
        return RegistryFolder() + "/machine.reg";
    return {};
}

Hive& HiveOf(HKEY root)
{
    static auto* user = [] {
        auto* hive = new Hive;
        hive->root = HKEY_CURRENT_USER;
        return hive;
    }();
    static auto* machine = [] {
        auto* hive = new Hive;
        hive->root = HKEY_LOCAL_MACHINE;
        return hive;
    }();
    return root == HKEY_CURRENT_USER ? *user : *machine;
}

// Brings the hive up to the file's state (the file of the current system tree).
void Refresh(Hive& hive)
{
    std::string file = HiveFile(hive.root);
    struct stat st {};
    bool exists = stat(file.c_str(), &st) == 0;
    if (hive.loaded && hive.loadedFile == file &&
        ((!exists && hive.signature.st_ino == 0) || (exists && SameSignature(st, hive.signature))))
        return;
    hive.loadedFile = file;
    hive.loaded = true;
    hive.signature = {};
    hive.Clear();
    if (!exists)
        return;
    int fd = open(file.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        hive.loaded = false;  // try again at the next call
        return;
    }
    std::string text;
    char buffer[65536];
    for (;;) {
        ssize_t got = read(fd, buffer, sizeof buffer);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        text.append(buffer, static_cast<std::size_t>(got));
    }
    fstat(fd, &hive.signature);
    close(fd);
    Parse(text, hive);
}

// Writes the hive through a temporary file and a rename. ERROR_SUCCESS or the failure.
LSTATUS Save(Hive& hive)
{
    std::string file = HiveFile(hive.root);
    std::string temporary = file + ".tmp" + std::to_string(getpid());
    std::string text = Serialise(hive);
    int fd = open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    bool ok = fd >= 0;
    if (ok) {
        fchmod(fd, 0600);
        for (std::size_t done = 0; ok && done < text.size();) {
            ssize_t wrote = write(fd, text.data() + done, text.size() - done);
            if (wrote < 0 && errno == EINTR)
                continue;
            ok = wrote > 0;
            if (ok)
                done += static_cast<std::size_t>(wrote);
        }
        ok = ok && fsync(fd) == 0;
        ok = close(fd) == 0 && ok;
    }
    ok = ok && rename(temporary.c_str(), file.c_str()) == 0;
    if (!ok) {
        unlink(temporary.c_str());
        hive.loaded = false;  // the next call reads the file as it is
        return ERROR_REGISTRY_IO_FAILED;
    }
    stat(file.c_str(), &hive.signature);
    hive.loadedFile = file;
    return ERROR_SUCCESS;
}

struct OpenKey {
    HKEY root;
    std::string folded;  // the key's folded path
    REGSAM access;
};

std::map<std::uintptr_t, OpenKey>& OpenKeys()
{
    static auto* keys = new std::map<std::uintptr_t, OpenKey>;
    return *keys;
}

std::uintptr_t& NextHandle()
{
    static std::uintptr_t next = 0x52000;
    return next;
}

bool IsRoot(HKEY key) { return key == HKEY_CURRENT_USER || key == HKEY_LOCAL_MACHINE; }

// What a handle stands for, checked against the hive's present state.
LSTATUS Lookup(HKEY key, OpenKey& out)
{
    if (IsRoot(key)) {
        out = OpenKey{key, "", KEY_ALL_ACCESS};
        return ERROR_SUCCESS;
    }
    auto it = OpenKeys().find(reinterpret_cast<std::uintptr_t>(key));
    if (it == OpenKeys().end())
        return ERROR_INVALID_HANDLE;
    out = it->second;
    return ERROR_SUCCESS;
}

// Splits a subkey path into names; ERROR_SUCCESS or why it cannot be a path.
LSTATUS SplitPath(LPCSTR subKey, std::vector<std::string>& names)
{
    names.clear();
    if (!subKey || !*subKey)
        return ERROR_SUCCESS;
    std::string path = subKey;
    if (path.front() == '\\')
        return ERROR_BAD_PATHNAME;
    if (path.back() == '\\')
        path.pop_back();
    std::size_t at = 0;
    for (;;) {
        std::size_t slash = path.find('\\', at);
        std::string name = path.substr(at, slash == std::string::npos ? std::string::npos : slash - at);
        if (name.empty())
            return ERROR_BAD_PATHNAME;
        if (name.size() > kMaxKeyName)
            return ERROR_INVALID_PARAMETER;
        names.push_back(name);
        if (slash == std::string::npos)
            break;
        at = slash + 1;
    }
    return ERROR_SUCCESS;
}

std::string Join(const std::string& base, const std::string& name) { return base.empty() ? name : base + "\\" + name; }

// The hive and key of an open handle, with the access it needs; the hive is refreshed.
struct Target {
    Hive* hive = nullptr;
    KeyData* key = nullptr;
    OpenKey open{};
};

LSTATUS Reach(HKEY hKey, REGSAM needed, Target& target)
{
    LSTATUS status = Lookup(hKey, target.open);
    if (status != ERROR_SUCCESS)
        return status;
    target.hive = &HiveOf(target.open.root);
    Refresh(*target.hive);
    auto it = target.hive->keys.find(target.open.folded);
    if (it == target.hive->keys.end())
        return ERROR_KEY_DELETED;
    if ((target.open.access & needed) != needed)
        return ERROR_ACCESS_DENIED;
    target.key = &it->second;
    return ERROR_SUCCESS;
}

// One call's hold on an open key: the process's registry lock, the hive file's lock (exclusive
// for a call that changes the hive, shared for one that reads it) and the key reached with the
// access the call needs. Status() is ERROR_SUCCESS when all three were had, else why not.
class KeyAccess {
public:
    KeyAccess(HKEY hKey, REGSAM needed, bool write) : m_lock(RegistryLock())
    {
        OpenKey open{};
        if ((m_status = Lookup(hKey, open)) != ERROR_SUCCESS)
            return;
        m_fileLock.emplace(HiveFile(open.root), write);
        if (!m_fileLock->Held()) {
            m_status = ERROR_REGISTRY_IO_FAILED;
            return;
        }
        m_status = Reach(hKey, needed, m_target);
    }
    KeyAccess(const KeyAccess&) = delete;
    KeyAccess& operator=(const KeyAccess&) = delete;

    LSTATUS Status() const { return m_status; }
    Hive& HiveHeld() { return *m_target.hive; }
    KeyData& Key() { return *m_target.key; }
    const OpenKey& Open() const { return m_target.open; }

private:
    std::lock_guard<std::mutex> m_lock;
    std::optional<FileLock> m_fileLock;
    Target m_target;
    LSTATUS m_status = ERROR_SUCCESS;
};

HKEY NewHandle(HKEY root, const std::string& folded, REGSAM access)
{
    std::uintptr_t value = NextHandle();
    NextHandle() += 4;
    OpenKeys()[value] = OpenKey{root, folded, access};
    return reinterpret_cast<HKEY>(value);
}

FILETIME Now()
{
    FILETIME now{};
    GetSystemTimeAsFileTime(&now);
    return now;
}

bool ValidName(LPCSTR name) { return !name || std::strlen(name) <= kMaxValueName; }

// Copies a name into a caller's character buffer (count in, length out).
LSTATUS CopyName(const std::string& name, LPSTR buffer, LPDWORD count)
{
    if (!buffer || !count)
        return ERROR_INVALID_PARAMETER;
    if (*count <= name.size())
        return ERROR_MORE_DATA;
    std::memcpy(buffer, name.c_str(), name.size() + 1);
    *count = static_cast<DWORD>(name.size());
    return ERROR_SUCCESS;
}

// Copies value data into a caller's byte buffer (size in and out).
LSTATUS CopyData(const Value& value, LPBYTE data, LPDWORD size)
{
    if (data && !size)
        return ERROR_INVALID_PARAMETER;
    if (!size)
        return ERROR_SUCCESS;
    DWORD needed = static_cast<DWORD>(value.data.size());
    DWORD room = *size;
    *size = needed;
    if (!data)
        return ERROR_SUCCESS;
    if (room < needed)
        return ERROR_MORE_DATA;
    std::memcpy(data, value.data.data(), needed);
    return ERROR_SUCCESS;
}

LSTATUS OpenOrCreate(HKEY hKey, LPCSTR lpSubKey, REGSAM samDesired, bool create, PHKEY phkResult,
                     LPDWORD lpdwDisposition)
{
    if (!phkResult)
        return ERROR_INVALID_PARAMETER;
    *phkResult = nullptr;
    std::vector<std::string> names;
    if (LSTATUS status = SplitPath(lpSubKey, names); status != ERROR_SUCCESS)
        return status;
    KeyAccess access(hKey, 0, create);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    const OpenKey& open = access.Open();
    Hive& hive = access.HiveHeld();
    std::string path = access.Key().path;
    std::vector<std::string> missing;
    for (const std::string& name : names) {
        path = Join(path, name);
        if (!missing.empty() || !hive.keys.count(Folded(path)))
            missing.push_back(path);
    }
    if (!missing.empty()) {
        if (!create)
            return ERROR_FILE_NOT_FOUND;
        if (!(open.access & KEY_CREATE_SUB_KEY))
            return ERROR_ACCESS_DENIED;
        FILETIME now = Now();
        for (const std::string& newPath : missing) {
            KeyData& key = hive.keys[Folded(newPath)];
            key.path = newPath;
            key.written = now;
        }
        if (LSTATUS status = Save(hive); status != ERROR_SUCCESS)
            return status;
    }
    if (lpdwDisposition)
        *lpdwDisposition = missing.empty() ? REG_OPENED_EXISTING_KEY : REG_CREATED_NEW_KEY;
    *phkResult = NewHandle(open.root, Folded(path), samDesired);
    return ERROR_SUCCESS;
}

// The direct subkeys of a key, by their names in alphabetical order.
std::vector<const KeyData*> Subkeys(const Hive& hive, const std::string& folded)
{
    std::vector<const KeyData*> out;
    std::string prefix = folded.empty() ? std::string() : folded + "\\";
    for (auto it = hive.keys.lower_bound(prefix); it != hive.keys.end(); ++it) {
        if (it->first.compare(0, prefix.size(), prefix) != 0)
            break;
        if (it->first.size() > prefix.size() && it->first.find('\\', prefix.size()) == std::string::npos)
            out.push_back(&it->second);
    }
    auto leaf = [](const KeyData* key) {
        std::size_t slash = key->path.find_last_of('\\');
        return Folded(slash == std::string::npos ? key->path : key->path.substr(slash + 1));
    };
    std::sort(out.begin(), out.end(), [&](const KeyData* a, const KeyData* b) { return leaf(a) < leaf(b); });
    return out;
}

std::string Leaf(const std::string& path)
{
    std::size_t slash = path.find_last_of('\\');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

namespace host {

std::string RegistryFile(HKEY root) { return HiveFile(root); }

}  // namespace host

LSTATUS WINAPI RegOpenKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, REGSAM samDesired, PHKEY phkResult)
{
    return OpenOrCreate(hKey, lpSubKey, samDesired, false, phkResult, nullptr);
}

LSTATUS WINAPI RegCreateKeyExA(HKEY hKey, LPCSTR lpSubKey, DWORD, LPSTR, DWORD, REGSAM samDesired,
                               const SECURITY_ATTRIBUTES*, PHKEY phkResult, LPDWORD lpdwDisposition)
{
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    return OpenOrCreate(hKey, lpSubKey, samDesired, true, phkResult, lpdwDisposition);
}

LSTATUS WINAPI RegOpenKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult)
{
    return OpenOrCreate(hKey, lpSubKey, KEY_ALL_ACCESS, false, phkResult, nullptr);
}

LSTATUS WINAPI RegCreateKeyA(HKEY hKey, LPCSTR lpSubKey, PHKEY phkResult)
{
    return OpenOrCreate(hKey, lpSubKey ? lpSubKey : "", KEY_ALL_ACCESS, true, phkResult, nullptr);
}

LSTATUS WINAPI RegCloseKey(HKEY hKey)
{
    if (IsRoot(hKey))
        return ERROR_SUCCESS;
    std::lock_guard lock(RegistryLock());
    return OpenKeys().erase(reinterpret_cast<std::uintptr_t>(hKey)) ? ERROR_SUCCESS : ERROR_INVALID_HANDLE;
}

LSTATUS WINAPI RegSetValueExA(HKEY hKey, LPCSTR lpValueName, DWORD, DWORD dwType, const BYTE* lpData, DWORD cbData)
{
    if (!ValidName(lpValueName) || (!lpData && cbData))
        return ERROR_INVALID_PARAMETER;
    if (dwType == REG_DWORD && cbData != 4)
        return ERROR_INVALID_PARAMETER;
    Value value;
    value.name = lpValueName ? lpValueName : "";
    value.type = dwType;
    if (cbData)
        value.data.assign(reinterpret_cast<const char*>(lpData), cbData);
    if (IsText(dwType) && (value.data.empty() || value.data.back() != '\0'))
        value.data += '\0';
    KeyAccess access(hKey, KEY_SET_VALUE, true);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    auto& values = access.Key().values;
    auto same = std::find_if(values.begin(), values.end(), [&](const Value& v) { return SameName(v.name, value.name); });
    if (same != values.end()) {
        same->type = value.type;
        same->data = std::move(value.data);
    } else {
        values.push_back(std::move(value));
    }
    access.Key().written = Now();
    return Save(access.HiveHeld());
}

LSTATUS WINAPI RegQueryValueExA(HKEY hKey, LPCSTR lpValueName, LPDWORD, LPDWORD lpType, LPBYTE lpData,
                                LPDWORD lpcbData)
{
    if (lpData && !lpcbData)
        return ERROR_INVALID_PARAMETER;
    std::string name = lpValueName ? lpValueName : "";
    KeyAccess access(hKey, KEY_QUERY_VALUE, false);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    const auto& values = access.Key().values;
    auto found = std::find_if(values.begin(), values.end(), [&](const Value& v) { return SameName(v.name, name); });
    if (found == values.end())
        return ERROR_FILE_NOT_FOUND;
    if (lpType)
        *lpType = found->type;
    return CopyData(*found, lpData, lpcbData);
}

LSTATUS WINAPI RegEnumKeyExA(HKEY hKey, DWORD dwIndex, LPSTR lpName, LPDWORD lpcchName, LPDWORD, LPSTR lpClass,
                             LPDWORD lpcchClass, PFILETIME lpftLastWriteTime)
{
    KeyAccess access(hKey, KEY_ENUMERATE_SUB_KEYS, false);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    auto subkeys = Subkeys(access.HiveHeld(), access.Open().folded);
    if (dwIndex >= subkeys.size())
        return ERROR_NO_MORE_ITEMS;
    const KeyData& key = *subkeys[dwIndex];
    if (LSTATUS status = CopyName(Leaf(key.path), lpName, lpcchName); status != ERROR_SUCCESS)
        return status;
    if (lpClass && lpcchClass && *lpcchClass) {
        lpClass[0] = '\0';
        *lpcchClass = 0;
    }
    if (lpftLastWriteTime)
        *lpftLastWriteTime = key.written;
    return ERROR_SUCCESS;
}

LSTATUS WINAPI RegEnumValueA(HKEY hKey, DWORD dwIndex, LPSTR lpValueName, LPDWORD lpcchValueName, LPDWORD,
                             LPDWORD lpType, LPBYTE lpData, LPDWORD lpcbData)
{
    KeyAccess access(hKey, KEY_QUERY_VALUE, false);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    const auto& values = access.Key().values;
    if (dwIndex >= values.size())
        return ERROR_NO_MORE_ITEMS;
    const Value& value = values[dwIndex];
    if (LSTATUS status = CopyName(value.name, lpValueName, lpcchValueName); status != ERROR_SUCCESS)
        return status;
    if (lpType)
        *lpType = value.type;
    return CopyData(value, lpData, lpcbData);
}

LSTATUS WINAPI RegDeleteKeyA(HKEY hKey, LPCSTR lpSubKey)
{
    if (!lpSubKey)
        return ERROR_INVALID_PARAMETER;
    std::vector<std::string> names;
    if (LSTATUS status = SplitPath(lpSubKey, names); status != ERROR_SUCCESS)
        return status;
    KeyAccess access(hKey, 0, true);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    std::string path = access.Key().path;
    for (const std::string& name : names)
        path = Join(path, name);
    std::string folded = Folded(path);
    if (folded.empty())
        return ERROR_ACCESS_DENIED;  // a root cannot go
    Hive& hive = access.HiveHeld();
    if (!hive.keys.count(folded))
        return ERROR_FILE_NOT_FOUND;
    if (!Subkeys(hive, folded).empty())
        return ERROR_ACCESS_DENIED;
    hive.keys.erase(folded);
    std::size_t slash = path.find_last_of('\\');
    if (auto parent = hive.keys.find(Folded(slash == std::string::npos ? std::string() : path.substr(0, slash)));
        parent != hive.keys.end())
        parent->second.written = Now();
    return Save(hive);
}

LSTATUS WINAPI RegDeleteValueA(HKEY hKey, LPCSTR lpValueName)
{
    std::string name = lpValueName ? lpValueName : "";
    KeyAccess access(hKey, KEY_SET_VALUE, true);
    if (access.Status() != ERROR_SUCCESS)
        return access.Status();
    auto& values = access.Key().values;
    auto found = std::find_if(values.begin(), values.end(), [&](const Value& v) { return SameName(v.name, name); });
    if (found == values.end())
        return ERROR_FILE_NOT_FOUND;
    values.erase(found);
    access.Key().written = Now();
    return Save(access.HiveHeld());
}

LSTATUS WINAPI RegFlushKey(HKEY hKey)
{
    std::lock_guard lock(RegistryLock());
    OpenKey open{};
    return Lookup(hKey, open);
}
