// A dictd database: its index lines (headword, TAB, offset, TAB, length; the numbers in dictd's
// base 64) and the text they point into, read whole.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace dictd {

struct IndexEntry {
    std::string key;
    std::uint64_t offset = 0;
    std::uint64_t length = 0;
};

struct Database {
    std::string text;                // the uncompressed text
    std::vector<IndexEntry> index;   // in the index file's order
};

// Reads the index and the gzip-compressed text. The database's own entries (keys beginning with
// "00") are left out. A file that cannot be read, a line without its three fields, a bad number
// or an entry beyond the text throws std::runtime_error naming `name` ("gcide.index").
Database ReadDatabase(const std::filesystem::path& indexFile, const std::filesystem::path& dictFile,
                      const std::string& name);

// A dictd base-64 number; throws for a character outside the alphabet.
std::uint64_t Base64Number(const std::string& digits, const std::string& name);

// The text of an entry.
inline std::string EntryText(const Database& db, const IndexEntry& entry)
{
    return db.text.substr(static_cast<std::size_t>(entry.offset), static_cast<std::size_t>(entry.length));
}

}  // namespace dictd
