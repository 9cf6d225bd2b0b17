// Writes the list files that the program pages through with its list-file provider: a data file of
// one entry per line ("|"-separated fields, the title last), sorted by title with case ignored as
// the program compares, and its index file (the entry count, then for every 100th entry its line
// position and the first four characters of its title). Both have CR LF line ends.
//
// The sample's lists (sample/lists):
//   shows.txt   -> Jlshow.dat / jlshow.ndx      content code | number | category | title
//               -> Jlookcd1.dat / jlookcd1.ndx  the same lines, media items only (the media
//                                               browser's ALL MEDIA list)
//   places.txt  -> map_loc.dat / map_loc.ndx    country | map | "PPL" | 0 | 0 | 0 | place name
//               -> distcalc.dat / distcalc.ndx  country | map | "PPL" | 0 | 0 | 0 | latitude |
//                                               longitude | place name
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct ListFileEntry {
    std::vector<std::string> fields;  // the fields before the title
    std::string title;
};

// Characters of a data file line that the program reads.
constexpr std::size_t kListLineLimit = 132;

// The bytes of a data file and of its index for these entries (sorted here). Throws
// std::invalid_argument for a line longer than kListLineLimit or a field holding "|" or a line end.
struct ListFileBytes {
    std::string data;
    std::string index;
};
ListFileBytes MakeListFiles(std::vector<ListFileEntry> entries);

// Writes both files (replacing them). Throws std::runtime_error when a file cannot be written.
void WriteListFiles(const std::filesystem::path& dataPath, const std::filesystem::path& indexPath,
                    const std::vector<ListFileEntry>& entries);

// Writes the sample's show and place lists from sampleFolder/lists into dataFolder; the files
// written. Nothing when the sample has no lists folder.
std::vector<std::filesystem::path> WriteSampleLists(const std::filesystem::path& sampleFolder,
                                                    const std::filesystem::path& dataFolder);

}  // namespace discbuilder
