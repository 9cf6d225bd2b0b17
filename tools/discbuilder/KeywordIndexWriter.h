// Writes the keyword index of the word search from the texts of the articles:
//   KWMST.NDX, REVKWMST.NDX  master indexes: one 6-byte front-coded key per list page, key i the
//                            last (greatest) word of page i: byte 0 the length of the prefix it
//                            shares with the previous rebuilt key, then its next 5 characters,
//                            NUL-padded
//   KEYWORD.LST, KEYWORD.REV keyword lists: pages of 1,024 bytes of entries (u32 first record,
//                            u16 record count, u8 length, the word and its NUL), never spanning a
//                            page; the reverse list holds every word spelled backwards, sorted so
//   OCCURENC.LST             10-byte occurrence records (u16 article number, u32 hit position,
//                            u32 word position), each word's contiguous and ascending by article
//                            and word position, then one end record of 10 zero bytes
//   dropword.lst             the drop words, upper case, CR LF, sorted by byte order
//   TITLELNK.DAT             article numbers to RINs, parents and titles (TitleLinkWriter.h)
// Words are read with the query side's own term rules (src/search/KeywordTokenizer.h). A hit
// position is the section index (or 200 + t for table t) | character offset << 8 | length << 25,
// a table's offset counting only the visible characters of its text (not NUL, space, TAB, CR or
// LF), as the table reader counts them; word positions are those of keyword_terms::WordPositionCounter. A number that names a year
// adds its date word at its own position, and beside it the selection codes of the decade,
// century and millennium that hold the year (search/SelectionCode.h); every article of search
// domain N gets the word "#N" once. A picture item's texts are indexed under its own number:
// hits in its caption have section code 221, in its text section or hot-spot label n 223 + n
// (word positions count the caption as section 0, text n as section 1 + n). A word with more occurrences than a result set holds (61,440) becomes a drop word.
#pragma once

#include "ArticleRecordWriter.h"
#include "GrfWriter.h"
#include "TitleLinkWriter.h"

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace discbuilder {

// The text of one article as the index sees it.
struct IndexedArticle {
    std::int32_t rin = 0;
    int parent = -1;   // index of the parent article in the list, -1 for a main article
    std::string title;
    int domain = 0;    // search domain (its category, 1-9); 0 none
    // The paragraphs of each section and of each table, as the article record holds their
    // texts: a section's character offsets run on from one paragraph to the next.
    std::vector<std::vector<std::string>> sections;
    std::vector<std::vector<std::string>> tables;
    // A picture item (IndexedPictureFrom): sections[0] holds its caption's paragraphs,
    // sections[1 + n] its text section or hot-spot label n; it has no tables.
    bool picture = false;
};

// Hit section codes of a picture item's texts.
constexpr unsigned kPictureCaptionSection = 221;
constexpr unsigned kPictureTextSection = 223;  // + n for text section or label n

// The sections of an article record's source (every run that has text, in order) and its tables
// (the texts of every table's runs: headings, cells and footnotes as its data holds them).
IndexedArticle IndexedArticleFrom(const ArticleRecordSource& source, int domain = 0);

// The caption (its paragraphs: the record's lines between carriage returns), text sections and
// hot-spot labels of a picture record, under the item's own number.
IndexedArticle IndexedPictureFrom(std::int32_t rin, const GrfRecordSource& record, int domain = 0);

// The texts of a table's runs, in the order of its text area (the bytes of RecordTable::data).
// Throws std::invalid_argument when the data is too short for its header or its text.
std::vector<std::string> TableTextRuns(const std::string& data);

// One occurrence of a word.
struct KeywordOccurrence {
    std::uint16_t article = 0;
    std::uint32_t hitPosition = 0;
    std::uint32_t wordPosition = 0;
    bool operator==(const KeywordOccurrence&) const = default;
};

struct KeywordIndexFiles {
    static constexpr const char* kMasterIndex = "KWMST.NDX";
    static constexpr const char* kReverseMasterIndex = "REVKWMST.NDX";
    static constexpr const char* kKeywordList = "KEYWORD.LST";
    static constexpr const char* kReverseKeywordList = "KEYWORD.REV";
    static constexpr const char* kOccurrences = "OCCURENC.LST";
    static constexpr const char* kDropWords = "dropword.lst";

    std::string masterIndex;
    std::string reverseMasterIndex;
    std::string keywordList;
    std::string reverseKeywordList;
    std::string occurrences;
    std::string dropWordFile;
    TitleLinkTable titleLinks;
    std::vector<std::string> dropWords;  // sorted
    std::size_t words = 0;               // in the lists
};

constexpr std::size_t kKeywordListPage = 1024;
constexpr std::size_t kMaxOccurrencesPerWord = 61440;
constexpr std::size_t kMaxDropWords = 200;

// The drop words a disc gets unless it names its own.
const std::vector<std::string>& DefaultDropWords();

// Builds every file. Throws std::invalid_argument when an article does not fit the formats (more
// than 200 sections or 36 tables, a paragraph offset beyond 17 bits, a bad title) or the drop
// words grow beyond 200.
KeywordIndexFiles BuildKeywordIndex(const std::vector<IndexedArticle>& articles,
                                    std::vector<std::string> dropWords = DefaultDropWords());

// Writes the files into the data folder (created when missing); throws std::runtime_error when one
// cannot be written.
void WriteKeywordIndex(const KeywordIndexFiles& files, const std::filesystem::path& dataFolder);

// Calls back with every word and date word of an article with its occurrence, in text order (the
// article's number given), drop words, overlong words and the domain word included. The
// builder and the oracle of the tests scan texts with this one walk.
void WalkArticleWords(const IndexedArticle& article, std::uint16_t number,
                      const std::function<void(const std::string&, const KeywordOccurrence&)>& f);

}  // namespace discbuilder
