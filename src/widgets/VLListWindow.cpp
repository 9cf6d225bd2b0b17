#include "widgets/VLListWindow.h"

#include "base/OnlineReference.h"
#include "base/PaletteSelector.h"
#include "base/Rin.h"
#include "widgets/Dib.h"
#include "widgets/ListRowPainting.h"

#include <algorithm>

namespace {

// Icons of headings: closed (138) and, while expanded, open (322); 323 marks a leaf item and sits
// one indent step further left.
const int kClosedHeadingIcon = 138;
const int kOpenHeadingIcon = 322;
const int kLeafIcon = 323;
const int kIconSize = 16;
const int kIconStep = 17;
// Continuation lines of a wrapped text start this far right of the first.
const int kContinuationIndent = 5;
// The mark after a checked item whose downloaded file is missing: normal and on a selected row.
const UINT kMissingFileMark = 617;
const UINT kMissingFileMarkSelected = 618;

int LeadingBlanks(const CString& strText)
{
    int n = 0;
    while (n < strText.GetLength() && strText[n] == ' ')
        ++n;
    return n;
}

}  // namespace

IMPLEMENT_DYNCREATE(CVLListWindow, CVLListCtrl)

BEGIN_MESSAGE_MAP(CVLListWindow, CVLListCtrl)
    ON_WM_LBUTTONDBLCLK()
    ON_WM_SIZE()
END_MESSAGE_MAP()

CVLListWindow::CVLListWindow()
{
    m_root.m_nLevel = -1;
    m_root.m_hId = TREE_ROOT_ID;
    m_root.m_bExpanded = TRUE;
}

CVLListWindow::~CVLListWindow()
{
    // The window goes first: its rows name nodes of the tree.
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    m_root.DeleteChildren();
    delete m_pMarks[0];
    delete m_pMarks[1];
}

BOOL CVLListWindow::Create(DWORD dwStyle, const RECT& rect, CWnd* pParentWnd, UINT nID)
{
    m_bSorted = (dwStyle & LBS_SORT) != 0;
    dwStyle &= ~static_cast<DWORD>(LBS_SORT | LBS_HASSTRINGS | LBS_OWNERDRAWFIXED);
    dwStyle |= LBS_OWNERDRAWVARIABLE;
    return CVLListCtrl::Create(dwStyle, rect, pParentWnd, nID);
}

// ---- items ----

BOOL CVLListWindow::ChildrenShown(CTreeData* pNode)
{
    if (pNode == &m_root)
        return TRUE;
    return pNode->m_bExpanded && FindRow(pNode->m_hId) >= 0;
}

HTREEITEM CVLListWindow::InsertItem(LPTVINSERTSTRUCT lpInsert)
{
    if (lpInsert == NULL)
        return NULL;
    CTreeData* pParent = (lpInsert->hParent == NULL || lpInsert->hParent == TVI_ROOT)
                             ? &m_root
                             : m_root.FindNodeById(lpInsert->hParent);
    if (pParent == NULL)
        return NULL;
    HTREEITEM hItem = pParent->InsertItem(*lpInsert);
    ++m_nItemCount;
    if (GetSafeHwnd() == NULL || m_bRefilling || !ChildrenShown(pParent))
        return hItem;

    // The row goes where the tree puts the item: after the last shown row of its previous
    // sibling, or right under its parent when it is the first child.
    int nIndex = 0;
    while (pParent->GetChild(nIndex)->m_hId != hItem)
        ++nIndex;
    int nRow = 0;
    if (nIndex > 0) {
        CTreeData* pLast = pParent->GetChild(nIndex - 1);
        while (pLast->m_bExpanded && pLast->HasChildren())
            pLast = pLast->GetChild(pLast->GetChildCount() - 1);
        nRow = FindRow(pLast->m_hId) + 1;
    } else if (pParent != &m_root) {
        nRow = FindRow(pParent->m_hId) + 1;
    }
    if (nRow <= 0 && (nIndex > 0 || pParent != &m_root))
        nRow = -1;  // not found: at the end
    m_bRefilling = TRUE;
    int nNewRow = static_cast<int>(
        SendMessage(LB_INSERTSTRING, static_cast<WPARAM>(nRow), reinterpret_cast<LPARAM>(hItem)));
    m_bRefilling = FALSE;
    if (nNewRow >= 0 && nNewRow <= m_nCurIndex)
        ++m_nCurIndex;
    return hItem;
}

