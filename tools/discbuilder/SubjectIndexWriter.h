// Writes the subject index of the topic search:
//   SSUBJECT.NDX  blocks of 6,144 bytes, each beginning with "%FIRST-REC%", holding the headings'
//                 records sorted by title (byte order); a record never straddles two blocks: the
//                 last record of a block has its length extended over the padding and the next
//                 block's marker; a record length of 0 ends the records.
//                 Record: i16 length, u16 0, u8 flags, u8 sub-entry count, u32 entry number, the
//                 normalised title and NUL, the display text and NUL, then per sub-entry u32
//                 target, u32 hit position, u8 0, u8 label index, the text and NUL.
//   MASTER.NDX    one 6-byte front-coded key per block: byte 0 the characters shared with the
//                 previous key, bytes 1-5 the next five characters (NUL-padded); key i is the
//                 title of the first record that starts in block i.
// Titles are normalised with the topic search's own rules (src/search/SubjectNormalizer.h).
#pragma once

#include "ArticleRecordWriter.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

constexpr std::size_t kSubjectBlock = 6144;
constexpr const char* kSubjectMarker = "%FIRST-REC%";
constexpr std::size_t kMaxSubjectEntries = 180;
constexpr std::uint32_t kSubjectSee = 0xFFFFFFFE;
constexpr std::uint32_t kSubjectSeeAlso = 0xFFFFFFFF;

struct SubjectSubEntry {
    std::uint32_t target = 0;    // a RIN (low 24 bits), 0 none, kSubjectSee, kSubjectSeeAlso
    std::uint32_t position = 0;  // hit position in the target's text
    std::uint8_t label = 0;      // media-note label 1-18, 0 none
    std::string text;
};

struct SubjectHeading {
    std::string display;         // may end with "[qualifier]"
    std::uint8_t flags = 0x40;   // eligible to be moved to the top on an exact title
    std::vector<SubjectSubEntry> entries;
};

struct SubjectIndexFiles {
    static constexpr const char* kMasterIndex = "MASTER.NDX";
    static constexpr const char* kSubjectIndex = "SSUBJECT.NDX";
    std::string master;
    std::string subject;
    std::vector<std::string> titles;  // the normalised titles, in file order
};

// The headings of articles: one per article, titled by the article, listing the article itself,
// each of its sections whose title differs from the article's, and a "See also" entry for each
// related article that has a link.
std::vector<SubjectHeading> SubjectHeadingsFrom(const std::vector<ArticleRecordSource>& articles);

// Builds both files. Headings whose title normalises to nothing are left out; a heading keeps its
// first 180 sub-entries. Throws std::invalid_argument for a text longer than 255 bytes or a
// record that does not fit a block.
SubjectIndexFiles BuildSubjectIndex(const std::vector<SubjectHeading>& headings);

// Writes both files into the data folder (created when missing); throws std::runtime_error when
// one cannot be written.
void WriteSubjectIndex(const SubjectIndexFiles& files, const std::filesystem::path& dataFolder);

}  // namespace discbuilder
