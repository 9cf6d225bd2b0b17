#include "base/VLStateObj.h"

IMPLEMENT_DYNAMIC(CVLStateObj, CObject)

CVLStateObj::CVLStateObj() = default;

CVLStateObj::CVLStateObj(const CVLStateObj& other)
    : CObject(), m_nWindowID(other.m_nWindowID), m_dwFlags(other.m_dwFlags), m_strTitle(other.m_strTitle)
{
}

CVLStateObj::~CVLStateObj() = default;

CVLStateObj& CVLStateObj::Assign(const CVLStateObj& other)
{
    m_nWindowID = other.m_nWindowID;
    m_strTitle = other.m_strTitle;
    m_dwFlags = other.m_dwFlags;
    return *this;
}

int CVLStateObj::GetDisc() const
{
    return 1;
}

int CVLStateObj::GetDataDirType() const
{
    return 1;
}

CVLStateList::CVLStateList() : m_list(10)
{
}

CVLStateList::~CVLStateList()
{
    DeleteAll();
}

void CVLStateList::Push(CVLStateObj* pState)
{
    m_bPushed = TRUE;
    m_list.AddHead(pState);
    if (m_list.GetCount() > MAX_STATES)
        delete static_cast<CVLStateObj*>(m_list.RemoveTail());
}

CVLStateObj* CVLStateList::Pop()
{
    m_bPushed = FALSE;
    if (m_list.IsEmpty())
        return NULL;
    return static_cast<CVLStateObj*>(m_list.RemoveHead());
}

void CVLStateList::DeleteAll()
{
    while (!m_list.IsEmpty())
        delete static_cast<CVLStateObj*>(m_list.RemoveHead());
}

CVLStateObj* CVLStateList::GetAt(int nIndex) const
{
    POSITION pos = m_list.FindIndex(nIndex);
    return pos == NULL ? NULL : static_cast<CVLStateObj*>(m_list.GetAt(pos));
}
