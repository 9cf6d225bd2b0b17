// CAtlasDistance: the arithmetic of the atlas's Distance Calculator, apart from its window: the
// great-circle distance between two places in whole miles and kilometres, the texts the panel
// shows (results, a chosen place's coordinates, the point under the pointer), the middle the
// globe turns to between two places, and the roll of the inset map that keeps a route in view.
#pragma once

#include <afxwin.h>

class CAtlasDistance {
public:
    // Degrees per radian as the distance has always been computed (not 180/pi), miles per
    // degree of a great circle, miles per kilometre.
    static constexpr double kDegreesPerRadian = 57.295827908797776;
    static constexpr double kMilesPerDegree = 69.11;
    static constexpr double kMilesPerKilometre = 0.6214;

    // The distance between two points (degrees, north and east positive), truncated to whole
    // miles and kilometres. The same point gives 0 and 0; a latitude of +90.0 is taken as 89.9.
    static void Compute(double dLat1, double dLon1, double dLat2, double dLon2, long& nMiles, long& nKilometres);

    // A result as shown: nothing for 0 when the two places are not both chosen; one "," before
    // the last three digits of a number of four digits or more.
    static CString ResultText(long nValue, BOOL bBothChosen);
    // A chosen place's coordinates from the list's latitude and longitude texts:
    // "48.8667 N, 2.3333 E", "34.6000 S, 58.4500 W".
    static CString PlaceText(const CString& strLatitude, const CString& strLongitude);
    // The point under the pointer: whole degrees and truncated hundredths, "12.05 N, 0.50 W".
    static CString PointText(double dLatitude, double dLongitude);
    // The default rotation's whole degrees from its text ("-45.0" gives -45; a first decimal of 5
    // or more rounds away from zero).
    static int DegreesFromText(const char* pszText);

    // The way the globe turns from one value toward another (whole degrees).
    struct Turn {
        int nMiddle = 0;     // the value to step to (when not across)
        BOOL bAcross = FALSE; // longitude only: the span is 175 or more; step nCount degrees
        int nCount = 0;      //   across the 180th meridian
        BOOL bDown = FALSE;  // a > b: the steps go down
    };
    static Turn Middle(int a, int b, BOOL bLongitude);
    // A longitude brought into -179..179 after a step.
    static int WrapLongitude(int nDegrees);

    // The inset map: a point's x offset from the inset's left (r = (width + 1) / 2) and y offset
    // from its top.
    static int InsetX(double dLongitude, int nWidth);
    static int InsetY(double dLatitude, int nHeight);
    // How many quarters (0..3) the inset rolls left so that the route between two x offsets stays
    // within it; an offset after that roll.
    static int InsetRoll(int x1, int x2, int nWidth);
    static int RolledX(int x, int nRoll, int nWidth);
};
