// Finding and loading resources of a module, and string resources.
#include "ModuleTable.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <strings.h>

using namespace win32;

namespace {

// A name or type argument: an ordinal, "#123", or a name compared without regard to case.
host::ResourceId IdFromArgument(LPCSTR arg)
{
    if (IS_INTRESOURCE(arg))
        return host::ResourceId::Ordinal(LOWORD(reinterpret_cast<ULONG_PTR>(arg)));
    if (arg[0] == '#') {
        char* end = nullptr;
        unsigned long value = std::strtoul(arg + 1, &end, 10);
        if (*end == '\0' && end != arg + 1 && value <= 0xFFFF)
            return host::ResourceId::Ordinal(static_cast<WORD>(value));
    }
    return host::ResourceId::Named(arg);
}

// Which entry to take among languages: the asked language only, or for a neutral request the
// neutral one, then the user's default language (US English), then any English, then the first.
const host::BundleEntry* PickLanguage(const std::vector<const host::BundleEntry*>& matches, WORD language)
{
    if (language != 0) {
        for (const host::BundleEntry* e : matches)
            if (e->language == language)
                return e;
        return nullptr;
    }
    for (WORD preferred : {WORD(0), WORD(0x0409)})
        for (const host::BundleEntry* e : matches)
            if (e->language == preferred)
                return e;
    for (const host::BundleEntry* e : matches)
        if ((e->language & 0x3FF) == 0x09)
            return e;
    return matches.front();
}

const host::BundleEntry* Lookup(HMODULE module, const host::ResourceId& type, const host::ResourceId& name,
                                WORD language)
{
    const std::vector<host::BundleEntry>* entries = ResourcesOf(module);
    if (!entries) {
        SetLastError(ERROR_RESOURCE_DATA_NOT_FOUND);
        return nullptr;
    }
    bool typeFound = false;
    std::vector<const host::BundleEntry*> matches;
    for (const host::BundleEntry& e : *entries) {
        if (!(e.type == type))
            continue;
        typeFound = true;
        if (e.name == name)
            matches.push_back(&e);
    }
    if (matches.empty()) {
        SetLastError(typeFound ? ERROR_RESOURCE_NAME_NOT_FOUND : ERROR_RESOURCE_TYPE_NOT_FOUND);
        return nullptr;
    }
    const host::BundleEntry* picked = PickLanguage(matches, language);
    if (!picked)
        SetLastError(ERROR_RESOURCE_LANG_NOT_FOUND);
    return picked;
}

// The UTF-16 text of string uID, or false when the module has no such string.
bool FindString(HMODULE module, UINT uID, std::u16string& out)
{
    std::lock_guard<std::recursive_mutex> lock(ModuleLock());
    const host::BundleEntry* block = Lookup(module, host::ResourceId::Ordinal(6),
                                            host::ResourceId::Ordinal(static_cast<WORD>((uID >> 4) + 1)), 0);
    if (!block || uID > 0xFFFF)
        return false;
    const unsigned char* p = block->data;
    const unsigned char* end = p + block->size;
    for (UINT i = 0; i <= (uID & 15); ++i) {
        if (end - p < 2)
            return false;
        std::size_t length = static_cast<std::size_t>(p[0] | (p[1] << 8));
        p += 2;
        if (static_cast<std::size_t>(end - p) < 2 * length)
            return false;
        if (i == (uID & 15)) {
            out.clear();
            for (std::size_t c = 0; c < length; ++c)
                out += static_cast<char16_t>(p[2 * c] | (p[2 * c + 1] << 8));
            return length > 0;
        }
        p += 2 * length;
    }
    return false;
}

}  // namespace

namespace host {

bool LoadStringResource(void* module, unsigned id, std::string& out)
{
    std::u16string text;
    if (!FindString(static_cast<HMODULE>(module), id, text))
        return false;
    out = Cp1252FromResourceText(text);
    return true;
}

}  // namespace host

