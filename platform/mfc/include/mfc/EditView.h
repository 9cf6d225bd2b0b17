// CEditView: a view whose window is a multi-line edit control filling the frame's pane. The
// document's text is the control's text; the standard Edit commands (cut, copy, paste, delete,
// undo, select all) and text search work on it, and serialisation reads and writes it.
//
// Find and Replace (ID_EDIT_FIND, ID_EDIT_REPLACE) open the modeless CFindReplaceDialog, one
// per thread whatever the number of views; its buttons come back as OnFindNext, OnReplaceSel
// and OnReplaceAll, and Find Next (ID_EDIT_REPEAT) repeats the last search. What was last
// looked for, the replacement, the direction and the case rule are kept per thread too and
// start the next dialog. The search matches text anywhere, not whole words: the dialog's
// whole-word box is hidden.
#pragma once

#include <afx.h>
#include <afxres.h>
#include <mfc/BasicControls.h>
#include <mfc/View.h>

#include <vector>

class CEditView : public CView {
    DECLARE_DYNCREATE(CEditView)
public:
    CEditView();
    ~CEditView() override;

    // The window style a CEditView's control gets besides WS_CHILD and WS_VISIBLE.
    static const DWORD dwStyleDefault;

    // The view's window as the edit control it is.
    CEdit& GetEditCtrl() const;

    // Tab stops every nTabStops dialog units (32, eight average characters, by default).
    void SetTabStops(int nTabStops);
    // The selected text, up to its first line break.
    void GetSelectedText(CString& strResult) const;
    // The control's text as one null-terminated buffer, valid until UnlockBuffer or the next
    // change of the text; GetBufferLength is its length in bytes.
    LPCSTR LockBuffer() const;
    void UnlockBuffer() const;
    UINT GetBufferLength() const;

    // Reads or writes the text alone: storing writes its bytes, loading reads the rest of the
    // archive's file as the new text.
    void SerializeRaw(CArchive& ar);
    // Reads or writes the text with its length (a DWORD) before it.
    void Serialize(CArchive& ar) override;

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    // The control paints itself.
    void OnDraw(CDC* pDC) override;

    // The longest text the view holds.
    static const UINT nMaxSize;

    // Printing: the text in the view's font, scaled to the printer, its lines wrapped at the
    // page's width, as many pages as it fills.
    BOOL OnPreparePrinting(CPrintInfo* pInfo) override;
    void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo) override;
    void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL) override;
    void OnPrint(CDC* pDC, CPrintInfo* pInfo) override;
    void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo) override;

protected:
    // Opens the Find (bFindOnly) or Replace dialog, or brings the open one to the front; the
    // other kind is closed first. The text sought starts as the selection (up to its first line
    // break), else the last text sought.
    virtual void OnEditFindReplace(BOOL bFindOnly);

    // Finds lpszFind from the selection on (forwards or backwards, wrapping around at the end of
    // the text), with or without matching case; selects it and returns TRUE when found.
    BOOL FindText(LPCSTR lpszFind, BOOL bNext = TRUE, BOOL bCase = TRUE);
    // Find Next: FindText, and OnTextNotFound when there is none.
    virtual void OnFindNext(LPCSTR lpszFind, BOOL bNext, BOOL bCase);
    // Replace: replaces the selection when it is the text sought, then finds the next one.
    virtual void OnReplaceSel(LPCSTR lpszFind, BOOL bNext, BOOL bCase, LPCSTR lpszReplace);
    // Replace All: every occurrence from the start of the text.
    virtual void OnReplaceAll(LPCSTR lpszFind, LPCSTR lpszReplace, BOOL bCase);
    // A search found nothing: a beep.
    virtual void OnTextNotFound(LPCSTR lpszFind);

    void ReadFromArchive(CArchive& ar, UINT nChars);
    void WriteToArchive(CArchive& ar);

    BOOL OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* pResult) override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnPaint();
    afx_msg void OnEditCut();
    afx_msg void OnEditCopy();
    afx_msg void OnEditPaste();
    afx_msg void OnEditClear();
    afx_msg void OnEditUndo();
    afx_msg void OnEditSelectAll();
    afx_msg void OnEditRepeat();
    afx_msg void OnEditFind();
    afx_msg void OnEditReplace();
    // The dialog's message (FINDMSGSTRING): a button was pressed or the dialog is closing.
    afx_msg LRESULT OnFindReplaceCmd(WPARAM wParam, LPARAM lParam);
    // A dialog that reports to this view closes with it.
    afx_msg void OnDestroy();
    afx_msg void OnUpdateNeedSel(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedClip(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedText(CCmdUI* pCmdUI);
    afx_msg void OnUpdateNeedFind(CCmdUI* pCmdUI);
    afx_msg void OnUpdateEditUndo(CCmdUI* pCmdUI);
    // EN_CHANGE from the control: the document is modified. FALSE lets the parent see it too.
    afx_msg BOOL OnEditChange();

    int m_nTabStops;  // dialog units

    DECLARE_MESSAGE_MAP()

private:
    // Searches for find from `from` (forwards: the first match at or after it; backwards: the
    // last match before it); the match's start or -1.
    int Search(const CString& text, LPCSTR lpszFind, int from, BOOL bNext, BOOL bCase) const;
    BOOL SelectionIs(LPCSTR lpszFind, BOOL bCase) const;

    mutable CEdit m_edit;           // the view's window seen as its control
    mutable CString m_strLocked;    // LockBuffer's copy of the text
    BOOL m_bLoading;                // the text is being replaced by a load: no change to report
    // The printed lines and where each page starts in them, while a job runs.
    std::vector<CString> m_printLines;
    std::vector<size_t> m_pageStarts;
    HFONT m_hPrinterFont = NULL;
    int m_nPrintLineHeight = 0;
};