int CVLListWindow::AddString(LPCSTR lpszText)
{
    TVINSERTSTRUCT insert = {};
    insert.hParent = TVI_ROOT;
    insert.hInsertAfter = m_bSorted ? TVI_SORT : TVI_LAST;
    insert.item.mask = TVIF_TEXT;
    insert.item.pszText = const_cast<LPSTR>(lpszText != NULL ? lpszText : "");
    HTREEITEM hItem = InsertItem(&insert);
    return hItem != NULL ? FindRow(hItem) : -1;
}

int CVLListWindow::CountNodes(const CTreeData* pNode)
{
    int n = 1;
    for (int i = 0; i < pNode->GetChildCount(); ++i)
        n += CountNodes(pNode->GetChild(i));
    return n;
}

void CVLListWindow::DeleteDescendantRows(CTreeData* pNode)
{
    int nRow = FindRow(pNode->m_hId);
    if (nRow < 0)
        return;
    // The shown descendants are the rows right below the item's own.
    while (nRow + 1 < GetCount()) {
        HTREEITEM hBelow = GetItemIdAt(nRow + 1);
        if (hBelow == NULL || hBelow == pNode->m_hId || pNode->FindNodeById(hBelow) == NULL)
            break;
        CListBox::DeleteString(static_cast<UINT>(nRow + 1));
    }
}

BOOL CVLListWindow::DeleteItem(HTREEITEM hItem)
{
    if (hItem == NULL || hItem == TREE_ROOT_ID)
        return FALSE;
    CTreeData* pParent = m_root.FindParentOf(hItem);
    if (pParent == NULL)
        return FALSE;
    CTreeData* pNode = pParent->FindNodeById(hItem);
    HTREEITEM hCurrent = GetItemIdAt(m_nCurIndex);
    if (GetSafeHwnd() != NULL) {
        m_bRefilling = TRUE;
        DeleteDescendantRows(pNode);
        int nRow = FindRow(hItem);
        if (nRow >= 0)
            CListBox::DeleteString(static_cast<UINT>(nRow));
        m_bRefilling = FALSE;
    }
    m_nItemCount -= CountNodes(pNode);
    pParent->RemoveChild(hItem);
    if (GetSafeHwnd() != NULL)
        m_nCurIndex = hCurrent != NULL ? FindRow(hCurrent) : -1;
    return TRUE;
}

void CVLListWindow::ResetContent()
{
    if (GetSafeHwnd() != NULL) {
        SetRedraw(FALSE);
        CListBox::ResetContent();
    }
    m_root.DeleteChildren();
    m_nItemCount = 0;
    m_nCurIndex = -1;
    if (GetSafeHwnd() != NULL)
        SetRedraw(TRUE);
}

BOOL CVLListWindow::Expand(HTREEITEM hItem, UINT nCode)
{
    if (nCode != TVE_COLLAPSE && nCode != TVE_EXPAND && nCode != TVE_TOGGLE)
        return FALSE;
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    if (pNode == NULL)
        return FALSE;
    BOOL bExpand = nCode == TVE_EXPAND || (nCode == TVE_TOGGLE && !pNode->m_bExpanded);
    if (pNode->m_bExpanded == bExpand)
        return TRUE;
    pNode->m_bExpanded = bExpand;
    if (pNode->HasChildren())
        Refill();
    return TRUE;
}

BOOL CVLListWindow::IsExpanded(HTREEITEM hItem)
{
    CTreeData* pNode = hItem != NULL ? m_root.FindNodeById(hItem) : NULL;
    return pNode != NULL && pNode->m_bExpanded;
}

void CVLListWindow::Refill()
{
    if (m_bRefilling || GetSafeHwnd() == NULL)
        return;
    m_bRefilling = TRUE;
    const int nTop = GetTopIndex();
    HTREEITEM hSelected = GetItemIdAt(GetCurSel());
    HTREEITEM hCurrent = GetItemIdAt(m_nCurIndex);
    SetRedraw(FALSE);
    CListBox::ResetContent();
    m_root.AddVisibleRows(this);
    // The selected item stays selected; when it was folded away, its nearest shown ancestor
    // takes the selection.
    if (hSelected != NULL) {
        int nRow = FindRow(hSelected);
        for (HTREEITEM hUp = hSelected; nRow < 0;) {
            hUp = m_root.GetNextItem(hUp, TVGN_PARENT);
            if (hUp == NULL || hUp == TREE_ROOT_ID)
                break;
            nRow = FindRow(hUp);
        }
        if (nRow >= 0)
            SetCurSel(nRow);
    }
    m_nCurIndex = hCurrent != NULL ? FindRow(hCurrent) : -1;
    if (GetCount() > 0)
        SetTopIndex(std::min(nTop, GetCount() - 1));
    SetRedraw(TRUE);
    m_bRefilling = FALSE;
}

