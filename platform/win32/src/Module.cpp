// Modules: the program, code libraries (shared objects) and resource-only libraries (bundle
// files), with the platform's names, search order and reference counts.
#include "ModuleTable.h"

#include <host/Exports.h>
#include <host/LibraryEntry.h>
#include <host/Paths.h>

#include <algorithm>
#include <cstring>
#include <deque>
#include <dirent.h>
#include <dlfcn.h>
#include <elf.h>
#include <fstream>
#include <iterator>
#include <link.h>
#include <map>
#include <memory>
#include <strings.h>
#include <sys/stat.h>
#include <unistd.h>

namespace win32 {

namespace {

struct Module {
    HMODULE handle = nullptr;
    const BuiltinLibrary* builtin = nullptr;  // a library the platform provides
    bool code = false;         // loaded and running
    bool codeFile = false;     // a code library's file opened as data
    bool hasBundle = false;
    std::string hostPath;      // the file's real host path
    std::string platformPath;  // what GetModuleFileName reports
    std::string baseName;      // the name GetModuleHandle matches ("bulletin.dll")
    void* dl = nullptr;        // code libraries
    std::vector<std::uint64_t> storage;  // data modules: the bundle file, 8-byte aligned
    std::vector<host::BundleEntry> entries;
    int refs = 0;
    bool pinned = false;
};

std::map<HMODULE, std::unique_ptr<Module>>& Modules()
{
    static auto* modules = new std::map<HMODULE, std::unique_ptr<Module>>;
    return *modules;
}

bool EndsWithNoCase(const std::string& s, const char* tail)
{
    std::size_t n = std::strlen(tail);
    return s.size() >= n && strcasecmp(s.c_str() + s.size() - n, tail) == 0;
}

std::string HostFolderOf(const std::string& path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string(".") : (slash == 0 ? "/" : path.substr(0, slash));
}

std::string RealPath(const std::string& path)
{
    char* resolved = realpath(path.c_str(), nullptr);
    if (!resolved)
        return path;
    std::string out = resolved;
    free(resolved);
    return out;
}

// A file of a host folder whose name equals `name` without regard to case.
std::string FindInFolder(const std::string& folder, const std::string& name)
{
    DIR* dir = opendir(folder.c_str());
    if (!dir)
        return {};
    std::string found;
    while (dirent* entry = readdir(dir)) {
        if (strcasecmp(entry->d_name, name.c_str()) != 0)
            continue;
        std::string path = folder + "/" + entry->d_name;
        struct stat st {};
        if (stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode)) {
            found = path;
            if (name == entry->d_name)
                break;  // an exact match wins over one that differs in case
        }
    }
    closedir(dir);
    return found;
}

// The platform's form of a host folder (through the drive map).
std::string PlatformFolder(const std::string& hostFolder)
{
    auto platform = host::FromHostPath(hostFolder);
    std::string folder = platform ? *platform : hostFolder;
    if (!folder.empty() && folder.back() != '\\')
        folder += '\\';
    return folder;
}

struct Resolved {
    std::string hostPath;
    std::string platformPath;
    std::string baseName;
};

// Finds the file of a library name: "name.dll" as "name.dll", "name.so" or "libname.so"; a name
// without an extension gets ".dll" (a trailing '.' means none); "name.exe" as "name.exe" or
// "name". A name with a folder is looked for there only; a bare name in the program's folder,
// then the current folder.
std::optional<Resolved> Resolve(const std::string& requested)
{
    std::string name = requested;
    std::replace(name.begin(), name.end(), '/', '\\');
    auto sep = name.find_last_of("\\:");
    std::string folderPart = sep == std::string::npos ? std::string() : name.substr(0, sep + 1);
    std::string base = name.substr(sep == std::string::npos ? 0 : sep + 1);
    if (base.empty())
        return std::nullopt;
    if (base.back() == '.')
        base.pop_back();
    else if (base.find('.') == std::string::npos)
        base += ".dll";

    std::vector<std::string> candidates = {base};
    std::string stem = base.substr(0, base.find_last_of('.'));
    if (EndsWithNoCase(base, ".dll")) {
        candidates.push_back(stem + ".so");
        candidates.push_back("lib" + stem + ".so");
    } else if (EndsWithNoCase(base, ".exe")) {
        candidates.push_back(stem);
    }

    // The platform's search order: the program's folder, the system folder, the Windows
    // folder, the current folder.
    std::vector<std::string> folders;
    if (!folderPart.empty()) {
        folders.push_back(folderPart);
    } else {
        std::string program = host::ProgramPlatformPath();
        if (!program.empty())
            folders.push_back(program.substr(0, program.rfind('\\') + 1));
        char buffer[MAX_PATH];
        if (UINT n = GetSystemDirectory(buffer, MAX_PATH); n > 0 && n < MAX_PATH)
            folders.push_back(buffer);
        if (UINT n = GetWindowsDirectory(buffer, MAX_PATH); n > 0 && n < MAX_PATH)
            folders.push_back(buffer);
        if (DWORD n = GetCurrentDirectory(MAX_PATH, buffer); n > 0 && n < MAX_PATH)
            folders.push_back(buffer);
    }
    std::vector<std::string> hostFolders;
    for (const std::string& folder : folders)
        if (auto hostFolder = host::ToHostPath(folder))
            hostFolders.push_back(*hostFolder);
    for (const std::string& folder : hostFolders) {
        for (const std::string& candidate : candidates) {
            std::string found = FindInFolder(folder, candidate);
            if (!found.empty())
                return Resolved{RealPath(found), PlatformFolder(HostFolderOf(found)) + base, base};
        }
    }
    return std::nullopt;
}

// The base address of the object that holds `address`.
HMODULE BaseOf(const void* address)
{
    Dl_info info{};
    if (!dladdr(address, &info))
        return nullptr;
    return static_cast<HMODULE>(info.dli_fbase);
}

int FirstObject(dl_phdr_info* info, size_t, void* data)
{
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            *static_cast<const void**>(data) = reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr);
            return 1;
        }
    return 1;
}

