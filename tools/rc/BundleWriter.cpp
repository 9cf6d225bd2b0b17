#include "BundleWriter.h"

#include <host/Resources.h>

namespace rc {

namespace {

void WriteId(ByteWriter& w, const host::ResourceId& id)
{
    if (id.IsOrdinal()) {
        w.Word(0xFFFF);
        w.Word(id.ordinal);
        return;
    }
    w.Word(static_cast<std::uint16_t>(id.name.size()));
    for (char c : id.name)
        w.Byte(static_cast<std::uint8_t>(c));
    if (id.name.size() % 2)
        w.Byte(0);
}

}  // namespace

Bytes WriteBundle(const std::vector<CompiledResource>& resources)
{
    // The directory first, to learn where the data starts.
    auto directory = [&](const std::vector<std::uint32_t>& offsets) {
        ByteWriter w;
        for (char c : host::kBundleMagic)
            w.Byte(static_cast<std::uint8_t>(c));
        w.Dword(host::kBundleVersion);
        w.Dword(static_cast<std::uint32_t>(resources.size()));
        w.Dword(0);
        for (std::size_t i = 0; i < resources.size(); ++i) {
            const CompiledResource& r = resources[i];
            w.Dword(offsets.empty() ? 0 : offsets[i]);
            w.Dword(static_cast<std::uint32_t>(r.data.size()));
            w.Word(r.language);
            w.Word(0);
            WriteId(w, r.type);
            WriteId(w, r.name);
        }
        return w;
    };
    std::size_t at = directory({}).Size();
    std::vector<std::uint32_t> offsets;
    for (const CompiledResource& r : resources) {
        at = (at + host::kBundleDataAlignment - 1) / host::kBundleDataAlignment * host::kBundleDataAlignment;
        offsets.push_back(static_cast<std::uint32_t>(at));
        at += r.data.size();
    }
    ByteWriter w = directory(offsets);
    for (std::size_t i = 0; i < resources.size(); ++i) {
        while (w.Size() < offsets[i])
            w.Byte(0);
        w.Append(resources[i].data);
    }
    return w.Take();
}

std::string EmbeddingSource(const Bytes& bundle, const std::string& scriptName)
{
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(bundle.size() * 5 + 512);
    out += "// The compiled resources of " + scriptName + ", written by the resource compiler.\n";
    out += "#include <host/Resources.h>\n\nnamespace {\n\n";
    // In a section of its own, so that the loader can also read the bundle from the module's
    // file without loading it (LoadLibraryEx with LOAD_LIBRARY_AS_DATAFILE).
    out += "__attribute__((section(\"" + std::string(host::kBundleSectionName) +
           "\"), used)) alignas(8) const unsigned char kBundle[] = {";
    for (std::size_t i = 0; i < bundle.size(); ++i) {
        if (i % 16 == 0)
            out += "\n   ";
        out += " 0x";
        out += kHex[bundle[i] >> 4];
        out += kHex[bundle[i] & 15];
        out += ',';
    }
    out += "\n};\n\nconst host::ResourceBundleRegistration kRegistration(kBundle, sizeof kBundle);\n\n}  // namespace\n";
    return out;
}

std::string DependencyFile(const std::string& output, const std::vector<std::string>& inputs)
{
    auto escape = [](const std::string& path) {
        std::string e;
        for (char c : path) {
            if (c == ' ' || c == '#')
                e += '\\';
            else if (c == '$')
                e += '$';
            e += c;
        }
        return e;
    };
    std::string out = escape(output) + ":";
    for (const std::string& input : inputs)
        out += " \\\n  " + escape(input);
    return out + "\n";
}

}  // namespace rc
