// CView: a child window that shows a document inside a frame.
#pragma once

#include <afx.h>
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

    BOOL PreCreateWindow(CREATESTRUCT& cs) override;
    BOOL OnCmdMsg(UINT nID, int nCode, void* pExtra, AFX_CMDHANDLERINFO* pHandlerInfo) override;
    void PostNcDestroy() override;

    afx_msg int OnCreate(LPCREATESTRUCT lpCreateStruct);
    afx_msg void OnDestroy();
    afx_msg void OnPaint();
    afx_msg int OnMouseActivate(CWnd* pDesktopWnd, UINT nHitTest, UINT message);

    CDocument* m_pDocument;

protected:
    DECLARE_MESSAGE_MAP()
    friend class CDocument;
};
