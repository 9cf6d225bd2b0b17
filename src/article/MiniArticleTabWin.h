// CMiniArticleTabWin: the article frame's small side panel that shows one mini article (the
// notice of an online update of the article, for instance) in a mini-article box filling its
// client area, and copies the box's text to the clipboard on request.
#pragma once

#include "widgets/GenericTabWin.h"

#include <afxwin.h>

class CMiniArtThumb;
class CReference;

class CMiniArticleTabWin : public CGenericTabWin {
public:
    CMiniArticleTabWin();
    ~CMiniArticleTabWin() override;

    // The caption band, PALETTERGB(74, 74, 148); the title while the focus is inside,
    // PALETTERGB(255, 255, 255), and otherwise PALETTERGB(198, 198, 222).
    COLORREF GetCaptionColor() override;
    COLORREF GetActiveTextColor() override;
    COLORREF GetInactiveTextColor() override;

    // Replaces the box by one showing the reference's link text (the caller keeps the reference).
    void ShowMiniArticle(const CReference* pReference);
    // Whether a copy would put text on the clipboard: a box with a selection text or a selected word.
    BOOL CanCopy() const;
    // Puts the box's selection text (else its selected word) on the clipboard as CF_TEXT; with
    // neither the clipboard is left as it was. FALSE when nothing was copied.
    BOOL CopyToClipboard();

    CMiniArtThumb* GetThumb() const { return m_pThumb; }

protected:
    void DestroyThumb();

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnSize(UINT nType, int cx, int cy);
    afx_msg void OnPaint();
    afx_msg void OnClose();
    afx_msg void OnDestroy();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

private:
    CMiniArtThumb* m_pThumb = NULL;
};
