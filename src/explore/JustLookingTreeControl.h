// CJustLookingTreeControl: the FIND list window of the browsing view, a virtual list window over
// the show list or the filtered database list. It paints its own rows: an online item whose
// downloaded file (its RIT text + ".rcv") is not in the download folder is drawn dimmed, with
// the not-downloaded mark. Under the media browser's control ids (28930, 160002) it draws the
// base's rows with their kind icons.
#pragma once

#include "widgets/VLVListWnd.h"

class CJustLookingTreeControl : public CVLVListWnd {
    DECLARE_DYNAMIC(CJustLookingTreeControl)
public:
    explicit CJustLookingTreeControl(CBaseListData* pData);
    ~CJustLookingTreeControl() override;

    void Paint() override;

    // Whether the item of a content number can be shown: FALSE only for an online item whose
    // file is not in the download folder.
    static BOOL IsItemAvailable(long nId);

    // The colour of the text of a row that cannot be shown.
    static const COLORREF s_crDimmed;
};
