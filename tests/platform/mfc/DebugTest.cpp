#include <afx.h>

#include <gtest/gtest.h>

#include <string>

namespace {
std::string g_traced;
void Capture(LPCSTR text) { g_traced += text; }
}  // namespace

TEST(Trace, GoesToTheInstalledSink)
{
    AfxSetTraceSink(&Capture);
    AfxTrace("%s %d\n", "CDaoException caught!", 7);
    AfxSetTraceSink(nullptr);
    EXPECT_EQ(g_traced, "CDaoException caught! 7\n");
}

TEST(Assert, StopsTheProgramWithFileAndLine)
{
    EXPECT_DEATH(AfxAssertFailedLine("x.cpp", 12), "Assertion failed: x.cpp\\(12\\)");
}
