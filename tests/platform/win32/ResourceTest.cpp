// Resources found through a module's handle: a code library that embeds its bundle, and a
// resource-only library that is a bundle file.
#include <windows.h>

#include <BundleBytes.h>
#include <TempDir.h>

#include <host/DialogTemplate.h>
#include <host/MenuTemplate.h>
#include <host/Paths.h>

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// The test library, loaded for the whole suite.
class LibraryResources : public ::testing::Test {
protected:
    void SetUp() override
    {
        library = LoadLibrary("vltestlib.dll");
        ASSERT_NE(library, nullptr);
    }
    void TearDown() override { FreeLibrary(library); }

    std::string Bytes(LPCSTR name, LPCSTR type)
    {
        HRSRC found = FindResource(library, name, type);
        if (!found)
            return {};
        auto data = static_cast<const char*>(LockResource(LoadResource(library, found)));
        return std::string(data, SizeofResource(library, found));
    }

    HMODULE library = nullptr;
};

}  // namespace

TEST_F(LibraryResources, LoadStringCopiesAndCuts)
{
    char buffer[64];
    EXPECT_EQ(LoadString(library, 1, buffer, sizeof buffer), 23);
    EXPECT_STREQ(buffer, "Hello, \"world\"\tand more");
    EXPECT_EQ(LoadString(library, 17, buffer, sizeof buffer), 14);
    EXPECT_STREQ(buffer, "Caf\xe9 costs 3 \x80");  // back in Windows-1252
    EXPECT_EQ(LoadString(library, 65535, buffer, sizeof buffer), 4);
    // Cut to the buffer, always terminated.
    EXPECT_EQ(LoadString(library, 1, buffer, 6), 5);
    EXPECT_STREQ(buffer, "Hello");
    // Missing strings: an empty buffer and 0, in a present block and in an absent one.
    strcpy(buffer, "old");
    EXPECT_EQ(LoadString(library, 2, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    strcpy(buffer, "old");
    SetLastError(0);
    EXPECT_EQ(LoadString(library, 500, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
}

TEST_F(LibraryResources, BitmapIsThePackedDib)
{
    std::string bitmap = Bytes(MAKEINTRESOURCE(100), RT_BITMAP);
    ASSERT_EQ(bitmap.size(), 40u + 12 * 2);  // rows of 3 pixels padded to 12 bytes
    {
        const unsigned char* p = reinterpret_cast<const unsigned char*>(bitmap.data());
        EXPECT_EQ(p[0], 40);  // biSize
        EXPECT_EQ(p[4], 3);   // biWidth
        EXPECT_EQ(p[8], 2);   // biHeight
        EXPECT_EQ(p[14], 24); // biBitCount
        // First pixel: blue 0x10, green 0x20, red 0x30.
        EXPECT_EQ(p[40], 0x10);
        EXPECT_EQ(p[41], 0x20);
        EXPECT_EQ(p[42], 0x30);
    }
}

TEST_F(LibraryResources, IconGroupPicksEachSize)
{
    std::string group = Bytes(MAKEINTRESOURCE(110), RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    auto word = [&](std::size_t at) { return static_cast<WORD>((unsigned char)group[at] | ((unsigned char)group[at + 1] << 8)); };
    for (int i = 0; i < 2; ++i) {
        std::size_t e = 6 + 14 * static_cast<std::size_t>(i);
        int size = (unsigned char)group[e];
        std::string image = Bytes(MAKEINTRESOURCE(word(e + 12)), RT_ICON);
        ASSERT_FALSE(image.empty());
        EXPECT_EQ(static_cast<int>((unsigned char)image[4]), size);  // biWidth of the image
        EXPECT_EQ(static_cast<int>((unsigned char)image[8]), 2 * size);  // both masks
    }
    EXPECT_EQ((unsigned char)group[6], 16);
    EXPECT_EQ((unsigned char)group[6 + 14], 32);

    // Picking by size: exact sizes, the nearest for others, the system size for 0.
    auto bits = reinterpret_cast<PBYTE>(group.data());
    int small = word(6 + 12), large = word(6 + 14 + 12);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(bits, TRUE, 16, 16, 0), small);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(bits, TRUE, 32, 32, 0), large);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(bits, TRUE, 20, 20, 0), small);
    EXPECT_EQ(LookupIconIdFromDirectoryEx(bits, TRUE, 48, 48, 0), large);
    EXPECT_EQ(LookupIconIdFromDirectory(bits, TRUE), large);
    EXPECT_EQ(LookupIconIdFromDirectory(bits, FALSE), 0);  // not a cursor group

    std::string cursors = Bytes(MAKEINTRESOURCE(120), RT_GROUP_CURSOR);
    ASSERT_FALSE(cursors.empty());
    int cursorId = LookupIconIdFromDirectory(reinterpret_cast<PBYTE>(cursors.data()), FALSE);
    std::string cursor = Bytes(MAKEINTRESOURCE(cursorId), RT_CURSOR);
    ASSERT_GE(cursor.size(), 8u);
    EXPECT_EQ(cursor[0], 5);  // the hot spot leads the image
    EXPECT_EQ(cursor[2], 7);
}

TEST_F(LibraryResources, NamesTypesAndErrors)
{
    // Names and types by text, without regard to case, and "#n" for ordinals.
    EXPECT_EQ(Bytes("customthing", "mytype"), "xyz");
    EXPECT_EQ(Bytes("#130", RT_RCDATA).size(), 260u);
    EXPECT_EQ(Bytes(MAKEINTRESOURCE(9026), "WAVE").substr(0, 4), "RIFF");
    std::string inline_ = Bytes(MAKEINTRESOURCE(131), RT_RCDATA);
    EXPECT_EQ(inline_, std::string("\x03\x00\xff\xff\x78\x56\x34\x12" "abc\x00", 12));

    SetLastError(0);
    EXPECT_EQ(FindResource(library, MAKEINTRESOURCE(999), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(FindResource(library, MAKEINTRESOURCE(1), RT_HTML), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_TYPE_NOT_FOUND));
    EXPECT_EQ(FindResourceEx(library, RT_RCDATA, MAKEINTRESOURCE(130), MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_LANG_NOT_FOUND));
    EXPECT_NE(FindResourceEx(library, RT_RCDATA, MAKEINTRESOURCE(130), MAKELANGID(LANG_ENGLISH, SUBLANG_ENGLISH_US)), nullptr);
    EXPECT_EQ(LoadResource(library, nullptr), nullptr);
    EXPECT_EQ(SizeofResource(library, nullptr), 0u);
}

TEST_F(LibraryResources, MenuAndDialogTemplates)
{
    std::string menu = Bytes(MAKEINTRESOURCE(200), RT_MENU);
    auto items = host::ParseMenuTemplate(menu.data(), menu.size());
    ASSERT_TRUE(items);
    ASSERT_EQ(items->size(), 3u);
    EXPECT_EQ((*items)[0].children[2].text, "E&xit");

    std::string dialog = Bytes(MAKEINTRESOURCE(273), RT_DIALOG);
    auto d = host::ParseDialogTemplate(dialog.data(), dialog.size());
    ASSERT_TRUE(d);
    ASSERT_EQ(d->controls.size(), 8u);
    // In pixels with base units 6 x 13 (an 8-point dialog font), as MapDialogRect gives them.
    const auto& ok = d->controls[3];
    RECT pixels = host::DialogUnitsToPixels(RECT{ok.x, ok.y, ok.x + ok.cx, ok.y + ok.cy}, 6, 13);
    EXPECT_EQ(pixels.left, 215);   // 143 * 6 / 4 = 214.5
    EXPECT_EQ(pixels.top, 11);     // 7 * 13 / 8 = 11.4
    EXPECT_EQ(pixels.right, 290);  // 193 * 6 / 4 = 289.5
    EXPECT_EQ(pixels.bottom, 34);  // 21 * 13 / 8 = 34.1
    // The base units measured from the template's font ("MS Sans Serif", 8 points).
    SIZE base = host::DialogBaseUnits(*d);
    EXPECT_GE(base.cx, 5);
    EXPECT_LE(base.cx, 8);
    EXPECT_GE(base.cy, 11);
    EXPECT_LE(base.cy, 16);
    host::DialogTemplate fontless;
    EXPECT_EQ(host::DialogBaseUnits(fontless).cx, 8);
    EXPECT_EQ(host::DialogBaseUnits(fontless).cy, 16);
    // Every cut of a template is refused, never read past its end.
    for (std::size_t cut = 0; cut < dialog.size(); cut += 7)
        EXPECT_FALSE(host::ParseDialogTemplate(dialog.data(), cut)) << cut;
    // (The header alone is an empty menu.)
    for (std::size_t cut = 5; cut < menu.size(); ++cut)
        EXPECT_FALSE(host::ParseMenuTemplate(menu.data(), cut)) << cut;
    EXPECT_TRUE(host::ParseMenuTemplate(menu.data(), 4)->empty());
}

TEST_F(LibraryResources, VersionOfTheLibraryFile)
{
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileName(library, path, MAX_PATH), 0u);
    DWORD size = GetFileVersionInfoSize(path, nullptr);
    ASSERT_GT(size, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfo(path, 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), "\\StringFileInfo\\040904B0\\ProductVersion", &value, &length));
    EXPECT_STREQ(static_cast<char*>(value), "2.0");
    EXPECT_EQ(length, 4u);
    // Keys compare without regard to case; text comes back in Windows-1252.
    ASSERT_TRUE(VerQueryValue(block.data(), "\\stringfileinfo\\040904b0\\companyname", &value, &length));
    EXPECT_STREQ(static_cast<char*>(value), "Test \xe9");
    ASSERT_TRUE(VerQueryValue(block.data(), "\\", &value, &length));
    ASSERT_EQ(length, sizeof(VS_FIXEDFILEINFO));
    auto fixed = static_cast<VS_FIXEDFILEINFO*>(value);
    EXPECT_EQ(fixed->dwSignature, 0xFEEF04BDu);
    EXPECT_EQ(fixed->dwFileVersionMS, 0x00020005u);
    EXPECT_EQ(fixed->dwFileVersionLS, 0x00000011u);
    ASSERT_TRUE(VerQueryValue(block.data(), "\\VarFileInfo\\Translation", &value, &length));
    ASSERT_EQ(length, 4u);
    EXPECT_EQ(static_cast<WORD*>(value)[0], 0x0409);
    EXPECT_EQ(static_cast<WORD*>(value)[1], 1200);
    EXPECT_FALSE(VerQueryValue(block.data(), "\\StringFileInfo\\040904B0\\Missing", &value, &length));
    // A buffer too small for the block is refused.
    std::vector<char> small(16);
    EXPECT_FALSE(GetFileVersionInfo(path, 0, static_cast<DWORD>(small.size()), small.data()));
    EXPECT_EQ(GetFileVersionInfoSize("no_such_file.dll", nullptr), 0u);
}

TEST(DataLibrary, ResourcesThroughItsHandle)
{
    HMODULE data = LoadLibraryEx("vltestdata.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(data, nullptr) << GetLastError();
    EXPECT_EQ(LoadLibrary("vltestdata.dll"), data);
    char buffer[32];
    EXPECT_EQ(LoadString(data, 7000, buffer, sizeof buffer), 12);
    EXPECT_STREQ(buffer, "data library");
    // A neutral request prefers US English; a language of its own is asked for by FindResourceEx.
    LoadString(data, 7001, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "English");
    HRSRC german = FindResourceEx(data, RT_STRING, MAKEINTRESOURCE(7001 / 16 + 1), MAKELANGID(LANG_GERMAN, SUBLANG_DEFAULT));
    ASSERT_NE(german, nullptr);
    EXPECT_NE(FindResource(data, MAKEINTRESOURCE(7556), RT_BITMAP), nullptr);
    // A data module has no code.
    EXPECT_EQ(GetProcAddress(data, "VlTestAdd"), nullptr);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileName(data, path, MAX_PATH), 0u);
    EXPECT_NE(std::string(path).find("\\vltestdata.dll"), std::string::npos);
    EXPECT_TRUE(FreeLibrary(data));
    EXPECT_TRUE(FreeLibrary(data));
    EXPECT_EQ(GetModuleHandle("vltestdata.dll"), nullptr);
}

TEST(DataLibrary, ScreenClassLibrariesAreBuilt)
{
    const LONG closeBoxWidth[] = {16, 18, 21};  // drawn for each screen class
    int screenClass = 0;
    for (const char* name : {"vl_res0.dll", "vl_res1.dll", "vl_res2.dll"}) {
        HMODULE library = LoadLibrary(name);
        ASSERT_NE(library, nullptr) << name;
        EXPECT_NE(FindResource(library, MAKEINTRESOURCE(1), RT_VERSION), nullptr) << name;
        // The program's strings are there too, for look-ups through the resource handle.
        char buffer[16];
        EXPECT_EQ(LoadString(library, 363, buffer, sizeof buffer), 8) << name;
        HRSRC closeBox = FindResource(library, MAKEINTRESOURCE(7556), RT_BITMAP);
        ASSERT_NE(closeBox, nullptr) << name;
        auto header = static_cast<const BYTE*>(LockResource(LoadResource(library, closeBox)));
        LONG width = 0;
        std::memcpy(&width, header + 4, sizeof width);
        EXPECT_EQ(width, closeBoxWidth[screenClass++]) << name;
        FreeLibrary(library);
    }
}

TEST(ProgramModuleResources, NoneInThisProgram)
{
    SetLastError(0);
    EXPECT_EQ(FindResource(nullptr, MAKEINTRESOURCE(1), RT_STRING), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_DATA_NOT_FOUND));
}