struct ObjectSearch {
    HMODULE base;
    std::string path;
};

int FindObject(dl_phdr_info* info, size_t, void* data)
{
    auto* search = static_cast<ObjectSearch*>(data);
    for (int i = 0; i < info->dlpi_phnum; ++i)
        if (info->dlpi_phdr[i].p_type == PT_LOAD) {
            if (BaseOf(reinterpret_cast<const void*>(info->dlpi_addr + info->dlpi_phdr[i].p_vaddr)) == search->base &&
                info->dlpi_name && info->dlpi_name[0]) {
                search->path = info->dlpi_name;
                return 1;
            }
            return 0;
        }
    return 0;
}

// The platform's name of a library the program was linked with: "libmfc.so" is "mfc.dll".
std::string LinkedLibraryPath(HMODULE handle)
{
    ObjectSearch search{handle, {}};
    dl_iterate_phdr(FindObject, &search);
    if (search.path.empty())
        return {};
    std::string hostPath = RealPath(search.path);
    std::string name = hostPath.substr(hostPath.find_last_of('/') + 1);
    if (name.rfind("lib", 0) == 0)
        name = name.substr(3);
    auto so = name.find(".so");
    if (so != std::string::npos)
        name = name.substr(0, so) + ".dll";
    return PlatformFolder(HostFolderOf(hostPath)) + name;
}

Module* Find(HMODULE handle)
{
    auto& modules = Modules();
    auto it = modules.find(handle);
    return it == modules.end() ? nullptr : it->second.get();
}

// The bytes of a file read straight into a data module's 8-byte aligned storage; `size` is their
// count (0 for a file that cannot be read).
std::vector<std::uint64_t> ReadWholeFile(const std::string& path, std::size_t& size)
{
    size = 0;
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    const std::streamoff length = in ? static_cast<std::streamoff>(in.tellg()) : 0;
    if (length <= 0)
        return std::vector<std::uint64_t>(1);
    std::vector<std::uint64_t> words((static_cast<std::size_t>(length) + 7) / 8);
    in.seekg(0);
    in.read(reinterpret_cast<char*>(words.data()), length);
    size = static_cast<std::size_t>(in.gcount());
    return words;
}