HTREEITEM CVLListWindow::GetNextItem(HTREEITEM hItem, UINT nCode)
{
    if (nCode == TVGN_ROOT)
        return GetRootItem();
    if (nCode == TVGN_CHILD) {
        CTreeData* pNode = (hItem == NULL || hItem == TVI_ROOT) ? &m_root : m_root.FindNodeById(hItem);
        return pNode != NULL ? pNode->GetNextItem(NULL, TVGN_CHILD) : NULL;
    }
    if (hItem == NULL || hItem == TREE_ROOT_ID)
        return NULL;
    return m_root.GetNextItem(hItem, nCode);
}

BOOL CVLListWindow::ItemHasChildren(HTREEITEM hItem)
{
    CTreeData* pNode = hItem != NULL ? m_root.FindNodeById(hItem) : NULL;
    return pNode != NULL && pNode->HasChildren();
}

CString CVLListWindow::GetItemText(HTREEITEM hItem)
{
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    return pNode != NULL ? pNode->m_strText : CString();
}

int CVLListWindow::GetItemImage(HTREEITEM hItem)
{
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    return pNode != NULL ? pNode->m_nImage : 0;
}

LPARAM CVLListWindow::GetItemValue(HTREEITEM hItem)
{
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    return pNode != NULL ? pNode->m_nValue : 0;
}

BOOL CVLListWindow::SetItemValue(HTREEITEM hItem, LPARAM nValue)
{
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    if (pNode == NULL)
        return FALSE;
    pNode->m_nValue = nValue;
    return TRUE;
}

// ---- rows ----

HTREEITEM CVLListWindow::GetItemIdAt(int nRow)
{
    if (GetSafeHwnd() == NULL || nRow < 0 || nRow >= GetCount())
        return NULL;
    return reinterpret_cast<HTREEITEM>(GetItemData(nRow));
}

HTREEITEM CVLListWindow::GetCurrentItemId()
{
    if (GetSafeHwnd() == NULL)
        return NULL;
    int nSelected = GetCurSel();
    return GetItemIdAt(nSelected >= 0 ? nSelected : m_nCurIndex);
}

int CVLListWindow::FindRow(HTREEITEM hItem)
{
    if (hItem == NULL || GetSafeHwnd() == NULL)
        return -1;
    for (int nRow = GetCount() - 1; nRow >= 0; --nRow)
        if (reinterpret_cast<HTREEITEM>(GetItemData(nRow)) == hItem)
            return nRow;
    return -1;
}

BOOL CVLListWindow::SelectItem(HTREEITEM hItem)
{
    int nRow = FindRow(hItem);
    if (nRow < 0)
        return FALSE;
    SetCurSel(nRow);
    return TRUE;
}

void CVLListWindow::CheckItemFile(HTREEITEM hItem)
{
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    if (pNode == NULL)
        return;
    pNode->m_bChecked = TRUE;
    pNode->m_bFileAvailable = FALSE;
    TRY
    {
        CRin rin(static_cast<DWORD>(pNode->m_nValue));
        COnlineReference reference(rin, rin.FormatRit() + ".rcv");
        pNode->m_bFileAvailable = reference.IsFileAvailable();
    }
    CATCH(CRinException, e)
    {
        pNode->m_bFileAvailable = FALSE;
    }
    END_CATCH
    int nRow = FindRow(hItem);
    CRect rect;
    if (nRow >= 0 && GetItemRect(nRow, &rect) != LB_ERR)
        InvalidateRect(&rect);
}

