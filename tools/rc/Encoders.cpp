#include "Encoders.h"

#include <host/Resources.h>

namespace rc {

void ByteWriter::Word(std::uint16_t v)
{
    m_bytes.push_back(static_cast<std::uint8_t>(v));
    m_bytes.push_back(static_cast<std::uint8_t>(v >> 8));
}

void ByteWriter::Dword(std::uint32_t v)
{
    Word(static_cast<std::uint16_t>(v));
    Word(static_cast<std::uint16_t>(v >> 16));
}

void ByteWriter::Text(const std::string& cp1252)
{
    for (char16_t c : host::ResourceTextFromCp1252(cp1252))
        Word(c);
    Word(0);
}

void ByteWriter::Field(const TextOrOrdinal& field)
{
    if (field.isOrdinal) {
        Word(0xFFFF);
        Word(field.ordinal);
    } else {
        Text(field.text);
    }
}

void ByteWriter::AlignDword()
{
    while (m_bytes.size() % 4)
        m_bytes.push_back(0);
}

void ByteWriter::PatchWord(std::size_t at, std::uint16_t v)
{
    m_bytes[at] = static_cast<std::uint8_t>(v);
    m_bytes[at + 1] = static_cast<std::uint8_t>(v >> 8);
}

namespace {

constexpr std::uint32_t kDsSetFont = 0x40;

void WriteRect(ByteWriter& w, std::int16_t x, std::int16_t y, std::int16_t cx, std::int16_t cy)
{
    w.Word(static_cast<std::uint16_t>(x));
    w.Word(static_cast<std::uint16_t>(y));
    w.Word(static_cast<std::uint16_t>(cx));
    w.Word(static_cast<std::uint16_t>(cy));
}

}  // namespace

Bytes EncodeDialog(const DialogDef& d)
{
    ByteWriter w;
    if (d.extended) {
        w.Word(1);
        w.Word(0xFFFF);
        w.Dword(d.helpId);
        w.Dword(d.exStyle);
        w.Dword(d.style);
    } else {
        w.Dword(d.style);
        w.Dword(d.exStyle);
    }
    w.Word(static_cast<std::uint16_t>(d.controls.size()));
    WriteRect(w, d.x, d.y, d.cx, d.cy);
    w.Field(d.menu);
    w.Field(d.className);
    w.Text(d.caption);
    if (d.style & kDsSetFont) {
        w.Word(d.pointSize);
        if (d.extended) {
            w.Word(d.weight);
            w.Byte(d.italic);
            w.Byte(d.charset);
        }
        w.Text(d.face);
    }
    for (const DialogControlDef& c : d.controls) {
        w.AlignDword();
        if (d.extended) {
            w.Dword(c.helpId);
            w.Dword(c.exStyle);
            w.Dword(c.style);
        } else {
            w.Dword(c.style);
            w.Dword(c.exStyle);
        }
        WriteRect(w, c.x, c.y, c.cx, c.cy);
        if (d.extended)
            w.Dword(c.id);
        else
            w.Word(static_cast<std::uint16_t>(c.id));
        w.Field(c.className);
        w.Field(c.text);
        w.Word(0);  // no creation data
    }
    return w.Take();
}

namespace {

constexpr std::uint16_t kMfPopup = 0x10;
constexpr std::uint16_t kMfEnd = 0x80;

void WriteMenuItems(ByteWriter& w, const std::vector<MenuItemDef>& items)
{
    for (std::size_t i = 0; i < items.size(); ++i) {
        const MenuItemDef& item = items[i];
        std::uint16_t flags = item.flags;
        if (i + 1 == items.size())
            flags |= kMfEnd;
        w.Word(flags);
        if (!(item.flags & kMfPopup))
            w.Word(item.id);
        w.Text(item.text);
        if (item.flags & kMfPopup)
            WriteMenuItems(w, item.children);
    }
}

}  // namespace

Bytes EncodeMenu(const std::vector<MenuItemDef>& items)
{
    ByteWriter w;
    w.Word(0);  // version
    w.Word(0);  // header size
    WriteMenuItems(w, items);
    return w.Take();
}

Bytes EncodeAccelerators(const std::vector<AccelDef>& entries)
{
    ByteWriter w;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        w.Word(static_cast<std::uint16_t>(entries[i].flags | (i + 1 == entries.size() ? 0x80 : 0)));
        w.Word(entries[i].key);
        w.Word(entries[i].id);
        w.Word(0);
    }
    return w.Take();
}

Bytes EncodeStringBlock(const std::array<std::optional<std::string>, 16>& strings)
{
    ByteWriter w;
    for (const auto& s : strings) {
        if (!s) {
            w.Word(0);
            continue;
        }
        std::u16string text = host::ResourceTextFromCp1252(*s);
        w.Word(static_cast<std::uint16_t>(text.size()));
        for (char16_t c : text)
            w.Word(c);
    }
    return w.Take();
}