// The contents of a named section of an ELF file: nothing when the file is not a 64-bit ELF
// file, and an empty string when it has no such section.
std::optional<std::string> ReadElfSection(const std::string& path, const char* name)
{
    std::ifstream in(path, std::ios::binary);
    Elf64_Ehdr header{};
    if (!in.read(reinterpret_cast<char*>(&header), sizeof header) || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 ||
        header.e_ident[EI_CLASS] != ELFCLASS64 || header.e_shentsize != sizeof(Elf64_Shdr) ||
        header.e_shstrndx >= header.e_shnum)
        return std::nullopt;
    std::vector<Elf64_Shdr> sections(header.e_shnum);
    in.seekg(static_cast<std::streamoff>(header.e_shoff));
    if (!in.read(reinterpret_cast<char*>(sections.data()), static_cast<std::streamsize>(sections.size() * sizeof(Elf64_Shdr))))
        return std::nullopt;
    auto readBytes = [&](const Elf64_Shdr& section) -> std::optional<std::string> {
        if (section.sh_type == SHT_NOBITS || section.sh_size > (1u << 30))
            return std::string();
        std::string bytes(section.sh_size, '\0');
        in.seekg(static_cast<std::streamoff>(section.sh_offset));
        if (!in.read(bytes.data(), static_cast<std::streamsize>(bytes.size())))
            return std::nullopt;
        return bytes;
    };
    auto names = readBytes(sections[header.e_shstrndx]);
    if (!names)
        return std::nullopt;
    for (const Elf64_Shdr& section : sections)
        if (section.sh_name < names->size() && std::strcmp(names->c_str() + section.sh_name, name) == 0)
            return readBytes(section);
    return std::string();
}

// A data module over `size` bundle bytes held in `storage` (none: a module without resources).
HMODULE LoadDataModule(std::vector<std::uint64_t> storage, std::size_t size, bool codeFile)
{
    auto module = std::make_unique<Module>();
    module->codeFile = codeFile;
    module->storage = std::move(storage);
    if (module->storage.empty())
        module->storage.resize(1);
    if (size != 0 || !codeFile) {
        auto entries = host::ParseBundle(module->storage.data(), size);
        if (!entries) {
            SetLastError(ERROR_BAD_EXE_FORMAT);
            return nullptr;
        }
        module->entries = std::move(*entries);
        module->hasBundle = true;
    }
    module->handle = reinterpret_cast<HMODULE>(module->storage.data());
    HMODULE handle = module->handle;
    Modules()[handle] = std::move(module);
    return handle;
}

// TRUE when a 64-bit ELF file holds every byte its headers say it has: the host's loader maps
// a file cut short past its end and fails on the missing part, so such a file never reaches it.
bool ElfFileIsWhole(const std::string& path)
{
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in)
        return false;
    const auto size = static_cast<std::uint64_t>(in.tellg());
    in.seekg(0);
    Elf64_Ehdr header{};
    if (!in.read(reinterpret_cast<char*>(&header), sizeof header) || header.e_ident[EI_CLASS] != ELFCLASS64 ||
        header.e_phentsize != sizeof(Elf64_Phdr) || header.e_phnum == 0)
        return false;
    auto within = [size](std::uint64_t offset, std::uint64_t length) { return offset <= size && length <= size - offset; };
    if (!within(header.e_phoff, std::uint64_t{header.e_phnum} * sizeof(Elf64_Phdr)) ||
        (header.e_shnum != 0 && !within(header.e_shoff, std::uint64_t{header.e_shnum} * header.e_shentsize)))
        return false;
    std::vector<Elf64_Phdr> segments(header.e_phnum);
    in.seekg(static_cast<std::streamoff>(header.e_phoff));
    if (!in.read(reinterpret_cast<char*>(segments.data()), static_cast<std::streamsize>(segments.size() * sizeof(Elf64_Phdr))))
        return false;
    for (const Elf64_Phdr& segment : segments)
        if (segment.p_type != PT_NULL && !within(segment.p_offset, segment.p_filesz))
            return false;
    return true;
}

