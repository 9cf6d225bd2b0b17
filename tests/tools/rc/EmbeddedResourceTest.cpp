// The program's own script, compiled and embedded in this test program by the build: found
// through the program's module, as the product finds its resources.
#include <windows.h>

#include <host/DialogTemplate.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ProgramResources, StringsOfTheProgram)
{
    char buffer[256];
    EXPECT_EQ(LoadString(GetModuleHandle(nullptr), 363, buffer, sizeof buffer), 8);
    EXPECT_STREQ(buffer, "VL00I1SE");
    EXPECT_EQ(LoadString(nullptr, 620, buffer, sizeof buffer), 10);
    EXPECT_STREQ(buffer, "vl00i1.mdb");
    EXPECT_GT(LoadString(nullptr, 124, buffer, sizeof buffer), 0);
    EXPECT_NE(std::string(buffer).find("' \" '"), std::string::npos);
    LoadString(nullptr, 0xE000, buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "Veltra 2000");
}

TEST(ProgramResources, DialogOfTheProgram)
{
    HRSRC found = FindResource(nullptr, MAKEINTRESOURCE(273), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    auto dialog = host::ParseDialogTemplate(LockResource(LoadResource(nullptr, found)), SizeofResource(nullptr, found));
    ASSERT_TRUE(dialog);
    EXPECT_EQ(dialog->caption, "Veltra 2000");
    EXPECT_TRUE(dialog->controls.empty());
}

TEST(ProgramResources, VersionOfTheProgramFile)
{
    char path[MAX_PATH];
    ASSERT_GT(GetModuleFileName(nullptr, path, MAX_PATH), 0u);
    DWORD handle = 99;
    DWORD size = GetFileVersionInfoSize(path, &handle);
    ASSERT_GT(size, 0u) << path;
    EXPECT_EQ(handle, 0u);
    std::vector<char> block(size);
    ASSERT_TRUE(GetFileVersionInfo(path, 0, size, block.data()));
    void* value = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValue(block.data(), "\\StringFileInfo\\040904B0\\OriginalFilename", &value, &length));
    EXPECT_STREQ(static_cast<char*>(value), "vl00i1se.exe");
    ASSERT_TRUE(VerQueryValue(block.data(), "\\", &value, &length));
    EXPECT_EQ(static_cast<VS_FIXEDFILEINFO*>(value)->dwFileType, static_cast<DWORD>(VFT_APP));
}

TEST(ProgramResources, GeneratedArtIsEmbedded)
{
    // The sound button's bitmap, drawn by the art generator at 27 x 17.
    HRSRC bitmap = FindResource(nullptr, MAKEINTRESOURCE(237), RT_BITMAP);
    ASSERT_NE(bitmap, nullptr);
    auto header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(nullptr, bitmap)));
    EXPECT_EQ(header->biWidth, 27);
    EXPECT_EQ(header->biHeight, 17);
    // The program's icon at both sizes.
    HRSRC group = FindResource(nullptr, MAKEINTRESOURCE(147), RT_GROUP_ICON);
    ASSERT_NE(group, nullptr);
    auto bits = static_cast<PBYTE>(LockResource(LoadResource(nullptr, group)));
    int small = LookupIconIdFromDirectoryEx(bits, TRUE, 16, 16, 0);
    int large = LookupIconIdFromDirectoryEx(bits, TRUE, 32, 32, 0);
    EXPECT_NE(small, large);
    EXPECT_NE(FindResource(nullptr, MAKEINTRESOURCE(small), RT_ICON), nullptr);
    // The interface sounds.
    for (int id = 9026; id <= 9030; ++id) {
        HRSRC wave = FindResource(nullptr, MAKEINTRESOURCE(id), "WAVE");
        ASSERT_NE(wave, nullptr) << id;
        EXPECT_EQ(std::string(static_cast<const char*>(LockResource(LoadResource(nullptr, wave))), 4), "RIFF");
    }
}