// ---- damaged bundles and resources ----

namespace {

// Resource-only libraries written into a folder of their own.
class MadeLibraries : public ::testing::Test {
protected:
    // The platform path of a library file holding the bytes.
    std::string Library(const std::string& name, const std::string& bytes)
    {
        dir.Write(name, bytes);
        auto folder = host::FromHostPath(dir.str());
        EXPECT_TRUE(folder);
        return folder ? *folder + "\\" + name : std::string();
    }
    // The bytes of a resource of the library `from` (the test library when null).
    static std::string Bytes(HMODULE from, LPCSTR name, LPCSTR type)
    {
        HRSRC found = FindResource(from, name, type);
        if (!found)
            return {};
        auto data = static_cast<const char*>(LockResource(LoadResource(from, found)));
        return std::string(data, SizeofResource(from, found));
    }

    TempDir dir;
};

using testbundle::Resource;
using host::ResourceId;

}  // namespace

TEST_F(MadeLibraries, DataOffsetsMustBeMultiplesOfEight)
{
    HMODULE testlib = LoadLibrary("vltestlib.dll");
    ASSERT_NE(testlib, nullptr);
    const std::vector<Resource> resources = {
        {ResourceId::Ordinal(10), ResourceId::Ordinal(1), "abc"},
        {ResourceId::Ordinal(2), ResourceId::Ordinal(100), Bytes(testlib, MAKEINTRESOURCE(100), RT_BITMAP)},
    };
    FreeLibrary(testlib);
    ASSERT_EQ(resources[1].data.size(), 40u + 12 * 2);

    // As the compiler lays them out: the bitmap loads.
    std::string good = Library("aligned.dll", testbundle::Make(resources));
    HMODULE aligned = LoadLibraryEx(good.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(aligned, nullptr) << GetLastError();
    EXPECT_EQ(Bytes(aligned, MAKEINTRESOURCE(1), RT_RCDATA), "abc");
    HBITMAP bitmap = LoadBitmap(aligned, MAKEINTRESOURCE(100));
    ASSERT_NE(bitmap, nullptr);
    BITMAP info{};
    ASSERT_TRUE(GetObject(bitmap, sizeof info, &info));
    EXPECT_EQ(info.bmWidth, 3);
    EXPECT_EQ(info.bmHeight, 2);
    DeleteObject(bitmap);
    FreeLibrary(aligned);

    // Data off the 8-byte grid is not a bundle of this format.
    for (std::size_t misalign : {1u, 2u, 4u, 6u}) {
        SCOPED_TRACE(misalign);
        std::string bad = Library("misaligned" + std::to_string(misalign) + ".dll", testbundle::Make(resources, misalign));
        SetLastError(0);
        EXPECT_EQ(LoadLibraryEx(bad.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
        std::string bytes = testbundle::Make(resources, misalign);
        EXPECT_FALSE(host::ParseBundle(bytes.data(), bytes.size()));
    }
}

TEST_F(MadeLibraries, IconGroupCountingMoreEntriesThanItHolds)
{
    HMODULE testlib = LoadLibrary("vltestlib.dll");
    ASSERT_NE(testlib, nullptr);
    const std::string group = Bytes(testlib, MAKEINTRESOURCE(110), RT_GROUP_ICON);
    ASSERT_EQ(group.size(), 6u + 2 * 14);
    std::vector<Resource> resources;
    for (std::size_t e = 6; e < group.size(); e += 14) {
        WORD id = static_cast<WORD>(static_cast<unsigned char>(group[e + 12]) | (static_cast<unsigned char>(group[e + 13]) << 8));
        resources.push_back({ResourceId::Ordinal(3), ResourceId::Ordinal(id), Bytes(testlib, MAKEINTRESOURCE(id), RT_ICON)});
    }
    FreeLibrary(testlib);
    const struct {
        WORD id;
        const char* name;
        std::string bytes;
        bool loads;
    } groups[] = {
        {200, "whole", group, true},
        {201, "one entry short", group.substr(0, group.size() - 14), false},
        {202, "one byte short", group.substr(0, group.size() - 1), false},
        {203, "header only", group.substr(0, 6), false},
        {204, "shorter than its header", group.substr(0, 5), false},
        // Last in the library: entries read past the resource would leave the library's bytes.
        {205, "counting 4000 entries", group.substr(0, 4) + std::string("\xA0\x0F", 2) + group.substr(6), false},
    };
    for (const auto& g : groups)
        resources.push_back({ResourceId::Ordinal(14), ResourceId::Ordinal(g.id), g.bytes});
    std::string path = Library("icons.dll", testbundle::Make(resources));
    HMODULE icons = LoadLibraryEx(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(icons, nullptr) << GetLastError();
    for (const auto& g : groups) {
        SCOPED_TRACE(g.name);
        HICON icon = static_cast<HICON>(LoadImage(icons, MAKEINTRESOURCE(g.id), IMAGE_ICON, 32, 32, 0));
        EXPECT_EQ(g.loads, icon != nullptr);
        if (icon)
            DestroyIcon(icon);
        else
            EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_DATA));
    }
    FreeLibrary(icons);
}

TEST_F(MadeLibraries, VersionQueriesStayInsideTheBytesFilled)
{
    HMODULE testlib = LoadLibrary("vltestlib.dll");
    ASSERT_NE(testlib, nullptr);
    const std::string version = Bytes(testlib, MAKEINTRESOURCE(1), RT_VERSION);
    FreeLibrary(testlib);
    ASSERT_GT(version.size(), 200u);
    // Cut after the fixed file information: the root node still claims the whole block.
    const std::size_t cut = 40 + sizeof(VS_FIXEDFILEINFO) + 8;
    std::string path = Library("version.dll", testbundle::Make({{ResourceId::Ordinal(16), ResourceId::Ordinal(1),
                                                                 version.substr(0, cut)}}));
    DWORD size = GetFileVersionInfoSize(path.c_str(), nullptr);
    ASSERT_GT(size, 0u);
    // Exactly the size asked for, so that the sanitizers see any read past it.
    auto block = std::make_unique<char[]>(size);
    ASSERT_TRUE(GetFileVersionInfo(path.c_str(), 0, size, block.get()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(block.get(), "\\", &value, &length));
    EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(value)->dwSignature, 0xFEEF04BDu);
    EXPECT_FALSE(VerQueryValue(block.get(), "\\StringFileInfo\\040904B0\\ProductVersion", &value, &length));
    EXPECT_FALSE(VerQueryValue(block.get(), "\\VarFileInfo\\Translation", &value, &length));
    EXPECT_EQ(length, 0u);
    // The smallest buffer GetFileVersionInfo takes: the block and its trailer.
    auto tight = std::make_unique<char[]>(cut + 8);
    ASSERT_TRUE(GetFileVersionInfo(path.c_str(), 0, static_cast<DWORD>(cut + 8), tight.get()));
    EXPECT_FALSE(VerQueryValue(tight.get(), "\\StringFileInfo\\040904B0\\CompanyName", &value, &length));
    ASSERT_TRUE(VerQueryValue(tight.get(), "\\", &value, &length));
}
