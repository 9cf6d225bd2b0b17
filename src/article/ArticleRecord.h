// Article records: reading one record into memory and describing it.
//
// Every article is one record: a header, fixed-size entry lists, a pool of NUL-terminated
// strings and a text area with the sections (paragraph runs, style table, text, indent table),
// the inline pictures and the tables. Disc articles lie compressed in the content archive
// "vl.dat" (a stream starting at a 512-byte block); a downloaded or update article is the
// uncompressed record in a file of its own (".rcv").
//
// ReadArticleRecord reads a record into a 307,200-byte block of movable global memory and
// ParseArticleRecord describes it in an ArticleRecordDescriptor (the offsets of every entry list
// and the address of every string, each pointing into the record block); CreateArticleView wraps
// the descriptor in an ArticleViewRecord. The three blocks belong to the CArticleDocument that
// asked for them.
//
// Damaged data never reads outside the record: every count is checked against the descriptor's
// capacities and every offset and string against the bytes actually read; damage ends the
// program through FatalArticleError ("Article data damaged: ...").
#pragma once

#include <windows.h>

// Record header (little-endian; offsets from the record's first byte).
enum : DWORD {
    ARH_FORMAT_YEAR = 26,        // four ASCII digits; before 1998 the old layout
    ARH_ISSUE_DATE = 32,         // 8 characters, digit pairs at 0-1, 3-4, 6-7
    ARH_SECTION_COUNT = 40,      // u8
    ARH_TABLE_COUNT = 41,        // u8
    ARH_LINK_COUNT = 42,         // u16, 10-byte link entries
    ARH_RELATED_COUNT = 44,      // u16, 6-byte related entries
    ARH_POSITION_COUNT = 46,     // u16, 4-byte link positions
    ARH_POOL_LENGTH = 48,        // u16
    ARH_SECTIONS_END = 50,       // u32, end of the section data from the text start (no tables)
    ARH_SKIPPED_COUNT = 55,      // signed byte, 10-byte entries nobody reads
    ARH_MEDIA_COUNT = 72,        // u16, 10-byte media entries
    ARH_RELATED_LINK_COUNT = 74, // u16, 1998 and later
    ARH_EXTRA_COUNT = 76,        // u16, 1998 and later
    ARH_PICTURE_LENGTH = 78,     // u32, inline-picture area ending where the section data ends
    ARH_ENTRIES = 82,            // the entry lists start here
};

// Entry sizes and limits of the format.
enum : DWORD {
    ARTICLE_BLOCK_SIZE = 512,
    ARTICLE_RECORD_BUFFER_SIZE = 307200,
    ARTICLE_SECTION_ENTRY = 8,
    ARTICLE_TABLE_ENTRY = 8,
    ARTICLE_MEDIA_ENTRY = 10,
    ARTICLE_LINK_ENTRY = 10,
    ARTICLE_RELATED_ENTRY = 6,
    ARTICLE_POSITION_ENTRY = 4,
    ARTICLE_SKIPPED_ENTRY = 10,
    ARTICLE_TEXT_GAP = 12,  // bytes between the string pool and the text start
    ARTICLE_MAX_SECTIONS = 200,
    ARTICLE_MAX_TABLES = 20,
    ARTICLE_MAX_EXTRAS = 20,
    ARTICLE_MAX_CAPTIONS = 500,
    ARTICLE_MAX_LINKS = 1000,
    ARTICLE_MAX_RELATED = 500,
    ARTICLE_MAX_RELATED_LINKS = 500,  // 499 in the old layout, whose table ends with NULL
    ARTICLE_MAX_TRAILING = 500,
};

// Records of this format year and later have the new layout.
const int ARTICLE_NEW_LAYOUT_YEAR = 1998;

#define ARTICLE_DESCRIPTOR_MAGIC 0x2141
#define ARTICLE_VIEW_MAGIC 0x4156

// The exit code with which FatalArticleError ends the program.
#define ARTICLE_FATAL_EXIT_CODE 3

struct ARTICLE_BUFFER_SLOT {
    HGLOBAL hMem;
    DWORD dwSize;
    DWORD dwReserved;
};

// The lists of one section, filled by CArticleSection: its header, its 10-byte paragraph runs,
// its style table (2-byte entries), its text, its indent table (4-byte entries) and its end.
struct ARTICLE_SECTION_CURSOR {
    LPBYTE pHeader;
    LPBYTE pRuns;
    LPBYTE pStyles;
    LPBYTE pText;
    LPBYTE pIndents;
    LPBYTE pEnd;
};

