// Version information: the VS_VERSIONINFO resource of a module file, and the search of its
// blocks. The buffer GetFileVersionInfo fills holds the resource (size bytes), the buffer's own
// length (4 bytes at offset size), and room for VerQueryValue's Windows-1252 copies of the text
// values: the copy of a value found at offset o of the resource goes to size + 8 + o / 2, so the
// copies of different values never overlap.
#include <windows.h>

#include <host/Resources.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <strings.h>
#include <vector>

namespace {

WORD ReadWord(const BYTE* p) { return static_cast<WORD>(p[0] | (p[1] << 8)); }
std::size_t AlignDword(std::size_t at) { return (at + 3) & ~static_cast<std::size_t>(3); }
constexpr DWORD kTrailer = 8;

struct Node {
    std::size_t start = 0, end = 0;  // within the block
    WORD valueLength = 0, type = 0;
    std::u16string key;
    std::size_t value = 0;     // where the value starts
    std::size_t children = 0;  // where the first child starts
};

// Reads the node at `at` of a block of `size` bytes; false when it does not fit.
bool ReadNode(const BYTE* block, std::size_t size, std::size_t at, Node& node)
{
    if (at + 6 > size)
        return false;
    WORD length = ReadWord(block + at);
    if (length < 6 || at + length > size)
        return false;
    node.start = at;
    node.end = at + length;
    node.valueLength = ReadWord(block + at + 2);
    node.type = ReadWord(block + at + 4);
    std::size_t p = at + 6;
    node.key.clear();
    for (;; p += 2) {
        if (p + 2 > node.end)
            return false;
        char16_t c = static_cast<char16_t>(ReadWord(block + p));
        if (!c)
            break;
        node.key += c;
    }
    node.value = AlignDword(p + 2);
    std::size_t valueBytes = node.type == 1 ? node.valueLength * 2u : node.valueLength;
    node.children = AlignDword(node.value + valueBytes);
    return node.value + valueBytes <= node.end;
}

bool KeyMatches(const std::u16string& key, const std::string& wanted)
{
    std::string text = host::Cp1252FromResourceText(key);
    return strcasecmp(text.c_str(), wanted.c_str()) == 0;
}

HRSRC FindVersion(HMODULE module)
{
    return FindResource(module, MAKEINTRESOURCE(VS_VERSION_INFO), RT_VERSION);
}

}  // namespace

DWORD WINAPI GetFileVersionInfoSize(LPCSTR lptstrFilename, LPDWORD lpdwHandle)
{
    if (lpdwHandle)
        *lpdwHandle = 0;
    HMODULE module = LoadLibraryEx(lptstrFilename, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return 0;
    }
    HRSRC resource = FindVersion(module);
    DWORD size = resource ? SizeofResource(module, resource) * 2 + kTrailer : 0;
    DWORD error = GetLastError();
    FreeLibrary(module);
    if (!size)
        SetLastError(error == ERROR_SUCCESS ? ERROR_RESOURCE_TYPE_NOT_FOUND : error);
    return size;
}

BOOL WINAPI GetFileVersionInfo(LPCSTR lptstrFilename, DWORD, DWORD dwLen, LPVOID lpData)
{
    if (!lpData) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    HMODULE module = LoadLibraryEx(lptstrFilename, nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        SetLastError(ERROR_FILE_NOT_FOUND);
        return FALSE;
    }
    HRSRC resource = FindVersion(module);
    BOOL ok = FALSE;
    if (resource) {
        DWORD size = SizeofResource(module, resource);
        const void* data = LockResource(LoadResource(module, resource));
        if (dwLen < size + kTrailer) {
            SetLastError(ERROR_INSUFFICIENT_BUFFER);
        } else {
            // VerQueryValue finds the trailer after the block's own length, which a resource
            // padded at its end may exceed.
            // The copy's root node says no more than the bytes filled, so that VerQueryValue,
            // which goes by that length, stays inside them.
            DWORD blockLength = size >= 2 ? std::min<DWORD>(size, ReadWord(static_cast<const BYTE*>(data))) : size;
            std::memset(lpData, 0, dwLen);
            std::memcpy(lpData, data, size);
            if (size >= 2) {
                static_cast<BYTE*>(lpData)[0] = static_cast<BYTE>(blockLength);
                static_cast<BYTE*>(lpData)[1] = static_cast<BYTE>(blockLength >> 8);
            }
            std::memcpy(static_cast<BYTE*>(lpData) + blockLength, &dwLen, sizeof dwLen);
            ok = TRUE;
        }
    }
    FreeLibrary(module);
    return ok;
}

BOOL WINAPI VerQueryValue(LPCVOID pBlock, LPCSTR lpSubBlock, LPVOID* lplpBuffer, PUINT puLen)
{
    if (puLen)
        *puLen = 0;
    if (!pBlock || !lpSubBlock || !lplpBuffer)
        return FALSE;
    auto block = static_cast<BYTE*>(const_cast<void*>(pBlock));
    std::size_t size = ReadWord(block);
    Node node;
    if (!ReadNode(block, size, 0, node))
        return FALSE;

    // Walk the path one backslash-separated key at a time.
    std::vector<std::string> keys;
    std::string current;
    for (const char* p = lpSubBlock;; ++p) {
        if (*p == '\\' || *p == '\0') {
            if (!current.empty())
                keys.push_back(current);
            current.clear();
            if (!*p)
                break;
        } else {
            current += *p;
        }
    }
    for (const std::string& key : keys) {
        bool found = false;
        for (std::size_t at = node.children; at < node.end;) {
            Node child;
            if (!ReadNode(block, size, at, child))
                return FALSE;
            if (KeyMatches(child.key, key)) {
                node = child;
                found = true;
                break;
            }
            at = AlignDword(child.end);
        }
        if (!found)
            return FALSE;
    }
    if (keys.empty()) {  // the root: VS_FIXEDFILEINFO
        if (node.valueLength < sizeof(VS_FIXEDFILEINFO))
            return FALSE;
        *lplpBuffer = block + node.value;
        if (puLen)
            *puLen = sizeof(VS_FIXEDFILEINFO);
        return TRUE;
    }
    if (node.type != 1) {
        *lplpBuffer = block + node.value;
        if (puLen)
            *puLen = node.valueLength;
        return TRUE;
    }
    // A text value: its Windows-1252 copy after the resource, when the buffer has room for it.
    DWORD bufferLength = 0;
    std::memcpy(&bufferLength, block + size, sizeof bufferLength);
    std::size_t copyAt = size + kTrailer + node.value / 2;
    if (copyAt + node.valueLength > bufferLength)
        return FALSE;
    char* text = reinterpret_cast<char*>(block + copyAt);
    for (WORD i = 0; i < node.valueLength; ++i)
        text[i] = host::Cp1252FromResourceChar(static_cast<char16_t>(ReadWord(block + node.value + 2 * i)));
    if (node.valueLength)
        text[node.valueLength - 1] = '\0';
    *lplpBuffer = text;
    if (puLen)
        *puLen = node.valueLength;
    return TRUE;
}
