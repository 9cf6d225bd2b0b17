// CPrintInfo and CView's printing: the Print dialog, the job and its pages.
#include <afxdlgs.h>
#include <afxwin.h>

// ---- CPrintInfo ---------------------------------------------------------------------------------

CPrintInfo::CPrintInfo()
    : m_pPD(new CPrintDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION)), m_bDirect(FALSE),
      m_bPreview(FALSE), m_bContinuePrinting(TRUE), m_nCurPage(1), m_nNumPreviewPages(0), m_lpUserData(NULL)
{
    SetMinPage(1);
    SetMaxPage(0xFFFF);
    m_pPD->m_pd.nFromPage = 1;
    m_pPD->m_pd.nToPage = 0xFFFF;
}

CPrintInfo::~CPrintInfo()
{
    if (m_pPD != NULL && m_pPD->m_pd.hDC != NULL)
        ::DeleteDC(m_pPD->m_pd.hDC);
    delete m_pPD;
}

void CPrintInfo::SetMinPage(UINT nMinPage) { m_pPD->m_pd.nMinPage = static_cast<WORD>(nMinPage); }
void CPrintInfo::SetMaxPage(UINT nMaxPage) { m_pPD->m_pd.nMaxPage = static_cast<WORD>(nMaxPage); }
UINT CPrintInfo::GetMinPage() const { return m_pPD->m_pd.nMinPage; }
UINT CPrintInfo::GetMaxPage() const { return m_pPD->m_pd.nMaxPage; }

UINT CPrintInfo::GetFromPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nFromPage : GetMinPage();
}

UINT CPrintInfo::GetToPage() const
{
    return (m_pPD->m_pd.Flags & PD_PAGENUMS) ? m_pPD->m_pd.nToPage : GetMaxPage();
}

// ---- CView --------------------------------------------------------------------------------------

BOOL CView::OnPreparePrinting(CPrintInfo* pInfo)
{
    return DoPreparePrinting(pInfo);
}

void CView::OnBeginPrinting(CDC*, CPrintInfo*) {}
void CView::OnEndPrinting(CDC*, CPrintInfo*) {}

void CView::OnPrepareDC(CDC*, CPrintInfo* pInfo)
{
    // Without its own pagination a view prints one page.
    if (pInfo != NULL && pInfo->GetMaxPage() == 0xFFFF && pInfo->m_nCurPage > 1)
        pInfo->m_bContinuePrinting = FALSE;
}

void CView::OnPrint(CDC* pDC, CPrintInfo*)
{
    OnDraw(pDC);
}

BOOL CView::DoPreparePrinting(CPrintInfo* pInfo)
{
    CWinApp* app = AfxGetApp();
    if (app == NULL)
        return FALSE;
    PRINTDLGA& pd = pInfo->m_pPD->m_pd;
    if (pInfo->m_bDirect) {
        CDC dc;
        if (!app->CreatePrinterDC(dc))
            return FALSE;
        pd.hDC = dc.Detach();
        return TRUE;
    }
    if (pd.nMinPage > pd.nMaxPage)
        pd.nMaxPage = pd.nMinPage;
    pd.Flags |= PD_RETURNDC;
    pd.Flags &= ~PD_RETURNIC;
    if (app->DoPrintDialog(pInfo->m_pPD) != IDOK)
        return FALSE;
    if (pd.hDC == NULL) {
        CDC dc;
        if (!app->CreatePrinterDC(dc))
            return FALSE;
        pd.hDC = dc.Detach();
    }
    return pd.hDC != NULL;
}

void CView::OnFilePrint() { PrintDocument(FALSE); }
void CView::OnFilePrintDirect() { PrintDocument(TRUE); }

void CView::PrintDocument(BOOL bDirect)
{
    CPrintInfo info;
    info.m_bDirect = bDirect;
    if (!OnPreparePrinting(&info))
        return;
    CDC dc;
    dc.Attach(info.m_pPD->m_pd.hDC);
    info.m_pPD->m_pd.hDC = NULL;  // the CDC owns it now

    CString title = m_pDocument != NULL ? m_pDocument->GetTitle() : CString();
    if (title.GetLength() > 31)
        title = title.Left(31);
    DOCINFOA docInfo = {};
    docInfo.cbSize = sizeof docInfo;
    docInfo.lpszDocName = title;
    info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));

    OnBeginPrinting(&dc, &info);
    if (dc.StartDoc(&docInfo) <= 0) {
        OnEndPrinting(&dc, &info);
        dc.DeleteDC();
        AfxMessageBox(AFX_IDP_FAILED_TO_START_PRINT);
        return;
    }
    UINT from = info.GetFromPage();
    UINT to = info.GetToPage();
    BOOL failed = FALSE;
    for (info.m_nCurPage = from; info.m_nCurPage <= to && info.m_bContinuePrinting; ++info.m_nCurPage) {
        OnPrepareDC(&dc, &info);
        if (!info.m_bContinuePrinting)
            break;
        if (dc.StartPage() <= 0) {
            failed = TRUE;
            break;
        }
        info.m_rectDraw.SetRect(0, 0, dc.GetDeviceCaps(HORZRES), dc.GetDeviceCaps(VERTRES));
        OnPrint(&dc, &info);
        if (dc.EndPage() <= 0) {
            failed = TRUE;
            break;
        }
    }
    if (failed)
        dc.AbortDoc();
    else
        dc.EndDoc();
    OnEndPrinting(&dc, &info);
    dc.DeleteDC();
}
