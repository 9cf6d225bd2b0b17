// The C runtime's low-level files: descriptors over platform file handles.
#include "FileObject.h"

#include <host/KernelObject.h>
#include <host/Paths.h>
#include <io.h>

#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstdarg>
#include <cstring>
#include <random>
#include <set>

int _fmode = _O_TEXT;

using namespace host::detail;

namespace {

constexpr int kFirstDescriptor = 3;  // 0, 1 and 2 are the host's standard streams
constexpr int kMaxDescriptors = 2048;

struct Descriptor {
    HANDLE handle = nullptr;
    bool text = false;
    bool append = false;
    bool atCtrlZ = false;  // text reading stopped at a Ctrl-Z
};

// The descriptor table (index = descriptor - kFirstDescriptor), never destroyed, so that
// code running at exit can still close its files.
struct DescriptorTable {
    std::mutex lock;
    std::vector<Descriptor> entries;
};

DescriptorTable& Table()
{
    static auto* table = new DescriptorTable;
    return *table;
}

int ErrnoFromError(DWORD error)
{
    switch (error) {
    case ERROR_FILE_NOT_FOUND: case ERROR_PATH_NOT_FOUND: case ERROR_INVALID_DRIVE: case ERROR_INVALID_NAME:
        return ENOENT;
    case ERROR_ACCESS_DENIED: case ERROR_SHARING_VIOLATION: case ERROR_LOCK_VIOLATION: case ERROR_NOT_READY:
    case ERROR_CURRENT_DIRECTORY: case ERROR_WRITE_PROTECT:
        return EACCES;
    case ERROR_FILE_EXISTS: case ERROR_ALREADY_EXISTS:
        return EEXIST;
    case ERROR_TOO_MANY_OPEN_FILES:
        return EMFILE;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_DISK_FULL: case ERROR_HANDLE_DISK_FULL:
        return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY: case ERROR_OUTOFMEMORY:
        return ENOMEM;
    case ERROR_NOT_SAME_DEVICE:
        return EXDEV;
    case ERROR_DIR_NOT_EMPTY:
        return ENOTEMPTY;
    default:
        return EINVAL;
    }
}

int FailErrno(int err)
{
    errno = err;
    return -1;
}

int FailLastError() { return FailErrno(ErrnoFromError(GetLastError())); }

// The table entry of an open descriptor, or null; the caller holds the table's lock.
Descriptor* OpenEntry(int fd)
{
    auto& entries = Table().entries;
    std::size_t index = static_cast<std::size_t>(fd - kFirstDescriptor);
    if (fd < kFirstDescriptor || index >= entries.size() || !entries[index].handle)
        return nullptr;
    return &entries[index];
}

// The descriptor's entry, copied out, or nothing (errno EBADF).
bool Lookup(int fd, Descriptor& out)
{
    std::lock_guard lock(Table().lock);
    Descriptor* entry = OpenEntry(fd);
    if (!entry) {
        errno = EBADF;
        return false;
    }
    out = *entry;
    return true;
}

// The descriptor of a transfer of count bytes at buffer, or nothing (errno EBADF or EINVAL).
bool LookupTransfer(int fd, const void* buffer, unsigned int count, Descriptor& out)
{
    if (!Lookup(fd, out))
        return false;
    if ((!buffer && count) || count > INT_MAX) {
        errno = EINVAL;
        return false;
    }
    return true;
}

void SetCtrlZ(int fd, bool value)
{
    std::lock_guard lock(Table().lock);
    if (Descriptor* entry = OpenEntry(fd))
        entry->atCtrlZ = value;
}

int AddDescriptor(HANDLE handle, bool text, bool append)
{
    std::lock_guard lock(Table().lock);
    auto& entries = Table().entries;
    std::size_t index = 0;
    while (index < entries.size() && entries[index].handle)
        ++index;
    if (index >= kMaxDescriptors - kFirstDescriptor)
        return -1;
    if (index == entries.size())
        entries.emplace_back();
    entries[index] = Descriptor{handle, text, append, false};
    return static_cast<int>(index) + kFirstDescriptor;
}

int OpenWithShare(const char* filename, int oflag, DWORD share, int pmode)
{
    if (!filename)
        return FailErrno(EINVAL);
    DWORD access = 0;
    switch (oflag & 3) {
    case _O_RDONLY: access = GENERIC_READ; break;
    case _O_WRONLY: access = GENERIC_WRITE; break;
    case _O_RDWR: access = GENERIC_READ | GENERIC_WRITE; break;
    default: return FailErrno(EINVAL);
    }
    if ((oflag & _O_TEXT) && (oflag & _O_BINARY))
        return FailErrno(EINVAL);
    DWORD disposition = OPEN_EXISTING;
    if (oflag & _O_CREAT) {
        if (oflag & _O_EXCL)
            disposition = CREATE_NEW;
        else if (oflag & _O_TRUNC)
            disposition = CREATE_ALWAYS;
        else
            disposition = OPEN_ALWAYS;
    } else if (oflag & _O_TRUNC) {
        disposition = TRUNCATE_EXISTING;
    }
    DWORD flags = FILE_ATTRIBUTE_NORMAL;
    if ((oflag & _O_CREAT) && !(pmode & _S_IWRITE))
        flags |= FILE_ATTRIBUTE_READONLY;  // created read-only; this descriptor still writes
    if (oflag & _O_TEMPORARY) {
        flags |= FILE_FLAG_DELETE_ON_CLOSE;
        share |= FILE_SHARE_DELETE;
    }
    if (oflag & _O_SHORT_LIVED)
        flags |= FILE_ATTRIBUTE_TEMPORARY;
    HANDLE handle = CreateFile(filename, access, share, nullptr, disposition, flags, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return FailLastError();
    bool text = (oflag & _O_TEXT) || (!(oflag & _O_BINARY) && _fmode != _O_BINARY);
    int fd = AddDescriptor(handle, text, (oflag & _O_APPEND) != 0);
    if (fd < 0) {
        CloseHandle(handle);
        return FailErrno(EMFILE);
    }
    return fd;
}

DWORD ShareFromFlag(int shflag)
{
    switch (shflag) {
    case _SH_DENYRW: return 0;
    case _SH_DENYWR: return FILE_SHARE_READ;
    case _SH_DENYRD: return FILE_SHARE_WRITE;
    case _SH_DENYNO: return FILE_SHARE_READ | FILE_SHARE_WRITE;
    default: return 0xFFFFFFFF;
    }
}

std::int64_t Seek(const Descriptor& d, std::int64_t offset, int origin)
{
    LARGE_INTEGER distance;
    distance.QuadPart = offset;
    LARGE_INTEGER position;
    if (origin < 0 || origin > 2) {
        errno = EINVAL;
        return -1;
    }
    if (!SetFilePointerEx(d.handle, distance, &position, static_cast<DWORD>(origin))) {
        FailLastError();
        return -1;
    }
    return position.QuadPart;
}

int ReadText(int fd, const Descriptor& d, char* out, unsigned int count)
{
    if (d.atCtrlZ)
        return 0;
    unsigned int produced = 0;
    std::vector<char> raw(count);
    while (produced < count) {
        DWORD got = 0;
        if (!ReadFile(d.handle, raw.data(), count - produced, &got, nullptr))
            return FailLastError();
        if (got == 0)
            break;
        for (DWORD i = 0; i < got; ++i) {
            char c = raw[i];
            if (c == 0x1A) {
                // Ctrl-Z ends the text; the file pointer stays on it.
                Seek(d, -static_cast<std::int64_t>(got - i), FILE_CURRENT);
                SetCtrlZ(fd, true);
                return static_cast<int>(produced);
            }
            if (c == '\r') {
                char next = 0;
                DWORD peeked = 0;
                if (i + 1 < got) {
                    next = raw[i + 1];
                    peeked = 1;
                } else if (!ReadFile(d.handle, &next, 1, &peeked, nullptr)) {
                    return FailLastError();
                }
                if (peeked && next == '\n') {
                    out[produced++] = '\n';
                    if (i + 1 < got)
                        ++i;
                    continue;
                }
                if (peeked && i + 1 >= got)
                    Seek(d, -1, FILE_CURRENT);  // give back the byte looked at
            }
            out[produced++] = c;
        }
    }
    return static_cast<int>(produced);
}

int HostRead(int fd, void* buffer, unsigned int count)
{
    ssize_t got = read(fd, buffer, count);
    return got < 0 ? -1 : static_cast<int>(got);
}

// Names handed out by _mktemp, so that none is given twice even if its file is never made.
struct HandedOutNames {
    std::mutex lock;
    std::set<std::string> names;
};

HandedOutNames& Names()
{
    static auto* names = new HandedOutNames;
    return *names;
}

bool ValidTemplate(const char* nameTemplate, std::size_t& xOffset)
{
    if (!nameTemplate)
        return false;
    std::size_t length = std::strlen(nameTemplate);
    if (length < 6 || std::strcmp(nameTemplate + length - 6, "XXXXXX") != 0)
        return false;
    xOffset = length - 6;
    return true;
}

// Writes a fresh six-character candidate into the template: letters and digits from a random
// start that steps on for every call in the process.
void NextCandidate(char* at)
{
    static std::atomic<std::uint64_t> counter{[] {
        std::random_device device;
        return (static_cast<std::uint64_t>(device()) << 32) ^ device() ^ static_cast<std::uint64_t>(getpid());
    }()};
    static const char kDigits[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    // A multiplicative step keeps successive names apart; 36^6 names in all.
    std::uint64_t value = (counter.fetch_add(1) * 0x9E3779B97F4A7C15ull) >> 20;
    for (int i = 0; i < 6; ++i) {
        at[i] = kDigits[value % 36];
        value /= 36;
    }
}

bool Claim(const char* name)
{
    FullPath full;
    if (MakeFullPath(name, full) != NO_ERROR)
        return false;
    std::string key;
    for (char c : full.Text())
        key += static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    std::lock_guard lock(Names().lock);
    return Names().names.insert(key).second;
}

}  // namespace

int _open(const char* filename, int oflag, ...)
{
    int pmode = _S_IREAD | _S_IWRITE;
    if (oflag & _O_CREAT) {
        va_list args;
        va_start(args, oflag);
        pmode = va_arg(args, int);
        va_end(args);
    }
    return OpenWithShare(filename, oflag, FILE_SHARE_READ | FILE_SHARE_WRITE, pmode);
}

int _sopen(const char* filename, int oflag, int shflag, ...)
{
    int pmode = _S_IREAD | _S_IWRITE;
    if (oflag & _O_CREAT) {
        va_list args;
        va_start(args, shflag);
        pmode = va_arg(args, int);
        va_end(args);
    }
    DWORD share = ShareFromFlag(shflag);
    if (share == 0xFFFFFFFF)
        return FailErrno(EINVAL);
    return OpenWithShare(filename, oflag, share, pmode);
}

int _creat(const char* filename, int pmode)
{
    return OpenWithShare(filename, _O_CREAT | _O_TRUNC | _O_RDWR, FILE_SHARE_READ | FILE_SHARE_WRITE, pmode);
}

int _read(int fd, void* buffer, unsigned int count)
{
    if (fd >= 0 && fd < kFirstDescriptor)
        return HostRead(fd, buffer, count);
    Descriptor d;
    if (!LookupTransfer(fd, buffer, count, d))
        return -1;
    if (d.text)
        return ReadText(fd, d, static_cast<char*>(buffer), count);
    DWORD got = 0;
    if (!ReadFile(d.handle, buffer, count, &got, nullptr))
        return FailLastError();
    return static_cast<int>(got);
}

int _write(int fd, const void* buffer, unsigned int count)
{
    if (fd >= 0 && fd < kFirstDescriptor) {
        ssize_t put = write(fd, buffer, count);
        return put < 0 ? -1 : static_cast<int>(put);
    }
    Descriptor d;
    if (!LookupTransfer(fd, buffer, count, d))
        return -1;
    if (d.append)
        Seek(d, 0, FILE_END);
    const char* bytes = static_cast<const char*>(buffer);
    std::string translated;
    if (d.text) {
        translated.reserve(count + count / 8);
        for (unsigned int i = 0; i < count; ++i) {
            if (bytes[i] == '\n')
                translated += '\r';
            translated += bytes[i];
        }
        bytes = translated.data();
    }
    DWORD length = d.text ? static_cast<DWORD>(translated.size()) : count;
    DWORD put = 0;
    if (!WriteFile(d.handle, bytes, length, &put, nullptr))
        return FailLastError();
    return static_cast<int>(count);
}

__int64 _lseeki64(int fd, __int64 offset, int origin)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    std::int64_t position = Seek(d, offset, origin);
    if (position >= 0)
        SetCtrlZ(fd, false);
    return position;
}

long _lseek(int fd, long offset, int origin)
{
    if (offset > INT32_MAX || offset < INT32_MIN)
        return FailErrno(EINVAL);
    __int64 position = _lseeki64(fd, offset, origin);
    if (position > INT32_MAX)
        return FailErrno(EINVAL);  // beyond what a 32-bit offset can report
    return static_cast<long>(position);
}

__int64 _telli64(int fd) { return _lseeki64(fd, 0, SEEK_CUR); }

long _tell(int fd) { return _lseek(fd, 0, SEEK_CUR); }

__int64 _filelengthi64(int fd)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    LARGE_INTEGER size;
    if (!GetFileSizeEx(d.handle, &size))
        return FailLastError();
    return size.QuadPart;
}

