// Profile files: parsing, look-up and in-place editing of "[section]" / "key=value" text files.
#include <windows.h>

#include <host/Paths.h>

#include "CodePage.h"
#include "FileSystem.h"

#include <sys/stat.h>
#include <time.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace {

// The Windows folder as a platform path. The one place that knows where it lives.
// The Windows folder of the emulated system tree, where WIN.INI and bare profile names live.
std::optional<std::string> WindowsFolder()
{
    char buffer[MAX_PATH];
    UINT length = GetWindowsDirectory(buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer)
        return std::nullopt;
    return std::string(buffer, length);
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string Trim(const std::string& s)
{
    std::size_t b = 0, e = s.size();
    while (b < e && IsBlank(s[b]))
        ++b;
    while (e > b && IsBlank(s[e - 1]))
        --e;
    return s.substr(b, e - b);
}

bool SameName(const std::string& a, const char* b)
{
    std::size_t i = 0;
    for (; i < a.size() && b[i]; ++i)
        if (codepage::ToUpper(static_cast<unsigned char>(a[i])) != codepage::ToUpper(static_cast<unsigned char>(b[i])))
            return false;
    return i == a.size() && !b[i];
}

struct Line {
    enum Kind { Other, Section, Entry } kind = Other;
    std::string text;  // the line as read, for writing back unchanged
    std::string name;  // section name or key
    std::string value;
    bool hasEquals = false;
};

class ProfileFile {
public:
    // The host path of a profile name: bare names live in the Windows folder. Nothing when the
    // drive or path is unknown.
    static std::optional<std::string> HostPathOf(LPCSTR fileName, bool& inWindowsFolder)
    {
        std::string name = fileName ? fileName : "win.ini";
        bool absolute = (name.size() >= 2 && name[1] == ':') || name[0] == '\\' || name[0] == '/';
        bool relative = name.rfind(".\\", 0) == 0 || name.rfind("..\\", 0) == 0 || name.rfind("./", 0) == 0 ||
                        name.rfind("../", 0) == 0;
        inWindowsFolder = false;
        if (!absolute && !relative) {
            std::optional<std::string> folder = WindowsFolder();
            if (!folder)
                return std::nullopt;
            inWindowsFolder = true;
            name = *folder + (folder->back() == '\\' ? "" : "\\") + name;
        }
        return host::ToHostPath(name);
    }

    void SetPath(const std::string& hostPath, bool inWindowsFolder)
    {
        m_path = hostPath;
        m_inWindowsFolder = inWindowsFolder;
    }
    const std::string& Path() const { return m_path; }

    // Takes the file's text (nothing for a missing file).
    void Parse(const std::string* data)
    {
        m_lines.clear();
        m_exists = data != nullptr;
        if (!data)
            return;
        std::size_t pos = 0;
        while (pos < data->size()) {
            std::size_t end = data->find('\n', pos);
            std::string text = data->substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            m_lines.push_back(Classify(text));
            pos = end == std::string::npos ? data->size() : end + 1;
        }
    }

    bool Exists() const { return m_exists; }

    // Index of the section's header line, or -1.
    long FindSection(const char* section) const
    {
        for (std::size_t i = 0; i < m_lines.size(); ++i)
            if (m_lines[i].kind == Line::Section && SameName(m_lines[i].name, section))
                return static_cast<long>(i);
        return -1;
    }

    // End (exclusive) of the section whose header is at `header`.
    std::size_t SectionEnd(long header) const
    {
        std::size_t i = static_cast<std::size_t>(header) + 1;
        while (i < m_lines.size() && m_lines[i].kind != Line::Section)
            ++i;
        return i;
    }

    long FindKey(long header, const char* key) const
    {
        if (header < 0)
            return -1;
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i)
            if (m_lines[i].kind == Line::Entry && SameName(m_lines[i].name, key))
                return static_cast<long>(i);
        return -1;
    }

    const Line& At(long i) const { return m_lines[static_cast<std::size_t>(i)]; }

    std::vector<std::string> SectionNames() const
    {
        std::vector<std::string> names;
        for (const Line& l : m_lines)
            if (l.kind == Line::Section)
                names.push_back(l.name);
        return names;
    }

    // Key names (keys = true) or whole entry lines of a section.
    std::vector<std::string> Entries(long header, bool keys) const
    {
        std::vector<std::string> out;
        if (header < 0)
            return out;
        const std::size_t end = SectionEnd(header);
        for (std::size_t i = static_cast<std::size_t>(header) + 1; i < end; ++i) {
            const Line& l = m_lines[i];
            if (l.kind != Line::Entry)
                continue;
            out.push_back(keys || !l.hasEquals ? l.name : l.name + "=" + l.value);
        }
        return out;
    }

    void SetValue(const char* section, const char* key, const char* value)
    {
        long header = FindSection(section);
        if (header < 0) {
            m_lines.push_back(Classify(std::string(1, '[').append(section).append(1, ']')));
            header = static_cast<long>(m_lines.size() - 1);
        }
        long existing = FindKey(header, key);
        if (existing >= 0) {
            const Line& old = At(existing);
            m_lines[static_cast<std::size_t>(existing)] = Classify(old.name + "=" + value);
            return;
        }
        std::size_t insertAt = SectionEnd(header);
        while (insertAt > static_cast<std::size_t>(header) + 1 && Trim(m_lines[insertAt - 1].text).empty())
            --insertAt;
        m_lines.insert(m_lines.begin() + static_cast<long>(insertAt), Classify(std::string(key) + "=" + value));
    }

    void DeleteKey(const char* section, const char* key)
    {
        long i = FindKey(FindSection(section), key);
        if (i >= 0)
            m_lines.erase(m_lines.begin() + i);
    }

    void DeleteSection(const char* section)
    {
        long header = FindSection(section);
        if (header >= 0)
            m_lines.erase(m_lines.begin() + header, m_lines.begin() + static_cast<long>(SectionEnd(header)));
    }

    void ReplaceSection(const char* section, const std::vector<std::string>& lines)
    {
        long header = FindSection(section);
        std::vector<Line> body;
        for (const std::string& text : lines)
            body.push_back(Classify(text));
        if (header < 0) {
            m_lines.push_back(Classify(std::string(1, '[').append(section).append(1, ']')));
            m_lines.insert(m_lines.end(), body.begin(), body.end());
            return;
        }
        auto first = m_lines.begin() + header + 1;
        m_lines.erase(first, m_lines.begin() + static_cast<long>(SectionEnd(header)));
        m_lines.insert(m_lines.begin() + header + 1, body.begin(), body.end());
    }

    // Writes the lines back with CR LF endings; sets the error and returns false on failure.
    // The text written is left in `written`.
    bool Save(std::string& written)
    {
        std::filesystem::path path(m_path);
        std::error_code ec;
        if (m_inWindowsFolder)
            std::filesystem::create_directories(path.parent_path(), ec);
        if (!std::filesystem::is_directory(path.parent_path(), ec)) {
            SetLastError(ERROR_PATH_NOT_FOUND);
            return false;
        }
        std::string data;
        for (const Line& l : m_lines)
            data += l.text + "\r\n";
        std::ofstream out(m_path, std::ios::binary | std::ios::trunc);
        if (!out) {
            SetLastError(ERROR_ACCESS_DENIED);
            return false;
        }
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        out.close();
        if (!out) {
            SetLastError(ERROR_WRITE_FAULT);
            return false;
        }
        m_exists = true;
        written = std::move(data);
        return true;
    }

private:
    // Reads one line: which kind it is, and its section name or key and value.
    Line Classify(const std::string& text) const
    {
        Line line;
        line.text = text;
        std::string t = Trim(text);
        if (t.empty() || t[0] == ';')
            return line;
        if (t[0] == '[') {
            std::size_t close = t.find(']');
            line.kind = Line::Section;
            line.name = Trim(t.substr(1, close == std::string::npos ? std::string::npos : close - 1));
            return line;
        }
        line.kind = Line::Entry;
        std::size_t eq = t.find('=');
        line.hasEquals = eq != std::string::npos;
        line.name = Trim(t.substr(0, eq));
        if (line.hasEquals)
            line.value = Trim(t.substr(eq + 1));
        return line;
    }

    std::string m_path;
    bool m_exists = false;
    bool m_inWindowsFolder = false;
    std::vector<Line> m_lines;
};

