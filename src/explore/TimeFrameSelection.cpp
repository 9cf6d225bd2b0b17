#include "explore/TimeFrameSelection.h"

#include "search/SelectionCode.h"

#include <cstring>
#include <string>

namespace {

const char* const s_aSpanNames[] = {"Year", "Decade", "Century", "Millennium", "Era"};
const char* const s_aCategoryNames[TF_CATEGORY_COUNT] = {
    "All Categories", "Geography",    "History",
    "Humanities",     "Industry / Technology", "Life Science",
    "Physical Science / Maths", "Recreation", "Social Science"};
const char* const s_aCategoryShortNames[TF_CATEGORY_COUNT] = {
    "All categories", "Geography",       "History",    "Humanities",    "Industry/Tech.",
    "Life Science",   "Phys. Sci/Maths", "Recreation", "Social Science"};

}  // namespace

int TimeFrameSelection::GetYear() const
{
    return static_cast<int>(nDigits[0] * 1000 + nDigits[1] * 100 + nDigits[2] * 10 + nDigits[3]);
}

void TimeFrameSelection::SetYear(int nYear)
{
    nYear %= 10000;
    if (nYear < 0)
        nYear += 10000;
    nDigits[3] = nYear % 10;
    nDigits[2] = nYear % 100 / 10;
    nDigits[1] = nYear % 1000 / 100;
    nDigits[0] = nYear / 1000;
}

void TimeFrameSelection::ZeroBelowSpan()
{
    for (LONG i = 0; i < nWildcards && i < 4; ++i)
        nDigits[3 - i] = 0;
}

BOOL TimeFrameSelection::IsSameChoice(const TimeFrameSelection& other) const
{
    return nNothingChosen == other.nNothingChosen && std::memcmp(nDigits, other.nDigits, sizeof(nDigits)) == 0 &&
           nWildcards == other.nWildcards && nEraMode == other.nEraMode && nAD == other.nAD &&
           nCategory == other.nCategory && nEra == other.nEra;
}

void TimeFrameSelection::BuildCode()
{
    const int nSpan = nWildcards >= 0 && nWildcards <= 3 ? static_cast<int>(nWildcards) : 0;
    ZeroBelowSpan();
    const std::string code = selection_code::BuildSelectionCode(nAD != 0, GetYear(), nSpan);
    strCode = code.c_str();
    strTitle.Format("%04d", GetYear());
    if (nSpan != selection_code::kYear)
        strTitle += "'s";
    if (nAD == 0)
        strTitle += " B.C.";
}

BOOL TimeFrameSelection::ReadCode(LPCSTR lpszCode)
{
    selection_code::Period period;
    if (lpszCode == NULL || !selection_code::ParseSelectionCode(lpszCode, period))
        return FALSE;
    SetYear(period.firstYear);
    nWildcards = period.span;
    nSpanMode = period.span;
    nAD = period.ad ? 1 : 0;
    return TRUE;
}

LPCSTR TimeFrameSpanName(int nMode)
{
    return nMode >= 0 && nMode <= TF_MODE_ERA ? s_aSpanNames[nMode] : "";
}

LPCSTR TimeFrameCategoryName(int nCategory)
{
    return s_aCategoryNames[nCategory > 0 && nCategory < TF_CATEGORY_COUNT ? nCategory : 0];
}

LPCSTR TimeFrameCategoryShortName(int nCategory)
{
    return s_aCategoryShortNames[nCategory > 0 && nCategory < TF_CATEGORY_COUNT ? nCategory : 0];
}

LONG TimeFrameCategoryMask(int nCategory)
{
    return nCategory > 0 && nCategory < TF_CATEGORY_COUNT ? 1L << (nCategory - 1) : 0;
}

BOOL TimeFrameCodeOfLink(const CString& strTarget, CString& strCode)
{
    const int nPrefix = static_cast<int>(std::strlen(TF_LINK_PREFIX));
    if (strTarget.GetLength() < nPrefix || _strnicmp(strTarget, TF_LINK_PREFIX, nPrefix) != 0)
        return FALSE;
    CString strRest = strTarget.Mid(nPrefix);
    if (strRest.Left(2) == "//")
        strRest = strRest.Mid(2);
    selection_code::Period period;
    if (!selection_code::ParseSelectionCode(static_cast<LPCSTR>(strRest), period))
        return FALSE;
    strCode = strRest;
    return TRUE;
}