HMODULE LoadCodeModule(const Resolved& resolved)
{
    if (!ElfFileIsWhole(resolved.hostPath)) {
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    void* dl = dlopen(resolved.hostPath.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!dl) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    link_map* map = nullptr;
    if (dlinfo(dl, RTLD_DI_LINKMAP, &map) != 0 || !map) {
        dlclose(dl);
        SetLastError(ERROR_BAD_EXE_FORMAT);
        return nullptr;
    }
    HMODULE handle = BaseOf(map->l_ld);
    if (Module* existing = Find(handle)) {  // the same object under another name
        dlclose(dl);
        ++existing->refs;
        return handle;
    }
    auto module = std::make_unique<Module>();
    module->code = true;
    module->dl = dl;
    module->handle = handle;
    Modules()[handle] = std::move(module);
    return handle;
}

// A deque: the entries stay in place, their addresses are the libraries' handles.
std::deque<BuiltinLibrary>& BuiltinLibraries()
{
    static auto* libraries = new std::deque<BuiltinLibrary>;
    return *libraries;
}

// The built-in library a requested name means ("riched32", "C:\\WINDOWS\\SYSTEM\\RICHED32.DLL"),
// or nullptr.
const BuiltinLibrary* FindBuiltin(const std::string& requested)
{
    std::string base = requested.substr(requested.find_last_of("\\/:") == std::string::npos ? 0 : requested.find_last_of("\\/:") + 1);
    if (!base.empty() && base.back() == '.')
        base.pop_back();
    else if (base.find('.') == std::string::npos)
        base += ".dll";
    for (const BuiltinLibrary& library : BuiltinLibraries())
        if (strcasecmp(library.name, base.c_str()) == 0)
            return &library;
    return nullptr;
}

HMODULE LoadBuiltin(const BuiltinLibrary& library)
{
    for (auto& [handle, module] : Modules())
        if (module->builtin == &library) {
            ++module->refs;
            return handle;
        }
    auto module = std::make_unique<Module>();
    // The handle is the address of the library's entry: unique, and never a loaded object's.
    module->handle = reinterpret_cast<HMODULE>(const_cast<BuiltinLibrary*>(&library));
    module->builtin = &library;
    module->baseName = library.name;
    char system[MAX_PATH];
    UINT n = GetSystemDirectory(system, MAX_PATH);
    std::string folder = n > 0 && n < MAX_PATH ? std::string(system) : std::string("C:\\WINDOWS\\SYSTEM");
    module->platformPath = folder + (folder.empty() || folder.back() != '\\' ? "\\" : "") + library.name;
    module->refs = 1;
    HMODULE handle = module->handle;
    Modules()[handle] = std::move(module);
    if (library.attach)
        library.attach(handle);
    return handle;
}

}  // namespace

void AddBuiltinLibrary(const BuiltinLibrary& library)
{
    std::lock_guard<std::recursive_mutex> lock(ModuleLock());
    BuiltinLibraries().push_back(library);
}

std::recursive_mutex& ModuleLock()
{
    static std::recursive_mutex* lock = new std::recursive_mutex;
    return *lock;
}

HMODULE ProgramModule()
{
    static HMODULE program = [] {
        const void* address = nullptr;
        dl_iterate_phdr(FirstObject, &address);
        return BaseOf(address);
    }();
    return program;
}

const std::vector<host::BundleEntry>* ResourcesOf(HMODULE module)
{
    if (!module)
        module = ProgramModule();
    if (Module* m = Find(module); m && !m->code)
        return m->hasBundle ? &m->entries : nullptr;
    return RegisteredResources(module);
}

}  // namespace win32

using namespace win32;

