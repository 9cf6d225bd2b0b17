// The resource compiler: its preprocessor, each statement's binary layout, and its errors.
#include <BundleWriter.h>
#include <ScriptCompiler.h>

#include <host/DialogTemplate.h>
#include <host/MenuTemplate.h>
#include <host/Resources.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

namespace {

std::string ReadHostFile(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

const rc::CompiledResource* FindIn(const rc::CompileResult& result, host::ResourceId type, host::ResourceId name)
{
    for (const auto& r : result.resources)
        if (r.type == type && r.name == name)
            return &r;
    return nullptr;
}

const rc::CompiledResource* FindIn(const rc::CompileResult& result, std::uint16_t type, std::uint16_t name)
{
    return FindIn(result, host::ResourceId::Ordinal(type), host::ResourceId::Ordinal(name));
}

std::uint16_t Word(const rc::Bytes& b, std::size_t at) { return static_cast<std::uint16_t>(b[at] | (b[at + 1] << 8)); }
std::uint32_t Dword(const rc::Bytes& b, std::size_t at) { return Word(b, at) | (std::uint32_t(Word(b, at + 2)) << 16); }

// Compiles a script written into a fresh folder (with any extra files beside it).
class ScriptFixture : public ::testing::Test {
protected:
    rc::CompileResult Compile(const std::string& script, rc::CompileOptions options = {})
    {
        dir.Write("test.rc", script);
        return rc::CompileScript(dir.str() + "/test.rc", options);
    }
    TempDir dir;
};

class TestLibraryScript : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        result = new rc::CompileResult(rc::CompileScript(std::string(RC_TEST_DATA) + "/testlib.rc", {}));
    }
    static void TearDownTestSuite()
    {
        delete result;
        result = nullptr;
    }
    static rc::CompileResult* result;
};
rc::CompileResult* TestLibraryScript::result = nullptr;

}  // namespace

TEST_F(TestLibraryScript, StringsAreBlocksOfSixteenInUtf16)
{
    // Ids 1 and 17 fall in blocks 1 and 2; 65535 in block 4096.
    const auto* block1 = FindIn(*result, 6, 1);
    const auto* block2 = FindIn(*result, 6, 2);
    const auto* last = FindIn(*result, 6, 4096);
    ASSERT_TRUE(block1 && block2 && last);
    // Block 1: string 0 empty, string 1 "Hello, "world"\tand more", 14 more empty ones.
    const rc::Bytes& b = block1->data;
    EXPECT_EQ(Word(b, 0), 0);
    std::u16string expected = u"Hello, \"world\"\tand more";
    ASSERT_EQ(Word(b, 2), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i)
        EXPECT_EQ(Word(b, 4 + 2 * i), expected[i]);
    EXPECT_EQ(b.size(), 2 + 2 + 2 * expected.size() + 14 * 2);
    // Windows-1252 bytes become their Unicode characters: é and the euro sign.
    const rc::Bytes& a = block2->data;
    std::u16string accented = u"Caf\u00e9 costs 3 \u20ac";
    ASSERT_EQ(Word(a, 2), accented.size());
    EXPECT_EQ(Word(a, 4 + 2 * 3), 0x00E9);
    EXPECT_EQ(Word(a, 4 + 2 * (accented.size() - 1)), 0x20AC);
    EXPECT_EQ(Word(last->data, 15 * 2), 4);  // "last" is the block's sixteenth string
}

TEST_F(TestLibraryScript, BitmapIsTheFileLessItsHeader)
{
    const auto* bitmap = FindIn(*result, 2, 100);
    ASSERT_TRUE(bitmap);
    std::string file = ReadHostFile(std::string(RC_TEST_DATA) + "/data/tiny.bmp");
    EXPECT_EQ(std::string(bitmap->data.begin(), bitmap->data.end()), file.substr(14));
    EXPECT_EQ(Dword(bitmap->data, 0), 40u);  // BITMAPINFOHEADER first
}

