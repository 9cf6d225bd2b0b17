// The class library's collection templates: CArray, CList and CMap with the helper functions
// they call (HashKey, CompareElements, SerializeElements), and the type-safe pointer wrappers
// CTypedPtrArray, CTypedPtrList and CTypedPtrMap over the pointer collections.
//
// Arrays grow by their grow-by count (0: a share of the current size between 4 and 1024
// elements); lists and maps take their nodes from blocks of nBlockSize nodes that are given back
// when the collection becomes empty. A POSITION stays valid until its own element is removed, so
// an element may be removed right after GetNext/GetNextAssoc returned it. A bad index throws
// CInvalidArgException.
#pragma once

#include <windef.h>

#include <mfc/Exception.h>
#include <mfc/Object.h>
#include <mfc/String.h>

#include <cstddef>
#include <new>
#include <type_traits>
#include <utility>

struct AFX_POSITION {};
typedef AFX_POSITION* POSITION;
#define BEFORE_START_POSITION (reinterpret_cast<POSITION>(static_cast<INT_PTR>(-1)))

// A chain of memory blocks from which lists and maps take their nodes.
struct alignas(std::max_align_t) CPlex {
    CPlex* pNext;

    void* data() { return this + 1; }
    // Adds a block for nMax elements of cbElement bytes at the head of the chain.
    static CPlex* PASCAL Create(CPlex*& pHead, UINT_PTR nMax, UINT_PTR cbElement)
    {
        CPlex* p = static_cast<CPlex*>(::operator new(sizeof(CPlex) + nMax * cbElement));
        p->pNext = pHead;
        pHead = p;
        return p;
    }
    // Frees this block and all that follow it.
    void FreeDataChain()
    {
        CPlex* p = this;
        while (p != NULL) {
            CPlex* pNextBlock = p->pNext;
            ::operator delete(p);
            p = pNextBlock;
        }
    }
};

// ---- helpers the templates call; a program may provide its own for its element types ----

template <class TYPE, class ARG_TYPE>
BOOL AFXAPI CompareElements(const TYPE* pElement1, const ARG_TYPE* pElement2)
{
    return *pElement1 == *pElement2;
}

// The hash of a map key. Numbers and pointers hash to their value divided by 16; texts with
// hash = hash * 33 + character over their (signed) characters.
template <class ARG_KEY>
UINT AFXAPI HashKey(ARG_KEY key)
{
    using Key = std::remove_cv_t<std::remove_reference_t<ARG_KEY>>;
    if constexpr (std::is_pointer_v<Key>)
        return static_cast<UINT>(reinterpret_cast<UINT_PTR>(key)) >> 4;
    else if constexpr (std::is_integral_v<Key> || std::is_enum_v<Key>)
        return static_cast<UINT>(static_cast<UINT_PTR>(key)) >> 4;
    else
        static_assert(sizeof(Key) == 0, "no HashKey for this key type: specialize HashKey");
}

