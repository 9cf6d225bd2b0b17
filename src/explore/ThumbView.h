// CThumbView: the scrolling grid of the Dido Dovov below its status strip. Before the first
// selection it shows a welcome page; afterwards the items of the current selection as thumbnails,
// media and articles mixed, and opens the item whose thumbnail is clicked: articles and tables in
// the article view, maps in the atlas, media in the media view with every media item of the grid
// as the viewer's list.
//
// The selection is kept as two lists (media: animations, videos, pictures, sounds, simulations,
// panoramas, photo bubbles; articles) of at most 100 cells between them, each kind scaled to its
// share. Cells are 155 pixels wide (156 from a client width of 641) and 170 high, the first row
// at 10; the kinds alternate by row and cell as they are walked. A cell's thumbnail is made only
// when the cell scrolls into view, and kept until the next selection.
#pragma once

#include "widgets/VLScrollWnd.h"

#include <vector>

class CReference;
class CReferenceList;
class CThumbnail;

#define THUMBVIEW_MEDIA_KINDS 0x11BE00L
#define THUMBVIEW_ARTICLE_KINDS 0x100L
#define THUMBVIEW_MAX_CELLS 100
#define THUMBVIEW_CELL_WIDTH 155
#define THUMBVIEW_WIDE_CELL_WIDTH 156
#define THUMBVIEW_WIDE_CLIENT 641
#define THUMBVIEW_ROW_HEIGHT 170
#define THUMBVIEW_FIRST_ROW 10
#define THUMBVIEW_LEFT 10
#define THUMBVIEW_LINE_STEP 25
#define THUMBVIEW_VIEW_MARGIN 157
#define THUMBVIEW_BACKGROUND_BITMAP 234
#define THUMBVIEW_NO_TITLE "No Title"
#define THUMBVIEW_BAD_MEDIA "Bad Media Type in Topic "

class CThumbView : public CVLScrollWnd {
    DECLARE_DYNAMIC(CThumbView)
public:
    // One place of the grid.
    struct Cell {
        CThumbnail* pThumb = NULL;       // owned, made when the cell comes into view
        CReference* pReference = NULL;   // borrowed from the view's list
        int x = 0;
        int y = 0;
        BOOL bPlaced = FALSE;
    };

    CThumbView();
    // Destroys the thumbnails and deletes both lists.
    ~CThumbView() override;
    CThumbView(const CThumbView&) = delete;
    CThumbView& operator=(const CThumbView&) = delete;

    // Replaces the contents with clones of the list's media and article references (the list
    // stays the caller's); the thumbnails of the old contents are destroyed.
    void SetList(CReferenceList* pList);
    // Places the cells for the client width and sets the scroll range.
    void Layout();
    // Leaves the welcome page; makes the thumbnails of the cells that have come into view and,
    // with bMove, moves the existing ones to their places.
    void Realize(BOOL bMove);
    // Destroys every thumbnail and empties both cell arrays.
    void Clear();
    // Back to the welcome page: no cells, no scrolling.
    void ShowWelcome();

    BOOL IsWelcome() const { return m_bWelcome; }
    const std::vector<Cell>& GetMediaCells() const { return m_media; }
    const std::vector<Cell>& GetArticleCells() const { return m_articles; }
    int GetScrollPosition() const { return m_nScrollPos; }
    int GetMaxScroll() const { return m_nMaxScroll; }
    // The cell width and columns the client width gives.
    static int CellWidthFor(int nClientWidth);
    static int ColumnsFor(int nClientWidth);

    COLORREF GetBkColor() override { return 0x02E0F9FF; }
    COLORREF GetSecondColor() override { return 0x02A6EEFF; }

protected:
    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnVScroll(UINT nSBCode, UINT nPos, CWnd* pScrollBar);
    afx_msg void OnLButtonDown(UINT nFlags, CPoint point);
    afx_msg LRESULT OnThumbPress(WPARAM wParam, LPARAM lParam);
    afx_msg LRESULT OnThumbRelease(WPARAM wParam, LPARAM lParam);
    DECLARE_MESSAGE_MAP()

private:
    void FreeCells();
    void OpenItem(CReference* pReference);
    void DrawWelcome(CDC* pDC);

    BOOL m_bWelcome;
    CReferenceList* m_pMediaList;
    CReferenceList* m_pArticleList;
    std::vector<Cell> m_media;
    std::vector<Cell> m_articles;
    int m_nScrollPos;
    int m_nMaxScroll;
    int m_nLastStep;
    int m_nClientHeight;
};
