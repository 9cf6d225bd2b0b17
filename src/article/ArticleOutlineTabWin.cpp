#include "article/ArticleOutlineTabWin.h"

#include "article/ArticleDocument.h"
#include "article/ArticleMediaOpen.h"
#include "article/TabListPrinter.h"
#include "base/VLMessages.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CArticleOutlineTabWin, CArticleListTabWin)

namespace {

const UINT kTableIcon = 203;
const int kTableImage = 4034;
const UINT kExtraIcon = 330;
const int kExtraImage = 330;

CString At(const CStringArray* pArray, int i)
{
    return pArray != NULL && i < pArray->GetSize() ? pArray->GetAt(i) : CString();
}

}  // namespace

CArticleOutlineTabWin::CArticleOutlineTabWin() = default;

CArticleOutlineTabWin::~CArticleOutlineTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

COLORREF CArticleOutlineTabWin::GetActiveTextColor()
{
    return PALETTERGB(255, 255, 255);
}

void CArticleOutlineTabWin::MediaIcons(char chType, int& nImage, UINT& nIcon)
{
    static const struct {
        char chType;
        int nImage;
        UINT nIcon;
    } icons[] = {{'A', 4030, 199}, {'B', 4035, 202}, {'I', 4033, 204}, {'M', 143, 200},
                 {'P', 4032, 201}, {'Q', 4035, 202}, {'S', 187, 205}, {'V', 4031, 215}};
    nImage = 0;
    nIcon = 0;
    for (const auto& icon : icons)
        if (icon.chType == chType) {
            nImage = icon.nImage;
            nIcon = icon.nIcon;
        }
}

int CArticleOutlineTabWin::FindTableAtLine(CArticleDocument* pDocument, int nPosition)
{
    const int nTables = pDocument->GetTableCount();
    for (int t = 0; t < nTables; ++t) {
        LPBYTE pEntry = pDocument->GetTableEntry(t);
        if (pEntry != NULL && pEntry[7] == nPosition)
            return t;
    }
    return -1;
}

int CArticleOutlineTabWin::FindMediaAtLine(CArticleDocument* pDocument, int nPosition)
{
    int nMedia = pDocument->GetMediaEntryCount();
    if (pDocument->GetFormatYear() < ARTICLE_NEW_LAYOUT_YEAR)
        nMedia /= 2;
    for (int m = 0; m < nMedia; ++m) {
        LPBYTE pEntry = pDocument->GetMediaEntry(m);
        if (pEntry != NULL && pEntry[5] == nPosition)
            return m;
    }
    return -1;
}

void CArticleOutlineTabWin::AddLine(int nLine, const CString& strText, UINT nLevel, UINT nIcon, int nImage, BOOL bBold,
                                    DWORD dwCode)
{
    m_lines[nLine].strText = strText;
    m_lines[nLine].nIcon = nIcon;
    m_lines[nLine].nLevel = nLevel;
    m_codes[nLine] = dwCode;
    m_items[nLine] = InsertLine(NULL, strText, nImage, bBold, dwCode);
}

