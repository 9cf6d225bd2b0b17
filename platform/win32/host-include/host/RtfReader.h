// The rich-text reader behind the rich edit control's EM_STREAMIN with SF_RTF: the subset of RTF
// that simple documents use (\rtf1, \ansi, \deff, \deftab, \deflang, the font and colour tables,
// \par, \pard, \plain, \b, \i, \ul, \f, \fs, \cf, \tab, \line, \'hh, \\, \{, \} and groups).
// Every other control word is skipped; destination groups ({\* ...}, \object, \field, \pict,
// \info and the like) are skipped whole and never acted on, so no object, link or picture is
// ever loaded. Nesting and sizes are bounded: damaged or hostile input gives the text read so
// far and a status that says what stopped the reader, never a crash or a read out of bounds.
//
// Not part of the platform's interface: the rich edit control, the tests and the fuzzer use it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace host {

// The character format of a run of text.
struct RtfCharFormat {
    std::string face;          // the font's name from the font table ("" when the table lacks it)
    int family = 0;            // 0 none, 1 \froman, 2 \fswiss, 3 \fmodern, 4 \fscript, 5 \fdecor
    int charset = 0;           // \fcharset (2 is the symbol set)
    int halfPoints = 24;       // \fs: size in half points, 1 .. kRtfMaxHalfPoints
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool autoColor = true;     // no \cf, \cf0 of an empty first entry, or an entry out of range
    std::uint32_t color = 0;   // 0x00BBGGRR, valid when !autoColor
    bool operator==(const RtfCharFormat&) const = default;
};

// Text from `start` for `length` bytes in one format.
struct RtfRun {
    std::size_t start = 0;
    std::size_t length = 0;
    RtfCharFormat format;
};

enum class RtfStatus {
    Ok,            // a whole document, its braces balanced
    NotRtf,        // the data does not begin with "{\rtf": nothing read
    Unbalanced,    // the data ended inside a group (text so far kept)
    TooDeep,       // groups nested deeper than the bound (text so far kept)
    TooLong,       // the text reached its bound (text up to it kept)
};

struct RtfDocument {
    std::string text;          // Windows-1252 bytes; paragraphs end with "\r\n"
    std::vector<RtfRun> runs;  // cover `text` in order, adjacent runs differ in format
    RtfStatus status = RtfStatus::Ok;
    int defaultTab = 720;      // \deftab in twips
    int language = 0;          // \deflang
};

constexpr int kRtfMaxDepth = 64;              // groups open at once
constexpr std::size_t kRtfMaxText = 1 << 22;  // bytes of text
constexpr int kRtfMaxTableEntries = 1024;     // fonts, colours
constexpr int kRtfMaxHalfPoints = 3276;       // 1638 points
constexpr std::size_t kRtfMaxFontName = 64;   // bytes of a font's name

RtfDocument ReadRtf(std::string_view data, std::size_t maxText = kRtfMaxText);

}  // namespace host