HMODULE WINAPI LoadLibraryEx(LPCSTR lpLibFileName, HANDLE hFile, DWORD dwFlags)
{
    // As data, a code library's file is only read (its embedded bundle), never run.
    const bool asData =
        (dwFlags & (LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_DATAFILE_EXCLUSIVE | LOAD_LIBRARY_AS_IMAGE_RESOURCE)) != 0;
    if (!lpLibFileName || hFile) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    {
        std::lock_guard<std::recursive_mutex> lock(ModuleLock());
        if (const BuiltinLibrary* builtin = FindBuiltin(lpLibFileName))
            return LoadBuiltin(*builtin);
    }
    auto resolved = Resolve(lpLibFileName);
    if (!resolved) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return nullptr;
    }
    std::unique_lock<std::recursive_mutex> lock(ModuleLock());
    if (resolved->hostPath == RealPath(host::ProgramHostPath()))
        return ProgramModule();
    // The same file again: a loaded code library serves as data too, but a data view of a code
    // library does not serve as code.
    for (auto& [handle, module] : Modules())
        if (module->hostPath == resolved->hostPath && (asData || !module->codeFile)) {
            ++module->refs;
            return handle;
        }

    char magic[4] = {};
    {
        std::ifstream in(resolved->hostPath, std::ios::binary);
        in.read(magic, sizeof magic);
    }
    HMODULE handle = nullptr;
    if (host::LooksLikeBundle(magic, host::kBundleHeaderSize)) {
        std::size_t size = 0;
        auto words = ReadWholeFile(resolved->hostPath, size);
        handle = LoadDataModule(std::move(words), size, false);
    } else if (std::memcmp(magic, ELFMAG, SELFMAG) == 0 && asData) {
        auto section = ReadElfSection(resolved->hostPath, host::kBundleSectionName);
        if (section) {
            std::vector<std::uint64_t> words(std::max<std::size_t>(1, (section->size() + 7) / 8));
            std::memcpy(words.data(), section->data(), section->size());
            handle = LoadDataModule(std::move(words), section->size(), true);
        }
        else
            SetLastError(ERROR_BAD_EXE_FORMAT);
    } else if (std::memcmp(magic, ELFMAG, SELFMAG) == 0) {
        handle = LoadCodeModule(*resolved);
    } else {
        SetLastError(ERROR_BAD_EXE_FORMAT);
    }
    if (!handle)
        return nullptr;
    Module* module = Find(handle);
    if (module->refs == 0) {
        module->hostPath = resolved->hostPath;
        module->platformPath = resolved->platformPath;
        module->baseName = resolved->baseName;
        module->refs = 1;
        // A code library's entry runs once, outside the loader's lock (it may load libraries,
        // make windows or start threads of its own); when it fails, the library goes again.
        if (module->code) {
            host::LibraryAttach attach = host::CurrentLibraryAttach();
            lock.unlock();
            const BOOL attached = attach ? attach(handle) : TRUE;
            lock.lock();
            if (!attached) {
                if (Module* failed = Find(handle)) {
                    void* dl = failed->dl;
                    Modules().erase(handle);
                    if (dl)
                        dlclose(dl);
                }
                SetLastError(ERROR_DLL_INIT_FAILED);
                return nullptr;
            }
        }
    }
    return handle;
}

HMODULE WINAPI LoadLibrary(LPCSTR lpLibFileName) { return LoadLibraryEx(lpLibFileName, nullptr, 0); }

BOOL WINAPI FreeLibrary(HMODULE hLibModule)
{
    std::unique_lock<std::recursive_mutex> lock(ModuleLock());
    if (hLibModule && hLibModule == ProgramModule())
        return TRUE;
    Module* module = Find(hLibModule);
    if (!module) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (module->pinned || --module->refs > 0)
        return TRUE;
    if (const BuiltinLibrary* builtin = module->builtin) {
        Modules().erase(hLibModule);
        if (builtin->detach)
            builtin->detach(hLibModule);
        return TRUE;
    }
    if (module->code) {
        // The library's exit runs while it is still loaded, outside the loader's lock; a load
        // of it meanwhile keeps it.
        if (host::LibraryDetach detach = host::CurrentLibraryDetach()) {
            module->refs = 1;
            lock.unlock();
            detach(hLibModule);
            lock.lock();
            module = Find(hLibModule);
            if (!module || --module->refs > 0)
                return TRUE;
        }
    }
    void* dl = module->dl;
    Modules().erase(hLibModule);
    if (dl)
        dlclose(dl);  // the library's registration leaves with it
    return TRUE;
}

HMODULE WINAPI GetModuleHandle(LPCSTR lpModuleName)
{
    if (!lpModuleName)
        return ProgramModule();
    std::string name = lpModuleName;
    std::replace(name.begin(), name.end(), '/', '\\');
    bool withFolder = name.find_first_of("\\:") != std::string::npos;
    std::string base = name.substr(name.find_last_of("\\:") == std::string::npos ? 0 : name.find_last_of("\\:") + 1);
    if (!base.empty() && base.back() == '.')
        base.pop_back();
    else if (base.find('.') == std::string::npos)
        base += ".dll";
    std::lock_guard<std::recursive_mutex> lock(ModuleLock());
    for (auto& [handle, module] : Modules()) {
        if (withFolder ? strcasecmp(module->platformPath.c_str(), name.c_str()) == 0
                       : strcasecmp(module->baseName.c_str(), base.c_str()) == 0)
            return handle;
    }
    char program[MAX_PATH];
    if (GetModuleFileName(nullptr, program, MAX_PATH)) {
        std::string programPath = program;
        std::string programBase = programPath.substr(programPath.find_last_of('\\') + 1);
        if (withFolder ? strcasecmp(programPath.c_str(), name.c_str()) == 0
                       : strcasecmp(programBase.c_str(), base.c_str()) == 0)
            return ProgramModule();
    }
    SetLastError(ERROR_MOD_NOT_FOUND);
    return nullptr;
}