void CArticleOutlineTabWin::LoadOutline(CArticleDocument* pDocument)
{
    m_pDocument = pDocument;
    if (pDocument == NULL)
        return;
    const BOOL bNewLayout = pDocument->GetFormatYear() >= ARTICLE_NEW_LAYOUT_YEAR;
    const int nSections = pDocument->GetSectionCount();
    std::unique_ptr<CStringArray> pSectionTitles(pDocument->GetSectionTitles());
    int nMedia = pDocument->GetMediaEntryCount();
    if (!bNewLayout)
        nMedia /= 2;
    std::unique_ptr<CStringArray> pCaptions(pDocument->GetMediaCaptions());
    const int nTables = pDocument->GetTableCount();
    std::unique_ptr<CStringArray> pTableTitles(pDocument->GetTableTitles());
    const int nExtras = bNewLayout ? pDocument->GetExtraItemCount() : 0;
    std::unique_ptr<CStringArray> pExtraTitles(bNewLayout ? pDocument->GetExtraItemTitles() : NULL);

    m_nLineCount = nSections + nMedia + nTables + nExtras;
    if (nTables != 0)
        m_tablePositions.assign(nTables, 0);
    if (nExtras != 0)
        m_extraPositions.assign(nExtras, 0);
    if (nMedia != 0)
        m_mediaPositions.assign(nMedia, 0);
    m_items.assign(m_nLineCount, NULL);
    m_codes.assign(m_nLineCount, 0);
    m_lines.assign(m_nLineCount, OutlineLine());
    if (m_list.GetSafeHwnd() != NULL)
        m_list.ResetContent();

    // Items are placed once: a position that two items share, or one past the last line, leaves
    // the later item to the end of the outline instead of pushing past the sections.
    std::vector<bool> tablePlaced(nTables, false), mediaPlaced(nMedia, false);
    auto tableAt = [&](int p) {
        for (int t = 0; t < nTables; ++t) {
            LPBYTE pEntry = pDocument->GetTableEntry(t);
            if (!tablePlaced[t] && pEntry != NULL && pEntry[7] == p)
                return t;
        }
        return -1;
    };
    auto mediaAt = [&](int p) {
        for (int m = 0; m < nMedia; ++m) {
            LPBYTE pEntry = pDocument->GetMediaEntry(m);
            if (!mediaPlaced[m] && pEntry != NULL && pEntry[5] == p)
                return m;
        }
        return -1;
    };
    auto addTable = [&](int nLine, int t, int nLast) {
        CString strTitle = At(pTableTitles.get(), t);
        strTitle.Trim();
        AddLine(nLine, "    " + strTitle, 2, kTableIcon, kTableImage, FALSE, MakeLineCode(OUTLINE_TABLE, t));
        m_tablePositions[t] = nLast;
        tablePlaced[t] = true;
    };
    auto addMedia = [&](int nLine, int m, int nLast) {
        CString strCaption = At(pCaptions.get(), m);
        strCaption.Trim();
        LPBYTE pEntry = pDocument->GetMediaEntry(m);
        int nImage = 0;
        UINT nIcon = 0;
        MediaIcons(pEntry != NULL ? static_cast<char>(pEntry[4]) : 0, nImage, nIcon);
        AddLine(nLine, "    " + strCaption, 2, nIcon, nImage, FALSE, MakeLineCode(OUTLINE_MEDIA, m));
        m_mediaPositions[m] = nLast;
        mediaPlaced[m] = true;
    };
    auto addExtras = [&](int nLine, int nFrom, int nLast) {
        for (int j = nFrom; j < nExtras; ++j) {
            CString strTitle = At(pExtraTitles.get(), j);
            strTitle.Trim();
            AddLine(nLine + j - nFrom, "    " + strTitle, 2, kExtraIcon, kExtraImage, FALSE,
                    MakeLineCode(OUTLINE_EXTRA, j));
            m_extraPositions[j] = nLast;
        }
    };

    const int nLead = pDocument->GetLeadLineCount();
    int s = 0, nDone = 0, nLast = 0;
    for (int L = 0; L < m_nLineCount; ++L) {
        if (nExtras > 0 && nDone < nExtras && L == nLead) {
            addExtras(L, nDone, nLast);
            L += nExtras - nDone - 1;
            nDone = nExtras;
            continue;
        }
        const int p = L - nDone;
        int t = tableAt(p), m = -1;
        if (t >= 0) {
            addTable(L, t, nLast);
        } else if ((m = mediaAt(p)) >= 0) {
            addMedia(L, m, nLast);
        } else if (s < nSections) {
            CString strTitle = At(pSectionTitles.get(), s);
            strTitle.TrimRight();
            if (strTitle.Left(2) != "  ") {
                AddLine(L, strTitle, 0, 0, 0, TRUE, MakeLineCode(OUTLINE_SECTION, s));
                nLast = s;
            } else if (strTitle.Left(4) == "    ") {
                strTitle.TrimLeft();
                AddLine(L, strTitle, 2, 0, 0, FALSE, MakeLineCode(OUTLINE_SECTION, s));
            } else {
                strTitle.TrimLeft();
                AddLine(L, strTitle, 1, 0, 0, FALSE, MakeLineCode(OUTLINE_SECTION, s));
                nLast = s;
            }
            ++s;
        } else {
            // The sections are used up: the items whose positions were never met go here.
            int nStray = -1;
            for (int i = 0; i < nTables && nStray < 0; ++i)
                if (!tablePlaced[i])
                    nStray = i;
            if (nStray >= 0) {
                addTable(L, nStray, nLast);
                continue;
            }
            for (int i = 0; i < nMedia && nStray < 0; ++i)
                if (!mediaPlaced[i])
                    nStray = i;
            if (nStray >= 0) {
                addMedia(L, nStray, nLast);
                continue;
            }
            if (nDone < nExtras) {
                addExtras(L, nDone, nLast);
                L += nExtras - nDone - 1;
                nDone = nExtras;
            }
        }
    }
    if (m_list.GetSafeHwnd() != NULL)
        for (HTREEITEM hItem : m_items)
            if (hItem != NULL)
                m_list.Expand(hItem, TVE_EXPAND);
}

