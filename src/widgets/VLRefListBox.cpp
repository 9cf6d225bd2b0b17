#include "widgets/VLRefListBox.h"

#include "base/DataFolders.h"
#include "base/Reference.h"
#include "base/ReferenceList.h"
#include "base/VLMessages.h"
#include "widgets/Dib.h"
#include "widgets/PrinterChoice.h"

#include <afxdlgs.h>

#include <algorithm>
#include <vector>

namespace {

const int kHeadingIcon = 138;
const int kLeafIcon = 323;
const int kMaxRowText = 255;

// The printed page is laid out on a design page of these units, scaled to the printer.
const double kDesignWidth = 4887.0;
const double kDesignHeight = 6391.0;
const int kHeaderTop = 100;
const int kHeadingTop = 200;
const int kBodyTop = 500;
const int kLineHeight = 160;
const int kBottomMargin = 500;
const int kRightMargin = 500;
const int kFooterFromBottom = 100;
const int kHeadingLeft = 500;
const int kHeadingContinuation = 550;
const int kArticleLeft = 700;
const int kArticleWrappedLeft = 600;
const int kArticleContinuation = 650;
const int kMediaLeft = 880;
const int kPictureLeft = 700;
const int kPictureSize = 160;
const int kMaxPicturesPerPage = 200;

const char kPrintedFrom[] = "Printed from Veltra";
const char kFooterNotice[] = "Veltra Multimedia Encyclopedia. Printed for personal reference only.";

// Splits a text that is wider than nWidth at its last blank before the edge: the first part
// fits (or is a single word), the rest follows. The rest is empty when the text fits.
void SplitAtEdge(CDC* pDC, const CString& strText, int nWidth, CString& strFirst, CString& strRest)
{
    strFirst = strText;
    strRest.Empty();
    while (pDC->GetTextExtent(strFirst).cx > nWidth) {
        int nBlank = strFirst.ReverseFind(' ');
        if (nBlank <= 0)
            break;
        strFirst = strText.Left(nBlank);
        strFirst.TrimRight();
    }
    strRest = strText.Mid(strFirst.GetLength());
    strRest.TrimLeft();
}

struct PagePicture {
    CRect rect;
    UINT nPicture;
};

}  // namespace

BEGIN_MESSAGE_MAP(CVLRefListBox, CVLListWindow)
    ON_WM_CREATE()
    ON_NOTIFY_REFLECT(NM_DBLCLK, OnDoubleClick)
    ON_WM_KEYDOWN()
    ON_WM_KEYUP()
END_MESSAGE_MAP()

CVLRefListBox::CVLRefListBox() = default;

CVLRefListBox::~CVLRefListBox()
{
    // The rows borrow the references: the window goes before the list.
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
    delete m_pResults;
    m_pResults = NULL;
}

int CVLRefListBox::OnCreate(LPCREATESTRUCT lpCreateStruct)
{
    return CVLListWindow::OnCreate(lpCreateStruct) == -1 ? -1 : 0;
}

UINT CVLRefListBox::KindIcon(LONG nKind)
{
    return GetReferenceKindIconId(nKind);
}

UINT CVLRefListBox::KindPrintPicture(LONG nKind)
{
    switch (nKind) {
    case REFKIND_ANIMATION: return 199;
    case REFKIND_VIDEO: return 215;
    case REFKIND_PICTURE: return 201;
    case REFKIND_SOUND: return 205;
    case REFKIND_SIMULATION: return 204;
    case REFKIND_MAP: return 200;
    case REFKIND_VIRTUALREALITY:
    case REFKIND_BUBBLE: return 202;
    default: return 0;
    }
}

LPCSTR CVLRefListBox::JobName(int nMode)
{
    return nMode == VLRL_TOPIC_SEARCH ? "Veltra Multimedia Encyclopedia Topic Search"
                                      : "Veltra Multimedia Encyclopedia Word Search";
}

CString CVLRefListBox::RowText(CReference* pReference)
{
    if (pReference == NULL)
        return CString();
    CString strText = pReference->GetTitle().Left(kMaxRowText);
    if (pReference->HasMediaNote()) {
        CString strNote;
        pReference->GetMediaNote(strNote);
        if (strText.GetLength() + strNote.GetLength() <= kMaxRowText)
            strText += strNote;
    }
    return strText;
}