TEST_F(TestLibraryScript, IconGroupNamesEachImage)
{
    const auto* group = FindIn(*result, 14, 110);
    ASSERT_TRUE(group);
    const rc::Bytes& g = group->data;
    ASSERT_EQ(g.size(), 6u + 2 * 14);
    EXPECT_EQ(Word(g, 2), 1);  // icons
    EXPECT_EQ(Word(g, 4), 2);
    int sizes[2] = {16, 32};
    for (int i = 0; i < 2; ++i) {
        std::size_t e = 6 + 14 * static_cast<std::size_t>(i);
        EXPECT_EQ(g[e], sizes[i]);
        EXPECT_EQ(g[e + 1], sizes[i]);
        EXPECT_EQ(Word(g, e + 4), 1);   // planes
        EXPECT_EQ(Word(g, e + 6), 32);  // bits
        const auto* image = FindIn(*result, 3, Word(g, e + 12));
        ASSERT_TRUE(image);
        EXPECT_EQ(Dword(g, e + 8), image->data.size());
        EXPECT_EQ(Dword(image->data, 4), static_cast<std::uint32_t>(sizes[i]));  // biWidth
    }
}

TEST_F(TestLibraryScript, CursorImageStartsWithItsHotSpot)
{
    const auto* group = FindIn(*result, 12, 120);
    ASSERT_TRUE(group);
    const rc::Bytes& g = group->data;
    EXPECT_EQ(Word(g, 2), 2);
    EXPECT_EQ(Word(g, 6), 32);      // width
    EXPECT_EQ(Word(g, 8), 64);      // height of both masks
    const auto* image = FindIn(*result, 1, Word(g, 6 + 12));
    ASSERT_TRUE(image);
    EXPECT_EQ(Word(image->data, 0), 5);
    EXPECT_EQ(Word(image->data, 2), 7);
    EXPECT_EQ(Dword(image->data, 4), 40u);
    EXPECT_EQ(Dword(g, 6 + 8), image->data.size());
}

TEST_F(TestLibraryScript, RawDataFromFilesAndInline)
{
    const auto* blob = FindIn(*result, 10, 130);
    ASSERT_TRUE(blob);
    EXPECT_EQ(std::string(blob->data.begin(), blob->data.end()),
              ReadHostFile(std::string(RC_TEST_DATA) + "/data/blob.bin"));
    const auto* wave = FindIn(*result, host::ResourceId::Named("wave"), host::ResourceId::Ordinal(9026));
    ASSERT_TRUE(wave);
    EXPECT_EQ(std::string(wave->data.begin(), wave->data.begin() + 4), "RIFF");
    // Numbers are 16 bits, L numbers 32 bits, strings their bytes without a terminator.
    const auto* inline_ = FindIn(*result, 10, 131);
    ASSERT_TRUE(inline_);
    rc::Bytes expected = {3, 0, 0xFF, 0xFF, 0x78, 0x56, 0x34, 0x12, 'a', 'b', 'c', 0};
    EXPECT_EQ(inline_->data, expected);
    const auto* custom = FindIn(*result, host::ResourceId::Named("MYTYPE"), host::ResourceId::Named("customthing"));
    ASSERT_TRUE(custom);
    EXPECT_EQ(std::string(custom->data.begin(), custom->data.end()), "xyz");
}

TEST_F(TestLibraryScript, MenuTemplateKeepsItsStructure)
{
    const auto* menu = FindIn(*result, 4, 200);
    ASSERT_TRUE(menu);
    auto items = host::ParseMenuTemplate(menu->data.data(), menu->data.size());
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    const auto& file = (*items)[0];
    EXPECT_EQ(file.text, "&File");
    EXPECT_EQ(file.flags, 0x10u);
    ASSERT_EQ(file.children.size(), 3u);
    EXPECT_EQ(file.children[0].text, "&Open...\tCtrl+O");
    EXPECT_EQ(file.children[0].id, 0xE101u);
    EXPECT_EQ(file.children[1].flags, 0x800u);  // separator
    EXPECT_EQ(file.children[2].id, 0xE141u);
    ASSERT_EQ((*items)[1].children.size(), 1u);
    EXPECT_EQ((*items)[1].children[0].flags, 0x8u | 0x1u);  // checked, grayed
    EXPECT_EQ((*items)[2].text, "&About");
    EXPECT_EQ((*items)[2].flags, 0x4000u);  // help
    // The last item of each level carries MF_END in the template.
    EXPECT_EQ(Word(menu->data, menu->data.size() - 2 * 7 - 4) & 0x80, 0x80);
}

