// The platform's binary layouts of resources: dialog templates (DLGTEMPLATE and DLGTEMPLATEEX),
// menu templates, accelerator tables, string blocks of 16, VS_VERSIONINFO, and icon and cursor
// groups with their images.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace rc {

using Bytes = std::vector<std::uint8_t>;

// A field that holds either an ordinal or a text (the templates' "sz_Or_Ord").
struct TextOrOrdinal {
    bool isOrdinal = false;
    std::uint16_t ordinal = 0;
    std::string text;
};

class ByteWriter {
public:
    void Byte(std::uint8_t v) { m_bytes.push_back(v); }
    void Word(std::uint16_t v);
    void Dword(std::uint32_t v);
    void Append(const Bytes& bytes) { m_bytes.insert(m_bytes.end(), bytes.begin(), bytes.end()); }
    void Text(const std::string& cp1252);  // UTF-16 with its terminating zero
    void Field(const TextOrOrdinal& field);  // 0 when empty, FFFF + ordinal, or text
    void AlignDword();
    void PatchWord(std::size_t at, std::uint16_t v);
    std::size_t Size() const { return m_bytes.size(); }
    Bytes Take() { return std::move(m_bytes); }

private:
    Bytes m_bytes;
};

struct DialogControlDef {
    TextOrOrdinal className;
    TextOrOrdinal text;
    std::uint32_t id = 0;
    std::uint32_t style = 0, exStyle = 0, helpId = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
};

struct DialogDef {
    bool extended = false;
    std::uint32_t style = 0, exStyle = 0, helpId = 0;
    std::int16_t x = 0, y = 0, cx = 0, cy = 0;
    TextOrOrdinal menu, className;
    std::string caption;
    bool hasFont = false;
    std::uint16_t pointSize = 0, weight = 0;
    std::uint8_t italic = 0, charset = 1;
    std::string face;
    std::vector<DialogControlDef> controls;
};
Bytes EncodeDialog(const DialogDef& dialog);

struct MenuItemDef {
    std::string text;
    std::uint16_t id = 0;
    std::uint16_t flags = 0;  // MF_ flags of the template (MF_POPUP marks a pop-up)
    std::vector<MenuItemDef> children;
};
Bytes EncodeMenu(const std::vector<MenuItemDef>& items);

struct AccelDef {
    std::uint16_t flags = 0, key = 0, id = 0;
};
Bytes EncodeAccelerators(const std::vector<AccelDef>& entries);

// One block of the string table: strings id & ~15 to (id & ~15) + 15.
Bytes EncodeStringBlock(const std::array<std::optional<std::string>, 16>& strings);

struct VersionNode {
    std::string key;
    bool isBlock = false;  // BLOCK: children only; VALUE: text or binary
    bool isText = true;
    std::string text;
    Bytes binary;
    std::vector<VersionNode> children;
};
struct VersionDef {
    std::uint32_t fileVersionMS = 0, fileVersionLS = 0, productVersionMS = 0, productVersionLS = 0;
    std::uint32_t flagsMask = 0, flags = 0, os = 0, type = 0, subtype = 0;
    std::vector<VersionNode> blocks;
};
Bytes EncodeVersion(const VersionDef& version);

// The images of an .ico or .cur file. Returns nothing when the bytes are not such a file.
struct IconImage {
    std::uint16_t width = 0, height = 0;  // 256 for an entry that says 0
    std::uint8_t colorCount = 0;
    std::uint16_t planes = 0, bitCount = 0;
    std::uint16_t hotX = 0, hotY = 0;  // cursors
    Bytes data;
};
std::optional<std::vector<IconImage>> ReadIconFile(const Bytes& file, bool cursor, std::string& whyNot);
// RT_ICON / RT_CURSOR data of one image (a cursor's starts with its hot spot).
Bytes EncodeIconImage(const IconImage& image, bool cursor);
// The RT_GROUP_ICON / RT_GROUP_CURSOR directory naming the images by their ids.
Bytes EncodeIconGroup(const std::vector<IconImage>& images, const std::vector<std::uint16_t>& ids, bool cursor);

}  // namespace rc