void CArticleOutlineTabWin::SelectSection(int nSection)
{
    const DWORD dwCode = MakeLineCode(OUTLINE_SECTION, nSection);
    for (int L = 0; L < m_nLineCount; ++L) {
        if (m_codes[L] != dwCode)
            continue;
        m_bSelecting = TRUE;
        m_list.SelectItem(m_items[L]);
        m_bSelecting = FALSE;
        return;
    }
}

void CArticleOutlineTabWin::OnListSelChanged(DWORD dwCode)
{
    if (m_bSelecting) {
        m_bSelecting = FALSE;
        return;
    }
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    const UINT nIndex = LineCodeIndex(dwCode);
    switch (LineCodeKind(dwCode)) {
    case OUTLINE_SECTION:
        pParent->PostMessage(VLM_PANE_ITEM, 0, nIndex);
        break;
    case OUTLINE_TABLE:
        pParent->PostMessage(VLM_PANE_ITEM, 3, nIndex);
        break;
    case OUTLINE_EXTRA:
        pParent->PostMessage(VLM_PANE_ITEM, 5, nIndex);
        break;
    case OUTLINE_MEDIA: {
        DWORD nRin = m_pDocument != NULL ? m_pDocument->GetMediaRin(static_cast<int>(nIndex)) : 0;
        pParent->PostMessage(VLM_PANE_ITEM, IsSoundRin(nRin) ? 4 : 1, nIndex);
        break;
    }
    default:
        break;
    }
}

void CArticleOutlineTabWin::OnListDoubleClick(DWORD dwCode)
{
    CWnd* pParent = GetParent();
    if (pParent == NULL)
        return;
    CWaitCursor wait;
    const UINT nIndex = LineCodeIndex(dwCode);
    switch (LineCodeKind(dwCode)) {
    case OUTLINE_TABLE:
        pParent->PostMessage(VLM_PANE_TABLE, 0, nIndex);
        break;
    case OUTLINE_EXTRA:
        pParent->PostMessage(VLM_PANE_EXTRA, 0, nIndex);
        break;
    case OUTLINE_MEDIA:
        OpenArticleMedia(pParent, m_pDocument, static_cast<int>(nIndex));
        break;
    default:
        break;
    }
}

int CArticleOutlineTabWin::PrintOutline()
{
    const int nCount = std::min(m_nLineCount, static_cast<int>(m_lines.size()));
    std::vector<PrintListLine> lines;
    for (int i = 0; i < nCount; ++i)
        lines.push_back({m_lines[static_cast<size_t>(i)].strText, m_lines[static_cast<size_t>(i)].nLevel,
                         m_lines[static_cast<size_t>(i)].nIcon});
    // Headed with the article's title, as every printout of the article is.
    LPCSTR lpszTitle = m_pDocument != NULL ? m_pDocument->GetTitle() : NULL;
    CTabListPrinter printer(this, "Veltra Multimedia Encyclopedia Article Outline",
                            lpszTitle != NULL ? CString(lpszTitle) : CString(), std::move(lines));
    return printer.Print();
}
