// The dictionary engine: turns a word into the place of its entry in the definitions file,
// through the master index "dicmstr.ndx" (read whole for each look-up) and the main index
// "dicmain.ndx" (read a run of 512-byte blocks at a time). The application object makes the one
// engine at start-up and, at exit, closes its main index (when open) and deletes it.
//
// dicmstr.ndx: 6-byte entries, one per block of the main index: a shared count p (how many
// leading characters the entry takes over from the entry before; at most 195) and the next five
// characters, NUL-padded. Entry i's text is the leading part of the last word of block i.
// dicmain.ndx: 512-byte blocks of entries (u32 little-endian definitions offset, length L, the
// upper-case word of L letters and digits, NUL), in ascending byte order; a length of 0 or fewer
// than 5 bytes left ends a block.
//
// A look-up strips one English suffix when the word itself is missing (BERRIES, BERRIE, BERRY;
// BOXES, BOX; CATS, CAT, CATS) and answers the nearest word when nothing matches exactly.
#pragma once

#include <afx.h>

class CDictionarySearchEngine : public CObject {
public:
    // The main index's block size, the most bytes one pass reads, the longest key.
    enum { kBlockSize = 512, kMaxRead = 65500, kMaxKey = 59, kMaxMasterText = 200, kMaxShared = 195 };
    // What StripSuffix did.
    enum { kNoSuffix = 0, kSuffixIE = 1, kSuffixOther = 2, kSuffixPlainS = 3 };

    // No files touched: both buffers and the main index file null.
    CDictionarySearchEngine();
    // Closes the main index when open and frees the master index and the block buffer.
    ~CDictionarySearchEngine() override;
    CDictionarySearchEngine(const CDictionarySearchEngine&) = delete;
    CDictionarySearchEngine& operator=(const CDictionarySearchEngine&) = delete;

    // The definitions-file offset of the word's entry, or of the nearest word. Opens what is not
    // open first; an unresolved data folder or a file that cannot be opened or read abandons with
    // the user exception (after a message, except for the data folder).
    DWORD LookUp(LPCSTR lpszWord);

    // Closes the main index (a failure shows ">>> Error closing DICMAIN.ndx"); the file becomes
    // null and the block buffer is released. The master index is kept.
    void Close();
    // Opens the stored main-index path for reading; a failure shows "Error opening
    // dictionary_ndx_file". FALSE when no path is known or the open failed.
    BOOL Reopen();
    // The main index is open (the application closes it at exit only then).
    BOOL IsIndexOpen() const { return m_pMainIndex != NULL; }
    const CString& GetMainIndexPath() const { return m_strMainIndexPath; }
    // Sets the main-index path (the data folder + "dicmain.ndx"), as the first look-up does.
    void SetMainIndexPath(LPCSTR lpszPath) { m_strMainIndexPath = lpszPath; }

    // 2: a look-up that finds no exact match answers 0 (and keeps the master index loaded for the
    // next one); anything else answers the nearest word. Nothing in the program sets it.
    BYTE m_nLookUpMode = 0;

    // The steps of a look-up, open for tests.
    // Upper-cases a-z and drops every character that is not an ASCII letter or digit.
    static void KeepLettersAndDigits(char* pszWord);
    // Strips one suffix in place (IES -> IE, [SXZ|CH|SH]ES -> -ES, ES -> E, S, ED, ING, ER, EST);
    // the kind of rule applied.
    static int StripSuffix(char* pszWord);
    // -1, 0 or 1: the word against master entry i (0 when the entry's stored text is a prefix
    // of the word, or when the word is the whole first word of the text).
    int CompareMasterEntry(const char* pszWord, int nEntry) const;
    // The blocks of the last pass: the first and the last read.
    int GetFirstBlock() const { return m_nFirstBlock; }
    int GetLastBlock() const { return m_nLastBlock; }

private:
    void OpenIndexes();
    // Drops the master index (the engine is again without one).
    void FreeMasterIndex();
    void FindBlockRange(const char* pszWord);
    void ReadBlocks();
    BOOL NextEntry();
    // Whether a whole entry (head, word and NUL) lies at that offset of the buffer, inside its
    // block and inside the bytes read.
    BOOL EntryFitsAt(int nBufferOffset, int nOffsetInBlock) const;
    // Closes the main index and frees the block buffer; a close failure is shown when bReport.
    void CloseMainIndex(BOOL bReport);

    BYTE* m_pBlocks = NULL;
    char m_szKey[kMaxKey + 1] = {};
    CString m_strMainIndexPath;
    int m_nFirstBlock = 0;
    int m_nLastBlock = 0;
    int m_nLastMasterEntry = -1;
    int m_nBlockCount = 0;
    int m_nOffsetInBlock = 0;
    int m_nBlockIndex = 0;
    int m_nBytesRead = 0;
    int m_nBytesWanted = 0;
    int m_nMasterLength = 0;
    BYTE* m_pCurrent = NULL;
    BYTE* m_pMasterIndex = NULL;
    CFile* m_pMainIndex = NULL;
};