std::mutex& ProfileLock()
{
    static std::mutex lock;
    return lock;
}

// What tells a file's versions apart without reading it.
struct FileStamp {
    bool exists = false;
    dev_t device = 0;
    ino_t inode = 0;
    off_t size = 0;
    std::int64_t modified = 0;  // ns
    std::int64_t changed = 0;   // ns
    bool operator==(const FileStamp&) const = default;
};

FileStamp StampOf(const std::string& hostPath)
{
    struct stat st;
    FileStamp stamp;
    if (stat(hostPath.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return stamp;
    stamp.exists = true;
    stamp.device = st.st_dev;
    stamp.inode = st.st_ino;
    stamp.size = st.st_size;
    stamp.modified = std::int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    stamp.changed = std::int64_t(st.st_ctim.tv_sec) * 1000000000 + st.st_ctim.tv_nsec;
    return stamp;
}

std::int64_t WallClockNs()
{
    timespec now;
    clock_gettime(CLOCK_REALTIME, &now);
    return std::int64_t(now.tv_sec) * 1000000000 + now.tv_nsec;
}

bool ReadWhole(const std::string& hostPath, std::string& data)
{
    std::ifstream in(hostPath, std::ios::binary);
    if (!in)
        return false;
    data.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return true;
}

// Profile files, parsed once and kept. Each use compares the file's stamp with the one it was
// read at and reads it again when another program (or an editor) changed it; the platform's own
// writes go through the kept copy to the file. File times move in coarse steps, so a file that
// changed shortly before it was read could change again under the same stamp: until its stamp is
// a little older than the read, its text is compared as well.
class ProfileCache {
public:
    // The profile that a name stands for, current with its file; nullptr when the name resolves
    // to no host path (unknown drive or path). Call under ProfileLock.
    ProfileFile* Get(LPCSTR fileName)
    {
        const std::string key = fileName ? fileName : "win.ini";
        const std::uint64_t generation = host::detail::PathMapGeneration();
        auto name = m_names.find(key);
        bool fresh = false;
        if (name == m_names.end() || name->second.generation != generation) {
            if (!Resolve(key, fileName, generation))
                return nullptr;
            name = m_names.find(key);
            fresh = true;
        }
        FileStamp stamp = StampOf(name->second.hostPath);
        if (!stamp.exists && !fresh) {
            // Made since, perhaps with its letters in another case.
            if (!Resolve(key, fileName, generation))
                return nullptr;
            name = m_names.find(key);
            stamp = StampOf(name->second.hostPath);
        }
        const std::string& hostPath = name->second.hostPath;
        if (m_files.size() >= kMaxFiles && m_files.find(hostPath) == m_files.end())
            m_files.clear();
        Kept& kept = m_files[hostPath];
        kept.file.SetPath(hostPath, name->second.inWindowsFolder);
        const std::int64_t now = WallClockNs();
        if (kept.valid && stamp == kept.stamp && (!stamp.exists || stamp.modified + kStampGrain < kept.checkedAt))
            return &kept.file;
        std::string data;
        const bool read = stamp.exists && ReadWhole(hostPath, data);
        if (!(kept.valid && read == kept.file.Exists() && data == kept.text)) {
            kept.file.Parse(read ? &data : nullptr);
            kept.text = std::move(data);
        }
        kept.stamp = stamp;
        kept.checkedAt = now;
        kept.valid = true;
        return &kept.file;
    }

    // After a successful save of `file`: its text is what the file holds now.
    void Saved(ProfileFile& file, std::string text)
    {
        auto it = m_files.find(file.Path());
        if (it == m_files.end())
            return;
        it->second.stamp = StampOf(file.Path());
        it->second.text = std::move(text);
        it->second.checkedAt = WallClockNs();
    }

    // After a failed save: the kept copy holds changes the file does not; read it again.
    void Forget(ProfileFile& file) { m_files.erase(file.Path()); }

private:
    static constexpr std::int64_t kStampGrain = 50000000;  // 50 ms
    static constexpr std::size_t kMaxFiles = 64;

    struct Name {
        std::string hostPath;
        bool inWindowsFolder = false;
        std::uint64_t generation = 0;
    };
    struct Kept {
        ProfileFile file;
        FileStamp stamp;
        std::string text;
        std::int64_t checkedAt = 0;
        bool valid = false;
    };

    bool Resolve(const std::string& key, LPCSTR fileName, std::uint64_t generation)
    {
        bool inWindowsFolder = false;
        std::optional<std::string> hostPath = ProfileFile::HostPathOf(fileName, inWindowsFolder);
        if (!hostPath) {
            m_names.erase(key);
            return false;
        }
        if (m_names.size() >= kMaxFiles && m_names.find(key) == m_names.end())
            m_names.clear();
        m_names[key] = Name{*hostPath, inWindowsFolder, generation};
        return true;
    }

    std::unordered_map<std::string, Name> m_names;
    std::unordered_map<std::string, Kept> m_files;
};

ProfileCache& Profiles()
{
    static auto* cache = new ProfileCache;  // profile calls may come from static destructors
    return *cache;
}

// Saves a changed profile and keeps the cache in step with the file.
BOOL SaveProfile(ProfileFile& file)
{
    std::string written;
    if (!file.Save(written)) {
        Profiles().Forget(file);
        return FALSE;
    }
    Profiles().Saved(file, std::move(written));
    return TRUE;
}

std::string Unquote(const std::string& value)
{
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0])
        return value.substr(1, value.size() - 2);
    return value;
}

