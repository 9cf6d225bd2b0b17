// Writes article records: the header, the entry lists, the string pool and the text area (the
// sections with their paragraph runs, style tables, text and indent tables, the inline-picture
// area, the tables' data) in the layout the program's article reader expects. Records of format
// year 1998 and later have the new layout; earlier years the old one (written for test fixtures).
//
// Header bytes the program does not read: bytes 0-3 hold the article's number (little-endian).
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace discbuilder {

// One paragraph run. New layout: kind (0 text; 1, 2 heading or thumbnail kinds; 3 no text;
// 4 and up icon paragraphs) and the four flags; old layout: the flag word's bits.
struct RecordRun {
    int kind = 0;
    int flags = 0;          // bits 0-3
    int style = 0;          // byte 1: style value / item number
    int level = 0;          // new layout: the u16 level value
    std::string text;       // not written for runs without text
    std::uint32_t extra = 0;
    // Old layout only.
    bool noText = false;
    bool heading = false;
    int headingLevel = 0;   // 0 or 1
};

struct RecordSection {
    std::string title;
    std::vector<RecordRun> runs;
    // Style table entries (bit 0 clear: plain run, length = entry >> 1; set: style code in bits
    // 1-4, length = entry >> 5). Empty: plain entries covering the text.
    std::vector<std::uint16_t> styles;
    // Indent entries: first paragraph, last paragraph, first-line indent, other-lines indent.
    std::vector<std::array<std::uint8_t, 4>> indents;
};

struct RecordMedia {
    std::uint32_t rin = 0;
    char kindLetter = 'A';
    std::uint8_t iconNumber = 0;
};

struct RecordLink {
    std::string target;                  // "vl://001002" or "tf:..."
    std::vector<std::uint32_t> positions;  // packed: section | offset << 8 | length << 25
};

struct RecordRelated {
    std::string title;
    std::string link;    // empty: a heading without a link
    std::uint8_t flag = 0;
    std::uint32_t rin = 0;
};

struct RecordTable {
    std::string title;
    std::string data;  // the table's bytes as the table reader takes them
};

struct ArticleRecordSource {
    std::int32_t rin = 0;
    int category = 0;  // the ROM_LINK category digit (the search domain), 0 none
    int formatYear = 1999;
    std::string issueDate = "99/01/01";  // 8 characters
    std::string title;
    std::vector<RecordSection> sections;
    std::vector<RecordTable> tables;
    std::vector<std::string> extraTitles;  // new layout
    std::vector<RecordMedia> media;
    std::vector<std::string> captions;     // M from 1998 on; (M + 1) / 2 before
    std::vector<RecordLink> links;
    std::vector<RecordRelated> related;
    std::vector<std::string> relatedLinks;  // empty: the links of the related entries
    std::vector<std::string> trailing;      // old layout
    std::string pictures;                   // GIF images, back to back
    // New layout: the value stored at byte 74; -1 writes the count that makes the reader take
    // exactly the related links (their number - 1, 0 for none).
    int relatedLinkCountField = -1;
    int skippedEntries = 0;
};

// Packs a text position of a link.
std::uint32_t PackTextPosition(unsigned section, unsigned offset, unsigned length);

// The record's bytes. Throws std::invalid_argument when a count does not fit its field or the
// string pool is longer than 65,535 bytes.
std::string WriteArticleRecord(const ArticleRecordSource& source);

}  // namespace discbuilder
