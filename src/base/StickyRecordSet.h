// The reader's sticky notes: every note of the user, kept in one set that the application
// object owns, loaded from "sticky.nte" in the notes folder when the set is made. The file is the
// framework's archive of an object array of CStickyNote. The note window saves the set after
// every note placed, changed or deleted (a crash loses nothing that was saved), and the set is
// saved once more when it is deleted at exit. How damaged files and failed saves are met:
// CUserDataFile.
#pragma once

#include "base/UserDataFile.h"

#include <afxcoll.h>
#include <afxwin.h>

// Where a note sits in its item: four 16-bit values (section code, two further co-ordinates,
// character offset), exchanged as 8-byte blocks.
class CStickyPosition : public CObject {
    DECLARE_DYNAMIC(CStickyPosition)
public:
    CStickyPosition() = default;
    explicit CStickyPosition(WORD wSection) { m_wData[0] = wSection; }
    CStickyPosition(WORD wSection, WORD wSecond, WORD wThird, WORD wOffset);

    BOOL operator==(const CStickyPosition& other) const;
    // Copies four values from the array.
    void SetData(const WORD* pData);
    // A new 8-byte copy of the four values; the caller frees it (delete[]).
    WORD* CopyData() const;
    WORD GetAt(int i) const { return m_wData[i]; }
    void SetAt(int i, WORD wValue) { m_wData[i] = wValue; }

private:
    WORD m_wData[4] = {0, 0, 0, 0};
};

// One note: its title and text, the content number (RIN) of the item it belongs to, and where
// in the item it sits.
class CStickyNote : public CObject {
    DECLARE_SERIAL(CStickyNote)
public:
    CStickyNote();
    ~CStickyNote() override;

    // Title, text, spare text, key, the four position values.
    void Serialize(CArchive& ar) override;
    // Only notes of one item are ordered: by section code, then the second, then the third
    // value.
    BOOL IsBefore(const CStickyNote& other) const;
    // Whether the position equals the four values of the block.
    BOOL IsAt(const WORD* pPosition) const;

    CString m_strSpare;  // written and read with the note, not otherwise used
    CString m_strTitle;
    CString m_strText;
    LONG m_nKey = 0;
    BOOL m_bPlaced = FALSE;  // in the set (read from the file, or placed from the dialog)
    WORD* m_pPosition;       // four values, owned
};

class CStickyRecordSet : public CObArray {
    DECLARE_SERIAL(CStickyRecordSet)
public:
    // Locates the file and loads it; a missing file is created holding an empty set. A damaged
    // file is set aside (said once) and the notes read before the damage are written back.
    CStickyRecordSet();
    // Saves the set and deletes every note, last first.
    ~CStickyRecordSet() override;

    // The first note of the item, or NULL; remembered as the note found last.
    CStickyNote* FindNote(LONG nKey);
    CStickyNote* GetNote(INT_PTR nIndex) const { return static_cast<CStickyNote*>(GetAt(nIndex)); }
    // The index of the note in the set, -1 when it is not there.
    INT_PTR IndexOf(const CStickyNote* pNote) const;
    const CString& GetPath() const { return m_file.GetPath(); }
    const CUserDataFile& GetFile() const { return m_file; }

    // Writes the set into the file. FALSE (said) when it could not be written: the file keeps
    // what it held.
    BOOL Save();

    // The file's path: the "SNL" folder (default the program folder) + "sticky.nte".
    static CString LocateFile() { return CUserDataFile::Locate("sticky.nte"); }

private:
    CString m_strSpare;
    CUserDataFile m_file;
    CStickyNote* m_pFound = NULL;
};
