#include "explore/TFStateObj.h"

#include "base/VLMessages.h"

IMPLEMENT_DYNAMIC(CTFStateObj, CVLStateObj)

CTFStateObj::CTFStateObj()
{
    m_nWindowID = IDW_TIMEFRAME;
}

CTFStateObj::CTFStateObj(const TimeFrameSelection& selection) : CTFStateObj()
{
    m_selection = selection;
    m_strTitle = selection.strTitle;
}

CTFStateObj::CTFStateObj(const CTFStateObj& other) : CVLStateObj(other), m_selection(other.m_selection) {}

CTFStateObj::~CTFStateObj() = default;

CTFStateObj& CTFStateObj::operator=(const CTFStateObj& other)
{
    Assign(other);
    return *this;
}

CVLStateObj& CTFStateObj::Assign(const CVLStateObj& other)
{
    if (&other == this)
        return *this;
    CVLStateObj::Assign(other);
    if (const auto* pOther = DYNAMIC_DOWNCAST(CTFStateObj, const_cast<CVLStateObj*>(&other)))
        m_selection = pOther->m_selection;
    return *this;
}

CVLStateObj* CTFStateObj::Clone() const
{
    return new CTFStateObj(*this);
}
