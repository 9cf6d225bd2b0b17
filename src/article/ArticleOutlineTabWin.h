// CArticleOutlineTabWin: the "ARTICLE OUTLINE" pane of the article view. One line for every
// section heading, table, media item and extra item of the article, in the order in which they
// occur in it. Selecting a line tells the view to show that place; double-clicking a table,
// extra item or media line opens it. The view keeps the selection in step with the page.
#pragma once

#include "article/ArticleListTabWin.h"

#include <vector>

class CArticleDocument;

// One line of the outline, as printing reads it.
struct OutlineLine {
    CString strText;
    UINT nIcon = 0;   // printed icon; 0 for section headings
    UINT nLevel = 0;  // 0 top heading, 1 sub-heading, 2 indented item
};

// Line kinds of the outline's line codes.
enum : UINT {
    OUTLINE_TABLE = 1,
    OUTLINE_MEDIA = 2,
    OUTLINE_SECTION = 3,
    OUTLINE_EXTRA = 4,
};

class CArticleOutlineTabWin : public CArticleListTabWin {
    DECLARE_DYNAMIC(CArticleOutlineTabWin)
public:
    CArticleOutlineTabWin();
    ~CArticleOutlineTabWin() override;

    // The caption text while the focus is inside: white.
    COLORREF GetActiveTextColor() override;

    // Rebuilds the lines from the document (kept for the double clicks, not owned).
    void LoadOutline(CArticleDocument* pDocument);
    // Selects the heading line of the section without reporting the selection.
    void SelectSection(int nSection);

    // The first table whose entry byte 7, and the first media item whose entry byte 5, equals the
    // position; -1 when there is none.
    static int FindTableAtLine(CArticleDocument* pDocument, int nPosition);
    static int FindMediaAtLine(CArticleDocument* pDocument, int nPosition);
    // The list image and the printed icon of a media line by the entry's type letter.
    static void MediaIcons(char chType, int& nImage, UINT& nIcon);

    // Prints the outline's lines (CTabListPrinter); the pages printed.
    int PrintOutline();

    int GetLineCount() const { return m_nLineCount; }
    const std::vector<OutlineLine>& GetLines() const { return m_lines; }
    const std::vector<DWORD>& GetLineCodes() const { return m_codes; }
    const std::vector<HTREEITEM>& GetLineItems() const { return m_items; }
    const std::vector<int>& GetTablePositions() const { return m_tablePositions; }
    const std::vector<int>& GetMediaPositions() const { return m_mediaPositions; }
    const std::vector<int>& GetExtraPositions() const { return m_extraPositions; }

protected:
    void OnListSelChanged(DWORD dwCode) override;
    void OnListDoubleClick(DWORD dwCode) override;

private:
    void AddLine(int nLine, const CString& strText, UINT nLevel, UINT nIcon, int nImage, BOOL bBold, DWORD dwCode);

    CArticleDocument* m_pDocument = NULL;
    int m_nLineCount = 0;
    std::vector<int> m_tablePositions;
    std::vector<int> m_extraPositions;
    std::vector<int> m_mediaPositions;
    std::vector<HTREEITEM> m_items;
    std::vector<DWORD> m_codes;
    std::vector<OutlineLine> m_lines;
    BOOL m_bSelecting = FALSE;
};
