// Menus and accelerator tables from their resources.
#include <windows.h>

#if __has_include(<winuser.h>)

#include <gtest/gtest.h>

namespace {

class ResourceMenus : public ::testing::Test {
protected:
    void SetUp() override
    {
        library = LoadLibrary("vltestlib.dll");
        ASSERT_NE(library, nullptr);
    }
    void TearDown() override { FreeLibrary(library); }

    HMODULE library = nullptr;
};

}  // namespace

TEST_F(ResourceMenus, MenuFromItsTemplate)
{
    HMENU menu = LoadMenu(library, MAKEINTRESOURCE(200));
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(GetMenuItemCount(menu), 3);
    HMENU file = GetSubMenu(menu, 0);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(GetMenuItemCount(file), 3);
    EXPECT_EQ(GetMenuItemID(file, 0), 0xE101u);
    char text[64];
    GetMenuString(file, 0, text, sizeof text, MF_BYPOSITION);
    EXPECT_STREQ(text, "&Open...\tCtrl+O");
    EXPECT_EQ(GetMenuState(file, 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    UINT big = GetMenuState(menu, 301, MF_BYCOMMAND);
    EXPECT_TRUE(big & MF_CHECKED);
    EXPECT_TRUE(big & MF_GRAYED);
    EXPECT_TRUE(DestroyMenu(menu));
    EXPECT_EQ(LoadMenu(library, MAKEINTRESOURCE(999)), nullptr);
}

TEST_F(ResourceMenus, AcceleratorsFromTheirTable)
{
    HACCEL table = LoadAccelerators(library, MAKEINTRESOURCE(200));
    ASSERT_NE(table, nullptr);
    ACCEL entries[8];
    ASSERT_EQ(CopyAcceleratorTable(table, entries, 8), 5);
    EXPECT_EQ(entries[0].key, 15);
    EXPECT_EQ(entries[0].cmd, 0xE101);
    EXPECT_EQ(entries[2].fVirt, FVIRTKEY | FCONTROL | FSHIFT);
    EXPECT_EQ(entries[2].key, 'B');
    EXPECT_EQ(entries[4].fVirt, FVIRTKEY | FALT);  // the end mark is not a flag of the entry
    EXPECT_TRUE(DestroyAcceleratorTable(table));
}

#endif
