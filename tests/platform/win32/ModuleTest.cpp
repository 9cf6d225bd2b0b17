// Modules: code libraries found by the platform's names in the program folder, their functions
// by name and by ordinal, reference counts, and the modules' file names.
#include <windows.h>

#include <TempDir.h>

#include <host/Paths.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace {

using AddFunction = int (*)(int, int);
using CountFunction = int (*)();

}  // namespace

TEST(Modules, CodeLibraryByItsPlatformName)
{
    // "vltestlib.dll" is the built libvltestlib.so beside this program.
    HMODULE library = LoadLibrary("VLTESTLIB.DLL");
    ASSERT_NE(library, nullptr) << GetLastError();
    EXPECT_EQ(LoadLibrary("vltestlib"), library);  // ".dll" is implied
    EXPECT_EQ(GetModuleHandle("vltestlib.dll"), library);

    auto add = (AddFunction)GetProcAddress(library, "VlTestAdd");
    ASSERT_NE(add, nullptr);
    EXPECT_EQ(add(2, 3), 5);
    // Ordinal 1 is VlTestAdd, 7 is VlTestCount; other ordinals are not exported.
    EXPECT_EQ((AddFunction)GetProcAddress(library, MAKEINTRESOURCE(1)), add);
    EXPECT_NE(GetProcAddress(library, MAKEINTRESOURCE(7)), nullptr);
    SetLastError(0);
    EXPECT_EQ(GetProcAddress(library, MAKEINTRESOURCE(2)), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    EXPECT_EQ(GetProcAddress(library, "NoSuchFunction"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_PROC_NOT_FOUND));
    // Names are case-sensitive, as on the platform.
    EXPECT_EQ(GetProcAddress(library, "vltestadd"), nullptr);

    char path[MAX_PATH];
    DWORD length = GetModuleFileName(library, path, MAX_PATH);
    ASSERT_GT(length, 0u);
    std::string name(path, length);
    EXPECT_EQ(name.substr(name.size() - 14), "\\VLTESTLIB.DLL");
    EXPECT_EQ(name[1], ':');

    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_TRUE(FreeLibrary(library));
}

TEST(Modules, ReferenceCountsDecideWhenTheLibraryLeaves)
{
    HMODULE first = LoadLibrary("vltestlib.dll");
    ASSERT_NE(first, nullptr);
    auto count = (CountFunction)GetProcAddress(first, "VlTestCount");
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count(), 1);
    HMODULE second = LoadLibrary("vltestlib.dll");
    EXPECT_EQ(second, first);
    EXPECT_TRUE(FreeLibrary(first));
    // Still loaded: its state is kept.
    EXPECT_EQ(GetModuleHandle("vltestlib.dll"), first);
    EXPECT_EQ(count(), 2);
    EXPECT_TRUE(FreeLibrary(second));
    SetLastError(0);
    EXPECT_EQ(GetModuleHandle("vltestlib.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
    EXPECT_FALSE(FreeLibrary(first));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));

    // Loaded afresh, the library starts over.
    HMODULE again = LoadLibrary("vltestlib.dll");
    ASSERT_NE(again, nullptr);
    count = (CountFunction)GetProcAddress(again, MAKEINTRESOURCE(7));
    ASSERT_NE(count, nullptr);
    EXPECT_EQ(count(), 1);
    EXPECT_TRUE(FreeLibrary(again));
}

