// CRelatedArticlesTabWin: the "RELATED INFO: CD-ROM" pane of the article view. It shows the
// article's related articles as a two-level tree of group headings and links; double-clicking a
// link opens that article in the article view.
#pragma once

#include "article/ArticleListTabWin.h"

#include <vector>

class CArticleDocument;

struct RelatedLine {
    CString strText;
    UINT nLevel = 0;  // 0 top-level line, 1 line under a heading
};

// Line kinds of the related pane's line codes.
enum : UINT {
    RELATED_GROUP = 1,    // a group heading without children, or a group entry under a heading (entry index)
    RELATED_LINK = 2,     // a link (link number)
    RELATED_HEADING = 3,  // a group heading with children (entry index)
};

class CRelatedArticlesTabWin : public CArticleListTabWin {
    DECLARE_DYNAMIC(CRelatedArticlesTabWin)
public:
    CRelatedArticlesTabWin();
    ~CRelatedArticlesTabWin() override;

    // Rebuilds the list from the document (kept for the double clicks, not owned). An article
    // without related entries empties the list and keeps the line records.
    void LoadRelated(CArticleDocument* pDocument);
    const std::vector<RelatedLine>& GetLines() const { return m_lines; }
    // Prints the related lines (CTabListPrinter); the pages printed.
    int PrintRelated();

    // Opens the related article of a line code (a link line; any other does nothing).
    void OpenLine(DWORD dwCode, const CString& strTitle);

protected:
    void OnListDoubleClick(DWORD dwCode) override;

private:
    CArticleDocument* m_pDocument = NULL;
    std::vector<RelatedLine> m_lines;
};
