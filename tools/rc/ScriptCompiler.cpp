#include "ScriptCompiler.h"

#include "Expression.h"
#include "Preprocessor.h"

#include <cctype>
#include <fstream>
#include <iterator>
#include <map>
#include <sys/stat.h>

namespace rc {

namespace {

// Resource types by ordinal.
enum : std::uint16_t {
    RT_CURSOR = 1, RT_BITMAP = 2, RT_ICON = 3, RT_MENU = 4, RT_DIALOG = 5, RT_STRING = 6, RT_FONT = 8,
    RT_ACCELERATOR = 9, RT_RCDATA = 10, RT_MESSAGETABLE = 11, RT_GROUP_CURSOR = 12, RT_GROUP_ICON = 14,
    RT_VERSION = 16, RT_HTML = 23, RT_MANIFEST = 24,
};

constexpr std::uint32_t WS_POPUP = 0x80000000, WS_CHILD = 0x40000000, WS_VISIBLE = 0x10000000,
                        WS_CAPTION = 0x00C00000, WS_BORDER = 0x00800000, WS_SYSMENU = 0x00080000,
                        WS_GROUP = 0x00020000, WS_TABSTOP = 0x00010000, WS_VSCROLL = 0x00200000;
constexpr std::uint32_t DS_SETFONT = 0x40;

// Menu template flags.
constexpr std::uint16_t MF_GRAYED = 0x1, MF_DISABLED = 0x2, MF_CHECKED = 0x8, MF_POPUP = 0x10,
                        MF_MENUBARBREAK = 0x20, MF_MENUBREAK = 0x40, MF_HELP = 0x4000;

// Accelerator flags.
constexpr std::uint16_t FVIRTKEY = 0x1, FNOINVERT = 0x2, FSHIFT = 0x4, FCONTROL = 0x8, FALT = 0x10;

struct ControlKind {
    const char* keyword;
    bool hasText;
    std::uint16_t classAtom;  // 0x80 Button, 0x81 Edit, 0x82 Static, 0x83 ListBox, 0x84 ScrollBar, 0x85 ComboBox
    std::uint32_t defaultStyle;
};

const ControlKind kControls[] = {
    {"LTEXT", true, 0x82, 0x0 | WS_GROUP},
    {"RTEXT", true, 0x82, 0x2 | WS_GROUP},
    {"CTEXT", true, 0x82, 0x1 | WS_GROUP},
    {"PUSHBUTTON", true, 0x80, 0x0 | WS_TABSTOP},
    {"DEFPUSHBUTTON", true, 0x80, 0x1 | WS_TABSTOP},
    {"PUSHBOX", true, 0x80, 0xA | WS_TABSTOP},
    {"CHECKBOX", true, 0x80, 0x2 | WS_TABSTOP},
    {"AUTOCHECKBOX", true, 0x80, 0x3 | WS_TABSTOP},
    {"STATE3", true, 0x80, 0x5 | WS_TABSTOP},
    {"AUTO3STATE", true, 0x80, 0x6 | WS_TABSTOP},
    {"RADIOBUTTON", true, 0x80, 0x4 | WS_TABSTOP},
    {"AUTORADIOBUTTON", true, 0x80, 0x9 | WS_TABSTOP},
    {"GROUPBOX", true, 0x80, 0x7},
    {"EDITTEXT", false, 0x81, 0x0 | WS_BORDER | WS_TABSTOP},
    {"COMBOBOX", false, 0x85, 0x1 | WS_TABSTOP},
    {"LISTBOX", false, 0x83, 0x1 | WS_BORDER},
    {"SCROLLBAR", false, 0x84, 0x0},
};

const struct {
    const char* name;
    std::uint16_t atom;
} kClassNames[] = {{"BUTTON", 0x80}, {"EDIT", 0x81}, {"STATIC", 0x82},
                   {"LISTBOX", 0x83}, {"SCROLLBAR", 0x84}, {"COMBOBOX", 0x85}};

std::string Upper(std::string s)
{
    for (char& c : s)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

std::string Describe(const host::ResourceId& id)
{
    return id.IsOrdinal() ? std::to_string(id.ordinal) : "\"" + id.name + "\"";
}

class Compiler {
public:
    Compiler(std::vector<Token> tokens, const CompileOptions& options, std::vector<std::string>& filesRead)
        : m_tokens(std::move(tokens)), m_options(options), m_filesRead(filesRead),
          m_language(options.defaultLanguage)
    {
    }

    std::vector<CompiledResource> Run()
    {
        while (Peek().kind != TokenKind::End)
            Statement();
        EmitStringTables();
        return std::move(m_resources);
    }

private:
    // ---- tokens ----
    const Token& Peek(std::size_t ahead = 0) const
    {
        std::size_t i = m_pos + ahead;
        return i < m_tokens.size() ? m_tokens[i] : m_tokens.back();
    }
    const Token& Next()
    {
        const Token& t = Peek();
        if (m_pos < m_tokens.size() - 1)
            ++m_pos;
        return t;
    }
    [[noreturn]] void Fail(const std::string& message) const { throw CompileError(Peek().place, message); }
    [[noreturn]] void Fail(const Token& at, const std::string& message) const { throw CompileError(at.place, message); }
    static std::string Show(const Token& t)
    {
        switch (t.kind) {
        case TokenKind::End: return "the end of the script";
        case TokenKind::String: return "\"" + t.text + "\"";
        default: return "'" + t.text + "'";
        }
    }
    bool IsBegin(const Token& t) const { return t.IsKeyword("BEGIN") || t.IsPunct("{"); }
    bool IsEnd(const Token& t) const { return t.IsKeyword("END") || t.IsPunct("}"); }
    void ExpectBegin(const char* what)
    {
        if (!IsBegin(Peek()))
            Fail(std::string("expected BEGIN of the ") + what + ", found " + Show(Peek()));
        Next();
    }
    // Inside a BEGIN ... END block: true while another statement follows; the END is consumed
    // and ends the loop. The script ending first is an error reported at the block's owner.
    bool InBlock(const Token& owner, const char* what)
    {
        if (IsEnd(Peek())) {
            Next();
            return false;
        }
        if (Peek().kind == TokenKind::End)
            Fail(owner, std::string(what) + " without END");
        return true;
    }
    bool AcceptComma()
    {
        if (!Peek().IsPunct(","))
            return false;
        Next();
        return true;
    }
    void ExpectComma(const char* before)
    {
        if (!AcceptComma()) {
            // Reported where the comma belongs: after the previous token, often a line earlier.
            const SourcePlace& place = m_pos > 0 ? m_tokens[m_pos - 1].place : Peek().place;
            throw CompileError(place, std::string("expected ',' before ") + before + ", found " + Show(Peek()));
        }
    }
    std::int64_t Number(const char* what)
    {
        if (!ExpressionReader::Starts(Peek()))
            Fail(std::string("expected ") + what + ", found " + Show(Peek()));
        ExpressionReader reader(m_tokens, m_pos);
        return reader.Read().value;
    }
    std::int16_t Coordinate(const char* what)
    {
        Token at = Peek();
        std::int64_t v = Number(what);
        if (v < -32768 || v > 32767)
            Fail(at, std::string(what) + " " + std::to_string(v) + " is out of range");
        return static_cast<std::int16_t>(v);
    }
    StyleValue Style()
    {
        if (!ExpressionReader::Starts(Peek()) && !Peek().IsKeyword("NOT"))
            Fail("expected a style, found " + Show(Peek()));
        ExpressionReader reader(m_tokens, m_pos);
        return reader.ReadStyle();
    }
    std::string String(const char* what)
    {
        if (Peek().kind != TokenKind::String)
            Fail(std::string("expected ") + what + " in quotes, found " + Show(Peek()));
        std::string s = Next().text;
        while (Peek().kind == TokenKind::String)  // adjacent literals join
            s += Next().text;
        return s;
    }
    std::uint16_t Ordinal(const Token& at, std::int64_t v, const char* what)
    {
        if (v < 1 || v > 0xFFFF)
            Fail(at, std::string(what) + " " + std::to_string(v) + " is out of range (1 to 65535)");
        return static_cast<std::uint16_t>(v);
    }
    // A resource's name or a reference to one: a number, or a text name.
    host::ResourceId NameOrId(const char* what)
    {
        const Token& t = Peek();
        if (t.kind == TokenKind::Identifier) {
            Next();
            return host::ResourceId::Named(t.text);
        }
        if (t.kind == TokenKind::String) {
            Next();
            if (t.text.empty())
                Fail(t, std::string("empty ") + what);
            return host::ResourceId::Named(t.text);
        }
        Token at = t;
        return host::ResourceId::Ordinal(Ordinal(at, Number(what), what));
    }
    static TextOrOrdinal FieldFrom(const host::ResourceId& id)
    {
        TextOrOrdinal f;
        f.isOrdinal = id.IsOrdinal();
        f.ordinal = id.ordinal;
        f.text = id.name;
        return f;
    }

    // ---- output ----
    void Add(host::ResourceId type, host::ResourceId name, std::uint16_t language, Bytes data, const SourcePlace& place)
    {
        for (const CompiledResource& r : m_resources)
            if (r.type == type && r.name == name && r.language == language)
                throw CompileError(place, "duplicate resource: type " + Describe(type) + ", name " + Describe(name) +
                                              " (first defined at " + r.place.file + ":" +
                                              std::to_string(r.place.line) + ")");
        m_resources.push_back(CompiledResource{std::move(type), std::move(name), language, std::move(data), place});
    }

    Bytes ReadDataFile(const Token& at, const std::string& name)
    {
        std::vector<std::string> candidates = {JoinPath(DirectoryOf(at.place.file), name)};
        for (const std::string& dir : m_options.includeDirs)
            candidates.push_back(JoinPath(dir, name));
        candidates.push_back(JoinPath("", name));
        for (const std::string& path : candidates) {
            struct stat st {};
            if (stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
                continue;
            std::ifstream in(path, std::ios::binary);
            if (!in)
                Fail(at, "cannot read '" + name + "'");
            m_filesRead.push_back(path);
            return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
        }
        Fail(at, "cannot find file '" + name + "'");
    }

    // ---- statements ----
    void SkipMemoryOptions()
    {
        static const char* const kOptions[] = {"PRELOAD", "LOADONCALL", "MOVEABLE", "FIXED",    "DISCARDABLE",
                                               "PURE",    "IMPURE",     "SHARED",   "NONSHARED"};
        for (;;) {
            bool any = false;
            for (const char* o : kOptions)
                if (Peek().IsKeyword(o)) {
                    Next();
                    any = true;
                }
            if (!any)
                return;
        }
    }

    std::uint16_t LanguageStatement()
    {
        Next();  // LANGUAGE
        std::int64_t primary = Number("a language");
        ExpectComma("the sub-language");
        std::int64_t sub = Number("a sub-language");
        return static_cast<std::uint16_t>(((sub & 0x3F) << 10) | (primary & 0x3FF));
    }

    // LANGUAGE, CHARACTERISTICS and VERSION inside a resource's header; returns its language.
    bool CommonOption(std::uint16_t& language)
    {
        if (Peek().IsKeyword("LANGUAGE")) {
            language = LanguageStatement();
            return true;
        }
        if (Peek().IsKeyword("CHARACTERISTICS") || Peek().IsKeyword("VERSION")) {
            Next();
            Number("a number");
            return true;
        }
        return false;
    }

    void Statement()
    {
        const Token& first = Peek();
        if (first.IsKeyword("LANGUAGE")) {
            m_language = LanguageStatement();
            return;
        }
        if (first.IsKeyword("STRINGTABLE")) {
            StringTable();
            return;
        }
        if (IsBegin(first) || IsEnd(first) || first.kind == TokenKind::Punct)
            Fail("unexpected " + Show(first) + " where a resource should begin");
        Token nameToken = first;
        host::ResourceId name = NameOrId("a resource name");
        const Token typeToken = Peek();
        if (typeToken.kind == TokenKind::End)
            Fail(typeToken, "resource " + Describe(name) + " has no type");
        Next();
        if (typeToken.IsKeyword("BITMAP"))
            Bitmap(name, typeToken);
        else if (typeToken.IsKeyword("ICON"))
            IconGroup(name, typeToken, false);
        else if (typeToken.IsKeyword("CURSOR"))
            IconGroup(name, typeToken, true);
        else if (typeToken.IsKeyword("MENU"))
            Menu(name, typeToken);
        else if (typeToken.IsKeyword("MENUEX"))
            Fail(typeToken, "MENUEX is not supported; write the menu as MENU");
        else if (typeToken.IsKeyword("DIALOG"))
            Dialog(name, typeToken, false);
        else if (typeToken.IsKeyword("DIALOGEX"))
            Dialog(name, typeToken, true);
        else if (typeToken.IsKeyword("ACCELERATORS"))
            Accelerators(name, typeToken);
        else if (typeToken.IsKeyword("VERSIONINFO"))
            Version(name, typeToken);
        else if (typeToken.IsKeyword("RCDATA"))
            RawData(host::ResourceId::Ordinal(RT_RCDATA), name, typeToken);
        else if (typeToken.IsKeyword("HTML"))
            RawData(host::ResourceId::Ordinal(RT_HTML), name, typeToken);
        else if (typeToken.IsKeyword("MESSAGETABLE"))
            RawData(host::ResourceId::Ordinal(RT_MESSAGETABLE), name, typeToken);
        else if (typeToken.IsKeyword("FONT"))
            RawData(host::ResourceId::Ordinal(RT_FONT), name, typeToken);
        else if (typeToken.kind == TokenKind::Identifier || typeToken.kind == TokenKind::String)
            RawData(host::ResourceId::Named(typeToken.text), name, typeToken);
        else if (typeToken.kind == TokenKind::Number)
            RawData(host::ResourceId::Ordinal(Ordinal(typeToken, typeToken.value, "resource type")), name, typeToken);
        else
            Fail(typeToken, "expected a resource type after " + Describe(name) + ", found " + Show(typeToken));
        (void)nameToken;
    }

    void StringTable()
    {
        Token at = Next();
        SkipMemoryOptions();
        std::uint16_t language = m_language;
        while (CommonOption(language)) {
        }
        ExpectBegin("string table");
        auto& table = m_strings[language];
        while (InBlock(at, "STRINGTABLE")) {
            Token idToken = Peek();
            std::int64_t id = Number("a string id");
            if (id < 0 || id > 0xFFFF)
                Fail(idToken, "string id " + std::to_string(id) + " is out of range (0 to 65535)");
            AcceptComma();
            std::string text = String("the string");
            auto [it, inserted] = table.emplace(static_cast<std::uint16_t>(id), std::make_pair(text, idToken.place));
            if (!inserted)
                Fail(idToken, "duplicate string id " + std::to_string(id) + " (first defined at " +
                                  it->second.second.file + ":" + std::to_string(it->second.second.line) + ")");
        }
    }

    void EmitStringTables()
    {
        for (const auto& [language, table] : m_strings) {
            std::map<std::uint16_t, std::array<std::optional<std::string>, 16>> blocks;
            std::map<std::uint16_t, SourcePlace> places;
            for (const auto& [id, entry] : table) {
                std::uint16_t block = static_cast<std::uint16_t>((id >> 4) + 1);
                blocks[block][id & 15] = entry.first;
                places.emplace(block, entry.second);
            }
            for (const auto& [block, strings] : blocks)
                Add(host::ResourceId::Ordinal(RT_STRING), host::ResourceId::Ordinal(block), language,
                    EncodeStringBlock(strings), places[block]);
        }
    }

    std::string FileName(const char* what)
    {
        if (Peek().kind != TokenKind::String)
            Fail(std::string("expected the ") + what + " file name in quotes, found " + Show(Peek()));
        return Next().text;
    }

    void Bitmap(const host::ResourceId& name, const Token& at)
    {
        SkipMemoryOptions();
        Token fileToken = Peek();
        std::string file = FileName("bitmap");
        Bytes bytes = ReadDataFile(fileToken, file);
        if (bytes.size() < 14 + 12 || bytes[0] != 'B' || bytes[1] != 'M')
            Fail(fileToken, "'" + file + "' is not a bitmap file");
        Add(host::ResourceId::Ordinal(RT_BITMAP), name, m_language, Bytes(bytes.begin() + 14, bytes.end()), at.place);
    }

    void IconGroup(const host::ResourceId& name, const Token& at, bool cursor)
    {
        SkipMemoryOptions();
        Token fileToken = Peek();
        std::string file = FileName(cursor ? "cursor" : "icon");
        std::string whyNot;
        auto images = ReadIconFile(ReadDataFile(fileToken, file), cursor, whyNot);
        if (!images)
            Fail(fileToken, "'" + file + "' " + whyNot);
        std::vector<std::uint16_t> ids;
        for (const IconImage& image : *images) {
            std::uint16_t id = ++m_lastImageId;
            ids.push_back(id);
            Add(host::ResourceId::Ordinal(cursor ? RT_CURSOR : RT_ICON), host::ResourceId::Ordinal(id), m_language,
                EncodeIconImage(image, cursor), at.place);
        }
        Add(host::ResourceId::Ordinal(cursor ? RT_GROUP_CURSOR : RT_GROUP_ICON), name, m_language,
            EncodeIconGroup(*images, ids, cursor), at.place);
    }

    void RawData(const host::ResourceId& type, const host::ResourceId& name, const Token& at)
    {
        SkipMemoryOptions();
        std::uint16_t language = m_language;
        while (CommonOption(language)) {
        }
        if (Peek().kind == TokenKind::String) {
            Token fileToken = Peek();
            Add(type, name, language, ReadDataFile(fileToken, Next().text), at.place);
            return;
        }
        if (!IsBegin(Peek())) {
            if (at.kind == TokenKind::Identifier && !type.IsOrdinal())
                Fail(at, "unknown resource type '" + at.text + "' (a resource of a type of its own needs a file "
                         "name in quotes or BEGIN)");
            Fail("expected a file name in quotes or BEGIN, found " + Show(Peek()));
        }
        Next();
        ByteWriter w;
        while (InBlock(at, "data block")) {
            const Token& t = Peek();
            if (t.kind == TokenKind::String) {
                if (t.wide) {
                    for (char16_t c : host::ResourceTextFromCp1252(t.text))
                        w.Word(c);
                } else {
                    for (char c : t.text)
                        w.Byte(static_cast<std::uint8_t>(c));
                }
                Next();
            } else {
                if (!ExpressionReader::Starts(t))
                    Fail("expected a number or a string in the data block, found " + Show(t));
                ExpressionReader reader(m_tokens, m_pos);
                Value v = reader.Read();
                if (v.isLong)
                    w.Dword(static_cast<std::uint32_t>(v.value));
                else
                    w.Word(static_cast<std::uint16_t>(v.value));
            }
            AcceptComma();
        }
        Add(type, name, language, w.Take(), at.place);
    }

    // ---- menus ----
    std::uint16_t MenuOptions()
    {
        std::uint16_t flags = 0;
        for (;;) {
            const Token& t = Peek();
            if (t.IsPunct(",")) {
                Next();
                continue;
            }
            if (t.IsKeyword("CHECKED")) flags |= MF_CHECKED;
            else if (t.IsKeyword("GRAYED")) flags |= MF_GRAYED;
            else if (t.IsKeyword("INACTIVE")) flags |= MF_DISABLED;
            else if (t.IsKeyword("MENUBREAK")) flags |= MF_MENUBREAK;
            else if (t.IsKeyword("MENUBARBREAK")) flags |= MF_MENUBARBREAK;
            else if (t.IsKeyword("HELP")) flags |= MF_HELP;
            else return flags;
            Next();
        }
    }

    std::vector<MenuItemDef> MenuItems(const Token& owner)
    {
        ExpectBegin("menu");
        std::vector<MenuItemDef> items;
        while (InBlock(owner, "menu")) {
            const Token t = Peek();
            Next();
            MenuItemDef item;
            if (t.IsKeyword("POPUP")) {
                item.text = String("the pop-up's text");
                item.flags = static_cast<std::uint16_t>(MenuOptions() | MF_POPUP);
                item.children = MenuItems(t);
            } else if (t.IsKeyword("MENUITEM")) {
                if (Peek().IsKeyword("SEPARATOR")) {
                    Next();
                } else {
                    item.text = String("the item's text");
                    ExpectComma("the item's id");
                    Token idToken = Peek();
                    std::int64_t id = Number("the item's id");
                    if (id < -32768 || id > 0xFFFF)
                        Fail(idToken, "menu item id " + std::to_string(id) + " is out of range");
                    item.id = static_cast<std::uint16_t>(id);
                    item.flags = MenuOptions();
                }
            } else {
                Fail(t, "expected MENUITEM, POPUP or END in the menu, found " + Show(t));
            }
            items.push_back(std::move(item));
        }
        return items;
    }

    void Menu(const host::ResourceId& name, const Token& at)
    {
        SkipMemoryOptions();
        std::uint16_t language = m_language;
        while (CommonOption(language)) {
        }
        std::vector<MenuItemDef> items = MenuItems(at);
        Add(host::ResourceId::Ordinal(RT_MENU), name, language, EncodeMenu(items), at.place);
    }

    // ---- dialogs ----
    TextOrOrdinal ControlText()
    {
        TextOrOrdinal text;
        if (Peek().kind == TokenKind::String) {
            text.text = String("the control's text");
        } else {
            Token at = Peek();
            text.isOrdinal = true;
            text.ordinal = Ordinal(at, Number("the control's text"), "control text ordinal");
        }
        return text;
    }

    TextOrOrdinal ClassField()
    {
        TextOrOrdinal cls;
        const Token& t = Peek();
        std::string name;
        if (t.kind == TokenKind::String || t.kind == TokenKind::Identifier) {
            name = Next().text;
        } else {
            Token at = t;
            cls.isOrdinal = true;
            cls.ordinal = Ordinal(at, Number("a class"), "class ordinal");
            return cls;
        }
        for (const auto& known : kClassNames)
            if (Upper(name) == known.name) {
                cls.isOrdinal = true;
                cls.ordinal = known.atom;
                return cls;
            }
        cls.text = name;
        return cls;
    }

    std::uint32_t ControlId(bool extended)
    {
        Token at = Peek();
        std::int64_t id = Number("the control's id");
        if (!extended && (id < -32768 || id > 0xFFFF))
            Fail(at, "control id " + std::to_string(id) + " is out of range");
        return extended ? static_cast<std::uint32_t>(id) : static_cast<std::uint16_t>(id);
    }

    void ControlRect(DialogControlDef& c, bool sizeOptional)
    {
        c.x = Coordinate("x");
        ExpectComma("y");
        c.y = Coordinate("y");
        if (sizeOptional && !Peek().IsPunct(","))
            return;
        ExpectComma("the width");
        c.cx = Coordinate("width");
        ExpectComma("the height");
        c.cy = Coordinate("height");
    }

    // The optional trailing ", style, exstyle, helpid" of the control statements.
    void ControlTail(DialogControlDef& c, std::uint32_t defaults, bool extended, bool styleAllowed = true)
    {
        StyleValue style;
        if (styleAllowed && AcceptComma()) {
            style = Style();
            if (AcceptComma()) {
                c.exStyle = static_cast<std::uint32_t>(Number("an extended style"));
                if (extended && AcceptComma())
                    c.helpId = static_cast<std::uint32_t>(Number("a help id"));
            }
        }
        c.style = style.Apply(defaults | WS_CHILD | WS_VISIBLE);
    }

    DialogControlDef Control(const Token& keyword, bool extended)
    {
        DialogControlDef c;
        if (keyword.IsKeyword("CONTROL")) {
            c.text = ControlText();
            ExpectComma("the control's id");
            c.id = ControlId(extended);
            ExpectComma("the control's class");
            c.className = ClassField();
            ExpectComma("the control's style");
            StyleValue style = Style();
            c.style = style.Apply(WS_CHILD | WS_VISIBLE);
            ExpectComma("x");
            ControlRect(c, false);
            if (AcceptComma()) {
                c.exStyle = static_cast<std::uint32_t>(Number("an extended style"));
                if (extended && AcceptComma())
                    c.helpId = static_cast<std::uint32_t>(Number("a help id"));
            }
            return c;
        }
        if (keyword.IsKeyword("ICON")) {
            c.text = ControlText();
            if (!c.text.isOrdinal)
                c.text.text = Upper(c.text.text);  // names a resource
            ExpectComma("the control's id");
            c.id = ControlId(extended);
            ExpectComma("x");
            c.className.isOrdinal = true;
            c.className.ordinal = 0x82;
            ControlRect(c, true);
            ControlTail(c, 0x3 /* SS_ICON */, extended);
            return c;
        }
        for (const ControlKind& kind : kControls) {
            if (!keyword.IsKeyword(kind.keyword))
                continue;
            if (kind.hasText) {
                c.text = ControlText();
                ExpectComma("the control's id");
            }
            c.id = ControlId(extended);
            ExpectComma("x");
            c.className.isOrdinal = true;
            c.className.ordinal = kind.classAtom;
            ControlRect(c, false);
            ControlTail(c, kind.defaultStyle, extended);
            return c;
        }
        Fail(keyword, "unknown control statement " + Show(keyword));
    }

    void Dialog(const host::ResourceId& name, const Token& at, bool extended)
    {
        SkipMemoryOptions();
        DialogDef d;
        d.extended = extended;
        d.x = Coordinate("x");
        ExpectComma("y");
        d.y = Coordinate("y");
        ExpectComma("the width");
        d.cx = Coordinate("width");
        ExpectComma("the height");
        d.cy = Coordinate("height");
        if (extended && AcceptComma())
            d.helpId = static_cast<std::uint32_t>(Number("a help id"));

        std::uint32_t style = WS_POPUP | WS_BORDER | WS_SYSMENU;
        bool hasCaption = false;
        std::uint16_t language = m_language;
        while (!IsBegin(Peek())) {
            const Token t = Peek();
            if (CommonOption(language))
                continue;
            Next();
            if (t.IsKeyword("CAPTION")) {
                d.caption = String("the caption");
                hasCaption = true;
            } else if (t.IsKeyword("STYLE")) {
                style = Style().Apply(0);
            } else if (t.IsKeyword("EXSTYLE")) {
                d.exStyle = Style().Apply(0);
            } else if (t.IsKeyword("FONT")) {
                d.hasFont = true;
                d.pointSize = static_cast<std::uint16_t>(Number("the font's point size"));
                ExpectComma("the font's name");
                d.face = String("the font's name");
                if (extended && AcceptComma()) {
                    d.weight = static_cast<std::uint16_t>(Number("the font's weight"));
                    if (AcceptComma()) {
                        d.italic = static_cast<std::uint8_t>(Number("the italic flag"));
                        if (AcceptComma())
                            d.charset = static_cast<std::uint8_t>(Number("the character set"));
                    }
                }
            } else if (t.IsKeyword("MENU")) {
                host::ResourceId menu = NameOrId("a menu name");
                d.menu = FieldFrom(menu);
            } else if (t.IsKeyword("CLASS")) {
                d.className = ClassField();
            } else if (t.kind == TokenKind::End) {
                Fail(at, "dialog without BEGIN");
            } else {
                Fail(t, "unknown dialog option " + Show(t));
            }
        }
        if (hasCaption)
            style |= WS_CAPTION;
        if (d.hasFont)
            style |= DS_SETFONT;
        d.style = style;
        Next();  // BEGIN
        while (InBlock(at, "dialog")) {
            const Token t = Peek();
            if (t.kind != TokenKind::Identifier)
                Fail(t, "expected a control statement, found " + Show(t));
            Next();
            d.controls.push_back(Control(t, extended));
        }
        if (d.controls.size() > 0xFFFF)
            Fail(at, "too many controls");
        Add(host::ResourceId::Ordinal(RT_DIALOG), name, language, EncodeDialog(d), at.place);
    }

    // ---- accelerators ----
    void Accelerators(const host::ResourceId& name, const Token& at)
    {
        SkipMemoryOptions();
        std::uint16_t language = m_language;
        while (CommonOption(language)) {
        }
        ExpectBegin("accelerator table");
        std::vector<AccelDef> entries;
        while (InBlock(at, "accelerator table")) {
            const Token event = Peek();
            AccelDef a;
            bool fromText = event.kind == TokenKind::String;
            std::string text;
            if (fromText) {
                text = Next().text;
            } else {
                a.key = static_cast<std::uint16_t>(Number("a key"));
            }
            ExpectComma("the command id");
            a.id = static_cast<std::uint16_t>(Number("the command id"));
            bool ascii = false;
            for (;;) {
                const Token& t = Peek();
                if (t.IsPunct(",")) { Next(); continue; }
                if (t.IsKeyword("VIRTKEY")) a.flags |= FVIRTKEY;
                else if (t.IsKeyword("ASCII")) ascii = true;
                else if (t.IsKeyword("NOINVERT")) a.flags |= FNOINVERT;
                else if (t.IsKeyword("ALT")) a.flags |= FALT;
                else if (t.IsKeyword("SHIFT")) a.flags |= FSHIFT;
                else if (t.IsKeyword("CONTROL")) a.flags |= FCONTROL;
                else break;
                Next();
            }
            if (ascii && (a.flags & FVIRTKEY))
                Fail(event, "an accelerator cannot be both ASCII and VIRTKEY");
            if (fromText) {
                if (text.size() == 2 && text[0] == '^') {
                    if (a.flags & FVIRTKEY)
                        Fail(event, "a control character (\"^X\") cannot be VIRTKEY");
                    char c = static_cast<char>(std::toupper(static_cast<unsigned char>(text[1])));
                    if (c < '@' || c > '_')
                        Fail(event, "\"" + text + "\" is not a control character");
                    a.key = static_cast<std::uint16_t>(c - '@');
                } else if (text.size() == 1) {
                    unsigned char c = static_cast<unsigned char>(text[0]);
                    a.key = (a.flags & FVIRTKEY) ? static_cast<std::uint16_t>(std::toupper(c)) : c;
                } else {
                    Fail(event, "an accelerator's key must be one character or \"^\" and a letter");
                }
            }
            entries.push_back(a);
        }
        Add(host::ResourceId::Ordinal(RT_ACCELERATOR), name, language, EncodeAccelerators(entries), at.place);
    }

    // ---- version ----
    void VersionNumbers(std::uint32_t& ms, std::uint32_t& ls)
    {
        std::uint16_t parts[4] = {0, 0, 0, 0};
        for (int i = 0; i < 4; ++i) {
            parts[i] = static_cast<std::uint16_t>(Number("a version number"));
            if (!AcceptComma())
                break;
        }
        ms = (static_cast<std::uint32_t>(parts[0]) << 16) | parts[1];
        ls = (static_cast<std::uint32_t>(parts[2]) << 16) | parts[3];
    }

    std::vector<VersionNode> VersionBlock(const Token& owner)
    {
        ExpectBegin("version block");
        std::vector<VersionNode> nodes;
        while (InBlock(owner, "version block")) {
            const Token t = Peek();
            Next();
            VersionNode node;
            if (t.IsKeyword("BLOCK")) {
                node.isBlock = true;
                node.key = String("the block's name");
                node.children = VersionBlock(t);
            } else if (t.IsKeyword("VALUE")) {
                node.key = String("the value's name");
                if (AcceptComma()) {
                    if (Peek().kind == TokenKind::String) {
                        node.text = String("the value");
                        while (!node.text.empty() && node.text.back() == '\0')
                            node.text.pop_back();  // the terminating zero is written anyway
                    } else {
                        node.isText = false;
                        ByteWriter w;
                        do {
                            ExpressionReader reader(m_tokens, m_pos);
                            Value v = reader.Read();
                            if (v.isLong)
                                w.Dword(static_cast<std::uint32_t>(v.value));
                            else
                                w.Word(static_cast<std::uint16_t>(v.value));
                        } while (AcceptComma());
                        node.binary = w.Take();
                    }
                }
            } else {
                Fail(t, "expected BLOCK, VALUE or END in the version block, found " + Show(t));
            }
            nodes.push_back(std::move(node));
        }
        return nodes;
    }

    void Version(const host::ResourceId& name, const Token& at)
    {
        VersionDef v;
        std::uint16_t language = m_language;
        while (!IsBegin(Peek())) {
            const Token t = Peek();
            if (CommonOption(language))
                continue;
            Next();
            if (t.IsKeyword("FILEVERSION")) VersionNumbers(v.fileVersionMS, v.fileVersionLS);
            else if (t.IsKeyword("PRODUCTVERSION")) VersionNumbers(v.productVersionMS, v.productVersionLS);
            else if (t.IsKeyword("FILEFLAGSMASK")) v.flagsMask = static_cast<std::uint32_t>(Number("a mask"));
            else if (t.IsKeyword("FILEFLAGS")) v.flags = static_cast<std::uint32_t>(Number("flags"));
            else if (t.IsKeyword("FILEOS")) v.os = static_cast<std::uint32_t>(Number("an operating system"));
            else if (t.IsKeyword("FILETYPE")) v.type = static_cast<std::uint32_t>(Number("a file type"));
            else if (t.IsKeyword("FILESUBTYPE")) v.subtype = static_cast<std::uint32_t>(Number("a file subtype"));
            else if (t.kind == TokenKind::End) Fail(at, "version resource without BEGIN");
            else Fail(t, "unknown version statement " + Show(t));
        }
        v.blocks = VersionBlock(at);
        Add(host::ResourceId::Ordinal(RT_VERSION), name, language, EncodeVersion(v), at.place);
    }

    std::vector<Token> m_tokens;
    std::size_t m_pos = 0;
    const CompileOptions& m_options;
    std::vector<std::string>& m_filesRead;
    std::uint16_t m_language;
    std::uint16_t m_lastImageId = 0;
    std::vector<CompiledResource> m_resources;
    std::map<std::uint16_t, std::map<std::uint16_t, std::pair<std::string, SourcePlace>>> m_strings;
};

}  // namespace

CompileResult CompileScript(const std::string& path, const CompileOptions& options)
{
    Preprocessor preprocessor(options.includeDirs);
    for (const auto& [name, value] : options.defines)
        preprocessor.Define(name, value);
    std::vector<Token> tokens = preprocessor.Run(path);
    CompileResult result;
    result.filesRead = preprocessor.FilesRead();
    Compiler compiler(std::move(tokens), options, result.filesRead);
    result.resources = compiler.Run();
    return result;
}

}  // namespace rc