TEST(Modules, MissingAndMalformedLibraries)
{
    SetLastError(0);
    EXPECT_EQ(LoadLibrary("no_such_library.dll"), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));

    TempDir dir;
    dir.Write("junk.dll", "this is neither a bundle nor a code library");
    auto platform = host::FromHostPath(dir.str());
    ASSERT_TRUE(platform);
    SetLastError(0);
    EXPECT_EQ(LoadLibrary((*platform + "\\junk.dll").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    // A bundle with a broken directory is not a module either.
    dir.Write("broken.dll", std::string("VLRB\x01\0\0\0\x05\0\0\0\0\0\0\0", 16));
    EXPECT_EQ(LoadLibrary((*platform + "\\broken.dll").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
}

// A code library cut short anywhere (inside its headers, its code or its tables) is refused
// as malformed before the host's loader maps it.
TEST(Modules, TruncatedCodeLibrariesAreRefused)
{
    HMODULE library = LoadLibrary("vltestlib.dll");
    ASSERT_NE(library, nullptr);
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileName(library, path, MAX_PATH), 0u);
    auto hostPath = host::ToHostPath(path);
    ASSERT_TRUE(hostPath);
    // The module is named "vltestlib.dll"; its file is the shared object beside it.
    std::ifstream in(std::filesystem::path(*hostPath).parent_path() / "libvltestlib.so", std::ios::binary);
    const std::string whole((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    FreeLibrary(library);
    ASSERT_GT(whole.size(), 8192u);

    TempDir dir;
    auto platform = host::FromHostPath(dir.str());
    ASSERT_TRUE(platform);
    for (std::size_t length : {std::size_t{16}, std::size_t{64}, std::size_t{200}, std::size_t{4096},
                               whole.size() / 2, whole.size() - 1}) {
        SCOPED_TRACE(length);
        const std::string name = "cut" + std::to_string(length) + ".dll";
        dir.Write(name, whole.substr(0, length));
        SetLastError(0);
        EXPECT_EQ(LoadLibrary((*platform + "\\" + name).c_str()), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    }
    // The whole copy loads.
    dir.Write("whole.dll", whole);
    HMODULE copy = LoadLibrary((*platform + "\\whole.dll").c_str());
    EXPECT_NE(copy, nullptr);
    if (copy)
        FreeLibrary(copy);
}

TEST(Modules, ProgramModule)
{
    HMODULE program = GetModuleHandle(nullptr);
    ASSERT_NE(program, nullptr);
    char path[MAX_PATH];
    DWORD length = GetModuleFileName(nullptr, path, MAX_PATH);
    ASSERT_GT(length, 4u);
    std::string name(path, length);
    EXPECT_EQ(name.substr(name.size() - 15), "\\test_win32.exe");
    EXPECT_EQ(GetModuleHandle("test_win32.exe"), program);
    EXPECT_EQ(GetModuleHandle(name.c_str()), program);
    EXPECT_EQ(LoadLibrary(name.c_str()), program);
    EXPECT_TRUE(FreeLibrary(program));

    // Too small a buffer: cut and terminated, the size returned, and the error set.
    char small[8];
    SetLastError(0);
    EXPECT_EQ(GetModuleFileName(nullptr, small, sizeof small), sizeof small);
    EXPECT_EQ(std::string(small), name.substr(0, 7));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INSUFFICIENT_BUFFER));
}

TEST(Modules, CodeLibraryOpenedAsDataIsReadNotRun)
{
    HMODULE data = LoadLibraryEx("vltestlib.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(data, nullptr) << GetLastError();
    // Its embedded resources are read from the file; its code is not there to call.
    char buffer[16];
    EXPECT_EQ(LoadString(data, 65535, buffer, sizeof buffer), 4);
    EXPECT_EQ(GetProcAddress(data, "VlTestAdd"), nullptr);

    // Loading it as code gives the running library; asked for as data now, that one serves.
    HMODULE code = LoadLibrary("vltestlib.dll");
    ASSERT_NE(code, nullptr);
    EXPECT_NE(code, data);
    EXPECT_NE(GetProcAddress(code, "VlTestAdd"), nullptr);
    EXPECT_TRUE(FreeLibrary(data));
    EXPECT_EQ(LoadLibraryEx("vltestlib.dll", nullptr, LOAD_LIBRARY_AS_DATAFILE), code);
    EXPECT_EQ(LoadString(code, 65535, buffer, sizeof buffer), 4);
    EXPECT_TRUE(FreeLibrary(code));
    EXPECT_TRUE(FreeLibrary(code));
}

TEST(Modules, ModuleOfAnAddress)
{
    HMODULE library = LoadLibrary("vltestlib.dll");
    ASSERT_NE(library, nullptr);
    FARPROC add = GetProcAddress(library, "VlTestAdd");
    HMODULE found = nullptr;
    ASSERT_TRUE(GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCSTR>(add), &found));
    EXPECT_EQ(found, library);
    // That took a reference: two frees to unload.
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandle("vltestlib.dll"), library);
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandle("vltestlib.dll"), nullptr);

    // An address in the program; an address inside a data module's resources.
    static int inProgram = 0;
    ASSERT_TRUE(GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  reinterpret_cast<LPCSTR>(&inProgram), &found));
    EXPECT_EQ(found, GetModuleHandle(nullptr));
    HMODULE data = LoadLibrary("vltestdata.dll");
    ASSERT_NE(data, nullptr);
    HRSRC bitmap = FindResource(data, MAKEINTRESOURCE(7556), RT_BITMAP);
    auto bytes = static_cast<LPCSTR>(LockResource(LoadResource(data, bitmap)));
    ASSERT_TRUE(GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  bytes + 10, &found));
    EXPECT_EQ(found, data);
    EXPECT_FALSE(GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                   nullptr, &found));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_PARAMETER));
    EXPECT_TRUE(FreeLibrary(data));
}

TEST(Modules, LinkedLibraryHasItsPlatformName)
{
    // This program is linked with the platform's own library (libwin32.so), "win32.dll" by name.
    HMODULE platform = nullptr;
    ASSERT_TRUE(GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                  reinterpret_cast<LPCSTR>(&GetLastError), &platform));
    EXPECT_NE(platform, GetModuleHandle(nullptr));
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileName(platform, path, MAX_PATH), 0u);
    std::string name = path;
    EXPECT_EQ(name.substr(name.size() - 10), "\\win32.dll");
    SetLastError(0);
    EXPECT_EQ(GetModuleFileName(reinterpret_cast<HMODULE>(0x10), path, MAX_PATH), 0u);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}
