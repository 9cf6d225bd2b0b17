// CView: a child window that shows a document inside a frame.
#pragma once

#include <afx.h>
#include <mfc/PrintInfo.h>
#include <mfc/Wnd.h>

class CDocument;
class CFrameWnd;

class CView : public CWnd {
    DECLARE_DYNAMIC(CView)
public:
    CView();
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CFrameWnd* GetParentFrame() const;

    virtual void OnInitialUpdate();
    virtual void OnUpdate(CView* pSender, LPARAM lHint, CObject* pHint);
    virtual void OnActivateView(BOOL bActivate, CView* pActivateView, CView* pDeactiveView);
    // Draws the document (pDC comes from AfxDCFromHandle).
    virtual void OnDraw(CDC* pDC) = 0;

    // ---- Printing ----
    // File Print: OnPreparePrinting (the dialog), OnBeginPrinting, then for each page asked for
    // OnPrepareDC and OnPrint between StartPage and EndPage, then OnEndPrinting. The job goes to
    // the chosen printer under the document's title.
    virtual BOOL OnPreparePrinting(CPrintInfo* pInfo);
    virtual void OnBeginPrinting(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnPrepareDC(CDC* pDC, CPrintInfo* pInfo = NULL);
    // Draws the page; the default draws the document with OnDraw.
    virtual void OnPrint(CDC* pDC, CPrintInfo* pInfo);
    virtual void OnEndPrinting(CDC* pDC, CPrintInfo* pInfo);
    // Shows the Print dialog (or, printing directly, takes the application's printer) and makes
    // the printer's DC; FALSE when cancelled or there is no printer.
    BOOL DoPreparePrinting(CPrintInfo* pInfo);
    afx_msg void OnFilePrint();
    afx_msg void OnFilePrintDirect();

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    CDocument* m_pDocument;

protected:
    void PrintDocument(BOOL bDirect);
    DECLARE_MESSAGE_MAP()
    friend class CDocument;
};