CDib* CVLListWindow::Mark(BOOL bSelected)
{
    const int n = bSelected ? 1 : 0;
    if (!m_bMarksLooked[n]) {
        m_bMarksLooked[n] = TRUE;
        TRY
        {
            m_pMarks[n] = new CDib(bSelected ? kMissingFileMarkSelected : kMissingFileMark);
        }
        CATCH(CResourceException, e)
        {
            m_pMarks[n] = NULL;
        }
        END_CATCH
        if (m_pMarks[n] != NULL && m_pMarks[n]->IsEmpty()) {
            delete m_pMarks[n];
            m_pMarks[n] = NULL;
        }
    }
    return m_pMarks[n];
}

int CVLListWindow::RowWidth()
{
    CRect client;
    GetClientRect(&client);
    int nWidth = client.Width();
    if ((GetStyle() & WS_VSCROLL) == 0)
        nWidth -= GetScrollBarWidth();
    return std::max(nWidth, 1);
}

int CVLListWindow::DrawRow(CDC* pDC, HTREEITEM hItem, RECT& rect, BOOL bDraw, BOOL bSelected)
{
    CTreeData* pNode = hItem != NULL && hItem != TREE_ROOT_ID ? m_root.FindNodeById(hItem) : NULL;
    if (pNode == NULL || pDC == NULL)
        return 0;
    int nOldMode = pDC->SetBkMode(TRANSPARENT);
    CFont font;
    if (pNode->m_nState & TVIS_BOLD)
        font.CreatePointFont(m_nFontSize - 1, "Arial Bold");
    else
        font.CreatePointFont(m_nFontSize, "Arial");
    CFont* pOldFont = pDC->SelectObject(&font);

    const RECT saved = rect;
    rect.top += 1;
    rect.left += 2;
    rect.right -= 1;
    int nIndent = pNode->m_nLevel + LeadingBlanks(pNode->m_strText) / 2;
    int nImage = pNode->m_nImage;
    if (nImage == kClosedHeadingIcon && pNode->m_bExpanded)
        nImage = kOpenHeadingIcon;
    if (nImage == kLeafIcon && nIndent > 0)
        --nIndent;
    rect.left += std::max(nIndent, 0) * m_nIndent;
    if (nImage != 0) {
        if (bDraw)
            DrawListIcon(pDC, rect.left, rect.top, static_cast<UINT>(nImage), kIconSize);
        rect.left += kIconStep;
    }

    // The text, wrapped; continuation lines a little further right; the mark after the last line.
    CDib* pMark = pNode->m_bChecked && !pNode->m_bFileAvailable ? Mark(bSelected) : NULL;
    const int nMarkWidth = pMark != NULL ? static_cast<int>(pMark->GetWidth()) : 0;
    CString strText = pNode->m_strText;
    strText.Trim();
    const int nWidth = rect.right - rect.left;
    std::vector<CString> lines =
        WrapText(pDC, strText, nWidth - nMarkWidth, nWidth - kContinuationIndent - nMarkWidth);
    TEXTMETRIC tm = {};
    pDC->GetTextMetrics(&tm);
    int nHeight = 0;
    int nLastRight = rect.left;
    for (size_t i = 0; i < lines.size(); ++i) {
        const int x = rect.left + (i > 0 ? kContinuationIndent : 0);
        if (bDraw)
            pDC->TextOut(x, rect.top + nHeight, lines[i]);
        nLastRight = x + pDC->GetTextExtent(lines[i]).cx;
        if (i + 1 < lines.size())
            nHeight += tm.tmHeight;
    }
    if (pMark != NULL && bDraw)
        pMark->Draw(pDC, nLastRight, rect.top + nHeight + 2);
    nHeight += tm.tmHeight;
    if (nImage != 0)
        nHeight = std::max(nHeight, kIconSize);

    pDC->SelectObject(pOldFont);
    pDC->SetBkMode(nOldMode);
    rect.left = saved.left;
    rect.top = saved.top;
    rect.right = saved.right;
    if (!bDraw)
        rect.bottom = saved.top + 1 + nHeight;
    rect.bottom += 1;
    return nHeight;
}

