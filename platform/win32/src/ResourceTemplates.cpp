// Reading dialog and menu templates.
#include <windows.h>

#include <host/DialogTemplate.h>
#include <host/MenuTemplate.h>
#include <host/Resources.h>

namespace {

// A bounds-checked reader of little-endian template fields.
class Reader {
public:
    Reader(const void* data, std::size_t size) : m_data(static_cast<const BYTE*>(data)), m_size(size) {}

    bool Ok() const { return m_ok; }
    std::size_t Position() const { return m_pos; }

    WORD Word()
    {
        if (m_size - m_pos < 2 || m_pos > m_size) {
            m_ok = false;
            return 0;
        }
        WORD v = static_cast<WORD>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return v;
    }
    DWORD Dword()
    {
        DWORD low = Word();
        return low | (static_cast<DWORD>(Word()) << 16);
    }
    BYTE Byte()
    {
        if (m_pos >= m_size) {
            m_ok = false;
            return 0;
        }
        return m_data[m_pos++];
    }
    std::string Text()
    {
        std::u16string text;
        while (m_ok) {
            char16_t c = static_cast<char16_t>(Word());
            if (!c)
                break;
            text += c;
        }
        return host::Cp1252FromResourceText(text);
    }
    host::TemplateName Name()
    {
        host::TemplateName name;
        WORD first = Word();
        if (first == 0xFFFF) {
            name.ordinal = Word();
            return name;
        }
        if (first == 0)
            return name;
        m_pos -= 2;
        name.text = Text();
        return name;
    }
    void AlignDword()
    {
        m_pos = (m_pos + 3) & ~static_cast<std::size_t>(3);
        if (m_pos > m_size)
            m_ok = false;
    }
    std::vector<BYTE> Bytes(std::size_t n)
    {
        if (m_size - m_pos < n || m_pos > m_size) {
            m_ok = false;
            return {};
        }
        std::vector<BYTE> out(m_data + m_pos, m_data + m_pos + n);
        m_pos += n;
        return out;
    }

private:
    const BYTE* m_data;
    std::size_t m_size;
    std::size_t m_pos = 0;
    bool m_ok = true;
};

constexpr DWORD kDsSetFont = 0x40;

const char* PredefinedClass(WORD atom)
{
    switch (atom) {
    case 0x80: return "Button";
    case 0x81: return "Edit";
    case 0x82: return "Static";
    case 0x83: return "ListBox";
    case 0x84: return "ScrollBar";
    case 0x85: return "ComboBox";
    default: return nullptr;
    }
}

}  // namespace