// A single string into the caller's buffer: cut to nSize - 1 bytes.
DWORD CopyString(const std::string& s, LPSTR out, DWORD nSize)
{
    if (!out || nSize == 0)
        return 0;
    std::size_t n = std::min<std::size_t>(s.size(), nSize - 1);
    std::memcpy(out, s.data(), n);
    out[n] = '\0';
    return static_cast<DWORD>(n);
}

// A list into the caller's buffer: each item and a NUL, one more NUL at the end; when it does not
// fit, cut and ended with two NULs, returning nSize - 2.
DWORD CopyList(const std::vector<std::string>& items, LPSTR out, DWORD nSize)
{
    if (!out || nSize == 0)
        return 0;
    std::string all;
    for (const std::string& item : items) {
        all += item;
        all += '\0';
    }
    if (all.size() + 1 <= nSize) {
        std::memcpy(out, all.data(), all.size());
        out[all.size()] = '\0';
        if (all.empty() && nSize >= 2)
            out[1] = '\0';
        return static_cast<DWORD>(all.size());
    }
    if (nSize < 2) {
        out[0] = '\0';
        return 0;
    }
    std::memcpy(out, all.data(), nSize - 2);
    out[nSize - 2] = '\0';
    out[nSize - 1] = '\0';
    return nSize - 2;
}