namespace {

void WriteVersionNode(ByteWriter& w, const std::string& key, std::uint16_t valueLength, std::uint16_t type,
                      const Bytes& value, const std::vector<VersionNode>& children)
{
    w.AlignDword();
    std::size_t start = w.Size();
    w.Word(0);  // length, patched below
    w.Word(valueLength);
    w.Word(type);
    w.Text(key);
    w.AlignDword();
    w.Append(value);
    for (const VersionNode& child : children) {
        ByteWriter valueBytes;
        std::uint16_t length = 0;
        if (child.isBlock) {
        } else if (child.isText) {
            valueBytes.Text(child.text);
            length = static_cast<std::uint16_t>(valueBytes.Size() / 2);
        } else {
            valueBytes.Append(child.binary);
            length = static_cast<std::uint16_t>(child.binary.size());
        }
        WriteVersionNode(w, child.key, length, child.isText ? 1 : 0, valueBytes.Take(), child.children);
    }
    w.PatchWord(start, static_cast<std::uint16_t>(w.Size() - start));
}

}  // namespace

Bytes EncodeVersion(const VersionDef& v)
{
    ByteWriter fixed;
    for (std::uint32_t field : {0xFEEF04BDu, 0x00010000u, v.fileVersionMS, v.fileVersionLS, v.productVersionMS,
                                v.productVersionLS, v.flagsMask, v.flags, v.os, v.type, v.subtype, 0u, 0u})
        fixed.Dword(field);
    ByteWriter w;
    WriteVersionNode(w, "VS_VERSION_INFO", 52, 0, fixed.Take(), v.blocks);
    return w.Take();
}

namespace {

std::uint16_t ReadWord(const Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }
std::uint32_t ReadDword(const Bytes& b, std::size_t at)
{
    return static_cast<std::uint32_t>(ReadWord(b, at)) | (static_cast<std::uint32_t>(ReadWord(b, at + 2)) << 16);
}

}  // namespace

std::optional<std::vector<IconImage>> ReadIconFile(const Bytes& file, bool cursor, std::string& whyNot)
{
    if (file.size() < 6 || ReadWord(file, 0) != 0 || ReadWord(file, 2) != (cursor ? 2 : 1)) {
        whyNot = cursor ? "is not a cursor file" : "is not an icon file";
        return std::nullopt;
    }
    std::size_t count = ReadWord(file, 4);
    if (count == 0 || file.size() < 6 + 16 * count) {
        whyNot = "has no images or a truncated directory";
        return std::nullopt;
    }
    std::vector<IconImage> images;
    for (std::size_t i = 0; i < count; ++i) {
        std::size_t e = 6 + 16 * i;
        IconImage image;
        image.width = file[e] ? file[e] : 256;
        image.height = file[e + 1] ? file[e + 1] : 256;
        image.colorCount = file[e + 2];
        std::uint32_t size = ReadDword(file, e + 8);
        std::uint32_t offset = ReadDword(file, e + 12);
        if (offset > file.size() || size > file.size() - offset || size < 40) {
            whyNot = "has image " + std::to_string(i + 1) + " outside the file";
            return std::nullopt;
        }
        image.data.assign(file.begin() + offset, file.begin() + offset + size);
        // The image's own BITMAPINFOHEADER gives planes and depth when the directory does not.
        std::uint16_t headerPlanes = ReadWord(image.data, 12), headerBits = ReadWord(image.data, 14);
        if (cursor) {
            image.hotX = ReadWord(file, e + 4);
            image.hotY = ReadWord(file, e + 6);
            image.planes = headerPlanes;
            image.bitCount = headerBits;
        } else {
            image.planes = ReadWord(file, e + 4) ? ReadWord(file, e + 4) : headerPlanes;
            image.bitCount = ReadWord(file, e + 6) ? ReadWord(file, e + 6) : headerBits;
        }
        images.push_back(std::move(image));
    }
    return images;
}

Bytes EncodeIconImage(const IconImage& image, bool cursor)
{
    ByteWriter w;
    if (cursor) {
        w.Word(image.hotX);
        w.Word(image.hotY);
    }
    w.Append(image.data);
    return w.Take();
}

Bytes EncodeIconGroup(const std::vector<IconImage>& images, const std::vector<std::uint16_t>& ids, bool cursor)
{
    ByteWriter w;
    w.Word(0);
    w.Word(cursor ? 2 : 1);
    w.Word(static_cast<std::uint16_t>(images.size()));
    for (std::size_t i = 0; i < images.size(); ++i) {
        const IconImage& image = images[i];
        if (cursor) {
            w.Word(image.width);
            w.Word(static_cast<std::uint16_t>(image.height * 2));
        } else {
            w.Byte(static_cast<std::uint8_t>(image.width == 256 ? 0 : image.width));
            w.Byte(static_cast<std::uint8_t>(image.height == 256 ? 0 : image.height));
            w.Byte(image.colorCount);
            w.Byte(0);
        }
        w.Word(image.planes);
        w.Word(image.bitCount);
        w.Dword(static_cast<std::uint32_t>(image.data.size() + (cursor ? 4 : 0)));
        w.Word(ids[i]);
    }
    return w.Take();
}

}  // namespace rc
