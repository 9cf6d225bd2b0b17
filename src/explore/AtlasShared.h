// CAtlasShared: the atlas's values that all its windows share, one set per process: the current
// overlay (the theme of the shown map: "Political", "Terrain", ...) by name and number, and the
// overlay list of the shown map.
//
// The overlay list belongs here: a new list replaces the old one, which is deleted then, and
// Reset deletes the last one (when the atlas goes). The overlay list window only borrows it; it
// compares the list's serial with the serial it was built for to know whether to rebuild.
#pragma once

#include <afx.h>

class CReferenceList;

class CAtlasShared {
public:
    // The overlay name; "Political" at first.
    static const CString& GetOverlayName();
    static void SetOverlayName(LPCSTR lpszName);
    // The overlay number: 0 while none was chosen (the map's title then names the theme).
    static LONG GetOverlayNumber();
    static void SetOverlayNumber(LONG nNumber);

    // The shown map's overlay list, or NULL. SetOverlayList takes the list over and deletes the
    // one held before (unless it is the same).
    static CReferenceList* GetOverlayList();
    static void SetOverlayList(CReferenceList* pList);
    // Changes with every SetOverlayList that brings another list.
    static DWORD GetOverlayListSerial();

    // The theme that a map's title begins with: the first of "Population density", "Average
    // January temperatures", "Average July temperatures", "Average yearly precipitation",
    // "Agriculture and fishing", "Mining and manufacturing", "Terrain"; else "Political".
    static CString ThemeOfTitle(LPCSTR lpszTitle);

    // Deletes the overlay list and starts again: name "Political", number 0.
    static void Reset();
};