long _filelength(int fd)
{
    __int64 size = _filelengthi64(fd);
    if (size > INT32_MAX)
        return FailErrno(EINVAL);
    return static_cast<long>(size);
}

int _eof(int fd)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    __int64 position = Seek(d, 0, SEEK_CUR);
    __int64 size = _filelengthi64(fd);
    if (position < 0 || size < 0)
        return -1;
    return position >= size ? 1 : 0;
}

int _chsize(int fd, long size)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    if (size < 0)
        return FailErrno(EINVAL);
    std::int64_t position = Seek(d, 0, SEEK_CUR);
    if (position < 0 || Seek(d, size, SEEK_SET) < 0)
        return -1;
    BOOL done = SetEndOfFile(d.handle);
    DWORD error = GetLastError();
    Seek(d, position, SEEK_SET);  // the file pointer does not move
    if (!done)
        return FailErrno(ErrnoFromError(error));
    return 0;
}

int _commit(int fd)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    if (!FlushFileBuffers(d.handle))
        return FailLastError();
    return 0;
}

int _setmode(int fd, int mode)
{
    if (mode != _O_TEXT && mode != _O_BINARY)
        return FailErrno(EINVAL);
    std::lock_guard lock(Table().lock);
    Descriptor* entry = OpenEntry(fd);
    if (!entry)
        return FailErrno(EBADF);
    int previous = entry->text ? _O_TEXT : _O_BINARY;
    entry->text = mode == _O_TEXT;
    return previous;
}

