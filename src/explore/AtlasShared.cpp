#include "explore/AtlasShared.h"

#include "base/ReferenceList.h"

namespace {

struct AtlasValues {
    CString strOverlayName = "Political";
    LONG nOverlayNumber = 0;
    CReferenceList* pOverlayList = NULL;
    DWORD dwSerial = 0;
};

AtlasValues& Values()
{
    static AtlasValues values;
    return values;
}

const char* const kThemes[] = {
    "Population density",       "Average January temperatures", "Average July temperatures",
    "Average yearly precipitation", "Agriculture and fishing",  "Mining and manufacturing",
    "Terrain",
};

}  // namespace

const CString& CAtlasShared::GetOverlayName()
{
    return Values().strOverlayName;
}

void CAtlasShared::SetOverlayName(LPCSTR lpszName)
{
    Values().strOverlayName = lpszName != NULL ? lpszName : "";
}

LONG CAtlasShared::GetOverlayNumber()
{
    return Values().nOverlayNumber;
}

void CAtlasShared::SetOverlayNumber(LONG nNumber)
{
    Values().nOverlayNumber = nNumber;
}

CReferenceList* CAtlasShared::GetOverlayList()
{
    return Values().pOverlayList;
}

void CAtlasShared::SetOverlayList(CReferenceList* pList)
{
    AtlasValues& v = Values();
    if (pList == v.pOverlayList)
        return;
    delete v.pOverlayList;
    v.pOverlayList = pList;
    ++v.dwSerial;
}

DWORD CAtlasShared::GetOverlayListSerial()
{
    return Values().dwSerial;
}

CString CAtlasShared::ThemeOfTitle(LPCSTR lpszTitle)
{
    const CString strTitle = lpszTitle != NULL ? lpszTitle : "";
    for (const char* pszTheme : kThemes)
        if (strTitle.Find(pszTheme) == 0)
            return pszTheme;
    return "Political";
}

void CAtlasShared::Reset()
{
    SetOverlayList(NULL);
    Values().strOverlayName = "Political";
    Values().nOverlayNumber = 0;
}
