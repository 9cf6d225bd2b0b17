// Tool help over the host's process table: the processes of the current user, and the modules
// of one process (its program and the code libraries mapped into it), each named the platform's
// way ("libx.so" and "x.so" as "x.dll"). The kernel library "KERNEL32.DLL" is built in and
// hands these functions out through GetProcAddress.
#include "ModuleTable.h"

#include <host/KernelObject.h>
#include <host/ToolHelp.h>
#include <tlhelp32.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <fstream>
#include <mutex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

std::mutex& HiddenLock()
{
    static auto* lock = new std::mutex;
    return *lock;
}

std::string& Hidden()
{
    static auto* name = new std::string;
    return *name;
}

struct Entry {
    DWORD processId = 0;
    DWORD parentId = 0;
    DWORD threads = 0;
    BYTE* base = nullptr;
    DWORD size = 0;
    std::string name;  // "x.dll", "program.exe"
    std::string path;  // the host path
};

class Snapshot : public host::KernelObject {
public:
    bool processes = false;
    std::vector<Entry> entries;
    std::size_t next = 0;
};

std::string BaseName(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// "libmfc.so" and "mfc.so.1" are "mfc.dll"; a program without an extension is "name.exe".
std::string PlatformName(const std::string& file, bool program)
{
    std::string name = file;
    auto so = name.find(".so");
    if (so != std::string::npos && (so + 3 == name.size() || name[so + 3] == '.')) {
        if (name.rfind("lib", 0) == 0)
            name = name.substr(3);
        return name.substr(0, name.find(".so")) + ".dll";
    }
    if (program && name.find('.') == std::string::npos)
        name += ".exe";
    return name;
}

std::string ReadLink(const std::string& path)
{
    char buffer[4096];
    ssize_t n = readlink(path.c_str(), buffer, sizeof buffer - 1);
    if (n <= 0)
        return {};
    buffer[n] = '\0';
    std::string target = buffer;
    const std::string deleted = " (deleted)";
    if (target.size() > deleted.size() && target.compare(target.size() - deleted.size(), deleted.size(), deleted) == 0)
        target.resize(target.size() - deleted.size());
    return target;
}

// The parent and the thread count of a process from its status file.
void ReadStatus(DWORD pid, Entry& entry)
{
    std::ifstream status("/proc/" + std::to_string(pid) + "/status");
    std::string line;
    while (std::getline(status, line)) {
        if (line.rfind("PPid:", 0) == 0)
            entry.parentId = static_cast<DWORD>(std::strtoul(line.c_str() + 5, nullptr, 10));
        else if (line.rfind("Threads:", 0) == 0)
            entry.threads = static_cast<DWORD>(std::strtoul(line.c_str() + 8, nullptr, 10));
    }
}

std::vector<Entry> Processes()
{
    std::vector<Entry> result;
    DIR* dir = opendir("/proc");
    if (!dir)
        return result;
    const uid_t user = getuid();
    while (dirent* item = readdir(dir)) {
        char* end = nullptr;
        unsigned long pid = std::strtoul(item->d_name, &end, 10);
        if (pid == 0 || *end != '\0')
            continue;
        const std::string folder = std::string("/proc/") + item->d_name;
        struct stat info{};
        if (stat(folder.c_str(), &info) != 0 || info.st_uid != user)
            continue;
        std::string exe = ReadLink(folder + "/exe");
        if (exe.empty())
            continue;
        Entry entry;
        entry.processId = static_cast<DWORD>(pid);
        entry.path = exe;
        entry.name = PlatformName(BaseName(exe), true);
        ReadStatus(entry.processId, entry);
        result.push_back(entry);
    }
    closedir(dir);
    std::sort(result.begin(), result.end(), [](const Entry& a, const Entry& b) { return a.processId < b.processId; });
    return result;
}

// The program, then each code library mapped into the process, in address order; false when
// the process's map cannot be read (gone, or another user's).
bool Modules(DWORD pid, std::vector<Entry>& result)
{
    const std::string folder = "/proc/" + std::to_string(pid);
    std::ifstream maps(folder + "/maps");
    if (!maps)
        return false;
    const std::string exe = ReadLink(folder + "/exe");
    std::vector<Entry> libraries;
    Entry program;
    std::string line;
    while (std::getline(maps, line)) {
        std::istringstream fields(line);
        std::string range, perms, offset, device, inode, path;
        fields >> range >> perms >> offset >> device >> inode;
        std::getline(fields >> std::ws, path);
        if (path.empty() || path[0] != '/')
            continue;
        const unsigned long long from = std::strtoull(range.c_str(), nullptr, 16);
        const unsigned long long to = std::strtoull(range.c_str() + range.find('-') + 1, nullptr, 16);
        Entry* entry = nullptr;
        if (path == exe) {
            entry = &program;
        } else {
            const std::string base = BaseName(path);
            const auto so = base.find(".so");
            if (so == std::string::npos || (so + 3 != base.size() && base[so + 3] != '.'))
                continue;
            for (Entry& known : libraries)
                if (known.path == path)
                    entry = &known;
            if (!entry) {
                libraries.emplace_back();
                entry = &libraries.back();
            }
        }
        if (entry->path.empty()) {
            entry->path = path;
            entry->name = PlatformName(BaseName(path), entry == &program);
            entry->processId = pid;
            entry->base = reinterpret_cast<BYTE*>(from);
        }
        entry->size = static_cast<DWORD>(to - reinterpret_cast<unsigned long long>(entry->base));
    }
    if (!program.path.empty())
        result.push_back(program);
    result.insert(result.end(), libraries.begin(), libraries.end());
    return true;
}

BOOL Fail(DWORD error)
{
    SetLastError(error);
    return FALSE;
}

std::string ToPlatformPath(const std::string& hostPath)
{
    std::string path = "C:" + hostPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

void Copy(char* to, std::size_t size, const std::string& from)
{
    std::size_t n = std::min(size - 1, from.size());
    std::memcpy(to, from.data(), n);
    to[n] = '\0';
}

std::shared_ptr<Snapshot> Walk(HANDLE handle, bool processes, DWORD size, DWORD expected)
{
    auto snapshot = host::FindKernelObject<Snapshot>(handle);
    if (!snapshot || snapshot->processes != processes) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    if (size < expected) {
        SetLastError(ERROR_BAD_LENGTH);
        return nullptr;
    }
    if (snapshot->next >= snapshot->entries.size()) {
        SetLastError(ERROR_NO_MORE_FILES);
        return nullptr;
    }
    return snapshot;
}

BOOL NextProcess(HANDLE handle, LPPROCESSENTRY32 entry, bool first)
{
    if (!entry)
        return Fail(ERROR_INVALID_PARAMETER);
    if (auto s = host::FindKernelObject<Snapshot>(handle); s && first)
        s->next = 0;
    auto snapshot = Walk(handle, true, entry->dwSize, sizeof(PROCESSENTRY32));
    if (!snapshot)
        return FALSE;
    const Entry& e = snapshot->entries[snapshot->next++];
    entry->cntUsage = 0;
    entry->th32ProcessID = e.processId;
    entry->th32DefaultHeapID = 0;
    entry->th32ModuleID = 0;
    entry->cntThreads = e.threads;
    entry->th32ParentProcessID = e.parentId;
    entry->pcPriClassBase = 8;
    entry->dwFlags = 0;
    Copy(entry->szExeFile, sizeof entry->szExeFile, e.name);
    return TRUE;
}

BOOL NextModule(HANDLE handle, LPMODULEENTRY32 entry, bool first)
{
    if (!entry)
        return Fail(ERROR_INVALID_PARAMETER);
    if (auto s = host::FindKernelObject<Snapshot>(handle); s && first)
        s->next = 0;
    auto snapshot = Walk(handle, false, entry->dwSize, sizeof(MODULEENTRY32));
    if (!snapshot)
        return FALSE;
    const Entry& e = snapshot->entries[snapshot->next++];
    entry->th32ModuleID = 1;
    entry->th32ProcessID = e.processId;
    entry->GlblcntUsage = entry->ProccntUsage = 1;
    entry->modBaseAddr = e.base;
    entry->modBaseSize = e.size;
    entry->hModule = reinterpret_cast<HMODULE>(e.base);
    Copy(entry->szModule, sizeof entry->szModule, e.name);
    Copy(entry->szExePath, sizeof entry->szExePath, ToPlatformPath(e.path));
    return TRUE;
}

FARPROC KernelExport(LPCSTR name)
{
    struct Export {
        const char* name;
        FARPROC proc;
    };
    static const Export exports[] = {
        {"CreateToolhelp32Snapshot", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&CreateToolhelp32Snapshot))},
        {"Process32First", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Process32First))},
        {"Process32Next", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Process32Next))},
        {"Module32First", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Module32First))},
        {"Module32Next", reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Module32Next))},
    };
    {
        std::lock_guard<std::mutex> lock(HiddenLock());
        if (!Hidden().empty() && Hidden() == name)
            return nullptr;
    }
    for (const Export& e : exports)
        if (std::strcmp(e.name, name) == 0)
            return e.proc;
    return nullptr;
}

