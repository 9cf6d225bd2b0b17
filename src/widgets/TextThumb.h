// CTextThumb: the thumbnail of a text item. A light-yellow card with a double frame on which the
// item's title is printed in bold capitals, followed by the item's first line (or its
// description) in regular type, word-wrapped to the card's width, with long words hyphenated and
// "..." when the card is full. The text is laid out once when the window is created (which also
// chooses the card's height and, for a long title word, its width); every paint draws the same
// words at the same places.
//
// It is the base of the sound item's text thumbnail and of the mini-article box, which share its
// four fonts (TextThumbFonts.h) and its tokenizer.
#pragma once

#include "widgets/TextThumbFonts.h"
#include "widgets/Thumbnail.h"

#include <vector>

// Shown on a card that has no text at all.
#define TEXTTHUMB_NO_TEXT "No first line text was passed - blank line in first line DB or bad CReference?"
// The marker between the title and the body.
#define TEXTTHUMB_TITLE_END "</B>"

class CTextThumb : public CThumbnail {
    DECLARE_DYNAMIC(CTextThumb)
public:
    // The factory's constructor: keeps a clone of the reference, the text (the description: the
    // first line, or the title, a blank and the description) and the title to use when the item
    // is not available; either text may be NULL. Composes the title.
    CTextThumb(CReference* pReference, const CString* pText, const CString* pTitle);
    // The subclasses' constructor: no reference, no text.
    CTextThumb();
    // Destroys the window; the last text thumbnail deletes the shared fonts.
    ~CTextThumb() override;

    int GetThumbWidth() override { return m_rectCard.Width(); }
    int GetThumbHeight() override { return m_rectCard.Height(); }

    // Resizes the window (no move) to nWidth by nHeight and sets the card, text (card less 3) and
    // inner (card less 10) rectangles.
    virtual void SetThumbSize(int nHeight, int nWidth);
    // Lays the composed text out (on a device context of the window, or the one given) and sizes
    // the card to it.
    virtual void LayoutText(CDC* pDC = NULL);
    // Builds the composed text: the title, "</B>", then the body.
    virtual void ComposeTitle();
    // The next token of the text (a word with its trailing break character, a tag, an entity or
    // "|"), removed from the text; empty at the end.
    virtual CString NextWord(CString& strText);
    // Draws the laid-out words.
    virtual void DrawText(CDC* pDC);

    // Cuts a word that is wider than nAvailable pixels into a part that fits followed by "-"
    // (at a comma without the hyphen, else before a known ending, else before the last four
    // letters, else as far right as fits) and puts the remainder, a blank and the old rest back
    // in front of strRest. A word with a digit, or one of which nothing fits, is returned whole
    // and the split flag stays clear.
    CString SplitWord(CString strWord, CString& strRest, int nAvailable, CDC* pDC);
    BOOL IsSplit() const { return m_bSplit; }

    // What the layout placed: each word (as drawn) at its pen position, in bold or not.
    struct PLACED_WORD {
        CString strText;
        int x = 0;
        int y = 0;
        BOOL bBold = FALSE;
    };
    const std::vector<PLACED_WORD>& GetPlacedWords() const { return m_placed; }
    const CString& GetComposedText() const { return m_strComposed; }
    const CString& GetTitle() const { return m_strTitle; }
    int GetMeasuredWidth() const { return m_nMeasuredWidth; }
    int GetEllipsisWord() const { return m_nEllipsisWord; }
    const CRect& GetCardRect() const { return m_rectCard; }

protected:
    // The fonts the layout uses (the shared regular and bold ones; tests may put others).
    virtual CFont* GetRegularFont();
    virtual CFont* GetBoldFont();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnLButtonDblClk(UINT nFlags, CPoint point);
    DECLARE_MESSAGE_MAP()

    BOOL m_bSplit = FALSE;
    int m_nTitleMark = 0;
    int m_nDescriptionLength = 0;
    int m_nTitleLength = 0;
    int m_nMeasuredWidth = 0;
    int m_nEllipsisWord = -1;
    CRect m_rectText{0, 0, 0, 0};
    CRect m_rectInner{0, 0, 0, 0};
    CRect m_rectCard{0, 0, 0, 0};
    CString m_strComposed;
    CString m_strTitle;
    CString m_strGivenTitle;
    std::vector<PLACED_WORD> m_placed;

private:
    // Starts (once) the shared fonts.
    void JoinFonts();
    BOOL m_bJoined = FALSE;
};
