// The sample sources of the content database and their reader in the disc builder.
#include <ContentDatabaseSource.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace {

// The message of the runtime_error fn throws ("" when none).
template <class Fn>
std::string ErrorOf(Fn fn)
{
    try {
        fn();
    } catch (const std::runtime_error& e) {
        return e.what();
    }
    return std::string();
}

TEST(ContentDatabaseSource, ReadsFieldsSkippingCommentsAndBlankLines)
{
    TempDir dir;
    auto file = dir.Write("t.txt", "# a comment\r\n\r\na|b|c\r\n|x|\n");
    auto rows = discbuilder::ReadSourceTable(file, 3);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_EQ(rows[0], (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(rows[1], (std::vector<std::string>{"", "x", ""}));
}

TEST(ContentDatabaseSource, BadSourcesNameTheFileAndLine)
{
    TempDir dir;
    auto file = dir.Write("t.txt", "a|b|c\na|b\n");
    std::string error = ErrorOf([&] { discbuilder::ReadSourceTable(file, 3); });
    EXPECT_NE(error.find("t.txt:2: 2 fields, expected 3"), std::string::npos) << error;
    EXPECT_NE(ErrorOf([&] { discbuilder::ReadSourceTable(dir.path() / "none.txt", 1); }).find("cannot be read"),
              std::string::npos);

    // A source folder whose timeline number is no number.
    for (const char* name : {"flagfile.txt", "firstlines.txt", "dadavaveroz.txt", "tabledata.txt", "system.txt"})
        dir.Write(std::string("src/") + name, "");
    dir.Write("src/timelines.txt", "40600x1|T|1001|A\n");
    error = ErrorOf([&] { discbuilder::WriteContentDatabase(dir.path() / "src", (dir.path() / "db.mdb").string()); });
    EXPECT_NE(error.find("timeline number \"40600x1\" is no whole number"), std::string::npos) << error;
}

TEST(ContentDatabaseSource, BackInTimeTopicsAreTheDistinctPartsBeforeTheYear)
{
    EXPECT_EQ(discbuilder::BackInTimeTopics({"Aviation (1927)", "Radio (1922)", "Aviation (1969)", "No year",
                                             "Aviation (1928) (again)", "(1930)"}),
              (std::vector<std::string>{"Aviation", "Radio"}));
}

}  // namespace
