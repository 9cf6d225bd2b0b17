// CPrintSelectWnd: the small modal "PRINT" window in which the reader chooses what the article
// view prints: one of four extents of the article (entire article, current section, current
// page, selected paragraphs), plus any of five further parts (the article outline, the related
// articles on the disc, the related online extras, the search results, the dictionary entry).
//
// The caller switches off what cannot be printed (DisableChoices or SetAvailable) and runs the
// window with RunTabDialog, whose answer is the bit mask of the choices (0 for Cancel, Escape
// or closing):
//   0x200 entire article, 0x100 current section, 0x80 current page, 0x40 selected paragraphs,
//   0x20 outline, 0x10 related articles, 0x08 search results, 0x04 online extras, 0x01 dictionary.
// The window also keeps the choice in its own bits (GetSelectionMask).
#pragma once

#include "widgets/DibButton.h"
#include "widgets/GenericTabWin.h"
#include "widgets/RadioButton.h"

// The option buttons' child ids.
#define PRINTSEL_ENTIRE_ARTICLE 101
#define PRINTSEL_CURRENT_SECTION 102
#define PRINTSEL_CURRENT_PAGE 103
#define PRINTSEL_SELECTED_PARAGRAPHS 104
#define PRINTSEL_OUTLINE 105
#define PRINTSEL_RELATED_CDROM 106
#define PRINTSEL_RELATED_ONLINE 108
#define PRINTSEL_SEARCH_RESULTS 109
#define PRINTSEL_DICTIONARY 1001
// The action buttons' ids (113 is a second id for Print).
#define PRINTSEL_CANCEL 111
#define PRINTSEL_PRINT 112
#define PRINTSEL_PRINT_ALT 113

class CPrintSelectWnd : public CGenericTabWinDialog {
    DECLARE_DYNAMIC(CPrintSelectWnd)
public:
    // One option row: its text, child id, rectangle in the window's client area, whether it is
    // checked at first, whether an availability flag governs it, its bit in the selection mask
    // and in the returned mask.
    struct Option {
        const char* pszText;
        UINT nId;
        RECT rect;
        BOOL bChecked;
        BOOL bFlagged;
        UINT nSelectionBit;
        UINT nReturnedBit;
    };
    static constexpr int kOptionCount = 9;
    // The first kGroupCount options are the extents, of which exactly one is checked.
    static constexpr int kGroupCount = 4;
    static const Option s_options[kOptionCount];

    CPrintSelectWnd();
    ~CPrintSelectWnd() override;

    // Whether the option of that id may be chosen (the extents but selected paragraphs, and the
    // outline, always may). Set before RunTabDialog; ids without a flag are left alone.
    void SetAvailable(UINT nOptionId, BOOL bAvailable);
    BOOL IsAvailable(UINT nOptionId) const;
    // Switches off the options whose returned bits are set in nReturnedBits; bits of options
    // that are always available, and unknown bits, change nothing.
    void DisableChoices(UINT nReturnedBits);

    // The option buttons, the Print and Cancel buttons at (130, 213) and (18, 213), each sized
    // to its picture; the window at (10, 50), 260 x 290, then centred over the main window.
    BOOL CreateControls() override;

    // The choice last confirmed with Print, in the window's own bits (0 until then).
    int GetSelectionMask() const { return m_nSelectionMask; }
    // The option button of that id (NULL for another id).
    CRadioButton* GetOption(UINT nOptionId);
    CDibButton& GetPrintButton() { return m_btnPrint; }
    CDibButton& GetCancelButton() { return m_btnCancel; }
    // A mask of the options checked now (the first checked extent and every checked extra), in
    // the returned bits (&Option::nReturnedBit) or the window's own (&Option::nSelectionBit).
    UINT CheckedMask(UINT Option::*pBit) const;

    // The frame drawn around the options.
    static const RECT s_rectOptionFrame;

protected:
    // The index of an option id in s_options, or -1.
    static int IndexOf(UINT nOptionId);
    // A click on an extent: it stays the one checked, and the others go off.
    void CheckExtent(UINT nOptionId);
    // Ends the window with the mask of the options checked (Print).
    void Confirm();
    // Shows a button pressed, as a key stands in for its click (the window ends at once).
    static void ShowPressed(CDibButton& button);

    BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
    afx_msg void OnPaint();
    afx_msg BOOL OnEraseBkgnd(CDC* pDC);
    afx_msg void OnClose();
    afx_msg void OnKeyDown(UINT nChar, UINT nRepCnt, UINT nFlags);
    DECLARE_MESSAGE_MAP()

    CRadioButton m_options[kOptionCount];
    CDibButton m_btnPrint;
    CDibButton m_btnCancel;
    // The availability of each option (TRUE at first).
    BOOL m_bAvailable[kOptionCount];
    // The frame around the Print button: its rectangle grown by 2 to the left and top, by 1 to
    // the right and bottom.
    CRect m_rectPrintFrame;
    int m_nSelectionMask = 0;
    CFont m_font;
};
