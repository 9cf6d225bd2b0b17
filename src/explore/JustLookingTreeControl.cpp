#include "explore/JustLookingTreeControl.h"

#include "base/OnlineReference.h"
#include "base/PaletteSelector.h"
#include "base/Rin.h"

IMPLEMENT_DYNAMIC(CJustLookingTreeControl, CVLVListWnd)

const COLORREF CJustLookingTreeControl::s_crDimmed = PALETTERGB(128, 128, 128);

namespace {

const COLORREF kRowBlack = PALETTERGB(0, 0, 0);
const COLORREF kRowWhite = PALETTERGB(255, 255, 255);

}  // namespace

CJustLookingTreeControl::CJustLookingTreeControl(CBaseListData* pData) : CVLVListWnd(pData) {}

CJustLookingTreeControl::~CJustLookingTreeControl() = default;

BOOL CJustLookingTreeControl::IsItemAvailable(long nId)
{
    if (nId <= 0)
        return TRUE;
    const CRin rin(static_cast<DWORD>(nId));
    if (!rin.IsOnline())
        return TRUE;
    BOOL bAvailable = TRUE;
    TRY
    {
        COnlineReference reference(rin, rin.FormatRit() + ".rcv");
        bAvailable = reference.IsFileAvailable();
    }
    CATCH(CRinException, e)
    {
        bAvailable = TRUE;  // no kind of item: nothing to download
    }
    END_CATCH
    return bAvailable;
}

void CJustLookingTreeControl::Paint()
{
    const UINT nID = static_cast<UINT>(GetDlgCtrlID());
    if (nID == VLV_ID_ICONROWS || nID == VLV_ID_ICONROWS2) {
        CVLVListWnd::Paint();
        return;
    }
    CPaintDC dc(this);
    CAppPaletteSelector palette(&dc);
    CFont font;
    font.CreatePointFont(GetPointSize(), "Arial");
    CFont* pOldFont = dc.SelectObject(&font);
    CRect client;
    GetClientRect(&client);
    const int nOldMode = dc.SetBkMode(TRANSPARENT);
    const CVirtualVisibleRectArray& rows = GetVisibleRows();
    CBaseListData* pData = GetData();
    int nBottom = client.top;
    for (int i = 0; i < rows.GetSize() && pData != NULL; ++i) {
        const VLVISIBLEROW& row = rows.GetAt(i);
        TVITEM item = {};
        item.hItem = reinterpret_cast<HTREEITEM>(static_cast<INT_PTR>(row.nRow));
        if (!pData->GetItem(&item))
            break;
        const CString strTitle = item.pszText != NULL ? CString(item.pszText) : CString();
        const BOOL bCurrent = row.nRow == GetCurrentItemData();
        const BOOL bAvailable = IsItemAvailable(static_cast<long>(item.lParam));

        CRect band(client.left, row.rect.top, client.right, row.rect.bottom);
        if (i == 0)
            band.top = client.top;
        dc.FillSolidRect(&band, bCurrent ? ::GetSysColor(COLOR_HIGHLIGHT) : kRowWhite);
        COLORREF crText = bCurrent ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : kRowBlack;
        if (!bAvailable)
            crText = s_crDimmed;
        dc.SetTextColor(crText);
        RECT rect = row.rect;
        if (GetRowHeight() > 0)
            dc.IntersectClipRect(&band);
        MeasureRow(strTitle, rect, &dc, 0, !bAvailable);
        if (GetRowHeight() > 0)
            dc.SelectClipRgn(NULL);
        nBottom = row.rect.bottom;
    }
    if (nBottom < client.bottom) {
        CRect below(client.left, nBottom, client.right, client.bottom);
        dc.FillSolidRect(&below, kRowWhite);
    }
    dc.SetBkMode(nOldMode);
    dc.SelectObject(pOldFont);
}
