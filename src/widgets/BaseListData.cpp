#include "widgets/BaseListData.h"

IMPLEMENT_DYNAMIC(CBaseListData, CObject)

CBaseListData::CBaseListData() = default;

CBaseListData::~CBaseListData() = default;

long CBaseListData::GetNextItem(long nRow) { return EnsureLoaded(nRow + 1); }

long CBaseListData::GetPrevItem(long nRow) { return EnsureLoaded(nRow - 1); }

long CBaseListData::GetItemAt(long nRow) { return EnsureLoaded(nRow); }
