// The reader's own files in the notes folder: the highlights ("hilite.dat") and the sticky notes
// ("sticky.nte"). Their bytes against the builder's writers, round trips, damaged and truncated
// copies (what came before the damage is kept, the damaged file is set aside and said once,
// nothing is saved over it), a save that fails half way (the old file stays whole), and marks
// that the file cannot hold.
#include "base/AppServices.h"
#include "base/HiliteRecordSet.h"
#include "base/StickyRecordSet.h"

#include <UserDataFileWriter.h>

#include <host/Drives.h>
#include <host/Paths.h>
#include <host/UiScript.h>

#include <TempDir.h>
#include <UiTest.h>

#include <afxwin.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

using discbuilder::HiliteRecordEntry;
using discbuilder::StickyNoteEntry;

// The program folder T:\prog\ (the notes folder when "SNL" is not set), with the profile T:\vl.ini.
class UserDataFilesTest : public ui::UiTest {
protected:
    void SetUp() override
    {
        ui::UiTest::SetUp();
        std::filesystem::create_directories(dir.path() / "t" / "prog");
        host::MapDrive('T', (dir.path() / "t").string(), DRIVE_FIXED, "TESTDRIVE");
        host::SetProgramPlatformPath("T:\\prog\\vl00i1se.exe");
        ResetAppServices();
        app.m_pszProfileName = "T:\\vl.ini";
    }
    void TearDown() override
    {
        ResetAppServices();
        host::SetProgramPlatformPath("");
        host::ResetDrives();
        ui::UiTest::TearDown();
    }
    std::filesystem::path Prog(const std::string& name) const { return dir.path() / "t" / "prog" / name; }
    std::string Bytes(const std::string& name) const
    {
        std::ifstream in(Prog(name), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    void Put(const std::string& name, const std::string& bytes) const { dir.Write("t/prog/" + name, bytes); }
    static int Boxes(const std::string& part)
    {
        int n = 0;
        for (const host::MessageBoxRecord& box : host::MessageBoxLog())
            n += box.text.find(part) != std::string::npos;
        return n;
    }

    TempDir dir;
    CWinApp app{"vl00i1se"};
};

const std::vector<HiliteRecordEntry> kThreeRecords = {
    {1001, {{1, 2, 3, 990101}}},
    {1002, {{4, 5, 6, 990202}, {7, 8, 9, 990202}}},
    {1003, {{0xFFFF, 0xFFFF, 0xFFFF, 0xFFFFFFFF}}},
};

const std::vector<StickyNoteEntry> kTwoNotes = {
    {"Rivers", "The Nile is long.", "", 5001, {{3, 1, 0, 77}}},
    {"Maps", std::string(300, 'x'), "spare", 5002, {{0, 0, 0, 0}}},
};

// ---- highlights ----

TEST_F(UserDataFilesTest, AFirstRunMakesAnEmptyHiliteFileAndThreeRecordsAreWrittenAsTheArchiveHasThem)
{
    {
        CHiliteRecordSet marks;
        EXPECT_EQ(std::string("\0\0", 2), Bytes("hilite.dat"));
        for (const HiliteRecordEntry& record : kThreeRecords) {
            ASSERT_NE(nullptr, marks.GetSpanList(record.key));
            for (const auto& span : record.spans)
                ASSERT_TRUE(marks.AddHilite(record.key, span.unit, span.offset, span.length, span.style));
        }
    }
    const std::string bytes = Bytes("hilite.dat");
    EXPECT_EQ(discbuilder::MakeHiliteFile(kThreeRecords), bytes);
    // Count 3; the first header names the class, the later ones refer to it.
    EXPECT_EQ(std::string("\x03\x00\xFF\xFF\x01\x00\x0D\x00", 8) + "CHiliteRecord", bytes.substr(0, 21));
    EXPECT_EQ(std::string("\x01\x80", 2), bytes.substr(21 + 4 + 2 + 16, 2));
    EXPECT_FALSE(std::filesystem::exists(Prog("hilite.dat.new"))) << "no temporary file is left";

    CHiliteRecordSet marks;
    ASSERT_EQ(3, marks.GetSize());
    CHiliteSpanList* spans = marks.GetSpanList(1003);
    ASSERT_EQ(1u, spans->GetCount());
    EXPECT_TRUE(*spans->GetAt(0) == CStoredHilite(0xFFFF, 0xFFFF, 0xFFFF, 0xFFFFFFFF));
    EXPECT_EQ(nullptr, spans->GetAt(1));
    EXPECT_EQ(3, marks.GetSize()) << "asking again adds no record";
}

TEST_F(UserDataFilesTest, SpanListsKeepEqualSpansAndEmptyRecordsGoAtTheNextSave)
{
    {
        CHiliteRecordSet marks;
        EXPECT_FALSE(marks.AddHilite(7, 1, 1, 1, 1)) << "no record yet";
        CHiliteSpanList* list = marks.GetSpanList(7);
        EXPECT_EQ(list, marks.GetSpanList(7));
        EXPECT_EQ(1, marks.GetSize());
        ASSERT_TRUE(marks.AddHilite(7, 1, 10, 5, 42));
        ASSERT_TRUE(marks.AddHilite(7, 2, 0, 3, 42));
        ASSERT_TRUE(marks.AddHilite(7, 1, 10, 5, 42));
        EXPECT_EQ(3u, list->GetCount());
        marks.RemoveHilite(7, CStoredHilite(1, 10, 5, 42));
        ASSERT_EQ(2u, list->GetCount());
        EXPECT_EQ(2u, list->GetAt(0)->m_dwUnit) << "the first of the equal spans went";
        list->RemoveAt(5);
        EXPECT_EQ(2u, list->GetCount());

        marks.GetSpanList(8);
        ASSERT_TRUE(marks.AddHilite(8, 0, 0, 1, 1));
        marks.RemoveHilite(8, CStoredHilite(0, 0, 1, 1));
        EXPECT_NE(nullptr, marks.FindRecord(8)) << "kept until the save";
        ASSERT_TRUE(marks.Save());
        EXPECT_EQ(nullptr, marks.FindRecord(8));
        EXPECT_EQ(1, marks.GetSize());

        marks.GetSpanList(9);
        ASSERT_TRUE(marks.AddHilite(9, 0, 0, 1, 1));
        marks.RemoveRecord(7);
        EXPECT_EQ(nullptr, marks.FindRecord(7));
    }
    CHiliteRecordSet marks;
    ASSERT_EQ(1, marks.GetSize());
    EXPECT_EQ(9, marks.GetRecord(0)->m_nKey);
    marks.RemoveAll();
    EXPECT_EQ(0, marks.GetSize());
}

TEST_F(UserDataFilesTest, AMarkBeyondWhatTheFileHoldsIsRefusedNotWrapped)
{
    const struct {
        DWORD unit, offset, length;
    } cases[] = {{0x10000, 0, 1}, {0, 0x10000, 1}, {0, 0, 0x10000}, {0xFFFFFFFF, 0, 0}, {1, 0x12345, 2}};
    CHiliteRecordSet marks;
    marks.GetSpanList(1);
    for (const auto& c : cases) {
        host::AnswerMessageBox("This mark cannot be kept", IDOK);
        EXPECT_FALSE(marks.AddHilite(1, c.unit, c.offset, c.length, 5)) << c.unit << " " << c.offset;
    }
    EXPECT_EQ(5, Boxes("This mark cannot be kept"));
    EXPECT_EQ(0u, marks.GetSpanList(1)->GetCount()) << "nothing stored at a wrapped place";
    EXPECT_TRUE(marks.AddHilite(1, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFFFFFF)) << "the largest place fits";
}

// ---- sticky notes ----

TEST_F(UserDataFilesTest, StickyNotesRoundTripThroughTheWritersBytes)
{
    Put("sticky.nte", discbuilder::MakeStickyNoteFile(kTwoNotes));
    {
        CStickyRecordSet notes;
        ASSERT_EQ(2, notes.GetSize());
        EXPECT_STREQ("The Nile is long.", notes.GetNote(0)->m_strText);
        EXPECT_EQ(300, notes.GetNote(1)->m_strText.GetLength());
        EXPECT_STREQ("spare", notes.GetNote(1)->m_strSpare);
        EXPECT_EQ(77, notes.GetNote(0)->m_pPosition[3]);
        EXPECT_TRUE(notes.GetNote(1)->m_bPlaced);
    }
    EXPECT_EQ(discbuilder::MakeStickyNoteFile(kTwoNotes), Bytes("sticky.nte")) << "written back as read";
    // Strings in each of the three length forms.
    EXPECT_EQ(std::string("\x03" "abc"), discbuilder::ArchiveString("abc"));
    EXPECT_EQ(std::string("\xFF\x2C\x01", 3), discbuilder::ArchiveString(std::string(300, 'x')).substr(0, 3));
    EXPECT_EQ(std::string("\xFF\xFF\xFF\x00\x00\x01\x00", 7),
              discbuilder::ArchiveString(std::string(0x10000, 'y')).substr(0, 7));
}

// Damaged and truncated files of both kinds: the objects before the damage are kept, the file is
// set aside whole under a name the message gives, and the set's save writes a new file.
TEST_F(UserDataFilesTest, DamagedFilesAreSetAsideAndWhatCameBeforeIsKept)
{
    const std::string hilite = discbuilder::MakeHiliteFile(kThreeRecords);
    const std::string sticky = discbuilder::MakeStickyNoteFile(kTwoNotes);
    // The second record's header starts after the first record (21 + 4 + 2 + 16 bytes).
    const std::size_t secondRecord = 43;
    const std::size_t secondNote = 8 + 11 + 1 + 6 + 1 + 17 + 1 + 4 + 8;
    std::string badClass = hilite;
    badClass[9] = 'X';  // "CXiliteRecord": no such class
    std::string hiliteNull = hilite.substr(0, secondRecord) + std::string("\x00\x00", 2);
    std::string stickyHugeString = sticky.substr(0, secondNote + 2) + std::string("\xFF\xFF\xFF\xFF\xFF\xFF\x7F", 7);
    const struct {
        const char* what;
        const char* file;
        std::string bytes;
        int kept;
    } cases[] = {
        {"cut inside the count", "hilite.dat", hilite.substr(0, 1), 0},
        {"cut inside the class name", "hilite.dat", hilite.substr(0, 15), 0},
        {"cut inside the second record", "hilite.dat", hilite.substr(0, secondRecord + 9), 1},
        {"cut inside the last span", "hilite.dat", hilite.substr(0, hilite.size() - 3), 2},
        {"a class that is not a record", "hilite.dat", badClass, 0},
        {"a null where the second record stands", "hilite.dat", hiliteNull, 1},
        {"a count beyond the records", "hilite.dat", std::string("\xFF\xFF\xFF\xFF\xFF\x7F", 6) + hilite.substr(2), 3},
        {"cut inside the first note's title", "sticky.nte", sticky.substr(0, 23), 0},
        {"cut inside the second note's position", "sticky.nte", sticky.substr(0, sticky.size() - 1), 1},
        {"a string longer than the file", "sticky.nte", stickyHugeString, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        std::filesystem::remove(Prog(c.file));
        std::filesystem::remove(Prog(std::string(c.file) + ".damaged"));
        Put(c.file, c.bytes);
        host::ResetUiScript();
        host::AnswerMessageBox("has become corrupted", IDOK);
        const std::string backup = std::string("T:\\prog\\") + c.file + ".damaged";
        if (std::string(c.file) == "hilite.dat") {
            CHiliteRecordSet marks;
            EXPECT_EQ(c.kept, marks.GetSize());
            EXPECT_STREQ(backup.c_str(), marks.GetFile().GetBackupPath());
        } else {
            CStickyRecordSet notes;
            EXPECT_EQ(c.kept, notes.GetSize());
            EXPECT_STREQ(backup.c_str(), notes.GetFile().GetBackupPath());
            // The notes read are written back at once.
            EXPECT_TRUE(std::filesystem::exists(Prog(c.file)));
        }
        ASSERT_EQ(1u, host::MessageBoxLog().size()) << "said once";
        EXPECT_NE(std::string::npos, host::MessageBoxLog()[0].text.find("kept as " + backup));
        EXPECT_EQ(c.bytes, Bytes(std::string(c.file) + ".damaged")) << "the damaged file is kept whole";
        // The new file holds what was kept.
        if (std::string(c.file) == "hilite.dat") {
            std::vector<HiliteRecordEntry> kept(kThreeRecords.begin(), kThreeRecords.begin() + c.kept);
            EXPECT_EQ(discbuilder::MakeHiliteFile(kept), Bytes(c.file));
        } else {
            std::vector<StickyNoteEntry> kept(kTwoNotes.begin(), kTwoNotes.begin() + c.kept);
            EXPECT_EQ(discbuilder::MakeStickyNoteFile(kept), Bytes(c.file));
        }
    }
}

// A note that refers back to the first one instead of being a new note is damage: the set holds
// the first note once (it used to hold it twice and delete it twice).
TEST_F(UserDataFilesTest, ANoteThatRefersBackToTheFirstIsDamageNotASecondCopy)
{
    std::string bytes = discbuilder::MakeStickyNoteFile({kTwoNotes[0]});
    bytes[0] = 2;                            // two notes ...
    bytes += std::string("\x02\x00", 2);     // ... the second the object read first
    bytes += std::string("\x02\x00", 2);     // (and whatever follows)
    Put("sticky.nte", bytes);
    host::AnswerMessageBox("has become corrupted", IDOK);
    {
        CStickyRecordSet notes;
        ASSERT_EQ(1, notes.GetSize());
        EXPECT_EQ(5001, notes.GetNote(0)->m_nKey);
    }
    EXPECT_EQ(1, Boxes("The Sticky Note file  has become corrupted."));
    EXPECT_EQ(bytes, Bytes("sticky.nte.damaged"));
    EXPECT_EQ(discbuilder::MakeStickyNoteFile({kTwoNotes[0]}), Bytes("sticky.nte"));

    // The same for a record of the highlights.
    std::string marks = discbuilder::MakeHiliteFile({kThreeRecords[0]});
    marks[0] = 2;
    marks += std::string("\x02\x00", 2);
    Put("hilite.dat", marks);
    host::AnswerMessageBox("has become corrupted", IDOK);
    CHiliteRecordSet set;
    EXPECT_EQ(1, set.GetSize());
}

TEST_F(UserDataFilesTest, AnEarlierBackupIsNeverOverwritten)
{
    Put("sticky.nte.damaged", "older");
    Put("sticky.nte", "\x01\x00\xFF");
    host::AnswerMessageBox("has become corrupted", IDOK);
    {
        CStickyRecordSet notes;
        EXPECT_STREQ("T:\\prog\\sticky.nte.damaged2", notes.GetFile().GetBackupPath());
    }
    EXPECT_EQ("older", Bytes("sticky.nte.damaged"));
    EXPECT_EQ("\x01\x00\xFF", Bytes("sticky.nte.damaged2"));
}

// A file that is there but cannot be read (here a folder in its place) is never written over.
TEST_F(UserDataFilesTest, AFileThatCannotBeReadIsLeftAsItIs)
{
    std::filesystem::create_directories(Prog("hilite.dat"));
    host::AnswerMessageBox("Unable to open hilite file.", IDOK);
    {
        CHiliteRecordSet marks;
        EXPECT_TRUE(marks.GetFile().IsSaveBlocked());
        marks.GetSpanList(1);
        EXPECT_TRUE(marks.AddHilite(1, 1, 1, 1, 1));
    }
    ASSERT_EQ(1u, host::MessageBoxLog().size()) << "said once, at loading";
    EXPECT_NE(std::string::npos, host::MessageBoxLog()[0].text.find("Error Number = "));
    EXPECT_NE(std::string::npos, host::MessageBoxLog()[0].text.find("left as it is"));
    EXPECT_TRUE(std::filesystem::is_directory(Prog("hilite.dat")));
}

// Objects whose writing fails half way, as a full disc or a killed program would leave it.
class FailingRecord : public CHiliteRecord {
public:
    using CHiliteRecord::CHiliteRecord;
    void Serialize(CArchive& ar) override
    {
        // Enough bytes that the archive's buffer has reached the file before the failure.
        for (int i = 0; i < 3000; ++i)
            ar << static_cast<DWORD>(0xDEADBEEF);
        AfxThrowFileException(CFileException::diskFull, -1, "T:\\prog\\hilite.dat.new");
    }
};

class FailingNote : public CStickyNote {
public:
    void Serialize(CArchive& ar) override
    {
        CStickyNote::Serialize(ar);
        for (int i = 0; i < 3000; ++i)
            ar << static_cast<DWORD>(0xDEADBEEF);
        AfxThrowFileException(CFileException::diskFull, -1, "T:\\prog\\sticky.nte.new");
    }
};

TEST_F(UserDataFilesTest, ASaveThatFailsHalfWayLeavesTheOldFileWhole)
{
    const std::string oldMarks = discbuilder::MakeHiliteFile(kThreeRecords);
    const std::string oldNotes = discbuilder::MakeStickyNoteFile(kTwoNotes);
    Put("hilite.dat", oldMarks);
    Put("sticky.nte", oldNotes);
    {
        CHiliteRecordSet marks;
        ASSERT_EQ(3, marks.GetSize());
        FailingRecord* failing = new FailingRecord(4000);
        failing->m_pSpans->Add(CStoredHilite(1, 1, 1, 1));
        marks.Add(failing);
        host::AnswerMessageBox("Unable to save the highlighter marks.", IDOK);
        EXPECT_FALSE(marks.Save());
        EXPECT_EQ(oldMarks, Bytes("hilite.dat"));
        EXPECT_FALSE(std::filesystem::exists(Prog("hilite.dat.new")));
        // The failing record goes before the set's own save at its end.
        marks.RemoveRecord(4000);
    }
    EXPECT_EQ(1, Boxes("Unable to save the highlighter marks."));
    EXPECT_EQ(1, Boxes("The file keeps what was saved before."));

    {
        CStickyRecordSet notes;
        notes.Add(new FailingNote);
        host::AnswerMessageBox("Unable to save the sticky notes.", IDOK);
        EXPECT_FALSE(notes.Save());
        EXPECT_EQ(oldNotes, Bytes("sticky.nte"));
        EXPECT_FALSE(std::filesystem::exists(Prog("sticky.nte.new")));
        delete notes.GetAt(2);
        notes.RemoveAt(2);
    }
    EXPECT_EQ(oldNotes, Bytes("sticky.nte"));
}

}  // namespace
