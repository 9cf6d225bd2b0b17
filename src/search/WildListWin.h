// CWildListWin: the word list of the wildcard word list dialog, a list window of its own class
// in which several words can be selected at once.
#pragma once

#include "widgets/VLListWindow.h"

#define IDC_WILD_LIST 505

class CWildListWin : public CVLListWindow {
    DECLARE_DYNAMIC(CWildListWin)
public:
    CWildListWin() = default;
    ~CWildListWin() override = default;

    // A visible child list with id IDC_WILD_LIST in which a click selects or deselects a word.
    BOOL CreateWordList(const RECT& rect, CWnd* pParentWnd);
};
