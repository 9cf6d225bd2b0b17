#include "article/RelatedArticlesTabWin.h"

#include "article/ArticleDocument.h"
#include "article/TabListPrinter.h"
#include "base/AppServices.h"
#include "base/Reference.h"
#include "base/ReferenceFactory.h"
#include "base/VLMessages.h"

#include <algorithm>
#include <memory>

IMPLEMENT_DYNAMIC(CRelatedArticlesTabWin, CArticleListTabWin)

namespace {

const int kLineImage = 323;
const int kHeadingImage = 138;

}  // namespace

CRelatedArticlesTabWin::CRelatedArticlesTabWin() = default;

CRelatedArticlesTabWin::~CRelatedArticlesTabWin()
{
    if (GetSafeHwnd() != NULL)
        DestroyWindow();
}

void CRelatedArticlesTabWin::LoadRelated(CArticleDocument* pDocument)
{
    m_pDocument = pDocument;
    if (pDocument == NULL)
        return;
    const int nRelated = pDocument->GetRelatedCount();
    std::unique_ptr<CStringArray> pTitles(pDocument->GetRelatedTitles());
    if (nRelated > 0)
        m_lines.assign(nRelated, RelatedLine());
    if (m_list.GetSafeHwnd() != NULL)
        m_list.ResetContent();

    auto isChild = [](const BYTE* pEntry) { return pEntry != NULL && pEntry[4] != 0; };
    auto isGroup = [](const BYTE* pEntry) { return pEntry != NULL && pEntry[5] != 0; };
    int k = 0;
    HTREEITEM hParent = NULL;
    for (int i = 0; i < nRelated; ++i) {
        CString strText = pTitles != nullptr && i < pTitles->GetSize() ? pTitles->GetAt(i) : CString();
        strText.Trim();
        const BYTE* e = pDocument->GetRelatedEntry(i);
        const BYTE* n = i + 1 < nRelated ? pDocument->GetRelatedEntry(i + 1) : NULL;
        m_lines[i].strText = strText;
        if (!isChild(e)) {
            m_lines[i].nLevel = 0;
            if (!isGroup(e)) {
                hParent = InsertLine(NULL, strText, kLineImage, FALSE, MakeLineCode(RELATED_LINK, k++));
            } else if (!isChild(n)) {
                hParent = InsertLine(NULL, strText, kLineImage, FALSE, MakeLineCode(RELATED_GROUP, i));
            } else {
                hParent = InsertLine(NULL, strText, kHeadingImage, TRUE, MakeLineCode(RELATED_HEADING, i));
            }
        } else {
            m_lines[i].nLevel = 1;
            if (!isGroup(e))
                InsertLine(hParent, strText, kLineImage, FALSE, MakeLineCode(RELATED_LINK, k++));
            else
                InsertLine(hParent, strText, 0, FALSE, MakeLineCode(RELATED_GROUP, i));
        }
    }
}

void CRelatedArticlesTabWin::OpenLine(DWORD dwCode, const CString& strTitle)
{
    CReferenceFactory* pFactory = GetAppReferenceFactory();
    if (LineCodeKind(dwCode) != RELATED_LINK || m_pDocument == NULL || pFactory == NULL)
        return;
    std::unique_ptr<CStringArray> pLinks(m_pDocument->GetRelatedLinks());
    const int k = static_cast<int>(LineCodeIndex(dwCode));
    if (pLinks == nullptr || k >= pLinks->GetSize())
        return;
    CReference* pReference = pFactory->ParseReferenceLink(pLinks->GetAt(k));
    if (pReference == NULL)
        return;
    pReference->SetTitle(strTitle);
    CWnd* pTop = GetTopLevelParent();
    if (pTop == NULL)
        pTop = GetAppMainWnd();
    if (pTop == NULL || pTop->GetSafeHwnd() == NULL) {
        delete pReference;
        return;
    }
    pTop->SendMessage(VLM_OPEN_WINDOW, IDW_ARTICLE, reinterpret_cast<LPARAM>(pReference));
}

void CRelatedArticlesTabWin::OnListDoubleClick(DWORD dwCode)
{
    HTREEITEM hItem = m_list.GetCurrentItemId();
    OpenLine(dwCode, hItem != NULL ? m_list.GetItemText(hItem) : CString());
}

int CRelatedArticlesTabWin::PrintRelated()
{
    if (m_pDocument == NULL)
        return 0;
    const int nCount = std::min(m_pDocument->GetRelatedCount(), static_cast<int>(m_lines.size()));
    std::vector<PrintListLine> lines;
    for (int i = 0; i < nCount; ++i)
        lines.push_back({m_lines[static_cast<size_t>(i)].strText, m_lines[static_cast<size_t>(i)].nLevel, 0});
    // Headed with the article's title, as every printout of the article is.
    LPCSTR lpszTitle = m_pDocument->GetTitle();
    const CString strTitle = lpszTitle != NULL ? lpszTitle : "";
    CTabListPrinter printer(this, "Veltra Multimedia Encyclopedia Related Articles", strTitle, std::move(lines));
    return printer.Print();
}