TEST_F(TestLibraryScript, DialogTemplateHoldsItsControls)
{
    const auto* resource = FindIn(*result, 5, 273);
    ASSERT_TRUE(resource);
    auto d = host::ParseDialogTemplate(resource->data.data(), resource->data.size());
    ASSERT_TRUE(d);
    EXPECT_FALSE(d->extended);
    EXPECT_EQ(d->style, 0x80u | 0x80000000u | 0x00C00000u | 0x00080000u | 0x40u);  // DS_SETFONT from FONT
    EXPECT_EQ(d->x, 10);
    EXPECT_EQ(d->y, 20);
    EXPECT_EQ(d->cx, 200);
    EXPECT_EQ(d->cy, 100);
    EXPECT_EQ(d->caption, "Plain");
    EXPECT_TRUE(d->hasFont);
    EXPECT_EQ(d->pointSize, 8);
    EXPECT_EQ(d->faceName, "MS Sans Serif");
    ASSERT_EQ(d->controls.size(), 8u);

    struct Expected {
        const char* cls;
        const char* text;
        DWORD id;
        DWORD style;
        short x, y, cx, cy;
    } expected[] = {
        {"Static", "&Name:", 0xFFFF, 0x50020000, 7, 9, 30, 8},
        {"Edit", "", 1001, 0x50010080, 40, 7, 100, 14},                 // WS_BORDER taken away
        {"ListBox", "", 1002, 0x50A00003, 7, 30, 100, 50},
        {"Button", "OK", 1, 0x50010001, 143, 7, 50, 14},
        {"Button", "Cancel", 2, 0x50010000, 143, 24, 50, 14},
        {"Button", "&Check", 1004, 0x50010003, 7, 85, 50, 10},
        {"Static", "", 0xFFFF, 0x50000003, 120, 40, 0, 0},
        {"VlCustomClass", "", 1003, 0x50010001, 120, 60, 20, 20},
    };
    for (std::size_t i = 0; i < d->controls.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& c = d->controls[i];
        EXPECT_EQ(c.className, expected[i].cls);
        if (i != 6) {
            EXPECT_EQ(c.text.text, expected[i].text);
        }
        EXPECT_EQ(c.id, expected[i].id);
        EXPECT_EQ(c.style, expected[i].style);
        EXPECT_EQ(c.x, expected[i].x);
        EXPECT_EQ(c.y, expected[i].y);
        EXPECT_EQ(c.cx, expected[i].cx);
        EXPECT_EQ(c.cy, expected[i].cy);
    }
    EXPECT_EQ(d->controls[6].text.ordinal, 110);  // the icon control names its icon
    EXPECT_EQ(d->controls[7].exStyle, 0x200u);
}

TEST_F(TestLibraryScript, ExtendedDialogTemplate)
{
    const auto* resource = FindIn(*result, 5, 274);
    ASSERT_TRUE(resource);
    auto d = host::ParseDialogTemplate(resource->data.data(), resource->data.size());
    ASSERT_TRUE(d);
    EXPECT_TRUE(d->extended);
    EXPECT_EQ(d->helpId, 77u);
    EXPECT_EQ(d->exStyle, 0x80u);
    EXPECT_EQ(d->menu.ordinal, 200);
    EXPECT_EQ(d->pointSize, 9);
    EXPECT_EQ(d->weight, 700);
    EXPECT_TRUE(d->italic);
    EXPECT_EQ(d->charset, 0);
    EXPECT_EQ(d->faceName, "Arial");
    ASSERT_EQ(d->controls.size(), 2u);
    EXPECT_EQ(d->controls[0].className, "Static");
    EXPECT_EQ(d->controls[0].style, 0x50020081u);
    EXPECT_EQ(d->controls[0].helpId, 42u);
    EXPECT_EQ(d->controls[1].className, "ComboBox");
    EXPECT_EQ(d->controls[1].id, 5001u);
    EXPECT_EQ(d->controls[1].style, 0x50210003u);
}

