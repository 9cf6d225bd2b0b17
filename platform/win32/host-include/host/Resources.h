// Resource bundles: the compiled form of a module's resource script.
//
// The resource compiler (tools/rc) writes a bundle; the build embeds it in its module (a
// registration object in the module hands it to the loader when the module is loaded) or, for a
// resource-only library, writes it as the library's file, which LoadLibrary opens as a data
// module. Each resource's data is in the platform's own binary layout (string blocks of 16,
// menu and dialog templates, accelerator tables, VS_VERSIONINFO, icon and cursor directories,
// bitmaps as the BMP file less its file header), so LockResource returns what it would return on
// the real platform.
//
// Layout (all numbers little-endian):
//   header   "VLRB", u32 format version (kBundleVersion), u32 entry count, u32 reserved (0)
//   entries  one after the other, each:
//              u32 data offset from the start of the bundle (a multiple of 8)
//              u32 data size in bytes
//              u16 language (MAKELANGID form), u16 reserved (0)
//              type, then name, each either u16 0xFFFF + u16 ordinal,
//                                     or u16 length n (< 0xFFFF) + n bytes of upper-case text,
//                                        padded with a zero byte to an even length
//   data     each resource's bytes at its offset
//
// Not part of the platform's interface: the compiler, the loader and tests use it. This header
// needs nothing from <windows.h>, so the host build tools can include it too.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace host {

inline constexpr char kBundleMagic[4] = {'V', 'L', 'R', 'B'};
inline constexpr std::uint32_t kBundleVersion = 1;
inline constexpr std::size_t kBundleHeaderSize = 16;
inline constexpr std::size_t kBundleDataAlignment = 8;
// The section of a program or code library that holds its embedded bundle (one per module).
inline constexpr char kBundleSectionName[] = "vl_resources";

// A resource type or name: an ordinal (1 to 65535) or a text name kept in upper case.
struct ResourceId {
    std::uint16_t ordinal = 0;
    std::string name;

    bool IsOrdinal() const { return name.empty(); }
    static ResourceId Ordinal(std::uint16_t value) { return ResourceId{value, {}}; }
    static ResourceId Named(std::string text)
    {
        for (char& c : text)
            if (c >= 'a' && c <= 'z')
                c = static_cast<char>(c - 'a' + 'A');
        return ResourceId{0, std::move(text)};
    }
    bool operator==(const ResourceId&) const = default;
};

// One resource of a parsed bundle; `data` points into the bundle's own bytes.
struct BundleEntry {
    ResourceId type;
    ResourceId name;
    std::uint16_t language = 0;
    const unsigned char* data = nullptr;
    std::uint32_t size = 0;
};

// Text in resources (string tables, menus, dialogs, version blocks) is UTF-16, as on the real
// platform; the platform's interface and the scripts speak Windows-1252. These convert between
// them the way the platform's own conversion does: the five unassigned bytes of 0x80..0x9F keep
// their own value, and a character with no Windows-1252 byte becomes '?'.
namespace detail {
inline constexpr char16_t kCp1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};
}  // namespace detail

inline char16_t ResourceCharFromCp1252(unsigned char byte)
{
    return (byte >= 0x80 && byte < 0xA0) ? detail::kCp1252High[byte - 0x80] : static_cast<char16_t>(byte);
}

inline char Cp1252FromResourceChar(char16_t ch)
{
    if (ch < 0x80 || (ch >= 0xA0 && ch < 0x100))
        return static_cast<char>(ch);
    for (int i = 0; i < 32; ++i)
        if (detail::kCp1252High[i] == ch)
            return static_cast<char>(0x80 + i);
    return '?';
}

inline std::u16string ResourceTextFromCp1252(const std::string& text)
{
    std::u16string out;
    out.reserve(text.size());
    for (char c : text)
        out += ResourceCharFromCp1252(static_cast<unsigned char>(c));
    return out;
}

inline std::string Cp1252FromResourceText(const std::u16string& text)
{
    std::string out;
    out.reserve(text.size());
    for (char16_t c : text)
        out += Cp1252FromResourceChar(c);
    return out;
}

// Reads a bundle's directory. Returns nothing when the bytes are not a bundle of this format
// version, or any entry lies outside them or starts at an offset that is not a multiple of 8.
std::optional<std::vector<BundleEntry>> ParseBundle(const void* bytes, std::size_t size);

// True when the bytes begin like a bundle (used to tell a resource-only library file from a
// code library).
bool LooksLikeBundle(const void* bytes, std::size_t size);

// String resource `id` of a module (an HMODULE; nullptr: the program) in Windows-1252, of any
// length. False when the module has no such string (or it is empty).
bool LoadStringResource(void* module, unsigned id, std::string& out);

// The registration object that the build puts into every module with resources: constructed
// while the module loads, it tells the loader which module the bundle belongs to (found from the
// address of the bundle's bytes); destroyed when the module unloads.
class ResourceBundleRegistration {
public:
    ResourceBundleRegistration(const unsigned char* bytes, std::size_t size);
    ~ResourceBundleRegistration();
    ResourceBundleRegistration(const ResourceBundleRegistration&) = delete;
    ResourceBundleRegistration& operator=(const ResourceBundleRegistration&) = delete;

private:
    const unsigned char* m_bytes;
};

}  // namespace host
