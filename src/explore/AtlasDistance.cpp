#include "explore/AtlasDistance.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

void CAtlasDistance::Compute(double dLat1, double dLon1, double dLat2, double dLon2, long& nMiles, long& nKilometres)
{
    nMiles = 0;
    nKilometres = 0;
    if (dLat1 == dLat2 && dLon1 == dLon2)
        return;
    if (dLat1 == 90.0)
        dLat1 = 89.9;
    if (dLat2 == 90.0)
        dLat2 = 89.9;
    const double dLon = (dLon2 - dLon1) / kDegreesPerRadian;
    const double a1 = dLat1 / kDegreesPerRadian;
    const double a2 = dLat2 / kDegreesPerRadian;
    // Two nearly equal points can round the cosine just past 1, where acos has no value.
    const double dCos = std::clamp(std::sin(a1) * std::sin(a2) + std::cos(a1) * std::cos(a2) * std::cos(dLon), -1.0, 1.0);
    const double dMiles = std::acos(dCos) * kDegreesPerRadian * kMilesPerDegree;
    if (!std::isfinite(dMiles))
        return;
    nMiles = static_cast<long>(dMiles);
    nKilometres = static_cast<long>(dMiles / kMilesPerKilometre);
}

CString CAtlasDistance::ResultText(long nValue, BOOL bBothChosen)
{
    char sz[32];
    std::snprintf(sz, sizeof(sz), "%ld", nValue);
    CString str(sz);
    if (str == "0" && !bBothChosen)
        return CString();
    const int nDigits = str.GetLength() - (nValue < 0 ? 1 : 0);
    if (nDigits > 3)
        str = str.Left(str.GetLength() - 3) + "," + str.Right(3);
    return str;
}

CString CAtlasDistance::PlaceText(const CString& strLatitude, const CString& strLongitude)
{
    CString str;
    if (!strLatitude.IsEmpty() && strLatitude[0] == '-')
        str = strLatitude.Mid(1) + " S, ";
    else
        str = strLatitude + " N, ";
    if (!strLongitude.IsEmpty() && strLongitude[0] == '-')
        str += strLongitude.Mid(1) + " W";
    else
        str += strLongitude + " E";
    return str;
}

namespace {

CString PointPart(double dValue, char chPositive, char chNegative)
{
    if (!std::isfinite(dValue))
        dValue = 0.0;
    const long nWhole = static_cast<long>(dValue);
    const long nHundredths = std::labs(static_cast<long>((dValue - static_cast<double>(nWhole)) * 100.0));
    char sz[48];
    std::snprintf(sz, sizeof(sz), "%ld.%02ld %c", std::labs(nWhole), nHundredths % 100,
                  dValue < 0.0 ? chNegative : chPositive);
    return CString(sz);
}

}  // namespace

CString CAtlasDistance::PointText(double dLatitude, double dLongitude)
{
    return PointPart(dLatitude, 'N', 'S') + ", " + PointPart(dLongitude, 'E', 'W');
}

int CAtlasDistance::DegreesFromText(const char* pszText)
{
    if (pszText == NULL)
        return 0;
    const double d = std::atof(pszText);
    int n = static_cast<int>(d);
    const char* pDot = std::strchr(pszText, '.');
    if (pDot != NULL && pDot[1] >= '5' && pDot[1] <= '9')
        n += (d < 0.0) ? -1 : 1;
    return n;
}

CAtlasDistance::Turn CAtlasDistance::Middle(int a, int b, BOOL bLongitude)
{
    Turn turn;
    turn.bDown = a > b;
    const int low = std::min(a, b);
    const int high = std::max(a, b);
    if (low > 0 && high > 0) {
        turn.nMiddle = low + (high - low) / 2;
    } else if (low <= 0 && high <= 0) {
        turn.nMiddle = low + (std::abs(low) - std::abs(high)) / 2;
    } else if (!bLongitude) {
        turn.nMiddle = low + (std::abs(low) + high) / 2;
    } else {
        const int span = high + std::abs(low);
        if (span < 175) {
            turn.nMiddle = low + span / 2;
        } else {
            turn.bAcross = TRUE;
            turn.nCount = (360 - span) / 2;
        }
    }
    return turn;
}

int CAtlasDistance::WrapLongitude(int nDegrees)
{
    if (nDegrees >= 180)
        nDegrees -= 360;
    else if (nDegrees < -179)
        nDegrees += 360;
    return nDegrees;
}

int CAtlasDistance::InsetX(double dLongitude, int nWidth)
{
    const int r = (nWidth + 1) / 2;
    return static_cast<int>(r + r * dLongitude / 180.0);
}

int CAtlasDistance::InsetY(double dLatitude, int nHeight)
{
    const int h2 = nHeight / 2;
    return static_cast<int>(h2 - h2 * dLatitude / 90.0);
}

int CAtlasDistance::RolledX(int x, int nRoll, int nWidth)
{
    const int q = (nWidth + 1) / 4;
    x -= nRoll * q;
    if (x < 0)
        x += 4 * q;
    return x;
}

int CAtlasDistance::InsetRoll(int x1, int x2, int nWidth)
{
    const int q = std::max(1, (nWidth + 1) / 4);
    const int a = std::clamp(x1 / q, 0, 3);  // quarters 0..3 (first..fourth)
    const int b = std::clamp(x2 / q, 0, 3);
    const auto pair = [a, b](int m, int n) { return (a == m && b == n) || (a == n && b == m); };
    if (pair(2, 3))
        return 1;
    if (pair(0, 3) || pair(3, 3))
        return 2;
    if (pair(0, 0) || pair(0, 1))
        return 3;
    int nBest = 0;
    int nBestGap = -1;
    for (int nRoll = 0; nRoll < 4; ++nRoll) {
        const int nGap = std::abs(RolledX(x1, nRoll, nWidth) - RolledX(x2, nRoll, nWidth));
        if (nBestGap < 0 || nGap < nBestGap) {
            nBest = nRoll;
            nBestGap = nGap;
        }
    }
    return nBest;
}