TEST_F(TestLibraryScript, AcceleratorEntries)
{
    const auto* table = FindIn(*result, 9, 200);
    ASSERT_TRUE(table);
    const rc::Bytes& a = table->data;
    ASSERT_EQ(a.size(), 5u * 8);
    struct {
        std::uint16_t flags, key, id;
    } expected[] = {
        {0x00, 15, 0xE101},           // "^O": control-O as a character
        {0x00, 'a', 401},
        {0x01 | 0x08 | 0x04, 'B', 402},
        {0x01 | 0x02, 0x70, 0xE140},  // VK_F1
        {0x01 | 0x10 | 0x80, 0x2E, 403},  // the last entry is marked
    };
    for (std::size_t i = 0; i < 5; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(Word(a, 8 * i), expected[i].flags);
        EXPECT_EQ(Word(a, 8 * i + 2), expected[i].key);
        EXPECT_EQ(Word(a, 8 * i + 4), expected[i].id);
    }
}

TEST_F(TestLibraryScript, BundleReadsBackEveryResource)
{
    rc::Bytes bundle = rc::WriteBundle(result->resources);
    auto entries = host::ParseBundle(bundle.data(), bundle.size());
    ASSERT_TRUE(entries);
    ASSERT_EQ(entries->size(), result->resources.size());
    for (std::size_t i = 0; i < entries->size(); ++i) {
        const auto& e = (*entries)[i];
        const auto& r = result->resources[i];
        EXPECT_EQ(e.type, r.type);
        EXPECT_EQ(e.name, r.name);
        EXPECT_EQ(e.language, 0x0409);
        EXPECT_EQ((e.data - bundle.data()) % 8, 0);
        EXPECT_EQ(rc::Bytes(e.data, e.data + e.size), r.data);
    }
    // Cut anywhere inside the directory, the bundle is refused rather than misread.
    for (std::size_t cut : {std::size_t(3), std::size_t(16), std::size_t(40), bundle.size() - 1})
        EXPECT_FALSE(host::ParseBundle(bundle.data(), cut)) << cut;
}

TEST_F(ScriptFixture, PreprocessorChoosesBranchesAndReadsOnlyDirectivesOfHeaders)
{
    dir.Write("ids.h",
              "#pragma once\n"
              "#define BASE 100\n"
              "#define NEXT (BASE + 1) /* a comment */\n"
              "typedef struct { int x; } Ignored;   // C text in a header is skipped\n"
              "int Function(void);\n");
    auto result = Compile("#include \"ids.h\"\n"
                          "#if defined(BASE) && BASE > 50\n"
                          "STRINGTABLE BEGIN NEXT \"big\" END\n"
                          "#else\n"
                          "STRINGTABLE BEGIN NEXT \"small\" END\n"
                          "#endif\n"
                          "#ifndef FROM_COMMAND_LINE\n"
                          "#error not defined\n"
                          "#elif FROM_COMMAND_LINE == 3\n"
                          "1 RCDATA BEGIN FROM_COMMAND_LINE * 2 + 1, (1 << 4) | 2, -NEXT END\n"
                          "#endif\n",
                          rc::CompileOptions{{}, {{"FROM_COMMAND_LINE", "3"}}});
    const auto* strings = FindIn(result, 6, 101 / 16 + 1);
    ASSERT_TRUE(strings);
    EXPECT_EQ(Word(strings->data, 2 * (101 % 16)), 3);  // "big"
    const auto* data = FindIn(result, 10, 1);
    ASSERT_TRUE(data);
    EXPECT_EQ(data->data, (rc::Bytes{7, 0, 18, 0, 0x9B, 0xFF}));
    ASSERT_EQ(result.filesRead.size(), 2u);
    EXPECT_NE(result.filesRead[1].find("ids.h"), std::string::npos);
}