BOOL CVLRefListBox::AddResults(CReferenceList* pList)
{
    // The rows go first: they borrow the references of the list held now.
    ResetContent();
    delete m_pResults;
    m_pResults = pList;
    if (pList == NULL)
        return TRUE;

    if (GetSafeHwnd() != NULL)
        SetRedraw(FALSE);
    HTREEITEM hParent = TVI_ROOT;
    LONG nPreviousCode = -1;
    BOOL bFirst = TRUE;
    for (CReference* pReference = pList->GetFirstReference(); pReference != NULL;
         pReference = pList->GetNextReference()) {
        const LONG nCode = pReference->GetEntryCode();
        if (nCode == REFENTRY_HEADING)
            hParent = NULL;
        const int nIcon = static_cast<int>(KindIcon(pReference->GetKind()));
        const CString strText = RowText(pReference);
        TVINSERTSTRUCT insert = {};
        insert.hParent = hParent;
        insert.hInsertAfter = TVI_LAST;
        insert.item.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM;
        insert.item.lParam = reinterpret_cast<LPARAM>(pReference);
        insert.item.iImage = nIcon;
        insert.item.iSelectedImage = nIcon;
        insert.item.pszText = const_cast<LPSTR>(static_cast<LPCSTR>(strText));
        if (nCode == REFENTRY_HEADING) {
            insert.item.mask |= TVIF_CHILDREN | TVIF_STATE;
            insert.item.cChildren = 1;
            insert.item.iImage = kHeadingIcon;
            insert.item.state = insert.item.stateMask = TVIS_BOLD;
        } else if (nCode == 2) {
            insert.item.mask |= TVIF_STATE;
            insert.item.state = insert.item.stateMask = TVIS_BOLD;
        } else if (nCode == 3 && (pReference->GetRefType() == 1 || nIcon == 0)) {
            insert.item.iImage = kLeafIcon;
        }
        // The item's value is the reference (borrowed from the held list).
        HTREEITEM hItem = InsertItem(&insert);
        if (hItem == NULL)
            continue;
        // Headings gather the rows after them; within a heading, a change to an entry code
        // above 3 opens a deeper level.
        if (hParent == NULL) {
            if (nCode == REFENTRY_HEADING)
                hParent = hItem;
        } else if ((bFirst || nCode != nPreviousCode) && nCode > 3) {
            hParent = hItem;
        }
        nPreviousCode = nCode;
        bFirst = FALSE;
    }
    if (GetSafeHwnd() != NULL)
        SetRedraw(TRUE);
    return TRUE;
}

BOOL CVLRefListBox::FindFirstArticle(HTREEITEM hFirst, HTREEITEM* phParent, HTREEITEM* phItem)
{
    auto IsArticle = [this](HTREEITEM hItem) {
        auto* pReference = reinterpret_cast<CReference*>(GetItemValue(hItem));
        return pReference != NULL && pReference->GetNumber() != 0 && pReference->GetKind() == REFKIND_ARTICLE;
    };
    for (HTREEITEM hTop = hFirst; hTop != NULL; hTop = GetNextSiblingItem(hTop)) {
        if (IsArticle(hTop)) {
            if (phParent != NULL)
                *phParent = NULL;
            if (phItem != NULL)
                *phItem = hTop;
            return TRUE;
        }
        for (HTREEITEM hChild = GetChildItem(hTop); hChild != NULL; hChild = GetNextSiblingItem(hChild))
            if (IsArticle(hChild)) {
                if (phParent != NULL)
                    *phParent = hTop;
                if (phItem != NULL)
                    *phItem = hChild;
                return TRUE;
            }
    }
    if (phParent != NULL)
        *phParent = NULL;
    if (phItem != NULL)
        *phItem = NULL;
    return FALSE;
}

