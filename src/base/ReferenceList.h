// Lists of content references. Search results, the members of a media set, the entries under a
// topic and every other collection of items travel as a CReferenceList: an ordered list that
// owns its references. Its operations clone references rather than share them: every list
// deletes what it holds, and a reference is never in two lists.
//
// CVLList is the framework's object list with one built-in cursor, so that a list can be walked
// with GetFirst and GetNext without the caller holding a position. Every operation that walks a
// list moves that list's cursor: nobody may walk a list while another walk of it is under way.
#pragma once

#include <afxcoll.h>

class CReference;

class CVLList : public CObList {
    DECLARE_DYNAMIC(CVLList)
public:
    CVLList();

    // Adds at the tail.
    virtual void Append(CObject* pObject);

    // The head element (the cursor moves past it); NULL for an empty list.
    CObject* GetFirst();
    // The element at the cursor (the cursor moves on); NULL once the walk has passed the last
    // element, until GetFirst starts again.
    CObject* GetNext();
    using CObList::GetNext;
    // The element at a 0-based index, NULL out of range.
    CObject* GetAtIndex(int nIndex) const;
    // Removes the element at the index and deletes it; FALSE (nothing done) out of range.
    BOOL DeleteAtIndex(int nIndex);

protected:
    // Removes the node at the position, keeping the cursor off it.
    void RemoveAtPosition(POSITION position);

    POSITION m_posCursor;
};

class CReferenceList : public CVLList {
    DECLARE_DYNAMIC(CReferenceList)
public:
    CReferenceList();
    // Deletes every reference, head to tail.
    virtual ~CReferenceList();

    // Adds at the tail; the list takes the reference over.
    void Append(CReference* pReference);
    virtual void Append(CObject* pObject);

    CReference* GetAtIndex(int nIndex) const;
    CReference* GetFirstReference();
    CReference* GetNextReference();
    int GetCount() const { return CObList::GetCount(); }

    // Removes the head and hands it to the caller; NULL for an empty list.
    CReference* RemoveFirst();
    // Removes and deletes every reference.
    void DeleteAll();
    // TRUE when a reference of the list names the same item (same number).
    BOOL Contains(const CReference* pReference);

    // Each of these appends clones (CReference::Clone) to the destination, in order; a clone
    // that cannot be made is skipped. Nothing (0) for a NULL destination. The counts count the
    // matching references, not the clones made.
    void CloneInto(CReferenceList* pDest);
    // The references whose category bits meet the mask.
    int CloneCategoryInto(CReferenceList* pDest, LONG nMask);
    // The references whose kind meets the mask; with the keep-headings flag set, every heading
    // (kind 0) too, counted like a match.
    int CloneKindInto(CReferenceList* pDest, LONG nMask);
    // The references whose kind meets the mask, each preceded by the last heading before it
    // that has not been copied yet; headings are not counted, and a heading with no match after
    // it is not copied.
    int CloneKindWithHeadingsInto(CReferenceList* pDest, LONG nMask);
    // Appends clones of every reference of the first list, then of the references of the second
    // whose number the first does not hold. The inputs keep their references.
    void Merge(CReferenceList* pFirst, CReferenceList* pSecond);

    BOOL GetKeepHeadings() const { return m_bKeepHeadings; }
    void SetKeepHeadings(BOOL bKeep) { m_bKeepHeadings = bKeep; }

private:
    CReferenceList(const CReferenceList&) = delete;
    CReferenceList& operator=(const CReferenceList&) = delete;

    // Calls fn for each reference the list holds now (not those appended meanwhile), head to
    // tail; the cursor ends past the last one.
    template <class Fn>
    void ForEach(Fn fn);
    // Appends a clone of the reference when it can be made.
    static void AppendClone(CReferenceList* pDest, CReference* pReference);

    BOOL m_bKeepHeadings;
};
