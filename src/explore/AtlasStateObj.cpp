#include "explore/AtlasStateObj.h"

#include "base/VLMessages.h"

#include <new>

IMPLEMENT_DYNAMIC(CAtlasStateObj, CVLStateObj)

CAtlasStateObj::CAtlasStateObj(LONG nMapNumber, LPCSTR lpszMapTitle, LONG nOverlayNumber, LPCSTR lpszOverlayName)
    : m_nMapNumber(nMapNumber),
      m_nOverlayNumber(nOverlayNumber),
      m_strOverlayName(lpszOverlayName != NULL ? lpszOverlayName : ""),
      m_reference(nMapNumber, lpszMapTitle != NULL ? lpszMapTitle : "")
{
    m_nWindowID = IDW_ATLAS;
    m_strTitle = lpszMapTitle != NULL ? lpszMapTitle : "";
    // The reference keeps the number it was made for, even where the content index does not
    // know the map.
    if (m_reference.GetNumber() != nMapNumber)
        m_reference.SetNumber(nMapNumber);
}

CAtlasStateObj::CAtlasStateObj(const CAtlasStateObj& other)
    : CVLStateObj(other),
      m_nMapNumber(other.m_nMapNumber),
      m_nOverlayNumber(other.m_nOverlayNumber),
      m_strOverlayName(other.m_strOverlayName),
      m_reference(other.m_reference)
{
}

CAtlasStateObj::~CAtlasStateObj() = default;

CVLStateObj& CAtlasStateObj::Assign(const CVLStateObj& other)
{
    const auto* pOther = DYNAMIC_DOWNCAST(CAtlasStateObj, const_cast<CVLStateObj*>(&other));
    if (pOther == NULL || pOther == this)
        return *this;
    CVLStateObj::Assign(other);
    m_nMapNumber = pOther->m_nMapNumber;
    m_nOverlayNumber = pOther->m_nOverlayNumber;
    m_strOverlayName = pOther->m_strOverlayName;
    m_reference = pOther->m_reference;
    return *this;
}

CAtlasStateObj& CAtlasStateObj::operator=(const CAtlasStateObj& other)
{
    Assign(other);
    return *this;
}

CVLStateObj* CAtlasStateObj::Clone() const
{
    return new (std::nothrow) CAtlasStateObj(*this);
}

int CAtlasStateObj::GetDisc() const
{
    return m_reference.GetDisc();
}

int CAtlasStateObj::GetDataDirType() const
{
    try {
        return m_reference.GetDataDirType();
    } catch (CException* e) {
        e->Delete();
        return CVLStateObj::GetDataDirType();
    }
}
