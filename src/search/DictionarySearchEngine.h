// The dictionary engine: turns a word into the place of its entry in the definitions file,
// through the master index "dicmstr.ndx" (held in memory) and the main index "dicmain.ndx" (read
// a run of 512-byte blocks at a time). The application object makes the one engine at start-up
// and, at exit, closes its main index (when open) and deletes it.
//
// What is here: the engine's life — construction with nothing open, closing and re-opening the
// main index, and freeing the indexes. The look-up itself belongs to the dictionary pane's work.
#pragma once

#include <afx.h>

class CDictionarySearchEngine : public CObject {
public:
    // No files touched: both buffers and the main index file null.
    CDictionarySearchEngine();
    // Closes the main index when open and frees the master index and the block buffer.
    ~CDictionarySearchEngine() override;
    CDictionarySearchEngine(const CDictionarySearchEngine&) = delete;
    CDictionarySearchEngine& operator=(const CDictionarySearchEngine&) = delete;

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

private:
    // Closes the main index and frees the block buffer; a close failure is shown when bReport.
    void CloseMainIndex(BOOL bReport);

    BYTE* m_pBlocks = NULL;
    CString m_strMainIndexPath;
    BYTE* m_pMasterIndex = NULL;
    CFile* m_pMainIndex = NULL;
};