TEST_F(ScriptFixture, NamedResourcesAndLanguages)
{
    auto result = Compile("LANGUAGE LANG_GERMAN, SUBLANG_DEFAULT\n"
                          "Logo RCDATA BEGIN 1 END\n"
                          "\"Other Name\" RCDATA LANGUAGE LANG_FRENCH, SUBLANG_DEFAULT BEGIN 2 END\n");
    ASSERT_EQ(result.resources.size(), 2u);
    EXPECT_EQ(result.resources[0].name, host::ResourceId::Named("LOGO"));
    EXPECT_EQ(result.resources[0].language, 0x0407);
    EXPECT_EQ(result.resources[1].name.name, "OTHER NAME");
    EXPECT_EQ(result.resources[1].language, 0x040C);
}

TEST_F(ScriptFixture, DependencyFileListsEveryInput)
{
    std::string deps = rc::DependencyFile("/out/a b.cpp", {"x.rc", "res/x.bmp"});
    EXPECT_EQ(deps, "/out/a\\ b.cpp: \\\n  x.rc \\\n  res/x.bmp\n");
}

namespace {

struct ErrorCase {
    const char* name;
    const char* script;
    int line;
    const char* message;
};

const ErrorCase kErrorCases[] = {
    {"UnterminatedString", "STRINGTABLE\nBEGIN\n  1 \"abc\nEND\n", 3, "unterminated string"},
    {"StringTableWithoutEnd", "STRINGTABLE\nBEGIN\n  1 \"a\"\n", 1, "STRINGTABLE without END"},
    {"DuplicateStringId", "STRINGTABLE\nBEGIN\n  1 \"a\"\n  1 \"b\"\nEND\n", 4, "duplicate string id 1 (first defined at"},
    {"StringIdOutOfRange", "STRINGTABLE\nBEGIN\n  70000 \"a\"\nEND\n", 3, "string id 70000 is out of range"},
    {"MissingFile", "\n1 BITMAP \"nope.bmp\"\n", 2, "cannot find file 'nope.bmp'"},
    {"NotABitmap", "1 BITMAP \"bad.bin\"\n", 1, "'bad.bin' is not a bitmap file"},
    {"NotAnIcon", "1 ICON \"bad.bin\"\n", 1, "'bad.bin' is not an icon file"},
    {"UnknownControl", "1 DIALOG 0, 0, 10, 10\nBEGIN\n  BUTTONX \"a\", 1, 0, 0, 1, 1\nEND\n", 3,
     "unknown control statement 'BUTTONX'"},
    {"MissingComma", "1 DIALOG 0, 0, 10\nBEGIN\nEND\n", 1, "expected ',' before the height, found 'BEGIN'"},
    {"UndefinedControlId", "1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", IDC_NOPE, 0, 0, 1, 1\nEND\n", 3,
     "undefined name 'IDC_NOPE'"},
    {"DialogWithoutEnd", "1 DIALOG 0, 0, 10, 10\nBEGIN\n  LTEXT \"a\", 1, 0, 0, 1, 1\n", 1, "dialog without END"},
    {"UnknownDialogOption", "1 DIALOG 0, 0, 10, 10\nCOLOUR 3\nBEGIN\nEND\n", 2, "unknown dialog option 'COLOUR'"},
    {"CoordinateOutOfRange", "1 DIALOG 0, 0, 40000, 10\nBEGIN\nEND\n", 1, "width 40000 is out of range"},
    {"MissingInclude", "#include \"missing.h\"\n", 1, "cannot find include file 'missing.h'"},
    {"EndifWithoutIf", "\n#endif\n", 2, "#endif without #if"},
    {"IfWithoutEndif", "#ifdef X\n1 RCDATA BEGIN 1 END\n", 1, "#if without #endif"},
    {"ElseAfterElse", "#if 1\n#else\n#else\n#endif\n", 3, "#else after #else"},
    {"ErrorDirective", "#define X\n#ifdef X\n#error boom here\n#endif\n", 3, "#error boom here"},
    {"UnknownDirective", "#frobnicate\n", 1, "unknown directive '#frobnicate'"},
    {"MacroWithArguments", "#define F(x) x\n1 RCDATA BEGIN F(1) END\n", 2, "macro 'F' takes arguments"},
    {"DuplicateResource", "5 RCDATA BEGIN 1 END\n\n5 RCDATA BEGIN 2 END\n", 3,
     "duplicate resource: type 10, name 5 (first defined at"},
    {"BadAcceleratorKey", "1 ACCELERATORS\nBEGIN\n  \"abc\", 1\nEND\n", 3, "one character"},
    {"VirtKeyControlCharacter", "1 ACCELERATORS\nBEGIN\n  \"^C\", 1, VIRTKEY\nEND\n", 3, "cannot be VIRTKEY"},
    {"MenuJunk", "1 MENU\nBEGIN\n  ITEM \"x\", 1\nEND\n", 3, "expected MENUITEM, POPUP or END in the menu"},
    {"MenuWithoutEnd", "1 MENU\nBEGIN\n  MENUITEM \"x\", 1\n", 1, "menu without END"},
    {"UnknownResourceType", "1 FOO 3\n", 1, "unknown resource type 'FOO'"},
    {"MalformedNumber", "1 RCDATA BEGIN 12abc END\n", 1, "malformed number '12abc'"},
    {"UnexpectedCharacter", "1 RCDATA BEGIN 1 @ END\n", 1, "unexpected character '@'"},
    {"ResourceIdZero", "0 RCDATA BEGIN 1 END\n", 1, "resource name 0 is out of range"},
    {"DivisionByZero", "1 RCDATA BEGIN 4 / 0 END\n", 1, "division by zero"},
    {"VersionJunk", "1 VERSIONINFO\nFILEVERSION 1,0\nBEGIN\n  ITEM \"a\"\nEND\n", 4, "expected BLOCK, VALUE or END"},
    {"MissingResourceType", "\n\n7\n", 3, "resource 7 has no type"},
    {"MenuexUnsupported", "1 MENUEX\nBEGIN\nEND\n", 1, "MENUEX is not supported"},
};

void PrintTo(const ErrorCase& c, std::ostream* out) { *out << c.name; }

class CompilerErrors : public ::testing::TestWithParam<ErrorCase> {};

}  // namespace

