// The class library's common dialogs: CFileDialog (open and save), CPrintDialog (print and
// print set-up) and CFindReplaceDialog (the modeless Find and Replace dialogs) around the
// platform's common dialogs.
#pragma once

#include <mfc/Dialog.h>
#include <mfc/String.h>

#include <commdlg.h>

class CCommonDialog : public CDialog {
    DECLARE_DYNAMIC(CCommonDialog)
public:
    explicit CCommonDialog(CWnd* pParentWnd);

    // A common dialog attached to its window (the modeless ones) does its own OK and Cancel.
    void OnOK() override;
    void OnCancel() override;

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

// The modeless Find or Replace dialog. Always made with new: the object deletes itself when its
// window is destroyed (PostNcDestroy). The owner handles the message registered as
// FINDMSGSTRING; GetNotifier turns its lParam back into the dialog, whose accessors say what
// the user asked for. The owner's message loop must give the dialog its keyboard messages
// first (the class library's loop does, through PreTranslateMessage).
class CFindReplaceDialog : public CCommonDialog {
    DECLARE_DYNAMIC(CFindReplaceDialog)
public:
    CFindReplaceDialog();

    // Makes and shows the Find (bFindDialogOnly) or Replace dialog with the text and the
    // FR_ flags given; pParentWnd (else the main window) receives its messages. FALSE when
    // nothing could be made: the object is then still the caller's to delete.
    BOOL Create(BOOL bFindDialogOnly, LPCSTR lpszFindWhat, LPCSTR lpszReplaceWith = NULL, DWORD dwFlags = FR_DOWN,
                CWnd* pParentWnd = NULL);

    // The dialog behind a FINDMSGSTRING message's lParam.
    static CFindReplaceDialog* PASCAL GetNotifier(LPARAM lParam);

    CString GetFindString() const;
    CString GetReplaceString() const;
    BOOL SearchDown() const;
    BOOL MatchCase() const;
    BOOL MatchWholeWord() const;
    // What the message is about: one of these is TRUE.
    BOOL FindNext() const;
    BOOL ReplaceCurrent() const;
    BOOL ReplaceAll() const;
    BOOL IsTerminating() const;

    FINDREPLACEA m_fr;

protected:
    void PostNcDestroy() override;

    char m_szFindWhat[128];
    char m_szReplaceWith[128];
};
