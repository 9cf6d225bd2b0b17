// The atlas's pictures: the political maps (the outlines filled with the platform's GDI,
// neighbouring countries in different colours, coast and border lines), their terrain twins cut
// from the picture of the earth, the legends, and the globe's and the distance calculator's
// bitmaps of the whole earth.
//
// The picture of the earth is NASA's Visible Earth image (2048 x 1024, plate carree) that
// Debian's xplanet-images package installs; it is read when the art is drawn, never kept in
// the tree.
#pragma once

#include "Atlas.h"
#include "ArtFiles.h"

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace atlas {

constexpr const char* kEarthImagePath = "/usr/share/xplanet/images/earth.jpg";

// Rows from the top, three bytes (red, green, blue) a pixel.
struct EarthImage {
    int width = 0, height = 0;
    std::vector<std::uint8_t> rgb;
    // The colour at a point (nearest pixel).
    const std::uint8_t* At(double lat, double lon) const;
};

// Reads a JPEG picture of the earth. Throws std::runtime_error naming the file when it cannot be
// read or decoded, or is not twice as wide as high.
EarthImage ReadEarthImage(const std::filesystem::path& file = kEarthImagePath);
// The default picture, read once per process.
const EarthImage& SharedEarthImage();

// A colour index per country (0 to 5) such that touching countries differ where the graph
// allows it.
std::vector<int> PoliticalColours(const std::vector<std::vector<int>>& neighbours);

// Places marked on a map with a dot.
struct MapMark {
    GeoPoint point;
};

// A political map: sea, each country filled in its colour, outlines in a darker line, the
// countries without outline as dots, the marks, and (on regional maps) the names of the
// countries that have room for them.
art::Picture DrawPoliticalMap(const std::vector<Country>& countries, const std::vector<int>& colours,
                              const MapFrame& frame, const std::vector<MapMark>& marks, bool names);
// A terrain map: the picture of the earth over the frame with the outlines drawn thin over it
// and the marks; its colours already reduced to at most 218 (a 6 x 6 x 6 cube, the line and the
// mark colours) so that it keeps them all as a GIF, in plain areas that compress well (a record
// holds at most 127 blocks of 512 bytes).
art::Picture DrawTerrainMap(const EarthImage& earth, const std::vector<Country>& countries, const MapFrame& frame,
                            const std::vector<MapMark>& marks);
// The legend of a political or a terrain map.
constexpr int kLegendWidth = 170, kLegendHeight = 112;
art::Picture DrawLegend(bool terrain);

// An 8-bit BMP file of the whole earth at the size asked, with a table of exactly 256 colours
// (the most used ones, every other pixel taking the nearest).
std::string EarthBitmapFile(const EarthImage& earth, int width, int height);

}  // namespace atlas