struct ArticleRecordDescriptor {
    DWORD dwMagic;  // ARTICLE_DESCRIPTOR_MAGIC
    DWORD dwReserved0;
    DWORD dwReserved1;  // 1
    DWORD dwReserved2;
    DWORD dwFirstBlock;  // as passed to the reader
    DWORD dwReserved600;
    ARTICLE_BUFFER_SLOT buffers[2];  // 0: the record (307,200 bytes); 1: empty
    // Offsets from the record start.
    DWORD offSections;
    DWORD offTables;
    DWORD offMedia;
    DWORD offLinks;
    DWORD offRelated;
    DWORD offPositions;
    DWORD offSkipped;
    DWORD offStringPool;
    DWORD dwUnused0;
    // Addresses into the record (NULL past each list's count).
    LPSTR pszTitle;
    LPSTR apszSectionTitles[ARTICLE_MAX_SECTIONS];
    LPSTR apszTableTitles[ARTICLE_MAX_TABLES];
    LPSTR apszExtraTitles[ARTICLE_MAX_EXTRAS];
    LPSTR apszMediaCaptions[ARTICLE_MAX_CAPTIONS];
    LPSTR apszLinkTargets[ARTICLE_MAX_LINKS];
    LPSTR apszRelatedTitles[ARTICLE_MAX_RELATED];
    LPSTR apszRelatedLinks[ARTICLE_MAX_RELATED_LINKS];
    LPSTR apszTrailing[ARTICLE_MAX_TRAILING];
    DWORD offTextStart;  // pool offset + pool length + 12
    DWORD dwUnused1;
    DWORD dwParseCleared0;
    // Reserved space; the reader keeps here what the checks need.
    DWORD dwRecordLength;  // bytes of the record actually read into the buffer
    DWORD dwFormatYear;
    DWORD dwCaptionCount;     // captions taken: M, or (M + 1) / 2 before 1998
    DWORD dwTrailingCount;    // old layout: trailing strings taken
    DWORD adwReserved[4];
    ARTICLE_SECTION_CURSOR sectionCursor;
    DWORD dwParseCleared1;
};

// "artlview": the view record that wraps a descriptor. The viewer reads only the magic and the
// descriptor's handle. This is the least form the reader needs: the view-state fields start
// zeroed, but for the current item, which starts at -1; the article view gives them their
// meaning when it comes.
struct ArticleViewRecord {
    DWORD dwMagic;  // ARTICLE_VIEW_MAGIC
    DWORD dwReserved;
    HGLOBAL hDescriptor;
    LONG lCurrentItem;  // -1
    DWORD adwState[15];
};

// Shows the text in a system-modal "ERROR" box with the stop icon, then ends the program with
// ARTICLE_FATAL_EXIT_CODE through the exit handler.
[[noreturn]] void FatalArticleError(LPCSTR lpszText);

// How FatalArticleError ends the program: the C runtime's exit by default. A handler that
// returns is followed by that exit all the same; tests install one that throws, so that the end
// is seen without ending the test program (the reader frees its blocks as the exception passes).
typedef void (*ARTICLE_EXIT_HANDLER)(int nExitCode);
ARTICLE_EXIT_HANDLER SetArticleExitHandler(ARTICLE_EXIT_HANDLER pfnHandler);

// Reads the record at block nBlock (nBlockCount blocks; 0 stands for 255) and parses it; the
// handle of its new descriptor. A path containing "vl.dat" reads disc 1's archive, whatever
// folder it names (a disc that cannot be had throws the class library's user exception); any
// other path is a single-article file, of which at most nBlockCount x 512 bytes are read (a
// shorter file leaves the rest of the buffer zeroed). Failures and damage are fatal.
HGLOBAL ReadArticleRecord(LPCSTR lpszPath, DWORD nBlock, DWORD nBlockCount);

// Fills the descriptor's offsets and string tables from its record (buffer slot 0,
// dwRecordLength bytes). The old layout's related links end with a NULL; from 1998 on the
// related-link count at byte 74 is rewritten to the number of links taken.
void ParseArticleRecord(ArticleRecordDescriptor* pDescriptor);

// A new view record for the descriptor; 0 when its set-up failed.
HGLOBAL CreateArticleView(HGLOBAL hDescriptor);

// ReadArticleRecord, then CreateArticleView: the view record's handle.
HGLOBAL LoadArticleRecord(LPCSTR lpszPath, DWORD nBlock, DWORD nBlockCount);

// Frees a descriptor and its record buffer (locked or not).
void FreeArticleRecord(HGLOBAL hDescriptor);

// Little-endian fields of the record.
inline WORD ArticleWord(const BYTE* p)
{
    return static_cast<WORD>(p[0] | (p[1] << 8));
}
inline DWORD ArticleDword(const BYTE* p)
{
    return static_cast<DWORD>(p[0]) | (static_cast<DWORD>(p[1]) << 8) | (static_cast<DWORD>(p[2]) << 16) |
           (static_cast<DWORD>(p[3]) << 24);
}
// The four ASCII digits at byte 26 as a number; -1 when they are not four digits.
int ArticleFormatYear(const BYTE* pRecord);
