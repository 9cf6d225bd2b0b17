// Writes picture records ("GRF" records): the header of every picture, map, movie, sound and
// simulation item with its title, caption, text sections, hot spots, named records (zoom-out
// link, overlay and group lists, legend), the two small embedded GIF images and, behind them, the
// full picture and the legend as GIF images. All integers are little-endian; every offset counts
// from the record's first byte.
//
// Layout written: the 428-byte header, then the texts, the hot-spot table (from a multiple of 4), the named records and
// the reference lists, then the second image, then the preview image (header offset 402), then
// the full picture (offset 410 = end of the preview) and last the legend picture. So a reader that
// loads the header only (up to 3 bytes past the preview's start) has every text and table, and a
// reader that loads up to the full picture has both small images as well.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace discbuilder {

// Header fields (offsets into the record).
namespace grf {
constexpr std::size_t kSignature = 0;       // "GR"
constexpr std::size_t kMediaNumber = 20;
constexpr std::size_t kItemNumber = 24;
constexpr std::size_t kTitle = 36;
constexpr std::size_t kHotSpots = 44;
constexpr std::size_t kHotSpotCount = 52;   // i16
constexpr std::size_t kNamed = 54;
constexpr std::size_t kNamedCount = 62;     // i16
constexpr std::size_t kCaption = 64;
constexpr std::size_t kCaptionLength = 68;
constexpr std::size_t kSectionCount = 72;   // i16
constexpr std::size_t kSections = 74;       // 20 entries of 10 bytes
constexpr std::size_t kLists = 274;         // 10 entries of 10 bytes
constexpr std::size_t kNote = 374;
constexpr std::size_t kNoteLength = 378;
constexpr std::size_t kCredit = 382;
constexpr std::size_t kCreditLength = 386;
constexpr std::size_t kLinkValue = 390;
constexpr std::size_t kPreview = 402;
constexpr std::size_t kFullPicture = 410;
constexpr std::size_t kCanCopy = 418;       // 'Y'
constexpr std::size_t kSecondImage = 420;
constexpr std::size_t kSecondImageLength = 424;
constexpr std::size_t kHeaderSize = 428;
constexpr std::size_t kSectionSlots = 20;
constexpr std::size_t kListSlots = 10;
constexpr std::size_t kHotSpotSize = 16;
constexpr std::size_t kNamedSize = 72;
}  // namespace grf

enum class GrfHotSpotKind : std::int16_t { Link = 0, Label = 1, Sound = 3 };

struct GrfHotSpot {
    int left = 0, top = 0, right = 0, bottom = 0;  // picture pixels
    GrfHotSpotKind kind = GrfHotSpotKind::Link;
    std::uint32_t target = 0;  // item number (link) or sound number (sound)
};

struct GrfListItem {
    std::string title;
    std::uint32_t number = 0;
};

// A named record: "ZOOM_OUT" (value: item number), "MAP_OLAY", "TRA_OLAY", "GROUP" (value: index
// of a reference list), "LEGEND" (the record's legend picture).
struct GrfNamedRecord {
    std::string name;  // at most 15 characters
    std::uint32_t value = 0;
};

struct GrfSection {
    std::uint32_t mark = 1;  // non-zero: a text of the picture; 0: a hot-spot label's text
    std::string text;        // with the control bytes 0x0D, 0x80, 0x81, 0x82
};

struct GrfRecordSource {
    std::uint32_t mediaNumber = 0;
    std::uint32_t itemNumber = 0;
    std::uint32_t linkValue = 0;
    bool canCopy = true;
    std::string title;
    std::string caption;  // empty: no caption
    std::string note;     // empty: none
    std::string credit;   // empty: none
    std::vector<GrfSection> sections;  // at most 20; the picture's own (mark non-zero) first
    std::vector<GrfHotSpot> hotSpots;
    std::vector<GrfNamedRecord> named;
    std::vector<std::vector<GrfListItem>> lists;  // at most 10 reference lists
    std::string previewGif;  // GIF files (bytes); any may be empty
    std::string secondGif;
    std::string fullGif;
    std::string legendGif;   // written when a "LEGEND" record exists
};

// The record. Throws std::invalid_argument for more than 20 sections or 10 lists, a name longer
// than 15 characters, a text holding a NUL byte, or a list index of a named record beyond the
// lists.
std::string WriteGrfRecord(const GrfRecordSource& source);

// Reads and writes the little-endian integers of a record (for tests that damage records).
std::uint32_t GrfGet32(const std::string& record, std::size_t offset);
void GrfPut32(std::string& record, std::size_t offset, std::uint32_t value);
void GrfPut16(std::string& record, std::size_t offset, std::int16_t value);

}  // namespace discbuilder
