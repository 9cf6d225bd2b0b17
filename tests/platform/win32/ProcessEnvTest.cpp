#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace {

TEST(ProcessEnvTest, GetEnvironmentVariableFollowsTheBufferRules)
{
    ASSERT_TRUE(SetEnvironmentVariable("VL_ENV_TEST", "abcdef"));
    char buffer[16];
    // Fits: the length without the NUL.
    EXPECT_EQ(6u, GetEnvironmentVariable("VL_ENV_TEST", buffer, sizeof buffer));
    EXPECT_STREQ("abcdef", buffer);
    // Too small (no room for the NUL): the size needed with the NUL, nothing written.
    char small[6] = {'x', 'x', 'x', 'x', 'x', 'x'};
    EXPECT_EQ(7u, GetEnvironmentVariable("VL_ENV_TEST", small, sizeof small));
    EXPECT_EQ('x', small[0]);
    EXPECT_EQ(7u, GetEnvironmentVariable("VL_ENV_TEST", NULL, 0));
    // The host sees what the platform set, and the other way round.
    EXPECT_STREQ("abcdef", std::getenv("VL_ENV_TEST"));
    setenv("VL_ENV_TEST", "host", 1);
    EXPECT_EQ(4u, GetEnvironmentVariable("VL_ENV_TEST", buffer, sizeof buffer));
    EXPECT_STREQ("host", buffer);
    // An empty value: 0 with success.
    ASSERT_TRUE(SetEnvironmentVariable("VL_ENV_TEST", ""));
    SetLastError(ERROR_INVALID_FUNCTION);
    EXPECT_EQ(0u, GetEnvironmentVariable("VL_ENV_TEST", buffer, sizeof buffer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_SUCCESS), GetLastError());
    // Removed: 0 with ERROR_ENVVAR_NOT_FOUND; removing again fails the same way.
    ASSERT_TRUE(SetEnvironmentVariable("VL_ENV_TEST", NULL));
    EXPECT_EQ(0u, GetEnvironmentVariable("VL_ENV_TEST", buffer, sizeof buffer));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND), GetLastError());
    EXPECT_FALSE(SetEnvironmentVariable("VL_ENV_TEST", NULL));
    EXPECT_EQ(static_cast<DWORD>(ERROR_ENVVAR_NOT_FOUND), GetLastError());
}

TEST(ProcessEnvTest, BadNamesAreRefused)
{
    for (const char* name : {"", "A=B"}) {
        EXPECT_FALSE(SetEnvironmentVariable(name, "x")) << name;
        EXPECT_EQ(static_cast<DWORD>(ERROR_INVALID_PARAMETER), GetLastError()) << name;
        char buffer[8];
        EXPECT_EQ(0u, GetEnvironmentVariable(name, buffer, sizeof buffer)) << name;
    }
}

}  // namespace
