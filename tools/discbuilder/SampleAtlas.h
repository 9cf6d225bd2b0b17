// The sample disc's atlas, made from the country outlines of sample/atlas/countries.txt, the
// picture of the earth (AtlasArt.h) and the lists of sample/lists:
//   - the map records (picture records, GrfWriter.h): 3000732 "Flat World Map" with a hot spot
//     over every region leading down to its map; per region a political map (titled by the
//     region) and its twin "Terrain of ..." cut from the picture of the earth. The twins name
//     each other in a "MAP_OLAY" list, zoom out to 3000732 and carry a legend; the item number
//     at offset 24 is the region's article (0 on the world map).
//   - every place (the time-zone cities of lists/places.txt and one row per country at its label
//     point) gets a link hot spot to its country's article around its point on the most detailed
//     map that shows it; the terrain twin carries the same hot spots.
//   - the country articles (the show list's numbers from 1100, matched by name) and one article
//     per region, each with its region's map as a media entry.
//   - the rows of the place lists: each place's map and its hit (section 220, the hot spot's
//     index, length 1).
#pragma once

#include "ArticleRecordWriter.h"

#include <Atlas.h>

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct AtlasPlace {
    std::string name;
    std::string code;               // the country's ISO code
    std::string latitude, longitude;  // decimal degrees as written in the lists
    std::uint32_t map = 0;
    int hotSpot = -1;               // index in the map's hot-spot table
    std::uint32_t article = 0;      // the country's article (the hot spot's target)
};

struct AtlasMapRecord {
    std::uint32_t number = 0;
    std::string record;  // the picture record
};

struct SampleAtlas {
    std::vector<AtlasMapRecord> maps;
    std::vector<ArticleRecordSource> articles;
    std::vector<AtlasPlace> places;
};

// TRUE when the sample folder holds the atlas's sources.
bool HasAtlasSources(const std::filesystem::path& sampleFolder);

// The atlas of a sample folder. The result is kept per sample folder (and the date of its
// sources) for the rest of the process, so that building many discs draws the maps once.
// Throws std::runtime_error naming the source for a bad source, a place of a country without
// an article, or a missing picture of the earth; std::invalid_argument for a hit that does not
// fit a hit position (offset 17 bits, length 7 bits).
const SampleAtlas& BuildSampleAtlas(const std::filesystem::path& sampleFolder);

// The map of a place (its hot spot's picture) by the place's point: the map number.
std::uint32_t AtlasMapFor(double latitude, double longitude);

}  // namespace discbuilder