void CVLListWindow::DrawItem(LPDRAWITEMSTRUCT lpDrawItemStruct)
{
    CDC* pDC = CDC::FromHandle(lpDrawItemStruct->hDC);
    if (lpDrawItemStruct->itemID == static_cast<UINT>(-1)) {
        if (lpDrawItemStruct->itemState & ODS_FOCUS)
            pDC->DrawFocusRect(&lpDrawItemStruct->rcItem);
        return;
    }
    CAppPaletteSelector palette(pDC);
    const BOOL bSelected = (lpDrawItemStruct->itemState & ODS_SELECTED) != 0;
    COLORREF crBack = bSelected ? PALETTERGB(0, 0, 0) : GetBkColor();
    COLORREF crOldText = pDC->SetTextColor(bSelected ? PALETTERGB(255, 255, 255) : PALETTERGB(0, 0, 0));
    COLORREF crOldBack = pDC->SetBkColor(crBack);
    CRect row(lpDrawItemStruct->rcItem);
    pDC->FillSolidRect(&row, crBack);
    CRect text;
    GetClientRect(&text);
    text.right = text.left + RowWidth();
    text.top = row.top;
    text.bottom = row.bottom;
    const HTREEITEM hItem = reinterpret_cast<HTREEITEM>(lpDrawItemStruct->itemData);
    DrawRow(pDC, hItem, text, TRUE, bSelected);
    pDC->SetTextColor(crOldText);
    pDC->SetBkColor(crOldBack);
    if (lpDrawItemStruct->itemState & ODS_FOCUS)
        pDC->DrawFocusRect(&row);
    const int nRow = static_cast<int>(lpDrawItemStruct->itemID);
    if (bSelected && nRow != m_nCurIndex && !m_bRefilling) {
        m_nCurIndex = nRow;
        Notify(TVN_SELCHANGED, CPoint(0, 0));
    }
}

void CVLListWindow::MeasureItem(LPMEASUREITEMSTRUCT lpMeasureItemStruct)
{
    const int nWidth = RowWidth();
    RECT rect = {0, 0, nWidth, 0};
    CClientDC dc(this);
    DrawRow(&dc, reinterpret_cast<HTREEITEM>(lpMeasureItemStruct->itemData), rect, FALSE, FALSE);
    lpMeasureItemStruct->itemWidth = static_cast<UINT>(nWidth);
    lpMeasureItemStruct->itemHeight = static_cast<UINT>(std::max(1, static_cast<int>(rect.bottom - rect.top)));
}

// ---- messages ----

void CVLListWindow::Notify(UINT nCode, CPoint point)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    CWnd* pTarget = GetOwner();
    if (pTarget == NULL)
        pTarget = pParent;
    const HTREEITEM hItem = GetCurrentItemId();
    CTreeData* pNode = hItem != NULL ? m_root.FindNodeById(hItem) : NULL;
    if (pNode == NULL || pNode == &m_root)
        return;
    NMTREEVIEW notify = {};
    notify.hdr.hwndFrom = m_hWnd;
    notify.hdr.idFrom = static_cast<UINT_PTR>(GetDlgCtrlID());
    notify.hdr.code = nCode;
    notify.action = 0;
    TVITEM item = {};
    item.mask = TVIF_HANDLE | TVIF_STATE | TVIF_PARAM;
    item.hItem = hItem;
    item.state = pNode->m_nState | TVIS_SELECTED;
    item.lParam = pNode->m_nValue;
    notify.itemOld = item;
    notify.itemNew = item;
    notify.ptDrag = point;
    pTarget->SendMessage(WM_NOTIFY, static_cast<WPARAM>(GetDlgCtrlID()), reinterpret_cast<LPARAM>(&notify));
}

void CVLListWindow::OnLButtonDblClk(UINT nFlags, CPoint point)
{
    if (m_bToggleOnDblClk) {
        const HTREEITEM hItem = GetCurrentItemId();
        CTreeData* pNode = hItem != NULL ? m_root.FindNodeById(hItem) : NULL;
        if (pNode != NULL && pNode != &m_root) {
            pNode->m_bExpanded = !pNode->m_bExpanded;
            if (pNode->HasChildren())
                Refill();
        }
    }
    const HWND hWnd = m_hWnd;
    Notify(NM_DBLCLK, point);
    // The receiver may have closed the list.
    if (::IsWindow(hWnd) && CWnd::FromHandlePermanent(hWnd) == this)
        CVLListCtrl::OnLButtonDblClk(nFlags, point);
}

void CVLListWindow::OnSize(UINT nType, int cx, int cy)
{
    CVLListCtrl::OnSize(nType, cx, cy);
    if (cx != m_nLastWidth && m_nLastWidth != -1)
        Refill();
    m_nLastWidth = cx;
    m_nLastHeight = cy;
}
