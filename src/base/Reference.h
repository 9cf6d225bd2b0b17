// Content references. A CReference is the program's handle on one content item: its RIN, its
// title, where its data lives (disc, kind of data folder, archive location or file name), its
// kind, and an optional owned object that carries search hits (a CHitList). Search results,
// history entries, links inside articles, media lists and automation requests all pass
// references between views; the frame routes a reference to the view that shows its kind.
//
// A reference made from a bare RIN is placed through the search engine's ROM_LINK table. The
// references of the online service, mini articles and the subject index are subclasses (in
// OnlineReference.h and TPReference.h; keyword hits in search/KWReference.h); the factory that
// makes the right one from a RIN is in ReferenceFactory.h.
#pragma once

#include <afx.h>

class CReferenceList;
struct RomLinkRecord;

// Kind bits: exactly one names the kind of the item; 0 is a heading of a result list.
enum : LONG {
    REFKIND_NONE = 0,
    REFKIND_ARTICLE = 0x100,           // in the archive vl.dat
    REFKIND_ANIMATION = 0x200,         // AM%06ld.mov in the movies folder (kind 4)
    REFKIND_VIDEO = 0x400,             // VD%06ld.mov in the movies folder
    REFKIND_PICTURE = 0x800,           // in the archive vl.dat
    REFKIND_SOUND = 0x1000,            // AU%06ld.mov in the sound folder
    REFKIND_SIMULATION = 0x2000,       // si%06ld.dll in the simulations folder
    REFKIND_MAP = 0x4000,              // in the archive vl.dat
    REFKIND_VIRTUALREALITY = 0x8000,   // QR%06ld.mov in the movies folder
    REFKIND_ONLINESOUND = 0x10000,     // AU%06ld.mov in the sound folder
    REFKIND_ARTICLE2 = 0x20000,        // in the archive vl.dat
    REFKIND_NOFILE = 0x40000,          // an item without a file of its own
    REFKIND_MINIARTICLE = 0x80000,     // no file
    REFKIND_BUBBLE = 0x100000,         // Bu%06ld.bub in the photo folder
    REFKIND_TIMELINE = 0x200000,       // no file
};

// The media kinds that a media set takes together.
const LONG REFKIND_ALLMEDIA = REFKIND_ANIMATION | REFKIND_VIDEO | REFKIND_PICTURE | REFKIND_SOUND |
                              REFKIND_SIMULATION | REFKIND_VIRTUALREALITY | REFKIND_ONLINESOUND |
                              REFKIND_BUBBLE;

// Reference types (set by the constructor of each class).
enum : LONG {
    REFTYPE_KEYWORD = 0,  // CKWReference
    REFTYPE_TOPIC = 1,    // CTPReference
    REFTYPE_PLAIN = 3,    // CReference and the other subclasses
};

// Entry codes: how a result list shows the reference.
enum : LONG {
    REFENTRY_HEADING = 0,   // a heading row (the value at construction)
    REFENTRY_UNPLACED = 2,  // an index entry whose number is 0 or absent from the content index
    REFENTRY_RESULT = 3,    // an entry of a result list
};

// The data-folder kind of items without a folder: GetDataDir knows no such kind and fails.
const int DDT_NO_FOLDER = 15;

// The icon-group resource that result lists show for a kind; 0 for none (articles included).
UINT GetReferenceKindIconId(LONG nKind);

class CReference : public CObject {
    DECLARE_DYNAMIC(CReference)
public:
    // Unplaced: number 0, kind 0, disc 1.
    CReference();
    // Placed through the application's search engine: the ROM_LINK record of the number (or the
    // default record of its range, which keeps its own number) gives number, category, kind,
    // location, disc and picture flag. With no engine or no table the reference stays unplaced.
    CReference(LONG nNumber, LPCSTR lpszTitle);
    CReference(const CReference& other);
    virtual ~CReference();

