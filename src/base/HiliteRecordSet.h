// The reader's highlighter marks: one record per article (keyed by its RIN), each with the list
// of its marked spans, all kept in "hilite.dat" in the notes folder. The set loads the file when
// it is made and writes it back when it is deleted; the article viewer owns it.
//
// A span's first three values (text unit, start character, length) are places in the article
// that the file keeps in 16 bits each: a mark beyond that is refused, never cut to another
// place. Its fourth value belongs to the viewer (the article's issue date): the set stores it
// as it is.
#pragma once

#include "base/UserDataFile.h"

#include <afxcoll.h>
#include <afxtempl.h>
#include <afxwin.h>

// One marked span.
class CStoredHilite : public CObject {
    DECLARE_DYNAMIC(CStoredHilite)
public:
    CStoredHilite() = default;
    CStoredHilite(DWORD dwUnit, DWORD dwOffset, DWORD dwLength, DWORD dwStyle)
        : m_dwUnit(dwUnit), m_dwOffset(dwOffset), m_dwLength(dwLength), m_dwStyle(dwStyle)
    {
    }
    CStoredHilite(const CStoredHilite& other) : CObject() { *this = other; }
    CStoredHilite& operator=(const CStoredHilite& other);

    // Equal when all four values are.
    BOOL operator==(const CStoredHilite& other) const;

    DWORD m_dwUnit = 0;    // text unit (section) of the article
    DWORD m_dwOffset = 0;  // first character within the unit
    DWORD m_dwLength = 0;  // characters after the first that the span covers
    DWORD m_dwStyle = 0;   // the viewer's own value, stored as it is
};

// An article's spans in the order they were added.
class CHiliteSpanList : public CObject {
    DECLARE_DYNAMIC(CHiliteSpanList)
public:
    CHiliteSpanList();
    ~CHiliteSpanList() override;

    // Appends a copy.
    void Add(const CStoredHilite& span);
    // The span at i, or NULL when i is not below the count. The address holds until the list
    // changes.
    CStoredHilite* GetAt(UINT i);
    // Removes one span and closes the gap; nothing when i is out of range.
    void RemoveAt(UINT i);
    UINT GetCount() const { return m_nCount; }
    void RemoveAll();

private:
    CArray<CStoredHilite, const CStoredHilite&> m_spans;
    UINT m_nCount = 0;
};

// One article's marks.
class CHiliteRecord : public CObject {
    DECLARE_SERIAL(CHiliteRecord)
public:
    CHiliteRecord();
    explicit CHiliteRecord(LONG nKey);
    ~CHiliteRecord() override;

    // Key, span count, then each span's four 32-bit values.
    void Serialize(CArchive& ar) override;

    LONG m_nKey = 0;
    WORD m_wSpanCount = 0;
    CHiliteSpanList* m_pSpans;
};

class CHiliteRecordSet : public CObArray {
    DECLARE_SERIAL(CHiliteRecordSet)
public:
    // The most spans one article can keep (the file counts them in 16 bits), and the largest
    // unit, start and length a span can have.
    enum { maxSpans = 0xFFFF, maxPlace = 0xFFFF };

    // Locates the file and loads it (a missing file is made, holding an empty set).
    CHiliteRecordSet();
    // Saves the set and deletes every record, last first.
    ~CHiliteRecordSet() override;

    // The span list of the article's record; a record with an empty list is added when there
    // is none. The list belongs to the set.
    CHiliteSpanList* GetSpanList(LONG nKey);
    // The first record with the key, or NULL.
    CHiliteRecord* FindRecord(LONG nKey);
    CHiliteRecord* GetRecord(INT_PTR nIndex) const { return static_cast<CHiliteRecord*>(GetAt(nIndex)); }
    // Appends a span to the article's record (made by GetSpanList first); FALSE when there is no
    // record. A unit, start or length above maxPlace, or a record already holding maxSpans
    // spans, is refused with a message (FALSE).
    BOOL AddHilite(LONG nKey, DWORD dwUnit, DWORD dwOffset, DWORD dwLength, DWORD dwStyle);
    // Removes the first span of the article equal to the given one.
    void RemoveHilite(LONG nKey, const CStoredHilite& span);
    // Removes and deletes the first record with the key.
    void RemoveRecord(LONG nKey);
    // Deletes every record, last first.
    void RemoveAll();

    // Drops the records without spans, then writes the file. FALSE (said) when it could not be
    // written; the file then keeps what it held.
    BOOL Save();

    const CUserDataFile& GetFile() const { return m_file; }
    static CString LocateFile() { return CUserDataFile::Locate("hilite.dat"); }

private:
    CUserDataFile m_file;
};