std::string DefaultValue(LPCSTR lpDefault)
{
    std::string d = lpDefault ? lpDefault : "";
    while (!d.empty() && IsBlank(d.back()))
        d.pop_back();
    return d;
}

std::vector<std::string> SplitList(LPCSTR list)
{
    std::vector<std::string> items;
    for (const char* p = list; p && *p; p += std::strlen(p) + 1)
        items.emplace_back(p);
    return items;
}

}  // namespace

DWORD WINAPI GetPrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                                      DWORD nSize, LPCSTR lpFileName)
{
    std::lock_guard<std::mutex> guard(ProfileLock());
    ProfileFile* opened = Profiles().Get(lpFileName);
    static const ProfileFile kNone;
    const ProfileFile& file = opened ? *opened : kNone;
    if (!opened || !file.Exists())
        SetLastError(opened ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    if (!lpAppName)
        return CopyList(file.SectionNames(), lpReturnedString, nSize);
    if (!lpKeyName)
        return CopyList(file.Entries(file.FindSection(lpAppName), true), lpReturnedString, nSize);
    long key = file.FindKey(file.FindSection(lpAppName), lpKeyName);
    if (key < 0)
        return CopyString(DefaultValue(lpDefault), lpReturnedString, nSize);
    return CopyString(Unquote(file.At(key).value), lpReturnedString, nSize);
}

UINT WINAPI GetPrivateProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault, LPCSTR lpFileName)
{
    char buffer[256];
    DWORD n = GetPrivateProfileStringA(lpAppName, lpKeyName, "", buffer, sizeof buffer, lpFileName);
    if (!lpAppName || !lpKeyName || n == 0)
        return static_cast<UINT>(nDefault);
    const char* p = buffer;
    while (IsBlank(*p))
        ++p;
    bool negative = false;
    if (*p == '+' || *p == '-')
        negative = *p++ == '-';
    unsigned base = 10;
    if (p[0] == '0' && (p[1] == 'x' || p[1] == 'X')) {
        base = 16;
        p += 2;
    }
    std::uint32_t value = 0;
    for (;; ++p) {
        unsigned digit;
        if (*p >= '0' && *p <= '9')
            digit = static_cast<unsigned>(*p - '0');
        else if (base == 16 && ((*p | 0x20) >= 'a' && (*p | 0x20) <= 'f'))
            digit = static_cast<unsigned>((*p | 0x20) - 'a' + 10);
        else
            break;
        value = value * base + digit;
    }
    return negative ? 0u - value : value;
}

