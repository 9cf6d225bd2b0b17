#include "base/ReferenceList.h"

#include "base/Reference.h"

// ---------------------------------------------------------------------------------------------
// CVLList

IMPLEMENT_DYNAMIC(CVLList, CObList)

CVLList::CVLList() : CObList(10), m_posCursor(NULL) {}

void CVLList::Append(CObject* pObject)
{
    AddTail(pObject);
}

CObject* CVLList::GetFirst()
{
    m_posCursor = GetHeadPosition();
    return GetNext();
}

CObject* CVLList::GetNext()
{
    if (m_posCursor == NULL)
        return NULL;
    return CObList::GetNext(m_posCursor);
}

CObject* CVLList::GetAtIndex(int nIndex) const
{
    POSITION position = FindIndex(nIndex);
    return position != NULL ? GetAt(position) : NULL;
}

BOOL CVLList::DeleteAtIndex(int nIndex)
{
    POSITION position = FindIndex(nIndex);
    if (position == NULL)
        return FALSE;
    CObject* pObject = GetAt(position);
    RemoveAtPosition(position);
    delete pObject;
    return TRUE;
}

void CVLList::RemoveAtPosition(POSITION position)
{
    // A walk under way goes on with the element after the one removed.
    if (m_posCursor == position) {
        POSITION next = position;
        CObList::GetNext(next);
        m_posCursor = next;
    }
    RemoveAt(position);
}

// ---------------------------------------------------------------------------------------------
// CReferenceList

IMPLEMENT_DYNAMIC(CReferenceList, CVLList)

CReferenceList::CReferenceList() : m_bKeepHeadings(FALSE) {}

CReferenceList::~CReferenceList()
{
    DeleteAll();
}

void CReferenceList::Append(CReference* pReference)
{
    ASSERT(pReference != NULL);
    CVLList::Append(pReference);
}

void CReferenceList::Append(CObject* pObject)
{
    ASSERT(pObject == NULL || pObject->IsKindOf(RUNTIME_CLASS(CReference)));
    CVLList::Append(pObject);
}

CReference* CReferenceList::GetAtIndex(int nIndex) const
{
    return static_cast<CReference*>(CVLList::GetAtIndex(nIndex));
}

CReference* CReferenceList::GetFirstReference()
{
    return static_cast<CReference*>(GetFirst());
}

CReference* CReferenceList::GetNextReference()
{
    return static_cast<CReference*>(GetNext());
}

CReference* CReferenceList::RemoveFirst()
{
    if (IsEmpty())
        return NULL;
    POSITION head = GetHeadPosition();
    CReference* pReference = static_cast<CReference*>(GetAt(head));
    RemoveAtPosition(head);
    return pReference;
}

void CReferenceList::DeleteAll()
{
    while (!IsEmpty())
        delete RemoveFirst();
    m_posCursor = NULL;
}

template <class Fn>
void CReferenceList::ForEach(Fn fn)
{
    // Bounded by the count at the start, so that a list may be cloned into itself; the walk keeps
    // its own position, so that fn may ask the list (Contains) on the way.
    int nLeft = GetCount();
    POSITION position = GetHeadPosition();
    while (nLeft-- > 0 && position != NULL) {
        CReference* pReference = static_cast<CReference*>(CObList::GetNext(position));
        m_posCursor = position;
        fn(pReference);
    }
    m_posCursor = NULL;
}

void CReferenceList::AppendClone(CReferenceList* pDest, CReference* pReference)
{
    CReference* pClone = pReference->Clone();
    if (pClone != NULL)
        pDest->Append(pClone);
}

BOOL CReferenceList::Contains(const CReference* pReference)
{
    // Walks with a position of its own, so that a list may be asked while it is being walked.
    POSITION position = GetHeadPosition();
    while (position != NULL) {
        CReference* pElement = static_cast<CReference*>(CObList::GetNext(position));
        if (pElement->IsSameItem(pReference)) {
            m_posCursor = position;
            return TRUE;
        }
    }
    m_posCursor = NULL;
    return FALSE;
}

void CReferenceList::CloneInto(CReferenceList* pDest)
{
    if (pDest == NULL)
        return;
    ForEach([&](CReference* pReference) { AppendClone(pDest, pReference); });
}

int CReferenceList::CloneCategoryInto(CReferenceList* pDest, LONG nMask)
{
    if (pDest == NULL)
        return 0;
    int nCount = 0;
    ForEach([&](CReference* pReference) {
        if ((pReference->GetCategory() & nMask) != 0) {
            AppendClone(pDest, pReference);
            ++nCount;
        }
    });
    return nCount;
}

int CReferenceList::CloneKindInto(CReferenceList* pDest, LONG nMask)
{
    if (pDest == NULL)
        return 0;
    int nCount = 0;
    ForEach([&](CReference* pReference) {
        const LONG nKind = pReference->GetKind();
        if ((nKind & nMask) != 0 || (m_bKeepHeadings && nKind == REFKIND_NONE)) {
            AppendClone(pDest, pReference);
            ++nCount;
        }
    });
    return nCount;
}

int CReferenceList::CloneKindWithHeadingsInto(CReferenceList* pDest, LONG nMask)
{
    if (pDest == NULL)
        return 0;
    int nCount = 0;
    CReference* pHeading = NULL;  // the last heading not copied yet
    ForEach([&](CReference* pReference) {
        const LONG nKind = pReference->GetKind();
        if (nKind == REFKIND_NONE) {
            pHeading = pReference;
        } else if ((nKind & nMask) != 0) {
            if (pHeading != NULL) {
                AppendClone(pDest, pHeading);
                pHeading = NULL;
            }
            AppendClone(pDest, pReference);
            ++nCount;
        }
    });
    return nCount;
}

void CReferenceList::Merge(CReferenceList* pFirst, CReferenceList* pSecond)
{
    CReferenceList others;
    if (pSecond != NULL)
        pSecond->ForEach([&](CReference* pReference) {
            if (pFirst == NULL || !pFirst->Contains(pReference))
                AppendClone(&others, pReference);
        });
    if (pFirst != NULL)
        pFirst->CloneInto(this);
    // The clones of the second list's references are this list's now.
    while (CReference* pReference = others.RemoveFirst())
        Append(pReference);
}
