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
