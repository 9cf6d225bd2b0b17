// CVLVirtualData: the list data provider over a sorted text data file (place names, the browsing
// view's show list ...). It never reads the whole file into memory: an index file beside it holds
// one line per block of 100 entries, and at most 100 consecutive entries are loaded at a time,
// their titles kept back to back in one growing global memory block.
//
// The data file has one entry per line, sorted by title in ascending order with case ignored
// (CString::CompareNoCase); lines hold at most 132 characters (the rest of a longer line is cut
// off). Its line layout belongs to the subclass, which reads one entry with ReadEntry (through
// ReadDataLine, which drops the line end, so titles carry none) and splits the line with
// ParseLine.
//
// The index file (lines end in CR LF):
//   line 1      the number of entries, decimal
//   line k + 2  the block line of entry 100 k: the entry's line position (byte offset) in the
//               data file, one blank, and the first four characters of its title (padded with
//               blanks)
// An index that does not match its data file (missing, damaged, stale) is rebuilt and written
// again. A data file line that does not parse is reported once ("The list file %s is damaged.")
// and ends the list there.
#pragma once

#include "widgets/BaseListData.h"
#include "widgets/ListTitleBlock.h"

#include <afx.h>

#include <vector>

class CVLVirtualData : public CBaseListData {
    DECLARE_DYNAMIC(CVLVirtualData)
public:
    enum {
        kWindowCapacity = 100,  // entries loaded at once, and entries per index block
        kMaxLine = 132,         // characters of a data or index line that are read
        kKeyLength = 4          // characters of a block key
    };

    // One loaded entry. In list mode the reader's three values ride along with the identifier;
    // in tree mode also its two extra strings.
    struct VLLISTENTRY {
        long nId = 0;
        long nValues[3] = {0, 0, 0};
        CString strTitle;
        long nTitleOffset = 0;  // of the title's copy in the title block
        long nPosition = 0;     // byte offset of the entry's line in the data file
    };
    struct VLTREEENTRY : VLLISTENTRY {
        CString strSecond;
        CString strThird;
    };

    // bTreeMode keeps the reader's second and third strings with every entry.
    explicit CVLVirtualData(BOOL bTreeMode = FALSE);
    virtual ~CVLVirtualData();

    // Opens the data file (read-only text, every kind of sharing allowed). TRUE when open.
    BOOL OpenDataFile(LPCSTR lpszFileName);
    BOOL OpenFirstFile(LPCSTR lpszFileName) { return OpenDataFile(lpszFileName); }
    // Reads the index file (after OpenDataFile). An index that is missing or does not match the
    // data file is built from the data file and written (a failure to write it only means it is
    // built again next time). FALSE when the data file is not open or is damaged (after the
    // message).
    BOOL Open(LPCSTR lpszIndexName);
    // Lets go of both files, keeping the data file's read position; Reopen opens them again and
    // goes back to that position. Reopen gives FALSE when the data file cannot be opened.
    void Close();
    BOOL Reopen();

    long GetCount() override { return m_nTotalCount; }
    BOOL GetItem(TVITEM* pItem) override;
    long GetItemData(long nRow) override;
    long EnsureLoaded(long nRow) override;
    long FindTitle(LPCSTR lpszTitle) override;

    // Copies the whole entry of a 1-based row (loading it) and returns its identifier; 0 when
    // there is no such row.
    long GetListEntry(long nRow, VLLISTENTRY& entry);
    long GetTreeEntry(long nRow, VLTREEENTRY& entry);

    // Loads the window that starts at a 1-based row (up to 100 entries); the number loaded.
    long LoadBlock(long nRow);
    // Writes a new index file for the data file (read from its start). FALSE when the data file
    // is damaged; the index is still used when only writing it failed.
    virtual BOOL BuildIndexFile(LPCSTR lpszIndexName);

    // The window now loaded: its first row (1-based; 0 when nothing is loaded) and its size.
    long GetFirstLoadedRow() const { return m_nWindowCount > 0 ? m_nFirstRow + 1 : 0; }
    long GetLoadedCount() const { return m_nWindowCount; }
    // The index lines now held (without the count line), as position and key.
    struct VLBLOCKLINE {
        long nPosition;
        CString strKey;
    };
    const std::vector<VLBLOCKLINE>& GetBlockLines() const { return m_blocks; }
    // TRUE once a damaged data file line has been met.
    BOOL IsDamaged() const { return m_bDamaged; }

    // The block key of a title: its first four characters, padded with blanks.
    static CString MakeBlockKey(LPCSTR lpszTitle);

    char m_szLabel[100];  // a caption the owner may keep with the list ("Unselected" at first)

protected:
    // Reads the next entry of the data file: gives its identifier and title and, in tree mode,
    // its two extra strings, and sets the three reader values; returns the position at which its
    // line began, or -1 at the end of the file or for a line that does not parse.
    virtual long ReadEntry(int* pId, CString* pTitle, CString* pSecond, CString* pThird) = 0;
    // Splits one line into the reader's fields; TRUE when it parses.
    virtual BOOL ParseLine(LPCSTR lpszLine) = 0;

    // For readers: the next line of the data file without its line end, cut to kMaxLine
    // characters; the position at which it began, or -1 at the end of the file.
    long ReadDataLine(CString& strLine);

    long m_nReaderValues[3];  // set by ReadEntry for each entry
    CStdioFile m_fileData;

private:
    // Reads entries from a line position that starts entry nIndex (0-based), skipping nSkip of
    // them, into the window.
    long LoadFrom(long nPosition, long nIndex, long nSkip);
    // Reads the next entry into the reader's scratch; the position or -1; a line that does not
    // parse before the end of the file marks the list damaged.
    long ReadNext(int& nId, CString& strTitle, CString& strSecond, CString& strThird, BOOL bReport = TRUE);
    BOOL SeekData(long nPosition);
    BOOL ReadIndexFile();
    // TRUE when the block lines and count just read match the data file.
    BOOL IndexMatchesData();
    // The block whose window a title search starts from.
    size_t FindBlockForTitle(const CString& strTitle) const;
    // Where a title stands in the loaded window, when the window can tell: bFollowsSmaller says
    // every entry before the window sorts before the title.
    BOOL IsTitleInWindow(const CString& strTitle, long* pRow, BOOL bFollowsSmaller) const;
    void ReportDamage();
    const VLTREEENTRY* EntryOf(long nRow);

    BOOL m_bTreeMode;
    VLTREEENTRY m_window[kWindowCapacity];
    CListTitleBlock m_titles;

    long m_nFirstKey;   // line position of the window's first entry
    long m_nNextKey;    // line position after its last entry
    long m_nFirstRow;   // 0-based index of the window's first entry (9999 before the first load)
    long m_nEndRow;     // first row + window count
    long m_nWindowCount;
    long m_nTotalCount;
    BOOL m_bEnd;        // the last load stopped at the end of the data file

    std::vector<VLBLOCKLINE> m_blocks;
    long m_nKeptPosition;
    CString m_strDataName;
    CString m_strIndexName;
    BOOL m_bDataOpen;
    BOOL m_bDamaged;
    BOOL m_bDamageReported;
    BOOL m_bLastReadAtEnd;
};
