// PageLine: one laid-out line of the article page. Layout writes them; painting, scrolling,
// interaction and printing read them.
#pragma once

#include <windows.h>

// Line kinds.
enum : signed char {
    PAGE_LINE_TEXT = 0,             // text line or blank line
    PAGE_LINE_PICTURE = 1,          // one of the lines an inline picture covers
    PAGE_LINE_THUMBNAIL_LEFT = 2,   // text beside a thumbnail drawn at the left
    PAGE_LINE_THUMBNAIL_RIGHT = 3,  // text beside a thumbnail drawn at the right
    PAGE_LINE_MEDIA_ICON = 6,       // icon and a media item's title
    PAGE_LINE_TABLE_ICON = 7,       // icon and a table's title
    PAGE_LINE_ITEM_ICON = 8,        // icon and an item of the third list
};

struct PageLine {
    SHORT nSection;        // text section (0-based)
    WORD nParagraph;       // paragraph (run) within the section
    WORD nSectionNumber;   // first 16-bit value of the section's entry
    BYTE nLineInParagraph;
    BYTE nLinesInParagraph;
    DWORD dwStart;         // text: offset in the section text; picture: offset in the picture
                           // area; icon: the item number
    WORD nLength;          // characters; picture: byte length, 0 on its last line
    SHORT x;               // left edge of the text in pixels
    WORD nStyleIndex;      // style run holding the first character
    WORD nStyleStart;      // characters of the section text before that style run
    WORD nHitIndex;        // first hit in the document's hit list not ending before the line
    signed char nKind;
    BYTE nThumbnailSlot;
    WORD nMediaIndex;
};

// Text kinds are drawn and measured character by character.
inline BOOL IsTextPageLine(const PageLine& line)
{
    return line.nKind < PAGE_LINE_MEDIA_ICON && line.nKind != PAGE_LINE_PICTURE;
}
