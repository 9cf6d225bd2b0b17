// The ROM_LINK table holds one 12-byte record per RIN, sorted by RIN: which disc holds the item,
// its kind and subject category, and where its record lies in the article archive "vl.dat". It
// is built at start-up from the text file ROM_LINK.DAT of the disc's data folder and stays in
// memory, read-only, until exit. A RIN that the table lacks is placed by one of five default
// records, chosen by the RIN's range.
#pragma once

#include <windows.h>

#include <afx.h>

// One placing record, the in-memory form (records lie back to back, ascending by id). The four
// digits are stored as the character '0' plus their value.
struct RomLinkRecord {
    LONG id;           // the RIN
    char digit1;       // category digit
    char digit2;       // kind digit
    char digit3;       // yes/no flag digit (the picture flag of a reference)
    char digit4;       // disc digit
    DWORD place;       // bits 0-23 archive block (512-byte blocks), bits 24-31 block count
};
static_assert(sizeof(RomLinkRecord) == 12, "ROM_LINK records are 12 bytes");

// The most records ROM_LINK.DAT may hold.
const int MAX_ROMRECORDS = 30000;

// What a reference takes from a record. A digit outside 0 to 9 (a damaged record) is never used
// as a table index: category and kind give 0 for it.
LONG RomLinkCategory(const RomLinkRecord& record);    // digit n (1-9) gives 1 << (n - 1); 0 gives 0
LONG RomLinkKind(const RomLinkRecord& record);        // 0x100, 0x200 ... 0x8000, 0x40000, 0x100000
LONG RomLinkPictureFlag(const RomLinkRecord& record); // digit 0: 0; any other: TRUE with all bits set
LONG RomLinkDisc(const RomLinkRecord& record);        // the disc digit's value
LONG RomLinkBlock(const RomLinkRecord& record);       // bits 0-23 as a signed 24-bit value
LONG RomLinkBlockCount(const RomLinkRecord& record);  // bits 24-31 as a signed 8-bit value

class CRomLinkTable {
public:
    // Ids of the records fetched at Init as the defaults for absent RINs. The sixth is fetched
    // too, but no range selects it.
    enum { defaultRecordCount = 6 };
    static const LONG s_defaultIds[defaultRecordCount];

    // Name of the table's source file in the data folder.
    static const char s_szRomLinkFile[];

    CRomLinkTable();
    virtual ~CRomLinkTable();
    CRomLinkTable(const CRomLinkTable&) = delete;
    CRomLinkTable& operator=(const CRomLinkTable&) = delete;

    // Loads the table and fetches the default records; TRUE when ready. Throws CUserException
    // (the reader sees "cancelled") when the disc is not found or the file holds more than
    // MAX_ROMRECORDS records.
    BOOL LoadTable();
    // Frees the table; it is no longer loaded. The destructor does this too.
    void FreeTable();
    BOOL IsLoaded() const { return m_bLoaded; }

    // Builds the table from ROM_LINK.DAT of the data folder (DataDirType 11, disc 1, prompting
    // for the disc). FALSE when the file cannot be opened (after the framework's file error
    // report), cannot be read, holds no usable record, or memory runs out.
    BOOL LoadRomLinkFile();

    // Parses the text of ROM_LINK.DAT into the table (room for MAX_ROMRECORDS records, zeroed)
    // and returns the bytes of records written (records times 12). Fields are separated by any
    // run of '|', CR and LF; seven fields make a record. A record with a field that is not a
    // decimal number, a digit outside 0 to 9, a missing field (a cut last record), or an id not
    // above the one before is skipped; when any was, one ShowMessage names the file. More than
    // MAX_ROMRECORDS records: a message box and CUserException.
    static DWORD ParseRomLinkText(LPCSTR lpszText, RomLinkRecord* pTable, LPCSTR lpszFileName);

    // Copies the record of the id, or the default record of its range; FALSE (record untouched)
    // when no table is loaded or it cannot be locked.
    BOOL GetRomLink(LONG id, RomLinkRecord& record);
    // The same lookup on a table the caller has locked (from GetRomLinkTable). Zero-fills the
    // record first; always TRUE.
    BOOL FindRomLink(const RomLinkRecord* pTable, LONG id, RomLinkRecord& record) const;
    // The table's movable global memory, NULL when none is loaded.
    HGLOBAL GetRomLinkTable() const { return m_hTable; }
    // Number of records in the table.
    int GetRomLinkCount() const { return static_cast<int>(m_dwTableSize / sizeof(RomLinkRecord)); }

    // The default record that an absent id of this range gets.
    const RomLinkRecord& GetDefaultRecord(LONG id) const;

private:
    void FreeRomLinkTable();

    BOOL m_bLoaded;
    DWORD m_dwTableSize;  // bytes of records in the table
    HGLOBAL m_hTable;
    RomLinkRecord m_defaults[defaultRecordCount];
};

// The application's ROM_LINK table (the search engine's); NULL when there is none.
CRomLinkTable* GetAppRomLinkTable();
