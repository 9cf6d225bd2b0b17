// CAtlasVirtualList and CAtlasDistCalcVirtualList: the atlas's two alphabetical place lists over
// the virtual list base. Map Search reads "map_loc.dat" with its index "map_loc.ndx" (data folder
// kind 12) in list mode; the Distance Calculator reads "distcalc.dat" and "distcalc.ndx" (kind
// 14) in tree mode.
//
// A record is one line of at most 130 characters (a longer line is cut there), its fields
// separated by "|":
//   map_loc.dat   code | map | code | section | offset | length | place name
//   distcalc.dat  code | map | code | section | offset | length | latitude | longitude | place name
// The codes hold up to 3 characters (kept, not used); map, section, offset and length are whole
// numbers; latitude and longitude decimal degrees (north and east positive, up to 31 characters);
// the name takes the rest of the line (up to 100 characters) and carries no line end. A line with
// fewer fields, an empty field, or a number field that is not a number is damage: the list base
// reports it once ("The list file %s is damaged.") and the list ends there.
//
// Each entry's identifier is its map number; its three values are the hit position (section,
// offset, length) that marks the place on that map; in tree mode its two strings are the
// latitude and longitude texts.
#pragma once

#include "widgets/VLVirtualData.h"

#include <afx.h>

class CAtlasPlaceList : public CVLVirtualData {
    DECLARE_DYNAMIC(CAtlasPlaceList)
public:
    enum {
        kRecordLimit = 130,  // characters of a record line that are read
        kCodeLength = 3,
        kNameLength = 100,
        kCoordinateLength = 31
    };

    ~CAtlasPlaceList() override;

    // The fields of the last record read.
    LPCSTR GetCode() const { return m_szCode; }
    LPCSTR GetSecondCode() const { return m_szSecondCode; }
    long GetMapNumber() const { return m_nMapNumber; }
    long GetHitSection() const { return m_nHitSection; }
    long GetHitOffset() const { return m_nHitOffset; }
    long GetHitLength() const { return m_nHitLength; }
    const CString& GetPlaceName() const { return m_strName; }
    LPCSTR GetLatitudeText() const { return m_szLatitude; }
    LPCSTR GetLongitudeText() const { return m_szLongitude; }

    // Seeks the data file to a line position (0: its beginning) and reads the line there (at most
    // 131 characters kept); the position after it, -1 when nothing was read.
    virtual long SeekAndRead(long nPosition, CString& strLine);

protected:
    // bDistances: the distance calculator's layout (latitude and longitude before the name),
    // kept in tree mode.
    explicit CAtlasPlaceList(BOOL bDistances);

    // Resolves the data folder of the kind and opens the data file and its index there. FALSE
    // with the path of the file that failed (empty when the folder could not be resolved).
    BOOL OpenPlaceFiles(int nFolderKind, LPCSTR lpszDataName, LPCSTR lpszIndexName, CString& strFailed);

    long ReadEntry(int* pId, CString* pTitle, CString* pSecond, CString* pThird) override;
    BOOL ParseLine(LPCSTR lpszLine) override;

private:
    BOOL m_bDistances;
    char m_szCode[kCodeLength + 1];
    char m_szSecondCode[kCodeLength + 1];
    long m_nMapNumber;
    long m_nHitSection;
    long m_nHitOffset;
    long m_nHitLength;
    CString m_strName;
    char m_szLatitude[kCoordinateLength + 1];
    char m_szLongitude[kCoordinateLength + 1];
};

// The Map Search list. Construction throws a user exception: silently when the data folder
// cannot be resolved; after "Unable to prepare Atlas' data." when a file cannot be opened.
class CAtlasVirtualList : public CAtlasPlaceList {
    DECLARE_DYNAMIC(CAtlasVirtualList)
public:
    CAtlasVirtualList();
};

// The Distance Calculator list. Construction throws a user exception: silently when the data
// folder cannot be resolved; after "Unable to open %s" (the file's path) when a file cannot be
// opened.
class CAtlasDistCalcVirtualList : public CAtlasPlaceList {
    DECLARE_DYNAMIC(CAtlasDistCalcVirtualList)
public:
    CAtlasDistCalcVirtualList();
};
