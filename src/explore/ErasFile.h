// The eras of the Dido Dovov: "ERASORT.dat" in the disc's data folder, read once by the time
// machine. 8-bit text with CR LF line ends:
//   [Era title]            a header: the title between the brackets (text after the ']' up to
//                          the end of its line is ignored)
//   12345|Item title       an item of that era: its content number, a bar, the title shown
// Nothing else is recognised.
//
// In memory: the eras table, one entry per '[' of the file, each with its title and its first
// and last item slot; the item table, 125 slots per '[' of the file, each a title and a number.
// A header takes a slot of its own (empty title, number 0) which its era's first item line then
// fills; so every era after the first leaves one slot between its predecessor's last item and its
// own first, and an era with no item line covers one empty slot. Slots with number 0 are not
// items: they never become references.
//
// Limits: the file is read up to its 65,535th byte; a header title, an item number or an item
// title holds at most 351 characters; the item slots are 125 per era, counted over the file. The
// parser stops at the first limit it meets and keeps what it read before it.
#pragma once

#include <afx.h>

#include <vector>

class CReferenceList;

#define ERAS_FILE_NAME "ERASORT.dat"
#define ERAS_MAX_FILE 65535
#define ERAS_MAX_FIELD 351
#define ERAS_SLOTS_PER_ERA 125

struct ERA_ENTRY {
    CString strTitle;
    LONG nFirst = 0;  // item slots, first and last
    LONG nLast = 0;
};

struct ERA_ITEM {
    CString strTitle;
    LONG nNumber = 0;
};

class CErasFile {
public:
    // What stopped the parser before the end of the file.
    enum Limit { limitNone = 0, limitFileSize, limitField, limitSlots };

    CErasFile();

    // Reads "ERASORT.dat" from the data folder of kind 11. Throws CUserException (nothing to
    // report) when the folder cannot be found, CFileException when the file cannot be opened or
    // read in full. The tables are emptied first.
    void Read();
    // Read, with its failures handled: a file exception's own message is shown once; FALSE after
    // any failure, the tables empty.
    BOOL Load();
    // Parses the bytes of a file (only the first ERAS_MAX_FILE of them).
    void Parse(const char* pData, UINT nLength);

    int GetEraCount() const { return static_cast<int>(m_eras.size()); }
    // Era k (1-based); NULL outside 1..count.
    const ERA_ENTRY* GetEra(int nEra) const;
    // The title of era k as the time machine shows it on two lines: up to and including the first
    // ':', a line feed, the rest; unchanged without a ':'. Empty outside 1..count.
    CString GetTwoLineTitle(int nEra) const;
    int GetSlotCount() const { return static_cast<int>(m_items.size()); }
    // Item slot i (0-based); NULL outside the table.
    const ERA_ITEM* GetSlot(int nSlot) const;
    // Appends a new reference (number, titled with the item's title) for every slot of era k
    // from its first to its last whose number is not 0; returns how many.
    int AppendEraItems(int nEra, CReferenceList* pList) const;
    Limit GetLimitMet() const { return m_limit; }

private:
    std::vector<ERA_ENTRY> m_eras;
    std::vector<ERA_ITEM> m_items;
    Limit m_limit;
};
