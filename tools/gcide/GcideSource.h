// Reads the GCIDE dictionary from its dictd database (NAME.index: headword, offset and length
// in dictd's base-64 digits, tab-separated; NAME.dict.dz: the gzip-compressed text) and writes
// its entries in the disc builder's dictionary source format (tools/discbuilder/DictionarySource.h):
//   - one entry per article of the text (articles that several headwords share once), the
//     index's headword as the headword and every other key of the index that leads to the
//     article as another headword ("@+" lines);
//   - the index's escapes ("Caf'e") as the letters they stand for;
//   - the article's first line (pronunciation, part of speech, etymology up to its closing
//     bracket) as the rest of the first line, the syllabified form "\Ap"ple\" in italics as
//     "Ap'ple", "*" between syllables as "-";
//   - each paragraph joined into one line; numbered senses start a line of their own with the
//     number in bold; quotations (deeply indented) as quoted lines; "Note:" and "Syn:" in italics;
//   - cross-references in braces in bold; the source tags ("[1913 Webster]", "[PJC]") dropped;
//   - GCIDE's letter escapes ("[ae]", "['e]", "[a^]") as the letters they stand for (UTF-8).
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <vector>

namespace gcide {

struct GcideEntry {
    std::string headword;
    std::vector<std::string> otherHeadwords;  // the article's other keys in GCIDE's index
    std::string rest;                // the rest of the first line, with mark-up
    std::vector<std::string> lines;  // with mark-up; a quoted line starts with "> "
};

struct GcideOptions {
    std::size_t every = 1;           // keep every n-th article (1: all)
    std::size_t maxLines = 0;        // at most this many definition lines an entry (0: all)
    std::vector<std::string> words;  // headwords always kept (case ignored)
};

// Turns GCIDE's letter escapes into UTF-8 letters.
std::string Unescape(const std::string& text);
// A key of GCIDE's index with its escapes ("Clich'e": an acute accent written before its letter)
// as the letters they stand for (UTF-8), where the article spells the word with that letter;
// an apostrophe the article keeps ("d'affaires") stays.
std::string IndexKeyText(const std::string& key, const std::string& articleText);
// GCIDE's pronunciation mark-up as readers see it: the syllable mark "*" a hyphen, the primary
// accent '"' an apostrophe; the secondary accent "`" stays.
std::string PronunciationText(const std::string& marked);
// One article's text as an entry with the given headword.
GcideEntry ParseArticle(const std::string& headword, const std::string& text);

// The articles of the database in text order, chosen by the options. Throws std::runtime_error
// when a file cannot be read or an index line is malformed.
std::vector<GcideEntry> ReadGcide(const std::filesystem::path& indexFile, const std::filesystem::path& dictFile,
                                  const GcideOptions& options = {});

// The entries in the source format.
std::string FormatDictionarySource(const std::vector<GcideEntry>& entries);

// Reads DICTD_FOLDER/gcide.index and gcide.dict.dz and writes the source file; the entry count.
std::size_t WriteDictionarySource(const std::filesystem::path& dictdFolder, const std::filesystem::path& outFile,
                                  const GcideOptions& options = {});

}  // namespace gcide