CReference* CVLRefListBox::SelectFirstArticle()
{
    HTREEITEM hFirst = GetRootItem();
    if (hFirst == NULL)
        return NULL;
    HTREEITEM hParent = NULL, hItem = NULL;
    if (!FindFirstArticle(hFirst, &hParent, &hItem))
        return NULL;
    if (hParent != NULL)
        Expand(hParent, TVE_EXPAND);
    SelectItem(hItem);
    return reinterpret_cast<CReference*>(GetItemValue(hItem));
}

// ---- messages ----

void CVLRefListBox::OnDoubleClick(NMHDR* pNotifyStruct, LRESULT* pResult)
{
    auto* pNotify = reinterpret_cast<NMTREEVIEW*>(pNotifyStruct);
    auto* pReference = reinterpret_cast<CReference*>(pNotify->itemNew.lParam);
    if (pReference != NULL) {
        if (CWnd* pParent = GetParent())
            pParent->SendMessage(VLM_RESULT_CHOSEN, 0, reinterpret_cast<LPARAM>(pReference));
    }
    if (pResult != NULL)
        *pResult = 0;
}

void CVLRefListBox::PassKey(UINT message, UINT nChar, UINT nRepCnt, UINT nFlags)
{
    if (nChar != VK_ESCAPE && nChar != VK_F2)
        return;
    if (CWnd* pParent = GetParent())
        pParent->PostMessage(message, nChar, MAKELPARAM(nRepCnt, nFlags));
}

void CVLRefListBox::OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    PassKey(WM_KEYDOWN, nChar, nRepCnt, nFlags);
}

void CVLRefListBox::OnKeyUp(UINT nChar, UINT nRepCnt, UINT nFlags)
{
    PassKey(WM_KEYUP, nChar, nRepCnt, nFlags);
}

// ---- printing ----

void CVLRefListBox::Print(LPCSTR lpszHeading, int nMode)
{
    const int nCount = m_pResults != NULL ? m_pResults->GetCount() : 0;
    if (nCount < 1)
        return;
    int nPageLimit = 0;
    if (GetAppProfileString(VL_PRODUCT_SECTION, "LPL", "").CompareNoCase("y") == 0)
        nPageLimit = GetAppProfileInt(VL_PRODUCT_SECTION, "MP", 0);

    HDC hdc = CPrinterChoice::AskPrinter(this, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                                   PD_NOSELECTION | PD_RETURNDC);
    if (hdc == NULL)
        return;
    CDC dc;
    dc.Attach(hdc);
    if (dc.StartDoc(JobName(nMode)) <= 0) {
        dc.DeleteDC();
        return;
    }
    int nLastRow = -1;
    int nPages = 0;
    while (nLastRow < nCount - 1) {
        const int nHandled = PrintPage(&dc, nLastRow, lpszHeading);
        ++nPages;
        if (nHandled <= nLastRow)
            break;  // nothing could be placed: no endless job
        nLastRow = nHandled;
        if (nPageLimit > 0 && nPages >= nPageLimit)
            break;
    }
    dc.EndDoc();
    dc.DeleteDC();
}