namespace host {

std::optional<DialogTemplate> ParseDialogTemplate(const void* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Reader r(data, size);
    DialogTemplate d;
    WORD first = r.Word(), second = r.Word();
    d.extended = first == 1 && second == 0xFFFF;
    if (d.extended) {
        d.helpId = r.Dword();
        d.exStyle = r.Dword();
        d.style = r.Dword();
    } else {
        d.style = static_cast<DWORD>(first) | (static_cast<DWORD>(second) << 16);
        d.exStyle = r.Dword();
    }
    WORD count = r.Word();
    d.x = static_cast<short>(r.Word());
    d.y = static_cast<short>(r.Word());
    d.cx = static_cast<short>(r.Word());
    d.cy = static_cast<short>(r.Word());
    d.menu = r.Name();
    d.className = r.Name();
    d.caption = r.Text();
    d.hasFont = (d.style & kDsSetFont) != 0;  // DS_SHELLFONT includes it
    if (d.hasFont) {
        d.pointSize = r.Word();
        if (d.extended) {
            d.weight = r.Word();
            d.italic = r.Byte() != 0;
            d.charset = r.Byte();
        }
        d.faceName = r.Text();
    }
    for (WORD i = 0; i < count && r.Ok(); ++i) {
        r.AlignDword();
        DialogControlTemplate c;
        if (d.extended) {
            c.helpId = r.Dword();
            c.exStyle = r.Dword();
            c.style = r.Dword();
        } else {
            c.style = r.Dword();
            c.exStyle = r.Dword();
        }
        c.x = static_cast<short>(r.Word());
        c.y = static_cast<short>(r.Word());
        c.cx = static_cast<short>(r.Word());
        c.cy = static_cast<short>(r.Word());
        c.id = d.extended ? r.Dword() : r.Word();
        TemplateName cls = r.Name();
        const char* predefined = cls.IsOrdinal() ? PredefinedClass(cls.ordinal) : nullptr;
        if (cls.IsOrdinal() && !predefined)
            return std::nullopt;
        c.className = predefined ? predefined : cls.text;
        c.text = r.Name();
        WORD extra = r.Word();
        c.creationData = r.Bytes(extra);
        d.controls.push_back(std::move(c));
    }
    if (!r.Ok())
        return std::nullopt;
    return d;
}

RECT DialogUnitsToPixels(const RECT& units, int baseUnitX, int baseUnitY)
{
    auto scale = [](LONG v, int base, int divisor) {
        // MulDiv's rounding: to the nearest, halves away from zero.
        long long product = static_cast<long long>(v) * base;
        long long half = divisor / 2;
        return static_cast<LONG>(product >= 0 ? (product + half) / divisor : (product - half) / divisor);
    };
    return RECT{scale(units.left, baseUnitX, 4), scale(units.top, baseUnitY, 8), scale(units.right, baseUnitX, 4),
                scale(units.bottom, baseUnitY, 8)};
}

SIZE DialogBaseUnits(const DialogTemplate& dialog)
{
    SIZE units{8, 16};
#if __has_include(<wingdi.h>)
    if (!dialog.hasFont)
        return units;
    HDC dc = CreateCompatibleDC(nullptr);
    int height = -MulDiv(dialog.pointSize, GetDeviceCaps(dc, LOGPIXELSY), 72);
    HFONT font = CreateFontA(height, 0, 0, 0, dialog.weight, dialog.italic, FALSE, FALSE, dialog.charset,
                             OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                             dialog.faceName.c_str());
    HGDIOBJ old = SelectObject(dc, font);
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE extent{};
    TEXTMETRICA metrics{};
    if (GetTextExtentPoint32A(dc, kLetters, 52, &extent) && GetTextMetricsA(dc, &metrics)) {
        units.cx = (extent.cx / 26 + 1) / 2;
        units.cy = metrics.tmHeight;
    }
    SelectObject(dc, old);
    DeleteObject(font);
    DeleteDC(dc);
#else
    (void)dialog;
#endif
    return units;
}

namespace {

constexpr UINT kMfPopup = 0x10;
constexpr UINT kMfEnd = 0x80;
constexpr UINT kMfSeparator = 0x800;

bool ReadMenuItems(Reader& r, std::vector<MenuTemplateItem>& items, int depth)
{
    if (depth > 32)
        return false;
    for (;;) {
        MenuTemplateItem item;
        UINT flags = r.Word();
        if (!(flags & kMfPopup))
            item.id = r.Word();
        item.text = r.Text();
        if (!r.Ok())
            return false;
        if (flags & kMfPopup) {
            if (!ReadMenuItems(r, item.children, depth + 1))
                return false;
        } else if (item.id == 0 && item.text.empty()) {
            flags |= kMfSeparator;
        }
        item.flags = flags & ~kMfEnd;
        items.push_back(std::move(item));
        if (flags & kMfEnd)
            return true;
    }
}

}  // namespace

std::optional<std::vector<MenuTemplateItem>> ParseMenuTemplate(const void* data, std::size_t size)
{
    if (!data)
        return std::nullopt;
    Reader r(data, size);
    WORD version = r.Word();
    WORD headerSize = r.Word();
    if (!r.Ok() || version != 0)
        return std::nullopt;
    r.Bytes(headerSize);
    std::vector<MenuTemplateItem> items;
    if (r.Position() == size)
        return items;  // an empty menu
    if (!ReadMenuItems(r, items, 0))
        return std::nullopt;
    return items;
}

}  // namespace host
