// Topic entries of the subject index. A CTPReference is one matching subject heading: its text,
// the number of its sub-entries, the note of the media it has, where its record lies in the
// subject index, and (owned) the list of references to the articles it names. The topic engine
// fills it.
#pragma once

#include "base/Reference.h"

class CHitPosition;

class CTPReference : public CReference {
    DECLARE_DYNAMIC(CTPReference)
public:
    enum {
        maxEntryCount = 180,  // sub-entries an entry may list
        textSize = 256,       // the entry text with its terminator
        mediaNoteCount = 18,  // media-note indexes 1 to 18; 0 and above 18 are none
    };

    // Reference type REFTYPE_TOPIC, everything else zero.
    CTPReference();
    virtual ~CTPReference();

    // Takes the list over, deleting the one held before unless it is the same.
    virtual void SetSubList(CReferenceList* pList);
    virtual CReferenceList* GetSubList();
    // TRUE when the media-note index is 1 to 18.
    virtual BOOL HasMediaNote() const;
    // The empty text followed by the note of the media-note index.
    virtual CString& GetMediaNote(CString& strNote) const;

    // The base Clone of a topic entry gives a plain CReference; this one gives a topic entry with
    // its text, entry and a clone of each reference of its sub-list. NULL when it cannot be made.
    virtual CTPReference* CloneTopic();
    // CReference::Copy, then the counts, the text, the entry and its offset; when the other has
    // a sub-list, this one's (made when absent, else emptied) gets a clone of each reference.
    virtual void CopyTopic(const CTPReference& other);

    // Appends a hit to the data object, a CHitList made on first use.
    void AddHit(const CHitPosition& position);

    // Number of sub-entries (cut to maxEntryCount).
    int GetEntryCount() const { return m_abCounts[1]; }
    void SetEntryCount(int nCount);
    // The media-note index (the label index of the entry).
    int GetMediaNoteIndex() const { return m_abCounts[3]; }
    void SetMediaNoteIndex(int nIndex) { m_abCounts[3] = static_cast<BYTE>(nIndex); }
    // The first and third of the four count bytes, kept as the index gives them.
    BYTE GetCountByte(int i) const { return i >= 0 && i < 4 ? m_abCounts[i] : 0; }
    void SetCountByte(int i, BYTE b)
    {
        if (i >= 0 && i < 4)
            m_abCounts[i] = b;
    }

    // The entry text (at most 255 characters are kept).
    LPCSTR GetText() const { return m_szText; }
    void SetText(LPCSTR lpszText);
    // The entry's record in the subject index, and the offset of the text in it.
    const BYTE* GetEntry() const { return m_pEntry; }
    LONG GetTextOffset() const { return m_nTextOffset; }
    void SetEntry(const BYTE* pEntry, LONG nTextOffset)
    {
        m_pEntry = pEntry;
        m_nTextOffset = nTextOffset;
    }

    // The note of a media-note index: ", with map" and the like; empty for none.
    static LPCSTR MediaNoteText(int nIndex);

private:
    CTPReference(const CTPReference&) = delete;
    CTPReference& operator=(const CTPReference&) = delete;

    CReferenceList* m_pSubList;
    BYTE m_abCounts[4];  // [1] sub-entry count, [3] media-note index
    char m_szText[textSize];
    const BYTE* m_pEntry;
    LONG m_nTextOffset;
};
