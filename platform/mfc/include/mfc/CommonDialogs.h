// The class library's common dialogs: CFileDialog (open and save) and CPrintDialog (print and
// print set-up) around the platform's common dialogs.
#pragma once

#include <mfc/Dialog.h>
#include <mfc/String.h>

#include <commdlg.h>

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

protected:
    // The window the dialog is owned by: the parent given, else the application's main window.
    HWND OwnerWindow() const;
};

class CFileDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFileDialog)
public:
    // lpszFilter: pairs of description and pattern separated by '|', ending in "||".
    explicit CFileDialog(BOOL bOpenFileDialog, LPCSTR lpszDefExt = NULL, LPCSTR lpszFileName = NULL,
                         DWORD dwFlags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, LPCSTR lpszFilter = NULL,
                         CWnd* pParentWnd = NULL);

    OPENFILENAMEA m_ofn;

    INT_PTR DoModal() override;
    CString GetPathName() const;   // the full path chosen
    CString GetFileName() const;   // the name with its extension
    CString GetFileExt() const;    // the extension without the dot
    CString GetFileTitle() const;  // the name without its extension
    BOOL GetReadOnlyPref() const;

protected:
    BOOL m_bOpenFileDialog;
    CString m_strFilter;  // with NULs in place of the '|'
    CString m_strDefExt;
    char m_szFileTitle[64];
    char m_szFileName[MAX_PATH];
};

class CPrintDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CPrintDialog)
public:
    explicit CPrintDialog(BOOL bPrintSetupOnly,
                          DWORD dwFlags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOPAGENUMS | PD_HIDEPRINTTOFILE |
                                          PD_NOSELECTION,
                          CWnd* pParentWnd = NULL);

    PRINTDLGA& m_pd;

    INT_PTR DoModal() override;
    // The default printer's settings without showing anything (hDevMode, hDevNames and, with
    // PD_RETURNDC, the DC).
    BOOL GetDefaults();
    // The DC the dialog returned (PD_RETURNDC); the caller deletes it.
    HDC GetPrinterDC() const;
    // A new DC for the chosen printer's names and settings.
    HDC CreatePrinterDC();
    LPDEVMODEA GetDevMode() const;
    CString GetDriverName() const;
    CString GetDeviceName() const;
    CString GetPortName() const;
    int GetCopies() const;
    BOOL GetCollate() const;
    BOOL PrintAll() const;
    BOOL PrintRange() const;
    BOOL PrintSelection() const;
    int GetFromPage() const;
    int GetToPage() const;

protected:
    PRINTDLGA m_pdActual;
    CString DevNamesField(int which) const;
};