struct Registrar {
    Registrar() { win32::AddBuiltinLibrary({"KERNEL32.DLL", nullptr, nullptr, KernelExport}); }
} registrar;

}  // namespace

namespace host {

void HideKernelExport(const char* name)
{
    std::lock_guard<std::mutex> lock(HiddenLock());
    Hidden() = name ? name : "";
}

}  // namespace host

HANDLE WINAPI CreateToolhelp32Snapshot(DWORD dwFlags, DWORD th32ProcessID)
{
    auto snapshot = std::make_shared<Snapshot>();
    if (dwFlags & TH32CS_SNAPPROCESS) {
        snapshot->processes = true;
        snapshot->entries = Processes();
    } else if (dwFlags & TH32CS_SNAPMODULE) {
        const DWORD pid = th32ProcessID != 0 ? th32ProcessID : static_cast<DWORD>(getpid());
        if (!Modules(pid, snapshot->entries)) {
            SetLastError(ERROR_INVALID_PARAMETER);
            return INVALID_HANDLE_VALUE;
        }
    } else {
        SetLastError(ERROR_INVALID_PARAMETER);
        return INVALID_HANDLE_VALUE;
    }
    HANDLE handle = host::AddKernelObject(snapshot);
    return handle ? handle : INVALID_HANDLE_VALUE;
}

BOOL WINAPI Process32First(HANDLE hSnapshot, LPPROCESSENTRY32 lppe) { return NextProcess(hSnapshot, lppe, true); }
BOOL WINAPI Process32Next(HANDLE hSnapshot, LPPROCESSENTRY32 lppe) { return NextProcess(hSnapshot, lppe, false); }
BOOL WINAPI Module32First(HANDLE hSnapshot, LPMODULEENTRY32 lpme) { return NextModule(hSnapshot, lpme, true); }
BOOL WINAPI Module32Next(HANDLE hSnapshot, LPMODULEENTRY32 lpme) { return NextModule(hSnapshot, lpme, false); }
