// TimeFrameSelection: what the Dido Dovov's time machine has chosen, the record its history
// states carry. The year is four digits, thousands first; the span mode says how many of the
// low digits stand for the whole span (0 Year, 1 Decade, 2 Century, 3 Millennium; 4 Era, when
// the items come from the eras file instead). The selection code is the word under which the
// word index files the period (search/SelectionCode.h); the display title names it for the
// reader ("1990's", "0500's B.C.", "1492", an era's title).
#pragma once

#include <afx.h>

#define TF_MODE_YEAR 0
#define TF_MODE_DECADE 1
#define TF_MODE_CENTURY 2
#define TF_MODE_MILLENNIUM 3
#define TF_MODE_ERA 4
#define TF_CATEGORY_COUNT 9  // 0 all, then the eight subject categories
#define TF_LINK_PREFIX "tf:"

struct TimeFrameSelection {
    LONG nNothingChosen = 1;     // set while the view shows its welcome page
    LONG nDigits[4] = {0, 0, 0, 0};  // thousands, hundreds, tens, units
    LONG nWildcards = 0;         // digits the span covers: 3 millennium ... 0 year
    LONG nEraMode = 0;           // 1 while the era list is the source of items
    LONG nSpanMode = TF_MODE_YEAR;
    LONG nAD = 0;                // 1 A.D., 0 B.C.
    LONG nCategory = 0;          // 0 all, 1-8
    LONG nEra = 0;               // 0 none, else 1-based into the eras table
    CString strCode;
    CString strTitle;

    // The year the four digits give (0-9999).
    int GetYear() const;
    // Sets the four digits from a year (taken modulo 10000).
    void SetYear(int nYear);
    // Zeroes the digits below the span of the wildcard count.
    void ZeroBelowSpan();

    // The same choice: every number but the span mode (the code and the title follow from the
    // numbers and are not compared).
    BOOL IsSameChoice(const TimeFrameSelection& other) const;

    // Builds the selection code and the display title from the digits, the span and A.D./B.C.
    // (Year to Millennium modes): Year 1492 A.D. gives A1492D and "1492", the 1990s A199#D and
    // "1990's", the decade of 500 B.C. B50#C and "0500's B.C.".
    void BuildCode();
    // Reads a selection code into the digits, the span (mode and wildcard count) and A.D./B.C.;
    // the era mode is left. FALSE, with nothing changed, when the text is no code.
    BOOL ReadCode(LPCSTR lpszCode);
};

// The names of the spans by mode ("Year" ... "Era"); empty outside 0-4.
LPCSTR TimeFrameSpanName(int nMode);
// The category list's long names and the short ones shown on its face and in the status strip,
// by category index 0-8 (0 and any other index: all categories).
LPCSTR TimeFrameCategoryName(int nCategory);
LPCSTR TimeFrameCategoryShortName(int nCategory);
// The category bit a reference carries for a category index (1 0x01 ... 8 0x80); 0 for all.
LONG TimeFrameCategoryMask(int nCategory);
// The selection code of a "tf:" link's target: the text after "tf:" and an optional "//".
// FALSE when the target is no "tf:" link or the rest does not read as a code.
BOOL TimeFrameCodeOfLink(const CString& strTarget, CString& strCode);
