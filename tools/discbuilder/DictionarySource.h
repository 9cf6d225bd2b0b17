// The readable source of the dictionary (sample/dictionary/*.txt, UTF-8) and its encoding into
// the definitions file's text.
//
// Source format: lines beginning with "#" are comments, blank lines are skipped.
//   @ headword | the rest of the first line (pronunciation, part of speech; optional)
//   @+ another headword that leads to this entry (any number, before its definitions)
//   a definition line
//   > a quoted line (shown indented)
// Each entry begins with an "@" line; the lines up to the next "@" line are its definitions, one
// line of the definitions file each. In text: "**bold**", "*italic*", and a backslash makes the
// next character plain ("\*", "\\").
//
// Encoding: UTF-8 becomes the Western code page (Windows-1252); the bytes 0xB3 to 0xDA and 0xFF
// are the file's codes, so characters that would land there are transliterated (À -> A,
// Æ -> AE, ½ -> 1/2, ...); other characters outside the code page become their plain relatives
// or "?". Control characters become spaces (a tab stays: the pane indents it).
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

// An entry in the definitions file's encoding (codes included, no line ends).
struct DictionaryEntry {
    std::string headword;            // plain text, Windows-1252
    std::vector<std::string> otherHeadwords;  // indexed to this entry too (plain, Windows-1252)
    std::string firstLine;           // 0xBD, 0xB3, the headword, 0xBF, then the rest
    std::vector<std::string> lines;  // the definitions
};

// The codes of the definitions file.
constexpr unsigned char kDictEntryMark = 0xBD;
constexpr unsigned char kDictEntryEnd = 0xCA;
constexpr unsigned char kDictHeadwordEnd = 0xBF;
constexpr unsigned char kDictBold = 0xB3;
constexpr unsigned char kDictRegular = 0xB4;
constexpr unsigned char kDictItalic = 0xB6;
constexpr unsigned char kDictEndOfData = 0x1A;

// UTF-8 text as Windows-1252 without the code bytes (invalid UTF-8 bytes become "?").
std::string DictionaryPlainText(const std::string& utf8);
// Source text with its mark-up as definitions-file text: plain text, 0xB3 ... 0xB4 for bold and
// 0xB6 ... 0xB4 for italic.
std::string EncodeDictionaryText(const std::string& utf8Markup);
// An entry made from the source's parts (headword and rest plain UTF-8 with mark-up).
DictionaryEntry MakeDictionaryEntry(const std::string& headword, const std::string& rest,
                                    const std::vector<std::string>& lines);

// The entries of a source text. Throws std::runtime_error naming the line for a definition line
// before the first entry or an entry without a headword.
std::vector<DictionaryEntry> ParseDictionarySource(const std::string& text, const std::string& name = "dictionary");
// The entries of every *.txt of the folder (in name order); none when the folder is missing.
std::vector<DictionaryEntry> ReadDictionarySources(const std::filesystem::path& folder);

}  // namespace discbuilder
