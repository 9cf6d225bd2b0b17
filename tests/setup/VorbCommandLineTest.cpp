// The registration programs' "-d"/"-u" command line and the folder forms built from it.
#include "common/VorbCommandLine.h"

#include <gtest/gtest.h>

namespace {

struct LineCase {
    const char* line;
    const char* folder;
    bool uninstall;
};

TEST(VorbCommandLineTest, ReadsTheFolderAndTheUninstallFlag)
{
    const LineCase cases[] = {
        {R"(-d "C:\Program Files\VL" -u)", R"(C:\Program Files\VL)", true},
        {R"(-D"C:\VL")", R"(C:\VL)", false},
        {R"(-dC:\VL)", R"(C:\VL)", false},
        {R"(-d "C:\")", R"(C:\)", false},
        {R"(-U -d "C:\VL")", R"(C:\VL)", true},
        {"", "", false},
        {nullptr, "", false},
        {"-u", "", true},                               // no folder: the programs do nothing
        {R"(-x -d "C:\VL")", R"(C:\VL)", false},        // another letter is ignored
        {R"(-d "C:\Tools\x -u")", R"(C:\Tools\x -u)", false},  // "-u" inside the quoted folder
        {R"(-d "C:\Tools\x-u")", R"(C:\Tools\x-u)", false},
        {R"(-d C:\Tools\x-u)", R"(C:\Tools\x-u)", false},     // unquoted: "-" inside a word
        {R"(-dC:\VL\ )", R"(C:\VL\)", false},           // blanks after an unquoted folder
        {R"(-d "" -u)", "", true},                      // an empty quoted folder is no folder
        {R"("-u" -d "C:\VL")", R"(C:\VL)", false},      // a quoted "-u" is no option
        {R"(-d "C:\A" -d "C:\B")", R"(C:\B)", false},   // the last folder counts
        {R"(-d "C:\VL"-u)", R"(C:\VL)", false},         // "-u" glued to the quote begins no word
        {"-", "", false},
        {"-d", "", false},
    };
    for (const LineCase& c : cases) {
        VorbCommandLine options = VorbCommandLine::Parse(c.line);
        SCOPED_TRACE(c.line ? c.line : "(null)");
        EXPECT_EQ(options.folder, c.folder);
        EXPECT_EQ(options.HasFolder(), *c.folder != '\0');
        EXPECT_EQ(options.uninstall, c.uninstall);
    }
}

TEST(VorbCommandLineTest, AddsAndTakesOffTheBackslashOnlyWhereItMeansTheSameFolder)
{
    const struct {
        const char* folder;
        const char* with;
        const char* without;
    } cases[] = {
        {R"(C:\VL)", R"(C:\VL\)", R"(C:\VL)"},
        {R"(C:\VL\)", R"(C:\VL\)", R"(C:\VL)"},
        {R"(C:\)", R"(C:\)", R"(C:\)"},
        {"C:", R"(C:\)", R"(C:\)"},
        {R"(C:\Program Files\VL)", R"(C:\Program Files\VL\)", R"(C:\Program Files\VL)"},
        {"", "", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.folder);
        EXPECT_EQ(FolderWithBackslash(c.folder), c.with);
        EXPECT_EQ(FolderWithoutBackslash(FolderWithBackslash(c.folder)), c.without);
    }
}

}  // namespace
