// Writes the list files that the program pages through with its list-file provider: a data file of
// one entry per line ("|"-separated fields, the title last), sorted by title with case ignored as
// the program compares, and its index file (the entry count, then for every 100th entry its line
// position and the first four characters of its title). Both have CR LF line ends.
//
// The sample's lists (sample/lists):
//   shows.txt   -> Jlshow.dat / jlshow.ndx      content code | number | category | title
//               -> Jlookcd1.dat / jlookcd1.ndx  the same lines, media items only (the media
//                                               browser's ALL MEDIA list)
//   places.txt  -> map_loc.dat / map_loc.ndx    country | map | "PPL" | section | offset |
//                                               length | place name
//               -> distcalc.dat / distcalc.ndx  country | map | "PPL" | section | offset |
//                                               length | latitude | longitude | place name
//                  With the atlas's sources (SampleAtlas.h) the places are its places (the cities
//                  and one row per country), each with the map that shows it and its hit (section
//                  220, the hot spot's index, length 1); without them the cities of places.txt
//                  with the map it names and no hit (0 | 0 | 0).
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
// Characters of a place list's line that the atlas reads.
constexpr std::size_t kPlaceLineLimit = 130;

// The bytes of a data file and of its index for these entries (sorted here). Throws
// std::invalid_argument for a line longer than the limit, an empty field, or a field holding "|"
// or a line end.
struct ListFileBytes {
    std::string data;
    std::string index;
};
ListFileBytes MakeListFiles(std::vector<ListFileEntry> entries, std::size_t lineLimit = kListLineLimit);

// Writes both files (replacing them). Throws std::runtime_error when a file cannot be written.
void WriteListFiles(const std::filesystem::path& dataPath, const std::filesystem::path& indexPath,
                    const std::vector<ListFileEntry>& entries, std::size_t lineLimit = kListLineLimit);

struct AtlasPlace;
// The rows of the Map Search list and of the Distance Calculator list for the atlas's places.
// Throws std::invalid_argument for a hit whose offset does not fit 17 bits (or length 7 bits).
void MakePlaceListEntries(const std::vector<AtlasPlace>& places, std::vector<ListFileEntry>& mapSearch,
                          std::vector<ListFileEntry>& distances);

// Writes the sample's show and place lists from sampleFolder/lists into dataFolder (the places
// of the atlas when given); the files written. Nothing when the sample has no lists folder.
std::vector<std::filesystem::path> WriteSampleLists(const std::filesystem::path& sampleFolder,
                                                    const std::filesystem::path& dataFolder,
                                                    const std::vector<AtlasPlace>* atlasPlaces = nullptr);

}  // namespace discbuilder
