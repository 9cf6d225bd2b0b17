// Reads the sample disc's picture items (sample/pictures/items/*.txt): pictures, maps and
// pictures with sound, each a picture record ("GRF" record, GrfWriter.h) of the archive whose
// pictures the art generator draws (tools/art). A source is header lines `key: value`:
//
//   number: 1001001                    the item's content number (required)
//   media: 1001001                     the media number (default: the item number)
//   article: 1001                      the article the item belongs to: the record's item number
//                                      (header offset 24), which Go to Article opens (default 0:
//                                      none, Go to Article greyed)
//   category: 4                        the ROM_LINK category digit (0-9)
//   title: Monoplane climbing          the title (required)
//   art: PhotoMonoplane 400 300        the art generator's look and the full picture's size (required)
//                                      ("Bubble" + a bubble scene: that scene's opening view)
//   copy: no                           the reader may not copy the picture (default: yes)
//   link: 1001004                      the header's link value (default 0)
//   caption: text                      a caption paragraph (several lines: several paragraphs)
//   note: text / credit: text
//   section: text                      a text section of the picture
//   label: text                        a hot-spot label's text (after the sections)
//   hotspot: link 1001 | 10 10 50 40   a hot spot: "link N", "label" or "sound N", then left top
//                                      right bottom in pixels of the full picture
//   zoomout: 3000002                   the map one level up
//   overlay: MAP_OLAY | Title = 3000002 ; Other = 3000001     an overlay list (MAP_OLAY, TRA_OLAY)
//   group: Title = 1001002 ; ...        a group of related items
//   legend: MapLegend 160 90            the map's legend, drawn by the art generator
//
// In caption, section and label texts `**bold**` and `*italic*` become the record's emphasis
// bytes. Blank lines and lines beginning with "#" are skipped.
#pragma once

#include "GrfWriter.h"

#include <ArtFiles.h>

#include <filesystem>
#include <string>
#include <vector>

namespace discbuilder {

struct PictureItemSource {
    std::uint32_t number = 0;  // the item's own content number (its ROM_LINK row)
    GrfRecordSource record;    // record.itemNumber: the owning article (0: none)
    int category = 0;
    std::string art;      // the look's name
    int width = 0, height = 0;
    std::string legendArt;
    int legendWidth = 0, legendHeight = 0;
};

// Throws std::runtime_error naming the source and line for an unknown key, a bad number, a bad
// hot spot or list, or a missing number, title or art.
PictureItemSource ParsePictureItemSource(const std::string& text, const std::string& name);

// Draws the item's pictures (full picture, preview, second image, legend) as GIF images into its
// record. Throws std::runtime_error for a look the art generator does not know.
void DrawPictureItem(PictureItemSource& item);

// The full picture, the preview and the second image of a record from one drawn picture, and
// its legend picture when one is given.
void SetRecordPictures(GrfRecordSource& record, const art::Picture& full, const art::Picture* legend);
// The picture reduced to an average of each block (for the small images).
art::Picture Reduce(const art::Picture& from, int width, int height);
// A GIF of the picture: its 256 most used colours, every other pixel taking the nearest.
std::string GifOf(const art::Picture& picture);

// The items of a folder, drawn, in the order of their file names.
std::vector<PictureItemSource> ReadPictureItems(const std::filesystem::path& folder);

// Emphasis marks to the record's bytes: "**" bold (0x82 ... 0x80), "*" italic (0x81 ... 0x80).
std::string RecordText(const std::string& text);

}  // namespace discbuilder
