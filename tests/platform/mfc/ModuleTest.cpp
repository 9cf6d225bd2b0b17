// The class library's module state: the resource handle, CString::LoadString through it, and
// code libraries that enter their own state.
#include <afx.h>

#include <gtest/gtest.h>

namespace {

// Restores the program's resource handle whatever a test did to it.
class ModuleState : public ::testing::Test {
protected:
    void SetUp() override { saved = AfxGetResourceHandle(); }
    void TearDown() override { AfxSetResourceHandle(saved); }
    HINSTANCE saved = NULL;
};

}  // namespace

TEST_F(ModuleState, ProgramStateStartsWithTheProgramsOwnModule)
{
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
    EXPECT_EQ(AfxGetInstanceHandle(), GetModuleHandle(NULL));
    EXPECT_EQ(AfxGetResourceHandle(), GetModuleHandle(NULL));
    // In the program, its static state is the program's.
    EXPECT_EQ(AfxGetStaticModuleState(), AfxGetAppModuleState());
}

TEST_F(ModuleState, StringsComeFromTheResourceHandle)
{
    HMODULE data = LoadLibrary("vltestdata.dll");
    ASSERT_NE(data, nullptr);
    CString text;
    EXPECT_FALSE(text.LoadString(7000));  // this program has no such string

    AfxSetResourceHandle(data);
    EXPECT_EQ(AfxFindResourceHandle(MAKEINTRESOURCE(7556), RT_BITMAP), data);
    ASSERT_TRUE(text.LoadString(7000));
    EXPECT_EQ(text, "data library");
    EXPECT_EQ(CString(MAKEINTRESOURCE(7001)), "English");
    char buffer[8];
    EXPECT_EQ(AfxLoadString(7000, buffer, sizeof buffer), 7);
    EXPECT_STREQ(buffer, "data li");
    EXPECT_EQ(AfxLoadString(7002, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");

    AfxSetResourceHandle(saved);
    EXPECT_FALSE(text.LoadString(7000));
    FreeLibrary(data);
}

TEST_F(ModuleState, LibraryEntersItsOwnStateAndRestoresTheCallers)
{
    HMODULE library = LoadLibrary("vltestmfc.dll");
    ASSERT_NE(library, nullptr);
    HMODULE data = LoadLibrary("vltestdata.dll");
    ASSERT_NE(data, nullptr);
    AfxSetResourceHandle(data);

    auto loadOwn = (int (*)(UINT, char*, int))GetProcAddress(library, MAKEINTRESOURCE(8));
    auto ownHandles = (void (*)(HINSTANCE*, HINSTANCE*))GetProcAddress(library, "VlTestOwnHandles");
    ASSERT_NE(loadOwn, nullptr);
    ASSERT_NE(ownHandles, nullptr);

    // The library's strings, though the program's resource handle is the data library.
    char buffer[64];
    EXPECT_EQ(loadOwn(65535, buffer, sizeof buffer), 4);
    EXPECT_STREQ(buffer, "last");
    EXPECT_EQ(loadOwn(7000, buffer, sizeof buffer), -1);  // the data library's string is not its
    HINSTANCE instance = NULL, resources = NULL;
    ownHandles(&instance, &resources);
    EXPECT_EQ(instance, library);
    EXPECT_EQ(resources, library);

    // Back in the caller: its state and resource handle as they were.
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
    EXPECT_EQ(AfxGetResourceHandle(), data);
    CString text;
    EXPECT_TRUE(text.LoadString(7000));

    AfxSetResourceHandle(saved);
    FreeLibrary(data);
    FreeLibrary(library);
}

TEST_F(ModuleState, ManageStateNestsAndRestores)
{
    AFX_MODULE_STATE other(reinterpret_cast<HINSTANCE>(0x1000), TRUE);
    {
        AFX_MANAGE_STATE(&other);
        EXPECT_EQ(AfxGetModuleState(), &other);
        EXPECT_EQ(AfxGetInstanceHandle(), reinterpret_cast<HINSTANCE>(0x1000));
        {
            AFX_MANAGE_STATE(AfxGetAppModuleState());
            EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
        }
        EXPECT_EQ(AfxGetModuleState(), &other);
    }
    EXPECT_EQ(AfxGetModuleState(), AfxGetAppModuleState());
}
