#include "shell/ProofOfEntitlementDlg.h"

#include "resource.h"

#include <afxdlgs.h>

const char ProofOfEntitlementDlg::s_szNotice[] =
    "PROOF OF ENTITLEMENT\r\n"
    "\r\n"
    "Product: Veltra Jubilee 2000 (International)\r\n"
    "Quantity: 1\r\n"
    "\r\n"
    "This document is your proof of entitlement to use one copy of the product named above under "
    "the terms of its licence agreement. Keep it with your records.\r\n"
    "\r\n"
    "Ce document est votre preuve de licence pour l'utilisation d'un exemplaire du produit "
    "nomm\xE9 ci-dessus selon les termes de son contrat de licence. Conservez-le avec vos "
    "documents.\r\n";

BEGIN_MESSAGE_MAP(ProofOfEntitlementDlg, CDialog)
    ON_BN_CLICKED(IDC_POE_PRINT, OnPrint)
END_MESSAGE_MAP()

ProofOfEntitlementDlg::ProofOfEntitlementDlg(CWnd* pParent) : CDialog(IDD_PROOF_OF_ENTITLEMENT, pParent) {}

BOOL ProofOfEntitlementDlg::OnInitDialog()
{
    CDialog::OnInitDialog();
    ::SetDlgItemText(m_hWnd, IDC_POE_TEXT, s_szNotice);
    return TRUE;
}

void ProofOfEntitlementDlg::DoDataExchange(CDataExchange* pDX)
{
    CDialog::DoDataExchange(pDX);
    DDX_Radio(pDX, IDC_POE_ENGLISH, m_nLanguage);
}

void ProofOfEntitlementDlg::OnPrint()
{
    PrintNotice();
}

void ProofOfEntitlementDlg::PrintNotice()
{
    CPrintDialog printDialog(FALSE, PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                        PD_NOSELECTION | PD_RETURNDC,
                             this);
    if (printDialog.DoModal() != IDOK)
        return;
    HDC hdc = printDialog.GetPrinterDC();
    if (hdc == NULL)
        hdc = printDialog.CreatePrinterDC();
    if (hdc == NULL) {
        AfxMessageBox("Print error: Unable to start document.");
        return;
    }
    CDC dc;
    dc.Attach(hdc);
    if (dc.StartDoc("Proof Of Entitlement") <= 0) {
        AfxMessageBox("Print error: Unable to start document.");
        dc.DeleteDC();
        return;
    }
    const int nInchX = dc.GetDeviceCaps(LOGPIXELSX);
    const int nInchY = dc.GetDeviceCaps(LOGPIXELSY);
    CRect area(nInchX, nInchY, dc.GetDeviceCaps(HORZRES) - nInchX, dc.GetDeviceCaps(VERTRES) - nInchY);
    CFont font;
    CFont* pOldFont = NULL;
    BOOL bPrinted = FALSE;
    if (!font.CreateFont(-MulDiv(12, nInchY, 72), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, ANSI_CHARSET,
                         OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS, "Arial")) {
        AfxMessageBox("Print error: Unable to create font.");
    } else if ((pOldFont = dc.SelectObject(&font)) == NULL) {
        AfxMessageBox("Print error: Unable to use font.");
    } else if (dc.StartPage() <= 0) {
        AfxMessageBox("Print error: Unable to start page.");
    } else {
        // Line by line: a new line at each carriage return, long lines wrapped at the width.
        dc.DrawText(s_szNotice, -1, &area, DT_LEFT | DT_TOP | DT_WORDBREAK | DT_NOPREFIX);
        if (dc.EndPage() <= 0)
            AfxMessageBox("Print error: Unable to end page.");
        else
            bPrinted = TRUE;
    }
    if (pOldFont != NULL)
        dc.SelectObject(pOldFont);
    if (bPrinted) {
        if (dc.EndDoc() <= 0)
            AfxMessageBox("Print error: Unable to end document.");
    } else {
        dc.AbortDoc();
    }
    dc.DeleteDC();
}
