// CPrinterChoice: one answer of the Print dialog for several printouts. While one is held (the
// article view holds one for everything the reader ticked in its print window), the article,
// outline, related-list, table and search-results printers print on the printer chosen once
// instead of asking again; without one each of them asks the reader itself.
#pragma once

#include <afxdlgs.h>
#include <afxwin.h>

class CPrinterChoice {
public:
    // Holds the choice to come: the Print dialog over pOwner shows at the first printout that
    // asks for a printer, and only then.
    explicit CPrinterChoice(CWnd* pOwner);
    ~CPrinterChoice();
    CPrinterChoice(const CPrinterChoice&) = delete;
    CPrinterChoice& operator=(const CPrinterChoice&) = delete;

    // The reader chose a printer (FALSE: not asked yet, or the dialog was cancelled).
    BOOL IsChosen() const { return m_bChosen; }
    // The chosen printer's name, and the port it prints to (for a printer that writes files,
    // the folder they go to).
    CString GetPrinterName() const;
    CString GetPortName() const;

    // A printer device context for one printout, which the caller deletes: on the printer of the
    // choice being held, else from a Print dialog over pOwner (with the dialog flags dwFlags).
    // NULL when the reader cancelled.
    static HDC AskPrinter(CWnd* pOwner, DWORD dwFlags = 0);
    // The choice being held, or NULL.
    static CPrinterChoice* GetCurrent() { return s_pCurrent; }

private:
    CPrintDialog m_dialog;
    BOOL m_bAsked = FALSE;
    BOOL m_bChosen = FALSE;
    BOOL m_bFirstTaken = FALSE;
    CPrinterChoice* m_pOuter = NULL;
    static CPrinterChoice* s_pCurrent;
};
