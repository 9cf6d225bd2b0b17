#include "widgets/PrinterChoice.h"

CPrinterChoice* CPrinterChoice::s_pCurrent = NULL;

CPrinterChoice::CPrinterChoice(CWnd* pOwner) : m_dialog(FALSE, 0, pOwner), m_pOuter(s_pCurrent)
{
    s_pCurrent = this;
}

CPrinterChoice::~CPrinterChoice()
{
    // A device context the dialog made and no printout took is the dialog's to free.
    if (!m_bFirstTaken && m_dialog.GetPrinterDC() != NULL)
        ::DeleteDC(m_dialog.GetPrinterDC());
    s_pCurrent = m_pOuter;
}

CString CPrinterChoice::GetPrinterName() const
{
    return m_bChosen ? m_dialog.GetDeviceName() : CString();
}

CString CPrinterChoice::GetPortName() const
{
    return m_bChosen ? m_dialog.GetPortName() : CString();
}

HDC CPrinterChoice::AskPrinter(CWnd* pOwner, DWORD dwFlags)
{
    if (CPrinterChoice* pChoice = s_pCurrent) {
        if (!pChoice->m_bAsked) {
            pChoice->m_bAsked = TRUE;
            pChoice->m_bChosen = AfxGetApp()->DoPrintDialog(&pChoice->m_dialog) == IDOK;
        }
        if (!pChoice->m_bChosen)
            return NULL;
        // The dialog's own context serves the first printout, a new one on the same printer
        // (with the same settings) each later one.
        if (!pChoice->m_bFirstTaken && pChoice->m_dialog.GetPrinterDC() != NULL) {
            pChoice->m_bFirstTaken = TRUE;
            return pChoice->m_dialog.GetPrinterDC();
        }
        return pChoice->m_dialog.CreatePrinterDC();
    }
    CPrintDialog dialog(FALSE, dwFlags, pOwner);
    if (AfxGetApp()->DoPrintDialog(&dialog) != IDOK)
        return NULL;
    return dialog.GetPrinterDC() != NULL ? dialog.GetPrinterDC() : dialog.CreatePrinterDC();
}
