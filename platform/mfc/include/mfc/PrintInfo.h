// CPrintInfo: what a view's printing knows about the job in progress (the pages asked for, the
// page being printed, the area to draw on).
#pragma once

#include <afx.h>
#include <mfc/Geometry.h>

class CPrintDialog;

class CPrintInfo {
public:
    CPrintInfo();
    ~CPrintInfo();
    CPrintInfo(const CPrintInfo&) = delete;
    CPrintInfo& operator=(const CPrintInfo&) = delete;

    void SetMinPage(UINT nMinPage);
    void SetMaxPage(UINT nMaxPage);
    UINT GetMinPage() const;
    UINT GetMaxPage() const;
    // The pages the user asked for (all of them unless a range was chosen).
    UINT GetFromPage() const;
    UINT GetToPage() const;

    CPrintDialog* m_pPD;      // the Print dialog, its settings and its printer DC
    BOOL m_bDirect;           // printing without the dialog (the command line's /p)
    BOOL m_bPreview;
    BOOL m_bContinuePrinting; // cleared by the view when the document has no more pages
    UINT m_nCurPage;
    UINT m_nNumPreviewPages;
    LPVOID m_lpUserData;
    CRect m_rectDraw;         // the page's printable area, device units
    CString m_strPageDesc;
};
