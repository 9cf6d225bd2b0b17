// The file dialog's list of files: the pattern chosen (given, from the file-type list, or all),
// and the files left out (hidden, system, temporary and folders).
#include "widgets/FileListFill.h"

#include "DialogPiecesSupport.h"

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace {

class FileListFillTest : public DialogPiecesTest {
protected:
    std::vector<std::string> Names(CListBox& list)
    {
        std::vector<std::string> names;
        for (int i = 0; i < list.GetCount(); ++i) {
            CString text;
            list.GetText(i, text);
            names.emplace_back(static_cast<LPCSTR>(text));
        }
        std::sort(names.begin(), names.end());
        return names;
    }
};

TEST_F(FileListFillTest, ThePatternPicksTheFilesAndHiddenOnesStayOut)
{
    for (const char* name : {"a.exe", "b.exe", "notes.txt", "hidden.exe", "system.exe", "scratch.exe"})
        dir.Write(std::string("t/files/") + name, "x");
    std::filesystem::create_directories(dir.path() / "t" / "files" / "folder.exe");
    ASSERT_TRUE(::SetFileAttributes("T:\\files\\hidden.exe", FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(::SetFileAttributes("T:\\files\\system.exe", FILE_ATTRIBUTE_SYSTEM));
    ASSERT_TRUE(::SetFileAttributes("T:\\files\\scratch.exe", FILE_ATTRIBUTE_TEMPORARY));

    CListBox list;
    ASSERT_TRUE(list.Create(WS_CHILD | WS_VISIBLE | LBS_HASSTRINGS, CRect(10, 10, 200, 200), &form, 400));
    list.AddString("left from before");
    struct Case {
        const char* pattern;
        const char* filter;
        std::vector<std::string> names;
    } cases[] = {
        {"*.txt", "Executable Files (*.exe)|*.exe||", {"notes.txt"}},
        {nullptr, "Executable Files (*.exe)|*.exe||", {"a.exe", "b.exe"}},
        {"", "Text (*.txt)|*.txt|Programs|*.exe", {"a.exe", "b.exe"}},
        {nullptr, nullptr, {"a.exe", "b.exe", "notes.txt"}},
        {nullptr, "no bar at all", {"a.exe", "b.exe", "notes.txt"}},
        {"*.doc", nullptr, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << (c.pattern ? c.pattern : "(none)") << " / " << (c.filter ? c.filter : "(none)"));
        EXPECT_EQ(static_cast<int>(c.names.size()), FillFileList(list, "T:\\files", c.pattern, c.filter));
        EXPECT_EQ(c.names, Names(list));
    }
    // A folder that is not there gives an empty list.
    EXPECT_EQ(0, FillFileList(list, "T:\\nowhere\\", nullptr, nullptr));
    EXPECT_EQ(0, list.GetCount());
}

}  // namespace
