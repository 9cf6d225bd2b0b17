// Places in an article's text (search hits, link targets, highlights) and ordered lists of them.
//
// CHitPosition packs a place into one 32-bit word, the form in which the subject and keyword
// indexes store it and in which the search engines copy it into hit lists unchanged:
//   bits 0 to 7    section code (the article section; 200 and up name table 200 + n)
//   bits 8 to 24   character offset within the section (0 to 131,071)
//   bits 25 to 31  length in characters (0 to 127)
#pragma once

#include <afx.h>
#include <afxtempl.h>

class CHitPosition {
public:
    enum : DWORD {
        sectionBits = 8,
        offsetBits = 17,
        lengthBits = 7,
        sectionShift = 0,
        offsetShift = sectionBits,
        lengthShift = sectionBits + offsetBits,
        sectionMask = (1u << sectionBits) - 1,
        offsetMask = (1u << offsetBits) - 1,
        lengthMask = (1u << lengthBits) - 1,
    };

    CHitPosition() : m_dwValue(0) {}
    // Each value is cut to its field's width.
    CHitPosition(UINT nSection, UINT nOffset, UINT nLength);
    CHitPosition(const CHitPosition& other) : m_dwValue(other.m_dwValue) {}
    CHitPosition& operator=(const CHitPosition& other);
    virtual ~CHitPosition() = default;

    // The packed value as the index files store it.
    void SetValue(DWORD dwValue) { m_dwValue = dwValue; }
    DWORD GetValue() const { return m_dwValue; }

    // Each setter replaces its own field and leaves the others alone.
    void SetSection(UINT nSection);
    void SetOffset(UINT nOffset);
    void SetLength(UINT nLength);

    UINT GetSection() const { return (m_dwValue >> sectionShift) & sectionMask; }
    UINT GetOffset() const { return (m_dwValue >> offsetShift) & offsetMask; }
    UINT GetLength() const { return (m_dwValue >> lengthShift) & lengthMask; }

private:
    void SetField(UINT nValue, DWORD dwShift, DWORD dwMask);

    DWORD m_dwValue;
};

// The ordered hits found in one item, with a first/next cursor. The addresses GetFirst, GetNext
// and GetAt return point into the list: they stay valid until the next AddHit, CopyTo into this
// list or RemoveAll.
class CHitList : public CObject {
    DECLARE_DYNAMIC(CHitList)
public:
    CHitList();
    virtual ~CHitList();

    void AddHit(const CHitPosition& position);

    // Moves the cursor to the start, then as GetNext.
    CHitPosition* GetFirst();
    // The hit at the cursor (the cursor moves on), or NULL past the end.
    CHitPosition* GetNext();
    // The hit at a 0-based index, or NULL when the index is not below the count.
    CHitPosition* GetAt(UINT nIndex);

    int GetCount() const;

    // Replaces the hits of pDest with copies of this list's hits, in order.
    void CopyTo(CHitList* pDest) const;
    void RemoveAll();

private:
    typedef CArray<CHitPosition, const CHitPosition&> CHitArray;
    enum { growBy = 10 };

    CHitArray* m_pHits;  // NULL only when it could not be made
    LONG m_nCursor;
};
