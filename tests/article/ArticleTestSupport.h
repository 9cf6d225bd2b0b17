// Fixture of the article tests: drive T: on a fresh folder with the profile naming
// T:\disc\info_dat\ as the data folder, message boxes scripted, and the fatal path of the
// article reader turned into an exception (ArticleExit) so that a test sees its end.
#pragma once

#include "article/ArticleDocument.h"
#include "article/ArticleRecord.h"
#include "base/DataFolders.h"
#include "base/HitList.h"
#include "base/Reference.h"

#include <ArticleRecordWriter.h>
#include <ContentArchiveWriter.h>
#include <host/Drives.h>
#include <host/Paths.h>
#include <host/UiScript.h>

#include <afxwin.h>

#include <TempDir.h>
#include <UiTest.h>

#include <filesystem>
#include <memory>
#include <string>

namespace article_test {

// What the fatal path's exit handler throws in place of ending the program.
struct ArticleExit {
    int code;
};

inline void ThrowingExit(int nCode)
{
    throw ArticleExit{nCode};
}

// An article reference whose file is a given path.
class CPathReference : public CReference {
public:
    CPathReference(const CString& strPath, LONG nBlock, LONG nBlockCount) : m_strPath(strPath)
    {
        SetLocation(1001, nBlock, nBlockCount);
        SetKind(REFKIND_ARTICLE);
    }
    CString GetFilePath() override { return m_strPath; }

private:
    CString m_strPath;
};

class ArticleTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t" / "disc" / "info_dat");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        // The program's folder is the test's own: the highlights file the page saves there is
        // never shared with a test running beside it.
        std::filesystem::create_directories(dir.path() / "t" / "prog");
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        app.m_pszProfileName = "T:\\vl00i1se.ini";
        ASSERT_TRUE(WritePrivateProfileString("Files", "DataDir", "T:\\disc\\info_dat\\", "T:\\vl00i1se.ini"));
        DataFoldersChanged();  // a new disc folder under the same name: the kept archive goes
        m_oldExit = SetArticleExitHandler(ThrowingExit);
    }
    void TearDown() override
    {
        SetArticleExitHandler(m_oldExit);
        host::SetProgramPlatformPath("");
        host::ResetDrives();
        ui::UiTest::TearDown();
    }

    // Host paths below drive T:.
    std::filesystem::path HostT(const std::string& relative) const { return dir.path() / "t" / relative; }
    std::filesystem::path DataFolder() const { return HostT("disc/info_dat"); }

    // Writes a single-article file T:\<name> and returns its platform path.
    std::string WriteRcv(const std::string& bytes, const std::string& name = "article.rcv") const
    {
        dir.Write("t/" + name, bytes);
        return "T:\\" + name;
    }
    static DWORD BlocksFor(std::size_t bytes) { return static_cast<DWORD>((bytes + 511) / 512); }

    // Opens a document on a path; the document takes the reference over.
    static BOOL OpenDocument(CArticleDocument& doc, const std::string& path, LONG block, LONG count)
    {
        return doc.Open(new CPathReference(path.c_str(), block, count));
    }

    // Runs fn, which must end in the fatal path with exactly that text.
    template <class Fn>
    static void ExpectFatal(Fn fn, const std::string& text)
    {
        host::AnswerNextMessageBox(IDOK);
        std::size_t boxes = host::MessageBoxLog().size();
        int code = 0;
        try {
            fn();
            ADD_FAILURE() << "no fatal error; expected \"" << text << "\"";
            return;
        } catch (const ArticleExit& e) {
            code = e.code;
        }
        EXPECT_EQ(code, ARTICLE_FATAL_EXIT_CODE);
        auto log = host::MessageBoxLog();
        ASSERT_EQ(log.size(), boxes + 1);
        EXPECT_EQ(log.back().text, text);
        EXPECT_EQ(log.back().caption, "ERROR");
        EXPECT_EQ(log.back().type, static_cast<UINT>(MB_SYSTEMMODAL | MB_ICONSTOP));
    }

    // A document opened on the record of a source (written as T:\article.rcv); its reference
    // carries the hits, which it takes over.
    std::unique_ptr<CArticleDocument> OpenSource(const discbuilder::ArticleRecordSource& source,
                                                 CHitList* pHits = nullptr) const
    {
        const std::string bytes = discbuilder::WriteArticleRecord(source);
        auto* pRef = new CPathReference(WriteRcv(bytes).c_str(), 0, BlocksFor(bytes.size()));
        if (pHits != nullptr)
            pRef->SetData(pHits);
        auto pDoc = std::make_unique<CArticleDocument>();
        EXPECT_TRUE(pDoc->Open(pRef));
        return pDoc;
    }

    // Loads through the reader and frees again (for records that must fail).
    static void LoadAndFree(const std::string& path, DWORD block, DWORD count)
    {
        HGLOBAL hView = LoadArticleRecord(path.c_str(), block, count);
        auto* pView = static_cast<ArticleViewRecord*>(GlobalLock(hView));
        FreeArticleRecord(pView->hDescriptor);
        GlobalFree(hView);
    }

    CWinApp app{"vl00i1se"};
    TempDir dir;

