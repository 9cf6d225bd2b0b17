// Reads the FOLDOC computing dictionary from its dictd database (NAME.index: headword, offset and
// length in dictd's base-64 digits, tab-separated; NAME.dict.dz: the gzip-compressed text) and
// writes each entry as an article source of the disc builder (sample/README.md):
//   - one article per entry (entries that several headwords share once), content numbers from
//     kFirstRin up in index order, the entry's first headword line as the title;
//   - its paragraphs as paragraphs; numbered senses ("1. ...", "2. ...") as sections of their own;
//   - the cross-references in braces as links to the entries they name (plain text when the
//     entry does not exist);
//   - the leading domain marker ("<programming, language>") dropped from the text and turned into
//     the article's category (its search domain), see CategoryOfDomain;
//   - UTF-8 text turned into the Western code page (Windows-1252), other characters into spaces.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace foldoc {

constexpr std::int32_t kFirstRin = 100001;

struct FoldocEntry {
    std::string title;                    // the first headword line
    std::vector<std::string> paragraphs;  // joined lines, in the Western code page
};

// The entries of the database in index order, each once; at most `limit` of them (0: all). Throws
// std::runtime_error when a file cannot be read or an index line is malformed.
std::vector<FoldocEntry> ReadFoldoc(const std::filesystem::path& indexFile, const std::filesystem::path& dictFile,
                                    std::size_t limit = 0);

// The category (1-9) of a domain marker's first domain, 0 for none.
int CategoryOfDomain(const std::string& domains);

// The article sources of the entries (the i-th gets RIN kFirstRin + i), as file name and text.
struct ArticleSourceFile {
    std::string fileName;
    std::string text;
};
std::vector<ArticleSourceFile> MakeArticleSources(const std::vector<FoldocEntry>& entries);

// Reads DICTD_FOLDER/foldoc.index and foldoc.dict.dz and writes the sources into the folder;
// the number written.
std::size_t WriteArticleSources(const std::filesystem::path& dictdFolder, const std::filesystem::path& outFolder,
                                std::size_t limit = 0);

}  // namespace foldoc
