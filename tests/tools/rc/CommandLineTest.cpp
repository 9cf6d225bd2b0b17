// The vlrc program as the build runs it: outputs, dependency file, errors and exit status.
#include <host/Resources.h>

#include <TempDir.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <sys/wait.h>

namespace {

struct Outcome {
    int status;
    std::string errors;
};

Outcome Vlrc(const std::string& arguments, const TempDir& dir)
{
    std::string command = std::string(VLRC_PATH) + " " + arguments + " 2>" + dir.str() + "/stderr.txt";
    int status = std::system(command.c_str());
    return Outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, dir.Read("stderr.txt")};
}

}  // namespace

TEST(CommandLine, WritesBundleAndDependencies)
{
    TempDir dir;
    dir.Write("ids.h", "#define IDS_ONE 1\n");
    dir.Write("app.rc", "#include \"ids.h\"\nSTRINGTABLE BEGIN IDS_ONE \"one\" END\n");
    Outcome run = Vlrc("-o " + dir.str() + "/app.dll --depfile " + dir.str() + "/app.d " + dir.str() + "/app.rc", dir);
    EXPECT_EQ(run.status, 0) << run.errors;
    std::string bundle = dir.Read("app.dll");
    auto entries = host::ParseBundle(bundle.data(), bundle.size());
    ASSERT_TRUE(entries);
    EXPECT_EQ(entries->size(), 1u);
    std::string deps = dir.Read("app.d");
    EXPECT_EQ(deps.rfind(dir.str() + "/app.dll:", 0), 0u);
    EXPECT_NE(deps.find("ids.h"), std::string::npos);
}

TEST(CommandLine, ErrorsNameTheLineAndFail)
{
    TempDir dir;
    dir.Write("bad.rc", "STRINGTABLE\nBEGIN\n  1 \"a\"\n  1 \"b\"\nEND\n");
    Outcome run = Vlrc("--embed " + dir.str() + "/bad.cpp " + dir.str() + "/bad.rc", dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.errors.rfind(dir.str() + "/bad.rc:4: error: duplicate string id 1", 0), 0u) << run.errors;
    EXPECT_EQ(dir.Read("bad.cpp"), "");  // nothing half written

    run = Vlrc(dir.str() + "/bad.rc", dir);  // no output named
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.errors.find("usage: vlrc"), std::string::npos);
}