private:
    ARTICLE_EXIT_HANDLER m_oldExit = NULL;
};

// A new-layout record with a bit of everything: two sections (a run without text between two
// text runs, an icon run, a heading run), two tables, two extra items, three media entries, two
// links with three positions, three related items (one a heading), and a picture area.
inline discbuilder::ArticleRecordSource RichArticle()
{
    using namespace discbuilder;
    ArticleRecordSource s;
    s.rin = 1002;
    s.formatYear = 1999;
    s.issueDate = "99/06/15";
    s.title = "Volcano";
    RecordSection intro;
    intro.title = "Introduction";
    intro.runs.push_back({.kind = 0, .text = "A volcano is an opening."});
    intro.runs.push_back({.kind = 3, .text = "ignored"});
    intro.runs.push_back({.kind = 0, .flags = 0x5, .style = 7, .text = "Lava flows."});
    intro.runs.push_back({.kind = 4, .style = 1, .text = ""});
    RecordSection eruptions;
    eruptions.title = "Eruptions";
    eruptions.runs.push_back({.kind = 2, .level = 3, .text = "Quiet"});
    eruptions.runs.push_back({.kind = 0, .text = "Runny lava.", .extra = 77});
    eruptions.indents.push_back({0, 1, 2, 3});
    s.sections = {intro, eruptions};
    s.tables = {{"Eruptions by year", "TABLEDATA-A"}, {"Heights", "TB"}};
    s.extraTitles = {"Ash clouds", "Hot springs"};
    s.media = {{1001001, 'A', 0}, {3000001, 'C', 1}, {4010001, 'B', 2}};
    s.captions = {"Lava at night", "Plate map", "Magma rising"};
    s.links = {{"vl://001006", {PackTextPosition(0, 2, 7)}},
               {"tf:A190#D", {PackTextPosition(1, 0, 5), PackTextPosition(1, 6, 4)}}};
    s.related = {{"Earth science", "", 0, 0}, {"Great Lakes", "vl://001006", 1, 1006}, {"Photosynthesis", "vl://001003", 0, 1003}};
    s.pictures = "GIF89a-picture-bytes";
    return s;
}

// An old-layout (1997) record: media entries in pairs, related links for the entries that are no
// headings, trailing strings, 22-byte section headers and flag-word runs.
inline discbuilder::ArticleRecordSource OldArticle(int mediaEntries)
{
    using namespace discbuilder;
    ArticleRecordSource s;
    s.rin = 1003;
    s.formatYear = 1997;
    s.issueDate = "97/11/30";
    s.title = "Photosynthesis";
    RecordSection section;
    section.title = "Leaves";
    section.runs.push_back({.flags = 0x2, .style = 9, .text = "Alpha", .extra = 5, .heading = true, .headingLevel = 1});
    section.runs.push_back({.text = "", .noText = true});
    section.runs.push_back({.text = "Beta"});
    s.sections = {section};
    for (int i = 0; i < mediaEntries; ++i)
        s.media.push_back({static_cast<std::uint32_t>(1001001 + i), 'A', static_cast<std::uint8_t>(i)});
    for (int i = 0; i < (mediaEntries + 1) / 2; ++i)
        s.captions.push_back("Caption " + std::to_string(i));
    s.related = {{"See also", "", 0, 0}, {"Aviation", "vl://001001", 0, 1001}, {"Volcano", "vl://001002", 0, 1002}};
    s.trailing = {"vl://001001 first trailing", "second trailing"};
    return s;
}

}  // namespace article_test