TEST_P(CompilerErrors, NameTheFileAndLine)
{
    const ErrorCase& c = GetParam();
    TempDir dir;
    dir.Write("bad.bin", "XXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXXX");
    dir.Write("test.rc", c.script);
    try {
        rc::CompileScript(dir.str() + "/test.rc", {});
        FAIL() << "compiled without an error";
    } catch (const rc::CompileError& e) {
        EXPECT_EQ(e.place().file, dir.str() + "/test.rc");
        EXPECT_EQ(e.place().line, c.line) << e.what();
        EXPECT_NE(e.message().find(c.message), std::string::npos) << e.what();
        EXPECT_EQ(std::string(e.what()).rfind(dir.str() + "/test.rc:" + std::to_string(c.line) + ": error: ", 0), 0u);
    }
}

INSTANTIATE_TEST_SUITE_P(Script, CompilerErrors, ::testing::ValuesIn(kErrorCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(ScriptFixture, ErrorInAnIncludedHeaderNamesTheHeader)
{
    dir.Write("ids.h", "#define A 1\n#if A\n#define B 2\n");
    try {
        Compile("#include \"ids.h\"\n");
        FAIL() << "compiled without an error";
    } catch (const rc::CompileError& e) {
        EXPECT_EQ(e.place().file, dir.str() + "/ids.h");
        EXPECT_EQ(e.place().line, 2);
        EXPECT_EQ(e.message(), "#if without #endif");
    }
}
