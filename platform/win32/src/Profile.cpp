// Profile files: parsing, look-up and in-place editing of "[section]" / "key=value" text files.
#include <windows.h>

#include <host/Paths.h>

#include "CodePage.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <mutex>
#include <optional>
#include <string>
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
    // Resolves the platform file name to a host path; false when the drive or path is unknown.
    bool Open(LPCSTR fileName)
    {
        std::string name = fileName ? fileName : "win.ini";
        bool absolute = (name.size() >= 2 && name[1] == ':') || name[0] == '\\' || name[0] == '/';
        bool relative = name.rfind(".\\", 0) == 0 || name.rfind("..\\", 0) == 0 || name.rfind("./", 0) == 0 ||
                        name.rfind("../", 0) == 0;
        if (!absolute && !relative) {
            std::optional<std::string> folder = WindowsFolder();
            if (!folder)
                return false;
            m_inWindowsFolder = true;
            name = *folder + (folder->back() == '\\' ? "" : "\\") + name;
        }
        std::optional<std::string> host = host::ToHostPath(name);
        if (!host)
            return false;
        m_path = *host;
        std::ifstream in(m_path, std::ios::binary);
        if (!in)
            return true;
        m_exists = true;
        std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::size_t pos = 0;
        while (pos < data.size()) {
            std::size_t end = data.find('\n', pos);
            std::string text = data.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            if (!text.empty() && text.back() == '\r')
                text.pop_back();
            m_lines.push_back(Classify(text));
            pos = end == std::string::npos ? data.size() : end + 1;
        }
        return true;
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
        for (std::size_t i = static_cast<std::size_t>(header) + 1; i < SectionEnd(header); ++i)
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
        for (std::size_t i = static_cast<std::size_t>(header) + 1; i < SectionEnd(header); ++i) {
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
    bool Save()
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
    ProfileFile file;
    bool opened = file.Open(lpFileName);
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
    ProfileFile file;
    bool opened = file.Open(lpFileName);
    if (!opened || !file.Exists())
        SetLastError(opened ? ERROR_FILE_NOT_FOUND : ERROR_PATH_NOT_FOUND);
    std::vector<std::string> lines;
    if (lpAppName)
        lines = file.Entries(file.FindSection(lpAppName), false);
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
    ProfileFile file;
    if (!file.Open(lpFileName)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!lpKeyName || !lpString) {
        if (!file.Exists())
            return TRUE;
        if (!lpKeyName)
            file.DeleteSection(lpAppName);
        else
            file.DeleteKey(lpAppName, lpKeyName);
        return file.Save();
    }
    file.SetValue(lpAppName, lpKeyName, lpString);
    return file.Save();
}

BOOL WINAPI WritePrivateProfileSectionA(LPCSTR lpAppName, LPCSTR lpString, LPCSTR lpFileName)
{
    if (!lpAppName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard<std::mutex> guard(ProfileLock());
    ProfileFile file;
    if (!file.Open(lpFileName)) {
        SetLastError(ERROR_PATH_NOT_FOUND);
        return FALSE;
    }
    if (!lpString) {
        if (!file.Exists())
            return TRUE;
        file.DeleteSection(lpAppName);
    } else {
        file.ReplaceSection(lpAppName, SplitList(lpString));
    }
    return file.Save();
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