int _close(int fd)
{
    if (fd >= 0 && fd < kFirstDescriptor)
        return close(fd) == 0 ? 0 : -1;
    HANDLE handle = nullptr;
    {
        std::lock_guard lock(Table().lock);
        Descriptor* entry = OpenEntry(fd);
        if (!entry)
            return FailErrno(EBADF);
        handle = entry->handle;
        *entry = Descriptor{};
    }
    if (!CloseHandle(handle))
        return FailLastError();
    return 0;
}

intptr_t _get_osfhandle(int fd)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    return reinterpret_cast<intptr_t>(d.handle);
}

int _open_osfhandle(intptr_t osfhandle, int flags)
{
    HANDLE handle = reinterpret_cast<HANDLE>(osfhandle);
    if (!host::FindKernelObject(handle))
        return FailErrno(EBADF);
    bool text = (flags & _O_TEXT) || (!(flags & _O_BINARY) && _fmode != _O_BINARY);
    int fd = AddDescriptor(handle, text, (flags & _O_APPEND) != 0);
    return fd < 0 ? FailErrno(EMFILE) : fd;
}

namespace {

bool Executable(const std::string& name)
{
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || name.find('\\', dot) != std::string::npos)
        return false;
    std::string extension;
    for (char c : name.substr(dot + 1))
        extension += static_cast<char>(Upper1252(static_cast<unsigned char>(c)));
    return extension == "EXE" || extension == "COM" || extension == "BAT" || extension == "CMD";
}

