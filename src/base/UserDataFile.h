// The reader's own files, kept in the notes folder (the profile's "SNL", else the program
// folder): the highlights ("hilite.dat") and the sticky notes ("sticky.nte"). Each holds the
// framework's archive of an object array.
//
// The reader's work is what these files keep, so they are handled with care:
// - reading stops at the first damage and keeps what came before it; the damaged file is set
//   aside beside the original (its name is said in the one message about it), so that nothing
//   is ever saved over a file that failed to load;
// - an element where the array needs a new object (a null or a reference back to an object read
//   before) is damage too: one object is never held twice;
// - saving writes a temporary file and renames it over the old one: a save that fails leaves
//   the old file whole.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

class CUserDataFile {
public:
    // lpszFileName: the file's name in the notes folder. lpszOpenFailure: the first line of the
    // message about a file that cannot be opened (the error number follows). lpszCorrupted: the
    // message about a damaged file. lpszContents: what the file keeps, for the message about a
    // failed save ("highlighter marks").
    CUserDataFile(LPCSTR lpszFileName, LPCSTR lpszOpenFailure, LPCSTR lpszCorrupted, LPCSTR lpszContents);

    // The notes folder (with a trailing backslash added when missing) followed by the name.
    static CString Locate(LPCSTR lpszFileName);

    enum LoadResult {
        loadRead,     // the file was read whole
        loadCreated,  // there was none: one holding an empty array was made
        loadFailed,   // it could not be opened (said); the array stays empty
        loadDamaged,  // damaged (said): the array holds what came before the damage
    };
    // Locates the file and reads its array into set (empty on entry); every element must be a
    // new object of pClass. A missing file is made at once, holding an empty array.
    LoadResult Load(CObArray& set, CRuntimeClass* pClass);

    // Locates the file again and writes set (through its Serialize) into it by way of a
    // temporary file. FALSE, said, when it could not be written (the old file is left as it
    // was); FALSE without a word while saving is blocked.
    BOOL Save(CObArray& set);

    // Saving is blocked when a file that failed to load could not be set aside: it stays as it
    // is rather than being overwritten.
    BOOL IsSaveBlocked() const { return m_bSaveBlocked; }
    const CString& GetPath() const { return m_strPath; }
    // Where a damaged file was set aside in this run; empty when none was.
    const CString& GetBackupPath() const { return m_strBackupPath; }
    // The temporary file a save writes before renaming it over the file.
    CString GetTempPath() const { return m_strPath + ".new"; }

private:
    void ReportOpenFailure(int nCause, BOOL bKeptAsIs);
    // Moves the damaged file to the first free "<name>.damaged", "<name>.damaged2", ... beside
    // it; FALSE when that cannot be done.
    BOOL SetDamagedFileAside();
    // Reads the count and the objects, adding each to set as it is read.
    static void ReadObjects(CArchive& archive, CObArray& set, CRuntimeClass* pClass);

    CString m_strFileName;
    CString m_strOpenFailure;
    CString m_strCorrupted;
    CString m_strContents;
    CString m_strPath;
    CString m_strBackupPath;
    BOOL m_bSaveBlocked = FALSE;
};
