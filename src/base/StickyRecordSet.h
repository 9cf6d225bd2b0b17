// The reader's sticky notes: every note of the user, kept in one set that the application
// object owns, loaded from "sticky.nte" when the set is made and written back when it is
// deleted (at exit). The folder is the profile's "SNL" of the product section, else the program
// folder. The file is the framework's archive of an object array of CStickyNote.
#pragma once

#include <afxcoll.h>
#include <afxwin.h>

// One note: its title and text, the content number (RIN) of the item it belongs to, and where
// in the item it sits (four 16-bit values: section code, two further coordinates, character
// offset).
class CStickyNote : public CObject {
    DECLARE_SERIAL(CStickyNote)
public:
    CStickyNote();
    ~CStickyNote() override;

    void Serialize(CArchive& ar) override;
    // Only notes of one item are ordered: by section code, then the second, then the third
    // value.
    BOOL IsBefore(const CStickyNote& other) const;

    CString m_strSpare;  // written and read with the note, not otherwise used
    CString m_strTitle;
    CString m_strText;
    LONG m_nKey = 0;
    BOOL m_bPlaced = FALSE;
    WORD* m_pPosition;  // four values, owned
};

class CStickyRecordSet : public CObArray {
    DECLARE_SERIAL(CStickyRecordSet)
public:
    // Locates the file and loads it; a missing file is created holding an empty set.
    CStickyRecordSet();
    // Locates the file again, writes the set into it and deletes every note, last first.
    ~CStickyRecordSet() override;

    // The first note of the item, or NULL; remembered as the note found last.
    CStickyNote* FindNote(LONG nKey);
    CStickyNote* GetNote(INT_PTR nIndex) const { return static_cast<CStickyNote*>(GetAt(nIndex)); }
    const CString& GetPath() const { return m_strPath; }

    // The file's path: the "SNL" folder (default the program folder) + "sticky.nte".
    static CString LocateFile();

private:
    void Load();
    void Save();
    // Writes the set to the file, made anew; archive errors are swallowed, a file that cannot
    // be made is reported when bReportOpenFailure.
    void WriteNotesFile(BOOL bReportOpenFailure);
    // Writes the set into the open file (m_file); archive errors pass on.
    void WriteSet();

    CString m_strSpare;
    CFile m_file;
    CString m_strPath;
    CStickyNote* m_pFound = NULL;
};