void FillStat(struct _stat* out, const WIN32_FILE_ATTRIBUTE_DATA& data, char drive, const std::string& name)
{
    std::memset(out, 0, sizeof *out);
    bool folder = data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY;
    unsigned short mode = folder ? (_S_IFDIR | _S_IEXEC) : _S_IFREG;
    mode |= _S_IREAD;
    if (!(data.dwFileAttributes & FILE_ATTRIBUTE_READONLY))
        mode |= _S_IWRITE;
    if (!folder && Executable(name))
        mode |= _S_IEXEC;
    // The owner's rights are repeated for group and others, as the runtime does.
    mode |= static_cast<unsigned short>(((mode & 0700) >> 3) | ((mode & 0700) >> 6));
    out->st_mode = mode;
    out->st_nlink = 1;
    out->st_dev = out->st_rdev = static_cast<unsigned int>(drive - 'A');
    out->st_size = static_cast<long>((static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow);
    out->st_atime = FromFileTime(data.ftLastAccessTime).tv_sec;
    out->st_mtime = FromFileTime(data.ftLastWriteTime).tv_sec;
    out->st_ctime = FromFileTime(data.ftCreationTime).tv_sec;
}

}  // namespace

int _stat(const char* path, struct _stat* buffer)
{
    if (!path || !buffer)
        return FailErrno(EINVAL);
    FullPath full;
    if (MakeFullPath(path, full) != NO_ERROR)
        return FailErrno(ENOENT);
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesEx(path, GetFileExInfoStandard, &data))
        return FailLastError();
    FillStat(buffer, data, full.drive, full.Name());
    return 0;
}