UINT AFXAPI AfxHashString(LPCSTR key);
template <>
inline UINT AFXAPI HashKey<LPCSTR>(LPCSTR key)
{
    return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<LPSTR>(LPSTR key)
{
    return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<const CString&>(const CString& key)
{
    return AfxHashString(key);
}
template <>
inline UINT AFXAPI HashKey<CString>(CString key)
{
    return AfxHashString(key);
}

// Stores or loads nCount elements. By default their bytes are written as they are, which suits
// plain values; CString elements go through the archive's string format, and a program gives
// its own for element types that hold pointers or objects.
template <class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount);
void AFXAPI SerializeElements(CArchive& ar, CString* pElements, INT_PTR nCount);

namespace afx_detail {
// The archive type as a dependent name, so that templates can use it before CArchive is
// complete; every use is instantiated only where CArchive is known.
template <class T, class A = CArchive>
struct DependentArchive {
    using type = A;
};
}  // namespace afx_detail

// ---- CArray ----

template <class TYPE, class ARG_TYPE = const TYPE&>
class CArray : public CObject {
public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    CArray() = default;
    virtual ~CArray() { SetSize(0, -1); }

    int GetSize() const { return m_nSize; }
    int GetCount() const { return m_nSize; }
    BOOL IsEmpty() const { return m_nSize == 0; }
    int GetUpperBound() const { return m_nSize - 1; }

    // Changes the number of elements (new ones are value-initialised: zero for numbers and
    // pointers) and, when nGrowBy >= 0, the number of slots added when the array grows.
    void SetSize(int nNewSize, int nGrowBy = -1);
    void FreeExtra();
    void RemoveAll() { SetSize(0, -1); }

    const TYPE& GetAt(int nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& GetAt(int nIndex) { return m_pData[CheckIndex(nIndex)]; }
    void SetAt(int nIndex, ARG_TYPE newElement) { m_pData[CheckIndex(nIndex)] = newElement; }
    const TYPE& ElementAt(int nIndex) const { return m_pData[CheckIndex(nIndex)]; }
    TYPE& ElementAt(int nIndex) { return m_pData[CheckIndex(nIndex)]; }
    const TYPE& operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
    const TYPE* GetData() const { return m_pData; }
    TYPE* GetData() { return m_pData; }

    // Sets the element, growing the array when nIndex is past its end.
    void SetAtGrow(int nIndex, ARG_TYPE newElement);
    int Add(ARG_TYPE newElement)
    {
        int nIndex = m_nSize;
        SetAtGrow(nIndex, newElement);
        return nIndex;
    }
    // Adds the elements of src at the end; the index of the first one.
    int Append(const CArray& src);
    void Copy(const CArray& src);

    // Inserts nCount copies before nIndex (past the end: the array grows to take them there).
    void InsertAt(int nIndex, ARG_TYPE newElement, int nCount = 1);
    void InsertAt(int nStartIndex, CArray* pNewArray);
    void RemoveAt(int nIndex, int nCount = 1);

    virtual void Serialize(CArchive& ar);

protected:
    int CheckIndex(int nIndex) const
    {
        if (nIndex < 0 || nIndex >= m_nSize)
            AfxThrowInvalidArgException();
        return nIndex;
    }
    void Reallocate(int nNewMax);

    TYPE* m_pData = NULL;
    int m_nSize = 0;
    int m_nMaxSize = 0;
    int m_nGrowBy = 0;
};

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Reallocate(int nNewMax)
{
    TYPE* pNewData = static_cast<TYPE*>(::operator new(sizeof(TYPE) * static_cast<size_t>(nNewMax)));
    for (int i = 0; i < m_nSize; ++i) {
        ::new (static_cast<void*>(pNewData + i)) TYPE(std::move(m_pData[i]));
        m_pData[i].~TYPE();
    }
    ::operator delete(m_pData);
    m_pData = pNewData;
    m_nMaxSize = nNewMax;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetSize(int nNewSize, int nGrowBy)
{
    if (nNewSize < 0)
        AfxThrowInvalidArgException();
    if (nGrowBy >= 0)
        m_nGrowBy = nGrowBy;

    if (nNewSize == 0) {
        for (int i = 0; i < m_nSize; ++i)
            m_pData[i].~TYPE();
        ::operator delete(m_pData);
        m_pData = NULL;
        m_nSize = m_nMaxSize = 0;
        return;
    }
    if (m_pData == NULL) {
        // the first block holds the requested elements or grow-by slots, whichever is more
        Reallocate(nNewSize > m_nGrowBy ? nNewSize : m_nGrowBy);
    } else if (nNewSize > m_nMaxSize) {
        int nGrow = m_nGrowBy;
        if (nGrow == 0) {
            nGrow = m_nSize / 8;
            nGrow = nGrow < 4 ? 4 : (nGrow > 1024 ? 1024 : nGrow);
        }
        Reallocate(nNewSize < m_nMaxSize + nGrow ? m_nMaxSize + nGrow : nNewSize);
    }
    for (int i = m_nSize; i < nNewSize; ++i)
        ::new (static_cast<void*>(m_pData + i)) TYPE();
    for (int i = nNewSize; i < m_nSize; ++i)
        m_pData[i].~TYPE();
    m_nSize = nNewSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::FreeExtra()
{
    if (m_nSize == m_nMaxSize)
        return;
    if (m_nSize == 0) {
        SetSize(0, -1);
        return;
    }
    Reallocate(m_nSize);
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::SetAtGrow(int nIndex, ARG_TYPE newElement)
{
    if (nIndex < 0)
        AfxThrowInvalidArgException();
    if (nIndex >= m_nSize) {
        TYPE copy(newElement);  // the element may live in this array
        SetSize(nIndex + 1, -1);
        m_pData[nIndex] = std::move(copy);
        return;
    }
    m_pData[nIndex] = newElement;
}

template <class TYPE, class ARG_TYPE>
int CArray<TYPE, ARG_TYPE>::Append(const CArray& src)
{
    int nOldSize = m_nSize;
    int nCount = src.m_nSize;
    SetSize(m_nSize + nCount, -1);
    for (int i = 0; i < nCount; ++i)
        m_pData[nOldSize + i] = src.m_pData[i];  // src may be this array
    return nOldSize;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Copy(const CArray& src)
{
    if (this == &src)
        return;
    SetSize(src.m_nSize, -1);
    for (int i = 0; i < m_nSize; ++i)
        m_pData[i] = src.m_pData[i];
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nIndex, ARG_TYPE newElement, int nCount)
{
    if (nIndex < 0 || nCount <= 0) {
        if (nIndex < 0 || nCount < 0)
            AfxThrowInvalidArgException();
        return;
    }
    TYPE copy(newElement);  // the element may live in this array
    if (nIndex >= m_nSize) {
        SetSize(nIndex + nCount, -1);
    } else {
        int nOldSize = m_nSize;
        SetSize(m_nSize + nCount, -1);
        for (int i = nOldSize - 1; i >= nIndex; --i)
            m_pData[i + nCount] = std::move(m_pData[i]);
    }
    for (int i = nIndex; i < nIndex + nCount; ++i)
        m_pData[i] = copy;
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::InsertAt(int nStartIndex, CArray* pNewArray)
{
    if (pNewArray == NULL || nStartIndex < 0)
        AfxThrowInvalidArgException();
    if (pNewArray->GetSize() == 0)
        return;
    if (pNewArray == this) {
        CArray copy;
        copy.Copy(*this);
        InsertAt(nStartIndex, &copy);
        return;
    }
    InsertAt(nStartIndex, pNewArray->GetAt(0), pNewArray->GetSize());
    for (int i = 1; i < pNewArray->GetSize(); ++i)
        SetAt(nStartIndex + i, pNewArray->GetAt(i));
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::RemoveAt(int nIndex, int nCount)
{
    if (nIndex < 0 || nCount < 0 || nIndex + nCount > m_nSize)
        AfxThrowInvalidArgException();
    for (int i = nIndex + nCount; i < m_nSize; ++i)
        m_pData[i - nCount] = std::move(m_pData[i]);
    for (int i = m_nSize - nCount; i < m_nSize; ++i)
        m_pData[i].~TYPE();
    m_nSize -= nCount;
}

// ---- CList ----

template <class TYPE, class ARG_TYPE = const TYPE&>
class CList : public CObject {
protected:
    struct CNode {
        CNode* pNext;
        CNode* pPrev;
        TYPE data;
    };

public:
    typedef TYPE BASE_TYPE;
    typedef ARG_TYPE BASE_ARG_TYPE;

    explicit CList(int nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    virtual ~CList() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    TYPE& GetHead() { return Head()->data; }
    const TYPE& GetHead() const { return Head()->data; }
    TYPE& GetTail() { return Tail()->data; }
    const TYPE& GetTail() const { return Tail()->data; }

    // Removes the element and returns it; the list must not be empty.
    TYPE RemoveHead();
    TYPE RemoveTail();

    POSITION AddHead(ARG_TYPE newElement) { return InsertBefore(GetHeadPosition(), newElement); }
    POSITION AddTail(ARG_TYPE newElement) { return InsertAfter(GetTailPosition(), newElement); }
    // Adds copies of the elements of another list, keeping their order.
    void AddHead(CList* pNewList);
    void AddTail(CList* pNewList);
    void RemoveAll();

    POSITION GetHeadPosition() const { return reinterpret_cast<POSITION>(m_pNodeHead); }
    POSITION GetTailPosition() const { return reinterpret_cast<POSITION>(m_pNodeTail); }
    // The element at rPosition; rPosition moves on to the next (previous) one, NULL at the end.
    TYPE& GetNext(POSITION& rPosition) { return Step(rPosition, true)->data; }
    const TYPE& GetNext(POSITION& rPosition) const { return Step(rPosition, true)->data; }
    TYPE& GetPrev(POSITION& rPosition) { return Step(rPosition, false)->data; }
    const TYPE& GetPrev(POSITION& rPosition) const { return Step(rPosition, false)->data; }

    TYPE& GetAt(POSITION position) { return NodeAt(position)->data; }
    const TYPE& GetAt(POSITION position) const { return NodeAt(position)->data; }
    void SetAt(POSITION pos, ARG_TYPE newElement) { NodeAt(pos)->data = newElement; }
    void RemoveAt(POSITION position);

    // NULL position: at the head (tail).
    POSITION InsertBefore(POSITION position, ARG_TYPE newElement);
    POSITION InsertAfter(POSITION position, ARG_TYPE newElement);

    // The first element equal to searchValue after startAfter (from the head when NULL).
    POSITION Find(ARG_TYPE searchValue, POSITION startAfter = NULL) const;
    // The position of the nIndex-th element, NULL when there is none.
    POSITION FindIndex(int nIndex) const;

    virtual void Serialize(CArchive& ar);

protected:
    CNode* NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement);
    void FreeNode(CNode* pNode);
    static CNode* NodeAt(POSITION position)
    {
        if (position == NULL)
            AfxThrowInvalidArgException();
        return reinterpret_cast<CNode*>(position);
    }
    CNode* Head() const
    {
        if (m_pNodeHead == NULL)
            AfxThrowInvalidArgException();
        return m_pNodeHead;
    }
    CNode* Tail() const
    {
        if (m_pNodeTail == NULL)
            AfxThrowInvalidArgException();
        return m_pNodeTail;
    }
    static CNode* Step(POSITION& rPosition, bool bForward)
    {
        CNode* pNode = NodeAt(rPosition);
        rPosition = reinterpret_cast<POSITION>(bForward ? pNode->pNext : pNode->pPrev);
        return pNode;
    }

    CNode* m_pNodeHead = NULL;
    CNode* m_pNodeTail = NULL;
    int m_nCount = 0;
    CNode* m_pNodeFree = NULL;
    CPlex* m_pBlocks = NULL;
    int m_nBlockSize;
};

template <class TYPE, class ARG_TYPE>
typename CList<TYPE, ARG_TYPE>::CNode* CList<TYPE, ARG_TYPE>::NewNode(CNode* pPrev, CNode* pNext, ARG_TYPE newElement)
{
    if (m_pNodeFree == NULL) {
        // a new block of raw nodes, chained into the free list
        CPlex* pBlock = CPlex::Create(m_pBlocks, static_cast<UINT_PTR>(m_nBlockSize), sizeof(CNode));
        CNode* pNode = static_cast<CNode*>(pBlock->data()) + m_nBlockSize - 1;
        for (int i = m_nBlockSize - 1; i >= 0; --i, --pNode) {
            pNode->pNext = m_pNodeFree;
            m_pNodeFree = pNode;
        }
    }
    CNode* pNode = m_pNodeFree;
    ::new (static_cast<void*>(&pNode->data)) TYPE(newElement);
    m_pNodeFree = m_pNodeFree->pNext;
    pNode->pPrev = pPrev;
    pNode->pNext = pNext;
    m_nCount++;
    return pNode;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::FreeNode(CNode* pNode)
{
    pNode->data.~TYPE();
    pNode->pNext = m_pNodeFree;
    m_pNodeFree = pNode;
    m_nCount--;
    if (m_nCount == 0)
        RemoveAll();  // gives the blocks back
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAll()
{
    for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
        pNode->data.~TYPE();
    m_nCount = 0;
    m_pNodeHead = m_pNodeTail = m_pNodeFree = NULL;
    if (m_pBlocks != NULL)
        m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveHead()
{
    CNode* pOldNode = Head();
    TYPE returnValue(std::move(pOldNode->data));
    m_pNodeHead = pOldNode->pNext;
    if (m_pNodeHead != NULL)
        m_pNodeHead->pPrev = NULL;
    else
        m_pNodeTail = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template <class TYPE, class ARG_TYPE>
TYPE CList<TYPE, ARG_TYPE>::RemoveTail()
{
    CNode* pOldNode = Tail();
    TYPE returnValue(std::move(pOldNode->data));
    m_pNodeTail = pOldNode->pPrev;
    if (m_pNodeTail != NULL)
        m_pNodeTail->pNext = NULL;
    else
        m_pNodeHead = NULL;
    FreeNode(pOldNode);
    return returnValue;
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddHead(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowInvalidArgException();
    // walking backwards from the tail keeps the order, also when the list is this one
    int nCount = pNewList->GetCount();
    POSITION pos = pNewList->GetTailPosition();
    for (int i = 0; i < nCount; ++i)
        AddHead(TYPE(pNewList->GetPrev(pos)));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::AddTail(CList* pNewList)
{
    if (pNewList == NULL)
        AfxThrowInvalidArgException();
    int nCount = pNewList->GetCount();
    POSITION pos = pNewList->GetHeadPosition();
    for (int i = 0; i < nCount; ++i)
        AddTail(TYPE(pNewList->GetNext(pos)));
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::RemoveAt(POSITION position)
{
    CNode* pOldNode = NodeAt(position);
    if (pOldNode == m_pNodeHead)
        m_pNodeHead = pOldNode->pNext;
    else
        pOldNode->pPrev->pNext = pOldNode->pNext;
    if (pOldNode == m_pNodeTail)
        m_pNodeTail = pOldNode->pPrev;
    else
        pOldNode->pNext->pPrev = pOldNode->pPrev;
    FreeNode(pOldNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertBefore(POSITION position, ARG_TYPE newElement)
{
    CNode* pOldNode = reinterpret_cast<CNode*>(position);
    if (pOldNode == NULL) {
        CNode* pNewNode = NewNode(NULL, m_pNodeHead, newElement);
        if (m_pNodeHead != NULL)
            m_pNodeHead->pPrev = pNewNode;
        else
            m_pNodeTail = pNewNode;
        m_pNodeHead = pNewNode;
        return reinterpret_cast<POSITION>(pNewNode);
    }
    CNode* pNewNode = NewNode(pOldNode->pPrev, pOldNode, newElement);
    if (pOldNode->pPrev != NULL)
        pOldNode->pPrev->pNext = pNewNode;
    else
        m_pNodeHead = pNewNode;
    pOldNode->pPrev = pNewNode;
    return reinterpret_cast<POSITION>(pNewNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::InsertAfter(POSITION position, ARG_TYPE newElement)
{
    CNode* pOldNode = reinterpret_cast<CNode*>(position);
    if (pOldNode == NULL) {
        CNode* pNewNode = NewNode(m_pNodeTail, NULL, newElement);
        if (m_pNodeTail != NULL)
            m_pNodeTail->pNext = pNewNode;
        else
            m_pNodeHead = pNewNode;
        m_pNodeTail = pNewNode;
        return reinterpret_cast<POSITION>(pNewNode);
    }
    CNode* pNewNode = NewNode(pOldNode, pOldNode->pNext, newElement);
    if (pOldNode->pNext != NULL)
        pOldNode->pNext->pPrev = pNewNode;
    else
        m_pNodeTail = pNewNode;
    pOldNode->pNext = pNewNode;
    return reinterpret_cast<POSITION>(pNewNode);
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::Find(ARG_TYPE searchValue, POSITION startAfter) const
{
    CNode* pNode = startAfter == NULL ? m_pNodeHead : reinterpret_cast<CNode*>(startAfter)->pNext;
    for (; pNode != NULL; pNode = pNode->pNext) {
        if (CompareElements<TYPE, std::remove_cv_t<std::remove_reference_t<ARG_TYPE>>>(&pNode->data, &searchValue))
            return reinterpret_cast<POSITION>(pNode);
    }
    return NULL;
}

template <class TYPE, class ARG_TYPE>
POSITION CList<TYPE, ARG_TYPE>::FindIndex(int nIndex) const
{
    if (nIndex < 0 || nIndex >= m_nCount)
        return NULL;
    CNode* pNode = m_pNodeHead;
    while (nIndex--)
        pNode = pNode->pNext;
    return reinterpret_cast<POSITION>(pNode);
}

// ---- CMap ----

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
class CMap : public CObject {
protected:
    struct CAssoc {
        CAssoc* pNext;
        UINT nHashValue;  // the bucket
        KEY key;
        VALUE value;
    };

public:
    typedef KEY BASE_KEY;
    typedef ARG_KEY BASE_ARG_KEY;
    typedef VALUE BASE_VALUE;
    typedef ARG_VALUE BASE_ARG_VALUE;

    explicit CMap(int nBlockSize = 10) : m_nBlockSize(nBlockSize > 0 ? nBlockSize : 10) {}
    virtual ~CMap() { RemoveAll(); }

    int GetCount() const { return m_nCount; }
    int GetSize() const { return m_nCount; }
    BOOL IsEmpty() const { return m_nCount == 0; }

    BOOL Lookup(ARG_KEY key, VALUE& rValue) const;
    // The value for the key, added (value-initialised) when the key is new.
    VALUE& operator[](ARG_KEY key);
    void SetAt(ARG_KEY key, ARG_VALUE newValue) { (*this)[key] = newValue; }
    BOOL RemoveKey(ARG_KEY key);
    void RemoveAll();

    // Iteration in bucket order: NULL for an empty map, BEFORE_START_POSITION otherwise.
    POSITION GetStartPosition() const { return m_nCount == 0 ? NULL : BEFORE_START_POSITION; }
    void GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const;

    UINT GetHashTableSize() const { return m_nHashTableSize; }
    // Sets the number of buckets (best a prime a little above the expected count) while the
    // map is empty; bAllocNow FALSE leaves the table to the first insertion.
    void InitHashTable(UINT hashSize, BOOL bAllocNow = TRUE);

    virtual void Serialize(CArchive& ar);

protected:
    CAssoc* NewAssoc(ARG_KEY key);
    void FreeAssoc(CAssoc* pAssoc);
    CAssoc* GetAssocAt(ARG_KEY key, UINT& nHashBucket) const;

    CAssoc** m_pHashTable = NULL;
    UINT m_nHashTableSize = 17;
    int m_nCount = 0;
    CAssoc* m_pFreeList = NULL;
    CPlex* m_pBlocks = NULL;
    int m_nBlockSize;
};

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::InitHashTable(UINT hashSize, BOOL bAllocNow)
{
    if (m_nCount != 0 || hashSize == 0)
        AfxThrowInvalidArgException();
    delete[] m_pHashTable;
    m_pHashTable = NULL;
    if (bAllocNow)
        m_pHashTable = new CAssoc*[hashSize]();
    m_nHashTableSize = hashSize;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveAll()
{
    if (m_pHashTable != NULL) {
        for (UINT nHash = 0; nHash < m_nHashTableSize; nHash++) {
            for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
                pAssoc->key.~KEY();
                pAssoc->value.~VALUE();
            }
        }
        delete[] m_pHashTable;
        m_pHashTable = NULL;
    }
    m_nCount = 0;
    m_pFreeList = NULL;
    if (m_pBlocks != NULL)
        m_pBlocks->FreeDataChain();
    m_pBlocks = NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::NewAssoc(ARG_KEY key)
{
    if (m_pFreeList == NULL) {
        CPlex* pBlock = CPlex::Create(m_pBlocks, static_cast<UINT_PTR>(m_nBlockSize), sizeof(CAssoc));
        CAssoc* pAssoc = static_cast<CAssoc*>(pBlock->data()) + m_nBlockSize - 1;
        for (int i = m_nBlockSize - 1; i >= 0; --i, --pAssoc) {
            pAssoc->pNext = m_pFreeList;
            m_pFreeList = pAssoc;
        }
    }
    CAssoc* pAssoc = m_pFreeList;
    ::new (static_cast<void*>(&pAssoc->key)) KEY(key);
    ::new (static_cast<void*>(&pAssoc->value)) VALUE();
    m_pFreeList = m_pFreeList->pNext;
    m_nCount++;
    return pAssoc;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::FreeAssoc(CAssoc* pAssoc)
{
    pAssoc->key.~KEY();
    pAssoc->value.~VALUE();
    pAssoc->pNext = m_pFreeList;
    m_pFreeList = pAssoc;
    m_nCount--;
    if (m_nCount == 0)
        RemoveAll();  // gives the blocks back
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
typename CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::CAssoc* CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetAssocAt(
    ARG_KEY key, UINT& nHashBucket) const
{
    nHashBucket = HashKey<ARG_KEY>(key) % m_nHashTableSize;
    if (m_pHashTable == NULL)
        return NULL;
    for (CAssoc* pAssoc = m_pHashTable[nHashBucket]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        if (pAssoc->nHashValue == nHashBucket &&
            CompareElements<KEY, std::remove_cv_t<std::remove_reference_t<ARG_KEY>>>(&pAssoc->key, &key))
            return pAssoc;
    }
    return NULL;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Lookup(ARG_KEY key, VALUE& rValue) const
{
    UINT nHashBucket;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket);
    if (pAssoc == NULL)
        return FALSE;
    rValue = pAssoc->value;
    return TRUE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
VALUE& CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::operator[](ARG_KEY key)
{
    UINT nHashBucket;
    CAssoc* pAssoc = GetAssocAt(key, nHashBucket);
    if (pAssoc == NULL) {
        if (m_pHashTable == NULL)
            InitHashTable(m_nHashTableSize);
        pAssoc = NewAssoc(key);
        pAssoc->nHashValue = nHashBucket;
        // new entries go to the front of their bucket
        pAssoc->pNext = m_pHashTable[nHashBucket];
        m_pHashTable[nHashBucket] = pAssoc;
    }
    return pAssoc->value;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
BOOL CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::RemoveKey(ARG_KEY key)
{
    if (m_pHashTable == NULL)
        return FALSE;
    CAssoc** ppAssocPrev = &m_pHashTable[HashKey<ARG_KEY>(key) % m_nHashTableSize];
    for (CAssoc* pAssoc = *ppAssocPrev; pAssoc != NULL; pAssoc = pAssoc->pNext) {
        if (CompareElements<KEY, std::remove_cv_t<std::remove_reference_t<ARG_KEY>>>(&pAssoc->key, &key)) {
            *ppAssocPrev = pAssoc->pNext;
            FreeAssoc(pAssoc);
            return TRUE;
        }
        ppAssocPrev = &pAssoc->pNext;
    }
    return FALSE;
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::GetNextAssoc(POSITION& rNextPosition, KEY& rKey, VALUE& rValue) const
{
    if (rNextPosition == NULL || m_pHashTable == NULL)
        AfxThrowInvalidArgException();
    CAssoc* pAssocRet = reinterpret_cast<CAssoc*>(rNextPosition);
    if (rNextPosition == BEFORE_START_POSITION) {
        pAssocRet = NULL;
        for (UINT nBucket = 0; nBucket < m_nHashTableSize && pAssocRet == NULL; nBucket++)
            pAssocRet = m_pHashTable[nBucket];
        if (pAssocRet == NULL)
            AfxThrowInvalidArgException();
    }
    CAssoc* pAssocNext = pAssocRet->pNext;
    for (UINT nBucket = pAssocRet->nHashValue + 1; pAssocNext == NULL && nBucket < m_nHashTableSize; nBucket++)
        pAssocNext = m_pHashTable[nBucket];
    rNextPosition = reinterpret_cast<POSITION>(pAssocNext);
    rKey = pAssocRet->key;
    rValue = pAssocRet->value;
}

// ---- type-safe wrappers over the pointer collections ----

template <class BASE_CLASS, class TYPE>
class CTypedPtrArray : public BASE_CLASS {
public:
    TYPE GetAt(int nIndex) const { return static_cast<TYPE>(BASE_CLASS::GetAt(nIndex)); }
    TYPE& ElementAt(int nIndex) { return reinterpret_cast<TYPE&>(BASE_CLASS::ElementAt(nIndex)); }
    void SetAt(int nIndex, TYPE ptr) { BASE_CLASS::SetAt(nIndex, ptr); }
    void SetAtGrow(int nIndex, TYPE newElement) { BASE_CLASS::SetAtGrow(nIndex, newElement); }
    int Add(TYPE newElement) { return BASE_CLASS::Add(newElement); }
    int Append(const CTypedPtrArray& src) { return BASE_CLASS::Append(src); }
    void Copy(const CTypedPtrArray& src) { BASE_CLASS::Copy(src); }
    void InsertAt(int nIndex, TYPE newElement, int nCount = 1) { BASE_CLASS::InsertAt(nIndex, newElement, nCount); }
    void InsertAt(int nStartIndex, CTypedPtrArray* pNewArray) { BASE_CLASS::InsertAt(nStartIndex, pNewArray); }
    TYPE operator[](int nIndex) const { return GetAt(nIndex); }
    TYPE& operator[](int nIndex) { return ElementAt(nIndex); }
};

template <class BASE_CLASS, class TYPE>
class CTypedPtrList : public BASE_CLASS {
public:
    explicit CTypedPtrList(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    TYPE& GetHead() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetHead()); }
    TYPE GetHead() const { return static_cast<TYPE>(BASE_CLASS::GetHead()); }
    TYPE& GetTail() { return reinterpret_cast<TYPE&>(BASE_CLASS::GetTail()); }
    TYPE GetTail() const { return static_cast<TYPE>(BASE_CLASS::GetTail()); }
    TYPE RemoveHead() { return static_cast<TYPE>(BASE_CLASS::RemoveHead()); }
    TYPE RemoveTail() { return static_cast<TYPE>(BASE_CLASS::RemoveTail()); }
    POSITION AddHead(TYPE newElement) { return BASE_CLASS::AddHead(newElement); }
    POSITION AddTail(TYPE newElement) { return BASE_CLASS::AddTail(newElement); }
    void AddHead(CTypedPtrList* pNewList) { BASE_CLASS::AddHead(pNewList); }
    void AddTail(CTypedPtrList* pNewList) { BASE_CLASS::AddTail(pNewList); }
    TYPE& GetNext(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetNext(rPosition)); }
    TYPE GetNext(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetNext(rPosition)); }
    TYPE& GetPrev(POSITION& rPosition) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE GetPrev(POSITION& rPosition) const { return static_cast<TYPE>(BASE_CLASS::GetPrev(rPosition)); }
    TYPE& GetAt(POSITION position) { return reinterpret_cast<TYPE&>(BASE_CLASS::GetAt(position)); }
    TYPE GetAt(POSITION position) const { return static_cast<TYPE>(BASE_CLASS::GetAt(position)); }
    void SetAt(POSITION pos, TYPE newElement) { BASE_CLASS::SetAt(pos, newElement); }
    POSITION InsertBefore(POSITION position, TYPE newElement) { return BASE_CLASS::InsertBefore(position, newElement); }
    POSITION InsertAfter(POSITION position, TYPE newElement) { return BASE_CLASS::InsertAfter(position, newElement); }
};

template <class BASE_CLASS, class KEY, class VALUE>
class CTypedPtrMap : public BASE_CLASS {
public:
    explicit CTypedPtrMap(int nBlockSize = 10) : BASE_CLASS(nBlockSize) {}

    BOOL Lookup(typename BASE_CLASS::BASE_ARG_KEY key, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_VALUE value = NULL;
        if (!BASE_CLASS::Lookup(key, value))
            return FALSE;
        rValue = static_cast<VALUE>(value);
        return TRUE;
    }
    VALUE& operator[](typename BASE_CLASS::BASE_ARG_KEY key)
    {
        return reinterpret_cast<VALUE&>(BASE_CLASS::operator[](key));
    }
    void SetAt(KEY key, VALUE newValue) { BASE_CLASS::SetAt(key, newValue); }
    BOOL RemoveKey(KEY key) { return BASE_CLASS::RemoveKey(key); }
    void GetNextAssoc(POSITION& rPosition, KEY& rKey, VALUE& rValue) const
    {
        typename BASE_CLASS::BASE_KEY key;
        typename BASE_CLASS::BASE_VALUE value;
        BASE_CLASS::GetNextAssoc(rPosition, key, value);
        rKey = (KEY)key;
        rValue = (VALUE)value;
    }
};

// ---- serialization of the templates ----
// The element helpers and the Serialize members need CArchive; they are compiled wherever the
// archive is part of the library.

#if __has_include(<mfc/Archive.h>)
#include <mfc/Archive.h>

namespace afx_detail {
// Loads the nCount elements of an array that an archive announced, growing the array piece by
// piece as the data arrives: loadPiece(nFirst, n) reads elements nFirst..nFirst+n-1 (throwing at
// the end of the data), and each piece is as large as what has arrived so far. A damaged count
// therefore runs into the end of the data instead of allocating room for it up front.
template <class ARRAY, class LOADPIECE>
void LoadArrayPieces(CArchive& ar, ARRAY& array, DWORD_PTR nCount, LOADPIECE loadPiece)
{
    typename DependentArchive<ARRAY>::type& archive = ar;
    if (nCount > static_cast<DWORD_PTR>(0x7FFFFFFF))
        AfxThrowArchiveException(CArchiveException::badIndex, archive.m_strFileName);
    const int nTotal = static_cast<int>(nCount);
    array.SetSize(0, -1);
    int nLoaded = 0;
    int nPiece = 1024;
    while (nLoaded < nTotal) {
        int n = nTotal - nLoaded < nPiece ? nTotal - nLoaded : nPiece;
        array.SetSize(nLoaded + n, -1);
        loadPiece(nLoaded, n);
        nLoaded += n;
        nPiece = nLoaded;
    }
}

// Reads exactly nBytes raw bytes; fewer means the data ended early.
template <class A>
void ReadExactly(A& archive, void* lpBuf, size_t nBytes)
{
    BYTE* p = static_cast<BYTE*>(lpBuf);
    while (nBytes > 0) {
        UINT nWant = nBytes > 0x40000000u ? 0x40000000u : static_cast<UINT>(nBytes);
        if (archive.Read(p, nWant) != nWant)
            AfxThrowArchiveException(CArchiveException::endOfFile, archive.m_strFileName);
        p += nWant;
        nBytes -= nWant;
    }
}
}  // namespace afx_detail

template <class TYPE>
void AFXAPI SerializeElements(CArchive& ar, TYPE* pElements, INT_PTR nCount)
{
    typename afx_detail::DependentArchive<TYPE>::type& archive = ar;
    if (nCount <= 0)
        return;
    size_t nBytes = sizeof(TYPE) * static_cast<size_t>(nCount);
    if (archive.IsStoring()) {
        for (BYTE* p = reinterpret_cast<BYTE*>(pElements); nBytes > 0;) {
            UINT nPart = nBytes > 0x40000000u ? 0x40000000u : static_cast<UINT>(nBytes);
            archive.Write(p, nPart);
            p += nPart;
            nBytes -= nPart;
        }
    } else {
        afx_detail::ReadExactly(archive, pElements, nBytes);
    }
}

template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    typename afx_detail::DependentArchive<TYPE>::type& archive = ar;
    CObject::Serialize(ar);
    if (archive.IsStoring()) {
        archive.WriteCount(static_cast<DWORD_PTR>(m_nSize));
        SerializeElements(ar, m_pData, m_nSize);
    } else {
        afx_detail::LoadArrayPieces(ar, *this, archive.ReadCount(),
                                    [&](int nFirst, int n) { SerializeElements(ar, m_pData + nFirst, n); });
    }
}

template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive& ar)
{
    typename afx_detail::DependentArchive<TYPE>::type& archive = ar;
    CObject::Serialize(ar);
    if (archive.IsStoring()) {
        archive.WriteCount(static_cast<DWORD_PTR>(m_nCount));
        for (CNode* pNode = m_pNodeHead; pNode != NULL; pNode = pNode->pNext)
            SerializeElements(ar, &pNode->data, 1);
    } else {
        DWORD_PTR nNewCount = archive.ReadCount();
        while (nNewCount--) {
            TYPE newData[1] = {};
            SerializeElements(ar, newData, 1);
            AddTail(newData[0]);
        }
    }
}

template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive& ar)
{
    typename afx_detail::DependentArchive<KEY>::type& archive = ar;
    CObject::Serialize(ar);
    if (archive.IsStoring()) {
        archive.WriteCount(static_cast<DWORD_PTR>(m_nCount));
        if (m_nCount == 0)
            return;
        for (UINT nHash = 0; nHash < m_nHashTableSize; nHash++) {
            for (CAssoc* pAssoc = m_pHashTable[nHash]; pAssoc != NULL; pAssoc = pAssoc->pNext) {
                SerializeElements(ar, &pAssoc->key, 1);
                SerializeElements(ar, &pAssoc->value, 1);
            }
        }
    } else {
        DWORD_PTR nNewCount = archive.ReadCount();
        while (nNewCount--) {
            KEY newKey[1] = {};
            VALUE newValue[1] = {};
            SerializeElements(ar, newKey, 1);
            SerializeElements(ar, newValue, 1);
            SetAt(newKey[0], newValue[0]);
        }
    }
}

#else

// Without CArchive in the library, collections cannot be stored.
template <class TYPE>
void AFXAPI SerializeElements(CArchive&, TYPE*, INT_PTR)
{
    AfxThrowNotSupportedException();
}
template <class TYPE, class ARG_TYPE>
void CArray<TYPE, ARG_TYPE>::Serialize(CArchive&)
{
    AfxThrowNotSupportedException();
}
template <class TYPE, class ARG_TYPE>
void CList<TYPE, ARG_TYPE>::Serialize(CArchive&)
{
    AfxThrowNotSupportedException();
}
template <class KEY, class ARG_KEY, class VALUE, class ARG_VALUE>
void CMap<KEY, ARG_KEY, VALUE, ARG_VALUE>::Serialize(CArchive&)
{
    AfxThrowNotSupportedException();
}

#endif
