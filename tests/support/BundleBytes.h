// Resource bundles put together byte by byte (the layout is described in host/Resources.h), for
// tests that hand the resource loader resources of their own making, damaged ones included: write
// the bytes as a library file and open it with LoadLibraryEx(..., LOAD_LIBRARY_AS_DATAFILE).
#pragma once

#include <host/Resources.h>

#include <cstdint>
#include <string>
#include <vector>

namespace testbundle {

struct Resource {
    host::ResourceId type;
    host::ResourceId name;
    std::string data;
    std::uint16_t language = 0;
};

inline void PutWord(std::string& out, std::uint16_t value)
{
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>(value >> 8);
}

inline void PutDword(std::string& out, std::uint32_t value)
{
    PutWord(out, static_cast<std::uint16_t>(value & 0xFFFF));
    PutWord(out, static_cast<std::uint16_t>(value >> 16));
}

inline void PutId(std::string& out, const host::ResourceId& id)
{
    if (id.IsOrdinal()) {
        PutWord(out, 0xFFFF);
        PutWord(out, id.ordinal);
        return;
    }
    PutWord(out, static_cast<std::uint16_t>(id.name.size()));
    out += id.name;
    if (id.name.size() % 2)
        out += '\0';
}

// The bundle of the resources, each one's data at the next multiple of 8 plus `misalign` bytes
// (0: the layout the resource compiler writes).
inline std::string Make(const std::vector<Resource>& resources, std::size_t misalign = 0)
{
    std::size_t directory = host::kBundleHeaderSize;
    for (const Resource& r : resources) {
        std::string ids;
        PutId(ids, r.type);
        PutId(ids, r.name);
        directory += 12 + ids.size();
    }
    std::vector<std::uint32_t> offsets;
    std::size_t at = directory;
    for (const Resource& r : resources) {
        at = (at + host::kBundleDataAlignment - 1) / host::kBundleDataAlignment * host::kBundleDataAlignment + misalign;
        offsets.push_back(static_cast<std::uint32_t>(at));
        at += r.data.size();
    }
    std::string out(host::kBundleMagic, sizeof host::kBundleMagic);
    PutDword(out, host::kBundleVersion);
    PutDword(out, static_cast<std::uint32_t>(resources.size()));
    PutDword(out, 0);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        PutDword(out, offsets[i]);
        PutDword(out, static_cast<std::uint32_t>(resources[i].data.size()));
        PutWord(out, resources[i].language);
        PutWord(out, 0);
        PutId(out, resources[i].type);
        PutId(out, resources[i].name);
    }
    for (std::size_t i = 0; i < resources.size(); ++i) {
        out.resize(offsets[i], '\0');
        out += resources[i].data;
    }
    return out;
}

}  // namespace testbundle