    // Topic entries only: the list of the entry's references. The base does nothing / NULL.
    virtual void SetSubList(CReferenceList* pList);
    virtual CReferenceList* GetSubList();
    // TRUE when the other names the same number.
    virtual BOOL IsSameItem(const CReference* pOther) const;
    // Topic entries only: the note of the media the entry has (", with map" ...).
    virtual BOOL HasMediaNote() const;
    virtual CString& GetMediaNote(CString& strNote) const;
    virtual int GetDisc() const;
    // The item's file: its data folder followed by "vl.dat" for the archive kinds or the file
    // name of its kind, printed with (number mod 10,000). The empty text when the folder cannot
    // be had. Throws CNotSupportedException for a kind outside the table.
    virtual CString GetFilePath();
    // The kind of data folder that holds the item. Throws CNotSupportedException for a kind
    // outside the table.
    virtual int GetDataDirType() const;
    // The item's data folder through GetDataDir (prompting for the disc when bPrompt is set);
    // FALSE with an empty folder when it cannot be had.
    virtual BOOL GetDataFolder(CString& strFolder, BOOL bPrompt);
    virtual BOOL IsFileAvailable();
    // Link text = "vl:" followed by the number in decimal.
    virtual void MakeLinkText();
    // A new plain CReference with the base members of this one (subclasses included); NULL when
    // it cannot be made. The caller owns it.
    virtual CReference* Clone();
    // Assignment of the base members; the hits are copied into a new CHitList.
    virtual void Copy(const CReference& other);

    CReference& operator=(const CReference& other)
    {
        Copy(other);
        return *this;
    }

    const CString& GetTitle() const { return m_strTitle; }
    void SetTitle(LPCSTR lpszTitle) { m_strTitle = lpszTitle != NULL ? lpszTitle : ""; }
    void SetTitle(const CString& strTitle) { m_strTitle = strTitle; }
    // Zeroes nSize bytes of the buffer, then copies the title with its terminator only when it
    // fits (its length below nSize).
    void CopyTitle(LPSTR lpszBuffer, int nSize) const;

    LONG GetNumber() const { return m_nNumber; }
    void SetNumber(LONG nNumber) { m_nNumber = nNumber; }
    LONG GetKind() const { return m_nKind; }
    void SetKind(LONG nKind) { m_nKind = nKind; }
    LONG GetCategory() const { return m_nCategory; }
    void SetCategory(LONG nCategory) { m_nCategory = nCategory; }
    LONG GetRefType() const { return m_nRefType; }
    LONG GetEntryCode() const { return m_nEntryCode; }
    void SetEntryCode(LONG nEntryCode) { m_nEntryCode = nEntryCode; }

    // Number and place in the archive.
    void SetLocation(LONG nNumber, LONG nBlock, LONG nBlockCount);
    LONG GetBlock() const { return m_nBlock; }
    LONG GetBlockCount() const { return m_nBlockCount; }
    void SetDisc(int nDisc) { m_nDisc = nDisc; }
    // Stores TRUE (all bits set) for any non-zero value.
    void SetPictureFlag(LONG nValue) { m_nPictureFlag = nValue != 0 ? -1 : 0; }
    LONG GetPictureFlag() const { return m_nPictureFlag; }
    // The picture loader's link: the number of the item to show in place of this one, as the
    // picture's header gives it (stored as it is).
    void SetPictureLink(LONG nValue) { m_nPictureFlag = nValue; }
    // Number, category, kind, location, disc and picture flag from a ROM_LINK record.
    void SetFromRomLink(const RomLinkRecord& record);

    const CString& GetLinkText() const { return m_strLinkText; }
    void SetLinkText(LPCSTR lpszLinkText) { m_strLinkText = lpszLinkText != NULL ? lpszLinkText : ""; }

    // The owned data object (a CHitList for search results and links), or NULL.
    CObject* GetData() const { return m_pData; }
    // Deletes the object held before unless it is the same one, then holds the new one.
    void SetData(CObject* pData);

protected:
    // Reference type of the subclasses.
    explicit CReference(LONG nRefType);

private:
    CString m_strTitle;
    LONG m_nRefType;
    LONG m_nEntryCode;
    LONG m_nCategory;
    LONG m_nKind;
    LONG m_nNumber;
    LONG m_nBlock;       // first 512-byte block of the record in vl.dat (signed 24-bit)
    LONG m_nBlockCount;  // blocks of the record (signed 8-bit)
    CString m_strLinkText;
    CObject* m_pData;
    LONG m_nDisc;
    LONG m_nPictureFlag;
};
