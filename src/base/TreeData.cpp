#include "base/TreeData.h"

CTreeData::CTreeData() = default;

CTreeData::CTreeData(const TVITEM& item, int nLevel) : m_nLevel(nLevel)
{
    SetItem(item);
}

CTreeData::~CTreeData() = default;

CTreeData& CTreeData::operator=(const CTreeData& other)
{
    if (this == &other)
        return *this;
    DeleteChildren();
    m_strText = other.m_strText;
    m_nImage = other.m_nImage;
    m_nValue = other.m_nValue;
    m_nState = other.m_nState;
    m_nLevel = other.m_nLevel;
    return *this;
}

HTREEITEM CTreeData::NewId()
{
    // Ids only grow: a deleted node's id is never given to another node. They stay positive,
    // clear of the root's -1 and of the TVI_ positions.
    static ULONG_PTR s_nLastId = 0;
    if (++s_nLastId > 0x7FFFFFFF)
        s_nLastId = 1;
    return reinterpret_cast<HTREEITEM>(s_nLastId);
}

void CTreeData::SetItem(const TVITEM& item)
{
    if (item.mask & TVIF_TEXT)
        m_strText = item.pszText != NULL ? item.pszText : "";
    if (item.mask & TVIF_IMAGE)
        m_nImage = item.iImage;
    if (item.mask & TVIF_PARAM)
        m_nValue = item.lParam;
    if (item.mask & TVIF_STATE)
        m_nState = (m_nState & ~item.stateMask) | (item.state & item.stateMask);
}

int CTreeData::ChildIndex(HTREEITEM hId) const
{
    for (int i = 0; i < GetChildCount(); ++i)
        if (GetChild(i)->m_hId == hId)
            return i;
    return -1;
}

HTREEITEM CTreeData::InsertItem(const TVINSERTSTRUCT& insert)
{
    if (m_pChildren == NULL)
        m_pChildren = std::make_unique<std::vector<std::unique_ptr<CTreeData>>>();
    auto pNode = std::make_unique<CTreeData>(insert.item, m_nLevel + 1);
    pNode->m_hId = NewId();
    HTREEITEM hId = pNode->m_hId;

    std::vector<std::unique_ptr<CTreeData>>& children = *m_pChildren;
    size_t nAt = children.size();
    if (insert.hInsertAfter == TVI_FIRST) {
        nAt = 0;
    } else if (insert.hInsertAfter == TVI_SORT) {
        for (size_t i = 0; i < children.size(); ++i)
            if (children[i]->m_strText.CompareNoCase(pNode->m_strText) > 0) {
                nAt = i;
                break;
            }
    } else if (insert.hInsertAfter != TVI_LAST && insert.hInsertAfter != NULL) {
        int nAfter = ChildIndex(insert.hInsertAfter);
        if (nAfter >= 0)
            nAt = static_cast<size_t>(nAfter) + 1;
    }
    children.insert(children.begin() + static_cast<std::ptrdiff_t>(nAt), std::move(pNode));
    return hId;
}

CTreeData* CTreeData::FindNodeById(HTREEITEM hId)
{
    if (hId == m_hId)
        return this;
    for (int i = 0; i < GetChildCount(); ++i)
        if (CTreeData* pFound = GetChild(i)->FindNodeById(hId))
            return pFound;
    return NULL;
}

CTreeData* CTreeData::FindParentOf(HTREEITEM hId)
{
    if (ChildIndex(hId) >= 0)
        return this;
    for (int i = 0; i < GetChildCount(); ++i)
        if (CTreeData* pFound = GetChild(i)->FindParentOf(hId))
            return pFound;
    return NULL;
}

BOOL CTreeData::RemoveChild(HTREEITEM hId)
{
    int nIndex = ChildIndex(hId);
    if (nIndex < 0)
        return FALSE;
    m_pChildren->erase(m_pChildren->begin() + nIndex);
    return TRUE;
}

void CTreeData::DeleteChildren()
{
    m_pChildren.reset();
}

HTREEITEM CTreeData::GetNextItem(HTREEITEM hId, UINT nCode)
{
    if (nCode == TVGN_CHILD)
        return HasChildren() ? GetChild(0)->m_hId : NULL;
    if (nCode != TVGN_NEXT && nCode != TVGN_PREVIOUS && nCode != TVGN_PARENT)
        return NULL;
    const int nCount = GetChildCount();
    for (int i = 0; i < nCount; ++i) {
        CTreeData* pChild = GetChild(i);
        if (pChild->m_hId == hId) {
            switch (nCode) {
            case TVGN_NEXT: return i + 1 < nCount ? GetChild(i + 1)->m_hId : NULL;
            case TVGN_PREVIOUS: return i > 0 ? GetChild(i - 1)->m_hId : NULL;
            default: return m_hId;
            }
        }
        if (HTREEITEM hFound = pChild->GetNextItem(hId, nCode); hFound != NULL)
            return hFound;
    }
    return NULL;
}

void CTreeData::AddVisibleRows(CListBox* pList)
{
    if (!m_bExpanded || !HasChildren())
        return;
    for (int i = 0; i < GetChildCount(); ++i) {
        CTreeData* pChild = GetChild(i);
        pList->SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(pChild->m_hId));
        pChild->AddVisibleRows(pList);
    }
}
