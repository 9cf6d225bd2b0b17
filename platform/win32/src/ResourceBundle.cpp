// Reading resource bundles and the registrations of embedded ones.
#include "ModuleTable.h"

#include <cstring>
#include <dlfcn.h>
#include <map>
#include <memory>

namespace host {

namespace {

std::uint16_t Word(const unsigned char* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }
std::uint32_t Dword(const unsigned char* p)
{
    return static_cast<std::uint32_t>(Word(p)) | (static_cast<std::uint32_t>(Word(p + 2)) << 16);
}

bool ReadId(const unsigned char* base, std::size_t size, std::size_t& at, ResourceId& id)
{
    if (size - at < 2)
        return false;
    std::uint16_t tag = Word(base + at);
    at += 2;
    if (tag == 0xFFFF) {
        if (size - at < 2)
            return false;
        id = ResourceId::Ordinal(Word(base + at));
        at += 2;
        return true;
    }
    std::size_t padded = tag + (tag % 2);
    if (tag == 0 || size - at < padded)
        return false;
    id = ResourceId::Named(std::string(reinterpret_cast<const char*>(base + at), tag));
    at += padded;
    return true;
}

}  // namespace

bool LooksLikeBundle(const void* bytes, std::size_t size)
{
    return size >= kBundleHeaderSize && std::memcmp(bytes, kBundleMagic, 4) == 0;
}

std::optional<std::vector<BundleEntry>> ParseBundle(const void* bytes, std::size_t size)
{
    auto base = static_cast<const unsigned char*>(bytes);
    if (!LooksLikeBundle(bytes, size) || Dword(base + 4) != kBundleVersion)
        return std::nullopt;
    std::uint32_t count = Dword(base + 8);
    std::vector<BundleEntry> entries;
    std::size_t at = kBundleHeaderSize;
    for (std::uint32_t i = 0; i < count; ++i) {
        if (size - at < 12)
            return std::nullopt;
        BundleEntry entry;
        std::uint32_t offset = Dword(base + at);
        entry.size = Dword(base + at + 4);
        entry.language = Word(base + at + 8);
        at += 12;
        if (!ReadId(base, size, at, entry.type) || !ReadId(base, size, at, entry.name))
            return std::nullopt;
        // Data starts on a multiple of 8, so that the loader may read a resource's structures
        // where they lie.
        if (offset % kBundleDataAlignment != 0 || offset > size || entry.size > size - offset)
            return std::nullopt;
        entry.data = base + offset;
        entries.push_back(std::move(entry));
    }
    return entries;
}

}  // namespace host

namespace win32 {

namespace {

struct Registered {
    const unsigned char* bytes;
    std::vector<host::BundleEntry> entries;
};

// Embedded bundles by the base address of the module that holds them.
std::map<const void*, std::unique_ptr<Registered>>& Registry()
{
    static auto* registry = new std::map<const void*, std::unique_ptr<Registered>>;
    return *registry;
}

}  // namespace

const std::vector<host::BundleEntry>* RegisteredResources(HMODULE module)
{
    auto& registry = Registry();
    auto it = registry.find(module);
    return it == registry.end() ? nullptr : &it->second->entries;
}

}  // namespace win32

namespace host {

ResourceBundleRegistration::ResourceBundleRegistration(const unsigned char* bytes, std::size_t size) : m_bytes(bytes)
{
    Dl_info info{};
    if (!dladdr(bytes, &info) || !info.dli_fbase)
        return;
    auto entries = ParseBundle(bytes, size);
    if (!entries)
        return;
    std::lock_guard<std::recursive_mutex> lock(win32::ModuleLock());
    win32::Registry()[info.dli_fbase].reset(new win32::Registered{bytes, std::move(*entries)});
}

ResourceBundleRegistration::~ResourceBundleRegistration()
{
    std::lock_guard<std::recursive_mutex> lock(win32::ModuleLock());
    auto& registry = win32::Registry();
    for (auto it = registry.begin(); it != registry.end(); ++it)
        if (it->second->bytes == m_bytes) {
            registry.erase(it);
            return;
        }
}

}  // namespace host