int _fstat(int fd, struct _stat* buffer)
{
    Descriptor d;
    if (!Lookup(fd, d))
        return -1;
    if (!buffer)
        return FailErrno(EINVAL);
    auto file = host::FindKernelObject<FileObject>(d.handle);
    if (!file)
        return FailErrno(EBADF);
    // The open file itself is asked: it may have no name any more.
    struct stat st;
    if (fstat(file->Descriptor(), &st) != 0)
        return FailErrno(EBADF);
    auto platform = host::FromHostPath(file->HostPath());
    std::string name = platform ? *platform : std::string("C:\\");
    host::DriveInfo drive;
    if (auto mapped = host::FindDrive(name[0]))
        drive = *mapped;
    WIN32_FILE_ATTRIBUTE_DATA data;
    data.dwFileAttributes = AttributesOf(file->HostPath(), st, drive);
    data.ftLastAccessTime = ToFileTime(st.st_atim);
    data.ftLastWriteTime = ToFileTime(st.st_mtim);
    data.ftCreationTime = ToFileTime(st.st_ctim.tv_sec < st.st_mtim.tv_sec ? st.st_ctim : st.st_mtim);
    data.nFileSizeHigh = static_cast<DWORD>(static_cast<std::uint64_t>(st.st_size) >> 32);
    data.nFileSizeLow = static_cast<DWORD>(static_cast<std::uint64_t>(st.st_size) & 0xFFFFFFFF);
    FillStat(buffer, data, name[0], name);
    return 0;
}

int _unlink(const char* filename)
{
    if (!filename)
        return FailErrno(EINVAL);
    if (!DeleteFile(filename))
        return FailLastError();
    return 0;
}

int _access(const char* path, int mode)
{
    if (!path || (mode & ~6))
        return FailErrno(EINVAL);
    DWORD attributes = GetFileAttributes(path);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FailLastError();
    if ((mode & 2) && (attributes & FILE_ATTRIBUTE_READONLY) && !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        return FailErrno(EACCES);
    return 0;
}

int _chmod(const char* filename, int pmode)
{
    if (!filename)
        return FailErrno(EINVAL);
    DWORD attributes = GetFileAttributes(filename);
    if (attributes == INVALID_FILE_ATTRIBUTES)
        return FailLastError();
    attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_NORMAL | FILE_ATTRIBUTE_DIRECTORY);
    if (pmode & _S_IWRITE)
        attributes &= ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
    else
        attributes |= FILE_ATTRIBUTE_READONLY;
    if (!SetFileAttributes(filename, attributes))
        return FailLastError();
    return 0;
}

char* _mktemp(char* nameTemplate)
{
    std::size_t xOffset = 0;
    if (!ValidTemplate(nameTemplate, xOffset)) {
        errno = EINVAL;
        return nullptr;
    }
    for (int attempt = 0; attempt < 4096; ++attempt) {
        NextCandidate(nameTemplate + xOffset);
        DWORD attributes = GetFileAttributes(nameTemplate);
        if (attributes != INVALID_FILE_ATTRIBUTES)
            continue;
        if (Claim(nameTemplate))
            return nameTemplate;
    }
    std::memcpy(nameTemplate + xOffset, "XXXXXX", 6);
    errno = EEXIST;
    return nullptr;
}

int _mktemp_s(char* nameTemplate, std::size_t sizeInChars)
{
    if (!nameTemplate || sizeInChars != std::strlen(nameTemplate) + 1)
        return errno = EINVAL;
    return _mktemp(nameTemplate) ? 0 : errno;
}

namespace host {

int OpenUniqueFile(char* nameTemplate, int oflag, int pmode)
{
    std::size_t xOffset = 0;
    if (!ValidTemplate(nameTemplate, xOffset))
        return FailErrno(EINVAL);
    for (int attempt = 0; attempt < 4096; ++attempt) {
        NextCandidate(nameTemplate + xOffset);
        if (!Claim(nameTemplate))
            continue;
        int fd = _open(nameTemplate, oflag | _O_CREAT | _O_EXCL, pmode);
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    std::memcpy(nameTemplate + xOffset, "XXXXXX", 6);
    return FailErrno(EEXIST);
}

}  // namespace host