int CVLRefListBox::PrintPage(CDC* pDC, int nLastRow, LPCSTR lpszHeading)
{
    const int nCount = m_pResults != NULL ? m_pResults->GetCount() : 0;
    const int nHorzRes = pDC->GetDeviceCaps(HORZRES);
    const int nVertRes = pDC->GetDeviceCaps(VERTRES);
    const double sx = nHorzRes / kDesignWidth;
    const double sy = nVertRes / kDesignHeight;
    auto X = [sx](int n) { return static_cast<int>(n * sx); };
    auto Y = [sy](int n) { return static_cast<int>(n * sy); };

    CFont normal, small, bold;
    normal.CreatePointFont(110, "Arial", pDC);
    small.CreatePointFont(70, "Arial", pDC);
    LOGFONT lf = {};
    normal.GetLogFont(&lf);
    lf.lfWeight = FW_BOLD;
    lf.lfHeight = -(12 * pDC->GetDeviceCaps(LOGPIXELSY) / 72);
    bold.CreateFontIndirect(&lf);

    pDC->StartPage();
    const UINT nOldAlign = pDC->SetTextAlign(TA_LEFT | TA_TOP);
    CFont* pOldFont = pDC->SelectObject(&small);
    const COLORREF crOldText = pDC->SetTextColor(RGB(0, 0, 0));
    const int nOldMode = pDC->SetBkMode(TRANSPARENT);

    auto Centred = [pDC, nHorzRes](const CString& strText, int y) {
        pDC->TextOut((nHorzRes - pDC->GetTextExtent(strText).cx) / 2, y, strText);
    };
    Centred(kPrintedFrom, Y(kHeaderTop));
    CString strHeading = lpszHeading != NULL ? lpszHeading : "";
    strHeading.MakeUpper();
    Centred(strHeading, Y(kHeadingTop));

    const int nRight = nHorzRes - X(kRightMargin);
    const int nBottom = nVertRes - Y(kBottomMargin);
    std::vector<PagePicture> pictures;
    int y = Y(kBodyTop);
    int nRow = nLastRow + 1;
    BOOL bPlacedAny = FALSE;
    for (; nRow < nCount; ++nRow) {
        CReference* pReference = m_pResults->GetAtIndex(nRow);
        if (pReference == NULL)
            continue;
        const LONG nCode = pReference->GetEntryCode();
        if (nCode != REFENTRY_HEADING && nCode != 3)
            continue;
        const BOOL bArticle = nCode == 3 && pReference->GetKind() == REFKIND_ARTICLE;
        pDC->SelectObject(nCode == REFENTRY_HEADING ? &bold : &normal);
        CString strText = RowText(pReference);
        strText.Trim();
        int nLeft = 0, nContinuation = 0;
        if (nCode == REFENTRY_HEADING) {
            nLeft = X(kHeadingLeft);
            nContinuation = X(kHeadingContinuation);
        } else if (bArticle) {
            const BOOL bFits = pDC->GetTextExtent(strText).cx <= nRight - X(kArticleLeft);
            nLeft = bFits ? X(kArticleLeft) : X(kArticleWrappedLeft);
            nContinuation = bFits ? X(kArticleLeft) : X(kArticleContinuation);
        } else {
            nLeft = nContinuation = X(kMediaLeft);
        }
        CString strFirst, strRest;
        SplitAtEdge(pDC, strText, nRight - nLeft, strFirst, strRest);
        const int nTop = y;
        int nEnd = nTop + Y(kLineHeight);
        CRect rest(nContinuation, nEnd, nRight, nEnd);
        if (!strRest.IsEmpty()) {
            pDC->DrawText(strRest, &rest, DT_CALCRECT | DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
            rest.right = nRight;
            nEnd = rest.bottom;
        }
        // A row that does not fit starts the next page, unless it is the page's first.
        if (nEnd > nBottom && bPlacedAny)
            break;
        pDC->TextOut(nLeft, nTop, strFirst);
        if (!strRest.IsEmpty())
            pDC->DrawText(strRest, &rest, DT_WORDBREAK | DT_NOCLIP | DT_NOPREFIX);
        if (nCode == 3 && !bArticle) {
            const UINT nPicture = KindPrintPicture(pReference->GetKind());
            if (nPicture != 0 && pictures.size() < static_cast<size_t>(kMaxPicturesPerPage))
                pictures.push_back(
                    {CRect(X(kPictureLeft), nTop, X(kPictureLeft) + X(kPictureSize), nTop + X(kPictureSize)),
                     nPicture});
        }
        y = nEnd;
        bPlacedAny = TRUE;
    }

    pDC->SelectObject(&small);
    Centred(kFooterNotice, nVertRes - Y(kFooterFromBottom) - pDC->GetTextExtent(kFooterNotice).cy);
    for (const PagePicture& picture : pictures) {
        TRY
        {
            CDib dib(picture.nPicture);
            if (!dib.IsEmpty())
                dib.DrawInRect(pDC, &picture.rect);
        }
        CATCH(CResourceException, e)
        {
            // A missing picture is left out; the text is printed.
        }
        END_CATCH
    }

    pDC->SetBkMode(nOldMode);
    pDC->SetTextColor(crOldText);
    pDC->SelectObject(pOldFont);
    pDC->SetTextAlign(nOldAlign);
    pDC->EndPage();
    return nRow - 1;
}
