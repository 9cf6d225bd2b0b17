// Disc files. Every CRomFile joins one process-wide chain, so that a disc change can close all of
// them in one step (ReleaseAll, remembering each file's path and position) and reopen them under
// the new drive and folder once the first disc is back (ReopenAll, each put back at its position).
// A reader that keeps a CRomFile open across a disc change does not notice it.
//
// Files of the chain are opened below the disc's "info_dat\" folder; that part of the path is what
// ReopenAll replaces with the new folder. A file whose path has no "info_dat" folder in it, or
// whose file is missing under the new folder, stays closed after ReopenAll; its owner finds it
// closed at its next read (a CFileException).
//
// The chain is not locked: disc files are used on the user-interface thread only.
#pragma once

#include <afx.h>

class CRomFile : public CStdioFile {
    // No run-time class of its own: the file reports CStdioFile's.
public:
    CRomFile();
    virtual ~CRomFile();

    // Opens in binary unless typeText is asked for; the flags are kept for reopening.
    virtual BOOL Open(LPCSTR lpszFileName, UINT nOpenFlags, CFileException* pError = NULL);
    virtual void Close();
    // While the files are released: the position remembered for the reopen.
    virtual DWORD GetPosition() const;

    // Reading a file that is closed (by a release, or a failed reopen) throws a CFileException.
    virtual UINT Read(void* lpBuf, UINT nCount);
    virtual LPSTR ReadString(LPSTR lpsz, UINT nMax);
    virtual BOOL ReadString(CString& rString);
    virtual LONG Seek(LONG lOff, UINT nFrom);

    // Closes every open file of the chain, remembering path and position. Nothing when released.
    static void PASCAL ReleaseAll();
    // Reopens the released files under lpszInfoDatFolder (the new disc's "info_dat\" folder, with
    // its trailing backslash) at their positions. Nothing unless released.
    static void PASCAL ReopenAll(LPCSTR lpszInfoDatFolder);
    static BOOL PASCAL IsReleased() { return s_bReleased; }

private:
    void ThrowIfClosed() const;

    CRomFile* m_pPrev;
    CRomFile* m_pNext;
    BOOL m_bOpen;             // opened by its owner and not closed by it since
    DWORD m_dwSavedPosition;  // while released
    CString m_strSavedPath;   // while released
    UINT m_nOpenFlags;        // of the last Open

    static CRomFile* s_pHead;  // the most recently constructed file
    static BOOL s_bReleased;
};