HRSRC WINAPI FindResourceEx(HMODULE hModule, LPCSTR lpType, LPCSTR lpName, WORD wLanguage)
{
    if (!lpType || !lpName) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return nullptr;
    }
    std::lock_guard<std::recursive_mutex> lock(ModuleLock());
    const host::BundleEntry* entry = Lookup(hModule, IdFromArgument(lpType), IdFromArgument(lpName), wLanguage);
    return reinterpret_cast<HRSRC>(const_cast<host::BundleEntry*>(entry));
}

HRSRC WINAPI FindResource(HMODULE hModule, LPCSTR lpName, LPCSTR lpType)
{
    return FindResourceEx(hModule, lpType, lpName, 0);
}

HGLOBAL WINAPI LoadResource(HMODULE, HRSRC hResInfo)
{
    if (!hResInfo) {
        SetLastError(ERROR_INVALID_HANDLE);
        return nullptr;
    }
    auto entry = reinterpret_cast<const host::BundleEntry*>(hResInfo);
    return const_cast<unsigned char*>(entry->data);
}

LPVOID WINAPI LockResource(HGLOBAL hResData) { return hResData; }

DWORD WINAPI SizeofResource(HMODULE, HRSRC hResInfo)
{
    if (!hResInfo) {
        SetLastError(ERROR_INVALID_HANDLE);
        return 0;
    }
    return reinterpret_cast<const host::BundleEntry*>(hResInfo)->size;
}

// Resources live as long as their module; there is nothing to free.
BOOL WINAPI FreeResource(HGLOBAL) { return FALSE; }

int WINAPI LoadString(HINSTANCE hInstance, UINT uID, LPSTR lpBuffer, int cchBufferMax)
{
    if (!lpBuffer || cchBufferMax <= 0) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    std::u16string text;
    if (!FindString(hInstance, uID, text)) {
        lpBuffer[0] = '\0';
        return 0;
    }
    std::size_t count = std::min<std::size_t>(text.size(), static_cast<std::size_t>(cchBufferMax - 1));
    for (std::size_t i = 0; i < count; ++i)
        lpBuffer[i] = host::Cp1252FromResourceChar(text[i]);
    lpBuffer[count] = '\0';
    return static_cast<int>(count);
}

int WINAPI LookupIconIdFromDirectoryEx(PBYTE presbits, BOOL fIcon, int cxDesired, int cyDesired, UINT Flags)
{
    const int kSystemSize = 32;
    const UINT kMonochrome = 0x1;
    if (!presbits) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return 0;
    }
    auto word = [&](std::size_t at) { return static_cast<int>(presbits[at] | (presbits[at + 1] << 8)); };
    if (word(0) != 0 || word(2) != (fIcon ? 1 : 2))
        return 0;
    int cx = cxDesired ? cxDesired : kSystemSize;
    int cy = cyDesired ? cyDesired : kSystemSize;
    int best = 0, bestDistance = 0, bestDepth = 0;
    for (int i = 0, count = word(4); i < count; ++i) {
        std::size_t e = 6 + 14 * static_cast<std::size_t>(i);
        int width, height, depth;
        if (fIcon) {
            width = presbits[e] ? presbits[e] : 256;
            height = presbits[e + 1] ? presbits[e + 1] : 256;
            depth = word(e + 6);
            if (depth == 0)  // older directories give a colour count instead
                for (int colours = presbits[e + 2]; colours > 1; colours >>= 1)
                    ++depth;
        } else {
            width = word(e);
            height = word(e + 2) / 2;  // both masks
            depth = word(e + 6);
        }
        int distance = std::abs(width - cx) + std::abs(height - cy);
        bool better = best == 0 || distance < bestDistance ||
                      (distance == bestDistance && ((Flags & kMonochrome) ? depth < bestDepth : depth > bestDepth));
        if (better) {
            best = word(e + 12);
            bestDistance = distance;
            bestDepth = depth;
        }
    }
    return best;
}

int WINAPI LookupIconIdFromDirectory(PBYTE presbits, BOOL fIcon)
{
    return LookupIconIdFromDirectoryEx(presbits, fIcon, 0, 0, 0);
}