DWORD WINAPI GetPrivateProfileSectionNamesA(LPSTR lpszReturnBuffer, DWORD nSize, LPCSTR lpFileName)
{
    return GetPrivateProfileStringA(nullptr, nullptr, nullptr, lpszReturnBuffer, nSize, lpFileName);
}

DWORD WINAPI GetPrivateProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize, LPCSTR lpFileName)
{
    std::lock_guard<std::mutex> guard(ProfileLock());
    ProfileFile* opened = Profiles().Get(lpFileName);
    if (!opened || !opened->Exists())
        SetLastError(opened ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    std::vector<std::string> lines;
    if (lpAppName && opened)
        lines = opened->Entries(opened->FindSection(lpAppName), false);
    return CopyList(lines, lpReturnedString, nSize);
}

BOOL WINAPI WritePrivateProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpAppName) {
        if (!lpKeyName && !lpString)
            return TRUE;
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(ProfileLock());
    ProfileFile* file = Profiles().Get(lpFileName);
    if (!file) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!lpKeyName || !lpString) {
        if (!file->Exists())
            return TRUE;
        if (!lpKeyName)
            file->DeleteSection(lpAppName);
        else
            file->DeleteKey(lpAppName, lpKeyName);
        return SaveProfile(*file);
    }
    file->SetValue(lpAppName, lpKeyName, lpString);
    return SaveProfile(*file);
}

BOOL WINAPI WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpAppName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(ProfileLock());
    ProfileFile* file = Profiles().Get(lpFileName);
    if (!file) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!lpString) {
        if (!file->Exists())
            return TRUE;
        file->DeleteSection(lpAppName);
    } else {
        file->ReplaceSection(lpAppName, SplitList(lpString));
    }
    return SaveProfile(*file);
}

DWORD WINAPI GetProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpDefault, LPSTR lpReturnedString,
                               DWORD nSize)
{
    return GetPrivateProfileStringA(lpAppName, lpKeyName, lpDefault, lpReturnedString, nSize, "win.ini");
}

UINT WINAPI GetProfileIntA(LPCSTR lpAppName, LPCSTR lpKeyName, INT nDefault)
{
    return GetPrivateProfileIntA(lpAppName, lpKeyName, nDefault, "win.ini");
}

DWORD WINAPI GetProfileSectionA(LPCSTR lpAppName, LPSTR lpReturnedString, DWORD nSize)
{
    return GetPrivateProfileSectionA(lpAppName, lpReturnedString, nSize, "win.ini");
}

BOOL WINAPI WriteProfileStringA(LPCSTR lpAppName, LPCSTR lpKeyName, LPCSTR lpString)
{
    return WritePrivateProfileStringA(lpAppName, lpKeyName, lpString, "win.ini");
}

BOOL WINAPI WriteProfileSectionA(LPCSTR lpAppName, LPCSTR lpString)
{
    return WritePrivateProfileSectionA(lpAppName, lpString, "win.ini");
}