BOOL WINAPI GetModuleHandleEx(DWORD dwFlags, LPCSTR lpModuleName, HMODULE* phModule)
{
    if (!phModule || (dwFlags & ~7u) ||
        (dwFlags & (GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)) ==
            (GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT)) {
        if (phModule)
            *phModule = nullptr;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::recursive_mutex> lock(ModuleLock());
    HMODULE handle = nullptr;
    if (dwFlags & GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS) {
        // An address in a data module's bundle names that module; any other, the object it lies in.
        for (auto& [h, module] : Modules())
            if (!module->code && lpModuleName >= reinterpret_cast<const char*>(module->storage.data()) &&
                lpModuleName < reinterpret_cast<const char*>(module->storage.data() + module->storage.size()))
                handle = h;
        if (!handle)
            handle = BaseOf(lpModuleName);
        if (!handle) {
            *phModule = nullptr;
            SetLastError(ERROR_MOD_NOT_FOUND);
            return FALSE;
        }
    } else {
        handle = GetModuleHandle(lpModuleName);
        if (!handle) {
            *phModule = nullptr;
            return FALSE;
        }
    }
    if (Module* module = Find(handle)) {
        if (dwFlags & GET_MODULE_HANDLE_EX_FLAG_PIN)
            module->pinned = true;
        else if (!(dwFlags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT))
            ++module->refs;
    }
    *phModule = handle;
    return TRUE;
}

DWORD WINAPI GetModuleFileName(HMODULE hModule, LPSTR lpFilename, DWORD nSize)
{
    std::string path;
    if (!hModule || hModule == ProgramModule()) {
        path = host::ProgramPlatformPath();
    } else {
        std::lock_guard<std::recursive_mutex> lock(ModuleLock());
        if (Module* module = Find(hModule))
            path = module->platformPath;
        else
            path = LinkedLibraryPath(hModule);
    }
    if (path.empty()) {
        SetLastError(ERROR_MOD_NOT_FOUND);
        return 0;
    }
    if (!lpFilename || nSize == 0) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return 0;
    }
    if (path.size() >= nSize) {
        std::memcpy(lpFilename, path.data(), nSize - 1);
        lpFilename[nSize - 1] = '\0';
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return nSize;
    }
    std::memcpy(lpFilename, path.c_str(), path.size() + 1);
    return static_cast<DWORD>(path.size());
}

FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName)
{
    std::lock_guard<std::recursive_mutex> lock(ModuleLock());
    void* dl = nullptr;
    bool program = !hModule || hModule == ProgramModule();
    if (program) {
        dl = dlopen(nullptr, RTLD_NOW);
    } else if (Module* module = Find(hModule); module && module->code) {
        dl = module->dl;
    } else if (module && module->builtin && module->builtin->procAddress && !IS_INTRESOURCE(lpProcName)) {
        FARPROC proc = module->builtin->procAddress(lpProcName);
        if (!proc)
            SetLastError(ERROR_PROC_NOT_FOUND);
        return proc;
    } else {
        SetLastError(module ? ERROR_PROC_NOT_FOUND : ERROR_INVALID_HANDLE);
        return nullptr;
    }
    std::string name;
    if (IS_INTRESOURCE(lpProcName)) {
        WORD ordinal = LOWORD(reinterpret_cast<ULONG_PTR>(lpProcName));
        Dl_info info{};
        auto table = static_cast<const VlExportEntry*>(dlsym(dl, VL_EXPORT_TABLE_SYMBOL));
        // dlsym also searches the library's dependencies; only a table of the module itself counts.
        if (table && dladdr(table, &info) && (program || info.dli_fbase == hModule))
            for (const VlExportEntry* e = table; e->name; ++e)
                if (e->ordinal == ordinal && ordinal != 0) {
                    name = e->name;
                    break;
                }
    } else {
        name = lpProcName;
    }
    void* symbol = name.empty() ? nullptr : dlsym(dl, name.c_str());
    if (program)
        dlclose(dl);
    if (!symbol) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<FARPROC>(symbol);
}

BOOL WINAPI DisableThreadLibraryCalls(HMODULE) { return TRUE; }
