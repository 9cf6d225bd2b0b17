// The definitions file "DICTDEFS.ROM" and its reader.
//
// The file: every entry of the dictionary one after another, then the byte 0x1A. An entry is a
// run of lines ending in LF; its first line starts with the entry mark 0xBD and the headword, its
// last line starts with 0xCA (the rest of that line is ignored). Bytes 0xB3 to 0xDA are codes:
// 0xB3, 0xB5, 0xBB bold; 0xB6, 0xB7, 0xB8 italic; the other codes up to 0xBC regular; 0xBF ends
// the headword. 0xFF is a space. Every value of the main index is the offset of an entry's 0xBD.
//
// CDictionaryDoc reads it through one 81,920-byte window that slides over the file forward and
// backward: a refill starts 20,480 bytes before the wanted offset when reading forward and 61,440
// bytes before it when reading backward. It hands out the lines of an entry (definitions pane),
// one headword line per entry (word list) and the headword at a proportional place (scroll
// bars). The reading state lives in the one document the dictionary pane owns; it survives
// closing the file, so that Reopen returns to the entry last read.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

// The raw lines of the entry read last, and every line read since the pane last started afresh.
class CDictionaryEntry : public CObject {
public:
    CStringArray m_lines;
    CStringArray m_accumulated;
};

// The headword lines of the word list (the line read last).
class CDictionaryLines : public CObject {
public:
    CStringArray m_lines;
};

class CDictionaryDoc : public CObject {
public:
    enum {
        kBufferSize = 81920,
        kForwardLead = 20480,
        kBackwardLead = 61440,
        kMaxLine = 2047,
        kMaxHeading = 99,
        kMaxHeadword = 79,
    };
    enum { kEntryMark = 0xBD, kEntryEnd = 0xCA, kHeadwordEnd = 0xBF, kEndOfData = 0x1A };

    // Members null, then Open.
    CDictionaryDoc();
    // Deletes the entry and word-list objects and closes the file.
    ~CDictionaryDoc() override;
    CDictionaryDoc(const CDictionaryDoc&) = delete;
    CDictionaryDoc& operator=(const CDictionaryDoc&) = delete;

    // Resolves the dictionary's data folder (an unresolved folder abandons with the user
    // exception) and opens "DICTDEFS.ROM" there unless a file is open; an open failure shows
    // ">>> Error opening dict_definition_file" and FALSE comes back (the reader then finds no data).
    BOOL Open();
    // Opens the stored path again and positions at the stored entry start.
    BOOL Reopen();
    // Closes the file (a failure shows ">>> Error closing dict_definition_file : DICTDEFS.rom")
    // and releases the buffer.
    void Close();
    BOOL IsOpen() const { return m_nHandle > 0; }
    const CString& GetPath() const { return m_strPath; }

    // Fills the window from the offset (seek failure: ">>> Error seeking dict_definition_file";
    // nothing read: ">>> Error reading dict_definition_file"); the reader stands on its first byte.
    void ReadAt(__int64 llOffset);
    // Puts the reader on the offset, refilling the window when the offset lies outside it.
    void Position(__int64 llOffset);
    // One byte forward (refilling sequentially at the window's end), or end reached on 0x1A or
    // after the last byte.
    void Next();
    // One byte back (refilling before the window's start); FALSE at the file's first byte.
    BOOL Back();
    // Next up to LF or the end, then once more.
    void SkipLine();
    // Back to the 0xBD of the entry before the entry start; entry start = its offset.
    void FindPreviousEntry();

    // The lines of the next entry (bBackward: of the entry before the entry start, which
    // becomes the new entry start, the reader then returning to where forward reading goes on).
    // NULL when the entry object cannot be made.
    CDictionaryEntry* ReadEntryLines(BOOL bBackward);
    // The headword line of the next entry (or, bBackward, of the entry before the entry start).
    CDictionaryLines* ReadWordListLine(BOOL bBackward);
    // Puts the reader at nPosition / nRange of the file (500 bytes before the end when they are
    // equal) and takes the next entry's headword into the heading; at end when there is none.
    void SeekProportional(int nPosition, int nRange);
    // Copies the headword of the first line at or after nTop that starts with 0xBD (else of the
    // first such line before it) into the heading; the heading stays when there is none.
    // bWordList: "(" ends the headword too.
    void FindHeading(const CStringArray& lines, int nTop, BOOL bWordList);
    // The headword of a line that starts with 0xBD (style codes at positions 1 and 2 skipped;
    // a comma, 0xBF, a later style code or, for the word list, "(" ends it).
    static CString HeadwordOf(const CString& strLine, BOOL bWordList);

    // Reading state.
    __int64 GetFileLength() const { return m_llFileLength; }
    __int64 GetBufferOffset() const { return m_llBufferOffset; }
    __int64 GetCurrentOffset() const { return m_llBufferOffset + m_nCurrent; }
    int GetBytesInBuffer() const { return m_nBytes; }
    // The byte under the reader (0x1A past the data).
    BYTE Current() const;
    BOOL IsEndReached() const { return m_bEndReached; }
    BOOL IsAtEnd() const { return m_bAtEnd; }
    void SetAtEnd(BOOL bAtEnd) { m_bAtEnd = bAtEnd; }
    BOOL IsBackward() const { return m_bBackward; }
    void SetBackward(BOOL bBackward) { m_bBackward = bBackward; }
    __int64 GetEntryStart() const { return m_llEntryStart; }
    // Where the current entry lies on a scroll bar of 0..nRange: in proportion to its place in
    // the file, nRange within the file's last 500 bytes (or for an empty file).
    int ScrollPosition(int nRange) const
    {
        if (m_llFileLength <= 0 || m_llFileLength - m_llEntryStart < 501)
            return nRange;
        return static_cast<int>(m_llEntryStart * nRange / m_llFileLength);
    }
    void SetEntryStart(__int64 llOffset) { m_llEntryStart = llOffset; }
    const CString& GetHeading() const { return m_strHeading; }
    void SetHeading(LPCSTR lpszHeading);
    // Lines of the entries read next go into the accumulated list at the index, counting up.
    void SetInsertMode(BOOL bInsert, int nIndex = 0)
    {
        m_bInsertMode = bInsert;
        m_nInsertIndex = nIndex;
    }
    CDictionaryEntry* GetEntry() const { return m_pEntry; }
    CDictionaryLines* GetWordListLines() const { return m_pWordListLines; }
    // The pane's layout begins with the file's first entry and the window at offset 0.
    BOOL IsAtFirstEntry() const { return m_llEntryStart == 0 && m_llBufferOffset == 0; }

private:
    // Collects the bytes from the reader up to LF, 0x1A or the end (and, bHeadword, a comma or
    // 0xBF), at most kMaxLine of them; the reader stands on the byte that ended the line.
    CString CollectLine(BOOL bHeadword);
    void AddEntryLine(const CString& strLine);
    // Allocates the window when the file is open.
    void AllocateBuffer();

    CDictionaryEntry* m_pEntry = NULL;
    CDictionaryLines* m_pWordListLines = NULL;
    CString m_strPath;

    int m_nHandle = 0;
    __int64 m_llFileLength = 0;
    BYTE* m_pBuffer = NULL;
    __int64 m_llBufferOffset = 0;
    int m_nBytes = 0;
    int m_nCurrent = 0;
    BOOL m_bEndReached = FALSE;
    BOOL m_bAtEnd = FALSE;
    BOOL m_bBackward = FALSE;
    __int64 m_llEntryStart = 0;
    CString m_strHeading;
    BOOL m_bInsertMode = FALSE;
    int m_nInsertIndex = 0;
};
