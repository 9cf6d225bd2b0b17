// CAtlasTreeControl: the list window of the atlas's place lists (Map Search and the Distance
// Calculator), a virtual list window over a CAtlasVirtualList or CAtlasDistCalcVirtualList. Its
// owners create it visible, clipping siblings, with a border and a vertical scroll bar.
#pragma once

#include "widgets/VLVListWnd.h"

class CAtlasTreeControl : public CVLVListWnd {
    DECLARE_DYNAMIC(CAtlasTreeControl)
public:
    explicit CAtlasTreeControl(CBaseListData* pData);
    ~CAtlasTreeControl() override;
};
