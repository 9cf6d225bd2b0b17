// CAtlasStateObj: the history entry of the atlas (window 8003): the map shown (its number and
// title, the title also being the state's title in the History dialog) and the overlay chosen
// for it (its number and name), with a reference of the map that says where its data lies.
#pragma once

#include "base/Reference.h"
#include "base/VLStateObj.h"

class CAtlasStateObj : public CVLStateObj {
    DECLARE_DYNAMIC(CAtlasStateObj)
public:
    CAtlasStateObj(LONG nMapNumber, LPCSTR lpszMapTitle, LONG nOverlayNumber, LPCSTR lpszOverlayName);
    CAtlasStateObj(const CAtlasStateObj& other);
    ~CAtlasStateObj() override;

    // Takes over what the copy constructor copies: the base's fields, the map number and title,
    // the overlay number and name (nothing when the other state is not an atlas state).
    CVLStateObj& Assign(const CVLStateObj& other) override;
    CAtlasStateObj& operator=(const CAtlasStateObj& other);
    // A new state built by the copy constructor; NULL without memory.
    CVLStateObj* Clone() const override;

    // Where the map's record lies: the disc and data-folder kind of its reference (disc 1, kind 1
    // when the reference cannot say).
    int GetDisc() const override;
    int GetDataDirType() const override;

    LONG GetMapNumber() const { return m_nMapNumber; }
    const CString& GetMapTitle() const { return m_strTitle; }
    LONG GetOverlayNumber() const { return m_nOverlayNumber; }
    const CString& GetOverlayName() const { return m_strOverlayName; }
    const CReference& GetReference() const { return m_reference; }

private:
    LONG m_nMapNumber;
    LONG m_nOverlayNumber;
    CString m_strOverlayName;
    CReference m_reference;
};
